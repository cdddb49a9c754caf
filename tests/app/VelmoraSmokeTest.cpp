// The whole application on a virtual X server: the real velmora_d with its
// settings in a private configuration folder (autostart on, the save folder,
// the proxy of the local server, which plays the own site's host), a link on
// the clipboard when it starts. The link is taken at activation; a pointer
// click on Add fetches and lists it, autostart starts it, and it is saved
// under its title. The window's caption comes from the executable's version
// block.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "app/Settings.h"
#include "app/SiteConstants.h"
#include "platform/base/Registry.h"
#include "tests/app/TempFolder.h"
#include "tests/platform/ui/XvfbSupport.h"
#include "tools/webserver/TestServer.h"

namespace {

using namespace std::chrono_literals;

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

TEST(VelmoraSmokeTest, ClipboardLinkIsFetchedThroughTheProxyAndSaved)
{
    const auto deadline = xvfb::Clock::now() + 20s;
    const std::string exe = std::string(VEL_BINARY_DIR) + "/app/velmora_d";
    ASSERT_EQ(access(exe.c_str(), X_OK), 0) << exe;
    const std::string xclip = xvfb::FindProgram("xclip");
    const std::string xwininfo = xvfb::FindProgram("xwininfo");
    const std::string xdotool = xvfb::FindProgram("xdotool");
    if (xclip.empty() || xwininfo.empty() || xdotool.empty())
        GTEST_SKIP() << "xclip, xdotool or xwininfo missing (scripts/install-deps.sh)";

    xvfb::TXvfb x;
    const std::string err = x.Start(deadline);
    if (err == "Xvfb is not installed") GTEST_SKIP() << err;
    ASSERT_TRUE(err.empty()) << err;

    TTestWebServer server(
        {.Tls = false, .Proxy = true, .ProxyAuth = "", .ProxyLocalHosts = {UTF8Encode(kDefaultOwnSiteHost)}});
    ASSERT_TRUE(server.Started()) << server.Error();

    TTempFolder temp;
    const std::string config = temp.File("config");
    const std::string save = temp.File("save");
    std::filesystem::create_directories(config);
    std::filesystem::create_directories(save);
    std::filesystem::create_directories(temp.File("Documents"));
    temp.Write("config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"" + temp.File("Documents") + "\"\n");
    SeedSettings(config, {{L"auto", L"1"},
                          {L"format", L"0"},
                          {L"path", UTF8ToString(save)},
                          {L"proxy", L"1"},
                          {L"server", L"127.0.0.1"},
                          {L"port", std::to_wstring(server.ProxyPort())}});

    const std::string display = "DISPLAY=" + x.Display;
    const std::string link = "http://" + UTF8Encode(kDefaultOwnSiteHost) + "/video/7?title=Harbour+Lights";
    temp.Write("link.txt", link);
    xvfb::TChild clip;
    clip.Pid = xvfb::Spawn({xclip, "-quiet", "-selection", "clipboard", "-i", temp.File("link.txt")}, {},
                           {display});
    ASSERT_GT(clip.Pid, 0);
    // The selection is owned once xclip answers for it.
    bool owned = false;
    while (!owned && xvfb::Clock::now() < deadline) {
        owned = Capture({xclip, "-o", "-selection", "clipboard"}, {display}) == link;
        if (!owned) std::this_thread::sleep_for(50ms);
    }
    ASSERT_TRUE(owned) << "the clipboard does not hold the link";

    xvfb::TChild app;
    app.Pid = xvfb::Spawn({exe}, {}, {display, "XDG_CONFIG_HOME=" + config, "HOME=" + temp.Path()});
    ASSERT_GT(app.Pid, 0);

    const std::string caption = "\"Velmora Video Downloader  2.4.0.0\"";
    bool captioned = false;
    const auto captionDeadline = xvfb::Clock::now() + 30s;
    while (!captioned && xvfb::Clock::now() < captionDeadline) {
        captioned = Capture({xwininfo, "-root", "-tree"}, {display}).find(caption) != std::string::npos;
        if (!captioned) std::this_thread::sleep_for(100ms);
    }
    ASSERT_TRUE(captioned) << Capture({xwininfo, "-root", "-tree"}, {display});

    // The link came from the clipboard when the window was activated; the
    // user presses Add (a real pointer click at the button's place).
    const std::string info =
        Capture({xwininfo, "-name", "Velmora Video Downloader  2.4.0.0"}, {display});
    auto field = [&](const std::string& name) {
        const size_t p = info.find(name);
        return p == std::string::npos ? -1 : std::atoi(info.c_str() + p + name.size());
    };
    const int left = field("Absolute upper-left X:"), top = field("Absolute upper-left Y:");
    const int width = field("Width:"), height = field("Height:");
    ASSERT_TRUE(left >= 0 && top >= 0 && width >= 613 && height >= 557) << info;
    const int border = (width - 613) / 2;
    const int clientTop = top + height - 557 - border;
    const int addX = left + border + 495, addY = clientTop + 27;  // the middle of Add
    Capture({xdotool, "mousemove", std::to_string(addX), std::to_string(addY), "click", "1"}, {display});

    const std::string file = save + "/Harbour Lights.flv";
    const auto fileDeadline = xvfb::Clock::now() + 60s;
    while (!std::filesystem::exists(file) && xvfb::Clock::now() < fileDeadline) {
        ASSERT_NE(waitpid(app.Pid, nullptr, WNOHANG), app.Pid) << "velmora_d ended early";
        std::this_thread::sleep_for(100ms);
    }
    ASSERT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(std::filesystem::file_size(file), 100000u);
}

}  // namespace
