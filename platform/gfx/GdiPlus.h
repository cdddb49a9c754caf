// The GDI+-style flat drawing interface, on cairo and Pango. Names, status
// codes, enumeration values and format GUIDs are those of the public GDI+
// interface, so wrapper classes written against it read as usual. Every
// function answers a Status; objects are opaque pointers created and
// deleted through the functions.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/base/Interfaces.h"
#include "platform/base/Types.h"
#include "platform/gfx/Gdi.h"

class TStream;

// ---- basic types ----------------------------------------------------------

using REAL = float;
using INT = int32_t;
using ARGB = uint32_t;
using GpPixelFormat = INT;
using PixelFormat = INT;
using ULONG_PTR = uintptr_t;

struct GpPointF { REAL X = 0, Y = 0; };
struct GpPoint { INT X = 0, Y = 0; };
struct GpRectF { REAL X = 0, Y = 0, Width = 0, Height = 0; };
struct GpRect { INT X = 0, Y = 0, Width = 0, Height = 0; };

enum Status {
    Ok = 0,
    GenericError = 1,
    InvalidParameter = 2,
    OutOfMemory = 3,
    ObjectBusy = 4,
    InsufficientBuffer = 5,
    NotImplemented = 6,
    Win32Error = 7,
    WrongState = 8,
    Aborted = 9,
    FileNotFound = 10,
    ValueOverflow = 11,
    AccessDenied = 12,
    UnknownImageFormat = 13,
    FontFamilyNotFound = 14,
    FontStyleNotFound = 15,
    NotTrueTypeFont = 16,
    UnsupportedGdiplusVersion = 17,
    GdiplusNotInitialized = 18,
    PropertyNotFound = 19,
    PropertyNotSupported = 20,
};
using GpStatus = Status;

enum FillMode { FillModeAlternate = 0, FillModeWinding = 1 };
using GpFillMode = FillMode;

enum Unit_ {
    UnitWorld = 0, UnitDisplay = 1, UnitPixel = 2, UnitPoint = 3, UnitInch = 4, UnitDocument = 5,
    UnitMillimeter = 6,
};
using GpUnit = Unit_;

enum QualityMode { QualityModeInvalid = -1, QualityModeDefault = 0, QualityModeLow = 1, QualityModeHigh = 2 };

enum SmoothingMode {
    SmoothingModeInvalid = -1,
    SmoothingModeDefault = 0,
    SmoothingModeHighSpeed = 1,
    SmoothingModeHighQuality = 2,
    SmoothingModeNone = 3,
    SmoothingModeAntiAlias = 4,
    SmoothingModeAntiAlias8x4 = 4,
    SmoothingModeAntiAlias8x8 = 5,
};

enum CompositingQuality {
    CompositingQualityInvalid = -1,
    CompositingQualityDefault = 0,
    CompositingQualityHighSpeed = 1,
    CompositingQualityHighQuality = 2,
    CompositingQualityGammaCorrected = 3,
    CompositingQualityAssumeLinear = 4,
};

enum TextRenderingHint {
    TextRenderingHintSystemDefault = 0,
    TextRenderingHintSingleBitPerPixelGridFit = 1,
    TextRenderingHintSingleBitPerPixel = 2,
    TextRenderingHintAntiAliasGridFit = 3,
    TextRenderingHintAntiAlias = 4,
    TextRenderingHintClearTypeGridFit = 5,
};

enum HatchStyle {
    HatchStyleHorizontal, HatchStyleVertical, HatchStyleForwardDiagonal, HatchStyleBackwardDiagonal,
    HatchStyleCross, HatchStyleDiagonalCross, HatchStyle05Percent, HatchStyle10Percent, HatchStyle20Percent,
    HatchStyle25Percent, HatchStyle30Percent, HatchStyle40Percent, HatchStyle50Percent, HatchStyle60Percent,
    HatchStyle70Percent, HatchStyle75Percent, HatchStyle80Percent, HatchStyle90Percent,
    HatchStyleLightDownwardDiagonal, HatchStyleLightUpwardDiagonal, HatchStyleDarkDownwardDiagonal,
    HatchStyleDarkUpwardDiagonal, HatchStyleWideDownwardDiagonal, HatchStyleWideUpwardDiagonal,
    HatchStyleLightVertical, HatchStyleLightHorizontal, HatchStyleNarrowVertical, HatchStyleNarrowHorizontal,
    HatchStyleDarkVertical, HatchStyleDarkHorizontal, HatchStyleDashedDownwardDiagonal,
    HatchStyleDashedUpwardDiagonal, HatchStyleDashedHorizontal, HatchStyleDashedVertical,
    HatchStyleSmallConfetti, HatchStyleLargeConfetti, HatchStyleZigZag, HatchStyleWave,
    HatchStyleDiagonalBrick, HatchStyleHorizontalBrick, HatchStyleWeave, HatchStylePlaid, HatchStyleDivot,
    HatchStyleDottedGrid, HatchStyleDottedDiamond, HatchStyleShingle, HatchStyleTrellis, HatchStyleSphere,
    HatchStyleSmallGrid, HatchStyleSmallCheckerBoard, HatchStyleLargeCheckerBoard,
    HatchStyleOutlinedDiamond, HatchStyleSolidDiamond, HatchStyleTotal,
    HatchStyleLargeGrid = HatchStyleCross,
    HatchStyleMin = HatchStyleHorizontal,
    HatchStyleMax = HatchStyleTotal - 1,
};

enum DashStyle { DashStyleSolid, DashStyleDash, DashStyleDot, DashStyleDashDot, DashStyleDashDotDot, DashStyleCustom };
enum DashCap { DashCapFlat = 0, DashCapRound = 2, DashCapTriangle = 3 };
enum LineCap {
    LineCapFlat = 0, LineCapSquare = 1, LineCapRound = 2, LineCapTriangle = 3, LineCapNoAnchor = 0x10,
    LineCapSquareAnchor = 0x11, LineCapRoundAnchor = 0x12, LineCapDiamondAnchor = 0x13,
    LineCapArrowAnchor = 0x14, LineCapCustom = 0xFF,
};
enum LineJoin { LineJoinMiter = 0, LineJoinBevel = 1, LineJoinRound = 2, LineJoinMiterClipped = 3 };
enum PenAlignment { PenAlignmentCenter = 0, PenAlignmentInset = 1 };
enum PenType {
    PenTypeSolidColor = 0, PenTypeHatchFill = 1, PenTypeTextureFill = 2, PenTypePathGradient = 3,
    PenTypeLinearGradient = 4, PenTypeUnknown = -1,
};
enum BrushType {
    BrushTypeSolidColor = 0, BrushTypeHatchFill = 1, BrushTypeTextureFill = 2, BrushTypePathGradient = 3,
    BrushTypeLinearGradient = 4,
};
enum WrapMode { WrapModeTile, WrapModeTileFlipX, WrapModeTileFlipY, WrapModeTileFlipXY, WrapModeClamp };
enum LinearGradientMode {
    LinearGradientModeHorizontal, LinearGradientModeVertical, LinearGradientModeForwardDiagonal,
    LinearGradientModeBackwardDiagonal,
};
enum CombineMode {
    CombineModeReplace, CombineModeIntersect, CombineModeUnion, CombineModeXor, CombineModeExclude,
    CombineModeComplement,
};
enum MatrixOrder { MatrixOrderPrepend = 0, MatrixOrderAppend = 1 };
enum ColorMatrixFlags { ColorMatrixFlagsDefault = 0, ColorMatrixFlagsSkipGrays = 1, ColorMatrixFlagsAltGray = 2 };
enum ColorChannelFlags {
    ColorChannelFlagsC = 0, ColorChannelFlagsM, ColorChannelFlagsY, ColorChannelFlagsK, ColorChannelFlagsLast,
};
enum ColorAdjustType {
    ColorAdjustTypeDefault, ColorAdjustTypeBitmap, ColorAdjustTypeBrush, ColorAdjustTypePen, ColorAdjustTypeText,
    ColorAdjustTypeCount, ColorAdjustTypeAny,
};
enum StringAlignment { StringAlignmentNear = 0, StringAlignmentCenter = 1, StringAlignmentFar = 2 };
enum StringTrimming {
    StringTrimmingNone = 0, StringTrimmingCharacter = 1, StringTrimmingWord = 2,
    StringTrimmingEllipsisCharacter = 3, StringTrimmingEllipsisWord = 4, StringTrimmingEllipsisPath = 5,
};
enum HotkeyPrefix { HotkeyPrefixNone = 0, HotkeyPrefixShow = 1, HotkeyPrefixHide = 2 };
enum StringFormatFlags {
    StringFormatFlagsDirectionRightToLeft = 0x0001,
    StringFormatFlagsDirectionVertical = 0x0002,
    StringFormatFlagsNoFitBlackBox = 0x0004,
    StringFormatFlagsDisplayFormatControl = 0x0020,
    StringFormatFlagsNoFontFallback = 0x0400,
    StringFormatFlagsMeasureTrailingSpaces = 0x0800,
    StringFormatFlagsNoWrap = 0x1000,
    StringFormatFlagsLineLimit = 0x2000,
    StringFormatFlagsNoClip = 0x4000,
};
enum FontStyle {
    FontStyleRegular = 0, FontStyleBold = 1, FontStyleItalic = 2, FontStyleBoldItalic = 3,
    FontStyleUnderline = 4, FontStyleStrikeout = 8,
};
enum FlushIntention { FlushIntentionFlush = 0, FlushIntentionSync = 1 };
enum RotateFlipType {
    RotateNoneFlipNone = 0, Rotate90FlipNone = 1, Rotate180FlipNone = 2, Rotate270FlipNone = 3,
    RotateNoneFlipX = 4, Rotate90FlipX = 5, Rotate180FlipX = 6, Rotate270FlipX = 7,
    RotateNoneFlipY = Rotate180FlipX, Rotate90FlipY = Rotate270FlipX, Rotate180FlipY = RotateNoneFlipX,
    Rotate270FlipY = Rotate90FlipX, RotateNoneFlipXY = Rotate180FlipNone, Rotate90FlipXY = Rotate270FlipNone,
    Rotate180FlipXY = RotateNoneFlipNone, Rotate270FlipXY = Rotate90FlipNone,
};
enum PathPointType {
    PathPointTypeStart = 0, PathPointTypeLine = 1, PathPointTypeBezier = 3, PathPointTypePathTypeMask = 0x07,
    PathPointTypeDashMode = 0x10, PathPointTypePathMarker = 0x20, PathPointTypeCloseSubpath = 0x80,
    PathPointTypeBezier3 = 3,
};
enum ImageType { ImageTypeUnknown = 0, ImageTypeBitmap = 1, ImageTypeMetafile = 2 };
enum ImageLockMode { ImageLockModeRead = 1, ImageLockModeWrite = 2, ImageLockModeUserInputBuf = 4 };
enum EncoderParameterValueType {
    EncoderParameterValueTypeByte = 1, EncoderParameterValueTypeASCII = 2, EncoderParameterValueTypeShort = 3,
    EncoderParameterValueTypeLong = 4, EncoderParameterValueTypeRational = 5,
    EncoderParameterValueTypeLongRange = 6, EncoderParameterValueTypeUndefined = 7,
    EncoderParameterValueTypeRationalRange = 8,
};
enum DebugEventLevel { DebugEventLevelFatal, DebugEventLevelWarning };

constexpr PixelFormat PixelFormatIndexed = 0x00010000;
constexpr PixelFormat PixelFormatGDI = 0x00020000;
constexpr PixelFormat PixelFormatAlpha = 0x00040000;
constexpr PixelFormat PixelFormatPAlpha = 0x00080000;
constexpr PixelFormat PixelFormatExtended = 0x00100000;
constexpr PixelFormat PixelFormatCanonical = 0x00200000;
constexpr PixelFormat PixelFormatUndefined = 0;
constexpr PixelFormat PixelFormatDontCare = 0;
constexpr PixelFormat PixelFormat1bppIndexed = 0x00030101;
constexpr PixelFormat PixelFormat4bppIndexed = 0x00030402;
constexpr PixelFormat PixelFormat8bppIndexed = 0x00030803;
constexpr PixelFormat PixelFormat16bppGrayScale = 0x00101004;
constexpr PixelFormat PixelFormat16bppRGB555 = 0x00021005;
constexpr PixelFormat PixelFormat16bppRGB565 = 0x00021006;
constexpr PixelFormat PixelFormat16bppARGB1555 = 0x00061007;
constexpr PixelFormat PixelFormat24bppRGB = 0x00021808;
constexpr PixelFormat PixelFormat32bppRGB = 0x00022009;
constexpr PixelFormat PixelFormat32bppARGB = 0x0026200A;
constexpr PixelFormat PixelFormat32bppPARGB = 0x000E200B;
constexpr PixelFormat PixelFormat48bppRGB = 0x0010300C;
constexpr PixelFormat PixelFormat64bppARGB = 0x0034400D;
constexpr PixelFormat PixelFormat64bppPARGB = 0x001A400E;

// Image format GUIDs (raw formats) and encoder class ids.
inline constexpr GUID ImageFormatUndefined = MakeGUID("{B96B3CA9-0728-11D3-9D7B-0000F81EF32E}");
inline constexpr GUID ImageFormatMemoryBMP = MakeGUID("{B96B3CAA-0728-11D3-9D7B-0000F81EF32E}");
inline constexpr GUID ImageFormatBMP = MakeGUID("{B96B3CAB-0728-11D3-9D7B-0000F81EF32E}");
inline constexpr GUID ImageFormatEMF = MakeGUID("{B96B3CAC-0728-11D3-9D7B-0000F81EF32E}");
inline constexpr GUID ImageFormatWMF = MakeGUID("{B96B3CAD-0728-11D3-9D7B-0000F81EF32E}");
inline constexpr GUID ImageFormatJPEG = MakeGUID("{B96B3CAE-0728-11D3-9D7B-0000F81EF32E}");
inline constexpr GUID ImageFormatPNG = MakeGUID("{B96B3CAF-0728-11D3-9D7B-0000F81EF32E}");
inline constexpr GUID ImageFormatGIF = MakeGUID("{B96B3CB0-0728-11D3-9D7B-0000F81EF32E}");
inline constexpr GUID ImageFormatTIFF = MakeGUID("{B96B3CB1-0728-11D3-9D7B-0000F81EF32E}");
inline constexpr GUID ImageFormatEXIF = MakeGUID("{B96B3CB2-0728-11D3-9D7B-0000F81EF32E}");
inline constexpr GUID ImageFormatIcon = MakeGUID("{B96B3CB5-0728-11D3-9D7B-0000F81EF32E}");

inline constexpr CLSID EncoderBmpClsid = MakeGUID("{557CF400-1A04-11D3-9A73-0000F81EF32E}");
inline constexpr CLSID EncoderJpegClsid = MakeGUID("{557CF401-1A04-11D3-9A73-0000F81EF32E}");
inline constexpr CLSID EncoderPngClsid = MakeGUID("{557CF406-1A04-11D3-9A73-0000F81EF32E}");
inline constexpr GUID EncoderQuality = MakeGUID("{1D5BE4B5-FA4A-452D-9CDD-5DB35105E7EB}");

struct GdiplusStartupInput {
    uint32_t GdiplusVersion = 1;
    void* DebugEventCallback = nullptr;
    BOOL SuppressBackgroundThread = 0;
    BOOL SuppressExternalCodecs = 0;
};
using NotificationHookProc = Status (*)(ULONG_PTR* token);
using NotificationUnhookProc = void (*)(ULONG_PTR token);
struct GdiplusStartupOutput {
    NotificationHookProc NotificationHook = nullptr;
    NotificationUnhookProc NotificationUnhook = nullptr;
};

struct ColorMatrix { REAL m[5][5]; };
struct ColorMap { ARGB oldColor; ARGB newColor; };
struct ColorPalette {
    uint32_t Flags;
    uint32_t Count;
    ARGB Entries[1];
};
struct BitmapData {
    uint32_t Width;
    uint32_t Height;
    INT Stride;
    ::GpPixelFormat PixelFormat;
    void* Scan0;
    ULONG_PTR Reserved;
};
struct EncoderParameter {
    GUID Guid;
    uint32_t NumberOfValues;
    uint32_t Type;
    void* Value;
};
struct EncoderParameters {
    uint32_t Count;
    EncoderParameter Parameter[1];
};
struct ImageCodecInfo {
    CLSID Clsid;
    GUID FormatID;
    const WCHAR* CodecName;
    const WCHAR* DllName;
    const WCHAR* FormatDescription;
    const WCHAR* FilenameExtension;
    const WCHAR* MimeType;
    DWORD Flags;
    DWORD Version;
    DWORD SigCount;
    DWORD SigSize;
    const uint8_t* SigPattern;
    const uint8_t* SigMask;
};
using ImageAbort = BOOL (*)(void*);
using DrawImageAbort = ImageAbort;
using GetThumbnailImageAbort = ImageAbort;

// Opaque objects.
struct GpGraphics;
struct GpPen;
struct GpBrush;
struct GpSolidFill;
struct GpHatch;
struct GpTexture;
struct GpLineGradient;
struct GpPathGradient;
struct GpPath;
struct GpRegion;
struct GpMatrix;
struct GpImage;
struct GpBitmap;
struct GpImageAttributes;
struct GpFontFamily;
struct GpFont;
struct GpFontCollection;
struct GpStringFormat;

// ---- start-up -------------------------------------------------------------

Status GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input, GdiplusStartupOutput* output);
void GdiplusShutdown(ULONG_PTR token);
void* GdipAlloc(size_t size);
void GdipFree(void* ptr);

// ---- graphics -------------------------------------------------------------

Status GdipCreateFromHDC(HDC hdc, GpGraphics** graphics);
Status GdipGetImageGraphicsContext(GpImage* image, GpGraphics** graphics);
Status GdipDeleteGraphics(GpGraphics* graphics);
Status GdipFlush(GpGraphics* graphics, FlushIntention intention);
Status GdipGraphicsClear(GpGraphics* graphics, ARGB color);
Status GdipGetDC(GpGraphics* graphics, HDC* hdc);
Status GdipReleaseDC(GpGraphics* graphics, HDC hdc);
Status GdipSetWorldTransform(GpGraphics* graphics, GpMatrix* matrix);
Status GdipGetWorldTransform(GpGraphics* graphics, GpMatrix* matrix);
Status GdipResetWorldTransform(GpGraphics* graphics);
Status GdipMultiplyWorldTransform(GpGraphics* graphics, const GpMatrix* matrix, MatrixOrder order);
Status GdipTranslateWorldTransform(GpGraphics* graphics, REAL dx, REAL dy, MatrixOrder order);
Status GdipScaleWorldTransform(GpGraphics* graphics, REAL sx, REAL sy, MatrixOrder order);
Status GdipRotateWorldTransform(GpGraphics* graphics, REAL angle, MatrixOrder order);
Status GdipSetCompositingQuality(GpGraphics* graphics, CompositingQuality quality);
Status GdipGetCompositingQuality(GpGraphics* graphics, CompositingQuality* quality);
Status GdipSetTextRenderingHint(GpGraphics* graphics, TextRenderingHint mode);
Status GdipGetTextRenderingHint(GpGraphics* graphics, TextRenderingHint* mode);
Status GdipSetSmoothingMode(GpGraphics* graphics, SmoothingMode mode);
Status GdipGetSmoothingMode(GpGraphics* graphics, SmoothingMode* mode);

Status GdipDrawLine(GpGraphics* graphics, GpPen* pen, REAL x1, REAL y1, REAL x2, REAL y2);
Status GdipDrawLineI(GpGraphics* graphics, GpPen* pen, INT x1, INT y1, INT x2, INT y2);
Status GdipDrawLines(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count);
Status GdipDrawLinesI(GpGraphics* graphics, GpPen* pen, const GpPoint* points, INT count);
Status GdipDrawArc(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height, REAL startAngle,
                   REAL sweepAngle);
Status GdipDrawBezier(GpGraphics* graphics, GpPen* pen, REAL x1, REAL y1, REAL x2, REAL y2, REAL x3, REAL y3,
                      REAL x4, REAL y4);
Status GdipDrawBeziers(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count);
Status GdipDrawRectangle(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height);
Status GdipDrawRectangleI(GpGraphics* graphics, GpPen* pen, INT x, INT y, INT width, INT height);
Status GdipDrawRectangles(GpGraphics* graphics, GpPen* pen, const GpRectF* rects, INT count);
Status GdipDrawEllipse(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height);
Status GdipDrawEllipseI(GpGraphics* graphics, GpPen* pen, INT x, INT y, INT width, INT height);
Status GdipDrawPie(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height, REAL startAngle,
                   REAL sweepAngle);
Status GdipDrawPolygon(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count);
Status GdipDrawPolygonI(GpGraphics* graphics, GpPen* pen, const GpPoint* points, INT count);
Status GdipDrawCurve(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count);
Status GdipDrawCurve2(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count, REAL tension);
Status GdipDrawPath(GpGraphics* graphics, GpPen* pen, GpPath* path);
Status GdipFillRectangle(GpGraphics* graphics, GpBrush* brush, REAL x, REAL y, REAL width, REAL height);
Status GdipFillRectangleI(GpGraphics* graphics, GpBrush* brush, INT x, INT y, INT width, INT height);
Status GdipFillRectangles(GpGraphics* graphics, GpBrush* brush, const GpRectF* rects, INT count);
Status GdipFillEllipse(GpGraphics* graphics, GpBrush* brush, REAL x, REAL y, REAL width, REAL height);
Status GdipFillEllipseI(GpGraphics* graphics, GpBrush* brush, INT x, INT y, INT width, INT height);
Status GdipFillPie(GpGraphics* graphics, GpBrush* brush, REAL x, REAL y, REAL width, REAL height,
                   REAL startAngle, REAL sweepAngle);
Status GdipFillPolygon(GpGraphics* graphics, GpBrush* brush, const GpPointF* points, INT count, FillMode fillMode);
Status GdipFillPolygonI(GpGraphics* graphics, GpBrush* brush, const GpPoint* points, INT count, FillMode fillMode);
Status GdipFillPath(GpGraphics* graphics, GpBrush* brush, GpPath* path);
Status GdipFillRegion(GpGraphics* graphics, GpBrush* brush, GpRegion* region);

Status GdipDrawImage(GpGraphics* graphics, GpImage* image, REAL x, REAL y);
Status GdipDrawImageI(GpGraphics* graphics, GpImage* image, INT x, INT y);
Status GdipDrawImageRect(GpGraphics* graphics, GpImage* image, REAL x, REAL y, REAL width, REAL height);
Status GdipDrawImageRectI(GpGraphics* graphics, GpImage* image, INT x, INT y, INT width, INT height);
Status GdipDrawImageRectRect(GpGraphics* graphics, GpImage* image, REAL dstx, REAL dsty, REAL dstwidth,
                             REAL dstheight, REAL srcx, REAL srcy, REAL srcwidth, REAL srcheight, GpUnit srcUnit,
                             const GpImageAttributes* imageAttributes, DrawImageAbort callback, void* callbackData);
Status GdipDrawImageRectRectI(GpGraphics* graphics, GpImage* image, INT dstx, INT dsty, INT dstwidth,
                              INT dstheight, INT srcx, INT srcy, INT srcwidth, INT srcheight, GpUnit srcUnit,
                              const GpImageAttributes* imageAttributes, DrawImageAbort callback, void* callbackData);

Status GdipSetClipRect(GpGraphics* graphics, REAL x, REAL y, REAL width, REAL height, CombineMode mode);
Status GdipSetClipRegion(GpGraphics* graphics, GpRegion* region, CombineMode mode);
Status GdipSetClipPath(GpGraphics* graphics, GpPath* path, CombineMode mode);
Status GdipResetClip(GpGraphics* graphics);

Status GdipMeasureString(GpGraphics* graphics, const WCHAR* string, INT length, const GpFont* font,
                         const GpRectF* layoutRect, const GpStringFormat* stringFormat, GpRectF* boundingBox,
                         INT* codepointsFitted, INT* linesFilled);
Status GdipDrawString(GpGraphics* graphics, const WCHAR* string, INT length, const GpFont* font,
                      const GpRectF* layoutRect, const GpStringFormat* stringFormat, const GpBrush* brush);

// ---- pens -----------------------------------------------------------------

Status GdipCreatePen1(ARGB color, REAL width, GpUnit unit, GpPen** pen);
Status GdipCreatePen2(GpBrush* brush, REAL width, GpUnit unit, GpPen** pen);
Status GdipClonePen(GpPen* pen, GpPen** clonePen);
Status GdipDeletePen(GpPen* pen);
Status GdipSetPenWidth(GpPen* pen, REAL width);
Status GdipGetPenWidth(GpPen* pen, REAL* width);
Status GdipSetPenColor(GpPen* pen, ARGB argb);
Status GdipGetPenColor(GpPen* pen, ARGB* argb);
Status GdipSetPenBrushFill(GpPen* pen, GpBrush* brush);
Status GdipGetPenBrushFill(GpPen* pen, GpBrush** brush);
Status GdipGetPenFillType(GpPen* pen, PenType* type);
Status GdipSetPenDashStyle(GpPen* pen, DashStyle dashstyle);
Status GdipGetPenDashStyle(GpPen* pen, DashStyle* dashstyle);
Status GdipSetPenMode(GpPen* pen, PenAlignment penMode);
Status GdipGetPenMode(GpPen* pen, PenAlignment* penMode);
Status GdipSetPenStartCap(GpPen* pen, LineCap startCap);
Status GdipSetPenEndCap(GpPen* pen, LineCap endCap);
Status GdipSetPenLineJoin(GpPen* pen, LineJoin lineJoin);

// ---- brushes --------------------------------------------------------------

Status GdipCloneBrush(GpBrush* brush, GpBrush** cloneBrush);
Status GdipDeleteBrush(GpBrush* brush);
Status GdipGetBrushType(GpBrush* brush, BrushType* type);

Status GdipCreateSolidFill(ARGB color, GpSolidFill** brush);
Status GdipSetSolidFillColor(GpSolidFill* brush, ARGB color);
Status GdipGetSolidFillColor(GpSolidFill* brush, ARGB* color);

Status GdipCreateHatchBrush(HatchStyle hatchstyle, ARGB forecol, ARGB backcol, GpHatch** brush);
Status GdipGetHatchStyle(GpHatch* brush, HatchStyle* hatchstyle);
Status GdipGetHatchForegroundColor(GpHatch* brush, ARGB* forecol);
Status GdipGetHatchBackgroundColor(GpHatch* brush, ARGB* backcol);

Status GdipCreateTexture(GpImage* image, WrapMode wrapmode, GpTexture** texture);
Status GdipCreateTexture2(GpImage* image, WrapMode wrapmode, REAL x, REAL y, REAL width, REAL height,
                          GpTexture** texture);
Status GdipCreateTexture2I(GpImage* image, WrapMode wrapmode, INT x, INT y, INT width, INT height,
                           GpTexture** texture);
Status GdipCreateTextureIA(GpImage* image, const GpImageAttributes* imageAttributes, REAL x, REAL y, REAL width,
                           REAL height, GpTexture** texture);
Status GdipCreateTextureIAI(GpImage* image, const GpImageAttributes* imageAttributes, INT x, INT y, INT width,
                            INT height, GpTexture** texture);
Status GdipResetTextureTransform(GpTexture* brush);
Status GdipTranslateTextureTransform(GpTexture* brush, REAL dx, REAL dy, MatrixOrder order);
Status GdipScaleTextureTransform(GpTexture* brush, REAL sx, REAL sy, MatrixOrder order);
Status GdipRotateTextureTransform(GpTexture* brush, REAL angle, MatrixOrder order);
Status GdipSetTextureWrapMode(GpTexture* brush, WrapMode wrapmode);
Status GdipGetTextureWrapMode(GpTexture* brush, WrapMode* wrapmode);
Status GdipGetTextureImage(GpTexture* brush, GpImage** image);

Status GdipCreateLineBrush(const GpPointF* point1, const GpPointF* point2, ARGB color1, ARGB color2,
                           WrapMode wrapMode, GpLineGradient** lineGradient);
Status GdipCreateLineBrushI(const GpPoint* point1, const GpPoint* point2, ARGB color1, ARGB color2,
                            WrapMode wrapMode, GpLineGradient** lineGradient);
Status GdipCreateLineBrushFromRect(const GpRectF* rect, ARGB color1, ARGB color2, LinearGradientMode mode,
                                   WrapMode wrapMode, GpLineGradient** lineGradient);
Status GdipCreateLineBrushFromRectI(const GpRect* rect, ARGB color1, ARGB color2, LinearGradientMode mode,
                                    WrapMode wrapMode, GpLineGradient** lineGradient);
Status GdipCreateLineBrushFromRectWithAngle(const GpRectF* rect, ARGB color1, ARGB color2, REAL angle,
                                            BOOL isAngleScalable, WrapMode wrapMode, GpLineGradient** lineGradient);
Status GdipCreateLineBrushFromRectWithAngleI(const GpRect* rect, ARGB color1, ARGB color2, REAL angle,
                                             BOOL isAngleScalable, WrapMode wrapMode,
                                             GpLineGradient** lineGradient);
Status GdipSetLineGammaCorrection(GpLineGradient* brush, BOOL useGammaCorrection);
Status GdipGetLineGammaCorrection(GpLineGradient* brush, BOOL* useGammaCorrection);
Status GdipSetLineBlend(GpLineGradient* brush, const REAL* blend, const REAL* positions, INT count);
Status GdipSetLinePresetBlend(GpLineGradient* brush, const ARGB* blend, const REAL* positions, INT count);
Status GdipGetLineColors(GpLineGradient* brush, ARGB* colors);
Status GdipSetLineWrapMode(GpLineGradient* brush, WrapMode wrapmode);

Status GdipCreatePathGradientFromPath(const GpPath* path, GpPathGradient** polyGradient);
Status GdipCreatePathGradient(const GpPointF* points, INT count, WrapMode wrapMode, GpPathGradient** polyGradient);
Status GdipSetPathGradientCenterColor(GpPathGradient* brush, ARGB colors);
Status GdipGetPathGradientCenterColor(GpPathGradient* brush, ARGB* colors);
Status GdipGetPathGradientPointCount(GpPathGradient* brush, INT* count);
Status GdipSetPathGradientSurroundColorsWithCount(GpPathGradient* brush, const ARGB* color, INT* count);
Status GdipGetPathGradientSurroundColorCount(GpPathGradient* brush, INT* count);
Status GdipGetPathGradientSurroundColorsWithCount(GpPathGradient* brush, ARGB* color, INT* count);
Status GdipSetPathGradientCenterPoint(GpPathGradient* brush, const GpPointF* point);
Status GdipSetPathGradientCenterPointI(GpPathGradient* brush, const GpPoint* point);
Status GdipGetPathGradientCenterPoint(GpPathGradient* brush, GpPointF* point);
Status GdipGetPathGradientCenterPointI(GpPathGradient* brush, GpPoint* point);
Status GdipSetPathGradientWrapMode(GpPathGradient* brush, WrapMode wrapmode);
Status GdipSetPathGradientGammaCorrection(GpPathGradient* brush, BOOL useGammaCorrection);
Status GdipSetPathGradientPresetBlend(GpPathGradient* brush, const ARGB* blend, const REAL* positions, INT count);
Status GdipSetPathGradientFocusScales(GpPathGradient* brush, REAL xScale, REAL yScale);
Status GdipGetPathGradientFocusScales(GpPathGradient* brush, REAL* xScale, REAL* yScale);

// ---- paths ----------------------------------------------------------------

Status GdipCreatePath(GpFillMode brushMode, GpPath** path);
Status GdipCreatePath2(const GpPointF* points, const uint8_t* types, INT count, GpFillMode fillMode, GpPath** path);
Status GdipClonePath(GpPath* path, GpPath** clonePath);
Status GdipDeletePath(GpPath* path);
Status GdipResetPath(GpPath* path);
Status GdipGetPointCount(GpPath* path, INT* count);
Status GdipGetPathTypes(GpPath* path, uint8_t* types, INT count);
Status GdipGetPathPoints(GpPath* path, GpPointF* points, INT count);
Status GdipGetPathFillMode(GpPath* path, GpFillMode* fillmode);
Status GdipSetPathFillMode(GpPath* path, GpFillMode fillmode);
Status GdipStartPathFigure(GpPath* path);
Status GdipClosePathFigure(GpPath* path);
Status GdipAddPathLine(GpPath* path, REAL x1, REAL y1, REAL x2, REAL y2);
Status GdipAddPathLine2(GpPath* path, const GpPointF* points, INT count);
Status GdipAddPathLine2I(GpPath* path, const GpPoint* points, INT count);
Status GdipAddPathArc(GpPath* path, REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle);
Status GdipAddPathBezier(GpPath* path, REAL x1, REAL y1, REAL x2, REAL y2, REAL x3, REAL y3, REAL x4, REAL y4);
Status GdipAddPathBeziers(GpPath* path, const GpPointF* points, INT count);
Status GdipAddPathCurve(GpPath* path, const GpPointF* points, INT count);
Status GdipAddPathCurveI(GpPath* path, const GpPoint* points, INT count);
Status GdipAddPathCurve2(GpPath* path, const GpPointF* points, INT count, REAL tension);
Status GdipAddPathCurve2I(GpPath* path, const GpPoint* points, INT count, REAL tension);
Status GdipAddPathRectangle(GpPath* path, REAL x, REAL y, REAL width, REAL height);
Status GdipAddPathRectangleI(GpPath* path, INT x, INT y, INT width, INT height);
Status GdipAddPathEllipse(GpPath* path, REAL x, REAL y, REAL width, REAL height);
Status GdipAddPathPie(GpPath* path, REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle);
Status GdipAddPathPolygon(GpPath* path, const GpPointF* points, INT count);
Status GdipAddPathPolygonI(GpPath* path, const GpPoint* points, INT count);
Status GdipAddPathString(GpPath* path, const WCHAR* string, INT length, const GpFontFamily* family, INT style,
                         REAL emSize, const GpRectF* layoutRect, const GpStringFormat* format);
Status GdipGetPathWorldBounds(GpPath* path, GpRectF* bounds, const GpMatrix* matrix, const GpPen* pen);
Status GdipIsVisiblePathPoint(GpPath* path, REAL x, REAL y, GpGraphics* graphics, BOOL* result);

// ---- regions --------------------------------------------------------------

Status GdipCreateRegion(GpRegion** region);
Status GdipCreateRegionRect(const GpRectF* rect, GpRegion** region);
Status GdipCreateRegionRectI(const GpRect* rect, GpRegion** region);
Status GdipCreateRegionPath(GpPath* path, GpRegion** region);
Status GdipCloneRegion(GpRegion* region, GpRegion** cloneRegion);
Status GdipDeleteRegion(GpRegion* region);
Status GdipCombineRegionRect(GpRegion* region, const GpRectF* rect, CombineMode combineMode);
Status GdipCombineRegionPath(GpRegion* region, GpPath* path, CombineMode combineMode);
Status GdipCombineRegionRegion(GpRegion* region, GpRegion* region2, CombineMode combineMode);
Status GdipIsVisibleRegionPoint(GpRegion* region, REAL x, REAL y, GpGraphics* graphics, BOOL* result);

// ---- matrices -------------------------------------------------------------

Status GdipCreateMatrix(GpMatrix** matrix);
Status GdipCreateMatrix2(REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy, GpMatrix** matrix);
Status GdipCreateMatrix3(const GpRectF* rect, const GpPointF* dstplg, GpMatrix** matrix);
Status GdipCreateMatrix3I(const GpRect* rect, const GpPoint* dstplg, GpMatrix** matrix);
Status GdipCloneMatrix(GpMatrix* matrix, GpMatrix** cloneMatrix);
Status GdipDeleteMatrix(GpMatrix* matrix);
Status GdipSetMatrixElements(GpMatrix* matrix, REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy);
Status GdipGetMatrixElements(const GpMatrix* matrix, REAL* matrixOut);
Status GdipMultiplyMatrix(GpMatrix* matrix, GpMatrix* matrix2, MatrixOrder order);
Status GdipTranslateMatrix(GpMatrix* matrix, REAL offsetX, REAL offsetY, MatrixOrder order);
Status GdipScaleMatrix(GpMatrix* matrix, REAL scaleX, REAL scaleY, MatrixOrder order);
Status GdipRotateMatrix(GpMatrix* matrix, REAL angle, MatrixOrder order);
Status GdipShearMatrix(GpMatrix* matrix, REAL shearX, REAL shearY, MatrixOrder order);
Status GdipInvertMatrix(GpMatrix* matrix);
Status GdipTransformMatrixPoints(GpMatrix* matrix, GpPointF* pts, INT count);
Status GdipTransformMatrixPointsI(GpMatrix* matrix, GpPoint* pts, INT count);
Status GdipVectorTransformMatrixPoints(GpMatrix* matrix, GpPointF* pts, INT count);
Status GdipVectorTransformMatrixPointsI(GpMatrix* matrix, GpPoint* pts, INT count);
Status GdipIsMatrixInvertible(const GpMatrix* matrix, BOOL* result);
Status GdipIsMatrixIdentity(const GpMatrix* matrix, BOOL* result);

// ---- fonts and text formats -----------------------------------------------

Status GdipCreateFontFamilyFromName(const WCHAR* name, GpFontCollection* fontCollection,
                                    GpFontFamily** fontFamily);
Status GdipCloneFontFamily(GpFontFamily* fontFamily, GpFontFamily** clonedFontFamily);
Status GdipDeleteFontFamily(GpFontFamily* fontFamily);
Status GdipGetGenericFontFamilySansSerif(GpFontFamily** nativeFamily);
Status GdipGetGenericFontFamilySerif(GpFontFamily** nativeFamily);
Status GdipGetGenericFontFamilyMonospace(GpFontFamily** nativeFamily);
Status GdipGetFamilyName(const GpFontFamily* family, WCHAR* name, uint16_t language);
Status GdipCreateFont(const GpFontFamily* fontFamily, REAL emSize, INT style, INT unit, GpFont** font);
Status GdipCloneFont(GpFont* font, GpFont** cloneFont);
Status GdipDeleteFont(GpFont* font);
Status GdipGetFontSize(GpFont* font, REAL* size);
Status GdipGetFontStyle(GpFont* font, INT* style);
Status GdipGetFontUnit(GpFont* font, GpUnit* unit);

Status GdipCreateStringFormat(INT formatAttributes, uint16_t language, GpStringFormat** format);
Status GdipCloneStringFormat(const GpStringFormat* format, GpStringFormat** newFormat);
Status GdipDeleteStringFormat(GpStringFormat* format);
Status GdipSetStringFormatAlign(GpStringFormat* format, StringAlignment align);
Status GdipGetStringFormatAlign(const GpStringFormat* format, StringAlignment* align);
Status GdipSetStringFormatLineAlign(GpStringFormat* format, StringAlignment align);
Status GdipGetStringFormatLineAlign(const GpStringFormat* format, StringAlignment* align);
Status GdipSetStringFormatFlags(GpStringFormat* format, INT flags);
Status GdipGetStringFormatFlags(const GpStringFormat* format, INT* flags);
Status GdipSetStringFormatTrimming(GpStringFormat* format, StringTrimming trimming);
Status GdipGetStringFormatTrimming(const GpStringFormat* format, StringTrimming* trimming);
Status GdipSetStringFormatHotkeyPrefix(GpStringFormat* format, INT hotkeyPrefix);
Status GdipGetStringFormatHotkeyPrefix(const GpStringFormat* format, INT* hotkeyPrefix);

// ---- images and bitmaps ---------------------------------------------------

Status GdipLoadImageFromFile(const WCHAR* filename, GpImage** image);
Status GdipLoadImageFromFileICM(const WCHAR* filename, GpImage** image);
// Streams: our TStream (read from its current position to its end) and
// plain byte buffers.
Status GdipLoadImageFromStream(TStream* stream, GpImage** image);
Status GdipLoadImageFromStreamICM(TStream* stream, GpImage** image);
Status GdipLoadImageFromMemory(const void* data, size_t size, GpImage** image);
Status GdipCloneImage(GpImage* image, GpImage** cloneImage);
Status GdipDisposeImage(GpImage* image);
Status GdipSaveImageToFile(GpImage* image, const WCHAR* filename, const CLSID* clsidEncoder,
                           const EncoderParameters* encoderParams);
Status GdipSaveImageToStream(GpImage* image, TStream* stream, const CLSID* clsidEncoder,
                             const EncoderParameters* encoderParams);
// Encodes into a buffer the caller frees with GdipFree.
Status GdipSaveImageToMemory(GpImage* image, const CLSID* clsidEncoder, const EncoderParameters* encoderParams,
                             void** data, size_t* size);
Status GdipSaveAdd(GpImage* image, const EncoderParameters* encoderParams);
Status GdipSaveAddImage(GpImage* image, GpImage* newImage, const EncoderParameters* encoderParams);
Status GdipGetImageWidth(GpImage* image, uint32_t* width);
Status GdipGetImageHeight(GpImage* image, uint32_t* height);
Status GdipGetImageType(GpImage* image, ImageType* type);
Status GdipGetImagePixelFormat(GpImage* image, PixelFormat* format);
Status GdipGetImageRawFormat(GpImage* image, GUID* format);
Status GdipGetImageThumbnail(GpImage* image, uint32_t thumbWidth, uint32_t thumbHeight, GpImage** thumbImage,
                             GetThumbnailImageAbort callback, void* callbackData);
Status GdipImageRotateFlip(GpImage* image, RotateFlipType rfType);
Status GdipImageGetFrameCount(GpImage* image, const GUID* dimensionID, uint32_t* count);
Status GdipImageSelectActiveFrame(GpImage* image, const GUID* dimensionID, uint32_t frameIndex);
Status GdipGetImageEncodersSize(uint32_t* numEncoders, uint32_t* size);
Status GdipGetImageEncoders(uint32_t numEncoders, uint32_t size, ImageCodecInfo* encoders);

inline constexpr GUID FrameDimensionTime = MakeGUID("{6AEDBD6D-3FB5-418A-83A6-7F45229DC872}");
inline constexpr GUID FrameDimensionPage = MakeGUID("{7462DC86-6180-4C7E-8E3F-EE7333A7A483}");

Status GdipCreateBitmapFromStream(TStream* stream, GpBitmap** bitmap);
Status GdipCreateBitmapFromStreamICM(TStream* stream, GpBitmap** bitmap);
Status GdipCreateBitmapFromMemory(const void* data, size_t size, GpBitmap** bitmap);
Status GdipCreateBitmapFromFile(const WCHAR* filename, GpBitmap** bitmap);
Status GdipCreateBitmapFromScan0(INT width, INT height, INT stride, PixelFormat format, uint8_t* scan0,
                                 GpBitmap** bitmap);
Status GdipCreateBitmapFromHBITMAP(HBITMAP hbm, void* hpal, GpBitmap** bitmap);
Status GdipCreateHBITMAPFromBitmap(GpBitmap* bitmap, HBITMAP* hbmReturn, ARGB background);
Status GdipBitmapGetPixel(GpBitmap* bitmap, INT x, INT y, ARGB* color);
Status GdipBitmapSetPixel(GpBitmap* bitmap, INT x, INT y, ARGB color);
Status GdipBitmapLockBits(GpBitmap* bitmap, const GpRect* rect, uint32_t flags, PixelFormat format,
                          BitmapData* lockedBitmapData);
Status GdipBitmapUnlockBits(GpBitmap* bitmap, BitmapData* lockedBitmapData);

// ---- image attributes -----------------------------------------------------

Status GdipCreateImageAttributes(GpImageAttributes** imageattr);
Status GdipCloneImageAttributes(const GpImageAttributes* imageattr, GpImageAttributes** cloneImageattr);
Status GdipDisposeImageAttributes(GpImageAttributes* imageattr);
Status GdipSetImageAttributesToIdentity(GpImageAttributes* imageattr, ColorAdjustType type);
Status GdipResetImageAttributes(GpImageAttributes* imageattr, ColorAdjustType type);
Status GdipSetImageAttributesColorMatrix(GpImageAttributes* imageattr, ColorAdjustType type, BOOL enableFlag,
                                         const ColorMatrix* colorMatrix, const ColorMatrix* grayMatrix,
                                         ColorMatrixFlags flags);
Status GdipSetImageAttributesThreshold(GpImageAttributes* imageattr, ColorAdjustType type, BOOL enableFlag,
                                       REAL threshold);
Status GdipSetImageAttributesGamma(GpImageAttributes* imageattr, ColorAdjustType type, BOOL enableFlag, REAL gamma);
Status GdipSetImageAttributesNoOp(GpImageAttributes* imageattr, ColorAdjustType type, BOOL enableFlag);
Status GdipSetImageAttributesColorKeys(GpImageAttributes* imageattr, ColorAdjustType type, BOOL enableFlag,
                                       ARGB colorLow, ARGB colorHigh);
Status GdipSetImageAttributesOutputChannel(GpImageAttributes* imageattr, ColorAdjustType type, BOOL enableFlag,
                                           ColorChannelFlags channelFlags);
Status GdipSetImageAttributesOutputChannelColorProfile(GpImageAttributes* imageattr, ColorAdjustType type,
                                                       BOOL enableFlag, const WCHAR* colorProfileFilename);
Status GdipSetImageAttributesRemapTable(GpImageAttributes* imageattr, ColorAdjustType type, BOOL enableFlag,
                                        uint32_t mapSize, const ColorMap* map);
Status GdipSetImageAttributesWrapMode(GpImageAttributes* imageAttr, WrapMode wrap, ARGB argb, BOOL clamp);
Status GdipGetImageAttributesAdjustedPalette(GpImageAttributes* imageAttr, ColorPalette* colorPalette,
                                             ColorAdjustType colorAdjustType);

// The object definitions: a derived handle (a solid fill, a bitmap)
// converts to its base (a brush, an image) as callers of this interface
// expect.
#include "platform/gfx/GdiPlus_Internal.h"
