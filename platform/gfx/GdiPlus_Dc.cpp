// Graphics objects on device contexts, and conversions between GDI+
// bitmaps and GDI bitmaps.
#include <vector>

#include "platform/gfx/GdiPlus_Internal.h"

void GpInitGraphics(GpGraphics* g, cairo_t* cr);   // GdiPlus_Graphics.cpp

void GpReleaseDcCairo(GpGraphics* g)
{
    GdiReleaseCairo(g->Dc, g->Cr);
}

Status GdipCreateFromHDC(HDC hdc, GpGraphics** graphics)
{
    GDIP_CHECK_STARTED();
    if (!hdc || !graphics) return InvalidParameter;
    cairo_t* cr = GdiCairo(hdc);
    if (!cr) return OutOfMemory;
    auto* g = new GpGraphics;
    g->Dc = hdc;
    GpInitGraphics(g, cr);
    *graphics = g;
    return Ok;
}

Status GdipGetDC(GpGraphics* graphics, HDC* hdc)
{
    if (!graphics || !graphics->Cr || !hdc) return InvalidParameter;
    if (graphics->InGetDC) return ObjectBusy;
    cairo_surface_flush(cairo_get_target(graphics->Cr));
    if (graphics->Dc) {
        *hdc = graphics->Dc;
    } else {
        GpImage* img = graphics->Image;
        graphics->TempDc = CreateSurfaceDC(img->Surface, TPoint{0, 0}, Rect(0, 0, img->Width, img->Height));
        if (!graphics->TempDc) return OutOfMemory;
        *hdc = graphics->TempDc;
    }
    // Until the DC comes back, the graphics object refuses other work.
    graphics->InGetDC = true;
    return Ok;
}

Status GdipReleaseDC(GpGraphics* graphics, HDC hdc)
{
    if (!graphics || !hdc || !graphics->InGetDC) return InvalidParameter;
    if (hdc != (graphics->TempDc ? graphics->TempDc : graphics->Dc)) return InvalidParameter;
    if (graphics->TempDc) {
        DeleteDC(graphics->TempDc);
        graphics->TempDc = nullptr;
    }
    cairo_surface_mark_dirty(cairo_get_target(graphics->Cr));
    graphics->InGetDC = false;
    return Ok;
}

Status GdipCreateBitmapFromHBITMAP(HBITMAP hbm, void*, GpBitmap** bitmap)
{
    GDIP_CHECK_STARTED();
    if (!hbm || !bitmap) return InvalidParameter;
    cairo_surface_t* s = GdiBitmapSurface(hbm);
    if (!s) return InvalidParameter;
    TImageData img = ImageFromSurface(s);
    // A GDI bitmap's fourth byte is not alpha to GDI+.
    for (auto& px : img.Pixels) px |= 0xFF000000u;
    img.HasAlpha = false;
    *bitmap = NewBitmap(img, PixelFormat32bppRGB, ImageFormatMemoryBMP);
    return Ok;
}

Status GdipCreateHBITMAPFromBitmap(GpBitmap* bitmap, HBITMAP* hbmReturn, ARGB background)
{
    if (!bitmap || !hbmReturn || bitmap->Type != ImageTypeBitmap || !bitmap->Surface) return InvalidParameter;
    if (bitmap->Locked) return ObjectBusy;
    TImageData img = ImageFromSurface(bitmap->Surface);
    const uint32_t ba = background >> 24;
    bool alpha = true;
    if (ba != 0) {
        // Translucent pixels are laid over the background colour.
        alpha = false;
        for (auto& px : img.Pixels) {
            uint32_t a = px >> 24;
            auto mix = [&](int sh) {
                return ((((px >> sh) & 0xFF) * a + ((background >> sh) & 0xFF) * (255 - a) + 127) / 255) << sh;
            };
            px = 0xFF000000u | mix(16) | mix(8) | mix(0);
        }
    }
    *hbmReturn = CreateBitmapFromBGRA(img.Width, img.Height, img.Pixels.data(), alpha);
    return *hbmReturn ? Ok : OutOfMemory;
}
