#include <gtest/gtest.h>

#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls_Edit.h"
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

TEST_F(TooltipsTest, BalloonPointsItsStemAtTheToolAndFlipsNearTheBottom)
{
    SetWindowLong(Tip, GWL_STYLE, GetWindowLong(Tip, GWL_STYLE) | TTS_BALLOON);
    const COLORREF bk = RGB(0x20, 0xC0, 0x40);
    SendMessage(Tip, TTM_SETTIPBKCOLOR, bk, 0);
    SendMessage(Tip, TTM_SETTITLEW, TTI_INFO, LPARAM(L"Heads up"));
    AddTool(TTF_TRACK | TTF_ABSOLUTE, 1, TRect(), Text(L"A balloon with a longer text"));
    TOOLINFOW ti;
    ti.hwnd = Owner->Handle();
    ti.uId = 1;
    auto pixel = [&](int x, int y) {
        std::vector<uint32_t> px;
        int w = 0, h = 0;
        EXPECT_TRUE(Drv->CaptureWindow(Tip, px, w, h));
        return px[size_t(y) * size_t(w) + size_t(x)] & 0xFFFFFF;
    };
    const uint32_t bkPixel = 0x20C040;

    struct Case {
        const char* Name;
        TPoint At;
        bool StemUp;
    } cases[] = {{"room below: under the point, stem up", {300, 200}, true},
                 {"at the bottom: above the point, stem down", {600, 720}, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        SendMessage(Tip, TTM_TRACKPOSITION, 0, PointToLParam(c.At));
        SendMessage(Tip, TTM_TRACKACTIVATE, TRUE, LPARAM(&ti));
        ASSERT_TRUE(Up());
        TRect r = TipRect();
        EXPECT_GE(c.At.X, r.Left);
        EXPECT_LT(c.At.X, r.Right);
        if (c.StemUp) EXPECT_EQ(r.Top, c.At.Y) << "the stem's tip touches the point";
        else EXPECT_EQ(r.Bottom - 1, c.At.Y);
        int tipX = c.At.X - r.Left;
        int stemY = c.StemUp ? 10 : r.Height() - 10;  // inside the stem, near its tip
        EXPECT_EQ(pixel(tipX, stemY), bkPixel) << "the stem is part of the balloon";
        int farX = tipX < r.Width() / 2 ? r.Width() - 3 : 3;
        EXPECT_NE(pixel(farX, stemY), bkPixel) << "beside the stem is outside the balloon";
        EXPECT_EQ(pixel(r.Width() / 2, r.Height() / 2), bkPixel) << "the body";
        EXPECT_NE(pixel(0, c.StemUp ? r.Height() - 1 : 0), bkPixel) << "round corners";
        SendMessage(Tip, TTM_TRACKACTIVATE, FALSE, LPARAM(&ti));
    }
}

TEST_F(TooltipsTest, EditShowsItsBalloonTipInABalloon)
{
    auto* edit = new TEdit(Form);
    edit->SetParent(Form);
    edit->SetBounds(20, 150, 150, 24);
    HWND h = edit->Handle();
    edit->SetFocus();
    // The balloon tooltip windows shown now.
    auto shownBalloons = [] {
        std::vector<HWND> r;
        for (HWND w = FindWindow(L"tooltips_class32", nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
            wchar_t cls[64] = {};
            GetClassName(w, cls, 64);
            if (String(cls) == L"tooltips_class32" && IsWindowVisible(w) && (GetWindowLong(w, GWL_STYLE) & TTS_BALLOON))
                r.push_back(w);
        }
        return r;
    };
    auto visibleBalloons = [&] { return int(shownBalloons().size()); };
    EDITBALLOONTIP tip;
    tip.pszTitle = L"Careful";
    tip.pszText = L"Numbers only";
    tip.ttiIcon = TTI_WARNING;
    ASSERT_TRUE(SendMessage(h, EM_SHOWBALLOONTIP, 0, LPARAM(&tip)));
    ASSERT_EQ(visibleBalloons(), 1);
    HWND shown = shownBalloons().front();
    TRect r, er;
    GetWindowRect(shown, &r);
    GetWindowRect(h, &er);
    EXPECT_GE(r.Top, er.Top + er.Height() / 2) << "below the edit's text, stem up";
    EXPECT_LE(r.Top, er.Bottom);
    EXPECT_GT(r.Left + r.Width(), er.Left);
    EXPECT_LT(r.Left, er.Right);

    ASSERT_TRUE(SendMessage(h, EM_SHOWBALLOONTIP, 0, LPARAM(&tip)));
    EXPECT_EQ(visibleBalloons(), 1) << "a new balloon replaces the old";
    SendMessage(h, EM_HIDEBALLOONTIP, 0, 0);
    EXPECT_EQ(visibleBalloons(), 0);
    SendMessage(h, EM_SHOWBALLOONTIP, 0, LPARAM(&tip));
    Drv->TypeText(L"5");
    EXPECT_EQ(visibleBalloons(), 0) << "typing takes it away";
    SendMessage(h, EM_SHOWBALLOONTIP, 0, LPARAM(&tip));
    delete edit;
    EXPECT_EQ(visibleBalloons(), 0) << "and so does the edit's end";
}
