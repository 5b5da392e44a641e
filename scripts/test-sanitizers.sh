#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer into build-asan/ (or
# $PADWRIGHT_ASAN_BUILD_DIR) and runs the tests there. Too slow for CI; run it by hand. The VM
# tests are left out unless PADWRIGHT_ASAN_VM=1. Extra arguments go to ctest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${PADWRIGHT_ASAN_BUILD_DIR:-$root/build-asan}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPADWRIGHT_SANITIZE=ON \
    -DPADWRIGHT_BENCH=OFF >/dev/null
ninja -C "$build" -j"${PADWRIGHT_JOBS:-2}"
labels=(-LE vm)
[[ ${PADWRIGHT_ASAN_VM:-0} == 1 ]] && labels=()
# halt_on_error makes a sanitizer report fail the test that caused it.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:halt_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
ctest --test-dir "$build" --output-on-failure --timeout 300 -j"${PADWRIGHT_JOBS:-2}" \
    "${labels[@]}" "$@"
