// A window's frame scroll bars: the client area they take, where they
// answer the hit test, the notifications a press on each part gives, and
// how they look.
#include "platform/ui/Themes.h"
#include "tests/platform/ui/WmTestSupport.h"

namespace {

struct TCode {
    int Code;
    int Pos;
    bool operator==(const TCode& o) const { return Code == o.Code && Pos == o.Pos; }
};
void PrintTo(const TCode& c, std::ostream* os) { *os << "{" << c.Code << "," << c.Pos << "}"; }

class WmScroll : public WmTest {
protected:
    // A frameless window at (100, 100), 200 x 150, with both bars: the
    // vertical one spans x 183..200, y 0..133 (arrows 17 high, track
    // 17..116); the range 0..99 with a page of 20 gives a 20-pixel thumb.
    HWND Scrolled(int pos = 0)
    {
        HWND h = Top(100, 100, 200, 150, WS_POPUP | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL);
        SCROLLINFO si;
        si.fMask = SIF_ALL;
        si.nMin = 0;
        si.nMax = 99;
        si.nPage = 20;
        si.nPos = pos;
        for (int bar : {SB_VERT, SB_HORZ}) SetScrollInfo(h, bar, &si, TRUE);
        Log().Clear();
        return h;
    }
    // The WM_VSCROLL codes (with the position for the thumb codes) so far.
    std::vector<TCode> Codes(UINT msg = WM_VSCROLL)
    {
        std::vector<TCode> r;
        for (auto& e : Log().Of(msg)) {
            int code = LOWORD(e.wParam);
            bool thumb = code == SB_THUMBTRACK || code == SB_THUMBPOSITION;
            r.push_back({code, thumb ? int(int16_t(HIWORD(e.wParam))) : 0});
        }
        return r;
    }
    TPoint At(int x, int y) { return {100 + x, 100 + y}; }
};

}  // namespace

TEST_F(WmScroll, BarsTakeTheirWidthFromTheClientAreaAsTheRangeNeedsThem)
{
    HWND h = Top(0, 0, 200, 100, WS_POPUP | WS_VISIBLE);
    Log().Clear();
    TRect c;
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE;
    si.nMax = 99;
    si.nPage = 50;
    SetScrollInfo(h, SB_VERT, &si, TRUE);
    GetClientRect(h, &c);
    EXPECT_EQ(c, Rect(0, 0, 200 - GetSystemMetrics(SM_CXVSCROLL), 100)) << "a range to scroll shows the bar";
    EXPECT_EQ(Log().Of(WM_SIZE).size(), 1u);

    si.nPage = 100;  // the page covers the range: nothing to scroll
    SetScrollInfo(h, SB_VERT, &si, TRUE);
    GetClientRect(h, &c);
    EXPECT_EQ(c, Rect(0, 0, 200, 100));
    EXPECT_FALSE(GetWindowLong(h, GWL_STYLE) & WS_VSCROLL);

    si.fMask |= SIF_DISABLENOSCROLL;  // stays, disabled
    SetScrollInfo(h, SB_VERT, &si, TRUE);
    SetScrollRange(h, SB_HORZ, 0, 500, TRUE);
    GetClientRect(h, &c);
    EXPECT_EQ(c, Rect(0, 0, 200 - GetSystemMetrics(SM_CXVSCROLL), 100 - GetSystemMetrics(SM_CYHSCROLL)));
    Log().Clear();
    Drv->Click({190, 5});
    EXPECT_TRUE(Log().Of(WM_VSCROLL).empty()) << "a disabled bar takes no presses";

    // Positions stay inside the range less the page.
    si.fMask = SIF_ALL;
    si.nMax = 99;
    si.nPage = 20;
    si.nPos = 95;
    EXPECT_EQ(SetScrollInfo(h, SB_VERT, &si, TRUE), 80);
    EXPECT_EQ(SetScrollPos(h, SB_VERT, -5, TRUE), 80);
    EXPECT_EQ(GetScrollPos(h, SB_VERT), 0);
}

TEST_F(WmScroll, HitTestFindsTheBarsAndTheBoxBetweenThem)
{
    HWND h = Scrolled();
    struct {
        TPoint P;
        LRESULT Hit;
    } cases[] = {
        {{10, 10}, HTCLIENT},  {{190, 5}, HTVSCROLL},  {{190, 132}, HTVSCROLL},
        {{5, 140}, HTHSCROLL}, {{182, 140}, HTHSCROLL}, {{190, 140}, HTSIZE},
        {{182, 132}, HTCLIENT},
    };
    for (auto& c : cases)
        EXPECT_EQ(SendMessage(h, WM_NCHITTEST, 0, PointToLParam(At(c.P.X, c.P.Y))), c.Hit)
            << c.P.X << "," << c.P.Y;
}

TEST_F(WmScroll, PressesOnArrowsAndPageAreasNotifyAndEndTheScroll)
{
    HWND h = Scrolled(40);  // the thumb at 17 + 79 * 40 / 80, about 57..77
    struct {
        TPoint P;
        UINT Msg;
        int Code;
    } cases[] = {
        {{190, 5}, WM_VSCROLL, SB_LINEUP},    {{190, 125}, WM_VSCROLL, SB_LINEDOWN},
        {{190, 30}, WM_VSCROLL, SB_PAGEUP},   {{190, 100}, WM_VSCROLL, SB_PAGEDOWN},
        {{5, 140}, WM_HSCROLL, SB_LINELEFT},  {{170, 140}, WM_HSCROLL, SB_LINERIGHT},
        {{30, 140}, WM_HSCROLL, SB_PAGELEFT}, {{150, 140}, WM_HSCROLL, SB_PAGERIGHT},
    };
    for (auto& c : cases) {
        Log().Clear();
        Drv->Click(At(c.P.X, c.P.Y));
        EXPECT_EQ(Codes(c.Msg), (std::vector<TCode>{{c.Code, 0}, {SB_ENDSCROLL, 0}})) << c.P.X << "," << c.P.Y;
        for (auto& e : Log().Of(c.Msg)) EXPECT_EQ(e.lParam, 0) << "a window's own bar";
    }
    EXPECT_EQ(GetScrollPos(h, SB_VERT), 40) << "the window procedure moves the position, not the bar";
    EXPECT_TRUE(Log().Of(WM_LBUTTONDOWN).empty() && Log().Of(WM_LBUTTONUP).empty());
}

TEST_F(WmScroll, AHeldArrowRepeatsWhileTheCursorStaysOnIt)
{
    Scrolled(40);
    Drv->MouseDown(At(190, 125));
    EXPECT_EQ(Codes().size(), 1u);
    Drv->Advance(300);
    EXPECT_EQ(Codes().size(), 1u) << "a pause before repeating";
    Drv->Advance(150);  // 350: first repeat, then every 50 ms
    EXPECT_EQ(Codes().size(), 4u);
    Drv->MouseMove(At(10, 10));
    Drv->Advance(200);
    EXPECT_EQ(Codes().size(), 4u) << "off the arrow it waits";
    Drv->MouseMove(At(190, 125));
    Drv->Advance(50);
    EXPECT_EQ(Codes().size(), 5u);
    Drv->MouseUp(At(190, 125));
    EXPECT_EQ(Codes().back(), (TCode{SB_ENDSCROLL, 0}));
    Drv->Advance(500);
    EXPECT_EQ(Codes().size(), 6u) << "released: no more repeats";
}

TEST_F(WmScroll, DraggingTheThumbTracksThenSetsThePosition)
{
    HWND h = Scrolled(0);  // thumb 17..37
    Drv->MouseDown(At(190, 27));
    EXPECT_TRUE(Codes().empty());
    Drv->MouseMove(At(190, 27 + 20));
    SCROLLINFO si;
    si.fMask = SIF_TRACKPOS | SIF_POS;
    GetScrollInfo(h, SB_VERT, &si);
    ASSERT_EQ(Codes().size(), 1u);
    EXPECT_EQ(Codes()[0].Code, SB_THUMBTRACK);
    EXPECT_EQ(Codes()[0].Pos, si.nTrackPos);
    EXPECT_NEAR(si.nTrackPos, 20, 1) << "20 pixels of a 79-pixel run over 80 positions";
    EXPECT_EQ(si.nPos, 0);
    Drv->MouseMove(At(60, 400));  // far past the end (and off the bar): the last position
    Drv->MouseUp(At(60, 400));
    auto codes = Codes();
    ASSERT_GE(codes.size(), 4u);
    EXPECT_EQ(codes[codes.size() - 3], (TCode{SB_THUMBTRACK, 80}));
    EXPECT_EQ(codes[codes.size() - 2], (TCode{SB_THUMBPOSITION, 80}));
    EXPECT_EQ(codes.back(), (TCode{SB_ENDSCROLL, 0}));
    EXPECT_TRUE(Log().Of(WM_MOUSEMOVE).empty() && Log().Of(WM_LBUTTONUP).empty())
        << "the press holds the mouse";
}

TEST_F(WmScroll, ThumbShowsThePositionInBothLooks)
{
    for (bool themed : {true, false}) {
        SetVisualStylesEnabled(themed);
        HWND h = Scrolled(0);
        auto px = [&](int x, int y) {
            std::vector<uint32_t> p;
            int w = 0, hh = 0;
            WmCaptureWindow(h, p, w, hh);
            return p[size_t(y) * size_t(w) + size_t(x)] & 0xFFFFFFu;
        };
        uint32_t thumb = px(191, 27), track = px(191, 100);
        EXPECT_NE(thumb, track) << "themed " << themed;
        SetScrollPos(h, SB_VERT, 80, TRUE);
        EXPECT_EQ(px(191, 27), track) << "themed " << themed;
        EXPECT_EQ(px(191, 100), thumb) << "themed " << themed;
        EXPECT_NE(px(5, 5), thumb);
        DestroyWindow(h);
    }
    SetVisualStylesEnabled(true);
}
