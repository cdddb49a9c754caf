// Regions as banded rectangle lists, their combination, and clipping.
#include <algorithm>
#include <cmath>

#include "platform/gfx/GdiInternal.h"

namespace {

using TSpans = std::vector<std::pair<int, int>>;

struct TBand {
    int Top, Bottom;
    TSpans Spans;
};

std::vector<TBand> BandsOf(const std::vector<TRect>& rects)
{
    std::vector<TBand> bands;
    for (const TRect& r : rects) {
        if (bands.empty() || bands.back().Top != r.Top || bands.back().Bottom != r.Bottom)
            bands.push_back({r.Top, r.Bottom, {}});
        bands.back().Spans.push_back({r.Left, r.Right});
    }
    return bands;
}

void MergeSpans(TSpans& s)
{
    std::sort(s.begin(), s.end());
    TSpans out;
    for (auto& p : s) {
        if (p.first >= p.second) continue;
        if (!out.empty() && p.first <= out.back().second) out.back().second = std::max(out.back().second, p.second);
        else out.push_back(p);
    }
    s.swap(out);
}

TSpans CombineSpans(const TSpans& a, const TSpans& b, int mode)
{
    std::vector<std::pair<int, int>> ev;   // x, +1/-1 for a (bit 0) and b (bit 1)
    ev.reserve((a.size() + b.size()) * 2);
    for (auto& p : a) { ev.push_back({p.first, 1}); ev.push_back({p.second, -1}); }
    for (auto& p : b) { ev.push_back({p.first, 2}); ev.push_back({p.second, -2}); }
    std::sort(ev.begin(), ev.end());
    TSpans out;
    int ina = 0, inb = 0;
    auto inside = [&]() {
        bool A = ina > 0, B = inb > 0;
        switch (mode) {
        case RGN_AND: return A && B;
        case RGN_OR: return A || B;
        case RGN_XOR: return A != B;
        case RGN_DIFF: return A && !B;
        default: return A;
        }
    };
    size_t i = 0;
    bool was = false;
    int start = 0;
    while (i < ev.size()) {
        int x = ev[i].first;
        while (i < ev.size() && ev[i].first == x) {
            int k = ev[i].second;
            if (k == 1) ++ina; else if (k == -1) --ina; else if (k == 2) ++inb; else --inb;
            ++i;
        }
        bool now = inside();
        if (now && !was) start = x;
        if (!now && was && x > start) out.push_back({start, x});
        was = now;
    }
    return out;
}

void EmitBands(std::vector<TRect>& out, std::vector<TBand>& bands)
{
    // Coalesce vertically adjacent bands with the same spans.
    std::vector<TBand> merged;
    for (auto& b : bands) {
        if (b.Spans.empty() || b.Top >= b.Bottom) continue;
        if (!merged.empty() && merged.back().Bottom == b.Top && merged.back().Spans == b.Spans)
            merged.back().Bottom = b.Bottom;
        else merged.push_back(std::move(b));
    }
    for (auto& b : merged)
        for (auto& s : b.Spans) out.push_back({s.first, b.Top, s.second, b.Bottom});
}

}  // namespace

TRegionData::TRegionData(const TRect& r) { SetRect(r); }

void TRegionData::SetRect(const TRect& r)
{
    FRects.clear();
    if (!IsRectEmpty(r)) FRects.push_back(r);
    FExtents = FRects.empty() ? TRect{} : r;
}

int TRegionData::Complexity() const
{
    return FRects.empty() ? NULLREGION : FRects.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

void TRegionData::Normalise()
{
    if (FRects.empty()) {
        FExtents = {};
        return;
    }
    FExtents = FRects[0];
    for (auto& r : FRects) UnionRect(FExtents, FExtents, r);
}

void TRegionData::Offset(int dx, int dy)
{
    for (auto& r : FRects) OffsetRect(r, dx, dy);
    if (!FRects.empty()) OffsetRect(FExtents, dx, dy);
}

bool TRegionData::Contains(int x, int y) const
{
    if (!PtInRect(FExtents, {x, y})) return false;
    auto it = std::lower_bound(FRects.begin(), FRects.end(), y,
                               [](const TRect& r, int yy) { return r.Bottom <= yy; });
    for (; it != FRects.end() && it->Top <= y; ++it)
        if (y < it->Bottom && x >= it->Left && x < it->Right) return true;
    return false;
}

bool TRegionData::Intersects(const TRect& r) const
{
    TRect t;
    if (!IntersectRect(t, FExtents, r)) return false;
    for (const TRect& q : FRects)
        if (IntersectRect(t, q, r)) return true;
    return false;
}

void TRegionData::Combine(const TRegionData& a, const TRegionData& b, int mode)
{
    if (mode == RGN_COPY) {
        *this = a;
        return;
    }
    if (mode == RGN_AND && (a.IsEmpty() || b.IsEmpty())) { Clear(); return; }
    if ((mode == RGN_OR || mode == RGN_XOR) && a.IsEmpty()) { *this = b; return; }
    if ((mode == RGN_OR || mode == RGN_XOR || mode == RGN_DIFF) && b.IsEmpty()) { *this = a; return; }
    if (mode == RGN_DIFF && a.IsEmpty()) { Clear(); return; }
    if (mode == RGN_AND && a.FRects.size() == 1 && b.FRects.size() == 1) {
        TRect r;
        IntersectRect(r, a.FRects[0], b.FRects[0]);
        SetRect(r);
        return;
    }
    std::vector<TBand> ba = BandsOf(a.FRects), bb = BandsOf(b.FRects);
    std::vector<int> ys;
    for (auto& x : ba) { ys.push_back(x.Top); ys.push_back(x.Bottom); }
    for (auto& x : bb) { ys.push_back(x.Top); ys.push_back(x.Bottom); }
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
    std::vector<TBand> out;
    size_t ia = 0, ib = 0;
    static const TSpans none;
    for (size_t k = 0; k + 1 < ys.size(); ++k) {
        int y0 = ys[k], y1 = ys[k + 1];
        while (ia < ba.size() && ba[ia].Bottom <= y0) ++ia;
        while (ib < bb.size() && bb[ib].Bottom <= y0) ++ib;
        const TSpans& sa = (ia < ba.size() && ba[ia].Top <= y0) ? ba[ia].Spans : none;
        const TSpans& sb = (ib < bb.size() && bb[ib].Top <= y0) ? bb[ib].Spans : none;
        TSpans s = CombineSpans(sa, sb, mode);
        out.push_back({y0, y1, std::move(s)});
    }
    std::vector<TRect> rects;
    EmitBands(rects, out);
    FRects.swap(rects);
    Normalise();
}

TRegionData TRegionData::FromRows(int y0, const std::vector<std::vector<std::pair<int, int>>>& rows)
{
    std::vector<TBand> bands;
    bands.reserve(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        TSpans s = rows[i];
        MergeSpans(s);
        bands.push_back({y0 + int(i), y0 + int(i) + 1, std::move(s)});
    }
    TRegionData r;
    EmitBands(r.FRects, bands);
    r.Normalise();
    return r;
}

TRegionData TRegionData::FromRects(const std::vector<TRect>& rects)
{
    // A sweep from the top down: each band between two consecutive edges
    // takes the spans of the rectangles that cover it, so the work follows
    // the rectangles each band meets, not all of them for every band.
    std::vector<const TRect*> byTop;
    std::vector<int> ys;
    byTop.reserve(rects.size());
    ys.reserve(rects.size() * 2);
    for (auto& r : rects)
        if (!IsRectEmpty(r)) {
            byTop.push_back(&r);
            ys.push_back(r.Top);
            ys.push_back(r.Bottom);
        }
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
    std::stable_sort(byTop.begin(), byTop.end(), [](const TRect* a, const TRect* b) { return a->Top < b->Top; });
    std::vector<TBand> bands;
    std::vector<const TRect*> active;
    size_t next = 0;
    for (size_t k = 0; k + 1 < ys.size(); ++k) {
        int y0 = ys[k];
        active.erase(std::remove_if(active.begin(), active.end(), [&](const TRect* r) { return r->Bottom <= y0; }),
                     active.end());
        while (next < byTop.size() && byTop[next]->Top <= y0) active.push_back(byTop[next++]);
        TSpans s;
        s.reserve(active.size());
        for (const TRect* r : active) s.push_back({r->Left, r->Right});
        MergeSpans(s);
        bands.push_back({y0, ys[k + 1], std::move(s)});
    }
    TRegionData out;
    EmitBands(out.FRects, bands);
    out.Normalise();
    return out;
}

// ---------------------------------------------------------------------------
// Shapes
// ---------------------------------------------------------------------------

// Rasterises polygons by pixel centres, with the given fill rule.
TRegionData GdiPolygonRegion(const std::vector<std::vector<TPoint>>& polys, bool winding)
{
    int minY = INT32_MAX, maxY = INT32_MIN;
    for (auto& p : polys)
        for (auto& q : p) { minY = std::min(minY, q.Y); maxY = std::max(maxY, q.Y); }
    if (minY >= maxY) return {};
    if (int64_t(maxY) - minY > 1 << 20) return {};
    std::vector<TSpans> rows(size_t(maxY - minY));
    std::vector<std::pair<double, int>> xs;
    for (int y = minY; y < maxY; ++y) {
        double yc = y + 0.5;
        xs.clear();
        for (auto& p : polys) {
            size_t n = p.size();
            for (size_t i = 0; i < n; ++i) {
                TPoint a = p[i], b = p[(i + 1) % n];
                if (a.Y == b.Y) continue;
                int dir = b.Y > a.Y ? 1 : -1;
                double ya = a.Y, yb = b.Y;
                if ((yc >= std::min(ya, yb)) && (yc < std::max(ya, yb))) {
                    double x = a.X + (yc - ya) * (b.X - a.X) / (yb - ya);
                    xs.push_back({x, dir});
                }
            }
        }
        std::sort(xs.begin(), xs.end());
        TSpans& row = rows[size_t(y - minY)];
        int wind = 0, count = 0;
        bool in = false;
        double start = 0;
        for (auto& c : xs) {
            wind += c.second;
            ++count;
            bool now = winding ? wind != 0 : (count % 2) == 1;
            if (now && !in) start = c.first;
            else if (!now && in) {
                int x0 = int(std::ceil(start - 0.5)), x1 = int(std::ceil(c.first - 0.5));
                if (x1 > x0) row.push_back({x0, x1});
            }
            in = now;
        }
    }
    return TRegionData::FromRows(minY, rows);
}

TRegionData GdiRoundRectRegion(TRect r, int w, int h)
{
    if (r.Right < r.Left) std::swap(r.Left, r.Right);
    if (r.Bottom < r.Top) std::swap(r.Top, r.Bottom);
    int W = r.Width(), H = r.Height();
    if (W <= 0 || H <= 0) return {};
    if (int64_t(H) > 1 << 20) return {};
    w = std::min(std::abs(w), W);
    h = std::min(std::abs(h), H);
    double rx = w / 2.0, ry = h / 2.0;
    std::vector<TSpans> rows(static_cast<size_t>(H));
    for (int y = 0; y < H; ++y) {
        double yc = y + 0.5;
        double inset = 0;
        if (ry > 0 && rx > 0) {
            double dy = 0;
            if (yc < ry) dy = ry - yc;
            else if (yc > H - ry) dy = yc - (H - ry);
            if (dy > 0) {
                double t = dy / ry;
                inset = rx - rx * std::sqrt(std::max(0.0, 1 - t * t));
            }
        }
        int x0 = r.Left + int(std::lround(inset)), x1 = r.Right - int(std::lround(inset));
        if (x1 > x0) rows[size_t(y)].push_back({x0, x1});
    }
    return TRegionData::FromRows(r.Top, rows);
}

// ---------------------------------------------------------------------------
// Region API
// ---------------------------------------------------------------------------

static HRGN NewRegion(TRegionData d)
{
    HRGN r = GdiNewRegion();
    r->Data = std::move(d);
    return r;
}

static TRect Normal(int l, int t, int r, int b)
{
    return {std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)};
}

HRGN CreateRectRgn(int left, int top, int right, int bottom)
{
    return NewRegion(TRegionData(Normal(left, top, right, bottom)));
}
HRGN CreateRectRgnIndirect(const RECT* r)
{
    return r ? CreateRectRgn(r->Left, r->Top, r->Right, r->Bottom) : nullptr;
}
HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int w, int h)
{
    return NewRegion(GdiRoundRectRegion(Normal(left, top, right, bottom), w, h));
}
HRGN CreateEllipticRgn(int left, int top, int right, int bottom)
{
    TRect r = Normal(left, top, right, bottom);
    return NewRegion(GdiRoundRectRegion(r, r.Width(), r.Height()));
}
HRGN CreateEllipticRgnIndirect(const RECT* r)
{
    return r ? CreateEllipticRgn(r->Left, r->Top, r->Right, r->Bottom) : nullptr;
}
HRGN CreatePolygonRgn(const POINT* pts, int count, int fillMode)
{
    if (!pts || count < 2) return count >= 0 ? NewRegion({}) : nullptr;
    return NewRegion(GdiPolygonRegion({std::vector<TPoint>(pts, pts + count)}, fillMode == WINDING));
}
HRGN CreatePolyPolygonRgn(const POINT* pts, const int* counts, int polys, int fillMode)
{
    if (!pts || !counts || polys < 0) return nullptr;
    std::vector<std::vector<TPoint>> v;
    const POINT* p = pts;
    for (int i = 0; i < polys; ++i) {
        if (counts[i] < 0) return nullptr;
        v.emplace_back(p, p + counts[i]);
        p += counts[i];
    }
    return NewRegion(GdiPolygonRegion(v, fillMode == WINDING));
}

int CombineRgn(HRGN dst, HRGN a, HRGN b, int mode)
{
    if (!GdiValidObject(dst) || !GdiValidObject(a)) return ERROR;
    if (mode < RGN_AND || mode > RGN_COPY) return ERROR;
    if (mode != RGN_COPY && !GdiValidObject(b)) return ERROR;
    TRegionData r;
    r.Combine(a->Data, mode == RGN_COPY ? a->Data : b->Data, mode);
    dst->Data = std::move(r);
    return dst->Data.Complexity();
}

BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom)
{
    if (!rgn) return 0;
    rgn->Data.SetRect(Normal(left, top, right, bottom));
    return 1;
}

int OffsetRgn(HRGN rgn, int dx, int dy)
{
    if (!rgn) return ERROR;
    rgn->Data.Offset(dx, dy);
    return rgn->Data.Complexity();
}

BOOL EqualRgn(HRGN a, HRGN b)
{
    if (!a || !b) return ERROR;
    return a->Data == b->Data ? 1 : 0;
}

BOOL PtInRegion(HRGN rgn, int x, int y) { return rgn && rgn->Data.Contains(x, y) ? 1 : 0; }
BOOL RectInRegion(HRGN rgn, const RECT* r)
{
    if (!rgn || !r) return 0;
    return rgn->Data.Intersects(Normal(r->Left, r->Top, r->Right, r->Bottom)) ? 1 : 0;
}

int GetRgnBox(HRGN rgn, RECT* rect)
{
    if (!rgn || !rect) return ERROR;
    *rect = rgn->Data.Extents();
    return rgn->Data.Complexity();
}

// ---------------------------------------------------------------------------
// Clipping
// ---------------------------------------------------------------------------

// The whole drawable area in device coordinates (relative to the DC origin).
static TRect DeviceArea(HDC dc)
{
    TRect b = dc->TargetBounds();
    if (dc->Kind == TDeviceContext::dkSurface) IntersectRect(b, b, dc->BaseClip);
    if (dc->Kind == TDeviceContext::dkInfo) b = {0, 0, 1 << 20, 1 << 20};
    OffsetRect(b, -dc->Origin.X, -dc->Origin.Y);
    return b;
}

static int ClipResult(HDC dc)
{
    dc->ClipChanged();
    return dc->EffectiveClip().Complexity();
}

static TRect LogicalToDeviceRect(HDC dc, int l, int t, int r, int b)
{
    TPoint a{dc->LtoDX(l), dc->LtoDY(t)}, c{dc->LtoDX(r), dc->LtoDY(b)};
    return Normal(a.X, a.Y, c.X, c.Y);
}

int SelectClipRgn(HDC dc, HRGN rgn) { return ExtSelectClipRgn(dc, rgn, RGN_COPY); }

int ExtSelectClipRgn(HDC dc, HRGN rgn, int mode)
{
    if (!dc) return ERROR;
    if (!rgn) {
        if (mode != RGN_COPY) return ERROR;
        dc->S.Clip.reset();
        return ClipResult(dc);
    }
    if (!GdiValidObject(rgn)) return ERROR;
    if (mode == RGN_COPY) {
        dc->S.Clip = std::make_shared<TRegionData>(rgn->Data);
        return ClipResult(dc);
    }
    TRegionData cur = dc->S.Clip ? *dc->S.Clip : TRegionData(DeviceArea(dc));
    TRegionData out;
    out.Combine(cur, rgn->Data, mode);
    dc->S.Clip = std::make_shared<TRegionData>(std::move(out));
    return ClipResult(dc);
}

int IntersectClipRect(HDC dc, int left, int top, int right, int bottom)
{
    if (!dc) return ERROR;
    TRegionData r(LogicalToDeviceRect(dc, left, top, right, bottom));
    if (dc->S.Clip) r.Intersect(*dc->S.Clip);
    dc->S.Clip = std::make_shared<TRegionData>(std::move(r));
    return ClipResult(dc);
}

int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom)
{
    if (!dc) return ERROR;
    TRegionData cur = dc->S.Clip ? *dc->S.Clip : TRegionData(DeviceArea(dc));
    cur.Subtract(TRegionData(LogicalToDeviceRect(dc, left, top, right, bottom)));
    dc->S.Clip = std::make_shared<TRegionData>(std::move(cur));
    return ClipResult(dc);
}

int GdiExcludeClipRects(HDC dc, const std::vector<TRect>& rects)
{
    if (!dc) return ERROR;
    TRegionData cur = dc->S.Clip ? *dc->S.Clip : TRegionData(DeviceArea(dc));
    if (!rects.empty()) {
        std::vector<TRect> dev;
        dev.reserve(rects.size());
        for (const TRect& r : rects) dev.push_back(LogicalToDeviceRect(dc, r.Left, r.Top, r.Right, r.Bottom));
        cur.Subtract(TRegionData::FromRects(dev));
    }
    dc->S.Clip = std::make_shared<TRegionData>(std::move(cur));
    return ClipResult(dc);
}

int OffsetClipRgn(HDC dc, int dx, int dy)
{
    if (!dc) return ERROR;
    if (dc->S.Clip) {
        auto c = std::make_shared<TRegionData>(*dc->S.Clip);
        c->Offset(int(std::lround(dx * dc->ScaleX())), int(std::lround(dy * dc->ScaleY())));
        dc->S.Clip = c;
    }
    return ClipResult(dc);
}

int GetClipBox(HDC dc, RECT* rect)
{
    if (!dc || !rect) return ERROR;
    const TRegionData& c = dc->EffectiveClip();
    if (dc->Kind == TDeviceContext::dkInfo) {
        *rect = dc->StoLRect(DeviceArea(dc));
        return SIMPLEREGION;
    }
    if (c.IsEmpty()) {
        *rect = {};
        return NULLREGION;
    }
    *rect = dc->StoLRect(c.Extents());
    return c.Complexity();
}

int GetClipRgn(HDC dc, HRGN rgn)
{
    if (!dc || !GdiValidObject(rgn)) return -1;
    if (!dc->S.Clip) return 0;
    rgn->Data = *dc->S.Clip;
    return 1;
}

BOOL PtVisible(HDC dc, int x, int y)
{
    if (!dc) return 0;
    TPoint p = dc->LtoS(x, y);
    return dc->EffectiveClip().Contains(p.X, p.Y) ? 1 : 0;
}

BOOL RectVisible(HDC dc, const RECT* rect)
{
    if (!dc || !rect) return 0;
    return dc->EffectiveClip().Intersects(dc->LtoSRect(*rect)) ? 1 : 0;
}
