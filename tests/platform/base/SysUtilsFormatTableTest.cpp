// The number texts against their first versions (SysUtilsReference.cpp),
// output for output, over a million random values and the values where
// rounding is delicate.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "SysUtilsReference.h"
#include "platform/base/SysUtils.h"
#include "platform/base/SysUtils_Internal.h"

namespace {

std::string DecimalText(Extended v, Integer precision, Integer decimals)
{
    TFloatDecimal d = FloatToDecimal(v, precision, decimals);
    if (d.Special == TFloatDecimal::NaN) return "NAN";
    if (d.Special == TFloatDecimal::Infinite) return d.Negative ? "-INF" : "INF";
    return (d.Negative ? "-0." : "0.") + d.Digits + "e" + std::to_string(d.Exponent);
}

const wchar_t* const kFormats[] = {
    L"%f",    L"%.0f",  L"%.1f",   L"%.2f",  L"%.3f",   L"%.7f",  L"%.12f",     L"%.15f",
    L"%.18f", L"%e",    L"%.1e",   L"%.3e",  L"%.9e",   L"%.17e", L"%.18e",     L"%g",
    L"%.1g",  L"%.2g",  L"%.5g",   L"%.12g", L"%.17g",  L"%n",    L"%.0n",      L"%.4n",
    L"%.18n", L"%m",    L"%.0m",   L"%.3m",  L"%12.3f", L"[%-14.2e]",
};

const wchar_t* const kMasks[] = {
    L"#,##0.00", L"0.###", L"0", L"#", L"#.#", L"0.00E+00", L"##0.0E-0", L"0.00000e+000",
    L"#,##0.00;(#,##0.00);'zero'", L"'x'0.0\"y\"", L"000000.000000", L"#.##############",
    L"0.0000000000000000000000000", L"#,##0", L",0.0", L"#,###,###,###,###,##0.##",
    L"0.0;-0.0;nothing", L"E+0", L"00000000000000000000000000000000000000000000000000000000000000000000.0",
};

TFormatSettings Settings(int k)
{
    TFormatSettings fs = DefaultFormatSettings();
    if (k % 2) {
        fs.DecimalSeparator = L',';
        fs.ThousandSeparator = L'.';
        fs.CurrencyString = L"\u20AC";
    }
    fs.CurrencyFormat = Byte(k % 4);
    fs.NegCurrFormat = Byte(k % 16);
    return fs;
}

// Counts and shows the first few differences instead of one failure each.
struct Mismatches {
    int count = 0;
    template <class T>
    void Check(const T& got, const T& want, Extended v, const std::string& what)
    {
        if (got == want) return;
        if (++count <= 20)
            ADD_FAILURE() << what << " of " << std::hexfloat << v << std::defaultfloat << " (" << v << ")";
    }
};

std::string Narrow(const String& s) { return UTF8Encode(s); }

// Every routine and form for one value.
void CheckAllForms(Extended v, Mismatches& m)
{
    for (Integer p = 1; p <= 18; ++p) {
        for (Integer dec : {0, 1, 2, 3, 5, 8, 13, 17, 20})
            m.Check(DecimalText(v, p, dec), reference::OldFloatToDecimalText(v, p, dec), v,
                    "digits " + std::to_string(p) + "/" + std::to_string(dec));
        m.Check(DecimalText(v, p, 9999), reference::OldFloatToDecimalText(v, p, 9999), v,
                "digits " + std::to_string(p));
    }
    for (int k = 0; k < 2; ++k) {
        const TFormatSettings fs = Settings(k);
        m.Check(FloatToStr(v, fs), reference::OldFloatToStr(v, fs), v, "FloatToStr");
        for (auto f : kFormats)
            m.Check(Format(f, {v}, fs), reference::OldFormat(f, {v}, fs), v, "Format " + Narrow(f));
        for (auto mask : kMasks)
            m.Check(FormatFloat(mask, v, fs), reference::OldFormatFloat(mask, v, fs), v,
                    "FormatFloat " + Narrow(mask));
        for (TFloatFormat f : {ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency})
            for (Integer p : {1, 15, 18})
                for (Integer d : {0, 2, 18})
                    m.Check(FloatToStrF(v, f, p, d, fs), reference::OldFloatToStrF(v, f, p, d, fs), v,
                            "FloatToStrF");
    }
}

std::vector<double> EdgeValues()
{
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<double> base = {
        0.0, -0.0, std::numeric_limits<double>::quiet_NaN(), inf, -inf,
        std::numeric_limits<double>::denorm_min(), DBL_MIN, std::nextafter(DBL_MIN, 0.0), DBL_MAX,
        0.5, 0.05, 0.005, 0.125, 0.375, 2.5, 2.675, 1.005, 1.015, 0.045, 999.995, 9.995, 0.95, 0.9999999999999999,
        1e15, 1e16, 1e17, 1e18, 999999999999999.5, 99999999999999.95, 123456789012345.65,
        4503599627370496.5, 9007199254740993.0, 1.0 / 3, 2.0 / 3, 0.1, 0.2, 0.3, 0.7, 1234.5678,
        5e-324, 2.2250738585072014e-308, 1.7976931348623157e308, 4.9406564584124654e-324,
    };
    // Powers of ten over the whole range and the doubles either side.
    for (int e = -323; e <= 308; ++e) base.push_back(std::strtod(("1e" + std::to_string(e)).c_str(), nullptr));
    // Odd multiples of small powers of two: exact values that end in 5 one
    // place past the 41 digits (a tie for the first rounding) and nearby.
    for (int k = 50; k <= 75; ++k)
        for (double odd : {1.0, 3.0, 7.0, 9.0, 11.0, 1001.0, 123457.0})
            base.push_back(std::ldexp(odd, -k));
    // Ties at every rounding position: d.ddd5 in binary-exact and inexact forms.
    for (int digits = 1; digits <= 19; ++digits)
        for (int e = -6; e <= 20; e += 2) {
            std::string s = "0.";
            for (int i = 0; i < digits; ++i) s += char('1' + (i * 7 + e + 20) % 9);
            s += "5e" + std::to_string(e);
            base.push_back(std::strtod(s.c_str(), nullptr));
            s = "0." + std::string(size_t(digits), '9') + "5e" + std::to_string(e);
            base.push_back(std::strtod(s.c_str(), nullptr));
            s = "0." + std::string(size_t(digits), '4') + "9999999999999999e" + std::to_string(e);
            base.push_back(std::strtod(s.c_str(), nullptr));
        }
    std::vector<double> out;
    for (double v : base)
        for (double x : {v, std::nextafter(v, -inf), std::nextafter(v, inf)}) {
            out.push_back(x);
            out.push_back(-x);
        }
    return out;
}

// Random doubles of several kinds: any bit pattern, ordinary magnitudes,
// short decimals, values next to a decimal half at a random position, and
// dyadic values whose decimal expansion ends exactly in 5.
double RandomValue(std::mt19937_64& rng, int kind)
{
    std::uniform_int_distribution<int> sign(0, 1);
    double v;
    switch (kind) {
    case 0: {
        uint64_t bits = rng();
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }
    case 1: v = std::uniform_real_distribution<double>(0, 1e6)(rng); break;
    case 2: {
        long long k = std::uniform_int_distribution<long long>(0, 999999999)(rng);
        v = double(k) / std::pow(10.0, std::uniform_int_distribution<int>(0, 9)(rng));
        break;
    }
    case 3: {
        int digits = std::uniform_int_distribution<int>(1, 19)(rng);
        std::string s = "0.";
        for (int i = 0; i < digits; ++i) s += char('0' + rng() % 10);
        s += "5e" + std::to_string(std::uniform_int_distribution<int>(-30, 30)(rng));
        v = std::strtod(s.c_str(), nullptr);
        int step = std::uniform_int_distribution<int>(-1, 1)(rng);
        if (step) v = std::nextafter(v, step * std::numeric_limits<double>::infinity());
        break;
    }
    case 4:
        v = std::ldexp(double(rng() >> 11 | 1), std::uniform_int_distribution<int>(-80, 10)(rng));
        break;
    default:
        v = std::uniform_real_distribution<double>(1, 10)(rng) *
            std::pow(10.0, std::uniform_int_distribution<int>(-320, 307)(rng));
        break;
    }
    return sign(rng) ? -v : v;
}

}  // namespace

TEST(SysUtilsFormatTable, EdgeValuesMatchTheFirstVersionInEveryForm)
{
    Mismatches m;
    for (double v : EdgeValues()) CheckAllForms(v, m);
    EXPECT_EQ(m.count, 0);
}

TEST(SysUtilsFormatTable, MillionRandomValuesMatchTheFirstVersion)
{
    std::mt19937_64 rng(20261210);
    Mismatches m;
    const TFormatSettings en = Settings(0), continental = Settings(1);
    constexpr size_t kFormatCount = std::size(kFormats), kMaskCount = std::size(kMasks);
    for (int i = 0; i < 1000000; ++i) {
        const double v = RandomValue(rng, i % 6);
        const TFormatSettings& fs = (i / 6) % 2 ? continental : en;
        const Integer p = 1 + i % 18, dec = (i / 18) % 22;
        m.Check(DecimalText(v, p, dec == 21 ? 9999 : dec),
                reference::OldFloatToDecimalText(v, p, dec == 21 ? 9999 : dec), v, "digits");
        m.Check(FloatToStr(v, fs), reference::OldFloatToStr(v, fs), v, "FloatToStr");
        const wchar_t* f = kFormats[size_t(i) % kFormatCount];
        const wchar_t* mask = kMasks[size_t(i / 7) % kMaskCount];
        // Literal and String formats alike.
        const String got = i % 2 ? Format(f, {v}, fs) : Format(String(f), {v}, fs);
        m.Check(got, reference::OldFormat(f, {v}, fs), v, "Format " + Narrow(f));
        const String gotMask = i % 2 ? FormatFloat(String(mask), v, fs) : FormatFloat(mask, v, fs);
        m.Check(gotMask, reference::OldFormatFloat(mask, v, fs), v, "FormatFloat " + Narrow(mask));
    }
    EXPECT_EQ(m.count, 0);
}
