// Merging runs of equal texts by column and by row, with and without the
// merges of other columns as a frame, and the splits.
#include <gtest/gtest.h>

#include <vector>

#include "controls/grid/VodGrid.h"
#include "tests/controls/grid/StringGridFixture.h"

namespace {

class VodGridMerge : public TStringGridFixture<TVodStringGrid> {
protected:
    // Column c from row 1 on gets the texts.
    void FillCol(Integer c, const std::vector<const wchar_t*>& v)
    {
        Grid->SetRowCount(Integer(v.size()) + 1);
        for (size_t i = 0; i < v.size(); ++i) Grid->SetCells(c, Integer(i) + 1, v[i]);
    }
    // The vertical span of every row of column c, from row 0.
    std::vector<Integer> SpansY(Integer c)
    {
        std::vector<Integer> s;
        for (Integer r = 0; r < Grid->RowCount(); ++r) s.push_back(Grid->IsBaseCell(c, r) ? Grid->CellSpan(c, r).Y : -9);
        return s;
    }
};

}  // namespace

TEST_F(VodGridMerge, ColumnRunsMergeWithMainMerge)
{
    FillCol(1, {L"A", L"A", L"B", L"B", L"B", L"C"});
    Grid->MergeColumnCells(1, true);
    // Rows 1-2 and 3-5 merged; row 6 alone; covered cells are not base cells.
    EXPECT_EQ(SpansY(1), (std::vector<Integer>{0, 1, -9, 2, -9, -9, 0}));
    EXPECT_EQ(Grid->BaseCell(1, 5), (TPoint{1, 3}));
    EXPECT_FALSE(Grid->IsMergedCell(1, 6));
    EXPECT_EQ(Grid->MergeCount(), 2);
}

TEST_F(VodGridMerge, WithoutMainMergeRunsStayInsideOtherColumnsMerges)
{
    FillCol(1, {L"x", L"x", L"x", L"y"});
    for (Integer r = 1; r <= 4; ++r) Grid->SetCells(2, r, L"same");
    // No merges elsewhere: nothing merges.
    Grid->MergeColumnCells(2, false);
    EXPECT_EQ(Grid->MergeCount(), 0);
    // Column 1 merged first: column 2 merges only within rows 1-3.
    Grid->MergeColumnCells(1, true);
    Grid->MergeColumnCells(2, false);
    EXPECT_EQ(SpansY(2), (std::vector<Integer>{0, 2, -9, -9, 0}));
}

TEST_F(VodGridMerge, FooterRowsAreLeftOut)
{
    FillCol(1, {L"A", L"A", L"A"});
    Grid->SetFixedFooters(1);
    Grid->MergeColumnCells(1, true);
    EXPECT_EQ(Grid->CellSpan(1, 1).Y, 1);  // rows 1-2 only
    EXPECT_FALSE(Grid->IsMergedCell(1, 3));
}

TEST_F(VodGridMerge, RowRunsMergeAndSplit)
{
    Grid->SetColCount(6);
    const wchar_t* t[] = {L"h", L"A", L"A", L"A", L"B", L"B"};
    for (Integer c = 0; c < 6; ++c) Grid->SetCells(c, 2, t[c]);
    Grid->MergeRowCells(2, true);
    EXPECT_EQ(Grid->CellSpan(1, 2).X, 2);
    EXPECT_EQ(Grid->CellSpan(4, 2).X, 1);
    EXPECT_EQ(Grid->BaseCell(3, 2), (TPoint{1, 2}));
    // The split loop stops one column short of the last: the B pair, which
    // starts at the last column but one, is still reached.
    Grid->SplitRowCells(2);
    for (Integer c = 0; c < 6; ++c) EXPECT_FALSE(Grid->IsMergedCell(c, 2)) << c;
    EXPECT_EQ(Grid->GetCellEx(3, 2), L"A");
}

TEST_F(VodGridMerge, SplitColumnAndSplitAll)
{
    Grid->SetRowCount(7);
    Grid->MergeCells(1, 2, 1, 3);  // rows 2 to 4
    Grid->MergeCells(2, 1, 2, 2);
    Grid->SplitColumnCells(1);
    for (Integer r = 0; r < 7; ++r) EXPECT_FALSE(Grid->IsYMergedCell(1, r)) << r;
    EXPECT_TRUE(Grid->IsMergedCell(2, 1));
    Grid->MergeCells(0, 5, 4, 1);
    Grid->SplitAllCells();
    for (Integer r = 0; r < Grid->RowCount(); ++r)
        for (Integer c = 0; c < Grid->ColCount(); ++c) EXPECT_FALSE(Grid->IsMergedCell(c, r)) << c << "," << r;
}
