// The grid's drop-down inplace editors: each drop-down editor of the library
// bound to the string grid that owns it. They hand the navigation keys back
// to the grid, write their value into the current cell through the grid's
// validation (a refused value keeps the editor open with the validated
// text), fire the grid's editing events and end the edit on focus loss.
#pragma once

#include "controls/dropdown/CalculatorDropDown.h"
#include "controls/dropdown/ColorPickerDropDown.h"
#include "controls/dropdown/ControlDropDown.h"
#include "controls/dropdown/DetailDropDown.h"
#include "controls/dropdown/ImagePickerDropDown.h"
#include "controls/dropdown/MemoDropDown.h"
#include "controls/dropdown/MultiColumnDropDown.h"
#include "controls/dropdown/TimePickerDropDown.h"
#include "controls/dropdown/TrackBarDropDown.h"
#include "controls/grid/editors/GridEditorProtocol.h"

// The protocol shared by the drop-down editors over any drop-down base.
// A member tunes it through the few virtual knobs below.
template <class Base>
class TGridDropDownEditor : public Base {
public:
    explicit TGridDropDownEditor(TComponent* AOwner) : Base(AOwner), FGrid(CheckedCast<TVodStringGrid>(AOwner)) {}

    // Cleared at every key down.
    bool Forced = false;
    // False while the last key down was Backspace or Delete.
    bool WorkMode = true;
    TVodStringGrid* OwnerGrid() const { return FGrid; }

protected:
    // Whether the editor claims Enter and Esc from the dialog keys.
    virtual bool ClaimsEnterAndEsc() const { return false; }
    // Whether the caret goes under the mouse when a click started the edit.
    virtual bool CaretUnderMouse() const { return false; }
    // The keys this member handles itself (the rest go to the drop-down).
    virtual bool HandlesKey(Word Key) const
    {
        switch (Key) {
        case VK_TAB: case VK_RETURN: case VK_ESCAPE: case VK_PRIOR: case VK_NEXT: case VK_END: case VK_UP:
        case VK_DOWN: return true;
        default: return false;
        }
    }
    // The keys that write the value into the cell before leaving.
    virtual bool CommitsOn(Word Key) const { return Key == VK_RETURN || Key == VK_UP || Key == VK_DOWN; }
    // The value written into the cell.
    virtual String CommitValue() { return this->GetText(); }
    // Puts a text back into the editor.
    virtual void PutText(const String& S) { this->SetEditText(S); }
    virtual void BeforeCommit(Word Key) { (void)Key; }
    virtual void BeforeEscape() {}

    void DoExit() override
    {
        if (FGrid) FGrid->HideInplaceEdit();
        Base::DoExit();
    }

    void Change() override
    {
        Base::Change();
        if (FGrid) GridEditorProtocol::FireEditChange(FGrid, this->GetText());
    }

    void KeyPress(wchar_t& Key) override
    {
        if (FGrid && FGrid->OnKeyPress) FGrid->OnKeyPress(this, Key);
        if (Key == VK_ESCAPE) Key = 0;
        if (Key == VK_RETURN || Key == VK_TAB) Key = 0;
        Base::KeyPress(Key);
    }

    void KeyDown(Word& Key, TShiftState Shift) override
    {
        Forced = false;
        WorkMode = !(Key == VK_BACK || Key == VK_DELETE);
        if (!FGrid || !HandlesKey(Key) || (Key == VK_DOWN && Shift.Contains(ssAlt))) {
            Base::KeyDown(Key, Shift);
            return;
        }
        using P = GridEditorProtocol;
        auto put = [this](const String& s) { PutText(s); };
        auto sel = [this](Integer a, Integer n) {
            this->SetSelStart(a);
            this->SetSelLength(n);
        };
        if (Key == VK_ESCAPE) {
            BeforeEscape();
            P::Escape(FGrid, put);
            return;
        }
        if (CommitsOn(Key)) {
            BeforeCommit(Key);
            if (!P::Commit(FGrid, CommitValue(), put, sel, this, Key)) return;
        }
        if (Key == VK_TAB && FGrid->NeedsTabValidation()) {
            if (P::TabWithValidation(FGrid, CommitValue(), put, sel, this, Key) != P::tvContinue) return;
        }
        if (this->DroppedDown()) {
            FGrid->HideInplaceEdit();
            if (Key == VK_PRIOR || Key == VK_NEXT || Key == VK_UP || Key == VK_DOWN) Key = 0;
        } else if (Key == VK_END) {
            Base::KeyDown(Key, Shift);
            return;
        }
        P::LeaveByKey(FGrid, Key, Shift);
        Base::KeyDown(Key, Shift);
    }

    void Dispatch(TMessage& M) override
    {
        if (M.Msg == CM_WANTSPECIALKEY && FGrid) {
            Base::Dispatch(M);
            const Word k = Word(M.WParam);
            if ((ClaimsEnterAndEsc() && (k == VK_RETURN || k == VK_ESCAPE)) ||
                (k == VK_TAB && FGrid->NeedsTabValidation()))
                M.Result = 1;
            return;
        }
        if (M.Msg == WM_SETFOCUS && FGrid && CaretUnderMouse()) {
            Base::Dispatch(M);
            GridEditorProtocol::CaretUnderMouse(FGrid, this);
            return;
        }
        Base::Dispatch(M);
    }

    TVodStringGrid* FGrid = nullptr;
};

class TGridTrackbarDropDown : public TGridDropDownEditor<TVodTrackBarDropDown> {
    VEL_CLASS(TGridTrackbarDropDown, TVodTrackBarDropDown)
public:
    explicit TGridTrackbarDropDown(TComponent* AOwner) : TGridDropDownEditor(AOwner) {}

protected:
    bool ClaimsEnterAndEsc() const override { return true; }
    bool CaretUnderMouse() const override { return true; }
    // The track bar puts texts back through its Text, so that the
    // position follows.
    void PutText(const String& S) override { SetText(S); }
};

class TGridMemoDropDown : public TGridDropDownEditor<TVodMemoDropDown> {
    VEL_CLASS(TGridMemoDropDown, TVodMemoDropDown)
public:
    explicit TGridMemoDropDown(TComponent* AOwner) : TGridDropDownEditor(AOwner) {}

protected:
    bool CaretUnderMouse() const override { return true; }
};

class TGridCalculatorDropDown : public TGridDropDownEditor<TVodCalculatorDropdown> {
    VEL_CLASS(TGridCalculatorDropDown, TVodCalculatorDropdown)
public:
    explicit TGridCalculatorDropDown(TComponent* AOwner) : TGridDropDownEditor(AOwner) {}

protected:
    bool CaretUnderMouse() const override { return true; }
    // A pending operation is completed before Enter writes the result.
    void BeforeCommit(Word Key) override
    {
        if (Key == VK_RETURN) CalcResult();
    }
};

class TGridTimepickerDropDown : public TGridDropDownEditor<TVodTimePickerDropDown> {
    VEL_CLASS(TGridTimepickerDropDown, TVodTimePickerDropDown)
public:
    explicit TGridTimepickerDropDown(TComponent* AOwner) : TGridDropDownEditor(AOwner) { FFocusDraw = false; }
};

class TGridDetailPickerDropDown : public TGridDropDownEditor<TVodDetailDropDown> {
    VEL_CLASS(TGridDetailPickerDropDown, TVodDetailDropDown)
public:
    explicit TGridDetailPickerDropDown(TComponent* AOwner) : TGridDropDownEditor(AOwner) {}
};

class TGridGridDropDown : public TGridDropDownEditor<TVodMultiColumnDropDown> {
    VEL_CLASS(TGridGridDropDown, TVodMultiColumnDropDown)
public:
    explicit TGridGridDropDown(TComponent* AOwner) : TGridDropDownEditor(AOwner) {}

protected:
    // Esc closes the list before the cell's text comes back.
    void BeforeEscape() override { HideDropDown(true); }
};

class TGridColorDropDown : public TGridDropDownEditor<TVodColorPickerDropDown> {
    VEL_CLASS(TGridColorDropDown, TVodColorPickerDropDown)
public:
    explicit TGridColorDropDown(TComponent* AOwner) : TGridDropDownEditor(AOwner) {}
    // The text of the selected colour, the value the editor commits.
    String ColorText() { return SelectedColorText(); }

protected:
    bool ClaimsEnterAndEsc() const override { return true; }
    // Open: Tab, Enter and Esc only; closed: Home as well.
    bool HandlesKey(Word Key) const override
    {
        if (DroppedDown()) return Key == VK_TAB || Key == VK_RETURN || Key == VK_ESCAPE;
        return Key == VK_HOME || TGridDropDownEditor::HandlesKey(Key);
    }
    bool CommitsOn(Word Key) const override { return Key == VK_RETURN; }
    String CommitValue() override { return SelectedColorText(); }
};

class TGridImageDropDown : public TGridDropDownEditor<TVodImagePickerDropDown> {
    VEL_CLASS(TGridImageDropDown, TVodImagePickerDropDown)
public:
    explicit TGridImageDropDown(TComponent* AOwner) : TGridDropDownEditor(AOwner) {}
};

class TGridControlDropDown : public TGridDropDownEditor<TVodControlDropDown> {
    VEL_CLASS(TGridControlDropDown, TVodControlDropDown)
public:
    explicit TGridControlDropDown(TComponent* AOwner) : TGridDropDownEditor(AOwner) {}
};
