// The native handles of the wrappers, null for a null object, for the
// sources of the unit.
#pragma once

#include "controls/foundation/VodGDIP.h"

struct TGdipHandles {
    static GpPen* Of(TGPPen* o) { return o ? o->nativePen : nullptr; }
    static GpBrush* Of(TGPBrush* o) { return o ? o->nativeBrush : nullptr; }
    static GpFontFamily* Of(TGPFontFamily* o) { return o ? o->nativeFamily : nullptr; }
    static GpFontCollection* Of(TGPFontCollection* o) { return o ? o->nativeFontCollection : nullptr; }
    static GpFont* Of(TGPFont* o) { return o ? o->nativeFont : nullptr; }
    static GpStringFormat* Of(TGPStringFormat* o) { return o ? o->nativeFormat : nullptr; }
    static GpPath* Of(TGPGraphicsPath* o) { return o ? o->nativePath : nullptr; }
    static GpRegion* Of(TGPRegion* o) { return o ? o->nativeRegion : nullptr; }
    static GpMatrix* Of(TGPMatrix* o) { return o ? o->nativeMatrix : nullptr; }
    static GpImage* Of(TGPImage* o) { return o ? o->nativeImage : nullptr; }
    static GpImageAttributes* Of(TGPImageAttributes* o) { return o ? o->nativeImageAttr : nullptr; }
    static Status StatusOf(TGPFontFamily* o) { return o->lastResult; }
    static void Adopt(TGPBrush* o, GpBrush* native) { o->nativeBrush = native; }
};

// Characters of s to pass for a length a caller gave: a negative length or
// one beyond the string means the whole string, so no call reads past it.
inline INT GdipTextLength(const String& s, INT length)
{
    const INT n = INT(s.size());
    return length < 0 || length > n ? n : length;
}
