// The panels' demo on a real X server: known colours show at known points of
// its window, and the window is kept as a PNG next to the demo for people to
// look at.
#include <gtest/gtest.h>

#include <iostream>

#include "tests/platform/ui/DemoOnX.h"

using namespace xvfb;

TEST(PanelsDemoSmokeTest, DemoWindowShowsPanelsOnARealXServer)
{
    if (FindProgram("Xvfb").empty()) GTEST_SKIP() << "Xvfb is not installed: the desktop smoke test needs it";
    auto deadline = Clock::now() + std::chrono::seconds(60);
    TDemoOnX demo;
    const std::string why = demo.Start(std::string(VEL_BINARY_DIR) + "/tools/panelsdemo/panelsdemo", deadline);
    ASSERT_TRUE(why.empty()) << why;
    ASSERT_GE(demo.Width, 980);
    ASSERT_GE(demo.Height, 600);
    const std::vector<TPixelCheck> checks = {
        {300, 560, Rgb(0xFF, 0xF0, 0xD0), "solid body of the last panel"},
        {300, 445, Rgb(0x00, 0x00, 0x80), "its solid caption"},
        {5, 5, Rgb(255, 255, 255), "form background"},
    };
    ASSERT_TRUE(demo.WaitFor(checks, deadline)) << "the server's screen could not be read";
    const std::string png = std::string(VEL_BINARY_DIR) + "/tools/panelsdemo/panelsdemo.png";
    EXPECT_TRUE(demo.SavePng(png, true)) << png;
    std::cout << "screenshot: " << png << std::endl;
    for (auto& c : checks) EXPECT_TRUE(demo.Holds(c)) << c.What << " at client " << c.X << "," << c.Y;
}
