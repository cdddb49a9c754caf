// Download throughput of the HTTP client (TIdHTTP::Get into a file stream)
// against `curl -o`, both fetching the same body from tools/mediaserver into
// files on the same disk, in alternating rounds (the order flips every
// round). Prints each round and the median speed ratio (ours / curl's), and
// the growth of our resident memory during a download. VEL_BENCH_HTTP_BYTES
// (default 1 GiB) sets the body, VEL_BENCH_ROUNDS (default 5) the rounds.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "BenchMediaServer.h"
#include "platform/base/Streams.h"
#include "platform/os/Http.h"
#include "BenchStats.h"

namespace {

using Clock = std::chrono::steady_clock;

double RunCurl(const std::string& url, const std::string& out, long long size)
{
    const char* argv[] = {"curl", "-s", "-f", "-o", out.c_str(), url.c_str(), nullptr};
    const auto t0 = Clock::now();
    pid_t pid;
    if (posix_spawnp(&pid, "curl", nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
        return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    const double s = std::chrono::duration<double>(Clock::now() - t0).count();
    std::error_code ec;
    const bool ok = WIFEXITED(status) && WEXITSTATUS(status) == 0 &&
                    std::filesystem::file_size(out, ec) == static_cast<uintmax_t>(size);
    std::filesystem::remove(out, ec);
    return ok ? s : -1;
}

double RunOurs(const std::string& url, const std::string& out, long long size, long& growthKiB)
{
    const long base = RssKiB();
    long peak = base;
    Int64 nextSample = 0;
    TIdHTTP http;
    http.OnWork = [&](TObject*, TWorkMode, Int64 count) {
        if (count >= nextSample) {
            peak = std::max(peak, RssKiB());
            nextSample = count + (32 << 20);
        }
    };
    const auto t0 = Clock::now();
    try {
        TFileStream file(UTF8ToString(out), fmCreate);
        http.Get(UTF8ToString(url), file);
    } catch (const Exception&) {
        return -1;
    }
    const double s = std::chrono::duration<double>(Clock::now() - t0).count();
    growthKiB = peak - base;
    std::error_code ec;
    const bool ok = std::filesystem::file_size(out, ec) == static_cast<uintmax_t>(size);
    std::filesystem::remove(out, ec);
    return ok ? s : -1;
}

void Settle(const std::string& folder)
{
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        syncfs(fd);
        close(fd);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
}

}  // namespace

int main()
{
    const long long size = EnvNumber("VEL_BENCH_HTTP_BYTES", 1LL << 30);
    const int rounds = static_cast<int>(std::max(1LL, EnvNumber("VEL_BENCH_ROUNDS", 5)));
    std::string tmpl = "/tmp/velbench-http-XXXXXX";
    const std::string folder = mkdtemp(tmpl.data());
    TMediaServer server(size);
    if (server.Port() == 0) {
        fprintf(stderr, "the media server did not start (build the mediaserver target)\n");
        return 1;
    }
    printf("body %lld bytes from %s, %d rounds\n", size, server.Url().c_str(), rounds);
    printf("%-6s %12s %12s %8s %14s\n", "round", "curl MB/s", "ours MB/s", "ratio", "rss growth MiB");
    std::vector<double> ratios, curlSpeeds, ourSpeeds;
    long maxGrowth = 0;
    for (int i = 0; i < rounds; ++i) {
        double curl = -1, ours = -1;
        long growth = 0;
        Settle(folder);
        // The order flips every round.
        if (i % 2 == 0) {
            curl = RunCurl(server.Url(), folder + "/curl.bin", size);
            Settle(folder);
            ours = RunOurs(server.Url(), folder + "/ours.bin", size, growth);
        } else {
            ours = RunOurs(server.Url(), folder + "/ours.bin", size, growth);
            Settle(folder);
            curl = RunCurl(server.Url(), folder + "/curl.bin", size);
        }
        if (curl <= 0 || ours <= 0) {
            fprintf(stderr, "round %d failed\n", i + 1);
            return 1;
        }
        curlSpeeds.push_back(size / curl / 1e6);
        ourSpeeds.push_back(size / ours / 1e6);
        ratios.push_back(curl / ours);
        maxGrowth = std::max(maxGrowth, growth);
        printf("%-6d %12.0f %12.0f %8.2f %14.1f\n", i + 1, size / curl / 1e6, size / ours / 1e6, curl / ours,
               growth / 1024.0);
        fflush(stdout);
    }
    printf("\nmedian: curl -o %.0f MB/s, TIdHTTP %.0f MB/s, ratio %.2fx curl; largest resident growth %.1f MiB\n",
           Median(curlSpeeds), Median(ourSpeeds), Median(ratios), maxGrowth / 1024.0);
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    return 0;
}
