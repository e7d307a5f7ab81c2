#!/usr/bin/env bash
# The browser build in Debian's headless Chromium (WebGL 2 on SwiftShader), against the native
# OpenGL ES build:
#   tests/web/check_web.sh SITE NATIVE_BUILD GLES_BUILD
# SITE is scripts/build-web's folder; NATIVE_BUILD has kamora-tool and KaMora.ppk (for the click
# track's package), GLES_BUILD the ES build's kamora-tool. Serves a copy of SITE with a click-track
# package beside it, runs tests/web/check_web.mjs (the page's checks, one browser session) and
# holds each still frame to the ES build's render of the same moment. Prints its figures and the
# time it took. KAMORA_WEB_SHOTS and KAMORA_WEB_BENCH are handed to the driver.
set -euo pipefail
cd "$(dirname "$0")/../.."
SITE=$(realpath "$1") NATIVE=$(realpath "$2") GLES=$(realpath "$3")
export KAMORA_MSGBOX=stderr SDL_AUDIODRIVER=dummy
# Across the show: the opening, the flares, the title, the cubes, the tube, the fog flight, the
# scroller, the castle and the picture wave (the last with the end scroll rising).
MOMENTS="${KAMORA_WEB_MOMENTS:-3,33,45,60,80,95,118,133,152}"
# puppeteer-core at the version that speaks Debian 12's Chromium 156's protocol.
PUPPETEER=25.19.0
began=$SECONDS

work=build-web/check
rm -rf "$work"
mkdir -p "$work/site" "$work/package" "$work/native"
server=""
finish() { [ -z "$server" ] || kill "$server" 2>/dev/null || true; }
trap finish EXIT

modules=build-web/node/node_modules
if [ "$(node -p "require('./$modules/puppeteer-core/package.json').version" 2>/dev/null)" != "$PUPPETEER" ]; then
  npm install --prefix build-web/node --no-audit --no-fund --silent "puppeteer-core@$PUPPETEER"
fi

# The show's own package with its music replaced by a click track: 15 clicks (5 ms of 3 kHz) a
# second apart, half a second into each second, then the show ends with the music.
python3 - "$work/click.wav" <<'PY'
import math, struct, sys, wave
rate, seconds = 44100, 15.5
frames = bytearray(int(rate * seconds) * 4)
for k in range(15):
    for i in range(220):
        v = int(20000 * math.sin(2 * math.pi * 3000 * i / rate))
        struct.pack_into("<hh", frames, (int((k + 0.5) * rate) + i) * 4, v, v)
with wave.open(sys.argv[1], "wb") as out:
    out.setnchannels(2); out.setsampwidth(2); out.setframerate(rate); out.writeframes(bytes(frames))
PY
"$NATIVE/kamora-tool" extract "$NATIVE/KaMora.ppk" -C "$work/package" > /dev/null
ffmpeg -v error -y -i "$work/click.wav" -c:a libmp3lame -b:a 192k "$work/package/music.mp3"
# (Stored, not compressed: it only crosses this machine.)
( cd "$work/package" && "$NATIVE/kamora-tool" pack --store ../site/click.ppk \
    $("$NATIVE/kamora-tool" list "$NATIVE/KaMora.ppk" | awk '{print $1}') > /dev/null )
for file in "$SITE"/*; do ln -s "$file" "$work/site/"; done

# A port of its own, on this machine only.
python3 -u -m http.server --bind 127.0.0.1 --directory "$work/site" 0 > "$work/server.log" 2>&1 &
server=$!
for _ in $(seq 100); do grep -q "port" "$work/server.log" && break; sleep 0.1; done
port=$(sed -n 's/.* port \([0-9]*\).*/\1/p' "$work/server.log" | head -n 1)
[ -n "$port" ] || { cat "$work/server.log"; echo "check_web: the web server did not start"; exit 1; }

# The ES build's frames of the same moments, beside the browser (it waits on Chromium more than it works).
xvfb-run -a -s "-screen 0 1280x1024x24" nice -n 5 "$GLES/kamora-tool" render --at "$MOMENTS" --size 640x480 \
  --package "$NATIVE/KaMora.ppk" --out "$work/native$([[ $MOMENTS == *,* ]] || echo "/$MOMENTS.png")" \
  > "$work/native.log" 2>&1 &
native=$!

status=0
KAMORA_NODE_MODULES=$modules node tests/web/check_web.mjs "http://127.0.0.1:$port/" "$work" "$MOMENTS" click.ppk || status=1
wait $native || { cat "$work/native.log"; echo "check_web: the ES build's render failed"; exit 1; }
for at in ${MOMENTS//,/ }; do
  [ -f "$work/web/$at.png" ] || { status=1; continue; }
  # SwiftShader and llvmpipe cover the edges of the picture wave's many small cubes differently by
  # a pixel (99.8 % of its pixels within 16 levels); every other moment holds to 99.9 %.
  "$GLES/kamora-tool" compare "$work/native/$at.png" "$work/web/$at.png" --mean 1 --close 99.5 || status=1
done
echo "check_web: $([ $status -eq 0 ] && echo passed || echo FAILED) in $(( SECONDS - began )) s"
exit $status
