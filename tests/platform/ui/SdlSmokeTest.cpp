// The desktop backend on a real X server: the demo program runs under a
// virtual X server of the test's own, and the colours its window shows on
// that server's screen are checked at known points.
#include <gtest/gtest.h>

#include <cstdio>

#include "XvfbSupport.h"

using namespace xvfb;

TEST(SdlSmokeTest, DemoWindowShowsItsPaintedControlsOnARealXServer)
{
    if (FindProgram("Xvfb").empty()) GTEST_SKIP() << "Xvfb is not installed: the desktop smoke test needs it";
    std::string demo = std::string(VEL_BINARY_DIR) + "/tools/uidemo";
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
    std::string ready;
    ASSERT_TRUE(ReadLine(outRead.Fd, ready, deadline)) << "the demo did not show its window";
    int left = 0, top = 0, width = 0, height = 0;
    ASSERT_EQ(std::sscanf(ready.c_str(), "READY %d %d %d %d", &left, &top, &width, &height), 4) << ready;
    // The swatches need a client area of about the size the demo asks for.
    ASSERT_GE(width, 220);
    ASSERT_GE(height, 120);

    // Known colours at known client points, and the black desktop around.
    struct {
        int X, Y;
        uint32_t Colour;
        const char* What;
    } const checks[] = {
        {5, 5, 0xFF0000, "form"},          {width - 3, height - 3, 0xFF0000, "form"},
        {12, 12, 0x00FF00, "green swatch"}, {88, 68, 0x00FF00, "green swatch"},
        {112, 12, 0x0000FF, "blue swatch"}, {185, 65, 0x0000FF, "blue swatch"},
        {140, 40, 0xFFFF00, "yellow swatch inside the blue one"},
        {-20, -40, 0x000000, "desktop"},    {width + 20, height + 20, 0x000000, "desktop"},
    };
    TScreenShot shot;
    std::string file = x.ScreenFile();
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
        EXPECT_EQ(shot.At(left + c.X, top + c.Y), c.Colour) << c.What << " at client " << c.X << "," << c.Y;
}
