#!/usr/bin/env bash
# Installs what is missing, builds everything, and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" package test
"$root/scripts/build.sh" -DPADWRIGHT_TESTS=ON -DPADWRIGHT_BENCH=ON
build=${PADWRIGHT_BUILD_DIR:-$root/build}
cd "$build"
ctest --output-on-failure --timeout 300 -j2 "$@"
# The Windows build's tests under Wine, in a fresh prefix of their own.
"$root/scripts/test-windows.sh"
