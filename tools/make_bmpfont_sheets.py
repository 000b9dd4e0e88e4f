#!/usr/bin/env python3
"""Draws the pictures of examples/bmpfont.lua into examples/assets/.

font16.png   256 x 96 RGBA sheet: the printable ASCII characters 32..126 in
             order, 16 per row, each a 16 x 16 tile holding the interpreter's
             own built-in 8 x 8 glyph at double size, filled with a gold
             gradient over a dark drop shadow; transparent background.
tiles16.png  144 x 16 RGBA sheet: nine 16 x 16 map tiles, in order grass,
             water, brick wall, sand path, tree, flowers, bridge, rock and a
             second water frame.

The glyph shapes are read from src/graphics/builtin_font.cpp, so the sheet
always matches the built-in font. Only the standard library is used.
Run: python3 tools/make_bmpfont_sheets.py
"""
import math
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from make_demo_sprites import write_png  # noqa: E402

OUT = os.path.join(HERE, "..", "examples", "assets")
FONT_SOURCE = os.path.join(HERE, "..", "src", "graphics", "builtin_font.cpp")

TILE = 16
CLEAR = (0, 0, 0, 0)
SHADOW = (40, 20, 70, 255)


def builtin_glyphs():
    """The 256 glyphs as 64-bit row words, row 0 in the top byte."""
    with open(FONT_SOURCE) as f:
        source = f.read()
    table = source[source.index("kGlyphRows[256]"):]
    table = table[:table.index("};")]
    words = [int(w, 16) for w in re.findall(r"0x([0-9A-Fa-f]{16})", table)]
    assert len(words) == 256, len(words)
    return words


def glyph_set(word, x, y):
    """Whether pixel (x, y) of an 8 x 8 glyph is set; False outside it."""
    if not (0 <= x < 8 and 0 <= y < 8):
        return False
    return (word >> (8 * (7 - y) + (7 - x))) & 1 == 1


def font_pixel(glyphs, x, y):
    code = 32 + (y // TILE) * 16 + x // TILE
    if code > 126:
        return CLEAR
    word = glyphs[code]
    tx, ty = x % TILE, y % TILE
    if glyph_set(word, tx // 2, ty // 2):
        t = ty / (TILE - 1)
        return (255, int(245 - 110 * t), int(150 - 120 * t), 255)
    # Shadow: the glyph moved one pixel right and down.
    if tx > 0 and ty > 0 and glyph_set(word, (tx - 1) // 2, (ty - 1) // 2):
        return SHADOW
    return CLEAR


def noise(x, y, seed):
    """A repeatable value 0..255 for a pixel."""
    n = (x * 374761393 + y * 668265263 + seed * 2147483647) & 0xFFFFFFFF
    n = ((n ^ (n >> 13)) * 1274126177) & 0xFFFFFFFF
    return (n ^ (n >> 16)) & 0xFF


def shade(colour, amount):
    return tuple(max(0, min(255, c + amount)) for c in colour[:3]) + (255,)


def grass(x, y):
    n = noise(x, y, 1)
    base = (62, 140, 58)
    return shade(base, 25) if n < 30 else shade(base, -20) if n > 220 else base + (255,)


def water(x, y, phase):
    wave = math.sin((x + phase) * math.pi / 8) * 1.5
    if (y + round(wave)) % 8 == 2 and (x + phase) % 16 < 10:
        return (150, 200, 255, 255)
    return (40, 90 + (y * 3) % 20, 200, 255)


def brick(x, y):
    row = y // 4
    offset = 4 if row % 2 else 0
    if y % 4 == 3 or (x + offset) % 8 == 7:
        return (170, 165, 150, 255)
    return shade((160, 60, 45), -15 if noise(x, y, 3) > 200 else 0)


def sand(x, y):
    n = noise(x, y, 4)
    return shade((212, 188, 128), -25 if n > 215 else 15 if n < 20 else 0)


def tree(x, y):
    cx, cy = x - 7.5, y - 6.5
    if cx * cx + cy * cy <= 36:
        return (30, 110, 40, 255) if cx + cy > 2 else (50, 150, 55, 255)
    if 6 <= x <= 9 and 11 <= y <= 15:
        return (110, 70, 35, 255)
    return grass(x, y)


def flowers(x, y):
    for fx, fy, colour in ((3, 3, (240, 80, 120)), (11, 5, (250, 230, 80)), (6, 11, (250, 250, 250)),
                           (13, 12, (240, 80, 120))):
        if fx <= x <= fx + 1 and fy <= y <= fy + 1:
            return colour + (255,)
    return grass(x, y)


def bridge(x, y):
    if x % 4 == 3:
        return (80, 50, 25, 255)
    return shade((150, 105, 60), -10 if noise(x, y, 7) > 200 else 0)


def rock(x, y):
    cx, cy = x - 7.5, y - 8.5
    if (cx * cx) / 42 + (cy * cy) / 30 <= 1:
        return (190, 190, 195, 255) if cx + cy < -3 else (120, 120, 128, 255)
    return grass(x, y)


TILES = [grass, lambda x, y: water(x, y, 0), brick, sand, tree, flowers, bridge, rock,
         lambda x, y: water(x, y, 4)]


if __name__ == "__main__":
    glyphs = builtin_glyphs()
    write_png(os.path.join(OUT, "font16.png"), 16 * TILE, 6 * TILE, lambda x, y: font_pixel(glyphs, x, y))
    write_png(os.path.join(OUT, "tiles16.png"), len(TILES) * TILE, TILE,
              lambda x, y: TILES[x // TILE](x % TILE, y))
