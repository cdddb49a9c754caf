// The grid editors demo on a real X server (the demo of this build tree,
// found at run time): its window shows with a drop-down editor opened over
// its cell, and the window is kept as a PNG next to the demo for people to
// look at.
#include <gtest/gtest.h>

#include <iostream>

#include "tests/TestPaths.h"
#include "tests/platform/ui/DemoOnX.h"

using namespace xvfb;

TEST(GridEditDemoSmokeTest, DemoWindowShowsTheEditorsOnARealXServer)
{
    if (FindProgram("Xvfb").empty()) GTEST_SKIP() << "Xvfb is not installed: the desktop smoke test needs it";
    auto deadline = Clock::now() + std::chrono::seconds(60);
    TDemoOnX demo;
    const std::string why = demo.Start(vel_test_paths::BinaryDir() + "/tools/grideditdemo/grideditdemo", deadline);
    ASSERT_TRUE(why.empty()) << why;
    ASSERT_GE(demo.Width, 700);
    ASSERT_GE(demo.Height, 500);
    std::vector<TPixelCheck> checks = demo.NamedChecks;
    ASSERT_FALSE(checks.empty());
    ASSERT_TRUE(demo.WaitFor(checks, deadline)) << "the server's screen could not be read";
    const std::string png = vel_test_paths::BinaryDir() + "/tools/grideditdemo/grideditdemo.png";
    EXPECT_TRUE(demo.SavePng(png, true)) << png;
    std::cout << "screenshot: " << png << std::endl;
    for (auto& c : checks) EXPECT_TRUE(demo.Holds(c)) << c.What << " at client " << c.X << "," << c.Y;
}
