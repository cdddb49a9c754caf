// The theme library's remaining functions and the colour-scheme test aid.
#include <gtest/gtest.h>

#include "platform/gfx/Colors.h"
#include "platform/ui/Themes.h"

TEST(ThemeLibrary, ColourSchemeNameIsSettable)
{
    wchar_t file[255], color[255], size[255];
    ASSERT_EQ(S_OK, GetCurrentThemeName(file, 255, color, 255, size, 255));
    EXPECT_EQ(String(L"NormalColor"), color);
    for (const wchar_t* name : {L"Metallic", L"HomeStead", L""}) {
        SetThemeColorSchemeName(name);
        ASSERT_EQ(S_OK, GetCurrentThemeName(file, 255, color, 255, size, 255));
        EXPECT_EQ(String(name), color);
        EXPECT_EQ(String(L"NormalSize"), size);
    }
    SetThemeColorSchemeName(L"NormalColor");
    ASSERT_EQ(S_OK, GetCurrentThemeName(nullptr, 0, color, 255, nullptr, 0));
    EXPECT_EQ(String(L"NormalColor"), color);
}

TEST(ThemeLibrary, TheRestAnswerTheLeastTheyCan)
{
    HTHEME t = OpenThemeData(nullptr, L"button");
    ASSERT_NE(t, nullptr);
    // The system colours, as they are now.
    EXPECT_EQ(GetThemeSysColor(t, COLOR_BTNFACE), GetSysColor(COLOR_BTNFACE));
    const int element = COLOR_WINDOW;
    const COLORREF value = RGB(1, 2, 3);
    SetSysColors(1, &element, &value);
    EXPECT_EQ(GetThemeSysColor(nullptr, COLOR_WINDOW), RGB(1, 2, 3));
    ResetSysColors();

    RECT r{0, 0, 10, 10}, out{7, 7, 7, 7};
    EXPECT_EQ(E_NOTIMPL, GetThemeBackgroundContentRect(t, nullptr, BP_PUSHBUTTON, 1, &r, &out));
    EXPECT_EQ(out, (RECT{7, 7, 7, 7}));   // untouched
    int v = 42;
    EXPECT_EQ(E_NOTIMPL, GetThemeInt(t, 1, 1, 0, &v));
    EXPECT_EQ(v, 42);
    EXPECT_EQ(E_NOTIMPL, DrawThemeText(t, nullptr, 1, 1, L"x", 1, 0, 0, &r));
    EXPECT_EQ(E_NOTIMPL, SetWindowTheme(nullptr, L"explorer", nullptr));
    EXPECT_EQ(E_NOTIMPL, EnableTheming(1));
    EXPECT_FALSE(IsThemePartDefined(t, BP_PUSHBUTTON, 0));
    EXPECT_FALSE(GetThemeSysBool(t, 0));
    EXPECT_EQ(GetThemeSysSize(t, 0), 0);
    EXPECT_EQ(GetThemeSysColorBrush(t, COLOR_BTNFACE), nullptr);
    EXPECT_EQ(GetWindowTheme(nullptr), nullptr);
    EXPECT_EQ(GetThemeAppProperties(), 0u);
    SetThemeAppProperties(3);
    EXPECT_EQ(GetThemeAppProperties(), 0u);
    CloseThemeData(t);
}
