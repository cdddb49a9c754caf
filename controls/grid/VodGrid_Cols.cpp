// Inserting, removing and moving columns, and the recorded column order that
// lets an application find where the user dragged a column and put the
// columns back. A column of the store holds a text and a property block per
// row; moving a column moves both, in every row the store holds and in the
// rows that are hidden, so that a row shown again lines up with its columns.
#include <algorithm>

#include "controls/grid/VodGrid.h"
#include "platform/base/SysUtils.h"

namespace {

// Where a line at Pos goes when the line From moves to To.
Integer MovedLine(Integer Pos, Integer From, Integer To)
{
    if (Pos == From) return To;
    if (From < To && Pos > From && Pos <= To) return Pos - 1;
    if (From > To && Pos >= To && Pos < From) return Pos + 1;
    return Pos;
}

template <class V>
void MoveEntry(V& v, Integer From, Integer To)
{
    if (From < 0 || To < 0 || size_t(From) >= v.size() || size_t(To) >= v.size() || From == To) return;
    const typename V::value_type x = v[size_t(From)];
    v.erase(v.begin() + From);
    v.insert(v.begin() + To, x);
}

}  // namespace

// ---------------------------------------------------------------------------
// Inserting and removing

void TVodStringGrid::InsertCols(Integer ColIndex, Integer CCount)
{
    if (CCount <= 0) return;
    EnsureColumnArrays();
    const Integer total = TotalColCount();
    ColIndex = std::clamp(ColIndex, 0, total);
    // The widths from the display place of the first new column move right.
    const Integer displ = ColIndex < total ? DisplColIndex(ColIndex) : ColCount();
    std::vector<bool> visible(FVisibleCol.begin(), FVisibleCol.begin() + total);
    std::vector<Integer> widths(FAllColWidths.begin(), FAllColWidths.begin() + total);
    SetColCount(ColCount() + CCount);
    visible.insert(visible.begin() + ColIndex, size_t(CCount), true);
    widths.insert(widths.begin() + ColIndex, size_t(CCount), DefaultColWidth());
    FVisibleCol = std::move(visible);
    FAllColWidths = std::move(widths);
    FCols.InsertLines(displ, CCount);
    // The columns from ColIndex move right in every row; the new ones come in
    // empty, also in the hidden rows.
    InsertStoreCols(ColIndex, CCount);
    for (Integer i = 0; i < FGridItems->Count(); ++i) {
        TStrings* s = GridItem(i)->Items();
        for (Integer k = 0; k < CCount && ColIndex <= s->Count(); ++k) s->Insert(ColIndex, String());
    }
    Invalidate();
}

void TVodStringGrid::RemoveCols(Integer ColIndex, Integer CCount)
{
    EnsureColumnArrays();
    const Integer total = TotalColCount();
    if (ColIndex < 0 || ColIndex >= total || CCount <= 0) return;
    CCount = std::min(CCount, total - ColIndex);
    // The blocks of the removed columns are freed, also in the hidden rows.
    ClearCols(ColIndex, CCount);
    for (Integer i = 0; i < FGridItems->Count(); ++i) {
        TStrings* s = GridItem(i)->Items();
        for (Integer c = std::min(ColIndex + CCount, s->Count()) - 1; c >= ColIndex; --c) {
            if (auto* p = dynamic_cast<TCellProperties*>(s->Objects(c))) DisposeCellBlock(p);
            s->Delete(c);
        }
    }
    // A hidden column that goes lowers the hidden count, a visible one the
    // visible count, so that the remaining columns map as before.
    std::vector<Integer> displayed;
    Integer hidden = 0;
    for (Integer c = ColIndex; c < ColIndex + CCount; ++c) {
        if (VisibleColFlag(c))
            displayed.push_back(DisplColIndex(c));
        else
            ++hidden;
    }
    DeleteStoreCols(ColIndex, CCount);
    FCols.DeleteLineList(displayed);
    FVisibleCol.erase(FVisibleCol.begin() + ColIndex, FVisibleCol.begin() + ColIndex + CCount);
    FAllColWidths.erase(FAllColWidths.begin() + ColIndex, FAllColWidths.begin() + ColIndex + CCount);
    FNumHidden -= hidden;
    SetColCount(ColCount() - Integer(displayed.size()));
    Invalidate();
    CellsChanged(TRect{ColIndex, 0, ColIndex + CCount, RowCount() - 1});
}

void TVodStringGrid::RemoveSelectedCols()
{
    if (MouseActions()->DisjunctColSelect()) {
        for (Integer c = ColCount() - 1; c >= FixedCols(); --c)
            if (ColSelect(c)) {
                RemoveCols(c, 1);
                if (c < FColSelect->Count()) FColSelect->Delete(c);
            }
        return;
    }
    const TGridRect s = Selection();
    const Integer l = std::min(s.Left, s.Right), r = std::max(s.Left, s.Right);
    RemoveCols(l, r - l + 1);
}

void TVodStringGrid::RemoveUnSelectedCols()
{
    if (MouseActions()->DisjunctColSelect()) {
        for (Integer c = ColCount() - 1; c >= FixedCols(); --c)
            if (!ColSelect(c)) {
                RemoveCols(c, 1);
                if (c < FColSelect->Count()) FColSelect->Delete(c);
            }
    } else {
        const TGridRect s = Selection();
        const Integer l = std::min(s.Left, s.Right), r = std::max(s.Left, s.Right);
        RemoveCols(r + 1, ColCount() - r);
        RemoveCols(FixedCols(), l - FixedCols());
    }
    ClearColSelect();
}

void TVodStringGrid::MergeCols(Integer ColIndex1, Integer ColIndex2, const String& Separator)
{
    if (ColIndex1 < 0 || ColIndex2 < 0) return;
    for (Integer r = FixedRows(); r < RowCount(); ++r)
        SetCellEx(ColIndex1, r, Trim(GetCellEx(ColIndex1, r) + Separator + GetCellEx(ColIndex2, r)));
    RemoveCols(ColIndex2, 1);
}

// ---------------------------------------------------------------------------
// Moving and the recorded order

void TVodStringGrid::MoveColumn(Integer FromIndex, Integer ToIndex)
{
    if (FromIndex == ToIndex || FromIndex < 0 || ToIndex < 0 || FromIndex >= ColCount() || ToIndex >= ColCount())
        return;
    if (FColumnOrder->Count() == 0) SetColumnOrder();
    // The merged group rows would move with the column: split first, merge
    // again at the end.
    const bool groupMerges = GroupColumn() >= 0 && (FGrouping->MergeHeader() || FGrouping->MergeSummary());
    if (groupMerges) SplitGroupRows();
    const Integer a = RealColIndex(FromIndex), b = RealColIndex(ToIndex);
    if (FNumHidden == 0) {
        // Texts, blocks, widths, and the column-moved event.
        TBaseGrid::MoveColumn(FromIndex, ToIndex);
    } else {
        // The store holds real columns, the widths display columns.
        if (EditorMode()) HideEditor();
        MoveStoreCol(a, b);
        FCols.MoveExtent(FromIndex, ToIndex);
        MoveEntry(FVisibleCol, a, b);
        MoveEntry(FAllColWidths, a, b);
        SetCol(MovedLine(Col(), FromIndex, ToIndex));
        if (OnColumnMoved) OnColumnMoved(this, FromIndex, ToIndex);
        Invalidate();
    }
    for (Integer i = 0; i < FGridItems->Count(); ++i) {
        TStrings* s = GridItem(i)->Items();
        if (a < s->Count() && b < s->Count()) s->Move(a, b);
    }
    if (a < FColumnOrder->Count() && b < FColumnOrder->Count()) FColumnOrder->Move(a, b);
    // Filter conditions follow their columns.
    if (TFilter* f = Filter())
        for (Integer i = 0; i < f->Count(); ++i) f->Items(i)->Column = SmallInt(MovedLine(f->Items(i)->Column, a, b));
    if (FControlList->Count() > 0) {
        for (Integer i = 0; i < FControlList->Count(); ++i) {
            TControlItem* c = FControlList->GetControl(i);
            c->SetX(MovedLine(c->X(), FromIndex, ToIndex));
        }
        CellControlsUpdate(false);
    }
    if (groupMerges) MergeGroupRows();
}

void TVodStringGrid::SetColumnOrder()
{
    FColumnOrder->Clear();
    FSuppressColSizes->Clear();
    for (Integer c = 0; c < ColCount(); ++c) {
        FColumnOrder->Add(c);
        FSuppressColSizes->Add(ColWidths(c));
    }
}

void TVodStringGrid::ResetColumnOrder()
{
    UnHideColumnsAll();
    if (FColumnOrder->Count() == 0) {
        SetColumnOrder();
        return;
    }
    // Each move puts one column at its recorded place for good; a bound
    // on the passes keeps an order that names no place from looping.
    const Integer n = std::min(ColCount(), FColumnOrder->Count());
    for (Integer pass = 0; pass <= n; ++pass) {
        bool moved = false;
        for (Integer p = 0; p < n; ++p) {
            const Integer e = FColumnOrder->GetInteger(p);
            if (e < p && e >= 0) {
                MoveColumn(p, e);
                moved = true;
            }
        }
        if (!moved) break;
    }
}

Integer TVodStringGrid::ColumnPosition(Integer ACol)
{
    if (FColumnOrder->Count() == 0) return ACol;
    // A grouped grid shows one column less after the grouped one.
    const bool grouped = GroupColumn() >= 0 && ACol >= GroupColumn();
    for (Integer p = 0; p < FColumnOrder->Count(); ++p)
        if (FColumnOrder->GetInteger(p) == ACol) return grouped ? p - 1 : p;
    return ACol;
}

Integer TVodStringGrid::ColumnAtPosition(Integer ACol)
{
    if (FColumnOrder->Count() == 0) SetColumnOrder();
    if (FColumnOrder->Count() == 0 || ACol < 0 || ACol >= FColumnOrder->Count()) return ACol;
    const Integer e = FColumnOrder->GetInteger(ACol);
    return GroupColumn() >= 0 && e >= GroupColumn() ? e + 1 : e;
}

Integer TVodStringGrid::ColumnByHeader(const String& AValue)
{
    // Row 0 as a real row: read from the hidden-row store when it is hidden.
    TGridItem* hidden = HiddenRowItem(0);
    const Integer row = DisplRowIndex(0);
    for (Integer c = 0; c < TotalColCount(); ++c) {
        String s;
        if (hidden)
            s = c < hidden->Items()->Count() ? hidden->Items()->Strings(c) : String();
        else
            s = Cells(c, row);
        if (s == AValue) return c;
    }
    return -1;
}
