// Rich text layout: paragraphs broken into lines of runs for a device
// context, hit tests and drawing with the selection.
#include <algorithm>
#include <climits>

#include "platform/ui/RichEdit.h"

namespace {

Integer TwipsToPixels(Integer twips, Integer dpi)
{
    return Integer((Int64(twips) * dpi + (twips >= 0 ? 720 : -720)) / 1440);
}

bool IsSpace(Char c) { return c == L' '; }

}  // namespace

TRichLayout::~TRichLayout() { Clear(); }

void TRichLayout::Clear()
{
    for (TFontSlot& f : FFonts) DeleteObject(f.Font);
    FFonts.clear();
    FLines.clear();
}

Integer TRichLayout::FontFor(HDC dc, const TRichCharFormat& f)
{
    for (size_t i = 0; i < FFonts.size(); ++i)
        if (FFonts[i].Format == f) return Integer(i);
    LOGFONTW lf;
    Integer height = std::max<Integer>(1, TwipsToPixels(f.Height, FDpiY));
    if (f.Script != TRichScript::Normal) height = std::max<Integer>(1, height * 2 / 3);
    lf.lfHeight = -height;
    lf.lfWeight = f.Style.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = f.Style.Contains(fsItalic);
    lf.lfUnderline = f.Style.Contains(fsUnderline);
    lf.lfStrikeOut = f.Style.Contains(fsStrikeOut);
    const size_t n = std::min<size_t>(f.Name.size(), LF_FACESIZE - 1);
    std::copy(f.Name.begin(), f.Name.begin() + Integer(n), lf.lfFaceName);
    lf.lfFaceName[n] = 0;
    TFontSlot slot;
    slot.Format = f;
    slot.Font = CreateFontIndirect(&lf);
    HGDIOBJ old = SelectObject(dc, slot.Font);
    TEXTMETRICW tm{};
    GetTextMetrics(dc, &tm);
    SelectObject(dc, old);
    slot.Ascent = tm.tmAscent;
    slot.Descent = std::max<LONG>(tm.tmDescent, tm.tmHeight - tm.tmAscent);
    FFonts.push_back(slot);
    return Integer(FFonts.size()) - 1;
}

void TRichLayout::Build(HDC dc, const TRichDocument& doc, Integer wrapWidth, Integer alignWidth, Integer fromPos,
                        Integer stopY)
{
    Clear();
    FDpiX = GetDeviceCaps(dc, LOGPIXELSX);
    FDpiY = GetDeviceCaps(dc, LOGPIXELSY);
    if (FDpiX <= 0) FDpiX = 96;
    if (FDpiY <= 0) FDpiY = 96;
    Integer y = 0, start = 0;
    for (const TRichParagraph& p : doc.Paragraphs()) {
        const Integer len = p.Length();
        if (start + len >= fromPos) {
            LayParagraph(dc, p, start, wrapWidth, alignWidth, y);
            if (stopY > 0 && y >= stopY) break;
        }
        start += len + 1;
    }
}

void TRichLayout::LayParagraph(HDC dc, const TRichParagraph& p, Integer start, Integer wrapWidth, Integer alignWidth,
                               Integer& y)
{
    // Per character: its run's font, rise, colour and advance.
    struct TCharInfo {
        Integer Font, Rise, Adv;
        TColor Color;
    };
    String text = p.Text();
    std::vector<TCharInfo> info;
    info.reserve(text.size());
    for (const TRichRun& r : p.Runs) {
        const Integer font = FontFor(dc, r.Format);
        Integer rise = TwipsToPixels(r.Format.Offset, FDpiY);
        const Integer full = std::max<Integer>(1, TwipsToPixels(r.Format.Height, FDpiY));
        if (r.Format.Script == TRichScript::Superscript) rise += full / 3;
        if (r.Format.Script == TRichScript::Subscript) rise -= full / 6;
        const Integer n = Integer(r.Text.size());
        std::vector<int> cum(size_t(n) + 1, 0);
        HGDIOBJ old = SelectObject(dc, FFonts[size_t(font)].Font);
        // Measured between tabs and breaks, which take no glyph width here.
        Integer i = 0;
        while (i < n) {
            Integer j = i;
            while (j < n && r.Text[size_t(j)] != L'\t' && r.Text[size_t(j)] != L'\v') ++j;
            if (j > i) GetTextExtentExPoint(dc, r.Text.data() + i, j - i, -1, nullptr, cum.data() + i + 1, nullptr);
            for (Integer k = i; k < j; ++k) info.push_back({font, rise, cum[size_t(k) + 1] - (k > i ? cum[size_t(k)] : 0), r.Format.Color});
            if (j < n) info.push_back({font, rise, 0, r.Format.Color});
            i = j + 1;
        }
        SelectObject(dc, old);
    }
    const Integer tabStop = std::max<Integer>(1, TwipsToPixels(720, FDpiX));
    const Integer endFont = FontFor(dc, p.Runs.empty() ? p.EndFormat : p.Runs.back().Format);
    const Integer n = Integer(text.size());
    const bool wrap = wrapWidth > 0;

    auto finish = [&](Integer from, Integer to, bool endsPara) {
        TRichLine line;
        line.Start = start + from;
        line.Length = to - from;
        line.Text = text.substr(size_t(from), size_t(to - from));
        line.EndsParagraph = endsPara;
        line.Xs.assign(size_t(line.Length) + 1, 0);
        Integer x = 0, asc = 0, desc = 0;
        for (Integer k = from; k < to; ++k) {
            TCharInfo& c = info[size_t(k)];
            if (text[size_t(k)] == L'\t') c.Adv = (x / tabStop + 1) * tabStop - x;
            x += c.Adv;
            line.Xs[size_t(k - from) + 1] = x;
            const TFontSlot& f = FFonts[size_t(c.Font)];
            asc = std::max(asc, f.Ascent + c.Rise);
            desc = std::max(desc, f.Descent - c.Rise);
            const bool blank = text[size_t(k)] == L'\t' || text[size_t(k)] == L'\v';
            TRichPiece* last = line.Pieces.empty() ? nullptr : &line.Pieces.back();
            if (last && !blank && !last->Blank && last->Font == c.Font && last->Rise == c.Rise &&
                last->Color == c.Color) {
                last->To = k - from + 1;
            } else {
                line.Pieces.push_back({k - from, k - from + 1, c.Font, c.Rise, c.Color, blank});
            }
        }
        if (line.Length == 0 || asc + desc == 0) {
            const TFontSlot& f = FFonts[size_t(endFont)];
            asc = std::max(asc, f.Ascent);
            desc = std::max(desc, f.Descent);
        }
        Integer shown = to;
        while (shown > from && (IsSpace(text[size_t(shown) - 1]) || text[size_t(shown) - 1] == L'\v')) --shown;
        line.Width = line.Xs[size_t(shown - from)];
        if (p.Alignment == paRightJustify) line.Left = std::max<Integer>(0, alignWidth - line.Width);
        else if (p.Alignment == paCenter) line.Left = std::max<Integer>(0, (alignWidth - line.Width) / 2);
        line.Top = y;
        line.Ascent = asc;
        line.Height = std::max<Integer>(1, asc + desc);
        y += line.Height;
        FLines.push_back(std::move(line));
    };

    // Greedy breaking: a word with the spaces after it stays whole unless it
    // alone is wider than the line; a tab measures from its place on the line.
    Integer lineStart = 0, x = 0, k = 0;
    while (k < n) {
        const Char c = text[size_t(k)];
        if (c == L'\v') {
            finish(lineStart, k + 1, false);
            lineStart = k + 1;
            x = 0;
            ++k;
            continue;
        }
        if (c == L'\t') {
            const Integer w = (x / tabStop + 1) * tabStop - x;
            if (wrap && x > 0 && x + w > wrapWidth) {
                finish(lineStart, k, false);
                lineStart = k;
                x = 0;
                continue;
            }
            x += w;
            ++k;
            continue;
        }
        Integer e = k;
        while (e < n && !IsSpace(text[size_t(e)]) && text[size_t(e)] != L'\t' && text[size_t(e)] != L'\v') ++e;
        Integer w = 0;
        for (Integer i = k; i < e; ++i) w += info[size_t(i)].Adv;
        Integer t = e, sp = 0;
        while (t < n && IsSpace(text[size_t(t)])) sp += info[size_t(t++)].Adv;
        if (wrap && x + w > wrapWidth) {
            if (x > 0) {
                finish(lineStart, k, false);
                lineStart = k;
                x = 0;
                continue;
            }
            // A word wider than the line: as many characters as fit, one at least.
            Integer fit = k, fx = 0;
            while (fit < e && (fit == k || fx + info[size_t(fit)].Adv <= wrapWidth)) fx += info[size_t(fit++)].Adv;
            if (fit < e) {
                finish(lineStart, fit, false);
                lineStart = fit;
                x = 0;
                k = fit;
                continue;
            }
        }
        x += w + sp;
        k = t;
    }
    finish(lineStart, n, true);
}

Integer TRichLayout::Height() const { return FLines.empty() ? 0 : FLines.back().Top + FLines.back().Height; }

Integer TRichLayout::Width() const
{
    Integer w = 0;
    for (const TRichLine& l : FLines) w = std::max(w, l.Left + l.Width);
    return w;
}

Integer TRichLayout::LineOf(Integer pos) const
{
    if (FLines.empty()) return 0;
    auto it = std::upper_bound(FLines.begin(), FLines.end(), pos,
                               [](Integer p, const TRichLine& l) { return p < l.Start; });
    return it == FLines.begin() ? 0 : Integer(it - FLines.begin()) - 1;
}

TPoint TRichLayout::PosOf(Integer pos, Integer* height) const
{
    if (FLines.empty()) {
        if (height) *height = 0;
        return {0, 0};
    }
    const TRichLine& l = FLines[size_t(LineOf(pos))];
    const Integer k = std::clamp(pos - l.Start, 0, l.Length);
    if (height) *height = l.Height;
    return {l.Left + l.Xs[size_t(k)], l.Top};
}

Integer TRichLayout::CharAt(TPoint p) const
{
    if (FLines.empty()) return 0;
    size_t i = 0;
    while (i + 1 < FLines.size() && p.Y >= FLines[i].Top + FLines[i].Height) ++i;
    const TRichLine& l = FLines[i];
    // The last place on a line: before its break or a trailing space of a
    // wrapped line, so that the caret stays on it.
    Integer last = l.Length;
    if (!l.EndsParagraph && l.Length > 0) {
        const bool brk = l.Xs.size() >= 2 && l.Pieces.back().Blank;
        if (brk || (i + 1 < FLines.size() && FLines[i + 1].Start == l.Start + l.Length)) last = l.Length - 1;
    }
    const Integer x = p.X - l.Left;
    Integer k = 0;
    while (k < last && x > (l.Xs[size_t(k)] + l.Xs[size_t(k) + 1]) / 2) ++k;
    return l.Start + k;
}

void TRichLayout::Draw(HDC dc, TPoint origin, Integer first, Integer last, Integer selA, Integer selB,
                       COLORREF autoColor, COLORREF selBack, COLORREF selText, Integer from, Integer to) const
{
    first = std::max<Integer>(first, 0);
    last = std::min<Integer>(last, Integer(FLines.size()));
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColor = GetTextColor(dc);
    HGDIOBJ oldFont = nullptr;
    for (Integer i = first; i < last; ++i) {
        const TRichLine& l = FLines[size_t(i)];
        const Integer base = origin.Y + l.Top + l.Ascent;
        const Integer left = origin.X + l.Left;
        const Integer a = std::clamp(selA - l.Start, 0, l.Length), b = std::clamp(selB - l.Start, 0, l.Length);
        HBRUSH br = CreateSolidBrush(selBack);
        if (a < b) {
            TRect r{left + l.Xs[size_t(a)], origin.Y + l.Top, left + l.Xs[size_t(b)], origin.Y + l.Top + l.Height};
            FillRect(dc, &r, br);
        }
        const Integer end = l.Start + l.Length;
        if (l.EndsParagraph && selA <= end && selB > end) {
            // A selected paragraph end shows as a narrow block after the text.
            TRect r{left + l.Xs.back(), origin.Y + l.Top, left + l.Xs.back() + 4, origin.Y + l.Top + l.Height};
            FillRect(dc, &r, br);
        }
        DeleteObject(br);
        for (const TRichPiece& pc : l.Pieces) {
            if (pc.Blank) continue;
            const TFontSlot& f = FFonts[size_t(pc.Font)];
            HGDIOBJ prev = SelectObject(dc, f.Font);
            if (!oldFont) oldFont = prev;
            const Integer top = base - pc.Rise - f.Ascent;
            const COLORREF own = pc.Color == clWindowText ? autoColor : COLORREF(ColorToRGB(pc.Color));
            // Up to three parts: before, inside and after the selection.
            const Integer lo = std::clamp(from - l.Start, pc.From, pc.To);
            const Integer hi = std::clamp(to - l.Start, lo, pc.To);
            const Integer cuts[4] = {lo, std::clamp(a, lo, hi), std::clamp(b, lo, hi), hi};
            for (int part = 0; part < 3; ++part) {
                if (cuts[part + 1] <= cuts[part]) continue;
                SetTextColor(dc, part == 1 ? selText : own);
                TextOut(dc, left + l.Xs[size_t(cuts[part])], top, l.Text.data() + cuts[part], cuts[part + 1] - cuts[part]);
            }
        }
    }
    if (oldFont) SelectObject(dc, oldFont);
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
}
