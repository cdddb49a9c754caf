#!/usr/bin/env python3
"""Draws the nine icons of the filter edit row's condition menu as 16 x 16,
24-bit BMP files next to this script, one per kind of condition:

  qelgrdstartswith  a text bar at the left, a star after it   (starts with)
  qelgrdendswith    a star at the left, a text bar after it   (ends with)
  qelgrdcontains    a text bar between two stars              (contains)
  qelgrdnotcontains the same, struck through in red           (not contains)
  qelgrdequal       an equals sign                            (equal)
  qelgrdnotequal    an equals sign struck through in red      (not equal)
  qelgrdlarger      a "greater than" chevron                  (larger than)
  qelgrdsmaller     a "less than" chevron                     (smaller than)
  qelgrdclear       a red cross                               (clear)

The corner pixel is the key colour that drawing makes transparent.

    python3 make_filter_type_looks.py
"""
import os
import struct

KEY = (255, 0, 255)
INK = (40, 70, 140)
TEXT = (90, 90, 90)
RED = (200, 30, 30)
HERE = os.path.dirname(os.path.abspath(__file__))


def blank():
    return [[KEY for _ in range(16)] for _ in range(16)]


def put(img, x, y, c):
    if 0 <= x < 16 and 0 <= y < 16:
        img[y][x] = c


def bar(img, x0, x1):
    # Two lines of "text": the cell's value.
    for x in range(x0, x1):
        put(img, x, 6, TEXT)
        put(img, x, 7, TEXT)
        put(img, x, 9, TEXT)
        put(img, x, 10, TEXT)


def star(img, cx):
    # A small asterisk, five pixels across.
    for d in range(-2, 3):
        put(img, cx + d, 8, INK)
        put(img, cx, 8 + d, INK)
    for d in (-1, 1):
        put(img, cx + d, 8 + d, INK)
        put(img, cx + d, 8 - d, INK)


def strike(img):
    for i in range(12):
        put(img, 2 + i, 13 - i, RED)
        put(img, 3 + i, 13 - i, RED)


def equals(img):
    for x in range(3, 13):
        for y in (5, 6, 10, 11):
            put(img, x, y, INK)


def chevron(img, larger):
    for i in range(6):
        x = 4 + i if larger else 11 - i
        put(img, x, 2 + i, INK)
        put(img, x, 13 - i, INK)
        put(img, x + (1 if larger else -1), 2 + i, INK)
        put(img, x + (1 if larger else -1), 13 - i, INK)


def cross(img):
    for i in range(10):
        for d in (0, 1):
            put(img, 3 + i + d, 3 + i, RED)
            put(img, 12 - i + d, 3 + i, RED)


def icons():
    a = blank(); bar(a, 1, 9); star(a, 12)
    b = blank(); star(b, 3); bar(b, 7, 15)
    c = blank(); star(c, 2); bar(c, 5, 11); star(c, 13)
    d = blank(); star(d, 2); bar(d, 5, 11); star(d, 13); strike(d)
    e = blank(); equals(e)
    f = blank(); equals(f); strike(f)
    g = blank(); chevron(g, True)
    h = blank(); chevron(h, False)
    i = blank(); cross(i)
    return [("qelgrdstartswith", a), ("qelgrdendswith", b), ("qelgrdcontains", c),
            ("qelgrdnotcontains", d), ("qelgrdequal", e), ("qelgrdnotequal", f),
            ("qelgrdlarger", g), ("qelgrdsmaller", h), ("qelgrdclear", i)]


def write_bmp(name, img):
    stride = 16 * 3
    pixels = bytearray()
    for row in reversed(img):
        for (r, g, b) in row:
            pixels.extend((b, g, r))
    offset = 14 + 40
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, 16, 16, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(os.path.join(HERE, name + ".bmp"), "wb") as f:
        f.write(header + info + pixels)


def main():
    for name, img in icons():
        write_bmp(name, img)


if __name__ == "__main__":
    main()
