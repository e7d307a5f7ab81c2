#!/usr/bin/env bash
# Shared by the seed scripts: copies the entries of our own build/KaMora.ppk whose names match
# PATTERN (a shell glob, letter case ignored) and that are at most MAX_BYTES long into CORPUS.
# Usage: package_entries.sh CORPUS PATTERN MAX_BYTES. Does nothing without a built package.
set -euo pipefail
corpus="$1" pattern="$2" max="$3"
package=build/KaMora.ppk
tool=build/kamora-tool
[ -f "$package" ] && [ -x "$tool" ] || { echo "seeds: no $package, none taken from it"; exit 0; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$tool" extract "$package" -C "$work" >/dev/null || { echo "seeds: $package does not extract"; exit 0; }
shopt -s nocaseglob nullglob
taken=0
for entry in "$work"/$pattern; do
  [ "$(stat -c %s "$entry")" -le "$max" ] || continue
  cp "$entry" "$corpus/ours_$(basename "$entry")"
  taken=$((taken + 1))
done
echo "seeds: $taken entries of $package matching $pattern"
