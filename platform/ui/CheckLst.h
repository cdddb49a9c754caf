// TCheckListBox: a list box with a check box in front of each item.
#pragma once

#include <memory>
#include <vector>

#include "platform/ui/StdCtrls_Button.h"  // TCheckBoxState
#include "platform/ui/StdCtrls_List.h"

class TCheckListBox : public TCustomListBox {
    VEL_CLASS(TCheckListBox, TCustomListBox)
public:
    explicit TCheckListBox(TComponent* AOwner);
    ~TCheckListBox() override;

    bool Checked(Integer Index) const { return State(Index) == cbChecked; }
    void SetChecked(Integer Index, bool Value) { SetState(Index, Value ? cbChecked : cbUnchecked); }
    TCheckBoxState State(Integer Index) const;
    void SetState(Integer Index, TCheckBoxState Value);
    bool ItemEnabled(Integer Index) const;
    void SetItemEnabled(Integer Index, bool Value);
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }
    // The width the check box takes at the left of each item.
    Integer CheckWidth() const;

    // Space toggles the focused item's check box.
    void KeyPress(wchar_t& Key) override;

    // After the user toggled a check box (click on it, or Space).
    TNotifyEvent OnClickCheck;

protected:
    // One record per item: the program's object and the check state.
    struct TItemRecord : public TObject {
        TObject* Object = nullptr;
        TCheckBoxState State = cbUnchecked;
        bool Enabled = true;
    };
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void CNDrawItem(TMessage& M) override;
    void WMLButtonDown(TMessage& M) override;
    TObject* WrapObject(TObject* Raw, TObject* AObject) override;
    TObject* UnwrapObject(TObject* Raw) const override;
    void ItemRemoved(TObject* Raw) override;
    virtual void ClickCheck();
    void ToggleClickCheck(Integer Index);
    void DrawCheck(HDC DC, const TRect& R, TCheckBoxState AState, bool AEnabled);
    TItemRecord* Record(Integer Index) const;
    TItemRecord* RecordNeeded(Integer Index);

    std::vector<std::unique_ptr<TItemRecord>> FRecords;
    bool FAllowGrayed = false;
};
