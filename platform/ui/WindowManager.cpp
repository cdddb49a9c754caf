// Windows and window classes: creation, destruction, the window's longs,
// text and properties, and the default window procedure.
#include "platform/ui/WindowManager.h"

#include <unistd.h>

#include <algorithm>
#include <cwctype>

#include "platform/ui/backend/Backend.h"

namespace {

String UpperName(const wchar_t* s)
{
    String r = s ? s : L"";
    for (auto& c : r) c = wchar_t(std::towupper(c));
    return r;
}

ATOM gNextAtom = 0xC100;

void UnlinkWindow(TWnd* w)
{
    auto& m = WM();
    HWND h = HandleOf(w);
    WmGeometryChanged();
    if (w->parent) {
        if (TWnd* p = WndOf(w->parent)) {
            auto& c = p->children;
            c.erase(std::remove(c.begin(), c.end(), h), c.end());
        }
    } else {
        auto& t = m.topLevels;
        t.erase(std::remove(t.begin(), t.end(), h), t.end());
    }
}

// WM_DESTROY goes to the window first and then down to its children; the
// records are freed bottom-up, each after its WM_NCDESTROY.
void SendDestroy(HWND h)
{
    SendMessage(h, WM_DESTROY, 0, 0);
    TWnd* w = WndOf(h);
    if (!w) return;
    std::vector<HWND> kids = w->children;
    for (HWND c : kids)
        if (TWnd* cw = WndOf(c)) {
            cw->destroying = true;
            SendDestroy(c);
        }
}

void SendNcDestroyAndFree(HWND h)
{
    TWnd* w = WndOf(h);
    if (!w) return;
    std::vector<HWND> kids = w->children;
    for (HWND c : kids) SendNcDestroyAndFree(c);
    SendMessage(h, WM_NCDESTROY, 0, 0);
    // The window's menu bar goes with it.
    if ((w = WndOf(h)) && w->menu) WmMenuBarWindowDestroyed(h);
    auto& m = WM();
    std::lock_guard<std::recursive_mutex> g(m.lock);
    w = WndOf(h);
    if (!w) return;
    if (HasBackend()) Backend().WindowDestroyed(h);
    WmReleaseSurface(w);
    UnlinkWindow(w);
    // Before, so that no lookup answers from a cache while the window goes;
    // after, so that nothing cached meanwhile outlives it.
    m.destroyGen.fetch_add(1, std::memory_order_release);
    m.windows.erase(w->id);
    m.destroyGen.fetch_add(1, std::memory_order_release);
}

bool InSubtree(HWND root, HWND h)
{
    while (h) {
        if (h == root) return true;
        TWnd* w = WndOf(h);
        if (!w) return false;
        h = w->parent;
    }
    return false;
}

}  // namespace

TWindowManager& WM()
{
    // Never freed: windows may still be torn down by static destructors.
    static TWindowManager* m = [] {
        auto* wm = new TWindowManager;
        // Workers that hand methods to the main thread wake its message loop,
        // which runs them (CheckSynchronize) each time it looks for messages.
        WakeMainThread = [] { WmWakeAll(); };
        return wm;
    }();
    return *m;
}

void WmGeometryChanged()
{
    WM().geometryGen.fetch_add(1, std::memory_order_relaxed);
}

TWnd* WndOf(HWND hwnd)
{
    if (!hwnd) return nullptr;
    auto& m = WM();
    const auto id = reinterpret_cast<uintptr_t>(hwnd);
    // Painting and layout ask for the same few windows again and again: each
    // thread keeps its last answers while no window has been destroyed (ids
    // are never reused, so a created window cannot make an answer wrong).
    struct TCached {
        uintptr_t Id = 0;
        TWnd* Wnd = nullptr;
    };
    thread_local TCached cache[16];
    thread_local uint64_t cacheGen = ~uint64_t(0);
    const uint64_t gen = m.destroyGen.load(std::memory_order_acquire);
    if (gen != cacheGen) {
        for (auto& c : cache) c = {};
        cacheGen = gen;
    }
    TCached& slot = cache[(id >> 4 ^ id) & 15];
    if (slot.Id == id && slot.Wnd) return slot.Wnd;
    std::lock_guard<std::recursive_mutex> g(m.lock);
    auto it = m.windows.find(id);
    if (it == m.windows.end()) return nullptr;
    // Only while no destruction happened since the generation was read.
    if (m.destroyGen.load(std::memory_order_acquire) == gen) slot = {id, it->second.get()};
    return it->second.get();
}


HWND RootOf(HWND hwnd)
{
    TWnd* w = WndOf(hwnd);
    while (w && w->parent) {
        hwnd = w->parent;
        w = WndOf(hwnd);
    }
    return w ? hwnd : nullptr;
}

TRect FrameInsets(DWORD style, DWORD exStyle)
{
    int b = 0;
    if (style & WS_THICKFRAME)
        b = GetSystemMetrics(SM_CXFRAME);
    else if ((style & WS_CAPTION) == WS_CAPTION || (style & WS_DLGFRAME) ||
             (exStyle & WS_EX_DLGMODALFRAME))
        b = GetSystemMetrics(SM_CXDLGFRAME);
    else if (style & WS_BORDER)
        b = GetSystemMetrics(SM_CXBORDER);
    int edge = (exStyle & WS_EX_CLIENTEDGE) ? GetSystemMetrics(SM_CXEDGE)
               : (exStyle & WS_EX_STATICEDGE) ? 1 : 0;
    int caption = 0;
    if ((style & WS_CAPTION) == WS_CAPTION)
        caption = GetSystemMetrics((exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
    TRect r{b + edge, b + edge + caption, b + edge, b + edge};
    if (style & WS_VSCROLL) r.Right += GetSystemMetrics(SM_CXVSCROLL);
    if (style & WS_HSCROLL) r.Bottom += GetSystemMetrics(SM_CYHSCROLL);
    return r;
}

TRect WmFrameInsets(HWND hwnd)
{
    TWnd* w = WndOf(hwnd);
    if (!w) return TRect{};
    TRect f = FrameInsets(w->style, w->exStyle);
    if (w->menu) f.Top += w->menuBarHeight;
    return f;
}

BOOL AdjustWindowRectEx(TRect* rect, DWORD style, BOOL menu, DWORD exStyle)
{
    if (!rect) return FALSE;
    TRect f = FrameInsets(style, exStyle);
    rect->Left -= f.Left;
    rect->Top -= f.Top + (menu ? GetSystemMetrics(SM_CYMENU) : 0);
    rect->Right += f.Right;
    rect->Bottom += f.Bottom;
    return TRUE;
}

// ---------------------------------------------------------------------------
// Classes

ATOM RegisterClass(const WNDCLASS& wc)
{
    if (!wc.lpszClassName || !*wc.lpszClassName || !wc.lpfnWndProc) return 0;
    auto& m = WM();
    std::lock_guard<std::recursive_mutex> g(m.lock);
    String key = UpperName(wc.lpszClassName);
    if (m.classes.count(key)) return 0;
    auto rec = std::make_shared<TWndClassRec>();
    rec->wc = wc;
    rec->name = wc.lpszClassName;
    rec->wc.lpszClassName = rec->name.c_str();
    rec->wc.lpszMenuName = nullptr;
    m.classes[key] = rec;
    return gNextAtom++;
}

BOOL UnregisterClass(const wchar_t* className, HINSTANCE)
{
    auto& m = WM();
    std::lock_guard<std::recursive_mutex> g(m.lock);
    return m.classes.erase(UpperName(className)) ? TRUE : FALSE;
}

BOOL GetClassInfo(HINSTANCE, const wchar_t* className, WNDCLASS* out)
{
    auto& m = WM();
    std::lock_guard<std::recursive_mutex> g(m.lock);
    auto it = m.classes.find(UpperName(className));
    if (it == m.classes.end()) return FALSE;
    if (out) *out = it->second->wc;
    return TRUE;
}

String GetClassName(HWND hwnd)
{
    TWnd* w = WndOf(hwnd);
    return w ? w->cls->name : String();
}

int GetClassName(HWND hwnd, wchar_t* buf, int size)
{
    String n = GetClassName(hwnd);
    if (!buf || size <= 0) return 0;
    int len = std::min<int>(int(n.size()), size - 1);
    std::copy(n.begin(), n.begin() + len, buf);
    buf[len] = 0;
    return len;
}

DWORD GetClassLong(HWND hwnd, int index)
{
    TWnd* w = WndOf(hwnd);
    if (!w) return 0;
    return index == GCL_STYLE ? w->cls->wc.style : 0;
}

DWORD SetClassLong(HWND hwnd, int index, LONG value)
{
    TWnd* w = WndOf(hwnd);
    if (!w || index != GCL_STYLE) return 0;
    DWORD old = w->cls->wc.style;
    w->cls->wc.style = DWORD(value);
    return old;
}

// ---------------------------------------------------------------------------
// Creation and destruction

HWND CreateWindowEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName,
                    DWORD style, int x, int y, int cx, int cy, HWND parent, HMENU menu,
                    HINSTANCE inst, void* param)
{
    auto& m = WM();
    std::shared_ptr<TWndClassRec> cls;
    {
        std::lock_guard<std::recursive_mutex> g(m.lock);
        auto it = m.classes.find(UpperName(className));
        if (it == m.classes.end()) return nullptr;
        cls = it->second;
    }
    bool child = (style & WS_CHILD) != 0;
    if (child && !WndOf(parent)) return nullptr;
    if (!child && parent && !WndOf(parent)) return nullptr;
    if (x == CW_USEDEFAULT) x = y = 0;
    if (cx == CW_USEDEFAULT) cx = cy = 0;
    if (cx < 0) cx = 0;
    if (cy < 0) cy = 0;

    HWND h;
    {
        std::lock_guard<std::recursive_mutex> g(m.lock);
        auto w = std::make_unique<TWnd>();
        w->id = m.nextId++;
        w->cls = cls;
        w->proc = cls->wc.lpfnWndProc;
        w->style = style & ~WS_VISIBLE;
        w->exStyle = exStyle;
        if (child) {
            w->parent = parent;
            w->ctrlId = LONG_PTR(reinterpret_cast<uintptr_t>(menu));
        } else {
            w->owner = RootOf(parent);
            // A top-level window's menu is its menu bar.
            if (menu && IsMenu(menu)) w->menu = menu;
        }
        w->rect = Bounds(x, y, cx, cy);
        w->client = Rect(0, 0, cx, cy);
        w->threadId = GetCurrentThreadId();
        h = HandleOf(w.get());
        m.windows[w->id] = std::move(w);
        QueueOf(GetCurrentThreadId());
        WmGeometryChanged();
        if (child) {
            WndOf(parent)->children.push_back(h);  // new children go to the bottom
        } else {
            auto& t = m.topLevels;
            auto pos = t.begin();
            if (!(exStyle & WS_EX_TOPMOST))
                while (pos != t.end() && WndOf(*pos) && (WndOf(*pos)->exStyle & WS_EX_TOPMOST)) ++pos;
            t.insert(pos, h);
        }
    }

    String name = windowName ? windowName : L"";
    String clsName = cls->name;
    CREATESTRUCT cs;
    cs.lpCreateParams = param;
    cs.hInstance = inst;
    cs.hMenu = menu;
    cs.hwndParent = parent;
    cs.x = x; cs.y = y; cs.cx = cx; cs.cy = cy;
    cs.style = LONG(style);
    cs.lpszName = name.c_str();
    cs.lpszClass = clsName.c_str();
    cs.dwExStyle = exStyle;

    if (!child && (style & WS_THICKFRAME)) {
        MINMAXINFO mmi;
        mmi.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
        mmi.ptMaxTrackSize = {GetSystemMetrics(SM_CXSCREEN) + 12, GetSystemMetrics(SM_CYSCREEN) + 12};
        SendMessage(h, WM_GETMINMAXINFO, 0, LPARAM(&mmi));
    }
    if (!SendMessage(h, WM_NCCREATE, 0, LPARAM(&cs))) {
        if (WndOf(h)) SendNcDestroyAndFree(h);
        return nullptr;
    }
    if (TWnd* w = WndOf(h)) {
        TRect r = w->rect;
        SendMessage(h, WM_NCCALCSIZE, FALSE, LPARAM(&r));
        if ((w = WndOf(h))) {
            w->client = r;
            OffsetRect(w->client, -w->rect.Left, -w->rect.Top);
            WmGeometryChanged();
        }
    }
    if (!WndOf(h)) return nullptr;
    if (SendMessage(h, WM_CREATE, 0, LPARAM(&cs)) == -1) {
        DestroyWindow(h);
        return nullptr;
    }
    TWnd* w = WndOf(h);
    if (!w) return nullptr;
    w->created = true;
    if (HasBackend()) Backend().WindowCreated(h);
    SendMessage(h, WM_SIZE, SIZE_RESTORED, MAKELPARAM(w->client.Width(), w->client.Height()));
    if ((w = WndOf(h)))
        SendMessage(h, WM_MOVE, 0,
                    MAKELPARAM(w->rect.Left + w->client.Left, w->rect.Top + w->client.Top));
    if (!WndOf(h)) return nullptr;
    if (style & WS_VISIBLE) ShowWindow(h, SW_SHOW);
    return WndOf(h) ? h : nullptr;
}

BOOL IsWindow(HWND hwnd) { return WndOf(hwnd) ? TRUE : FALSE; }

BOOL DestroyWindow(HWND h)
{
    TWnd* w = WndOf(h);
    if (!w || w->destroying) return FALSE;
    if (w->threadId != GetCurrentThreadId()) return FALSE;
    w->destroying = true;
    auto& m = WM();

    // Owned windows go first.
    std::vector<HWND> owned;
    {
        std::lock_guard<std::recursive_mutex> g(m.lock);
        for (HWND t : m.topLevels)
            if (TWnd* tw = WndOf(t); tw && tw->owner == h) owned.push_back(t);
    }
    for (HWND o : owned) DestroyWindow(o);

    if ((w = WndOf(h)) && (w->style & WS_VISIBLE))
        SetWindowPos(h, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (m.active && InSubtree(h, m.active)) WmActivateNext(h);
    if (m.focus && InSubtree(h, m.focus)) m.focus = nullptr;
    if (m.capture && InSubtree(h, m.capture)) ReleaseCapture();
    if (m.sizeMove.hwnd && InSubtree(h, m.sizeMove.hwnd)) m.sizeMove = TSizeMove{};
    if (m.scrollTrack.hwnd && InSubtree(h, m.scrollTrack.hwnd)) m.scrollTrack = TScrollTrack{};
    if (m.trackLeave && InSubtree(h, m.trackLeave)) m.trackLeave = nullptr;
    if (m.trackNcLeave && InSubtree(h, m.trackNcLeave)) m.trackNcLeave = nullptr;
    if (m.lastMouseWindow && InSubtree(h, m.lastMouseWindow)) m.lastMouseWindow = nullptr;
    if (m.lastClickWnd && InSubtree(h, m.lastClickWnd)) m.lastClickWnd = nullptr;
    {
        std::lock_guard<std::recursive_mutex> g(m.lock);
        auto& t = m.timers;
        t.erase(std::remove_if(t.begin(), t.end(), [&](const TTimerRec& r) {
                    return r.hwnd && InSubtree(h, r.hwnd);
                }), t.end());
    }
    SendDestroy(h);
    SendNcDestroyAndFree(h);
    return TRUE;
}

// ---------------------------------------------------------------------------
// Longs, text, properties

LONG_PTR GetWindowLongPtr(HWND hwnd, int index)
{
    TWnd* w = WndOf(hwnd);
    if (!w) return 0;
    switch (index) {
    case GWL_WNDPROC: return LONG_PTR(reinterpret_cast<intptr_t>(w->proc));
    case GWL_STYLE: return LONG_PTR(LONG(w->style));
    case GWL_EXSTYLE: return LONG_PTR(LONG(w->exStyle));
    case GWL_USERDATA: return w->userData;
    case GWL_ID: return w->ctrlId;
    case GWL_HWNDPARENT:
        return LONG_PTR(reinterpret_cast<intptr_t>(w->parent ? w->parent : w->owner));
    default: return 0;
    }
}

LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value)
{
    TWnd* w = WndOf(hwnd);
    if (!w) return 0;
    LONG_PTR old = GetWindowLongPtr(hwnd, index);
    switch (index) {
    case GWL_WNDPROC:
        if (value) w->proc = reinterpret_cast<WNDPROC>(value);
        break;
    case GWL_STYLE:
    case GWL_EXSTYLE: {
        STYLESTRUCT ss{DWORD(old), DWORD(value)};
        SendMessage(hwnd, WM_STYLECHANGING, WPARAM(index), LPARAM(&ss));
        if (!(w = WndOf(hwnd))) return old;
        if (index == GWL_STYLE)
            w->style = ss.styleNew;
        else
            w->exStyle = ss.styleNew;
        WmGeometryChanged();
        SendMessage(hwnd, WM_STYLECHANGED, WPARAM(index), LPARAM(&ss));
        break;
    }
    case GWL_USERDATA: w->userData = value; break;
    case GWL_ID: w->ctrlId = value; break;
    case GWL_HWNDPARENT:
        if (!w->parent) w->owner = RootOf(reinterpret_cast<HWND>(value));
        break;
    default: return 0;
    }
    return old;
}

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return proc ? proc(hwnd, msg, wParam, lParam) : 0;
}

int GetWindowTextLength(HWND hwnd) { return int(SendMessage(hwnd, WM_GETTEXTLENGTH, 0, 0)); }

int GetWindowText(HWND hwnd, wchar_t* buf, int size)
{
    if (!buf || size <= 0) return 0;
    buf[0] = 0;
    return int(SendMessage(hwnd, WM_GETTEXT, WPARAM(size), LPARAM(buf)));
}

String GetWindowText(HWND hwnd)
{
    int len = GetWindowTextLength(hwnd);
    String s(size_t(len) + 1, L'\0');
    int got = GetWindowText(hwnd, s.data(), len + 1);
    s.resize(size_t(std::max(0, std::min(got, len))));
    return s;
}

BOOL SetWindowText(HWND hwnd, const wchar_t* text)
{
    return SendMessage(hwnd, WM_SETTEXT, 0, LPARAM(text ? text : L"")) ? TRUE : FALSE;
}

BOOL SetProp(HWND hwnd, const wchar_t* name, void* data)
{
    TWnd* w = WndOf(hwnd);
    if (!w || !name) return FALSE;
    w->props[UpperName(name)] = data;
    return TRUE;
}

void* GetProp(HWND hwnd, const wchar_t* name)
{
    TWnd* w = WndOf(hwnd);
    if (!w || !name) return nullptr;
    auto it = w->props.find(UpperName(name));
    return it == w->props.end() ? nullptr : it->second;
}

void* RemoveProp(HWND hwnd, const wchar_t* name)
{
    TWnd* w = WndOf(hwnd);
    if (!w || !name) return nullptr;
    auto it = w->props.find(UpperName(name));
    if (it == w->props.end()) return nullptr;
    void* d = it->second;
    w->props.erase(it);
    return d;
}

HWND FindWindow(const wchar_t* className, const wchar_t* windowName)
{
    auto& m = WM();
    std::vector<HWND> tops;
    {
        std::lock_guard<std::recursive_mutex> g(m.lock);
        tops = m.topLevels;
    }
    for (HWND t : tops) {
        TWnd* w = WndOf(t);
        if (!w) continue;
        if (className && UpperName(className) != UpperName(w->cls->name.c_str())) continue;
        if (windowName && w->text != windowName) continue;
        return t;
    }
    return nullptr;
}

DWORD GetWindowThreadProcessId(HWND hwnd, DWORD* processId)
{
    TWnd* w = WndOf(hwnd);
    if (processId) *processId = w ? DWORD(::getpid()) : 0;
    return w ? w->threadId : 0;
}

void* WmGetControl(HWND hwnd)
{
    TWnd* w = WndOf(hwnd);
    return w ? w->control : nullptr;
}

void WmSetControl(HWND hwnd, void* control)
{
    if (TWnd* w = WndOf(hwnd)) w->control = control;
}

// ---------------------------------------------------------------------------
// The default window procedure

TCaptionButtons WmCaptionButtons(HWND hwnd)
{
    TCaptionButtons b;
    TWnd* w = WndOf(hwnd);
    if (!w || (w->style & WS_CAPTION) != WS_CAPTION || !(w->style & WS_SYSMENU)) return b;
    TRect f = FrameInsets(w->style & ~(WS_VSCROLL | WS_HSCROLL), w->exStyle);
    bool edge = (w->exStyle & WS_EX_CLIENTEDGE) != 0;
    int side = f.Left - (edge ? GetSystemMetrics(SM_CXEDGE) : 0);
    int bottom = f.Top - (edge ? GetSystemMetrics(SM_CYEDGE) : 0);
    int right = w->rect.Width() - side, size = bottom - side;
    if (size <= 0) return b;
    b.Close = Rect(right - size, side, right, bottom);
    // Minimise and maximise belong to top-level windows; on a child window
    // the same style bits mean group and tab stop.
    if ((w->style & WS_CHILD) || (w->exStyle & WS_EX_TOOLWINDOW)) return b;
    int left = b.Close.Left;
    if (w->style & WS_MAXIMIZEBOX) {
        b.Max = Rect(left - size, side, left, bottom);
        left = b.Max.Left;
    }
    if (w->style & WS_MINIMIZEBOX) b.Min = Rect(left - size, side, left, bottom);
    return b;
}

namespace {

LRESULT DefHitTest(HWND h, TPoint p)
{
    TWnd* w = WndOf(h);
    if (!w) return HTNOWHERE;
    TRect r = WindowRectScreen(h);
    if (!PtInRect(r, p)) return HTNOWHERE;
    TRect c = w->client;
    OffsetRect(c, r.Left, r.Top);
    if (PtInRect(c, p)) return HTCLIENT;
    if (LRESULT bar; w->menu && WmMenuBarMessage(h, WM_NCHITTEST, 0, PointToLParam(p), bar)) return bar;
    if (LRESULT bars = WmScrollBarHitTest(h, p); bars != HTNOWHERE) {
        // The box between the bars sizes a sizable top-level window.
        if (bars == HTSIZE && (w->style & WS_THICKFRAME) && !w->parent && !w->maximized) return HTBOTTOMRIGHT;
        return bars;
    }
    if ((w->style & WS_THICKFRAME) && !w->maximized) {
        int b = GetSystemMetrics(SM_CXFRAME);
        int corner = GetSystemMetrics(SM_CXSIZE);
        bool left = p.X < r.Left + b, right = p.X >= r.Right - b;
        bool top = p.Y < r.Top + b, bottom = p.Y >= r.Bottom - b;
        if (top || bottom) {
            if (p.X < r.Left + corner) return top ? HTTOPLEFT : HTBOTTOMLEFT;
            if (p.X >= r.Right - corner) return top ? HTTOPRIGHT : HTBOTTOMRIGHT;
            return top ? HTTOP : HTBOTTOM;
        }
        if (left || right) {
            if (p.Y < r.Top + corner) return left ? HTTOPLEFT : HTTOPRIGHT;
            if (p.Y >= r.Bottom - corner) return left ? HTBOTTOMLEFT : HTBOTTOMRIGHT;
            return left ? HTLEFT : HTRIGHT;
        }
    }
    if ((w->style & WS_CAPTION) == WS_CAPTION) {
        TRect f = FrameInsets(w->style & ~(WS_VSCROLL | WS_HSCROLL), w->exStyle);
        int capTop = r.Top + f.Left;  // the frame width above the caption
        if (p.Y >= capTop && p.Y < r.Top + f.Top && p.X >= r.Left + f.Left && p.X < r.Right - f.Right) {
            TCaptionButtons b = WmCaptionButtons(h);
            // Each button takes the caption's whole height at its place.
            int x = p.X - r.Left;
            const std::pair<TRect, LRESULT> cells[] = {{b.Close, HTCLOSE}, {b.Max, HTMAXBUTTON}, {b.Min, HTMINBUTTON}};
            for (auto& [cell, code] : cells)
                if (!IsRectEmpty(cell) && x >= cell.Left && x < cell.Right) return code;
            return HTCAPTION;
        }
    }
    return HTBORDER;
}

HCURSOR CursorForHit(LRESULT hit)
{
    switch (hit) {
    case HTLEFT: case HTRIGHT: return LoadCursor(nullptr, IDC_SIZEWE);
    case HTTOP: case HTBOTTOM: return LoadCursor(nullptr, IDC_SIZENS);
    case HTTOPLEFT: case HTBOTTOMRIGHT: return LoadCursor(nullptr, IDC_SIZENWSE);
    case HTTOPRIGHT: case HTBOTTOMLEFT: return LoadCursor(nullptr, IDC_SIZENESW);
    default: return LoadCursor(nullptr, IDC_ARROW);
    }
}

}  // namespace

LRESULT DefWindowProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TWnd* w = WndOf(h);
    if (!w) return 0;
    switch (msg) {
    case WM_NCCREATE: {
        auto* cs = reinterpret_cast<CREATESTRUCT*>(lParam);
        if (cs && cs->lpszName) w->text = cs->lpszName;
        return TRUE;
    }
    case WM_NCCALCSIZE: {
        auto* r = reinterpret_cast<TRect*>(lParam);
        if (!r) return 0;
        TRect f = FrameInsets(w->style, w->exStyle);
        if (w->menu && !(w->style & WS_CHILD)) {
            w->menuBarHeight = WmMenuBarHeightFor(h, r->Width());
            if (!(w = WndOf(h))) return 0;
            f.Top += w->menuBarHeight;
        }
        r->Left += f.Left;
        r->Top += f.Top;
        r->Right = std::max(r->Left, r->Right - f.Right);
        r->Bottom = std::max(r->Top, r->Bottom - f.Bottom);
        return 0;
    }
    case WM_NCHITTEST: return DefHitTest(h, LParamToPoint(lParam));
    case WM_SETCURSOR: {
        LRESULT hit = LRESULT(int16_t(LOWORD(uintptr_t(lParam))));
        if (hit == HTCLIENT && w->parent && SendMessage(w->parent, WM_SETCURSOR, wParam, lParam))
            return TRUE;
        if (hit == HTCLIENT) {
            if (w->cls->wc.hCursor) {
                SetCursor(w->cls->wc.hCursor);
                return TRUE;
            }
            return FALSE;
        }
        if (hit == HTERROR) {
            if (HIWORD(uintptr_t(lParam)) == WM_LBUTTONDOWN) MessageBeep(0);
            return FALSE;
        }
        SetCursor(CursorForHit(hit));
        return TRUE;
    }
    case WM_MOUSEACTIVATE:
        if (w->parent) {
            LRESULT r = SendMessage(w->parent, WM_MOUSEACTIVATE, wParam, lParam);
            if (r) return r;
        }
        return MA_ACTIVATE;
    case WM_CLOSE: DestroyWindow(h); return 0;
    case WM_RBUTTONUP: {
        TPoint p = LParamToPoint(lParam);
        ClientToScreen(h, &p);
        SendMessage(h, WM_CONTEXTMENU, WPARAM(h), PointToLParam(p));
        return 0;
    }
    case WM_KEYUP:
        if (wParam == VK_APPS) SendMessage(h, WM_CONTEXTMENU, WPARAM(h), LPARAM(-1));
        return 0;
    case WM_CONTEXTMENU:
        // Unhandled: the parent may have a menu for its child.
        if (w->parent) return SendMessage(w->parent, WM_CONTEXTMENU, wParam, lParam);
        return 0;
    case WM_GETTEXTLENGTH: return LRESULT(w->text.size());
    case WM_GETTEXT: {
        auto* buf = reinterpret_cast<wchar_t*>(lParam);
        int size = int(wParam);
        if (!buf || size <= 0) return 0;
        int len = std::min<int>(int(w->text.size()), size - 1);
        std::copy(w->text.begin(), w->text.begin() + len, buf);
        buf[len] = 0;
        return len;
    }
    case WM_SETTEXT:
        w->text = lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"";
        if ((w->style & WS_CAPTION) == WS_CAPTION) WmInvalidateFrame(h);
        return TRUE;
    case WM_WINDOWPOSCHANGED: {
        auto* wp = reinterpret_cast<WINDOWPOS*>(lParam);
        if (!wp) return 0;
        if (!(wp->flags & SWP_NOCLIENTMOVE))
            SendMessage(h, WM_MOVE, 0,
                        MAKELPARAM(w->rect.Left + w->client.Left, w->rect.Top + w->client.Top));
        if ((w = WndOf(h)) && !(wp->flags & SWP_NOCLIENTSIZE))
            SendMessage(h, WM_SIZE,
                        w->maximized ? SIZE_MAXIMIZED : w->minimized ? SIZE_MINIMIZED : SIZE_RESTORED,
                        MAKELPARAM(w->client.Width(), w->client.Height()));
        return 0;
    }
    case WM_GETMINMAXINFO: return 0;
    case WM_NCACTIVATE:
        WmInvalidateFrame(h);
        return TRUE;
    case WM_ACTIVATE:
        return 0;
    case WM_NCMOUSEMOVE:
    case WM_NCMOUSELEAVE:
    case WM_MOUSEMOVE:
        if (LRESULT r; w->menu && WmMenuBarMessage(h, msg, wParam, lParam, r)) return r;
        return 0;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        if (LRESULT r; w->menu && wParam == HTMENU && WmMenuBarMessage(h, msg, wParam, lParam, r)) return r;
        if (wParam == HTVSCROLL || wParam == HTHSCROLL) {
            WmScrollTrackBegin(h, wParam == HTVSCROLL ? SB_VERT : SB_HORZ, LParamToPoint(lParam));
            return 0;
        }
        if (wParam == HTCLOSE || wParam == HTMINBUTTON || wParam == HTMAXBUTTON) {
            WmCaptionPressBegin(h, int(wParam));
            return 0;
        }
        if (msg == WM_NCLBUTTONDBLCLK) {
            // A double click on the caption of a sizable window that can be
            // maximised toggles between maximised and its normal place.
            if (wParam == HTCAPTION && !w->parent && (w->style & WS_THICKFRAME) && (w->style & WS_MAXIMIZEBOX) &&
                (w->style & WS_SYSMENU))
                SendMessage(h, WM_SYSCOMMAND, w->maximized ? SC_RESTORE : SC_MAXIMIZE, lParam);
            return 0;
        }
        if (wParam == HTCAPTION)
            SendMessage(h, WM_SYSCOMMAND, WPARAM(SC_MOVE) | WPARAM(HTCAPTION), lParam);
        else if (LRESULT(wParam) >= HTLEFT && LRESULT(wParam) <= HTBOTTOMRIGHT)
            SendMessage(h, WM_SYSCOMMAND, SC_SIZE | (wParam - HTLEFT + WMSZ_LEFT), lParam);
        return 0;
    case WM_NCLBUTTONUP:
        // A press the caption button loop did not follow (the button came
        // up before the press was handled) ends here.
        if (wParam == HTCLOSE) SendMessage(h, WM_SYSCOMMAND, SC_CLOSE, lParam);
        else if (wParam == HTMINBUTTON) SendMessage(h, WM_SYSCOMMAND, SC_MINIMIZE, lParam);
        else if (wParam == HTMAXBUTTON)
            SendMessage(h, WM_SYSCOMMAND, w->maximized ? SC_RESTORE : SC_MAXIMIZE, lParam);
        return 0;
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_MOVE: WmBeginSizeMove(h, HTCAPTION); return 0;
        case SC_SIZE: {
            int wmsz = int(wParam & 0xF);
            if (wmsz >= int(WMSZ_LEFT) && wmsz <= int(WMSZ_BOTTOMRIGHT))
                WmBeginSizeMove(h, int(HTLEFT) + wmsz - int(WMSZ_LEFT));
            return 0;
        }
        case SC_CLOSE: SendMessage(h, WM_CLOSE, 0, 0); return 0;
        case SC_MINIMIZE: ShowWindow(h, SW_MINIMIZE); return 0;
        case SC_MAXIMIZE: ShowWindow(h, SW_MAXIMIZE); return 0;
        case SC_RESTORE: ShowWindow(h, SW_RESTORE); return 0;
        case SC_KEYMENU: {
            LRESULT r = 0;
            WmMenuBarMessage(h, msg, wParam, lParam, r);
            return 0;
        }
        }
        return 0;
    case WM_SYSKEYDOWN:
        if (wParam == VK_F4 && (lParam & (1 << 29))) {
            SendMessage(RootOf(h), WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        if (wParam == VK_F10 && GetKeyState(VK_SHIFT) < 0) SendMessage(h, WM_CONTEXTMENU, WPARAM(h), LPARAM(-1));
        else if (wParam == VK_F10) SendMessage(RootOf(h), WM_SYSCOMMAND, SC_KEYMENU, 0);
        return 0;
    case WM_SYSKEYUP:
        // Alt pressed and released alone, or Alt+letter: the menu bar of the
        // top-level window takes the keyboard.
        if ((wParam == VK_MENU || wParam == VK_LMENU || wParam == VK_RMENU) && (lParam & kAltTapKeyData))
            SendMessage(RootOf(h), WM_SYSCOMMAND, SC_KEYMENU, 0);
        return 0;
    case WM_SYSCHAR:
        if ((lParam & (LPARAM(1) << 29)) && wParam > L' ') SendMessage(RootOf(h), WM_SYSCOMMAND, SC_KEYMENU, wParam);
        return 0;
    case WM_CANCELMODE:
        WmScrollTrackCancel(h);
        if (WM().sizeMove.hwnd == h) WmEndSizeMove(false);
        if (WM().capture == h) ReleaseCapture();
        return 0;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
        if (w->parent) return SendMessage(w->parent, msg, wParam, lParam);
        return 0;
    case WM_SETREDRAW:
        w->redraw = wParam != 0;
        if (w->redraw) WmPaintDue();
        return 0;
    case WM_THEMECHANGED:
        // Frame and client are drawn again in the new look.
        RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
        return 0;
    case WM_PAINT:
        WmDefaultPaint(h);
        return 0;
    case WM_ERASEBKGND: return WmDefaultErase(h, wParam);
    case WM_NCPAINT: WmDefaultNcPaint(h); return 0;
    case WM_SHOWWINDOW:
    case WM_GETDLGCODE:
    case WM_STYLECHANGING:
    case WM_STYLECHANGED:
        return 0;
    default: return 0;
    }
}
