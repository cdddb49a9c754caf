// The grid's combo editor (edComboEdit with typed text, edComboList with
// the list only): the common editor protocol, its own key sets for a closed
// and an open list, cursor walking into the neighbouring cells, completion
// from the items and the grid's lookup list, the value history, the legacy
// wheel message and a drop-down list as wide as its widest item.
#include <algorithm>

#include "controls/grid/VodGrid.h"
#include "controls/grid/editors/GridEditorProtocol.h"
#include "controls/grid/editors/GridEditors.h"
#include "platform/base/SysUtils.h"

namespace {

// The legacy mouse-wheel message of old mouse drivers.
UINT LegacyWheelMessage()
{
    static const UINT m = RegisterWindowMessage(L"MSWHEEL_ROLLMSG");
    return m;
}

bool ModifiersFree(TShiftState Shift)
{
    return !Shift.Contains(ssShift) && !Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt);
}

}  // namespace

UINT GridLegacyWheelMessage() { return LegacyWheelMessage(); }

TGridCombo::TGridCombo(TComponent* AOwner) : TVurComboBox(AOwner), FGrid(CheckedCast<TVodStringGrid>(AOwner))
{
    WorkMode = true;
    SetButtonWidth(16);
    ItemChange = false;
}

void TGridCombo::SizeDropDownWidth()
{
    Integer width = Width();
    TCanvas* c = FGrid ? FGrid->Canvas() : Canvas();
    const bool scrolls = Items()->Count() > DropDownCount();
    for (Integer i = 0; i < Items()->Count(); ++i) {
        const Integer w = c->TextWidth(Items()->Strings(i));
        if (scrolls) {
            if (w > width - 25) width = w + 25;
        } else if (w > width - 5) {
            width = w + 8;
        }
    }
    FDroppedWidth = width;
    if (HandleAllocated()) SendMessage(Handle(), CB_SETDROPPEDWIDTH, WPARAM(width), 0);
}

// Completion of the typed prefix from the items, else from the grid's
// lookup list; the typed characters keep their case.
void TGridCombo::DoChange()
{
    if (!WorkMode || !FGrid || !FGrid->Lookup()) return;
    const String text = Text();
    const Integer caret = std::clamp(SelStart(), 0, Integer(text.size()));
    if (caret == 0) return;
    const bool cs = FGrid->LookupCaseSensitive();
    const String typed = text.substr(0, size_t(caret));
    const String prefix = cs ? typed : AnsiUpperCase(typed);
    auto complete = [&](const String& item) {
        const String s = typed + item.substr(size_t(caret), 255);
        SetText(s);
        SetSelStart(caret);
        SetSelLength(Integer(s.size()) - caret);
    };
    for (Integer i = 0; i < Items()->Count(); ++i) {
        const String item = Items()->Strings(i);
        if ((cs ? item : AnsiUpperCase(item)).rfind(prefix, 0) == 0) {
            SetItemIndex(i);
            complete(item);
            ItemIdx = i;
            ItemChange = true;
            return;
        }
    }
    TStrings* lookup = FGrid->LookupItems();
    for (Integer i = 0; lookup && i < lookup->Count(); ++i) {
        const String item = lookup->Strings(i);
        if ((cs ? item : AnsiUpperCase(item)).rfind(prefix, 0) == 0) {
            complete(item);
            ItemIdx = i;
            ItemChange = true;
            return;
        }
    }
}

void TGridCombo::DoExit()
{
    if (FGrid) {
        const String t = Text();
        if (FGrid->LookupHistory() && !t.empty() && Items()->IndexOf(t) < 0) Items()->Add(t);
        FGrid->HideInplaceEdit();
    }
    TVurComboBox::DoExit();
}

void TGridCombo::Change()
{
    TVurComboBox::Change();
    if (FGrid) GridEditorProtocol::FireEditChange(FGrid, Text());
}

void TGridCombo::FireComboChange(Integer Index)
{
    if (!FGrid) return;
    // No item (an empty list or no selection) reports index -1, an empty
    // text and no object.
    const bool has = Index >= 0 && Index < Items()->Count();
    const String text = has ? Items()->Strings(Index) : String();
    TObject* obj = has ? Items()->Objects(Index) : nullptr;
    const Integer rc = FGrid->RealColIndex(FGrid->Col());
    if (FGrid->OnComboChange) FGrid->OnComboChange(FGrid, rc, has ? Index : -1, text, FGrid->Row());
    if (FGrid->OnComboObjectChange) FGrid->OnComboObjectChange(FGrid, rc, has ? Index : -1, text, obj, FGrid->Row());
}

void TGridCombo::WndProc(TMessage& Message)
{
    if (FGrid && Message.Msg == LegacyWheelMessage()) {
        const Integer n = Items()->Count();
        Integer i = ItemIndex();
        if (Integer(Message.WParam) < 0) {
            if (i + 1 < n) SetItemIndex(i + 1);
        } else if (i > 0) {
            SetItemIndex(i - 1);
        }
        i = ItemIndex();
        const bool has = i >= 0 && i < n;
        if (FGrid->OnEditChange)
            FGrid->OnEditChange(FGrid, FGrid->RealColIndex(FGrid->Col()), FGrid->Row(),
                                has ? Items()->Strings(i) : String());
        FireComboChange(i);
        Message.Result = 0;
        return;
    }
    TVurComboBox::WndProc(Message);
}

void TGridCombo::Dispatch(TMessage& Message)
{
    if (Message.Msg == CM_WANTSPECIALKEY && FGrid) {
        TVurComboBox::Dispatch(Message);
        const Word k = Word(Message.WParam);
        if (k == VK_RETURN || k == VK_ESCAPE || (k == VK_TAB && FGrid->NeedsTabValidation())) Message.Result = 1;
        return;
    }
    if (Message.Msg == WM_SETFOCUS && FGrid) {
        TVurComboBox::Dispatch(Message);
        if (!FGrid->Navigation()->EditSelectAll() && Style() == csDropDown) {
            SetSelStart(Integer(Text().size()));
            SetSelLength(0);
        }
        GridEditorProtocol::CaretUnderMouse(FGrid, this, EditHandle());
        return;
    }
    TVurComboBox::Dispatch(Message);
}

void TGridCombo::KeyPress(wchar_t& Key)
{
    const Integer before = ItemIndex();
    if (FGrid && FGrid->OnKeyPress) FGrid->OnKeyPress(this, Key);
    if (Key == VK_ESCAPE) Key = 0;
    if (Key == VK_RETURN && OnReturnKey) OnReturnKey(this);
    if (Key == VK_RETURN || Key == VK_TAB) Key = 0;
    TVurComboBox::KeyPress(Key);
    if (ItemIndex() != before) FireComboChange(ItemIndex());
}

void TGridCombo::KeyDown(Word& Key, TShiftState Shift)
{
    if (!FGrid) {
        TVurComboBox::KeyDown(Key, Shift);
        return;
    }
    using P = GridEditorProtocol;
    TVodStringGrid* g = FGrid;
    auto in = [&](std::initializer_list<Word> keys) { return std::find(keys.begin(), keys.end(), Key) != keys.end(); };
    // 1. The grid hears every key but the ones the editor acts on.
    if (!in({VK_TAB, VK_RETURN, VK_ESCAPE, VK_PRIOR, VK_NEXT, VK_UP, VK_DOWN}) && g->OnKeyDown)
        g->OnKeyDown(g, Key, Shift);
    Forced = false;
    const bool listStyle = Style() == csDropDownList;
    const bool listMode = listStyle || DroppedDown();
    bool handled = listMode ? in({VK_TAB, VK_RETURN, VK_ESCAPE, VK_LEFT, VK_RIGHT})
                            : in({VK_TAB, VK_RETURN, VK_ESCAPE, VK_PRIOR, VK_NEXT, VK_END, VK_UP, VK_DOWN});
    WorkMode = !(Key == VK_BACK || Key == VK_DELETE);
    // Up and Down move the grid's current cell unless the combo keeps them.
    if ((Key == VK_UP || Key == VK_DOWN) && !g->Navigation()->ComboGetUpDown() && !DroppedDown()) {
        g->HideInplaceEdit();
        const bool always = g->Navigation()->AlwaysEdit();
        g->Navigation()->SetAlwaysEdit(false);
        if (g->CanFocus()) g->SetFocus();
        g->Navigation()->SetAlwaysEdit(always);
        g->KeyDown(Key, Shift);
        return;
    }
    if (Key == VK_DOWN && Shift.Contains(ssAlt)) handled = false;
    if (!handled) {
        TVurComboBox::KeyDown(Key, Shift);
        return;
    }
    P::NewCellTextRef(g) = Text();
    // Esc: the cell's text, and its item when it is one.
    if (Key == VK_ESCAPE) {
        const String cell = g->CurrentCell();
        SetText(cell);
        const Integer i = Items()->IndexOf(cell);
        if (i >= 0) SetItemIndex(i);
        g->HideInplaceEdit();
        if (g->CanFocus()) g->SetFocus();
        return;
    }
    if (in({VK_RETURN, VK_UP, VK_DOWN})) {
        const String t = Text();
        g->SetCurrentCell(t);
        if (!g->ValidateCell(t)) {
            SetText(P::NewCellText(g));
            if (!listStyle) SelectAll();
            Repaint();
            Key = 0;
            return;
        }
        if (listStyle) {
            const Integer i = Items()->IndexOf(g->CurrentCell());
            if (i >= 0) SetItemIndex(i);
        } else {
            SetText(g->CurrentCell());
        }
    }
    if (Key == VK_TAB && g->NeedsTabValidation()) {
        if (DroppedDown()) SetDroppedDown(false);
        const String t = Text();
        g->SetCurrentCell(t);
        if (!g->ValidateCell(t)) {
            const String shown = P::NewCellText(g);
            SetText(shown);
            SetSelStart(Integer(shown.size()));
            SetSelLength(0);
            Repaint();
            Key = 0;
            return;
        }
        const String cell = g->CurrentCell();
        if (cell != t) {
            if (listStyle) SetItemIndex(Items()->IndexOf(cell));
            else SetText(cell);
        }
        if (g->Options().Contains(goTabs)) {
            if (!(listStyle && ItemIndex() < 0)) {
                g->HideInplaceEdit();
                if (g->CanFocus()) g->SetFocus();
            }
            g->HandleTabKey(P::ShiftDown());
            Key = 0;
            return;
        }
        if (g->HandleAllocated()) PostMessage(g->Handle(), WM_KEYDOWN, VK_TAB, 0);
    }
    if (listMode) {
        const bool directClose = g->MouseActions()->DirectComboClose();
        g->MouseActions()->SetDirectComboClose(false);
        g->HideInplaceEdit();
        g->StoreEditorText(g->RealColIndex(g->Col()), g->Row(), P::NewCellText(g));
        g->MouseActions()->SetDirectComboClose(directClose);
        if (Key == VK_LEFT || Key == VK_RIGHT) {
            Word k = Key;
            g->KeyDown(k, Shift);
        }
        if (in({VK_PRIOR, VK_NEXT, VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN})) Key = 0;
    } else if (Key == VK_END) {
        TVurComboBox::KeyDown(Key, Shift);
        return;
    }
    FAdvance = true;
    g->DoneInplaceEdit(Key, Shift);
    Key = 0;
    if (g->Navigation()->AdvanceOnEnter() && g->Navigation()->AdvanceAutoEdit() && g->HandleAllocated())
        PostMessage(g->Handle(), GridUnit().GridEditShow, 0, 0);
    TVurComboBox::KeyDown(Key, Shift);
}

void TGridCombo::KeyUp(Word& Key, TShiftState Shift)
{
    TVodStringGrid* g = FGrid;
    if (g && Style() == csDropDown && g->Navigation()->CursorWalkEditor() && SelLength() == 0 &&
        ModifiersFree(Shift)) {
        const String t = Text();
        TNavigation* nav = g->Navigation();
        auto walk = [&](bool forward, bool leftMove) {
            if (g->CanFocus()) g->SetFocus();
            const TAdvanceDirection dir = nav->AdvanceDirection();
            if (leftMove || dir == adTopBottom || dir == adTopBottomInCol) nav->SetAdvanceDirection(adLeftRight);
            g->AdvanceToNextCell(g->Col(), g->Row(), true, false, forward, true, true);
            nav->SetAdvanceDirection(dir);
            if (nav->CursorWalkAlwaysEdit()) g->SetEditorMode(true);
        };
        if (Key == VK_LEFT && SelStart() == 0) {
            Key = 0;
            if (g->Col() > g->FixedCols() && g->IsClickControlCell(g->RealColIndex(g->Col() - 1), g->Row())) {
                if (g->ValidateCell(t)) {
                    g->HideInplaceEdit();
                    g->SetCol(g->Col() - 1);
                }
            } else {
                walk(false, true);
            }
        } else if (Key == VK_RIGHT && SelStart() >= Integer(t.size())) {
            Key = 0;
            const Integer span = std::max(0, g->CellSpan(g->RealColIndex(g->Col()), g->Row()).X);
            const Integer next = g->Col() + span + 1;
            if (g->Col() < g->ColCount() - g->FixedRightCols() - 1 &&
                g->IsClickControlCell(g->RealColIndex(next), g->Row())) {
                if (g->ValidateCell(t)) {
                    g->HideInplaceEdit();
                    g->SetCol(next);
                }
            } else {
                walk(true, false);
            }
        }
    }
    if (Key != VK_RETURN) TVurComboBox::KeyUp(Key, Shift);
    DoChange();
}
