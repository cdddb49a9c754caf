// The advance to the next cell after an edit, the grid's key press and key
// release, and what happens when the view scrolls.
#include <algorithm>
#include <cwctype>

#include "controls/grid/GridScrollControls.h"
#include "controls/grid/VodGrid.h"

namespace {
bool IsTextEditorType(TEditorType e)
{
    return e == edNormal || e == edCapital || e == edLowerCase || e == edUpperCase || e == edValidChars;
}

bool IsDefaultEditorType(TEditorType e)
{
    switch (e) {
    case edNormal: case edNumeric: case edPositiveNumeric: case edFloat: case edCapital: case edMixedCase:
    case edPassword: case edLowerCase: case edUpperCase: case edValidChars: case edPositiveFloat:
    case edNone: case edDataCheckBox:
        return true;
    default: return false;
    }
}
}  // namespace

TEditorType TVodStringGrid::KeyEditorType(Integer ACol, Integer ARow)
{
    TEditorType e = DefaultEditor();
    if (OnGetEditorType) OnGetEditorType(this, ACol, ARow, e);
    return e;
}

bool TVodStringGrid::SpecialEditorShown()
{
    // A special editor is one shown by the editor choice in place of the
    // default text editor (a data check box shows none).
    return EditMode && FSpecialEditor && EditControl != edDataCheckBox;
}

void TVodStringGrid::AdvanceToNextCell(Integer ACol, Integer ARow, bool Edit, bool Repeated, bool Forward,
                                       bool AutoEdit, bool Force)
{
    if (!FNavigation->AdvanceOnEnter() && !Force) return;
    if (FMouseActions->RangeSelectAndEdit() && !Options().Contains(goEditing)) {
        TGridOptions o = Options();
        o.Include(goEditing);
        SetOptions(o);
    }
    if (!Repeated) {
        FAECol = ACol;
        FAERow = ARow;
    }
    const TAdvanceDirection dir = FNavigation->AdvanceDirection();
    const Integer firstCol = FirstNavigableCol();
    const Integer C0 = Col(), R0 = Row();
    FStartEditChar = 0;
    // Skipping read-only cells repeats the advance from each target; the
    // run ends when it comes back to its start cell, and never walks more
    // cells than the grid has.
    const Int64 limit = Int64(ColCount()) * Int64(RowCount()) + 2;
    for (Int64 round = 0;; ++round, Repeated = true) {
        if (Repeated && ((ACol == FAECol && ARow == FAERow) || round > limit)) return;
        const Integer lastRow = RowCount() - FFixedFooters - 1;
        const Integer lastCol = ColCount() - FFixedRightCols - 1;
        const TPoint S{std::max(0, CellSpan(ACol, ARow).X), std::max(0, CellSpan(ACol, ARow).Y)};
        if (Forward && (dir == adLeftRight || dir == adLeftRightInRow)) {
            if (ACol + S.X < ColCount() - VisibleFixedRightCols() - 1) {
                ACol += S.X + 1;
            } else if (dir == adLeftRightInRow) {
                if (!FNavigation->AdvanceOnEnterLoop()) return;
                ACol = firstCol;
            } else if (ARow >= lastRow) {
                if (FNavigation->AdvanceInsert()) {
                    bool allow = true;
                    CanAddRow(allow);
                    ACol = firstCol;
                    if (allow) {
                        AddRow();
                        ARow = RowCount() - FFixedFooters - 1;
                        if (OnAutoAddRow) OnAutoAddRow(this, ARow);
                        bool any = false;
                        for (Integer c = 0; c < ColCount() && !any; ++c) any = IsEditable(RealColIndex(c), ARow);
                        if (!any) return;
                    }
                } else if (FNavigation->AdvanceOnEnterLoop()) {
                    ARow = FixedRows();
                    ACol = firstCol;
                } else {
                    return;
                }
            } else {
                ++ARow;
                ACol = firstCol;
            }
        } else if (Forward) {
            if (ARow < lastRow) {
                ++ARow;
            } else if (dir == adTopBottomInCol) {
                bool allow = FNavigation->AdvanceInsert();
                if (allow) CanAddRow(allow);
                if (allow) {
                    AddRow();
                    ARow = RowCount() - FFixedFooters - 1;
                    if (OnAutoAddRow) OnAutoAddRow(this, ARow);
                } else if (FNavigation->AdvanceOnEnterLoop()) {
                    ARow = FixedRows();
                } else {
                    return;
                }
            } else if (ACol >= lastCol) {
                if (FNavigation->AdvanceInsert()) {
                    bool allow = true;
                    CanAddCol(allow);
                    if (!allow) return;
                    SetColCount(ColCount() + 1);
                    ACol += S.X + 1;
                    ARow = FixedRows();
                    if (OnAutoInsertCol) OnAutoInsertCol(this, ColCount() - FFixedRightCols - 1);
                } else if (FNavigation->AdvanceOnEnterLoop()) {
                    ARow = FixedRows();
                    ACol = firstCol;
                } else {
                    return;
                }
            } else {
                ARow = FixedRows();
                ++ACol;
                if (ACol > lastCol) ACol = firstCol;
            }
            Invalidate();
        } else if (dir == adLeftRight) {
            if (ACol > firstCol) {
                --ACol;
            } else {
                ARow = ARow <= FixedRows() ? lastRow : ARow - 1;
                ACol = lastCol;
            }
        } else if (dir == adTopBottom) {
            if (ARow > FixedRows()) {
                --ARow;
            } else {
                ACol = ACol <= firstCol ? lastCol : ACol - 1;
                ARow = lastRow;
            }
        } else {
            // The in-row and in-column directions do not move backwards.
            return;
        }
        if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount()) return;
        // Over hidden and zero-width columns.
        {
            const Integer c = Col();
            if (ACol != c) ACol = NextVisibleCol(ACol);
        }
        Integer R = RealColIndex(ACol);
        bool allow = !KeyFixedCell(ACol, ARow);
        IsCellEditable(R, ARow, allow);
        if (!allow) {
            if (!FNavigation->AdvanceOnEnterLoop()) {
                const TPoint p = NextAdvanceCell(ACol, ARow);
                if (p.X == -1 && p.Y == -1) return;
                // The next advance cell found is where the move goes.
                ACol = p.X;
                ARow = p.Y;
                R = RealColIndex(ACol);
            } else if (FNavigation->AdvanceSkipReadOnlyCells()) {
                continue;
            }
        }
        bool allow2 = true;
        Integer nc = ACol, nr = ARow;
        if (OnAutoAdvance) OnAutoAdvance(this, C0, R0, allow2, nc, nr);
        if (nc >= 0 && nr >= 0 && nc < ColCount() && nr < RowCount()) {
            ACol = nc;
            ARow = nr;
            R = RealColIndex(ACol);
        } else {
            allow2 = false;
        }
        if (allow2 && OnCellChanging) OnCellChanging(this, R0, C0, ARow, ACol, allow2);
        FDisableChange = true;
        try {
            if (allow2) {
                FocusCell(ACol, ARow, true);
            } else {
                SelectCell(C0, R0);
            }
        } catch (...) {
            FDisableChange = false;
            throw;
        }
        FDisableChange = false;
        if (!allow2) return;
        break;
    }
    if (!Edit) return;
    if (TControl* ctl = CellControls(RealColIndex(Col()), Row())) {
        if (auto* wc = dynamic_cast<TWinControl*>(ctl); wc && wc->CanFocus()) {
            wc->SetFocus();
            FocusCell(C0, R0, true);
            return;
        }
    }
    const bool click = IsClickControlCell(RealColIndex(Col()), Row());
    if ((AutoEdit && FNavigation->AdvanceAutoEdit()) || click) {
        if (!IsEditable(RealColIndex(Col()), Row())) return;
        if (click) {
            const Integer tc = Col(), tr = Row();
            FDisableChange = true;
            FocusCell(C0, R0, true);
            FocusCell(tc, tr, true);
            FDisableChange = false;
            if (!IsClickControlCell(RealColIndex(C0), R0)) SimulateCellClick(tc, tr);
            if (dir != adLeftRight) HideInplaceEdit();
        } else {
            ShowInplaceEdit();
        }
        if (!IsDefaultEditorType(KeyEditorType(RealColIndex(C0), R0))) HideInplaceEdit();
    }
    if (FMouseActions->DisjunctRowSelect()) {
        ResetRowSelection();
        SetRowSelect(Row(), true);
    }
}

bool TVodStringGrid::IncrementalSearch(const String& Text)
{
    // The upper-cased text down the search column.
    const Integer r = Search(AnsiUpperCase(Text));
    if (r < 0) return false;
    if (r != Row()) SetRow(r);
    return true;
}

void TVodStringGrid::KeyPress(wchar_t& Key)
{
    auto fire = [&] {
        if (OnKeyPress) OnKeyPress(this, Key);
    };
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    if (Key == 27) {
        // The value from before the edit comes back, also when typed text
        // was already copied into the cell.
        if (Options().Contains(goEditing) && (EditMode || EditorMode())) RestoreCellValue();
        fire();
        return;
    }
    if (Key == 13) {
        const bool special = SpecialEditorShown();
        if (!special && !FNavigation->AdvanceOnEnter() && !IsEditable(RealColIndex(Col()), Row())) {
            fire();
            Key = 0;
            return;
        }
        if (RowCount() == FFixedRowsMin && FNavigation->AdvanceOnEnter()) {
            fire();
            if (FNavigation->AdvanceInsert()) {
                AddRow();
                ClearRows(RowCount() - 1, 1);
            }
            Key = 0;
            return;
        }
        const bool click = IsClickControlCell(RealColIndex(Col()), Row());
        if (!Focused() || click) {
            if (CanFocus()) SetFocus();
            AdvanceToNextCell(Col(), Row(), special, false, !shift, false, false);
            if (FNavigation->AdvanceOnEnter() && !FNavigation->AdvanceAutoEdit()) {
                fire();
                Key = 0;
            } else if (click) {
                fire();
                if (FNavigation->AdvanceOnEnter()) ShowInplaceEdit();
            }
            Key = 0;
            return;
        }
    }
    if (!Options().Contains(goEditing) && FNavigation->AutoGotoWhenSorted() && Key != 13) {
        if (FNavigation->AutoGotoIncremental()) {
            if (Key == 8) {
                if (!SearchInc.empty()) SearchInc.pop_back();
            } else {
                SearchInc.push_back(Key);
            }
            SearchTics = 0;
        } else {
            SearchInc = String(1, Key);
        }
        if (!IncrementalSearch(SearchInc)) SearchInc.clear();
    }
    TBaseGrid::KeyPress(Key);
}

void TVodStringGrid::KeyUp(Word& Key, TShiftState Shift)
{
    if ((Key >= 33 && Key <= 35) || (Key >= 37 && Key <= 40) || Key == 45 || Key == 46) SearchInc.clear();
    const TGridRect before = Selection();
    const Word key = Key;
    TBaseGrid::KeyUp(Key, Shift);
    const bool arrow = key >= VK_LEFT && key <= VK_DOWN;
    if (FNavigation->AlwaysEdit()) {
        bool allow = true;
        IsCellEditable(RealColIndex(Col()), Row(), allow);
        if ((arrow || (key == VK_TAB && Options().Contains(goTabs))) && allow &&
            !IsClickControlCell(RealColIndex(Col()), Row()))
            ShowInplaceEdit();
    }
    const TGridRect now = Selection();
    if (!(now == FMoveSelection) && (arrow || key == VK_TAB)) {
        FMoveSelection = now;
        SelectionChanged(now.Left, now.Top, now.Right, now.Bottom);
    }
    const bool editing = Options().Contains(goEditing);
    if (FMouseActions->DisjunctCellSelect() && Shift.Contains(ssShift) && !editing) {
        for (Integer c = before.Left; c <= before.Right; ++c)
            for (Integer r = before.Top; r <= before.Bottom; ++r)
                if (SelectedCells(c, r)) SetSelectedCells(c, r, false);
        for (Integer c = now.Left; c <= now.Right; ++c)
            for (Integer r = now.Top; r <= now.Bottom; ++r)
                if (!(c == Col() && r == Row())) SetSelectedCells(c, r, true);
    }
    if (FMouseActions->DisjunctCellSelect() && key == VK_SPACE && !editing) {
        const TPoint b = BaseCell(Col(), Row());
        if (!KeyFixedCell(b.X, b.Y)) {
            bool allow = true;
            if (OnSelectCell) OnSelectCell(this, b.X, b.Y, allow);
            if (allow) {
                if (Shift.Contains(ssCtrl)) {
                    SetSelectedCells(b.X, b.Y, !SelectedCells(b.X, b.Y));
                } else {
                    for (Integer i = 0; i < SelectedCellsCount(); ++i) {
                        const TGridCoord g = GetSelectedCell(i);
                        RepaintCell(g.X, g.Y);
                    }
                    ClearSelectedCells();
                    SetSelectedCells(b.X, b.Y, true);
                }
                if (now.Right > now.Left || now.Bottom > now.Top) {
                    for (Integer c = now.Left; c <= now.Right; ++c)
                        for (Integer r = now.Top; r <= now.Bottom; ++r)
                            if (!(c == b.X && r == b.Y)) {
                                SetSelectedCells(c, r, true);
                                RepaintCell(c, r);
                            }
                }
            }
        }
        RepaintCell(Col(), Row());
    }
}

void TVodStringGrid::TopLeftChanged()
{
    TBaseGrid::TopLeftChanged();
    if (FBackGround->Bitmap() && !FBackGround->Bitmap()->Empty() &&
        (FBackGround->Display() == bdFixed || FBackGround->Display() == bdTile))
        Invalidate();
    else if ((FBackGround->Display() == bdGradientHorz || FBackGround->Display() == bdGradientVert) &&
             FBackGround->ColorTo() != clNone)
        Invalidate();
    // A special editor closes when the view scrolls; the text editor stays.
    if (EditorMode() && !IsTextEditorType(KeyEditorType(RealColIndex(Col()), Row()))) HideInplaceEdit();
    // (The flat scroll bars follow in the scroll messages' own handling.)
    UpdateFooter();
    CellControlsUpdate(false);
    FViewLeftCol = LeftCol();
    FViewTopRow = TopRow();
    if (ComponentState().Contains(csDesigning)) Invalidate();
    if (TStringGrid* g = FSyncGrid->Grid(); g && !FSyncing) {
        FSyncing = true;
        try {
            if (FSyncGrid->ScrollVertical() && g->TopRow() != TopRow() && TopRow() < g->RowCount()) g->SetTopRow(TopRow());
            if (FSyncGrid->ScrollHorizontal() && g->LeftCol() != LeftCol() && LeftCol() < g->ColCount())
                g->SetLeftCol(LeftCol());
        } catch (...) {
            FSyncing = false;
            throw;
        }
        FSyncing = false;
    }
    if (FFocusHelper && FFocusHelper->Enabled() && EditorMode()) MoveFocusWindow();
    UpdateScrollControls();
}
