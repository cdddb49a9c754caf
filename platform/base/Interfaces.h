// The interface root: GUIDs, HRESULT codes, IUnknown, a reference-counting
// smart pointer and the reference-counted base object.
//
// Interfaces derive *virtually* from IUnknown (struct IFoo : virtual IUnknown)
// so that an object implementing several of them has one reference count and
// one QueryInterface, supplied by TInterfacedObject.
#pragma once

#include <atomic>
#include <cstdint>
#include <utility>

#include "platform/base/Types.h"

using HRESULT = int32_t;
using ULONG = uint32_t;

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT E_UNEXPECTED = static_cast<HRESULT>(0x8000FFFFu);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);

constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }

struct TGUID {
    uint32_t D1 = 0;
    uint16_t D2 = 0;
    uint16_t D3 = 0;
    uint8_t D4[8] = {};

    friend constexpr bool operator==(const TGUID& a, const TGUID& b)
    {
        if (a.D1 != b.D1 || a.D2 != b.D2 || a.D3 != b.D3) return false;
        for (int i = 0; i < 8; ++i)
            if (a.D4[i] != b.D4[i]) return false;
        return true;
    }
};
using GUID = TGUID;
using IID = TGUID;
using CLSID = TGUID;
using REFIID = const TGUID&;

namespace guid_detail {
consteval int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    throw "bad hex digit in GUID";   // not a constant expression: compile error
}
consteval uint64_t Hex(const char* s, int from, int count)
{
    uint64_t v = 0;
    for (int i = 0; i < count; ++i) v = v * 16 + HexDigit(s[from + i]);
    return v;
}
}  // namespace guid_detail

// A GUID written the usual way, checked at compile time:
//   constexpr TGUID IID_IFoo = MakeGUID("{00000000-0000-0000-C000-000000000046}");
template <size_t N>
consteval TGUID MakeGUID(const char (&s)[N])
{
    static_assert(N == 39, "a GUID is written {xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}");
    if (s[0] != '{' || s[9] != '-' || s[14] != '-' || s[19] != '-' || s[24] != '-' || s[37] != '}')
        throw "malformed GUID";
    using guid_detail::Hex;
    TGUID g;
    g.D1 = static_cast<uint32_t>(Hex(s, 1, 8));
    g.D2 = static_cast<uint16_t>(Hex(s, 10, 4));
    g.D3 = static_cast<uint16_t>(Hex(s, 15, 4));
    g.D4[0] = static_cast<uint8_t>(Hex(s, 20, 2));
    g.D4[1] = static_cast<uint8_t>(Hex(s, 22, 2));
    for (int i = 0; i < 6; ++i) g.D4[2 + i] = static_cast<uint8_t>(Hex(s, 25 + 2 * i, 2));
    return g;
}

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper case.
String GUIDToString(const TGUID& g);
bool IsEqualGUID(const TGUID& a, const TGUID& b);

struct IUnknown {
    static constexpr TGUID IID = MakeGUID("{00000000-0000-0000-C000-000000000046}");
    virtual HRESULT QueryInterface(const TGUID& iid, void** obj) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    virtual ~IUnknown() = default;
};
using IInterface = IUnknown;
inline constexpr TGUID IID_IUnknown = IUnknown::IID;
inline constexpr TGUID IID_IInterface = IUnknown::IID;

// Holds one reference to an interface. T must declare `static constexpr
// TGUID IID` for As<U>() (QueryInterface by type).
template <class T>
class TComPtr {
public:
    TComPtr() = default;
    TComPtr(std::nullptr_t) {}
    // Takes a new reference (AddRef).
    TComPtr(T* p) : FPtr(p) { if (FPtr) FPtr->AddRef(); }
    TComPtr(const TComPtr& o) : TComPtr(o.FPtr) {}
    TComPtr(TComPtr&& o) noexcept : FPtr(std::exchange(o.FPtr, nullptr)) {}
    template <class U>
        requires std::is_convertible_v<U*, T*>
    TComPtr(const TComPtr<U>& o) : TComPtr(static_cast<T*>(o.Get())) {}
    ~TComPtr() { Reset(); }

    TComPtr& operator=(const TComPtr& o)
    {
        TComPtr(o).Swap(*this);
        return *this;
    }
    TComPtr& operator=(TComPtr&& o) noexcept
    {
        TComPtr(std::move(o)).Swap(*this);
        return *this;
    }
    TComPtr& operator=(T* p)
    {
        TComPtr(p).Swap(*this);
        return *this;
    }
    TComPtr& operator=(std::nullptr_t)
    {
        Reset();
        return *this;
    }

    // Adopts a reference the caller already owns (no AddRef).
    void Attach(T* p)
    {
        Reset();
        FPtr = p;
    }
    // Gives up the reference without releasing it.
    T* Detach() { return std::exchange(FPtr, nullptr); }
    void Reset()
    {
        if (T* p = std::exchange(FPtr, nullptr)) p->Release();
    }
    // For out-parameters: releases what is held and answers the slot.
    T** ReleaseAndGetAddressOf()
    {
        Reset();
        return &FPtr;
    }
    void Swap(TComPtr& o) noexcept { std::swap(FPtr, o.FPtr); }

    T* Get() const { return FPtr; }
    T* operator->() const { return FPtr; }
    T& operator*() const { return *FPtr; }
    explicit operator bool() const { return FPtr != nullptr; }

    template <class U>
    HRESULT As(TComPtr<U>& out) const
    {
        if (!FPtr) return E_POINTER;
        void* p = nullptr;
        HRESULT hr = FPtr->QueryInterface(U::IID, &p);
        out.Attach(SUCCEEDED(hr) ? static_cast<U*>(p) : nullptr);
        return hr;
    }

    friend bool operator==(const TComPtr& a, const TComPtr& b) { return a.FPtr == b.FPtr; }
    friend bool operator==(const TComPtr& a, std::nullptr_t) { return a.FPtr == nullptr; }

private:
    T* FPtr = nullptr;
};

// Reference-counted object that frees itself when the last reference goes.
// It starts with a count of 0: the first TComPtr (or AddRef) holds it.
// Descendants answer their own interfaces in QueryInterface and pass the
// rest on to this one.
class TInterfacedObject : public virtual IUnknown {
public:
    TInterfacedObject() = default;
    TInterfacedObject(const TInterfacedObject&) = delete;
    TInterfacedObject& operator=(const TInterfacedObject&) = delete;

    HRESULT QueryInterface(const TGUID& iid, void** obj) override;
    ULONG AddRef() override;
    ULONG Release() override;
    ULONG RefCount() const { return FRefCount.load(); }

protected:
    ~TInterfacedObject() override = default;

    // Helper for QueryInterface overrides: answers `self` as interface I
    // when iid names I.
    template <class I, class Self>
    static bool Answer(const TGUID& iid, void** obj, Self* self)
    {
        if (!(iid == I::IID)) return false;
        I* p = static_cast<I*>(self);
        p->AddRef();
        *obj = p;
        return true;
    }

private:
    std::atomic<ULONG> FRefCount{0};
};
