// The grid's inplace editor classes as far as the grid's construction needs
// them: the default text editor and the editors the grid creates at run time
// (combo, transparent edit and combo of the filter row, check box, edit with
// button, edit with unit, button, and the cell edit and combo controls).
// Their editing behaviour comes with the grid's editing family.
#pragma once

#include <functional>

#include "platform/ui/Grids.h"
#include "platform/ui/StdCtrls.h"
#include "controls/grid/editors/CellControls.h"
#include "controls/grid/editors/VodInplaceEdit.h"
#include "controls/grid/VodObj.h"
#include "controls/grid/VurComboBox.h"
#include "controls/grid/VurEditBtn.h"

class TVodStringGrid;

// The editor of edComboEdit (typed text with a list) and edComboList (the
// list only) cells.
class TGridCombo : public TVurComboBox {
    VEL_CLASS(TGridCombo, TVurComboBox)
public:
    explicit TGridCombo(TComponent* AOwner);
    // Cleared at every key down.
    bool Forced = false;
    // Completion allowed: False while the last key down was Backspace or
    // Delete.
    bool WorkMode = true;
    // The item (or lookup entry) the last completion used.
    Integer ItemIdx = -1;
    // Set just before the combo hands a key to the grid's DoneInplaceEdit.
    bool FAdvance = false;
    // Set when a completion filled the text.
    bool ItemChange = false;
    const String& EditText() const { return FEditText; }
    void SetEditText(const String& v) { FEditText = v; }
    TNotifyEvent OnReturnKey;
    // Widens the dropped list to the widest item, measured with the grid's
    // font; never narrower than the combo.
    void SizeDropDownWidth();
    Integer DroppedWidth() const { return FDroppedWidth; }
    // Completion of the typed prefix (run at every key up).
    void DoChange();
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void KeyPress(wchar_t& Key) override;
    void WndProc(TMessage& Message) override;

protected:
    void DoExit() override;
    void Change() override;
    void Dispatch(TMessage& Message) override;
    void FireComboChange(Integer Index);
    String FEditText;
    Integer FDroppedWidth = 0;
    TVodStringGrid* FGrid = nullptr;
};
// The legacy mouse-wheel message the combo editor answers.
UINT GridLegacyWheelMessage();

// The editors of fixed cells (header editors and the filter edit row).
// StopEdit validates the text through the grid's OnCellValidate: a valid
// text goes into the cell (FCol, FRow) and the editor hides; an invalid one
// keeps the editor open with a balloon tip. Owned by their grid.
class TGridTransEdit : public TEdit {
    VEL_CLASS(TGridTransEdit, TEdit)
public:
    explicit TGridTransEdit(TComponent* AOwner) : TEdit(AOwner) {}
    // Whether the edit serves the filter edit row.
    bool FilterEdit = false;
    Integer FCol = -1, FRow = -1;
    bool StopEdit();
    // Enter is swallowed and ends the edit.
    void KeyDown(Word& Key, TShiftState Shift) override;

protected:
    void DoExit() override;
};

class TGridTransCombo : public TComboBox {
    VEL_CLASS(TGridTransCombo, TComboBox)
public:
    explicit TGridTransCombo(TComponent* AOwner) : TComboBox(AOwner) {}
    Integer FCol = -1, FRow = -1;
    bool StopEdit();
    // The width of the dropped list, through the combo's own messages.
    Integer DropWidth();
    void SetDropWidth(Integer Value);
    // Fits the dropped list to the widest item (room for a scroll bar when
    // there are more items than DropDownCount).
    void SizeDropDownWidth();
    // Enter is only swallowed.
    void KeyDown(Word& Key, TShiftState Shift) override;

protected:
    void DoExit() override;
};

// The editor of edCheckBox cells. Space and a click toggle it; Enter and
// the navigation keys end the edit and move in the grid; Esc is left to
// the check box.
class TGridCheckBox : public TCheckBox {
    VEL_CLASS(TGridCheckBox, TCheckBox)
public:
    explicit TGridCheckBox(TComponent* AOwner);
    void ReCreate() { RecreateWnd(); }

protected:
    void KeyDown(Word& Key, TShiftState Shift) override;
    void Dispatch(TMessage& Message) override;
    TVodStringGrid* FGrid = nullptr;
};

// The editor of edEditBtn, edNumericEditBtn, edFloatEditBtn and
// edMaskEditBtn cells: the button (or F4) runs the grid's OnEllipsClick on
// the text; typed characters are filtered by the cell's editor type; paste
// goes through the grid's paste events; Left and Right at the ends of the
// text walk into the neighbouring cells when the grid asks for it.
class TGridEditBtn : public TVurEditBtn {
    VEL_CLASS(TGridEditBtn, TVurEditBtn)
public:
    explicit TGridEditBtn(TComponent* AOwner);
    void ReCreate() { RecreateWnd(); }
    // False while the last key down was Backspace or Delete.
    bool WorkMode = true;
    // The selection start when the last key went down.
    Integer FSelKeyDown = 0;
    // The edit ends after a button click.
    bool StopEditAfterClick() const { return FStopEditAfterClick; }
    void SetStopEditAfterClick(bool v) { FStopEditAfterClick = v; }
    // The text through OnEllipsClick, shown wholly selected.
    void ButtonClicked();
    // The clipboard's text through the grid's paste events.
    void Paste();
    // Completion of the typed prefix from the grid's lookup list.
    void DoLookup();
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void KeyPress(wchar_t& Key) override;

protected:
    void DoExit() override;
    void Change() override;
    void Dispatch(TMessage& Message) override;
    TVodStringGrid* FGrid = nullptr;
    bool FStopEditAfterClick = false;
};

// The editor of the unit edit types: the cell holds the number followed by
// its unit.
class TGridUnitEditBtn : public TVurUnitEditBtn {
    VEL_CLASS(TGridUnitEditBtn, TVurUnitEditBtn)
public:
    explicit TGridUnitEditBtn(TComponent* AOwner);
    void ReCreate() { RecreateWnd(); }
    // OnEllipsClick on the text, then the units menu.
    void ClickButton() override;
    void KeyDown(Word& Key, TShiftState Shift) override;

protected:
    void DoExit() override;
    void Dispatch(TMessage& Message) override;
    TVodStringGrid* FGrid = nullptr;
};

// Whether a typed character passes the filter of the edit-button editor
// type (Ctrl: held now); Beep tells a refusal that sounds.
bool GridEditorCharPasses(TEditorType Type, wchar_t Ch, const String& Text, Integer SelStart, Integer SelLength,
                          bool Ctrl, bool& Beep);

// The editor of edButton cells: a release of the button (click or Space)
// runs the grid's OnEllipsClick on the caption and writes the result into
// the cell; the arrows and Esc hand the key back to the grid.
class TGridButton : public TButton {
    VEL_CLASS(TGridButton, TButton)
public:
    explicit TGridButton(TComponent* AOwner);
    void ReCreate() { RecreateWnd(); }

protected:
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void Dispatch(TMessage& Message) override;
    // The caption through OnEllipsClick and into the cell.
    void ExchangeCaption();
    TVodStringGrid* FGrid = nullptr;
};

