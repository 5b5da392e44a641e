#!/usr/bin/env bash
# boot.sh --kernel DIR --initramfs FILE [--timeout SECONDS] [--log FILE] [--share-usr]
# Boots the initramfs under software emulation, echoes the serial console, and exits with the
# status the guest's /init reported. A guest that hangs, panics or never reports fails.
# --share-usr offers the host's /usr read-only over virtio-9p (mount tag "usr").
set -euo pipefail

kernel= initramfs= timeout=300 log= share=()
while [ $# -gt 0 ]; do
    case $1 in
    --kernel) kernel=$2; shift 2 ;;
    --initramfs) initramfs=$2; shift 2 ;;
    --timeout) timeout=$2; shift 2 ;;
    --log) log=$2; shift 2 ;;
    --share-usr) share=(-virtfs local,path=/usr,mount_tag=usr,security_model=none,readonly=on); shift ;;
    *) echo "boot: unknown argument $1" >&2; exit 2 ;;
    esac
done
[ -n "$kernel" ] && [ -n "$initramfs" ] || { echo "boot: missing arguments" >&2; exit 2; }
qemu=$(command -v qemu-system-x86_64) ||
    { echo "boot: qemu-system-x86_64 is missing; install qemu-system-x86" >&2; exit 1; }
if [ -z "$log" ]; then
    log=$(mktemp "${TMPDIR:-/tmp}/padwright-vm-console.XXXXXX")
    trap 'rm -f "$log"' EXIT
fi

# KVM is not assumed: CI machines are often guests themselves. i8042.* keeps the emulated PS/2
# keyboard and mouse out of /dev/input so tests see only the devices they create; quiet keeps
# the slow emulated serial line free for the test's own output.
cmdline="console=ttyS0 panic=-1 i8042.nokbd i8042.noaux quiet ${PADWRIGHT_VM_APPEND:-}"
start=$(date +%s.%N)
set +e
timeout -k 5 "$timeout" "$qemu" -accel tcg -nodefaults -nographic -no-reboot -m 1G \
    -serial stdio -monitor none -kernel "$kernel/vmlinux" -initrd "$initramfs" \
    -append "$cmdline" "${share[@]}" </dev/null 2>&1 | tr -d '\r' | tee "$log"
qemu_status=${PIPESTATUS[0]}
set -e
end=$(date +%s.%N)

if [ "$qemu_status" -eq 124 ] || [ "$qemu_status" -eq 137 ]; then
    echo "boot: the guest did not finish within ${timeout}s" >&2
    exit 124
fi
report=$(grep -a -o '@@padwright-vm done=[0-9.]* exit=[0-9]*@@' "$log" | tail -n 1 || true)
if [ -z "$report" ]; then
    echo "boot: the guest ended without reporting a status (qemu exit $qemu_status)" >&2
    exit 1
fi
init=$(grep -a -o '@@padwright-vm init=[0-9.]*@@' "$log" | tail -n 1 | sed 's/.*init=\([0-9.]*\).*/\1/')
done_at=$(sed 's/.*done=\([0-9.]*\).*/\1/' <<<"$report")
status=$(sed 's/.*exit=\([0-9]*\).*/\1/' <<<"$report")
awk -v s="$start" -v e="$end" -v i="$init" -v d="$done_at" 'BEGIN {
    printf "vm: wall %.2fs; guest uptime at /init %.2fs; test ran %.2fs (guest clock)\n", e - s, i, d - i }'
if grep -a -q '@@padwright-vm \(insmod .*\|mount /usr\) failed@@' "$log"; then
    echo "boot: a kernel module failed to load, or the host's /usr to mount, in the guest" >&2
    [ "$status" -ne 0 ] || status=1
fi
exit "$status"
