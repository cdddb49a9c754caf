// TBitmap: a device-independent bitmap with a canvas, pixel formats, scan
// lines and the transparency rules of the class library.
#include <algorithm>

#include "platform/gfx/GdiPlus_Internal.h"
#include "platform/gfx/Graphics.h"

TBytes ReadAllBytes(TStream* Stream)
{
    if (!Stream) throw EInvalidGraphicOperation(L"No stream to read the image from");
    const Int64 n = Stream->Size() - Stream->Position();
    if (n < 0 || n > (Int64(1) << 31) - 1) throw EInvalidGraphic(L"Image stream is too large");
    TBytes b(static_cast<size_t>(n));
    if (n) Stream->ReadBuffer(b.data(), Integer(n));
    return b;
}

namespace {

int BppOf(TPixelFormat pf)
{
    switch (pf) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf15bit:
    case pf16bit: return 16;
    case pf24bit: return 24;
    default: return 32;
    }
}

HBITMAP MakeDib(int w, int h, TPixelFormat pf)
{
    const int bpp = BppOf(pf);
    std::vector<uint8_t> buf(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
    auto* bi = reinterpret_cast<BITMAPINFO*>(buf.data());
    bi->bmiHeader = BITMAPINFOHEADER{};
    bi->bmiHeader.biWidth = w;
    bi->bmiHeader.biHeight = h;   // bottom-up, as the class library's DIBs
    bi->bmiHeader.biBitCount = Word(bpp);
    if (bpp <= 8) {
        // Black and white; the sixteen standard colours; a colour cube with
        // a grey ramp.
        static const uint32_t vga[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                         0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                         0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
        const int n = 1 << bpp;
        RGBQUAD* pal = bi->bmiColors;
        for (int i = 0; i < n; ++i) {
            uint32_t c;
            if (bpp == 1) c = i ? 0xFFFFFF : 0;
            else if (bpp == 4) c = vga[i];
            else if (i < 216) c = uint32_t((i / 36) * 51) << 16 | uint32_t((i / 6 % 6) * 51) << 8 | uint32_t(i % 6 * 51);
            else c = uint32_t((i - 216) * 255 / 39) * 0x010101u;
            pal[i].rgbRed = Byte(c >> 16);
            pal[i].rgbGreen = Byte(c >> 8);
            pal[i].rgbBlue = Byte(c);
        }
        bi->bmiHeader.biClrUsed = DWORD(n);
    }
    return CreateDIBSection(nullptr, bi, DIB_RGB_COLORS, nullptr, nullptr, 0);
}

TPixelFormat FormatForDepth(int bpp) { return bpp == 32 ? pf32bit : pf24bit; }

}  // namespace

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int AWidth, int AHeight) { SetSize(AWidth, AHeight); }

TBitmap::~TBitmap()
{
    FCanvas.reset();
    if (FDC) {
        SelectObject(FDC, FOldBitmap);
        DeleteDC(FDC);
    }
    if (FHandle) DeleteObject(FHandle);
}

int TBitmap::GetWidth() const { return FHandle ? FHandle->Width() : 0; }
int TBitmap::GetHeight() const { return FHandle ? FHandle->Height() : 0; }

void TBitmap::NewHandle(int w, int h, TPixelFormat pf, bool keep)
{
    HBITMAP nb = nullptr;
    if (w > 0 && h > 0) {
        CheckImageSize(w, h);
        nb = MakeDib(w, h, pf);
        if (!nb) throw EOutOfResources(L"Out of system resources");
        if (keep && FHandle) {
            FHandle->BitsToSurface();
            cairo_t* cr = cairo_create(GdiBitmapSurface(nb));
            cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
            cairo_set_source_surface(cr, GdiBitmapSurface(FHandle), 0, 0);
            cairo_paint(cr);
            cairo_destroy(cr);
            GdiBitmapChanged(nb);
        }
    }
    SetHandle(nb);
    FPixelFormat = pf;
}

void TBitmap::SetHandle(HBITMAP h)
{
    if (FDC && FHandle) SelectObject(FDC, FOldBitmap);
    if (FHandle && FHandle != h) DeleteObject(FHandle);
    FHandle = h;
    if (FDC && FHandle) FOldBitmap = SelectObject(FDC, FHandle);
    if (FCanvas) FCanvas->Refresh();
    if (h) FPixelFormat = h->BitsPerPixel == 32 ? pf32bit : h->BitsPerPixel == 24 ? pf24bit
                        : h->BitsPerPixel == 16 ? pf16bit : h->BitsPerPixel == 8 ? pf8bit
                        : h->BitsPerPixel == 4 ? pf4bit : pf1bit;
    Changed(this);
}

HBITMAP TBitmap::ReleaseHandle()
{
    if (FDC && FHandle) SelectObject(FDC, FOldBitmap);
    HBITMAP h = FHandle;
    FHandle = nullptr;
    return h;
}

HBITMAP TBitmap::Handle() { return FHandle; }

void TBitmap::SetSize(int AWidth, int AHeight)
{
    if (AWidth == Width() && AHeight == Height()) return;
    NewHandle(AWidth, AHeight, FPixelFormat, true);
}

void TBitmap::SetPixelFormat(TPixelFormat v)
{
    if (v == FPixelFormat) return;
    if (FHandle)
        NewHandle(Width(), Height(), v, true);
    else
        FPixelFormat = v;
}

TCanvas* TBitmap::Canvas()
{
    if (!FCanvas) {
        FDC = CreateCompatibleDC(nullptr);
        if (FHandle) FOldBitmap = SelectObject(FDC, FHandle);
        FCanvas = std::make_unique<TCanvas>();
        FCanvas->SetHandle(FDC);
        FCanvas->OnChange = [this](TObject*) { Changed(this); };
    }
    return FCanvas.get();
}

void* TBitmap::ScanLine(int Row)
{
    if (!FHandle || Row < 0 || Row >= Height()) throw EInvalidGraphicOperation(L"Scan line index out of range");
    if (!FHandle->Bits) return nullptr;
    const int stride = FHandle->DIBStride();
    return FHandle->Bits + size_t(FHandle->TopDown ? Row : Height() - 1 - Row) * size_t(stride);
}

TImageData TBitmap::ToImage()
{
    if (!FHandle) return {};
    FHandle->BitsToSurface();
    TImageData img = ImageFromSurface(GdiBitmapSurface(FHandle));
    img.BitsPerPixel = BppOf(FPixelFormat);
    img.HasAlpha = FPixelFormat == pf32bit &&
                   std::any_of(img.Pixels.begin(), img.Pixels.end(), [](uint32_t p) { return (p >> 24) != 0xFF; });
    return img;
}

void TBitmap::FromImage(const TImageData& src, TPixelFormat pf)
{
    if (src.Empty()) {
        SetHandle(nullptr);
        return;
    }
    NewHandle(src.Width, src.Height, pf, false);
    TImageData img = src;
    if (pf != pf32bit || !src.HasAlpha)
        for (auto& p : img.Pixels) p |= 0xFF000000u;
    cairo_surface_t* s = SurfaceFromImage(img);
    cairo_t* cr = cairo_create(GdiBitmapSurface(FHandle));
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, s, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(s);
    GdiBitmapChanged(FHandle);
    Changed(this);
}

void TBitmap::Assign(TPersistent* Source)
{
    if (!Source) {
        SetHandle(nullptr);
    } else if (auto* b = dynamic_cast<TBitmap*>(Source)) {
        if (b == this) return;
        FromImage(b->ToImage(), b->PixelFormat());
        FTransparent = b->FTransparent;
        FTransparentMode = b->FTransparentMode;
        FTransparentColor = b->FTransparentColor;
        FHandleType = b->FHandleType;
        Changed(this);
    } else if (auto* a = dynamic_cast<TAlphaImage*>(Source)) {
        FromImage(a->Image(), pf32bit);
    } else if (auto* g = dynamic_cast<TGraphic*>(Source)) {
        SetSize(g->Width(), g->Height());
        if (!g->Empty()) Canvas()->StretchDraw(Rect(0, 0, g->Width(), g->Height()), g);
    } else {
        TGraphic::Assign(Source);
    }
}

void TBitmap::SetTransparentMode(TTransparentMode v)
{
    if (v == FTransparentMode) return;
    FTransparentMode = v;
    if (v == tmAuto) FTransparentColor = clDefault;
    Changed(this);
}

TColor TBitmap::TransparentColor()
{
    if (FTransparentMode == tmFixed && FTransparentColor != clDefault) return FTransparentColor;
    if (Empty()) return clDefault;
    return Canvas()->Pixels(0, Height() - 1);
}

void TBitmap::SetTransparentColor(TColor v)
{
    FTransparentColor = v;
    FTransparentMode = v == clDefault ? tmAuto : tmFixed;
    Changed(this);
}

void TBitmap::Mask(TColor TransparentColor)
{
    if (Empty()) return;
    const uint32_t rgb = uint32_t(ColorToRGB(TransparentColor));
    const uint32_t key = ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
    TImageData img = ToImage();
    for (auto& p : img.Pixels) p = (p & 0xFFFFFF) == key ? 0xFFFFFFFFu : 0xFF000000u;
    FromImage(img, pf1bit);
}

void TBitmap::Draw(TCanvas* ACanvas, const TRect& R)
{
    if (Empty() || !ACanvas) return;
    HDC src = Canvas()->Handle();
    HDC dst = ACanvas->Handle();
    ACanvas->RequireState();
    if (Transparent()) {
        TransparentBlt(dst, R.Left, R.Top, R.Width(), R.Height(), src, 0, 0, Width(), Height(),
                       UINT(ColorToRGB(TransparentColor()) & 0xFFFFFF));
    } else {
        StretchBlt(dst, R.Left, R.Top, R.Width(), R.Height(), src, 0, 0, Width(), Height(), ACanvas->CopyMode());
    }
}

void TBitmap::LoadFromStream(TStream* Stream)
{
    TBytes b = ReadAllBytes(Stream);
    TImageData img = DecodeBmp(b.data(), b.size());
    FromImage(img, FormatForDepth(img.BitsPerPixel));
}

void TBitmap::SaveToStream(TStream* Stream)
{
    if (!Stream) return;
    if (Empty()) return;
    TBytes b = EncodeBmp(ToImage(), FPixelFormat == pf32bit ? 32 : 24);
    Stream->WriteBuffer(b.data(), Integer(b.size()));
}

void TBitmap::LoadFromResourceName(HINSTANCE Instance, const String& ResName)
{
    HRSRC r = FindResource(Instance, TResId(ResName), RT_BITMAP);
    if (!r) throw EResNotFound(L"Resource " + ResName + L" not found");
    const auto* data = static_cast<const uint8_t*>(LoadResource(Instance, r));
    const size_t size = SizeofResource(Instance, r);
    // Bitmap resources are usually a DIB; a whole BMP file is read as well.
    TImageData img = size >= 2 && data[0] == 'B' && data[1] == 'M' ? DecodeBmp(data, size) : DecodeDib(data, size);
    FromImage(img, FormatForDepth(img.BitsPerPixel));
}
