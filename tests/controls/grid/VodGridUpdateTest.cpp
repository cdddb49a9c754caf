// The update bracket (nesting, the redraw switch and repaint counts, WM_PAINT
// under a bracket, a grid hidden inside a bracket), the grid timer on the
// settable clock (incremental-search reset, blink repaints), the focus flags,
// CM_DIALOGCHAR, and the cursors asked for by number.
#include <gtest/gtest.h>

#include "controls/grid/VodGrid.h"
#include "platform/base/Resources.h"
#include "platform/base/SysUtils.h"
#include "platform/gfx/Gdi.h"
#include "platform/ui/Forms.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Headless.h"

namespace {

class TBracketGrid : public TVodStringGrid {
public:
    explicit TBracketGrid(TComponent* o) : TVodStringGrid(o) {}
    std::vector<String> Log;
    std::vector<TPoint> Repainted;
    int Paints = 0;
    void DrawNCBorder() override { Log.push_back(L"border"); }
    void SetSearchInc(const String& s)
    {
        SearchInc = s;
        SearchTics = 0;
    }
    const String& SearchText() const { return SearchInc; }
    void SetBlockKill(bool v) { FBlockKill = v; }
    void SetBlockFocus(bool v) { FBlockFocus = v; }
    void SetInvokedFocusChange(bool v) { InvokedFocusChange = v; }
    void StoreCellValue(Integer c, Integer r) override { Log.push_back(L"store " + IntToStr(c) + L"," + IntToStr(r)); }
    void SetSelectMode(TMouseSelectMode m) { FMouseSelectMode = m; }
    void DrawGridCell(TCanvas* C, Integer c, Integer r, TRect rc, TGridDrawState s) override
    {
        ++Paints;
        TVodStringGrid::DrawGridCell(C, c, r, rc, s);
    }

protected:
    void Dispatch(TMessage& M) override
    {
        if (M.Msg == WM_SETREDRAW) Log.push_back(M.WParam ? L"redraw on" : L"redraw off");
        TVodStringGrid::Dispatch(M);
    }
};

class VodGridUpdate : public ::testing::Test {
protected:
    void SetUp() override
    {
        Drv = std::make_unique<THeadlessDriver>();
        InitForms();
        SetFixedMetricsFonts(true);
        Form = new TForm(Application);
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(0, 0, 500, 300);
        Grid = new TBracketGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBorderStyle(bsNone);
        Grid->SetScrollBars(ssNone);
        Grid->SetBounds(0, 0, 320, 120);
        Form->Init();
        Form->Show();
        Grid->SetFocus();
        Drv->Pump();
        Grid->Log.clear();
    }
    void TearDown() override
    {
        DoneForms();
        Drv.reset();
        SetFixedMetricsFonts(false);
    }
    void Tick(int n = 1)
    {
        for (int i = 0; i < n; ++i) {
            Drv->Advance(500);
            Drv->Pump();
        }
    }
    std::unique_ptr<THeadlessDriver> Drv;
    TForm* Form = nullptr;
    TBracketGrid* Grid = nullptr;
};

}  // namespace

TEST_F(VodGridUpdate, NestedBracketsRepaintOnceAtTheOutermostEnd)
{
    Grid->BeginUpdate();
    Grid->BeginUpdate();
    EXPECT_TRUE(Grid->IsUpdating());
    EXPECT_TRUE(Grid->Updating());  // the platform grid's flag
    EXPECT_TRUE(Grid->LockUpdate());
    EXPECT_EQ(Grid->Log, (std::vector<String>{L"redraw off", L"redraw off"}));
    Grid->Log.clear();
    Grid->SetCellEx(1, 1, L"x");
    Grid->EndUpdate();
    EXPECT_TRUE(Grid->Log.empty());
    Grid->EndUpdate();
    EXPECT_EQ(Grid->Log, (std::vector<String>{L"redraw on", L"border"}));
    EXPECT_FALSE(Grid->Updating());
    // An unbalanced end at 0 repaints again and stays at 0.
    Grid->Log.clear();
    Grid->EndUpdate();
    EXPECT_EQ(Grid->UpdateCount(), 0);
    EXPECT_EQ(Grid->Log, (std::vector<String>{L"redraw on", L"border"}));
    Grid->SetLockUpdate(true);
    EXPECT_EQ(Grid->UpdateCount(), 1);
    Grid->SetLockUpdate(false);
    Grid->StartUpdate();
    EXPECT_EQ(Grid->UpdateCount(), 1);
    Grid->ResetUpdate();
    EXPECT_FALSE(Grid->IsUpdating());
}

TEST_F(VodGridUpdate, PaintMessagesPaintNothingWhileABracketIsOpen)
{
    Grid->SetCellEx(1, 1, L"a");
    Drv->Pump();
    Grid->BeginUpdate();
    Grid->Paints = 0;
    EXPECT_EQ(SendMessage(Grid->Handle(), WM_PAINT, 0, 0), 0);
    Grid->Invalidate();
    Drv->Pump();
    EXPECT_EQ(Grid->Paints, 0);
    Grid->EndUpdate();
    Drv->Pump();
    EXPECT_GT(Grid->Paints, 0);
    // Double-buffered: the whole client goes through one memory bitmap.
    Grid->SetDoubleBuffered(true);
    Grid->Paints = 0;
    Grid->Invalidate();
    Drv->Pump();
    EXPECT_GT(Grid->Paints, 0);
    EXPECT_EQ(SendMessage(Grid->Handle(), WM_ERASEBKGND, 0, 0), 0);
}

TEST_F(VodGridUpdate, AHiddenGridKeepsItsCountAndPaintsAgainWhenShown)
{
    Grid->Hide();
    Grid->BeginUpdate();
    EXPECT_EQ(Grid->UpdateCount(), 0);
    Grid->Show();
    Grid->BeginUpdate();
    Grid->Hide();  // hidden inside the bracket
    Grid->EndUpdate();
    EXPECT_EQ(Grid->UpdateCount(), 0);
    EXPECT_FALSE(Grid->Updating());
    Grid->Show();
    Grid->Paints = 0;
    Grid->Invalidate();
    Drv->Pump();
    EXPECT_GT(Grid->Paints, 0);
}

TEST_F(VodGridUpdate, TimerForgetsTypedTextAndBlinks)
{
    ASSERT_EQ(Grid->GridTimerID(), 111);
    Grid->Navigation()->SetAutoGotoIncremental(true);
    Grid->SetSearchInc(L"ab");
    Tick(3);
    EXPECT_EQ(Grid->SearchText(), L"ab");
    Tick(1);
    EXPECT_EQ(Grid->SearchText(), L"");
    EXPECT_GE(Grid->TimerTicks(), 4);
    // Blinking: the phase toggles; cells with the tag in view repaint.
    Grid->SetRowCount(30);
    Grid->SetCellEx(2, 2, L"x<bLiNk>y</blink>");
    Grid->SetCellEx(2, 25, L"<BLINK>far</BLINK>");
    Grid->SetEnableBlink(true);
    Drv->Pump();
    const bool phase = Grid->GridBlink();
    Grid->Paints = 0;
    Tick(1);
    EXPECT_NE(Grid->GridBlink(), phase);
    EXPECT_GT(Grid->Paints, 0);
    Grid->SetCellEx(2, 2, L"plain");
    Drv->Pump();
    Grid->Paints = 0;
    Tick(1);
    EXPECT_EQ(Grid->Paints, 0);  // the only tag lies outside the view
}

TEST_F(VodGridUpdate, HoverSelectionFollowsTheMouseOnTheTimer)
{
    Grid->SetHovering(true);
    Drv->MouseMove(Grid->ClientToScreen(TPoint{3 * 64 + 10, 2 * 24 + 10}));
    Tick(1);
    EXPECT_EQ(Grid->Col(), 3);
    EXPECT_EQ(Grid->Row(), 2);
    Drv->MouseMove(Grid->ClientToScreen(TPoint{10, 10}));  // a fixed cell: nothing
    Tick(1);
    EXPECT_EQ(Grid->Col(), 3);
}

TEST_F(VodGridUpdate, FocusFlagsBlockEnterAndLeave)
{
    auto* other = new TVodStringGrid(Form);
    other->SetParent(Form);
    other->SetBounds(0, 150, 200, 100);
    int enters = 0, exits = 0;
    Grid->OnEnter = [&](TObject*) { ++enters; };
    Grid->OnExit = [&](TObject*) { ++exits; };
    other->SetFocus();
    Drv->Pump();
    EXPECT_EQ(exits, 1);
    Grid->Log.clear();
    Grid->SetFocus();
    Drv->Pump();
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(Grid->Log, std::vector<String>{L"store 1,1"});
    Grid->SetBlockKill(true);
    other->SetFocus();
    Drv->Pump();
    EXPECT_EQ(exits, 1);  // leaving is not seen
    Grid->SetBlockKill(false);
    Grid->SetBlockFocus(true);
    Grid->SetFocus();
    Drv->Pump();
    EXPECT_EQ(enters, 1);
    Grid->SetBlockFocus(false);
}

TEST_F(VodGridUpdate, FocusFlagsDialogCharsAndCursors)
{
    Grid->SetBlockKill(true);
    EXPECT_EQ(SendMessage(Grid->Handle(), WM_KILLFOCUS, 0, 0), 1);
    Grid->SetBlockKill(false);
    Grid->SearchFooter()->SetVisible(false);
    EXPECT_EQ(Grid->Perform(CM_DIALOGCHAR, L'n', 0), 0);
    Grid->SearchFooter()->SetVisible(true);
    EXPECT_EQ(Grid->Perform(CM_DIALOGCHAR, L'z', 0), 0);
    // Program cursors by number.
    Grid->SetSelectMode(msColumn);
    SendMessage(Grid->Handle(), WM_SETCURSOR, WPARAM(Grid->Handle()), HTCLIENT);
    EXPECT_EQ(Grid->CursorAsked(), crColSelectCursor);
    Grid->SetSelectMode(msRow);
    SendMessage(Grid->Handle(), WM_SETCURSOR, WPARAM(Grid->Handle()), HTCLIENT);
    EXPECT_EQ(Grid->CursorAsked(), crRowSelectCursor);
    Grid->SetSelectMode(msResize);
    SendMessage(Grid->Handle(), WM_SETCURSOR, WPARAM(Grid->Handle()), HTCLIENT);
    EXPECT_EQ(Grid->CursorAsked(), crAllSelectCursor);
    Grid->SetSelectMode(msNormal);
    Grid->SetCellSelectorMode(true);
    SendMessage(Grid->Handle(), WM_SETCURSOR, WPARAM(Grid->Handle()), HTCLIENT);
    EXPECT_EQ(Grid->CursorAsked(), crCellSelectCursor);
    Grid->SetCellSelectorMode(false);
    SendMessage(Grid->Handle(), WM_SETCURSOR, WPARAM(Grid->Handle()), HTCLIENT);
    EXPECT_EQ(Grid->CursorAsked(), 0);
    // The program carries the four cursors as resources.
    for (int id : {8010, 8011, 8012, 8014}) EXPECT_NE(FindResource(HInstance, MAKEINTRESOURCE(id), RT_CURSOR), nullptr) << id;
    // A cursor change not made by the grid's mouse handling ends the
    // selection mode.
    Grid->SetSelectMode(msRow);
    Grid->Perform(CM_CURSORCHANGED, 0, 0);
    EXPECT_EQ(Grid->MouseSelectMode(), msNormal);
}
