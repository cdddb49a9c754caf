// The grid controls demo on a real X server, worked with xdotool: a spin edit
// typed into and stepped by key and by its held button, F4 on an edit with a
// button, the units menu opened and a unit chosen. The window, and the window
// with the units menu open, are kept as PNGs next to the demo.
#include <gtest/gtest.h>

#include <cstdio>
#include <iostream>

#include "tests/platform/ui/DemoDriver.h"

using namespace xvfb;

namespace {

int ValueOf(const std::string& line)
{
    char name[64];
    int v = -1;
    if (std::sscanf(line.c_str(), "%*s %63s %d", name, &v) != 2) return -1;
    return v;
}

}  // namespace

TEST(GridControlsDemoSmokeTest, SpinAndButtonEditsOnARealXServer)
{
    if (FindProgram("Xvfb").empty()) GTEST_SKIP() << "Xvfb is not installed: the desktop smoke test needs it";
    if (FindProgram("xdotool").empty()) GTEST_SKIP() << "xdotool is needed to work the demo";
    auto deadline = Clock::now() + std::chrono::seconds(240);
    TDemoDriver demo;
    const std::string why = demo.Start(std::string(VEL_BINARY_DIR) + "/tools/gridcontrolsdemo/gridcontrolsdemo", {},
                                       Within(deadline, 60));
    ASSERT_TRUE(why.empty()) << why;
    ASSERT_TRUE(demo.At.count("int") && demo.At.count("unit") && demo.At.count("button"));
    const std::string dir = std::string(VEL_BINARY_DIR) + "/tools/gridcontrolsdemo/";
    EXPECT_TRUE(demo.SavePng(dir + "gridcontrolsdemo.png", demo.Page(), Within(deadline)));
    std::cout << "screenshot: " << dir << "gridcontrolsdemo.png" << std::endl;

    // Typed, then stepped by the Up key.
    demo.Click(demo.At["int"].second);
    demo.Do("key ctrl+a");
    demo.Do("type --delay 40 55");
    EXPECT_EQ(demo.Next("VALUE int 55", Within(deadline)), "VALUE int 55");
    demo.Do("key Up");
    EXPECT_EQ(demo.Next("VALUE int 56", Within(deadline)), "VALUE int 56");

    // Held: one step at once, more after 400 ms; the release reports the value.
    const TPoint up = demo.At["int"].first;
    demo.Do("mousemove " + std::to_string(up.X) + " " + std::to_string(up.Y) + " mousedown 1");
    EXPECT_EQ(demo.Next("VALUE int 57", Within(deadline)), "VALUE int 57") << "the press steps at once";
    demo.Do("sleep 1.2 mouseup 1");
    const int released = ValueOf(demo.Next("RELEASE int", Within(deadline)));
    EXPECT_GE(released, 59) << "held 1.2 s: repeats after 400 ms";
    EXPECT_LE(released, 57 + 1 + 9) << "at most one step per 100 ms after the first 400";

    // F4 on the edit with a button.
    demo.Click(demo.At["button"].second);
    demo.Do("key F4");
    EXPECT_EQ(demo.Next("CLICK button", Within(deadline)), "CLICK button");

    // The units menu: F4 opens it under the edit's right end; "km" is chosen.
    demo.Click(demo.At["unit"].second);
    demo.Do("key F4");
    EXPECT_EQ(demo.Next("CLICK unit", Within(deadline)), "CLICK unit");
    demo.Do("sleep 0.5");
    const TGeometry page = demo.Page();
    EXPECT_TRUE(demo.SavePng(dir + "gridcontrolsdemo_units.png", TGeometry{page.X, page.Y, page.W, page.H + 120},
                             Within(deadline)));
    std::cout << "screenshot: " << dir << "gridcontrolsdemo_units.png" << std::endl;
    demo.Do("key Down Down Down Down Return");
    EXPECT_EQ(demo.Next("UNIT unit", Within(deadline)), "UNIT unit km");

    demo.App.Stop();
}
