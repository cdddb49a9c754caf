// A window class that records the messages its windows get, for the window
// manager tests.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <vector>

#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Headless.h"

struct TLogged {
    HWND hwnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

class TWmLog {
public:
    static TWmLog& Get()
    {
        static TWmLog log;
        return log;
    }
    std::vector<TLogged> Entries;
    // Per-window answers that replace the default handling of a message.
    std::map<std::pair<HWND, UINT>, std::function<LRESULT(WPARAM, LPARAM)>> Handlers;
    std::vector<UINT> Ignored{WM_GETMINMAXINFO, WM_NCHITTEST, WM_SETCURSOR, WM_NCPAINT,
                              WM_ERASEBKGND, WM_PAINT, WM_GETTEXT, WM_GETTEXTLENGTH,
                              WM_NCMOUSEMOVE, WM_MOUSEMOVE};

    void Clear() { Entries.clear(); }
    // The recorded messages (numbers) of one window, or of all.
    std::vector<UINT> Msgs(HWND h = nullptr) const
    {
        std::vector<UINT> r;
        for (auto& e : Entries)
            if (!h || e.hwnd == h) r.push_back(e.msg);
        return r;
    }
    std::vector<TLogged> Of(UINT msg) const
    {
        std::vector<TLogged> r;
        for (auto& e : Entries)
            if (e.msg == msg) r.push_back(e);
        return r;
    }
    // Index of the first entry for (hwnd, msg) at or after `from`; -1 if none.
    int Find(HWND h, UINT msg, size_t from = 0) const
    {
        for (size_t i = from; i < Entries.size(); ++i)
            if (Entries[i].hwnd == h && Entries[i].msg == msg) return int(i);
        return -1;
    }

    static LRESULT Proc(HWND h, UINT msg, WPARAM w, LPARAM l)
    {
        auto& log = Get();
        bool ignored = false;
        for (UINT i : log.Ignored) ignored |= i == msg;
        if (!ignored) log.Entries.push_back({h, msg, w, l});
        auto it = log.Handlers.find({h, msg});
        if (it != log.Handlers.end()) return it->second(w, l);
        return DefWindowProc(h, msg, w, l);
    }

    static void Register()
    {
        WNDCLASS wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = &TWmLog::Proc;
        wc.lpszClassName = L"LogWnd";
        RegisterClass(wc);
        WNDCLASS plain;
        plain.lpfnWndProc = &TWmLog::Proc;
        plain.lpszClassName = L"PlainWnd";
        RegisterClass(plain);
    }
};

class WmTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Drv = std::make_unique<THeadlessDriver>();
        TWmLog::Get().Clear();
        TWmLog::Get().Handlers.clear();
        TWmLog::Register();
    }
    void TearDown() override
    {
        Drv.reset();
        TWmLog::Get().Handlers.clear();
        TWmLog::Get().Clear();
        UnregisterClass(L"LogWnd");
        UnregisterClass(L"PlainWnd");
    }
    HWND Top(int x, int y, int w, int h, DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE,
             DWORD ex = 0, HWND owner = nullptr, const wchar_t* cls = L"LogWnd")
    {
        return CreateWindowEx(ex, cls, L"top", style, x, y, w, h, owner);
    }
    HWND Child(HWND parent, int x, int y, int w, int h, DWORD style = WS_CHILD | WS_VISIBLE, int id = 0)
    {
        return CreateWindowEx(0, L"LogWnd", L"child", style, x, y, w, h, parent,
                              reinterpret_cast<HMENU>(uintptr_t(id)));
    }
    TWmLog& Log() { return TWmLog::Get(); }
    std::unique_ptr<THeadlessDriver> Drv;
};
