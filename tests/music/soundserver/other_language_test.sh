#!/usr/bin/env bash
# other_language_test.sh WITH_SOUND_SERVER TEST_PROGRAM: the harness and a case on a desktop in
# German, where pactl's labels are translated ("Standard-Ziel" for "Default Sink"). pactl's
# catalog comes with the PulseAudio daemon's package: where it is missing, a stand-in pactl
# answers with the catalog's words.
set -u
with_server=$1 program=$2
locale -a 2>/dev/null | grep -qx 'de_DE.utf8' ||
  { echo "skipped: no de_DE.UTF-8 locale here (scripts/install-deps.sh adds it)"; exit 77; }
setup=pipewire
command -v pipewire >/dev/null || setup=pulseaudio
export LC_ALL=de_DE.UTF-8 LANGUAGE=de
bin=$(mktemp -d)
trap 'rm -rf "$bin"' EXIT
if [ ! -e /usr/share/locale/de/LC_MESSAGES/pulseaudio.mo ] && real=$(command -v pactl); then
  printf '#!/usr/bin/env bash\nset -o pipefail\n"%s" "$@" | sed "s/^Default Sink:/Standard-Ziel:/; s/^Default Source:/Standard-Quelle:/"\n' \
    "$real" > "$bin/pactl"
  chmod +x "$bin/pactl"
  export PATH="$bin:$PATH"
fi
bash "$with_server" $setup "$program" --gtest_filter='AListedNumberOpensThatDeviceAfterAnotherWentAway.*'
