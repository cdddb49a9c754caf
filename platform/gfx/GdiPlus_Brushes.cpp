// Pens and the brush family: solid, hatch, texture, linear and path
// gradients, each turned into a cairo source when drawn.
#include <algorithm>
#include <cmath>

#include "platform/gfx/GdiPlus_Internal.h"

namespace {

double Ch(ARGB c, int shift) { return double((c >> shift) & 0xFF) / 255.0; }

void AddStop(cairo_pattern_t* p, double pos, ARGB c)
{
    cairo_pattern_add_color_stop_rgba(p, std::clamp(pos, 0.0, 1.0), Ch(c, 16), Ch(c, 8), Ch(c, 0), Ch(c, 24));
}

ARGB Lerp(ARGB a, ARGB b, double t)
{
    ARGB out = 0;
    for (int s = 0; s < 32; s += 8) {
        double v = ((a >> s) & 0xFF) * (1 - t) + ((b >> s) & 0xFF) * t;
        out |= ARGB(std::lround(std::clamp(v, 0.0, 255.0))) << s;
    }
    return out;
}

// Interpolation in linear light, for gradients with gamma correction.
ARGB LerpGamma(ARGB a, ARGB b, double t)
{
    ARGB out = Lerp(a, b, t) & 0xFF000000u;
    for (int s = 0; s < 24; s += 8) {
        double la = std::pow(((a >> s) & 0xFF) / 255.0, 2.2), lb = std::pow(((b >> s) & 0xFF) / 255.0, 2.2);
        double v = std::pow(la * (1 - t) + lb * t, 1 / 2.2) * 255.0;
        out |= ARGB(std::lround(std::clamp(v, 0.0, 255.0))) << s;
    }
    return out;
}

cairo_extend_t Extend(WrapMode w)
{
    switch (w) {
    case WrapModeTile: return CAIRO_EXTEND_REPEAT;
    case WrapModeClamp: return CAIRO_EXTEND_PAD;
    default: return CAIRO_EXTEND_REFLECT;
    }
}

// 8x8 hatch patterns, one byte a row, the top bit leftmost.
void HatchBits(HatchStyle style, uint8_t rows[8])
{
    static const int kBayer[8][8] = {
        {0, 32, 8, 40, 2, 34, 10, 42},   {48, 16, 56, 24, 50, 18, 58, 26}, {12, 44, 4, 36, 14, 46, 6, 38},
        {60, 28, 52, 20, 62, 30, 54, 22}, {3, 35, 11, 43, 1, 33, 9, 41},    {51, 19, 59, 27, 49, 17, 57, 25},
        {15, 47, 7, 39, 13, 45, 5, 37},  {63, 31, 55, 23, 61, 29, 53, 21},
    };
    auto percent = [&](int pct) {
        for (int y = 0; y < 8; ++y) {
            rows[y] = 0;
            for (int x = 0; x < 8; ++x)
                if (kBayer[y][x] < pct * 64 / 100) rows[y] |= uint8_t(0x80 >> x);
        }
    };
    auto diag = [&](bool down, int period, int thick) {
        for (int y = 0; y < 8; ++y) {
            rows[y] = 0;
            for (int x = 0; x < 8; ++x) {
                int d = ((down ? x - y : x + y) % period + period) % period;
                if (d < thick) rows[y] |= uint8_t(0x80 >> x);
            }
        }
    };
    auto fill = [&](const uint8_t (&r)[8]) { std::copy(r, r + 8, rows); };
    switch (style) {
    case HatchStyleHorizontal: fill({0xFF, 0, 0, 0, 0, 0, 0, 0}); break;
    case HatchStyleVertical: fill({0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80}); break;
    case HatchStyleForwardDiagonal: diag(true, 8, 1); break;
    case HatchStyleBackwardDiagonal: diag(false, 8, 1); break;
    case HatchStyleCross: fill({0xFF, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80}); break;
    case HatchStyleDiagonalCross:
        for (int y = 0; y < 8; ++y) rows[y] = uint8_t((0x80 >> y) | (0x01 << y));
        break;
    case HatchStyle05Percent: percent(5); break;
    case HatchStyle10Percent: percent(10); break;
    case HatchStyle20Percent: percent(20); break;
    case HatchStyle25Percent: percent(25); break;
    case HatchStyle30Percent: percent(30); break;
    case HatchStyle40Percent: percent(40); break;
    case HatchStyle50Percent: percent(50); break;
    case HatchStyle60Percent: percent(60); break;
    case HatchStyle70Percent: percent(70); break;
    case HatchStyle75Percent: percent(75); break;
    case HatchStyle80Percent: percent(80); break;
    case HatchStyle90Percent: percent(90); break;
    case HatchStyleLightDownwardDiagonal: diag(true, 4, 1); break;
    case HatchStyleLightUpwardDiagonal: diag(false, 4, 1); break;
    case HatchStyleDarkDownwardDiagonal: diag(true, 4, 2); break;
    case HatchStyleDarkUpwardDiagonal: diag(false, 4, 2); break;
    case HatchStyleWideDownwardDiagonal: diag(true, 8, 3); break;
    case HatchStyleWideUpwardDiagonal: diag(false, 8, 3); break;
    case HatchStyleLightVertical: fill({0x88, 0x88, 0x88, 0x88, 0x88, 0x88, 0x88, 0x88}); break;
    case HatchStyleLightHorizontal: fill({0xFF, 0, 0, 0, 0xFF, 0, 0, 0}); break;
    case HatchStyleNarrowVertical: fill({0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}); break;
    case HatchStyleNarrowHorizontal: fill({0xFF, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0}); break;
    case HatchStyleDarkVertical: fill({0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC}); break;
    case HatchStyleDarkHorizontal: fill({0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0}); break;
    case HatchStyleDashedHorizontal: fill({0xF0, 0, 0, 0, 0x0F, 0, 0, 0}); break;
    case HatchStyleDashedVertical: fill({0x80, 0x80, 0x80, 0x80, 0x08, 0x08, 0x08, 0x08}); break;
    case HatchStyleSmallGrid: fill({0xFF, 0x88, 0x88, 0x88, 0xFF, 0x88, 0x88, 0x88}); break;
    case HatchStyleSmallCheckerBoard: fill({0x99, 0x66, 0x66, 0x99, 0x99, 0x66, 0x66, 0x99}); break;
    case HatchStyleLargeCheckerBoard: fill({0xF0, 0xF0, 0xF0, 0xF0, 0x0F, 0x0F, 0x0F, 0x0F}); break;
    case HatchStyleHorizontalBrick: fill({0xFF, 0x80, 0x80, 0x80, 0xFF, 0x08, 0x08, 0x08}); break;
    case HatchStyleDottedGrid: fill({0xAA, 0, 0x80, 0, 0x80, 0, 0x80, 0}); break;
    case HatchStyleSolidDiamond: fill({0x10, 0x38, 0x7C, 0xFE, 0x7C, 0x38, 0x10, 0}); break;
    case HatchStyleOutlinedDiamond: fill({0x41, 0x22, 0x14, 0x08, 0x14, 0x22, 0x41, 0x80}); break;
    default: percent(50); break;
    }
}

template <class T>
T* As(void* p, BrushType type)
{
    auto* b = reinterpret_cast<GpBrush*>(p);
    return b && b->Type == type ? static_cast<T*>(b) : nullptr;
}

}  // namespace

void GpSetSourceArgb(cairo_t* cr, ARGB c) { cairo_set_source_rgba(cr, Ch(c, 16), Ch(c, 8), Ch(c, 0), Ch(c, 24)); }

std::vector<std::pair<double, ARGB>> TGradientStops::Stops(ARGB a, ARGB b) const
{
    std::vector<std::pair<double, ARGB>> base;
    if (!PresetColors.empty()) {
        for (size_t i = 0; i < PresetColors.size(); ++i) base.emplace_back(PresetPositions[i], PresetColors[i]);
    } else if (!BlendFactors.empty()) {
        for (size_t i = 0; i < BlendFactors.size(); ++i)
            base.emplace_back(BlendPositions[i], Lerp(a, b, std::clamp(double(BlendFactors[i]), 0.0, 1.0)));
    } else {
        base = {{0.0, a}, {1.0, b}};
    }
    if (!Gamma) return base;
    std::vector<std::pair<double, ARGB>> out;
    for (size_t i = 0; i + 1 < base.size(); ++i)
        for (int k = 0; k < 8; ++k) {
            double t = k / 8.0;
            out.emplace_back(base[i].first + (base[i + 1].first - base[i].first) * t,
                             LerpGamma(base[i].second, base[i + 1].second, t));
        }
    out.push_back(base.back());
    return out;
}

cairo_pattern_t* GpSolidFill::Pattern(cairo_t*) const
{
    return cairo_pattern_create_rgba(Ch(Color, 16), Ch(Color, 8), Ch(Color, 0), Ch(Color, 24));
}

cairo_pattern_t* GpHatch::Pattern(cairo_t* cr) const
{
    uint8_t rows[8];
    HatchBits(Style, rows);
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 8, 8);
    const int stride = cairo_image_surface_get_stride(s);
    uint8_t* data = cairo_image_surface_get_data(s);
    auto premul = [](ARGB c) {
        uint32_t a = c >> 24;
        auto m = [&](int sh) { return ((((c >> sh) & 0xFF) * a + 127) / 255) << sh; };
        return (a << 24) | m(16) | m(8) | m(0);
    };
    for (int y = 0; y < 8; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + y * stride);
        for (int x = 0; x < 8; ++x) row[x] = premul(((rows[y] >> (7 - x)) & 1) ? Fore : Back);
    }
    cairo_surface_mark_dirty(s);
    cairo_pattern_t* p = cairo_pattern_create_for_surface(s);
    cairo_surface_destroy(s);
    cairo_pattern_set_extend(p, CAIRO_EXTEND_REPEAT);
    cairo_pattern_set_filter(p, CAIRO_FILTER_NEAREST);
    // Hatches are aligned to the device, not to the shape.
    cairo_matrix_t ctm;
    cairo_get_matrix(cr, &ctm);
    cairo_pattern_set_matrix(p, &ctm);
    return p;
}

cairo_pattern_t* GpTexture::Pattern(cairo_t*) const
{
    cairo_pattern_t* p = cairo_pattern_create_for_surface(Image->Surface);
    cairo_pattern_set_extend(p, Wrap == WrapModeClamp ? CAIRO_EXTEND_NONE : Extend(Wrap));
    cairo_matrix_t inv = Transform;
    if (cairo_matrix_invert(&inv) == CAIRO_STATUS_SUCCESS) {
        // Drawing runs half a pixel off (pixel centres on integers); keep
        // texels on whole pixels.
        inv.x0 += 0.5;
        inv.y0 += 0.5;
        cairo_pattern_set_matrix(p, &inv);
    }
    return p;
}

cairo_pattern_t* GpLineGradient::Pattern(cairo_t*) const
{
    cairo_pattern_t* p = cairo_pattern_create_linear(P1.X, P1.Y, P2.X, P2.Y);
    for (auto& [pos, c] : Blend.Stops(C1, C2)) AddStop(p, pos, c);
    cairo_pattern_set_extend(p, Extend(Wrap));
    return p;
}

cairo_pattern_t* GpPathGradient::Pattern(cairo_t*) const
{
    // Flatten the boundary, then cover it with Coons patches between rings
    // scaled towards the centre; colours blend from the surround colours
    // on the boundary to the centre colour at the focus ring.
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
    cairo_t* scratch = cairo_create(s);
    Path.Emit(scratch);
    cairo_path_t* flat = cairo_copy_path_flat(scratch);
    std::vector<std::vector<GpPointF>> figures;
    for (int i = 0; i < flat->num_data; i += flat->data[i].header.length) {
        const cairo_path_data_t& d = flat->data[i];
        if (d.header.type == CAIRO_PATH_MOVE_TO) figures.emplace_back();
        if ((d.header.type == CAIRO_PATH_MOVE_TO || d.header.type == CAIRO_PATH_LINE_TO) && !figures.empty())
            figures.back().push_back({REAL(flat->data[i + 1].point.x), REAL(flat->data[i + 1].point.y)});
    }
    cairo_path_destroy(flat);
    cairo_destroy(scratch);
    cairo_surface_destroy(s);

    // Surround colour of each flattened vertex: that of the path point at
    // the same place, else of the nearest path point before it.
    auto surround = [&](size_t i) { return Surround.empty() ? 0xFFFFFFFFu : Surround[std::min(i, Surround.size() - 1)]; };
    auto colourAt = [&](const GpPointF& v, size_t& lastIdx) {
        for (size_t k = 0; k < Path.Points.size(); ++k)
            if (std::fabs(Path.Points[k].X - v.X) < 1e-3 && std::fabs(Path.Points[k].Y - v.Y) < 1e-3) {
                lastIdx = k;
                break;
            }
        return surround(lastIdx);
    };

    // Rings: (position from boundary 0 to centre 1, colour of vertex i).
    struct TRing { double Pos; std::vector<ARGB> Colours; };
    cairo_pattern_t* mesh = cairo_pattern_create_mesh();
    const double cx = CenterPoint.X, cy = CenterPoint.Y;
    for (const auto& fig : figures) {
        if (fig.size() < 2) continue;
        std::vector<ARGB> edge;
        size_t lastIdx = 0;
        for (const auto& v : fig) edge.push_back(colourAt(v, lastIdx));
        std::vector<TRing> rings;
        if (!Blend.PresetColors.empty()) {
            for (size_t i = 0; i < Blend.PresetColors.size(); ++i)
                rings.push_back({Blend.PresetPositions[i], std::vector<ARGB>(fig.size(), Blend.PresetColors[i])});
        } else if (!Blend.BlendFactors.empty()) {
            for (size_t i = 0; i < Blend.BlendFactors.size(); ++i) {
                TRing r{Blend.BlendPositions[i], {}};
                for (ARGB c : edge) r.Colours.push_back(Lerp(c, Center, Blend.BlendFactors[i]));
                rings.push_back(std::move(r));
            }
        } else {
            rings.push_back({0.0, edge});
            rings.push_back({1.0, std::vector<ARGB>(fig.size(), Center)});
        }
        auto ringPoint = [&](const GpPointF& v, double pos) {
            double sx = 1 - pos * (1 - FocusX), sy = 1 - pos * (1 - FocusY);
            return std::pair<double, double>{cx + (v.X - cx) * sx, cy + (v.Y - cy) * sy};
        };
        auto corner = [&](int n, ARGB c) {
            cairo_mesh_pattern_set_corner_color_rgba(mesh, unsigned(n), Ch(c, 16), Ch(c, 8), Ch(c, 0), Ch(c, 24));
        };
        const size_t n = fig.size();
        for (size_t r = 0; r + 1 < rings.size(); ++r)
            for (size_t i = 0; i < n; ++i) {
                size_t j = (i + 1) % n;
                auto a = ringPoint(fig[i], rings[r].Pos), b = ringPoint(fig[j], rings[r].Pos);
                auto c = ringPoint(fig[j], rings[r + 1].Pos), d = ringPoint(fig[i], rings[r + 1].Pos);
                cairo_mesh_pattern_begin_patch(mesh);
                cairo_mesh_pattern_move_to(mesh, a.first, a.second);
                cairo_mesh_pattern_line_to(mesh, b.first, b.second);
                cairo_mesh_pattern_line_to(mesh, c.first, c.second);
                cairo_mesh_pattern_line_to(mesh, d.first, d.second);
                corner(0, rings[r].Colours[i]);
                corner(1, rings[r].Colours[j]);
                corner(2, rings[r + 1].Colours[j]);
                corner(3, rings[r + 1].Colours[i]);
                cairo_mesh_pattern_end_patch(mesh);
            }
        // The innermost ring, when it is not a point, is filled solid.
        const TRing& in = rings.back();
        double inner = 1 - in.Pos * (1 - std::max(FocusX, FocusY));
        if (inner > 1e-6)
            for (size_t i = 0; i < n; ++i) {
                size_t j = (i + 1) % n;
                auto a = ringPoint(fig[i], in.Pos), b = ringPoint(fig[j], in.Pos);
                cairo_mesh_pattern_begin_patch(mesh);
                cairo_mesh_pattern_move_to(mesh, cx, cy);
                cairo_mesh_pattern_line_to(mesh, a.first, a.second);
                cairo_mesh_pattern_line_to(mesh, b.first, b.second);
                corner(0, in.Colours[i]);
                corner(1, in.Colours[i]);
                corner(2, in.Colours[j]);
                corner(3, in.Colours[i]);
                cairo_mesh_pattern_end_patch(mesh);
            }
    }
    return mesh;
}

// ---- brushes --------------------------------------------------------------

Status GdipCloneBrush(GpBrush* brush, GpBrush** cloneBrush)
{
    if (!brush || !cloneBrush) return InvalidParameter;
    *cloneBrush = brush->Clone();
    return Ok;
}

Status GdipDeleteBrush(GpBrush* brush)
{
    if (!brush) return InvalidParameter;
    delete brush;
    return Ok;
}

Status GdipGetBrushType(GpBrush* brush, BrushType* type)
{
    if (!brush || !type) return InvalidParameter;
    *type = brush->Type;
    return Ok;
}

Status GdipCreateSolidFill(ARGB color, GpSolidFill** brush)
{
    GDIP_CHECK_STARTED();
    if (!brush) return InvalidParameter;
    *brush = new GpSolidFill;
    (*brush)->Color = color;
    return Ok;
}

Status GdipSetSolidFillColor(GpSolidFill* brush, ARGB color)
{
    auto* b = As<GpSolidFill>(brush, BrushTypeSolidColor);
    if (!b) return InvalidParameter;
    b->Color = color;
    return Ok;
}

Status GdipGetSolidFillColor(GpSolidFill* brush, ARGB* color)
{
    auto* b = As<GpSolidFill>(brush, BrushTypeSolidColor);
    if (!b || !color) return InvalidParameter;
    *color = b->Color;
    return Ok;
}

Status GdipCreateHatchBrush(HatchStyle hatchstyle, ARGB forecol, ARGB backcol, GpHatch** brush)
{
    GDIP_CHECK_STARTED();
    if (!brush || hatchstyle < HatchStyleMin || hatchstyle > HatchStyleMax) return InvalidParameter;
    auto* b = new GpHatch;
    b->Style = hatchstyle;
    b->Fore = forecol;
    b->Back = backcol;
    *brush = b;
    return Ok;
}

Status GdipGetHatchStyle(GpHatch* brush, HatchStyle* hatchstyle)
{
    auto* b = As<GpHatch>(brush, BrushTypeHatchFill);
    if (!b || !hatchstyle) return InvalidParameter;
    *hatchstyle = b->Style;
    return Ok;
}

Status GdipGetHatchForegroundColor(GpHatch* brush, ARGB* forecol)
{
    auto* b = As<GpHatch>(brush, BrushTypeHatchFill);
    if (!b || !forecol) return InvalidParameter;
    *forecol = b->Fore;
    return Ok;
}

Status GdipGetHatchBackgroundColor(GpHatch* brush, ARGB* backcol)
{
    auto* b = As<GpHatch>(brush, BrushTypeHatchFill);
    if (!b || !backcol) return InvalidParameter;
    *backcol = b->Back;
    return Ok;
}

namespace {

Status MakeTexture(GpImage* image, WrapMode wrap, const GpImageAttributes* attr, double x, double y, double w,
                   double h, bool whole, GpTexture** texture)
{
    GDIP_CHECK_STARTED();
    if (!image || !texture || wrap < WrapModeTile || wrap > WrapModeClamp) return InvalidParameter;
    if (image->Type != ImageTypeBitmap || !image->Surface) return NotImplemented;
    if (image->Locked) return ObjectBusy;
    int sx = 0, sy = 0, sw = image->Width, sh = image->Height;
    if (!whole) {
        sx = int(std::lround(x)); sy = int(std::lround(y));
        sw = int(std::lround(w)); sh = int(std::lround(h));
        if (sw <= 0 || sh <= 0 || sx < 0 || sy < 0 || sx + sw > image->Width || sy + sh > image->Height)
            return OutOfMemory;   // what GDI+ answers for a rectangle outside the image
    }
    cairo_surface_t* s = AdjustedSurface(image, sx, sy, sw, sh, attr);
    auto img = std::make_shared<GpBitmap>();
    img->Surface = s;
    img->Width = sw;
    img->Height = sh;
    img->Format = image->Format;
    img->RawFormat = ImageFormatMemoryBMP;
    auto* t = new GpTexture;
    t->Image = std::move(img);
    t->Wrap = wrap;
    *texture = t;
    return Ok;
}

}  // namespace

Status GdipCreateTexture(GpImage* image, WrapMode wrapmode, GpTexture** texture)
{
    return MakeTexture(image, wrapmode, nullptr, 0, 0, 0, 0, true, texture);
}

Status GdipCreateTexture2(GpImage* image, WrapMode wrapmode, REAL x, REAL y, REAL width, REAL height,
                          GpTexture** texture)
{
    return MakeTexture(image, wrapmode, nullptr, x, y, width, height, false, texture);
}

Status GdipCreateTexture2I(GpImage* image, WrapMode wrapmode, INT x, INT y, INT width, INT height,
                           GpTexture** texture)
{
    return MakeTexture(image, wrapmode, nullptr, x, y, width, height, false, texture);
}

Status GdipCreateTextureIA(GpImage* image, const GpImageAttributes* imageAttributes, REAL x, REAL y, REAL width,
                           REAL height, GpTexture** texture)
{
    WrapMode w = imageAttributes ? imageAttributes->Wrap : WrapModeTile;
    return MakeTexture(image, w, imageAttributes, x, y, width, height, false, texture);
}

Status GdipCreateTextureIAI(GpImage* image, const GpImageAttributes* imageAttributes, INT x, INT y, INT width,
                            INT height, GpTexture** texture)
{
    return GdipCreateTextureIA(image, imageAttributes, REAL(x), REAL(y), REAL(width), REAL(height), texture);
}

Status GdipResetTextureTransform(GpTexture* brush)
{
    auto* b = As<GpTexture>(brush, BrushTypeTextureFill);
    if (!b) return InvalidParameter;
    cairo_matrix_init_identity(&b->Transform);
    return Ok;
}

Status GdipTranslateTextureTransform(GpTexture* brush, REAL dx, REAL dy, MatrixOrder order)
{
    auto* b = As<GpTexture>(brush, BrushTypeTextureFill);
    if (!b) return InvalidParameter;
    cairo_matrix_t t;
    cairo_matrix_init_translate(&t, dx, dy);
    GpCombine(b->Transform, t, order);
    return Ok;
}

Status GdipScaleTextureTransform(GpTexture* brush, REAL sx, REAL sy, MatrixOrder order)
{
    auto* b = As<GpTexture>(brush, BrushTypeTextureFill);
    if (!b) return InvalidParameter;
    cairo_matrix_t t;
    cairo_matrix_init_scale(&t, sx, sy);
    GpCombine(b->Transform, t, order);
    return Ok;
}

Status GdipRotateTextureTransform(GpTexture* brush, REAL angle, MatrixOrder order)
{
    auto* b = As<GpTexture>(brush, BrushTypeTextureFill);
    if (!b) return InvalidParameter;
    cairo_matrix_t t;
    cairo_matrix_init_rotate(&t, angle * M_PI / 180.0);
    GpCombine(b->Transform, t, order);
    return Ok;
}

Status GdipSetTextureWrapMode(GpTexture* brush, WrapMode wrapmode)
{
    auto* b = As<GpTexture>(brush, BrushTypeTextureFill);
    if (!b || wrapmode < WrapModeTile || wrapmode > WrapModeClamp) return InvalidParameter;
    b->Wrap = wrapmode;
    return Ok;
}

Status GdipGetTextureWrapMode(GpTexture* brush, WrapMode* wrapmode)
{
    auto* b = As<GpTexture>(brush, BrushTypeTextureFill);
    if (!b || !wrapmode) return InvalidParameter;
    *wrapmode = b->Wrap;
    return Ok;
}

Status GdipGetTextureImage(GpTexture* brush, GpImage** image)
{
    auto* b = As<GpTexture>(brush, BrushTypeTextureFill);
    if (!b || !image) return InvalidParameter;
    *image = new GpBitmap(static_cast<const GpBitmap&>(*b->Image));
    return Ok;
}

namespace {

Status MakeLine(GpPointF p1, GpPointF p2, ARGB c1, ARGB c2, WrapMode wrap, GpLineGradient** out)
{
    GDIP_CHECK_STARTED();
    if (!out) return InvalidParameter;
    // A gradient needs a direction; clamping is not a line-brush mode.
    if ((p1.X == p2.X && p1.Y == p2.Y) || wrap == WrapModeClamp || wrap < WrapModeTile) return OutOfMemory;
    auto* b = new GpLineGradient;
    b->P1 = p1;
    b->P2 = p2;
    b->C1 = c1;
    b->C2 = c2;
    b->Wrap = wrap;
    *out = b;
    return Ok;
}

// End points of a gradient across rect at angle (degrees, clockwise), so
// the rectangle's extreme corners get the two colours.
void AngleEnds(const GpRectF& r, double angleDeg, GpPointF& p1, GpPointF& p2)
{
    double a = angleDeg * M_PI / 180.0, dx = std::cos(a), dy = std::sin(a);
    double cx = r.X + r.Width / 2.0, cy = r.Y + r.Height / 2.0;
    double half = (std::fabs(dx) * r.Width + std::fabs(dy) * r.Height) / 2.0;
    p1 = {REAL(cx - dx * half), REAL(cy - dy * half)};
    p2 = {REAL(cx + dx * half), REAL(cy + dy * half)};
}

}  // namespace

Status GdipCreateLineBrush(const GpPointF* point1, const GpPointF* point2, ARGB color1, ARGB color2,
                           WrapMode wrapMode, GpLineGradient** lineGradient)
{
    if (!point1 || !point2) return InvalidParameter;
    return MakeLine(*point1, *point2, color1, color2, wrapMode, lineGradient);
}

Status GdipCreateLineBrushI(const GpPoint* point1, const GpPoint* point2, ARGB color1, ARGB color2,
                            WrapMode wrapMode, GpLineGradient** lineGradient)
{
    if (!point1 || !point2) return InvalidParameter;
    return MakeLine({REAL(point1->X), REAL(point1->Y)}, {REAL(point2->X), REAL(point2->Y)}, color1, color2,
                    wrapMode, lineGradient);
}

Status GdipCreateLineBrushFromRect(const GpRectF* rect, ARGB color1, ARGB color2, LinearGradientMode mode,
                                   WrapMode wrapMode, GpLineGradient** lineGradient)
{
    if (!rect || mode < LinearGradientModeHorizontal || mode > LinearGradientModeBackwardDiagonal)
        return InvalidParameter;
    if (rect->Width == 0 || rect->Height == 0) return OutOfMemory;
    const double w = rect->Width, h = rect->Height, cx = rect->X + w / 2, cy = rect->Y + h / 2;
    GpPointF p1, p2;
    switch (mode) {
    case LinearGradientModeHorizontal:
        p1 = {rect->X, rect->Y};
        p2 = {rect->X + rect->Width, rect->Y};
        break;
    case LinearGradientModeVertical:
        p1 = {rect->X, rect->Y};
        p2 = {rect->X, rect->Y + rect->Height};
        break;
    default: {
        // The iso-colour lines run through the other two corners, so colour
        // 1 sits in one corner and colour 2 in the opposite one.
        const bool fwd = mode == LinearGradientModeForwardDiagonal;
        const double dx = fwd ? h : -h, dy = w, k = w * h / (w * w + h * h);
        p1 = {REAL(cx - dx * k), REAL(cy - dy * k)};
        p2 = {REAL(cx + dx * k), REAL(cy + dy * k)};
        break;
    }
    }
    return MakeLine(p1, p2, color1, color2, wrapMode, lineGradient);
}

Status GdipCreateLineBrushFromRectI(const GpRect* rect, ARGB color1, ARGB color2, LinearGradientMode mode,
                                    WrapMode wrapMode, GpLineGradient** lineGradient)
{
    if (!rect) return InvalidParameter;
    GpRectF r{REAL(rect->X), REAL(rect->Y), REAL(rect->Width), REAL(rect->Height)};
    return GdipCreateLineBrushFromRect(&r, color1, color2, mode, wrapMode, lineGradient);
}

Status GdipCreateLineBrushFromRectWithAngle(const GpRectF* rect, ARGB color1, ARGB color2, REAL angle, BOOL,
                                            WrapMode wrapMode, GpLineGradient** lineGradient)
{
    if (!rect) return InvalidParameter;
    if (rect->Width == 0 || rect->Height == 0) return OutOfMemory;
    GpPointF p1, p2;
    AngleEnds(*rect, angle, p1, p2);
    return MakeLine(p1, p2, color1, color2, wrapMode, lineGradient);
}

Status GdipCreateLineBrushFromRectWithAngleI(const GpRect* rect, ARGB color1, ARGB color2, REAL angle,
                                             BOOL isAngleScalable, WrapMode wrapMode, GpLineGradient** lineGradient)
{
    if (!rect) return InvalidParameter;
    GpRectF r{REAL(rect->X), REAL(rect->Y), REAL(rect->Width), REAL(rect->Height)};
    return GdipCreateLineBrushFromRectWithAngle(&r, color1, color2, angle, isAngleScalable, wrapMode, lineGradient);
}

Status GdipSetLineGammaCorrection(GpLineGradient* brush, BOOL useGammaCorrection)
{
    auto* b = As<GpLineGradient>(brush, BrushTypeLinearGradient);
    if (!b) return InvalidParameter;
    b->Blend.Gamma = useGammaCorrection != 0;
    return Ok;
}

Status GdipGetLineGammaCorrection(GpLineGradient* brush, BOOL* useGammaCorrection)
{
    auto* b = As<GpLineGradient>(brush, BrushTypeLinearGradient);
    if (!b || !useGammaCorrection) return InvalidParameter;
    *useGammaCorrection = b->Blend.Gamma;
    return Ok;
}

namespace {

// Blend positions must start at 0, end at 1 and not decrease.
bool ValidPositions(const REAL* positions, INT count)
{
    if (!positions || count < 2 || positions[0] != 0.0f || positions[count - 1] != 1.0f) return false;
    for (INT i = 1; i < count; ++i)
        if (positions[i] < positions[i - 1]) return false;
    return true;
}

Status SetBlend(TGradientStops& g, const REAL* blend, const REAL* positions, INT count)
{
    if (!blend || count <= 0) return InvalidParameter;
    if (count == 1) {
        g.BlendFactors = {blend[0], blend[0]};
        g.BlendPositions = {0, 1};
    } else {
        if (!ValidPositions(positions, count)) return InvalidParameter;
        g.BlendFactors.assign(blend, blend + count);
        g.BlendPositions.assign(positions, positions + count);
    }
    g.PresetColors.clear();
    g.PresetPositions.clear();
    return Ok;
}

Status SetPreset(TGradientStops& g, const ARGB* blend, const REAL* positions, INT count)
{
    if (!blend || count < 2 || !ValidPositions(positions, count)) return InvalidParameter;
    g.PresetColors.assign(blend, blend + count);
    g.PresetPositions.assign(positions, positions + count);
    g.BlendFactors.clear();
    g.BlendPositions.clear();
    return Ok;
}

}  // namespace

Status GdipSetLineBlend(GpLineGradient* brush, const REAL* blend, const REAL* positions, INT count)
{
    auto* b = As<GpLineGradient>(brush, BrushTypeLinearGradient);
    if (!b) return InvalidParameter;
    return SetBlend(b->Blend, blend, positions, count);
}

Status GdipSetLinePresetBlend(GpLineGradient* brush, const ARGB* blend, const REAL* positions, INT count)
{
    auto* b = As<GpLineGradient>(brush, BrushTypeLinearGradient);
    if (!b) return InvalidParameter;
    return SetPreset(b->Blend, blend, positions, count);
}

Status GdipGetLineColors(GpLineGradient* brush, ARGB* colors)
{
    auto* b = As<GpLineGradient>(brush, BrushTypeLinearGradient);
    if (!b || !colors) return InvalidParameter;
    colors[0] = b->C1;
    colors[1] = b->C2;
    return Ok;
}

Status GdipSetLineWrapMode(GpLineGradient* brush, WrapMode wrapmode)
{
    auto* b = As<GpLineGradient>(brush, BrushTypeLinearGradient);
    if (!b || wrapmode < WrapModeTile || wrapmode >= WrapModeClamp) return InvalidParameter;
    b->Wrap = wrapmode;
    return Ok;
}

namespace {

// The default centre: the centroid of the path's outline points.
GpPointF Centroid(const GpPath& path)
{
    double a = 0, cx = 0, cy = 0;
    const auto& p = path.Points;
    for (size_t i = 0; i < p.size(); ++i) {
        const GpPointF& u = p[i];
        const GpPointF& v = p[(i + 1) % p.size()];
        double cross = double(u.X) * v.Y - double(v.X) * u.Y;
        a += cross;
        cx += (u.X + v.X) * cross;
        cy += (u.Y + v.Y) * cross;
    }
    if (std::fabs(a) < 1e-9) {
        double sx = 0, sy = 0;
        for (const auto& q : p) { sx += q.X; sy += q.Y; }
        return {REAL(sx / double(p.size())), REAL(sy / double(p.size()))};
    }
    return {REAL(cx / (3 * a)), REAL(cy / (3 * a))};
}

}  // namespace

Status GdipCreatePathGradientFromPath(const GpPath* path, GpPathGradient** polyGradient)
{
    GDIP_CHECK_STARTED();
    if (!path || !polyGradient) return InvalidParameter;
    if (path->Points.size() < 2) return OutOfMemory;
    auto* b = new GpPathGradient;
    b->Path = *path;
    b->CenterPoint = Centroid(*path);
    *polyGradient = b;
    return Ok;
}

Status GdipCreatePathGradient(const GpPointF* points, INT count, WrapMode wrapMode, GpPathGradient** polyGradient)
{
    if (!points || count < 2) return count >= 0 && points ? OutOfMemory : InvalidParameter;
    GpPath path;
    for (INT i = 0; i < count; ++i) path.Add(points[i].X, points[i].Y, PathPointTypeLine);
    path.CloseFigure();
    Status s = GdipCreatePathGradientFromPath(&path, polyGradient);
    if (s == Ok) (*polyGradient)->Wrap = wrapMode;
    return s;
}

Status GdipSetPathGradientCenterColor(GpPathGradient* brush, ARGB colors)
{
    auto* b = As<GpPathGradient>(brush, BrushTypePathGradient);
    if (!b) return InvalidParameter;
    b->Center = colors;
    return Ok;
}

Status GdipGetPathGradientCenterColor(GpPathGradient* brush, ARGB* colors)
{
    auto* b = As<GpPathGradient>(brush, BrushTypePathGradient);
    if (!b || !colors) return InvalidParameter;
    *colors = b->Center;
    return Ok;
}

Status GdipGetPathGradientPointCount(GpPathGradient* brush, INT* count)
{
    auto* b = As<GpPathGradient>(brush, BrushTypePathGradient);
    if (!b || !count) return InvalidParameter;
    *count = INT(b->Path.Points.size());
    return Ok;
}

Status GdipSetPathGradientSurroundColorsWithCount(GpPathGradient* brush, const ARGB* color, INT* count)
{
    auto* b = As<GpPathGradient>(brush, BrushTypePathGradient);
    if (!b || !color || !count || *count <= 0 || size_t(*count) > b->Path.Points.size()) return InvalidParameter;
    b->Surround.assign(color, color + *count);
    return Ok;
}

Status GdipGetPathGradientSurroundColorCount(GpPathGradient* brush, INT* count)
{
    auto* b = As<GpPathGradient>(brush, BrushTypePathGradient);
    if (!b || !count) return InvalidParameter;
    *count = INT(b->Path.Points.size());
    return Ok;
}

Status GdipGetPathGradientSurroundColorsWithCount(GpPathGradient* brush, ARGB* color, INT* count)
{
    auto* b = As<GpPathGradient>(brush, BrushTypePathGradient);
    if (!b || !color || !count) return InvalidParameter;
    const size_t n = b->Path.Points.size();
    if (size_t(*count) < n) return InsufficientBuffer;
    // Points beyond the colours given share the last colour.
    for (size_t i = 0; i < n; ++i) color[i] = b->Surround[std::min(i, b->Surround.size() - 1)];
    *count = INT(b->Surround.size());
    return Ok;
}

Status GdipSetPathGradientCenterPoint(GpPathGradient* brush, const GpPointF* point)
{
    auto* b = As<GpPathGradient>(brush, BrushTypePathGradient);
    if (!b || !point) return InvalidParameter;
    b->CenterPoint = *point;
    return Ok;
}

Status GdipSetPathGradientCenterPointI(GpPathGradient* brush, const GpPoint* point)
{
    if (!point) return InvalidParameter;
    GpPointF p{REAL(point->X), REAL(point->Y)};
    return GdipSetPathGradientCenterPoint(brush, &p);
}

Status GdipGetPathGradientCenterPoint(GpPathGradient* brush, GpPointF* point)
{
    auto* b = As<GpPathGradient>(brush, BrushTypePathGradient);
    if (!b || !point) return InvalidParameter;
    *point = b->CenterPoint;
    return Ok;
}

Status GdipGetPathGradientCenterPointI(GpPathGradient* brush, GpPoint* point)
{
    GpPointF p;
    Status s = GdipGetPathGradientCenterPoint(brush, point ? &p : nullptr);
    if (s == Ok) *point = {INT(std::lround(p.X)), INT(std::lround(p.Y))};
    return s;
}

Status GdipSetPathGradientWrapMode(GpPathGradient* brush, WrapMode wrapmode)
{
    auto* b = As<GpPathGradient>(brush, BrushTypePathGradient);
    if (!b || wrapmode < WrapModeTile || wrapmode > WrapModeClamp) return InvalidParameter;
    b->Wrap = wrapmode;
    return Ok;
}

Status GdipSetPathGradientGammaCorrection(GpPathGradient* brush, BOOL useGammaCorrection)
{
    auto* b = As<GpPathGradient>(brush, BrushTypePathGradient);
    if (!b) return InvalidParameter;
    b->Blend.Gamma = useGammaCorrection != 0;
    return Ok;
}

Status GdipSetPathGradientPresetBlend(GpPathGradient* brush, const ARGB* blend, const REAL* positions, INT count)
{
    auto* b = As<GpPathGradient>(brush, BrushTypePathGradient);
    if (!b) return InvalidParameter;
    return SetPreset(b->Blend, blend, positions, count);
}

Status GdipSetPathGradientFocusScales(GpPathGradient* brush, REAL xScale, REAL yScale)
{
    auto* b = As<GpPathGradient>(brush, BrushTypePathGradient);
    if (!b) return InvalidParameter;
    b->FocusX = std::clamp(xScale, 0.0f, 1.0f);
    b->FocusY = std::clamp(yScale, 0.0f, 1.0f);
    return Ok;
}

Status GdipGetPathGradientFocusScales(GpPathGradient* brush, REAL* xScale, REAL* yScale)
{
    auto* b = As<GpPathGradient>(brush, BrushTypePathGradient);
    if (!b || !xScale || !yScale) return InvalidParameter;
    *xScale = b->FocusX;
    *yScale = b->FocusY;
    return Ok;
}

// ---- pens -----------------------------------------------------------------

Status GdipCreatePen1(ARGB color, REAL width, GpUnit unit, GpPen** pen)
{
    GDIP_CHECK_STARTED();
    if (!pen || width < 0 || unit == UnitDisplay || unit < UnitWorld || unit > UnitMillimeter) return InvalidParameter;
    auto* p = new GpPen;
    p->Color = color;
    p->Width = width;
    p->Unit = unit;
    auto* fill = new GpSolidFill;
    fill->Color = color;
    p->Brush.reset(fill);
    *pen = p;
    return Ok;
}

Status GdipCreatePen2(GpBrush* brush, REAL width, GpUnit unit, GpPen** pen)
{
    GDIP_CHECK_STARTED();
    if (!brush || !pen || width < 0 || unit == UnitDisplay || unit < UnitWorld || unit > UnitMillimeter)
        return InvalidParameter;
    auto* p = new GpPen;
    p->Width = width;
    p->Unit = unit;
    p->Brush.reset(brush->Clone());
    if (auto* s = As<GpSolidFill>(p->Brush.get(), BrushTypeSolidColor)) p->Color = s->Color;
    *pen = p;
    return Ok;
}

Status GdipClonePen(GpPen* pen, GpPen** clonePen)
{
    if (!pen || !clonePen) return InvalidParameter;
    auto* p = new GpPen;
    p->Color = pen->Color;
    p->Width = pen->Width;
    p->Unit = pen->Unit;
    p->Brush.reset(pen->Brush->Clone());
    p->Dash = pen->Dash;
    p->Align = pen->Align;
    p->StartCap = pen->StartCap;
    p->EndCap = pen->EndCap;
    p->Join = pen->Join;
    *clonePen = p;
    return Ok;
}

Status GdipDeletePen(GpPen* pen)
{
    if (!pen) return InvalidParameter;
    delete pen;
    return Ok;
}

Status GdipSetPenWidth(GpPen* pen, REAL width)
{
    if (!pen || width < 0) return InvalidParameter;
    pen->Width = width;
    return Ok;
}

Status GdipGetPenWidth(GpPen* pen, REAL* width)
{
    if (!pen || !width) return InvalidParameter;
    *width = pen->Width;
    return Ok;
}

Status GdipSetPenColor(GpPen* pen, ARGB argb)
{
    if (!pen) return InvalidParameter;
    pen->Color = argb;
    auto* fill = new GpSolidFill;
    fill->Color = argb;
    pen->Brush.reset(fill);
    return Ok;
}

Status GdipGetPenColor(GpPen* pen, ARGB* argb)
{
    if (!pen || !argb) return InvalidParameter;
    if (pen->Brush->Type != BrushTypeSolidColor) return InvalidParameter;
    *argb = pen->Color;
    return Ok;
}

Status GdipSetPenBrushFill(GpPen* pen, GpBrush* brush)
{
    if (!pen || !brush) return InvalidParameter;
    pen->Brush.reset(brush->Clone());
    if (auto* s = As<GpSolidFill>(pen->Brush.get(), BrushTypeSolidColor)) pen->Color = s->Color;
    return Ok;
}

Status GdipGetPenBrushFill(GpPen* pen, GpBrush** brush)
{
    if (!pen || !brush) return InvalidParameter;
    *brush = pen->Brush->Clone();
    return Ok;
}

Status GdipGetPenFillType(GpPen* pen, PenType* type)
{
    if (!pen || !type) return InvalidParameter;
    *type = PenType(pen->Brush->Type);
    return Ok;
}

Status GdipSetPenDashStyle(GpPen* pen, DashStyle dashstyle)
{
    if (!pen || dashstyle < DashStyleSolid || dashstyle > DashStyleCustom) return InvalidParameter;
    pen->Dash = dashstyle;
    return Ok;
}

Status GdipGetPenDashStyle(GpPen* pen, DashStyle* dashstyle)
{
    if (!pen || !dashstyle) return InvalidParameter;
    *dashstyle = pen->Dash;
    return Ok;
}

Status GdipSetPenMode(GpPen* pen, PenAlignment penMode)
{
    if (!pen || (penMode != PenAlignmentCenter && penMode != PenAlignmentInset)) return InvalidParameter;
    pen->Align = penMode;
    return Ok;
}

Status GdipGetPenMode(GpPen* pen, PenAlignment* penMode)
{
    if (!pen || !penMode) return InvalidParameter;
    *penMode = pen->Align;
    return Ok;
}

Status GdipSetPenStartCap(GpPen* pen, LineCap startCap)
{
    if (!pen) return InvalidParameter;
    pen->StartCap = startCap;
    return Ok;
}

Status GdipSetPenEndCap(GpPen* pen, LineCap endCap)
{
    if (!pen) return InvalidParameter;
    pen->EndCap = endCap;
    return Ok;
}

Status GdipSetPenLineJoin(GpPen* pen, LineJoin lineJoin)
{
    if (!pen) return InvalidParameter;
    pen->Join = lineJoin;
    return Ok;
}
