#!/usr/bin/env bash
# The show drawn through the fixed-function layer on OpenGL ES 3.0 shows the frames the OpenGL 1.1
# build shows: the loading picture, every Effect and the end scroll, at 640x480 and on a wide screen.
# Every moment is held to two bounds (kamora-tool compare): a mean difference of at most 1 level of
# 255 on each channel, and at least 99.9 % of the pixels within 16 levels. The two builds agree
# more closely still (the smooth lines of the title differ most); the bounds are tight because a
# whole star field lost costs only 0.3 % of the pixels.
#
#   same_frames_test.sh GL11_TOOL ES_TOOL PACKAGE
set -euo pipefail
gl11=$1 es=$2 package=$3
[ -x "$gl11" ] || { echo "no OpenGL 1.1 build's kamora-tool at $gl11: build it first (scripts/run-tests does)"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Two moments an Effect where it changes on the way, each a frame the show really displays (60 fps).
moments=5,24,30,42,46,50,62,69.5,80,90,96,104,115,132,135.5,140,150,155
render() {  # TOOL FOLDER SIZE MOMENTS
  "$1" render --at "$4" --size "$3" --out "$2" --package "$package" 2>/dev/null
}
for build in gl11 es; do
  tool=${!build}
  render "$tool" "$work/$build" 640x480 "$moments" &
  render "$tool" "$work/$build-wide" 854x480 42,69.5,140 &
  for ms in 1000 2800; do "$tool" render --loading $ms --out "$work/$build/loading-$ms.png" --package "$package" & done
done
wait  # each render's own exit status is checked through the frames it leaves below

failed=0 count=0
for frame in "$work"/gl11/*.png "$work"/gl11-wide/*.png; do
  other=${frame/\/gl11/\/es}
  count=$((count + 1))
  "$gl11" compare "$frame" "$other" --mean 1 --close 99.9 | sed "s|$work/||g"
  [ "${PIPESTATUS[0]}" -eq 0 ] || failed=$((failed + 1))
done
[ "$count" -eq 23 ] || { echo "expected 23 frames of the OpenGL 1.1 build, found $count"; exit 1; }
[ "$failed" -eq 0 ] || { echo "$failed of $count frames out of bounds"; exit 1; }
echo "all $count frames within bounds"
