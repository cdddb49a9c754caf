#include "platform/ui/Ole2.h"

#include <cstring>
#include <map>
#include <mutex>

#include "platform/ui/Clipbrd.h"
#include "platform/ui/backend/Sdl.h"

// ---------------------------------------------------------------------------
// Start-up and registration

namespace {

thread_local int tlOleInits = 0;

struct TRegistry {
    std::mutex Lock;
    std::map<HWND, TComPtr<IDropTarget>> Targets;
};

TRegistry& Registry()
{
    static TRegistry* r = new TRegistry;   // lives for the whole process
    return *r;
}

// Registrations of windows that are gone are dropped: their handles are
// never answered again. The references are released outside the lock, as
// a target's destructor may call back in here.
std::vector<TComPtr<IDropTarget>> TakeStale()
{
    std::vector<TComPtr<IDropTarget>> stale;
    auto& r = Registry();
    std::lock_guard<std::mutex> g(r.Lock);
    for (auto it = r.Targets.begin(); it != r.Targets.end();) {
        if (IsWindow(it->first)) {
            ++it;
        } else {
            stale.push_back(std::move(it->second));
            it = r.Targets.erase(it);
        }
    }
    return stale;
}

TComPtr<IDropTarget> TargetOf(HWND hwnd)
{
    auto& r = Registry();
    std::lock_guard<std::mutex> g(r.Lock);
    auto it = r.Targets.find(hwnd);
    return it == r.Targets.end() ? TComPtr<IDropTarget>() : it->second;
}

// The window under a screen point that has a target, itself or its nearest
// parent; null over the desktop or windows without one.
HWND TargetWindowAt(TPoint pt, TComPtr<IDropTarget>& target)
{
    target = nullptr;
    for (HWND h = WindowFromPoint(pt); h; h = GetAncestor(h, GA_PARENT)) {
        target = TargetOf(h);
        if (target) return h;
    }
    return nullptr;
}

void RouteDesktopDrops()
{
    static std::mutex lock;
    std::lock_guard<std::mutex> g(lock);
    if (!OnBackendFilesDropped)
        OnBackendFilesDropped = [](HWND window, std::vector<String> files, TPoint pt) {
            OleDropFiles(window, files, pt);
        };
}

}  // namespace

HRESULT OleInitialize(void*)
{
    RouteDesktopDrops();
    return tlOleInits++ == 0 ? S_OK : S_FALSE;
}

void OleUninitialize()
{
    if (tlOleInits > 0) --tlOleInits;
}

HRESULT RegisterDragDrop(HWND hwnd, IDropTarget* target)
{
    if (tlOleInits == 0) return CO_E_NOTINITIALIZED;
    auto stale = TakeStale();
    if (!target) return E_INVALIDARG;
    if (!IsWindow(hwnd)) return DRAGDROP_E_INVALIDHWND;
    auto& r = Registry();
    std::lock_guard<std::mutex> g(r.Lock);
    auto& slot = r.Targets[hwnd];
    if (slot) return DRAGDROP_E_ALREADYREGISTERED;
    slot = target;
    return S_OK;
}

HRESULT RevokeDragDrop(HWND hwnd)
{
    if (tlOleInits == 0) return CO_E_NOTINITIALIZED;
    auto stale = TakeStale();
    if (!IsWindow(hwnd)) return DRAGDROP_E_INVALIDHWND;
    TComPtr<IDropTarget> gone;
    {
        auto& r = Registry();
        std::lock_guard<std::mutex> g(r.Lock);
        auto it = r.Targets.find(hwnd);
        if (it == r.Targets.end()) return DRAGDROP_E_NOTREGISTERED;
        gone = std::move(it->second);
        r.Targets.erase(it);
    }
    return S_OK;
}

HCURSOR DragCursorForEffect(DWORD effect)
{
    if (effect & DROPEFFECT_MOVE) return LoadCursor(nullptr, L"OleDragMove");
    if (effect & DROPEFFECT_COPY) return LoadCursor(nullptr, L"OleDragCopy");
    if (effect & DROPEFFECT_LINK) return LoadCursor(nullptr, L"OleDragLink");
    return LoadCursor(nullptr, uintptr_t(IDC_NO));
}

// ---------------------------------------------------------------------------
// The drag loop

namespace {

constexpr UINT_PTR kDragTimer = 1;
constexpr UINT kDragTimerMs = 50;   // DragOver while the mouse rests (auto scroll)
const wchar_t kTrackerClass[] = L"OleDragTracker";

constexpr DWORD kButtons = MK_LBUTTON | MK_RBUTTON | MK_MBUTTON;

DWORD CurrentKeyState()
{
    DWORD k = 0;
    if (GetKeyState(VK_LBUTTON) < 0) k |= MK_LBUTTON;
    if (GetKeyState(VK_RBUTTON) < 0) k |= MK_RBUTTON;
    if (GetKeyState(VK_MBUTTON) < 0) k |= MK_MBUTTON;
    if (GetKeyState(VK_SHIFT) < 0) k |= MK_SHIFT;
    if (GetKeyState(VK_CONTROL) < 0) k |= MK_CONTROL;
    if (GetKeyState(VK_MENU) < 0) k |= MK_ALT;
    return k;
}

POINTL ToPointL(TPoint p) { return POINTL{p.X, p.Y}; }

class TDragLoop {
public:
    TDragLoop(IDataObject* data, IDropSource* source, DWORD okEffects)
        : FData(data), FSource(source), FOk(okEffects) {}

    HRESULT Run(DWORD& effect)
    {
        WNDCLASS wc;
        wc.lpfnWndProc = DefWindowProc;
        wc.lpszClassName = kTrackerClass;
        RegisterClass(wc);   // fails harmlessly when it is registered already
        FTracker = CreateWindowEx(0, kTrackerClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr);
        if (!FTracker) return E_OUTOFMEMORY;
        HCURSOR oldCursor = GetCursor();
        SetCapture(FTracker);
        SetTimer(FTracker, kDragTimer, kDragTimerMs, nullptr);

        // The state as of the last message taken from the queue, as the
        // key state a window sees while it handles that message.
        FKeys = CurrentKeyState();
        GetCursorPos(&FPt);
        bool quit = false;
        int quitCode = 0;
        HRESULT hr = Ask();
        if (hr == S_OK) Track();
        while (hr == S_OK) {
            MSG msg;
            if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
                WaitMessage();
                continue;
            }
            if (msg.message == WM_QUIT) {
                quit = true;
                quitCode = int(msg.wParam);
                hr = DRAGDROP_S_CANCEL;
                break;
            }
            if (!TakeInput(msg)) DispatchMessage(&msg);
            if (GetCapture() != FTracker) {
                hr = DRAGDROP_S_CANCEL;   // someone took the mouse away
                break;
            }
            if (!FStep) continue;
            FStep = false;
            hr = Ask();
            if (hr == S_OK) Track();
        }

        if (hr == DRAGDROP_S_DROP) {
            // The release may come at a point the last move did not reach.
            if (FTracked && FPt != FTrackedPt) Track();
            effect = Drop();
        } else {
            Leave();
            effect = DROPEFFECT_NONE;
        }
        KillTimer(FTracker, kDragTimer);
        if (GetCapture() == FTracker) ReleaseCapture();
        DestroyWindow(FTracker);
        SetCursor(oldCursor);
        if (quit) PostQuitMessage(quitCode);   // the loop outside ends too
        return hr;
    }

private:
    // Input ends up here instead of in the windows under the mouse; FStep
    // tells that it moved the drag on.
    bool TakeInput(const MSG& msg)
    {
        UINT m = msg.message;
        if (m == WM_TIMER && msg.hwnd == FTracker) {
            FStep = true;
            return true;
        }
        if ((m >= WM_MOUSEMOVE && m <= WM_MBUTTONDBLCLK) || (m >= 0x020B && m <= 0x020D)) {
            FPt = msg.pt;
            FKeys = DWORD(msg.wParam & (kButtons | MK_SHIFT | MK_CONTROL)) | (FKeys & MK_ALT);
            FStep = true;
            return true;
        }
        if (m == WM_MOUSEWHEEL || m == WM_MOUSEHWHEEL) return true;
        if (m >= WM_NCMOUSEMOVE && m <= WM_NCMBUTTONDBLCLK) {
            FPt = msg.pt;
            switch (m) {
            case WM_NCLBUTTONDOWN: FKeys |= MK_LBUTTON; break;
            case WM_NCLBUTTONUP: FKeys &= ~DWORD(MK_LBUTTON); break;
            case WM_NCRBUTTONDOWN: FKeys |= MK_RBUTTON; break;
            case WM_NCRBUTTONUP: FKeys &= ~DWORD(MK_RBUTTON); break;
            case WM_NCMBUTTONDOWN: FKeys |= MK_MBUTTON; break;
            case WM_NCMBUTTONUP: FKeys &= ~DWORD(MK_MBUTTON); break;
            default: break;
            }
            FStep = true;
            return true;
        }
        if (m >= WM_KEYFIRST && m <= WM_KEYLAST) {
            bool down = m == WM_KEYDOWN || m == WM_SYSKEYDOWN;
            bool up = m == WM_KEYUP || m == WM_SYSKEYUP;
            if (!down && !up) return true;   // characters: nobody types during a drag
            DWORD bit = 0;
            switch (msg.wParam) {
            case VK_SHIFT: case VK_LSHIFT: case VK_RSHIFT: bit = MK_SHIFT; break;
            case VK_CONTROL: case VK_LCONTROL: case VK_RCONTROL: bit = MK_CONTROL; break;
            case VK_MENU: case VK_LMENU: case VK_RMENU: bit = MK_ALT; break;
            case VK_ESCAPE:
                if (down) FEscape = true;
                break;
            default: break;
            }
            if (bit) FKeys = down ? (FKeys | bit) : (FKeys & ~bit);
            FStep = true;
            return true;
        }
        return false;
    }

    HRESULT Ask()
    {
        bool esc = FEscape;
        FEscape = false;
        return FSource->QueryContinueDrag(esc ? TRUE : FALSE, FKeys);
    }

    // Follows the mouse from target to target and shows the effect.
    void Track()
    {
        FTracked = true;
        FTrackedPt = FPt;
        TComPtr<IDropTarget> registered;
        HWND h = TargetWindowAt(FPt, registered);
        if (h != FWindow || registered != FRegistered) {
            Leave();
            FWindow = h;
            FRegistered = registered;
            if (registered) {
                DWORD e = FOk;
                if (SUCCEEDED(registered->DragEnter(FData, FKeys, ToPointL(FPt), &e))) {
                    FTarget = registered;
                    FEffect = e & (FOk | DROPEFFECT_SCROLL);
                }
            }
        } else if (FTarget) {
            DWORD e = FOk;
            HRESULT hr = FTarget->DragOver(FKeys, ToPointL(FPt), &e);
            FEffect = FAILED(hr) ? DROPEFFECT_NONE : e & (FOk | DROPEFFECT_SCROLL);
        }
        if (FSource->GiveFeedback(FEffect) == DRAGDROP_S_USEDEFAULTCURSORS)
            SetCursor(DragCursorForEffect(FEffect & ~DROPEFFECT_SCROLL));
    }

    void Leave()
    {
        if (FTarget) FTarget->DragLeave();
        FTarget = nullptr;
        FRegistered = nullptr;
        FWindow = nullptr;
        FEffect = DROPEFFECT_NONE;
    }

    DWORD Drop()
    {
        if (!FTarget || (FEffect & FOk) == DROPEFFECT_NONE) {
            Leave();
            return DROPEFFECT_NONE;
        }
        TComPtr<IDropTarget> target = FTarget;
        FTarget = nullptr;
        FRegistered = nullptr;
        FWindow = nullptr;
        DWORD e = FOk;
        HRESULT hr = target->Drop(FData, FKeys, ToPointL(FPt), &e);
        return FAILED(hr) ? DROPEFFECT_NONE : (e & FOk);
    }

    IDataObject* FData;
    IDropSource* FSource;
    DWORD FOk;
    HWND FTracker = nullptr;
    TPoint FPt, FTrackedPt;
    DWORD FKeys = 0;
    bool FEscape = false;
    bool FStep = false;
    bool FTracked = false;
    HWND FWindow = nullptr;                 // the window whose target was met last
    TComPtr<IDropTarget> FRegistered;       // its registered target
    TComPtr<IDropTarget> FTarget;           // the same, once it took DragEnter
    DWORD FEffect = DROPEFFECT_NONE;        // the target's last answer, limited
};

}  // namespace

HRESULT DoDragDrop(IDataObject* data, IDropSource* source, DWORD okEffects, DWORD* effect)
{
    if (effect) *effect = DROPEFFECT_NONE;
    if (!data || !source || !effect) return E_INVALIDARG;
    if (tlOleInits == 0) return CO_E_NOTINITIALIZED;
    auto stale = TakeStale();
    stale.clear();
    // The objects stay alive for the whole loop, whatever the callbacks do.
    TComPtr<IDataObject> keepData(data);
    TComPtr<IDropSource> keepSource(source);
    TDragLoop loop(data, source, okEffects);
    return loop.Run(*effect);
}

DWORD OleDropFiles(HWND window, const std::vector<String>& files, TPoint screenPt)
{
    if (!IsWindow(window) || files.empty()) return DROPEFFECT_NONE;
    TComPtr<IDropTarget> target;
    if (!TargetWindowAt(screenPt, target)) return DROPEFFECT_NONE;
    TComPtr<TDataObject> data(new TDataObject);
    if (FAILED(data->SetFiles(files))) return DROPEFFECT_NONE;
    // The mouse buttons are up by now: only the modifiers count.
    DWORD keys = CurrentKeyState() & ~kButtons;
    POINTL pt = ToPointL(screenPt);
    DWORD e = DROPEFFECT_COPY;
    if (FAILED(target->DragEnter(data.Get(), keys, pt, &e))) return DROPEFFECT_NONE;
    e = DROPEFFECT_COPY;
    if (FAILED(target->DragOver(keys, pt, &e)) || !(e & DROPEFFECT_COPY)) {
        target->DragLeave();
        return DROPEFFECT_NONE;
    }
    e = DROPEFFECT_COPY;
    if (FAILED(target->Drop(data.Get(), keys, pt, &e))) return DROPEFFECT_NONE;
    return e & DROPEFFECT_COPY;
}

// ---------------------------------------------------------------------------
// Clipboard

namespace {
HGLOBAL CopyGlobal(HGLOBAL h);
}

HRESULT OleSetClipboard(IDataObject* data)
{
    if (!OpenClipboard(nullptr)) return CLIPBRD_E_CANT_OPEN;
    struct Closer {
        ~Closer() { CloseClipboard(); }
    } closer;
    EmptyClipboard();
    if (!data) return S_OK;
    TComPtr<IEnumFORMATETC> formats;
    HRESULT hr = data->EnumFormatEtc(DATADIR_GET, formats.ReleaseAndGetAddressOf());
    if (FAILED(hr) || !formats) return FAILED(hr) ? hr : CLIPBRD_E_CANT_SET;
    FORMATETC f;
    ULONG got = 0;
    while (formats->Next(1, &f, &got) == S_OK && got == 1) {
        if (!(f.tymed & TYMED_HGLOBAL) || f.dwAspect != DVASPECT_CONTENT) continue;
        f.tymed = TYMED_HGLOBAL;
        STGMEDIUM m;
        if (FAILED(data->GetData(&f, &m))) continue;
        // The medium may belong to the object (pUnkForRelease): the
        // clipboard gets a block of its own.
        HGLOBAL copy = m.tymed == TYMED_HGLOBAL ? CopyGlobal(m.hGlobal) : nullptr;
        ReleaseStgMedium(&m);
        if (copy && !SetClipboardData(f.cfFormat, copy)) GlobalFree(copy);
    }
    return S_OK;
}

HRESULT OleGetClipboard(IDataObject** data)
{
    if (!data) return E_INVALIDARG;
    *data = nullptr;
    if (!OpenClipboard(nullptr)) return CLIPBRD_E_CANT_OPEN;
    TComPtr<TDataObject> copy(new TDataObject);
    for (UINT cf = EnumClipboardFormats(0); cf; cf = EnumClipboardFormats(cf)) {
        HGLOBAL h = GetClipboardData(cf);   // lent by the clipboard
        if (!h) continue;
        FORMATETC f;
        f.cfFormat = CLIPFORMAT(cf);
        STGMEDIUM m;
        m.tymed = TYMED_HGLOBAL;
        m.hGlobal = h;
        copy->SetData(&f, &m, FALSE);
    }
    CloseClipboard();
    *data = copy.Detach();
    return S_OK;
}

// ---------------------------------------------------------------------------
// Data object

namespace {

HGLOBAL CopyGlobal(HGLOBAL h)
{
    size_t size = GlobalSize(h);
    const void* src = GlobalLock(h);
    if (!src) return nullptr;
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
    if (copy) {
        memcpy(GlobalLock(copy), src, size);
        GlobalUnlock(copy);
    }
    GlobalUnlock(h);
    return copy;
}

bool SameSlot(const FORMATETC& a, const FORMATETC& b)
{
    return a.cfFormat == b.cfFormat && a.dwAspect == b.dwAspect && a.lindex == b.lindex;
}

}  // namespace

TDataObject::~TDataObject()
{
    for (TEntry& e : FEntries) ReleaseStgMedium(&e.Medium);
}

HRESULT TDataObject::QueryInterface(const TGUID& iid, void** obj)
{
    if (!obj) return E_POINTER;
    if (Answer<IDataObject>(iid, obj, this)) return S_OK;
    return TInterfacedObject::QueryInterface(iid, obj);
}

HRESULT TDataObject::Find(const FORMATETC* format, TEntry*& entry)
{
    entry = nullptr;
    if (!format) return E_INVALIDARG;
    HRESULT why = DV_E_FORMATETC;
    for (TEntry& e : FEntries) {
        if (e.Format.cfFormat != format->cfFormat) continue;
        if (e.Format.dwAspect != format->dwAspect) {
            why = DV_E_DVASPECT;
            continue;
        }
        if (e.Format.lindex != format->lindex) {
            why = DV_E_LINDEX;
            continue;
        }
        if (!(format->tymed & TYMED_HGLOBAL)) {
            why = DV_E_TYMED;
            continue;
        }
        entry = &e;
        return S_OK;
    }
    return why;
}

HRESULT TDataObject::GetData(const FORMATETC* format, STGMEDIUM* medium)
{
    if (!medium) return E_INVALIDARG;
    *medium = STGMEDIUM();
    TEntry* e;
    HRESULT hr = Find(format, e);
    if (FAILED(hr)) return hr;
    HGLOBAL copy = CopyGlobal(e->Medium.hGlobal);
    if (!copy) return E_OUTOFMEMORY;
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = copy;
    return S_OK;
}

HRESULT TDataObject::GetDataHere(const FORMATETC* format, STGMEDIUM* medium)
{
    if (!medium) return E_INVALIDARG;
    TEntry* e;
    HRESULT hr = Find(format, e);
    if (FAILED(hr)) return hr;
    if (medium->tymed != TYMED_HGLOBAL) return DV_E_TYMED;
    size_t size = GlobalSize(e->Medium.hGlobal);
    if (GlobalSize(medium->hGlobal) < size) return STG_E_MEDIUMFULL;
    void* dst = GlobalLock(medium->hGlobal);
    if (!dst) return E_INVALIDARG;
    memcpy(dst, GlobalLock(e->Medium.hGlobal), size);
    GlobalUnlock(e->Medium.hGlobal);
    GlobalUnlock(medium->hGlobal);
    return S_OK;
}

HRESULT TDataObject::QueryGetData(const FORMATETC* format)
{
    TEntry* e;
    return Find(format, e);
}

HRESULT TDataObject::GetCanonicalFormatEtc(const FORMATETC* formatIn, FORMATETC* formatOut)
{
    if (!formatIn || !formatOut) return E_INVALIDARG;
    *formatOut = *formatIn;
    formatOut->ptd = nullptr;
    return DATA_S_SAMEFORMATETC;
}

HRESULT TDataObject::SetData(const FORMATETC* format, STGMEDIUM* medium, BOOL release)
{
    if (!format || !medium) return E_INVALIDARG;
    if (format->tymed != TYMED_HGLOBAL || medium->tymed != TYMED_HGLOBAL) return DV_E_TYMED;
    if (GlobalLock(medium->hGlobal) == nullptr) return E_INVALIDARG;
    GlobalUnlock(medium->hGlobal);
    STGMEDIUM held;
    held.tymed = TYMED_HGLOBAL;
    if (release) {
        held = *medium;   // ours now, with whatever frees it
    } else {
        held.hGlobal = CopyGlobal(medium->hGlobal);
        if (!held.hGlobal) return E_OUTOFMEMORY;
    }
    FORMATETC f = *format;
    f.ptd = nullptr;
    for (TEntry& e : FEntries) {
        if (SameSlot(e.Format, f)) {
            ReleaseStgMedium(&e.Medium);
            e.Medium = held;
            return S_OK;
        }
    }
    FEntries.push_back({f, held});
    return S_OK;
}

HRESULT TDataObject::EnumFormatEtc(DWORD direction, IEnumFORMATETC** enumFormat)
{
    if (!enumFormat) return E_INVALIDARG;
    *enumFormat = nullptr;
    if (direction != DATADIR_GET) return E_NOTIMPL;
    std::vector<FORMATETC> formats;
    for (const TEntry& e : FEntries) formats.push_back(e.Format);
    auto* en = new TEnumFormatEtc(std::move(formats));
    en->AddRef();
    *enumFormat = en;
    return S_OK;
}

HRESULT TDataObject::DAdvise(const FORMATETC*, DWORD, IAdviseSink*, DWORD* connection)
{
    if (connection) *connection = 0;
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT TDataObject::DUnadvise(DWORD) { return OLE_E_ADVISENOTSUPPORTED; }

HRESULT TDataObject::EnumDAdvise(IEnumSTATDATA** enumAdvise)
{
    if (enumAdvise) *enumAdvise = nullptr;
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT TDataObject::SetBytes(CLIPFORMAT format, const void* data, size_t size)
{
    if (!data && size) return E_INVALIDARG;
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!h) return E_OUTOFMEMORY;
    if (size) memcpy(GlobalLock(h), data, size);
    GlobalUnlock(h);
    FORMATETC f;
    f.cfFormat = format;
    STGMEDIUM m;
    m.tymed = TYMED_HGLOBAL;
    m.hGlobal = h;
    HRESULT hr = SetData(&f, &m, TRUE);
    if (FAILED(hr)) GlobalFree(h);
    return hr;
}

HRESULT TDataObject::SetText(const String& text)
{
    for (CLIPFORMAT cf : {CF_UNICODETEXT, CF_TEXT}) {
        HGLOBAL h = MakeGlobalText(text, cf);
        if (!h) return E_OUTOFMEMORY;
        FORMATETC f;
        f.cfFormat = cf;
        STGMEDIUM m;
        m.tymed = TYMED_HGLOBAL;
        m.hGlobal = h;
        HRESULT hr = SetData(&f, &m, TRUE);
        if (FAILED(hr)) {
            GlobalFree(h);
            return hr;
        }
    }
    return S_OK;
}

HRESULT TDataObject::SetFiles(const std::vector<String>& files)
{
    HGLOBAL h = MakeDropFiles(files);
    if (!h) return E_OUTOFMEMORY;
    FORMATETC f;
    f.cfFormat = CF_HDROP;
    STGMEDIUM m;
    m.tymed = TYMED_HGLOBAL;
    m.hGlobal = h;
    HRESULT hr = SetData(&f, &m, TRUE);
    if (FAILED(hr)) GlobalFree(h);
    return hr;
}

// ---------------------------------------------------------------------------
// Format enumerator

HRESULT TEnumFormatEtc::QueryInterface(const TGUID& iid, void** obj)
{
    if (!obj) return E_POINTER;
    if (Answer<IEnumFORMATETC>(iid, obj, this)) return S_OK;
    return TInterfacedObject::QueryInterface(iid, obj);
}

HRESULT TEnumFormatEtc::Next(ULONG celt, FORMATETC* rgelt, ULONG* pceltFetched)
{
    if (pceltFetched) *pceltFetched = 0;
    if (!rgelt && celt) return E_INVALIDARG;
    if (celt > 1 && !pceltFetched) return E_INVALIDARG;
    ULONG n = 0;
    while (n < celt && FIndex < FFormats.size()) rgelt[n++] = FFormats[FIndex++];
    if (pceltFetched) *pceltFetched = n;
    return n == celt ? S_OK : S_FALSE;
}

HRESULT TEnumFormatEtc::Skip(ULONG celt)
{
    size_t left = FFormats.size() - FIndex;
    if (celt > left) {
        FIndex = FFormats.size();
        return S_FALSE;
    }
    FIndex += celt;
    return S_OK;
}

HRESULT TEnumFormatEtc::Reset()
{
    FIndex = 0;
    return S_OK;
}

HRESULT TEnumFormatEtc::Clone(IEnumFORMATETC** ppenum)
{
    if (!ppenum) return E_INVALIDARG;
    auto* c = new TEnumFormatEtc(FFormats, FIndex);
    c->AddRef();
    *ppenum = c;
    return S_OK;
}
