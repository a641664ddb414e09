#!/usr/bin/env python3
"""Draws Lumatone's 32 x 32, 16-colour icon (a half-shaded sun on a navy
tile) and writes it as lumatone.ico beside this script."""
import math
import os
import struct

# The standard 16-colour palette, in index order.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, OLIVE, NAVY, GRAY, YELLOW, WHITE = 0, 3, 4, 8, 11, 15
SIZE = 32
TRANSPARENT = None


def tile(x, y):
    """Inside the rounded navy tile (corner radius 6)."""
    r = 6
    cx = min(max(x, r), SIZE - 1 - r)
    cy = min(max(y, r), SIZE - 1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def pixel(x, y):
    if not tile(x, y):
        return TRANSPARENT
    if not tile(x - 1, y) or not tile(x + 1, y) or not tile(x, y - 1) or not tile(x, y + 1):
        return BLACK
    px, py = x + 0.5 - 16, y + 0.5 - 16
    d = math.hypot(px, py)
    if d <= 7.0:
        if d > 6.0:
            return WHITE
        return YELLOW if px < 0 else OLIVE  # the shaded half: gamma
    angle = math.atan2(py, px)
    ray = abs(((angle / (2 * math.pi / 8)) + 0.5) % 1 - 0.5)
    if 9.0 <= d <= 13.0 and ray < 0.12:
        return YELLOW
    return NAVY


def main():
    rows = [[pixel(x, y) for x in range(SIZE)] for y in range(SIZE)]
    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):  # bitmaps run bottom-up
        for x in range(0, SIZE, 2):
            a = row[x] if row[x] is not None else BLACK
            b = row[x + 1] if row[x + 1] is not None else BLACK
            xor.append(a << 4 | b)
        bits = 0
        for x in range(SIZE):
            bits = bits << 1 | (1 if row[x] is None else 0)
        mask += struct.pack(">I", bits)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0,
                         len(xor) + len(mask), 0, 0, 16, 0)
    image = header + palette + bytes(xor) + bytes(mask)
    icondir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "lumatone.ico")
    with open(out, "wb") as f:
        f.write(icondir + entry + image)


if __name__ == "__main__":
    main()
