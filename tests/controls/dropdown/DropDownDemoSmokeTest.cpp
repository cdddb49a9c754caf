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

#include "tests/platform/ui/DemoOnX.h"

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
        std::vector<std::string> args = {demo, "--seconds", std::to_string(OverallSeconds)};
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
    // xdotool returns once the X server has the input and the demo reads
    // it in order; the steps that depend on it wait on the demo's answer.
    void Do(const std::string& args)
    {
        std::string cmd = "DISPLAY=" + X.Display + " xdotool " + args + " >/dev/null 2>&1";
        (void)std::system(cmd.c_str());
    }
    void Click(TPoint p) { Do("mousemove " + std::to_string(p.X) + " " + std::to_string(p.Y) + " click 1"); }
    // A click on an arrow within 250 ms (the demo's clock) of the click that
    // closed the window by deactivating it counts as part of that close. The
    // demo took that moment before it printed the UP line the test has read,
    // so waiting past the interval from now is enough under any load.
    void ClickArrow(TPoint p)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        Click(p);
    }
    std::string Run(const std::string& command)
    {
        std::string cmd = "DISPLAY=" + X.Display + " " + command + " 2>/dev/null";
        std::string out;
        if (FILE* p = popen(cmd.c_str(), "r")) {
            char buf[4096];
            size_t n;
            while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
            pclose(p);
        }
        return out;
    }
    // Whether the X server shows a window of that geometry ("WxH+X+Y"):
    // mapped and viewable, not merely created.
    bool ShowsNow(const TGeometry& g)
    {
        const std::string want = " " + std::to_string(g.W) + "x" + std::to_string(g.H) + "+" +
                                 std::to_string(g.X) + "+" + std::to_string(g.Y) + " ";
        std::istringstream tree(Run("xwininfo -root -tree"));
        for (std::string line; std::getline(tree, line);) {
            if ((line + " ").find(want) == std::string::npos) continue;
            std::istringstream words(line);
            std::string id;
            words >> id;
            if (id.rfind("0x", 0) == 0 && Run("xwininfo -id " + id).find("IsViewable") != std::string::npos)
                return true;
        }
        return false;
    }
    // The demo announces a window when it shows it; the X server maps it a
    // moment later. Input and pictures meant for the window wait for that.
    bool Shows(const TGeometry& g, Clock::time_point deadline)
    {
        for (;;) {
            if (ShowsNow(g)) return true;
            if (Clock::now() >= deadline) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    // Reads the screen until the area has been painted (more than one
    // colour in it) and two reads in a row agree; false when the screen
    // could not be read or did not settle by the deadline.
    bool Settle(const TGeometry& g, Clock::time_point deadline)
    {
        std::vector<uint32_t> last;
        for (;;) {
            std::vector<uint32_t> now;
            if (Shot.Load(X.ScreenFile())) {
                const int l = std::max(0, g.X), t = std::max(0, g.Y);
                const int r = std::min(Shot.Width, g.X + g.W), b = std::min(Shot.Height, g.Y + g.H);
                for (int y = t; y < b; ++y)
                    for (int x = l; x < r; ++x) now.push_back(Shot.At(x, y));
            }
            const bool painted =
                !now.empty() && std::any_of(now.begin(), now.end(), [&](uint32_t c) { return c != now.front(); });
            if (painted && now == last) return true;
            if (Clock::now() >= deadline) return false;
            last = std::move(now);
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
    // The screen (left, top, right, bottom) as a PNG once Opened, the open
    // drop-down window, shows and has been painted.
    bool SavePng(const std::string& path, const TGeometry& opened, int x0, int y0, int x1, int y1)
    {
        if (!Shows(opened, Step()) || !Settle(opened, Step())) return false;
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
