// The local web server with the own site on it, and a main-thread pump for
// tests of the worker threads.
#pragma once

#include <chrono>
#include <functional>

#include "app/HttpSettings.h"
#include "app/SiteConstants.h"
#include "platform/base/Threads.h"
#include "platform/os/Http.h"
#include "tools/webserver/TestServer.h"

// Runs the methods workers hand to the main thread until done() or the
// time-out; answers done().
inline bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 20000)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        CheckSynchronize(20);
    }
    return true;
}

// The server, with the own site's host pointed at it for the test's life.
class TOwnSiteServer {
public:
    TOwnSiteServer() : FServer(TTestWebServerOptions{}) 
    {
        if (FServer.Started())
            SetOwnSiteHost(UTF8ToString("127.0.0.1:" + std::to_string(FServer.HttpPort())));
    }
    ~TOwnSiteServer() { SetOwnSiteHost(L""); }

    TTestWebServer& Server() { return FServer; }
    bool Started() const { return FServer.Started(); }
    String Url(const std::string& path) const { return FServer.Url(path); }
    THttpSettings Settings() const
    {
        THttpSettings s;
        s.rootCertFile = UTF8ToString(FServer.CaFile());
        return s;
    }
    // The own-site requests so far, one line each.
    std::vector<std::string> Log()
    {
        TIdHTTP http;
        const std::string text = UTF8Encode(http.Get(FServer.Url("/ownsite/log")));
        std::vector<std::string> lines;
        size_t pos = 0;
        while (pos < text.size()) {
            const size_t eol = text.find('\n', pos);
            lines.push_back(text.substr(pos, eol - pos));
            pos = eol == std::string::npos ? text.size() : eol + 1;
        }
        return lines;
    }

private:
    TTestWebServer FServer;
};
