// The caption buttons our own frame draws: minimise and maximise beside the
// close button as the style asks, their hit codes, the pushed look while
// pressed, the commands a release over them gives, and the caption double
// click that toggles maximise.
#include <gtest/gtest.h>

#include <vector>

#include "WmTestSupport.h"
#include "platform/ui/Themes.h"

namespace {

class WmCaption : public WmTest {
protected:
    void TearDown() override
    {
        SetVisualStylesEnabled(true);
        WmTest::TearDown();
    }
    // The caption's button cells from the right end: square, the caption's
    // height, inside the frame.
    TRect Cell(HWND h, int fromRight)
    {
        TRect r;
        GetWindowRect(h, &r);
        TPoint c{0, 0};
        ClientToScreen(h, &c);
        int side = c.X - r.Left, size = c.Y - r.Top - side;
        int right = r.Right - side - fromRight * size;
        return Rect(right - size, r.Top + side, right, r.Top + side + size);
    }
    static TPoint Centre(TRect r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }
    // The window's pixels inside a screen rectangle.
    std::vector<uint32_t> Pixels(HWND h, TRect screen)
    {
        std::vector<uint32_t> px, out;
        int w = 0, hh = 0;
        EXPECT_TRUE(Drv->CaptureWindow(h, px, w, hh));
        TRect r;
        GetWindowRect(h, &r);
        for (int y = screen.Top; y < screen.Bottom; ++y)
            for (int x = screen.Left; x < screen.Right; ++x)
                out.push_back(px[size_t(y - r.Top) * size_t(w) + size_t(x - r.Left)]);
        return out;
    }
    // Pixels of a cell that differ from the caption colour beside the buttons.
    int Marks(HWND h, TRect cell, uint32_t captionColour)
    {
        int n = 0;
        for (uint32_t p : Pixels(h, cell)) n += p != captionColour;
        return n;
    }
    std::vector<WPARAM> SysCommands(HWND h)
    {
        std::vector<WPARAM> r;
        for (auto& e : Log().Of(WM_SYSCOMMAND))
            if (e.hwnd == h) r.push_back(e.wParam & 0xFFF0);
        return r;
    }
};

}  // namespace

TEST_F(WmCaption, ButtonsFollowTheStyleInHitTestAndDrawing)
{
    constexpr DWORD kMinOnly = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    constexpr DWORD kMaxOnly = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX;
    constexpr DWORD kCloseOnly = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
    struct {
        DWORD Style;
        LRESULT Cells[3];  // hit codes of the three cells from the right end
    } const cases[] = {
        {WS_OVERLAPPEDWINDOW, {HTCLOSE, HTMAXBUTTON, HTMINBUTTON}},
        {kMinOnly, {HTCLOSE, HTMINBUTTON, HTCAPTION}},
        {kMaxOnly, {HTCLOSE, HTMAXBUTTON, HTCAPTION}},
        {kCloseOnly, {HTCLOSE, HTCAPTION, HTCAPTION}},
        {WS_CAPTION | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, {HTCAPTION, HTCAPTION, HTCAPTION}},  // no system menu
    };
    for (bool styles : {true, false}) {
        SetVisualStylesEnabled(styles);
        for (auto& c : cases) {
            HWND h = Top(100, 100, 300, 200, c.Style | WS_VISIBLE);
            uint32_t captionColour = Pixels(h, Bounds(Cell(h, 4).Left, Centre(Cell(h, 4)).Y, 1, 1))[0];
            for (int i = 0; i < 3; ++i) {
                TRect cell = Cell(h, i);
                // The whole height of the cell answers, edges included.
                for (TPoint p : {Centre(cell), TPoint{cell.Left, cell.Top}, TPoint{cell.Right - 1, cell.Bottom - 1}})
                    EXPECT_EQ(SendMessage(h, WM_NCHITTEST, 0, PointToLParam(p)), c.Cells[i])
                        << "styles " << styles << ", style " << std::hex << c.Style << ", cell " << i;
                EXPECT_EQ(Marks(h, cell, captionColour) > 0, c.Cells[i] != HTCAPTION)
                    << "styles " << styles << ", style " << std::hex << c.Style << ", cell " << i;
            }
            DestroyWindow(h);
        }
    }
}

TEST_F(WmCaption, AChildWindowsGroupAndTabStopBitsAreNoButtons)
{
    HWND parent = Top(50, 50, 500, 400);
    HWND h = Child(parent, 10, 10, 300, 200, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(SendMessage(h, WM_NCHITTEST, 0, PointToLParam(Centre(Cell(h, 0)))), HTCLOSE);
    EXPECT_EQ(SendMessage(h, WM_NCHITTEST, 0, PointToLParam(Centre(Cell(h, 1)))), HTCAPTION);
}

TEST_F(WmCaption, ReleasingOverAButtonGivesItsCommand)
{
    const TRect normal = Bounds(100, 100, 300, 200);
    TRect work;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    struct {
        const char* What;
        int Cell;
        bool StartMaximized;
        WPARAM Command;
    } const cases[] = {
        {"minimise", 2, false, SC_MINIMIZE},
        {"maximise", 1, false, SC_MAXIMIZE},
        {"restore", 1, true, SC_RESTORE},
        {"close", 0, false, SC_CLOSE},
    };
    for (auto& c : cases) {
        HWND h = Top(normal.Left, normal.Top, normal.Width(), normal.Height());
        if (c.StartMaximized) ShowWindow(h, SW_MAXIMIZE);
        Drv->Pump();
        Log().Clear();
        Drv->Click(Centre(Cell(h, c.Cell)));
        if (c.Command == SC_CLOSE) {
            EXPECT_FALSE(IsWindow(h)) << c.What;
            continue;
        }
        EXPECT_EQ(SysCommands(h), std::vector<WPARAM>{c.Command}) << c.What;
        TRect r;
        GetWindowRect(h, &r);
        switch (c.Command) {
        case SC_MINIMIZE:
            EXPECT_TRUE(IsIconic(h)) << c.What;
            EXPECT_NE(GetActiveWindow(), h) << c.What;
            break;
        case SC_MAXIMIZE:
            EXPECT_TRUE(IsZoomed(h)) << c.What;
            EXPECT_EQ(r, work) << c.What;
            break;
        default:
            EXPECT_FALSE(IsZoomed(h)) << c.What;
            EXPECT_EQ(r, normal) << c.What << ": back at its normal place and size";
            break;
        }
        EXPECT_EQ(GetCapture(), nullptr) << c.What;
        DestroyWindow(h);
    }
}

TEST_F(WmCaption, APressedButtonShowsPushedAndSlidingOffCancelsIt)
{
    for (bool styles : {true, false}) {
        SetVisualStylesEnabled(styles);
        HWND h = Top(100, 100, 300, 200);
        Drv->Pump();
        TRect max = Cell(h, 1);
        std::vector<uint32_t> up = Pixels(h, max);
        Drv->MouseDown(Centre(max));
        EXPECT_NE(Pixels(h, max), up) << "styles " << styles << ": pushed while held";
        // Off the button it pops up; back over it, pushed again.
        Drv->MouseMove(Centre(Cell(h, 4)));
        EXPECT_EQ(Pixels(h, max), up) << "styles " << styles;
        Drv->MouseMove(Centre(max));
        EXPECT_NE(Pixels(h, max), up) << "styles " << styles;
        // Released elsewhere: nothing happens.
        Log().Clear();
        Drv->MouseUp(Centre(Cell(h, 4)));
        EXPECT_TRUE(SysCommands(h).empty()) << "styles " << styles;
        EXPECT_FALSE(IsZoomed(h)) << "styles " << styles;
        EXPECT_EQ(Pixels(h, max), up) << "styles " << styles;
        EXPECT_EQ(GetCapture(), nullptr);
        DestroyWindow(h);
    }
}

TEST_F(WmCaption, MaximisedTheMaximiseButtonShowsRestore)
{
    HWND h = Top(100, 100, 300, 200);
    ShowWindow(h, SW_MAXIMIZE);
    TRect max = Cell(h, 1);
    std::vector<uint32_t> restoreLook = Pixels(h, max);
    ShowWindow(h, SW_RESTORE);
    Drv->Pump();
    // The cell at the same place relative to the caption's right end.
    std::vector<uint32_t> maximiseLook = Pixels(h, Cell(h, 1));
    EXPECT_NE(restoreLook, maximiseLook);
}

TEST_F(WmCaption, DoubleClickOnASizableCaptionTogglesMaximise)
{
    // The class does not ask for double clicks: the frame tells them apart
    // all the same.
    const TRect normal = Bounds(120, 80, 300, 200);
    TRect work;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    HWND h = Top(normal.Left, normal.Top, normal.Width(), normal.Height(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                 nullptr, L"PlainWnd");
    auto caption = [&] { return TPoint{Cell(h, 5).Left, Centre(Cell(h, 5)).Y}; };
    ASSERT_EQ(SendMessage(h, WM_NCHITTEST, 0, PointToLParam(caption())), HTCAPTION);
    Drv->DoubleClick(caption());
    TRect r;
    GetWindowRect(h, &r);
    EXPECT_TRUE(IsZoomed(h));
    EXPECT_EQ(r, work);
    Drv->Advance(1000);
    Drv->DoubleClick(caption());
    GetWindowRect(h, &r);
    EXPECT_FALSE(IsZoomed(h));
    EXPECT_EQ(r, normal);

    // A click in the client area and one on the caption are no double click.
    Drv->Advance(1000);
    TPoint captionEdge{Cell(h, 5).Left, Cell(h, 5).Bottom - 1}, clientEdge{captionEdge.X, captionEdge.Y + 1};
    ASSERT_EQ(SendMessage(h, WM_NCHITTEST, 0, PointToLParam(captionEdge)), HTCAPTION);
    ASSERT_EQ(SendMessage(h, WM_NCHITTEST, 0, PointToLParam(clientEdge)), HTCLIENT);
    Drv->Click(clientEdge);
    Drv->Advance(50);
    Drv->Click(captionEdge);
    EXPECT_FALSE(IsZoomed(h));

    // A fixed-size caption stays as it is.
    HWND fixed = Top(120, 80, 300, 200, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE, 0, nullptr,
                     L"PlainWnd");
    Drv->Advance(1000);
    Drv->DoubleClick(TPoint{Cell(fixed, 5).Left, Centre(Cell(fixed, 5)).Y});
    EXPECT_FALSE(IsZoomed(fixed));
}

TEST_F(WmCaption, RestoringAMinimisedWindowBringsBackItsSizeStateAndActivation)
{
    HWND other = Top(500, 100, 200, 200);
    HWND h = Top(100, 100, 300, 200);
    struct {
        bool Maximized;
        WPARAM SizeKind;
    } const cases[] = {{false, SIZE_RESTORED}, {true, SIZE_MAXIMIZED}};
    for (auto& c : cases) {
        ShowWindow(h, c.Maximized ? SW_MAXIMIZE : SW_RESTORE);
        ShowWindow(h, SW_MINIMIZE);
        ASSERT_EQ(GetActiveWindow(), other);
        Log().Clear();
        ShowWindow(h, SW_RESTORE);
        EXPECT_FALSE(IsIconic(h));
        EXPECT_EQ(IsZoomed(h) != 0, c.Maximized);
        auto sizes = Log().Of(WM_SIZE);
        ASSERT_FALSE(sizes.empty());
        EXPECT_EQ(sizes.back().wParam, c.SizeKind);
        EXPECT_EQ(GetActiveWindow(), h);
    }
}
