// The "SysMonthCal32" window class: one month of days with a title that
// pages through the months, optional ISO week numbers and a today line.
// The date-time picker drops it down as a popup that holds the mouse.
#include <algorithm>
#include <cmath>

#include "platform/base/SysUtils.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/ComCtrlsInternal.h"
#include "platform/ui/DateTimePickerModel.h"

namespace {

const wchar_t* const kMonthCalProp = L"VelMonthCalState";

struct TMcState {
    Word Year = 0, Month = 0;   // the month shown
    TDateTime Sel = 0;          // the selected day (whole days)
    TDateTime Today = 0;
    bool TodaySet = false;
    TDateTime Min = 0, Max = 0;
    DWORD RangeFlags = 0;
    COLORREF Colors[6] = {CLR_DEFAULT, CLR_DEFAULT, CLR_DEFAULT, CLR_DEFAULT, CLR_DEFAULT, CLR_DEFAULT};
    HFONT Font = nullptr;
    int FirstDay = 0;   // 0 Monday ... 6 Sunday
};

struct TMcMetrics {
    int Line, CellW, CellH, TitleH, Margin, WeekW, TodayH;
    int GridX, GridY;   // the first day cell
    int Width, Height;
};

TMcState* StateOf(HWND h) { return static_cast<TMcState*>(GetProp(h, kMonthCalProp)); }
DWORD StyleOf(HWND h) { return DWORD(GetWindowLong(h, GWL_STYLE)); }
TDateTime DayOf(TDateTime d) { return std::floor(d); }

TDateTime TodayOf(const TMcState& s) { return s.TodaySet ? s.Today : DayOf(Date()); }

TMcMetrics Metrics(HWND h, const TMcState& s)
{
    TMcMetrics m{};
    m.Line = LineHeightOf(h, s.Font);
    m.CellW = std::max(TextWidthOf(h, s.Font, L"00") + 10, m.Line + 6);
    m.CellH = m.Line + 4;
    m.TitleH = m.Line + 10;
    m.Margin = 4;
    m.WeekW = (StyleOf(h) & MCS_WEEKNUMBERS) ? m.CellW : 0;
    m.TodayH = (StyleOf(h) & MCS_NOTODAY) ? 0 : m.CellH;
    m.GridX = m.Margin + m.WeekW;
    m.GridY = m.TitleH + m.CellH;
    m.Width = 2 * m.Margin + m.WeekW + 7 * m.CellW;
    m.Height = m.GridY + 6 * m.CellH + m.TodayH + m.Margin;
    return m;
}

TRect PrevButton(const TMcMetrics& m) { return {m.Margin, 3, m.Margin + m.TitleH - 6, m.TitleH - 3}; }
TRect NextButton(const TMcMetrics& m) { return {m.Width - m.Margin - (m.TitleH - 6), 3, m.Width - m.Margin, m.TitleH - 3}; }
TRect TodayRect(const TMcMetrics& m) { return {m.Margin, m.GridY + 6 * m.CellH, m.Width - m.Margin, m.GridY + 6 * m.CellH + m.TodayH}; }

bool InRange(const TMcState& s, TDateTime d)
{
    if ((s.RangeFlags & GDTR_MIN) && d < DayOf(s.Min)) return false;
    if ((s.RangeFlags & GDTR_MAX) && d > DayOf(s.Max)) return false;
    return true;
}

SYSTEMTIME ToSt(TDateTime d)
{
    SYSTEMTIME st;
    DateTimeToSystemTime(d, st);
    return st;
}

bool FromSt(const SYSTEMTIME& st, TDateTime& out)
{
    TDateTime d;
    if (!TryEncodeDate(st.wYear, st.wMonth, st.wDay, d)) return false;
    out = d;
    return true;
}

void ShowMonthOf(TMcState& s, TDateTime d)
{
    Word y, m, dd;
    DecodeDate(d, y, m, dd);
    s.Year = y;
    s.Month = m;
}

// Where the notices go: the picker that dropped the calendar down, else
// the parent.
HWND NotifyWindow(HWND h)
{
    if (auto owner = static_cast<HWND>(GetProp(h, kMonthCalOwnerProp))) return owner;
    return GetParent(h);
}

void SendSel(HWND h, int code, TDateTime d)
{
    NMSELCHANGE nm;
    nm.stSelStart = nm.stSelEnd = ToSt(d);
    nm.nmhdr.hwndFrom = h;
    nm.nmhdr.idFrom = UINT_PTR(GetWindowLong(h, GWL_ID));
    nm.nmhdr.code = code;
    if (HWND to = NotifyWindow(h)) SendMessage(to, WM_NOTIFY, WPARAM(nm.nmhdr.idFrom), LPARAM(&nm));
}

// Selects a day the user chose; `select` also ends the choice (a click,
// Enter). Days outside the range are refused.
void Choose(HWND h, TMcState& s, TDateTime d, bool select)
{
    d = DayOf(d);
    if (!InRange(s, d)) return;
    bool changed = d != s.Sel;
    s.Sel = d;
    ShowMonthOf(s, d);
    InvalidateRect(h, nullptr, TRUE);
    if (changed) {
        SendSel(h, MCN_SELCHANGE, d);
        if (!StateOf(h)) return;
    }
    if (select) SendSel(h, MCN_SELECT, d);
}

void PageMonth(HWND h, TMcState& s, int delta)
{
    TDateTime first = IncMonth(EncodeDate(s.Year, s.Month, 1), delta);
    ShowMonthOf(s, first);
    InvalidateRect(h, nullptr, TRUE);
}

UINT HitTest(HWND h, TMcState& s, TPoint p, TDateTime* date)
{
    TMcMetrics m = Metrics(h, s);
    if (p.Y < m.TitleH) {
        if (PtInRect(PrevButton(m), p)) return MCHT_TITLEBTNPREV;
        if (PtInRect(NextButton(m), p)) return MCHT_TITLEBTNNEXT;
        return MCHT_TITLE;
    }
    if (m.TodayH && PtInRect(TodayRect(m), p)) return MCHT_TODAYLINK;
    if (p.Y >= m.GridY && p.Y < m.GridY + 6 * m.CellH) {
        int row = (p.Y - m.GridY) / m.CellH;
        if (p.X >= m.Margin && p.X < m.GridX) return MCHT_CALENDARWEEKNUM;
        if (p.X >= m.GridX && p.X < m.GridX + 7 * m.CellW) {
            int col = (p.X - m.GridX) / m.CellW;
            TMonthCalGrid g = BuildMonthCalGrid(s.Year, s.Month, s.FirstDay, TodayOf(s));
            const TMonthCalCell& c = g.Cells[row][col];
            if (date) *date = c.Date;
            if (c.InMonth) return MCHT_CALENDARDATE;
            return c.Date < EncodeDate(s.Year, s.Month, 1) ? MCHT_CALENDARDATEPREV : MCHT_CALENDARDATENEXT;
        }
    }
    if (p.Y >= m.TitleH && p.Y < m.GridY) return MCHT_CALENDARDAY;
    return MCHT_NOWHERE;
}

COLORREF ColorOf(const TMcState& s, int index)
{
    static const int kSys[] = {COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_ACTIVECAPTION, COLOR_CAPTIONTEXT,
                               COLOR_WINDOW, COLOR_GRAYTEXT};
    COLORREF c = s.Colors[index];
    return (c == CLR_DEFAULT || c == CLR_NONE) ? GetSysColor(kSys[index]) : c;
}

void FillColor(HDC dc, const TRect& r, COLORREF c)
{
    HBRUSH b = CreateSolidBrush(c);
    FillRect(dc, &r, b);
    DeleteObject(b);
}

void Arrow(HDC dc, const TRect& r, bool left, COLORREF c)
{
    int cx = (r.Left + r.Right) / 2, cy = (r.Top + r.Bottom) / 2, k = std::max(3, r.Height() / 4);
    POINT pts[3];
    if (left) {
        pts[0] = {cx - k / 2, cy};
        pts[1] = {cx + k / 2, cy - k};
        pts[2] = {cx + k / 2, cy + k};
    } else {
        pts[0] = {cx + k / 2, cy};
        pts[1] = {cx - k / 2, cy - k};
        pts[2] = {cx - k / 2, cy + k};
    }
    HBRUSH b = CreateSolidBrush(c);
    HPEN p = CreatePen(PS_SOLID, 1, c);
    HGDIOBJ ob = SelectObject(dc, b), op = SelectObject(dc, p);
    Polygon(dc, pts, 3);
    SelectObject(dc, ob);
    SelectObject(dc, op);
    DeleteObject(b);
    DeleteObject(p);
}

void FrameColor(HDC dc, const TRect& r, COLORREF c)
{
    HBRUSH b = CreateSolidBrush(c);
    FrameRect(dc, &r, b);
    DeleteObject(b);
}

// Paints into the DC given (a control wrapper that began the paint) or the
// window's own.
void Paint(HWND h, TMcState& s, HDC given)
{
    PAINTSTRUCT ps;
    HDC dc = given ? given : BeginPaint(h, &ps);
    if (!dc) return;
    int saved = SaveDC(dc);
    TMcMetrics m = Metrics(h, s);
    TRect c;
    GetClientRect(h, &c);
    FillColor(dc, c, ColorOf(s, MCSC_BACKGROUND));
    HGDIOBJ oldFont = SelectObject(dc, s.Font ? HGDIOBJ(s.Font) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);

    // Title with the month and the paging arrows.
    TRect title{0, 0, m.Width, m.TitleH};
    FillColor(dc, title, ColorOf(s, MCSC_TITLEBK));
    SetTextColor(dc, ColorOf(s, MCSC_TITLETEXT));
    String caption = FormatSettings.LongMonthNames[s.Month - 1] + L" " + std::to_wstring(s.Year);
    DrawTextStr(dc, caption, &title, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    Arrow(dc, PrevButton(m), true, ColorOf(s, MCSC_TITLETEXT));
    Arrow(dc, NextButton(m), false, ColorOf(s, MCSC_TITLETEXT));

    TRect body{0, m.TitleH, m.Width, m.GridY + 6 * m.CellH};
    FillColor(dc, body, ColorOf(s, MCSC_MONTHBK));

    // Day names, from the first day of the week.
    SetTextColor(dc, ColorOf(s, MCSC_TITLEBK));
    for (int k = 0; k < 7; ++k) {
        int sysDay = (s.FirstDay + 1 + k) % 7;   // ShortDayNames[0] is Sunday
        TRect r{m.GridX + k * m.CellW, m.TitleH, m.GridX + (k + 1) * m.CellW, m.GridY};
        DrawTextStr(dc, FormatSettings.ShortDayNames[sysDay].substr(0, 2), &r,
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    HPEN line = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_GRAYTEXT));
    HGDIOBJ oldPen = SelectObject(dc, line);
    MoveToEx(dc, m.GridX, m.GridY - 1, nullptr);
    LineTo(dc, m.GridX + 7 * m.CellW, m.GridY - 1);

    TDateTime today = TodayOf(s);
    TMonthCalGrid g = BuildMonthCalGrid(s.Year, s.Month, s.FirstDay, today);
    for (int row = 0; row < 6; ++row) {
        if (m.WeekW) {
            TRect w{m.Margin, m.GridY + row * m.CellH, m.GridX - 2, m.GridY + (row + 1) * m.CellH};
            SetTextColor(dc, ColorOf(s, MCSC_TRAILINGTEXT));
            DrawTextStr(dc, std::to_wstring(g.WeekNumbers[row]), &w, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
        }
        for (int col = 0; col < 7; ++col) {
            const TMonthCalCell& cell = g.Cells[row][col];
            TRect r{m.GridX + col * m.CellW, m.GridY + row * m.CellH, m.GridX + (col + 1) * m.CellW,
                    m.GridY + (row + 1) * m.CellH};
            bool sel = DayOf(cell.Date) == s.Sel;
            COLORREF text = cell.InMonth && InRange(s, cell.Date) ? ColorOf(s, MCSC_TEXT) : ColorOf(s, MCSC_TRAILINGTEXT);
            if (sel) {
                FillColor(dc, r, GetSysColor(COLOR_HIGHLIGHT));
                text = GetSysColor(COLOR_HIGHLIGHTTEXT);
            }
            if (cell.Today && !(StyleOf(h) & MCS_NOTODAYCIRCLE)) FrameColor(dc, r, RGB(192, 0, 0));
            SetTextColor(dc, text);
            TRect tr = r;
            tr.Right -= 4;
            DrawTextStr(dc, std::to_wstring(cell.Day), &tr, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
        }
    }
    if (m.WeekW) {
        MoveToEx(dc, m.GridX - 1, m.GridY, nullptr);
        LineTo(dc, m.GridX - 1, m.GridY + 6 * m.CellH);
    }
    SelectObject(dc, oldPen);
    DeleteObject(line);

    if (m.TodayH) {
        TRect t = TodayRect(m);
        SetTextColor(dc, ColorOf(s, MCSC_TEXT));
        TRect tr = t;
        if (!(StyleOf(h) & MCS_NOTODAYCIRCLE)) {
            TRect mark{t.Left + 2, t.Top + 2, t.Left + m.CellW - 2, t.Bottom - 2};
            FrameColor(dc, mark, RGB(192, 0, 0));
            tr.Left = mark.Right + 4;
        }
        DrawTextStr(dc, L"Today: " + DateToStr(today), &tr, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    SelectObject(dc, oldFont);
    RestoreDC(dc, saved);
    if (!given) EndPaint(h, &ps);
}

void KeyDown(HWND h, TMcState& s, Word vk)
{
    TDateTime d = s.Sel;
    switch (vk) {
    case VK_LEFT: d -= 1; break;
    case VK_RIGHT: d += 1; break;
    case VK_UP: d -= 7; break;
    case VK_DOWN: d += 7; break;
    case VK_PRIOR: d = IncMonth(d, -1); break;
    case VK_NEXT: d = IncMonth(d, 1); break;
    case VK_HOME: d = EncodeDate(s.Year, s.Month, 1); break;
    case VK_END: d = IncMonth(EncodeDate(s.Year, s.Month, 1), 1) - 1; break;
    case VK_RETURN: SendSel(h, MCN_SELECT, s.Sel); return;
    default: return;
    }
    Choose(h, s, d, false);
}

}  // namespace

LRESULT MonthCalWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    TMcState* s = StateOf(h);
    if (!s) {
        if (msg != WM_NCCREATE && msg != WM_CREATE) return DefWindowProc(h, msg, wp, lp);
        s = new TMcState;
        s->Sel = DayOf(Date());
        ShowMonthOf(*s, s->Sel);
        SetProp(h, kMonthCalProp, s);
    }
    switch (msg) {
    case WM_NCDESTROY:
        RemoveProp(h, kMonthCalOwnerProp);
        RemoveProp(h, kMonthCalProp);
        delete s;
        return DefWindowProc(h, msg, wp, lp);
    case WM_SETFONT:
        s->Font = reinterpret_cast<HFONT>(wp);
        if (lp) InvalidateRect(h, nullptr, TRUE);
        return 0;
    case WM_GETFONT: return LRESULT(s->Font);
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(h, *s, reinterpret_cast<HDC>(wp)); return 0;
    case WM_STYLECHANGED: InvalidateRect(h, nullptr, TRUE); return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_KEYDOWN: KeyDown(h, *s, Word(wp)); return 0;
    case WM_LBUTTONDOWN: {
        TPoint p = LParamToPoint(lp);
        TRect c;
        GetClientRect(h, &c);
        if (!PtInRect(c, p)) {
            // Dropped down, the calendar holds the mouse: a press anywhere
            // else closes it.
            if (GetCapture() == h) {
                if (HWND owner = NotifyWindow(h)) SendMessage(owner, DTM_CLOSEMONTHCAL, 0, 0);
            }
            return 0;
        }
        TDateTime d = 0;
        UINT hit = HitTest(h, *s, p, &d);
        if (hit == MCHT_TITLEBTNPREV) PageMonth(h, *s, -1);
        else if (hit == MCHT_TITLEBTNNEXT) PageMonth(h, *s, 1);
        else if (hit == MCHT_TODAYLINK) Choose(h, *s, TodayOf(*s), true);
        else if ((hit & MCHT_CALENDARDATE) == MCHT_CALENDARDATE) Choose(h, *s, d, true);
        return 0;
    }
    case WM_CAPTURECHANGED:
        // The mouse taken by another window ends a drop-down.
        if (HWND(lp) != h && (GetWindowLong(h, GWL_STYLE) & WS_POPUP)) {
            if (HWND owner = NotifyWindow(h)) PostMessage(owner, DTM_CLOSEMONTHCAL, WPARAM(h), 0);
        }
        return 0;

    case MCM_GETCURSEL: {
        auto* st = reinterpret_cast<SYSTEMTIME*>(lp);
        if (!st) return FALSE;
        *st = ToSt(s->Sel);
        return TRUE;
    }
    case MCM_SETCURSEL: {
        auto* st = reinterpret_cast<const SYSTEMTIME*>(lp);
        TDateTime d;
        if (!st || !FromSt(*st, d) || !InRange(*s, d)) return FALSE;
        s->Sel = d;
        ShowMonthOf(*s, d);
        InvalidateRect(h, nullptr, TRUE);
        return TRUE;
    }
    case MCM_GETMINREQRECT: {
        auto* r = reinterpret_cast<TRect*>(lp);
        if (!r) return FALSE;
        TMcMetrics m = Metrics(h, *s);
        *r = TRect{0, 0, m.Width, m.Height};
        return TRUE;
    }
    case MCM_SETCOLOR: {
        if (wp > MCSC_TRAILINGTEXT) return LRESULT(CLR_DEFAULT);
        COLORREF old = s->Colors[wp];
        s->Colors[wp] = COLORREF(lp);
        InvalidateRect(h, nullptr, TRUE);
        return LRESULT(old);
    }
    case MCM_GETCOLOR: return wp <= MCSC_TRAILINGTEXT ? LRESULT(ColorOf(*s, int(wp))) : LRESULT(CLR_DEFAULT);
    case MCM_SETTODAY: {
        auto* st = reinterpret_cast<const SYSTEMTIME*>(lp);
        TDateTime d;
        s->TodaySet = st && FromSt(*st, d);
        if (s->TodaySet) s->Today = d;
        InvalidateRect(h, nullptr, TRUE);
        return 0;
    }
    case MCM_GETTODAY: {
        auto* st = reinterpret_cast<SYSTEMTIME*>(lp);
        if (!st) return FALSE;
        *st = ToSt(TodayOf(*s));
        return TRUE;
    }
    case MCM_SETFIRSTDAYOFWEEK: {
        int old = s->FirstDay;
        s->FirstDay = int(lp % 7 + 7) % 7;
        InvalidateRect(h, nullptr, TRUE);
        return MAKELRESULT(old, 1);
    }
    case MCM_GETFIRSTDAYOFWEEK: return MAKELRESULT(s->FirstDay, 0);
    case MCM_SETRANGE: {
        auto* st = reinterpret_cast<const SYSTEMTIME*>(lp);
        if (!st) return FALSE;
        DWORD flags = DWORD(wp) & (GDTR_MIN | GDTR_MAX);
        TDateTime mn = 0, mx = 0;
        if ((flags & GDTR_MIN) && !FromSt(st[0], mn)) return FALSE;
        if ((flags & GDTR_MAX) && !FromSt(st[1], mx)) return FALSE;
        s->RangeFlags = flags;
        s->Min = mn;
        s->Max = mx;
        if ((flags & GDTR_MIN) && s->Sel < mn) s->Sel = mn;
        if ((flags & GDTR_MAX) && s->Sel > mx) s->Sel = mx;
        ShowMonthOf(*s, s->Sel);
        InvalidateRect(h, nullptr, TRUE);
        return TRUE;
    }
    case MCM_GETRANGE: {
        auto* st = reinterpret_cast<SYSTEMTIME*>(lp);
        if (st) {
            st[0] = (s->RangeFlags & GDTR_MIN) ? ToSt(s->Min) : SYSTEMTIME{};
            st[1] = (s->RangeFlags & GDTR_MAX) ? ToSt(s->Max) : SYSTEMTIME{};
        }
        return s->RangeFlags;
    }
    case MCM_HITTEST: {
        auto* ht = reinterpret_cast<MCHITTESTINFO*>(lp);
        if (!ht) return -1;
        TDateTime d = 0;
        ht->uHit = HitTest(h, *s, ht->pt, &d);
        if ((ht->uHit & MCHT_CALENDARDATE) == MCHT_CALENDARDATE) ht->st = ToSt(d);
        return LRESULT(ht->uHit);
    }
    default: break;
    }
    return DefWindowProc(h, msg, wp, lp);
}
