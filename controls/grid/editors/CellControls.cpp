#include "controls/grid/editors/CellControls.h"

#include "controls/grid/VodGrid.h"

void CellControlEndKey(TWinControl* Control, wchar_t Key)
{
    auto* g = dynamic_cast<TVodStringGrid*>(Control->Parent());
    if (!g) return;
    // The control's exit stores its value into the cell's markup.
    g->ControlEditDone();
    if (Key == L'\r') {
        if (g->CanFocus()) g->SetFocus();
        return;
    }
    // Tab: on to the next cell with automatic advance, else to the next
    // markup control of the cell.
    if (g->Navigation()->AdvanceAuto())
        g->AdvanceToNextCell(g->Col(), g->Row(), true, false, true, false, true);
    else
        g->FocusNextCellControl(g->Col(), g->Row(), g->FCtrlID);
}

void TControlEdit::Dispatch(TMessage& M)
{
    if (M.Msg == CM_WANTSPECIALKEY) {
        if (M.WParam == VK_RETURN) {
            M.Result = 0;
            return;
        }
        if (M.WParam == VK_TAB) {
            M.Result = 1;
            return;
        }
    }
    TMaskEdit::Dispatch(M);
}

void TControlEdit::KeyPress(wchar_t& Key)
{
    if ((Key == L'\r' || Key == L'\t') && dynamic_cast<TVodStringGrid*>(Parent())) {
        const wchar_t k = Key;
        Key = 0;
        CellControlEndKey(this, k);
        return;
    }
    TMaskEdit::KeyPress(Key);
}

void TControlCombo::Dispatch(TMessage& M)
{
    if (M.Msg == CM_WANTSPECIALKEY && M.WParam == VK_TAB) {
        M.Result = 1;
        return;
    }
    TVurComboBox::Dispatch(M);
}

void TControlCombo::KeyPress(wchar_t& Key)
{
    if (Key == L'\r' || Key == L'\t') {
        const wchar_t k = Key;
        Key = 0;
        CellControlEndKey(this, k);
        return;
    }
    TVurComboBox::KeyPress(Key);
}
