// Inserting, removing and moving rows: contents, blocks, heights, hidden-row
// numbers, per-row lists, focus and the CellsChanged rectangles as tables;
// the removal of lists of rows and of duplicates; blocks freed once.
#include <gtest/gtest.h>

#include "GridRowsSupport.h"

namespace {

class VodGridRows : public GridRowsFixture {};

}  // namespace

TEST_F(VodGridRows, InsertingMovesRowsDownWithTheirBlocksAndHeightsAndAnnouncesTheNewRows)
{
    Fill(Grid);
    Grid->GetCellProperties(1, 4)->FBrushColor = clRed;
    TCellProperties* b = Grid->CellPropertiesOf(1, 4);
    Grid->SetRowHeights(4, 41);
    Grid->Changed.clear();
    Grid->InsertRows(2, 3);
    EXPECT_EQ(Grid->RowCount(), 13);
    EXPECT_EQ(RowIds(Grid), (std::vector<Integer>{0, 1, -1, -1, -1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(Grid->CellPropertiesOf(1, 7), b);
    EXPECT_EQ(Grid->CellPropertiesOf(1, 4), nullptr);
    EXPECT_EQ(Grid->RowHeights(7), 41);
    EXPECT_EQ(Grid->RowHeights(2), Grid->DefaultRowHeight());
    ASSERT_EQ(Grid->Changed.size(), 1u);
    EXPECT_EQ(Grid->Changed[0], (TRect{0, 2, 4, 5}));
    // An index past the grid appends.
    Grid->InsertRows(100, 1);
    EXPECT_EQ(Grid->RowCount(), 14);
    EXPECT_EQ(Grid->Cells(0, 13), L"");
}

TEST_F(VodGridRows, RemovingRowsFreesTheirBlocksKeepsTheOthersAndRenumbersHiddenRows)
{
    Fill(Grid);
    Grid->GetCellProperties(2, 3)->FBrushColor = clRed;   // removed
    Grid->GetCellProperties(2, 6)->FBrushColor = clBlue;  // moves up
    TCellProperties* kept = Grid->CellPropertiesOf(2, 6);
    Grid->SetRowHeights(6, 37);
    Grid->HideRow(8);
    Grid->Changed.clear();
    Grid->RemoveRows(2, 3);
    EXPECT_EQ(RowIds(Grid), (std::vector<Integer>{0, 1, 5, 6, 7, 9}));
    EXPECT_EQ(Grid->CellPropertiesOf(2, 3), kept);
    EXPECT_EQ(Grid->RowHeights(3), 37);
    // The hidden row below the removed ones moved up with them.
    EXPECT_EQ(Grid->GridItem(0)->Idx(), 5);
    EXPECT_EQ(Grid->GridItem(0)->Items()->Strings(0), L"0,8");
    ASSERT_FALSE(Grid->Changed.empty());
    EXPECT_EQ(Grid->Changed.back(), (TRect{0, 2, 4, 5}));
    Grid->UnHideRow(5);
    EXPECT_EQ(RowIds(Grid), (std::vector<Integer>{0, 1, 5, 6, 7, 8, 9}));
    // Nothing happens for a count of 0 or a start past the grid.
    Grid->RemoveRows(2, 0);
    Grid->RemoveRows(7, 1);
    Grid->RemoveRows(-1, 2);
    EXPECT_EQ(Grid->RowCount(), 7);
    // A count past the end removes the rows that exist.
    Grid->RemoveRows(5, 10);
    EXPECT_EQ(RowIds(Grid), (std::vector<Integer>{0, 1, 5, 6, 7}));
}

TEST_F(VodGridRows, RemovingTheFocusedLastRowFocusesTheNewLastRow)
{
    Grid->SetRow(9);
    Grid->RemoveRows(9, 1);
    EXPECT_EQ(Grid->Row(), 8);
    Grid->SetRow(4);
    Grid->DeleteGridRow(2, 1);
    EXPECT_EQ(Grid->Row(), 4);
    EXPECT_EQ(Grid->RowCount(), 8);
}

TEST_F(VodGridRows, TheQuickRemovalKeepsBlocksForTheCallerAndHeightsInPlace)
{
    Fill(Grid);
    Grid->SetRowHeights(2, 44);
    Grid->GetCellProperties(0, 3)->FBrushColor = clRed;
    TCellProperties* b = Grid->CellPropertiesOf(0, 3);
    Grid->SetObjects(0, 3, nullptr);  // the caller holds it now
    Grid->RemoveRowsEx(2, 2);
    EXPECT_EQ(RowIds(Grid), (std::vector<Integer>{0, 1, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(Grid->RowHeights(2), 44);  // heights stay with their positions
    delete b;
}

TEST_F(VodGridRows, AddRowAppendsAnEmptyRowAndAppendRowRaisesTheCount)
{
    Fill(Grid);
    Grid->RemoveRows(8, 2);
    Grid->AddRow();
    EXPECT_EQ(Grid->RowCount(), 9);
    EXPECT_EQ(Grid->Cells(1, 8), L"");  // what lay past the count is gone
    Grid->AppendRow();
    EXPECT_EQ(Grid->RowCount(), 10);
}

TEST_F(VodGridRows, ARowListIsRemovedInOnePassFreeingItsBlocks)
{
    Fill(Grid);
    for (Integer r : {2, 5, 6}) Grid->GetCellProperties(1, r)->FBrushColor = clRed;
    TCellProperties* kept = Grid->GetCellProperties(1, 7);
    Grid->HideRow(9);
    TIntList l(0, 0);
    for (Integer r : {6, 2, 5, 40}) l.Add(r);  // unsorted and past the grid
    Grid->RemoveRowList(&l);
    EXPECT_EQ(RowIds(Grid), (std::vector<Integer>{0, 1, 3, 4, 7, 8}));
    EXPECT_EQ(Grid->CellPropertiesOf(1, 4), kept);
    // The hidden rows keep their numbers.
    EXPECT_EQ(Grid->GridItem(0)->Idx(), 9);
}

TEST_F(VodGridRows, DuplicatesGoAfterTheirFirstRowWithOrWithoutCase)
{
    const std::vector<String> texts{L"h", L"a", L"B", L"a", L"b", L"c", L"A", L"c", L"x", L"a"};
    struct TCase {
        bool DoCase;
        std::vector<String> Left;
    };
    for (const TCase& t : {TCase{true, {L"h", L"a", L"B", L"b", L"c", L"A", L"x"}},
                           TCase{false, {L"h", L"a", L"B", L"c", L"x"}}}) {
        TRowsGrid* g = NewGrid(3, 10);
        for (Integer r = 0; r < 10; ++r) g->SetCells(1, r, texts[size_t(r)]);
        g->GetCellProperties(1, 3)->FBrushColor = clRed;  // a duplicate's block is freed
        g->RemoveDuplicates(1, t.DoCase);
        EXPECT_EQ(Column(g, 1), t.Left) << t.DoCase;
        delete g;
    }
}

TEST_F(VodGridRows, MovingRowsCarriesTheirContentsAndControls)
{
    Fill(Grid);
    TCellProperties* b = Grid->GetCellProperties(0, 2);
    Grid->MoveRows(2, 8, 3);
    EXPECT_EQ(RowIds(Grid), (std::vector<Integer>{0, 1, 5, 6, 7, 2, 3, 4, 8, 9}));
    EXPECT_EQ(Grid->CellPropertiesOf(0, 5), b);
    Grid->MoveRows(5, 5, 2);
    Grid->MoveRows(5, 1, 0);
    EXPECT_EQ(RowIds(Grid), (std::vector<Integer>{0, 1, 5, 6, 7, 2, 3, 4, 8, 9}));
    Grid->MoveRow(1, 4);
    EXPECT_EQ(RowIds(Grid), (std::vector<Integer>{0, 5, 6, 7, 1, 2, 3, 4, 8, 9}));
    Grid->MoveRow(3, 99);  // outside: nothing
    EXPECT_EQ(Grid->RowCount(), 10);
}

TEST_F(VodGridRows, SelectedRowsGoInRunsAndUnselectedOnesOneByOne)
{
    Fill(Grid);
    Grid->MouseActions()->SetDisjunctRowSelect(true);
    for (Integer r : {2, 3, 4, 7}) Grid->SetRowSelect(r, true);
    Grid->Changed.clear();
    Grid->RemoveSelectedRows();
    EXPECT_EQ(RowIds(Grid), (std::vector<Integer>{0, 1, 5, 6, 8, 9}));
    EXPECT_FALSE(Grid->RowSelect(2));
    Grid->SetRowSelect(3, true);
    Grid->RemoveUnSelectedRows();
    EXPECT_EQ(RowIds(Grid), (std::vector<Integer>{0, 6}));
}

TEST_F(VodGridRows, ModifiedRowFlagsStayAlignedWithTheRows)
{
    Grid->ShowModified()->SetEnabled(true);
    for (Integer r = 0; r < 10; ++r) Grid->ModifiedRows()->Add(r == 5 ? 1 : 0);
    Grid->InsertRows(2, 2);
    EXPECT_EQ(Grid->ModifiedRows()->GetInteger(7), 1);
    Grid->RemoveRows(1, 3);
    EXPECT_EQ(Grid->ModifiedRows()->GetInteger(4), 1);
    EXPECT_EQ(Grid->ModifiedRows()->Count(), 9);
}

TEST_F(VodGridRows, RowsWithBlocksAndGraphicsAreFreedOnceWhateverTheRoute)
{
    TRowsGrid* g = NewGrid(4, 30);
    Fill(g);
    for (Integer r = 1; r < 30; ++r) g->GetCellProperties(r % 4, r)->FBrushColor = clRed;
    g->RemoveRows(2, 3);
    g->DeleteGridRow(5, 2);
    TIntList l(0, 0);
    l.Add(7);
    l.Add(9);
    g->RemoveRowList(&l);
    g->RemoveDuplicates(0, true);
    g->MoveRows(3, 10, 4);
    g->HideRows(12, 14);
    g->InsertRows(1, 2);
    delete g;  // the sanitizers report a leak or a double free
}
