// Colours: TColor (00BBGGRR), the named and system colours, and their
// resolution to plain RGB from the one system colour scheme of the process.
#pragma once

#include <cstdint>

#include "platform/base/Types.h"

using TColor = Integer;
using COLORREF = DWORD;

constexpr TColor TColorOf(uint32_t v) { return static_cast<TColor>(v); }

constexpr COLORREF RGB(Byte r, Byte g, Byte b)
{
    return COLORREF(r) | (COLORREF(g) << 8) | (COLORREF(b) << 16);
}
constexpr Byte GetRValue(COLORREF c) { return Byte(c & 0xFF); }
constexpr Byte GetGValue(COLORREF c) { return Byte((c >> 8) & 0xFF); }
constexpr Byte GetBValue(COLORREF c) { return Byte((c >> 16) & 0xFF); }

constexpr COLORREF CLR_INVALID = 0xFFFFFFFFu;
constexpr COLORREF CLR_NONE = 0xFFFFFFFFu;
constexpr COLORREF CLR_DEFAULT = 0xFF000000u;

// System colour indices.
enum : int {
    COLOR_SCROLLBAR = 0, COLOR_BACKGROUND = 1, COLOR_DESKTOP = 1, COLOR_ACTIVECAPTION = 2,
    COLOR_INACTIVECAPTION = 3, COLOR_MENU = 4, COLOR_WINDOW = 5, COLOR_WINDOWFRAME = 6,
    COLOR_MENUTEXT = 7, COLOR_WINDOWTEXT = 8, COLOR_CAPTIONTEXT = 9, COLOR_ACTIVEBORDER = 10,
    COLOR_INACTIVEBORDER = 11, COLOR_APPWORKSPACE = 12, COLOR_HIGHLIGHT = 13,
    COLOR_HIGHLIGHTTEXT = 14, COLOR_BTNFACE = 15, COLOR_3DFACE = 15, COLOR_BTNSHADOW = 16,
    COLOR_3DSHADOW = 16, COLOR_GRAYTEXT = 17, COLOR_BTNTEXT = 18, COLOR_INACTIVECAPTIONTEXT = 19,
    COLOR_BTNHIGHLIGHT = 20, COLOR_3DHIGHLIGHT = 20, COLOR_3DHILIGHT = 20, COLOR_BTNHILIGHT = 20,
    COLOR_3DDKSHADOW = 21, COLOR_3DLIGHT = 22, COLOR_INFOTEXT = 23, COLOR_INFOBK = 24,
    COLOR_HOTLIGHT = 26, COLOR_GRADIENTACTIVECAPTION = 27, COLOR_GRADIENTINACTIVECAPTION = 28,
    COLOR_MENUHILIGHT = 29, COLOR_MENUBAR = 30,
};
constexpr int SYS_COLOR_COUNT = 31;

// Named colours.
constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clLtGray = 0xC0C0C0;
constexpr TColor clDkGray = 0x808080;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// System colours: FF in the top byte, the index in the low byte.
constexpr TColor clSystemColor = TColorOf(0xFF000000u);
constexpr TColor clScrollBar = TColorOf(0xFF000000u);
constexpr TColor clBackground = TColorOf(0xFF000001u);
constexpr TColor clActiveCaption = TColorOf(0xFF000002u);
constexpr TColor clInactiveCaption = TColorOf(0xFF000003u);
constexpr TColor clMenu = TColorOf(0xFF000004u);
constexpr TColor clWindow = TColorOf(0xFF000005u);
constexpr TColor clWindowFrame = TColorOf(0xFF000006u);
constexpr TColor clMenuText = TColorOf(0xFF000007u);
constexpr TColor clWindowText = TColorOf(0xFF000008u);
constexpr TColor clCaptionText = TColorOf(0xFF000009u);
constexpr TColor clActiveBorder = TColorOf(0xFF00000Au);
constexpr TColor clInactiveBorder = TColorOf(0xFF00000Bu);
constexpr TColor clAppWorkSpace = TColorOf(0xFF00000Cu);
constexpr TColor clHighlight = TColorOf(0xFF00000Du);
constexpr TColor clHighlightText = TColorOf(0xFF00000Eu);
constexpr TColor clBtnFace = TColorOf(0xFF00000Fu);
constexpr TColor clBtnShadow = TColorOf(0xFF000010u);
constexpr TColor clGrayText = TColorOf(0xFF000011u);
constexpr TColor clBtnText = TColorOf(0xFF000012u);
constexpr TColor clInactiveCaptionText = TColorOf(0xFF000013u);
constexpr TColor clBtnHighlight = TColorOf(0xFF000014u);
constexpr TColor cl3DDkShadow = TColorOf(0xFF000015u);
constexpr TColor cl3DLight = TColorOf(0xFF000016u);
constexpr TColor clInfoText = TColorOf(0xFF000017u);
constexpr TColor clInfoBk = TColorOf(0xFF000018u);
constexpr TColor clHotLight = TColorOf(0xFF00001Au);
constexpr TColor clGradientActiveCaption = TColorOf(0xFF00001Bu);
constexpr TColor clGradientInactiveCaption = TColorOf(0xFF00001Cu);
constexpr TColor clMenuHighlight = TColorOf(0xFF00001Du);
constexpr TColor clMenuBar = TColorOf(0xFF00001Eu);

// The colour of a system colour element in the current scheme (0 for an
// index outside the table).
DWORD GetSysColor(int index);
// Changes elements of the scheme (tests, colour-change handling).
BOOL SetSysColors(int count, const int* elements, const COLORREF* values);
// Restores the built-in scheme.
void ResetSysColors();
// Counts scheme changes, so caches of resolved colours can tell they are stale.
uint32_t SysColorGeneration();

// A system colour becomes its current RGB value; any other value (clNone and
// clDefault included) comes back unchanged, as the platform does.
Integer ColorToRGB(TColor color);
bool IsSystemColor(TColor color);

// Colour names ("clRed", "clBtnFace" ...; any case) to values and back.
bool IdentToColor(const String& ident, TColor& color);
bool ColorToIdent(TColor color, String& ident);
// Name or hexadecimal ("$00FF00") text of a colour, and its reverse; the
// reverse raises EConvertError on text that is neither.
String ColorToString(TColor color);
TColor StringToColor(const String& s);

// The web (CSS) name of a colour ("red", "aliceblue" ...); a system colour is
// resolved first. A colour without a name gives "#RRGGBB". Where two names
// share a value the first in alphabetical order is given ("aqua", "gray").
String WebColorName(TColor color);
