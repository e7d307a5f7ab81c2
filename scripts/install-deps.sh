#!/usr/bin/env bash
# Installs the Debian 12 packages Ka Mora needs. Only what is missing is installed; apt-get runs
# through sudo when not root.
#
#   scripts/install-deps.sh              what building and running the show needs, and what the
#                                        tests, the sanitizer and fuzz builds and the Debian
#                                        package add (scripts/run-tests)
#   scripts/install-deps.sh --show-only  only what building and running the show, the toolbox and
#                                        the content needs (scripts/run-show)
set -euo pipefail

# Building and running the show, the toolbox and the content.
SHOW_PACKAGES=(
  build-essential cmake pkg-config
  libsdl2-dev libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri
  libmpg123-dev libimgui-dev libmp3lame-dev libfreetype-dev fonts-dejavu-core
  libpng-dev
)

# What the tests add: the test and benchmark libraries, clang for the fuzz targets, lib3ds to
# check our scenes against, ffmpeg for the video checks, a headless X server with a window manager and screenshots, a private
# sound server, ImageMagick for contact sheets, and the tools that build and check the Debian
# package and the files it installs.
TEST_PACKAGES=(
  git
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-dev
  lib3ds-dev
  ffmpeg
  xvfb xauth x11-utils x11-xserver-utils openbox
  pulseaudio pulseaudio-utils
  imagemagick
  dpkg-dev file lintian desktop-file-utils appstream
)

PACKAGES=("${SHOW_PACKAGES[@]}")
if [ "${1:-}" != "--show-only" ]; then
  PACKAGES+=("${TEST_PACKAGES[@]}")
fi

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
