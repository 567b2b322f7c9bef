#!/bin/sh
# Runs every fuzz target of a fuzz build for a given number of seconds, two at
# a time. Each target starts from its seed corpus (fuzz/corpus/<target>/) and
# grows a working corpus of its own; logs and crashers stay in the build dir.
# A run goes on after a crash, a hang or an out-of-memory input (each is saved
# under artifacts/<target>/), so one run finds every fault it can reach.
# Usage: fuzz/run.sh BUILD_DIR SECONDS
set -u
build=${1:-build-fuzz}
seconds=${2:-600}
here=$(cd "$(dirname "$0")" && pwd)
status=0

run_one() {
  name=$1
  mkdir -p "$build/corpus/$name" "$build/artifacts/$name" "$build/logs"
  "$build/fuzz/${name}_fuzz" "$build/corpus/$name" "$here/corpus/$name" \
    -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 \
    -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
    -artifact_prefix="$build/artifacts/$name/" >"$build/logs/$name.log" 2>&1
}

set -- rooms objects mobs zones shops triggers
while [ $# -gt 0 ]; do
  first=$1; shift
  run_one "$first" & p1=$!
  p2=""
  if [ $# -gt 0 ]; then
    second=$1; shift
    run_one "$second" & p2=$!
  fi
  wait "$p1"
  [ -n "$p2" ] && wait "$p2"
done
for name in rooms objects mobs zones shops triggers; do
  if [ -n "$(ls -A "$build/artifacts/$name")" ]; then
    echo "$name: faults found, see $build/artifacts/$name/ and $build/logs/$name.log"
    status=1
  fi
done
[ "$status" -eq 0 ] && echo "fuzzing: no fault found in ${seconds}s per target"
exit "$status"
