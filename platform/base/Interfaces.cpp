#include "platform/base/Interfaces.h"

#include <cstdio>

String GUIDToString(const TGUID& g)
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(g.D1), static_cast<unsigned>(g.D2),
                  static_cast<unsigned>(g.D3), g.D4[0], g.D4[1], g.D4[2], g.D4[3], g.D4[4],
                  g.D4[5], g.D4[6], g.D4[7]);
    return String(buf, buf + 38);
}

bool IsEqualGUID(const TGUID& a, const TGUID& b) { return a == b; }

HRESULT TInterfacedObject::QueryInterface(const TGUID& iid, void** obj)
{
    if (!obj) return E_POINTER;
    *obj = nullptr;
    if (Answer<IUnknown>(iid, obj, this)) return S_OK;
    return E_NOINTERFACE;
}

ULONG TInterfacedObject::AddRef() { return ++FRefCount; }

ULONG TInterfacedObject::Release()
{
    ULONG n = --FRefCount;
    if (n == 0) delete this;
    return n;
}
