#!/usr/bin/env bash
# Seeds for fuzz_3ds: the small scenes of our own package.
set -euo pipefail
"$(dirname "$0")/package_entries.sh" "$1" '*.3ds' 70000
