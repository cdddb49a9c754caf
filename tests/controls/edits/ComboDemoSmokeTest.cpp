// The combo box and date-time picker demo on a real X server: the colours it
// announces show where it says, and the window is kept as a PNG next to the
// demo for people to look at.
#include <gtest/gtest.h>

#include <iostream>

#include "tests/platform/ui/DemoOnX.h"

using namespace xvfb;

TEST(ComboDemoSmokeTest, CombosPickersAndEditButtonsOnARealXServer)
{
    if (FindProgram("Xvfb").empty()) GTEST_SKIP() << "Xvfb is not installed: the desktop smoke test needs it";
    auto deadline = Clock::now() + std::chrono::seconds(60);
    TDemoOnX demo;
    const std::string why = demo.Start(std::string(VEL_BINARY_DIR) + "/tools/combodemo/combodemo", deadline);
    ASSERT_TRUE(why.empty()) << why;
    ASSERT_GE(demo.Width, 700);
    ASSERT_GE(demo.Height, 380);
    ASSERT_FALSE(demo.NamedChecks.empty()) << "the demo announces its checks";
    ASSERT_TRUE(demo.WaitFor(demo.NamedChecks, deadline)) << "the server's screen could not be read";
    const std::string png = std::string(VEL_BINARY_DIR) + "/tools/combodemo/combodemo.png";
    EXPECT_TRUE(demo.SavePng(png, true)) << png;
    std::cout << "screenshot: " << png << std::endl;
    for (auto& c : demo.NamedChecks) EXPECT_TRUE(demo.Holds(c)) << c.What << " at client " << c.X << "," << c.Y;
}
