// The "SysListView32" window class in report view: columns shown by a
// header child, rows of items with sub-items, single or extended
// selection with the mouse and the keyboard, and scrolling by rows.
#include <algorithm>

#include "platform/ui/ComCtrls.h"
#include "platform/ui/ComCtrlsInternal.h"
#include "platform/ui/ListSelectionModel.h"
#include "platform/ui/Themes.h"

namespace {

const wchar_t* const kListViewProp = L"VelListViewState";
constexpr UINT kSelFocus = LVIS_SELECTED | LVIS_FOCUSED;

struct TLvItem {
    std::vector<String> Texts;   // by sub-item
    UINT State = 0;
    LPARAM Param = 0;
    int Image = -1;
    const String& Text(int sub) const
    {
        static const String empty;
        return sub >= 0 && sub < int(Texts.size()) ? Texts[size_t(sub)] : empty;
    }
};

struct TLvColumn {
    String Text;
    int Width = 50;
    int Fmt = LVCFMT_LEFT;
    int SubItem = 0;
};

struct TLvState {
    HWND Header = nullptr;
    std::vector<TLvColumn> Cols;
    std::vector<TLvItem> Items;
    DWORD Ex = 0;
    HFONT Font = nullptr;
    int Top = 0;             // first visible row
    int HScroll = 0;         // pixels scrolled to the right
    int Mark = -1;           // selection mark
    int RowH = 16, HdrH = 0;
    int WheelRest = 0;
    bool Focused = false;
    bool InScrollUpdate = false;
    bool LeftDown = false, RightDown = false;
    COLORREF Bk = CLR_DEFAULT, TextColor = CLR_DEFAULT, TextBk = CLR_DEFAULT;
    TListSelectionModel Sel;
};

TLvState* StateOf(HWND h) { return static_cast<TLvState*>(GetProp(h, kListViewProp)); }
DWORD StyleOf(HWND h) { return DWORD(GetWindowLong(h, GWL_STYLE)); }
bool SingleSel(HWND h) { return (StyleOf(h) & LVS_SINGLESEL) != 0; }
int Count(const TLvState& s) { return int(s.Items.size()); }
bool Valid(const TLvState& s, int i) { return i >= 0 && i < Count(s); }

TRect Client(HWND h)
{
    TRect r;
    GetClientRect(h, &r);
    return r;
}

int TotalWidth(const TLvState& s)
{
    int w = 0;
    for (auto& c : s.Cols) w += c.Width;
    return w;
}

int ColumnLeft(const TLvState& s, int col)
{
    int x = -s.HScroll;
    for (int k = 0; k < col; ++k) x += s.Cols[size_t(k)].Width;
    return x;
}

// Whole rows that fit below the header.
int PerPage(HWND h, const TLvState& s)
{
    return std::max(0, (Client(h).Height() - s.HdrH) / std::max(s.RowH, 1));
}

int RowTop(const TLvState& s, int i) { return s.HdrH + (i - s.Top) * s.RowH; }

int FocusedItem(const TLvState& s)
{
    for (int i = 0; i < Count(s); ++i)
        if (s.Items[size_t(i)].State & LVIS_FOCUSED) return i;
    return -1;
}

void InvalidateItem(HWND h, const TLvState& s, int i)
{
    TRect c = Client(h);
    TRect r{c.Left, RowTop(s, i), c.Right, RowTop(s, i) + s.RowH};
    InvalidateRect(h, &r, TRUE);
}

void UpdateScrollBars(HWND h, TLvState& s)
{
    if (s.InScrollUpdate) return;
    s.InScrollUpdate = true;
    // Showing one bar narrows the room for the other: settle in a few rounds.
    for (int round = 0; round < 3; ++round) {
        int page = std::max(PerPage(h, s), 1);
        int n = Count(s);
        s.Top = std::clamp(s.Top, 0, std::max(0, n - page));
        TRect c = Client(h);
        int total = TotalWidth(s);
        s.HScroll = std::clamp(s.HScroll, 0, std::max(0, total - c.Width()));
        bool noScroll = (StyleOf(h) & LVS_NOSCROLL) != 0;
        bool needV = !noScroll && n > PerPage(h, s);
        bool needH = !noScroll && total > c.Width();
        SCROLLINFO si;
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        si.nMin = 0;
        si.nMax = std::max(0, n - 1);
        si.nPage = UINT(page);
        si.nPos = s.Top;
        SetScrollInfo(h, SB_VERT, &si, TRUE);
        si.nMax = std::max(0, total - 1);
        si.nPage = UINT(std::max(c.Width(), 0));
        si.nPos = s.HScroll;
        SetScrollInfo(h, SB_HORZ, &si, TRUE);
        bool hasV = (StyleOf(h) & WS_VSCROLL) != 0, hasH = (StyleOf(h) & WS_HSCROLL) != 0;
        if (hasV == needV && hasH == needH) break;
        if (hasV != needV) ShowScrollBar(h, SB_VERT, needV);
        if (hasH != needH) ShowScrollBar(h, SB_HORZ, needH);
        if (!StateOf(h)) return;
    }
    s.InScrollUpdate = false;
}

void Layout(HWND h, TLvState& s)
{
    s.RowH = LineHeightOf(h, s.Font) + 4;
    bool report = (StyleOf(h) & LVS_TYPEMASK) == LVS_REPORT;
    bool showHeader = report && !(StyleOf(h) & LVS_NOCOLUMNHEADER);
    if (s.Header) {
        TRect c = Client(h);
        TRect room{c.Left - s.HScroll, c.Top, c.Right, c.Bottom};
        WINDOWPOS wp;
        HDLAYOUT lay{&room, &wp};
        SendMessage(s.Header, HDM_LAYOUT, 0, LPARAM(&lay));
        s.HdrH = showHeader ? wp.cy : 0;
        SetWindowPos(s.Header, nullptr, wp.x, wp.y, std::max(wp.cx, TotalWidth(s) + c.Width()), wp.cy,
                     SWP_NOZORDER | SWP_NOACTIVATE | (showHeader ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    }
    UpdateScrollBars(h, s);
    InvalidateRect(h, nullptr, TRUE);
}

void SetTop(HWND h, TLvState& s, int top)
{
    int page = std::max(PerPage(h, s), 1);
    top = std::clamp(top, 0, std::max(0, Count(s) - page));
    if (top == s.Top) return;
    s.Top = top;
    UpdateScrollBars(h, s);
    InvalidateRect(h, nullptr, TRUE);
}

void SetHScroll(HWND h, TLvState& s, int x)
{
    x = std::clamp(x, 0, std::max(0, TotalWidth(s) - Client(h).Width()));
    if (x == s.HScroll) return;
    s.HScroll = x;
    Layout(h, s);
}

void EnsureVisible(HWND h, TLvState& s, int i, bool partialOK)
{
    if (!Valid(s, i)) return;
    int page = PerPage(h, s);
    if (partialOK && i >= s.Top && RowTop(s, i) < Client(h).Bottom) return;
    if (i < s.Top) SetTop(h, s, i);
    else if (i >= s.Top + std::max(page, 1)) SetTop(h, s, i - std::max(page, 1) + 1);
}

LRESULT NotifyLv(HWND h, int code, int item, int sub = 0, UINT oldState = 0, UINT newState = 0,
                 UINT changed = 0, LPARAM param = 0, TPoint pt = {})
{
    NMLISTVIEW nm;
    nm.iItem = item;
    nm.iSubItem = sub;
    nm.uOldState = oldState;
    nm.uNewState = newState;
    nm.uChanged = changed;
    nm.lParam = param;
    nm.ptAction = pt;
    return SendNotify(h, nm.hdr, code);
}

// Changes item i's state to `state` with LVN_ITEMCHANGING (which may refuse;
// not sent again when the parent was asked already) and LVN_ITEMCHANGED.
// Answers false when refused or the item went away.
bool ChangeState(HWND h, int i, UINT state, bool asked = false)
{
    TLvState* s = StateOf(h);
    if (!s || !Valid(*s, i)) return false;
    UINT old = s->Items[size_t(i)].State;
    if (old == state) return true;
    LPARAM param = s->Items[size_t(i)].Param;
    if (!asked) {
        if (NotifyLv(h, LVN_ITEMCHANGING, i, 0, old, state, LVIF_STATE, param) != 0) return false;
        s = StateOf(h);
        if (!s || !Valid(*s, i) || s->Items[size_t(i)].State != old) return false;
    }
    s->Items[size_t(i)].State = state;
    if ((state ^ old) & LVIS_SELECTED && (state & LVIS_SELECTED)) s->Mark = i;
    InvalidateItem(h, *s, i);
    NotifyLv(h, LVN_ITEMCHANGED, i, 0, old, state, LVIF_STATE, param);
    return true;
}

// Brings every item to its wanted state, the item `last` after the others
// (the others lose their selection before the new one gains it). The parent
// is asked about `last` first: refusing it leaves every item as it was.
void ApplyStates(HWND h, const std::vector<UINT>& want, int last)
{
    TLvState* s = StateOf(h);
    int n = int(want.size());
    bool lastChanges = s && last >= 0 && last < n && Count(*s) == n && s->Items[size_t(last)].State != want[size_t(last)];
    if (lastChanges) {
        UINT old = s->Items[size_t(last)].State;
        if (NotifyLv(h, LVN_ITEMCHANGING, last, 0, old, want[size_t(last)], LVIF_STATE, s->Items[size_t(last)].Param) != 0)
            return;
        s = StateOf(h);
        if (!s || Count(*s) != n || s->Items[size_t(last)].State != old) return;
    }
    for (int i = 0; i < n; ++i) {
        if (i == last) continue;
        s = StateOf(h);
        if (!s || Count(*s) != n) return;
        if (s->Items[size_t(i)].State != want[size_t(i)]) ChangeState(h, i, want[size_t(i)]);
    }
    s = StateOf(h);
    if (lastChanges && s && Count(*s) == n) ChangeState(h, last, want[size_t(last)], true);
}

// Item i's state bits under mask set to state, keeping one focused item
// and, with single selection, one selected item. i = -1: every item.
bool SetItemState(HWND h, TLvState& s, int i, UINT state, UINT mask)
{
    if (i != -1 && !Valid(s, i)) return false;
    std::vector<UINT> want;
    for (auto& it : s.Items) want.push_back(it.State);
    if (i == -1) {
        // The focus can't be given to every item at once.
        UINT m = (state & LVIS_FOCUSED) ? (mask & ~UINT(LVIS_FOCUSED)) : mask;
        if (SingleSel(h) && (state & LVIS_SELECTED)) m &= ~UINT(LVIS_SELECTED);
        for (auto& w : want) w = (w & ~m) | (state & m);
    } else {
        want[size_t(i)] = (want[size_t(i)] & ~mask) | (state & mask);
        for (int k = 0; k < Count(s); ++k) {
            if (k == i) continue;
            if ((mask & state & LVIS_FOCUSED)) want[size_t(k)] &= ~UINT(LVIS_FOCUSED);
            if ((mask & state & LVIS_SELECTED) && SingleSel(h)) want[size_t(k)] &= ~UINT(LVIS_SELECTED);
        }
    }
    ApplyStates(h, want, i);
    TLvState* now = StateOf(h);
    return now && (i == -1 || (Valid(*now, i) && ((now->Items[size_t(i)].State ^ state) & mask) == 0));
}

// The selection model brought in line with the items before a key or click.
void SyncModel(HWND h, TLvState& s)
{
    TListSelectMode mode = SingleSel(h) ? TListSelectMode::Single : TListSelectMode::Extended;
    if (s.Sel.Mode() != mode) s.Sel.SetMode(mode);
    if (s.Sel.Count() != Count(s)) s.Sel.SetCount(Count(s));
    int focus = FocusedItem(s);
    if (s.Sel.ItemIndex() != focus) s.Sel.SetItemIndex(focus);
    if (mode != TListSelectMode::Single)
        for (int i = 0; i < Count(s); ++i) s.Sel.SetSelected(i, (s.Items[size_t(i)].State & LVIS_SELECTED) != 0);
    s.Sel.SetPageSize(std::max(PerPage(h, s), 1));
    s.Sel.SetTopIndex(s.Top);
}

// The items take the model's selection and focus; the focused one shows.
void ApplyModel(HWND h, TLvState& s)
{
    std::vector<UINT> want;
    int focus = s.Sel.ItemIndex();
    for (int i = 0; i < Count(s); ++i) {
        UINT st = s.Items[size_t(i)].State & ~kSelFocus;
        if (s.Sel.Selected(i)) st |= LVIS_SELECTED;
        if (i == focus) st |= LVIS_FOCUSED;
        want.push_back(st);
    }
    ApplyStates(h, want, focus);
    if (TLvState* now = StateOf(h)) EnsureVisible(h, *now, now->Sel.ItemIndex(), false);
}

// Hit testing: the item and column under a client point.
int HitTest(HWND h, TLvState& s, TPoint p, UINT& flags, int& sub, bool subItems)
{
    TRect c = Client(h);
    flags = 0;
    sub = 0;
    if (p.X < c.Left) flags |= LVHT_TOLEFT;
    else if (p.X >= c.Right) flags |= LVHT_TORIGHT;
    if (p.Y < s.HdrH) flags |= LVHT_ABOVE;
    else if (p.Y >= c.Bottom) flags |= LVHT_BELOW;
    if (flags) return -1;
    int row = s.Top + (p.Y - s.HdrH) / std::max(s.RowH, 1);
    int col = -1;
    for (int k = 0, x = -s.HScroll; k < int(s.Cols.size()); ++k) {
        int w = s.Cols[size_t(k)].Width;
        if (p.X >= x && p.X < x + w) {
            col = k;
            break;
        }
        x += w;
    }
    if (!Valid(s, row) || col < 0) {
        flags = LVHT_NOWHERE;
        return -1;
    }
    sub = col;
    if (col == 0 || subItems || (s.Ex & LVS_EX_FULLROWSELECT)) {
        flags = LVHT_ONITEMLABEL;
        return row;
    }
    flags = LVHT_NOWHERE;
    return -1;
}

TRect SubItemRect(HWND h, const TLvState& s, int i, int col, int code)
{
    TRect c = Client(h);
    int top = RowTop(s, i);
    if (col < 0 || col >= int(s.Cols.size())) {
        int right = std::max(TotalWidth(s) - s.HScroll, c.Left - s.HScroll);
        TRect bounds{-s.HScroll, top, right, top + s.RowH};
        return bounds;
    }
    int left = ColumnLeft(s, col);
    TRect r{left, top, left + s.Cols[size_t(col)].Width, top + s.RowH};
    if (code == LVIR_ICON) r.Right = r.Left;
    return r;
}

TRect ItemRect(HWND h, const TLvState& s, int i, int code)
{
    switch (code) {
    case LVIR_ICON: return SubItemRect(h, s, i, 0, LVIR_ICON);
    case LVIR_LABEL: return SubItemRect(h, s, i, s.Cols.empty() ? -1 : 0, LVIR_LABEL);
    case LVIR_SELECTBOUNDS:
        if (!(s.Ex & LVS_EX_FULLROWSELECT) && !s.Cols.empty()) return SubItemRect(h, s, i, 0, LVIR_LABEL);
        [[fallthrough]];
    default: {
        TRect r = SubItemRect(h, s, i, -1, LVIR_BOUNDS);
        return r;
    }
    }
}

int AutoWidth(HWND h, const TLvState& s, int col, bool useHeader)
{
    if (col < 0 || col >= int(s.Cols.size())) return 0;
    int w = 0;
    int sub = s.Cols[size_t(col)].SubItem;
    for (auto& it : s.Items) w = std::max(w, TextWidthOf(h, s.Font, it.Text(sub)));
    w += 12;
    if (useHeader) {
        w = std::max(w, TextWidthOf(h, s.Font, s.Cols[size_t(col)].Text) + 12);
        // The last column fills the rest of the window.
        if (col == int(s.Cols.size()) - 1) {
            int left = ColumnLeft(s, col) + s.HScroll;
            w = std::max(w, Client(h).Width() - left);
        }
    }
    return w;
}

void SyncHeaderItem(TLvState& s, int col, UINT mask)
{
    if (!s.Header || col < 0 || col >= int(s.Cols.size())) return;
    const TLvColumn& c = s.Cols[size_t(col)];
    HDITEM hi;
    hi.mask = mask;
    hi.cxy = c.Width;
    hi.pszText = const_cast<wchar_t*>(c.Text.c_str());
    hi.fmt = HDF_STRING | (c.Fmt & LVCFMT_JUSTIFYMASK);
    SendMessage(s.Header, HDM_SETITEMW, WPARAM(col), LPARAM(&hi));
}

void SetColumnWidth(HWND h, TLvState& s, int col, int width)
{
    if (col < 0 || col >= int(s.Cols.size())) return;
    if (width == LVSCW_AUTOSIZE) width = AutoWidth(h, s, col, false);
    else if (width == LVSCW_AUTOSIZE_USEHEADER) width = AutoWidth(h, s, col, true);
    s.Cols[size_t(col)].Width = std::max(0, width);
    SyncHeaderItem(s, col, HDI_WIDTH);
    if (TLvState* now = StateOf(h)) Layout(h, *now);
}

// ---------------------------------------------------------------------------
// Painting

COLORREF ColorOr(COLORREF c, int sys) { return (c == CLR_DEFAULT || c == CLR_NONE) ? GetSysColor(sys) : c; }

// Paints into the DC given (WM_PRINTCLIENT, or a control wrapper that
// began the paint) or the window's own.
void Paint(HWND h, TLvState& s, HDC given = nullptr)
{
    PAINTSTRUCT ps;
    HDC dc = given ? given : BeginPaint(h, &ps);
    if (!dc) return;
    TRect c = Client(h);
    COLORREF bk = ColorOr(s.Bk, COLOR_WINDOW);
    bool enabled = IsWindowEnabled(h) != 0;
    HBRUSH bkBrush = CreateSolidBrush(bk);
    TRect area{c.Left, s.HdrH, c.Right, c.Bottom};
    FillRect(dc, &area, bkBrush);
    DeleteObject(bkBrush);
    int saved = SaveDC(dc);
    HGDIOBJ oldFont = SelectObject(dc, s.Font ? HGDIOBJ(s.Font) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    IntersectClipRect(dc, area.Left, area.Top, area.Right, area.Bottom);
    bool showSel = s.Focused || (StyleOf(h) & LVS_SHOWSELALWAYS);
    bool fullRow = (s.Ex & LVS_EX_FULLROWSELECT) != 0;
    int total = TotalWidth(s);
    int page = PerPage(h, s) + 1;
    for (int i = s.Top; i < Count(s) && i < s.Top + page; ++i) {
        const TLvItem& it = s.Items[size_t(i)];
        bool sel = (it.State & LVIS_SELECTED) && showSel;
        TRect selRect = ItemRect(h, s, i, LVIR_SELECTBOUNDS);
        if (!fullRow && !s.Cols.empty()) {
            // Only the label's text shows selected, not the whole cell.
            int tw = TextWidthOf(h, s.Font, it.Text(s.Cols[0].SubItem)) + 8;
            selRect.Right = std::min(selRect.Right, selRect.Left + tw);
        }
        if (sel) {
            HBRUSH b = GetSysColorBrush(s.Focused ? COLOR_HIGHLIGHT : COLOR_BTNFACE);
            FillRect(dc, &selRect, b);
        }
        for (int k = 0; k < int(s.Cols.size()); ++k) {
            const TLvColumn& col = s.Cols[size_t(k)];
            TRect cell = SubItemRect(h, s, i, k, LVIR_LABEL);
            if (cell.Right <= c.Left || cell.Left >= c.Right) continue;
            bool selText = sel && s.Focused && (fullRow || k == 0);
            SetTextColor(dc, !enabled ? GetSysColor(COLOR_GRAYTEXT)
                             : selText ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                       : ColorOr(s.TextColor, COLOR_WINDOWTEXT));
            TRect tr{cell.Left + (k == 0 ? 4 : 6), cell.Top, cell.Right - 6, cell.Bottom};
            UINT align = (col.Fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_RIGHT ? DT_RIGHT
                         : (col.Fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_CENTER ? DT_CENTER : DT_LEFT;
            DrawTextStr(dc, it.Text(col.SubItem), &tr,
                        align | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
        }
        if (s.Focused && (it.State & LVIS_FOCUSED)) {
            TRect f = selRect;
            if (f.Right > f.Left) DrawFocusRect(dc, &f);
        }
    }
    if (s.Ex & LVS_EX_GRIDLINES) {
        HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DLIGHT) == bk ? GetSysColor(COLOR_BTNSHADOW)
                                                                           : GetSysColor(COLOR_3DLIGHT));
        HGDIOBJ oldPen = SelectObject(dc, pen);
        int right = std::min<int>(c.Right, total - s.HScroll);
        for (int y = s.HdrH + s.RowH - 1; y < c.Bottom; y += s.RowH) {
            MoveToEx(dc, c.Left, y, nullptr);
            LineTo(dc, right, y);
        }
        for (int k = 0; k < int(s.Cols.size()); ++k) {
            int x = ColumnLeft(s, k + 1) - 1;
            MoveToEx(dc, x, s.HdrH, nullptr);
            LineTo(dc, x, c.Bottom);
        }
        SelectObject(dc, oldPen);
        DeleteObject(pen);
    }
    SelectObject(dc, oldFont);
    RestoreDC(dc, saved);
    if (!given) EndPaint(h, &ps);
}

// ---------------------------------------------------------------------------
// Input

void NotifyActivate(HWND h, int code, int item, int sub, TPoint pt)
{
    NMITEMACTIVATE nm;
    nm.iItem = item;
    nm.iSubItem = sub;
    nm.ptAction = pt;
    if (TLvState* s = StateOf(h); s && Valid(*s, item)) nm.lParam = s->Items[size_t(item)].Param;
    if (GetKeyState(VK_SHIFT) < 0) nm.uKeyFlags |= 0x4;   // LVKF_SHIFT
    if (GetKeyState(VK_CONTROL) < 0) nm.uKeyFlags |= 0x2;   // LVKF_CONTROL
    SendNotify(h, nm.hdr, code);
}

void MouseSelect(HWND h, TLvState& s, TPoint p, bool right)
{
    UINT flags;
    int sub;
    int i = HitTest(h, s, p, flags, sub, false);
    bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
    SyncModel(h, s);
    if (i < 0) {
        // A click on no item clears the selection, keeping the focus.
        if (ctrl || shift) return;
        s.Sel.ClearSelection();
        std::vector<UINT> want;
        for (auto& it : s.Items) want.push_back(it.State & ~UINT(LVIS_SELECTED));
        ApplyStates(h, want, -1);
        return;
    }
    if (right && (s.Items[size_t(i)].State & LVIS_SELECTED)) {
        SetItemState(h, s, i, LVIS_FOCUSED, LVIS_FOCUSED);
        return;
    }
    s.Sel.Click(i, shift && !right, ctrl && !right);
    ApplyModel(h, s);
}

void KeyDown(HWND h, TLvState& s, Word vk)
{
    NMLVKEYDOWN kd;
    kd.wVKey = vk;
    SendNotify(h, kd.hdr, LVN_KEYDOWN);
    TLvState* now = StateOf(h);
    if (!now) return;
    bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
    switch (vk) {
    case VK_UP: case VK_DOWN: case VK_HOME: case VK_END: case VK_PRIOR: case VK_NEXT: case VK_SPACE:
        if (Count(*now) == 0) return;
        SyncModel(h, *now);
        if (now->Sel.KeyDown(vk, shift, ctrl)) ApplyModel(h, *now);
        return;
    case VK_LEFT: SetHScroll(h, *now, now->HScroll - 10); return;
    case VK_RIGHT: SetHScroll(h, *now, now->HScroll + 10); return;
    case VK_RETURN: {
        int f = FocusedItem(*now);
        if (f >= 0) NotifyActivate(h, LVN_ITEMACTIVATE, f, 0, {});
        if (StateOf(h)) {
            NMHDR hdr;
            SendNotify(h, hdr, NM_RETURN);
        }
        return;
    }
    default: return;
    }
}

void VScroll(HWND h, TLvState& s, int code)
{
    int page = std::max(PerPage(h, s), 1);
    switch (code) {
    case SB_LINEUP: SetTop(h, s, s.Top - 1); break;
    case SB_LINEDOWN: SetTop(h, s, s.Top + 1); break;
    case SB_PAGEUP: SetTop(h, s, s.Top - page); break;
    case SB_PAGEDOWN: SetTop(h, s, s.Top + page); break;
    case SB_TOP: SetTop(h, s, 0); break;
    case SB_BOTTOM: SetTop(h, s, Count(s)); break;
    case SB_THUMBTRACK: case SB_THUMBPOSITION: {
        SCROLLINFO si;
        si.fMask = SIF_TRACKPOS | SIF_POS;
        GetScrollInfo(h, SB_VERT, &si);
        SetTop(h, s, code == SB_THUMBTRACK ? si.nTrackPos : si.nPos);
        break;
    }
    default: break;
    }
}

void HScroll(HWND h, TLvState& s, int code)
{
    int page = std::max(Client(h).Width(), 1);
    switch (code) {
    case SB_LINELEFT: SetHScroll(h, s, s.HScroll - 10); break;
    case SB_LINERIGHT: SetHScroll(h, s, s.HScroll + 10); break;
    case SB_PAGELEFT: SetHScroll(h, s, s.HScroll - page); break;
    case SB_PAGERIGHT: SetHScroll(h, s, s.HScroll + page); break;
    case SB_LEFT: SetHScroll(h, s, 0); break;
    case SB_RIGHT: SetHScroll(h, s, TotalWidth(s)); break;
    case SB_THUMBTRACK: case SB_THUMBPOSITION: {
        SCROLLINFO si;
        si.fMask = SIF_TRACKPOS | SIF_POS;
        GetScrollInfo(h, SB_HORZ, &si);
        SetHScroll(h, s, code == SB_THUMBTRACK ? si.nTrackPos : si.nPos);
        break;
    }
    default: break;
    }
}

// ---------------------------------------------------------------------------
// Items and columns

int InsertItem(HWND h, TLvState& s, const LVITEM& in)
{
    if (in.iSubItem != 0) return -1;
    int i = std::clamp(in.iItem, 0, Count(s));
    TLvItem item;
    if ((in.mask & LVIF_TEXT) && in.pszText) item.Texts.push_back(in.pszText);
    if (in.mask & LVIF_PARAM) item.Param = in.lParam;
    if (in.mask & LVIF_IMAGE) item.Image = in.iImage;
    s.Items.insert(s.Items.begin() + i, std::move(item));
    if (s.Sel.Count() == Count(s) - 1) s.Sel.Insert(i);
    if (s.Mark >= i) ++s.Mark;
    UpdateScrollBars(h, s);
    InvalidateRect(h, nullptr, TRUE);
    NotifyLv(h, LVN_INSERTITEM, i, 0, 0, 0, 0, s.Items[size_t(i)].Param);
    TLvState* now = StateOf(h);
    if (now && (in.mask & LVIF_STATE) && (in.state & in.stateMask) && Valid(*now, i))
        SetItemState(h, *now, i, in.state, in.stateMask);
    return i;
}

bool SetItem(HWND h, TLvState& s, const LVITEM& in)
{
    int i = in.iItem;
    if (!Valid(s, i) || in.iSubItem < 0) return false;
    UINT changed = in.mask & (LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM);
    if (in.iSubItem > 0) changed &= LVIF_TEXT;
    TLvItem& it = s.Items[size_t(i)];
    String text = in.pszText ? String(in.pszText) : String();
    if ((changed & LVIF_TEXT) && it.Text(in.iSubItem) == text) changed &= ~UINT(LVIF_TEXT);
    if ((changed & LVIF_IMAGE) && it.Image == in.iImage) changed &= ~UINT(LVIF_IMAGE);
    if ((changed & LVIF_PARAM) && it.Param == in.lParam) changed &= ~UINT(LVIF_PARAM);
    if (changed) {
        LPARAM param = it.Param;
        if (NotifyLv(h, LVN_ITEMCHANGING, i, in.iSubItem, it.State, it.State, changed, param) != 0) return false;
        TLvState* now = StateOf(h);
        if (!now || !Valid(*now, i)) return false;
        TLvItem& item = now->Items[size_t(i)];
        if (changed & LVIF_TEXT) {
            if (int(item.Texts.size()) <= in.iSubItem) item.Texts.resize(size_t(in.iSubItem) + 1);
            item.Texts[size_t(in.iSubItem)] = text;
        }
        if (changed & LVIF_IMAGE) item.Image = in.iImage;
        if (changed & LVIF_PARAM) item.Param = in.lParam;
        InvalidateItem(h, *now, i);
        NotifyLv(h, LVN_ITEMCHANGED, i, in.iSubItem, item.State, item.State, changed, item.Param);
    }
    TLvState* now = StateOf(h);
    if (!now) return false;
    if ((in.mask & LVIF_STATE) && in.iSubItem == 0) return SetItemState(h, *now, i, in.state, in.stateMask);
    return true;
}

bool GetItem(const TLvState& s, LVITEM& out)
{
    if (!Valid(s, out.iItem)) return false;
    const TLvItem& it = s.Items[size_t(out.iItem)];
    if (out.mask & LVIF_TEXT) CopyToBuffer(it.Text(out.iSubItem), out.pszText, out.cchTextMax);
    if (out.mask & LVIF_STATE) out.state = it.State & out.stateMask;
    if (out.mask & LVIF_PARAM) out.lParam = it.Param;
    if (out.mask & LVIF_IMAGE) out.iImage = it.Image;
    return true;
}

void DeleteItem(HWND h, int i)
{
    TLvState* s = StateOf(h);
    if (!s || !Valid(*s, i)) return;
    NotifyLv(h, LVN_DELETEITEM, i, 0, 0, 0, 0, s->Items[size_t(i)].Param);
    s = StateOf(h);
    if (!s || !Valid(*s, i)) return;
    s->Items.erase(s->Items.begin() + i);
    if (s->Sel.Count() == Count(*s) + 1) s->Sel.Delete(i);
    if (s->Mark == i) s->Mark = -1;
    else if (s->Mark > i) --s->Mark;
    UpdateScrollBars(h, *s);
    InvalidateRect(h, nullptr, TRUE);
}

void DeleteAllItems(HWND h)
{
    TLvState* s = StateOf(h);
    if (!s || s->Items.empty()) return;
    // An answer of TRUE means the parent doesn't want one notice per item.
    bool quiet = NotifyLv(h, LVN_DELETEALLITEMS, -1) != 0;
    s = StateOf(h);
    if (!s) return;
    if (!quiet) {
        for (int i = 0; i < Count(*s); ++i) {
            NotifyLv(h, LVN_DELETEITEM, i, 0, 0, 0, 0, s->Items[size_t(i)].Param);
            s = StateOf(h);
            if (!s) return;
        }
    }
    s->Items.clear();
    s->Sel.SetCount(0);
    s->Top = 0;
    s->Mark = -1;
    UpdateScrollBars(h, *s);
    InvalidateRect(h, nullptr, TRUE);
}

void ApplyColumn(const LVCOLUMN& in, TLvColumn& c)
{
    if (in.mask & LVCF_TEXT) c.Text = in.pszText ? String(in.pszText) : String();
    if (in.mask & LVCF_WIDTH) c.Width = std::max(0, in.cx);
    if (in.mask & LVCF_FMT) c.Fmt = in.fmt;
    if (in.mask & LVCF_SUBITEM) c.SubItem = in.iSubItem;
}

int InsertColumn(HWND h, TLvState& s, int index, const LVCOLUMN& in)
{
    int i = std::clamp(index, 0, int(s.Cols.size()));
    TLvColumn c;
    c.SubItem = i;
    ApplyColumn(in, c);
    s.Cols.insert(s.Cols.begin() + i, c);
    if (s.Header) {
        HDITEM hi;
        hi.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT;
        hi.cxy = c.Width;
        hi.pszText = const_cast<wchar_t*>(c.Text.c_str());
        hi.fmt = HDF_STRING | (c.Fmt & LVCFMT_JUSTIFYMASK);
        SendMessage(s.Header, HDM_INSERTITEMW, WPARAM(i), LPARAM(&hi));
    }
    if (TLvState* now = StateOf(h)) Layout(h, *now);
    return i;
}

}  // namespace

LRESULT ListViewWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    TLvState* s = StateOf(h);
    if (!s) {
        if (msg != WM_NCCREATE && msg != WM_CREATE) return DefWindowProc(h, msg, wp, lp);
        s = new TLvState;
        SetProp(h, kListViewProp, s);
    }
    switch (msg) {
    case WM_CREATE: {
        DWORD hs = DWORD(WS_CHILD) | DWORD(HDS_HORZ) | DWORD(HDS_FULLDRAG);
        if (!(StyleOf(h) & LVS_NOSORTHEADER)) hs |= HDS_BUTTONS;
        s->Header = CreateWindowEx(0, WC_HEADER, L"", hs, 0, 0, 0, 0, h, nullptr);
        if ((s = StateOf(h)) == nullptr) return -1;
        Layout(h, *s);
        return 0;
    }
    case WM_NCDESTROY:
        RemoveProp(h, kListViewProp);
        delete s;
        return DefWindowProc(h, msg, wp, lp);
    case WM_SETFONT:
        s->Font = reinterpret_cast<HFONT>(wp);
        if (s->Header) SendMessage(s->Header, WM_SETFONT, wp, lp);
        if ((s = StateOf(h))) Layout(h, *s);
        return 0;
    case WM_GETFONT: return LRESULT(s->Font);
    case WM_SIZE:
        if (!s->InScrollUpdate) Layout(h, *s);
        return 0;
    case WM_STYLECHANGED:
        if (s->Header) {
            DWORD hs = DWORD(GetWindowLong(s->Header, GWL_STYLE)) & ~DWORD(HDS_BUTTONS);
            if (!(StyleOf(h) & LVS_NOSORTHEADER)) hs |= HDS_BUTTONS;
            SetWindowLong(s->Header, GWL_STYLE, LONG(hs));
        }
        Layout(h, *s);
        return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(h, *s, reinterpret_cast<HDC>(wp)); return 0;
    case WM_PRINTCLIENT: Paint(h, *s, reinterpret_cast<HDC>(wp)); return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS: case WM_KILLFOCUS: {
        s->Focused = msg == WM_SETFOCUS;
        InvalidateRect(h, nullptr, TRUE);
        NMHDR hdr;
        SendNotify(h, hdr, msg == WM_SETFOCUS ? NM_SETFOCUS : NM_KILLFOCUS);
        return 0;
    }
    case WM_ENABLE: InvalidateRect(h, nullptr, TRUE); return 0;

    case WM_KEYDOWN: KeyDown(h, *s, Word(wp)); return 0;
    case WM_CHAR: {
        if (wp <= L' ' || Count(*s) == 0) return 0;
        SyncModel(h, *s);
        int sub = s->Cols.empty() ? 0 : s->Cols[0].SubItem;
        TLvState* st = s;
        if (s->Sel.TypeAhead(Char(wp), UiTickCount(), [&](Integer i) { return st->Items[size_t(i)].Text(sub); }) >= 0)
            ApplyModel(h, *s);
        return 0;
    }
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: {
        if (GetFocus() != h) SetFocus(h);
        if (!(s = StateOf(h))) return 0;
        MouseSelect(h, *s, LParamToPoint(lp), msg == WM_RBUTTONDOWN);
        if (!(s = StateOf(h))) return 0;
        (msg == WM_LBUTTONDOWN ? s->LeftDown : s->RightDown) = true;
        SetCapture(h);
        return 0;
    }
    case WM_LBUTTONUP: case WM_RBUTTONUP: {
        bool& down = msg == WM_LBUTTONUP ? s->LeftDown : s->RightDown;
        if (!down) return 0;
        down = false;
        if (GetCapture() == h) ReleaseCapture();
        if (!(s = StateOf(h))) return 0;
        TPoint p = LParamToPoint(lp);
        if (!PtInRect(Client(h), p)) return 0;
        UINT flags;
        int sub;
        int i = HitTest(h, *s, p, flags, sub, true);
        NotifyActivate(h, msg == WM_LBUTTONUP ? NM_CLICK : NM_RCLICK, i, sub, p);
        return 0;
    }
    case WM_LBUTTONDBLCLK: {
        if (GetFocus() != h) SetFocus(h);
        if (!(s = StateOf(h))) return 0;
        TPoint p = LParamToPoint(lp);
        MouseSelect(h, *s, p, false);
        if (!(s = StateOf(h))) return 0;
        UINT flags;
        int sub;
        int i = HitTest(h, *s, p, flags, sub, true);
        NotifyActivate(h, NM_DBLCLK, i, sub, p);
        if (i >= 0 && (s = StateOf(h)) && (flags & LVHT_ONITEM)) {
            UINT f2;
            int sub2;
            if (HitTest(h, *s, p, f2, sub2, false) == i) NotifyActivate(h, LVN_ITEMACTIVATE, i, sub, p);
        }
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (HWND(lp) != h) s->LeftDown = s->RightDown = false;
        return 0;
    case WM_MOUSEWHEEL: {
        s->WheelRest += GET_WHEEL_DELTA_WPARAM(wp);
        UINT lines = 3;
        SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
        int notches = s->WheelRest / WHEEL_DELTA;
        s->WheelRest -= notches * WHEEL_DELTA;
        if (notches) {
            int step = lines == WHEEL_PAGESCROLL ? std::max(PerPage(h, *s), 1) : int(lines);
            SetTop(h, *s, s->Top - notches * step);
        }
        return 0;
    }
    case WM_VSCROLL: VScroll(h, *s, LOWORD(wp)); return 0;
    case WM_HSCROLL: HScroll(h, *s, LOWORD(wp)); return 0;

    case WM_NOTIFY: {
        auto* nm = reinterpret_cast<NMHEADER*>(lp);
        if (!nm || nm->hdr.hwndFrom != s->Header) break;
        switch (nm->hdr.code) {
        case HDN_ITEMCLICK:
            if (!(StyleOf(h) & LVS_NOSORTHEADER)) NotifyLv(h, LVN_COLUMNCLICK, -1, nm->iItem);
            return 0;
        case HDN_ITEMCHANGED:
            if (nm->pitem && (nm->pitem->mask & HDI_WIDTH) && nm->iItem >= 0 && nm->iItem < int(s->Cols.size())) {
                s->Cols[size_t(nm->iItem)].Width = nm->pitem->cxy;
                UpdateScrollBars(h, *s);
                if ((s = StateOf(h))) InvalidateRect(h, nullptr, TRUE);
            }
            return 0;
        case HDN_DIVIDERDBLCLICK:
            SetColumnWidth(h, *s, nm->iItem, LVSCW_AUTOSIZE_USEHEADER);
            return 0;
        default: return 0;
        }
    }

    // Columns.
    case LVM_INSERTCOLUMNW: {
        auto* c = reinterpret_cast<const LVCOLUMN*>(lp);
        return c ? InsertColumn(h, *s, int(wp), *c) : -1;
    }
    case LVM_SETCOLUMNW: {
        auto* c = reinterpret_cast<const LVCOLUMN*>(lp);
        int i = int(wp);
        if (!c || i < 0 || i >= int(s->Cols.size())) return FALSE;
        ApplyColumn(*c, s->Cols[size_t(i)]);
        SyncHeaderItem(*s, i, HDI_WIDTH | HDI_TEXT | HDI_FORMAT);
        if ((s = StateOf(h))) Layout(h, *s);
        return TRUE;
    }
    case LVM_GETCOLUMNW: {
        auto* c = reinterpret_cast<LVCOLUMN*>(lp);
        int i = int(wp);
        if (!c || i < 0 || i >= int(s->Cols.size())) return FALSE;
        const TLvColumn& col = s->Cols[size_t(i)];
        if (c->mask & LVCF_TEXT) CopyToBuffer(col.Text, c->pszText, c->cchTextMax);
        if (c->mask & LVCF_WIDTH) c->cx = col.Width;
        if (c->mask & LVCF_FMT) c->fmt = col.Fmt;
        if (c->mask & LVCF_SUBITEM) c->iSubItem = col.SubItem;
        return TRUE;
    }
    case LVM_DELETECOLUMN: {
        int i = int(wp);
        if (i < 0 || i >= int(s->Cols.size())) return FALSE;
        s->Cols.erase(s->Cols.begin() + i);
        if (s->Header) SendMessage(s->Header, HDM_DELETEITEM, WPARAM(i), 0);
        if ((s = StateOf(h))) Layout(h, *s);
        return TRUE;
    }
    case LVM_GETCOLUMNWIDTH: {
        int i = int(wp);
        return i >= 0 && i < int(s->Cols.size()) ? s->Cols[size_t(i)].Width : 0;
    }
    case LVM_SETCOLUMNWIDTH: {
        int i = int(wp);
        if (i < 0 || i >= int(s->Cols.size())) return FALSE;
        SetColumnWidth(h, *s, i, GET_X_LPARAM(lp));
        return TRUE;
    }
    case LVM_GETHEADER: return LRESULT(s->Header);

    // Items.
    case LVM_GETITEMCOUNT: return Count(*s);
    case LVM_INSERTITEMW: {
        auto* it = reinterpret_cast<const LVITEM*>(lp);
        return it ? InsertItem(h, *s, *it) : -1;
    }
    case LVM_SETITEMW: {
        auto* it = reinterpret_cast<const LVITEM*>(lp);
        return it && SetItem(h, *s, *it) ? TRUE : FALSE;
    }
    case LVM_GETITEMW: {
        auto* it = reinterpret_cast<LVITEM*>(lp);
        return it && GetItem(*s, *it) ? TRUE : FALSE;
    }
    case LVM_SETITEMTEXTW: {
        auto* it = reinterpret_cast<const LVITEM*>(lp);
        if (!it) return FALSE;
        LVITEM copy = *it;
        copy.iItem = int(wp);
        copy.mask = LVIF_TEXT;
        return SetItem(h, *s, copy) ? TRUE : FALSE;
    }
    case LVM_GETITEMTEXTW: {
        auto* it = reinterpret_cast<LVITEM*>(lp);
        if (!it || !Valid(*s, int(wp))) return 0;
        return CopyToBuffer(s->Items[size_t(wp)].Text(it->iSubItem), it->pszText, it->cchTextMax);
    }
    case LVM_DELETEITEM:
        if (!Valid(*s, int(wp))) return FALSE;
        DeleteItem(h, int(wp));
        return TRUE;
    case LVM_DELETEALLITEMS: DeleteAllItems(h); return TRUE;
    case LVM_SETITEMSTATE: {
        auto* it = reinterpret_cast<const LVITEM*>(lp);
        if (!it) return FALSE;
        return SetItemState(h, *s, int(intptr_t(wp)), it->state, it->stateMask) ? TRUE : FALSE;
    }
    case LVM_GETITEMSTATE:
        return Valid(*s, int(wp)) ? LRESULT(s->Items[size_t(wp)].State & UINT(lp)) : 0;
    case LVM_GETSELECTEDCOUNT:
        return std::count_if(s->Items.begin(), s->Items.end(), [](const TLvItem& it) { return (it.State & LVIS_SELECTED) != 0; });
    case LVM_GETNEXTITEM: {
        int start = int(intptr_t(wp));
        UINT flags = UINT(lp);
        UINT want = flags & (LVNI_SELECTED | LVNI_FOCUSED | LVIS_CUT | LVIS_DROPHILITED);
        int step = (flags & LVNI_ABOVE) ? -1 : 1;
        int i = start < 0 ? (step > 0 ? 0 : -1) : start + step;
        for (; Valid(*s, i); i += step)
            if ((s->Items[size_t(i)].State & want) == want) return i;
        return -1;
    }
    case LVM_GETSELECTIONMARK: return s->Mark;
    case LVM_SETSELECTIONMARK: {
        int old = s->Mark;
        s->Mark = Valid(*s, int(lp)) ? int(lp) : -1;
        return old;
    }
    case LVM_GETITEMRECT: {
        auto* r = reinterpret_cast<TRect*>(lp);
        if (!r || !Valid(*s, int(wp))) return FALSE;
        *r = ItemRect(h, *s, int(wp), r->Left);
        return TRUE;
    }
    case LVM_GETSUBITEMRECT: {
        auto* r = reinterpret_cast<TRect*>(lp);
        if (!r || !Valid(*s, int(wp)) || r->Top < 0 || r->Top >= std::max<int>(int(s->Cols.size()), 1)) return FALSE;
        *r = r->Top == 0 ? ItemRect(h, *s, int(wp), r->Left) : SubItemRect(h, *s, int(wp), r->Top, r->Left);
        return TRUE;
    }
    case LVM_HITTEST: case LVM_SUBITEMHITTEST: {
        auto* ht = reinterpret_cast<LVHITTESTINFO*>(lp);
        if (!ht) return -1;
        int sub;
        ht->iItem = HitTest(h, *s, ht->pt, ht->flags, sub, msg == LVM_SUBITEMHITTEST);
        ht->iSubItem = ht->iItem >= 0 ? sub : 0;
        return ht->iItem;
    }
    case LVM_ENSUREVISIBLE:
        if (!Valid(*s, int(wp))) return FALSE;
        EnsureVisible(h, *s, int(wp), lp != 0);
        return TRUE;
    case LVM_SCROLL: {
        if (int dx = int(intptr_t(wp))) SetHScroll(h, *s, s->HScroll + dx);
        if (int dy = int(lp); dy && (s = StateOf(h))) {
            int rows = dy / std::max(s->RowH, 1);
            if (rows == 0) rows = dy > 0 ? 1 : -1;
            SetTop(h, *s, s->Top + rows);
        }
        return TRUE;
    }
    case LVM_GETTOPINDEX: return Count(*s) ? s->Top : 0;
    case LVM_GETCOUNTPERPAGE: return PerPage(h, *s);
    case LVM_REDRAWITEMS: case LVM_UPDATE: InvalidateRect(h, nullptr, TRUE); return TRUE;
    case LVM_SETEXTENDEDLISTVIEWSTYLE: {
        DWORD old = s->Ex;
        DWORD mask = wp ? DWORD(wp) : 0xFFFFFFFFu;
        s->Ex = (s->Ex & ~mask) | (DWORD(lp) & mask);
        if (s->Ex != old) InvalidateRect(h, nullptr, TRUE);
        return old;
    }
    case LVM_GETEXTENDEDLISTVIEWSTYLE: return s->Ex;
    case LVM_GETBKCOLOR: return ColorOr(s->Bk, COLOR_WINDOW);
    case LVM_SETBKCOLOR: s->Bk = COLORREF(lp); InvalidateRect(h, nullptr, TRUE); return TRUE;
    case LVM_GETTEXTCOLOR: return ColorOr(s->TextColor, COLOR_WINDOWTEXT);
    case LVM_SETTEXTCOLOR: s->TextColor = COLORREF(lp); InvalidateRect(h, nullptr, TRUE); return TRUE;
    case LVM_GETTEXTBKCOLOR: return s->TextBk;
    case LVM_SETTEXTBKCOLOR: s->TextBk = COLORREF(lp); InvalidateRect(h, nullptr, TRUE); return TRUE;
    default: break;
    }
    return DefWindowProc(h, msg, wp, lp);
}

void RegisterListViewClasses()
{
    RegisterControlClass(WC_HEADER, &HeaderWndProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
    RegisterControlClass(WC_LISTVIEW, &ListViewWndProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
}
