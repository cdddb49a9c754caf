// The list drop-down demo on a real X server, worked with xdotool: each
// drop-down opened and kept as a PNG next to the demo; typing into the
// multi-column edit completes, typing in its open list jumps, a click picks;
// a colour picked on the honeycomb and on the spectrum; Esc restores. The
// values the demo prints at each closing are compared.
#include <gtest/gtest.h>

#include <cstdio>
#include <iostream>
#include <map>

#include "tests/platform/ui/DemoOnX.h"

using namespace xvfb;

namespace {

struct TGeometry {
    int X = 0, Y = 0, W = 0, H = 0;
};

struct TListDemo {
    TXvfb X;
    TChild App;
    TFd Out;
    std::map<std::string, std::pair<TPoint, TPoint>> At;  // arrow, edit (screen)
    int Left = 0, Top = 0, Width = 0, Height = 0;
    TScreenShot Shot;
    std::vector<std::string> Pending;

    std::string Start(const std::vector<std::string>& extra, Clock::time_point deadline)
    {
        const std::string demo = std::string(VEL_BINARY_DIR) + "/tools/listdropdowndemo/listdropdowndemo";
        if (access(demo.c_str(), X_OK) != 0) return "the demo program is missing: " + demo;
        if (std::string why = X.Start(deadline); !why.empty()) return why;
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) return "no pipe";
        Out.Fd = fds[0];
        TFd outWrite{fds[1]};
        std::vector<std::string> args = {demo, "--seconds", "240"};
        args.insert(args.end(), extra.begin(), extra.end());
        App.Pid = Spawn(args, {{outWrite.Fd, 1}},
                        {"DISPLAY=" + X.Display, "WAYLAND_DISPLAY=", "SDL_VIDEODRIVER=x11", "ASAN_OPTIONS=detect_leaks=0"});
        if (App.Pid <= 0) return "the demo could not be started";
        outWrite.Close();
        for (std::string line;;) {
            if (!ReadLine(Out.Fd, line, deadline)) return "the demo did not show its window";
            char name[64];
            TPoint a, e;
            if (std::sscanf(line.c_str(), "AT %63s %d %d %d %d", name, &a.X, &a.Y, &e.X, &e.Y) == 5) {
                At[name] = {a, e};
                continue;
            }
            if (std::sscanf(line.c_str(), "READY %d %d %d %d", &Left, &Top, &Width, &Height) == 4) return {};
            Pending.push_back(line);
        }
    }
    std::string Next(const std::string& prefix, Clock::time_point deadline)
    {
        for (size_t i = 0; i < Pending.size(); ++i)
            if (Pending[i].rfind(prefix, 0) == 0) {
                std::string line = Pending[i];
                Pending.erase(Pending.begin(), Pending.begin() + long(i) + 1);
                return line;
            }
        Pending.clear();
        for (std::string line; ReadLine(Out.Fd, line, deadline);) {
            if (line.rfind(prefix, 0) == 0) return line;
            Pending.push_back(line);
        }
        return {};
    }
    void Do(const std::string& args)
    {
        std::string cmd = "DISPLAY=" + X.Display + " xdotool " + args + " >/dev/null 2>&1";
        (void)std::system(cmd.c_str());
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
    }
    void Click(TPoint p) { Do("mousemove " + std::to_string(p.X) + " " + std::to_string(p.Y) + " click 1"); }
    bool SavePng(const std::string& path, int x0, int y0, int x1, int y1)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        if (!Shot.Load(X.ScreenFile())) return false;
        x0 = std::max(0, x0), y0 = std::max(0, y0);
        x1 = std::min(Shot.Width, x1), y1 = std::min(Shot.Height, y1);
        if (x1 <= x0 || y1 <= y0) return false;
        TImageData capture(x1 - x0, y1 - y0);
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) capture.Pixel(x - x0, y - y0) = 0xFF000000u | Shot.At(x, y);
        const TBytes png = EncodePng(capture);
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
        return bool(out);
    }
    // Opens a drop-down by its arrow and answers its window.
    TGeometry Open(const std::string& name, Clock::time_point deadline)
    {
        Do("sleep 0.4");
        Click(At[name].first);
        TGeometry g;
        char n[64] = {};
        std::string line = Next("DROPPED " + name + " ", deadline);
        std::sscanf(line.c_str(), "DROPPED %63s %d %d %d %d", n, &g.X, &g.Y, &g.W, &g.H);
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
        int x1 = std::max(demo.Left + demo.Width + 10, g.X + g.W + 10);
        int y1 = std::max(demo.Top + demo.Height + 10, g.Y + g.H + 10);
        EXPECT_TRUE(demo.SavePng(png, demo.Left - 10, demo.Top - 40, x1, y1)) << png;
        std::cout << "screenshot: " << png << std::endl;
    };

    // The detail list, opened at start; Esc keeps the choice.
    TGeometry g;
    {
        std::string line = demo.Next("DROPPED detail", deadline);
        char n[64];
        std::sscanf(line.c_str(), "DROPPED %63s %d %d %d %d", n, &g.X, &g.Y, &g.W, &g.H);
    }
    EXPECT_EQ(g.W, 260);
    shoot("detail", g);
    demo.Do("key Escape");
    EXPECT_EQ(demo.Next("UP detail", deadline), "UP detail cancelled Velmora #0");

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
        EXPECT_EQ(demo.Next("UP " + name, deadline), "UP " + name + " cancelled " + value) << name;
    }

    // The honeycomb: a click on the white centre cell picks it.
    g = demo.Open("cube", deadline);
    EXPECT_EQ(g.W, 184);
    EXPECT_EQ(g.H, 162);
    shoot("cube", g);
    demo.Click({g.X + 1 + 91, g.Y + 1 + 80});
    EXPECT_EQ(demo.Next("UP cube", deadline), "UP cube accepted FFFFFF Red:255,Green:255,Blue:255");

    // The spectrum: a move over the red left edge, then a click, picks it.
    g = demo.Open("spectrum", deadline);
    shoot("spectrum", g);
    TPoint red{g.X + 1 + 11 + 0, g.Y + 1 + 10 + 64};
    demo.Do("mousemove " + std::to_string(red.X + 3) + " " + std::to_string(red.Y));
    demo.Do("mousemove " + std::to_string(red.X) + " " + std::to_string(red.Y));
    demo.Do("click 1");
    EXPECT_EQ(demo.Next("UP spectrum", deadline), "UP spectrum accepted 0000FF red");

    // The multi-column list: typing completes in the edit.
    demo.Click(demo.At["multi"].second);
    demo.Do("type --delay 60 str");
    demo.Do("key alt+Down");
    g = {};
    {
        std::string line = demo.Next("DROPPED multi", deadline);
        char n[64];
        std::sscanf(line.c_str(), "DROPPED %63s %d %d %d %d", n, &g.X, &g.Y, &g.W, &g.H);
    }
    std::string rows = demo.Next("ROWS multi", deadline);
    TPoint row1;
    int rowH = 22;
    std::sscanf(rows.c_str(), "ROWS multi %d %d %d", &row1.X, &row1.Y, &rowH);
    shoot("multi", g);
    demo.Do("key Return");
    EXPECT_EQ(demo.Next("UP multi", deadline), "UP multi accepted Streamhall #1");
    // Typing in the open list jumps to the first match.
    demo.Do("sleep 0.4");
    demo.Do("key alt+Down");
    demo.Next("DROPPED multi", deadline);
    demo.Do("type --delay 60 c");
    demo.Do("key Return");
    EXPECT_EQ(demo.Next("UP multi", deadline), "UP multi accepted Clipworks #2");
    // A click picks the fifth row.
    g = demo.Open("multi", deadline);
    demo.Next("ROWS multi", deadline);
    demo.Click({row1.X, row1.Y + 4 * rowH});
    EXPECT_EQ(demo.Next("UP multi", deadline), "UP multi accepted Reelbay #4");
    // Esc after a move restores it.
    g = demo.Open("multi", deadline);
    demo.Do("key Down");
    demo.Do("key Escape");
    EXPECT_EQ(demo.Next("UP multi", deadline), "UP multi cancelled Reelbay #4");
    demo.App.Stop();
}
