#!/usr/bin/env bash
# Installs the Debian 12 packages the project needs. Idempotent: apt-get update runs
# only when something is missing.
set -euo pipefail

pkgs=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-charts-dev libqt6opengl6-dev libgl-dev
  libcli11-dev nlohmann-json3-dev libnlopt-cxx-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  clang-format clang libclang-rt-14-dev xvfb xauth
)

missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
