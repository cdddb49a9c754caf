// The drop-down demo's clock page on a real X server, worked with xdotool:
// the calculator opens, keypad buttons are clicked and operators and digits
// typed, Enter closes it with the result; the time picker opens, the clock's
// hour and minute zones and its AM/PM box are clicked, Enter closes it with
// that time; arrow keys step the closed edit. The page, the open calculator
// and the open time pickers are kept as PNGs next to the demo.
#include <gtest/gtest.h>

#include <cstdio>
#include <iostream>
#include <map>

#include "tests/platform/ui/DemoDriver.h"

using namespace xvfb;

namespace {

struct TClockPageDemo : TDemoDriver {
    // KEY and WATCH lines are kept as they pass.
    std::map<std::string, TPoint> Keys;
    int Cx = 0, Cy = 0, R = 0, Ax = 0, Ay = 0;
    Clock::time_point Deadline;

    std::string Start(Clock::time_point deadline)
    {
        Deadline = deadline;
        Keep = [this](const std::string& line) {
            char name[64], cap[16];
            TPoint p;
            if (std::sscanf(line.c_str(), "KEY %63s %15s %d %d", name, cap, &p.X, &p.Y) == 4) Keys[cap] = p;
            std::sscanf(line.c_str(), "WATCH %63s %d %d %d %d %d", name, &Cx, &Cy, &R, &Ax, &Ay);
        };
        return TDemoDriver::Start(std::string(VEL_BINARY_DIR) + "/tools/dropdowndemo/dropdowndemo",
                                  {"--page", "clock"}, Within(deadline, 60));
    }
    // The page once it has settled.
    bool SavePage(const std::string& path) { return SavePng(path, Page(), Within(Deadline)); }
};

}  // namespace

TEST(CalcClockDemoSmokeTest, CalculatorAndTimePickerOnARealXServer)
{
    if (FindProgram("Xvfb").empty()) GTEST_SKIP() << "Xvfb is not installed: the desktop smoke test needs it";
    if (FindProgram("xdotool").empty()) GTEST_SKIP() << "xdotool is needed to work the demo";
    auto deadline = Clock::now() + std::chrono::seconds(240);
    TClockPageDemo demo;
    const std::string why = demo.Start(deadline);
    ASSERT_TRUE(why.empty()) << why;
    const std::string dir = std::string(VEL_BINARY_DIR) + "/tools/dropdowndemo/";
    EXPECT_TRUE(demo.SavePage(dir + "dropdowndemo_clockpage.png"));
    std::cout << "screenshot: " << dir << "dropdowndemo_clockpage.png" << std::endl;

    // The calculator: keypad 7 * 6, typed + 8, Enter.
    demo.Click(demo.At["calc"].first);
    const TGeometry calcWindow = Dropped(demo.Next("DROPPED calc", Within(deadline)));
    ASSERT_GT(calcWindow.W, 0);
    ASSERT_TRUE(demo.Shows(calcWindow, Within(deadline)));
    demo.Next("KEY calc sqrt", Within(deadline));
    ASSERT_EQ(demo.Keys.size(), 27u);
    demo.Click(demo.Keys["7"]);
    demo.Click(demo.Keys["*"]);
    demo.Click(demo.Keys["6"]);
    demo.Do("type --delay 40 '+8'");
    EXPECT_TRUE(demo.SavePage(dir + "dropdowndemo_calculator.png"));
    demo.Do("key Return");
    EXPECT_EQ(demo.Next("UP calc", Within(deadline)), "UP calc accepted 50.00");

    // The time picker: hour 9 inside the face, minute 15 outside the circle,
    // the AM/PM box to the afternoon, Enter.
    demo.ClickArrow(demo.At["time"].first);
    const TGeometry timeWindow = Dropped(demo.Next("DROPPED time", Within(deadline)));
    ASSERT_GT(timeWindow.W, 0);
    ASSERT_TRUE(demo.Shows(timeWindow, Within(deadline)));
    demo.Next("WATCH time", Within(deadline));
    ASSERT_GT(demo.R, 0);
    demo.Click({demo.Cx - demo.R / 2, demo.Cy});
    demo.Do("sleep 0.5");  // the hand moves there
    demo.Click({demo.Cx + demo.R + 6, demo.Cy});
    demo.Do("sleep 0.5");
    demo.Click({demo.Ax, demo.Ay});
    demo.Do("sleep 0.5");
    EXPECT_TRUE(demo.SavePage(dir + "dropdowndemo_timepicker.png"));
    demo.Do("key Return");
    EXPECT_EQ(demo.Next("UP time", Within(deadline)), "UP time accepted 21:15:00");

    // Arrow keys on the closed edit: Down raises the field under the caret.
    demo.Do("key Home");
    demo.Do("key Down");
    EXPECT_EQ(demo.Next("TIME time", Within(deadline)), "TIME time 22:15:00");
    demo.Do("key Up");
    demo.Do("key Up");
    demo.Next("TIME time", Within(deadline));
    EXPECT_EQ(demo.Next("TIME time", Within(deadline)), "TIME time 20:15:00");

    // The one with the platform's picker under the clock, kept as a picture.
    demo.ClickArrow(demo.At["picker"].first);
    const TGeometry pickerWindow = Dropped(demo.Next("DROPPED picker", Within(deadline)));
    ASSERT_GT(pickerWindow.W, 0);
    ASSERT_TRUE(demo.Shows(pickerWindow, Within(deadline)));
    EXPECT_TRUE(demo.SavePage(dir + "dropdowndemo_timepicker2.png"));
    demo.Do("key Escape");
    EXPECT_EQ(demo.Next("UP picker", Within(deadline)), "UP picker cancelled 16:45");

    demo.App.Stop();
}
