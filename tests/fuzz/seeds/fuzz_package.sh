#!/usr/bin/env bash
# Seeds for fuzz_package: small packages written by kamora-tool pack (when a normal build exists).
set -euo pipefail
corpus="$1"
tool=build/kamora-tool
[ -x "$tool" ] || { echo "fuzz_package seeds: no $tool, skipped"; exit 0; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf 'abcabcabcabc' > "$work/abc.txt"
for i in $(seq 1 40); do echo "scene line $i of the tube ride"; done > "$work/scn1.3ds"
head -c 300 /dev/urandom > "$work/noise.raw"
: > "$work/empty.raw"
"$tool" pack "$corpus/seed_mixed.ppk" "$work/abc.txt" "$work/scn1.3ds" "$work/noise.raw" "$work/empty.raw" >/dev/null
"$tool" pack --store "$corpus/seed_stored.ppk" "$work/abc.txt" "$work/empty.raw" >/dev/null
"$tool" pack "$corpus/seed_one.ppk" "$work/scn1.3ds" >/dev/null
# From our own package: its header and first records as they are (the walk runs into the cut),
# and its small entries packed again, compressed and stored.
[ -f build/KaMora.ppk ] || exit 0
head -c 4096 build/KaMora.ppk > "$corpus/ours_head.ppk"
own=$(mktemp -d)
trap 'rm -rf "$work" "$own"' EXIT
"$(dirname "$0")/package_entries.sh" "$own" '*' 4000 >/dev/null
entries=("$own"/*)
[ -e "${entries[0]}" ] || exit 0
"$tool" pack "$corpus/ours_small.ppk" "${entries[@]:0:6}" >/dev/null
"$tool" pack --store "$corpus/ours_small_stored.ppk" "${entries[@]:0:3}" >/dev/null
