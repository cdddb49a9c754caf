// Paths (figures of lines and Bezier curves, as GDI+ stores them) and
// regions.
#include <algorithm>
#include <cmath>

#include "platform/gfx/GdiPlus_Internal.h"

// ---- path model -----------------------------------------------------------

void GpPath::Add(REAL x, REAL y, uint8_t type)
{
    if (NewFigure) {
        type = PathPointTypeStart;
        NewFigure = false;
    }
    Points.push_back({x, y});
    Types.push_back(type);
}

void GpPath::Continue(REAL x, REAL y)
{
    if (NewFigure)
        Add(x, y, PathPointTypeStart);
    else if (Points.back().X != x || Points.back().Y != y)
        Add(x, y, PathPointTypeLine);
}

void GpPath::AddBeziers(const std::vector<GpPointF>& c)
{
    if (c.empty()) return;
    Continue(c[0].X, c[0].Y);
    for (size_t i = 1; i < c.size(); ++i) Add(c[i].X, c[i].Y, PathPointTypeBezier);
}

void GpPath::CloseFigure()
{
    if (!Points.empty() && !NewFigure) Types.back() |= PathPointTypeCloseSubpath;
    NewFigure = true;
}

void GpPath::Emit(cairo_t* cr) const
{
    const size_t n = Points.size();
    for (size_t i = 0; i < n; ++i) {
        const uint8_t t = Types[i] & PathPointTypePathTypeMask;
        size_t last = i;
        if (t == PathPointTypeStart) {
            cairo_move_to(cr, Points[i].X, Points[i].Y);
        } else if (t == PathPointTypeBezier && i + 2 < n) {
            cairo_curve_to(cr, Points[i].X, Points[i].Y, Points[i + 1].X, Points[i + 1].Y, Points[i + 2].X,
                           Points[i + 2].Y);
            last = i + 2;
        } else {
            cairo_line_to(cr, Points[i].X, Points[i].Y);
        }
        if (Types[last] & PathPointTypeCloseSubpath) cairo_close_path(cr);
        i = last;
    }
}

std::vector<GpPointF> ArcBeziers(REAL x, REAL y, REAL w, REAL h, REAL start, REAL sweep)
{
    const double rx = w / 2.0, ry = h / 2.0, cx = x + rx, cy = y + ry;
    double sw = std::clamp(double(sweep), -360.0, 360.0);
    // GDI+ angles are true angles on the ellipse; turn them into the
    // ellipse's parameter.
    auto param = [&](double deg) {
        double a = deg * M_PI / 180.0;
        return std::atan2(rx * std::sin(a), ry * std::cos(a));
    };
    const double t0 = param(start);
    double delta;
    if (std::fabs(sw) >= 360.0) {
        delta = sw > 0 ? 2 * M_PI : -2 * M_PI;
    } else {
        delta = std::fmod(param(start + sw) - t0, 2 * M_PI);
        if (sw > 0 && delta < 0) delta += 2 * M_PI;
        if (sw < 0 && delta > 0) delta -= 2 * M_PI;
    }
    const int segs = std::max(1, int(std::ceil(std::fabs(delta) / (M_PI / 2) - 1e-9)));
    const double step = delta / segs;
    std::vector<GpPointF> out;
    auto pt = [&](double t) { return GpPointF{REAL(cx + rx * std::cos(t)), REAL(cy + ry * std::sin(t))}; };
    out.push_back(pt(t0));
    for (int i = 0; i < segs; ++i) {
        const double a = t0 + step * i, b = a + step;
        const double k = 4.0 / 3.0 * std::tan(step / 4);
        out.push_back({REAL(cx + rx * (std::cos(a) - k * std::sin(a))), REAL(cy + ry * (std::sin(a) + k * std::cos(a)))});
        out.push_back({REAL(cx + rx * (std::cos(b) + k * std::sin(b))), REAL(cy + ry * (std::sin(b) - k * std::cos(b)))});
        out.push_back(pt(b));
    }
    return out;
}

std::vector<GpPointF> CurveBeziers(const std::vector<GpPointF>& p, REAL tension, bool closed)
{
    const size_t n = p.size();
    std::vector<GpPointF> out;
    if (n < 2) return out;
    auto at = [&](long i) {
        if (closed) return p[size_t((i % long(n) + long(n)) % long(n))];
        return p[size_t(std::clamp(i, 0L, long(n) - 1))];
    };
    const double k = tension / 3.0;
    out.push_back(p[0]);
    const size_t segs = closed ? n : n - 1;
    for (size_t i = 0; i < segs; ++i) {
        GpPointF a = at(long(i)), b = at(long(i) + 1);
        GpPointF ta{REAL((at(long(i) + 1).X - at(long(i) - 1).X) * k), REAL((at(long(i) + 1).Y - at(long(i) - 1).Y) * k)};
        GpPointF tb{REAL((at(long(i) + 2).X - at(long(i)).X) * k), REAL((at(long(i) + 2).Y - at(long(i)).Y) * k)};
        out.push_back({a.X + ta.X, a.Y + ta.Y});
        out.push_back({b.X - tb.X, b.Y - tb.Y});
        out.push_back(b);
    }
    return out;
}

// ---- path functions -------------------------------------------------------

Status GdipCreatePath(GpFillMode brushMode, GpPath** path)
{
    GDIP_CHECK_STARTED();
    if (!path) return InvalidParameter;
    *path = new GpPath;
    (*path)->Fill = brushMode == FillModeWinding ? FillModeWinding : FillModeAlternate;
    return Ok;
}

Status GdipCreatePath2(const GpPointF* points, const uint8_t* types, INT count, GpFillMode fillMode, GpPath** path)
{
    GDIP_CHECK_STARTED();
    if (!points || !types || count < 0 || !path) return InvalidParameter;
    auto* p = new GpPath;
    p->Fill = fillMode == FillModeWinding ? FillModeWinding : FillModeAlternate;
    p->Points.assign(points, points + count);
    p->Types.assign(types, types + count);
    if (count > 0) p->Types[0] = uint8_t((p->Types[0] & ~PathPointTypePathTypeMask) | PathPointTypeStart);
    p->NewFigure = count == 0 || (p->Types.back() & PathPointTypeCloseSubpath);
    *path = p;
    return Ok;
}

Status GdipClonePath(GpPath* path, GpPath** clonePath)
{
    if (!path || !clonePath) return InvalidParameter;
    *clonePath = new GpPath(*path);
    return Ok;
}

Status GdipDeletePath(GpPath* path)
{
    if (!path) return InvalidParameter;
    delete path;
    return Ok;
}

Status GdipResetPath(GpPath* path)
{
    if (!path) return InvalidParameter;
    FillMode f = path->Fill;
    *path = GpPath();
    path->Fill = f;
    return Ok;
}

Status GdipGetPointCount(GpPath* path, INT* count)
{
    if (!path || !count) return InvalidParameter;
    *count = INT(path->Points.size());
    return Ok;
}

Status GdipGetPathTypes(GpPath* path, uint8_t* types, INT count)
{
    if (!path || !types || count <= 0) return InvalidParameter;
    if (size_t(count) < path->Types.size()) return InsufficientBuffer;
    std::copy(path->Types.begin(), path->Types.end(), types);
    return Ok;
}

Status GdipGetPathPoints(GpPath* path, GpPointF* points, INT count)
{
    if (!path || !points || count <= 0) return InvalidParameter;
    if (size_t(count) < path->Points.size()) return InsufficientBuffer;
    std::copy(path->Points.begin(), path->Points.end(), points);
    return Ok;
}

Status GdipGetPathFillMode(GpPath* path, GpFillMode* fillmode)
{
    if (!path || !fillmode) return InvalidParameter;
    *fillmode = path->Fill;
    return Ok;
}

Status GdipSetPathFillMode(GpPath* path, GpFillMode fillmode)
{
    if (!path) return InvalidParameter;
    path->Fill = fillmode == FillModeWinding ? FillModeWinding : FillModeAlternate;
    return Ok;
}

Status GdipStartPathFigure(GpPath* path)
{
    if (!path) return InvalidParameter;
    path->NewFigure = true;
    return Ok;
}

Status GdipClosePathFigure(GpPath* path)
{
    if (!path) return InvalidParameter;
    path->CloseFigure();
    return Ok;
}

Status GdipAddPathLine(GpPath* path, REAL x1, REAL y1, REAL x2, REAL y2)
{
    if (!path) return InvalidParameter;
    path->Continue(x1, y1);
    path->Add(x2, y2, PathPointTypeLine);
    return Ok;
}

Status GdipAddPathLine2(GpPath* path, const GpPointF* points, INT count)
{
    if (!path || !points || count <= 0) return InvalidParameter;
    path->Continue(points[0].X, points[0].Y);
    for (INT i = 1; i < count; ++i) path->Add(points[i].X, points[i].Y, PathPointTypeLine);
    return Ok;
}

Status GdipAddPathLine2I(GpPath* path, const GpPoint* points, INT count)
{
    if (!path || !points || count <= 0) return InvalidParameter;
    std::vector<GpPointF> pf;
    for (INT i = 0; i < count; ++i) pf.push_back({REAL(points[i].X), REAL(points[i].Y)});
    return GdipAddPathLine2(path, pf.data(), count);
}

Status GdipAddPathArc(GpPath* path, REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle)
{
    if (!path || width <= 0 || height <= 0) return InvalidParameter;
    path->AddBeziers(ArcBeziers(x, y, width, height, startAngle, sweepAngle));
    return Ok;
}

Status GdipAddPathBezier(GpPath* path, REAL x1, REAL y1, REAL x2, REAL y2, REAL x3, REAL y3, REAL x4, REAL y4)
{
    if (!path) return InvalidParameter;
    path->AddBeziers({{x1, y1}, {x2, y2}, {x3, y3}, {x4, y4}});
    return Ok;
}

Status GdipAddPathBeziers(GpPath* path, const GpPointF* points, INT count)
{
    if (!path || !points || count < 4 || (count - 1) % 3 != 0) return InvalidParameter;
    path->AddBeziers(std::vector<GpPointF>(points, points + count));
    return Ok;
}

Status GdipAddPathCurve2(GpPath* path, const GpPointF* points, INT count, REAL tension)
{
    if (!path || !points || count < 2) return InvalidParameter;
    path->AddBeziers(CurveBeziers(std::vector<GpPointF>(points, points + count), tension, false));
    return Ok;
}

Status GdipAddPathCurve(GpPath* path, const GpPointF* points, INT count)
{
    return GdipAddPathCurve2(path, points, count, 0.5f);
}

Status GdipAddPathCurve2I(GpPath* path, const GpPoint* points, INT count, REAL tension)
{
    if (!path || !points || count < 2) return InvalidParameter;
    std::vector<GpPointF> pf;
    for (INT i = 0; i < count; ++i) pf.push_back({REAL(points[i].X), REAL(points[i].Y)});
    return GdipAddPathCurve2(path, pf.data(), count, tension);
}

Status GdipAddPathCurveI(GpPath* path, const GpPoint* points, INT count)
{
    return GdipAddPathCurve2I(path, points, count, 0.5f);
}

Status GdipAddPathRectangle(GpPath* path, REAL x, REAL y, REAL width, REAL height)
{
    if (!path) return InvalidParameter;
    if (width <= 0 || height <= 0) return Ok;   // nothing to add, as GDI+ does
    path->NewFigure = true;
    path->Add(x, y, PathPointTypeStart);
    path->Add(x + width, y, PathPointTypeLine);
    path->Add(x + width, y + height, PathPointTypeLine);
    path->Add(x, y + height, PathPointTypeLine);
    path->CloseFigure();
    return Ok;
}

Status GdipAddPathRectangleI(GpPath* path, INT x, INT y, INT width, INT height)
{
    return GdipAddPathRectangle(path, REAL(x), REAL(y), REAL(width), REAL(height));
}

Status GdipAddPathEllipse(GpPath* path, REAL x, REAL y, REAL width, REAL height)
{
    if (!path) return InvalidParameter;
    path->NewFigure = true;
    path->AddBeziers(ArcBeziers(x, y, width, height, 0, 360));
    path->CloseFigure();
    return Ok;
}

Status GdipAddPathPie(GpPath* path, REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle)
{
    if (!path || width <= 0 || height <= 0) return InvalidParameter;
    path->NewFigure = true;
    path->Add(x + width / 2, y + height / 2, PathPointTypeStart);
    std::vector<GpPointF> arc = ArcBeziers(x, y, width, height, startAngle, sweepAngle);
    path->Add(arc[0].X, arc[0].Y, PathPointTypeLine);
    for (size_t i = 1; i < arc.size(); ++i) path->Add(arc[i].X, arc[i].Y, PathPointTypeBezier);
    path->CloseFigure();
    return Ok;
}

Status GdipAddPathPolygon(GpPath* path, const GpPointF* points, INT count)
{
    if (!path || !points || count < 3) return InvalidParameter;
    path->NewFigure = true;
    for (INT i = 0; i < count; ++i) path->Add(points[i].X, points[i].Y, PathPointTypeLine);
    path->CloseFigure();
    return Ok;
}

Status GdipAddPathPolygonI(GpPath* path, const GpPoint* points, INT count)
{
    if (!path || !points || count < 3) return InvalidParameter;
    std::vector<GpPointF> pf;
    for (INT i = 0; i < count; ++i) pf.push_back({REAL(points[i].X), REAL(points[i].Y)});
    return GdipAddPathPolygon(path, pf.data(), count);
}

namespace {

// A scratch context for geometry queries.
struct TScratch {
    cairo_surface_t* S = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
    cairo_t* Cr = cairo_create(S);
    ~TScratch()
    {
        cairo_destroy(Cr);
        cairo_surface_destroy(S);
    }
};

}  // namespace

Status GdipGetPathWorldBounds(GpPath* path, GpRectF* bounds, const GpMatrix* matrix, const GpPen* pen)
{
    if (!path || !bounds) return InvalidParameter;
    *bounds = {};
    if (path->Points.empty()) return Ok;
    TScratch s;
    // Emit in world space already transformed so the extents come out there.
    GpPath t = *path;
    if (matrix)
        for (auto& p : t.Points) {
            double x = p.X, y = p.Y;
            cairo_matrix_transform_point(&matrix->M, &x, &y);
            p = {REAL(x), REAL(y)};
        }
    t.Emit(s.Cr);
    double x1, y1, x2, y2;
    if (pen) {
        cairo_set_line_width(s.Cr, pen->Width > 0 ? pen->Width : 1);
        cairo_stroke_extents(s.Cr, &x1, &y1, &x2, &y2);
    } else {
        cairo_path_extents(s.Cr, &x1, &y1, &x2, &y2);
    }
    *bounds = {REAL(x1), REAL(y1), REAL(x2 - x1), REAL(y2 - y1)};
    return Ok;
}

Status GdipIsVisiblePathPoint(GpPath* path, REAL x, REAL y, GpGraphics*, BOOL* result)
{
    if (!path || !result) return InvalidParameter;
    TScratch s;
    path->Emit(s.Cr);
    cairo_set_fill_rule(s.Cr, path->Fill == FillModeWinding ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
    *result = cairo_in_fill(s.Cr, x, y);
    return Ok;
}

// ---- regions --------------------------------------------------------------

cairo_surface_t* GpRegion::Mask(int w, int h, const cairo_matrix_t& m, bool antialias) const
{
    auto render = [&](const TElement& e) {
        if (e.K == kRegion) return e.Sub->Mask(w, h, m, antialias);
        cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_A8, w, h);
        cairo_t* cr = cairo_create(s);
        cairo_set_antialias(cr, antialias ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
        if (e.K == kInfinite) {
            cairo_paint(cr);
        } else if (e.K == kRect || e.K == kPath) {
            cairo_set_matrix(cr, &m);
            if (e.K == kRect) {
                cairo_rectangle(cr, e.R.X, e.R.Y, e.R.Width, e.R.Height);
            } else {
                e.P.Emit(cr);
                cairo_set_fill_rule(cr, e.P.Fill == FillModeWinding ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
            }
            cairo_fill(cr);
        }
        cairo_destroy(cr);
        return s;
    };
    cairo_surface_t* acc = nullptr;
    for (const TElement& e : Elements) {
        cairo_surface_t* s = render(e);
        if (!acc) {
            acc = s;
            continue;
        }
        cairo_t* cr = cairo_create(acc);
        cairo_operator_t op = CAIRO_OPERATOR_SOURCE;
        switch (e.Mode) {
        case CombineModeReplace: op = CAIRO_OPERATOR_SOURCE; break;
        case CombineModeIntersect: op = CAIRO_OPERATOR_IN; break;
        case CombineModeUnion: op = CAIRO_OPERATOR_OVER; break;
        case CombineModeXor: op = CAIRO_OPERATOR_XOR; break;
        case CombineModeExclude: op = CAIRO_OPERATOR_DEST_OUT; break;
        case CombineModeComplement: op = CAIRO_OPERATOR_OUT; break;
        }
        cairo_set_operator(cr, op);
        cairo_set_source_surface(cr, s, 0, 0);
        cairo_paint(cr);
        cairo_destroy(cr);
        cairo_surface_destroy(s);
    }
    if (!acc) acc = cairo_image_surface_create(CAIRO_FORMAT_A8, w, h);
    cairo_surface_flush(acc);
    return acc;
}

namespace {

Status NewRegion(GpRegion::TElement e, GpRegion** region)
{
    GDIP_CHECK_STARTED();
    if (!region) return InvalidParameter;
    *region = new GpRegion;
    (*region)->Elements.push_back(std::move(e));
    return Ok;
}

}  // namespace

Status GdipCreateRegion(GpRegion** region) { return NewRegion({}, region); }

Status GdipCreateRegionRect(const GpRectF* rect, GpRegion** region)
{
    if (!rect) return InvalidParameter;
    GpRegion::TElement e;
    e.K = GpRegion::kRect;
    e.R = *rect;
    return NewRegion(std::move(e), region);
}

Status GdipCreateRegionRectI(const GpRect* rect, GpRegion** region)
{
    if (!rect) return InvalidParameter;
    GpRectF r{REAL(rect->X), REAL(rect->Y), REAL(rect->Width), REAL(rect->Height)};
    return GdipCreateRegionRect(&r, region);
}

Status GdipCreateRegionPath(GpPath* path, GpRegion** region)
{
    if (!path) return InvalidParameter;
    GpRegion::TElement e;
    e.K = GpRegion::kPath;
    e.P = *path;
    return NewRegion(std::move(e), region);
}

Status GdipCloneRegion(GpRegion* region, GpRegion** cloneRegion)
{
    if (!region || !cloneRegion) return InvalidParameter;
    *cloneRegion = new GpRegion(*region);
    return Ok;
}

Status GdipDeleteRegion(GpRegion* region)
{
    if (!region) return InvalidParameter;
    delete region;
    return Ok;
}

namespace {

Status Combine(GpRegion* region, GpRegion::TElement e, CombineMode mode)
{
    if (!region || mode < CombineModeReplace || mode > CombineModeComplement) return InvalidParameter;
    e.Mode = mode;
    if (mode == CombineModeReplace) region->Elements.clear();
    region->Elements.push_back(std::move(e));
    return Ok;
}

}  // namespace

Status GdipCombineRegionRect(GpRegion* region, const GpRectF* rect, CombineMode combineMode)
{
    if (!rect) return InvalidParameter;
    GpRegion::TElement e;
    e.K = GpRegion::kRect;
    e.R = *rect;
    return Combine(region, std::move(e), combineMode);
}

Status GdipCombineRegionPath(GpRegion* region, GpPath* path, CombineMode combineMode)
{
    if (!path) return InvalidParameter;
    GpRegion::TElement e;
    e.K = GpRegion::kPath;
    e.P = *path;
    return Combine(region, std::move(e), combineMode);
}

Status GdipCombineRegionRegion(GpRegion* region, GpRegion* region2, CombineMode combineMode)
{
    if (!region2) return InvalidParameter;
    GpRegion::TElement e;
    e.K = GpRegion::kRegion;
    e.Sub = std::make_shared<GpRegion>(*region2);
    return Combine(region, std::move(e), combineMode);
}

Status GdipIsVisibleRegionPoint(GpRegion* region, REAL x, REAL y, GpGraphics*, BOOL* result)
{
    if (!region || !result) return InvalidParameter;
    cairo_matrix_t m;
    cairo_matrix_init_translate(&m, 0.5 - x, 0.5 - y);
    cairo_surface_t* s = region->Mask(1, 1, m, false);
    *result = cairo_image_surface_get_data(s)[0] != 0;
    cairo_surface_destroy(s);
    return Ok;
}
