// The grid demo on a real X server: it runs under a virtual X server of the
// test's own; the colours at the points the demo names are checked and the
// client area is saved as tests/griddemo.png in the build tree.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "platform/gfx/Codecs.h"
#include "tests/platform/ui/XvfbSupport.h"

using namespace xvfb;

TEST(SdlGridDemoSmokeTest, ShowsTheGridFamilyOnARealXServer)
{
    if (FindProgram("Xvfb").empty()) GTEST_SKIP() << "Xvfb is not installed: the desktop smoke test needs it";
    const std::string demo = std::string(VEL_BINARY_DIR) + "/tools/griddemo/griddemo";
    ASSERT_EQ(access(demo.c_str(), X_OK), 0) << "the demo program is missing: " << demo;
    auto deadline = Clock::now() + std::chrono::seconds(60);
    TXvfb x;
    std::string why = x.Start(deadline);
    ASSERT_TRUE(why.empty()) << why;

    int fds[2];
    ASSERT_EQ(pipe2(fds, O_CLOEXEC), 0);
    TFd outRead{fds[0]}, outWrite{fds[1]};
    TChild app;
    app.Pid = Spawn({demo, "--seconds", "90"}, {{outWrite.Fd, 1}},
                    {"DISPLAY=" + x.Display, "WAYLAND_DISPLAY=", "SDL_VIDEODRIVER=x11", "ASAN_OPTIONS=detect_leaks=0"});
    ASSERT_GT(app.Pid, 0);
    outWrite.Close();
    struct TCheck {
        std::string Name;
        int X = 0, Y = 0;
        uint32_t Colour = 0;
    };
    std::vector<TCheck> checks;
    std::string line;
    int left = 0, top = 0, width = 0, height = 0;
    while (true) {
        ASSERT_TRUE(ReadLine(outRead.Fd, line, deadline)) << "the demo did not show its window";
        char name[32];
        TCheck c;
        unsigned colour = 0;
        if (std::sscanf(line.c_str(), "POINT %31s %d %d %x", name, &c.X, &c.Y, &colour) == 4) {
            c.Name = name;
            c.Colour = colour;
            checks.push_back(c);
            continue;
        }
        ASSERT_EQ(std::sscanf(line.c_str(), "READY %d %d %d %d", &left, &top, &width, &height), 4) << line;
        break;
    }
    ASSERT_EQ(width, 900);
    ASSERT_EQ(height, 620);
    ASSERT_EQ(checks.size(), 4u);

    TScreenShot shot;
    const std::string file = x.ScreenFile();
    bool all = false;
    while (!all && Clock::now() < deadline) {
        if (shot.Load(file)) {
            all = true;
            for (auto& c : checks) all &= shot.At(left + c.X, top + c.Y) == c.Colour;
        }
        if (!all) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ASSERT_GT(shot.Width, 0) << "the server's screen could not be read";
    for (auto& c : checks)
        EXPECT_EQ(shot.At(left + c.X, top + c.Y), c.Colour) << c.Name << " at client " << c.X << "," << c.Y;

    // The cells carry text: dark ink inside the grid's area.
    int ink = 0;
    for (int y = 10; y < 300; ++y)
        for (int xx = 10; xx < 880; ++xx) ink += (shot.At(left + xx, top + y) & 0xFFFFFF) < 0x404040;
    EXPECT_GT(ink, 2000);

    TImageData capture(width, height);
    for (int y = 0; y < height; ++y)
        for (int xx = 0; xx < width; ++xx) capture.Pixel(xx, y) = 0xFF000000u | shot.At(left + xx, top + y);
    const TBytes png = EncodePng(capture);
    std::ofstream(std::string(VEL_BINARY_DIR) + "/tests/griddemo.png", std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
}
