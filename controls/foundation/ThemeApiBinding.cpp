#include "controls/foundation/ThemeApiBinding.h"

namespace {

// Bound and unbound only by the library start-up and shut-down, on the main
// thread, before and after every control's life.
TThemeApiTable GTable;
bool GLoaded = false;
HMODULE GModule = nullptr;

}  // namespace

const TThemeApiTable& ThemeAPI() { return GTable; }
bool ThemeAPILoaded() { return GLoaded; }
HMODULE ThemeAPIModule() { return GModule; }

void BindThemeAPI()
{
    if (GLoaded) return;
    HMODULE module = LoadLibrary(L"UXTHEME.DLL");
    if (!module) {
        GModule = nullptr;
        return;
    }
    GModule = module;
    GLoaded = true;
    // Every lookup is expected to succeed; a missing one leaves its entry
    // empty, which callers read as "not there".
#define VEL_BIND(name) GTable.name = reinterpret_cast<decltype(GTable.name)>(GetProcAddress(module, #name));
    VEL_THEME_API_FIRST(VEL_BIND)
    VEL_BIND(GetThemePartSize)
    VEL_THEME_API_LAST(VEL_BIND)
#undef VEL_BIND
}

void UnbindThemeAPI()
{
    if (!GLoaded) return;
    FreeLibrary(GModule);
    GModule = nullptr;
    GLoaded = false;
    GTable = TThemeApiTable{};
}
