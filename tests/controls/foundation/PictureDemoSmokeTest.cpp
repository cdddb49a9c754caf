// The picture demo on a real X server: the colours of its window are checked
// at known points and the client area is saved as tests/picturedemo.png in
// the build tree.
#include <gtest/gtest.h>

#include <iostream>

#include "tests/platform/ui/DemoOnX.h"

using namespace xvfb;

TEST(PictureDemoSmokeTest, ShowsPicturesAndTextOnARealXServer)
{
    if (FindProgram("Xvfb").empty()) GTEST_SKIP() << "Xvfb is not installed: the desktop smoke test needs it";
    auto deadline = Clock::now() + std::chrono::seconds(60);
    TDemoOnX demo;
    const std::string why = demo.Start(std::string(VEL_BINARY_DIR) + "/tools/picturedemo/picturedemo", deadline);
    ASSERT_TRUE(why.empty()) << why;
    ASSERT_EQ(demo.Width, 560);
    ASSERT_EQ(demo.Height, 300);

    const uint32_t red = 0xFF0000, green = 0x00FF00, blue = 0x0000FF, white = 0xFFFFFF, yellow = 0xFFFF00,
                   grey = 0xDCDCDC;
    const std::vector<TPixelCheck> checks = {
        {20, 20, red, "picture, top left"},
        {60, 20, green, "picture, top right"},
        {20, 60, blue, "picture, bottom left"},
        {130, 130, white, "picture scaled, bottom right"},
        {335, 55, blue, "turned 90: bottom left now top left"},
        {375, 55, red, "turned 90: top left now top right"},
        {375, 95, green, "turned 90: top right now bottom right"},
        {445, 25, yellow, "transparent bitmap: magenta keyed out"},
        {495, 75, blue, "transparent bitmap: its square"},
        {40, 190, red, "OLE image upright: red on top", 12},
        {40, 260, blue, "OLE image upright: blue below", 12},
        {110, 260, white, "OLE image: white bottom right", 12},
        {200, 150, grey, "background"},
    };
    ASSERT_TRUE(demo.WaitFor(checks, deadline)) << "the server's screen could not be read";
    for (auto& c : checks)
        EXPECT_TRUE(demo.Holds(c)) << c.What << " at client " << c.X << "," << c.Y << ": " << std::hex
                                   << demo.At(c.X, c.Y);

    // The text lines leave dark ink on their white backgrounds.
    int ink = 0, paper = 0;
    for (int y = 165; y < 240; ++y)
        for (int x = 150; x < 550; ++x) {
            const uint32_t c = demo.At(x, y);
            ink += (c & 0xFF) > 60 && ((c >> 16) & 0xFF) < 60;  // navy-ish
            paper += c == white;
        }
    EXPECT_GT(ink, 100);
    EXPECT_GT(paper, 1000);
    EXPECT_TRUE(demo.SavePng(std::string(VEL_BINARY_DIR) + "/tests/picturedemo.png"));
}
