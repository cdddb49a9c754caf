// The "LISTBOX" window class (also the drop-down list "ComboLBox" of a
// combo box): items with data and heights, single, multiple and extended
// selection over TListSelectionModel, owner draw, the vertical scroll bar,
// mouse, wheel, keyboard and type-ahead; and TCustomListBox.
#include "platform/ui/StdCtrls_List.h"

#include <algorithm>

#include "platform/base/Exceptions.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/ControlsInternal.h"
#include "platform/ui/ListSelectionModel.h"
#include "platform/ui/StdCtrls_ListInternal.h"

namespace {

const wchar_t* const kListProp = L"VelListBoxState";
constexpr Integer kMaxItemHeight = 255;
constexpr Integer kTextIndent = 2;

struct TLbItem {
    String Text;
    ULONG_PTR Data = 0;
    Integer Height = 0;  // variable-height lists
};

struct TLbState {
    std::vector<TLbItem> Items;
    TListSelectionModel Sel;
    DWORD Style = 0;
    HFONT Font = nullptr;
    Integer ItemHeight = 16;
    bool WantVScroll = false;
    bool Focused = false;
    bool Tracking = false;     // left button held after a press on the list
    bool Redraw = true;
    HWND Combo = nullptr;      // the combo box this list belongs to
    bool Dropped = false;      // the combo's drop-down is open
};

TLbState* StateOf(HWND h) { return static_cast<TLbState*>(GetProp(h, kListProp)); }

bool HasStrings(const TLbState& s)
{
    return !(s.Style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) || (s.Style & LBS_HASSTRINGS);
}
bool IsVariable(const TLbState& s) { return (s.Style & LBS_OWNERDRAWVARIABLE) != 0; }
bool IsOwnerDraw(const TLbState& s) { return (s.Style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0; }
bool IsMultiple(const TLbState& s) { return s.Sel.Mode() != TListSelectMode::Single; }
Integer Count(const TLbState& s) { return Integer(s.Items.size()); }
bool Valid(const TLbState& s, Integer i) { return i >= 0 && i < Count(s); }

TListSelectMode ModeFor(DWORD style)
{
    if (style & LBS_EXTENDEDSEL) return TListSelectMode::Extended;
    if (style & LBS_MULTIPLESEL) return TListSelectMode::Multiple;
    return TListSelectMode::Single;
}

Integer FontHeight(HFONT font)
{
    HDC dc = CreateScreenIC();
    HGDIOBJ old = SelectObject(dc, font ? HGDIOBJ(font) : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW tm;
    GetTextMetrics(dc, &tm);
    SelectObject(dc, old);
    DeleteDC(dc);
    return std::max<Integer>(tm.tmHeight, 1);
}

// The window that owns the list: the parent, or the combo box's parent.
HWND OwnerOf(HWND h, const TLbState& s) { return s.Combo ? GetParent(s.Combo) : GetParent(h); }
// The window owner-draw and colour requests name.
HWND ItemWindow(HWND h, const TLbState& s) { return s.Combo ? s.Combo : h; }

void Notify(HWND h, const TLbState& s, Word code)
{
    if (s.Combo) return;  // the combo box hears through ComboListNotify
    bool always = code == LBN_SETFOCUS || code == LBN_KILLFOCUS;
    if (!always && !(s.Style & LBS_NOTIFY)) return;
    if (HWND parent = GetParent(h))
        SendMessage(parent, WM_COMMAND, MAKEWPARAM(int(GetWindowLong(h, GWL_ID)), code), LPARAM(h));
}

Integer HeightOf(const TLbState& s, Integer i)
{
    if (IsVariable(s) && Valid(s, i)) return s.Items[size_t(i)].Height;
    return s.ItemHeight;
}

Integer ClientHeight(HWND h)
{
    TRect c;
    GetClientRect(h, &c);
    return c.Height();
}

// How many items show whole from the top item on (at least one).
Integer PageFrom(HWND h, const TLbState& s, Integer top)
{
    Integer room = ClientHeight(h);
    if (!IsVariable(s)) return std::max<Integer>(room / std::max(s.ItemHeight, 1), 1);
    Integer n = 0, y = 0;
    for (Integer i = std::max(top, 0); i < Count(s); ++i) {
        y += HeightOf(s, i);
        if (y > room) break;
        ++n;
    }
    return std::max<Integer>(n, 1);
}

TRect ItemRectOf(HWND h, const TLbState& s, Integer i)
{
    TRect c;
    GetClientRect(h, &c);
    Integer top = s.Sel.TopIndex();
    Integer y = 0;
    if (!IsVariable(s)) {
        y = (i - top) * s.ItemHeight;
    } else if (i >= top) {
        for (Integer k = top; k < i; ++k) y += HeightOf(s, k);
    } else {
        for (Integer k = i; k < top; ++k) y -= HeightOf(s, k);
    }
    return TRect{c.Left, y, c.Right, y + HeightOf(s, i)};
}

// The item at a client y; -1 above the first shown item or below the last.
Integer ItemAtY(HWND h, const TLbState& s, Integer y)
{
    if (y < 0) return -1;
    Integer top = s.Sel.TopIndex();
    if (!IsVariable(s)) {
        Integer i = top + y / std::max(s.ItemHeight, 1);
        return Valid(s, i) ? i : -1;
    }
    Integer at = 0;
    for (Integer i = top; i < Count(s); ++i) {
        at += HeightOf(s, i);
        if (y < at) return i;
    }
    (void)h;
    return -1;
}

void UpdateScroll(HWND h, TLbState& s)
{
    s.Sel.SetPageSize(PageFrom(h, s, s.Sel.TopIndex()));
    if (!s.WantVScroll || !s.Redraw) return;
    Integer page = PageFrom(h, s, 0);
    bool needed = Count(s) > page || s.Sel.TopIndex() > 0;
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = std::max(Count(s) - 1, 0);
    si.nPage = UINT(s.Sel.PageSize());
    si.nPos = s.Sel.TopIndex();
    if (!needed && !(s.Style & LBS_DISABLENOSCROLL)) {
        ShowScrollBar(h, SB_VERT, FALSE);
        return;
    }
    ShowScrollBar(h, SB_VERT, TRUE);
    SetScrollInfo(h, SB_VERT, &si, TRUE);
    // Showing the bar narrows the client area; the page may have changed.
    s.Sel.SetPageSize(PageFrom(h, s, s.Sel.TopIndex()));
}

void Changed(HWND h, TLbState& s)
{
    UpdateScroll(h, s);
    if (s.Redraw) InvalidateRect(h, nullptr, TRUE);
}

void SetTop(HWND h, TLbState& s, Integer top)
{
    if (IsVariable(s)) {
        // The last page starts where the remaining items fill the client.
        Integer room = ClientHeight(h), used = 0, last = Count(s);
        while (last > 0 && used + HeightOf(s, last - 1) <= room) used += HeightOf(s, --last);
        top = std::clamp(top, 0, std::max(std::min(last, Count(s) - 1), 0));
        s.Sel.SetPageSize(1);
        s.Sel.SetTopIndex(top);
        s.Sel.SetPageSize(PageFrom(h, s, top));
    } else {
        s.Sel.SetTopIndex(top);
    }
    Changed(h, s);
}

// Measures a new item of a variable-height list (or the fixed height).
Integer Measure(HWND h, const TLbState& s, Integer index, ULONG_PTR data)
{
    MEASUREITEMSTRUCT mi;
    mi.CtlType = s.Combo ? ODT_COMBOBOX : ODT_LISTBOX;
    mi.CtlID = UINT(GetWindowLongPtr(ItemWindow(h, s), GWL_ID));
    mi.itemID = UINT(index);
    TRect c;
    GetClientRect(h, &c);
    mi.itemWidth = UINT(std::max(c.Width(), 0));
    mi.itemHeight = UINT(std::max(FontHeight(s.Font), 1));
    mi.itemData = data;
    if (HWND owner = OwnerOf(h, s)) SendMessage(owner, WM_MEASUREITEM, mi.CtlID, LPARAM(&mi));
    return std::clamp<Integer>(Integer(mi.itemHeight), 1, kMaxItemHeight);
}

Integer InsertItem(HWND h, TLbState& s, Integer index, const wchar_t* text, LPARAM lp)
{
    TLbItem item;
    if (HasStrings(s)) {
        item.Text = text ? text : L"";
        if (s.Style & LBS_SORT && index < 0) {
            // After the last item that does not sort above it.
            auto it = std::upper_bound(s.Items.begin(), s.Items.end(), item.Text,
                                       [](const String& t, const TLbItem& e) { return ListCompareText(t, e.Text) < 0; });
            index = Integer(it - s.Items.begin());
        }
    } else {
        item.Data = ULONG_PTR(lp);
    }
    if (index < 0) index = Count(s);
    if (index > Count(s)) return LB_ERR;
    if (IsVariable(s)) item.Height = s.ItemHeight;
    s.Items.insert(s.Items.begin() + index, item);
    s.Sel.Insert(index);
    if (IsVariable(s)) s.Items[size_t(index)].Height = Measure(h, s, index, item.Data);
    Changed(h, s);
    return index;
}

Integer FindString(const TLbState& s, Integer start, const wchar_t* text, bool exact)
{
    String want = text ? text : L"";
    Integer n = Count(s);
    if (n == 0) return LB_ERR;
    if (start < -1 || start >= n) start = -1;
    for (Integer k = 1; k <= n; ++k) {
        Integer i = (start + k) % n;
        const TLbItem& it = s.Items[size_t(i)];
        if (!HasStrings(s)) {
            if (it.Data == ULONG_PTR(reinterpret_cast<uintptr_t>(text))) return i;
            continue;
        }
        if (exact ? AnsiSameText(it.Text, want)
                  : (it.Text.size() >= want.size() && AnsiSameText(it.Text.substr(0, want.size()), want)))
            return i;
    }
    return LB_ERR;
}

COLORREF SysColor(int index) { return GetSysColor(index); }

void Paint(HWND h, TLbState& s, HDC given)
{
    PAINTSTRUCT ps;
    HDC dc = given ? given : BeginPaint(h, &ps);
    if (!dc) return;
    bool enabled = IsWindowEnabled(h) != 0;
    SetTextColor(dc, SysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    SetBkColor(dc, SysColor(COLOR_WINDOW));
    HBRUSH brush = nullptr;
    if (HWND owner = OwnerOf(h, s))
        brush = reinterpret_cast<HBRUSH>(SendMessage(owner, WM_CTLCOLORLISTBOX, WPARAM(dc), LPARAM(ItemWindow(h, s))));
    if (!brush) brush = GetSysColorBrush(COLOR_WINDOW);
    COLORREF text = GetTextColor(dc);
    TRect client;
    GetClientRect(h, &client);
    FillRect(dc, &client, brush);
    HGDIOBJ oldFont = SelectObject(dc, s.Font ? HGDIOBJ(s.Font) : GetStockObject(DEFAULT_GUI_FONT));
    Integer focus = s.Sel.ItemIndex();
    bool showFocus = s.Focused && !s.Combo;
    for (Integer i = s.Sel.TopIndex(); i < Count(s); ++i) {
        TRect r = ItemRectOf(h, s, i);
        if (r.Top >= client.Bottom) break;
        bool selected = s.Sel.Selected(i) && !(s.Style & LBS_NOSEL);
        if (IsOwnerDraw(s)) {
            DRAWITEMSTRUCT d;
            d.CtlType = s.Combo ? ODT_COMBOBOX : ODT_LISTBOX;
            d.CtlID = UINT(GetWindowLongPtr(ItemWindow(h, s), GWL_ID));
            d.itemID = UINT(i);
            d.itemAction = ODA_DRAWENTIRE;
            d.itemState = (selected ? UINT(ODS_SELECTED) : 0u) | (showFocus && i == focus ? UINT(ODS_FOCUS) : 0u) |
                          (enabled ? 0u : UINT(ODS_DISABLED));
            d.hwndItem = ItemWindow(h, s);
            d.hDC = dc;
            d.rcItem = r;
            d.itemData = s.Items[size_t(i)].Data;
            SaveDC(dc);
            if (HWND owner = OwnerOf(h, s)) SendMessage(owner, WM_DRAWITEM, d.CtlID, LPARAM(&d));
            RestoreDC(dc, -1);
            continue;
        }
        if (selected) {
            FillRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
            SetTextColor(dc, SysColor(COLOR_HIGHLIGHTTEXT));
        } else {
            SetTextColor(dc, text);
        }
        SetBkMode(dc, TRANSPARENT);
        const String& t = s.Items[size_t(i)].Text;
        TextOut(dc, r.Left + kTextIndent, r.Top, t.c_str(), int(t.size()));
        if (showFocus && i == focus) DrawFocusRect(dc, &r);
    }
    SelectObject(dc, oldFont);
    if (!given) EndPaint(h, &ps);
}

// The selection before a user action, to tell what it changed.
struct TSnapshot {
    std::vector<bool> Sel;
    Integer Focus, Top;
    explicit TSnapshot(const TLbState& s) : Sel(s.Sel.Selection()), Focus(s.Sel.ItemIndex()), Top(s.Sel.TopIndex()) {}
    bool SelectionDiffers(const TLbState& s) const { return Sel != s.Sel.Selection(); }
    bool Differs(const TLbState& s) const
    {
        return SelectionDiffers(s) || Focus != s.Sel.ItemIndex() || Top != s.Sel.TopIndex();
    }
};

void AfterUserChange(HWND h, TLbState& s, const TSnapshot& before, bool notifyAlways)
{
    bool selChanged = before.SelectionDiffers(s) || (before.Focus != s.Sel.ItemIndex() && !IsMultiple(s));
    if (before.Differs(s)) Changed(h, s);
    if (s.Combo) {
        if ((selChanged || notifyAlways) && !s.Dropped) ComboListNotify(s.Combo, TComboListEvent::SelChange, TPoint{});
        return;
    }
    if (selChanged || notifyAlways) Notify(h, s, LBN_SELCHANGE);
}

bool KeyHeld(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

void ClickAt(HWND h, TLbState& s, Integer i, bool shift, bool ctrl)
{
    if (s.Style & LBS_NOSEL) {
        s.Sel.SetItemIndex(-1);
        return;
    }
    s.Sel.Click(i, shift, ctrl);
    (void)h;
}

void MouseDown(HWND h, TLbState& s, WPARAM keys, TPoint p, bool dbl)
{
    if (s.Dropped) {
        TRect c;
        GetClientRect(h, &c);
        if (!PtInRect(c, p)) {
            TPoint sp = p;
            ClientToScreen(h, &sp);
            ComboListNotify(s.Combo, TComboListEvent::OutsideClick, sp);
            return;
        }
    } else if (!s.Combo && GetFocus() != h) {
        SetFocus(h);
        if (!IsWindow(h) || !StateOf(h)) return;
    } else if (s.Combo && GetFocus() != s.Combo && GetParent(GetFocus()) != s.Combo) {
        SetFocus(s.Combo);  // a simple combo box's list: the combo box takes the keys
        if (!IsWindow(h) || !StateOf(h)) return;
    }
    Integer i = ItemAtY(h, s, p.Y);
    s.Tracking = true;
    if (GetCapture() != h) SetCapture(h);
    if (i < 0) return;
    TSnapshot before(s);
    if (s.Dropped) {
        s.Sel.SetItemIndex(i);
        if (before.Differs(s)) Changed(h, s);
        return;
    }
    ClickAt(h, s, i, (keys & MK_SHIFT) != 0, (keys & MK_CONTROL) != 0);
    // Every click tells the parent; the second press of a double click
    // only when it changed something.
    AfterUserChange(h, s, before, !dbl);
    if (dbl) {
        if (s.Combo) ComboListNotify(s.Combo, TComboListEvent::DblClick, TPoint{});
        else Notify(h, s, LBN_DBLCLK);
    }
}

void MouseMove(HWND h, TLbState& s, TPoint p)
{
    if (!s.Tracking && !s.Dropped) return;
    TRect c;
    GetClientRect(h, &c);
    if (s.Dropped && !s.Tracking && !PtInRect(c, p)) return;
    Integer i;
    if (p.Y < 0) {
        i = std::max(s.Sel.TopIndex() - 1, 0);
    } else if (p.Y >= c.Bottom) {
        i = std::min(s.Sel.TopIndex() + s.Sel.PageSize(), Count(s) - 1);
    } else {
        i = ItemAtY(h, s, p.Y);
        if (i < 0) i = Count(s) - 1;
    }
    if (!Valid(s, i)) return;
    TSnapshot before(s);
    if (s.Dropped) {
        s.Sel.SetItemIndex(i);
        if (before.Differs(s)) Changed(h, s);
        return;
    }
    if (i == s.Sel.ItemIndex()) return;
    switch (s.Sel.Mode()) {
    case TListSelectMode::Single: ClickAt(h, s, i, false, false); break;
    case TListSelectMode::Extended: ClickAt(h, s, i, true, KeyHeld(VK_CONTROL)); break;
    case TListSelectMode::Multiple:
        // Dragging moves the focus only; each click toggles.
        s.Sel.SetItemIndex(i);
        break;
    }
    AfterUserChange(h, s, before, false);
}

void MouseUp(HWND h, TLbState& s, TPoint p)
{
    bool wasTracking = s.Tracking;
    s.Tracking = false;
    if (s.Dropped) {
        TRect c;
        GetClientRect(h, &c);
        if (wasTracking && PtInRect(c, p) && ItemAtY(h, s, p.Y) >= 0) {
            TPoint sp = p;
            ClientToScreen(h, &sp);
            ComboListNotify(s.Combo, TComboListEvent::Pick, sp);
        }
        return;  // the capture stays while dropped
    }
    if (GetCapture() == h) ReleaseCapture();
}

void KeyDown(HWND h, TLbState& s, Word vk)
{
    if (vk == VK_PRIOR || vk == VK_NEXT) s.Sel.SetPageSize(PageFrom(h, s, s.Sel.TopIndex()));
    TSnapshot before(s);
    bool shift = KeyHeld(VK_SHIFT), ctrl = KeyHeld(VK_CONTROL);
    if (s.Style & LBS_NOSEL) {
        if (!s.Sel.KeyDown(vk, false, true)) return;
        s.Sel.ClearSelection();
    } else if (!s.Sel.KeyDown(vk, shift, ctrl)) {
        return;
    }
    if (s.Dropped) {
        if (before.Differs(s)) Changed(h, s);
        return;
    }
    AfterUserChange(h, s, before, false);
}

void TypeAhead(HWND h, TLbState& s, Char ch)
{
    if (!HasStrings(s) || ch < L' ') return;
    TSnapshot before(s);
    s.Sel.TypeAhead(ch, UiTickCount(), [&](Integer i) { return s.Items[size_t(i)].Text; });
    if (s.Style & LBS_NOSEL) s.Sel.ClearSelection();
    if (s.Dropped) {
        if (before.Differs(s)) Changed(h, s);
        return;
    }
    AfterUserChange(h, s, before, false);
}

void VScroll(HWND h, TLbState& s, WPARAM wp)
{
    Integer top = s.Sel.TopIndex(), page = std::max(s.Sel.PageSize(), 1);
    switch (LOWORD(wp)) {
    case SB_LINEUP: --top; break;
    case SB_LINEDOWN: ++top; break;
    case SB_PAGEUP: top -= page; break;
    case SB_PAGEDOWN: top += page; break;
    case SB_TOP: top = 0; break;
    case SB_BOTTOM: top = Count(s); break;
    case SB_THUMBTRACK: case SB_THUMBPOSITION: {
        SCROLLINFO si;
        si.fMask = SIF_TRACKPOS;
        GetScrollInfo(h, SB_VERT, &si);
        top = LOWORD(wp) == SB_THUMBTRACK && si.nTrackPos ? si.nTrackPos : Integer(HIWORD(wp));
        break;
    }
    default: return;
    }
    SetTop(h, s, top);
}

// Keeps a fixed-height list a whole number of items tall.
void IntegralHeight(HWND h, const TLbState& s, WINDOWPOS* wp)
{
    if (!wp || (wp->flags & SWP_NOSIZE) || (s.Style & (LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWVARIABLE)) || s.Combo)
        return;
    TRect wr, cr;
    GetWindowRect(h, &wr);
    GetClientRect(h, &cr);
    Integer frame = wr.Height() - cr.Height();
    Integer client = wp->cy - frame;
    Integer ih = std::max(s.ItemHeight, 1);
    if (client > ih && client % ih) wp->cy -= client % ih;
}

LRESULT CopyText(const TLbState& s, Integer i, wchar_t* buf)
{
    if (!Valid(s, i)) return LB_ERR;
    const TLbItem& it = s.Items[size_t(i)];
    if (!HasStrings(s)) {
        if (buf) std::copy_n(reinterpret_cast<const wchar_t*>(&it.Data), sizeof(ULONG_PTR) / sizeof(wchar_t), buf);
        return LRESULT(sizeof(ULONG_PTR) / sizeof(wchar_t));
    }
    if (buf) {
        std::copy(it.Text.begin(), it.Text.end(), buf);
        buf[it.Text.size()] = 0;
    }
    return LRESULT(it.Text.size());
}

}  // namespace

Integer ListCompareText(const String& a, const String& b) { return AnsiCompareText(a, b); }

void ListSetCombo(HWND list, HWND combo)
{
    if (TLbState* s = IsWindow(list) ? StateOf(list) : nullptr) s->Combo = combo;
}

void ListSetDropped(HWND list, bool dropped)
{
    TLbState* s = IsWindow(list) ? StateOf(list) : nullptr;
    if (!s) return;
    s->Dropped = dropped;
    // Opened by a press that is still held: releasing over an item picks it.
    s->Tracking = dropped && (GetKeyState(VK_LBUTTON) & 0x8000) != 0;
    if (dropped) {
        SetCapture(list);
    } else if (GetCapture() == list) {
        ReleaseCapture();
    }
}

Integer ListCaret(HWND list)
{
    TLbState* s = IsWindow(list) ? StateOf(list) : nullptr;
    return s ? s->Sel.ItemIndex() : -1;
}

void ListSetCaret(HWND list, Integer index)
{
    TLbState* s = IsWindow(list) ? StateOf(list) : nullptr;
    if (!s) return;
    s->Sel.SetItemIndex(Valid(*s, index) ? index : -1);
    Changed(list, *s);
}

Integer ListHeightFor(HWND list, Integer rows)
{
    TLbState* s = IsWindow(list) ? StateOf(list) : nullptr;
    if (!s) return 0;
    if (!IsVariable(*s)) return std::max(rows, 1) * s->ItemHeight;
    Integer hgt = 0;
    for (Integer i = 0; i < std::min(rows, Count(*s)); ++i) hgt += HeightOf(*s, i);
    return std::max(hgt, s->ItemHeight);
}

LRESULT ListBoxWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    TLbState* s = StateOf(h);
    if (!s) {
        if (msg != WM_NCCREATE) return DefWindowProc(h, msg, wp, lp);
        s = new TLbState;
        SetProp(h, kListProp, s);
        s->Style = DWORD(GetWindowLong(h, GWL_STYLE));
        s->WantVScroll = (s->Style & WS_VSCROLL) != 0;
        s->Sel.SetMode(ModeFor(s->Style));
        s->ItemHeight = FontHeight(nullptr);
        // A combo box creates its list with itself as the creation parameter.
        if (auto* cs = reinterpret_cast<CREATESTRUCT*>(lp); cs && cs->lpCreateParams && GetClassName(h) == L"ComboLBox")
            s->Combo = static_cast<HWND>(cs->lpCreateParams);
        return DefWindowProc(h, msg, wp, lp);
    }
    switch (msg) {
    case WM_CREATE: {
        if (s->Style & LBS_OWNERDRAWFIXED) s->ItemHeight = Measure(h, *s, 0, 0);
        TRect wr;
        GetWindowRect(h, &wr);
        SetWindowPos(h, nullptr, 0, 0, wr.Width(), wr.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        UpdateScroll(h, *s);
        return 0;
    }
    case WM_NCDESTROY:
        RemoveProp(h, kListProp);
        delete s;
        return DefWindowProc(h, msg, wp, lp);
    case WM_STYLECHANGED:
        if (wp == WPARAM(GWL_STYLE)) {
            DWORD st = reinterpret_cast<STYLESTRUCT*>(lp)->styleNew;
            if (ModeFor(st) != ModeFor(s->Style)) s->Sel.SetMode(ModeFor(st));
            // The scroll bar bit follows the content; the rest is ours to read.
            s->Style = (st & ~DWORD(WS_VSCROLL)) | (s->Style & WS_VSCROLL);
            Changed(h, *s);
        }
        return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFONT:
        s->Font = reinterpret_cast<HFONT>(wp);
        if (!IsOwnerDraw(*s)) s->ItemHeight = FontHeight(s->Font);
        if (lp) Changed(h, *s);
        else UpdateScroll(h, *s);
        return 0;
    case WM_GETFONT: return LRESULT(s->Font);
    case WM_SETREDRAW:
        s->Redraw = wp != 0;
        if (s->Redraw) Changed(h, *s);
        return 0;
    case WM_WINDOWPOSCHANGING:
        IntegralHeight(h, *s, reinterpret_cast<WINDOWPOS*>(lp));
        return DefWindowProc(h, msg, wp, lp);
    case WM_SIZE:
        SetTop(h, *s, s->Sel.TopIndex());
        return 0;
    case WM_ENABLE: InvalidateRect(h, nullptr, TRUE); return 0;
    case WM_ERASEBKGND: return 1;  // painted with the items
    case WM_PAINT: Paint(h, *s, reinterpret_cast<HDC>(wp)); return 0;
    case WM_PRINTCLIENT: Paint(h, *s, reinterpret_cast<HDC>(wp)); return 0;
    case WM_SETFOCUS:
        s->Focused = true;
        InvalidateRect(h, nullptr, TRUE);
        Notify(h, *s, LBN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        s->Focused = false;
        InvalidateRect(h, nullptr, TRUE);
        Notify(h, *s, LBN_KILLFOCUS);
        return 0;
    case WM_MOUSEACTIVATE:
        // The drop-down of a combo box never takes the activation.
        if (s->Combo && (GetWindowLong(h, GWL_STYLE) & WS_POPUP)) return MA_NOACTIVATE;
        return DefWindowProc(h, msg, wp, lp);

    case WM_LBUTTONDOWN: MouseDown(h, *s, wp, LParamToPoint(lp), false); return 0;
    case WM_LBUTTONDBLCLK: MouseDown(h, *s, wp, LParamToPoint(lp), true); return 0;
    case WM_MOUSEMOVE: MouseMove(h, *s, LParamToPoint(lp)); return 0;
    case WM_LBUTTONUP: MouseUp(h, *s, LParamToPoint(lp)); return 0;
    case WM_CAPTURECHANGED:
        s->Tracking = false;
        if (s->Dropped && reinterpret_cast<HWND>(lp) != h) {
            // Someone else took the mouse: the drop-down closes.
            s->Dropped = false;
            ComboListNotify(s->Combo, TComboListEvent::OutsideClick, TPoint{-32768, -32768});
        }
        return 0;
    case WM_MOUSEWHEEL: {
        UINT lines = 3;
        SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
        Integer step = lines == WHEEL_PAGESCROLL ? s->Sel.PageSize() : Integer(lines);
        Integer notches = -GET_WHEEL_DELTA_WPARAM(wp) / WHEEL_DELTA;
        if (notches) SetTop(h, *s, s->Sel.TopIndex() + notches * std::max(step, 1));
        return 0;
    }
    case WM_VSCROLL: VScroll(h, *s, wp); return 0;
    case WM_KEYDOWN: KeyDown(h, *s, Word(wp)); return 0;
    case WM_CHAR: TypeAhead(h, *s, Char(wp)); return 0;

    case LB_ADDSTRING: return InsertItem(h, *s, -1, reinterpret_cast<const wchar_t*>(lp), lp);
    case LB_INSERTSTRING: {
        Integer i = Integer(intptr_t(wp));
        if (i > Count(*s)) return LB_ERR;
        if (i < 0) i = Count(*s);
        return InsertItem(h, *s, i, reinterpret_cast<const wchar_t*>(lp), lp);
    }
    case LB_DELETESTRING: {
        Integer i = Integer(intptr_t(wp));
        if (!Valid(*s, i)) return LB_ERR;
        s->Items.erase(s->Items.begin() + i);
        s->Sel.Delete(i);
        SetTop(h, *s, s->Sel.TopIndex());
        return Count(*s);
    }
    case LB_RESETCONTENT:
        s->Items.clear();
        s->Sel.SetCount(0);
        Changed(h, *s);
        return LB_OKAY;
    case LB_GETCOUNT: return Count(*s);
    case LB_GETTEXT: return CopyText(*s, Integer(intptr_t(wp)), reinterpret_cast<wchar_t*>(lp));
    case LB_GETTEXTLEN: return CopyText(*s, Integer(intptr_t(wp)), nullptr);
    case LB_SETCURSEL: {
        if (IsMultiple(*s)) return LB_ERR;
        Integer i = Integer(intptr_t(wp));
        if (!Valid(*s, i)) i = -1;
        s->Sel.SetItemIndex(i);
        Changed(h, *s);
        return i < 0 ? LRESULT(LB_ERR) : i;
    }
    case LB_GETCURSEL: {
        Integer f = s->Sel.ItemIndex();
        if (IsMultiple(*s)) return f;
        return s->Sel.Selected(f) ? f : LRESULT(LB_ERR);
    }
    case LB_SETSEL: {
        if (!IsMultiple(*s)) return LB_ERR;
        Integer i = Integer(lp);
        if (i == -1) {
            if (wp) s->Sel.SelectAll();
            else s->Sel.ClearSelection();
        } else if (Valid(*s, i)) {
            s->Sel.SetSelected(i, wp != 0);
        } else {
            return LB_ERR;
        }
        Changed(h, *s);
        return LB_OKAY;
    }
    case LB_SELITEMRANGE: case LB_SELITEMRANGEEX: {
        if (!IsMultiple(*s)) return LB_ERR;
        Integer a, b;
        bool on = true;
        if (msg == LB_SELITEMRANGE) {
            on = wp != 0;
            a = LOWORD(uintptr_t(lp));
            b = HIWORD(uintptr_t(lp));
        } else {
            a = Integer(intptr_t(wp));
            b = Integer(lp);
            if (b < a) { std::swap(a, b); on = false; }
        }
        for (Integer i = std::max(a, 0); i <= b && i < Count(*s); ++i) s->Sel.SetSelected(i, on);
        Changed(h, *s);
        return LB_OKAY;
    }
    case LB_GETSEL: {
        Integer i = Integer(intptr_t(wp));
        if (!Valid(*s, i)) return LB_ERR;
        return s->Sel.Selected(i) ? 1 : 0;
    }
    case LB_GETSELCOUNT: return IsMultiple(*s) ? s->Sel.SelCount() : LRESULT(LB_ERR);
    case LB_GETSELITEMS: {
        if (!IsMultiple(*s)) return LB_ERR;
        auto* out = reinterpret_cast<int*>(lp);
        Integer room = Integer(wp), n = 0;
        for (Integer i = 0; i < Count(*s) && n < room; ++i)
            if (s->Sel.Selected(i)) {
                if (out) out[n] = i;
                ++n;
            }
        return n;
    }
    case LB_SETTOPINDEX: {
        Integer i = Integer(intptr_t(wp));
        if (i < 0 || (i >= Count(*s) && Count(*s) > 0)) return LB_ERR;
        SetTop(h, *s, i);
        return LB_OKAY;
    }
    case LB_GETTOPINDEX: return s->Sel.TopIndex();
    case LB_GETITEMRECT: {
        Integer i = Integer(intptr_t(wp));
        auto* r = reinterpret_cast<TRect*>(lp);
        if (!r || (!Valid(*s, i) && !(i == 0 && Count(*s) == 0))) return LB_ERR;
        *r = ItemRectOf(h, *s, i);
        return 1;
    }
    case LB_ITEMFROMPOINT: {
        TPoint p = LParamToPoint(lp);
        TRect c;
        GetClientRect(h, &c);
        Integer i = ItemAtY(h, *s, p.Y);
        bool outside = !PtInRect(c, p) || i < 0;
        if (i < 0) i = p.Y < 0 ? s->Sel.TopIndex() : std::max(Count(*s) - 1, 0);
        return MAKELRESULT(i, outside ? 1 : 0);
    }
    case LB_SETITEMHEIGHT: {
        Integer hgt = Integer(LOWORD(uintptr_t(lp)));
        if (hgt <= 0 || hgt > kMaxItemHeight) return LB_ERR;
        if (IsVariable(*s)) {
            Integer i = Integer(intptr_t(wp));
            if (!Valid(*s, i)) return LB_ERR;
            s->Items[size_t(i)].Height = hgt;
        } else {
            s->ItemHeight = hgt;
        }
        SetTop(h, *s, s->Sel.TopIndex());
        return LB_OKAY;
    }
    case LB_GETITEMHEIGHT: {
        Integer i = Integer(intptr_t(wp));
        if (IsVariable(*s) && !Valid(*s, i)) return Count(*s) ? LRESULT(LB_ERR) : s->ItemHeight;
        return HeightOf(*s, i);
    }
    case LB_SETITEMDATA: {
        Integer i = Integer(intptr_t(wp));
        if (i == -1) {
            for (auto& it : s->Items) it.Data = ULONG_PTR(lp);
            return LB_OKAY;
        }
        if (!Valid(*s, i)) return LB_ERR;
        s->Items[size_t(i)].Data = ULONG_PTR(lp);
        return LB_OKAY;
    }
    case LB_GETITEMDATA: {
        Integer i = Integer(intptr_t(wp));
        if (!Valid(*s, i)) return LB_ERR;
        return LRESULT(s->Items[size_t(i)].Data);
    }
    case LB_FINDSTRING: return FindString(*s, Integer(intptr_t(wp)), reinterpret_cast<const wchar_t*>(lp), false);
    case LB_FINDSTRINGEXACT: return FindString(*s, Integer(intptr_t(wp)), reinterpret_cast<const wchar_t*>(lp), true);
    case LB_SELECTSTRING: {
        Integer i = FindString(*s, Integer(intptr_t(wp)), reinterpret_cast<const wchar_t*>(lp), false);
        if (i < 0) return LB_ERR;
        if (IsMultiple(*s)) {
            s->Sel.SetSelected(i, true);
            s->Sel.SetItemIndex(i);
        } else {
            s->Sel.SetItemIndex(i);
        }
        Changed(h, *s);
        return i;
    }
    case LB_SETCARETINDEX: {
        Integer i = Integer(intptr_t(wp));
        if (!Valid(*s, i)) return LB_ERR;
        s->Sel.SetItemIndex(i);
        Changed(h, *s);
        return LB_OKAY;
    }
    case LB_GETCARETINDEX: return s->Sel.ItemIndex();
    case LB_GETANCHORINDEX: return s->Sel.Anchor();
    default: break;
    }
    return DefWindowProc(h, msg, wp, lp);
}

void RegisterListClasses()
{
    WNDCLASS wc;
    if (!GetClassInfo(nullptr, L"LISTBOX", &wc)) {
        WNDCLASS lb;
        lb.style = CS_DBLCLKS | CS_GLOBALCLASS;
        lb.lpfnWndProc = &ListBoxWndProc;
        lb.hCursor = LoadCursor(nullptr, IDC_ARROW);
        lb.lpszClassName = L"LISTBOX";
        RegisterClass(lb);
    }
    if (!GetClassInfo(nullptr, L"ComboLBox", &wc)) {
        WNDCLASS cl;
        cl.style = CS_DBLCLKS | CS_GLOBALCLASS | CS_SAVEBITS;
        cl.lpfnWndProc = &ListBoxWndProc;
        cl.hCursor = LoadCursor(nullptr, IDC_ARROW);
        cl.lpszClassName = L"ComboLBox";
        RegisterClass(cl);
    }
    RegisterComboClass();
}

// ---------------------------------------------------------------------------
// TListBoxStrings

namespace {

[[noreturn]] void OutOfResources() { throw EOutOfResources(L"Not enough storage is available to complete this operation"); }

String WindowItemText(HWND h, UINT lenMsg, UINT textMsg, Integer i, bool& ok)
{
    LRESULT len = SendMessage(h, lenMsg, WPARAM(i), 0);
    ok = len >= 0;
    if (!ok) return String();
    String t(size_t(len) + 1, L'\0');
    LRESULT n = SendMessage(h, textMsg, WPARAM(i), LPARAM(t.data()));
    t.resize(size_t(std::clamp<LRESULT>(n, 0, len)));
    return t;
}

}  // namespace

// Sorts saved items the way a sorted window keeps them (equal texts in
// their order) and follows the given indices to their new places.
void SortSaved(TStringList& list, std::vector<Integer*> indices, std::vector<bool>* selected)
{
    std::vector<Integer> order(size_t(list.Count()));
    for (size_t i = 0; i < order.size(); ++i) order[i] = Integer(i);
    std::stable_sort(order.begin(), order.end(), [&](Integer a, Integer b) {
        return ListCompareText(list.Strings(a), list.Strings(b)) < 0;
    });
    TStringList sorted;
    std::vector<bool> sel;
    for (Integer old : order) {
        sorted.AddObject(list.Strings(old), list.Objects(old));
        if (selected) sel.push_back(size_t(old) < selected->size() && (*selected)[size_t(old)]);
    }
    for (Integer* index : indices)
        if (*index >= 0) *index = Integer(std::find(order.begin(), order.end(), *index) - order.begin());
    list.Assign(&sorted);
    if (selected) *selected = sel;
}

// Where a text goes in a sorted list of saved items.
Integer SortedPlace(const TStringList& list, const String& S)
{
    Integer i = 0;
    while (i < list.Count() && ListCompareText(list.Strings(i), S) <= 0) ++i;
    return i;
}

Integer TListBoxStrings::GetCount() const
{
    if (FListBox->ItemsInWindow()) return Integer(SendMessage(FListBox->FHandle, LB_GETCOUNT));
    return FListBox->FSaveItems.Count();
}

String TListBoxStrings::Get(Integer Index) const
{
    if (!FListBox->ItemsInWindow()) {
        if (Index < 0 || Index >= FListBox->FSaveItems.Count()) Error(Index);
        return FListBox->FSaveItems.Strings(Index);
    }
    bool ok;
    String t = WindowItemText(FListBox->FHandle, LB_GETTEXTLEN, LB_GETTEXT, Index, ok);
    if (!ok) Error(Index);
    return t;
}

TObject* TListBoxStrings::GetObject(Integer Index) const
{
    if (Index < 0 || Index >= GetCount()) Error(Index);
    return FListBox->UnwrapObject(FListBox->RawObject(Index));
}

void TListBoxStrings::PutObject(Integer Index, TObject* AObject)
{
    if (Index < 0 || Index >= GetCount()) Error(Index);
    FListBox->SetRawObject(Index, FListBox->WrapObject(FListBox->RawObject(Index), AObject));
}

Integer TListBoxStrings::Add(const String& S) { return AddObject(S, nullptr); }

Integer TListBoxStrings::AddObject(const String& S, TObject* AObject)
{
    TCustomListBox* lb = FListBox;
    Integer i;
    if (!lb->ItemsInWindow()) {
        i = lb->FSorted ? SortedPlace(lb->FSaveItems, S) : lb->FSaveItems.Count();
        lb->FSaveItems.Insert(i, S);
        lb->FSaveSelected.clear();
        if (lb->FSaveIndex >= i) ++lb->FSaveIndex;
    } else {
        LRESULT at = SendMessage(lb->FHandle, LB_ADDSTRING, 0, LPARAM(S.c_str()));
        if (at < 0) OutOfResources();
        i = Integer(at);
    }
    lb->SetRawObject(i, lb->WrapObject(nullptr, AObject));
    return i;
}

void TListBoxStrings::Insert(Integer Index, const String& S)
{
    TCustomListBox* lb = FListBox;
    if (Index < 0 || Index > GetCount()) Error(Index);
    if (!lb->ItemsInWindow()) {
        lb->FSaveItems.Insert(Index, S);
        lb->FSaveSelected.clear();
        if (lb->FSaveIndex >= Index) ++lb->FSaveIndex;
    } else if (SendMessage(lb->FHandle, LB_INSERTSTRING, WPARAM(Index), LPARAM(S.c_str())) < 0) {
        OutOfResources();
    }
    lb->SetRawObject(Index, lb->WrapObject(nullptr, nullptr));
}

void TListBoxStrings::Delete(Integer Index)
{
    TCustomListBox* lb = FListBox;
    if (Index < 0 || Index >= GetCount()) Error(Index);
    TObject* raw = lb->RawObject(Index);
    if (!lb->ItemsInWindow()) {
        lb->FSaveItems.Delete(Index);
        lb->FSaveSelected.clear();
        if (lb->FSaveIndex == Index) lb->FSaveIndex = -1;
        else if (lb->FSaveIndex > Index) --lb->FSaveIndex;
    } else {
        SendMessage(lb->FHandle, LB_DELETESTRING, WPARAM(Index));
    }
    lb->ItemRemoved(raw);
}

void TListBoxStrings::Clear()
{
    TCustomListBox* lb = FListBox;
    std::vector<TObject*> raws;
    for (Integer i = 0; i < GetCount(); ++i) raws.push_back(lb->RawObject(i));
    if (!lb->ItemsInWindow()) {
        lb->FSaveItems.Clear();
        lb->FSaveSelected.clear();
        lb->FSaveIndex = -1;
        lb->FSaveTop = 0;
    } else {
        SendMessage(lb->FHandle, LB_RESETCONTENT);
    }
    for (TObject* raw : raws) lb->ItemRemoved(raw);
}

void TListBoxStrings::Put(Integer Index, const String& S)
{
    // The item keeps its data (object and check state) and its place in
    // the selection.
    TCustomListBox* lb = FListBox;
    if (Index < 0 || Index >= GetCount()) Error(Index);
    TObject* raw = lb->RawObject(Index);
    Integer index = lb->ItemIndex();
    bool selected = lb->MultiSelect() && lb->Selected(Index);
    if (!lb->ItemsInWindow()) {
        lb->FSaveItems.SetStrings(Index, S);
        return;
    }
    SendMessage(lb->FHandle, LB_DELETESTRING, WPARAM(Index));
    if (SendMessage(lb->FHandle, LB_INSERTSTRING, WPARAM(Index), LPARAM(S.c_str())) < 0) OutOfResources();
    lb->SetRawObject(Index, raw);
    if (selected) lb->SetSelected(Index, true);
    lb->SetItemIndex(index);
}

Integer TListBoxStrings::IndexOf(const String& S) const
{
    if (!FListBox->ItemsInWindow()) {
        for (Integer i = 0; i < FListBox->FSaveItems.Count(); ++i)
            if (AnsiSameText(FListBox->FSaveItems.Strings(i), S)) return i;
        return -1;
    }
    LRESULT i = SendMessage(FListBox->FHandle, LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(S.c_str()));
    return i < 0 ? -1 : Integer(i);
}

void TListBoxStrings::SetUpdateState(bool Updating)
{
    if (!FListBox->ItemsInWindow()) return;
    SendMessage(FListBox->FHandle, WM_SETREDRAW, Updating ? 0 : 1);
    if (!Updating) FListBox->Invalidate();
}

// ---------------------------------------------------------------------------
// TCustomListBox

TObject* TCustomListBox::RawObject(Integer Index) const
{
    if (!ItemsInWindow()) return FSaveItems.Objects(Index);
    LRESULT d = SendMessage(FHandle, LB_GETITEMDATA, WPARAM(Index));
    return d == LB_ERR ? nullptr : reinterpret_cast<TObject*>(d);
}

void TCustomListBox::SetRawObject(Integer Index, TObject* Raw)
{
    if (!ItemsInWindow()) {
        FSaveItems.SetObjects(Index, Raw);
        return;
    }
    SendMessage(FHandle, LB_SETITEMDATA, WPARAM(Index), LPARAM(reinterpret_cast<uintptr_t>(Raw)));
}

TCustomListBox::TCustomListBox(TComponent* AOwner) : TWinControl(AOwner)
{
    RegisterListClasses();
    FItems = std::make_unique<TListBoxStrings>(this);
    FControlStyle = TControlStyle{csSetCaption, csDoubleClicks, csOpaque};
    FColor = clWindow;
    FParentColor = false;
    FTabStop = true;
    SetBounds(0, 0, 121, 97);
}

TCustomListBox::~TCustomListBox()
{
    DestroyControlCanvas(FCanvas);
    if (FBrush) DeleteObject(FBrush);
}

void TCustomListBox::CreateParams(TCreateParams& P)
{
    RegisterListClasses();
    TWinControl::CreateParams(P);
    CreateSubClass(P, L"LISTBOX");
    P.Style |= WS_VSCROLL | LBS_NOTIFY | LBS_HASSTRINGS;
    if (FSorted) P.Style |= LBS_SORT;
    if (FMultiSelect) P.Style |= FExtendedSelect ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
    if (FStyle == lbOwnerDrawFixed) P.Style |= LBS_OWNERDRAWFIXED;
    if (FStyle == lbOwnerDrawVariable) P.Style |= LBS_OWNERDRAWVARIABLE;
    if (!FIntegralHeight) P.Style |= LBS_NOINTEGRALHEIGHT;
    if (FBorderStyle == bsSingle) P.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::CreateWnd()
{
    TWinControl::CreateWnd();
    if (FStyle == lbOwnerDrawFixed) SendMessage(FHandle, LB_SETITEMHEIGHT, 0, FItemHeight);
    // Move the saved items into the window; until the end the items read
    // from the saved list (owner measuring may ask for them).
    if (FSorted) SortSaved(FSaveItems, {&FSaveIndex, &FSaveTop}, &FSaveSelected);
    FMovingItems = true;
    try {
        SendMessage(FHandle, WM_SETREDRAW, 0);
        for (Integer i = 0; i < FSaveItems.Count(); ++i) {
            LRESULT at = SendMessage(FHandle, LB_INSERTSTRING, WPARAM(-1), LPARAM(FSaveItems.Strings(i).c_str()));
            if (at < 0) OutOfResources();
            SendMessage(FHandle, LB_SETITEMDATA, WPARAM(at), LPARAM(reinterpret_cast<uintptr_t>(FSaveItems.Objects(i))));
        }
        SendMessage(FHandle, WM_SETREDRAW, 1);
    } catch (...) {
        FMovingItems = false;
        throw;
    }
    FMovingItems = false;
    if (FMultiSelect)
        for (size_t i = 0; i < FSaveSelected.size(); ++i)
            if (FSaveSelected[i]) SendMessage(FHandle, LB_SETSEL, 1, LPARAM(i));
    if (FSaveIndex >= 0) SetItemIndex(FSaveIndex);
    if (FSaveTop > 0) SendMessage(FHandle, LB_SETTOPINDEX, WPARAM(FSaveTop));
    FSaveItems.Clear();
    FSaveSelected.clear();
    FSaveIndex = -1;
    FSaveTop = 0;
}

void TCustomListBox::DestroyWnd()
{
    if (FHandle) {
        TStringList saved;
        std::vector<bool> selected;
        Integer n = Count();
        for (Integer i = 0; i < n; ++i) {
            saved.AddObject(FItems->Strings(i), RawObject(i));
            selected.push_back(FMultiSelect && SendMessage(FHandle, LB_GETSEL, WPARAM(i)) > 0);
        }
        Integer index = ItemIndex(), top = TopIndex();
        FSaveItems.Assign(&saved);
        FSaveSelected = selected;
        FSaveIndex = index;
        FSaveTop = top;
    }
    TWinControl::DestroyWnd();
}

Integer TCustomListBox::ItemIndex()
{
    if (!ItemsInWindow()) return FSaveIndex;
    return Integer(SendMessage(FHandle, FMultiSelect ? LB_GETCARETINDEX : LB_GETCURSEL));
}

void TCustomListBox::SetItemIndex(Integer Value)
{
    if (!ItemsInWindow()) {
        FSaveIndex = (Value >= 0 && Value < Count()) ? Value : -1;
        return;
    }
    if (ItemIndex() == Value) return;
    SendMessage(FHandle, FMultiSelect ? LB_SETCARETINDEX : LB_SETCURSEL, WPARAM(Value));
}

void TCustomListBox::SetMultiSelect(bool Value)
{
    if (FMultiSelect == Value) return;
    FMultiSelect = Value;
    RecreateWnd();
}

void TCustomListBox::SetExtendedSelect(bool Value)
{
    if (FExtendedSelect == Value) return;
    FExtendedSelect = Value;
    RecreateWnd();
}

bool TCustomListBox::Selected(Integer Index)
{
    if (Index < 0 || Index >= Count()) throw EListError(L"List index out of bounds (" + IntToStr(Index) + L")");
    if (!ItemsInWindow()) {
        if (!FMultiSelect) return Index == FSaveIndex;
        return size_t(Index) < FSaveSelected.size() && FSaveSelected[size_t(Index)];
    }
    return SendMessage(FHandle, LB_GETSEL, WPARAM(Index)) > 0;
}

void TCustomListBox::SetSelected(Integer Index, bool Value)
{
    if (Index < 0 || Index >= Count()) throw EListError(L"List index out of bounds (" + IntToStr(Index) + L")");
    if (!ItemsInWindow()) {
        if (!FMultiSelect) {
            if (Value) FSaveIndex = Index;
            else if (FSaveIndex == Index) FSaveIndex = -1;
            return;
        }
        FSaveSelected.resize(size_t(Count()), false);
        FSaveSelected[size_t(Index)] = Value;
        return;
    }
    if (FMultiSelect) {
        SendMessage(FHandle, LB_SETSEL, Value ? 1 : 0, Index);
    } else if (Value) {
        SetItemIndex(Index);
    } else if (ItemIndex() == Index) {
        SetItemIndex(-1);
    }
}

Integer TCustomListBox::SelCount()
{
    if (!FMultiSelect) return -1;
    if (!ItemsInWindow()) return Integer(std::count(FSaveSelected.begin(), FSaveSelected.end(), true));
    return Integer(SendMessage(FHandle, LB_GETSELCOUNT));
}

void TCustomListBox::SetSorted(bool Value)
{
    if (FSorted == Value) return;
    FSorted = Value;
    if (HandleAllocated()) {
        RecreateWnd();
    }
    if (FSorted && !ItemsInWindow()) SortSaved(FSaveItems, {&FSaveIndex}, &FSaveSelected);
}

void TCustomListBox::SetStyle(TListBoxStyle Value)
{
    if (FStyle == Value) return;
    FStyle = Value;
    RecreateWnd();
}

Integer TCustomListBox::ItemHeight()
{
    if (FStyle == lbStandard && HandleAllocated()) return Integer(SendMessage(FHandle, LB_GETITEMHEIGHT, 0));
    return FItemHeight;
}

void TCustomListBox::SetItemHeight(Integer Value)
{
    if (Value <= 0 || FItemHeight == Value) return;
    FItemHeight = Value;
    if (HandleAllocated() && FStyle == lbOwnerDrawFixed) {
        SendMessage(FHandle, LB_SETITEMHEIGHT, 0, Value);
        Invalidate();
    }
}

Integer TCustomListBox::TopIndex()
{
    if (!ItemsInWindow()) return FSaveTop;
    return Integer(SendMessage(FHandle, LB_GETTOPINDEX));
}

void TCustomListBox::SetTopIndex(Integer Value)
{
    if (!ItemsInWindow()) {
        FSaveTop = std::max(Value, 0);
        return;
    }
    SendMessage(FHandle, LB_SETTOPINDEX, WPARAM(Value));
}

void TCustomListBox::SetIntegralHeight(bool Value)
{
    if (FIntegralHeight == Value) return;
    FIntegralHeight = Value;
    RecreateWnd();
}

void TCustomListBox::SetBorderStyle(TBorderStyle Value)
{
    if (FBorderStyle == Value) return;
    FBorderStyle = Value;
    RecreateWnd();
}

Integer TCustomListBox::ItemAtPos(TPoint Pos, bool Existing)
{
    if (!HandleAllocated()) return -1;
    if (!PtInRect(ClientRect(), Pos)) return -1;
    LRESULT r = SendMessage(FHandle, LB_ITEMFROMPOINT, 0, PointToLParam(Pos));
    if (HIWORD(uintptr_t(r)) == 0) return Integer(LOWORD(uintptr_t(r)));
    return Existing ? -1 : Count();
}

TRect TCustomListBox::ItemRect(Integer Index)
{
    TRect r;
    Integer n = Count();
    if (!HandleAllocated()) return r;
    if (Index == 0 || Index < n) {
        SendMessage(FHandle, LB_GETITEMRECT, WPARAM(Index), LPARAM(&r));
    } else if (Index == n) {
        SendMessage(FHandle, LB_GETITEMRECT, WPARAM(Index - 1), LPARAM(&r));
        OffsetRect(r, 0, r.Height());
    }
    return r;
}

void TCustomListBox::Clear() { FItems->Clear(); }

void TCustomListBox::ClearSelection()
{
    if (FMultiSelect) {
        if (ItemsInWindow()) SendMessage(FHandle, LB_SETSEL, 0, -1);
        else FSaveSelected.clear();
    } else {
        SetItemIndex(-1);
    }
}

void TCustomListBox::SelectAll()
{
    if (!FMultiSelect) return;
    if (ItemsInWindow()) SendMessage(FHandle, LB_SETSEL, 1, -1);
    else FSaveSelected.assign(size_t(Count()), true);
}

void TCustomListBox::DeleteSelected()
{
    if (FMultiSelect) {
        for (Integer i = Count() - 1; i >= 0; --i)
            if (Selected(i)) FItems->Delete(i);
    } else if (Integer i = ItemIndex(); i >= 0) {
        FItems->Delete(i);
    }
}

TCanvas* TCustomListBox::Canvas()
{
    if (!FCanvas) FCanvas = MakeControlCanvas(this);
    return FCanvas;
}

void TCustomListBox::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case CN_COMMAND: CNCommand(M); return;
    case CN_DRAWITEM: CNDrawItem(M); return;
    case CN_MEASUREITEM: CNMeasureItem(M); return;
    case CN_CTLCOLORLISTBOX: CNCtlColorListBox(M); return;
    default: break;
    }
    TWinControl::Dispatch(M);
}

void TCustomListBox::CNCommand(TMessage& M)
{
    switch (M.WParamHi()) {
    case LBN_SELCHANGE: Click(); break;
    case LBN_DBLCLK: DblClick(); break;
    default: break;
    }
}

void PaintOwnerDrawnItem(TControl* control, TCanvas* c, const DRAWITEMSTRUCT& d,
                         const std::function<void(Integer, TRect, TOwnerDrawState)>& draw)
{
    TOwnerDrawState state = TOwnerDrawState::FromBits(d.itemState & 0xFFFF);
    BindControlCanvas(c, d.hDC);
    try {
        c->Font()->Assign(control->Font());
        c->Brush()->SetColor(control->Color());
        c->Brush()->SetStyle(bsSolid);
        Integer index = Integer(d.itemID);
        if (index >= 0 && state.Contains(odSelected)) {
            c->Brush()->SetColor(clHighlight);
            c->Font()->SetColor(clHighlightText);
        }
        if (index >= 0) draw(index, d.rcItem, state);
        else c->FillRect(d.rcItem);
        if (state.Contains(odFocused)) DrawFocusRect(d.hDC, &d.rcItem);
    } catch (...) {
        BindControlCanvas(c, nullptr);
        throw;
    }
    BindControlCanvas(c, nullptr);
}

void TCustomListBox::CNDrawItem(TMessage& M)
{
    auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(M.LParam);
    if (!d) return;
    PaintOwnerDrawnItem(this, Canvas(), *d,
                        [this](Integer index, TRect r, TOwnerDrawState state) { DrawItem(index, r, state); });
    M.Result = 1;
}

void TCustomListBox::DrawItem(Integer Index, TRect Rect, TOwnerDrawState State)
{
    if (OnDrawItem) {
        OnDrawItem(this, Index, Rect, State);
        return;
    }
    Canvas()->FillRect(Rect);
    if (Index < Count()) Canvas()->TextOut(Rect.Left + 2, Rect.Top, FItems->Strings(Index));
}

void TCustomListBox::CNMeasureItem(TMessage& M)
{
    auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(M.LParam);
    if (!mi) return;
    Integer height = FItemHeight;
    if (FStyle == lbOwnerDrawVariable) MeasureItem(Integer(mi->itemID), height);
    mi->itemHeight = UINT(std::max(height, 1));
    M.Result = 1;
}

void TCustomListBox::MeasureItem(Integer Index, Integer& Height)
{
    if (OnMeasureItem) OnMeasureItem(this, Index, Height);
}

void TCustomListBox::CNCtlColorListBox(TMessage& M)
{
    HDC dc = reinterpret_cast<HDC>(M.WParam);
    SetTextColor(dc, COLORREF(ColorToRGB(Font()->Color())));
    SetBkColor(dc, COLORREF(ColorToRGB(Color())));
    if (!FBrush || FBrushColor != Color()) {
        if (FBrush) DeleteObject(FBrush);
        FBrush = CreateSolidBrush(COLORREF(ColorToRGB(Color())));
        FBrushColor = Color();
    }
    M.Result = LRESULT(FBrush);
}
