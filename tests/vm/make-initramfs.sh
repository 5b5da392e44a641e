#!/usr/bin/env bash
# make-initramfs.sh --kernel DIR --out FILE [--file SRC[:DST]]... [--module NAME]...
#                   [--env NAME=VALUE]... [--share-usr] -- COMMAND [ARG]...
# Builds an uncompressed initramfs (uncompressed boots faster under software emulation) whose
# /init mounts the kernel's file systems, loads the named modules with their dependencies, runs
# COMMAND and reports its exit status on the serial console before powering off.
# ELF files get their shared-library closure copied to the same absolute paths, unless
# --share-usr: then the host's /usr, shared read-only over virtio-9p (boot.sh --share-usr), lies
# under the archive's own /usr, and the guest finds every library and data file the host has.
set -euo pipefail

kernel= out= share_usr=
files=() modules=() envs=()
while [ $# -gt 0 ]; do
    case $1 in
    --kernel) kernel=$2; shift 2 ;;
    --out) out=$2; shift 2 ;;
    --file) files+=("$2"); shift 2 ;;
    --module) modules+=("$2"); shift 2 ;;
    --env) envs+=("$2"); shift 2 ;;
    --share-usr) share_usr=1; modules+=(virtio_pci 9pnet_virtio 9p overlay); shift ;;
    --) shift; break ;;
    *) echo "make-initramfs: unknown argument $1" >&2; exit 2 ;;
    esac
done
[ -n "$kernel" ] && [ -n "$out" ] && [ $# -gt 0 ] || { echo "make-initramfs: missing arguments" >&2; exit 2; }

busybox=$(command -v busybox) || { echo "make-initramfs: busybox is not installed" >&2; exit 1; }
if ldd "$busybox" >/dev/null 2>&1; then
    echo "make-initramfs: $busybox is not static; install busybox-static" >&2
    exit 1
fi

root=$(mktemp -d "${TMPDIR:-/tmp}/padwright-initramfs.XXXXXX")
trap 'rm -rf "$root"' EXIT
# mktemp's 0700 would become the guest's "/", where only root could reach any file.
chmod 755 "$root"
mkdir -p "$root"/{usr/bin,usr/lib/modules,usr/lib64,dev,proc,sys,tmp,root,etc}
# Debian's merged /usr: binaries and ldd's output name libraries by their /lib/... paths.
ln -s usr/bin "$root/bin"
ln -s usr/bin "$root/sbin"
ln -s usr/lib "$root/lib"
ln -s usr/lib64 "$root/lib64"
cp "$busybox" "$root/usr/bin/busybox"

# Maps a host path onto the guest's merged-/usr tree.
guest_path() {
    case $1 in
    /lib/* | /lib64/* | /bin/* | /sbin/*) echo "/usr$1" ;;
    *) echo "$1" ;;
    esac
}

add_file() { # SRC DST
    local dst
    dst=$root$(guest_path "$2")
    mkdir -p "$(dirname "$dst")"
    cp -L "$1" "$dst"
}

add_libraries() { # ELF
    local lib
    [ -z "$share_usr" ] || return 0
    while read -r lib; do
        [ -e "$root$(guest_path "$lib")" ] || add_file "$lib" "$lib"
    done < <(ldd "$1" 2>/dev/null | awk '$2 == "=>" && $3 ~ /^\// { print $3 } $1 ~ /^\// { print $1 }')
}

is_elf() { [ "$(head -c 4 "$1" | od -An -t x1 | tr -d ' ')" = 7f454c46 ]; }

for entry in "${files[@]}"; do
    src=${entry%%:*}
    dst=${entry#*:}
    [ "$entry" = "$src" ] && dst=$src
    [ -e "$src" ] || { echo "make-initramfs: $src does not exist" >&2; exit 1; }
    if [ -d "$src" ]; then
        mkdir -p "$root$(guest_path "$dst")"
        cp -a "$src/." "$root$(guest_path "$dst")/"
        while IFS= read -r -d '' f; do is_elf "$f" && add_libraries "$f"; done \
            < <(find "$src" -type f -print0)
    else
        add_file "$src" "$dst"
        is_elf "$src" && add_libraries "$src"
    fi
done

# Modules in load order: each one after what its depends= string names (no modules.dep ships).
loaded=()
add_module() {
    local name=$1 ko dep
    for dep in "${loaded[@]}"; do [ "$dep" = "$name" ] && return 0; done
    ko=$(find "$kernel/modules" -name "$name.ko" -o -name "${name//_/-}.ko" | head -n 1)
    [ -n "$ko" ] || { echo "make-initramfs: module $name not in $kernel" >&2; exit 1; }
    for dep in $(tr '\0' '\n' <"$ko" | sed -n 's/^depends=//p' | tr ',' ' '); do
        add_module "$dep"
    done
    cp "$ko" "$root/usr/lib/modules/$name.ko"
    loaded+=("$name")
}
for m in "${modules[@]}"; do add_module "$m"; done

quote() { printf "'%s'" "${1//\'/\'\\\'\'}"; }
{
    echo '#!/bin/busybox sh'
    echo '/bin/busybox mount -t devtmpfs dev /dev'
    # Without a /dev/console in the archive the kernel starts /init with no standard streams.
    echo 'exec </dev/console >/dev/console 2>&1'
    echo '/bin/busybox mount -t proc proc /proc'
    echo '/bin/busybox --install -s /bin'
    echo 'mount -t sysfs sys /sys'
    echo 'mkdir -p /dev/pts && mount -t devpts devpts /dev/pts'
    echo 'export PATH=/usr/bin HOME=/root TMPDIR=/tmp'
    for e in "${envs[@]}"; do echo "export $(quote "$e")"; done
    for m in "${loaded[@]}"; do
        echo "insmod /lib/modules/$m.ko || echo '@@padwright-vm insmod $m failed@@'"
    done
    if [ -n "$share_usr" ]; then
        # The archive's /usr above the host's; read-only, as nothing is installed in a guest.
        echo 'mkdir -p /.host-usr /.guest-usr'
        echo 'mount -t 9p -o trans=virtio,version=9p2000.L,ro,cache=loose,msize=512000 usr /.host-usr &&'
        echo '    mount --bind /usr /.guest-usr &&'
        echo '    mount -t overlay -o lowerdir=/.guest-usr:/.host-usr overlay /usr ||'
        echo "    echo '@@padwright-vm mount /usr failed@@'"
    fi
    echo 'read -r up _ </proc/uptime'
    echo 'echo "@@padwright-vm init=$up@@"'
    echo 'cd /root'
    for a in "$@"; do printf '%s ' "$(quote "$a")"; done
    echo
    echo 'status=$?'
    echo 'read -r down _ </proc/uptime'
    echo 'echo "@@padwright-vm done=$down exit=$status@@"'
    echo 'poweroff -f'
} >"$root/init"
chmod +x "$root/init"

(cd "$root" && find . | busybox cpio -o -H newc 2>/dev/null) >"$out.tmp"
mv "$out.tmp" "$out"
