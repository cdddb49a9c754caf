// VodGDIP: the drawing surface and the library's text operations on it.
#include <memory>

#include "controls/foundation/VodGDIP_Internal.h"
#include "platform/base/SysUtils.h"

using H = TGdipHandles;

TGPGraphics::TGPGraphics(HDC hdc) { lastResult = GdipCreateFromHDC(hdc, &nativeGraphics); }

TGPGraphics::TGPGraphics(TGPImage* image)
{
    if (image) lastResult = GdipGetImageGraphicsContext(H::Of(image), &nativeGraphics);
}

TGPGraphics::~TGPGraphics() { GdipDeleteGraphics(nativeGraphics); }

TGPGraphics* TGPGraphics::FromImage(TGPImage* image) { return new TGPGraphics(image); }

void TGPGraphics::Flush(FlushIntention intention) { GdipFlush(nativeGraphics, intention); }

Status TGPGraphics::Clear(ARGB color) { return Record(GdipGraphicsClear(nativeGraphics, color)); }

HDC TGPGraphics::GetHDC()
{
    HDC hdc = nullptr;
    Record(GdipGetDC(nativeGraphics, &hdc));
    return hdc;
}

Status TGPGraphics::ReleaseHDC(HDC hdc) { return Record(GdipReleaseDC(nativeGraphics, hdc)); }

Status TGPGraphics::SetTransform(TGPMatrix* matrix)
{
    return Record(GdipSetWorldTransform(nativeGraphics, H::Of(matrix)));
}

Status TGPGraphics::ResetTransform() { return Record(GdipResetWorldTransform(nativeGraphics)); }

Status TGPGraphics::MultiplyTransform(TGPMatrix* matrix, MatrixOrder order)
{
    return Record(GdipMultiplyWorldTransform(nativeGraphics, H::Of(matrix), order));
}

Status TGPGraphics::TranslateTransform(REAL dx, REAL dy, MatrixOrder order)
{
    return Record(GdipTranslateWorldTransform(nativeGraphics, dx, dy, order));
}

Status TGPGraphics::RotateTransform(REAL angle, MatrixOrder order)
{
    return Record(GdipRotateWorldTransform(nativeGraphics, angle, order));
}

Status TGPGraphics::ScaleTransform(REAL sx, REAL sy, MatrixOrder order)
{
    return Record(GdipScaleWorldTransform(nativeGraphics, sx, sy, order));
}

Status TGPGraphics::SetCompositingQuality(CompositingQuality quality)
{
    return Record(GdipSetCompositingQuality(nativeGraphics, quality));
}

CompositingQuality TGPGraphics::GetCompositingQuality()
{
    CompositingQuality q = CompositingQualityInvalid;
    Record(GdipGetCompositingQuality(nativeGraphics, &q));
    return q;
}

Status TGPGraphics::SetTextRenderingHint(TextRenderingHint mode)
{
    return Record(GdipSetTextRenderingHint(nativeGraphics, mode));
}

TextRenderingHint TGPGraphics::GetTextRenderingHint()
{
    TextRenderingHint h = TextRenderingHintSystemDefault;
    Record(GdipGetTextRenderingHint(nativeGraphics, &h));
    return h;
}

Status TGPGraphics::SetSmoothingMode(SmoothingMode mode)
{
    return Record(GdipSetSmoothingMode(nativeGraphics, mode));
}

SmoothingMode TGPGraphics::GetSmoothingMode()
{
    SmoothingMode m = SmoothingModeInvalid;
    if (Record(GdipGetSmoothingMode(nativeGraphics, &m)) != Ok) return SmoothingModeInvalid;
    return m;
}

Status TGPGraphics::DrawPath(TGPPen* pen, TGPGraphicsPath* path)
{
    return Record(GdipDrawPath(nativeGraphics, H::Of(pen), H::Of(path)));
}

Status TGPGraphics::FillPath(TGPBrush* brush, TGPGraphicsPath* path)
{
    return Record(GdipFillPath(nativeGraphics, H::Of(brush), H::Of(path)));
}

Status TGPGraphics::FillRectangle(TGPBrush* brush, const TGPRectF& rect)
{
    return FillRectangle(brush, rect.X, rect.Y, rect.Width, rect.Height);
}

Status TGPGraphics::FillRectangle(TGPBrush* brush, REAL x, REAL y, REAL width, REAL height)
{
    return Record(GdipFillRectangle(nativeGraphics, H::Of(brush), x, y, width, height));
}

Status TGPGraphics::DrawRectangle(TGPPen* pen, const TGPRectF& rect)
{
    return DrawRectangle(pen, rect.X, rect.Y, rect.Width, rect.Height);
}

Status TGPGraphics::DrawRectangle(TGPPen* pen, REAL x, REAL y, REAL width, REAL height)
{
    return Record(GdipDrawRectangle(nativeGraphics, H::Of(pen), x, y, width, height));
}

Status TGPGraphics::DrawLine(TGPPen* pen, REAL x1, REAL y1, REAL x2, REAL y2)
{
    return Record(GdipDrawLine(nativeGraphics, H::Of(pen), x1, y1, x2, y2));
}

Status TGPGraphics::DrawArc(TGPPen* pen, REAL x, REAL y, REAL width, REAL height, REAL startAngle,
                            REAL sweepAngle)
{
    return Record(GdipDrawArc(nativeGraphics, H::Of(pen), x, y, width, height, startAngle, sweepAngle));
}

Status TGPGraphics::DrawArc(TGPPen* pen, const TGPRectF& rect, REAL startAngle, REAL sweepAngle)
{
    return DrawArc(pen, rect.X, rect.Y, rect.Width, rect.Height, startAngle, sweepAngle);
}

Status TGPGraphics::DrawBezier(TGPPen* pen, REAL x1, REAL y1, REAL x2, REAL y2, REAL x3, REAL y3, REAL x4,
                               REAL y4)
{
    return Record(GdipDrawBezier(nativeGraphics, H::Of(pen), x1, y1, x2, y2, x3, y3, x4, y4));
}

Status TGPGraphics::DrawBezier(TGPPen* pen, const TGPPointF& pt1, const TGPPointF& pt2, const TGPPointF& pt3,
                               const TGPPointF& pt4)
{
    return DrawBezier(pen, pt1.X, pt1.Y, pt2.X, pt2.Y, pt3.X, pt3.Y, pt4.X, pt4.Y);
}

Status TGPGraphics::DrawBeziers(TGPPen* pen, const TGPPointF* points, INT count)
{
    return Record(GdipDrawBeziers(nativeGraphics, H::Of(pen), points, count));
}

Status TGPGraphics::DrawEllipse(TGPPen* pen, const TGPRectF& rect)
{
    return DrawEllipse(pen, rect.X, rect.Y, rect.Width, rect.Height);
}

Status TGPGraphics::DrawEllipse(TGPPen* pen, REAL x, REAL y, REAL width, REAL height)
{
    return Record(GdipDrawEllipse(nativeGraphics, H::Of(pen), x, y, width, height));
}

Status TGPGraphics::DrawEllipse(TGPPen* pen, const TGPRect& rect)
{
    return DrawEllipse(pen, rect.X, rect.Y, rect.Width, rect.Height);
}

Status TGPGraphics::DrawEllipse(TGPPen* pen, INT x, INT y, INT width, INT height)
{
    return Record(GdipDrawEllipseI(nativeGraphics, H::Of(pen), x, y, width, height));
}

Status TGPGraphics::FillEllipse(TGPBrush* brush, const TGPRectF& rect)
{
    return FillEllipse(brush, rect.X, rect.Y, rect.Width, rect.Height);
}

Status TGPGraphics::FillEllipse(TGPBrush* brush, REAL x, REAL y, REAL width, REAL height)
{
    return Record(GdipFillEllipse(nativeGraphics, H::Of(brush), x, y, width, height));
}

Status TGPGraphics::FillEllipse(TGPBrush* brush, const TGPRect& rect)
{
    return FillEllipse(brush, rect.X, rect.Y, rect.Width, rect.Height);
}

Status TGPGraphics::FillEllipse(TGPBrush* brush, INT x, INT y, INT width, INT height)
{
    return Record(GdipFillEllipseI(nativeGraphics, H::Of(brush), x, y, width, height));
}

Status TGPGraphics::FillPolygon(TGPBrush* brush, const TGPPointF* points, INT count, FillMode fillMode)
{
    return Record(GdipFillPolygon(nativeGraphics, H::Of(brush), points, count, fillMode));
}

Status TGPGraphics::FillPolygon(TGPBrush* brush, const TGPPoint* points, INT count, FillMode fillMode)
{
    return Record(GdipFillPolygonI(nativeGraphics, H::Of(brush), points, count, fillMode));
}

Status TGPGraphics::DrawImage(TGPImage* image, INT x, INT y)
{
    return Record(GdipDrawImageI(nativeGraphics, H::Of(image), x, y));
}

Status TGPGraphics::DrawImage(TGPImage* image, REAL x, REAL y, REAL width, REAL height)
{
    return Record(GdipDrawImageRect(nativeGraphics, H::Of(image), x, y, width, height));
}

Status TGPGraphics::DrawImage(TGPImage* image, const TGPRectF& rect)
{
    return DrawImage(image, rect.X, rect.Y, rect.Width, rect.Height);
}

Status TGPGraphics::DrawImage(TGPImage* image, const TGPRectF& destRect, REAL srcx, REAL srcy, REAL srcwidth,
                              REAL srcheight, Unit_ srcUnit, TGPImageAttributes* imageAttributes,
                              ImageAbort callback, void* callbackData)
{
    return Record(GdipDrawImageRectRect(nativeGraphics, H::Of(image), destRect.X, destRect.Y, destRect.Width,
                                        destRect.Height, srcx, srcy, srcwidth, srcheight, srcUnit,
                                        H::Of(imageAttributes), callback, callbackData));
}

Status TGPGraphics::DrawImageRect(TGPImage* image, INT x, INT y, INT w, INT h)
{
    return Record(GdipDrawImageRect(nativeGraphics, H::Of(image), REAL(x), REAL(y), REAL(w), REAL(h)));
}

Status TGPGraphics::DrawImageRect(TGPImage* image, const TGPRectF& ARect)
{
    return DrawImageRect(image, INT(Round(ARect.X)), INT(Round(ARect.Y)), INT(Round(ARect.Width)),
                         INT(Round(ARect.Height)));
}

Status TGPGraphics::ExcludeClip(const TGPRectF& rect)
{
    return Record(GdipSetClipRect(nativeGraphics, rect.X, rect.Y, rect.Width, rect.Height, CombineModeExclude));
}

Status TGPGraphics::ExcludeClip(TGPRegion* region)
{
    return Record(GdipSetClipRegion(nativeGraphics, H::Of(region), CombineModeExclude));
}

Status TGPGraphics::SetClip(TGPRegion* region, CombineMode combineMode)
{
    return Record(GdipSetClipRegion(nativeGraphics, H::Of(region), combineMode));
}

Status TGPGraphics::SetClip(TGPGraphicsPath* path, CombineMode combineMode)
{
    return Record(GdipSetClipPath(nativeGraphics, H::Of(path), combineMode));
}

Status TGPGraphics::ResetClip() { return Record(GdipResetClip(nativeGraphics)); }

Status TGPGraphics::MeasureString(const String& string_, INT length, TGPFont* font, const TGPRectF& layoutRect,
                                  TGPStringFormat* stringFormat, TGPRectF& boundingBox, INT* codepointsFitted,
                                  INT* linesFilled)
{
    return Record(GdipMeasureString(nativeGraphics, string_.c_str(), GdipTextLength(string_, length), H::Of(font),
                                    &layoutRect, H::Of(stringFormat), &boundingBox, codepointsFitted,
                                    linesFilled));
}

Status TGPGraphics::MeasureString(const String& string_, INT length, TGPFont* font, const TGPPointF& origin,
                                  TGPStringFormat* stringFormat, TGPRectF& boundingBox)
{
    const TGPRectF layout{origin.X, origin.Y, 0, 0};
    return MeasureString(string_, length, font, layout, stringFormat, boundingBox);
}

Status TGPGraphics::MeasureString(const String& string_, INT length, TGPFont* font, const TGPRectF& layoutRect,
                                  TGPRectF& boundingBox)
{
    return MeasureString(string_, length, font, layoutRect, nullptr, boundingBox);
}

Status TGPGraphics::DrawString(const String& string_, INT, TGPFont* font, const TGPRectF& layoutRect,
                               TGPStringFormat* stringFormat, TGPBrush* brush)
{
    // A terminated copy of the whole string; every caller passes its length.
    const String text = string_;
    return Record(GdipDrawString(nativeGraphics, text.c_str(), INT(text.size()), H::Of(font), &layoutRect,
                                 H::Of(stringFormat), H::Of(brush)));
}

Status TGPGraphics::DrawString(const String& string_, INT length, TGPFont* font, const TGPPointF& origin,
                               TGPStringFormat* stringFormat, TGPBrush* brush)
{
    const TGPRectF layout{origin.X, origin.Y, 0, 0};
    return DrawString(string_, length, font, layout, stringFormat, brush);
}

Status TGPGraphics::DrawString(const String& string_, INT length, TGPFont* font, const TGPPointF& origin,
                               TGPBrush* brush)
{
    return DrawString(string_, length, font, origin, nullptr, brush);
}

Status TGPGraphics::GetLastStatus()
{
    const Status s = lastResult;
    lastResult = Ok;
    return s;
}

// ---- the library's text operations -----------------------------------------

namespace {

// A missing font stands for the platform's default one.
TFont* OrDefault(TFont* font)
{
    static thread_local TFont defaults;
    return font ? font : &defaults;
}

}  // namespace

TGPFont* TGPGraphics::MakeFont(TFont* AFont)
{
    AFont = OrDefault(AFont);
    std::unique_ptr<TGPFontFamily> family(new TGPFontFamily(AFont->Name()));
    const Status s = H::StatusOf(family.get());
    if (s == FontFamilyNotFound || s == FontStyleNotFound) family.reset(new TGPFontFamily(L"Arial"));
    INT style = FontStyleRegular;
    const TFontStyles fs = AFont->Style();
    if (fs.Contains(fsBold)) style += FontStyleBold;
    if (fs.Contains(fsItalic)) style += FontStyleItalic;
    if (fs.Contains(fsUnderline)) style += FontStyleUnderline;
    if (fs.Contains(fsStrikeOut)) style += FontStyleStrikeout;
    return new TGPFont(family.get(), REAL(AFont->Size()), style, UnitPoint);
}

Integer TGPGraphics::TextWidth(const String& string_, TFont* font)
{
    std::unique_ptr<TGPFont> f(MakeFont(font));
    TGPRectF box{};
    MeasureString(string_, INT(string_.size()), f.get(), TGPRectF{0, 0, 10000, 10000}, box);
    return Integer(Round(box.Width));
}

Integer TGPGraphics::TextHeight(const String& string_, TFont* font)
{
    std::unique_ptr<TGPFont> f(MakeFont(font));
    TGPRectF box{};
    MeasureString(string_, INT(string_.size()), f.get(), TGPRectF{0, 0, 10000, 10000}, box);
    return Integer(Round(box.Height));
}

Integer TGPGraphics::DrawText(const String& string_, Integer len, TRect& rect, TFont* font, Cardinal style,
                              TColor bkColor)
{
    font = OrDefault(font);
    std::unique_ptr<TGPFont> f(MakeFont(font));
    const bool calcRect = (style & DT_CALCRECT) != 0;
    if (calcRect || bkColor != clNone) {
        const Integer size = font->Size();
        Integer correction = 2;
        if (size > 8) correction = 2 + Integer(Round((size - 8) / 1.5));
        // A trailing blank is not measured by GDI+; a letter in its place is.
        String copy = string_;
        if (copy.size() > 1 && copy.back() == L' ') copy.back() = L'i';
        const TGPRectF layout{REAL(rect.Left), REAL(rect.Top), REAL(rect.Right - rect.Left + 1000),
                              REAL(rect.Bottom - rect.Top)};
        TGPRectF box{};
        MeasureString(copy, len, f.get(), layout, nullptr, box);
        rect.Right = rect.Left + Integer(Round(box.Width - correction));
        rect.Bottom = rect.Top + Integer(Round(box.Height));
        if (bkColor != clNone) {
            std::unique_ptr<TGPSolidBrush> brush(new TGPSolidBrush(ARGBFromTColor(bkColor)));
            FillRectangle(brush.get(), REAL(rect.Left + 1), REAL(rect.Top), box.Width - correction + 1, box.Height);
        }
    }
    if (!calcRect) {
        std::unique_ptr<TGPSolidBrush> brush(new TGPSolidBrush(ARGBFromTColor(font->Color())));
        DrawString(string_, INT(string_.size()), f.get(), TGPPointF{REAL(rect.Left), REAL(rect.Top)}, nullptr,
                   brush.get());
    }
    return rect.Bottom - rect.Top;
}
