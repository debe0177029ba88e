#!/usr/bin/env python3
"""Draws the program's two icons and writes them as .ico files.

Run once when the pictures change; the .ico outputs are kept in res/.
  python3 scripts/make_icons.py res
MYICON (the main window): a blue disc with a white arrow pointing up-right,
"open elsewhere". MYSYS (system programs, the menu title): a grey cog.
Each icon holds a 16x16 and a 32x32 picture, 32-bit with alpha and a mask.
"""
import math
import os
import struct
import sys


def blend(dst, src, a):
    return tuple(int(d + (s - d) * a) for d, s in zip(dst, src))


def draw_link(size):
    """Blue disc, white arrow up-right."""
    px = [[(0, 0, 0, 0)] * size for _ in range(size)]
    c = (size - 1) / 2.0
    r = size / 2.0 - 0.5
    for y in range(size):
        for x in range(size):
            d = math.hypot(x - c, y - c)
            cover = max(0.0, min(1.0, r - d + 0.5))
            if cover <= 0:
                continue
            shade = 0.75 + 0.25 * (1 - y / size)
            rgb = (int(30 * shade), int(110 * shade), int(220 * shade))
            # Arrow: a diagonal shaft and a head at the upper right.
            u = (x - c) / r
            v = (c - y) / r
            shaft = abs(u - v) < 0.22 and -0.55 < u < 0.45
            head = (u > 0.0 and v > 0.0 and u < 0.6 and v < 0.6
                    and u + v > 0.55 and (u > 0.38 or v > 0.38))
            if shaft or head:
                rgb = (255, 255, 255)
            px[y][x] = rgb + (int(255 * cover),)
    return px


def draw_cog(size):
    """Grey cog with eight teeth and a hole."""
    px = [[(0, 0, 0, 0)] * size for _ in range(size)]
    c = (size - 1) / 2.0
    outer = size / 2.0 - 0.5
    body = outer * 0.72
    hole = outer * 0.30
    for y in range(size):
        for x in range(size):
            dx, dy = x - c, y - c
            d = math.hypot(dx, dy)
            ang = math.atan2(dy, dx)
            tooth = math.cos(ang * 8) > 0.35
            edge = outer if tooth else body
            if d > edge + 0.5 or d < hole - 0.5:
                continue
            cover = min(1.0, edge + 0.5 - d, d - hole + 0.5)
            g = int(90 + 90 * (1 - y / size))
            px[y][x] = (g, g, g + 20, int(255 * max(0.0, min(1.0, cover))))
    return px


def bmp_entry(px):
    """An icon image: BITMAPINFOHEADER, BGRA rows bottom-up, AND mask."""
    size = len(px)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = bytearray()
    for y in reversed(range(size)):
        for x in range(size):
            r, g, b, a = px[y][x]
            rows += bytes((b, g, r, a))
    stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(size)):
        row = bytearray(stride)
        for x in range(size):
            if px[y][x][3] < 128:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    return header + bytes(rows) + bytes(mask)


def write_ico(path, pictures):
    images = [bmp_entry(p) for p in pictures]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for p, data in zip(pictures, images):
        size = len(p)
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for data in images:
        out += data
    with open(path, "wb") as f:
        f.write(out)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "res"
    write_ico(os.path.join(folder, "tavrin.ico"), [draw_link(16), draw_link(32)])
    write_ico(os.path.join(folder, "system.ico"), [draw_cog(16), draw_cog(32)])


if __name__ == "__main__":
    main()
