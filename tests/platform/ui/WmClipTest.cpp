// What a window's paint may touch: its client area inside its parents',
// less its visible children (WS_CLIPCHILDREN) and the visible siblings above
// it and above each of its parents (WS_CLIPSIBLINGS). Random scenes of
// overlapping, nested, hidden and restacked windows are painted, each
// window filling all it may with its own colour, and every pixel is checked
// against a model that works the clip out pixel by pixel.
#include <random>

#include "tests/platform/ui/WmTestSupport.h"

namespace {

class WmClip : public WmTest {
protected:
    static constexpr int W = 160, H = 120;
    HWND Root = nullptr;
    std::map<HWND, COLORREF> Colors;

    void SetUp() override
    {
        WmTest::SetUp();
        Root = Top(0, 0, W, H, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN);
        Paints(Root, RGB(1, 2, 3));
    }
    // h fills what it may paint with c.
    void Paints(HWND h, COLORREF c)
    {
        Colors[h] = c;
        Log().Handlers[{h, WM_PAINT}] = [h, c](WPARAM, LPARAM) -> LRESULT {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(h, &ps);
            TRect r;
            GetClientRect(h, &r);
            HBRUSH b = CreateSolidBrush(c);
            FillRect(dc, &r, b);
            DeleteObject(b);
            EndPaint(h, &ps);
            return 0;
        };
    }
    HWND Add(HWND parent, TRect r, DWORD style)
    {
        HWND h = Child(parent, r.Left, r.Top, r.Width(), r.Height(), WS_CHILD | style);
        int k = int(Colors.size());
        Paints(h, RGB(Byte(10 + k * 7 % 240), Byte(20 + k * 13 % 230), Byte(30 + k * 29 % 220)));
        return h;
    }

    static TRect ScreenRect(HWND h)
    {
        TRect r;
        GetWindowRect(h, &r);
        return r;
    }
    static bool Visible(HWND h) { return (WndOf(h)->style & WS_VISIBLE) != 0; }
    static bool In(const TRect& r, int x, int y) { return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom; }

    // May h's paint touch the screen pixel (x, y)?
    static bool MayPaint(HWND h, int x, int y)
    {
        TWnd* w = WndOf(h);
        for (HWND p = h; p; p = WndOf(p)->parent) {
            TRect c;
            GetClientRect(p, &c);
            TPoint o{0, 0};
            ClientToScreen(p, &o);
            OffsetRect(c, o.X, o.Y);
            if (!In(c, x, y)) return false;
        }
        if (w->style & WS_CLIPCHILDREN)
            for (HWND c : w->children)
                if (Visible(c) && In(ScreenRect(c), x, y)) return false;
        for (HWND s = h; WndOf(s)->parent; s = WndOf(s)->parent) {
            if (!(WndOf(s)->style & WS_CLIPSIBLINGS)) continue;
            for (HWND o : WndOf(WndOf(s)->parent)->children) {
                if (o == s) break;
                if (Visible(o) && In(ScreenRect(o), x, y)) return false;
            }
        }
        return true;
    }
    // The windows in the order a full repaint paints them: a window, then
    // its children from the bottom of the z-order up.
    static void PaintOrder(HWND h, std::vector<HWND>& out)
    {
        if (!Visible(h)) return;
        out.push_back(h);
        std::vector<HWND> kids = WndOf(h)->children;
        for (auto it = kids.rbegin(); it != kids.rend(); ++it) PaintOrder(*it, out);
    }
    // The model's screen: each window's colour where it may paint, later
    // painters over earlier ones.
    std::vector<uint32_t> Expected()
    {
        std::vector<uint32_t> px(size_t(W) * H, 0);
        std::vector<HWND> order;
        PaintOrder(Root, order);
        for (HWND h : order) {
            COLORREF c = Colors[h];
            uint32_t v = 0xFF000000u | uint32_t(GetRValue(c)) << 16 | uint32_t(GetGValue(c)) << 8 | GetBValue(c);
            for (int y = 0; y < H; ++y)
                for (int x = 0; x < W; ++x)
                    if (MayPaint(h, x, y)) px[size_t(y) * W + x] = v;
        }
        return px;
    }
    std::vector<uint32_t> Painted()
    {
        RedrawWindow(Root, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        std::vector<uint32_t> px;
        int w = 0, h = 0;
        EXPECT_TRUE(WmCaptureWindow(Root, px, w, h));
        EXPECT_EQ(w, W);
        EXPECT_EQ(h, H);
        for (auto& p : px) p |= 0xFF000000u;
        return px;
    }
    // The first pixel where the screen and the model differ, as text.
    static std::string FirstDifference(const std::vector<uint32_t>& got, const std::vector<uint32_t>& want)
    {
        for (size_t i = 0; i < want.size() && i < got.size(); ++i)
            if (got[i] != want[i]) {
                char b[96];
                std::snprintf(b, sizeof b, "(%d, %d): %08X, expected %08X", int(i % W), int(i / W), got[i], want[i]);
                return b;
            }
        return got.size() == want.size() ? "" : "sizes differ";
    }

    // A random scene: overlapping children of the root and of some of them,
    // two levels deep, with and without the clip styles, a few hidden.
    std::vector<HWND> Scene(std::mt19937& rng, int count)
    {
        std::uniform_int_distribution<int> px(-10, W), py(-10, H), len(4, 60), pct(0, 99);
        std::vector<HWND> all;
        for (int i = 0; i < count; ++i) {
            HWND parent = Root;
            if (!all.empty() && pct(rng) < 40) parent = all[size_t(pct(rng)) % all.size()];
            if (parent != Root && WndOf(parent)->parent != Root) parent = WndOf(parent)->parent;
            int x = parent == Root ? px(rng) : px(rng) / 3, y = parent == Root ? py(rng) : py(rng) / 3;
            DWORD style = (pct(rng) < 85 ? WS_VISIBLE : 0) | (pct(rng) < 70 ? WS_CLIPSIBLINGS : 0) |
                          (pct(rng) < 60 ? WS_CLIPCHILDREN : 0);
            all.push_back(Add(parent, Bounds(x, y, len(rng), len(rng)), style));
        }
        return all;
    }
};

}  // namespace

TEST_F(WmClip, PaintsOfOverlappingNestedWindowsMatchTheModel)
{
    std::mt19937 rng(2024);
    for (int round = 0; round < 12; ++round) {
        for (HWND c : std::vector<HWND>(WndOf(Root)->children)) DestroyWindow(c);
        Scene(rng, 6 + round * 3);
        std::vector<uint32_t> want = Expected(), got = Painted();
        ASSERT_EQ(FirstDifference(got, want), "") << "round " << round;
    }
}

// Moves, restacking and showing/hiding between paints: each paint clips by
// the geometry of that moment.
TEST_F(WmClip, ClipFollowsMovesRestackingAndVisibility)
{
    std::mt19937 rng(77);
    std::vector<HWND> all = Scene(rng, 30);
    std::uniform_int_distribution<int> pick(0, int(all.size()) - 1), what(0, 4), d(-15, 15);
    for (int step = 0; step < 40; ++step) {
        HWND h = all[size_t(pick(rng))];
        switch (what(rng)) {
        case 0: SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE); break;
        case 1: SetWindowPos(h, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE); break;
        case 2: {
            TRect r = WndOf(h)->rect;
            MoveWindow(h, r.Left + d(rng), r.Top + d(rng), r.Width(), r.Height() + d(rng) / 3, TRUE);
            break;
        }
        case 3: ShowWindow(h, Visible(h) ? SW_HIDE : SW_SHOWNA); break;
        default: SetWindowPos(h, all[size_t(pick(rng))], 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        std::vector<uint32_t> want = Expected(), got = Painted();
        ASSERT_EQ(FirstDifference(got, want), "") << "step " << step;
    }
}

// A paint that moves a window in the middle of a repaint: the windows
// painted after it clip by where it is now, not where it was.
TEST_F(WmClip, WindowMovedDuringARepaintIsClippedWhereItIsNow)
{
    HWND top = Add(Root, Bounds(40, 40, 30, 30), WS_VISIBLE | WS_CLIPSIBLINGS);
    HWND middle = Add(Root, Bounds(30, 30, 60, 60), WS_VISIBLE | WS_CLIPSIBLINGS);
    HWND bottom = Add(Root, Bounds(0, 0, 20, 20), WS_VISIBLE | WS_CLIPSIBLINGS);
    Painted();
    COLORREF c = Colors[bottom];
    bool moved = false;
    Log().Handlers[{bottom, WM_PAINT}] = [&, bottom, c](WPARAM, LPARAM) -> LRESULT {
        if (!moved) {
            moved = true;
            SetWindowPos(top, nullptr, 120, 80, 30, 30, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
        }
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(bottom, &ps);
        HBRUSH b = CreateSolidBrush(c);
        FillRect(dc, &ps.rcPaint, b);
        DeleteObject(b);
        EndPaint(bottom, &ps);
        return 0;
    };
    std::vector<uint32_t> got = Painted(), want = Expected();
    ASSERT_TRUE(moved);
    EXPECT_EQ(FirstDifference(got, want), "");
    COLORREF m = Colors[middle];
    EXPECT_EQ(got[size_t(50) * W + 50] & 0xFFFFFF,
              uint32_t(GetRValue(m)) << 16 | uint32_t(GetGValue(m)) << 8 | GetBValue(m));
}

// The DC of a window with a visible sibling above it carries a clip region
// even where they do not overlap; without one it has none.
TEST_F(WmClip, ClipRegionIsSetWhenAVisibleSiblingLiesAbove)
{
    HWND above = Add(Root, Bounds(100, 0, 20, 20), WS_VISIBLE | WS_CLIPSIBLINGS);
    HWND below = Add(Root, Bounds(0, 0, 20, 20), WS_VISIBLE | WS_CLIPSIBLINGS);
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    HDC dc = GetDC(below);
    EXPECT_EQ(GetClipRgn(dc, rgn), 1);
    TRect box;
    EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
    EXPECT_EQ(box, Rect(0, 0, 20, 20));
    ReleaseDC(below, dc);
    dc = GetDC(above);
    EXPECT_EQ(GetClipRgn(dc, rgn), 0);
    ReleaseDC(above, dc);
    ShowWindow(above, SW_HIDE);
    dc = GetDC(below);
    EXPECT_EQ(GetClipRgn(dc, rgn), 0);
    ReleaseDC(below, dc);
    DeleteObject(rgn);
}
