#!/usr/bin/env bash
# Installs what is missing, builds the programs without the tests, and makes the .deb and the
# .rpm in build/packages/ (or $PADWRIGHT_BUILD_DIR/packages).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" package
"$root/scripts/build.sh" -DPADWRIGHT_TESTS=OFF -DPADWRIGHT_BENCH=OFF
build=${PADWRIGHT_BUILD_DIR:-$root/build}
cpack --config "$build/CPackConfig.cmake" -B "$build/packages"
ls -l "$build"/packages/*.deb "$build"/packages/*.rpm
