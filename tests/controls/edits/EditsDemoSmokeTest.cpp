// The edit boxes' demo on a real X server: the error colour and the form's
// colour show where the demo says, and the window is kept as a PNG next to
// the demo for people to look at.
#include <gtest/gtest.h>

#include <iostream>

#include "tests/platform/ui/DemoOnX.h"

using namespace xvfb;

TEST(EditsDemoSmokeTest, DemoWindowShowsTheEditBoxesOnARealXServer)
{
    if (FindProgram("Xvfb").empty()) GTEST_SKIP() << "Xvfb is not installed: the desktop smoke test needs it";
    auto deadline = Clock::now() + std::chrono::seconds(60);
    TDemoOnX demo;
    const std::string why = demo.Start(std::string(VEL_BINARY_DIR) + "/tools/editsdemo/editsdemo", deadline);
    ASSERT_TRUE(why.empty()) << why;
    ASSERT_GE(demo.Width, 880);
    ASSERT_GE(demo.Height, 450);
    ASSERT_EQ(demo.NamedChecks.size(), 2u);
    ASSERT_TRUE(demo.WaitFor(demo.NamedChecks, deadline)) << "the server's screen could not be read";
    const std::string png = std::string(VEL_BINARY_DIR) + "/tools/editsdemo/editsdemo.png";
    EXPECT_TRUE(demo.SavePng(png, true)) << png;
    std::cout << "screenshot: " << png << std::endl;
    for (auto& c : demo.NamedChecks) EXPECT_TRUE(demo.Holds(c)) << c.What << " at client " << c.X << "," << c.Y;
}
