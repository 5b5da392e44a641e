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
    rows = []
    n = SUPERSAMPLE
    for y in range(size):
        row = bytearray([0])  # filter type: none
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
    return png(size, size, b"".join(rows))


def png(w, h, raw):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    header = struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    outputs = {f"padwright-{s}.png": render(s, None) for s in (32, 64, 128)}
    outputs.update({f"tray-frame-{i}.png": render(32, i) for i in range(4)})
    for name, data in outputs.items():
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
