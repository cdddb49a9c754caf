// Starts the local test web server (tools/webserver/server.py) for a test:
// a private temporary folder, a certificate authority and a server
// certificate made with the openssl command, an HTTP and an HTTPS listener
// (and on request a proxy) on free ports of 127.0.0.1. The server stops when
// the object goes, or when the test process dies (it ends at the end of its
// standard input).
//
// Use from any test executable that links vel_os:
//   TTestWebServer srv({.Proxy = true, .ProxyAuth = "user:secret"});
//   ASSERT_TRUE(srv.Started()) << srv.Error();
//   http.Get(srv.Url("/body/10"));
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/os/Process.h"

#ifndef VEL_SOURCE_DIR
#error "TestServer.h needs VEL_SOURCE_DIR (set for every test executable)"
#endif

struct TTestWebServerOptions {
    bool Tls = true;
    bool Proxy = false;
    std::string ProxyAuth;   // "user:password" the proxy demands; empty: none
    // Host names the proxy sends to this server's own listeners.
    std::vector<std::string> ProxyLocalHosts;
};

class TTestWebServer {
public:
    explicit TTestWebServer(const TTestWebServerOptions& opt = {})
    {
        char tmpl[] = "/tmp/velmora-websrv-XXXXXX";
        if (!mkdtemp(tmpl)) {
            FError = "mkdtemp failed";
            return;
        }
        FDir = tmpl;
        std::string tools = std::string(VEL_SOURCE_DIR) + "/tools/webserver";
        if (opt.Tls && Run("/bin/sh " + Quote(tools + "/make-certs.sh") + " " + Quote(FDir)) != 0) {
            FError = "certificate generation failed";
            return;
        }
        // The system interpreter (Debian's python3 package) starts fastest;
        // any python3 on PATH will do otherwise.
        std::string python = access("/usr/bin/python3", X_OK) == 0 ? "/usr/bin/python3" : "python3";
        std::string line = python + " -u " + Quote(tools + "/server.py");
        if (opt.Tls) line += " --cert " + Quote(FDir + "/server.pem") + " --key " + Quote(FDir + "/server.key");
        if (opt.Proxy) {
            line += " --proxy";
            if (!opt.ProxyAuth.empty()) line += " --proxy-auth " + Quote(opt.ProxyAuth);
            for (const auto& h : opt.ProxyLocalHosts) line += " --proxy-local-host " + Quote(h);
        }

        HANDLE inRead = nullptr, outWrite = nullptr;
        SECURITY_ATTRIBUTES sa;
        sa.bInheritHandle = 1;
        CreatePipe(&inRead, &FStdin, &sa, 0);
        CreatePipe(&FStdout, &outWrite, &sa, 0);
        STARTUPINFO si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdInput = inRead;
        si.hStdOutput = outWrite;
        String wline = UTF8ToString(line);
        BOOL ok = CreateProcess(nullptr, wline.c_str(), nullptr, nullptr, 1, 0, nullptr, nullptr,
                                &si, &FProc);
        CloseHandle(inRead);
        CloseHandle(outWrite);
        if (!ok) {
            FError = "cannot start python3";
            return;
        }
        // Read "kind port" lines up to "ready".
        std::string text;
        char c;
        DWORD n;
        while (text.find("ready\n") == std::string::npos && ReadFile(FStdout, &c, 1, &n) && n == 1)
            text += c;
        size_t pos = 0;
        while (pos < text.size()) {
            size_t eol = text.find('\n', pos);
            std::string l = text.substr(pos, eol - pos);
            pos = eol == std::string::npos ? text.size() : eol + 1;
            size_t sp = l.find(' ');
            if (sp == std::string::npos) continue;
            int port = atoi(l.c_str() + sp + 1);
            std::string kind = l.substr(0, sp);
            if (kind == "http") FHttpPort = port;
            if (kind == "https") FHttpsPort = port;
            if (kind == "proxy") FProxyPort = port;
        }
        if (FHttpPort == 0) FError = "server did not start: " + text;
    }

    ~TTestWebServer()
    {
        if (FStdin) CloseHandle(FStdin);   // end of input: the server stops
        if (FProc.hProcess) {
            if (WaitForSingleObject(FProc.hProcess, 5000) != WAIT_OBJECT_0) {
                TerminateProcess(FProc.hProcess, 1);
                WaitForSingleObject(FProc.hProcess, INFINITE);
            }
            CloseHandle(FProc.hProcess);
            CloseHandle(FProc.hThread);
        }
        if (FStdout) CloseHandle(FStdout);
        if (!FDir.empty()) {
            std::error_code ec;
            std::filesystem::remove_all(FDir, ec);
        }
    }

    TTestWebServer(const TTestWebServer&) = delete;
    TTestWebServer& operator=(const TTestWebServer&) = delete;

    bool Started() const { return FHttpPort != 0; }
    const std::string& Error() const { return FError; }
    int HttpPort() const { return FHttpPort; }
    int HttpsPort() const { return FHttpsPort; }
    int ProxyPort() const { return FProxyPort; }
    std::string CaFile() const { return FDir + "/ca.pem"; }
    // Private scratch folder of this server, removed with it.
    const std::string& Dir() const { return FDir; }

    String Url(const std::string& path) const
    {
        return UTF8ToString("http://127.0.0.1:" + std::to_string(FHttpPort) + path);
    }
    String HttpsUrl(const std::string& path, const std::string& host = "127.0.0.1") const
    {
        return UTF8ToString("https://" + host + ":" + std::to_string(FHttpsPort) + path);
    }

private:
    static std::string Quote(const std::string& s) { return "\"" + s + "\""; }

    static int Run(const std::string& line)
    {
        PROCESS_INFORMATION pi;
        STARTUPINFO si;
        String w = UTF8ToString(line);
        if (!CreateProcess(nullptr, w.c_str(), nullptr, nullptr, 0, 0, nullptr, nullptr, &si, &pi))
            return -1;
        WaitForSingleObject(pi.hProcess, INFINITE);
        DWORD code = 1;
        GetExitCodeProcess(pi.hProcess, &code);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
        return int(code);
    }

    std::string FDir, FError;
    PROCESS_INFORMATION FProc;
    HANDLE FStdin = nullptr;
    HANDLE FStdout = nullptr;
    int FHttpPort = 0, FHttpsPort = 0, FProxyPort = 0;
};
