#!/usr/bin/env bash
# Installs what is missing, builds everything, and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" package test
"$root/scripts/build.sh" -DPADWRIGHT_TESTS=ON -DPADWRIGHT_BENCH=ON
build=${PADWRIGHT_BUILD_DIR:-$root/build}
# Every source in the repository's style (`cmake --build build --target format` mends it).
cmake --build "$build" --target format-check
# The core and the tools without Qt, as the ports without it build them: built here so that no
# Qt creeps into the core unnoticed.
noqt=${PADWRIGHT_NOQT_BUILD_DIR:-$build-noqt}
PADWRIGHT_BUILD_DIR=$noqt "$root/scripts/build.sh" -DPADWRIGHT_QT=OFF \
    -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON -DPADWRIGHT_TESTS=ON -DPADWRIGHT_BENCH=OFF
ctest --test-dir "$noqt" --output-on-failure --timeout 300 -j2 -L core
# The Windows programs first: a guest of the VM tier runs them under Wine.
"$root/scripts/build-windows.sh"
cd "$build"
ctest --output-on-failure --timeout 300 -j2 "$@"
# The Windows build's tests under Wine, in a fresh prefix of their own.
"$root/scripts/test-windows.sh"
