// The popup menu window class "#32768" and the modal menu loop behind
// TrackPopupMenu: one window per open menu level, keyboard navigation
// through the menu navigation model, mouse hover/click through the window
// that holds the capture, owner-drawn items measured and drawn by the owner.
#include <algorithm>

#include "platform/gfx/Colors.h"
#include "platform/ui/Forms.h"
#include "platform/ui/MenuModel.h"
#include "platform/ui/Menus.h"
#include "platform/ui/MenusInternal.h"
#include "platform/ui/Themes.h"
#include "platform/ui/WindowManager.h"

namespace {

const wchar_t kMenuClass[] = L"#32768";
const wchar_t kTrackProp[] = L"VelMenuTrack";
constexpr int kBorder = 3;      // frame around the items
constexpr int kGutter = 28;     // check mark / image column
constexpr int kArrowCol = 24;   // submenu arrow column
constexpr int kSeparatorH = 9;
constexpr int kMinWidth = 80;

struct TLevel {
    HMENU menu = nullptr;
    HWND wnd = nullptr;
    std::vector<TRect> rects;  // client coordinates
    int painted = -1;          // the hot item the window shows
};

struct TTrack {
    HWND owner = nullptr;
    UINT flags = 0;
    bool notify = true;
    TMenuNavItem root;
    TMenuNavModel model;
    std::vector<TLevel> levels;
    bool done = false;
    UINT cmd = 0;
    bool mouseUsed = false;
    TBarDropDown* bar = nullptr;  // a drop-down of a menu bar
};

thread_local std::vector<TTrack*> tlTracks;

// The caption part before the tab, and the shortcut text after it.
void SplitText(const String& s, String& text, String& shortcut)
{
    size_t tab = s.find(L'\t');
    text = tab == String::npos ? s : s.substr(0, tab);
    shortcut = tab == String::npos ? String() : s.substr(tab + 1);
}

void BuildNav(HMENU menu, TMenuNavItem& node, int depth = 0)
{
    node.Items.clear();
    TMenuRec* r = MenuRec(menu);
    if (!r || depth > 64) return;
    for (const auto& it : r->items) {
        TMenuNavItem n;
        String sc;
        SplitText(it.text, n.Caption, sc);
        n.Id = Integer(it.id);
        n.Separator = (it.type & MFT_SEPARATOR) != 0;
        n.Enabled = (it.state & MFS_GRAYED) == 0;
        if (it.sub) {
            BuildNav(it.sub, n, depth + 1);
            // An empty submenu has nothing to open and no command to give.
            if (n.Items.empty()) n.Enabled = false;
        }
        node.Items.push_back(std::move(n));
    }
}

HFONT MenuFont(bool bold)
{
    LOGFONTW lf = MenuLogFont();
    if (bold) lf.lfWeight = 700;
    return CreateFontIndirect(&lf);
}

TTrack* TrackOf(HWND wnd) { return static_cast<TTrack*>(GetProp(wnd, kTrackProp)); }

int LevelOf(TTrack* t, HWND wnd)
{
    for (size_t i = 0; i < t->levels.size(); ++i)
        if (t->levels[i].wnd == wnd) return int(i);
    return -1;
}

TRect MonitorAreaAt(TPoint p)
{
    MONITORINFO mi;
    if (GetMonitorInfo(MonitorFromPoint(p, MONITOR_DEFAULTTONEAREST), &mi)) return mi.rcMonitor;
    return Rect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

// Item sizes: owner-drawn items ask the owner, the others measure their text.
TSize MeasureLevel(TTrack& t, TLevel& lv)
{
    lv.rects.clear();
    TMenuRec* r = MenuRec(lv.menu);
    if (!r) return {kMinWidth + 2 * kBorder, 2 * kBorder};
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font = MenuFont(false);
    HFONT bold = MenuFont(true);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW tm{};
    GetTextMetrics(dc, &tm);
    int lineH = tm.tmHeight > 0 ? tm.tmHeight : 16;
    int defaultH = std::max(lineH + 8, 20);
    std::vector<TSize> sizes;
    int width = kMinWidth;
    for (const auto& it : r->items) {
        TSize s{0, defaultH};
        if (it.type & MFT_OWNERDRAW) {
            MEASUREITEMSTRUCT mis;
            mis.CtlType = ODT_MENU;
            mis.itemID = it.id;
            mis.itemHeight = UINT(defaultH);
            mis.itemData = it.data;
            if (t.owner) SendMessage(t.owner, WM_MEASUREITEM, 0, LPARAM(&mis));
            s = {int(mis.itemWidth), int(mis.itemHeight)};
        } else if (it.type & MFT_SEPARATOR) {
            s = {0, kSeparatorH};
        } else {
            String text, sc;
            SplitText(it.text, text, sc);
            SelectObject(dc, (it.state & MFS_DEFAULT) ? bold : font);
            TRect tr;
            DrawTextStr(dc, text, &tr, DT_CALCRECT | DT_SINGLELINE);
            int w = kGutter + tr.Width() + kArrowCol;
            if (!sc.empty()) {
                TRect sr;
                DrawTextStr(dc, sc, &sr, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
                w += 24 + sr.Width();
            }
            if ((it.type & MFT_BITMAP) || it.bitmap) {
                BITMAP bm{};
                if (it.bitmap && GetObject(it.bitmap, sizeof(bm), &bm)) {
                    w += std::max(0, int(bm.bmWidth) - kGutter + 4);
                    s.cy = std::max(s.cy, int(bm.bmHeight) + 4);
                }
            }
            s.cx = w;
        }
        width = std::max(width, s.cx);
        sizes.push_back(s);
    }
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteObject(bold);
    DeleteDC(dc);
    int y = kBorder;
    for (const TSize& s : sizes) {
        lv.rects.push_back(Rect(kBorder, y, kBorder + width, y + std::max(0, s.cy)));
        y += std::max(0, s.cy);
    }
    return {width + 2 * kBorder, y + kBorder};
}

void Invalidate(TLevel& lv, int item)
{
    if (item >= 0 && size_t(item) < lv.rects.size()) InvalidateRect(lv.wnd, &lv.rects[size_t(item)], FALSE);
}

void Cancel(TTrack& t)
{
    t.done = true;
    t.cmd = 0;
}

// The menu bar item under a screen point, -1 for none (or no bar).
int BarItemAt(const TTrack& t, TPoint screen)
{
    if (!t.bar) return -1;
    for (size_t i = 0; i < t.bar->Items.size(); ++i)
        if (PtInRect(t.bar->Items[i], screen)) return int(i);
    return -1;
}

// Ends a bar's drop-down for the bar to go on from.
void EndForBar(TTrack& t, TBarDropEnd end, int next = -1, bool byKey = false)
{
    Cancel(t);
    t.bar->End = end;
    t.bar->Next = next;
    t.bar->NextByKey = byKey;
}

// Opens the window of level k for its menu: the first at (x, y) by the
// alignment flags, a submenu beside its parent item.
void OpenLevel(TTrack& t, HMENU menu, TPoint at)
{
    TLevel lv;
    lv.menu = menu;
    TSize size = MeasureLevel(t, lv);
    int w = size.cx, h = size.cy;
    int x = at.X, y = at.Y;
    TRect mon = MonitorAreaAt(at);
    if (t.levels.empty() && t.bar) {
        // Below the bar item; above it when there is no room below.
        const TRect& item = t.bar->Items[size_t(t.bar->Item)];
        if (x + w > mon.Right) x = mon.Right - w;
        if (y + h > mon.Bottom) y = item.Top - h >= mon.Top ? item.Top - h : mon.Bottom - h;
    } else if (t.levels.empty()) {
        if (t.flags & TPM_RIGHTALIGN) x -= w;
        else if (t.flags & TPM_CENTERALIGN) x -= w / 2;
        if (t.flags & TPM_BOTTOMALIGN) y -= h;
        else if (t.flags & TPM_VCENTERALIGN) y -= h / 2;
        // Too near an edge: the menu opens to the other side of the point.
        if (x + w > mon.Right) x = at.X - w >= mon.Left ? at.X - w : mon.Right - w;
        if (y + h > mon.Bottom) y = at.Y - h >= mon.Top ? at.Y - h : mon.Bottom - h;
    } else {
        TLevel& parent = t.levels.back();
        int hot = t.model.Hot(int(t.levels.size()) - 1);
        TRect pw;
        GetWindowRect(parent.wnd, &pw);
        TPoint origin{0, 0};
        ClientToScreen(parent.wnd, &origin);
        TRect item = hot >= 0 && size_t(hot) < parent.rects.size() ? parent.rects[size_t(hot)] : TRect();
        x = pw.Right - kBorder;
        y = origin.Y + item.Top - kBorder;
        if (x + w > mon.Right) x = pw.Left - w + kBorder;
        if (y + h > mon.Bottom) y = mon.Bottom - h;
    }
    x = std::max(x, mon.Left);
    y = std::max(y, mon.Top);
    HWND owner = t.owner && IsWindow(t.owner) ? t.owner : nullptr;
    lv.wnd = CreateWindowEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kMenuClass, L"",
                            WS_POPUP | WS_CLIPSIBLINGS, x, y, w, h, owner);
    SetProp(lv.wnd, kTrackProp, &t);
    t.levels.push_back(lv);
    // The menu shows painted before the loop looks at any input.
    ShowWindow(lv.wnd, SW_SHOWNOACTIVATE);
    UpdateWindow(lv.wnd);
}

void CloseLevel(TTrack& t)
{
    TLevel lv = t.levels.back();
    t.levels.pop_back();
    if (IsWindow(lv.wnd)) {
        RemoveProp(lv.wnd, kTrackProp);
        DestroyWindow(lv.wnd);
    }
    if (t.notify && t.owner && IsWindow(t.owner))
        SendMessage(t.owner, WM_UNINITMENUPOPUP, WPARAM(lv.menu), 0);
}

void SendMenuSelect(TTrack& t, TLevel& lv, int hot)
{
    if (!t.notify || !t.owner || hot < 0) return;
    TMenuRec* r = MenuRec(lv.menu);
    if (!r || size_t(hot) >= r->items.size()) return;
    const auto& it = r->items[size_t(hot)];
    UINT f = MF_HILITE | (it.state & (MFS_GRAYED | MFS_CHECKED)) |
             (it.type & (MFT_OWNERDRAW | MFT_SEPARATOR | MFT_BITMAP));
    if (t.mouseUsed) f |= MF_MOUSESELECT;
    UINT id = it.id;
    if (it.sub) {
        f |= MF_POPUP;
        id = UINT(hot);
    }
    SendMessage(t.owner, WM_MENUSELECT, MAKEWPARAM(int(id), int(f)), LPARAM(lv.menu));
}

// Brings the windows in line with the navigation model: closes levels the
// model closed, opens the ones it opened (after WM_INITMENUPOPUP, which may
// change the submenu), and repaints the items whose highlight moved.
void Sync(TTrack& t)
{
    while (int(t.levels.size()) > t.model.Depth()) CloseLevel(t);
    while (!t.done && int(t.levels.size()) < t.model.Depth()) {
        size_t k = t.levels.size();
        int hot = t.model.Hot(int(k) - 1);
        TMenuRec* pr = MenuRec(t.levels[k - 1].menu);
        if (!pr || hot < 0 || size_t(hot) >= pr->items.size() || !pr->items[size_t(hot)].sub) {
            t.model.SetHot(int(k) - 1, hot);  // closes what cannot be shown
            break;
        }
        HMENU sub = pr->items[size_t(hot)].sub;
        if (t.notify && t.owner) SendMessage(t.owner, WM_INITMENUPOPUP, WPARAM(sub), MAKELPARAM(hot, FALSE));
        if (t.done || !MenuRec(sub)) break;
        auto* node = const_cast<TMenuNavItem*>(t.model.LevelMenu(int(k)));
        bool selectFirst = t.model.Hot(int(k)) >= 0;
        BuildNav(sub, *node);
        t.model.SetHot(int(k), -1);
        if (selectFirst) t.model.KeyDown(VK_HOME);
        OpenLevel(t, sub, {});
    }
    for (size_t k = 0; k < t.levels.size(); ++k) {
        TLevel& lv = t.levels[k];
        int hot = int(k) < t.model.Depth() ? t.model.Hot(int(k)) : -1;
        if (hot == lv.painted) continue;
        Invalidate(lv, lv.painted);
        Invalidate(lv, hot);
        lv.painted = hot;
        UpdateWindow(lv.wnd);
        if (k + 1 == t.levels.size()) SendMenuSelect(t, lv, hot);
    }
}

void Finish(TTrack& t, UINT id)
{
    t.done = true;
    t.cmd = id;
}

void Act(TTrack& t, TMenuNavAction a)
{
    switch (a) {
    case TMenuNavAction::Invoke: Finish(t, UINT(t.model.ChosenId())); break;
    case TMenuNavAction::CloseAll: Cancel(t); break;
    default: break;
    }
    if (!t.done) Sync(t);
}

// The level and item under a screen point (innermost window first).
bool HitTest(TTrack& t, TPoint screen, int& level, int& item)
{
    for (int k = int(t.levels.size()) - 1; k >= 0; --k) {
        TLevel& lv = t.levels[size_t(k)];
        TRect wr;
        if (!GetWindowRect(lv.wnd, &wr) || !PtInRect(wr, screen)) continue;
        TPoint c = screen;
        ScreenToClient(lv.wnd, &c);
        level = k;
        item = -1;
        for (size_t i = 0; i < lv.rects.size(); ++i)
            if (PtInRect(lv.rects[i], c)) item = int(i);
        return true;
    }
    return false;
}

bool ItemHasSubmenu(TTrack& t, int level, int item)
{
    if (level >= t.model.Depth()) return false;
    const TMenuNavItem* m = t.model.LevelMenu(level);
    return item >= 0 && size_t(item) < m->Items.size() && m->Items[size_t(item)].HasSubmenu() &&
           m->Items[size_t(item)].Selectable();
}

void MouseMoved(TTrack& t, TPoint screen)
{
    int level = 0, item = -1;
    if (!HitTest(t, screen, level, item)) {
        // Onto another item of the bar: its drop-down shows instead.
        int k = BarItemAt(t, screen);
        if (k >= 0 && k != t.bar->Item) EndForBar(t, TBarDropEnd::SwitchTo, k, false);
        return;
    }
    if (item < 0) return;
    if (t.model.Hot(level) == item && t.model.Depth() > level) {
        // Back on the item whose submenu is open: deeper levels stay.
        if (t.model.Depth() == level + 1 && ItemHasSubmenu(t, level, item)) t.model.OpenHot(false);
        Sync(t);
        return;
    }
    t.mouseUsed = true;
    t.model.SetHot(level, item);
    if (ItemHasSubmenu(t, level, item)) t.model.OpenHot(false);
    Sync(t);
}

void MouseDown(TTrack& t, TPoint screen)
{
    int level = 0, item = -1;
    if (!HitTest(t, screen, level, item)) {
        // A click on the bar: its open item closes the menus, another item
        // opens instead. A click anywhere else closes them; it is eaten.
        int k = BarItemAt(t, screen);
        if (k >= 0) EndForBar(t, k == t.bar->Item ? TBarDropEnd::BarClicked : TBarDropEnd::SwitchTo, k, false);
        else Cancel(t);
        return;
    }
    MouseMoved(t, screen);
}

void MouseUp(TTrack& t, TPoint screen)
{
    int level = 0, item = -1;
    if (!HitTest(t, screen, level, item) || item < 0) return;
    t.mouseUsed = true;
    const TMenuNavItem* m = t.model.LevelMenu(level);
    if (size_t(item) >= m->Items.size() || !m->Items[size_t(item)].Selectable()) return;
    if (m->Items[size_t(item)].HasSubmenu()) {
        if (t.model.Hot(level) != item || t.model.Depth() == level + 1) {
            t.model.SetHot(level, item);
            t.model.OpenHot(false);
            Sync(t);
        }
        return;
    }
    t.model.SetHot(level, item);
    Act(t, t.model.Choose(item));
}

void KeyDown(TTrack& t, MSG& msg)
{
    Word vk = Word(msg.wParam);
    switch (vk) {
    case VK_MENU: case VK_F10:
        if (vk == VK_MENU) ForgetAltTap();
        Cancel(t);
        return;
    case VK_UP: case VK_DOWN: case VK_LEFT: case VK_RIGHT: case VK_HOME: case VK_END:
    case VK_RETURN: case VK_ESCAPE: {
        if (t.bar && vk == VK_ESCAPE && t.model.Depth() == 1) {
            // The drop-down closes; its bar item stays selected.
            EndForBar(t, TBarDropEnd::Escaped);
            return;
        }
        TMenuNavAction a = t.model.KeyDown(vk);
        if (a == TMenuNavAction::BarNext || a == TMenuNavAction::BarPrev) {
            if (t.bar && !t.bar->Items.empty()) {
                int n = int(t.bar->Items.size());
                int next = (t.bar->Item + (a == TMenuNavAction::BarNext ? 1 : n - 1)) % n;
                EndForBar(t, TBarDropEnd::SwitchTo, next, true);
            }
            return;
        }
        Act(t, a);
        return;
    }
    default:
        TranslateMessage(&msg);
        return;
    }
}

// A letter that is no item's accelerator: the owner may say what it means
// (WM_MENUCHAR): nothing, close the menus, choose or select an item of the
// innermost menu.
void MenuChar(TTrack& t, wchar_t ch)
{
    if (!t.notify || !t.owner || !IsWindow(t.owner) || t.levels.empty()) {
        MessageBeep(0);
        return;
    }
    size_t depth = t.levels.size();
    HMENU menu = t.levels.back().menu;
    LRESULT r = SendMessage(t.owner, WM_MENUCHAR, MAKEWPARAM(int(ch), int(MF_POPUP)), LPARAM(menu));
    if (t.done || t.levels.size() != depth || int(depth) != t.model.Depth()) return;
    int item = int(LOWORD(uintptr_t(r)));
    const TMenuNavItem* m = t.model.LevelMenu(int(depth) - 1);
    bool valid = item >= 0 && size_t(item) < m->Items.size() && m->Items[size_t(item)].Selectable();
    switch (HIWORD(uintptr_t(r))) {
    case MNC_CLOSE: Cancel(t); return;
    case MNC_EXECUTE:
        if (!valid) break;
        Act(t, t.model.Choose(item));
        return;
    case MNC_SELECT:
        if (!valid) break;
        t.model.SetHot(int(depth) - 1, item);
        Sync(t);
        return;
    default: break;
    }
    MessageBeep(0);
}

void KeyChar(TTrack& t, wchar_t ch)
{
    if (ch < L' ') return;
    TMenuNavAction a = t.model.KeyChar(ch);
    if (a == TMenuNavAction::None) {
        MenuChar(t, ch);
        return;
    }
    Act(t, a);
}

void PaintLevel(TTrack& t, TLevel& lv, HDC dc, const TRect& clip)
{
    TRect client;
    GetClientRect(lv.wnd, &client);
    HTHEME theme = OpenThemeData(lv.wnd, L"menu");
    if (theme) {
        DrawThemeBackground(theme, dc, MENU_POPUPBACKGROUND, 0, &client, nullptr);
        DrawThemeBackground(theme, dc, MENU_POPUPBORDERS, 0, &client, nullptr);
        TRect gutter = Rect(kBorder, kBorder, kBorder + kGutter, client.Bottom - kBorder);
        DrawThemeBackground(theme, dc, MENU_POPUPGUTTER, 0, &gutter, nullptr);
        CloseThemeData(theme);
    } else {
        FillRect(dc, &client, GetSysColorBrush(COLOR_MENU));
        TRect edge = client;
        DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT);
    }
    TMenuRec* r = MenuRec(lv.menu);
    if (!r) return;
    HFONT font = MenuFont(false);
    size_t n = std::min(r->items.size(), lv.rects.size());
    int hot = lv.painted;
    for (size_t i = 0; i < n; ++i) {
        const TMenuItemRec& it = r->items[i];
        const TRect& ir = lv.rects[i];
        TRect probe;
        if (ir.Width() <= 0 || ir.Height() <= 0 || !IntersectRect(probe, ir, clip)) continue;
        bool isHot = int(i) == hot;
        if (it.type & MFT_OWNERDRAW) {
            DRAWITEMSTRUCT dis;
            dis.CtlType = ODT_MENU;
            dis.itemID = it.id;
            dis.itemAction = ODA_DRAWENTIRE;
            dis.itemState = (isHot ? UINT(ODS_SELECTED) : 0u) |
                            ((it.state & MFS_GRAYED) ? UINT(ODS_GRAYED | ODS_DISABLED) : 0u) |
                            ((it.state & MFS_CHECKED) ? UINT(ODS_CHECKED) : 0u) |
                            ((it.state & MFS_DEFAULT) ? UINT(ODS_DEFAULT) : 0u);
            dis.hwndItem = reinterpret_cast<HWND>(lv.menu);
            dis.hDC = dc;
            dis.rcItem = ir;
            dis.itemData = it.data;
            int saved = SaveDC(dc);
            SelectObject(dc, font);
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, GetSysColor(isHot ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
            if (t.owner && IsWindow(t.owner)) SendMessage(t.owner, WM_DRAWITEM, 0, LPARAM(&dis));
            RestoreDC(dc, saved);
            continue;
        }
        TMenuItemLook look;
        SplitText(it.text, look.Text, look.ShortCut);
        look.Separator = (it.type & MFT_SEPARATOR) != 0;
        look.Hot = isHot;
        look.Disabled = (it.state & MFS_GRAYED) != 0;
        look.Checked = (it.state & MFS_CHECKED) != 0;
        look.Radio = (it.type & MFT_RADIOCHECK) != 0;
        look.Default = (it.state & MFS_DEFAULT) != 0;
        look.SubMenu = it.sub != nullptr;
        DrawMenuItemLook(dc, ir, look, font);
    }
    DeleteObject(font);
}

LRESULT MenuWndProc(HWND h, UINT msg, WPARAM w, LPARAM l)
{
    TTrack* t = TrackOf(h);
    int level = t ? LevelOf(t, h) : -1;
    if (!t || level < 0) return DefWindowProc(h, msg, w, l);
    switch (msg) {
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        PaintLevel(*t, t->levels[size_t(level)], dc, ps.rcPaint);
        EndPaint(h, &ps);
        return 0;
    }
    case MN_GETHMENU: return LRESULT(t->levels[size_t(level)].menu);
    case WM_MOUSEMOVE: case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: {
        if (t->done) return 0;
        TPoint p = LParamToPoint(l);
        ClientToScreen(h, &p);
        if (msg == WM_MOUSEMOVE) MouseMoved(*t, p);
        else if (msg == WM_LBUTTONUP || (msg == WM_RBUTTONUP && (t->flags & TPM_RIGHTBUTTON))) MouseUp(*t, p);
        else if (msg != WM_RBUTTONUP) MouseDown(*t, p);
        return 0;
    }
    case WM_KEYDOWN: case WM_SYSKEYDOWN: {
        MSG m{h, msg, w, l, 0, {}};
        KeyDown(*t, m);
        return 0;
    }
    case WM_CHAR: case WM_SYSCHAR: KeyChar(*t, wchar_t(w)); return 0;
    case WM_CANCELMODE: Cancel(*t); return 0;
    case WM_CAPTURECHANGED: {
        // Capture taken by a window that is not a menu's: the menus close.
        HWND to = reinterpret_cast<HWND>(l);
        if (!t->done && level == 0 && (!to || !TrackOf(to))) Cancel(*t);
        return 0;
    }
    default: break;
    }
    return DefWindowProc(h, msg, w, l);
}

bool IsKeyMessage(UINT m)
{
    return m == WM_KEYDOWN || m == WM_KEYUP || m == WM_CHAR || m == WM_SYSKEYDOWN ||
           m == WM_SYSKEYUP || m == WM_SYSCHAR || m == WM_DEADCHAR || m == WM_SYSDEADCHAR;
}

void RunLoop(TTrack& t)
{
    while (!t.done) {
        MSG msg;
        if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (t.notify && t.owner && IsWindow(t.owner) && !t.levels.empty())
                SendMessage(t.owner, WM_ENTERIDLE, MSGF_MENU, LPARAM(t.levels[0].wnd));
            if (t.done) break;
            if (!PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE)) WaitMessage();
            continue;
        }
        if (msg.message == WM_QUIT) {
            PostQuitMessage(int(msg.wParam));
            Cancel(t);
            break;
        }
        if (IsKeyMessage(msg.message)) {
            // Keys belong to the menu while it is open, whichever window has
            // the focus.
            if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) KeyDown(t, msg);
            else if (msg.message == WM_CHAR || msg.message == WM_SYSCHAR) KeyChar(t, wchar_t(msg.wParam));
            continue;
        }
        DispatchMessage(&msg);
        if ((t.owner && !IsWindow(t.owner)) || t.levels.empty() || !IsWindow(t.levels[0].wnd)) Cancel(t);
    }
}

}  // namespace

LOGFONTW MenuLogFont()
{
    if (Screen) return Screen->MenuFontInfo();
    LOGFONTW lf{};
    lf.lfHeight = -12;
    lf.lfWeight = 400;
    const wchar_t face[] = L"Segoe UI";
    std::copy(std::begin(face), std::end(face), lf.lfFaceName);
    return lf;
}

void RegisterMenuClasses()
{
    WNDCLASS probe;
    if (GetClassInfo(nullptr, kMenuClass, &probe)) return;
    WNDCLASS wc;
    wc.style = CS_SAVEBITS | CS_DROPSHADOW | CS_DBLCLKS;
    wc.lpfnWndProc = &MenuWndProc;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kMenuClass;
    RegisterClass(wc);
}

bool InMenuLoop() { return !tlTracks.empty() || InMenuBarLoop(); }

void ForgetAltTap()
{
    WM().altAlone = false;
    MSG m;
    if (PeekMessage(&m, nullptr, WM_SYSKEYUP, WM_SYSKEYUP, PM_NOREMOVE) && (m.lParam & kAltTapKeyData))
        PeekMessage(&m, nullptr, WM_SYSKEYUP, WM_SYSKEYUP, PM_REMOVE);
}

void DrawMenuItemLook(HDC dc, const TRect& r, const TMenuItemLook& look, HFONT font)
{
    HTHEME theme = OpenThemeData(nullptr, L"menu");
    int saved = SaveDC(dc);
    if (look.Separator) {
        if (theme) {
            TRect s = Rect(r.Left + kGutter, r.Top, r.Right, r.Bottom);
            DrawThemeBackground(theme, dc, MENU_POPUPSEPARATOR, 0, &s, nullptr);
        } else {
            TRect s = Rect(r.Left + 1, (r.Top + r.Bottom) / 2 - 1, r.Right - 1, r.Bottom);
            DrawEdge(dc, &s, EDGE_ETCHED, BF_TOP);
        }
        if (theme) CloseThemeData(theme);
        RestoreDC(dc, saved);
        return;
    }
    if (look.Hot) {
        if (theme) {
            int part = look.MenuBar ? MENU_BARITEM : MENU_POPUPITEM;
            int state = look.MenuBar ? int(look.Pushed ? MBI_PUSHED : MBI_HOT)
                                     : (look.Disabled ? int(MPI_DISABLEDHOT) : int(MPI_HOT));
            DrawThemeBackground(theme, dc, part, state, &r, nullptr);
        } else {
            FillRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
        }
    }
    int textColor = look.Disabled ? int(COLOR_GRAYTEXT)
                                  : (look.Hot && !theme ? int(COLOR_HIGHLIGHTTEXT) : int(COLOR_MENUTEXT));
    COLORREF text = GetSysColor(textColor);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, text);
    HFONT bold = nullptr;
    if (look.Default) {
        LOGFONTW lf{};
        GetObject(font, sizeof(lf), &lf);
        lf.lfWeight = 700;
        bold = CreateFontIndirect(&lf);
    }
    SelectObject(dc, bold ? bold : font);
    if (look.MenuBar) {
        TRect tr = r;
        DrawTextStr(dc, look.Text, &tr, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    } else {
        if (look.Checked) {
            TRect box = Rect(r.Left + 4, r.Top + (r.Height() - 16) / 2, r.Left + 20, r.Top + (r.Height() - 16) / 2 + 16);
            if (theme) {
                DrawThemeBackground(theme, dc, MENU_POPUPCHECKBACKGROUND, look.Disabled ? MCB_DISABLED : MCB_NORMAL,
                                    &box, nullptr);
                int st = look.Radio ? (look.Disabled ? MC_BULLETDISABLED : MC_BULLETNORMAL)
                                    : (look.Disabled ? MC_CHECKMARKDISABLED : MC_CHECKMARKNORMAL);
                DrawThemeBackground(theme, dc, MENU_POPUPCHECK, st, &box, nullptr);
            } else {
                HPEN pen = CreatePen(PS_SOLID, 2, text);
                HBRUSH brush = CreateSolidBrush(text);
                HGDIOBJ op = SelectObject(dc, pen);
                HGDIOBJ ob = SelectObject(dc, brush);
                if (look.Radio) {
                    Ellipse(dc, box.Left + 5, box.Top + 5, box.Right - 5, box.Bottom - 5);
                } else {
                    MoveToEx(dc, box.Left + 3, box.Top + 8, nullptr);
                    LineTo(dc, box.Left + 6, box.Top + 11);
                    LineTo(dc, box.Left + 12, box.Top + 4);
                }
                SelectObject(dc, op);
                SelectObject(dc, ob);
                DeleteObject(pen);
                DeleteObject(brush);
            }
        }
        TRect tr = Rect(r.Left + kGutter, r.Top, r.Right - kArrowCol, r.Bottom);
        DrawTextStr(dc, look.Text, &tr, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
        if (!look.ShortCut.empty()) DrawTextStr(dc, look.ShortCut, &tr, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
        if (look.SubMenu) {
            TRect ar = Rect(r.Right - kArrowCol + 6, r.Top + (r.Height() - 10) / 2, r.Right - 6, r.Top + (r.Height() - 10) / 2 + 10);
            if (theme) {
                DrawThemeBackground(theme, dc, MENU_POPUPSUBMENU, look.Disabled ? MSM_DISABLED : MSM_NORMAL, &ar, nullptr);
            } else {
                HBRUSH brush = CreateSolidBrush(text);
                HPEN pen = CreatePen(PS_SOLID, 1, text);
                HGDIOBJ ob = SelectObject(dc, brush);
                HGDIOBJ op = SelectObject(dc, pen);
                POINT pts[3] = {{ar.Left + 4, ar.Top + 1}, {ar.Left + 8, ar.Top + 5}, {ar.Left + 4, ar.Top + 9}};
                Polygon(dc, pts, 3);
                SelectObject(dc, ob);
                SelectObject(dc, op);
                DeleteObject(brush);
                DeleteObject(pen);
            }
        }
    }
    RestoreDC(dc, saved);
    if (bold) DeleteObject(bold);
    if (theme) CloseThemeData(theme);
}

BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS*)
{
    if (!MenuRec(menu)) return FALSE;
    if (!tlTracks.empty() && !(flags & TPM_RECURSE)) return FALSE;
    if (owner && !IsWindow(owner)) return FALSE;
    RegisterMenuClasses();
    TTrack t;
    t.owner = owner;
    t.flags = flags;
    t.notify = !(flags & TPM_NONOTIFY);
    HWND oldCapture = GetCapture();
    if (t.notify && owner) {
        SendMessage(owner, WM_ENTERMENULOOP, TRUE, 0);
        SendMessage(owner, WM_INITMENUPOPUP, WPARAM(menu), MAKELPARAM(0, FALSE));
    }
    tlTracks.push_back(&t);
    if (MenuRec(menu) && GetMenuItemCount(menu) > 0) {
        BuildNav(menu, t.root);
        t.model.Open(&t.root, false);
        OpenLevel(t, menu, {x, y});
        SetCapture(t.levels[0].wnd);
        RunLoop(t);
    }
    while (!t.levels.empty()) CloseLevel(t);
    tlTracks.pop_back();
    if (GetCapture() == nullptr && oldCapture && IsWindow(oldCapture) && TrackOf(oldCapture))
        SetCapture(oldCapture);  // back to the outer menu of a recursive one
    if (t.notify && owner && IsWindow(owner)) {
        SendMessage(owner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
        SendMessage(owner, WM_EXITMENULOOP, TRUE, 0);
    }
    if (flags & TPM_RETURNCMD) return BOOL(t.cmd);
    if (t.cmd && t.notify && owner && IsWindow(owner)) PostMessage(owner, WM_COMMAND, MAKEWPARAM(int(t.cmd), 0), 0);
    return TRUE;
}

void TrackBarDropDown(HMENU menu, TBarDropDown& bar)
{
    bar.End = TBarDropEnd::Cancelled;
    bar.Next = -1;
    HWND owner = bar.Wnd;
    if (!MenuRec(menu) || !IsWindow(owner) || bar.Item < 0 || size_t(bar.Item) >= bar.Items.size()) return;
    RegisterMenuClasses();
    TTrack t;
    t.owner = owner;
    t.flags = TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON;
    t.bar = &bar;
    SendMessage(owner, WM_INITMENUPOPUP, WPARAM(menu), MAKELPARAM(bar.Item, FALSE));
    tlTracks.push_back(&t);
    if (MenuRec(menu) && GetMenuItemCount(menu) > 0 && IsWindow(owner)) {
        BuildNav(menu, t.root);
        t.model.Open(&t.root, bar.SelectFirst);
        const TRect& item = bar.Items[size_t(bar.Item)];
        OpenLevel(t, menu, {item.Left, item.Bottom});
        SetCapture(t.levels[0].wnd);
        Sync(t);
        RunLoop(t);
    }
    while (!t.levels.empty()) CloseLevel(t);
    tlTracks.pop_back();
    if (t.cmd) {
        bar.End = TBarDropEnd::Chosen;
        if (IsWindow(owner)) PostMessage(owner, WM_COMMAND, MAKEWPARAM(int(t.cmd), 0), 0);
    }
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const TRect*)
{
    return TrackPopupMenuEx(menu, flags, x, y, owner, nullptr);
}

BOOL EndMenu()
{
    bool bar = InMenuBarLoop();
    if (bar) EndMenuBarLoop();
    if (tlTracks.empty()) return bar ? TRUE : FALSE;
    for (TTrack* t : tlTracks) {
        Cancel(*t);
        if (!t->levels.empty()) PostMessage(t->levels[0].wnd, WM_NULL, 0, 0);
    }
    return TRUE;
}

BOOL GetMenuItemRect(HWND hwnd, HMENU menu, UINT item, TRect* rect)
{
    if (!rect) return FALSE;
    if (hwnd && menu && GetMenu(hwnd) == menu) return MenuBarItemRect(hwnd, menu, item, *rect) ? TRUE : FALSE;
    for (auto it = tlTracks.rbegin(); it != tlTracks.rend(); ++it)
        for (TLevel& lv : (*it)->levels) {
            if (lv.menu != menu || item >= lv.rects.size()) continue;
            TPoint origin{0, 0};
            ClientToScreen(lv.wnd, &origin);
            *rect = lv.rects[item];
            OffsetRect(*rect, origin.X, origin.Y);
            return TRUE;
        }
    *rect = TRect();
    return FALSE;
}

int MenuItemFromPoint(HWND hwnd, HMENU menu, TPoint screen)
{
    TMenuRec* r = MenuRec(menu);
    if (!r) return -1;
    for (UINT i = 0; i < r->items.size(); ++i) {
        TRect ir;
        if (GetMenuItemRect(hwnd, menu, i, &ir) && PtInRect(ir, screen)) return int(i);
    }
    return -1;
}

void MenuHandleDestroyed(HMENU menu)
{
    for (TTrack* t : tlTracks)
        for (TLevel& lv : t->levels)
            if (lv.menu == menu && !t->done) {
                Cancel(*t);
                PostMessage(lv.wnd, WM_NULL, 0, 0);
            }
}

void MenuContentChanged(HMENU menu)
{
    for (TTrack* t : tlTracks)
        for (TLevel& lv : t->levels)
            if (lv.menu == menu) InvalidateRect(lv.wnd, nullptr, FALSE);
}
