// The "SysDateTimePick32" window class: a date or time shown field by
// field and edited with the keyboard, an optional check box, and either
// spin buttons or a button that drops down a month calendar.
#include <algorithm>
#include <cmath>

#include "platform/base/SysUtils.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/ComCtrlsInternal.h"
#include "platform/ui/DateTimePickerModel.h"
#include "platform/ui/Themes.h"

namespace {

const wchar_t* const kPickerProp = L"VelDateTimePickState";
constexpr int kCheckSize = 13;

struct TDtpState {
    TDateTimeFieldModel Model;
    String Custom;            // the format set by DTM_SETFORMAT, if any
    bool HasCustom = false;
    bool Valid = true;        // a date is chosen (the check box is on)
    DWORD RangeFlags = 0;
    HFONT Font = nullptr;
    bool Focused = false;
    HWND Cal = nullptr;       // the dropped-down calendar
    bool Closing = false;
    COLORREF McColors[6] = {CLR_DEFAULT, CLR_DEFAULT, CLR_DEFAULT, CLR_DEFAULT, CLR_DEFAULT, CLR_DEFAULT};
    HFONT McFont = nullptr;
    bool UserMode = false;    // typing a free text for the parent to read
    String UserText;
};

TDtpState* StateOf(HWND h) { return static_cast<TDtpState*>(GetProp(h, kPickerProp)); }
DWORD StyleOf(HWND h) { return DWORD(GetWindowLong(h, GWL_STYLE)); }

TRect Client(HWND h)
{
    TRect r;
    GetClientRect(h, &r);
    return r;
}

TRect CheckRect(HWND h)
{
    TRect c = Client(h);
    int top = (c.Height() - kCheckSize) / 2;
    return {c.Left + 3, top, c.Left + 3 + kCheckSize, top + kCheckSize};
}

TRect ButtonRect(HWND h)
{
    TRect c = Client(h);
    int w = GetSystemMetrics(SM_CXVSCROLL);
    return {std::max(c.Left, c.Right - w), c.Top, c.Right, c.Bottom};
}

int TextLeft(HWND h) { return (StyleOf(h) & DTS_SHOWNONE) ? CheckRect(h).Right + 4 : 3; }

void ApplyFormat(HWND h, TDtpState& s)
{
    TDateTime v = s.Model.Value();
    Integer active = s.Model.ActiveItem();
    s.Model.SetFormat(s.HasCustom ? s.Custom : DateTimePickerFormatOf(StyleOf(h)));
    s.Model.SetValue(v);
    if (active >= 0) s.Model.SetActiveItem(active);
    InvalidateRect(h, nullptr, TRUE);
}

SYSTEMTIME ToSt(TDateTime d)
{
    SYSTEMTIME st;
    DateTimeToSystemTime(d, st);
    return st;
}

bool FromSt(const SYSTEMTIME& st, TDateTime& out)
{
    TDateTime d, t;
    if (!TryEncodeDate(st.wYear, st.wMonth, st.wDay, d)) return false;
    if (!TryEncodeTime(st.wHour, st.wMinute, st.wSecond, st.wMilliseconds, t)) return false;
    out = d + t;
    return true;
}

void NotifyChange(HWND h)
{
    TDtpState* s = StateOf(h);
    if (!s) return;
    NMDATETIMECHANGE nm;
    nm.dwFlags = s->Valid ? DWORD(GDT_VALID) : DWORD(GDT_NONE);
    nm.st = ToSt(s->Model.Value());
    SendNotify(h, nm.nmhdr, DTN_DATETIMECHANGE);
}

void SetValid(HWND h, TDtpState& s, bool valid)
{
    if (s.Valid == valid) return;
    s.Valid = valid;
    InvalidateRect(h, nullptr, TRUE);
    NotifyChange(h);
}

// Ends digits being typed; a value they made is told to the parent.
void FinishTyping(HWND h, TDtpState& s)
{
    if (s.Model.FinishTyping()) {
        InvalidateRect(h, nullptr, TRUE);
        NotifyChange(h);
    }
}

void CommitUserString(HWND h, TDtpState& s, bool commit)
{
    if (!s.UserMode) return;
    s.UserMode = false;
    String text = s.UserText;
    s.UserText.clear();
    InvalidateRect(h, nullptr, TRUE);
    if (!commit) return;
    NMDATETIMESTRING nm;
    nm.pszUserString = text.c_str();
    nm.st = ToSt(s.Model.Value());
    nm.dwFlags = DWORD(GDT_ERROR);
    SendNotify(h, nm.nmhdr, DTN_USERSTRING);
    TDtpState* now = StateOf(h);
    if (!now) return;
    TDateTime v;
    if (nm.dwFlags == DWORD(GDT_VALID) && FromSt(nm.st, v)) {
        TDateTime old = now->Model.Value();
        now->Model.SetValue(v);
        bool changed = now->Model.Value() != old || !now->Valid;
        now->Valid = true;
        if (changed) NotifyChange(h);
    } else if (nm.dwFlags == DWORD(GDT_NONE) && (StyleOf(h) & DTS_SHOWNONE)) {
        SetValid(h, *now, false);
    }
}

// ---------------------------------------------------------------------------
// The drop-down calendar

void CloseUp(HWND h, TDtpState& s, bool pick)
{
    if (!s.Cal || s.Closing) return;
    s.Closing = true;
    HWND cal = s.Cal;
    bool changed = false;
    if (pick) {
        SYSTEMTIME st;
        TDateTime day;
        if (SendMessage(cal, MCM_GETCURSEL, 0, LPARAM(&st)) && FromSt(st, day)) {
            TDateTime old = s.Model.Value();
            double time = std::fabs(old - std::trunc(old));
            s.Model.SetValue(std::floor(day) + time);
            changed = s.Model.Value() != old || !s.Valid;
            s.Valid = true;
        }
    }
    s.Cal = nullptr;
    if (GetCapture() == cal) ReleaseCapture();
    DestroyWindow(cal);
    if (TDtpState* now = StateOf(h)) {
        now->Closing = false;
        InvalidateRect(h, nullptr, TRUE);
    }
    if (changed) NotifyChange(h);
    if (StateOf(h)) {
        NMHDR hdr;
        SendNotify(h, hdr, DTN_CLOSEUP);
    }
}

void DropDown(HWND h, TDtpState& s)
{
    if (s.Cal || (StyleOf(h) & DTS_UPDOWN)) return;
    FinishTyping(h, s);
    CommitUserString(h, s, true);
    TDtpState* now = StateOf(h);
    if (!now) return;
    HWND cal = CreateWindowEx(WS_EX_TOOLWINDOW, MONTHCAL_CLASS, L"", WS_POPUP | WS_BORDER, 0, 0, 0, 0, h, nullptr);
    if (!cal) return;
    SetProp(cal, kMonthCalOwnerProp, h);
    now->Cal = cal;
    SendMessage(cal, WM_SETFONT, WPARAM(now->McFont ? now->McFont : now->Font), FALSE);
    for (int i = 0; i < 6; ++i)
        if (now->McColors[i] != CLR_DEFAULT) SendMessage(cal, MCM_SETCOLOR, WPARAM(i), LPARAM(now->McColors[i]));
    if (now->RangeFlags) {
        SYSTEMTIME range[2];
        if (now->RangeFlags & GDTR_MIN) range[0] = ToSt(now->Model.MinDate());
        if (now->RangeFlags & GDTR_MAX) range[1] = ToSt(now->Model.MaxDate());
        SendMessage(cal, MCM_SETRANGE, now->RangeFlags, LPARAM(range));
    }
    SYSTEMTIME st = ToSt(now->Valid ? now->Model.Value() : std::floor(Date()));
    SendMessage(cal, MCM_SETCURSEL, 0, LPARAM(&st));

    // Below the picker (above when the screen has no room), left or right aligned.
    TRect need;
    SendMessage(cal, MCM_GETMINREQRECT, 0, LPARAM(&need));
    AdjustWindowRectEx(&need, WS_POPUP | WS_BORDER, FALSE, WS_EX_TOOLWINDOW);
    TRect wr;
    GetWindowRect(h, &wr);
    MONITORINFO mi;
    GetMonitorInfo(MonitorFromWindow(h, MONITOR_DEFAULTTONEAREST), &mi);
    int x = (StyleOf(h) & DTS_RIGHTALIGN) ? wr.Right - need.Width() : wr.Left;
    int y = wr.Bottom;
    if (y + need.Height() > mi.rcWork.Bottom && wr.Top - need.Height() >= mi.rcWork.Top) y = wr.Top - need.Height();
    x = std::clamp(x, mi.rcWork.Left, std::max(mi.rcWork.Left, mi.rcWork.Right - need.Width()));
    SetWindowPos(cal, HWND_TOP, x, y, need.Width(), need.Height(), SWP_NOACTIVATE);

    // The parent may restyle or resize the calendar now.
    NMHDR hdr;
    SendNotify(h, hdr, DTN_DROPDOWN);
    now = StateOf(h);
    if (!now || now->Cal != cal || !IsWindow(cal)) return;
    ShowWindow(cal, SW_SHOWNOACTIVATE);
    SetCapture(cal);
    InvalidateRect(h, nullptr, TRUE);
}

// ---------------------------------------------------------------------------
// Painting

TRect ItemRect(HWND h, HDC dc, const TDtpState& s, Integer item)
{
    String text = s.Model.Text();
    Integer start, len;
    s.Model.ItemBounds(item, start, len);
    SIZE a{}, b{};
    GetTextExtentPoint32(dc, text.c_str(), int(start), &a);
    GetTextExtentPoint32(dc, text.c_str(), int(start + len), &b);
    TRect c = Client(h);
    int left = TextLeft(h);
    return {left + a.cx, c.Top + 2, left + b.cx, c.Bottom - 2};
}

// Paints into the DC given (a control wrapper that began the paint) or the
// window's own.
void Paint(HWND h, TDtpState& s, HDC given)
{
    PAINTSTRUCT ps;
    HDC dc = given ? given : BeginPaint(h, &ps);
    if (!dc) return;
    int saved = SaveDC(dc);
    TRect c = Client(h);
    bool enabled = IsWindowEnabled(h) != 0;
    FillRect(dc, &c, GetSysColorBrush(enabled ? COLOR_WINDOW : COLOR_BTNFACE));
    HGDIOBJ oldFont = SelectObject(dc, s.Font ? HGDIOBJ(s.Font) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    DWORD style = StyleOf(h);

    if (style & DTS_SHOWNONE) {
        TRect box = CheckRect(h);
        if (HTHEME t = OpenThemeData(h, L"button")) {
            int state = !enabled ? (s.Valid ? CBS_CHECKEDDISABLED : CBS_UNCHECKEDDISABLED)
                                 : (s.Valid ? CBS_CHECKEDNORMAL : CBS_UNCHECKEDNORMAL);
            DrawThemeBackground(t, dc, BP_CHECKBOX, state, &box, nullptr);
            CloseThemeData(t);
        } else {
            DrawFrameControl(dc, &box, DFC_BUTTON, DFCS_BUTTONCHECK | (s.Valid ? DFCS_CHECKED : 0u) | (enabled ? 0u : DFCS_INACTIVE));
        }
    }

    TRect button = ButtonRect(h);
    TRect textArea{TextLeft(h), c.Top, button.Left, c.Bottom};
    SaveDC(dc);
    IntersectClipRect(dc, textArea.Left, textArea.Top, textArea.Right, textArea.Bottom);
    COLORREF normal = GetSysColor(enabled && s.Valid ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
    if (s.UserMode) {
        SetTextColor(dc, normal);
        TRect tr = textArea;
        DrawTextStr(dc, s.UserText, &tr, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    } else {
        String text = s.Model.Text();
        Integer active = s.Model.ActiveItem();
        for (Integer i = 0; i < Integer(s.Model.Items().size()); ++i) {
            Integer start, len;
            s.Model.ItemBounds(i, start, len);
            TRect r = ItemRect(h, dc, s, i);
            bool hot = i == active && s.Focused && s.Valid && enabled;
            if (hot) FillRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
            SetTextColor(dc, hot ? GetSysColor(COLOR_HIGHLIGHTTEXT) : normal);
            TRect tr{r.Left, c.Top, r.Right + 1, c.Bottom};
            DrawTextStr(dc, text.substr(size_t(start), size_t(len)), &tr, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        }
    }
    RestoreDC(dc, -1);

    if (style & DTS_UPDOWN) {
        TRect up{button.Left, button.Top, button.Right, (button.Top + button.Bottom) / 2};
        TRect down{button.Left, up.Bottom, button.Right, button.Bottom};
        if (HTHEME t = OpenThemeData(h, L"spin")) {
            DrawThemeBackground(t, dc, SPNP_UP, enabled ? UPS_NORMAL : UPS_DISABLED, &up, nullptr);
            DrawThemeBackground(t, dc, SPNP_DOWN, enabled ? DNS_NORMAL : DNS_DISABLED, &down, nullptr);
            CloseThemeData(t);
        } else {
            DrawFrameControl(dc, &up, DFC_SCROLL, DFCS_SCROLLUP | (enabled ? 0u : DFCS_INACTIVE));
            DrawFrameControl(dc, &down, DFC_SCROLL, DFCS_SCROLLDOWN | (enabled ? 0u : DFCS_INACTIVE));
        }
    } else if (HTHEME t = OpenThemeData(h, L"combobox")) {
        DrawThemeBackground(t, dc, CP_DROPDOWNBUTTON, !enabled ? CBXS_DISABLED : s.Cal ? CBXS_PRESSED : CBXS_NORMAL,
                            &button, nullptr);
        CloseThemeData(t);
    } else {
        DrawFrameControl(dc, &button, DFC_SCROLL,
                         DFCS_SCROLLCOMBOBOX | (s.Cal ? DFCS_PUSHED : 0u) | (enabled ? 0u : DFCS_INACTIVE));
    }
    SelectObject(dc, oldFont);
    RestoreDC(dc, saved);
    if (!given) EndPaint(h, &ps);
}

// ---------------------------------------------------------------------------
// Input

void Edited(HWND h, TDtpState& s, bool changed)
{
    InvalidateRect(h, nullptr, TRUE);
    if (changed) NotifyChange(h);
}

void KeyDown(HWND h, TDtpState& s, Word vk, bool alt)
{
    if (s.Cal) {
        switch (vk) {
        case VK_ESCAPE: CloseUp(h, s, false); return;
        case VK_RETURN: CloseUp(h, s, true); return;
        case VK_F4: CloseUp(h, s, false); return;
        case VK_UP: case VK_DOWN:
            if (alt) {
                CloseUp(h, s, true);
                return;
            }
            [[fallthrough]];
        default: SendMessage(s.Cal, WM_KEYDOWN, vk, 0); return;
        }
    }
    if (s.UserMode) {
        if (vk == VK_RETURN) CommitUserString(h, s, true);
        else if (vk == VK_ESCAPE) CommitUserString(h, s, false);
        return;
    }
    DWORD style = StyleOf(h);
    if ((vk == VK_F4 || (alt && vk == VK_DOWN)) && !(style & DTS_UPDOWN)) {
        DropDown(h, s);
        return;
    }
    if (alt) return;
    switch (vk) {
    case VK_LEFT: FinishTyping(h, s); if (StateOf(h)) { s.Model.PrevField(); InvalidateRect(h, nullptr, TRUE); } return;
    case VK_RIGHT: FinishTyping(h, s); if (StateOf(h)) { s.Model.NextField(); InvalidateRect(h, nullptr, TRUE); } return;
    case VK_UP: case VK_DOWN: case VK_PRIOR: case VK_NEXT:
        if (!s.Valid) return;
        FinishTyping(h, s);
        if (StateOf(h)) Edited(h, s, s.Model.Step(vk == VK_UP || vk == VK_PRIOR ? 1 : -1));
        return;
    case VK_SPACE:
        if (style & DTS_SHOWNONE) SetValid(h, s, !s.Valid);
        return;
    case VK_F2:
        if (style & DTS_APPCANPARSE) {
            FinishTyping(h, s);
            if (StateOf(h)) {
                s.UserMode = true;
                s.UserText = s.Model.Text();
                InvalidateRect(h, nullptr, TRUE);
            }
        }
        return;
    default: return;
    }
}

void CharTyped(HWND h, TDtpState& s, wchar_t ch)
{
    if (s.Cal) return;
    if (s.UserMode) {
        if (ch == VK_BACK) {
            if (!s.UserText.empty()) s.UserText.pop_back();
        } else if (ch >= L' ') {
            s.UserText += ch;
        }
        InvalidateRect(h, nullptr, TRUE);
        return;
    }
    if (ch < L' ' || ch == L' ') return;
    bool digit = ch >= L'0' && ch <= L'9';
    if (!digit && (StyleOf(h) & DTS_APPCANPARSE)) {
        // Free text: the parent reads it when it is done.
        Integer a = s.Model.ActiveItem();
        bool ampm = a >= 0 && s.Model.Items()[size_t(a)].Field == TDtField::AmPm;
        if (!ampm) {
            FinishTyping(h, s);
            if (!StateOf(h)) return;
            s.UserMode = true;
            s.UserText = String(1, ch);
            InvalidateRect(h, nullptr, TRUE);
            return;
        }
    }
    if (!s.Valid) return;
    Edited(h, s, s.Model.TypeChar(ch));
}

void LButtonDown(HWND h, TDtpState& s, TPoint p)
{
    if (GetFocus() != h) SetFocus(h);
    TDtpState* now = StateOf(h);
    if (!now) return;
    DWORD style = StyleOf(h);
    if ((style & DTS_SHOWNONE) && PtInRect(CheckRect(h), p)) {
        SetValid(h, *now, !now->Valid);
        return;
    }
    TRect button = ButtonRect(h);
    if (PtInRect(button, p)) {
        if (style & DTS_UPDOWN) {
            if (!now->Valid) return;
            FinishTyping(h, *now);
            if ((now = StateOf(h)) == nullptr) return;
            if (now->Model.ActiveItem() < 0) return;
            bool up = p.Y < (button.Top + button.Bottom) / 2;
            Edited(h, *now, now->Model.Step(up ? 1 : -1));
        } else if (now->Cal) {
            CloseUp(h, *now, false);
        } else {
            DropDown(h, *now);
        }
        return;
    }
    CommitUserString(h, *now, true);
    if ((now = StateOf(h)) == nullptr) return;
    FinishTyping(h, *now);
    if ((now = StateOf(h)) == nullptr) return;
    // The field under the mouse becomes the active one.
    HDC dc = GetDC(h);
    HGDIOBJ old = SelectObject(dc, now->Font ? HGDIOBJ(now->Font) : GetStockObject(DEFAULT_GUI_FONT));
    String text = now->Model.Text();
    int x = p.X - TextLeft(h);
    Integer pos = Integer(text.size());
    for (Integer k = 0; k < Integer(text.size()); ++k) {
        SIZE sz{};
        GetTextExtentPoint32(dc, text.c_str(), int(k + 1), &sz);
        if (x < sz.cx) {
            pos = k;
            break;
        }
    }
    SelectObject(dc, old);
    ReleaseDC(h, dc);
    Integer item = now->Model.ItemAtChar(std::max<Integer>(0, std::min<Integer>(pos, Integer(text.size()) - 1)));
    if (item >= 0) now->Model.SetActiveItem(item);
    InvalidateRect(h, nullptr, TRUE);
}

}  // namespace

// ---------------------------------------------------------------------------
// Formats

String PickerFormatFromLocale(const String& fmt)
{
    String out;
    bool twelve = false;
    {
        String up;
        for (wchar_t c : fmt) up += wchar_t(towupper(c));
        twelve = up.find(L"AM/PM") != String::npos || up.find(L"A/P") != String::npos ||
                 up.find(L"AMPM") != String::npos;
    }
    auto quote = [&](const String& lit) {
        if (lit.empty()) return;
        out += L'\'';
        for (wchar_t c : lit) {
            if (c == L'\'') out += L"''";
            else out += c;
        }
        out += L'\'';
    };
    bool afterHour = false;
    size_t i = 0;
    while (i < fmt.size()) {
        wchar_t c = fmt[i];
        wchar_t lc = wchar_t(towlower(c));
        size_t n = 1;
        while (i + n < fmt.size() && wchar_t(towlower(fmt[i + n])) == lc) ++n;
        String rest = fmt.substr(i);
        String restUp;
        for (wchar_t r : rest) restUp += wchar_t(towupper(r));
        if (restUp.compare(0, 5, L"AM/PM") == 0) {
            out += L"tt";
            i += 5;
            continue;
        }
        if (restUp.compare(0, 4, L"AMPM") == 0) {
            out += L"tt";
            i += 4;
            continue;
        }
        if (restUp.compare(0, 3, L"A/P") == 0) {
            out += L"t";
            i += 3;
            continue;
        }
        if (c == L'"' || c == L'\'') {
            size_t end = fmt.find(c, i + 1);
            if (end == String::npos) end = fmt.size();
            quote(fmt.substr(i + 1, end - i - 1));
            i = std::min(fmt.size(), end + 1);
            continue;
        }
        switch (lc) {
        case L'd': out += String(std::min<size_t>(n, 4), L'd'); afterHour = false; break;
        case L'y': out += n <= 2 ? L"yy" : L"yyyy"; afterHour = false; break;
        case L'm':
            if (afterHour && n <= 2) out += String(n, L'm');
            else out += String(std::min<size_t>(n, 4), L'M');
            afterHour = false;
            break;
        case L'n': out += String(std::min<size_t>(n, 2), L'm'); afterHour = false; break;
        case L'h': out += String(std::min<size_t>(n, 2), twelve ? L'h' : L'H'); afterHour = true; break;
        case L's': out += String(std::min<size_t>(n, 2), L's'); afterHour = false; break;
        case L'/': quote(String(n, FormatSettings.DateSeparator)); break;
        case L':': quote(String(n, FormatSettings.TimeSeparator)); break;
        default:
            if (iswalpha(c)) quote(fmt.substr(i, n));
            else quote(fmt.substr(i, n));
            break;
        }
        i += n;
    }
    return out;
}

String DateTimePickerFormatOf(DWORD style)
{
    if ((style & DTS_SHORTDATECENTURYFORMAT) == DTS_SHORTDATECENTURYFORMAT) {
        String f = PickerFormatFromLocale(FormatSettings.ShortDateFormat);
        if (f.find(L"yyyy") == String::npos) {
            size_t p = f.find(L"yy");
            if (p != String::npos) f.replace(p, 2, L"yyyy");
        }
        return f;
    }
    if (style & 0x8) return PickerFormatFromLocale(FormatSettings.LongTimeFormat);
    if (style & DTS_LONGDATEFORMAT) return PickerFormatFromLocale(FormatSettings.LongDateFormat);
    return PickerFormatFromLocale(FormatSettings.ShortDateFormat);
}

// ---------------------------------------------------------------------------

LRESULT DateTimePickWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    TDtpState* s = StateOf(h);
    if (!s) {
        if (msg != WM_NCCREATE && msg != WM_CREATE) return DefWindowProc(h, msg, wp, lp);
        s = new TDtpState;
        s->Model.SetFormat(DateTimePickerFormatOf(StyleOf(h)));
        s->Model.SetValue(Now());
        SetProp(h, kPickerProp, s);
    }
    switch (msg) {
    case WM_DESTROY:
        if (s->Cal) {
            HWND cal = s->Cal;
            s->Cal = nullptr;
            if (GetCapture() == cal) ReleaseCapture();
            DestroyWindow(cal);
        }
        return 0;
    case WM_NCDESTROY:
        RemoveProp(h, kPickerProp);
        delete s;
        return DefWindowProc(h, msg, wp, lp);
    case WM_SETFONT:
        s->Font = reinterpret_cast<HFONT>(wp);
        if (lp) InvalidateRect(h, nullptr, TRUE);
        return 0;
    case WM_GETFONT: return LRESULT(s->Font);
    case WM_STYLECHANGED:
        if (!s->HasCustom) ApplyFormat(h, *s);
        InvalidateRect(h, nullptr, TRUE);
        return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(h, *s, reinterpret_cast<HDC>(wp)); return 0;
    case WM_ENABLE: InvalidateRect(h, nullptr, TRUE); return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
        s->Focused = true;
        InvalidateRect(h, nullptr, TRUE);
        return 0;
    case WM_KILLFOCUS:
        s->Focused = false;
        if (s->Cal) CloseUp(h, *s, false);
        if ((s = StateOf(h))) CommitUserString(h, *s, true);
        if ((s = StateOf(h))) FinishTyping(h, *s);
        if ((s = StateOf(h))) InvalidateRect(h, nullptr, TRUE);
        return 0;
    case WM_KEYDOWN: KeyDown(h, *s, Word(wp), GetKeyState(VK_MENU) < 0); return 0;
    case WM_SYSKEYDOWN:
        if (wp == VK_DOWN || wp == VK_UP) {
            KeyDown(h, *s, Word(wp), true);
            return 0;
        }
        break;
    case WM_CHAR: CharTyped(h, *s, wchar_t(wp)); return 0;
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: LButtonDown(h, *s, LParamToPoint(lp)); return 0;
    case WM_NOTIFY: {
        auto* hdr = reinterpret_cast<NMHDR*>(lp);
        if (hdr && s->Cal && hdr->hwndFrom == s->Cal && hdr->code == MCN_SELECT) CloseUp(h, *s, true);
        return 0;
    }

    case DTM_GETSYSTEMTIME: {
        auto* st = reinterpret_cast<SYSTEMTIME*>(lp);
        if (!st) return GDT_ERROR;
        FinishTyping(h, *s);
        if (!(s = StateOf(h))) return GDT_ERROR;
        *st = ToSt(s->Model.Value());
        return s->Valid ? GDT_VALID : GDT_NONE;
    }
    case DTM_SETSYSTEMTIME: {
        if (LRESULT(wp) == GDT_NONE) {
            if (!(StyleOf(h) & DTS_SHOWNONE)) return FALSE;
            s->Valid = false;
            InvalidateRect(h, nullptr, TRUE);
            return TRUE;
        }
        auto* st = reinterpret_cast<const SYSTEMTIME*>(lp);
        TDateTime v;
        if (LRESULT(wp) != GDT_VALID || !st || !FromSt(*st, v)) return FALSE;
        s->Model.SetValue(v);
        s->Valid = true;
        InvalidateRect(h, nullptr, TRUE);
        return TRUE;
    }
    case DTM_GETRANGE: {
        auto* st = reinterpret_cast<SYSTEMTIME*>(lp);
        if (st) {
            st[0] = (s->RangeFlags & GDTR_MIN) ? ToSt(s->Model.MinDate()) : SYSTEMTIME{};
            st[1] = (s->RangeFlags & GDTR_MAX) ? ToSt(s->Model.MaxDate()) : SYSTEMTIME{};
        }
        return s->RangeFlags;
    }
    case DTM_SETRANGE: {
        auto* st = reinterpret_cast<const SYSTEMTIME*>(lp);
        DWORD flags = DWORD(wp) & (GDTR_MIN | GDTR_MAX);
        TDateTime mn = 0, mx = 0;
        if (flags && !st) return FALSE;
        if ((flags & GDTR_MIN) && !FromSt(st[0], mn)) return FALSE;
        if ((flags & GDTR_MAX) && !FromSt(st[1], mx)) return FALSE;
        s->RangeFlags = flags;
        // Each limit is set alone first so a new range never meets the old one.
        s->Model.SetMinDate(0);
        s->Model.SetMaxDate(0);
        s->Model.SetMinDate(mn);
        s->Model.SetMaxDate(mx);
        if (s->Cal) SendMessage(s->Cal, MCM_SETRANGE, wp, lp);
        InvalidateRect(h, nullptr, TRUE);
        return TRUE;
    }
    case DTM_SETFORMATW: {
        auto* f = reinterpret_cast<const wchar_t*>(lp);
        s->HasCustom = f != nullptr;
        s->Custom = f ? String(f) : String();
        ApplyFormat(h, *s);
        return TRUE;
    }
    case WM_GETTEXT: {
        // The text shown, as the window's text.
        String t = s->UserMode ? s->UserText : s->Model.Text();
        auto* out = reinterpret_cast<wchar_t*>(lp);
        if (!out || wp == 0) return 0;
        size_t n = std::min(t.size(), size_t(wp) - 1);
        std::copy_n(t.begin(), n, out);
        out[n] = 0;
        return LRESULT(n);
    }
    case WM_GETTEXTLENGTH: return LRESULT((s->UserMode ? s->UserText : s->Model.Text()).size());
    case DTM_GETMONTHCAL: return LRESULT(s->Cal);
    case DTM_CLOSEMONTHCAL:
        // From the calendar itself (wParam) only while it is the one open.
        if (wp == 0 || HWND(wp) == s->Cal) CloseUp(h, *s, false);
        return 0;
    case DTM_SETMCCOLOR: {
        if (wp > MCSC_TRAILINGTEXT) return LRESULT(CLR_DEFAULT);
        COLORREF old = s->McColors[wp];
        s->McColors[wp] = COLORREF(lp);
        if (s->Cal) SendMessage(s->Cal, MCM_SETCOLOR, wp, lp);
        return LRESULT(old);
    }
    case DTM_GETMCCOLOR: return wp <= MCSC_TRAILINGTEXT ? LRESULT(s->McColors[wp]) : LRESULT(CLR_DEFAULT);
    case DTM_SETMCFONT:
        s->McFont = reinterpret_cast<HFONT>(wp);
        if (s->Cal) SendMessage(s->Cal, WM_SETFONT, wp, lp);
        return 0;
    case DTM_GETMCFONT: return LRESULT(s->McFont);
    default: break;
    }
    return DefWindowProc(h, msg, wp, lp);
}

void DateTimePickerSetWholeFields(HWND picker, bool on)
{
    TDtpState* s = IsWindow(picker) ? StateOf(picker) : nullptr;
    if (!s) return;
    if (!on) FinishTyping(picker, *s);
    if ((s = StateOf(picker))) s->Model.SetWholeFields(on);
}

void RegisterDateTimeClasses()
{
    RegisterControlClass(DATETIMEPICK_CLASS, &DateTimePickWndProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
    RegisterControlClass(MONTHCAL_CLASS, &MonthCalWndProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
}
