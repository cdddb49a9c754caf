#include "platform/base/ComObj.h"

#include "platform/base/Encoding.h"
#include "platform/base/SysUtils.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <unordered_map>

// ---------------------------------------------------------------------------
// Global memory

namespace {

struct TGlobalBlock {
    unsigned char* Data = nullptr;
    size_t Size = 0;
    unsigned LockCount = 0;
    bool Movable = false;
};

// Every live block by its handle (the block record for movable blocks, the
// address for fixed ones), so that unknown handles are refused, not used.
struct TGlobalTable {
    std::mutex Lock;
    std::unordered_map<void*, TGlobalBlock*> Blocks;
};

TGlobalTable& Globals()
{
    static TGlobalTable* t = new TGlobalTable;   // lives for the whole process
    return *t;
}

TGlobalBlock* FindLocked(HGLOBAL h)
{
    auto it = Globals().Blocks.find(h);
    return it == Globals().Blocks.end() ? nullptr : it->second;
}

// Storage of at least one byte, so that every block has an address.
unsigned char* AllocData(size_t bytes, bool zero)
{
    size_t n = std::max<size_t>(bytes, 1);
    return static_cast<unsigned char*>(zero ? calloc(n, 1) : malloc(n));
}

}  // namespace

HGLOBAL GlobalAlloc(UINT flags, size_t bytes)
{
    auto* b = new TGlobalBlock;
    b->Data = AllocData(bytes, (flags & GMEM_ZEROINIT) != 0);
    if (!b->Data) {
        delete b;
        return nullptr;
    }
    b->Size = bytes;
    b->Movable = (flags & GMEM_MOVEABLE) != 0;
    HGLOBAL h = b->Movable ? static_cast<void*>(b) : static_cast<void*>(b->Data);
    std::lock_guard<std::mutex> g(Globals().Lock);
    Globals().Blocks[h] = b;
    return h;
}

void* GlobalLock(HGLOBAL h)
{
    std::lock_guard<std::mutex> g(Globals().Lock);
    TGlobalBlock* b = FindLocked(h);
    if (!b) return nullptr;
    if (b->Movable) ++b->LockCount;
    return b->Data;
}

BOOL GlobalUnlock(HGLOBAL h)
{
    std::lock_guard<std::mutex> g(Globals().Lock);
    TGlobalBlock* b = FindLocked(h);
    if (!b || !b->Movable || b->LockCount == 0) return 0;
    --b->LockCount;
    return b->LockCount > 0 ? 1 : 0;
}

size_t GlobalSize(HGLOBAL h)
{
    std::lock_guard<std::mutex> g(Globals().Lock);
    TGlobalBlock* b = FindLocked(h);
    return b ? b->Size : 0;
}

HGLOBAL GlobalFree(HGLOBAL h)
{
    TGlobalBlock* b;
    {
        std::lock_guard<std::mutex> g(Globals().Lock);
        b = FindLocked(h);
        if (!b) return h;
        Globals().Blocks.erase(h);
    }
    free(b->Data);
    delete b;
    return nullptr;
}

HGLOBAL GlobalReAlloc(HGLOBAL h, size_t bytes, UINT flags)
{
    std::lock_guard<std::mutex> g(Globals().Lock);
    TGlobalBlock* b = FindLocked(h);
    if (!b) return nullptr;
    if (b->Movable && b->LockCount > 0 && std::max<size_t>(bytes, 1) > std::max<size_t>(b->Size, 1))
        return nullptr;   // a locked block cannot move
    unsigned char* data = b->Data;
    if (std::max<size_t>(bytes, 1) != std::max<size_t>(b->Size, 1)) {
        data = static_cast<unsigned char*>(realloc(b->Data, std::max<size_t>(bytes, 1)));
        if (!data) return nullptr;
    }
    if ((flags & GMEM_ZEROINIT) && bytes > b->Size) memset(data + b->Size, 0, bytes - b->Size);
    b->Data = data;
    b->Size = bytes;
    if (b->Movable) return h;
    Globals().Blocks.erase(h);
    Globals().Blocks[data] = b;
    return data;
}

// ---------------------------------------------------------------------------
// Stream on a global block

namespace {

struct TSharedGlobal {
    HGLOBAL Handle = nullptr;
    bool DeleteOnRelease = false;
    ~TSharedGlobal()
    {
        if (DeleteOnRelease) GlobalFree(Handle);
    }
};

class THGlobalStream : public TInterfacedObject, public IStream {
public:
    explicit THGlobalStream(std::shared_ptr<TSharedGlobal> g, UInt64 pos = 0) : FGlobal(std::move(g)), FPos(pos) {}

    HRESULT QueryInterface(const TGUID& iid, void** obj) override
    {
        if (!obj) return E_POINTER;
        if (Answer<IStream>(iid, obj, this) || Answer<ISequentialStream>(iid, obj, this)) return S_OK;
        return TInterfacedObject::QueryInterface(iid, obj);
    }
    ULONG AddRef() override { return TInterfacedObject::AddRef(); }
    ULONG Release() override { return TInterfacedObject::Release(); }

    HRESULT Read(void* pv, ULONG cb, ULONG* pcbRead) override
    {
        if (pcbRead) *pcbRead = 0;
        if (!pv && cb) return STG_E_INVALIDPOINTER;
        size_t size = GlobalSize(FGlobal->Handle);
        ULONG n = FPos >= size ? 0 : ULONG(std::min<UInt64>(cb, size - FPos));
        if (n) {
            auto* p = static_cast<unsigned char*>(GlobalLock(FGlobal->Handle));
            if (!p) return E_FAIL;
            memcpy(pv, p + FPos, n);
            GlobalUnlock(FGlobal->Handle);
            FPos += n;
        }
        if (pcbRead) *pcbRead = n;
        return n == cb ? S_OK : S_FALSE;
    }

    HRESULT Write(const void* pv, ULONG cb, ULONG* pcbWritten) override
    {
        if (pcbWritten) *pcbWritten = 0;
        if (!pv && cb) return STG_E_INVALIDPOINTER;
        if (cb == 0) return S_OK;
        UInt64 end = FPos + cb;
        if (end > GlobalSize(FGlobal->Handle) && !Grow(end)) return STG_E_MEDIUMFULL;
        auto* p = static_cast<unsigned char*>(GlobalLock(FGlobal->Handle));
        if (!p) return E_FAIL;
        memcpy(p + FPos, pv, cb);
        GlobalUnlock(FGlobal->Handle);
        FPos = end;
        if (pcbWritten) *pcbWritten = cb;
        return S_OK;
    }

    HRESULT Seek(Int64 move, DWORD origin, UInt64* newPosition) override
    {
        Int64 base;
        switch (origin) {
        case STREAM_SEEK_SET: base = 0; break;
        case STREAM_SEEK_CUR: base = Int64(FPos); break;
        case STREAM_SEEK_END: base = Int64(GlobalSize(FGlobal->Handle)); break;
        default: return STG_E_INVALIDFUNCTION;
        }
        if ((move < 0 && base + move < 0) || (move > 0 && base > INT64_MAX - move)) return STG_E_INVALIDFUNCTION;
        FPos = UInt64(base + move);
        if (newPosition) *newPosition = FPos;
        return S_OK;
    }

    HRESULT SetSize(UInt64 newSize) override
    {
        if (newSize > SIZE_MAX) return STG_E_MEDIUMFULL;
        return GlobalReAlloc(FGlobal->Handle, size_t(newSize), GMEM_MOVEABLE | GMEM_ZEROINIT) ? S_OK
                                                                                                : STG_E_MEDIUMFULL;
    }

    HRESULT CopyTo(IStream* target, UInt64 cb, UInt64* cbRead, UInt64* cbWritten) override
    {
        if (cbRead) *cbRead = 0;
        if (cbWritten) *cbWritten = 0;
        if (!target) return STG_E_INVALIDPOINTER;
        unsigned char buf[16384];
        UInt64 totalRead = 0, totalWritten = 0;
        while (totalRead < cb) {
            ULONG want = ULONG(std::min<UInt64>(sizeof buf, cb - totalRead));
            ULONG got = 0;
            Read(buf, want, &got);
            if (got == 0) break;
            totalRead += got;
            ULONG put = 0;
            HRESULT hr = target->Write(buf, got, &put);
            totalWritten += put;
            if (FAILED(hr)) {
                if (cbRead) *cbRead = totalRead;
                if (cbWritten) *cbWritten = totalWritten;
                return hr;
            }
        }
        if (cbRead) *cbRead = totalRead;
        if (cbWritten) *cbWritten = totalWritten;
        return S_OK;
    }

    HRESULT Commit(DWORD) override { return S_OK; }
    HRESULT Revert() override { return S_OK; }
    HRESULT LockRegion(UInt64, UInt64, DWORD) override { return STG_E_INVALIDFUNCTION; }
    HRESULT UnlockRegion(UInt64, UInt64, DWORD) override { return STG_E_INVALIDFUNCTION; }

    HRESULT Stat(STATSTG* st, DWORD) override
    {
        if (!st) return STG_E_INVALIDPOINTER;
        *st = STATSTG();
        st->type = STGTY_STREAM;
        st->cbSize = GlobalSize(FGlobal->Handle);
        return S_OK;
    }

    HRESULT Clone(IStream** stream) override
    {
        if (!stream) return STG_E_INVALIDPOINTER;
        auto* s = new THGlobalStream(FGlobal, FPos);
        s->AddRef();
        *stream = s;
        return S_OK;
    }

    HGLOBAL Handle() const { return FGlobal->Handle; }

private:
    // The block's size is the stream's size, so it grows to `end` exactly.
    bool Grow(UInt64 end)
    {
        if (end > SIZE_MAX) return false;
        return GlobalReAlloc(FGlobal->Handle, size_t(end), GMEM_MOVEABLE | GMEM_ZEROINIT) != nullptr;
    }

    std::shared_ptr<TSharedGlobal> FGlobal;
    UInt64 FPos;
};

}  // namespace

HRESULT CreateStreamOnHGlobal(HGLOBAL h, BOOL deleteOnRelease, IStream** stream)
{
    if (!stream) return E_INVALIDARG;
    *stream = nullptr;
    if (!h) {
        h = GlobalAlloc(GMEM_MOVEABLE, 0);
        if (!h) return E_OUTOFMEMORY;
    } else if (GlobalLock(h) == nullptr) {
        return E_INVALIDARG;
    } else {
        GlobalUnlock(h);
    }
    auto shared = std::make_shared<TSharedGlobal>();
    shared->Handle = h;
    shared->DeleteOnRelease = deleteOnRelease != 0;
    auto* s = new THGlobalStream(std::move(shared));
    s->AddRef();
    *stream = s;
    return S_OK;
}

HRESULT GetHGlobalFromStream(IStream* stream, HGLOBAL* h)
{
    if (!h) return E_INVALIDARG;
    *h = nullptr;
    auto* s = dynamic_cast<THGlobalStream*>(stream);
    if (!s) return E_INVALIDARG;
    *h = s->Handle();
    return S_OK;
}

// ---------------------------------------------------------------------------
// Media and file lists

void ReleaseStgMedium(STGMEDIUM* medium)
{
    if (!medium) return;
    if (medium->pUnkForRelease) {
        medium->pUnkForRelease->Release();
    } else if (medium->tymed == TYMED_HGLOBAL && medium->hGlobal) {
        GlobalFree(medium->hGlobal);
    } else if (medium->tymed == TYMED_ISTREAM && medium->pstm) {
        medium->pstm->Release();
    }
    *medium = STGMEDIUM();
}

HGLOBAL MakeGlobalText(const String& text, CLIPFORMAT format)
{
    TBytes bytes;
    if (format == CF_UNICODETEXT) {
        bytes = TEncoding::Unicode()->GetBytes(text);
        bytes.insert(bytes.end(), {0, 0});
    } else if (format == CF_TEXT) {
        bytes = TEncoding::ANSI()->GetBytes(text);
        bytes.push_back(0);
    } else {
        return nullptr;
    }
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!h) return nullptr;
    memcpy(GlobalLock(h), bytes.data(), bytes.size());
    GlobalUnlock(h);
    return h;
}

String GlobalText(HGLOBAL h, CLIPFORMAT format)
{
    if (format != CF_TEXT && format != CF_UNICODETEXT) return String();
    size_t size = GlobalSize(h);
    auto* p = static_cast<const Byte*>(GlobalLock(h));
    if (!p) return String();
    size_t n = 0;
    String text;
    if (format == CF_UNICODETEXT) {
        while (n + 2 <= size && (p[n] | p[n + 1]) != 0) n += 2;
        text = TEncoding::Unicode()->GetString(p, n);
    } else {
        while (n < size && p[n] != 0) ++n;
        text = TEncoding::ANSI()->GetString(p, n);
    }
    GlobalUnlock(h);
    return text;
}

HGLOBAL MakeDropFiles(const std::vector<String>& files, TPoint pt)
{
    std::vector<uint16_t> units;
    for (const String& f : files) {
        for (Char c : f) {
            uint32_t cp = uint32_t(c);
            if (cp >= 0x10000 && cp <= 0x10FFFF) {
                cp -= 0x10000;
                units.push_back(uint16_t(0xD800 + (cp >> 10)));
                units.push_back(uint16_t(0xDC00 + (cp & 0x3FF)));
            } else {
                units.push_back(uint16_t(cp));
            }
        }
        units.push_back(0);
    }
    units.push_back(0);
    if (files.empty()) units.push_back(0);
    DROPFILES header;
    header.pt = pt;
    size_t bytes = sizeof header + units.size() * 2;
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    if (!h) return nullptr;
    auto* p = static_cast<unsigned char*>(GlobalLock(h));
    memcpy(p, &header, sizeof header);
    for (size_t i = 0; i < units.size(); ++i) {
        p[sizeof header + 2 * i] = uint8_t(units[i] & 0xFF);
        p[sizeof header + 2 * i + 1] = uint8_t(units[i] >> 8);
    }
    GlobalUnlock(h);
    return h;
}

UINT DragQueryFile(HDROP drop, UINT index, Char* buffer, UINT size)
{
    size_t total = GlobalSize(drop);
    auto* p = static_cast<const unsigned char*>(GlobalLock(drop));
    if (!p) return 0;
    struct Unlock {
        HGLOBAL h;
        ~Unlock() { GlobalUnlock(h); }
    } unlock{drop};
    if (total < sizeof(DROPFILES)) return 0;
    DROPFILES header;
    memcpy(&header, p, sizeof header);
    if (header.pFiles < sizeof(DROPFILES) || header.pFiles > total) return 0;

    // Walk the names without passing the end of the block; a list without
    // its final zero ends at the block's end.
    const bool wide = header.fWide != 0;
    const size_t unit = wide ? 2 : 1;
    size_t pos = header.pFiles;
    UINT count = 0;
    while (pos + unit <= total) {
        String name;
        AnsiString narrow;
        size_t start = pos;
        bool ended = false;
        while (pos + unit <= total) {
            uint32_t c = wide ? uint32_t(p[pos] | (p[pos + 1] << 8)) : uint32_t(p[pos]);
            pos += unit;
            if (c == 0) {
                ended = true;
                break;
            }
            if (wide && c >= 0xD800 && c <= 0xDBFF && pos + 2 <= total) {
                uint32_t lo = uint32_t(p[pos] | (p[pos + 1] << 8));
                if (lo >= 0xDC00 && lo <= 0xDFFF) {
                    c = 0x10000 + ((c - 0xD800) << 10) + (lo - 0xDC00);
                    pos += 2;
                }
            }
            if (wide)
                name += Char(c);
            else
                narrow += char(c);
        }
        if (!wide) name = AnsiToString(narrow);
        if (pos - start == unit && ended) break;   // the empty name ends the list
        if (!ended && name.empty()) break;
        if (index == count) {
            if (buffer && size > 0) {
                size_t n = std::min<size_t>(name.size(), size - 1);
                std::copy(name.begin(), name.begin() + n, buffer);
                buffer[n] = 0;
                return UINT(n);
            }
            return UINT(name.size());
        }
        ++count;
    }
    return index == 0xFFFFFFFFu ? count : 0;
}

// ---------------------------------------------------------------------------

// Late-bound calls

namespace {

String DispatchErrorText(HRESULT hr)
{
    switch (hr) {
    case DISP_E_MEMBERNOTFOUND: return L"Member not found";
    case DISP_E_TYPEMISMATCH: return L"Type mismatch";
    case DISP_E_UNKNOWNNAME: return L"Unknown name";
    case DISP_E_NONAMEDARGS: return L"Does not support named arguments";
    case DISP_E_PARAMNOTFOUND: return L"Parameter not found";
    case DISP_E_BADINDEX: return L"Invalid index";
    case DISP_E_BADPARAMCOUNT: return L"Invalid number of parameters";
    case E_NOTIMPL: return L"Not implemented";
    case E_INVALIDARG: return L"The parameter is incorrect";
    case E_OUTOFMEMORY: return L"Not enough memory";
    default: return L"Unspecified error";
    }
}

}  // namespace

Variant DispatchInvoke(IDispatch* obj, std::wstring_view name, Word flags, std::span<const Variant> args,
                       std::span<const TNamedArg> named)
{
    if (!obj) throw EOleError(L"Variant does not reference an automation object");
    // Most calls name no arguments: no allocation for them.
    DISPID memberId = DISPID_UNKNOWN;
    std::vector<std::wstring_view> names;
    std::vector<DISPID> ids;
    HRESULT hr;
    if (named.empty()) {
        hr = obj->GetIDsOfNames(&name, 1, &memberId);
    } else {
        names.reserve(1 + named.size());
        names.push_back(name);
        for (const TNamedArg& a : named) names.push_back(a.Name);
        ids.assign(names.size(), DISPID_UNKNOWN);
        hr = obj->GetIDsOfNames(names.data(), UINT(names.size()), ids.data());
        memberId = ids[0];
    }
    if (FAILED(hr)) {
        if (memberId != DISPID_UNKNOWN && hr == DISP_E_UNKNOWNNAME) {
            for (size_t i = 1; i < ids.size(); ++i)
                if (ids[i] == DISPID_UNKNOWN)
                    throw EOleSysError(L"Named argument '" + String(names[i]) + L"' not supported by method '" +
                                           String(name) + L"'",
                                       DISP_E_PARAMNOTFOUND);
        }
        throw EOleSysError(L"Method '" + String(name) + L"' not supported by automation object", hr);
    }

    DISPPARAMS params;
    params.Args = args;
    std::vector<DISPID> namedIds;
    std::vector<Variant> namedArgs;
    DISPID putId = DISPID_PROPERTYPUT;
    if (flags & DISPATCH_PROPERTYPUT) {
        if (args.empty()) throw EOleSysError(DispatchErrorText(DISP_E_BADPARAMCOUNT), DISP_E_BADPARAMCOUNT);
        params.Args = args.first(args.size() - 1);
        if (named.empty()) {
            params.NamedIds = std::span<const DISPID>(&putId, 1);
            params.NamedArgs = args.last(1);
        } else {
            namedIds.push_back(DISPID_PROPERTYPUT);
            namedArgs.push_back(args.back());
        }
    }
    if (!named.empty()) {
        for (size_t i = 0; i < named.size(); ++i) {
            namedIds.push_back(ids[i + 1]);
            namedArgs.push_back(named[i].Value);
        }
        params.NamedIds = namedIds;
        params.NamedArgs = namedArgs;
    }

    Variant result;
    EXCEPINFO info;
    hr = obj->Invoke(memberId, flags, params, &result, &info);
    if (hr == DISP_E_EXCEPTION) {
        HRESULT code = info.scode != 0 ? info.scode : (info.wCode != 0 ? HRESULT(0x80040000u | info.wCode) : E_FAIL);
        String text = info.bstrDescription.empty() ? DispatchErrorText(code) : info.bstrDescription;
        throw EOleException(text, code, info.bstrSource, info.bstrHelpFile, Integer(info.dwHelpContext));
    }
    if (FAILED(hr)) throw EOleSysError(DispatchErrorText(hr), hr);
    return result;
}

// ---------------------------------------------------------------------------
// Servers on a table of members

bool TAutoArgs::Has(Integer index) const
{
    if (index < 0 || index >= Count()) return false;
    const Variant& v = FArgs[size_t(index)];
    return !(v.VarType() == varError && v.AsError() == DISP_E_PARAMNOTFOUND);
}

const Variant& TAutoArgs::operator[](Integer index) const
{
    return Has(index) ? FArgs[size_t(index)] : Unassigned;
}

const Variant& TAutoArgs::Required(Integer index) const
{
    if (!Has(index)) throw EOleSysError(L"Invalid number of parameters", DISP_E_BADPARAMCOUNT);
    return FArgs[size_t(index)];
}

DISPID TAutoMembers::Find(std::wstring_view name) const
{
    // Callers mostly spell a name as the table does: try that first, with
    // the length and first letter deciding most misses.
    for (size_t i = 0; i < FMembers.size(); ++i) {
        const String& n = FMembers[i].Name;
        if (n.size() != name.size() || n.empty() || n[0] != name[0]) continue;
        size_t k = 1;
        while (k < n.size() && n[k] == name[k]) ++k;
        if (k == n.size()) return DISPID(i + 1);
    }
    String text(name);
    for (size_t i = 0; i < FMembers.size(); ++i)
        if (SameText(FMembers[i].Name, text)) return DISPID(i + 1);
    return DISPID_UNKNOWN;
}

HRESULT TAutoObject::QueryInterface(const TGUID& iid, void** obj)
{
    if (!obj) return E_POINTER;
    if (Answer<IDispatch>(iid, obj, this)) return S_OK;
    return TInterfacedObject::QueryInterface(iid, obj);
}

HRESULT TAutoObject::GetIDsOfNames(const std::wstring_view* names, UINT count, DISPID* ids)
{
    if (count == 0 || !names || !ids) return E_INVALIDARG;
    const TAutoMembers& table = Table();
    HRESULT hr = S_OK;
    ids[0] = table.Find(names[0]);
    if (ids[0] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
    for (UINT i = 1; i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
        if (ids[0] != DISPID_UNKNOWN) {
            const auto& params = table.Members()[size_t(ids[0] - 1)].Params;
            for (size_t p = 0; p < params.size(); ++p)
                if (SameText(params[p], String(names[i]))) ids[i] = DISPID(p);
        }
        if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

HRESULT TAutoObject::Invoke(DISPID id, Word flags, const DISPPARAMS& params, Variant* result,
                            EXCEPINFO* excepInfo)
{
    const TAutoMembers& table = Table();
    if (id == DISPID_VALUE) id = table.DefaultMember();
    if (id < 1 || size_t(id) > table.Members().size()) return DISP_E_MEMBERNOTFOUND;
    const TAutoMembers::TMember& member = table.Members()[size_t(id - 1)];

    TAutoArgs args;
    args.FArgs = params.Args;
    bool put = (flags & DISPATCH_PROPERTYPUT) != 0;
    if (params.NamedIds.size() != params.NamedArgs.size()) return E_INVALIDARG;
    for (size_t i = 0; i < params.NamedIds.size(); ++i) {
        DISPID slot = params.NamedIds[i];
        if (slot == DISPID_PROPERTYPUT && put) {
            args.FValue = &params.NamedArgs[i];
            continue;
        }
        if (slot < 0 || size_t(slot) >= member.Params.size()) return DISP_E_PARAMNOTFOUND;
        if (args.FPlaced.empty()) {
            args.FPlaced.assign(params.Args.begin(), params.Args.end());
            args.FArgs = args.FPlaced;
        }
        if (size_t(slot) < args.FPlaced.size() && args.Has(slot)) return DISP_E_PARAMNOTFOUND;   // given twice
        if (size_t(slot) >= args.FPlaced.size()) args.FPlaced.resize(size_t(slot) + 1, Variant::Missing());
        args.FPlaced[size_t(slot)] = params.NamedArgs[i];
        args.FArgs = args.FPlaced;
    }
    if (put && !member.Put) return DISP_E_MEMBERNOTFOUND;
    if (!put && !(flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET))) return DISP_E_MEMBERNOTFOUND;

    try {
        if (put) {
            member.Put(*this, args);
            if (result) *result = Variant();
        } else if (result) {
            *result = member.Get(*this, args);
        } else {
            member.Get(*this, args);
        }
        return S_OK;
    } catch (const Exception& e) {
        if (excepInfo) {
            *excepInfo = EXCEPINFO();
            excepInfo->bstrSource = FSource;
            excepInfo->bstrDescription = e.Message();
            auto* sys = dynamic_cast<const EOleSysError*>(&e);
            excepInfo->scode = sys ? sys->ErrorCode() : E_FAIL;
            if (auto* ole = dynamic_cast<const EOleException*>(&e)) {
                if (!ole->Source().empty()) excepInfo->bstrSource = ole->Source();
            }
        }
        return DISP_E_EXCEPTION;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

// ---------------------------------------------------------------------------
// The registry of servers

namespace {

struct TOleRegistry {
    std::mutex Lock;
    std::vector<std::pair<String, TOleServerFactory>> Servers;
    struct TActive {
        DWORD Cookie;
        String ProgId;
        TComPtr<IDispatch> Object;
    };
    std::vector<TActive> Active;
    DWORD NextCookie = 1;

    TOleServerFactory* FindServer(const String& progId)
    {
        for (auto& s : Servers)
            if (SameText(s.first, progId)) return &s.second;
        return nullptr;
    }
};

TOleRegistry& OleRegistry()
{
    static TOleRegistry* r = new TOleRegistry;   // lives for the whole process
    return *r;
}

[[noreturn]] void InvalidClassString()
{
    throw EOleSysError(L"Invalid class string", CO_E_CLASSSTRING);
}

}  // namespace

void RegisterOleServer(const String& progId, TOleServerFactory factory)
{
    TOleRegistry& r = OleRegistry();
    std::lock_guard lock(r.Lock);
    if (TOleServerFactory* f = r.FindServer(progId))
        *f = std::move(factory);
    else
        r.Servers.emplace_back(progId, std::move(factory));
}

void UnregisterOleServer(const String& progId)
{
    TOleRegistry& r = OleRegistry();
    std::lock_guard lock(r.Lock);
    std::erase_if(r.Servers, [&](const auto& s) { return SameText(s.first, progId); });
}

DWORD RegisterActiveObject(IDispatch* obj, const String& progId)
{
    if (!obj) throw EOleSysError(L"The parameter is incorrect", E_INVALIDARG);
    TOleRegistry& r = OleRegistry();
    std::lock_guard lock(r.Lock);
    DWORD cookie = r.NextCookie++;
    r.Active.push_back({cookie, progId, TComPtr<IDispatch>(obj)});
    return cookie;
}

void RevokeActiveObject(DWORD cookie)
{
    TComPtr<IDispatch> released;   // let go outside the lock: its destructor may call back
    TOleRegistry& r = OleRegistry();
    {
        std::lock_guard lock(r.Lock);
        for (auto it = r.Active.begin(); it != r.Active.end(); ++it)
            if (it->Cookie == cookie) {
                released = std::move(it->Object);
                r.Active.erase(it);
                break;
            }
    }
}

TOleServerScope::TOleServerScope(const String& progId, TOleServerFactory factory) : FProgId(progId)
{
    TOleRegistry& r = OleRegistry();
    std::lock_guard lock(r.Lock);
    if (TOleServerFactory* f = r.FindServer(progId)) {
        FPrevious = std::move(*f);
        *f = std::move(factory);
    } else {
        r.Servers.emplace_back(progId, std::move(factory));
    }
}

TOleServerScope::~TOleServerScope()
{
    if (FPrevious)
        RegisterOleServer(FProgId, std::move(FPrevious));
    else
        UnregisterOleServer(FProgId);
}

TComPtr<IDispatch> CreateOleObject(const String& className)
{
    TOleServerFactory factory;
    {
        TOleRegistry& r = OleRegistry();
        std::lock_guard lock(r.Lock);
        if (TOleServerFactory* f = r.FindServer(className)) factory = *f;
    }
    if (!factory) InvalidClassString();
    TComPtr<IDispatch> obj = factory();
    if (!obj) throw EOleSysError(L"Server execution failed", CO_E_SERVER_EXEC_FAILURE);
    return obj;
}

TComPtr<IDispatch> GetActiveOleObject(const String& className)
{
    TOleRegistry& r = OleRegistry();
    std::lock_guard lock(r.Lock);
    // The most recently entered object of the identifier answers.
    for (auto it = r.Active.rbegin(); it != r.Active.rend(); ++it)
        if (SameText(it->ProgId, className)) return it->Object;
    if (r.FindServer(className)) throw EOleSysError(L"Operation unavailable", MK_E_UNAVAILABLE);
    InvalidClassString();
}
