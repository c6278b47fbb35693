#!/usr/bin/env bash
# Installs, builds and runs the whole test suite: the normal build with the
# windows, the core again under AddressSanitizer and UndefinedBehaviorSanitizer,
# then the Windows builds against the Linux one (scripts/test-windows.sh).
# Prints each stage's time.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
JOBS=$(nproc)
stage() { echo "== $1: $(( SECONDS - stage_start )) s"; stage_start=$SECONDS; }
stage_start=$SECONDS
cmake --preset default >/dev/null
cmake --build build -j"$JOBS"
stage "build"
(cd build && ctest --output-on-failure -j"$JOBS")
stage "tests"
cmake --preset asan >/dev/null
cmake --build build-asan -j"$JOBS"
stage "sanitizer build"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j"$JOBS" -L core)
stage "sanitizer tests"
./scripts/test-windows.sh
