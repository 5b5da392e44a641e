#!/usr/bin/env bash
# wine-run.sh PREFIX PROGRAM [ARGS]... Runs a Windows program under 64-bit Wine in the prefix
# PREFIX, creating the prefix first when it is not there (once, whoever asks first).
set -euo pipefail
export WINEPREFIX=$1
shift
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installer questions: nothing here needs .NET or HTML.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
mkdir -p "$(dirname "$WINEPREFIX")"
(
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        "$wine" wineboot -i >/dev/null 2>&1
    fi
) 9>"$WINEPREFIX.lock"
exec "$wine" "$@"
