// The grid's companion windows: the focus frame and its hole, the markup
// hint window on its monitor, the floating footer's states, template,
// painting and clicks, the thin scroll controls' thumb, paging and drag,
// and the header drag button.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "controls/grid/GridFooter.h"
#include "controls/grid/GridScrollControls.h"
#include "controls/grid/HTMLHintWindow.h"
#include "controls/grid/VodGrid.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/WindowManager.h"
#include "tests/controls/grid/StringGridFixture.h"

namespace {

using CompanionsTest = TStringGridFixture<TVodStringGrid>;

uint32_t PixelAt(THeadlessDriver& D, HWND h, int x, int y)
{
    std::vector<uint32_t> px;
    int w = 0, hh = 0;
    if (!D.CaptureWindow(h, px, w, hh) || x < 0 || y < 0 || x >= w || y >= hh) return 0;
    return px[size_t(y) * size_t(w) + size_t(x)] & 0xFFFFFF;
}

// 0x00RRGGBB of a TColor (00BBGGRR).
uint32_t Rgb(TColor c)
{
    const uint32_t v = uint32_t(ColorToRGB(c));
    return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
}

// The headless driver of each test starts without hooks: the grid unit's
// window hook is put in for the test's duration.
struct TGridHookScope {
    HHOOK Saved = GridUnit().Hook;
    TGridHookScope() { GridUnit().Hook = SetWindowsHookEx(WH_CALLWNDPROC, GridCallWndHook, nullptr, GetCurrentThreadId()); }
    ~TGridHookScope()
    {
        UnhookWindowsHookEx(GridUnit().Hook);
        GridUnit().Hook = Saved;
    }
};

}  // namespace

// ---------------------------------------------------------------------------
// Focus frame

TEST_F(CompanionsTest, FocusFrameRingsTheCellAndLetsClicksThroughItsHole)
{
    TGridHookScope hook;
    Form->SetBounds(40, 30, 500, 300);
    Drv->Pump();
    Grid->SetColWidths(1, 100);
    Grid->SetRowHeights(1, 20);
    Grid->FocusCell(1, 1);
    const TRect cell = Grid->CellRect(1, 1);
    ASSERT_EQ(cell.Width(), 100);
    ASSERT_EQ(cell.Height(), 20);
    HWND active = GetActiveWindow();
    Grid->ShowFocusWindow(cell);
    Drv->Pump();
    TGridFocusWindow* f = Grid->FocusWindow();
    ASSERT_TRUE(f->HandleAllocated());
    TRect wr;
    GetWindowRect(f->Handle(), &wr);
    const TPoint origin = Grid->ClientToScreen(TPoint{cell.Left, cell.Top});
    EXPECT_EQ(wr, Bounds(origin.X - 4, origin.Y - 4, 109, 29));
    EXPECT_TRUE(IsWindowVisible(f->Handle()));
    EXPECT_NE(GetWindowLong(f->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    EXPECT_EQ(GetActiveWindow(), active);
    EXPECT_EQ(GridUnit().FocusFrameGrid, Grid);
    // The ring belongs to the frame; the cell inside it to the grid.
    EXPECT_EQ(WindowFromPoint(TPoint{origin.X - 2, origin.Y + 10}), f->Handle());
    EXPECT_EQ(WindowFromPoint(TPoint{origin.X + 50, origin.Y + 10}), Grid->Handle());

    // A form move takes the frame along; a current cell out of view hides it.
    Form->SetBounds(60, 50, 500, 300);
    Drv->Pump();
    GetWindowRect(f->Handle(), &wr);
    const TPoint moved = Grid->ClientToScreen(TPoint{cell.Left, cell.Top});
    EXPECT_EQ(TPoint(wr.Left, wr.Top), TPoint(moved.X - 4, moved.Y - 4));
    Grid->SetColCount(30);
    Grid->SetLeftCol(5);
    Form->SetBounds(61, 50, 500, 300);
    Drv->Pump();
    EXPECT_FALSE(IsWindowVisible(f->Handle()));
    EXPECT_EQ(GridUnit().FocusFrameGrid, nullptr);
}

TEST_F(CompanionsTest, DestroyingTheFramedGridForgetsItWhateverFocusHelperSays)
{
    TGridHookScope hook;
    Grid->FocusHelper()->SetEnabled(true);
    Grid->ShowFocusWindow(Grid->CellRect(1, 1));
    Drv->Pump();
    ASSERT_EQ(GridUnit().FocusFrameGrid, Grid);
    Grid->FocusHelper()->SetEnabled(false);
    delete Grid;
    Grid = nullptr;
    EXPECT_EQ(GridUnit().FocusFrameGrid, nullptr);
    // The form moves on without reaching the freed grid.
    Form->SetBounds(10, 10, 400, 300);
    Drv->Pump();
}

// ---------------------------------------------------------------------------
// Markup hint window

TEST_F(CompanionsTest, HintWindowMeasuresMarkupStaysOnItsMonitorAndNeverActivates)
{
    Drv->SetScreen(800, 600);
    auto* h = new THTMLHintWindow(Form);
    // Measured as drawn: bold text is wider than plain, tags take no room.
    const TRect plain = h->CalcHintRect(500, L"abcdef", nullptr);
    const TRect marked = h->CalcHintRect(500, L"<b>abcdef</b>", nullptr);
    EXPECT_GT(plain.Width(), 0);
    EXPECT_GT(plain.Height(), 0);
    EXPECT_GE(marked.Width(), plain.Width());
    EXPECT_LT(marked.Width(), plain.Width() * 2);
    // A packed wide text is measured as its plain wide text.
    const TRect wide = h->CalcHintRect(500, PackWideText(L"abcdef"), nullptr);
    EXPECT_EQ(wide.Width(), plain.Width());

    HWND active = GetActiveWindow();
    h->ActivateHint(Bounds(780, 100, 10, 10), L"A hint that is wider than the room left");
    Drv->Pump();
    ASSERT_TRUE(h->HandleAllocated());
    TRect wr;
    GetWindowRect(h->Handle(), &wr);
    EXPECT_EQ(wr.Right, 798);
    EXPECT_EQ(wr.Width(), h->TextWidth() + 16);
    EXPECT_EQ(wr.Height(), h->TextHeight() + 4);
    EXPECT_TRUE(IsWindowVisible(h->Handle()));
    EXPECT_EQ(GetActiveWindow(), active);
    EXPECT_NE(GetWindowLong(h->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(GetWindowLong(h->Handle(), GWL_STYLE) & WS_BORDER, 0);

    // Below the monitor's bottom it moves up to end 2 pixels inside.
    h->ActivateHint(Bounds(100, 595, 10, 10), L"low");
    GetWindowRect(h->Handle(), &wr);
    EXPECT_EQ(wr.Bottom, 598);
    EXPECT_EQ(wr.Height(), h->TextHeight() + 4);

    // A wide text keeps its unpacked caption and 8 pixels of extra width.
    h->ActivateHint(Bounds(100, 100, 10, 10), PackWideText(L"wide"));
    GetWindowRect(h->Handle(), &wr);
    EXPECT_EQ(h->WideCaption(), L"wide");
    EXPECT_EQ(wr.Width(), h->TextWidth() + 8);
}

TEST_F(CompanionsTest, HintWindowTakesTheGridsImagesFromTheHintData)
{
    auto* images = new TImageList(Form);
    Grid->SetGridImages(images);
    auto* h = new THTMLHintWindow(Form);
    h->ActivateHintData(Bounds(10, 10, 10, 10), L"<b>x</b>", static_cast<TObject*>(Grid));
    EXPECT_EQ(h->Images, images);
    EXPECT_EQ(h->PictureContainer, Grid->PictureContainer());
    // Other data leaves them as they are.
    h->ActivateHintData(Bounds(10, 10, 10, 10), L"y", static_cast<TObject*>(Form));
    EXPECT_EQ(h->Images, images);
    Grid->SetGridImages(nullptr);
}

TEST(GridHintWindowClassTest, OneMarkupHintClassServesScrollAndCellHints)
{
    THTMLHintWindow h(nullptr);
    EXPECT_TRUE(h.InheritsFrom(THintWindow::StaticClass()));
    EXPECT_EQ(h.Images, nullptr);
    EXPECT_EQ(h.PictureContainer, nullptr);
}

// ---------------------------------------------------------------------------
// Floating footer

TEST_F(CompanionsTest, FooterStatesManageFixedFootersAndTheAddedRow)
{
    TFloatingFooter* ff = Grid->FloatingFooter();
    for (Integer r = 1; r < 5; ++r) Grid->SetCellEx(1, r, L"r" + IntToStr(r));
    // The fixed last row: one fixed footer, the panel one pixel lower than
    // the footer.
    ff->SetHeight(25);
    ff->SetVisible(true);
    Drv->Pump();
    EXPECT_EQ(Grid->FixedFooters(), 1);
    EXPECT_EQ(Grid->RowCount(), 5);
    EXPECT_TRUE(Grid->FooterPanel()->Visible());
    EXPECT_EQ(Grid->FooterPanel()->Height(), 24);
    EXPECT_TRUE(Grid->FixedRowAlways());
    ff->SetVisible(false);
    EXPECT_EQ(Grid->FixedFooters(), 0);
    EXPECT_FALSE(Grid->FooterPanel()->Visible());

    // A preview style adds one empty row under the data while visible; the
    // data rows stay where they are.
    ff->SetFooterStyle(fsColumnPreview);
    EXPECT_EQ(Grid->RowCount(), 5);
    ff->SetVisible(true);
    EXPECT_EQ(Grid->RowCount(), 6);
    EXPECT_TRUE(ff->RowAdded());
    EXPECT_EQ(Grid->FixedFooters(), 0);
    EXPECT_EQ(Grid->Cells(1, 4), L"r4");
    EXPECT_EQ(Grid->Cells(1, 5), L"");
    // Switching to the fixed last row while visible takes the row away
    // again, without touching the data.
    ff->SetFooterStyle(fsFixedLastRow);
    EXPECT_EQ(Grid->RowCount(), 5);
    EXPECT_FALSE(ff->RowAdded());
    EXPECT_EQ(Grid->FixedFooters(), 1);
    EXPECT_EQ(Grid->Cells(1, 4), L"r4");
    ff->SetFooterStyle(fsCustomPreview);
    EXPECT_EQ(Grid->RowCount(), 6);
    ff->SetVisible(false);
    EXPECT_EQ(Grid->RowCount(), 5);
    EXPECT_EQ(Grid->Cells(1, 4), L"r4");
}

TEST_F(CompanionsTest, FooterTemplateTakesTheCurrentRowsColumns)
{
    Grid->SetCellEx(2, 3, L"two");
    Grid->SetCellEx(0, 3, L"zero");
    Grid->FocusCell(1, 3);
    TFooterPanel* p = Grid->FooterPanel();
    const struct {
        const wchar_t* Template;
        const wchar_t* Expect;
    } cases[] = {
        {L"before <#2> after", L"before two after"},
        {L"<#0>|<#2>", L"zero|two"},
        {L"a<#x>b", L"ab"},
        {L"a<#9>b", L"ab"},
        {L"open <#2", L"open <#2"},
        {L"", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(p->ExpandTemplate(c.Template), c.Expect) << c.Template;
}

TEST_F(CompanionsTest, FooterPanelPaintsItsStyleAndBorderLine)
{
    TFloatingFooter* ff = Grid->FloatingFooter();
    Grid->SetColCount(3);
    Grid->SetOptions(Grid->Options() - TGridOptions{goFixedHorzLine, goFixedVertLine});
    ff->SetColor(TColor(0x00FF00));
    ff->SetFooterStyle(fsColumnPreview);
    ff->SetVisible(true);
    Drv->Pump();
    TFooterPanel* p = Grid->FooterPanel();
    ASSERT_TRUE(p->HandleAllocated());
    const Integer w = p->FooterWidth();
    ASSERT_LT(w, p->Width());
    // No border line with clNone; the footer part in its colour, the rest
    // in the grid's.
    EXPECT_NE(PixelAt(*Drv, p->Handle(), 20, 0), Rgb(clRed));
    EXPECT_EQ(PixelAt(*Drv, p->Handle(), w + 5, 5), Rgb(Grid->Color()));
    ff->SetBorderColor(clRed);
    Drv->Pump();
    EXPECT_EQ(PixelAt(*Drv, p->Handle(), 20, 0), Rgb(clRed));
    EXPECT_EQ(PixelAt(*Drv, p->Handle(), w + 5, 0), Rgb(Grid->Color()));

    // The application paints the panel itself in fsCustomPaint.
    Integer painted = -2;
    Grid->OnPaintFooter = [&](TObject*, Integer col, TCanvas* c, TRect r) {
        painted = col;
        c->Brush()->SetColor(clBlue);
        c->FillRect(r);
    };
    ff->SetColumn(2);
    ff->SetFooterStyle(fsCustomPaint);
    p->Invalidate();
    Drv->Pump();
    EXPECT_EQ(painted, 2);
    EXPECT_EQ(PixelAt(*Drv, p->Handle(), p->Width() - 3, 8), Rgb(clBlue));
    Grid->OnPaintFooter = nullptr;
}

TEST_F(CompanionsTest, FooterClickReportsTheDisplayColumnUnderTheMouse)
{
    Grid->SetColCount(6);
    Grid->SetFixedCols(1);
    Grid->SetDefaultColWidth(40);
    Grid->FloatingFooter()->SetVisible(true);
    Drv->Pump();
    Grid->SetLeftCol(3);
    Drv->Pump();
    ASSERT_EQ(Grid->LeftCol(), 3);
    TFooterPanel* p = Grid->FooterPanel();
    std::vector<std::pair<Integer, Integer>> clicks;
    Grid->OnClickCell = [&](TObject*, Integer r, Integer c) { clicks.push_back({r, c}); };
    int gridClicks = 0;
    Grid->OnClick = [&](TObject*) { ++gridClicks; };
    // Over the fixed column, over the left column, over the last, past it.
    for (Integer x : {10, 50, 130, 170}) Drv->ClickWindow(p->Handle(), TPoint{x, 5});
    Drv->Pump();
    EXPECT_EQ(gridClicks, 4);
    const Integer last = Grid->RowCount() - 1;
    EXPECT_EQ(clicks, (std::vector<std::pair<Integer, Integer>>{{last, 0}, {last, 3}, {last, 5}}));
    // The hint search answers the column before the left one over the
    // fixed columns, and none past the last.
    EXPECT_EQ(p->ColumnAt(10), 2);
    EXPECT_EQ(p->ColumnAt(50), 3);
    EXPECT_EQ(p->ColumnAt(170), -1);
    Grid->OnClickCell = nullptr;
    Grid->OnClick = nullptr;
}

TEST_F(CompanionsTest, FooterRowKeepsItsContentsWhenRowsGo)
{
    TFloatingFooter* ff = Grid->FloatingFooter();
    const auto setUp = [&] {
        Grid->SetRowCount(8);
        for (Integer r = 1; r < 7; ++r) Grid->SetCellEx(1, r, L"r" + IntToStr(r));
        Grid->SetCellEx(1, 7, L"total");
        Grid->GetCellProperties(1, 7)->SetBrushColor(clYellow);
    };
    ff->SetVisible(true);
    const struct {
        const char* Name;
        std::function<void()> Remove;
        Integer Rows;
    } ways[] = {
        {"RemoveRows", [&] { Grid->RemoveRows(2, 2); }, 6},
        {"DeleteGridRow", [&] { Grid->DeleteGridRow(2, 1); }, 7},
        {"RemoveRowsEx", [&] { Grid->RemoveRowsEx(3, 1); }, 7},
        {"RemoveRowList",
         [&] {
             TIntList l(0, 0);
             l.Add(2);
             l.Add(4);
             Grid->RemoveRowList(&l);
         },
         6},
        {"HideRows", [&] { Grid->HideRows(2, 3); }, 6},
    };
    for (const auto& w : ways) {
        setUp();
        w.Remove();
        ASSERT_EQ(Grid->RowCount(), w.Rows) << w.Name;
        EXPECT_EQ(Grid->Cells(1, w.Rows - 1), L"total") << w.Name;
        EXPECT_EQ(Grid->Colors(1, w.Rows - 1), clYellow) << w.Name;
        if (Grid->NumHiddenRows() > 0) Grid->UnHideRowsAll();
    }
}

// ---------------------------------------------------------------------------
// Thin scroll controls

TEST_F(CompanionsTest, ScrollThumbGeometryPagingAndDrag)
{
    Grid->SetDefaultRowHeight(10);
    Grid->SetRowCount(1000);
    Grid->SetScrollType(ssMetro);
    Drv->Pump();
    TScrollControl* v = Grid->VScrollControl();
    ASSERT_NE(v, nullptr);
    ASSERT_EQ(v->Direction(), sdVertical);
    const Integer vis = Grid->VisibleRowCount();
    ASSERT_GT(vis, 2);
    // A track of the control's height less the fixed row; the thumb at least
    // 20 long.
    EXPECT_EQ(v->TrackStart(), 10);
    EXPECT_EQ(v->TrackLength(), v->Height() - 10);
    Integer start = 0, size = 0;
    v->ThumbRect(start, size);
    EXPECT_EQ(start, 10);
    EXPECT_EQ(size, 20);
    EXPECT_TRUE(v->ThumbVisible());

    // Clicks below the thumb page down, never past the last full page;
    // above it they page up to the first normal row.
    const auto clickBelow = [&] {
        v->ThumbRect(start, size);
        ASSERT_LT(start + size + 1, v->Height());
        Drv->ClickWindow(v->Handle(), TPoint{2, start + size + 1});
    };
    clickBelow();
    EXPECT_EQ(Grid->TopRow(), 1 + vis);
    Grid->SetRowCount(60);
    Grid->SetTopRow(60 - vis - 3);
    clickBelow();
    EXPECT_EQ(Grid->TopRow(), 60 - vis);
    Grid->SetTopRow(3);
    v->ThumbRect(start, size);
    ASSERT_GT(start, 2);
    Drv->ClickWindow(v->Handle(), TPoint{2, 2});
    EXPECT_EQ(Grid->TopRow(), 1);

    // Dragging the thumb moves the view by the share of the bar moved.
    v->ThumbRect(start, size);
    const TPoint from = Drv->ScreenPoint(v->Handle(), TPoint{2, start + 5});
    const Integer dy = 7;
    Drv->MouseDown(from);
    Drv->MouseMove(TPoint{from.X, from.Y + dy});
    EXPECT_EQ(Grid->TopRow(), 1 + Integer(std::nearbyint(double(dy) / double(v->Height() - 10) * 60.0)));
    Drv->MouseUp(TPoint{from.X, from.Y + dy});
    EXPECT_FALSE(v->Dragging());
}

TEST_F(CompanionsTest, ScrollDragOnABarNoLongerThanTheFirstRowIsIgnored)
{
    Grid->SetRowCount(100);
    Grid->SetScrollType(ssMetro);
    Drv->Pump();
    TScrollControl* v = Grid->VScrollControl();
    ASSERT_NE(v, nullptr);
    // The first row as high as the whole bar: no room to drag along.
    Grid->SetRowHeights(0, v->Height());
    Grid->SetTopRow(1);
    Integer start = 0, size = 0;
    v->ThumbRect(start, size);
    const Integer y = std::clamp(start + 2, 0, v->Height() - 1);
    const TPoint from = Drv->ScreenPoint(v->Handle(), TPoint{2, y});
    Drv->MouseDown(from);
    ASSERT_TRUE(v->Dragging());
    Drv->MouseMove(TPoint{from.X, from.Y - 3});
    Drv->MouseMove(TPoint{from.X, from.Y + 3});
    EXPECT_EQ(Grid->TopRow(), 1);
    Drv->MouseUp(TPoint{from.X, from.Y});
}

TEST_F(CompanionsTest, ScrollThumbHidesWhenEveryRowFitsAndNeedsAGrid)
{
    Grid->SetScrollType(ssMetro);
    Drv->Pump();
    EXPECT_FALSE(Grid->VScrollControl()->ThumbVisible());
    TScrollControl loose(nullptr, 1);
    Integer start = 5, size = 5;
    loose.ThumbRect(start, size);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(size, 0);
    EXPECT_EQ(loose.TrackLength(), 0);
    EXPECT_EQ(loose.Direction(), sdHorizontal);
}
