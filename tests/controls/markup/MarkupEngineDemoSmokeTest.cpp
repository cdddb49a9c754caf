// The markup engine's demo on a real X server: known colours show at known
// points of its window, and the window is kept as a PNG next to the demo for
// people to look at.
#include <gtest/gtest.h>

#include <iostream>

#include "tests/platform/ui/DemoOnX.h"

using namespace xvfb;

TEST(MarkupEngineDemoSmokeTest, DemoWindowShowsMarkupOnARealXServer)
{
    if (FindProgram("Xvfb").empty()) GTEST_SKIP() << "Xvfb is not installed: the desktop smoke test needs it";
    auto deadline = Clock::now() + std::chrono::seconds(60);
    TDemoOnX demo;
    const std::string why = demo.Start(std::string(VEL_BINARY_DIR) + "/tools/markupenginedemo/markupenginedemo", deadline);
    ASSERT_TRUE(why.empty()) << why;
    ASSERT_GE(demo.Width, 900);
    ASSERT_GE(demo.Height, 300);

    // Colours the demo paints exactly, at client points.
    const std::vector<TPixelCheck> checks = {
        {478, 60, Rgb(0x20, 0x60, 0xC0), "first band of the body gradient"},
        {930, 16, Rgb(0xFF, 0xF0, 0xD0), "first band of the vertical gradient"},
        {258, 172, Rgb(0xE0, 0xF0, 0xFF), "paragraph background"},
        {5, 315, Rgb(255, 255, 255), "background"},
    };
    ASSERT_TRUE(demo.WaitFor(checks, deadline)) << "the server's screen could not be read";
    const std::string png = std::string(VEL_BINARY_DIR) + "/tools/markupenginedemo/markupenginedemo.png";
    EXPECT_TRUE(demo.SavePng(png, true)) << png;
    std::cout << "screenshot: " << png << std::endl;
    for (auto& c : checks) EXPECT_TRUE(demo.Holds(c)) << c.What << " at client " << c.X << "," << c.Y;
}
