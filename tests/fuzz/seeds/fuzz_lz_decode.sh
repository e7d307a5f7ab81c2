#!/usr/bin/env bash
# Seeds for fuzz_lz_decode: the documented example streams behind their 3-byte unpacked size,
# and a few inputs for the encode-and-decode mode (bit 7 of byte 2).
set -euo pipefail
corpus="$1"
printf '\x03\x00\x00\x00\x00\xf0' > "$corpus/spaces"
printf '\x13\x00\x00\x01\x61\xee\xff' > "$corpus/overlap"
printf '\x0c\x00\x00\x07\x61\x62\x63\xee\xf6' > "$corpus/mixed"
printf '\x09\x00\x00\xff\x61\x62\x63\x64\x65\x66\x67\x68\x01\x69' > "$corpus/literals"
printf '\x00\x00\x80abcabcabcabc   aaa' > "$corpus/encode_text"
{ printf '\x00\x00\x80'; for i in $(seq 1 300); do printf 'line %d\n' $((i % 17)); done; } > "$corpus/encode_lines"
