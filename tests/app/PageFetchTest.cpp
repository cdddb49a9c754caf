// The own-site page fetch against the local server.
#include <gtest/gtest.h>

#include "AppServer.h"
#include "app/MainWindow.h"
#include "app/PageFetch.h"

namespace {

class Fetch : public testing::Test {
protected:
    TOwnSiteServer site;

    void SetUp() override { ASSERT_TRUE(site.Started()) << site.Server().Error(); }

    std::shared_ptr<TFetchContext> FetchAndWait(const String& link)
    {
        return FetchAndWait(link, site.Settings());
    }
    std::shared_ptr<TFetchContext> FetchAndWait(const String& link, const THttpSettings& settings)
    {
        // Shared, so that a fetch that outlives a failed wait writes no freed stack.
        auto done = std::make_shared<bool>(false);
        auto ctx = StartVelmoraFetch(link, settings, [done] { *done = true; });
        EXPECT_TRUE(PumpUntil([&] { return *done; }));
        EXPECT_TRUE(ctx->Done());
        return ctx;
    }
};

TEST_F(Fetch, RoadOfOneOwnSiteLink)
{
    const std::string port = std::to_string(site.Server().HttpPort());
    const String link = site.Url("/video/7/clip?title=Rock%20%26amp%3B%20Roll:%20Live&time=12:34"
                                 "&views=99&needcookie=1&media=length&size=5000");
    auto ctx = FetchAndWait(L"  " + link + L" ");
    const TFetchResult r = ctx->Result();
    EXPECT_EQ(r.title, L"Rock & Roll: Live");
    EXPECT_EQ(r.Length, L"12:34");
    EXPECT_EQ(r.views, L"99");
    EXPECT_EQ(r.url, site.Url("/media/length/5000/7.flv"));
    EXPECT_EQ(r.url_hq, site.Url("/media/length/5000/7_hq.flv"));
    EXPECT_EQ(r.size, 5000);
    EXPECT_EQ(r.size_hq, 5000);

    // Index page first, its cookie on the page request, the fixed user agent
    // everywhere, no referer; then the two HEAD requests.
    const std::vector<std::string> log = site.Log();
    ASSERT_EQ(log.size(), 4u);
    const std::string ua = "|ua=Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1)|referer=-";
    EXPECT_EQ(log[0], "GET /index.php|cookie=-" + ua);
    EXPECT_EQ(log[1].rfind("GET /video/7/clip?", 0), 0u) << log[1];
    EXPECT_NE(log[1].find("|cookie=velmora_session="), std::string::npos) << log[1];
    EXPECT_NE(log[1].find(ua), std::string::npos);
    EXPECT_EQ(log[2].rfind("HEAD /media/length/5000/7.flv|", 0), 0u) << log[2];
    EXPECT_EQ(log[3].rfind("HEAD /media/length/5000/7_hq.flv|", 0), 0u) << log[3];

    // Listing it: cleaned title, ready, the chosen format and folder.
    TItemList list;
    const TItemKey key = list.add_item(site_velmora, TrimText(link));
    ASSERT_TRUE(ListFetchedEntry(list, key, *ctx, 2, L"/tmp/videos"));
    TItem item;
    ASSERT_TRUE(list.GetByKey(key, item));
    EXPECT_EQ(item.title, L"Rock & Roll Live");
    EXPECT_EQ(item.filename, L"Rock & Roll Live");
    EXPECT_EQ(item.status, status_ready);
    EXPECT_EQ(item.format, 2);
    EXPECT_EQ(item.saveto, L"/tmp/videos");
    EXPECT_EQ(item.size, 5000);
    EXPECT_EQ(FmtFileSize(item.size), L"5 Kb");
}

TEST_F(Fetch, MediaAnswersDecideTheSizes)
{
    const struct {
        const char* query;
        Int64 size;
        bool https;
    } cases[] = {
        {"media=nolength&size=3000", -1, false},  // shown as "chunked"
        {"media=chunked&size=3000", -1, false},
        {"media=missing", 0, false},               // failed HEAD: 0
        {"media=length&size=777&relative=1", 777, true},  // "//" address over TLS
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.query);
        auto ctx = FetchAndWait(site.Url(std::string("/video/3?") + c.query));
        const TFetchResult r = ctx->Result();
        EXPECT_EQ(r.title, L"Harbour Lights");
        EXPECT_EQ(r.size, c.size);
        EXPECT_EQ(r.url.rfind(c.https ? L"https://127.0.0.1:" : L"http://127.0.0.1:", 0), 0u)
            << UTF8Encode(r.url);
    }
}

TEST_F(Fetch, PagesThatGiveNoEntry)
{
    const struct {
        const char* path;
        bool title;
    } cases[] = {
        {"/video/3?sources=0", true},               // no media address
        {"/status/404", false},                     // the page request failed
        {"/video/3?title=%22%3A%3F", true},          // nothing left after cleaning
        {"/video/3?title=%20", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        auto ctx = FetchAndWait(site.Url(c.path));
        EXPECT_EQ(!ctx->Result().title.empty(), c.title);
        TItemList list;
        list.add_item(site_vimeo, L"http://vimeo.com/1");
        const TItemKey key = list.add_item(site_velmora, site.Url(c.path));
        EXPECT_FALSE(ListFetchedEntry(list, key, *ctx, 0, L"/tmp"));
        EXPECT_EQ(list.Count(), 1);
        EXPECT_EQ(list.IndexOfKey(key), -1);
    }
}

// Pages that are too large, too slow or never come: the fetch ends with a
// reason by the time the wait window promises, and reads no more than the
// page cap.
TEST_F(Fetch, HostilePagesEndTheFetchWithAReason)
{
    const struct {
        const char* path;
        int pageMs;
        int stallMs;
        const wchar_t* error;  // "" any non-empty reason
        int maxMs;
    } cases[] = {
        {"/body/40000000", 180000, 60000, L"The page is larger than 32 MiB.", 15000},  // announced
        {"/nolength/40000000", 180000, 60000, L"The page is larger than 32 MiB.", 15000},  // counted
        {"/slow/100000?block=1&delay=300", 2000, 60000, L"The page did not arrive within 2 seconds.", 4000},
        {"/hang", 180000, 700, L"", 3000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        THttpSettings settings = site.Settings();
        settings.pageFetchTimeoutMs = c.pageMs;
        settings.stallTimeoutMs = c.stallMs;
        settings.connectTimeoutMs = 1000;
        const auto t0 = std::chrono::steady_clock::now();
        auto ctx = FetchAndWait(site.Url(c.path), settings);
        EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(c.maxMs));
        const TFetchResult r = ctx->Result();
        EXPECT_EQ(r.title, L"");
        EXPECT_EQ(r.url, L"");
        if (*c.error)
            EXPECT_EQ(r.error, c.error);
        else
            EXPECT_FALSE(r.error.empty());
    }
    // A page that is read has no reason.
    EXPECT_EQ(FetchAndWait(site.Url("/video/3"))->Result().error, L"");
}

TEST_F(Fetch, StopAbortsAHangingFetchAndItsResultIsNeverUsed)
{
    bool done = false;
    auto ctx = StartVelmoraFetch(site.Url("/hang"), site.Settings(), [&done] { done = true; });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const auto t0 = std::chrono::steady_clock::now();
    ctx->Stop();
    ASSERT_TRUE(PumpUntil([&] { return done; }, 5000));
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(3));
    EXPECT_TRUE(ctx->Stopped());
    EXPECT_EQ(ctx->Result().title, L"");

    TItemList list;
    const TItemKey key = list.add_item(site_velmora, site.Url("/hang"));
    EXPECT_FALSE(ListFetchedEntry(list, key, *ctx, 0, L"/tmp"));
    EXPECT_EQ(list.Count(), 0);

    // A fetch stopped after it found everything drops its result too.
    auto late = FetchAndWait(site.Url("/video/3"));
    late->Stop();
    EXPECT_EQ(late->Result().url, L"");
}

}  // namespace
