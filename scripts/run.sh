#!/usr/bin/env bash
# Installs what is missing, builds, and starts Padwright.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
build=${PADWRIGHT_BUILD_DIR:-$root/build}
if [ -x "$build/src/app/padwright" ]; then
    exec "$build/src/app/padwright" "$@"
fi
echo "The window is not built yet; running padwright-replay on the demo script instead."
exec "$build/tools/replay/padwright-replay" "$root/tools/replay/demo.txt"
