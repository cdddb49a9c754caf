// The grid's drag and drop, independent of the grid class: a data object
// that offers a dragged block of cells as text, rich text, the native cell
// format or a column number, the enumerator of those formats, a drop source
// that reports how the drag ends, a drop target base that looks at what is
// dragged, answers the effect and hands the drop to its handlers by kind, a
// reader of a foreign data object's formats, and the two routines that
// start a drag. The unit's names live in the namespace vurdd: the edit
// controls have a drag-and-drop layer of their own with the same names.
#pragma once

#include <memory>

#include "platform/base/ComObj.h"
#include "platform/base/Exceptions.h"
#include "platform/base/Lists.h"
#include "platform/base/Objects.h"
#include "platform/base/Streams.h"
#include "platform/ui/Ole2.h"

namespace vurdd {

VEL_DECLARE_EXCEPTION(EAssertionFailed, Exception)

// The format identifiers, registered by name. The URL and URI formats carry
// the same name and so share one identifier.
struct TVurFormats {
    CLIPFORMAT RTF = 0;    // "Rich Text Format"
    CLIPFORMAT Col = 0;    // "Grid Column"
    CLIPFORMAT Cells = 0;  // "TVodStringGrid Cells"
    CLIPFORMAT URL = 0;    // "UniformResourceLocator"
    CLIPFORMAT URI = 0;    // "UniformResourceLocator"
};
TVurFormats& VurFormats();
// Registers the five names (registration needs no open clipboard).
void RegisterVurFormats();

// The process-wide rich text switch: when off, rich text is neither offered
// by a drag source nor taken by a drop target.
bool VurDropRTF();
void SetVurDropRTF(bool Value);

enum TDropFormat { dfText, dfFile, dfCol, dfRTF, dfURL, dfGridCells };
// A set of TDropFormat in one byte; bit 6 marks the URI format besides.
using TDropFormats = Byte;
constexpr Byte DropFormatBit(TDropFormat f) { return Byte(1u << unsigned(f)); }
constexpr Byte DropFormatURIBit = Byte(1u << 6);
inline bool HasDropFormat(TDropFormats s, TDropFormat f) { return (s & DropFormatBit(f)) != 0; }

// The effect a target answers for the keys held: copy with Ctrl, else move
// when the source allows it, else copy.
DWORD KeysToEffect(DWORD KeyState, DWORD OkEffects);

// Reads the formats and data of a data object. Readers answer empty, -1 or
// nil when their format is absent or its data cannot be had; every read is
// bounded by the block the object hands out.
class TEnumFormats : public TObject {
    VEL_CLASS(TEnumFormats, TObject)
public:
    // Raises EAssertionFailed "Cannot get the format enumerator" when the
    // object gives none.
    explicit TEnumFormats(IDataObject* DataObject);
    ~TEnumFormats() override;

    IDataObject* DataObject() const { return FDataObject; }
    void SetDataObject(IDataObject* Value);
    bool Reset();
    bool Next();
    bool HasFormat(CLIPFORMAT ClipFormat);
    HGLOBAL Handle(DWORD Tymed);
    HGLOBAL GlobalHandle() { return Handle(TYMED_HGLOBAL); }
    DWORD Aspect() const { return FFormatEtc.dwAspect; }
    void SetAspect(DWORD v) { FFormatEtc.dwAspect = v; }
    CLIPFORMAT Format() const { return FFormatEtc.cfFormat; }
    void SetFormat(CLIPFORMAT v) { FFormatEtc.cfFormat = v; }
    LONG Index() const { return FFormatEtc.lindex; }
    void SetIndex(LONG v) { FFormatEtc.lindex = v; }
    DWORD Medium() const { return FFormatEtc.tymed; }
    void SetMedium(DWORD v) { FFormatEtc.tymed = v; }
    Integer Count() const { return FCount; }
    bool Valid() const { return FValid; }

    bool HasText() { return HasFormat(CF_UNICODETEXT); }
    bool HasRTF() { return HasFormat(VurFormats().RTF); }
    bool HasCol() { return HasFormat(VurFormats().Col); }
    bool HasFile() { return HasFormat(CF_HDROP); }
    bool HasURL() { return HasFormat(VurFormats().URL); }
    bool HasURI() { return HasFormat(VurFormats().URI); }
    bool HasGridCells() { return HasFormat(VurFormats().Cells); }

    String Text();
    String RTF();
    String URI();
    Integer Col();
    // A new stream the caller owns, or nil.
    TMemoryStream* Stream();
    // The file names of the current entry (call right after HasFile) into
    // Files(); true when at least one name was read.
    bool ReadFiles();
    TStringList* Files() const { return FFiles.get(); }

private:
    // The bytes of the current entry's global block; false when none.
    bool ReadBlock(std::vector<uint8_t>& Bytes);
    IDataObject* FDataObject = nullptr;
    IEnumFORMATETC* FEnumerator = nullptr;
    FORMATETC FFormatEtc{};
    bool FValid = false;
    Integer FCount = 0;
    std::unique_ptr<TStringList> FFiles;
};

// The drop target base. The handlers get screen points.
class TVURDropTarget : public TInterfacedObject, public IDropTarget {
public:
    TVURDropTarget() = default;

    HRESULT QueryInterface(const TGUID& iid, void** obj) override;
    ULONG AddRef() override { return TInterfacedObject::AddRef(); }
    ULONG Release() override { return TInterfacedObject::Release(); }

    HRESULT DragEnter(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) override;
    HRESULT DragOver(DWORD keyState, POINTL pt, DWORD* effect) override;
    HRESULT DragLeave() override;
    HRESULT Drop(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) override;

    virtual void DropText(TPoint Pt, const String& S) = 0;
    virtual void DropStream(TPoint Pt, TMemoryStream* Stream) = 0;
    virtual void DropCol(TPoint Pt, Integer Col) = 0;
    virtual void DropRTF(TPoint Pt, const String& S) = 0;
    virtual void DropFiles(TPoint Pt, TStrings* Files) = 0;
    virtual void DropURL(TPoint Pt, const String& S) = 0;
    virtual void DragMouseMove(TPoint Pt, bool& Allow, TDropFormats DropFormats);
    virtual void DragMouseEnter() = 0;
    virtual void DragMouseLeave() = 0;

    bool Ok() const { return FOk; }
    bool IsURI() const { return FIsURI; }
    TDropFormats DropFormats() const { return FDropFormats; }
    bool FAcceptText = true;
    bool FAcceptFiles = true;
    bool FAcceptCols = false;
    bool FAcceptURLs = true;

protected:
    ~TVURDropTarget() override = default;
    // Where a drop handler's failure goes: the drag loop must not see it.
    // The base keeps the first one and lets the target hand it on after the
    // drop (see TakeDropError).
    virtual void DropFailed(std::exception_ptr E);

public:
    // The failure of the last drop's handler, handed over once.
    std::exception_ptr TakeDropError();
    bool HasDropError() const { return bool(FDropError); }

protected:
    bool FOk = false;
    bool FIsURI = false;
    TDropFormats FDropFormats = 0;
    DWORD FOkEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    std::exception_ptr FDropError;
};

class TVURDropSource : public TInterfacedObject, public IDropSource {
public:
    TVURDropSource() = default;

    HRESULT QueryInterface(const TGUID& iid, void** obj) override;
    ULONG AddRef() override { return TInterfacedObject::AddRef(); }
    ULONG Release() override { return TInterfacedObject::Release(); }

    HRESULT QueryContinueDrag(BOOL escapePressed, DWORD keyState) override;
    HRESULT GiveFeedback(DWORD effect) override;

    virtual void DragFinished() {}
    virtual void CurrentEffect(Integer Effect) { (void)Effect; }
    virtual void QueryDrag() {}

    bool FNoAccept = false;

protected:
    ~TVURDropSource() override = default;
};

// The data object of a drag: text, native cells (a stream the caller owns),
// a column, rich text.
class TSourceDataObject : public TInterfacedObject, public IDataObject {
public:
    TSourceDataObject(const String& stxt, TMemoryStream* stream, Integer sidx, const String& srtf)
        : textdata(stxt), rtfdata(srtf), scolidx(sidx), memstr(stream)
    {
    }

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

    String textdata;
    String rtfdata;
    Integer scolidx;
    TMemoryStream* memstr;

protected:
    ~TSourceDataObject() override = default;
};

class TSourceEnumFormatEtc : public TInterfacedObject, public IEnumFORMATETC {
public:
    TSourceEnumFormatEtc(bool HasCol, bool HasGridCells, Integer Index = 0)
        : FIndex(Index), FHasCol(HasCol), FHasGridCells(HasGridCells)
    {
    }

    HRESULT QueryInterface(const TGUID& iid, void** obj) override;
    ULONG AddRef() override { return TInterfacedObject::AddRef(); }
    ULONG Release() override { return TInterfacedObject::Release(); }

    HRESULT Next(ULONG celt, FORMATETC* rgelt, ULONG* pceltFetched) override;
    HRESULT Skip(ULONG celt) override;
    HRESULT Reset() override;
    HRESULT Clone(IEnumFORMATETC** ppenum) override;

    Integer Index() const { return FIndex; }
    Integer EntryCount() const { return 3 + (FHasCol ? 1 : 0) + (FHasGridCells ? 1 : 0); }

private:
    ~TSourceEnumFormatEtc() override = default;
    FORMATETC Entry(Integer i) const;
    Integer FIndex;
    bool FHasCol;
    bool FHasGridCells;
};

// Start a drag of text (with rich text and native cells when given) or of
// a column; the caller holds a reference to Source for the call.
// DRAGDROP_S_CANCEL when the last feedback had no effect.
HRESULT BeginTextOleDrag(TVURDropSource* Source, const String& Text, const String& RTF, Integer& Effect,
                         Integer OkEffects, TMemoryStream* Stream);
HRESULT BeginColumnOleDrag(TVURDropSource* Source, Integer Column, Integer OkEffects, Integer& Effect);

}  // namespace vurdd
