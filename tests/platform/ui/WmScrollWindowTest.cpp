// Scrolling a window's pixels: the pixels of the scrolled part move, only
// the strip the move uncovered is invalidated, a pending update moves with
// them, and a child on the part keeps the move from happening (the whole
// part is invalidated instead).
#include "tests/platform/ui/WmTestSupport.h"

namespace {

class WmScrollWindow : public WmTest {
protected:
    HWND Root = nullptr;
    void SetUp() override
    {
        WmTest::SetUp();
        Root = Top(0, 0, 100, 100, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN);
        // Each row y painted in its own grey level, so a moved row shows.
        Log().Handlers[{Root, WM_PAINT}] = [this](WPARAM, LPARAM) -> LRESULT {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(Root, &ps);
            for (int y = 0; y < 100; ++y) {
                HBRUSH b = CreateSolidBrush(RGB(Byte(y * 2), Byte(y * 2), Byte(y * 2)));
                TRect r{0, y, 100, y + 1};
                FillRect(dc, &r, b);
                DeleteObject(b);
            }
            EndPaint(Root, &ps);
            return 0;
        };
        Drv->Pump();
    }
    Byte Level(int x, int y)
    {
        std::vector<uint32_t> px;
        int w = 0, h = 0;
        Drv->CaptureWindow(Root, px, w, h);
        return Byte(px[size_t(y) * size_t(w) + size_t(x)] & 0xFF);
    }
};

}  // namespace

TEST_F(WmScrollWindow, PixelsMoveAndOnlyTheUncoveredStripIsInvalidated)
{
    const TRect area{0, 20, 100, 100};
    TRect upd;
    EXPECT_EQ(ScrollWindowEx(Root, 0, -10, &area, &area, nullptr, &upd, SW_INVALIDATE), SIMPLEREGION);
    EXPECT_EQ(upd, (TRect{0, 90, 100, 100}));
    TRect u;
    ASSERT_TRUE(GetUpdateRect(Root, &u, FALSE));
    EXPECT_EQ(u, (TRect{0, 90, 100, 100}));
    // Row 40 now shows what row 50 showed; above the area nothing moved.
    EXPECT_EQ(Level(5, 40), 100);
    EXPECT_EQ(Level(5, 10), 20);
    // Horizontally: the strip at the left.
    ValidateRect(Root, nullptr);
    EXPECT_EQ(ScrollWindowEx(Root, 7, 0, nullptr, nullptr, nullptr, &upd, SW_INVALIDATE), SIMPLEREGION);
    EXPECT_EQ(upd, (TRect{0, 0, 7, 100}));
}

TEST_F(WmScrollWindow, APendingUpdateMovesWithThePixels)
{
    ValidateRect(Root, nullptr);
    const TRect pending{10, 50, 20, 60};
    InvalidateRect(Root, &pending, FALSE);
    TRect upd;
    ScrollWindowEx(Root, 0, -10, nullptr, nullptr, nullptr, &upd, SW_INVALIDATE);
    TRect u;
    ASSERT_TRUE(GetUpdateRect(Root, &u, FALSE));
    // The old place, the moved place (40..50) and the strip at the bottom.
    EXPECT_LE(u.Top, 40);
    EXPECT_GE(u.Bottom, 100);
}

TEST_F(WmScrollWindow, AChildOnThePartKeepsThePixelsAndInvalidatesAll)
{
    Child(Root, 30, 30, 20, 20);
    Drv->Pump();
    ValidateRect(Root, nullptr);
    const Byte before = Level(5, 40);
    TRect upd;
    ScrollWindowEx(Root, 0, -10, nullptr, nullptr, nullptr, &upd, SW_INVALIDATE);
    EXPECT_EQ(upd, (TRect{0, 0, 100, 100}));
    EXPECT_EQ(Level(5, 40), before);
    // Nothing to move: no region, nothing invalidated.
    ValidateRect(Root, nullptr);
    const TRect empty{0, 0, 0, 0};
    EXPECT_EQ(ScrollWindowEx(Root, 0, -10, &empty, nullptr, nullptr, &upd, SW_INVALIDATE), NULLREGION);
    TRect u;
    EXPECT_FALSE(GetUpdateRect(Root, &u, FALSE));
}
