// Text, line and cell-text routines.
#include "controls/foundation/VodUtil.h"
#include "platform/base/Lists.h"
#include "platform/base/Unicode.h"
#include "platform/gfx/Canvas.h"

namespace {

constexpr Char CR = 13;
constexpr Char LF = 10;

String ReplaceChar(const String& S, Char From, const String& To)
{
    String out;
    out.reserve(S.size());
    for (Char c : S) {
        if (c == From) out += To;
        else out += c;
    }
    return out;
}

String ReplaceAll(const String& S, const String& From, const String& To)
{
    return StringReplace(S, From, To, rfReplaceAll);
}

}  // namespace

// ---------------------------------------------------------------------------
// Search, split and join

Integer VarPos(const String& SubStr, const String& S, Integer& P)
{
    P = Pos(SubStr, S);
    return P;
}

Integer UpperPos(const String& SubStr, const String& S) { return Pos(SubStr, UpperCase(S)); }

Integer CharPos(Char Ch, const String& S)
{
    size_t i = S.find(Ch);
    return i == String::npos ? 0 : Integer(i + 1);
}

Integer FindCharPos(Char Ch, const String& S, Integer& P)
{
    Integer r = CharPos(Ch, S);
    if (r) P = r;
    return r;
}

Integer WidePos(const String& SubStr, const String& S) { return Pos(SubStr, S); }

String CutToken(String& S, Char Sep)
{
    size_t i = S.find(Sep);
    if (i == String::npos) return String();
    String token = S.substr(0, i);
    S.erase(0, i + 1);
    return token;
}

void SplitToStrings(Char Sep, const String& S, TStrings* List)
{
    size_t from = 0;
    for (size_t i = S.find(Sep); i != String::npos; i = S.find(Sep, from)) {
        List->Add(S.substr(from, i - from));
        from = i + 1;
    }
    List->Add(S.substr(from));
}

String ConcatLines(TStrings* List)
{
    String out;
    for (Integer i = 0; i < List->Count(); ++i) out += List->Strings(i);
    return out;
}

Integer OccurrencesOfChar(Char Ch, const String& S)
{
    Integer n = 0;
    for (Char c : S) n += c == Ch;
    return n;
}

Integer OccurrencesOfCharIn(Char Ch, Char Unused, const String& S) { return OccurrencesOfChar(Ch, S); }

Integer CountUnquotedChar(Char Ch, const String& S)
{
    Char quote = 0;   // the quote that is open, 0 outside quotes
    Integer outside = 0, inside = 0;
    for (Char c : S) {
        if (quote) {
            if (c == quote) quote = 0;
            else if (c == Ch) ++inside;
        } else if (c == L'"' || c == L'\'') {
            quote = c;
            inside = 0;   // only the part still open at the end counts
        } else if (c == Ch) {
            ++outside;
        }
    }
    return quote ? outside + inside : outside;
}

Integer FindClosingQuote(Char Quote, const String& S, Integer& P)
{
    size_t run = 0;
    P = 0;
    for (size_t i = 0; i < S.size(); ++i) {
        if (S[i] == Quote) {
            ++run;
            if (i + 1 == S.size()) {
                P = Integer(i + 1);
                break;
            }
        } else {
            if (run % 2 == 1) {
                P = Integer(i);   // the run's last quote, 1-based
                break;
            }
            run = 0;
        }
    }
    return P;
}

void FillWithChar(String& S, Char Ch) { S.assign(S.size(), Ch); }

String DoubleQuoteChars(const String& S) { return ReplaceChar(S, L'"', L"\"\""); }

String UndoubleChar(Char Ch, const String& S)
{
    if (S.find(Ch) == String::npos) return S;
    return ReplaceAll(S, String(2, Ch), String(1, Ch));
}

// ---------------------------------------------------------------------------
// Line breaks

String RemoveCR(const String& S) { return ReplaceChar(S, CR, String()); }

String CRToLF(const String& S) { return ReplaceChar(S, CR, String(1, LF)); }

void CRLFToLF(String& S) { S = ReplaceAll(S, L"\r\n", L"\n"); }

String LineBreaksToHTML(const String& S)
{
    if (S.find(CR) == String::npos) return S;
    return ReplaceChar(S, CR, L"<br>");
}

String EscapeLineBreaks(const String& S)
{
    return ReplaceChar(ReplaceChar(S, CR, L"\\n"), LF, String());
}

String UnescapeLineBreaks(const String& S) { return ReplaceAll(S, L"\\n", String(1, CR)); }

void CRToTilde(String& S) { S = ReplaceChar(ReplaceChar(S, CR, L"~"), LF, String()); }

void TildeToCRLF(String& S)
{
    S = ReplaceChar(S, L'~', L"\r\n");
    if (S == L"^") S.clear();
}

void QuoteMultiLine(String& S) { S = L"\"" + ReplaceAll(S, L"\r\n", String(1, Char(11))) + L"\""; }

void VTToCRLF(String& S)
{
    if (S.find(Char(11)) != String::npos) S = ReplaceChar(S, Char(11), L"\r\n");
}

String EncodeLineControls(const String& S)
{
    if (S.find(CR) == String::npos) return S;
    String out = S;
    for (Char& c : out) {
        if (c == CR) c = 9;
        else if (c == LF) c = 8;
        else if (c == 0) c = 1;
    }
    return out;
}

String DecodeLineControls(const String& S, bool Whole)
{
    String out = S;
    if (out.find(Char(8)) != String::npos)
        for (Char& c : out) {
            if (c == 9) c = CR;
            else if (c == 8) c = LF;
            else if (c == 1) c = 0;
        }
    if (Whole) return out;
    return CutFirstLine(out, false);
}

String CutFirstLine(String& S, bool KeepRest)
{
    size_t cr = S.find(CR);
    if (cr == String::npos) {
        String line = std::move(S);
        S.clear();
        return line;
    }
    String line = S.substr(0, cr);
    size_t rest = cr + 1;
    if (rest < S.size() && S[rest] == LF) ++rest;
    if (KeepRest) S.erase(0, rest);
    else S.clear();
    return line;
}

Integer LineCount(const String& S, bool MultiLine)
{
    if (!MultiLine) return 1;
    Integer count = 1;
    for (size_t i = 0; i < S.size();) {
        if (S[i] == CR) {
            i += 2;   // the CR and the character after it, taken as its LF
            if (i < S.size()) ++count;
        } else {
            ++i;
        }
    }
    return count;
}

String LongestLine(TCanvas* Canvas, const String& S)
{
    String rest = S, longest;
    Integer widest = -1;
    while (!rest.empty()) {
        String line = CutFirstLine(rest, true);
        if (line.empty()) break;
        Integer w = Canvas->TextWidth(line);
        if (w > widest) {
            widest = w;
            longest = line;
        }
    }
    return longest;
}

void OemConvertOut(String&) {}
void OemConvertIn(String&) {}

// ---------------------------------------------------------------------------
// Cell texts, links and others

Byte DetectTextMarkup(const String& S, bool CheckMarkup)
{
    if (S.empty()) return tkPlain;
    const String s = S + L' ';
    const size_t n = s.size();
    if (s[0] == L'=') return tkFormula;
    if (s[0] == L'|' && s[1] == L'\\') return n > 4 && s[3] == L'=' && s[4] == 0 ? tkFormula : tkPackedWide;
    if (s[0] == L'{' && s[1] == L'\\') return tkRichText;
    if (CheckMarkup)
        for (size_t i = 0; i + 2 < n; ++i) {
            if (s[i] != L'<') continue;
            const Char a = s[i + 1] & ~Char(0x20), b = s[i + 2] & ~Char(0x20);   // ASCII letters in either case
            if (s[i + 1] == L'/' || (a == L'I' && (b == L'M' || b == L'N')) || (a == L'B' && b == L'R') ||
                (a == L'C' && b == L'O'))
                return tkMarkup;
        }
    return IsURLText(S) ? tkLink : tkPlain;
}

bool IsURLText(const String& S)
{
    return S.find(L"://") != String::npos || S.find(L"mailto:") != String::npos;
}

void StripURLProtocol(String& S)
{
    size_t i = S.find(L"://");
    if (i != String::npos) {
        S.erase(0, i + 3);
        return;
    }
    i = S.find(L"mailto:");
    if (i != String::npos) S.erase(0, i + 7);
}

namespace {

bool IsLinkChar(Char c)
{
    if ((c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z')) return true;
    switch (c) {
    case L'!': case L'%': case L'&': case L'(': case L')': case L'-': case L'.': case L'/':
    case L':': case L'=': case L'?': case L'@': case L'\\': case L'_': case L'{': case L'}':
        return true;
    default:
        return false;
    }
}

}  // namespace

bool LinkifyText(const String& Text, const String& Prefix, String& Dest)
{
    if (Pos(Prefix, UpperCase(Text)) == 0) return false;
    String d = ReplaceChar(ReplaceChar(Text, L'<', L"&lt;"), L'>', L"&gt;");
    Integer p = Pos(Prefix, UpperCase(d));
    if (p == 0) {   // the prefix itself held "<" or ">"
        Dest = d;
        return true;
    }
    size_t start = size_t(p - 1), end = start;
    while (end < d.size() && IsLinkChar(d[end])) ++end;
    String link = d.substr(start, end - start);
    d.insert(end, L"</a>");
    d.insert(start, L"<a href=\"" + link + L"\">");
    Dest = std::move(d);
    return true;
}

String PackWideText(const String& W)
{
    String out = L"|\\";
    out.reserve(2 + W.size() * 2);
    auto unit = [&](uint32_t u) {
        out += Char(u >> 8);
        out += Char(u & 0xFF);
    };
    for (Char c : W) {
        uint32_t code = uint32_t(c);
        if (code > 0x10FFFF) code = 0xFFFD;   // no character: the replacement mark
        if (code > 0xFFFF) {
            code -= 0x10000;
            unit(0xD800 + (code >> 10));
            unit(0xDC00 + (code & 0x3FF));
        } else {
            unit(code);
        }
    }
    return out;
}

String UnpackWideText(const String& S)
{
    if (S.size() < 2 || S[0] != L'|' || S[1] != L'\\') return S;
    String out;
    out.reserve((S.size() - 2) / 2);
    for (size_t i = 2; i + 1 < S.size(); i += 2) {
        uint32_t u = (uint32_t(S[i]) * 256 + uint32_t(S[i + 1])) & 0xFFFF;
        // A surrogate pair joins into the one character it stands for.
        if (u >= 0xDC00 && u <= 0xDFFF && !out.empty()) {
            uint32_t high = uint32_t(out.back());
            if (high >= 0xD800 && high <= 0xDBFF) {
                out.back() = Char(0x10000 + ((high - 0xD800) << 10) + (u - 0xDC00));
                continue;
            }
        }
        out += Char(u);
    }
    return out;
}

String ColorToHTMLHex(TColor Color)
{
    uint32_t c = uint32_t(Color);
    return IntToHex(Integer(c & 0xFF), 2) + IntToHex(Integer((c >> 8) & 0xFF), 2) +
           IntToHex(Integer((c >> 16) & 0xFF), 2);
}

String CapitalizeWords(const String& S)
{
    String out;
    out.reserve(S.size());
    const size_t n = S.size();
    bool capitalise = true;
    size_t firstMc = String::npos;   // where the first " Mc" of the result starts
    for (size_t i = 0; i < n; ++i) {
        const Char c = S[i];
        if (c == L' ' || c == L'\'' || c == L',' || c == L'-' || c == L'.') {
            capitalise = true;
            out += c;
        } else if (capitalise) {
            out += AnsiUpperChar(c);
            capitalise = false;
        } else {
            out += AnsiLowerChar(c);
        }
        if (firstMc == String::npos && i >= 2 && out.compare(i - 2, 3, L" Mc") == 0) firstMc = i - 2;
        if (out == L"Mc") capitalise = true;
        else if (firstMc != String::npos && firstMc + 2 == i && i != 1) capitalise = true;
        else if (i + 3 >= n && out[i] == L'I' && i >= 1 &&
                 (out[i - 1] == L' ' || (i >= 2 && out[i - 1] == L'I' && out[i - 2] == L' ')))
            capitalise = true;
    }
    return out;
}

String StripDiacritics(const String& S)
{
    String folded = FoldComposite(S);
    String out;
    out.reserve(folded.size());
    for (Char c : folded)
        if (uint32_t(c) <= 0xFF) out += c;
    return out;
}
