#!/usr/bin/env bash
# cleanup_test.sh WITH_SOUND_SERVER TEST_PROGRAM: a test that fails while it records from its sound
# server, by an assertion or by aborting, fails and no more: every process that it and its server
# started ends with it, and the server's folder goes.
set -u
with_server=$1 program=$2
setup=pipewire
command -v pipewire >/dev/null || setup=pulseaudio
gone() { [ ! -e "/proc/$1" ] || grep -q ') Z ' "/proc/$1/stat"; }  # a zombie has ended too
for how in assert abort; do
  out=$(KAMORA_FAIL_MID_RECORDING=$how bash "$with_server" $setup "$program" \
    --gtest_filter='TheReportedPositionIsTheSoundHeard.*' 2>&1)
  status=$?
  [ $status -eq 77 ] && { echo "$out"; exit 77; }
  expected=1; [ $how = abort ] && expected=134  # an assertion leaves no thread to abort the process
  [ $status -eq $expected ] || { echo "$how: exit $status, not $expected:"; echo "$out"; exit 1; }
  folder=$(echo "$out" | sed -n 's/^with_sound_server: .* in \(.*\), processes .*/\1/p')
  pids=$(echo "$out" | sed -n 's/^with_sound_server: .*, processes //p; s/^recorder //p')
  [ -n "$folder" ] && [ $(echo $pids | wc -w) -ge 2 ] || { echo "$how: nothing started?"; echo "$out"; exit 1; }
  left=x
  for _ in $(seq 100); do
    left=""; for pid in $pids; do gone "$pid" || left+=" $pid"; done
    [ -e "$folder" ] && left+=" $folder"
    [ -z "$left" ] && break
    sleep 0.05
  done
  [ -z "$left" ] || { echo "$how: left behind:$left"; echo "$out"; exit 1; }
done
echo "every process and the folder ended with the failed test"
