// Graphics objects on device contexts, and conversions between GDI+
// bitmaps and GDI bitmaps.
#include "platform/gfx/GdiPlus_Internal.h"

void GpReleaseDcCairo(GpGraphics* g)
{
    cairo_destroy(g->Cr);
}

Status GdipCreateFromHDC(HDC hdc, GpGraphics** graphics)
{
    GDIP_CHECK_STARTED();
    if (!hdc || !graphics) return InvalidParameter;
    return NotImplemented;
}

Status GdipGetDC(GpGraphics* graphics, HDC* hdc)
{
    if (!graphics || !hdc) return InvalidParameter;
    return NotImplemented;
}

Status GdipReleaseDC(GpGraphics* graphics, HDC hdc)
{
    if (!graphics || !hdc) return InvalidParameter;
    return NotImplemented;
}
