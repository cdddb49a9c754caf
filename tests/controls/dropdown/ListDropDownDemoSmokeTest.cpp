// The list drop-down demo on a real X server, worked with xdotool: each
// drop-down opened and kept as a PNG next to the demo; typing into the
// multi-column edit completes, typing in its open list jumps, a click picks;
// a colour picked on the honeycomb and on the spectrum; Esc restores. The
// grid list sorted by a header click keeps its choice. The values the demo
// prints at each closing are compared.
#include <gtest/gtest.h>

#include <cstdio>
#include <iostream>
#include <map>

#include "tests/platform/ui/DemoDriver.h"

using namespace xvfb;

namespace {

struct TListDemo : TDemoDriver {
    Clock::time_point Deadline;
    std::string Start(const std::vector<std::string>& extra, Clock::time_point deadline)
    {
        Deadline = deadline;
        return TDemoDriver::Start(std::string(VEL_BINARY_DIR) + "/tools/listdropdowndemo/listdropdowndemo", extra,
                                  deadline);
    }
    // The demo's window and the open drop-down as a PNG, once that shows and
    // has been painted.
    bool SavePng(const std::string& path, const TGeometry& opened)
    {
        const int x1 = std::max(Left + Width + 10, opened.X + opened.W + 10);
        const int y1 = std::max(Top + Height + 10, opened.Y + opened.H + 10);
        return TDemoDriver::SavePng(path, {Left - 10, Top - 40, x1 - (Left - 10), y1 - (Top - 40)}, opened,
                                    Within(Deadline));
    }
    // Opens a drop-down by its arrow and answers its window once the X
    // server shows it (input meant for it waits for that).
    TGeometry Open(const std::string& name, Clock::time_point deadline)
    {
        ClickArrow(At[name].first);
        const TGeometry g = Dropped(Next("DROPPED " + name + " ", Within(deadline)));
        Shows(g, Within(deadline));
        return g;
    }
};

}  // namespace

TEST(ListDropDownDemoSmokeTest, OpenTypePickAndCancelOnARealXServer)
{
    if (FindProgram("Xvfb").empty()) GTEST_SKIP() << "Xvfb is not installed: the desktop smoke test needs it";
    if (FindProgram("xdotool").empty()) GTEST_SKIP() << "xdotool is needed to work the demo";
    auto deadline = Clock::now() + std::chrono::seconds(240);
    TListDemo demo;
    const std::string pictures = std::string(VEL_TEST_DATA_DIR) + "/pictures";
    const std::string why = demo.Start({"--pictures", pictures, "--open", "detail"}, deadline);
    ASSERT_TRUE(why.empty()) << why;
    const std::string dir = std::string(VEL_BINARY_DIR) + "/tools/listdropdowndemo/";
    auto shoot = [&](const std::string& name, const TGeometry& g) {
        const std::string png = dir + "listdropdowndemo_" + name + ".png";
        EXPECT_TRUE(demo.SavePng(png, g)) << png;
        std::cout << "screenshot: " << png << std::endl;
    };

    // The detail list, opened at start; Esc keeps the choice.
    TGeometry g = Dropped(demo.Next("DROPPED detail", deadline));
    EXPECT_EQ(g.W, 260);
    shoot("detail", g);
    demo.Do("key Escape");
    EXPECT_EQ(demo.Next("UP detail", Within(deadline)), "UP detail cancelled Velmora #0");

    // Each other one open, as a picture, then cancelled with its value kept.
    const std::map<std::string, std::string> before = {
        {"colorlist", "008000 Green"}, {"palette", "0000FF #FF0000"}, {"image", "2"},
        {"calendar", "(a month calendar)"}};
    for (const auto& [name, value] : before) {
        g = demo.Open(name, deadline);
        EXPECT_GT(g.W, 0) << name;
        if (name == "palette") {
            demo.Do("key Home");  // moves the palette's box while open
        }
        shoot(name, g);
        demo.Do("key Escape");
        EXPECT_EQ(demo.Next("UP " + name, Within(deadline)), "UP " + name + " cancelled " + value) << name;
    }

    // The honeycomb: a click on the white centre cell picks it.
    g = demo.Open("cube", deadline);
    EXPECT_EQ(g.W, 184);
    EXPECT_EQ(g.H, 162);
    shoot("cube", g);
    demo.Click({g.X + 1 + 91, g.Y + 1 + 80});
    EXPECT_EQ(demo.Next("UP cube", Within(deadline)), "UP cube accepted FFFFFF Red:255,Green:255,Blue:255");

    // The spectrum: a move over the red left edge, then a click, picks it.
    g = demo.Open("spectrum", deadline);
    shoot("spectrum", g);
    TPoint red{g.X + 1 + 11 + 0, g.Y + 1 + 10 + 64};
    demo.Do("mousemove " + std::to_string(red.X + 3) + " " + std::to_string(red.Y));
    demo.Do("mousemove " + std::to_string(red.X) + " " + std::to_string(red.Y));
    demo.Do("click 1");
    EXPECT_EQ(demo.Next("UP spectrum", Within(deadline)), "UP spectrum accepted 0000FF red");

    // The multi-column list: typing completes in the edit.
    demo.Click(demo.At["multi"].second);
    demo.Do("type --delay 60 str");
    demo.Do("key alt+Down");
    g = Dropped(demo.Next("DROPPED multi", Within(deadline)));
    demo.Shows(g, Within(deadline));
    std::string rows = demo.Next("ROWS multi", deadline);
    TPoint row1;
    int rowH = 22;
    std::sscanf(rows.c_str(), "ROWS multi %d %d %d", &row1.X, &row1.Y, &rowH);
    shoot("multi", g);
    demo.Do("key Return");
    EXPECT_EQ(demo.Next("UP multi", Within(deadline)), "UP multi accepted Streamhall #1");
    // Typing in the open list jumps to the first match.
    demo.Do("key alt+Down");
    demo.Shows(Dropped(demo.Next("DROPPED multi", Within(deadline))), Within(deadline));
    demo.Do("type --delay 60 c");
    demo.Do("key Return");
    EXPECT_EQ(demo.Next("UP multi", Within(deadline)), "UP multi accepted Clipworks #2");
    // A click picks the fifth row.
    g = demo.Open("multi", deadline);
    demo.Next("ROWS multi", deadline);
    demo.Click({row1.X, row1.Y + 4 * rowH});
    EXPECT_EQ(demo.Next("UP multi", Within(deadline)), "UP multi accepted Reelbay #4");
    // Esc after a move restores it.
    g = demo.Open("multi", deadline);
    demo.Do("key Down");
    demo.Do("key Escape");
    EXPECT_EQ(demo.Next("UP multi", Within(deadline)), "UP multi cancelled Reelbay #4");

    // The grid list opens sorted by its second column; a header click sorts
    // it by that column the other way and the choice stays.
    g = demo.Open("grid", deadline);
    TPoint header;
    std::sscanf(demo.Next("HEADER grid", deadline).c_str(), "HEADER grid %d %d", &header.X, &header.Y);
    demo.Next("ROWS grid", deadline);
    shoot("grid", g);
    demo.Click(header);
    demo.Do("key Return");
    EXPECT_EQ(demo.Next("UP grid", Within(deadline)), "UP grid accepted Vidnest #3");
    demo.App.Stop();
}
