// Scrolling: cells brought into view, the scroll bar messages with their
// hints and the scroll bar inside a cell, proportional ranges, the bars that
// stay shown, the flat scroll bars (absent here, and present through
// registered stand-ins), drag scrolling and the kinetic step on the
// settable clock.
#include <gtest/gtest.h>

#include <vector>

#include "controls/grid/GridScrollControls.h"
#include "controls/grid/HTMLHintWindow.h"
#include "controls/grid/VodGrid.h"
#include "platform/base/SysUtils.h"
#include "platform/os/Modules.h"
#include "platform/ui/ComCtrls_Bars.h"
#include "platform/ui/Timers.h"
#include "platform/ui/WindowManager.h"
#include "tests/controls/grid/StringGridFixture.h"

namespace {

class VodGridScroll : public TStringGridFixture<TVodStringGrid> {
protected:
    void SetUp() override
    {
        TStringGridFixture<TVodStringGrid>::SetUp();
        Grid->SetDefaultRowHeight(20);
        Grid->SetRowCount(100);
    }
    LRESULT Scroll(UINT Msg, Integer Code, Integer Pos = 0, HWND From = nullptr)
    {
        return SendMessage(Grid->Handle(), Msg, MAKEWPARAM(Code, Pos), LPARAM(reinterpret_cast<uintptr_t>(From)));
    }
    bool Shown(int Bar) const
    {
        return (GetWindowLong(Grid->Handle(), GWL_STYLE) & (Bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL)) != 0;
    }
};

}  // namespace

TEST_F(VodGridScroll, ScrollInViewPositions)
{
    const Integer vis = Grid->VisibleRowCount();
    ASSERT_GT(vis, 2);
    // A visible cell changes nothing.
    Grid->ScrollInView(2, 2, spMiddle);
    EXPECT_EQ(Grid->TopRow(), 1);
    struct TCase {
        TScrollPosition Pos;
        Integer Row, Top;
    } cases[] = {
        {spMiddle, 50, 50 - vis / 2},
        {spLeading, 60, 60},
        {spTrailing, 70, 71 - vis},
        {spLeading, 99, 100 - vis + 1},  // cut at the end
        {spMiddle, 3, 1},                // not above the first normal row
    };
    for (const TCase& c : cases) {
        Grid->ScrollInView(1, c.Row, c.Pos);
        EXPECT_EQ(Grid->TopRow(), c.Top) << c.Row;
        EXPECT_EQ(Grid->Row(), c.Row);
    }
    // Past the grid: nothing.
    Grid->ScrollInView(1, 100, spLeading);
    Grid->ScrollInView(5, 10, spLeading);
    EXPECT_EQ(Grid->TopRow(), 1);
}

TEST_F(VodGridScroll, ThumbTrackShowsRowHintAndScrollSynch)
{
    Grid->SetScrollHints(shVertical);
    ASSERT_NE(Grid->ScrollHintWindow(), nullptr);
    // The thumb maps 0..127 onto the scrollable rows.
    Grid->SetRowCount(128 + Grid->VisibleRowCount());
    Scroll(WM_VSCROLL, SB_THUMBTRACK, 56);
    EXPECT_TRUE(Grid->ScrollHintShowing());
    EXPECT_EQ(Grid->ScrollHintWindow()->Caption(), L"Row : 57");
    Grid->OnScrollHint = [](TObject*, Integer r, String& s) { s = L"at " + IntToStr(r); };
    Scroll(WM_VSCROLL, SB_THUMBTRACK, 10);
    EXPECT_EQ(Grid->ScrollHintWindow()->Caption(), L"at 11");
    EXPECT_EQ(Grid->TopRow(), 1);  // no ScrollSynch: the rows stay
    Scroll(WM_VSCROLL, SB_ENDSCROLL);
    EXPECT_FALSE(Grid->ScrollHintShowing());
    // Horizontal hints are not asked for.
    Scroll(WM_HSCROLL, SB_THUMBTRACK, 5);
    EXPECT_FALSE(Grid->ScrollHintShowing());
    Grid->SetScrollSynch(true);
    Scroll(WM_VSCROLL, SB_THUMBTRACK, 30);
    EXPECT_EQ(Grid->TopRow(), 31);
}

TEST_F(VodGridScroll, LineStepsStillScrollThroughThePlatform)
{
    Scroll(WM_VSCROLL, SB_LINEDOWN);
    Scroll(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(Grid->TopRow(), 3);
    Grid->SetColCount(20);
    Scroll(WM_HSCROLL, SB_LINEDOWN);
    EXPECT_EQ(Grid->LeftCol(), 2);
}

TEST_F(VodGridScroll, CellScrollBarSteps)
{
    Grid->AddScrollBar(2, 3, false);
    TScrollBar* sb = Grid->CellScrollBar();
    ASSERT_NE(sb, nullptr);
    sb->HandleNeeded();
    sb->SetParams(50, 0, 200);
    Grid->FScrollCol = 2;
    Grid->FScrollRow = 3;
    std::vector<Integer> fired;
    Grid->OnScrollCell = [&](TObject*, Integer c, Integer r, Integer pos, Integer mn, Integer mx) {
        EXPECT_EQ(c, 2);
        EXPECT_EQ(r, 3);
        EXPECT_EQ(mn, 0);
        EXPECT_EQ(mx, 200);
        fired.push_back(pos);
    };
    struct TCase {
        Integer Code, Thumb, Pos;
        LRESULT Result;
    } cases[] = {
        {SB_LINEDOWN, 0, 60, 1},   {SB_LINEUP, 0, 50, 1},    {SB_PAGEDOWN, 0, 150, 1},
        {SB_PAGEDOWN, 0, 200, 1},  {SB_LINEDOWN, 0, 200, 0}, {SB_THUMBTRACK, 7, 7, 1},
        {SB_LINEUP, 0, 0, 1},      {SB_PAGEUP, 0, 0, 0},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(Scroll(WM_VSCROLL, c.Code, c.Thumb, sb->Handle()), c.Result) << c.Code;
        EXPECT_EQ(sb->Position(), c.Pos);
        EXPECT_EQ(Grid->GetScrollPosition(2, 3), c.Pos);
    }
    EXPECT_EQ(fired, (std::vector<Integer>{60, 50, 150, 200, 7, 0}));
    EXPECT_EQ(Grid->TopRow(), 1);  // the grid itself did not scroll
}

TEST_F(VodGridScroll, ProportionalVerticalRange)
{
    Grid->SetScrollBars(ssVertical);
    for (Integer c = 0; c < 5; ++c) Grid->SetColWidths(c, 50);
    Grid->SetRowCount(41);  // 40 normal rows of 20 + a grid line of 1
    ASSERT_EQ(Grid->GridLineWidth(), 1);
    Grid->SetScrollProportional(true);
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    GetScrollInfo(Grid->Handle(), SB_VERT, &si);
    // F = 1 + 21, T = 1 + 40 * 21, H = 120: e = 98 / 841.
    EXPECT_EQ(si.nMax, 143);
    EXPECT_EQ(si.nPage, 17u);
    EXPECT_EQ(si.nPos, 0);
    Grid->SetTopRow(11);
    Grid->UpdateProportionalVScroll();
    GetScrollInfo(Grid->Handle(), SB_VERT, &si);
    EXPECT_EQ(si.nPos, 37);  // A = 1 + 10 * 21 over T - H = 721, times 128
    // Locked, the range stays as it is.
    Grid->SetScrollLock(true);
    Grid->SetRowCount(400);
    GetScrollInfo(Grid->Handle(), SB_VERT, &si);
    EXPECT_EQ(si.nPage, 17u);
    // Off again: the plain range without a page.
    Grid->SetScrollLock(false);
    Grid->SetScrollProportional(false);
    GetScrollInfo(Grid->Handle(), SB_VERT, &si);
    EXPECT_EQ(si.nPage, 0u);
    EXPECT_EQ(si.nMax, kGridThumbMax);
}

TEST_F(VodGridScroll, ProportionalStopsWhenAllRowsFit)
{
    Grid->SetScrollBars(ssVertical);
    Grid->SetRowCount(3);
    Grid->SetScrollProportional(true);
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    GetScrollInfo(Grid->Handle(), SB_VERT, &si);
    EXPECT_EQ(si.nPage, 0u);
}

TEST_F(VodGridScroll, ScrollBarAlwaysKeepsTheBarShownAndDisabled)
{
    Grid->SetScrollBars(ssBoth);
    Grid->SetRowCount(3);
    Grid->SetScrollBarAlways(saVert);
    EXPECT_TRUE(Shown(SB_VERT));
    EXPECT_EQ(WndOf(Grid->Handle())->scrollDisabled[SB_VERT], UINT(ESB_DISABLE_BOTH));
    // Rows that no longer fit enable it.
    Grid->SetRowCount(100);
    EXPECT_EQ(WndOf(Grid->Handle())->scrollDisabled[SB_VERT], UINT(ESB_ENABLE_BOTH));
    // saNone with hide: a bar whose rows fit goes.
    Grid->SetRowCount(3);
    Grid->SetScrollBarAlways(saNone);
    EXPECT_FALSE(Shown(SB_VERT));
}

namespace {
// Stand-ins for the flat scroll bar functions, recording their calls.
std::vector<std::string> gFlatCalls;
BOOL FakeInit(HWND) { gFlatCalls.push_back("init"); return TRUE; }
HRESULT FakeUninit(HWND) { gFlatCalls.push_back("uninit"); return 0; }
BOOL FakeProp(HWND, UINT i, intptr_t v, BOOL)
{
    gFlatCalls.push_back("prop " + std::to_string(i) + "=" + std::to_string(v));
    return TRUE;
}
BOOL FakeShow(HWND, int bar, BOOL show)
{
    gFlatCalls.push_back("show " + std::to_string(bar) + "=" + std::to_string(show));
    return TRUE;
}
int FakeInfo(HWND, int bar, const SCROLLINFO*, BOOL)
{
    gFlatCalls.push_back("info " + std::to_string(bar));
    return 0;
}
const char* kFlatNames[] = {"InitializeFlatSB", "UninitializeFlatSB", "FlatSB_SetScrollProp", "FlatSB_ShowScrollBar",
                            "FlatSB_SetScrollInfo"};
}  // namespace

TEST_F(VodGridScroll, FlatScrollBarsAbsentLeaveTheNormalBars)
{
    Grid->SetScrollBars(ssBoth);
    Grid->SetScrollType(ssFlat);
    EXPECT_FALSE(Grid->IsFlat());
    Scroll(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(Grid->TopRow(), 2);
}

TEST_F(VodGridScroll, FlatScrollBarsWhereTheLibraryHasThem)
{
    void* fns[] = {reinterpret_cast<void*>(&FakeInit), reinterpret_cast<void*>(&FakeUninit),
                   reinterpret_cast<void*>(&FakeProp), reinterpret_cast<void*>(&FakeShow),
                   reinterpret_cast<void*>(&FakeInfo)};
    for (int i = 0; i < 5; ++i) RegisterModuleExport(L"comctl32.dll", kFlatNames[i], fns[i]);
    gFlatCalls.clear();
    Grid->SetScrollBars(ssBoth);
    for (Integer c = 0; c < 5; ++c) Grid->SetColWidths(c, 50);
    Grid->SetScrollColor(TColor(0x123456));
    Grid->SetScrollType(ssEncarta);
    EXPECT_TRUE(Grid->IsFlat());
    // Style (vertical, horizontal), colour, width; then the vertical bar
    // shown and synchronised (rows do not fit), the horizontal hidden.
    const std::string w = std::to_string(Grid->ScrollWidth());
    const std::vector<std::string> want{"init", "prop 256=1", "prop 512=1", "prop 64=1193046", "prop 128=1193046",
                                        "prop 8=" + w, "prop 4=" + w, "show 1=1", "info 1", "show 0=0",
                                        "prop 256=1", "prop 512=1"};
    EXPECT_EQ(gFlatCalls, want);
    gFlatCalls.clear();
    Scroll(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(gFlatCalls, (std::vector<std::string>{"info 1", "info 0"}));
    gFlatCalls.clear();
    Grid->SetScrollType(ssNormal);
    EXPECT_FALSE(Grid->IsFlat());
    EXPECT_EQ(gFlatCalls, (std::vector<std::string>{"uninit"}));
    for (const char* n : kFlatNames) RegisterModuleExport(L"comctl32.dll", n, nullptr);
}

TEST_F(VodGridScroll, MetroScrollTypeUsesTheThinControls)
{
    Grid->SetScrollBars(ssBoth);
    Grid->SetScrollType(ssMetro);
    ASSERT_NE(Grid->VScrollControl(), nullptr);
    EXPECT_EQ(Grid->VScrollControl()->Width(), 6);
    EXPECT_EQ(Grid->HScrollControl()->Height(), 6);
    EXPECT_EQ(Grid->ScrollBars(), ssNone);
    Grid->SetScrollType(ssNormal);
    EXPECT_EQ(Grid->VScrollControl(), nullptr);
    EXPECT_EQ(Grid->ScrollBars(), ssBoth);
}

TEST_F(VodGridScroll, DragScrollingNearTheTopEdge)
{
    Grid->SetTopRow(4);
    Grid->DragScrollOptions()->SetActive(true);
    bool accept = false;
    Grid->DragOver(nullptr, 100, 30, dsDragEnter, accept);
    ASSERT_NE(Grid->DragScrollTimer(), nullptr);
    EXPECT_TRUE(Grid->DragScrollDirection().Contains(dsdUp));
    Drv->Advance(990);
    EXPECT_EQ(Grid->TopRow(), 4);
    Drv->Advance(20);  // one second: one row
    EXPECT_EQ(Grid->TopRow(), 3);
    Drv->Advance(250);  // then every 250 ms
    EXPECT_EQ(Grid->TopRow(), 2);
    Drv->Advance(1000);  // until the first normal row is on top
    EXPECT_EQ(Grid->TopRow(), 1);
    // OnDragScroll may turn the direction round or forbid the step.
    Grid->OnDragScroll = [](TObject*, Integer, Integer, TDragScrollDirection& d, bool&) {
        d = TDragScrollDirection().Include(dsdDown);
    };
    Drv->Advance(250);
    EXPECT_EQ(Grid->TopRow(), 2);
    Grid->OnDragScroll = [](TObject*, Integer, Integer, TDragScrollDirection&, bool& can) { can = false; };
    Drv->Advance(500);
    EXPECT_EQ(Grid->TopRow(), 2);
    // Away from the edges, and on leaving, the timer goes.
    Grid->DragOver(nullptr, 100, 60, dsDragMove, accept);
    EXPECT_EQ(Grid->DragScrollTimer(), nullptr);
    Grid->DragOver(nullptr, 100, 110, dsDragMove, accept);
    EXPECT_TRUE(Grid->DragScrollDirection().Contains(dsdDown));
    Grid->DragOver(nullptr, 100, 110, dsDragLeave, accept);
    EXPECT_EQ(Grid->DragScrollTimer(), nullptr);
    // Inactive: nothing starts.
    Grid->DragScrollOptions()->SetActive(false);
    Grid->DragOver(nullptr, 5, 5, dsDragMove, accept);
    EXPECT_EQ(Grid->DragScrollTimer(), nullptr);
}

TEST_F(VodGridScroll, DragScrollSwitchedOffWhileRunning)
{
    Grid->SetTopRow(4);
    Grid->DragScrollOptions()->SetActive(true);
    bool accept = false;
    Grid->DragOver(nullptr, 100, 10, dsDragMove, accept);
    Grid->DragScrollOptions()->SetActive(false);
    Drv->Advance(2000);
    EXPECT_EQ(Grid->TopRow(), 4);
    ASSERT_NE(Grid->DragScrollTimer(), nullptr);
    EXPECT_FALSE(Grid->DragScrollTimer()->Enabled());
}

TEST_F(VodGridScroll, KineticStepsThenStop)
{
    TTimer* t = Grid->KineticScrollTimer();
    t->SetInterval(20);
    Grid->FScrollVert = true;
    Grid->FScrollDelta = 2;
    Grid->FScrollSteps = 3;
    Grid->FScrollEnd = true;
    t->SetEnabled(true);
    Drv->Advance(200);
    EXPECT_EQ(Grid->TopRow(), 7);
    EXPECT_EQ(Grid->FScrollSteps, 0);
    EXPECT_FALSE(Grid->FScrollEnd);
    EXPECT_FALSE(t->Enabled());
    // Backwards, not past the fixed columns.
    Grid->SetColCount(30);
    Grid->SetLeftCol(3);
    Grid->FScrollVert = false;
    Grid->FScrollDelta = -1;
    Grid->FScrollSteps = 5;
    t->SetEnabled(true);
    Drv->Advance(200);
    EXPECT_EQ(Grid->LeftCol(), 1);
    EXPECT_FALSE(t->Enabled());
}
