#!/usr/bin/env python3
"""Draws the pictures of examples/sprites.lua into examples/assets/.

ship.png  128 x 32 RGBA sheet: four 32 x 32 frames of a small ship whose
          exhaust flame flickers; transparent background.
star.bmp  16 x 16 24-bit BMP: a yellow star on magenta, the colour the
          interpreter keys out by default.

Only the standard library is used: PNG chunks are written with zlib and
struct, the BMP header by hand. Run: python3 tools/make_demo_sprites.py
"""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "examples", "assets")

CLEAR = (0, 0, 0, 0)
HULL = (180, 190, 210, 255)
HULL_DARK = (110, 120, 150, 255)
COCKPIT = (60, 220, 255, 255)
WING = (220, 60, 70, 255)
FLAME_OUT = (255, 140, 20, 255)
FLAME_IN = (255, 240, 120, 255)


def inside_triangle(px, py, a, b, c):
    def side(p, q, r):
        return (p[0] - r[0]) * (q[1] - r[1]) - (q[0] - r[0]) * (p[1] - r[1])
    d1, d2, d3 = side((px, py), a, b), side((px, py), b, c), side((px, py), c, a)
    has_neg = d1 < 0 or d2 < 0 or d3 < 0
    has_pos = d1 > 0 or d2 > 0 or d3 > 0
    return not (has_neg and has_pos)


def ship_pixel(x, y, flame):
    """Colour of pixel (x, y) of a 32 x 32 frame, nose up; flame 0..3."""
    cx, cy = x + 0.5, y + 0.5
    # Exhaust below the hull, its length set by the frame.
    length = (4, 7, 5, 8)[flame]
    if 22 <= cy <= 24 + length and abs(cx - 16) <= (24 + length - cy) * 0.45 + 0.5:
        return FLAME_IN if abs(cx - 16) <= 1.2 and cy < 22 + length else FLAME_OUT
    if inside_triangle(cx, cy, (16, 2), (9, 24), (23, 24)):
        if (cx - 16) ** 2 + (cy - 12) ** 2 <= 6.5:
            return COCKPIT
        return HULL if cx < 16.5 else HULL_DARK
    if inside_triangle(cx, cy, (10, 14), (2, 26), (11, 24)) or inside_triangle(cx, cy, (22, 14), (30, 26), (21, 24)):
        return WING
    return CLEAR


def write_png(path, width, height, pixel):
    rows = b"".join(b"\0" + b"".join(bytes(pixel(x, y)) for x in range(width)) for y in range(height))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)  # 8-bit RGBA
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))


def write_bmp(path, width, height, pixel):
    stride = (width * 3 + 3) & ~3
    data = bytearray()
    for y in reversed(range(height)):  # bottom-up rows
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        data += row + b"\0" * (stride - len(row))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    with open(path, "wb") as f:
        f.write(header + info + bytes(data))


def star_pixel(x, y):
    cx, cy = x - 7.5, y - 7.5
    if abs(cx) + abs(cy) <= 3.5 or (abs(cx) <= 0.6 and abs(cy) <= 7) or (abs(cy) <= 0.6 and abs(cx) <= 7):
        return (255, 230, 90)
    return (255, 0, 255)


if __name__ == "__main__":
    write_png(os.path.join(OUT, "ship.png"), 128, 32, lambda x, y: ship_pixel(x % 32, y, x // 32))
    write_bmp(os.path.join(OUT, "star.bmp"), 16, 16, star_pixel)
