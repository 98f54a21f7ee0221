#!/bin/sh
# Pictures of the windows for the documentation: loads the sample fleet, runs models 1.1,
# 1.2, 2 and 3 on a virtual clock, and saves the main window, the results window and the
# log-scale view into docs/screenshots/. Needs a built GUI and xvfb-run.
#   scripts/screenshots.sh [BUILD_DIR] [WIDTHxHEIGHT]
# The build dir defaults to build, the screen to 1920x1080; at another screen size the
# pictures get the size in their names (main_window_1366x768.png).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build"}
size=${2:-1920x1080}
case "$size" in
*[!0-9x]* | x* | *x | *x*x* | "") echo "screen size must look like 1366x768" >&2; exit 2 ;;
*x*) ;;
*) echo "screen size must look like 1366x768" >&2; exit 2 ;;
esac
out="$root/docs/screenshots"
mkdir -p "$out"
xvfb-run -a -s "-screen 0 ${size}x24" \
    "$build/bin/weibflow" --eval-cost-us 100 --screenshots "$out" "$root/data/sample_fleet.txt"
ls -l "$out"
