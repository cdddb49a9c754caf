// GDI objects, stock objects, device contexts and their state, map modes,
// device capabilities, recording and capture.
#include <cairo.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <unordered_set>

#include "platform/gfx/GdiInternal.h"

std::function<HWND(HDC)> GdiWindowFromDC;

namespace {

std::mutex gRegistryMutex;
std::unordered_set<const void*>& Registry()
{
    static auto* s = new std::unordered_set<const void*>();   // outlives every static object
    return *s;
}

void Register(const void* p)
{
    std::lock_guard<std::mutex> lock(gRegistryMutex);
    Registry().insert(p);
}
void Unregister(const void* p)
{
    std::lock_guard<std::mutex> lock(gRegistryMutex);
    Registry().erase(p);
}
bool IsRegistered(const void* p)
{
    if (!p) return false;
    std::lock_guard<std::mutex> lock(gRegistryMutex);
    return Registry().count(p) != 0;
}

template <class T>
T* NewObject()
{
    T* o = new T();
    Register(o);
    return o;
}

void DestroyObject(TGdiObject* o)
{
    Unregister(o);
    delete o;
}

std::atomic<int> gScreenW{1920}, gScreenH{1080};

}  // namespace

std::atomic<int> gScreenPpi{96};

void GdiSetScreenPixelsPerInch(int ppi) { gScreenPpi = ppi > 0 ? ppi : 96; }

int GdiScreenPixelsPerInch() { return gScreenPpi.load(); }

void GdiSetScreenSize(int w, int h)
{
    gScreenW = w;
    gScreenH = h;
}

// ---------------------------------------------------------------------------
// Object lifetime
// ---------------------------------------------------------------------------

void TGdiObject::Release()
{
    if (--FRefs <= 0) {
        FRefs = 0;
        if (FDeletePending) DestroyObject(this);
    }
}

bool TGdiObject::RequestDelete()
{
    if (FStock) return false;
    if (FRefs > 0) {
        FDeletePending = true;
        return true;
    }
    DestroyObject(this);
    return true;
}

TGdiBrush::~TGdiBrush()
{
    if (Pattern) cairo_surface_destroy(Pattern);
}

// ---------------------------------------------------------------------------
// Stock objects
// ---------------------------------------------------------------------------

struct TGdiStock {
    std::vector<std::unique_ptr<TGdiObject>> Objects;
    TGdiObject* ByIndex[20] = {};
    TGdiBrush* SysBrushes[SYS_COLOR_COUNT] = {};
    TGdiBitmap* MonoBitmap = nullptr;

    template <class T>
    T* Add(T* o)
    {
        o->FStock = true;
        Objects.emplace_back(o);
        Register(o);
        return o;
    }

    TGdiStock()
    {
        auto brush = [&](COLORREF c, UINT style) {
            auto* b = Add(new TGdiBrush());
            b->Color = c;
            b->Style = style;
            return b;
        };
        auto pen = [&](COLORREF c, DWORD style) {
            auto* p = Add(new TGdiPen());
            p->Color = c;
            p->Style = style;
            return p;
        };
        auto font = [&](const wchar_t* face, int height, int weight, Byte pitch) {
            auto* f = Add(new TGdiFont());
            wcsncpy(f->Log.lfFaceName, face, LF_FACESIZE - 1);
            f->Log.lfHeight = height;
            f->Log.lfWeight = weight;
            f->Log.lfPitchAndFamily = pitch;
            return f;
        };
        ByIndex[WHITE_BRUSH] = brush(RGB(255, 255, 255), BS_SOLID);
        ByIndex[LTGRAY_BRUSH] = brush(RGB(192, 192, 192), BS_SOLID);
        ByIndex[GRAY_BRUSH] = brush(RGB(128, 128, 128), BS_SOLID);
        ByIndex[DKGRAY_BRUSH] = brush(RGB(64, 64, 64), BS_SOLID);
        ByIndex[BLACK_BRUSH] = brush(RGB(0, 0, 0), BS_SOLID);
        ByIndex[NULL_BRUSH] = brush(0, BS_NULL);
        ByIndex[WHITE_PEN] = pen(RGB(255, 255, 255), PS_SOLID);
        ByIndex[BLACK_PEN] = pen(0, PS_SOLID);
        ByIndex[NULL_PEN] = pen(0, PS_NULL);
        ByIndex[OEM_FIXED_FONT] = font(L"Courier New", 12, FW_NORMAL, FIXED_PITCH | FF_MODERN);
        ByIndex[ANSI_FIXED_FONT] = font(L"Courier New", 13, FW_NORMAL, FIXED_PITCH | FF_MODERN);
        ByIndex[ANSI_VAR_FONT] = font(L"MS Sans Serif", 13, FW_NORMAL, VARIABLE_PITCH | FF_SWISS);
        ByIndex[SYSTEM_FONT] = font(L"System", 16, FW_BOLD, VARIABLE_PITCH | FF_SWISS);
        ByIndex[DEVICE_DEFAULT_FONT] = font(L"System", 16, FW_NORMAL, VARIABLE_PITCH | FF_SWISS);
        ByIndex[SYSTEM_FIXED_FONT] = font(L"Courier New", 16, FW_NORMAL, FIXED_PITCH | FF_MODERN);
        ByIndex[DEFAULT_GUI_FONT] = font(L"Tahoma", -11, FW_NORMAL, VARIABLE_PITCH | FF_SWISS);
        auto* dcb = brush(RGB(255, 255, 255), BS_SOLID);
        dcb->DCBrush = true;
        ByIndex[DC_BRUSH] = dcb;
        auto* dcp = pen(0, PS_SOLID);
        dcp->DCPen = true;
        ByIndex[DC_PEN] = dcp;
        for (int i = 0; i < SYS_COLOR_COUNT; ++i) {
            SysBrushes[i] = brush(GetSysColor(i), BS_SOLID);
            SysBrushes[i]->SysColorIndex = i;
        }
        MonoBitmap = Add(new TGdiBitmap());
        MonoBitmap->Surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
        MonoBitmap->BitsPerPixel = 1;
        uint32_t* px = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(MonoBitmap->Surface));
        *px = 0xFF000000u;
        cairo_surface_mark_dirty(MonoBitmap->Surface);
    }
};

static TGdiStock& Stock()
{
    static TGdiStock s;
    return s;
}

HGDIOBJ GetStockObject(int index)
{
    if (index < 0 || index >= 20) return nullptr;
    return Stock().ByIndex[index];
}

HBRUSH GetSysColorBrush(int index)
{
    if (index < 0 || index >= SYS_COLOR_COUNT) return nullptr;
    return Stock().SysBrushes[index];
}

HBITMAP GdiStockBitmap() { return Stock().MonoBitmap; }
HBITMAP GdiNewBitmap() { return NewObject<TGdiBitmap>(); }
HRGN GdiNewRegion() { return NewObject<TGdiRegion>(); }
bool GdiValidObject(const void* obj) { return IsRegistered(obj); }

// ---------------------------------------------------------------------------
// Pens, brushes, fonts
// ---------------------------------------------------------------------------

COLORREF GdiResolveColor(COLORREF c)
{
    if ((c & 0xFF000000u) == 0xFF000000u) return GetSysColor(int(c & 0xFF));
    return c & 0xFFFFFF;
}

HPEN CreatePen(int style, int width, COLORREF color)
{
    auto* p = NewObject<TGdiPen>();
    DWORD s = DWORD(style) & PS_STYLE_MASK;
    if (s > PS_ALTERNATE) s = PS_SOLID;
    // Styled cosmetic pens wider than one pixel draw solid.
    if (width > 1 && s != PS_NULL && s != PS_INSIDEFRAME) s = PS_SOLID;
    p->Style = s;
    p->Width = std::max(0, width);
    p->Color = GdiResolveColor(color);
    return p;
}

HPEN CreatePenIndirect(const LOGPEN* lp)
{
    if (!lp) return nullptr;
    return CreatePen(int(lp->lopnStyle), lp->lopnWidth.X, lp->lopnColor);
}

HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD styleCount,
                  const DWORD* styles)
{
    if (!brush) return nullptr;
    DWORD line = style & PS_STYLE_MASK;
    if (line == PS_USERSTYLE && (styleCount == 0 || !styles || styleCount > 16)) return nullptr;
    if ((style & PS_TYPE_MASK) == PS_COSMETIC && width != 1) return nullptr;
    auto* p = NewObject<TGdiPen>();
    p->Style = style;
    p->Width = int(width);
    p->Color = brush->lbStyle == BS_NULL ? 0 : GdiResolveColor(brush->lbColor);
    if (brush->lbStyle == BS_NULL) p->Style = (style & ~PS_STYLE_MASK) | PS_NULL;
    p->Extended = true;
    if (line == PS_USERSTYLE) p->UserStyle.assign(styles, styles + styleCount);
    return p;
}

HBRUSH CreateSolidBrush(COLORREF color)
{
    auto* b = NewObject<TGdiBrush>();
    b->Color = GdiResolveColor(color);
    return b;
}

HBRUSH CreateHatchBrush(int hatch, COLORREF color)
{
    if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) return nullptr;
    auto* b = NewObject<TGdiBrush>();
    b->Style = BS_HATCHED;
    b->Hatch = hatch;
    b->Color = GdiResolveColor(color);
    return b;
}

HBRUSH CreatePatternBrush(HBITMAP bmp)
{
    if (!IsRegistered(bmp) || !bmp->Surface) return nullptr;
    bmp->BitsToSurface();
    int w = bmp->Width(), h = bmp->Height();
    if (w <= 0 || h <= 0) return nullptr;
    auto* b = NewObject<TGdiBrush>();
    b->Style = BS_PATTERN;
    b->Pattern = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(b->Pattern);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, bmp->Surface, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(b->Pattern);
    b->Monochrome = bmp->BitsPerPixel == 1;
    return b;
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* lb)
{
    if (!lb) return nullptr;
    switch (lb->lbStyle) {
    case BS_SOLID: return CreateSolidBrush(lb->lbColor);
    case BS_NULL: {
        auto* b = NewObject<TGdiBrush>();
        b->Style = BS_NULL;
        return b;
    }
    case BS_HATCHED: return CreateHatchBrush(int(lb->lbHatch), lb->lbColor);
    case BS_PATTERN: return CreatePatternBrush(reinterpret_cast<HBITMAP>(lb->lbHatch));
    default: return nullptr;
    }
}

HFONT CreateFontIndirect(const LOGFONTW* lf)
{
    if (!lf) return nullptr;
    auto* f = NewObject<TGdiFont>();
    f->Log = *lf;
    f->Log.lfFaceName[LF_FACESIZE - 1] = 0;
    return f;
}
HFONT CreateFontIndirectW(const LOGFONTW* lf) { return CreateFontIndirect(lf); }

HFONT CreateFont(int height, int width, int escapement, int orientation, int weight,
                 DWORD italic, DWORD underline, DWORD strikeOut, DWORD charSet,
                 DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                 DWORD pitchAndFamily, LPCWSTR face)
{
    LOGFONTW lf;
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfOrientation = orientation;
    lf.lfWeight = weight;
    lf.lfItalic = Byte(italic != 0);
    lf.lfUnderline = Byte(underline != 0);
    lf.lfStrikeOut = Byte(strikeOut != 0);
    lf.lfCharSet = Byte(charSet);
    lf.lfOutPrecision = Byte(outPrecision);
    lf.lfClipPrecision = Byte(clipPrecision);
    lf.lfQuality = Byte(quality);
    lf.lfPitchAndFamily = Byte(pitchAndFamily);
    if (face) wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return CreateFontIndirect(&lf);
}

BOOL DeleteObject(HGDIOBJ obj)
{
    if (!IsRegistered(obj)) return 0;
    if (obj->IsStock()) return 1;   // deleting a stock object is harmless
    return obj->RequestDelete() ? 1 : 0;
}

DWORD GetObjectType(HGDIOBJ obj)
{
    if (!IsRegistered(obj)) return 0;
    return obj->ObjectType();
}

int GetObject(HGDIOBJ obj, int size, void* buffer)
{
    if (!IsRegistered(obj)) return 0;
    switch (obj->ObjectType()) {
    case OBJ_PEN: {
        auto* p = static_cast<TGdiPen*>(obj);
        if (p->Extended) {
            if (!buffer) return int(sizeof(EXTLOGPEN));
            if (size < int(sizeof(EXTLOGPEN))) return 0;
            EXTLOGPEN e;
            e.elpPenStyle = p->Style;
            e.elpWidth = DWORD(p->Width);
            e.elpColor = p->Color;
            e.elpNumEntries = DWORD(p->UserStyle.size());
            std::memcpy(buffer, &e, sizeof e);
            return int(sizeof e);
        }
        if (!buffer) return int(sizeof(LOGPEN));
        if (size < int(sizeof(LOGPEN))) return 0;
        LOGPEN lp;
        lp.lopnStyle = p->Style;
        lp.lopnWidth = {p->Width, 0};
        lp.lopnColor = p->Color;
        std::memcpy(buffer, &lp, sizeof lp);
        return int(sizeof lp);
    }
    case OBJ_BRUSH: {
        auto* b = static_cast<TGdiBrush*>(obj);
        if (!buffer) return int(sizeof(LOGBRUSH));
        if (size < int(sizeof(LOGBRUSH))) return 0;
        LOGBRUSH lb;
        lb.lbStyle = b->Style;
        lb.lbColor = b->SysColorIndex >= 0 ? GetSysColor(b->SysColorIndex) : b->Color;
        lb.lbHatch = uintptr_t(b->Hatch);
        std::memcpy(buffer, &lb, sizeof lb);
        return int(sizeof lb);
    }
    case OBJ_FONT: {
        auto* f = static_cast<TGdiFont*>(obj);
        if (!buffer) return int(sizeof(LOGFONTW));
        int n = std::min<int>(size, sizeof(LOGFONTW));
        if (n <= 0) return 0;
        std::memcpy(buffer, &f->Log, size_t(n));
        return n;
    }
    case OBJ_BITMAP: {
        auto* b = static_cast<TGdiBitmap*>(obj);
        BITMAP bm;
        bm.bmWidth = b->Width();
        bm.bmHeight = b->Height();
        bm.bmBitsPixel = Word(b->BitsPerPixel);
        bm.bmPlanes = 1;
        bm.bmWidthBytes = ((bm.bmWidth * b->BitsPerPixel + 15) / 16) * 2;
        if (b->IsDIB) {
            bm.bmWidthBytes = b->DIBStride();
            bm.bmBits = b->Bits ? b->Bits : cairo_image_surface_get_data(b->Surface);
        }
        if (!buffer) return b->IsDIB ? int(sizeof(DIBSECTION)) : int(sizeof(BITMAP));
        if (b->IsDIB && size >= int(sizeof(DIBSECTION))) {
            DIBSECTION ds;
            ds.dsBm = bm;
            ds.dsBmih.biWidth = bm.bmWidth;
            ds.dsBmih.biHeight = b->TopDown ? -bm.bmHeight : bm.bmHeight;
            ds.dsBmih.biBitCount = Word(b->BitsPerPixel);
            ds.dsBmih.biSizeImage = DWORD(bm.bmWidthBytes) * DWORD(bm.bmHeight);
            ds.dsBmih.biClrUsed = DWORD(b->Palette.size());
            std::memcpy(buffer, &ds, sizeof ds);
            return int(sizeof ds);
        }
        if (size < int(sizeof(BITMAP))) return 0;
        std::memcpy(buffer, &bm, sizeof bm);
        return int(sizeof bm);
    }
    case OBJ_REGION: return 0;
    default: return 0;
    }
}
int GetObjectW(HGDIOBJ obj, int size, void* buffer) { return GetObject(obj, size, buffer); }

// ---------------------------------------------------------------------------
// Device contexts
// ---------------------------------------------------------------------------

TDeviceContext::TDeviceContext(TKind kind) : Kind(kind) {}

TDeviceContext::~TDeviceContext()
{
    DropCairo();
    for (auto& s : Saved) ReleaseState(s);
    ReleaseState(S);
    if (Bitmap) {
        Bitmap->SelectedInto = nullptr;
        Bitmap->Release();
    }
}

void TDeviceContext::SelectInitial()
{
    S.Pen = static_cast<HPEN>(GetStockObject(BLACK_PEN));
    S.Brush = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    S.Font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    RetainState(S);
}

void TDeviceContext::RetainState(const TDCState& s)
{
    if (s.Pen) s.Pen->AddRef();
    if (s.Brush) s.Brush->AddRef();
    if (s.Font) s.Font->AddRef();
}

void TDeviceContext::ReleaseState(TDCState& s)
{
    if (s.Pen) s.Pen->Release();
    if (s.Brush) s.Brush->Release();
    if (s.Font) s.Font->Release();
    s.Pen = nullptr;
    s.Brush = nullptr;
    s.Font = nullptr;
}

cairo_surface_t* TDeviceContext::Target() const
{
    switch (Kind) {
    case dkMemory: return Bitmap ? Bitmap->Surface : nullptr;
    case dkSurface:
    case dkPrinter: return Surface;
    default: return nullptr;
    }
}

TRect TDeviceContext::TargetBounds() const
{
    if (Kind == dkPrinter) return {0, 0, PageSize.cx, PageSize.cy};
    cairo_surface_t* t = Target();
    if (!t) return {};
    return {0, 0, cairo_image_surface_get_width(t), cairo_image_surface_get_height(t)};
}

const TRegionData& TDeviceContext::EffectiveClip()
{
    if (FClipValid) return FClip;
    TRect b = TargetBounds();
    if (Kind == dkSurface) IntersectRect(b, b, BaseClip);
    FClip.SetRect(b);
    if (S.Clip) {
        TRegionData c = *S.Clip;
        c.Offset(Origin.X, Origin.Y);
        FClip.Intersect(c);
    }
    FClipValid = true;
    return FClip;
}

TRect TDeviceContext::LtoSRect(const TRect& r) const
{
    TPoint a = LtoS(r.Left, r.Top), b = LtoS(r.Right, r.Bottom);
    return {std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y)};
}

TRect TDeviceContext::StoLRect(const TRect& r) const
{
    // Corner for corner: with y pointing up the logical top is above the bottom.
    double x0 = DtoLXf(r.Left - Origin.X), y0 = DtoLYf(r.Top - Origin.Y);
    double x1 = DtoLXf(r.Right - Origin.X), y1 = DtoLYf(r.Bottom - Origin.Y);
    return {int(std::lround(x0)), int(std::lround(y0)), int(std::lround(x1)), int(std::lround(y1))};
}

bool TDeviceContext::IsIdentityMapping() const
{
    return S.VpExt.cx == S.WinExt.cx && S.VpExt.cy == S.WinExt.cy;
}

COLORREF TDeviceContext::PenColor() const
{
    if (!S.Pen) return 0;
    return S.Pen->DCPen ? S.DCPenColor : S.Pen->Color;
}

COLORREF TDeviceContext::BrushColor(HBRUSH b) const
{
    if (!b) return 0;
    if (b->DCBrush) return S.DCBrushColor;
    if (b->SysColorIndex >= 0) return GetSysColor(b->SysColorIndex);
    return b->Color;
}

cairo_t* TDeviceContext::Cairo()
{
    cairo_surface_t* t = Target();
    if (FCr && FCrTarget == t) return FCr;
    DropCairo();
    if (!t) return nullptr;
    FCr = cairo_create(t);
    FCrTarget = t;
    if (IsVector()) cairo_scale(FCr, VectorScale, VectorScale);
    return FCr;
}

void TDeviceContext::DropCairo()
{
    if (FCr) cairo_destroy(FCr);
    FCr = nullptr;
    FCrTarget = nullptr;
}

void TDeviceContext::ClipCairo(cairo_t* cr)
{
    const TRegionData& c = EffectiveClip();
    cairo_new_path(cr);
    for (const TRect& r : c.Rects()) cairo_rectangle(cr, r.Left, r.Top, r.Width(), r.Height());
    if (c.IsEmpty()) cairo_rectangle(cr, 0, 0, 0, 0);
    cairo_clip(cr);
}

void TDeviceContext::Record(TGdiRecord rec)
{
    if (!Recording) return;
    rec.Page = Page;
    Records.push_back(std::move(rec));
}

bool GdiValidDC(HDC dc) { return IsRegistered(dc); }

static HDC NewDC(TDeviceContext::TKind kind)
{
    auto* dc = new TDeviceContext(kind);
    dc->SelectInitial();
    Register(dc);
    return dc;
}

HDC CreateCompatibleDC(HDC)
{
    HDC dc = NewDC(TDeviceContext::dkMemory);
    dc->Bitmap = GdiStockBitmap();
    dc->Bitmap->AddRef();
    return dc;
}

HDC CreateSurfaceDC(cairo_surface_t* surface, TPoint origin, const TRect& clipInSurface)
{
    HDC dc = NewDC(TDeviceContext::dkSurface);
    SetSurfaceDCTarget(dc, surface, origin, clipInSurface);
    return dc;
}

void SetSurfaceDCTarget(HDC dc, cairo_surface_t* surface, TPoint origin, const TRect& clipInSurface)
{
    if (!GdiValidDC(dc) || dc->Kind != TDeviceContext::dkSurface) return;
    dc->DropCairo();
    dc->Surface = surface;
    dc->Origin = origin;
    dc->BaseClip = clipInSurface;
    dc->ClipChanged();
}

HDC CreateScreenIC() { return NewDC(TDeviceContext::dkInfo); }

HDC GdiCreatePrinterDC(cairo_surface_t* pdf, TSize pageSize, int dpi, double scale)
{
    HDC dc = NewDC(TDeviceContext::dkPrinter);
    dc->Surface = pdf;
    dc->PageSize = pageSize;
    dc->Dpi = dpi;
    dc->VectorScale = scale;
    dc->BaseClip = {0, 0, pageSize.cx, pageSize.cy};
    return dc;
}

BOOL DeleteDC(HDC dc)
{
    if (!GdiValidDC(dc)) return 0;
    Unregister(dc);
    delete dc;
    return 1;
}

HWND WindowFromDC(HDC dc)
{
    if (!GdiValidDC(dc)) return nullptr;
    if (dc->Window) return dc->Window;
    if (GdiWindowFromDC) return GdiWindowFromDC(dc);
    return nullptr;
}

void GdiSetDCWindow(HDC dc, HWND wnd)
{
    if (GdiValidDC(dc)) dc->Window = wnd;
}
HWND GdiDCWindow(HDC dc) { return GdiValidDC(dc) ? dc->Window : nullptr; }

TPoint GdiDeviceOrigin(HDC dc) { return dc ? dc->Origin : TPoint{}; }
cairo_surface_t* GdiTargetSurface(HDC dc) { return dc ? dc->Target() : nullptr; }
bool GdiIsPrinterDC(HDC dc) { return dc && dc->Kind == TDeviceContext::dkPrinter; }

cairo_t* GdiCairo(HDC dc)
{
    if (!dc) return nullptr;
    cairo_surface_t* t = dc->Target();
    cairo_t* cr;
    if (!t) {
        cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
        cr = cairo_create(scratch);
        cairo_surface_destroy(scratch);
        return cr;
    }
    if (dc->Kind == TDeviceContext::dkMemory && dc->Bitmap) dc->Bitmap->BitsToSurface();
    cairo_surface_flush(t);
    cr = cairo_create(t);
    if (dc->IsVector()) cairo_scale(cr, dc->VectorScale, dc->VectorScale);
    dc->ClipCairo(cr);
    cairo_translate(cr, dc->Origin.X + dc->S.VpOrg.X, dc->Origin.Y + dc->S.VpOrg.Y);
    cairo_scale(cr, dc->ScaleX(), dc->ScaleY());
    cairo_translate(cr, -dc->S.WinOrg.X, -dc->S.WinOrg.Y);
    return cr;
}

void GdiReleaseCairo(HDC dc, cairo_t* cr)
{
    if (!cr) return;
    cairo_surface_t* t = cairo_get_target(cr);
    cairo_surface_flush(t);
    cairo_destroy(cr);
    if (dc && dc->Kind == TDeviceContext::dkMemory && dc->Bitmap) dc->Bitmap->SurfaceToBits();
}

// ---------------------------------------------------------------------------
// Target guards
// ---------------------------------------------------------------------------

TTargetGuard::TTargetGuard(HDC dc)
{
    if (dc && dc->Kind == TDeviceContext::dkMemory && dc->Bitmap && dc->Bitmap->Bits) {
        FBmp = dc->Bitmap;
        FBmp->BitsToSurface();
    }
}

TTargetGuard::~TTargetGuard()
{
    if (FBmp) FBmp->SurfaceToBits();
}

TSourceGuard::TSourceGuard(HDC dc)
{
    if (dc && dc->Kind == TDeviceContext::dkMemory && dc->Bitmap && dc->Bitmap->Bits)
        dc->Bitmap->BitsToSurface();
}

// ---------------------------------------------------------------------------
// State
// ---------------------------------------------------------------------------

int SaveDC(HDC dc)
{
    if (!dc) return 0;
    dc->Saved.push_back(dc->S);
    dc->RetainState(dc->S);
    return int(dc->Saved.size());
}

BOOL RestoreDC(HDC dc, int saved)
{
    if (!dc) return 0;
    int n = int(dc->Saved.size());
    int level = saved < 0 ? n + 1 + saved : saved;
    if (level < 1 || level > n) return 0;
    while (int(dc->Saved.size()) > level) {
        dc->ReleaseState(dc->Saved.back());
        dc->Saved.pop_back();
    }
    dc->ReleaseState(dc->S);
    dc->S = std::move(dc->Saved.back());
    dc->Saved.pop_back();
    dc->ClipChanged();
    return 1;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ obj)
{
    if (!GdiValidDC(dc) || !IsRegistered(obj)) return nullptr;
    auto swap = [](auto*& slot, auto* value) -> HGDIOBJ {
        auto* old = slot;
        value->AddRef();
        slot = value;
        if (old) old->Release();   // the caller may still hold it: it lives while undeleted
        return old;
    };
    switch (obj->ObjectType()) {
    case OBJ_PEN: return swap(dc->S.Pen, static_cast<HPEN>(obj));
    case OBJ_BRUSH: return swap(dc->S.Brush, static_cast<HBRUSH>(obj));
    case OBJ_FONT: return swap(dc->S.Font, static_cast<HFONT>(obj));
    case OBJ_REGION: {
        int r = SelectClipRgn(dc, static_cast<HRGN>(obj));
        return reinterpret_cast<HGDIOBJ>(intptr_t(r));
    }
    case OBJ_BITMAP: {
        if (dc->Kind != TDeviceContext::dkMemory) return nullptr;
        auto* b = static_cast<HBITMAP>(obj);
        if (b == dc->Bitmap) return b;
        if (b->SelectedInto && !b->IsStock()) return nullptr;   // one DC at a time
        HBITMAP old = dc->Bitmap;
        dc->DropCairo();
        b->AddRef();
        if (!b->IsStock()) b->SelectedInto = dc;
        dc->Bitmap = b;
        if (old) {
            if (old->SelectedInto == dc) old->SelectedInto = nullptr;
            old->Release();
        }
        dc->ClipChanged();
        return old;
    }
    default: return nullptr;
    }
}

HGDIOBJ GetCurrentObject(HDC dc, UINT type)
{
    if (!dc) return nullptr;
    switch (type) {
    case OBJ_PEN: return dc->S.Pen;
    case OBJ_BRUSH: return dc->S.Brush;
    case OBJ_FONT: return dc->S.Font;
    case OBJ_BITMAP: return dc->Bitmap;
    default: return nullptr;
    }
}

COLORREF SetBkColor(HDC dc, COLORREF c)
{
    if (!dc) return CLR_INVALID;
    COLORREF o = dc->S.BkColor;
    dc->S.BkColor = GdiResolveColor(c);
    return o;
}
COLORREF GetBkColor(HDC dc) { return dc ? dc->S.BkColor : CLR_INVALID; }
int SetBkMode(HDC dc, int mode)
{
    if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    int o = dc->S.BkMode;
    dc->S.BkMode = mode;
    return o;
}
int GetBkMode(HDC dc) { return dc ? dc->S.BkMode : 0; }
COLORREF SetTextColor(HDC dc, COLORREF c)
{
    if (!dc) return CLR_INVALID;
    COLORREF o = dc->S.TextColor;
    dc->S.TextColor = GdiResolveColor(c);
    return o;
}
COLORREF GetTextColor(HDC dc) { return dc ? dc->S.TextColor : CLR_INVALID; }
UINT SetTextAlign(HDC dc, UINT a)
{
    if (!dc) return GDI_ERROR;
    UINT o = dc->S.TextAlign;
    dc->S.TextAlign = a;
    return o;
}
UINT GetTextAlign(HDC dc) { return dc ? dc->S.TextAlign : GDI_ERROR; }
int SetROP2(HDC dc, int rop)
{
    if (!dc || rop < R2_BLACK || rop > R2_WHITE) return 0;
    int o = dc->S.Rop2;
    dc->S.Rop2 = rop;
    return o;
}
int GetROP2(HDC dc) { return dc ? dc->S.Rop2 : 0; }
int SetStretchBltMode(HDC dc, int mode)
{
    if (!dc || mode < BLACKONWHITE || mode > HALFTONE) return 0;
    int o = dc->S.StretchMode;
    dc->S.StretchMode = mode;
    return o;
}
int GetStretchBltMode(HDC dc) { return dc ? dc->S.StretchMode : 0; }
int SetPolyFillMode(HDC dc, int mode)
{
    if (!dc || (mode != ALTERNATE && mode != WINDING)) return 0;
    int o = dc->S.PolyFillMode;
    dc->S.PolyFillMode = mode;
    return o;
}
int GetPolyFillMode(HDC dc) { return dc ? dc->S.PolyFillMode : 0; }
COLORREF SetDCBrushColor(HDC dc, COLORREF c)
{
    if (!dc) return CLR_INVALID;
    COLORREF o = dc->S.DCBrushColor;
    dc->S.DCBrushColor = GdiResolveColor(c);
    return o;
}
COLORREF SetDCPenColor(HDC dc, COLORREF c)
{
    if (!dc) return CLR_INVALID;
    COLORREF o = dc->S.DCPenColor;
    dc->S.DCPenColor = GdiResolveColor(c);
    return o;
}
BOOL SetBrushOrgEx(HDC dc, int x, int y, POINT* old)
{
    if (!dc) return 0;
    if (old) *old = dc->S.BrushOrg;
    dc->S.BrushOrg = {x, y};
    return 1;
}
BOOL GetBrushOrgEx(HDC dc, POINT* pt)
{
    if (!dc || !pt) return 0;
    *pt = dc->S.BrushOrg;
    return 1;
}
int SetTextCharacterExtra(HDC dc, int extra)
{
    if (!dc) return int(0x80000000u);
    int o = dc->S.CharExtra;
    dc->S.CharExtra = extra;
    return o;
}

// ---------------------------------------------------------------------------
// Map modes
// ---------------------------------------------------------------------------

int SetMapMode(HDC dc, int mode)
{
    if (!dc || mode < MM_TEXT || mode > MM_ANISOTROPIC) return 0;
    int old = dc->S.MapMode;
    dc->S.MapMode = mode;
    int d = dc->Dpi;
    auto set = [&](int units) {
        dc->S.WinExt = {units, units};
        dc->S.VpExt = {d, -d};
    };
    switch (mode) {
    case MM_TEXT: dc->S.WinExt = {1, 1}; dc->S.VpExt = {1, 1}; break;
    case MM_LOMETRIC: set(254); break;
    case MM_HIMETRIC: set(2540); break;
    case MM_LOENGLISH: set(100); break;
    case MM_HIENGLISH: set(1000); break;
    case MM_TWIPS: set(1440); break;
    default: break;   // isotropic and anisotropic keep the extents they had
    }
    return old;
}
int GetMapMode(HDC dc) { return dc ? dc->S.MapMode : 0; }

BOOL SetWindowOrgEx(HDC dc, int x, int y, POINT* old)
{
    if (!dc) return 0;
    if (old) *old = dc->S.WinOrg;
    dc->S.WinOrg = {x, y};
    return 1;
}
BOOL GetWindowOrgEx(HDC dc, POINT* pt)
{
    if (!dc || !pt) return 0;
    *pt = dc->S.WinOrg;
    return 1;
}
BOOL OffsetWindowOrgEx(HDC dc, int dx, int dy, POINT* old)
{
    if (!dc) return 0;
    if (old) *old = dc->S.WinOrg;
    dc->S.WinOrg.X += dx;
    dc->S.WinOrg.Y += dy;
    return 1;
}
BOOL SetViewportOrgEx(HDC dc, int x, int y, POINT* old)
{
    if (!dc) return 0;
    if (old) *old = dc->S.VpOrg;
    dc->S.VpOrg = {x, y};
    return 1;
}
BOOL GetViewportOrgEx(HDC dc, POINT* pt)
{
    if (!dc || !pt) return 0;
    *pt = dc->S.VpOrg;
    return 1;
}
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, POINT* old)
{
    if (!dc) return 0;
    if (old) *old = dc->S.VpOrg;
    dc->S.VpOrg.X += dx;
    dc->S.VpOrg.Y += dy;
    return 1;
}

static void FixIsotropic(HDC dc)
{
    if (dc->S.MapMode != MM_ISOTROPIC) return;
    double sx = std::fabs(dc->ScaleX()), sy = std::fabs(dc->ScaleY());
    if (sx > sy) dc->S.VpExt.cx = int(std::lround(dc->S.VpExt.cx * sy / sx));
    else if (sy > sx) dc->S.VpExt.cy = int(std::lround(dc->S.VpExt.cy * sx / sy));
}

BOOL SetWindowExtEx(HDC dc, int x, int y, SIZE* old)
{
    if (!dc) return 0;
    if (old) *old = dc->S.WinExt;
    if (dc->S.MapMode < MM_ISOTROPIC) return 1;
    if (x == 0 || y == 0) return 0;
    dc->S.WinExt = {x, y};
    FixIsotropic(dc);
    return 1;
}
BOOL GetWindowExtEx(HDC dc, SIZE* sz)
{
    if (!dc || !sz) return 0;
    *sz = dc->S.WinExt;
    return 1;
}
BOOL SetViewportExtEx(HDC dc, int x, int y, SIZE* old)
{
    if (!dc) return 0;
    if (old) *old = dc->S.VpExt;
    if (dc->S.MapMode < MM_ISOTROPIC) return 1;
    if (x == 0 || y == 0) return 0;
    dc->S.VpExt = {x, y};
    FixIsotropic(dc);
    return 1;
}
BOOL GetViewportExtEx(HDC dc, SIZE* sz)
{
    if (!dc || !sz) return 0;
    *sz = dc->S.VpExt;
    return 1;
}

BOOL DPtoLP(HDC dc, POINT* pts, int count)
{
    if (!dc || (!pts && count > 0)) return 0;
    for (int i = 0; i < count; ++i)
        pts[i] = {int(std::lround(dc->DtoLXf(pts[i].X))), int(std::lround(dc->DtoLYf(pts[i].Y)))};
    return 1;
}

BOOL LPtoDP(HDC dc, POINT* pts, int count)
{
    if (!dc || (!pts && count > 0)) return 0;
    for (int i = 0; i < count; ++i) pts[i] = {dc->LtoDX(pts[i].X), dc->LtoDY(pts[i].Y)};
    return 1;
}

// ---------------------------------------------------------------------------
// Device capabilities
// ---------------------------------------------------------------------------

int GetDeviceCaps(HDC dc, int index)
{
    bool printer = dc && dc->Kind == TDeviceContext::dkPrinter;
    const int dpi = printer ? dc->Dpi : 96;
    const int logDpi = printer ? dc->Dpi : gScreenPpi.load();
    int w = printer ? dc->PageSize.cx : gScreenW.load();
    int h = printer ? dc->PageSize.cy : gScreenH.load();
    int bpp = 32;
    if (dc && dc->Kind == TDeviceContext::dkMemory && dc->Bitmap) bpp = dc->Bitmap->BitsPerPixel;
    switch (index) {
    case DRIVERVERSION: return 0x4000;
    case TECHNOLOGY: return printer ? DT_RASPRINTER : DT_RASDISPLAY;
    case HORZSIZE: return int(std::lround(w * 25.4 / dpi));
    case VERTSIZE: return int(std::lround(h * 25.4 / dpi));
    case HORZRES: case DESKTOPHORZRES: case PHYSICALWIDTH: return w;
    case VERTRES: case DESKTOPVERTRES: case PHYSICALHEIGHT: return h;
    case PHYSICALOFFSETX: case PHYSICALOFFSETY: return 0;
    case BITSPIXEL: return bpp;
    case PLANES: return 1;
    case NUMBRUSHES: case NUMPENS: case NUMFONTS: case NUMMARKERS: return -1;
    case NUMCOLORS: return bpp <= 8 ? (1 << bpp) : -1;
    case ASPECTX: case ASPECTY: return 36;
    case ASPECTXY: return 51;
    case LOGPIXELSX: case LOGPIXELSY: return logDpi;
    case SIZEPALETTE: case NUMRESERVED: return 0;
    case COLORRES: return 24;
    case RASTERCAPS: return 0x0001 | 0x0008 | 0x0080 | 0x0200 | 0x0800 | 0x8000;
    case CLIPCAPS: return 1;
    case SHADEBLENDCAPS: return 0x1 | 0x2 | 0x10;
    case TEXTCAPS: return 0x7FFF;
    case CURVECAPS: return 0xFF;
    case LINECAPS: return 0xFE;
    case POLYGONALCAPS: return 0xFF;
    case VREFRESH: return 60;
    case BLTALIGNMENT: return 0;
    case SCALINGFACTORX: case SCALINGFACTORY: return 0;
    default: return 0;
    }
}

// ---------------------------------------------------------------------------
// Recording and capture
// ---------------------------------------------------------------------------

void GdiStartRecording(HDC dc)
{
    if (dc) dc->Recording = true;
}
void GdiStopRecording(HDC dc)
{
    if (dc) dc->Recording = false;
}
bool GdiIsRecording(HDC dc) { return dc && dc->Recording; }
const std::vector<TGdiRecord>& GdiRecords(HDC dc)
{
    static const std::vector<TGdiRecord> none;
    return dc ? dc->Records : none;
}
void GdiClearRecords(HDC dc)
{
    if (dc) dc->Records.clear();
}
void GdiRecord(HDC dc, const TGdiRecord& record)
{
    if (dc) dc->Record(record);
}

static bool WriteSurfacePNG(cairo_surface_t* s, const String& path)
{
    std::string target = UTF8Encode(path);
    std::string tmp = target + ".tmp";
    cairo_surface_flush(s);
    if (cairo_surface_write_to_png(s, tmp.c_str()) != CAIRO_STATUS_SUCCESS) {
        std::remove(tmp.c_str());
        return false;
    }
    if (std::rename(tmp.c_str(), target.c_str()) != 0) {
        std::remove(tmp.c_str());
        return false;
    }
    return true;
}

bool SaveBitmapToPNG(HBITMAP bmp, const String& path)
{
    if (!IsRegistered(bmp) || !bmp->Surface) return false;
    bmp->BitsToSurface();
    return WriteSurfacePNG(bmp->Surface, path);
}

bool SaveDCToPNG(HDC dc, const String& path)
{
    if (!GdiValidDC(dc) || !dc->HasPixels()) return false;
    TSourceGuard g(dc);
    TRect r = dc->TargetBounds();
    if (dc->Kind == TDeviceContext::dkSurface) IntersectRect(r, r, dc->BaseClip);
    if (IsRectEmpty(r)) return false;
    cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, r.Width(), r.Height());
    cairo_t* cr = cairo_create(out);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_surface_flush(dc->Target());
    cairo_set_source_surface(cr, dc->Target(), -r.Left, -r.Top);
    cairo_paint(cr);
    cairo_destroy(cr);
    bool ok = WriteSurfacePNG(out, path);
    cairo_surface_destroy(out);
    return ok;
}
