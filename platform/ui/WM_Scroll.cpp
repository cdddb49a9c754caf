// Scroll bars: the scroll info of a window's frame bars and of scroll bar
// controls, the layout and drawing every bar shares, and the following of
// a press on a bar (arrows and page areas repeat while held, the thumb is
// dragged) with the WM_HSCROLL/WM_VSCROLL notifications it gives. The
// window procedure that gets them decides the new position.
#include <algorithm>
#include <cstdint>

#include "platform/ui/Themes.h"
#include "platform/ui/WindowManager.h"

namespace {

constexpr UINT_PTR kRepeatTimer = 0xFFFF5C01u;  // on the tracked window
constexpr UINT kFirstDelay = 350;               // ms before a held part repeats
constexpr UINT kRepeatDelay = 50;               // ms between repeats
constexpr int kMinThumb = 8;

SCROLLINFO* InfoOf(HWND hwnd, int bar)
{
    TWnd* w = WndOf(hwnd);
    if (!w || bar < SB_HORZ || bar > SB_CTL) return nullptr;
    return &w->scroll[bar];
}

int MaxPos(const SCROLLINFO& s) { return s.nMax - std::max<int>(int(s.nPage) - 1, 0); }

int ClampPos(const SCROLLINFO& s, int pos)
{
    return std::max(s.nMin, std::min(pos, std::max(s.nMin, MaxPos(s))));
}

// A range the page does not cover: the bar has something to scroll.
bool Useful(const SCROLLINFO& s) { return MaxPos(s) > s.nMin; }

int64_t Scaled(int64_t a, int64_t b, int64_t c) { return c == 0 ? 0 : (a * b + c / 2) / c; }

TRect Span(const TRect& bar, bool vertical, int a, int b)
{
    return vertical ? Rect(bar.Left, a, bar.Right, b) : Rect(a, bar.Top, b, bar.Bottom);
}

int Along(TPoint p, bool vertical) { return vertical ? p.Y : p.X; }

// Where a bar lies and how it is oriented: a window's frame bar in window
// coordinates, a scroll bar control over its client area.
struct TBarPlace {
    TRect Bar;
    TPoint Origin;  // screen point of the bar's coordinate origin
    bool Vertical = true;
    bool Enabled = true;
};

bool PlaceOf(HWND hwnd, int bar, TBarPlace& pl)
{
    TWnd* w = WndOf(hwnd);
    if (!w) return false;
    if (bar == SB_CTL) {
        pl.Bar = Rect(0, 0, w->client.Width(), w->client.Height());
        pl.Origin = ClientOriginScreen(hwnd);
        pl.Vertical = (w->style & SBS_VERT) != 0;
    } else {
        if (!WmWindowScrollBarRect(hwnd, bar, pl.Bar)) return false;
        pl.Origin = WindowRectScreen(hwnd).TopLeft();
        pl.Vertical = bar == SB_VERT;
    }
    pl.Enabled = !(w->style & WS_DISABLED) && w->scrollDisabled[bar] != ESB_DISABLE_BOTH;
    return true;
}

TScrollBarLayout LayoutOf(HWND hwnd, int bar, const TBarPlace& pl, bool tracked)
{
    SCROLLINFO* si = InfoOf(hwnd, bar);
    const TScrollTrack& t = WM().scrollTrack;
    bool dragging = tracked && t.hwnd == hwnd && t.bar == bar && t.part == spThumb;
    return WmScrollBarLayout(pl.Bar, pl.Vertical, *si, pl.Enabled, dragging ? &t.trackPos : nullptr);
}

int PressedPart(HWND hwnd, int bar)
{
    const TScrollTrack& t = WM().scrollTrack;
    if (t.hwnd != hwnd || t.bar != bar) return spNone;
    return (t.over || t.part == spThumb) ? t.part : spNone;
}

int CodeOf(int part)
{
    switch (part) {
    case spLineUp: return SB_LINEUP;
    case spLineDown: return SB_LINEDOWN;
    case spPageUp: return SB_PAGEUP;
    case spPageDown: return SB_PAGEDOWN;
    default: return SB_ENDSCROLL;
    }
}

// A window's own bars notify the window; a scroll bar control notifies its
// parent with its handle in lParam.
void Notify(HWND hwnd, int bar, bool vertical, int code, int pos)
{
    UINT msg = vertical ? WM_VSCROLL : WM_HSCROLL;
    bool thumb = code == SB_THUMBTRACK || code == SB_THUMBPOSITION;
    WPARAM wp = MAKEWPARAM(code, thumb ? pos : 0);
    if (bar == SB_CTL) {
        if (HWND parent = GetParent(hwnd)) SendMessage(parent, msg, wp, LPARAM(reinterpret_cast<intptr_t>(hwnd)));
    } else {
        SendMessage(hwnd, msg, wp, 0);
    }
}

void Redraw(HWND hwnd, int bar)
{
    if (!WndOf(hwnd) || !IsVisibleDeep(hwnd)) return;
    if (bar == SB_CTL) {
        InvalidateRect(hwnd, nullptr, FALSE);
        UpdateWindow(hwnd);
        return;
    }
    // Straight onto the frame, as the press is followed.
    if (HDC dc = GetWindowDC(hwnd)) {
        WmPaintWindowScrollBars(hwnd, dc);
        ReleaseDC(hwnd, dc);
    }
}

bool Tracking(HWND hwnd) { return hwnd && WM().scrollTrack.hwnd == hwnd; }

void EndTrack()
{
    auto& m = WM();
    TScrollTrack t = m.scrollTrack;
    m.scrollTrack = TScrollTrack{};
    if (!t.hwnd || !WndOf(t.hwnd)) return;
    KillTimer(t.hwnd, kRepeatTimer);
    TBarPlace pl;
    bool vertical = PlaceOf(t.hwnd, t.bar, pl) ? pl.Vertical : t.bar != SB_HORZ;
    if (t.part == spThumb) Notify(t.hwnd, t.bar, vertical, SB_THUMBPOSITION, t.trackPos);
    if (WndOf(t.hwnd)) Notify(t.hwnd, t.bar, vertical, SB_ENDSCROLL, 0);
    Redraw(t.hwnd, t.bar);
}

// Whether the cursor is over the part the press began on (which moves as
// the thumb does for the page areas).
bool OverPressedPart(const TScrollTrack& t, TPoint screen)
{
    TBarPlace pl;
    if (!PlaceOf(t.hwnd, t.bar, pl)) return false;
    TScrollBarLayout l = LayoutOf(t.hwnd, t.bar, pl, false);
    return WmScrollPartAt(l, {screen.X - pl.Origin.X, screen.Y - pl.Origin.Y}) == t.part;
}

void RepeatProc(HWND hwnd, UINT, UINT_PTR id, DWORD)
{
    auto& m = WM();
    TScrollTrack& t = m.scrollTrack;
    if (!Tracking(hwnd) || t.part == spThumb) {
        KillTimer(hwnd, id);
        return;
    }
    SetTimer(hwnd, id, kRepeatDelay, RepeatProc);
    if (!OverPressedPart(t, m.cursorPos)) return;
    TBarPlace pl;
    if (!PlaceOf(hwnd, t.bar, pl)) return;
    int bar = t.bar;
    Notify(hwnd, bar, pl.Vertical, CodeOf(t.part), 0);
    if (Tracking(hwnd)) Redraw(hwnd, bar);
}

void MoveTrack(TPoint screen)
{
    auto& m = WM();
    TScrollTrack& t = m.scrollTrack;
    TBarPlace pl;
    if (!PlaceOf(t.hwnd, t.bar, pl)) return;
    HWND hwnd = t.hwnd;
    int bar = t.bar;
    if (t.part != spThumb) {
        bool over = OverPressedPart(t, screen);
        if (over != t.over) {
            t.over = over;
            Redraw(hwnd, bar);
        }
        return;
    }
    SCROLLINFO* si = InfoOf(hwnd, bar);
    TScrollBarLayout l = LayoutOf(hwnd, bar, pl, false);
    TPoint p{screen.X - pl.Origin.X, screen.Y - pl.Origin.Y};
    int pos = WmScrollPosFromThumb(l, *si, Along(p, pl.Vertical) - t.thumbOffset);
    if (pos == t.trackPos) return;
    t.trackPos = pos;
    si->nTrackPos = pos;
    Redraw(hwnd, bar);
    Notify(hwnd, bar, pl.Vertical, SB_THUMBTRACK, pos);
}

HTHEME OpenBarTheme(HWND hwnd) { return OpenThemeData(hwnd, L"scrollbar"); }

}  // namespace

// ---------------------------------------------------------------------------
// Layout

TScrollBarLayout WmScrollBarLayout(const TRect& bar, bool vertical, const SCROLLINFO& si, bool enabled,
                                   const int* thumbPos)
{
    TScrollBarLayout l;
    l.Bar = bar;
    l.Vertical = vertical;
    int start = vertical ? bar.Top : bar.Left;
    int length = std::max(0, vertical ? bar.Height() : bar.Width());
    int arrow = std::min(GetSystemMetrics(vertical ? SM_CYVSCROLL : SM_CXHSCROLL), length / 2);
    l.LineUp = Span(bar, vertical, start, start + arrow);
    l.LineDown = Span(bar, vertical, start + length - arrow, start + length);
    l.TrackStart = start + arrow;
    l.TrackLength = std::max(0, length - 2 * arrow);
    int trackEnd = l.TrackStart + l.TrackLength;
    int maxPos = MaxPos(si);
    if (enabled && maxPos > si.nMin) {
        int64_t range = int64_t(si.nMax) - si.nMin + 1;
        int thumb = si.nPage ? int(Scaled(l.TrackLength, si.nPage, range))
                             : GetSystemMetrics(vertical ? SM_CYVTHUMB : SM_CXHTHUMB);
        thumb = std::max(thumb, kMinThumb);
        if (thumb < l.TrackLength) {
            int pos = ClampPos(si, thumbPos ? *thumbPos : si.nPos);
            int offset = int(Scaled(l.TrackLength - thumb, int64_t(pos) - si.nMin, int64_t(maxPos) - si.nMin));
            l.HasThumb = true;
            l.ThumbLength = thumb;
            l.Thumb = Span(bar, vertical, l.TrackStart + offset, l.TrackStart + offset + thumb);
            l.PageUp = Span(bar, vertical, l.TrackStart, l.TrackStart + offset);
            l.PageDown = Span(bar, vertical, l.TrackStart + offset + thumb, trackEnd);
            return l;
        }
    }
    // No thumb: the track is one piece that does nothing.
    l.PageUp = Span(bar, vertical, l.TrackStart, trackEnd);
    l.PageDown = Span(bar, vertical, trackEnd, trackEnd);
    return l;
}

int WmScrollPartAt(const TScrollBarLayout& l, TPoint p)
{
    if (!PtInRect(l.Bar, p)) return spNone;
    if (PtInRect(l.LineUp, p)) return spLineUp;
    if (PtInRect(l.LineDown, p)) return spLineDown;
    if (!l.HasThumb) return spNone;
    if (PtInRect(l.Thumb, p)) return spThumb;
    if (PtInRect(l.PageUp, p)) return spPageUp;
    if (PtInRect(l.PageDown, p)) return spPageDown;
    return spNone;
}

int WmScrollPosFromThumb(const TScrollBarLayout& l, const SCROLLINFO& si, int thumbStart)
{
    int room = l.TrackLength - l.ThumbLength;
    int maxPos = std::max(si.nMin, MaxPos(si));
    if (room <= 0) return si.nMin;
    int offset = std::clamp(thumbStart - l.TrackStart, 0, room);
    return si.nMin + int(Scaled(offset, int64_t(maxPos) - si.nMin, room));
}

// ---------------------------------------------------------------------------
// Drawing

void WmDrawScrollBar(HDC dc, HWND themeWnd, const TScrollBarLayout& l, UINT disabledArrows, bool enabled,
                     int pressed)
{
    bool v = l.Vertical;
    bool upOff = !enabled || (disabledArrows & ESB_DISABLE_LTUP);
    bool downOff = !enabled || (disabledArrows & ESB_DISABLE_RTDN);
    TRect track = Span(l.Bar, v, l.TrackStart, l.TrackStart + l.TrackLength);
    if (HTHEME th = OpenBarTheme(themeWnd)) {
        auto arrow = [&](int first, bool off, bool down) { return first + (off ? 3 : down ? 2 : 0); };
        DrawThemeBackground(th, dc, SBP_ARROWBTN,
                            arrow(v ? ABS_UPNORMAL : ABS_LEFTNORMAL, upOff, pressed == spLineUp), &l.LineUp, nullptr);
        DrawThemeBackground(th, dc, SBP_ARROWBTN,
                            arrow(v ? ABS_DOWNNORMAL : ABS_RIGHTNORMAL, downOff, pressed == spLineDown), &l.LineDown,
                            nullptr);
        auto trackState = [&](int part) {
            return !enabled ? SCRBS_DISABLED : pressed == part ? SCRBS_PRESSED : SCRBS_NORMAL;
        };
        int lower = v ? SBP_LOWERTRACKVERT : SBP_LOWERTRACKHORZ;
        int upper = v ? SBP_UPPERTRACKVERT : SBP_UPPERTRACKHORZ;
        if (!l.HasThumb) {
            DrawThemeBackground(th, dc, lower, trackState(spNone), &track, nullptr);
        } else {
            if (!IsRectEmpty(l.PageUp)) DrawThemeBackground(th, dc, lower, trackState(spPageUp), &l.PageUp, nullptr);
            if (!IsRectEmpty(l.PageDown))
                DrawThemeBackground(th, dc, upper, trackState(spPageDown), &l.PageDown, nullptr);
            DrawThemeBackground(th, dc, v ? SBP_THUMBBTNVERT : SBP_THUMBBTNHORZ,
                                pressed == spThumb ? SCRBS_PRESSED : SCRBS_NORMAL, &l.Thumb, nullptr);
        }
        CloseThemeData(th);
        return;
    }
    // Classic: raised arrow buttons, a light track, a raised thumb.
    auto arrowFlags = [&](UINT dir, bool off, bool down) {
        return dir | (off ? UINT(DFCS_INACTIVE) : 0u) | (down ? UINT(DFCS_PUSHED | DFCS_FLAT) : 0u);
    };
    TRect r = l.LineUp;
    DrawFrameControl(dc, &r, DFC_SCROLL, arrowFlags(v ? DFCS_SCROLLUP : DFCS_SCROLLLEFT, upOff, pressed == spLineUp));
    r = l.LineDown;
    DrawFrameControl(dc, &r, DFC_SCROLL,
                     arrowFlags(v ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT, downOff, pressed == spLineDown));
    HBRUSH trackBrush = GetSysColorBrush(COLOR_SCROLLBAR);
    HBRUSH pressedBrush = GetSysColorBrush(COLOR_3DDKSHADOW);
    if (!l.HasThumb) {
        FillRect(dc, &track, trackBrush);
        return;
    }
    FillRect(dc, &l.PageUp, pressed == spPageUp ? pressedBrush : trackBrush);
    FillRect(dc, &l.PageDown, pressed == spPageDown ? pressedBrush : trackBrush);
    r = l.Thumb;
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(dc, &r, EDGE_RAISED, BF_RECT);
}

void WmDrawSizeBox(HDC dc, HWND themeWnd, const TRect& r)
{
    if (HTHEME th = OpenBarTheme(themeWnd)) {
        DrawThemeBackground(th, dc, SBP_SIZEBOX, 1, &r, nullptr);
        CloseThemeData(th);
        return;
    }
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
}

// ---------------------------------------------------------------------------
// A window's frame bars

bool WmWindowScrollBarRect(HWND hwnd, int bar, TRect& r)
{
    TWnd* w = WndOf(hwnd);
    if (!w || (bar != SB_HORZ && bar != SB_VERT)) return false;
    bool vs = (w->style & WS_VSCROLL) != 0, hs = (w->style & WS_HSCROLL) != 0;
    if (bar == SB_VERT ? !vs : !hs) return false;
    // Inside the border, caption and client edge: the bars, then the client.
    TRect f = FrameInsets(w->style & ~(WS_VSCROLL | WS_HSCROLL), w->exStyle);
    if (w->menu) f.Top += w->menuBarHeight;
    TRect in = Rect(f.Left, f.Top, std::max(f.Left, w->rect.Width() - f.Right),
                    std::max(f.Top, w->rect.Height() - f.Bottom));
    int cx = GetSystemMetrics(SM_CXVSCROLL), cy = GetSystemMetrics(SM_CYHSCROLL);
    if (bar == SB_VERT)
        r = Rect(std::max(in.Left, in.Right - cx), in.Top, in.Right,
                 std::max(in.Top, in.Bottom - (hs ? cy : 0)));
    else
        r = Rect(in.Left, std::max(in.Top, in.Bottom - cy), std::max(in.Left, in.Right - (vs ? cx : 0)),
                 in.Bottom);
    return !IsRectEmpty(r);
}

LRESULT WmScrollBarHitTest(HWND hwnd, TPoint screen)
{
    TWnd* w = WndOf(hwnd);
    if (!w) return HTNOWHERE;
    TPoint o = WindowRectScreen(hwnd).TopLeft();
    TPoint p{screen.X - o.X, screen.Y - o.Y};
    TRect v, h;
    bool hasV = WmWindowScrollBarRect(hwnd, SB_VERT, v), hasH = WmWindowScrollBarRect(hwnd, SB_HORZ, h);
    if (hasV && PtInRect(v, p)) return HTVSCROLL;
    if (hasH && PtInRect(h, p)) return HTHSCROLL;
    if (hasV && hasH && PtInRect(Rect(v.Left, h.Top, v.Right, h.Bottom), p)) return HTSIZE;
    return HTNOWHERE;
}

void WmPaintWindowScrollBars(HWND hwnd, HDC dc)
{
    TWnd* w = WndOf(hwnd);
    if (!w || !dc) return;
    TRect rects[2];
    bool shown[2];
    for (int bar : {SB_HORZ, SB_VERT}) {
        shown[bar] = false;
        TBarPlace pl;
        if (!PlaceOf(hwnd, bar, pl)) continue;
        shown[bar] = true;
        rects[bar] = pl.Bar;
        TScrollBarLayout l = LayoutOf(hwnd, bar, pl, true);
        WmDrawScrollBar(dc, hwnd, l, w->scrollDisabled[bar], pl.Enabled, PressedPart(hwnd, bar));
    }
    if (shown[SB_HORZ] && shown[SB_VERT]) {
        TRect box = Rect(rects[SB_VERT].Left, rects[SB_HORZ].Top, rects[SB_VERT].Right, rects[SB_HORZ].Bottom);
        WmDrawSizeBox(dc, hwnd, box);
    }
}

// ---------------------------------------------------------------------------
// Scroll info

int WmSetScrollInfo(HWND hwnd, int bar, const SCROLLINFO& si, bool redraw)
{
    SCROLLINFO* s = InfoOf(hwnd, bar);
    if (!s) return 0;
    if (si.fMask & SIF_RANGE) {
        s->nMin = si.nMin;
        s->nMax = std::max(si.nMin, si.nMax);
    }
    if (si.fMask & SIF_PAGE) s->nPage = si.nPage;
    // A page is never larger than the whole range.
    s->nPage = UINT(std::min<int64_t>(s->nPage, int64_t(s->nMax) - s->nMin + 1));
    if (si.fMask & SIF_POS) s->nPos = si.nPos;
    s->nPos = ClampPos(*s, s->nPos);
    const TScrollTrack& t = WM().scrollTrack;
    bool dragging = t.hwnd == hwnd && t.bar == bar && t.part == spThumb;
    if (!dragging) s->nTrackPos = s->nPos;
    if (redraw) {
        if (bar == SB_CTL)
            InvalidateRect(hwnd, nullptr, FALSE);
        else
            WmInvalidateFrame(hwnd);
    }
    return s->nPos;
}

bool WmGetScrollInfo(HWND hwnd, int bar, SCROLLINFO& si)
{
    SCROLLINFO* s = InfoOf(hwnd, bar);
    if (!s) return false;
    UINT mask = si.fMask;
    if (mask & SIF_RANGE) {
        si.nMin = s->nMin;
        si.nMax = s->nMax;
    }
    if (mask & SIF_PAGE) si.nPage = s->nPage;
    if (mask & SIF_POS) si.nPos = s->nPos;
    if (mask & SIF_TRACKPOS) si.nTrackPos = s->nTrackPos;
    return true;
}

int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* si, BOOL redraw)
{
    if (!si) return 0;
    if (bar == SB_CTL) return int(SendMessage(hwnd, SBM_SETSCROLLINFO, WPARAM(redraw), LPARAM(si)));
    TWnd* w = WndOf(hwnd);
    if (!w || (bar != SB_HORZ && bar != SB_VERT)) return 0;
    int pos = WmSetScrollInfo(hwnd, bar, *si, redraw != 0);
    if (!(si->fMask & (SIF_RANGE | SIF_PAGE))) return pos;
    // A frame bar shows while it has something to scroll; with
    // SIF_DISABLENOSCROLL it stays, disabled, when it has not.
    if (Useful(w->scroll[bar])) {
        EnableScrollBar(hwnd, UINT(bar), ESB_ENABLE_BOTH);
        ShowScrollBar(hwnd, bar, TRUE);
    } else if (si->fMask & SIF_DISABLENOSCROLL) {
        ShowScrollBar(hwnd, bar, TRUE);
        EnableScrollBar(hwnd, UINT(bar), ESB_DISABLE_BOTH);
    } else {
        ShowScrollBar(hwnd, bar, FALSE);
    }
    return pos;
}

BOOL GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* si)
{
    if (!si) return FALSE;
    if (bar == SB_CTL) return SendMessage(hwnd, SBM_GETSCROLLINFO, 0, LPARAM(si)) ? TRUE : FALSE;
    if (bar != SB_HORZ && bar != SB_VERT) return FALSE;
    return WmGetScrollInfo(hwnd, bar, *si) ? TRUE : FALSE;
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw)
{
    if (bar == SB_CTL) return int(SendMessage(hwnd, SBM_SETPOS, WPARAM(pos), LPARAM(redraw)));
    SCROLLINFO* s = InfoOf(hwnd, bar);
    if (!s || bar == SB_CTL) return 0;
    int old = s->nPos;
    SCROLLINFO si;
    si.fMask = SIF_POS;
    si.nPos = pos;
    WmSetScrollInfo(hwnd, bar, si, redraw != 0);
    return old;
}

int GetScrollPos(HWND hwnd, int bar)
{
    if (bar == SB_CTL) return int(SendMessage(hwnd, SBM_GETPOS, 0, 0));
    SCROLLINFO* s = InfoOf(hwnd, bar);
    return s ? s->nPos : 0;
}

BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw)
{
    if (bar == SB_CTL) {
        if (!WndOf(hwnd)) return FALSE;
        SendMessage(hwnd, redraw ? UINT(SBM_SETRANGEREDRAW) : UINT(SBM_SETRANGE), WPARAM(minPos), LPARAM(maxPos));
        return TRUE;
    }
    if (bar != SB_HORZ && bar != SB_VERT) return FALSE;
    SCROLLINFO si;
    si.fMask = SIF_RANGE;
    si.nMin = minPos;
    si.nMax = maxPos;
    if (!InfoOf(hwnd, bar)) return FALSE;
    SetScrollInfo(hwnd, bar, &si, redraw);
    return TRUE;
}

BOOL GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos)
{
    if (bar == SB_CTL) {
        if (!WndOf(hwnd)) return FALSE;
        SendMessage(hwnd, SBM_GETRANGE, WPARAM(minPos), LPARAM(maxPos));
        return TRUE;
    }
    SCROLLINFO* s = InfoOf(hwnd, bar);
    if (!s) return FALSE;
    if (minPos) *minPos = s->nMin;
    if (maxPos) *maxPos = s->nMax;
    return TRUE;
}

BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show)
{
    TWnd* w = WndOf(hwnd);
    if (!w) return FALSE;
    if (bar == SB_CTL) {
        ShowWindow(hwnd, show ? SW_SHOW : SW_HIDE);
        return TRUE;
    }
    DWORD bits = bar == SB_HORZ ? WS_HSCROLL : bar == SB_VERT ? WS_VSCROLL
                 : bar == SB_BOTH ? (WS_HSCROLL | WS_VSCROLL) : 0;
    DWORD st = show ? (w->style | bits) : (w->style & ~bits);
    if (st == w->style) return TRUE;
    w->style = st;
    WmGeometryChanged();
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return TRUE;
}

BOOL EnableScrollBar(HWND hwnd, UINT bar, UINT arrows)
{
    TWnd* w = WndOf(hwnd);
    if (!w) return FALSE;
    if (bar == UINT(SB_CTL)) return SendMessage(hwnd, SBM_ENABLE_ARROWS, WPARAM(arrows), 0) ? TRUE : FALSE;
    if (bar > UINT(SB_BOTH)) return FALSE;
    bool changed = false;
    for (int b : {SB_HORZ, SB_VERT}) {
        if (bar != UINT(SB_BOTH) && bar != UINT(b)) continue;
        changed |= w->scrollDisabled[b] != (arrows & ESB_DISABLE_BOTH);
        w->scrollDisabled[b] = arrows & ESB_DISABLE_BOTH;
    }
    if (changed) WmInvalidateFrame(hwnd);
    return changed ? TRUE : FALSE;
}

// ---------------------------------------------------------------------------
// Following a press

void WmScrollTrackBegin(HWND hwnd, int bar, TPoint screen)
{
    auto& m = WM();
    if (m.scrollTrack.hwnd) return;
    TBarPlace pl;
    if (!PlaceOf(hwnd, bar, pl) || !pl.Enabled) return;
    SCROLLINFO* si = InfoOf(hwnd, bar);
    TScrollBarLayout l = LayoutOf(hwnd, bar, pl, false);
    TPoint p{screen.X - pl.Origin.X, screen.Y - pl.Origin.Y};
    int part = WmScrollPartAt(l, p);
    UINT off = WndOf(hwnd)->scrollDisabled[bar];
    if (part == spNone || (part == spLineUp && (off & ESB_DISABLE_LTUP)) ||
        (part == spLineDown && (off & ESB_DISABLE_RTDN)))
        return;
    TScrollTrack t;
    t.hwnd = hwnd;
    t.bar = bar;
    t.part = part;
    t.over = true;
    if (part == spThumb) {
        t.thumbOffset = Along(p, pl.Vertical) - Along(l.Thumb.TopLeft(), pl.Vertical);
        t.trackPos = si->nPos;
        si->nTrackPos = si->nPos;
    }
    m.scrollTrack = t;
    Redraw(hwnd, bar);
    if (part != spThumb && Tracking(hwnd)) {
        Notify(hwnd, bar, pl.Vertical, CodeOf(part), 0);
        if (Tracking(hwnd)) SetTimer(hwnd, kRepeatTimer, kFirstDelay, RepeatProc);
        if (Tracking(hwnd)) Redraw(hwnd, bar);
    }
    // The button may be up already (a quick click delivered at once).
    if (Tracking(hwnd) && GetKeyState(VK_LBUTTON) >= 0) EndTrack();
}

bool WmScrollTrackMouse(UINT msg, TPoint screen)
{
    auto& m = WM();
    if (!m.scrollTrack.hwnd) return false;
    if (!WndOf(m.scrollTrack.hwnd)) {
        m.scrollTrack = TScrollTrack{};
        return false;
    }
    if (msg == WM_MOUSEMOVE)
        MoveTrack(screen);
    else if (msg == WM_LBUTTONUP)
        EndTrack();
    return true;  // the press holds the mouse until the button comes up
}

void WmScrollTrackCancel(HWND hwnd)
{
    auto& m = WM();
    HWND t = m.scrollTrack.hwnd;
    if (!t) return;
    if (hwnd && t != hwnd && !IsChild(hwnd, t)) return;
    m.scrollTrack = TScrollTrack{};
    if (WndOf(t)) KillTimer(t, kRepeatTimer);
}
