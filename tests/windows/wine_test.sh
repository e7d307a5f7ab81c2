#!/usr/bin/env bash
# The Windows build under Wine, beside the native build:
#   - kamora-tool.exe renders moments across the show as the native toolbox does (compare's bounds);
#   - it lists and verifies the package, and refuses damaged ones as the native toolbox does;
#   - kamora.exe -nodialog plays and ends cleanly on Escape and on the window's close, leaving
#     nothing in its temporary folder; kamora.exe opens its setup dialog;
#   - a capture stopped with Ctrl-C keeps what it captured and exits 130;
#   - capture --video feeds ffmpeg.exe (a stand-in) frames and sound, says so when there is none,
#     and gives a hung one up on the third Ctrl-C.
# Usage: tests/windows/wine_test.sh NATIVE_BUILD WINDOWS_BUILD PACKAGE
# Runs on a display of its own (xvfb-run), with a Wine prefix of its own under build-windows/
# whose processes it ends however it ends. Prints "N passed, N failed" last.
set -uo pipefail
native=$(realpath "$1")
cross=$(realpath "$2")
package=$(realpath "$3")

export WINEPREFIX="$(dirname "$cross")/wine"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" KAMORA_MSGBOX=stderr SDL_AUDIODRIVER=dummy
work=$(mktemp -d "${TMPDIR:-/tmp}/kamora-wine-XXXXXX")
# Wine's server keeps its socket for a prefix in a folder of its own under /tmp, named after the
# prefix's device and inode; it outlives the server.
finish() {
  wineserver -k 2>/dev/null  # every Wine process of this prefix, and its server
  wineserver -w 2>/dev/null
  local server
  server=$(printf 'server-%s-%x' "$(stat -c %D "$WINEPREFIX")" "$(stat -c %i "$WINEPREFIX")") 2>/dev/null
  for folder in /tmp/wine-*/"$server"; do
    [ -d "$folder" ] && rm -rf "$folder" && rmdir "$(dirname "$folder")" 2>/dev/null
  done
  rm -rf "$work"
}
trap finish EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

passed=0
failed=0
check() {  # check NAME COMMAND...: passes when COMMAND succeeds
  local name=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
    echo "wine: ok: $name"
  else
    failed=$((failed + 1))
    echo "wine: FAILED: $name"
  fi
}

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot -i > /dev/null 2>&1
  wineserver -w
fi
temp_folder=$(ls -d "$WINEPREFIX"/drive_c/users/*/Temp | head -n 1)
leftovers() { ls "$temp_folder" | grep '^kamora-'; }
# Folders of programs killed in earlier runs (this prefix is the test's own): each check below
# must leave none of its own.
(cd "$temp_folder" && rm -rf kamora-*)
cd "$work"
cp "$package" KaMora.ppk

# --- The same frames --------------------------------------------------------------------------
moments=5,30,42,69.5,95,121,150
"$native/kamora-tool" render --at "$moments" --out native > /dev/null 2>&1
wine "$cross/kamora-tool.exe" render --at "$moments" --out windows > windows.log 2>&1
frames_match() {
  local ok=0
  for moment in ${moments//,/ }; do
    "$native/kamora-tool" compare "native/$moment.png" "windows/$moment.png" | sed 's/^/wine:   /' || ok=1
  done
  return $ok
}
check "the toolbox renders the native build's frames at $moments s" frames_match

# --- The package --------------------------------------------------------------------------------
lists_package() {
  [ "$(wine "$cross/kamora-tool.exe" list KaMora.ppk | tr -d '\r')" = "$("$native/kamora-tool" list KaMora.ppk)" ]
}
check "list gives the native build's listing" lists_package
check "verify accepts the package" wine "$cross/kamora-tool.exe" verify KaMora.ppk
head -c 4000000 KaMora.ppk > cut.ppk
cp KaMora.ppk damaged.ppk
head -c 2000 /dev/zero | tr '\0' X | dd of=damaged.ppk bs=1 seek=6500000 conv=notrunc status=none
refused_as_natively() {  # the same message and exit code as the native toolbox
  local file=$1 native_code windows_code
  "$native/kamora-tool" verify "$file" > /dev/null 2> native.err
  native_code=$?
  wine "$cross/kamora-tool.exe" verify "$file" > /dev/null 2> windows.err
  windows_code=$?
  tr -d '\r' < windows.err > windows.txt
  [ $native_code -ne 0 ] && [ $windows_code -eq $native_code ] && cmp -s native.err windows.txt && return 0
  echo "wine:   natively $native_code: $(cat native.err)"
  echo "wine:   under Wine $windows_code: $(cat windows.txt)"
  return 1
}
check "verify refuses a cut package as natively" refused_as_natively cut.ppk
check "verify refuses a damaged package as natively" refused_as_natively damaged.ppk

# --- The show -----------------------------------------------------------------------------------
# Starts kamora.exe with "$@", waits until its window shows, then does what $action says to it
# (kamora-x-poke escape|close) and waits for the show to end: it passes when the show ends by
# itself within a minute, with exit code 0, no message box and nothing left in its %TEMP%.
show_ends_on() {
  local action=$1 pid code
  shift
  wine "$cross/kamora.exe" "$@" > show.log 2>&1 &
  pid=$!
  "$native/kamora-x-poke" "$action" 0 || { kill "$pid"; return 1; }
  for _ in $(seq 120); do kill -0 "$pid" 2>/dev/null || break; sleep 0.5; done
  kill -0 "$pid" 2>/dev/null && { kill "$pid"; echo "wine:   the show did not end"; return 1; }
  wait "$pid"
  code=$?
  [ $code -eq 0 ] || { echo "wine:   exit code $code"; cat show.log; return 1; }
  ! grep -q msgbox: show.log || { cat show.log; return 1; }
  [ -z "$(leftovers)" ] || { echo "wine:   left in %TEMP%: $(leftovers)"; return 1; }
}
check "the show ends on Escape, its temporary folder gone" show_ends_on escape -nodialog
check "the show ends when its window is closed" show_ends_on close -nodialog
check "the setup dialog opens and closes" show_ends_on close

# --- Ctrl-C in a capture ------------------------------------------------------------------------
capture_stops_on_ctrl_c() {
  local pid code
  wine "$cross/kamora-tool.exe" capture --out frames --size 160x120 > capture.log 2>&1 &
  pid=$!
  for _ in $(seq 240); do [ -f frames/frame_000010.png ] && break; sleep 0.5; done
  kill -INT "$pid"  # Wine hands it to the program as a console's Ctrl-C
  wait "$pid"
  code=$?
  tr '\r' '\n' < capture.log | grep -q "interrupted: kept" || { cat capture.log; return 1; }
  [ $code -eq 130 ] && [ -f frames/music.wav ] && ! ls frames | grep -q '\.part$' && [ -z "$(leftovers)" ]
}
check "a capture stopped with Ctrl-C keeps its frames and exits 130" capture_stops_on_ctrl_c

# --- Capture into a video through ffmpeg.exe ----------------------------------------------------
# A stand-in ffmpeg.exe on Wine's PATH counts what reaches it through its two pipes and writes
# that as "the video"; without one on PATH, capture says so and leaves nothing.
nice -n 5 ninja -C "$cross" kamora-fake-ffmpeg > /dev/null
fake_path="Z:${cross//\//\\}\\fake-ffmpeg"
part_files() { ls -A | grep kamora-part; }
video_reaches_ffmpeg() {
  WINEPATH="$fake_path" wine "$cross/kamora-tool.exe" capture --video "a b'c.mp4" --from 1 --to 2 --fps 10 \
    --size 160x120 > video.log 2>&1 || { cat video.log; return 1; }
  # 10 frames of 160x120 RGB, and the second of 16-bit stereo sound at 44.1 kHz they span
  [ "$(cat "a b'c.mp4")" = "video 576000 audio 176400" ] && [ -z "$(part_files)" ] ||
    { cat video.log "a b'c.mp4"; part_files; return 1; }
}
check "capture --video hands ffmpeg.exe every frame and the sound, and moves its file into place" \
  video_reaches_ffmpeg
no_ffmpeg_is_reported() {
  wine "$cross/kamora-tool.exe" capture --video none.mp4 --to 1 --size 160x120 > none.log 2>&1 && return 1
  grep -q "ffmpeg is not installed (ffmpeg.exe must be on PATH)" none.log && [ ! -e none.mp4 ] &&
    [ -z "$(part_files)" ] || { cat none.log; return 1; }
}
check "capture --video without ffmpeg.exe on PATH says so and leaves nothing" no_ffmpeg_is_reported
# An ffmpeg.exe that hangs once its inputs end: the third Ctrl-C gives the file up and ends it.
hung_ffmpeg_ends_on_third_ctrl_c() {
  local pid code
  KAMORA_FAKE_FFMPEG=hang WINEPATH="$fake_path" wine "$cross/kamora-tool.exe" capture --video hung.mp4 \
    --fps 10 --size 160x120 > hung.log 2>&1 &
  pid=$!
  for step in 'frame ' 'letting ffmpeg finish' 'still finishing'; do
    for _ in $(seq 600); do grep -q "$step" hung.log || ! kill -0 "$pid" 2>/dev/null && break; sleep 0.2; done
    kill -INT "$pid"
  done
  wait "$pid"
  code=$?
  grep -q "ffmpeg ended after a third Ctrl-C while it finished; hung.mp4 is lost" hung.log && [ $code -eq 1 ] &&
    [ ! -e hung.mp4 ] && [ -z "$(part_files)" ] || { echo "wine:   exit code $code"; cat hung.log; return 1; }
}
check "a hung ffmpeg.exe is given up on the third Ctrl-C, leaving nothing" hung_ffmpeg_ends_on_third_ctrl_c

echo "wine: $passed passed, $failed failed"
[ $failed -eq 0 ]
