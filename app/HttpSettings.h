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
};

// Configures a new client the way every request of the downloader goes:
// redirects followed, cookies kept, the fixed user agent, the proxy and the
// TLS handler (which the caller owns).
void ConfigureHttpClient(TIdHTTP& http, TIdSSLIOHandlerSocketOpenSSL& tls, const THttpSettings& s);
