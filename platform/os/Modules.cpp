#include "platform/os/Modules.h"

#include <map>
#include <memory>
#include <mutex>

#include "platform/base/SysUtils.h"
#include "platform/os/Version.h"

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
