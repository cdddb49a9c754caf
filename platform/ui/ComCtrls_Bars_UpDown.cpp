// The up-down window class ("msctls_updown32") and TUpDown.
#include <algorithm>
#include <cwchar>

#include "platform/base/SysUtils.h"
#include "platform/ui/ComCtrls_Bars.h"
#include "platform/ui/Themes.h"
#include "platform/ui/WindowManager.h"

void RegisterUpDownClass();

namespace {

const wchar_t* const kUpDownProp = L"VelUpDownState";
const wchar_t* const kBuddyOwnerProp = L"VelUpDownOwner";
const wchar_t* const kBuddyProcProp = L"VelUpDownBuddyProc";
constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kFirstDelay = 350, kRepeatDelay = 80;

struct TUpDownState {
    int Lower = 0, Upper = 100, Pos = 0, Inc = 1, Base = 10;
    HWND Buddy = nullptr;
    enum { None, Up, Down } Press = None;
    bool Over = false;  // the cursor is on the pressed button
};

TUpDownState* StateOf(HWND h) { return static_cast<TUpDownState*>(GetProp(h, kUpDownProp)); }
DWORD StyleOf(HWND h) { return DWORD(GetWindowLong(h, GWL_STYLE)); }
bool IsHorz(HWND h) { return (StyleOf(h) & UDS_HORZ) != 0; }

// The halves: up (or right) and down (or left).
void Halves(HWND h, TRect& up, TRect& down)
{
    TRect r;
    GetClientRect(h, &r);
    if (IsHorz(h)) {
        int mid = r.Left + r.Width() / 2;
        down = Rect(r.Left, r.Top, mid, r.Bottom);
        up = Rect(mid, r.Top, r.Right, r.Bottom);
    } else {
        int mid = r.Top + r.Height() / 2;
        up = Rect(r.Left, r.Top, r.Right, mid);
        down = Rect(r.Left, mid, r.Right, r.Bottom);
    }
}

String PosText(HWND h, const TUpDownState& s)
{
    if (s.Base == 16) {
        wchar_t buf[16];
        swprintf(buf, 16, L"0x%04X", unsigned(s.Pos));
        return buf;
    }
    String digits = IntToStr(Int64(s.Pos) < 0 ? -Int64(s.Pos) : Int64(s.Pos));
    if (!(StyleOf(h) & UDS_NOTHOUSANDS))
        for (int i = int(digits.size()) - 3; i > 0; i -= 3) digits.insert(size_t(i), 1, FormatSettings.ThousandSeparator);
    return s.Pos < 0 ? L"-" + digits : digits;
}

void ShowInBuddy(HWND h, const TUpDownState& s)
{
    if (s.Buddy && IsWindow(s.Buddy) && (StyleOf(h) & UDS_SETBUDDYINT))
        SetWindowText(s.Buddy, PosText(h, s).c_str());
}

// The position the buddy's text shows, when it shows one in the range.
bool ReadBuddy(HWND h, TUpDownState& s)
{
    if (!s.Buddy || !IsWindow(s.Buddy) || !(StyleOf(h) & UDS_SETBUDDYINT)) return true;
    String t = GetWindowText(s.Buddy);
    String clean;
    for (wchar_t c : t)
        if (c != FormatSettings.ThousandSeparator && c != L' ') clean += c;
    Integer v = 0;
    bool ok = s.Base == 16 ? TryStrToInt(L"$" + (clean.rfind(L"0x", 0) == 0 ? clean.substr(2) : clean), v)
                           : TryStrToInt(clean, v);
    if (!ok || v < std::min(s.Lower, s.Upper) || v > std::max(s.Lower, s.Upper)) return false;
    s.Pos = v;
    return true;
}

void ScrollNotify(HWND h, int code, int pos)
{
    if (HWND parent = GetParent(h))
        SendMessage(parent, IsHorz(h) ? WM_HSCROLL : WM_VSCROLL,
                    MAKEWPARAM(code, code == SB_THUMBPOSITION ? pos : 0), LPARAM(reinterpret_cast<intptr_t>(h)));
}

// One step of the up (toward Upper) or down button: the parent may refuse
// it (UDN_DELTAPOS); past the range the position stops or wraps.
void Step(HWND h, bool up)
{
    TUpDownState* s = StateOf(h);
    if (!s) return;
    ReadBuddy(h, *s);
    int sign = s->Upper >= s->Lower ? 1 : -1;
    NMUPDOWN nm;
    nm.hdr.hwndFrom = h;
    nm.hdr.idFrom = UINT_PTR(GetWindowLong(h, GWL_ID));
    nm.hdr.code = UDN_DELTAPOS;
    nm.iPos = s->Pos;
    nm.iDelta = (up ? 1 : -1) * sign * s->Inc;
    HWND parent = GetParent(h);
    if (parent && SendMessage(parent, WM_NOTIFY, WPARAM(nm.hdr.idFrom), LPARAM(&nm))) return;
    if (!(s = StateOf(h))) return;
    int lo = std::min(s->Lower, s->Upper), hi = std::max(s->Lower, s->Upper);
    int64_t next = int64_t(s->Pos) + nm.iDelta;
    bool wrap = (StyleOf(h) & UDS_WRAP) != 0;
    if (next > hi) next = wrap ? lo : hi;
    if (next < lo) next = wrap ? hi : lo;
    if (next != s->Pos) {
        s->Pos = int(next);
        ShowInBuddy(h, *s);
        InvalidateRect(h, nullptr, FALSE);
    }
    ScrollNotify(h, SB_THUMBPOSITION, s->Pos);
}

// Paints into the DC given (a control wrapper that began the paint) or the
// window's own.
void Paint(HWND h, TUpDownState& s, HDC given)
{
    PAINTSTRUCT ps;
    HDC dc = given ? given : BeginPaint(h, &ps);
    if (!dc) return;
    int saved = SaveDC(dc);
    TRect up, down;
    Halves(h, up, down);
    bool enabled = IsWindowEnabled(h) != 0;
    bool horz = IsHorz(h);
    bool upDown = s.Press == TUpDownState::Up && s.Over, downDown = s.Press == TUpDownState::Down && s.Over;
    if (HTHEME th = OpenThemeData(h, L"spin")) {
        auto state = [&](bool pressed) { return !enabled ? UPS_DISABLED : pressed ? UPS_PRESSED : UPS_NORMAL; };
        DrawThemeBackground(th, dc, horz ? SPNP_UPHORZ : SPNP_UP, state(upDown), &up, nullptr);
        DrawThemeBackground(th, dc, horz ? SPNP_DOWNHORZ : SPNP_DOWN, state(downDown), &down, nullptr);
        CloseThemeData(th);
    } else {
        auto flags = [&](UINT dir, bool pressed) {
            return dir | (enabled ? 0u : UINT(DFCS_INACTIVE)) | (pressed ? UINT(DFCS_PUSHED) : 0u);
        };
        DrawFrameControl(dc, &up, DFC_SCROLL, flags(horz ? DFCS_SCROLLRIGHT : DFCS_SCROLLUP, upDown));
        DrawFrameControl(dc, &down, DFC_SCROLL, flags(horz ? DFCS_SCROLLLEFT : DFCS_SCROLLDOWN, downDown));
    }
    RestoreDC(dc, saved);
    if (!given) EndPaint(h, &ps);
}

bool IsStepKey(WPARAM vk) { return vk == VK_UP || vk == VK_DOWN; }

LRESULT BuddyProc(HWND b, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto orig = reinterpret_cast<WNDPROC>(GetProp(b, kBuddyProcProp));
    auto owner = static_cast<HWND>(GetProp(b, kBuddyOwnerProp));
    if (owner && IsWindow(owner)) {
        if ((msg == WM_KEYDOWN || msg == WM_KEYUP) && IsStepKey(wParam)) {
            SendMessage(owner, msg, wParam, lParam);
            return 0;
        }
        if (msg == WM_GETDLGCODE) return CallWindowProc(orig, b, msg, wParam, lParam) | DLGC_WANTARROWS;
    }
    if (msg == WM_NCDESTROY) {
        RemoveProp(b, kBuddyOwnerProp);
        RemoveProp(b, kBuddyProcProp);
        if (GetWindowLongPtr(b, GWL_WNDPROC) == LONG_PTR(reinterpret_cast<intptr_t>(&BuddyProc)))
            SetWindowLongPtr(b, GWL_WNDPROC, LONG_PTR(reinterpret_cast<intptr_t>(orig)));
    }
    return CallWindowProc(orig, b, msg, wParam, lParam);
}

// The buddy's arrow keys step the up-down (UDS_ARROWKEYS).
void HookBuddy(HWND h, HWND b)
{
    if (!b || !IsWindow(b) || GetProp(b, kBuddyProcProp)) {
        if (b && IsWindow(b)) SetProp(b, kBuddyOwnerProp, h);
        return;
    }
    SetProp(b, kBuddyOwnerProp, h);
    SetProp(b, kBuddyProcProp, reinterpret_cast<void*>(GetWindowLongPtr(b, GWL_WNDPROC)));
    SetWindowLongPtr(b, GWL_WNDPROC, LONG_PTR(reinterpret_cast<intptr_t>(&BuddyProc)));
}

void UnhookBuddy(HWND h, HWND b)
{
    if (!b || !IsWindow(b) || GetProp(b, kBuddyOwnerProp) != h) return;
    // Unhooked only when ours is the outermost procedure; otherwise it stays
    // in the chain and passes everything on.
    RemoveProp(b, kBuddyOwnerProp);
    if (GetWindowLongPtr(b, GWL_WNDPROC) == LONG_PTR(reinterpret_cast<intptr_t>(&BuddyProc))) {
        auto orig = reinterpret_cast<WNDPROC>(RemoveProp(b, kBuddyProcProp));
        SetWindowLongPtr(b, GWL_WNDPROC, LONG_PTR(reinterpret_cast<intptr_t>(orig)));
    }
}

// Places the up-down against its buddy's side and narrows the buddy.
void Align(HWND h, HWND b)
{
    DWORD st = StyleOf(h);
    if (!(st & (UDS_ALIGNLEFT | UDS_ALIGNRIGHT)) || GetParent(b) != GetParent(h)) return;
    TRect br, ur;
    GetWindowRect(b, &br);
    GetWindowRect(h, &ur);
    TPoint pts[2] = {br.TopLeft(), br.BottomRight()};
    MapWindowPoints(nullptr, GetParent(b), pts, 2);
    br = Rect(pts[0].X, pts[0].Y, pts[1].X, pts[1].Y);
    TPoint up[2] = {ur.TopLeft(), ur.BottomRight()};
    MapWindowPoints(nullptr, GetParent(h), up, 2);
    // Already against the buddy (a new window of the same up-down).
    if (up[0].Y == br.Top && ((st & UDS_ALIGNLEFT) ? up[1].X == br.Left : up[0].X == br.Right)) return;
    int w = ur.Width();
    int bw = std::max(0, br.Width() - w);
    if (st & UDS_ALIGNLEFT) {
        SetWindowPos(h, nullptr, br.Left, br.Top, w, br.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
        SetWindowPos(b, nullptr, br.Left + w, br.Top, bw, br.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        SetWindowPos(b, nullptr, br.Left, br.Top, bw, br.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
        SetWindowPos(h, nullptr, br.Left + bw, br.Top, w, br.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void EndPress(HWND h, TUpDownState& s)
{
    if (s.Press == TUpDownState::None) return;
    s.Press = TUpDownState::None;
    KillTimer(h, kRepeatTimer);
    if (GetCapture() == h) ReleaseCapture();
    InvalidateRect(h, nullptr, FALSE);
    ScrollNotify(h, SB_ENDSCROLL, 0);
}

LRESULT UpDownProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE) {
        SetProp(h, kUpDownProp, new TUpDownState);
        return DefWindowProc(h, msg, wParam, lParam);
    }
    TUpDownState* s = StateOf(h);
    if (msg == WM_NCDESTROY) {
        if (s) UnhookBuddy(h, s->Buddy);
        delete static_cast<TUpDownState*>(RemoveProp(h, kUpDownProp));
        return DefWindowProc(h, msg, wParam, lParam);
    }
    if (!s) return DefWindowProc(h, msg, wParam, lParam);
    switch (msg) {
    case WM_PAINT: Paint(h, *s, reinterpret_cast<HDC>(wParam)); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_ENABLE: InvalidateRect(h, nullptr, FALSE); return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        if (s->Press != TUpDownState::None) return 0;
        TRect up, down;
        Halves(h, up, down);
        TPoint p = LParamToPoint(lParam);
        bool onUp = PtInRect(up, p);
        if (!onUp && !PtInRect(down, p)) return 0;
        s->Press = onUp ? TUpDownState::Up : TUpDownState::Down;
        s->Over = true;
        SetCapture(h);
        InvalidateRect(h, nullptr, FALSE);
        Step(h, onUp);
        if ((s = StateOf(h)) && s->Press != TUpDownState::None) SetTimer(h, kRepeatTimer, kFirstDelay, nullptr);
        return 0;
    }
    case WM_MOUSEMOVE: {
        if (s->Press == TUpDownState::None) return 0;
        TRect up, down;
        Halves(h, up, down);
        bool over = PtInRect(s->Press == TUpDownState::Up ? up : down, LParamToPoint(lParam));
        if (over != s->Over) {
            s->Over = over;
            InvalidateRect(h, nullptr, FALSE);
        }
        return 0;
    }
    case WM_TIMER:
        if (wParam != kRepeatTimer) return 0;
        if (s->Press == TUpDownState::None) {
            KillTimer(h, kRepeatTimer);
            return 0;
        }
        SetTimer(h, kRepeatTimer, kRepeatDelay, nullptr);
        if (s->Over) Step(h, s->Press == TUpDownState::Up);
        return 0;
    case WM_LBUTTONUP: EndPress(h, *s); return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != h) EndPress(h, *s);
        return 0;
    case WM_CANCELMODE: EndPress(h, *s); return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_KEYDOWN:
        if (IsStepKey(wParam) && IsWindowEnabled(h)) Step(h, wParam == VK_UP);
        return 0;
    case WM_KEYUP:
        if (IsStepKey(wParam)) ScrollNotify(h, SB_ENDSCROLL, 0);
        return 0;
    case UDM_SETRANGE:
        s->Upper = int(int16_t(LOWORD(uintptr_t(lParam))));
        s->Lower = int(int16_t(HIWORD(uintptr_t(lParam))));
        return 0;
    case UDM_GETRANGE: return MAKELRESULT(s->Upper, s->Lower);
    case UDM_SETRANGE32:
        s->Lower = int(wParam);
        s->Upper = int(lParam);
        return 0;
    case UDM_GETRANGE32:
        if (auto* p = reinterpret_cast<int*>(wParam)) *p = s->Lower;
        if (auto* p = reinterpret_cast<int*>(lParam)) *p = s->Upper;
        return 0;
    case UDM_SETPOS:
    case UDM_SETPOS32: {
        int old = s->Pos;
        int v = msg == UDM_SETPOS ? int(int16_t(LOWORD(uintptr_t(lParam)))) : int(lParam);
        s->Pos = std::clamp(v, std::min(s->Lower, s->Upper), std::max(s->Lower, s->Upper));
        ShowInBuddy(h, *s);
        return old;
    }
    case UDM_GETPOS: {
        bool ok = ReadBuddy(h, *s);
        return MAKELRESULT(s->Pos, ok ? 0 : 1);
    }
    case UDM_GETPOS32: {
        bool ok = ReadBuddy(h, *s);
        if (auto* err = reinterpret_cast<BOOL*>(lParam)) *err = ok ? FALSE : TRUE;
        return s->Pos;
    }
    case UDM_SETBUDDY: {
        HWND old = s->Buddy;
        HWND b = reinterpret_cast<HWND>(wParam);
        if (old != b) UnhookBuddy(h, old);
        s->Buddy = b;
        if (b && IsWindow(b)) {
            if (StyleOf(h) & UDS_ARROWKEYS) HookBuddy(h, b);
            Align(h, b);
            ShowInBuddy(h, *s);
        }
        return LRESULT(reinterpret_cast<intptr_t>(old));
    }
    case UDM_GETBUDDY: return LRESULT(reinterpret_cast<intptr_t>(s->Buddy));
    case UDM_SETBASE: {
        int old = s->Base;
        if (wParam != 10 && wParam != 16) return 0;
        s->Base = int(wParam);
        ShowInBuddy(h, *s);
        return old;
    }
    case UDM_GETBASE: return s->Base;
    case UDM_SETACCEL: {
        auto* a = reinterpret_cast<const UDACCEL*>(lParam);
        if (wParam == 0 || !a) return FALSE;
        s->Inc = int(a[0].nInc);
        return TRUE;
    }
    case UDM_GETACCEL:
        if (auto* a = reinterpret_cast<UDACCEL*>(lParam); a && wParam >= 1) {
            a[0].nSec = 0;
            a[0].nInc = UINT(s->Inc);
        }
        return 1;
    default: return DefWindowProc(h, msg, wParam, lParam);
    }
}

}  // namespace

void RegisterUpDownClass()
{
    WNDCLASS wc;
    if (GetClassInfo(nullptr, UPDOWN_CLASS, &wc)) return;
    wc = WNDCLASS{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = UpDownProc;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = UPDOWN_CLASS;
    RegisterClass(wc);
}

// ---------------------------------------------------------------------------
// TUpDown

TUpDown::TUpDown(TComponent* AOwner) : TWinControl(AOwner)
{
    FWidth = GetSystemMetrics(SM_CXVSCROLL);
    FHeight = 25;
    FControlStyle.Exclude(csCaptureMouse);
    FControlStyle.Exclude(csDoubleClicks);
    FControlStyle.Exclude(csSetCaption);
    RegisterBarClasses();
}

TUpDown::~TUpDown()
{
    if (FAssociate) FAssociate->RemoveFreeNotification(this);
}

void TUpDown::CreateParams(TCreateParams& P)
{
    RegisterBarClasses();
    TWinControl::CreateParams(P);
    CreateSubClass(P, UPDOWN_CLASS);
    P.Style |= UDS_SETBUDDYINT;
    if (FWrap) P.Style |= UDS_WRAP;
    if (FArrowKeys) P.Style |= UDS_ARROWKEYS;
    if (!FThousands) P.Style |= UDS_NOTHOUSANDS;
    if (FOrientation == udHorizontal) P.Style |= UDS_HORZ;
    P.Style |= FAlignButton == udLeft ? UDS_ALIGNLEFT : UDS_ALIGNRIGHT;
}

void TUpDown::CreateWnd()
{
    TWinControl::CreateWnd();
    ::SendMessage(FHandle, UDM_SETRANGE32, WPARAM(FMin), FMax);
    UDACCEL a{0, UINT(std::max(1, FIncrement))};
    ::SendMessage(FHandle, UDM_SETACCEL, 1, LPARAM(&a));
    if (FAssociate && FAssociate->Parent() && FAssociate->Parent()->HandleAllocated())
        ::SendMessage(FHandle, UDM_SETBUDDY, WPARAM(reinterpret_cast<uintptr_t>(FAssociate->Handle())), 0);
    ::SendMessage(FHandle, UDM_SETPOS32, 0, FPosition);
}

void TUpDown::SetAssociate(TWinControl* v)
{
    if (v == this || v == FAssociate) return;
    if (FAssociate) {
        FAssociate->RemoveFreeNotification(this);
        if (HandleAllocated()) ::SendMessage(FHandle, UDM_SETBUDDY, 0, 0);
    }
    FAssociate = v;
    if (!v) return;
    v->FreeNotification(this);
    if (HandleAllocated() && v->Parent() && v->Parent()->HandleAllocated()) {
        ::SendMessage(FHandle, UDM_SETBUDDY, WPARAM(reinterpret_cast<uintptr_t>(v->Handle())), 0);
        ::SendMessage(FHandle, UDM_SETPOS32, 0, FPosition);
    }
}

void TUpDown::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FAssociate) {
        FAssociate = nullptr;
        if (HandleAllocated()) ::SendMessage(FHandle, UDM_SETBUDDY, 0, 0);
    }
}

void TUpDown::SetMin(Integer v)
{
    FMin = v;
    if (HandleAllocated()) ::SendMessage(FHandle, UDM_SETRANGE32, WPARAM(FMin), FMax);
    SetPosition(FPosition);
}

void TUpDown::SetMax(Integer v)
{
    FMax = v;
    if (HandleAllocated()) ::SendMessage(FHandle, UDM_SETRANGE32, WPARAM(FMin), FMax);
    SetPosition(FPosition);
}

Integer TUpDown::Position()
{
    if (HandleAllocated()) {
        BOOL error = FALSE;
        Integer p = Integer(::SendMessage(FHandle, UDM_GETPOS32, 0, LPARAM(&error)));
        if (!error) FPosition = p;
    }
    return FPosition;
}

void TUpDown::SetPosition(Integer v)
{
    FPosition = std::clamp(v, std::min(FMin, FMax), std::max(FMin, FMax));
    if (HandleAllocated()) ::SendMessage(FHandle, UDM_SETPOS32, 0, FPosition);
}

void TUpDown::SetWrap(bool v)
{
    if (FWrap == v) return;
    FWrap = v;
    RecreateWnd();
}

void TUpDown::SetArrowKeys(bool v)
{
    if (FArrowKeys == v) return;
    FArrowKeys = v;
    RecreateWnd();
}

void TUpDown::SetThousands(bool v)
{
    if (FThousands == v) return;
    FThousands = v;
    RecreateWnd();
}

void TUpDown::SetOrientation(TUDOrientation v)
{
    if (FOrientation == v) return;
    FOrientation = v;
    if (!ComponentState().Contains(csLoading)) SetBounds(FLeft, FTop, FHeight, FWidth);
    RecreateWnd();
}

void TUpDown::SetAlignButton(TUDAlignButton v)
{
    if (FAlignButton == v) return;
    FAlignButton = v;
    RecreateWnd();
}

bool TUpDown::CanChange()
{
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    return allow;
}

void TUpDown::Click(TUDBtnType Button)
{
    if (OnClick) OnClick(this, Button);
}

void TUpDown::Dispatch(TMessage& M)
{
    if (M.Msg == CN_NOTIFY) {
        auto* nm = reinterpret_cast<NMUPDOWN*>(M.LParam);
        if (nm && nm->hdr.code == UDN_DELTAPOS) {
            FLastDelta = nm->iDelta;
            M.Result = CanChange() ? 0 : 1;
            return;
        }
    }
    if ((M.Msg == CN_VSCROLL || M.Msg == CN_HSCROLL) && int(M.WParamLo()) == SB_THUMBPOSITION) {
        Position();
        Click(FLastDelta >= 0 ? btNext : btPrev);
        M.Result = 0;
        return;
    }
    TWinControl::Dispatch(M);
}
