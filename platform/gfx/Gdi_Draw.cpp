// Drawing primitives with GDI's pixel rules. On image targets every pixel
// is painted once through the raster op, so XOR drawing is exactly
// reversible; on printer pages the same shapes go to cairo as vectors.
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/gfx/GdiInternal.h"

namespace {

struct TPixels {
    uint32_t* Data = nullptr;
    int Stride = 0;   // in pixels
    int W = 0, H = 0;
    uint32_t* At(int x, int y) const { return Data + size_t(y) * Stride + x; }
};

TPixels Lock(HDC dc)
{
    TPixels p;
    cairo_surface_t* s = dc->Target();
    if (!s || dc->IsVector()) return p;
    cairo_surface_flush(s);
    p.Data = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(s));
    p.Stride = cairo_image_surface_get_stride(s) / 4;
    p.W = cairo_image_surface_get_width(s);
    p.H = cairo_image_surface_get_height(s);
    return p;
}

void Unlock(HDC dc) { cairo_surface_mark_dirty(dc->Target()); }

bool CopyLikeRop(int rop)
{
    return rop == R2_COPYPEN || rop == R2_NOTCOPYPEN || rop == R2_BLACK || rop == R2_WHITE;
}

inline void PutPixel(uint32_t* d, uint32_t src, int rop, bool keepAlpha)
{
    uint32_t dst = *d;
    uint32_t rgb;
    if (rop == R2_COPYPEN) rgb = src & 0xFFFFFF;
    else rgb = ApplyRop2(rop, src, dst) & 0xFFFFFF;
    uint32_t a = (keepAlpha && !CopyLikeRop(rop)) ? (dst & 0xFF000000u) : 0xFF000000u;
    *d = a | rgb;
}

// Pen pixel patterns of the cosmetic styles (on, off, on, off ...).
const std::vector<int>& StylePattern(DWORD style)
{
    static const std::vector<int> dash{18, 6}, dot{3, 3}, dashdot{9, 6, 3, 6},
        dashdotdot{9, 3, 3, 3, 3, 3}, alternate{1, 1}, none;
    switch (style) {
    case PS_DASH: return dash;
    case PS_DOT: return dot;
    case PS_DASHDOT: return dashdot;
    case PS_DASHDOTDOT: return dashdotdot;
    case PS_ALTERNATE: return alternate;
    default: return none;
    }
}

// Walks a styled line pattern pixel by pixel.
struct TStyler {
    std::vector<int> Pattern;
    size_t Index = 0;
    int Left = 0;
    explicit TStyler(std::vector<int> p) : Pattern(std::move(p))
    {
        if (!Pattern.empty()) Left = Pattern[0];
    }
    // true = on
    bool Next()
    {
        if (Pattern.empty()) return true;
        while (Left <= 0) {
            Index = (Index + 1) % Pattern.size();
            Left = Pattern[Index];
        }
        --Left;
        return (Index % 2) == 0;
    }
};

// Bresenham from a to b, the end point excluded.
void LinePixels(TPoint a, TPoint b, const std::function<void(int, int)>& put)
{
    int dx = std::abs(b.X - a.X), dy = std::abs(b.Y - a.Y);
    int sx = a.X < b.X ? 1 : -1, sy = a.Y < b.Y ? 1 : -1;
    int x = a.X, y = a.Y;
    if (dx >= dy) {
        int err = dx / 2;
        for (int i = 0; i < dx; ++i) {
            put(x, y);
            x += sx;
            err -= dy;
            if (err < 0) { y += sy; err += dx; }
        }
    } else {
        int err = dy / 2;
        for (int i = 0; i < dy; ++i) {
            put(x, y);
            y += sy;
            err -= dx;
            if (err < 0) { x += sx; err += dy; }
        }
    }
}

}  // namespace

// ---------------------------------------------------------------------------
// Brush sampling
// ---------------------------------------------------------------------------

static bool HatchBit(int hatch, int x, int y)
{
    x &= 7;
    y &= 7;
    switch (hatch) {
    case HS_HORIZONTAL: return y == 4;
    case HS_VERTICAL: return x == 4;
    case HS_FDIAGONAL: return ((x - y) & 7) == 0;
    case HS_BDIAGONAL: return ((x + y) & 7) == 7;
    case HS_CROSS: return y == 4 || x == 4;
    case HS_DIAGCROSS: return ((x - y) & 7) == 0 || ((x + y) & 7) == 7;
    default: return false;
    }
}

TBrushSampler::TBrushSampler(HDC dc, HBRUSH brush) : FBrush(brush)
{
    if (!brush || brush->Style == BS_NULL) {
        Empty = true;
        return;
    }
    FOrgX = dc->S.BrushOrg.X + dc->Origin.X;
    FOrgY = dc->S.BrushOrg.Y + dc->Origin.Y;
    FOpaque = dc->S.BkMode == OPAQUE;
    if (brush->Style == BS_HATCHED) {
        Solid = false;
        FFore = ColorToPixel(dc->BrushColor(brush));
        FBack = ColorToPixel(dc->S.BkColor);
        Color = FFore;
    } else if (brush->Style == BS_PATTERN && brush->Pattern) {
        Solid = false;
        FOpaque = true;
        cairo_surface_flush(brush->Pattern);
        FPat = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(brush->Pattern));
        FPatW = cairo_image_surface_get_width(brush->Pattern);
        FPatH = cairo_image_surface_get_height(brush->Pattern);
        FPatStride = cairo_image_surface_get_stride(brush->Pattern) / 4;
        FFore = ColorToPixel(dc->S.TextColor);
        FBack = ColorToPixel(dc->S.BkColor);
        Color = FPatW > 0 ? FPat[0] : 0xFF000000u;
    } else {
        Color = ColorToPixel(dc->BrushColor(brush));
    }
}

uint32_t TBrushSampler::Sample(int x, int y, bool& paint) const
{
    paint = true;
    if (Solid) return Color;
    if (FPat) {
        if (FPatW <= 0 || FPatH <= 0) return Color;
        int px = ((x - FOrgX) % FPatW + FPatW) % FPatW, py = ((y - FOrgY) % FPatH + FPatH) % FPatH;
        uint32_t v = FPat[size_t(py) * FPatStride + px];
        if (FBrush->Monochrome) return (v & 0xFFFFFF) ? FBack : FFore;
        return v | 0xFF000000u;
    }
    if (HatchBit(FBrush->Hatch, x - FOrgX, y - FOrgY)) return FFore;
    paint = FOpaque;
    return FBack;
}

// A cairo source for a sampler on vector targets.
static void SetCairoSource(cairo_t* cr, HDC dc, const TBrushSampler& src, HBRUSH brush)
{
    uint32_t c = src.Color;
    cairo_set_source_rgb(cr, ((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0, (c & 0xFF) / 255.0);
    (void)dc;
    (void)brush;
}

// ---------------------------------------------------------------------------
// Painting on pixels
// ---------------------------------------------------------------------------

void PaintRects(HDC dc, const std::vector<TRect>& rects, const TBrushSampler& src, int rop)
{
    if (src.Empty || rop == R2_NOP || rects.empty() || !dc->Target()) return;
    const TRegionData& clip = dc->EffectiveClip();
    if (clip.IsEmpty()) return;
    if (dc->IsVector()) {
        cairo_t* cr = dc->Cairo();
        cairo_save(cr);
        dc->ClipCairo(cr);
        cairo_new_path(cr);
        for (auto& r : rects) cairo_rectangle(cr, r.Left, r.Top, r.Width(), r.Height());
        uint32_t c = rop == R2_BLACK ? 0 : rop == R2_WHITE ? 0xFFFFFF : rop == R2_NOTCOPYPEN ? ~src.Color : src.Color;
        cairo_set_source_rgb(cr, ((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0, (c & 0xFF) / 255.0);
        cairo_fill(cr);
        cairo_restore(cr);
        return;
    }
    TPixels px = Lock(dc);
    if (!px.Data) return;
    bool keep = dc->KeepsAlpha();
    bool fast = rop == R2_COPYPEN && src.Solid;
    uint32_t solid = src.Color | 0xFF000000u;
    for (const TRect& r0 : rects) {
        TRect box;
        if (!IntersectRect(box, r0, clip.Extents())) continue;
        for (const TRect& c : clip.Rects()) {
            if (c.Top >= box.Bottom) break;
            TRect t;
            if (!IntersectRect(t, box, c)) continue;
            for (int y = t.Top; y < t.Bottom; ++y) {
                uint32_t* row = px.At(0, y);
                if (fast) {
                    std::fill(row + t.Left, row + t.Right, solid);
                    continue;
                }
                for (int x = t.Left; x < t.Right; ++x) {
                    bool paint;
                    uint32_t s = src.Sample(x, y, paint);
                    if (paint) PutPixel(row + x, s, rop, keep);
                }
            }
        }
    }
    Unlock(dc);
}

void PaintPixels(HDC dc, const std::vector<TPoint>& pts, uint32_t color, int rop)
{
    if (pts.empty() || rop == R2_NOP || !dc->Target()) return;
    const TRegionData& clip = dc->EffectiveClip();
    if (clip.IsEmpty()) return;
    if (dc->IsVector()) {
        std::vector<TRect> rects;
        rects.reserve(pts.size());
        for (auto& p : pts) rects.push_back({p.X, p.Y, p.X + 1, p.Y + 1});
        TBrushSampler s(dc, nullptr);
        s.Empty = false;
        s.Color = color;
        PaintRects(dc, rects, s, rop);
        return;
    }
    TPixels px = Lock(dc);
    if (!px.Data) return;
    bool keep = dc->KeepsAlpha();
    for (auto& p : pts)
        if (clip.Contains(p.X, p.Y)) PutPixel(px.At(p.X, p.Y), color, rop, keep);
    Unlock(dc);
}

void PaintPath(HDC dc, const std::function<void(cairo_t*)>& build, bool winding,
               const TBrushSampler& src, int rop, double lineWidth, cairo_line_cap_t cap,
               cairo_line_join_t join)
{
    if (src.Empty || rop == R2_NOP) return;
    const TRegionData& clip = dc->EffectiveClip();
    if (clip.IsEmpty()) return;
    cairo_t* cr = dc->Cairo();
    if (!cr) return;
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_set_fill_rule(cr, winding ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
    cairo_set_line_width(cr, lineWidth);
    cairo_set_line_cap(cr, cap);
    cairo_set_line_join(cr, join);
    if (dc->IsVector()) {
        dc->ClipCairo(cr);
        build(cr);
        uint32_t c = rop == R2_BLACK ? 0 : rop == R2_WHITE ? 0xFFFFFF : rop == R2_NOTCOPYPEN ? ~src.Color : src.Color;
        cairo_set_source_rgb(cr, ((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0, (c & 0xFF) / 255.0);
        if (lineWidth > 0) cairo_stroke(cr);
        else cairo_fill(cr);
        cairo_restore(cr);
        return;
    }
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    if (rop == R2_COPYPEN && src.Solid) {
        dc->ClipCairo(cr);
        build(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        SetCairoSource(cr, dc, src, nullptr);
        if (lineWidth > 0) cairo_stroke(cr);
        else cairo_fill(cr);
        cairo_restore(cr);
        return;
    }
    // Exact raster op: rasterise into a mask, then paint each covered pixel once.
    build(cr);
    double x1, y1, x2, y2;
    if (lineWidth > 0) cairo_stroke_extents(cr, &x1, &y1, &x2, &y2);
    else cairo_fill_extents(cr, &x1, &y1, &x2, &y2);
    cairo_new_path(cr);
    cairo_restore(cr);
    TRect box{int(std::floor(x1)) - 1, int(std::floor(y1)) - 1, int(std::ceil(x2)) + 1, int(std::ceil(y2)) + 1};
    if (!IntersectRect(box, box, clip.Extents())) return;
    cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, box.Width(), box.Height());
    cairo_t* mc = cairo_create(mask);
    cairo_set_antialias(mc, CAIRO_ANTIALIAS_NONE);
    cairo_translate(mc, -box.Left, -box.Top);
    cairo_set_fill_rule(mc, winding ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
    cairo_set_line_width(mc, lineWidth);
    cairo_set_line_cap(mc, cap);
    cairo_set_line_join(mc, join);
    dc->ClipCairo(mc);
    build(mc);
    cairo_set_source_rgba(mc, 0, 0, 0, 1);
    if (lineWidth > 0) cairo_stroke(mc);
    else cairo_fill(mc);
    cairo_destroy(mc);
    cairo_surface_flush(mask);
    const Byte* m = cairo_image_surface_get_data(mask);
    int ms = cairo_image_surface_get_stride(mask);
    TPixels px = Lock(dc);
    bool keep = dc->KeepsAlpha();
    for (int y = 0; y < box.Height(); ++y)
        for (int x = 0; x < box.Width(); ++x) {
            if (!m[size_t(y) * ms + x]) continue;
            int sx = box.Left + x, sy = box.Top + y;
            bool paint;
            uint32_t s = src.Sample(sx, sy, paint);
            if (paint) PutPixel(px.At(sx, sy), s, rop, keep);
        }
    Unlock(dc);
    cairo_surface_destroy(mask);
}

// ---------------------------------------------------------------------------
// Pens
// ---------------------------------------------------------------------------

namespace {

struct TPenInfo {
    bool Null = false;
    int Width = 1;          // device pixels
    DWORD Line = PS_SOLID;
    uint32_t Color = 0;
    cairo_line_cap_t Cap = CAIRO_LINE_CAP_ROUND;
    cairo_line_join_t Join = CAIRO_LINE_JOIN_ROUND;
    bool InsideFrame = false;
    std::vector<int> Pattern;
};

TPenInfo PenOf(HDC dc)
{
    TPenInfo p;
    HPEN pen = dc->S.Pen;
    if (!pen || pen->LineStyle() == PS_NULL) {
        p.Null = true;
        return p;
    }
    p.Color = ColorToPixel(dc->PenColor());
    p.Line = pen->LineStyle();
    p.InsideFrame = p.Line == PS_INSIDEFRAME;
    bool geometric = (pen->Style & PS_TYPE_MASK) == PS_GEOMETRIC;
    double w = pen->Width <= 0 ? 1.0 : dc->LenX(pen->Width);
    p.Width = std::max(1, int(std::lround(w)));
    if (geometric) {
        DWORD cap = pen->Style & PS_ENDCAP_MASK, join = pen->Style & PS_JOIN_MASK;
        p.Cap = cap == PS_ENDCAP_SQUARE ? CAIRO_LINE_CAP_SQUARE : cap == PS_ENDCAP_FLAT ? CAIRO_LINE_CAP_BUTT : CAIRO_LINE_CAP_ROUND;
        p.Join = join == PS_JOIN_BEVEL ? CAIRO_LINE_JOIN_BEVEL : join == PS_JOIN_MITER ? CAIRO_LINE_JOIN_MITER : CAIRO_LINE_JOIN_ROUND;
    }
    if (p.Line == PS_USERSTYLE)
        for (DWORD v : pen->UserStyle) p.Pattern.push_back(int(std::max<DWORD>(1, v)));
    else p.Pattern = StylePattern(p.Line);
    if (p.Width > 1 && !geometric) p.Pattern.clear();   // wide cosmetic pens draw solid
    return p;
}

// Draws a polyline of surface points with the DC's pen.
void StrokePolyline(HDC dc, const std::vector<TPoint>& pts, bool closed)
{
    TPenInfo pen = PenOf(dc);
    if (pen.Null || pts.size() < 2) return;
    int rop = dc->S.Rop2;
    if (pen.Width <= 1 && !dc->IsVector()) {
        TStyler st(pen.Pattern);
        std::vector<TPoint> on, off;
        auto put = [&](int x, int y) {
            if (st.Next()) on.push_back({x, y});
            else off.push_back({x, y});
        };
        for (size_t i = 0; i + 1 < pts.size(); ++i) LinePixels(pts[i], pts[i + 1], put);
        if (closed) LinePixels(pts.back(), pts.front(), put);
        PaintPixels(dc, on, pen.Color, rop);
        if (dc->S.BkMode == OPAQUE && !off.empty()) PaintPixels(dc, off, ColorToPixel(dc->S.BkColor), rop);
        return;
    }
    TBrushSampler s(dc, nullptr);
    s.Empty = false;
    s.Color = pen.Color;
    auto build = [&](cairo_t* cr) {
        cairo_move_to(cr, pts[0].X + 0.5, pts[0].Y + 0.5);
        for (size_t i = 1; i < pts.size(); ++i) cairo_line_to(cr, pts[i].X + 0.5, pts[i].Y + 0.5);
        if (closed) cairo_close_path(cr);
        if (!pen.Pattern.empty() && dc->IsVector()) {
            std::vector<double> d(pen.Pattern.begin(), pen.Pattern.end());
            cairo_set_dash(cr, d.data(), int(d.size()), 0);
        }
    };
    PaintPath(dc, build, true, s, rop, pen.Width, pen.Cap, pen.Join);
}

// Strokes an arbitrary closed or open cairo path with the pen.
void StrokeShape(HDC dc, const std::function<void(cairo_t*)>& path)
{
    TPenInfo pen = PenOf(dc);
    if (pen.Null) return;
    TBrushSampler s(dc, nullptr);
    s.Empty = false;
    s.Color = pen.Color;
    PaintPath(dc, path, true, s, dc->S.Rop2, pen.Width, pen.Cap, pen.Join);
}

void FillShape(HDC dc, const std::function<void(cairo_t*)>& path, bool winding = true)
{
    TBrushSampler s(dc, dc->S.Brush);
    PaintPath(dc, path, winding, s, dc->S.Rop2);
}

COLORREF RecordBrushColor(HDC dc)
{
    HBRUSH b = dc->S.Brush;
    if (!b || b->Style == BS_NULL) return CLR_NONE;
    return dc->BrushColor(b);
}
COLORREF RecordPenColor(HDC dc)
{
    if (!dc->S.Pen || dc->S.Pen->LineStyle() == PS_NULL) return CLR_NONE;
    return dc->PenColor();
}

TRect DevRect(HDC dc, int l, int t, int r, int b)
{
    TRect s = dc->LtoSRect({l, t, r, b});
    OffsetRect(s, -dc->Origin.X, -dc->Origin.Y);
    return s;
}

TPoint DevPoint(HDC dc, int x, int y) { return {dc->LtoDX(x), dc->LtoDY(y)}; }

HBRUSH ResolveBrush(HBRUSH b)
{
    uintptr_t v = reinterpret_cast<uintptr_t>(b);
    if (v > 0 && v <= uintptr_t(SYS_COLOR_COUNT)) return GetSysColorBrush(int(v - 1));
    return b;
}

}  // namespace

// ---------------------------------------------------------------------------
// Lines
// ---------------------------------------------------------------------------

BOOL MoveToEx(HDC dc, int x, int y, POINT* old)
{
    if (!dc) return 0;
    if (old) *old = dc->S.PenPos;
    dc->S.PenPos = {x, y};
    return 1;
}

BOOL GetCurrentPositionEx(HDC dc, POINT* pt)
{
    if (!dc || !pt) return 0;
    *pt = dc->S.PenPos;
    return 1;
}

BOOL LineTo(HDC dc, int x, int y)
{
    if (!dc) return 0;
    TTargetGuard g(dc);
    TPoint from = dc->S.PenPos;
    dc->Record({L"LineTo", {}, {DevPoint(dc, from.X, from.Y), DevPoint(dc, x, y)}, RecordPenColor(dc), 0, {}, UINT(dc->S.Rop2)});
    StrokePolyline(dc, {dc->LtoS(from.X, from.Y), dc->LtoS(x, y)}, false);
    dc->S.PenPos = {x, y};
    return 1;
}

static void RecordPoints(HDC dc, const wchar_t* kind, const POINT* pts, int count, COLORREF bk)
{
    if (!dc->Recording) return;
    TGdiRecord r{kind, {}, {}, RecordPenColor(dc), bk, {}, UINT(dc->S.Rop2)};
    for (int i = 0; i < count; ++i) r.Points.push_back(DevPoint(dc, pts[i].X, pts[i].Y));
    dc->Record(std::move(r));
}

BOOL Polyline(HDC dc, const POINT* pts, int count)
{
    if (!dc || !pts || count < 2) return 0;
    TTargetGuard g(dc);
    RecordPoints(dc, L"Polyline", pts, count, 0);
    std::vector<TPoint> s;
    for (int i = 0; i < count; ++i) s.push_back(dc->LtoS(pts[i].X, pts[i].Y));
    StrokePolyline(dc, s, false);
    return 1;
}

BOOL PolylineTo(HDC dc, const POINT* pts, int count)
{
    if (!dc || !pts || count < 1) return 0;
    std::vector<POINT> v{dc->S.PenPos};
    v.insert(v.end(), pts, pts + count);
    BOOL r = Polyline(dc, v.data(), int(v.size()));
    dc->S.PenPos = pts[count - 1];
    return r;
}

BOOL PolyPolyline(HDC dc, const POINT* pts, const DWORD* counts, DWORD polys)
{
    if (!dc || !pts || !counts) return 0;
    const POINT* p = pts;
    for (DWORD i = 0; i < polys; ++i) {
        if (counts[i] >= 2) Polyline(dc, p, int(counts[i]));
        p += counts[i];
    }
    return 1;
}

// ---------------------------------------------------------------------------
// Closed shapes
// ---------------------------------------------------------------------------

BOOL PolyPolygon(HDC dc, const POINT* pts, const int* counts, int polys)
{
    if (!dc || !pts || !counts || polys <= 0) return 0;
    TTargetGuard g(dc);
    std::vector<std::vector<TPoint>> sp;
    const POINT* p = pts;
    for (int i = 0; i < polys; ++i) {
        if (counts[i] < 0) return 0;
        std::vector<TPoint> v;
        for (int k = 0; k < counts[i]; ++k) v.push_back(dc->LtoS(p[k].X, p[k].Y));
        RecordPoints(dc, L"Polygon", p, counts[i], RecordBrushColor(dc));
        p += counts[i];
        sp.push_back(std::move(v));
    }
    bool winding = dc->S.PolyFillMode == WINDING;
    FillShape(dc, [&](cairo_t* cr) {
        for (auto& v : sp) {
            if (v.size() < 2) continue;
            cairo_move_to(cr, v[0].X, v[0].Y);
            for (size_t k = 1; k < v.size(); ++k) cairo_line_to(cr, v[k].X, v[k].Y);
            cairo_close_path(cr);
        }
    }, winding);
    for (auto& v : sp)
        if (v.size() >= 2) StrokePolyline(dc, v, true);
    return 1;
}

BOOL Polygon(HDC dc, const POINT* pts, int count)
{
    if (count < 2) return 0;
    return PolyPolygon(dc, pts, &count, 1);
}

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom)
{
    if (!dc) return 0;
    TTargetGuard g(dc);
    dc->Record({L"Rectangle", DevRect(dc, left, top, right, bottom), {}, RecordPenColor(dc), RecordBrushColor(dc), {}, UINT(dc->S.Rop2)});
    TRect r = dc->LtoSRect({left, top, right, bottom});
    if (r.Width() <= 0 || r.Height() <= 0) return 1;
    TPenInfo pen = PenOf(dc);
    TBrushSampler brush(dc, dc->S.Brush);
    int rop = dc->S.Rop2;
    if (pen.Null) {
        PaintRects(dc, {{r.Left, r.Top, r.Right - 1, r.Bottom - 1}}, brush, rop);
        return 1;
    }
    if (pen.Width <= 1 && pen.Pattern.empty() && rop == R2_COPYPEN && brush.Solid && !brush.Empty &&
        brush.Color == pen.Color && !dc->IsVector() && !dc->KeepsAlpha() && (r.Width() > 1 || r.Height() > 1)) {
        // Frame and inside in one colour (gradient bands, filled cells): the
        // same pixels as the steps below (a rectangle at most two pixels
        // across is all frame; a single pixel's frame draws nothing), in
        // one fill.
        PaintRects(dc, {r}, brush, rop);
        return 1;
    }
    if (pen.Width <= 1) {
        if (r.Width() > 2 && r.Height() > 2) PaintRects(dc, {{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1}}, brush, rop);
        StrokePolyline(dc, {{r.Left, r.Top}, {r.Right - 1, r.Top}, {r.Right - 1, r.Bottom - 1}, {r.Left, r.Bottom - 1}}, true);
        return 1;
    }
    double w = pen.Width;
    double x0 = r.Left + 0.5, y0 = r.Top + 0.5, x1 = r.Right - 0.5, y1 = r.Bottom - 0.5;
    if (pen.InsideFrame) {
        x0 = r.Left + w / 2;
        y0 = r.Top + w / 2;
        x1 = r.Right - w / 2;
        y1 = r.Bottom - w / 2;
    }
    int inner = pen.InsideFrame ? pen.Width : 1;
    if (r.Width() > 2 * inner && r.Height() > 2 * inner)
        PaintRects(dc, {{r.Left + inner, r.Top + inner, r.Right - inner, r.Bottom - inner}}, brush, rop);
    StrokeShape(dc, [&](cairo_t* cr) {
        cairo_rectangle(cr, x0, y0, std::max(0.0, x1 - x0), std::max(0.0, y1 - y0));
    });
    return 1;
}

static void RoundRectPath(cairo_t* cr, double x0, double y0, double x1, double y1, double rx, double ry)
{
    rx = std::min(rx, (x1 - x0) / 2);
    ry = std::min(ry, (y1 - y0) / 2);
    if (rx <= 0 || ry <= 0) {
        cairo_rectangle(cr, x0, y0, x1 - x0, y1 - y0);
        return;
    }
    auto corner = [&](double cx, double cy, double a0, double a1) {
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_scale(cr, rx, ry);
        cairo_arc(cr, 0, 0, 1, a0, a1);
        cairo_restore(cr);
    };
    cairo_new_sub_path(cr);
    corner(x1 - rx, y0 + ry, -M_PI / 2, 0);
    corner(x1 - rx, y1 - ry, 0, M_PI / 2);
    corner(x0 + rx, y1 - ry, M_PI / 2, M_PI);
    corner(x0 + rx, y0 + ry, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

static void EllipsePath(cairo_t* cr, double x0, double y0, double x1, double y1)
{
    double rx = (x1 - x0) / 2, ry = (y1 - y0) / 2;
    if (rx <= 0 || ry <= 0) return;
    cairo_save(cr);
    cairo_translate(cr, x0 + rx, y0 + ry);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_close_path(cr);
    cairo_restore(cr);
}

BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int width, int height)
{
    if (!dc) return 0;
    TTargetGuard g(dc);
    dc->Record({L"RoundRect", DevRect(dc, left, top, right, bottom), {{int(std::lround(dc->LenX(width))), int(std::lround(dc->LenY(height)))}}, RecordPenColor(dc), RecordBrushColor(dc), {}, UINT(dc->S.Rop2)});
    TRect r = dc->LtoSRect({left, top, right, bottom});
    if (r.Width() <= 0 || r.Height() <= 0) return 1;
    double rx = dc->LenX(width) / 2, ry = dc->LenY(height) / 2;
    TPenInfo pen = PenOf(dc);
    double in = pen.Null ? 0 : (pen.InsideFrame ? pen.Width / 2.0 : 0.5);
    FillShape(dc, [&](cairo_t* cr) { RoundRectPath(cr, r.Left + in, r.Top + in, r.Right - in, r.Bottom - in, rx, ry); });
    StrokeShape(dc, [&](cairo_t* cr) { RoundRectPath(cr, r.Left + in, r.Top + in, r.Right - in, r.Bottom - in, rx, ry); });
    return 1;
}

BOOL Ellipse(HDC dc, int left, int top, int right, int bottom)
{
    if (!dc) return 0;
    TTargetGuard g(dc);
    dc->Record({L"Ellipse", DevRect(dc, left, top, right, bottom), {}, RecordPenColor(dc), RecordBrushColor(dc), {}, UINT(dc->S.Rop2)});
    TRect r = dc->LtoSRect({left, top, right, bottom});
    if (r.Width() <= 0 || r.Height() <= 0) return 1;
    TPenInfo pen = PenOf(dc);
    double in = pen.Null ? 0 : (pen.InsideFrame ? pen.Width / 2.0 : 0.5);
    FillShape(dc, [&](cairo_t* cr) { EllipsePath(cr, r.Left + in, r.Top + in, r.Right - in, r.Bottom - in); });
    StrokeShape(dc, [&](cairo_t* cr) { EllipsePath(cr, r.Left + in, r.Top + in, r.Right - in, r.Bottom - in); });
    return 1;
}

namespace {
enum TArcKind { akArc, akPie, akChord };

BOOL ArcShape(HDC dc, TArcKind kind, int left, int top, int right, int bottom, int xs, int ys, int xe, int ye)
{
    if (!dc) return 0;
    TTargetGuard g(dc);
    static const wchar_t* names[] = {L"Arc", L"Pie", L"Chord"};
    dc->Record({names[kind], DevRect(dc, left, top, right, bottom), {DevPoint(dc, xs, ys), DevPoint(dc, xe, ye)}, RecordPenColor(dc), kind == akArc ? CLR_NONE : RecordBrushColor(dc), {}, UINT(dc->S.Rop2)});
    TRect r = dc->LtoSRect({left, top, right, bottom});
    if (r.Width() <= 0 || r.Height() <= 0) return 1;
    TPoint s = dc->LtoS(xs, ys), e = dc->LtoS(xe, ye);
    double x0 = r.Left + 0.5, y0 = r.Top + 0.5, x1 = r.Right - 0.5, y1 = r.Bottom - 0.5;
    double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2, rx = (x1 - x0) / 2, ry = (y1 - y0) / 2;
    if (rx <= 0 || ry <= 0) return 1;
    double a0 = std::atan2((s.Y + 0.5 - cy) / ry, (s.X + 0.5 - cx) / rx);
    double a1 = std::atan2((e.Y + 0.5 - cy) / ry, (e.X + 0.5 - cx) / rx);
    // Counter-clockwise on the screen: decreasing angles with y pointing down.
    if (a1 >= a0) a1 -= 2 * M_PI;
    auto path = [&](cairo_t* cr, bool close) {
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_scale(cr, rx, ry);
        cairo_new_sub_path(cr);
        if (kind == akPie && close) cairo_move_to(cr, 0, 0);
        cairo_arc_negative(cr, 0, 0, 1, a0, a1);
        if (kind == akPie && close) cairo_line_to(cr, 0, 0);
        if (close && kind != akArc) cairo_close_path(cr);
        cairo_restore(cr);
    };
    if (kind != akArc) FillShape(dc, [&](cairo_t* cr) { path(cr, true); });
    StrokeShape(dc, [&](cairo_t* cr) { path(cr, kind != akArc); });
    return 1;
}
}  // namespace

BOOL Arc(HDC dc, int l, int t, int r, int b, int xs, int ys, int xe, int ye)
{
    return ArcShape(dc, akArc, l, t, r, b, xs, ys, xe, ye);
}
BOOL ArcTo(HDC dc, int l, int t, int r, int b, int xs, int ys, int xe, int ye)
{
    BOOL ok = ArcShape(dc, akArc, l, t, r, b, xs, ys, xe, ye);
    if (ok) dc->S.PenPos = {xe, ye};
    return ok;
}
BOOL Pie(HDC dc, int l, int t, int r, int b, int xs, int ys, int xe, int ye)
{
    return ArcShape(dc, akPie, l, t, r, b, xs, ys, xe, ye);
}
BOOL Chord(HDC dc, int l, int t, int r, int b, int xs, int ys, int xe, int ye)
{
    return ArcShape(dc, akChord, l, t, r, b, xs, ys, xe, ye);
}

// ---------------------------------------------------------------------------
// Rectangles with brushes
// ---------------------------------------------------------------------------

int FillRect(HDC dc, const RECT* rect, HBRUSH brush)
{
    brush = ResolveBrush(brush);
    if (!dc || !rect || !brush) return 0;
    TTargetGuard g(dc);
    dc->Record({L"FillRect", DevRect(dc, rect->Left, rect->Top, rect->Right, rect->Bottom), {}, brush->Style == BS_NULL ? CLR_NONE : dc->BrushColor(brush), 0, {}, 0});
    TRect r = dc->LtoSRect(*rect);
    if (IsRectEmpty(r)) return 1;
    PaintRects(dc, {r}, TBrushSampler(dc, brush), R2_COPYPEN);
    return 1;
}

int FrameRect(HDC dc, const RECT* rect, HBRUSH brush)
{
    brush = ResolveBrush(brush);
    if (!dc || !rect || !brush) return 0;
    TTargetGuard g(dc);
    dc->Record({L"FrameRect", DevRect(dc, rect->Left, rect->Top, rect->Right, rect->Bottom), {}, dc->BrushColor(brush), 0, {}, 0});
    TRect r = dc->LtoSRect(*rect);
    if (IsRectEmpty(r)) return 1;
    int w = std::max(1, int(std::lround(dc->LenX(1)))), h = std::max(1, int(std::lround(dc->LenY(1))));
    std::vector<TRect> parts{{r.Left, r.Top, r.Right, std::min(r.Bottom, r.Top + h)},
                             {r.Left, std::max(r.Top, r.Bottom - h), r.Right, r.Bottom}};
    if (r.Height() > 2 * h) {
        parts.push_back({r.Left, r.Top + h, std::min(r.Right, r.Left + w), r.Bottom - h});
        parts.push_back({std::max(r.Left, r.Right - w), r.Top + h, r.Right, r.Bottom - h});
    }
    PaintRects(dc, parts, TBrushSampler(dc, brush), R2_COPYPEN);
    return 1;
}

BOOL InvertRect(HDC dc, const RECT* rect)
{
    if (!dc || !rect) return 0;
    TTargetGuard g(dc);
    TRect r = dc->LtoSRect(*rect);
    TBrushSampler s(dc, nullptr);
    s.Empty = false;
    s.Color = 0xFFFFFF;
    PaintRects(dc, {r}, s, R2_NOT);
    return 1;
}

BOOL DrawFocusRect(HDC dc, const RECT* rect)
{
    if (!dc || !rect) return 0;
    TTargetGuard g(dc);
    dc->Record({L"DrawFocusRect", DevRect(dc, rect->Left, rect->Top, rect->Right, rect->Bottom), {}, 0, 0, {}, 0});
    TRect r = dc->LtoSRect(*rect);
    if (IsRectEmpty(r)) return 1;
    // A checkerboard of XOR-ed pixels along the one-pixel frame: drawing it
    // again removes it.
    std::vector<TPoint> pts;
    auto add = [&](int x, int y) {
        if (((x + y) & 1) == 0) pts.push_back({x, y});
    };
    for (int x = r.Left; x < r.Right; ++x) {
        add(x, r.Top);
        if (r.Bottom - 1 > r.Top) add(x, r.Bottom - 1);
    }
    for (int y = r.Top + 1; y < r.Bottom - 1; ++y) {
        add(r.Left, y);
        if (r.Right - 1 > r.Left) add(r.Right - 1, y);
    }
    PaintPixels(dc, pts, 0xFFFFFF, R2_XORPEN);
    return 1;
}

// ---------------------------------------------------------------------------
// Pixels and flood fill
// ---------------------------------------------------------------------------

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color)
{
    if (!dc) return CLR_INVALID;
    TTargetGuard g(dc);
    COLORREF c = GdiResolveColor(color);
    TPoint p = dc->LtoS(x, y);
    if (!dc->EffectiveClip().Contains(p.X, p.Y)) return CLR_INVALID;
    PaintPixels(dc, {p}, ColorToPixel(c), R2_COPYPEN);
    return c;
}

BOOL SetPixelV(HDC dc, int x, int y, COLORREF color) { return SetPixel(dc, x, y, color) != CLR_INVALID; }

COLORREF GetPixel(HDC dc, int x, int y)
{
    if (!dc || !dc->HasPixels()) return CLR_INVALID;
    TSourceGuard g(dc);
    TPoint p = dc->LtoS(x, y);
    if (!dc->EffectiveClip().Contains(p.X, p.Y)) return CLR_INVALID;
    TPixels px = Lock(dc);
    return PixelToColor(*px.At(p.X, p.Y));
}

BOOL FloodFill(HDC dc, int x, int y, COLORREF color) { return ExtFloodFill(dc, x, y, color, FLOODFILLBORDER); }

BOOL ExtFloodFill(HDC dc, int x, int y, COLORREF color, UINT type)
{
    if (!dc || !dc->HasPixels()) return 0;
    TTargetGuard g(dc);
    TPoint p = dc->LtoS(x, y);
    const TRegionData& clip = dc->EffectiveClip();
    if (!clip.Contains(p.X, p.Y)) return 0;
    dc->Record({L"FloodFill", {p.X - dc->Origin.X, p.Y - dc->Origin.Y, p.X - dc->Origin.X, p.Y - dc->Origin.Y}, {}, GdiResolveColor(color), RecordBrushColor(dc), {}, type});
    TPixels px = Lock(dc);
    uint32_t ref = ColorToPixel(GdiResolveColor(color)) & 0xFFFFFF;
    bool border = type == FLOODFILLBORDER;
    auto match = [&](int xx, int yy) {
        uint32_t c = *px.At(xx, yy) & 0xFFFFFF;
        return border ? c != ref : c == ref;
    };
    if (!match(p.X, p.Y)) return 0;
    TRect box = clip.Extents();
    int bw = box.Width();
    std::vector<uint8_t> seen(size_t(bw) * box.Height(), 0);
    std::vector<TPoint> stack{p};
    std::vector<TRect> spans;
    while (!stack.empty()) {
        TPoint q = stack.back();
        stack.pop_back();
        if (seen[size_t(q.Y - box.Top) * bw + (q.X - box.Left)]) continue;
        int x0 = q.X, x1 = q.X;
        auto ok = [&](int xx, int yy) {
            return xx >= box.Left && xx < box.Right && !seen[size_t(yy - box.Top) * bw + (xx - box.Left)] &&
                   clip.Contains(xx, yy) && match(xx, yy);
        };
        while (ok(x0 - 1, q.Y)) --x0;
        while (ok(x1 + 1, q.Y)) ++x1;
        for (int xx = x0; xx <= x1; ++xx) seen[size_t(q.Y - box.Top) * bw + (xx - box.Left)] = 1;
        spans.push_back({x0, q.Y, x1 + 1, q.Y + 1});
        for (int dy : {-1, 1}) {
            int ny = q.Y + dy;
            if (ny < box.Top || ny >= box.Bottom) continue;
            bool run = false;
            for (int xx = x0; xx <= x1; ++xx) {
                if (ok(xx, ny)) {
                    if (!run) stack.push_back({xx, ny});
                    run = true;
                } else run = false;
            }
        }
    }
    PaintRects(dc, spans, TBrushSampler(dc, dc->S.Brush), R2_COPYPEN);
    return 1;
}

// ---------------------------------------------------------------------------
// Gradients
// ---------------------------------------------------------------------------

BOOL GradientFill(HDC dc, const TRIVERTEX* v, UINT nv, const void* mesh, UINT nMesh, DWORD mode)
{
    if (!dc || !v || !mesh) return 0;
    if (mode != GRADIENT_FILL_RECT_H && mode != GRADIENT_FILL_RECT_V) return 0;
    TTargetGuard g(dc);
    const auto* rects = static_cast<const GRADIENT_RECT*>(mesh);
    for (UINT i = 0; i < nMesh; ++i) {
        if (rects[i].UpperLeft >= nv || rects[i].LowerRight >= nv) return 0;
        const TRIVERTEX& a = v[rects[i].UpperLeft];
        const TRIVERTEX& b = v[rects[i].LowerRight];
        TRect r = dc->LtoSRect({a.x, a.y, b.x, b.y});
        dc->Record({L"GradientFill", DevRect(dc, a.x, a.y, b.x, b.y), {}, RGB(a.Red >> 8, a.Green >> 8, a.Blue >> 8), RGB(b.Red >> 8, b.Green >> 8, b.Blue >> 8), {}, mode});
        if (IsRectEmpty(r)) continue;
        // The colour runs from the first vertex's colour to the second's along the axis.
        bool horiz = mode == GRADIENT_FILL_RECT_H;
        bool firstLeft = horiz ? (dc->LtoDX(a.x) <= dc->LtoDX(b.x)) : (dc->LtoDY(a.y) <= dc->LtoDY(b.y));
        const TRIVERTEX& s = firstLeft ? a : b;
        const TRIVERTEX& e = firstLeft ? b : a;
        int n = horiz ? r.Width() : r.Height();
        std::vector<TRect> one(1);
        for (int k = 0; k < n; ++k) {
            double t = n > 1 ? double(k) / (n - 1) : 0;
            auto mix = [&](COLOR16 c0, COLOR16 c1) { return Byte(std::lround((c0 + (double(c1) - c0) * t) / 256.0) > 255 ? 255 : std::lround((c0 + (double(c1) - c0) * t) / 256.0)); };
            TBrushSampler smp(dc, nullptr);
            smp.Empty = false;
            smp.Color = ColorToPixel(RGB(mix(s.Red, e.Red), mix(s.Green, e.Green), mix(s.Blue, e.Blue)));
            one[0] = horiz ? TRect{r.Left + k, r.Top, r.Left + k + 1, r.Bottom} : TRect{r.Left, r.Top + k, r.Right, r.Top + k + 1};
            PaintRects(dc, one, smp, R2_COPYPEN);
        }
    }
    return 1;
}

// ---------------------------------------------------------------------------
// Regions painted with brushes
// ---------------------------------------------------------------------------

static std::vector<TRect> RegionToSurface(HDC dc, const TRegionData& rgn)
{
    std::vector<TRect> out;
    out.reserve(rgn.Rects().size());
    for (const TRect& r : rgn.Rects()) out.push_back(dc->LtoSRect(r));
    return out;
}

BOOL FillRgn(HDC dc, HRGN rgn, HBRUSH brush)
{
    brush = ResolveBrush(brush);
    if (!dc || !rgn || !brush) return 0;
    TTargetGuard g(dc);
    dc->Record({L"FillRgn", DevRect(dc, rgn->Data.Extents().Left, rgn->Data.Extents().Top, rgn->Data.Extents().Right, rgn->Data.Extents().Bottom), {}, dc->BrushColor(brush), 0, {}, 0});
    PaintRects(dc, RegionToSurface(dc, rgn->Data), TBrushSampler(dc, brush), R2_COPYPEN);
    return 1;
}

BOOL PaintRgn(HDC dc, HRGN rgn) { return dc ? FillRgn(dc, rgn, dc->S.Brush) : 0; }

BOOL InvertRgn(HDC dc, HRGN rgn)
{
    if (!dc || !rgn) return 0;
    TTargetGuard g(dc);
    TBrushSampler s(dc, nullptr);
    s.Empty = false;
    PaintRects(dc, RegionToSurface(dc, rgn->Data), s, R2_NOT);
    return 1;
}

BOOL FrameRgn(HDC dc, HRGN rgn, HBRUSH brush, int w, int h)
{
    brush = ResolveBrush(brush);
    if (!dc || !rgn || !brush || w < 0 || h < 0) return 0;
    TTargetGuard g(dc);
    // The frame is the region minus the region shrunk by w, h on every side.
    const TRegionData& src = rgn->Data;
    TRegionData inner = src;
    for (int dx : {-w, w}) {
        TRegionData t = src;
        t.Offset(dx, 0);
        inner.Intersect(t);
    }
    for (int dy : {-h, h}) {
        TRegionData t = src;
        t.Offset(0, dy);
        inner.Intersect(t);
    }
    TRegionData frame = src;
    frame.Subtract(inner);
    PaintRects(dc, RegionToSurface(dc, frame), TBrushSampler(dc, brush), R2_COPYPEN);
    return 1;
}
