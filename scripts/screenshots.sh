#!/bin/sh
# Pictures of the windows for the documentation: loads the sample fleet, runs models 1.1,
# 1.2 and 2 on a virtual clock, and saves the main window, the results window and the
# log-scale view into docs/screenshots/. Needs a built GUI (build dir as first argument,
# default build) and xvfb-run.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build"}
out="$root/docs/screenshots"
mkdir -p "$out"
xvfb-run -a -s "-screen 0 1920x1080x24" \
    "$build/bin/weibflow" --eval-cost-us 100 --screenshots "$out" "$root/data/sample_fleet.txt"
ls -l "$out"
