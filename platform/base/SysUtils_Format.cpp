// Floating point to and from text, Format and FormatFloat.
#include "platform/base/SysUtils.h"

#include <cerrno>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <string>
#include <string_view>

#include "platform/base/SysUtils_Internal.h"

// ---------------------------------------------------------------------------
// Decimal digits of a double
//
// The rule: the exact binary value, correctly rounded to 41 significant
// digits, is rounded half away from zero to the precision, and what that
// leaves is rounded again, the same way, to the decimals. std::to_chars gives
// exactly rounded digits; three guard digits past the rounding position show
// which way it goes, except when they read 499 or 500: then the value lies
// within a hair of the half and the 41 digits decide, as the rule says.

namespace {

struct TDigits {
    TFloatDecimal::TSpecial Special = TFloatDecimal::None;
    bool Negative = false;
    Integer Exponent = 0;   // value = 0.D * 10^Exponent
    int Count = 0;
    char D[64];
};

// Keeps n digits, rounding half up on the digits held; a carry out of the
// first digit makes 10^k.
void RoundDigits(TDigits& r, long n)
{
    if (n < 0) {
        r.Count = 0;
        return;
    }
    if (n >= r.Count) return;
    const bool up = r.D[n] >= '5';
    r.Count = int(n);
    if (!up) return;
    long i = n - 1;
    while (i >= 0 && r.D[i] == '9') r.D[i--] = '0';
    if (i >= 0) {
        ++r.D[i];
    } else {
        r.D[0] = '1';
        r.Count = 1;
        ++r.Exponent;
    }
}

// Reads "d.ddde+XX" into digits and exponent.
void ReadScientific(const char* p, const char* end, TDigits& r)
{
    int n = 0;
    for (; p < end && *p != 'e'; ++p)
        if (*p != '.') r.D[n++] = *p;
    r.Count = n;
    int e = 0;
    bool neg = false;
    if (p < end) ++p;
    if (p < end && (*p == '-' || *p == '+')) neg = *p++ == '-';
    for (; p < end; ++p) e = e * 10 + (*p - '0');
    r.Exponent = (neg ? -e : e) + 1;
}

inline bool NearHalf(const char* g)
{
    return (g[0] == '4' && g[1] == '9' && g[2] == '9') || (g[0] == '5' && g[1] == '0' && g[2] == '0');
}

// The rule applied to the full 41 digits.
void ExactDigits(double a, int precision, int decimals, TDigits& r)
{
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific, 40);
    ReadScientific(buf, res.ptr, r);
    RoundDigits(r, precision);
    if (decimals < 9999) RoundDigits(r, long(r.Exponent) + decimals);
}

// Fixed notation with three guard digits after the decimals; false when the
// guard digits cannot tell the direction.
bool FixedDigits(double a, int decimals, TDigits& r)
{
    char buf[96];
    auto res = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::fixed, decimals + 3);
    if (res.ec != std::errc()) return false;
    // One leading slot for a carry out of the integer digits.
    char s[96];
    int n = 1, intLen = 0;
    s[0] = '0';
    const char* p = buf;
    for (; p < res.ptr && *p != '.'; ++p) s[n++] = *p;
    intLen = n;   // with the carry slot
    for (++p; p < res.ptr; ++p) s[n++] = *p;
    if (NearHalf(s + n - 3)) return false;
    const bool up = s[n - 3] >= '5';
    n -= 3;
    if (up) {
        int i = n - 1;
        while (s[i] == '9') s[i--] = '0';
        ++s[i];   // the carry slot stops it
    }
    int lead = 0;
    while (lead < n && s[lead] == '0') ++lead;
    while (n > lead && s[n - 1] == '0') --n;
    r.Count = n - lead;
    r.Exponent = r.Count ? intLen - lead : 0;
    for (int i = 0; i < r.Count; ++i) r.D[i] = s[lead + i];
    return true;
}

// Few decimals on a moderate value: scaled by 10^(decimals + 3) it stays
// below 2^53, so one multiplication gives the digits and three guard digits
// to within half a unit of the last one. False when the guard digits lie too
// near the half to tell.
bool ScaledDigits(double a, int decimals, TDigits& r)
{
    static constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (decimals + 3 > 22) return false;
    const double y = a * kPow10[decimals + 3];
    if (!(y < 9007199254740992.0)) return false;
    const uint64_t yi = uint64_t(y);
    const double guard = (double(yi % 1000) + (y - double(yi))) * 0.001;
    // Near 0 or 1 the kept digits may be one off before rounding, but round
    // to the same either way; near the half they may not.
    if (guard > 0.498 && guard < 0.502) return false;
    uint64_t k = yi / 1000 + (guard >= 0.5 ? 1 : 0);
    static constexpr char kPairs[] = "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
                                     "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
                                     "8081828384858687888990919293949596979899";
    char t[24];   // lowest digit first
    int n = 0;
    for (; k >= 100; k /= 100) {
        const unsigned q = unsigned(k % 100);
        t[n++] = kPairs[2 * q + 1];
        t[n++] = kPairs[2 * q];
    }
    if (k >= 10) {
        t[n++] = kPairs[2 * k + 1];
        t[n++] = kPairs[2 * k];
    } else if (k) {
        t[n++] = char('0' + k);
    }
    int lowZeros = 0;
    while (lowZeros < n && t[lowZeros] == '0') ++lowZeros;
    r.Count = n - lowZeros;
    r.Exponent = r.Count ? n - decimals : 0;
    for (int i = 0; i < r.Count; ++i) r.D[i] = t[n - 1 - i];
    return true;
}

// 10^k for k in -40..40, near enough for the error bounds below.
struct TPowersOfTen {
    double p[81];
    constexpr TPowersOfTen() : p()
    {
        p[40] = 1;
        for (int k = 1; k <= 40; ++k) {
            p[40 + k] = p[40 + k - 1] * 10;
            p[40 - k] = 1 / p[40 + k];
        }
    }
};
constexpr TPowersOfTen kTens;

// Precision digits from the shortest digits that read back as a: these lie
// within half a unit in the last binary place of the exact value, which is a
// known small fraction of a unit in the last kept decimal place; when the
// digits past the precision are farther than that from a half, they round as
// the exact value does. False when they are too close or the bound is not at
// hand.
bool ShortestDigits(double a, int precision, TDigits& r)
{
    uint64_t bits;
    std::memcpy(&bits, &a, sizeof bits);
    const int biased = int(bits >> 52);
    if (biased == 0) return false;   // subnormal: a coarser bound, rare; the exact path takes it
    char buf[40];
    auto res = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific);
    ReadScientific(buf, res.ptr, r);
    // A unit in the last kept place is 10^-power. The value itself may lie
    // just below the digits when they read as a power of ten, a place lower.
    const bool powerOfTen = r.Count == 1 && r.D[0] == '1';
    const int power = precision - r.Exponent + (powerOfTen ? 1 : 0);
    if (power < -40 || power > 40) return false;
    // Half a binary unit of a in decimal units of the last kept place, with room for
    // the rounding of this estimate itself.
    if (biased - 1076 < -1022) return false;
    const uint64_t halfUlpBits = uint64_t(biased - 1076 + 1023) << 52;   // 2^(biased - 1076)
    double halfUlp;
    std::memcpy(&halfUlp, &halfUlpBits, sizeof halfUlp);
    const double slack = halfUlp * kTens.p[40 + power] * 1.01 + 1e-9;
    if (!(slack < 0.25)) return false;
    double rest = 0, scale = 0.1;   // the digits past the precision as a fraction
    for (int i = precision; i < r.Count; ++i, scale *= 0.1) rest += (r.D[i] - '0') * scale;
    bool up;
    if (rest - slack >= 0.5) up = true;
    else if (rest + slack < 0.4999) up = false;
    else return false;
    if (r.Count > precision) r.Count = precision;
    if (up) {
        int i = r.Count - 1;
        while (i >= 0 && r.D[i] == '9') r.D[i--] = '0';
        if (i >= 0) {
            ++r.D[i];
        } else {
            r.D[0] = '1';
            r.Count = 1;
            ++r.Exponent;
        }
    }
    return true;
}

void ToDigits(Extended value, Integer precision, Integer decimals, TDigits& r)
{
    r = TDigits();
    if (std::isnan(value)) {
        r.Special = TFloatDecimal::NaN;
        return;
    }
    if (std::isinf(value)) {
        r.Special = TFloatDecimal::Infinite;
        r.Negative = value < 0;
        return;
    }
    if (value == 0) return;
    r.Negative = value < 0;
    if (precision < 1) precision = 1;
    if (precision > 18) precision = 18;
    const double a = std::fabs(value);

    bool done = false;
    if (decimals >= 0 && decimals <= 40) {
        // Fixed notation pays when the decimals, not the precision, bound the
        // digits, with room for the guard digits inside the precision: then the
        // first rounding cannot move the second.
        uint64_t bits;
        std::memcpy(&bits, &a, sizeof bits);
        const int e2 = int(bits >> 52) - 1022;   // a < 2^e2
        const int maxIntDigits = ((e2 * 78913) >> 18) + 2;   // floor(e2 * log10 2) + 2
        if (maxIntDigits + decimals <= precision - 3)
            done = ScaledDigits(a, decimals, r) || FixedDigits(a, decimals, r);
    }
    if (!done) {
        if (ShortestDigits(a, precision, r)) {
            if (decimals < 9999) RoundDigits(r, long(r.Exponent) + decimals);
        } else {
            char buf[64];
            auto res = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific, precision + 2);
            ReadScientific(buf, res.ptr, r);
            if (NearHalf(r.D + precision)) {
                ExactDigits(a, precision, decimals, r);
            } else {
                RoundDigits(r, precision);
                if (decimals < 9999) RoundDigits(r, long(r.Exponent) + decimals);
            }
        }
        while (r.Count > 0 && r.D[r.Count - 1] == '0') --r.Count;
    }
    if (r.Count == 0) {
        // Rounded to nothing: a plain zero, without a sign.
        r.Exponent = 0;
        r.Negative = false;
    }
}

}  // namespace

TFloatDecimal FloatToDecimal(Extended value, Integer precision, Integer decimals)
{
    TDigits d;
    ToDigits(value, precision, decimals, d);
    TFloatDecimal r;
    r.Special = d.Special;
    r.Negative = d.Negative;
    r.Exponent = d.Exponent;
    r.Digits.assign(d.D, size_t(d.Count));
    return r;
}

namespace {

// Texts are built in a buffer on the stack; every form below stays well
// inside it (18 digits at most, a few separators, a four-digit exponent).
constexpr size_t kTextMax = 96;

Char* PutSpecial(Char* w, const TDigits& d)
{
    const wchar_t* t = d.Special == TFloatDecimal::NaN ? L"NAN" : (d.Negative ? L"-INF" : L"INF");
    while (*t) *w++ = *t++;
    return w;
}

Char* PutExponent(Char* w, Integer exp, Integer minDigits, bool plusSign)
{
    *w++ = L'E';
    if (exp < 0) *w++ = L'-';
    else if (plusSign) *w++ = L'+';
    unsigned v = exp < 0 ? unsigned(-exp) : unsigned(exp);
    char t[12];
    int n = 0;
    do {
        t[n++] = char('0' + v % 10);
        v /= 10;
    } while (v);
    for (int k = n; k < minDigits; ++k) *w++ = L'0';
    while (n) *w++ = Char(t[--n]);
    return w;
}

Char* PutGeneral(Char* w, const TDigits& d, Integer precision, Integer expDigits, const TFormatSettings& fs)
{
    if (d.Count == 0) {
        *w++ = L'0';
        return w;
    }
    if (d.Negative) *w++ = L'-';
    const Integer e = d.Exponent;
    if (e > precision || e < -3) {
        *w++ = Char(d.D[0]);
        if (d.Count > 1) {
            *w++ = fs.DecimalSeparator;
            for (int i = 1; i < d.Count; ++i) *w++ = Char(d.D[i]);
        }
        return PutExponent(w, e - 1, expDigits, false);
    }
    if (e <= 0) {
        *w++ = L'0';
        *w++ = fs.DecimalSeparator;
        for (Integer i = 0; i < -e; ++i) *w++ = L'0';
        for (int i = 0; i < d.Count; ++i) *w++ = Char(d.D[i]);
        return w;
    }
    for (Integer i = 0; i < e; ++i) *w++ = i < d.Count ? Char(d.D[i]) : L'0';
    if (d.Count > e) {
        *w++ = fs.DecimalSeparator;
        for (int i = int(e); i < d.Count; ++i) *w++ = Char(d.D[i]);
    }
    return w;
}

Char* PutExponentForm(Char* w, const TDigits& d, Integer precision, Integer expDigits, const TFormatSettings& fs)
{
    auto digit = [&](Integer i) { return i < d.Count ? Char(d.D[i]) : L'0'; };
    if (d.Negative) *w++ = L'-';
    *w++ = digit(0);
    if (precision > 1) {
        *w++ = fs.DecimalSeparator;
        for (Integer i = 1; i < precision; ++i) *w++ = digit(i);
    }
    return PutExponent(w, d.Count == 0 ? 0 : d.Exponent - 1, expDigits, true);
}

// Integer digits (at least one, grouped by sep when not 0), then the
// decimals when there are any.
Char* PutFixed(Char* w, const TDigits& d, Integer decimals, Char sep, const TFormatSettings& fs)
{
    const Integer e = d.Exponent;
    if (e <= 0) {
        *w++ = L'0';
    } else {
        for (Integer i = 0; i < e; ++i) {
            *w++ = i < d.Count ? Char(d.D[i]) : L'0';
            Integer fromRight = e - 1 - i;
            if (sep && fromRight > 0 && fromRight % 3 == 0) *w++ = sep;
        }
    }
    if (decimals > 0) {
        *w++ = fs.DecimalSeparator;
        for (Integer i = 0; i < decimals; ++i) {
            Integer idx = e + i;
            *w++ = (idx >= 0 && idx < d.Count) ? Char(d.D[idx]) : L'0';
        }
    }
    return w;
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

// Appends the text of value in format to out.
void AppendFloat(String& out, Extended value, TFloatFormat format, Integer precision, Integer digits,
                 const TFormatSettings& fs)
{
    Char buf[kTextMax];
    Char* w = buf;
    TDigits d;
    precision = Clamp(precision, 1, 18);
    if (format == ffGeneral || format == ffExponent) {
        digits = Clamp(digits, 0, 4);
        ToDigits(value, precision, 9999, d);
        if (d.Special) w = PutSpecial(w, d);
        else if (format == ffGeneral) w = PutGeneral(w, d, precision, digits, fs);
        else w = PutExponentForm(w, d, precision, digits, fs);
        out.append(buf, size_t(w - buf));
        return;
    }
    digits = Clamp(digits, 0, 18);
    ToDigits(value, precision, digits, d);
    if (d.Special) {
        w = PutSpecial(w, d);
    } else if (d.Exponent > precision) {
        // More integer digits than the precision holds: general format instead.
        w = PutGeneral(w, d, precision, 0, fs);
    } else if (format == ffCurrency) {
        w = PutFixed(w, d, digits, fs.ThousandSeparator, fs);
        out += ApplyCurrency(String(buf, size_t(w - buf)), d.Negative, fs);
        return;
    } else {
        if (d.Negative) *w++ = L'-';
        w = PutFixed(w, d, digits, format == ffFixed ? Char(0) : fs.ThousandSeparator, fs);
    }
    out.append(buf, size_t(w - buf));
}

}  // namespace

String FloatToStrF(Extended value, TFloatFormat format, Integer precision, Integer digits,
                   const TFormatSettings& fs)
{
    String r;
    AppendFloat(r, value, format, precision, digits, fs);
    return r;
}

String FloatToStrF(Extended value, TFloatFormat format, Integer precision, Integer digits)
{
    return FloatToStrF(value, format, precision, digits, FormatSettings);
}

String FloatToStr(Extended value, const TFormatSettings& fs)
{
    return FloatToStrF(value, ffGeneral, 15, 0, fs);
}

String FloatToStr(Extended value)
{
    return FloatToStr(value, FormatSettings);
}

// ---------------------------------------------------------------------------
// Text to floating point

namespace {

locale_t CLocale()
{
    static locale_t loc = newlocale(LC_ALL_MASK, "C", locale_t(0));
    return loc;
}

}  // namespace

bool ScanFloat(const String& s, Char decimalSeparator, bool trailingBlanks, Extended& value, Integer& errPos)
{
    const size_t n = s.size();
    size_t i = 0;
    std::string text;
    auto fail = [&](size_t at) {
        errPos = Integer(at + 1);
        return false;
    };
    while (i < n && s[i] == L' ') ++i;
    if (i < n && (s[i] == L'+' || s[i] == L'-')) {
        if (s[i] == L'-') text += '-';
        ++i;
    }
    size_t mantissaDigits = 0;
    while (i < n && s[i] >= L'0' && s[i] <= L'9') { text += char(s[i++]); ++mantissaDigits; }
    if (i < n && s[i] == decimalSeparator) {
        text += '.';
        ++i;
        while (i < n && s[i] >= L'0' && s[i] <= L'9') { text += char(s[i++]); ++mantissaDigits; }
    }
    if (mantissaDigits == 0) return fail(i);
    if (i < n && (s[i] == L'E' || s[i] == L'e')) {
        text += 'e';
        ++i;
        if (i < n && (s[i] == L'+' || s[i] == L'-')) text += char(s[i++]);
        size_t expDigits = 0;
        while (i < n && s[i] >= L'0' && s[i] <= L'9') { text += char(s[i++]); ++expDigits; }
        if (expDigits == 0) return fail(i);
    }
    if (trailingBlanks)
        while (i < n && s[i] == L' ') ++i;
    if (i < n) return fail(i);
    errno = 0;
    double v = strtod_l(text.c_str(), nullptr, CLocale());
    if (errno == ERANGE && std::isinf(v)) return fail(n);
    value = v;
    errPos = 0;
    return true;
}

bool TextToFloat(const String& s, Extended& value, const TFormatSettings& fs)
{
    Integer pos;
    return ScanFloat(s, fs.DecimalSeparator, true, value, pos);
}

bool TextToFloat(const String& s, Extended& value) { return TextToFloat(s, value, FormatSettings); }

bool TryStrToFloat(const String& s, Extended& value, const TFormatSettings& fs) { return TextToFloat(s, value, fs); }

bool TryStrToFloat(const String& s, Extended& value) { return TextToFloat(s, value, FormatSettings); }

Extended StrToFloat(const String& s, const TFormatSettings& fs)
{
    Extended v;
    if (!TextToFloat(s, v, fs)) throw EConvertError(L"'" + s + L"' is not a valid floating point value");
    return v;
}

Extended StrToFloat(const String& s) { return StrToFloat(s, FormatSettings); }

Extended StrToFloatDef(const String& s, Extended def, const TFormatSettings& fs)
{
    Extended v;
    return TextToFloat(s, v, fs) ? v : def;
}

Extended StrToFloatDef(const String& s, Extended def) { return StrToFloatDef(s, def, FormatSettings); }

void Val(const String& s, Extended& value, Integer& code)
{
    Extended v;
    if (ScanFloat(s, L'.', false, v, code)) value = v;
}

// ---------------------------------------------------------------------------
// Rounding

namespace {

Int64 ToInt64(Extended v)
{
    // 2^63 is exact in a double; anything at or past it does not fit.
    if (!(v >= -9223372036854775808.0 && v < 9223372036854775808.0))
        throw EInvalidOp(L"Invalid floating point operation");
    return Int64(v);
}

}  // namespace

Int64 Round(Extended value)
{
    Extended f = std::floor(value);
    Extended diff = value - f;
    if (diff > 0.5 || (diff == 0.5 && std::fmod(f, 2.0) != 0)) f += 1;
    return ToInt64(f);
}

Int64 Trunc(Extended value) { return ToInt64(std::trunc(value)); }
Extended Frac(Extended value) { return value - std::trunc(value); }
Extended Int(Extended value) { return std::trunc(value); }
Int64 Ceil(Extended value) { return ToInt64(std::ceil(value)); }
Int64 Floor(Extended value) { return ToInt64(std::floor(value)); }

// ---------------------------------------------------------------------------
// FormatFloat

namespace {

using MaskView = std::wstring_view;

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

// Splits a mask at ';' outside quotes; only the first three sections count.
int SplitSections(MaskView mask, MaskView (&out)[3])
{
    int count = 1;
    size_t begin = 0;
    Char quote = 0;
    for (size_t i = 0; i < mask.size(); ++i) {
        Char c = mask[i];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == L'\'' || c == L'"') {
            quote = c;
        } else if (c == L';') {
            if (count <= 3) out[count - 1] = mask.substr(begin, i - begin);
            ++count;
            begin = i + 1;
        }
    }
    if (count <= 3) out[count - 1] = mask.substr(begin);
    return count < 3 ? count : 3;
}

bool IsExponentAt(MaskView m, size_t i)
{
    return (m[i] == L'E' || m[i] == L'e') && i + 1 < m.size() && (m[i + 1] == L'+' || m[i + 1] == L'-');
}

MaskLayout AnalyseMask(MaskView m)
{
    MaskLayout l;
    bool afterPoint = false, seenZero = false;
    for (size_t i = 0; i < m.size(); ++i) {
        Char c = m[i];
        if (c == L'\'' || c == L'"') {
            size_t close = m.find(c, i + 1);
            if (close == MaskView::npos) break;
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

// Digits held on the stack unless a mask asks for very many.
class DigitBuffer {
public:
    char* Get(size_t n)
    {
        if (n <= sizeof stack_) return stack_;
        heap_.resize(n);
        return heap_.data();
    }

private:
    char stack_[64];
    std::string heap_;
};

// Appends |value| rendered with one section; zeroOut tells whether it
// rounded to zero.
void RenderSection(String& out, MaskView m, Extended value, const TFormatSettings& fs, bool& zeroOut)
{
    const MaskLayout l = AnalyseMask(m);
    DigitBuffer intBuf, fracBuf;
    char* intPart;
    char* fracPart = fracBuf.Get(size_t(l.fracMax));
    Integer L = 0, fracLen = l.fracMax;
    Integer expValue = 0;
    TDigits d;
    if (l.scientific) {
        const Integer mantInt = l.intPlaceholders > 0 ? l.intPlaceholders : 1;
        ToDigits(value, Clamp(mantInt + l.fracMax, 1, 15), 9999, d);
        zeroOut = d.Count == 0;
        auto digit = [&](Integer i) { return i < d.Count ? d.D[i] : '0'; };
        L = mantInt;
        intPart = intBuf.Get(size_t(L));
        for (Integer i = 0; i < L; ++i) intPart[i] = digit(i);
        for (Integer i = 0; i < l.fracMax; ++i) fracPart[i] = digit(mantInt + i);
        expValue = zeroOut ? 0 : d.Exponent - mantInt;
    } else {
        ToDigits(value, 15, l.fracMax, d);
        zeroOut = d.Count == 0;
        const Integer e = d.Exponent > 0 ? d.Exponent : 0;
        L = e > l.minInt ? e : l.minInt;
        intPart = intBuf.Get(size_t(L));
        const Integer pad = L - e;
        for (Integer i = 0; i < pad; ++i) intPart[i] = '0';
        for (Integer i = 0; i < e; ++i) intPart[pad + i] = i < d.Count ? d.D[i] : '0';
        for (Integer i = 0; i < l.fracMax; ++i) {
            Integer idx = d.Exponent + i;
            fracPart[i] = (idx >= 0 && idx < d.Count) ? d.D[idx] : '0';
        }
    }
    while (fracLen > l.fracMin && fracPart[fracLen - 1] == '0') --fracLen;

    // Written through a pointer into room made for the longest result.
    const size_t base = out.size();
    out.resize(base + m.size() + 2 * size_t(L) + size_t(fracLen) + size_t(l.expDigits) + 16);
    Char* w = out.data() + base;
    const Integer P = l.intPlaceholders;
    const Char sep = l.thousands ? fs.ThousandSeparator : Char(0);
    auto emitInt = [&](Integer idx) {
        *w++ = Char(intPart[idx]);
        Integer fromRight = L - 1 - idx;
        if (sep && fromRight > 0 && fromRight % 3 == 0) *w++ = sep;
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
            if (close == MaskView::npos) close = m.size();
            for (size_t k = i + 1; k < close; ++k) *w++ = m[k];
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
            *w++ = c;
            if (expValue < 0) *w++ = L'-';
            else if (sign == L'+') *w++ = L'+';
            unsigned v = expValue < 0 ? unsigned(-expValue) : unsigned(expValue);
            char t[12];
            Integer n = 0;
            do {
                t[n++] = char('0' + v % 10);
                v /= 10;
            } while (v);
            for (Integer k = n; k < l.expDigits; ++k) *w++ = L'0';
            while (n) *w++ = Char(t[--n]);
            continue;
        }
        if (c == L'0' || c == L'#') {
            if (!afterPoint) {
                if (!intDone) flushLeadingInt();
                Integer idx = L - P + intSeen++;
                if (idx >= 0) emitInt(idx);
            } else {
                if (fracSeen < fracLen) *w++ = Char(fracPart[fracSeen]);
                ++fracSeen;
            }
            continue;
        }
        if (c == L'.' && l.hasPoint && !afterPoint) {
            if (!intDone) flushLeadingInt();
            afterPoint = true;
            if (fracLen > 0) *w++ = fs.DecimalSeparator;
            continue;
        }
        if (c == L',') continue;
        *w++ = c;
    }
    if (!intDone) flushLeadingInt();
    out.resize(size_t(w - out.data()));
}

}  // namespace

namespace {

String FormatFloatView(MaskView mask, Extended value, const TFormatSettings& fs)
{
    if (mask.empty() || std::isnan(value) || std::isinf(value) || std::fabs(value) >= 1e18)
        return FloatToStr(value, fs);
    MaskView sections[3];
    const int count = SplitSections(mask, sections);
    auto present = [&](int i) { return i < count && !sections[i].empty(); };
    if (!present(0)) return FloatToStr(value, fs);

    String out;
    bool zero = false;
    if (value < 0 && present(1)) {
        RenderSection(out, sections[1], -value, fs, zero);
        if (!zero || !present(2)) return out;
    } else {
        RenderSection(out, sections[0], std::fabs(value), fs, zero);
        if (!zero) {
            if (value < 0) out.insert(out.begin(), L'-');
            return out;
        }
        if (!present(2)) return out;
    }
    out.clear();
    RenderSection(out, sections[2], 0.0, fs, zero);
    return out;
}

}  // namespace

String FormatFloat(const String& mask, Extended value, const TFormatSettings& fs)
{
    return FormatFloatView(mask, value, fs);
}

String FormatFloat(const Char* mask, Extended value, const TFormatSettings& fs)
{
    return FormatFloatView(mask ? MaskView(mask) : MaskView(), value, fs);
}

String FormatFloat(const String& mask, Extended value) { return FormatFloatView(mask, value, FormatSettings); }
String FormatFloat(const Char* mask, Extended value) { return FormatFloat(mask, value, FormatSettings); }

// ---------------------------------------------------------------------------
// Format

namespace {

[[noreturn]] void BadFormat(std::wstring_view fmt)
{
    throw EConvertError(L"Format '" + String(fmt) + L"' invalid or incompatible with argument");
}

[[noreturn]] void MissingArgument(std::wstring_view fmt)
{
    throw EConvertError(L"No argument for format '" + String(fmt) + L"'");
}

String PadDigits(String digits, Integer minDigits)
{
    if (Integer(digits.size()) < minDigits) digits.insert(0, size_t(minDigits - Integer(digits.size())), L'0');
    return digits;
}

String FormatView(std::wstring_view fmt, TVarRecs args, const TFormatSettings& fs)
{
    const TVarRec* argv = args.begin();
    const Integer argc = Integer(args.size());
    Integer next = 0;
    String out;
    const size_t n = fmt.size();
    out.reserve(n + 24);
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
            // Written straight into the result, padded there.
            const size_t start = out.size();
            switch (type) {
            case L'e': AppendFloat(out, v, ffExponent, prec < 0 ? 15 : prec, 3, fs); break;
            case L'f': AppendFloat(out, v, ffFixed, 18, prec < 0 ? 2 : prec, fs); break;
            case L'g': AppendFloat(out, v, ffGeneral, prec < 0 ? 15 : prec, 3, fs); break;
            case L'n': AppendFloat(out, v, ffNumber, 18, prec < 0 ? 2 : prec, fs); break;
            default: AppendFloat(out, v, ffCurrency, 18, prec < 0 ? fs.CurrencyDecimals : prec, fs); break;
            }
            const size_t len = out.size() - start;
            if (Integer(len) < width) {
                if (left) out.append(size_t(width) - len, L' ');
                else out.insert(start, size_t(width) - len, L' ');
            }
            continue;
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

}  // namespace

String Format(const String& fmt, TVarRecs args, const TFormatSettings& fs) { return FormatView(fmt, args, fs); }

String Format(const Char* fmt, TVarRecs args, const TFormatSettings& fs)
{
    return FormatView(fmt ? std::wstring_view(fmt) : std::wstring_view(), args, fs);
}

String Format(const String& fmt, TVarRecs args) { return FormatView(fmt, args, FormatSettings); }

String Format(const Char* fmt, TVarRecs args) { return Format(fmt, args, FormatSettings); }
