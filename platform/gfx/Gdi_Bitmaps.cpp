// Bitmaps: compatible and device-independent bitmaps, DIB sections and the
// conversion between DIB layouts and the ARGB32 surfaces behind them.
#include <cairo.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/gfx/GdiInternal.h"

namespace {

constexpr int64_t kMaxPixels = int64_t(1) << 28;   // refuses absurd sizes

cairo_surface_t* NewSurface(int w, int h, uint32_t fill)
{
    if (w < 0 || h < 0 || int64_t(w) * h > kMaxPixels) return nullptr;
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        return nullptr;
    }
    if (fill != 0 && w > 0 && h > 0) {
        Byte* data = cairo_image_surface_get_data(s);
        int stride = cairo_image_surface_get_stride(s);
        for (int y = 0; y < h; ++y) {
            auto* row = reinterpret_cast<uint32_t*>(data + size_t(y) * stride);
            std::fill(row, row + w, fill);
        }
        cairo_surface_mark_dirty(s);
    }
    return s;
}

int MaskShift(DWORD m)
{
    if (!m) return 0;
    int s = 0;
    while (!(m & 1)) { m >>= 1; ++s; }
    return s;
}
int MaskBits(DWORD m)
{
    m >>= MaskShift(m);
    int n = 0;
    while (m & 1) { m >>= 1; ++n; }
    return n;
}
uint32_t Expand(uint32_t v, int bits)
{
    if (bits <= 0) return 0;
    if (bits >= 8) return v >> (bits - 8);
    uint32_t r = v << (8 - bits);
    for (int b = bits; b < 8; b += bits) r |= r >> bits;
    return r & 0xFF;
}

uint32_t NearestIndex(const std::vector<RGBQUAD>& pal, uint32_t px)
{
    int r = (px >> 16) & 0xFF, g = (px >> 8) & 0xFF, b = px & 0xFF;
    uint32_t best = 0;
    int bestD = 1 << 30;
    for (size_t i = 0; i < pal.size(); ++i) {
        int dr = r - pal[i].rgbRed, dg = g - pal[i].rgbGreen, db = b - pal[i].rgbBlue;
        int d = dr * dr + dg * dg + db * db;
        if (d < bestD) {
            bestD = d;
            best = uint32_t(i);
            if (d == 0) break;
        }
    }
    return best;
}

std::vector<RGBQUAD> DefaultPalette(int bpp)
{
    std::vector<RGBQUAD> p;
    auto add = [&](int r, int g, int b) { p.push_back(RGBQUAD{Byte(b), Byte(g), Byte(r), 0}); };
    if (bpp == 1) {
        add(0, 0, 0);
        add(255, 255, 255);
    } else if (bpp == 4) {
        const int v[16][3] = {{0, 0, 0}, {128, 0, 0}, {0, 128, 0}, {128, 128, 0}, {0, 0, 128},
                              {128, 0, 128}, {0, 128, 128}, {128, 128, 128}, {192, 192, 192},
                              {255, 0, 0}, {0, 255, 0}, {255, 255, 0}, {0, 0, 255},
                              {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
        for (auto& c : v) add(c[0], c[1], c[2]);
    } else if (bpp == 8) {
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b) add(r * 51, g * 51, b * 51);
        for (int i = 0; i < 40; ++i) add(i * 255 / 39, i * 255 / 39, i * 255 / 39);
    }
    return p;
}

}  // namespace

// ---------------------------------------------------------------------------
// DIB formats
// ---------------------------------------------------------------------------

bool TDibFormat::Parse(const BITMAPINFO* info, UINT usage)
{
    if (!info) return false;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biWidth <= 0 || h.biHeight == 0) return false;
    if (h.biHeight == INT32_MIN) return false;
    Width = h.biWidth;
    Height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    TopDown = h.biHeight < 0;
    Bpp = h.biBitCount;
    Compression = h.biCompression;
    if (int64_t(Width) * Height > kMaxPixels) return false;
    if (Bpp != 1 && Bpp != 4 && Bpp != 8 && Bpp != 16 && Bpp != 24 && Bpp != 32) return false;
    const Byte* after = reinterpret_cast<const Byte*>(info) + h.biSize;
    if (Compression == BI_BITFIELDS) {
        if (Bpp != 16 && Bpp != 32) return false;
        const DWORD* m = h.biSize >= 52 ? reinterpret_cast<const DWORD*>(reinterpret_cast<const Byte*>(info) + 40)
                                         : reinterpret_cast<const DWORD*>(after);
        std::memcpy(Masks, m, sizeof Masks);
        if (h.biSize < 52) after += 12;
    } else if (Compression == BI_RGB) {
        if (Bpp == 16) { Masks[0] = 0x7C00; Masks[1] = 0x03E0; Masks[2] = 0x001F; }
        if (Bpp == 32) { Masks[0] = 0xFF0000; Masks[1] = 0xFF00; Masks[2] = 0xFF; }
    } else {
        return false;   // run-length data is the image codecs' business
    }
    if (Bpp <= 8) {
        DWORD n = h.biClrUsed ? h.biClrUsed : (1u << Bpp);
        if (n > (1u << Bpp)) n = 1u << Bpp;
        Palette.resize(n);
        if (usage == DIB_PAL_COLORS) {
            Palette = DefaultPalette(Bpp);
        } else {
            std::memcpy(Palette.data(), after, n * sizeof(RGBQUAD));
        }
    }
    Stride = ((Width * Bpp + 31) / 32) * 4;
    return true;
}

void TDibFormat::DecodeRow(const Byte* row, uint32_t* out) const
{
    auto pal = [&](uint32_t i) -> uint32_t {
        if (i >= Palette.size()) return 0xFF000000u;
        const RGBQUAD& q = Palette[i];
        return 0xFF000000u | (uint32_t(q.rgbRed) << 16) | (uint32_t(q.rgbGreen) << 8) | q.rgbBlue;
    };
    switch (Bpp) {
    case 1:
        for (int x = 0; x < Width; ++x) out[x] = pal((row[x >> 3] >> (7 - (x & 7))) & 1);
        break;
    case 4:
        for (int x = 0; x < Width; ++x) out[x] = pal((row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF);
        break;
    case 8:
        for (int x = 0; x < Width; ++x) out[x] = pal(row[x]);
        break;
    case 24:
        for (int x = 0; x < Width; ++x)
            out[x] = 0xFF000000u | (uint32_t(row[3 * x + 2]) << 16) | (uint32_t(row[3 * x + 1]) << 8) | row[3 * x];
        break;
    case 16:
    case 32: {
        bool standard32 = Bpp == 32 && Masks[0] == 0xFF0000 && Masks[1] == 0xFF00 && Masks[2] == 0xFF;
        if (standard32) {
            std::memcpy(out, row, size_t(Width) * 4);
            break;
        }
        int sh[3], bits[3];
        for (int i = 0; i < 3; ++i) { sh[i] = MaskShift(Masks[i]); bits[i] = MaskBits(Masks[i]); }
        for (int x = 0; x < Width; ++x) {
            uint32_t v = Bpp == 16 ? uint32_t(row[2 * x] | (row[2 * x + 1] << 8))
                                   : uint32_t(row[4 * x] | (row[4 * x + 1] << 8) | (row[4 * x + 2] << 16) | (uint32_t(row[4 * x + 3]) << 24));
            uint32_t r = Expand((v & Masks[0]) >> sh[0], bits[0]);
            uint32_t g = Expand((v & Masks[1]) >> sh[1], bits[1]);
            uint32_t b = Expand((v & Masks[2]) >> sh[2], bits[2]);
            out[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
        }
        break;
    }
    }
}

void TDibFormat::EncodeRow(const uint32_t* in, Byte* row) const
{
    switch (Bpp) {
    case 1:
    case 4:
    case 8: {
        std::memset(row, 0, size_t(Stride));
        uint32_t lastPx = 0, lastIdx = 0;
        bool have = false;
        for (int x = 0; x < Width; ++x) {
            uint32_t px = in[x] & 0xFFFFFF;
            if (!have || px != lastPx) {
                lastIdx = NearestIndex(Palette, px);
                lastPx = px;
                have = true;
            }
            if (Bpp == 8) row[x] = Byte(lastIdx);
            else if (Bpp == 4) row[x >> 1] |= Byte(lastIdx << ((x & 1) ? 0 : 4));
            else row[x >> 3] |= Byte((lastIdx & 1) << (7 - (x & 7)));
        }
        break;
    }
    case 24:
        for (int x = 0; x < Width; ++x) {
            row[3 * x] = Byte(in[x]);
            row[3 * x + 1] = Byte(in[x] >> 8);
            row[3 * x + 2] = Byte(in[x] >> 16);
        }
        break;
    case 16:
    case 32: {
        bool standard32 = Bpp == 32 && Masks[0] == 0xFF0000 && Masks[1] == 0xFF00 && Masks[2] == 0xFF;
        if (standard32) {
            std::memcpy(row, in, size_t(Width) * 4);
            break;
        }
        int sh[3], bits[3];
        for (int i = 0; i < 3; ++i) { sh[i] = MaskShift(Masks[i]); bits[i] = MaskBits(Masks[i]); }
        for (int x = 0; x < Width; ++x) {
            uint32_t c[3] = {(in[x] >> 16) & 0xFF, (in[x] >> 8) & 0xFF, in[x] & 0xFF};
            uint32_t v = 0;
            for (int i = 0; i < 3; ++i)
                if (bits[i] > 0) v |= ((bits[i] >= 8 ? c[i] << (bits[i] - 8) : c[i] >> (8 - bits[i])) << sh[i]) & Masks[i];
            if (Bpp == 16) {
                row[2 * x] = Byte(v);
                row[2 * x + 1] = Byte(v >> 8);
            } else {
                std::memcpy(row + 4 * x, &v, 4);
            }
        }
        break;
    }
    }
}

// ---------------------------------------------------------------------------
// TGdiBitmap
// ---------------------------------------------------------------------------

TGdiBitmap::~TGdiBitmap()
{
    if (Surface) cairo_surface_destroy(Surface);
    if (OwnsBits) std::free(Bits);
}

int TGdiBitmap::Width() const { return Surface ? cairo_image_surface_get_width(Surface) : 0; }
int TGdiBitmap::Height() const { return Surface ? cairo_image_surface_get_height(Surface) : 0; }
int TGdiBitmap::DIBStride() const { return ((Width() * BitsPerPixel + 31) / 32) * 4; }

static TDibFormat FormatOf(const TGdiBitmap& b)
{
    TDibFormat f;
    f.Width = b.Width();
    f.Height = b.Height();
    f.TopDown = b.TopDown;
    f.Bpp = b.BitsPerPixel;
    f.Palette = b.Palette;
    if (f.Bpp == 16) { f.Masks[0] = 0x7C00; f.Masks[1] = 0x03E0; f.Masks[2] = 0x001F; }
    if (f.Bpp == 32) { f.Masks[0] = 0xFF0000; f.Masks[1] = 0xFF00; f.Masks[2] = 0xFF; }
    f.Stride = b.DIBStride();
    return f;
}

void TGdiBitmap::BitsToSurface()
{
    if (!Bits || !Surface) return;
    TDibFormat f = FormatOf(*this);
    cairo_surface_flush(Surface);
    Byte* data = cairo_image_surface_get_data(Surface);
    int stride = cairo_image_surface_get_stride(Surface);
    for (int y = 0; y < f.Height; ++y) {
        int src = TopDown ? y : f.Height - 1 - y;
        f.DecodeRow(Bits + size_t(src) * f.Stride, reinterpret_cast<uint32_t*>(data + size_t(y) * stride));
    }
    cairo_surface_mark_dirty(Surface);
}

void TGdiBitmap::SurfaceToBits()
{
    if (!Bits || !Surface) return;
    TDibFormat f = FormatOf(*this);
    cairo_surface_flush(Surface);
    const Byte* data = cairo_image_surface_get_data(Surface);
    int stride = cairo_image_surface_get_stride(Surface);
    for (int y = 0; y < f.Height; ++y) {
        int dst = TopDown ? y : f.Height - 1 - y;
        f.EncodeRow(reinterpret_cast<const uint32_t*>(data + size_t(y) * stride), Bits + size_t(dst) * f.Stride);
    }
}

// Registration lives with the other objects.
HBITMAP GdiNewBitmap();

static HBITMAP MakeBitmap(int w, int h, int bpp, uint32_t fill)
{
    cairo_surface_t* s = NewSurface(w, h, fill);
    if (!s) return nullptr;
    HBITMAP b = GdiNewBitmap();
    b->Surface = s;
    b->BitsPerPixel = bpp;
    return b;
}

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height)
{
    if (width < 0 || height < 0) return nullptr;
    int bpp = 32;
    if (dc && dc->IsMono()) bpp = 1;
    return MakeBitmap(width, height, bpp, 0xFF000000u);
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits)
{
    if (width < 0 || height < 0 || planes != 1) return nullptr;
    int bpp = int(bitsPerPixel);
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return nullptr;
    HBITMAP b = MakeBitmap(width, height, bpp, 0xFF000000u);
    if (!b || !bits || width == 0 || height == 0) return b;
    // Device-dependent rows: top-down, padded to 16 bits.
    TDibFormat f;
    f.Width = width;
    f.Height = height;
    f.Bpp = bpp;
    f.Palette = DefaultPalette(bpp);
    if (bpp == 16) { f.Masks[0] = 0x7C00; f.Masks[1] = 0x03E0; f.Masks[2] = 0x001F; }
    if (bpp == 32) { f.Masks[0] = 0xFF0000; f.Masks[1] = 0xFF00; f.Masks[2] = 0xFF; }
    int stride = ((width * bpp + 15) / 16) * 2;
    Byte* data = cairo_image_surface_get_data(b->Surface);
    int sstride = cairo_image_surface_get_stride(b->Surface);
    for (int y = 0; y < height; ++y) {
        auto* out = reinterpret_cast<uint32_t*>(data + size_t(y) * sstride);
        f.DecodeRow(static_cast<const Byte*>(bits) + size_t(y) * stride, out);
        if (bpp == 32)
            for (int x = 0; x < width; ++x) out[x] |= 0xFF000000u;
    }
    cairo_surface_mark_dirty(b->Surface);
    return b;
}

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, UINT usage, void** bits, void*, DWORD)
{
    if (bits) *bits = nullptr;
    TDibFormat f;
    if (!f.Parse(info, usage)) return nullptr;
    bool shared = f.Bpp == 32 && f.TopDown && f.Compression == BI_RGB;
    HBITMAP b = MakeBitmap(f.Width, f.Height, f.Bpp, 0);
    if (!b) return nullptr;
    b->IsDIB = true;
    b->TopDown = f.TopDown;
    b->Palette = f.Palette;
    b->AlphaChannel = f.Bpp == 32;
    if (shared) {
        if (bits) *bits = cairo_image_surface_get_data(b->Surface);
        return b;
    }
    b->Bits = static_cast<Byte*>(std::calloc(size_t(f.Stride) * size_t(f.Height), 1));
    if (!b->Bits) {
        DeleteObject(b);
        return nullptr;
    }
    b->OwnsBits = true;
    b->BitsToSurface();
    if (bits) *bits = b->Bits;
    return b;
}

int SetDIBits(HDC, HBITMAP bmp, UINT start, UINT lines, const void* bits, const BITMAPINFO* info,
              UINT usage)
{
    if (!bmp || !bmp->Surface || !bits) return 0;
    TDibFormat f;
    if (!f.Parse(info, usage)) return 0;
    bmp->BitsToSurface();
    int w = std::min(f.Width, bmp->Width());
    std::vector<uint32_t> row(size_t(f.Width));
    cairo_surface_flush(bmp->Surface);
    Byte* data = cairo_image_surface_get_data(bmp->Surface);
    int sstride = cairo_image_surface_get_stride(bmp->Surface);
    int done = 0;
    for (UINT i = 0; i < lines; ++i) {
        int64_t scan = int64_t(start) + i;   // scan lines count from the DIB's first row in memory
        if (scan >= f.Height) break;
        int y = f.TopDown ? int(scan) : f.Height - 1 - int(scan);
        f.DecodeRow(static_cast<const Byte*>(bits) + size_t(i) * f.Stride, row.data());
        if (y >= 0 && y < bmp->Height()) {
            auto* out = reinterpret_cast<uint32_t*>(data + size_t(y) * sstride);
            for (int x = 0; x < w; ++x) out[x] = bmp->AlphaChannel ? row[x] : (row[x] | 0xFF000000u);
        }
        ++done;
    }
    cairo_surface_mark_dirty(bmp->Surface);
    bmp->SurfaceToBits();
    return done;
}

int GetDIBits(HDC, HBITMAP bmp, UINT start, UINT lines, void* bits, BITMAPINFO* info, UINT usage)
{
    if (!bmp || !bmp->Surface || !info) return 0;
    BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biSize < sizeof(BITMAPINFOHEADER)) return 0;
    int w = bmp->Width(), ht = bmp->Height();
    if (h.biBitCount == 0) {
        h.biWidth = w;
        h.biHeight = ht;
        h.biPlanes = 1;
        h.biBitCount = Word(bmp->BitsPerPixel);
        h.biCompression = BI_RGB;
        h.biSizeImage = DWORD(((w * bmp->BitsPerPixel + 31) / 32) * 4) * DWORD(ht);
        h.biClrUsed = 0;
        return ht > 0 ? ht : 1;
    }
    int bpp = h.biBitCount;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return 0;
    if (h.biWidth <= 0) h.biWidth = w;
    if (h.biHeight == 0) h.biHeight = ht;
    TDibFormat f;
    f.Width = h.biWidth;
    f.Height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    f.TopDown = h.biHeight < 0;
    f.Bpp = bpp;
    f.Stride = ((f.Width * bpp + 31) / 32) * 4;
    if (bpp == 16) { f.Masks[0] = 0x7C00; f.Masks[1] = 0x03E0; f.Masks[2] = 0x001F; }
    if (bpp == 32) { f.Masks[0] = 0xFF0000; f.Masks[1] = 0xFF00; f.Masks[2] = 0xFF; }
    if (h.biCompression == BI_BITFIELDS && (bpp == 16 || bpp == 32)) {
        const DWORD* m = reinterpret_cast<const DWORD*>(info->bmiColors);
        std::memcpy(f.Masks, m, sizeof f.Masks);
    }
    if (bpp <= 8) {
        f.Palette = bmp->Palette.size() == (1u << bpp) ? bmp->Palette : DefaultPalette(bpp);
        f.Palette.resize(1u << bpp);
        if (usage == DIB_RGB_COLORS) std::memcpy(info->bmiColors, f.Palette.data(), f.Palette.size() * sizeof(RGBQUAD));
    }
    h.biSizeImage = DWORD(f.Stride) * DWORD(f.Height);
    if (!bits) return 1;
    bmp->BitsToSurface();
    cairo_surface_flush(bmp->Surface);
    const Byte* data = cairo_image_surface_get_data(bmp->Surface);
    int sstride = cairo_image_surface_get_stride(bmp->Surface);
    std::vector<uint32_t> row(size_t(f.Width), 0xFF000000u);
    int done = 0;
    for (UINT i = 0; i < lines; ++i) {
        int64_t scan = int64_t(start) + i;
        if (scan >= f.Height) break;
        int y = f.TopDown ? int(scan) : f.Height - 1 - int(scan);
        std::fill(row.begin(), row.end(), 0xFF000000u);
        if (y < ht) {
            const auto* in = reinterpret_cast<const uint32_t*>(data + size_t(y) * sstride);
            std::copy(in, in + std::min(w, f.Width), row.begin());
        }
        f.EncodeRow(row.data(), static_cast<Byte*>(bits) + size_t(i) * f.Stride);
        ++done;
    }
    return done;
}

HBITMAP CreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                       const BITMAPINFO* info, UINT usage)
{
    if (!header) return nullptr;
    int h = header->biHeight < 0 ? -header->biHeight : header->biHeight;
    HBITMAP b = CreateCompatibleBitmap(dc, header->biWidth, h);
    if (b && (init & CBM_INIT) && bits && info) {
        TDibFormat f;
        if (f.Parse(info, usage)) SetDIBits(dc, b, 0, UINT(f.Height), bits, info, usage);
    }
    return b;
}

BOOL GetBitmapDimensionEx(HBITMAP bmp, SIZE* size)
{
    if (!bmp || !size) return 0;
    *size = {0, 0};
    return 1;
}

BOOL GdiFlush() { return 1; }

HBITMAP CreateBitmapFromBGRA(int w, int h, const uint32_t* pixels, bool hasAlpha)
{
    HBITMAP b = MakeBitmap(w, h, hasAlpha ? 32 : 24, 0xFF000000u);
    if (!b) return nullptr;
    b->AlphaChannel = hasAlpha;
    if (!pixels || w == 0 || h == 0) return b;
    Byte* data = cairo_image_surface_get_data(b->Surface);
    int stride = cairo_image_surface_get_stride(b->Surface);
    for (int y = 0; y < h; ++y) {
        auto* out = reinterpret_cast<uint32_t*>(data + size_t(y) * stride);
        const uint32_t* in = pixels + size_t(y) * w;
        for (int x = 0; x < w; ++x) {
            uint32_t p = in[x];
            if (!hasAlpha) {
                out[x] = p | 0xFF000000u;
                continue;
            }
            uint32_t a = p >> 24;
            if (a == 255) out[x] = p;
            else if (a == 0) out[x] = 0;
            else {
                uint32_t r = (((p >> 16) & 0xFF) * a + 127) / 255;
                uint32_t g = (((p >> 8) & 0xFF) * a + 127) / 255;
                uint32_t bl = ((p & 0xFF) * a + 127) / 255;
                out[x] = (a << 24) | (r << 16) | (g << 8) | bl;
            }
        }
    }
    cairo_surface_mark_dirty(b->Surface);
    return b;
}

cairo_surface_t* GdiBitmapSurface(HBITMAP bmp)
{
    if (!bmp) return nullptr;
    bmp->BitsToSurface();
    return bmp->Surface;
}

void GdiBitmapChanged(HBITMAP bmp)
{
    if (!bmp || !bmp->Surface) return;
    cairo_surface_mark_dirty(bmp->Surface);
    bmp->SurfaceToBits();
}
