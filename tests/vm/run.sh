#!/usr/bin/env bash
# run.sh [--timeout SECONDS] [--file SRC[:DST]]... [--module NAME]... [--env NAME=VALUE]...
#        [--share-usr] -- COMMAND [ARG]...
# Runs COMMAND as root in a fresh VM with Debian's kernel, evdev and uinput loaded, and exits
# with its status. One boot per call: group the cases of a test into one binary. --share-usr
# gives the guest the host's /usr (read-only, over virtio-9p) instead of copied libraries.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

timeout=300
pass=() share=()
modules=(evdev uinput)
while [ $# -gt 0 ]; do
    case $1 in
    --timeout) timeout=$2; shift 2 ;;
    --file | --env) pass+=("$1" "$2"); shift 2 ;;
    --module) modules+=("$2"); shift 2 ;;
    --share-usr) share=(--share-usr); shift ;;
    --) shift; break ;;
    *) echo "run: unknown argument $1" >&2; exit 2 ;;
    esac
done
[ $# -gt 0 ] || { echo "run: no command" >&2; exit 2; }

kernel=$("$here/fetch-kernel.sh" --cached)
work=$(mktemp -d "${TMPDIR:-/tmp}/padwright-vm.XXXXXX")
trap 'rm -rf "$work"' EXIT
for m in "${modules[@]}"; do pass+=(--module "$m"); done
# A command given as a host path is copied into the guest at the same path.
[ -f "$1" ] && pass+=(--file "$1")
"$here/make-initramfs.sh" --kernel "$kernel" --out "$work/initramfs.cpio" "${pass[@]}" "${share[@]}" -- "$@"
exec "$here/boot.sh" --kernel "$kernel" --initramfs "$work/initramfs.cpio" --timeout "$timeout" "${share[@]}"
