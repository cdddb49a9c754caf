// The own site's video page: what the page fetch cuts out of it.
#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

#include "app/HttpSettings.h"
#include "app/ItemList.h"
#include "platform/base/Threads.h"
#include "platform/base/Types.h"

// Markers of the own site's video pages.
extern const wchar_t* const kVelmoraTimeMarker;    // 47 characters before the running time
extern const wchar_t* const kVelmoraSourceMarker;  // <source src="

struct TVelmoraPageInfo {
    String title;   // decoded with _decode_name; "" drops the entry
    String Length;  // running time
    String views;
};

// Title, running time and view count. A missing marker gives the text the
// positions happen to cut (or nothing); only the title is ever relied on.
TVelmoraPageInfo ExtractVelmoraPageInfo(const String& page);

struct TVelmoraSources {
    String url;     // first source; "//host/..." gets "https:" in front; "" when none
    String url_hq;  // second source, as written; "" when none
};

// The media addresses of the <source src="..."> elements. A page without
// one gives no address, and the entry is then dropped.
TVelmoraSources ExtractVelmoraSources(const String& page);

// ---------------------------------------------------------------------------
// The page fetch

class TIdHTTP;

// What one fetch found.
struct TFetchResult {
    String title;    // decoded, not yet cleaned; "" when a request or the extraction failed
    String Length;
    String views;
    String url;      // "" when the page named no media
    String url_hq;
    Int64 size = 0;  // Content-Length of url's HEAD; -1 none sent; 0 HEAD failed
    Int64 size_hq = 0;
    String error;    // why the page could not be read ("" when it was read)
};

// One fetch's own state, shared by the fetch thread and whoever waits for
// it. A stopped fetch aborts its transfers and its result is never used.
class TFetchContext {
public:
    bool Done() const;
    bool Stopped() const;
    // The result once Done(); an empty result after Stop.
    TFetchResult Result() const;
    // Aborts the fetch's transfers; Done() follows when the thread leaves.
    void Stop();
    // Waits until Done() or the time-out; answers Done().
    bool WaitDone(int timeoutMs) const;

    // Runs on the main thread once the fetch is done (set it before the
    // thread starts).
    std::function<void()> OnDone;

private:
    friend class TVelmoraGrabThread;
    void SetClient(TIdHTTP* client);
    void Finish(const TFetchResult& result);

    mutable std::mutex FLock;
    mutable std::condition_variable FCv;
    bool FDone = false;
    bool FStopped = false;
    TFetchResult FResult;
    TIdHTTP* FClient = nullptr;
};

// Fetches an own-site video page: the index page for the session cookie, the
// page, then the sizes of its media addresses. Writes nothing but its context.
// A page larger than kMaxPageBytes fails the fetch, and the whole fetch ends
// within the settings' pageFetchTimeoutMs.
class TVelmoraGrabThread : public TThread {
public:
    TVelmoraGrabThread(std::shared_ptr<TFetchContext> context, const String& link,
                       const THttpSettings& settings);
    ~TVelmoraGrabThread() override;

    TIdHTTP* IdHTTP = nullptr;  // the client, while Execute runs

protected:
    void Execute() override;
    void TerminatedSet() override;

private:
    std::shared_ptr<TFetchContext> FContext;
    String FLink;
    THttpSettings FSettings;
};

// Starts a fetch thread for the link (suspended creation, freed when it ends,
// lowest priority) and answers its context.
std::shared_ptr<TFetchContext> StartVelmoraFetch(const String& link, const THttpSettings& settings,
                                                 std::function<void()> onDone = nullptr);

// Fills the entry from a fetch and lists it: the cleaned title, status ready,
// the format and the save folder, filename = the title. Answers false, and
// removes the entry, when the fetch was stopped, the title is empty after
// cleaning or no media address was found.
bool ListFetchedEntry(TItemList& list, TItemKey key, const TFetchContext& fetch, Integer format,
                      const String& saveto);
