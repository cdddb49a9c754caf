// String routines: positions, trimming, case, replacing, comparing and
// collation, integers to and from text.
#include "platform/base/SysUtils.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <vector>

#include "platform/base/SysUtils_Internal.h"

// ---------------------------------------------------------------------------
// Positions

Integer Pos(const String& sub, const String& s)
{
    return PosEx(sub, s, 1);
}

Integer PosEx(const String& sub, const String& s, Integer offset)
{
    if (sub.empty() || offset < 1 || size_t(offset) > s.size()) return 0;
    size_t p = s.find(sub, size_t(offset - 1));
    return p == String::npos ? 0 : Integer(p + 1);
}

String Copy(const String& s, Integer index, Integer count)
{
    if (index < 1) index = 1;
    if (count <= 0 || size_t(index) > s.size()) return String();
    return s.substr(size_t(index - 1), size_t(count));
}

void Delete(String& s, Integer index, Integer count)
{
    if (index < 1 || count <= 0 || size_t(index) > s.size()) return;
    s.erase(size_t(index - 1), size_t(count));
}

void Insert(const String& sub, String& s, Integer index)
{
    if (index < 1) index = 1;
    size_t at = std::min(size_t(index - 1), s.size());
    s.insert(at, sub);
}

// ---------------------------------------------------------------------------
// Trimming

String Trim(const String& s)
{
    size_t b = 0, e = s.size();
    while (b < e && s[b] <= L' ') ++b;
    while (e > b && s[e - 1] <= L' ') --e;
    return s.substr(b, e - b);
}

String TrimLeft(const String& s)
{
    size_t b = 0;
    while (b < s.size() && s[b] <= L' ') ++b;
    return s.substr(b);
}

String TrimRight(const String& s)
{
    size_t e = s.size();
    while (e > 0 && s[e - 1] <= L' ') --e;
    return s.substr(0, e);
}

// ---------------------------------------------------------------------------
// Case

String UpperCase(const String& s)
{
    String r = s;
    for (auto& c : r)
        if (c >= L'a' && c <= L'z') c = Char(c - 32);
    return r;
}

String LowerCase(const String& s)
{
    String r = s;
    for (auto& c : r)
        if (c >= L'A' && c <= L'Z') c = Char(c + 32);
    return r;
}

namespace {

// Blocks where upper and lower case letters alternate: upper on the even
// (or odd) code point, lower on the next.
struct PairBlock {
    uint32_t first, last;   // inclusive range of the whole block
    bool upperEven;         // upper case letter on even code points
};
constexpr PairBlock kPairBlocks[] = {
    {0x0100, 0x012F, true}, {0x0132, 0x0137, true}, {0x0139, 0x0148, false},
    {0x014A, 0x0177, true}, {0x0179, 0x017E, false}, {0x0460, 0x0481, true},
    {0x048A, 0x04BF, true}, {0x04C1, 0x04CE, false}, {0x04D0, 0x052F, true},
    {0x1E00, 0x1E95, true}, {0x1EA0, 0x1EFF, true},
};

// Blocks where a run of lower case letters sits at a fixed distance above
// the upper case run.
struct ShiftBlock {
    uint32_t lowerFirst, lowerLast;
    int32_t delta;   // lower - upper
};
constexpr ShiftBlock kShiftBlocks[] = {
    {0x00E0, 0x00F6, 0x20}, {0x00F8, 0x00FE, 0x20}, {0x03B1, 0x03C1, 0x20},
    {0x03C3, 0x03CB, 0x20}, {0x03AD, 0x03AF, 0x25}, {0x03CD, 0x03CE, 0x3F},
    {0x0430, 0x044F, 0x20}, {0x0450, 0x045F, 0x50}, {0x0561, 0x0586, 0x30},
    {0xFF41, 0xFF5A, 0x20},
};

// Single pairs that fit no block (lower, upper).
constexpr std::pair<uint32_t, uint32_t> kSinglePairs[] = {
    {0x00FF, 0x0178}, {0x00B5, 0x039C}, {0x0131, 0x0049}, {0x017F, 0x0053},
    {0x03C2, 0x03A3}, {0x03AC, 0x0386}, {0x03CC, 0x038C},
};

}  // namespace

Char AnsiUpperChar(Char ch)
{
    uint32_t c = uint32_t(ch);
    if (c < 0x80) return (c >= 'a' && c <= 'z') ? Char(c - 32) : ch;
    for (auto& b : kShiftBlocks)
        if (c >= b.lowerFirst && c <= b.lowerLast) return Char(c - b.delta);
    for (auto& b : kPairBlocks)
        if (c >= b.first && c <= b.last) {
            bool isUpper = ((c & 1) == 0) == b.upperEven;
            return isUpper ? ch : Char(c - 1);
        }
    for (auto& p : kSinglePairs)
        if (c == p.first) return Char(p.second);
    return ch;
}

Char AnsiLowerChar(Char ch)
{
    uint32_t c = uint32_t(ch);
    if (c < 0x80) return (c >= 'A' && c <= 'Z') ? Char(c + 32) : ch;
    if (c == 0x130) return L'i';
    for (auto& b : kShiftBlocks)
        if (c >= b.lowerFirst - b.delta && c <= b.lowerLast - b.delta) return Char(c + b.delta);
    for (auto& b : kPairBlocks)
        if (c >= b.first && c <= b.last) {
            bool isUpper = ((c & 1) == 0) == b.upperEven;
            return isUpper && c < b.last ? Char(c + 1) : ch;
        }
    for (auto& p : kSinglePairs)
        if (c == p.second && p.second >= 0x80) return Char(p.first);
    return ch;
}

String AnsiUpperCase(const String& s)
{
    String r = s;
    for (auto& c : r) c = AnsiUpperChar(c);
    return r;
}

String AnsiLowerCase(const String& s)
{
    String r = s;
    for (auto& c : r) c = AnsiLowerChar(c);
    return r;
}

// ---------------------------------------------------------------------------
// Replacing

String StringReplace(const String& s, const String& oldPattern, const String& newPattern,
                     TReplaceFlags flags)
{
    if (oldPattern.empty()) return s;
    const bool ignoreCase = flags & rfIgnoreCase;
    // Case folding is one character to one, so positions in the folded copy
    // are positions in the original.
    const String hay = ignoreCase ? AnsiUpperCase(s) : String();
    const String pat = ignoreCase ? AnsiUpperCase(oldPattern) : oldPattern;
    const String& src = ignoreCase ? hay : s;
    String out;
    size_t from = 0;
    while (true) {
        size_t p = src.find(pat, from);
        if (p == String::npos) break;
        out.append(s, from, p - from);
        out += newPattern;
        from = p + pat.size();
        if (!(flags & rfReplaceAll)) break;
    }
    out.append(s, from, String::npos);
    return out;
}

// ---------------------------------------------------------------------------
// Comparing

namespace {

inline Char AsciiUpper(Char c) { return (c >= L'a' && c <= L'z') ? Char(c - 32) : c; }

inline Integer Sign(int64_t v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

}  // namespace

Integer CompareStr(const String& a, const String& b)
{
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i)
        if (a[i] != b[i]) return Sign(int64_t(uint32_t(a[i])) - int64_t(uint32_t(b[i])));
    return Sign(int64_t(a.size()) - int64_t(b.size()));
}

Integer CompareText(const String& a, const String& b)
{
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        Char x = AsciiUpper(a[i]), y = AsciiUpper(b[i]);
        if (x != y) return Sign(int64_t(uint32_t(x)) - int64_t(uint32_t(y)));
    }
    return Sign(int64_t(a.size()) - int64_t(b.size()));
}

bool SameStr(const String& a, const String& b) { return a == b; }
bool SameText(const String& a, const String& b) { return CompareText(a, b) == 0; }
bool AnsiSameStr(const String& a, const String& b) { return a == b; }
bool AnsiSameText(const String& a, const String& b) { return AnsiCompareText(a, b) == 0; }

namespace {

// Decomposition of U+00C0..U+017F: base letter ('.' none) and the mark
// ('.' none, 'f' a letter that folds to its base for sorting but has no
// combining-mark form, such as a stroke).
const char kBase00C0[] = "AAAAAA.CEEEEIIII.NOOOOO.OUUUUY.."
                         "aaaaaa.ceeeeiiii.nooooo.ouuuuy.y";
const char kMark00C0[] = "gactur.sgacugacu.tgactu.fgacua.."
                         "gactur.sgacugacu.tgactu.fgacua.u";
const char kBase0100[] = "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIi..JjKk."
                         "LlLlLl..LlNnNnNn...OoOoOo..RrRrRrSsSsSsSsTtTtTtUuUuUuUuUuUuWwYyYZzZzZz.";
const char kMark0100[] = "mmbbooaaccddvvvvffmmbbddoovvccbbddssccffttmmbboodf..ccss."
                         "aassvv..ffaassvv...mmbbkk..aassvvaaccssvvssvvffttmmbbrrkkooccccuaaddvv.";
static_assert(sizeof(kBase00C0) == 65 && sizeof(kMark00C0) == 65);
static_assert(sizeof(kBase0100) == 129 && sizeof(kMark0100) == 129);

uint32_t MarkCode(char m)
{
    switch (m) {
    case 'g': return 0x300;
    case 'a': return 0x301;
    case 'c': return 0x302;
    case 't': return 0x303;
    case 'm': return 0x304;
    case 'b': return 0x306;
    case 'd': return 0x307;
    case 'u': return 0x308;
    case 'r': return 0x30A;
    case 'k': return 0x30B;
    case 'v': return 0x30C;
    case 's': return 0x327;
    case 'o': return 0x328;
    default: return 0;
    }
}

// Base letter and mark of c; base 0 when c is not a decomposable letter.
void Decompose(uint32_t c, uint32_t& base, char& mark)
{
    base = 0;
    mark = '.';
    const char* b = nullptr;
    const char* m = nullptr;
    if (c >= 0xC0 && c < 0x100) { b = kBase00C0 + (c - 0xC0); m = kMark00C0 + (c - 0xC0); }
    else if (c >= 0x100 && c < 0x180) { b = kBase0100 + (c - 0x100); m = kMark0100 + (c - 0x100); }
    if (b && *b != '.') {
        base = uint32_t(uint8_t(*b));
        mark = *m;
    }
}

bool IsSymbol(uint32_t c)
{
    if (c < 0x80) return !((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'));
    return (c >= 0x80 && c <= 0xBF && c != 0xAA && c != 0xB5 && c != 0xBA) || c == 0xD7 || c == 0xF7 ||
           (c >= 0x2000 && c <= 0x2BFF) || (c >= 0x3000 && c <= 0x303F) || (c >= 0xFE30 && c <= 0xFE4F);
}

struct CollationElement {
    uint32_t primary;
    uint32_t secondary;   // accent
    uint32_t tertiary;    // 1 for upper case
};

// The collation elements of c (one, or two for a ligature); returns how many.
int ElementsOf(uint32_t c, CollationElement (&out)[2])
{
    if (c >= '0' && c <= '9') {
        out[0] = {0x20000 + c, 0, 0};
        return 1;
    }
    if (IsSymbol(c)) {
        out[0] = {0x10000 + c, 0, 0};
        return 1;
    }
    uint32_t lower = uint32_t(AnsiLowerChar(Char(c)));
    uint32_t tert = lower != c ? 1 : 0;
    uint32_t base;
    char mark;
    Decompose(lower, base, mark);
    if (base) {
        uint32_t sec = mark == 'f' ? 0x3FF : MarkCode(mark);
        out[0] = {0x30000 + base, sec, tert};
        return 1;
    }
    // Ligatures and sharp s sort as their two letters.
    auto two = [&](char x, char y, uint32_t sec) {
        out[0] = {0x30000 + uint32_t(x), sec, tert};
        out[1] = {0x30000 + uint32_t(y), sec, tert};
        return 2;
    };
    switch (lower) {
    case 0xDF: return two('s', 's', 0x400);
    case 0xE6: return two('a', 'e', 0x400);
    case 0x153: return two('o', 'e', 0x400);
    case 0xF0: out[0] = {0x30000 + 'd', 0x3FF, tert}; return 1;
    case 0xFE: return two('t', 'h', 0x400);
    default: break;
    }
    out[0] = {0x30000 + lower, 0, tert};
    return 1;
}

// Primary weights of the plain characters, as ElementsOf gives them.
struct TAsciiPrimary {
    uint32_t weight[0x80];
    constexpr TAsciiPrimary() : weight()
    {
        for (uint32_t c = 0; c < 0x80; ++c) {
            bool digit = c >= '0' && c <= '9';
            bool upper = c >= 'A' && c <= 'Z', lower = c >= 'a' && c <= 'z';
            weight[c] = digit ? 0x20000 + c : (upper ? 0x30000 + c + 32 : (lower ? 0x30000 + c : 0x10000 + c));
        }
    }
};
constexpr TAsciiPrimary kAsciiPrimary;

// The elements of the Latin range worked out once: the texts a grid sorts are
// made of these nearly always.
constexpr uint32_t kTableSize = 0x180;
struct TCollationTable {
    CollationElement first[kTableSize];
    CollationElement second[kTableSize];
    uint8_t count[kTableSize];
    TCollationTable()
    {
        for (uint32_t c = 0; c < kTableSize; ++c) {
            CollationElement e[2] = {};
            count[c] = uint8_t(ElementsOf(c, e));
            first[c] = e[0];
            second[c] = e[1];
        }
    }
};

const TCollationTable& Table()
{
    static const TCollationTable table;
    return table;
}

inline int Elements(const TCollationTable& t, uint32_t c, CollationElement (&out)[2])
{
    if (c < kTableSize) {
        out[0] = t.first[c];
        out[1] = t.second[c];
        return t.count[c];
    }
    return ElementsOf(c, out);
}

// The collation elements of a text one after the other, with no copy.
class ElementStream {
public:
    ElementStream(const TCollationTable& t, const Char* p, const Char* end) : t_(t), p_(p), end_(end) {}
    bool Next(CollationElement& e)
    {
        if (pending_) {
            e = next_[1];
            pending_ = false;
            return true;
        }
        if (p_ == end_) return false;
        pending_ = Elements(t_, uint32_t(*p_++), next_) == 2;
        e = next_[0];
        return true;
    }
    // Plain characters whose elements are one each, for the tight loop.
    bool AtSingle() const { return !pending_ && p_ != end_ && uint32_t(*p_) < 0x80; }
    const Char*& Pos() { return p_; }

private:
    const TCollationTable& t_;
    const Char* p_;
    const Char* end_;
    CollationElement next_[2];
    bool pending_ = false;
};

// Length of the common prefix of a and b (n characters at most), a few
// characters at a time.
size_t CommonPrefix(const Char* a, const Char* b, size_t n)
{
    size_t i = 0;
    constexpr size_t kStep = 16 / sizeof(Char);
    for (; i + kStep <= n; i += kStep) {
        uint64_t x0, x1, y0, y1;
        std::memcpy(&x0, a + i, 8);
        std::memcpy(&y0, b + i, 8);
        std::memcpy(&x1, reinterpret_cast<const char*>(a + i) + 8, 8);
        std::memcpy(&y1, reinterpret_cast<const char*>(b + i) + 8, 8);
        if ((x0 ^ y0) | (x1 ^ y1)) break;
    }
    while (i < n && a[i] == b[i]) ++i;
    return i;
}

// Primary letters first over the whole texts, then the number of elements,
// then accents, then (withCase) case. Equal characters give equal elements,
// so the common prefix is skipped at every level.
Integer CollateCompare(const Char* a, size_t na, const Char* b, size_t nb, bool withCase)
{
    const size_t n = na < nb ? na : nb;
    // A shared first character often means a long shared stem: skip it a few
    // characters at a time.
    const size_t start = n >= 8 && a[0] == b[0] ? CommonPrefix(a, b, n) : 0;
    if (start == n && na == nb) return 0;
    size_t skip = start;
    // Plain characters, one element each: the primary weight decides or they
    // are the same letter in another case.
    for (; skip < n; ++skip) {
        const uint32_t x = uint32_t(a[skip]), y = uint32_t(b[skip]);
        if (x == y) continue;
        if ((x | y) >= 0x80) break;
        const uint32_t px = kAsciiPrimary.weight[x], py = kAsciiPrimary.weight[y];
        if (px != py) return px < py ? -1 : 1;
    }
    // Every character has at least one element, so after an equal run the
    // longer text has more.
    if (skip == n && na != nb) return na < nb ? -1 : 1;
    const TCollationTable& t = Table();
    {
        ElementStream sa(t, a + skip, a + na), sb(t, b + skip, b + nb);
        CollationElement ea, eb;
        for (;;) {
            // Plain characters: one element each, straight from the table.
            const Char*& pa = sa.Pos();
            const Char*& pb = sb.Pos();
            while (sa.AtSingle() && sb.AtSingle()) {
                if (*pa != *pb) {
                    uint32_t x = t.first[*pa].primary, y = t.first[*pb].primary;
                    if (x != y) return x < y ? -1 : 1;
                }
                ++pa;
                ++pb;
            }
            bool ha = sa.Next(ea), hb = sb.Next(eb);
            if (!ha || !hb) {
                if (ha != hb) return ha ? 1 : -1;
                break;
            }
            if (ea.primary != eb.primary) return ea.primary < eb.primary ? -1 : 1;
        }
    }
    // Same letters, same count: the streams run side by side.
    for (int level = 1; level <= (withCase ? 2 : 1); ++level) {
        ElementStream sa(t, a + start, a + na), sb(t, b + start, b + nb);
        CollationElement ea, eb;
        while (sa.Next(ea) && sb.Next(eb)) {
            uint32_t x = level == 1 ? ea.secondary : ea.tertiary;
            uint32_t y = level == 1 ? eb.secondary : eb.tertiary;
            if (x != y) return x < y ? -1 : 1;
        }
    }
    return 0;
}

// One character against another as whole texts of one character each.
Integer CollateChars(uint32_t x, uint32_t y)
{
    if (x < 0x80 && y < 0x80) {
        uint32_t px = kAsciiPrimary.weight[x], py = kAsciiPrimary.weight[y];
        return px == py ? 0 : (px < py ? -1 : 1);
    }
    const TCollationTable& t = Table();
    CollationElement ex[2], ey[2];
    int nx = Elements(t, x, ex), ny = Elements(t, y, ey);
    int n = nx < ny ? nx : ny;
    for (int i = 0; i < n; ++i)
        if (ex[i].primary != ey[i].primary) return ex[i].primary < ey[i].primary ? -1 : 1;
    if (nx != ny) return nx < ny ? -1 : 1;
    for (int i = 0; i < n; ++i)
        if (ex[i].secondary != ey[i].secondary) return ex[i].secondary < ey[i].secondary ? -1 : 1;
    return 0;
}

Integer CompareStrRaw(const Char* a, size_t na, const Char* b, size_t nb)
{
    size_t n = na < nb ? na : nb;
    size_t i = CommonPrefix(a, b, n);
    if (i < n) return uint32_t(a[i]) < uint32_t(b[i]) ? -1 : 1;
    return na == nb ? 0 : (na < nb ? -1 : 1);
}

Integer AnsiCompareStrRaw(const Char* a, size_t na, const Char* b, size_t nb)
{
    Integer r = CollateCompare(a, na, b, nb, true);
    // Texts equal to the collation but not in code points still get a fixed order.
    return r != 0 ? r : CompareStrRaw(a, na, b, nb);
}

}  // namespace

Integer AnsiCompareStr(const String& a, const String& b)
{
    return AnsiCompareStrRaw(a.data(), a.size(), b.data(), b.size());
}

Integer AnsiCompareText(const String& a, const String& b)
{
    return CollateCompare(a.data(), a.size(), b.data(), b.size(), false);
}

String FoldStringComposite(const String& s)
{
    String out;
    out.reserve(s.size());
    for (Char ch : s) {
        uint32_t base;
        char mark;
        Decompose(uint32_t(ch), base, mark);
        uint32_t code = base ? MarkCode(mark) : 0;
        if (code) {
            out += Char(base);
            out += Char(code);
        } else {
            out += ch;
        }
    }
    return out;
}

// ---------------------------------------------------------------------------
// Null-terminated comparisons

namespace {

const Char kEmpty[] = L"";
inline const Char* NonNull(const Char* p) { return p ? p : kEmpty; }

Integer CompareRaw(const Char* a, const Char* b, size_t maxLen, bool ignoreCase)
{
    a = NonNull(a);
    b = NonNull(b);
    for (size_t i = 0; i < maxLen; ++i) {
        Char x = a[i], y = b[i];
        if (ignoreCase) { x = AsciiUpper(x); y = AsciiUpper(y); }
        if (x != y) return Sign(int64_t(uint32_t(x)) - int64_t(uint32_t(y)));
        if (x == 0) return 0;
    }
    return 0;
}

}  // namespace

Integer StrComp(const Char* a, const Char* b) { return CompareRaw(a, b, SIZE_MAX, false); }
Integer StrIComp(const Char* a, const Char* b) { return CompareRaw(a, b, SIZE_MAX, true); }
Integer StrLComp(const Char* a, const Char* b, Cardinal maxLen) { return CompareRaw(a, b, maxLen, false); }
Integer StrLIComp(const Char* a, const Char* b, Cardinal maxLen) { return CompareRaw(a, b, maxLen, true); }

Integer StrCmpLogicalW(const Char* pa, const Char* pb)
{
    const Char* a = NonNull(pa);
    const Char* b = NonNull(pb);
    auto isDigit = [](Char c) { return c >= L'0' && c <= L'9'; };
    const Char* x = a;
    const Char* y = b;
    while (*x && *y) {
        const Char cx = *x, cy = *y;
        if (isDigit(cx) && isDigit(cy)) {
            const Char* sx = x;
            const Char* sy = y;
            while (*sx == L'0') ++sx;
            while (*sy == L'0') ++sy;
            const Char* ex = sx;
            const Char* ey = sy;
            while (isDigit(*ex)) ++ex;
            while (isDigit(*ey)) ++ey;
            // Longer run without leading zeros is the larger number.
            if (ex - sx != ey - sy) return ex - sx < ey - sy ? -1 : 1;
            for (; sx < ex; ++sx, ++sy)
                if (*sx != *sy) return *sx < *sy ? -1 : 1;
            x = ex;
            y = ey;
            continue;
        }
        if (cx != cy) {
            Integer r = CollateChars(uint32_t(cx), uint32_t(cy));
            if (r != 0) return r;
        }
        ++x;
        ++y;
    }
    if (*x) return 1;
    if (*y) return -1;
    // Equal by value ("a01" and "a1"): fall back to a fixed order.
    return AnsiCompareStrRaw(a, std::wcslen(a), b, std::wcslen(b));
}

// ---------------------------------------------------------------------------
// Small helpers

String StringOfChar(Char c, Integer count)
{
    return count > 0 ? String(size_t(count), c) : String();
}

String LeftStr(const String& s, Integer count)
{
    return count > 0 ? s.substr(0, size_t(count)) : String();
}

String RightStr(const String& s, Integer count)
{
    if (count <= 0) return String();
    size_t n = std::min(size_t(count), s.size());
    return s.substr(s.size() - n);
}

String QuotedStr(const String& s)
{
    String r = L"'";
    for (Char c : s) {
        r += c;
        if (c == L'\'') r += c;
    }
    r += L'\'';
    return r;
}

// ---------------------------------------------------------------------------
// Integers

String UIntToStr(UInt64 value)
{
    Char buf[24];
    size_t n = 0;
    do {
        buf[n++] = Char(L'0' + value % 10);
        value /= 10;
    } while (value);
    String r;
    r.reserve(n);
    while (n) r += buf[--n];
    return r;
}

String IntToStr(Int64 value)
{
    if (value < 0) return L"-" + UIntToStr(UInt64(0) - UInt64(value));
    return UIntToStr(UInt64(value));
}

String IntToStr(Integer value) { return IntToStr(Int64(value)); }

String IntToHex(UInt64 value, Integer digits)
{
    static const Char kHex[] = L"0123456789ABCDEF";
    String r;
    do {
        r += kHex[value & 15];
        value >>= 4;
    } while (value);
    while (Integer(r.size()) < digits) r += L'0';
    std::reverse(r.begin(), r.end());
    return r;
}

String IntToHex(Integer value, Integer digits) { return IntToHex(UInt64(uint32_t(value)), digits); }
String IntToHex(Int64 value, Integer digits) { return IntToHex(UInt64(value), digits); }

bool ScanInteger(const String& s, int bits, Int64& value, Integer& errPos)
{
    const size_t n = s.size();
    size_t i = 0;
    while (i < n && s[i] == L' ') ++i;
    bool neg = false;
    if (i < n && (s[i] == L'+' || s[i] == L'-')) {
        neg = s[i] == L'-';
        ++i;
    }
    bool hex = false;
    if (i < n && s[i] == L'$') {
        hex = true;
        ++i;
    } else if (i < n && (s[i] == L'x' || s[i] == L'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < n && s[i] == L'0' && (s[i + 1] == L'x' || s[i + 1] == L'X')) {
        hex = true;
        i += 2;
    }
    // Hexadecimal takes the full unsigned width and wraps ("$FFFFFFFF" = -1);
    // decimal must fit the signed range.
    const UInt64 hexMax = bits == 32 ? 0xFFFFFFFFull : ~0ull;
    const UInt64 decMax = bits == 32 ? (neg ? 0x80000000ull : 0x7FFFFFFFull)
                                     : (neg ? 0x8000000000000000ull : 0x7FFFFFFFFFFFFFFFull);
    UInt64 acc = 0;
    size_t digits = 0;
    for (; i < n; ++i, ++digits) {
        Char c = s[i];
        unsigned d;
        if (c >= L'0' && c <= L'9') d = unsigned(c - L'0');
        else if (hex && c >= L'a' && c <= L'f') d = unsigned(c - L'a' + 10);
        else if (hex && c >= L'A' && c <= L'F') d = unsigned(c - L'A' + 10);
        else break;
        if (hex) {
            if (acc > (hexMax >> 4)) { errPos = Integer(i + 1); return false; }
            acc = (acc << 4) | d;
        } else {
            if (acc > (decMax - d) / 10) { errPos = Integer(i + 1); return false; }
            acc = acc * 10 + d;
        }
    }
    if (i < n || digits == 0) {
        errPos = Integer(i + 1);
        return false;
    }
    value = neg ? Int64(UInt64(0) - acc) : Int64(acc);
    if (bits == 32) value = Int64(int32_t(uint32_t(UInt64(value))));
    errPos = 0;
    return true;
}

namespace {

[[noreturn]] void RaiseNotInteger(const String& s)
{
    throw EConvertError(L"'" + s + L"' is not a valid integer value");
}

}  // namespace

bool TryStrToInt(const String& s, Integer& value)
{
    Int64 v;
    Integer pos;
    if (!ScanInteger(s, 32, v, pos)) return false;
    value = Integer(v);
    return true;
}

bool TryStrToInt64(const String& s, Int64& value)
{
    Integer pos;
    return ScanInteger(s, 64, value, pos);
}

Integer StrToInt(const String& s)
{
    Integer v;
    if (!TryStrToInt(s, v)) RaiseNotInteger(s);
    return v;
}

Int64 StrToInt64(const String& s)
{
    Int64 v;
    if (!TryStrToInt64(s, v)) RaiseNotInteger(s);
    return v;
}

Integer StrToIntDef(const String& s, Integer def)
{
    Integer v;
    return TryStrToInt(s, v) ? v : def;
}

Int64 StrToInt64Def(const String& s, Int64 def)
{
    Int64 v;
    return TryStrToInt64(s, v) ? v : def;
}

void Val(const String& s, Integer& value, Integer& code)
{
    Int64 v = 0;
    if (ScanInteger(s, 32, v, code)) value = Integer(v);
}

void Val(const String& s, Int64& value, Integer& code)
{
    Int64 v = 0;
    if (ScanInteger(s, 64, v, code)) value = v;
}
