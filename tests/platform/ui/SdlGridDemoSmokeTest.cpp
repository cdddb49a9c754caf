// The grid demo on a real X server: the colours at the points the demo names
// are checked and the client area is saved as tests/griddemo.png in the build
// tree.
#include <gtest/gtest.h>

#include <iostream>

#include "tests/platform/ui/DemoOnX.h"

using namespace xvfb;

TEST(SdlGridDemoSmokeTest, ShowsTheGridFamilyOnARealXServer)
{
    if (FindProgram("Xvfb").empty()) GTEST_SKIP() << "Xvfb is not installed: the desktop smoke test needs it";
    auto deadline = Clock::now() + std::chrono::seconds(60);
    TDemoOnX demo;
    const std::string why = demo.Start(std::string(VEL_BINARY_DIR) + "/tools/griddemo/griddemo", deadline);
    ASSERT_TRUE(why.empty()) << why;
    ASSERT_EQ(demo.Width, 900);
    ASSERT_EQ(demo.Height, 620);
    ASSERT_EQ(demo.NamedChecks.size(), 6u);

    ASSERT_TRUE(demo.WaitFor(demo.NamedChecks, deadline)) << "the server's screen could not be read";
    for (auto& c : demo.NamedChecks) EXPECT_TRUE(demo.Holds(c)) << c.What << " at client " << c.X << "," << c.Y;

    // The cells carry text: dark ink inside the grid's area.
    int ink = 0;
    for (int y = 10; y < 300; ++y)
        for (int x = 10; x < 880; ++x) ink += (demo.At(x, y) & 0xFFFFFF) < 0x404040;
    EXPECT_GT(ink, 2000);
    // The rich edit paints its runs in their colours: dark red, blue and
    // green ink beside the black.
    int red = 0, blue = 0, green = 0, black = 0;
    for (int y = 320; y < 608; ++y)
        for (int x = 12; x < 570; ++x) {
            const uint32_t p = demo.At(x, y);
            const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
            red += r > 120 && g < 60 && b < 60;
            blue += b > 150 && r < 60 && g < 110;
            green += g > 90 && r < 60 && b < 60;
            black += r < 60 && g < 60 && b < 60;
        }
    EXPECT_GT(red, 20);
    EXPECT_GT(blue, 20);
    EXPECT_GT(green, 20);
    EXPECT_GT(black, 1000);
    EXPECT_TRUE(demo.SavePng(std::string(VEL_BINARY_DIR) + "/tests/griddemo.png"));
}
