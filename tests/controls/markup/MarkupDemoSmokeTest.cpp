// The markup controls' demo on a real X server: known colours show at known
// points of its window, and the window is kept as a PNG next to the demo for
// people to look at.
#include <gtest/gtest.h>

#include <iostream>

#include "tests/platform/ui/DemoOnX.h"

using namespace xvfb;

TEST(MarkupDemoSmokeTest, DemoWindowShowsTheMarkupControlsOnARealXServer)
{
    if (FindProgram("Xvfb").empty()) GTEST_SKIP() << "Xvfb is not installed: the desktop smoke test needs it";
    auto deadline = Clock::now() + std::chrono::seconds(60);
    TDemoOnX demo;
    const std::string why = demo.Start(std::string(VEL_BINARY_DIR) + "/tools/markupdemo/markupdemo", deadline);
    ASSERT_TRUE(why.empty()) << why;
    ASSERT_GE(demo.Width, 1000);
    ASSERT_GE(demo.Height, 640);

    // Colours the demo paints exactly, at client points.
    const std::vector<TPixelCheck> checks = {
        {247, 310, Rgb(0x20, 0x60, 0xC0), "first band of the label's BODY gradient"},
        {18, 312, Rgb(0xC0, 0xE0, 0xFF), "first band of the opaque label's gradient"},
        {900, 70, Rgb(0xF0, 0xFF, 0xF0), "mini-scroll static text background"},
        {5, 635, Rgb(255, 255, 255), "background"},
    };
    ASSERT_TRUE(demo.WaitFor(checks, deadline)) << "the server's screen could not be read";
    const std::string png = std::string(VEL_BINARY_DIR) + "/tools/markupdemo/markupdemo.png";
    EXPECT_TRUE(demo.SavePng(png, true)) << png;
    std::cout << "screenshot: " << png << std::endl;
    for (auto& c : checks) EXPECT_TRUE(demo.Holds(c)) << c.What << " at client " << c.X << "," << c.Y;
}
