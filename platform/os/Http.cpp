#include "platform/os/Http.h"

#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <exception>

#include "platform/base/Streams.h"

namespace {

using Clock = std::chrono::steady_clock;

void GlobalInit()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::string Lower(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return s;
}

String Widen(const std::string& s) { return UTF8ToString(s); }

std::string TrimAscii(const std::string& s)
{
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t' || s[b] == '\r' || s[b] == '\n')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r' || s[e - 1] == '\n')) --e;
    return s.substr(b, e - b);
}

std::string HostOf(const std::string& url)
{
    size_t p = url.find("://");
    size_t b = p == std::string::npos ? 0 : p + 3;
    size_t e = url.find_first_of("/?#", b);
    std::string auth = url.substr(b, e == std::string::npos ? std::string::npos : e - b);
    size_t at = auth.rfind('@');
    if (at != std::string::npos) auth = auth.substr(at + 1);
    if (!auth.empty() && auth[0] == '[') {
        size_t rb = auth.find(']');
        return auth.substr(1, rb == std::string::npos ? std::string::npos : rb - 1);
    }
    size_t colon = auth.find(':');
    return Lower(auth.substr(0, colon));
}

// Strict UTF-8: false on any malformed, overlong or out-of-range sequence.
bool DecodeUtf8(const std::string& in, String& out)
{
    out.clear();
    out.reserve(in.size());
    size_t i = 0, n = in.size();
    while (i < n) {
        unsigned char c = static_cast<unsigned char>(in[i]);
        if (c < 0x80) {
            out += Char(c);
            ++i;
            continue;
        }
        int len;
        uint32_t cp, min;
        if ((c & 0xE0) == 0xC0) { len = 2; cp = c & 0x1F; min = 0x80; }
        else if ((c & 0xF0) == 0xE0) { len = 3; cp = c & 0x0F; min = 0x800; }
        else if ((c & 0xF8) == 0xF0) { len = 4; cp = c & 0x07; min = 0x10000; }
        else return false;
        if (i + len > n) return false;
        for (int k = 1; k < len; ++k) {
            unsigned char cc = static_cast<unsigned char>(in[i + k]);
            if ((cc & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        out += Char(cp);
        i += len;
    }
    return true;
}

String DecodeLatin1(const std::string& in)
{
    String out;
    out.reserve(in.size());
    for (char c : in) out += Char(static_cast<unsigned char>(c));
    return out;
}

String DecodeCp1252(const std::string& in)
{
    static const uint16_t high[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    String out;
    out.reserve(in.size());
    for (char ch : in) {
        unsigned char c = static_cast<unsigned char>(ch);
        out += (c >= 0x80 && c < 0xA0) ? Char(high[c - 0x80]) : Char(c);
    }
    return out;
}

std::string CharsetOf(const std::string& contentType)
{
    std::string lower = Lower(contentType);
    size_t p = lower.find("charset=");
    if (p == std::string::npos) return {};
    std::string v = lower.substr(p + 8);
    size_t semi = v.find(';');
    if (semi != std::string::npos) v = v.substr(0, semi);
    v = TrimAscii(v);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return v;
}

constexpr size_t kMaxErrorBody = 64 * 1024;

}  // namespace

String DecodeHttpText(const std::string& bytes, const String& charset)
{
    std::string cs = Lower(UTF8Encode(charset));
    if (cs == "iso-8859-1" || cs == "iso8859-1" || cs == "latin1" || cs == "latin-1" ||
        cs == "l1" || cs == "iso_8859-1" || cs == "us-ascii" || cs == "ascii")
        return DecodeLatin1(bytes);
    if (cs == "windows-1252" || cs == "cp1252" || cs == "x-cp1252") return DecodeCp1252(bytes);
    String out;
    if (DecodeUtf8(bytes, out)) {
        if (!out.empty() && out[0] == 0xFEFF) out.erase(0, 1);   // byte-order mark
        return out;
    }
    return DecodeLatin1(bytes);
}

// ---------------------------------------------------------------------------
// Cookie manager

struct TIdCookieManager::TImpl {
    CURLSH* Share = nullptr;
    std::mutex Locks[CURL_LOCK_DATA_LAST];

    static void Lock(CURL*, curl_lock_data data, curl_lock_access, void* user)
    {
        static_cast<TImpl*>(user)->Locks[data].lock();
    }
    static void Unlock(CURL*, curl_lock_data data, void* user)
    {
        static_cast<TImpl*>(user)->Locks[data].unlock();
    }

    // A short-lived handle on the share, for adding and listing cookies.
    CURL* Scratch() const
    {
        CURL* h = curl_easy_init();
        if (h) curl_easy_setopt(h, CURLOPT_SHARE, Share);
        return h;
    }
};

TIdCookieManager::TIdCookieManager(TComponent* AOwner) : TComponent(AOwner), FImpl(new TImpl)
{
    GlobalInit();
    FImpl->Share = curl_share_init();
    curl_share_setopt(FImpl->Share, CURLSHOPT_LOCKFUNC, &TImpl::Lock);
    curl_share_setopt(FImpl->Share, CURLSHOPT_UNLOCKFUNC, &TImpl::Unlock);
    curl_share_setopt(FImpl->Share, CURLSHOPT_USERDATA, FImpl.get());
    curl_share_setopt(FImpl->Share, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
}

TIdCookieManager::~TIdCookieManager()
{
    if (FImpl->Share) curl_share_cleanup(FImpl->Share);
}

void* TIdCookieManager::ShareHandle() const { return FImpl->Share; }

void TIdCookieManager::AddServerCookie(const String& ACookie, const String& AUrl)
{
    std::string cookie = UTF8Encode(ACookie);
    std::string url = UTF8Encode(AUrl);
    // name=value; attr; attr=value ...
    std::vector<std::string> parts;
    size_t b = 0;
    for (;;) {
        size_t e = cookie.find(';', b);
        parts.push_back(TrimAscii(cookie.substr(b, e == std::string::npos ? std::string::npos : e - b)));
        if (e == std::string::npos) break;
        b = e + 1;
    }
    if (parts.empty() || parts[0].find('=') == std::string::npos) return;
    std::string name = TrimAscii(parts[0].substr(0, parts[0].find('=')));
    std::string value = TrimAscii(parts[0].substr(parts[0].find('=') + 1));
    if (name.empty()) return;
    std::string domain = HostOf(url), path = "/";
    bool sub = false, secure = false;
    for (size_t i = 1; i < parts.size(); ++i) {
        std::string key = Lower(TrimAscii(parts[i].substr(0, parts[i].find('='))));
        std::string val = parts[i].find('=') == std::string::npos ? std::string()
                                                                    : TrimAscii(parts[i].substr(parts[i].find('=') + 1));
        if (key == "domain" && !val.empty()) {
            domain = Lower(val[0] == '.' ? val.substr(1) : val);
            sub = true;
        } else if (key == "path" && !val.empty() && val[0] == '/') {
            path = val;
        } else if (key == "secure") {
            secure = true;
        }
    }
    std::string line = (sub ? "." : "") + domain + "\t" + (sub ? "TRUE" : "FALSE") + "\t" + path + "\t" +
                       (secure ? "TRUE" : "FALSE") + "\t0\t" + name + "\t" + value;
    if (CURL* h = FImpl->Scratch()) {
        curl_easy_setopt(h, CURLOPT_COOKIELIST, line.c_str());
        curl_easy_cleanup(h);
    }
}

std::vector<String> TIdCookieManager::CookieLines() const
{
    std::vector<String> out;
    CURL* h = FImpl->Scratch();
    if (!h) return out;
    curl_slist* list = nullptr;
    if (curl_easy_getinfo(h, CURLINFO_COOKIELIST, &list) == CURLE_OK) {
        for (curl_slist* p = list; p; p = p->next) out.push_back(Widen(p->data));
        curl_slist_free_all(list);
    }
    curl_easy_cleanup(h);
    return out;
}

void TIdCookieManager::AddCookies(TIdCookieManager* ASource)
{
    if (!ASource || ASource == this) return;
    std::vector<String> lines = ASource->CookieLines();
    CURL* h = FImpl->Scratch();
    if (!h) return;
    for (const String& l : lines) curl_easy_setopt(h, CURLOPT_COOKIELIST, UTF8Encode(l).c_str());
    curl_easy_cleanup(h);
}

void TIdCookieManager::Clear()
{
    if (CURL* h = FImpl->Scratch()) {
        curl_easy_setopt(h, CURLOPT_COOKIELIST, "ALL");
        curl_easy_cleanup(h);
    }
}

// ---------------------------------------------------------------------------
// Response

void TIdHTTPResponse::Clear()
{
    *this = TIdHTTPResponse();
}

// ---------------------------------------------------------------------------
// Client

struct TIdHTTP::TTransfer {
    TIdHTTP* Self = nullptr;
    CURL* Curl = nullptr;
    const TSink* Sink = nullptr;
    bool WorkBegun = false;
    Int64 Count = 0;
    std::string ErrorBody;
    Clock::time_point LastActivity;
    bool HeaderSeen = false;
    std::string StatusLine;
    std::vector<std::string> Headers;
    std::exception_ptr CallbackError;
    bool TooLarge = false;
};

TIdHTTP::TIdHTTP(TComponent* AOwner) : TComponent(AOwner) { GlobalInit(); }

TIdHTTP::~TIdHTTP()
{
    if (FMulti) curl_multi_cleanup(static_cast<CURLM*>(FMulti));
}

void TIdHTTP::SetCookieManager(TIdCookieManager* v)
{
    if (v == FCookieManager) return;
    if (FCookieManager && FCookieManager != FOwnCookieManager.get()) FCookieManager->RemoveFreeNotification(this);
    FCookieManager = v;
    if (v) v->FreeNotification(this);
}

void TIdHTTP::SetIOHandler(TIdSSLIOHandlerSocketOpenSSL* v)
{
    if (v == FIOHandler) return;
    if (FIOHandler) FIOHandler->RemoveFreeNotification(this);
    FIOHandler = v;
    if (v) v->FreeNotification(this);
}

void TIdHTTP::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove) {
        if (AComponent == FCookieManager) FCookieManager = nullptr;
        if (AComponent == FIOHandler) FIOHandler = nullptr;
    }
}

void TIdHTTP::Disconnect()
{
    // Under the lock, so that a request is either running (and sees the
    // flag in its loop) or not yet started (and sees it at its start): a
    // Disconnect is never lost between the two.
    std::lock_guard<std::mutex> g(FMultiLock);
    FAbort = true;
    if (!FMulti) return;
    if (FBusy) {
        curl_multi_wakeup(static_cast<CURLM*>(FMulti));
    } else {
        // Idle: close the kept-alive connections.
        curl_multi_cleanup(static_cast<CURLM*>(FMulti));
        FMulti = nullptr;
    }
}

size_t TIdHTTP::HeaderCallback(char* data, size_t size, size_t count, void* user)
{
    auto* t = static_cast<TTransfer*>(user);
    size_t n = size * count;
    t->LastActivity = Clock::now();
    t->HeaderSeen = true;
    std::string line = TrimAscii(std::string(data, n));
    if (line.compare(0, 5, "HTTP/") == 0) {
        t->StatusLine = line;   // a new answer (after a redirect or a 100)
        t->Headers.clear();
    } else if (!line.empty()) {
        t->Headers.push_back(line);
    }
    return n;
}

size_t TIdHTTP::WriteCallback(char* data, size_t size, size_t count, void* user)
{
    auto* t = static_cast<TTransfer*>(user);
    size_t n = size * count;
    TIdHTTP* self = t->Self;
    t->LastActivity = Clock::now();
    if (self->FAbort) return 0;
    long code = 0;
    curl_easy_getinfo(t->Curl, CURLINFO_RESPONSE_CODE, &code);
    if (code >= 400) {
        // Kept for the exception, not given to the caller's stream.
        if (t->ErrorBody.size() < kMaxErrorBody)
            t->ErrorBody.append(data, std::min(n, kMaxErrorBody - t->ErrorBody.size()));
        return n;
    }
    const Int64 limit = self->FMaxBodySize;
    if (limit > 0 && Int64(n) > limit - t->Count) {
        t->TooLarge = true;
        return 0;
    }
    try {
        if (!t->WorkBegun) {
            t->WorkBegun = true;
            curl_off_t len = -1;
            curl_easy_getinfo(t->Curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &len);
            if (limit > 0 && len > 0 && Int64(len) > limit) {
                t->TooLarge = true;
                return 0;
            }
            if (self->OnWorkBegin) self->OnWorkBegin(self, wmRead, len > 0 ? Int64(len) : 0);
        }
        if (self->FAbort) return 0;
        (*t->Sink)(data, n);
        t->Count += Int64(n);
        if (self->OnWork) self->OnWork(self, wmRead, t->Count);
    } catch (...) {
        t->CallbackError = std::current_exception();
        return 0;
    }
    return self->FAbort ? 0 : n;
}

String TIdHTTP::Get(const String& AURL)
{
    std::string body;
    DoRequest(TMethod::Get, AURL, [&body](const char* p, size_t n) { body.append(p, n); });
    return DecodeHttpText(body, FResponse.CharSet());
}

void TIdHTTP::Get(const String& AURL, TStream& AResponseContent)
{
    DoRequest(TMethod::Get, AURL,
              [&AResponseContent](const char* p, size_t n) { AResponseContent.WriteBuffer(p, Integer(n)); });
}

void TIdHTTP::Head(const String& AURL)
{
    DoRequest(TMethod::Head, AURL, [](const char*, size_t) {});
}

void TIdHTTP::DoRequest(TMethod method, const String& AURL, const TSink& sink)
{
    {
        std::lock_guard<std::mutex> g(FMultiLock);
        if (FBusy) throw EIdException(L"A request is already running on this connection");
        FBusy = true;
    }
    struct BusyGuard {
        std::atomic<bool>& b;
        ~BusyGuard() { b = false; }
    } busyGuard{FBusy};
    FResponse.Clear();
    // A Disconnect since the last request ended stops this one before it
    // connects.
    if (FAbort.exchange(false)) throw EIdClosedSocket(L"Disconnected.");

    std::string url = UTF8Encode(AURL);
    // A fresh handle per request; the multi handle keeps the connections,
    // so they are still reused.
    CURL* h = curl_easy_init();
    if (!h) throw EIdException(L"Cannot create an HTTP connection");
    struct EasyGuard {
        CURL* h;
        ~EasyGuard() { curl_easy_cleanup(h); }
    } easyGuard{h};

    TTransfer t;
    t.Self = this;
    t.Curl = h;
    t.Sink = &sink;
    t.LastActivity = Clock::now();
    char errbuf[CURL_ERROR_SIZE] = {0};

    curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errbuf);
    if (method == TMethod::Head)
        curl_easy_setopt(h, CURLOPT_NOBODY, 1L);
    else
        curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, FHandleRedirects ? 1L : 0L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, long(std::max<Integer>(FRedirectMaximum, 0)));
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    std::string ua = UTF8Encode(FRequest.UserAgent());
    if (!ua.empty()) curl_easy_setopt(h, CURLOPT_USERAGENT, ua.c_str());
    std::string referer = UTF8Encode(FRequest.Referer());
    if (!referer.empty()) curl_easy_setopt(h, CURLOPT_REFERER, referer.c_str());
    curl_slist* headers = nullptr;
    std::string accept = "Accept: " + UTF8Encode(FRequest.Accept());
    if (!FRequest.Accept().empty()) headers = curl_slist_append(headers, accept.c_str());
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers);
    struct SlistGuard {
        curl_slist* l;
        ~SlistGuard() { curl_slist_free_all(l); }
    } slistGuard{headers};

    if (FAllowCookies) {
        if (!FCookieManager) {
            if (!FOwnCookieManager) FOwnCookieManager.reset(new TIdCookieManager(nullptr));
            FCookieManager = FOwnCookieManager.get();
        }
        curl_easy_setopt(h, CURLOPT_SHARE, static_cast<CURLSH*>(FCookieManager->ShareHandle()));
        curl_easy_setopt(h, CURLOPT_COOKIEFILE, "");
    }

    curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 2L);
    std::string caFile;
    if (FIOHandler && !FIOHandler->SSLOptions()->RootCertFile.empty()) {
        caFile = UTF8Encode(FIOHandler->SSLOptions()->RootCertFile);
        curl_easy_setopt(h, CURLOPT_CAINFO, caFile.c_str());
        curl_easy_setopt(h, CURLOPT_CAPATH, nullptr);
    }

    std::string proxy, proxyUser, proxyPass;
    if (FProxyParams.Enabled()) {
        proxy = "http://" + UTF8Encode(FProxyParams.ProxyServer());
        if (FProxyParams.ProxyPort() > 0) {
            proxy += ':';
            proxy += std::to_string(FProxyParams.ProxyPort());
        }
        curl_easy_setopt(h, CURLOPT_PROXY, proxy.c_str());
        if (!FProxyParams.ProxyUsername().empty()) {
            proxyUser = UTF8Encode(FProxyParams.ProxyUsername());
            proxyPass = UTF8Encode(FProxyParams.ProxyPassword());
            curl_easy_setopt(h, CURLOPT_PROXYUSERNAME, proxyUser.c_str());
            curl_easy_setopt(h, CURLOPT_PROXYPASSWORD, proxyPass.c_str());
            curl_easy_setopt(h, CURLOPT_PROXYAUTH, long(CURLAUTH_BASIC));
        }
    } else {
        // No proxy unless asked: the environment's proxy variables do not apply.
        curl_easy_setopt(h, CURLOPT_PROXY, "");
    }

    if (FConnectTimeout > 0) curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, long(FConnectTimeout));
    if (FTotalTimeout > 0) curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, long(FTotalTimeout));
    curl_easy_setopt(h, CURLOPT_BUFFERSIZE, 128L * 1024L);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &TIdHTTP::WriteCallback);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &t);
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, &TIdHTTP::HeaderCallback);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &t);

    {
        std::lock_guard<std::mutex> g(FMultiLock);
        if (!FMulti) FMulti = curl_multi_init();
    }
    CURLM* m = static_cast<CURLM*>(FMulti);
    if (FAbort.exchange(false)) throw EIdClosedSocket(L"Disconnected.");
    curl_multi_add_handle(m, h);

    bool timedOut = false;
    CURLcode result = CURLE_OK;
    bool done = false;
    for (;;) {
        int running = 0;
        curl_multi_perform(m, &running);
        int queued = 0;
        while (CURLMsg* msg = curl_multi_info_read(m, &queued)) {
            if (msg->msg == CURLMSG_DONE && msg->easy_handle == h) {
                result = msg->data.result;
                done = true;
            }
        }
        if (done || !running) break;
        if (FAbort || t.CallbackError) break;
        int waitMs = 200;
        if (FReadTimeout > 0) {
            Integer limit = FReadTimeout + (t.HeaderSeen ? 0 : std::max<Integer>(FConnectTimeout, 0));
            auto idle = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t.LastActivity).count();
            if (idle >= limit) {
                timedOut = true;
                break;
            }
            waitMs = int(std::min<long long>(waitMs, limit - idle));
        }
        curl_multi_poll(m, nullptr, 0, std::max(waitMs, 1), nullptr);
    }
    curl_multi_remove_handle(m, h);

    long code = 0, connectCode = 0;
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &code);
    curl_easy_getinfo(h, CURLINFO_HTTP_CONNECTCODE, &connectCode);
    curl_off_t len = -1;
    curl_easy_getinfo(h, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &len);
    char* ctype = nullptr;
    curl_easy_getinfo(h, CURLINFO_CONTENT_TYPE, &ctype);
    char* effective = nullptr;
    curl_easy_getinfo(h, CURLINFO_EFFECTIVE_URL, &effective);
    FResponse.FResponseCode = Integer(code);
    FResponse.FContentLength = len >= 0 ? Int64(len) : -1;
    FResponse.FContentType = ctype ? Widen(ctype) : String();
    FResponse.FCharSet = ctype ? Widen(CharsetOf(ctype)) : String();
    FResponse.FLocation = effective ? Widen(effective) : AURL;
    FResponse.FResponseText = Widen(t.StatusLine);
    for (const std::string& l : t.Headers) FResponse.FRawHeaders.push_back(Widen(l));


    auto endWork = [&] {
        if (t.WorkBegun && OnWorkEnd) OnWorkEnd(this, wmRead);
    };

    if (t.CallbackError) {
        endWork();
        std::rethrow_exception(t.CallbackError);
    }
    if (t.TooLarge) {
        endWork();
        throw EIdBodyTooLarge(L"The answer from " + Widen(HostOf(url)) + L" is larger than " +
                              std::to_wstring(FMaxBodySize) + L" bytes");
    }
    if (FAbort.exchange(false)) {
        endWork();
        throw EIdClosedSocket(L"Disconnected.");
    }
    if (timedOut) {
        endWork();
        throw EIdReadTimeout(L"Read timed out.");
    }

    String detail = Widen(errbuf[0] ? errbuf : curl_easy_strerror(result));
    String where = Widen(HostOf(url));
    if (result != CURLE_OK) {
        endWork();
        if (connectCode >= 400)
            throw EIdHTTPProtocolException(L"Proxy refused the tunnel: HTTP " + std::to_wstring(connectCode),
                                           Integer(connectCode), String());
        switch (result) {
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_RESOLVE_PROXY:
            throw EIdSocketError(L"Host not found: " + detail);
        case CURLE_COULDNT_CONNECT:
            throw EIdSocketError(L"Connection refused: " + detail);
        case CURLE_OPERATION_TIMEDOUT:
            if (!t.HeaderSeen && code == 0) throw EIdConnectTimeout(L"Connect timed out: " + detail);
            throw EIdReadTimeout(L"Read timed out: " + detail);
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_SSL_CONNECT_ERROR:
        case CURLE_SSL_CERTPROBLEM:
        case CURLE_SSL_CIPHER:
        case CURLE_SSL_CACERT_BADFILE:
        case CURLE_SSL_ISSUER_ERROR:
        case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
        case CURLE_SSL_INVALIDCERTSTATUS:
        case CURLE_SSL_ENGINE_INITFAILED:
        case CURLE_SSL_CRL_BADFILE:
        case CURLE_SSL_SHUTDOWN_FAILED:
            throw EIdOSSLConnectError(L"TLS connection to " + where + L" failed: " + detail);
        case CURLE_PARTIAL_FILE:
            throw EIdConnClosedGracefully(L"Connection Closed Gracefully: the body ended after " +
                                          std::to_wstring(t.Count) + L" of " +
                                          std::to_wstring(FResponse.FContentLength) + L" bytes");
        case CURLE_RECV_ERROR:
        case CURLE_SEND_ERROR:
            throw EIdSocketError(L"Connection reset by peer: " + detail);
        case CURLE_GOT_NOTHING:
            throw EIdConnClosedGracefully(L"Connection Closed Gracefully: empty reply from " + where);
        case CURLE_TOO_MANY_REDIRECTS:
            throw EIdTooManyRedirects(L"Too many redirects (maximum " + std::to_wstring(FRedirectMaximum) +
                                      L"), last status " + std::to_wstring(code));
        default:
            throw EIdException(L"HTTP request to " + where + L" failed: " + detail);
        }
    }
    if (code >= 400) {
        endWork();
        String line = FResponse.FResponseText.empty() ? L"HTTP " + std::to_wstring(code) : FResponse.FResponseText;
        throw EIdHTTPProtocolException(line, Integer(code), DecodeHttpText(t.ErrorBody, FResponse.FCharSet));
    }
    if (method == TMethod::Get && !t.WorkBegun) {
        t.WorkBegun = true;
        if (OnWorkBegin) OnWorkBegin(this, wmRead, FResponse.FContentLength > 0 ? FResponse.FContentLength : 0);
    }
    endWork();
}
