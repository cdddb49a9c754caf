// The class library's drawing classes: TGraphicsObject with TFont, TPen and
// TBrush, and TCanvas over a device context.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/base/Objects.h"
#include "platform/gfx/Colors.h"
#include "platform/gfx/Gdi.h"

class TGraphic;   // the image classes (Graphics.h) build on this unit
class TCanvas;

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };
enum TFontQuality { fqDefault, fqDraft, fqProof, fqNonAntialiased, fqAntialiased, fqClearType };
using TFontCharset = Byte;
using TFontName = String;

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame, psUserStyle, psAlternate };
enum TPenMode {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot, pmMergeNotPen,
    pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor,
};
enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
enum TFillStyle { fsSurface, fsBorder };

enum TTextFormats {
    tfBottom, tfCalcRect, tfCenter, tfEditControl, tfEndEllipsis, tfPathEllipsis, tfExpandTabs,
    tfExternalLeading, tfLeft, tfModifyString, tfNoClip, tfNoPrefix, tfRight, tfRtlReading,
    tfSingleLine, tfTop, tfVerticalCenter, tfWordBreak, tfHidePrefix, tfNoFullWidthCharBreak,
    tfPrefixOnly, tfTabStop, tfWordEllipsis, tfComposited,
};
using TTextFormat = TSet<TTextFormats>;
// The DrawText flags of a text format.
UINT TextFormatToFlags(TTextFormat f);

using TCopyMode = DWORD;
constexpr TCopyMode cmBlackness = BLACKNESS, cmDstInvert = DSTINVERT, cmMergeCopy = MERGECOPY,
                    cmMergePaint = MERGEPAINT, cmNotSrcCopy = NOTSRCCOPY, cmNotSrcErase = NOTSRCERASE,
                    cmPatCopy = PATCOPY, cmPatInvert = PATINVERT, cmPatPaint = PATPAINT,
                    cmSrcAnd = SRCAND, cmSrcCopy = SRCCOPY, cmSrcErase = SRCERASE,
                    cmSrcInvert = SRCINVERT, cmSrcPaint = SRCPAINT, cmWhiteness = WHITENESS;

// Base of TFont, TPen and TBrush: OnChange fires after every change.
class TGraphicsObject : public TPersistent {
    VEL_CLASS(TGraphicsObject, TPersistent)
public:
    TNotifyEvent OnChange;
    // Several canvases may share an object; a lock serialises their use.
    std::recursive_mutex* OwnerLock() const { return FOwnerLock; }
    void SetOwnerLock(std::recursive_mutex* m) { FOwnerLock = m; }

protected:
    virtual void Changed();

private:
    std::recursive_mutex* FOwnerLock = nullptr;
};

class TFont : public TGraphicsObject {
    VEL_CLASS(TFont, TGraphicsObject)
public:
    TFont();
    ~TFont() override;
    void Assign(TPersistent* Source) override;

    HFONT Handle();
    void SetHandle(HFONT h);   // adopts a copy of the font's description

    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    Integer Height() const { return FHeight; }
    void SetHeight(Integer v);
    Integer Size() const;
    void SetSize(Integer v);
    TFontName Name() const { return FName; }
    void SetName(const TFontName& v);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles v);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch v);
    TFontCharset Charset() const { return FCharset; }
    void SetCharset(TFontCharset v);
    Integer Orientation() const { return FOrientation; }   // tenths of degrees
    void SetOrientation(Integer v);
    TFontQuality Quality() const { return FQuality; }
    void SetQuality(TFontQuality v);
    Integer PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(Integer v) { FPixelsPerInch = v > 0 ? v : 96; }

    static void Publish(TPublisher<TFont>& p);

private:
    void FreeHandle();
    LOGFONTW MakeLogFont() const;
    HFONT FHandle = nullptr;
    TColor FColor = clWindowText;
    Integer FHeight = -11;
    TFontName FName = L"Tahoma";
    TFontStyles FStyle;
    TFontPitch FPitch = fpDefault;
    TFontCharset FCharset = DEFAULT_CHARSET;
    Integer FOrientation = 0;
    TFontQuality FQuality = fqDefault;
    Integer FPixelsPerInch = 96;
};

class TPen : public TGraphicsObject {
    VEL_CLASS(TPen, TGraphicsObject)
public:
    TPen() = default;
    ~TPen() override;
    void Assign(TPersistent* Source) override;

    HPEN Handle();
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    Integer Width() const { return FWidth; }
    void SetWidth(Integer v);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle v);
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode v);

    static void Publish(TPublisher<TPen>& p);

private:
    void FreeHandle();
    HPEN FHandle = nullptr;
    TColor FColor = clBlack;
    Integer FWidth = 1;
    TPenStyle FStyle = psSolid;
    TPenMode FMode = pmCopy;
};

class TBrush : public TGraphicsObject {
    VEL_CLASS(TBrush, TGraphicsObject)
public:
    TBrush() = default;
    ~TBrush() override;
    void Assign(TPersistent* Source) override;

    HBRUSH Handle();
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle v);
    // A pattern bitmap (not owned); null for none.
    HBITMAP Bitmap() const { return FBitmap; }
    void SetBitmap(HBITMAP v);

    static void Publish(TPublisher<TBrush>& p);

private:
    void FreeHandle();
    HBRUSH FHandle = nullptr;
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
    HBITMAP FBitmap = nullptr;
};

// A canvas draws on a device context with its font, pen and brush. The
// canvas does not own the DC it is given; descendants that make their own
// override CreateHandle (and free it themselves).
class TCanvas : public TPersistent {
    VEL_CLASS(TCanvas, TPersistent)
public:
    TCanvas();
    ~TCanvas() override;

    HDC Handle();
    void SetHandle(HDC dc);
    bool HandleAllocated() const { return FHandle != nullptr; }

    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* v) { FFont->Assign(v); }
    TPen* Pen() const { return FPen.get(); }
    void SetPen(TPen* v) { FPen->Assign(v); }
    TBrush* Brush() const { return FBrush.get(); }
    void SetBrush(TBrush* v) { FBrush->Assign(v); }
    TCopyMode CopyMode() const { return FCopyMode; }
    void SetCopyMode(TCopyMode v) { FCopyMode = v; }
    TPoint PenPos();
    void SetPenPos(const TPoint& p) { MoveTo(p.X, p.Y); }
    TRect ClipRect();
    TColor Pixels(int x, int y);
    void SetPixels(int x, int y, TColor c);
    TFillStyle DefaultFillStyle() const { return fsBorder; }

    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Polyline(const std::vector<TPoint>& points);
    void Polygon(const std::vector<TPoint>& points);
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void RoundRect(int x1, int y1, int x2, int y2, int x3, int y3);
    void RoundRect(const TRect& r, int cx, int cy) { RoundRect(r.Left, r.Top, r.Right, r.Bottom, cx, cy); }
    void Ellipse(int x1, int y1, int x2, int y2);
    void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
    void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void FillRect(const TRect& r);
    void FrameRect(const TRect& r);
    void DrawFocusRect(const TRect& r);
    void FloodFill(int x, int y, TColor color, TFillStyle style);
    void TextOut(int x, int y, const String& text);
    void TextRect(const TRect& r, int x, int y, const String& text);
    // DrawText in r with the format's flags; with tfCalcRect r receives the
    // size the text needs.
    void TextRect(TRect& r, String& text, TTextFormat format = TTextFormat());
    TSize TextExtent(const String& text);
    int TextWidth(const String& text) { return TextExtent(text).cx; }
    int TextHeight(const String& text) { return TextExtent(text).cy; }
    void CopyRect(const TRect& dest, TCanvas* canvas, const TRect& source);
    // Copies source from the bitmap, drawing pixels of `color` in the brush's
    // colour instead.
    void BrushCopy(const TRect& dest, HBITMAP bitmap, const TRect& source, TColor color);

    // Drawing of the image classes: they implement Draw(TCanvas*, const TRect&).
    template <class G = TGraphic>
    void Draw(int x, int y, G* graphic)
    {
        if (!graphic || graphic->Empty()) return;
        Changing();
        graphic->Draw(this, Bounds(x, y, graphic->Width(), graphic->Height()));
        Changed();
    }
    template <class G = TGraphic>
    void StretchDraw(const TRect& r, G* graphic)
    {
        if (!graphic || graphic->Empty()) return;
        Changing();
        graphic->Draw(this, r);
        Changed();
    }

    void Lock();
    bool TryLock();
    void Unlock();
    int LockCount() const { return FLockCount; }
    // Deselects the canvas's objects so the next drawing selects them again.
    void Refresh();

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

    // Selects the current font, pen and brush into the DC (called by every
    // drawing operation; public for code that draws on Handle() directly).
    void RequireState();

protected:
    virtual void CreateHandle() {}
    virtual void Changing();
    virtual void Changed();
    void DeselectHandles();

private:
    HDC FHandle = nullptr;
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TPen> FPen;
    std::unique_ptr<TBrush> FBrush;
    TCopyMode FCopyMode = cmSrcCopy;
    bool FFontValid = false, FPenValid = false, FBrushValid = false;
    HGDIOBJ FOldFont = nullptr, FOldPen = nullptr, FOldBrush = nullptr;
    std::recursive_mutex FLock;
    int FLockCount = 0;
};

// Draws a 3D frame of the given width: top and left in topColor, bottom and
// right in bottomColor; rect shrinks by the frame.
void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width);
