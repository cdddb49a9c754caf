#!/usr/bin/env python3
"""Writes the picture fixtures of the foundation tests (standard library only).

quad16.png, quad16.jpg, quad16.ico: 16 x 16, quadrants red (top left), green
(top right), blue (bottom left) and white (bottom right).
corner.bmp: 8 x 8, 24 bits, magenta with a blue 4 x 4 square at (2, 2); the
bottom-left pixel (magenta) is the colour an automatic transparency picks.
anim3.gif: 8 x 8, three frames: red, green, blue (10/100 s each, looping).
quad16_cut.png, quad16_cut.jpg: the files cut short; random.bin: 256 bytes
of noise. Run from this folder; the outputs are committed.
"""
import random
import struct
import zlib

RED, GREEN, BLUE, WHITE, MAGENTA = (255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 255), (255, 0, 255)


def quad(x, y, n=16):
    h = n // 2
    if y < h:
        return RED if x < h else GREEN
    return BLUE if x < h else WHITE


# ---- PNG --------------------------------------------------------------------

def png_chunk(kind, data):
    return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF)


def png(w, h, pixel):
    raw = b''.join(b'\0' + b''.join(bytes(pixel(x, y)) for x in range(w)) for y in range(h))
    return (b'\x89PNG\r\n\x1a\n' + png_chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 2, 0, 0, 0)) +
            png_chunk(b'IDAT', zlib.compress(raw, 9)) + png_chunk(b'IEND', b''))


# ---- BMP --------------------------------------------------------------------

def bmp24(w, h, pixel):
    rows = b''
    for y in range(h - 1, -1, -1):
        row = b''.join(bytes(reversed(pixel(x, y))) for x in range(w))
        rows += row + b'\0' * ((4 - len(row) % 4) % 4)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(rows), 3780, 3780, 0, 0)
    off = 14 + len(info)
    return b'BM' + struct.pack('<IHHI', off + len(rows), 0, 0, off) + info + rows


def corner(x, y):
    return BLUE if 2 <= x < 6 and 2 <= y < 6 else MAGENTA


# ---- ICO (one 32-bit entry) ---------------------------------------------------

def ico32(n, pixel):
    rows = b''.join(b''.join(bytes(reversed(pixel(x, y))) + b'\xff' for x in range(n)) for y in range(n - 1, -1, -1))
    mask = b'\0' * (((n + 31) // 32) * 4 * n)
    info = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 32, 0, len(rows) + len(mask), 0, 0, 0, 0)
    image = info + rows + mask
    return struct.pack('<HHH', 0, 1, 1) + struct.pack('<BBBBHHII', n, n, 0, 0, 1, 32, len(image), 22) + image


# ---- GIF (three frames) -------------------------------------------------------

def lzw_literals(indices, min_size=2):
    """Codes of a fixed width: a clear code before every two literals keeps
    the decoder's table from growing a bit."""
    clear, eoi, width = 1 << min_size, (1 << min_size) + 1, min_size + 1
    codes = []
    for i in range(0, len(indices), 2):
        codes.append(clear)
        codes.extend(indices[i:i + 2])
    codes.append(eoi)
    acc = nbits = 0
    out = bytearray()
    for c in codes:
        acc |= c << nbits
        nbits += width
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8
    if nbits:
        out.append(acc & 0xFF)
    blocks = b''
    for i in range(0, len(out), 255):
        part = bytes(out[i:i + 255])
        blocks += bytes([len(part)]) + part
    return bytes([min_size]) + blocks + b'\0'


def gif3(n):
    palette = [RED, GREEN, BLUE, WHITE]
    out = b'GIF89a' + struct.pack('<HHBBB', n, n, 0x80 | 0x01, 3, 0) + b''.join(bytes(c) for c in palette)
    out += b'\x21\xff\x0bNETSCAPE2.0\x03\x01\x00\x00\x00'
    for colour in range(3):
        out += b'\x21\xf9\x04' + struct.pack('<BHBB', 0x04, 10, 0, 0)
        out += b'\x2c' + struct.pack('<HHHHB', 0, 0, n, n, 0)
        out += lzw_literals([colour] * (n * n))
    return out + b'\x3b'


# ---- JPEG (baseline, 4:4:4, every 8 x 8 block one colour) ----------------------

DC_BITS = [0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0]
DC_VALS = list(range(12))


def canonical(bits, vals):
    codes, code, k = {}, 0, 0
    for length in range(1, 17):
        for _ in range(bits[length - 1]):
            codes[vals[k]] = (code, length)
            code += 1
            k += 1
        code <<= 1
    return codes


class Bits:
    def __init__(self):
        self.out, self.acc, self.n = bytearray(), 0, 0

    def put(self, value, length):
        for i in range(length - 1, -1, -1):
            self.acc = (self.acc << 1) | ((value >> i) & 1)
            self.n += 1
            if self.n == 8:
                self.out.append(self.acc)
                if self.acc == 0xFF:
                    self.out.append(0)
                self.acc = self.n = 0

    def flush(self):
        while self.n:
            self.put(1, 1)
        return bytes(self.out)


def ycc(rgb):
    r, g, b = rgb
    y = 0.299 * r + 0.587 * g + 0.114 * b
    cb = -0.168736 * r - 0.331264 * g + 0.5 * b + 128
    cr = 0.5 * r - 0.418688 * g - 0.081312 * b + 128
    return [min(255, max(0, round(v))) for v in (y, cb, cr)]


def jpeg(n, pixel):
    def seg(marker, data):
        return b'\xff' + bytes([marker]) + struct.pack('>H', len(data) + 2) + data

    out = b'\xff\xd8'
    out += seg(0xE0, b'JFIF\0\x01\x01\0\0\x01\0\x01\0\0')
    out += seg(0xDB, b'\0' + b'\x01' * 64)   # every coefficient kept exactly
    out += seg(0xC0, struct.pack('>BHHB', 8, n, n, 3) + b''.join(bytes([i, 0x11, 0]) for i in (1, 2, 3)))
    out += seg(0xC4, b'\x00' + bytes(DC_BITS) + bytes(DC_VALS))
    out += seg(0xC4, b'\x10' + bytes([1] + [0] * 15) + b'\x00')   # AC: end of block only, code "0"
    out += seg(0xDA, bytes([3, 1, 0, 2, 0, 3, 0, 0, 63, 0]))
    dc = canonical(DC_BITS, DC_VALS)
    bits, prev = Bits(), [0, 0, 0]
    for by in range(0, n, 8):
        for bx in range(0, n, 8):
            comps = ycc(pixel(bx, by))
            for c in range(3):
                value = 8 * (comps[c] - 128)
                diff = value - prev[c]
                prev[c] = value
                size = abs(diff).bit_length()
                code, length = dc[size]
                bits.put(code, length)
                if size:
                    bits.put(diff if diff > 0 else diff + (1 << size) - 1, size)
                bits.put(0, 1)   # end of block
    return out + bits.flush() + b'\xff\xd9'


def main():
    files = {
        'quad16.png': png(16, 16, quad),
        'quad16.jpg': jpeg(16, quad),
        'quad16.ico': ico32(16, quad),
        'corner.bmp': bmp24(8, 8, corner),
        'anim3.gif': gif3(8),
    }
    files['quad16_cut.png'] = files['quad16.png'][:60]
    files['quad16_cut.jpg'] = files['quad16.jpg'][:len(files['quad16.jpg']) // 2]
    noise = random.Random(15)
    files['random.bin'] = bytes(noise.randrange(256) for _ in range(256))
    for name, data in files.items():
        with open(name, 'wb') as f:
            f.write(data)


if __name__ == '__main__':
    main()
