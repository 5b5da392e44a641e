#!/usr/bin/env bash
# Fetches Debian's current kernel package into the cache, keeps what the guests need (the ELF
# vmlinux for a direct PVH boot and the input modules), and prints the folder that holds them.
# Nothing is installed on the host. Later runs reuse the cache; with no package index at all
# (offline) the newest cached kernel is used.
# Usage: fetch-kernel.sh [--cached]
set -euo pipefail

cache=${PADWRIGHT_VM_CACHE:-${XDG_CACHE_HOME:-${HOME:-/tmp}/.cache}/padwright-vm}
mkdir -p "$cache"
exec 9>"$cache/.lock"
flock 9

fail() {
    echo "vm: $*" >&2
    echo "vm: the VM test tier needs Debian's kernel package; it cannot run without it." >&2
    exit 1
}

resolve() {
    apt-cache depends linux-image-amd64 2>/dev/null |
        awk '$1 == "Depends:" && $2 ~ /^linux-image-/ { print $2; exit }'
}

refresh_index() {
    [ "$(id -u)" -eq 0 ] || return 1
    echo "vm: refreshing the package index" >&2
    apt-get update -qq >&2
}

# The ready file names the layout of the folder; a cache of an older layout is fetched anew.
layout="layout 3: input, hid, usb core and common, leds, virtio, 9p, overlay"
is_ready() { [ "$(cat "$1/ready" 2>/dev/null)" = "$layout" ]; }

newest_cached() {
    local dir
    for dir in $(ls -1dt "$cache"/linux-image-*/ 2>/dev/null); do
        is_ready "$dir" && { echo "${dir%/}"; return; }
    done
}

# --cached: any kernel already here will do (the guests of one test run); the package index is
# asked only when there is none, which saves seconds per guest.
if [ "${1:-}" = --cached ]; then
    cached=$(newest_cached)
    if [ -n "$cached" ]; then
        echo "$cached"
        exit 0
    fi
fi

pkg=$(resolve || true)
if [ -z "$pkg" ]; then
    refresh_index || true
    pkg=$(resolve || true)
fi
if [ -z "$pkg" ]; then
    cached=$(newest_cached)
    [ -n "$cached" ] || fail "apt cannot tell which package linux-image-amd64 depends on."
    echo "vm: package index unavailable; using the cached $(basename "$cached")" >&2
    echo "$cached"
    exit 0
fi

dest=$cache/$pkg
if is_ready "$dest"; then
    echo "$dest"
    exit 0
fi

work=$(mktemp -d "$cache/fetch.XXXXXX")
trap 'rm -rf "$work"' EXIT
echo "vm: downloading $pkg" >&2
# apt warns that its unprivileged user cannot write here; only a real failure is shown.
download() { (cd "$work" && apt-get download -qq "$pkg" >"$work/apt.log" 2>&1); }
if ! download; then
    if ! refresh_index || ! download; then
        cat "$work/apt.log" >&2
        fail "apt-get download $pkg failed."
    fi
fi
deb=$(ls "$work"/*.deb)
dpkg-deb -x "$deb" "$work/root" || fail "$deb is not a readable package."

bzimage=$(ls "$work"/root/boot/vmlinuz-* 2>/dev/null | head -n 1)
[ -n "$bzimage" ] || fail "$pkg holds no /boot/vmlinuz-*."
moddir=$(ls -d "$work"/root/lib/modules/* 2>/dev/null | head -n 1)
[ -n "$moddir" ] || fail "$pkg holds no /lib/modules."

mkdir -p "$work/out/modules"
"$(dirname "$0")/extract-vmlinux.sh" "$bzimage" "$work/out/vmlinux" ||
    fail "cannot extract the ELF kernel from $bzimage."
# Only input and HID drivers, and what the vendor HID drivers depend on (USB core, LED classes),
# are loaded in the guests, and the file systems that share the host's /usr with a guest (9p
# over virtio, an overlay for what is written there); the rest of the tree is ~400 MB.
for sub in drivers/input drivers/hid drivers/usb/core drivers/usb/common drivers/leds \
    drivers/virtio fs/9p net/9p fs/overlayfs fs/netfs fs/fscache; do
    if [ -d "$moddir/kernel/$sub" ]; then
        mkdir -p "$work/out/modules/$sub"
        cp -a "$moddir/kernel/$sub/." "$work/out/modules/$sub/"
    fi
done
# Compressed modules would need a decompressing insmod in the guest; unpack them here instead.
find "$work/out/modules" -name '*.ko.xz' -exec xz -d {} +
basename "$moddir" >"$work/out/release"
echo "$layout" >"$work/out/ready"
rm -rf "$dest"
mv "$work/out" "$dest"
# Older kernels stay only until a newer one is in place.
for old in "$cache"/linux-image-*; do
    [ "$old" = "$dest" ] || rm -rf "$old"
done
echo "$dest"
