// The picture demo on a real X server: it runs under a virtual X server of
// the test's own; the colours of its window are checked at known points and
// the client area is saved as tests/picturedemo.png in the build tree.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "platform/gfx/Codecs.h"
#include "tests/platform/ui/XvfbSupport.h"

using namespace xvfb;

namespace {

bool Near(uint32_t a, uint32_t b, int tolerance)
{
    for (int shift = 0; shift < 24; shift += 8) {
        const int d = int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF);
        if (d > tolerance || d < -tolerance) return false;
    }
    return true;
}

}  // namespace

TEST(PictureDemoSmokeTest, ShowsPicturesAndTextOnARealXServer)
{
    if (FindProgram("Xvfb").empty()) GTEST_SKIP() << "Xvfb is not installed: the desktop smoke test needs it";
    const std::string demo = std::string(VEL_BINARY_DIR) + "/tools/picturedemo/picturedemo";
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
    ASSERT_EQ(width, 560);
    ASSERT_EQ(height, 300);

    const uint32_t red = 0xFF0000, green = 0x00FF00, blue = 0x0000FF, white = 0xFFFFFF, yellow = 0xFFFF00,
                   grey = 0xDCDCDC;
    const struct {
        int X, Y;
        uint32_t Colour;
        int Tolerance;
        const char* What;
    } checks[] = {
        {20, 20, red, 0, "picture, top left"},
        {60, 20, green, 0, "picture, top right"},
        {20, 60, blue, 0, "picture, bottom left"},
        {130, 130, white, 0, "picture scaled, bottom right"},
        {335, 55, blue, 0, "turned 90: bottom left now top left"},
        {375, 55, red, 0, "turned 90: top left now top right"},
        {375, 95, green, 0, "turned 90: top right now bottom right"},
        {445, 25, yellow, 0, "transparent bitmap: magenta keyed out"},
        {495, 75, blue, 0, "transparent bitmap: its square"},
        {40, 190, red, 12, "OLE image upright: red on top"},
        {40, 260, blue, 12, "OLE image upright: blue below"},
        {110, 260, white, 12, "OLE image: white bottom right"},
        {200, 150, grey, 0, "background"},
    };
    TScreenShot shot;
    const std::string file = x.ScreenFile();
    bool all = false;
    while (!all && Clock::now() < deadline) {
        if (shot.Load(file)) {
            all = true;
            for (auto& c : checks) all &= Near(shot.At(left + c.X, top + c.Y), c.Colour, c.Tolerance);
        }
        if (!all) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ASSERT_GT(shot.Width, 0) << "the server's screen could not be read";
    for (auto& c : checks)
        EXPECT_TRUE(Near(shot.At(left + c.X, top + c.Y), c.Colour, c.Tolerance))
            << c.What << " at client " << c.X << "," << c.Y << ": " << std::hex << shot.At(left + c.X, top + c.Y);

    // The text lines leave dark ink on their white backgrounds.
    int ink = 0, paper = 0;
    for (int y = 165; y < 240; ++y)
        for (int xx = 150; xx < 550; ++xx) {
            const uint32_t c = shot.At(left + xx, top + y);
            ink += (c & 0xFF) > 60 && ((c >> 16) & 0xFF) < 60;   // navy-ish
            paper += c == white;
        }
    EXPECT_GT(ink, 100);
    EXPECT_GT(paper, 1000);

    TImageData capture(width, height);
    for (int y = 0; y < height; ++y)
        for (int xx = 0; xx < width; ++xx) capture.Pixel(xx, y) = 0xFF000000u | shot.At(left + xx, top + y);
    const TBytes png = EncodePng(capture);
    std::ofstream(std::string(VEL_BINARY_DIR) + "/tests/picturedemo.png", std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
}
