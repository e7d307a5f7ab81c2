#!/usr/bin/env bash
# scripts/run-sanitizers runs failed cases once more only when each of them failed by
# LeakSanitizer's tracer crash in its own output: an AddressSanitizer report in another failed
# case fails the pass, even though that case would pass on a second try. Runs a copy of the script
# in a scratch tree whose cmake, ctest and show are stand-ins; the stand-in ctest writes its
# results where ctest does.
set -euo pipefail
source "$(dirname "$0")/sanitizer_tree.sh" "$1"
trap 'rm -rf "$tree"' EXIT
printf '#!/bin/sh\nexit 0\n' > "$tree/build-asan/kamora"
cat > "$tree/bin/ctest" <<'STANDIN'
#!/usr/bin/env bash
case " $* " in *" --rerun-failed "*) echo rerun >> "$TREE/reruns"; exit 0 ;; esac
results=build-asan/Testing/Temporary
mkdir -p $results
: > $results/LastTestsFailed.log
: > $results/LastTest.log
n=0
for failure in $FAILURES; do  # NAME:OUTPUT, "_" for a space
  n=$((n + 1))
  echo "$n:${failure%%:*}" >> $results/LastTestsFailed.log
  printf '%s/9 Testing: %s\nOutput:\n----\n%s\n<end of output>\nTest Failed.\n\n' $n "${failure%%:*}" \
    "${failure#*:}" | tr _ ' ' >> $results/LastTest.log
done
cat $results/LastTest.log  # as --output-on-failure shows them
exit 8
STANDIN
chmod +x "$tree/bin/"* "$tree/build-asan/kamora"

run() { rm -f "$tree/reruns"; TREE=$tree FAILURES=$1 PATH="$tree/bin:$PATH" "$tree/scripts/run-sanitizers" > "$tree/log" 2>&1; }
tracer=Leak.Busy:Tracer_caught_signal_11
if run "$tracer Heap.Intermittent:ERROR:_AddressSanitizer:_heap-use-after-free"; then
  echo "run-sanitizers passed although a case failed by an AddressSanitizer report:"; cat "$tree/log"; exit 1
fi
[ ! -e "$tree/reruns" ] || { echo "the failed cases ran again although one failed by its own fault"; exit 1; }
run "$tracer" || true  # (the capture after the suite has no stand-in)
[ -e "$tree/reruns" ] || { echo "a case that failed by the tracer's crash alone did not run again:"; cat "$tree/log"; exit 1; }
