// The "tooltips_class32" window class.
#include "platform/ui/Tooltips.h"

#include <algorithm>
#include <map>
#include <vector>

namespace {

const wchar_t* const kTipProp = L"VelTooltipState";
constexpr UINT_PTR kShowTimer = 1, kPopTimer = 2;
constexpr UINT TTF_DI_SETITEM = 0x8000;
// Title icons (TTM_SETTITLE): none, information, warning, error.
constexpr int kIconNone = 0, kIconInfo = 1, kIconWarning = 2, kIconError = 3;

struct TTool {
    UINT Flags = 0;
    HWND Hwnd = nullptr;
    UINT_PTR Id = 0;
    TRect Rect;
    String Text;
    bool Callback = false;
    LPARAM Param = 0;
    HWND Window() const { return (Flags & TTF_IDISHWND) ? reinterpret_cast<HWND>(Id) : Hwnd; }
};

struct TToolKey {
    HWND Hwnd = nullptr;
    UINT_PTR Id = 0;
    bool Valid = false;
};

struct TTipState {
    std::vector<TTool> Tools;
    UINT Initial = 500, AutoPop = 5000, Reshow = 100;
    int MaxWidth = -1;
    COLORREF TextColor = GetSysColor(COLOR_INFOTEXT);
    COLORREF BkColor = GetSysColor(COLOR_INFOBK);
    String Title;
    int TitleIcon = kIconNone;
    bool Active = true;
    TToolKey Current;   // the tool under the mouse
    TToolKey Shown;     // the tool whose tip is up
    bool Suppressed = false;  // a click hid the tip: wait for another tool
    bool Tracking = false;
    TToolKey TrackTool;
    TPoint TrackPos;
    TPoint Cursor;      // screen position of the last relayed mouse message
    String Text;        // the text shown
    HFONT Font = nullptr;
    DWORD LastPop = 0;
    bool EverPopped = false;
    // A balloon's shape, window coordinates: the rounded body and the stem
    // whose tip touches the point the balloon is for.
    TRect Body;
    POINT Stem[3] = {};
    TPoint Anchor;  // screen
};

TTipState* TipOf(HWND h) { return static_cast<TTipState*>(GetProp(h, kTipProp)); }

TTool* FindTool(TTipState& s, HWND hwnd, UINT_PTR id)
{
    for (TTool& t : s.Tools)
        if (t.Hwnd == hwnd && t.Id == id) return &t;
    return nullptr;
}
TTool* FindTool(TTipState& s, const TToolKey& k) { return k.Valid ? FindTool(s, k.Hwnd, k.Id) : nullptr; }
TToolKey KeyOf(const TTool& t) { return {t.Hwnd, t.Id, true}; }
bool SameKey(const TToolKey& a, const TToolKey& b)
{
    return a.Valid == b.Valid && (!a.Valid || (a.Hwnd == b.Hwnd && a.Id == b.Id));
}

// Text a caller handed in: a string, the callback marker, or a resource
// number (not supported here: shown as no text, never read as a pointer).
void TakeText(TTool& t, const wchar_t* text)
{
    t.Callback = text == LPSTR_TEXTCALLBACKW;
    if (t.Callback || !text || reinterpret_cast<uintptr_t>(text) < 0x10000) t.Text.clear();
    else t.Text = text;
}

// ---------------------------------------------------------------------------
// Tools that are subclassed: their mouse messages go to their tooltips first.

struct TSubclass {
    WNDPROC Old = nullptr;
    std::vector<HWND> Tips;
};
std::map<HWND, TSubclass>& Subclassed()
{
    static std::map<HWND, TSubclass> map;
    return map;
}

bool IsMouseMsg(UINT msg)
{
    return msg == WM_MOUSEMOVE || msg == WM_MOUSELEAVE || (msg >= WM_LBUTTONDOWN && msg <= WM_MBUTTONDBLCLK);
}

LRESULT SubclassProc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    auto& map = Subclassed();
    auto it = map.find(h);
    if (it == map.end()) return DefWindowProc(h, msg, wp, lp);
    WNDPROC old = it->second.Old;
    if (IsMouseMsg(msg)) {
        std::vector<HWND> tips = it->second.Tips;
        MSG m;
        m.hwnd = h;
        m.message = msg;
        m.wParam = wp;
        m.lParam = lp;
        for (HWND tip : tips)
            if (IsWindow(tip)) SendMessage(tip, TTM_RELAYEVENT, 0, LPARAM(&m));
        if (msg == WM_MOUSEMOVE && !tips.empty()) {
            TRACKMOUSEEVENT tme;
            tme.dwFlags = TME_LEAVE;
            tme.hwndTrack = h;
            TrackMouseEvent(&tme);
        }
    }
    if (msg == WM_NCDESTROY) {
        if (reinterpret_cast<WNDPROC>(GetWindowLongPtr(h, GWL_WNDPROC)) == &SubclassProc)
            SetWindowLongPtr(h, GWL_WNDPROC, LONG_PTR(reinterpret_cast<intptr_t>(old)));
        map.erase(h);
    }
    return CallWindowProc(old, h, msg, wp, lp);
}

void Attach(HWND tip, HWND w)
{
    if (!IsWindow(w)) return;
    auto& map = Subclassed();
    auto it = map.find(w);
    if (it == map.end()) {
        TSubclass sc;
        sc.Old = reinterpret_cast<WNDPROC>(GetWindowLongPtr(w, GWL_WNDPROC));
        sc.Tips.push_back(tip);
        map[w] = sc;
        SetWindowLongPtr(w, GWL_WNDPROC, LONG_PTR(reinterpret_cast<intptr_t>(&SubclassProc)));
        return;
    }
    if (std::find(it->second.Tips.begin(), it->second.Tips.end(), tip) == it->second.Tips.end())
        it->second.Tips.push_back(tip);
}

void Detach(HWND tip, HWND w)
{
    auto& map = Subclassed();
    auto it = map.find(w);
    if (it == map.end()) return;
    auto& tips = it->second.Tips;
    tips.erase(std::remove(tips.begin(), tips.end(), tip), tips.end());
    if (!tips.empty()) return;
    // Unhook unless someone subclassed the window after us; then our
    // procedure stays in the chain and only passes messages on.
    if (IsWindow(w) && reinterpret_cast<WNDPROC>(GetWindowLongPtr(w, GWL_WNDPROC)) == &SubclassProc) {
        SetWindowLongPtr(w, GWL_WNDPROC, LONG_PTR(reinterpret_cast<intptr_t>(it->second.Old)));
        map.erase(it);
    } else if (!IsWindow(w)) {
        map.erase(it);
    }
}

// ---------------------------------------------------------------------------
// Showing and hiding

LRESULT Notify(HWND tip, const TTool& t, int code, NMHDR* hdr = nullptr)
{
    NMHDR local;
    if (!hdr) hdr = &local;
    hdr->hwndFrom = tip;
    hdr->idFrom = t.Id;
    hdr->code = code;
    HWND to = t.Hwnd ? t.Hwnd : GetWindow(tip, GW_OWNER);
    return to ? SendMessage(to, WM_NOTIFY, WPARAM(t.Id), LPARAM(hdr)) : 0;
}

String ToolText(HWND tip, TTool& t)
{
    if (!t.Callback) return t.Text;
    NMTTDISPINFOW di;
    di.uFlags = t.Flags;
    di.lParam = t.Param;
    Notify(tip, t, TTN_GETDISPINFOW, &di.hdr);
    String text;
    if (di.lpszText && di.lpszText != LPSTR_TEXTCALLBACKW && reinterpret_cast<uintptr_t>(di.lpszText) >= 0x10000)
        text = di.lpszText;
    else if (!di.lpszText || di.lpszText == LPSTR_TEXTCALLBACKW)
        text.assign(di.szText, std::find(di.szText, di.szText + 80, L'\0'));
    if (di.uFlags & TTF_DI_SETITEM) {
        t.Text = text;
        t.Callback = false;
    }
    return text;
}

bool Balloon(HWND h) { return (GetWindowLong(h, GWL_STYLE) & TTS_BALLOON) != 0; }

struct TLayout {
    TSize Size;
    TRect TitleRect, TextRect, IconRect;
};

// The title's font: the tip's font in bold.
HFONT TitleFont(const TTipState& s)
{
    LOGFONTW lf{};
    GetObject(s.Font ? HGDIOBJ(s.Font) : GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    lf.lfWeight = 700;
    return CreateFontIndirect(&lf);
}

TLayout Measure(HWND h, const TTipState& s)
{
    TLayout l;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, s.Font ? HGDIOBJ(s.Font) : GetStockObject(DEFAULT_GUI_FONT));
    const int padX = Balloon(h) ? 8 : 4, padY = Balloon(h) ? 6 : 2;
    UINT flags = DT_EXPANDTABS | DT_CALCRECT;
    if (GetWindowLong(h, GWL_STYLE) & TTS_NOPREFIX) flags |= DT_NOPREFIX;
    TRect text{0, 0, s.MaxWidth > 0 ? s.MaxWidth : 0x3FFF, 0};
    if (s.MaxWidth > 0) flags |= DT_WORDBREAK;
    DrawTextStr(dc, s.Text, &text, flags);
    int w = text.Width(), y = padY;
    if (!s.Title.empty()) {
        TRect title{0, 0, 0x3FFF, 0};
        HFONT bold = TitleFont(s);
        HGDIOBJ prev = SelectObject(dc, bold);
        DrawTextStr(dc, s.Title, &title, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
        SelectObject(dc, prev);
        DeleteObject(bold);
        int icon = s.TitleIcon != kIconNone ? 20 : 0;
        int th = std::max(title.Height(), icon ? 16 : 0);
        if (icon) l.IconRect = Bounds(padX, y + (th - 16) / 2, 16, 16);
        l.TitleRect = Bounds(padX + icon, y, title.Width(), th);
        w = std::max(w, icon + title.Width());
        y += th + 4;
    }
    l.TextRect = Bounds(padX, y, text.Width(), text.Height());
    if (s.MaxWidth > 0) l.TextRect.Right = l.TextRect.Left + std::max(text.Width(), s.MaxWidth);
    l.Size = {w + 2 * padX, y + text.Height() + padY};
    SelectObject(dc, old);
    DeleteDC(dc);
    return l;
}

constexpr int kStemH = 14, kStemW = 16, kRound = 12;

HRGN BalloonRegion(const TTipState& s)
{
    HRGN body = CreateRoundRectRgn(s.Body.Left, s.Body.Top, s.Body.Right + 1, s.Body.Bottom + 1, kRound, kRound);
    HRGN stem = CreatePolygonRgn(s.Stem, 3, WINDING);
    CombineRgn(body, body, stem, RGN_OR);
    DeleteObject(stem);
    return body;
}

// A balloon: below the point with its stem up, or above it with the stem
// down when there is no room below; the stem's tip on the point.
void PlaceBalloon(HWND h, TTipState& s, const TLayout& l, TPoint anchor)
{
    s.Anchor = anchor;
    int w = l.Size.cx, bodyH = l.Size.cy, total = bodyH + kStemH;
    TRect mon = Rect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    MONITORINFO mi;
    if (GetMonitorInfo(MonitorFromPoint(anchor, MONITOR_DEFAULTTONEAREST), &mi)) mon = mi.rcMonitor;
    bool up = anchor.Y + total <= mon.Bottom || anchor.Y - total < mon.Top;
    int left = std::max(mon.Left, std::min(anchor.X - kRound - kStemW / 2, mon.Right - w));
    int top = up ? anchor.Y : anchor.Y - total + 1;
    int tipX = std::clamp(anchor.X - left, 0, w - 1);
    int baseX = std::clamp(tipX - kStemW / 2, kRound / 2, std::max(kRound / 2, w - kRound / 2 - kStemW));
    if (up) {
        s.Body = Rect(0, kStemH, w - 1, total - 1);
        s.Stem[0] = {tipX, 0};
        s.Stem[1] = {baseX, kStemH + 1};
        s.Stem[2] = {baseX + kStemW, kStemH + 1};
    } else {
        s.Body = Rect(0, 0, w - 1, bodyH - 1);
        s.Stem[0] = {tipX, total - 1};
        s.Stem[1] = {baseX, bodyH - 2};
        s.Stem[2] = {baseX + kStemW, bodyH - 2};
    }
    SetWindowPos(h, HWND_TOPMOST, left, top, w, total, SWP_NOACTIVATE);
    SetWindowRgn(h, BalloonRegion(s), TRUE);
}

void Place(HWND h, TTipState& s, const TTool& t, TPoint at, bool below)
{
    TLayout l = Measure(h, s);
    if (Balloon(h)) {
        TPoint anchor = at;
        if (below && (t.Flags & TTF_CENTERTIP)) {
            TRect r = t.Rect;
            if (t.Flags & TTF_IDISHWND) GetClientRect(t.Window(), &r);
            TPoint tl{r.Left, r.Top};
            ClientToScreen(t.Window(), &tl);
            anchor = {tl.X + r.Width() / 2, tl.Y + r.Height()};
        }
        PlaceBalloon(h, s, l, anchor);
        return;
    }
    TPoint p = at;
    if (below) {
        if (t.Flags & TTF_CENTERTIP) {
            TRect r = t.Rect;
            if (t.Flags & TTF_IDISHWND) GetClientRect(t.Window(), &r);
            TPoint tl{r.Left, r.Top};
            ClientToScreen(t.Window(), &tl);
            p = {tl.X + (r.Width() - l.Size.cx) / 2, tl.Y + r.Height() + 2};
        } else {
            p.Y += 20;  // below the arrow cursor
        }
    }
    // Keep it on the monitor.
    MONITORINFO mi;
    if (GetMonitorInfo(MonitorFromPoint(at, MONITOR_DEFAULTTONEAREST), &mi)) {
        p.X = std::max(mi.rcMonitor.Left, std::min(p.X, mi.rcMonitor.Right - l.Size.cx));
        if (p.Y + l.Size.cy > mi.rcMonitor.Bottom) p.Y = std::max(mi.rcMonitor.Top, at.Y - l.Size.cy - 2);
    }
    SetWindowPos(h, HWND_TOPMOST, p.X, p.Y, l.Size.cx, l.Size.cy, SWP_NOACTIVATE);
}

void Pop(HWND h, TTipState& s)
{
    KillTimer(h, kPopTimer);
    if (!s.Shown.Valid) return;
    TToolKey was = s.Shown;
    s.Shown = {};
    ShowWindow(h, SW_HIDE);
    s.LastPop = UiTickCount();
    s.EverPopped = true;
    if (TTool* t = FindTool(s, was)) Notify(h, *t, TTN_POP);
}

void Show(HWND h, TTipState& s, const TToolKey& key, TPoint at, bool below, bool autoPop)
{
    TTool* t = FindTool(s, key);
    if (!t) return;
    String text = ToolText(h, *t);
    t = FindTool(s, key);  // the notification may have changed the tools
    if (!t || text.empty()) return;
    s.Text = text;
    Place(h, s, *t, at, below);
    s.Shown = key;
    // A non-zero answer means the owner placed the tip itself.
    Notify(h, *t, TTN_SHOW);
    SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(h, nullptr, TRUE);
    if (autoPop && s.AutoPop > 0) SetTimer(h, kPopTimer, s.AutoPop, nullptr);
}

TToolKey HitTool(TTipState& s, HWND w, TPoint client)
{
    for (const TTool& t : s.Tools) {
        if (t.Flags & TTF_TRACK) continue;
        if ((t.Flags & TTF_IDISHWND) && t.Window() == w) return KeyOf(t);
        if (!(t.Flags & TTF_IDISHWND) && t.Hwnd == w && PtInRect(t.Rect, client)) return KeyOf(t);
    }
    return {};
}

void Relay(HWND h, TTipState& s, const MSG& m)
{
    if (!s.Active || s.Tracking) return;
    if (m.message == WM_MOUSELEAVE) {
        KillTimer(h, kShowTimer);
        Pop(h, s);
        s.Current = {};
        s.Suppressed = false;
        return;
    }
    TPoint client = LParamToPoint(m.lParam);
    TPoint screen = client;
    ClientToScreen(m.hwnd, &screen);
    s.Cursor = screen;
    if (m.message != WM_MOUSEMOVE) {
        // A click puts the tip away until the mouse moves to another tool.
        KillTimer(h, kShowTimer);
        Pop(h, s);
        s.Suppressed = true;
        return;
    }
    TToolKey tool = HitTool(s, m.hwnd, client);
    if (SameKey(tool, s.Current)) return;
    bool wasShown = s.Shown.Valid;
    Pop(h, s);
    KillTimer(h, kShowTimer);
    s.Current = tool;
    s.Suppressed = false;
    if (!tool.Valid) return;
    // Moving from one tip to the next shows it after the shorter delay.
    bool recent = wasShown || (s.EverPopped && UiTickCount() - s.LastPop < s.Reshow);
    SetTimer(h, kShowTimer, std::max<UINT>(1, recent ? s.Reshow : s.Initial), nullptr);
}

void PaintTip(HWND h, TTipState& s, HDC given)
{
    PAINTSTRUCT ps;
    HDC dc = given ? given : BeginPaint(h, &ps);
    if (!dc) return;
    int saved = SaveDC(dc);
    TRect r;
    GetClientRect(h, &r);
    HBRUSH back = CreateSolidBrush(s.BkColor);
    HPEN frame = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWFRAME));
    TLayout l = Measure(h, s);
    if (Balloon(h)) {
        // The body and its stem in one outline; what lies outside shows
        // through the window's region.
        HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
        FillRect(dc, &r, face);
        HRGN shape = BalloonRegion(s);
        FillRgn(dc, shape, back);
        HBRUSH edge = CreateSolidBrush(GetSysColor(COLOR_WINDOWFRAME));
        FrameRgn(dc, shape, edge, 1, 1);
        DeleteObject(edge);
        DeleteObject(shape);
        int dy = s.Body.Top;
        OffsetRect(l.TitleRect, 0, dy);
        OffsetRect(l.TextRect, 0, dy);
        OffsetRect(l.IconRect, 0, dy);
    } else {
        FillRect(dc, &r, back);
        SelectObject(dc, frame);
        SelectObject(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, r.Left, r.Top, r.Right, r.Bottom);
    }
    SelectObject(dc, s.Font ? HGDIOBJ(s.Font) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, s.TextColor);
    if (!s.Title.empty()) {
        if (s.TitleIcon != kIconNone) {
            COLORREF c = s.TitleIcon == kIconError ? RGB(0xD0, 0x20, 0x20)
                         : s.TitleIcon == kIconWarning ? RGB(0xF0, 0xC0, 0x20) : RGB(0x20, 0x60, 0xD0);
            HBRUSH ib = CreateSolidBrush(c);
            SelectObject(dc, ib);
            SelectObject(dc, GetStockObject(NULL_PEN));
            Ellipse(dc, l.IconRect.Left, l.IconRect.Top, l.IconRect.Right, l.IconRect.Bottom);
            SelectObject(dc, GetStockObject(NULL_BRUSH));
            DeleteObject(ib);
        }
        TRect tr = l.TitleRect;
        HFONT bold = TitleFont(s);
        HGDIOBJ prev = SelectObject(dc, bold);
        if (s.TitleIcon != kIconNone) {
            // The icon's mark: information, warning, error.
            const wchar_t* mark = s.TitleIcon == kIconError ? L"x" : s.TitleIcon == kIconWarning ? L"!" : L"i";
            TRect ir = l.IconRect;
            SetTextColor(dc, s.TitleIcon == kIconWarning ? RGB(0, 0, 0) : RGB(0xFF, 0xFF, 0xFF));
            DrawTextStr(dc, mark, &ir, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
            SetTextColor(dc, s.TextColor);
        }
        DrawTextStr(dc, s.Title, &tr, DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
        SelectObject(dc, prev);
        DeleteObject(bold);
    }
    UINT flags = DT_EXPANDTABS | (s.MaxWidth > 0 ? UINT(DT_WORDBREAK) : 0u);
    if (GetWindowLong(h, GWL_STYLE) & TTS_NOPREFIX) flags |= DT_NOPREFIX;
    TRect tr = l.TextRect;
    DrawTextStr(dc, s.Text, &tr, flags);
    RestoreDC(dc, saved);
    DeleteObject(frame);
    DeleteObject(back);
    if (!given) EndPaint(h, &ps);
}

}  // namespace

void RegisterTooltipClass()
{
    WNDCLASS wc;
    if (GetClassInfo(nullptr, TOOLTIPS_CLASS, &wc)) return;
    WNDCLASS c;
    c.style = CS_SAVEBITS | CS_DROPSHADOW;
    c.lpfnWndProc = &TooltipWndProc;
    c.hCursor = LoadCursor(nullptr, IDC_ARROW);
    c.lpszClassName = TOOLTIPS_CLASS;
    RegisterClass(c);
}

LRESULT TooltipWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    TTipState* s = TipOf(h);
    if (!s) {
        if (msg != WM_NCCREATE && msg != WM_CREATE) return DefWindowProc(h, msg, wp, lp);
        s = new TTipState;
        SetProp(h, kTipProp, s);
    }
    switch (msg) {
    case WM_CREATE: {
        // A popup above everything that never takes the activation.
        LONG ex = GetWindowLong(h, GWL_EXSTYLE);
        SetWindowLong(h, GWL_EXSTYLE, ex | LONG(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE));
        return 0;
    }
    case WM_NCDESTROY: {
        for (const TTool& t : s->Tools)
            if (t.Flags & TTF_SUBCLASS) Detach(h, t.Window());
        RemoveProp(h, kTipProp);
        delete s;
        return DefWindowProc(h, msg, wp, lp);
    }
    case WM_NCHITTEST: return HTTRANSPARENT;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_SETFONT:
        s->Font = reinterpret_cast<HFONT>(wp);
        if (lp) InvalidateRect(h, nullptr, TRUE);
        return 0;
    case WM_GETFONT: return LRESULT(s->Font);
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: PaintTip(h, *s, reinterpret_cast<HDC>(wp)); return 0;
    case WM_TIMER:
        if (wp == kShowTimer) {
            KillTimer(h, kShowTimer);
            if (s->Active && !s->Suppressed && s->Current.Valid && !s->Shown.Valid)
                Show(h, *s, s->Current, s->Cursor, true, true);
            return 0;
        }
        if (wp == kPopTimer) {
            Pop(h, *s);
            s->Suppressed = true;  // not again until the mouse moves to another tool
            return 0;
        }
        return 0;

    case TTM_ADDTOOLW: {
        auto* ti = reinterpret_cast<const TOOLINFOW*>(lp);
        if (!ti) return FALSE;
        TTool t;
        t.Flags = ti->uFlags;
        t.Hwnd = ti->hwnd;
        t.Id = ti->uId;
        t.Rect = ti->rect;
        t.Param = ti->lParam;
        TakeText(t, ti->lpszText);
        if (TTool* existing = FindTool(*s, t.Hwnd, t.Id)) *existing = t;
        else s->Tools.push_back(t);
        if (t.Flags & TTF_SUBCLASS) Attach(h, t.Window());
        return TRUE;
    }
    case TTM_DELTOOLW: {
        auto* ti = reinterpret_cast<const TOOLINFOW*>(lp);
        if (!ti) return 0;
        TTool* t = FindTool(*s, ti->hwnd, ti->uId);
        if (!t) return 0;
        TToolKey key = KeyOf(*t);
        if (SameKey(key, s->Shown)) Pop(h, *s);
        if (SameKey(key, s->Current)) {
            KillTimer(h, kShowTimer);
            s->Current = {};
        }
        if (SameKey(key, s->TrackTool)) s->Tracking = false;
        bool sub = (t->Flags & TTF_SUBCLASS) != 0;
        HWND w = t->Window();
        s->Tools.erase(s->Tools.begin() + (t - s->Tools.data()));
        bool stillUsed = false;
        for (const TTool& o : s->Tools) stillUsed |= (o.Flags & TTF_SUBCLASS) && o.Window() == w;
        if (sub && !stillUsed) Detach(h, w);
        return 0;
    }
    case TTM_UPDATETIPTEXTW: {
        auto* ti = reinterpret_cast<const TOOLINFOW*>(lp);
        TTool* t = ti ? FindTool(*s, ti->hwnd, ti->uId) : nullptr;
        if (!t) return 0;
        TakeText(*t, ti->lpszText);
        if (SameKey(KeyOf(*t), s->Shown)) {
            s->Text = ToolText(h, *t);
            TLayout l = Measure(h, *s);
            if (Balloon(h)) PlaceBalloon(h, *s, l, s->Anchor);
            else SetWindowPos(h, nullptr, 0, 0, l.Size.cx, l.Size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            InvalidateRect(h, nullptr, TRUE);
        }
        return 0;
    }
    case TTM_NEWTOOLRECTW: {
        auto* ti = reinterpret_cast<const TOOLINFOW*>(lp);
        if (TTool* t = ti ? FindTool(*s, ti->hwnd, ti->uId) : nullptr) t->Rect = ti->rect;
        return 0;
    }
    case TTM_GETTEXTW: {
        auto* ti = reinterpret_cast<TOOLINFOW*>(lp);
        TTool* t = ti ? FindTool(*s, ti->hwnd, ti->uId) : nullptr;
        if (!t || !ti->lpszText || wp == 0) return 0;
        size_t n = std::min<size_t>(t->Text.size(), size_t(wp) - 1);
        std::copy(t->Text.begin(), t->Text.begin() + long(n), ti->lpszText);
        ti->lpszText[n] = 0;
        return LRESULT(n);
    }
    case TTM_GETTOOLCOUNT: return LRESULT(s->Tools.size());
    case TTM_RELAYEVENT:
        if (auto* m = reinterpret_cast<const MSG*>(lp); m && IsMouseMsg(m->message)) Relay(h, *s, *m);
        return 0;
    case TTM_ACTIVATE:
        s->Active = wp != 0;
        if (!s->Active) {
            KillTimer(h, kShowTimer);
            Pop(h, *s);
        }
        return 0;
    case TTM_SETDELAYTIME: {
        int ms = GET_X_LPARAM(lp);
        switch (wp) {
        case TTDT_AUTOMATIC:
            if (ms < 0) ms = 500;
            s->Initial = UINT(ms);
            s->AutoPop = UINT(ms) * 10;
            s->Reshow = UINT(ms) / 5;
            break;
        case TTDT_INITIAL: s->Initial = ms < 0 ? 500 : UINT(ms); break;
        case TTDT_AUTOPOP: s->AutoPop = ms < 0 ? 5000 : UINT(ms); break;
        case TTDT_RESHOW: s->Reshow = ms < 0 ? 100 : UINT(ms); break;
        default: break;
        }
        return 0;
    }
    case TTM_GETDELAYTIME:
        switch (wp) {
        case TTDT_INITIAL: return s->Initial;
        case TTDT_AUTOPOP: return s->AutoPop;
        case TTDT_RESHOW: return s->Reshow;
        default: return 0;
        }
    case TTM_SETMAXTIPWIDTH: {
        int old = s->MaxWidth;
        s->MaxWidth = int(lp);
        return old;
    }
    case TTM_GETMAXTIPWIDTH: return s->MaxWidth;
    case TTM_SETTIPTEXTCOLOR: s->TextColor = COLORREF(wp); InvalidateRect(h, nullptr, TRUE); return 0;
    case TTM_SETTIPBKCOLOR: s->BkColor = COLORREF(wp); InvalidateRect(h, nullptr, TRUE); return 0;
    case TTM_GETTIPTEXTCOLOR: return LRESULT(s->TextColor);
    case TTM_GETTIPBKCOLOR: return LRESULT(s->BkColor);
    case TTM_SETTITLEW: {
        auto* title = reinterpret_cast<const wchar_t*>(lp);
        s->Title = (title && reinterpret_cast<uintptr_t>(title) >= 0x10000) ? String(title) : String();
        s->TitleIcon = (wp <= WPARAM(kIconError)) ? int(wp) : kIconInfo;
        return TRUE;
    }
    case TTM_POP:
        // The owner put the tip away (say the item under the mouse changed):
        // the next mouse move over the tool starts a new wait.
        KillTimer(h, kShowTimer);
        Pop(h, *s);
        s->Current = {};
        s->Suppressed = false;
        return 0;
    case TTM_POPUP:
        if (s->Current.Valid) {
            KillTimer(h, kShowTimer);
            Show(h, *s, s->Current, s->Cursor, true, true);
        }
        return 0;
    case TTM_UPDATE: InvalidateRect(h, nullptr, TRUE); return 0;
    case TTM_TRACKACTIVATE: {
        auto* ti = reinterpret_cast<const TOOLINFOW*>(lp);
        TTool* t = ti ? FindTool(*s, ti->hwnd, ti->uId) : nullptr;
        if (wp) {
            if (!t) return 0;
            KillTimer(h, kShowTimer);
            Pop(h, *s);
            s->Tracking = true;
            s->TrackTool = KeyOf(*t);
            Show(h, *s, s->TrackTool, s->TrackPos, false, false);
        } else if (s->Tracking && (!t || SameKey(KeyOf(*t), s->TrackTool))) {
            s->Tracking = false;
            s->TrackTool = {};
            Pop(h, *s);
        }
        return 0;
    }
    case TTM_TRACKPOSITION:
        s->TrackPos = LParamToPoint(lp);
        if (s->Tracking && s->Shown.Valid) {
            // A balloon points its stem at the position.
            if (Balloon(h)) PlaceBalloon(h, *s, Measure(h, *s), s->TrackPos);
            else SetWindowPos(h, HWND_TOPMOST, s->TrackPos.X, s->TrackPos.Y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
        }
        return 0;
    default: break;
    }
    return DefWindowProc(h, msg, wp, lp);
}

HWND ShowBalloonTip(HWND owner, TPoint stem, const String& title, const String& text, int icon)
{
    if (!IsWindow(owner)) return nullptr;
    RegisterTooltipClass();
    HWND tip = CreateWindowEx(WS_EX_TOPMOST, TOOLTIPS_CLASS, L"", WS_POPUP | TTS_BALLOON | TTS_NOPREFIX | TTS_ALWAYSTIP,
                              0, 0, 0, 0, owner);
    if (!tip) return nullptr;
    String body = text;
    TOOLINFOW ti;
    ti.uFlags = TTF_TRACK | TTF_ABSOLUTE | TTF_IDISHWND;
    ti.hwnd = owner;
    ti.uId = reinterpret_cast<UINT_PTR>(owner);
    ti.lpszText = body.data();
    SendMessage(tip, TTM_ADDTOOLW, 0, LPARAM(&ti));
    SendMessage(tip, TTM_SETMAXTIPWIDTH, 0, 300);
    if (!title.empty()) SendMessage(tip, TTM_SETTITLEW, WPARAM(icon), LPARAM(title.c_str()));
    SendMessage(tip, TTM_TRACKPOSITION, 0, PointToLParam(stem));
    SendMessage(tip, TTM_TRACKACTIVATE, TRUE, LPARAM(&ti));
    return tip;
}

void HideBalloonTip(HWND tip)
{
    if (IsWindow(tip)) DestroyWindow(tip);
}
