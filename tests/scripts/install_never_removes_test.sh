#!/usr/bin/env bash
# scripts/install-deps.sh never removes a package. apt-get, dpkg-query and sudo are stand-ins; the
# stand-in apt removes x11-legacy to install ffmpeg, and also to install xvfb and openbox together
# (neither alone), or, in the "greedy" archive, anything at all. When apt would remove something,
# nothing is installed, and whatever command the script offers instead must, when run, install
# without removing a package. A dry run that fails stops the script with apt's own message.
set -euo pipefail
source_dir=$1
bin=$(mktemp -d)
trap 'rm -rf "$bin"' EXIT
printf '#!/bin/sh\nexit 1\n' > "$bin/dpkg-query"  # nothing is installed
printf '#!/bin/sh\nexec "$@"\n' > "$bin/sudo"     # (never the real one in a test)
cat > "$bin/apt-get" <<'STANDIN'
#!/usr/bin/env bash
log=$(dirname "$0")/log
[[ " $* " == *" update "* ]] && exit 0
args=" $* "
if [ "$ARCHIVE" = broken ]; then echo "E: Unable to locate package lib3ds-dev" >&2; exit 100; fi
gone=""
[[ $args == *" ffmpeg "* ]] && gone=x11-legacy
[[ $args == *" xvfb "* && $args == *" openbox "* ]] && gone=x11-legacy
[ "$ARCHIVE" = greedy ] && gone=x11-legacy
if [[ $args == *" -s "* ]]; then
  [ -n "$gone" ] && echo "Remv $gone [1.0]"
  echo "Inst something"
elif [ -n "$gone" ] && [[ $args == *" --no-remove "* ]]; then
  echo "E: Packages need to be removed but remove is disabled." >&2; exit 100
else
  echo "install $*${gone:+ removing $gone}" >> "$log"
fi
STANDIN
chmod +x "$bin/"*

install_deps() { ARCHIVE=$1 PATH="$bin:$PATH" bash "$source_dir/scripts/install-deps.sh" 2>&1; }
expect() { [[ "$out" == *"$1"* ]] || { echo "$archive: missing \"$1\" in:"; echo "$out"; exit 1; }; }
for archive in combination greedy broken; do
  rm -f "$bin/log"
  if out=$(install_deps $archive); then echo "$archive: install-deps succeeded:"; echo "$out"; exit 1; fi
  [ ! -e "$bin/log" ] || { echo "$archive: install-deps itself installed: $(cat "$bin/log")"; exit 1; }
  expect "nothing was installed"
  offered=$(grep -E '^ +(sudo )?apt-get install' <<< "$out" || true)
  case $archive in
    combination)
      expect "ffmpeg would remove: x11-legacy"
      [ -n "$offered" ] || { echo "no command offered for what removes nothing:"; echo "$out"; exit 1; }
      # What the offered command does when run: it installs, and nothing goes.
      ARCHIVE=$archive PATH="$bin:$PATH" bash -c "$offered" > /dev/null 2>&1 ||
        { echo "the offered command failed: $offered"; exit 1; }
      grep -q "build-essential" "$bin/log" || { echo "the offered command installs too little: $offered"; exit 1; }
      if grep -q "removing" "$bin/log"; then echo "the offered command removes: $(cat "$bin/log")"; exit 1; fi ;;
    greedy)
      [ -z "$offered" ] || { echo "offered a command although every package removes one: $offered"; exit 1; } ;;
    broken)
      expect "E: Unable to locate package lib3ds-dev" ;;
  esac
done
