// Invalidation and painting: update rectangles, WM_PAINT/WM_ERASEBKGND/
// WM_NCPAINT, and the top-level surfaces child windows paint into.
#include <algorithm>

#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Backend.h"

void WmInvalidate(HWND h, const TRect* rect, bool erase, bool allChildren)
{
    TWnd* w = WndOf(h);
    if (!w || !IsVisibleDeep(h)) return;
    TRect client = Rect(0, 0, w->client.Width(), w->client.Height());
    TRect r = client;
    if (rect && !IntersectRect(r, *rect, client)) r = TRect{};
    if (!rect) {
        w->ncPaint = true;
    } else {
        // The part of the given rectangle outside the client area is frame.
        TRect whole = Rect(-w->client.Left, -w->client.Top, w->rect.Width() - w->client.Left,
                           w->rect.Height() - w->client.Top);
        TRect x;
        if (IntersectRect(x, *rect, whole) && !(x.Left >= 0 && x.Top >= 0 && x.Right <= client.Right &&
                                                x.Bottom <= client.Bottom))
            w->ncPaint = true;
    }
    if (IsRectEmpty(r) && !w->ncPaint) return;
    if (!IsRectEmpty(r)) {
        UnionRect(w->update, w->update, r);
        if (erase) w->erase = true;
    }
    if (!allChildren && (w->style & WS_CLIPCHILDREN)) return;
    std::vector<HWND> kids = w->children;
    for (HWND c : kids) {
        TWnd* cw = WndOf(c);
        if (!cw || !(cw->style & WS_VISIBLE)) continue;
        TRect cr;
        TRect src = rect ? *rect : client;
        if (!IntersectRect(cr, src, cw->rect)) continue;
        OffsetRect(cr, -(cw->rect.Left + cw->client.Left), -(cw->rect.Top + cw->client.Top));
        WmInvalidate(c, &cr, erase, allChildren);
    }
}

void WmInvalidateAll(HWND h)
{
    TWnd* w = WndOf(h);
    if (!w) return;
    w->update = Rect(0, 0, w->client.Width(), w->client.Height());
    if (IsRectEmpty(w->update)) w->update = TRect{};
    w->erase = true;
    w->ncPaint = true;
    for (HWND c : w->children) WmInvalidateAll(c);
}

void WmInvalidateFrame(HWND h)
{
    if (TWnd* w = WndOf(h); w && IsVisibleDeep(h)) w->ncPaint = true;
}

BOOL InvalidateRect(HWND hwnd, const TRect* rect, BOOL erase)
{
    if (!hwnd) {
        std::vector<HWND> tops;
        {
            std::lock_guard<std::recursive_mutex> g(WM().lock);
            tops = WM().topLevels;
        }
        for (HWND t : tops) WmInvalidateAll(t);
        return TRUE;
    }
    if (!WndOf(hwnd)) return FALSE;
    WmInvalidate(hwnd, rect, erase != 0, false);
    return TRUE;
}

BOOL ValidateRect(HWND hwnd, const TRect* rect)
{
    TWnd* w = WndOf(hwnd);
    if (!w) return FALSE;
    if (!rect) {
        w->update = TRect{};
        w->erase = false;
        w->internalPaint = false;
        return TRUE;
    }
    TRect& u = w->update;
    if (rect->Left <= u.Left && rect->Top <= u.Top && rect->Right >= u.Right && rect->Bottom >= u.Bottom) {
        u = TRect{};
        w->erase = false;
    } else if (rect->Left <= u.Left && rect->Right >= u.Right) {
        // A band across the whole width trims the top or the bottom.
        if (rect->Top <= u.Top && rect->Bottom > u.Top) u.Top = rect->Bottom;
        else if (rect->Bottom >= u.Bottom && rect->Top < u.Bottom) u.Bottom = rect->Top;
        if (IsRectEmpty(u)) u = TRect{};
    } else if (rect->Top <= u.Top && rect->Bottom >= u.Bottom) {
        if (rect->Left <= u.Left && rect->Right > u.Left) u.Left = rect->Right;
        else if (rect->Right >= u.Right && rect->Left < u.Right) u.Right = rect->Left;
        if (IsRectEmpty(u)) u = TRect{};
    }
    return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, TRect* rect, BOOL erase)
{
    TWnd* w = WndOf(hwnd);
    if (!w) return FALSE;
    if (rect) *rect = w->update;
    return IsRectEmpty(w->update) ? FALSE : TRUE;
}

namespace {
bool NeedsPaint(TWnd* w)
{
    return w->redraw && (w->style & WS_VISIBLE) && (!IsRectEmpty(w->update) || w->internalPaint || w->ncPaint);
}

void PaintNow(HWND h, bool children)
{
    TWnd* w = WndOf(h);
    if (!w || !IsVisibleDeep(h)) return;
    if (NeedsPaint(w)) {
        SendMessage(h, WM_PAINT, 0, 0);
        if ((w = WndOf(h))) {
            w->update = TRect{};
            w->internalPaint = w->erase = w->ncPaint = false;
        }
    }
    if (!children || !(w = WndOf(h))) return;
    std::vector<HWND> kids = w->children;
    for (auto it = kids.rbegin(); it != kids.rend(); ++it) PaintNow(*it, true);
}
}  // namespace

BOOL UpdateWindow(HWND hwnd)
{
    if (!WndOf(hwnd)) return FALSE;
    PaintNow(hwnd, false);
    return TRUE;
}

BOOL RedrawWindowRect(HWND hwnd, const TRect* rect, UINT flags)
{
    TWnd* w = WndOf(hwnd);
    if (!w) return FALSE;
    bool all = (flags & RDW_ALLCHILDREN) != 0;
    if (flags & RDW_INVALIDATE) {
        if (flags & RDW_NOCHILDREN) {
            DWORD style = w->style;
            w->style |= WS_CLIPCHILDREN;
            WmInvalidate(hwnd, rect, (flags & RDW_ERASE) != 0, false);
            if ((w = WndOf(hwnd))) w->style = style;
        } else {
            WmInvalidate(hwnd, rect, (flags & RDW_ERASE) != 0, all);
        }
        if ((flags & RDW_FRAME) && (w = WndOf(hwnd))) w->ncPaint = true;
    }
    if ((flags & RDW_INTERNALPAINT) && (w = WndOf(hwnd))) w->internalPaint = true;
    if (flags & RDW_VALIDATE) ValidateRect(hwnd, rect);
    if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) PaintNow(hwnd, !(flags & RDW_NOCHILDREN));
    return TRUE;
}

void WmUpdateAllWindows()
{
    std::vector<HWND> tops;
    {
        std::lock_guard<std::recursive_mutex> g(WM().lock);
        tops = WM().topLevels;
    }
    DWORD me = GetCurrentThreadId();
    for (HWND t : tops)
        if (TWnd* w = WndOf(t); w && w->threadId == me) PaintNow(t, true);
}

void WmDefaultPaint(HWND hwnd) { ValidateRect(hwnd, nullptr); }

LRESULT WmDefaultErase(HWND, WPARAM) { return 0; }

void WmDefaultNcPaint(HWND) {}

void WmReleaseSurface(TWnd* w) { w->surface = nullptr; }
