#include "platform/ui/RichEdit.h"

#include <algorithm>

Integer TRichParagraph::Length() const
{
    Integer n = 0;
    for (const TRichRun& r : Runs) n += static_cast<Integer>(r.Text.size());
    return n;
}

String TRichParagraph::Text() const
{
    String s;
    for (const TRichRun& r : Runs) s += r.Text;
    return s;
}

TRichDocument::TRichDocument() { Clear(); }

void TRichDocument::Clear()
{
    FParagraphs.assign(1, TRichParagraph{});
    FParagraphs[0].EndFormat = DefaultFormat;
}

void TRichDocument::SetParagraphs(std::vector<TRichParagraph> p)
{
    FParagraphs = std::move(p);
    if (FParagraphs.empty()) Clear();
    for (TRichParagraph& q : FParagraphs) Merge(q);
}

Integer TRichDocument::Length() const
{
    Integer n = static_cast<Integer>(FParagraphs.size()) - 1;
    for (const TRichParagraph& p : FParagraphs) n += p.Length();
    return n;
}

String TRichDocument::Text() const
{
    String s;
    for (size_t i = 0; i < FParagraphs.size(); ++i) {
        if (i) s += L"\r\n";
        s += FParagraphs[i].Text();
    }
    return s;
}

void TRichDocument::SetText(const String& s)
{
    Clear();
    Replace(0, 0, s, DefaultFormat);
}

void TRichDocument::Locate(Integer pos, size_t& para, Integer& offset) const
{
    // The document always holds a paragraph; the answer is defined even so.
    para = 0;
    offset = 0;
    pos = std::max<Integer>(0, pos);
    for (size_t i = 0; i < FParagraphs.size(); ++i) {
        const Integer len = FParagraphs[i].Length();
        if (pos <= len || i + 1 == FParagraphs.size()) {
            para = i;
            offset = std::min(pos, len);
            return;
        }
        pos -= len + 1;
    }
}

size_t TRichDocument::SplitAt(TRichParagraph& p, Integer offset)
{
    Integer at = 0;
    for (size_t i = 0; i < p.Runs.size(); ++i) {
        const Integer len = static_cast<Integer>(p.Runs[i].Text.size());
        if (offset == at) return i;
        if (offset < at + len) {
            TRichRun tail{p.Runs[i].Text.substr(offset - at), p.Runs[i].Format};
            p.Runs[i].Text.resize(offset - at);
            p.Runs.insert(p.Runs.begin() + static_cast<std::ptrdiff_t>(i) + 1, std::move(tail));
            return i + 1;
        }
        at += len;
    }
    return p.Runs.size();
}

void TRichDocument::Merge(TRichParagraph& p)
{
    std::vector<TRichRun> out;
    for (TRichRun& r : p.Runs) {
        if (r.Text.empty()) continue;
        if (!out.empty() && out.back().Format == r.Format) out.back().Text += r.Text;
        else out.push_back(std::move(r));
    }
    if (!out.empty()) p.EndFormat = out.back().Format;
    p.Runs = std::move(out);
}

void TRichDocument::Replace(Integer start, Integer len, const String& text, const TRichCharFormat& fmt)
{
    size_t pa, pb;
    Integer oa, ob;
    Locate(start, pa, oa);
    Locate(std::max<Integer>(0, start) + std::max<Integer>(0, len), pb, ob);
    // The tail after the range moves onto the last inserted paragraph.
    TRichParagraph& last = FParagraphs[pb];
    const size_t tailAt = SplitAt(last, ob);
    std::vector<TRichRun> tail(last.Runs.begin() + static_cast<std::ptrdiff_t>(tailAt), last.Runs.end());
    TRichParagraph first = FParagraphs[pa];
    first.Runs.resize(SplitAt(first, oa));
    FParagraphs.erase(FParagraphs.begin() + static_cast<std::ptrdiff_t>(pa),
                      FParagraphs.begin() + static_cast<std::ptrdiff_t>(pb) + 1);

    std::vector<TRichParagraph> made{std::move(first)};
    String piece;
    auto flush = [&] {
        if (!piece.empty()) made.back().Runs.push_back({piece, fmt});
        piece.clear();
    };
    for (size_t i = 0; i < text.size(); ++i) {
        const Char c = text[i];
        if (c == L'\r' || c == L'\n') {
            if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
            flush();
            TRichParagraph next;
            next.Alignment = made.back().Alignment;
            next.EndFormat = fmt;
            made.back().EndFormat = fmt;
            made.push_back(std::move(next));
        } else {
            piece += c;
        }
    }
    flush();
    for (TRichRun& r : tail) made.back().Runs.push_back(std::move(r));
    for (TRichParagraph& p : made) Merge(p);
    FParagraphs.insert(FParagraphs.begin() + static_cast<std::ptrdiff_t>(pa), std::make_move_iterator(made.begin()),
                       std::make_move_iterator(made.end()));
}

namespace {

void Apply(TRichCharFormat& to, const TRichCharFormat& f, TRichFormatParts parts)
{
    if (parts.Contains(rfName)) to.Name = f.Name;
    if (parts.Contains(rfHeight)) to.Height = f.Height;
    if (parts.Contains(rfStyle)) to.Style = f.Style;
    if (parts.Contains(rfColor)) to.Color = f.Color;
    if (parts.Contains(rfOffset)) to.Offset = f.Offset;
    if (parts.Contains(rfScript)) to.Script = f.Script;
}

}  // namespace

void TRichDocument::SetFormat(Integer start, Integer len, const TRichCharFormat& fmt, TRichFormatParts parts)
{
    ChangeFormat(start, len, [&](TRichCharFormat& f) { Apply(f, fmt, parts); });
}

void TRichDocument::ChangeFormat(Integer start, Integer len, const std::function<void(TRichCharFormat&)>& change)
{
    size_t pa, pb;
    Integer oa, ob;
    Locate(start, pa, oa);
    Locate(std::max<Integer>(0, start) + std::max<Integer>(0, len), pb, ob);
    for (size_t i = pa; i <= pb; ++i) {
        TRichParagraph& p = FParagraphs[i];
        const Integer from = i == pa ? oa : 0;
        const Integer to = i == pb ? ob : p.Length();
        const size_t a = SplitAt(p, from);
        const size_t b = SplitAt(p, to);
        for (size_t r = a; r < b; ++r) change(p.Runs[r].Format);
        Merge(p);
        if (p.Runs.empty()) change(p.EndFormat);
    }
}

TRichCharFormat TRichDocument::GetFormat(Integer start, Integer len, TRichFormatParts* parts) const
{
    size_t pa, pb;
    Integer oa, ob;
    Locate(start, pa, oa);
    Locate(std::max<Integer>(0, start) + std::max<Integer>(0, len), pb, ob);
    bool have = false;
    TRichCharFormat first;
    TRichFormatParts same = rfAll;
    auto take = [&](const TRichCharFormat& f) {
        if (!have) {
            first = f;
            have = true;
            return;
        }
        if (f.Name != first.Name) same.Exclude(rfName);
        if (f.Height != first.Height) same.Exclude(rfHeight);
        if (f.Style != first.Style) same.Exclude(rfStyle);
        if (f.Color != first.Color) same.Exclude(rfColor);
        if (f.Offset != first.Offset) same.Exclude(rfOffset);
        if (f.Script != first.Script) same.Exclude(rfScript);
    };
    if (len > 0) {
        for (size_t i = pa; i <= pb; ++i) {
            const TRichParagraph& p = FParagraphs[i];
            const Integer from = i == pa ? oa : 0;
            const Integer to = i == pb ? ob : p.Length();
            Integer at = 0;
            for (const TRichRun& r : p.Runs) {
                const Integer end = at + static_cast<Integer>(r.Text.size());
                if (end > from && at < to) take(r.Format);
                at = end;
            }
        }
    }
    if (!have) {
        // The typing format: the character before the position, else the
        // paragraph's first run, else its end format.
        const TRichParagraph& p = FParagraphs[pa];
        Integer at = 0;
        const TRichCharFormat* f = p.Runs.empty() ? &p.EndFormat : &p.Runs.front().Format;
        for (const TRichRun& r : p.Runs) {
            if (at < oa) f = &r.Format;
            at += static_cast<Integer>(r.Text.size());
        }
        first = *f;
    }
    if (parts) *parts = same;
    return first;
}

void TRichDocument::SetAlignment(Integer start, Integer len, TParaAlignment a)
{
    size_t pa, pb;
    Integer oa, ob;
    Locate(start, pa, oa);
    Locate(std::max<Integer>(0, start) + std::max<Integer>(0, len), pb, ob);
    for (size_t i = pa; i <= pb; ++i) FParagraphs[i].Alignment = a;
}

TParaAlignment TRichDocument::Alignment(Integer pos) const
{
    size_t p;
    Integer o;
    Locate(pos, p, o);
    return FParagraphs[p].Alignment;
}
