// The clipboard store, registered formats, the desktop text exchange and
// TClipboard.
#include "platform/ui/Clipbrd.h"

#include <algorithm>
#include <cstring>
#include <cwctype>
#include <map>
#include <mutex>

#include "platform/ui/backend/Sdl.h"

namespace {

struct TClipStore {
    std::recursive_mutex Lock;
    bool Open = false;
    HWND OpenWindow = nullptr;
    HWND Owner = nullptr;
    // Blocks in the order their formats were first set.
    std::vector<std::pair<UINT, HGLOBAL>> Blocks;
    // Synthesised text blocks, freed with the rest.
    std::vector<std::pair<UINT, HGLOBAL>> Synth;
    bool TextChanged = false;   // text was set since the clipboard was opened
    String Desktop;             // the desktop text we last sent or took
    std::map<UINT, String> Names;
};

TClipStore& Store()
{
    static TClipStore s;
    return s;
}

HGLOBAL Find(const std::vector<std::pair<UINT, HGLOBAL>>& v, UINT format)
{
    for (auto& [f, h] : v)
        if (f == format) return h;
    return nullptr;
}

void FreeAll(TClipStore& s)
{
    for (auto& [f, h] : s.Blocks) GlobalFree(h);
    for (auto& [f, h] : s.Synth) GlobalFree(h);
    s.Blocks.clear();
    s.Synth.clear();
}

HGLOBAL BlockOf(const void* data, size_t size)
{
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!h) return nullptr;
    if (size) {
        void* p = GlobalLock(h);
        std::memcpy(p, data, size);
        GlobalUnlock(h);
    }
    return h;
}

HGLOBAL WideBlock(const String& s) { return MakeGlobalText(s, CF_UNICODETEXT); }
HGLOBAL AnsiBlock(const String& s) { return MakeGlobalText(s, CF_TEXT); }
String WideFrom(HGLOBAL h) { return GlobalText(h, CF_UNICODETEXT); }
String AnsiFrom(HGLOBAL h) { return GlobalText(h, CF_TEXT); }

// The text the clipboard holds, from either text format.
bool StoredText(TClipStore& s, String& text)
{
    if (HGLOBAL h = Find(s.Blocks, CF_UNICODETEXT)) {
        text = WideFrom(h);
        return true;
    }
    if (HGLOBAL h = Find(s.Blocks, CF_TEXT)) {
        text = AnsiFrom(h);
        return true;
    }
    return false;
}

// Text copied on the desktop by another program replaces what we hold.
void TakeDesktopText(TClipStore& s)
{
    String t;
    if (!BackendGetClipboardText(t) || t == s.Desktop) return;
    s.Desktop = t;
    FreeAll(s);
    s.Owner = nullptr;
    if (HGLOBAL h = WideBlock(t)) s.Blocks.push_back({CF_UNICODETEXT, h});
}

bool IsText(UINT f) { return f == CF_TEXT || f == CF_UNICODETEXT; }

}  // namespace

BOOL OpenClipboard(HWND owner)
{
    auto& s = Store();
    std::lock_guard<std::recursive_mutex> g(s.Lock);
    if (s.Open) return s.OpenWindow == owner ? TRUE : FALSE;
    TakeDesktopText(s);
    s.Open = true;
    s.OpenWindow = owner;
    s.TextChanged = false;
    return TRUE;
}

BOOL CloseClipboard()
{
    auto& s = Store();
    std::lock_guard<std::recursive_mutex> g(s.Lock);
    if (!s.Open) return FALSE;
    s.Open = false;
    s.OpenWindow = nullptr;
    if (s.TextChanged) {
        String t;
        if (StoredText(s, t)) {
            s.Desktop = t;
            BackendSetClipboardText(t);
        }
        s.TextChanged = false;
    }
    return TRUE;
}

BOOL EmptyClipboard()
{
    auto& s = Store();
    std::lock_guard<std::recursive_mutex> g(s.Lock);
    if (!s.Open) return FALSE;
    FreeAll(s);
    s.Owner = s.OpenWindow;
    return TRUE;
}

HGLOBAL SetClipboardData(UINT format, HGLOBAL data)
{
    auto& s = Store();
    std::lock_guard<std::recursive_mutex> g(s.Lock);
    if (!s.Open || format == 0 || !data) return nullptr;
    if (GlobalLock(data)) GlobalUnlock(data);
    else if (GlobalSize(data) == 0) return nullptr;   // not a block of ours
    // A text format set anew makes any synthesised text stale.
    if (IsText(format)) {
        for (auto& [f, h] : s.Synth) GlobalFree(h);
        s.Synth.clear();
        s.TextChanged = true;
    }
    for (auto& [f, h] : s.Blocks) {
        if (f != format) continue;
        if (h != data) GlobalFree(h);
        h = data;
        return data;
    }
    s.Blocks.push_back({format, data});
    return data;
}

HGLOBAL GetClipboardData(UINT format)
{
    auto& s = Store();
    std::lock_guard<std::recursive_mutex> g(s.Lock);
    if (!s.Open) return nullptr;
    if (HGLOBAL h = Find(s.Blocks, format)) return h;
    if (!IsText(format)) return nullptr;
    if (HGLOBAL h = Find(s.Synth, format)) return h;
    UINT other = format == CF_TEXT ? CF_UNICODETEXT : CF_TEXT;
    HGLOBAL src = Find(s.Blocks, other);
    if (!src) return nullptr;
    HGLOBAL made = format == CF_TEXT ? AnsiBlock(WideFrom(src)) : WideBlock(AnsiFrom(src));
    if (made) s.Synth.push_back({format, made});
    return made;
}

BOOL IsClipboardFormatAvailable(UINT format)
{
    auto& s = Store();
    std::lock_guard<std::recursive_mutex> g(s.Lock);
    if (!s.Open) TakeDesktopText(s);
    if (Find(s.Blocks, format)) return TRUE;
    if (IsText(format)) return Find(s.Blocks, format == CF_TEXT ? CF_UNICODETEXT : CF_TEXT) ? TRUE : FALSE;
    return FALSE;
}

UINT EnumClipboardFormats(UINT format)
{
    auto& s = Store();
    std::lock_guard<std::recursive_mutex> g(s.Lock);
    if (!s.Open) return 0;
    // The stored formats, then the text format that can be synthesised.
    std::vector<UINT> all;
    for (auto& [f, h] : s.Blocks) all.push_back(f);
    bool hasText = Find(s.Blocks, CF_TEXT) != nullptr, hasWide = Find(s.Blocks, CF_UNICODETEXT) != nullptr;
    if (hasText && !hasWide) all.push_back(CF_UNICODETEXT);
    if (hasWide && !hasText) all.push_back(CF_TEXT);
    if (format == 0) return all.empty() ? 0 : all.front();
    for (size_t i = 0; i + 1 < all.size(); ++i)
        if (all[i] == format) return all[i + 1];
    return 0;
}

int CountClipboardFormats()
{
    auto& s = Store();
    std::lock_guard<std::recursive_mutex> g(s.Lock);
    if (!s.Open) TakeDesktopText(s);
    bool hasText = Find(s.Blocks, CF_TEXT) != nullptr, hasWide = Find(s.Blocks, CF_UNICODETEXT) != nullptr;
    return int(s.Blocks.size()) + ((hasText != hasWide) ? 1 : 0);
}

UINT RegisterClipboardFormat(const wchar_t* name)
{
    UINT id = RegisterWindowMessage(name);
    if (!id) return 0;
    auto& s = Store();
    std::lock_guard<std::recursive_mutex> g(s.Lock);
    s.Names.emplace(id, name);   // the first spelling is kept
    return id;
}

int GetClipboardFormatName(UINT format, wchar_t* buffer, int size)
{
    if (!buffer || size <= 0) return 0;
    auto& s = Store();
    std::lock_guard<std::recursive_mutex> g(s.Lock);
    auto it = s.Names.find(format);
    if (it == s.Names.end()) {
        buffer[0] = 0;
        return 0;
    }
    int n = std::min<int>(int(it->second.size()), size - 1);
    std::wmemcpy(buffer, it->second.data(), size_t(n));
    buffer[n] = 0;
    return n;
}

HWND GetClipboardOwner()
{
    auto& s = Store();
    std::lock_guard<std::recursive_mutex> g(s.Lock);
    return s.Owner;
}

HWND GetOpenClipboardWindow()
{
    auto& s = Store();
    std::lock_guard<std::recursive_mutex> g(s.Lock);
    return s.Open ? s.OpenWindow : nullptr;
}

// ---------------------------------------------------------------------------
// Text helpers

bool GetClipboardText(String& text)
{
    if (!OpenClipboard(nullptr)) return false;
    bool ok = false;
    if (HGLOBAL h = GetClipboardData(CF_UNICODETEXT)) {
        text = WideFrom(h);
        ok = true;
    }
    CloseClipboard();
    return ok;
}

bool SetClipboardText(const String& text)
{
    if (!OpenClipboard(nullptr)) return false;
    EmptyClipboard();
    HGLOBAL h = WideBlock(text);
    bool ok = h && SetClipboardData(CF_UNICODETEXT, h);
    if (h && !ok) GlobalFree(h);
    CloseClipboard();
    return ok;
}

// ---------------------------------------------------------------------------
// TClipboard

TClipboard::~TClipboard()
{
    while (FOpenRefCount > 0) Close();
}

void TClipboard::Open()
{
    if (FOpenRefCount == 0) {
        if (!OpenClipboard(nullptr)) throw EClipboardException(L"Cannot open clipboard");
        FEmptied = false;
    }
    ++FOpenRefCount;
}

void TClipboard::Close()
{
    if (FOpenRefCount == 0) return;
    if (--FOpenRefCount == 0) CloseClipboard();
}

void TClipboard::Clear()
{
    Open();
    EmptyClipboard();
    FEmptied = true;
    Close();
}

bool TClipboard::HasFormat(UINT Format) { return IsClipboardFormatAvailable(Format) != FALSE; }

Integer TClipboard::FormatCount() { return CountClipboardFormats(); }

UINT TClipboard::Formats(Integer Index)
{
    Open();
    UINT f = 0;
    Integer i = -1;
    do {
        f = EnumClipboardFormats(f);
        ++i;
    } while (f != 0 && i < Index);
    Close();
    if (f == 0 || Index < 0) throw EListError(L"List index out of bounds (" + std::to_wstring(Index) + L")");
    return f;
}

String TClipboard::AsText()
{
    Open();
    String r;
    if (HGLOBAL h = GetClipboardData(CF_UNICODETEXT)) r = WideFrom(h);
    Close();
    return r;
}

void TClipboard::SetAsText(const String& Value)
{
    HGLOBAL h = WideBlock(Value);
    if (!h) throw EOutOfResources(L"Out of memory");
    try {
        SetAsHandle(CF_UNICODETEXT, h);
    } catch (...) {
        GlobalFree(h);
        throw;
    }
}

void TClipboard::SetAsHandle(UINT Format, HGLOBAL Value)
{
    Open();
    // Within one Open/Close bracket the formats set add up; a lone call
    // replaces what the clipboard held.
    if (!FEmptied) {
        EmptyClipboard();
        FEmptied = true;
    }
    HGLOBAL r = SetClipboardData(Format, Value);
    Close();
    if (!r) throw EClipboardException(L"Cannot set clipboard data");
}

HGLOBAL TClipboard::GetAsHandle(UINT Format)
{
    Open();
    HGLOBAL h = GetClipboardData(Format);
    Close();
    return h;
}

void TClipboard::SetBuffer(UINT Format, const void* Buffer, size_t Size)
{
    HGLOBAL h = BlockOf(Buffer, Size);
    if (!h) throw EOutOfResources(L"Out of memory");
    try {
        SetAsHandle(Format, h);
    } catch (...) {
        GlobalFree(h);
        throw;
    }
}

TClipboard* Clipboard()
{
    static TClipboard clipboard;
    return &clipboard;
}
