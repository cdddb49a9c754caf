// Cell-to-cell moves of the keyboard over merged, hidden and fixed cells:
// which cells a move may stop on, the step targets, Home and End, the next
// advance cell and the Tab move.
#include <algorithm>

#include "controls/grid/VodGrid.h"

namespace {
TShiftState TabShift(bool Shift)
{
    TShiftState s;
    if (Shift) s.Include(ssShift);
    return s;
}
}  // namespace

// A cell a keyboard move never stops on: the grid's own fixed rows and
// columns, the fixed right columns and footer rows, and the cells the
// application declares fixed.
bool TVodStringGrid::KeyFixedCell(Integer ACol, Integer ARow)
{
    if (ACol < FixedCols() || ARow < FixedRows()) return true;
    if (ACol >= ColCount() - FFixedRightCols || ARow >= RowCount() - FFixedFooters) return true;
    if (IsFixed(ACol, ARow)) return true;
    bool fixed = false;
    IsFixedCell(ACol, ARow, fixed);
    return fixed;
}

bool TVodStringGrid::IsNavigableCell(Integer ACol, Integer ARow)
{
    // Editing counts as on also where the grid switched it off for a
    // read-only current cell.
    const bool editing = Options().Contains(goEditing) || FEditDisable;
    bool can = editing ? IsEditable(DisplToRealColumn(ACol), ARow) && !KeyFixedCell(ACol, ARow) : !KeyFixedCell(ACol, ARow);
    if (OnSelectCell) OnSelectCell(this, ACol, ARow, can);
    return can;
}

Integer TVodStringGrid::FirstNavigableCol()
{
    if (FixedCols() == 0 && HasNodes()) return 1;
    return FixedCols();
}

Integer TVodStringGrid::VisibleFixedRightCols() const
{
    if (FNumHidden == 0) return FFixedRightCols;
    const Integer h = FNumHidden;
    Integer n = 0;
    for (Integer c = ColCount() + h - 1; c >= ColCount() + h - FFixedRightCols && c >= 0; --c)
        if (!IsHiddenColumn(c)) ++n;
    return n;
}

Integer TVodStringGrid::FirstCellInRow(Integer ARow)
{
    // From the first navigable column on: Home and Tab never land on the
    // node column.
    for (Integer c = std::max(0, FirstNavigableCol()); c < ColCount(); ++c)
        if (IsNavigableCell(c, ARow)) return c;
    return -1;
}

Integer TVodStringGrid::LastCellInRow(Integer ARow)
{
    for (Integer c = ColCount() - 1; c >= 0; --c)
        if (IsNavigableCell(c, ARow)) return c;
    return -1;
}

Integer TVodStringGrid::NextVisibleCol(Integer ACol)
{
    ACol = std::clamp(ACol, FixedCols(), std::max(FixedCols(), ColCount() - 1));
    const Integer bound = ColCount() - FFixedRightCols;
    Integer c = ACol;
    if (Col() < ACol) {
        if (IsMergedCell(ACol, Row())) c = ACol + CellSpan(ACol, Row()).X;
        while (c < bound && ColWidths(c) == 0) ++c;
        if (c >= bound) return ACol;
        return c;
    }
    if (IsMergedCell(ACol, Row())) c = ACol - CellSpan(ACol, Row()).X;
    while (c >= FixedCols() && c < ColCount() && ColWidths(c) == 0) --c;
    if (c < FixedCols()) return ACol;
    return c;
}

Integer TVodStringGrid::NextVisibleRow(Integer ARow)
{
    ARow = std::clamp(ARow, FixedRows(), std::max(FixedRows(), RowCount() - 1));
    const Integer bound = RowCount() - FFixedFooters;
    Integer r = ARow;
    if (Row() < ARow) {
        if (IsMergedCell(Col(), ARow)) r = ARow + CellSpan(Col(), ARow).Y;
        while (r < bound && RowHeights(r) == 0) ++r;
        if (r >= bound) return ARow;
        return r;
    }
    if (IsMergedCell(Col(), ARow)) r = ARow - CellSpan(Col(), ARow).Y;
    while (r >= FixedRows() && r < RowCount() && RowHeights(r) == 0) --r;
    if (r < FixedRows()) return ARow;
    return r;
}

Integer TVodStringGrid::FirstVisibleRow()
{
    if (FixedRows() >= RowCount() || RowHeights(FixedRows()) > 0) return FixedRows();
    SetRow(FixedRows());
    return NextVisibleRow(FixedRows() + 1);
}

Integer TVodStringGrid::FirstVisibleCol()
{
    if (FixedCols() >= ColCount() || ColWidths(FixedCols()) > 0) return FixedCols();
    SetCol(FixedCols());
    return NextVisibleCol(FixedCols() + 1);
}

Integer TVodStringGrid::LastVisibleRow()
{
    const Integer last = RowCount() - FFixedFooters - 1;
    if (last < FixedRows() || RowHeights(last) > 0) return last;
    SetRow(last);
    return NextVisibleRow(last - 1);
}

Integer TVodStringGrid::LastVisibleCol()
{
    const Integer last = ColCount() - FFixedRightCols - 1;
    if (last < FixedCols() || ColWidths(last) > 0) return last;
    SetCol(last);
    return NextVisibleCol(last - 1);
}

TPoint TVodStringGrid::NextAdvanceCell(Integer ACol, Integer ARow)
{
    const Integer lastRow = RowCount() - FFixedFooters - 1;
    const Integer lastCol = ColCount() - FFixedRightCols - 1;
    const TAdvanceDirection dir = FNavigation->AdvanceDirection();
    // Every cell is visited at most once: the walk ends at the grid's last
    // cell or when a direction that does not wrap reaches its end.
    if (dir == adTopBottom || dir == adTopBottomInCol) {
        for (;;) {
            if (ACol == lastCol && ARow >= lastRow) break;
            if (ARow < lastRow)
                ++ARow;
            else if (dir == adTopBottom) {
                ++ACol;
                ARow = FixedRows();
            } else
                break;
            if (ACol > lastCol) break;
            if (IsNavigableCell(ACol, ARow)) return TPoint{ACol, ARow};
        }
        return TPoint{-1, -1};
    }
    for (;;) {
        if (ACol >= lastCol && ARow == lastRow) break;
        if (ACol < lastCol)
            ++ACol;
        else if (dir == adLeftRight) {
            ACol = FixedCols();
            ++ARow;
        } else
            break;
        if (ARow > lastRow) break;
        if (IsNavigableCell(ACol, ARow)) return TPoint{ACol, ARow};
    }
    return TPoint{-1, -1};
}

bool TVodStringGrid::IsOnLastDataRow()
{
    return RowCount() - FFixedFooters == Row() + 1 || (RowCount() == Row() + 2 && FFloatingFooter->Visible());
}

void TVodStringGrid::ApplyTabTarget(Integer ACol, Integer ARow)
{
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount()) return;
    if (FIsDBVersion) {
        SetRow(ARow);
        SetCol(ACol);
    } else {
        SetSelection(TGridRect{ACol, ARow, ACol, ARow});
    }
}

bool TVodStringGrid::ChangingAllowed(Integer NewCol, Integer NewRow)
{
    // One answer shared by the three events, asked in this order.
    bool allow = true;
    if (OnRowChanging) OnRowChanging(this, Row(), NewRow, allow);
    if (OnCellChanging) OnCellChanging(this, Row(), Col(), NewRow, NewCol, allow);
    if (OnColChanging) OnColChanging(this, Col(), NewCol, allow);
    return allow && AllowColChange();
}

// One Tab move, steps 4 to 8; Left tells whether the Tab left the grid.
void TVodStringGrid::TabStep(bool Shift, bool& Left)
{
    const Integer lastRow = RowCount() - FFixedFooters - 1;
    auto leave = [&] {
        if (Parent() && FNavigation->TabToNextAtEnd()) {
            if (Parent()->HandleAllocated()) PostMessage(Parent()->Handle(), WM_KEYDOWN, VK_TAB, 0);
            Left = true;
        }
    };
    const bool rowOrder = FNavigation->TabAdvanceDirection() == adLeftRight;
    if (Shift && !rowOrder) {
        if (Row() > FixedRows())
            SetRow(Row() - 1);
        else {
            SetRow(lastRow);
            if (Col() > FirstNavigableCol())
                SetCol(Col() - 1);
            else
                SetCol(ColCount() - VisibleFixedRightCols() - 1);
        }
        return;
    }
    if (Shift) {
        if (Col() > FirstNavigableCol()) {
            Integer c = Col() - 1;
            while (c >= FirstNavigableCol() && !(IsNavigableCell(c, Row()) && IsBaseCell(c, Row()))) --c;
            if (c >= FirstNavigableCol()) {
                SetCol(c);
            } else {
                Integer tc, tr;
                if (Row() > FixedRows()) {
                    tr = Row() - 1;
                    tc = LastCellInRow(tr);
                    if (tc != -1) ApplyTabTarget(tc, tr);
                } else {
                    tr = lastRow;
                    tc = LastCellInRow(tr);
                    if (tc != -1) {
                        ApplyTabTarget(tc, tr);
                        ScrollInView(Col(), Row(), spMiddle);
                    }
                }
            }
            if (!IsBaseCell(Col(), Row())) MoveToBaseCell();
        } else {
            Integer c = -1;
            for (Integer a = 1;; ++a) {
                const Integer t = ColCount() - VisibleFixedRightCols() - a;
                if (t < FixedCols()) break;
                if (IsNavigableCell(t, Row())) {
                    c = t;
                    break;
                }
            }
            if (c >= 0) SetCol(c);
            SetRow(Row() > FixedRows() ? Row() - 1 : lastRow);
        }
        return;
    }
    if (!rowOrder) {
        const Integer s = std::max(0, CellSpan(Col(), Row()).Y);
        if (Row() + s + 1 < RowCount() - FFixedFooters) {
            SetRow(Row() + s + 1);
        } else {
            MoveToFirstRow();
            if (Col() < ColCount() - VisibleFixedRightCols() - 1)
                SetCol(Col() + 1);
            else {
                SetCol(FirstNavigableCol());
                leave();
            }
        }
        return;
    }
    const Integer s = std::max(0, CellSpan(Col(), Row()).X);
    const Integer R = ColCount() - VisibleFixedRightCols();
    if (Col() + s + 1 < R) {
        Integer b = 1;
        while (Col() + s + b < R && !IsNavigableCell(Col() + s + b, Row())) ++b;
        if (Col() + s + b >= R) {
            FForceSel = true;
            if (Row() < lastRow) {
                const Integer tc = FirstCellInRow(Row() + 1);
                if (ChangingAllowed(tc, Row() + 1)) {
                    const Integer c = tc == -1 ? FixedCols() : tc;
                    FocusCell(c, Row() + 1, true);
                }
            } else {
                const Integer tc = FirstCellInRow(FixedRows());
                if (tc != -1) ApplyTabTarget(tc, FixedRows());
                leave();
            }
            FForceSel = false;
        } else {
            SetCol(Col() + s + b);
        }
        return;
    }
    if (Row() >= lastRow) {
        if (FNavigation->TabToNextAtEnd() || !FNavigation->AdvanceInsert()) {
            MoveToFirstRow();
        } else {
            bool allow = true;
            CanAddRow(allow);
            if (allow) {
                if (FFloatingFooter->Visible()) {
                    InsertRows(RowCount() - 1, 1);
                    SetRow(RowCount() - 2);
                } else {
                    SetRowCount(RowCount() + 1);
                    SetRow(RowCount() - 1 - FFixedFooters);
                }
                if (OnAutoAddRow) OnAutoAddRow(this, RowCount() - FFixedFooters - 1);
            } else {
                MoveToFirstRow();
            }
        }
        const Integer fc = FirstCellInRow(Row());
        if (fc != -1) SetCol(fc);
        leave();
        return;
    }
    Integer d = FirstNavigableCol();
    while (d < ColCount() && !(IsBaseCell(d, Row() + 1) && IsNavigableCell(d, Row() + 1))) ++d;
    if (d >= ColCount()) {
        for (Integer r = Row() + 2; r <= lastRow; ++r) {
            const Integer fc = FirstCellInRow(r);
            if (fc != -1) {
                SetRow(r);
                SetCol(fc);
                return;
            }
        }
        // No navigable cell below: the move does not advance.
        return;
    }
    if (ChangingAllowed(FixedCols(), Row() + 1)) {
        FForceSel = true;
        FocusCell(d, Row() + 1, true);
        FForceSel = false;
    }
}

bool TVodStringGrid::HandleTabKey(bool Shift)
{
    if (FNavigation->AlwaysEdit()) HideInplaceEdit();
    if (OnKeyDown) {
        Word key = VK_TAB;
        OnKeyDown(this, key, TabShift(Shift));
        if (key != VK_TAB) return true;
    }
    if (Col() == FLastTabCol && Row() == FLastTabRow) return true;
    if (Col() < 0 || Row() < 0 || Col() >= ColCount() || Row() >= RowCount()) return true;
    FLastTabCol = Col();
    FLastTabRow = Row();
    const TPoint start{Col(), Row()};
    // A read-only cell reached on the way switches goEditing off (the grid
    // remembers it in FEditDisable): editing is as it was at the start.
    const bool editing = Options().Contains(goEditing) || FEditDisable;
    bool result = true;
    bool repeated = false;
    // The moves repeat while they land on a cell that is not a base cell or
    // cannot be edited; each repeat starts from where the last one ended, and
    // the walk stops when it comes back to its start or stops advancing (no
    // cell to stop on: the current cell stays where it was).
    const Int64 limit = Int64(ColCount()) * Int64(RowCount()) + 2;
    for (Int64 n = 0;; ++n) {
        const TPoint before{Col(), Row()};
        bool left = false;
        TabStep(Shift, left);
        if (left) result = false;
        const TPoint now{Col(), Row()};
        const bool stuck = now == before || n >= limit;
        const bool notBase = !IsBaseCell(now.X, now.Y);
        const bool notEditable = editing && !IsEditable(DisplToRealColumn(now.X), now.Y);
        if (!notBase && !notEditable) break;
        if (stuck || (now.X == start.X && now.Y == start.Y)) {
            if (!(now.X == start.X && now.Y == start.Y)) {
                SetRow(start.Y);
                SetCol(start.X);
            }
            break;
        }
        repeated = true;
    }
    if (!repeated && FNavigation->AdvanceAutoEdit() && !IsClickControlCell(DisplToRealColumn(Col()), Row()))
        SimulateCellClick(Col(), Row());
    if (IsMergedCell(FLastTabCol, FLastTabRow)) RepaintCell(FLastTabCol, FLastTabRow);
    FLastTabCol = -1;
    FLastTabRow = -1;
    if (FNavigation->AlwaysEdit() && CanFocus()) SetFocus();
    if (FMouseActions->DisjunctRowSelect()) {
        ResetRowSelection();
        if (Row() >= 0 && Row() < RowCount()) SetRowSelect(Row(), true);
    }
    return result;
}
