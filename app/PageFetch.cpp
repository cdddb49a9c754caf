#include "app/PageFetch.h"

#include "app/SiteConstants.h"
#include "app/MainWindow.h"
#include "platform/base/Exceptions.h"
#include "platform/base/SysUtils.h"
#include "platform/os/Http.h"

#include <chrono>

const wchar_t* const kVelmoraTimeMarker = L"Video Time:</span><span style=\"color:#EAEAEA;\">";
const wchar_t* const kVelmoraSourceMarker = L"<source src=\"";

namespace {

// 1-based positions as the extraction rules count them: 0 is "not found",
// and a search starting at 0 or below finds nothing.
size_t PosFrom(const String& what, const String& s, long long from)
{
    if (from < 1 || static_cast<size_t>(from) > s.size())
        return 0;
    size_t p = s.find(what, static_cast<size_t>(from - 1));
    return p == String::npos ? 0 : p + 1;
}

// Copy with a 1-based start (below 1 counts as 1); a negative or zero count
// gives nothing.
String CopyText(const String& s, long long index, long long count)
{
    if (index < 1)
        index = 1;
    if (count <= 0 || static_cast<size_t>(index) > s.size())
        return String();
    return s.substr(static_cast<size_t>(index - 1), static_cast<size_t>(count));
}

// "3 minutes", "1 minute", "90 seconds".
String DurationText(int ms)
{
    if (ms >= 60000 && ms % 60000 == 0)
        return IntToStr(ms / 60000) + (ms == 60000 ? L" minute" : L" minutes");
    const int s = (ms + 999) / 1000;
    return IntToStr(s) + (s == 1 ? L" second" : L" seconds");
}

}  // namespace

TVelmoraPageInfo ExtractVelmoraPageInfo(const String& page)
{
    TVelmoraPageInfo info;

    const long long t = static_cast<long long>(PosFrom(L"<title>", page, 1));
    const long long dash = static_cast<long long>(PosFrom(L"-", page, t));
    info.title = _decode_name(TrimText(CopyText(page, t + 7, dash - (t + 7))));

    const String timeMarker = kVelmoraTimeMarker;
    const long long m = static_cast<long long>(PosFrom(timeMarker, page, 1)) +
                        static_cast<long long>(timeMarker.size());
    const long long mEnd = static_cast<long long>(PosFrom(L"</", page, m));
    info.Length = TrimText(CopyText(page, m, mEnd - m));

    const long long ago = static_cast<long long>(PosFrom(L" ago</span>", page, 1));
    const long long span = static_cast<long long>(PosFrom(L"<span", page, ago));
    const long long gt = static_cast<long long>(PosFrom(L">", page, span));
    const long long vEnd = static_cast<long long>(PosFrom(L"</", page, gt + 1));
    info.views = TrimText(CopyText(page, gt + 1, vEnd - (gt + 1)));
    return info;
}

TVelmoraSources ExtractVelmoraSources(const String& page)
{
    TVelmoraSources src;
    const String marker = kVelmoraSourceMarker;
    const long long len = static_cast<long long>(marker.size());

    const long long s1 = static_cast<long long>(PosFrom(marker, page, 1));
    if (s1 == 0)
        return src;
    const long long q1 = static_cast<long long>(PosFrom(L"\"", page, s1 + len));
    src.url = TrimText(CopyText(page, s1 + len, q1 - (s1 + len)));
    if (src.url.compare(0, 2, L"//") == 0)
        src.url = L"https:" + src.url;

    const long long s2 = static_cast<long long>(PosFrom(marker, page, q1));
    if (s2 == 0)
        return src;
    const long long q2 = static_cast<long long>(PosFrom(L"\"", page, s2 + len));
    src.url_hq = TrimText(CopyText(page, s2 + len, q2 - (s2 + len)));
    return src;
}

// ---------------------------------------------------------------------------
// The page fetch

bool TFetchContext::Done() const
{
    std::lock_guard<std::mutex> g(FLock);
    return FDone;
}

bool TFetchContext::Stopped() const
{
    std::lock_guard<std::mutex> g(FLock);
    return FStopped;
}

TFetchResult TFetchContext::Result() const
{
    std::lock_guard<std::mutex> g(FLock);
    return FStopped ? TFetchResult() : FResult;
}

void TFetchContext::Stop()
{
    std::lock_guard<std::mutex> g(FLock);
    FStopped = true;
    if (FClient)
        FClient->Disconnect();
}

bool TFetchContext::WaitDone(int timeoutMs) const
{
    std::unique_lock<std::mutex> g(FLock);
    return FCv.wait_for(g, std::chrono::milliseconds(timeoutMs), [this] { return FDone; });
}

void TFetchContext::SetClient(TIdHTTP* client)
{
    std::lock_guard<std::mutex> g(FLock);
    FClient = client;
    if (FClient && FStopped)
        FClient->Disconnect();
}

void TFetchContext::Finish(const TFetchResult& result)
{
    {
        std::lock_guard<std::mutex> g(FLock);
        FClient = nullptr;
        if (!FStopped)
            FResult = result;
        FDone = true;
    }
    FCv.notify_all();
}

TVelmoraGrabThread::TVelmoraGrabThread(std::shared_ptr<TFetchContext> context, const String& link,
                                       const THttpSettings& settings)
    : TThread(true), FContext(std::move(context)), FLink(link), FSettings(settings)
{
}

TVelmoraGrabThread::~TVelmoraGrabThread() = default;

void TVelmoraGrabThread::TerminatedSet()
{
    FContext->Stop();
}

void TVelmoraGrabThread::Execute()
{
    TFetchResult r;
    const String link = TrimText(FLink);
    auto stopped = [this] { return Terminated() || FContext->Stopped(); };

    TIdHTTP http;
    TIdSSLIOHandlerSocketOpenSSL tls;
    ConfigureHttpClient(http, tls, FSettings);
    IdHTTP = &http;
    FContext->SetClient(&http);

    // Every request gets what is left of the fetch's time, so the fetch ends
    // by the time the wait window promises, however slowly a page arrives.
    using Clock = std::chrono::steady_clock;
    const int budgetMs = FSettings.pageFetchTimeoutMs > 0 ? FSettings.pageFetchTimeoutMs : 180000;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(budgetMs);
    auto timeLeft = [&] {
        return static_cast<long long>(
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
    };
    const String lateText = L"The page did not arrive within " + DurationText(budgetMs) + L".";
    auto limitRequest = [&] {
        const long long left = timeLeft();
        if (left <= 0)
            throw EIdReadTimeout(lateText);
        http.SetTotalTimeout(static_cast<Integer>(left));
    };

    // The index page hands out the session cookie the video page needs; the
    // text of the last request that worked is what the addresses come from.
    // A Stop that comes before a request starts is seen here: the client
    // forgets a Disconnect made between two requests.
    http.SetMaxBodySize(kMaxPageBytes);
    auto get = [&](const String& url) {
        if (stopped())
            throw EAbort(L"Operation aborted");
        limitRequest();
        return http.Get(url);
    };
    String text;
    bool failed = false;
    try {
        text = get(OwnSiteIndexAddress());
        text = get(link);
        if (!stopped()) {
            const TVelmoraPageInfo info = ExtractVelmoraPageInfo(text);
            r.title = info.title;
            r.Length = info.Length;
            r.views = info.views;
        }
    } catch (const EIdBodyTooLarge&) {
        failed = true;
        r.error = L"The page is larger than " + IntToStr(kMaxPageBytes >> 20) + L" MiB.";
    } catch (const Exception& e) {
        failed = true;
        // curl's clock for the request started a moment after ours.
        const bool late = (dynamic_cast<const EIdReadTimeout*>(&e) || dynamic_cast<const EIdConnectTimeout*>(&e)) &&
                          timeLeft() < 100;
        if (late)
            r.error = lateText;
        else if (const auto* p = dynamic_cast<const EIdHTTPProtocolException*>(&e))
            r.error = L"The site answered with HTTP " + IntToStr(p->ErrorCode()) + L".";
        else
            r.error = e.Message();
    }
    if (failed) {
        r.title.clear();
        text.clear();
    }

    if (!stopped() && !failed) {
        const TVelmoraSources src = ExtractVelmoraSources(text);
        r.url = src.url;
        r.url_hq = src.url_hq;
        auto headSize = [&](const String& url, Int64& size) {
            if (url.empty() || stopped() || timeLeft() <= 0)
                return;
            try {
                limitRequest();
                http.Head(url);
                size = http.Response()->ContentLength();
            } catch (const Exception&) {
                // The size stays 0.
            }
        };
        headSize(r.url, r.size);
        headSize(r.url_hq, r.size_hq);
    }

    FContext->SetClient(nullptr);
    http.Disconnect();
    IdHTTP = nullptr;
    FContext->Finish(r);
    if (FContext->OnDone) {
        std::shared_ptr<TFetchContext> ctx = FContext;
        TThread::Queue(nullptr, [ctx] { if (ctx->OnDone) ctx->OnDone(); });
    }
}

std::shared_ptr<TFetchContext> StartVelmoraFetch(const String& link, const THttpSettings& settings,
                                                 std::function<void()> onDone)
{
    auto ctx = std::make_shared<TFetchContext>();
    ctx->OnDone = std::move(onDone);
    auto* t = new TVelmoraGrabThread(ctx, link, settings);
    t->SetFreeOnTerminate(true);
    t->SetPriority(tpLowest);
    t->Start();
    return ctx;
}

bool ListFetchedEntry(TItemList& list, TItemKey key, const TFetchContext& fetch, Integer format,
                      const String& saveto)
{
    const TFetchResult r = fetch.Result();
    const String title = clean_title(r.title);
    if (!fetch.Done() || fetch.Stopped() || title.empty() || r.url.empty()) {
        list.Remove(key);
        return false;
    }
    return list.Update(key, [&](TItem& item) {
        item.title = title;
        item.Length = r.Length;
        item.views = r.views;
        item.favorited.clear();
        item.url = r.url;
        item.url_hq = r.url_hq;
        item.size = r.size;
        item.size_hq = r.size_hq;
        item.status = status_ready;
        item.format = format;
        item.saveto = saveto;
        item.filename = title;
    });
}
