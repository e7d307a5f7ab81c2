#!/usr/bin/env bash
# scripts/install-deps.sh never removes a package: when apt would remove one to install what is
# missing, it installs nothing, names the package that would go and the one that pulls it out,
# and gives the command that installs the rest. apt-get and dpkg-query are stand-ins here.
set -euo pipefail
source_dir=$1
bin=$(mktemp -d)
trap 'rm -rf "$bin"' EXIT
printf '#!/bin/sh\nexit 1\n' > "$bin/dpkg-query"  # nothing is installed
printf '#!/bin/sh\nexec "$@"\n' > "$bin/sudo"     # (never the real one in a test)
cat > "$bin/apt-get" <<STANDIN
#!/bin/sh
case "\$*" in
  update*) exit 0 ;;
  *" -s "*ffmpeg*) echo "Remv pipewire-audio [0.3.65]"; echo "Inst ffmpeg" ;;
  *" -s "*) echo "Inst something" ;;
  *) echo "\$*" > "$bin/installed" ;;
esac
STANDIN
chmod +x "$bin/"*

if out=$(PATH="$bin:$PATH" bash "$source_dir/scripts/install-deps.sh" 2>&1); then
  echo "install-deps succeeded although apt would remove a package:"; echo "$out"; exit 1
fi
[ ! -e "$bin/installed" ] || { echo "install-deps installed: $(cat "$bin/installed")"; exit 1; }
for expected in "would remove: pipewire-audio" "ffmpeg would remove: pipewire-audio" "nothing was installed" \
                "apt-get install -y -qq --no-install-recommends build-essential"; do
  [[ "$out" == *"$expected"* ]] || { echo "missing \"$expected\" in:"; echo "$out"; exit 1; }
done
[[ "$out" != *"install -y -qq --no-install-recommends"*" ffmpeg"* ]] || { echo "the command offered installs ffmpeg:"; echo "$out"; exit 1; }
