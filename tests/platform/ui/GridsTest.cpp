// The class library's string grid: layout and hit tests as tables, keys and
// mouse selection, sizing and moving lines with their notifications, the
// thumb mapping, the sparse store's rules, the editor cycle and painting of
// visible cells only.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "platform/base/SysUtils.h"
#include "platform/gfx/Gdi.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Grids.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Headless.h"

namespace {

// A grid that logs its notifications and opens its protected lines.
class TLogGrid : public TStringGrid {
public:
    explicit TLogGrid(TComponent* o) : TStringGrid(o) {}
    std::vector<String> Log;
    std::vector<TGridCoord> Drawn;
    TGridCoord Veto{-1, -1};
    bool NoSizing = false;
    using TCustomGrid::DeleteColumn;
    using TCustomGrid::DeleteRow;
    using TCustomGrid::MoveColumn;
    using TCustomGrid::MoveRow;
    using TCustomGrid::FocusCell;

protected:
    void SizeChanged(Integer c, Integer r) override { Log.push_back(L"SizeChanged " + IntToStr(c) + L"," + IntToStr(r)); }
    void ColWidthsChanged() override
    {
        Log.push_back(L"ColWidthsChanged");
        TStringGrid::ColWidthsChanged();
    }
    void RowHeightsChanged() override
    {
        Log.push_back(L"RowHeightsChanged");
        TStringGrid::RowHeightsChanged();
    }
    void TopLeftChanged() override
    {
        Log.push_back(L"TopLeftChanged");
        TStringGrid::TopLeftChanged();
    }
    void ColumnMoved(Integer f, Integer t) override
    {
        Log.push_back(L"ColumnMoved " + IntToStr(f) + L"," + IntToStr(t));
        TStringGrid::ColumnMoved(f, t);
    }
    void RowMoved(Integer f, Integer t) override
    {
        Log.push_back(L"RowMoved " + IntToStr(f) + L"," + IntToStr(t));
        TStringGrid::RowMoved(f, t);
    }
    void CalcSizingState(Integer X, Integer Y, TGridState& State, Integer& Index, Integer& Pos, Integer& Ofs) override
    {
        TStringGrid::CalcSizingState(X, Y, State, Index, Pos, Ofs);
        if (NoSizing) State = gsNormal;
    }
    bool SelectCell(Integer c, Integer r) override
    {
        if (c == Veto.X && r == Veto.Y) return false;
        return TStringGrid::SelectCell(c, r);
    }
    void DrawCell(Integer c, Integer r, const TRect& rc, TGridDrawState st) override
    {
        Drawn.push_back({c, r});
        TStringGrid::DrawCell(c, r, rc, st);
    }
};

class GridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Drv = std::make_unique<THeadlessDriver>();
        InitForms();
        SetFixedMetricsFonts(true);
        Form = new TForm(Application);
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(0, 0, 600, 400);
        Grid = new TLogGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBorderStyle(bsNone);
        Grid->SetScrollBars(ssNone);
        // 5 columns of 64 and 5 rows of 24 with lines of 1: 325 x 125.
        Grid->SetBounds(0, 0, 300, 110);
        Form->Init();
        Form->Show();
        Grid->SetFocus();
        Grid->Log.clear();
    }
    void TearDown() override
    {
        DoneForms();
        Drv.reset();
        SetFixedMetricsFonts(false);
    }
    TPoint Screen(int x, int y) { return Grid->ClientToScreen({x, y}); }
    std::unique_ptr<THeadlessDriver> Drv;
    TForm* Form = nullptr;
    TLogGrid* Grid = nullptr;
};

}  // namespace

// ---------------------------------------------------------------------------
// Layout

TEST_F(GridTest, CellRectAndMouseToCellFollowSizesScrollingAndTheClient)
{
    Grid->SetColCount(8);
    Grid->SetRowCount(10);
    Grid->SetColWidths(2, 100);
    Grid->SetRowHeights(3, 40);
    struct Case {
        int topRow, leftCol, col, row;
        TRect rect;
    };
    const Case cases[] = {
        {1, 1, 0, 0, Rect(0, 0, 64, 24)},        // fixed corner
        {1, 1, 1, 1, Rect(65, 25, 129, 49)},
        {1, 1, 2, 1, Rect(130, 25, 230, 49)},     // own width
        {1, 1, 3, 1, Rect(231, 25, 295, 49)},
        {1, 1, 4, 1, Rect(296, 25, 300, 49)},     // partly visible: the visible part
        {1, 1, 5, 1, TRect{}},                     // right of the client
        {1, 1, 1, 3, Rect(65, 75, 129, 110)},     // own height, cut at the bottom
        {1, 1, 1, 4, TRect{}},
        {3, 2, 0, 3, Rect(0, 25, 64, 65)},        // fixed column follows the rows
        {3, 2, 2, 0, Rect(65, 0, 165, 24)},       // fixed row follows the columns
        {3, 2, 1, 1, TRect{}},                     // scrolled out
        {3, 2, 2, 4, Rect(65, 66, 165, 90)},
        {3, 2, -1, 1, TRect{}},
        {3, 2, 8, 1, TRect{}},
    };
    for (const Case& c : cases) {
        Grid->SetTopRow(c.topRow);
        Grid->SetLeftCol(c.leftCol);
        EXPECT_EQ(Grid->CellRect(c.col, c.row), c.rect) << c.col << "," << c.row << " top " << c.topRow;
    }

    struct Hit {
        int x, y, col, row;
    };
    Grid->SetTopRow(1);
    Grid->SetLeftCol(1);
    const Hit hits[] = {
        {0, 0, 0, 0},    {63, 23, 0, 0},  {64, 24, 0, 0},   // the grid line belongs to the cell before
        {65, 25, 1, 1},  {229, 30, 2, 1}, {230, 30, 2, 1},  {231, 30, 3, 1},
        {70, 109, 1, 3}, {299, 50, 4, 2}, {300, 50, -1, -1}, {70, 110, -1, -1},
        {-1, 5, -1, -1},
    };
    for (const Hit& h : hits) {
        TGridCoord c = Grid->MouseCoord(h.x, h.y);
        EXPECT_EQ(c.X, h.col) << h.x << "," << h.y;
        EXPECT_EQ(c.Y, h.row) << h.x << "," << h.y;
    }
    // Past the last column the cells end.
    Grid->SetColCount(3);
    EXPECT_EQ(Grid->MouseCoord(250, 30).X, -1);
    EXPECT_EQ(Grid->VisibleColCount(), 2);
}

TEST_F(GridTest, AxisPrefixSumsAgreeWithAWalkOverTheLines)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 20; ++round) {
        TGridAxis a;
        a.Count = 300;
        a.DefaultExtent = int(rng() % 30);
        a.LineWidth = int(rng() % 3);
        for (int k = 0; k < 25; ++k) a.SetExtent(int(rng() % 300), int(rng() % 50));
        Int64 pos = 0;
        for (int i = 0; i < a.Count; ++i) {
            ASSERT_EQ(a.Start(i), pos) << i;
            const Int64 next = pos + a.Extent(i) + a.LineWidth;
            for (Int64 p = pos; p < next; p += 1 + (next - pos) / 4) ASSERT_EQ(a.IndexAt(p), i) << "pos " << p;
            pos = next;
        }
        EXPECT_EQ(a.Start(a.Count), pos);
    }
}

TEST_F(GridTest, AMillionRowsLocateTheirEndWithoutAWalk)
{
    Grid->SetRowCount(1000000);
    Grid->SetRowHeights(10, 50);
    Grid->SetRowHeights(999998, 30);
    EXPECT_EQ(Grid->Log, (std::vector<String>{L"SizeChanged 5,5", L"RowHeightsChanged", L"RowHeightsChanged"}));
    // The bottom shows rows 999996..999999 (24, 24, 30, 24 with lines).
    Grid->SetBounds(0, 0, 300, 25 + 3 * 25 + 31);
    EXPECT_EQ(Grid->VisibleRowCount(), 4);
    Grid->Perform(WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(Grid->TopRow(), 999996);
    EXPECT_EQ(Grid->CellRect(1, 999998), Rect(65, 75, 129, 105));
    EXPECT_EQ(Grid->MouseCoord(70, 110).Y, 999999);
    Grid->FocusCell(1, 999999, true);
    EXPECT_EQ(Grid->Row(), 999999);
    Grid->SetTopRow(11);
    EXPECT_EQ(Grid->CellRect(1, 11), Rect(65, 25, 129, 49));
    Grid->SetTopRow(10);
    EXPECT_EQ(Grid->CellRect(1, 11), Rect(65, 76, 129, 100));
}

// ---------------------------------------------------------------------------
// Thumb and scrolling

TEST_F(GridTest, ThumbMapsLinearlyBothWays)
{
    struct Case {
        int value;
        bool toThumb;
        int count, visible, fixed, expect;
    };
    const Case cases[] = {
        {0, false, 1000, 10, 1, 1},         {127, false, 1000, 10, 1, 990},
        {64, false, 1000, 10, 1, 499},      {1, false, 1000, 10, 1, 9},
        {1, true, 1000, 10, 1, 0},          {990, true, 1000, 10, 1, 127},
        {500, true, 1000, 10, 1, 64},       {5, false, 10, 20, 1, 1},   // all fit
        {3, true, 10, 20, 1, 0},            {200, false, 1000, 10, 1, 990},  // clamped
    };
    for (const Case& c : cases)
        EXPECT_EQ(GridThumbMap(c.value, c.toThumb, c.count, c.visible, c.fixed), c.expect)
            << c.value << (c.toThumb ? " to thumb" : " to line");
    for (int p = 0; p <= kGridThumbMax; ++p)
        EXPECT_EQ(GridThumbMap(GridThumbMap(p, false, 1000000, 20, 1), true, 1000000, 20, 1), p);
}

TEST_F(GridTest, ScrollMessagesMoveByWholeLinesAndTheThumbByItsMapping)
{
    Grid->SetScrollBars(ssBoth);
    Grid->SetRowCount(1000000);
    Grid->SetColCount(30);
    Grid->Log.clear();
    const int vis = Grid->VisibleRowCount();
    Grid->Perform(WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(Grid->TopRow(), 2);
    Grid->Perform(WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(Grid->TopRow(), 2 + vis);
    Grid->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 127), 0);
    EXPECT_EQ(Grid->TopRow(), 1000000 - vis);
    EXPECT_EQ(GetScrollPos(Grid->Handle(), SB_VERT), 127);
    Grid->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 64), 0);
    EXPECT_EQ(Grid->TopRow(), GridThumbMap(64, false, 1000000, vis, 1));
    EXPECT_EQ(GetScrollPos(Grid->Handle(), SB_VERT), 64);
    // Tracking moves only with goThumbTracking.
    const int top = Grid->TopRow();
    Grid->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 10), 0);
    EXPECT_EQ(Grid->TopRow(), top);
    Grid->SetOptions(Grid->Options() + TGridOptions{goThumbTracking});
    Grid->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 10), 0);
    EXPECT_EQ(Grid->TopRow(), GridThumbMap(10, false, 1000000, vis, 1));
    Grid->Perform(WM_HSCROLL, SB_LINERIGHT, 0);
    EXPECT_EQ(Grid->LeftCol(), 2);
    Grid->Perform(WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(Grid->TopRow(), 1);
    EXPECT_EQ(std::count(Grid->Log.begin(), Grid->Log.end(), L"TopLeftChanged"), 7);
    // The wheel scrolls a row and answers that it handled the turn.
    EXPECT_TRUE(Grid->DoMouseWheelDown({}, {10, 10}));
    EXPECT_EQ(Grid->TopRow(), 2);
    EXPECT_TRUE(Grid->DoMouseWheelUp({}, {10, 10}));
    EXPECT_EQ(Grid->TopRow(), 1);
}

// ---------------------------------------------------------------------------
// Keys and mouse

TEST_F(GridTest, KeysMoveTheCurrentCellAndShiftExtendsTheSelection)
{
    Grid->SetColCount(6);
    Grid->SetRowCount(30);
    struct Step {
        Word key;
        std::initializer_list<Word> mods;
        int col, row;
    };
    const int vis = Grid->VisibleRowCount();
    const Step steps[] = {
        {VK_RIGHT, {}, 2, 1},       {VK_DOWN, {}, 2, 2},          {VK_LEFT, {}, 1, 2},
        {VK_LEFT, {}, 1, 2},        {VK_UP, {}, 1, 1},            {VK_UP, {}, 1, 1},
        {VK_END, {}, 5, 1},         {VK_HOME, {}, 1, 1},          {VK_END, {VK_CONTROL}, 5, 29},
        {VK_HOME, {VK_CONTROL}, 1, 1}, {VK_NEXT, {}, 1, 1 + vis}, {VK_PRIOR, {}, 1, 1},
    };
    for (const Step& s : steps) {
        Drv->PressKey(s.key, s.mods);
        EXPECT_EQ(Grid->Col(), s.col) << "key " << s.key;
        EXPECT_EQ(Grid->Row(), s.row) << "key " << s.key;
    }
    Drv->PressKey(VK_DOWN, {VK_SHIFT});
    Drv->PressKey(VK_RIGHT, {VK_SHIFT});
    EXPECT_EQ(Grid->Selection(), (TGridRect{1, 1, 2, 2}));
    Drv->PressKey(VK_DOWN);
    EXPECT_EQ(Grid->Selection(), (TGridRect{2, 3, 2, 3}));
    // Tab moves only with goTabs, wrapping to the next row.
    Grid->SetOptions(Grid->Options() + TGridOptions{goTabs});
    Grid->FocusCell(5, 3, true);
    Drv->PressKey(VK_TAB);
    EXPECT_EQ(Grid->Col(), 1);
    EXPECT_EQ(Grid->Row(), 4);
    Drv->PressKey(VK_TAB, {VK_SHIFT});
    EXPECT_EQ(Grid->Col(), 5);
    EXPECT_EQ(Grid->Row(), 3);
    // A vetoed cell stays unselected.
    Grid->Veto = {5, 4};
    Drv->PressKey(VK_DOWN);
    EXPECT_EQ(Grid->Row(), 3);
    // Whole rows with goRowSelect.
    Grid->SetOptions(Grid->Options() + TGridOptions{goRowSelect});
    Drv->PressKey(VK_UP);
    EXPECT_EQ(Grid->Selection(), (TGridRect{1, 2, 5, 2}));
}

TEST_F(GridTest, MouseSelectsACellAndDragsOrShiftClicksARange)
{
    Grid->SetColCount(6);
    Grid->SetRowCount(30);
    Drv->Click(Screen(150, 60));  // column 2, row 2
    EXPECT_EQ(Grid->Selection(), (TGridRect{2, 2, 2, 2}));
    Drv->Drag(Screen(80, 30), Screen(230, 80));  // (1,1) to (3,3)
    EXPECT_EQ(Grid->Selection(), (TGridRect{1, 1, 3, 3}));
    EXPECT_EQ(Grid->GridState(), gsNormal);
    Drv->KeyDown(VK_SHIFT);
    Drv->Click(Screen(150, 100));  // (2,4) with the anchor kept
    Drv->KeyUp(VK_SHIFT);
    EXPECT_EQ(Grid->Selection(), (TGridRect{1, 1, 2, 4}));
    // Row 4 showed only in part: the grid scrolled it in.
    EXPECT_EQ(Grid->TopRow(), 2);
    // Without goRangeSelect the single selected cell follows the drag.
    Grid->SetOptions(Grid->Options() - TGridOptions{goRangeSelect});
    Drv->Drag(Screen(80, 30), Screen(230, 80));
    EXPECT_EQ(Grid->Selection(), (TGridRect{3, 4, 3, 4}));
    // Fixed cells select nothing.
    Drv->Click(Screen(10, 10));
    EXPECT_EQ(Grid->Selection(), (TGridRect{3, 4, 3, 4}));
}

TEST_F(GridTest, SizingAndMovingInTheFixedCellsNotifyInOrder)
{
    Grid->SetColCount(6);
    Grid->SetRowCount(8);
    Grid->SetCells(1, 0, L"A");
    Grid->SetCells(3, 0, L"C");
    Grid->SetColWidths(1, 70);
    Grid->SetOptions(Grid->Options() + TGridOptions{goColSizing, goRowSizing, goColMoving, goRowMoving});
    Grid->Log.clear();
    // The right edge of column 1 sits at 65 + 70: drag it 30 to the right.
    Drv->Drag(Screen(135, 10), Screen(165, 12));
    EXPECT_EQ(Grid->ColWidths(1), 100);
    // The bottom edge of row 2 (at 74) drag 10 down.
    Drv->Drag(Screen(20, 74), Screen(21, 84));
    EXPECT_EQ(Grid->RowHeights(2), 34);
    // Column 1's title dragged onto column 3 moves it there with its width.
    Drv->Drag(Screen(100, 10), Screen(250, 10));
    EXPECT_EQ(Grid->Cells(3, 0), L"A");
    EXPECT_EQ(Grid->Cells(2, 0), L"C");
    EXPECT_EQ(Grid->ColWidths(3), 100);
    EXPECT_EQ(Grid->ColWidths(1), 64);
    EXPECT_EQ(Grid->Log, (std::vector<String>{L"ColWidthsChanged", L"RowHeightsChanged", L"ColumnMoved 1,3"}));
    // Row 2 dragged by its fixed cell onto row 1.
    Grid->Log.clear();
    Drv->Drag(Screen(20, 60), Screen(20, 30));
    EXPECT_EQ(Grid->Log, (std::vector<String>{L"RowMoved 2,1"}));
    EXPECT_EQ(Grid->RowHeights(1), 34);
    // A descendant's sizing-state calculation decides what a press starts.
    Grid->NoSizing = true;
    Drv->Drag(Screen(65 + 64 + 100, 10), Screen(65 + 64 + 140, 10));
    EXPECT_EQ(Grid->ColWidths(2), 64);
    EXPECT_EQ(Grid->GridState(), gsNormal);
}

// ---------------------------------------------------------------------------
// Store

TEST_F(GridTest, StoreIsSparseKeepsWhatLiesPastTheCountsAndCopiesLinesUpToTheirCount)
{
    TObject a, b;
    EXPECT_EQ(Grid->Cells(3, 3), L"");
    EXPECT_EQ(Grid->Objects(3, 3), nullptr);
    EXPECT_EQ(Grid->Cells(-1, 100000000), L"");
    // A huge count sizes nothing.
    Grid->SetRowCount(50000000);
    EXPECT_EQ(Grid->StoredRowSpan(), 0);
    Grid->SetRowCount(5);
    // Written past the counts: kept, shown when the counts grow.
    Grid->SetCells(7, 6, L"past");
    Grid->SetObjects(7, 6, &a);
    EXPECT_EQ(Grid->Cells(7, 6), L"past");
    Grid->SetCells(4, 4, L"edge");
    Grid->SetColCount(3);
    Grid->SetRowCount(3);
    EXPECT_EQ(Grid->Cells(4, 4), L"edge");
    Grid->SetColCount(8);
    Grid->SetRowCount(8);
    EXPECT_EQ(Grid->Cells(4, 4), L"edge");
    EXPECT_EQ(Grid->Objects(7, 6), &a);
    EXPECT_THROW(Grid->SetCells(-1, 0, L"x"), EInvalidGridOperation);
    // A row index from outside far past everything sizes no table.
    Grid->SetCells(2, 2000000000, L"far");
    Grid->SetObjects(3, 2000000000, &b);
    EXPECT_EQ(Grid->StoredRowSpan(), 7);
    EXPECT_EQ(Grid->Cells(2, 2000000000), L"far");
    Grid->SetColCount(5);
    Grid->MoveColumn(2, 3);
    EXPECT_EQ(Grid->Cells(3, 2000000000), L"far");
    EXPECT_EQ(Grid->Objects(2, 2000000000), &b);
    Grid->SetColCount(8);
    // Once the count reaches it, it moves like any row.
    Grid->SetRowCount(2000000001);
    Grid->MoveRow(2000000000, 1);
    EXPECT_EQ(Grid->Cells(3, 1), L"far");
    EXPECT_EQ(Grid->Cells(3, 2000000000), L"");
    Grid->MoveRow(1, 2000000000);
    Grid->SetRowCount(8);
    Grid->SetCells(7, 6, L"past");
    Grid->SetObjects(2, 2000000000, nullptr);
    // A column index from outside likewise.
    Grid->SetCells(2000000000, 1, L"wide");
    EXPECT_EQ(Grid->Cells(2000000000, 1), L"wide");
    Grid->MoveColumn(5, 6);
    EXPECT_EQ(Grid->Cells(2000000000, 1), L"wide");

    // Rows[] and Cols[] read through; assigning copies up to the line's count.
    TStringList src;
    for (int i = 0; i < 12; ++i) src.AddObject(L"s" + IntToStr(i), i == 1 ? &b : nullptr);
    Grid->Rows(2)->Assign(&src);
    EXPECT_EQ(Grid->Rows(2)->Count(), 8);
    EXPECT_EQ(Grid->Cells(7, 2), L"s7");
    EXPECT_EQ(Grid->Cells(8, 2), L"");
    EXPECT_EQ(Grid->Objects(1, 2), &b);
    EXPECT_EQ(Grid->Cols(4)->Strings(4), L"edge");
    EXPECT_EQ(Grid->Cols(4)->Strings(2), L"s4");
    EXPECT_THROW(Grid->Rows(2)->Insert(0, L"x"), EInvalidGridOperation);
}

TEST_F(GridTest, MovesCarryTextsObjectsAndSizesAndLeaveEachReferenceInOneSlot)
{
    TObject objs[6];
    Grid->SetRowCount(6);
    Grid->SetColCount(4);
    for (int r = 0; r < 6; ++r) {
        Grid->SetCells(1, r, L"r" + IntToStr(r));
        Grid->SetObjects(2, r, &objs[r]);
    }
    Grid->SetRowHeights(1, 40);
    Grid->MoveRow(1, 4);
    EXPECT_EQ(Grid->Cols(1)->CommaText(), L"r0,r2,r3,r4,r1,r5");
    EXPECT_EQ(Grid->RowHeights(4), 40);
    EXPECT_EQ(Grid->RowHeights(1), 24);
    Grid->MoveRow(5, 0);
    EXPECT_EQ(Grid->Cols(1)->CommaText(), L"r5,r0,r2,r3,r4,r1");
    // Every object sits in exactly one slot.
    for (int k = 0; k < 6; ++k) {
        int seen = 0;
        for (int r = 0; r < 6; ++r)
            for (int c = 0; c < 4; ++c) seen += Grid->Objects(c, r) == &objs[k];
        EXPECT_EQ(seen, 1) << k;
    }
    EXPECT_EQ(Grid->Objects(2, 0), &objs[5]);
    Grid->SetColWidths(1, 90);
    Grid->MoveColumn(1, 3);
    EXPECT_EQ(Grid->Cells(3, 0), L"r5");
    EXPECT_EQ(Grid->Cells(1, 0), L"");
    EXPECT_EQ(Grid->Objects(1, 0), &objs[5]);
    EXPECT_EQ(Grid->ColWidths(3), 90);
    // Deleting moves the line to the end and lowers the count; growing shows it again.
    Grid->DeleteRow(0);
    EXPECT_EQ(Grid->RowCount(), 5);
    EXPECT_EQ(Grid->Cells(3, 0), L"r0");
    Grid->SetRowCount(6);
    EXPECT_EQ(Grid->Cells(3, 5), L"r5");
    Grid->DeleteColumn(3);
    EXPECT_EQ(Grid->ColCount(), 3);
    EXPECT_EQ(Grid->Cells(3, 0), L"r0");
    EXPECT_THROW(Grid->MoveRow(0, 6), EInvalidGridOperation);
    // A move between rows never written stores nothing.
    Grid->SetRowCount(1000);
    Grid->MoveRow(900, 999);
    EXPECT_EQ(Grid->StoredRowSpan(), 6);
}

TEST_F(GridTest, RandomWritesAndMovesMatchAPlainModel)
{
    // Dense and far rows and columns, moves inside and across the written
    // part: the store reads as a map of cells moved the same way would.
    std::mt19937 rng(11);
    std::map<std::pair<int, int>, String> model;
    auto moved = [](int p, int from, int to) {
        if (p == from) return to;
        if (from < to && p > from && p <= to) return p - 1;
        if (from > to && p >= to && p < from) return p + 1;
        return p;
    };
    Grid->SetColCount(10);
    Grid->SetRowCount(20);
    auto pick = [&](int dense, int far) { return rng() % 8 == 0 ? far + int(rng() % 5) : int(rng() % dense); };
    for (int k = 0; k < 60; ++k) {
        const int c = pick(10, 100000), r = pick(20, 100000);
        const String v = IntToStr(k);
        Grid->SetCells(c, r, v);
        model[{c, r}] = v;
    }
    EXPECT_LE(Grid->StoredRowSpan(), 20);  // the far rows stay apart
    Grid->SetColCount(200000);
    Grid->SetRowCount(200000);
    for (int k = 0; k < 300; ++k) {
        const int from = pick(30, 100000), to = pick(30, 100000);
        if (rng() % 2) {
            Grid->MoveRow(from, to);
            std::map<std::pair<int, int>, String> next;
            for (auto& [key, v] : model) next[{key.first, moved(key.second, from, to)}] = v;
            model.swap(next);
        } else {
            Grid->MoveColumn(from, to);
            std::map<std::pair<int, int>, String> next;
            for (auto& [key, v] : model) next[{moved(key.first, from, to), key.second}] = v;
            model.swap(next);
        }
        if (k % 50 == 0) {
            const int c = pick(10, 100000), r = pick(20, 100000);
            Grid->SetCells(c, r, L"w" + IntToStr(k));
            model[{c, r}] = L"w" + IntToStr(k);
        }
    }
    for (auto& [key, v] : model) ASSERT_EQ(Grid->Cells(key.first, key.second), v) << key.first << "," << key.second;
    int stored = 0;
    for (int r = 0; r < 40; ++r)
        for (int c = 0; c < 40; ++c) stored += !Grid->Cells(c, r).empty();
    int expected = 0;
    for (auto& [key, v] : model) expected += key.first < 40 && key.second < 40;
    EXPECT_EQ(stored, expected);
}

// ---------------------------------------------------------------------------
// Editor

TEST_F(GridTest, EditorCycleStartsStoresCancelsAndFollowsTheCell)
{
    Grid->SetColCount(6);
    Grid->SetRowCount(30);
    Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
    Grid->SetCells(1, 1, L"old");
    Drv->PressKey(VK_F2);
    ASSERT_TRUE(Grid->EditorMode());
    TInplaceEdit* ed = Grid->InplaceEditor();
    ASSERT_NE(ed, nullptr);
    EXPECT_EQ(ed->Grid(), Grid);
    EXPECT_EQ(ed->Text(), L"old");
    EXPECT_EQ(ed->BoundsRect(), Grid->CellRect(1, 1));
    EXPECT_TRUE(ed->Focused());
    Drv->TypeText(L"new");
    Drv->PressKey(VK_RETURN);
    EXPECT_FALSE(Grid->EditorMode());
    EXPECT_EQ(Grid->Cells(1, 1), L"new");
    EXPECT_TRUE(Grid->Focused());

    // Escape leaves the cell as it was.
    Drv->PressKey(VK_RETURN);
    ASSERT_TRUE(Grid->EditorMode());
    Drv->TypeText(L"zzz");
    Drv->PressKey(VK_ESCAPE);
    EXPECT_FALSE(Grid->EditorMode());
    EXPECT_EQ(Grid->Cells(1, 1), L"new");

    // Typing starts an edit that replaces the text; a key that leaves the
    // editor reaches the grid and stores on the way.
    Drv->TypeText(L"q");
    ASSERT_TRUE(Grid->EditorMode());
    EXPECT_EQ(ed->Text(), L"q");
    Drv->PressKey(VK_DOWN);
    EXPECT_EQ(Grid->Row(), 2);
    EXPECT_FALSE(Grid->EditorMode());
    EXPECT_EQ(Grid->Cells(1, 1), L"q");

    // The editor follows resizing and scrolling.
    Grid->SetCells(1, 2, L"two");
    Drv->PressKey(VK_F2);
    Grid->SetColWidths(1, 120);
    EXPECT_EQ(ed->BoundsRect(), Grid->CellRect(1, 2));
    EXPECT_EQ(ed->Width(), 120);
    Grid->SetTopRow(2);
    EXPECT_EQ(ed->BoundsRect(), Grid->CellRect(1, 2));
    EXPECT_EQ(ed->Top(), 25);
    Grid->SetTopRow(5);
    EXPECT_FALSE(IsWindowVisible(ed->Handle()));
    Grid->SetTopRow(2);
    EXPECT_TRUE(IsWindowVisible(ed->Handle()));

    // With goAlwaysShowEditor the editor stays and moves with the cell.
    Grid->SetOptions(Grid->Options() + TGridOptions{goAlwaysShowEditor});
    Grid->FocusCell(2, 2, true);
    EXPECT_TRUE(Grid->EditorMode());
    EXPECT_EQ(ed->BoundsRect(), Grid->CellRect(2, 2));
    // The mask comes from the grid.
    EXPECT_EQ(ed->EditMask(), L"");
}

// ---------------------------------------------------------------------------
// Painting

TEST_F(GridTest, PaintDrawsOnlyTheVisibleCellsAtTheStartAndAtTheEnd)
{
    Grid->SetRowCount(1000000);
    Grid->SetColCount(20);
    Grid->SetCells(3, 999998, L"near the end");
    Grid->SetCells(3, 2, L"near the start");
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(dc, 300, 110);
    HGDIOBJ old = SelectObject(dc, bmp);
    auto paint = [&] {
        Grid->Drawn.clear();
        GdiStartRecording(dc);
        GdiClearRecords(dc);
        Grid->Perform(WM_PAINT, WPARAM(reinterpret_cast<uintptr_t>(dc)), 0);
        GdiStopRecording(dc);
    };
    auto texts = [&] {
        std::vector<String> t;
        for (const TGdiRecord& r : GdiRecords(dc))
            if (!r.Text.empty()) t.push_back(r.Text);
        return t;
    };
    paint();
    // 5 columns (4 of them partly) by 5 rows (the last partly).
    EXPECT_EQ(Grid->Drawn.size(), 25u);
    for (TGridCoord c : Grid->Drawn) EXPECT_TRUE(c.X < 5 && c.Y < 5) << c.X << "," << c.Y;
    EXPECT_EQ(texts(), std::vector<String>{L"near the start"});
    Grid->Perform(WM_VSCROLL, SB_BOTTOM, 0);
    paint();
    // Three whole rows fill the bottom: the fixed row and 999997..999999.
    EXPECT_EQ(Grid->TopRow(), 999997);
    EXPECT_EQ(Grid->Drawn.size(), 20u);
    for (TGridCoord c : Grid->Drawn) EXPECT_TRUE(c.Y == 0 || c.Y >= 999997) << c.Y;
    EXPECT_EQ(texts(), std::vector<String>{L"near the end"});
    // While updating, writes invalidate nothing.
    ValidateRect(Grid->Handle(), nullptr);
    Grid->SetUpdating(true);
    Grid->SetCells(1, 999999, L"quiet");
    RECT upd{};
    EXPECT_FALSE(GetUpdateRect(Grid->Handle(), &upd, FALSE));
    Grid->SetUpdating(false);
    Grid->SetCells(1, 999999, L"loud");
    EXPECT_TRUE(GetUpdateRect(Grid->Handle(), &upd, FALSE));
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
}
