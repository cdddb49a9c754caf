// The message queue: sent messages (also across threads), posted messages,
// the retrieval loop with its priorities (sent, posted, quit, paint, timer),
// key translation, registered messages and the window-procedure hooks.
#include <algorithm>
#include <chrono>
#include <cwctype>

#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Backend.h"

namespace {

using Lock = std::unique_lock<std::recursive_mutex>;

thread_local int tlInSendFromOther = 0;
thread_local std::vector<uintptr_t> tlHookStack;  // hooks being run on this thread

// Optional helpers the base layer's threads hand in (Synchronize/Queue).
void (*gIdleHook)() = nullptr;

LRESULT CallHooked(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, bool fromOther)
{
    auto& m = WM();
    THookRec first;
    {
        std::lock_guard<std::recursive_mutex> g(m.lock);
        DWORD me = GetCurrentThreadId();
        for (auto& hk : m.hooks)
            if (hk.kind == WH_CALLWNDPROC && (hk.threadId == me || hk.threadId == 0)) {
                first = hk;
                break;
            }
    }
    if (first.proc) {
        CWPSTRUCT cwp{lParam, wParam, msg, h};
        tlHookStack.push_back(first.id);
        first.proc(HC_ACTION, fromOther ? 0 : 1, LPARAM(&cwp));
        tlHookStack.pop_back();
    }
    TWnd* w = WndOf(h);
    if (!w) return 0;
    return w->proc ? w->proc(h, msg, wParam, lParam) : 0;
}

// Runs the messages other threads sent to this thread. Called with the
// lock held once; drops it around each call.
bool RunIncomingSends(TThreadQueue& q, Lock& lk)
{
    bool any = false;
    while (!q.sent.empty()) {
        auto sm = q.sent.front();
        q.sent.pop_front();
        any = true;
        lk.unlock();
        ++tlInSendFromOther;
        LRESULT r = 0;
        try {
            r = CallHooked(sm->hwnd, sm->msg, sm->wParam, sm->lParam, true);
        } catch (...) {
            r = 0;
        }
        --tlInSendFromOther;
        lk.lock();
        sm->result = r;
        sm->done = true;
        auto it = WM().queues.find(sm->senderThread);
        if (it != WM().queues.end()) it->second->cv.notify_all();
    }
    return any;
}

bool MatchesFilter(const MSG& msg, HWND filter, UINT mn, UINT mx)
{
    if (filter == reinterpret_cast<HWND>(-1)) {
        if (msg.hwnd) return false;
    } else if (filter) {
        if (msg.hwnd != filter && !IsChild(filter, msg.hwnd)) return false;
    }
    if (mn == 0 && mx == 0) return true;
    return msg.message >= mn && msg.message <= mx;
}

bool InRange(UINT msg, UINT mn, UINT mx) { return (mn == 0 && mx == 0) || (msg >= mn && msg <= mx); }

// The visible windows under each top-level, parents before their children,
// and how far along each list no window of this thread waited for WM_PAINT
// when it was last looked at. While no window's geometry changed and none
// came to need painting since, the next look starts there: painting a
// window after another then costs the windows passed, not all of them.
struct TPaintSearch {
    uint64_t GeometryGen = ~uint64_t(0), PaintGen = ~uint64_t(0);
    std::vector<HWND> Tops;
    std::vector<std::vector<HWND>> Order;  // per top-level
    std::vector<size_t> From;

    static void Flatten(HWND h, std::vector<HWND>& out)
    {
        TWnd* w = WndOf(h);
        if (!w || !(w->style & WS_VISIBLE)) return;
        out.push_back(h);
        for (HWND c : w->children) Flatten(c, out);
    }
    // Brings the lists up to date for these top-levels (under the lock).
    void Prepare(const std::vector<HWND>& tops)
    {
        uint64_t geo = WM().geometryGen.load(std::memory_order_relaxed);
        uint64_t paint = WM().paintGen.load(std::memory_order_relaxed);
        if (geo != GeometryGen || tops != Tops) {
            Tops = tops;
            Order.assign(tops.size(), {});
            for (size_t i = 0; i < tops.size(); ++i) Flatten(tops[i], Order[i]);
            From.assign(tops.size(), 0);
        } else if (paint != PaintGen) {
            From.assign(tops.size(), 0);
        }
        GeometryGen = geo;
        PaintGen = paint;
    }
    // The first window under top-level i of this thread that waits for
    // WM_PAINT, parents before their children.
    HWND Find(size_t i, DWORD me)
    {
        std::vector<HWND>& order = Order[i];
        size_t k = From[i];
        for (; k < order.size(); ++k) {
            TWnd* w = WndOf(order[k]);
            if (w && w->threadId == me && w->redraw &&
                (!IsRectEmpty(w->update) || w->internalPaint || w->ncPaint))
                break;
        }
        From[i] = k;
        return k < order.size() ? order[k] : nullptr;
    }
};

bool FetchMessage(MSG* out, HWND filter, UINT mn, UINT mx, bool remove)
{
    auto& m = WM();
    DWORD me = GetCurrentThreadId();
    Lock lk(m.lock);
    TThreadQueue& q = QueueOf(me);
    RunIncomingSends(q, lk);
    for (auto it = q.posted.begin(); it != q.posted.end(); ++it) {
        if (!MatchesFilter(*it, filter, mn, mx)) continue;
        *out = *it;
        if (remove) q.posted.erase(it);
        q.last = *out;
        return true;
    }
    if (q.quit && !filter && InRange(WM_QUIT, mn, mx)) {
        *out = MSG{};
        out->message = WM_QUIT;
        out->wParam = WPARAM(q.quitCode);
        out->time = UiTickCount();
        out->pt = m.cursorPos;
        if (remove) q.quit = false;
        return true;
    }
    if (InRange(WM_PAINT, mn, mx)) {
        thread_local TPaintSearch search;
        search.Prepare(m.topLevels);
        for (size_t i = search.Tops.size(); i-- > 0;) {
            HWND p = search.Find(i, me);
            if (p && (!filter || p == filter || IsChild(filter, p))) {
                *out = MSG{p, WM_PAINT, 0, 0, UiTickCount(), m.cursorPos};
                return true;
            }
        }
    }
    if (InRange(WM_TIMER, mn, mx)) {
        DWORD now = UiTickCount();
        for (auto& t : m.timers) {
            if (t.threadId != me) continue;
            if (int32_t(now - t.due) < 0) continue;
            if (filter && t.hwnd != filter && !IsChild(filter, t.hwnd)) continue;
            *out = MSG{t.hwnd, WM_TIMER, t.id, LPARAM(reinterpret_cast<intptr_t>(t.proc)), now,
                       m.cursorPos};
            if (remove) t.due = now + t.elapse;
            return true;
        }
    }
    return false;
}

// Milliseconds until the next timer of this thread is due (capped).
DWORD NextTimerWait(DWORD cap)
{
    auto& m = WM();
    std::lock_guard<std::recursive_mutex> g(m.lock);
    DWORD me = GetCurrentThreadId();
    DWORD now = UiTickCount();
    DWORD best = cap;
    for (auto& t : m.timers) {
        if (t.threadId != me) continue;
        int32_t d = int32_t(t.due - now);
        if (d <= 0) return 0;
        best = std::min<DWORD>(best, DWORD(d));
    }
    return best;
}

// Runs work queued by other threads; answers whether there was any.
bool IdleStep()
{
    const bool ran = CheckSynchronize(0);
    if (gIdleHook) gIdleHook();
    return ran;
}

// Waits until this thread's queue may hold something new.
void WaitForInput(DWORD maxMs)
{
    DWORD wait = NextTimerWait(maxMs);
    if (wait == 0) return;
    if (HasBackend() && Backend().PumpEvents(0)) return;
    auto& m = WM();
    Lock lk(m.lock);
    TThreadQueue& q = QueueOf(GetCurrentThreadId());
    if (!q.posted.empty() || !q.sent.empty() || q.quit) return;
    q.cv.wait_for(lk, std::chrono::milliseconds(std::min<DWORD>(wait, 20)));
}

}  // namespace

void WmSetIdleHook(void (*hook)()) { gIdleHook = hook; }

TThreadQueue& QueueOf(DWORD threadId)
{
    auto& m = WM();
    std::lock_guard<std::recursive_mutex> g(m.lock);
    auto& q = m.queues[threadId];
    if (!q) {
        q = std::make_shared<TThreadQueue>();
        q->threadId = threadId;
    }
    return *q;
}

LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto& m = WM();
    if (hwnd == HWND_BROADCAST) {
        std::vector<HWND> tops;
        {
            std::lock_guard<std::recursive_mutex> g(m.lock);
            tops = m.topLevels;
        }
        for (HWND t : tops) SendMessage(t, msg, wParam, lParam);
        return 0;
    }
    DWORD target;
    {
        std::lock_guard<std::recursive_mutex> g(m.lock);
        TWnd* w = WndOf(hwnd);
        if (!w) return 0;
        target = w->threadId;
    }
    DWORD me = GetCurrentThreadId();
    if (target == me) return CallHooked(hwnd, msg, wParam, lParam, false);

    // Another thread's window: queue the call there and wait for its
    // answer, running what others send to this thread meanwhile.
    auto sm = std::make_shared<TSentMessage>();
    sm->hwnd = hwnd;
    sm->msg = msg;
    sm->wParam = wParam;
    sm->lParam = lParam;
    sm->senderThread = me;
    Lock lk(m.lock);
    TThreadQueue& mine = QueueOf(me);
    TThreadQueue& theirs = QueueOf(target);
    theirs.sent.push_back(sm);
    theirs.cv.notify_all();
    if (HasBackend()) Backend().Wake();
    while (!sm->done) {
        if (RunIncomingSends(mine, lk)) continue;
        if (!WndOf(hwnd)) {
            auto& s = theirs.sent;
            s.erase(std::remove(s.begin(), s.end(), sm), s.end());
            return 0;
        }
        mine.cv.wait_for(lk, std::chrono::milliseconds(20));
    }
    return sm->result;
}

BOOL InSendMessage() { return tlInSendFromOther > 0 ? TRUE : FALSE; }

BOOL PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto& m = WM();
    if (!hwnd) return PostThreadMessage(GetCurrentThreadId(), msg, wParam, lParam);
    if (hwnd == HWND_BROADCAST) {
        std::vector<HWND> tops;
        {
            std::lock_guard<std::recursive_mutex> g(m.lock);
            tops = m.topLevels;
        }
        for (HWND t : tops) PostMessage(t, msg, wParam, lParam);
        return TRUE;
    }
    {
        std::lock_guard<std::recursive_mutex> g(m.lock);
        TWnd* w = WndOf(hwnd);
        if (!w) return FALSE;
        TThreadQueue& q = QueueOf(w->threadId);
        q.posted.push_back(MSG{hwnd, msg, wParam, lParam, UiTickCount(), m.cursorPos});
        q.cv.notify_all();
    }
    if (HasBackend()) Backend().Wake();
    return TRUE;
}

BOOL PostThreadMessage(DWORD threadId, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto& m = WM();
    {
        std::lock_guard<std::recursive_mutex> g(m.lock);
        TThreadQueue& q = QueueOf(threadId);
        q.posted.push_back(MSG{nullptr, msg, wParam, lParam, UiTickCount(), m.cursorPos});
        q.cv.notify_all();
    }
    if (HasBackend()) Backend().Wake();
    return TRUE;
}

void PostQuitMessage(int exitCode)
{
    auto& m = WM();
    std::lock_guard<std::recursive_mutex> g(m.lock);
    TThreadQueue& q = QueueOf(GetCurrentThreadId());
    q.quit = true;
    q.quitCode = exitCode;
    q.cv.notify_all();
}

BOOL PeekMessage(MSG* msg, HWND hwnd, UINT mn, UINT mx, UINT removeFlags)
{
    IdleStep();
    if (HasBackend()) Backend().PumpEvents(0);
    MSG tmp;
    if (!FetchMessage(&tmp, hwnd, mn, mx, (removeFlags & PM_REMOVE) != 0)) return FALSE;
    if (msg) *msg = tmp;
    return TRUE;
}

BOOL GetMessage(MSG* msg, HWND hwnd, UINT mn, UINT mx)
{
    for (;;) {
        IdleStep();
        MSG tmp;
        if (FetchMessage(&tmp, hwnd, mn, mx, true)) {
            if (msg) *msg = tmp;
            return tmp.message == WM_QUIT ? FALSE : TRUE;
        }
        WaitForInput(1000);
    }
}

BOOL WaitMessage()
{
    for (;;) {
        // Work queued by a worker counts as news: a caller waiting for a
        // worker's result must get to look at it.
        if (IdleStep()) return TRUE;
        MSG tmp;
        if (FetchMessage(&tmp, nullptr, 0, 0, false)) return TRUE;
        WaitForInput(1000);
    }
}

void WmWakeAll()
{
    auto& m = WM();
    {
        std::lock_guard<std::recursive_mutex> g(m.lock);
        for (auto& [id, q] : m.queues) q->cv.notify_all();
    }
    if (HasBackend()) Backend().Wake();
}

DWORD GetMessageTime() { return QueueOf(GetCurrentThreadId()).last.time; }

DWORD GetMessagePos()
{
    TPoint p = QueueOf(GetCurrentThreadId()).last.pt;
    return DWORD(MAKELPARAM(p.X, p.Y));
}

// ---------------------------------------------------------------------------
// Key translation

namespace {

wchar_t CharForKey(Word vk, bool shift, bool caps, bool ctrl)
{
    if (vk >= 'A' && vk <= 'Z') {
        if (ctrl) return wchar_t(vk - 'A' + 1);
        bool upper = shift != caps;
        return wchar_t(upper ? vk : vk + 32);
    }
    if (ctrl) {
        if (vk == VK_RETURN) return 10;
        if (vk == VK_BACK) return 127;
        if (vk == VK_OEM_4) return 27;
        if (vk == VK_OEM_6) return 29;
        if (vk == VK_OEM_5) return 28;
        if (vk == VK_ESCAPE) return 27;
        return 0;
    }
    if (vk >= '0' && vk <= '9') {
        static const wchar_t shifted[] = L")!@#$%^&*(";
        return shift ? shifted[vk - '0'] : wchar_t(vk);
    }
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return wchar_t('0' + (vk - VK_NUMPAD0));
    switch (vk) {
    case VK_SPACE: return L' ';
    case VK_RETURN: return 13;
    case VK_BACK: return 8;
    case VK_TAB: return 9;
    case VK_ESCAPE: return 27;
    case VK_MULTIPLY: return L'*';
    case VK_ADD: return L'+';
    case VK_SUBTRACT: return L'-';
    case VK_DECIMAL: return L'.';
    case VK_DIVIDE: return L'/';
    case VK_OEM_1: return shift ? L':' : L';';
    case VK_OEM_PLUS: return shift ? L'+' : L'=';
    case VK_OEM_COMMA: return shift ? L'<' : L',';
    case VK_OEM_MINUS: return shift ? L'_' : L'-';
    case VK_OEM_PERIOD: return shift ? L'>' : L'.';
    case VK_OEM_2: return shift ? L'?' : L'/';
    case VK_OEM_3: return shift ? L'~' : L'`';
    case VK_OEM_4: return shift ? L'{' : L'[';
    case VK_OEM_5: return shift ? L'|' : L'\\';
    case VK_OEM_6: return shift ? L'}' : L']';
    case VK_OEM_7: return shift ? L'"' : L'\'';
    default: return 0;
    }
}

}  // namespace

bool WmKeyForChar(wchar_t ch, Word& vk, bool& shift)
{
    for (int k = 1; k < 256; ++k) {
        if (k == VK_RETURN && ch == 10) continue;
        for (int s = 0; s < 2; ++s)
            if (CharForKey(Word(k), s != 0, false, false) == ch && !(k >= VK_NUMPAD0 && k <= VK_DIVIDE)) {
                vk = Word(k);
                shift = s != 0;
                return true;
            }
    }
    return false;
}

void WmSetCharsFromKeys(bool on) { WM().charsFromKeys = on; }
bool WmCharsFromKeys() { return WM().charsFromKeys; }

BOOL TranslateMessage(const MSG* msg)
{
    if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return FALSE;
    auto& m = WM();
    bool shift = (m.keys[VK_SHIFT] & 0x80) != 0;
    bool caps = (m.keys[VK_CAPITAL] & 1) != 0;
    bool ctrl = (m.keys[VK_CONTROL] & 0x80) != 0 && !(m.keys[VK_MENU] & 0x80);
    wchar_t ch = CharForKey(Word(msg->wParam), shift, caps, ctrl);
    if (!ch) return FALSE;
    UINT charMsg = msg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
    // Printable characters come from the desktop's text input then.
    if (!m.charsFromKeys && charMsg == WM_CHAR && ch >= 0x20 && ch != 0x7F) return FALSE;
    std::lock_guard<std::recursive_mutex> g(m.lock);
    TWnd* w = WndOf(msg->hwnd);
    if (!w) return FALSE;
    TThreadQueue& q = QueueOf(w->threadId);
    // The character comes next, ahead of keys typed after it.
    q.posted.push_front(MSG{msg->hwnd, charMsg, WPARAM(ch), msg->lParam, msg->time, msg->pt});
    return TRUE;
}

LRESULT DispatchMessage(const MSG* msg)
{
    if (!msg || !msg->hwnd) {
        if (msg && msg->message == WM_TIMER && msg->lParam)
            reinterpret_cast<TIMERPROC>(msg->lParam)(nullptr, WM_TIMER, msg->wParam, UiTickCount());
        return 0;
    }
    TWnd* w = WndOf(msg->hwnd);
    if (!w) return 0;
    if (msg->message == WM_TIMER && msg->lParam) {
        reinterpret_cast<TIMERPROC>(msg->lParam)(msg->hwnd, WM_TIMER, msg->wParam, UiTickCount());
        return 0;
    }
    LRESULT r = w->proc ? w->proc(msg->hwnd, msg->message, msg->wParam, msg->lParam) : 0;
    if (msg->message == WM_PAINT) {
        // A window procedure that left the window invalid would get WM_PAINT
        // forever: validate it.
        if (TWnd* after = WndOf(msg->hwnd)) {
            after->update = TRect{};
            after->internalPaint = false;
            after->ncPaint = false;
            after->erase = false;
        }
    }
    return r;
}

namespace {
std::function<bool(MSG&)>& PreDispatchHook()
{
    static auto* hook = new std::function<bool(MSG&)>;
    return *hook;
}
}  // namespace

void WmSetPreDispatchHook(std::function<bool(MSG&)> hook) { PreDispatchHook() = std::move(hook); }

bool WmPreDispatch(MSG& msg)
{
    auto& h = PreDispatchHook();
    return h && h(msg);
}

void WmPumpPending()
{
    MSG msg;
    for (int guard = 0; guard < 100000; ++guard) {
        if (!PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE)) return;
        if (msg.message == WM_QUIT) return;
        PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE);
        if (WmPreDispatch(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
}

// ---------------------------------------------------------------------------
// Registered messages and hooks

UINT RegisterWindowMessage(const wchar_t* name)
{
    if (!name || !*name) return 0;
    String key = name;
    for (auto& c : key) c = wchar_t(std::towupper(c));
    auto& m = WM();
    std::lock_guard<std::recursive_mutex> g(m.lock);
    auto it = m.registered.find(key);
    if (it != m.registered.end()) return it->second;
    if (m.nextRegistered > 0xFFFF) return 0;
    UINT id = m.nextRegistered++;
    m.registered[key] = id;
    return id;
}

HHOOK SetWindowsHookEx(int idHook, HOOKPROC proc, HINSTANCE, DWORD threadId)
{
    if (!proc || idHook != WH_CALLWNDPROC) return nullptr;
    auto& m = WM();
    std::lock_guard<std::recursive_mutex> g(m.lock);
    THookRec r;
    r.id = m.nextHook++;
    r.kind = idHook;
    r.proc = proc;
    r.threadId = threadId ? threadId : GetCurrentThreadId();
    m.hooks.insert(m.hooks.begin(), r);
    return reinterpret_cast<HHOOK>(r.id);
}

LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam)
{
    auto& m = WM();
    THookRec next;
    {
        std::lock_guard<std::recursive_mutex> g(m.lock);
        uintptr_t id = reinterpret_cast<uintptr_t>(hook);
        if (!id && !tlHookStack.empty()) id = tlHookStack.back();
        auto it = std::find_if(m.hooks.begin(), m.hooks.end(),
                               [&](const THookRec& r) { return r.id == id; });
        if (it == m.hooks.end()) return 0;
        int kind = it->kind;
        DWORD thread = it->threadId;
        for (++it; it != m.hooks.end(); ++it)
            if (it->kind == kind && it->threadId == thread) {
                next = *it;
                break;
            }
    }
    if (!next.proc) return 0;
    tlHookStack.push_back(next.id);
    LRESULT r = next.proc(code, wParam, lParam);
    tlHookStack.pop_back();
    return r;
}

BOOL UnhookWindowsHookEx(HHOOK hook)
{
    auto& m = WM();
    std::lock_guard<std::recursive_mutex> g(m.lock);
    uintptr_t id = reinterpret_cast<uintptr_t>(hook);
    auto it = std::find_if(m.hooks.begin(), m.hooks.end(), [&](const THookRec& r) { return r.id == id; });
    if (it == m.hooks.end()) return FALSE;
    m.hooks.erase(it);
    return TRUE;
}
