#!/usr/bin/env bash
# installer.sh SETUP PREFIX: installs Padwright silently into a fresh Wine prefix, starts it from
# its Start-menu entry, uninstalls it silently, and checks what each step leaves behind: the
# uninstaller removes what was installed and keeps the user's profiles and registry settings.
set -euo pipefail
if [ -z "${PADWRIGHT_SHOWN_INSIDE:-}" ]; then # the program's window needs a display
    PADWRIGHT_SHOWN_INSIDE=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
setup=$1
export WINEPREFIX=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
wine() { "$root/scripts/wine-run.sh" "$WINEPREFIX" "$@"; }
fail() {
    echo "FAILED: $*" >&2
    wineserver -k 2>/dev/null || true
    exit 1
}
# Waits up to 60 s for a shell condition.
await() {
    for _ in $(seq 600); do
        eval "$1" && return 0
        sleep 0.1
    done
    fail "$2"
}
rm -rf "$WINEPREFIX"

wine "$setup" /S
wineserver -w
drive=$WINEPREFIX/drive_c
folder="$drive/Program Files/Padwright"
link="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Padwright.lnk"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Padwright'
for file in "$folder/padwright.exe" "$folder/Uninstall.exe" "$link"; do
    [ -f "$file" ] || fail "not installed: $file"
done
wine reg query "$uninstall_key" /v UninstallString >/dev/null || fail "no uninstall entry"

# The entry runs the program in %LOCALAPPDATA%\Padwright, which it makes.
data=$(wine cmd /c echo %LOCALAPPDATA% | tr -d '\r')
data_unix=$(wine winepath -u "$data\\Padwright" | tr -d '\r')
wine start /unix "$link"
await '[ -d "$data_unix" ]' "the Start-menu entry did not start padwright.exe --data-folder"
wine taskkill /f /im padwright.exe >/dev/null 2>&1 || true
wineserver -w

# What the user made: a profile store, and settings in the registry.
head -c 15040 /dev/zero >"$data_unix/Padwright.pro"
wine reg add 'HKCU\Software\Vemoskar\Padwright' /v TimeInterval /t REG_DWORD /d 7 /f >/dev/null

wine "$folder/Uninstall.exe" /S
await '[ ! -e "$folder" ]' "the uninstaller left $folder"
wineserver -w
[ ! -e "$link" ] || fail "the uninstaller left the Start-menu entry"
! wine reg query "$uninstall_key" >/dev/null 2>&1 || fail "the uninstall entry is left"
[ -f "$data_unix/Padwright.pro" ] || fail "the uninstaller removed the profiles"
wine reg query 'HKCU\Software\Vemoskar\Padwright' /v TimeInterval | grep -q 0x7 ||
    fail "the uninstaller removed the settings"
echo "installer: installed, started from the Start menu, uninstalled; profiles and settings kept"
