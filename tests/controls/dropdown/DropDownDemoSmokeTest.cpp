// The drop-down demo on a real X server, worked with xdotool: the arrow
// opens the window below the edit (its geometry read back with xwininfo), a
// click elsewhere closes it and restores the text, Alt+Down opens, a new
// line is typed in the memo, Esc closes, a drag on the grip resizes the
// window and it reopens at that size, and an edit near the screen's bottom
// opens upwards. Each open drop-down is kept as a PNG next to the demo.
//
// The test waits on what it can see (a line of the demo, a window the X
// server shows, a screen that stopped changing) rather than on fixed delays,
// and gives each step a deadline of its own within an overall bound below
// ctest's time-out: a loaded two-core run slows every step at once.
#include <gtest/gtest.h>

#include <cstdio>
#include <iostream>
#include <map>
#include <sstream>

#include "tests/platform/ui/DemoDriver.h"

using namespace xvfb;

namespace {

// Everything, both demo runs included, ends within this bound (ctest's
// default time-out is 300 s); the demos live as long.
constexpr int OverallSeconds = 240;
Clock::time_point TestEnd;

// The deadline of one step: a demo line, a window shown, a screen settled.
Clock::time_point Step(int seconds = 30)
{
    return std::min(Clock::now() + std::chrono::seconds(seconds), TestEnd);
}

// The drop-down demo with its own arguments.
struct TDropDownDemo : TDemoDriver {
    std::string Start(const std::vector<std::string>& extra, Clock::time_point deadline)
    {
        return TDemoDriver::Start(std::string(VEL_BINARY_DIR) + "/tools/dropdowndemo/dropdowndemo", extra, deadline,
                                  OverallSeconds);
    }
    // The screen (left, top, right, bottom) as a PNG once Opened, the open
    // drop-down window, shows and has been painted.
    bool SavePng(const std::string& path, const TGeometry& opened, int x0, int y0, int x1, int y1)
    {
        return TDemoDriver::SavePng(path, {x0, y0, x1 - x0, y1 - y0}, opened, Step());
    }
};

}  // namespace

TEST(DropDownDemoSmokeTest, OpenCloseTypeResizeAndOpenUpwardsOnARealXServer)
{
    if (FindProgram("Xvfb").empty()) GTEST_SKIP() << "Xvfb is not installed: the desktop smoke test needs it";
    if (FindProgram("xdotool").empty() || FindProgram("xwininfo").empty())
        GTEST_SKIP() << "xdotool and xwininfo are needed to work the demo";
    TestEnd = Clock::now() + std::chrono::seconds(OverallSeconds);
    TDropDownDemo demo;
    // A sanitised demo starting on a loaded machine is the slowest step.
    const std::string why = demo.Start({"--open", "header"}, Step(60));
    ASSERT_TRUE(why.empty()) << why;
    const std::string dir = std::string(VEL_BINARY_DIR) + "/tools/dropdowndemo/";
    auto shot = [&](const std::string& png, const TGeometry& opened) {
        return demo.SavePng(png, opened, demo.Left - 10, demo.Top - 40, demo.Left + demo.Width + 10,
                            demo.Top + demo.Height + 10);
    };

    // Opened at start: the header and footer one.
    TGeometry g = Dropped(demo.Next("DROPPED", Step()));
    auto [arrow, edit] = demo.At["header"];
    EXPECT_EQ(g.W, 220);
    EXPECT_EQ(g.H, 150);
    EXPECT_TRUE(shot(dir + "dropdowndemo.png", g));
    std::cout << "screenshot: " << dir << "dropdowndemo.png" << std::endl;

    // A click elsewhere closes it and restores the text.
    demo.Click({demo.Left + 700, demo.Top + 400});
    std::string up = demo.Next("UP header", Step());
    EXPECT_EQ(up, "UP header cancelled Velmora");

    // The arrow opens it below the edit, where xwininfo finds it.
    demo.ClickArrow(arrow);
    g = Dropped(demo.Next("DROPPED header", Step()));
    EXPECT_NEAR(g.X, edit.X - 30, 2);  // the edit's outer left
    EXPECT_GT(g.Y, edit.Y);
    ASSERT_TRUE(demo.Shows(g, Step())) << "no window of " << g.W << "x" << g.H << "+" << g.X << "+" << g.Y;

    // A drag on the grip, a close, and it reopens at the new size.
    TPoint grip{g.X + g.W - 6, g.Y + g.H - 6};
    demo.Do("mousemove " + std::to_string(grip.X) + " " + std::to_string(grip.Y) + " mousedown 1");
    demo.Do("mousemove " + std::to_string(grip.X + 30) + " " + std::to_string(grip.Y + 20));
    demo.Do("mousemove " + std::to_string(grip.X + 60) + " " + std::to_string(grip.Y + 40) + " mouseup 1");
    demo.Do("key Escape");
    EXPECT_EQ(demo.Next("UP header", Step()), "UP header cancelled Velmora");
    demo.ClickArrow(arrow);
    TGeometry bigger = Dropped(demo.Next("DROPPED header", Step()));
    EXPECT_EQ(bigger.W, g.W + 60);
    EXPECT_EQ(bigger.H, g.H + 40);
    demo.Do("key Escape");
    EXPECT_FALSE(demo.Next("UP header", Step()).empty());

    // Each other drop-down open, kept as a picture.
    for (const char* name : {"win10", "black", "money", "track", "memo"}) {
        demo.ClickArrow(demo.At[name].first);
        TGeometry o = Dropped(demo.Next(std::string("DROPPED ") + name, Step()));
        EXPECT_GT(o.W, 0) << name;
        const std::string png = dir + "dropdowndemo_" + name + ".png";
        EXPECT_TRUE(shot(png, o)) << png;
        demo.Do("key Escape");
        EXPECT_FALSE(demo.Next(std::string("UP ") + name, Step()).empty()) << name;
    }

    // Alt+Down on the memo opens it; a new line typed there; Esc.
    // (A click on the memo's edit would open it: its editor is disabled. The
    // focus comes from the next edit instead.)
    demo.Click(demo.At["border"].second);
    demo.Do("key shift+Tab");
    demo.Do("key alt+Down");
    const std::string memo = demo.Next("DROPPED memo", Step());
    ASSERT_FALSE(memo.empty());
    ASSERT_TRUE(demo.Shows(Dropped(memo), Step()));
    demo.Do("key ctrl+End");
    demo.Do("key Return");
    demo.Do("type --delay 20 typed");
    demo.Do("key Escape");
    EXPECT_EQ(demo.Next("UP memo", Step()), "UP memo cancelled First line of the notes...");
    // Typed into the window, the new line stays (the memo keeps what is typed).
    demo.Do("key Tab");
    demo.App.Stop();

    // Near the screen's bottom the window opens upwards.
    TDropDownDemo low;
    const std::string why2 = low.Start({"--bottom", "--open", "bottom"}, Step(60));
    ASSERT_TRUE(why2.empty()) << why2;
    TGeometry b = Dropped(low.Next("DROPPED bottom", Step()));
    EXPECT_LT(b.Y + b.H, low.At["bottom"].second.Y);
    EXPECT_TRUE(low.Shows(b, Step()));
    EXPECT_TRUE(low.SavePng(dir + "dropdowndemo_bottom.png", b, low.Left - 10, b.Y - 10, low.Left + low.Width + 10,
                            768));
}
