// HTTP client components: TIdHTTP with its request and response records, a
// cookie manager that several clients can share, and the TLS handler that
// carries certificate settings. Built on libcurl (OpenSSL); UTF-8 at the
// library boundary.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/base/Exceptions.h"
#include "platform/base/Objects.h"
#include "platform/base/Types.h"

class TStream;

// ---------------------------------------------------------------------------
// Exceptions. Every failed request raises one of these; the message names the
// cause (and the status for HTTP errors).

VEL_DECLARE_EXCEPTION(EIdException, Exception)
VEL_DECLARE_EXCEPTION(EIdSocketError, EIdException)          // refused, reset, host not found
VEL_DECLARE_EXCEPTION(EIdConnClosedGracefully, EIdException) // closed before the body was complete
VEL_DECLARE_EXCEPTION(EIdClosedSocket, EIdException)         // aborted by Disconnect
VEL_DECLARE_EXCEPTION(EIdConnectTimeout, EIdException)
VEL_DECLARE_EXCEPTION(EIdReadTimeout, EIdException)
VEL_DECLARE_EXCEPTION(EIdOSSLConnectError, EIdException)     // TLS handshake or certificate
VEL_DECLARE_EXCEPTION(EIdBodyTooLarge, EIdException)         // the body passed MaxBodySize

// An answer with status 400 or above (and too many redirects).
class EIdHTTPProtocolException : public EIdException {
public:
    EIdHTTPProtocolException(const String& msg, Integer errorCode, const String& errorMessage)
        : EIdException(msg), FErrorCode(errorCode), FErrorMessage(errorMessage) {}
    String ClassName() const override { return L"EIdHTTPProtocolException"; }
    // The HTTP status.
    Integer ErrorCode() const { return FErrorCode; }
    // The body the server sent with the error (at most 64 KiB of it).
    const String& ErrorMessage() const { return FErrorMessage; }

private:
    Integer FErrorCode;
    String FErrorMessage;
};

VEL_DECLARE_EXCEPTION(EIdTooManyRedirects, EIdException)

// ---------------------------------------------------------------------------

enum TWorkMode { wmRead, wmWrite };

using TWorkBeginEvent = std::function<void(TObject* ASender, TWorkMode AWorkMode, Int64 AWorkCountMax)>;
using TWorkEvent = std::function<void(TObject* ASender, TWorkMode AWorkMode, Int64 AWorkCount)>;
using TWorkEndEvent = std::function<void(TObject* ASender, TWorkMode AWorkMode)>;

// A cookie store. Every request of a client that allows cookies reads and
// fills its manager; two clients given the same manager share its cookies
// (also from different threads).
class TIdCookieManager : public TComponent {
public:
    explicit TIdCookieManager(TComponent* AOwner = nullptr);
    ~TIdCookieManager() override;

    // Adds a cookie as a server would set it: the Set-Cookie header's value
    // ("name=value; Path=/; ...") for the given address.
    void AddServerCookie(const String& ACookie, const String& AUrl);
    // Copies every cookie of another manager into this one.
    void AddCookies(TIdCookieManager* ASource);
    // One line per cookie: domain, include-subdomains flag, path, secure
    // flag, expiry, name, value, separated by tabs.
    std::vector<String> CookieLines() const;
    Integer Count() const { return Integer(CookieLines().size()); }
    void Clear();

    void* ShareHandle() const;   // the library's share handle

private:
    struct TImpl;
    std::unique_ptr<TImpl> FImpl;
};

struct TIdSSLOptions {
    // A PEM file of certificate authorities to trust instead of the system
    // store (tests give their own).
    String RootCertFile;
};

// Attached to a client to set how TLS connections are checked. Whether a
// request uses TLS follows the address's scheme (also after a redirect).
class TIdSSLIOHandlerSocketOpenSSL : public TComponent {
public:
    explicit TIdSSLIOHandlerSocketOpenSSL(TComponent* AOwner = nullptr) : TComponent(AOwner) {}
    TIdSSLOptions* SSLOptions() { return &FSSLOptions; }

private:
    TIdSSLOptions FSSLOptions;
};

class TIdHTTPRequest {
public:
    const String& UserAgent() const { return FUserAgent; }
    void SetUserAgent(const String& v) { FUserAgent = v; }
    const String& Referer() const { return FReferer; }
    void SetReferer(const String& v) { FReferer = v; }
    const String& Accept() const { return FAccept; }
    void SetAccept(const String& v) { FAccept = v; }

private:
    String FUserAgent = L"Mozilla/3.0 (compatible; Velmora)";
    String FReferer;
    String FAccept = L"text/html, */*";
};

class TIdHTTPResponse {
public:
    // The Content-Length the server sent; -1 when it sent none.
    Int64 ContentLength() const { return FContentLength; }
    Integer ResponseCode() const { return FResponseCode; }
    const String& ResponseText() const { return FResponseText; }
    const String& ContentType() const { return FContentType; }
    // The charset named in Content-Type (lower case), empty when none.
    const String& CharSet() const { return FCharSet; }
    // The address that answered last (after redirects).
    const String& Location() const { return FLocation; }
    // The header lines of the last answer, "Name: value".
    const std::vector<String>& RawHeaders() const { return FRawHeaders; }

private:
    friend class TIdHTTP;
    void Clear();
    Int64 FContentLength = -1;
    Integer FResponseCode = 0;
    String FResponseText, FContentType, FCharSet, FLocation;
    std::vector<String> FRawHeaders;
};

class TIdProxyConnectionInfo {
public:
    const String& ProxyServer() const { return FServer; }
    void SetProxyServer(const String& v) { FServer = v; }
    Integer ProxyPort() const { return FPort; }
    void SetProxyPort(Integer v) { FPort = v; }
    const String& ProxyUsername() const { return FUsername; }
    void SetProxyUsername(const String& v) { FUsername = v; }
    // Never written to messages or logs.
    const String& ProxyPassword() const { return FPassword; }
    void SetProxyPassword(const String& v) { FPassword = v; }
    // True when a proxy server is set.
    bool Enabled() const { return !FServer.empty(); }

private:
    String FServer, FUsername, FPassword;
    Integer FPort = 0;
};

class TIdHTTP : public TComponent {
public:
    explicit TIdHTTP(TComponent* AOwner = nullptr);
    ~TIdHTTP() override;

    // GET; the body decoded by the charset the server names (UTF-8 when it
    // names none; Latin-1 when the bytes are not valid UTF-8).
    String Get(const String& AURL);
    // GET; each block received goes straight to the stream.
    void Get(const String& AURL, TStream& AResponseContent);
    void Head(const String& AURL);

    // Aborts the request in progress (from OnWork or from another thread),
    // or, when none runs, drops the kept-alive connections and stops the
    // next request before it connects: that request raises EIdClosedSocket,
    // and the one after it runs normally. So a Disconnect between two
    // requests, or just before one starts, is never lost.
    void Disconnect();

    TIdHTTPRequest* Request() { return &FRequest; }
    TIdHTTPResponse* Response() { return &FResponse; }
    Integer ResponseCode() const { return FResponse.ResponseCode(); }
    TIdProxyConnectionInfo* ProxyParams() { return &FProxyParams; }

    bool HandleRedirects() const { return FHandleRedirects; }
    void SetHandleRedirects(bool v) { FHandleRedirects = v; }
    Integer RedirectMaximum() const { return FRedirectMaximum; }
    void SetRedirectMaximum(Integer v) { FRedirectMaximum = v; }
    bool AllowCookies() const { return FAllowCookies; }
    void SetAllowCookies(bool v) { FAllowCookies = v; }
    // Not owned (unless it is owned as a component). When cookies are allowed
    // and none is set, the client makes its own on first use.
    TIdCookieManager* CookieManager() const { return FCookieManager; }
    void SetCookieManager(TIdCookieManager* v);
    TIdSSLIOHandlerSocketOpenSSL* IOHandler() const { return FIOHandler; }
    void SetIOHandler(TIdSSLIOHandlerSocketOpenSSL* v);
    // Milliseconds; 0 waits without limit. ReadTimeout is the longest pause
    // between two pieces of the answer.
    Integer ConnectTimeout() const { return FConnectTimeout; }
    void SetConnectTimeout(Integer v) { FConnectTimeout = v; }
    Integer ReadTimeout() const { return FReadTimeout; }
    void SetReadTimeout(Integer v) { FReadTimeout = v; }
    // Milliseconds a whole request (connecting, redirects and the body) may
    // take; 0 waits without limit. A request that takes longer raises
    // EIdReadTimeout (EIdConnectTimeout while it was still connecting).
    Integer TotalTimeout() const { return FTotalTimeout; }
    void SetTotalTimeout(Integer v) { FTotalTimeout = v; }
    // The largest body a request accepts, in bytes; 0 for no limit. A larger
    // announced length, or more bytes than that, ends the request with
    // EIdBodyTooLarge before the excess reaches the caller.
    Int64 MaxBodySize() const { return FMaxBodySize; }
    void SetMaxBodySize(Int64 v) { FMaxBodySize = v; }

    TWorkBeginEvent OnWorkBegin;
    TWorkEvent OnWork;
    TWorkEndEvent OnWorkEnd;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    enum class TMethod { Get, Head };
    using TSink = std::function<void(const char*, size_t)>;
    void DoRequest(TMethod method, const String& url, const TSink& sink);

    struct TTransfer;
    static size_t WriteCallback(char* data, size_t size, size_t count, void* user);
    static size_t HeaderCallback(char* data, size_t size, size_t count, void* user);

    TIdHTTPRequest FRequest;
    TIdHTTPResponse FResponse;
    TIdProxyConnectionInfo FProxyParams;
    bool FHandleRedirects = false;
    Integer FRedirectMaximum = 15;
    bool FAllowCookies = true;
    TIdCookieManager* FCookieManager = nullptr;
    std::unique_ptr<TIdCookieManager> FOwnCookieManager;
    TIdSSLIOHandlerSocketOpenSSL* FIOHandler = nullptr;
    Integer FConnectTimeout = 0;
    Integer FReadTimeout = 0;
    Integer FTotalTimeout = 0;
    Int64 FMaxBodySize = 0;

    void* FMulti = nullptr;   // keeps the connections between requests; woken by Disconnect
    std::mutex FMultiLock;    // guards FMulti against Disconnect from other threads
    std::atomic<bool> FAbort{false};
    std::atomic<bool> FBusy{false};
};

// Decodes a response body: by charset (utf-8, iso-8859-1/latin1, windows-1252,
// us-ascii); an unknown or missing charset means UTF-8 with Latin-1 as the
// fallback for bytes that are not valid UTF-8.
String DecodeHttpText(const std::string& bytes, const String& charset);
