// The grid cell model's demo on a real X server (the demo of this build
// tree, found at run time): known colours show at known
// points of its window, and the window is kept as a PNG next to the demo for
// people to look at.
#include <gtest/gtest.h>

#include <iostream>

#include "tests/TestPaths.h"
#include "tests/platform/ui/DemoOnX.h"

using namespace xvfb;

TEST(GridCellsDemoSmokeTest, DemoWindowShowsTheGridCellsOnARealXServer)
{
    if (FindProgram("Xvfb").empty()) GTEST_SKIP() << "Xvfb is not installed: the desktop smoke test needs it";
    auto deadline = Clock::now() + std::chrono::seconds(60);
    TDemoOnX demo;
    const std::string why = demo.Start(vel_test_paths::BinaryDir() + "/tools/gridcellsdemo/gridcellsdemo", deadline);
    ASSERT_TRUE(why.empty()) << why;
    ASSERT_GE(demo.Width, 980);
    ASSERT_GE(demo.Height, 590);

    const std::vector<TPixelCheck> checks = {
        {970, 580, Rgb(255, 255, 255), "background"},
        {358, 145, Rgb(0xC0, 0xFF, 0xC0), "hover row"},
        {294, 167, Rgb(0xFF, 0xF0, 0xC0), "active row"},
        {212, 94, Rgb(0xC8, 0xE8, 0xFF), "merged area's own colour"},
        {30, 211, Rgb(255, 255, 255), "hidden last row, fixed column too"},
    };
    ASSERT_TRUE(demo.WaitFor(checks, deadline)) << "the server's screen could not be read";
    const std::string png = vel_test_paths::BinaryDir() + "/tools/gridcellsdemo/gridcellsdemo.png";
    EXPECT_TRUE(demo.SavePng(png, true)) << png;
    std::cout << "screenshot: " << png << std::endl;
    for (auto& c : checks) EXPECT_TRUE(demo.Holds(c)) << c.What << " at client " << c.X << "," << c.Y;
}
