// Download threads against the local server, with the converter stand-in.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <filesystem>
#include <map>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#include "AppServer.h"
#include "TempFolder.h"
#include "app/DownloadJob.h"
#include "app/MainWindow.h"
#include "platform/base/SysUtils.h"

namespace {

// Records what the threads ask the window to show.
class TRecordingView : public IDownloadView {
public:
    void SetRowTexts(TItemKey key, const String& sizeText, const String& progressText) override
    {
        EXPECT_EQ(GetCurrentThreadId(), MainThreadID) << "rows change on the main thread only";
        if (!sizeText.empty())
            sizes[key].push_back(sizeText);
        if (!progressText.empty())
            progress[key].push_back(progressText);
    }
    void EnableButtons() override { ++enables; }
    void ShowConverterMissing() override
    {
        EXPECT_EQ(GetCurrentThreadId(), MainThreadID);
        ++boxes;
    }

    std::map<TItemKey, std::vector<String>> sizes, progress;
    int enables = 0;
    int boxes = 0;
};

class Downloads : public testing::Test {
protected:
    TOwnSiteServer site;
    TTempFolder save;
    TItemList list;
    std::shared_ptr<TRecordingView> view = std::make_shared<TRecordingView>();
    TDownloadSettings settings;

    void SetUp() override
    {
        ASSERT_TRUE(site.Started()) << site.Server().Error();
        settings.http = site.Settings();
        settings.appFolder = UTF8ToString(std::string(VEL_BINARY_DIR) + "/app");
        settings.settleMs = 0;
        settings.rowUpdateMs = 0;
    }

    void TearDown() override
    {
        // Every thread ends and is freed before the fixture goes.
        EXPECT_TRUE(PumpUntil([] { return RunningDownloadThreads() == 0; }, 15000));
    }

    TItemKey Listed(const std::string& mediaPath, Int64 size, Integer format,
                    const String& title = L"Clip")
    {
        const TItemKey key = list.add_item(site_velmora, L"http://own/video/1");
        list.Update(key, [&](TItem& it) {
            it.url = site.Url(mediaPath);
            it.size = size;
            it.title = title;
            it.filename = title;
            it.format = format;
            it.saveto = save.Name();
            it.status = status_ready;
        });
        return key;
    }

    TItem Entry(TItemKey key)
    {
        TItem item;
        EXPECT_TRUE(list.GetByKey(key, item));
        return item;
    }

    // Waits until the entry leaves the downloading state and its thread has
    // handed over its last row change.
    bool WaitEnded(TItemKey key, int enablesBefore = 0)
    {
        return PumpUntil([&] { return Entry(key).status != status_downloading && view->enables > enablesBefore; });
    }

    std::vector<String> Progress(TItemKey key) { return view->progress[key]; }
};

TEST_F(Downloads, KnownLengthFinishesUnderTheTitle)
{
    const TItemKey key = Listed("/media/length/300000/1.flv?marker=hello", 300000, 0);
    ASSERT_TRUE(StartDownload(list, key, view, settings));
    EXPECT_EQ(Entry(key).status, status_downloading);
    EXPECT_FALSE(StartDownload(list, key, view, settings)) << "already running";
    ASSERT_TRUE(WaitEnded(key));

    const TItem item = Entry(key);
    EXPECT_EQ(item.status, status_finished);
    EXPECT_EQ(item.filename, L"Clip.flv");
    EXPECT_EQ(save.List(), std::vector<std::string>{"Clip.flv"});
    const std::string body = save.Read("Clip.flv");
    EXPECT_EQ(body.size(), 300000u);
    EXPECT_EQ(body.substr(0, 5), "hello");

    const std::vector<String> p = Progress(key);
    ASSERT_GE(p.size(), 3u);
    EXPECT_EQ(p.back(), L"100%");
    EXPECT_EQ(p[p.size() - 2], L"0%");  // download done, before the naming
    EXPECT_EQ(p[p.size() - 3], L"100%");  // the transfer itself
    EXPECT_TRUE(view->sizes[key].empty()) << "the Size column stays";
}

TEST_F(Downloads, UnknownLengthCountsAndShowsTheBytes)
{
    const TItemKey key = Listed("/media/nolength/200000/1.flv", -1, 0);
    ASSERT_TRUE(StartDownload(list, key, view, settings));
    ASSERT_TRUE(WaitEnded(key));
    EXPECT_EQ(Entry(key).status, status_finished);
    const std::vector<String> p = Progress(key);
    ASSERT_GE(p.size(), 3u);
    EXPECT_EQ(p[0], L"1%");
    EXPECT_EQ(p[1], L"2%");
    const std::vector<String> s = view->sizes[key];
    ASSERT_FALSE(s.empty());
    EXPECT_EQ(s.back(), L"195 Kb");
}

TEST_F(Downloads, ConvertsWithTheStandIn)
{
    const TItemKey key = Listed("/media/length/50000/1.flv", 50000, 1);
    ASSERT_TRUE(StartDownload(list, key, view, settings));
    ASSERT_TRUE(WaitEnded(key));
    const TItem item = Entry(key);
    EXPECT_EQ(item.status, status_finished);
    EXPECT_EQ(item.filename, L"Clip.avi");
    EXPECT_EQ(save.List(), (std::vector<std::string>{"Clip.avi", "Clip.flv"}));
    EXPECT_EQ(save.Read("Clip.avi"), save.Read("Clip.flv"));
    const std::vector<String> p = Progress(key);
    EXPECT_NE(std::find(p.begin(), p.end(), L"40%"), p.end()) << "the converter's percentage";
    EXPECT_EQ(p.back(), L"100%");
}

// A listening socket whose queue is full: a connection to it is never
// accepted, so connecting hangs until the client gives up.
class TFullListener {
public:
    TFullListener()
    {
        FListen = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        if (FListen < 0 || ::bind(FListen, reinterpret_cast<sockaddr*>(&a), len) != 0 ||
            ::listen(FListen, 0) != 0 || ::getsockname(FListen, reinterpret_cast<sockaddr*>(&a), &len) != 0)
            return;
        FPort = ntohs(a.sin_port);
        for (int i = 0; i < 3; ++i) {
            const int c = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
            ::connect(c, reinterpret_cast<sockaddr*>(&a), sizeof a);
            FFillers.push_back(c);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ~TFullListener()
    {
        for (int c : FFillers)
            ::close(c);
        if (FListen >= 0)
            ::close(FListen);
    }
    int Port() const { return FPort; }

private:
    int FListen = -1;
    int FPort = 0;
    std::vector<int> FFillers;
};

// What a hostile or failing server, a vanished folder, a failing converter
// and Stop leave behind: never "finished" without the file, never a partial
// file of ours, always a reason (or the final figures) in the row.
TEST_F(Downloads, HostileServerTable)
{
    TFullListener full;
    ASSERT_NE(full.Port(), 0);
    enum TAction { acNone, acStop, acRemoveFolder };
    const struct {
        const char* name;
        std::string path;  // on the test server; "full:" for the listener that never accepts
        Integer format;
        TAction action;
        Integer status;
        const wchar_t* note;      // the row's last Progress text ("": the final figure)
        const char* finalFile;    // the one file left in the folder ("" none)
        int maxSeconds;
    } cases[] = {
        {"HTTP error", "/media/missing/1000/1.flv", 0, acNone, status_ready, L"HTTP 404", "", 10},
        {"reset midway", "/media/reset/100000/1.flv", 0, acNone, status_ready, L"failed", "", 10},
        {"stalled transfer", "/media/stall/100000/1.flv", 0, acNone, status_ready, L"stalled", "", 5},
        {"connect time-out", "full:", 0, acNone, status_ready, L"no connection", "", 5},
        {"failed converter", "/media/length/1000/1.flv?marker=KESTRIX_FAIL", 3, acNone, status_finished,
         L"convert failed", "Clip.flv", 10},
        {"save folder vanishes", "/media/slow/300000/1.flv?block=8192&delay=20", 0, acRemoveFolder,
         status_ready, L"folder missing", "", 10},
        {"stop", "/media/slow/1000000/1.flv?block=4096&delay=20", 0, acStop, status_ready, L"", "", 10},
    };
    settings.http.stallTimeoutMs = 700;
    settings.http.connectTimeoutMs = 700;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TTempFolder dir;
        const TItemKey key = Listed("/", 1000000, c.format);
        const String url = c.path == "full:"
                               ? UTF8ToString("http://127.0.0.1:" + std::to_string(full.Port()) + "/a.flv")
                               : site.Url(c.path);
        list.Update(key, [&](TItem& it) {
            it.saveto = dir.Name();
            it.url = url;
        });
        const int before = view->enables;
        const auto t0 = std::chrono::steady_clock::now();
        ASSERT_TRUE(StartDownload(list, key, view, settings));
        if (c.action != acNone) {
            ASSERT_TRUE(PumpUntil([&] { return Progress(key).size() >= 2; }));
            if (c.action == acStop)
                StopDownload(list, key);
            else
                std::filesystem::remove_all(dir.Path());
        }
        ASSERT_TRUE(PumpUntil([&] { return RunningDownloadThreads() == 0 && view->enables > before; }));
        EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(c.maxSeconds));
        const TItem item = Entry(key);
        EXPECT_EQ(item.status, c.status);
        const std::vector<String> p = Progress(key);
        ASSERT_FALSE(p.empty());
        if (*c.note) {
            EXPECT_EQ(p.back(), c.note);
        } else {
            // Stopped: the row keeps the final figure of what arrived.
            EXPECT_NE(p.back(), L"0%");
            EXPECT_EQ(p.back().back(), L'%');
        }
        EXPECT_EQ(item.filename, *c.finalFile ? UTF8ToString(c.finalFile) : String(L"Clip"));
        if (std::filesystem::exists(dir.Path())) {
            const std::vector<std::string> left = dir.List();
            if (*c.finalFile) {
                EXPECT_EQ(left, std::vector<std::string>{c.finalFile});
                EXPECT_EQ(dir.Read(c.finalFile).size(), 1000u);
            } else {
                EXPECT_TRUE(left.empty()) << "our partial file is removed";
            }
        }
    }
}

TEST_F(Downloads, PartialFileRemovalTouchesNoOtherFile)
{
    // A file that took our temporary name's place is not ours: it stays.
    const TItemKey key = Listed("/media/slow/1000000/1.flv?block=4096&delay=20", 1000000, 0);
    ASSERT_TRUE(StartDownload(list, key, view, settings));
    ASSERT_TRUE(PumpUntil([&] { return Progress(key).size() >= 2; }));
    const std::string temp = UTF8Encode(Entry(key).filenamet);
    ASSERT_FALSE(temp.empty());
    ASSERT_EQ(::unlink(save.File(temp).c_str()), 0);
    save.Write(temp, "someone else's file");
    save.Write("other.flv", "untouched");
    StopDownload(list, key);
    ASSERT_TRUE(PumpUntil([&] { return RunningDownloadThreads() == 0 && view->enables > 0; }));
    EXPECT_EQ(save.Read(temp), "someone else's file");
    EXPECT_EQ(save.Read("other.flv"), "untouched");
}

TEST_F(Downloads, FinalFiguresShowEvenWhenTheThrottleDropsThem)
{
    settings.rowUpdateMs = 600000;  // only the first update of a transfer passes
    const TItemKey chunked = Listed("/media/nolength/3000000/1.flv", -1, 0, L"Chunked");
    ASSERT_TRUE(StartDownload(list, chunked, view, settings));
    ASSERT_TRUE(WaitEnded(chunked));
    ASSERT_FALSE(view->sizes[chunked].empty());
    EXPECT_EQ(view->sizes[chunked].back(), FmtFileSize(3000000));
    EXPECT_EQ(Progress(chunked).back(), L"100%");

    // Stopped late in a transfer: the row shows how far it came, not the
    // first figure the throttle let through.
    const TItemKey slow = Listed("/media/slow/600000/2.flv?block=8192&delay=10", 600000, 0, L"Slow");
    const int before = view->enables;
    ASSERT_TRUE(StartDownload(list, slow, view, settings));
    ASSERT_TRUE(PumpUntil([&] { return !Progress(slow).empty(); }));
    PumpUntil([] { return false; }, 400);
    StopDownload(list, slow);
    ASSERT_TRUE(PumpUntil([&] { return RunningDownloadThreads() == 0 && view->enables > before; }));
    const std::vector<String> p = Progress(slow);
    ASSERT_GE(p.size(), 2u);
    EXPECT_GT(StrToIntDef(p.back().substr(0, p.back().size() - 1), 0),
              StrToIntDef(p.front().substr(0, p.front().size() - 1), 0));
}

TEST_F(Downloads, FileSizeLimitFailsTheWriteInsteadOfKillingTheProcess)
{
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit low = old;
    low.rlim_cur = 100000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &low), 0);
    const TItemKey key = Listed("/media/length/3000000/1.flv", 3000000, 0);
    ASSERT_TRUE(StartDownload(list, key, view, settings));
    const bool ended = WaitEnded(key);
    ::setrlimit(RLIMIT_FSIZE, &old);
    ASSERT_TRUE(ended);
    EXPECT_EQ(Entry(key).status, status_ready);
    EXPECT_EQ(Progress(key).back(), L"cannot write");
    EXPECT_TRUE(save.List().empty());
}

TEST_F(Downloads, StopDuringTransferRemovesThePartialFile)
{
    const TItemKey key = Listed("/media/slow/1000000/1.flv?block=4096&delay=20", 1000000, 0);
    ASSERT_TRUE(StartDownload(list, key, view, settings));
    ASSERT_TRUE(PumpUntil([&] { return Progress(key).size() >= 2; }));
    StopDownload(list, key);
    EXPECT_EQ(Entry(key).status, status_ready) << "ready at once";
    ASSERT_TRUE(PumpUntil([&] { return view->enables > 0; }, 5000));
    const TItem item = Entry(key);
    EXPECT_EQ(item.status, status_ready);
    EXPECT_EQ(item.filename, L"Clip");
    EXPECT_TRUE(save.List().empty());

    // Start again: a new temporary name, and the finished file under the title.
    list.Update(key, [&](TItem& it) { it.url = site.Url("/media/length/2000/1.flv"); });
    const int before = view->enables;
    ASSERT_TRUE(StartDownload(list, key, view, settings));
    ASSERT_TRUE(WaitEnded(key, before));
    EXPECT_EQ(Entry(key).filename, L"Clip.flv");
    EXPECT_NE(Entry(key).filenamet, item.filenamet);
    EXPECT_EQ(save.List(), std::vector<std::string>{"Clip.flv"});
}

TEST_F(Downloads, StopDuringConversionRemovesTheOutputAndTheDownload)
{
    const TItemKey key = Listed("/media/length/20000/1.flv?marker=KESTRIX_SLOW", 20000, 2);
    ASSERT_TRUE(StartDownload(list, key, view, settings));
    // The converter reports a few percent, then Stop.
    ASSERT_TRUE(PumpUntil([&] {
        const auto p = Progress(key);
        return std::find(p.begin(), p.end(), L"3%") != p.end();
    }));
    StopDownload(list, key);
    ASSERT_TRUE(PumpUntil([&] { return view->enables > 0; }, 5000));
    const TItem item = Entry(key);
    EXPECT_EQ(item.status, status_ready);
    EXPECT_EQ(item.filename, L"Clip");
    EXPECT_EQ(Progress(key).back(), L"0%");
    EXPECT_TRUE(save.List().empty());
}

TEST_F(Downloads, MissingConverterBoxOnlyForConvertingFormats)
{
    TTempFolder emptyApp;
    settings.appFolder = emptyApp.Name();
    const TItemKey avi = Listed("/media/length/1000/1.flv", 1000, 1, L"First");
    const TItemKey mp4 = Listed("/media/length/1000/2.flv", 1000, 4, L"Second");
    ASSERT_TRUE(StartDownload(list, avi, view, settings));
    ASSERT_TRUE(StartDownload(list, mp4, view, settings));
    ASSERT_TRUE(PumpUntil([&] {
        return Entry(avi).status == status_finished && Entry(mp4).status == status_finished &&
               view->enables >= 2;
    }));
    EXPECT_EQ(view->boxes, 1);
    EXPECT_EQ(Entry(avi).filename, L"First.flv");
    EXPECT_EQ(Entry(mp4).filename, L"Second.flv");
    EXPECT_EQ(Progress(avi).back(), L"not converted");
    EXPECT_EQ(Progress(mp4).back(), L"not converted");
}

TEST_F(Downloads, TwoAtOnceAndARemovedEntry)
{
    const TItemKey a = Listed("/media/slow/200000/1.flv?block=8192&delay=5", 200000, 0, L"Alpha");
    const TItemKey b = Listed("/media/slow/200000/2.flv?block=8192&delay=5", 200000, 0, L"Beta");
    const TItemKey c = Listed("/media/slow/400000/3.flv?block=8192&delay=5", 400000, 0, L"Gamma");
    ASSERT_TRUE(StartDownload(list, a, view, settings));
    ASSERT_TRUE(StartDownload(list, b, view, settings));
    ASSERT_TRUE(StartDownload(list, c, view, settings));

    // The user stops and removes the third while the others run: its thread
    // must leave every other entry and row alone.
    StopDownload(list, c);
    ASSERT_TRUE(list.Remove(c));
    ASSERT_TRUE(PumpUntil([&] {
        return Entry(a).status == status_finished && Entry(b).status == status_finished &&
               view->enables >= 2;
    }));
    EXPECT_NE(Entry(a).filenamet, Entry(b).filenamet);
    EXPECT_EQ(Entry(a).filename, L"Alpha.flv");
    EXPECT_EQ(Entry(b).filename, L"Beta.flv");
    EXPECT_EQ(save.Read("Alpha.flv").size(), 200000u);
    EXPECT_EQ(save.Read("Beta.flv").size(), 200000u);
    EXPECT_EQ(Progress(a).back(), L"100%");
    EXPECT_EQ(Progress(b).back(), L"100%");
    // Give the removed entry's thread time to end; nothing of it shows.
    PumpUntil([] { return false; }, 500);
    EXPECT_TRUE(view->progress[c].empty());
}

}  // namespace
