// VodGDIP: pens, brushes, font families, fonts and string formats.
#include <memory>

#include "controls/foundation/VodGDIP_Internal.h"

using H = TGdipHandles;

// ---- pen ------------------------------------------------------------------

TGPPen::TGPPen(ARGB color, REAL width) { lastResult = GdipCreatePen1(color, width, UnitWorld, &nativePen); }

TGPPen::TGPPen(TGPBrush* brush, REAL width)
{
    lastResult = GdipCreatePen2(H::Of(brush), width, UnitWorld, &nativePen);
}

TGPPen::~TGPPen() { GdipDeletePen(nativePen); }

Status TGPPen::SetBrush(TGPBrush* brush) { return Record(GdipSetPenBrushFill(nativePen, H::Of(brush))); }

TGPBrush* TGPPen::GetBrush()
{
    TGPBrush* brush = nullptr;
    switch (GetPenType()) {
    case PenTypeSolidColor: brush = new TGPSolidBrush(); break;
    case PenTypeHatchFill: brush = new TGPHatchBrush(); break;
    case PenTypeTextureFill: brush = new TGPTextureBrush(); break;
    case PenTypePathGradient: brush = new TGPBrush(); break;
    case PenTypeLinearGradient: brush = new TGPLinearGradientBrush(); break;
    default: return nullptr;
    }
    GpBrush* native = nullptr;
    Record(GdipGetPenBrushFill(nativePen, &native));
    H::Adopt(brush, native);
    return brush;
}

PenType TGPPen::GetPenType()
{
    PenType type = PenTypeUnknown;
    if (Record(GdipGetPenFillType(nativePen, &type)) != Ok) return PenTypeUnknown;
    return type;
}

Status TGPPen::SetDashStyle(DashStyle dashStyle) { return Record(GdipSetPenDashStyle(nativePen, dashStyle)); }

DashStyle TGPPen::GetDashStyle()
{
    DashStyle d = DashStyleSolid;
    Record(GdipGetPenDashStyle(nativePen, &d));
    return d;
}

Status TGPPen::SetEndCap(LineCap endCap) { return Record(GdipSetPenEndCap(nativePen, endCap)); }

Status TGPPen::GetLastStatus()
{
    const Status s = lastResult;
    lastResult = Ok;
    return s;
}

// ---- brushes ----------------------------------------------------------------

TGPBrush::TGPBrush() { lastResult = NotImplemented; }

TGPBrush::TGPBrush(GpBrush* nativeBrush_, Status status) : nativeBrush(nativeBrush_), lastResult(status) {}

TGPBrush::~TGPBrush() { GdipDeleteBrush(nativeBrush); }

Status TGPBrush::GetLastStatus()
{
    const Status s = lastResult;
    lastResult = Ok;
    return s;
}

TGPSolidBrush::TGPSolidBrush(ARGB color) : TGPBrush(TEmpty{})
{
    GpSolidFill* b = nullptr;
    lastResult = GdipCreateSolidFill(color, &b);
    nativeBrush = b;
}

TGPSolidBrush::TGPSolidBrush() : TGPBrush(TEmpty{}) {}

TGPHatchBrush::TGPHatchBrush(HatchStyle hatchStyle, ARGB foreColor, ARGB backColor) : TGPBrush(TEmpty{})
{
    GpHatch* b = nullptr;
    lastResult = GdipCreateHatchBrush(hatchStyle, foreColor, backColor, &b);
    nativeBrush = b;
}

TGPHatchBrush::TGPHatchBrush() : TGPBrush(TEmpty{}) {}

namespace {

// The handle as the kind of brush a call asks for; null when the brush is
// of another kind, which the call then refuses.
template <class T>
T* AsKind(GpBrush* b, BrushType kind)
{
    return b && b->Type == kind ? static_cast<T*>(b) : nullptr;
}

}  // namespace

HatchStyle TGPHatchBrush::GetHatchStyle()
{
    HatchStyle h = HatchStyleHorizontal;
    Record(GdipGetHatchStyle(AsKind<GpHatch>(nativeBrush, BrushTypeHatchFill), &h));
    return h;
}

Status TGPHatchBrush::GetForegroundColor(ARGB& color)
{
    return Record(GdipGetHatchForegroundColor(AsKind<GpHatch>(nativeBrush, BrushTypeHatchFill), &color));
}

Status TGPHatchBrush::GetBackgroundColor(ARGB& color)
{
    return Record(GdipGetHatchBackgroundColor(AsKind<GpHatch>(nativeBrush, BrushTypeHatchFill), &color));
}

// Texture brushes.

#define VOD_TEXTURE(call)          \
    GpTexture* t = nullptr;        \
    lastResult = (call);           \
    nativeBrush = t;

TGPTextureBrush::TGPTextureBrush(TGPImage* image, WrapMode wrapMode) : TGPBrush(TEmpty{})
{
    VOD_TEXTURE(GdipCreateTexture(H::Of(image), wrapMode, &t))
}

TGPTextureBrush::TGPTextureBrush(TGPImage* image, WrapMode wrapMode, const TGPRectF& r) : TGPBrush(TEmpty{})
{
    VOD_TEXTURE(GdipCreateTexture2(H::Of(image), wrapMode, r.X, r.Y, r.Width, r.Height, &t))
}

TGPTextureBrush::TGPTextureBrush(TGPImage* image, WrapMode wrapMode, REAL dstX, REAL dstY, REAL dstWidth,
                                 REAL dstHeight)
    : TGPBrush(TEmpty{})
{
    VOD_TEXTURE(GdipCreateTexture2(H::Of(image), wrapMode, dstX, dstY, dstWidth, dstHeight, &t))
}

TGPTextureBrush::TGPTextureBrush(TGPImage* image, WrapMode wrapMode, const TGPRect& r) : TGPBrush(TEmpty{})
{
    VOD_TEXTURE(GdipCreateTexture2I(H::Of(image), wrapMode, r.X, r.Y, r.Width, r.Height, &t))
}

TGPTextureBrush::TGPTextureBrush(TGPImage* image, WrapMode wrapMode, INT dstX, INT dstY, INT dstWidth,
                                 INT dstHeight)
    : TGPBrush(TEmpty{})
{
    VOD_TEXTURE(GdipCreateTexture2I(H::Of(image), wrapMode, dstX, dstY, dstWidth, dstHeight, &t))
}

TGPTextureBrush::TGPTextureBrush(TGPImage* image, const TGPRectF& r, TGPImageAttributes* imageAttributes)
    : TGPBrush(TEmpty{})
{
    VOD_TEXTURE(GdipCreateTextureIA(H::Of(image), H::Of(imageAttributes), r.X, r.Y, r.Width, r.Height, &t))
}

TGPTextureBrush::TGPTextureBrush(TGPImage* image, const TGPRect& r, TGPImageAttributes* imageAttributes)
    : TGPBrush(TEmpty{})
{
    VOD_TEXTURE(GdipCreateTextureIAI(H::Of(image), H::Of(imageAttributes), r.X, r.Y, r.Width, r.Height, &t))
}

#undef VOD_TEXTURE

TGPTextureBrush::TGPTextureBrush() : TGPBrush(TEmpty{}) {}

namespace {
GpTexture* Texture(GpBrush* b) { return AsKind<GpTexture>(b, BrushTypeTextureFill); }
}  // namespace

Status TGPTextureBrush::ResetTransform() { return Record(GdipResetTextureTransform(Texture(nativeBrush))); }

Status TGPTextureBrush::TranslateTransform(REAL dx, REAL dy, MatrixOrder order)
{
    return Record(GdipTranslateTextureTransform(Texture(nativeBrush), dx, dy, order));
}

Status TGPTextureBrush::ScaleTransform(REAL sx, REAL sy, MatrixOrder order)
{
    return Record(GdipScaleTextureTransform(Texture(nativeBrush), sx, sy, order));
}

Status TGPTextureBrush::RotateTransform(REAL angle, MatrixOrder order)
{
    return Record(GdipRotateTextureTransform(Texture(nativeBrush), angle, order));
}

Status TGPTextureBrush::SetWrapMode(WrapMode wrapMode)
{
    return Record(GdipSetTextureWrapMode(Texture(nativeBrush), wrapMode));
}

WrapMode TGPTextureBrush::GetWrapMode()
{
    WrapMode w = WrapModeTile;
    Record(GdipGetTextureWrapMode(Texture(nativeBrush), &w));
    return w;
}

TGPImage* TGPTextureBrush::GetImage()
{
    GpImage* image = nullptr;
    Record(GdipGetTextureImage(Texture(nativeBrush), &image));
    return new TGPImage(image, lastResult);
}

// Linear gradient brushes.

#define VOD_LINE(call)             \
    GpLineGradient* l = nullptr;   \
    lastResult = (call);           \
    nativeBrush = l;

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPPointF& point1, const TGPPointF& point2, ARGB color1,
                                               ARGB color2)
    : TGPBrush(TEmpty{})
{
    VOD_LINE(GdipCreateLineBrush(&point1, &point2, color1, color2, WrapModeTile, &l))
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPPoint& point1, const TGPPoint& point2, ARGB color1,
                                               ARGB color2)
    : TGPBrush(TEmpty{})
{
    VOD_LINE(GdipCreateLineBrushI(&point1, &point2, color1, color2, WrapModeTile, &l))
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRectF& rect, ARGB color1, ARGB color2,
                                               LinearGradientMode mode)
    : TGPBrush(TEmpty{})
{
    VOD_LINE(GdipCreateLineBrushFromRect(&rect, color1, color2, mode, WrapModeTile, &l))
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRect& rect, ARGB color1, ARGB color2,
                                               LinearGradientMode mode)
    : TGPBrush(TEmpty{})
{
    VOD_LINE(GdipCreateLineBrushFromRectI(&rect, color1, color2, mode, WrapModeTile, &l))
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRectF& rect, ARGB color1, ARGB color2, REAL angle,
                                               BOOL isAngleScalable)
    : TGPBrush(TEmpty{})
{
    VOD_LINE(GdipCreateLineBrushFromRectWithAngle(&rect, color1, color2, angle, isAngleScalable, WrapModeTile, &l))
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRect& rect, ARGB color1, ARGB color2, REAL angle,
                                               BOOL isAngleScalable)
    : TGPBrush(TEmpty{})
{
    VOD_LINE(GdipCreateLineBrushFromRectWithAngleI(&rect, color1, color2, angle, isAngleScalable, WrapModeTile, &l))
}

#undef VOD_LINE

TGPLinearGradientBrush::TGPLinearGradientBrush() : TGPBrush() {}

namespace {
GpLineGradient* Line(GpBrush* b) { return AsKind<GpLineGradient>(b, BrushTypeLinearGradient); }
}  // namespace

Status TGPLinearGradientBrush::SetGammaCorrection(BOOL useGammaCorrection)
{
    return Record(GdipSetLineGammaCorrection(Line(nativeBrush), useGammaCorrection));
}

Status TGPLinearGradientBrush::SetInterpolationColors(const ARGB* presetColors, const REAL* blendPositions,
                                                      INT count)
{
    if (count <= 0) return Record(InvalidParameter);
    return Record(GdipSetLinePresetBlend(Line(nativeBrush), presetColors, blendPositions, count));
}

// Path gradient brushes.

TGPPathGradientBrush::TGPPathGradientBrush(TGPGraphicsPath* path) : TGPBrush(TEmpty{})
{
    GpPathGradient* p = nullptr;
    lastResult = GdipCreatePathGradientFromPath(H::Of(path), &p);
    nativeBrush = p;
}

GpPathGradient* TGPPathGradientBrush::Native() const
{
    return AsKind<GpPathGradient>(nativeBrush, BrushTypePathGradient);
}

Status TGPPathGradientBrush::SetCenterColor(ARGB color)
{
    Record(GdipSetPathGradientCenterColor(Native(), color));
    return lastResult;
}

Status TGPPathGradientBrush::GetCenterColor(ARGB& color)
{
    Record(GdipGetPathGradientCenterColor(Native(), &color));
    return lastResult;
}

INT TGPPathGradientBrush::GetPointCount()
{
    INT count = 0;
    if (Record(GdipGetPathGradientPointCount(Native(), &count)) != Ok) return 0;
    return count;
}

Status TGPPathGradientBrush::SetSurroundColors(const ARGB* colors, INT& count)
{
    if (!colors) return Record(InvalidParameter);
    const INT n = GetPointCount();
    if (count > n || n <= 0) return Record(InvalidParameter);
    INT given = count;
    Record(GdipSetPathGradientSurroundColorsWithCount(Native(), colors, &given));
    if (lastResult == Ok) count = given;
    return lastResult;
}

Status TGPPathGradientBrush::GetSurroundColors(ARGB* colors, INT& count)
{
    if (!colors) return Record(InvalidParameter);
    INT n = 0;
    if (Record(GdipGetPathGradientSurroundColorCount(Native(), &n)) != Ok) return lastResult;
    if (count < n || n <= 0) return Record(InsufficientBuffer);
    INT got = count;
    Record(GdipGetPathGradientSurroundColorsWithCount(Native(), colors, &got));
    if (lastResult == Ok) count = got;
    return lastResult;
}

Status TGPPathGradientBrush::SetCenterPoint(const TGPPointF& point)
{
    return Record(GdipSetPathGradientCenterPoint(Native(), &point));
}

Status TGPPathGradientBrush::SetCenterPoint(const TGPPoint& point)
{
    return Record(GdipSetPathGradientCenterPointI(Native(), &point));
}

Status TGPPathGradientBrush::GetCenterPoint(TGPPointF& point)
{
    return Record(GdipGetPathGradientCenterPoint(Native(), &point));
}

Status TGPPathGradientBrush::GetCenterPoint(TGPPoint& point)
{
    return Record(GdipGetPathGradientCenterPointI(Native(), &point));
}

Status TGPPathGradientBrush::SetWrapMode(WrapMode wrapMode)
{
    return Record(GdipSetPathGradientWrapMode(Native(), wrapMode));
}

Status TGPPathGradientBrush::SetGammaCorrection(BOOL useGammaCorrection)
{
    return Record(GdipSetPathGradientGammaCorrection(Native(), useGammaCorrection));
}

Status TGPPathGradientBrush::SetInterpolationColors(const ARGB* presetColors, const REAL* blendPositions,
                                                    INT count)
{
    if (count <= 0 || !presetColors) return Record(InvalidParameter);
    return Record(GdipSetPathGradientPresetBlend(Native(), presetColors, blendPositions, count));
}

// ---- font families and fonts ------------------------------------------------

TGPFontFamily::TGPFontFamily(const String& name, TGPFontCollection* fontCollection)
{
    lastResult = GdipCreateFontFamilyFromName(name.c_str(), H::Of(fontCollection), &nativeFamily);
}

TGPFontFamily::TGPFontFamily(GpFontFamily* nativeOrig, Status status) : nativeFamily(nativeOrig), lastResult(status)
{
}

TGPFontFamily::~TGPFontFamily() { GdipDeleteFontFamily(nativeFamily); }

TGPFontFamily* TGPFontFamily::GenericSansSerif() { return Generic(0); }
TGPFontFamily* TGPFontFamily::GenericSerif() { return Generic(1); }
TGPFontFamily* TGPFontFamily::GenericMonospace() { return Generic(2); }

Status TGPFontFamily::GetLastStatus()
{
    const Status s = lastResult;
    lastResult = Ok;
    return s;
}

TGPFont::TGPFont(TGPFontFamily* family, REAL emSize, INT style, Unit_ unit_)
{
    lastResult = GdipCreateFont(H::Of(family), emSize, style, unit_, &nativeFont);
}

TGPFont::TGPFont(const String& familyName, REAL emSize, INT style, Unit_ unit_, TGPFontCollection* fontCollection)
{
    std::unique_ptr<TGPFontFamily> family(new TGPFontFamily(familyName, fontCollection));
    lastResult = GdipCreateFont(H::Of(family.get()), emSize, style, unit_, &nativeFont);
    if (lastResult != Ok)
        lastResult = GdipCreateFont(H::Of(TGPFontFamily::GenericSansSerif()), emSize, style, unit_, &nativeFont);
}

TGPFont::TGPFont(GpFont* font, Status status) : nativeFont(font), lastResult(status) {}

TGPFont::~TGPFont() { GdipDeleteFont(nativeFont); }

Status TGPFont::GetLastStatus()
{
    const Status s = lastResult;
    lastResult = Ok;
    return s;
}

// ---- string formats -----------------------------------------------------------

TGPStringFormat::TGPStringFormat(INT formatFlags, Word language)
{
    lastError = GdipCreateStringFormat(formatFlags, language, &nativeFormat);
}

TGPStringFormat::TGPStringFormat(TGPStringFormat* format)
{
    lastError = GdipCloneStringFormat(H::Of(format), &nativeFormat);
}

TGPStringFormat::TGPStringFormat(GpStringFormat* clonedStringFormat, Status status)
    : nativeFormat(clonedStringFormat), lastError(status)
{
}

TGPStringFormat::~TGPStringFormat() { GdipDeleteStringFormat(nativeFormat); }

Status TGPStringFormat::SetAlignment(StringAlignment align)
{
    return Record(GdipSetStringFormatAlign(nativeFormat, align));
}

StringAlignment TGPStringFormat::GetAlignment()
{
    StringAlignment a = StringAlignmentNear;
    Record(GdipGetStringFormatAlign(nativeFormat, &a));
    return a;
}

Status TGPStringFormat::SetLineAlignment(StringAlignment align)
{
    return Record(GdipSetStringFormatLineAlign(nativeFormat, align));
}

StringAlignment TGPStringFormat::GetLineAlignment()
{
    StringAlignment a = StringAlignmentNear;
    Record(GdipGetStringFormatLineAlign(nativeFormat, &a));
    return a;
}

Status TGPStringFormat::SetFormatFlags(INT flags) { return Record(GdipSetStringFormatFlags(nativeFormat, flags)); }

INT TGPStringFormat::GetFormatFlags()
{
    INT f = 0;
    Record(GdipGetStringFormatFlags(nativeFormat, &f));
    return f;
}

Status TGPStringFormat::SetTrimming(StringTrimming trimming)
{
    return Record(GdipSetStringFormatTrimming(nativeFormat, trimming));
}

StringTrimming TGPStringFormat::GetTrimming()
{
    StringTrimming t = StringTrimmingNone;
    Record(GdipGetStringFormatTrimming(nativeFormat, &t));
    return t;
}

Status TGPStringFormat::SetHotkeyPrefix(HotkeyPrefix hotkeyPrefix)
{
    return Record(GdipSetStringFormatHotkeyPrefix(nativeFormat, hotkeyPrefix));
}

HotkeyPrefix TGPStringFormat::GetHotkeyPrefix()
{
    INT h = HotkeyPrefixNone;
    Record(GdipGetStringFormatHotkeyPrefix(nativeFormat, &h));
    return HotkeyPrefix(h);
}

Status TGPStringFormat::GetLastStatus()
{
    const Status s = lastError;
    lastError = Ok;
    return s;
}
