// Block transfers: BitBlt/StretchBlt with ternary raster ops, PatBlt,
// AlphaBlend, TransparentBlt and the DIB-to-device calls.
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/gfx/GdiInternal.h"

namespace {

struct TView {
    uint32_t* Data = nullptr;
    int Stride = 0, W = 0, H = 0;
};

TView ViewOf(cairo_surface_t* s)
{
    TView v;
    if (!s || cairo_surface_get_type(s) != CAIRO_SURFACE_TYPE_IMAGE) return v;
    cairo_surface_flush(s);
    v.Data = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(s));
    v.Stride = cairo_image_surface_get_stride(s) / 4;
    v.W = cairo_image_surface_get_width(s);
    v.H = cairo_image_surface_get_height(s);
    return v;
}

// A row of pixels made opaque on the way. The rows never overlap (a source
// on the destination's own surface is copied out first), which lets the
// compiler move several pixels at a time.
void CopyOpaque(uint32_t* __restrict out, const uint32_t* __restrict in, size_t n)
{
    for (size_t x = 0; x < n; ++x) out[x] = in[x] | 0xFF000000u;
}

bool UsesSource(uint32_t code) { return (((code >> 2) ^ code) & 0x33) != 0; }
bool UsesPattern(uint32_t code) { return (((code >> 4) ^ code) & 0x0F) != 0; }

// Destination rectangle in surface pixels, keeping the sign of the extent
// (mirroring) apart.
struct TSpan {
    int Start, Len;   // Len may be negative
};

TRect DevRect(HDC dc, const TRect& sr)
{
    TRect r = sr;
    OffsetRect(r, -dc->Origin.X, -dc->Origin.Y);
    return r;
}

// Paints the destination rectangle from `fetch` (source pixel for a
// destination pixel, false = leave the destination alone).
template <class Fetch>
void BlitPixels(HDC dst, const TRect& dr, uint32_t code, Fetch fetch, const TBrushSampler* pat)
{
    const TRegionData& clip = dst->EffectiveClip();
    TView d = ViewOf(dst->Target());
    if (!d.Data) return;
    bool keep = dst->KeepsAlpha();
    bool copy = code == 0xCC;
    for (const TRect& c : clip.Rects()) {
        TRect t;
        if (!IntersectRect(t, dr, c)) continue;
        for (int y = t.Top; y < t.Bottom; ++y) {
            uint32_t* row = d.Data + size_t(y) * d.Stride;
            for (int x = t.Left; x < t.Right; ++x) {
                uint32_t s = 0;
                if (!fetch(x, y, s)) continue;
                uint32_t p = 0;
                if (pat) {
                    bool paint;
                    p = pat->Sample(x, y, paint);
                }
                uint32_t dv = row[x];
                if (copy) {
                    row[x] = keep ? s : (s | 0xFF000000u);
                    continue;
                }
                uint32_t rgb = ApplyRop3(code, p, s, dv) & 0xFFFFFF;
                uint32_t a = keep ? (dv & 0xFF000000u) : 0xFF000000u;
                if (keep && (code == 0xCC || code == 0x33 || code == 0xF0 || code == 0x0F)) a = 0xFF000000u;
                row[x] = a | rgb;
            }
        }
    }
    cairo_surface_mark_dirty(dst->Target());
}

// Draws a source surface region into a vector (printer) target.
void VectorBlit(HDC dst, const TRect& dr, cairo_surface_t* src, const TRect& sr, bool mirrorX, bool mirrorY)
{
    cairo_t* cr = dst->Cairo();
    if (!cr) return;   // a printer outside a document
    cairo_save(cr);
    dst->ClipCairo(cr);
    cairo_rectangle(cr, dr.Left, dr.Top, dr.Width(), dr.Height());
    cairo_clip(cr);
    cairo_translate(cr, mirrorX ? dr.Right : dr.Left, mirrorY ? dr.Bottom : dr.Top);
    cairo_scale(cr, (mirrorX ? -1.0 : 1.0) * dr.Width() / std::max(1, sr.Width()),
                (mirrorY ? -1.0 : 1.0) * dr.Height() / std::max(1, sr.Height()));
    cairo_set_source_surface(cr, src, -sr.Left, -sr.Top);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_paint(cr);
    cairo_restore(cr);
}

BOOL StretchCore(HDC dst, int x, int y, int w, int h, HDC src, int xs, int ys, int ws, int hs, DWORD rop,
                 const wchar_t* kind)
{
    if (!dst) return 0;
    uint32_t code = (rop >> 16) & 0xFF;
    bool needSrc = UsesSource(code);
    if (needSrc && (!src || !src->HasPixels())) return 0;
    TTargetGuard g(dst);
    TSourceGuard sg(src);
    TPoint a = dst->LtoS(x, y), b = dst->LtoS(x + w, y + h);
    bool mirrorX = (b.X < a.X), mirrorY = (b.Y < a.Y);
    // A negative extent mirrors; the pixel at the origin is then the last one
    // covered (x + w + 1 .. x), as the platform does.
    TRect dr{std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y)};
    if (mirrorX) { ++dr.Left; ++dr.Right; }
    if (mirrorY) { ++dr.Top; ++dr.Bottom; }
    dst->Record({kind, DevRect(dst, dr), {}, 0, 0, {}, rop});
    if (IsRectEmpty(dr)) return 1;
    TBrushSampler pat(dst, dst->S.Brush);
    const TBrushSampler* patp = UsesPattern(code) ? &pat : nullptr;
    if (patp && pat.Empty) patp = nullptr;

    TRect sr{};
    if (needSrc) {
        TPoint sa = src->LtoS(xs, ys), sb = src->LtoS(xs + ws, ys + hs);
        bool sx = sb.X < sa.X, sy = sb.Y < sa.Y;
        if (sx) mirrorX = !mirrorX;
        if (sy) mirrorY = !mirrorY;
        sr = {std::min(sa.X, sb.X), std::min(sa.Y, sb.Y), std::max(sa.X, sb.X), std::max(sa.Y, sb.Y)};
        if (sx) { ++sr.Left; ++sr.Right; }
        if (sy) { ++sr.Top; ++sr.Bottom; }
        if (IsRectEmpty(sr)) return 1;
    }

    if (dst->IsVector()) {
        if (needSrc) {
            // No raster ops on paper: the source is drawn as it is.
            VectorBlit(dst, dr, src->Target(), sr, mirrorX, mirrorY);
        } else if (code == 0x00 || code == 0xFF || code == 0xF0) {
            TBrushSampler s(dst, nullptr);
            s.Empty = false;
            s.Color = code == 0x00 ? 0 : code == 0xFF ? 0xFFFFFF : pat.Color;
            if (code != 0xF0 || !pat.Empty) PaintRects(dst, {dr}, s, R2_COPYPEN);
        }
        return 1;
    }

    if (!needSrc) {
        BlitPixels(dst, dr, code, [](int, int, uint32_t& s) { s = 0; return true; }, patp);
        return 1;
    }

    TView sv = ViewOf(src->Target());
    if (!sv.Data) return 0;
    // Copy the source first when it shares the destination's surface and
    // the areas overlap (scrolling), so overlapping areas read the old
    // pixels; disjoint areas of one surface are read in place.
    std::vector<uint32_t> copy;
    const uint32_t* sdata = sv.Data;
    int sstride = sv.Stride, ox = 0, oy = 0;
    TRect sb{0, 0, sv.W, sv.H};
    TRect need;
    if (!IntersectRect(need, sr, sb)) return 1;
    TRect shared;
    if (src->Target() == dst->Target() && IntersectRect(shared, need, dr)) {
        copy.resize(size_t(need.Width()) * need.Height());
        for (int yy = 0; yy < need.Height(); ++yy)
            std::memcpy(&copy[size_t(yy) * need.Width()], sv.Data + size_t(need.Top + yy) * sv.Stride + need.Left,
                        size_t(need.Width()) * 4);
        sdata = copy.data();
        sstride = need.Width();
        ox = need.Left;
        oy = need.Top;
    }
    bool srcMono = src->IsMono(), dstMono = dst->IsMono();
    if (code == 0xCC && srcMono == dstMono && !mirrorX && !mirrorY && dr.Width() == sr.Width() &&
        dr.Height() == sr.Height()) {
        // Plain copy: whole rows at a time.
        TView d = ViewOf(dst->Target());
        bool keep = dst->KeepsAlpha();
        int offX = sr.Left - dr.Left, offY = sr.Top - dr.Top;
        TRect reach = need;
        OffsetRect(reach, -offX, -offY);
        for (const TRect& c : dst->EffectiveClip().Rects()) {
            TRect t;
            if (!IntersectRect(t, dr, c) || !IntersectRect(t, t, reach)) continue;
            for (int y = t.Top; y < t.Bottom; ++y) {
                uint32_t* out = d.Data + size_t(y) * d.Stride + t.Left;
                const uint32_t* in = sdata + size_t(y + offY - oy) * sstride + (t.Left + offX - ox);
                if (keep) std::memcpy(out, in, size_t(t.Width()) * 4);
                else CopyOpaque(out, in, size_t(t.Width()));
            }
        }
        cairo_surface_mark_dirty(dst->Target());
        return 1;
    }
    uint32_t fg = ColorToPixel(dst->S.TextColor), bg = ColorToPixel(dst->S.BkColor);
    uint32_t srcBk = ColorToPixel(src->S.BkColor) & 0xFFFFFF;
    int dw = dr.Width(), dh = dr.Height(), sw = sr.Width(), sh = sr.Height();
    bool stretch = dw != sw || dh != sh;
    // HALFTONE averages the source pixels a shrunken destination pixel covers.
    bool average = dst->S.StretchMode == HALFTONE && (sw > dw || sh > dh) && !srcMono && !dstMono;
    if (code == 0xCC && !average && srcMono == dstMono) {
        // A stretched copy takes the nearest source pixel, as the pixel loop
        // below does; the source column of each destination column is found
        // once, and a row stretched from one pixel (a band of a gradient) is
        // filled, a row of the same width copied whole.
        TView d = ViewOf(dst->Target());
        if (!d.Data) return 1;
        const bool keep = dst->KeepsAlpha();
        std::vector<int> column(static_cast<size_t>(dw));
        for (int rx = 0; rx < dw; ++rx) {
            const int mx = mirrorX ? dw - 1 - rx : rx;
            const int sx = sr.Left + (stretch ? int(int64_t(mx) * sw / dw) : mx);
            column[size_t(rx)] = sx < need.Left || sx >= need.Right ? -1 : sx - ox;
        }
        const bool oneColumn = sw == 1 && column.front() >= 0;
        const bool sameRow = dw == sw && !mirrorX && sr.Left >= need.Left && sr.Right <= need.Right;
        // A source row already opaque is copied as it is (checked once per
        // source row, which a stretched row serves many times).
        int checkedRow = -1;
        bool opaqueRow = false;
        for (const TRect& c : dst->EffectiveClip().Rects()) {
            TRect t;
            if (!IntersectRect(t, dr, c)) continue;
            for (int y = t.Top; y < t.Bottom; ++y) {
                const int ry = mirrorY ? dh - 1 - (y - dr.Top) : y - dr.Top;
                const int sy = sr.Top + (stretch ? int(int64_t(ry) * sh / dh) : ry);
                if (sy < need.Top || sy >= need.Bottom) continue;
                const uint32_t* in = sdata + size_t(sy - oy) * sstride;
                uint32_t* out = d.Data + size_t(y) * d.Stride;
                if (oneColumn) {
                    const uint32_t v = keep ? in[column.front()] : in[column.front()] | 0xFF000000u;
                    std::fill(out + t.Left, out + t.Right, v);
                } else if (sameRow) {
                    if (!keep && sy != checkedRow) {
                        const uint32_t* whole = in + (sr.Left - ox);
                        opaqueRow = std::all_of(whole, whole + sw, [](uint32_t p) { return p >= 0xFF000000u; });
                        checkedRow = sy;
                    }
                    const uint32_t* from = in + (sr.Left - ox) + (t.Left - dr.Left);
                    if (keep || opaqueRow) std::memcpy(out + t.Left, from, size_t(t.Width()) * 4);
                    else CopyOpaque(out + t.Left, from, size_t(t.Width()));
                } else {
                    for (int x = t.Left; x < t.Right; ++x) {
                        const int m = column[size_t(x - dr.Left)];
                        if (m >= 0) out[x] = keep ? in[m] : in[m] | 0xFF000000u;
                    }
                }
            }
        }
        cairo_surface_mark_dirty(dst->Target());
        return 1;
    }
    auto fetch = [&](int dx, int dy, uint32_t& s) {
        int rx = dx - dr.Left, ry = dy - dr.Top;
        if (mirrorX) rx = dw - 1 - rx;
        if (mirrorY) ry = dh - 1 - ry;
        if (average) {
            int x0 = sr.Left + int(int64_t(rx) * sw / dw), x1 = sr.Left + int(int64_t(rx + 1) * sw / dw);
            int y0 = sr.Top + int(int64_t(ry) * sh / dh), y1 = sr.Top + int(int64_t(ry + 1) * sh / dh);
            x1 = std::max(x1, x0 + 1);
            y1 = std::max(y1, y0 + 1);
            x0 = std::max(x0, need.Left); y0 = std::max(y0, need.Top);
            x1 = std::min(x1, need.Right); y1 = std::min(y1, need.Bottom);
            if (x0 >= x1 || y0 >= y1) return false;
            uint64_t acc[4] = {0, 0, 0, 0};
            for (int yy = y0; yy < y1; ++yy)
                for (int xx = x0; xx < x1; ++xx) {
                    uint32_t v = sdata[size_t(yy - oy) * sstride + (xx - ox)];
                    for (int k = 0; k < 4; ++k) acc[k] += (v >> (8 * k)) & 0xFF;
                }
            uint64_t n = uint64_t(x1 - x0) * uint64_t(y1 - y0);
            s = 0;
            for (int k = 0; k < 4; ++k) s |= uint32_t((acc[k] + n / 2) / n) << (8 * k);
            return true;
        }
        int sx = sr.Left + (stretch ? int(int64_t(rx) * sw / dw) : rx);
        int sy = sr.Top + (stretch ? int(int64_t(ry) * sh / dh) : ry);
        if (sx < need.Left || sy < need.Top || sx >= need.Right || sy >= need.Bottom) return false;
        s = sdata[size_t(sy - oy) * sstride + (sx - ox)];
        if (srcMono && !dstMono) s = (s & 0xFFFFFF) ? bg : fg;
        else if (dstMono && !srcMono) s = ((s & 0xFFFFFF) == srcBk) ? 0xFFFFFFFFu : 0xFF000000u;
        return true;
    };
    BlitPixels(dst, dr, code, fetch, patp);
    return 1;
}

}  // namespace

BOOL BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int xSrc, int ySrc, DWORD rop)
{
    return StretchCore(dst, x, y, w, h, src, xSrc, ySrc, w, h, rop, L"BitBlt");
}

BOOL StretchBlt(HDC dst, int x, int y, int w, int h, HDC src, int xSrc, int ySrc, int wSrc, int hSrc, DWORD rop)
{
    return StretchCore(dst, x, y, w, h, src, xSrc, ySrc, wSrc, hSrc, rop, L"StretchBlt");
}

BOOL PatBlt(HDC dc, int x, int y, int w, int h, DWORD rop)
{
    uint32_t code = (rop >> 16) & 0xFF;
    if (UsesSource(code)) return 0;
    return StretchCore(dc, x, y, w, h, nullptr, 0, 0, 0, 0, rop, L"PatBlt");
}

BOOL AlphaBlend(HDC dst, int x, int y, int w, int h, HDC src, int xs, int ys, int ws, int hs, BLENDFUNCTION bf)
{
    if (!dst || !src || !src->HasPixels() || w < 0 || h < 0 || ws < 0 || hs < 0) return 0;
    if (bf.BlendOp != AC_SRC_OVER) return 0;
    TTargetGuard g(dst);
    TSourceGuard sg(src);
    TRect dr = dst->LtoSRect({x, y, x + w, y + h});
    TRect sr = src->LtoSRect({xs, ys, xs + ws, ys + hs});
    TView sv = ViewOf(src->Target());
    // The source rectangle must lie inside the source surface.
    if (!sv.Data || sr.Left < 0 || sr.Top < 0 || sr.Right > sv.W || sr.Bottom > sv.H) return 0;
    dst->Record({L"AlphaBlend", DevRect(dst, dr), {}, 0, 0, {}, (DWORD(bf.SourceConstantAlpha) << 8) | bf.AlphaFormat});
    if (IsRectEmpty(dr) || IsRectEmpty(sr)) return 1;
    uint32_t ca = bf.SourceConstantAlpha;
    bool perPixel = (bf.AlphaFormat & AC_SRC_ALPHA) != 0;
    if (dst->IsVector()) {
        cairo_t* cr = dst->Cairo();
        if (!cr) return 1;
        cairo_save(cr);
        dst->ClipCairo(cr);
        cairo_rectangle(cr, dr.Left, dr.Top, dr.Width(), dr.Height());
        cairo_clip(cr);
        cairo_translate(cr, dr.Left, dr.Top);
        cairo_scale(cr, double(dr.Width()) / sr.Width(), double(dr.Height()) / sr.Height());
        cairo_surface_t* tmp = nullptr;
        if (perPixel) {
            cairo_set_source_surface(cr, src->Target(), -sr.Left, -sr.Top);
        } else {
            // Without per-pixel alpha the source counts as opaque.
            tmp = cairo_image_surface_create(CAIRO_FORMAT_RGB24, sr.Width(), sr.Height());
            cairo_t* t = cairo_create(tmp);
            cairo_set_source_surface(t, src->Target(), -sr.Left, -sr.Top);
            cairo_set_operator(t, CAIRO_OPERATOR_SOURCE);
            cairo_paint(t);
            cairo_destroy(t);
            cairo_set_source_surface(cr, tmp, 0, 0);
        }
        cairo_paint_with_alpha(cr, ca / 255.0);
        cairo_restore(cr);
        if (tmp) cairo_surface_destroy(tmp);
        return 1;
    }
    TView dv = ViewOf(dst->Target());
    if (!dv.Data) return 0;
    std::vector<uint32_t> copy;
    const uint32_t* sdata = sv.Data;
    int sstride = sv.Stride, ox = 0, oy = 0;
    if (src->Target() == dst->Target()) {
        copy.resize(size_t(sr.Width()) * sr.Height());
        for (int yy = 0; yy < sr.Height(); ++yy)
            std::memcpy(&copy[size_t(yy) * sr.Width()], sv.Data + size_t(sr.Top + yy) * sv.Stride + sr.Left, size_t(sr.Width()) * 4);
        sdata = copy.data();
        sstride = sr.Width();
        ox = sr.Left;
        oy = sr.Top;
    }
    bool keep = dst->KeepsAlpha();
    const TRegionData& clip = dst->EffectiveClip();
    int dw = dr.Width(), dh = dr.Height(), sw = sr.Width(), sh = sr.Height();
    for (const TRect& c : clip.Rects()) {
        TRect t;
        if (!IntersectRect(t, dr, c)) continue;
        for (int yy = t.Top; yy < t.Bottom; ++yy) {
            int sy = sr.Top + int(int64_t(yy - dr.Top) * sh / dh);
            uint32_t* row = dv.Data + size_t(yy) * dv.Stride;
            for (int xx = t.Left; xx < t.Right; ++xx) {
                int sx = sr.Left + int(int64_t(xx - dr.Left) * sw / dw);
                uint32_t s = sdata[size_t(sy - oy) * sstride + (sx - ox)];
                uint32_t sa = perPixel ? (s >> 24) : 255;
                uint32_t d = row[xx];
                uint32_t out = 0;
                // Source channels are premultiplied when AC_SRC_ALPHA is set.
                uint32_t fa = (sa * ca + 127) / 255;   // effective source alpha
                for (int sh8 = 0; sh8 < 24; sh8 += 8) {
                    uint32_t sc = (s >> sh8) & 0xFF, dc = (d >> sh8) & 0xFF;
                    uint32_t v = (sc * ca + 127) / 255 + (dc * (255 - fa) + 127) / 255;
                    out |= std::min<uint32_t>(v, 255) << sh8;
                }
                uint32_t da = d >> 24;
                uint32_t oa = keep ? std::min<uint32_t>(fa + (da * (255 - fa) + 127) / 255, 255) : 255;
                row[xx] = (oa << 24) | out;
            }
        }
    }
    cairo_surface_mark_dirty(dst->Target());
    return 1;
}

BOOL TransparentBlt(HDC dst, int x, int y, int w, int h, HDC src, int xs, int ys, int ws, int hs, UINT transparent)
{
    if (!dst || !src || !src->HasPixels() || w < 0 || h < 0 || ws < 0 || hs < 0) return 0;
    TTargetGuard g(dst);
    TSourceGuard sg(src);
    TRect dr = dst->LtoSRect({x, y, x + w, y + h});
    TRect sr = src->LtoSRect({xs, ys, xs + ws, ys + hs});
    TView sv = ViewOf(src->Target());
    if (!sv.Data || sr.Left < 0 || sr.Top < 0 || sr.Right > sv.W || sr.Bottom > sv.H) return 0;
    dst->Record({L"TransparentBlt", DevRect(dst, dr), {}, GdiResolveColor(transparent), 0, {}, 0});
    if (IsRectEmpty(dr) || IsRectEmpty(sr)) return 1;
    uint32_t key = ColorToPixel(GdiResolveColor(transparent)) & 0xFFFFFF;
    int dw = dr.Width(), dh = dr.Height(), sw = sr.Width(), shh = sr.Height();
    if (dst->IsVector()) {
        // Build a copy with the key colour made transparent and draw that.
        cairo_surface_t* tmp = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, sw, shh);
        TView tv = ViewOf(tmp);
        for (int yy = 0; yy < shh; ++yy)
            for (int xx = 0; xx < sw; ++xx) {
                uint32_t s = sv.Data[size_t(sr.Top + yy) * sv.Stride + sr.Left + xx];
                tv.Data[size_t(yy) * tv.Stride + xx] = (s & 0xFFFFFF) == key ? 0 : (s | 0xFF000000u);
            }
        cairo_surface_mark_dirty(tmp);
        VectorBlit(dst, dr, tmp, {0, 0, sw, shh}, false, false);
        cairo_surface_destroy(tmp);
        return 1;
    }
    std::vector<uint32_t> copy(size_t(sw) * shh);
    for (int yy = 0; yy < shh; ++yy)
        std::memcpy(&copy[size_t(yy) * sw], sv.Data + size_t(sr.Top + yy) * sv.Stride + sr.Left, size_t(sw) * 4);
    auto fetch = [&](int dx, int dy, uint32_t& s) {
        int sx = int(int64_t(dx - dr.Left) * sw / dw), sy = int(int64_t(dy - dr.Top) * shh / dh);
        s = copy[size_t(sy) * sw + sx];
        return (s & 0xFFFFFF) != key;
    };
    BlitPixels(dst, dr, 0xCC, fetch, nullptr);
    return 1;
}

int StretchDIBits(HDC dc, int xDest, int yDest, int wDest, int hDest, int xSrc, int ySrc, int wSrc, int hSrc,
                  const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop)
{
    if (!dc || !bits) return 0;
    TDibFormat f;
    if (!f.Parse(info, usage)) return 0;
    HBITMAP tmp = CreateCompatibleBitmap(nullptr, f.Width, f.Height);
    if (!tmp) return 0;
    TView v = ViewOf(tmp->Surface);
    for (int y = 0; y < f.Height; ++y) {
        int row = f.TopDown ? y : f.Height - 1 - y;
        f.DecodeRow(static_cast<const Byte*>(bits) + size_t(row) * f.Stride, v.Data + size_t(y) * v.Stride);
    }
    cairo_surface_mark_dirty(tmp->Surface);
    if (f.Bpp == 32) tmp->AlphaChannel = true;
    HDC mem = CreateCompatibleDC(nullptr);
    SelectObject(mem, tmp);
    // Bottom-up DIBs measure the source origin from their lower-left corner.
    int top = f.TopDown ? ySrc : f.Height - ySrc - hSrc;
    BOOL ok = StretchCore(dc, xDest, yDest, wDest, hDest, mem, xSrc, top, wSrc, hSrc, rop, L"StretchDIBits");
    DeleteDC(mem);
    DeleteObject(tmp);
    return ok ? std::abs(hSrc) : 0;
}

int SetDIBitsToDevice(HDC dc, int xDest, int yDest, DWORD w, DWORD h, int xSrc, int ySrc, UINT startScan,
                      UINT lines, const void* bits, const BITMAPINFO* info, UINT usage)
{
    if (startScan != 0) return 0;
    (void)lines;
    return StretchDIBits(dc, xDest, yDest, int(w), int(h), xSrc, ySrc, int(w), int(h), bits, info, usage, SRCCOPY);
}
