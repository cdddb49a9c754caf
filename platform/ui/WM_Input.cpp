// Input: keyboard focus, activation, mouse capture, the keyboard state, the
// routing of mouse and key input to windows, the move/size loop the
// non-client hit codes start, cursors and key names.
#include <algorithm>
#include <cstdlib>

#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Backend.h"

HWND WmHitWindow(TPoint p, LRESULT& hit);

namespace {

bool InTree(HWND root, HWND h)
{
    return h && (h == root || IsChild(root, h));
}

bool Down(int vk) { return (WM().keys[vk & 0xFF] & 0x80) != 0; }

WPARAM MouseKeyFlags()
{
    WPARAM f = 0;
    if (Down(VK_LBUTTON)) f |= MK_LBUTTON;
    if (Down(VK_RBUTTON)) f |= MK_RBUTTON;
    if (Down(VK_MBUTTON)) f |= MK_MBUTTON;
    if (Down(VK_SHIFT)) f |= MK_SHIFT;
    if (Down(VK_CONTROL)) f |= MK_CONTROL;
    return f;
}

bool IsExtendedKey(Word vk)
{
    switch (vk) {
    case VK_INSERT: case VK_DELETE: case VK_HOME: case VK_END: case VK_PRIOR: case VK_NEXT:
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: case VK_RCONTROL: case VK_RMENU:
    case VK_DIVIDE: case VK_NUMLOCK: case VK_LWIN: case VK_RWIN: case VK_APPS:
        return true;
    default: return false;
    }
}

struct TKeyName {
    Word vk;
    Byte scan;
    bool ext;
    const wchar_t* name;
};

// Scan codes (set 1) and the English names GetKeyNameText gives.
const TKeyName kKeys[] = {
    {VK_ESCAPE, 0x01, false, L"Esc"}, {'1', 0x02, false, L"1"}, {'2', 0x03, false, L"2"},
    {'3', 0x04, false, L"3"}, {'4', 0x05, false, L"4"}, {'5', 0x06, false, L"5"},
    {'6', 0x07, false, L"6"}, {'7', 0x08, false, L"7"}, {'8', 0x09, false, L"8"},
    {'9', 0x0A, false, L"9"}, {'0', 0x0B, false, L"0"}, {VK_OEM_MINUS, 0x0C, false, L"-"},
    {VK_OEM_PLUS, 0x0D, false, L"="}, {VK_BACK, 0x0E, false, L"Backspace"},
    {VK_TAB, 0x0F, false, L"Tab"}, {'Q', 0x10, false, L"Q"}, {'W', 0x11, false, L"W"},
    {'E', 0x12, false, L"E"}, {'R', 0x13, false, L"R"}, {'T', 0x14, false, L"T"},
    {'Y', 0x15, false, L"Y"}, {'U', 0x16, false, L"U"}, {'I', 0x17, false, L"I"},
    {'O', 0x18, false, L"O"}, {'P', 0x19, false, L"P"}, {VK_OEM_4, 0x1A, false, L"["},
    {VK_OEM_6, 0x1B, false, L"]"}, {VK_RETURN, 0x1C, false, L"Enter"},
    {VK_CONTROL, 0x1D, false, L"Ctrl"}, {'A', 0x1E, false, L"A"}, {'S', 0x1F, false, L"S"},
    {'D', 0x20, false, L"D"}, {'F', 0x21, false, L"F"}, {'G', 0x22, false, L"G"},
    {'H', 0x23, false, L"H"}, {'J', 0x24, false, L"J"}, {'K', 0x25, false, L"K"},
    {'L', 0x26, false, L"L"}, {VK_OEM_1, 0x27, false, L";"}, {VK_OEM_7, 0x28, false, L"'"},
    {VK_OEM_3, 0x29, false, L"`"}, {VK_SHIFT, 0x2A, false, L"Shift"},
    {VK_OEM_5, 0x2B, false, L"\\"}, {'Z', 0x2C, false, L"Z"}, {'X', 0x2D, false, L"X"},
    {'C', 0x2E, false, L"C"}, {'V', 0x2F, false, L"V"}, {'B', 0x30, false, L"B"},
    {'N', 0x31, false, L"N"}, {'M', 0x32, false, L"M"}, {VK_OEM_COMMA, 0x33, false, L","},
    {VK_OEM_PERIOD, 0x34, false, L"."}, {VK_OEM_2, 0x35, false, L"/"},
    {VK_RSHIFT, 0x36, false, L"Right Shift"}, {VK_MULTIPLY, 0x37, false, L"Num *"},
    {VK_MENU, 0x38, false, L"Alt"}, {VK_SPACE, 0x39, false, L"Space"},
    {VK_CAPITAL, 0x3A, false, L"Caps Lock"}, {VK_F1, 0x3B, false, L"F1"},
    {VK_F2, 0x3C, false, L"F2"}, {VK_F3, 0x3D, false, L"F3"}, {VK_F4, 0x3E, false, L"F4"},
    {VK_F5, 0x3F, false, L"F5"}, {VK_F6, 0x40, false, L"F6"}, {VK_F7, 0x41, false, L"F7"},
    {VK_F8, 0x42, false, L"F8"}, {VK_F9, 0x43, false, L"F9"}, {VK_F10, 0x44, false, L"F10"},
    {VK_PAUSE, 0x45, false, L"Pause"}, {VK_SCROLL, 0x46, false, L"Scroll Lock"},
    {VK_NUMPAD7, 0x47, false, L"Num 7"}, {VK_NUMPAD8, 0x48, false, L"Num 8"},
    {VK_NUMPAD9, 0x49, false, L"Num 9"}, {VK_SUBTRACT, 0x4A, false, L"Num -"},
    {VK_NUMPAD4, 0x4B, false, L"Num 4"}, {VK_NUMPAD5, 0x4C, false, L"Num 5"},
    {VK_NUMPAD6, 0x4D, false, L"Num 6"}, {VK_ADD, 0x4E, false, L"Num +"},
    {VK_NUMPAD1, 0x4F, false, L"Num 1"}, {VK_NUMPAD2, 0x50, false, L"Num 2"},
    {VK_NUMPAD3, 0x51, false, L"Num 3"}, {VK_NUMPAD0, 0x52, false, L"Num 0"},
    {VK_DECIMAL, 0x53, false, L"Num Del"}, {VK_F11, 0x57, false, L"F11"},
    {VK_F12, 0x58, false, L"F12"},
    {VK_RCONTROL, 0x1D, true, L"Right Ctrl"}, {VK_RMENU, 0x38, true, L"Right Alt"},
    {VK_DIVIDE, 0x35, true, L"Num /"}, {VK_NUMLOCK, 0x45, true, L"Num Lock"},
    {VK_HOME, 0x47, true, L"Home"}, {VK_UP, 0x48, true, L"Up"}, {VK_PRIOR, 0x49, true, L"Page Up"},
    {VK_LEFT, 0x4B, true, L"Left"}, {VK_RIGHT, 0x4D, true, L"Right"}, {VK_END, 0x4F, true, L"End"},
    {VK_DOWN, 0x50, true, L"Down"}, {VK_NEXT, 0x51, true, L"Page Down"},
    {VK_INSERT, 0x52, true, L"Insert"}, {VK_DELETE, 0x53, true, L"Delete"},
    {VK_LWIN, 0x5B, true, L"Left Windows"}, {VK_RWIN, 0x5C, true, L"Right Windows"},
    {VK_APPS, 0x5D, true, L"Application"},
};

const TKeyName* KeyByVk(Word vk)
{
    if (vk == VK_LSHIFT) vk = VK_SHIFT;
    if (vk == VK_LCONTROL) vk = VK_CONTROL;
    if (vk == VK_LMENU) vk = VK_MENU;
    for (auto& k : kKeys)
        if (k.vk == vk) return &k;
    return nullptr;
}

const TKeyName* KeyByScan(Byte scan, bool ext)
{
    for (auto& k : kKeys)
        if (k.scan == scan && k.ext == ext) return &k;
    if (ext)
        for (auto& k : kKeys)
            if (k.scan == scan) return &k;
    return nullptr;
}

void SetKey(int vk, bool down)
{
    Byte& k = WM().keys[vk & 0xFF];
    if (down) {
        if (!(k & 0x80)) k ^= 1;  // toggle on each new press
        k |= 0x80;
    } else {
        k &= Byte(~0x80);
    }
}

void UpdateModifier(Word vk, bool down)
{
    auto& keys = WM().keys;
    SetKey(vk, down);
    auto pair = [&](int generic, int l, int r) {
        if (vk == generic) SetKey(l, down);
        bool any = (keys[l] & 0x80) || (keys[r] & 0x80);
        if (vk == l || vk == r) SetKey(generic, any);
    };
    pair(VK_SHIFT, VK_LSHIFT, VK_RSHIFT);
    pair(VK_CONTROL, VK_LCONTROL, VK_RCONTROL);
    pair(VK_MENU, VK_LMENU, VK_RMENU);
}

void SizeMoveTrack(TPoint p)
{
    auto& sm = WM().sizeMove;
    HWND h = sm.hwnd;
    TWnd* w = WndOf(h);
    if (!w) {
        sm = TSizeMove{};
        return;
    }
    int dx = p.X - sm.start.X, dy = p.Y - sm.start.Y;
    TRect r = sm.startRect;
    if (sm.hit == HTCAPTION) {
        OffsetRect(r, dx, dy);
        SendMessage(h, WM_MOVING, 0, LPARAM(&r));
    } else {
        int hit = sm.hit;
        bool left = hit == HTLEFT || hit == HTTOPLEFT || hit == HTBOTTOMLEFT;
        bool right = hit == HTRIGHT || hit == HTTOPRIGHT || hit == HTBOTTOMRIGHT;
        bool top = hit == HTTOP || hit == HTTOPLEFT || hit == HTTOPRIGHT;
        bool bottom = hit == HTBOTTOM || hit == HTBOTTOMLEFT || hit == HTBOTTOMRIGHT;
        if (left) r.Left = std::min(r.Left + dx, r.Right - sm.minTrack.X);
        if (right) r.Right = std::max(r.Right + dx, r.Left + sm.minTrack.X);
        if (top) r.Top = std::min(r.Top + dy, r.Bottom - sm.minTrack.Y);
        if (bottom) r.Bottom = std::max(r.Bottom + dy, r.Top + sm.minTrack.Y);
        if (left) r.Left = std::max(r.Left, r.Right - sm.maxTrack.X);
        if (right) r.Right = std::min(r.Right, r.Left + sm.maxTrack.X);
        if (top) r.Top = std::max(r.Top, r.Bottom - sm.maxTrack.Y);
        if (bottom) r.Bottom = std::min(r.Bottom, r.Top + sm.maxTrack.Y);
        SendMessage(h, WM_SIZING, WPARAM(hit - HTLEFT + WMSZ_LEFT), LPARAM(&r));
    }
    if (!(w = WndOf(h))) return;
    if (w->parent) {
        TPoint o = ClientOriginScreen(w->parent);
        OffsetRect(r, -o.X, -o.Y);
    }
    SetWindowPos(h, nullptr, r.Left, r.Top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

UINT CaptionCommand(HWND h, int hit)
{
    switch (hit) {
    case HTMINBUTTON: return SC_MINIMIZE;
    case HTMAXBUTTON: return IsZoomed(h) ? SC_RESTORE : SC_MAXIMIZE;
    default: return SC_CLOSE;
    }
}

// Follows a caption button press: the button shows pushed while the cursor
// is over it, and the release over it carries out its command.
bool CaptionTrackMouse(UINT msg, TPoint p)
{
    auto& m = WM();
    TCaptionPress cp = m.captionPress;
    if (!cp.hwnd) return false;
    if (!WndOf(cp.hwnd)) {
        m.captionPress = TCaptionPress{};
        return false;
    }
    bool over = SendMessage(cp.hwnd, WM_NCHITTEST, 0, PointToLParam(p)) == cp.hit;
    if (msg == WM_LBUTTONUP) {
        m.captionPress = TCaptionPress{};
        WmInvalidateFrame(cp.hwnd);
        if (m.capture == cp.hwnd) ReleaseCapture();
        // Posted, not sent: closing may ask questions in a loop of its own,
        // which must not run inside the input delivery.
        if (over && WndOf(cp.hwnd))
            PostMessage(cp.hwnd, WM_SYSCOMMAND, CaptionCommand(cp.hwnd, cp.hit), PointToLParam(p));
        return true;
    }
    if (over != cp.pushed) {
        m.captionPress.pushed = over;
        WmInvalidateFrame(cp.hwnd);
    }
    return true;
}

}  // namespace

void WmCaptionPressBegin(HWND hwnd, int hit)
{
    auto& m = WM();
    // The button already came up (input delivered before the press was
    // handled): the WM_NCLBUTTONUP that follows carries out the command.
    if (!WndOf(hwnd) || !Down(VK_LBUTTON) || m.captionPress.hwnd) return;
    SetCapture(hwnd);
    m.captionPress = TCaptionPress{hwnd, hit, true};
    WmInvalidateFrame(hwnd);
}

// ---------------------------------------------------------------------------
// Focus, activation, capture

HWND SetFocus(HWND hwnd)
{
    auto& m = WM();
    HWND old = m.focus;
    if (hwnd && !WndOf(hwnd)) return nullptr;
    if (hwnd == old) return old;
    if (hwnd) {
        HWND root = RootOf(hwnd);
        if (m.active != root) {
            WmActivate(root, WA_ACTIVE);
            old = m.focus;
            if (old == hwnd) return old;
            if (!WndOf(hwnd)) return nullptr;
        }
    }
    m.focus = hwnd;
    if (old && WndOf(old)) SendMessage(old, WM_KILLFOCUS, WPARAM(hwnd), 0);
    if (hwnd && m.focus == hwnd && WndOf(hwnd)) SendMessage(hwnd, WM_SETFOCUS, WPARAM(old), 0);
    return old;
}

HWND GetFocus()
{
    HWND f = WM().focus;
    return WndOf(f) ? f : nullptr;
}

void WmActivate(HWND top, WPARAM how)
{
    auto& m = WM();
    if (top) top = RootOf(top);
    HWND old = m.active;
    if (!WndOf(old)) old = nullptr;
    if (top == old) {
        if (top && !m.appActive) {
            m.appActive = true;
            std::vector<HWND> tops = m.topLevels;
            for (HWND t : tops) SendMessage(t, WM_ACTIVATEAPP, TRUE, 0);
        }
        return;
    }
    m.active = top;
    if (old) {
        SendMessage(old, WM_NCACTIVATE, FALSE, LPARAM(reinterpret_cast<intptr_t>(top)));
        if (WndOf(old))
            SendMessage(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, IsIconic(old) ? 1 : 0),
                        LPARAM(reinterpret_cast<intptr_t>(top)));
    }
    if (!top) {
        if (m.appActive) {
            m.appActive = false;
            std::vector<HWND> tops = m.topLevels;
            for (HWND t : tops) SendMessage(t, WM_ACTIVATEAPP, FALSE, 0);
        }
        if (m.focus) SetFocus(nullptr);
        return;
    }
    if (!m.appActive) {
        m.appActive = true;
        std::vector<HWND> tops = m.topLevels;
        for (HWND t : tops) SendMessage(t, WM_ACTIVATEAPP, TRUE, 0);
    }
    if (m.active != top || !WndOf(top)) return;
    SetWindowPos(top, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // The desktop's keyboard focus follows, so the window shown active
    // really gets the keys.
    if (m.active == top && WndOf(top) && HasBackend()) Backend().WindowActivated(top);
    SendMessage(top, WM_NCACTIVATE, TRUE, LPARAM(reinterpret_cast<intptr_t>(old)));
    if (WndOf(top))
        SendMessage(top, WM_ACTIVATE, MAKEWPARAM(how, IsIconic(top) ? 1 : 0),
                    LPARAM(reinterpret_cast<intptr_t>(old)));
    // The keyboard follows activation unless the window placed it inside
    // itself while activating.
    if (m.active == top && WndOf(top) && !InTree(top, m.focus) && !IsIconic(top)) SetFocus(top);
}

void WmActivateNext(HWND leaving)
{
    auto& m = WM();
    HWND root = RootOf(leaving);
    auto usable = [&](HWND t) {
        TWnd* w = WndOf(t);
        return w && t != root && !IsChild(root, t) && (w->style & WS_VISIBLE) && !w->minimized &&
               !(w->style & WS_DISABLED) && !(w->exStyle & WS_EX_NOACTIVATE) && !w->destroying;
    };
    HWND next = nullptr;
    if (TWnd* rw = WndOf(root); rw && rw->owner && usable(rw->owner)) next = rw->owner;
    if (!next) {
        std::vector<HWND> tops = m.topLevels;
        for (HWND t : tops)
            if (usable(t)) {
                next = t;
                break;
            }
    }
    WmActivate(next, WA_ACTIVE);
}

HWND SetActiveWindow(HWND hwnd)
{
    HWND old = WM().active;
    if (hwnd && !WndOf(hwnd)) return nullptr;
    WmActivate(hwnd, WA_ACTIVE);
    return WndOf(old) ? old : nullptr;
}

HWND GetActiveWindow()
{
    HWND a = WM().active;
    return WndOf(a) ? a : nullptr;
}

BOOL SetForegroundWindow(HWND hwnd)
{
    if (!WndOf(hwnd)) return FALSE;
    WmActivate(hwnd, WA_ACTIVE);
    return TRUE;
}

HWND GetForegroundWindow() { return WM().appActive ? GetActiveWindow() : nullptr; }

HWND SetCapture(HWND hwnd)
{
    auto& m = WM();
    HWND old = m.capture;
    if (!WndOf(old)) old = nullptr;
    if (hwnd && !WndOf(hwnd)) return old;
    if (old == hwnd) return old;
    m.capture = hwnd;
    if (old) SendMessage(old, WM_CAPTURECHANGED, 0, LPARAM(reinterpret_cast<intptr_t>(hwnd)));
    return old;
}

BOOL ReleaseCapture()
{
    auto& m = WM();
    HWND old = m.capture;
    m.capture = nullptr;
    if (m.sizeMove.hwnd && m.sizeMove.hwnd == old) WmEndSizeMove(false);
    if (m.captionPress.hwnd && m.captionPress.hwnd == old) {
        m.captionPress = TCaptionPress{};
        WmInvalidateFrame(old);
    }
    if (old && WndOf(old)) SendMessage(old, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetCapture()
{
    HWND c = WM().capture;
    return WndOf(c) ? c : nullptr;
}

// ---------------------------------------------------------------------------
// The move/size loop. It runs on the input as it arrives rather than in a
// nested loop, so input fed in from the same thread (tests) drives it too.

void WmBeginSizeMove(HWND hwnd, int hit)
{
    auto& m = WM();
    if (!WndOf(hwnd) || m.sizeMove.hwnd) return;
    TSizeMove sm;
    sm.hwnd = hwnd;
    sm.hit = hit;
    sm.start = m.cursorPos;
    sm.startRect = WindowRectScreen(hwnd);
    MINMAXINFO mmi;
    TWnd* w = WndOf(hwnd);
    // Captioned windows keep room for their caption; others only for their
    // frame.
    if (!w->parent && (w->style & WS_CAPTION) == WS_CAPTION) {
        mmi.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    } else {
        TRect f = FrameInsets(w->style, w->exStyle);
        mmi.ptMinTrackSize = {f.Left + f.Right, f.Top + f.Bottom};
    }
    mmi.ptMaxTrackSize = {100000, 100000};
    SendMessage(hwnd, WM_GETMINMAXINFO, 0, LPARAM(&mmi));
    sm.minTrack = mmi.ptMinTrackSize;
    sm.maxTrack = mmi.ptMaxTrackSize;
    if (!WndOf(hwnd)) return;
    SetCapture(hwnd);
    m.sizeMove = sm;
    SendMessage(hwnd, WM_ENTERSIZEMOVE, 0, 0);
}

void WmEndSizeMove(bool cancel)
{
    auto& m = WM();
    TSizeMove sm = m.sizeMove;
    if (!sm.hwnd) return;
    m.sizeMove = TSizeMove{};
    if (cancel && WndOf(sm.hwnd)) {
        TRect r = sm.startRect;
        if (TWnd* w = WndOf(sm.hwnd); w->parent) {
            TPoint o = ClientOriginScreen(w->parent);
            OffsetRect(r, -o.X, -o.Y);
        }
        SetWindowPos(sm.hwnd, nullptr, r.Left, r.Top, r.Width(), r.Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (m.capture == sm.hwnd) ReleaseCapture();
    if (WndOf(sm.hwnd)) SendMessage(sm.hwnd, WM_EXITSIZEMOVE, 0, 0);
}

// ---------------------------------------------------------------------------
// Input routing

void WmDeactivateApp() { WmActivate(nullptr, WA_INACTIVE); }

void WmMouseInput(UINT msg, TPoint p, int wheelDelta)
{
    auto& m = WM();
    m.cursorPos = p;
    if (msg != WM_MOUSEMOVE) m.altAlone = false;
    bool swap = false;
    switch (msg) {
    case WM_LBUTTONDOWN: SetKey(swap ? VK_RBUTTON : VK_LBUTTON, true); break;
    case WM_LBUTTONUP: SetKey(VK_LBUTTON, false); break;
    case WM_RBUTTONDOWN: SetKey(VK_RBUTTON, true); break;
    case WM_RBUTTONUP: SetKey(VK_RBUTTON, false); break;
    case WM_MBUTTONDOWN: SetKey(VK_MBUTTON, true); break;
    case WM_MBUTTONUP: SetKey(VK_MBUTTON, false); break;
    default: break;
    }
    if (m.sizeMove.hwnd) {
        if (msg == WM_MOUSEMOVE) SizeMoveTrack(p);
        else if (msg == WM_LBUTTONUP) WmEndSizeMove(false);
        else if (msg == WM_RBUTTONDOWN) WmEndSizeMove(true);
        return;
    }
    if (WmScrollTrackMouse(msg, p)) return;
    if (CaptionTrackMouse(msg, p)) return;

    HWND target;
    LRESULT hit;
    bool captured = WndOf(m.capture) != nullptr;
    if (captured) {
        target = m.capture;
        hit = HTCLIENT;
    } else {
        target = WmHitWindow(p, hit);
    }
    if (m.trackLeave && m.trackLeave != target) {
        HWND t = m.trackLeave;
        m.trackLeave = nullptr;
        PostMessage(t, WM_MOUSELEAVE, 0, 0);
    }
    if (m.trackNcLeave && (m.trackNcLeave != target || hit == HTCLIENT || captured)) {
        HWND t = m.trackNcLeave;
        m.trackNcLeave = nullptr;
        PostMessage(t, WM_NCMOUSELEAVE, 0, 0);
    }
    m.lastMouseWindow = target;
    bool isDown = msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN;
    if (msg == WM_MOUSEWHEEL || msg == WM_MOUSEHWHEEL) {
        HWND dest = GetFocus() ? GetFocus() : GetActiveWindow();
        if (dest)
            PostMessage(dest, msg, MAKEWPARAM(int(MouseKeyFlags()), wheelDelta), PointToLParam(p));
        return;
    }
    if (!target) {
        if (isDown) WmDeactivateApp();
        return;
    }
    if (hit == HTERROR) {
        // A disabled window (behind a modal one): the click activates the
        // window that disables it.
        if (isDown) {
            MessageBeep(0);
            if (HWND pop = GetWindow(RootOf(target), GW_ENABLEDPOPUP)) WmActivate(pop, WA_CLICKACTIVE);
        }
        return;
    }
    bool eat = false;
    if (isDown && !captured) {
        HWND root = RootOf(target);
        if (root != m.active) {
            LRESULT ma = SendMessage(target, WM_MOUSEACTIVATE, WPARAM(root), MAKELPARAM(int(hit), int(msg)));
            TWnd* rw = WndOf(root);
            if (rw && (ma == MA_ACTIVATE || ma == MA_ACTIVATEANDEAT) && !(rw->exStyle & WS_EX_NOACTIVATE))
                WmActivate(root, WA_CLICKACTIVE);
            eat = ma == MA_ACTIVATEANDEAT || ma == MA_NOACTIVATEANDEAT;
        }
        if (!WndOf(target)) return;
    }
    if (!captured) SendMessage(target, WM_SETCURSOR, WPARAM(target), MAKELPARAM(int(hit), int(msg)));
    if (eat || !WndOf(target)) return;

    UINT out = msg;
    if (isDown) {
        TWnd* w = WndOf(target);
        DWORD now = UiTickCount();
        // The frame always tells double clicks apart (a caption double
        // click maximises); the client area only when its class asks.
        bool dbl = ((w->cls->wc.style & CS_DBLCLKS) || hit != HTCLIENT) && m.lastClickWnd == target &&
                   m.lastClickMsg == msg && m.lastClickClient == (hit == HTCLIENT) && !m.lastWasDouble &&
                   now - m.lastClickTime <= m.doubleClickTime &&
                   std::abs(p.X - m.lastClickPos.X) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
                   std::abs(p.Y - m.lastClickPos.Y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
        if (dbl) out = msg + (WM_LBUTTONDBLCLK - WM_LBUTTONDOWN);
        m.lastWasDouble = dbl;
        m.lastClickWnd = target;
        m.lastClickMsg = msg;
        m.lastClickClient = hit == HTCLIENT;
        m.lastClickTime = now;
        m.lastClickPos = p;
    }
    if (hit == HTCLIENT) {
        TPoint c = p;
        ScreenToClient(target, &c);
        PostMessage(target, out, MouseKeyFlags(), PointToLParam(c));
    } else {
        PostMessage(target, out - WM_MOUSEMOVE + WM_NCMOUSEMOVE, WPARAM(hit), PointToLParam(p));
    }
}

namespace {
// The key whose text the desktop delivers next, and its key data: a typed
// character carries the scan code of the key that made it (the keypad's
// decimal key is told apart by it).
Word GCharKeyVk = 0;
LPARAM GCharKeyData = 1;
}  // namespace

void WmKeyInput(Word vk, bool down)
{
    auto& m = WM();
    bool prev = Down(vk);
    UpdateModifier(vk, down);
    bool altKey = vk == VK_MENU || vk == VK_LMENU || vk == VK_RMENU;
    bool altTap = false;
    if (down && altKey && !prev) m.altAlone = true;
    else if (down && !altKey) m.altAlone = false;
    else if (!down && altKey) {
        altTap = m.altAlone;
        m.altAlone = false;
    }
    if (m.sizeMove.hwnd) {
        if (down && vk == VK_ESCAPE) WmEndSizeMove(true);
        if (down && vk == VK_RETURN) WmEndSizeMove(false);
        return;
    }
    bool alt = Down(VK_MENU), ctrl = Down(VK_CONTROL);
    bool sys = (alt && !ctrl) || vk == VK_F10 || ((vk == VK_MENU || vk == VK_LMENU || vk == VK_RMENU) && !ctrl);
    if (!down && (vk == VK_MENU || vk == VK_LMENU || vk == VK_RMENU)) sys = !ctrl;
    UINT msg = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
    UINT scan = MapVirtualKey(vk, MAPVK_VK_TO_VSC);
    LPARAM data = 1 | LPARAM(scan & 0xFF) << 16;
    if (IsExtendedKey(vk)) data |= LPARAM(1) << 24;
    if (alt) data |= LPARAM(1) << 29;
    if (altTap) data |= kAltTapKeyData;
    if (!down) data |= (LPARAM(1) << 30) | LPARAM(int32_t(0x80000000u));
    else if (prev) data |= LPARAM(1) << 30;
    data = LPARAM(int32_t(uint32_t(data)));
    if (down && !sys) {
        GCharKeyVk = vk;
        GCharKeyData = 1 | (data & (LPARAM(0x1FF) << 16));   // scan code and extended bit
    } else if (!down && vk == GCharKeyVk) {
        GCharKeyVk = 0;
    }
    HWND target = GetFocus() ? GetFocus() : GetActiveWindow();
    if (target) PostMessage(target, msg, WPARAM(vk), data);
}

void WmCharInput(wchar_t ch)
{
    const LPARAM data = GCharKeyVk && Down(GCharKeyVk) ? GCharKeyData : 1;
    HWND target = GetFocus() ? GetFocus() : GetActiveWindow();
    if (target) PostMessage(target, WM_CHAR, WPARAM(ch), data);
}

// ---------------------------------------------------------------------------
// Keyboard state and names

SHORT GetKeyState(int vk)
{
    Byte k = WM().keys[vk & 0xFF];
    return SHORT((k & 0x80 ? 0x8000 : 0) | (k & 1));
}

SHORT GetAsyncKeyState(int vk)
{
    Byte k = WM().keys[vk & 0xFF];
    return SHORT(k & 0x80 ? 0x8000 : 0);
}

BOOL GetKeyboardState(Byte* state)
{
    if (!state) return FALSE;
    std::copy(std::begin(WM().keys), std::end(WM().keys), state);
    return TRUE;
}

UINT MapVirtualKey(UINT code, UINT mapType)
{
    switch (mapType) {
    case MAPVK_VK_TO_VSC: {
        const TKeyName* k = KeyByVk(Word(code));
        return k ? k->scan : 0;
    }
    case MAPVK_VSC_TO_VK:
    case MAPVK_VSC_TO_VK_EX: {
        const TKeyName* k = KeyByScan(Byte(code), false);
        if (!k) return 0;
        if (mapType == MAPVK_VSC_TO_VK && k->vk == VK_RSHIFT) return VK_SHIFT;
        if (mapType == MAPVK_VSC_TO_VK_EX && k->vk == VK_SHIFT) return VK_LSHIFT;
        return k->vk;
    }
    case MAPVK_VK_TO_CHAR: {
        if (code >= 'A' && code <= 'Z') return code;
        if (code >= '0' && code <= '9') return code;
        Word vk;
        bool shift;
        for (wchar_t c = 32; c < 127; ++c)
            if (WmKeyForChar(c, vk, shift) && vk == code && !shift) return UINT(c);
        if (code == VK_RETURN) return 13;
        if (code == VK_BACK) return 8;
        if (code == VK_TAB) return 9;
        if (code == VK_ESCAPE) return 27;
        return 0;
    }
    default: return 0;
    }
}

String GetKeyNameText(LONG lParam)
{
    Byte scan = Byte((uint32_t(lParam) >> 16) & 0xFF);
    bool ext = (uint32_t(lParam) >> 24) & 1;
    const TKeyName* k = KeyByScan(scan, ext);
    if (!k) return String();
    if (!ext && k->ext) return String();
    return k->name;
}

int GetKeyNameText(LONG lParam, wchar_t* buf, int size)
{
    String n = GetKeyNameText(lParam);
    if (!buf || size <= 0) return 0;
    int len = std::min<int>(int(n.size()), size - 1);
    std::copy(n.begin(), n.begin() + len, buf);
    buf[len] = 0;
    return len;
}

BOOL TrackMouseEvent(TRACKMOUSEEVENT* tme)
{
    if (!tme) return FALSE;
    auto& m = WM();
    if (tme->dwFlags & TME_QUERY) {
        tme->dwFlags = m.trackLeave ? DWORD(TME_LEAVE) : 0u;
        tme->hwndTrack = m.trackLeave;
        return TRUE;
    }
    if (tme->dwFlags & TME_NONCLIENT) {
        // The window's frame: WM_NCMOUSELEAVE when the cursor goes to another
        // window or into the client area.
        if (tme->dwFlags & TME_CANCEL) {
            if (m.trackNcLeave == tme->hwndTrack) m.trackNcLeave = nullptr;
            return TRUE;
        }
        if (!(tme->dwFlags & TME_LEAVE) || !WndOf(tme->hwndTrack)) return FALSE;
        LRESULT hit = HTNOWHERE;
        HWND under = WM().capture ? WM().capture : WmHitWindow(m.cursorPos, hit);
        if (under != tme->hwndTrack || hit == HTCLIENT) {
            PostMessage(tme->hwndTrack, WM_NCMOUSELEAVE, 0, 0);
            return TRUE;
        }
        m.trackNcLeave = tme->hwndTrack;
        return TRUE;
    }
    if (tme->dwFlags & TME_CANCEL) {
        if (m.trackLeave == tme->hwndTrack) m.trackLeave = nullptr;
        return TRUE;
    }
    if (!(tme->dwFlags & TME_LEAVE) || !WndOf(tme->hwndTrack)) return FALSE;
    LRESULT hit;
    HWND under = WM().capture ? WM().capture : WmHitWindow(m.cursorPos, hit);
    if (under != tme->hwndTrack) {
        PostMessage(tme->hwndTrack, WM_MOUSELEAVE, 0, 0);
        return TRUE;
    }
    m.trackLeave = tme->hwndTrack;
    return TRUE;
}

UINT GetDoubleClickTime() { return WM().doubleClickTime; }

BOOL SetDoubleClickTime(UINT ms)
{
    WM().doubleClickTime = ms ? ms : 500;
    return TRUE;
}

// ---------------------------------------------------------------------------
// Cursors

namespace {
constexpr uintptr_t kOwnCursorBase = 0x100000;
std::map<String, uintptr_t>& NamedCursors()
{
    static std::map<String, uintptr_t> names;
    return names;
}
}  // namespace

HCURSOR LoadCursor(HINSTANCE inst, uintptr_t id)
{
    if (!inst) {
        if (id < IDC_ARROW || id > IDC_HELP) return nullptr;
        return reinterpret_cast<HCURSOR>(id);
    }
    return reinterpret_cast<HCURSOR>(kOwnCursorBase + (id & 0xFFFF));
}

HCURSOR LoadCursor(HINSTANCE, const wchar_t* name)
{
    if (!name) return nullptr;
    std::lock_guard<std::recursive_mutex> g(WM().lock);
    auto& names = NamedCursors();
    auto it = names.find(name);
    if (it == names.end()) it = names.emplace(name, kOwnCursorBase + 0x10000 + names.size()).first;
    return reinterpret_cast<HCURSOR>(it->second);
}

uintptr_t CursorId(HCURSOR cursor)
{
    uintptr_t v = reinterpret_cast<uintptr_t>(cursor);
    return v >= kOwnCursorBase ? v - kOwnCursorBase : v;
}

BOOL DestroyCursor(HCURSOR) { return TRUE; }

HCURSOR SetCursor(HCURSOR cursor)
{
    HCURSOR old = WM().cursor;
    WM().cursor = cursor;
    if (old != cursor && HasBackend()) Backend().CursorChanged(cursor);
    return old;
}

HCURSOR GetCursor() { return WM().cursor; }

BOOL GetCursorPos(TPoint* p)
{
    if (!p) return FALSE;
    *p = WM().cursorPos;
    return TRUE;
}

BOOL SetCursorPos(int x, int y)
{
    WmMouseInput(WM_MOUSEMOVE, {x, y});
    return TRUE;
}
