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

#include "tests/platform/ui/DemoOnX.h"

using namespace xvfb;

namespace {

struct TClockPageDemo {
    TXvfb X;
    TChild App;
    TFd Out;
    std::map<std::string, std::pair<TPoint, TPoint>> At;  // arrow, edit (screen)
    int Left = 0, Top = 0, Width = 0, Height = 0;
    TScreenShot Shot;
    std::vector<std::string> Pending;

    std::string Start(Clock::time_point deadline)
    {
        const std::string demo = std::string(VEL_BINARY_DIR) + "/tools/dropdowndemo/dropdowndemo";
        if (access(demo.c_str(), X_OK) != 0) return "the demo program is missing: " + demo;
        if (std::string why = X.Start(deadline); !why.empty()) return why;
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) return "no pipe";
        Out.Fd = fds[0];
        TFd outWrite{fds[1]};
        App.Pid = Spawn({demo, "--seconds", "240", "--page", "clock"}, {{outWrite.Fd, 1}},
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
        while (!Pending.empty()) {
            std::string line = Pending.front();
            Pending.erase(Pending.begin());
            if (line.rfind(prefix, 0) == 0) return line;
        }
        for (std::string line; ReadLine(Out.Fd, line, deadline);) {
            if (line.rfind(prefix, 0) == 0) return line;
            Keep(line);
        }
        return {};
    }
    // KEY and WATCH lines are kept as they pass.
    std::map<std::string, TPoint> Keys;
    int Cx = 0, Cy = 0, R = 0, Ax = 0, Ay = 0;
    void Keep(const std::string& line)
    {
        char name[64], cap[16];
        TPoint p;
        if (std::sscanf(line.c_str(), "KEY %63s %15s %d %d", name, cap, &p.X, &p.Y) == 4) Keys[cap] = p;
        std::sscanf(line.c_str(), "WATCH %63s %d %d %d %d %d", name, &Cx, &Cy, &R, &Ax, &Ay);
    }
    // Reads lines until one starts with prefix, keeping KEY and WATCH lines.
    void Collect(const std::string& prefix, Clock::time_point deadline)
    {
        for (std::string line; ReadLine(Out.Fd, line, deadline);) {
            Keep(line);
            if (line.rfind(prefix, 0) == 0) return;
        }
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
    bool SavePage(const std::string& path)
    {
        return SavePng(path, Left - 10, Top - 40, Left + Width + 10, Top + Height + 10);
    }
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
    ASSERT_FALSE(demo.Next("DROPPED calc", deadline).empty());
    demo.Collect("KEY calc sqrt", deadline);
    ASSERT_EQ(demo.Keys.size(), 27u);
    demo.Click(demo.Keys["7"]);
    demo.Click(demo.Keys["*"]);
    demo.Click(demo.Keys["6"]);
    demo.Do("type --delay 40 '+8'");
    EXPECT_TRUE(demo.SavePage(dir + "dropdowndemo_calculator.png"));
    demo.Do("key Return");
    EXPECT_EQ(demo.Next("UP calc", deadline), "UP calc accepted 50.00");

    // The time picker: hour 9 inside the face, minute 15 outside the circle,
    // the AM/PM box to the afternoon, Enter.
    demo.Do("sleep 0.4");
    demo.Click(demo.At["time"].first);
    ASSERT_FALSE(demo.Next("DROPPED time", deadline).empty());
    demo.Collect("WATCH time", deadline);
    ASSERT_GT(demo.R, 0);
    demo.Click({demo.Cx - demo.R / 2, demo.Cy});
    demo.Do("sleep 0.5");  // the hand moves there
    demo.Click({demo.Cx + demo.R + 6, demo.Cy});
    demo.Do("sleep 0.5");
    demo.Click({demo.Ax, demo.Ay});
    demo.Do("sleep 0.5");
    EXPECT_TRUE(demo.SavePage(dir + "dropdowndemo_timepicker.png"));
    demo.Do("key Return");
    EXPECT_EQ(demo.Next("UP time", deadline), "UP time accepted 21:15:00");

    // Arrow keys on the closed edit: Down raises the field under the caret.
    demo.Do("key Home");
    demo.Do("key Down");
    EXPECT_EQ(demo.Next("TIME time", deadline), "TIME time 22:15:00");
    demo.Do("key Up");
    demo.Do("key Up");
    demo.Next("TIME time", deadline);
    EXPECT_EQ(demo.Next("TIME time", deadline), "TIME time 20:15:00");

    // The one with the platform's picker under the clock, kept as a picture.
    demo.Do("sleep 0.4");
    demo.Click(demo.At["picker"].first);
    ASSERT_FALSE(demo.Next("DROPPED picker", deadline).empty());
    EXPECT_TRUE(demo.SavePage(dir + "dropdowndemo_timepicker2.png"));
    demo.Do("key Escape");
    EXPECT_EQ(demo.Next("UP picker", deadline), "UP picker cancelled 16:45");

    demo.App.Stop();
}
