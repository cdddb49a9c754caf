#!/usr/bin/env python3
"""Draws the string grid's own cursors as 32 x 32 monochrome .cur files:
8010 row selection (an arrow pointing right), 8011 column selection (an arrow
pointing down), 8012 select all and resize (an arrow pointing down and right)
and 8014 the cell selector (a cross). Black shapes with a white outline, the
hot spot at the arrow's tip or the cross's middle.

    python3 make_cursors.py   (writes the files beside itself)
"""
import os
import struct

N = 32


def right_arrow(x, y):
    if 4 <= x <= 18 and 14 <= y <= 17:
        return True
    if 18 <= x <= 27:
        h = 27 - x
        return 15.5 - h - 1 <= y <= 15.5 + h + 1
    return False


def down_arrow(x, y):
    return right_arrow(y, x)


def diagonal_arrow(x, y):
    # The shaft along the diagonal, the head a triangle with its tip at 26,26.
    if 5 <= x <= 20 and 5 <= y <= 20 and abs(x - y) <= 1:
        return True
    return x <= 26 and y <= 26 and x + y >= 40


def cross(x, y):
    return (14 <= x <= 17 and 6 <= y <= 25) or (14 <= y <= 17 and 6 <= x <= 25)


def cur_file(shape, hot):
    inside = [[shape(x, y) for x in range(N)] for y in range(N)]
    outline = [[not inside[y][x] and any(
        0 <= x + dx < N and 0 <= y + dy < N and inside[y + dy][x + dx]
        for dx in (-1, 0, 1) for dy in (-1, 0, 1)) for x in range(N)] for y in range(N)]

    def rows(bit):
        out = b''
        for y in reversed(range(N)):  # bottom-up
            v = 0
            for x in range(N):
                if bit(x, y):
                    v |= 1 << (31 - x)
            out += struct.pack('>I', v)
        return out

    xor = rows(lambda x, y: outline[y][x])                       # white outline
    andm = rows(lambda x, y: not inside[y][x] and not outline[y][x])  # transparent elsewhere
    header = struct.pack('<IiiHHIIiiII', 40, N, N * 2, 1, 1, 0, len(xor) + len(andm), 0, 0, 2, 0)
    palette = struct.pack('<BBBBBBBB', 0, 0, 0, 0, 255, 255, 255, 0)
    image = header + palette + xor + andm
    entry = struct.pack('<BBBBHHII', N, N, 2, 0, hot[0], hot[1], len(image), 6 + 16)
    return struct.pack('<HHH', 0, 2, 1) + entry + image


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    files = {
        'rowselect.cur': (right_arrow, (27, 15)),
        'colselect.cur': (down_arrow, (15, 27)),
        'selectall.cur': (diagonal_arrow, (26, 26)),
        'cellselect.cur': (cross, (15, 15)),
    }
    for name, (shape, hot) in files.items():
        with open(os.path.join(here, name), 'wb') as f:
            f.write(cur_file(shape, hot))


if __name__ == '__main__':
    main()
