// The headless driver's window pictures, and the news of a change of look
// reaching every window.
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "platform/gfx/Codecs.h"
#include "platform/ui/Themes.h"
#include "tests/platform/ui/WmTestSupport.h"

namespace {

class HeadlessTest : public WmTest {
protected:
    // A frameless blue window with a red child and a sunken-edged green one.
    HWND Painted()
    {
        WNDCLASS wc;
        wc.lpfnWndProc = DefWindowProc;
        wc.lpszClassName = L"SolidWnd";
        wc.hbrBackground = GetSysColorBrush(COLOR_HIGHLIGHT);
        RegisterClass(wc);
        static HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
        wc.lpszClassName = L"RedWnd";
        wc.hbrBackground = red;
        RegisterClass(wc);
        HWND top = CreateWindowEx(0, L"SolidWnd", L"", WS_POPUP | WS_VISIBLE, 50, 60, 40, 30, nullptr);
        CreateWindowEx(0, L"RedWnd", L"", WS_CHILD | WS_VISIBLE, 10, 5, 8, 6, top);
        return top;
    }
    void TearDown() override
    {
        WmTest::TearDown();
        UnregisterClass(L"SolidWnd");
        UnregisterClass(L"RedWnd");
    }
};

}  // namespace

TEST_F(HeadlessTest, AWindowSavedAsPngDecodesBackToItsPixels)
{
    HWND top = Painted();
    std::vector<uint32_t> px;
    int w = 0, h = 0;
    ASSERT_TRUE(Drv->CaptureWindow(top, px, w, h));
    ASSERT_EQ(w, 40);
    ASSERT_EQ(h, 30);

    char dir[] = "/tmp/vel_capture_XXXXXX";
    ASSERT_TRUE(mkdtemp(dir));
    std::string path = std::string(dir) + "/window.png";
    ASSERT_TRUE(Drv->SaveWindowToPNG(top, UTF8ToString(path)));
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    TImageData img = DecodePng(bytes.data(), bytes.size());
    EXPECT_EQ(img.Width, 40);
    EXPECT_EQ(img.Height, 30);
    ASSERT_EQ(img.Pixels.size(), px.size());
    EXPECT_EQ(img.Pixels, px) << "every pixel as captured";
    EXPECT_EQ(img.Pixel(12, 8), 0xFFFF0000u) << "the child";
    COLORREF hl = GetSysColor(COLOR_HIGHLIGHT);
    EXPECT_EQ(img.Pixel(30, 20), 0xFF000000u | (GetRValue(hl) << 16) | (GetGValue(hl) << 8) | GetBValue(hl));
    std::remove(path.c_str());
    rmdir(dir);

    EXPECT_FALSE(Drv->SaveWindowToPNG(top, L"/nonexistent-folder/x.png"));
}

TEST_F(HeadlessTest, ChangingTheLookTellsEveryWindowOnce)
{
    HWND top = Top(0, 0, 100, 100);
    HWND child = Child(top, 0, 0, 50, 50);
    HWND grand = Child(child, 0, 0, 10, 10);
    HWND other = Top(200, 0, 50, 50, WS_POPUP);  // hidden windows hear of it too
    Drv->Pump();
    Log().Clear();
    SetVisualStylesEnabled(false);
    std::vector<HWND> told;
    for (auto& e : Log().Of(WM_THEMECHANGED)) told.push_back(e.hwnd);
    EXPECT_EQ(told, (std::vector<HWND>{other, top, child, grand}));
    TRect upd;
    EXPECT_TRUE(GetUpdateRect(grand, &upd, FALSE)) << "and each draws again";
    Log().Clear();
    SetVisualStylesEnabled(false);
    EXPECT_TRUE(Log().Of(WM_THEMECHANGED).empty()) << "no change, no news";
    SetVisualStylesEnabled(true);
    EXPECT_EQ(Log().Of(WM_THEMECHANGED).size(), 4u);
}
