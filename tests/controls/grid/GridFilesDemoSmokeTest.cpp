// The grid files demo on a real X server (the demo of this build tree, found
// at run time): the coloured cells of the sample grid show again in the grid
// read back from the binary cell stream, the grid given the look file shows
// its background, and the window is kept as a PNG next to the demo for
// people to look at.
#include <gtest/gtest.h>

#include <iostream>

#include "tests/TestPaths.h"
#include "tests/platform/ui/DemoOnX.h"

using namespace xvfb;

TEST(GridFilesDemoSmokeTest, SampleAndReloadedGridsShowOnARealXServer)
{
    if (FindProgram("Xvfb").empty()) GTEST_SKIP() << "Xvfb is not installed: the desktop smoke test needs it";
    auto deadline = Clock::now() + std::chrono::seconds(90);
    TDemoOnX demo;
    const std::string why = demo.Start(vel_test_paths::BinaryDir() + "/tools/gridfilesdemo/gridfilesdemo", deadline);
    ASSERT_TRUE(why.empty()) << why;
    ASSERT_GE(demo.Width, 940);
    ASSERT_GE(demo.Height, 736);
    // The price cell (column 2, row 1) is green in the sample and in the
    // grid read back from the binary stream; the merged note is blue.
    const std::vector<TPixelCheck> checks = {
        {12 + 40 + 100 + 90, 30 + 24 + 4, Rgb(0xC0, 0xF0, 0xC0), "sample price cell", 8},
        {476 + 40 + 100 + 90, 30 + 24 + 4, Rgb(0xC0, 0xF0, 0xC0), "binary read-back price cell", 8},
        {476 + 40 + 300 + 90, 30 + 24 + 30, Rgb(0xFF, 0xE8, 0xC8), "binary read-back merged cell", 8},
        // An empty cell of the grid whose look came from grid-look.txt.
        {476 + 40 + 150 + 100 + 60, 486 + 136 + 17, Rgb(0xFF, 0xF4, 0xD8), "look read-back background", 8},
    };
    const bool shown = demo.WaitFor(checks, deadline);
    const std::string png = vel_test_paths::BinaryDir() + "/tools/gridfilesdemo/gridfilesdemo.png";
    EXPECT_TRUE(demo.SavePng(png, true)) << png;
    std::cout << "screenshot: " << png << std::endl;
    ASSERT_TRUE(shown) << "the server's screen could not be read";
    for (auto& c : checks) EXPECT_TRUE(demo.Holds(c)) << c.What << " at client " << c.X << "," << c.Y;
}
