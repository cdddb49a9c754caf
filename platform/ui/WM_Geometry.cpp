// Window geometry, visibility and z-order: SetWindowPos and its friends,
// coordinate mapping, finding windows by point, the parent/owner chains,
// window shapes and layered windows.
#include <algorithm>

#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Backend.h"

void WmInvalidate(HWND h, const TRect* rect, bool erase, bool allChildren);
void WmInvalidateAll(HWND h);

namespace {

bool IsTopmost(HWND h)
{
    TWnd* w = WndOf(h);
    return w && (w->exStyle & WS_EX_TOPMOST);
}

size_t FirstNonTopmost(const std::vector<HWND>& list)
{
    size_t i = 0;
    while (i < list.size() && IsTopmost(list[i])) ++i;
    return i;
}

void LiftOwned(HWND owner, int depth = 0)
{
    if (depth > 32) return;
    auto& t = WM().topLevels;
    std::vector<HWND> owned;
    for (HWND x : t)
        if (TWnd* w = WndOf(x); w && w->owner == owner) owned.push_back(x);
    if (owned.empty()) return;
    for (HWND o : owned) t.erase(std::remove(t.begin(), t.end(), o), t.end());
    auto pos = std::find(t.begin(), t.end(), owner);
    t.insert(pos, owned.begin(), owned.end());
    for (HWND o : owned) LiftOwned(o, depth + 1);
}

// Moves h in its sibling list; answers whether the order changed.
bool PlaceInZOrder(HWND h, HWND after)
{
    TWnd* w = WndOf(h);
    if (!w) return false;
    auto& m = WM();
    std::lock_guard<std::recursive_mutex> g(m.lock);
    std::vector<HWND>& list = w->parent ? WndOf(w->parent)->children : m.topLevels;
    std::vector<HWND> before = list;
    WmGeometryChanged();
    list.erase(std::remove(list.begin(), list.end(), h), list.end());
    size_t pos;
    if (!w->parent) {
        if (after == HWND_TOPMOST) {
            w->exStyle |= WS_EX_TOPMOST;
            pos = 0;
        } else if (after == HWND_NOTOPMOST) {
            w->exStyle &= ~DWORD(WS_EX_TOPMOST);
            pos = FirstNonTopmost(list);
        } else if (after == HWND_TOP) {
            pos = (w->exStyle & WS_EX_TOPMOST) ? 0 : FirstNonTopmost(list);
        } else if (after == HWND_BOTTOM) {
            w->exStyle &= ~DWORD(WS_EX_TOPMOST);
            pos = list.size();
        } else {
            auto it = std::find(list.begin(), list.end(), after);
            pos = it == list.end() ? 0 : size_t(it - list.begin()) + 1;
            size_t band = FirstNonTopmost(list);
            if (w->exStyle & WS_EX_TOPMOST)
                pos = std::min(pos, band);
            else
                pos = std::max(pos, band);
        }
        list.insert(list.begin() + long(pos), h);
        LiftOwned(h);
    } else {
        if (after == HWND_TOP || after == HWND_TOPMOST)
            pos = 0;
        else if (after == HWND_BOTTOM || after == HWND_NOTOPMOST)
            pos = list.size();
        else {
            auto it = std::find(list.begin(), list.end(), after);
            pos = it == list.end() ? 0 : size_t(it - list.begin()) + 1;
        }
        list.insert(list.begin() + long(pos), h);
    }
    return before != list;
}

bool InRegion(TWnd* w, TPoint windowPt)
{
    if (w->region.empty()) return true;
    for (auto& r : w->region)
        if (PtInRect(r, windowPt)) return true;
    return false;
}

HWND DeepChildAt(HWND h, TPoint screen)
{
    for (;;) {
        TWnd* w = WndOf(h);
        if (!w) return h;
        TPoint org = ClientOriginScreen(h);
        TRect client = w->client;
        OffsetRect(client, -client.Left, -client.Top);
        TPoint cp{screen.X - org.X, screen.Y - org.Y};
        if (!PtInRect(client, cp)) return h;
        HWND found = nullptr;
        for (HWND c : w->children) {
            TWnd* cw = WndOf(c);
            if (!cw || !(cw->style & WS_VISIBLE) || (cw->style & WS_DISABLED)) continue;
            if (!PtInRect(cw->rect, cp)) continue;
            if (!InRegion(cw, {cp.X - cw->rect.Left, cp.Y - cw->rect.Top})) continue;
            found = c;
            break;
        }
        if (!found) return h;
        h = found;
    }
}

}  // namespace

TRect WindowRectScreen(HWND hwnd)
{
    TWnd* w = WndOf(hwnd);
    if (!w) return {};
    TRect r = w->rect;
    if (w->parent) {
        TPoint o = ClientOriginScreen(w->parent);
        OffsetRect(r, o.X, o.Y);
    }
    return r;
}

TPoint ClientOriginScreen(HWND hwnd)
{
    TWnd* w = WndOf(hwnd);
    if (!w) return {};
    TRect r = WindowRectScreen(hwnd);
    return {r.Left + w->client.Left, r.Top + w->client.Top};
}

bool IsVisibleDeep(HWND hwnd)
{
    TWnd* w = WndOf(hwnd);
    while (w) {
        if (!(w->style & WS_VISIBLE)) return false;
        if (!w->parent) return true;
        w = WndOf(w->parent);
    }
    return false;
}

// Finds the window a mouse event at a screen point goes to, asking the
// windows' WM_NCHITTEST on the way: HTTRANSPARENT passes it on to what lies
// beneath.
HWND WmHitWindow(TPoint p, LRESULT& hit)
{
    std::vector<HWND> tops;
    {
        std::lock_guard<std::recursive_mutex> g(WM().lock);
        tops = WM().topLevels;
    }
    for (HWND t : tops) {
        TWnd* w = WndOf(t);
        if (!w || !(w->style & WS_VISIBLE) || w->minimized) continue;
        if (!PtInRect(w->rect, p)) continue;
        if (!InRegion(w, {p.X - w->rect.Left, p.Y - w->rect.Top})) continue;
        if ((w->exStyle & (WS_EX_LAYERED | WS_EX_TRANSPARENT)) == (WS_EX_LAYERED | WS_EX_TRANSPARENT))
            continue;
        if (w->style & WS_DISABLED) {
            hit = HTERROR;
            return t;
        }
        HWND h = DeepChildAt(t, p);
        for (;;) {
            hit = SendMessage(h, WM_NCHITTEST, 0, PointToLParam(p));
            if (hit != HTTRANSPARENT) return h;
            TWnd* hw = WndOf(h);
            if (!hw || !hw->parent) break;
            h = hw->parent;
        }
    }
    hit = HTNOWHERE;
    return nullptr;
}

BOOL SetWindowPos(HWND hwnd, HWND after, int x, int y, int cx, int cy, UINT flags)
{
    TWnd* w = WndOf(hwnd);
    if (!w) return FALSE;
    WINDOWPOS wp{hwnd, after, x, y, cx, cy, flags};
    if (flags & SWP_NOMOVE) { wp.x = w->rect.Left; wp.y = w->rect.Top; }
    if (flags & SWP_NOSIZE) { wp.cx = w->rect.Width(); wp.cy = w->rect.Height(); }
    if ((flags & SWP_SHOWWINDOW) && (w->style & WS_VISIBLE)) wp.flags &= ~SWP_SHOWWINDOW;
    if ((flags & SWP_HIDEWINDOW) && !(w->style & WS_VISIBLE)) wp.flags &= ~SWP_HIDEWINDOW;
    if (!(flags & SWP_NOSENDCHANGING)) {
        SendMessage(hwnd, WM_WINDOWPOSCHANGING, 0, LPARAM(&wp));
        if (!(w = WndOf(hwnd))) return FALSE;
    }
    wp.cx = std::max(0, wp.cx);
    wp.cy = std::max(0, wp.cy);
    TRect oldRect = w->rect;
    bool wasVisible = (w->style & WS_VISIBLE) != 0;
    bool moved = wp.x != oldRect.Left || wp.y != oldRect.Top;
    bool sized = wp.cx != oldRect.Width() || wp.cy != oldRect.Height();
    if (!moved) wp.flags |= SWP_NOMOVE;
    if (!sized) wp.flags |= SWP_NOSIZE;

    TRect oldClient = w->client;
    w->rect = Bounds(wp.x, wp.y, wp.cx, wp.cy);
    WmGeometryChanged();
    if (sized || (wp.flags & SWP_FRAMECHANGED)) {
        TRect r = w->rect;
        SendMessage(hwnd, WM_NCCALCSIZE, FALSE, LPARAM(&r));
        if (!(w = WndOf(hwnd))) return FALSE;
        w->client = r;
        OffsetRect(w->client, -w->rect.Left, -w->rect.Top);
        WmGeometryChanged();
    }
    if (w->client.Width() == oldClient.Width() && w->client.Height() == oldClient.Height())
        wp.flags |= SWP_NOCLIENTSIZE;
    if (!moved && w->client.TopLeft() == oldClient.TopLeft()) wp.flags |= SWP_NOCLIENTMOVE;
    bool zChanged = false;
    if (!(wp.flags & SWP_NOZORDER)) zChanged = PlaceInZOrder(hwnd, wp.hwndInsertAfter);
    if (wp.flags & SWP_SHOWWINDOW) w->style |= WS_VISIBLE;
    if (wp.flags & SWP_HIDEWINDOW) w->style &= ~WS_VISIBLE;
    WmGeometryChanged();
    bool visible = (w->style & WS_VISIBLE) != 0;

    // What has to be painted again.
    if (!(wp.flags & SWP_NOREDRAW) && (moved || sized || zChanged || visible != wasVisible ||
                                       (wp.flags & SWP_FRAMECHANGED))) {
        if (w->parent) {
            TRect area{};
            if (wasVisible) area = oldRect;
            if (visible) UnionRect(area, area, w->rect);
            WmInvalidate(w->parent, &area, true, true);
        } else if (visible && (sized || visible != wasVisible || (wp.flags & SWP_FRAMECHANGED))) {
            WmInvalidateAll(hwnd);
        }
    }
    if (!w->parent && HasBackend()) Backend().WindowChanged(hwnd);

    if (wasVisible && !visible) {
        auto& m = WM();
        HWND a = m.active;
        if (a && (a == hwnd || IsChild(hwnd, a))) WmActivateNext(hwnd);
        if (m.capture && (m.capture == hwnd || IsChild(hwnd, m.capture))) ReleaseCapture();
    }
    SendMessage(hwnd, WM_WINDOWPOSCHANGED, 0, LPARAM(&wp));
    if (!(w = WndOf(hwnd))) return TRUE;
    if (!w->parent && visible && !wasVisible && !(wp.flags & SWP_NOACTIVATE) &&
        !(w->exStyle & WS_EX_NOACTIVATE))
        WmActivate(hwnd, WA_ACTIVE);
    return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int w, int h, BOOL repaint)
{
    return SetWindowPos(hwnd, nullptr, x, y, w, h,
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0u : UINT(SWP_NOREDRAW)));
}

BOOL ShowWindow(HWND hwnd, int cmd)
{
    TWnd* w = WndOf(hwnd);
    if (!w) return FALSE;
    BOOL was = (w->style & WS_VISIBLE) ? TRUE : FALSE;
    switch (cmd) {
    case SW_HIDE:
        if (!was) return FALSE;
        SendMessage(hwnd, WM_SHOWWINDOW, FALSE, 0);
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return was;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
        if (!w->minimized) {
            w->minimized = true;
            if (!was) {
                SendMessage(hwnd, WM_SHOWWINDOW, TRUE, 0);
                if ((w = WndOf(hwnd))) w->style |= WS_VISIBLE;
                WmGeometryChanged();
            }
            SendMessage(hwnd, WM_SIZE, SIZE_MINIMIZED, 0);
            // The desktop minimises the window it shows.
            if ((w = WndOf(hwnd)) && !w->parent && HasBackend()) Backend().WindowChanged(hwnd);
            if (WM().active == hwnd) WmActivateNext(hwnd);
        }
        return was;
    case SW_MAXIMIZE: {
        if (!w->parent) {
            HMONITOR mon = MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST);
            MONITORINFO mi;
            GetMonitorInfo(mon, &mi);
            if (!w->maximized) {
                w->normalRect = w->rect;
                w->hasNormalRect = true;
            }
            w->minimized = false;
            w->maximized = true;
            if (!was) SendMessage(hwnd, WM_SHOWWINDOW, TRUE, 0);
            SetWindowPos(hwnd, HWND_TOP, mi.rcWork.Left, mi.rcWork.Top, mi.rcWork.Width(),
                         mi.rcWork.Height(), SWP_SHOWWINDOW | SWP_FRAMECHANGED);
        }
        return was;
    }
    default: {
        bool activate = cmd != SW_SHOWNOACTIVATE && cmd != SW_SHOWNA && !w->parent;
        bool fromMinimized = w->minimized;
        // Restoring a minimised window brings back what it was before, a
        // maximised one included; restoring a maximised one puts it back at
        // its normal place and size.
        bool unmaximize = cmd == SW_RESTORE && !fromMinimized && w->maximized;
        w->minimized = false;
        if (unmaximize) w->maximized = false;
        if (!was) {
            SendMessage(hwnd, WM_SHOWWINDOW, TRUE, 0);
            if (!(w = WndOf(hwnd))) return was;
        }
        UINT flags = SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE;
        if (!activate) flags |= SWP_NOACTIVATE;
        if (cmd == SW_SHOWNA || w->parent) flags |= SWP_NOZORDER;
        TRect to = w->rect;
        if (unmaximize && w->hasNormalRect) {
            to = w->normalRect;
            flags = (flags & ~UINT(SWP_NOMOVE | SWP_NOSIZE)) | SWP_FRAMECHANGED;
        }
        SetWindowPos(hwnd, HWND_TOP, to.Left, to.Top, to.Width(), to.Height(), flags);
        if (fromMinimized && (w = WndOf(hwnd))) {
            SendMessage(hwnd, WM_SIZE, w->maximized ? SIZE_MAXIMIZED : SIZE_RESTORED,
                        MAKELPARAM(w->client.Width(), w->client.Height()));
        } else if (unmaximize && (w = WndOf(hwnd)) && !w->hasNormalRect) {
            SendMessage(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(w->client.Width(), w->client.Height()));
        }
        if (was && activate && WM().active != hwnd && (w = WndOf(hwnd)) &&
            !(w->exStyle & WS_EX_NOACTIVATE))
            WmActivate(hwnd, WA_ACTIVE);
        return was;
    }
    }
}

BOOL GetWindowRect(HWND hwnd, TRect* rect)
{
    if (!WndOf(hwnd) || !rect) return FALSE;
    *rect = WindowRectScreen(hwnd);
    return TRUE;
}

BOOL GetClientRect(HWND hwnd, TRect* rect)
{
    TWnd* w = WndOf(hwnd);
    if (!w || !rect) return FALSE;
    *rect = Rect(0, 0, w->client.Width(), w->client.Height());
    return TRUE;
}

BOOL ClientToScreen(HWND hwnd, TPoint* p)
{
    if (!WndOf(hwnd) || !p) return FALSE;
    TPoint o = ClientOriginScreen(hwnd);
    p->X += o.X;
    p->Y += o.Y;
    return TRUE;
}

BOOL ScreenToClient(HWND hwnd, TPoint* p)
{
    if (!WndOf(hwnd) || !p) return FALSE;
    TPoint o = ClientOriginScreen(hwnd);
    p->X -= o.X;
    p->Y -= o.Y;
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, TPoint* points, UINT count)
{
    TPoint a = from ? ClientOriginScreen(from) : TPoint{};
    TPoint b = to ? ClientOriginScreen(to) : TPoint{};
    int dx = a.X - b.X, dy = a.Y - b.Y;
    for (UINT i = 0; points && i < count; ++i) {
        points[i].X += dx;
        points[i].Y += dy;
    }
    return int(MAKELPARAM(dx, dy));
}

HWND WindowFromPoint(TPoint p)
{
    std::vector<HWND> tops;
    {
        std::lock_guard<std::recursive_mutex> g(WM().lock);
        tops = WM().topLevels;
    }
    for (HWND t : tops) {
        TWnd* w = WndOf(t);
        if (!w || !(w->style & WS_VISIBLE) || w->minimized || !PtInRect(w->rect, p)) continue;
        if (!InRegion(w, {p.X - w->rect.Left, p.Y - w->rect.Top})) continue;
        if ((w->exStyle & (WS_EX_LAYERED | WS_EX_TRANSPARENT)) == (WS_EX_LAYERED | WS_EX_TRANSPARENT))
            continue;
        return DeepChildAt(t, p);
    }
    return nullptr;
}

HWND ChildWindowFromPoint(HWND parent, TPoint p)
{
    TWnd* w = WndOf(parent);
    if (!w) return nullptr;
    if (!PtInRect(Rect(0, 0, w->client.Width(), w->client.Height()), p)) return nullptr;
    for (HWND c : w->children) {
        TWnd* cw = WndOf(c);
        if (cw && PtInRect(cw->rect, p)) return c;
    }
    return parent;
}

HWND GetParent(HWND hwnd)
{
    TWnd* w = WndOf(hwnd);
    if (!w) return nullptr;
    if (w->style & WS_CHILD) return w->parent;
    return (w->style & WS_POPUP) ? w->owner : nullptr;
}

HWND GetAncestor(HWND hwnd, UINT flags)
{
    TWnd* w = WndOf(hwnd);
    if (!w) return nullptr;
    switch (flags) {
    case GA_PARENT: return w->parent;
    case GA_ROOT: return RootOf(hwnd);
    case GA_ROOTOWNER: {
        HWND r = RootOf(hwnd);
        for (int i = 0; i < 64; ++i) {
            TWnd* rw = WndOf(r);
            if (!rw || !rw->owner) break;
            r = rw->owner;
        }
        return r;
    }
    default: return nullptr;
    }
}

HWND SetParent(HWND child, HWND newParent)
{
    TWnd* w = WndOf(child);
    if (!w) return nullptr;
    if (newParent && (!WndOf(newParent) || newParent == child || IsChild(child, newParent)))
        return nullptr;
    HWND old = w->parent;
    bool visible = (w->style & WS_VISIBLE) != 0;
    if (visible && old) WmInvalidate(old, &w->rect, true, true);
    auto& m = WM();
    {
        std::lock_guard<std::recursive_mutex> g(m.lock);
        WmGeometryChanged();
        if (old) {
            auto& c = WndOf(old)->children;
            c.erase(std::remove(c.begin(), c.end(), child), c.end());
        } else {
            auto& t = m.topLevels;
            t.erase(std::remove(t.begin(), t.end(), child), t.end());
        }
        if (newParent) {
            w->parent = newParent;
            w->owner = nullptr;
            WndOf(newParent)->children.insert(WndOf(newParent)->children.begin(), child);
        } else {
            w->parent = nullptr;
            m.topLevels.insert(m.topLevels.begin() + long(FirstNonTopmost(m.topLevels)), child);
        }
    }
    if (!old && newParent && HasBackend()) Backend().WindowDestroyed(child);
    if (old && !newParent && HasBackend()) Backend().WindowCreated(child);
    if (!newParent) WmReleaseSurface(w);
    if (visible) {
        if (newParent)
            WmInvalidate(newParent, &w->rect, true, true);
        else
            WmInvalidateAll(child);
    }
    return old;
}

HWND GetWindow(HWND hwnd, UINT cmd)
{
    TWnd* w = WndOf(hwnd);
    if (!w) return nullptr;
    auto& m = WM();
    std::lock_guard<std::recursive_mutex> g(m.lock);
    const std::vector<HWND>& sib = w->parent ? WndOf(w->parent)->children : m.topLevels;
    auto it = std::find(sib.begin(), sib.end(), hwnd);
    switch (cmd) {
    case GW_CHILD: return w->children.empty() ? nullptr : w->children.front();
    case GW_OWNER: return w->owner;
    case GW_HWNDFIRST: return sib.empty() ? nullptr : sib.front();
    case GW_HWNDLAST: return sib.empty() ? nullptr : sib.back();
    case GW_HWNDNEXT:
        return (it == sib.end() || it + 1 == sib.end()) ? nullptr : *(it + 1);
    case GW_HWNDPREV: return (it == sib.end() || it == sib.begin()) ? nullptr : *(it - 1);
    case GW_ENABLEDPOPUP:
        for (HWND t : m.topLevels)
            if (TWnd* tw = WndOf(t); tw && tw->owner == hwnd && (tw->style & WS_VISIBLE) &&
                                     !(tw->style & WS_DISABLED))
                return t;
        return nullptr;
    default: return nullptr;
    }
}

HWND GetTopWindow(HWND hwnd)
{
    if (!hwnd) {
        std::lock_guard<std::recursive_mutex> g(WM().lock);
        return WM().topLevels.empty() ? nullptr : WM().topLevels.front();
    }
    return GetWindow(hwnd, GW_CHILD);
}

HWND GetDesktopWindow() { return nullptr; }

BOOL IsChild(HWND parent, HWND hwnd)
{
    if (!parent) return FALSE;
    TWnd* w = WndOf(hwnd);
    while (w && w->parent) {
        if (w->parent == parent) return TRUE;
        w = WndOf(w->parent);
    }
    return FALSE;
}

BOOL IsWindowVisible(HWND hwnd) { return IsVisibleDeep(hwnd) ? TRUE : FALSE; }

BOOL IsWindowEnabled(HWND hwnd)
{
    TWnd* w = WndOf(hwnd);
    return (w && !(w->style & WS_DISABLED)) ? TRUE : FALSE;
}

BOOL EnableWindow(HWND hwnd, BOOL enable)
{
    TWnd* w = WndOf(hwnd);
    if (!w) return FALSE;
    BOOL wasDisabled = (w->style & WS_DISABLED) ? TRUE : FALSE;
    if (bool(enable) == !wasDisabled) return wasDisabled;
    auto& m = WM();
    if (!enable) {
        if (m.focus && (m.focus == hwnd || IsChild(hwnd, m.focus))) SetFocus(nullptr);
        if (m.capture && (m.capture == hwnd || IsChild(hwnd, m.capture))) ReleaseCapture();
        if ((w = WndOf(hwnd))) w->style |= WS_DISABLED;
    } else {
        w->style &= ~WS_DISABLED;
    }
    SendMessage(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
    return wasDisabled;
}

BOOL IsIconic(HWND hwnd)
{
    TWnd* w = WndOf(hwnd);
    return w && w->minimized ? TRUE : FALSE;
}

BOOL IsZoomed(HWND hwnd)
{
    TWnd* w = WndOf(hwnd);
    return w && w->maximized ? TRUE : FALSE;
}

BOOL BringWindowToTop(HWND hwnd)
{
    return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL EnumChildWindows(HWND parent, const std::function<bool(HWND)>& fn)
{
    TWnd* w = WndOf(parent);
    if (!w) return FALSE;
    std::vector<HWND> kids = w->children;
    for (HWND c : kids) {
        if (!WndOf(c)) continue;
        if (!fn(c)) return FALSE;
        if (!EnumChildWindows(c, fn) && WndOf(c) && !WndOf(c)->children.empty()) return FALSE;
    }
    return TRUE;
}

BOOL EnumThreadWindows(DWORD threadId, const std::function<bool(HWND)>& fn)
{
    std::vector<HWND> tops;
    {
        std::lock_guard<std::recursive_mutex> g(WM().lock);
        tops = WM().topLevels;
    }
    for (HWND t : tops) {
        TWnd* w = WndOf(t);
        if (w && w->threadId == threadId && !fn(t)) return FALSE;
    }
    return TRUE;
}

BOOL SetWindowRectRgn(HWND hwnd, const TRect* rects, int count, BOOL redraw)
{
    TWnd* w = WndOf(hwnd);
    if (!w) return FALSE;
    w->region.assign(rects, rects + std::max(0, count));
    if (redraw) {
        if (w->parent)
            WmInvalidate(w->parent, &w->rect, true, true);
        else
            WmInvalidateAll(hwnd);
    }
    return TRUE;
}

BOOL GetWindowRgnBox(HWND hwnd, TRect* box)
{
    TWnd* w = WndOf(hwnd);
    if (!w || !box || w->region.empty()) return FALSE;
    TRect b = w->region.front();
    for (auto& r : w->region) UnionRect(b, b, r);
    *box = b;
    return TRUE;
}

BOOL SetLayeredWindowAttributes(HWND hwnd, DWORD key, Byte alpha, DWORD flags)
{
    TWnd* w = WndOf(hwnd);
    if (!w || !(w->exStyle & WS_EX_LAYERED)) return FALSE;
    w->layeredAttr = true;
    w->layeredKey = key;
    w->layeredAlpha = alpha;
    w->layeredFlags = flags;
    w->layeredPixels.clear();
    if (HasBackend()) Backend().WindowChanged(RootOf(hwnd));
    return TRUE;
}

BOOL GetLayeredWindowAttributes(HWND hwnd, DWORD* key, Byte* alpha, DWORD* flags)
{
    TWnd* w = WndOf(hwnd);
    if (!w || !w->layeredAttr) return FALSE;
    if (key) *key = w->layeredKey;
    if (alpha) *alpha = w->layeredAlpha;
    if (flags) *flags = w->layeredFlags;
    return TRUE;
}

BOOL UpdateLayeredWindowPixels(HWND hwnd, const TPoint* screenPos, const uint32_t* argb,
                               int width, int height, Byte constAlpha, DWORD flags)
{
    TWnd* w = WndOf(hwnd);
    if (!w || !(w->exStyle & WS_EX_LAYERED) || w->parent || width < 0 || height < 0) return FALSE;
    if (argb && width > 0 && height > 0) {
        w->layeredPixels.assign(argb, argb + size_t(width) * size_t(height));
        w->layeredW = width;
        w->layeredH = height;
    }
    w->layeredAttr = false;
    w->layeredAlpha = constAlpha;
    w->layeredFlags = flags;
    TRect r = w->rect;
    if (screenPos) r = Bounds(screenPos->X, screenPos->Y, r.Width(), r.Height());
    if (argb) r = Bounds(r.Left, r.Top, width, height);
    if (r != w->rect)
        SetWindowPos(hwnd, nullptr, r.Left, r.Top, r.Width(), r.Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    if (HasBackend()) Backend().WindowChanged(hwnd);
    return TRUE;
}
