#!/usr/bin/env python3
"""Draws demo.png, the demo's picture: a house under a sun, black on white,
160 x 160 pixels (the TARN's 80 x 80 pins at two pixels a pin)."""
import math
import struct
import sys
import zlib

W = H = 160
img = [[255] * W for _ in range(H)]


def dot(x, y):
    if 0 <= x < W and 0 <= y < H:
        img[y][x] = 0


def rect(x0, y0, x1, y1):  # filled, inclusive
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            dot(x, y)


def line(x0, y0, x1, y1, t):  # thick line
    n = max(abs(x1 - x0), abs(y1 - y0))
    for i in range(n + 1):
        x = x0 + (x1 - x0) * i / n
        y = y0 + (y1 - y0) * i / n
        rect(int(x - t / 2), int(y - t / 2), int(x + t / 2), int(y + t / 2))


def ring(cx, cy, r, t):
    for y in range(H):
        for x in range(W):
            if abs(math.hypot(x - cx, y - cy) - r) <= t / 2:
                dot(x, y)


# The ground.
rect(4, 148, 155, 153)
# The house: walls, roof, door and a window with a cross.
line(30, 80, 30, 148, 4)
line(120, 80, 120, 148, 4)
line(18, 84, 75, 36, 5)
line(75, 36, 132, 84, 5)
line(30, 82, 120, 82, 4)
rect(64, 112, 84, 148)
line(94, 98, 112, 98, 3)
line(94, 118, 112, 118, 3)
line(94, 98, 94, 118, 3)
line(112, 98, 112, 118, 3)
line(103, 98, 103, 118, 3)
line(94, 108, 112, 108, 3)
# The sun with its rays.
ring(136, 24, 11, 4)
for k in range(8):
    a = k * math.pi / 4
    line(int(136 + 17 * math.cos(a)), int(24 + 17 * math.sin(a)), int(136 + 23 * math.cos(a)),
         int(24 + 23 * math.sin(a)), 3)


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)


raw = b"".join(b"\x00" + bytes(row) for row in img)
png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", W, H, 8, 0, 0, 0, 0)) +
       chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))
out = sys.argv[1] if len(sys.argv) > 1 else "demo.png"
with open(out, "wb") as f:
    f.write(png)
