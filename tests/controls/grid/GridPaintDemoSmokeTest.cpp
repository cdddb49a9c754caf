// The grid painting demo on a real X server (the demo of this build tree,
// found at run time): the colours the demo names show at its points, and the
// window is kept as a PNG next to the demo for people to look at.
#include <gtest/gtest.h>

#include <iostream>

#include "tests/TestPaths.h"
#include "tests/platform/ui/DemoOnX.h"

using namespace xvfb;

TEST(GridPaintDemoSmokeTest, DemoWindowShowsThePaintedGridsOnARealXServer)
{
    if (FindProgram("Xvfb").empty()) GTEST_SKIP() << "Xvfb is not installed: the desktop smoke test needs it";
    auto deadline = Clock::now() + std::chrono::seconds(60);
    TDemoOnX demo;
    const std::string why = demo.Start(vel_test_paths::BinaryDir() + "/tools/gridpaintdemo/gridpaintdemo", deadline);
    ASSERT_TRUE(why.empty()) << why;
    ASSERT_GE(demo.Width, 1000);
    ASSERT_GE(demo.Height, 600);
    ASSERT_FALSE(demo.NamedChecks.empty());
    std::vector<TPixelCheck> checks = demo.NamedChecks;
    checks.push_back({997, 597, Rgb(255, 255, 255), "form background"});
    ASSERT_TRUE(demo.WaitFor(checks, deadline)) << "the server's screen could not be read";
    const std::string png = vel_test_paths::BinaryDir() + "/tools/gridpaintdemo/gridpaintdemo.png";
    EXPECT_TRUE(demo.SavePng(png, true)) << png;
    std::cout << "screenshot: " << png << std::endl;
    for (auto& c : checks) EXPECT_TRUE(demo.Holds(c)) << c.What << " at client " << c.X << "," << c.Y;
}
