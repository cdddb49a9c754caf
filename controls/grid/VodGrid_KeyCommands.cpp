// The grid's own keyboard commands: the key-down table, typed characters
// that start editing, and the key release that opens the editor.
#include <algorithm>
#include <cwctype>

#include "controls/foundation/VodUtil.h"
#include "controls/grid/GridSearchPanel.h"
#include "controls/grid/VodGrid.h"
#include "controls/markup/VurHTMLE.h"
#include "platform/ui/Forms.h"

namespace {
bool HasControlMarker(const String& s)
{
    static const wchar_t kMarker[] = L"<CONTROL";
    const size_t n = 8;
    for (size_t i = 0; i + n <= s.size(); ++i) {
        size_t k = 0;
        while (k < n && std::towupper(s[i + k]) == kMarker[k]) ++k;
        if (k == n) return true;
    }
    return false;
}

// Restores the filter as it was when the scope began, also on the way out
// of an exception.
class TFilterOff {
public:
    explicit TFilterOff(TVodStringGrid* G) : FGrid(G), FWas(G->FilterActive())
    {
        if (FWas) FGrid->SetFilterActive(false);
    }
    ~TFilterOff() { Restore(); }
    void Restore()
    {
        if (FWas && !FGrid->FilterActive()) FGrid->SetFilterActive(true);
        FWas = false;
    }
    TFilterOff(const TFilterOff&) = delete;
    TFilterOff& operator=(const TFilterOff&) = delete;

private:
    TVodStringGrid* FGrid;
    bool FWas;
};
}  // namespace

bool TVodStringGrid::CellHasControlMarkup(Integer ACol, Integer ARow)
{
    const String s = GetCellEx(RealColIndex(ACol), ARow);
    return FEnableHTML && DetectTextMarkup(s, true) == tkMarkup && HasControlMarker(s);
}

void TVodStringGrid::NotifyKeySelection()
{
    const TGridRect s = Selection();
    if (!(s == FMoveSelection)) {
        FMoveSelection = s;
        SelectionChanged(s.Left, s.Top, s.Right, s.Bottom);
    }
}

void TVodStringGrid::ToBaseCell()
{
    if (IsMergedCell(Col(), Row()) && !IsBaseCell(Col(), Row())) MoveToBaseCell();
}

bool TVodStringGrid::HandleHomeEnd(Word Key, bool Shift, bool Ctrl)
{
    const THomeEndAction he = FNavigation->HomeEndKey();
    const bool rowSel = Options().Contains(goRowSelect);
    const bool guard = FFixedRowAlways && RowCount() == 1;
    const Integer oldRow = Row();
    auto rowMarks = [&](Integer From, Integer To) {
        if (!FMouseActions->DisjunctRowSelect()) return;
        if (!Shift) {
            ClearRowSelect();
            FDisSelection.Top = -1;
            SetRowSelect(Row(), true);
            return;
        }
        ClearRowSelect();
        for (Integer r = std::min(From, To); r <= std::max(From, To); ++r)
            if (r >= 0 && r < RowCount()) SetRowSelect(r, true);
    };
    auto shiftRows = [&](Integer From, Integer To) {
        if (!Shift) return;
        SetSelection(TGridRect{0, std::min(From, To), ColCount() - 1, std::max(From, To)});
    };
    if (Key == VK_HOME) {
        if (he == heFirstLastCell && !Ctrl) {
            FocusCell(FixedCols(), FixedRows(), true);
            ToBaseCell();
            return true;
        }
        if (he == heFirstLastRow && !Ctrl) {
            if (guard) return false;
            const Integer left = LeftCol();
            SetRow(FixedRows());
            ToBaseCell();
            shiftRows(oldRow, FixedRows());
            rowMarks(oldRow, FixedRows());
            if (rowSel && FNavigation->KeepHorizScroll()) SetLeftCol(left);
            return true;
        }
        if (he == heFirstLastColumn && Ctrl) {
            SetRow(FixedRows());
            if (const Integer c = FirstCellInRow(Row()); c != -1) SetCol(c);
            ToBaseCell();
            SetLeftCol(std::max(FixedCols(), FirstNavigableCol()));
            return true;
        }
        if (he == heFirstLastColumn && !rowSel) {
            if (guard) return false;
            if (Shift) {
                SetSelection(TGridRect{FixedCols(), Row(), Col(), Row()});
                RepaintRow(Row());
            } else {
                if (const Integer c = FirstCellInRow(Row()); c != -1) SetCol(c);
                ToBaseCell();
                SetLeftCol(std::max(FixedCols(), FirstNavigableCol()));
            }
            return true;
        }
        return false;
    }
    if (he == heFirstLastCell && !Ctrl && !Shift) {
        FocusCell(ColCount() - 1, RowCount() - 1, true);
        ToBaseCell();
        return true;
    }
    if ((he == heFirstLastRow || rowSel || FMouseActions->DisjunctRowSelect()) && !Ctrl) {
        if (guard) return false;
        const Integer target = LastVisibleRow();
        if (target >= FixedRows() && target < RowCount()) SetRow(target);
        const Integer visTop = std::max(FixedRows(), RowCount() - VisibleRowCount());
        if (FFixedFooters > 0 && !FFloatingFooter->Visible()) SetTopRow(visTop);
        shiftRows(oldRow, Row());
        rowMarks(oldRow, Row());
        if (FFloatingFooter->Visible()) SetTopRow(visTop);
        return true;
    }
    if (he == heFirstLastColumn && !Ctrl && !rowSel) {
        if (guard) return false;
        if (Shift) {
            SetSelection(TGridRect{Col(), Row(), ColCount() - FFixedRightCols - 1, Row()});
            RepaintRow(Row());
        } else {
            const Integer c = LastVisibleCol();
            if (c >= FixedCols() && c < ColCount()) SetCol(c);
            ToBaseCell();
            SetLeftCol(std::max(FixedCols(), ColCount() - VisibleColCount()));
        }
        return true;
    }
    return false;
}

bool TVodStringGrid::InsertRowByKey()
{
    bool allow = true;
    CanInsertRow(Row(), allow);
    if (!allow) return false;
    Integer newRow = Row();
    const Integer realBefore = RealRowIndex(Row());
    TFilterOff filter(this);
    if (realBefore >= 0 && realBefore < RowCount() && realBefore != Row() && realBefore >= FixedRows())
        SetRow(realBefore), newRow = realBefore;
    Integer at;
    bool below = false;
    if (FNavigation->InsertPosition() == pInsertAfter) {
        if (FFixedRowAlways && RowCount() == FixedRows()) {
            at = RealRowIndex(Row());
            // The inserted row becomes current.
            newRow = at;
        } else {
            at = RealRowIndex(Row() + 1);
            below = true;
        }
    } else {
        at = RealRowIndex(Row());
        if (FFixedRowAlways && RowCount() == FixedRows()) newRow = at;
    }
    InsertRowFromKey(at);
    // The row inserted below becomes current, also after the last row.
    if (below && newRow + 1 < RowCount()) ++newRow;
    if (OnAutoInsertRow) OnAutoInsertRow(this, at);
    FGridModified = true;
    filter.Restore();
    if (newRow >= FixedRows() && newRow < RowCount()) SetRow(newRow);
    CalcFooter(-1);
    return true;
}

bool TVodStringGrid::DeleteRowByKey()
{
    const Integer real = RealRowIndex(Row());
    TFilterOff filter(this);
    bool canDelete = true;
    if (OnCanDeleteRow) OnCanDeleteRow(this, real, canDelete);
    if (!canDelete) return false;
    ClearRows(real, 1);
    DeleteRowFromKey(real);
    filter.Restore();
    if (FFloatingFooter->Visible() && Row() == RowCount() - 1 && RowCount() - 2 >= FixedRows()) SetRow(RowCount() - 2);
    if (Col() >= 0 && Row() >= 0 && Col() < ColCount() && Row() < RowCount()) StoreCellValue(Col(), Row());
    FGridModified = true;
    CalcFooter(-1);
    return true;
}

void TVodStringGrid::SelectAllByKey(bool& Stop)
{
    const TGridRect rect{FirstNavigableCol(), FixedRows(), ColCount() - FFixedRightCols - 1,
                         RowCount() - FFixedFooters - 1};
    if (rect.Right < rect.Left || rect.Bottom < rect.Top) return;
    if (FMouseActions->DisjunctRowSelect())
        for (Integer r = rect.Top; r <= rect.Bottom; ++r) SetRowSelect(r, true);
    if (FMouseActions->DisjunctCellSelect()) {
        SelectCells(rect.Left, rect.Top, rect.Right, rect.Bottom);
        Stop = true;
        return;
    }
    KeyUpHook();
    SetSelection(rect);
    FocusCell(rect.Right, rect.Bottom, false);
    const TRect r = CellRect(rect.Right, rect.Bottom);
    MouseDown(mbLeft, TShiftState(), r.Left + 2, r.Top + 2);
    MouseUp(mbLeft, TShiftState(), r.Left + 2, r.Top + 2);
    FocusCell(rect.Right, rect.Bottom, false);
    SetSelection(rect);
}

void TVodStringGrid::WMKeyDown(TMessage& M)
{
    const Word key = M.CharCode();
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool lalt = GetKeyState(VK_LMENU) < 0;
    const bool anyAlt = GetKeyState(VK_MENU) < 0;
    TShiftState ss;
    if (ctrl) ss.Include(ssCtrl);
    if (shift) ss.Include(ssShift);
    if (lalt) ss.Include(ssAlt);
    auto fireKeyDown = [&] {
        if (OnKeyDown) {
            Word k = key;
            OnKeyDown(this, k, ss);
        }
    };
    auto swallow = [&] {
        M.SetCharCode(0);
        M.Result = 1;
    };
    // 1.
    FMoveSelection = Selection();
    const Integer oldCol = Col(), oldRow = Row(), oldRealCol = RealColIndex(Col()), oldLeft = LeftCol();
    const bool editing = Options().Contains(goEditing);
    const bool inGrid = Col() >= 0 && Row() >= 0 && Col() < ColCount() && Row() < RowCount();
    // 2.
    const bool keepHoriz = (key == VK_PRIOR || key == VK_NEXT || key == VK_UP || key == VK_DOWN) &&
                           Options().Contains(goRowSelect) && FNavigation->KeepHorizScroll() && LeftCol() != FixedCols();
    // 3.
    if (FNavigation->MoveScrollOnly()) {
        const Integer vis = VisibleRowCount();
        bool done = true;
        switch (key) {
        case VK_PRIOR: SetTopRow(TopRow() > vis + FixedRows() ? TopRow() - vis : FixedRows()); break;
        case VK_NEXT:
            if (TopRow() + vis < RowCount()) SetTopRow(std::min(TopRow() + vis, std::max(FixedRows(), RowCount() - vis)));
            break;
        case VK_END: SetTopRow(std::max(FixedRows(), RowCount() - vis)); break;
        case VK_HOME: SetTopRow(FixedRows()); break;
        case VK_UP:
            if (TopRow() > FixedRows()) SetTopRow(TopRow() - 1);
            break;
        case VK_DOWN:
            if (TopRow() + vis < RowCount()) SetTopRow(TopRow() + 1);
            break;
        default: done = false; break;
        }
        if (done) {
            M.Result = 1;
            return;
        }
    }
    const bool enterF2 = key == VK_RETURN || key == VK_F2;
    auto editable = [&] { return inGrid && IsEditable(oldRealCol, oldRow); };
    // 4.
    if (FMouseActions->EditOnDblClickOnly() && enterF2 && !editing && inGrid) {
        const bool was = FMouseActions->RangeSelectAndEdit();
        FMouseActions->SetRangeSelectAndEdit(true);
        bool ok = false;
        try {
            ok = IsEditable(oldRealCol, oldRow);
        } catch (...) {
            FMouseActions->SetRangeSelectAndEdit(was);
            throw;
        }
        FMouseActions->SetRangeSelectAndEdit(was);
        if (ok) {
            TGridOptions o = Options();
            o.Include(goEditing);
            SetOptions(o);
        }
    }
    // 5.
    if (FMouseActions->RangeSelectAndEdit() && !Options().Contains(goEditing) && enterF2 && !editable()) {
        fireKeyDown();
        swallow();
        return;
    }
    // 6.
    if (key == 'F' && ctrl && FSearchFooter->Visible() && FSearchPanel && FSearchPanel->EditControl() &&
        FSearchPanel->EditControl()->CanFocus())
        FSearchPanel->EditControl()->SetFocus();
    // 7.
    if (enterF2 && inGrid) {
        if (Options().Contains(goEditing) && !editable()) {
            fireKeyDown();
            swallow();
            return;
        }
        if (CellHasControlMarkup(oldCol, oldRow)) {
            M.Result = 1;
            return;
        }
    }
    // 8.
    if (key == VK_RETURN && inGrid && !editable()) {
        TCustomForm* form = FindParentForm();
        if (form && form->KeyPreview())
            TBaseGrid::WMKeyDown(M);
        else {
            fireKeyDown();
            swallow();
        }
        return;
    }
    // 9.
    if ((key == VK_RETURN || key == VK_SPACE) && inGrid && IsClickControlCell(oldRealCol, oldRow)) {
        bool canEdit = Options().Contains(goEditing) || FMouseActions->RangeSelectAndEdit();
        IsCellEditable(oldRealCol, oldRow, canEdit);
        if (key == VK_SPACE) {
            if ((HasCheckBox(oldRealCol, oldRow) || HasDataCheckBox(oldRealCol, oldRow)) &&
                (canEdit || FControlLook->CheckAlwaysActive())) {
                ToggleCellCheckBox(oldRealCol, oldRow, true);
                if (FShowModified->Enabled()) {
                    SetRowModified(oldRow, true);
                    RepaintCell(0, oldRow);
                }
                bool state = false;
                GetCheckBoxState(oldRealCol, oldRow, state);
                CheckBoxClick(oldCol, oldRow, state);
            } else if (IsRadio(oldRealCol, oldRow) && (canEdit || FControlLook->RadioAlwaysActive())) {
                ClickRadioCell(oldRealCol, oldRow, true);
                Integer idx = -1;
                GetRadioIdx(oldRealCol, oldRow, idx);
                if (OnRadioClick) OnRadioClick(this, oldRealCol, oldRow, idx);
            } else if (HasRadioButton(oldRealCol, oldRow) && (canEdit || FControlLook->RadioAlwaysActive())) {
                if (HasRadioButtonGroup(oldRealCol, oldRow, rgRow))
                    SetRadioButtonRowIndex(oldRow, oldRealCol);
                else
                    SetRadioButtonColumnIndex(oldRealCol, oldRow);
                if (OnRadioButtonClick) OnRadioButtonClick(this, oldRealCol, oldRow);
            }
        }
        if (canEdit && GetCellType(oldRealCol, oldRow) == ctButton) ButtonClick(oldCol, oldRow);
        RepaintCell(oldCol, oldRow);
    }
    // 10.
    if ((key == VK_HOME || key == VK_END) && HandleHomeEnd(key, shift, ctrl)) {
        fireKeyDown();
        NotifyKeySelection();
        M.Result = 0;
        return;
    }
    // 11.
    if (inGrid && (key == VK_RIGHT || key == VK_LEFT) && IsNode(oldRow) && IsMergedCell(oldCol, oldRow)) {
        if (key == VK_RIGHT) {
            fireKeyDown();
            ExpandNode(RealRowIndex(oldRow));
            M.Result = 0;
            return;
        }
        ContractNode(RealRowIndex(oldRow));
    }
    // 12.
    if (Options().Contains(goRowSelect) && inGrid && !IsNode(oldRow) && VisibleColCount() < ColCount()) {
        const bool lr = key == VK_LEFT || key == VK_RIGHT;
        if (lr && FNavigation->LeftRightRowSelect() && ctrl) {
            if (key == VK_LEFT && LeftCol() > FixedCols()) SetLeftCol(LeftCol() - 1);
            if (key == VK_RIGHT && VisibleColCount() + LeftCol() < ColCount()) SetLeftCol(LeftCol() + 1);
        } else if (lr && !FNavigation->LeftRightRowSelect()) {
            if (key == VK_LEFT && LeftCol() > FixedCols()) SetLeftCol(LeftCol() - 1);
            if (key == VK_RIGHT && VisibleColCount() + LeftCol() < ColCount()) SetLeftCol(LeftCol() + 1);
            fireKeyDown();
            M.Result = 0;
            return;
        }
    }
    // 13.
    if (key == VK_TAB && !ctrl && Options().Contains(goTabs)) {
        HandleTabKey(shift);
        NotifyKeySelection();
        M.SetCharCode(0);
        return;
    }
    // 14.
    if (FNavigation->SkipFixedCells() && inGrid) {
        Word k = key;
        if (UseRightToLeftAlignment()) {
            if (k == VK_LEFT)
                k = VK_RIGHT;
            else if (k == VK_RIGHT)
                k = VK_LEFT;
        }
        auto stillKey = [&] {
            Word kk = key;
            if (OnKeyDown) OnKeyDown(this, kk, ss);
            return kk == key;
        };
        if (k == VK_LEFT && Col() > FixedCols() && KeyFixedCell(Col() - 1, Row()) && !(Col() - 1 < FixedCols())) {
            if (stillKey()) {
                Integer c = Col() - 1;
                while (c >= FixedCols() && KeyFixedCell(c, Row())) --c;
                if (c >= FixedCols()) SetCol(c);
            }
            M.SetCharCode(0);
            NotifyKeySelection();
            return;
        }
        if (k == VK_RIGHT && Col() + 1 < ColCount() - FFixedRightCols && KeyFixedCell(Col() + 1, Row())) {
            if (stillKey()) {
                Integer c = Col() + 1;
                while (c < ColCount() - FFixedRightCols && KeyFixedCell(c, Row())) ++c;
                if (c < ColCount() - FFixedRightCols) SetCol(c);
            }
            M.SetCharCode(0);
            NotifyKeySelection();
            return;
        }
        if (k == VK_UP && Row() > FixedRows() && KeyFixedCell(Col(), Row() - 1) && Row() - 1 >= FixedRows()) {
            if (stillKey()) {
                Integer r = Row() - 1;
                if (!Options().Contains(goRowSelect))
                    while (r >= FixedRows() && KeyFixedCell(Col(), r)) --r;
                if (r >= FixedRows() && (Options().Contains(goRowSelect) || !KeyFixedCell(Col(), r))) SetRow(r);
            }
            M.SetCharCode(0);
            NotifyKeySelection();
            return;
        }
        const Integer bottom = RowCount() - FFixedFooters;
        if (k == VK_DOWN && Row() + 1 < bottom && Row() + 1 < RowCount() && KeyFixedCell(Col(), Row() + 1)) {
            if (stillKey()) {
                Integer r = Row() + 1;
                if (!Options().Contains(goRowSelect))
                    while (r < bottom && KeyFixedCell(Col(), r)) ++r;
                if (r < bottom && (Options().Contains(goRowSelect) || !KeyFixedCell(Col(), r))) SetRow(r);
            }
            M.SetCharCode(0);
            NotifyKeySelection();
            return;
        }
    }
    // 15.
    if (key == VK_DOWN && inGrid && IsOnLastDataRow() && FNavigation->AppendOnArrowDown()) AutoAddRow();
    // 16.
    bool bracket = false, restoreTop = false;
    const Integer topBefore = TopRow();
    if (FSearchFooter->Visible() && TopRow() >= RowCount() - VisibleRowCount()) {
        const bool lastRow = Row() == RowCount() - 1;
        if (lastRow && key == VK_DOWN) {
            BottomReached();
            M.Result = 1;
            fireKeyDown();
            return;
        }
        if (lastRow && ((key == VK_RIGHT && Col() == ColCount() - 1) || (key == VK_LEFT && Col() == FixedCols()))) {
            M.Result = 1;
            fireKeyDown();
            return;
        }
        if (lastRow) {
            if (key == VK_NEXT || key == VK_END || key == VK_LEFT || key == VK_RIGHT || key == VK_DOWN)
                bracket = true;
            else if (key != VK_SHIFT && key != VK_MENU && !(key >= 33 && key <= 40))
                bracket = restoreTop = true;
        }
    }
    // 17.
    if (keepHoriz) BeginUpdate();
    if (bracket) BeginUpdate();
    try {
        TBaseGrid::WMKeyDown(M);
    } catch (...) {
        if (bracket) EndUpdate();
        if (keepHoriz) EndUpdate();
        throw;
    }
    if (restoreTop && TopRow() != topBefore) SetTopRow(topBefore);
    if (bracket) EndUpdate();
    if (keepHoriz) {
        if (LeftCol() != oldLeft) SetLeftCol(oldLeft);
        EndUpdate();
    }
    if (FSearchFooter->Visible() && Row() == RowCount() - 1 &&
        (key == VK_NEXT || key == VK_END || key == VK_LEFT || key == VK_RIGHT || key == VK_DOWN)) {
        while (TopRow() < RowCount() - 1 && CellRect(Col(), Row()).Bottom > ClientRect().Bottom) {
            const Integer t = TopRow();
            SetTopRow(t + 1);
            if (TopRow() == t) break;
        }
    }
    // 18.
    const bool clip = FNavigation->AllowClipboardShortCuts();
    if (clip && ((ctrl && key == 'X') || (shift && key == VK_DELETE))) {
        bool allow = true;
        if (OnClipboardCut) OnClipboardCut(this, allow);
        if (allow) {
            const TGridRect before = Selection();
            ClipboardCutKey();
            if (OnClipboardCutDone) OnClipboardCutDone(this, before);
        }
        return;
    }
    if (clip && ((ctrl && key == 'V') || (shift && key == VK_INSERT))) {
        bool allow = true;
        if (OnClipboardPaste) OnClipboardPaste(this, allow);
        if (allow) ClipboardPasteKey();
        return;
    }
    if (clip && ctrl && (key == 'C' || key == VK_INSERT)) {
        bool allow = true;
        if (OnClipboardCopy) OnClipboardCopy(this, allow);
        if (allow) {
            ClipboardCopyKey();
            if (OnClipboardCopyDone) OnClipboardCopyDone(this, Selection());
        }
        return;
    }
    if (key == VK_INSERT && FNavigation->AllowInsertRow() && !ctrl && !shift && !anyAlt) {
        if (!InsertRowByKey()) return;
    }
    if (ctrl && key == 'A' && (Options().Contains(goRowSelect) || Options().Contains(goRangeSelect))) {
        bool stop = false;
        SelectAllByKey(stop);
        return;
    }
    if (key >= VK_PRIOR && key <= VK_DOWN) {
        const bool persistent = FMouseActions->RowSelectPersistent();
        auto rowIndex = [&](Integer r) { return persistent ? RealRowIndex(r) : r; };
        const TGridRect s = Selection();
        if (FMouseActions->DisjunctRowSelect()) {
            if (!ctrl) ClearRowSelect();
            if (shift) {
                for (Integer r = s.Top; r <= s.Bottom; ++r) SetRowSelect(rowIndex(r), true);
            } else if (Row() >= 0 && Row() < RowCount()) {
                SetRowSelect(rowIndex(Row()), true);
            }
        }
        if (FMouseActions->DisjunctColSelect()) {
            if (!ctrl) ClearColSelect();
            if (shift) {
                for (Integer c = s.Left; c <= s.Right; ++c) SetColSelect(RealColIndex(c), true);
            } else if (Col() >= 0 && Col() < ColCount()) {
                SetColSelect(RealColIndex(Col()), true);
            }
        }
    }
    if (key == VK_SPACE && inGrid) {
        if (FMouseActions->DisjunctRowSelect()) {
            const Integer r = FMouseActions->RowSelectPersistent() ? RealRowIndex(Row()) : Row();
            SetRowSelect(r, !GetRowSelect(r));
        }
        if (FMouseActions->DisjunctColSelect()) SetColSelect(RealColIndex(Col()), !GetColSelect(RealColIndex(Col())));
    }
    if (key == VK_DELETE && FNavigation->AllowDeleteRow() && !anyAlt && RowCount() - FixedRows() - FFixedFooters > 0) {
        if (!DeleteRowByKey()) return;
    }
    if (key == VK_TAB && ctrl && Options().Contains(goTabs) && FFixedRightCols > 0 &&
        oldRealCol == TotalColCount() - FFixedRightCols - 1) {
        const Integer lastRow = RowCount() - FFixedFooters - 1;
        const Integer r = oldRow >= lastRow ? FixedRows() : oldRow + 1;
        if (r < RowCount()) FocusCell(std::min(FirstNavigableCol(), ColCount() - 1), r, true);
    }
    if (enterF2 && inGrid) {
        StoreCellValue(Col(), Row());
        // A cell with control tags that were not taken as markup opens its
        // first editable control.
        if (VurHTMLE::HasControlTags(GetCellEx(RealColIndex(Col()), Row())))
            FocusNextCellControl(Col(), Row(), String());
        if (key == VK_F2) KeyDownHook();
    }
    NotifyKeySelection();
}

void TVodStringGrid::KeyDown(Word& Key, TShiftState Shift)
{
    const bool noMods = !Shift.Contains(ssShift) && !Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt);
    Integer tc = -1, tr = -1;
    bool fired = false;
    const bool rtl = UseRightToLeftAlignment();
    if (noMods && Key >= VK_END && Key <= VK_DOWN) {
        if (OnKeyDown) {
            Word k = Key;
            OnKeyDown(this, k, Shift);
            fired = true;
            if (k < VK_END || k > VK_DOWN) {
                Key = k;
                return;
            }
        }
        const THomeEndAction he = FNavigation->HomeEndKey();
        switch (Key) {
        case VK_END:
            if (he == heFirstLastColumn) tc = LastVisibleCol();
            if (he == heFirstLastRow) tr = LastVisibleRow();
            break;
        case VK_HOME:
            if (he == heFirstLastColumn) tc = FirstVisibleCol();
            if (he == heFirstLastRow) tr = FirstVisibleRow();
            break;
        case VK_LEFT: tc = NextVisibleCol(rtl ? Col() + 1 : Col() - 1); break;
        case VK_RIGHT: tc = NextVisibleCol(rtl ? Col() - 1 : Col() + 1); break;
        case VK_UP: tr = NextVisibleRow(Row() - 1); break;
        case VK_DOWN: tr = NextVisibleRow(Row() + 1); break;
        default: break;
        }
    }
    FLastKeyCell = TPoint{Col(), Row()};
    const Word key = Key;
    if ((Key == VK_SHIFT || Key == VK_CONTROL || Key == VK_MENU) && FSearchFooter->Visible() && Row() == RowCount() - 1) {
        Key = 0;
        return;
    }
    const Integer rowBefore = Row();
    // Enter that ends the text editor's edit (the editor hands it here):
    // the base handling stores the text and closes the editor, then the
    // grid moves on as for Enter typed in the editor.
    const bool enterFromEditor = Key == VK_RETURN && !Shift.Contains(ssCtrl) && EditorMode() && InplaceEditor() &&
                                 InplaceEditor()->Focused();
    // OnKeyDown has been asked already for the moving keys: the base
    // handling runs without asking it again.
    TKeyEvent saved = OnKeyDown;
    if (fired) OnKeyDown = nullptr;
    try {
        TBaseGrid::KeyDown(Key, Shift);
    } catch (...) {
        OnKeyDown = saved;
        throw;
    }
    OnKeyDown = saved;
    if (enterFromEditor && !EditorMode() && FNavigation->AdvanceOnEnter()) {
        const Integer c0 = Col(), r0 = Row();
        AdvanceToNextCell(c0, r0, false, false, !Shift.Contains(ssShift), false, false);
        // With AdvanceAutoEdit the editor opens again on the cell reached.
        if (FNavigation->AdvanceAutoEdit() && (Col() != c0 || Row() != r0) &&
            !IsClickControlCell(RealColIndex(Col()), Row()) && IsEditable(RealColIndex(Col()), Row()))
            ShowInplaceEdit();
    }
    if (tc >= 0 && tc < ColCount() && tc != Col()) SetCol(tc);
    if (tr >= 0 && tr < RowCount() && tr != Row()) SetRow(tr);
    // Keyboard moves stay off the footer rows and the fixed right columns.
    if (const Integer lr = LastKeyDataRow(); lr >= FixedRows() && Row() > lr) SetRow(lr);
    if (const Integer lc = ColCount() - FFixedRightCols - 1; FFixedRightCols > 0 && lc >= FixedCols() && Col() > lc)
        SetCol(lc);
    const bool ctrl = Shift.Contains(ssCtrl);
    const Integer lastRow = RowCount() - FFixedFooters - 1;
    const Integer lastCol = ColCount() - FFixedRightCols - 1;
    if (FNavigation->CursorMoveRows() && ctrl) {
        const TGridRect s = Selection();
        if (key == VK_DOWN && s.Bottom < RowCount() - 1 && s.Bottom < lastRow) {
            if (s.Top == s.Bottom) {
                MoveRow(s.Top, s.Top + 1);
                SetRow(s.Top + 1);
            } else {
                MoveRows(s.Top, s.Top + 1, s.Bottom - s.Top + 1);
                SetSelection(TGridRect{FixedCols(), s.Top + 1, ColCount() - 1, s.Bottom + 1});
            }
            Key = 0;
        } else if (key == VK_UP && s.Top > FixedRows()) {
            if (s.Top == s.Bottom) {
                MoveRow(s.Top, s.Top - 1);
                SetRow(s.Top - 1);
            } else {
                MoveRows(s.Top, s.Top - 1, s.Bottom - s.Top + 1);
                SetSelection(TGridRect{FixedCols(), s.Top - 1, ColCount() - 1, s.Bottom - 1});
            }
            Key = 0;
        }
    }
    const TCursorAdvance adv = FNavigation->CursorAdvance();
    if (adv != caDefault && !ctrl) {
        const bool snake = adv == caSnake;
        const TPoint from = FLastKeyCell;
        if (key == VK_LEFT && from.X == FixedCols()) {
            if (snake) {
                if (from.Y > FixedRows()) FocusCell(lastCol, from.Y - 1, true);
            } else {
                SetCol(lastCol);
            }
        } else if (key == VK_UP && from.Y == FixedRows()) {
            if (snake) {
                if (from.X > FixedCols()) FocusCell(from.X - 1, lastRow, true);
            } else {
                SetRow(lastRow);
            }
        } else if (key == VK_RIGHT && from.X == ColCount() - 1) {
            if (snake) {
                if (from.Y < lastRow) FocusCell(FixedCols(), from.Y + 1, true);
            } else {
                SetCol(FixedCols());
            }
        } else if (key == VK_DOWN && from.Y == RowCount() - 1) {
            if (snake) {
                if (from.X < lastCol) FocusCell(from.X + 1, FixedRows(), true);
            } else {
                SetRow(FixedRows());
            }
        }
    }
    if (FUseEnabledRows && FNavigation->SkipDisabledRows() && (key == VK_UP || key == VK_DOWN) && Row() == rowBefore) {
        if (key == VK_UP) {
            for (Integer r = Row() - 1; r >= FixedRows(); --r)
                if (GetRowEnabled(r)) {
                    SetRow(r);
                    break;
                }
        } else {
            for (Integer r = Row() + 1; r <= RowCount() - 1; ++r)
                if (GetRowEnabled(r)) {
                    SetRow(r);
                    break;
                }
        }
    }
    if (TStringGrid* g = FSyncGrid->Grid()) {
        if (FSyncGrid->SelectionColumn() && Col() < g->ColCount() && Col() >= g->FixedCols()) g->SetCol(Col());
        if (FSyncGrid->SelectionRow() && Row() < g->RowCount() && Row() >= g->FixedRows()) g->SetRow(Row());
    }
}

void TVodStringGrid::WMChar(TMessage& M)
{
    wchar_t ch = wchar_t(M.CharCode());
    const bool inGrid = Col() >= 0 && Row() >= 0 && Col() < ColCount() && Row() < RowCount();
    if (inGrid && CellHasControlMarkup(Col(), Row())) {
        M.Result = 1;
        return;
    }
    const Integer rc = inGrid ? RealColIndex(Col()) : -1;
    if (FMouseActions->EditOnDblClickOnly() && inGrid) {
        // Asked from true, as Enter and F2 ask it.
        bool canEdit = true;
        IsCellEditable(rc, Row(), canEdit);
        if (canEdit) {
            TGridOptions o = Options();
            o.Include(goEditing);
            SetOptions(o);
        }
    }
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    if (FNavigation->AllowClipboardShortCuts() && ctrl && (ch == 3 || ch == 22 || ch == 24)) {
        M.SetCharCode(0);
        return;
    }
    const bool click = inGrid && IsClickControlCell(rc, Row());
    if (FMouseActions->RangeSelectAndEdit() && inGrid && !click && IsEditable(rc, Row()) && ch != 9 && ch != 27 &&
        !ctrl) {
        if (OnKeyPress) OnKeyPress(this, ch);
        if (ch == 0) return;
        FStartEditChar = ch;
        TGridOptions o = Options();
        o.Include(goEditing);
        SetOptions(o);
        const bool inView = Col() >= LeftCol() && Col() < LeftCol() + VisibleColCount() && Row() >= TopRow() &&
                            Row() < TopRow() + VisibleRowCount();
        if (!inView) ScrollInView(Col(), Row(), spMiddle);
        if (ch != 13) {
            const TRect r = CellRect(Col(), Row());
            MouseDown(mbLeft, TShiftState(), r.Left + 2, r.Top + 2);
        }
        M.SetCharCode(Word(ch));
        TBaseGrid::WMChar(M);
        return;
    }
    if (ch == L'.' && (M.KeyData() & (1u << 22)) && FExcelStyleDecimalSeparator) ch = GridDecimalSeparator();
    bool ranPlatform = false;
    if (click && ch == 13 && FNavigation->AdvanceOnEnter()) {
        M.SetCharCode(Word(ch));
        TBaseGrid::WMChar(M);
        ranPlatform = true;
    }
    // Any printable character (and Backspace) starts an edit, in every
    // script.
    if (Options().Contains(goEditing) && ch != 9 && (ch == 8 || (ch >= 32 && ch != 127)) && inGrid) {
        if (OnKeyPress) OnKeyPress(this, ch);
        if (ch == 0) return;
        FStartEditChar = ch;
        if (!click) ShowEditorChar(ch);
        return;
    }
    // DEL is no printable character: it opens no editor.
    if (ch == 127 && Options().Contains(goEditing)) return;
    if (!ranPlatform && Focused()) {
        M.SetCharCode(Word(ch));
        TBaseGrid::WMChar(M);
    }
}

void TVodStringGrid::WMKeyUp(TMessage& M)
{
    const Word key = M.CharCode();
    TBaseGrid::WMKeyUp(M);
    if (FMouseActions->RangeSelectAndEdit() && !Options().Contains(goEditing) && (key == VK_RETURN || key == VK_F2) &&
        Col() >= 0 && Row() >= 0 && Col() < ColCount() && Row() < RowCount() && IsCellEditable(RealColIndex(Col()), Row())) {
        TGridOptions o = Options();
        o.Include(goEditing);
        SetOptions(o);
        ShowInplaceEdit();
    }
}

void TVodStringGrid::AutoAddRow()
{
    bool allow = true;
    CanAddRow(allow);
    if (!allow) return;
    if (FFloatingFooter->Visible() && RowCount() > 0) {
        std::vector<String> kept;
        const Integer all = TotalColCount();
        for (Integer c = 0; c < all; ++c) kept.push_back(GetGridCell(c, RowCount() - 1));
        AppendRow();
        ClearRows(RowCount() - 2, 1);
        for (Integer c = 0; c < all; ++c) SetGridCell(c, RowCount() - 1, kept[size_t(c)]);
    } else {
        AppendRow();
        ClearRows(RowCount() - 1, 1);
    }
    if (FFloatingFooter->Visible() || FFixedFooters > 0) {
        if (Row() + 1 < RowCount()) SetRow(Row() + 1);
    }
    if (FFloatingFooter->Visible()) CalcFooter(-1);
    if (OnAutoAddRow) OnAutoAddRow(this, RowCount() - FFixedFooters - 1);
}

// The clipboard keys: the selection's copy, cut and paste.
void TVodStringGrid::ClipboardCopyKey() { CopySelectionToClipboard(); }
void TVodStringGrid::ClipboardCutKey() { CutSelectionToClipboard(); }
void TVodStringGrid::ClipboardPasteKey() { PasteSelectionFromClipboard(); }
