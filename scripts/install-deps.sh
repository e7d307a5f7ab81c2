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
# manager, the tools that build and check the Debian package and the files it installs, OpenGL
# ES 3 for the build that draws through the fixed-function layer, and the locale data for a test
# in German.
TEST_PACKAGES=(
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libgles-dev
  clang libclang-rt-dev
  lib3ds-dev
  ffmpeg
  xvfb xauth x11-utils x11-xserver-utils openbox
  dpkg-dev file lintian desktop-file-utils appstream
  locales
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
# The browser: Emscripten (it brings Debian's node and clang), headless Chromium to check it in, and
# npm to fetch the tests' driver for it (puppeteer-core) where the machine's node has no npm of
# its own (NodeSource's brings one).
WEB_PACKAGES=(emscripten chromium)
command -v npm > /dev/null || WEB_PACKAGES+=(npm)

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

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"

# A German locale for the case that runs the sound-server tests on a desktop in another language
# (from the locales package's sources; locale-gen would rebuild every locale listed instead).
add_test_locale() {
  [ "${1:-}" = "--show-only" ] || locale -a 2>/dev/null | grep -qx 'de_DE.utf8' && return 0
  echo "Adding the locale de_DE.UTF-8 (for a test in another language)"
  $SUDO localedef -i de_DE -f UTF-8 de_DE.UTF-8
}

missing=()
for p in "${PACKAGES[@]}"; do
  installed "$p" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  add_test_locale "$@"
  exit 0
fi
# Another apt at work (a desktop's updater, a second build) is waited for, not failed on.
LOCK=(-o DPkg::Lock::Timeout=600)
APT=(apt-get "${LOCK[@]}" install -y -qq --no-install-recommends)
$SUDO apt-get "${LOCK[@]}" update -qq

# The packages apt would remove to install "$@" ("Remv <name> ..." lines of a dry run). A dry run
# that fails (a package apt cannot find, a broken dpkg state) shows apt's own words and ends the
# script: nothing has been installed.
removals() {
  local plan
  if ! plan=$(apt-get install -s --no-install-recommends "$@" 2>&1); then
    echo "$plan" >&2
    echo "install-deps: apt cannot plan installing $*; nothing was installed." >&2
    exit 1
  fi
  awk '$1 == "Remv" {print $2}' <<< "$plan"
}

gone=$(removals "${missing[@]}")
if [ -n "$gone" ]; then
  echo "install-deps: installing what is missing would remove: $(echo $gone)" >&2
  # The packages that remove nothing together, grown one at a time: each step is a dry run of the
  # whole set so far, since two packages that remove nothing alone may do so together.
  keep=()
  for p in "${missing[@]}"; do
    culprit=$(removals "${keep[@]}" "$p")
    if [ -z "$culprit" ]; then
      keep+=("$p")
    elif [ -n "$(removals "$p")" ]; then
      echo "  $p would remove: $(echo $culprit)" >&2
    else
      echo "  $p, with the packages before it, would remove: $(echo $culprit)" >&2
    fi
  done
  echo "install-deps: nothing was installed." >&2
  if [ ${#keep[@]} -gt 0 ]; then
    # --no-remove: apt stops rather than remove anything, should the archive change meanwhile.
    echo "These packages remove nothing together; apt shows its plan before it installs them:" >&2
    echo "  ${SUDO:+$SUDO }apt-get install --no-install-recommends --no-remove ${keep[*]}" >&2
  else
    echo "No package of them installs without removing another; none is offered." >&2
  fi
  exit 1
fi

echo "Installing: ${missing[*]}"
# --no-remove: should the archive change between the dry run and now, apt stops instead.
DEBIAN_FRONTEND=noninteractive $SUDO "${APT[@]}" --no-remove "${missing[@]}"
add_test_locale "$@"
