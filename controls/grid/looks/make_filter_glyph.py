#!/usr/bin/env python3
"""Draws the grid's default filter glyph "VURFILT": a 16 x 16, 16-colour
palette BMP of a small funnel next to this script. Its top-left pixel is the
key colour that the grid replaces by the fixed-cell colour.

    python3 make_filter_glyph.py
"""
import os
import struct

KEY = (255, 0, 255)
EDGE = (64, 64, 64)
FILL = (128, 128, 128)
LIGHT = (224, 224, 224)
HERE = os.path.dirname(os.path.abspath(__file__))


def funnel():
    img = [[KEY for _ in range(16)] for _ in range(16)]
    # The cone: rows 3..8 narrowing from 12 to 2 pixels, framed.
    for i, y in enumerate(range(3, 9)):
        x0, x1 = 2 + i, 13 - i
        for x in range(x0, x1 + 1):
            edge = x in (x0, x1) or y == 3
            img[y][x] = EDGE if edge else (LIGHT if y == 4 else FILL)
    # The stem: two pixels wide down to row 13.
    for y in range(9, 14):
        for x in (7, 8):
            img[y][x] = EDGE if y == 13 or x == 7 else FILL
    return img


def write_bmp(name, img):
    h, w, bits = len(img), len(img[0]), 4
    colours = []
    for row in img:
        for c in row:
            if c not in colours:
                colours.append(c)
    palette = colours + [(0, 0, 0)] * (16 - len(colours))
    index = {c: i for i, c in enumerate(colours)}
    stride = ((w * bits + 31) // 32) * 4
    pixels = bytearray()
    for row in reversed(img):
        line = bytearray()
        for x in range(0, w, 2):
            line.append((index[row[x]] << 4) | index[row[x + 1]])
        line.extend(b"\0" * (stride - len(line)))
        pixels.extend(line)
    pal = bytearray()
    for (r, g, b) in palette:
        pal.extend((b, g, r, 0))
    offset = 14 + 40 + len(pal)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, bits, 0, len(pixels), 2835, 2835, 16, 0)
    with open(os.path.join(HERE, name + ".bmp"), "wb") as f:
        f.write(header + info + pal + pixels)


if __name__ == "__main__":
    write_bmp("vurfilt", funnel())
