#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/base/SysUtils.h"

namespace {

// English settings for the duration of each test, whatever the machine's locale.
class SysUtilsFormat : public ::testing::Test {
protected:
    TFormatSettingsScope scope{DefaultFormatSettings()};
};

TFormatSettings Continental()
{
    TFormatSettings fs = DefaultFormatSettings();
    fs.DecimalSeparator = L',';
    fs.ThousandSeparator = L'.';
    return fs;
}

const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

}  // namespace

TEST_F(SysUtilsFormat, FloatToStrIsShortestWithFifteenDigits)
{
    struct { double v; const wchar_t* want; } cases[] = {
        {0, L"0"}, {-0.0, L"0"}, {1.5, L"1.5"}, {-2.25, L"-2.25"}, {0.1 + 0.2, L"0.3"}, {100, L"100"},
        {1.0 / 3, L"0.333333333333333"}, {2.0 / 3, L"0.666666666666667"},
        {123456789012345.0, L"123456789012345"}, {1e15, L"1E15"}, {1234567890123456.0, L"1.23456789012346E15"},
        {0.0001, L"0.0001"}, {1.5e-5, L"1.5E-5"}, {-1e-20, L"-1E-20"}, {1e300, L"1E300"},
        {kNaN, L"NAN"}, {kInf, L"INF"}, {-kInf, L"-INF"},
    };
    for (auto& c : cases) EXPECT_EQ(FloatToStr(c.v), c.want) << c.v;
    EXPECT_EQ(FloatToStr(1.5, Continental()), L"1,5");
    TFormatSettingsScope inner(Continental());
    EXPECT_EQ(FloatToStr(-0.25), L"-0,25");   // the global is read at each call
}

TEST_F(SysUtilsFormat, FloatToStrFFormats)
{
    struct { double v; TFloatFormat f; Integer prec, digits; const wchar_t* want; } cases[] = {
        {1234.5678, ffFixed, 15, 2, L"1234.57"},
        {1234.5678, ffNumber, 15, 2, L"1,234.57"},
        {1234567.0, ffNumber, 15, 0, L"1,234,567"},
        {1234.5, ffCurrency, 15, 2, L"$1,234.50"},
        {-1234.5, ffCurrency, 15, 2, L"($1,234.50)"},
        {1.5, ffExponent, 4, 2, L"1.500E+00"},
        {0.000123, ffExponent, 3, 0, L"1.23E-4"},
        {0, ffExponent, 3, 3, L"0.00E+000"},
        {12345, ffFixed, 3, 2, L"1.23E4"},            // more integer digits than the precision
        {0.125, ffFixed, 15, 2, L"0.13"},             // exact tie: half away from zero
        {2.5, ffFixed, 15, 0, L"3"},
        {-2.5, ffFixed, 15, 0, L"-3"},
        {-0.001, ffFixed, 15, 2, L"0.00"},            // no "-0.00"
        {999.999, ffFixed, 15, 2, L"1000.00"},
        {0.5, ffGeneral, 15, 0, L"0.5"},
        {2.675, ffFixed, 15, 2, L"2.68"},             // rounded at 15 digits first
        {kNaN, ffFixed, 15, 2, L"NAN"},
    };
    for (auto& c : cases)
        EXPECT_EQ(FloatToStrF(c.v, c.f, c.prec, c.digits), c.want) << c.v << " format " << c.f;
    EXPECT_EQ(FloatToStrF(1234.5, ffNumber, 15, 2, Continental()), L"1.234,50");

    TFormatSettings euro = DefaultFormatSettings();
    euro.CurrencyString = L"\u20AC";
    euro.CurrencyFormat = 3;
    euro.NegCurrFormat = 8;
    EXPECT_EQ(FloatToStrF(5, ffCurrency, 15, 2, euro), L"5.00 \u20AC");
    EXPECT_EQ(FloatToStrF(-5, ffCurrency, 15, 2, euro), L"-5.00 \u20AC");
}

TEST_F(SysUtilsFormat, FormatSpecifiers)
{
    int marker = 0;
    struct { const wchar_t* fmt; TVarRecs args; const wchar_t* want; } cases[] = {
        {L"%d", {42}, L"42"},
        {L"[%5d]", {42}, L"[   42]"},
        {L"[%-5d]", {42}, L"[42   ]"},
        {L"%.3d", {-5}, L"-005"},
        {L"%d", {Int64(-9000000000)}, L"-9000000000"},
        {L"%u", {-1}, L"4294967295"},
        {L"%x", {255}, L"FF"},
        {L"%.4X", {255}, L"00FF"},
        {L"%x", {-1}, L"FFFFFFFF"},
        {L"%x", {Int64(-1)}, L"FFFFFFFFFFFFFFFF"},
        {L"%s%.8d", {L"id", 123}, L"id00000123"},
        {L"%.2f", {3.14159}, L"3.14"},
        {L"%.0f", {2.5}, L"3"},
        {L"%f", {1.0}, L"1.00"},
        {L"%.1f", {-0.04}, L"0.0"},
        {L"%.2f", {1e20}, L"1E20"},
        {L"%e", {1234.5}, L"1.23450000000000E+003"},
        {L"%.3e", {-1234.5}, L"-1.23E+003"},
        {L"%g", {0.5}, L"0.5"},
        {L"%g", {1.0 / 3}, L"0.333333333333333"},
        {L"%g", {1e20}, L"1E020"},
        {L"%.3g", {1234.5}, L"1.23E003"},
        {L"%n", {1234567.891}, L"1,234,567.89"},
        {L"%.0n", {1234567.891}, L"1,234,568"},
        {L"%m", {12.5}, L"$12.50"},
        {L"%s", {String(L"abc")}, L"abc"},
        {L"%.2s|%5s|%-5s|", {L"abc", L"abc", L"abc"}, L"ab|  abc|abc  |"},
        {L"%s", {L'c'}, L"c"},
        {L"%1:s %0:s %s", {L"a", L"b"}, L"b a b"},
        {L"%*d|%-*d|%.*f", {4, 7, 3, 7, 1, 2.25}, L"   7|7  |2.3"},
        {L"100%%", {}, L"100%"},
        {L"%d|%u|%*d", {Word(65535), Cardinal(4000000000u), size_t(3), 1}, L"65535|4000000000|  1"},
        {L"%d", {TFloatFormat::ffNumber}, L"3"},
        {L"%p", {static_cast<const void*>(nullptr)}, L"0000000000000000"},
    };
    for (auto& c : cases) EXPECT_EQ(Format(c.fmt, c.args), c.want) << UTF8Encode(c.fmt);
    EXPECT_NE(Format(L"%p", {static_cast<const void*>(&marker)}), L"0000000000000000");
    EXPECT_EQ(Format(L"%.2n", {1234.5}, Continental()), L"1.234,50");
}

TEST_F(SysUtilsFormat, FormatRejectsMismatchesAndMissingArguments)
{
    struct { const wchar_t* fmt; TVarRecs args; const wchar_t* message; } cases[] = {
        {L"%d", {1.5}, L"Format '%d' invalid or incompatible with argument"},
        {L"%f", {1}, L"Format '%f' invalid or incompatible with argument"},
        {L"%s", {5}, L"Format '%s' invalid or incompatible with argument"},
        {L"%x", {L"a"}, L"Format '%x' invalid or incompatible with argument"},
        {L"%z", {1}, L"Format '%z' invalid or incompatible with argument"},
        {L"abc %", {1}, L"Format 'abc %' invalid or incompatible with argument"},
        {L"%*d", {1.0, 2}, L"Format '%*d' invalid or incompatible with argument"},
        {L"%d %d", {1}, L"No argument for format '%d %d'"},
        {L"%2:d", {1}, L"No argument for format '%2:d'"},
    };
    for (auto& c : cases) {
        try {
            Format(c.fmt, c.args);
            ADD_FAILURE() << "no exception for " << UTF8Encode(c.fmt);
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), c.message);
        }
    }
}

TEST_F(SysUtilsFormat, FormatFloatMasks)
{
    struct { const wchar_t* mask; double v; const wchar_t* want; } cases[] = {
        {L"0.00", 3.14159, L"3.14"},
        {L"#,##0.00", 1234567.891, L"1,234,567.89"},
        {L"#,##0", 999.5, L"1,000"},
        {L"#,##0", 12, L"12"},
        {L"0.##", 1.5, L"1.5"},
        {L"0.##", 1, L"1"},
        {L"0.0#", 1, L"1.0"},
        {L"#.##", 0.5, L".5"},
        {L"#", 0, L""},
        {L"0", 0, L"0"},
        {L"000", 7, L"007"},
        {L"#", 12345, L"12345"},
        {L"00-00", 1234, L"12-34"},
        {L"0.00", -1.5, L"-1.50"},
        {L"0.00", -0.001, L"0.00"},
        {L"0.00;(0.00)", -1.5, L"(1.50)"},
        {L"0.00;(0.00);'zero'", 0, L"zero"},
        {L"0.0;(0.0);nil", -0.01, L"nil"},
        {L"0.0;;nil", -2, L"-2.0"},
        {L"0.00E+00", 12345, L"1.23E+04"},
        {L"0.00E-00", 12345, L"1.23E04"},
        {L"0.00E+00", 0.00012345, L"1.23E-04"},
        {L"0.0e+0", 0, L"0.0e+0"},
        {L"0.0E+0", 9.96, L"1.0E+1"},
        {L"\"$\"#,##0.00", 5, L"$5.00"},
        {L"0 'MB'", 12.4, L"12 MB"},
        {L"0.0 MB", 1.25, L"1.3 MB"},
        {L"'a;b' 0", 3, L"a;b 3"},
        {L"", 1.5, L"1.5"},
        {L"0.00", 1e20, L"1E20"},
    };
    for (auto& c : cases) EXPECT_EQ(FormatFloat(c.mask, c.v), c.want) << UTF8Encode(c.mask) << " " << c.v;
    EXPECT_EQ(FormatFloat(L"#,##0.00", 1234.5, Continental()), L"1.234,50");
}

TEST_F(SysUtilsFormat, RoundingTiesToEvenAndRanges)
{
    struct { double v; Int64 round, trunc, ceil, floor; } cases[] = {
        {0.5, 0, 0, 1, 0}, {1.5, 2, 1, 2, 1}, {2.5, 2, 2, 3, 2}, {-0.5, 0, 0, 0, -1},
        {-1.5, -2, -1, -1, -2}, {-2.5, -2, -2, -2, -3}, {2.4999, 2, 2, 3, 2}, {-2.7, -3, -2, -2, -3},
        {4503599627370497.0, 4503599627370497, 4503599627370497, 4503599627370497, 4503599627370497},
    };
    for (auto& c : cases) {
        EXPECT_EQ(Round(c.v), c.round) << c.v;
        EXPECT_EQ(Trunc(c.v), c.trunc) << c.v;
        EXPECT_EQ(Ceil(c.v), c.ceil) << c.v;
        EXPECT_EQ(Floor(c.v), c.floor) << c.v;
    }
    EXPECT_DOUBLE_EQ(Frac(-2.75), -0.75);
    EXPECT_DOUBLE_EQ(Int(-2.75), -2.0);
    EXPECT_THROW(Round(1e300), EInvalidOp);
    EXPECT_THROW(Trunc(kNaN), EInvalidOp);
    EXPECT_THROW(Round(9223372036854775808.0), EInvalidOp);
}

TEST_F(SysUtilsFormat, TextToFloatIsStrict)
{
    struct { const wchar_t* s; bool ok; double v; } cases[] = {
        {L"1.5", true, 1.5}, {L"12.", true, 12}, {L".5", true, 0.5}, {L" -3e2 ", true, -300},
        {L"1E-2", true, 0.01}, {L"+4", true, 4}, {L"1e-400", true, 0},
        {L"1,5", false, 0}, {L"1,000.5", false, 0}, {L"", false, 0}, {L".", false, 0}, {L"e5", false, 0},
        {L"1e", false, 0}, {L"1e+", false, 0}, {L"1.5x", false, 0}, {L"1e400", false, 0},
        {L"inf", false, 0}, {L"nan", false, 0}, {L"0x10", false, 0}, {L"1 2", false, 0},
    };
    for (auto& c : cases) {
        Extended v = -1;
        EXPECT_EQ(TryStrToFloat(c.s, v), c.ok) << UTF8Encode(c.s);
        if (c.ok) {
            EXPECT_DOUBLE_EQ(v, c.v) << UTF8Encode(c.s);
        }
        EXPECT_DOUBLE_EQ(StrToFloatDef(c.s, 7), c.ok ? c.v : 7.0);
    }
    EXPECT_DOUBLE_EQ(StrToFloat(L"1,5", Continental()), 1.5);
    Extended v;
    EXPECT_FALSE(TryStrToFloat(L"1.5", v, Continental()));
    try {
        StrToFloat(L"abc");
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), L"'abc' is not a valid floating point value");
    }
}

TEST_F(SysUtilsFormat, ValReportsTheFirstBadCharacter)
{
    TFormatSettingsScope inner(Continental());   // Val always uses '.'
    struct { const wchar_t* s; Integer code; double v; } cases[] = {
        {L"1.5", 0, 1.5}, {L" 2", 0, 2}, {L"12.", 0, 12}, {L"-1e3", 0, -1000},
        {L"1.5 ", 4, 0}, {L"1.5x", 4, 0}, {L"", 1, 0}, {L"-", 2, 0}, {L"1e", 3, 0}, {L"1e+x", 4, 0},
        {L"1,5", 2, 0},
    };
    for (auto& c : cases) {
        Extended v = -1;
        Integer code = -1;
        Val(c.s, v, code);
        EXPECT_EQ(code, c.code) << UTF8Encode(c.s);
        if (c.code == 0) {
            EXPECT_DOUBLE_EQ(v, c.v) << UTF8Encode(c.s);
        }
    }
}

TEST(SysUtilsSettings, StartValuesFromLocaleNames)
{
    const TDateTime when = EncodeDateTime(2026, 3, 7, 14, 5, 0, 0);
    struct { const char *numeric, *time; const wchar_t *number, *date, *clock; } cases[] = {
        {"", "", L"1,234.50", L"3/7/2026", L"2:05 PM"},
        {"C", "POSIX", L"1,234.50", L"3/7/2026", L"2:05 PM"},
        {"en_US.UTF-8", "en_US.UTF-8", L"1,234.50", L"3/7/2026", L"2:05 PM"},
        {"en_GB.UTF-8", "en_GB.UTF-8", L"1,234.50", L"07/03/2026", L"14:05"},
        {"de_DE.UTF-8", "de_DE.UTF-8@euro", L"1.234,50", L"07.03.2026", L"14:05"},
        {"fr_FR", "fr_FR", L"1\u00A0234,50", L"07/03/2026", L"14:05"},
        {"C", "de_AT.UTF-8", L"1,234.50", L"07.03.2026", L"14:05"},
        {"xx_YY", "xx_YY", L"1,234.50", L"3/7/2026", L"2:05 PM"},
    };
    for (auto& c : cases) {
        TFormatSettings fs = FormatSettingsForLocale(c.numeric, c.time);
        EXPECT_EQ(FloatToStrF(1234.5, ffNumber, 15, 2, fs), c.number) << c.numeric;
        EXPECT_EQ(DateToStr(when, fs), c.date) << c.time;
        EXPECT_EQ(FormatDateTime(L"t", when, fs), c.clock) << c.time;
    }
}
