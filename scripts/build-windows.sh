#!/usr/bin/env bash
# build-windows.sh [BUILD_DIR] Installs what cross-building for Windows needs
# (scripts/apt-packages-windows.txt) and builds the Windows programs and tests into BUILD_DIR
# (default build-windows/). Extra arguments after BUILD_DIR go to cmake.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-windows}
shift || true
"$root/scripts/install-deps.sh" windows
cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" "$@" >/dev/null
cmake --build "$build" -j2
