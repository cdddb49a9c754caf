// A demo program of tools/ worked with xdotool on a virtual X server of the
// test's own: the demo prints "AT <name> <x> <y> <x> <y>" lines (two screen
// points of a control, e.g. its button and its edit), then "READY <left>
// <top> <width> <height>" with the client area's place on screen, then a
// line for each thing it does (the test waits on those).
//
// The driver waits on what it can see (a line of the demo, a window the X
// server shows, a screen that stopped changing) rather than on fixed delays,
// and every wait has a deadline: a loaded two-core run slows every step at
// once.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/gfx/Codecs.h"
#include "tests/platform/ui/XvfbSupport.h"

namespace xvfb {

struct TGeometry {
    int X = 0, Y = 0, W = 0, H = 0;
};

// A step's deadline: Seconds from now, but not past the test's End. A step
// that fails then costs its own time, not the rest of the test's.
inline Clock::time_point Within(Clock::time_point end, int seconds = 30)
{
    return std::min(Clock::now() + std::chrono::seconds(seconds), end);
}

struct TDemoDriver {
    TXvfb X;
    TChild App;
    TFd Out;
    std::map<std::string, std::pair<TPoint, TPoint>> At;  // the demo's AT lines (screen)
    int Left = 0, Top = 0, Width = 0, Height = 0;
    TScreenShot Shot;
    // Lines read while waiting for another one, in the order they came.
    std::vector<std::string> Pending;
    // Sees every line the demo prints (e.g. to keep positions it announces).
    std::function<void(const std::string&)> Keep;

    // Empty when the demo shows its window; else why not. The demo lives
    // Seconds at most.
    std::string Start(const std::string& demo, const std::vector<std::string>& extra, Clock::time_point deadline,
                      int seconds = 240)
    {
        if (access(demo.c_str(), X_OK) != 0) return "the demo program is missing: " + demo;
        if (std::string why = X.Start(deadline); !why.empty()) return why;
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) return "no pipe";
        Out.Fd = fds[0];
        TFd outWrite{fds[1]};
        std::vector<std::string> args = {demo, "--seconds", std::to_string(seconds)};
        args.insert(args.end(), extra.begin(), extra.end());
        App.Pid = Spawn(args, {{outWrite.Fd, 1}},
                        {"DISPLAY=" + X.Display, "WAYLAND_DISPLAY=", "SDL_VIDEODRIVER=x11", "ASAN_OPTIONS=detect_leaks=0"});
        if (App.Pid <= 0) return "the demo could not be started";
        outWrite.Close();
        for (std::string line;;) {
            if (!ReadLine(Out.Fd, line, deadline)) return "the demo did not show its window";
            if (Keep) Keep(line);
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

    // The next line that starts with Prefix (empty when none came by the
    // deadline). Lines before it are dropped; lines read while waiting for it
    // are kept for the next call.
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
            if (Keep) Keep(line);
            if (line.rfind(prefix, 0) == 0) return line;
            Pending.push_back(line);
        }
        return {};
    }

    // xdotool returns once the X server has the input, and the demo reads it
    // in order; steps that depend on it wait on the demo's answer.
    void Do(const std::string& args)
    {
        std::string cmd = "DISPLAY=" + X.Display + " xdotool " + args + " >/dev/null 2>&1";
        (void)std::system(cmd.c_str());
    }
    void Click(TPoint p) { Do("mousemove " + std::to_string(p.X) + " " + std::to_string(p.Y) + " click 1"); }
    // A click on a drop-down's arrow within 250 ms (the demo's clock) of the
    // click that closed a window by deactivating it counts as part of that
    // close. The demo took that moment before it printed the line the test
    // has read, so waiting past the interval from now is enough under any load.
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
    // Whether the X server shows a window at that place, mapped and
    // viewable, not merely created. Its size may differ from the one the
    // demo announced by a few pixels (a list that adds its frame).
    bool ShowsNow(const TGeometry& g)
    {
        std::istringstream tree(Run("xwininfo -root -tree"));
        for (std::string line; std::getline(tree, line);) {
            std::istringstream words(line);
            std::string id, word;
            words >> id;
            if (id.rfind("0x", 0) != 0) continue;
            bool at = false;
            while (words >> word) {
                int w, h, x, y;
                char rest;
                if (std::sscanf(word.c_str(), "%dx%d+%d+%d%c", &w, &h, &x, &y, &rest) == 4 && x == g.X &&
                    y == g.Y && std::abs(w - g.W) <= 4 && std::abs(h - g.H) <= 4)
                    at = true;
            }
            if (at && Run("xwininfo -id " + id).find("IsViewable") != std::string::npos) return true;
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
    // Reads the screen until the area has been painted (more than one colour
    // in it) and two reads in a row agree; false when the screen could not
    // be read or did not settle by the deadline. Shot keeps the last read.
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
    // The demo's client area with its frame and caption.
    TGeometry Page() const { return {Left - 10, Top - 40, Width + 20, Height + 50}; }

    // The screen's Area as a PNG once Watched (a window the demo announced,
    // or the area itself) shows and has settled.
    bool SavePng(const std::string& path, const TGeometry& area, const TGeometry& watched,
                 Clock::time_point deadline)
    {
        if (watched.W != area.W || watched.H != area.H || watched.X != area.X || watched.Y != area.Y)
            if (!Shows(watched, deadline)) return false;
        if (!Settle(watched, deadline)) return false;
        const int x0 = std::max(0, area.X), y0 = std::max(0, area.Y);
        const int x1 = std::min(Shot.Width, area.X + area.W), y1 = std::min(Shot.Height, area.Y + area.H);
        if (x1 <= x0 || y1 <= y0) return false;
        TImageData capture(x1 - x0, y1 - y0);
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) capture.Pixel(x - x0, y - y0) = 0xFF000000u | Shot.At(x, y);
        const TBytes png = EncodePng(capture);
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
        return bool(out);
    }
    bool SavePng(const std::string& path, const TGeometry& area, Clock::time_point deadline)
    {
        return SavePng(path, area, area, deadline);
    }
};

// "DROPPED <name> <x> <y> <w> <h>": the window a drop-down opened.
inline TGeometry Dropped(const std::string& line, std::string* name = nullptr)
{
    TGeometry g;
    char n[64] = {};
    std::sscanf(line.c_str(), "DROPPED %63s %d %d %d %d", n, &g.X, &g.Y, &g.W, &g.H);
    if (name) *name = n;
    return g;
}

}  // namespace xvfb
