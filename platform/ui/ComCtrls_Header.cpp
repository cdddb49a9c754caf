// The "SysHeader32" window class: a row of column captions that the user
// clicks and resizes by dragging the dividers between them.
#include <algorithm>

#include "platform/ui/ComCtrls.h"
#include "platform/ui/ComCtrlsInternal.h"
#include "platform/ui/Themes.h"

namespace {

const wchar_t* const kHeaderProp = L"VelHeaderState";
constexpr int kDividerSlop = 4;   // pixels either side of a divider that grab it

struct THdItem {
    String Text;
    int Width = 0;
    int Fmt = HDF_LEFT | HDF_STRING;
    LPARAM Param = 0;
    int Image = -1;
};

struct THeaderState {
    std::vector<THdItem> Items;
    HFONT Font = nullptr;
    int Hot = -1;
    int Pressed = -1;        // button held on an item
    bool PressedInside = false;
    int Tracking = -1;       // divider being dragged: the item left of it
    int TrackStartX = 0, TrackStartWidth = 0, TrackWidth = 0;
};

THeaderState* StateOf(HWND h) { return static_cast<THeaderState*>(GetProp(h, kHeaderProp)); }

int ItemLeft(const THeaderState& s, int i)
{
    int x = 0;
    for (int k = 0; k < i; ++k) x += s.Items[size_t(k)].Width;
    return x;
}

TRect ItemRect(HWND h, const THeaderState& s, int i)
{
    TRect c;
    GetClientRect(h, &c);
    int left = ItemLeft(s, i);
    return TRect{left, 0, left + s.Items[size_t(i)].Width, c.Bottom};
}

// The item whose divider (right edge) is under x, or -1.
int DividerAt(const THeaderState& s, int x)
{
    int found = -1, right = 0;
    for (int i = 0; i < int(s.Items.size()); ++i) {
        right += s.Items[size_t(i)].Width;
        if (x >= right - kDividerSlop && x < right + kDividerSlop) found = i;
    }
    return found;
}

int ItemAt(const THeaderState& s, int x)
{
    int left = 0;
    for (int i = 0; i < int(s.Items.size()); ++i) {
        int w = s.Items[size_t(i)].Width;
        if (x >= left && x < left + w) return i;
        left += w;
    }
    return -1;
}

LRESULT Notify(HWND h, int code, int item, HDITEM* it = nullptr)
{
    NMHEADER nm;
    nm.hdr.hwndFrom = h;
    nm.hdr.idFrom = UINT_PTR(GetWindowLong(h, GWL_ID));
    nm.hdr.code = code;
    nm.iItem = item;
    nm.iButton = 0;
    nm.pitem = it;
    HWND parent = GetParent(h);
    return parent ? SendMessage(parent, WM_NOTIFY, WPARAM(nm.hdr.idFrom), LPARAM(&nm)) : 0;
}

void Fill(const THdItem& src, HDITEM& dst)
{
    if (dst.mask & HDI_WIDTH) dst.cxy = src.Width;
    if (dst.mask & HDI_FORMAT) dst.fmt = src.Fmt;
    if (dst.mask & HDI_LPARAM) dst.lParam = src.Param;
    if (dst.mask & HDI_IMAGE) dst.iImage = src.Image;
    if ((dst.mask & HDI_TEXT) && dst.pszText && dst.cchTextMax > 0) CopyToBuffer(src.Text, dst.pszText, dst.cchTextMax);
}

void Apply(const HDITEM& src, THdItem& dst)
{
    if (src.mask & HDI_WIDTH) dst.Width = std::max(0, src.cxy);
    if (src.mask & HDI_FORMAT) dst.Fmt = src.fmt;
    if (src.mask & HDI_LPARAM) dst.Param = src.lParam;
    if (src.mask & HDI_IMAGE) dst.Image = src.iImage;
    if (src.mask & HDI_TEXT) dst.Text = src.pszText ? String(src.pszText) : String();
}

// Changes an item as the parent allows: HDN_ITEMCHANGING may refuse.
bool ChangeItem(HWND h, THeaderState& s, int i, const HDITEM& change)
{
    HDITEM copy = change;
    if (Notify(h, HDN_ITEMCHANGING, i, &copy) != 0) return false;
    if (!StateOf(h) || i >= int(s.Items.size())) return false;
    Apply(change, s.Items[size_t(i)]);
    InvalidateRect(h, nullptr, TRUE);
    copy = change;
    Notify(h, HDN_ITEMCHANGED, i, &copy);
    return true;
}

int HeaderHeight(HWND h, THeaderState& s)
{
    return LineHeightOf(h, s.Font) + 8;
}

// Paints into the DC given (WM_PRINTCLIENT) or the window's own.
void Paint(HWND h, THeaderState& s, HDC given = nullptr)
{
    PAINTSTRUCT ps;
    HDC dc = given ? given : BeginPaint(h, &ps);
    if (!dc) return;
    TRect c;
    GetClientRect(h, &c);
    HGDIOBJ oldFont = SelectObject(dc, s.Font ? HGDIOBJ(s.Font) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    HTHEME theme = OpenThemeData(h, L"header");
    bool buttons = (GetWindowLong(h, GWL_STYLE) & HDS_BUTTONS) != 0;
    int x = 0;
    for (int i = 0; i < int(s.Items.size()); ++i) {
        const THdItem& it = s.Items[size_t(i)];
        TRect r{x, 0, x + it.Width, c.Bottom};
        x += it.Width;
        if (it.Width <= 0) continue;
        bool pressed = buttons && s.Pressed == i && s.PressedInside;
        if (theme) {
            int state = pressed ? HIS_PRESSED : (s.Hot == i && buttons) ? HIS_HOT : HIS_NORMAL;
            DrawThemeBackground(theme, dc, HP_HEADERITEM, state, &r, nullptr);
        } else {
            FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
            TRect e = r;
            DrawEdge(dc, &e, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | (pressed ? UINT(BF_FLAT) : 0u));
        }
        TRect tr{r.Left + 6, r.Top, r.Right - 6, r.Bottom};
        if (pressed) OffsetRect(tr, 1, 1);
        UINT align = (it.Fmt & HDF_JUSTIFYMASK) == HDF_RIGHT ? DT_RIGHT
                     : (it.Fmt & HDF_JUSTIFYMASK) == HDF_CENTER ? DT_CENTER : DT_LEFT;
        DrawTextStr(dc, it.Text, &tr, align | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
    if (x < c.Right) {
        TRect rest{x, 0, c.Right, c.Bottom};
        if (theme) {
            DrawThemeBackground(theme, dc, HP_HEADERITEM, HIS_NORMAL, &rest, nullptr);
        } else {
            FillRect(dc, &rest, GetSysColorBrush(COLOR_BTNFACE));
            DrawEdge(dc, &rest, EDGE_RAISED, BF_RECT);
        }
    }
    if (theme) CloseThemeData(theme);
    SelectObject(dc, oldFont);
    if (!given) EndPaint(h, &ps);
}

void EndTracking(HWND h, THeaderState& s, bool commit)
{
    int i = s.Tracking;
    s.Tracking = -1;
    if (i < 0 || i >= int(s.Items.size())) return;
    HDITEM it;
    it.mask = HDI_WIDTH;
    it.cxy = s.TrackWidth;
    Notify(h, HDN_ENDTRACK, i, &it);
    if (commit && StateOf(h) && i < int(s.Items.size()) && s.Items[size_t(i)].Width != s.TrackWidth)
        ChangeItem(h, s, i, it);
}

void TrackTo(HWND h, THeaderState& s, int x)
{
    int w = std::max(0, s.TrackStartWidth + x - s.TrackStartX);
    if (w == s.TrackWidth) return;
    HDITEM it;
    it.mask = HDI_WIDTH;
    it.cxy = w;
    if (Notify(h, HDN_TRACK, s.Tracking, &it) != 0) return;
    s.TrackWidth = w;
    // The column follows the mouse; the parent sees each step as a change.
    if (StateOf(h) && s.Tracking >= 0 && s.Tracking < int(s.Items.size())) ChangeItem(h, s, s.Tracking, it);
}

}  // namespace

LRESULT HeaderWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    THeaderState* s = StateOf(h);
    if (!s) {
        if (msg != WM_NCCREATE && msg != WM_CREATE) return DefWindowProc(h, msg, wp, lp);
        s = new THeaderState;
        SetProp(h, kHeaderProp, s);
    }
    int count = int(s->Items.size());
    switch (msg) {
    case WM_NCDESTROY:
        RemoveProp(h, kHeaderProp);
        delete s;
        return DefWindowProc(h, msg, wp, lp);
    case WM_SETFONT:
        s->Font = reinterpret_cast<HFONT>(wp);
        if (lp) InvalidateRect(h, nullptr, TRUE);
        return 0;
    case WM_GETFONT: return LRESULT(s->Font);
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(h, *s, reinterpret_cast<HDC>(wp)); return 0;
    case WM_PRINTCLIENT: Paint(h, *s, reinterpret_cast<HDC>(wp)); return 0;
    case WM_GETDLGCODE: return 0;

    case HDM_GETITEMCOUNT: return count;
    case HDM_INSERTITEMW: {
        auto* it = reinterpret_cast<const HDITEM*>(lp);
        if (!it) return -1;
        int i = std::clamp(int(wp), 0, count);
        THdItem item;
        Apply(*it, item);
        s->Items.insert(s->Items.begin() + i, item);
        InvalidateRect(h, nullptr, TRUE);
        return i;
    }
    case HDM_DELETEITEM: {
        int i = int(wp);
        if (i < 0 || i >= count) return FALSE;
        s->Items.erase(s->Items.begin() + i);
        if (s->Tracking >= int(s->Items.size())) s->Tracking = -1;
        s->Hot = s->Pressed = -1;
        InvalidateRect(h, nullptr, TRUE);
        return TRUE;
    }
    case HDM_GETITEMW: {
        auto* it = reinterpret_cast<HDITEM*>(lp);
        int i = int(wp);
        if (!it || i < 0 || i >= count) return FALSE;
        Fill(s->Items[size_t(i)], *it);
        return TRUE;
    }
    case HDM_SETITEMW: {
        auto* it = reinterpret_cast<const HDITEM*>(lp);
        int i = int(wp);
        if (!it || i < 0 || i >= count) return FALSE;
        return ChangeItem(h, *s, i, *it) ? TRUE : FALSE;
    }
    case HDM_LAYOUT: {
        auto* lay = reinterpret_cast<HDLAYOUT*>(lp);
        if (!lay || !lay->prc) return FALSE;
        int height = (GetWindowLong(h, GWL_STYLE) & HDS_HIDDEN) ? 0 : HeaderHeight(h, *s);
        if (lay->pwpos) {
            lay->pwpos->hwnd = h;
            lay->pwpos->hwndInsertAfter = nullptr;
            lay->pwpos->x = lay->prc->Left;
            lay->pwpos->y = lay->prc->Top;
            lay->pwpos->cx = lay->prc->Width();
            lay->pwpos->cy = height;
            lay->pwpos->flags = SWP_NOZORDER | SWP_NOACTIVATE;
        }
        lay->prc->Top += height;
        return TRUE;
    }
    case HDM_GETITEMRECT: {
        auto* r = reinterpret_cast<TRect*>(lp);
        int i = int(wp);
        if (!r || i < 0 || i >= count) return FALSE;
        *r = ItemRect(h, *s, i);
        return TRUE;
    }
    case HDM_HITTEST: {
        auto* ht = reinterpret_cast<HDHITTESTINFO*>(lp);
        if (!ht) return -1;
        TRect c;
        GetClientRect(h, &c);
        ht->iItem = -1;
        if (!PtInRect(c, ht->pt)) {
            ht->flags = HHT_NOWHERE;
            return -1;
        }
        int d = DividerAt(*s, ht->pt.X);
        if (d >= 0) {
            ht->flags = HHT_ONDIVIDER;
            ht->iItem = d;
            return d;
        }
        ht->iItem = ItemAt(*s, ht->pt.X);
        ht->flags = ht->iItem >= 0 ? HHT_ONHEADER : HHT_NOWHERE;
        return ht->iItem;
    }

    case WM_SETCURSOR: {
        TPoint p;
        GetCursorPos(&p);
        ScreenToClient(h, &p);
        if (s->Tracking >= 0 || DividerAt(*s, p.X) >= 0) {
            SetCursor(LoadCursor(nullptr, IDC_SIZEWE));
            return TRUE;
        }
        break;
    }
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: {
        TPoint p = LParamToPoint(lp);
        int d = DividerAt(*s, p.X);
        if (d >= 0) {
            if (msg == WM_LBUTTONDBLCLK) {
                Notify(h, HDN_DIVIDERDBLCLICK, d);
                return 0;
            }
            HDITEM it;
            it.mask = HDI_WIDTH;
            it.cxy = s->Items[size_t(d)].Width;
            if (Notify(h, HDN_BEGINTRACK, d, &it) != 0) return 0;
            if (!StateOf(h) || d >= int(s->Items.size())) return 0;
            s->Tracking = d;
            s->TrackStartX = p.X;
            s->TrackStartWidth = s->TrackWidth = s->Items[size_t(d)].Width;
            SetCapture(h);
            return 0;
        }
        if (!(GetWindowLong(h, GWL_STYLE) & HDS_BUTTONS)) return 0;
        int i = ItemAt(*s, p.X);
        if (i < 0) return 0;
        if (msg == WM_LBUTTONDBLCLK) {
            Notify(h, HDN_ITEMDBLCLICK, i);
            return 0;
        }
        s->Pressed = i;
        s->PressedInside = true;
        SetCapture(h);
        InvalidateRect(h, nullptr, TRUE);
        return 0;
    }
    case WM_MOUSEMOVE: {
        TPoint p = LParamToPoint(lp);
        if (s->Tracking >= 0) {
            TrackTo(h, *s, p.X);
            return 0;
        }
        if (s->Pressed >= 0) {
            TRect r = ItemRect(h, *s, s->Pressed);
            bool inside = PtInRect(r, p);
            if (inside != s->PressedInside) {
                s->PressedInside = inside;
                InvalidateRect(h, nullptr, TRUE);
            }
            return 0;
        }
        int hot = ItemAt(*s, p.X);
        if (hot != s->Hot) {
            s->Hot = hot;
            TRACKMOUSEEVENT tme;
            tme.dwFlags = TME_LEAVE;
            tme.hwndTrack = h;
            TrackMouseEvent(&tme);
            InvalidateRect(h, nullptr, TRUE);
        }
        return 0;
    }
    case WM_MOUSELEAVE:
        if (s->Hot >= 0) {
            s->Hot = -1;
            InvalidateRect(h, nullptr, TRUE);
        }
        return 0;
    case WM_LBUTTONUP: {
        if (s->Tracking >= 0) {
            TrackTo(h, *s, GET_X_LPARAM(lp));
            if (!StateOf(h)) return 0;
            EndTracking(h, *s, true);
            if (StateOf(h) && GetCapture() == h) ReleaseCapture();
            return 0;
        }
        if (s->Pressed >= 0) {
            int i = s->Pressed;
            bool inside = s->PressedInside;
            s->Pressed = -1;
            s->PressedInside = false;
            if (GetCapture() == h) ReleaseCapture();
            InvalidateRect(h, nullptr, TRUE);
            if (inside) Notify(h, HDN_ITEMCLICK, i);
        }
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (HWND(lp) != h) {
            if (s->Tracking >= 0) EndTracking(h, *s, false);
            if (StateOf(h) && s->Pressed >= 0) {
                s->Pressed = -1;
                InvalidateRect(h, nullptr, TRUE);
            }
        }
        return 0;
    case WM_CANCELMODE:
        if (GetCapture() == h) ReleaseCapture();
        return 0;
    default: break;
    }
    return DefWindowProc(h, msg, wp, lp);
}
