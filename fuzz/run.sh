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
export ASAN_OPTIONS="${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
exec "$build/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$build/artifacts/$target-" "$@" "$work" "$here/corpus/$target"
