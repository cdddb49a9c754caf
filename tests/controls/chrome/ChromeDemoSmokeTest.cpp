// The tool buttons, progress bars and the open popup menu on a real X
// server: known colours at known points of the window, which is kept as a
// PNG next to the demo for people to look at.
#include <gtest/gtest.h>

#include <iostream>

#include "tests/platform/ui/DemoOnX.h"

using namespace xvfb;

TEST(ChromeDemoSmokeTest, ButtonsBarsAndTheOpenMenuOnARealXServer)
{
    if (FindProgram("Xvfb").empty()) GTEST_SKIP() << "Xvfb is not installed: the desktop smoke test needs it";
    auto deadline = Clock::now() + std::chrono::seconds(60);
    TDemoOnX demo;
    const std::string why = demo.Start(std::string(VEL_BINARY_DIR) + "/tools/chromedemo/chromedemo", deadline);
    ASSERT_TRUE(why.empty()) << why;
    ASSERT_GE(demo.Width, 900);
    ASSERT_GE(demo.Height, 400);

    std::vector<TPixelCheck> checks = demo.NamedChecks;
    checks.push_back({5, 500, Rgb(255, 255, 255), "the window's background"});
    ASSERT_TRUE(demo.WaitFor(checks, deadline)) << "the server's screen could not be read";
    const std::string png = std::string(VEL_BINARY_DIR) + "/tools/chromedemo/chromedemo.png";
    EXPECT_TRUE(demo.SavePng(png, true)) << png;
    std::cout << "screenshot: " << png << std::endl;
    for (auto& c : checks) EXPECT_TRUE(demo.Holds(c)) << c.What << " at client " << c.X << "," << c.Y;
}
