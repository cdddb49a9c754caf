// OLE drag and drop of text for the edit family: a reader of a foreign data
// object's formats, a drop target with overridable drop operations, a drop
// source, a data object carrying a text (and an RTF text, offered only while
// the RTF switch is on) with its format enumerator, and the routine that
// starts a drag.
#pragma once

#include <memory>

#include "platform/base/ComObj.h"
#include "platform/base/Lists.h"
#include "platform/ui/Ole2.h"

// The "Rich Text Format" clipboard format id (0 until a format reader
// registers it) and the switch that lets RTF through (off; nothing in the
// system turns it on).
UINT VodEdddRTFFormat();
bool VodEdddRTFEnabled();
void SetVodEdddRTFEnabled(bool v);

// Reads the formats a data object offers.
class TEnumFormats : public TObject {
public:
    // Raises EAssertionFailed "Cannot get the format enumerator" when the
    // data object gives none.
    explicit TEnumFormats(IDataObject* DataObject);
    ~TEnumFormats() override;

    bool Reset();
    bool Next();
    bool HasFormat(CLIPFORMAT cf);
    // The current format's block for the medium types (null when not valid).
    HGLOBAL Handle(DWORD Tymed);
    HGLOBAL GlobalHandle() { return Handle(TYMED_HGLOBAL); }

    String Text();
    String RTF();
    bool HasText();
    bool HasRTF();
    bool HasFile();
    // The dropped names (CF_HDROP); false when none could be read.
    bool ReadFiles();
    TStringList* Files() const { return FFiles.get(); }

    Integer Count() const { return FCount; }
    bool Valid() const { return FValid; }
    DWORD Aspect() const { return FFormatEtc.dwAspect; }
    void SetAspect(DWORD v) { FFormatEtc.dwAspect = v; }
    CLIPFORMAT Format() const { return FFormatEtc.cfFormat; }
    void SetFormat(CLIPFORMAT v) { FFormatEtc.cfFormat = v; }
    LONG Index() const { return FFormatEtc.lindex; }
    void SetIndex(LONG v) { FFormatEtc.lindex = v; }
    DWORD Medium() const { return FFormatEtc.tymed; }
    void SetMedium(DWORD v) { FFormatEtc.tymed = v; }

private:
    String ReadText(CLIPFORMAT cf);

    TComPtr<IDataObject> FDataObject;
    TComPtr<IEnumFORMATETC> FEnumerator;
    FORMATETC FFormatEtc;
    bool FValid = false;
    Integer FCount = 0;
    std::unique_ptr<TStringList> FFiles;
    // The blocks asked from the data object, freed with the reader.
    std::vector<STGMEDIUM> FMedia;
};

// A drop target whose drops go to overridable operations.
class TAEDropTarget : public TInterfacedObject, public IDropTarget {
public:
    TAEDropTarget() = default;

    HRESULT QueryInterface(const TGUID& iid, void** obj) override;
    ULONG AddRef() override { return TInterfacedObject::AddRef(); }
    ULONG Release() override { return TInterfacedObject::Release(); }

    HRESULT DragEnter(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) override;
    HRESULT DragOver(DWORD keyState, POINTL pt, DWORD* effect) override;
    HRESULT DragLeave() override;
    HRESULT Drop(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) override;

    virtual void DropText(TPoint pt, const String& s) {}
    virtual void DropRTF(TPoint pt, const String& s) {}
    virtual void DropFiles(TPoint pt, TStrings* Files) {}
    virtual void DragMouseMove(TPoint pt, bool& Allow) { Allow = true; }

protected:
    ~TAEDropTarget() override = default;
    bool FOk = false;
};

class TAEDropSource : public TInterfacedObject, public IDropSource {
public:
    HRESULT QueryInterface(const TGUID& iid, void** obj) override;
    ULONG AddRef() override { return TInterfacedObject::AddRef(); }
    ULONG Release() override { return TInterfacedObject::Release(); }
    HRESULT QueryContinueDrag(BOOL escapePressed, DWORD keyState) override;
    HRESULT GiveFeedback(DWORD effect) override;
    bool NoAccept() const { return FNoAccept; }

protected:
    ~TAEDropSource() override = default;

private:
    bool FNoAccept = false;
};

class TSourceEnumFormatEtc : public TInterfacedObject, public IEnumFORMATETC {
public:
    HRESULT QueryInterface(const TGUID& iid, void** obj) override;
    ULONG AddRef() override { return TInterfacedObject::AddRef(); }
    ULONG Release() override { return TInterfacedObject::Release(); }
    HRESULT Next(ULONG celt, FORMATETC* rgelt, ULONG* pceltFetched) override;
    HRESULT Skip(ULONG celt) override;
    HRESULT Reset() override;
    HRESULT Clone(IEnumFORMATETC** ppenum) override;

protected:
    ~TSourceEnumFormatEtc() override = default;

private:
    ULONG FIndex = 0;
};

class TSourceDataObject : public TInterfacedObject, public IDataObject {
public:
    TSourceDataObject(const String& text, const String& rtf) : textdata(text), rtfdata(rtf) {}

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

protected:
    ~TSourceDataObject() override = default;

private:
    String textdata, rtfdata;
};

// Starts a drag of the text (and RTF text): DRAGDROP_S_CANCEL when the last
// feedback had no effect, else what the drag loop answered.
HRESULT StartDoDragDrop(const String& Text, const String& Rtf, DWORD AllowedEffects, DWORD& Effect);
