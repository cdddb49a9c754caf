// Window and thread timers. They are due by the window system's tick
// counter (the headless backend's settable one in tests); a due timer is
// handed out as WM_TIMER when the queue has nothing else, and never piles up.
#include <algorithm>

#include "platform/ui/WindowManager.h"

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc)
{
    auto& m = WM();
    std::lock_guard<std::recursive_mutex> g(m.lock);
    DWORD thread = GetCurrentThreadId();
    if (hwnd) {
        TWnd* w = WndOf(hwnd);
        if (!w) return 0;
        thread = w->threadId;
    }
    elapseMs = std::max<UINT>(elapseMs, 10);
    auto it = std::find_if(m.timers.begin(), m.timers.end(), [&](const TTimerRec& t) {
        return t.hwnd == hwnd && t.id == id && (hwnd || t.threadId == thread);
    });
    if (!hwnd && it == m.timers.end()) id = m.nextThreadTimer++;
    TTimerRec rec;
    rec.hwnd = hwnd;
    rec.id = id;
    rec.elapse = elapseMs;
    rec.proc = proc;
    rec.due = UiTickCount() + elapseMs;
    rec.threadId = thread;
    if (it != m.timers.end())
        *it = rec;
    else
        m.timers.push_back(rec);
    return (hwnd && id == 0) ? 1 : id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id)
{
    auto& m = WM();
    std::lock_guard<std::recursive_mutex> g(m.lock);
    auto it = std::find_if(m.timers.begin(), m.timers.end(),
                           [&](const TTimerRec& t) { return t.hwnd == hwnd && t.id == id; });
    if (it == m.timers.end()) return FALSE;
    m.timers.erase(it);
    // A WM_TIMER of this timer that is already in the queue goes too.
    for (auto& [tid, q] : m.queues) {
        auto& p = q->posted;
        p.erase(std::remove_if(p.begin(), p.end(), [&](const MSG& msg) {
                    return msg.message == WM_TIMER && msg.hwnd == hwnd && msg.wParam == id;
                }), p.end());
    }
    return TRUE;
}
