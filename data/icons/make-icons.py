#!/usr/bin/env python3
"""Draws Padwright's icons: the application icon and the four tray animation frames.

A controller glyph whose face buttons light up one after another, clockwise, so the tray icon
visibly moves while controllers are being read. Pure Python (zlib only) so that anyone can
regenerate the PNGs without image tools:  python3 data/icons/make-icons.py
"""
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SUPERSAMPLE = 4

BODY = (52, 73, 94)
BODY_EDGE = (30, 42, 56)
DPAD = (214, 222, 230)
BUTTON = (150, 165, 180)
LIT = (80, 220, 110)


def rounded_rect(px, py, x0, y0, x1, y1, r):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r
    dx, dy = abs(px - cx) - hx, abs(py - cy) - hy
    outside = math.hypot(max(dx, 0), max(dy, 0))
    return outside + min(max(dx, dy), 0) - r


def capsule(px, py, ax, ay, bx, by, r):
    vx, vy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * vx + (py - ay) * vy) / (vx * vx + vy * vy)))
    return math.hypot(px - ax - t * vx, py - ay - t * vy) - r


def circle(px, py, cx, cy, r):
    return math.hypot(px - cx, py - cy) - r


# Face buttons in the order they light up: top, right, bottom, left.
FACE = [(0.72, 0.37), (0.83, 0.48), (0.72, 0.59), (0.61, 0.48)]


def shade(px, py, lit):
    """Colour (r, g, b, a) of the glyph at (px, py) in the unit square, or None."""
    body = min(rounded_rect(px, py, 0.06, 0.26, 0.94, 0.66, 0.16),
               capsule(px, py, 0.24, 0.52, 0.17, 0.80, 0.13),
               capsule(px, py, 0.76, 0.52, 0.83, 0.80, 0.13))
    if body > 0:
        return None
    for i, (cx, cy) in enumerate(FACE):
        if circle(px, py, cx, cy, 0.058) <= 0:
            return LIT if i == lit else BUTTON
    if (rounded_rect(px, py, 0.17, 0.445, 0.39, 0.515, 0.015) <= 0
            or rounded_rect(px, py, 0.245, 0.37, 0.315, 0.59, 0.015) <= 0):
        return DPAD
    return BODY_EDGE if body > -0.035 else BODY


def render(size, lit):
    """The glyph as rows of RGBA bytes, top row first."""
    rows = []
    n = SUPERSAMPLE
    for y in range(size):
        row = bytearray()
        for x in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(n):
                for sx in range(n):
                    c = shade((x + (sx + 0.5) / n) / size, (y + (sy + 0.5) / n) / size, lit)
                    if c is not None:
                        acc[0] += c[0]
                        acc[1] += c[1]
                        acc[2] += c[2]
                        acc[3] += 1
            if acc[3]:
                row += bytes([acc[0] // acc[3], acc[1] // acc[3], acc[2] // acc[3],
                              255 * acc[3] // (n * n)])
            else:
                row += bytes(4)
        rows.append(bytes(row))
    return rows


def png(rows):
    w, h = len(rows[0]) // 4, len(rows)
    raw = b"".join(b"\0" + row for row in rows)  # filter type: none
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    header = struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def bgra(row):
    out = bytearray(row)
    out[0::4], out[2::4] = row[2::4], row[0::4]
    return bytes(out)


def ico(images):
    """A Windows icon file of 32-bit images (rows of RGBA bytes), in the bitmap form every
    Windows and Wine reads."""
    entries, blobs = b"", b""
    offset = 6 + 16 * len(images)
    for rows in images:
        size = len(rows)
        xor = b"".join(bgra(row) for row in reversed(rows))  # bottom row first
        mask_row = ((size + 31) // 32) * 4
        mask = bytes(mask_row * size)  # the alpha channel decides
        header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                             len(xor) + len(mask), 0, 0, 0, 0)
        blob = header + xor + mask
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
        blobs += blob
    return struct.pack("<HHH", 0, 1, len(images)) + entries + blobs


def main():
    outputs = {f"padwright-{s}.png": png(render(s, None)) for s in (32, 64, 128)}
    outputs.update({f"tray-frame-{i}.png": png(render(32, i)) for i in range(4)})
    for name, data in outputs.items():
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(data)
    # The Windows program's icons, beside its other resources.
    windows = os.path.join(HERE, "..", "windows")
    icons = {"padwright.ico": ico([render(s, None) for s in (16, 32, 48)])}
    icons.update({f"tray-frame-{i}.ico": ico([render(s, i) for s in (16, 32)]) for i in range(4)})
    for name, data in icons.items():
        with open(os.path.join(windows, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
