#!/usr/bin/env python3
"""Draws the string grid's cell glyphs as BMP files next to this script:
check boxes "VURCHK01".."08", radio buttons "VURRAD01".."08", leaf node
glyphs "VURLEAFOPEN"/"VURLEAFCLOSE" and the small node buttons
"XPNODEO"/"XPNODEC".

Sizes and depths: VURCHK01..04 20 x 20 in 16 colours, VURCHK05..08
16 x 16 in 24 bits, VURRAD01..04 16 x 16 in 16 colours, VURRAD05..08
16 x 16 in 256 colours, the leaves 16 x 16 in 16 colours, the node buttons
9 x 9 in 24 bits. The check and radio glyphs are drawn transparent by their
bottom-left pixel, the node glyphs by their top-left one: both corners hold
the key colour.

Order of each four: checked enabled, unchecked enabled, checked disabled,
unchecked disabled.

    python3 make_glyphs.py
"""
import math
import os
import struct

KEY = (255, 0, 255)
HERE = os.path.dirname(os.path.abspath(__file__))


def blank(w, h, c=KEY):
    return [[c for _ in range(w)] for _ in range(h)]


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def box(img, x0, y0, size, border, top, bottom, rounded):
    for y in range(size):
        for x in range(size):
            edge = x in (0, size - 1) or y in (0, size - 1)
            if rounded and x in (0, size - 1) and y in (0, size - 1):
                continue
            img[y0 + y][x0 + x] = border if edge else mix(top, bottom, (y - 1) / max(1, size - 3))


def tick(img, x0, y0, size, colour):
    # Down from the left third, then up to the right, two pixels thick.
    s = size
    pts = [(s // 4 + i, s // 2 - 1 + i) for i in range(s // 5 + 1)]
    lx, ly = pts[-1]
    pts += [(lx + i, ly - i) for i in range(1, s - 3 - lx)]
    for (x, y) in pts:
        for dy in (0, 1, 2) if s >= 16 else (0, 1):
            if 0 < x < s - 1 and 0 < y + dy < s - 1:
                img[y0 + y + dy][x0 + x] = colour


def disc(img, cx, cy, r, border, top, bottom, dot, dot_r):
    h, w = len(img), len(img[0])
    for y in range(h):
        for x in range(w):
            d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
            if d <= r - 1:
                img[y][x] = mix(top, bottom, max(0.0, min(1.0, (y + 0.5 - (cy - r)) / (2 * r))))
            elif d <= r:
                img[y][x] = border
            if dot and d <= dot_r:
                img[y][x] = dot


def write_bmp(name, img, bits):
    h, w = len(img), len(img[0])
    if bits == 24:
        stride = ((w * 24 + 31) // 32) * 4
        pixels = bytearray()
        for row in reversed(img):
            line = bytearray()
            for (r, g, b) in row:
                line.extend((b, g, r))
            line.extend(b"\0" * (stride - len(line)))
            pixels.extend(line)
        pal = b""
        used = 0
    else:
        colours = []
        for row in img:
            for c in row:
                if c not in colours:
                    colours.append(c)
        limit = 1 << bits
        assert len(colours) <= limit, (name, len(colours))
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
        for (r, g, b) in colours + [(0, 0, 0)] * (limit - len(colours)):
            pal.extend((b, g, r, 0))
        used = limit
    offset = 14 + 40 + len(pal)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, bits, 0, len(pixels), 2835, 2835, used, 0)
    with open(os.path.join(HERE, name.lower() + ".bmp"), "wb") as f:
        f.write(header + info + pal + pixels)


def quantize(img, levels):
    # Keeps a 16-colour picture within its palette: gradients in few steps.
    step = 255 / (levels - 1)
    return [[c if c == KEY else tuple(int(round(round(v / step) * step)) for v in c) for c in row] for row in img]


def flat_check(checked, enabled):
    img = blank(20, 20)
    border = (0, 0, 128) if enabled else (128, 128, 128)
    fill = (255, 255, 255) if enabled else (192, 192, 192)
    box(img, 2, 2, 16, border, fill, fill, True)
    if checked:
        tick(img, 2, 2, 16, (0, 0, 128) if enabled else (128, 128, 128))
    return img


def soft_check(checked, enabled):
    img = blank(16, 16)
    if enabled:
        box(img, 1, 1, 13, (33, 94, 160), (222, 226, 232), (255, 255, 255), False)
        mark = (28, 140, 60)
    else:
        box(img, 1, 1, 13, (190, 192, 196), (246, 246, 246), (246, 246, 246), False)
        mark = (176, 178, 182)
    if checked:
        tick(img, 1, 1, 13, mark)
    return img


def flat_radio(checked, enabled):
    img = blank(16, 16)
    border = (0, 0, 128) if enabled else (128, 128, 128)
    fill = (255, 255, 255) if enabled else (192, 192, 192)
    dot = ((0, 0, 128) if enabled else (128, 128, 128)) if checked else None
    disc(img, 8, 8, 6.5, border, fill, fill, dot, 2.6)
    return img


def soft_radio(checked, enabled):
    img = blank(16, 16)
    if enabled:
        border, top, bottom, dot = (33, 94, 160), (222, 226, 232), (255, 255, 255), (28, 140, 60)
    else:
        border, top, bottom, dot = (190, 192, 196), (246, 246, 246), (246, 246, 246), (176, 178, 182)
    disc(img, 7.5, 7.5, 6.5, border, top, bottom, dot if checked else None, 2.8)
    return img


def leaf(closed):
    # A leaf: a green oval with a vein; the closed one lies folded (narrow).
    img = blank(16, 16)
    green, dark, vein = (0, 128, 0), (0, 64, 0), (128, 255, 128)
    rx, ry = (3.0, 6.5) if closed else (5.5, 6.5)
    for y in range(16):
        for x in range(16):
            d = ((x + 0.5 - 8) / rx) ** 2 + ((y + 0.5 - 7.5) / ry) ** 2
            if d <= 0.7:
                img[y][x] = green
            elif d <= 1.0:
                img[y][x] = dark
    for y in range(2, 14):
        img[y][8] = vein
    img[14][8] = dark
    img[15][8] = dark
    return img


def xp_node(collapsed):
    img = blank(9, 9, (255, 255, 255))
    img[0][0] = KEY
    border = (120, 152, 181)
    for i in range(9):
        img[0][i] = img[8][i] = img[i][0] = img[i][8] = border
    img[0][0] = KEY
    for y in range(1, 8):
        for x in range(1, 8):
            img[y][x] = mix((255, 255, 255), (196, 212, 224), (x + y) / 14)
    for x in range(2, 7):
        img[4][x] = (0, 0, 0)
    if collapsed:
        for y in range(2, 7):
            img[y][4] = (0, 0, 0)
    return img


def main():
    states = [(True, True), (False, True), (True, False), (False, False)]
    for i, (checked, enabled) in enumerate(states):
        write_bmp("VURCHK%02d" % (i + 1), flat_check(checked, enabled), 4)
        write_bmp("VURCHK%02d" % (i + 5), soft_check(checked, enabled), 24)
        write_bmp("VURRAD%02d" % (i + 1), flat_radio(checked, enabled), 4)
        write_bmp("VURRAD%02d" % (i + 5), soft_radio(checked, enabled), 8)
    write_bmp("VURLEAFOPEN", leaf(False), 4)
    write_bmp("VURLEAFCLOSE", leaf(True), 4)
    write_bmp("XPNODEO", xp_node(False), 24)
    write_bmp("XPNODEC", xp_node(True), 24)


if __name__ == "__main__":
    main()
