// The clipboard "HTML Format" writer and the filter-expression matcher.
#include <vector>

#include "controls/foundation/VodUtil.h"

// ---------------------------------------------------------------------------
// Clipboard HTML

void BuildCFHTML(String& S)
{
    // The clipboard text is one byte per character: anything above U+00FF is
    // written as a character reference before the offsets are counted.
    String fragment;
    fragment.reserve(S.size());
    for (Char c : S) {
        uint32_t code = uint32_t(c);
        if (code <= 0xFF) fragment += c;
        else fragment += L"&#" + UIntToStr(code) + L";";
    }
    const Integer n = Integer(std::min<size_t>(fragment.size(), INT32_MAX - 306));
    auto number = [](const Char* name, Integer value) { return Format(L"%s%.8d", {String(name), value}); };
    String out;
    out.reserve(fragment.size() + 310);
    out += L"Version:1.0\r\n";
    out += number(L"StartHTML:", 97) + L"\r\n";
    out += number(L"EndHTML:", n + 306) + L"\r\n";
    out += number(L"StartFragment:", 274) + L"\r\n";
    out += number(L"EndFragment:", n + 274) + L"\r\n";
    out += L"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">";
    out += L"<html><head><META http-equiv=Content-Type content=\"text/html; charset=iso-8859-1\"></head>"
           L"<body><!--StartFragment-->";
    out += fragment;
    out += L"<!--EndFragment--></body></html>";
    S = std::move(out);
}

// ---------------------------------------------------------------------------
// Quote-aware scanning

Char FindFirstUnquotedOf(const String& Chars, const String& S, Integer& P)
{
    bool quoted = false;
    for (size_t i = 0; i < S.size(); ++i) {
        Char c = S[i];
        if (c == L'"') quoted = !quoted;
        else if (!quoted && Chars.find(c) != String::npos) {
            P = Integer(i + 1);
            return c;
        }
    }
    P = -1;
    return 0;
}

String RemoveUnquotedBlanks(const String& S)
{
    String out;
    out.reserve(S.size());
    bool quoted = false;
    for (Char c : S) {
        if (c == L'"') quoted = !quoted;
        if (c == L' ' && !quoted) continue;
        out += c;
    }
    return out;
}

Integer MatchingParenPos(const String& S)
{
    Integer open = 0, close = 0;
    for (size_t i = 0; i < S.size(); ++i) {
        if (S[i] == L'(') ++open;
        else if (S[i] == L')' && ++close == open) return Integer(i + 1);
    }
    return 0;
}

const Char* FindUnquotedChar(const Char* P, Char Ch)
{
    if (!P) return nullptr;
    bool quoted = false;
    for (; *P; ++P) {
        if (*P == Ch && !quoted) return P;
        if (*P == L'"') quoted = !quoted;
    }
    return nullptr;
}

String NumberTextForCompare(const Char* P)
{
    String out;
    if (!P) return out;
    const Char thousand = FormatSettings.ThousandSeparator;
    const Char decimal = FormatSettings.DecimalSeparator;
    for (; *P; ++P) {
        if (*P == decimal) out += L'.';
        else if (*P != thousand) out += *P;
    }
    return out;
}

// ---------------------------------------------------------------------------
// Conditions

namespace {

constexpr size_t kMaxOperand = 255;

// The operand of a comparison operator that ends just before P. Greater
// operands pass over one blank outside quotes; the others end at any blank.
String ScanOperand(const Char* P, bool PassBlank)
{
    while (*P == L' ') ++P;
    const Char* start = P;
    size_t len = 0, quotes = 0;
    bool lastWasQuote = false, passedAfterQuote = false;
    bool firstChar = true;
    while (*P) {
        const bool even = quotes % 2 == 0;
        if ((*P == L'&' || *P == L'|') && even) break;
        if (*P == L' ' && (even || !PassBlank)) break;
        const Char c = *P;
        if (c == L'"') ++quotes;
        if (c == L'"' && firstChar) start = P + 1;   // an opening quote is not part of it
        else ++len;
        firstChar = false;
        lastWasQuote = c == L'"';
        passedAfterQuote = false;
        ++P;
        if (PassBlank && *P == L' ' && quotes % 2 == 0) {
            ++P;   // one blank outside quotes passes, uncounted
            passedAfterQuote = lastWasQuote;
        }
    }
    if (lastWasQuote && !passedAfterQuote && len > 0) --len;
    // The operand is that many characters from its start (a passed-over
    // blank among them), never past the end of the text.
    String operand;
    for (size_t i = 0; i < len && start[i]; ++i) operand += start[i];
    if (operand.size() > kMaxOperand) operand.resize(kMaxOperand);
    return operand;
}

bool ReadNumber(const String& S, Extended& Value)
{
    TDateTime date;
    if (TryParseLocaleDateTime(S, date)) return false;   // a date never counts as a number
    Integer code;
    Val(NumberTextForCompare(S.c_str()), Value, code);
    return code == 0;
}

// Value compared with the operand: -1, 0 or 1, by number, date or text.
Integer CompareForFilter(const String& Value, const String& Operand)
{
    Extended a, b;
    if (ReadNumber(Value, a) && ReadNumber(Operand, b)) return a < b ? -1 : a > b ? 1 : 0;
    TDateTime da, db;
    if (TryParseLocaleDateTime(Value, da) && TryParseLocaleDateTime(Operand, db))
        return da < db ? -1 : da > db ? 1 : 0;
    Integer r = StrLComp(Value.c_str(), Operand.c_str(), Cardinal(kMaxOperand));
    return r < 0 ? -1 : r > 0 ? 1 : 0;
}

// One element of a pattern after its quotes and "!" are taken out.
struct TPatternItem {
    enum TKind { pkChar, pkAny, pkStar } Kind;
    Char Ch;
};

// The whole-pattern match with "*" (any run), "?" (any one character) and
// literal characters. Backtracking to the latest "*" only gives the same
// answer as trying every tail of the value, in time bounded by the product
// of the two lengths.
bool MatchItems(const std::vector<TPatternItem>& Items, const Char* Value, size_t ValueLen)
{
    size_t p = 0, v = 0, starP = SIZE_MAX, starV = 0;
    while (v < ValueLen) {
        if (p < Items.size() && Items[p].Kind == TPatternItem::pkStar) {
            starP = p++;
            starV = v;
        } else if (p < Items.size() &&
                   (Items[p].Kind == TPatternItem::pkAny || Items[p].Ch == Value[v])) {
            ++p;
            ++v;
        } else if (starP != SIZE_MAX) {
            p = starP + 1;
            v = ++starV;
        } else {
            return false;
        }
    }
    while (p < Items.size() && Items[p].Kind == TPatternItem::pkStar) ++p;
    return p == Items.size();
}

bool MatchPattern(const Char* Cond, const Char* Value)
{
    const size_t valueLen = std::char_traits<Char>::length(Value);
    if (!*Cond && valueLen == 0) return true;
    const bool quotedStart = *Cond == L'"';
    bool negate = false, quoteSkipped = false;
    std::vector<TPatternItem> items;
    for (const Char* c = Cond; *c; ++c) {
        if (*c == L'"') {
            if (quoteSkipped) {
                items.push_back({TPatternItem::pkChar, L'"'});
                quoteSkipped = false;
            } else {
                quoteSkipped = true;
            }
            continue;
        }
        quoteSkipped = false;
        if (*c == L'!' && !quotedStart) {
            negate = true;
        } else if (*c == L'*') {
            if (items.empty() || items.back().Kind != TPatternItem::pkStar)
                items.push_back({TPatternItem::pkStar, 0});
        } else if (*c == L'?') {
            items.push_back({TPatternItem::pkAny, 0});
        } else {
            items.push_back({TPatternItem::pkChar, *c});
        }
    }
    return MatchItems(items, Value, valueLen) != negate;
}

}  // namespace

bool MatchCondition(const Char* Cond, const Char* Value)
{
    if (!Cond) Cond = L"";
    if (!Value) Value = L"";
    const String value = Value;
    bool greaterResult = true, lessResult = true, hasGreater = false, hasLess = false;

    const Char* gt = FindUnquotedChar(Cond, L'>');
    if (gt) {
        const Char* p = gt + 1;
        const bool orEqual = *p == L'=';
        if (orEqual) ++p;
        Integer r = CompareForFilter(value, ScanOperand(p, true));
        greaterResult = orEqual ? r >= 0 : r > 0;
        hasGreater = true;
    }
    const Char* lt = FindUnquotedChar(Cond, L'<');
    if (lt) {
        const Char* p = lt + 1;
        const bool orEqual = *p == L'=';
        if (orEqual) ++p;
        Integer r = CompareForFilter(value, ScanOperand(p, false));
        lessResult = orEqual ? r <= 0 : r < 0;
        hasLess = true;
    }
    if (FindUnquotedChar(Cond, L'!')) {
        if (!gt) hasGreater = true;
        if (!lt) hasLess = true;
    }

    if (FindUnquotedChar(Cond, L'^') && (hasGreater || hasLess)) return greaterResult || lessResult;
    if (FindUnquotedChar(Cond, L'&') && hasGreater && hasLess) return greaterResult && lessResult;
    if (gt && greaterResult) return true;
    if (lt && lessResult) return true;
    return MatchPattern(Cond, Value);
}

bool MatchFilterTerm(const String& Term, const String& Value, bool CaseSensitive)
{
    if (Term == L"\"\"") return Value.empty();
    if (CaseSensitive) return MatchCondition(Term.c_str(), Value.c_str());
    return MatchCondition(AnsiUpperCase(Term).c_str(), AnsiUpperCase(Value).c_str());
}

namespace {

// Groups nest at most this deep (far more than anyone types); a deeper group
// is matched as one plain term, so no expression can exhaust the stack or
// make the matcher clean the same long text over and over.
constexpr int kMaxGroupDepth = 32;

bool MatchExpr(const String& Expr, const String& Value, bool CaseSensitive, int Depth)
{
    String expr = Trim(Expr);
    expr = RemoveUnquotedBlanks(expr);
    if (!expr.empty() && expr[0] == L'=') expr.erase(0, 1);

    static const String separators = L"(;^&|";
    Char previous = 0;
    bool result = true;
    auto combine = [&](bool outcome) {
        switch (previous) {
        case 0: result = outcome; break;
        case L'&': result = result && outcome; break;
        case L'(': break;   // the empty term between a group and its operator
        default: result = result || outcome; break;
        }
    };

    // What is left of the expression starts at "at"; the quote count of the
    // scans starts there too, as on the text that is left.
    const size_t n = expr.size();
    auto findSeparator = [&](size_t from, size_t& pos) -> Char {
        bool quoted = false;
        for (size_t i = from; i < n; ++i) {
            Char c = expr[i];
            if (c == L'"') quoted = !quoted;
            else if (!quoted && separators.find(c) != String::npos) {
                pos = i;
                return c;
            }
        }
        return 0;
    };
    auto matchingParen = [&](size_t from) -> size_t {   // npos when none
        Integer open = 0, close = 0;
        for (size_t i = from; i < n; ++i) {
            if (expr[i] == L'(') ++open;
            else if (expr[i] == L')' && ++close == open) return i;
        }
        return String::npos;
    };

    size_t at = 0;
    for (;;) {
        size_t pos;
        Char sep = findSeparator(at, pos);
        if (!sep) break;
        if (expr[at] == L'(') {
            size_t close = matchingParen(at);
            // A "(" without its ")": the rest is the group and the scan ends.
            size_t end = close == String::npos ? n : close;
            String group = expr.substr(at + 1, end - at - 1);
            bool outcome = Depth < kMaxGroupDepth ? MatchExpr(group, Value, CaseSensitive, Depth + 1)
                                                  : MatchFilterTerm(group, Value, CaseSensitive);
            combine(outcome);
            previous = L'(';
            at = close == String::npos ? n : close + 1;
        } else {
            combine(MatchFilterTerm(expr.substr(at, pos - at), Value, CaseSensitive));
            previous = sep;
            at = pos + 1;
        }
    }
    if (previous != L'(') combine(MatchFilterTerm(expr.substr(at), Value, CaseSensitive));
    return result;
}

}  // namespace

bool MatchFilterExpr(const String& Expr, const String& Value, bool CaseSensitive)
{
    return MatchExpr(Expr, Value, CaseSensitive, 0);
}
