// GIF through giflib's record interface, so frame sizes, the total pixel
// budget and interlacing stay under our control.
#include <gif_lib.h>

#include <algorithm>
#include <cstring>

#include "platform/gfx/Codecs.h"

namespace {

struct TMemSource {
    const uint8_t* Data;
    size_t Size;
    size_t Pos;
};

int GifRead(GifFileType* g, GifByteType* buf, int len)
{
    auto* s = static_cast<TMemSource*>(g->UserData);
    if (len <= 0) return 0;
    size_t n = std::min(size_t(len), s->Size - s->Pos);
    std::memcpy(buf, s->Data + s->Pos, n);
    s->Pos += n;
    return int(n);
}

[[noreturn]] void GifFail(int code)
{
    const char* why = GifErrorString(code);
    throw EInvalidGraphic(UTF8ToString(std::string("GIF image is not valid: ") + (why ? why : "unknown error")));
}

struct TGifCloser {
    GifFileType* G;
    ~TGifCloser()
    {
        int err = 0;
        DGifCloseFile(G, &err);
    }
};

void Blit(TImageData& canvas, const TGifFrame& f)
{
    for (int y = 0; y < f.Image.Height; ++y) {
        int cy = f.Top + y;
        if (cy < 0 || cy >= canvas.Height) continue;
        for (int x = 0; x < f.Image.Width; ++x) {
            int cx = f.Left + x;
            if (cx < 0 || cx >= canvas.Width) continue;
            uint32_t px = f.Image.Pixel(x, y);
            if (px >> 24) canvas.Pixel(cx, cy) = px;
        }
    }
}

void ClearRect(TImageData& canvas, const TGifFrame& f)
{
    int x0 = std::max(0, f.Left), y0 = std::max(0, f.Top);
    int x1 = std::min(canvas.Width, f.Left + f.Image.Width), y1 = std::min(canvas.Height, f.Top + f.Image.Height);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) canvas.Pixel(x, y) = 0;
}

void MarkAlpha(TImageData& img)
{
    img.BitsPerPixel = 8;
    img.HasAlpha = std::any_of(img.Pixels.begin(), img.Pixels.end(), [](uint32_t p) { return (p >> 24) == 0; });
}

}  // namespace

TGifData DecodeGif(const uint8_t* data, size_t size)
{
    if (size < 6 || std::memcmp(data, "GIF8", 4) != 0) throw EInvalidGraphic(L"GIF image is not valid");
    TMemSource src{data, size, 0};
    int err = 0;
    GifFileType* g = DGifOpen(&src, GifRead, &err);
    if (!g) GifFail(err);
    TGifCloser closer{g};

    TGifData gif;
    gif.ScreenWidth = g->SWidth;
    gif.ScreenHeight = g->SHeight;
    if (g->SColorMap && g->SBackGroundColor >= 0 && g->SBackGroundColor < g->SColorMap->ColorCount) {
        const GifColorType& c = g->SColorMap->Colors[g->SBackGroundColor];
        gif.BackgroundColor = 0xFF000000u | (uint32_t(c.Red) << 16) | (uint32_t(c.Green) << 8) | c.Blue;
    }
    int delay = 0, disposal = gdNone, transIdx = -1;
    int64_t budget = kMaxImagePixels;
    std::vector<GifPixelType> line;

    for (bool done = false; !done;) {
        GifRecordType type;
        if (DGifGetRecordType(g, &type) == GIF_ERROR) {
            // A file that simply stops after a complete frame (no trailer)
            // is common and shows fine everywhere: keep what it has.
            if (!gif.Frames.empty() && src.Pos >= src.Size) break;
            GifFail(g->Error);
        }
        switch (type) {
        case IMAGE_DESC_RECORD_TYPE: {
            if (DGifGetImageDesc(g) == GIF_ERROR) GifFail(g->Error);
            const GifImageDesc& d = g->Image;
            CheckImageSize(d.Width, d.Height);
            budget -= int64_t(d.Width) * d.Height;
            if (budget < 0) throw EInvalidGraphic(L"Image is too large");
            const ColorMapObject* cmap = d.ColorMap ? d.ColorMap : g->SColorMap;
            TGifFrame f;
            f.Left = d.Left;
            f.Top = d.Top;
            f.DelayCs = delay;
            f.Disposal = disposal;
            f.TransparentIndex = transIdx;
            f.Transparent = transIdx >= 0;
            f.Interlaced = d.Interlace;
            f.LocalPalette = d.ColorMap != nullptr;
            f.Image = TImageData(d.Width, d.Height);
            f.Image.BitsPerPixel = 8;
            uint32_t pal[256];
            for (int i = 0; i < 256; ++i) {
                if (cmap && i < cmap->ColorCount) {
                    const GifColorType& c = cmap->Colors[i];
                    pal[i] = 0xFF000000u | (uint32_t(c.Red) << 16) | (uint32_t(c.Green) << 8) | c.Blue;
                } else {
                    pal[i] = cmap ? 0xFF000000u : 0xFF000000u | uint32_t(i) * 0x010101u;
                }
            }
            if (transIdx >= 0 && transIdx < 256) pal[transIdx] = 0;
            line.resize(size_t(d.Width));
            // Interlaced rows arrive in four passes: every 8th row from 0,
            // every 8th from 4, every 4th from 2, every 2nd from 1.
            static const int kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
            const int passes = d.Interlace ? 4 : 1;
            for (int pass = 0; pass < passes; ++pass) {
                const int start = d.Interlace ? kStart[pass] : 0, step = d.Interlace ? kStep[pass] : 1;
                for (int y = start; y < d.Height; y += step) {
                    if (DGifGetLine(g, line.data(), d.Width) == GIF_ERROR) GifFail(g->Error);
                    uint32_t* row = &f.Image.Pixels[size_t(y) * size_t(d.Width)];
                    for (int x = 0; x < d.Width; ++x) row[x] = pal[line[size_t(x)]];
                }
            }
            f.Image.HasAlpha = f.Transparent;
            gif.Frames.push_back(std::move(f));
            delay = 0;
            disposal = gdNone;
            transIdx = -1;
            break;
        }
        case EXTENSION_RECORD_TYPE: {
            int code = 0;
            GifByteType* ext = nullptr;
            if (DGifGetExtension(g, &code, &ext) == GIF_ERROR) GifFail(g->Error);
            bool netscape = false;
            if (ext && code == GRAPHICS_EXT_FUNC_CODE && ext[0] == 4) {
                GraphicsControlBlock gcb;
                if (DGifExtensionToGCB(4, ext + 1, &gcb) == GIF_OK) {
                    delay = gcb.DelayTime;
                    disposal = gcb.DisposalMode >= 0 && gcb.DisposalMode <= 3 ? gcb.DisposalMode : gdNone;
                    transIdx = gcb.TransparentColor;
                }
            } else if (ext && code == APPLICATION_EXT_FUNC_CODE && ext[0] == 11 &&
                       (std::memcmp(ext + 1, "NETSCAPE2.0", 11) == 0 || std::memcmp(ext + 1, "ANIMEXTS1.0", 11) == 0)) {
                netscape = true;
            }
            while (ext) {
                if (DGifGetExtensionNext(g, &ext) == GIF_ERROR) GifFail(g->Error);
                if (netscape && ext && ext[0] >= 3 && ext[1] == 1) {
                    gif.LoopCount = ext[2] | (ext[3] << 8);
                    netscape = false;
                }
            }
            break;
        }
        case TERMINATE_RECORD_TYPE: done = true; break;
        default: break;
        }
    }
    if (gif.Frames.empty()) throw EInvalidGraphic(L"GIF image has no frames");
    if (gif.ScreenWidth <= 0 || gif.ScreenHeight <= 0) {
        for (const auto& f : gif.Frames) {
            gif.ScreenWidth = std::max(gif.ScreenWidth, f.Left + f.Image.Width);
            gif.ScreenHeight = std::max(gif.ScreenHeight, f.Top + f.Image.Height);
        }
    }
    CheckImageSize(gif.ScreenWidth, gif.ScreenHeight);
    return gif;
}

TImageData GifComposite(const TGifData& gif, int index)
{
    if (index < 0 || size_t(index) >= gif.Frames.size()) throw EInvalidGraphic(L"GIF frame index out of range");
    TImageData canvas(gif.ScreenWidth, gif.ScreenHeight, 0);
    for (int i = 0;; ++i) {
        const TGifFrame& f = gif.Frames[size_t(i)];
        TImageData saved;
        if (f.Disposal == gdPrevious && i < index) saved = canvas;
        Blit(canvas, f);
        if (i == index) break;
        if (f.Disposal == gdBackground) ClearRect(canvas, f);
        else if (f.Disposal == gdPrevious) canvas = std::move(saved);
    }
    MarkAlpha(canvas);
    return canvas;
}

std::vector<TImageData> GifCompositeAll(const TGifData& gif)
{
    if (int64_t(gif.Frames.size()) * gif.ScreenWidth * gif.ScreenHeight > kMaxImagePixels)
        throw EInvalidGraphic(L"Image is too large");
    std::vector<TImageData> out;
    TImageData canvas(gif.ScreenWidth, gif.ScreenHeight, 0);
    for (const TGifFrame& f : gif.Frames) {
        TImageData saved;
        if (f.Disposal == gdPrevious) saved = canvas;
        Blit(canvas, f);
        out.push_back(canvas);
        MarkAlpha(out.back());
        if (f.Disposal == gdBackground) ClearRect(canvas, f);
        else if (f.Disposal == gdPrevious) canvas = std::move(saved);
    }
    return out;
}
