#include "platform/base/Resources.h"

#include <deque>
#include <mutex>

namespace {

struct TRegistry {
    std::mutex Lock;
    std::deque<TResourceEntry> Entries;   // stable addresses for HRSRC
};

TRegistry& Registry()
{
    static TRegistry r;
    return r;
}

wchar_t Upper(wchar_t c) { return (c >= L'a' && c <= L'z') ? wchar_t(c - 32) : c; }

}  // namespace

TResId::TResId(const wchar_t* name)
{
    String s = name ? name : L"";
    if (s.size() > 1 && s.size() <= 6 && s[0] == L'#') {
        unsigned v = 0;
        bool digits = true;
        for (size_t i = 1; i < s.size(); ++i) {
            if (s[i] < L'0' || s[i] > L'9') digits = false;
            else v = v * 10 + unsigned(s[i] - L'0');
        }
        if (digits && v <= 0xFFFF) {
            Id = Word(v);
            IsNumber = true;
            return;
        }
    }
    Name = s;
}

String TResId::ToString() const { return IsNumber ? L"#" + std::to_wstring(Id) : Name; }

bool operator==(const TResId& a, const TResId& b)
{
    if (a.IsNumber != b.IsNumber) return false;
    if (a.IsNumber) return a.Id == b.Id;
    if (a.Name.size() != b.Name.size()) return false;
    for (size_t i = 0; i < a.Name.size(); ++i)
        if (Upper(a.Name[i]) != Upper(b.Name[i])) return false;
    return true;
}

void RegisterResource(const TResId& Type, const TResId& Name, const void* Data, size_t Size)
{
    TRegistry& r = Registry();
    std::lock_guard<std::mutex> g(r.Lock);
    for (TResourceEntry& e : r.Entries) {
        if (e.Type == Type && e.Name == Name) {
            e.Data = static_cast<const Byte*>(Data);
            e.Size = Size;
            return;
        }
    }
    r.Entries.push_back({Type, Name, static_cast<const Byte*>(Data), Size});
}

HRSRC FindResource(HINSTANCE, const TResId& Name, const TResId& Type)
{
    TRegistry& r = Registry();
    std::lock_guard<std::mutex> g(r.Lock);
    for (const TResourceEntry& e : r.Entries)
        if (e.Type == Type && e.Name == Name) return &e;
    return nullptr;
}

const void* LoadResource(HINSTANCE, HRSRC Res) { return Res ? Res->Data : nullptr; }

DWORD SizeofResource(HINSTANCE, HRSRC Res) { return Res ? DWORD(Res->Size) : 0; }
