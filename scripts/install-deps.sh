#!/usr/bin/env bash
# Installs the Debian 12 packages Ka Mora needs to build, run and test.
# Only what is missing is installed; apt-get runs through sudo when not root.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config git
  libsdl2-dev libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri
  libmpg123-dev libimgui-dev libmp3lame-dev libfreetype-dev fonts-dejavu-core
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-dev
  lib3ds-dev libpng-dev ffmpeg
  xvfb xauth
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
