// Library modules: the test aid that hides a library, and the exports the
// control library binds by name.
#include <gtest/gtest.h>

#include <iterator>

#include "platform/os/Modules.h"

TEST(Modules, AHiddenLibraryIsMissingUntilShownAgain)
{
    HMODULE before = LoadLibrary(L"shlwapi.dll");
    ASSERT_NE(before, nullptr);
    SetModuleHidden(L"SHLWAPI", true);
    EXPECT_EQ(LoadLibrary(L"shlwapi.dll"), nullptr);
    EXPECT_EQ(GetModuleHandle(L"c:\\windows\\system32\\ShlWApi.DLL"), nullptr);
    // A handle taken before keeps answering; other libraries are untouched.
    EXPECT_NE(GetProcAddress(before, "StrCmpLogicalW"), nullptr);
    EXPECT_NE(GetModuleHandle(L"kernel32"), nullptr);
    SetModuleHidden(L"nosuchlibrary.dll", true);   // unknown: nothing happens
    EXPECT_EQ(LoadLibrary(L"nosuchlibrary.dll"), nullptr);
    SetModuleHidden(L"shlwapi.dll", false);
    EXPECT_EQ(LoadLibrary(L"shlwapi"), before);
}

TEST(Modules, ThemeLibraryAndLayeredWindowCallsArePublished)
{
    HMODULE ux = LoadLibrary(L"UXTHEME.DLL");
    ASSERT_NE(ux, nullptr);
    const char* names[] = {
        "OpenThemeData", "CloseThemeData", "DrawThemeBackground", "DrawThemeText",
        "GetThemeBackgroundContentRect", "GetThemeBackgroundExtent", "GetThemeTextExtent",
        "GetThemeTextMetrics", "GetThemeBackgroundRegion", "HitTestThemeBackground",
        "DrawThemeEdge", "DrawThemeIcon", "IsThemePartDefined",
        "IsThemeBackgroundPartiallyTransparent", "GetThemeColor", "GetThemeMetric",
        "GetThemeString", "GetThemeBool", "GetThemeInt", "GetThemeEnumValue",
        "GetThemePosition", "GetThemeFont", "GetThemeRect", "GetThemeMargins",
        "GetThemeIntList", "SetWindowTheme", "GetThemeFilename", "GetThemeSysColor",
        "GetThemeSysColorBrush", "GetThemeSysBool", "GetThemeSysSize", "GetThemeSysFont",
        "GetThemeSysString", "GetThemeSysInt", "IsThemeActive", "IsAppThemed",
        "GetWindowTheme", "EnableThemeDialogTexture", "IsThemeDialogTextureEnabled",
        "GetThemeAppProperties", "SetThemeAppProperties", "GetCurrentThemeName",
        "GetThemeDocumentationProperty", "GetThemePartSize", "DrawThemeParentBackground",
        "EnableTheming",
    };
    static_assert(std::size(names) == 46);
    for (const char* n : names) EXPECT_NE(GetProcAddress(ux, n), nullptr) << n;
    using Active = BOOL (*)();
    auto active = reinterpret_cast<Active>(GetProcAddress(ux, "IsThemeActive"));
    EXPECT_TRUE(active());

    HMODULE user = LoadLibrary(L"user32");
    EXPECT_NE(GetProcAddress(user, "UpdateLayeredWindow"), nullptr);
    EXPECT_NE(GetProcAddress(user, "SetLayeredWindowAttributes"), nullptr);
}
