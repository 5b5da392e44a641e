#!/usr/bin/env bash
# check-packages.sh BUILD_DIR SOURCE_DIR
# Builds the .deb and the .rpm from BUILD_DIR, validates the desktop entry, the AppStream
# metadata and the .deb (lintian, no errors allowed), and lists both packages' contents. As root
# it then installs the .deb with apt, runs the programs from /usr/bin, checks the udev rule, the
# desktop entry and what program following needs (the GNOME Shell extension, the KWin script)
# in place, removes the package and checks that nothing of it is left.
# Exit 77 (skipped) when the install part cannot run: not root, or a padwright package that is
# not ours to remove is already installed.
set -euo pipefail
build=$1
source=$2
out=$(mktemp -d /tmp/padwright-packages-XXXXXX)
trap 'rm -rf "$out"' EXIT

step() { echo "== $*"; }

step "desktop entry and AppStream metadata"
desktop-file-validate "$source/data/padwright.desktop"
appstreamcli validate --no-net "$source/data/com.vemoskar.Padwright.metainfo.xml"

step "building the packages"
(cd "$build" && cpack -B "$out" >"$out/cpack.log" 2>&1) || { cat "$out/cpack.log"; exit 1; }
deb=$(ls "$out"/padwright_*.deb)
rpm=$(ls "$out"/padwright-*.rpm)
ls -l "$deb" "$rpm"

step "contents of $(basename "$deb")"
for field in Package Version Installed-Size Depends; do
    echo "$field: $(dpkg-deb --field "$deb" "$field")"
done
dpkg-deb --contents "$deb" | awk '{print $1, $3, $6}'
step "contents of $(basename "$rpm")"
rpm -qp --info "$rpm" 2>/dev/null | grep -E '^(Name|Version|Size|License)'
rpm -qp --requires "$rpm" 2>/dev/null | tr '\n' ' '; echo
rpm -qplv "$rpm" 2>/dev/null | grep -v '/.build-id/'
rpm -qp --scripts "$rpm" 2>/dev/null | grep -q 'modprobe uinput' ||
    { echo "the .rpm has no install script"; exit 1; }

# Every program stripped, in both packages.
mkdir "$out/deb" "$out/rpm"
dpkg-deb -x "$deb" "$out/deb"
(cd "$out/rpm" && rpm2cpio "$rpm" | cpio -idm --quiet)
for root in "$out/deb" "$out/rpm"; do
    for program in padwright padwright-probe padwright-replay; do
        file "$root/usr/bin/$program" | grep -q ', stripped' ||
            { echo "not stripped: $root/usr/bin/$program"; exit 1; }
    done
done
# The Wayland plugin and the keyboard maps are not linked, so they are named by hand.
dpkg-deb --field "$deb" Depends | tr ',' '\n' | sed 's/^ //' >"$out/depends"
for needed in qt6-wayland xkb-data libqt6widgets6 libevdev2 libc6; do
    grep -q "^$needed\b" "$out/depends" || { echo "the .deb does not depend on $needed"; exit 1; }
done
rpm -qp --requires "$rpm" 2>/dev/null | grep -q '^qt6-qtwayland' ||
    { echo "the .rpm does not require qt6-qtwayland"; exit 1; }
rpm -qp --requires "$rpm" 2>/dev/null | grep -q '^libQt6Widgets.so.6' ||
    { echo "the .rpm's library dependencies were not computed"; exit 1; }

step "lintian"
# Errors fail the check; warnings are shown.
lintian --allow-root --tag-display-limit 0 "$deb" | tee "$out/lintian.txt" || true
if grep -q '^E:' "$out/lintian.txt"; then
    echo "lintian reports errors"
    exit 1
fi

if [ "$(id -u)" -ne 0 ]; then
    echo "installing the .deb needs root: skipped"
    exit 77
fi
if dpkg-query -W -f='${Status}' padwright 2>/dev/null | grep -q 'install ok installed'; then
    echo "a padwright package is installed already; it is left alone: install check skipped"
    exit 77
fi

step "installing with apt"
export DEBIAN_FRONTEND=noninteractive
apt-get install -y -qq --no-install-recommends "$deb" >"$out/apt.log" 2>&1 ||
    { cat "$out/apt.log"; exit 1; }
removed=0
cleanup() { [ $removed -eq 1 ] || apt-get purge -y -qq padwright >/dev/null 2>&1 || true; rm -rf "$out"; }
trap cleanup EXIT
dpkg -L padwright >"$out/files"

test "$(command -v padwright-probe)" = /usr/bin/padwright-probe
/usr/bin/padwright-probe --help | grep -q '^usage: padwright-probe'
/usr/bin/padwright --version | grep -q "^padwright [0-9]"
/usr/bin/padwright-replay --version | grep -q "^padwright-replay [0-9]"
grep -q 'TAG+="uaccess"' /usr/lib/udev/rules.d/70-padwright-uinput.rules
test -f /usr/lib/modules-load.d/padwright-uinput.conf
grep -q '^Exec=padwright --data-folder --show$' /usr/share/applications/padwright.desktop
# Program following: the GNOME Shell extension in both formats, and the KWin script the program
# hands KWin.
for uuid in padwright-focus@vemoskar.com padwright-focus-esm@vemoskar.com; do
    extension=/usr/share/gnome-shell/extensions/$uuid
    grep -q "\"uuid\": \"$uuid\"" "$extension/metadata.json"
    grep -q 'org.padwright.Padwright.Focus' "$extension/extension.js"
done
grep -aq 'Reports the window in front to Padwright' /usr/bin/padwright
test -f /usr/share/metainfo/com.vemoskar.Padwright.metainfo.xml
test -f /usr/share/icons/hicolor/128x128/apps/padwright.png
man -w padwright-replay | grep -q '/usr/share/man/man1/padwright-replay.1.gz'

step "removing"
apt-get purge -y -qq padwright >"$out/apt.log" 2>&1 || { cat "$out/apt.log"; exit 1; }
removed=1
if dpkg-query -W -f='${Status}' padwright 2>/dev/null | grep -q installed; then
    echo "padwright is still known to dpkg"
    exit 1
fi
left=0
while read -r path; do
    if [ -e "$path" ] && [ ! -d "$path" ]; then
        echo "left behind: $path"
        left=1
    fi
done <"$out/files"
[ $left -eq 0 ]
ls /usr/share/doc/padwright >/dev/null 2>&1 && { echo "left behind: /usr/share/doc/padwright"; exit 1; }
echo "packages built, validated, installed and removed"
