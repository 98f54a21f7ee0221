#!/usr/bin/env bash
# Runs every benchmark binary built from bench/*.cpp (one built only with the windows is
# skipped when absent).
set -euo pipefail
cd "$(dirname "$0")/.."
for src in bench/*.cpp; do
  name=$(basename "$src" .cpp)
  [ -x "./build/bin/$name" ] || { echo "== $name (not built)"; continue; }
  echo "== $name"
  "./build/bin/$name" "$@"
done
