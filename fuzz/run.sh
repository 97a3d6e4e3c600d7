#!/usr/bin/env bash
# Runs one fuzz target for a while over its kept corpus.
#   fuzz/run.sh BUILD_DIR TARGET SECONDS [extra libFuzzer flags]
# New inputs go to BUILD_DIR/corpus/TARGET (the kept corpus is only read); a crash
# or broken invariant leaves its input in BUILD_DIR/artifacts and fails the run.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "$1" && pwd)" target="$2" seconds="$3"
shift 3
work="$build/corpus/$target"
mkdir -p "$work" "$build/artifacts"
leaks=1
# LeakSanitizer needs ptrace, which some containers forbid: then leaks go unchecked.
if "$build/$target" -runs=1 2>&1 </dev/null | grep -q "LeakSanitizer has encountered a fatal error"; then
  echo "run.sh: no leak checks here (LeakSanitizer cannot run)" >&2
  leaks=0
fi
# No allocation stacks: recording one for every allocation made the runs five times
# slower as they grew. A crash still shows where it happened; rerun its input with
# ASAN_OPTIONS=abort_on_error=1 to see where the memory was allocated and freed.
export ASAN_OPTIONS="${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=$leaks:malloc_context_size=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
exec "$build/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$build/artifacts/$target-" "$@" "$work" "$here/corpus/$target"
