#!/usr/bin/env bash
# Seeds for fuzz_tga: the small pictures of our own package.
set -euo pipefail
"$(dirname "$0")/package_entries.sh" "$1" '*.tga' 70000
