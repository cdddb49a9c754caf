#include "platform/os/Http.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "platform/base/Streams.h"
#include "tools/webserver/TestServer.h"

namespace {

using namespace std::chrono_literals;

class HttpTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Server.Started()) << Server.Error(); }

    // A TLS handler that trusts the test's own authority.
    TIdSSLIOHandlerSocketOpenSSL* TrustTestCa(TIdHTTP& http)
    {
        auto* ssl = new TIdSSLIOHandlerSocketOpenSSL(&http);
        ssl->SSLOptions()->RootCertFile = UTF8ToString(Server.CaFile());
        http.SetIOHandler(ssl);
        return ssl;
    }

    TTestWebServer Server;
};

// Bytes 0..255 repeated, as the server generates them.
bool IsPattern(const String& s, size_t n)
{
    if (s.size() != n) return false;
    for (size_t i = 0; i < n; ++i)
        if (s[i] != Char(i % 256)) return false;
    return true;
}

struct WorkLog {
    int Begins = 0, Ends = 0, Blocks = 0;
    Int64 Max = -2, Last = 0;
    bool Monotonic = true;
    void Attach(TIdHTTP& http)
    {
        http.OnWorkBegin = [this](TObject*, TWorkMode m, Int64 max) {
            EXPECT_EQ(m, wmRead);
            ++Begins;
            Max = max;
        };
        http.OnWork = [this](TObject*, TWorkMode, Int64 count) {
            ++Blocks;
            if (count <= Last) Monotonic = false;
            Last = count;
        };
        http.OnWorkEnd = [this](TObject*, TWorkMode) { ++Ends; };
    }
};

TEST_F(HttpTest, BodiesWithAndWithoutLengthAndChunked)
{
    struct Case {
        std::string path;
        size_t size;
        Int64 contentLength;
    } cases[] = {
        {"/body/300000", 300000, 300000},
        {"/nolength/70000", 70000, -1},
        {"/chunked/5000?pieces=7", 5000, -1},
        {"/body/0", 0, 0},
    };
    TIdHTTP http;
    for (const Case& c : cases) {
        WorkLog log;
        log.Attach(http);
        String body = http.Get(Server.Url(c.path));
        EXPECT_TRUE(IsPattern(body, c.size)) << c.path << " gave " << body.size();
        EXPECT_EQ(http.Response()->ContentLength(), c.contentLength) << c.path;
        EXPECT_EQ(http.ResponseCode(), 200);
        EXPECT_EQ(log.Begins, 1) << c.path;
        EXPECT_EQ(log.Ends, 1) << c.path;
        EXPECT_EQ(log.Max, c.contentLength > 0 ? c.contentLength : 0) << c.path;
        EXPECT_EQ(log.Last, Int64(c.size)) << c.path;
        EXPECT_TRUE(log.Monotonic);
        if (c.size > 0) {
            EXPECT_GE(log.Blocks, 1);
        }
    }
}

// A stream that records how it is written to.
class TRecordingStream : public TMemoryStream {
public:
    Integer Write(const void* Buffer, Integer Count) override
    {
        ++Writes;
        Largest = std::max(Largest, Count);
        return TMemoryStream::Write(Buffer, Count);
    }
    int Writes = 0;
    Integer Largest = 0;
};

TEST_F(HttpTest, GetIntoAStreamBlockByBlock)
{
    TIdHTTP http;
    TRecordingStream stream;
    bool inStep = true;
    http.OnWork = [&](TObject*, TWorkMode, Int64 count) {
        // Every block is in the stream before the next one arrives.
        if (stream.Size() != count) inStep = false;
    };
    const size_t n = 3 * 1024 * 1024 + 17;
    http.Get(Server.Url("/body/" + std::to_string(n)), stream);
    ASSERT_EQ(stream.Size(), Int64(n));
    const auto* bytes = static_cast<const unsigned char*>(stream.Memory());
    size_t wrong = 0;
    for (size_t i = 0; i < n; ++i) wrong += bytes[i] != (i % 256);
    EXPECT_EQ(wrong, 0u);
    EXPECT_TRUE(inStep);
    EXPECT_GT(stream.Writes, 1);
    EXPECT_LE(stream.Largest, 1024 * 1024);

    // An error page never reaches the stream; a broken body leaves what came.
    TMemoryStream errors;
    EXPECT_THROW(http.Get(Server.Url("/status/404"), errors), EIdHTTPProtocolException);
    EXPECT_EQ(errors.Size(), 0);
    TMemoryStream partial;
    EXPECT_THROW(http.Get(Server.Url("/short/5000"), partial), EIdConnClosedGracefully);
    EXPECT_EQ(partial.Size(), 5000);

    // The file the download thread writes.
    std::string file = Server.Dir() + "/download.flv";
    {
        TFileStream fs(UTF8ToString(file), fmCreate);
        http.Get(Server.Url("/chunked/100000"), fs);
    }
    EXPECT_EQ(std::filesystem::file_size(file), 100000u);
}

TEST_F(HttpTest, TextIsDecodedByCharset)
{
    struct Case {
        std::string hex, type;
        String want;
    } cases[] = {
        {"636166c3a920e282ac", "text/plain; charset=utf-8", L"caf\u00e9 \u20ac"},
        {"636166c3a9", "text/html", L"caf\u00e9"},                    // UTF-8 by default
        {"636166e9", "text/html", L"caf\u00e9"},                      // not UTF-8: Latin-1
        {"636166e9", "text/plain;charset=\"ISO-8859-1\"", L"caf\u00e9"},
        {"80e9", "text/plain; charset=windows-1252", L"\u20ac\u00e9"},
        {"efbbbf6869", "text/plain", L"hi"},                          // byte-order mark dropped
        {"c0af", "text/plain; charset=utf-8", L"\u00c0\u00af"},       // overlong form is not UTF-8
    };
    TIdHTTP http;
    for (const Case& c : cases) {
        std::string type;
        for (char ch : c.type) type += ch == ' ' ? std::string("%20") : ch == ';' ? "%3B" : ch == '"' ? "%22" : std::string(1, ch);
        EXPECT_EQ(http.Get(Server.Url("/bytes?hex=" + c.hex + "&type=" + type)), c.want) << c.hex << " " << c.type;
    }
}

TEST_F(HttpTest, Redirects)
{
    TIdHTTP http;
    // Not followed: the redirect itself is the answer.
    EXPECT_EQ(http.Get(Server.Url("/chain/2")), L"see /chain/1\n");
    EXPECT_EQ(http.ResponseCode(), 302);

    http.SetHandleRedirects(true);
    EXPECT_EQ(http.Get(Server.Url("/chain/3")), L"arrived");
    EXPECT_EQ(http.ResponseCode(), 200);
    EXPECT_EQ(http.Response()->Location(), Server.Url("/chain/0"));

    http.SetRedirectMaximum(5);
    EXPECT_THROW(http.Get(Server.Url("/loop")), EIdTooManyRedirects);
    EXPECT_THROW(http.Get(Server.Url("/chain/6")), EIdTooManyRedirects);
    EXPECT_EQ(http.Get(Server.Url("/chain/5")), L"arrived");

    // From plain HTTP to TLS: the scheme of the new address decides.
    TrustTestCa(http);
    EXPECT_EQ(http.Get(Server.Url("/to-https?path=/chain/1")), L"arrived");
    EXPECT_EQ(http.Response()->Location(), Server.HttpsUrl("/chain/0"));
}

TEST_F(HttpTest, CookiesGoWithTheNextRequest)
{
    TIdHTTP http;
    http.Get(Server.Url("/setcookie?name=session&value=abc"));
    EXPECT_NE(http.Get(Server.Url("/headers")).find(L"Cookie: session=abc"), String::npos);
    ASSERT_NE(http.CookieManager(), nullptr);
    EXPECT_EQ(http.CookieManager()->Count(), 1);

    // A second client given the same manager sends the same cookie.
    TIdCookieManager shared;
    TIdHTTP a, b;
    a.SetCookieManager(&shared);
    b.SetCookieManager(&shared);
    a.Get(Server.Url("/setcookie?name=k&value=v1"));
    EXPECT_NE(b.Get(Server.Url("/headers")).find(L"Cookie: k=v1"), String::npos);

    // A manager that a client owns, filled from another one.
    TIdHTTP c;
    auto* own = new TIdCookieManager(&c);
    own->AddCookies(&shared);
    own->AddServerCookie(L"extra=1; Path=/", Server.Url("/"));
    c.SetCookieManager(own);
    String echoed = c.Get(Server.Url("/headers"));
    EXPECT_NE(echoed.find(L"k=v1"), String::npos);
    EXPECT_NE(echoed.find(L"extra=1"), String::npos);

    // Cookies refused: nothing is sent.
    TIdHTTP d;
    d.SetAllowCookies(false);
    d.Get(Server.Url("/setcookie?name=z&value=1"));
    EXPECT_EQ(d.Get(Server.Url("/headers")).find(L"Cookie"), String::npos);
}

TEST_F(HttpTest, UserAgentAndReferer)
{
    TIdHTTP http;
    http.Request()->SetUserAgent(L"Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1)");
    http.Request()->SetReferer(L"http://example.test/root/");
    String h = http.Get(Server.Url("/headers"));
    EXPECT_NE(h.find(L"User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1)\n"), String::npos) << UTF8Encode(h);
    EXPECT_NE(h.find(L"Referer: http://example.test/root/\n"), String::npos);
}

TEST_F(HttpTest, HeadReportsTheLengthWithoutBody)
{
    TIdHTTP http;
    WorkLog log;
    log.Attach(http);
    http.Head(Server.Url("/body/123456"));
    EXPECT_EQ(http.Response()->ContentLength(), 123456);
    EXPECT_EQ(http.Response()->ContentType(), L"application/octet-stream");
    EXPECT_EQ(log.Begins, 0);
    http.Head(Server.Url("/chunked/100"));
    EXPECT_EQ(http.Response()->ContentLength(), -1);
    EXPECT_THROW(http.Head(Server.Url("/status/404")), EIdHTTPProtocolException);
}

TEST_F(HttpTest, ErrorStatusesRaise)
{
    TIdHTTP http;
    for (int code : {404, 500}) {
        WorkLog log;
        log.Attach(http);
        try {
            http.Get(Server.Url("/status/" + std::to_string(code)));
            ADD_FAILURE() << "no exception for " << code;
        } catch (const EIdHTTPProtocolException& e) {
            EXPECT_EQ(e.ErrorCode(), code);
            EXPECT_NE(e.Message().find(std::to_wstring(code)), String::npos) << UTF8Encode(e.Message());
            EXPECT_EQ(e.ErrorMessage(), L"status " + std::to_wstring(code) + L"\n");
        }
        EXPECT_EQ(http.ResponseCode(), code);
        EXPECT_EQ(log.Blocks, 0);   // the error page is not the caller's body
    }
}

TEST_F(HttpTest, BrokenTransfersRaise)
{
    TIdHTTP http;
    EXPECT_THROW(http.Get(Server.Url("/reset/50000")), EIdSocketError);
    EXPECT_THROW(http.Get(Server.Url("/short/1000")), EIdConnClosedGracefully);
    EXPECT_THROW(http.Get(Server.Url("/chunked-reset/1000")), EIdException);
    EXPECT_THROW(http.Get(Server.Url("/chunked-cut/1000")), EIdException);
    // The client is still usable afterwards.
    EXPECT_TRUE(IsPattern(http.Get(Server.Url("/body/10")), 10));

    // Nobody listening.
    int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    ASSERT_EQ(bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
    close(s);
    String url = UTF8ToString("http://127.0.0.1:" + std::to_string(ntohs(a.sin_port)) + "/");
    try {
        http.Get(url);
        ADD_FAILURE() << "no exception";
    } catch (const EIdSocketError& e) {
        EXPECT_NE(e.Message().find(L"refused"), String::npos) << UTF8Encode(e.Message());
    }
}

TEST_F(HttpTest, SilentServerTimesOut)
{
    TIdHTTP http;
    http.SetReadTimeout(400);
    auto t0 = std::chrono::steady_clock::now();
    EXPECT_THROW(http.Get(Server.Url("/hang")), EIdReadTimeout);
    auto spent = std::chrono::steady_clock::now() - t0;
    EXPECT_GE(spent, 350ms);
    EXPECT_LT(spent, 5s);
}

TEST_F(HttpTest, BodySizeLimitEndsTheRequestBeforeTheExcessArrives)
{
    // Announced too large, counted too large without a length, and in chunks.
    for (const char* path : {"/body/5000", "/nolength/5000", "/chunked/5000?pieces=5"}) {
        SCOPED_TRACE(path);
        TIdHTTP http;
        http.SetMaxBodySize(3000);
        TMemoryStream got;
        EXPECT_THROW(http.Get(Server.Url(path), got), EIdBodyTooLarge);
        EXPECT_LE(got.Size(), 3000);
        // Exactly the limit still passes.
        http.SetMaxBodySize(5000);
        EXPECT_EQ(http.Get(Server.Url(path)).size(), 5000u);
    }
}

TEST_F(HttpTest, TotalTimeoutEndsASlowBody)
{
    // A byte every 100 ms never trips the read time-out; the total one ends it.
    TIdHTTP http;
    http.SetReadTimeout(1000);
    http.SetTotalTimeout(600);
    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_THROW(http.Get(Server.Url("/slow/1000?block=1&delay=100")), EIdReadTimeout);
    EXPECT_LT(std::chrono::steady_clock::now() - t0, 2s);
}

TEST_F(HttpTest, DisconnectAbortsTheTransfer)
{
    // From inside the progress event.
    TIdHTTP http;
    Int64 seen = 0;
    http.OnWork = [&](TObject* sender, TWorkMode, Int64 count) {
        seen = count;
        if (count >= 3000) static_cast<TIdHTTP*>(sender)->Disconnect();
    };
    EXPECT_THROW(http.Get(Server.Url("/slow/200000?block=1000&delay=5")), EIdClosedSocket);
    EXPECT_GE(seen, 3000);
    EXPECT_LT(seen, 200000);

    // From another thread, while the client waits for data.
    TIdHTTP other;
    std::thread stopper([&] {
        std::this_thread::sleep_for(300ms);
        other.Disconnect();
    });
    auto t0 = std::chrono::steady_clock::now();
    EXPECT_THROW(other.Get(Server.Url("/hang")), EIdClosedSocket);
    EXPECT_LT(std::chrono::steady_clock::now() - t0, 5s);
    stopper.join();

    // The next request works again.
    http.OnWork = nullptr;
    EXPECT_TRUE(IsPattern(http.Get(Server.Url("/body/100")), 100));
}

TEST_F(HttpTest, ADisconnectBetweenRequestsStopsTheNextOneBeforeItConnects)
{
    // A listener of our own, to see whether a connection is even tried.
    int s = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    ASSERT_EQ(bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    ASSERT_EQ(listen(s, 4), 0);
    getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
    String quiet = UTF8ToString("http://127.0.0.1:" + std::to_string(ntohs(a.sin_port)) + "/");

    TIdHTTP http;
    http.SetReadTimeout(3000);
    EXPECT_TRUE(IsPattern(http.Get(Server.Url("/body/10")), 10));
    http.Disconnect();
    EXPECT_THROW(http.Get(quiet), EIdClosedSocket);
    EXPECT_LT(accept(s, nullptr, nullptr), 0) << "the stopped request connected";
    close(s);
    // Only that one request: the next runs.
    EXPECT_TRUE(IsPattern(http.Get(Server.Url("/body/10")), 10));

    // A Disconnect from another thread around the moment a request starts
    // is never lost: the request ends at once, never by its time-out.
    for (int i = 0; i < 20; ++i) {
        TIdHTTP racing;
        racing.SetReadTimeout(3000);
        std::thread stopper([&, i] {
            std::this_thread::sleep_for(std::chrono::microseconds(i * 150));
            racing.Disconnect();
        });
        auto t0 = std::chrono::steady_clock::now();
        EXPECT_THROW(racing.Get(Server.Url("/hang")), EIdClosedSocket) << i;
        EXPECT_LT(std::chrono::steady_clock::now() - t0, 2500ms) << i;
        stopper.join();
    }
}

TEST_F(HttpTest, TlsWithTheTestAuthorityOnly)
{
    TIdHTTP http;
    // The system store does not know the test authority.
    try {
        http.Get(Server.HttpsUrl("/chain/0"));
        ADD_FAILURE() << "no exception";
    } catch (const EIdOSSLConnectError& e) {
        EXPECT_NE(e.Message().find(L"TLS"), String::npos);
    }
    TrustTestCa(http);
    EXPECT_EQ(http.Get(Server.HttpsUrl("/chain/0")), L"arrived");
    EXPECT_EQ(http.Get(Server.HttpsUrl("/chain/0", "localhost")), L"arrived");
    // The scheme is read without regard to case.
    String upper = Server.HttpsUrl("/chain/0");
    upper.replace(0, 5, L"HTTPS");
    EXPECT_EQ(http.Get(upper), L"arrived");
}

class HttpProxyTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Server.Started()) << Server.Error(); }
    void UseProxy(TIdHTTP& http, const String& password)
    {
        http.ProxyParams()->SetProxyServer(L"127.0.0.1");
        http.ProxyParams()->SetProxyPort(Server.ProxyPort());
        http.ProxyParams()->SetProxyUsername(L"velmora");
        http.ProxyParams()->SetProxyPassword(password);
    }
    TTestWebServer Server{{.Tls = true, .Proxy = true, .ProxyAuth = "velmora:s3cret", .ProxyLocalHosts = {}}};
};

TEST_F(HttpProxyTest, RequestsGoThroughTheProxyWithCredentials)
{
    TIdHTTP http;
    UseProxy(http, L"s3cret");
    EXPECT_TRUE(IsPattern(http.Get(Server.Url("/body/1000")), 1000));
    const auto& headers = http.Response()->RawHeaders();
    EXPECT_NE(std::find(headers.begin(), headers.end(), L"Via: 1.1 velmora-test-proxy"), headers.end());

    // TLS through a tunnel.
    auto* ssl = new TIdSSLIOHandlerSocketOpenSSL(&http);
    ssl->SSLOptions()->RootCertFile = UTF8ToString(Server.CaFile());
    http.SetIOHandler(ssl);
    EXPECT_EQ(http.Get(Server.HttpsUrl("/chain/0")), L"arrived");
}

TEST_F(HttpProxyTest, WrongCredentialsAreRefusedWithoutShowingThePassword)
{
    TIdHTTP http;
    UseProxy(http, L"wrong-pass-XYZ");
    for (const String& url : {Server.Url("/body/10"), Server.HttpsUrl("/chain/0")}) {
        try {
            http.Get(url);
            ADD_FAILURE() << "no exception for " << UTF8Encode(url);
        } catch (const EIdHTTPProtocolException& e) {
            EXPECT_EQ(e.ErrorCode(), 407);
            EXPECT_EQ(e.Message().find(L"wrong-pass-XYZ"), String::npos);
        }
    }
}

}  // namespace
