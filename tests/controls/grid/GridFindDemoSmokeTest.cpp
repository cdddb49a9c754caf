// The find, replace and validation demo on a real X server (the demo of this
// build tree, found at run time): the window shows with the search footer
// open on its highlighted matches, and is kept as a PNG next to the demo for
// people to look at.
#include <gtest/gtest.h>

#include <iostream>

#include "tests/TestPaths.h"
#include "tests/platform/ui/DemoOnX.h"

using namespace xvfb;

TEST(GridFindDemoSmokeTest, DemoWindowShowsTheSearchFooterAndTheRefusedValue)
{
    if (FindProgram("Xvfb").empty()) GTEST_SKIP() << "Xvfb is not installed: the desktop smoke test needs it";
    auto deadline = Clock::now() + std::chrono::seconds(60);
    TDemoOnX demo;
    const std::string why = demo.Start(vel_test_paths::BinaryDir() + "/tools/gridfinddemo/gridfinddemo", deadline);
    ASSERT_TRUE(why.empty()) << why;
    ASSERT_GE(demo.Width, 740);
    ASSERT_GE(demo.Height, 520);
    ASSERT_EQ(demo.NamedChecks.size(), 2u);
    ASSERT_TRUE(demo.WaitFor(demo.NamedChecks, deadline)) << "the server's screen could not be read";
    const std::string png = vel_test_paths::BinaryDir() + "/tools/gridfinddemo/gridfinddemo.png";
    EXPECT_TRUE(demo.SavePng(png, true)) << png;
    std::cout << "screenshot: " << png << std::endl;
    for (auto& c : demo.NamedChecks) EXPECT_TRUE(demo.Holds(c)) << c.What << " at client " << c.X << "," << c.Y;
}
