// Merging runs of equal cell texts into one cell, by column or by row, and
// splitting the merges of a column, a row or the whole grid again; also the
// passes that split and re-merge the group header and summary rows around a
// column move of a grouped grid.
#include "controls/grid/VodGrid.h"

void TVodStringGrid::MergeColumnCells(Integer ColIndex, bool MainMerge)
{
    // A run of equal texts grows while each row also lies in the same
    // vertical merges as the row before it (unless MainMerge), so that a
    // second column can be merged inside the groups of a first.
    const Integer last = RowCount() - FixedFooters() - 1;
    Integer start = FixedRows(), len = 1;
    for (Integer r = FixedRows() + 1; r <= last; ++r) {
        if (GetCellEx(ColIndex, r) == GetCellEx(ColIndex, r - 1) && (MainMerge || RowSpanIdentical(r, r - 1))) {
            ++len;
            continue;
        }
        if (len > 1) MergeCells(ColIndex, start, 1, len);
        start = r;
        len = 1;
    }
    if (len > 1) MergeCells(ColIndex, start, 1, len);
}

void TVodStringGrid::MergeRowCells(Integer RowIndex, bool MainMerge)
{
    const Integer last = ColCount() - FixedRightCols() - 1;
    Integer start = FixedCols(), len = 1;
    for (Integer c = FixedCols() + 1; c <= last; ++c) {
        if (GetCellEx(c, RowIndex) == GetCellEx(c - 1, RowIndex) && (MainMerge || ColSpanIdentical(c, c - 1))) {
            ++len;
            continue;
        }
        if (len > 1) MergeCells(start, RowIndex, len, 1);
        start = c;
        len = 1;
    }
    if (len > 1) MergeCells(start, RowIndex, len, 1);
}

void TVodStringGrid::SplitColumnCells(Integer ColIndex)
{
    // Stops one row short of the last normal row, as the row loops of the
    // merge family always have.
    Integer r = 0;
    while (r < RowCount() - FixedFooters() - 1) {
        if (IsYMergedCell(ColIndex, r)) {
            const Integer span = CellSpan(ColIndex, r).Y;
            SplitCells(ColIndex, r);
            r += span + 1;
        } else {
            ++r;
        }
    }
}

void TVodStringGrid::SplitRowCells(Integer RowIndex)
{
    Integer c = 0;
    while (c < ColCount() - FixedRightCols() - 1) {
        const Integer span = CellSpan(c, RowIndex).X;
        if (IsMergedCell(c, RowIndex) && span >= 0) {
            SplitCells(c, RowIndex);
            c += span + 1;
        } else {
            ++c;
        }
    }
}

void TVodStringGrid::SplitAllCells()
{
    for (Integer r = 0; r < RowCount(); ++r)
        for (Integer c = 0; c < ColCount(); ++c)
            if (IsMergedCell(c, r)) SplitCells(c, r);
}

void TVodStringGrid::MergeGroupRows()
{
    const bool header = FGrouping->MergeHeader(), summary = FGrouping->MergeSummary();
    const Integer n = ColCount() - FixedCols();
    if (n <= 0) return;
    for (Integer r = FixedRows(); r < RowCount(); ++r) {
        if ((header && IsNode(r)) || (summary && IsSummary(r))) MergeCells(FixedCols(), r, n, 1);
    }
}

void TVodStringGrid::SplitGroupRows()
{
    const bool header = FGrouping->MergeHeader(), summary = FGrouping->MergeSummary();
    for (Integer r = FixedRows(); r < RowCount(); ++r) {
        if ((header && IsNode(r)) || (summary && IsSummary(r))) SplitRowCells(r);
    }
}
