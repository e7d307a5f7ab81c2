#!/usr/bin/env bash
# Seeds for fuzz_raw_tables: our own package's two tables behind each mode byte, and short ones.
set -euo pipefail
corpus="$1"
own=$(mktemp -d)
trap 'rm -rf "$own"' EXIT
"$(dirname "$0")/package_entries.sh" "$own" '*.raw' 40000
for table in "$own"/*; do
  [ -e "$table" ] || continue
  mode=0; case "$table" in *ese.raw) mode=1 ;; esac
  printf "\\x$(printf %02x $mode)" | cat - "$table" > "$corpus/$(basename "$table")"
  printf "\\x$(printf %02x $((mode | 2)))" | cat - "$table" > "$corpus/claims_$(basename "$table")"
done
printf '\x02\x10\x20\x30' > "$corpus/short_scroller"
printf '\x03\xff\xff\xff' > "$corpus/short_picture"
