// The string grid's demos on a real X server (the demos of this build tree,
// found at run time): the colours each demo names show at its points, and
// the window is kept as a PNG next to the demo for people to look at.
#include <gtest/gtest.h>

#include <iostream>

#include "tests/TestPaths.h"
#include "tests/platform/ui/DemoOnX.h"

using namespace xvfb;

namespace {

// Runs tools/stringgriddemo/<Program>, checks its points and the form's
// background, and keeps <Program>.png.
void ShowsTheGridOnARealXServer(const std::string& program)
{
    if (FindProgram("Xvfb").empty()) GTEST_SKIP() << "Xvfb is not installed: the desktop smoke test needs it";
    auto deadline = Clock::now() + std::chrono::seconds(60);
    TDemoOnX demo;
    const std::string dir = vel_test_paths::BinaryDir() + "/tools/stringgriddemo/";
    const std::string why = demo.Start(dir + program, deadline);
    ASSERT_TRUE(why.empty()) << why;
    ASSERT_GE(demo.Width, 980);
    ASSERT_GE(demo.Height, 560);
    ASSERT_FALSE(demo.NamedChecks.empty());
    std::vector<TPixelCheck> checks = demo.NamedChecks;
    checks.push_back({975, 555, Rgb(255, 255, 255), "form background"});
    ASSERT_TRUE(demo.WaitFor(checks, deadline)) << "the server's screen could not be read";
    const std::string png = dir + program + ".png";
    EXPECT_TRUE(demo.SavePng(png, true)) << png;
    std::cout << "screenshot: " << png << std::endl;
    for (auto& c : checks) EXPECT_TRUE(demo.Holds(c)) << c.What << " at client " << c.X << "," << c.Y;
}

}  // namespace

TEST(StringGridDemoSmokeTest, DemoWindowShowsTheStringGridOnARealXServer)
{
    ShowsTheGridOnARealXServer("stringgriddemo");
}

TEST(StringGridOutlineSmokeTest, OutlinePageShowsOnARealXServer)
{
    ShowsTheGridOnARealXServer("stringgriddemo_outline");
}
