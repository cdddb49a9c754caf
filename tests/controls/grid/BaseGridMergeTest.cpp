// Merged cells: the record, the queries as one table, splitting, the row
// and column span comparisons; cell rectangles and sizes of merged areas;
// keys and wheel across merged areas.
#include "tests/controls/grid/GridTestSupport.h"

using BaseGridMerge = BaseGridFixture;

TEST_F(BaseGridMerge, QueriesOfAThreeByTwoArea)
{
    Grid->SetColCount(6);
    Grid->SetRowCount(6);
    Grid->MergeCells(1, 1, 3, 2);
    EXPECT_EQ(Grid->MergeCount(), 1);
    struct Case {
        int c, r;
        bool base, merged, nonBase;
        TPoint baseCell, span, ext;
        TRect full;
    };
    const Case cases[] = {
        {1, 1, true, true, false, {1, 1}, {2, 1}, {2, 1}, {1, 1, 3, 2}},
        {3, 2, false, true, true, {1, 1}, {2, 1}, {0, 0}, {1, 1, 3, 2}},
        {2, 1, false, true, true, {1, 1}, {2, 1}, {1, 1}, {1, 1, 3, 2}},
        {1, 2, false, false, false, {1, 1}, {2, 1}, {2, 0}, {1, 1, 3, 2}},  // spans (0, 1): CellSpanX 0
        {4, 4, true, false, false, {4, 4}, {0, 0}, {0, 0}, {4, 4, 4, 4}},  // no block
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << k.c << "," << k.r);
        const bool hadBlock = Grid->HasCellProperties(k.c, k.r);
        EXPECT_EQ(Grid->IsBaseCell(k.c, k.r), k.base);
        EXPECT_EQ(Grid->BaseCell(k.c, k.r), k.baseCell);
        EXPECT_EQ(Grid->CellSpan(k.c, k.r), k.span);
        EXPECT_EQ(Grid->CellExt(k.c, k.r), k.ext);
        EXPECT_EQ(Grid->FullCell(k.c, k.r), k.full);
        Integer bc = 0, br = 0;
        EXPECT_EQ(Grid->ResolveBaseCell(k.c, k.r, bc, br), k.base);
        EXPECT_EQ((TPoint{bc, br}), k.baseCell);
        EXPECT_EQ(Grid->HasCellProperties(k.c, k.r), hadBlock);
    }
    // (1, 2) holds the distances (0, 1): merged by its vertical distance.
    EXPECT_TRUE(Grid->IsMergedCell(1, 2));
    EXPECT_TRUE(Grid->IsXMergedCell(3, 2));
    EXPECT_TRUE(Grid->IsYMergedCell(3, 2));
    EXPECT_EQ(Grid->MinRowSpan(1), 1);
    EXPECT_EQ(Grid->MaxRowSpan(1), 1);
    EXPECT_EQ(Grid->MinRowSpan(4), 6);
    EXPECT_EQ(Grid->MaxRowSpan(4), 0);
    EXPECT_TRUE(Grid->RowSpanIdentical(1, 2));
    EXPECT_FALSE(Grid->RowSpanIdentical(1, 4));
    EXPECT_TRUE(Grid->ColSpanIdentical(1, 3));
    EXPECT_FALSE(Grid->ColSpanIdentical(3, 4));  // one row merges 3, not 4
}

TEST_F(BaseGridMerge, OneByOneCollapseAndSplit)
{
    Grid->MergeCells(2, 2, 1, 1);
    EXPECT_FALSE(Grid->IsMergedCell(2, 2));
    EXPECT_EQ(Grid->CellSpan(2, 2), (TPoint{0, 0}));
    Grid->MergeCells(1, 1, 2, 3);
    Grid->GetCellProperties(1, 1)->FMergeCollaps = true;
    EXPECT_EQ(Grid->CellSpan(1, 1), (TPoint{1, 0}));
    Grid->GetCellProperties(1, 1)->FMergeCollaps = false;
    Grid->SplitCells(2, 3);
    for (int c = 1; c <= 2; ++c)
        for (int r = 1; r <= 3; ++r) {
            EXPECT_TRUE(Grid->HasCellProperties(c, r));
            EXPECT_TRUE(Grid->IsBaseCell(c, r));
            EXPECT_EQ(Grid->CellSpan(c, r), (TPoint{0, 0}));
            EXPECT_EQ(Grid->GetCellProperties(c, r)->CellSpanX(), -1);
        }
    // The count follows the calls, also for calls that touch no cell.
    Grid->MergeCells(0, 0, 0, 3);
    Grid->SplitCells(4, 4);
    EXPECT_EQ(Grid->MergeCount(), 1);
}

TEST_F(BaseGridMerge, EveryCellOfAnAreaHasTheAreasRectangle)
{
    Grid->SetColCount(8);
    Grid->SetRowCount(40);
    Grid->SetColWidths(2, 100);
    Grid->MergeCells(1, 1, 2, 2);
    const TRect whole{64, 24, 64 + 64 + 100, 24 + 48};
    for (auto [c, r] : std::vector<std::pair<int, int>>{{1, 1}, {2, 1}, {1, 2}, {2, 2}})
        EXPECT_EQ(Grid->CellRect(c, r), whole) << c << "," << r;
    EXPECT_EQ(Grid->CellSize(2, 2), (TPoint{164, 48}));
    EXPECT_EQ(Grid->CellRect(3, 3), (TRect{228, 72, 292, 96}));
    // Off screen: outside the client area, not empty.
    const TRect far = Grid->CellRect(7, 39);
    EXPECT_EQ(far.Width(), 64);
    EXPECT_GT(far.Top, Grid->ClientHeight());
    Grid->SetTopRow(10);
    EXPECT_EQ(Grid->CellRect(1, 11), (TRect{64, 48, 128, 72}));
    EXPECT_EQ(Grid->CellRect(0, 11), (TRect{0, 48, 64, 72}));
    EXPECT_EQ(Grid->CellRect(1, 0), (TRect{64, 0, 128, 24}));
    EXPECT_LT(Grid->CellRect(1, 2).Top, 24);
}

TEST_F(BaseGridMerge, KeysMoveAcrossMergedAreasToTheBaseCell)
{
    Grid->SetColCount(8);
    Grid->SetRowCount(8);
    Grid->SetBounds(0, 0, 600, 300);
    Grid->MergeCells(2, 2, 3, 2);  // columns 2..4, rows 2..3
    Grid->SetCol(1);
    Grid->SetRow(2);
    Drv->PressKey(VK_RIGHT);
    EXPECT_EQ(Grid->Col(), 2);
    Drv->PressKey(VK_RIGHT);  // from the base over the area
    EXPECT_EQ(Grid->Col(), 5);
    Grid->SetCol(3);  // inside the area: moved to its base
    Grid->MoveToBaseCell();
    EXPECT_EQ(Grid->Col(), 2);
    Grid->SetRow(3);
    Grid->MoveToBaseCell();
    EXPECT_EQ(Grid->Row(), 2);
    Drv->PressKey(VK_DOWN);
    EXPECT_EQ(Grid->Row(), 4);
}

TEST_F(BaseGridMerge, PageDownAndWheelStopBeforeAHiddenLastRow)
{
    Grid->SetColCount(3);
    Grid->SetRowCount(4);  // all rows visible: 4 x 24 < 120
    Grid->SetHideLastRow(true);
    Grid->SetRow(1);
    Drv->PressKey(VK_NEXT);
    EXPECT_EQ(Grid->Row(), 2);
    // The wheel scrolls the grid one row on when the current row lies below
    // the visible rows.
    Grid->SetRowCount(20);
    Grid->SetRow(18);
    Grid->SetTopRow(1);
    Grid->DoMouseWheelDown(TShiftState(), TPoint{5, 5});
    EXPECT_EQ(Grid->TopRow(), 3);  // the platform's line and one more
    Grid->SetHideLastRow(false);
    Grid->SetTopRow(1);
    Grid->DoMouseWheelDown(TShiftState(), TPoint{5, 5});
    EXPECT_EQ(Grid->TopRow(), 2);
}
