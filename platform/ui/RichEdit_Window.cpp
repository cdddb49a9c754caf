// The rich edit window class: a rich text document with a selection,
// painting of formatted runs, keyboard and mouse editing, scrolling, the
// character and paragraph format messages, streaming, printing a range into
// a rectangle (EM_FORMATRANGE) and the size requests of a bottomless control.
#include <algorithm>
#include <climits>
#include <cstring>

#include "platform/gfx/Gdi.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/RichEdit.h"
#include "platform/ui/WindowManager.h"

namespace {

const wchar_t* const kStateProp = L"VelRichEditState";
constexpr UINT_PTR kBlinkTimer = 0x5245;   // 'RE'
constexpr UINT kCaretBlinkMs = 530;
// Streamed input beyond this is not read (the callback is not asked again).
constexpr size_t kMaxStreamBytes = size_t(256) << 20;

struct TRichState {
    TRichDocument Doc;
    TRichLayout Layout;
    bool LayoutValid = false;
    DWORD Style = 0;
    DWORD EventMask = 0;
    Integer Anchor = 0, Caret = 0;
    bool HaveTyping = false;   // a format set on an empty selection, for the next typing
    TRichCharFormat Typing;
    Integer MaxLength = 0;
    bool Modified = false;
    bool Focused = false, CaretOn = false, Selecting = false;
    Integer TopY = 0, ScrollX = 0;
    Integer GoalX = -1;        // the column Up and Down keep
    bool BkSystem = true;
    COLORREF Bk = 0xFFFFFF;
    bool RectSet = false;
    TRect FormatRect;
    TSize LastRequest{-1, -1};
    CHARRANGE Reported{0, 0};  // the selection the parent last heard of
};

TRichState* StateOf(HWND h) { return static_cast<TRichState*>(GetProp(h, kStateProp)); }

bool Wraps(const TRichState& s) { return !(s.Style & ES_AUTOHSCROLL) && !(s.Style & WS_HSCROLL); }
bool ReadOnly(const TRichState& s) { return (s.Style & ES_READONLY) != 0; }
bool KeyHeld(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }
Integer SelMin(const TRichState& s) { return std::min(s.Anchor, s.Caret); }
Integer SelMax(const TRichState& s) { return std::max(s.Anchor, s.Caret); }

TRect FormatRectOf(HWND h, const TRichState& s)
{
    if (s.RectSet) return s.FormatRect;
    TRect c;
    GetClientRect(h, &c);
    return TRect{c.Left + 1, c.Top + 1, c.Right - 1, c.Bottom - 1};
}

TRichLayout& LayoutOf(HWND h, TRichState& s)
{
    if (!s.LayoutValid) {
        const TRect fr = FormatRectOf(h, s);
        HDC dc = CreateScreenIC();
        s.Layout.Build(dc, s.Doc, Wraps(s) ? std::max<Integer>(fr.Width(), 1) : 0, std::max<Integer>(fr.Width(), 0));
        DeleteDC(dc);
        s.LayoutValid = true;
    }
    return s.Layout;
}

void SendNotify(HWND h, NMHDR& hdr, int code)
{
    hdr.hwndFrom = h;
    hdr.idFrom = UINT_PTR(GetWindowLong(h, GWL_ID));
    hdr.code = code;
    if (HWND parent = GetParent(h)) SendMessage(parent, WM_NOTIFY, WPARAM(hdr.idFrom), LPARAM(&hdr));
}

void UpdateScrollBars(HWND h, TRichState& s)
{
    const DWORD style = DWORD(GetWindowLong(h, GWL_STYLE));
    const TRect fr = FormatRectOf(h, s);
    TRichLayout& l = LayoutOf(h, s);
    if (style & WS_VSCROLL) {
        SCROLLINFO si;
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        si.nMin = 0;
        si.nMax = std::max<Integer>(l.Height() - 1, 0);
        si.nPage = UINT(std::max<Integer>(fr.Height(), 1));
        si.nPos = s.TopY;
        SetScrollInfo(h, SB_VERT, &si, TRUE);
    }
    if (style & WS_HSCROLL) {
        SCROLLINFO si;
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        si.nMin = 0;
        si.nMax = std::max<Integer>(l.Width(), 0);
        si.nPage = UINT(std::max<Integer>(fr.Width(), 1));
        si.nPos = s.ScrollX;
        SetScrollInfo(h, SB_HORZ, &si, TRUE);
    }
}

Integer MaxTop(HWND h, TRichState& s)
{
    return std::max<Integer>(0, LayoutOf(h, s).Height() - FormatRectOf(h, s).Height());
}

void ScrollCaretIntoView(HWND h, TRichState& s)
{
    const TRect fr = FormatRectOf(h, s);
    TRichLayout& l = LayoutOf(h, s);
    Integer lh = 0;
    const TPoint c = l.PosOf(s.Caret, &lh);
    if (c.Y + lh > s.TopY + fr.Height()) s.TopY = c.Y + lh - fr.Height();
    if (c.Y < s.TopY) s.TopY = c.Y;
    s.TopY = std::clamp(s.TopY, 0, MaxTop(h, s));
    if (Wraps(s)) {
        s.ScrollX = 0;
    } else {
        const Integer w = std::max<Integer>(fr.Width(), 1);
        if (c.X - s.ScrollX > w - 1) s.ScrollX = c.X - w * 3 / 4;
        else if (c.X < s.ScrollX) s.ScrollX = std::max(0, c.X - w / 4);
    }
    UpdateScrollBars(h, s);
}

void RestartBlink(HWND h, TRichState& s)
{
    if (!s.Focused) return;
    s.CaretOn = true;
    SetTimer(h, kBlinkTimer, kCaretBlinkMs, nullptr);
}

// The size the whole text needs: the text's height (and, unwrapped, its
// width) with the room around the formatting rectangle.
TSize NeededSize(HWND h, TRichState& s)
{
    TRect w;
    GetWindowRect(h, &w);
    const TRect fr = FormatRectOf(h, s);
    TRichLayout& l = LayoutOf(h, s);
    const Integer frameY = w.Height() - fr.Height(), frameX = w.Width() - fr.Width();
    return {Wraps(s) ? w.Width() : l.Width() + frameX, l.Height() + frameY};
}

void RequestResize(HWND h, TRichState& s, bool always)
{
    if (!(s.EventMask & ENM_REQUESTRESIZE)) return;
    const TSize need = NeededSize(h, s);
    if (!always && need.cx == s.LastRequest.cx && need.cy == s.LastRequest.cy) return;
    s.LastRequest = need;
    REQRESIZE rr;
    rr.rc = TRect{0, 0, need.cx, need.cy};
    SendNotify(h, rr.nmhdr, EN_REQUESTRESIZE);
}

void SelectionMoved(HWND h, TRichState& s)
{
    ScrollCaretIntoView(h, s);
    RestartBlink(h, s);
    InvalidateRect(h, nullptr, FALSE);
    const CHARRANGE now{SelMin(s), SelMax(s)};
    if (now.cpMin == s.Reported.cpMin && now.cpMax == s.Reported.cpMax) return;
    s.Reported = now;
    if (!(s.EventMask & ENM_SELCHANGE)) return;
    SELCHANGE sc;
    sc.chrg = now;
    sc.seltyp = now.cpMin == now.cpMax ? Word(SEL_EMPTY) : now.cpMax - now.cpMin > 1 ? Word(SEL_TEXT | SEL_MULTICHAR) : Word(SEL_TEXT);
    SendNotify(h, sc.nmhdr, EN_SELCHANGE);
}

// After the text or its formats changed: layout, view, repaint and the
// notifications the event mask asks for.
void Changed(HWND h, TRichState& s, bool textChange)
{
    s.LayoutValid = false;
    s.Modified = true;
    const Integer len = s.Doc.Length();
    s.Anchor = std::clamp(s.Anchor, 0, len);
    s.Caret = std::clamp(s.Caret, 0, len);
    InvalidateRect(h, nullptr, TRUE);
    if (textChange && (s.EventMask & ENM_CHANGE)) {
        if (HWND parent = GetParent(h))
            SendMessage(parent, WM_COMMAND, MAKEWPARAM(int(GetWindowLong(h, GWL_ID)), EN_CHANGE), LPARAM(h));
        if (!IsWindow(h) || StateOf(h) != &s) return;
    }
    RequestResize(h, s, false);
    if (!IsWindow(h) || StateOf(h) != &s) return;
    SelectionMoved(h, s);
}

// Replaces the selection with text in the typing format; answers whether
// anything changed.
bool ReplaceSelection(HWND h, TRichState& s, const String& text, bool typed)
{
    const Integer a = SelMin(s), b = SelMax(s);
    const TRichCharFormat fmt = s.HaveTyping ? s.Typing : a < b ? s.Doc.GetFormat(a, 1) : s.Doc.GetFormat(a, 0);
    String put = text;
    const Integer before = s.Doc.Length();
    if (typed && s.MaxLength > 0) {
        const Integer room = s.MaxLength - (before - (b - a));
        if (room <= 0 && !put.empty()) {
            MessageBeep(0);
            return false;
        }
        if (Integer(put.size()) > room) put.resize(size_t(room));
    }
    if (a == b && put.empty()) return false;
    s.Doc.Replace(a, b - a, put, fmt);
    s.Caret = s.Anchor = a + (s.Doc.Length() - (before - (b - a)));
    s.HaveTyping = false;
    s.GoalX = -1;
    return true;
}

// The text of [a, b) with paragraph ends as CRLF.
String RangeText(const TRichDocument& d, Integer a, Integer b)
{
    String out;
    Integer at = 0;
    const auto& paras = d.Paragraphs();
    for (size_t i = 0; i < paras.size() && at < b; ++i) {
        const String t = paras[i].Text();
        const Integer len = Integer(t.size());
        const Integer from = std::clamp(a - at, 0, len), to = std::clamp(b - at, 0, len);
        if (to > from) out.append(t, size_t(from), size_t(to - from));
        if (i + 1 < paras.size() && a <= at + len && b > at + len) out += L"\r\n";
        at += len + 1;
    }
    return out;
}

// A document holding the characters [a, b) of d with their formats.
TRichDocument SubDocument(const TRichDocument& d, Integer a, Integer b)
{
    TRichDocument out;
    out.DefaultFormat = d.DefaultFormat;
    out.SetParagraphs(d.Paragraphs());
    out.Replace(b, out.Length() - b, L"", d.DefaultFormat);
    out.Replace(0, a, L"", d.DefaultFormat);
    return out;
}

// Inserts d's paragraphs with their formats and alignments at pos; answers
// the position after them.
Integer InsertDocument(TRichDocument& into, Integer pos, const TRichDocument& d)
{
    const auto& paras = d.Paragraphs();
    for (size_t i = 0; i < paras.size(); ++i) {
        if (i > 0) {
            into.Replace(pos, 0, L"\r", paras[i - 1].EndFormat);
            ++pos;
        }
        into.SetAlignment(pos, 0, paras[i].Alignment);
        for (const TRichRun& r : paras[i].Runs) {
            into.Replace(pos, 0, r.Text, r.Format);
            pos += Integer(r.Text.size());
        }
    }
    return pos;
}

void CharFormatFrom(const CHARFORMATW& cf, TRichCharFormat& f)
{
    if (cf.dwMask & CFM_FACE) {
        size_t n = 0;
        while (n < 32 && cf.szFaceName[n]) ++n;
        f.Name.assign(cf.szFaceName, n);
    }
    if (cf.dwMask & CFM_SIZE) f.Height = std::clamp<LONG>(cf.yHeight, 20, 32760);
    if (cf.dwMask & CFM_OFFSET) f.Offset = std::clamp<LONG>(cf.yOffset, -32760, 32760);
    auto style = [&](DWORD mask, TFontStyle st) {
        if (!(cf.dwMask & mask)) return;
        if (cf.dwEffects & mask) f.Style.Include(st);
        else f.Style.Exclude(st);
    };
    style(CFM_BOLD, fsBold);
    style(CFM_ITALIC, fsItalic);
    style(CFM_UNDERLINE, fsUnderline);
    style(CFM_STRIKEOUT, fsStrikeOut);
    if (cf.dwMask & CFM_COLOR)
        f.Color = (cf.dwEffects & CFE_AUTOCOLOR) ? clWindowText : TColor(cf.crTextColor & 0xFFFFFF);
    if (cf.dwMask & CFM_SUBSCRIPT)
        f.Script = (cf.dwEffects & CFE_SUPERSCRIPT) ? TRichScript::Superscript
                   : (cf.dwEffects & CFE_SUBSCRIPT) ? TRichScript::Subscript
                                                    : TRichScript::Normal;
}

void CharFormatTo(const TRichCharFormat& f, TRichFormatParts same, CHARFORMATW& cf)
{
    cf.dwMask = 0;
    if (same.Contains(rfName)) cf.dwMask |= CFM_FACE;
    if (same.Contains(rfHeight)) cf.dwMask |= CFM_SIZE;
    if (same.Contains(rfStyle)) cf.dwMask |= CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
    if (same.Contains(rfColor)) cf.dwMask |= CFM_COLOR;
    if (same.Contains(rfOffset)) cf.dwMask |= CFM_OFFSET;
    if (same.Contains(rfScript)) cf.dwMask |= CFM_SUBSCRIPT;
    cf.dwMask |= CFM_CHARSET;
    cf.dwEffects = 0;
    if (f.Style.Contains(fsBold)) cf.dwEffects |= CFE_BOLD;
    if (f.Style.Contains(fsItalic)) cf.dwEffects |= CFE_ITALIC;
    if (f.Style.Contains(fsUnderline)) cf.dwEffects |= CFE_UNDERLINE;
    if (f.Style.Contains(fsStrikeOut)) cf.dwEffects |= CFE_STRIKEOUT;
    if (f.Script == TRichScript::Superscript) cf.dwEffects |= CFE_SUPERSCRIPT;
    if (f.Script == TRichScript::Subscript) cf.dwEffects |= CFE_SUBSCRIPT;
    if (f.Color == clWindowText) {
        cf.dwEffects |= CFE_AUTOCOLOR;
        cf.crTextColor = COLORREF(ColorToRGB(clWindowText));
    } else {
        cf.crTextColor = COLORREF(ColorToRGB(f.Color));
    }
    cf.yHeight = f.Height;
    cf.yOffset = f.Offset;
    cf.bCharSet = DEFAULT_CHARSET;
    const size_t n = std::min<size_t>(f.Name.size(), 31);
    std::fill(std::begin(cf.szFaceName), std::end(cf.szFaceName), WCHAR(0));
    std::copy(f.Name.begin(), f.Name.begin() + std::ptrdiff_t(n), cf.szFaceName);
}

TRichCharFormat FormatOfFont(HFONT font, const TRichCharFormat& base)
{
    TRichCharFormat f = base;
    LOGFONTW lf;
    if (!font || !GetObject(font, sizeof(lf), &lf)) return f;
    size_t n = 0;
    while (n < LF_FACESIZE && lf.lfFaceName[n]) ++n;
    if (n) f.Name.assign(lf.lfFaceName, n);
    if (lf.lfHeight) {
        // Pixels on the screen to whole points, as the font dialog shows them.
        const Integer px = lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
        f.Height = Integer((px * 72 + 48) / 96) * 20;
    }
    f.Style = TFontStyles{};
    if (lf.lfWeight >= FW_BOLD) f.Style.Include(fsBold);
    if (lf.lfItalic) f.Style.Include(fsItalic);
    if (lf.lfUnderline) f.Style.Include(fsUnderline);
    if (lf.lfStrikeOut) f.Style.Include(fsStrikeOut);
    return f;
}

LRESULT StreamIn(HWND h, TRichState& s, WPARAM flags, EDITSTREAM* es)
{
    if (!es || !es->pfnCallback) return 0;
    std::string bytes;
    Byte buf[4096];
    for (;;) {
        LONG got = 0;
        const DWORD err = es->pfnCallback(es->dwCookie, buf, LONG(sizeof buf), &got);
        if (err) {
            es->dwError = err;
            break;
        }
        if (got <= 0) break;
        bytes.append(reinterpret_cast<const char*>(buf), size_t(std::min<LONG>(got, LONG(sizeof buf))));
        if (bytes.size() > kMaxStreamBytes) break;
    }
    TRichDocument read;
    read.DefaultFormat = s.Doc.DefaultFormat;
    read.Clear();
    if (flags & SF_UNICODE) {
        String text;
        for (size_t i = 0; i + 1 < bytes.size(); i += 2) text += Char(Byte(bytes[i]) | (Byte(bytes[i + 1]) << 8));
        read.SetText(text);
    } else {
        LoadRichText(bytes, read, !(flags & SF_RTF));
    }
    const Integer before = s.Doc.Length();
    if (flags & SFF_SELECTION) {
        const Integer a = SelMin(s), b = SelMax(s);
        s.Doc.Replace(a, b - a, L"", s.Doc.DefaultFormat);
        s.Anchor = s.Caret = InsertDocument(s.Doc, a, read);
    } else {
        s.Doc.SetParagraphs(read.Paragraphs());
        s.Anchor = s.Caret = 0;
        s.TopY = s.ScrollX = 0;
    }
    s.HaveTyping = false;
    Changed(h, s, true);
    if (IsWindow(h) && StateOf(h) == &s) s.Modified = false;
    return LRESULT(std::max<Integer>(0, s.Doc.Length() - before + (SelMax(s) - SelMin(s))));
}

LRESULT StreamOut(TRichState& s, WPARAM flags, EDITSTREAM* es)
{
    if (!es || !es->pfnCallback) return 0;
    const TRichDocument* doc = &s.Doc;
    TRichDocument part;
    if (flags & SFF_SELECTION) {
        part = SubDocument(s.Doc, SelMin(s), SelMax(s));
        doc = &part;
    }
    std::string bytes;
    if (flags & SF_RTF) {
        bytes = WriteRtf(*doc);
    } else if (flags & SF_UNICODE) {
        for (Char c : doc->Text()) {
            bytes += char(c & 0xFF);
            bytes += char((c >> 8) & 0xFF);
        }
    } else {
        bytes = SaveRichText(*doc, true);
    }
    size_t at = 0;
    while (at < bytes.size()) {
        LONG done = 0;
        const LONG chunk = LONG(std::min<size_t>(bytes.size() - at, 4096));
        const DWORD err = es->pfnCallback(es->dwCookie, reinterpret_cast<Byte*>(bytes.data() + at), chunk, &done);
        if (err) {
            es->dwError = err;
            break;
        }
        if (done <= 0) break;
        at += size_t(std::min(done, chunk));
    }
    return LRESULT(at);
}

LRESULT FormatRange(HWND h, TRichState& s, bool render, FORMATRANGE* fr)
{
    (void)h;
    if (!fr || !fr->hdc) return 0;   // releases what a run of pages kept: nothing here
    const Integer len = s.Doc.Length();
    Integer from = std::clamp<Integer>(fr->chrg.cpMin, 0, len);
    Integer to = fr->chrg.cpMax < 0 ? len : std::clamp<Integer>(fr->chrg.cpMax, from, len);
    if (from >= to && len > 0) return from;
    HDC dc = fr->hdc;
    Integer dpiX = GetDeviceCaps(dc, LOGPIXELSX), dpiY = GetDeviceCaps(dc, LOGPIXELSY);
    if (dpiX <= 0) dpiX = 96;
    if (dpiY <= 0) dpiY = 96;
    auto px = [](LONG twips, Integer dpi) { return Integer(Int64(twips) * dpi / 1440); };
    const TRect r{px(fr->rc.Left, dpiX), px(fr->rc.Top, dpiY), px(fr->rc.Right, dpiX), px(fr->rc.Bottom, dpiY)};
    const Integer width = std::max<Integer>(r.Width(), 1);
    TRichLayout layout;
    layout.Build(dc, s.Doc, width, width, from, 0);
    const auto& lines = layout.Lines();
    // Skip the lines before from; then as many whole lines as fit, one at
    // least so that a page loop always moves on.
    size_t first = size_t(layout.LineOf(from));
    const Integer y0 = lines.empty() ? 0 : lines[first].Top;
    size_t last = first;
    while (last < lines.size() && lines[last].Start < to &&
           (last == first || lines[last].Top + lines[last].Height - y0 <= r.Height()))
        ++last;
    if (lines.empty()) return len;
    Integer next = last < lines.size() ? lines[last].Start : len;
    next = std::min(next, to);
    if (render) {
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
        // Only the range's characters: a range may start or end inside a line.
        layout.Draw(dc, TPoint{r.Left, r.Top - y0}, Integer(first), Integer(last), 0, 0, RGB(0, 0, 0), 0, 0, from,
                    to);
        RestoreDC(dc, saved);
    }
    // The answer after the last line is the end of the text.
    if (last >= lines.size()) return len;
    return next;
}

void Paint(HWND h, TRichState& s, HDC given)
{
    PAINTSTRUCT ps;
    HDC dc = given ? given : BeginPaint(h, &ps);
    if (!dc) return;
    const int saved = SaveDC(dc);
    const bool disabled = !IsWindowEnabled(h);
    TRect client;
    GetClientRect(h, &client);
    HBRUSH bk = CreateSolidBrush(s.BkSystem ? GetSysColor(COLOR_WINDOW) : s.Bk);
    FillRect(dc, &client, bk);
    DeleteObject(bk);
    const TRect fr = FormatRectOf(h, s);
    IntersectClipRect(dc, fr.Left, fr.Top, fr.Right, fr.Bottom);
    TRichLayout& l = LayoutOf(h, s);
    const auto& lines = l.Lines();
    Integer first = 0;
    while (first < Integer(lines.size()) && lines[size_t(first)].Top + lines[size_t(first)].Height <= s.TopY) ++first;
    Integer last = first;
    while (last < Integer(lines.size()) && lines[size_t(last)].Top < s.TopY + fr.Height()) ++last;
    const bool showSel = s.Focused || (s.Style & ES_NOHIDESEL);
    const TPoint origin{fr.Left - s.ScrollX, fr.Top - s.TopY};
    const COLORREF text = GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT);
    l.Draw(dc, origin, first, last, showSel ? SelMin(s) : 0, showSel ? SelMax(s) : 0, text,
           GetSysColor(COLOR_HIGHLIGHT), GetSysColor(COLOR_HIGHLIGHTTEXT));
    if (s.Focused && s.CaretOn && s.Anchor == s.Caret) {
        Integer lh = 0;
        const TPoint c = l.PosOf(s.Caret, &lh);
        TRect r{origin.X + c.X, origin.Y + c.Y, origin.X + c.X + 1, origin.Y + c.Y + lh};
        HBRUSH cb = CreateSolidBrush(text);
        FillRect(dc, &r, cb);
        DeleteObject(cb);
    }
    RestoreDC(dc, saved);
    if (!given) EndPaint(h, &ps);
}

bool IsWordChar(Char c) { return c != L' ' && c != L'\t' && c != L'\v'; }

// The position a word step from pos reaches, over the whole text.
Integer WordStep(const TRichState& s, Integer pos, bool right)
{
    const String t = RangeText(s.Doc, 0, s.Doc.Length());
    // Positions count a paragraph end once; the text has two characters there.
    String flat;
    flat.reserve(t.size());
    for (size_t i = 0; i < t.size(); ++i) {
        if (t[i] == L'\r' && i + 1 < t.size() && t[i + 1] == L'\n') ++i;
        flat += t[i] == L'\n' ? L'\r' : t[i];
    }
    const Integer n = Integer(flat.size());
    auto word = [&](Integer i) { return IsWordChar(flat[size_t(i)]) && flat[size_t(i)] != L'\r'; };
    if (right) {
        if (pos < n && !word(pos)) return pos + 1;
        while (pos < n && word(pos)) ++pos;
        while (pos < n && flat[size_t(pos)] == L' ') ++pos;
        return pos;
    }
    if (pos > 0 && !word(pos - 1) && flat[size_t(pos - 1)] != L' ') return pos - 1;
    while (pos > 0 && flat[size_t(pos - 1)] == L' ') --pos;
    while (pos > 0 && word(pos - 1)) --pos;
    return pos;
}

// Delete (forward) and Backspace: the selection, else a character or, with
// Ctrl, a word.
void DeleteChars(HWND h, TRichState& s, bool forward, bool word)
{
    if (ReadOnly(s)) {
        MessageBeep(0);
        return;
    }
    if (s.Anchor == s.Caret) {
        const Integer caret = s.Caret;
        if (forward) {
            if (caret >= s.Doc.Length()) return;
            s.Caret = word ? WordStep(s, caret, true) : caret + 1;
        } else {
            if (caret <= 0) return;
            s.Caret = word ? WordStep(s, caret, false) : caret - 1;
        }
    }
    if (ReplaceSelection(h, s, L"", true)) Changed(h, s, true);
}

void KeyDown(HWND h, TRichState& s, WPARAM vk)
{
    const bool shift = KeyHeld(VK_SHIFT), ctrl = KeyHeld(VK_CONTROL);
    TRichLayout& l = LayoutOf(h, s);
    const auto& lines = l.Lines();
    const Integer len = s.Doc.Length();
    Integer caret = s.Caret;
    bool keepGoal = false;
    auto vertical = [&](Integer delta) {
        Integer lh = 0;
        const TPoint c = l.PosOf(caret, &lh);
        if (s.GoalX < 0) s.GoalX = c.X;
        const Integer line = std::clamp<Integer>(l.LineOf(caret) + delta, 0, Integer(lines.size()) - 1);
        const TRichLine& to = lines[size_t(line)];
        caret = l.CharAt(TPoint{s.GoalX, to.Top + to.Height / 2});
        keepGoal = true;
    };
    switch (vk) {
    case VK_LEFT:
        if (!shift && s.Anchor != s.Caret) caret = SelMin(s);
        else caret = ctrl ? WordStep(s, caret, false) : std::max(0, caret - 1);
        break;
    case VK_RIGHT:
        if (!shift && s.Anchor != s.Caret) caret = SelMax(s);
        else caret = ctrl ? WordStep(s, caret, true) : std::min(len, caret + 1);
        break;
    case VK_UP: vertical(-1); break;
    case VK_DOWN: vertical(1); break;
    case VK_PRIOR: case VK_NEXT: {
        const Integer page = std::max<Integer>(FormatRectOf(h, s).Height(), 1);
        Integer lh = 0;
        const TPoint c = l.PosOf(caret, &lh);
        if (s.GoalX < 0) s.GoalX = c.X;
        const Integer y = vk == VK_PRIOR ? c.Y - page : c.Y + page;
        caret = l.CharAt(TPoint{s.GoalX, std::max(0, y) + lh / 2});
        s.TopY = std::clamp(s.TopY + (vk == VK_PRIOR ? -page : page), 0, MaxTop(h, s));
        keepGoal = true;
        break;
    }
    case VK_HOME:
        caret = ctrl ? 0 : lines.empty() ? 0 : lines[size_t(l.LineOf(caret))].Start;
        break;
    case VK_END:
        if (ctrl) {
            caret = len;
        } else if (!lines.empty()) {
            const size_t i = size_t(l.LineOf(caret));
            const TRichLine& ln = lines[i];
            caret = l.CharAt(TPoint{INT_MAX / 2, ln.Top});
        }
        break;
    case VK_DELETE: DeleteChars(h, s, true, ctrl); return;
    default: return;
    }
    if (!keepGoal) s.GoalX = -1;
    s.Caret = caret;
    if (!shift) s.Anchor = caret;
    s.HaveTyping = false;
    SelectionMoved(h, s);
}

void Copy(TRichState& s)
{
    if (s.Anchor != s.Caret) SetClipboardText(RangeText(s.Doc, SelMin(s), SelMax(s)));
}

void Paste(HWND h, TRichState& s)
{
    String text;
    if (ReadOnly(s) || !GetClipboardText(text)) return;
    if (ReplaceSelection(h, s, text, true)) Changed(h, s, true);
}

TPoint ClientToLayout(HWND h, const TRichState& s, LPARAM lp)
{
    const TRect fr = FormatRectOf(h, s);
    const TPoint p = LParamToPoint(lp);
    return {p.X - fr.Left + s.ScrollX, p.Y - fr.Top + s.TopY};
}

LRESULT Scroll(HWND h, TRichState& s, UINT msg, WPARAM wp)
{
    const TRect fr = FormatRectOf(h, s);
    TRichLayout& l = LayoutOf(h, s);
    if (msg == WM_VSCROLL) {
        const Integer page = std::max<Integer>(fr.Height(), 1);
        const Integer line = l.Lines().empty() ? 16 : l.Lines().front().Height;
        Integer top = s.TopY;
        switch (LOWORD(wp)) {
        case SB_LINEUP: top -= line; break;
        case SB_LINEDOWN: top += line; break;
        case SB_PAGEUP: top -= page; break;
        case SB_PAGEDOWN: top += page; break;
        case SB_TOP: top = 0; break;
        case SB_BOTTOM: top = INT_MAX / 2; break;
        case SB_THUMBTRACK: case SB_THUMBPOSITION: top = HIWORD(wp); break;
        default: return 0;
        }
        s.TopY = std::clamp(top, 0, MaxTop(h, s));
    } else {
        const Integer page = std::max<Integer>(fr.Width(), 1);
        Integer x = s.ScrollX;
        switch (LOWORD(wp)) {
        case SB_LINELEFT: x -= 8; break;
        case SB_LINERIGHT: x += 8; break;
        case SB_PAGELEFT: x -= page; break;
        case SB_PAGERIGHT: x += page; break;
        case SB_LEFT: x = 0; break;
        case SB_THUMBTRACK: case SB_THUMBPOSITION: x = HIWORD(wp); break;
        default: return 0;
        }
        s.ScrollX = std::clamp(x, 0, std::max<Integer>(0, l.Width() - page + 1));
    }
    UpdateScrollBars(h, s);
    InvalidateRect(h, nullptr, TRUE);
    return 0;
}

}  // namespace

void RegisterRichEditClass()
{
    WNDCLASS existing;
    if (GetClassInfo(nullptr, RICHEDIT_CLASS, &existing)) return;
    WNDCLASS wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &RichEditWndProc;
    wc.hCursor = LoadCursor(nullptr, IDC_IBEAM);
    wc.lpszClassName = RICHEDIT_CLASS;
    RegisterClass(wc);
}

LRESULT RichEditWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    TRichState* s = StateOf(h);
    if (!s) {
        if (msg != WM_NCCREATE && msg != WM_CREATE) return DefWindowProc(h, msg, wp, lp);
        s = new TRichState;
        SetProp(h, kStateProp, s);
        s->Style = DWORD(GetWindowLong(h, GWL_STYLE));
        if (auto* cs = reinterpret_cast<CREATESTRUCT*>(lp); cs && cs->lpszName) s->Doc.SetText(cs->lpszName);
        return msg == WM_NCCREATE ? DefWindowProc(h, msg, wp, lp) : 0;
    }
    switch (msg) {
    case WM_NCDESTROY:
        KillTimer(h, kBlinkTimer);
        RemoveProp(h, kStateProp);
        delete s;
        return DefWindowProc(h, msg, wp, lp);
    case WM_STYLECHANGED:
        if (wp == WPARAM(GWL_STYLE)) {
            s->Style = reinterpret_cast<STYLESTRUCT*>(lp)->styleNew;
            s->LayoutValid = false;
            InvalidateRect(h, nullptr, TRUE);
        }
        return 0;
    case WM_GETDLGCODE: return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS | DLGC_WANTALLKEYS;
    case WM_SETTEXT: {
        s->Doc.SetText(lp ? reinterpret_cast<const wchar_t*>(lp) : L"");
        s->Anchor = s->Caret = 0;
        s->TopY = s->ScrollX = 0;
        s->HaveTyping = false;
        // Text set as a whole is not reported as a change, as with a memo.
        Changed(h, *s, false);
        if (IsWindow(h) && StateOf(h) == s) s->Modified = false;
        return TRUE;
    }
    case WM_GETTEXTLENGTH: return LRESULT(s->Doc.Text().size());
    case WM_GETTEXT: {
        auto* buf = reinterpret_cast<wchar_t*>(lp);
        const int size = int(wp);
        if (!buf || size <= 0) return 0;
        const String t = s->Doc.Text();
        const int n = std::min<int>(int(t.size()), size - 1);
        std::copy(t.begin(), t.begin() + n, buf);
        buf[n] = 0;
        return n;
    }
    case WM_SETFONT: {
        // The font becomes the default format and the format of all text.
        const TRichCharFormat f = FormatOfFont(reinterpret_cast<HFONT>(wp), s->Doc.DefaultFormat);
        s->Doc.DefaultFormat = f;
        s->Doc.SetFormat(0, s->Doc.Length(), f, TRichFormatParts{rfName, rfHeight, rfStyle});
        s->LayoutValid = false;
        InvalidateRect(h, nullptr, TRUE);
        return 0;
    }
    case WM_SIZE:
        s->LayoutValid = false;
        ScrollCaretIntoView(h, *s);
        InvalidateRect(h, nullptr, TRUE);
        return 0;
    case WM_ENABLE: InvalidateRect(h, nullptr, TRUE); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(h, *s, reinterpret_cast<HDC>(wp)); return 0;
    case WM_SETFOCUS:
        s->Focused = true;
        RestartBlink(h, *s);
        InvalidateRect(h, nullptr, TRUE);
        return 0;
    case WM_KILLFOCUS:
        s->Focused = false;
        s->CaretOn = false;
        KillTimer(h, kBlinkTimer);
        InvalidateRect(h, nullptr, TRUE);
        return 0;
    case WM_TIMER:
        if (wp == kBlinkTimer) {
            s->CaretOn = s->Focused && !s->CaretOn;
            InvalidateRect(h, nullptr, FALSE);
            return 0;
        }
        break;
    case WM_CHAR: {
        const Char ch = Char(wp);
        switch (ch) {
        case 0x01:   // Ctrl+A
            s->Anchor = 0;
            s->Caret = s->Doc.Length();
            SelectionMoved(h, *s);
            return 0;
        case 0x03: Copy(*s); return 0;       // Ctrl+C
        case 0x16: Paste(h, *s); return 0;   // Ctrl+V
        case 0x18:                           // Ctrl+X
            if (ReadOnly(*s) || s->Anchor == s->Caret) return 0;
            Copy(*s);
            if (ReplaceSelection(h, *s, L"", true)) Changed(h, *s, true);
            return 0;
        default: break;
        }
        if (ch == L'\b' || ch == 0x7F) {   // Backspace, Ctrl+Backspace
            DeleteChars(h, *s, false, ch == 0x7F);
            return 0;
        }
        if (ch == 0x1B || (ch < 0x20 && ch != L'\r' && ch != L'\t' && ch != L'\n')) return 0;
        if (ReadOnly(*s)) {
            MessageBeep(0);
            return 0;
        }
        if ((ch == L'\r' || ch == L'\n') && !(s->Style & ES_MULTILINE)) return 0;
        if (ReplaceSelection(h, *s, String(1, ch == L'\n' ? L'\r' : ch), true)) Changed(h, *s, true);
        return 0;
    }
    case WM_KEYDOWN:
        if (wp == VK_INSERT && KeyHeld(VK_CONTROL)) Copy(*s);
        else if (wp == VK_INSERT && KeyHeld(VK_SHIFT)) Paste(h, *s);
        else KeyDown(h, *s, wp);
        return 0;
    case WM_LBUTTONDOWN: {
        if (GetFocus() != h) SetFocus(h);
        const Integer pos = LayoutOf(h, *s).CharAt(ClientToLayout(h, *s, lp));
        s->Caret = pos;
        if (!(wp & MK_SHIFT)) s->Anchor = pos;
        s->Selecting = true;
        s->GoalX = -1;
        s->HaveTyping = false;
        SetCapture(h);
        SelectionMoved(h, *s);
        return 0;
    }
    case WM_MOUSEMOVE:
        if (s->Selecting && GetCapture() == h) {
            const Integer pos = LayoutOf(h, *s).CharAt(ClientToLayout(h, *s, lp));
            if (pos != s->Caret) {
                s->Caret = pos;
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
    case WM_LBUTTONDBLCLK: {
        const Integer pos = LayoutOf(h, *s).CharAt(ClientToLayout(h, *s, lp));
        s->Anchor = WordStep(*s, std::min(pos + 1, s->Doc.Length()), false);
        s->Caret = std::max(WordStep(*s, s->Anchor, true), s->Anchor);
        SelectionMoved(h, *s);
        return 0;
    }
    case WM_MOUSEWHEEL: {
        const Integer line = LayoutOf(h, *s).Lines().empty() ? 16 : LayoutOf(h, *s).Lines().front().Height;
        s->TopY = std::clamp(s->TopY - GET_WHEEL_DELTA_WPARAM(wp) * 3 * line / WHEEL_DELTA, 0, MaxTop(h, *s));
        UpdateScrollBars(h, *s);
        InvalidateRect(h, nullptr, TRUE);
        return 0;
    }
    case WM_VSCROLL: case WM_HSCROLL: return Scroll(h, *s, msg, wp);
    case WM_CUT: SendMessage(h, WM_CHAR, 0x18, 0); return 0;
    case WM_COPY: Copy(*s); return 0;
    case WM_PASTE: Paste(h, *s); return 0;
    case WM_CLEAR:
        if (!ReadOnly(*s) && ReplaceSelection(h, *s, L"", false)) Changed(h, *s, true);
        return 0;
    case EM_CANUNDO: return FALSE;
    case EM_GETSEL: {
        if (wp) *reinterpret_cast<DWORD*>(wp) = DWORD(SelMin(*s));
        if (lp) *reinterpret_cast<DWORD*>(lp) = DWORD(SelMax(*s));
        return MAKELRESULT(std::min(SelMin(*s), 0xFFFF), std::min(SelMax(*s), 0xFFFF));
    }
    case EM_EXGETSEL:
        if (auto* cr = reinterpret_cast<CHARRANGE*>(lp)) *cr = CHARRANGE{SelMin(*s), SelMax(*s)};
        return 0;
    case EM_SETSEL: case EM_EXSETSEL: {
        LONG a = LONG(wp), b = LONG(lp);
        if (msg == EM_EXSETSEL) {
            const auto* cr = reinterpret_cast<const CHARRANGE*>(lp);
            if (!cr) return 0;
            a = cr->cpMin;
            b = cr->cpMax;
        }
        const Integer len = s->Doc.Length();
        if (a < 0) {
            // No selection: the caret at the selection's end.
            s->Anchor = s->Caret = SelMax(*s);
        } else if (b < 0 || (a == 0 && b == -1)) {
            s->Anchor = std::min<Integer>(a, len);
            s->Caret = len;
        } else {
            s->Anchor = std::min<Integer>(a, len);
            s->Caret = std::min<Integer>(b, len);
        }
        s->HaveTyping = false;
        s->GoalX = -1;
        SelectionMoved(h, *s);
        return SelMax(*s);
    }
    case EM_REPLACESEL:
        if (ReplaceSelection(h, *s, lp ? reinterpret_cast<const wchar_t*>(lp) : L"", false)) Changed(h, *s, true);
        return 0;
    case EM_GETSELTEXT: {
        auto* buf = reinterpret_cast<wchar_t*>(lp);
        const String t = RangeText(s->Doc, SelMin(*s), SelMax(*s));
        if (buf) {
            std::copy(t.begin(), t.end(), buf);
            buf[t.size()] = 0;
        }
        return LRESULT(t.size());
    }
    case EM_GETTEXTRANGE: {
        auto* tr = reinterpret_cast<TEXTRANGEW*>(lp);
        if (!tr || !tr->lpstrText) return 0;
        const Integer len = s->Doc.Length();
        const Integer a = std::clamp<Integer>(tr->chrg.cpMin, 0, len);
        const Integer b = tr->chrg.cpMax < 0 ? len : std::clamp<Integer>(tr->chrg.cpMax, a, len);
        const String t = RangeText(s->Doc, a, b);
        std::copy(t.begin(), t.end(), tr->lpstrText);
        tr->lpstrText[t.size()] = 0;
        return LRESULT(t.size());
    }
    case EM_GETMODIFY: return s->Modified;
    case EM_SETMODIFY: s->Modified = wp != 0; return 0;
    case EM_LIMITTEXT: case EM_EXLIMITTEXT:
        s->MaxLength = std::max<Integer>(0, Integer(msg == EM_LIMITTEXT ? wp : LPARAM(lp)));
        return 0;
    case EM_GETLIMITTEXT: return s->MaxLength ? s->MaxLength : 0x7FFFFFFE;
    case EM_SETREADONLY: {
        DWORD st = DWORD(GetWindowLong(h, GWL_STYLE));
        st = wp ? (st | ES_READONLY) : (st & ~DWORD(ES_READONLY));
        SetWindowLong(h, GWL_STYLE, LONG(st));
        s->Style = st;
        InvalidateRect(h, nullptr, TRUE);
        return TRUE;
    }
    case EM_GETEVENTMASK: return s->EventMask;
    case EM_SETEVENTMASK: {
        const DWORD old = s->EventMask;
        s->EventMask = DWORD(lp);
        return old;
    }
    case EM_SETBKGNDCOLOR: {
        const COLORREF old = s->BkSystem ? GetSysColor(COLOR_WINDOW) : s->Bk;
        s->BkSystem = wp != 0;
        s->Bk = COLORREF(lp);
        InvalidateRect(h, nullptr, TRUE);
        return old;
    }
    case EM_GETRECT:
        if (auto* r = reinterpret_cast<TRect*>(lp)) *r = FormatRectOf(h, *s);
        return 0;
    case EM_SETRECT: case EM_SETRECTNP:
        if (const auto* r = reinterpret_cast<const TRect*>(lp)) {
            s->FormatRect = *r;
            s->RectSet = true;
        } else {
            s->RectSet = false;
        }
        s->LayoutValid = false;
        if (msg == EM_SETRECT) InvalidateRect(h, nullptr, TRUE);
        return 0;
    case EM_SETCHARFORMAT: {
        const auto* cf = reinterpret_cast<const CHARFORMATW*>(lp);
        if (!cf || cf->cbSize < sizeof(CHARFORMATW)) return FALSE;
        auto change = [&](TRichCharFormat& f) { CharFormatFrom(*cf, f); };
        if (wp & SCF_ALL) {
            s->Doc.ChangeFormat(0, s->Doc.Length(), change);
        } else if (wp & SCF_SELECTION) {
            if (s->Anchor == s->Caret) {
                if (!s->HaveTyping) s->Typing = s->Doc.GetFormat(s->Caret, 0);
                change(s->Typing);
                s->HaveTyping = true;
                // An empty paragraph shows (and measures) in the format typed next.
                s->Doc.ChangeFormat(s->Caret, 0, change);
                Changed(h, *s, false);
                return TRUE;
            }
            s->Doc.ChangeFormat(SelMin(*s), SelMax(*s) - SelMin(*s), change);
        } else {
            change(s->Doc.DefaultFormat);
            if (s->Doc.Length() == 0) s->Doc.ChangeFormat(0, 0, change);
        }
        Changed(h, *s, false);
        return TRUE;
    }
    case EM_GETCHARFORMAT: {
        auto* cf = reinterpret_cast<CHARFORMATW*>(lp);
        if (!cf || cf->cbSize < sizeof(CHARFORMATW)) return 0;
        TRichFormatParts same = rfAll;
        TRichCharFormat f;
        if (wp & SCF_SELECTION) {
            if (s->Anchor != s->Caret) f = s->Doc.GetFormat(SelMin(*s), SelMax(*s) - SelMin(*s), &same);
            else f = s->HaveTyping ? s->Typing : s->Doc.GetFormat(s->Caret, 0);
        } else {
            f = s->Doc.DefaultFormat;
        }
        CharFormatTo(f, same, *cf);
        return cf->dwMask;
    }
    case EM_SETPARAFORMAT: {
        const auto* pf = reinterpret_cast<const PARAFORMAT*>(lp);
        if (!pf || pf->cbSize < sizeof(PARAFORMAT)) return FALSE;
        if (pf->dwMask & PFM_ALIGNMENT) {
            const TParaAlignment a = pf->wAlignment == PFA_RIGHT    ? paRightJustify
                                     : pf->wAlignment == PFA_CENTER  ? paCenter
                                     : pf->wAlignment == PFA_JUSTIFY ? paJustify
                                                                     : paLeftJustify;
            s->Doc.SetAlignment(SelMin(*s), SelMax(*s) - SelMin(*s), a);
            Changed(h, *s, false);
        }
        return TRUE;
    }
    case EM_GETPARAFORMAT: {
        auto* pf = reinterpret_cast<PARAFORMAT*>(lp);
        if (!pf || pf->cbSize < sizeof(PARAFORMAT)) return 0;
        const TParaAlignment a = s->Doc.Alignment(SelMin(*s));
        pf->dwMask = PFM_ALIGNMENT;
        for (Integer p = SelMin(*s); p <= SelMax(*s);) {
            // Mixed alignments leave the mask bit off.
            if (s->Doc.Alignment(p) != a) pf->dwMask &= ~PFM_ALIGNMENT;
            const Integer line = LayoutOf(h, *s).LineOf(p);
            const auto& lines = LayoutOf(h, *s).Lines();
            Integer next = p + 1;
            for (size_t i = size_t(line); i < lines.size(); ++i)
                if (lines[i].EndsParagraph) {
                    next = lines[i].Start + lines[i].Length + 1;
                    break;
                }
            p = std::max(next, p + 1);
        }
        pf->wAlignment = a == paRightJustify ? PFA_RIGHT : a == paCenter ? PFA_CENTER : a == paJustify ? PFA_JUSTIFY : PFA_LEFT;
        return pf->dwMask;
    }
    case EM_STREAMIN: return StreamIn(h, *s, wp, reinterpret_cast<EDITSTREAM*>(lp));
    case EM_STREAMOUT: return StreamOut(*s, wp, reinterpret_cast<EDITSTREAM*>(lp));
    case EM_FORMATRANGE: return FormatRange(h, *s, wp != 0, reinterpret_cast<FORMATRANGE*>(lp));
    case EM_REQUESTRESIZE: RequestResize(h, *s, true); return 0;
    case EM_GETLINECOUNT: return LRESULT(std::max<size_t>(1, LayoutOf(h, *s).Lines().size()));
    case EM_LINEFROMCHAR: case EM_EXLINEFROMCHAR: {
        const Integer pos = msg == EM_EXLINEFROMCHAR ? Integer(lp) : Integer(LPARAM(wp));
        return LayoutOf(h, *s).LineOf(pos < 0 ? s->Caret : pos);
    }
    case EM_LINEINDEX: {
        const auto& lines = LayoutOf(h, *s).Lines();
        const Integer line = Integer(LPARAM(wp)) < 0 ? LayoutOf(h, *s).LineOf(s->Caret) : Integer(wp);
        return line < Integer(lines.size()) ? lines[size_t(line)].Start : -1;
    }
    case EM_GETFIRSTVISIBLELINE: {
        const auto& lines = LayoutOf(h, *s).Lines();
        Integer i = 0;
        while (i + 1 < Integer(lines.size()) && lines[size_t(i)].Top + lines[size_t(i)].Height <= s->TopY) ++i;
        return i;
    }
    case EM_LINESCROLL: {
        const auto& lines = LayoutOf(h, *s).Lines();
        const Integer line = lines.empty() ? 16 : lines.front().Height;
        s->TopY = std::clamp(s->TopY + Integer(lp) * line, 0, MaxTop(h, *s));
        UpdateScrollBars(h, *s);
        InvalidateRect(h, nullptr, TRUE);
        return TRUE;
    }
    case EM_SCROLLCARET: ScrollCaretIntoView(h, *s); InvalidateRect(h, nullptr, TRUE); return 0;
    case EM_POSFROMCHAR: {
        // The rich edit form: wParam points at the answer.
        auto* pt = reinterpret_cast<POINTL*>(wp);
        if (!pt) return -1;
        const TRect fr = FormatRectOf(h, *s);
        const TPoint p = LayoutOf(h, *s).PosOf(Integer(lp));
        pt->x = p.X + fr.Left - s->ScrollX;
        pt->y = p.Y + fr.Top - s->TopY;
        return 0;
    }
    case EM_CHARFROMPOS: {
        const auto* pt = reinterpret_cast<const POINTL*>(lp);
        if (!pt) return 0;
        const TRect fr = FormatRectOf(h, *s);
        return LayoutOf(h, *s).CharAt(TPoint{pt->x - fr.Left + s->ScrollX, pt->y - fr.Top + s->TopY});
    }
    default: break;
    }
    return DefWindowProc(h, msg, wp, lp);
}
