// The search footer panel and the grid's window-level services around it:
// the panel's keys, buttons, layout and face, the settings transfer, the
// client area above the panel, the one balloon tooltip window and its
// texts, and the border in the modern looks.
#include <gtest/gtest.h>

#include "controls/grid/GridSearchPanel.h"
#include "controls/grid/VodGrid.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/Tooltips.h"
#include "platform/ui/WindowManager.h"
#include "tests/controls/grid/StringGridFixture.h"

namespace {

using SearchPanelTest = TStringGridFixture<TVodStringGrid>;

struct TCounts {
    int Forward = 0, Backward = 0, Changes = 0;
};

}  // namespace

TEST_F(SearchPanelTest, ButtonsFollowTheTextAndReturnNeverBreaksTheLine)
{
    Grid->SearchFooter()->SetVisible(true);
    Drv->Pump();
    TSearchPanel* p = Grid->SearchPanel();
    ASSERT_TRUE(p->HandleAllocated());
    static TCounts* counts = nullptr;
    TCounts local;
    counts = &local;
    p->OnForwardClick = [](TObject*) { ++counts->Forward; };
    p->OnBackwardClick = [](TObject*) { ++counts->Backward; };
    p->OnEditChange = [](TObject*) { ++counts->Changes; };

    TRetEdit* e = p->EditControl();
    EXPECT_FALSE(p->ForwardButton()->Enabled());
    EXPECT_FALSE(p->BackwardButton()->Enabled());
    EXPECT_FALSE(p->HighLightButton()->Enabled());
    e->SetFocus();
    Drv->TypeText(L"a");
    Drv->Pump();
    EXPECT_EQ(e->Text(), L"a");
    EXPECT_TRUE(p->ForwardButton()->Enabled());
    EXPECT_TRUE(p->BackwardButton()->Enabled());
    EXPECT_TRUE(p->HighLightButton()->Enabled());
    EXPECT_GE(local.Changes, 1);

    // Return finds forward, Ctrl+Return backward; no line break enters.
    Drv->PressKey(VK_RETURN);
    Drv->PressKey(VK_RETURN, {VK_CONTROL});
    Drv->Pump();
    EXPECT_EQ(local.Forward, 1);
    EXPECT_EQ(local.Backward, 1);
    EXPECT_EQ(e->Text(), L"a");

    Drv->PressKey(VK_BACK);
    Drv->Pump();
    EXPECT_EQ(e->Text(), L"");
    EXPECT_FALSE(p->ForwardButton()->Enabled());
    EXPECT_FALSE(p->HighLightButton()->Enabled());
}

TEST_F(SearchPanelTest, SettingsLayoutFaceAndClientArea)
{
    TSearchFooter* sf = Grid->SearchFooter();
    sf->SetFindNextCaption(L"Next");
    sf->SetHintClose(L"Close it");
    sf->SetColor(TColor(0xFFFFFF));
    sf->SetColorTo(TColor(0x0000C0));
    const Integer before = Grid->ClientRect().Bottom;
    sf->SetVisible(true);
    Drv->Pump();
    TSearchPanel* p = Grid->SearchPanel();
    EXPECT_TRUE(p->Visible());
    EXPECT_EQ(p->Height(), 32);
    EXPECT_EQ(p->Top(), Grid->Height() - 32);
    EXPECT_EQ(p->ForwardButton()->Caption(), L"Next");
    EXPECT_EQ(p->ExitButton()->Hint(), L"Close it");
    EXPECT_TRUE(p->ExitButton()->ShowHint());
    EXPECT_FALSE(p->BackwardButton()->ShowHint() && p->BackwardButton()->Hint().empty());
    EXPECT_EQ(p->ColorTo(), TColor(0x0000C0));
    // The client area ends above the panel.
    EXPECT_EQ(before, 120);
    EXPECT_EQ(Grid->ClientRect().Bottom, Grid->Height() - 32);

    // Fixed positions; the match-case box moves left without the highlight.
    EXPECT_EQ(p->EditControl()->Left(), 25);
    EXPECT_EQ(p->ForwardButton()->Left(), 140);
    EXPECT_EQ(p->BackwardButton()->Left(), 235);
    EXPECT_EQ(p->ExitButton()->Left(), 5);
    EXPECT_EQ(p->HighLightButton()->Left(), 330);
    EXPECT_EQ(p->MatchCase()->Left(), 425);
    sf->SetShowHighLight(false);
    EXPECT_EQ(p->MatchCase()->Left(), 330);
    EXPECT_EQ(p->HighLightButton()->Height(), 0);

    // The face: a vertical gradient and a grid-line coloured top line.
    Grid->SetGridLineColor(TColor(0x00FF00));
    p->Repaint();
    Drv->Pump();
    std::vector<uint32_t> px;
    int w = 0, h = 0;
    ASSERT_TRUE(Drv->CaptureWindow(p->Handle(), px, w, h));
    auto at = [&](int x, int y) { return px[size_t(y * w + x)] & 0xFFFFFF; };
    EXPECT_EQ(at(300, 0), 0x00FF00u);
    const uint32_t top = at(w - 5, 2), bottom = at(w - 5, h - 2);
    EXPECT_NE(top, bottom);
    EXPECT_GT(top & 0xFF, bottom & 0xFF);  // blue falls towards the bottom

    sf->SetVisible(false);
    EXPECT_EQ(p->Height(), 0);
    EXPECT_FALSE(p->Visible());
    EXPECT_EQ(Grid->ClientRect().Bottom, 120);
}

TEST_F(SearchPanelTest, OneBalloonWindowWithItsDelaysAndTransparency)
{
    TBalloonSettings* b = Grid->Balloon();
    b->SetInitialDelay(-1);
    b->SetAutoHideDelay(4000);
    b->SetTransparency(55);
    b->SetEnable(true);
    const HWND tip = Grid->ToolTipHandle();
    ASSERT_NE(tip, nullptr);
    b->SetEnable(false);
    b->SetEnable(true);
    b->SetEnable(true);
    EXPECT_NE(Grid->ToolTipHandle(), nullptr);
    EXPECT_TRUE(IsWindow(Grid->ToolTipHandle()));
    EXPECT_FALSE(IsWindow(tip));
    // One more enabling while it exists makes no second window.
    const HWND tip2 = Grid->ToolTipHandle();
    Grid->BalloonInit();
    EXPECT_EQ(Grid->ToolTipHandle(), tip2);
    EXPECT_EQ(SendMessage(tip2, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 4000);
    Byte alpha = 0;
    DWORD key = 0, flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(tip2, &key, &alpha, &flags));
    EXPECT_EQ(alpha, 200);
    Grid->BalloonDone();
    EXPECT_FALSE(IsWindow(tip2));
    EXPECT_EQ(Grid->ToolTipHandle(), nullptr);
}

TEST_F(SearchPanelTest, BalloonTextIsShapedFromTheCellUnderTheMouse)
{
    Grid->Balloon()->SetEnable(true);
    auto ask = [&](TPoint client) {
        Drv->MouseMoveWindow(Grid->Handle(), client);
        NMTTDISPINFOW info;
        info.hdr.hwndFrom = Grid->ToolTipHandle();
        info.hdr.code = UINT(TTN_GETDISPINFOW);
        SendMessage(Grid->Handle(), WM_NOTIFY, 0, LPARAM(&info));
        return String(info.lpszText ? info.lpszText : L"");
    };
    const TRect r = Grid->CellRect(1, 1);
    const TPoint mid{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    Grid->SetCells(1, 1, L"<b>bold</b>\tand <i>more</i>");
    EXPECT_EQ(ask(mid), L"bold and more");
    Grid->SetCells(1, 1, String(3000, L'x'));
    const String cut = ask(mid);
    EXPECT_EQ(cut.size(), 2048u);
    EXPECT_EQ(cut.substr(2045), L"...");
    Grid->SetCells(1, 1, L"{\\rtf1 plain {\\b rich} text}");
    EXPECT_EQ(ask(mid), L"plain rich text");
    Grid->SetCells(1, 1, L"{\\rtf1 broken {\\b");
    EXPECT_NO_THROW(ask(mid));
    // Without ShowCell and without a handler the balloon is empty; the
    // event may fill it.
    Grid->Balloon()->SetShowCell(false);
    EXPECT_EQ(ask(mid), L"");
    Grid->OnCellBalloon = [](TObject*, Integer c, Integer r, String& title, String& text, Integer&) {
        text = L"cell " + IntToStr(c) + L"," + IntToStr(r);
        title = String(150, L't');
    };
    EXPECT_EQ(ask(mid), L"cell 1,1");
    EXPECT_EQ(Grid->ToolTipTitle().size(), 100u);
    EXPECT_EQ(Grid->LastBalloonCell(), (TPoint{1, 1}));
}

TEST_F(SearchPanelTest, BorderInTheModernLooksOnly)
{
    Grid->SetBorderStyle(bsSingle);
    Grid->SetBorderColor(TColor(0x0000FF));
    Grid->SetLook(glXP);
    Grid->SetBorderColor(TColor(0x0000FF));
    Drv->Pump();
    auto corner = [&]() {
        std::vector<uint32_t> px;
        int w = 0, h = 0;
        Drv->CaptureWindow(Grid->Handle(), px, w, h);
        return std::make_pair(px[size_t(w / 2)] & 0xFFFFFF, px[size_t(1 * w + w / 2)] & 0xFFFFFF);
    };
    Grid->DrawNCBorder();
    auto [outer, inner] = corner();
    // With FitCellsInGrid the border is one pixel in, the parent's colour
    // outside it.
    EXPECT_EQ(inner, 0xFF0000u);  // red in RGB order of the capture
    EXPECT_NE(outer, 0xFF0000u);
    // The classic looks keep the system frame.
    Grid->SetLook(glStandard);
    Grid->SetBorderColor(TColor(0x00FF00));
    Grid->Invalidate();
    Drv->Pump();
    Grid->DrawNCBorder();
    EXPECT_NE(corner().second, 0x00FF00u);
}

TEST_F(SearchPanelTest, DesignPanelOnlyWhileDesigning)
{
    Grid->SetShowDesignHelper(true);
    const TRect cr = Grid->ClientRect();
    // At run time nothing answers, whatever the switch says.
    EXPECT_EQ(SendMessage(Grid->Handle(), CM_DESIGNHITTEST, 0, LPARAM((cr.Right - 10) | ((cr.Bottom - 60) << 16))), 0);
    Grid->SetDesigning(true);
    // The close box in the top right corner of the panel; the look line.
    const Integer th = Grid->Canvas()->TextHeight(L"gh");
    const Integer ph = 4 * th + 18;
    EXPECT_EQ(Grid->DesignHitTest(cr.Right - 5, cr.Bottom - ph + 5), 4);
    EXPECT_EQ(Grid->DesignHitTest(cr.Right - 148, cr.Bottom - ph + 3 * (th + 2) + 6), 3);
    EXPECT_EQ(Grid->DesignHitTest(cr.Right - 160, cr.Bottom - 5), -1);
    // Column numbers toggle.
    const bool nrs = Grid->ShowColNrs();
    Grid->DesignHelperClick(cr.Right - 148, cr.Bottom - ph + 2 * (th + 2) + 6);
    EXPECT_NE(Grid->ShowColNrs(), nrs);
    Grid->DesignHelperClick(cr.Right - 5, cr.Bottom - ph + 5);
    EXPECT_FALSE(Grid->ShowDesignHelper());
    Grid->SetDesigning(false);
}
