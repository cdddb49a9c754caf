// Inserting, removing, merging and moving columns with the recorded order
// (hidden columns and hidden rows included), and clearing, trimming and
// colouring ranges with each flag, used cells, the save range and the small
// cell lookups.
#include <gtest/gtest.h>

#include "GridRowsSupport.h"

namespace {

class VodGridCols : public GridRowsFixture {};
class VodGridClear : public GridRowsFixture {};

// A user object that counts its frees.
struct TCounted : TObject {
    static inline int Freed = 0;
    ~TCounted() override { ++Freed; }
};

// Column c's texts "c,r" give c back; the row's column numbers in order.
std::vector<Integer> ColIds(TVodStringGrid* g, Integer r)
{
    std::vector<Integer> v;
    for (Integer c = 0; c < g->TotalColCount(); ++c) {
        const String s = g->Cells(c, r);
        v.push_back(s.empty() ? -1 : StrToInt(s.substr(0, s.find(L','))));
    }
    return v;
}

}  // namespace

TEST_F(VodGridCols, InsertedColumnsComeInEmptyWithTheDefaultWidthAndMoveTheOthersRight)
{
    Fill(Grid);
    Grid->SetColWidths(1, 90);
    TCellProperties* b = Grid->GetCellProperties(1, 2);
    Grid->HideRow(4);
    Grid->InsertCols(1, 2);
    EXPECT_EQ(Grid->ColCount(), 7);
    EXPECT_EQ(ColIds(Grid, 2), (std::vector<Integer>{0, -1, -1, 1, 2, 3, 4}));
    EXPECT_EQ(Grid->CellPropertiesOf(3, 2), b);
    EXPECT_EQ(Grid->CellPropertiesOf(1, 2), nullptr);
    EXPECT_EQ(Grid->ColWidths(3), 90);
    EXPECT_EQ(Grid->ColWidths(1), Grid->DefaultColWidth());
    // The hidden row lines up with its columns when it comes back.
    Grid->UnHideRow(4);
    EXPECT_EQ(ColIds(Grid, 4), (std::vector<Integer>{0, -1, -1, 1, 2, 3, 4}));
    Grid->AddColumn();
    EXPECT_EQ(Grid->ColCount(), 8);
}

TEST_F(VodGridCols, RemovingColumnsFreesTheirBlocksAndCutsTheCount)
{
    Fill(Grid);
    Grid->GetCellProperties(1, 1)->FBrushColor = clRed;
    TCellProperties* kept = Grid->GetCellProperties(3, 1);
    Grid->Changed.clear();
    Grid->RemoveCols(1, 2);
    EXPECT_EQ(ColIds(Grid, 1), (std::vector<Integer>{0, 3, 4}));
    EXPECT_EQ(Grid->CellPropertiesOf(1, 1), kept);
    ASSERT_FALSE(Grid->Changed.empty());
    EXPECT_EQ(Grid->Changed.back(), (TRect{1, 0, 3, 9}));
    // More than exist: those that exist go; negative or empty: nothing.
    Grid->RemoveCols(2, 10);
    Grid->RemoveCols(-1, 1);
    Grid->RemoveCols(0, 0);
    EXPECT_EQ(ColIds(Grid, 1), (std::vector<Integer>{0, 3}));
}

TEST_F(VodGridCols, RemovingAHiddenColumnKeepsTheMappingOfTheOthers)
{
    Fill(Grid);
    Grid->HideColumn(2);
    Grid->RemoveCols(2, 1);
    EXPECT_EQ(Grid->NumHiddenColumns(), 0);
    EXPECT_EQ(Grid->ColCount(), 4);
    for (Integer c = 0; c < 4; ++c) EXPECT_EQ(Grid->RealColIndex(c), c);
    EXPECT_EQ(ColIds(Grid, 3), (std::vector<Integer>{0, 1, 3, 4}));
    // A hidden column past a removed visible one stays hidden.
    Grid->HideColumn(3);
    Grid->RemoveCols(1, 1);
    EXPECT_EQ(Grid->NumHiddenColumns(), 1);
    EXPECT_TRUE(Grid->IsHiddenColumn(2));
    EXPECT_EQ(Grid->RealColIndex(1), 1);
    EXPECT_EQ(Grid->Cells(Grid->RealColIndex(1), 3), L"3,3");
}

TEST_F(VodGridCols, MergedColumnsJoinTheirTextsAndLoseTheSecond)
{
    Grid->SetCells(1, 1, L"a");
    Grid->SetCells(2, 1, L"b");
    Grid->SetCells(1, 2, L"a");
    Grid->SetCells(3, 1, L"c");
    Grid->MergeCols(1, 2, L" - ");
    EXPECT_EQ(Grid->Cells(1, 1), L"a - b");
    EXPECT_EQ(Grid->Cells(1, 2), L"a -");  // the trailing blank is trimmed away
    EXPECT_EQ(Grid->Cells(2, 1), L"c");
    EXPECT_EQ(Grid->ColCount(), 4);
}

TEST_F(VodGridCols, MovedColumnsAreFoundByTheRecordedOrderAndPutBack)
{
    Fill(Grid);
    Grid->SetColWidths(1, 91);
    TFilterData* onMoved = Grid->Filter()->Add();
    onMoved->Column = 1;
    TFilterData* onShifted = Grid->Filter()->Add();
    onShifted->Column = 2;
    Grid->MoveColumn(1, 3);
    EXPECT_EQ(onMoved->Column, 3);
    EXPECT_EQ(onShifted->Column, 1);
    EXPECT_EQ(ColIds(Grid, 2), (std::vector<Integer>{0, 2, 3, 1, 4}));
    EXPECT_EQ(Grid->ColWidths(3), 91);
    EXPECT_EQ(Grid->ColumnPosition(1), 3);
    EXPECT_EQ(Grid->ColumnAtPosition(3), 1);
    Grid->MoveColumn(4, 0);
    EXPECT_EQ(ColIds(Grid, 2), (std::vector<Integer>{4, 0, 2, 3, 1}));
    Grid->ResetColumnOrder();
    EXPECT_EQ(ColIds(Grid, 2), (std::vector<Integer>{0, 1, 2, 3, 4}));
    EXPECT_EQ(Grid->ColWidths(1), 91);
}

TEST_F(VodGridCols, MovingWithHiddenColumnsAndRowsMovesTheRealColumns)
{
    Fill(Grid);
    Grid->HideColumn(1);
    Grid->HideRow(5);
    Grid->MoveColumn(0, 2);  // display 0 and 2 are real 0 and 3
    EXPECT_EQ(ColIds(Grid, 2), (std::vector<Integer>{1, 2, 3, 0, 4}));
    // The hidden column moved with the others and is still hidden.
    EXPECT_TRUE(Grid->IsHiddenColumn(0));
    EXPECT_EQ(Grid->Cells(Grid->RealColIndex(0), 2), L"2,2");
    EXPECT_EQ(Grid->Cells(Grid->RealColIndex(2), 2), L"0,2");
    Grid->UnHideRow(5);
    EXPECT_EQ(ColIds(Grid, 5), (std::vector<Integer>{1, 2, 3, 0, 4}));
}

TEST_F(VodGridCols, HeadersAreFoundByExactTextWithCase)
{
    Grid->SetCells(2, 0, L"Name");
    Grid->SetCells(4, 0, L"name");
    EXPECT_EQ(Grid->ColumnByHeader(L"name"), 4);
    EXPECT_EQ(Grid->ColumnByHeader(L"Name"), 2);
    EXPECT_EQ(Grid->ColumnByHeader(L"NAME"), -1);
    Grid->HideColumn(2);
    EXPECT_EQ(Grid->ColumnByHeader(L"Name"), 2);  // a real column
}

TEST_F(VodGridClear, ClearingTheWholeGridFreesEveryBlockAndPartOfItKeepsTheFlag)
{
    Fill(Grid);
    Grid->GetCellProperties(1, 1)->FBrushColor = clRed;
    Grid->GetCellProperties(3, 4)->FBrushColor = clRed;
    Grid->ClearRect(0, 0, 2, 2);
    EXPECT_EQ(Grid->CellPropertiesOf(1, 1), nullptr);
    EXPECT_EQ(Grid->Cells(1, 1), L"");
    EXPECT_EQ(Grid->Cells(3, 1), L"3,1");
    EXPECT_NE(Grid->CellPropertiesOf(3, 4), nullptr);
    Grid->Clear();
    EXPECT_EQ(Grid->CellPropertiesOf(3, 4), nullptr);
    EXPECT_EQ(Grid->UsedCells(), (TGridRect{0, 0, 0, 0}));
}

TEST_F(VodGridClear, EachFlagDecidesWhatClearingRemoves)
{
    struct TCase {
        bool TextOnly, Owns;
        bool BlockLeft;
        int Freed;
    };
    for (const TCase& t : {TCase{false, false, false, 0}, TCase{true, false, true, 0}, TCase{false, true, false, 1},
                           TCase{true, true, true, 1}}) {
        TRowsGrid* g = NewGrid(3, 3);
        g->SetCells(1, 1, L"x");
        auto* obj = new TCounted;
        g->SetObjectEx(1, 1, obj);
        g->GetCellProperties(1, 1)->FBrushColor = clRed;
        g->SetClearTextOnly(t.TextOnly);
        g->SetOwnsObjects(t.Owns);
        TCounted::Freed = 0;
        g->Clear();
        EXPECT_EQ(g->Cells(1, 1), L"");
        EXPECT_EQ(g->CellPropertiesOf(1, 1) != nullptr, t.BlockLeft) << t.TextOnly << t.Owns;
        EXPECT_EQ(TCounted::Freed, t.Freed) << t.TextOnly << t.Owns;
        if (t.BlockLeft) EXPECT_EQ(g->CellPropertiesOf(1, 1)->FBrushColor, clRed);
        delete g;
        if (!t.Owns) delete obj;
    }
}

TEST_F(VodGridClear, NormalCellsLeaveFixedRowsColumnsAndFootersAlone)
{
    Fill(Grid);
    Grid->FFixedFooters = 1;
    Grid->FFixedRightCols = 1;
    Grid->ClearNormalCells();
    EXPECT_EQ(Grid->Cells(0, 3), L"0,3");
    EXPECT_EQ(Grid->Cells(2, 0), L"2,0");
    EXPECT_EQ(Grid->Cells(4, 3), L"4,3");
    EXPECT_EQ(Grid->Cells(2, 9), L"2,9");
    EXPECT_EQ(Grid->Cells(1, 1), L"");
    EXPECT_EQ(Grid->Cells(3, 8), L"");
    EXPECT_EQ(Grid->SaveEndRow(), 10 - 2 + 1);  // fixed rows included by default
    Grid->SetSaveFixedCells(false);
    EXPECT_EQ(Grid->SaveEndRow(), 10 - 2);
    EXPECT_EQ(Grid->SaveStartRow(), 1);
    EXPECT_EQ(Grid->SaveEndCol(), 5 - 2);
    EXPECT_EQ(Grid->SaveColCount(), 5 - 2);
    EXPECT_EQ(Grid->SaveRowCount(), 10 - 2);
    Grid->SetSaveFixedRows(true);
    EXPECT_EQ(Grid->SaveRowCount(), 10);
    EXPECT_EQ(Grid->SaveStartCol(), 1);
}

TEST_F(VodGridClear, RangesIgnoreNegativeCoordinates)
{
    Fill(Grid);
    Grid->ClearRect(-3, -2, 1, 1);
    EXPECT_EQ(Grid->Cells(0, 0), L"");
    EXPECT_EQ(Grid->Cells(1, 1), L"");
    EXPECT_EQ(Grid->Cells(2, 1), L"2,1");
    Grid->SetCells(2, 2, L"  padded\t");
    Grid->TrimRect(-1, -1, 3, 3);
    EXPECT_EQ(Grid->Cells(2, 2), L"padded");
    Grid->ColorRect(-2, -2, 0, 0, clYellow);
    EXPECT_EQ(Grid->CellPropertiesOf(0, 0)->FBrushColor, clYellow);
    Grid->ClearRows(-1, 1);
    Grid->ClearCols(3, 0);
    EXPECT_EQ(Grid->Cells(3, 0), L"3,0");
}

TEST_F(VodGridClear, HiddenCellsAreAddressedByDisplayColumnWhenAsked)
{
    Fill(Grid);
    Grid->HideColumn(1);
    Grid->SetSaveHiddenCells(true);
    Grid->ClearRect(1, 1, 1, 1);  // display 1 is real 2
    EXPECT_EQ(Grid->Cells(2, 1), L"");
    EXPECT_EQ(Grid->Cells(1, 1), L"1,1");
    Grid->SetSaveHiddenCells(false);
    Grid->ClearRect(1, 2, 1, 2);
    EXPECT_EQ(Grid->Cells(1, 2), L"");
}

TEST_F(VodGridClear, ClearAllEmptiesHiddenRowsButKeepsTheirRecords)
{
    Fill(Grid);
    Grid->HideRow(3);
    Grid->ClearAll();
    EXPECT_EQ(Grid->NumHiddenRows(), 1);
    EXPECT_EQ(Grid->HiddenRowItem(3)->Items()->Strings(1), L"");
    EXPECT_EQ(Grid->Cells(1, 1), L"");
}

TEST_F(VodGridClear, UsedCellsAndLookups)
{
    Grid->SetCells(2, 3, L"x");
    Grid->SetCells(4, 1, L"y");
    EXPECT_EQ(Grid->UsedCells(), (TGridRect{2, 1, 4, 3}));
    Integer c = -7, r = -7;
    EXPECT_FALSE(Grid->IsCell(L"x ", c, r));
    EXPECT_EQ(c, -7);
    EXPECT_TRUE(Grid->IsCell(L"x", c, r));
    EXPECT_EQ(c, 2);
    EXPECT_EQ(r, 3);
    Grid->SetWideCells(1, 1, L"|\\abc");
    EXPECT_TRUE(Grid->IsWideCell(1, 1));
    EXPECT_FALSE(Grid->IsWideCell(2, 3));
    EXPECT_EQ(Grid->GetWideCells(1, 1), L"|\\abc");
}
