// The lookup edit: an edit box that completes what the user types from its
// earlier entries (or from file and folder names), keeps new entries as
// history when the user leaves it, shares that history with its siblings and
// stores it as "Item1", "Item2", ... in an INI file or the registry.
#pragma once

#include <functional>
#include <memory>

#include "controls/edits/VodEdit.h"

using TAutoCompleteEvent =
    std::function<void(TObject* Sender, const String& UsrStr, String& AutoAdd, Integer idx)>;
using TAddToHistoryEvent = std::function<void(TObject* Sender, const String& Str)>;
using TEnterAcceptEvent = std::function<void(TObject* Sender, const String& Str, Integer idx, bool& accept)>;

// Where the history is kept.
class TLUPersist : public TPersistent {
    VEL_CLASS(TLUPersist, TPersistent)
public:
    TLUPersist() = default;
    void Assign(TPersistent* Source) override;

    bool Enable() const { return FEnable; }
    void SetEnable(bool v) { FEnable = v; }
    TPersistenceLocation Location() const { return FLocation; }
    void SetLocation(TPersistenceLocation v) { FLocation = v; }
    const String& Key() const { return FKey; }
    void SetKey(const String& v) { FKey = v; }
    const String& Section() const { return FSection; }
    void SetSection(const String& v) { FSection = v; }
    Integer Count() const { return FCount; }
    void SetCount(Integer v) { FCount = v; }
    bool MaxCount() const { return FMaxCount; }
    void SetMaxCount(bool v) { FMaxCount = v; }

private:
    bool FEnable = false;
    TPersistenceLocation FLocation = plInifile;
    String FKey = L"LUEdit";
    String FSection = L"Values";
    Integer FCount = 0;
    bool FMaxCount = false;
};

class TVodLUEdit : public TVodEdit {
    VEL_CLASS(TVodLUEdit, TVodEdit)
public:
    explicit TVodLUEdit(TComponent* AOwner);
    ~TVodLUEdit() override;

    Integer GetVersionNr() override;
    void LoadPersist() override;
    void SavePersist() override;

    TStringList* LookupItems() const { return FLookupItems.get(); }
    void SetLookupItems(TStrings* v)
    {
        if (v) FLookupItems->Assign(v);
    }
    bool AutoHistory() const { return FAutoHistory; }
    void SetAutoHistory(bool v) { FAutoHistory = v; }
    bool AutoSynchronize() const { return FAutoSynchronize; }
    void SetAutoSynchronize(bool v) { FAutoSynchronize = v; }
    bool FileLookup() const { return FFileLookup; }
    void SetFileLookup(bool v) { FFileLookup = v; }
    bool MatchCase() const { return FMatchCase; }
    void SetMatchCase(bool v) { FMatchCase = v; }
    TLUPersist* LookupPersist() const { return FLookupPersist.get(); }
    void SetLookupPersist(TLUPersist* v) { FLookupPersist->Assign(v); }

    TAutoCompleteEvent AutoComplete;
    TAddToHistoryEvent OnAddToHistory;
    TEnterAcceptEvent Accept;

    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void DoExit() override;

protected:
    // Posted when Accept refused to let the focus go.
    static constexpr UINT kTakeFocusBack = WM_USER + 0x4C55;
    void Loaded() override;
    void Change() override;
    void Dispatch(TMessage& Message) override;
    // Completes the text from the history or the file system.
    void Complete();
    TCustomIniFile* OpenHistoryStore();

    std::unique_ptr<TStringList> FLookupItems;
    std::unique_ptr<TLUPersist> FLookupPersist;
    bool FAutoHistory = false, FAutoSynchronize = false, FFileLookup = false, FMatchCase = false;
    bool workmode = true;
    bool FChanged = false;
};
