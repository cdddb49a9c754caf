#include "controls/grid/editors/GridEditors.h"

#include "controls/grid/VodGrid.h"
#include "controls/grid/editors/GridEditorProtocol.h"


// ---------------------------------------------------------------------------
// TGridCheckBox

TGridCheckBox::TGridCheckBox(TComponent* AOwner) : TCheckBox(AOwner), FGrid(CheckedCast<TVodStringGrid>(AOwner)) {}

void TGridCheckBox::Dispatch(TMessage& Message)
{
    if (Message.Msg == WM_LBUTTONDOWN) SetChecked(!Checked());
    TCheckBox::Dispatch(Message);
}

void TGridCheckBox::KeyDown(Word& Key, TShiftState Shift)
{
    switch (Key) {
    case VK_SPACE:
        SetChecked(!Checked());
        break;
    case VK_RETURN: case VK_PRIOR: case VK_NEXT: case VK_END: case VK_LEFT: case VK_UP: case VK_RIGHT: case VK_DOWN: {
        if (!FGrid) break;
        FGrid->HideInplaceEdit();
        if (FGrid->CanFocus()) FGrid->SetFocus();
        if (Key == VK_RETURN)
            FGrid->AdvanceToNextCell(FGrid->Col(), FGrid->Row(), true, false, !GridEditorProtocol::ShiftDown(), true,
                                     false);
        else if (Key == VK_UP || Key == VK_DOWN)
            FGrid->KeyDown(Key, Shift);
        Key = 0;
        return;
    }
    default: break;
    }
    TCheckBox::KeyDown(Key, Shift);
}

// ---------------------------------------------------------------------------
// TGridButton

TGridButton::TGridButton(TComponent* AOwner) : TButton(AOwner), FGrid(CheckedCast<TVodStringGrid>(AOwner)) {}

void TGridButton::ExchangeCaption()
{
    auto* g = dynamic_cast<TVodStringGrid*>(Parent());
    if (!g) return;
    String s;
    g->EllipsClick(Caption(), s);
    SetCaption(s);
    g->SetCurrentCell(s);
}

void TGridButton::Dispatch(TMessage& Message)
{
    if (Message.Msg == WM_LBUTTONUP) ExchangeCaption();
    if (Message.Msg == CM_WANTSPECIALKEY) {
        switch (Word(Message.WParam)) {
        case VK_ESCAPE: case VK_LEFT: case VK_UP: case VK_RIGHT: case VK_DOWN: Message.Result = 1; return;
        default: break;
        }
    }
    TButton::Dispatch(Message);
}

void TGridButton::KeyUp(Word& Key, TShiftState Shift)
{
    if (Key == VK_SPACE) {
        ExchangeCaption();
        if (CanFocus()) SetFocus();
        Repaint();
    }
    (void)Shift;
}

void TGridButton::KeyDown(Word& Key, TShiftState Shift)
{
    if (!FGrid) {
        TButton::KeyDown(Key, Shift);
        return;
    }
    auto leave = [this] {
        SetVisible(false);
        SetEnabled(false);
        GridEditorProtocol::EditMode(FGrid) = false;
        if (FGrid->CanFocus()) FGrid->SetFocus();
    };
    switch (Key) {
    case VK_LEFT: case VK_UP: case VK_RIGHT: case VK_DOWN: {
        const Word k = Key;
        if (FGrid->HandleAllocated()) SendMessage(FGrid->Handle(), WM_KEYDOWN, k, 0);
        leave();
        if (FGrid->HandleAllocated()) SendMessage(FGrid->Handle(), WM_KEYUP, k, 0);
        Key = 0;
        return;
    }
    case VK_ESCAPE: {
        // The grid taking the focus must not change the text Esc restores.
        const String cache = GridEditorProtocol::CellCache(FGrid);
        leave();
        GridEditorProtocol::CellCacheRef(FGrid) = cache;
        FGrid->RestoreCellValue();
        if (FGrid->HandleAllocated()) SendMessage(FGrid->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
        Key = 0;
        return;
    }
    default: TButton::KeyDown(Key, Shift);
    }
}
