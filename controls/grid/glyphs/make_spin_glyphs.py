#!/usr/bin/env python3
"""Draws the spin buttons' arrow glyphs as BMP files next to this script:
"VurSpinUp" (an arrow pointing up) and "VurSpinDown" (pointing down), each
9 x 4 pixels in 24 bits (an arrow seven wide), black on the olive key colour that the bottom-left
pixel carries (the glyphs are drawn transparent by it).

    python3 make_spin_glyphs.py
"""
import os
import struct

KEY = (128, 128, 0)
INK = (0, 0, 0)
HERE = os.path.dirname(os.path.abspath(__file__))
W, H = 9, 4


def arrow(up):
    img = [[KEY for _ in range(W)] for _ in range(H)]
    for row in range(H):
        # Row 0 of an up arrow is its tip: one pixel, then three, five, seven.
        width = 2 * row + 1 if up else 2 * (H - 1 - row) + 1
        start = (W - width) // 2
        for x in range(start, start + width):
            img[row][x] = INK
    return img


def write_bmp(name, img):
    h, w = len(img), len(img[0])
    stride = ((w * 24 + 31) // 32) * 4
    pixels = bytearray()
    for row in reversed(img):
        line = bytearray()
        for (r, g, b) in row:
            line.extend((b, g, r))
        line.extend(b"\0" * (stride - len(line)))
        pixels.extend(line)
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    offset = 14 + len(header)
    data = b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + header + bytes(pixels)
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


write_bmp("vurspinup.bmp", arrow(True))
write_bmp("vurspindown.bmp", arrow(False))
