// Start-up of the downloader on a virtual X server beside a bare SDL2 window
// (sdl_bare_window): the time from starting the program to the first pixels
// it shows on the screen, then, after two idle seconds, its resident memory,
// threads and the CPU time it used. Rounds interleave the programs; the
// medians and the ratios are printed. The bare window is measured twice:
// shown from a memory surface as the downloader does, and with SDL's
// default (an accelerated framebuffer when one can be had).
#include <sys/mman.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "tests/platform/ui/XvfbSupport.h"
#include "BenchStats.h"

namespace {

using namespace std::chrono_literals;

// The virtual server's frame buffer, mapped: the dump header, a colour
// table, then 32-bit pixels.
struct TFrameBuffer {
    const unsigned char* Base = nullptr;
    size_t Size = 0;
    size_t Offset = 0, Stride = 0;
    uint32_t Width = 0, Height = 0;

    bool Open(const std::string& file)
    {
        int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return false;
        struct stat st{};
        fstat(fd, &st);
        Size = size_t(st.st_size);
        void* p = mmap(nullptr, Size, PROT_READ, MAP_SHARED, fd, 0);
        ::close(fd);
        if (p == MAP_FAILED) return false;
        Base = static_cast<const unsigned char*>(p);
        uint32_t version;
        std::memcpy(&version, Base + 4, 4);
        bool swap = version != 7;  // the header is in the server's byte order
        auto field = [&](size_t i) {
            uint32_t v;
            std::memcpy(&v, Base + i * 4, 4);
            return swap ? __builtin_bswap32(v) : v;
        };
        if (field(1) != 7) return false;
        Width = field(4);
        Height = field(5);
        Stride = field(12);
        Offset = size_t(field(0)) + size_t(field(19)) * 12;
        return field(11) == 32 && Offset + Stride * Height <= Size;
    }
    ~TFrameBuffer()
    {
        if (Base) munmap(const_cast<unsigned char*>(Base), Size);
    }
    // Anything but the black background shown?
    bool Painted() const
    {
        for (uint32_t y = 0; y < Height; ++y) {
            const uint32_t* row = reinterpret_cast<const uint32_t*>(Base + Offset + y * Stride);
            for (uint32_t x = 0; x < Width; ++x)
                if (row[x] & 0xFFFFFF) return true;
        }
        return false;
    }
};

struct TSample {
    double StartMs = -1;  // to the first pixels
    double RssMb = 0;
    double CpuMs = 0;
    int Threads = 0;
};

std::string StatusField(pid_t pid, const char* name)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(in, line))
        if (line.compare(0, std::strlen(name), name) == 0) return line.substr(std::strlen(name));
    return {};
}

double CpuMs(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string s((std::istreambuf_iterator<char>(in)), {});
    size_t p = s.rfind(')');
    if (p == std::string::npos) return 0;
    std::istringstream rest(s.substr(p + 2));
    std::string f;
    unsigned long long ut = 0, st = 0;
    for (int i = 3; i <= 15 && rest >> f; ++i) {
        if (i == 14) ut = std::stoull(f);
        if (i == 15) st = std::stoull(f);
    }
    return double(ut + st) * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

TSample Measure(const TFrameBuffer& fb, const std::vector<std::string>& args, const std::vector<std::string>& env)
{
    TSample s;
    // The screen is empty again before a program starts.
    for (auto until = xvfb::Clock::now() + 5s; fb.Painted() && xvfb::Clock::now() < until;)
        std::this_thread::sleep_for(5ms);
    xvfb::TChild app;
    auto t0 = xvfb::Clock::now();
    app.Pid = xvfb::Spawn(args, {}, env);
    if (app.Pid <= 0) return s;
    for (auto until = t0 + 30s; xvfb::Clock::now() < until;) {
        if (fb.Painted()) {
            s.StartMs = std::chrono::duration<double, std::milli>(xvfb::Clock::now() - t0).count();
            break;
        }
        if (waitpid(app.Pid, nullptr, WNOHANG) == app.Pid) {
            app.Pid = -1;
            return s;
        }
        std::this_thread::sleep_for(500us);
    }
    std::this_thread::sleep_for(2s);
    s.RssMb = std::atof(StatusField(app.Pid, "VmRSS:").c_str()) / 1024.0;
    s.Threads = std::atoi(StatusField(app.Pid, "Threads:").c_str());
    s.CpuMs = CpuMs(app.Pid);
    return s;
}

}  // namespace

int main(int argc, char** argv)
{
    int rounds = 7;
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--rounds=", 9) == 0) rounds = std::max(1, std::atoi(argv[i] + 9));
    xvfb::TXvfb x;
    std::string err = x.Start(xvfb::Clock::now() + 20s);
    if (!err.empty()) {
        std::fprintf(stderr, "%s\n", err.c_str());
        return 1;
    }
    TFrameBuffer fb;
    if (!fb.Open(x.ScreenFile())) {
        std::fprintf(stderr, "the virtual screen cannot be read\n");
        return 1;
    }
    xvfb::TTempDir home;
    std::filesystem::create_directories(home.Path + "/config");
    const std::string display = "DISPLAY=" + x.Display;
    const std::string bin = VEL_BINARY_DIR;
    struct TProgram {
        const char* Name;
        std::vector<std::string> Args;
        std::vector<TSample> Samples;
    } programs[] = {
        {"bare SDL2 window", {bin + "/bench/sdl_bare_window"}, {}},
        {"bare SDL2, default", {bin + "/bench/sdl_bare_window", "--accelerated"}, {}},
        {"velmora_d", {bin + "/app/velmora_d"}, {}},
    };
    const std::vector<std::string> env = {display, "XDG_CONFIG_HOME=" + home.Path + "/config", "HOME=" + home.Path};
    for (int r = 0; r < rounds; ++r)
        for (auto& p : programs) p.Samples.push_back(Measure(fb, p.Args, env));

    std::printf("%-20s %14s %10s %8s %12s\n", "program", "first pixels", "idle RSS", "threads", "CPU to idle");
    double start[3], rss[3];
    for (int i = 0; i < 3; ++i) {
        std::vector<double> a, b, c, t;
        for (auto& s : programs[i].Samples) {
            if (s.StartMs < 0) continue;
            a.push_back(s.StartMs);
            b.push_back(s.RssMb);
            c.push_back(s.CpuMs);
            t.push_back(s.Threads);
        }
        start[i] = Median(a);
        rss[i] = Median(b);
        std::printf("%-20s %11.1f ms %7.1f MB %8.0f %9.0f ms  (%zu of %d rounds showed pixels)\n", programs[i].Name,
                    start[i], rss[i], Median(t), Median(c), a.size(), rounds);
    }
    std::printf("start to first pixels, velmora_d / bare SDL2 window: %.2fx (goal <= 1.50x)\n", start[2] / start[0]);
    std::printf("idle resident memory, velmora_d / bare SDL2 window: %.2fx (goal <= 3.00x)\n", rss[2] / rss[0]);
    return 0;
}
