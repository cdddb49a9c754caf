// The grid controls demo's combo boxes and date-time pickers on a real X
// server, worked with xdotool: the coloured combo's list dropped by its
// button and an item picked (one close-up, the new text), the list combo
// dropped by a click on its text and an item picked by keys, the metro date picker's calendar dropped by its own
// button. The window, the window with the list open and the window with the
// calendar open are kept as PNGs next to the demo.
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "tests/platform/ui/DemoDriver.h"

using namespace xvfb;

TEST(GridPickersDemoSmokeTest, CombosAndDatePickersOnARealXServer)
{
    if (FindProgram("Xvfb").empty()) GTEST_SKIP() << "Xvfb is not installed: the desktop smoke test needs it";
    if (FindProgram("xdotool").empty()) GTEST_SKIP() << "xdotool is needed to work the demo";
    auto deadline = Clock::now() + std::chrono::seconds(240);
    TDemoDriver demo;
    std::vector<std::string> lines;
    demo.Keep = [&](const std::string& line) { lines.push_back(line); };
    auto count = [&](const std::string& line) { return std::count(lines.begin(), lines.end(), line); };
    const std::string why = demo.Start(std::string(VEL_BINARY_DIR) + "/tools/gridcontrolsdemo/gridcontrolsdemo", {},
                                       Within(deadline, 60));
    ASSERT_TRUE(why.empty()) << why;
    ASSERT_TRUE(demo.At.count("fruit") && demo.At.count("list") && demo.At.count("date"));
    const std::string dir = std::string(VEL_BINARY_DIR) + "/tools/gridcontrolsdemo/";
    const TGeometry page = demo.Page();
    const TGeometry below{page.X, page.Y, page.W, page.H + 160};
    EXPECT_TRUE(demo.SavePng(dir + "gridcontrolsdemo_pickers.png", page, Within(deadline)));
    std::cout << "screenshot: " << dir << "gridcontrolsdemo_pickers.png" << std::endl;

    // The coloured combo's button drops the list; a click on its third item
    // closes it once and selects "cherry".
    demo.Click(demo.At["fruit"].first);
    demo.Do("sleep 0.6");
    EXPECT_TRUE(demo.SavePng(dir + "gridcontrolsdemo_combolist.png", below, Within(deadline)));
    std::cout << "screenshot: " << dir << "gridcontrolsdemo_combolist.png" << std::endl;
    demo.Do("key Down Return");
    EXPECT_EQ(demo.Next("DROPUP fruit", Within(deadline)), "DROPUP fruit");
    if (count("VALUE fruit cherry") == 0) demo.Next("VALUE fruit", Within(deadline));
    EXPECT_EQ(count("VALUE fruit cherry"), 1);
    EXPECT_EQ(count("DROPUP fruit"), 1);

    // The list combo: a click on its text drops it; Down and Enter pick the
    // next item.
    demo.Click(demo.At["list"].second);
    demo.Do("sleep 0.3 key Down Return");
    EXPECT_EQ(demo.Next("DROPUP list", Within(deadline)), "DROPUP list");
    if (count("VALUE list damson") == 0) demo.Next("VALUE list", Within(deadline));
    EXPECT_EQ(count("VALUE list damson"), 1);

    // The metro date picker's own button drops the calendar.
    demo.Click(demo.At["date"].first);
    demo.Do("sleep 0.6");
    EXPECT_TRUE(demo.SavePng(dir + "gridcontrolsdemo_calendar.png", below, Within(deadline)));
    std::cout << "screenshot: " << dir << "gridcontrolsdemo_calendar.png" << std::endl;
    demo.Do("key Escape");

    demo.App.Stop();
}
