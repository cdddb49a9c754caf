// Helpers of the desktop tests: child processes that are always stopped,
// a virtual X server of the test's own, and its screen as pixels.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace xvfb {

using Clock = std::chrono::steady_clock;

inline std::string FindProgram(const char* name)
{
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    dirs += ":/usr/bin";
    std::stringstream ss(dirs);
    std::string dir;
    while (std::getline(ss, dir, ':')) {
        if (dir.empty()) continue;
        std::string p = dir + "/" + name;
        if (access(p.c_str(), X_OK) == 0) return p;
    }
    return {};
}

// A child process that is always stopped and reaped, whatever the test does.
struct TChild {
    pid_t Pid = -1;
    ~TChild() { Stop(); }
    void Stop()
    {
        if (Pid <= 0) return;
        kill(Pid, SIGTERM);
        for (int i = 0; i < 100; ++i) {
            if (waitpid(Pid, nullptr, WNOHANG) == Pid) {
                Pid = -1;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        kill(Pid, SIGKILL);
        waitpid(Pid, nullptr, 0);
        Pid = -1;
    }
};

struct TFd {
    int Fd = -1;
    ~TFd() { Close(); }
    void Close()
    {
        if (Fd >= 0) close(Fd);
        Fd = -1;
    }
};

struct TTempDir {
    std::string Path;
    TTempDir()
    {
        char tmpl[] = "/tmp/vel_sdlsmoke_XXXXXX";
        if (mkdtemp(tmpl)) Path = tmpl;
    }
    ~TTempDir()
    {
        std::error_code ec;
        if (!Path.empty()) std::filesystem::remove_all(Path, ec);
    }
};

// Reads a line from fd within the time left; false on end, error or time-out.
inline bool ReadLine(int fd, std::string& line, Clock::time_point deadline)
{
    line.clear();
    for (;;) {
        int left = int(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
        if (left <= 0) return false;
        pollfd p{fd, POLLIN, 0};
        int r = poll(&p, 1, left);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) return false;
        char c;
        ssize_t n = read(fd, &c, 1);
        if (n <= 0) return false;
        if (c == '\n') return true;
        line += c;
    }
}

// The screen of the virtual server as its frame-buffer file shows it
// (a dump header, a colour table, then the pixels).
struct TScreenShot {
    int Width = 0, Height = 0;
    std::vector<uint32_t> Px;  // 0xRRGGBB

    bool Load(const std::string& file)
    {
        std::ifstream in(file, std::ios::binary);
        std::vector<unsigned char> d((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (d.size() < 100) return false;
        auto be = [&](size_t i) {
            return uint32_t(d[i * 4]) << 24 | uint32_t(d[i * 4 + 1]) << 16 | uint32_t(d[i * 4 + 2]) << 8 | d[i * 4 + 3];
        };
        auto le = [&](size_t i) {
            return uint32_t(d[i * 4 + 3]) << 24 | uint32_t(d[i * 4 + 2]) << 16 | uint32_t(d[i * 4 + 1]) << 8 | d[i * 4];
        };
        bool big = be(1) == 7;
        if (!big && le(1) != 7) return false;
        auto F = [&](size_t i) { return big ? be(i) : le(i); };
        uint32_t headerSize = F(0), width = F(4), height = F(5), byteOrder = F(7), bpp = F(11), bpl = F(12),
                 ncolors = F(19);
        if (bpp != 32 || width == 0 || height == 0 || width > 10000 || height > 10000) return false;
        size_t off = size_t(headerSize) + size_t(ncolors) * 12;
        if (bpl < width * 4 || off + size_t(bpl) * height > d.size()) return false;
        Width = int(width);
        Height = int(height);
        Px.resize(size_t(width) * height);
        for (uint32_t y = 0; y < height; ++y)
            for (uint32_t x = 0; x < width; ++x) {
                const unsigned char* p = &d[off + size_t(y) * bpl + size_t(x) * 4];
                uint32_t v = byteOrder == 0 ? (uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0])
                                            : (uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]);
                Px[size_t(y) * width + x] = v & 0xFFFFFF;
            }
        return true;
    }
    uint32_t At(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= Width || y >= Height) return 0xFFFFFFFF;
        return Px[size_t(y) * size_t(Width) + size_t(x)];
    }
};

inline pid_t Spawn(const std::vector<std::string>& args, const std::vector<std::pair<int, int>>& dups,
            const std::vector<std::string>& extraEnv)
{
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    int devnull = open("/dev/null", O_RDWR | O_CLOEXEC);
    bool outSet = false, errSet = false;
    for (auto [from, to] : dups) {
        posix_spawn_file_actions_adddup2(&fa, from, to);
        outSet |= to == 1;
        errSet |= to == 2;
    }
    if (!outSet) posix_spawn_file_actions_adddup2(&fa, devnull, 1);
    if (!errSet) posix_spawn_file_actions_adddup2(&fa, devnull, 2);
    posix_spawn_file_actions_adddup2(&fa, devnull, 0);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<std::string> envStore;
    for (char** e = environ; *e; ++e) {
        std::string s = *e;
        bool replaced = false;
        for (auto& x : extraEnv)
            replaced |= s.compare(0, x.find('=') + 1, x, 0, x.find('=') + 1) == 0;
        if (!replaced) envStore.push_back(s);
    }
    for (auto& x : extraEnv) envStore.push_back(x);
    std::vector<char*> envp;
    for (auto& s : envStore) envp.push_back(const_cast<char*>(s.c_str()));
    envp.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, args[0].c_str(), &fa, nullptr, argv.data(), envp.data()) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&fa);
    if (devnull >= 0) close(devnull);
    return pid;
}


// A virtual X server on a display number it picks itself, with its screen
// mapped to a file; stopped and cleaned up on destruction.
struct TXvfb {
    TTempDir Dir;
    TChild Server;
    std::string Display;  // ":N" once started

    // Empty when it started; else why not.
    std::string Start(Clock::time_point deadline)
    {
        std::string xvfb = FindProgram("Xvfb");
        if (xvfb.empty()) return "Xvfb is not installed";
        if (Dir.Path.empty()) return "no temporary folder";
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) return "no pipe";
        TFd rd{fds[0]}, wr{fds[1]};
        // The server reports the display it took once it takes clients.
        Server.Pid = Spawn({xvfb, "-displayfd", "3", "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-br",
                            "-fbdir", Dir.Path},
                           {{wr.Fd, 3}}, {});
        if (Server.Pid <= 0) return "Xvfb could not be started";
        wr.Close();
        std::string n;
        if (!ReadLine(rd.Fd, n, deadline) || n.empty()) return "the virtual X server did not start";
        Display = ":" + n;
        return {};
    }
    std::string ScreenFile() const { return Dir.Path + "/Xvfb_screen0"; }
};

}  // namespace xvfb
