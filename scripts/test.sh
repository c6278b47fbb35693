#!/usr/bin/env bash
# Installs, builds and runs the whole test suite: the normal build with the
# windows, then the core again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
JOBS=$(nproc)
cmake --preset default >/dev/null
cmake --build build -j"$JOBS"
(cd build && ctest --output-on-failure -j"$JOBS")
cmake --preset asan >/dev/null
cmake --build build-asan -j"$JOBS"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j"$JOBS" -L core)
