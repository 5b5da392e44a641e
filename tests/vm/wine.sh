#!/usr/bin/env bash
# wine.sh WINDOWS_BUILD_DIR [run.sh ARGUMENTS]... Runs a guest (run.sh --share-usr) with Wine
# from the host's /usr and a Wine prefix made on the host at /root/wine-prefix, where the
# guest's WINEPREFIX points. Creating a prefix under emulation takes about five minutes; on the
# host, 10-25 s. Its copies of Wine's DLLs become links to the host's files, which the guest
# sees through the shared /usr: ~13 MB instead of ~700 MB. Exits 77 (skipped) when the Windows
# build has not made the programs the guest runs.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
windows=$1
shift
for exe in src/app/win/padwright.exe tools/probe/padwright-probe.exe tools/replay/padwright-replay.exe \
    tests/windows/padwright-keywatch.exe; do
    if [ ! -f "$windows/$exe" ]; then
        echo "wine: skipped: $windows/$exe is not built; scripts/build-windows.sh builds it"
        exit 77
    fi
done
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || { echo "wine: $wine is missing; scripts/build-windows.sh installs wine64" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/padwright-wine-vm.XXXXXX")
trap 'WINEPREFIX=$work/prefix wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
start=$(date +%s.%N)
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
"$wine" wineboot -i >/dev/null 2>&1
# Wine's HID bus tries SDL first and, when libSDL2 cannot be loaded, starts no other: with SDL
# off it reads the evdev nodes through udev, as a desktop without SDL needs it set.
"$wine" reg add 'HKLM\System\CurrentControlSet\Services\winebus' /v 'Enable SDL' /t REG_DWORD /d 0 /f >/dev/null 2>&1
# The guest has no display: windows are made on Wine's null driver.
"$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
wineserver -w
dlls=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
while IFS= read -r -d '' f; do
    builtin=$dlls/${f##*/}
    if [ -f "$builtin" ] && [ "$(stat -c %s "$f")" = "$(stat -c %s "$builtin")" ]; then
        ln -sf "$builtin" "$f"
    fi
done < <(find "$WINEPREFIX/drive_c" -type f -print0)
awk -v s="$start" -v e="$(date +%s.%N)" -v size="$(du -sm "$WINEPREFIX" | cut -f1)" \
    'BEGIN { printf "wine: prefix made on the host in %.1f s, %d MB\n", e - s, size }'
status=0
"$here/run.sh" --share-usr --file "$WINEPREFIX:/root/wine-prefix" \
    --env WINEPREFIX=/root/wine-prefix --env WINEDEBUG=-all \
    --env WINEDLLOVERRIDES=mscoree,mshtml= "$@" || status=$?
exit $status
