// The "COMBOBOX" window class: a selection field (an "EDIT" child for
// drop-down and simple combo boxes), a drop-down button and a list window
// ("ComboLBox") that is a topmost, non-activating popup while dropped down
// (a child below the edit for simple combo boxes); and TCustomComboBox.
#include <algorithm>

#include "platform/base/Exceptions.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/ControlsInternal.h"
#include "platform/ui/StdCtrls_List.h"
#include "platform/ui/StdCtrls_ListInternal.h"
#include "platform/ui/Themes.h"

namespace {

const wchar_t* const kComboProp = L"VelComboBoxState";
constexpr int kEditId = 1001;
constexpr int kListId = 1000;
constexpr Integer kBorder = 3;   // frame and padding around the field

struct TCbState {
    DWORD Style = 0;
    HFONT Font = nullptr;
    HWND Edit = nullptr;
    WNDPROC EditProc = nullptr;  // the edit's own procedure, under ours
    HWND List = nullptr;
    Integer Cur = -1;            // the selected item
    String Text;                 // the field's text when there is no edit
    bool Dropped = false;
    bool Focused = false;
    bool SettingText = false;    // our own change of the edit's text
    bool ExtendedUI = false;
    Integer DroppedWidth = 0;
    Integer MinVisible = 30;
    Integer FieldHeight = 18;    // the selection field's item height
    bool FieldHeightSet = false;
};

TCbState* StateOf(HWND h) { return static_cast<TCbState*>(GetProp(h, kComboProp)); }

DWORD Kind(const TCbState& s) { return s.Style & 3; }
bool IsSimple(const TCbState& s) { return Kind(s) == CBS_SIMPLE; }
bool IsDropList(const TCbState& s) { return Kind(s) == CBS_DROPDOWNLIST; }
bool IsOwnerDraw(const TCbState& s) { return (s.Style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) != 0; }
bool HasStrings(const TCbState& s) { return !IsOwnerDraw(s) || (s.Style & CBS_HASSTRINGS); }

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

void Notify(HWND h, Word code)
{
    if (HWND parent = GetParent(h))
        SendMessage(parent, WM_COMMAND, MAKEWPARAM(int(GetWindowLong(h, GWL_ID)), code), LPARAM(h));
}

Integer Count(const TCbState& s) { return Integer(SendMessage(s.List, LB_GETCOUNT)); }

String ItemText(const TCbState& s, Integer i)
{
    if (!HasStrings(s)) return String();
    LRESULT len = SendMessage(s.List, LB_GETTEXTLEN, WPARAM(i));
    if (len < 0) return String();
    String t(size_t(len) + 1, L'\0');
    LRESULT n = SendMessage(s.List, LB_GETTEXT, WPARAM(i), LPARAM(t.data()));
    t.resize(size_t(std::clamp<LRESULT>(n, 0, len)));
    return t;
}

Integer FullHeight(const TCbState& s) { return s.FieldHeight + 2 * kBorder; }

TRect ButtonRect(HWND h, const TCbState& s)
{
    if (IsSimple(s)) return TRect{};
    TRect c;
    GetClientRect(h, &c);
    Integer w = GetSystemMetrics(SM_CXVSCROLL);
    return TRect{c.Right - kBorder + 1 - w, c.Top + kBorder - 1, c.Right - kBorder + 1, c.Top + FullHeight(s) - kBorder + 1};
}

TRect FieldRect(HWND h, const TCbState& s)
{
    TRect c;
    GetClientRect(h, &c);
    Integer right = IsSimple(s) ? c.Right - kBorder : ButtonRect(h, s).Left - 1;
    return TRect{c.Left + kBorder, c.Top + kBorder, std::max(right, c.Left + kBorder), c.Top + kBorder + s.FieldHeight};
}

void Layout(HWND h, TCbState& s)
{
    TRect f = FieldRect(h, s);
    if (s.Edit) MoveWindow(s.Edit, f.Left, f.Top, f.Width(), f.Height(), TRUE);
    if (IsSimple(s) && s.List) {
        TRect c;
        GetClientRect(h, &c);
        Integer top = FullHeight(s);
        MoveWindow(s.List, 0, top, c.Width(), std::max(c.Height() - top, 0), TRUE);
    }
    InvalidateRect(h, nullptr, TRUE);
}

void SetFieldText(HWND h, TCbState& s, const String& text)
{
    if (s.Edit) {
        s.SettingText = true;
        SetWindowText(s.Edit, text.c_str());
        s.SettingText = false;
        if (s.Focused) SendMessage(s.Edit, EM_SETSEL, 0, -1);
    } else {
        s.Text = text;
    }
    InvalidateRect(h, nullptr, TRUE);
}

// Makes an item the selection (-1: none) without telling anyone.
void SetCur(HWND h, TCbState& s, Integer i)
{
    if (i < 0 || i >= Count(s)) i = -1;
    s.Cur = i;
    SendMessage(s.List, LB_SETCURSEL, WPARAM(i));
    SetFieldText(h, s, i >= 0 ? ItemText(s, i) : String());
}

bool FocusInside(HWND h, const TCbState& s, HWND f)
{
    return f && (f == h || (s.Edit && f == s.Edit) || f == s.List);
}

void CloseUp(HWND h, TCbState& s, bool ok)
{
    if (!s.Dropped) return;
    s.Dropped = false;
    ListSetDropped(s.List, false);
    ShowWindow(s.List, SW_HIDE);
    Integer pick = ListCaret(s.List);
    bool changed = ok && pick >= 0 && pick != s.Cur;
    Notify(h, ok ? CBN_SELENDOK : CBN_SELENDCANCEL);
    if (!IsWindow(h)) return;
    if (changed) SetCur(h, s, pick);
    else SendMessage(s.List, LB_SETCURSEL, WPARAM(s.Cur));
    InvalidateRect(h, nullptr, TRUE);
    Notify(h, CBN_CLOSEUP);
    if (changed && IsWindow(h)) Notify(h, CBN_SELCHANGE);
}

TRect DropRect(HWND h, const TCbState& s)
{
    TRect wr;
    GetWindowRect(h, &wr);
    Integer rows = std::clamp(Count(s), 1, std::max(s.MinVisible, 1));
    TRect frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, DWORD(GetWindowLong(s.List, GWL_STYLE)), FALSE, DWORD(GetWindowLong(s.List, GWL_EXSTYLE)));
    Integer height = ListHeightFor(s.List, rows) + frame.Height();
    Integer width = std::max(s.DroppedWidth, wr.Width());
    TRect r = Bounds(wr.Left, wr.Bottom, width, height);
    // Above the combo box when it does not fit below and there is more room there.
    MONITORINFO mi;
    if (GetMonitorInfo(MonitorFromRect(&wr, MONITOR_DEFAULTTONEAREST), &mi)) {
        if (r.Bottom > mi.rcWork.Bottom && wr.Top - mi.rcWork.Top > mi.rcWork.Bottom - wr.Bottom)
            r = Bounds(wr.Left, wr.Top - height, width, height);
        if (r.Right > mi.rcWork.Right) OffsetRect(r, std::max(mi.rcWork.Right - r.Right, mi.rcWork.Left - r.Left), 0);
    }
    return r;
}

void DropDown(HWND h, TCbState& s)
{
    if (s.Dropped || IsSimple(s)) return;
    Notify(h, CBN_DROPDOWN);  // the owner may fill the list now
    if (!IsWindow(h) || !StateOf(h)) return;
    if (!FocusInside(h, s, GetFocus())) SetFocus(s.Edit ? s.Edit : h);
    s.Dropped = true;
    ListSetCaret(s.List, s.Cur);
    TRect r = DropRect(h, s);
    SetWindowPos(s.List, HWND_TOPMOST, r.Left, r.Top, r.Width(), r.Height(), SWP_SHOWWINDOW | SWP_NOACTIVATE);
    ListSetCaret(s.List, s.Cur);   // scrolled into view at the list's real size
    ListSetDropped(s.List, true);
    InvalidateRect(h, nullptr, TRUE);
}

void SelectionFromList(HWND h, TCbState& s)
{
    Integer i = ListCaret(s.List);
    if (i == s.Cur) return;
    SetCur(h, s, i);
    Notify(h, CBN_SELCHANGE);
}

bool AltHeld() { return (GetKeyState(VK_MENU) & 0x8000) != 0; }

// Keys of the combo box or its edit; answers whether the key was used.
bool ComboKey(HWND h, TCbState& s, Word vk, bool fromEdit)
{
    if (vk == VK_F4 || ((vk == VK_UP || vk == VK_DOWN) && AltHeld())) {
        if (IsSimple(s)) return false;
        if (s.Dropped) CloseUp(h, s, true);
        else DropDown(h, s);
        return true;
    }
    if (s.Dropped) {
        switch (vk) {
        case VK_RETURN: CloseUp(h, s, true); return true;
        case VK_ESCAPE: CloseUp(h, s, false); return true;
        case VK_UP: case VK_DOWN: case VK_PRIOR: case VK_NEXT: SendMessage(s.List, WM_KEYDOWN, vk, 0); return true;
        case VK_HOME: case VK_END:
            if (fromEdit) return false;
            SendMessage(s.List, WM_KEYDOWN, vk, 0);
            return true;
        default: return false;
        }
    }
    switch (vk) {
    case VK_UP: case VK_DOWN: case VK_PRIOR: case VK_NEXT:
        if (s.ExtendedUI && vk == VK_DOWN && !IsSimple(s)) {
            DropDown(h, s);
            return true;
        }
        break;
    case VK_HOME: case VK_END:
        if (fromEdit) return false;
        break;
    default: return false;
    }
    // Closed: the keys move the selection through the list.
    if (s.Cur < 0 && Count(s) > 0 && (vk == VK_DOWN || vk == VK_UP)) {
        SetCur(h, s, 0);
        Notify(h, CBN_SELCHANGE);
        return true;
    }
    SendMessage(s.List, WM_KEYDOWN, vk, 0);  // reports back through ComboListNotify
    return true;
}

void FocusIn(HWND h, TCbState& s)
{
    if (s.Focused) return;
    s.Focused = true;
    if (s.Edit) SendMessage(s.Edit, EM_SETSEL, 0, -1);
    InvalidateRect(h, nullptr, TRUE);
    Notify(h, CBN_SETFOCUS);
}

void FocusOut(HWND h, TCbState& s, HWND to)
{
    if (FocusInside(h, s, to) || !s.Focused) return;
    s.Focused = false;
    if (s.Dropped) CloseUp(h, s, false);
    if (!IsWindow(h)) return;
    if (s.Edit) SendMessage(s.Edit, EM_SETSEL, WPARAM(-1), 0);
    InvalidateRect(h, nullptr, TRUE);
    Notify(h, CBN_KILLFOCUS);
}

// Our layer over the edit's procedure: the combo box keys and focus.
LRESULT ComboEditProc(HWND e, UINT msg, WPARAM wp, LPARAM lp)
{
    HWND h = GetParent(e);
    TCbState* s = h ? StateOf(h) : nullptr;
    if (!s || !s->EditProc) return DefWindowProc(e, msg, wp, lp);
    WNDPROC next = s->EditProc;
    switch (msg) {
    case WM_KEYDOWN: case WM_SYSKEYDOWN:
        if (ComboKey(h, *s, Word(wp), true)) return 0;
        break;
    case WM_CHAR:
        if (s->Dropped && (wp == L'\r' || wp == 0x1B)) return 0;
        break;
    case WM_GETDLGCODE: {
        LRESULT code = CallWindowProc(next, e, msg, wp, lp);
        if (s->Dropped) code |= DLGC_WANTALLKEYS;
        return code;
    }
    case WM_SETFOCUS: {
        LRESULT r = CallWindowProc(next, e, msg, wp, lp);
        FocusIn(h, *s);
        return r;
    }
    case WM_KILLFOCUS: {
        LRESULT r = CallWindowProc(next, e, msg, wp, lp);
        FocusOut(h, *s, reinterpret_cast<HWND>(wp));
        return r;
    }
    case WM_MOUSEWHEEL: return SendMessage(h, msg, wp, lp);
    default: break;
    }
    return CallWindowProc(next, e, msg, wp, lp);
}

void DrawButton(HWND h, const TCbState& s, HDC dc, const TRect& r)
{
    bool enabled = IsWindowEnabled(h) != 0;
    if (HTHEME theme = OpenThemeData(h, L"combobox")) {
        int state = !enabled ? CBXS_DISABLED : s.Dropped ? CBXS_PRESSED : CBXS_NORMAL;
        DrawThemeBackground(theme, dc, CP_DROPDOWNBUTTON, state, &r, nullptr);
        CloseThemeData(theme);
        return;
    }
    TRect b = r;
    DrawFrameControl(dc, &b, DFC_SCROLL,
                     DFCS_SCROLLCOMBOBOX | (s.Dropped ? UINT(DFCS_PUSHED | DFCS_FLAT) : 0u) | (enabled ? 0u : UINT(DFCS_INACTIVE)));
}

void Paint(HWND h, TCbState& s, HDC given)
{
    PAINTSTRUCT ps;
    HDC dc = given ? given : BeginPaint(h, &ps);
    if (!dc) return;
    bool enabled = IsWindowEnabled(h) != 0;
    TRect c;
    GetClientRect(h, &c);
    SetTextColor(dc, GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    HBRUSH brush = nullptr;
    if (HWND parent = GetParent(h))
        brush = reinterpret_cast<HBRUSH>(SendMessage(parent, WM_CTLCOLORLISTBOX, WPARAM(dc), LPARAM(h)));
    if (!brush) brush = GetSysColorBrush(COLOR_WINDOW);
    COLORREF text = enabled ? GetTextColor(dc) : GetSysColor(COLOR_GRAYTEXT);
    TRect top{c.Left, c.Top, c.Right, std::min(c.Bottom, c.Top + FullHeight(s))};
    FillRect(dc, &top, enabled ? brush : GetSysColorBrush(COLOR_BTNFACE));
    if (HTHEME theme = OpenThemeData(h, L"edit")) {
        int state = !enabled ? ETS_DISABLED : s.Focused ? ETS_FOCUSED : ETS_NORMAL;
        COLORREF border = GetSysColor(COLOR_3DSHADOW);
        GetThemeColor(theme, EP_EDITTEXT, state, TMT_BORDERCOLOR, &border);
        HBRUSH b = CreateSolidBrush(border);
        FrameRect(dc, &top, b);
        DeleteObject(b);
        CloseThemeData(theme);
    } else {
        TRect e = top;
        DrawEdge(dc, &e, EDGE_SUNKEN, BF_RECT);
    }
    if (!IsSimple(s)) DrawButton(h, s, dc, ButtonRect(h, s));
    if (!s.Edit) {
        // The selection field of a drop-down list.
        TRect f = FieldRect(h, s);
        bool highlight = s.Focused && !s.Dropped && enabled;
        HGDIOBJ oldFont = SelectObject(dc, s.Font ? HGDIOBJ(s.Font) : GetStockObject(DEFAULT_GUI_FONT));
        if (IsOwnerDraw(s)) {
            DRAWITEMSTRUCT d;
            d.CtlType = ODT_COMBOBOX;
            d.CtlID = UINT(GetWindowLongPtr(h, GWL_ID));
            d.itemID = UINT(s.Cur);
            d.itemAction = ODA_DRAWENTIRE;
            d.itemState = ODS_COMBOBOXEDIT | (highlight ? UINT(ODS_SELECTED | ODS_FOCUS) : 0u) | (enabled ? 0u : UINT(ODS_DISABLED));
            d.hwndItem = h;
            d.hDC = dc;
            d.rcItem = f;
            d.itemData = s.Cur >= 0 ? ULONG_PTR(SendMessage(s.List, LB_GETITEMDATA, WPARAM(s.Cur))) : 0;
            SaveDC(dc);
            if (HWND parent = GetParent(h)) SendMessage(parent, WM_DRAWITEM, d.CtlID, LPARAM(&d));
            RestoreDC(dc, -1);
        } else {
            if (highlight) {
                FillRect(dc, &f, GetSysColorBrush(COLOR_HIGHLIGHT));
                SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
            } else {
                SetTextColor(dc, text);
            }
            SetBkMode(dc, TRANSPARENT);
            TRect t = f;
            t.Left += 2;
            DrawText(dc, s.Text.c_str(), int(s.Text.size()), &t, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
            if (highlight) DrawFocusRect(dc, &f);
        }
        SelectObject(dc, oldFont);
    }
    if (!given) EndPaint(h, &ps);
}

void CreateChildren(HWND h, TCbState& s)
{
    DWORD lbStyle = WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY;
    if (s.Style & CBS_OWNERDRAWFIXED) lbStyle |= LBS_OWNERDRAWFIXED;
    if (s.Style & CBS_OWNERDRAWVARIABLE) lbStyle |= LBS_OWNERDRAWVARIABLE;
    if (s.Style & CBS_HASSTRINGS) lbStyle |= LBS_HASSTRINGS;
    if (s.Style & CBS_SORT) lbStyle |= LBS_SORT;
    if (IsSimple(s)) {
        s.List = CreateWindowEx(WS_EX_CLIENTEDGE, L"ComboLBox", L"", WS_CHILD | WS_VISIBLE | lbStyle, 0, 0, 0, 0, h,
                                reinterpret_cast<HMENU>(uintptr_t(kListId)), nullptr, h);
    } else {
        s.List = CreateWindowEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, L"ComboLBox", L"",
                                WS_POPUP | WS_BORDER | lbStyle, 0, 0, 0, 0, GetAncestor(h, GA_ROOT), nullptr, nullptr, h);
    }
    ListSetCombo(s.List, h);
    WNDCLASS wc;
    if (!IsDropList(s) && GetClassInfo(nullptr, L"EDIT", &wc)) {
        DWORD es = WS_CHILD | WS_VISIBLE | ES_LEFT;
        if (s.Style & CBS_AUTOHSCROLL) es |= ES_AUTOHSCROLL;
        if (s.Style & CBS_UPPERCASE) es |= ES_UPPERCASE;
        if (s.Style & CBS_LOWERCASE) es |= ES_LOWERCASE;
        TRect f = FieldRect(h, s);
        s.Edit = CreateWindowEx(0, L"EDIT", s.Text.c_str(), es, f.Left, f.Top, f.Width(), f.Height(), h,
                                reinterpret_cast<HMENU>(uintptr_t(kEditId)));
        if (s.Edit) {
            s.EditProc = reinterpret_cast<WNDPROC>(GetWindowLongPtr(s.Edit, GWL_WNDPROC));
            SetWindowLongPtr(s.Edit, GWL_WNDPROC, LONG_PTR(reinterpret_cast<intptr_t>(&ComboEditProc)));
        }
    }
}

void FillInfo(HWND h, const TCbState& s, COMBOBOXINFO* info)
{
    info->rcItem = FieldRect(h, s);
    info->rcButton = ButtonRect(h, s);
    info->stateButton = IsSimple(s) ? DWORD(STATE_SYSTEM_INVISIBLE) : (s.Dropped ? DWORD(STATE_SYSTEM_PRESSED) : 0u);
    info->hwndCombo = h;
    info->hwndItem = s.Edit ? s.Edit : h;
    info->hwndList = s.List;
}

LRESULT CopyOut(const String& t, WPARAM size, LPARAM buf)
{
    auto* out = reinterpret_cast<wchar_t*>(buf);
    if (!out || size == 0) return 0;
    size_t n = std::min(t.size(), size_t(size) - 1);
    std::copy_n(t.begin(), n, out);
    out[n] = 0;
    return LRESULT(n);
}

}  // namespace

void ComboListNotify(HWND combo, TComboListEvent what, TPoint screenPt)
{
    TCbState* s = IsWindow(combo) ? StateOf(combo) : nullptr;
    if (!s) return;
    switch (what) {
    case TComboListEvent::Pick: CloseUp(combo, *s, true); break;
    case TComboListEvent::OutsideClick:
        // A press outside the list (the combo box's button included) closes
        // it; the press itself goes no further.
        (void)screenPt;
        CloseUp(combo, *s, false);
        break;
    case TComboListEvent::SelChange: SelectionFromList(combo, *s); break;
    case TComboListEvent::DblClick: Notify(combo, CBN_DBLCLK); break;
    }
}

BOOL GetComboBoxInfo(HWND combo, COMBOBOXINFO* info)
{
    TCbState* s = IsWindow(combo) ? StateOf(combo) : nullptr;
    if (!s || !info) return FALSE;
    FillInfo(combo, *s, info);
    return TRUE;
}

LRESULT ComboBoxWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    TCbState* s = StateOf(h);
    if (!s) {
        if (msg != WM_NCCREATE) return DefWindowProc(h, msg, wp, lp);
        s = new TCbState;
        SetProp(h, kComboProp, s);
        s->Style = DWORD(GetWindowLong(h, GWL_STYLE));
        // A drop-down list shows its selected item only, never a free text.
        if (auto* cs = reinterpret_cast<CREATESTRUCT*>(lp); cs && cs->lpszName && !IsDropList(*s)) s->Text = cs->lpszName;
        s->FieldHeight = FontHeight(nullptr) + 2;
        return DefWindowProc(h, msg, wp, lp);
    }
    switch (msg) {
    case WM_CREATE: {
        if (IsOwnerDraw(*s)) {
            MEASUREITEMSTRUCT mi;
            mi.CtlType = ODT_COMBOBOX;
            mi.CtlID = UINT(GetWindowLongPtr(h, GWL_ID));
            mi.itemID = UINT(-1);
            mi.itemHeight = UINT(s->FieldHeight);
            if (HWND parent = GetParent(h)) SendMessage(parent, WM_MEASUREITEM, mi.CtlID, LPARAM(&mi));
            s->FieldHeight = std::clamp<Integer>(Integer(mi.itemHeight), 1, 255);
        }
        CreateChildren(h, *s);
        if (!s->List) return -1;
        TRect wr;
        GetWindowRect(h, &wr);
        SetWindowPos(h, nullptr, 0, 0, wr.Width(), wr.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        Layout(h, *s);
        return 0;
    }
    case WM_DESTROY:
        if (s->Dropped) {
            s->Dropped = false;
            ListSetDropped(s->List, false);
        }
        if (s->List && !IsSimple(*s)) DestroyWindow(s->List);
        s->List = nullptr;
        return 0;
    case WM_NCDESTROY:
        RemoveProp(h, kComboProp);
        delete s;
        return DefWindowProc(h, msg, wp, lp);
    case WM_WINDOWPOSCHANGING:
        // Drop-down combo boxes are as tall as their selection field.
        if (auto* pos = reinterpret_cast<WINDOWPOS*>(lp); pos && !(pos->flags & SWP_NOSIZE) && !IsSimple(*s))
            pos->cy = FullHeight(*s);
        return DefWindowProc(h, msg, wp, lp);
    case WM_SIZE: Layout(h, *s); return 0;
    case WM_SETFONT:
        s->Font = reinterpret_cast<HFONT>(wp);
        if (!s->FieldHeightSet && !IsOwnerDraw(*s)) s->FieldHeight = FontHeight(s->Font) + 2;
        if (s->Edit) SendMessage(s->Edit, WM_SETFONT, wp, lp);
        if (s->List) SendMessage(s->List, WM_SETFONT, wp, lp);
        if (!IsSimple(*s)) {
            TRect wr;
            GetWindowRect(h, &wr);
            SetWindowPos(h, nullptr, 0, 0, wr.Width(), FullHeight(*s), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        Layout(h, *s);
        return 0;
    case WM_GETFONT: return LRESULT(s->Font);
    case WM_ENABLE:
        if (s->Edit) EnableWindow(s->Edit, BOOL(wp));
        if (IsSimple(*s) && s->List) EnableWindow(s->List, BOOL(wp));
        if (!wp && s->Dropped) CloseUp(h, *s, false);
        InvalidateRect(h, nullptr, TRUE);
        return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: case WM_PRINTCLIENT: Paint(h, *s, reinterpret_cast<HDC>(wp)); return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS | (s->Dropped ? LRESULT(DLGC_WANTALLKEYS) : 0);
    case WM_SETFOCUS:
        if (s->Edit && GetFocus() != s->Edit) {
            SetFocus(s->Edit);
            return 0;
        }
        FocusIn(h, *s);
        return 0;
    case WM_KILLFOCUS: FocusOut(h, *s, reinterpret_cast<HWND>(wp)); return 0;
    case WM_CANCELMODE: CloseUp(h, *s, false); return 0;
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: {
        TPoint p = LParamToPoint(lp);
        if (s->Edit && !PtInRect(ButtonRect(h, *s), p)) return 0;
        if (IsSimple(*s)) return 0;
        if (!FocusInside(h, *s, GetFocus())) SetFocus(s->Edit ? s->Edit : h);
        if (!IsWindow(h) || !StateOf(h)) return 0;
        if (s->Dropped) CloseUp(h, *s, false);
        else DropDown(h, *s);
        return 0;
    }
    case WM_MOUSEWHEEL: {
        if (s->Dropped) return SendMessage(s->List, msg, wp, lp);
        int notches = GET_WHEEL_DELTA_WPARAM(wp) / WHEEL_DELTA;
        for (int k = 0; k < std::abs(notches); ++k) ComboKey(h, *s, notches > 0 ? VK_UP : VK_DOWN, false);
        return 0;
    }
    case WM_KEYDOWN: case WM_SYSKEYDOWN:
        if (ComboKey(h, *s, Word(wp), false)) return 0;
        return DefWindowProc(h, msg, wp, lp);
    case WM_CHAR:
        if (IsDropList(*s) && wp >= L' ') SendMessage(s->List, WM_CHAR, wp, lp);
        return 0;
    case WM_COMMAND:
        if (s->Edit && reinterpret_cast<HWND>(lp) == s->Edit) {
            Word code = HIWORD(wp);
            if (s->SettingText) return 0;
            if (code == EN_UPDATE) Notify(h, CBN_EDITUPDATE);
            if (code == EN_CHANGE) {
                // Typed text is the selection only when it is an item's.
                if (!IsWindow(h) || !(s = StateOf(h))) return 0;
                String typed = GetWindowText(s->Edit);
                LRESULT exact = typed.empty() ? -1 : SendMessage(s->List, LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(typed.c_str()));
                s->Cur = exact < 0 ? -1 : Integer(exact);
                Notify(h, CBN_EDITCHANGE);
                // The list follows what is typed.
                if (IsWindow(h) && (s = StateOf(h)) && s->Dropped) {
                    String t = GetWindowText(s->Edit);
                    LRESULT i = t.empty() ? -1 : SendMessage(s->List, LB_FINDSTRING, WPARAM(-1), LPARAM(t.c_str()));
                    ListSetCaret(s->List, Integer(i));
                }
            }
        }
        return 0;
    case WM_CTLCOLOREDIT: case WM_CTLCOLORSTATIC: case WM_CTLCOLORLISTBOX:
        // The edit's and the list's colours come from the combo box's parent.
        if (HWND parent = GetParent(h)) return SendMessage(parent, msg, wp, LPARAM(h));
        return 0;

    case WM_SETTEXT: {
        String t = lp ? reinterpret_cast<const wchar_t*>(lp) : L"";
        if (IsDropList(*s)) {
            LRESULT i = SendMessage(s->List, LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(t.c_str()));
            if (i < 0 && !t.empty()) return CB_ERR;
            SetCur(h, *s, Integer(i));
            return TRUE;
        }
        DefWindowProc(h, msg, wp, lp);
        if (s->Edit) SetWindowText(s->Edit, t.c_str());
        else s->Text = t;
        InvalidateRect(h, nullptr, TRUE);
        return TRUE;
    }
    case WM_GETTEXT: return CopyOut(s->Edit ? GetWindowText(s->Edit) : s->Text, wp, lp);
    case WM_GETTEXTLENGTH: return LRESULT((s->Edit ? GetWindowText(s->Edit) : s->Text).size());

    case CB_ADDSTRING: return SendMessage(s->List, LB_ADDSTRING, 0, lp);
    case CB_INSERTSTRING: return SendMessage(s->List, LB_INSERTSTRING, wp, lp);
    case CB_DELETESTRING: {
        Integer i = Integer(intptr_t(wp));
        LRESULT r = SendMessage(s->List, LB_DELETESTRING, wp);
        if (r < 0) return CB_ERR;
        if (i == s->Cur) {
            s->Cur = -1;
            if (!s->Edit) SetFieldText(h, *s, String());
        } else if (i < s->Cur) {
            --s->Cur;
        }
        SendMessage(s->List, LB_SETCURSEL, WPARAM(s->Cur));
        return r;
    }
    case CB_RESETCONTENT:
        SendMessage(s->List, LB_RESETCONTENT);
        s->Cur = -1;
        SetFieldText(h, *s, String());
        return CB_OKAY;
    case CB_GETCOUNT: return Count(*s);
    case CB_GETLBTEXT: return SendMessage(s->List, LB_GETTEXT, wp, lp);
    case CB_GETLBTEXTLEN: return SendMessage(s->List, LB_GETTEXTLEN, wp, lp);
    case CB_SETCURSEL: {
        Integer i = Integer(intptr_t(wp));
        SetCur(h, *s, i);
        return s->Cur < 0 ? LRESULT(CB_ERR) : s->Cur;
    }
    case CB_GETCURSEL: return s->Cur;
    case CB_FINDSTRING: return SendMessage(s->List, LB_FINDSTRING, wp, lp);
    case CB_FINDSTRINGEXACT: return SendMessage(s->List, LB_FINDSTRINGEXACT, wp, lp);
    case CB_SELECTSTRING: {
        LRESULT i = SendMessage(s->List, LB_FINDSTRING, wp, lp);
        if (i < 0) return CB_ERR;
        SetCur(h, *s, Integer(i));
        return i;
    }
    case CB_SETITEMDATA: return SendMessage(s->List, LB_SETITEMDATA, wp, lp);
    case CB_GETITEMDATA: return SendMessage(s->List, LB_GETITEMDATA, wp, lp);
    case CB_SHOWDROPDOWN:
        if (wp) DropDown(h, *s);
        else CloseUp(h, *s, false);
        return TRUE;
    case CB_GETDROPPEDSTATE: return s->Dropped ? TRUE : FALSE;
    case CB_SETDROPPEDWIDTH: {
        Integer w = Integer(intptr_t(wp));
        if (w < 0) return CB_ERR;
        s->DroppedWidth = w;
        TRect wr;
        GetWindowRect(h, &wr);
        return std::max(w, wr.Width());
    }
    case CB_GETDROPPEDWIDTH: {
        TRect wr;
        GetWindowRect(h, &wr);
        return std::max(s->DroppedWidth, wr.Width());
    }
    case CB_GETDROPPEDCONTROLRECT: {
        auto* r = reinterpret_cast<TRect*>(lp);
        if (!r) return FALSE;
        TRect wr;
        GetWindowRect(h, &wr);
        TRect d = DropRect(h, *s);
        *r = TRect{wr.Left, wr.Top, wr.Left + d.Width(), wr.Bottom + d.Height()};
        return TRUE;
    }
    case CB_SETEDITSEL:
        if (!s->Edit) return CB_ERR;
        SendMessage(s->Edit, EM_SETSEL, WPARAM(intptr_t(int16_t(LOWORD(uintptr_t(lp))))),
                    LPARAM(int16_t(HIWORD(uintptr_t(lp)))));
        return TRUE;
    case CB_GETEDITSEL:
        if (!s->Edit) return CB_ERR;
        return SendMessage(s->Edit, EM_GETSEL, wp, lp);
    case CB_LIMITTEXT:
        if (!s->Edit) return CB_ERR;
        SendMessage(s->Edit, EM_LIMITTEXT, wp, 0);
        return TRUE;
    case CB_SETITEMHEIGHT: {
        Integer hgt = Integer(LOWORD(uintptr_t(lp)));
        if (hgt <= 0 || hgt > 255) return CB_ERR;
        if (Integer(intptr_t(wp)) == -1) {
            s->FieldHeight = hgt;
            s->FieldHeightSet = true;
            if (!IsSimple(*s)) {
                TRect wr;
                GetWindowRect(h, &wr);
                SetWindowPos(h, nullptr, 0, 0, wr.Width(), FullHeight(*s), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
            Layout(h, *s);
            return CB_OKAY;
        }
        return SendMessage(s->List, LB_SETITEMHEIGHT, wp, lp);
    }
    case CB_GETITEMHEIGHT:
        if (Integer(intptr_t(wp)) == -1) return s->FieldHeight;
        return SendMessage(s->List, LB_GETITEMHEIGHT, wp < 0x80000000u ? wp : 0);
    case CB_GETCOMBOBOXINFO: {
        auto* info = reinterpret_cast<COMBOBOXINFO*>(lp);
        if (!info) return FALSE;
        FillInfo(h, *s, info);
        return TRUE;
    }
    case CB_SETMINVISIBLE:
        if (Integer(intptr_t(wp)) <= 0) return FALSE;
        s->MinVisible = Integer(intptr_t(wp));
        return TRUE;
    case CB_GETMINVISIBLE: return s->MinVisible;
    case CB_SETEXTENDEDUI: s->ExtendedUI = wp != 0; return CB_OKAY;
    case CB_GETEXTENDEDUI: return s->ExtendedUI ? TRUE : FALSE;
    case CB_GETTOPINDEX: return SendMessage(s->List, LB_GETTOPINDEX);
    case CB_SETTOPINDEX: return SendMessage(s->List, LB_SETTOPINDEX, wp) < 0 ? CB_ERR : CB_OKAY;
    default: break;
    }
    return DefWindowProc(h, msg, wp, lp);
}

void RegisterComboClass()
{
    WNDCLASS wc;
    if (GetClassInfo(nullptr, L"COMBOBOX", &wc)) return;
    WNDCLASS cb;
    cb.style = CS_DBLCLKS | CS_GLOBALCLASS;
    cb.lpfnWndProc = &ComboBoxWndProc;
    cb.hCursor = LoadCursor(nullptr, IDC_ARROW);
    cb.lpszClassName = L"COMBOBOX";
    RegisterClass(cb);
}

// ---------------------------------------------------------------------------
// TComboBoxStrings

Integer TComboBoxStrings::GetCount() const
{
    if (FComboBox->ItemsInWindow()) return Integer(SendMessage(FComboBox->FHandle, CB_GETCOUNT));
    return FComboBox->FSaveItems.Count();
}

String TComboBoxStrings::Get(Integer Index) const
{
    if (!FComboBox->ItemsInWindow()) {
        if (Index < 0 || Index >= FComboBox->FSaveItems.Count()) Error(Index);
        return FComboBox->FSaveItems.Strings(Index);
    }
    HWND h = FComboBox->FHandle;
    LRESULT len = SendMessage(h, CB_GETLBTEXTLEN, WPARAM(Index));
    if (len < 0) Error(Index);
    String t(size_t(len) + 1, L'\0');
    LRESULT n = SendMessage(h, CB_GETLBTEXT, WPARAM(Index), LPARAM(t.data()));
    t.resize(size_t(std::clamp<LRESULT>(n, 0, len)));
    return t;
}

TObject* TComboBoxStrings::GetObject(Integer Index) const
{
    if (Index < 0 || Index >= GetCount()) Error(Index);
    if (!FComboBox->ItemsInWindow()) return FComboBox->FSaveItems.Objects(Index);
    return reinterpret_cast<TObject*>(SendMessage(FComboBox->FHandle, CB_GETITEMDATA, WPARAM(Index)));
}

void TComboBoxStrings::PutObject(Integer Index, TObject* AObject)
{
    if (Index < 0 || Index >= GetCount()) Error(Index);
    if (!FComboBox->ItemsInWindow()) {
        FComboBox->FSaveItems.SetObjects(Index, AObject);
        return;
    }
    SendMessage(FComboBox->FHandle, CB_SETITEMDATA, WPARAM(Index), LPARAM(reinterpret_cast<uintptr_t>(AObject)));
}

Integer TComboBoxStrings::Add(const String& S) { return AddObject(S, nullptr); }

Integer TComboBoxStrings::AddObject(const String& S, TObject* AObject)
{
    TCustomComboBox* cb = FComboBox;
    if (!cb->ItemsInWindow()) {
        Integer i = cb->FSorted ? SortedPlace(cb->FSaveItems, S) : cb->FSaveItems.Count();
        cb->FSaveItems.InsertObject(i, S, AObject);
        if (cb->FSaveIndex >= i) ++cb->FSaveIndex;
        return i;
    }
    LRESULT i = SendMessage(cb->FHandle, CB_ADDSTRING, 0, LPARAM(S.c_str()));
    if (i < 0) throw EOutOfResources(L"Not enough storage is available to complete this operation");
    SendMessage(cb->FHandle, CB_SETITEMDATA, WPARAM(i), LPARAM(reinterpret_cast<uintptr_t>(AObject)));
    return Integer(i);
}

void TComboBoxStrings::Insert(Integer Index, const String& S)
{
    TCustomComboBox* cb = FComboBox;
    if (Index < 0 || Index > GetCount()) Error(Index);
    if (!cb->ItemsInWindow()) {
        cb->FSaveItems.Insert(Index, S);
        if (cb->FSaveIndex >= Index) ++cb->FSaveIndex;
        return;
    }
    if (SendMessage(cb->FHandle, CB_INSERTSTRING, WPARAM(Index), LPARAM(S.c_str())) < 0)
        throw EOutOfResources(L"Not enough storage is available to complete this operation");
}

void TComboBoxStrings::Delete(Integer Index)
{
    TCustomComboBox* cb = FComboBox;
    if (Index < 0 || Index >= GetCount()) Error(Index);
    if (!cb->ItemsInWindow()) {
        cb->FSaveItems.Delete(Index);
        if (cb->FSaveIndex == Index) cb->FSaveIndex = -1;
        else if (cb->FSaveIndex > Index) --cb->FSaveIndex;
        return;
    }
    SendMessage(cb->FHandle, CB_DELETESTRING, WPARAM(Index));
}

void TComboBoxStrings::Clear()
{
    TCustomComboBox* cb = FComboBox;
    if (!cb->ItemsInWindow()) {
        cb->FSaveItems.Clear();
        cb->FSaveIndex = -1;
        return;
    }
    String text = cb->Text();
    SendMessage(cb->FHandle, CB_RESETCONTENT);
    // The typed text of an edit stays.
    if (cb->Style() == csDropDown || cb->Style() == csSimple) cb->SetText(text);
}

Integer TComboBoxStrings::IndexOf(const String& S) const
{
    if (!FComboBox->ItemsInWindow()) {
        for (Integer i = 0; i < FComboBox->FSaveItems.Count(); ++i)
            if (AnsiSameText(FComboBox->FSaveItems.Strings(i), S)) return i;
        return -1;
    }
    LRESULT i = SendMessage(FComboBox->FHandle, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(S.c_str()));
    return i < 0 ? -1 : Integer(i);
}

void TComboBoxStrings::SetUpdateState(bool Updating)
{
    if (!FComboBox->ItemsInWindow()) return;
    if (HWND list = FComboBox->ListHandle()) SendMessage(list, WM_SETREDRAW, Updating ? 0 : 1);
}

// ---------------------------------------------------------------------------
// TCustomComboBox

namespace {
const wchar_t* const kComboControlProp = L"VelComboControl";
}

TCustomComboBox::TCustomComboBox(TComponent* AOwner) : TWinControl(AOwner)
{
    RegisterListClasses();
    FItems = std::make_unique<TComboBoxStrings>(this);
    FControlStyle = TControlStyle{csSetCaption, csDoubleClicks, csFixedHeight};
    FColor = clWindow;
    FParentColor = false;
    FTabStop = true;
    SetBounds(0, 0, 145, 24);
}

TCustomComboBox::~TCustomComboBox()
{
    if (FEditHandle && IsWindow(FEditHandle)) {
        SetWindowLongPtr(FEditHandle, GWL_WNDPROC, LONG_PTR(reinterpret_cast<intptr_t>(FEditDefProc)));
        RemoveProp(FEditHandle, kComboControlProp);
    }
    FEditHandle = nullptr;
    DestroyControlCanvas(FCanvas);
    if (FBrush) DeleteObject(FBrush);
}

void TCustomComboBox::CreateParams(TCreateParams& P)
{
    RegisterListClasses();
    TWinControl::CreateParams(P);
    CreateSubClass(P, L"COMBOBOX");
    P.Style |= WS_VSCROLL | CBS_AUTOHSCROLL | CBS_HASSTRINGS;
    switch (FStyle) {
    case csDropDown: P.Style |= CBS_DROPDOWN; break;
    case csSimple: P.Style |= CBS_SIMPLE; break;
    case csDropDownList: P.Style |= CBS_DROPDOWNLIST; break;
    case csOwnerDrawFixed: P.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED; break;
    case csOwnerDrawVariable: P.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE; break;
    }
    if (FSorted) P.Style |= CBS_SORT;
    // The frame is drawn by the window itself.
    P.Style &= ~DWORD(WS_VSCROLL);
}

void TCustomComboBox::CreateWnd()
{
    String text = FText;
    TWinControl::CreateWnd();
    SendMessage(FHandle, CB_SETMINVISIBLE, WPARAM(FDropDownCount));
    if (FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable) {
        SendMessage(FHandle, CB_SETITEMHEIGHT, 0, FItemHeight);
        SendMessage(FHandle, CB_SETITEMHEIGHT, WPARAM(-1), FItemHeight);
    }
    if (FMaxLength > 0) SendMessage(FHandle, CB_LIMITTEXT, WPARAM(FMaxLength));
    if (FSorted) SortSaved(FSaveItems, {&FSaveIndex}, nullptr);
    FMovingItems = true;
    try {
        for (Integer i = 0; i < FSaveItems.Count(); ++i) {
            LRESULT at = SendMessage(FHandle, CB_INSERTSTRING, WPARAM(-1), LPARAM(FSaveItems.Strings(i).c_str()));
            if (at < 0) throw EOutOfResources(L"Not enough storage is available to complete this operation");
            SendMessage(FHandle, CB_SETITEMDATA, WPARAM(at), LPARAM(reinterpret_cast<uintptr_t>(FSaveItems.Objects(i))));
        }
    } catch (...) {
        FMovingItems = false;
        throw;
    }
    FMovingItems = false;
    if (FSaveIndex >= 0) SendMessage(FHandle, CB_SETCURSEL, WPARAM(FSaveIndex));
    else if (!text.empty()) SendMessage(FHandle, WM_SETTEXT, 0, LPARAM(text.c_str()));  // a drop-down list selects it
    FSaveItems.Clear();
    FSaveIndex = -1;
    COMBOBOXINFO info;
    SendMessage(FHandle, CB_GETCOMBOBOXINFO, 0, LPARAM(&info));
    if (info.hwndItem && info.hwndItem != FHandle) {
        FEditHandle = info.hwndItem;
        SetProp(FEditHandle, kComboControlProp, this);
        FEditDefProc = reinterpret_cast<WNDPROC>(GetWindowLongPtr(FEditHandle, GWL_WNDPROC));
        SetWindowLongPtr(FEditHandle, GWL_WNDPROC, LONG_PTR(reinterpret_cast<intptr_t>(&EditSubclassProc)));
    }
}

void TCustomComboBox::DestroyWnd()
{
    if (FHandle) {
        TStringList saved;
        for (Integer i = 0; i < Count(); ++i) saved.AddObject(FItems->Strings(i), FItems->Objects(i));
        Integer index = ItemIndex();
        FSaveItems.Assign(&saved);
        FSaveIndex = index;
    }
    if (FEditHandle && IsWindow(FEditHandle)) {
        SetWindowLongPtr(FEditHandle, GWL_WNDPROC, LONG_PTR(reinterpret_cast<intptr_t>(FEditDefProc)));
        RemoveProp(FEditHandle, kComboControlProp);
    }
    FEditHandle = nullptr;
    TWinControl::DestroyWnd();
}

Integer TCustomComboBox::Count() const { return FItems->Count(); }

Integer TCustomComboBox::ItemIndex()
{
    if (!ItemsInWindow()) return FSaveIndex;
    return Integer(SendMessage(FHandle, CB_GETCURSEL));
}

void TCustomComboBox::SetItemIndex(Integer Value)
{
    if (!ItemsInWindow()) {
        FSaveIndex = (Value >= 0 && Value < Count()) ? Value : -1;
        if (FSaveIndex >= 0) FText = FSaveItems.Strings(FSaveIndex);
        return;
    }
    if (ItemIndex() == Value) return;
    SendMessage(FHandle, CB_SETCURSEL, WPARAM(Value));
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value)
{
    if (FStyle == Value) return;
    FStyle = Value;
    RecreateWnd();
}

bool TCustomComboBox::DroppedDown()
{
    return HandleAllocated() && SendMessage(FHandle, CB_GETDROPPEDSTATE) != 0;
}

void TCustomComboBox::SetDroppedDown(bool Value) { SendMessage(Handle(), CB_SHOWDROPDOWN, Value ? 1 : 0); }

void TCustomComboBox::SetDropDownCount(Integer Value)
{
    if (Value <= 0) return;
    FDropDownCount = Value;
    if (HandleAllocated()) SendMessage(FHandle, CB_SETMINVISIBLE, WPARAM(Value));
}

Integer TCustomComboBox::ItemHeight()
{
    if (HandleAllocated() && !(FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable))
        return Integer(SendMessage(FHandle, CB_GETITEMHEIGHT, 0));
    return FItemHeight;
}

void TCustomComboBox::SetItemHeight(Integer Value)
{
    if (Value <= 0) return;
    FItemHeight = Value;
    if (HandleAllocated() && (FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable)) {
        SendMessage(FHandle, CB_SETITEMHEIGHT, 0, Value);
        SendMessage(FHandle, CB_SETITEMHEIGHT, WPARAM(-1), Value);
        Invalidate();
    }
}

void TCustomComboBox::SetSorted(bool Value)
{
    if (FSorted == Value) return;
    FSorted = Value;
    if (HandleAllocated()) RecreateWnd();
    if (FSorted && !ItemsInWindow()) SortSaved(FSaveItems, {&FSaveIndex}, nullptr);
}

void TCustomComboBox::SetMaxLength(Integer Value)
{
    FMaxLength = std::max(Value, 0);
    if (HandleAllocated()) SendMessage(FHandle, CB_LIMITTEXT, WPARAM(FMaxLength));
}

Integer TCustomComboBox::SelStart()
{
    DWORD a = 0, b = 0;
    if (HandleAllocated()) SendMessage(FHandle, CB_GETEDITSEL, WPARAM(&a), LPARAM(&b));
    return Integer(a);
}

void TCustomComboBox::SetSelStart(Integer Value)
{
    if (HandleAllocated()) SendMessage(FHandle, CB_SETEDITSEL, 0, MAKELPARAM(Value, Value));
}

Integer TCustomComboBox::SelLength()
{
    DWORD a = 0, b = 0;
    if (HandleAllocated()) SendMessage(FHandle, CB_GETEDITSEL, WPARAM(&a), LPARAM(&b));
    return Integer(b) - Integer(a);
}

void TCustomComboBox::SetSelLength(Integer Value)
{
    Integer start = SelStart();
    if (HandleAllocated()) SendMessage(FHandle, CB_SETEDITSEL, 0, MAKELPARAM(start, start + std::max(Value, 0)));
}

String TCustomComboBox::SelText()
{
    String t = Text();
    Integer a = std::clamp(SelStart(), 0, Integer(t.size()));
    Integer n = std::clamp(SelLength(), 0, Integer(t.size()) - a);
    return t.substr(size_t(a), size_t(n));
}

void TCustomComboBox::SetSelText(const String& Value)
{
    if (FEditHandle) SendMessage(FEditHandle, EM_REPLACESEL, 1, LPARAM(Value.c_str()));
}

void TCustomComboBox::SelectAll()
{
    if (HandleAllocated()) SendMessage(FHandle, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

void TCustomComboBox::Clear()
{
    FItems->Clear();
    SetText(String());
}

TCanvas* TCustomComboBox::Canvas()
{
    if (!FCanvas) FCanvas = MakeControlCanvas(this);
    return FCanvas;
}

HWND TCustomComboBox::EditHandle()
{
    HandleNeeded();
    return FEditHandle;
}

HWND TCustomComboBox::ListHandle()
{
    COMBOBOXINFO info;
    if (!HandleAllocated() || !SendMessage(FHandle, CB_GETCOMBOBOXINFO, 0, LPARAM(&info))) return nullptr;
    return info.hwndList;
}

void TCustomComboBox::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case CN_COMMAND: CNCommand(M); return;
    case CN_DRAWITEM: CNDrawItem(M); return;
    case CN_MEASUREITEM: CNMeasureItem(M); return;
    case CN_CTLCOLORLISTBOX: case CN_CTLCOLOREDIT: case CN_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORSTATIC:
        CtlColor(M);
        return;
    default: break;
    }
    TWinControl::Dispatch(M);
}

void TCustomComboBox::CNCommand(TMessage& M)
{
    switch (M.WParamHi()) {
    case CBN_DBLCLK: DblClick(); break;
    case CBN_EDITCHANGE: Change(); break;
    case CBN_DROPDOWN: DropDown(); break;
    case CBN_SELCHANGE:
        Click();
        Select();
        break;
    case CBN_CLOSEUP: CloseUp(); break;
    default: break;
    }
}

void TCustomComboBox::Change()
{
    if (OnChange) OnChange(this);
}

void TCustomComboBox::Select()
{
    if (OnSelect) OnSelect(this);
    else Change();
}

void TCustomComboBox::DropDown()
{
    if (OnDropDown) OnDropDown(this);
}

void TCustomComboBox::CloseUp()
{
    if (OnCloseUp) OnCloseUp(this);
}

void TCustomComboBox::CNDrawItem(TMessage& M)
{
    auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(M.LParam);
    if (!d) return;
    PaintOwnerDrawnItem(this, Canvas(), *d,
                        [this](Integer index, TRect r, TOwnerDrawState state) { DrawItem(index, r, state); });
    M.Result = 1;
}

void TCustomComboBox::DrawItem(Integer Index, TRect Rect, TOwnerDrawState State)
{
    if (OnDrawItem) {
        OnDrawItem(this, Index, Rect, State);
        return;
    }
    Canvas()->FillRect(Rect);
    if (Index < Count()) Canvas()->TextOut(Rect.Left + 2, Rect.Top, FItems->Strings(Index));
}

void TCustomComboBox::CNMeasureItem(TMessage& M)
{
    auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(M.LParam);
    if (!mi) return;
    Integer height = FItemHeight;
    if (FStyle == csOwnerDrawVariable && Integer(mi->itemID) >= 0) MeasureItem(Integer(mi->itemID), height);
    mi->itemHeight = UINT(std::max(height, 1));
    M.Result = 1;
}

void TCustomComboBox::MeasureItem(Integer Index, Integer& Height)
{
    if (OnMeasureItem) OnMeasureItem(this, Index, Height);
}

void TCustomComboBox::CtlColor(TMessage& M)
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

LRESULT TCustomComboBox::EditSubclassProc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    auto* cb = static_cast<TCustomComboBox*>(GetProp(h, kComboControlProp));
    if (!cb || !cb->FEditDefProc) return DefWindowProc(h, msg, wp, lp);
    TMessage m{msg, wp, lp, 0};
    cb->EditWndProc(m);
    return m.Result;
}

void TCustomComboBox::EditWndProc(TMessage& M)
{
    HWND edit = FEditHandle;
    WNDPROC next = FEditDefProc;
    auto pass = [&] { M.Result = CallWindowProc(next, edit, M.Msg, M.WParam, M.LParam); };
    switch (M.Msg) {
    case WM_KEYDOWN: case WM_SYSKEYDOWN:
        if (DoKeyDown(M)) return;
        break;
    case WM_KEYUP: case WM_SYSKEYUP:
        if (DoKeyUp(M)) return;
        break;
    case WM_CHAR: {
        if (DoKeyPress(M)) return;
        Char ch = Char(M.WParam);
        if (FAutoComplete && ch >= L' ' && AutoCompleteChar(ch)) return;
        break;
    }
    case WM_SETFOCUS: {
        pass();
        // The control has the keyboard while its edit has it.
        TMessage f{WM_SETFOCUS, M.WParam, M.LParam, 0};
        WMSetFocus(f);
        return;
    }
    default: break;
    }
    pass();
}

bool TCustomComboBox::AutoCompleteChar(Char ch)
{
    // The text as it would be with the character typed over the selection;
    // only typing at the end completes.
    String t = Text();
    Integer a = std::clamp(SelStart(), 0, Integer(t.size()));
    Integer n = std::clamp(SelLength(), 0, Integer(t.size()) - a);
    if (a + n != Integer(t.size())) return false;
    String typed = t.substr(0, size_t(a)) + ch;
    if (FMaxLength > 0 && Integer(typed.size()) > FMaxLength) return false;
    LRESULT i = SendMessage(FHandle, CB_FINDSTRING, WPARAM(-1), LPARAM(typed.c_str()));
    if (i < 0) return false;
    SendMessage(FHandle, CB_SETCURSEL, WPARAM(i));
    SendMessage(FHandle, CB_SETEDITSEL, 0, MAKELPARAM(int(typed.size()), -1));
    Change();
    return true;
}
