// Inserting, removing and moving rows. The companions of the rows move with
// them: heights, property blocks (with everything inside them), the hidden
// rows' numbers, the cell controls, the per-row lists of modified rows,
// enabled rows and the disjunct row selection, the focused cell and the top
// row, and the footer rows.
//
// Rows move as whole records of the store, in one pass over the row table
// however many rows come or go: removing a run of rows from the middle costs
// what moving the rows after it costs, never rows times count. A property
// block has one owner at any time; rows that leave the grid for good free
// their blocks, rows that are only moved keep them.
#include <algorithm>
#include <unordered_set>

#include "controls/grid/VodGrid.h"
#include "platform/base/SysUtils.h"

namespace {

// An update bracket that is closed also when an exception leaves the scope.
class TUpdateScope {
public:
    explicit TUpdateScope(TVodStringGrid* G) : FGrid(G) { G->BeginUpdate(); }
    ~TUpdateScope() { FGrid->EndUpdate(); }
    TUpdateScope(const TUpdateScope&) = delete;
    TUpdateScope& operator=(const TUpdateScope&) = delete;

private:
    TVodStringGrid* FGrid;
};

}  // namespace

// ---------------------------------------------------------------------------
// Helpers

bool TVodStringGrid::FooterRowShown() const { return FloatingFooter() && FloatingFooter()->Visible(); }

Integer TVodStringGrid::FooterRows() const { return FixedFooters(); }

void TVodStringGrid::MoveControlRows(Integer FromRow, Integer Delta)
{
    for (Integer i = 0; i < FControlList->Count(); ++i) {
        TControlItem* c = FControlList->GetControl(i);
        if (c->Y() >= FromRow) c->SetY(c->Y() + Delta);
    }
}

void TVodStringGrid::DiscardRows(Integer RowIndex, Integer RCount)
{
    std::vector<Integer> rows;
    for (Integer r = std::max(RowIndex, 0); r < RowIndex + RCount; ++r) rows.push_back(r);
    DiscardRowList(rows);
}

void TVodStringGrid::DiscardRowList(const std::vector<Integer>& Rows)
{
    TStringGridRow row;
    for (Integer r : Rows) {
        if (r < 0) continue;
        DetachStoreRow(r, 0, &row);
        for (Integer c = 0; c < row.Count(); ++c)
            if (auto* p = dynamic_cast<TCellProperties*>(row.Objects(c))) DisposeCellBlock(p);
        row.Clear();
    }
}

// ---------------------------------------------------------------------------
// The two internal routines

void TVodStringGrid::DoInsertRows(Integer RowIndex, Integer RCount, bool UpdateCellControls)
{
    if (RCount <= 0) return;
    // An index past the grid appends.
    RowIndex = std::clamp(RowIndex, 0, RowCount());
    const Integer leftCol = LeftCol();
    const Integer oldCount = RowCount();
    // The footer row stays the last row: it is set aside while the rows
    // move, whatever the count's setter does with the last row meanwhile.
    const bool footer = FooterRowShown() && RowIndex < oldCount;
    TStringGridRow footerRow;
    Integer footerHeight = 0;
    if (footer) {
        footerHeight = RowHeights(oldCount - 1);
        DetachStoreRow(oldCount - 1, TotalColCount(), &footerRow);
    }
    SetRowCount(oldCount + RCount);
    // The rows from RowIndex move down, with their heights; the new rows
    // come in empty, at the default height.
    InsertStoreRows(RowIndex, RCount);
    FRows.InsertLines(RowIndex, RCount);
    if (footer) {
        AttachStoreRow(RowCount() - 1, &footerRow);
        SetRowHeights(RowCount() - 1, footerHeight);
    }
    if (Navigation()->KeepHorizScroll()) SetLeftCol(leftCol);
    if (ShowModified()->Enabled() && RowIndex < FModifiedRows->Count())
        for (Integer i = 0; i < RCount; ++i) FModifiedRows->Insert(RowIndex, 0);
    if (FUseEnabledRows && RowIndex < FEnabledRows->Count())
        for (Integer i = 0; i < RCount; ++i) FEnabledRows->Insert(RowIndex, 0);
    if (MouseActions()->DisjunctRowSelect() && RowIndex < FRowSelect->Count())
        for (Integer i = 0; i < RCount; ++i) FRowSelect->Insert(RowIndex, nullptr);
    if (UpdateCellControls && FControlList->Count() > 0) {
        MoveControlRows(RealRowIndex(RowIndex), RCount);
        CellControlsUpdate(false);
    }
    Invalidate();
    if (!ComponentState().Contains(csDestroying)) CellsChanged(TRect{0, RowIndex, ColCount() - 1, RowIndex + RCount});
}

bool TVodStringGrid::DoDeleteRows(Integer RowIndex, Integer RCount, bool UpdateCellControls)
{
    if (RowIndex < 0 || RowIndex >= RowCount() || RCount <= 0) return false;
    RCount = std::min(RCount, RowCount() - RowIndex);
    const Integer focused = Row(), top = TopRow();
    const Integer lastData = RowCount() - 1 - FooterRows();
    if (focused == lastData && OnRowChanging) {
        bool allow = true;
        OnRowChanging(this, focused, focused - RCount, allow);
        if (!allow) return false;
    }
    if (UpdateCellControls) {
        for (Integer i = FControlList->Count() - 1; i >= 0; --i) {
            TControlItem* c = FControlList->GetControl(i);
            if (c->Y() >= RowIndex && c->Y() < RowIndex + RCount) {
                c->Control()->SetVisible(false);
                FControlList->RemoveControl(i);
            }
        }
    }
    TUpdateScope update(this);
    const bool rowSel = Options().Contains(goRowSelect);
    if (rowSel && RowCount() - FixedRows() > 1) SetOptions(Options() - TGridOptions{goRowSelect});
    if (HasNodes() && focused < RowCount()) FocusCell(FixedCols(), focused, true);
    if (UpdateCellControls && NumHiddenRows() > 0) {
        const Integer real = RealRowIndex(RowIndex);
        for (Integer i = 0; i < FGridItems->Count(); ++i)
            if (GridItem(i)->Idx() > real) GridItem(i)->SetIdx(GridItem(i)->Idx() - RCount);
        DropHiddenRowLookup();
    }
    // The rows leave in one move; blocks still in them go with them.
    DiscardRows(RowIndex, RCount);
    DeleteStoreRows(RowIndex, RCount);
    FRows.DeleteLines(RowIndex, RCount);
    SetRowCountInPlace(RowCount() - RCount);
    if (focused < RowCount() - FooterRows()) {
        FocusCell(Col(), focused, true);
        SetTopRow(top);
    } else if (RowCount() - FooterRows() > FixedRows()) {
        FocusCell(Col(), RowCount() - 1 - FooterRows(), true);
    }
    if (rowSel) SetOptions(Options() + TGridOptions{goRowSelect});
    if (FControlList->Count() > 0) CellControlsUpdate(false);
    Invalidate();
    CellsChanged(TRect{0, RowIndex, ColCount() - 1, RowIndex + RCount});
    return true;
}

// ---------------------------------------------------------------------------
// Inserting

void TVodStringGrid::InsertRows(Integer RowIndex, Integer RCount, bool UpdateCellControls)
{
    DoInsertRows(RowIndex, RCount, UpdateCellControls);
}

void TVodStringGrid::AddRow()
{
    if (FooterRowShown()) {
        // The new row comes above the footer row.
        InsertRows(RowCount() - 1, 1, true);
        if (FloatingFooter()->FooterStyle() == fsFixedLastRow) ClearRows(RowCount() - 2, 1);
    } else {
        InsertRows(RowCount(), 1, true);
        ClearRows(RowCount() - 1, 1);
    }
}

void TVodStringGrid::AppendRow() { SetRowCount(RowCount() + 1); }

// ---------------------------------------------------------------------------
// Removing

void TVodStringGrid::RemoveRows(Integer RowIndex, Integer RCount)
{
    if (RowIndex < 0 || RowIndex >= RowCount() || RCount <= 0) return;
    // Only rows that exist are removed.
    RCount = std::min(RCount, RowCount() - RowIndex);
    if (FControlList->Count() > 0) MoveControlRows(RealRowIndex(RowIndex + RCount), -RCount);
    if (RowCount() > FixedRows() && ColCount() > FixedCols())
        SelectCell(std::clamp(Col(), FixedCols(), ColCount() - 1), std::clamp(Row(), FixedRows(), RowCount() - 1));
    TUpdateScope update(this);
    const Integer top = TopRow(), focused = Row();
    if (NumHiddenRows() > 0) {
        const Integer real = RealRowIndex(RowIndex);
        for (Integer i = 0; i < FGridItems->Count(); ++i)
            if (GridItem(i)->Idx() > real) GridItem(i)->SetIdx(GridItem(i)->Idx() - RCount);
        DropHiddenRowLookup();
    }
    for (Integer i = 0; i < RCount; ++i) {
        if (ShowModified()->Enabled() && RowIndex < FModifiedRows->Count()) FModifiedRows->Delete(RowIndex);
        if (FUseEnabledRows && RowIndex < FEnabledRows->Count()) FEnabledRows->Delete(RowIndex);
        if (MouseActions()->DisjunctRowSelect() && RowIndex < FRowSelect->Count()) {
            SetRowSelect(RowIndex, false);
            FRowSelect->Delete(RowIndex);
        }
    }
    const Integer oldCount = RowCount();
    // The removed rows free their blocks; the rows below move up with
    // theirs and with their heights, in one move.
    DiscardRows(RowIndex, RCount);
    DeleteStoreRows(RowIndex, RCount);
    FRows.DeleteLines(RowIndex, RCount);
    // What lay past the old count (now from the new count on) is cleared,
    // as far as the removal reached.
    DiscardRows(oldCount - RCount, RCount + 1);
    {
        const bool disjunct = MouseActions()->DisjunctRowSelectDirect();
        MouseActions()->SetDisjunctRowSelectDirect(false);
        struct TBack {
            TMouseActions* M;
            bool V;
            ~TBack() { M->SetDisjunctRowSelectDirect(V); }
        } back{MouseActions(), disjunct};
        SetRowCountInPlace(oldCount - RCount);
        FMaxRowCount = std::max(FMaxRowCount - RCount, RowCount());
        if (Row() >= RowCount() && RowCount() > 0) FocusCell(Col(), RowCount() - 1, true);
        if (focused < RowCount() - FooterRows()) {
            FocusCell(Col(), focused, true);
            SetTopRow(top);
        } else if (RowCount() - FooterRows() > FixedRows()) {
            FocusCell(Col(), RowCount() - 1 - FooterRows(), true);
        }
    }
    Invalidate();
    CellsChanged(TRect{0, RowIndex, ColCount() - 1, RowIndex + RCount});
    // The last page stays full.
    const Integer vis = VisibleRowCount();
    if (TopRow() >= RowCount() + FixedRows() - vis - 2 && RowCount() - vis - 1 > 0)
        SetTopRow(RowCount() + FixedRows() - vis - 2);
    if (FControlList->Count() > 0) CellControlsUpdate(false);
}

void TVodStringGrid::RemoveRowsCore(Integer RowIndex, Integer RCount, bool Renumber)
{
    if (RowIndex < 0 || RowIndex >= RowCount() || RCount <= 0) return;
    RCount = std::min(RCount, RowCount() - RowIndex);
    const Integer focused = Row(), top = TopRow();
    {
        TUpdateScope update(this);
        // The rows move up without their heights and without freeing
        // anything: the caller holds the removed rows' blocks.
        DeleteStoreRows(RowIndex, RCount);
        if (MouseActions()->DisjunctRowSelect())
            for (Integer i = 0; i < RCount && RowIndex < FRowSelect->Count(); ++i) FRowSelect->Delete(RowIndex);
        SetRowCountInPlace(RowCount() - RCount);
        FMaxRowCount = std::max(FMaxRowCount - RCount, RowCount());
        if (focused < RowCount()) {
            FocusCell(Col(), focused, true);
            SetTopRow(top);
        } else if (RowCount() > FixedRows()) {
            FocusCell(Col(), FixedRows(), true);
            SetTopRow(FixedRows());
        }
    }
    if (Renumber) {
        for (Integer i = 0; i < FGridItems->Count(); ++i)
            if (GridItem(i)->Idx() > RowIndex + RCount - 1) GridItem(i)->SetIdx(GridItem(i)->Idx() - RCount);
        DropHiddenRowLookup();
    }
    Invalidate();
    CellsChanged(TRect{0, RowIndex, ColCount() - 1, RowIndex + RCount});
}

void TVodStringGrid::RemoveRowsEx(Integer RowIndex, Integer RCount) { RemoveRowsCore(RowIndex, RCount, true); }

void TVodStringGrid::DeleteGridRow(Integer RowIndex, Integer RCount)
{
    if (RowIndex < 0 || RCount <= 0) return;
    FreeCellPropertiesRect(0, RowIndex, ColCount() - 1, RowIndex + RCount - 1);
    DoDeleteRows(RowIndex, RCount, true);
}

void TVodStringGrid::RemoveRowList(TIntList* RowList)
{
    if (!RowList || RowList->Count() == 0) return;
    std::vector<Integer> rows;
    rows.reserve(size_t(RowList->Count()));
    for (Integer i = 0; i < RowList->Count(); ++i) {
        const Integer r = RowList->GetInteger(i);
        if (r >= 0 && r < RowCount()) rows.push_back(r);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.empty()) return;
    // One row always stays: the platform keeps at least one.
    if (Integer(rows.size()) >= RowCount()) rows.erase(rows.begin());
    if (rows.empty()) return;
    const Integer first = rows.front(), oldLast = RowCount() - 1;
    // One compaction pass: the removed rows free their blocks, the others
    // close up with their heights.
    DiscardRowList(rows);
    DeleteStoreRowList(rows);
    FRows.DeleteLineList(rows);
    SetRowCountInPlace(RowCount() - Integer(rows.size()));
    CellControlsUpdate(false);
    Invalidate();
    CellsChanged(TRect{0, first, ColCount() - 1, oldLast});
}

void TVodStringGrid::RemoveCheckedRows(Integer CheckBoxColumn, bool RemoveChecked)
{
    TUpdateScope update(this);
    for (Integer r = RowCount() - 1; r >= FixedRows(); --r)
        if (IsChecked(CheckBoxColumn, RealRowIndex(r)) == RemoveChecked) RemoveRows(r, 1);
}

void TVodStringGrid::RemoveDuplicates(Integer ACol, bool DoCase)
{
    TUpdateScope update(this);
    const Integer col = RealColIndex(ACol);
    std::unordered_set<String> seen;
    TIntList dups(0, 0);
    for (Integer r = FixedRows(); r < RowCount() - FooterRows(); ++r) {
        String s = Cells(col, r);
        if (!DoCase) s = AnsiUpperCase(s);
        if (!seen.insert(std::move(s)).second) dups.Add(r);
    }
    RemoveRowList(&dups);
}

void TVodStringGrid::RemoveSelectedRows()
{
    TUpdateScope update(this);
    auto selected = [&](Integer r) {
        return RowSelect(MouseActions()->RowSelectPersistent() ? RealRowIndex(r) : r);
    };
    const Integer lastData = RowCount() - 1 - FooterRows();
    if (MouseActions()->DisjunctRowSelect()) {
        std::vector<bool> sel(size_t(std::max(lastData + 1, 0)), false);
        for (Integer r = lastData; r >= FixedRows(); --r) sel[size_t(r)] = selected(r);
        // Each run of consecutive selected rows goes in one call.
        Integer r = lastData;
        while (r >= FixedRows()) {
            if (!sel[size_t(r)]) {
                --r;
                continue;
            }
            Integer start = r;
            while (start - 1 >= FixedRows() && sel[size_t(start - 1)]) --start;
            DeleteGridRow(start, r - start + 1);
            r = start - 1;
        }
        ResetRowSelection();
    } else {
        const TGridRect s = Selection();
        const Integer top = std::min(s.Top, s.Bottom), bottom = std::max(s.Top, s.Bottom);
        for (Integer r = bottom; r >= top; --r) DeleteGridRow(r, 1);
    }
}

void TVodStringGrid::RemoveUnSelectedRows()
{
    TUpdateScope update(this);
    for (Integer r = RowCount() - 1 - FooterRows(); r >= FixedRows(); --r)
        if (!RowSelect(MouseActions()->RowSelectPersistent() ? RealRowIndex(r) : r)) DeleteGridRow(r, 1);
    if (MouseActions()->RowSelectPersistent())
        SelectRows(FixedRows(), RowCount() - FixedRows());
    else
        ResetRowSelection();
}

// ---------------------------------------------------------------------------
// Moving

void TVodStringGrid::MoveRow(Integer FromIndex, Integer ToIndex)
{
    if (FromIndex == ToIndex || FromIndex < 0 || ToIndex < 0 || FromIndex >= RowCount() || ToIndex >= RowCount())
        return;
    TBaseGrid::MoveRow(FromIndex, ToIndex);
    if (FControlList->Count() > 0) {
        for (Integer i = 0; i < FControlList->Count(); ++i) {
            TControlItem* c = FControlList->GetControl(i);
            const Integer y = c->Y();
            if (y == FromIndex)
                c->SetY(ToIndex);
            else if (ToIndex < FromIndex && y >= ToIndex && y < FromIndex)
                c->SetY(y + 1);
            else if (ToIndex > FromIndex && y > FromIndex && y <= ToIndex)
                c->SetY(y - 1);
        }
        CellControlsUpdate(false);
    }
    if (ShowModified()->Enabled()) {
        while (FModifiedRows->Count() < RowCount() + 1) FModifiedRows->Add(0);
        FModifiedRows->Move(FromIndex, ToIndex);
    }
}

void TVodStringGrid::MoveRows(Integer FromIndex, Integer ToIndex, Integer Count)
{
    if (FromIndex == ToIndex || Count <= 0 || FromIndex < 0 || FromIndex >= RowCount()) return;
    Count = std::min(Count, RowCount() - FromIndex);
    std::vector<std::unique_ptr<TStringGridRow>> rows;
    for (Integer i = 0; i < Count; ++i) {
        rows.push_back(std::make_unique<TStringGridRow>());
        DetachStoreRow(FromIndex + i, TotalColCount(), rows.back().get());
    }
    if (FromIndex + Count < ToIndex) ToIndex -= Count;
    RemoveRowsEx(FromIndex, Count);
    ToIndex = std::clamp(ToIndex, 0, RowCount());
    InsertRows(ToIndex, Count, true);
    for (Integer i = 0; i < Count; ++i) AttachStoreRow(ToIndex + i, rows[size_t(i)].get());
    Invalidate();
}
