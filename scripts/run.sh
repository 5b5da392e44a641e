#!/usr/bin/env bash
# Installs what is missing for the program alone, builds only the program, and starts it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "Padwright is a desktop program and needs a graphical session, but neither DISPLAY nor" >&2
    echo "WAYLAND_DISPLAY is set. Run this from a terminal inside your desktop session." >&2
    exit 2
fi
"$root/scripts/install-deps.sh"
PADWRIGHT_BUILD_TARGET=padwright "$root/scripts/build.sh" -DPADWRIGHT_TESTS=OFF -DPADWRIGHT_BENCH=OFF
build=${PADWRIGHT_BUILD_DIR:-$root/build}
exec "$build/src/app/padwright" "$@"
