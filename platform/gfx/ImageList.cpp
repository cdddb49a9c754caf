// Image lists and the common-controls style drawing of their images.
#include "platform/gfx/ImageList.h"

#include <algorithm>

#include "platform/gfx/GdiPlus_Internal.h"

TChangeLink::~TChangeLink()
{
    if (FSender) FSender->UnRegisterChanges(this);
}

void TChangeLink::Change()
{
    if (OnChange) OnChange(FSender);
}

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomImageList::~TCustomImageList()
{
    for (TChangeLink* l : FLinks) l->SetSender(nullptr);
}

void TCustomImageList::Change()
{
    if (OnChange) OnChange(this);
    for (TChangeLink* l : std::vector<TChangeLink*>(FLinks)) l->Change();
}

void TCustomImageList::SetWidth(int v)
{
    if (v <= 0 || v == FWidth) return;
    FWidth = v;
    Clear();
}

void TCustomImageList::SetHeight(int v)
{
    if (v <= 0 || v == FHeight) return;
    FHeight = v;
    Clear();
}

void TCustomImageList::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= Count()) throw EInvalidOperation(L"Invalid image list index");
}

const TImageData& TCustomImageList::Image(int Index) const
{
    CheckIndex(Index);
    return FImages[size_t(Index)];
}

namespace {

// The image scaled to w x h (nearest pixels when only cropping matters).
TImageData Fit(const TImageData& src, int w, int h)
{
    if (src.Width == w && src.Height == h) return src;
    cairo_surface_t* s = SurfaceFromImage(src);
    cairo_surface_t* d = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(d);
    cairo_scale(cr, double(w) / src.Width, double(h) / src.Height);
    cairo_set_source_surface(cr, s, 0, 0);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_paint(cr);
    cairo_destroy(cr);
    TImageData out = ImageFromSurface(d);
    cairo_surface_destroy(d);
    cairo_surface_destroy(s);
    return out;
}

uint32_t KeyOf(TColor c)
{
    const uint32_t rgb = uint32_t(ColorToRGB(c));
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

}  // namespace

int TCustomImageList::AddImage(const TImageData& img)
{
    if (img.Empty()) return -1;
    const int first = Count();
    const int n = std::max(1, img.Width / FWidth);
    for (int k = 0; k < n; ++k) {
        TImageData part(FWidth, FHeight, 0);
        for (int y = 0; y < std::min(FHeight, img.Height); ++y)
            for (int x = 0; x < FWidth && k * FWidth + x < img.Width; ++x) part.Pixel(x, y) = img.Pixel(k * FWidth + x, y);
        part.HasAlpha = true;
        FImages.push_back(std::move(part));
    }
    Change();
    return first;
}

int TCustomImageList::Add(TBitmap* Image, TBitmap* Mask)
{
    if (!Image || Image->Empty()) return -1;
    TImageData img = Image->ToImage();
    if (Mask && !Mask->Empty()) {
        TImageData m = Mask->ToImage();
        for (int y = 0; y < std::min(img.Height, m.Height); ++y)
            for (int x = 0; x < std::min(img.Width, m.Width); ++x)
                if ((m.Pixel(x, y) & 0xFFFFFF) != 0) img.Pixel(x, y) = 0;
    } else if (!img.HasAlpha) {
        for (auto& p : img.Pixels) p |= 0xFF000000u;
    }
    return AddImage(img);
}

int TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor)
{
    if (!Image || Image->Empty()) return -1;
    TImageData img = Image->ToImage();
    const uint32_t key = MaskColor == clDefault ? (img.Pixel(0, img.Height - 1) & 0xFFFFFF) : KeyOf(MaskColor);
    for (auto& p : img.Pixels) p = (p & 0xFFFFFF) == key ? 0 : (p | 0xFF000000u);
    return AddImage(img);
}

int TCustomImageList::AddIcon(TIcon* Image)
{
    if (!Image || Image->Empty()) return -1;
    const int first = Count();
    FImages.push_back(Fit(Image->ImageFor(FWidth, FHeight), FWidth, FHeight));
    Change();
    return first;
}

void TCustomImageList::Delete(int Index)
{
    CheckIndex(Index);
    FImages.erase(FImages.begin() + Index);
    Change();
}

void TCustomImageList::Clear()
{
    FImages.clear();
    Change();
}

bool TCustomImageList::GetBitmap(int Index, TBitmap* Image)
{
    if (!Image || Index < 0 || Index >= Count()) return false;
    Image->FromImage(FImages[size_t(Index)], pf32bit);
    return true;
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled)
{
    if (!Canvas || Index < 0 || Index >= Count()) return;
    IMAGELISTDRAWPARAMS p;
    p.himl = this;
    p.i = Index;
    p.hdcDst = Canvas->Handle();
    p.x = X;
    p.y = Y;
    p.fStyle = ILD_TRANSPARENT;
    if (!Enabled) {
        p.fState = ILS_SATURATE | ILS_ALPHA;
        p.Frame = 128;
    }
    ImageList_DrawIndirect(&p);
}

void TCustomImageList::RegisterChanges(TChangeLink* Value)
{
    if (!Value) return;
    Value->SetSender(this);
    if (std::find(FLinks.begin(), FLinks.end(), Value) == FLinks.end()) FLinks.push_back(Value);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* Value)
{
    auto it = std::find(FLinks.begin(), FLinks.end(), Value);
    if (it != FLinks.end()) FLinks.erase(it);
    if (Value && Value->Sender() == this) Value->SetSender(nullptr);
}

// ---- common-controls style drawing ----------------------------------------

BOOL ImageList_DrawIndirect(const IMAGELISTDRAWPARAMS* p)
{
    if (!p || !p->himl || !p->hdcDst || p->i < 0 || p->i >= p->himl->Count()) return 0;
    TImageData img = p->himl->Image(p->i);
    const int w = p->cx > 0 ? std::min(p->cx, img.Width - p->xBitmap) : img.Width - p->xBitmap;
    const int h = p->cy > 0 ? std::min(p->cy, img.Height - p->yBitmap) : img.Height - p->yBitmap;
    if (w <= 0 || h <= 0 || p->xBitmap < 0 || p->yBitmap < 0) return 0;
    auto bgr = [](COLORREF c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); };
    for (auto& px : img.Pixels) {
        uint32_t a = px >> 24;
        if (p->fStyle & ILD_MASK) {
            // The mask: black where the image shows, white elsewhere.
            px = a ? 0xFF000000u : 0xFFFFFFFFu;
            continue;
        }
        if (p->fState & ILS_SATURATE) {
            const uint32_t r = (px >> 16) & 0xFF, g = (px >> 8) & 0xFF, b = px & 0xFF;
            const uint32_t l = (r * 299 + g * 587 + b * 114 + 500) / 1000;
            px = (a << 24) | l * 0x010101u;
        }
        if (p->fStyle & (ILD_BLEND25 | ILD_BLEND50)) {
            // Blended with the highlight colour (or rgbFg): a quarter or half.
            const COLORREF fg = p->rgbFg == CLR_DEFAULT || p->rgbFg == CLR_NONE ? COLORREF(ColorToRGB(clHighlight)) : p->rgbFg;
            const uint32_t f = bgr(fg), t = (p->fStyle & ILD_BLEND50) ? 128 : 64;
            auto mix = [&](int sh) { return ((((px >> sh) & 0xFF) * (256 - t) + ((f >> sh) & 0xFF) * t) >> 8) << sh; };
            px = (a << 24) | mix(16) | mix(8) | mix(0);
        }
        if (p->fState & ILS_ALPHA) a = a * std::min<DWORD>(p->Frame, 255) / 255;
        px = (a << 24) | (px & 0xFFFFFF);
    }
    // Without ILD_TRANSPARENT the background colour fills the masked pixels.
    const COLORREF bk = p->rgbBk == CLR_DEFAULT ? (p->himl->BkColor() == clNone ? CLR_NONE : COLORREF(ColorToRGB(p->himl->BkColor())))
                                                : p->rgbBk;
    cairo_t* cr = GdiCairo(p->hdcDst);
    if (!cr) return 0;
    cairo_save(cr);
    cairo_rectangle(cr, p->x, p->y, w, h);
    cairo_clip(cr);
    if (!(p->fStyle & (ILD_TRANSPARENT | ILD_MASK)) && bk != CLR_NONE) {
        cairo_set_source_rgb(cr, (bk & 0xFF) / 255.0, ((bk >> 8) & 0xFF) / 255.0, ((bk >> 16) & 0xFF) / 255.0);
        cairo_paint(cr);
    }
    cairo_surface_t* s = SurfaceFromImage(img);
    cairo_set_source_surface(cr, s, p->x - p->xBitmap, p->y - p->yBitmap);
    cairo_paint(cr);
    cairo_restore(cr);
    GdiReleaseCairo(p->hdcDst, cr);
    cairo_surface_destroy(s);
    return 1;
}

BOOL ImageList_DrawEx(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, int dx, int dy, COLORREF rgbBk,
                      COLORREF rgbFg, UINT fStyle)
{
    IMAGELISTDRAWPARAMS p;
    p.himl = himl;
    p.i = i;
    p.hdcDst = hdcDst;
    p.x = x;
    p.y = y;
    p.cx = dx;
    p.cy = dy;
    p.rgbBk = rgbBk;
    p.rgbFg = rgbFg;
    p.fStyle = fStyle;
    return ImageList_DrawIndirect(&p);
}

BOOL ImageList_Draw(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, UINT fStyle)
{
    return ImageList_DrawEx(himl, i, hdcDst, x, y, 0, 0, CLR_DEFAULT, CLR_DEFAULT, fStyle);
}

int ImageList_GetImageCount(HIMAGELIST himl) { return himl ? himl->Count() : 0; }
