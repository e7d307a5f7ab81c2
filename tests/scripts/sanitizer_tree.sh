# Sourced by the run-sanitizers tests: a scratch tree "$tree" holding a copy of the script (from
# the source folder "$1") whose cmake is a stand-in that does nothing; the caller adds its own
# ctest and show stand-ins and removes the tree.
tree=$(mktemp -d)
mkdir -p "$tree/scripts" "$tree/build-asan" "$tree/bin"
cp "$1/scripts/run-sanitizers" "$1/scripts/sanitizers.supp" "$tree/scripts/"
printf '#!/bin/sh\nexit 0\n' > "$tree/bin/cmake"
