// The grid's calculations over columns, rows, rectangles and the selection
// (grouped grids, merged cells, hidden rows and ranges past the row count
// included), the footer values they give, the selection's text and the
// test whether a cell is selected.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "controls/grid/VodGrid.h"
#include "platform/base/SysUtils.h"

namespace {

// A grid whose node rows the test names (the outline family answers them in
// the real grid).
class TCalcGrid : public TVodStringGrid {
public:
    explicit TCalcGrid(TComponent* o) : TVodStringGrid(o) {}
    std::set<Integer> Nodes;
    bool IsNode(Integer r) override { return Nodes.count(r) > 0; }
};

// Column 1 of rows 1.. holds the texts; row 0 is the fixed row.
void FillColumn(TVodStringGrid& g, Integer col, std::initializer_list<const wchar_t*> texts)
{
    g.SetRowCount(Integer(texts.size()) + 1);
    Integer r = 1;
    for (const wchar_t* t : texts) g.SetCellEx(col, r++, t);
}

}  // namespace

TEST(GridCalcTest, ColumnStatisticsSkipWhatIsNoNumber)
{
    TVodStringGrid g(nullptr);
    FillColumn(g, 1, {L"1", L"$2.50", L"", L"word"});
    EXPECT_DOUBLE_EQ(g.ColumnSum(1), 3.5);
    EXPECT_DOUBLE_EQ(g.ColumnAvg(1), 3.5 / 4);
    EXPECT_DOUBLE_EQ(g.ColumnMin(1), 0.0);
    EXPECT_DOUBLE_EQ(g.ColumnMax(1), 2.5);
    EXPECT_DOUBLE_EQ(g.ColumnCount(1, 2, 5), 4.0);
    EXPECT_DOUBLE_EQ(g.ColumnCount(1), 4.0);
    // A text that reads partly as a number does not count at all.
    g.SetCellEx(1, 3, L"1.2.3");
    EXPECT_DOUBLE_EQ(g.ColumnSum(1), 3.5);
    EXPECT_DOUBLE_EQ(g.ColumnSum(1, 2, 2), 2.5);
    EXPECT_DOUBLE_EQ(g.ColumnAvg(1, 3, 2), 0.0);
}

TEST(GridCalcTest, StandardDeviationIsThePopulationFormAndLetsAWordOut)
{
    TVodStringGrid g(nullptr);
    FillColumn(g, 2, {L"2", L"4", L"4", L"4", L"5", L"5", L"7", L"9"});
    EXPECT_DOUBLE_EQ(g.ColumnStdDev(2), 2.0);
    g.SetCellEx(2, 3, L"1.2.3");
    EXPECT_THROW(g.ColumnStdDev(2), EVodGridError);
    EXPECT_NO_THROW(g.ColumnSum(2));
}

TEST(GridCalcTest, DistinctValuesIgnoreCaseAndCountTheEmptyTextOnce)
{
    TVodStringGrid g(nullptr);
    FillColumn(g, 1, {L"a", L"A", L"b", L"", L""});
    EXPECT_DOUBLE_EQ(g.ColumnDistinct(1), 3.0);
}

TEST(GridCalcTest, GroupedGridsSkipVisibleNodeRowsButDivideByTheWholeRange)
{
    TCalcGrid g(nullptr);
    FillColumn(g, 1, {L"100", L"2", L"4", L"6"});
    g.Nodes = {1};
    // Ungrouped, the node row counts.
    EXPECT_DOUBLE_EQ(g.ColumnSum(1), 112.0);
    g.FGroupColumn = 0;   // grouped (the grouping family writes it through its setter)
    EXPECT_DOUBLE_EQ(g.ColumnSum(1), 12.0);
    EXPECT_DOUBLE_EQ(g.ColumnAvg(1), 3.0);
    // The extremes start from the first counted value, not the node's.
    EXPECT_DOUBLE_EQ(g.ColumnMax(1), 6.0);
    g.SetCellEx(1, 1, L"-100");
    EXPECT_DOUBLE_EQ(g.ColumnMin(1), 2.0);
    // Nothing counted gives 0.
    g.Nodes = {1, 2, 3, 4};
    EXPECT_DOUBLE_EQ(g.ColumnMin(1), 0.0);
    EXPECT_DOUBLE_EQ(g.ColumnMax(1), 0.0);
}

TEST(GridCalcTest, CoveredMergedCellsNeverCount)
{
    TVodStringGrid g(nullptr);
    g.SetColCount(4);
    FillColumn(g, 1, {L"1", L"2", L"4"});
    g.SetCellEx(2, 2, L"8");
    g.MergeCells(1, 2, 1, 2);   // rows 2 and 3 of column 1: row 3 is covered
    EXPECT_DOUBLE_EQ(g.ColumnSum(1), 3.0);
    g.SplitCells(1, 2);
    g.MergeCells(1, 2, 2, 1);   // columns 1 and 2 of row 2: column 2 is covered
    EXPECT_DOUBLE_EQ(g.RowSum(2, 1, 2), 2.0);
}

TEST(GridCalcTest, RangesReachingTheRowCountReadRealRowsAndStayInTheStore)
{
    TVodStringGrid g(nullptr);
    FillColumn(g, 1, {L"1", L"2", L"4", L"8"});
    g.HideRow(2);
    EXPECT_EQ(g.RowCount(), 4);
    // Display rows: the hidden 2 is left out.
    EXPECT_DOUBLE_EQ(g.ColumnSum(1), 13.0);
    // A range up to the row count (and far past it) reads real rows: every
    // value once, nothing read outside the grid.
    EXPECT_DOUBLE_EQ(g.ColumnSum(1, 1, g.RowCount()), 15.0);
    EXPECT_DOUBLE_EQ(g.ColumnSum(1, 1, 1000), 15.0);
    EXPECT_DOUBLE_EQ(g.ColumnMax(1, 1, 1000), 8.0);
    EXPECT_DOUBLE_EQ(g.ColumnDistinct(1, 1, 1000), 4.0);
    EXPECT_NO_THROW(g.ColumnStdDev(1, 1, 1000));
}

TEST(GridCalcTest, RowCalculations)
{
    TVodStringGrid g(nullptr);
    g.SetColCount(6);
    const wchar_t* texts[] = {L"", L"3", L"word", L"-1", L"7", L"1"};
    for (Integer c = 0; c < 6; ++c) g.SetCellEx(c, 1, texts[c]);
    g.SetCellEx(2, 1, L"x.y.z");   // does not read: skipped
    struct {
        Integer from, to;
        double sum, avg, mn, mx;
    } cases[] = {
        {1, 5, 10.0, 2.0, -1.0, 7.0},
        {1, 1, 3.0, 3.0, 3.0, 3.0},
        {3, 4, 6.0, 3.0, -1.0, 7.0},
        {4, 3, 0.0, 0.0, 0.0, 0.0},   // an empty range
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.from * 10 + k.to);
        EXPECT_DOUBLE_EQ(g.RowSum(1, k.from, k.to), k.sum);
        EXPECT_DOUBLE_EQ(g.RowAvg(1, k.from, k.to), k.avg);
        EXPECT_DOUBLE_EQ(g.RowMin(1, k.from, k.to), k.mn);
        EXPECT_DOUBLE_EQ(g.RowMax(1, k.from, k.to), k.mx);
    }
    // The skipped cell does not start the extremes either.
    EXPECT_DOUBLE_EQ(g.RowMin(1, 2, 4), -1.0);
}

TEST(GridCalcTest, RectanglesOrderTheirCornersAndLetAWordOut)
{
    TVodStringGrid g(nullptr);
    g.SetCellEx(1, 1, L"1");
    g.SetCellEx(2, 1, L"2");
    g.SetCellEx(1, 2, L"3");
    g.SetCellEx(2, 2, L"4");
    for (TGridRect r : {TGridRect{1, 1, 2, 2}, TGridRect{2, 2, 1, 1}, TGridRect{2, 1, 1, 2}}) {
        EXPECT_DOUBLE_EQ(g.RectAvg(r), 2.5);
        EXPECT_DOUBLE_EQ(g.RectSum(r), 10.0);
        EXPECT_DOUBLE_EQ(g.RectMin(r), 1.0);
        EXPECT_DOUBLE_EQ(g.RectMax(r), 4.0);
    }
    g.SetSelection({1, 1, 2, 2});
    EXPECT_DOUBLE_EQ(g.SelectionSum(), 10.0);
    EXPECT_DOUBLE_EQ(g.SelectionMax(), 4.0);
    g.SetCellEx(2, 2, L"1.2.3");
    EXPECT_THROW(g.RectSum({1, 1, 2, 2}), EVodGridError);
}

TEST(GridCalcTest, CustomCalculationsStartFromZero)
{
    TVodStringGrid g(nullptr);
    EXPECT_DOUBLE_EQ(g.ColumnCustomCalc(1, 1, 3), 0.0);
    std::vector<Integer> args;
    g.OnColumnCalc = [&](TObject*, Integer c, Integer f, Integer t, double& res) {
        args = {c, f, t};
        res += 42;
    };
    g.OnGroupCalc = [&](TObject*, Integer, Integer, Integer, double& res) { res += 7; };
    EXPECT_DOUBLE_EQ(g.ColumnCustomCalc(2, 1, 3), 42.0);
    EXPECT_EQ(args, (std::vector<Integer>{2, 1, 3}));
    EXPECT_DOUBLE_EQ(g.GroupCalcHandler(2, 1, 3), 7.0);
}

TEST(GridCalcTest, FooterRowTakesTheColumnCalculations)
{
    TVodStringGrid g(nullptr);
    g.SetColCount(8);
    g.SetRowCount(5);   // one fixed row, three normal rows, the footer row
    g.FloatingFooter()->SetVisible(true);
    const TColumnCalcType kinds[] = {acSUM, acAVG, acMIN, acMAX, acDISTINCT, acSTDDEV};
    for (Integer c = 1; c <= 6; ++c) {
        g.SetCellEx(c, 1, L"1");
        g.SetCellEx(c, 2, L"2");
        g.SetCellEx(c, 3, L"6");
        g.GetCellProperties(c, 4)->FCalcType = kinds[c - 1];
    }
    g.RecalcAllFooters();
    EXPECT_EQ(g.GetGridCell(1, 4), L"9.00");
    EXPECT_EQ(g.GetGridCell(2, 4), L"3.00");
    EXPECT_EQ(g.GetGridCell(3, 4), L"1.00");
    EXPECT_EQ(g.GetGridCell(4, 4), L"6.00");
    EXPECT_EQ(g.GetGridCell(5, 4), L"3.00");
    EXPECT_EQ(g.GetGridCell(6, 4), Format(L"%.2f", {Extended(std::sqrt(14.0 / 3.0))}));
    // A word in a standard deviation column leaves its footer as it was
    // instead of breaking the cell write that triggered the recalculation.
    g.SetCellEx(6, 2, L"1.2.3");
    EXPECT_NO_THROW(g.CellsChanged(TRect{6, 2, 6, 2}));
    EXPECT_EQ(g.GetGridCell(6, 4), Format(L"%.2f", {Extended(std::sqrt(14.0 / 3.0))}));
    g.SetCellEx(1, 1, L"10");
    g.RecalcFooter(1);
    EXPECT_EQ(g.GetGridCell(1, 4), L"18.00");
}

TEST(GridCalcTest, SelectedTextJoinsRowsAndWidensColumns)
{
    TVodStringGrid g(nullptr);
    g.SetColCount(4);
    g.SetRowCount(4);
    for (Integer c = 0; c < 4; ++c)
        for (Integer r = 0; r < 4; ++r) g.SetCellEx(c, r, IntToStr(c) + L"," + IntToStr(r));
    g.SetSelection({1, 1, 2, 2});
    EXPECT_EQ(g.SelectedText(), L"1,1\t2,1\r\n1,2\t2,2");
    g.DragDropSettings()->OleEntireRows = true;
    EXPECT_EQ(g.SelectedText(), L"0,1\t1,1\t2,1\t3,1\r\n0,2\t1,2\t2,2\t3,2");
    g.DragDropSettings()->OleEntireRows = false;
    // A hidden column is read through its real index, or added with
    // SaveHiddenCells.
    g.HideColumn(2);
    EXPECT_EQ(g.SelectedText(), L"1,1\t3,1\r\n1,2\t3,2");
    g.SetSaveHiddenCells(true);
    EXPECT_EQ(g.SelectedText(), L"1,1\t2,1\t3,1\r\n1,2\t2,2\t3,2");
}

TEST(GridCalcTest, SelectedTextOfRichAndMultiLineCells)
{
    TVodStringGrid g(nullptr);
    g.SetSelection({1, 1, 2, 1});
    g.SetCellEx(1, 1, L"{\\rtf1\\ansi plain {\\b bold}}");
    g.SetCellEx(2, 1, L"one\r\ntwo");
    g.SetMultilinecells(true);
    EXPECT_EQ(g.SelectedText(), L"plain bold\tone\r\ntwo");
    g.SetExcelClipboardFormat(true);
    EXPECT_EQ(g.SelectedText(), L"plain bold\t\"one\vtwo\"");
}

TEST(GridCalcTest, DisjunctRowsEachEndWithALineBreak)
{
    TVodStringGrid g(nullptr);
    g.SetRowCount(5);
    for (Integer r = 0; r < 5; ++r) g.SetCellEx(1, r, L"r" + IntToStr(r));
    g.MouseActions()->SetDisjunctRowSelect(true);
    g.SetSelection({1, 1, 1, 1});
    g.SetRowSelect(3, true);
    g.SetRowSelect(1, true);
    EXPECT_EQ(g.SelectedText(), L"r1\r\nr3\r\n");
}

TEST(GridCalcTest, FixedCellsAreNeverSelected)
{
    TVodStringGrid g(nullptr);
    g.SetColCount(5);
    g.SetRowCount(6);
    g.SetFixedFooters(1);
    g.SetFixedRightCols(1);
    g.SetSelection({1, 1, 3, 4});
    for (Integer c = 0; c < 5; ++c)
        for (Integer r = 0; r < 6; ++r) {
            const bool fixed = c == 0 || r == 0 || c == 4 || r == 5;
            const bool inside = c >= 1 && c <= 3 && r >= 1 && r <= 4;
            EXPECT_EQ(g.IsSelected(c, r), !fixed && inside) << c << "," << r;
        }
    g.MouseActions()->SetDisjunctCellSelect(true);
    g.SelectCells(2, 2, 3, 2);
    EXPECT_TRUE(g.IsSelected(2, 2));
    EXPECT_TRUE(g.IsSelected(3, 2));
    EXPECT_FALSE(g.IsSelected(1, 1));
    EXPECT_EQ(g.SelectedCellsCount(), 2);
    g.MouseActions()->SetDisjunctCellSelect(false);
    g.MouseActions()->SetDisjunctColSelect(true);
    g.SetColSelect(2, true);
    EXPECT_TRUE(g.IsSelected(2, 3));
    EXPECT_FALSE(g.IsSelected(1, 3));
    EXPECT_FALSE(g.IsSelected(2, 0));
}

TEST(GridCalcTest, SelectCellsMovesTheCurrentCellOrSetsTheRectangle)
{
    TVodStringGrid g(nullptr);
    g.SetColCount(5);
    g.SetRowCount(5);
    g.SelectCells(2, 3, 2, 3);
    EXPECT_EQ(g.Col(), 2);
    EXPECT_EQ(g.Row(), 3);
    EXPECT_EQ(g.Selection(), (TGridRect{2, 3, 2, 3}));
    g.SelectCells(1, 1, 3, 2);
    EXPECT_EQ(g.Selection(), (TGridRect{1, 1, 3, 2}));
}
