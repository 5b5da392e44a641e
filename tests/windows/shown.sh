#!/usr/bin/env bash
# shown.sh PREFIX PROGRAM [ARGS]... Runs a Windows program under Wine in PREFIX on an Xvfb of its
# own, for tests whose windows are shown: a prefix apart from the other tests', whose Wine
# processes have no display, with a virtual desktop, so that Wine draws the windows' frames and
# captions itself as Windows does (no window manager runs), and whose server ends before the X
# server does.
set -euo pipefail
if [ -z "${PADWRIGHT_SHOWN_INSIDE:-}" ]; then
    PADWRIGHT_SHOWN_INSIDE=1 exec xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" "$0" "$@"
fi
prefix=$1
shift
wine() { "$(dirname "$0")/../../scripts/wine-run.sh" "$prefix" "$@"; }
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null
# The desktop these started has none: the program starts one of its own once they are gone.
WINEPREFIX=$prefix wineserver -w
status=0
wine "$@" || status=$?
WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
exit $status
