#!/usr/bin/env python3
"""Writes the small image fixtures of the codec tests (standard library only).

Every valid BMP shows the same W x H pattern: colour index (x + y) % n of a
palette of pure colours, so one expectation checks every depth. Run from
this folder; the outputs are committed.
"""
import struct
import zlib

W, H = 5, 3
PAL4 = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 255)]
PAL2 = [(0, 0, 0), (255, 255, 255)]


def idx(x, y, n):
    return (x + y) % n


def bmp_file(info, pal_bytes, pixels):
    off = 14 + len(info) + len(pal_bytes)
    size = off + len(pixels)
    return b'BM' + struct.pack('<IHHI', size, 0, 0, off) + info + pal_bytes + pixels


def info40(w, h, bpp, comp=0, clr=0, size_image=0):
    return struct.pack('<IiiHHIIiiII', 40, w, h, 1, bpp, comp, size_image, 3780, 3780, clr, 0)


def pal_bytes(pal, entry=4):
    out = b''
    for r, g, b in pal:
        out += bytes([b, g, r]) + (b'\0' if entry == 4 else b'')
    return out


def pad(row):
    return row + b'\0' * ((4 - len(row) % 4) % 4)


def rows(fn, top_down=False):
    ys = range(H) if top_down else range(H - 1, -1, -1)
    return b''.join(pad(fn(y)) for y in ys)


def packbits(vals, bpp):
    out, acc, nbits = b'', 0, 0
    for v in vals:
        acc = (acc << bpp) | v
        nbits += bpp
        if nbits == 8:
            out += bytes([acc]); acc = 0; nbits = 0
    if nbits:
        out += bytes([acc << (8 - nbits)])
    return out


def write(name, data):
    with open(name, 'wb') as f:
        f.write(data)


# ---- BMP ----
write('bmp1.bmp', bmp_file(info40(W, H, 1), pal_bytes(PAL2),
                           rows(lambda y: packbits([idx(x, y, 2) for x in range(W)], 1))))
write('bmp4.bmp', bmp_file(info40(W, H, 4, clr=4), pal_bytes(PAL4),
                           rows(lambda y: packbits([idx(x, y, 4) for x in range(W)], 4))))
write('bmp8.bmp', bmp_file(info40(W, H, 8, clr=4), pal_bytes(PAL4),
                           rows(lambda y: bytes(idx(x, y, 4) for x in range(W)))))
core = struct.pack('<IHHHH', 12, W, H, 1, 8)
write('bmp8_core.bmp', bmp_file(core, pal_bytes(PAL4 + [(0, 0, 0)] * 252, 3),
                                rows(lambda y: bytes(idx(x, y, 4) for x in range(W)))))


def rle8_row(y):
    vals = [idx(x, y, 4) for x in range(W)]
    # first two pixels as an encoded run of one each, the rest absolute
    out = bytes([1, vals[0], 1, vals[1]])
    rest = vals[2:]
    out += bytes([0, len(rest)]) + bytes(rest) + (b'\0' if len(rest) % 2 else b'')
    return out + b'\0\0'


rle8 = b''.join(rle8_row(y) for y in range(H - 1, -1, -1)) + b'\0\1'
write('bmp8_rle.bmp', bmp_file(info40(W, H, 8, comp=1, clr=4, size_image=len(rle8)), pal_bytes(PAL4), rle8))


def rle4_row(y):
    vals = [idx(x, y, 4) for x in range(W)]
    # a 2-pixel encoded run (alternating nibbles), then 3 absolute pixels
    out = bytes([2, (vals[0] << 4) | vals[1]])
    rest = vals[2:]
    out += bytes([0, len(rest)]) + packbits(rest, 4)
    nbytes = (len(rest) + 1) // 2
    out += b'\0' if nbytes % 2 else b''
    return out + b'\0\0'


rle4 = b''.join(rle4_row(y) for y in range(H - 1, -1, -1)) + b'\0\1'
write('bmp4_rle.bmp', bmp_file(info40(W, H, 4, comp=2, clr=4, size_image=len(rle4)), pal_bytes(PAL4), rle4))


def rgb(x, y):
    return PAL4[idx(x, y, 4)]


def px555(r, g, b):
    return struct.pack('<H', ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3))


def px565(r, g, b):
    return struct.pack('<H', ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3))


write('bmp16.bmp', bmp_file(info40(W, H, 16), b'', rows(lambda y: b''.join(px555(*rgb(x, y)) for x in range(W)))))
write('bmp16_565.bmp', bmp_file(info40(W, H, 16, comp=3), struct.pack('<III', 0xF800, 0x07E0, 0x001F),
                                rows(lambda y: b''.join(px565(*rgb(x, y)) for x in range(W)))))
write('bmp24.bmp', bmp_file(info40(W, H, 24), b'', rows(lambda y: b''.join(bytes(rgb(x, y)[::-1]) for x in range(W)))))
write('bmp24_topdown.bmp', bmp_file(info40(W, -H, 24), b'',
                                    rows(lambda y: b''.join(bytes(rgb(x, y)[::-1]) for x in range(W)), True)))
write('bmp32.bmp', bmp_file(info40(W, H, 32), b'',
                            rows(lambda y: b''.join(bytes(rgb(x, y)[::-1]) + b'\0' for x in range(W)))))
# V5 header with bit fields and alpha: alpha 0x80 on the left column.
v5 = struct.pack('<IiiHHIIiiII', 124, W, H, 1, 32, 3, 0, 3780, 3780, 0, 0)
v5 += struct.pack('<IIII', 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000)
v5 += b'BGRs' + b'\0' * (124 - len(v5) - 4)
write('bmp32_v5alpha.bmp', bmp_file(v5, b'', rows(
    lambda y: b''.join(bytes(rgb(x, y)[::-1]) + bytes([0x80 if x == 0 else 0xFF]) for x in range(W)))))

# ---- malformed BMP ----
write('bad_bmp_huge.bmp', bmp_file(info40(100000, 100000, 24), b'', b'\0' * 16))
write('bad_bmp_depth.bmp', bmp_file(info40(W, H, 7), b'', b'\0' * 64))
write('bad_bmp_header.bmp', b'BM' + struct.pack('<IHHI', 60, 0, 0, 26) + struct.pack('<I', 7) + b'\0' * 40)
# RLE with runs and deltas that leave the image: decoded, clipped, no overrun.
wild = bytes([255, 1, 0, 2, 250, 250, 0, 3, 1, 2, 3, 0]) + b'\0\0' * 3
write('bad_bmp_rle_overrun.bmp', bmp_file(info40(W, H, 8, comp=1, clr=4), pal_bytes(PAL4), wild))


# ---- PNG ----
def chunk(t, data):
    c = struct.pack('>I', len(data)) + t + data
    return c + struct.pack('>I', zlib.crc32(t + data) & 0xFFFFFFFF)


def png(w, h, ctype, depth, raw_rows, extra=b''):
    ihdr = struct.pack('>IIBBBBB', w, h, depth, ctype, 0, 0, 0)
    raw = b''.join(b'\0' + r for r in raw_rows)
    return b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', ihdr) + extra + chunk(b'IDAT', zlib.compress(raw)) + chunk(b'IEND', b'')


write('rgba.png', png(W, H, 6, 8, [b''.join(bytes(rgb(x, y)) + bytes([0x40 if x == 0 else 0xFF])
                                           for x in range(W)) for y in range(H)]))
write('palette_trns.png', png(W, H, 3, 8, [bytes(idx(x, y, 4) for x in range(W)) for y in range(H)],
                              chunk(b'PLTE', b''.join(bytes(c) for c in PAL4)) + chunk(b'tRNS', b'\0')))
write('grey.png', png(W, H, 0, 8, [bytes(40 * x + y for x in range(W)) for y in range(H)]))
write('grey_alpha.png', png(W, H, 4, 8, [b''.join(bytes([100, 50 * x]) for x in range(W)) for y in range(H)]))
write('rgb16.png', png(W, H, 2, 16, [b''.join(struct.pack('>HHH', *(c * 257 for c in rgb(x, y)))
                                               for x in range(W)) for y in range(H)]))
good = open('rgba.png', 'rb').read()
bad = bytearray(good)
bad[29] ^= 0xFF  # inside IHDR: its CRC no longer matches
write('bad_png_crc.png', bytes(bad))
write('bad_png_huge.png', b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', 60000, 60000, 8, 6, 0, 0, 0)) +
      chunk(b'IDAT', zlib.compress(b'\0' * 64)) + chunk(b'IEND', b''))


# ---- GIF ----
def lzw_uncompressed(indices, min_code):
    """LZW data that never grows the code size: a clear code before the
    table would need a wider code."""
    clear, eoi = 1 << min_code, (1 << min_code) + 1
    width = min_code + 1
    codes = [clear]
    room = (1 << width) - eoi - 2
    n = 0
    for v in indices:
        if n == room:
            codes.append(clear)
            n = 0
        codes.append(v)
        n += 1
    codes.append(eoi)
    out, acc, nbits = bytearray(), 0, 0
    for c in codes:
        acc |= c << nbits
        nbits += width
        while nbits >= 8:
            out.append(acc & 0xFF); acc >>= 8; nbits -= 8
    if nbits:
        out.append(acc)
    blocks = b''
    for i in range(0, len(out), 255):
        part = bytes(out[i:i + 255])
        blocks += bytes([len(part)]) + part
    return bytes([min_code]) + blocks + b'\0'


def gce(delay, disposal, trans=None):
    flags = (disposal << 2) | (1 if trans is not None else 0)
    return b'\x21\xF9\x04' + bytes([flags]) + struct.pack('<H', delay) + bytes([trans or 0]) + b'\0'


def image(left, top, w, h, pixels, local=None, interlace=False):
    flags = (0x40 if interlace else 0)
    pal = b''
    if local:
        flags |= 0x80 | 1  # 4 entries
        pal = b''.join(bytes(c) for c in (local + [(0, 0, 0)] * 4)[:4])
    rows_ = [pixels[y * w:(y + 1) * w] for y in range(h)]
    if interlace:
        order = list(range(0, h, 8)) + list(range(4, h, 8)) + list(range(2, h, 4)) + list(range(1, h, 2))
        rows_ = [rows_[y] for y in order]
    data = [v for r in rows_ for v in r]
    return b'\x2C' + struct.pack('<HHHHB', left, top, w, h, flags) + pal + lzw_uncompressed(data, 2)


gpal = b''.join(bytes(c) for c in PAL4)
loop = b'\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00'
screen = b'GIF89a' + struct.pack('<HHBBB', 4, 4, 0x81, 3, 0) + gpal
f1 = gce(10, 1) + image(0, 0, 4, 4, [idx(x, y, 4) for y in range(4) for x in range(4)])
# frame 2: 2x2 at (1,1), local palette (index 0 transparent, 1 = black),
# interlaced, cleared to transparent afterwards
f2 = gce(20, 2, trans=0) + image(1, 1, 2, 2, [1, 0, 0, 1], local=[(9, 9, 9), (0, 0, 0)], interlace=True)
f3 = gce(5, 0) + image(0, 0, 1, 1, [3])
write('anim.gif', screen + loop + f1 + f2 + f3 + b'\x3B')
# 8 rows interlaced, one colour per row, to check the pass order
rows8 = [y % 4 for y in range(8) for x in range(2)]
write('interlaced.gif', b'GIF89a' + struct.pack('<HHBBB', 2, 8, 0x81, 0, 0) + gpal +
      image(0, 0, 2, 8, rows8, interlace=True) + b'\x3B')
write('bad_gif_lzw.gif', screen + b'\x2C' + struct.pack('<HHHHB', 0, 0, 4, 4, 0) + b'\x0B\x05\xFF\xFF\xFF\xFF\xFF\x00\x3B')
write('gif_frame_outside.gif', b'GIF89a' + struct.pack('<HHBBB', 4, 4, 0x81, 0, 0) + gpal +
      image(60000, 60000, 2, 2, [1, 1, 1, 1]) + b'\x3B')


# ---- ICO / CUR ----
def dib_icon(w, h, bpp, colour_of, alpha_of=None, pal=None):
    """colour_of(x, y) -> palette index (bpp <= 8) or (r, g, b); alpha_of -> 0..255 (32-bit)
    or None; the AND mask marks pixels where transparent(x, y)."""
    info = struct.pack('<IiiHHIIiiII', 40, w, 2 * h, 1, bpp, 0, 0, 0, 0, 0, 0)
    palb = pal_bytes(pal) if pal else b''
    def crow(y):
        if bpp <= 8:
            return packbits([colour_of(x, y) for x in range(w)], bpp)
        if bpp == 24:
            return b''.join(bytes(colour_of(x, y)[::-1]) for x in range(w))
        return b''.join(bytes(colour_of(x, y)[::-1]) + bytes([alpha_of(x, y)]) for x in range(w))
    def mrow(y):
        return packbits([1 if (x == 0 and y == 0) else 0 for x in range(w)], 1)
    colour = b''.join(pad(crow(y)) for y in range(h - 1, -1, -1))
    mask = b''.join(pad(mrow(y)) for y in range(h - 1, -1, -1))
    return info + palb + colour + mask


def ico(entries, kind=1, hotspots=None):
    out = struct.pack('<HHH', 0, kind, len(entries))
    offset = 6 + 16 * len(entries)
    blobs = b''
    for i, (w, h, bpp, blob) in enumerate(entries):
        a, b = (hotspots[i] if hotspots else (1, bpp))
        out += struct.pack('<BBBBHHII', w % 256, h % 256, 0, 0, a, b, len(blob), offset)
        offset += len(blob)
        blobs += blob
    return out + blobs


sq = lambda n: (lambda x, y: (x + y) % n)
entries = [
    (16, 16, 1, dib_icon(16, 16, 1, sq(2), pal=PAL2)),
    (16, 16, 4, dib_icon(16, 16, 4, sq(4), pal=PAL4 + [(0, 0, 0)] * 12)),
    (24, 24, 24, dib_icon(24, 24, 24, lambda x, y: PAL4[(x + y) % 4])),
    (32, 32, 32, dib_icon(32, 32, 32, lambda x, y: PAL4[(x + y) % 4], lambda x, y: 0x80 if x == 1 else 0xFF)),
    (48, 48, 32, png(48, 48, 6, 8, [b''.join(bytes(PAL4[(x + y) % 4]) + b'\xFF' for x in range(48)) for y in range(48)])),
]
write('multi.ico', ico(entries))
write('arrow.cur', ico([(16, 16, 1, dib_icon(16, 16, 1, sq(2), pal=PAL2))], kind=2, hotspots=[(3, 5)]))
bad = bytearray(ico(entries[:1]))
struct.pack_into('<I', bad, 6 + 12, 0x7FFFFFF0)
write('bad_ico_offset.ico', bytes(bad))
write('bad_ico_count.ico', struct.pack('<HHH', 0, 1, 1000) + b'\0' * 32)
