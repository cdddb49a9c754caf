// The grid's drag-and-drop layer: formats, data object, enumerator, drop
// source and drop target base, the reader of foreign data objects.
#include "controls/grid/vurdd.h"

#include <cstring>

#include "platform/base/Encoding.h"
#include "platform/ui/Clipbrd.h"

namespace vurdd {

namespace {

TVurFormats GFormats;
bool GDropRTF = false;

// A movable, shareable, zero-filled block of Size bytes holding Data.
HGLOBAL MakeBlock(const void* Data, size_t Size)
{
    HGLOBAL h = GlobalAlloc(GHND | GMEM_SHARE, Size);
    if (!h) return nullptr;
    void* p = GlobalLock(h);
    if (!p) {
        GlobalFree(h);
        return nullptr;
    }
    if (Size && Data) std::memcpy(p, Data, Size);
    GlobalUnlock(h);
    return h;
}

uint32_t ReadU32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

}  // namespace

TVurFormats& VurFormats() { return GFormats; }

void RegisterVurFormats()
{
    GFormats.RTF = CLIPFORMAT(RegisterClipboardFormat(L"Rich Text Format"));
    GFormats.Col = CLIPFORMAT(RegisterClipboardFormat(L"Grid Column"));
    GFormats.Cells = CLIPFORMAT(RegisterClipboardFormat(L"TVodStringGrid Cells"));
    GFormats.URL = CLIPFORMAT(RegisterClipboardFormat(L"UniformResourceLocator"));
    GFormats.URI = CLIPFORMAT(RegisterClipboardFormat(L"UniformResourceLocator"));
}

bool VurDropRTF() { return GDropRTF; }
void SetVurDropRTF(bool Value) { GDropRTF = Value; }

DWORD KeysToEffect(DWORD KeyState, DWORD OkEffects)
{
    if (KeyState & MK_CONTROL) return DROPEFFECT_COPY;
    return (OkEffects & DROPEFFECT_MOVE) ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
}

// ---------------------------------------------------------------------------
// TEnumFormats

TEnumFormats::TEnumFormats(IDataObject* DataObject) : FFiles(std::make_unique<TStringList>())
{
    RegisterVurFormats();
    SetDataObject(DataObject);
}

TEnumFormats::~TEnumFormats()
{
    if (FEnumerator) FEnumerator->Release();
    if (FDataObject) FDataObject->Release();
}

void TEnumFormats::SetDataObject(IDataObject* Value)
{
    if (FEnumerator) FEnumerator->Release();
    FEnumerator = nullptr;
    if (FDataObject) FDataObject->Release();
    FDataObject = Value;
    FValid = false;
    FCount = 0;
    if (!FDataObject) return;
    FDataObject->AddRef();
    IEnumFORMATETC* e = nullptr;
    if (FDataObject->EnumFormatEtc(DATADIR_GET, &e) != S_OK || !e) {
        if (e) e->Release();
        FDataObject->Release();
        FDataObject = nullptr;
        throw EAssertionFailed(L"Cannot get the format enumerator");
    }
    FEnumerator = e;
    Reset();
}

bool TEnumFormats::Reset()
{
    FValid = false;
    FCount = 0;
    return FEnumerator && FEnumerator->Reset() == S_OK;
}

bool TEnumFormats::Next()
{
    ++FCount;
    if (!FEnumerator) return FValid = false;
    ULONG got = 0;
    FORMATETC f{};
    FValid = FEnumerator->Next(1, &f, &got) == S_OK && got == 1;
    if (FValid) FFormatEtc = f;
    return FValid;
}

bool TEnumFormats::HasFormat(CLIPFORMAT ClipFormat)
{
    if (!Reset()) return false;
    while (Next())
        if (FFormatEtc.cfFormat == ClipFormat) return true;
    return false;
}

HGLOBAL TEnumFormats::Handle(DWORD Tymed)
{
    if (!FValid || !FDataObject || !(FFormatEtc.tymed & Tymed)) return nullptr;
    FORMATETC f = FFormatEtc;
    f.tymed = Tymed;
    STGMEDIUM m;
    if (FDataObject->GetData(&f, &m) != S_OK) return nullptr;
    if (m.pUnkForRelease) {
        // The block is not ours to keep: hand out a copy.
        HGLOBAL h = nullptr;
        if (m.tymed == TYMED_HGLOBAL && m.hGlobal) {
            const size_t n = GlobalSize(m.hGlobal);
            void* p = GlobalLock(m.hGlobal);
            if (p) {
                h = MakeBlock(p, n);
                GlobalUnlock(m.hGlobal);
            }
        }
        ReleaseStgMedium(&m);
        return h;
    }
    return m.tymed == TYMED_HGLOBAL ? m.hGlobal : nullptr;
}

bool TEnumFormats::ReadBlock(std::vector<uint8_t>& Bytes)
{
    Bytes.clear();
    HGLOBAL h = GlobalHandle();
    if (!h) return false;
    bool ok = false;
    if (void* p = GlobalLock(h)) {
        const auto* b = static_cast<const uint8_t*>(p);
        Bytes.assign(b, b + GlobalSize(h));
        GlobalUnlock(h);
        ok = true;
    }
    GlobalFree(h);
    return ok;
}

String TEnumFormats::Text()
{
    if (!HasFormat(CF_UNICODETEXT)) return String();
    HGLOBAL h = GlobalHandle();
    if (!h) return String();
    String s = GlobalText(h, CF_UNICODETEXT);
    GlobalFree(h);
    return s;
}

String TEnumFormats::RTF()
{
    if (!HasFormat(VurFormats().RTF)) return String();
    HGLOBAL h = GlobalHandle();
    if (!h) return String();
    String s = GlobalText(h, CF_TEXT);
    GlobalFree(h);
    return s;
}

String TEnumFormats::URI()
{
    if (!HasFormat(VurFormats().URI)) return String();
    HGLOBAL h = GlobalHandle();
    if (!h) return String();
    const String w = GlobalText(h, CF_UNICODETEXT);
    GlobalFree(h);
    // Through the system code page: characters it lacks become "?".
    HGLOBAL a = MakeGlobalText(w, CF_TEXT);
    if (!a) return String();
    String s = GlobalText(a, CF_TEXT);
    GlobalFree(a);
    return s;
}

Integer TEnumFormats::Col()
{
    if (!HasFormat(VurFormats().Col)) return -1;
    std::vector<uint8_t> b;
    if (!ReadBlock(b) || b.size() < 4) return -1;
    return Integer(ReadU32(b.data()));
}

TMemoryStream* TEnumFormats::Stream()
{
    if (!HasFormat(VurFormats().Cells)) return nullptr;
    std::vector<uint8_t> b;
    if (!ReadBlock(b) || b.size() < 8) return nullptr;
    // The length comes from the data: it must fit in the block.
    const uint32_t L = ReadU32(b.data());
    if (L > b.size() - 8) return nullptr;
    auto* m = new TMemoryStream;
    if (L) m->WriteBuffer(b.data() + 8, L);
    m->SetPosition(0);
    return m;
}

bool TEnumFormats::ReadFiles()
{
    FFiles->Clear();
    if (!FValid || FFormatEtc.cfFormat != CF_HDROP) return false;
    std::vector<uint8_t> b;
    if (!ReadBlock(b) || b.size() < sizeof(DROPFILES)) return false;
    const size_t start = ReadU32(b.data()) & ~size_t(1);
    const bool wide = ReadU32(b.data() + 16) != 0;
    // Every offset comes from the data: names stop at the block's end.
    size_t p = start;
    while (p < b.size()) {
        // A name ends at its zero or at the block's end.
        size_t e = p;
        String name;
        if (wide) {
            while (e + 1 < b.size() && (b[e] | b[e + 1]) != 0) e += 2;
            name = TEncoding::Unicode()->GetString(b.data() + p, e - p);
            p = e + 2;
        } else {
            while (e < b.size() && b[e] != 0) ++e;
            name = TEncoding::ANSI()->GetString(b.data() + p, e - p);
            p = e + 1;
        }
        if (name.empty()) break;
        FFiles->Add(name);
    }
    return FFiles->Count() > 0;
}

// ---------------------------------------------------------------------------
// TVURDropTarget

HRESULT TVURDropTarget::QueryInterface(const TGUID& iid, void** obj)
{
    if (!obj) return E_POINTER;
    if (Answer<IDropTarget>(iid, obj, this)) return S_OK;
    return TInterfacedObject::QueryInterface(iid, obj);
}

void TVURDropTarget::DragMouseMove(TPoint, bool&, TDropFormats) {}

void TVURDropTarget::DropFailed(std::exception_ptr E)
{
    if (!FDropError) FDropError = E;
}

std::exception_ptr TVURDropTarget::TakeDropError()
{
    std::exception_ptr e = FDropError;
    FDropError = nullptr;
    return e;
}

HRESULT TVURDropTarget::DragEnter(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect)
{
    (void)pt;
    if (!effect) return E_INVALIDARG;
    const DWORD offered = *effect;
    FIsURI = false;
    FOk = false;
    FDropFormats = 0;
    try {
        TEnumFormats ef(data);
        const bool text = ef.HasText(), files = ef.HasFile(), rtf = ef.HasRTF(), col = ef.HasCol(),
                   url = ef.HasURL(), uri = ef.HasURI(), cells = ef.HasGridCells();
        FOk = (text && FAcceptText) || (files && FAcceptFiles) || (rtf && VurDropRTF() && FAcceptText) ||
              (col && FAcceptCols) || (url && FAcceptURLs) || (uri && FAcceptURLs) || cells;
        if (text) FDropFormats |= DropFormatBit(dfText);
        if (files) FDropFormats |= DropFormatBit(dfFile);
        if (rtf) FDropFormats |= DropFormatBit(dfRTF);
        if (col) FDropFormats |= DropFormatBit(dfCol);
        if (url) FDropFormats |= DropFormatBit(dfURL);
        if (uri) FDropFormats |= DropFormatURIBit;
        if (cells) FDropFormats |= DropFormatBit(dfGridCells);
    } catch (const Exception&) {
        // A foreign object without a format enumerator: refused.
        FOk = false;
        FDropFormats = 0;
    }
    if (!FOk)
        *effect = DROPEFFECT_NONE;
    else if (FDropFormats & DropFormatURIBit) {
        *effect = DROPEFFECT_LINK;
        FIsURI = true;
    } else
        *effect = KeysToEffect(keyState, offered);
    DragMouseEnter();
    return S_OK;
}

HRESULT TVURDropTarget::DragOver(DWORD keyState, POINTL pt, DWORD* effect)
{
    if (!effect) return E_INVALIDARG;
    const DWORD offered = *effect;
    if (FOk)
        *effect = FIsURI ? DROPEFFECT_LINK : KeysToEffect(keyState, offered);
    else
        *effect = DROPEFFECT_NONE;
    bool allow = *effect != DROPEFFECT_NONE;
    try {
        DragMouseMove(TPoint{Integer(pt.x), Integer(pt.y)}, allow, FDropFormats);
    } catch (...) {
        DropFailed(std::current_exception());
        allow = false;
    }
    if (!allow) *effect = DROPEFFECT_NONE;
    return S_OK;
}

HRESULT TVURDropTarget::DragLeave()
{
    FIsURI = false;
    try {
        DragMouseLeave();
    } catch (...) {
        DropFailed(std::current_exception());
    }
    return S_OK;
}

HRESULT TVURDropTarget::Drop(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect)
{
    if (!effect) return E_INVALIDARG;
    const DWORD offered = *effect;
    if (!FOk) {
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    const TPoint p{Integer(pt.x), Integer(pt.y)};
    try {
        TEnumFormats ef(data);
        if (ef.HasURI())
            DropURL(p, ef.Text());
        else if (ef.HasCol())
            DropCol(p, ef.Col());
        else {
            if (ef.HasGridCells()) {
                std::unique_ptr<TMemoryStream> m(ef.Stream());
                if (m) DropStream(p, m.get());
            } else if (ef.HasRTF() && VurDropRTF())
                DropRTF(p, ef.RTF());
            else if (ef.HasText())
                DropText(p, ef.Text());
            if (ef.HasFile() && ef.ReadFiles()) DropFiles(p, ef.Files());
            if (ef.HasURL()) DropURL(p, ef.Text());
        }
    } catch (...) {
        // Handlers' failures stay out of the drag loop.
        DropFailed(std::current_exception());
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    *effect = KeysToEffect(keyState, offered);
    return S_OK;
}

// ---------------------------------------------------------------------------
// TVURDropSource

HRESULT TVURDropSource::QueryInterface(const TGUID& iid, void** obj)
{
    if (!obj) return E_POINTER;
    if (Answer<IDropSource>(iid, obj, this)) return S_OK;
    return TInterfacedObject::QueryInterface(iid, obj);
}

HRESULT TVURDropSource::QueryContinueDrag(BOOL escapePressed, DWORD keyState)
{
    HRESULT r = S_OK;
    if (escapePressed) {
        DragFinished();
        r = DRAGDROP_S_CANCEL;
    } else if (!(keyState & MK_LBUTTON)) {
        DragFinished();
        r = DRAGDROP_S_DROP;
    }
    QueryDrag();
    return r;
}

HRESULT TVURDropSource::GiveFeedback(DWORD effect)
{
    FNoAccept = (effect & ~DROPEFFECT_SCROLL) == DROPEFFECT_NONE;
    CurrentEffect(Integer(effect));
    return DRAGDROP_S_USEDEFAULTCURSORS;
}

// ---------------------------------------------------------------------------
// TSourceDataObject

HRESULT TSourceDataObject::QueryInterface(const TGUID& iid, void** obj)
{
    if (!obj) return E_POINTER;
    if (Answer<IDataObject>(iid, obj, this)) return S_OK;
    return TInterfacedObject::QueryInterface(iid, obj);
}

HRESULT TSourceDataObject::QueryGetData(const FORMATETC* f)
{
    if (!f) return E_INVALIDARG;
    if (f->dwAspect != DVASPECT_CONTENT || f->tymed != TYMED_HGLOBAL) return DV_E_FORMATETC;
    const TVurFormats& k = VurFormats();
    if (!textdata.empty() && (f->cfFormat == CF_TEXT || f->cfFormat == CF_UNICODETEXT ||
                              (f->cfFormat == k.RTF && k.RTF && VurDropRTF())))
        return S_OK;
    if (memstr && k.Cells && f->cfFormat == k.Cells) return S_OK;
    if (scolidx != -1 && k.Col && f->cfFormat == k.Col) return S_OK;
    return DV_E_FORMATETC;
}

HRESULT TSourceDataObject::GetData(const FORMATETC* f, STGMEDIUM* medium)
{
    if (!medium) return E_INVALIDARG;
    medium->tymed = TYMED_NULL;
    medium->hGlobal = nullptr;
    medium->pUnkForRelease = nullptr;
    if (QueryGetData(f) != S_OK) return DV_E_FORMATETC;
    const TVurFormats& k = VurFormats();
    HGLOBAL h = nullptr;
    if (f->cfFormat == CF_TEXT || f->cfFormat == CF_UNICODETEXT)
        h = MakeGlobalText(textdata, f->cfFormat);
    else if (f->cfFormat == k.RTF)
        h = MakeGlobalText(rtfdata, CF_TEXT);
    else if (f->cfFormat == k.Col) {
        const int32_t v = scolidx;
        h = MakeBlock(&v, sizeof v);
    } else if (f->cfFormat == k.Cells) {
        const Int64 size = memstr->Size();
        if (size < 0 || size > Int64(UINT32_MAX) - 8) return DV_E_FORMATETC;
        const uint32_t L = uint32_t(size);
        h = GlobalAlloc(GHND | GMEM_SHARE, size_t(L) + 8);
        if (h) {
            auto* p = static_cast<uint8_t*>(GlobalLock(h));
            if (!p) {
                GlobalFree(h);
                return DV_E_FORMATETC;
            }
            std::memcpy(p, &L, 4);
            if (L) std::memcpy(p + 8, memstr->Memory(), L);
            GlobalUnlock(h);
        }
    }
    if (!h) return DV_E_FORMATETC;
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = h;
    return S_OK;
}

HRESULT TSourceDataObject::GetDataHere(const FORMATETC*, STGMEDIUM*) { return DV_E_FORMATETC; }
HRESULT TSourceDataObject::SetData(const FORMATETC*, STGMEDIUM*, BOOL) { return DV_E_FORMATETC; }

HRESULT TSourceDataObject::GetCanonicalFormatEtc(const FORMATETC*, FORMATETC* formatOut)
{
    if (formatOut) formatOut->ptd = nullptr;
    return E_NOTIMPL;
}

HRESULT TSourceDataObject::EnumFormatEtc(DWORD direction, IEnumFORMATETC** enumFormat)
{
    if (!enumFormat) return E_INVALIDARG;
    *enumFormat = nullptr;
    if (direction != DATADIR_GET) return E_NOTIMPL;
    auto* e = new TSourceEnumFormatEtc(scolidx != -1, memstr != nullptr);
    e->AddRef();
    *enumFormat = e;
    return S_OK;
}

HRESULT TSourceDataObject::DAdvise(const FORMATETC*, DWORD, IAdviseSink*, DWORD*) { return OLE_E_ADVISENOTSUPPORTED; }
HRESULT TSourceDataObject::DUnadvise(DWORD) { return OLE_E_ADVISENOTSUPPORTED; }

HRESULT TSourceDataObject::EnumDAdvise(IEnumSTATDATA** enumAdvise)
{
    if (enumAdvise) *enumAdvise = nullptr;
    return OLE_E_ADVISENOTSUPPORTED;
}

// ---------------------------------------------------------------------------
// TSourceEnumFormatEtc

HRESULT TSourceEnumFormatEtc::QueryInterface(const TGUID& iid, void** obj)
{
    if (!obj) return E_POINTER;
    if (Answer<IEnumFORMATETC>(iid, obj, this)) return S_OK;
    return TInterfacedObject::QueryInterface(iid, obj);
}

FORMATETC TSourceEnumFormatEtc::Entry(Integer i) const
{
    FORMATETC f{};
    f.ptd = nullptr;
    f.dwAspect = DVASPECT_CONTENT;
    f.lindex = -1;
    f.tymed = TYMED_HGLOBAL;
    const TVurFormats& k = VurFormats();
    switch (i) {
    case 0: f.cfFormat = CF_TEXT; break;
    case 1: f.cfFormat = CF_UNICODETEXT; break;
    case 2: f.cfFormat = k.RTF; break;
    case 3: f.cfFormat = FHasCol ? k.Col : k.Cells; break;
    default: f.cfFormat = k.Cells; break;
    }
    return f;
}

HRESULT TSourceEnumFormatEtc::Next(ULONG celt, FORMATETC* rgelt, ULONG* pceltFetched)
{
    if (pceltFetched) *pceltFetched = 0;
    if (!rgelt && celt) return E_INVALIDARG;
    ULONG n = 0;
    while (n < celt && FIndex < EntryCount()) rgelt[n++] = Entry(FIndex++);
    if (pceltFetched) *pceltFetched = n;
    return n == celt ? S_OK : S_FALSE;
}

HRESULT TSourceEnumFormatEtc::Skip(ULONG celt)
{
    if (Int64(FIndex) + celt > EntryCount()) {
        FIndex = EntryCount();
        return S_FALSE;
    }
    FIndex += Integer(celt);
    return S_OK;
}

HRESULT TSourceEnumFormatEtc::Reset()
{
    FIndex = 0;
    return S_OK;
}

HRESULT TSourceEnumFormatEtc::Clone(IEnumFORMATETC** ppenum)
{
    if (!ppenum) return E_INVALIDARG;
    auto* e = new TSourceEnumFormatEtc(FHasCol, FHasGridCells, FIndex);
    e->AddRef();
    *ppenum = e;
    return S_OK;
}

// ---------------------------------------------------------------------------
// Starting a drag

namespace {

HRESULT RunDrag(TSourceDataObject* Data, TVURDropSource* Source, Integer OkEffects, Integer& Effect)
{
    RegisterVurFormats();
    Data->AddRef();
    if (Source) Source->FNoAccept = false;
    DWORD eff = DROPEFFECT_NONE;
    const HRESULT hr = DoDragDrop(Data, Source, DWORD(OkEffects), &eff);
    Effect = Integer(eff);
    Data->Release();
    return Source && Source->FNoAccept ? DRAGDROP_S_CANCEL : hr;
}

}  // namespace

HRESULT BeginTextOleDrag(TVURDropSource* Source, const String& Text, const String& RTF, Integer& Effect,
                         Integer OkEffects, TMemoryStream* Stream)
{
    return RunDrag(new TSourceDataObject(Text, Stream, -1, RTF), Source, OkEffects, Effect);
}

HRESULT BeginColumnOleDrag(TVURDropSource* Source, Integer Column, Integer OkEffects, Integer& Effect)
{
    return RunDrag(new TSourceDataObject(String(), nullptr, Column, String()), Source, OkEffects, Effect);
}

}  // namespace vurdd
