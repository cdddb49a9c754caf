#!/usr/bin/env python3
"""Draws the sixteen check-box and radio-button look bitmaps of the markup
buttons as palette BMP files next to this script.

The plain look ("htmbchk01".."04", "htmbrad01".."04") has 16 colours; the
system-like look ("htmbchk05".."08", "htmbrad05".."08") has 256. Each
bitmap's bottom-left pixel is the key colour that drawing makes transparent.

    python3 make_looks.py
"""
import math
import os
import struct

KEY = (255, 0, 255)
HERE = os.path.dirname(os.path.abspath(__file__))


def blank(w, h):
    return [[KEY for _ in range(w)] for _ in range(h)]


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def box(img, x0, y0, size, border, fill_top, fill_bottom, rounded):
    for y in range(size):
        for x in range(size):
            edge = x in (0, size - 1) or y in (0, size - 1)
            corner = rounded and x in (0, size - 1) and y in (0, size - 1)
            if corner:
                continue
            if edge:
                img[y0 + y][x0 + x] = border
            else:
                img[y0 + y][x0 + x] = mix(fill_top, fill_bottom, (y - 1) / max(1, size - 3))


def check(img, x0, y0, size, colour):
    # A tick: down from the left third, then up to the right, two pixels thick.
    s = size
    pts = []
    for i in range(s // 5 + 1):
        pts.append((s // 4 + i, s // 2 - 1 + i))
    lx, ly = pts[-1]
    for i in range(1, s - 3 - lx):
        pts.append((lx + i, ly - i))
    for (x, y) in pts:
        for dy in ((0, 1, 2) if s >= 16 else (0, 1)):
            yy = y + dy
            if 0 < x < s - 1 and 0 < yy < s - 1:
                img[y0 + yy][x0 + x] = colour


def circle(img, cx, cy, r, border, fill_top, fill_bottom, dot, dot_r):
    h = len(img)
    w = len(img[0])
    for y in range(h):
        for x in range(w):
            d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
            if d <= r - 1:
                t = (y + 0.5 - (cy - r)) / (2 * r)
                img[y][x] = mix(fill_top, fill_bottom, max(0.0, min(1.0, t)))
            elif d <= r:
                img[y][x] = border
            if dot and d <= dot_r:
                img[y][x] = dot


def write_bmp(name, img, bits):
    h = len(img)
    w = len(img[0])
    colours = []
    for row in img:
        for c in row:
            if c not in colours:
                colours.append(c)
    limit = 1 << bits
    assert len(colours) <= limit, (name, len(colours))
    palette = colours + [(0, 0, 0)] * (limit - len(colours))
    index = {c: i for i, c in enumerate(colours)}
    stride = ((w * bits + 31) // 32) * 4
    pixels = bytearray()
    for row in reversed(img):
        line = bytearray()
        if bits == 8:
            line.extend(index[c] for c in row)
        else:
            for x in range(0, w, 2):
                hi = index[row[x]]
                lo = index[row[x + 1]] if x + 1 < w else 0
                line.append((hi << 4) | lo)
        line.extend(b"\0" * (stride - len(line)))
        pixels.extend(line)
    pal = bytearray()
    for (r, g, b) in palette:
        pal.extend((b, g, r, 0))
    offset = 14 + 40 + len(pal)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, bits, 0, len(pixels), 2835, 2835, limit, 0)
    with open(os.path.join(HERE, name + ".bmp"), "wb") as f:
        f.write(header + info + pal + pixels)


def plain_check(checked, enabled):
    img = blank(20, 20)
    border = (40, 80, 140) if enabled else (150, 150, 150)
    fill = (255, 255, 255) if enabled else (236, 236, 236)
    box(img, 2, 2, 16, border, fill, fill, True)
    if checked:
        check(img, 2, 2, 16, (20, 60, 150) if enabled else (150, 150, 150))
    return img


def system_check(checked, enabled):
    img = blank(16, 16)
    if enabled:
        box(img, 1, 1, 13, (28, 81, 128), (220, 220, 215), (255, 255, 255), False)
        mark = (33, 161, 33)
    else:
        box(img, 1, 1, 13, (202, 200, 187), (255, 255, 255), (255, 255, 255), False)
        mark = (202, 200, 187)
    if checked:
        check(img, 1, 1, 13, mark)
    return img


def plain_radio(checked, enabled):
    img = blank(16, 16)
    border = (40, 80, 140) if enabled else (150, 150, 150)
    fill = (255, 255, 255) if enabled else (236, 236, 236)
    dot = ((20, 60, 150) if enabled else (150, 150, 150)) if checked else None
    circle(img, 8, 8, 6.5, border, fill, fill, dot, 2.6)
    return img


def system_radio(checked, enabled):
    img = blank(16, 16)
    if enabled:
        border, top, bottom, dot = (28, 81, 128), (220, 220, 215), (255, 255, 255), (33, 161, 33)
    else:
        border, top, bottom, dot = (202, 200, 187), (255, 255, 255), (255, 255, 255), (202, 200, 187)
    circle(img, 7.5, 7.5, 6.5, border, top, bottom, dot if checked else None, 2.8)
    return img


def main():
    states = [(True, True), (False, True), (True, False), (False, False)]
    for i, (checked, enabled) in enumerate(states):
        write_bmp("htmbchk%02d" % (i + 1), plain_check(checked, enabled), 4)
        write_bmp("htmbchk%02d" % (i + 5), system_check(checked, enabled), 8)
        write_bmp("htmbrad%02d" % (i + 1), plain_radio(checked, enabled), 4)
        write_bmp("htmbrad%02d" % (i + 5), system_radio(checked, enabled), 8)


if __name__ == "__main__":
    main()
