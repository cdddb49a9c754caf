#include <gtest/gtest.h>

#include "platform/ui/Forms.h"
#include "platform/ui/Tooltips.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Headless.h"

namespace {

// A control that owns tools: it hears the tooltip's notifications and
// answers the text of callback tools.
class TToolOwner : public TCustomControl {
public:
    TToolOwner(TComponent* owner, TWinControl* parent, TRect bounds) : TCustomControl(owner)
    {
        SetParent(parent);
        SetBoundsRect(bounds);
    }
    std::vector<int> Codes;
    String CallbackText = L"From the owner";

protected:
    void WndProc(TMessage& M) override
    {
        if (M.Msg == WM_NOTIFY) {
            auto* hdr = reinterpret_cast<NMHDR*>(M.LParam);
            Codes.push_back(hdr->code);
            if (hdr->code == TTN_GETDISPINFOW) {
                auto* di = reinterpret_cast<NMTTDISPINFOW*>(M.LParam);
                CallbackText.copy(di->szText, 79);
                di->szText[std::min<size_t>(CallbackText.size(), 79)] = 0;
            }
            return;
        }
        TCustomControl::WndProc(M);
    }
};

class TooltipsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Drv = std::make_unique<THeadlessDriver>();
        InitForms();
        SetFixedMetricsFonts(true);
        Form = new TForm(Application);
        Form->Init();
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(100, 100, 400, 300);
        Owner = new TToolOwner(Form, Form, Bounds(10, 10, 200, 100));
        Form->Show();
        Tip = CreateWindowEx(WS_EX_TOPMOST, L"Tooltips_Class32", nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0,
                             Form->Handle());
        SendMessage(Tip, TTM_SETDELAYTIME, TTDT_INITIAL, 300);
        SendMessage(Tip, TTM_SETDELAYTIME, TTDT_AUTOPOP, 1000);
    }
    void TearDown() override
    {
        DestroyWindow(Tip);
        DoneForms();
        SetFixedMetricsFonts(false);
        Drv.reset();
    }
    void AddTool(UINT flags, UINT_PTR id, TRect rect, wchar_t* text)
    {
        TOOLINFOW ti;
        ti.uFlags = flags;
        ti.hwnd = Owner->Handle();
        ti.uId = id;
        ti.rect = rect;
        ti.lpszText = text;
        ASSERT_TRUE(SendMessage(Tip, TTM_ADDTOOLW, 0, LPARAM(&ti)));
    }
    void Hover(int x, int y) { Drv->MouseMoveWindow(Owner->Handle(), {x, y}); }
    bool Up() { return IsWindowVisible(Tip) != 0; }
    TRect TipRect()
    {
        TRect r;
        GetWindowRect(Tip, &r);
        return r;
    }
    std::unique_ptr<THeadlessDriver> Drv;
    TForm* Form = nullptr;
    TToolOwner* Owner = nullptr;
    HWND Tip = nullptr;
};

wchar_t* Text(const wchar_t* s) { return const_cast<wchar_t*>(s); }

}  // namespace

TEST_F(TooltipsTest, ShowsAfterTheInitialDelayAndPopsAfterTheAutoPopDelay)
{
    AddTool(TTF_SUBCLASS, 1, Bounds(0, 0, 50, 50), Text(L"Hello"));
    HWND active = GetActiveWindow();
    Hover(20, 20);
    Drv->Advance(299);
    EXPECT_FALSE(Up());
    Drv->Advance(1);
    ASSERT_TRUE(Up()) << "the mouse rested for the initial delay";
    EXPECT_EQ(Owner->Codes, std::vector<int>{TTN_SHOW});
    EXPECT_EQ(GetActiveWindow(), active) << "showing takes no activation";
    EXPECT_TRUE(GetWindowLong(Tip, GWL_EXSTYLE) & WS_EX_TOPMOST);
    TPoint cursor = Drv->ScreenPoint(Owner->Handle(), {20, 20});
    EXPECT_EQ(TipRect(), Bounds(cursor.X, cursor.Y + 20, 5 * 8 + 8, 16 + 4)) << "below the cursor, sized to the text";

    Drv->Advance(1000);
    EXPECT_FALSE(Up());
    EXPECT_EQ(Owner->Codes, (std::vector<int>{TTN_SHOW, TTN_POP}));
    Hover(25, 25);
    Drv->Advance(2000);
    EXPECT_FALSE(Up()) << "not again while the mouse stays on the tool";

    Hover(120, 20);  // off the tool
    Hover(20, 20);
    Drv->Advance(300);
    EXPECT_TRUE(Up()) << "back on the tool";
    Hover(120, 20);
    EXPECT_FALSE(Up()) << "leaving the tool pops the tip";
}

TEST_F(TooltipsTest, ClicksAndTtmPopPutTheTipAway)
{
    AddTool(TTF_SUBCLASS, 1, Bounds(0, 0, 50, 50), Text(L"Hello"));
    Hover(20, 20);
    Drv->Advance(300);
    ASSERT_TRUE(Up());
    Drv->ClickWindow(Owner->Handle(), {20, 20});
    EXPECT_FALSE(Up());
    Drv->Advance(2000);
    EXPECT_FALSE(Up()) << "a click keeps it away on that tool";

    Hover(120, 20);
    Hover(21, 21);
    Drv->Advance(300);
    ASSERT_TRUE(Up());
    SendMessage(Tip, TTM_POP);
    EXPECT_FALSE(Up());
    EXPECT_EQ(Owner->Codes.back(), TTN_POP);
    Hover(22, 22);
    Drv->Advance(300);
    EXPECT_TRUE(Up()) << "after TTM_POP a move on the same tool shows it again";
}

TEST_F(TooltipsTest, CallbackTextTitleAndMaxWidth)
{
    AddTool(TTF_SUBCLASS | TTF_IDISHWND, UINT_PTR(Owner->Handle()), TRect(), LPSTR_TEXTCALLBACKW);
    Owner->CallbackText = L"aaaa bbbb";
    SendMessage(Tip, TTM_SETMAXTIPWIDTH, 0, 40);
    Hover(150, 80);  // anywhere on a window tool
    Drv->Advance(300);
    ASSERT_TRUE(Up());
    EXPECT_EQ(Owner->Codes, (std::vector<int>{TTN_GETDISPINFOW, TTN_SHOW}));
    EXPECT_EQ(TipRect().Width(), 4 * 8 + 8) << "wrapped at the maximum width";
    EXPECT_EQ(TipRect().Height(), 2 * 16 + 4);

    SendMessage(Tip, TTM_POP);
    SendMessage(Tip, TTM_SETMAXTIPWIDTH, 0, -1);
    SendMessage(Tip, TTM_SETTITLEW, 1, LPARAM(L"Title"));
    Hover(151, 81);
    Hover(300, 300);
    Hover(150, 80);
    Drv->Advance(300);
    ASSERT_TRUE(Up());
    EXPECT_EQ(TipRect().Height(), 16 + 4 + 16 + 4) << "a title line above the text";
    EXPECT_EQ(TipRect().Width(), 9 * 8 + 8);
}

TEST_F(TooltipsTest, RelayedRectanglesAndTracking)
{
    AddTool(0, 1, Bounds(0, 0, 50, 50), Text(L"One"));
    AddTool(0, 2, Bounds(100, 0, 50, 50), Text(L"Two"));
    EXPECT_EQ(SendMessage(Tip, TTM_GETTOOLCOUNT), 2);
    auto relay = [&](int x, int y) {
        MSG m;
        m.hwnd = Owner->Handle();
        m.message = WM_MOUSEMOVE;
        m.lParam = MAKELPARAM(x, y);
        SendMessage(Tip, TTM_RELAYEVENT, 0, LPARAM(&m));
    };
    relay(10, 10);
    Drv->Advance(300);
    ASSERT_TRUE(Up());
    TRect first = TipRect();
    relay(110, 10);
    EXPECT_FALSE(Up());
    Drv->Advance(100);
    EXPECT_TRUE(Up()) << "the next tool shows after the reshow delay";
    EXPECT_NE(TipRect().Left, first.Left);

    TOOLINFOW ti;
    ti.hwnd = Owner->Handle();
    ti.uId = 2;
    SendMessage(Tip, TTM_DELTOOLW, 0, LPARAM(&ti));
    EXPECT_FALSE(Up()) << "a deleted tool's tip goes";
    EXPECT_EQ(SendMessage(Tip, TTM_GETTOOLCOUNT), 1);

    AddTool(TTF_TRACK | TTF_ABSOLUTE, 3, TRect(), Text(L"Track"));
    SendMessage(Tip, TTM_TRACKPOSITION, 0, MAKELPARAM(300, 200));
    ti.uId = 3;
    SendMessage(Tip, TTM_TRACKACTIVATE, TRUE, LPARAM(&ti));
    ASSERT_TRUE(Up()) << "tracking shows at once";
    EXPECT_EQ(TipRect().Left, 300);
    EXPECT_EQ(TipRect().Top, 200);
    SendMessage(Tip, TTM_TRACKPOSITION, 0, MAKELPARAM(320, 210));
    EXPECT_EQ(TipRect().Left, 320);
    Drv->Advance(5000);
    EXPECT_TRUE(Up()) << "a tracking tip does not pop by itself";
    SendMessage(Tip, TTM_TRACKACTIVATE, FALSE, LPARAM(&ti));
    EXPECT_FALSE(Up());
}

TEST_F(TooltipsTest, DestroyingTheTooltipUnhooksItsTools)
{
    WNDPROC before = reinterpret_cast<WNDPROC>(GetWindowLongPtr(Owner->Handle(), GWL_WNDPROC));
    AddTool(TTF_SUBCLASS, 1, Bounds(0, 0, 50, 50), Text(L"Hello"));
    EXPECT_NE(reinterpret_cast<WNDPROC>(GetWindowLongPtr(Owner->Handle(), GWL_WNDPROC)), before);
    DestroyWindow(Tip);
    Tip = nullptr;
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtr(Owner->Handle(), GWL_WNDPROC)), before);
    Hover(20, 20);
    Drv->Advance(300);  // nothing left to crash on
}
