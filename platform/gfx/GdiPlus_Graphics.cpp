// Drawing surfaces: transforms, clipping, lines, shapes, paths and images.
#include <cmath>
#include <functional>

#include "platform/gfx/GdiPlus_Internal.h"

#define GRAPHICS_CHECK(g)                       \
    do {                                        \
        if (!(g) || !(g)->Cr) return InvalidParameter; \
        if ((g)->InGetDC) return ObjectBusy;    \
    } while (0)

GpGraphics::~GpGraphics()
{
    if (Clip) cairo_surface_destroy(Clip);
}

namespace {

bool Antialiased(const GpGraphics* g)
{
    return g->Smoothing == SmoothingModeAntiAlias || g->Smoothing == SmoothingModeHighQuality ||
           g->Smoothing == SmoothingModeAntiAlias8x8;
}

cairo_matrix_t DeviceMatrix(const GpGraphics* g)
{
    cairo_matrix_t full;
    cairo_matrix_multiply(&full, &g->World, &g->Base);
    return full;
}

}  // namespace

void GpBegin(GpGraphics* g, bool vector)
{
    cairo_t* cr = g->Cr;
    cairo_save(cr);
    cairo_set_antialias(cr, Antialiased(g) ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
    if (g->Clip) cairo_push_group(cr);
    cairo_matrix_t full = DeviceMatrix(g);
    // GDI+ puts pixel centres on integer coordinates; cairo at the halves.
    if (vector) {
        full.x0 += 0.5;
        full.y0 += 0.5;
    }
    cairo_set_matrix(cr, &full);
}

void GpEnd(GpGraphics* g)
{
    cairo_t* cr = g->Cr;
    if (g->Clip) {
        cairo_pop_group_to_source(cr);
        cairo_identity_matrix(cr);
        cairo_mask_surface(cr, g->Clip, 0, 0);
    }
    cairo_restore(cr);
}

// Sets up a fresh graphics object on cr (already holding the target's own
// transform and clip).
void GpInitGraphics(GpGraphics* g, cairo_t* cr)
{
    g->Cr = cr;
    cairo_get_matrix(cr, &g->Base);
    cairo_matrix_init_identity(&g->World);
    cairo_surface_t* t = cairo_get_target(cr);
    if (cairo_surface_get_type(t) == CAIRO_SURFACE_TYPE_IMAGE) {
        g->TargetW = cairo_image_surface_get_width(t);
        g->TargetH = cairo_image_surface_get_height(t);
    } else {
        cairo_save(cr);
        cairo_identity_matrix(cr);
        double x1, y1, x2, y2;
        cairo_clip_extents(cr, &x1, &y1, &x2, &y2);
        cairo_restore(cr);
        g->TargetW = int(std::ceil(std::min(x2, 65536.0)));
        g->TargetH = int(std::ceil(std::min(y2, 65536.0)));
    }
}

Status GdipGetImageGraphicsContext(GpImage* image, GpGraphics** graphics)
{
    GDIP_CHECK_STARTED();
    if (!image || !graphics) return InvalidParameter;
    if (image->Type != ImageTypeBitmap || !image->Surface) return NotImplemented;
    if (image->Locked) return ObjectBusy;
    auto* g = new GpGraphics;
    g->Image = image;
    GpInitGraphics(g, cairo_create(image->Surface));
    *graphics = g;
    return Ok;
}

void GpReleaseDcCairo(GpGraphics* g);   // GdiPlus_Dc.cpp

Status GdipDeleteGraphics(GpGraphics* graphics)
{
    if (!graphics) return InvalidParameter;
    if (graphics->InGetDC) return ObjectBusy;
    if (graphics->Cr) {
        cairo_surface_flush(cairo_get_target(graphics->Cr));
        if (graphics->Dc)
            GpReleaseDcCairo(graphics);
        else
            cairo_destroy(graphics->Cr);
    }
    delete graphics;
    return Ok;
}

Status GdipFlush(GpGraphics* graphics, FlushIntention)
{
    GRAPHICS_CHECK(graphics);
    cairo_surface_flush(cairo_get_target(graphics->Cr));
    return Ok;
}

Status GdipGraphicsClear(GpGraphics* graphics, ARGB color)
{
    GRAPHICS_CHECK(graphics);
    GpBegin(graphics, false);
    cairo_set_operator(graphics->Cr, graphics->Clip ? CAIRO_OPERATOR_OVER : CAIRO_OPERATOR_SOURCE);
    GpSetSourceArgb(graphics->Cr, color);
    cairo_paint(graphics->Cr);
    GpEnd(graphics);
    return Ok;
}

// ---- state ----------------------------------------------------------------

Status GdipSetWorldTransform(GpGraphics* graphics, GpMatrix* matrix)
{
    GRAPHICS_CHECK(graphics);
    if (!matrix) return InvalidParameter;
    cairo_matrix_t m = matrix->M;
    if (cairo_matrix_invert(&m) != CAIRO_STATUS_SUCCESS) return InvalidParameter;
    graphics->World = matrix->M;
    return Ok;
}

Status GdipGetWorldTransform(GpGraphics* graphics, GpMatrix* matrix)
{
    GRAPHICS_CHECK(graphics);
    if (!matrix) return InvalidParameter;
    matrix->M = graphics->World;
    return Ok;
}

Status GdipResetWorldTransform(GpGraphics* graphics)
{
    GRAPHICS_CHECK(graphics);
    cairo_matrix_init_identity(&graphics->World);
    return Ok;
}

Status GdipMultiplyWorldTransform(GpGraphics* graphics, const GpMatrix* matrix, MatrixOrder order)
{
    GRAPHICS_CHECK(graphics);
    if (!matrix) return InvalidParameter;
    cairo_matrix_t m = matrix->M;
    if (cairo_matrix_invert(&m) != CAIRO_STATUS_SUCCESS) return InvalidParameter;
    GpCombine(graphics->World, matrix->M, order);
    return Ok;
}

Status GdipTranslateWorldTransform(GpGraphics* graphics, REAL dx, REAL dy, MatrixOrder order)
{
    GRAPHICS_CHECK(graphics);
    cairo_matrix_t t;
    cairo_matrix_init_translate(&t, dx, dy);
    GpCombine(graphics->World, t, order);
    return Ok;
}

Status GdipScaleWorldTransform(GpGraphics* graphics, REAL sx, REAL sy, MatrixOrder order)
{
    GRAPHICS_CHECK(graphics);
    if (sx == 0 || sy == 0) return InvalidParameter;
    cairo_matrix_t t;
    cairo_matrix_init_scale(&t, sx, sy);
    GpCombine(graphics->World, t, order);
    return Ok;
}

Status GdipRotateWorldTransform(GpGraphics* graphics, REAL angle, MatrixOrder order)
{
    GRAPHICS_CHECK(graphics);
    cairo_matrix_t t;
    cairo_matrix_init_rotate(&t, angle * M_PI / 180.0);
    GpCombine(graphics->World, t, order);
    return Ok;
}

namespace {

// A rendering mode kept on the graphics object; values outside [lo, hi]
// are refused.
template <typename T>
Status SetMode(GpGraphics* graphics, T GpGraphics::*field, T value, T lo, T hi)
{
    GRAPHICS_CHECK(graphics);
    if (value < lo || value > hi) return InvalidParameter;
    graphics->*field = value;
    return Ok;
}

template <typename T>
Status GetMode(GpGraphics* graphics, T GpGraphics::*field, T* value)
{
    GRAPHICS_CHECK(graphics);
    if (!value) return InvalidParameter;
    *value = graphics->*field;
    return Ok;
}

}  // namespace

Status GdipSetCompositingQuality(GpGraphics* graphics, CompositingQuality quality)
{
    return SetMode(graphics, &GpGraphics::Quality, quality, CompositingQualityDefault,
                   CompositingQualityAssumeLinear);
}

Status GdipGetCompositingQuality(GpGraphics* graphics, CompositingQuality* quality)
{
    return GetMode(graphics, &GpGraphics::Quality, quality);
}

Status GdipSetTextRenderingHint(GpGraphics* graphics, TextRenderingHint mode)
{
    return SetMode(graphics, &GpGraphics::TextHint, mode, TextRenderingHintSystemDefault,
                   TextRenderingHintClearTypeGridFit);
}

Status GdipGetTextRenderingHint(GpGraphics* graphics, TextRenderingHint* mode)
{
    return GetMode(graphics, &GpGraphics::TextHint, mode);
}

Status GdipSetSmoothingMode(GpGraphics* graphics, SmoothingMode mode)
{
    return SetMode(graphics, &GpGraphics::Smoothing, mode, SmoothingModeDefault, SmoothingModeAntiAlias8x8);
}

Status GdipGetSmoothingMode(GpGraphics* graphics, SmoothingMode* mode)
{
    return GetMode(graphics, &GpGraphics::Smoothing, mode);
}

// ---- clipping -------------------------------------------------------------

namespace {

Status CombineClip(GpGraphics* g, const GpRegion& r, CombineMode mode)
{
    if (mode < CombineModeReplace || mode > CombineModeComplement) return InvalidParameter;
    cairo_matrix_t m = DeviceMatrix(g);
    const int w = std::max(1, g->TargetW), h = std::max(1, g->TargetH);
    if (!g->Clip || mode == CombineModeReplace) {
        // Without a clip of our own everything is visible: combine with an
        // infinite region.
        GpRegion all;
        all.Elements.push_back({});
        GpRegion::TElement e;
        e.K = GpRegion::kRegion;
        e.Mode = mode;
        e.Sub = std::make_shared<GpRegion>(r);
        all.Elements.push_back(std::move(e));
        cairo_surface_t* mask = all.Mask(w, h, m, false);
        if (g->Clip) cairo_surface_destroy(g->Clip);
        g->Clip = mask;
        return Ok;
    }
    cairo_surface_t* add = r.Mask(w, h, m, false);
    cairo_t* cr = cairo_create(g->Clip);
    cairo_operator_t op = CAIRO_OPERATOR_IN;
    switch (mode) {
    case CombineModeIntersect: op = CAIRO_OPERATOR_IN; break;
    case CombineModeUnion: op = CAIRO_OPERATOR_OVER; break;
    case CombineModeXor: op = CAIRO_OPERATOR_XOR; break;
    case CombineModeExclude: op = CAIRO_OPERATOR_DEST_OUT; break;
    case CombineModeComplement: op = CAIRO_OPERATOR_OUT; break;
    default: break;
    }
    cairo_set_operator(cr, op);
    cairo_set_source_surface(cr, add, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(add);
    cairo_surface_flush(g->Clip);
    return Ok;
}

}  // namespace

Status GdipSetClipRect(GpGraphics* graphics, REAL x, REAL y, REAL width, REAL height, CombineMode mode)
{
    GRAPHICS_CHECK(graphics);
    GpRegion r;
    GpRegion::TElement e;
    e.K = GpRegion::kRect;
    e.R = {x, y, width, height};
    r.Elements.push_back(e);
    return CombineClip(graphics, r, mode);
}

Status GdipSetClipRegion(GpGraphics* graphics, GpRegion* region, CombineMode mode)
{
    GRAPHICS_CHECK(graphics);
    if (!region) return InvalidParameter;
    return CombineClip(graphics, *region, mode);
}

Status GdipSetClipPath(GpGraphics* graphics, GpPath* path, CombineMode mode)
{
    GRAPHICS_CHECK(graphics);
    if (!path) return InvalidParameter;
    GpRegion r;
    GpRegion::TElement e;
    e.K = GpRegion::kPath;
    e.P = *path;
    r.Elements.push_back(e);
    return CombineClip(graphics, r, mode);
}

Status GdipResetClip(GpGraphics* graphics)
{
    GRAPHICS_CHECK(graphics);
    if (graphics->Clip) cairo_surface_destroy(graphics->Clip);
    graphics->Clip = nullptr;
    return Ok;
}

// ---- lines and shapes -----------------------------------------------------

namespace {

using TBuild = std::function<void(cairo_t*)>;

double UnitPixels(GpUnit u)
{
    switch (u) {
    case UnitPoint: return 96.0 / 72.0;
    case UnitInch: return 96.0;
    case UnitDocument: return 96.0 / 300.0;
    case UnitMillimeter: return 96.0 / 25.4;
    default: return 1.0;
    }
}

Status Stroke(GpGraphics* g, GpPen* pen, const TBuild& build, bool closed)
{
    GRAPHICS_CHECK(g);
    if (!pen) return InvalidParameter;
    GpBegin(g, true);
    cairo_t* cr = g->Cr;
    build(cr);
    // Width in user units: world-unit pens scale with the transform, other
    // units are device measures; nothing is thinner than a device pixel.
    double ux = 1, uy = 0;
    cairo_user_to_device_distance(cr, &ux, &uy);
    const double scale = std::hypot(ux, uy) > 0 ? std::hypot(ux, uy) : 1;
    double w = pen->Unit == UnitWorld ? pen->Width : pen->Width * UnitPixels(pen->Unit) / scale;
    if (w * scale < 1) w = 1 / scale;
    if (pen->Align == PenAlignmentInset && closed) {
        cairo_clip_preserve(cr);
        w *= 2;
    }
    cairo_set_line_width(cr, w);
    static const double kDash[] = {3, 1}, kDot[] = {1, 1}, kDashDot[] = {3, 1, 1, 1}, kDashDotDot[] = {3, 1, 1, 1, 1, 1};
    const double* pat = nullptr;
    int n = 0;
    switch (pen->Dash) {
    case DashStyleDash: pat = kDash; n = 2; break;
    case DashStyleDot: pat = kDot; n = 2; break;
    case DashStyleDashDot: pat = kDashDot; n = 4; break;
    case DashStyleDashDotDot: pat = kDashDotDot; n = 6; break;
    default: break;
    }
    if (pat) {
        double d[6];
        const double unit = pen->Align == PenAlignmentInset && closed ? w / 2 : w;
        for (int i = 0; i < n; ++i) d[i] = pat[i] * unit;
        cairo_set_dash(cr, d, n, 0);
    }
    cairo_set_line_cap(cr, pen->EndCap == LineCapRound ? CAIRO_LINE_CAP_ROUND
                           : pen->EndCap == LineCapSquare ? CAIRO_LINE_CAP_SQUARE
                                                          : CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(cr, pen->Join == LineJoinRound ? CAIRO_LINE_JOIN_ROUND
                            : pen->Join == LineJoinBevel ? CAIRO_LINE_JOIN_BEVEL
                                                         : CAIRO_LINE_JOIN_MITER);
    cairo_pattern_t* p = pen->Brush->Pattern(cr);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
    cairo_stroke(cr);
    GpEnd(g);
    return Ok;
}

Status Fill(GpGraphics* g, const GpBrush* brush, const TBuild& build, FillMode mode)
{
    GRAPHICS_CHECK(g);
    if (!brush) return InvalidParameter;
    GpBegin(g, true);
    cairo_t* cr = g->Cr;
    build(cr);
    cairo_set_fill_rule(cr, mode == FillModeWinding ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
    cairo_pattern_t* p = brush->Pattern(cr);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
    cairo_fill(cr);
    GpEnd(g);
    return Ok;
}

void EmitPoints(cairo_t* cr, const std::vector<GpPointF>& pts, bool beziers, bool close)
{
    if (pts.empty()) return;
    cairo_move_to(cr, pts[0].X, pts[0].Y);
    if (beziers) {
        for (size_t i = 1; i + 2 < pts.size(); i += 3)
            cairo_curve_to(cr, pts[i].X, pts[i].Y, pts[i + 1].X, pts[i + 1].Y, pts[i + 2].X, pts[i + 2].Y);
    } else {
        for (size_t i = 1; i < pts.size(); ++i) cairo_line_to(cr, pts[i].X, pts[i].Y);
    }
    if (close) cairo_close_path(cr);
}

std::vector<GpPointF> ToF(const GpPoint* p, INT n)
{
    std::vector<GpPointF> out;
    for (INT i = 0; i < n; ++i) out.push_back({REAL(p[i].X), REAL(p[i].Y)});
    return out;
}

TBuild Ellipse(REAL x, REAL y, REAL w, REAL h)
{
    return [=](cairo_t* cr) { EmitPoints(cr, ArcBeziers(x, y, w, h, 0, 360), true, true); };
}

TBuild Pie(REAL x, REAL y, REAL w, REAL h, REAL start, REAL sweep)
{
    return [=](cairo_t* cr) {
        std::vector<GpPointF> arc = ArcBeziers(x, y, w, h, start, sweep);
        cairo_move_to(cr, x + w / 2, y + h / 2);
        cairo_line_to(cr, arc[0].X, arc[0].Y);
        for (size_t i = 1; i + 2 < arc.size(); i += 3)
            cairo_curve_to(cr, arc[i].X, arc[i].Y, arc[i + 1].X, arc[i + 1].Y, arc[i + 2].X, arc[i + 2].Y);
        cairo_close_path(cr);
    };
}

}  // namespace

Status GdipDrawLine(GpGraphics* graphics, GpPen* pen, REAL x1, REAL y1, REAL x2, REAL y2)
{
    return Stroke(graphics, pen, [=](cairo_t* cr) { cairo_move_to(cr, x1, y1); cairo_line_to(cr, x2, y2); }, false);
}

Status GdipDrawLineI(GpGraphics* graphics, GpPen* pen, INT x1, INT y1, INT x2, INT y2)
{
    return GdipDrawLine(graphics, pen, REAL(x1), REAL(y1), REAL(x2), REAL(y2));
}

Status GdipDrawLines(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count)
{
    if (!points || count < 2) return InvalidParameter;
    std::vector<GpPointF> p(points, points + count);
    return Stroke(graphics, pen, [&](cairo_t* cr) { EmitPoints(cr, p, false, false); }, false);
}

Status GdipDrawLinesI(GpGraphics* graphics, GpPen* pen, const GpPoint* points, INT count)
{
    if (!points || count < 2) return InvalidParameter;
    std::vector<GpPointF> p = ToF(points, count);
    return GdipDrawLines(graphics, pen, p.data(), count);
}

Status GdipDrawArc(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height, REAL startAngle,
                   REAL sweepAngle)
{
    if (width <= 0 || height <= 0) return InvalidParameter;
    std::vector<GpPointF> p = ArcBeziers(x, y, width, height, startAngle, sweepAngle);
    return Stroke(graphics, pen, [&](cairo_t* cr) { EmitPoints(cr, p, true, false); }, false);
}

Status GdipDrawBezier(GpGraphics* graphics, GpPen* pen, REAL x1, REAL y1, REAL x2, REAL y2, REAL x3, REAL y3,
                      REAL x4, REAL y4)
{
    std::vector<GpPointF> p{{x1, y1}, {x2, y2}, {x3, y3}, {x4, y4}};
    return Stroke(graphics, pen, [&](cairo_t* cr) { EmitPoints(cr, p, true, false); }, false);
}

Status GdipDrawBeziers(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count)
{
    if (!points || count < 4 || (count - 1) % 3 != 0) return InvalidParameter;
    std::vector<GpPointF> p(points, points + count);
    return Stroke(graphics, pen, [&](cairo_t* cr) { EmitPoints(cr, p, true, false); }, false);
}

Status GdipDrawRectangle(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height)
{
    return Stroke(graphics, pen, [=](cairo_t* cr) { cairo_rectangle(cr, x, y, width, height); }, true);
}

Status GdipDrawRectangleI(GpGraphics* graphics, GpPen* pen, INT x, INT y, INT width, INT height)
{
    return GdipDrawRectangle(graphics, pen, REAL(x), REAL(y), REAL(width), REAL(height));
}

Status GdipDrawRectangles(GpGraphics* graphics, GpPen* pen, const GpRectF* rects, INT count)
{
    if (!rects || count <= 0) return InvalidParameter;
    return Stroke(graphics, pen, [&](cairo_t* cr) {
        for (INT i = 0; i < count; ++i) cairo_rectangle(cr, rects[i].X, rects[i].Y, rects[i].Width, rects[i].Height);
    }, true);
}

Status GdipDrawEllipse(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height)
{
    return Stroke(graphics, pen, Ellipse(x, y, width, height), true);
}

Status GdipDrawEllipseI(GpGraphics* graphics, GpPen* pen, INT x, INT y, INT width, INT height)
{
    return GdipDrawEllipse(graphics, pen, REAL(x), REAL(y), REAL(width), REAL(height));
}

Status GdipDrawPie(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height, REAL startAngle,
                   REAL sweepAngle)
{
    if (width <= 0 || height <= 0) return InvalidParameter;
    return Stroke(graphics, pen, Pie(x, y, width, height, startAngle, sweepAngle), true);
}

Status GdipDrawPolygon(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count)
{
    if (!points || count < 2) return InvalidParameter;
    std::vector<GpPointF> p(points, points + count);
    return Stroke(graphics, pen, [&](cairo_t* cr) { EmitPoints(cr, p, false, true); }, true);
}

Status GdipDrawPolygonI(GpGraphics* graphics, GpPen* pen, const GpPoint* points, INT count)
{
    if (!points || count < 2) return InvalidParameter;
    std::vector<GpPointF> p = ToF(points, count);
    return GdipDrawPolygon(graphics, pen, p.data(), count);
}

Status GdipDrawCurve2(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count, REAL tension)
{
    if (!points || count < 2) return InvalidParameter;
    std::vector<GpPointF> p = CurveBeziers(std::vector<GpPointF>(points, points + count), tension, false);
    return Stroke(graphics, pen, [&](cairo_t* cr) { EmitPoints(cr, p, true, false); }, false);
}

Status GdipDrawCurve(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count)
{
    return GdipDrawCurve2(graphics, pen, points, count, 0.5f);
}

Status GdipDrawPath(GpGraphics* graphics, GpPen* pen, GpPath* path)
{
    if (!path) return InvalidParameter;
    bool closed = !path->Types.empty();
    for (size_t i = 0; i < path->Types.size(); ++i)
        if ((i + 1 == path->Types.size() || (path->Types[i + 1] & PathPointTypePathTypeMask) == PathPointTypeStart) &&
            !(path->Types[i] & PathPointTypeCloseSubpath))
            closed = false;
    return Stroke(graphics, pen, [&](cairo_t* cr) { path->Emit(cr); }, closed);
}

Status GdipFillRectangle(GpGraphics* graphics, GpBrush* brush, REAL x, REAL y, REAL width, REAL height)
{
    return Fill(graphics, brush, [=](cairo_t* cr) { cairo_rectangle(cr, x, y, width, height); }, FillModeAlternate);
}

Status GdipFillRectangleI(GpGraphics* graphics, GpBrush* brush, INT x, INT y, INT width, INT height)
{
    return GdipFillRectangle(graphics, brush, REAL(x), REAL(y), REAL(width), REAL(height));
}

Status GdipFillRectangles(GpGraphics* graphics, GpBrush* brush, const GpRectF* rects, INT count)
{
    if (!rects || count <= 0) return InvalidParameter;
    return Fill(graphics, brush, [&](cairo_t* cr) {
        for (INT i = 0; i < count; ++i) cairo_rectangle(cr, rects[i].X, rects[i].Y, rects[i].Width, rects[i].Height);
    }, FillModeWinding);
}

Status GdipFillEllipse(GpGraphics* graphics, GpBrush* brush, REAL x, REAL y, REAL width, REAL height)
{
    return Fill(graphics, brush, Ellipse(x, y, width, height), FillModeAlternate);
}

Status GdipFillEllipseI(GpGraphics* graphics, GpBrush* brush, INT x, INT y, INT width, INT height)
{
    return GdipFillEllipse(graphics, brush, REAL(x), REAL(y), REAL(width), REAL(height));
}

Status GdipFillPie(GpGraphics* graphics, GpBrush* brush, REAL x, REAL y, REAL width, REAL height,
                   REAL startAngle, REAL sweepAngle)
{
    if (width <= 0 || height <= 0) return InvalidParameter;
    return Fill(graphics, brush, Pie(x, y, width, height, startAngle, sweepAngle), FillModeAlternate);
}

Status GdipFillPolygon(GpGraphics* graphics, GpBrush* brush, const GpPointF* points, INT count, FillMode fillMode)
{
    if (!points || count < 2) return InvalidParameter;
    std::vector<GpPointF> p(points, points + count);
    return Fill(graphics, brush, [&](cairo_t* cr) { EmitPoints(cr, p, false, true); }, fillMode);
}

Status GdipFillPolygonI(GpGraphics* graphics, GpBrush* brush, const GpPoint* points, INT count, FillMode fillMode)
{
    if (!points || count < 2) return InvalidParameter;
    std::vector<GpPointF> p = ToF(points, count);
    return GdipFillPolygon(graphics, brush, p.data(), count, fillMode);
}

Status GdipFillPath(GpGraphics* graphics, GpBrush* brush, GpPath* path)
{
    if (!path) return InvalidParameter;
    return Fill(graphics, brush, [&](cairo_t* cr) { path->Emit(cr); }, path->Fill);
}

Status GdipFillRegion(GpGraphics* graphics, GpBrush* brush, GpRegion* region)
{
    GRAPHICS_CHECK(graphics);
    if (!brush || !region) return InvalidParameter;
    cairo_surface_t* mask = region->Mask(std::max(1, graphics->TargetW), std::max(1, graphics->TargetH),
                                         DeviceMatrix(graphics), false);
    GpBegin(graphics, true);
    cairo_t* cr = graphics->Cr;
    cairo_pattern_t* p = brush->Pattern(cr);
    cairo_set_source(cr, p);   // the pattern keeps the user space of this moment
    cairo_pattern_destroy(p);
    cairo_identity_matrix(cr);
    cairo_mask_surface(cr, mask, 0, 0);
    GpEnd(graphics);
    cairo_surface_destroy(mask);
    return Ok;
}

// ---- images ---------------------------------------------------------------

Status GdipDrawImageRectRect(GpGraphics* graphics, GpImage* image, REAL dstx, REAL dsty, REAL dstwidth,
                             REAL dstheight, REAL srcx, REAL srcy, REAL srcwidth, REAL srcheight, GpUnit,
                             const GpImageAttributes* imageAttributes, DrawImageAbort, void*)
{
    GRAPHICS_CHECK(graphics);
    if (!image) return InvalidParameter;
    if (image->Locked) return ObjectBusy;
    if (image->Type != ImageTypeBitmap || !image->Surface) return Ok;   // metafiles are not rendered here
    if (srcwidth == 0 || srcheight == 0 || dstwidth == 0 || dstheight == 0) return Ok;
    cairo_surface_t* src = image->Surface;
    bool own = false;
    if (imageAttributes && imageAttributes->Active()) {
        src = AdjustedSurface(image, 0, 0, image->Width, image->Height, imageAttributes);
        own = true;
    }
    GpBegin(graphics, false);
    cairo_t* cr = graphics->Cr;
    cairo_rectangle(cr, dstx, dsty, dstwidth, dstheight);
    cairo_clip(cr);
    const double sx = double(dstwidth) / srcwidth, sy = double(dstheight) / srcheight;
    cairo_translate(cr, dstx, dsty);
    cairo_scale(cr, sx, sy);
    cairo_translate(cr, -srcx, -srcy);
    cairo_set_source_surface(cr, src, 0, 0);
    cairo_matrix_t dm;
    cairo_get_matrix(cr, &dm);
    const bool exact = dm.xx == 1 && dm.yy == 1 && dm.xy == 0 && dm.yx == 0 && dm.x0 == std::floor(dm.x0) &&
                       dm.y0 == std::floor(dm.y0);
    cairo_pattern_t* pat = cairo_get_source(cr);
    cairo_pattern_set_filter(pat, exact ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
    cairo_pattern_set_extend(pat, CAIRO_EXTEND_PAD);
    cairo_paint(cr);
    GpEnd(graphics);
    if (own) cairo_surface_destroy(src);
    return Ok;
}

Status GdipDrawImageRectRectI(GpGraphics* graphics, GpImage* image, INT dstx, INT dsty, INT dstwidth,
                              INT dstheight, INT srcx, INT srcy, INT srcwidth, INT srcheight, GpUnit srcUnit,
                              const GpImageAttributes* imageAttributes, DrawImageAbort callback, void* callbackData)
{
    return GdipDrawImageRectRect(graphics, image, REAL(dstx), REAL(dsty), REAL(dstwidth), REAL(dstheight),
                                 REAL(srcx), REAL(srcy), REAL(srcwidth), REAL(srcheight), srcUnit, imageAttributes,
                                 callback, callbackData);
}

Status GdipDrawImageRect(GpGraphics* graphics, GpImage* image, REAL x, REAL y, REAL width, REAL height)
{
    if (!image) return InvalidParameter;
    return GdipDrawImageRectRect(graphics, image, x, y, width, height, 0, 0, REAL(image->Width),
                                 REAL(image->Height), UnitPixel, nullptr, nullptr, nullptr);
}

Status GdipDrawImageRectI(GpGraphics* graphics, GpImage* image, INT x, INT y, INT width, INT height)
{
    return GdipDrawImageRect(graphics, image, REAL(x), REAL(y), REAL(width), REAL(height));
}

Status GdipDrawImage(GpGraphics* graphics, GpImage* image, REAL x, REAL y)
{
    if (!image) return InvalidParameter;
    return GdipDrawImageRect(graphics, image, x, y, REAL(image->Width), REAL(image->Height));
}

Status GdipDrawImageI(GpGraphics* graphics, GpImage* image, INT x, INT y)
{
    return GdipDrawImage(graphics, image, REAL(x), REAL(y));
}
