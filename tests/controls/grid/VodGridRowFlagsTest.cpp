// Row and column selection flags with their events, refusals and the three
// "invalid" messages; the order of the selected rows; modified and enabled
// rows; navigation, cell swaps and the distinct values of a column.
#include <gtest/gtest.h>

#include <memory>

#include "controls/grid/VodGrid.h"
#include "platform/base/SysUtils.h"

namespace {

String MessageOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const EVodGridError& e) {
        return e.Message();
    }
    return L"(none)";
}

}  // namespace

TEST(GridRowFlagsTest, RowFlagEventsFireOncePerChangeAndMayRefuse)
{
    TVodStringGrid g(nullptr);
    g.SetRowCount(10);
    g.MouseActions()->SetDisjunctRowSelect(true);
    std::vector<String> log;
    bool allow = true;
    g.OnRowDisjunctSelect = [&](TObject*, Integer r, bool s, bool& a) {
        log.push_back(L"before " + IntToStr(r) + (s ? L" on" : L" off"));
        a = allow;
    };
    g.OnRowDisjunctSelected = [&](TObject*, Integer r) { log.push_back(L"after " + IntToStr(r)); };
    g.SetRowSelect(5, true);
    EXPECT_TRUE(g.RowSelMod());
    g.SetRowSelect(5, true);
    EXPECT_FALSE(g.RowSelMod());
    EXPECT_EQ(log, (std::vector<String>{L"before 5 on", L"after 5"}));
    EXPECT_TRUE(g.RowSelect(5));
    log.clear();
    allow = false;
    g.SetRowSelect(5, false);
    EXPECT_TRUE(g.RowSelect(5));
    g.SetRowSelect(3, true);
    EXPECT_FALSE(g.RowSelect(3));
    EXPECT_EQ(log, (std::vector<String>{L"before 5 off", L"before 3 on"}));
    // A row past the end of the flag list is a change too.
    allow = true;
    log.clear();
    g.SetRowSelect(9, true);
    EXPECT_EQ(log, (std::vector<String>{L"before 9 on", L"after 9"}));
    EXPECT_EQ(g.RowSelectCount(), 2);
}

TEST(GridRowFlagsTest, SelectedRowsKeepTheirSelectionOrder)
{
    TVodStringGrid g(nullptr);
    g.SetRowCount(10);
    g.MouseActions()->SetDisjunctRowSelect(true);
    for (Integer r : {7, 2, 0, 5}) g.SetRowSelect(r, true);
    // Fixed rows carry a flag but are not listed.
    ASSERT_EQ(g.SelectedRowCount(), 3);
    EXPECT_EQ(g.GetSelectedRow(0), 7);
    EXPECT_EQ(g.GetSelectedRow(1), 2);
    EXPECT_EQ(g.GetSelectedRow(2), 5);
    g.SetRowSelect(2, false);
    EXPECT_EQ(g.GetSelectedRow(1), 5);
    std::vector<Integer> cleared;
    g.OnRowDisjunctSelected = [&](TObject*, Integer r) { cleared.push_back(r); };
    g.ResetRowSelection();
    EXPECT_EQ(cleared, (std::vector<Integer>{0, 5, 7}));
    EXPECT_EQ(g.SelectedRowCount(), 0);
    EXPECT_EQ(g.RowSelectCount(), 0);
}

TEST(GridRowFlagsTest, RangesOfRowsAndColumns)
{
    TVodStringGrid g(nullptr);
    g.SetRowCount(10);
    g.SetColCount(6);
    g.SelectRows(8, 5);
    EXPECT_EQ(g.Selection(), (TGridRect{1, 8, 5, 9}));
    EXPECT_EQ(g.RowSelectCount(), 0);   // whole-row selection is off
    g.SetOptions(g.Options() + TGridOptions{goRowSelect});
    EXPECT_EQ(g.RowSelectCount(), 2);
    g.SetOptions(g.Options() - TGridOptions{goRowSelect});
    g.SelectCols(2, 2);
    EXPECT_EQ(g.Selection(), (TGridRect{2, 1, 3, 9}));
    EXPECT_EQ(g.ColSelectCount(), 2);

    g.MouseActions()->SetDisjunctRowSelect(true);
    g.SelectRows(8, 5);
    for (Integer r = 0; r < 10; ++r) EXPECT_EQ(g.RowSelect(r), r >= 8) << r;
    g.UnSelectRows(9, 3);
    EXPECT_TRUE(g.RowSelect(8));
    EXPECT_FALSE(g.RowSelect(9));

    g.MouseActions()->SetDisjunctColSelect(true);
    g.SelectCols(4, 5);
    EXPECT_EQ(g.ColSelectCount(), 2);
    EXPECT_TRUE(g.ColSelect(5));
    g.UnSelectCols(5, 1);
    EXPECT_FALSE(g.ColSelect(5));
    std::vector<Integer> cleared;
    g.OnColDisjunctSelected = [&](TObject*, Integer c) { cleared.push_back(c); };
    g.ClearColSelect();
    EXPECT_EQ(cleared, (std::vector<Integer>{4}));
}

TEST(GridRowFlagsTest, InvalidIndexesRaiseTheirOwnMessages)
{
    TVodStringGrid g(nullptr);
    g.SetRowCount(5);
    g.SetColCount(4);
    g.HideColumn(2);
    EXPECT_EQ(MessageOf([&] { g.GetRowSelect(5); }), L"Invalid row 5 accessed");
    EXPECT_EQ(MessageOf([&] { g.GetRowSelect(-1); }), L"Invalid row -1 accessed");
    EXPECT_EQ(MessageOf([&] { g.SetRowSelect(-1, true); }), L"Invalid row accessed");
    EXPECT_EQ(MessageOf([&] { g.SetRowSelect(5, true); }), L"Invalid row accessed");
    EXPECT_EQ(MessageOf([&] { g.GetColSelect(g.ColCount() + g.NumHiddenColumns()); }), L"Invalid column accessed");
    EXPECT_EQ(MessageOf([&] { g.GetColSelect(g.ColCount()); }), L"(none)");
    EXPECT_EQ(MessageOf([&] { g.SetColSelect(g.ColCount(), true); }), L"Invalid column accessed");
    // Persistent row selection reads any row.
    g.MouseActions()->SetRowSelectPersistent(true);
    EXPECT_EQ(MessageOf([&] { g.GetRowSelect(50); }), L"(none)");
}

TEST(GridRowFlagsTest, SyncingFlagsFromTheSelection)
{
    TVodStringGrid g(nullptr);
    g.SetRowCount(8);
    g.SetColCount(5);
    g.MouseActions()->SetDisjunctRowSelect(true);
    g.SetRowSelect(6, true);
    g.SetSelection({1, 2, 1, 3});
    EXPECT_TRUE(g.SyncRowSelectFromSelection(false));
    EXPECT_TRUE(g.RowSelect(2));
    EXPECT_TRUE(g.RowSelect(3));
    EXPECT_TRUE(g.RowSelect(6));
    // The same top row again: nothing to do.
    EXPECT_FALSE(g.SyncRowSelectFromSelection(true));
    g.SetSelection({1, 4, 1, 4});
    EXPECT_TRUE(g.SyncRowSelectFromSelection(true));
    for (Integer r = 1; r < 8; ++r) EXPECT_EQ(g.RowSelect(r), r == 4) << r;

    g.MouseActions()->SetDisjunctColSelect(true);
    g.SetColSelect(4, true);
    g.SetSelection({2, 1, 3, 1});
    g.SyncColSelectFromSelection(false);
    EXPECT_TRUE(g.ColSelect(2) && g.ColSelect(3) && g.ColSelect(4));
    g.SyncColSelectFromSelection(true);
    EXPECT_FALSE(g.ColSelect(4));
}

TEST(GridRowFlagsTest, ModifiedAndEnabledRows)
{
    TVodStringGrid g(nullptr);
    g.SetRowCount(6);
    EXPECT_FALSE(g.GetRowModified(3));
    g.SetRowModified(3, true);
    g.SetRowModified(5, true);
    g.SetRowModified(5, false);
    EXPECT_TRUE(g.GetRowModified(3));
    EXPECT_EQ(g.ModifiedRowCount(), 1);

    EXPECT_FALSE(g.UseEnabledRows());
    g.SetRow(1);
    g.SetRowEnabled(2, false);
    g.SetRowEnabled(1, false);
    EXPECT_TRUE(g.UseEnabledRows());
    // The current row moved to the first other enabled row.
    EXPECT_EQ(g.Row(), 3);
    EXPECT_FALSE(g.GetRowEnabled(1));
    EXPECT_TRUE(g.GetRowEnabled(4));
    g.SetRowEnabled(1, true);
    EXPECT_TRUE(g.GetRowEnabled(1));
    EXPECT_TRUE(g.UseEnabledRows());
    EXPECT_EQ(g.Row(), 3);
}

TEST(GridRowFlagsTest, NavigationAndSwappingCells)
{
    TVodStringGrid g(nullptr);
    g.SetRowCount(6);
    g.SetColCount(5);
    g.GotoCell(3, 4);
    EXPECT_EQ(g.Col(), 3);
    EXPECT_EQ(g.Row(), 4);
    g.FocusCell(2, 2);
    EXPECT_EQ(g.Selection(), (TGridRect{2, 2, 2, 2}));
    g.MoveToCell(1, 3);
    EXPECT_EQ(g.Col(), 1);
    EXPECT_EQ(g.Row(), 3);
    g.SelectRange(1, 3, 2, 4);
    EXPECT_EQ(g.Selection(), (TGridRect{1, 2, 3, 4}));

    g.SetCellEx(1, 1, L"a");
    g.SetCellEx(2, 2, L"b");
    g.GetCellProperties(1, 1)->SetBrushColor(clRed);
    TCellProperties* block = g.CellPropertiesOf(1, 1);
    g.SwapCells({1, 1}, {2, 2});
    EXPECT_EQ(g.GetGridCell(1, 1), L"b");
    EXPECT_EQ(g.GetGridCell(2, 2), L"a");
    EXPECT_EQ(g.CellPropertiesOf(2, 2), block);
    EXPECT_EQ(g.CellPropertiesOf(1, 1), nullptr);
}

TEST(GridRowFlagsTest, DistinctValuesIncludeHiddenRows)
{
    TVodStringGrid g(nullptr);
    g.SetRowCount(6);
    const wchar_t* texts[] = {L"b", L"a", L"B", L"c", L" a "};
    for (Integer r = 1; r <= 5; ++r) g.SetCellEx(1, r, texts[r - 1]);
    g.HideRow(4);   // c
    std::unique_ptr<TStrings> v(g.DistinctValues(1, false));
    ASSERT_EQ(v->Count(), 4);
    EXPECT_EQ(v->Strings(0), L" a ");   // shown rows keep their blanks
    EXPECT_EQ(v->Strings(1), L"a");
    EXPECT_EQ(v->Strings(2), L"b");
    EXPECT_EQ(v->Strings(3), L"c");
    // With case, values that differ only in case stay apart.
    std::unique_ptr<TStrings> w(g.DistinctValues(1, true));
    EXPECT_EQ(w->Count(), 5);
    EXPECT_GE(w->IndexOf(L"B"), 0);
    EXPECT_GE(w->IndexOf(L"b"), 0);
}
