// VodGDIP: paths, regions, matrices, images, bitmaps and image attributes.
#include <memory>

#include "controls/foundation/VodGDIP_Internal.h"
#include "platform/base/Streams.h"

using H = TGdipHandles;

namespace {

// A COM stream seen as a class-library stream, so the images can be read
// from and written to one through the flat interface's stream calls.
class TIStreamView : public TStream {
public:
    explicit TIStreamView(IStream* s) : FStream(s) {}
    Integer Read(void* Buffer, Integer Count) override
    {
        if (!FStream || Count <= 0) return 0;
        ULONG got = 0;
        if (FAILED(FStream->Read(Buffer, ULONG(Count), &got))) return 0;
        return Integer(got);
    }
    Integer Write(const void* Buffer, Integer Count) override
    {
        if (!FStream || Count <= 0) return 0;
        ULONG put = 0;
        if (FAILED(FStream->Write(Buffer, ULONG(Count), &put))) return 0;
        return Integer(put);
    }
    Int64 Seek(Int64 Offset, TSeekOrigin Origin) override
    {
        if (!FStream) return 0;
        const DWORD origin = Origin == soBeginning ? STREAM_SEEK_SET : Origin == soCurrent ? STREAM_SEEK_CUR
                                                                                           : STREAM_SEEK_END;
        UInt64 pos = 0;
        if (FAILED(FStream->Seek(Offset, origin, &pos))) throw EStreamError(L"Stream seek error");
        return Int64(pos);
    }

private:
    IStream* FStream;
};

}  // namespace

// ---- paths -------------------------------------------------------------------

TGPGraphicsPath::TGPGraphicsPath(FillMode fillMode) { lastResult = GdipCreatePath(fillMode, &nativePath); }

TGPGraphicsPath::TGPGraphicsPath(const TGPPointF* points, const Byte* types, INT count, FillMode fillMode)
{
    lastResult = GdipCreatePath2(points, types, count, fillMode, &nativePath);
}

TGPGraphicsPath::TGPGraphicsPath(GpPath* native) : nativePath(native) {}

TGPGraphicsPath::~TGPGraphicsPath() { GdipDeletePath(nativePath); }

Status TGPGraphicsPath::AddLine(const TGPPointF& pt1, const TGPPointF& pt2) { return AddLine(pt1.X, pt1.Y, pt2.X, pt2.Y); }

Status TGPGraphicsPath::AddLine(REAL x1, REAL y1, REAL x2, REAL y2)
{
    return Record(GdipAddPathLine(nativePath, x1, y1, x2, y2));
}

Status TGPGraphicsPath::AddLines(const TGPPoint* points, INT count)
{
    return Record(GdipAddPathLine2I(nativePath, points, count));
}

Status TGPGraphicsPath::AddRectangle(const TGPRectF& r)
{
    return Record(GdipAddPathRectangle(nativePath, r.X, r.Y, r.Width, r.Height));
}

Status TGPGraphicsPath::AddRectangle(const TGPRect& r)
{
    return Record(GdipAddPathRectangleI(nativePath, r.X, r.Y, r.Width, r.Height));
}

Status TGPGraphicsPath::AddArc(const TGPRectF& r, REAL startAngle, REAL sweepAngle)
{
    return AddArc(r.X, r.Y, r.Width, r.Height, startAngle, sweepAngle);
}

Status TGPGraphicsPath::AddArc(REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle)
{
    return Record(GdipAddPathArc(nativePath, x, y, width, height, startAngle, sweepAngle));
}

Status TGPGraphicsPath::AddEllipse(const TGPRectF& r) { return AddEllipse(r.X, r.Y, r.Width, r.Height); }

Status TGPGraphicsPath::AddEllipse(REAL x, REAL y, REAL width, REAL height)
{
    return Record(GdipAddPathEllipse(nativePath, x, y, width, height));
}

Status TGPGraphicsPath::AddPie(const TGPRectF& r, REAL startAngle, REAL sweepAngle)
{
    return AddPie(r.X, r.Y, r.Width, r.Height, startAngle, sweepAngle);
}

Status TGPGraphicsPath::AddPie(REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle)
{
    return Record(GdipAddPathPie(nativePath, x, y, width, height, startAngle, sweepAngle));
}

Status TGPGraphicsPath::AddPolygon(const TGPPointF* points, INT count)
{
    return Record(GdipAddPathPolygon(nativePath, points, count));
}

Status TGPGraphicsPath::AddPolygon(const TGPPoint* points, INT count)
{
    return Record(GdipAddPathPolygonI(nativePath, points, count));
}

Status TGPGraphicsPath::AddCurve(const TGPPointF* points, INT count)
{
    return Record(GdipAddPathCurve(nativePath, points, count));
}

Status TGPGraphicsPath::AddCurve(const TGPPoint* points, INT count)
{
    return Record(GdipAddPathCurveI(nativePath, points, count));
}

Status TGPGraphicsPath::AddCurve(const TGPPoint* points, INT count, REAL tension)
{
    return Record(GdipAddPathCurve2I(nativePath, points, count, tension));
}

Status TGPGraphicsPath::AddBezier(const TGPPoint& p1, const TGPPoint& p2, const TGPPoint& p3, const TGPPoint& p4)
{
    return AddBezier(REAL(p1.X), REAL(p1.Y), REAL(p2.X), REAL(p2.Y), REAL(p3.X), REAL(p3.Y), REAL(p4.X), REAL(p4.Y));
}

Status TGPGraphicsPath::AddBezier(const TGPPointF& p1, const TGPPointF& p2, const TGPPointF& p3,
                                  const TGPPointF& p4)
{
    return AddBezier(p1.X, p1.Y, p2.X, p2.Y, p3.X, p3.Y, p4.X, p4.Y);
}

Status TGPGraphicsPath::AddBezier(REAL x1, REAL y1, REAL x2, REAL y2, REAL x3, REAL y3, REAL x4, REAL y4)
{
    return Record(GdipAddPathBezier(nativePath, x1, y1, x2, y2, x3, y3, x4, y4));
}

Status TGPGraphicsPath::AddString(const String& string_, INT length, TGPFontFamily* family, INT style, REAL emSize,
                                  const TGPPointF& origin, TGPStringFormat* format)
{
    const TGPRectF layout{origin.X, origin.Y, 0, 0};
    return AddString(string_, length, family, style, emSize, layout, format);
}

Status TGPGraphicsPath::AddString(const String& string_, INT length, TGPFontFamily* family, INT style, REAL emSize,
                                  const TGPRectF& layoutRect, TGPStringFormat* format)
{
    return Record(GdipAddPathString(nativePath, string_.c_str(), GdipTextLength(string_, length), H::Of(family),
                                    style, emSize, &layoutRect, H::Of(format)));
}

Status TGPGraphicsPath::CloseFigure() { return Record(GdipClosePathFigure(nativePath)); }

Status TGPGraphicsPath::Reset() { return Record(GdipResetPath(nativePath)); }

INT TGPGraphicsPath::GetPointCount()
{
    INT count = 0;
    if (Record(GdipGetPointCount(nativePath, &count)) != Ok) return 0;
    return count;
}

Status TGPGraphicsPath::GetPathPoints(TGPPointF* points, INT count)
{
    return Record(GdipGetPathPoints(nativePath, points, count));
}

Status TGPGraphicsPath::GetPathTypes(Byte* types, INT count) { return Record(GdipGetPathTypes(nativePath, types, count)); }

Status TGPGraphicsPath::GetBounds(TGPRectF& bounds, TGPMatrix* matrix, TGPPen* pen)
{
    return Record(GdipGetPathWorldBounds(nativePath, &bounds, H::Of(matrix), H::Of(pen)));
}

Status TGPGraphicsPath::GetLastStatus()
{
    const Status s = lastResult;
    lastResult = Ok;
    return s;
}

// ---- regions -----------------------------------------------------------------

TGPRegion::TGPRegion(const TGPRectF& rect) { lastResult = GdipCreateRegionRect(&rect, &nativeRegion); }

TGPRegion::TGPRegion(TGPGraphicsPath* path) { lastResult = GdipCreateRegionPath(H::Of(path), &nativeRegion); }

TGPRegion::~TGPRegion() { GdipDeleteRegion(nativeRegion); }

Status TGPRegion::Exclude(TGPGraphicsPath* path)
{
    return Record(GdipCombineRegionPath(nativeRegion, H::Of(path), CombineModeExclude));
}

Status TGPRegion::Union(TGPRegion* region)
{
    return Record(GdipCombineRegionRegion(nativeRegion, H::Of(region), CombineModeUnion));
}

Status TGPRegion::GetLastStatus()
{
    const Status s = lastResult;
    lastResult = Ok;
    return s;
}

// ---- matrices ----------------------------------------------------------------

TGPMatrix::TGPMatrix() { lastResult = GdipCreateMatrix(&nativeMatrix); }

TGPMatrix::TGPMatrix(REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy)
{
    lastResult = GdipCreateMatrix2(m11, m12, m21, m22, dx, dy, &nativeMatrix);
}

TGPMatrix::TGPMatrix(const TGPRectF& rect, const TGPPointF* dstplg)
{
    lastResult = GdipCreateMatrix3(&rect, dstplg, &nativeMatrix);
}

TGPMatrix::TGPMatrix(const TGPRect& rect, const TGPPoint* dstplg)
{
    lastResult = GdipCreateMatrix3I(&rect, dstplg, &nativeMatrix);
}

TGPMatrix::~TGPMatrix() { GdipDeleteMatrix(nativeMatrix); }

TGPMatrix* TGPMatrix::Clone()
{
    GpMatrix* clone = nullptr;
    Record(GdipCloneMatrix(nativeMatrix, &clone));
    if (lastResult != Ok) {
        // An earlier failure refuses the clone; what was made is not kept.
        if (clone) GdipDeleteMatrix(clone);
        return nullptr;
    }
    return new TGPMatrix(clone);
}

Status TGPMatrix::GetElements(TMatrixArray& m) { return Record(GdipGetMatrixElements(nativeMatrix, m.data())); }

Status TGPMatrix::SetElements(REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy)
{
    return Record(GdipSetMatrixElements(nativeMatrix, m11, m12, m21, m22, dx, dy));
}

REAL TGPMatrix::OffsetX()
{
    TMatrixArray m{};
    return GetElements(m) == Ok ? m[4] : 0;
}

REAL TGPMatrix::OffsetY()
{
    TMatrixArray m{};
    return GetElements(m) == Ok ? m[5] : 0;
}

Status TGPMatrix::Reset() { return Record(GdipSetMatrixElements(nativeMatrix, 1, 0, 0, 1, 0, 0)); }

Status TGPMatrix::Multiply(TGPMatrix* matrix, MatrixOrder order)
{
    return Record(GdipMultiplyMatrix(nativeMatrix, H::Of(matrix), order));
}

Status TGPMatrix::Translate(REAL offsetX, REAL offsetY, MatrixOrder order)
{
    return Record(GdipTranslateMatrix(nativeMatrix, offsetX, offsetY, order));
}

Status TGPMatrix::Scale(REAL scaleX, REAL scaleY, MatrixOrder order)
{
    return Record(GdipScaleMatrix(nativeMatrix, scaleX, scaleY, order));
}

Status TGPMatrix::Rotate(REAL angle, MatrixOrder order) { return Record(GdipRotateMatrix(nativeMatrix, angle, order)); }

Status TGPMatrix::RotateAt(REAL angle, const TGPPointF& center, MatrixOrder order)
{
    if (order == MatrixOrderPrepend) {
        Record(GdipTranslateMatrix(nativeMatrix, center.X, center.Y, order));
        Record(GdipRotateMatrix(nativeMatrix, angle, order));
        return Record(GdipTranslateMatrix(nativeMatrix, -center.X, -center.Y, order));
    }
    Record(GdipTranslateMatrix(nativeMatrix, -center.X, -center.Y, order));
    Record(GdipRotateMatrix(nativeMatrix, angle, order));
    return Record(GdipTranslateMatrix(nativeMatrix, center.X, center.Y, order));
}

Status TGPMatrix::Shear(REAL shearX, REAL shearY, MatrixOrder order)
{
    return Record(GdipShearMatrix(nativeMatrix, shearX, shearY, order));
}

Status TGPMatrix::Invert() { return Record(GdipInvertMatrix(nativeMatrix)); }

Status TGPMatrix::TransformPoints(TGPPointF* pts, INT count)
{
    return Record(GdipTransformMatrixPoints(nativeMatrix, pts, count));
}

Status TGPMatrix::TransformPoints(TGPPoint* pts, INT count)
{
    return Record(GdipTransformMatrixPointsI(nativeMatrix, pts, count));
}

Status TGPMatrix::TransformVectors(TGPPointF* pts, INT count)
{
    return Record(GdipVectorTransformMatrixPoints(nativeMatrix, pts, count));
}

Status TGPMatrix::TransformVectors(TGPPoint* pts, INT count)
{
    return Record(GdipVectorTransformMatrixPointsI(nativeMatrix, pts, count));
}

bool TGPMatrix::IsInvertible()
{
    BOOL r = 0;
    if (Record(GdipIsMatrixInvertible(nativeMatrix, &r)) != Ok) return false;
    return r != 0;
}

bool TGPMatrix::IsIdentity()
{
    BOOL r = 0;
    if (Record(GdipIsMatrixIdentity(nativeMatrix, &r)) != Ok) return false;
    return r != 0;
}

Status TGPMatrix::GetLastStatus()
{
    const Status s = lastResult;
    lastResult = Ok;
    return s;
}

// ---- images ------------------------------------------------------------------

TGPImage::TGPImage(const String& filename, bool useEmbeddedColorManagement)
{
    lastResult = useEmbeddedColorManagement ? GdipLoadImageFromFileICM(filename.c_str(), &nativeImage)
                                            : GdipLoadImageFromFile(filename.c_str(), &nativeImage);
}

TGPImage::TGPImage(IStream* stream, bool useEmbeddedColorManagement)
{
    if (!stream) {
        lastResult = InvalidParameter;
        return;
    }
    TIStreamView view(stream);
    lastResult = useEmbeddedColorManagement ? GdipLoadImageFromStreamICM(&view, &nativeImage)
                                            : GdipLoadImageFromStream(&view, &nativeImage);
}

TGPImage::TGPImage(GpImage* native, Status status) : nativeImage(native), lastResult(status) {}

TGPImage::~TGPImage() { GdipDisposeImage(nativeImage); }

Status TGPImage::Save(const String& filename, const CLSID& clsidEncoder, const EncoderParameters* encoderParams)
{
    return Record(GdipSaveImageToFile(nativeImage, filename.c_str(), &clsidEncoder, encoderParams));
}

Status TGPImage::Save(IStream* stream, const CLSID& clsidEncoder, const EncoderParameters* encoderParams)
{
    if (!stream) return Record(InvalidParameter);
    TIStreamView view(stream);
    return Record(GdipSaveImageToStream(nativeImage, &view, &clsidEncoder, encoderParams));
}

Status TGPImage::SaveAdd(TGPImage* newImage, const EncoderParameters* encoderParams)
{
    if (!newImage) return Record(InvalidParameter);
    return Record(GdipSaveAddImage(nativeImage, newImage->nativeImage, encoderParams));
}

uint32_t TGPImage::GetWidth()
{
    uint32_t w = 0;
    if (Record(GdipGetImageWidth(nativeImage, &w)) != Ok) return 0;
    return w;
}

uint32_t TGPImage::GetHeight()
{
    uint32_t h = 0;
    if (Record(GdipGetImageHeight(nativeImage, &h)) != Ok) return 0;
    return h;
}

PixelFormat TGPImage::GetPixelFormat()
{
    PixelFormat f = PixelFormatUndefined;
    Record(GdipGetImagePixelFormat(nativeImage, &f));
    return f;
}

uint32_t TGPImage::GetPixelDepth() { return (uint32_t(GetPixelFormat()) >> 8) & 0xFF; }

bool TGPImage::HasAlphaChannel() { return (GetPixelFormat() & PixelFormatAlpha) != 0; }

bool TGPImage::HasPalette() { return (GetPixelFormat() & PixelFormatIndexed) != 0; }

TGPImageFormat TGPImage::GetFormat()
{
    GUID raw{};
    if (GdipGetImageRawFormat(nativeImage, &raw) != Ok) return ifUndefined;
    static const struct {
        const GUID& Guid;
        TGPImageFormat Format;
    } table[] = {
        {ImageFormatMemoryBMP, ifMemoryBMP}, {ImageFormatBMP, ifBMP},   {ImageFormatEMF, ifEMF},
        {ImageFormatWMF, ifWMF},             {ImageFormatJPEG, ifJPEG}, {ImageFormatPNG, ifPNG},
        {ImageFormatGIF, ifGIF},             {ImageFormatTIFF, ifTIFF}, {ImageFormatEXIF, ifEXIF},
        {ImageFormatIcon, ifIcon},
    };
    for (const auto& e : table)
        if (IsEqualGUID(raw, e.Guid)) return e.Format;
    return ifUndefined;
}

TGPImage* TGPImage::GetThumbnailImage(uint32_t thumbWidth, uint32_t thumbHeight, GetThumbnailImageAbort callback,
                                      void* callbackData)
{
    GpImage* thumb = nullptr;
    Record(GdipGetImageThumbnail(nativeImage, thumbWidth, thumbHeight, &thumb, callback, callbackData));
    return new TGPImage(thumb, lastResult);
}

Status TGPImage::RotateFlip(RotateFlipType rotateFlipType)
{
    return Record(GdipImageRotateFlip(nativeImage, rotateFlipType));
}

Status TGPImage::GetLastStatus()
{
    const Status s = lastResult;
    lastResult = Ok;
    return s;
}

// ---- bitmaps -----------------------------------------------------------------

TGPBitmap::TGPBitmap(IStream* stream, bool useEmbeddedColorManagement)
{
    if (!stream) {
        lastResult = InvalidParameter;
        return;
    }
    TIStreamView view(stream);
    GpBitmap* b = nullptr;
    lastResult = useEmbeddedColorManagement ? GdipCreateBitmapFromStreamICM(&view, &b)
                                            : GdipCreateBitmapFromStream(&view, &b);
    nativeImage = b;
}

TGPBitmap::TGPBitmap(INT width, INT height, PixelFormat format)
{
    GpBitmap* b = nullptr;
    lastResult = GdipCreateBitmapFromScan0(width, height, 0, format, nullptr, &b);
    nativeImage = b;
}

TGPBitmap::TGPBitmap(GpBitmap* nativeBitmap) { nativeImage = nativeBitmap; }

TGPBitmap* TGPBitmap::FromStream(IStream* stream, bool useEmbeddedColorManagement)
{
    return new TGPBitmap(stream, useEmbeddedColorManagement);
}

Status TGPBitmap::GetHBITMAP(ARGB colorBackground, HBITMAP& hbmReturn)
{
    return Record(GdipCreateHBITMAPFromBitmap(Native(), &hbmReturn, colorBackground));
}

Status TGPBitmap::GetPixel(INT x, INT y, ARGB& color) { return Record(GdipBitmapGetPixel(Native(), x, y, &color)); }

Status TGPBitmap::SetPixel(INT x, INT y, ARGB color) { return Record(GdipBitmapSetPixel(Native(), x, y, color)); }

// ---- image attributes --------------------------------------------------------

TGPImageAttributes::TGPImageAttributes() { lastResult = GdipCreateImageAttributes(&nativeImageAttr); }

TGPImageAttributes::~TGPImageAttributes() { GdipDisposeImageAttributes(nativeImageAttr); }

TGPImageAttributes* TGPImageAttributes::Clone()
{
    GpImageAttributes* clone = nullptr;
    Record(GdipCloneImageAttributes(nativeImageAttr, &clone));
    return new TGPImageAttributes(clone, lastResult);
}

Status TGPImageAttributes::SetToIdentity(ColorAdjustType type)
{
    return Record(GdipSetImageAttributesToIdentity(nativeImageAttr, type));
}

Status TGPImageAttributes::Reset(ColorAdjustType type) { return Record(GdipResetImageAttributes(nativeImageAttr, type)); }

Status TGPImageAttributes::SetColorMatrix(const ColorMatrix& colorMatrix, ColorMatrixFlags mode, ColorAdjustType type)
{
    return Record(GdipSetImageAttributesColorMatrix(nativeImageAttr, type, 1, &colorMatrix, nullptr, mode));
}

Status TGPImageAttributes::ClearColorMatrix(ColorAdjustType type)
{
    return Record(GdipSetImageAttributesColorMatrix(nativeImageAttr, type, 0, nullptr, nullptr,
                                                    ColorMatrixFlagsDefault));
}

Status TGPImageAttributes::SetColorMatrices(const ColorMatrix& colorMatrix, const ColorMatrix& grayMatrix,
                                            ColorMatrixFlags mode, ColorAdjustType type)
{
    return Record(GdipSetImageAttributesColorMatrix(nativeImageAttr, type, 1, &colorMatrix, &grayMatrix, mode));
}

Status TGPImageAttributes::ClearColorMatrices(ColorAdjustType type)
{
    return Record(GdipSetImageAttributesColorMatrix(nativeImageAttr, type, 0, nullptr, nullptr,
                                                    ColorMatrixFlagsDefault));
}

Status TGPImageAttributes::SetThreshold(REAL threshold, ColorAdjustType type)
{
    return Record(GdipSetImageAttributesThreshold(nativeImageAttr, type, 1, threshold));
}

Status TGPImageAttributes::ClearThreshold(ColorAdjustType type)
{
    return Record(GdipSetImageAttributesThreshold(nativeImageAttr, type, 0, 0));
}

Status TGPImageAttributes::SetGamma(REAL gamma, ColorAdjustType type)
{
    return Record(GdipSetImageAttributesGamma(nativeImageAttr, type, 1, gamma));
}

Status TGPImageAttributes::ClearGamma(ColorAdjustType type)
{
    return Record(GdipSetImageAttributesGamma(nativeImageAttr, type, 0, 0));
}

Status TGPImageAttributes::SetNoOp(ColorAdjustType type)
{
    return Record(GdipSetImageAttributesNoOp(nativeImageAttr, type, 1));
}

Status TGPImageAttributes::ClearNoOp(ColorAdjustType type)
{
    return Record(GdipSetImageAttributesNoOp(nativeImageAttr, type, 0));
}

Status TGPImageAttributes::SetColorKey(ARGB colorLow, ARGB colorHigh, ColorAdjustType type)
{
    return Record(GdipSetImageAttributesColorKeys(nativeImageAttr, type, 1, colorLow, colorHigh));
}

Status TGPImageAttributes::ClearColorKey(ColorAdjustType type)
{
    return Record(GdipSetImageAttributesColorKeys(nativeImageAttr, type, 0, 0, 0));
}

Status TGPImageAttributes::SetOutputChannel(ColorChannelFlags channelFlags, ColorAdjustType type)
{
    return Record(GdipSetImageAttributesOutputChannel(nativeImageAttr, type, 1, channelFlags));
}

Status TGPImageAttributes::ClearOutputChannel(ColorAdjustType type)
{
    return Record(GdipSetImageAttributesOutputChannel(nativeImageAttr, type, 0, ColorChannelFlagsLast));
}

Status TGPImageAttributes::SetOutputChannelColorProfile(const String& colorProfileFilename, ColorAdjustType type)
{
    return Record(
        GdipSetImageAttributesOutputChannelColorProfile(nativeImageAttr, type, 1, colorProfileFilename.c_str()));
}

Status TGPImageAttributes::ClearOutputChannelColorProfile(ColorAdjustType type)
{
    return Record(GdipSetImageAttributesOutputChannelColorProfile(nativeImageAttr, type, 0, nullptr));
}

Status TGPImageAttributes::SetRemapTable(uint32_t mapSize, const ColorMap* map, ColorAdjustType type)
{
    return Record(GdipSetImageAttributesRemapTable(nativeImageAttr, type, 1, mapSize, map));
}

Status TGPImageAttributes::ClearRemapTable(ColorAdjustType type)
{
    return Record(GdipSetImageAttributesRemapTable(nativeImageAttr, type, 0, 0, nullptr));
}

Status TGPImageAttributes::SetBrushRemapTable(uint32_t mapSize, const ColorMap* map)
{
    return SetRemapTable(mapSize, map, ColorAdjustTypeBrush);
}

Status TGPImageAttributes::ClearBrushRemapTable() { return ClearRemapTable(ColorAdjustTypeBrush); }

Status TGPImageAttributes::SetWrapMode(WrapMode wrap, ARGB color, bool clamp)
{
    return Record(GdipSetImageAttributesWrapMode(nativeImageAttr, wrap, color, clamp ? 1 : 0));
}

Status TGPImageAttributes::GetAdjustedPalette(ColorPalette* colorPalette, ColorAdjustType colorAdjustType)
{
    return Record(GdipGetImageAttributesAdjustedPalette(nativeImageAttr, colorPalette, colorAdjustType));
}

Status TGPImageAttributes::GetLastStatus()
{
    const Status s = lastResult;
    lastResult = Ok;
    return s;
}
