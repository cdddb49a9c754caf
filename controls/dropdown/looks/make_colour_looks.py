#!/usr/bin/env python3
"""Draws the colour picker's two resources:

qel_spectrum.bmp  the 128 x 128, 24-bit spectrum: the hue runs from red at
                  the left edge through yellow, green, cyan, blue and magenta
                  back to red at the right edge; the lightness from white at
                  the top row through the full colours at row 64 to black at
                  the bottom row.
qel_pointer.cur   the 32 x 32 monochrome pick cursor: a small ring with a
                  cross hair, black with a white outline, its hot spot at the
                  ring's middle.

    python3 make_colour_looks.py   (writes the files beside itself)
"""
import colorsys
import os
import struct

S = 128
N = 32


def spectrum_pixel(x, y):
    r, g, b = colorsys.hsv_to_rgb(x / S, 1.0, 1.0)
    if y <= 64:
        t = y / 64.0                      # white to the full colour
        r, g, b = (1 - t) + t * r, (1 - t) + t * g, (1 - t) + t * b
    else:
        t = (y - 64) / float(S - 1 - 64)  # the full colour to black
        r, g, b = (1 - t) * r, (1 - t) * g, (1 - t) * b
    return tuple(int(round(c * 255)) for c in (r, g, b))


def spectrum_bmp():
    row_bytes = S * 3  # 384, a multiple of four
    pixels = b''
    for y in reversed(range(S)):  # bottom-up
        for x in range(S):
            r, g, b = spectrum_pixel(x, y)
            pixels += bytes((b, g, r))
    info = struct.pack('<IiiHHIIiiII', 40, S, S, 1, 24, 0, row_bytes * S, 2835, 2835, 0, 0)
    head = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return head + info + pixels


def pointer(x, y):
    dx, dy = x - 15.5, y - 15.5
    d2 = dx * dx + dy * dy
    ring = 16 <= d2 <= 36
    hair = (abs(dx) <= 0.5 and 8 <= abs(dy) <= 13) or (abs(dy) <= 0.5 and 8 <= abs(dx) <= 13)
    return ring or hair


def cur_file(shape, hot):
    inside = [[shape(x, y) for x in range(N)] for y in range(N)]
    outline = [[not inside[y][x] and any(
        0 <= x + dx < N and 0 <= y + dy < N and inside[y + dy][x + dx]
        for dx in (-1, 0, 1) for dy in (-1, 0, 1)) for x in range(N)] for y in range(N)]

    def rows(bit):
        out = b''
        for y in reversed(range(N)):
            v = 0
            for x in range(N):
                if bit(x, y):
                    v |= 1 << (31 - x)
            out += struct.pack('>I', v)
        return out

    xor = rows(lambda x, y: outline[y][x])
    andm = rows(lambda x, y: not inside[y][x] and not outline[y][x])
    header = struct.pack('<IiiHHIIiiII', 40, N, N * 2, 1, 1, 0, len(xor) + len(andm), 0, 0, 2, 0)
    palette = struct.pack('<BBBBBBBB', 0, 0, 0, 0, 255, 255, 255, 0)
    image = header + palette + xor + andm
    entry = struct.pack('<BBBBHHII', N, N, 2, 0, hot[0], hot[1], len(image), 6 + 16)
    return struct.pack('<HHH', 0, 2, 1) + entry + image


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(here, 'qel_spectrum.bmp'), 'wb') as f:
        f.write(spectrum_bmp())
    with open(os.path.join(here, 'qel_pointer.cur'), 'wb') as f:
        f.write(cur_file(pointer, (15, 15)))


if __name__ == '__main__':
    main()
