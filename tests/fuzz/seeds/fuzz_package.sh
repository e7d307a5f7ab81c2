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
