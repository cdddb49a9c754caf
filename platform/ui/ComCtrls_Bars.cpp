// The "SCROLLBAR" window class and TScrollBar; the registration of the bar
// controls' window classes.
#include "platform/ui/ComCtrls_Bars.h"

#include <algorithm>

#include "platform/base/Exceptions.h"
#include "platform/ui/WindowManager.h"

// The track bar and up-down classes (their own sources).
void RegisterTrackBarClass();
void RegisterUpDownClass();

namespace {

bool IsVert(HWND h) { return (DWORD(GetWindowLong(h, GWL_STYLE)) & SBS_VERT) != 0; }

void NotifyParent(HWND h, int code)
{
    if (HWND parent = GetParent(h))
        SendMessage(parent, IsVert(h) ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, 0),
                    LPARAM(reinterpret_cast<intptr_t>(h)));
}

// Paints into the DC given (a control wrapper that began the paint) or the
// window's own.
void PaintScrollBarControl(HWND h, HDC given)
{
    PAINTSTRUCT ps;
    HDC dc = given ? given : BeginPaint(h, &ps);
    if (!dc) return;
    int saved = SaveDC(dc);
    TWnd* w = WndOf(h);
    TRect r;
    GetClientRect(h, &r);
    if (w->style & (SBS_SIZEBOX | SBS_SIZEGRIP)) {
        WmDrawSizeBox(dc, h, r);
    } else {
        bool enabled = IsWindowEnabled(h) && w->scrollDisabled[SB_CTL] != ESB_DISABLE_BOTH;
        const TScrollTrack& t = WM().scrollTrack;
        bool tracked = t.hwnd == h;
        bool dragging = tracked && t.part == spThumb;
        TScrollBarLayout l = WmScrollBarLayout(r, IsVert(h), w->scroll[SB_CTL], enabled,
                                               dragging ? &t.trackPos : nullptr);
        WmDrawScrollBar(dc, h, l, w->scrollDisabled[SB_CTL], enabled,
                        tracked && (t.over || dragging) ? t.part : spNone);
        if (GetFocus() == h && l.HasThumb) {
            TRect f = l.Thumb;
            InflateRect(f, -2, -2);
            DrawFocusRect(dc, &f);
        }
    }
    RestoreDC(dc, saved);
    if (!given) EndPaint(h, &ps);
}

LRESULT ScrollBarProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TWnd* w = WndOf(h);
    if (!w) return 0;
    switch (msg) {
    case WM_PAINT: PaintScrollBarControl(h, reinterpret_cast<HDC>(wParam)); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        if (w->style & (SBS_SIZEBOX | SBS_SIZEGRIP)) return 0;
        if ((w->style & WS_TABSTOP) && GetFocus() != h) SetFocus(h);
        TPoint p = LParamToPoint(lParam);
        ClientToScreen(h, &p);
        WmScrollTrackBegin(h, SB_CTL, p);
        return 0;
    }
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_KEYDOWN: {
        int code = -1;
        switch (wParam) {
        case VK_UP: case VK_LEFT: code = SB_LINEUP; break;
        case VK_DOWN: case VK_RIGHT: code = SB_LINEDOWN; break;
        case VK_PRIOR: code = SB_PAGEUP; break;
        case VK_NEXT: code = SB_PAGEDOWN; break;
        case VK_HOME: code = SB_TOP; break;
        case VK_END: code = SB_BOTTOM; break;
        default: break;
        }
        if (code < 0 || !IsWindowEnabled(h)) return 0;
        NotifyParent(h, code);
        if (IsWindow(h)) NotifyParent(h, SB_ENDSCROLL);
        return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
        InvalidateRect(h, nullptr, FALSE);
        return 0;
    case WM_CANCELMODE: WmScrollTrackCancel(h); return 0;
    case SBM_SETPOS: {
        int old = w->scroll[SB_CTL].nPos;
        SCROLLINFO si;
        si.fMask = SIF_POS;
        si.nPos = int(wParam);
        WmSetScrollInfo(h, SB_CTL, si, lParam != 0);
        return old;
    }
    case SBM_GETPOS: return w->scroll[SB_CTL].nPos;
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW: {
        int old = w->scroll[SB_CTL].nPos;
        SCROLLINFO si;
        si.fMask = SIF_RANGE;
        si.nMin = int(wParam);
        si.nMax = int(lParam);
        WmSetScrollInfo(h, SB_CTL, si, msg == SBM_SETRANGEREDRAW);
        return old;
    }
    case SBM_GETRANGE:
        if (auto* p = reinterpret_cast<int*>(wParam)) *p = w->scroll[SB_CTL].nMin;
        if (auto* p = reinterpret_cast<int*>(lParam)) *p = w->scroll[SB_CTL].nMax;
        return 0;
    case SBM_SETSCROLLINFO: {
        auto* si = reinterpret_cast<const SCROLLINFO*>(lParam);
        return si ? WmSetScrollInfo(h, SB_CTL, *si, wParam != 0) : 0;
    }
    case SBM_GETSCROLLINFO: {
        auto* si = reinterpret_cast<SCROLLINFO*>(lParam);
        return si && WmGetScrollInfo(h, SB_CTL, *si) ? TRUE : FALSE;
    }
    case SBM_ENABLE_ARROWS: {
        UINT v = UINT(wParam) & ESB_DISABLE_BOTH;
        if (w->scrollDisabled[SB_CTL] == v) return FALSE;
        w->scrollDisabled[SB_CTL] = v;
        InvalidateRect(h, nullptr, FALSE);
        return TRUE;
    }
    default: return DefWindowProc(h, msg, wParam, lParam);
    }
}

TScrollCode ToScrollCode(int code) { return code >= SB_LINEUP && code <= SB_ENDSCROLL ? TScrollCode(code) : scEndScroll; }

}  // namespace

void RegisterBarClasses()
{
    WNDCLASS wc;
    if (!GetClassInfo(nullptr, L"SCROLLBAR", &wc)) {
        wc = WNDCLASS{};
        wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = ScrollBarProc;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = L"SCROLLBAR";
        RegisterClass(wc);
    }
    RegisterTrackBarClass();
    RegisterUpDownClass();
}

// ---------------------------------------------------------------------------
// TScrollBar

TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner)
{
    FWidth = 121;
    FHeight = GetSystemMetrics(SM_CYHSCROLL);
    FTabStop = true;
    // The window follows a press itself: no mouse capture of ours.
    FControlStyle = TControlStyle{csFramed, csDoubleClicks, csOpaque};
    RegisterBarClasses();
}

void TScrollBar::SetKind(TScrollBarKind v)
{
    if (FKind == v) return;
    FKind = v;
    if (!ComponentState().Contains(csLoading)) SetBounds(FLeft, FTop, FHeight, FWidth);
    RecreateWnd();
}

void TScrollBar::SetPageSize(Integer v)
{
    if (FPageSize == v) return;
    if (v < 0 || v > FMax - FMin + 1) throw EInvalidOperation(L"Scroll bar property out of range");
    FPageSize = v;
    UpdateBar();
}

void TScrollBar::SetParams(Integer APosition, Integer AMin, Integer AMax)
{
    if (AMax < AMin) throw EInvalidOperation(L"Scroll bar property out of range");
    APosition = std::clamp(APosition, AMin, AMax);
    bool moved = APosition != FPosition;
    if (FMin == AMin && FMax == AMax && !moved) return;
    FMin = AMin;
    FMax = AMax;
    if (FPageSize > FMax - FMin + 1) FPageSize = FMax - FMin + 1;
    FPosition = APosition;
    UpdateBar();
    if (moved) Change();
}

void TScrollBar::UpdateBar()
{
    if (!HandleAllocated()) return;
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    si.nMin = FMin;
    si.nMax = FMax;
    si.nPage = UINT(FPageSize);
    si.nPos = FPosition;
    SetScrollInfo(FHandle, SB_CTL, &si, TRUE);
}

void TScrollBar::CreateParams(TCreateParams& P)
{
    RegisterBarClasses();
    TWinControl::CreateParams(P);
    CreateSubClass(P, L"SCROLLBAR");
    P.Style |= FKind == sbVertical ? SBS_VERT : SBS_HORZ;
}

void TScrollBar::CreateWnd()
{
    TWinControl::CreateWnd();
    UpdateBar();
}

void TScrollBar::Change()
{
    if (OnChange) OnChange(this);
}

void TScrollBar::Scroll(TScrollCode ScrollCode, Integer& ScrollPos)
{
    if (OnScroll) OnScroll(this, ScrollCode, ScrollPos);
}

void TScrollBar::DoScroll(TMessage& M)
{
    TScrollCode code = ToScrollCode(int(M.WParamLo()));
    Integer pos = FPosition;
    switch (code) {
    case scLineUp: pos -= FSmallChange; break;
    case scLineDown: pos += FSmallChange; break;
    case scPageUp: pos -= FLargeChange; break;
    case scPageDown: pos += FLargeChange; break;
    case scPosition:
    case scTrack: {
        // The whole position, not the 16 bits the message carries.
        SCROLLINFO si;
        si.fMask = SIF_TRACKPOS;
        pos = GetScrollInfo(FHandle, SB_CTL, &si) ? si.nTrackPos : Integer(SHORT(M.WParamHi()));
        break;
    }
    case scTop: pos = FMin; break;
    case scBottom: pos = FMax; break;
    case scEndScroll: break;
    }
    // The last position is the one that shows the last page.
    Integer last = FMax - std::max(FPageSize - 1, 0);
    pos = std::clamp(pos, FMin, std::max(FMin, last));
    Scroll(code, pos);
    SetPosition(pos);
    M.Result = 0;
}

void TScrollBar::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case CN_HSCROLL:
    case CN_VSCROLL: DoScroll(M); return;
    default: TWinControl::Dispatch(M);
    }
}
