#include "controls/edits/VodSystemProbes.h"

#include <cmath>
#include <vector>

#include "controls/foundation/ThemeApiBinding.h"
#include "platform/base/SysUtils.h"
#include "platform/os/Version.h"

namespace VodEdits {

Integer ComCtl32MajorVersion()
{
    DWORD size = GetFileVersionInfoSize(L"COMCTL32.DLL", nullptr);
    if (size == 0) return 0;
    std::vector<Byte> block(size);
    void* fixed = nullptr;
    UINT len = 0;
    if (!GetFileVersionInfo(L"COMCTL32.DLL", 0, size, block.data())) return 0;
    if (!VerQueryValue(block.data(), L"\\", &fixed, &len) || !fixed || len < sizeof(VS_FIXEDFILEINFO)) return 0;
    return Integer(HIWORD(static_cast<VS_FIXEDFILEINFO*>(fixed)->dwFileVersionMS));
}

bool IsWinXPOrLater()
{
    OSVERSIONINFO os;
    os.dwOSVersionInfoSize = sizeof(OSVERSIONINFO);
    if (!GetVersionEx(&os)) return false;
    return os.dwMajorVersion > 5 || (os.dwMajorVersion == 5 && os.dwMinorVersion != 0);
}

bool ThemeActive()
{
    const TThemeApiTable& api = ThemeAPI();
    return api.IsThemeActive && api.IsThemeActive();
}

bool DrawThemedPart(HWND Wnd, HDC DC, const wchar_t* ClassName, int Part, int State, const TRect& R)
{
    const TThemeApiTable& api = ThemeAPI();
    if (!api.OpenThemeData || !api.DrawThemeBackground || !api.CloseThemeData) return false;
    HTHEME theme = api.OpenThemeData(Wnd, ClassName);
    if (!theme) return false;
    TRect r = R;
    api.DrawThemeBackground(theme, DC, Part, State, &r, nullptr);
    api.CloseThemeData(theme);
    return true;
}

namespace {
Integer ZeroHeight(Integer ppi)
{
    HDC dc = CreateScreenIC();
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(9, ppi, 72);
    wcscpy(lf.lfFaceName, L"Tahoma");
    HFONT font = CreateFontIndirect(&lf);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE sz{};
    GetTextExtentPoint32(dc, L"0", 1, &sz);
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
    return sz.cy;
}
}  // namespace

float ScreenScale()
{
    Integer ppi = GdiScreenPixelsPerInch();
    if (ppi == 96) return 1.0f;
    Integer base = ZeroHeight(96);
    if (base <= 0) return 1.0f;
    return float(ZeroHeight(ppi)) / float(base);
}

Integer RoundScaled(float Scale, Integer Value) { return Integer(Round(Extended(Scale) * Value)); }

bool IsMouseButtonDown()
{
    return (GetAsyncKeyState(VK_RBUTTON) & 0x8000) != 0 || (GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0;
}

}  // namespace VodEdits
