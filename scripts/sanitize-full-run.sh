#!/usr/bin/env bash
# One full run under the sanitizers: all six models (the genetic one small, the external
# one with the real weibflow-optimizer) through the CLI. Any leak, undefined behaviour or
# data race fails it.   usage: scripts/sanitize-full-run.sh BUILD_DIR DATA_FILE
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-sanitize}
data=${2:-data/sample_fleet.txt}
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/scripts/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/scripts/tsan.supp}
out=$(mktemp)
trap 'rm -f "$out"' EXIT
"$build/bin/weibflow-cli" fit "$data" --models spiral,newton,smirnov,mle,genetic,external \
  --eval-cost-us 2000 --population 50 --generations 20 --seed 1 \
  --optimizer "$build/bin/weibflow-optimizer" --json > "$out"
for key in ModSpir ModNewton ModSmirnov ModMLE ModGen ModExt; do
  grep -q "\"$key\"" "$out" || { echo "full run: $key missing from the result" >&2; exit 1; }
done
echo "full run under the sanitizers: clean"
