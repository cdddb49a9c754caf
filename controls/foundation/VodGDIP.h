// VodGDIP: an object layer over the GDI+-style flat drawing interface. One
// class per GDI+ object kind, each owning one native handle; the records,
// enumerations and colour routines that go with them; and the library's own
// text operations on the drawing surface.
//
// Status convention, kept by every class: a constructor stores the status of
// its creation call whatever it is; every other operation records a status
// only when it is a failure and returns the status of its call, so a failure
// stays recorded until GetLastStatus reads (and clears) it. Nothing raises.
//
// Every wrapper object lives in memory obtained from GdipAlloc and is given
// back with GdipFree. GDI+ runs from the library's start-up to its shut-down;
// a wrapper made before the start-up starts it.
#pragma once

#include <array>
#include <cstddef>

#include "platform/base/ComObj.h"
#include "platform/base/Objects.h"
#include "platform/base/Types.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Colors.h"
#include "platform/gfx/GdiPlus.h"

// ---------------------------------------------------------------------------
// Start-up and shut-down

// Starts GDI+ unless it runs already (the library's start-up calls it).
void VodGdipStartup();
// Frees the shared generic font families, then stops GDI+ when this unit
// started it (the library's shut-down calls it). Every wrapper object must
// be freed before.
void VodGdipShutdown();
// Whether this unit holds GDI+ running.
bool VodGdipRunning();

// ---------------------------------------------------------------------------
// Records

using TGPPointF = GpPointF;
using TGPPoint = GpPoint;
using TGPRectF = GpRectF;
using TGPRect = GpRect;
using PGPPointF = TGPPointF*;
using PGPPoint = TGPPoint*;
using PARGB = ARGB*;
using PGPColor = ARGB*;
using PColorMap = ColorMap*;
using PColorPalette = ColorPalette*;
using PEncoderParameters = EncoderParameters*;
// m11, m12, m21, m22, dx, dy.
using TMatrixArray = std::array<REAL, 6>;

// The text quality that text-drawing controls offer.
enum TAntiAlias { aaNone, aaClearType, aaAntiAlias };

// What TGPImage::GetFormat answers.
enum TGPImageFormat {
    ifUndefined, ifMemoryBMP, ifBMP, ifEMF, ifWMF, ifJPEG, ifPNG, ifGIF, ifTIFF, ifEXIF, ifIcon
};

// ---------------------------------------------------------------------------
// Colour and geometry routines

// A system colour is resolved to its current value; alpha is 255.
ARGB ARGBFromTColor(TColor Color);
ARGB ComposeARGB(Byte A, Byte R, Byte G, Byte B);
ARGB ComposeOpaqueARGB(Byte R, Byte G, Byte B);
Byte ARGBRed(ARGB Color);
Byte ARGBGreen(ARGB Color);
Byte ARGBBlue(ARGB Color);
TGPPoint NewGPPoint(Integer X, Integer Y);
TGPRectF NewGPRectF(REAL X, REAL Y, REAL Width, REAL Height);

// ---------------------------------------------------------------------------
// Classes

class TGPGraphics;
class TGPPen;
class TGPBrush;
class TGPSolidBrush;
class TGPHatchBrush;
class TGPTextureBrush;
class TGPLinearGradientBrush;
class TGPPathGradientBrush;
class TGPFontFamily;
class TGPFontCollection;
class TGPFont;
class TGPStringFormat;
class TGPGraphicsPath;
class TGPRegion;
class TGPMatrix;
class TGPImage;
class TGPBitmap;
class TGPImageAttributes;
struct TGdipHandles;

// The classes of the unit read each other's handles (a pen made from a
// brush passes the brush's handle) through TGdipHandles.
#define VOD_GDIP_FRIENDS friend struct TGdipHandles;

// The root of the wrappers: only the allocation through GDI+'s memory.
class TGdiplusBase : public TObject {
public:
    TGdiplusBase() = default;
    TGdiplusBase(const TGdiplusBase&) = delete;
    TGdiplusBase& operator=(const TGdiplusBase&) = delete;

    // GdipAlloc; when it gives nothing (GDI+ not running), GDI+ is started
    // and the allocation tried once more. std::bad_alloc when that fails too.
    static void* operator new(std::size_t size);
    static void operator delete(void* p) noexcept;
};

// ---- drawing surface --------------------------------------------------------

class TGPGraphics : public TGdiplusBase {
    VOD_GDIP_FRIENDS
public:
    explicit TGPGraphics(HDC hdc);
    // A null image makes no call: no handle, status Ok.
    explicit TGPGraphics(TGPImage* image);
    ~TGPGraphics() override;
    static TGPGraphics* FromImage(TGPImage* image);

    void Flush(FlushIntention intention = FlushIntentionFlush);
    Status Clear(ARGB color);
    HDC GetHDC();
    Status ReleaseHDC(HDC hdc);
    Status SetTransform(TGPMatrix* matrix);
    Status ResetTransform();
    Status MultiplyTransform(TGPMatrix* matrix, MatrixOrder order = MatrixOrderPrepend);
    Status TranslateTransform(REAL dx, REAL dy, MatrixOrder order = MatrixOrderPrepend);
    Status RotateTransform(REAL angle, MatrixOrder order = MatrixOrderPrepend);
    Status ScaleTransform(REAL sx, REAL sy, MatrixOrder order = MatrixOrderPrepend);
    Status SetCompositingQuality(CompositingQuality quality);
    CompositingQuality GetCompositingQuality();
    Status SetTextRenderingHint(TextRenderingHint mode);
    TextRenderingHint GetTextRenderingHint();
    Status SetSmoothingMode(SmoothingMode mode);
    // SmoothingModeInvalid (-1) when the call fails.
    SmoothingMode GetSmoothingMode();

    Status DrawPath(TGPPen* pen, TGPGraphicsPath* path);
    Status FillPath(TGPBrush* brush, TGPGraphicsPath* path);
    Status FillRectangle(TGPBrush* brush, const TGPRectF& rect);
    Status FillRectangle(TGPBrush* brush, REAL x, REAL y, REAL width, REAL height);
    Status DrawRectangle(TGPPen* pen, const TGPRectF& rect);
    Status DrawRectangle(TGPPen* pen, REAL x, REAL y, REAL width, REAL height);
    Status DrawLine(TGPPen* pen, REAL x1, REAL y1, REAL x2, REAL y2);
    Status DrawArc(TGPPen* pen, REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle);
    Status DrawArc(TGPPen* pen, const TGPRectF& rect, REAL startAngle, REAL sweepAngle);
    Status DrawBezier(TGPPen* pen, REAL x1, REAL y1, REAL x2, REAL y2, REAL x3, REAL y3, REAL x4, REAL y4);
    Status DrawBezier(TGPPen* pen, const TGPPointF& pt1, const TGPPointF& pt2, const TGPPointF& pt3,
                      const TGPPointF& pt4);
    Status DrawBeziers(TGPPen* pen, const TGPPointF* points, INT count);
    Status DrawEllipse(TGPPen* pen, const TGPRectF& rect);
    Status DrawEllipse(TGPPen* pen, REAL x, REAL y, REAL width, REAL height);
    Status DrawEllipse(TGPPen* pen, const TGPRect& rect);
    Status DrawEllipse(TGPPen* pen, INT x, INT y, INT width, INT height);
    Status FillEllipse(TGPBrush* brush, const TGPRectF& rect);
    Status FillEllipse(TGPBrush* brush, REAL x, REAL y, REAL width, REAL height);
    Status FillEllipse(TGPBrush* brush, const TGPRect& rect);
    Status FillEllipse(TGPBrush* brush, INT x, INT y, INT width, INT height);
    Status FillPolygon(TGPBrush* brush, const TGPPointF* points, INT count, FillMode fillMode = FillModeAlternate);
    Status FillPolygon(TGPBrush* brush, const TGPPoint* points, INT count, FillMode fillMode = FillModeAlternate);

    Status DrawImage(TGPImage* image, INT x, INT y);
    Status DrawImage(TGPImage* image, REAL x, REAL y, REAL width, REAL height);
    Status DrawImage(TGPImage* image, const TGPRectF& rect);
    Status DrawImage(TGPImage* image, const TGPRectF& destRect, REAL srcx, REAL srcy, REAL srcwidth,
                     REAL srcheight, Unit_ srcUnit, TGPImageAttributes* imageAttributes = nullptr,
                     ImageAbort callback = nullptr, void* callbackData = nullptr);
    Status DrawImageRect(TGPImage* image, INT x, INT y, INT w, INT h);
    // Each of X, Y, Width and Height rounded (halves to even), then the
    // integer form.
    Status DrawImageRect(TGPImage* image, const TGPRectF& ARect);

    Status ExcludeClip(const TGPRectF& rect);
    Status ExcludeClip(TGPRegion* region);
    Status SetClip(TGPRegion* region, CombineMode combineMode = CombineModeReplace);
    Status SetClip(TGPGraphicsPath* path, CombineMode combineMode = CombineModeReplace);
    Status ResetClip();

    // length: characters of string_ to measure; a negative length or one
    // beyond the string means the whole string.
    Status MeasureString(const String& string_, INT length, TGPFont* font, const TGPRectF& layoutRect,
                         TGPStringFormat* stringFormat, TGPRectF& boundingBox, INT* codepointsFitted = nullptr,
                         INT* linesFilled = nullptr);
    Status MeasureString(const String& string_, INT length, TGPFont* font, const TGPPointF& origin,
                         TGPStringFormat* stringFormat, TGPRectF& boundingBox);
    Status MeasureString(const String& string_, INT length, TGPFont* font, const TGPRectF& layoutRect,
                         TGPRectF& boundingBox);
    // The whole string is drawn; length is not consulted.
    Status DrawString(const String& string_, INT length, TGPFont* font, const TGPRectF& layoutRect,
                      TGPStringFormat* stringFormat, TGPBrush* brush);
    Status DrawString(const String& string_, INT length, TGPFont* font, const TGPPointF& origin,
                      TGPStringFormat* stringFormat, TGPBrush* brush);
    Status DrawString(const String& string_, INT length, TGPFont* font, const TGPPointF& origin, TGPBrush* brush);

    Status GetLastStatus();

    // The library's text operations in a platform font.
    // A new GDI+ font the caller frees; "Arial" when the font's family is
    // not installed.
    TGPFont* MakeFont(TFont* AFont);
    Integer TextWidth(const String& string_, TFont* font);
    Integer TextHeight(const String& string_, TFont* font);
    // Of style only DT_CALCRECT is consulted; bkColor clNone: no background.
    // Answers the height of rect after measuring, else of the rect passed.
    Integer DrawText(const String& string_, Integer len, TRect& rect, TFont* font, Cardinal style,
                     TColor bkColor);

protected:
    Status Record(Status s)
    {
        if (s != Ok) lastResult = s;
        return s;
    }
    GpGraphics* nativeGraphics = nullptr;
    Status lastResult = Ok;
};

// ---- pens and brushes ---------------------------------------------------------

class TGPPen : public TGdiplusBase {
    VOD_GDIP_FRIENDS
public:
    TGPPen(ARGB color, REAL width = 1.0f);
    TGPPen(TGPBrush* brush, REAL width = 1.0f);
    ~TGPPen() override;

    Status SetBrush(TGPBrush* brush);
    // A new brush of the pen's fill that the caller frees; null for a fill
    // type without a brush class.
    TGPBrush* GetBrush();
    PenType GetPenType();
    Status SetDashStyle(DashStyle dashStyle);
    DashStyle GetDashStyle();
    Status SetEndCap(LineCap endCap);
    Status GetLastStatus();

protected:
    Status Record(Status s)
    {
        if (s != Ok) lastResult = s;
        return s;
    }
    GpPen* nativePen = nullptr;
    Status lastResult = Ok;
};

class TGPBrush : public TGdiplusBase {
    VOD_GDIP_FRIENDS
public:
    // No GDI+ object: status NotImplemented.
    TGPBrush();
    // Adopts a handle and a status.
    TGPBrush(GpBrush* nativeBrush, Status status);
    ~TGPBrush() override;
    Status GetLastStatus();

protected:
    Status Record(Status s)
    {
        if (s != Ok) lastResult = s;
        return s;
    }
    // For the descendants' empty constructors: no handle, status Ok.
    struct TEmpty {};
    explicit TGPBrush(TEmpty) {}
    GpBrush* nativeBrush = nullptr;
    Status lastResult = Ok;
};

class TGPSolidBrush : public TGPBrush {
    VOD_GDIP_FRIENDS
public:
    explicit TGPSolidBrush(ARGB color);
    TGPSolidBrush();
};

class TGPHatchBrush : public TGPBrush {
    VOD_GDIP_FRIENDS
public:
    TGPHatchBrush(HatchStyle hatchStyle, ARGB foreColor, ARGB backColor = 0xFF000000);
    TGPHatchBrush();
    HatchStyle GetHatchStyle();
    Status GetForegroundColor(ARGB& color);
    Status GetBackgroundColor(ARGB& color);
};

class TGPTextureBrush : public TGPBrush {
    VOD_GDIP_FRIENDS
public:
    TGPTextureBrush(TGPImage* image, WrapMode wrapMode = WrapModeTile);
    TGPTextureBrush(TGPImage* image, WrapMode wrapMode, const TGPRectF& dstRect);
    TGPTextureBrush(TGPImage* image, WrapMode wrapMode, REAL dstX, REAL dstY, REAL dstWidth, REAL dstHeight);
    TGPTextureBrush(TGPImage* image, WrapMode wrapMode, const TGPRect& dstRect);
    TGPTextureBrush(TGPImage* image, WrapMode wrapMode, INT dstX, INT dstY, INT dstWidth, INT dstHeight);
    TGPTextureBrush(TGPImage* image, const TGPRectF& dstRect, TGPImageAttributes* imageAttributes);
    TGPTextureBrush(TGPImage* image, const TGPRect& dstRect, TGPImageAttributes* imageAttributes);
    TGPTextureBrush();
    Status ResetTransform();
    Status TranslateTransform(REAL dx, REAL dy, MatrixOrder order = MatrixOrderPrepend);
    Status ScaleTransform(REAL sx, REAL sy, MatrixOrder order = MatrixOrderPrepend);
    Status RotateTransform(REAL angle, MatrixOrder order = MatrixOrderPrepend);
    Status SetWrapMode(WrapMode wrapMode);
    WrapMode GetWrapMode();
    // A new image (the caller frees it) with the brush's recorded status.
    TGPImage* GetImage();
};

class TGPLinearGradientBrush : public TGPBrush {
    VOD_GDIP_FRIENDS
public:
    TGPLinearGradientBrush(const TGPPointF& point1, const TGPPointF& point2, ARGB color1, ARGB color2);
    TGPLinearGradientBrush(const TGPPoint& point1, const TGPPoint& point2, ARGB color1, ARGB color2);
    TGPLinearGradientBrush(const TGPRectF& rect, ARGB color1, ARGB color2, LinearGradientMode mode);
    TGPLinearGradientBrush(const TGPRect& rect, ARGB color1, ARGB color2, LinearGradientMode mode);
    TGPLinearGradientBrush(const TGPRectF& rect, ARGB color1, ARGB color2, REAL angle,
                           BOOL isAngleScalable = 0);
    TGPLinearGradientBrush(const TGPRect& rect, ARGB color1, ARGB color2, REAL angle,
                           BOOL isAngleScalable = 0);
    // The plain brush constructor (no object, NotImplemented); the pen's
    // GetBrush fills the handle in.
    TGPLinearGradientBrush();
    Status SetGammaCorrection(BOOL useGammaCorrection);
    // A count of 0 or less records InvalidParameter without calling GDI+.
    Status SetInterpolationColors(const ARGB* presetColors, const REAL* blendPositions, INT count);
};

class TGPPathGradientBrush : public TGPBrush {
    VOD_GDIP_FRIENDS
public:
    explicit TGPPathGradientBrush(TGPGraphicsPath* path);
    // The following answer the recorded status.
    Status SetCenterColor(ARGB color);
    Status GetCenterColor(ARGB& color);
    INT GetPointCount();
    // colors nil or count above the path's point count (or no points):
    // InvalidParameter without calling GDI+; else count receives the number
    // GDI+ reports.
    Status SetSurroundColors(const ARGB* colors, INT& count);
    // colors nil: InvalidParameter; count below the brush's surround-colour
    // count: InsufficientBuffer; neither calls GDI+ for the colours.
    Status GetSurroundColors(ARGB* colors, INT& count);
    Status SetCenterPoint(const TGPPointF& point);
    Status SetCenterPoint(const TGPPoint& point);
    Status GetCenterPoint(TGPPointF& point);
    Status GetCenterPoint(TGPPoint& point);
    Status SetWrapMode(WrapMode wrapMode);
    Status SetGammaCorrection(BOOL useGammaCorrection);
    // A count of 0 or less, or nil colours: InvalidParameter, no call.
    Status SetInterpolationColors(const ARGB* presetColors, const REAL* blendPositions, INT count);

private:
    GpPathGradient* Native() const;
};

// ---- fonts and string formats -------------------------------------------------

class TGPFontCollection : public TGdiplusBase {
    VOD_GDIP_FRIENDS
public:
    // Makes no GDI+ object; the destructor deletes nothing.
    TGPFontCollection() = default;

protected:
    GpFontCollection* nativeFontCollection = nullptr;
    Status lastResult = Ok;
};

class TGPFontFamily : public TGdiplusBase {
    VOD_GDIP_FRIENDS
public:
    TGPFontFamily(const String& name, TGPFontCollection* fontCollection = nullptr);
    // Adopts.
    TGPFontFamily(GpFontFamily* nativeOrig, Status status);
    ~TGPFontFamily() override;
    // Process-wide objects made on first use; callers never free them (the
    // library's shut-down does).
    static TGPFontFamily* GenericSansSerif();
    static TGPFontFamily* GenericSerif();
    static TGPFontFamily* GenericMonospace();
    Status GetLastStatus();

protected:
    TGPFontFamily() = default;
    static TGPFontFamily* Generic(int which);
    GpFontFamily* nativeFamily = nullptr;
    Status lastResult = Ok;
};

class TGPFont : public TGdiplusBase {
    VOD_GDIP_FRIENDS
public:
    TGPFont(TGPFontFamily* family, REAL emSize, INT style = FontStyleRegular, Unit_ unit_ = UnitPoint);
    // A family name that cannot be used falls back to the generic sans-serif
    // family.
    TGPFont(const String& familyName, REAL emSize, INT style = FontStyleRegular, Unit_ unit_ = UnitPoint,
            TGPFontCollection* fontCollection = nullptr);
    // Adopts.
    TGPFont(GpFont* font, Status status);
    ~TGPFont() override;
    Status GetLastStatus();

protected:
    GpFont* nativeFont = nullptr;
    Status lastResult = Ok;
};

class TGPStringFormat : public TGdiplusBase {
    VOD_GDIP_FRIENDS
public:
    explicit TGPStringFormat(INT formatFlags = 0, Word language = 0 /* LANG_NEUTRAL */);
    // A copy of format (nil: an empty handle).
    explicit TGPStringFormat(TGPStringFormat* format);
    // Adopts.
    TGPStringFormat(GpStringFormat* clonedStringFormat, Status status);
    ~TGPStringFormat() override;
    Status SetAlignment(StringAlignment align);
    StringAlignment GetAlignment();
    Status SetLineAlignment(StringAlignment align);
    StringAlignment GetLineAlignment();
    Status SetFormatFlags(INT flags);
    INT GetFormatFlags();
    Status SetTrimming(StringTrimming trimming);
    StringTrimming GetTrimming();
    Status SetHotkeyPrefix(HotkeyPrefix hotkeyPrefix);
    HotkeyPrefix GetHotkeyPrefix();
    Status GetLastStatus();

protected:
    Status Record(Status s)
    {
        if (s != Ok) lastError = s;
        return s;
    }
    GpStringFormat* nativeFormat = nullptr;
    Status lastError = Ok;
};

// ---- paths, regions, matrices -------------------------------------------------

class TGPGraphicsPath : public TGdiplusBase {
    VOD_GDIP_FRIENDS
public:
    explicit TGPGraphicsPath(FillMode fillMode = FillModeAlternate);
    TGPGraphicsPath(const TGPPointF* points, const Byte* types, INT count, FillMode fillMode = FillModeAlternate);
    // Adopts with status Ok.
    explicit TGPGraphicsPath(GpPath* nativePath);
    ~TGPGraphicsPath() override;

    Status AddLine(const TGPPointF& pt1, const TGPPointF& pt2);
    Status AddLine(REAL x1, REAL y1, REAL x2, REAL y2);
    Status AddLines(const TGPPoint* points, INT count);
    Status AddRectangle(const TGPRectF& rect);
    Status AddRectangle(const TGPRect& rect);
    Status AddArc(const TGPRectF& rect, REAL startAngle, REAL sweepAngle);
    Status AddArc(REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle);
    Status AddEllipse(const TGPRectF& rect);
    Status AddEllipse(REAL x, REAL y, REAL width, REAL height);
    Status AddPie(const TGPRectF& rect, REAL startAngle, REAL sweepAngle);
    Status AddPie(REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle);
    Status AddPolygon(const TGPPointF* points, INT count);
    Status AddPolygon(const TGPPoint* points, INT count);
    Status AddCurve(const TGPPointF* points, INT count);
    Status AddCurve(const TGPPoint* points, INT count);
    Status AddCurve(const TGPPoint* points, INT count, REAL tension);
    Status AddBezier(const TGPPoint& pt1, const TGPPoint& pt2, const TGPPoint& pt3, const TGPPoint& pt4);
    Status AddBezier(const TGPPointF& pt1, const TGPPointF& pt2, const TGPPointF& pt3, const TGPPointF& pt4);
    Status AddBezier(REAL x1, REAL y1, REAL x2, REAL y2, REAL x3, REAL y3, REAL x4, REAL y4);
    Status AddString(const String& string_, INT length, TGPFontFamily* family, INT style, REAL emSize,
                     const TGPPointF& origin, TGPStringFormat* format);
    Status AddString(const String& string_, INT length, TGPFontFamily* family, INT style, REAL emSize,
                     const TGPRectF& layoutRect, TGPStringFormat* format);
    Status CloseFigure();
    Status Reset();
    // 0 when the call fails.
    INT GetPointCount();
    Status GetPathPoints(TGPPointF* points, INT count);
    Status GetPathTypes(Byte* types, INT count);
    Status GetBounds(TGPRectF& bounds, TGPMatrix* matrix = nullptr, TGPPen* pen = nullptr);
    Status GetLastStatus();

protected:
    Status Record(Status s)
    {
        if (s != Ok) lastResult = s;
        return s;
    }
    GpPath* nativePath = nullptr;
    Status lastResult = Ok;
};

class TGPRegion : public TGdiplusBase {
    VOD_GDIP_FRIENDS
public:
    explicit TGPRegion(const TGPRectF& rect);
    explicit TGPRegion(TGPGraphicsPath* path);
    ~TGPRegion() override;
    Status Exclude(TGPGraphicsPath* path);
    Status Union(TGPRegion* region);
    Status GetLastStatus();

protected:
    Status Record(Status s)
    {
        if (s != Ok) lastResult = s;
        return s;
    }
    GpRegion* nativeRegion = nullptr;
    Status lastResult = Ok;
};

class TGPMatrix : public TGdiplusBase {
    VOD_GDIP_FRIENDS
public:
    // Identity.
    TGPMatrix();
    TGPMatrix(REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy);
    TGPMatrix(const TGPRectF& rect, const TGPPointF* dstplg);
    TGPMatrix(const TGPRect& rect, const TGPPoint* dstplg);
    ~TGPMatrix() override;

    // Null when the recorded status (an earlier failure included) is not
    // Ok; else a new matrix the caller frees.
    TGPMatrix* Clone();
    Status GetElements(TMatrixArray& m);
    Status SetElements(REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy);
    // 0 when the elements cannot be read.
    REAL OffsetX();
    REAL OffsetY();
    Status Reset();
    Status Multiply(TGPMatrix* matrix, MatrixOrder order = MatrixOrderPrepend);
    Status Translate(REAL offsetX, REAL offsetY, MatrixOrder order = MatrixOrderPrepend);
    Status Scale(REAL scaleX, REAL scaleY, MatrixOrder order = MatrixOrderPrepend);
    Status Rotate(REAL angle, MatrixOrder order = MatrixOrderPrepend);
    Status RotateAt(REAL angle, const TGPPointF& center, MatrixOrder order = MatrixOrderPrepend);
    Status Shear(REAL shearX, REAL shearY, MatrixOrder order = MatrixOrderPrepend);
    Status Invert();
    Status TransformPoints(TGPPointF* pts, INT count = 1);
    Status TransformPoints(TGPPoint* pts, INT count = 1);
    Status TransformVectors(TGPPointF* pts, INT count = 1);
    Status TransformVectors(TGPPoint* pts, INT count = 1);
    // False when the call fails.
    bool IsInvertible();
    bool IsIdentity();
    Status GetLastStatus();

protected:
    explicit TGPMatrix(GpMatrix* native) : nativeMatrix(native) {}
    Status Record(Status s)
    {
        if (s != Ok) lastResult = s;
        return s;
    }
    GpMatrix* nativeMatrix = nullptr;
    Status lastResult = Ok;
};

// ---- images ---------------------------------------------------------------------

class TGPImage : public TGdiplusBase {
    VOD_GDIP_FRIENDS
public:
    TGPImage(const String& filename, bool useEmbeddedColorManagement = false);
    // Reads the stream from its position to its end.
    TGPImage(IStream* stream, bool useEmbeddedColorManagement = false);
    // Adopts.
    TGPImage(GpImage* nativeImage, Status status);
    ~TGPImage() override;

    Status Save(const String& filename, const CLSID& clsidEncoder, const EncoderParameters* encoderParams = nullptr);
    Status Save(IStream* stream, const CLSID& clsidEncoder, const EncoderParameters* encoderParams = nullptr);
    // A nil newImage records InvalidParameter.
    Status SaveAdd(TGPImage* newImage, const EncoderParameters* encoderParams);
    // 0 when the call fails.
    uint32_t GetWidth();
    uint32_t GetHeight();
    uint32_t Width() { return GetWidth(); }
    uint32_t Height() { return GetHeight(); }
    PixelFormat GetPixelFormat();
    uint32_t GetPixelDepth();
    bool HasAlphaChannel();
    bool HasPalette();
    // By the raw-format GUID; its call's status is not recorded.
    TGPImageFormat GetFormat();
    // A new image (the caller frees it) carrying this object's recorded status.
    TGPImage* GetThumbnailImage(uint32_t thumbWidth, uint32_t thumbHeight, GetThumbnailImageAbort callback = nullptr,
                                void* callbackData = nullptr);
    Status RotateFlip(RotateFlipType rotateFlipType);
    Status GetLastStatus();

protected:
    TGPImage() = default;
    Status Record(Status s)
    {
        if (s != Ok) lastResult = s;
        return s;
    }
    GpImage* nativeImage = nullptr;
    Status lastResult = Ok;
};

class TGPBitmap : public TGPImage {
    VOD_GDIP_FRIENDS
public:
    TGPBitmap(IStream* stream, bool useEmbeddedColorManagement = false);
    TGPBitmap(INT width, INT height, PixelFormat format = PixelFormat32bppARGB);
    // Adopts with status Ok.
    explicit TGPBitmap(GpBitmap* nativeBitmap);
    static TGPBitmap* FromStream(IStream* stream, bool useEmbeddedColorManagement = false);
    Status GetHBITMAP(ARGB colorBackground, HBITMAP& hbmReturn);
    Status GetPixel(INT x, INT y, ARGB& color);
    Status SetPixel(INT x, INT y, ARGB color);

private:
    GpBitmap* Native() const { return static_cast<GpBitmap*>(nativeImage); }
};

class TGPImageAttributes : public TGdiplusBase {
    VOD_GDIP_FRIENDS
public:
    TGPImageAttributes();
    ~TGPImageAttributes() override;
    // A new object (the caller frees it) with this object's recorded status.
    TGPImageAttributes* Clone();

    Status SetToIdentity(ColorAdjustType type = ColorAdjustTypeDefault);
    Status Reset(ColorAdjustType type = ColorAdjustTypeDefault);
    Status SetColorMatrix(const ColorMatrix& colorMatrix, ColorMatrixFlags mode = ColorMatrixFlagsDefault,
                          ColorAdjustType type = ColorAdjustTypeDefault);
    Status ClearColorMatrix(ColorAdjustType type = ColorAdjustTypeDefault);
    Status SetColorMatrices(const ColorMatrix& colorMatrix, const ColorMatrix& grayMatrix,
                            ColorMatrixFlags mode = ColorMatrixFlagsDefault,
                            ColorAdjustType type = ColorAdjustTypeDefault);
    Status ClearColorMatrices(ColorAdjustType type = ColorAdjustTypeDefault);
    Status SetThreshold(REAL threshold, ColorAdjustType type = ColorAdjustTypeDefault);
    Status ClearThreshold(ColorAdjustType type = ColorAdjustTypeDefault);
    Status SetGamma(REAL gamma, ColorAdjustType type = ColorAdjustTypeDefault);
    Status ClearGamma(ColorAdjustType type = ColorAdjustTypeDefault);
    Status SetNoOp(ColorAdjustType type = ColorAdjustTypeDefault);
    Status ClearNoOp(ColorAdjustType type = ColorAdjustTypeDefault);
    Status SetColorKey(ARGB colorLow, ARGB colorHigh, ColorAdjustType type = ColorAdjustTypeDefault);
    Status ClearColorKey(ColorAdjustType type = ColorAdjustTypeDefault);
    Status SetOutputChannel(ColorChannelFlags channelFlags, ColorAdjustType type = ColorAdjustTypeDefault);
    Status ClearOutputChannel(ColorAdjustType type = ColorAdjustTypeDefault);
    Status SetOutputChannelColorProfile(const String& colorProfileFilename,
                                        ColorAdjustType type = ColorAdjustTypeDefault);
    Status ClearOutputChannelColorProfile(ColorAdjustType type = ColorAdjustTypeDefault);
    Status SetRemapTable(uint32_t mapSize, const ColorMap* map, ColorAdjustType type = ColorAdjustTypeDefault);
    Status ClearRemapTable(ColorAdjustType type = ColorAdjustTypeDefault);
    Status SetBrushRemapTable(uint32_t mapSize, const ColorMap* map);
    Status ClearBrushRemapTable();
    Status SetWrapMode(WrapMode wrap, ARGB color = 0xFF000000, bool clamp = false);
    Status GetAdjustedPalette(ColorPalette* colorPalette, ColorAdjustType colorAdjustType);
    Status GetLastStatus();

protected:
    TGPImageAttributes(GpImageAttributes* native, Status status) : nativeImageAttr(native), lastResult(status) {}
    Status Record(Status s)
    {
        if (s != Ok) lastResult = s;
        return s;
    }
    GpImageAttributes* nativeImageAttr = nullptr;
    Status lastResult = Ok;
};

#undef VOD_GDIP_FRIENDS
