#!/usr/bin/env bash
# Runs every benchmark binary built from bench/*.cpp.
set -euo pipefail
cd "$(dirname "$0")/.."
for src in bench/*.cpp; do
  name=$(basename "$src" .cpp)
  echo "== $name"
  "./build/bin/$name" "$@"
done
