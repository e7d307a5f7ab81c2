#!/usr/bin/env bash
# Installs the Debian 12 packages Ka Mora needs. Only what is missing is installed; apt-get runs
# through sudo when not root. It never removes a package: when apt would remove anything to
# install what is missing, nothing is installed and the script says which packages, why, and the
# command that installs the rest.
#
#   scripts/install-deps.sh              what building and running the show needs, and what the
#                                        tests, the sanitizer and fuzz builds and the Debian
#                                        package add (scripts/run-tests)
#   scripts/install-deps.sh --show-only  only what building and running the show, the toolbox and
#                                        the content needs (scripts/run-show)
#   scripts/install-deps.sh --dev        the test packages and a developer's extras: ImageMagick
#                                        for contact sheets, stress-ng to load the machine
#   scripts/install-deps.sh --windows    what the Windows cross build and its tests under Wine
#                                        add to the show's packages (scripts/build-windows)
#   scripts/install-deps.sh --web        what the browser build adds to the show's packages
set -euo pipefail

# Building and running the show, the toolbox and the content.
SHOW_PACKAGES=(
  build-essential cmake pkg-config
  libsdl2-dev libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri
  libmpg123-dev libimgui-dev libmp3lame-dev libfreetype-dev fonts-dejavu-core
  libpng-dev
)

# What the tests add: the test and benchmark libraries, clang for the fuzz targets, lib3ds to
# check our scenes against, ffmpeg for the video checks, a headless X server with a window
# manager, the tools that build and check the Debian package and the files it installs, and
# OpenGL ES 3 for the build that draws through the fixed-function layer.
TEST_PACKAGES=(
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libgles-dev
  clang libclang-rt-dev
  lib3ds-dev
  ffmpeg
  xvfb xauth x11-utils x11-xserver-utils openbox
  dpkg-dev file lintian desktop-file-utils appstream
)

# A private sound server for the real-sound-server tests: PipeWire, as today's desktops run it,
# with its PulseAudio front end and pactl/parec to drive and record it. Never PulseAudio itself:
# it conflicts with a PipeWire desktop's own packages. Where PulseAudio is the desktop's sound
# server, none of these is added (PipeWire's session manager would take its sound cards): the
# tests then run on a private PulseAudio daemon instead.
SOUND_SERVER_PACKAGES=(pipewire pipewire-bin wireplumber pipewire-pulse pulseaudio-utils)

DEV_PACKAGES=(imagemagick stress-ng)

# Both cross builds: CMake with Ninja, and dpkg-source to unpack the Debian source packages the
# libraries are built from (scripts/build-deps).
CROSS_PACKAGES=(cmake ninja-build dpkg-dev debian-archive-keyring)
# Windows: MinGW-w64 (posix threads, for std::thread) with Debian's MinGW zlib, and Wine on a
# headless X server to run the results; Python packs the release's zip.
WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix libz-mingw-w64-dev wine wine64 xvfb xauth python3)
# The browser: Emscripten (it brings Debian's node and clang), headless Chromium to check it in.
WEB_PACKAGES=(emscripten chromium)

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

PACKAGES=("${SHOW_PACKAGES[@]}")
case "${1:-}" in
  --windows) PACKAGES+=("${CROSS_PACKAGES[@]}" "${WINDOWS_PACKAGES[@]}") ;;
  --web) PACKAGES+=("${CROSS_PACKAGES[@]}" "${WEB_PACKAGES[@]}") ;;
esac
if [ "${1:-}" = "" ] || [ "${1:-}" = "--dev" ]; then
  PACKAGES+=("${TEST_PACKAGES[@]}")
  if installed pulseaudio; then
    PACKAGES+=(pulseaudio-utils)
  else
    PACKAGES+=("${SOUND_SERVER_PACKAGES[@]}")
  fi
fi
[ "${1:-}" = "--dev" ] && PACKAGES+=("${DEV_PACKAGES[@]}")

missing=()
for p in "${PACKAGES[@]}"; do
  installed "$p" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
APT=(apt-get install -y -qq --no-install-recommends)
$SUDO apt-get update -qq

# The packages apt would remove to install "$@" ("Remv <name> ..." lines of a dry run).
removals() { apt-get install -s --no-install-recommends "$@" 2>/dev/null | awk '$1 == "Remv" {print $2}'; }

gone=$(removals "${missing[@]}")
if [ -n "$gone" ]; then
  echo "install-deps: installing what is missing would remove: $(echo $gone)" >&2
  keep=()
  for p in "${missing[@]}"; do
    culprit=$(removals "$p")
    if [ -n "$culprit" ]; then
      echo "  $p would remove: $(echo $culprit)" >&2
    else
      keep+=("$p")
    fi
  done
  echo "install-deps: nothing was installed." >&2
  if [ ${#keep[@]} -gt 0 ]; then
    echo "The packages that remove nothing install with:" >&2
    echo "  ${SUDO:+$SUDO }${APT[*]} ${keep[*]}" >&2
  fi
  exit 1
fi

echo "Installing: ${missing[*]}"
# --no-remove: should the archive change between the dry run and now, apt stops instead.
DEBIAN_FRONTEND=noninteractive $SUDO "${APT[@]}" --no-remove "${missing[@]}"
