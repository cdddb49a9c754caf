// The drop-down demo on a real X server, worked with xdotool: the arrow
// opens the window below the edit (its geometry read back with xwininfo), a
// click elsewhere closes it and restores the text, Alt+Down opens, a new
// line is typed in the memo, Esc closes, a drag on the grip resizes the
// window and it reopens at that size, and an edit near the screen's bottom
// opens upwards. Each open drop-down is kept as a PNG next to the demo.
#include <gtest/gtest.h>

#include <cstdio>
#include <iostream>
#include <map>
#include <sstream>

#include "tests/platform/ui/DemoOnX.h"

using namespace xvfb;

namespace {

struct TGeometry {
    int X = 0, Y = 0, W = 0, H = 0;
};

// The demo with its own arguments, its "AT" points and the lines it prints.
struct TDropDownDemo {
    TXvfb X;
    TChild App;
    TFd Out;
    std::map<std::string, std::pair<TPoint, TPoint>> At;  // arrow, edit (screen)
    int Left = 0, Top = 0, Width = 0, Height = 0;
    TScreenShot Shot;
    std::vector<std::string> Pending;  // lines read before READY

    std::string Start(const std::vector<std::string>& extra, Clock::time_point deadline)
    {
        const std::string demo = std::string(VEL_BINARY_DIR) + "/tools/dropdowndemo/dropdowndemo";
        if (access(demo.c_str(), X_OK) != 0) return "the demo program is missing: " + demo;
        if (std::string why = X.Start(deadline); !why.empty()) return why;
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) return "no pipe";
        Out.Fd = fds[0];
        TFd outWrite{fds[1]};
        std::vector<std::string> args = {demo, "--seconds", "90"};
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
            if (line.rfind("DROPPED", 0) == 0 || line.rfind("UP", 0) == 0) {
                Pending.push_back(line);
                continue;
            }
            return "the demo said: " + line;
        }
    }
    // The next line that starts with Prefix.
    std::string Next(const std::string& prefix, Clock::time_point deadline)
    {
        while (!Pending.empty()) {
            std::string line = Pending.front();
            Pending.erase(Pending.begin());
            if (line.rfind(prefix, 0) == 0) return line;
        }
        for (std::string line; ReadLine(Out.Fd, line, deadline);)
            if (line.rfind(prefix, 0) == 0) return line;
        return {};
    }
    void Do(const std::string& args)
    {
        std::string cmd = "DISPLAY=" + X.Display + " xdotool " + args + " >/dev/null 2>&1";
        (void)std::system(cmd.c_str());
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
    }
    void Click(TPoint p) { Do("mousemove " + std::to_string(p.X) + " " + std::to_string(p.Y) + " click 1"); }
    // Every window geometry xwininfo reports ("WxH+X+Y").
    std::string Tree()
    {
        std::string cmd = "DISPLAY=" + X.Display + " xwininfo -root -tree 2>/dev/null";
        std::string out;
        if (FILE* p = popen(cmd.c_str(), "r")) {
            char buf[4096];
            size_t n;
            while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
            pclose(p);
        }
        return out;
    }
    bool Shows(const TGeometry& g)
    {
        std::string want = std::to_string(g.W) + "x" + std::to_string(g.H) + "+" + std::to_string(g.X) + "+" +
                           std::to_string(g.Y);
        return Tree().find(want) != std::string::npos;
    }
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
};

TGeometry Dropped(const std::string& line, std::string* name = nullptr)
{
    TGeometry g;
    char n[64] = {};
    std::sscanf(line.c_str(), "DROPPED %63s %d %d %d %d", n, &g.X, &g.Y, &g.W, &g.H);
    if (name) *name = n;
    return g;
}

}  // namespace

TEST(DropDownDemoSmokeTest, OpenCloseTypeResizeAndOpenUpwardsOnARealXServer)
{
    if (FindProgram("Xvfb").empty()) GTEST_SKIP() << "Xvfb is not installed: the desktop smoke test needs it";
    if (FindProgram("xdotool").empty() || FindProgram("xwininfo").empty())
        GTEST_SKIP() << "xdotool and xwininfo are needed to work the demo";
    auto deadline = Clock::now() + std::chrono::seconds(80);
    TDropDownDemo demo;
    const std::string why = demo.Start({"--open", "header"}, deadline);
    ASSERT_TRUE(why.empty()) << why;
    const std::string dir = std::string(VEL_BINARY_DIR) + "/tools/dropdowndemo/";

    // Opened at start: the header and footer one.
    TGeometry g = Dropped(demo.Next("DROPPED", deadline));
    auto [arrow, edit] = demo.At["header"];
    EXPECT_EQ(g.W, 220);
    EXPECT_EQ(g.H, 150);
    EXPECT_TRUE(demo.SavePng(dir + "dropdowndemo.png", demo.Left - 10, demo.Top - 40, demo.Left + demo.Width + 10,
                             demo.Top + demo.Height + 10));
    std::cout << "screenshot: " << dir << "dropdowndemo.png" << std::endl;

    // A click elsewhere closes it and restores the text.
    demo.Click({demo.Left + 700, demo.Top + 400});
    std::string up = demo.Next("UP header", deadline);
    EXPECT_EQ(up, "UP header cancelled Velmora");

    // The arrow opens it below the edit, where xwininfo finds it.
    demo.Do("sleep 0.4");
    demo.Click(arrow);
    g = Dropped(demo.Next("DROPPED header", deadline));
    EXPECT_NEAR(g.X, edit.X - 30, 2);  // the edit's outer left
    EXPECT_GT(g.Y, edit.Y);
    EXPECT_TRUE(demo.Shows(g)) << "no window of " << g.W << "x" << g.H << "+" << g.X << "+" << g.Y;

    // A drag on the grip, a close, and it reopens at the new size.
    TPoint grip{g.X + g.W - 6, g.Y + g.H - 6};
    demo.Do("mousemove " + std::to_string(grip.X) + " " + std::to_string(grip.Y) + " mousedown 1");
    demo.Do("mousemove " + std::to_string(grip.X + 30) + " " + std::to_string(grip.Y + 20));
    demo.Do("mousemove " + std::to_string(grip.X + 60) + " " + std::to_string(grip.Y + 40) + " mouseup 1");
    demo.Do("key Escape");
    EXPECT_EQ(demo.Next("UP header", deadline), "UP header cancelled Velmora");
    demo.Do("sleep 0.4");
    demo.Click(arrow);
    TGeometry bigger = Dropped(demo.Next("DROPPED header", deadline));
    EXPECT_EQ(bigger.W, g.W + 60);
    EXPECT_EQ(bigger.H, g.H + 40);
    demo.Do("key Escape");
    demo.Next("UP header", deadline);

    // Each other drop-down open, kept as a picture.
    for (const char* name : {"win10", "black", "money", "track", "memo"}) {
        demo.Do("sleep 0.4");
        demo.Click(demo.At[name].first);
        TGeometry o = Dropped(demo.Next(std::string("DROPPED ") + name, deadline));
        EXPECT_GT(o.W, 0) << name;
        const std::string png = dir + "dropdowndemo_" + name + ".png";
        EXPECT_TRUE(demo.SavePng(png, demo.Left - 10, demo.Top - 40, demo.Left + demo.Width + 10,
                                 demo.Top + demo.Height + 10))
            << png;
        demo.Do("key Escape");
        demo.Next(std::string("UP ") + name, deadline);
    }

    // Alt+Down on the memo opens it; a new line typed there; Esc.
    // (A click on the memo's edit would open it: its editor is disabled. The
    // focus comes from the next edit instead.)
    demo.Click(demo.At["border"].second);
    demo.Do("key shift+Tab");
    demo.Do("key alt+Down");
    ASSERT_FALSE(demo.Next("DROPPED memo", deadline).empty());
    demo.Do("key ctrl+End");
    demo.Do("key Return");
    demo.Do("type --delay 20 typed");
    demo.Do("key Escape");
    EXPECT_EQ(demo.Next("UP memo", deadline), "UP memo cancelled First line of the notes...");
    // Typed into the window, the new line stays (the memo keeps what is typed).
    demo.Do("key Tab");
    demo.App.Stop();

    // Near the screen's bottom the window opens upwards.
    auto deadline2 = Clock::now() + std::chrono::seconds(40);
    TDropDownDemo low;
    const std::string why2 = low.Start({"--bottom", "--open", "bottom"}, deadline2);
    ASSERT_TRUE(why2.empty()) << why2;
    TGeometry b = Dropped(low.Next("DROPPED bottom", deadline2));
    EXPECT_LT(b.Y + b.H, low.At["bottom"].second.Y);
    EXPECT_TRUE(low.Shows(b));
    EXPECT_TRUE(low.SavePng(dir + "dropdowndemo_bottom.png", low.Left - 10, b.Y - 10, low.Left + low.Width + 10,
                            768));
}
