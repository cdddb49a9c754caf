// Sizing the grid to its cells on the fixed-metrics font (8 x 16 pixels a
// character): column widths with offsets, lines, padding and limits, rows by
// lines, columns fitted into the control (whole pixels, the remainder to the
// widest), the control sized to its cells; numbering and swaps.
#include <gtest/gtest.h>

#include "controls/grid/VodGrid.h"
#include "platform/base/SysUtils.h"
#include "tests/controls/grid/StringGridFixture.h"

namespace {

using VodGridAutoSize = TStringGridFixture<TVodStringGrid>;

}  // namespace

TEST_F(VodGridAutoSize, FittingColumnsSharesWholePixelsAndGivesTheRestToTheWidest)
{
    Grid->SetColCount(5);
    Grid->SetFixedCols(1);
    Grid->SetFixedRightCols(1);
    Grid->SetColWidths(0, 20);
    Grid->SetColWidths(4, 30);
    Grid->SetColWidths(1, 100);
    Grid->SetColWidths(2, 100);
    Grid->SetColWidths(3, 200);
    Grid->SetBounds(0, 0, 650, 120);
    Grid->SetRowCount(2);   // every row shows: no scroll bar room
    Grid->AutoFitColumns(false);
    EXPECT_EQ(Grid->ColWidths(1), 150);
    EXPECT_EQ(Grid->ColWidths(2), 150);
    EXPECT_EQ(Grid->ColWidths(3), 300);
    EXPECT_EQ(Grid->ColWidths(0), 20);
    EXPECT_EQ(Grid->ColWidths(4), 30);
    // Already fitting: nothing changes.
    Grid->AutoFitColumns(false);
    EXPECT_EQ(Grid->ColWidths(3), 300);
    // An odd width: the remainder goes to the widest column.
    Grid->SetBounds(0, 0, 653, 120);
    Grid->AutoFitColumns(false);
    EXPECT_EQ(Grid->ColWidths(1) + Grid->ColWidths(2) + Grid->ColWidths(3), 603);
    EXPECT_EQ(Grid->ColWidths(1), 150);
    EXPECT_EQ(Grid->ColWidths(3), 303);
}

TEST_F(VodGridAutoSize, FittingColumnsOfNoWidthSharesTheRoomEqually)
{
    Grid->SetColCount(4);
    Grid->SetFixedCols(1);
    Grid->SetColWidths(0, 20);
    for (Integer c = 1; c < 4; ++c) Grid->SetColWidths(c, 0);
    Grid->SetBounds(0, 0, 320, 120);
    Grid->SetRowCount(2);
    Grid->AutoFitColumns(false);
    Integer sum = 0;
    for (Integer c = 1; c < 4; ++c) {
        EXPECT_GE(Grid->ColWidths(c), 99);
        sum += Grid->ColWidths(c);
    }
    EXPECT_EQ(sum, 300);
    // A single column takes the width less 5.
    Grid->SetFixedCols(0);
    Grid->SetColCount(1);
    Grid->AutoFitColumns(true);
    EXPECT_EQ(Grid->ColWidths(0), 315);
}

TEST_F(VodGridAutoSize, ColumnWidthsAddOffsetsLinesPaddingAndKeepToTheLimits)
{
    Grid->SetColWidths(2, 64);
    // Whatever the text, the width holds the offsets (2 x 2), two grid lines
    // and 2 more; padding then adds to it.
    const Integer base = Grid->ColWidths(2);
    Grid->AutoGrowCol(2, 0);
    EXPECT_EQ(Grid->ColWidths(2), base);   // wider than its content: unchanged
    Grid->AutoSizeColumns(false, 10);
    const Integer w = Grid->ColWidths(2);
    EXPECT_GE(w, 8 + 10);
    Grid->SetMaxColWidth(w - 3);
    Grid->AutoSizeCol(2, 10);
    EXPECT_EQ(Grid->ColWidths(2), w - 3);
    // The application may change the computed width.
    Grid->SetMaxColWidth(0);
    Grid->OnUpdateColumnSize = [](TObject*, Integer, Integer& W) { W = 77; };
    Grid->AutoSizeCol(1);
    EXPECT_EQ(Grid->ColWidths(1), 77);
}

TEST_F(VodGridAutoSize, RowHeightsByLinesOnTheFixedMetricsFont)
{
    Grid->SetMinRowHeight(0);   // loading made it the default row height
    Grid->SetRowHeightByLines(2, 1, 0);
    EXPECT_EQ(Grid->RowHeights(2), 16 + 2 + 2);
    Grid->SetRowHeightByLines(2, 3, 4);
    EXPECT_EQ(Grid->RowHeights(2), 4 + 3 * 18 + 2);
    Grid->SetMaxRowHeight(30);
    Grid->SetRowHeightByLines(2, 3, 4);
    EXPECT_EQ(Grid->RowHeights(2), 30 + 2);
    Grid->SetMaxRowHeight(0);
    Grid->SetWordWrap(false);
    Grid->SetMultilinecells(true);
    Grid->SetCellEx(1, 3, L"one\r\ntwo");
    Grid->AutoSizeRows(false, 0);
    EXPECT_EQ(Grid->RowHeights(3), 2 * 18 + 2);
    EXPECT_EQ(Grid->RowHeights(1), 18 + 2);
}

TEST_F(VodGridAutoSize, SizingTheControlToItsCellsKeepsTheScrollBars)
{
    Grid->SetScrollBars(ssBoth);
    Grid->SetColCount(3);
    Grid->SetRowCount(2);
    Grid->SetColWidths(0, 30);
    Grid->SetColWidths(1, 40);
    Grid->SetColWidths(2, 50);
    Grid->SetRowHeights(0, 20);
    Grid->SetRowHeights(1, 25);
    Grid->SizeToCells();
    EXPECT_EQ(Grid->ClientWidth(), 120);
    EXPECT_EQ(Grid->ClientHeight(), 45);
    EXPECT_EQ(Grid->ScrollBars(), ssBoth);
}

TEST_F(VodGridAutoSize, NumberingCountsFromTheTopOrTheBottom)
{
    Grid->SetRowCount(6);
    Grid->SetFixedFooters(1);
    Grid->AutoNumberCol(1);
    for (Integer r = 1; r <= 4; ++r) EXPECT_EQ(Grid->GetGridCell(1, r), IntToStr(r));
    EXPECT_EQ(Grid->GetGridCell(1, 5), L"");
    Grid->SetAutoNumberDirection(sdDescending);
    Grid->SetAutoNumberOffset(10);
    Grid->AutoNumberCol(2);
    for (Integer r = 1; r <= 4; ++r) EXPECT_EQ(Grid->GetGridCell(2, r), IntToStr(15 - r));
    Grid->SetAutoNumberDirection(sdAscending);
    Grid->SetAutoNumberOffset(0);
    Grid->SetAutoNumberStart(2);
    Grid->AutoNumberRow(0);
    EXPECT_EQ(Grid->GetGridCell(1, 0), L"");
    EXPECT_EQ(Grid->GetGridCell(3, 0), L"3");
    EXPECT_EQ(Grid->GetGridCell(4, 0), L"4");
}

TEST_F(VodGridAutoSize, SwapsMoveCellsBlocksSizesAndTheSortColumn)
{
    Grid->SetCellEx(1, 2, L"one");
    Grid->SetCellEx(3, 2, L"three");
    Grid->GetCellProperties(1, 2)->SetBrushColor(clRed);
    TCellProperties* block = Grid->CellPropertiesOf(1, 2);
    Grid->SetColWidths(1, 41);
    Grid->SetColWidths(3, 43);
    Grid->SortSettings()->Column = 1;
    Grid->SwapColumns(1, 3);
    EXPECT_EQ(Grid->GetGridCell(3, 2), L"one");
    EXPECT_EQ(Grid->GetGridCell(1, 2), L"three");
    EXPECT_EQ(Grid->CellPropertiesOf(3, 2), block);
    EXPECT_EQ(Grid->CellPropertiesOf(1, 2), nullptr);
    EXPECT_EQ(Grid->ColWidths(1), 43);
    EXPECT_EQ(Grid->ColWidths(3), 41);
    EXPECT_EQ(Grid->SortSettings()->Column, 3);

    Grid->SetRowHeights(1, 21);
    Grid->SetRowHeights(2, 22);
    Grid->SwapRows(1, 2);
    EXPECT_EQ(Grid->GetGridCell(3, 1), L"one");
    EXPECT_EQ(Grid->CellPropertiesOf(3, 1), block);
    EXPECT_EQ(Grid->RowHeights(1), 22);
    EXPECT_EQ(Grid->RowHeights(2), 21);
}
