// A demo program of tools/ run on a virtual X server of the test's own: the
// smoke tests start it, wait for the colours they know at points of its
// window, and keep its window as a PNG for people to look at.
//
// The demo prints "POINT <name> <x> <y> <rrggbb>" lines (optional checks it
// names itself, in client coordinates), then "READY <left> <top> <width>
// <height>" once its window shows, with the client area's place on screen.
#pragma once

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "platform/gfx/Codecs.h"
#include "tests/platform/ui/XvfbSupport.h"

namespace xvfb {

struct TPixelCheck {
    int X = 0, Y = 0;  // client point
    uint32_t Colour = 0;  // 0xRRGGBB
    std::string What;
    int Tolerance = 0;  // per channel
};

inline uint32_t Rgb(int r, int g, int b) { return uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b); }

struct TDemoOnX {
    TXvfb X;
    TChild App;
    int Left = 0, Top = 0, Width = 0, Height = 0;
    std::vector<TPixelCheck> NamedChecks;  // the demo's own POINT lines
    TScreenShot Shot;

    // Empty when the demo shows its window; else why not.
    std::string Start(const std::string& demo, Clock::time_point deadline)
    {
        if (access(demo.c_str(), X_OK) != 0) return "the demo program is missing: " + demo;
        if (std::string why = X.Start(deadline); !why.empty()) return why;
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) return "no pipe";
        TFd outRead{fds[0]}, outWrite{fds[1]};
        App.Pid = Spawn({demo, "--seconds", "90"}, {{outWrite.Fd, 1}},
                        {"DISPLAY=" + X.Display, "WAYLAND_DISPLAY=", "SDL_VIDEODRIVER=x11", "ASAN_OPTIONS=detect_leaks=0"});
        if (App.Pid <= 0) return "the demo could not be started";
        outWrite.Close();
        for (std::string line;;) {
            if (!ReadLine(outRead.Fd, line, deadline)) return "the demo did not show its window";
            char name[64];
            unsigned colour = 0;
            TPixelCheck c;
            if (std::sscanf(line.c_str(), "POINT %63s %d %d %x", name, &c.X, &c.Y, &colour) == 4) {
                c.What = name;
                c.Colour = colour;
                NamedChecks.push_back(c);
                continue;
            }
            if (std::sscanf(line.c_str(), "READY %d %d %d %d", &Left, &Top, &Width, &Height) == 4) return {};
            return "the demo said: " + line;
        }
    }

    uint32_t At(int clientX, int clientY) const { return Shot.At(Left + clientX, Top + clientY); }

    bool Holds(const TPixelCheck& c) const
    {
        const uint32_t a = At(c.X, c.Y);
        for (int shift = 0; shift < 24; shift += 8) {
            const int d = int((a >> shift) & 0xFF) - int((c.Colour >> shift) & 0xFF);
            if (d > c.Tolerance || d < -c.Tolerance) return false;
        }
        return true;
    }

    // Reads the screen until every check holds or the deadline passes, lets
    // the last paint settle and keeps the screen read last in Shot. False
    // when the screen could not be read at all.
    bool WaitFor(const std::vector<TPixelCheck>& checks, Clock::time_point deadline)
    {
        const std::string file = X.ScreenFile();
        bool all = false;
        while (!all && Clock::now() < deadline) {
            if (Shot.Load(file)) all = std::all_of(checks.begin(), checks.end(), [&](auto& c) { return Holds(c); });
            if (!all) std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        Shot.Load(file);
        return Shot.Width > 0;
    }

    // The client area (with Frame, the window's frame and caption too) as a PNG.
    bool SavePng(const std::string& path, bool frame = false) const
    {
        const int x0 = std::max(0, Left - (frame ? 10 : 0)), y0 = std::max(0, Top - (frame ? 40 : 0));
        const int x1 = std::min(Shot.Width, Left + Width + (frame ? 10 : 0));
        const int y1 = std::min(Shot.Height, Top + Height + (frame ? 10 : 0));
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

}  // namespace xvfb
