// MemoDropDown: a drop-down edit whose window hosts a memo for multi-line
// text. The edit shows the first line (shortened with "..." when it does
// not fit or more lines follow); the text lives in MemoText.
#pragma once

#include <cstdint>
#include <memory>

#include "controls/dropdown/VodDropDown.h"

class TMemo;
class TStringList;
class TStrings;

class TVodMemoDropDown : public TVodCustomDropDown {
    VEL_CLASS(TVodMemoDropDown, TVodCustomDropDown)
public:
    explicit TVodMemoDropDown(TComponent* AOwner);
    ~TVodMemoDropDown() override;

    TMemo* Memo() const { return FMemo; }
    TStrings* MemoText() const;
    void SetMemoText(TStrings* v);
    TComponent* MemoPopup() const { return FMemoPopup; }
    void SetMemoPopup(TComponent* v) { FMemoPopup = v; }
    TScrollStyle MemoScrollBars() const { return FMemoScrollBars; }
    void SetMemoScrollBars(TScrollStyle v) { FMemoScrollBars = v; }
    bool MemoReadOnly() const { return FMemoReadOnly; }
    void SetMemoReadOnly(bool v);
    bool AutoDrop() const { return FAutoDrop; }
    void SetAutoDrop(bool v) { FAutoDrop = v; }
    // Writing the edit's Text replaces MemoText by that one text.
    void SetText(const String& Value) override;

    TNotifyEvent OnMemoChange;

    void CreateDropDownForm() override;
    void DoBeforeDropDown() override;
    void DoHideDropDown(bool Cancelled) override;
    void DropDownHidden() override;
    void ControlKeyDown(Word& Key, TShiftState Shift) override;
    void ControlKeyUp(Word& Key, TShiftState Shift) override;
    void ControlKeyPress(wchar_t& Key) override;

protected:
    void DoEnter() override;
    void Change() override;

private:
    void UpdateEditFromList();
    // The list and the memo window hold the same 1,000 lines most of the
    // time; each is rebuilt from the other only when one of them changed
    // since the list was last written into the memo.
    uint64_t ListChanges() const;
    bool MemoMatchesList() const;
    void WriteListToMemo();
    TComponent* FMemoPopup = nullptr;
    std::unique_ptr<TStringList> FMemoText;
    TMemo* FMemo = nullptr;
    TScrollStyle FMemoScrollBars = ssNone;
    bool FMemoReadOnly = false;
    bool FInternalUpdate = false;
    bool FAutoDrop = false;
    bool FAutoDropSuspended = false;
    bool FWritingText = false;
    uint64_t FSyncedChanges = UINT64_MAX;  // the list's change count when last written into the memo
    String FSyncedMemo;                    // the memo's text right after that write
    bool FSyncedRoundTrip = false;         // reading that text back gives the same list
};
