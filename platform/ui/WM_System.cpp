// System metrics and parameters, monitors, the bell, the tick counter, and
// the reset the test driver uses between tests.
#include <algorithm>

#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Backend.h"

int GetSystemMetrics(int index)
{
    switch (index) {
    case SM_CXSCREEN: {
        auto mons = Backend().Monitors();
        return mons.empty() ? 0 : mons.front().Bounds.Width();
    }
    case SM_CYSCREEN: {
        auto mons = Backend().Monitors();
        return mons.empty() ? 0 : mons.front().Bounds.Height();
    }
    case SM_CXFULLSCREEN: {
        auto mons = Backend().Monitors();
        return mons.empty() ? 0 : mons.front().WorkArea.Width();
    }
    case SM_CYFULLSCREEN: {
        auto mons = Backend().Monitors();
        return mons.empty() ? 0 : mons.front().WorkArea.Height() - GetSystemMetrics(SM_CYCAPTION);
    }
    case SM_XVIRTUALSCREEN:
    case SM_YVIRTUALSCREEN:
    case SM_CXVIRTUALSCREEN:
    case SM_CYVIRTUALSCREEN: {
        auto mons = Backend().Monitors();
        TRect u{};
        for (auto& mn : mons) UnionRect(u, u, mn.Bounds);
        return index == SM_XVIRTUALSCREEN ? u.Left : index == SM_YVIRTUALSCREEN ? u.Top
               : index == SM_CXVIRTUALSCREEN ? u.Width() : u.Height();
    }
    case SM_CMONITORS: return int(Backend().Monitors().size());
    case SM_CXVSCROLL: case SM_CYHSCROLL: case SM_CYVSCROLL: case SM_CXHSCROLL: return 17;
    case SM_CYVTHUMB: case SM_CXHTHUMB: return 17;
    case SM_CYCAPTION: return 22;
    case SM_CYSMCAPTION: return 18;
    case SM_CXBORDER: case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME: case SM_CYDLGFRAME: return 3;
    case SM_CXFRAME: case SM_CYFRAME: return 4;
    case SM_CXEDGE: case SM_CYEDGE: return 2;
    case SM_CXICON: case SM_CYICON: return 32;
    case SM_CXCURSOR: case SM_CYCURSOR: return 32;
    case SM_CXSMICON: case SM_CYSMICON: return 16;
    case SM_CYMENU: return 20;
    case SM_CXSIZE: case SM_CYSIZE: return 18;
    case SM_CXMIN: return 112;
    case SM_CYMIN: return 27;
    case SM_CXMINTRACK: return 112;
    case SM_CYMINTRACK: return 27;
    case SM_CXDOUBLECLK: case SM_CYDOUBLECLK: return 4;
    case SM_CXDRAG: case SM_CYDRAG: return 4;
    case SM_MOUSEPRESENT: case SM_MOUSEWHEELPRESENT: return 1;
    case SM_SWAPBUTTON: return 0;
    default: return 0;
    }
}

BOOL SystemParametersInfo(UINT action, UINT uiParam, void* pv, UINT)
{
    auto& m = WM();
    switch (action) {
    case SPI_GETWORKAREA: {
        if (!pv) return FALSE;
        auto mons = Backend().Monitors();
        *static_cast<TRect*>(pv) = mons.empty() ? TRect{} : mons.front().WorkArea;
        return TRUE;
    }
    case SPI_GETWHEELSCROLLLINES:
        if (!pv) return FALSE;
        *static_cast<UINT*>(pv) = m.wheelLines;
        return TRUE;
    case SPI_GETMENUANIMATION:
        if (!pv) return FALSE;
        *static_cast<BOOL*>(pv) = m.menuAnimation;
        return TRUE;
    case SPI_SETMENUANIMATION:
        m.menuAnimation = pv ? TRUE : FALSE;
        return TRUE;
    case SPI_GETHIGHCONTRAST: {
        if (!pv) return FALSE;
        auto* hc = static_cast<HIGHCONTRAST*>(pv);
        hc->dwFlags = 0;
        return TRUE;
    }
    case SPI_GETDRAGFULLWINDOWS:
    case SPI_GETKEYBOARDCUES:
        if (!pv) return FALSE;
        *static_cast<BOOL*>(pv) = TRUE;
        return TRUE;
    default:
        (void)uiParam;
        return FALSE;
    }
}

namespace {
HMONITOR MonitorHandle(size_t index) { return reinterpret_cast<HMONITOR>(index + 1); }

long DistanceSq(const TRect& r, TPoint p)
{
    long dx = p.X < r.Left ? r.Left - p.X : p.X >= r.Right ? p.X - r.Right + 1 : 0;
    long dy = p.Y < r.Top ? r.Top - p.Y : p.Y >= r.Bottom ? p.Y - r.Bottom + 1 : 0;
    return dx * dx + dy * dy;
}
}  // namespace

HMONITOR MonitorFromPoint(TPoint p, DWORD flags)
{
    auto mons = Backend().Monitors();
    if (mons.empty()) return nullptr;
    for (size_t i = 0; i < mons.size(); ++i)
        if (PtInRect(mons[i].Bounds, p)) return MonitorHandle(i);
    if (flags == MONITOR_DEFAULTTONULL) return nullptr;
    if (flags == MONITOR_DEFAULTTOPRIMARY) return MonitorHandle(0);
    size_t best = 0;
    for (size_t i = 1; i < mons.size(); ++i)
        if (DistanceSq(mons[i].Bounds, p) < DistanceSq(mons[best].Bounds, p)) best = i;
    return MonitorHandle(best);
}

HMONITOR MonitorFromRect(const TRect* r, DWORD flags)
{
    if (!r) return nullptr;
    auto mons = Backend().Monitors();
    long bestArea = 0;
    size_t best = 0;
    bool found = false;
    for (size_t i = 0; i < mons.size(); ++i) {
        TRect x;
        if (IntersectRect(x, mons[i].Bounds, *r)) {
            long a = long(x.Width()) * x.Height();
            if (!found || a > bestArea) {
                best = i;
                bestArea = a;
                found = true;
            }
        }
    }
    if (found) return MonitorHandle(best);
    return MonitorFromPoint({(r->Left + r->Right) / 2, (r->Top + r->Bottom) / 2}, flags);
}

HMONITOR MonitorFromWindow(HWND hwnd, DWORD flags)
{
    TRect r = WindowRectScreen(RootOf(hwnd));
    return MonitorFromRect(&r, flags);
}

BOOL GetMonitorInfo(HMONITOR monitor, MONITORINFO* info)
{
    auto mons = Backend().Monitors();
    size_t i = reinterpret_cast<uintptr_t>(monitor);
    if (!info || i == 0 || i > mons.size()) return FALSE;
    info->rcMonitor = mons[i - 1].Bounds;
    info->rcWork = mons[i - 1].WorkArea;
    info->dwFlags = i == 1 ? DWORD(MONITORINFOF_PRIMARY) : 0u;
    return TRUE;
}

BOOL MessageBeep(UINT)
{
    ++WM().beeps;
    if (HasBackend()) Backend().Beep();
    return TRUE;
}

int MessageBeepCount() { return WM().beeps; }

DWORD UiTickCount() { return Backend().TickCount(); }

void WmResetForTests()
{
    auto& m = WM();
    DWORD me = GetCurrentThreadId();
    for (int round = 0; round < 8; ++round) {
        std::vector<HWND> tops;
        {
            std::lock_guard<std::recursive_mutex> g(m.lock);
            tops = m.topLevels;
        }
        if (tops.empty()) break;
        for (HWND t : tops)
            if (TWnd* w = WndOf(t); w && w->threadId == me) DestroyWindow(t);
    }
    std::lock_guard<std::recursive_mutex> g(m.lock);
    m.queues.clear();
    m.timers.clear();
    m.hooks.clear();
    m.focus = m.active = m.capture = nullptr;
    m.appActive = false;
    m.sizeMove = TSizeMove{};
    m.scrollTrack = TScrollTrack{};
    m.trackLeave = m.trackNcLeave = m.lastMouseWindow = m.lastClickWnd = nullptr;
    m.altAlone = false;
    m.lastWasDouble = false;
    std::fill(std::begin(m.keys), std::end(m.keys), Byte(0));
    m.cursorPos = {};
    m.cursor = nullptr;
    m.doubleClickTime = 500;
    m.menuAnimation = TRUE;
    m.charsFromKeys = !HasBackend() || Backend().Name() != L"sdl";
    m.beeps = 0;
}

namespace {
void BroadcastDown(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, DWORD me)
{
    TWnd* w = WndOf(h);
    if (!w) return;
    if (w->threadId == me)
        SendMessage(h, msg, wParam, lParam);
    else
        PostMessage(h, msg, wParam, lParam);
    if (!(w = WndOf(h))) return;
    std::vector<HWND> kids = w->children;
    for (HWND c : kids) BroadcastDown(c, msg, wParam, lParam, me);
}
}  // namespace

void WmBroadcast(UINT msg, WPARAM wParam, LPARAM lParam)
{
    std::vector<HWND> tops;
    {
        std::lock_guard<std::recursive_mutex> g(WM().lock);
        tops = WM().topLevels;
    }
    DWORD me = GetCurrentThreadId();
    for (HWND t : tops) BroadcastDown(t, msg, wParam, lParam, me);
}
