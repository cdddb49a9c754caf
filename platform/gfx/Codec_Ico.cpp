// Icons and cursors: a directory of images, each a DIB with an AND mask or
// a PNG file.
#include <cstdlib>
#include <cstring>

#include "platform/gfx/Codecs.h"
#include "platform/gfx/Codecs_Internal.h"

int TIconData::BestIndex(int w, int h) const
{
    int best = -1;
    int64_t bestScore = 0;
    for (size_t i = 0; i < Entries.size(); ++i) {
        const TIconEntry& e = Entries[i];
        int64_t score;
        if (w == 0 && h == 0)
            score = -(int64_t(e.Image.Width) * e.Image.Height) * 64;
        else
            score = int64_t(std::abs(e.Image.Width - w) + std::abs(e.Image.Height - h)) * 64;
        score -= e.BitCount;
        if (best < 0 || score < bestScore) {
            best = int(i);
            bestScore = score;
        }
    }
    return best;
}

TIconData DecodeIco(const uint8_t* data, size_t size)
{
    TByteReader r(data, size, L"Icon image is truncated");
    uint16_t type = r.U16(2), count = r.U16(4);
    if (r.U16(0) != 0 || (type != 1 && type != 2) || count == 0) throw EInvalidGraphic(L"Icon image is not valid");
    r.Need(6, size_t(count) * 16);
    TIconData ico;
    ico.IsCursor = type == 2;
    for (size_t i = 0; i < count; ++i) {
        const size_t e = 6 + 16 * i;
        uint32_t bytes = r.U32(e + 8), offset = r.U32(e + 12);
        r.Need(offset, bytes);
        const uint8_t* img = data + offset;
        TIconEntry entry;
        if (bytes >= 8 && std::memcmp(img, "\x89PNG\r\n\x1A\n", 8) == 0) {
            entry.Image = DecodePng(img, bytes);
            entry.IsPng = true;
            entry.BitCount = entry.Image.BitsPerPixel;
        } else {
            entry.Image = DecodeDib(img, bytes, true);
            entry.BitCount = entry.Image.BitsPerPixel;
        }
        if (ico.IsCursor) {
            entry.HotSpotX = r.U16(e + 4);
            entry.HotSpotY = r.U16(e + 6);
        }
        ico.Entries.push_back(std::move(entry));
    }
    return ico;
}

TBytes EncodeIco(const std::vector<TImageData>& images)
{
    if (images.empty() || images.size() > 0xFFFF) throw EInvalidGraphic(L"Cannot save an empty icon");
    std::vector<TBytes> blobs;
    for (const TImageData& img : images) {
        if (img.Empty()) throw EInvalidGraphic(L"Cannot save an empty image");
        if (img.Width >= 256 || img.Height >= 256) {
            TImageData copy = img;
            copy.HasAlpha = true;
            blobs.push_back(EncodePng(copy));
            continue;
        }
        const size_t w = size_t(img.Width), h = size_t(img.Height);
        const size_t mstride = (w + 31) / 32 * 4;
        TBytes b(40 + w * h * 4 + mstride * h, 0);
        PutU32(&b[0], 40);
        PutU32(&b[4], uint32_t(w));
        PutU32(&b[8], uint32_t(h * 2));
        PutU16(&b[12], 1);
        PutU16(&b[14], 32);
        PutU32(&b[20], uint32_t(w * h * 4 + mstride * h));
        for (size_t y = 0; y < h; ++y) {
            const size_t row = h - 1 - y;
            uint8_t* d = &b[40 + row * w * 4];
            uint8_t* m = &b[40 + w * h * 4 + row * mstride];
            for (size_t x = 0; x < w; ++x) {
                uint32_t px = img.Pixels[y * w + x];
                if (!img.HasAlpha) px |= 0xFF000000u;
                PutU32(d + 4 * x, px);
                if ((px >> 24) == 0) m[x >> 3] |= uint8_t(0x80 >> (x & 7));
            }
        }
        blobs.push_back(std::move(b));
    }
    size_t total = 6 + 16 * images.size();
    for (const auto& b : blobs) total += b.size();
    TBytes out(6 + 16 * images.size(), 0);
    out.reserve(total);
    PutU16(&out[2], 1);
    PutU16(&out[4], uint32_t(images.size()));
    size_t offset = out.size();
    for (size_t i = 0; i < images.size(); ++i) {
        uint8_t* e = &out[6 + 16 * i];
        e[0] = uint8_t(images[i].Width >= 256 ? 0 : images[i].Width);
        e[1] = uint8_t(images[i].Height >= 256 ? 0 : images[i].Height);
        PutU16(e + 4, 1);
        PutU16(e + 6, 32);
        PutU32(e + 8, uint32_t(blobs[i].size()));
        PutU32(e + 12, uint32_t(offset));
        offset += blobs[i].size();
    }
    for (const auto& b : blobs) out.insert(out.end(), b.begin(), b.end());
    return out;
}
