#!/usr/bin/env bash
# with_sound_server.sh SETUP COMMAND...: runs COMMAND beside a private sound server of its own,
# with one null sink "kamora" ("Kamora") as the default, and SDL, pactl and parec pointed at it
# alone. SETUP is pipewire or pipewire_pulse (PipeWire with WirePlumber and its PulseAudio front
# end, played through SDL's pipewire or pulseaudio driver) or pulseaudio (a PulseAudio daemon).
# The server lives in a short folder under /tmp (a socket path must stay short), meets none of a
# desktop's own devices, and ends with COMMAND however it ends: stopped by PID here, killed by a
# parent-death signal should this script be killed (COMMAND too). Exits 77 (skipped) without the
# packages, else as COMMAND.
set -u
setup=$1; shift
case $setup in
  pulseaudio) driver=pulseaudio need="pulseaudio pactl parec" ;;
  pipewire|pipewire_pulse) driver=${setup/pipewire_pulse/pulseaudio} need="pipewire wireplumber pipewire-pulse pactl parec" ;;
  *) echo "with_sound_server: unknown setup $setup" >&2; exit 2 ;;
esac
for program in $need; do
  command -v "$program" >/dev/null || { echo "skipped: no $program here (scripts/install-deps.sh adds PipeWire" \
    "where PulseAudio is not the desktop's sound server, and never installs PulseAudio)"; exit 77; }
done

# Folders left by a run that was killed outright go first.
for old in /tmp/kamora-sound-*-*; do
  pid=${old#/tmp/kamora-sound-}; pid=${pid%%-*}
  [ -d "$old" ] && ! kill -0 "$pid" 2>/dev/null && rm -rf "$old"
done
dir=$(mktemp -d "/tmp/kamora-sound-$$-XXXX")
# The folder goes once this script and everything it started have ended, however they end: a
# guardian outside the parent-death signals waits for the pipe that all of them hold open.
exec {guard}> >(trap '' INT TERM HUP; exec > /dev/null 2>&1; cat; rm -rf "$dir")
pids=()
finish() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null; wait "${pids[i]}" 2>/dev/null; done
  rm -rf "$dir"
}
trap finish EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# WirePlumber with the null sinks only: no sound cards, cameras, Bluetooth or portals.
wp=$dir/config/wireplumber
mkdir -p "$dir/run/pulse" "$dir/state" "$dir/home" "$wp/main.lua.d" "$wp/bluetooth.lua.d"
printf 'alsa_monitor.enabled = false\nv4l2_monitor.enabled = false\nlibcamera_monitor.enabled = false\n%s\n' \
  'default_access.properties["enable-flatpak-portal"] = false' > "$wp/main.lua.d/80-null-sinks-only.lua"
echo "bluez_monitor.enabled = false" > "$wp/bluetooth.lua.d/80-null-sinks-only.lua"
echo "autospawn = no" > "$dir/client.conf"

daemon() {
  env -u PULSE_SERVER -u PIPEWIRE_REMOTE -u DISPLAY -u WAYLAND_DISPLAY HOME="$dir/home" \
    XDG_RUNTIME_DIR="$dir/run" XDG_CONFIG_HOME="$dir/config" XDG_STATE_HOME="$dir/state" \
    PIPEWIRE_RUNTIME_DIR="$dir/run" PULSE_RUNTIME_PATH="$dir/run/pulse" PULSE_STATE_PATH="$dir/state" \
    DBUS_SESSION_BUS_ADDRESS="unix:path=$dir/no-bus" setpriv --pdeathsig KILL "$@" > "$dir/$1.log" 2>&1 &
  pids+=($!)
}
# Up to 10 s for CHECK to hold.
await() { for _ in $(seq 200); do eval "$1" && return 0; sleep 0.05; done; return 1; }
fail() { echo "with_sound_server: $1"; tail -n 20 "$dir"/*.log; exit 1; }

export SDL_AUDIODRIVER=$driver KAMORA_SOUND_SETUP=$setup HOME=$dir/home PULSE_CLIENTCONFIG=$dir/client.conf \
  PULSE_SERVER=unix:$dir/run/pulse/native PULSE_RUNTIME_PATH=$dir/run/pulse PIPEWIRE_RUNTIME_DIR=$dir/run \
  PIPEWIRE_REMOTE=pipewire-0
if [ "$setup" = pulseaudio ]; then  # -n: no default script, only the socket (root needs --system=no)
  daemon pulseaudio -n --daemonize=no --system=no --exit-idle-time=-1 --use-pid-file=no --realtime=no \
    --high-priority=no --log-target=stderr -L "module-native-protocol-unix auth-anonymous=1 socket=$dir/run/pulse/native"
else
  daemon pipewire
  await '[ -S "$dir/run/pipewire-0" ]' || fail "pipewire did not come up"
  daemon wireplumber
  daemon pipewire-pulse
fi
await 'pactl info >/dev/null 2>&1' || fail "the server does not answer"
pactl load-module module-null-sink sink_name=kamora sink_properties=device.description=Kamora >/dev/null ||
  fail "no null sink"
# Up once the session manager has made it the default: streams are then placed. (Asked for by
# itself: pactl info's labels are translated on a desktop in another language.)
await '[ "$(pactl get-default-sink 2>/dev/null)" = kamora ]' || fail "the sink never became the default"
echo "with_sound_server: $setup in $dir, processes ${pids[*]}"

setpriv --pdeathsig KILL "$@" &
pids+=($!)
echo "with_sound_server: the case runs as $!"
wait $!
