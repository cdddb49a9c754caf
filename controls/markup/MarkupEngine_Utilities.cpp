// Routines around the engine that lay nothing out: plain text of markup,
// tag removal, search marks, and following links.
#include <algorithm>

#include "controls/markup/MarkupEngine.h"
#include "controls/markup/MarkupEngine_Internal.h"
#include "platform/os/Shell.h"

using namespace markup_detail;

namespace {

// Tags removed: every "<" with a ">" after it starts a tag that ends at that
// ">"; a "<" without one stays with all the text after it.
String StripTagsFrom(const String& S)
{
    String out;
    out.reserve(S.size());
    size_t i = 0;
    while (i < S.size()) {
        const size_t lt = S.find(L'<', i);
        if (lt == String::npos) break;
        const size_t gt = S.find(L'>', lt);
        if (gt == String::npos) break;
        out.append(S, i, lt - i);
        i = gt + 1;
    }
    out.append(S, std::min(i, S.size()), String::npos);
    return out;
}

// Closed hidden sections between Open and Close (exact case) removed; an
// unclosed one stays with the text after it.
String RemoveHidden(const String& S, const wchar_t* Open, const wchar_t* Close)
{
    String out;
    size_t i = 0;
    const size_t closeLen = std::char_traits<wchar_t>::length(Close);
    for (;;) {
        const size_t o = S.find(Open, i);
        if (o == String::npos) break;
        const size_t c = S.find(Close, o);
        if (c == String::npos) break;
        out.append(S, i, o - i);
        i = c + closeLen;
    }
    out.append(S, std::min(i, S.size()), String::npos);
    return out;
}

}  // namespace

namespace markup_detail {

String LineBreakTagsToCRLF(const String& S)
{
    String out;
    out.reserve(S.size());
    for (size_t i = 0; i < S.size();) {
        if (S[i] == L'<' && i + 3 < S.size() && S[i + 3] == L'>') {
            const Char a = S[i + 1] & ~0x20, b = S[i + 2] & ~0x20;
            if ((a == L'B' || a == L'H') && b == L'R') {
                out += L"\r\n";
                i += 4;
                continue;
            }
        }
        out += S[i++];
    }
    return out;
}

String StripTagsOnly(const String& S) { return StripTagsFrom(S); }

// A position scan shared by PlainToMarkupPos: visible characters are those
// outside "<" ... ">" (a "<" without a ">" after it is visible with the rest).
Integer PlainToMarkupPosIn(const String& Text, Integer N)
{
    if (N < 1) return 0;
    const size_t lastGt = Text.rfind(L'>');
    Integer visible = 0;
    bool inTag = false;
    for (size_t i = 0; i < Text.size(); ++i) {
        if (!inTag && visible == N - 1) return Integer(i + 1);
        const Char c = Text[i];
        if (inTag) {
            if (c == L'>') inTag = false;
        } else if (c == L'<' && lastGt != String::npos && lastGt > i) {
            inTag = true;
        } else {
            ++visible;
        }
    }
    return visible == N - 1 ? Integer(Text.size() + 1) : 0;
}

}  // namespace markup_detail

void StripMarkup(const String& Text, String& Result)
{
    String s = LineBreakTagsToCRLF(Text);
    s = RemoveHidden(s, L"<z>", L"</z>");
    s = RemoveHidden(s, L"<Z>", L"</Z>");
    Result = StripTagsFrom(s);
}

void RemoveTags(const String& Text, String& Result) { Result = StripTagsFrom(Text); }

Integer PlainToMarkupPos(const String& Text, Integer N) { return PlainToMarkupPosIn(Text, N); }

Integer FindTextFrom(const String& SubStr, const String& S, Integer Offset, Integer& P, bool CaseSensitive)
{
    P = 0;
    const String rest = Offset > 0 ? Copy(S, Offset + 1, Integer(S.size())) : S;
    const Integer c = CaseSensitive ? Pos(SubStr, rest) : Pos(AnsiUpperCase(SubStr), AnsiUpperCase(rest));
    if (c == 0) return 0;
    P = std::max(Offset, 0) + c;
    return P;
}

void HighlightMarkupText(const String& Text, const String& SubStr, const String& Tag, String& Result,
                         bool CaseSensitive)
{
    String plain = StripTagsFrom(Text);
    String work = Text;
    Integer offset = 0, c = 0;
    const String open = L"<" + Tag + L">", close = L"</" + Tag + L">";
    if (!CaseSensitive) plain = AnsiUpperCase(plain);
    const String sub = CaseSensitive ? SubStr : AnsiUpperCase(SubStr);
    while (!sub.empty() && FindTextFrom(sub, plain, offset, c, true) > 0) {
        Insert(open, work, PlainToMarkupPos(work, c));
        const Integer e = c + Integer(sub.size());
        Insert(close, work, PlainToMarkupPos(work, e));
        offset = e;
    }
    Result = work;
}

namespace markup_detail {

// Every occurrence of Needle (upper case) found without regard to case is
// removed, one at a time until none is left.
void RemoveAllNoCase(String& S, const String& Needle, bool Ascii)
{
    if (Needle.empty()) return;
    String up = FoldUpper(S, Ascii);
    size_t from = 0;
    for (;;) {
        const size_t p = up.find(Needle, from);
        if (p == String::npos) break;
        S.erase(p, Needle.size());
        up.erase(p, Needle.size());
        from = p >= Needle.size() ? p - Needle.size() : 0;
    }
}

}  // namespace markup_detail

void RemoveMarkupTag(const String& Text, const String& Tag, String& Result)
{
    String s = Text;
    const String tag = AnsiUpperCase(Tag);
    RemoveAllNoCase(s, L"<" + tag + L">", false);
    RemoveAllNoCase(s, L"</" + tag + L">", false);
    Result = s;
}

bool IsFollowableLink(const String& Anchor)
{
    const String s = LowerCase(Anchor);
    for (const wchar_t* p : {L"http:", L"https:", L"ftp:", L"mailto:"})
        if (s.compare(0, std::char_traits<wchar_t>::length(p), p) == 0) return true;
    return false;
}

bool OpenMarkupLink(const String& Anchor)
{
    if (!IsFollowableLink(Anchor)) return false;
    ShellExecute(nullptr, L"open", Anchor.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return true;
}
