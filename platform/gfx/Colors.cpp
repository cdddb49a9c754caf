#include "platform/gfx/Colors.h"

#include <array>
#include <atomic>
#include <cstdio>
#include <cwctype>
#include <mutex>

#include "platform/base/Exceptions.h"
#include "platform/base/Filer.h"

namespace {

constexpr std::array<COLORREF, SYS_COLOR_COUNT> kDefaultScheme = {
    RGB(200, 200, 200),  // scroll bar
    RGB(0, 0, 0),        // desktop
    RGB(153, 180, 209),  // active caption
    RGB(191, 205, 219),  // inactive caption
    RGB(240, 240, 240),  // menu
    RGB(255, 255, 255),  // window
    RGB(100, 100, 100),  // window frame
    RGB(0, 0, 0),        // menu text
    RGB(0, 0, 0),        // window text
    RGB(0, 0, 0),        // caption text
    RGB(180, 180, 180),  // active border
    RGB(244, 247, 252),  // inactive border
    RGB(171, 171, 171),  // application work space
    RGB(51, 153, 255),   // highlight
    RGB(255, 255, 255),  // highlight text
    RGB(240, 240, 240),  // button face
    RGB(160, 160, 160),  // button shadow
    RGB(109, 109, 109),  // grey text
    RGB(0, 0, 0),        // button text
    RGB(67, 78, 84),     // inactive caption text
    RGB(255, 255, 255),  // button highlight
    RGB(105, 105, 105),  // 3D dark shadow
    RGB(227, 227, 227),  // 3D light
    RGB(0, 0, 0),        // info text
    RGB(255, 255, 225),  // info background
    RGB(0, 0, 0),        // (unused index)
    RGB(0, 102, 204),    // hot-tracked item
    RGB(185, 209, 234),  // gradient active caption
    RGB(215, 228, 242),  // gradient inactive caption
    RGB(51, 153, 255),   // menu highlight
    RGB(240, 240, 240),  // menu bar
};

std::array<std::atomic<COLORREF>, SYS_COLOR_COUNT>& Scheme()
{
    static std::array<std::atomic<COLORREF>, SYS_COLOR_COUNT> s;
    static const bool init = [] {
        for (int i = 0; i < SYS_COLOR_COUNT; ++i) s[i].store(kDefaultScheme[i]);
        return true;
    }();
    (void)init;
    return s;
}

std::atomic<uint32_t> gGeneration{0};

struct TColorName {
    TColor Value;
    const wchar_t* Name;
};

const TColorName kColorNames[] = {
    {clBlack, L"clBlack"}, {clMaroon, L"clMaroon"}, {clGreen, L"clGreen"},
    {clOlive, L"clOlive"}, {clNavy, L"clNavy"}, {clPurple, L"clPurple"}, {clTeal, L"clTeal"},
    {clGray, L"clGray"}, {clSilver, L"clSilver"}, {clRed, L"clRed"}, {clLime, L"clLime"},
    {clYellow, L"clYellow"}, {clBlue, L"clBlue"}, {clFuchsia, L"clFuchsia"}, {clAqua, L"clAqua"},
    {clWhite, L"clWhite"}, {clMoneyGreen, L"clMoneyGreen"}, {clSkyBlue, L"clSkyBlue"},
    {clCream, L"clCream"}, {clMedGray, L"clMedGray"},
    {clScrollBar, L"clScrollBar"}, {clBackground, L"clBackground"},
    {clActiveCaption, L"clActiveCaption"}, {clInactiveCaption, L"clInactiveCaption"},
    {clMenu, L"clMenu"}, {clWindow, L"clWindow"}, {clWindowFrame, L"clWindowFrame"},
    {clMenuText, L"clMenuText"}, {clWindowText, L"clWindowText"},
    {clCaptionText, L"clCaptionText"}, {clActiveBorder, L"clActiveBorder"},
    {clInactiveBorder, L"clInactiveBorder"}, {clAppWorkSpace, L"clAppWorkSpace"},
    {clHighlight, L"clHighlight"}, {clHighlightText, L"clHighlightText"},
    {clBtnFace, L"clBtnFace"}, {clBtnShadow, L"clBtnShadow"}, {clGrayText, L"clGrayText"},
    {clBtnText, L"clBtnText"}, {clInactiveCaptionText, L"clInactiveCaptionText"},
    {clBtnHighlight, L"clBtnHighlight"}, {cl3DDkShadow, L"cl3DDkShadow"},
    {cl3DLight, L"cl3DLight"}, {clInfoText, L"clInfoText"}, {clInfoBk, L"clInfoBk"},
    {clHotLight, L"clHotLight"}, {clGradientActiveCaption, L"clGradientActiveCaption"},
    {clGradientInactiveCaption, L"clGradientInactiveCaption"},
    {clMenuHighlight, L"clMenuHighlight"}, {clMenuBar, L"clMenuBar"},
    {clNone, L"clNone"}, {clDefault, L"clDefault"},
};

bool SameText(const String& a, const wchar_t* b)
{
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::towlower(a[i]) != std::towlower(b[i])) return false;
    return i == a.size() && b[i] == 0;
}

}  // namespace

DWORD GetSysColor(int index)
{
    if (index < 0 || index >= SYS_COLOR_COUNT) return 0;
    return Scheme()[index].load(std::memory_order_relaxed);
}

BOOL SetSysColors(int count, const int* elements, const COLORREF* values)
{
    if (count < 0 || (count > 0 && (!elements || !values))) return 0;
    for (int i = 0; i < count; ++i)
        if (elements[i] >= 0 && elements[i] < SYS_COLOR_COUNT)
            Scheme()[elements[i]].store(values[i] & 0xFFFFFF);
    gGeneration.fetch_add(1);
    return 1;
}

void ResetSysColors()
{
    for (int i = 0; i < SYS_COLOR_COUNT; ++i) Scheme()[i].store(kDefaultScheme[i]);
    gGeneration.fetch_add(1);
}

uint32_t SysColorGeneration() { return gGeneration.load(); }

bool IsSystemColor(TColor color) { return (uint32_t(color) & 0xFF000000u) == 0xFF000000u; }

Integer ColorToRGB(TColor color)
{
    if (IsSystemColor(color)) return Integer(GetSysColor(int(color & 0xFF)));
    return color;
}

bool IdentToColor(const String& ident, TColor& color)
{
    for (const auto& n : kColorNames)
        if (SameText(ident, n.Name)) {
            color = n.Value;
            return true;
        }
    return false;
}

bool ColorToIdent(TColor color, String& ident)
{
    for (const auto& n : kColorNames)
        if (n.Value == color) {
            ident = n.Name;
            return true;
        }
    return false;
}

String ColorToString(TColor color)
{
    String s;
    if (ColorToIdent(color, s)) return s;
    wchar_t buf[16];
    swprintf(buf, 16, L"$%08X", uint32_t(color));
    return buf;
}

TColor StringToColor(const String& s)
{
    TColor c;
    if (IdentToColor(s, c)) return c;
    String t = s;
    bool hex = false;
    if (!t.empty() && t[0] == L'$') { t = t.substr(1); hex = true; }
    else if (t.size() > 2 && t[0] == L'0' && (t[1] == L'x' || t[1] == L'X')) { t = t.substr(2); hex = true; }
    if (t.empty()) throw EConvertError(L"'" + s + L"' is not a valid integer value");
    uint64_t v = 0;
    bool neg = false;
    size_t i = 0;
    if (!hex && (t[0] == L'-' || t[0] == L'+')) { neg = t[0] == L'-'; i = 1; }
    if (i >= t.size()) throw EConvertError(L"'" + s + L"' is not a valid integer value");
    for (; i < t.size(); ++i) {
        wchar_t ch = t[i];
        int d;
        if (ch >= L'0' && ch <= L'9') d = ch - L'0';
        else if (hex && ch >= L'a' && ch <= L'f') d = ch - L'a' + 10;
        else if (hex && ch >= L'A' && ch <= L'F') d = ch - L'A' + 10;
        else throw EConvertError(L"'" + s + L"' is not a valid integer value");
        v = v * (hex ? 16 : 10) + d;
        if (v > 0xFFFFFFFFull) throw EConvertError(L"'" + s + L"' is not a valid integer value");
    }
    if (neg) v = uint64_t(-int64_t(v));
    return TColor(uint32_t(v));
}

namespace {
// Colours stream by name ("clRed") wherever a published property says its
// type is TColor (fonts, pens, brushes, controls, grid cells).
const bool kColorIdentsRegistered = [] {
    RegisterIntegerConsts(
        L"TColor",
        [](const String& ident, Int64& value) {
            TColor c;
            if (!IdentToColor(ident, c)) return false;
            value = Int64(c);
            return true;
        },
        [](Int64 value, String& ident) { return ColorToIdent(TColor(value), ident); });
    return true;
}();
}  // namespace

// ---------------------------------------------------------------------------
// Web colour names

String WebColorName(TColor color)
{
    // The CSS named colours as 0xRRGGBB, in alphabetical order.
    struct TNamed {
        uint32_t Rgb;
        const wchar_t* Name;
    };
    static const TNamed names[] = {
        {0xF0F8FF, L"aliceblue"},
        {0xFAEBD7, L"antiquewhite"},
        {0x00FFFF, L"aqua"},
        {0x7FFFD4, L"aquamarine"},
        {0xF0FFFF, L"azure"},
        {0xF5F5DC, L"beige"},
        {0xFFE4C4, L"bisque"},
        {0x000000, L"black"},
        {0xFFEBCD, L"blanchedalmond"},
        {0x0000FF, L"blue"},
        {0x8A2BE2, L"blueviolet"},
        {0xA52A2A, L"brown"},
        {0xDEB887, L"burlywood"},
        {0x5F9EA0, L"cadetblue"},
        {0x7FFF00, L"chartreuse"},
        {0xD2691E, L"chocolate"},
        {0xFF7F50, L"coral"},
        {0x6495ED, L"cornflowerblue"},
        {0xFFF8DC, L"cornsilk"},
        {0xDC143C, L"crimson"},
        {0x00FFFF, L"cyan"},
        {0x00008B, L"darkblue"},
        {0x008B8B, L"darkcyan"},
        {0xB8860B, L"darkgoldenrod"},
        {0xA9A9A9, L"darkgray"},
        {0x006400, L"darkgreen"},
        {0xA9A9A9, L"darkgrey"},
        {0xBDB76B, L"darkkhaki"},
        {0x8B008B, L"darkmagenta"},
        {0x556B2F, L"darkolivegreen"},
        {0xFF8C00, L"darkorange"},
        {0x9932CC, L"darkorchid"},
        {0x8B0000, L"darkred"},
        {0xE9967A, L"darksalmon"},
        {0x8FBC8F, L"darkseagreen"},
        {0x483D8B, L"darkslateblue"},
        {0x2F4F4F, L"darkslategray"},
        {0x2F4F4F, L"darkslategrey"},
        {0x00CED1, L"darkturquoise"},
        {0x9400D3, L"darkviolet"},
        {0xFF1493, L"deeppink"},
        {0x00BFFF, L"deepskyblue"},
        {0x696969, L"dimgray"},
        {0x696969, L"dimgrey"},
        {0x1E90FF, L"dodgerblue"},
        {0xB22222, L"firebrick"},
        {0xFFFAF0, L"floralwhite"},
        {0x228B22, L"forestgreen"},
        {0xFF00FF, L"fuchsia"},
        {0xDCDCDC, L"gainsboro"},
        {0xF8F8FF, L"ghostwhite"},
        {0xFFD700, L"gold"},
        {0xDAA520, L"goldenrod"},
        {0x808080, L"gray"},
        {0x008000, L"green"},
        {0xADFF2F, L"greenyellow"},
        {0x808080, L"grey"},
        {0xF0FFF0, L"honeydew"},
        {0xFF69B4, L"hotpink"},
        {0xCD5C5C, L"indianred"},
        {0x4B0082, L"indigo"},
        {0xFFFFF0, L"ivory"},
        {0xF0E68C, L"khaki"},
        {0xE6E6FA, L"lavender"},
        {0xFFF0F5, L"lavenderblush"},
        {0x7CFC00, L"lawngreen"},
        {0xFFFACD, L"lemonchiffon"},
        {0xADD8E6, L"lightblue"},
        {0xF08080, L"lightcoral"},
        {0xE0FFFF, L"lightcyan"},
        {0xFAFAD2, L"lightgoldenrodyellow"},
        {0xD3D3D3, L"lightgray"},
        {0x90EE90, L"lightgreen"},
        {0xD3D3D3, L"lightgrey"},
        {0xFFB6C1, L"lightpink"},
        {0xFFA07A, L"lightsalmon"},
        {0x20B2AA, L"lightseagreen"},
        {0x87CEFA, L"lightskyblue"},
        {0x778899, L"lightslategray"},
        {0x778899, L"lightslategrey"},
        {0xB0C4DE, L"lightsteelblue"},
        {0xFFFFE0, L"lightyellow"},
        {0x00FF00, L"lime"},
        {0x32CD32, L"limegreen"},
        {0xFAF0E6, L"linen"},
        {0xFF00FF, L"magenta"},
        {0x800000, L"maroon"},
        {0x66CDAA, L"mediumaquamarine"},
        {0x0000CD, L"mediumblue"},
        {0xBA55D3, L"mediumorchid"},
        {0x9370DB, L"mediumpurple"},
        {0x3CB371, L"mediumseagreen"},
        {0x7B68EE, L"mediumslateblue"},
        {0x00FA9A, L"mediumspringgreen"},
        {0x48D1CC, L"mediumturquoise"},
        {0xC71585, L"mediumvioletred"},
        {0x191970, L"midnightblue"},
        {0xF5FFFA, L"mintcream"},
        {0xFFE4E1, L"mistyrose"},
        {0xFFE4B5, L"moccasin"},
        {0xFFDEAD, L"navajowhite"},
        {0x000080, L"navy"},
        {0xFDF5E6, L"oldlace"},
        {0x808000, L"olive"},
        {0x6B8E23, L"olivedrab"},
        {0xFFA500, L"orange"},
        {0xFF4500, L"orangered"},
        {0xDA70D6, L"orchid"},
        {0xEEE8AA, L"palegoldenrod"},
        {0x98FB98, L"palegreen"},
        {0xAFEEEE, L"paleturquoise"},
        {0xDB7093, L"palevioletred"},
        {0xFFEFD5, L"papayawhip"},
        {0xFFDAB9, L"peachpuff"},
        {0xCD853F, L"peru"},
        {0xFFC0CB, L"pink"},
        {0xDDA0DD, L"plum"},
        {0xB0E0E6, L"powderblue"},
        {0x800080, L"purple"},
        {0x663399, L"rebeccapurple"},
        {0xFF0000, L"red"},
        {0xBC8F8F, L"rosybrown"},
        {0x4169E1, L"royalblue"},
        {0x8B4513, L"saddlebrown"},
        {0xFA8072, L"salmon"},
        {0xF4A460, L"sandybrown"},
        {0x2E8B57, L"seagreen"},
        {0xFFF5EE, L"seashell"},
        {0xA0522D, L"sienna"},
        {0xC0C0C0, L"silver"},
        {0x87CEEB, L"skyblue"},
        {0x6A5ACD, L"slateblue"},
        {0x708090, L"slategray"},
        {0x708090, L"slategrey"},
        {0xFFFAFA, L"snow"},
        {0x00FF7F, L"springgreen"},
        {0x4682B4, L"steelblue"},
        {0xD2B48C, L"tan"},
        {0x008080, L"teal"},
        {0xD8BFD8, L"thistle"},
        {0xFF6347, L"tomato"},
        {0x40E0D0, L"turquoise"},
        {0xEE82EE, L"violet"},
        {0xF5DEB3, L"wheat"},
        {0xFFFFFF, L"white"},
        {0xF5F5F5, L"whitesmoke"},
        {0xFFFF00, L"yellow"},
        {0x9ACD32, L"yellowgreen"},
    };
    const uint32_t v = uint32_t(ColorToRGB(color)) & 0xFFFFFFu;
    const uint32_t rgb = ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
    for (const TNamed& n : names)
        if (n.Rgb == rgb) return n.Name;
    wchar_t buf[8];
    std::swprintf(buf, 8, L"#%06X", unsigned(rgb));
    return buf;
}
