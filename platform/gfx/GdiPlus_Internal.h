// The objects behind the GDI+-style flat interface, shared by its sources.
#pragma once

#include <cairo.h>

#include <memory>
#include <vector>

#include "platform/gfx/Codecs.h"
#include "platform/gfx/GdiPlus.h"

// Object creation needs a running engine, as the interface it stands for.
bool GdipStarted();
#define GDIP_CHECK_STARTED() \
    do { if (!GdipStarted()) return GdiplusNotInitialized; } while (0)

struct GpMatrix {
    cairo_matrix_t M;   // xx = m11, yx = m12, xy = m21, yy = m22, x0 = dx, y0 = dy
    GpMatrix() { cairo_matrix_init_identity(&M); }
};

// order: MatrixOrderPrepend applies op before m (op x m); Append after.
void GpCombine(cairo_matrix_t& m, const cairo_matrix_t& op, MatrixOrder order);

struct GpPath {
    std::vector<GpPointF> Points;
    std::vector<uint8_t> Types;
    FillMode Fill = FillModeAlternate;
    bool NewFigure = true;

    // Adds a point continuing the current figure; the first point of a new
    // figure becomes its start.
    void Add(REAL x, REAL y, uint8_t type);
    // Adds a point that continues a figure: connects with a line first when
    // the figure's last point differs from (x, y).
    void Continue(REAL x, REAL y);
    void AddBeziers(const std::vector<GpPointF>& ctrl);   // 3 points per segment
    void CloseFigure();
    // Appends the path to cr's current path (in user space).
    void Emit(cairo_t* cr) const;
};

// Arc on the ellipse in (x, y, w, h), angles in degrees clockwise from the
// x axis as GDI+ measures them: Bezier control points, the first being the
// start point.
std::vector<GpPointF> ArcBeziers(REAL x, REAL y, REAL w, REAL h, REAL start, REAL sweep);
// Cardinal spline through points as Bezier control points (first = start).
std::vector<GpPointF> CurveBeziers(const std::vector<GpPointF>& pts, REAL tension, bool closed);

struct GpRegion {
    enum Kind { kInfinite, kEmpty, kRect, kPath, kRegion };
    struct TElement {
        CombineMode Mode = CombineModeReplace;
        Kind K = kInfinite;
        GpRectF R;
        GpPath P;
        std::shared_ptr<const GpRegion> Sub;
    };
    std::vector<TElement> Elements;   // the first is the start; the rest combine into it
    // Renders the region as coverage into an A8 surface of w x h, with
    // transform m from region space to surface pixels.
    cairo_surface_t* Mask(int w, int h, const cairo_matrix_t& m, bool antialias) const;
};

struct GpImage;

struct GpBrush {
    BrushType Type;
    explicit GpBrush(BrushType t) : Type(t) {}
    virtual ~GpBrush() = default;
    virtual GpBrush* Clone() const = 0;
    // A cairo source for filling in the current user space of cr.
    virtual cairo_pattern_t* Pattern(cairo_t* cr) const = 0;
};

struct GpSolidFill : GpBrush {
    ARGB Color = 0;
    GpSolidFill() : GpBrush(BrushTypeSolidColor) {}
    GpBrush* Clone() const override { return new GpSolidFill(*this); }
    cairo_pattern_t* Pattern(cairo_t* cr) const override;
};

struct GpHatch : GpBrush {
    HatchStyle Style = HatchStyleHorizontal;
    ARGB Fore = 0, Back = 0;
    GpHatch() : GpBrush(BrushTypeHatchFill) {}
    GpBrush* Clone() const override { return new GpHatch(*this); }
    cairo_pattern_t* Pattern(cairo_t* cr) const override;
};

struct GpTexture : GpBrush {
    std::shared_ptr<GpImage> Image;   // an own copy of the source (rectangle and attributes applied)
    WrapMode Wrap = WrapModeTile;
    cairo_matrix_t Transform;
    GpTexture() : GpBrush(BrushTypeTextureFill) { cairo_matrix_init_identity(&Transform); }
    GpBrush* Clone() const override { return new GpTexture(*this); }
    cairo_pattern_t* Pattern(cairo_t* cr) const override;
};

struct TGradientStops {
    std::vector<REAL> BlendFactors, BlendPositions;    // GdipSetLineBlend
    std::vector<ARGB> PresetColors;                    // GdipSet...PresetBlend
    std::vector<REAL> PresetPositions;
    bool Gamma = false;
    // (position, colour) stops from colour a at 0 to colour b at 1.
    std::vector<std::pair<double, ARGB>> Stops(ARGB a, ARGB b) const;
};

struct GpLineGradient : GpBrush {
    GpPointF P1, P2;
    ARGB C1 = 0, C2 = 0;
    WrapMode Wrap = WrapModeTile;
    TGradientStops Blend;
    GpLineGradient() : GpBrush(BrushTypeLinearGradient) {}
    GpBrush* Clone() const override { return new GpLineGradient(*this); }
    cairo_pattern_t* Pattern(cairo_t* cr) const override;
};

struct GpPathGradient : GpBrush {
    GpPath Path;
    ARGB Center = 0xFF000000;
    GpPointF CenterPoint;
    std::vector<ARGB> Surround{0xFFFFFFFF};
    WrapMode Wrap = WrapModeClamp;
    TGradientStops Blend;
    REAL FocusX = 0, FocusY = 0;
    GpPathGradient() : GpBrush(BrushTypePathGradient) {}
    GpBrush* Clone() const override { return new GpPathGradient(*this); }
    cairo_pattern_t* Pattern(cairo_t* cr) const override;
};

struct GpPen {
    ARGB Color = 0xFF000000;
    REAL Width = 1;
    GpUnit Unit = UnitWorld;
    std::unique_ptr<GpBrush> Brush;   // always set: a solid fill for colour pens
    DashStyle Dash = DashStyleSolid;
    PenAlignment Align = PenAlignmentCenter;
    LineCap StartCap = LineCapFlat, EndCap = LineCapFlat;
    LineJoin Join = LineJoinMiter;
};

struct GpImageAttributes {
    struct TAdjust {
        bool Set = false;                // any adjustment given for this category
        bool NoOp = false;
        bool ColorKey = false;
        ARGB KeyLow = 0, KeyHigh = 0;
        bool Matrix = false;
        ColorMatrix CM{};
        ColorMatrixFlags MatrixFlags = ColorMatrixFlagsDefault;
        bool Gamma = false;
        REAL GammaValue = 1;
        bool Threshold = false;
        REAL ThresholdValue = 0.5f;
        std::vector<ColorMap> Remap;
        bool Remapping = false;
    };
    TAdjust Adjust[ColorAdjustTypeCount];
    WrapMode Wrap = WrapModeClamp;
    ARGB WrapColor = 0;
    // The settings that apply to bitmaps: their own, else the defaults.
    const TAdjust& ForBitmap() const
    {
        return Adjust[ColorAdjustTypeBitmap].Set ? Adjust[ColorAdjustTypeBitmap] : Adjust[ColorAdjustTypeDefault];
    }
    bool Active() const { const TAdjust& a = ForBitmap(); return a.Set && !a.NoOp; }
    ARGB Apply(ARGB px) const;   // straight ARGB in and out
};

struct GpImage {
    ImageType Type = ImageTypeBitmap;
    GUID RawFormat = ImageFormatMemoryBMP;
    PixelFormat Format = PixelFormat32bppARGB;
    int Width = 0, Height = 0;
    cairo_surface_t* Surface = nullptr;      // bitmaps: ARGB32, premultiplied
    std::shared_ptr<const TGifData> Gif;     // animated GIFs: every frame
    int ActiveFrame = 0;
    bool Locked = false;
    BitmapData LockData{};
    uint32_t LockFlags = 0;
    GpRect LockRect;
    std::vector<uint8_t> LockBuffer;
    int Users = 0;                           // graphics contexts drawing on it

    GpImage() = default;
    GpImage(const GpImage& o);
    GpImage& operator=(const GpImage&) = delete;
    virtual ~GpImage();
};

struct GpBitmap : GpImage {};

// Straight 0xAARRGGBB pixels to and from a premultiplied cairo surface.
cairo_surface_t* SurfaceFromImage(const TImageData& img);
TImageData ImageFromSurface(cairo_surface_t* s);
// A new bitmap image of the given pixels.
GpBitmap* NewBitmap(const TImageData& img, PixelFormat format, const GUID& raw);
// A copy of the image's surface (or part of it) with the attributes applied.
cairo_surface_t* AdjustedSurface(const GpImage* img, int sx, int sy, int sw, int sh, const GpImageAttributes* attr);

struct GpFontFamily {
    String Name;          // the installed family drawn with
    String Requested;     // the name asked for, which GdipGetFamilyName answers
    bool Generic = false; // one of the three shared generic families
};

struct GpFontCollection {};

struct GpFont {
    String Family;
    REAL Size = 0;
    INT Style = FontStyleRegular;
    GpUnit Unit = UnitPoint;
    // Em size in world units (pixels at 96 per inch).
    double Pixels() const;
};

struct GpStringFormat {
    INT Flags = 0;
    uint16_t Language = 0;
    StringAlignment Align = StringAlignmentNear;
    StringAlignment LineAlign = StringAlignmentNear;
    StringTrimming Trimming = StringTrimmingCharacter;
    INT Hotkey = HotkeyPrefixNone;
};

struct GpGraphics {
    cairo_t* Cr = nullptr;
    HDC Dc = nullptr;                 // made from a device context
    GpImage* Image = nullptr;         // made on an image
    cairo_matrix_t Base;              // the target's own transform (map mode, origin)
    cairo_matrix_t World;
    SmoothingMode Smoothing = SmoothingModeNone;
    TextRenderingHint TextHint = TextRenderingHintSystemDefault;
    CompositingQuality Quality = CompositingQualityDefault;
    cairo_surface_t* Clip = nullptr;  // A8 coverage in target pixels; null: no clip of our own
    int TargetW = 0, TargetH = 0;
    bool InGetDC = false;
    HDC TempDc = nullptr;             // the DC handed out by GdipGetDC for an image
    ~GpGraphics();
};

// Drawing helpers shared by the graphics and text sources. Begin sets up
// cr for drawing (smoothing, clip group, world transform; vector geometry
// gets GDI+'s half-pixel centre convention); End composes the result
// through the clip.
void GpBegin(GpGraphics* g, bool vector);
void GpEnd(GpGraphics* g);
void GpSetSourceArgb(cairo_t* cr, ARGB c);
