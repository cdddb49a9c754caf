// The track bar window class ("msctls_trackbar32") and TTrackBar.
#include <algorithm>
#include <memory>

#include "platform/ui/ComCtrls_Bars.h"
#include "platform/ui/Themes.h"
#include "platform/ui/WindowManager.h"

void RegisterTrackBarClass();

namespace {

const wchar_t* const kTrackProp = L"VelTrackBarState";
constexpr UINT_PTR kPageTimer = 1;
constexpr UINT kFirstDelay = 350, kRepeatDelay = 100;
constexpr int kThumbAlong = 11;   // the thumb's size along the bar
constexpr int kThumbAcross = 19;  // and across it
constexpr int kEnd = 13;          // from each end to the centre of the thumb at the limit
constexpr int kTickSpace = 8;     // room for the ticks on a side

struct TTrack {
    int Min = 0, Max = 100, Pos = 0, Line = 1, Page = 20, Freq = 1;
    int SelStart = 0, SelEnd = 0;
    std::vector<int> Ticks;  // manual ticks
    enum { None, Thumb, PageDown, PageUp } Press = None;  // PageDown: toward Min
    int DragOffset = 0;
};

TTrack* TrackOf(HWND h) { return static_cast<TTrack*>(GetProp(h, kTrackProp)); }
DWORD StyleOf(HWND h) { return DWORD(GetWindowLong(h, GWL_STYLE)); }
bool IsVert(HWND h) { return (StyleOf(h) & TBS_VERT) != 0; }
int Along(TPoint p, bool v) { return v ? p.Y : p.X; }

struct TGeo {
    bool Vertical = false;
    int A0 = 0, A1 = 0;           // thumb centres at Min and Max
    int ThumbTop = 0, ThumbBottom = 0;  // across
    TRect Channel, Thumb;
};

TRect Make(bool v, int a0, int a1, int c0, int c1) { return v ? Rect(c0, a0, c1, a1) : Rect(a0, c0, a1, c1); }

int CentreOf(const TGeo& g, const TTrack& t, int pos)
{
    if (t.Max <= t.Min) return g.A0;
    int64_t span = int64_t(t.Max) - t.Min;
    return g.A0 + int((int64_t(g.A1 - g.A0) * (int64_t(std::clamp(pos, t.Min, t.Max)) - t.Min) + span / 2) / span);
}

int PosAt(const TGeo& g, const TTrack& t, int along)
{
    if (g.A1 <= g.A0 || t.Max <= t.Min) return t.Min;
    int off = std::clamp(along - g.A0, 0, g.A1 - g.A0);
    int64_t span = int64_t(t.Max) - t.Min;
    return t.Min + int((int64_t(off) * span + (g.A1 - g.A0) / 2) / (g.A1 - g.A0));
}

TGeo GeoOf(HWND h, const TTrack& t)
{
    TGeo g;
    g.Vertical = IsVert(h);
    TRect r;
    GetClientRect(h, &r);
    int along = g.Vertical ? r.Height() : r.Width();
    int across = g.Vertical ? r.Width() : r.Height();
    DWORD st = StyleOf(h);
    bool ticks = !(st & TBS_NOTICKS);
    bool before = ticks && (st & (TBS_TOP | TBS_BOTH));
    g.A0 = kEnd;
    g.A1 = std::max(g.A0, along - kEnd);
    g.ThumbTop = 4 + (before ? kTickSpace : 0);
    g.ThumbBottom = std::max(g.ThumbTop + 4, std::min(g.ThumbTop + kThumbAcross, across - 4));
    int mid = (g.ThumbTop + g.ThumbBottom) / 2;
    g.Channel = Make(g.Vertical, g.A0 - kThumbAlong / 2, g.A1 + kThumbAlong / 2 + 1, mid - 2, mid + 2);
    int c = CentreOf(g, t, t.Pos);
    g.Thumb = Make(g.Vertical, c - kThumbAlong / 2, c + kThumbAlong / 2 + 1, g.ThumbTop, g.ThumbBottom);
    return g;
}

// The interior ticks (the first and last are always there).
std::vector<int> TickPositions(HWND h, const TTrack& t)
{
    std::vector<int> v;
    DWORD st = StyleOf(h);
    if (st & TBS_NOTICKS) return v;
    if (st & TBS_AUTOTICKS) {
        if (t.Freq > 0)
            for (int64_t p = int64_t(t.Min) + t.Freq; p < t.Max && v.size() < 10000; p += t.Freq) v.push_back(int(p));
    } else {
        for (int p : t.Ticks)
            if (p > t.Min && p < t.Max) v.push_back(p);
    }
    return v;
}

void Notify(HWND h, int code, int pos)
{
    HWND parent = GetParent(h);
    if (!parent) return;
    bool thumb = code == TB_THUMBTRACK || code == TB_THUMBPOSITION;
    SendMessage(parent, IsVert(h) ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, thumb ? pos : 0),
                LPARAM(reinterpret_cast<intptr_t>(h)));
}

void SetPos(HWND h, TTrack& t, int pos, bool redraw)
{
    pos = std::clamp(pos, t.Min, std::max(t.Min, t.Max));
    if (pos == t.Pos) return;
    t.Pos = pos;
    if (redraw) InvalidateRect(h, nullptr, TRUE);
}

// Moves by a step and tells the parent.
void Step(HWND h, TTrack& t, int code, int delta)
{
    int64_t target = int64_t(t.Pos) + delta;
    if (code == TB_TOP) target = t.Min;
    if (code == TB_BOTTOM) target = t.Max;
    SetPos(h, t, int(std::clamp<int64_t>(target, t.Min, std::max(t.Min, t.Max))), true);
    Notify(h, code, t.Pos);
}

// A page step toward the cursor while the press on the channel lasts.
void PageTowardCursor(HWND h, TTrack& t)
{
    TPoint p;
    GetCursorPos(&p);
    ScreenToClient(h, &p);
    TGeo g = GeoOf(h, t);
    int c = CentreOf(g, t, t.Pos);
    int at = Along(p, g.Vertical);
    if (t.Press == TTrack::PageDown && at < c - kThumbAlong / 2)
        Step(h, t, TB_PAGEUP, -t.Page);
    else if (t.Press == TTrack::PageUp && at > c + kThumbAlong / 2)
        Step(h, t, TB_PAGEDOWN, t.Page);
}

void EndPress(HWND h, TTrack& t, bool notify)
{
    auto press = t.Press;
    t.Press = TTrack::None;
    KillTimer(h, kPageTimer);
    if (GetCapture() == h) ReleaseCapture();
    InvalidateRect(h, nullptr, TRUE);
    if (!notify || press == TTrack::None) return;
    if (press == TTrack::Thumb) Notify(h, TB_THUMBPOSITION, t.Pos);
    if (IsWindow(h)) Notify(h, TB_ENDTRACK, 0);
}

// Paints into the DC given (a control wrapper that began the paint) or the
// window's own.
void Paint(HWND h, TTrack& t, HDC given)
{
    PAINTSTRUCT ps;
    HDC dc = given ? given : BeginPaint(h, &ps);
    if (!dc) return;
    int saved = SaveDC(dc);
    TRect r;
    GetClientRect(h, &r);
    HBRUSH back = nullptr;
    if (HWND parent = GetParent(h))
        back = reinterpret_cast<HBRUSH>(SendMessage(parent, WM_CTLCOLORSTATIC, WPARAM(reinterpret_cast<uintptr_t>(dc)),
                                                    LPARAM(reinterpret_cast<intptr_t>(h))));
    FillRect(dc, &r, back ? back : GetSysColorBrush(COLOR_BTNFACE));
    TGeo g = GeoOf(h, t);
    DWORD st = StyleOf(h);
    bool enabled = IsWindowEnabled(h) != 0;
    bool themed = IsThemeActive() != FALSE;
    TRect ch = g.Channel;
    if (themed) {
        HBRUSH fill = CreateSolidBrush(RGB(231, 234, 234));
        FillRect(dc, &ch, fill);
        DeleteObject(fill);
        HBRUSH edge = CreateSolidBrush(RGB(214, 214, 214));
        FrameRect(dc, &ch, edge);
        DeleteObject(edge);
    } else {
        FillRect(dc, &ch, GetSysColorBrush(COLOR_WINDOW));
        DrawEdge(dc, &ch, EDGE_SUNKEN, BF_RECT);
    }
    if ((st & TBS_ENABLESELRANGE) && t.SelEnd > t.SelStart) {
        int a = CentreOf(g, t, t.SelStart), b = CentreOf(g, t, t.SelEnd);
        TRect sel = ch;
        InflateRect(sel, g.Vertical ? -1 : 0, g.Vertical ? 0 : -1);
        if (g.Vertical) { sel.Top = a; sel.Bottom = b; } else { sel.Left = a; sel.Right = b; }
        FillRect(dc, &sel, GetSysColorBrush(COLOR_HIGHLIGHT));
    }
    if (!(st & TBS_NOTICKS)) {
        HBRUSH tick = GetSysColorBrush(COLOR_BTNTEXT);
        std::vector<int> at = TickPositions(h, t);
        at.insert(at.begin(), t.Min);
        at.push_back(t.Max);
        bool before = (st & (TBS_TOP | TBS_BOTH)) != 0, after = !(st & TBS_TOP) || (st & TBS_BOTH);
        for (int p : at) {
            int c = CentreOf(g, t, p);
            int len = (p == t.Min || p == t.Max) ? 4 : 3;
            if (after) {
                TRect k = Make(g.Vertical, c, c + 1, g.ThumbBottom + 2, g.ThumbBottom + 2 + len);
                FillRect(dc, &k, tick);
            }
            if (before) {
                TRect k = Make(g.Vertical, c, c + 1, g.ThumbTop - 2 - len, g.ThumbTop - 2);
                FillRect(dc, &k, tick);
            }
        }
    }
    if (!(st & TBS_NOTHUMB)) {
        TRect th = g.Thumb;
        if (themed) {
            COLORREF c = !enabled ? RGB(204, 204, 204) : t.Press == TTrack::Thumb ? RGB(0, 84, 153) : RGB(0, 120, 215);
            HBRUSH b = CreateSolidBrush(c);
            FillRect(dc, &th, b);
            DeleteObject(b);
        } else {
            FillRect(dc, &th, GetSysColorBrush(COLOR_BTNFACE));
            DrawEdge(dc, &th, EDGE_RAISED, BF_RECT);
        }
    }
    if (GetFocus() == h) {
        TRect f = r;
        DrawFocusRect(dc, &f);
    }
    RestoreDC(dc, saved);
    if (!given) EndPaint(h, &ps);
}

int KeyCode(WPARAM vk, int& delta, const TTrack& t)
{
    switch (vk) {
    case VK_LEFT: case VK_UP: delta = -t.Line; return TB_LINEUP;
    case VK_RIGHT: case VK_DOWN: delta = t.Line; return TB_LINEDOWN;
    case VK_PRIOR: delta = -t.Page; return TB_PAGEUP;
    case VK_NEXT: delta = t.Page; return TB_PAGEDOWN;
    case VK_HOME: delta = 0; return TB_TOP;
    case VK_END: delta = 0; return TB_BOTTOM;
    default: return -1;
    }
}

LRESULT TrackBarProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TTrack* t = TrackOf(h);
    if (msg == WM_NCCREATE) {
        SetProp(h, kTrackProp, new TTrack);
        return DefWindowProc(h, msg, wParam, lParam);
    }
    if (msg == WM_NCDESTROY) {
        delete static_cast<TTrack*>(RemoveProp(h, kTrackProp));
        return DefWindowProc(h, msg, wParam, lParam);
    }
    if (!t) return DefWindowProc(h, msg, wParam, lParam);
    auto redraw = [&](bool on) {
        if (on) InvalidateRect(h, nullptr, TRUE);
    };
    switch (msg) {
    case WM_PAINT: Paint(h, *t, reinterpret_cast<HDC>(wParam)); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_SETFOCUS: case WM_KILLFOCUS: case WM_ENABLE: case WM_STYLECHANGED: case WM_SIZE:
        InvalidateRect(h, nullptr, TRUE);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        if (GetFocus() != h) SetFocus(h);
        if (!IsWindow(h) || !(t = TrackOf(h)) || t->Press != TTrack::None) return 0;
        TPoint p = LParamToPoint(lParam);
        TGeo g = GeoOf(h, *t);
        int at = Along(p, g.Vertical);
        SetCapture(h);
        if (!(StyleOf(h) & TBS_NOTHUMB) && PtInRect(g.Thumb, p)) {
            t->Press = TTrack::Thumb;
            t->DragOffset = at - CentreOf(g, *t, t->Pos);
            InvalidateRect(h, nullptr, TRUE);
            return 0;
        }
        t->Press = at < CentreOf(g, *t, t->Pos) ? TTrack::PageDown : TTrack::PageUp;
        PageTowardCursor(h, *t);
        if ((t = TrackOf(h)) && t->Press != TTrack::None) SetTimer(h, kPageTimer, kFirstDelay, nullptr);
        return 0;
    }
    case WM_MOUSEMOVE: {
        if (t->Press != TTrack::Thumb) return 0;
        TGeo g = GeoOf(h, *t);
        int pos = PosAt(g, *t, Along(LParamToPoint(lParam), g.Vertical) - t->DragOffset);
        if (pos == t->Pos) return 0;
        SetPos(h, *t, pos, true);
        Notify(h, TB_THUMBTRACK, pos);
        return 0;
    }
    case WM_LBUTTONUP: EndPress(h, *t, true); return 0;
    case WM_CAPTURECHANGED:
        if (t->Press != TTrack::None && reinterpret_cast<HWND>(lParam) != h) EndPress(h, *t, true);
        return 0;
    case WM_CANCELMODE: EndPress(h, *t, true); return 0;
    case WM_TIMER:
        if (wParam != kPageTimer) return 0;
        if (t->Press == TTrack::PageDown || t->Press == TTrack::PageUp) {
            SetTimer(h, kPageTimer, kRepeatDelay, nullptr);
            PageTowardCursor(h, *t);
        } else {
            KillTimer(h, kPageTimer);
        }
        return 0;
    case WM_KEYDOWN: {
        int delta = 0;
        int code = KeyCode(wParam, delta, *t);
        if (code < 0 || !IsWindowEnabled(h)) return 0;
        Step(h, *t, code, delta);
        return 0;
    }
    case WM_KEYUP: {
        int delta = 0;
        if (KeyCode(wParam, delta, *t) >= 0) Notify(h, TB_ENDTRACK, 0);
        return 0;
    }
    case TBM_GETPOS: return t->Pos;
    case TBM_GETRANGEMIN: return t->Min;
    case TBM_GETRANGEMAX: return t->Max;
    case TBM_SETPOS: {
        int pos = int(lParam);
        pos = std::clamp(pos, t->Min, std::max(t->Min, t->Max));
        if (pos != t->Pos) {
            t->Pos = pos;
            redraw(wParam != 0);
        }
        return 0;
    }
    case TBM_SETRANGE:
        t->Min = int(int16_t(LOWORD(uintptr_t(lParam))));
        t->Max = int(int16_t(HIWORD(uintptr_t(lParam))));
        t->Pos = std::clamp(t->Pos, t->Min, std::max(t->Min, t->Max));
        redraw(wParam != 0);
        return 0;
    case TBM_SETRANGEMIN:
    case TBM_SETRANGEMAX:
        (msg == TBM_SETRANGEMIN ? t->Min : t->Max) = int(lParam);
        t->Pos = std::clamp(t->Pos, t->Min, std::max(t->Min, t->Max));
        redraw(wParam != 0);
        return 0;
    case TBM_SETTICFREQ:
        t->Freq = std::max(1, int(wParam));
        InvalidateRect(h, nullptr, TRUE);
        return 0;
    case TBM_SETTIC: {
        int p = int(lParam);
        if (p < t->Min || p > t->Max) return FALSE;
        if (std::find(t->Ticks.begin(), t->Ticks.end(), p) == t->Ticks.end()) t->Ticks.push_back(p);
        std::sort(t->Ticks.begin(), t->Ticks.end());
        InvalidateRect(h, nullptr, TRUE);
        return TRUE;
    }
    case TBM_CLEARTICS:
        t->Ticks.clear();
        redraw(wParam != 0);
        return 0;
    case TBM_GETNUMTICS:
        return (StyleOf(h) & TBS_NOTICKS) ? 0 : LRESULT(TickPositions(h, *t).size() + 2);
    case TBM_GETTIC: {
        auto v = TickPositions(h, *t);
        return wParam < v.size() ? v[wParam] : -1;
    }
    case TBM_GETTICPOS: {
        auto v = TickPositions(h, *t);
        if (wParam >= v.size()) return -1;
        return CentreOf(GeoOf(h, *t), *t, v[wParam]);
    }
    case TBM_SETPAGESIZE: {
        int old = t->Page;
        t->Page = int(lParam);
        return old;
    }
    case TBM_GETPAGESIZE: return t->Page;
    case TBM_SETLINESIZE: {
        int old = t->Line;
        t->Line = int(lParam);
        return old;
    }
    case TBM_GETLINESIZE: return t->Line;
    case TBM_SETSEL:
        t->SelStart = int(int16_t(LOWORD(uintptr_t(lParam))));
        t->SelEnd = int(int16_t(HIWORD(uintptr_t(lParam))));
        redraw(wParam != 0);
        return 0;
    case TBM_SETSELSTART: t->SelStart = int(lParam); redraw(wParam != 0); return 0;
    case TBM_SETSELEND: t->SelEnd = int(lParam); redraw(wParam != 0); return 0;
    case TBM_GETSELSTART: return t->SelStart;
    case TBM_GETSELEND: return t->SelEnd;
    case TBM_CLEARSEL: t->SelStart = t->SelEnd = 0; redraw(wParam != 0); return 0;
    case TBM_GETTHUMBRECT:
        if (auto* r = reinterpret_cast<TRect*>(lParam)) *r = GeoOf(h, *t).Thumb;
        return 0;
    case TBM_GETCHANNELRECT:
        if (auto* r = reinterpret_cast<TRect*>(lParam)) *r = GeoOf(h, *t).Channel;
        return 0;
    default: return DefWindowProc(h, msg, wParam, lParam);
    }
}

}  // namespace

void RegisterTrackBarClass()
{
    WNDCLASS wc;
    if (GetClassInfo(nullptr, TRACKBAR_CLASS, &wc)) return;
    wc = WNDCLASS{};
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = TrackBarProc;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = TRACKBAR_CLASS;
    RegisterClass(wc);
}

// ---------------------------------------------------------------------------
// TTrackBar

TTrackBar::TTrackBar(TComponent* AOwner) : TWinControl(AOwner)
{
    FWidth = 150;
    FHeight = 45;
    FTabStop = true;
    // The window follows its presses itself.
    FControlStyle.Exclude(csCaptureMouse);
    FControlStyle.Exclude(csDoubleClicks);
    RegisterBarClasses();
}

void TTrackBar::CreateParams(TCreateParams& P)
{
    RegisterBarClasses();
    TWinControl::CreateParams(P);
    CreateSubClass(P, TRACKBAR_CLASS);
    if (FOrientation == trVertical) P.Style |= TBS_VERT;
    if (FTickMarks == tmTopLeft) P.Style |= TBS_TOP;
    if (FTickMarks == tmBoth) P.Style |= TBS_BOTH;
    if (FTickStyle == tsAuto) P.Style |= TBS_AUTOTICKS;
    if (FTickStyle == tsNone) P.Style |= TBS_NOTICKS;
}

void TTrackBar::CreateWnd()
{
    TWinControl::CreateWnd();
    ::SendMessage(FHandle, TBM_SETRANGEMIN, FALSE, FMin);
    ::SendMessage(FHandle, TBM_SETRANGEMAX, FALSE, FMax);
    ::SendMessage(FHandle, TBM_SETTICFREQ, WPARAM(FFrequency), 0);
    ::SendMessage(FHandle, TBM_SETPAGESIZE, 0, FPageSize);
    ::SendMessage(FHandle, TBM_SETLINESIZE, 0, FLineSize);
    for (Integer v : FTicks) ::SendMessage(FHandle, TBM_SETTIC, 0, v);
    ::SendMessage(FHandle, TBM_SETPOS, TRUE, FPosition);
}

void TTrackBar::SetMin(Integer v)
{
    FMin = v;
    FPosition = std::clamp(FPosition, FMin, std::max(FMin, FMax));
    if (HandleAllocated()) ::SendMessage(FHandle, TBM_SETRANGEMIN, TRUE, v);
}

void TTrackBar::SetMax(Integer v)
{
    FMax = v;
    FPosition = std::clamp(FPosition, FMin, std::max(FMin, FMax));
    if (HandleAllocated()) ::SendMessage(FHandle, TBM_SETRANGEMAX, TRUE, v);
}

Integer TTrackBar::Position()
{
    if (HandleAllocated()) FPosition = Integer(::SendMessage(FHandle, TBM_GETPOS, 0, 0));
    return FPosition;
}

void TTrackBar::SetPosition(Integer v)
{
    FPosition = std::clamp(v, FMin, std::max(FMin, FMax));
    if (HandleAllocated()) ::SendMessage(FHandle, TBM_SETPOS, TRUE, FPosition);
}

void TTrackBar::SetFrequency(Integer v)
{
    FFrequency = v;
    if (HandleAllocated()) ::SendMessage(FHandle, TBM_SETTICFREQ, WPARAM(v), 0);
}

void TTrackBar::SetOrientation(TTrackBarOrientation v)
{
    if (FOrientation == v) return;
    FOrientation = v;
    if (!ComponentState().Contains(csLoading)) SetBounds(FLeft, FTop, FHeight, FWidth);
    RecreateWnd();
}

void TTrackBar::SetTickMarks(TTickMark v)
{
    if (FTickMarks == v) return;
    FTickMarks = v;
    RecreateWnd();
}

void TTrackBar::SetTickStyle(TTickStyle v)
{
    if (FTickStyle == v) return;
    FTickStyle = v;
    RecreateWnd();
}

void TTrackBar::SetPageSize(Integer v)
{
    FPageSize = v;
    if (HandleAllocated()) ::SendMessage(FHandle, TBM_SETPAGESIZE, 0, v);
}

void TTrackBar::SetLineSize(Integer v)
{
    FLineSize = v;
    if (HandleAllocated()) ::SendMessage(FHandle, TBM_SETLINESIZE, 0, v);
}

void TTrackBar::SetTick(Integer Value)
{
    if (std::find(FTicks.begin(), FTicks.end(), Value) == FTicks.end()) FTicks.push_back(Value);
    if (HandleAllocated()) ::SendMessage(FHandle, TBM_SETTIC, 0, Value);
}

void TTrackBar::Changed()
{
    if (OnChange) OnChange(this);
}

void TTrackBar::Dispatch(TMessage& M)
{
    if (M.Msg == CN_HSCROLL || M.Msg == CN_VSCROLL) {
        Integer before = FPosition;
        if (Position() != before) Changed();
        M.Result = 0;
        return;
    }
    TWinControl::Dispatch(M);
}
