// BMP reading (every depth, RLE4/RLE8, bit fields, both row orders) and
// writing (24 and 32 bits).
#include <algorithm>
#include <bit>
#include <cstdlib>

#include "platform/gfx/Codecs.h"
#include "platform/gfx/Codecs_Internal.h"

namespace {

constexpr uint32_t BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3, BI_ALPHABITFIELDS = 6;
const wchar_t* const kTruncated = L"Bitmap image is truncated";

struct TMask {
    uint32_t Mask = 0;
    int Shift = 0;
    uint32_t Max = 0;
    explicit TMask(uint32_t m = 0) : Mask(m)
    {
        if (m) {
            Shift = std::countr_zero(m);
            int bits = std::countr_one(m >> Shift);
            Max = bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
        }
    }
    uint32_t Get(uint32_t px, uint32_t absent) const
    {
        if (!Mask) return absent;
        uint32_t v = (px & Mask) >> Shift;
        if (v > Max) v = Max;
        return uint32_t((uint64_t(v) * 255 + Max / 2) / Max);
    }
};

// Decodes a DIB whose info header starts at hdr; pixOff is where the pixel
// rows begin (0: straight after the palette).
TImageData DecodeDibAt(const TByteReader& r, size_t hdr, size_t pixOff, bool andMask)
{
    uint32_t hdrSize = r.U32(hdr);
    int64_t w, h;
    int bpp;
    uint32_t compression = BI_RGB, clrUsed = 0;
    uint32_t masks[4] = {0, 0, 0, 0};
    bool haveMasks = false;
    size_t palEntry = 4;
    size_t after = hdr + hdrSize;
    if (hdrSize == 12) {
        w = r.U16(hdr + 4);
        h = r.U16(hdr + 6);
        bpp = r.U16(hdr + 10);
        palEntry = 3;
    } else if (hdrSize >= 16 && hdrSize <= 1024) {
        r.Need(hdr, hdrSize);
        w = r.I32(hdr + 4);
        h = r.I32(hdr + 8);
        bpp = r.U16(hdr + 14);
        if (hdrSize >= 20) compression = r.U32(hdr + 16);
        if (hdrSize >= 36) clrUsed = r.U32(hdr + 32);
        if (compression == BI_BITFIELDS || compression == BI_ALPHABITFIELDS) {
            if (hdrSize >= 52) {
                for (int i = 0; i < 3; ++i) masks[i] = r.U32(hdr + 40 + 4 * size_t(i));
                if (hdrSize >= 56) masks[3] = r.U32(hdr + 52);
            } else {
                int n = compression == BI_ALPHABITFIELDS ? 4 : 3;
                for (int i = 0; i < n; ++i) masks[i] = r.U32(after + 4 * size_t(i));
                after += 4 * size_t(n);
            }
            haveMasks = true;
        }
    } else {
        throw EInvalidGraphic(L"Bitmap image has an unknown header");
    }

    bool topDown = h < 0;
    if (topDown) h = -h;
    if (andMask) h /= 2;
    CheckImageSize(w, h);

    bool ok = false;
    switch (compression) {
    case BI_RGB: ok = bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32; break;
    case BI_RLE8: ok = bpp == 8; break;
    case BI_RLE4: ok = bpp == 4; break;
    case BI_BITFIELDS:
    case BI_ALPHABITFIELDS: ok = bpp == 16 || bpp == 32; break;
    }
    if (!ok) throw EInvalidGraphic(L"Bitmap image has an unsupported format");

    std::vector<uint32_t> pal;
    if (bpp <= 8) {
        uint32_t count = 1u << bpp;
        if (clrUsed != 0 && clrUsed < count) count = clrUsed;
        r.Need(after, size_t(count) * palEntry);
        for (uint32_t i = 0; i < count; ++i) {
            size_t o = after + size_t(i) * palEntry;
            pal.push_back(0xFF000000u | (uint32_t(r.U8(o + 2)) << 16) | (uint32_t(r.U8(o + 1)) << 8) |
                          r.U8(o));
        }
        after += size_t(count) * palEntry;
    } else if (clrUsed != 0 && clrUsed <= 256 && palEntry == 4 && r.Has(after, size_t(clrUsed) * 4)) {
        after += size_t(clrUsed) * 4;  // an optional palette before true-colour rows
    }
    if (pixOff == 0 || pixOff >= r.Size()) pixOff = after;

    auto colour = [&](uint32_t idx) { return idx < pal.size() ? pal[idx] : 0xFF000000u; };

    TImageData img(int(w), int(h), pal.empty() ? 0xFF000000u : pal[0]);
    img.BitsPerPixel = bpp;
    const int W = int(w), H = int(h);
    auto rowY = [&](int64_t row) { return topDown ? int(row) : H - 1 - int(row); };
    const size_t stride = size_t((int64_t(W) * bpp + 31) / 32) * 4;
    size_t end = pixOff;

    if (compression == BI_RLE8 || compression == BI_RLE4) {
        const bool four = compression == BI_RLE4;
        size_t p = pixOff;
        int64_t x = 0, row = 0;
        auto put = [&](uint32_t idx) {
            if (x < W && row < H) img.Pixel(int(x), rowY(row)) = colour(idx);
            ++x;
        };
        bool done = false;
        while (!done && row < H) {
            uint8_t n = r.U8(p), c = r.U8(p + 1);
            p += 2;
            if (n > 0) {
                for (int i = 0; i < n; ++i) put(four ? ((i & 1) ? (c & 0x0F) : (c >> 4)) : c);
            } else if (c == 0) {
                x = 0;
                ++row;
            } else if (c == 1) {
                done = true;
            } else if (c == 2) {
                x += r.U8(p);
                row += r.U8(p + 1);
                p += 2;
            } else {
                size_t bytes = four ? (size_t(c) + 1) / 2 : c;
                r.Need(p, bytes);
                for (int i = 0; i < c; ++i) {
                    uint8_t b = r.U8(p + (four ? size_t(i / 2) : size_t(i)));
                    put(four ? ((i & 1) ? (b & 0x0F) : (b >> 4)) : b);
                }
                p += bytes + (bytes & 1);
            }
        }
        end = p;
    } else {
        r.Need(pixOff, stride * size_t(H));
        TMask mr, mg, mb, ma;
        if (bpp == 16) {
            if (haveMasks) { mr = TMask(masks[0]); mg = TMask(masks[1]); mb = TMask(masks[2]); ma = TMask(masks[3]); }
            else { mr = TMask(0x7C00); mg = TMask(0x03E0); mb = TMask(0x001F); }
        } else if (bpp == 32) {
            if (haveMasks) { mr = TMask(masks[0]); mg = TMask(masks[1]); mb = TMask(masks[2]); ma = TMask(masks[3]); }
            else { mr = TMask(0xFF0000); mg = TMask(0xFF00); mb = TMask(0xFF); ma = TMask(0xFF000000u); }
        }
        const uint8_t* base = r.Data() + pixOff;
        bool anyAlpha = false;
        for (int row = 0; row < H; ++row) {
            const uint8_t* s = base + stride * size_t(row);
            uint32_t* d = &img.Pixels[size_t(rowY(row)) * size_t(W)];
            for (int x = 0; x < W; ++x) {
                switch (bpp) {
                case 1: d[x] = colour((s[x >> 3] >> (7 - (x & 7))) & 1); break;
                case 4: d[x] = colour((x & 1) ? (s[x >> 1] & 0x0F) : (s[x >> 1] >> 4)); break;
                case 8: d[x] = colour(s[x]); break;
                case 24: d[x] = 0xFF000000u | (uint32_t(s[3 * x + 2]) << 16) | (uint32_t(s[3 * x + 1]) << 8) | s[3 * x]; break;
                case 16:
                case 32: {
                    uint32_t px = bpp == 16 ? uint32_t(s[2 * x] | (s[2 * x + 1] << 8))
                                            : uint32_t(s[4 * x]) | (uint32_t(s[4 * x + 1]) << 8) |
                                                  (uint32_t(s[4 * x + 2]) << 16) | (uint32_t(s[4 * x + 3]) << 24);
                    uint32_t a = ma.Get(px, 255);
                    if (ma.Mask && (px & ma.Mask)) anyAlpha = true;
                    d[x] = (a << 24) | (mr.Get(px, 0) << 16) | (mg.Get(px, 0) << 8) | mb.Get(px, 0);
                    break;
                }
                }
            }
        }
        end = pixOff + stride * size_t(H);
        if (ma.Mask) {
            // An alpha channel that is zero everywhere is an unused byte, as
            // most writers of 32-bit bitmaps leave it: the image is opaque.
            if (!anyAlpha) {
                for (auto& px : img.Pixels) px |= 0xFF000000u;
            } else {
                img.HasAlpha = std::any_of(img.Pixels.begin(), img.Pixels.end(),
                                           [](uint32_t px) { return (px >> 24) != 0xFF; });
            }
        }
    }

    if (andMask) {
        const size_t mstride = size_t((W + 31) / 32) * 4;
        r.Need(end, mstride * size_t(H));
        if (!img.HasAlpha) {
            for (int row = 0; row < H; ++row) {
                const uint8_t* s = r.Data() + end + mstride * size_t(row);
                uint32_t* d = &img.Pixels[size_t(rowY(row)) * size_t(W)];
                for (int x = 0; x < W; ++x)
                    if ((s[x >> 3] >> (7 - (x & 7))) & 1) {
                        d[x] = 0;
                        img.HasAlpha = true;
                    }
            }
        }
    }
    return img;
}

}  // namespace

TImageData DecodeDib(const uint8_t* data, size_t size, bool andMask)
{
    TByteReader r(data, size, kTruncated);
    return DecodeDibAt(r, 0, 0, andMask);
}

TImageData DecodeBmp(const uint8_t* data, size_t size)
{
    TByteReader r(data, size, kTruncated);
    if (size < 2 || data[0] != 'B' || data[1] != 'M') throw EInvalidGraphic(L"Bitmap image is not valid");
    uint32_t offBits = r.U32(10);
    return DecodeDibAt(r, 14, offBits, false);
}

TBytes EncodeBmp(const TImageData& img, int bitsPerPixel)
{
    if (img.Empty()) throw EInvalidGraphic(L"Cannot save an empty image");
    const int bpp = bitsPerPixel == 32 ? 32 : 24;
    const size_t stride = size_t((int64_t(img.Width) * bpp + 31) / 32) * 4;
    const size_t imageSize = stride * size_t(img.Height);
    TBytes out(54 + imageSize, 0);
    uint8_t* p = out.data();
    p[0] = 'B'; p[1] = 'M';
    PutU32(p + 2, uint32_t(out.size()));
    PutU32(p + 10, 54);
    PutU32(p + 14, 40);
    PutU32(p + 18, uint32_t(img.Width));
    PutU32(p + 22, uint32_t(img.Height));
    PutU16(p + 26, 1);
    PutU16(p + 28, uint32_t(bpp));
    PutU32(p + 34, uint32_t(imageSize));
    PutU32(p + 38, 3780);  // 96 dpi in pixels per metre
    PutU32(p + 42, 3780);
    for (int y = 0; y < img.Height; ++y) {
        uint8_t* d = p + 54 + stride * size_t(img.Height - 1 - y);
        const uint32_t* s = &img.Pixels[size_t(y) * size_t(img.Width)];
        for (int x = 0; x < img.Width; ++x) {
            uint32_t px = s[x];
            *d++ = uint8_t(px);
            *d++ = uint8_t(px >> 8);
            *d++ = uint8_t(px >> 16);
            if (bpp == 32) *d++ = uint8_t(px >> 24);
        }
    }
    return out;
}
