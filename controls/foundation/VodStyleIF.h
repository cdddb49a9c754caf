// VodStyleIF: the words in which a control of the library is told how to
// look (component styles, Office themes, colour tones and the three style
// interfaces), a few small routines many controls share, and the Office
// theme detection with its change notifier.
#pragma once

#include "platform/base/Objects.h"
#include "platform/base/Types.h"
#include "platform/gfx/Colors.h"

// One byte; the ordinals are fixed (tsCustom sits in the middle on purpose).
enum TQelStyle : Byte {
    tsOffice2003Blue,       // 0
    tsOffice2003Silver,     // 1
    tsOffice2003Olive,      // 2
    tsOffice2003Classic,    // 3
    tsOffice2007Luna,       // 4
    tsOffice2007Obsidian,   // 5
    tsWindowsXP,            // 6
    tsWhidbey,              // 7
    tsCustom,               // 8
    tsOffice2007Silver,     // 9
    tsWindowsVista,         // 10
    tsWindows7,             // 11
    tsTerminal,             // 12
    tsOffice2010Blue,       // 13
    tsOffice2010Silver,     // 14
    tsOffice2010Black,      // 15
    tsWindows8,             // 16
    tsOffice2013White,      // 17
    tsOffice2013LightGray,  // 18
    tsOffice2013Gray,       // 19
    tsWindows10,            // 20
    tsOffice2016White,      // 21
    tsOffice2016Gray,       // 22
    tsOffice2016Black,      // 23
};

// The Office colour theme the user has chosen; GetOfficeTheme never answers
// otUnknown.
enum TOfficeTheme : Byte {
    ot2003Blue,     // 0
    ot2003Silver,   // 1
    ot2003Olive,    // 2
    ot2003Classic,  // 3
    ot2007Blue,     // 4
    ot2007Silver,   // 5
    ot2007Black,    // 6
    ot2010Blue,     // 7
    ot2010Silver,   // 8
    ot2010Black,    // 9
    ot2013White,    // 10
    ot2013Silver,   // 11
    ot2013Gray,     // 12
    ot2016White,    // 13
    ot2016Gray,     // 14
    ot2016Black,    // 15
    otUnknown,      // 16
};

// Fill, frame and text colour of one element (system colours and clNone allowed).
struct TColorTone {
    TColor BrushColor = clNone;
    TColor BorderColor = clNone;
    TColor TextColor = clNone;
    friend bool operator==(const TColorTone&, const TColorTone&) = default;
};

// The tones of a control: resting face, content area, a selected or pressed
// element, an element under the mouse, a disabled element.
struct TColorTones {
    TColorTone Background;
    TColorTone Foreground;
    TColorTone Selected;
    TColorTone Hover;
    TColorTone Disabled;
    friend bool operator==(const TColorTones&, const TColorTones&) = default;
};

// The style interfaces. Implementers are components (see TComponentInterfaces
// in platform/base/Objects.h): asking for an interface or dropping it never
// frees one, so a caller holds the interface only while the component lives.
struct IQelStyle : virtual IUnknown {
    static constexpr TGUID IID = MakeGUID("{11AC2DDC-C087-4298-AB6E-EA1B5017511B}");
    virtual void SetComponentStyle(TQelStyle AStyle) = 0;
};
VEL_INTERFACE(IQelStyle)

// IQelStyle plus an application colour from which the implementer derives
// its shades (clNone: none). SetComponentStyle is declared again, as the
// interface's own entry; an implementer's one SetComponentStyle answers both,
// and its effect is SetComponentStyleAndAppColor(AStyle, clNone).
struct IQelStyleEx : virtual IQelStyle {
    static constexpr TGUID IID = MakeGUID("{037BA87F-7CBD-4FDD-854E-2B3F0BCC06AE}");
    void SetComponentStyle(TQelStyle AStyle) override = 0;
    virtual void SetComponentStyleAndAppColor(TQelStyle AStyle, TColor AppColor) = 0;
};
VEL_INTERFACE(IQelStyleEx)

struct IQelTones : virtual IUnknown {
    static constexpr TGUID IID = MakeGUID("{1F492643-6699-4F25-8B34-3233FA735036}");
    virtual void SetColorTones(TColorTones ATones) = 0;
};
VEL_INTERFACE(IQelTones)

inline constexpr TGUID IID_IQelStyle = IQelStyle::IID;
inline constexpr TGUID IID_IQelStyleEx = IQelStyleEx::IID;
inline constexpr TGUID IID_IQelTones = IQelTones::IID;

// True when "kernel32" is loaded and exports "GetLocaleInfoEx".
bool IsVistaOrLater();
// "Segoe UI" from Vista on, "Tahoma" before.
String DefaultFontName();
// Each channel of Color (a system colour resolved now) times
// (100 - Percent) / 100, rounded half to even, capped at 255; a negative
// Percent lightens. The result is a plain RGB colour.
TColor DarkenColor(TColor Color, Integer Percent);
// All fifteen colours clNone: tones that have not been set.
TColorTones EmptyColorTones();
