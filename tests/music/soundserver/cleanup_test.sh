#!/usr/bin/env bash
# cleanup_test.sh WITH_SOUND_SERVER TEST_PROGRAM: however a case ends, every process that it and
# its server started ends with it, and the server's folder goes: a case that fails while it
# records (by an assertion, by aborting), and a harness killed outright (SIGKILL) in the middle of
# the sync case (its recorder running) and of the show case (its show running). Before that kill
# every process of the case is stopped, so that none can end by itself when another goes: each
# must be ended by its parent-death signal, the one signal a stopped process does not hold back.
set -u
with_server=$1 program=$2
setup=pipewire
command -v pipewire >/dev/null || setup=pulseaudio
log=$(mktemp)
trap 'rm -f "$log"' EXIT
sync_case='--gtest_filter=TheReportedPositionIsTheSoundHeard.*'
gone() { [ ! -e "/proc/$1" ] || grep -qs ') Z ' "/proc/$1/stat"; }  # a zombie has ended too

# The folder and the processes that the harness and the sync case report in the log.
read_started() {
  folder=$(sed -n 's/^with_sound_server: .* in \(.*\), processes .*/\1/p' "$log")
  pids=$(sed -n 's/^with_sound_server: .*, processes //p; s/^with_sound_server: the case runs as //p
                 s/^recorder //p' "$log")
}

# Up to 5 s for every process of $pids and the folder to go; what is left is named, then killed.
expect_all_gone() {
  local left
  for _ in $(seq 100); do
    left=""
    for pid in $pids; do gone "$pid" || left+=" $pid"; done
    [ -e "$folder" ] && left+=" $folder"
    [ -z "$left" ] && return 0
    sleep 0.05
  done
  echo "$1: left behind:$left"; cat "$log"
  for pid in $pids; do gone "$pid" || kill -KILL "$pid"; done
  exit 1
}

for how in assert abort; do
  KAMORA_FAIL_MID_RECORDING=$how bash "$with_server" $setup "$program" "$sync_case" > "$log" 2>&1
  status=$?
  [ $status -eq 77 ] && { cat "$log"; exit 77; }
  expected=1; [ $how = abort ] && expected=134  # an assertion leaves no thread to abort the process
  [ $status -eq $expected ] || { echo "$how: exit $status, not $expected:"; cat "$log"; exit 1; }
  read_started
  [ -n "$folder" ] && [ $(echo $pids | wc -w) -ge 3 ] || { echo "$how: nothing started?"; cat "$log"; exit 1; }
  expect_all_gone "failed by $how"
done

for running in recorder show; do
  if [ $running = recorder ]; then
    KAMORA_FAIL_MID_RECORDING=hold bash "$with_server" $setup "$program" "$sync_case" > "$log" 2>&1 &
  else
    bash "$with_server" $setup "$program" '--gtest_filter=TheWholeShowEndsAfterItsDeviceWentAway.*' > "$log" 2>&1 &
  fi
  harness=$!
  # Up to 30 s for the recorder to report itself, or for the case's child to have become the show.
  up=""
  for _ in $(seq 600); do
    read_started
    case_pid=$(sed -n 's/^with_sound_server: the case runs as //p' "$log")
    if [ $running = recorder ]; then
      grep -q "^recorder " "$log" && up=1
    elif [ -n "$case_pid" ]; then
      for child in $(pgrep -P "$case_pid"); do
        [ "$(cat /proc/$child/comm 2>/dev/null)" = kamora ] && up=1 pids+=" $child"
      done
    fi
    [ -n "$up" ] || ! kill -0 $harness 2>/dev/null && break
    sleep 0.05
  done
  [ -n "$up" ] || { echo "the $running never ran:"; cat "$log"; kill -KILL $harness; exit 1; }
  kill -STOP $pids
  kill -KILL $harness
  wait $harness 2>/dev/null
  expect_all_gone "harness killed while the $running ran"
done
echo "every process and the folder ended with the case, and with the harness killed outright"
