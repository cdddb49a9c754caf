#include "controls/edits/VodEddd.h"

#include <cstring>

#include "platform/base/Encoding.h"
#include "platform/base/Exceptions.h"
#include "platform/ui/Clipbrd.h"

VEL_DECLARE_EXCEPTION(EVodEdddAssertion, Exception)

namespace {

UINT GRtfFormat = 0;
bool GRtfEnabled = false;

// The 8-bit text of a block, read no further than the block goes.
String BlockAnsiText(HGLOBAL h)
{
    if (!h) return L"";
    const size_t size = GlobalSize(h);
    const auto* p = static_cast<const char*>(GlobalLock(h));
    if (!p) return L"";
    size_t n = 0;
    while (n < size && p[n]) ++n;
    AnsiString a(p, n);
    GlobalUnlock(h);
    return AnsiToString(a);
}

}  // namespace

UINT VodEdddRTFFormat() { return GRtfFormat; }
bool VodEdddRTFEnabled() { return GRtfEnabled; }
void SetVodEdddRTFEnabled(bool v) { GRtfEnabled = v; }

// ---------------------------------------------------------------------------
// TEnumFormats

TEnumFormats::TEnumFormats(IDataObject* DataObject) : FDataObject(DataObject)
{
    IEnumFORMATETC* e = nullptr;
    if (!DataObject || FAILED(DataObject->EnumFormatEtc(DATADIR_GET, &e)) || !e)
        throw EVodEdddAssertion(L"Cannot get the format enumerator");
    FEnumerator.Attach(e);
    Reset();
    FFiles = std::make_unique<TStringList>();
    if (OpenClipboard(nullptr)) {
        GRtfFormat = RegisterClipboardFormat(L"Rich Text Format");
        CloseClipboard();
    }
}

TEnumFormats::~TEnumFormats()
{
    for (STGMEDIUM& m : FMedia) ReleaseStgMedium(&m);
}

bool TEnumFormats::Reset()
{
    FValid = false;
    FCount = 0;
    return FEnumerator->Reset() == S_OK;
}

bool TEnumFormats::Next()
{
    ++FCount;
    ULONG fetched = 0;
    FValid = FEnumerator->Next(1, &FFormatEtc, &fetched) == S_OK && fetched == 1;
    return FValid;
}

bool TEnumFormats::HasFormat(CLIPFORMAT cf)
{
    Reset();
    while (Next())
        if (FFormatEtc.cfFormat == cf) return true;
    return false;
}

HGLOBAL TEnumFormats::Handle(DWORD Tymed)
{
    if (!FValid || (FFormatEtc.tymed & Tymed) != Tymed) return nullptr;
    FORMATETC f = FFormatEtc;
    f.tymed = Tymed;
    STGMEDIUM m;
    if (FAILED(FDataObject->GetData(&f, &m))) return nullptr;
    FMedia.push_back(m);
    return m.tymed == TYMED_HGLOBAL ? m.hGlobal : nullptr;
}

String TEnumFormats::ReadText(CLIPFORMAT cf)
{
    if (!HasFormat(cf)) return L"";
    HGLOBAL h = GlobalHandle();
    if (!h) return L"";
    if (cf == CF_UNICODETEXT || cf == CF_TEXT) return GlobalText(h, cf);
    return BlockAnsiText(h);
}

String TEnumFormats::Text() { return HasFormat(CF_UNICODETEXT) ? ReadText(CF_UNICODETEXT) : ReadText(CF_TEXT); }
String TEnumFormats::RTF() { return GRtfFormat ? ReadText(CLIPFORMAT(GRtfFormat)) : L""; }
bool TEnumFormats::HasText() { return HasFormat(CF_UNICODETEXT) || HasFormat(CF_TEXT); }
bool TEnumFormats::HasRTF() { return GRtfFormat && HasFormat(CLIPFORMAT(GRtfFormat)); }
bool TEnumFormats::HasFile() { return HasFormat(CF_HDROP); }

bool TEnumFormats::ReadFiles()
{
    FFiles->Clear();
    if (!HasFormat(CF_HDROP)) return false;
    HGLOBAL h = GlobalHandle();
    if (!h) return false;
    // DragQueryFile never reads past the block, whatever its header says.
    const UINT n = DragQueryFile(static_cast<HDROP>(h), 0xFFFFFFFFu, nullptr, 0);
    for (UINT i = 0; i < n; ++i) {
        const UINT len = DragQueryFile(static_cast<HDROP>(h), i, nullptr, 0);
        if (len == 0) break;
        std::vector<Char> buf(size_t(len) + 1);
        DragQueryFile(static_cast<HDROP>(h), i, buf.data(), len + 1);
        FFiles->Add(String(buf.data()));
    }
    return FFiles->Count() > 0;
}

// ---------------------------------------------------------------------------
// TAEDropTarget

namespace {
DWORD EffectFor(DWORD keyState) { return (keyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE; }
}  // namespace

HRESULT TAEDropTarget::QueryInterface(const TGUID& iid, void** obj)
{
    if (!obj) return E_POINTER;
    if (Answer<IDropTarget>(iid, obj, this)) return S_OK;
    return TInterfacedObject::QueryInterface(iid, obj);
}

HRESULT TAEDropTarget::DragEnter(IDataObject* data, DWORD keyState, POINTL, DWORD* effect)
{
    FOk = false;
    try {
        TEnumFormats f(data);
        FOk = f.HasText() || f.HasFile() || (GRtfEnabled && f.HasRTF());
    } catch (const Exception&) {
        FOk = false;
    }
    if (effect) *effect = FOk ? EffectFor(keyState) : DROPEFFECT_NONE;
    return S_OK;
}

HRESULT TAEDropTarget::DragOver(DWORD keyState, POINTL pt, DWORD* effect)
{
    DWORD e = FOk ? EffectFor(keyState) : DROPEFFECT_NONE;
    bool allow = true;
    DragMouseMove(TPoint{pt.x, pt.y}, allow);
    if (!allow) e = DROPEFFECT_NONE;
    if (effect) *effect = e;
    return S_OK;
}

HRESULT TAEDropTarget::DragLeave() { return S_OK; }

HRESULT TAEDropTarget::Drop(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect)
{
    DWORD e = DROPEFFECT_NONE;
    if (FOk) {
        try {
            TEnumFormats f(data);
            const TPoint p{pt.x, pt.y};
            if (GRtfEnabled && f.HasRTF()) DropRTF(p, f.RTF());
            else if (f.HasText()) DropText(p, f.Text());
            if (f.HasFile() && f.ReadFiles()) DropFiles(p, f.Files());
            e = EffectFor(keyState);
        } catch (const Exception&) {
            e = DROPEFFECT_NONE;
        }
    }
    if (effect) *effect = e;
    return S_OK;
}

// ---------------------------------------------------------------------------
// TAEDropSource

HRESULT TAEDropSource::QueryInterface(const TGUID& iid, void** obj)
{
    if (!obj) return E_POINTER;
    if (Answer<IDropSource>(iid, obj, this)) return S_OK;
    return TInterfacedObject::QueryInterface(iid, obj);
}

HRESULT TAEDropSource::QueryContinueDrag(BOOL escapePressed, DWORD keyState)
{
    if (escapePressed) return DRAGDROP_S_CANCEL;
    if (!(keyState & MK_LBUTTON)) return DRAGDROP_S_DROP;
    return S_OK;
}

HRESULT TAEDropSource::GiveFeedback(DWORD effect)
{
    FNoAccept = effect == DROPEFFECT_NONE;
    return DRAGDROP_S_USEDEFAULTCURSORS;
}

// ---------------------------------------------------------------------------
// TSourceEnumFormatEtc

namespace {

FORMATETC SourceFormat(ULONG i)
{
    FORMATETC f;
    f.cfFormat = i == 0 ? CF_TEXT : i == 1 ? CF_UNICODETEXT : CLIPFORMAT(GRtfFormat);
    f.ptd = nullptr;
    f.dwAspect = DVASPECT_CONTENT;
    f.lindex = -1;
    f.tymed = TYMED_HGLOBAL;
    return f;
}

constexpr ULONG kSourceFormats = 3;

}  // namespace

HRESULT TSourceEnumFormatEtc::QueryInterface(const TGUID& iid, void** obj)
{
    if (!obj) return E_POINTER;
    if (Answer<IEnumFORMATETC>(iid, obj, this)) return S_OK;
    return TInterfacedObject::QueryInterface(iid, obj);
}

HRESULT TSourceEnumFormatEtc::Next(ULONG celt, FORMATETC* rgelt, ULONG* pceltFetched)
{
    ULONG n = 0;
    while (n < celt && FIndex < kSourceFormats && rgelt) {
        rgelt[n] = SourceFormat(FIndex);
        ++n;
        ++FIndex;
    }
    if (pceltFetched) *pceltFetched = n;
    return n == celt ? S_OK : S_FALSE;
}

HRESULT TSourceEnumFormatEtc::Skip(ULONG celt)
{
    FIndex += celt;
    if (FIndex < 4) return S_OK;
    FIndex = 3;
    return S_FALSE;
}

HRESULT TSourceEnumFormatEtc::Reset()
{
    FIndex = 0;
    return S_OK;
}

HRESULT TSourceEnumFormatEtc::Clone(IEnumFORMATETC** ppenum)
{
    if (!ppenum) return E_POINTER;
    auto* e = new TSourceEnumFormatEtc;
    e->AddRef();
    *ppenum = e;
    return S_OK;
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
    if (!f || f->dwAspect != DVASPECT_CONTENT) return DV_E_FORMATETC;
    const bool known = f->cfFormat == CF_TEXT || f->cfFormat == CF_UNICODETEXT ||
                       (GRtfEnabled && GRtfFormat && f->cfFormat == GRtfFormat);
    if (!known || f->tymed != TYMED_HGLOBAL) return DV_E_FORMATETC;
    return S_OK;
}

HRESULT TSourceDataObject::GetData(const FORMATETC* f, STGMEDIUM* medium)
{
    if (!medium) return E_POINTER;
    *medium = STGMEDIUM{};
    if (QueryGetData(f) != S_OK) return DV_E_FORMATETC;
    HGLOBAL h = nullptr;
    if (f->cfFormat == CF_TEXT || f->cfFormat == CF_UNICODETEXT) {
        h = MakeGlobalText(textdata, f->cfFormat);
    } else {
        // The RTF text with a final zero, so a reader never runs past it.
        const AnsiString a = StringToAnsi(rtfdata);
        h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, a.size() + 1);
        if (h) {
            if (void* p = GlobalLock(h)) {
                std::memcpy(p, a.data(), a.size());
                GlobalUnlock(h);
            }
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
    if (!enumFormat) return E_POINTER;
    *enumFormat = nullptr;
    if (direction != DATADIR_GET) return E_NOTIMPL;
    auto* e = new TSourceEnumFormatEtc;
    e->AddRef();
    *enumFormat = e;
    return S_OK;
}

HRESULT TSourceDataObject::DAdvise(const FORMATETC*, DWORD, IAdviseSink*, DWORD*)
{
    return OLE_E_ADVISENOTSUPPORTED;
}
HRESULT TSourceDataObject::DUnadvise(DWORD) { return OLE_E_ADVISENOTSUPPORTED; }
HRESULT TSourceDataObject::EnumDAdvise(IEnumSTATDATA** enumAdvise)
{
    if (enumAdvise) *enumAdvise = nullptr;
    return OLE_E_ADVISENOTSUPPORTED;
}

// ---------------------------------------------------------------------------

HRESULT StartDoDragDrop(const String& Text, const String& Rtf, DWORD AllowedEffects, DWORD& Effect)
{
    TComPtr<TAEDropSource> source(new TAEDropSource);
    TComPtr<TSourceDataObject> data(new TSourceDataObject(Text, Rtf));
    Effect = DROPEFFECT_NONE;
    HRESULT hr = DoDragDrop(data.Get(), source.Get(), AllowedEffects, &Effect);
    if (source->NoAccept()) return DRAGDROP_S_CANCEL;
    return hr;
}
