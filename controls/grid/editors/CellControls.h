// The edit and combo the grid shows over an edit or combo element of a
// cell's markup: Enter stores the value and gives the focus back to the
// grid, Tab stores it and moves to the cell's next element (or, with the
// grid's automatic advance, to the next cell).
#pragma once

#include "controls/grid/VurComboBox.h"
#include "platform/ui/Mask.h"
#include "platform/ui/StdCtrls.h"

class TControlEdit : public TMaskEdit {
    VEL_CLASS(TControlEdit, TMaskEdit)
public:
    explicit TControlEdit(TComponent* AOwner) : TMaskEdit(AOwner) {}

protected:
    void Dispatch(TMessage& Message) override;
    void KeyPress(wchar_t& Key) override;
};

class TControlCombo : public TVurComboBox {
    VEL_CLASS(TControlCombo, TVurComboBox)
public:
    explicit TControlCombo(TComponent* AOwner) : TVurComboBox(AOwner) {}

protected:
    void Dispatch(TMessage& Message) override;
    void KeyPress(wchar_t& Key) override;
};

// The Enter and Tab of both: the control's exit stores the value; Enter
// focuses the grid; Tab advances or moves to the next markup control.
void CellControlEndKey(TWinControl* Control, wchar_t Key);
