#include "platform/os/Modules.h"

#include <map>
#include <memory>
#include <mutex>

#include "platform/base/SysUtils.h"
#include "platform/os/Version.h"
#include "platform/ui/Themes.h"
#include "platform/ui/Windows.h"

namespace {

struct TModule {
    String Name;
    std::map<std::string, void*> Exports;
    bool Hidden = false;
};

struct TModuleTable {
    std::mutex Lock;
    std::map<String, std::unique_ptr<TModule>> Modules;
    TModule Program;

    TModule* Find(const String& key)
    {
        auto it = Modules.find(key);
        return it == Modules.end() ? nullptr : it->second.get();
    }
    TModule* Ensure(const String& key)
    {
        std::unique_ptr<TModule>& m = Modules[key];
        if (!m) {
            m = std::make_unique<TModule>();
            m->Name = key;
        }
        return m.get();
    }
};

String Normalize(const String& name)
{
    size_t slash = name.find_last_of(L"\\/");
    String base = slash == String::npos ? name : name.substr(slash + 1);
    for (Char& c : base)
        if (c >= L'A' && c <= L'Z') c = Char(c - L'A' + L'a');
    if (base.find(L'.') == String::npos) base += L".dll";
    return base;
}

TModuleTable& Table()
{
    static TModuleTable* table = [] {
        auto* t = new TModuleTable;   // lives for the whole process
        for (const wchar_t* m : {L"kernel32.dll", L"user32.dll", L"gdi32.dll", L"uxtheme.dll",
                                 L"shlwapi.dll", L"comctl32.dll", L"ntdll.dll", L"ole32.dll",
                                 L"shell32.dll", L"advapi32.dll"})
            t->Ensure(m);
        t->Ensure(L"kernel32.dll")->Exports["GetLocaleInfoEx"] = reinterpret_cast<void*>(&GetLocaleInfoEx);
        t->Ensure(L"shlwapi.dll")->Exports["StrCmpLogicalW"] = reinterpret_cast<void*>(&StrCmpLogicalW);
        t->Ensure(L"ntdll.dll")->Exports["RtlGetVersion"] = reinterpret_cast<void*>(&RtlGetVersion);
        TModule* user = t->Ensure(L"user32.dll");
        user->Exports["UpdateLayeredWindow"] = reinterpret_cast<void*>(&UpdateLayeredWindow);
        user->Exports["SetLayeredWindowAttributes"] = reinterpret_cast<void*>(&SetLayeredWindowAttributes);
        TModule* theme = t->Ensure(L"uxtheme.dll");
#define VEL_THEME_EXPORT(fn) theme->Exports[#fn] = reinterpret_cast<void*>(&::fn)
        VEL_THEME_EXPORT(OpenThemeData);
        VEL_THEME_EXPORT(CloseThemeData);
        VEL_THEME_EXPORT(DrawThemeBackground);
        VEL_THEME_EXPORT(DrawThemeText);
        VEL_THEME_EXPORT(GetThemeBackgroundContentRect);
        VEL_THEME_EXPORT(GetThemeBackgroundExtent);
        VEL_THEME_EXPORT(GetThemeTextExtent);
        VEL_THEME_EXPORT(GetThemeTextMetrics);
        VEL_THEME_EXPORT(GetThemeBackgroundRegion);
        VEL_THEME_EXPORT(HitTestThemeBackground);
        VEL_THEME_EXPORT(DrawThemeEdge);
        VEL_THEME_EXPORT(DrawThemeIcon);
        VEL_THEME_EXPORT(IsThemePartDefined);
        VEL_THEME_EXPORT(IsThemeBackgroundPartiallyTransparent);
        VEL_THEME_EXPORT(GetThemeColor);
        VEL_THEME_EXPORT(GetThemeMetric);
        VEL_THEME_EXPORT(GetThemeString);
        VEL_THEME_EXPORT(GetThemeBool);
        VEL_THEME_EXPORT(GetThemeInt);
        VEL_THEME_EXPORT(GetThemeEnumValue);
        VEL_THEME_EXPORT(GetThemePosition);
        VEL_THEME_EXPORT(GetThemeFont);
        VEL_THEME_EXPORT(GetThemeRect);
        VEL_THEME_EXPORT(GetThemeMargins);
        VEL_THEME_EXPORT(GetThemeIntList);
        VEL_THEME_EXPORT(SetWindowTheme);
        VEL_THEME_EXPORT(GetThemeFilename);
        VEL_THEME_EXPORT(GetThemeSysColor);
        VEL_THEME_EXPORT(GetThemeSysColorBrush);
        VEL_THEME_EXPORT(GetThemeSysBool);
        VEL_THEME_EXPORT(GetThemeSysSize);
        VEL_THEME_EXPORT(GetThemeSysFont);
        VEL_THEME_EXPORT(GetThemeSysString);
        VEL_THEME_EXPORT(GetThemeSysInt);
        VEL_THEME_EXPORT(IsThemeActive);
        VEL_THEME_EXPORT(IsAppThemed);
        VEL_THEME_EXPORT(GetWindowTheme);
        VEL_THEME_EXPORT(EnableThemeDialogTexture);
        VEL_THEME_EXPORT(IsThemeDialogTextureEnabled);
        VEL_THEME_EXPORT(GetThemeAppProperties);
        VEL_THEME_EXPORT(SetThemeAppProperties);
        VEL_THEME_EXPORT(GetCurrentThemeName);
        VEL_THEME_EXPORT(GetThemeDocumentationProperty);
        VEL_THEME_EXPORT(GetThemePartSize);
        VEL_THEME_EXPORT(DrawThemeParentBackground);
        VEL_THEME_EXPORT(EnableTheming);
#undef VEL_THEME_EXPORT
        return t;
    }();
    return *table;
}

}  // namespace

HMODULE LoadLibrary(const Char* fileName)
{
    if (!fileName || !*fileName) return nullptr;
    TModuleTable& t = Table();
    std::lock_guard<std::mutex> g(t.Lock);
    TModule* m = t.Find(Normalize(fileName));
    return m && !m->Hidden ? m : nullptr;
}

HMODULE GetModuleHandle(const Char* moduleName)
{
    TModuleTable& t = Table();
    if (!moduleName) return &t.Program;
    return LoadLibrary(moduleName);
}

FARPROC GetProcAddress(HMODULE module, const char* procName)
{
    if (!module || !procName) return nullptr;
    TModuleTable& t = Table();
    std::lock_guard<std::mutex> g(t.Lock);
    auto* m = static_cast<TModule*>(module);
    auto it = m->Exports.find(procName);
    return it == m->Exports.end() ? nullptr : it->second;
}

BOOL FreeLibrary(HMODULE module) { return module ? 1 : 0; }

void RegisterModuleExport(const String& module, const std::string& name, void* fn)
{
    TModuleTable& t = Table();
    std::lock_guard<std::mutex> g(t.Lock);
    TModule* m = t.Ensure(Normalize(module));
    if (fn)
        m->Exports[name] = fn;
    else
        m->Exports.erase(name);
}

void SetModuleHidden(const String& module, bool hidden)
{
    TModuleTable& t = Table();
    std::lock_guard<std::mutex> g(t.Lock);
    if (TModule* m = t.Find(Normalize(module))) m->Hidden = hidden;
}

int GetLocaleInfoEx(const Char*, DWORD, Char* data, int size)
{
    if (data && size > 0) data[0] = 0;
    return 0;
}
