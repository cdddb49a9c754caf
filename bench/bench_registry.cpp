// Costs of the settings store and of handing work to the main thread.
//
// First a table: reading a number from an unchanged store (kept in memory,
// re-read only when the file changes) beside a std::map lookup of the same
// value, in alternating rounds, with the medians and their ratio. Then the
// benchmark library's runs of the rest.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "platform/base/Registry.h"
#include "platform/base/SysUtils.h"
#include "platform/base/Threads.h"
#include "BenchStats.h"

namespace {

const wchar_t* const kKey = L"\\SOFTWARE\\Corvanti\\Velmora Video Downloader";

// A fresh store in a temporary configuration folder, with a few settings.
struct TScratchStore {
    std::string Dir;
    TScratchStore()
    {
        char tmpl[] = "/tmp/vel_bench_reg_XXXXXX";
        Dir = ::mkdtemp(tmpl) ? tmpl : "/tmp";
        ::setenv("XDG_CONFIG_HOME", Dir.c_str(), 1);
        RegistryStoreReset();
        TRegIniFile ini(L"");
        for (const wchar_t* name : {L"language", L"format", L"download", L"auto", L"proxy"})
            ini.WriteInteger(kKey, name, 1);
        ini.WriteString(kKey, L"path", L"/home/user/Videos");
    }
    ~TScratchStore()
    {
        RegistryStoreReset();
        ::system(("rm -rf '" + Dir + "'").c_str());
    }
};

void BM_RegIniReadInteger(benchmark::State& state)
{
    TScratchStore store;
    TRegIniFile ini(L"");
    for (auto _ : state) benchmark::DoNotOptimize(ini.ReadInteger(kKey, L"format", -1));
}
BENCHMARK(BM_RegIniReadInteger);

// Every write is a locked read-modify-write with a flushed, renamed file.
void BM_RegIniWriteChanged(benchmark::State& state)
{
    TScratchStore store;
    TRegIniFile ini(L"");
    int i = 0;
    for (auto _ : state) ini.WriteInteger(kKey, L"format", ++i);
}
BENCHMARK(BM_RegIniWriteChanged);

// Writing the value a key already holds touches no file.
void BM_RegIniWriteUnchanged(benchmark::State& state)
{
    TScratchStore store;
    TRegIniFile ini(L"");
    for (auto _ : state) ini.WriteInteger(kKey, L"format", 1);
}
BENCHMARK(BM_RegIniWriteUnchanged);

// A worker's Synchronize until the main thread has run it.
void BM_SynchronizeRoundTrip(benchmark::State& state)
{
    std::atomic<bool> stop{false}, finished{false};
    std::atomic<long> done{0};
    std::thread worker([&] {
        while (!stop.load()) {
            TThread::Synchronize(nullptr, [&] { ++done; });
        }
        finished = true;
    });
    for (auto _ : state) {
        long before = done.load();
        while (done.load() == before) CheckSynchronize(1);
    }
    stop = true;
    while (!finished.load()) CheckSynchronize(1);   // let its last call through
    worker.join();
}
BENCHMARK(BM_SynchronizeRoundTrip);

using Clock = std::chrono::steady_clock;

// Times ours and the peer in alternating rounds, each call doing `ops`
// operations; prints ns per operation and the ratio against the goal.
void Pair(const char* name, const char* peerName, size_t ops, double goal, const std::function<void()>& ours,
          const std::function<void()>& peer)
{
    const auto [ma, mb] = TimeSideBySide(ops, ours, peer);
    const double ratio = ma / mb;
    std::printf("%-36s %8.1f ns   %-20s %6.1f ns   ratio %6.2f  (goal %.0fx: %s)\n", name, ma, peerName, mb, ratio,
                goal, ratio <= goal ? "met" : "missed");
}

void RatioTable()
{
    TScratchStore store;
    // The peer: the same settings in a map, looked up by the same name.
    std::map<String, Integer> peer;
    for (const wchar_t* name : {L"language", L"format", L"download", L"auto", L"proxy"}) peer[name] = 1;
    peer[L"path"] = 0;
    peer[L"count"] = 1;
    const String name = L"count";
    constexpr size_t kOps = 20000;
    Integer sink = 0;
    auto mapLookup = [&] {
        for (size_t i = 0; i < kOps; ++i) {
            auto it = peer.find(name);
            benchmark::DoNotOptimize(sink += it->second);
        }
    };

    TRegistry reg;
    reg.OpenKey(kKey, false);
    reg.WriteInteger(name, 1);   // a REG_DWORD, as TRegistry reads numbers
    Pair("TRegistry::ReadInteger (open key)", "std::map::find", kOps, 20,
         [&] {
             for (size_t i = 0; i < kOps; ++i) benchmark::DoNotOptimize(sink += reg.ReadInteger(name));
         },
         mapLookup);
    TRegIniFile ini(L"");
    Pair("TRegIniFile::ReadInteger (key path)", "std::map::find", kOps, 20,
         [&] {
             for (size_t i = 0; i < kOps; ++i) benchmark::DoNotOptimize(sink += ini.ReadInteger(kKey, name, -1));
         },
         mapLookup);
}

}   // namespace

int main(int argc, char** argv)
{
    RatioTable();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
