// A 1 GiB own-site download through the whole download thread (row updates
// included) into a file on this disk, side by side with `curl -o` of the same
// body in the same run. The thread should reach at least 90% of curl's
// throughput, update each row about ten times a second, and keep its memory
// flat.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/_downloadUnit.h"
#include "app/_mainUnit.h"
#include "platform/base/Threads.h"
#include "tools/webserver/TestServer.h"

extern char** environ;

namespace {

constexpr Int64 kSize = Int64(1) << 30;

TTestWebServer& Server()
{
    static TTestWebServer srv([] {
        TTestWebServerOptions o;
        o.Tls = false;
        return o;
    }());
    return srv;
}

std::string TempDir()
{
    static std::string dir = [] {
        std::string tmpl = (std::filesystem::temp_directory_path() / "velbench-XXXXXX").string();
        return std::string(::mkdtemp(tmpl.data()));
    }();
    return dir;
}

std::string MediaPath() { return "/media/length/" + std::to_string(kSize) + "/1.flv"; }

long MaxRssKb()
{
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    return ru.ru_maxrss;
}

class TCountingView : public IDownloadView {
public:
    void SetRowTexts(TItemKey, const String&, const String&) override { ++updates; }
    void EnableButtons() override { ++enables; }
    void ShowConverterMissing() override {}
    long updates = 0;
    int enables = 0;
};

void BM_CurlDownload(benchmark::State& state)
{
    const std::string url = UTF8Encode(Server().Url(MediaPath()));
    const std::string out = TempDir() + "/curl.bin";
    for (auto _ : state) {
        const char* argv[] = {"curl", "-s", "-o", out.c_str(), url.c_str(), nullptr};
        pid_t pid;
        if (posix_spawnp(&pid, "curl", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) {
            state.SkipWithError("curl cannot be started");
            return;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (std::filesystem::file_size(out) != static_cast<uintmax_t>(kSize))
            state.SkipWithError("curl fetched a wrong size");
        std::filesystem::remove(out);
    }
    state.SetBytesProcessed(state.iterations() * kSize);
}

void BM_DownloadThread(benchmark::State& state)
{
    const std::string folder = TempDir() + "/thread";
    std::filesystem::create_directories(folder);
    TDownloadSettings settings;
    settings.appFolder = UTF8ToString(folder);  // no converter: format 0 needs none
    const long rssBefore = MaxRssKb();
    long updates = 0;
    double seconds = 0;
    for (auto _ : state) {
        TItemList list;
        auto view = std::make_shared<TCountingView>();
        const TItemKey key = list.add_item(site_velmora, L"http://own/video/1");
        list.Update(key, [&](TItem& it) {
            it.url = Server().Url(MediaPath());
            it.size = kSize;
            it.title = L"Bench";
            it.filename = L"Bench";
            it.saveto = UTF8ToString(folder);
            it.status = status_ready;
        });
        const auto t0 = std::chrono::steady_clock::now();
        StartDownload(list, key, view, settings);
        TItem item;
        while (!(list.GetByKey(key, item) && item.status != status_downloading && view->enables > 0))
            CheckSynchronize(20);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        updates += view->updates;
        if (item.status != status_finished)
            state.SkipWithError("the download did not finish");
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    state.SetBytesProcessed(state.iterations() * kSize);
    state.counters["row_updates_per_s"] = seconds > 0 ? updates / seconds : 0;
    state.counters["max_rss_growth_kb"] = static_cast<double>(MaxRssKb() - rssBefore);
}

BENCHMARK(BM_CurlDownload)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DownloadThread)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (!Server().Started()) {
        std::fprintf(stderr, "test server: %s\n", Server().Error().c_str());
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(TempDir());
    return 0;
}
