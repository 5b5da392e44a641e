#!/usr/bin/env bash
# extract-vmlinux.sh BZIMAGE OUT: writes the ELF kernel inside an x86 bzImage to OUT.
# Booting the ELF through its PVH entry skips the BIOS and the in-guest decompression, which
# under software emulation saves several seconds per boot.
set -euo pipefail
in=$1
out=$2

le32() { od -An -t u4 -j "$2" -N 4 "$1" | tr -d ' '; }
le8() { od -An -t u1 -j "$2" -N 1 "$1" | tr -d ' '; }

# The x86 boot protocol: "HdrS" at 0x202; the protected-mode part starts after the setup
# sectors; payload_offset/payload_length (0x248/0x24c) locate the compressed kernel in it.
[ "$(dd if="$in" bs=1 skip=$((0x202)) count=4 status=none)" = HdrS ] ||
    { echo "extract-vmlinux: $in is not a bzImage" >&2; exit 1; }
setup_sects=$(le8 "$in" $((0x1f1)))
[ "$setup_sects" -eq 0 ] && setup_sects=4
start=$(((setup_sects + 1) * 512))
offset=$(le32 "$in" $((0x248)))
length=$(le32 "$in" $((0x24c)))

payload() { tail -c +$((start + offset + 1)) "$in" | head -c "$length"; }
magic=$(od -An -t x1 -j $((start + offset)) -N 6 "$in" | tr -d ' \n')
case $magic in
fd377a585a00) decompress=(xz -dc --single-stream) ;;
1f8b*) decompress=(gzip -dc) ;;
28b52ffd*) decompress=(zstd -dc) ;;
*) echo "extract-vmlinux: unknown compression (magic $magic) in $in" >&2; exit 1 ;;
esac
command -v "${decompress[0]}" >/dev/null ||
    { echo "extract-vmlinux: ${decompress[0]} is needed to unpack $in" >&2; exit 1; }
payload | "${decompress[@]}" >"$out.tmp" 2>/dev/null || true
[ "$(head -c 4 "$out.tmp" | od -An -t x1 | tr -d ' ')" = 7f454c46 ] ||
    { rm -f "$out.tmp"; echo "extract-vmlinux: the payload of $in is not an ELF kernel" >&2; exit 1; }
mv "$out.tmp" "$out"
