// What every HTTP client of the downloader is given: the user agent, the
// proxy of the settings and the certificate authorities to trust.
#pragma once

#include "platform/base/Types.h"

class TIdHTTP;
class TIdSSLIOHandlerSocketOpenSSL;

struct THttpSettings {
    bool useProxy = false;
    String proxyServer;
    Integer proxyPort = 0;
    String proxyUsername;
    String proxyPassword;
    // A PEM file of authorities to trust instead of the system store; "" for
    // the system store.
    String rootCertFile;
    // Milliseconds: connecting may take connectTimeoutMs; a transfer that
    // receives no byte for stallTimeoutMs fails; a page fetch (every request
    // of it together) ends within pageFetchTimeoutMs, the "up to 3 minutes"
    // the wait window promises.
    int connectTimeoutMs = 30000;
    int stallTimeoutMs = 60000;
    int pageFetchTimeoutMs = 180000;
};

// The largest page the page fetch reads.
constexpr Int64 kMaxPageBytes = Int64(32) << 20;

// Configures a new client the way every request of the downloader goes:
// redirects followed, cookies kept, the fixed user agent, the proxy, the
// connect and stall time-outs and the TLS handler (which the caller owns).
void ConfigureHttpClient(TIdHTTP& http, TIdSSLIOHandlerSocketOpenSSL& tls, const THttpSettings& s);
