#!/usr/bin/env bash
# Configures and builds into build/ (or $PADWRIGHT_BUILD_DIR). Extra arguments go to cmake;
# $PADWRIGHT_BUILD_TARGET, when set, builds only that target.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${PADWRIGHT_BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -G Ninja "$@" >/dev/null
cmake --build "$build" ${PADWRIGHT_BUILD_TARGET:+--target "$PADWRIGHT_BUILD_TARGET"}
