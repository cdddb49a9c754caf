// A top-level window's menu bar: SetMenu/GetMenu/DrawMenuBar, the bar laid
// out in the frame below the caption (rows when the window is too narrow),
// drawn there, hot-tracked by the mouse, and the menu loop of the bar: a
// click, Alt, F10 or Alt+letter enter it; Left/Right move along it; Down,
// Enter or a letter open an item's drop-down; Esc and Alt leave it.
#include <algorithm>

#include "platform/base/SysUtils.h"
#include "platform/gfx/Colors.h"
#include "platform/ui/MenuModel.h"
#include "platform/ui/Menus.h"
#include "platform/ui/MenusInternal.h"
#include "platform/ui/Themes.h"
#include "platform/ui/WindowManager.h"

namespace {

constexpr int kBarPadX = 7;  // space beside the text of a bar item

// The item the mouse is over, or the one selected in the menu loop.
struct TBarHot {
    HWND wnd = nullptr;
    int item = -1;
    bool pushed = false;  // its drop-down is open, or it is pressed
};
thread_local TBarHot tlHot;

struct TBarTrack {
    HWND wnd = nullptr;
    HMENU menu = nullptr;
    int hot = -1;
    bool open = false;      // the hot item's drop-down is to show
    bool keyboard = false;  // entered or moved by keys: drop-downs select their first item
    bool pressed = false;   // the button is down on a command item of the bar
    bool dropped = false;   // drop-downs follow the selection along the bar
    bool done = false;
};
thread_local TBarTrack* tlBar = nullptr;

String BarText(const TMenuItemRec& it)
{
    size_t tab = it.text.find(L'\t');
    return tab == String::npos ? it.text : it.text.substr(0, tab);
}

HFONT BarFont()
{
    LOGFONTW lf = MenuLogFont();
    return CreateFontIndirect(&lf);
}

// Where the bar starts: inside the border, below the caption (window
// coordinates), and how wide the window's frame leaves it.
void BarOrigin(const TWnd* w, int windowWidth, int& left, int& top, int& right)
{
    TRect f = FrameInsets(w->style & ~DWORD(WS_VSCROLL | WS_HSCROLL),
                          w->exStyle & ~DWORD(WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
    left = f.Left;
    top = f.Top;
    right = std::max(left, windowWidth - f.Right);
}

// Lays the items out left to right, a new row when the next item does not
// fit (or has a break); answers the bar's height.
int Layout(HWND h, int windowWidth)
{
    TWnd* w = WndOf(h);
    if (!w) return 0;
    HMENU menu = w->menu;
    TMenuRec* r = MenuRec(menu);
    int rowH = GetSystemMetrics(SM_CYMENU);
    int left = 0, top = 0, right = 0;
    BarOrigin(w, windowWidth, left, top, right);
    std::vector<TRect> rects;
    int rows = 1;
    if (r) {
        // Copies: the owner's WM_MEASUREITEM may change the menu.
        std::vector<TMenuItemRec> items = r->items;
        HDC dc = CreateCompatibleDC(nullptr);
        HFONT font = BarFont();
        HGDIOBJ old = SelectObject(dc, font);
        int x = left, y = top;
        for (const TMenuItemRec& it : items) {
            int width = 0;
            if (it.type & MFT_OWNERDRAW) {
                MEASUREITEMSTRUCT mis;
                mis.CtlType = ODT_MENU;
                mis.itemID = it.id;
                mis.itemHeight = UINT(rowH);
                mis.itemData = it.data;
                SendMessage(h, WM_MEASUREITEM, 0, LPARAM(&mis));
                width = int(mis.itemWidth);
            } else if (it.type & MFT_SEPARATOR) {
                width = 2 * kBarPadX;
            } else {
                TRect tr;
                DrawTextStr(dc, BarText(it), &tr, DT_CALCRECT | DT_SINGLELINE);
                width = tr.Width() + 2 * kBarPadX;
            }
            bool wrap = x > left && (x + width > right || (it.type & (MFT_MENUBREAK | MFT_MENUBARBREAK)));
            if (wrap) {
                x = left;
                y += rowH;
                ++rows;
            }
            rects.push_back(Rect(x, y, x + width, y + rowH));
            x += width;
        }
        SelectObject(dc, old);
        DeleteObject(font);
        DeleteDC(dc);
    }
    if (!(w = WndOf(h))) return 0;
    w->menuItems = std::move(rects);
    w->menuLayoutWidth = windowWidth;
    w->menuLayoutValid = w->menu == menu;
    return rows * rowH;
}

// The bar's items (window coordinates), laid out again when stale.
const std::vector<TRect>& Items(HWND h)
{
    static const std::vector<TRect> none;
    TWnd* w = WndOf(h);
    if (!w || !w->menu) return none;
    TMenuRec* r = MenuRec(w->menu);
    size_t count = r ? r->items.size() : 0;
    if (!w->menuLayoutValid || w->menuLayoutWidth != w->rect.Width() || w->menuItems.size() != count) {
        Layout(h, w->rect.Width());
        if (!(w = WndOf(h))) return none;
    }
    return w->menuItems;
}

std::vector<TRect> ScreenItems(HWND h)
{
    std::vector<TRect> items = Items(h);
    TPoint o = WindowRectScreen(h).TopLeft();
    for (TRect& r : items) OffsetRect(r, o.X, o.Y);
    return items;
}

int ItemAt(HWND h, TPoint screen)
{
    TPoint o = WindowRectScreen(h).TopLeft();
    TPoint p{screen.X - o.X, screen.Y - o.Y};
    const std::vector<TRect>& items = Items(h);
    for (size_t i = 0; i < items.size(); ++i)
        if (PtInRect(items[i], p)) return int(i);
    return -1;
}

const TMenuItemRec* ItemRec(HMENU menu, int item)
{
    TMenuRec* r = MenuRec(menu);
    if (!r || item < 0 || size_t(item) >= r->items.size()) return nullptr;
    return &r->items[size_t(item)];
}

bool Grayed(const TMenuItemRec* it) { return !it || (it->state & MFS_GRAYED) != 0; }

void PaintBar(HWND h, HDC dc)
{
    TWnd* w = WndOf(h);
    if (!w || !w->menu || w->menuBarHeight <= 0) return;
    HMENU menu = w->menu;
    int left = 0, top = 0, right = 0;
    BarOrigin(w, w->rect.Width(), left, top, right);
    TRect strip = Rect(left, top, right, top + w->menuBarHeight);
    std::vector<TRect> items = Items(h);
    TMenuRec* r = MenuRec(menu);
    if (!r) return;
    std::vector<TMenuItemRec> recs = r->items;
    int saved = SaveDC(dc);
    IntersectClipRect(dc, strip.Left, strip.Top, strip.Right, strip.Bottom);
    bool active = GetActiveWindow() == h;
    HTHEME theme = OpenThemeData(h, L"menu");
    if (theme) {
        DrawThemeBackground(theme, dc, MENU_BARBACKGROUND, active ? 1 : 2, &strip, nullptr);
        CloseThemeData(theme);
    } else {
        FillRect(dc, &strip, GetSysColorBrush(COLOR_MENUBAR));
    }
    HFONT font = BarFont();
    size_t n = std::min(items.size(), recs.size());
    for (size_t i = 0; i < n; ++i) {
        const TMenuItemRec& it = recs[i];
        bool hot = (tlHot.wnd == h && tlHot.item == int(i)) || (it.state & MFS_HILITE);
        bool pushed = hot && tlHot.wnd == h && tlHot.item == int(i) && tlHot.pushed;
        if (it.type & MFT_OWNERDRAW) {
            DRAWITEMSTRUCT dis;
            dis.CtlType = ODT_MENU;
            dis.itemID = it.id;
            dis.itemAction = ODA_DRAWENTIRE;
            dis.itemState = (pushed ? UINT(ODS_SELECTED) : 0u) | (hot && !pushed ? UINT(ODS_HOTLIGHT) : 0u) |
                            ((it.state & MFS_GRAYED) ? UINT(ODS_GRAYED | ODS_DISABLED) : 0u) |
                            (active ? 0u : UINT(ODS_INACTIVE));
            dis.hwndItem = reinterpret_cast<HWND>(menu);
            dis.hDC = dc;
            dis.rcItem = items[i];
            dis.itemData = it.data;
            int s2 = SaveDC(dc);
            SelectObject(dc, font);
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, GetSysColor(COLOR_MENUTEXT));
            SendMessage(h, WM_DRAWITEM, 0, LPARAM(&dis));
            RestoreDC(dc, s2);
            if (!IsWindow(h)) break;
            continue;
        }
        TMenuItemLook look;
        look.Text = BarText(it);
        look.Separator = (it.type & MFT_SEPARATOR) != 0;
        look.Hot = hot;
        look.Pushed = pushed;
        look.Disabled = (it.state & MFS_GRAYED) != 0;
        look.MenuBar = true;
        if (!look.Separator) DrawMenuItemLook(dc, items[i], look, font);
    }
    DeleteObject(font);
    RestoreDC(dc, saved);
}

void RedrawBar(HWND h)
{
    if (!IsWindow(h) || !IsWindowVisible(h)) return;
    HDC dc = GetWindowDC(h);
    if (!dc) return;
    PaintBar(h, dc);
    ReleaseDC(h, dc);
}

void SetHot(HWND h, int item, bool pushed)
{
    TBarHot was = tlHot;
    if (was.wnd == h && was.item == item && was.pushed == pushed) return;
    tlHot = {h, h ? item : -1, pushed};
    if (was.wnd && was.wnd != h) RedrawBar(was.wnd);
    if (h) RedrawBar(h);
}

void SendBarSelect(TBarTrack& b)
{
    const TMenuItemRec* it = ItemRec(b.menu, b.hot);
    if (!it) return;
    UINT f = MF_HILITE | (it->state & MFS_GRAYED) | (it->type & (MFT_OWNERDRAW | MFT_SEPARATOR));
    UINT id = it->id;
    if (it->sub) {
        f |= MF_POPUP;
        id = UINT(b.hot);
    }
    SendMessage(b.wnd, WM_MENUSELECT, MAKEWPARAM(int(id), int(f)), LPARAM(b.menu));
}

// The next item along the bar (wrapping), separators passed over.
int Step(HMENU menu, int from, int dir)
{
    TMenuRec* r = MenuRec(menu);
    if (!r || r->items.empty()) return -1;
    int n = int(r->items.size());
    for (int k = 1; k <= n; ++k) {
        int i = ((from + dir * k) % n + n) % n;
        if (!(r->items[size_t(i)].type & MFT_SEPARATOR)) return i;
    }
    return -1;
}

// The bar item with this accelerator, -1 for none.
int AcceleratorItem(HMENU menu, wchar_t ch)
{
    TMenuRec* r = MenuRec(menu);
    if (!r) return -1;
    Char want = AnsiUpperChar(ch);
    for (size_t i = 0; i < r->items.size(); ++i) {
        const TMenuItemRec& it = r->items[i];
        if (!(it.type & MFT_SEPARATOR) && MenuAccelerator(BarText(it)) == want) return int(i);
    }
    return -1;
}

// A letter that no bar item answers to: the window may say what it means.
// True when the answer selected (or chose) an item.
bool BarMenuChar(HWND h, HMENU menu, wchar_t ch, int& item, bool& execute, bool& close)
{
    LRESULT r = SendMessage(h, WM_MENUCHAR, MAKEWPARAM(int(ch), 0), LPARAM(menu));
    int k = int(LOWORD(uintptr_t(r)));
    execute = close = false;
    switch (HIWORD(uintptr_t(r))) {
    case MNC_CLOSE: close = true; return false;
    case MNC_EXECUTE: case MNC_SELECT:
        if (!ItemRec(menu, k) || (ItemRec(menu, k)->type & MFT_SEPARATOR)) break;
        item = k;
        execute = HIWORD(uintptr_t(r)) == MNC_EXECUTE;
        return true;
    default: break;
    }
    MessageBeep(0);
    return false;
}

bool IsKeyMsg(UINT m)
{
    return m == WM_KEYDOWN || m == WM_KEYUP || m == WM_CHAR || m == WM_SYSKEYDOWN || m == WM_SYSKEYUP ||
           m == WM_SYSCHAR || m == WM_DEADCHAR || m == WM_SYSDEADCHAR;
}

bool IsMouseMsg(UINT m) { return m >= WM_MOUSEFIRST && m <= WM_MOUSELAST; }

void Choose(TBarTrack& b, const TMenuItemRec* it)
{
    b.done = true;
    if (it && !Grayed(it) && !it->sub) PostMessage(b.wnd, WM_COMMAND, MAKEWPARAM(int(it->id), 0), 0);
}

void BarKeyDown(TBarTrack& b, MSG& msg)
{
    switch (Word(msg.wParam)) {
    case VK_LEFT: case VK_RIGHT: {
        int next = Step(b.menu, b.hot, msg.wParam == VK_RIGHT ? 1 : -1);
        if (next >= 0 && next != b.hot) {
            b.hot = next;
            const TMenuItemRec* it = ItemRec(b.menu, next);
            if (b.dropped && it && it->sub) {
                b.open = true;
                return;
            }
            SetHot(b.wnd, b.hot, false);
            SendBarSelect(b);
        }
        return;
    }
    case VK_DOWN: case VK_UP: {
        const TMenuItemRec* it = ItemRec(b.menu, b.hot);
        if (it && it->sub) {
            b.open = true;
            b.keyboard = true;
        }
        return;
    }
    case VK_RETURN:
        b.open = true;
        b.keyboard = true;
        return;
    case VK_MENU: case VK_LMENU: case VK_RMENU:
        ForgetAltTap();
        b.done = true;
        return;
    case VK_ESCAPE: case VK_F10: b.done = true; return;
    default: TranslateMessage(&msg); return;
    }
}

void BarChar(TBarTrack& b, wchar_t ch)
{
    if (ch < L' ') return;
    int k = AcceleratorItem(b.menu, ch);
    bool execute = true, close = false;
    if (k < 0 && !BarMenuChar(b.wnd, b.menu, ch, k, execute, close)) {
        if (close) b.done = true;
        return;
    }
    b.hot = k;
    b.keyboard = true;
    b.open = execute;
    SetHot(b.wnd, b.hot, false);
    if (!execute) SendBarSelect(b);
}

// Mouse input while the bar holds the capture (client points), or that
// came to the frame before it took the capture (screen points).
void BarMouse(TBarTrack& b, const MSG& msg)
{
    TPoint p = LParamToPoint(msg.lParam);
    UINT m = msg.message;
    if (m >= WM_NCMOUSEMOVE && m <= WM_NCMBUTTONDBLCLK) m += WM_MOUSEMOVE - WM_NCMOUSEMOVE;
    else ClientToScreen(msg.hwnd, &p);
    int k = ItemAt(b.wnd, p);
    switch (m) {
    case WM_MOUSEMOVE:
        if (b.pressed) SetHot(b.wnd, b.hot, k == b.hot);
        else if (k >= 0 && k != b.hot) {
            b.hot = k;
            b.keyboard = false;
            const TMenuItemRec* it = ItemRec(b.menu, k);
            if (b.dropped && it && it->sub) {
                b.open = true;
                return;
            }
            SetHot(b.wnd, b.hot, false);
            SendBarSelect(b);
        }
        return;
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK: {
        if (k < 0) {
            b.done = true;
            return;
        }
        b.hot = k;
        b.keyboard = false;
        const TMenuItemRec* it = ItemRec(b.menu, k);
        if (it && it->sub) {
            b.open = true;
        } else {
            b.pressed = true;
            SetHot(b.wnd, b.hot, true);
        }
        return;
    }
    case WM_LBUTTONUP:
        if (b.pressed) {
            b.pressed = false;
            if (k == b.hot) Choose(b, ItemRec(b.menu, k));
            else b.done = true;
        }
        return;
    default: return;
    }
}

// Shows the hot item's drop-down, or runs a command item opened by the
// keyboard; the bar goes on as the drop-down ended.
void OpenHot(TBarTrack& b)
{
    b.open = false;
    const TMenuItemRec* it = ItemRec(b.menu, b.hot);
    if (!it || Grayed(it)) {
        if (!b.keyboard) b.done = true;
        return;
    }
    if (!it->sub) {
        if (b.keyboard) Choose(b, it);
        return;
    }
    HMENU sub = it->sub;
    SetHot(b.wnd, b.hot, true);
    SendBarSelect(b);
    TBarDropDown d;
    d.Wnd = b.wnd;
    d.Item = b.hot;
    d.Items = ScreenItems(b.wnd);
    d.SelectFirst = b.keyboard;
    b.dropped = true;
    TrackBarDropDown(sub, d);
    if (b.done) return;  // EndMenu
    switch (d.End) {
    case TBarDropEnd::Escaped:
        b.keyboard = true;
        b.dropped = false;
        SetHot(b.wnd, b.hot, false);
        return;
    case TBarDropEnd::SwitchTo: {
        // The next item's drop-down; a command item is only selected.
        b.hot = d.Next;
        b.keyboard = d.NextByKey;
        const TMenuItemRec* next = ItemRec(b.menu, b.hot);
        b.open = next && next->sub;
        if (!b.open) {
            SetHot(b.wnd, b.hot, false);
            SendBarSelect(b);
        }
        return;
    }
    default: b.done = true; return;
    }
}

void RunBar(TBarTrack& b)
{
    HWND active = GetActiveWindow();
    bool captured = false;  // the bar holds the capture since the last drop-down
    while (!b.done) {
        if (!IsWindow(b.wnd) || GetMenu(b.wnd) != b.menu) break;
        if (b.open) {
            OpenHot(b);
            captured = false;
            continue;
        }
        // The capture taken away (WM_CANCELMODE, another window's press) or
        // the activation gone elsewhere: the menu mode ends.
        auto lost = [&] { return (captured && GetCapture() != b.wnd) || GetActiveWindow() != active; };
        if (lost()) break;
        if (!captured) {
            SetCapture(b.wnd);
            captured = true;
        }
        MSG msg;
        if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
            SendMessage(b.wnd, WM_ENTERIDLE, MSGF_MENU, 0);
            if (b.done || !IsWindow(b.wnd) || lost()) continue;
            if (!PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE)) WaitMessage();
            continue;
        }
        if (msg.message == WM_QUIT) {
            PostQuitMessage(int(msg.wParam));
            break;
        }
        if (IsKeyMsg(msg.message)) {
            // Keys belong to the bar while it is entered.
            if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) BarKeyDown(b, msg);
            else if (msg.message == WM_CHAR || msg.message == WM_SYSCHAR) BarChar(b, wchar_t(msg.wParam));
            continue;
        }
        bool ncMouse = msg.message >= WM_NCMOUSEMOVE && msg.message <= WM_NCMBUTTONDBLCLK;
        if ((IsMouseMsg(msg.message) || ncMouse) && msg.hwnd == b.wnd) {
            BarMouse(b, msg);
            continue;
        }
        DispatchMessage(&msg);
    }
}

// The menu loop of the bar, from the item given: its drop-down opened or
// not, by the keyboard or by a press of the mouse.
void TrackBar(HWND h, int item, bool open, bool keyboard)
{
    if (tlBar || InMenuLoop() || !IsWindowEnabled(h)) return;
    HMENU menu = GetMenu(h);
    if (!menu || !ItemRec(menu, item)) return;
    SendMessage(h, WM_ENTERMENULOOP, FALSE, 0);
    SendMessage(h, WM_INITMENU, WPARAM(menu), 0);
    if (!IsWindow(h) || GetMenu(h) != menu || !ItemRec(menu, item)) return;
    TBarTrack b;
    b.wnd = h;
    b.menu = menu;
    b.hot = item;
    b.open = open;
    b.keyboard = keyboard;
    const TMenuItemRec* it = ItemRec(menu, item);
    if (!open && !keyboard) {
        b.pressed = !it->sub;  // a press on a command item: it runs on the release over it
        b.open = it->sub != nullptr;
    }
    tlBar = &b;
    SetHot(h, item, b.pressed);
    if (!b.open) SendBarSelect(b);
    RunBar(b);
    tlBar = nullptr;
    if (GetCapture() == h) ReleaseCapture();
    SetHot(nullptr, -1, false);
    if (IsWindow(h)) {
        SendMessage(h, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
        SendMessage(h, WM_EXITMENULOOP, FALSE, 0);
    }
}

// Alt+letter (ch) or Alt and F10 alone (0): into the bar.
void KeyMenu(HWND h, wchar_t ch)
{
    HMENU menu = GetMenu(h);
    if (!menu || GetMenuItemCount(menu) <= 0 || tlBar || InMenuLoop()) return;
    if (ch == 0) {
        int first = Step(menu, -1, 1);
        if (first >= 0) TrackBar(h, first, false, true);
        return;
    }
    int k = AcceleratorItem(menu, ch);
    bool execute = true, close = false;
    if (k < 0 && !BarMenuChar(h, menu, ch, k, execute, close)) return;
    TrackBar(h, k, execute, true);
}

}  // namespace

bool InMenuBarLoop() { return tlBar != nullptr; }

void EndMenuBarLoop()
{
    if (!tlBar) return;
    tlBar->done = true;
    PostMessage(tlBar->wnd, WM_NULL, 0, 0);
}

BOOL SetMenu(HWND hwnd, HMENU menu)
{
    TWnd* w = WndOf(hwnd);
    if (!w || (w->style & WS_CHILD)) return FALSE;
    if (menu && !MenuRec(menu)) return FALSE;
    if (tlHot.wnd == hwnd) tlHot = {};
    w->menu = menu;
    w->menuLayoutValid = false;
    // The client area makes room for the bar (or takes its room back).
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if ((w = WndOf(hwnd)) && IsWindowVisible(hwnd)) RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
    return TRUE;
}

HMENU GetMenu(HWND hwnd)
{
    TWnd* w = WndOf(hwnd);
    if (!w || (w->style & WS_CHILD) || !MenuRec(w->menu)) return nullptr;
    return w->menu;
}

BOOL DrawMenuBar(HWND hwnd)
{
    TWnd* w = WndOf(hwnd);
    if (!w || !GetMenu(hwnd)) return FALSE;
    w->menuLayoutValid = false;
    int height = Layout(hwnd, w->rect.Width());
    if (!(w = WndOf(hwnd))) return FALSE;
    if (height != w->menuBarHeight)
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    else
        WmInvalidateFrame(hwnd);
    RedrawBar(hwnd);
    return TRUE;
}

bool MenuBarItemRect(HWND hwnd, HMENU menu, UINT item, TRect& rect)
{
    rect = TRect();
    if (!menu || GetMenu(hwnd) != menu) return false;
    std::vector<TRect> items = ScreenItems(hwnd);
    if (item >= items.size()) return false;
    rect = items[item];
    return true;
}

int WmMenuBarHeightFor(HWND hwnd, int windowWidth)
{
    TWnd* w = WndOf(hwnd);
    if (!w || !w->menu || (w->style & WS_CHILD)) return 0;
    if (!MenuRec(w->menu)) {
        w->menu = nullptr;
        return 0;
    }
    return Layout(hwnd, windowWidth);
}

void WmMenuBarWindowDestroyed(HWND hwnd)
{
    if (tlHot.wnd == hwnd) tlHot = {};
    TWnd* w = WndOf(hwnd);
    if (!w || !w->menu) return;
    HMENU menu = w->menu;
    w->menu = nullptr;
    if (MenuRec(menu)) DestroyMenu(menu);
}

bool WmMenuBarMessage(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    result = 0;
    switch (msg) {
    case WM_NCHITTEST: {
        if (!GetMenu(h)) return false;
        TWnd* w = WndOf(h);
        int left = 0, top = 0, right = 0;
        BarOrigin(w, w->rect.Width(), left, top, right);
        TPoint o = WindowRectScreen(h).TopLeft();
        TPoint p = LParamToPoint(lParam);
        TRect strip = Rect(o.X + left, o.Y + top, o.X + right, o.Y + top + w->menuBarHeight);
        if (!PtInRect(strip, p)) return false;
        result = HTMENU;
        return true;
    }
    case WM_NCPAINT: {
        HDC dc = GetWindowDC(h);
        if (!dc) return true;
        PaintBar(h, dc);
        ReleaseDC(h, dc);
        return true;
    }
    case WM_NCMOUSEMOVE:
        if (tlBar) return true;
        if (wParam == HTMENU) {
            SetHot(h, ItemAt(h, LParamToPoint(lParam)), false);
            TRACKMOUSEEVENT tme;
            tme.dwFlags = TME_LEAVE | TME_NONCLIENT;
            tme.hwndTrack = h;
            TrackMouseEvent(&tme);
        } else if (tlHot.wnd == h) {
            SetHot(nullptr, -1, false);
        }
        return true;
    case WM_NCMOUSELEAVE: case WM_MOUSEMOVE:
        if (!tlBar && tlHot.wnd == h) SetHot(nullptr, -1, false);
        return true;
    case WM_NCLBUTTONDOWN: case WM_NCLBUTTONDBLCLK: {
        if (!GetMenu(h)) return false;
        int k = ItemAt(h, LParamToPoint(lParam));
        if (k < 0) return true;
        TrackBar(h, k, false, false);
        return true;
    }
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) != SC_KEYMENU) return false;
        KeyMenu(h, wchar_t(lParam));
        return true;
    default: return false;
    }
}
