#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz and runs each one for
# FUZZ_SECONDS (default 60). An input that takes over a second counts as a hang; one that
# needs over 2 GB as a leak of memory. A finding stops the script with a non-zero status;
# the input that triggered it is left in build-fuzz/artifacts/.
#   FUZZ_SECONDS=600 scripts/fuzz.sh                 all targets, ten minutes each
#   scripts/fuzz.sh failure_file                     one target
set -euo pipefail
cd "$(dirname "$0")/.."

SECONDS_EACH=${FUZZ_SECONDS:-60}
# CI fuzzes with a fixed seed so that a run explores the same inputs each time and a red
# build always means a finding someone can reproduce; FUZZ_SEED=0 asks for a random one.
FUZZ_SEED=${FUZZ_SEED:-$([ -n "${CI:-}" ] && echo 1 || echo 0)}
JOBS=${JOBS:-2}
BUILD=build-fuzz
TARGETS=(failure_file warranty_file result_file number_format)
[ $# -gt 0 ] && TARGETS=("$@")

[ -f "$BUILD/build.ninja" ] || cmake --preset fuzz
cmake --build "$BUILD" -j "$JOBS" --target "${TARGETS[@]/#/fuzz_}"

# Seeds: the hand-made ones, plus the sample files for the two file readers.
seed_dir() {
  local name=$1 dir=$BUILD/corpus/$1
  mkdir -p "$dir"
  cp -n fuzz/seeds/"$name"/* "$dir"/ 2>/dev/null || true
  case $name in
    failure_file) cp -n data/sample_fleet.txt "$dir"/ ;;
    warranty_file) cp -n data/gar_sample.txt "$dir"/ ;;
  esac
  echo "$dir"
}

mkdir -p "$BUILD/artifacts"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
for name in "${TARGETS[@]}"; do
  corpus=$(seed_dir "$name")
  echo "== fuzz_$name for ${SECONDS_EACH}s"
  "$BUILD/bin/fuzz_$name" "$corpus" \
    -max_total_time="$SECONDS_EACH" -seed="$FUZZ_SEED" -timeout=1 -rss_limit_mb=2048 -max_len=65536 \
    -print_final_stats=1 -artifact_prefix="$BUILD/artifacts/${name}-" \
    2> "$BUILD/fuzz_$name.log" || { tail -60 "$BUILD/fuzz_$name.log"; exit 1; }
  grep -E '^stat::(number_of_executed_units|peak_rss_mb)|^Done' "$BUILD/fuzz_$name.log" || true
done
echo "== fuzzing clean"
