// Download threads against the local server, with the converter stand-in.
#include <gtest/gtest.h>

#include <map>

#include "AppServer.h"
#include "TempFolder.h"
#include "app/_downloadUnit.h"
#include "app/_mainUnit.h"

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
        settings.appFolder = UTF8ToString(VEL_BINARY_DIR "/app");
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

TEST_F(Downloads, FailuresAreNeverShownAsFinished)
{
    const struct {
        const char* path;
        Integer format;
        const wchar_t* note;
        bool tempFileLeft;
    } cases[] = {
        {"/media/missing/1000/1.flv", 0, L"HTTP 404", true},
        {"/media/reset/100000/1.flv", 0, L"failed", true},
        {"/media/length/1000/1.flv?marker=KESTRIX_FAIL", 3, L"convert failed", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        TTempFolder dir;
        const TItemKey key = Listed(c.path, 1000, c.format);
        list.Update(key, [&](TItem& it) { it.saveto = dir.Name(); });
        const int before = view->enables;
        ASSERT_TRUE(StartDownload(list, key, view, settings));
        ASSERT_TRUE(WaitEnded(key, before));
        const TItem item = Entry(key);
        EXPECT_EQ(item.status, status_ready);
        EXPECT_EQ(item.filename, L"Clip");
        EXPECT_EQ(Progress(key).back(), c.note);
        EXPECT_EQ(dir.List(), std::vector<std::string>{UTF8Encode(item.filenamet)});
    }

    // A folder that is gone: nothing is requested.
    const TItemKey key = Listed("/media/length/1000/2.flv", 1000, 0);
    list.Update(key, [&](TItem& it) { it.saveto = save.Name() + L"/gone"; });
    const int before = view->enables;
    ASSERT_TRUE(StartDownload(list, key, view, settings));
    ASSERT_TRUE(WaitEnded(key, before));
    EXPECT_EQ(Entry(key).status, status_ready);
    EXPECT_EQ(Progress(key).back(), L"cannot write");
}

TEST_F(Downloads, StopDuringTransferKeepsThePartialFile)
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
    EXPECT_EQ(Progress(key).back(), L"0%");
    ASSERT_EQ(save.List(), std::vector<std::string>{UTF8Encode(item.filenamet)});
    EXPECT_LT(save.Read(UTF8Encode(item.filenamet)).size(), 1000000u);

    // Start again: a new temporary name, and the finished file under the title.
    list.Update(key, [&](TItem& it) { it.url = site.Url("/media/length/2000/1.flv"); });
    const int before = view->enables;
    ASSERT_TRUE(StartDownload(list, key, view, settings));
    ASSERT_TRUE(WaitEnded(key, before));
    EXPECT_EQ(Entry(key).filename, L"Clip.flv");
    EXPECT_NE(Entry(key).filenamet, item.filenamet);
    EXPECT_EQ(save.List().size(), 2u);
}

TEST_F(Downloads, StopDuringConversionRemovesTheOutput)
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
    EXPECT_EQ(save.List(), std::vector<std::string>{UTF8Encode(item.filenamet)});
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
