// The number texts and collation as they were written first, before the
// fast paths: the comparison tables hold the current routines to these,
// output for output.
#include "SysUtilsReference.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace reference {

namespace {

// A value as decimal digits: value = 0.Digits * 10^Exponent.
struct TOldDecimal {
    enum TSpecial { None, NaN, Infinite };
    TSpecial Special = None;
    bool Negative = false;
    Integer Exponent = 0;
    std::string Digits;
};

const Char kEmpty[] = L"";
inline const Char* NonNull(const Char* p) { return p ? p : kEmpty; }

}  // namespace

// ---------------------------------------------------------------------------
// Decimal digits of a double

static TOldDecimal OldFloatToDecimal(Extended value, Integer precision, Integer decimals)
{
    TOldDecimal r;
    if (std::isnan(value)) { r.Special = TOldDecimal::NaN; return r; }
    if (std::isinf(value)) {
        r.Special = TOldDecimal::Infinite;
        r.Negative = value < 0;
        return r;
    }
    if (value == 0) return r;
    r.Negative = value < 0;
    if (precision < 1) precision = 1;
    if (precision > 18) precision = 18;

    // glibc prints the exact binary value correctly rounded; 40 digits is far
    // past anything kept below. Only the digits and the exponent are read, so
    // the C library's decimal point does not matter.
    char buf[80];
    std::snprintf(buf, sizeof buf, "%.40e", std::fabs(value));
    std::string digits;
    const char* p = buf;
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') digits += *p;
    int exp10 = *p == 'e' ? std::atoi(p + 1) : 0;
    r.Exponent = exp10 + 1;

    // Round half away from zero to keep n digits; a carry out of the first
    // digit moves the exponent.
    auto roundTo = [&](long n) {
        if (n < 0) { digits.clear(); return; }
        if (size_t(n) >= digits.size()) return;
        bool up = digits[size_t(n)] >= '5';
        digits.resize(size_t(n));
        if (!up) return;
        long i = n - 1;
        while (i >= 0 && digits[size_t(i)] == '9') digits[size_t(i--)] = '0';
        if (i >= 0) {
            ++digits[size_t(i)];
        } else {
            // All nines (or nothing kept): 10^k, one more integer digit.
            digits.assign(1, '1');
            ++r.Exponent;
        }
    };
    roundTo(precision);
    if (decimals < 9999) roundTo(long(r.Exponent) + decimals);
    while (!digits.empty() && digits.back() == '0') digits.pop_back();
    if (digits.empty()) {
        // Rounded to nothing: a plain zero, without a sign.
        r.Exponent = 0;
        r.Negative = false;
    }
    r.Digits = digits;
    return r;
}

std::string OldFloatToDecimalText(Extended value, Integer precision, Integer decimals)
{
    TOldDecimal d = OldFloatToDecimal(value, precision, decimals);
    if (d.Special == TOldDecimal::NaN) return "NAN";
    if (d.Special == TOldDecimal::Infinite) return d.Negative ? "-INF" : "INF";
    return (d.Negative ? "-0." : "0.") + d.Digits + "e" + std::to_string(d.Exponent);
}

namespace {

String Widen(const std::string& s) { return String(s.begin(), s.end()); }

String SpecialText(const TOldDecimal& d)
{
    if (d.Special == TOldDecimal::NaN) return L"NAN";
    return d.Negative ? L"-INF" : L"INF";
}

String ExponentText(Integer exp, Integer minDigits, bool plusSign)
{
    String r = L"E";
    if (exp < 0) r += L'-';
    else if (plusSign) r += L'+';
    String n = IntToStr(exp < 0 ? -exp : exp);
    while (Integer(n.size()) < minDigits) n.insert(n.begin(), L'0');
    return r + n;
}

// Integer digits of d (at least "0"), fraction digits exactly fracDigits long.
void SplitFixed(const TOldDecimal& d, Integer fracDigits, std::string& intPart, std::string& fracPart)
{
    intPart.clear();
    fracPart.clear();
    const std::string& g = d.Digits;
    for (Integer i = 0; i < d.Exponent; ++i) intPart += size_t(i) < g.size() ? g[size_t(i)] : '0';
    if (intPart.empty()) intPart.push_back('0');
    for (Integer i = 0; i < fracDigits; ++i) {
        long idx = long(d.Exponent) + i;
        fracPart += (idx >= 0 && size_t(idx) < g.size()) ? g[size_t(idx)] : '0';
    }
}

String GroupThousands(const std::string& intPart, Char sep)
{
    String r;
    size_t n = intPart.size();
    for (size_t i = 0; i < n; ++i) {
        r += Char(intPart[i]);
        size_t fromRight = n - 1 - i;
        if (sep && fromRight > 0 && fromRight % 3 == 0) r += sep;
    }
    return r;
}

String FormatGeneral(const TOldDecimal& d, Integer precision, Integer expDigits, const TFormatSettings& fs)
{
    if (d.Digits.empty()) return L"0";
    String r = d.Negative ? L"-" : L"";
    const std::string& g = d.Digits;
    if (d.Exponent > precision || d.Exponent < -3) {
        r += Char(g[0]);
        if (g.size() > 1) r += fs.DecimalSeparator + Widen(g.substr(1));
        return r + ExponentText(d.Exponent - 1, expDigits, false);
    }
    if (d.Exponent <= 0) {
        r += L'0';
        r += fs.DecimalSeparator;
        r += String(size_t(-d.Exponent), L'0') + Widen(g);
        return r;
    }
    std::string intPart, fracPart;
    Integer fracDigits = Integer(g.size()) > d.Exponent ? Integer(g.size()) - d.Exponent : 0;
    SplitFixed(d, fracDigits, intPart, fracPart);
    r += Widen(intPart);
    if (!fracPart.empty()) r += fs.DecimalSeparator + Widen(fracPart);
    return r;
}

String FormatExponent(const TOldDecimal& d, Integer precision, Integer expDigits, const TFormatSettings& fs)
{
    std::string g = d.Digits;
    g.resize(size_t(precision), '0');
    String r = d.Negative ? L"-" : L"";
    r += Char(g[0]);
    if (precision > 1) r += fs.DecimalSeparator + Widen(g.substr(1));
    return r + ExponentText(d.Digits.empty() ? 0 : d.Exponent - 1, expDigits, true);
}

String ApplyCurrency(const String& number, bool negative, const TFormatSettings& fs)
{
    const String& c = fs.CurrencyString;
    if (!negative) {
        switch (fs.CurrencyFormat) {
        case 1: return number + c;
        case 2: return c + L" " + number;
        case 3: return number + L" " + c;
        default: return c + number;
        }
    }
    switch (fs.NegCurrFormat) {
    case 1: return L"-" + c + number;
    case 2: return c + L"-" + number;
    case 3: return c + number + L"-";
    case 4: return L"(" + number + c + L")";
    case 5: return L"-" + number + c;
    case 6: return number + L"-" + c;
    case 7: return number + c + L"-";
    case 8: return L"-" + number + L" " + c;
    case 9: return L"-" + c + L" " + number;
    case 10: return number + L" " + c + L"-";
    case 11: return c + L" " + number + L"-";
    case 12: return c + L" -" + number;
    case 13: return number + L"- " + c;
    case 14: return L"(" + c + L" " + number + L")";
    case 15: return L"(" + number + L" " + c + L")";
    default: return L"(" + c + number + L")";
    }
}

Integer Clamp(Integer v, Integer lo, Integer hi) { return v < lo ? lo : (v > hi ? hi : v); }

}  // namespace

String OldFloatToStrF(Extended value, TFloatFormat format, Integer precision, Integer digits,
                   const TFormatSettings& fs)
{
    precision = Clamp(precision, 1, 18);
    if (format == ffGeneral || format == ffExponent) {
        digits = Clamp(digits, 0, 4);
        TOldDecimal d = OldFloatToDecimal(value, precision, 9999);
        if (d.Special) return SpecialText(d);
        return format == ffGeneral ? FormatGeneral(d, precision, digits, fs)
                                   : FormatExponent(d, precision, digits, fs);
    }
    digits = Clamp(digits, 0, 18);
    TOldDecimal d = OldFloatToDecimal(value, precision, digits);
    if (d.Special) return SpecialText(d);
    // More integer digits than the precision holds: general format instead.
    if (d.Exponent > precision) return FormatGeneral(d, precision, 0, fs);
    std::string intPart, fracPart;
    SplitFixed(d, digits, intPart, fracPart);
    String number = format == ffFixed ? Widen(intPart) : GroupThousands(intPart, fs.ThousandSeparator);
    if (!fracPart.empty()) number += fs.DecimalSeparator + Widen(fracPart);
    if (format == ffCurrency) return ApplyCurrency(number, d.Negative, fs);
    return d.Negative ? L"-" + number : number;
}


String OldFloatToStr(Extended value, const TFormatSettings& fs)
{
    return OldFloatToStrF(value, ffGeneral, 15, 0, fs);
}


// ---------------------------------------------------------------------------
// FormatFloat

namespace {

// What one section of a number mask asks for.
struct MaskLayout {
    Integer intPlaceholders = 0;   // 0 and # before the decimal point
    Integer minInt = 0;            // placeholders from the first 0 on
    Integer fracMax = 0;
    Integer fracMin = 0;
    bool hasPoint = false;
    bool thousands = false;
    bool scientific = false;
    Integer expDigits = 0;
};

// Splits a mask at ';' outside quotes.
std::vector<String> SplitSections(const String& mask)
{
    std::vector<String> out(1);
    Char quote = 0;
    for (Char c : mask) {
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == L'\'' || c == L'"') {
            quote = c;
        } else if (c == L';') {
            out.emplace_back();
            continue;
        }
        out.back() += c;
    }
    return out;
}

bool IsExponentAt(const String& m, size_t i)
{
    return (m[i] == L'E' || m[i] == L'e') && i + 1 < m.size() && (m[i + 1] == L'+' || m[i + 1] == L'-');
}

MaskLayout AnalyseMask(const String& m)
{
    MaskLayout l;
    bool afterPoint = false, seenZero = false;
    for (size_t i = 0; i < m.size(); ++i) {
        Char c = m[i];
        if (c == L'\'' || c == L'"') {
            size_t close = m.find(c, i + 1);
            if (close == String::npos) break;
            i = close;
            continue;
        }
        if (IsExponentAt(m, i)) {
            l.scientific = true;
            i += 2;
            while (i < m.size() && m[i] == L'0') { ++l.expDigits; ++i; }
            break;
        }
        if (c == L'0' || c == L'#') {
            if (afterPoint) {
                ++l.fracMax;
                if (c == L'0') l.fracMin = l.fracMax;
            } else {
                ++l.intPlaceholders;
                if (c == L'0') seenZero = true;
                if (seenZero) ++l.minInt;
            }
        } else if (c == L'.' && !afterPoint) {
            afterPoint = true;
            l.hasPoint = true;
        } else if (c == L',' && !afterPoint) {
            l.thousands = true;
        }
    }
    return l;
}

// Renders |value| with one section; zeroOut tells whether it rounded to zero.
String RenderSection(const String& m, Extended value, const TFormatSettings& fs, bool& zeroOut)
{
    MaskLayout l = AnalyseMask(m);
    std::string intPart, fracPart;
    Integer expValue = 0;
    if (l.scientific) {
        Integer mantInt = l.intPlaceholders > 0 ? l.intPlaceholders : 1;
        TOldDecimal d = OldFloatToDecimal(value, Clamp(mantInt + l.fracMax, 1, 15), 9999);
        std::string g = d.Digits;
        zeroOut = g.empty();
        if (g.size() < size_t(mantInt + l.fracMax)) g.resize(size_t(mantInt + l.fracMax), '0');
        intPart = g.substr(0, size_t(mantInt));
        fracPart = g.substr(size_t(mantInt), size_t(l.fracMax));
        expValue = zeroOut ? 0 : d.Exponent - mantInt;
    } else {
        TOldDecimal d = OldFloatToDecimal(value, 15, l.fracMax);
        zeroOut = d.Digits.empty();
        SplitFixed(d, l.fracMax, intPart, fracPart);
        if (d.Exponent <= 0) intPart.clear();
        while (Integer(intPart.size()) < l.minInt) intPart.insert(intPart.begin(), '0');
    }
    while (Integer(fracPart.size()) > l.fracMin && fracPart.back() == '0') fracPart.pop_back();

    String out;
    const Integer L = Integer(intPart.size()), P = l.intPlaceholders;
    const Char sep = l.thousands ? fs.ThousandSeparator : Char(0);
    auto emitInt = [&](Integer idx) {
        out += Char(intPart[size_t(idx)]);
        Integer fromRight = L - 1 - idx;
        if (sep && fromRight > 0 && fromRight % 3 == 0) out += sep;
    };
    Integer intSeen = 0, fracSeen = 0;
    bool afterPoint = false, intDone = false, expDone = false;
    auto flushLeadingInt = [&] {   // digits beyond the placeholders go before the first one
        for (Integer idx = 0; idx < L - P; ++idx) emitInt(idx);
        intDone = true;
    };
    for (size_t i = 0; i < m.size(); ++i) {
        Char c = m[i];
        if (c == L'\'' || c == L'"') {
            size_t close = m.find(c, i + 1);
            if (close == String::npos) close = m.size();
            out.append(m, i + 1, close - i - 1);
            i = close;
            continue;
        }
        if (l.scientific && !expDone && IsExponentAt(m, i)) {
            if (!intDone) flushLeadingInt();
            expDone = true;
            Char sign = m[i + 1];
            i += 2;
            while (i < m.size() && m[i] == L'0') ++i;
            --i;
            out += c;
            if (expValue < 0) out += L'-';
            else if (sign == L'+') out += L'+';
            String n = IntToStr(expValue < 0 ? -expValue : expValue);
            while (Integer(n.size()) < l.expDigits) n.insert(n.begin(), L'0');
            out += n;
            continue;
        }
        if (c == L'0' || c == L'#') {
            if (!afterPoint) {
                if (!intDone) flushLeadingInt();
                Integer idx = L - P + intSeen++;
                if (idx >= 0) emitInt(idx);
            } else {
                if (fracSeen < Integer(fracPart.size())) out += Char(fracPart[size_t(fracSeen)]);
                ++fracSeen;
            }
            continue;
        }
        if (c == L'.' && l.hasPoint && !afterPoint) {
            if (!intDone) flushLeadingInt();
            afterPoint = true;
            if (!fracPart.empty()) out += fs.DecimalSeparator;
            continue;
        }
        if (c == L',') continue;
        out += c;
    }
    if (!intDone) flushLeadingInt();
    return out;
}

}  // namespace

String OldFormatFloat(const String& mask, Extended value, const TFormatSettings& fs)
{
    if (mask.empty() || std::isnan(value) || std::isinf(value) || std::fabs(value) >= 1e18)
        return OldFloatToStr(value, fs);
    std::vector<String> sections = SplitSections(mask);
    auto present = [&](size_t i) { return i < sections.size() && !sections[i].empty(); };
    if (!present(0)) return OldFloatToStr(value, fs);

    bool zero = false;
    if (value < 0 && present(1)) {
        String r = RenderSection(sections[1], -value, fs, zero);
        if (!zero || !present(2)) return r;
    } else {
        String r = RenderSection(sections[0], std::fabs(value), fs, zero);
        if (!zero) return value < 0 ? L"-" + r : r;
        if (!present(2)) return r;
    }
    return RenderSection(sections[2], 0.0, fs, zero);
}


// ---------------------------------------------------------------------------
// Format

namespace {

[[noreturn]] void BadFormat(const String& fmt)
{
    throw EConvertError(L"Format '" + fmt + L"' invalid or incompatible with argument");
}

[[noreturn]] void MissingArgument(const String& fmt)
{
    throw EConvertError(L"No argument for format '" + fmt + L"'");
}

String PadDigits(String digits, Integer minDigits)
{
    if (Integer(digits.size()) < minDigits) digits.insert(0, size_t(minDigits - Integer(digits.size())), L'0');
    return digits;
}

}  // namespace

String OldFormat(const String& fmt, TVarRecs args, const TFormatSettings& fs)
{
    const TVarRec* argv = args.begin();
    const Integer argc = Integer(args.size());
    Integer next = 0;
    String out;
    const size_t n = fmt.size();
    size_t i = 0;

    auto readNumber = [&](Integer& v) -> bool {   // digits or '*'; false when neither
        if (i < n && fmt[i] == L'*') {
            ++i;
            if (next >= argc) MissingArgument(fmt);
            const TVarRec& a = argv[next++];
            if (a.Kind != TVarRec::vtInteger && a.Kind != TVarRec::vtInt64) BadFormat(fmt);
            if (a.VInteger < INT32_MIN || a.VInteger > INT32_MAX) BadFormat(fmt);
            v = Integer(a.VInteger);
            return true;
        }
        if (i >= n || fmt[i] < L'0' || fmt[i] > L'9') return false;
        Int64 acc = 0;
        while (i < n && fmt[i] >= L'0' && fmt[i] <= L'9') {
            acc = acc * 10 + (fmt[i++] - L'0');
            if (acc > 0x7FFFFFF) BadFormat(fmt);
        }
        v = Integer(acc);
        return true;
    };

    while (i < n) {
        if (fmt[i] != L'%') {
            out += fmt[i++];
            continue;
        }
        ++i;
        if (i < n && fmt[i] == L'%') {
            out += L'%';
            ++i;
            continue;
        }
        Integer width = -1, prec = -1, num;
        bool left = false;
        if (readNumber(num)) {
            if (i < n && fmt[i] == L':') {
                ++i;
                if (num < 0) BadFormat(fmt);
                next = num;
            } else {
                width = num;
            }
        }
        if (width < 0) {
            if (i < n && fmt[i] == L'-') {
                left = true;
                ++i;
            }
            if (readNumber(num)) width = num;
        }
        if (width < 0) width = 0;
        if (i < n && fmt[i] == L'.') {
            ++i;
            if (!readNumber(prec)) prec = 0;
            if (prec < 0) prec = -1;
        }
        if (i >= n) BadFormat(fmt);
        Char type = Char(fmt[i++]);
        if (type >= L'A' && type <= L'Z') type = Char(type + 32);
        if (next >= argc) MissingArgument(fmt);
        const TVarRec& a = argv[next++];
        const bool isInt = a.Kind == TVarRec::vtInteger || a.Kind == TVarRec::vtInt64;
        String s;
        switch (type) {
        case L'd':
        case L'u': {
            if (!isInt) BadFormat(fmt);
            UInt64 mag;
            bool neg = false;
            if (type == L'u')
                mag = a.Kind == TVarRec::vtInteger ? UInt64(uint32_t(a.VInteger)) : UInt64(a.VInteger);
            else {
                neg = a.VInteger < 0;
                mag = neg ? UInt64(0) - UInt64(a.VInteger) : UInt64(a.VInteger);
            }
            s = PadDigits(UIntToStr(mag), prec);
            if (neg) s.insert(0, 1, L'-');
            break;
        }
        case L'x':
            if (!isInt) BadFormat(fmt);
            s = a.Kind == TVarRec::vtInteger ? IntToHex(UInt64(uint32_t(a.VInteger)), prec)
                                              : IntToHex(UInt64(a.VInteger), prec);
            break;
        case L'e':
        case L'f':
        case L'g':
        case L'n':
        case L'm': {
            if (a.Kind != TVarRec::vtExtended) BadFormat(fmt);
            const Extended v = a.VExtended;
            switch (type) {
            case L'e': s = OldFloatToStrF(v, ffExponent, prec < 0 ? 15 : prec, 3, fs); break;
            case L'f': s = OldFloatToStrF(v, ffFixed, 18, prec < 0 ? 2 : prec, fs); break;
            case L'g': s = OldFloatToStrF(v, ffGeneral, prec < 0 ? 15 : prec, 3, fs); break;
            case L'n': s = OldFloatToStrF(v, ffNumber, 18, prec < 0 ? 2 : prec, fs); break;
            default: s = OldFloatToStrF(v, ffCurrency, 18, prec < 0 ? fs.CurrencyDecimals : prec, fs); break;
            }
            break;
        }
        case L'p':
            if (a.Kind != TVarRec::vtPointer) BadFormat(fmt);
            s = IntToHex(UInt64(reinterpret_cast<uintptr_t>(a.VPointer)), Integer(sizeof(void*) * 2));
            break;
        case L's':
            if (a.Kind != TVarRec::vtString && a.Kind != TVarRec::vtPChar && a.Kind != TVarRec::vtChar)
                BadFormat(fmt);
            s = a.VString;
            if (prec >= 0 && size_t(prec) < s.size()) s.resize(size_t(prec));
            break;
        default:
            BadFormat(fmt);
        }
        if (Integer(s.size()) < width) {
            String pad(size_t(width) - s.size(), L' ');
            s = left ? s + pad : pad + s;
        }
        out += s;
    }
    return out;
}



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

void AppendElements(uint32_t c, std::vector<CollationElement>& out)
{
    if (c >= '0' && c <= '9') {
        out.push_back({0x20000 + c, 0, 0});
        return;
    }
    if (IsSymbol(c)) {
        out.push_back({0x10000 + c, 0, 0});
        return;
    }
    uint32_t lower = uint32_t(AnsiLowerChar(Char(c)));
    uint32_t tert = lower != c ? 1 : 0;
    uint32_t base;
    char mark;
    Decompose(lower, base, mark);
    if (base) {
        uint32_t sec = mark == 'f' ? 0x3FF : MarkCode(mark);
        out.push_back({0x30000 + base, sec, tert});
        return;
    }
    // Ligatures and sharp s sort as their two letters.
    auto two = [&](char x, char y, uint32_t sec) {
        out.push_back({0x30000 + uint32_t(x), sec, tert});
        out.push_back({0x30000 + uint32_t(y), sec, tert});
    };
    switch (lower) {
    case 0xDF: two('s', 's', 0x400); return;
    case 0xE6: two('a', 'e', 0x400); return;
    case 0x153: two('o', 'e', 0x400); return;
    case 0xF0: out.push_back({0x30000 + 'd', 0x3FF, tert}); return;
    case 0xFE: two('t', 'h', 0x400); return;
    default: break;
    }
    out.push_back({0x30000 + lower, 0, tert});
}

std::vector<CollationElement> CollationKey(const String& s)
{
    std::vector<CollationElement> key;
    key.reserve(s.size());
    for (Char c : s) AppendElements(uint32_t(c), key);
    return key;
}

Integer OldCollateCompare(const String& a, const String& b, bool withCase)
{
    auto ka = CollationKey(a), kb = CollationKey(b);
    size_t n = std::min(ka.size(), kb.size());
    for (size_t i = 0; i < n; ++i)
        if (ka[i].primary != kb[i].primary) return ka[i].primary < kb[i].primary ? -1 : 1;
    if (ka.size() != kb.size()) return ka.size() < kb.size() ? -1 : 1;
    for (size_t i = 0; i < n; ++i)
        if (ka[i].secondary != kb[i].secondary) return ka[i].secondary < kb[i].secondary ? -1 : 1;
    if (withCase)
        for (size_t i = 0; i < n; ++i)
            if (ka[i].tertiary != kb[i].tertiary) return ka[i].tertiary < kb[i].tertiary ? -1 : 1;
    return 0;
}

}  // namespace

Integer OldAnsiCompareStr(const String& a, const String& b)
{
    Integer r = OldCollateCompare(a, b, true);
    // Texts equal to the collation but not in code points still get a fixed order.
    return r != 0 ? r : CompareStr(a, b);
}

Integer OldAnsiCompareText(const String& a, const String& b)
{
    return OldCollateCompare(a, b, false);
}
Integer OldStrCmpLogicalW(const Char* pa, const Char* pb)
{
    String a = NonNull(pa), b = NonNull(pb);
    auto isDigit = [](Char c) { return c >= L'0' && c <= L'9'; };
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            size_t si = i, sj = j;
            while (si < a.size() && a[si] == L'0') ++si;
            while (sj < b.size() && b[sj] == L'0') ++sj;
            size_t ei = si, ej = sj;
            while (ei < a.size() && isDigit(a[ei])) ++ei;
            while (ej < b.size() && isDigit(b[ej])) ++ej;
            // Longer run without leading zeros is the larger number.
            if (ei - si != ej - sj) return ei - si < ej - sj ? -1 : 1;
            for (size_t k = 0; k < ei - si; ++k)
                if (a[si + k] != b[sj + k]) return a[si + k] < b[sj + k] ? -1 : 1;
            i = ei;
            j = ej;
            continue;
        }
        Integer r = OldCollateCompare(String(1, a[i]), String(1, b[j]), false);
        if (r != 0) return r;
        ++i;
        ++j;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    // Equal by value ("a01" and "a1"): fall back to a fixed order.
    Integer r = OldAnsiCompareStr(a, b);
    return r;
}

}  // namespace reference
