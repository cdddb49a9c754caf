#include "platform/gfx/Canvas.h"

#include <cairo.h>

#include <algorithm>
#include <cstring>

#include "platform/base/Exceptions.h"

// ---------------------------------------------------------------------------
// TGraphicsObject
// ---------------------------------------------------------------------------

void TGraphicsObject::Changed()
{
    if (OnChange) OnChange(this);
}

UINT TextFormatToFlags(TTextFormat f)
{
    static const UINT map[] = {
        DT_BOTTOM, DT_CALCRECT, DT_CENTER, DT_EDITCONTROL, DT_END_ELLIPSIS, DT_PATH_ELLIPSIS,
        DT_EXPANDTABS, DT_EXTERNALLEADING, DT_LEFT, DT_MODIFYSTRING, DT_NOCLIP, DT_NOPREFIX,
        DT_RIGHT, DT_RTLREADING, DT_SINGLELINE, DT_TOP, DT_VCENTER, DT_WORDBREAK, DT_HIDEPREFIX,
        DT_NOFULLWIDTHCHARBREAK, DT_PREFIXONLY, DT_TABSTOP, DT_WORD_ELLIPSIS, 0,
    };
    UINT r = 0;
    for (int i = 0; i <= int(tfComposited); ++i)
        if (f.Contains(TTextFormats(i))) r |= map[i];
    return r;
}

// ---------------------------------------------------------------------------
// TFont
// ---------------------------------------------------------------------------

TFont::TFont() = default;
TFont::~TFont() { FreeHandle(); }

void TFont::FreeHandle()
{
    if (FHandle) DeleteObject(FHandle);
    FHandle = nullptr;
}

void TFont::Assign(TPersistent* Source)
{
    if (auto* f = dynamic_cast<TFont*>(Source)) {
        if (f == this) return;
        FreeHandle();
        FColor = f->FColor;
        FHeight = f->FHeight;
        FName = f->FName;
        FStyle = f->FStyle;
        FPitch = f->FPitch;
        FCharset = f->FCharset;
        FOrientation = f->FOrientation;
        FQuality = f->FQuality;
        // The height carries over in pixels of this font's resolution.
        if (f->FPixelsPerInch != FPixelsPerInch && FHeight < 0)
            FHeight = -MulDiv(f->Size(), FPixelsPerInch, 72);
        Changed();
        return;
    }
    TGraphicsObject::Assign(Source);
}

LOGFONTW TFont::MakeLogFont() const
{
    LOGFONTW lf;
    lf.lfHeight = FHeight;
    lf.lfWeight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = FStyle.Contains(fsItalic);
    lf.lfUnderline = FStyle.Contains(fsUnderline);
    lf.lfStrikeOut = FStyle.Contains(fsStrikeOut);
    lf.lfEscapement = lf.lfOrientation = FOrientation;
    lf.lfCharSet = FCharset;
    lf.lfQuality = Byte(FQuality);
    lf.lfPitchAndFamily = FPitch == fpFixed ? FIXED_PITCH : FPitch == fpVariable ? VARIABLE_PITCH : DEFAULT_PITCH;
    size_t n = std::min<size_t>(FName.size(), LF_FACESIZE - 1);
    std::wmemcpy(lf.lfFaceName, FName.c_str(), n);
    lf.lfFaceName[n] = 0;
    return lf;
}

HFONT TFont::Handle()
{
    if (!FHandle) {
        LOGFONTW lf = MakeLogFont();
        FHandle = CreateFontIndirect(&lf);
    }
    return FHandle;
}

void TFont::SetHandle(HFONT h)
{
    LOGFONTW lf;
    if (!h || GetObject(h, sizeof lf, &lf) != int(sizeof lf)) return;
    FreeHandle();
    FHeight = lf.lfHeight;
    FName = lf.lfFaceName;
    TFontStyles s;
    if (lf.lfWeight >= FW_BOLD) s.Include(fsBold);
    if (lf.lfItalic) s.Include(fsItalic);
    if (lf.lfUnderline) s.Include(fsUnderline);
    if (lf.lfStrikeOut) s.Include(fsStrikeOut);
    FStyle = s;
    FCharset = lf.lfCharSet;
    FOrientation = lf.lfEscapement;
    Byte pitch = lf.lfPitchAndFamily & 3;
    FPitch = pitch == FIXED_PITCH ? fpFixed : pitch == VARIABLE_PITCH ? fpVariable : fpDefault;
    FQuality = TFontQuality(std::min<int>(lf.lfQuality, fqClearType));
    Changed();
}

#define VEL_FONT_SETTER(Name, Field, Type)   \
    void TFont::Set##Name(Type v)            \
    {                                        \
        if (Field == v) return;              \
        FreeHandle();                        \
        Field = v;                           \
        Changed();                           \
    }

void TFont::SetColor(TColor v)
{
    if (FColor == v) return;
    FColor = v;   // the colour is not part of the font object
    Changed();
}
VEL_FONT_SETTER(Height, FHeight, Integer)
VEL_FONT_SETTER(Name, FName, const TFontName&)
VEL_FONT_SETTER(Style, FStyle, TFontStyles)
VEL_FONT_SETTER(Pitch, FPitch, TFontPitch)
VEL_FONT_SETTER(Charset, FCharset, TFontCharset)
VEL_FONT_SETTER(Orientation, FOrientation, Integer)
VEL_FONT_SETTER(Quality, FQuality, TFontQuality)
#undef VEL_FONT_SETTER

Integer TFont::Size() const { return -MulDiv(FHeight, 72, FPixelsPerInch); }
void TFont::SetSize(Integer v) { SetHeight(-MulDiv(v, FPixelsPerInch, 72)); }

void TFont::Publish(TPublisher<TFont>& p)
{
    p.Integer(L"Charset", &TFont::Charset, &TFont::SetCharset).Default = DEFAULT_CHARSET;
    p.IntegerIdent(L"Color", L"TColor", &TFont::Color, &TFont::SetColor).Default = clWindowText;
    p.Integer(L"Height", &TFont::Height, &TFont::SetHeight);
    p.Str(L"Name", &TFont::Name, &TFont::SetName);
    p.Integer(L"Orientation", &TFont::Orientation, &TFont::SetOrientation).Default = 0;
    p.Enum(L"Pitch", &TFont::Pitch, &TFont::SetPitch, {L"fpDefault", L"fpVariable", L"fpFixed"}).Default = fpDefault;
    p.Integer(L"Size", &TFont::Size, &TFont::SetSize).Stored = false;
    p.Set(L"Style", &TFont::Style, &TFont::SetStyle, {L"fsBold", L"fsItalic", L"fsUnderline", L"fsStrikeOut"}).Default = 0;
}

// ---------------------------------------------------------------------------
// TPen
// ---------------------------------------------------------------------------

TPen::~TPen() { FreeHandle(); }

void TPen::FreeHandle()
{
    if (FHandle) DeleteObject(FHandle);
    FHandle = nullptr;
}

void TPen::Assign(TPersistent* Source)
{
    if (auto* p = dynamic_cast<TPen*>(Source)) {
        if (p == this) return;
        FreeHandle();
        FColor = p->FColor;
        FWidth = p->FWidth;
        FStyle = p->FStyle;
        FMode = p->FMode;
        Changed();
        return;
    }
    TGraphicsObject::Assign(Source);
}

HPEN TPen::Handle()
{
    if (!FHandle) {
        static const int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL,
                                     PS_INSIDEFRAME, PS_SOLID, PS_ALTERNATE};
        FHandle = CreatePen(styles[FStyle], FWidth, COLORREF(ColorToRGB(FColor)) & 0xFFFFFF);
    }
    return FHandle;
}

void TPen::SetColor(TColor v)
{
    if (FColor == v) return;
    FreeHandle();
    FColor = v;
    Changed();
}
void TPen::SetWidth(Integer v)
{
    if (v < 0 || FWidth == v) return;
    FreeHandle();
    FWidth = v;
    Changed();
}
void TPen::SetStyle(TPenStyle v)
{
    if (FStyle == v) return;
    FreeHandle();
    FStyle = v;
    Changed();
}
void TPen::SetMode(TPenMode v)
{
    if (FMode == v) return;
    FMode = v;
    Changed();
}

void TPen::Publish(TPublisher<TPen>& p)
{
    p.IntegerIdent(L"Color", L"TColor", &TPen::Color, &TPen::SetColor).Default = clBlack;
    p.Enum(L"Mode", &TPen::Mode, &TPen::SetMode,
           {L"pmBlack", L"pmWhite", L"pmNop", L"pmNot", L"pmCopy", L"pmNotCopy", L"pmMergePenNot",
            L"pmMaskPenNot", L"pmMergeNotPen", L"pmMaskNotPen", L"pmMerge", L"pmNotMerge", L"pmMask",
            L"pmNotMask", L"pmXor", L"pmNotXor"}).Default = pmCopy;
    p.Enum(L"Style", &TPen::Style, &TPen::SetStyle,
           {L"psSolid", L"psDash", L"psDot", L"psDashDot", L"psDashDotDot", L"psClear", L"psInsideFrame",
            L"psUserStyle", L"psAlternate"}).Default = psSolid;
    p.Integer(L"Width", &TPen::Width, &TPen::SetWidth).Default = 1;
}

// ---------------------------------------------------------------------------
// TBrush
// ---------------------------------------------------------------------------

TBrush::~TBrush() { FreeHandle(); }

void TBrush::FreeHandle()
{
    if (FHandle) DeleteObject(FHandle);
    FHandle = nullptr;
}

void TBrush::Assign(TPersistent* Source)
{
    if (auto* b = dynamic_cast<TBrush*>(Source)) {
        if (b == this) return;
        FreeHandle();
        FColor = b->FColor;
        FStyle = b->FStyle;
        FBitmap = b->FBitmap;
        Changed();
        return;
    }
    TGraphicsObject::Assign(Source);
}

HBRUSH TBrush::Handle()
{
    if (!FHandle) {
        COLORREF c = COLORREF(ColorToRGB(FColor)) & 0xFFFFFF;
        if (FBitmap) FHandle = CreatePatternBrush(FBitmap);
        if (!FHandle) {
            switch (FStyle) {
            case bsSolid: FHandle = CreateSolidBrush(c); break;
            case bsClear: {
                LOGBRUSH lb;
                lb.lbStyle = BS_NULL;
                FHandle = CreateBrushIndirect(&lb);
                break;
            }
            default: FHandle = CreateHatchBrush(int(FStyle) - int(bsHorizontal) + HS_HORIZONTAL, c); break;
            }
        }
    }
    return FHandle;
}

void TBrush::SetColor(TColor v)
{
    if (FColor == v) return;
    FreeHandle();
    FColor = v;
    if (FStyle == bsClear) FStyle = bsSolid;   // giving a clear brush a colour makes it solid
    Changed();
}
void TBrush::SetStyle(TBrushStyle v)
{
    if (FStyle == v) return;
    FreeHandle();
    FStyle = v;
    Changed();
}
void TBrush::SetBitmap(HBITMAP v)
{
    FreeHandle();
    FBitmap = v;
    Changed();
}

void TBrush::Publish(TPublisher<TBrush>& p)
{
    p.IntegerIdent(L"Color", L"TColor", &TBrush::Color, &TBrush::SetColor).Default = clWhite;
    p.Enum(L"Style", &TBrush::Style, &TBrush::SetStyle,
           {L"bsSolid", L"bsClear", L"bsHorizontal", L"bsVertical", L"bsFDiagonal", L"bsBDiagonal",
            L"bsCross", L"bsDiagCross"}).Default = bsSolid;
}

// ---------------------------------------------------------------------------
// TCanvas
// ---------------------------------------------------------------------------

TCanvas::TCanvas()
    : FFont(std::make_unique<TFont>()), FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>())
{
    FFont->OnChange = [this](TObject*) { FFontValid = false; };
    FPen->OnChange = [this](TObject*) { FPenValid = false; };
    FBrush->OnChange = [this](TObject*) { FBrushValid = false; };
}

TCanvas::~TCanvas() { DeselectHandles(); }

HDC TCanvas::Handle()
{
    if (!FHandle) CreateHandle();
    if (!FHandle) throw EInvalidOperation(L"Canvas does not allow drawing");
    return FHandle;
}

void TCanvas::SetHandle(HDC dc)
{
    if (dc == FHandle) return;
    DeselectHandles();
    FHandle = dc;
    FFontValid = FPenValid = FBrushValid = false;
}

void TCanvas::DeselectHandles()
{
    if (FHandle) {
        if (FOldFont) SelectObject(FHandle, FOldFont);
        if (FOldPen) SelectObject(FHandle, FOldPen);
        if (FOldBrush) SelectObject(FHandle, FOldBrush);
    }
    FOldFont = FOldPen = FOldBrush = nullptr;
    FFontValid = FPenValid = FBrushValid = false;
}

void TCanvas::RequireState()
{
    HDC dc = Handle();
    if (!FFontValid) {
        HGDIOBJ old = SelectObject(dc, FFont->Handle());
        if (!FOldFont) FOldFont = old;
        FFontValid = true;
    }
    if (!FPenValid) {
        HGDIOBJ old = SelectObject(dc, FPen->Handle());
        if (!FOldPen) FOldPen = old;
        FPenValid = true;
    }
    if (!FBrushValid) {
        HGDIOBJ old = SelectObject(dc, FBrush->Handle());
        if (!FOldBrush) FOldBrush = old;
        FBrushValid = true;
    }
    static const int rops[] = {R2_BLACK, R2_WHITE, R2_NOP, R2_NOT, R2_COPYPEN, R2_NOTCOPYPEN,
                               R2_MERGEPENNOT, R2_MASKPENNOT, R2_MERGENOTPEN, R2_MASKNOTPEN,
                               R2_MERGEPEN, R2_NOTMERGEPEN, R2_MASKPEN, R2_NOTMASKPEN, R2_XORPEN,
                               R2_NOTXORPEN};
    SetROP2(dc, rops[FPen->Mode()]);
    SetTextColor(dc, COLORREF(ColorToRGB(FFont->Color())) & 0xFFFFFF);
    SetBkColor(dc, COLORREF(ColorToRGB(FBrush->Color())) & 0xFFFFFF);
    SetBkMode(dc, FBrush->Style() == bsSolid ? OPAQUE : TRANSPARENT);
}

void TCanvas::Refresh() { DeselectHandles(); }

void TCanvas::Changing()
{
    if (OnChanging) OnChanging(this);
}
void TCanvas::Changed()
{
    if (OnChange) OnChange(this);
}

void TCanvas::Lock()
{
    FLock.lock();
    ++FLockCount;
}
bool TCanvas::TryLock()
{
    if (!FLock.try_lock()) return false;
    ++FLockCount;
    return true;
}
void TCanvas::Unlock()
{
    if (FLockCount <= 0) return;
    --FLockCount;
    FLock.unlock();
}

TPoint TCanvas::PenPos()
{
    TPoint p;
    GetCurrentPositionEx(Handle(), &p);
    return p;
}

TRect TCanvas::ClipRect()
{
    TRect r;
    GetClipBox(Handle(), &r);
    return r;
}

TColor TCanvas::Pixels(int x, int y)
{
    COLORREF c = GetPixel(Handle(), x, y);
    return c == CLR_INVALID ? TColor(-1) : TColor(c);
}

void TCanvas::SetPixels(int x, int y, TColor c)
{
    Changing();
    RequireState();
    SetPixel(FHandle, x, y, COLORREF(ColorToRGB(c)) & 0xFFFFFF);
    Changed();
}

void TCanvas::MoveTo(int x, int y) { MoveToEx(Handle(), x, y, nullptr); }

void TCanvas::LineTo(int x, int y)
{
    Changing();
    RequireState();
    ::LineTo(FHandle, x, y);
    Changed();
}

void TCanvas::Polyline(const std::vector<TPoint>& points)
{
    Changing();
    RequireState();
    ::Polyline(FHandle, points.data(), int(points.size()));
    Changed();
}

void TCanvas::Polygon(const std::vector<TPoint>& points)
{
    Changing();
    RequireState();
    ::Polygon(FHandle, points.data(), int(points.size()));
    Changed();
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    Changing();
    RequireState();
    ::Rectangle(FHandle, x1, y1, x2, y2);
    Changed();
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3)
{
    Changing();
    RequireState();
    ::RoundRect(FHandle, x1, y1, x2, y2, x3, y3);
    Changed();
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    Changing();
    RequireState();
    ::Ellipse(FHandle, x1, y1, x2, y2);
    Changed();
}

void TCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    Changing();
    RequireState();
    ::Arc(FHandle, x1, y1, x2, y2, x3, y3, x4, y4);
    Changed();
}

void TCanvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    Changing();
    RequireState();
    ::Pie(FHandle, x1, y1, x2, y2, x3, y3, x4, y4);
    Changed();
}

void TCanvas::Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    Changing();
    RequireState();
    ::Chord(FHandle, x1, y1, x2, y2, x3, y3, x4, y4);
    Changed();
}

void TCanvas::FillRect(const TRect& r)
{
    Changing();
    RequireState();
    ::FillRect(FHandle, &r, FBrush->Handle());
    Changed();
}

void TCanvas::FrameRect(const TRect& r)
{
    Changing();
    RequireState();
    ::FrameRect(FHandle, &r, FBrush->Handle());
    Changed();
}

void TCanvas::DrawFocusRect(const TRect& r)
{
    Changing();
    RequireState();
    ::DrawFocusRect(FHandle, &r);
    Changed();
}

void TCanvas::FloodFill(int x, int y, TColor color, TFillStyle style)
{
    Changing();
    RequireState();
    ExtFloodFill(FHandle, x, y, COLORREF(ColorToRGB(color)) & 0xFFFFFF,
                 style == fsSurface ? FLOODFILLSURFACE : FLOODFILLBORDER);
    Changed();
}

void TCanvas::TextOut(int x, int y, const String& text)
{
    Changing();
    RequireState();
    ::TextOut(FHandle, x, y, text.c_str(), int(text.size()));
    MoveTo(x + TextWidth(text), y);
    Changed();
}

void TCanvas::TextRect(const TRect& r, int x, int y, const String& text)
{
    Changing();
    RequireState();
    UINT opts = ETO_CLIPPED;
    if (FBrush->Style() != bsClear) opts |= ETO_OPAQUE;
    ::ExtTextOut(FHandle, x, y, opts, &r, text.c_str(), UINT(text.size()), nullptr);
    Changed();
}

void TCanvas::TextRect(TRect& r, String& text, TTextFormat format)
{
    Changing();
    RequireState();
    UINT flags = TextFormatToFlags(format);
    if (flags & DT_MODIFYSTRING) {
        std::vector<wchar_t> buf(text.begin(), text.end());
        buf.resize(text.size() + 5, 0);
        ::DrawTextEx(FHandle, buf.data(), int(text.size()), &r, flags, nullptr);
        text = buf.data();
    } else {
        DrawTextStr(FHandle, text, &r, flags);
    }
    Changed();
}

TSize TCanvas::TextExtent(const String& text)
{
    RequireState();
    TSize s;
    GetTextExtentPoint32(FHandle, text.c_str(), int(text.size()), &s);
    return s;
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* canvas, const TRect& source)
{
    if (!canvas) return;
    Changing();
    RequireState();
    canvas->RequireState();
    StretchBlt(FHandle, dest.Left, dest.Top, dest.Width(), dest.Height(), canvas->Handle(), source.Left,
               source.Top, source.Width(), source.Height(), FCopyMode);
    Changed();
}

void TCanvas::BrushCopy(const TRect& dest, HBITMAP bitmap, const TRect& source, TColor color)
{
    if (!bitmap) return;
    Changing();
    RequireState();
    cairo_surface_t* s = GdiBitmapSurface(bitmap);
    int w = source.Width(), h = source.Height();
    if (!s || w <= 0 || h <= 0) return;
    // A copy of the source area with the key colour painted in the brush colour.
    HBITMAP tmp = CreateCompatibleBitmap(nullptr, w, h);
    cairo_surface_t* t = GdiBitmapSurface(tmp);
    cairo_surface_flush(s);
    const Byte* sd = cairo_image_surface_get_data(s);
    int ss = cairo_image_surface_get_stride(s), sw = cairo_image_surface_get_width(s), sh = cairo_image_surface_get_height(s);
    Byte* td = cairo_image_surface_get_data(t);
    int ts = cairo_image_surface_get_stride(t);
    uint32_t key = uint32_t(ColorToRGB(color)) & 0xFFFFFF;
    key = ((key & 0xFF) << 16) | (key & 0xFF00) | ((key >> 16) & 0xFF);
    COLORREF bc = COLORREF(ColorToRGB(FBrush->Color())) & 0xFFFFFF;
    uint32_t fill = 0xFF000000u | (uint32_t(GetRValue(bc)) << 16) | (uint32_t(GetGValue(bc)) << 8) | GetBValue(bc);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int sx = source.Left + x, sy = source.Top + y;
            uint32_t p = 0xFF000000u;
            if (sx >= 0 && sy >= 0 && sx < sw && sy < sh)
                p = reinterpret_cast<const uint32_t*>(sd + size_t(sy) * ss)[sx] | 0xFF000000u;
            if ((p & 0xFFFFFF) == key) p = fill;
            reinterpret_cast<uint32_t*>(td + size_t(y) * ts)[x] = p;
        }
    GdiBitmapChanged(tmp);
    HDC mem = CreateCompatibleDC(nullptr);
    SelectObject(mem, tmp);
    StretchBlt(FHandle, dest.Left, dest.Top, dest.Width(), dest.Height(), mem, 0, 0, w, h, SRCCOPY);
    DeleteDC(mem);
    DeleteObject(tmp);
    Changed();
}

void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width)
{
    if (!canvas) return;
    TPen* pen = canvas->Pen();
    pen->SetWidth(1);
    --rect.Bottom;
    --rect.Right;
    while (width > 0) {
        --width;
        TPoint tl{rect.Left, rect.Top}, tr{rect.Right, rect.Top}, bl{rect.Left, rect.Bottom},
            br{rect.Right, rect.Bottom};
        pen->SetColor(topColor);
        canvas->Polyline({bl, tl, tr});
        pen->SetColor(bottomColor);
        --bl.X;
        canvas->Polyline({tr, br, bl});
        InflateRect(rect, -1, -1);
    }
    ++rect.Bottom;
    ++rect.Right;
}
