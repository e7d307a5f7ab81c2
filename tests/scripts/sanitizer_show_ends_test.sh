#!/usr/bin/env bash
# scripts/run-sanitizers plays the show beside its suite: when the suite fails, and when the script
# itself is killed outright (SIGKILL, no trap runs), the show (and the X server it runs on) must
# end with the script instead of playing on in a deleted folder. Runs a copy of the script in a
# scratch tree whose cmake, ctest and show are stand-ins.
set -euo pipefail
source "$(dirname "$0")/sanitizer_tree.sh" "$1"
trap 'rm -rf "$tree"; [ -s "$tree.pid" ] && { kill "$(cat "$tree.pid")" 2>/dev/null || true; }; rm -f "$tree.pid"' EXIT
# Once the show is up the suite fails, or runs on ($SUITE=runs) until this test lets it end.
touch "$tree/suite-runs"
printf '#!/bin/sh\nfor i in $(seq 300); do [ -s "%s" ] && [ "$SUITE" != runs ] || [ ! -e "%s" ] && exit 1; sleep 0.1; done; exit 1\n' \
  "$tree.pid" "$tree/suite-runs" > "$tree/bin/ctest"
printf '#!/bin/sh\necho $$ > "%s"\nexec sleep 900\n' "$tree.pid" > "$tree/build-asan/kamora"
chmod +x "$tree/bin/"* "$tree/build-asan/kamora"
touch "$tree/build-asan/KaMora.ppk"
# The script's own folders too: one killed outright cannot remove its own.
mkdir "$tree/tmp"
export TMPDIR="$tree/tmp"

# The stand-in show must be gone within 5 s.
show_gone() {
  [ -s "$tree.pid" ] || { echo "$1: the stand-in show never started"; exit 1; }
  pid=$(cat "$tree.pid")
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || { rm -f "$tree.pid"; return 0; }; sleep 0.1; done
  echo "$1: the show (pid $pid) still runs after run-sanitizers ended"
  exit 1
}

if PATH="$tree/bin:$PATH" "$tree/scripts/run-sanitizers" > "$tree.log" 2>&1; then
  echo "run-sanitizers passed although its suite failed"; cat "$tree.log"; rm -f "$tree.log"; exit 1
fi
rm -f "$tree.log"
show_gone "the suite failed"

SUITE=runs PATH="$tree/bin:$PATH" "$tree/scripts/run-sanitizers" > /dev/null 2>&1 &
script=$!
for _ in $(seq 300); do [ -s "$tree.pid" ] && break; sleep 0.1; done
kill -KILL $script
wait $script 2>/dev/null || true
show_gone "run-sanitizers killed outright"
# The suite the killed script left running ends now, and with it xvfb-run, which ends its X server
# only once it has removed its own folder under TMPDIR: the folder must still be there.
rm "$tree/suite-runs"
for _ in $(seq 50); do pgrep -f -- "-auth $tree/" > /dev/null || exit 0; sleep 0.1; done
left=$(pgrep -f -- "-auth $tree/" | tr '\n' ' ')
echo "an X server of run-sanitizers still runs after its suite ended: $left"
kill $left 2>/dev/null
exit 1
