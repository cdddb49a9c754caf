// Parts shared by every codec: size checks, format recognition and the
// format-independent decoder.
#include "platform/gfx/Codecs.h"

#include <cstring>

void CheckImageSize(int64_t w, int64_t h)
{
    if (w <= 0 || h <= 0) throw EInvalidGraphic(L"Image has no pixels");
    if (w > kMaxImageDimension || h > kMaxImageDimension || w * h > kMaxImagePixels)
        throw EInvalidGraphic(L"Image is too large");
}

TImageData::TImageData(int w, int h, uint32_t fill) : Width(w), Height(h)
{
    CheckImageSize(w, h);
    Pixels.assign(size_t(w) * size_t(h), fill);
}

TImageFormat SniffImageFormat(const uint8_t* d, size_t n)
{
    auto starts = [&](const char* sig, size_t len, size_t off = 0) {
        return n >= off + len && std::memcmp(d + off, sig, len) == 0;
    };
    if (starts("BM", 2)) return TImageFormat::Bmp;
    if (starts("\x89PNG\r\n\x1A\n", 8)) return TImageFormat::Png;
    if (starts("\xFF\xD8\xFF", 3)) return TImageFormat::Jpeg;
    if (starts("GIF8", 4)) return TImageFormat::Gif;
    if (starts("II*\0", 4) || starts("MM\0*", 4)) return TImageFormat::Tiff;
    if (starts("\xD7\xCD\xC6\x9A", 4)) return TImageFormat::Wmf;
    if (starts("\x01\0\0\0", 4) && starts(" EMF", 4, 40)) return TImageFormat::Emf;
    if ((starts("\x01\0\x09\0", 4) || starts("\x02\0\x09\0", 4))) return TImageFormat::Wmf;
    if (n >= 6 && d[0] == 0 && d[1] == 0 && d[3] == 0 && (d[4] | d[5]) != 0) {
        if (d[2] == 1) return TImageFormat::Ico;
        if (d[2] == 2) return TImageFormat::Cur;
    }
    return TImageFormat::Unknown;
}

TImageData DecodeImage(const uint8_t* data, size_t size)
{
    switch (SniffImageFormat(data, size)) {
    case TImageFormat::Bmp: return DecodeBmp(data, size);
    case TImageFormat::Png: return DecodePng(data, size);
    case TImageFormat::Jpeg: return DecodeJpeg(data, size);
    case TImageFormat::Gif: {
        TGifData gif = DecodeGif(data, size);
        return GifComposite(gif, 0);
    }
    case TImageFormat::Ico:
    case TImageFormat::Cur: {
        TIconData ico = DecodeIco(data, size);
        return std::move(ico.Entries[size_t(ico.BestIndex())].Image);
    }
    case TImageFormat::Tiff:
    case TImageFormat::Emf:
    case TImageFormat::Wmf: throw EInvalidGraphic(L"Image format is not supported");
    case TImageFormat::Unknown: break;
    }
    throw EInvalidGraphic(L"Unknown image format");
}
