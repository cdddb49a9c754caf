// The drawing foundation's demo on a real X server: known colours show at
// known points of its window, and the window is kept as a PNG next to the
// demo for people to look at.
#include <gtest/gtest.h>

#include <iostream>

#include "tests/platform/ui/DemoOnX.h"

using namespace xvfb;

TEST(FoundationDemoSmokeTest, DemoWindowShowsTheFoundationsDrawingOnARealXServer)
{
    if (FindProgram("Xvfb").empty()) GTEST_SKIP() << "Xvfb is not installed: the desktop smoke test needs it";
    auto deadline = Clock::now() + std::chrono::seconds(60);
    TDemoOnX demo;
    const std::string why = demo.Start(std::string(VEL_BINARY_DIR) + "/tools/foundationdemo/foundationdemo", deadline);
    ASSERT_TRUE(why.empty()) << why;
    ASSERT_GE(demo.Width, 900);
    ASSERT_GE(demo.Height, 560);

    // Colours the demo paints exactly, at client points.
    const std::vector<TPixelCheck> checks = {
        {159, 40, Rgb(0, 90, 200), "last band of the left-to-right gradient"},
        {240, 61, Rgb(200, 60, 0), "last band of the top-to-bottom gradient"},
        {232, 280, Rgb(230, 238, 250), "own-colours push button, normal tone"},
        {232 + 600, 280, Rgb(225, 225, 225), "own-colours push button, disabled tone"},
        {150, 462, Rgb(80, 180, 90), "balance bar growing right"},
        {60, 440, Rgb(230, 90, 80), "balance bar growing left"},
        {345, 362, Rgb(60, 130, 220), "filled part of the first pie"},
        {320, 366, Rgb(255, 255, 255), "empty part of the first pie"},
        {5, 590, Rgb(255, 255, 255), "background"},
    };
    ASSERT_TRUE(demo.WaitFor(checks, deadline)) << "the server's screen could not be read";
    const std::string png = std::string(VEL_BINARY_DIR) + "/tools/foundationdemo/foundationdemo.png";
    EXPECT_TRUE(demo.SavePng(png, true)) << png;
    std::cout << "screenshot: " << png << std::endl;
    for (auto& c : checks) EXPECT_TRUE(demo.Holds(c)) << c.What << " at client " << c.X << "," << c.Y;
}
