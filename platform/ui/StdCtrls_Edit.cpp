// The "EDIT" window class: single- and multi-line edits over TEditModel,
// with the edit messages, notifications to the parent, mouse and keyboard
// selection, the clipboard, a blinking caret and the colours the parent gives.
#include "platform/ui/StdCtrls_Edit.h"

#include <algorithm>
#include <memory>

#include "platform/gfx/Gdi.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Tooltips.h"

namespace {

const wchar_t* const kStateProp = L"VelEditState";
constexpr Char kPasswordDot = 0x25CF;
constexpr UINT_PTR kBlinkTimer = 0x4544;   // 'ED'

struct TEditState {
    TEditModel Model;
    DWORD Style = 0;
    HFONT Font = nullptr;
    Integer LeftMargin = 1, RightMargin = 1;
    bool RectSet = false;
    TRect FormatRect;
    Integer ScrollX = 0;     // pixels scrolled to the left
    Integer TopLine = 0;     // multi-line: first visual line shown
    bool Focused = false;
    bool CaretOn = false;    // the blinking caret's phase
    bool Selecting = false;  // left button held
    bool Balloon = false;
    String BalloonTitle, BalloonText;
    int BalloonIcon = TTI_NONE;
    bool BalloonNew = false;  // set with a balloon to show (again)
    HWND BalloonTip = nullptr;  // the balloon tooltip window while shown
    String Cue;              // grey text of an empty edit
    bool CueFocused = false; // the cue stays while focused
    std::vector<TEditLine> Visual;   // visual lines (wrapped in a wrapping multi-line edit)
    // What Visual was laid out from: while all of it stays the same (a
    // style write such as EM_SETREADONLY, a caret move), the lines are not
    // measured again.
    struct TLayoutInputs {
        bool Valid = false;
        int Mode = 0;             // 0 single line, 1 multi-line, 2 wrapping
        Integer Width = 0;        // the format rectangle's width (wrapping only)
        HFONT Font = nullptr;     // (wrapping only)
        uint32_t Changes = 0;     // the model's text changes; every change of its text counts
        Char Password = 0;
    } Laid;
};

TEditState* StateOf(HWND h) { return static_cast<TEditState*>(GetProp(h, kStateProp)); }

// Measures text in the edit's font on a screen information context.
class TMeasure {
public:
    explicit TMeasure(HFONT font) : FDc(CreateScreenIC())
    {
        FOld = SelectObject(FDc, font ? HGDIOBJ(font) : GetStockObject(DEFAULT_GUI_FONT));
    }
    ~TMeasure()
    {
        SelectObject(FDc, FOld);
        DeleteDC(FDc);
    }
    TMeasure(const TMeasure&) = delete;
    TMeasure& operator=(const TMeasure&) = delete;
    Integer Width(const Char* s, Integer n) const
    {
        if (n <= 0) return 0;
        SIZE sz{};
        GetTextExtentPoint32(FDc, s, n, &sz);
        return sz.cx;
    }
    Integer LineHeight() const
    {
        TEXTMETRICW tm{};
        GetTextMetrics(FDc, &tm);
        return std::max<Integer>(tm.tmHeight, 1);
    }

private:
    HDC FDc;
    HGDIOBJ FOld;
};

bool IsMulti(const TEditState& s) { return (s.Style & ES_MULTILINE) != 0; }
bool Wraps(const TEditState& s) { return IsMulti(s) && !(s.Style & ES_AUTOHSCROLL) && !(s.Style & WS_HSCROLL); }

void Notify(HWND h, Word code)
{
    HWND parent = GetParent(h);
    if (parent)
        SendMessage(parent, WM_COMMAND, MAKEWPARAM(int(GetWindowLong(h, GWL_ID)), code), LPARAM(h));
}

TRect FormatRect(HWND h, const TEditState& s)
{
    if (s.RectSet) return s.FormatRect;
    TRect c;
    GetClientRect(h, &c);
    return TRect{c.Left + s.LeftMargin, c.Top + 1, c.Right - s.RightMargin, c.Bottom - 1};
}

Integer PageLines(HWND h, const TEditState& s)
{
    return std::max<Integer>(FormatRect(h, s).Height() / TMeasure(s.Font).LineHeight(), 1);
}

void Relayout(HWND h, TEditState& s)
{
    const int mode = Wraps(s) ? 2 : IsMulti(s) ? 1 : 0;
    const Integer width = mode == 2 ? std::max(FormatRect(h, s).Width(), 1) : 0;
    const HFONT font = mode == 2 ? s.Font : nullptr;
    const uint32_t changes = s.Model.ChangeCount();
    const Char password = s.Model.PasswordChar();
    TEditState::TLayoutInputs& laid = s.Laid;
    if (laid.Valid && laid.Mode == mode && laid.Width == width && laid.Font == font && laid.Changes == changes &&
        laid.Password == password)
        return;
    const String shown = s.Model.DisplayText();
    if (mode == 2) {
        TMeasure m(s.Font);
        s.Visual = WrapEditText(shown, width, [&](const Char* p, Integer n) { return m.Width(p, n); });
    } else if (mode == 1) {
        s.Visual = SplitEditLines(shown);
    } else {
        s.Visual = {TEditLine{0, Integer(shown.size()), 0}};
    }
    if (s.Visual.empty()) s.Visual.push_back(TEditLine{});
    laid.Valid = true;
    laid.Mode = mode;
    laid.Width = width;
    laid.Font = font;
    laid.Changes = changes;
    laid.Password = password;
}

Integer VisualLineOf(const TEditState& s, Integer pos)
{
    for (Integer i = Integer(s.Visual.size()) - 1; i >= 0; --i)
        if (s.Visual[i].Start <= pos) return i;
    return 0;
}

// The x of the line's start inside the format rectangle (alignment).
Integer LineOffset(const TEditState& s, const TMeasure& m, const String& shown, const TEditLine& l,
                   Integer width)
{
    Integer w = m.Width(shown.data() + l.Start, l.Length);
    if (w >= width) return 0;
    if (s.Style & ES_CENTER) return (width - w) / 2;
    if (s.Style & ES_RIGHT) return width - w - 1;   // room for the caret
    return 0;
}

TPoint PosFromChar(HWND h, TEditState& s, Integer pos)
{
    TMeasure m(s.Font);
    String shown = s.Model.DisplayText();
    TRect fr = FormatRect(h, s);
    Integer line = VisualLineOf(s, pos);
    const TEditLine& l = s.Visual[line];
    Integer x = fr.Left + LineOffset(s, m, shown, l, fr.Width()) +
                m.Width(shown.data() + l.Start, std::min(pos, l.Start + l.Length) - l.Start) - s.ScrollX;
    Integer y = fr.Top + (line - s.TopLine) * m.LineHeight();
    return {x, y};
}

Integer CharFromPos(HWND h, TEditState& s, TPoint p, Integer* lineOut = nullptr)
{
    TMeasure m(s.Font);
    String shown = s.Model.DisplayText();
    TRect fr = FormatRect(h, s);
    Integer lh = m.LineHeight();
    Integer line = p.Y < fr.Top ? s.TopLine - 1 : s.TopLine + (p.Y - fr.Top) / lh;
    line = std::clamp<Integer>(line, 0, Integer(s.Visual.size()) - 1);
    const TEditLine& l = s.Visual[line];
    Integer x = p.X - fr.Left - LineOffset(s, m, shown, l, fr.Width()) + s.ScrollX;
    // The nearest character boundary.
    Integer best = l.Start, prev = 0;
    for (Integer k = 1; k <= l.Length; ++k) {
        Integer w = m.Width(shown.data() + l.Start, k);
        if (x < (prev + w) / 2) break;
        best = l.Start + k;
        prev = w;
    }
    if (lineOut) *lineOut = line;
    return best;
}

void UpdateScrollBars(HWND h, TEditState& s)
{
    if (!IsMulti(s)) return;
    // The bars asked for at creation stay, disabled while the text fits.
    DWORD style = s.Style;
    if (style & WS_VSCROLL) {
        SCROLLINFO si;
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
        si.nMin = 0;
        si.nMax = Integer(s.Visual.size()) - 1;
        si.nPage = UINT(PageLines(h, s));
        si.nPos = s.TopLine;
        SetScrollInfo(h, SB_VERT, &si, TRUE);
    }
    if (style & WS_HSCROLL) {
        TMeasure m(s.Font);
        String shown = s.Model.DisplayText();
        Integer widest = 0;
        for (const TEditLine& l : s.Visual) widest = std::max(widest, m.Width(shown.data() + l.Start, l.Length));
        SCROLLINFO si;
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
        si.nMin = 0;
        si.nMax = widest + 1;
        si.nPage = UINT(std::max(FormatRect(h, s).Width(), 1));
        si.nPos = s.ScrollX;
        SetScrollInfo(h, SB_HORZ, &si, TRUE);
    }
}

void ScrollCaretIntoView(HWND h, TEditState& s)
{
    TMeasure m(s.Font);
    TRect fr = FormatRect(h, s);
    Integer caret = s.Model.Caret();
    if (IsMulti(s)) {
        Integer line = VisualLineOf(s, caret);
        Integer page = PageLines(h, s);
        if (line < s.TopLine) s.TopLine = line;
        else if (line >= s.TopLine + page) s.TopLine = line - page + 1;
        s.TopLine = std::clamp<Integer>(s.TopLine, 0, std::max<Integer>(0, Integer(s.Visual.size()) - 1));
    }
    if (!Wraps(s)) {
        String shown = s.Model.DisplayText();
        const TEditLine& l = s.Visual[VisualLineOf(s, caret)];
        Integer x = m.Width(shown.data() + l.Start, caret - l.Start);
        Integer width = std::max(fr.Width(), 1);
        if (x - s.ScrollX > width - 1) s.ScrollX = x - width * 3 / 4;
        else if (x < s.ScrollX) s.ScrollX = std::max(0, x - width / 4);
        // No empty room at the right while the text could fill it.
        Integer full = m.Width(shown.data() + l.Start, l.Length);
        if (!IsMulti(s) && s.ScrollX > 0 && full - s.ScrollX < width - 1)
            s.ScrollX = std::max(0, std::max(full - width + 1, x - width + 1));
    } else {
        s.ScrollX = 0;
    }
    UpdateScrollBars(h, s);
}

// The caret shows at once after any move or change, then blinks.
void RestartBlink(HWND h, TEditState& s)
{
    if (!s.Focused) return;
    s.CaretOn = true;
    SetTimer(h, kBlinkTimer, kEditCaretBlinkMs, nullptr);
}

// After the text changed: layout, view, repaint and the notifications.
void TextChanged(HWND h, TEditState& s, bool notify)
{
    Relayout(h, s);
    ScrollCaretIntoView(h, s);
    RestartBlink(h, s);
    InvalidateRect(h, nullptr, TRUE);
    if (notify) {
        Notify(h, EN_UPDATE);
        Notify(h, EN_CHANGE);
    }
}

void SelectionMoved(HWND h, TEditState& s)
{
    ScrollCaretIntoView(h, s);
    RestartBlink(h, s);
    InvalidateRect(h, nullptr, TRUE);
}

// Carries out what an input did; changesBefore is the model's change count
// before the input, so a refused paste that still put part of its text in
// is told apart from one that put nothing in.
void React(HWND h, TEditState& s, uint32_t changesBefore, TEditResult r)
{
    switch (r) {
    case TEditResult::Changed: TextChanged(h, s, true); break;
    case TEditResult::Moved: SelectionMoved(h, s); break;
    case TEditResult::ReadOnly: MessageBeep(0); break;
    case TEditResult::NotANumber:
        s.Balloon = true;
        s.BalloonTitle = L"Unacceptable Character";
        s.BalloonText = L"You can only type a number here.";
        s.BalloonIcon = TTI_ERROR;
        s.BalloonNew = true;
        MessageBeep(0);
        break;
    case TEditResult::TooLong:
        if (s.Model.ChangeCount() != changesBefore) TextChanged(h, s, true);
        Notify(h, EN_MAXTEXT);
        break;
    case TEditResult::None: break;
    }
}

// Masked text never leaves the edit.
bool MayCopy(const TEditState& s) { return !s.Model.PasswordChar() && s.Model.SelLength() > 0; }

void Copy(TEditState& s)
{
    if (MayCopy(s)) SetClipboardText(s.Model.SelText());
}

void Cut(HWND h, TEditState& s)
{
    if (!MayCopy(s)) return;
    if (s.Model.ReadOnly()) {
        MessageBeep(0);
        return;
    }
    if (!SetClipboardText(s.Model.SelText())) return;   // keep the text when the clipboard refused it
    uint32_t before = s.Model.ChangeCount();
    TEditResult r = TEditResult::None;
    s.Model.Cut(&r);
    React(h, s, before, r);
}

void Paste(HWND h, TEditState& s)
{
    String text;
    if (!GetClipboardText(text)) return;
    uint32_t before = s.Model.ChangeCount();
    React(h, s, before, s.Model.Paste(text));
}

void Paint(HWND h, TEditState& s, HDC given)
{
    PAINTSTRUCT ps;
    HDC dc = given ? given : BeginPaint(h, &ps);
    if (!dc) return;
    int saved = SaveDC(dc);
    bool disabled = !IsWindowEnabled(h);
    bool grey = disabled || s.Model.ReadOnly();
    SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(grey ? COLOR_BTNFACE : COLOR_WINDOW));
    HBRUSH brush = nullptr;
    if (HWND parent = GetParent(h))
        brush = reinterpret_cast<HBRUSH>(
            SendMessage(parent, grey ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT, WPARAM(dc), LPARAM(h)));
    if (!brush) brush = GetSysColorBrush(grey ? COLOR_BTNFACE : COLOR_WINDOW);
    if (disabled) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    TRect client;
    GetClientRect(h, &client);
    FillRect(dc, &client, brush);

    SelectObject(dc, s.Font ? HGDIOBJ(s.Font) : GetStockObject(DEFAULT_GUI_FONT));
    TMeasure m(s.Font);
    Integer lh = m.LineHeight();
    TRect fr = FormatRect(h, s);
    IntersectClipRect(dc, fr.Left, fr.Top, fr.Right, fr.Bottom);
    String shown = s.Model.DisplayText();
    Integer a = s.Model.SelStart(), b = s.Model.SelEnd();
    bool showSel = a != b && (s.Focused || (s.Style & ES_NOHIDESEL));
    COLORREF text = GetTextColor(dc);
    SetBkMode(dc, TRANSPARENT);
    if (shown.empty() && !s.Cue.empty() && (!s.Focused || s.CueFocused)) {
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        TextOut(dc, fr.Left, fr.Top, s.Cue.data(), Integer(s.Cue.size()));
    }
    for (Integer i = s.TopLine; i < Integer(s.Visual.size()); ++i) {
        Integer y = fr.Top + (i - s.TopLine) * lh;
        if (y >= fr.Bottom) break;
        const TEditLine& l = s.Visual[i];
        Integer x0 = fr.Left + LineOffset(s, m, shown, l, fr.Width()) - s.ScrollX;
        // Three runs: before, inside and after the selection.
        Integer cuts[4] = {l.Start, std::clamp(a, l.Start, l.Start + l.Length),
                           std::clamp(b, l.Start, l.Start + l.Length), l.Start + l.Length};
        for (int k = 0; k < 3; ++k) {
            Integer from = cuts[k], to = cuts[k + 1];
            if (to <= from) continue;
            Integer x = x0 + m.Width(shown.data() + l.Start, from - l.Start);
            bool sel = showSel && k == 1;
            if (sel) {
                Integer w = m.Width(shown.data() + from, to - from);
                TRect r{x, y, x + w, y + lh};
                FillRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
                SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
            } else {
                SetTextColor(dc, text);
            }
            TextOut(dc, x, y, shown.data() + from, to - from);
        }
    }
    // The caret: a bar in the text colour (two pixels wide when overwriting).
    if (s.Focused && s.CaretOn) {
        TPoint c = PosFromChar(h, s, s.Model.Caret());
        TRect r{c.X, c.Y, c.X + (s.Model.Overwrite() ? 2 : 1), c.Y + lh};
        HBRUSH cb = CreateSolidBrush(text);
        FillRect(dc, &r, cb);
        DeleteObject(cb);
    }
    RestoreDC(dc, saved);
    if (!given) EndPaint(h, &ps);
}

void ApplyStyle(TEditState& s)
{
    s.Model.SetMultiLine(s.Style & ES_MULTILINE);
    s.Model.SetReadOnly(s.Style & ES_READONLY);
    s.Model.SetNumbersOnly(s.Style & ES_NUMBER);
    s.Model.SetCharCase((s.Style & ES_UPPERCASE)   ? TEditCharCase::Upper
                        : (s.Style & ES_LOWERCASE) ? TEditCharCase::Lower
                                                   : TEditCharCase::Normal);
    if ((s.Style & ES_PASSWORD) && !(s.Style & ES_MULTILINE) && !s.Model.PasswordChar())
        s.Model.SetPasswordChar(kPasswordDot);
}

bool KeyHeld(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

Integer MarginValue(Word v) { return v == EC_USEFONTINFO ? 1 : Integer(v); }

LRESULT Scroll(HWND h, TEditState& s, UINT msg, WPARAM wp)
{
    if (!IsMulti(s)) return 0;
    if (msg == WM_VSCROLL) {
        Integer page = PageLines(h, s);
        Integer top = s.TopLine, last = std::max<Integer>(0, Integer(s.Visual.size()) - page);
        switch (LOWORD(wp)) {
        case SB_LINEUP: --top; break;
        case SB_LINEDOWN: ++top; break;
        case SB_PAGEUP: top -= page; break;
        case SB_PAGEDOWN: top += page; break;
        case SB_TOP: top = 0; break;
        case SB_BOTTOM: top = last; break;
        case SB_THUMBTRACK: case SB_THUMBPOSITION: top = HIWORD(wp); break;
        default: return 0;
        }
        s.TopLine = std::clamp(top, 0, last);
    } else {
        Integer page = std::max(FormatRect(h, s).Width(), 1), step = TMeasure(s.Font).Width(L"x", 1);
        Integer x = s.ScrollX;
        switch (LOWORD(wp)) {
        case SB_LINELEFT: x -= step; break;
        case SB_LINERIGHT: x += step; break;
        case SB_PAGELEFT: x -= page; break;
        case SB_PAGERIGHT: x += page; break;
        case SB_LEFT: x = 0; break;
        case SB_THUMBTRACK: case SB_THUMBPOSITION: x = HIWORD(wp); break;
        default: return 0;
        }
        s.ScrollX = std::max(0, x);
    }
    UpdateScrollBars(h, s);
    InvalidateRect(h, nullptr, TRUE);
    return 0;
}

}  // namespace

void RegisterEditClass()
{
    WNDCLASS existing;
    if (GetClassInfo(nullptr, L"EDIT", &existing)) return;
    WNDCLASS wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &EditWndProc;
    wc.hCursor = LoadCursor(nullptr, IDC_IBEAM);
    wc.lpszClassName = L"EDIT";
    RegisterClass(wc);
}

namespace {

// The balloon window follows the edit's balloon state: shown with its stem
// at the caret's foot when one is set, gone when it is taken away.
void SyncBalloon(HWND h)
{
    TEditState* s = IsWindow(h) ? StateOf(h) : nullptr;
    if (!s) return;
    if (s->BalloonTip && (!s->Balloon || s->BalloonNew)) {
        HWND tip = s->BalloonTip;
        s->BalloonTip = nullptr;
        HideBalloonTip(tip);
    }
    if (s->Balloon && s->BalloonNew) {
        s->BalloonNew = false;
        TRect c;
        GetClientRect(h, &c);
        LRESULT pos = SendMessage(h, EM_POSFROMCHAR, WPARAM(s->Model.SelStart() + s->Model.SelLength()), 0);
        int x = pos == -1 ? c.Left + 8 : std::clamp<int>(GET_X_LPARAM(pos), c.Left, std::max(c.Left, c.Right - 1));
        TPoint stem{x, c.Bottom - 2};
        ClientToScreen(h, &stem);
        HWND tip = ShowBalloonTip(h, stem, s->BalloonTitle, s->BalloonText, s->BalloonIcon);
        if ((s = IsWindow(h) ? StateOf(h) : nullptr)) s->BalloonTip = tip;
        else HideBalloonTip(tip);
    }
}

struct TBalloonSync {
    HWND h;
    ~TBalloonSync() { SyncBalloon(h); }
};

}  // namespace

LRESULT EditWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    TBalloonSync sync{h};
    TEditState* s = StateOf(h);
    if (!s) {
        if (msg != WM_NCCREATE && msg != WM_CREATE) return DefWindowProc(h, msg, wp, lp);
        s = new TEditState;
        SetProp(h, kStateProp, s);
        s->Style = DWORD(GetWindowLong(h, GWL_STYLE));
        ApplyStyle(*s);
        if (auto* cs = reinterpret_cast<CREATESTRUCT*>(lp); cs && cs->lpszName) s->Model.SetText(cs->lpszName);
        Relayout(h, *s);
        return msg == WM_NCCREATE ? DefWindowProc(h, msg, wp, lp) : 0;
    }
    const uint32_t before = s->Model.ChangeCount();
    switch (msg) {
    case WM_NCDESTROY: {
        KillTimer(h, kBlinkTimer);
        HideBalloonTip(s->BalloonTip);
        RemoveProp(h, kStateProp);
        delete s;
        return DefWindowProc(h, msg, wp, lp);
    }
    case WM_STYLECHANGED:
        if (wp == WPARAM(GWL_STYLE)) {
            s->Style = reinterpret_cast<STYLESTRUCT*>(lp)->styleNew;
            ApplyStyle(*s);
            TextChanged(h, *s, false);
        }
        return 0;
    case WM_GETDLGCODE: {
        LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
        if (IsMulti(*s)) code |= DLGC_WANTALLKEYS;
        return code;
    }
    case WM_SETTEXT: {
        s->Model.SetText(lp ? reinterpret_cast<const wchar_t*>(lp) : L"");
        s->ScrollX = 0;
        s->TopLine = 0;
        DefWindowProc(h, msg, wp, lp);
        // A multi-line edit does not report text set this way.
        TextChanged(h, *s, !IsMulti(*s));
        return TRUE;
    }
    case WM_GETTEXTLENGTH: return LRESULT(s->Model.Length());
    case WM_GETTEXT: {
        auto* buf = reinterpret_cast<wchar_t*>(lp);
        int size = int(wp);
        if (!buf || size <= 0) return 0;
        const String& t = s->Model.Text();
        int n = std::min<int>(int(t.size()), size - 1);
        std::copy(t.begin(), t.begin() + n, buf);
        buf[n] = 0;
        return n;
    }
    case WM_SETFONT:
        s->Font = reinterpret_cast<HFONT>(wp);
        s->Laid.Valid = false;   // a new font may come in the old one's place
        TextChanged(h, *s, false);
        return 0;
    case WM_GETFONT: return LRESULT(s->Font);
    case WM_SIZE:
        Relayout(h, *s);
        ScrollCaretIntoView(h, *s);
        InvalidateRect(h, nullptr, TRUE);
        return 0;
    case WM_ENABLE: InvalidateRect(h, nullptr, TRUE); return 0;
    case WM_ERASEBKGND: return 1;   // painted with the text
    case WM_PAINT: Paint(h, *s, reinterpret_cast<HDC>(wp)); return 0;
    case WM_SETFOCUS:
        s->Focused = true;
        RestartBlink(h, *s);
        InvalidateRect(h, nullptr, TRUE);
        Notify(h, EN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        s->Focused = false;
        s->CaretOn = false;
        s->Balloon = false;
        KillTimer(h, kBlinkTimer);
        InvalidateRect(h, nullptr, TRUE);
        Notify(h, EN_KILLFOCUS);
        return 0;
    case WM_TIMER:
        if (wp == kBlinkTimer) {
            s->CaretOn = s->Focused && !s->CaretOn;
            InvalidateRect(h, nullptr, FALSE);
            return 0;
        }
        break;

    case WM_CHAR: {
        Char ch = Char(wp);
        switch (ch) {
        case 0x01: s->Model.SelectAll(); SelectionMoved(h, *s); return 0;    // Ctrl+A
        // The clipboard keys go through the messages, so a subclass that
        // handles WM_COPY, WM_PASTE or WM_CUT sees them too.
        case 0x03: SendMessage(h, WM_COPY, 0, 0); return 0;                 // Ctrl+C
        case 0x16: SendMessage(h, WM_PASTE, 0, 0); return 0;                // Ctrl+V
        case 0x18: SendMessage(h, WM_CUT, 0, 0); return 0;                  // Ctrl+X
        case 0x1A: React(h, *s, before, s->Model.Undo()); return 0;                  // Ctrl+Z
        default: break;
        }
        if (s->Balloon && ch >= 0x20) s->Balloon = false;   // the next key takes the complaint away
        React(h, *s, before, s->Model.TypeChar(ch));
        return 0;
    }
    case WM_KEYDOWN: {
        bool shift = KeyHeld(VK_SHIFT), ctrl = KeyHeld(VK_CONTROL);
        if (wp == VK_DELETE && shift && !ctrl) { SendMessage(h, WM_CUT, 0, 0); return 0; }
        if (wp == VK_INSERT && shift && !ctrl) { SendMessage(h, WM_PASTE, 0, 0); return 0; }
        if (wp == VK_INSERT && ctrl && !shift) { SendMessage(h, WM_COPY, 0, 0); return 0; }
        s->Model.SetPageLines(PageLines(h, *s));
        bool wasOverwrite = s->Model.Overwrite();
        React(h, *s, before, s->Model.KeyDown(Word(wp), shift, ctrl));
        if (s->Model.Overwrite() != wasOverwrite) InvalidateRect(h, nullptr, FALSE);
        return 0;
    }

    case WM_LBUTTONDOWN: {
        if (GetFocus() != h) SetFocus(h);
        Integer pos = CharFromPos(h, *s, LParamToPoint(lp));
        bool shift = (wp & MK_SHIFT) != 0;
        s->Model.SetSel(shift ? s->Model.Anchor() : pos, pos);
        s->Selecting = true;
        SetCapture(h);
        SelectionMoved(h, *s);
        return 0;
    }
    case WM_MOUSEMOVE:
        if (s->Selecting && GetCapture() == h) {
            Integer pos = CharFromPos(h, *s, LParamToPoint(lp));
            if (pos != s->Model.Caret()) {
                s->Model.SetSel(s->Model.Anchor(), pos);
                SelectionMoved(h, *s);
            }
        }
        return 0;
    case WM_LBUTTONUP:
        if (s->Selecting) {
            s->Selecting = false;
            if (GetCapture() == h) ReleaseCapture();
        }
        return 0;
    case WM_CAPTURECHANGED: s->Selecting = false; return 0;
    case WM_LBUTTONDBLCLK:
        if (GetFocus() != h) SetFocus(h);
        s->Model.SelectWordAt(CharFromPos(h, *s, LParamToPoint(lp)));
        SelectionMoved(h, *s);
        return 0;

    case WM_CUT: Cut(h, *s); return 0;
    case WM_COPY: Copy(*s); return 0;
    case WM_PASTE: Paste(h, *s); return 0;
    case WM_CLEAR: React(h, *s, before, s->Model.Clear()); return 0;
    case WM_UNDO: case EM_UNDO: {
        bool could = s->Model.CanUndo();
        React(h, *s, before, s->Model.Undo());
        return could;
    }
    case EM_CANUNDO: return s->Model.CanUndo();
    case EM_EMPTYUNDOBUFFER: s->Model.EmptyUndoBuffer(); return 0;

    case EM_GETSEL: {
        if (wp) *reinterpret_cast<DWORD*>(wp) = DWORD(s->Model.SelStart());
        if (lp) *reinterpret_cast<DWORD*>(lp) = DWORD(s->Model.SelEnd());
        return MAKELRESULT(std::min(s->Model.SelStart(), 0xFFFF), std::min(s->Model.SelEnd(), 0xFFFF));
    }
    case EM_SETSEL:
        s->Model.SetSel(Integer(intptr_t(wp)), Integer(lp));
        SelectionMoved(h, *s);
        return 0;
    case EM_REPLACESEL:
        React(h, *s, before, s->Model.ReplaceSel(lp ? reinterpret_cast<const wchar_t*>(lp) : L"", wp != 0));
        return 0;
    case EM_SCROLLCARET: SelectionMoved(h, *s); return TRUE;
    case EM_GETMODIFY: return s->Model.Modified();
    case EM_SETMODIFY: s->Model.SetModified(wp != 0); return 0;
    case EM_LIMITTEXT: s->Model.SetMaxLength(Integer(wp)); return 0;
    case EM_GETLIMITTEXT: return s->Model.MaxLength() ? s->Model.MaxLength() : 0x7FFFFFFE;
    case EM_SETREADONLY: {
        DWORD st = DWORD(GetWindowLong(h, GWL_STYLE));
        st = wp ? (st | ES_READONLY) : (st & ~DWORD(ES_READONLY));
        SetWindowLong(h, GWL_STYLE, LONG(st));
        s->Style = st;
        s->Model.SetReadOnly(wp != 0);
        InvalidateRect(h, nullptr, TRUE);
        return TRUE;
    }
    case EM_SETPASSWORDCHAR:
        if (!IsMulti(*s)) {
            s->Model.SetPasswordChar(Char(wp));
            DWORD st = DWORD(GetWindowLong(h, GWL_STYLE));
            st = wp ? (st | ES_PASSWORD) : (st & ~DWORD(ES_PASSWORD));
            SetWindowLong(h, GWL_STYLE, LONG(st));
            s->Style = st;
            s->Model.SetPasswordChar(Char(wp));
            TextChanged(h, *s, false);
        }
        return 0;
    case EM_GETPASSWORDCHAR: return s->Model.PasswordChar();
    case EM_GETRECT:
        if (lp) *reinterpret_cast<TRect*>(lp) = FormatRect(h, *s);
        return 0;
    case EM_SETRECT: case EM_SETRECTNP:
        if (lp) {
            s->FormatRect = *reinterpret_cast<const TRect*>(lp);
            s->RectSet = true;
        } else {
            s->RectSet = false;
        }
        Relayout(h, *s);
        ScrollCaretIntoView(h, *s);
        if (msg == EM_SETRECT) InvalidateRect(h, nullptr, TRUE);
        return 0;
    case EM_SETMARGINS:
        if (wp & EC_LEFTMARGIN) s->LeftMargin = MarginValue(LOWORD(uintptr_t(lp)));
        if (wp & EC_RIGHTMARGIN) s->RightMargin = MarginValue(HIWORD(uintptr_t(lp)));
        TextChanged(h, *s, false);
        return 0;
    case EM_GETMARGINS: return MAKELRESULT(s->LeftMargin, s->RightMargin);
    case EM_POSFROMCHAR: {
        // The end of the text has a place too: just after the last character.
        Integer i = Integer(intptr_t(wp));
        if (i < 0 || i > s->Model.Length()) return -1;
        TPoint p = PosFromChar(h, *s, i);
        return MAKELRESULT(p.X, p.Y);
    }
    case EM_CHARFROMPOS: {
        Integer line;
        Integer pos = CharFromPos(h, *s, LParamToPoint(lp), &line);
        return MAKELRESULT(pos, line);
    }
    case EM_GETLINECOUNT: return LRESULT(s->Visual.size());
    case EM_LINEINDEX: {
        Integer line = Integer(intptr_t(wp));
        if (line < 0) line = VisualLineOf(*s, s->Model.Caret());
        return line < Integer(s->Visual.size()) ? s->Visual[line].Start : -1;
    }
    case EM_LINELENGTH: {
        Integer pos = Integer(intptr_t(wp));
        if (pos < 0) return s->Model.Length() - s->Model.SelLength();
        if (pos > s->Model.Length()) return 0;
        return s->Visual[VisualLineOf(*s, pos)].Length;
    }
    case EM_LINEFROMCHAR: {
        Integer pos = Integer(intptr_t(wp));
        return VisualLineOf(*s, pos < 0 ? s->Model.SelStart() : pos);
    }
    case EM_GETLINE: {
        // The buffer's first element holds its size in characters; the line
        // is copied without a terminating zero.
        Integer line = Integer(wp);
        auto* buf = reinterpret_cast<wchar_t*>(lp);
        if (!buf || line < 0 || line >= Integer(s->Visual.size())) return 0;
        Integer room = Integer(buf[0]);
        const TEditLine& l = s->Visual[line];
        Integer n = std::clamp(l.Length, 0, std::max(room, 0));
        const String& t = s->Model.Text();
        std::copy(t.begin() + l.Start, t.begin() + l.Start + n, buf);
        return n;
    }
    case EM_GETFIRSTVISIBLELINE: return IsMulti(*s) ? s->TopLine : 0;
    case EM_LINESCROLL:
        if (IsMulti(*s)) {
            Integer last = std::max<Integer>(0, Integer(s->Visual.size()) - 1);
            s->TopLine = std::clamp<Integer>(s->TopLine + Integer(lp), 0, last);
            UpdateScrollBars(h, *s);
            InvalidateRect(h, nullptr, TRUE);
        }
        return TRUE;
    case WM_VSCROLL: case WM_HSCROLL: return Scroll(h, *s, msg, wp);
    case WM_MOUSEWHEEL:
        if (IsMulti(*s)) {
            Integer lines = -GET_WHEEL_DELTA_WPARAM(wp) * 3 / WHEEL_DELTA;
            SendMessage(h, EM_LINESCROLL, 0, lines);
            return 0;
        }
        break;
    case EM_SHOWBALLOONTIP: {
        auto* tip = reinterpret_cast<const EDITBALLOONTIP*>(lp);
        if (!tip) return FALSE;
        s->Balloon = true;
        s->BalloonTitle = tip->pszTitle ? tip->pszTitle : L"";
        s->BalloonText = tip->pszText ? tip->pszText : L"";
        s->BalloonIcon = tip->ttiIcon;
        s->BalloonNew = true;
        return TRUE;
    }
    case EM_HIDEBALLOONTIP: s->Balloon = false; return TRUE;
    case EM_SETCUEBANNER:
        s->Cue = lp ? reinterpret_cast<const wchar_t*>(lp) : L"";
        s->CueFocused = wp != 0;
        InvalidateRect(h, nullptr, TRUE);
        return TRUE;
    case EM_GETCUEBANNER: {
        auto* buf = reinterpret_cast<wchar_t*>(wp);
        int size = int(lp);
        if (!buf || size <= 0) return FALSE;
        int n = std::min<int>(int(s->Cue.size()), size - 1);
        std::copy(s->Cue.begin(), s->Cue.begin() + n, buf);
        buf[n] = 0;
        return TRUE;
    }
    default: break;
    }
    return DefWindowProc(h, msg, wp, lp);
}

bool EditBalloon(HWND edit, String* title, String* text, int* icon)
{
    TEditState* s = IsWindow(edit) ? StateOf(edit) : nullptr;
    if (!s || !s->Balloon) return false;
    if (title) *title = s->BalloonTitle;
    if (text) *text = s->BalloonText;
    if (icon) *icon = s->BalloonIcon;
    return true;
}
