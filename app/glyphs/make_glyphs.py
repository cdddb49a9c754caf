#!/usr/bin/env python3
"""Draws the tool buttons' glyphs: 28 x 28, 24-bit BMP files whose
bottom-left pixel (magenta) is the transparent colour. Run it in this
folder; the files are committed and embedded as BITMAP resources."""
import math
import struct

N = 28
KEY = (255, 0, 255)


def new():
    return [[KEY] * N for _ in range(N)]


def put(img, x, y, c):
    if 0 <= x < N and 0 <= y < N:
        img[y][x] = c


def fill(img, inside, colour, outline=None):
    """Fills the pixels whose centre is inside; with an outline colour, the
    filled pixels that touch an outside pixel take it."""
    mask = [[inside(x + 0.5, y + 0.5) for x in range(N)] for y in range(N)]
    for y in range(N):
        for x in range(N):
            if not mask[y][x]:
                continue
            edge = False
            if outline:
                for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                    xx, yy = x + dx, y + dy
                    if not (0 <= xx < N and 0 <= yy < N) or not mask[yy][xx]:
                        edge = True
            put(img, x, y, outline if edge else colour)


def poly(pts):
    def inside(x, y):
        c = False
        j = len(pts) - 1
        for i in range(len(pts)):
            xi, yi = pts[i]
            xj, yj = pts[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                c = not c
            j = i
        return c
    return inside


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r0, r1, gap_from=None, gap_to=None):
    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        if not (r0 <= d <= r1):
            return False
        if gap_from is None:
            return True
        a = math.degrees(math.atan2(x - cx, cy - y)) % 360  # 0 at the top, clockwise
        return not (gap_from <= a <= gap_to or gap_from <= a + 360 <= gap_to)
    return inside


def line(x0, y0, x1, y1, w):
    def inside(x, y):
        dx, dy = x1 - x0, y1 - y0
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
        return math.hypot(x - (x0 + t * dx), y - (y0 + t * dy)) <= w / 2
    return inside


def union(*fs):
    return lambda x, y: any(f(x, y) for f in fs)


DARK = (40, 40, 40)
GREEN, DGREEN = (60, 170, 60), (20, 100, 20)
RED, DRED = (210, 50, 40), (130, 20, 10)
BLUE, DBLUE = (50, 110, 210), (20, 50, 130)
YELLOW, DYELLOW = (245, 200, 70), (150, 110, 20)
WHITE = (250, 250, 250)


def start():
    img = new()
    fill(img, poly([(9, 3), (19, 3), (19, 13), (25, 13), (14, 25), (3, 13), (9, 13)]), GREEN, DGREEN)
    return img


def stop():
    img = new()
    fill(img, rect(5, 5, 23, 23), RED, DRED)
    return img


def remove():
    img = new()
    fill(img, union(line(6, 6, 22, 22, 5), line(22, 6, 6, 22, 5)), RED, DRED)
    return img


def play():
    img = new()
    fill(img, disc(14, 14, 12), BLUE, DBLUE)
    fill(img, poly([(10, 7), (21, 14), (10, 21)]), WHITE)
    return img


def browse():
    img = new()
    fill(img, poly([(2, 6), (11, 6), (13, 9), (25, 9), (25, 23), (2, 23)]), YELLOW, DYELLOW)
    fill(img, poly([(6, 12), (27, 12), (24, 23), (2, 23)]), (250, 220, 110), DYELLOW)
    return img


def home():
    img = new()
    fill(img, rect(6, 13, 22, 25), (230, 220, 200), DARK)
    fill(img, poly([(14, 2), (27, 14), (1, 14)]), RED, DRED)
    fill(img, rect(12, 17, 16, 25), (120, 80, 40), DARK)
    return img


def update():
    img = new()
    fill(img, ring(14, 14, 6, 10.5, 20, 70), GREEN, DGREEN)
    fill(img, poly([(16, 0), (25, 5), (16, 11)]), GREEN, DGREEN)
    return img


def support():
    img = new()
    fill(img, rect(2, 6, 26, 22), WHITE, DARK)
    fill(img, union(line(3, 7, 14, 15, 1.5), line(25, 7, 14, 15, 1.5)), DARK)
    return img


QUESTION = ["01110",
            "10001",
            "00001",
            "00010",
            "00100",
            "00100",
            "00000",
            "00100"]


def help_():
    img = new()
    fill(img, disc(14, 14, 12.5), BLUE, DBLUE)
    for r, row in enumerate(QUESTION):
        for c, bit in enumerate(row):
            if bit == "1":
                for dy in range(2):
                    for dx in range(2):
                        put(img, 9 + c * 2 + dx, 6 + r * 2 + dy, WHITE)
    return img


def exit_():
    img = new()
    fill(img, disc(14, 14, 12.5), RED, DRED)
    fill(img, ring(14, 15, 5, 7.5, 320, 400), WHITE)
    fill(img, rect(13, 5, 15, 15), WHITE)
    return img


def write_bmp(name, img):
    row = b"".join(bytes((b, g, r)) for (r, g, b) in [(0, 0, 0)])
    rows = []
    for y in range(N - 1, -1, -1):
        data = b"".join(bytes((b, g, r)) for (r, g, b) in img[y])
        data += b"\0" * ((4 - len(data) % 4) % 4)
        rows.append(data)
    pixels = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, N, N, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(name, "wb") as f:
        f.write(header + info + pixels)


for name, draw in (("start", start), ("stop", stop), ("remove", remove), ("play", play),
                   ("browse", browse), ("home", home), ("update", update), ("support", support),
                   ("help", help_), ("exit", exit_)):
    write_bmp(name + ".bmp", draw())
