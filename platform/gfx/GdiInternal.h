// Internals of the device-context layer shared by its sources; not for use
// outside platform/gfx.
#pragma once

#include <cairo.h>

#include <cmath>
#include <memory>
#include <vector>

#include "platform/gfx/Gdi.h"

struct TDCState {
    HPEN Pen = nullptr;
    HBRUSH Brush = nullptr;
    HFONT Font = nullptr;
    COLORREF BkColor = 0xFFFFFF;
    COLORREF TextColor = 0;
    int BkMode = OPAQUE;
    UINT TextAlign = 0;
    int Rop2 = R2_COPYPEN;
    int StretchMode = BLACKONWHITE;
    int PolyFillMode = ALTERNATE;
    COLORREF DCBrushColor = 0xFFFFFF;
    COLORREF DCPenColor = 0;
    TPoint BrushOrg;
    int MapMode = MM_TEXT;
    TPoint WinOrg, VpOrg;
    TSize WinExt{1, 1}, VpExt{1, 1};
    std::shared_ptr<TRegionData> Clip;   // device pixels relative to the DC origin
    TPoint PenPos;                       // logical
    int CharExtra = 0;
};

class TDeviceContext {
public:
    enum TKind { dkMemory, dkSurface, dkPrinter, dkInfo };

    explicit TDeviceContext(TKind kind);
    ~TDeviceContext();

    TKind Kind;
    HBITMAP Bitmap = nullptr;              // memory DCs
    cairo_surface_t* Surface = nullptr;    // surface and printer DCs (not owned)
    TPoint Origin;                         // device (0,0) in surface pixels
    TRect BaseClip{0, 0, 0, 0};            // in surface pixels
    int Dpi = 96;
    double VectorScale = 1.0;              // printer: surface units per device pixel
    TSize PageSize;                        // printer: page size in device pixels
    TDCState S;
    std::vector<TDCState> Saved;
    bool Recording = false;
    std::vector<TGdiRecord> Records;
    int Page = 0;
    HWND Window = nullptr;
    std::shared_ptr<void> PrinterJob;      // the printer unit's job data

    cairo_surface_t* Target() const;
    bool IsVector() const { return Kind == dkPrinter; }
    bool HasPixels() const { return Target() != nullptr && !IsVector(); }
    // Painting keeps the destination's alpha channel (32-bit DIBs) rather
    // than making pixels opaque.
    bool KeepsAlpha() const { return Kind == dkMemory && Bitmap && Bitmap->AlphaChannel; }
    bool IsMono() const { return Kind == dkMemory && Bitmap && Bitmap->BitsPerPixel == 1; }
    TRect TargetBounds() const;            // surface pixels

    // The effective clip in surface pixels (base clip, target bounds and the
    // DC's clip region).
    const TRegionData& EffectiveClip();
    void ClipChanged() { FClipValid = false; }

    // Coordinate mapping.
    double ScaleX() const { return double(S.VpExt.cx) / S.WinExt.cx; }
    double ScaleY() const { return double(S.VpExt.cy) / S.WinExt.cy; }
    double LtoDXf(double x) const { return (x - S.WinOrg.X) * ScaleX() + S.VpOrg.X; }
    double LtoDYf(double y) const { return (y - S.WinOrg.Y) * ScaleY() + S.VpOrg.Y; }
    int LtoDX(int x) const { return int(std::lround(LtoDXf(x))); }
    int LtoDY(int y) const { return int(std::lround(LtoDYf(y))); }
    double DtoLXf(double x) const { return (x - S.VpOrg.X) / ScaleX() + S.WinOrg.X; }
    double DtoLYf(double y) const { return (y - S.VpOrg.Y) / ScaleY() + S.WinOrg.Y; }
    // Logical point to surface pixels (device + origin).
    TPoint LtoS(int x, int y) const { return {LtoDX(x) + Origin.X, LtoDY(y) + Origin.Y}; }
    // A logical rectangle to surface pixels, normalised (left <= right).
    TRect LtoSRect(const TRect& r) const;
    TRect StoLRect(const TRect& r) const;
    // A logical length to device pixels (absolute, at least `minimum`).
    double LenX(double l) const { return std::fabs(l * ScaleX()); }
    double LenY(double l) const { return std::fabs(l * ScaleY()); }
    bool IsIdentityMapping() const;

    // Colours in effect.
    COLORREF PenColor() const;
    COLORREF BrushColor(HBRUSH b) const;

    // Cached cairo context for the layer's own drawing (surface pixel
    // coordinates, printer scale applied, no clip).
    cairo_t* Cairo();
    void DropCairo();
    // Applies the effective clip to cr (surface pixels).
    void ClipCairo(cairo_t* cr);

    void Record(TGdiRecord rec);

    void SelectInitial();
    void ReleaseState(TDCState& s);
    void RetainState(const TDCState& s);

private:
    TRegionData FClip;
    bool FClipValid = false;
    cairo_t* FCr = nullptr;
    cairo_surface_t* FCrTarget = nullptr;
};

// Keeps DIB sections whose bits live apart from their surface in step
// around a drawing call.
class TTargetGuard {
public:
    explicit TTargetGuard(HDC dc);
    ~TTargetGuard();
    TTargetGuard(const TTargetGuard&) = delete;
    TTargetGuard& operator=(const TTargetGuard&) = delete;

private:
    HBITMAP FBmp = nullptr;
};

// A read-only view of a source DC's pixels, kept in step likewise.
class TSourceGuard {
public:
    explicit TSourceGuard(HDC dc);
    ~TSourceGuard() = default;
};

bool GdiValidDC(HDC dc);
HBITMAP GdiStockBitmap();
HBITMAP GdiNewBitmap();
HRGN GdiNewRegion();
bool GdiValidObject(const void* obj);
HDC GdiCreatePrinterDC(cairo_surface_t* pdf, TSize pageSize, int dpi, double scale);

// A parsed DIB header with its colour table.
struct TDibFormat {
    int Width = 0, Height = 0;   // height positive
    bool TopDown = false;
    int Bpp = 0;
    DWORD Compression = BI_RGB;
    DWORD Masks[3] = {0, 0, 0};
    std::vector<RGBQUAD> Palette;
    int Stride = 0;
    bool Parse(const BITMAPINFO* info, UINT usage);
    // One DIB row (index in memory order) to ARGB pixels and back.
    void DecodeRow(const Byte* row, uint32_t* out) const;
    void EncodeRow(const uint32_t* in, Byte* row) const;
};
COLORREF GdiResolveColor(COLORREF c);   // system colours passed as COLORREF
inline uint32_t ColorToPixel(COLORREF c)
{
    return 0xFF000000u | (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c);
}
inline COLORREF PixelToColor(uint32_t p)
{
    return RGB(Byte(p >> 16), Byte(p >> 8), Byte(p));
}
inline void CairoSetColor(cairo_t* cr, COLORREF c, double alpha = 1.0)
{
    cairo_set_source_rgba(cr, GetRValue(c) / 255.0, GetGValue(c) / 255.0, GetBValue(c) / 255.0, alpha);
}

// Applies a binary raster op to 24-bit colours (alpha handled by caller).
inline uint32_t ApplyRop2(int rop, uint32_t pen, uint32_t dst)
{
    uint32_t code = uint32_t(rop - 1) & 0xF, r = 0;
    if (code & 1) r |= ~pen & ~dst;
    if (code & 2) r |= ~pen & dst;
    if (code & 4) r |= pen & ~dst;
    if (code & 8) r |= pen & dst;
    return r;
}
// Applies a ternary raster op (the op's truth table byte) to pattern, source, destination.
inline uint32_t ApplyRop3(uint32_t code, uint32_t p, uint32_t s, uint32_t d)
{
    uint32_t r = 0;
    for (int i = 0; i < 8; ++i) {
        if (!(code & (1u << i))) continue;
        uint32_t t = ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
        r |= t;
    }
    return r;
}

// The source colour of a brush at a surface pixel (for hatches and
// patterns); `paint` false means the pixel is left alone (hatch gaps with a
// transparent background).
struct TBrushSampler {
    TBrushSampler(HDC dc, HBRUSH brush);
    bool Solid = true;
    bool Empty = false;
    uint32_t Color = 0;
    uint32_t Sample(int x, int y, bool& paint) const;

private:
    HBRUSH FBrush;
    uint32_t FFore = 0, FBack = 0;
    bool FOpaque = true;
    int FOrgX = 0, FOrgY = 0;
    const uint32_t* FPat = nullptr;
    int FPatW = 0, FPatH = 0, FPatStride = 0;
};

// Pixel-level painting on image targets (surface pixels, clipped).
void PaintRects(HDC dc, const std::vector<TRect>& rects, const TBrushSampler& src, int rop);
void PaintPixels(HDC dc, const std::vector<TPoint>& pts, uint32_t color, int rop);
// Fills the path built by `build` (surface pixel coordinates) with the
// sampler and raster op, exact per pixel; strokes when lineWidth > 0.
void PaintPath(HDC dc, const std::function<void(cairo_t*)>& build, bool winding,
               const TBrushSampler& src, int rop, double lineWidth = 0,
               cairo_line_cap_t cap = CAIRO_LINE_CAP_ROUND,
               cairo_line_join_t join = CAIRO_LINE_JOIN_ROUND);

// Text internals shared with the canvas and the printer.
struct TFontMetricsInfo {
    int Ascent = 0, Descent = 0, Height = 0, InternalLeading = 0, ExternalLeading = 0;
    int AveCharWidth = 0, MaxCharWidth = 0;
};

TRegionData GdiPolygonRegion(const std::vector<std::vector<TPoint>>& polys, bool winding);
TRegionData GdiRoundRectRegion(TRect r, int w, int h);
