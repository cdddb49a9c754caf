// Costs of the settings store and of handing work to the main thread.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <atomic>
#include <string>

#include "platform/base/Registry.h"
#include "platform/base/SysUtils.h"
#include "platform/base/Threads.h"

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

}   // namespace

BENCHMARK_MAIN();
