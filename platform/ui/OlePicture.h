// Pictures loaded from a stream through the OLE picture interface: BMP,
// JPEG, GIF (its first frame) and ICO. PNG is not a picture format of this
// loader and is refused like any other unknown content.
//
// Sizes are answered in HIMETRIC (hundredths of a millimetre) at the
// screen's 96 pixels per inch. Render takes its source rectangle in HIMETRIC
// with the y axis pointing up, so the whole picture upright is
//   Render(dc, x, y, cx, cy, 0, hmHeight, hmWidth, -hmHeight, nullptr).
#pragma once

#include "platform/base/ComObj.h"
#include "platform/base/Interfaces.h"
#include "platform/base/Types.h"
#include "platform/gfx/Gdi.h"

using SHORT = int16_t;
using OLE_HANDLE = uintptr_t;
using OLE_XPOS_HIMETRIC = LONG;
using OLE_YPOS_HIMETRIC = LONG;
using OLE_XSIZE_HIMETRIC = LONG;
using OLE_YSIZE_HIMETRIC = LONG;

enum : SHORT {
    PICTYPE_UNINITIALIZED = -1,
    PICTYPE_NONE = 0,
    PICTYPE_BITMAP = 1,
    PICTYPE_METAFILE = 2,
    PICTYPE_ICON = 3,
    PICTYPE_ENHMETAFILE = 4,
};

// The content is not a picture this loader reads.
constexpr HRESULT CTL_E_INVALIDPICTURE = static_cast<HRESULT>(0x800A01E1u);

struct IPicture : virtual IUnknown {
    static constexpr TGUID IID = MakeGUID("{7BF80980-BF32-101A-8BBB-00AA00300CAB}");
    // The picture's bitmap (an HBITMAP owned by the picture, valid while
    // the picture lives). Icons are held as a bitmap with alpha as well.
    virtual HRESULT get_Handle(OLE_HANDLE* handle) = 0;
    virtual HRESULT get_Type(SHORT* type) = 0;
    virtual HRESULT get_Width(OLE_XSIZE_HIMETRIC* width) = 0;
    virtual HRESULT get_Height(OLE_YSIZE_HIMETRIC* height) = 0;
    // Draws the source rectangle (HIMETRIC, y up) stretched into x, y, cx,
    // cy of dc. Negative source extents mirror. bounds is not used (it
    // serves metafiles only).
    virtual HRESULT Render(HDC dc, LONG x, LONG y, LONG cx, LONG cy, OLE_XPOS_HIMETRIC xSrc,
                           OLE_YPOS_HIMETRIC ySrc, OLE_XSIZE_HIMETRIC cxSrc,
                           OLE_YSIZE_HIMETRIC cySrc, const RECT* bounds) = 0;
};
inline constexpr TGUID IID_IPicture = IPicture::IID;

// Reads size bytes (0: up to the end) from stream and makes a picture of
// them; obj receives the interface riid (IPicture or IUnknown) with one
// reference for the caller. E_POINTER for a null stream or obj,
// CTL_E_INVALIDPICTURE for content that is not a BMP, JPEG, GIF or icon or
// is malformed, E_NOINTERFACE for another riid.
HRESULT OleLoadPicture(IStream* stream, LONG size, BOOL runmode, REFIID riid, void** obj);

// Pixels to HIMETRIC at the screen's 96 pixels per inch, and back.
LONG PixelsToHimetric(LONG pixels);
LONG HimetricToPixels(LONG himetric);
