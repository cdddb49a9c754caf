// The whole download thread (row updates, buffered writes, naming) against
// `curl -o`, both fetching the same body from the same server into files on
// the same disk, in alternating rounds (the order flips every round). Our
// side runs as the user runs it: an entry listed in the main window (on the
// headless desktop, with the library's controls) and started with Start; the
// window carries out the row updates and button states as they come. The
// server is tools/mediaserver (sendfile from the page cache), so that it is
// not what limits either side. Prints each round, the median speed ratio
// (ours / curl's) and the growth of our resident memory during a download.
//
// VEL_BENCH_DOWNLOAD_BYTES (default 2 GiB) sets the body, VEL_BENCH_ROUNDS
// (default 5) the rounds, VEL_BENCH_DIR the folder the files go to (default
// a new folder under /tmp).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "app/DownloadJob.h"
#include "app/MainWindow.h"
#include "controls/chrome/VodToolButton.h"
#include "controls/foundation/LibraryStartup.h"
#include "platform/base/Registry.h"
#include "platform/base/Threads.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/backend/Headless.h"
#include "BenchMediaServer.h"
#include "BenchStats.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// The main window on the headless desktop, its settings in a private store.
struct TWindow {
    std::unique_ptr<THeadlessDriver> Drv = std::make_unique<THeadlessDriver>();
    std::string Config;
    TWindow()
    {
        char tmpl[] = "/tmp/velbench-config-XXXXXX";
        Config = mkdtemp(tmpl) ? tmpl : "/tmp";
        ::setenv("XDG_CONFIG_HOME", Config.c_str(), 1);
        RegistryStoreReset();
        VodLibraryStartup();
        InitForms();
        Application->CreateForm(_mainForm);
        _mainForm->Show();
        Drv->Activate(_mainForm->Handle());
        Drv->Pump();
    }
    ~TWindow()
    {
        DoneForms();
        _mainForm = nullptr;
        VodLibraryShutdown();
        std::error_code ec;
        std::filesystem::remove_all(Config, ec);
    }
};

// Seconds for `curl -s -o`; negative on failure. curl runs at the download
// thread's priority (the lowest, nice 10), so that a busy machine favours
// neither side.
double RunCurl(const std::string& url, const std::string& out, long long size)
{
    const char* argv[] = {"nice", "-n", "10", "curl", "-s", "-f", "-o", out.c_str(), url.c_str(), nullptr};
    const auto t0 = Clock::now();
    pid_t pid;
    if (posix_spawnp(&pid, "nice", nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
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

struct TThreadRound {
    double seconds = -1;
    long rssGrowthKiB = 0;
    long updates = 0;
};

TThreadRound RunThread(TWindow& w, const std::string& url, const std::string& folder, long long size)
{
    TThreadRound r;
    T_mainForm* f = _mainForm;
    f->DownloadBaseSettings.appFolder = UTF8ToString(folder + "/no-converter");  // format 0 needs none
    item_list.Clear();
    f->clear_list();
    const TItemKey key = item_list.add_item(site_velmora, L"http://own/video/1");
    item_list.Update(key, [&](TItem& it) {
        it.url = UTF8ToString(url);
        it.size = size;
        it.title = L"Bench";
        it.filename = L"Bench";
        it.saveto = UTF8ToString(folder);
        it.status = status_ready;
    });
    TItem item;
    item_list.GetByKey(key, item);
    f->add_list_row(item);
    w.Drv->Pump();
    // The row's progress texts the window showed, one per change seen.
    TListItem* row = f->MainListView->Items()->Item(0);
    String shown = row->SubItems()->Strings(1);
    long updates = 0;
    const long rssBefore = RssKiB();
    std::atomic<bool> running{true};
    std::atomic<long> peak{rssBefore};
    std::thread sampler([&] {
        while (running) {
            const long now = RssKiB();
            if (now > peak)
                peak = now;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    const auto t0 = Clock::now();
    f->StartVodToolButtonClick(f->StartVodToolButton);
    // Done when the entry has left the downloading state and the thread's
    // last call (the buttons of the finished entry) has reached the window.
    auto ended = [&] {
        return item_list.GetByKey(key, item) && item.status != status_downloading &&
               (f->PlayVodToolButton->Enabled() || f->StartVodToolButton->Enabled());
    };
    while (!ended()) {
        CheckSynchronize(5);
        w.Drv->Pump();
        if (row->SubItems()->Strings(1) != shown) {
            shown = row->SubItems()->Strings(1);
            ++updates;
        }
    }
    r.seconds = std::chrono::duration<double>(Clock::now() - t0).count();
    running = false;
    sampler.join();
    while (RunningDownloadThreads() > 0) {
        CheckSynchronize(5);
        w.Drv->Pump();
    }
    r.rssGrowthKiB = peak - rssBefore;
    r.updates = updates;
    std::error_code ec;
    const std::string file = folder + "/Bench.flv";
    if (item.status != status_finished || std::filesystem::file_size(file, ec) != static_cast<uintmax_t>(size))
        r.seconds = -1;
    std::filesystem::remove(file, ec);
    return r;
}

// Lets the disk settle after a run: the removed file's pages and anything
// else dirty are written out, so that the next run starts from the same
// quiet state whichever side it is.
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
    const long long size = EnvNumber("VEL_BENCH_DOWNLOAD_BYTES", 2LL << 30);
    const int rounds = static_cast<int>(std::max(1LL, EnvNumber("VEL_BENCH_ROUNDS", 5)));
    std::string folder;
    bool ownFolder = false;
    if (const char* d = getenv("VEL_BENCH_DIR"); d && *d) {
        folder = d;
    } else {
        std::string tmpl = "/tmp/velbench-XXXXXX";
        folder = mkdtemp(tmpl.data());
        ownFolder = true;
    }

    TMediaServer server(size);
    if (server.Port() == 0) {
        fprintf(stderr, "the media server did not start (build the mediaserver target)\n");
        return 1;
    }
    const std::string url = server.Url();
    printf("body %lld bytes from %s into %s, %d rounds\n", size, url.c_str(), folder.c_str(), rounds);
    printf("%-6s %12s %12s %8s %14s %12s\n", "round", "curl MB/s", "ours MB/s", "ratio", "rss growth MiB",
           "row updates");

    TWindow window;
    std::vector<double> ratios, curlSpeeds, ourSpeeds;
    long maxGrowth = 0;
    for (int i = 0; i < rounds; ++i) {
        double curl = -1;
        TThreadRound ours;
        // The order flips every round, so that neither side always comes
        // second (or first) to the page cache and the disk.
        Settle(folder);
        if (i % 2 == 0) {
            curl = RunCurl(url, folder + "/curl.bin", size);
            Settle(folder);
            ours = RunThread(window, url, folder, size);
        } else {
            ours = RunThread(window, url, folder, size);
            Settle(folder);
            curl = RunCurl(url, folder + "/curl.bin", size);
        }
        if (curl <= 0 || ours.seconds <= 0) {
            fprintf(stderr, "round %d failed (curl %.3f s, ours %.3f s)\n", i + 1, curl, ours.seconds);
            return 1;
        }
        const double c = size / curl / 1e6, o = size / ours.seconds / 1e6;
        curlSpeeds.push_back(c);
        ourSpeeds.push_back(o);
        ratios.push_back(curl / ours.seconds);
        maxGrowth = std::max(maxGrowth, ours.rssGrowthKiB);
        printf("%-6d %12.0f %12.0f %8.2f %14.1f %12ld\n", i + 1, c, o, curl / ours.seconds,
               ours.rssGrowthKiB / 1024.0, ours.updates);
        fflush(stdout);
    }
    printf("\nmedian: curl -o %.0f MB/s, download thread %.0f MB/s, ratio %.2fx curl (goal 2x); "
           "largest resident growth during a download %.1f MiB\n",
           Median(curlSpeeds), Median(ourSpeeds), Median(ratios), maxGrowth / 1024.0);
    if (ownFolder) {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }
    return 0;
}
