#include "app/HttpSettings.h"

#include "app/SiteConstants.h"
#include "platform/os/Http.h"

void ConfigureHttpClient(TIdHTTP& http, TIdSSLIOHandlerSocketOpenSSL& tls, const THttpSettings& s)
{
    http.SetHandleRedirects(true);
    http.SetAllowCookies(true);
    http.Request()->SetUserAgent(kUserAgent);
    if (s.useProxy && !s.proxyServer.empty()) {
        http.ProxyParams()->SetProxyServer(s.proxyServer);
        http.ProxyParams()->SetProxyPort(s.proxyPort);
        http.ProxyParams()->SetProxyUsername(s.proxyUsername);
        http.ProxyParams()->SetProxyPassword(s.proxyPassword);
    }
    http.SetConnectTimeout(s.connectTimeoutMs);
    http.SetReadTimeout(s.stallTimeoutMs);
    tls.SSLOptions()->RootCertFile = s.rootCertFile;
    http.SetIOHandler(&tls);
}
