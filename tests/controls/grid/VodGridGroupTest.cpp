// Grouping: header rows and nodes per run, summary rows, the grouped column
// taken out and given back exactly, merged and coloured group rows, the
// group-column property, a second level, and the group counts.
#include <gtest/gtest.h>

#include <functional>
#include <tuple>
#include <vector>

#include "controls/grid/VodGrid.h"
#include "platform/base/SysUtils.h"
#include "tests/controls/grid/StringGridFixture.h"

namespace {

class VodGridGroup : public TStringGridFixture<TVodStringGrid> {
protected:
    void SetUp() override
    {
        TStringGridFixture<TVodStringGrid>::SetUp();
        Grid->SortSettings()->AutoSortForGrouping = false;
    }
    // Header row, then rows of (column 1, the grouped column 2, column 3).
    void Fill(const std::vector<const wchar_t*>& Groups)
    {
        Grid->SetColCount(4);
        Grid->SetRowCount(Integer(Groups.size()) + 1);
        Grid->SetCells(1, 0, L"Name");
        Grid->SetCells(2, 0, L"Kind");
        Grid->SetCells(3, 0, L"Size");
        for (size_t i = 0; i < Groups.size(); ++i) {
            const Integer r = Integer(i) + 1;
            Grid->SetCells(1, r, L"n" + IntToStr(r));
            Grid->SetCells(2, r, Groups[i]);
            Grid->SetCells(3, r, IntToStr(r * 10));
        }
    }
    std::vector<String> Column(Integer c)
    {
        std::vector<String> v;
        for (Integer r = 0; r < Grid->RowCount(); ++r) v.push_back(Grid->GetGridCell(c, r));
        return v;
    }
    // Everything UnGroup has to give back: texts, blocks with their colours,
    // widths, merges.
    struct TSnapshot {
        std::vector<std::tuple<Integer, Integer, String, bool, TColor>> Cells;
        std::vector<Integer> Widths, Heights;
        Integer Merges = 0;
        bool operator==(const TSnapshot&) const = default;
    };
    TSnapshot Snap()
    {
        TSnapshot s;
        for (Integer r = 0; r < Grid->RowCount(); ++r)
            for (Integer c = 0; c < Grid->ColCount(); ++c)
                s.Cells.emplace_back(c, r, Grid->GetGridCell(c, r), Grid->HasCellProperties(c, r), Grid->Colors(c, r));
        for (Integer c = 0; c < Grid->ColCount(); ++c) s.Widths.push_back(Grid->ColWidths(c));
        for (Integer r = 0; r < Grid->RowCount(); ++r) s.Heights.push_back(Grid->RowHeights(r));
        s.Merges = Grid->MergeCount();
        return s;
    }
};

}  // namespace

TEST_F(VodGridGroup, HeaderRowsAndNodesPerRun)
{
    Fill({L"A", L"A", L"B", L"B", L"C"});
    Grid->Group(2);
    EXPECT_EQ(Grid->GroupColumn(), 2);
    EXPECT_EQ(Grid->ColCount(), 3);
    EXPECT_EQ(Column(1), (std::vector<String>{L"Name", L"A", L"n1", L"n2", L"B", L"n3", L"n4", L"C", L"n5"}));
    EXPECT_EQ(Column(2), (std::vector<String>{L"Size", L"", L"10", L"20", L"", L"30", L"40", L"", L"50"}));
    const std::vector<std::pair<Integer, Integer>> nodes{{1, 3}, {4, 3}, {7, 2}};
    for (auto [row, span] : nodes) {
        EXPECT_TRUE(Grid->IsNode(row)) << row;
        EXPECT_EQ(Grid->GetNodeSpan(row), span) << row;
    }
    EXPECT_EQ(Grid->NodeCount(), 3);
    EXPECT_EQ(Grid->Row(), 1);
}

TEST_F(VodGridGroup, SummaryRowAfterEveryGroupOutsideItsNode)
{
    Fill({L"A", L"A", L"B", L"C", L"C"});
    Grid->Grouping()->SetSummary(true);
    Grid->Grouping()->SetSummaryColor(clYellow);
    Grid->Group(2);
    // H A A S H B S H C C S
    std::vector<bool> summary, node;
    for (Integer r = 1; r < Grid->RowCount(); ++r) {
        summary.push_back(Grid->IsSummary(r));
        node.push_back(Grid->IsNode(r));
    }
    EXPECT_EQ(summary, (std::vector<bool>{0, 0, 0, 1, 0, 0, 1, 0, 0, 0, 1}));
    EXPECT_EQ(node, (std::vector<bool>{1, 0, 0, 0, 1, 0, 0, 1, 0, 0, 0}));
    EXPECT_EQ(Grid->GetNodeSpan(1), 3);
    EXPECT_EQ(Grid->GetNodeSpan(5), 2);
    EXPECT_EQ(Grid->Colors(2, 4), clYellow);
    EXPECT_EQ(Grid->Colors(2, 3), clNone);
}

TEST_F(VodGridGroup, GroupThenUnGroupGivesTheGridBackExactly)
{
    Fill({L"A", L"A", L"B", L"B", L"B", L"C"});
    Grid->SetFixedFooters(1);
    Grid->SetCells(2, 6, L"total");
    Grid->SetColWidths(2, 77);
    Grid->SetColWidths(3, 55);
    Grid->SetColors(3, 2, clRed);
    Grid->SetFontColors(1, 4, clBlue);
    Grid->MergeCells(1, 4, 1, 2);
    Grid->SetRowHeights(3, 31);
    const TSnapshot before = Snap();
    struct TCase {
        bool Summary, MergeHeader, MergeSummary;
    } cases[] = {{false, false, false}, {true, false, false}, {true, true, true}, {false, true, false}};
    for (const TCase& c : cases) {
        Grid->Grouping()->SetSummary(c.Summary);
        Grid->Grouping()->SetMergeHeader(c.MergeHeader);
        Grid->Grouping()->SetMergeSummary(c.MergeSummary);
        Grid->Grouping()->SetHeaderColor(clLime);
        Grid->Grouping()->SetSummaryColor(clAqua);
        Grid->Grouping()->SetSummaryTextColor(clGreen);
        Grid->Group(2);
        EXPECT_EQ(Grid->ColCount(), 3);
        EXPECT_EQ(Grid->GroupWidth(), 77);
        EXPECT_EQ(Grid->GroupCaption(), L"Kind");
        EXPECT_EQ(Grid->GroupFooter(), L"total");
        Grid->UnGroup();
        EXPECT_EQ(Grid->GroupColumn(), -1);
        EXPECT_TRUE(Snap() == before) << c.Summary << c.MergeHeader << c.MergeSummary;
        EXPECT_EQ(Grid->NodeCount(), 0);
    }
    // Grouping again ungroups first; writing -1 ungroups, 0 does nothing.
    Grid->SetGroupColumn(2);
    Grid->SetGroupColumn(2);
    EXPECT_EQ(Grid->GroupColumn(), 2);
    EXPECT_EQ(Grid->NodeCount(), 2);
    Grid->SetGroupColumn(0);
    EXPECT_EQ(Grid->GroupColumn(), 2);
    Grid->SetGroupColumn(-1);
    EXPECT_TRUE(Snap() == before);
}

TEST_F(VodGridGroup, GroupingByColumnOneKeepsHeaderTextsInColumnOne)
{
    Fill({L"A", L"A", L"B"});
    // Column 1 holds n1..n3: make them two runs.
    Grid->SetCells(1, 2, L"n1");
    Grid->Group(1);
    EXPECT_EQ(Column(1), (std::vector<String>{L"Kind", L"n1", L"A", L"A", L"n3", L"B"}));
    Grid->UnGroup();
    EXPECT_EQ(Column(1), (std::vector<String>{L"Name", L"n1", L"n1", L"n3"}));
    EXPECT_EQ(Column(2), (std::vector<String>{L"Kind", L"A", L"A", L"B"}));
}

TEST_F(VodGridGroup, MergedHeaderAndSummaryRows)
{
    Fill({L"A", L"B", L"B"});
    Grid->Grouping()->SetSummary(true);
    Grid->Grouping()->SetMergeHeader(true);
    Grid->Grouping()->SetMergeSummary(true);
    Grid->Grouping()->SetHeaderColor(clLime);
    Grid->Grouping()->SetSummaryColor(clAqua);
    Grid->Group(2);
    // H A S H B B S: header and summary rows merged from column 1 over the
    // remaining columns, the colours on the base cell only.
    for (Integer r : {1, 4}) {
        EXPECT_EQ(Grid->CellSpan(1, r).X, 1) << r;
        EXPECT_EQ(Grid->Colors(1, r), clLime);
    }
    for (Integer r : {3, 7}) {
        EXPECT_EQ(Grid->CellSpan(1, r).X, 1) << r;
        EXPECT_EQ(Grid->Colors(1, r), clAqua);
    }
    EXPECT_FALSE(Grid->IsMergedCell(1, 2));
    EXPECT_EQ(Grid->MergeCount(), 4);
    // A column move of the grouped grid keeps the group rows merged whole.
    Grid->MoveColumn(1, 2);
    EXPECT_EQ(Grid->CellSpan(1, 4).X, 1);
    EXPECT_EQ(Grid->BaseCell(2, 4), (TPoint{1, 4}));
    EXPECT_EQ(Grid->MergeCount(), 4);
}

TEST_F(VodGridGroup, ExpandOneLeavesOnlyTheFirstGroupOpen)
{
    Fill({L"A", L"A", L"B", L"B", L"C"});
    Grid->CellNode()->SetExpandOne(true);
    Grid->Group(2);
    EXPECT_FALSE(Grid->GetNodeState(1));
    EXPECT_TRUE(Grid->GetNodeState(4));
    EXPECT_TRUE(Grid->GetNodeState(5));
    EXPECT_EQ(Grid->RowCount(), 6);
    Grid->UnGroup();
    EXPECT_EQ(Grid->RowCount(), 6);
    EXPECT_TRUE(Grid->CellNode()->ExpandOne());
    EXPECT_EQ(Column(2), (std::vector<String>{L"Kind", L"A", L"A", L"B", L"B", L"C"}));
}

TEST_F(VodGridGroup, GroupCountAndCustomCalcSkipCollapsedGroups)
{
    Fill({L"A", L"A", L"A", L"B", L"B"});
    Grid->Grouping()->SetSummary(true);
    Grid->Group(2);
    // H A A A S H B B S; the second group collapsed.
    Grid->ContractNode(Grid->RealRowIndex(6));
    Grid->GroupCount(2);
    EXPECT_EQ(Grid->GetGridCell(2, 5), L"3");
    EXPECT_EQ(Grid->GetGridCell(2, 7), L"");
    Grid->ExpandNode(Grid->RealRowIndex(6));
    Grid->OnGroupCalc = [](TObject*, Integer, Integer from, Integer to, double& res) { res = from * 100 + to + 0.5; };
    Grid->GroupCustomCalc(1);
    EXPECT_EQ(Grid->GetGridCell(1, 5), L"204.50");
    EXPECT_EQ(Grid->GetGridCell(1, 9), L"708.50");
    // Without summaries the header row takes the figure.
    Grid->UnGroup();
    Grid->Grouping()->SetSummary(false);
    Grid->Group(2);
    Grid->GroupCount(2);
    EXPECT_EQ(Grid->GetGridCell(2, 1), L"3");
    EXPECT_EQ(Grid->GetGridCell(2, 5), L"2");
}

TEST_F(VodGridGroup, GroupFiguresPerMethod)
{
    // Sizes 10, 20, 40 (group A) and 40, 50 (group B).
    Fill({L"A", L"A", L"A", L"B", L"B"});
    Grid->SetCells(3, 3, L"40");
    Grid->Grouping()->SetSummary(true);
    Grid->Group(2);
    TVodStringGrid* g = Grid;
    struct TCase {
        std::function<void()> Op;
        const wchar_t *A, *B;
    } cases[] = {
        {[g] { g->GroupSum(2); }, L"70.00", L"90.00"},   {[g] { g->GroupAvg(2); }, L"23.33", L"45.00"},
        {[g] { g->GroupMin(2); }, L"10.00", L"40.00"},   {[g] { g->GroupMax(2); }, L"40.00", L"50.00"},
        {[g] { g->GroupCount(2); }, L"3", L"2"},         {[g] { g->GroupDistinct(2); }, L"3.00", L"2.00"},
        {[g] { g->GroupStdDev(2); }, L"12.47", L"5.00"},
    };
    for (const TCase& c : cases) {
        c.Op();
        EXPECT_EQ(Grid->GetGridCell(2, 5), c.A);
        EXPECT_EQ(Grid->GetGridCell(2, 9), c.B);
    }
}

TEST_F(VodGridGroup, SubGroupAddsASecondLevelAndSubUnGroupTakesItAway)
{
    // Kind A with sizes x, x, y; kind B with z.
    Fill({L"A", L"A", L"A", L"B"});
    Grid->SetCells(3, 1, L"x");
    Grid->SetCells(3, 2, L"x");
    Grid->SetCells(3, 3, L"y");
    Grid->SetCells(3, 4, L"z");
    Grid->Group(2);  // H(A) n1 n2 n3 H(B) n4; columns: 0, Name, Size
    const std::vector<String> grouped1 = Column(1), grouped2 = Column(2);
    Grid->SubGroup(1);
    // Sub-headers carry the Name texts in column 2; the names below are
    // emptied.
    EXPECT_TRUE(Grid->IsNode(2));
    EXPECT_EQ(Grid->GetGridCell(2, 2), L"n1");
    EXPECT_GT(Grid->GetNodeLevel(2), Grid->GetNodeLevel(1));
    EXPECT_GT(Grid->RowCount(), 7);
    Grid->SubUnGroup(1);
    EXPECT_EQ(Column(1), grouped1);
    EXPECT_EQ(Column(2), grouped2);
}

TEST_F(VodGridGroup, RowsAreSortedByTheGroupedColumnFirst)
{
    Fill({L"B", L"A", L"C", L"A", L"B"});
    Grid->SortSettings()->AutoSortForGrouping = true;
    Grid->Group(2);
    // Three groups in order, each with its rows.
    EXPECT_EQ(Grid->NodeCount(), 3);
    std::vector<String> headers;
    for (Integer r = 1; r < Grid->RowCount(); ++r)
        if (Grid->IsNode(r)) headers.push_back(Grid->GetGridCell(1, r));
    EXPECT_EQ(headers, (std::vector<String>{L"A", L"B", L"C"}));
    EXPECT_EQ(Grid->GetNodeSpan(1), 3);
    EXPECT_EQ(Grid->SortSettings()->Column, 2);
}
