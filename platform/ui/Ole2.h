// OLE drag and drop inside the process, on our window manager: OLE start-up
// per thread, drop targets registered per window, the modal drag loop that
// carries a data object from a drop source to the target under the mouse,
// a data object that holds global blocks per format with its format
// enumerator, and the delivery of files dropped from the desktop.
#pragma once

#include <vector>

#include "platform/base/ComObj.h"
#include "platform/ui/Windows.h"

constexpr HRESULT CO_E_NOTINITIALIZED = static_cast<HRESULT>(0x800401F0u);

// The Alt key in a drag's key state (the other MK_ flags are the mouse
// messages' own).
constexpr DWORD MK_ALT = 0x0020;

// Counted per thread: S_OK for the first call on a thread, S_FALSE after.
// Each call is matched by one OleUninitialize.
HRESULT OleInitialize(void* reserved = nullptr);
void OleUninitialize();

// One target per window; the registration holds a reference to the target
// until it is revoked or the window is gone. E_INVALIDARG for a null
// target, DRAGDROP_E_INVALIDHWND for a window that does not exist,
// DRAGDROP_E_ALREADYREGISTERED / DRAGDROP_E_NOTREGISTERED, and
// CO_E_NOTINITIALIZED on a thread without OleInitialize.
HRESULT RegisterDragDrop(HWND hwnd, IDropTarget* target);
HRESULT RevokeDragDrop(HWND hwnd);

// The modal drag loop. It captures the mouse and runs this thread's queue
// until the source ends the drag: the target of the window under the mouse
// (or of its nearest parent with one) gets DragEnter/DragOver/DragLeave with
// screen points and the key state (MK_LBUTTON, MK_RBUTTON, MK_MBUTTON,
// MK_SHIFT, MK_CONTROL, MK_ALT) as of each input message; the source's
// QueryContinueDrag is asked at each step (Escape pressed since the last
// step sets its flag) and GiveFeedback gets the effect the target chose,
// limited to okEffects. DRAGDROP_S_DROP: the target's Drop ran and *effect
// is its answer (limited to okEffects), or no target accepted and *effect
// is DROPEFFECT_NONE. DRAGDROP_S_CANCEL: the drag was cancelled (Escape,
// mouse capture taken away, a quit message). E_INVALIDARG for null
// arguments; the source's own failure codes end the drag and are answered.
HRESULT DoDragDrop(IDataObject* data, IDropSource* source, DWORD okEffects, DWORD* effect);

// The cursor the drag shows for an effect when the source answers
// DRAGDROP_S_USEDEFAULTCURSORS: the no-drop cursor for DROPEFFECT_NONE, else
// the move, copy or link cursor (in that order of preference).
HCURSOR DragCursorForEffect(DWORD effect);

// Files dropped from the desktop onto one of our top-level windows: the
// target under the screen point gets DragEnter, DragOver and Drop (or
// DragLeave when it refuses) with a data object offering them as CF_HDROP
// and DROPEFFECT_COPY allowed. Answers the effect of the drop. The desktop
// backend calls it; a thread that called OleInitialize routes the
// backend's dropped files here.
DWORD OleDropFiles(HWND window, const std::vector<String>& files, TPoint screenPt);

// ---------------------------------------------------------------------------
// The clipboard through data objects. OleSetClipboard puts a copy of every
// global-memory format the object offers on the clipboard (null only
// empties it); OleGetClipboard answers a new data object holding a copy of
// each format on the clipboard. CLIPBRD_E_CANT_OPEN while another window
// holds the clipboard open.

constexpr HRESULT CLIPBRD_E_CANT_OPEN = static_cast<HRESULT>(0x800401D0u);
constexpr HRESULT CLIPBRD_E_CANT_SET = static_cast<HRESULT>(0x800401D2u);

HRESULT OleSetClipboard(IDataObject* data);
HRESULT OleGetClipboard(IDataObject** data);

// ---------------------------------------------------------------------------
// A data object that holds one global block per format (and aspect). Get
// answers a copy the caller frees (ReleaseStgMedium); SetData with release
// takes the block over, without it copies the block.

class TDataObject : public TInterfacedObject, public IDataObject {
public:
    TDataObject() = default;
    ~TDataObject() override;

    HRESULT QueryInterface(const TGUID& iid, void** obj) override;
    ULONG AddRef() override { return TInterfacedObject::AddRef(); }
    ULONG Release() override { return TInterfacedObject::Release(); }

    HRESULT GetData(const FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT GetDataHere(const FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT QueryGetData(const FORMATETC* format) override;
    HRESULT GetCanonicalFormatEtc(const FORMATETC* formatIn, FORMATETC* formatOut) override;
    HRESULT SetData(const FORMATETC* format, STGMEDIUM* medium, BOOL release) override;
    HRESULT EnumFormatEtc(DWORD direction, IEnumFORMATETC** enumFormat) override;
    HRESULT DAdvise(const FORMATETC* format, DWORD advf, IAdviseSink* sink, DWORD* connection) override;
    HRESULT DUnadvise(DWORD connection) override;
    HRESULT EnumDAdvise(IEnumSTATDATA** enumAdvise) override;

    // Conveniences over SetData: a copy of the bytes, the text in CF_TEXT
    // and CF_UNICODETEXT, the names as CF_HDROP.
    HRESULT SetBytes(CLIPFORMAT format, const void* data, size_t size);
    HRESULT SetText(const String& text);
    HRESULT SetFiles(const std::vector<String>& files);

private:
    struct TEntry {
        FORMATETC Format;
        STGMEDIUM Medium;
    };
    // The entry for the format, or the error that says why there is none.
    HRESULT Find(const FORMATETC* format, TEntry*& entry);
    std::vector<TEntry> FEntries;
};

// An enumerator over a fixed list of formats.
class TEnumFormatEtc : public TInterfacedObject, public IEnumFORMATETC {
public:
    explicit TEnumFormatEtc(std::vector<FORMATETC> formats, size_t index = 0)
        : FFormats(std::move(formats)), FIndex(index) {}

    HRESULT QueryInterface(const TGUID& iid, void** obj) override;
    ULONG AddRef() override { return TInterfacedObject::AddRef(); }
    ULONG Release() override { return TInterfacedObject::Release(); }

    // S_OK when celt were fetched, S_FALSE when the list ended first.
    HRESULT Next(ULONG celt, FORMATETC* rgelt, ULONG* pceltFetched) override;
    HRESULT Skip(ULONG celt) override;
    HRESULT Reset() override;
    HRESULT Clone(IEnumFORMATETC** ppenum) override;

private:
    std::vector<FORMATETC> FFormats;
    size_t FIndex;
};
