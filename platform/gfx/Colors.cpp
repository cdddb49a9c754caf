#include "platform/gfx/Colors.h"

#include <array>
#include <atomic>
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
