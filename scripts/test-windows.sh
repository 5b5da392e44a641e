#!/usr/bin/env bash
# test-windows.sh [BUILD_DIR] Builds for Windows (scripts/build-windows.sh) and runs the Windows
# tests under Wine in a fresh prefix in BUILD_DIR (default build-windows/). Prints the time
# taken, the prefix's creation included.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-windows}
"$root/scripts/build-windows.sh" "$build"
start=$(date +%s.%N)
prefix=$build/wine-prefix
rm -rf "$prefix"
status=0
ctest --test-dir "$build" --output-on-failure --timeout 300 -j2 || status=$?
# The prefix's server goes with the run; the next run makes a fresh prefix.
WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
printf 'windows: tests under Wine took %.1f s, prefix creation included\n' \
    "$(awk -v s="$start" -v e="$(date +%s.%N)" 'BEGIN { print e - s }')"
exit $status
