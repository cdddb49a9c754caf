#!/usr/bin/env python3
"""Draws the bitmaps of the grid's colour-tone look and of its search panel
as 24-bit BMP files next to this script.

  metrocheckon, metrocheckoff, metroradioon, metroradiooff   16 x 16
  vurarup, vurarupd, vurardown, vurardownd (find buttons)     16 x 16
  vurhi, vurhid (highlight button)                            16 x 16
  vurclose, vurcloseh, vurclosed (close button)               14 x 14

Each bitmap's corner pixel is the key colour that drawing makes
transparent.

    python3 make_companion_looks.py
"""
import math
import os
import struct

KEY = (255, 0, 255)
HERE = os.path.dirname(os.path.abspath(__file__))


def blank(w, h):
    return [[KEY for _ in range(w)] for _ in range(h)]


def put(img, x, y, c):
    if 0 <= y < len(img) and 0 <= x < len(img[0]):
        img[y][x] = c


def rect(img, x0, y0, x1, y1, c):
    for y in range(y0, y1):
        for x in range(x0, x1):
            put(img, x, y, c)


def frame(img, x0, y0, x1, y1, c):
    for x in range(x0, x1):
        put(img, x, y0, c)
        put(img, x, y1 - 1, c)
    for y in range(y0, y1):
        put(img, x0, y, c)
        put(img, x1 - 1, y, c)


def tick(img, c):
    # A flat tick, two pixels thick, inside a 16 x 16 box.
    pts = [(4, 8), (5, 9), (6, 10), (7, 9), (8, 8), (9, 7), (10, 6), (11, 5)]
    for (x, y) in pts:
        put(img, x, y, c)
        put(img, x, y + 1, c)


def disc(img, cx, cy, r, c):
    for y in range(len(img)):
        for x in range(len(img[0])):
            if math.hypot(x + 0.5 - cx, y + 0.5 - cy) <= r:
                img[y][x] = c


def circle_outline(img, cx, cy, r, c, fill):
    for y in range(len(img)):
        for x in range(len(img[0])):
            d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
            if d <= r - 1.2:
                img[y][x] = fill
            elif d <= r:
                img[y][x] = c


ACCENT = (38, 160, 218)
GREY = (128, 128, 128)
LIGHT = (200, 200, 200)
WHITE = (255, 255, 255)


def metro_check(on):
    img = blank(16, 16)
    if on:
        rect(img, 1, 1, 15, 15, ACCENT)
        tick(img, WHITE)
    else:
        rect(img, 1, 1, 15, 15, WHITE)
        frame(img, 1, 1, 15, 15, GREY)
    return img


def metro_radio(on):
    img = blank(16, 16)
    circle_outline(img, 8, 8, 7, ACCENT if on else GREY, WHITE)
    if on:
        disc(img, 8, 8, 3.6, ACCENT)
    return img


def arrow(up, enabled):
    img = blank(16, 16)
    c = (40, 90, 170) if enabled else LIGHT
    # A triangle 9 wide, 5 high, centred.
    for i in range(5):
        y = (5 + i) if up else (10 - i)
        for x in range(8 - i, 9 + i):
            put(img, x, y, c)
    # The shaft.
    for y in (range(10, 13) if up else range(3, 6)):
        put(img, 8, y, c)
        put(img, 7, y, c)
    return img


def highlight(enabled):
    img = blank(16, 16)
    pen = (30, 30, 30) if enabled else LIGHT
    mark = (0, 230, 255) if enabled else (230, 230, 230)
    # A marker stroke: a yellow band with a dark tip.
    rect(img, 2, 10, 14, 14, mark)
    for i in range(7):
        put(img, 5 + i, 8 - i, pen)
        put(img, 6 + i, 8 - i, pen)
        put(img, 6 + i, 9 - i, pen)
    put(img, 4, 9, pen)
    put(img, 4, 10, pen)
    return img


def close(state):
    img = blank(14, 14)
    if state == "hot":
        rect(img, 0, 0, 14, 14, (225, 225, 225))
        frame(img, 0, 0, 14, 14, GREY)
        put(img, 0, 0, KEY)
    elif state == "down":
        rect(img, 0, 0, 14, 14, (190, 190, 190))
        frame(img, 0, 0, 14, 14, (96, 96, 96))
        put(img, 0, 0, KEY)
    c = (60, 60, 60)
    for i in range(3, 11):
        put(img, i, i, c)
        put(img, i + 1, i, c)
        put(img, 13 - i, i, c)
        put(img, 12 - i, i, c)
    return img


def write_bmp(name, img):
    h = len(img)
    w = len(img[0])
    stride = ((w * 3 + 3) // 4) * 4
    pixels = bytearray()
    for row in reversed(img):
        line = bytearray()
        for (r, g, b) in row:
            line.extend((b, g, r))
        line.extend(b"\0" * (stride - len(line)))
        pixels.extend(line)
    offset = 14 + 40
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(os.path.join(HERE, name + ".bmp"), "wb") as f:
        f.write(header + info + pixels)


def main():
    write_bmp("metrocheckon", metro_check(True))
    write_bmp("metrocheckoff", metro_check(False))
    write_bmp("metroradioon", metro_radio(True))
    write_bmp("metroradiooff", metro_radio(False))
    write_bmp("vurarup", arrow(True, True))
    write_bmp("vurarupd", arrow(True, False))
    write_bmp("vurardown", arrow(False, True))
    write_bmp("vurardownd", arrow(False, False))
    write_bmp("vurhi", highlight(True))
    write_bmp("vurhid", highlight(False))
    write_bmp("vurclose", close("normal"))
    write_bmp("vurcloseh", close("hot"))
    write_bmp("vurclosed", close("down"))


if __name__ == "__main__":
    main()
