// The markup engine's demo on a real X server: it runs under a virtual
// X server of the test's own, known colours show at known points of its
// window, and the window is kept as a PNG next to the demo for people to
// look at.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iostream>

#include "platform/base/SysUtils.h"
#include "platform/gfx/Gdi.h"
#include "tests/platform/ui/XvfbSupport.h"

using namespace xvfb;

namespace {

uint32_t Rgb(int r, int g, int b) { return uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b); }

// The window with its frame, cut from the screen and written as a PNG.
bool SaveWindowPng(const TScreenShot& shot, int left, int top, int width, int height, const std::string& path)
{
    const int x0 = std::max(0, left - 10), y0 = std::max(0, top - 40);
    const int x1 = std::min(shot.Width, left + width + 10), y1 = std::min(shot.Height, top + height + 10);
    if (x1 <= x0 || y1 <= y0) return false;
    std::vector<uint32_t> px;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) px.push_back(0xFF000000u | shot.At(x, y));
    HBITMAP bmp = CreateBitmapFromBGRA(x1 - x0, y1 - y0, px.data(), false);
    const bool ok = bmp && SaveBitmapToPNG(bmp, UTF8ToString(path));
    if (bmp) DeleteObject(bmp);
    return ok;
}

}  // namespace

TEST(MarkupEngineDemoSmokeTest, DemoWindowShowsMarkupOnARealXServer)
{
    if (FindProgram("Xvfb").empty()) GTEST_SKIP() << "Xvfb is not installed: the desktop smoke test needs it";
    const std::string demo = std::string(VEL_BINARY_DIR) + "/tools/markupenginedemo/markupenginedemo";
    ASSERT_EQ(access(demo.c_str(), X_OK), 0) << "the demo program is missing: " << demo;
    auto deadline = Clock::now() + std::chrono::seconds(60);
    TXvfb x;
    std::string why = x.Start(deadline);
    ASSERT_TRUE(why.empty()) << why;

    int fds[2];
    ASSERT_EQ(pipe2(fds, O_CLOEXEC), 0);
    TFd outRead{fds[0]}, outWrite{fds[1]};
    TChild app;
    app.Pid = Spawn({demo, "--seconds", "90"}, {{outWrite.Fd, 1}},
                    {"DISPLAY=" + x.Display, "WAYLAND_DISPLAY=", "SDL_VIDEODRIVER=x11", "ASAN_OPTIONS=detect_leaks=0"});
    ASSERT_GT(app.Pid, 0);
    outWrite.Close();
    std::string ready;
    ASSERT_TRUE(ReadLine(outRead.Fd, ready, deadline)) << "the demo did not show its window";
    int left = 0, top = 0, width = 0, height = 0;
    ASSERT_EQ(std::sscanf(ready.c_str(), "READY %d %d %d %d", &left, &top, &width, &height), 4) << ready;
    ASSERT_GE(width, 900);
    ASSERT_GE(height, 300);

    // Colours the demo paints exactly, at client points.
    struct {
        int X, Y;
        uint32_t Colour;
        const char* What;
    } const checks[] = {
        {478, 60, Rgb(0x20, 0x60, 0xC0), "first band of the body gradient"},
        {930, 16, Rgb(0xFF, 0xF0, 0xD0), "first band of the vertical gradient"},
        {258, 172, Rgb(0xE0, 0xF0, 0xFF), "paragraph background"},
        {5, 315, Rgb(255, 255, 255), "background"},
    };
    TScreenShot shot;
    const std::string file = x.ScreenFile();
    bool all = false;
    while (!all && Clock::now() < deadline) {
        if (shot.Load(file)) {
            all = true;
            for (auto& c : checks) all &= shot.At(left + c.X, top + c.Y) == c.Colour;
        }
        if (!all) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ASSERT_GT(shot.Width, 0) << "the server's screen could not be read";
    // Let the last paint settle, then keep the picture whatever the checks say.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    shot.Load(file);
    const std::string png = std::string(VEL_BINARY_DIR) + "/tools/markupenginedemo/markupenginedemo.png";
    EXPECT_TRUE(SaveWindowPng(shot, left, top, width, height, png)) << png;
    std::cout << "screenshot: " << png << std::endl;
    for (auto& c : checks)
        EXPECT_EQ(shot.At(left + c.X, top + c.Y), c.Colour) << c.What << " at client " << c.X << "," << c.Y;
}
