// The spreadsheet exchange demo on a real X server (the demo of this build
// tree, found at run time): the band under the grid turns green only when
// openpyxl reads back from the grid's saved workbook exactly what the grid
// loaded from openpyxl's; the window is kept as a PNG next to the demo for
// people to look at.
#include <gtest/gtest.h>

#include <iostream>

#include "tests/TestPaths.h"
#include "tests/platform/ui/DemoOnX.h"

using namespace xvfb;

TEST(XlsxDemoSmokeTest, WorkbookLoadedSavedAndReadBackOnARealXServer)
{
    if (FindProgram("Xvfb").empty()) GTEST_SKIP() << "Xvfb is not installed: the desktop smoke test needs it";
    if (std::system("/usr/bin/python3 -c 'import openpyxl' 2>/dev/null") != 0)
        GTEST_SKIP() << "python3-openpyxl is not installed: the demo's workbook is written by it";
    auto deadline = Clock::now() + std::chrono::seconds(90);
    TDemoOnX demo;
    const std::string why = demo.Start(vel_test_paths::BinaryDir() + "/tools/xlsxdemo/xlsxdemo", deadline);
    ASSERT_TRUE(why.empty()) << why;
    ASSERT_EQ(demo.NamedChecks.size(), 1u);
    std::vector<TPixelCheck> checks = demo.NamedChecks;
    checks[0].Tolerance = 8;
    // The band is green only when the read-back matched.
    EXPECT_EQ(checks[0].Colour, Rgb(0xC0, 0xF0, 0xC0));
    const bool shown = demo.WaitFor(checks, deadline);
    const std::string png = vel_test_paths::BinaryDir() + "/tools/xlsxdemo/xlsxdemo.png";
    EXPECT_TRUE(demo.SavePng(png, true)) << png;
    std::cout << "screenshot: " << png << std::endl;
    ASSERT_TRUE(shown) << "the server's screen could not be read";
    for (auto& c : checks) EXPECT_TRUE(demo.Holds(c)) << c.What << " at client " << c.X << "," << c.Y;
}
