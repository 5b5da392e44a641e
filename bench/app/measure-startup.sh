#!/usr/bin/env bash
# Builds Padwright in release mode and measures its start-up under Xvfb: the time until the
# main window is shown and the resident memory once it runs (targets: < 300 ms, < 40 MB).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${PADWRIGHT_BENCH_BUILD_DIR:-$root/build-release}
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target padwright app_startup_bench
exec "$build/bench/app/app_startup_bench" "$@"
