#include "controls/foundation/VodTBXPVS.h"

#include <mutex>

namespace VodTBXPVS {

namespace {

std::mutex GLock;
TTable GTable;
HMODULE GModule = nullptr;
Integer GCount = 0;

}  // namespace

TTable ThemeAPI()
{
    std::lock_guard<std::mutex> g(GLock);
    return GTable;
}

bool Loaded()
{
    std::lock_guard<std::mutex> g(GLock);
    return GModule != nullptr;
}

Integer BindCount()
{
    std::lock_guard<std::mutex> g(GLock);
    return GCount;
}

void BindThemeAPI()
{
    std::lock_guard<std::mutex> g(GLock);
    HMODULE module = LoadLibrary(L"UXTHEME.DLL");
    if (!module) return;
    ++GCount;
    GModule = module;
#define VEL_BIND(name) GTable.name = reinterpret_cast<decltype(GTable.name)>(GetProcAddress(module, #name));
    VEL_THEME_API_FIRST(VEL_BIND)
    VEL_THEME_API_LAST(VEL_BIND)
#undef VEL_BIND
}

void ReleaseThemeAPI()
{
    std::lock_guard<std::mutex> g(GLock);
    if (GCount > 0) --GCount;
    if (GModule) {
        FreeLibrary(GModule);
        GModule = nullptr;
        GTable = TTable{};   // nothing calls into a freed library
    }
}

void Startup() { BindThemeAPI(); }

void Shutdown()
{
    while (BindCount() > 0) ReleaseThemeAPI();
}

}  // namespace VodTBXPVS
