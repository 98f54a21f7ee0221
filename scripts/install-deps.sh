#!/usr/bin/env bash
# Installs the Debian 12 packages the project needs. Idempotent: apt-get update runs
# only when something is missing.
set -euo pipefail

pkgs=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-charts-dev libqt6opengl6-dev libgl-dev qt6-translations-l10n
  libcli11-dev nlohmann-json3-dev libnlopt-cxx-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  clang-format clang libclang-rt-14-dev xvfb xauth locales
  dpkg-dev file desktop-file-utils poppler-utils
)

# dpkg-dev and file let `make package` compute the package's dependencies from the
# binaries; desktop-file-utils checks the menu entry in the install test; poppler-utils
# (pdftotext) reads a written report back in its tests.

# A Russian locale lets the tests check comma-separated number text end to end.
ensure_ru_locale() {
  locale -a 2>/dev/null | grep -qi '^ru_RU\.utf-\?8$' && return 0
  [ -f /etc/locale.gen ] || return 0
  $SUDO sed -i 's/^# *\(ru_RU.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ru_RU.UTF-8 UTF-8' /etc/locale.gen || echo 'ru_RU.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
}

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
ensure_ru_locale
