// The string grid's mouse handling through synthesised input on the
// headless backend: the press chain's veto, sort clicks, column and row
// moves, anchors and markup controls, header borders, ratings, radio
// groups, touch scrolling, header editors, edit texts and a seeded random
// sequence of clicks.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

#include "controls/grid/VodGrid.h"
#include "controls/grid/HTMLHintWindow.h"
#include "controls/grid/editors/GridEditors.h"
#include "platform/base/SysUtils.h"
#include "platform/gfx/Gdi.h"
#include "platform/ui/Forms.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Headless.h"

namespace {

class TMouseGrid : public TVodStringGrid {
public:
    explicit TMouseGrid(TComponent* o) : TVodStringGrid(o) {}
    using TVodStringGrid::FFixedColSizeOffer;
    using TVodStringGrid::MoveColumn;
    using TVodStringGrid::MoveRow;
    Integer Buttons = 0;
    void ButtonClick(Integer ACol, Integer ARow) override
    {
        ++Buttons;
        TVodStringGrid::ButtonClick(ACol, ARow);
    }
};

class VodGridMouse : public ::testing::Test {
protected:
    void SetUp() override
    {
        Drv = std::make_unique<THeadlessDriver>();
        InitForms();
        SetFixedMetricsFonts(true);
        Form = new TForm(Application);
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(0, 0, 700, 400);
        Grid = NewGrid(0, 7, 8);
        Form->Init();
        Form->Show();
        Drv->Pump();
    }
    void TearDown() override
    {
        DoneForms();
        Drv.reset();
        SetFixedMetricsFonts(false);
    }
    TMouseGrid* NewGrid(Integer top, Integer cols, Integer rows)
    {
        auto* g = new TMouseGrid(Form);
        g->SetParent(Form);
        g->SetBorderStyle(bsNone);
        g->SetScrollBars(ssNone);
        g->SetBounds(0, top, 600, 180);
        g->SetDefaultColWidth(64);
        g->SetDefaultRowHeight(20);
        g->SetColCount(cols);
        g->SetRowCount(rows);
        return g;
    }
    // A point inside a cell, at an offset from its top-left corner.
    TPoint In(TVodStringGrid* g, Integer c, Integer r, Integer dx = 20, Integer dy = 8)
    {
        const TRect cr = g->CellRect(c, r);
        return TPoint{cr.Left + dx, cr.Top + dy};
    }
    // Clicks far apart in time: never read as a double click.
    void Click(TVodStringGrid* g, TPoint p)
    {
        Drv->Advance(1000);
        Drv->MouseMoveWindow(g->Handle(), p);
        Drv->ClickWindow(g->Handle(), p);
        Drv->Pump();
    }
    void ClickCell(TVodStringGrid* g, Integer c, Integer r, Integer dx = 20, Integer dy = 8)
    {
        Click(g, In(g, c, r, dx, dy));
    }
    void DoubleClick(TVodStringGrid* g, TPoint p)
    {
        Drv->Advance(1000);
        const TPoint s = g->ClientToScreen(p);
        Drv->MouseMove(s);
        Drv->DoubleClick(s);
        Drv->Pump();
    }
    std::vector<String> Col(TVodStringGrid* g, Integer c)
    {
        std::vector<String> v;
        for (Integer r = 1; r < g->RowCount(); ++r) v.push_back(g->Cells(c, r));
        return v;
    }
    std::unique_ptr<THeadlessDriver> Drv;
    TForm* Form = nullptr;
    TMouseGrid* Grid = nullptr;
};

}  // namespace

TEST_F(VodGridMouse, ARefusingCanClickCellChangesNothingAndAClickSelectsOtherwise)
{
    Integer clicks = 0;
    Grid->OnClickCell = [&](TObject*, Integer, Integer) { ++clicks; };
    Grid->OnCanClickCell = [](TObject*, Integer, Integer, bool& Allow) { Allow = false; };
    ClickCell(Grid, 3, 4);
    EXPECT_EQ(Grid->Col(), 1);
    EXPECT_EQ(Grid->Row(), 1);
    EXPECT_EQ(clicks, 0);
    Grid->OnCanClickCell = nullptr;
    ClickCell(Grid, 3, 4);
    EXPECT_EQ(Grid->Col(), 3);
    EXPECT_EQ(Grid->Row(), 4);
    EXPECT_EQ(clicks, 1);
}

TEST_F(VodGridMouse, SortClicksCycleAscendingDescendingUnsortedAndSkipBordersAndSmallGrids)
{
    const std::vector<String> orig{L"b", L"d", L"a", L"g", L"c", L"f", L"e"};
    for (Integer r = 1; r < 8; ++r) Grid->SetCells(2, r, orig[size_t(r - 1)]);
    Grid->SortSettings()->SetShow(true);
    Grid->SortSettings()->UndoSort = true;
    TGridOptions o = Grid->Options();
    o.Include(goColSizing);
    Grid->SetOptions(o);
    Integer sorts = 0;
    Grid->OnClickSort = [&](TObject*, Integer) { ++sorts; };
    // Within 4 pixels of the right border: no sort.
    const TRect h = Grid->CellRect(2, 0);
    Click(Grid, TPoint{h.Right - 3, h.Top + 8});
    EXPECT_EQ(sorts, 0);
    EXPECT_EQ(Col(Grid, 2), orig);
    ClickCell(Grid, 2, 0);
    EXPECT_EQ(Col(Grid, 2), (std::vector<String>{L"a", L"b", L"c", L"d", L"e", L"f", L"g"}));
    ClickCell(Grid, 2, 0);
    EXPECT_EQ(Col(Grid, 2), (std::vector<String>{L"g", L"f", L"e", L"d", L"c", L"b", L"a"}));
    ClickCell(Grid, 2, 0);
    EXPECT_EQ(Col(Grid, 2), orig);
    EXPECT_EQ(Grid->SortSettings()->Column, -1);
    EXPECT_EQ(sorts, 3);
    // Two rows or fewer never sort.
    Grid->SetRowCount(2);
    Grid->SetCells(2, 1, L"z");
    ClickCell(Grid, 2, 0);
    EXPECT_EQ(sorts, 3);
}

TEST_F(VodGridMouse, IndexSortShiftClickAddsAColumnAndAPlainClickOnTheOnlyIndexFlipsIt)
{
    for (Integer r = 1; r < 8; ++r) {
        Grid->SetCells(1, r, IntToStr(r % 2));
        Grid->SetCells(2, r, IntToStr(r));
    }
    Grid->SortSettings()->SetShow(true);
    Grid->SortSettings()->IndexShow = true;
    ClickCell(Grid, 1, 0);
    ASSERT_EQ(Grid->SortIndexes()->Count(), 1);
    EXPECT_TRUE(Grid->SortIndexes()->GetSortDirections(0));
    ClickCell(Grid, 1, 0);
    EXPECT_FALSE(Grid->SortIndexes()->GetSortDirections(0));
    const TPoint p = Grid->ClientToScreen(In(Grid, 2, 0));
    Drv->MouseMove(p);
    Drv->KeyDown(VK_SHIFT);
    Drv->Click(p);
    Drv->KeyUp(VK_SHIFT);
    Drv->Pump();
    ASSERT_EQ(Grid->SortIndexes()->Count(), 2);
    EXPECT_EQ(Grid->SortIndexes()->GetSortColumns(1), 2);
    EXPECT_EQ(Grid->SortSettings()->Column, 1);
}

TEST_F(VodGridMouse, ColumnMovesShiftTheSortColumnAndColAsRemoveAndInsert)
{
    struct Case {
        Integer from, to, sortCol, expected;
    };
    // Right move: From < c <= To one down; left move: To <= c < From one up.
    for (const Case& c : {Case{2, 5, 3, 2}, Case{2, 5, 2, 5}, Case{2, 5, 5, 4}, Case{2, 5, 6, 6}, Case{5, 2, 2, 3},
                          Case{5, 2, 5, 2}, Case{5, 2, 4, 5}, Case{5, 2, 1, 1}}) {
        Grid->SortSettings()->Column = c.sortCol;
        Grid->SetCol(c.sortCol);
        Grid->SetCells(c.sortCol, 1, L"mark");
        Grid->MoveColumn(c.from, c.to);
        EXPECT_EQ(Grid->SortSettings()->Column, c.expected) << c.from << ">" << c.to << " @" << c.sortCol;
        EXPECT_EQ(Grid->Col(), c.expected) << c.from << ">" << c.to << " @" << c.sortCol;
        EXPECT_EQ(Grid->Cells(c.expected, 1), L"mark");
        Grid->SetCells(c.expected, 1, L"");
    }
    // Sort indexes keep their direction bits.
    Grid->SortSettings()->IndexShow = true;
    Grid->SortIndexes()->Clear();
    Grid->SortIndexes()->AddIndex(3, false);
    Grid->MoveColumn(3, 1);
    EXPECT_EQ(Grid->SortIndexes()->GetSortColumns(0), 1);
    EXPECT_FALSE(Grid->SortIndexes()->GetSortDirections(0));
}

TEST_F(VodGridMouse, SynchronisedGridsMoveExactlyOnceAndTheFooterRowNeverTakesAMovedRow)
{
    TMouseGrid* other = NewGrid(200, 7, 8);
    for (Integer c = 0; c < 7; ++c) {
        Grid->SetCells(c, 0, IntToStr(c));
        other->SetCells(c, 0, IntToStr(c));
    }
    Grid->SyncGrid()->SetGrid(other);
    Grid->SyncGrid()->SetMoveColumn(true);
    other->SyncGrid()->SetGrid(Grid);
    other->SyncGrid()->SetMoveColumn(true);
    Grid->MoveColumn(1, 3);
    EXPECT_EQ(Grid->Cells(3, 0), L"1");
    EXPECT_EQ(other->Cells(3, 0), L"1");
    EXPECT_EQ(other->Cells(1, 0), L"2");

    Integer moved = 0;
    Grid->OnRowMoved = [&](TObject*, Integer, Integer) { ++moved; };
    Grid->SetCells(1, 2, L"two");
    Grid->MoveRow(2, 4);
    EXPECT_EQ(moved, 1);
    EXPECT_EQ(Grid->Cells(1, 4), L"two");
    Grid->FloatingFooter()->SetVisible(true);
    Grid->MoveRow(4, Grid->RowCount() - 1);
    EXPECT_EQ(moved, 1);
    EXPECT_EQ(Grid->Cells(1, 4), L"two");
}

TEST_F(VodGridMouse, DraggingAHeaderAsksOnColumnMoveAndDropsTheColumnWhereReleased)
{
    TGridOptions o = Grid->Options();
    o.Include(goColMoving);
    Grid->SetOptions(o);
    for (Integer c = 0; c < 7; ++c) Grid->SetCells(c, 0, L"h" + IntToStr(c));
    Integer asked = 0;
    Grid->OnColumnMove = [&](TObject*, Integer ACol, bool&) {
        EXPECT_EQ(ACol, 1);
        ++asked;
    };
    const TPoint from = Grid->ClientToScreen(In(Grid, 1, 0)), to = Grid->ClientToScreen(In(Grid, 3, 0));
    Drv->Drag(from, to, 4);
    Drv->Pump();
    EXPECT_GT(asked, 0);
    EXPECT_EQ(Grid->Cells(3, 0), L"h1");
    EXPECT_EQ(Grid->Cells(1, 0), L"h2");
    // A refusal keeps the columns.
    Grid->OnColumnMove = [&](TObject*, Integer, bool& Allow) { Allow = false; };
    Drv->Drag(Grid->ClientToScreen(In(Grid, 3, 0)), Grid->ClientToScreen(In(Grid, 5, 0)), 4);
    Drv->Pump();
    EXPECT_EQ(Grid->Cells(3, 0), L"h1");
}

TEST_F(VodGridMouse, AnchorsMoveTheCellOrReachOnlyTheEventAndChecksCompareExactly)
{
    std::vector<String> anchors;
    Grid->OnAnchorClick = [&](TObject*, Integer, Integer, const String& A, bool&) { anchors.push_back(A); };
    Grid->SetCells(1, 1, L"<a href=\"cell://r5c2\">go</a>");
    ClickCell(Grid, 1, 1, 5, 6);
    EXPECT_EQ(Grid->Row(), 5);
    EXPECT_EQ(Grid->Col(), 2);
    // Outside the grid: nothing moves.
    Grid->SetCells(1, 2, L"<a href=\"CELL://R50C2\">far</a>");
    ClickCell(Grid, 1, 2, 5, 6);
    EXPECT_EQ(Grid->Row(), 5);
    EXPECT_EQ(Grid->Col(), 2);
    // A path is never handed to the shell: only the event sees it.
    Grid->SetCells(1, 3, L"<a href=\"/bin/sh\">run</a>");
    ClickCell(Grid, 1, 3, 5, 6);
    ASSERT_EQ(anchors.size(), 3u);
    EXPECT_EQ(anchors[2], L"/bin/sh");
    EXPECT_EQ(Grid->Row(), 5);

    TGridOptions o = Grid->Options();
    o.Include(goEditing);
    Grid->SetOptions(o);
    std::vector<String> controls;
    Grid->OnControlClick = [&](TObject*, Integer, Integer, const String& Id, const String&, const String& V) {
        controls.push_back(Id + L"=" + V);
    };
    Grid->SetCells(3, 1, L"<CONTROL TYPE=\"CHECK\" ID=\"c1\" VALUE=\"true\" WIDTH=\"20\">");
    ClickCell(Grid, 3, 1, 6, 8);
    ASSERT_EQ(controls.size(), 1u);
    EXPECT_EQ(controls[0], L"c1=true");
    EXPECT_NE(Grid->Cells(3, 1).find(L"TRUE"), String::npos) << Grid->Cells(3, 1);
    // A read-only cell reports the control as an anchor and keeps it.
    Grid->SetReadOnly(3, 1, true);
    const String before = Grid->Cells(3, 1);
    ClickCell(Grid, 3, 1, 6, 8);
    EXPECT_EQ(controls.size(), 1u);
    EXPECT_EQ(anchors.size(), 4u);
    EXPECT_EQ(Grid->Cells(3, 1), before);
}

TEST_F(VodGridMouse, DoubleClickNearAHeaderBorderSizesTheColumnBeforeIt)
{
    TGridOptions o = Grid->Options();
    o.Include(goColSizing);
    Grid->SetOptions(o);
    Grid->SetCells(2, 3, L"a rather long cell text here");
    const TRect h = Grid->CellRect(3, 0);
    Integer sized = -1;
    Grid->OnEndColumnSize = [&](TObject*, Integer ACol) { sized = ACol; };
    DoubleClick(Grid, TPoint{h.Left + 4, h.Top + 8});
    EXPECT_EQ(sized, -1);
    DoubleClick(Grid, TPoint{h.Left + 3, h.Top + 8});
    EXPECT_EQ(sized, 2);
    EXPECT_NE(Grid->ColWidths(2), 64);
    Integer dbl = 0;
    Grid->OnDblClickCell = [&](TObject*, Integer, Integer) { ++dbl; };
    DoubleClick(Grid, In(Grid, 4, 4));
    EXPECT_EQ(dbl, 1);
}

TEST_F(VodGridMouse, RatingsTakeHalfStepsOfNinePixels)
{
    TGridOptions o = Grid->Options();
    o.Include(goEditing);
    Grid->SetOptions(o);
    Grid->AddRating(2, 2, 5, clYellow, clGray);
    struct Case {
        Integer dx;
        double value;
    };
    for (const Case& c : {Case{4, 0.0}, Case{9, 0.5}, Case{17, 0.5}, Case{18, 1.0}, Case{26, 1.0}, Case{27, 1.5}}) {
        ClickCell(Grid, 2, 2, c.dx, 8);
        EXPECT_DOUBLE_EQ(Grid->Floats(2, 2), c.value) << c.dx;
    }
}

TEST_F(VodGridMouse, RadioGroupsPickTheOptionStrictlyUnderTheClick)
{
    TGridOptions o = Grid->Options();
    o.Include(goEditing);
    Grid->SetOptions(o);
    Grid->SetRowHeights(2, 60);
    TStrings* s = Grid->CreateRadio(2, 2, 0, -1);
    s->Add(L"one");
    s->Add(L"two");
    s->Add(L"three");
    Integer picked = -1;
    Grid->OnRadioClick = [&](TObject*, Integer, Integer, Integer Idx) { picked = Idx; };
    // Vertical options of max(16, text height) pixels.
    const Integer lineH = std::max(16, Grid->Canvas()->TextHeight(L"gh"));
    ClickCell(Grid, 2, 2, 10, lineH + 3);
    EXPECT_EQ(picked, 1);
    Integer idx = -1;
    EXPECT_TRUE(Grid->GetRadioIdx(2, 2, idx));
    EXPECT_EQ(idx, 1);
    picked = -1;
    ClickCell(Grid, 2, 2, 10, lineH);
    EXPECT_EQ(picked, -1);
}

TEST_F(VodGridMouse, CellButtonsClickOnlyWhenReleasedInside)
{
    TGridOptions o = Grid->Options();
    o.Include(goEditing);
    Grid->SetOptions(o);
    Grid->AddButton(2, 2, 40, 16, L"Go", haLeft, vaTop);
    const TRect b = Grid->GetCellGraphicRect(2, 2);
    ASSERT_GT(b.Width(), 0);
    const TPoint inside{b.Left + 3, b.Top + 3};
    Click(Grid, inside);
    EXPECT_EQ(Grid->Buttons, 1);
    Drv->MouseMoveWindow(Grid->Handle(), inside);
    Drv->MouseDown(Grid->ClientToScreen(inside));
    Drv->MouseMove(Grid->ClientToScreen(In(Grid, 4, 4)));
    Drv->MouseUp(Grid->ClientToScreen(In(Grid, 4, 4)));
    Drv->Pump();
    EXPECT_EQ(Grid->Buttons, 1);
}

TEST_F(VodGridMouse, FixedColumnBordersOfferSizingWithinTwoPixels)
{
    Grid->MouseActions()->SetSizeFixedCol(true);
    const Integer edge = Grid->ColWidths(0);
    Drv->MouseMoveWindow(Grid->Handle(), TPoint{edge - 2, 50});
    Drv->Pump();
    EXPECT_TRUE(Grid->FFixedColSizeOffer);
    Drv->MouseMoveWindow(Grid->Handle(), TPoint{edge - 3, 50});
    Drv->Pump();
    EXPECT_FALSE(Grid->FFixedColSizeOffer);
}

TEST_F(VodGridMouse, TouchFlicksUnder500MsScrollOnAndTapsToggleCheckBoxes)
{
    Grid->SetRowCount(60);
    Grid->MouseActions()->SetTouchScroll(true);
    Drv->SetTick(1000);
    const TPoint down = Grid->ClientToScreen(In(Grid, 2, 7));
    const TPoint up = Grid->ClientToScreen(In(Grid, 2, 2));
    Drv->MouseMove(down);
    Drv->MouseDown(down);
    Drv->MouseMove(up);
    Drv->SetTick(1499);
    Drv->MouseUp(up);
    const Integer after = Grid->TopRow();
    EXPECT_GT(after, 1);
    Drv->Advance(200);
    Drv->Pump();
    EXPECT_EQ(Grid->TopRow(), after + 10);
    // 500 ms is no flick.
    Grid->SetTopRow(1);
    Drv->MouseMove(down);
    Drv->MouseDown(down);
    Drv->MouseMove(up);
    Drv->Advance(500);
    Drv->MouseUp(up);
    const Integer slow = Grid->TopRow();
    Drv->Advance(200);
    Drv->Pump();
    EXPECT_EQ(Grid->TopRow(), slow);
    // A tap on a check box toggles it once.
    Grid->SetTopRow(1);
    TGridOptions o = Grid->Options();
    o.Include(goEditing);
    Grid->SetOptions(o);
    Grid->AddCheckBox(3, 3, false);
    ClickCell(Grid, 3, 3, 8, 8);
    bool state = false;
    EXPECT_TRUE(Grid->GetCheckBoxState(3, 3, state));
    EXPECT_TRUE(state);
}

TEST_F(VodGridMouse, FixedColsEditorAppliesToColumnZeroOnlyAndHandlersPickTheKind)
{
    Grid->SetFixedCols(2);
    Grid->MouseActions()->SetFixedColsEdit(fceDblClick);
    Grid->MouseActions()->SetFixedColsEditor(fceComboList);
    Grid->MouseActions()->SetFixedRowsEditor(fceEdit);
    std::vector<TGridFixedCellEditor> kinds;
    Grid->OnFixedEdit = [&](TObject*, Integer, Integer, TGridFixedCellEditor& K, TStrings*) { kinds.push_back(K); };
    DoubleClick(Grid, In(Grid, 1, 3));
    DoubleClick(Grid, In(Grid, 0, 3));
    ASSERT_EQ(kinds.size(), 2u);
    EXPECT_EQ(kinds[0], fceEdit);
    EXPECT_EQ(kinds[1], fceComboList);
    ASSERT_TRUE(Grid->FixedComboBox());
    EXPECT_TRUE(Grid->FixedComboBox()->Visible());
}

TEST_F(VodGridMouse, EditTextsComeWithoutTagsUnlessEditWithTags)
{
    Grid->SetCells(2, 2, L"<b>bold</b> text");
    EXPECT_EQ(Grid->GetEditText(2, 2), L"bold text");
    Grid->SetEditWithTags(true);
    EXPECT_EQ(Grid->GetEditText(2, 2), L"<b>bold</b> text");
    Grid->MergeCells(1, 4, 2, 2);
    Grid->SetCells(1, 4, L"base");
    EXPECT_EQ(Grid->GetEditText(2, 5), L"base");
    Grid->SetEditText(2, 5, L"new");
    EXPECT_EQ(Grid->Cells(1, 4), L"new");
}

TEST_F(VodGridMouse, RandomClicksNeverLeaveTheCurrentCellOutsideTheGridOrOnTheFooter)
{
    Grid->SetRowCount(30);
    Grid->SetFixedCols(1);
    Grid->MergeCells(2, 3, 2, 2);
    Grid->HideRow(6);
    Grid->FloatingFooter()->SetVisible(true);
    TGridOptions o = Grid->Options();
    o.Include(goEditing);
    o.Include(goColSizing);
    o.Include(goColMoving);
    Grid->SetOptions(o);
    Grid->SortSettings()->SetShow(true);
    std::mt19937 rng(31);
    std::uniform_int_distribution<int> x(0, 620), y(0, 200), kind(0, 4);
    for (int i = 0; i < 150; ++i) {
        const TPoint p = Grid->ClientToScreen(TPoint{x(rng), y(rng)});
        switch (kind(rng)) {
        case 0: Drv->Click(p); break;
        case 1: Drv->DoubleClick(p); break;
        case 2: Drv->Click(p, TMouseButton2::Right); break;
        case 3: Drv->Drag(p, Grid->ClientToScreen(TPoint{x(rng), y(rng)}), 3); break;
        default: Drv->MouseMove(p); break;
        }
        Drv->PressKey(VK_ESCAPE);
        Drv->Pump();
        ASSERT_GE(Grid->Col(), 0);
        ASSERT_LT(Grid->Col(), Grid->ColCount());
        ASSERT_GE(Grid->Row(), 0);
        ASSERT_LT(Grid->Row(), Grid->RowCount());
    }
}

TEST_F(VodGridMouse, AnOleDragStartsOnlyBeyondThreePixelsFromThePress)
{
    Grid->DragDropSettings()->OleDropSource = true;
    ClickCell(Grid, 2, 2);
    Integer starts = 0;
    const TPoint p = In(Grid, 2, 2);
    Grid->OnOleDragStart = [&](TObject*, Integer ARow, Integer ACol) {
        EXPECT_EQ(ARow, 2);
        EXPECT_EQ(ACol, 2);
        ++starts;
        // The drag loop takes the release: dropped where nothing accepts.
        WmMouseInput(WM_LBUTTONUP, Grid->ClientToScreen(TPoint{p.X + 4, p.Y}));
    };
    Drv->Advance(1000);
    Drv->MouseDown(Grid->ClientToScreen(p));
    Drv->MouseMove(Grid->ClientToScreen(TPoint{p.X + 3, p.Y}));
    Drv->Pump();
    EXPECT_EQ(starts, 0);
    Drv->MouseMove(Grid->ClientToScreen(TPoint{p.X + 4, p.Y}));
    Drv->Pump();
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(Grid->MoveForm(), nullptr);
}

TEST_F(VodGridMouse, ColumnSizingReportsTheWidthAndASizingReleasedOutsideIsCancelled)
{
    TGridOptions o = Grid->Options();
    o.Include(goColSizing);
    Grid->SetOptions(o);
    Grid->SetHintShowSizing(true);
    std::vector<Integer> sizes;
    Grid->OnColumnSizing = [&](TObject*, Integer ACol, Integer W) {
        EXPECT_EQ(ACol, 2);
        sizes.push_back(W);
    };
    const TRect h = Grid->CellRect(2, 0);
    Drv->Advance(1000);
    Drv->Drag(Grid->ClientToScreen(TPoint{h.Right - 1, 8}), Grid->ClientToScreen(TPoint{h.Right + 19, 8}), 2);
    Drv->Pump();
    ASSERT_FALSE(sizes.empty());
    EXPECT_EQ(sizes.back(), Grid->ColWidths(2));
    EXPECT_GT(Grid->ColWidths(2), 64);
    ASSERT_TRUE(Grid->ScrollHintWindow());
    EXPECT_EQ(Grid->ScrollHintWindow()->Caption().substr(0, 6), L"cw=<b>");
    // Released beyond the grid's right edge: the width stays.
    const Integer w = Grid->ColWidths(2);
    const TRect h2 = Grid->CellRect(2, 0);
    Drv->Advance(1000);
    Drv->Drag(Grid->ClientToScreen(TPoint{h2.Right - 1, 8}), Grid->ClientToScreen(TPoint{Grid->Width() + 30, 8}), 3);
    Drv->Pump();
    EXPECT_EQ(Grid->ColWidths(2), w);
}

TEST_F(VodGridMouse, ARightClickInTheRowHeaderSelectsTheRowAndReportsTheFirstDataColumn)
{
    Grid->MouseActions()->SetSelectOnRightClick(true);
    Grid->MouseActions()->SetRowSelect(true);
    std::vector<std::pair<Integer, Integer>> clicks;
    Grid->OnClickCell = [&](TObject*, Integer ARow, Integer ACol) { clicks.emplace_back(ARow, ACol); };
    Drv->Advance(1000);
    Drv->ClickWindow(Grid->Handle(), In(Grid, 0, 5), TMouseButton2::Right);
    Drv->Pump();
    EXPECT_EQ(Grid->Row(), 5);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0], std::make_pair(5, 1));
    Integer rights = 0;
    Grid->OnRightClickCell = [&](TObject*, Integer ARow, Integer ACol) {
        EXPECT_EQ(ARow, 3);
        EXPECT_EQ(ACol, 4);
        ++rights;
    };
    Drv->Advance(1000);
    Drv->ClickWindow(Grid->Handle(), In(Grid, 4, 3), TMouseButton2::Right);
    Drv->Pump();
    EXPECT_EQ(rights, 1);
    EXPECT_EQ(Grid->Col(), 4);
    EXPECT_EQ(Grid->Row(), 3);
}

TEST_F(VodGridMouse, CellHintsSitBelowTheCellOrAtAComment)
{
    Grid->SetCells(2, 2, L"text");
    THintInfo hi;
    hi.CursorPos = In(Grid, 2, 2, 10, 5);
    String hint;
    Grid->PrepareCellHint(hint, hi);
    const TRect cr = Grid->CellRect(2, 2);
    EXPECT_EQ(hi.HintPos, Grid->ClientToScreen(TPoint{hi.CursorPos.X, cr.Bottom + 6}));
    Grid->AddComment(3, 3, L"note");
    hi.CursorPos = In(Grid, 3, 3, 10, 5);
    Grid->PrepareCellHint(hint, hi);
    const TRect c3 = Grid->CellRect(3, 3);
    EXPECT_EQ(hi.HintPos, Grid->ClientToScreen(TPoint{c3.Right, c3.Top}));
    Grid->SetHintShowCells(true);
    Grid->SetCells(4, 4, L"<b>bold</b>");
    hi.CursorPos = In(Grid, 4, 4, 10, 5);
    hint.clear();
    Grid->PrepareCellHint(hint, hi);
    EXPECT_EQ(hint, L"bold");
}
