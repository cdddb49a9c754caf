// The whole application on a virtual X server: the real velmora_d with its
// settings in a private configuration folder (the save folder, the proxy of
// the local server, which plays the own site's host), a link on the
// clipboard when it starts. The link is taken at activation; a pointer click
// on Add fetches it. With a video link and autostart on, the video is listed,
// started and saved under its title; with a page that never answers, the
// wait window stays up. The window's caption comes from the executable's
// version block. The main window and the wait window are compared with their
// reference pictures (tests/data/app), with exact checks at known places.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "app/Settings.h"
#include "app/SiteConstants.h"
#include "platform/base/Registry.h"
#include "tests/app/ScreenCompare.h"
#include "tests/app/TempFolder.h"
#include "tests/platform/ui/XvfbSupport.h"
#include "tools/webserver/TestServer.h"

namespace {

using namespace std::chrono_literals;
using appshots::Rgb;

// The output of a program run to its end (its standard output).
std::string Capture(const std::vector<std::string>& args, const std::vector<std::string>& env)
{
    xvfb::TTempDir dir;
    const std::string out = dir.Path + "/out";
    int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return {};
    pid_t pid = xvfb::Spawn(args, {{fd, 1}}, env);
    ::close(fd);
    if (pid <= 0) return {};
    waitpid(pid, nullptr, 0);
    std::ifstream in(out);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Writes the settings into the store below configHome, as a user who chose
// them earlier would have left them.
void SeedSettings(const std::string& configHome, const std::vector<std::pair<String, String>>& values)
{
    const char* old = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = old ? old : "";
    ::setenv("XDG_CONFIG_HOME", configHome.c_str(), 1);
    RegistryStoreReset();
    for (const auto& [name, data] : values) write_reg_string(kSettingsKey, name, data);
    if (old) ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else ::unsetenv("XDG_CONFIG_HOME");
    RegistryStoreReset();
}

// An xwininfo field ("Width:") of a window's description; -1 when absent.
int Field(const std::string& info, const std::string& name)
{
    const size_t p = info.find(name);
    return p == std::string::npos ? -1 : std::atoi(info.c_str() + p + name.size());
}

class VelmoraSmokeTest : public ::testing::Test {
protected:
    // Empty when the programs are there; else why the test is skipped.
    std::string Tools()
    {
        xclip = xvfb::FindProgram("xclip");
        xwininfo = xvfb::FindProgram("xwininfo");
        xdotool = xvfb::FindProgram("xdotool");
        if (xclip.empty() || xwininfo.empty() || xdotool.empty())
            return "xclip, xdotool or xwininfo missing (scripts/install-deps.sh)";
        return {};
    }
    // Starts the server, seeds the settings, puts the link on the clipboard
    // and starts the program; true once its window shows its caption.
    bool StartWith(const std::string& link, bool autostart)
    {
        server = std::make_unique<TTestWebServer>(TTestWebServerOptions{
            .Tls = false, .Proxy = true, .ProxyAuth = "", .ProxyLocalHosts = {UTF8Encode(kDefaultOwnSiteHost)}});
        EXPECT_TRUE(server->Started()) << server->Error();
        if (!server->Started()) return false;
        config = temp.File("config");
        save = temp.File("save");
        std::filesystem::create_directories(config);
        std::filesystem::create_directories(save);
        std::filesystem::create_directories(temp.File("Documents"));
        temp.Write("config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"" + temp.File("Documents") + "\"\n");
        std::vector<std::pair<String, String>> values = {{L"format", L"0"},
                                                         {L"path", UTF8ToString(save)},
                                                         {L"proxy", L"1"},
                                                         {L"server", L"127.0.0.1"},
                                                         {L"port", std::to_wstring(server->ProxyPort())}};
        if (autostart) values.push_back({L"auto", L"1"});
        SeedSettings(config, values);

        display = "DISPLAY=" + x.Display;
        temp.Write("link.txt", link);
        clip.Pid = xvfb::Spawn({xclip, "-quiet", "-selection", "clipboard", "-i", temp.File("link.txt")}, {},
                               {display});
        EXPECT_GT(clip.Pid, 0);
        // The selection is owned once xclip answers for it.
        bool owned = false;
        while (!owned && xvfb::Clock::now() < deadline) {
            owned = Capture({xclip, "-o", "-selection", "clipboard"}, {display}) == link;
            if (!owned) std::this_thread::sleep_for(50ms);
        }
        EXPECT_TRUE(owned) << "the clipboard does not hold the link";
        if (!owned) return false;

        const std::string exe = std::string(VEL_BINARY_DIR) + "/app/velmora_d";
        app.Pid = xvfb::Spawn({exe}, {}, {display, "XDG_CONFIG_HOME=" + config, "HOME=" + temp.Path()});
        EXPECT_GT(app.Pid, 0);
        bool captioned = false;
        const auto captionDeadline = xvfb::Clock::now() + 30s;
        while (!captioned && xvfb::Clock::now() < captionDeadline) {
            captioned = Capture({xwininfo, "-root", "-tree"}, {display}).find(kCaption) != std::string::npos;
            if (!captioned) std::this_thread::sleep_for(100ms);
        }
        EXPECT_TRUE(captioned) << Capture({xwininfo, "-root", "-tree"}, {display});
        if (!captioned) return false;
        const std::string info = Capture({xwininfo, "-name", "Velmora Video Downloader  2.4.0.0"}, {display});
        const int left = Field(info, "Absolute upper-left X:"), top = Field(info, "Absolute upper-left Y:");
        const int width = Field(info, "Width:"), height = Field(info, "Height:");
        EXPECT_TRUE(left >= 0 && top >= 0 && width >= 613 && height >= 557) << info;
        const int border = (width - 613) / 2;
        clientLeft = left + border;
        clientTop = top + height - 557 - border;
        return left >= 0;
    }
    void ClickAdd()
    {
        // The middle of Add, then the pointer out of the window's way.
        Capture({xdotool, "mousemove", std::to_string(clientLeft + 495), std::to_string(clientTop + 27), "click",
                 "1"},
                {display});
        Capture({xdotool, "mousemove", "0", "0"}, {display});
    }
    // Reads the screen until the checks hold at the window (x0, y0) or the
    // deadline passes; the picture read last stays in shot.
    bool WaitForScreen(int x0, int y0, const std::vector<std::pair<TPoint, uint32_t>>& checks)
    {
        bool all = false;
        while (!all && xvfb::Clock::now() < deadline) {
            if (shot.Load(x.ScreenFile())) {
                all = true;
                for (const auto& [p, rgb] : checks) all &= shot.At(x0 + p.X, y0 + p.Y) == rgb;
            }
            if (!all) std::this_thread::sleep_for(100ms);
        }
        std::this_thread::sleep_for(300ms);  // the last paint settles
        shot.Load(x.ScreenFile());
        return all;
    }
    appshots::TPixels Crop(int x0, int y0, int w, int h) const
    {
        appshots::TPixels p;
        p.Width = shot.Width;
        p.Height = shot.Height;
        p.Px = shot.Px;
        return p.Crop(x0, y0, w, h);
    }

    static constexpr const char* kCaption = "\"Velmora Video Downloader  2.4.0.0\"";
    const xvfb::Clock::time_point deadline = xvfb::Clock::now() + 60s;
    std::string xclip, xwininfo, xdotool, display, config, save;
    xvfb::TXvfb x;
    std::unique_ptr<TTestWebServer> server;
    TTempFolder temp;
    xvfb::TChild clip, app;
    xvfb::TScreenShot shot;
    int clientLeft = 0, clientTop = 0;
};

constexpr uint32_t kPanel = 0xE79797;  // R231 G151 B151

TEST_F(VelmoraSmokeTest, ClipboardLinkIsFetchedThroughTheProxyAndSaved)
{
    if (std::string why = Tools(); !why.empty()) GTEST_SKIP() << why;
    const std::string err = x.Start(deadline);
    if (err == "Xvfb is not installed") GTEST_SKIP() << err;
    ASSERT_TRUE(err.empty()) << err;
    const std::string link = "http://" + UTF8Encode(kDefaultOwnSiteHost) + "/video/7?title=Harbour+Lights";
    ASSERT_TRUE(StartWith(link, true));

    // The window as it opens, against its reference. The folder edit shows
    // the test's temporary folder, so its text is left out of the comparison.
    Capture({xdotool, "mousemove", "0", "0"}, {display});
    ASSERT_TRUE(WaitForScreen(clientLeft, clientTop, {{{400, 60}, kPanel}, {{580, 5}, kPanel}}))
        << "the panels' colour";
    appshots::TPixels main = Crop(clientLeft, clientTop, 613, 557);
    for (int y = 132; y < 152; ++y)
        for (int x0 = 122; x0 < 505; ++x0) main.Px[size_t(y) * 613 + size_t(x0)] = 0xFFFFFF;
    const auto c = appshots::CompareWithReference("main_window", main, 24);
    ASSERT_TRUE(c.Found) << c.Reference;
    EXPECT_LE(c.Share, 0.02) << c.Fresh;
    EXPECT_EQ(main.At(400, 60), kPanel) << "the panel colour";
    EXPECT_EQ(main.At(12, 240), kPanel) << "a row button's face (Start, at rest)";
    EXPECT_EQ(main.At(550, 242), kPanel) << "a side button's face (Home)";
    EXPECT_GT(main.Count(Rgb(210, 50, 40), 548, 240, 55, 55), 20) << "the Home glyph's red roof";

    // The link came from the clipboard when the window was activated; the
    // user presses Add (a real pointer click at the button's place).
    ClickAdd();
    const std::string file = save + "/Harbour Lights.flv";
    while (!std::filesystem::exists(file) && xvfb::Clock::now() < deadline) {
        ASSERT_NE(waitpid(app.Pid, nullptr, WNOHANG), app.Pid) << "velmora_d ended early";
        std::this_thread::sleep_for(100ms);
    }
    ASSERT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(std::filesystem::file_size(file), 100000u);
}

TEST_F(VelmoraSmokeTest, WaitWindowShowsWhileThePageIsFetched)
{
    if (std::string why = Tools(); !why.empty()) GTEST_SKIP() << why;
    const std::string err = x.Start(deadline);
    if (err == "Xvfb is not installed") GTEST_SKIP() << err;
    ASSERT_TRUE(err.empty()) << err;
    // A page that never answers: the wait window stays up.
    ASSERT_TRUE(StartWith("http://" + UTF8Encode(kDefaultOwnSiteHost) + "/hang?video=1", false));
    ClickAdd();

    std::string info;
    size_t at = std::string::npos;
    while (at == std::string::npos && xvfb::Clock::now() < deadline) {
        info = Capture({xwininfo, "-root", "-tree"}, {display});
        at = info.find("325x79+");
        if (at == std::string::npos) std::this_thread::sleep_for(100ms);
    }
    ASSERT_NE(at, std::string::npos) << info;
    const size_t id = info.rfind("0x", at);
    const std::string wait = Capture({xwininfo, "-id", info.substr(id, info.find(' ', id) - id)}, {display});
    const int left = Field(wait, "Absolute upper-left X:"), top = Field(wait, "Absolute upper-left Y:");
    ASSERT_TRUE(left >= 0 && top >= 0) << wait;
    ASSERT_TRUE(WaitForScreen(left, top, {{{3, 75}, kPanel}})) << "the wait window in the panel colour";
    const appshots::TPixels shown = Crop(left, top, 325, 79);
    const auto c = appshots::CompareWithReference("wait_window", shown, 24);
    ASSERT_TRUE(c.Found) << c.Reference;
    EXPECT_LE(c.Share, 0.02) << c.Fresh;
    EXPECT_EQ(shown.At(3, 75), kPanel);
    EXPECT_GT(shown.CountIf(appshots::BlueCore, 0, 22, 325, 32), 100) << "the sentence in blue";
    EXPECT_EQ(shown.CountIf(appshots::NavyCore, 0, 22, 325, 32), 0) << "not in the control's navy";
}

}  // namespace
