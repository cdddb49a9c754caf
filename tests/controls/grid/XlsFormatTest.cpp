// Office spreadsheet number formats: a table of format strings and values
// against the texts they give, then malformed formats that must neither
// crash nor hang.
#include <gtest/gtest.h>

#include <random>

#include "controls/grid/vurxlsfmt.h"
#include "platform/base/SysUtils.h"

namespace {

class XlsFormatTest : public ::testing::Test {
protected:
    TFormatSettingsScope FScope{DefaultFormatSettings()};

    static String Fmt(const Variant& v, const String& format)
    {
        String r = L"unchanged";
        XlsFormatValue(v, format, r);
        return r;
    }
};

struct NumberCase {
    const wchar_t* format;
    double value;
    const wchar_t* expected;
};

TEST_F(XlsFormatTest, NumberFormatsRenderAsSpreadsheetsShowThem)
{
    const NumberCase cases[] = {
        // sections and the sign
        {L"0.00;(0.00)", -5, L"(5.00)"},
        {L"0.00;(0.00)", 5, L"5.00"},
        {L"0.00", -5, L"-5.00"},
        {L"0;-0;\"zero\"", 0, L"zero"},
        {L"0;-0;\"zero\"", -3, L"-3"},
        {L"0;(0)", 0, L"0"},
        {L"0;0;0;0;\"fifth\"", -2, L"2"},
        {L"0;0;\"z\";@;\"fifth\"", 0, L"z"},
        // conditions and colours
        {L"[<0]\"neg\";\"other\"", -1, L"neg"},
        {L"[<0]\"neg\";\"other\"", 0, L"other"},
        {L"[<0]\"neg\";\"other\"", 4, L"other"},
        {L"[>100]0;[<5]0", 7, L"###################"},
        {L"[>100]0;[<5]0", 200, L"200"},
        {L"[<5]0;0", -3, L"-3"},          // a bound above 0 keeps the sign
        {L"[<=0]0;0", -3, L"3"},
        {L"[=2]\"two\";0", 2, L"two"},
        {L"[>0]0;0", -5, L"5"},           // the first's bound <= 0: the second drops the sign
        {L"[>5]0;0", -5, L"-5"},          // bound above 0: the sign stays
        {L"[<>1]0;0", 1, L"1"},
        {L"[=-2]0;0", -2, L"2"},
        {L"[>=10]\"big\";[<10]\"small\"", 9.5, L"small"},
        {L"[Red]0.0", 1.25, L"1.3"},
        {L"[Blue]0;[Red]-0", -4, L"-4"},
        {L"[Green]\"ok\"", 1, L"ok"},
        // percent, thousands, scientific
        {L"0%", 0.25, L"25%"},
        {L"0.0%", 0.1234, L"12.3%"},
        {L"#,##0", 1234567, L"1,234,567"},
        {L"#,##0.00", 1234.5, L"1,234.50"},
        {L"0.00E+00", 12345, L"1.23E+04"},
        {L"0.0E-0", 0.00125, L"1.3E-3"},
        {L"???.?", 1.5, L"1.5"},
        // literals and escapes
        {L"\\$0.00", 3, L"$3.00"},
        {L"$#,##0", 1500, L"$1,500"},
        {L"0\" kg\"", 12, L"12 kg"},
        {L"\"EUR \"0", 12, L"EUR 12"},
        {L"0 \"items #0\"", 3, L"3 items #0"},
        {L"(0)", 7, L"(7)"},
        {L"_(0_)", 7, L" 7 "},
        {L"*-0", 7, L"-7"},
        {L"[$EUR-407] 0.00", 2, L"EUR 2.00"},
        {L"[$€]0", 2, L"\u20AC2"},
        // dates and times (1.5 = 31 Dec 1899 12:00)
        {L"dd/mm/yyyy hh:mm", 45000.75, L"15/03/2023 18:00"},
        {L"yyyy-mm-dd", 45000, L"2023-03-15"},
        {L"d.m.yy", 45000, L"15.3.23"},
        {L"h:mm AM/PM", 0.75, L"6:00 PM"},
        {L"hh:mm:ss", 0.5 + 1.0 / 86400, L"12:00:01"},
        {L"[h]:mm", 1.5, L"36:00"},
        {L"[mm]", 0.5, L"720"},
        {L"[ss]", 0.001, L"86"},
        {L"[hhh]", 0.25, L"006"},
        {L"[h]", -0.5, L"-12"},
        {L"[h]:mm", -1e300, L"-2.4E301##"},
        {L"mm:ss", 0.5, L"12:00"},        // no hour before: month and seconds
        {L"d mmm yyyy", 45000, L"15 Mar 2023"},
        {L"[$-F800]0", 45000, L"Wednesday, March 15, 2023"},
        // the plain conversion when a piece is not recognised
        {L"General", 1.5, L"1.5"},
        {L"0.00€", 1.5, L"1.5"},
        {L"0.00;0.00€", -2, L"2"},
    };
    for (const NumberCase& c : cases) {
        const String f = c.format;
        SCOPED_TRACE(testing::Message() << "format " << std::string(f.begin(), f.end()) << " value " << c.value);
        EXPECT_EQ(Fmt(Variant(c.value), f), String(c.expected));
    }
}

TEST_F(XlsFormatTest, VariantTypesAndSystemCodes)
{
    EXPECT_EQ(Fmt(Variant(), L"0.00"), L"");
    EXPECT_EQ(Fmt(Variant::Null(), L"0.00"), L"");
    EXPECT_EQ(Fmt(Variant(2.5), L""), L"2.5");
    EXPECT_EQ(Fmt(Variant(true), L"0"), L"TRUE");
    EXPECT_EQ(Fmt(Variant(false), L"0"), L"FALSE");
    EXPECT_EQ(Fmt(Variant(Integer(42)), L"0.0"), L"42.0");
    EXPECT_EQ(Fmt(Variant(Int64(-7)), L"0;(0)"), L"(7)");
    EXPECT_EQ(Fmt(Variant(SmallInt(3)), L"00"), L"03");
    EXPECT_EQ(Fmt(Variant(Byte(200)), L"#,##0"), L"200");
    EXPECT_EQ(Fmt(Variant::FromCurrency(12345), L"0.00"), L"1.23");
    EXPECT_EQ(Fmt(Variant::FromDate(45000), L"yyyy"), L"2023");
    EXPECT_EQ(Fmt(Variant::FromDate(-1), L"yyyy"), L"###################");
    EXPECT_EQ(Fmt(Variant(45000.0), L"[$-F800]"), FormatDateTime(FormatSettings.LongDateFormat, 45000));
    EXPECT_EQ(Fmt(Variant(0.75), L"[$-f400]"), FormatDateTime(FormatSettings.LongTimeFormat, 0.75));
    EXPECT_EQ(Fmt(Variant(1e300), L"[$-F800]"), L"##");
}

TEST_F(XlsFormatTest, TextValuesUseTheTextSection)
{
    EXPECT_EQ(Fmt(Variant(L"abc"), L"0.00"), L"abc");
    EXPECT_EQ(Fmt(Variant(L"abc"), L";;;\"Label: \"@"), L"Label: abc");
    EXPECT_EQ(Fmt(Variant(L"abc"), L"\"[\"@\"]\""), L"[abc]");
    EXPECT_EQ(Fmt(Variant(L"abc"), L"[Red]@ @"), L"abc abc");
    EXPECT_EQ(Fmt(Variant(L"abc"), L";;;0"), L"abc");     // no piece takes "0" in a text section
    EXPECT_EQ(Fmt(Variant(L"abc"), L"0;0;0;\"x\";@"), L"x");
}

// Formats come from spreadsheet files: anything at all must give some text,
// promptly and without a sanitizer report.
TEST_F(XlsFormatTest, MalformedFormatsNeitherCrashNorHang)
{
    const wchar_t* const bad[] = {
        L"[", L"]", L"[$", L"[$-", L"[$]", L"[<", L"[<]", L"[<x]0", L"[>1e999]0", L"[h", L"[hm]",
        L"\"", L"\"\"\"", L"\\", L"*", L"_", L"0\\", L"0*", L"0\"", L"d'", L"d\"x", L"0;;;;;;",
        L";", L";;", L";;;", L"@", L"%%%%%%%%%%0", L"E+", L"0E", L"0E+", L"#.#.#", L",,,,0",
        L"AM/P", L"a/p", L"[h][m][s]", L"[Red", L"[Redx]0", L"dddddddddddd", L"mmmmmmm", L"c t tt",
        L"0.000000000000000000000000000000000000000000", L"[=]0", L"[<>0]\"n\";[<>0]\"m\"",
    };
    const double values[] = {0, -1, 1.5, 1e300, -1e300, 45000.5};
    for (const wchar_t* f : bad)
        for (double v : values) {
            String r;
            XlsFormatValue(Variant(v), f, r);
            XlsFormatValue(Variant(L"t"), f, r);
        }
    EXPECT_EQ(Fmt(Variant(5.0), L"[<x]0"), L"5");
    EXPECT_EQ(Fmt(Variant(std::nan("")), L"0.00"), Fmt(Variant(std::nan("")), L"General"));

    // Random formats over the characters the syntax knows.
    const String alphabet = L"0#?.,%E+-eE\"\\*_ ;[]$<>=@hmsdyHMSDYAPapm/:!(){}~^'GeneralRdBlu-407F800";
    std::mt19937 rng(27);
    for (int round = 0; round < 3000; ++round) {
        String f;
        const int len = int(rng() % 24);
        for (int i = 0; i < len; ++i) f += alphabet[rng() % alphabet.size()];
        String r;
        XlsFormatValue(Variant(double(int(rng() % 200000) - 100000) / 7), f, r);
        XlsFormatValue(Variant(L"x"), f, r);
    }
}

}  // namespace
