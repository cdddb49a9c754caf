// Download throughput of the HTTP client against `curl -o`, both fetching the
// same body from the local test server into a file in the same run. The body
// is 1 GiB unless VEL_BENCH_HTTP_BYTES says otherwise. The resident memory
// is sampled during the download: it must not grow with the body.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "platform/base/Streams.h"
#include "platform/os/Http.h"
#include "platform/os/Process.h"
#include "tools/webserver/TestServer.h"

namespace {

uint64_t BodyBytes()
{
    const char* v = getenv("VEL_BENCH_HTTP_BYTES");
    return v ? strtoull(v, nullptr, 10) : (uint64_t(1) << 30);
}

TTestWebServer& Server()
{
    TTestWebServerOptions options;
    options.Tls = false;
    static TTestWebServer server(options);
    return server;
}

std::string BodyPath() { return "/body/" + std::to_string(BodyBytes()) + "?block=262144"; }

// Resident set size in KiB.
long RssKiB()
{
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("VmRSS:", 0) == 0) return atol(line.c_str() + 6);
    return 0;
}

double gOursMBps = 0, gCurlMBps = 0;

void BM_IdHttpGetToFile(benchmark::State& state)
{
    if (!Server().Started()) {
        state.SkipWithError(Server().Error().c_str());
        return;
    }
    std::string file = Server().Dir() + "/ours.bin";
    long rssGrowth = 0;
    for (auto _ : state) {
        TIdHTTP http;
        long base = RssKiB();
        Int64 nextSample = 0;
        http.OnWork = [&](TObject*, TWorkMode, Int64 count) {
            if (count >= nextSample) {
                rssGrowth = std::max(rssGrowth, RssKiB() - base);
                nextSample = count + (64 << 20);
            }
        };
        TFileStream out(UTF8ToString(file), fmCreate);
        http.Get(Server().Url(BodyPath()), out);
    }
    std::filesystem::remove(file);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(BodyBytes()));
    state.counters["rss_growth_MiB"] = double(rssGrowth) / 1024.0;
    state.counters["MB/s"] = benchmark::Counter(double(BodyBytes()) * 1e-6 * double(state.iterations()),
                                                benchmark::Counter::kIsRate);
}

void BM_CurlToFile(benchmark::State& state)
{
    if (!Server().Started()) {
        state.SkipWithError(Server().Error().c_str());
        return;
    }
    std::string file = Server().Dir() + "/curl.bin";
    String line = BuildCommandLine({L"curl", L"-s", L"-f", L"-o", UTF8ToString(file), Server().Url(BodyPath())});
    for (auto _ : state) {
        STARTUPINFO si;
        PROCESS_INFORMATION pi;
        if (!CreateProcess(nullptr, line.c_str(), nullptr, nullptr, 0, 0, nullptr, nullptr, &si, &pi)) {
            state.SkipWithError("cannot start curl");
            return;
        }
        WaitForSingleObject(pi.hProcess, INFINITE);
        DWORD code = 1;
        GetExitCodeProcess(pi.hProcess, &code);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
        if (code != 0) {
            state.SkipWithError("curl failed");
            return;
        }
    }
    std::filesystem::remove(file);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(BodyBytes()));
    state.counters["MB/s"] = benchmark::Counter(double(BodyBytes()) * 1e-6 * double(state.iterations()),
                                                benchmark::Counter::kIsRate);
}

// Alternate the two so that neither profits from a warmer cache.
BENCHMARK(BM_CurlToFile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_IdHttpGetToFile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

class TSideBySide : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& r : runs) {
            auto it = r.counters.find("MB/s");
            if (it == r.counters.end()) continue;
            double v = it->second.value;
            if (r.benchmark_name().find("Curl") != std::string::npos) gCurlMBps = v;
            if (r.benchmark_name().find("IdHttp") != std::string::npos) gOursMBps = v;
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    TSideBySide reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    if (gCurlMBps > 0 && gOursMBps > 0)
        printf("\nHTTP download of %llu bytes to a file: TIdHTTP %.0f MB/s, curl -o %.0f MB/s (%.0f%% of curl)\n",
               static_cast<unsigned long long>(BodyBytes()), gOursMBps, gCurlMBps, 100.0 * gOursMBps / gCurlMBps);
    benchmark::Shutdown();
    return 0;
}
