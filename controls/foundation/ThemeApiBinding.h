// The theme-API binding: the theme library's functions, looked up by name at
// library start-up into one table that every theme-using control family calls
// through (it stands for the binders the families would otherwise carry each).
// A caller tests for Windows XP or later and, before drawing, that the
// table's IsThemeActive answers true; when the theme library cannot be
// loaded every entry stays empty and callers take their classic paths.
#pragma once

#include "platform/os/Modules.h"
#include "platform/ui/Themes.h"

// The theme functions in binding order; F(name) for each. The table of the
// tool-bar binding (VodTBXPVS) has every one but GetThemePartSize.
#define VEL_THEME_API_FIRST(F)                                                              \
    F(OpenThemeData) F(CloseThemeData) F(DrawThemeBackground) F(DrawThemeText)             \
    F(GetThemeBackgroundContentRect) F(GetThemeBackgroundExtent) F(GetThemeTextExtent)     \
    F(GetThemeTextMetrics) F(GetThemeBackgroundRegion) F(HitTestThemeBackground)           \
    F(DrawThemeEdge) F(DrawThemeIcon) F(IsThemePartDefined)                                \
    F(IsThemeBackgroundPartiallyTransparent) F(GetThemeColor) F(GetThemeMetric)            \
    F(GetThemeString) F(GetThemeBool) F(GetThemeInt) F(GetThemeEnumValue)                  \
    F(GetThemePosition) F(GetThemeFont) F(GetThemeRect) F(GetThemeMargins)                 \
    F(GetThemeIntList) F(SetWindowTheme) F(GetThemeFilename) F(GetThemeSysColor)           \
    F(GetThemeSysColorBrush) F(GetThemeSysBool) F(GetThemeSysSize) F(GetThemeSysFont)      \
    F(GetThemeSysString) F(GetThemeSysInt) F(IsThemeActive) F(IsAppThemed)                 \
    F(GetWindowTheme) F(EnableThemeDialogTexture) F(IsThemeDialogTextureEnabled)           \
    F(GetThemeAppProperties) F(SetThemeAppProperties) F(GetCurrentThemeName)               \
    F(GetThemeDocumentationProperty)
#define VEL_THEME_API_LAST(F) F(DrawThemeParentBackground) F(EnableTheming)

#define VEL_THEME_API_ENTRY(name) decltype(&::name) name = nullptr;

// One entry per function, typed as the platform's function; empty until bound.
struct TThemeApiTable {
    VEL_THEME_API_FIRST(VEL_THEME_API_ENTRY)
    VEL_THEME_API_ENTRY(GetThemePartSize)
    VEL_THEME_API_LAST(VEL_THEME_API_ENTRY)
};

// The shared table. Bound by the library start-up; read by the controls.
const TThemeApiTable& ThemeAPI();
// Whether the theme library is loaded and the table filled.
bool ThemeAPILoaded();
HMODULE ThemeAPIModule();

// Loads "UXTHEME.DLL" and fills every entry by name. Binding again while
// bound does nothing; a failed load leaves the flag off and every entry empty.
void BindThemeAPI();
// Frees the library and clears the flag (once: a second unbinding does
// nothing). The entries are emptied too, so nothing can call into a freed
// library.
void UnbindThemeAPI();
