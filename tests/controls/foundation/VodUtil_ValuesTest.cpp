// Value classes, number normalisation, the date readers and the integer
// helpers, under settable separators and short date formats.
#include <gtest/gtest.h>

#include <random>

#include "controls/foundation/LibraryStartup.h"
#include "controls/foundation/VodUtil.h"
#include "tests/controls/foundation/VodUtilTestSupport.h"

namespace {

TDateTime D(Word y, Word m, Word d) { return EncodeDate(y, m, d); }

String RandomText(std::mt19937& rng, const String& alphabet, int maxLen)
{
    std::uniform_int_distribution<int> len(0, maxLen), pick(0, int(alphabet.size()) - 1);
    String s;
    for (int i = len(rng); i > 0; --i) s += alphabet[size_t(pick(rng))];
    return s;
}


// The classification rules read one by one, as a second opinion on the
// classifier's table-driven scan.
Byte ReferenceClass(const String& S)
{
    if (S.empty()) return 2;
    const Char th = FormatSettings.ThousandSeparator, dec = FormatSettings.DecimalSeparator;
    const Char ds = FormatSettings.DateSeparator, ts = FormatSettings.TimeSeparator;
    bool allInteger = true, isFloat = true, seenE = false, isSci = true;
    bool dateOK = S.find(ds) != String::npos, timeOK = S.find(ts) != String::npos;
    int dateSeps = 0, timeSeps = 0, minus = 0, decimals = 0;
    long lastThousand = -100, lastDate = -100, lastTime = -100;
    if (!IsDigitChar(S[0])) dateOK = timeOK = false;
    if (S[0] == L'e' || S[0] == L'E') isSci = false;
    const Char last = S.back();
    if (last == L'e' || last == L'E' || last == L'+' || last == L'-') isSci = false;
    for (size_t k = 0; k < S.size(); ++k) {
        const long i = long(k);
        const Char c = S[k];
        if (!IsIntegerChar(c) || (c == L'-' && i > 0)) allInteger = false;
        if (c == L'-' && i > 0) isFloat = false;
        if (!IsDigitChar(c) && c != L'-' && c != th && c != dec) isFloat = false;
        if (c == th) {
            if (i - lastThousand < 4) isFloat = false;
            lastThousand = i;
        }
        if (c == L'e' || c == L'E') {
            if (seenE) isSci = false;
            seenE = true;
        }
        if (!IsSignedFloatChar(c) || c == th) isSci = false;
        if (!IsDigitChar(c) && c != ds) dateOK = false;
        if (!IsDigitChar(c) && c != ts) timeOK = false;
        if (c == ds) {
            if (++dateSeps == 3 || i == lastDate + 1) dateOK = false;
            lastDate = i;
        }
        if (c == ts) {
            if (++timeSeps == 3 || i == lastTime + 1) timeOK = false;
            lastTime = i;
        }
        minus += c == L'-';
        decimals += c == dec;
    }
    Byte r = 2;
    if (allInteger) r = 0;
    else if (isFloat && !seenE) r = 1;
    else if (isSci && seenE) r = 5;
    if (timeOK) r = 4;
    else if (dateOK && dateSeps == 2) r = 3;
    else if (minus > 1 || decimals > 1) r = 2;
    return r;
}

}  // namespace

TEST(VodUtilValues, ClassifyValueTextUsSeparators)
{
    auto locale = UsLocale();
    struct Case { const wchar_t* Text; Byte Class; };
    const Case cases[] = {
        {L"", 2}, {L"12", 0}, {L"-12", 0}, {L"-", 0}, {L"1-2", 2}, {L"--1", 2},
        {L"1e5", 5}, {L"1.5e-3", 5}, {L"e5", 2}, {L"1e5e", 2}, {L"1e+", 2}, {L"1e5,0", 2},
        {L"12:30", 4}, {L"12:30:45", 4}, {L"1:2:3:4", 2}, {L"12::30", 2}, {L":30", 2},
        {L"1/2/2020", 3}, {L"1//2", 2}, {L"12/31", 2}, {L"1/2/3/4", 2}, {L"/1/2", 2},
        {L"1,234.5", 1}, {L"1,23", 1}, {L"1,2,3", 2}, {L"1,234,567", 1}, {L"1,234,56", 1},
        {L"1,23,456", 2}, {L"1.2.3", 2}, {L".5", 1}, {L"12 ", 2}, {L"abc", 2},
        {L"\u0661\u0662", 0},        // Arabic-Indic digits
        {L"\u00BD", 0},              // other number
        {L"\u2163", 0},              // letter number
    };
    for (const Case& c : cases) EXPECT_EQ(ClassifyValueText(c.Text), c.Class) << UTF8Encode(c.Text);
}

TEST(VodUtilValues, ClassifyValueTextGermanSeparators)
{
    auto locale = GermanLocale();
    struct Case { const wchar_t* Text; Byte Class; };
    const Case cases[] = {
        {L"1.234,5", 1}, {L"1,5", 1}, {L"12,5,3", 2}, {L"1.2.2020", 3}, {L"31.12.99", 3},
        {L"1/2/2020", 2}, {L"10:15", 4}, {L"1e5", 5},
    };
    for (const Case& c : cases) EXPECT_EQ(ClassifyValueText(c.Text), c.Class) << UTF8Encode(c.Text);
}

TEST(VodUtilValues, ClassifyValueTextAgreesWithTheRulesReadOneByOne)
{
    std::mt19937 rng(2110);
    const String alphabet = L"0123456789012345/.,:- eE+x\u0663";
    const Char seps[][4] = {{L',', L'.', L'/', L':'}, {L'.', L',', L'.', L':'}, {L' ', L',', L'-', L'.'},
                            {L'.', L'.', L'.', L'.'}};
    for (int round = 0; round < 60000; ++round) {
        const Char* sep = seps[round % 4];
        TLocaleScope locale(sep[0], sep[1], sep[2], sep[3], L"M/d/yyyy");
        int maxLen = round % 50 == 0 ? 3000 : round % 2 ? 24 : 8;
        String s = RandomText(rng, alphabet, maxLen);
        ASSERT_EQ(ClassifyValueText(s), ReferenceClass(s)) << UTF8Encode(s) << " settings " << round % 4;
    }
}

TEST(VodUtilValues, ExtractNumberAndInvariantForms)
{
    {
        auto locale = UsLocale();
        struct Case { const wchar_t* In; const wchar_t* Out; };
        const Case extract[] = {
            {L"", L""}, {L"   ", L""}, {L"x", L""}, {L"(1,234.50)", L"-1234.50"}, {L"abc-12x", L"-12"},
            {L"$ 1,000", L"1000"}, {L" 7.5 kg", L"7.5"}, {L"1e-5", L"1e-5"}, {L"(5", L"5"},
            {L"EUR 5", L"E"},        // "E" can start a number: the scan starts there
        };
        for (const Case& c : extract) EXPECT_EQ(ExtractNumberText(c.In), c.Out) << UTF8Encode(c.In);
        EXPECT_EQ(LocalToInvariantNumber(L"1,23"), L"123");
        EXPECT_EQ(LocalToInvariantNumber(L"1,234.5"), L"1234.5");
        EXPECT_EQ(LocalToInvariantNumber(L"1/2/2020"), L"1/2/2020");
        EXPECT_EQ(LocalToInvariantNumber(L"a,b"), L"a,b");
        EXPECT_EQ(InvariantToLocalNumber(L"1234.5"), L"1234.5");
    }
    {
        auto locale = GermanLocale();
        EXPECT_EQ(ExtractNumberText(L"1.234,5 \u20AC"), L"1234.5");
        EXPECT_EQ(LocalToInvariantNumber(L"1.234,5"), L"1234.5");
        EXPECT_EQ(LocalToInvariantNumber(L"-12"), L"-12");
        EXPECT_EQ(InvariantToLocalNumber(L"1234.5"), L"1234,5");
        EXPECT_EQ(InvariantToLocalNumber(L"a.b"), L"a.b");
        EXPECT_EQ(InvariantToLocalNumber(L"1.2.2020"), L"1.2.2020");   // a date stays
    }
}

TEST(VodUtilValues, ParseRCReference)
{
    struct Case { const wchar_t* Text; bool Ok; Integer X, Y; };
    const Case cases[] = {
        {L"R1C2", true, 2, 1}, {L"r10c20", true, 20, 10}, {L"R1C", false, 0, 0}, {L"RC12", false, 0, 0},
        {L"R12", false, 0, 0}, {L"R1X2", false, 0, 0}, {L"A1C2", false, 0, 0}, {L"R1C2C3", false, 0, 0},
        {L"R1C99999999999", false, 0, 0}, {L"", false, 0, 0}, {L"R-1C+2", true, 2, -1},
    };
    for (const Case& c : cases) {
        TPoint p{-7, -7};
        EXPECT_EQ(ParseRCReference(c.Text, p), c.Ok) << UTF8Encode(c.Text);
        if (c.Ok) EXPECT_EQ(p, Point(c.X, c.Y)) << UTF8Encode(c.Text);
        else EXPECT_EQ(p, Point(-7, -7)) << UTF8Encode(c.Text);
    }
}

TEST(VodUtilValues, ParseDateMDYAndDMY)
{
    struct Case { const wchar_t* Text; TDateTime MDY; TDateTime DMY; };
    const TDateTime raises = -1e9;
    const Case cases[] = {
        {L"12/31/99", D(1999, 12, 31), raises},
        {L"1.2.05", D(2005, 1, 2), D(2005, 2, 1)},
        {L"1-2-25", D(2025, 1, 2), D(2025, 2, 1)},
        {L"1/2/26", D(1926, 1, 2), D(1926, 2, 1)},
        {L"1/2/5", D(2005, 1, 2), D(2005, 2, 1)},
        // Three and four digits are the year as written.
        {L"12/31/1999", D(1999, 12, 31), raises},
        {L"1/2/2025", D(2025, 1, 2), D(2025, 2, 1)},
        {L"1/2/025", D(25, 1, 2), D(25, 2, 1)},
        {L"1/2/199", D(199, 1, 2), D(199, 2, 1)},
        {L"31/12/1999", raises, D(1999, 12, 31)},
        // Not dates.
        {L"12-31", 0, 0}, {L"", 0, 0}, {L"a/b/c", 0, 0}, {L"1//2", 0, 0}, {L"1/2/3/4", 0, 0},
        {L"1-2/3/2020", 0, 0}, {L"1/2/", 0, 0}, {L"12/31/99 10:30", 0, 0}, {L"1/2/-5", 0, 0},
        {L"+1/2/99", 0, 0},
    };
    for (const Case& c : cases) {
        if (c.MDY != raises) EXPECT_EQ(ParseDateMDY(c.Text), c.MDY) << UTF8Encode(c.Text);
        else EXPECT_THROW(ParseDateMDY(c.Text), EConvertError) << UTF8Encode(c.Text);
        if (c.DMY != raises) EXPECT_EQ(ParseDateDMY(c.Text), c.DMY) << UTF8Encode(c.Text);
        else EXPECT_THROW(ParseDateDMY(c.Text), EConvertError) << UTF8Encode(c.Text);
    }
    // Impossible dates raise the conversion error.
    for (const wchar_t* t : {L"13/1/2020", L"2/30/2020", L"1/2/10000", L"1/2/000", L"0/1/20"})
        EXPECT_THROW(ParseDateMDY(t), EConvertError) << UTF8Encode(t);
}

TEST(VodUtilValues, TryParseLocaleDateTimeFollowsTheShortDateFormat)
{
    struct Case { const wchar_t* Format; Char Sep; const wchar_t* Text; bool Ok; TDateTime Value; };
    const TDateTime t1030 = EncodeTime(10, 30, 0, 0);
    const Case cases[] = {
        {L"dd/MM/yyyy", L'/', L"31/12/2020 10:30", true, D(2020, 12, 31) + t1030},
        {L"dd/MM/yyyy", L'/', L"31/12/2020 25:00", false, 0},
        {L"dd/MM/yyyy", L'/', L"32/01/2020", false, 0},
        {L"dd/MM/yyyy", L'/', L"31/12/2020", true, D(2020, 12, 31)},
        {L"dd/MM/yyyy", L'/', L" 31/12/2020 ", true, D(2020, 12, 31)},
        {L"dd/MM/yyyy", L'/', L"31/12/20", true, D(20, 12, 31)},     // the year as written
        {L"dd/MM/yyyy", L'/', L"31/12/999", true, D(999, 12, 31)},
        {L"dd/MM/yyyy", L'/', L"31/04/2020", false, 0},
        {L"dd/MM/yyyy", L'/', L"1/2/2020 10:30:15", true, D(2020, 2, 1) + EncodeTime(10, 30, 15, 0)},
        {L"dd/MM/yyyy", L'/', L"1/2/2020 10:60", false, 0},
        {L"dd/MM/yyyy", L'/', L"1/2/2020 10:30:60", false, 0},
        {L"dd/MM/yyyy", L'/', L"1/2/2020 10:30 PM", false, 0},
        {L"dd/MM/yyyy", L'/', L"1/2", false, 0},
        {L"dd/MM/yyyy", L'/', L"x/2/2020", false, 0},
        {L"dd/MM/yyyy", L'/', L"1/13/2020", false, 0},
        {L"dd/MM/yyyy", L'/', L"-1/12/2020", false, 0},
        {L"M/d/yyyy", L'/', L"12/31/2020", true, D(2020, 12, 31)},
        {L"M/d/yyyy", L'/', L"31/12/2020", false, 0},
        {L"yyyy-MM-dd", L'-', L"2020-12-31 10:30", true, D(2020, 12, 31) + t1030},
        {L"dd.MM.yyyy", L'.', L"01.02.1850 10:30", true, D(1850, 2, 1) - t1030},
    };
    for (const Case& c : cases) {
        TLocaleScope locale(L',', L'.', c.Sep, L':', c.Format);
        TDateTime v = -1;
        EXPECT_EQ(TryParseLocaleDateTime(c.Text, v), c.Ok) << UTF8Encode(c.Text);
        if (c.Ok) {
            EXPECT_DOUBLE_EQ(v, c.Value) << UTF8Encode(c.Text);
        }
    }
    // A time text without the time separator fails, the date still stored.
    TLocaleScope locale(L',', L'.', L'/', L':', L"dd/MM/yyyy");
    TDateTime v = -1;
    EXPECT_FALSE(TryParseLocaleDateTime(L"31/12/2020 10", v));
    EXPECT_EQ(v, D(2020, 12, 31));
}

TEST(VodUtilValues, LooksLikeDate)
{
    auto locale = UsLocale();
    struct Case { const wchar_t* Text; bool Date; };
    const Case cases[] = {{L"1/2/3", true}, {L"12/31/2020", true}, {L"/1/2", false}, {L"1//2", false},
                          {L"1//2/", true}, {L"12/2020", false}, {L"", false}, {L"1.2.3", false}};
    for (const Case& c : cases) EXPECT_EQ(LooksLikeDate(c.Text), c.Date) << UTF8Encode(c.Text);
}

TEST(VodUtilValues, AddDateParts)
{
    const TDateTime noon = 0.5;
    EXPECT_THROW(AddDateParts(0, 1, 0, D(2020, 1, 31), 0), EConvertError);   // 31 February
    EXPECT_EQ(AddDateParts(0, 1, 0, D(2020, 12, 15), 0), D(2021, 1, 15));
    EXPECT_EQ(AddDateParts(0, 65535, 0, D(2021, 1, 15), 0), D(2020, 12, 15));   // one month back
    EXPECT_EQ(AddDateParts(0, 65535, 0, D(2021, 3, 15), 0), D(2021, 2, 15));
    EXPECT_EQ(AddDateParts(0, 11, 0, D(2021, 3, 15), 0), D(2022, 2, 15));
    EXPECT_THROW(AddDateParts(0, 30, 0, D(2021, 1, 15), 0), EConvertError);   // one wrap of 12 only
    EXPECT_EQ(AddDateParts(1, 0, 0, D(2020, 3, 1), 0), D(2021, 3, 1));
    EXPECT_THROW(AddDateParts(1, 0, 0, D(2020, 2, 29), 0), EConvertError);
    EXPECT_THROW(AddDateParts(9000, 0, 0, D(2020, 1, 1), 0), EConvertError);
    EXPECT_EQ(AddDateParts(0, 0, 1, D(2020, 2, 28) + noon, 99), D(2020, 2, 29) + noon);
    EXPECT_EQ(AddDateParts(0, 0, 65535, D(2020, 1, 1), 0), D(2020, 1, 1) + 65535);
    // Any other combination adds Amount.
    EXPECT_EQ(AddDateParts(1, 0, 1, D(2020, 1, 1), 7), D(2020, 1, 8));
    EXPECT_EQ(AddDateParts(0, 0, 0, D(2020, 1, 1), 2.25), D(2020, 1, 3) + 0.25);
}

TEST(VodUtilValues, IntegerHelpersAndGridRect)
{
    EXPECT_EQ(IntMax(3, -4), 3);
    EXPECT_EQ(IntMin(3, -4), -4);
    EXPECT_EQ(ClipToRange(5, 0, 3), 3);
    EXPECT_EQ(ClipToRange(-5, 0, 3), 0);
    EXPECT_EQ(ClipToRange(2, 0, 3), 2);
    struct Case { Integer Value, Min, Max, Result; };
    const Case limits[] = {{5, 10, 0, 10}, {50, 10, 20, 20}, {50, 0, 20, 20}, {5, 7, 7, 5},
                           {5, -3, -1, 5}, {15, 10, 20, 15}, {-5, 0, 0, -5}};
    for (const Case& c : limits)
        EXPECT_EQ(LimitToMinMax(c.Value, c.Min, c.Max), c.Result) << c.Value << " " << c.Min << " " << c.Max;
    TGridRect r{1, 2, 3, 4};
    EXPECT_TRUE(PointInGridRect(r, 1, 2));
    EXPECT_TRUE(PointInGridRect(r, 3, 4));
    EXPECT_FALSE(PointInGridRect(r, 0, 3));
    EXPECT_FALSE(PointInGridRect(r, 2, 5));
}

TEST(VodUtilValues, CharacterTests)
{
    auto locale = GermanLocale();
    EXPECT_TRUE(IsDigitChar(L'7'));
    EXPECT_TRUE(IsDigitChar(L'\u0663'));
    EXPECT_FALSE(IsDigitChar(L'a'));
    EXPECT_TRUE(IsDigitCode(0x2163));
    EXPECT_FALSE(IsDigitCode(-48));
    EXPECT_TRUE(IsIntegerChar(L'-'));
    EXPECT_FALSE(IsIntegerChar(L'+'));
    for (Char c : {L'.', L',', L'e', L'E', L'0'}) EXPECT_TRUE(IsFloatChar(c)) << char(c);
    EXPECT_FALSE(IsFloatChar(L'+'));
    EXPECT_TRUE(IsSignedFloatChar(L'+'));
    EXPECT_TRUE(IsScientificChar(L'.'));
    EXPECT_FALSE(IsScientificChar(L','));   // "." whatever the settings
    for (Char c : {L'5', L'.', L',', L'-', Char(8), Char(9), Char(13), Char(27)})
        EXPECT_TRUE(IsNumericKey(c)) << int(c);
    EXPECT_FALSE(IsNumericKey(L'a'));
    EXPECT_FALSE(IsNumericKey(L'+'));
}

TEST(VodUtilValues, NaturalCompareIsLogicalWithShlwapiAndOrdinalWithout)
{
    ASSERT_NE(LibraryStrCmpLogicalW(), nullptr);
    EXPECT_LT(NaturalCompareStr(L"file9", L"file10"), 0);
    EXPECT_LT(NaturalCompareStr(L"file2", L"FILE10"), 0);

    VodLibraryShutdown();
    SetModuleHidden(L"shlwapi.dll", true);
    VodLibraryStartup();
    SetModuleHidden(L"shlwapi.dll", false);
    ASSERT_EQ(LibraryStrCmpLogicalW(), nullptr);
    EXPECT_GT(NaturalCompareStr(L"file9", L"file10"), 0);   // "9" > "1"
    EXPECT_GT(NaturalCompareStr(L"abc", L"ABC"), 0);
    EXPECT_EQ(NaturalCompareStr(L"abc", L"abc"), 0);
    EXPECT_LT(NaturalCompareStr(nullptr, L"a"), 0);

    VodLibraryShutdown();   // back as the test main left it
    VodLibraryStartup();
    EXPECT_NE(LibraryStrCmpLogicalW(), nullptr);
}

TEST(VodUtilValues, RandomAndMalformedTextsNeitherCrashNorHang)
{
    std::mt19937 rng(2111);
    const String alphabet = L"0123456789/.-:, eE+()RrCc\"ab\u0663\u00BD\t";
    const wchar_t* formats[] = {L"M/d/yyyy", L"dd.MM.yyyy", L"yyyy-MM-dd", L"", L"x"};
    for (int round = 0; round < 20000; ++round) {
        TLocaleScope locale(round % 3 ? L',' : L'.', round % 3 ? L'.' : L',', L"/.-"[round % 3], L':',
                            formats[round % 5]);
        String s = RandomText(rng, alphabet, round % 100 == 0 ? 400 : 16);
        Byte cls = ClassifyValueText(s);
        ASSERT_LE(cls, 5);
        String inv = LocalToInvariantNumber(s);
        if (cls > 1) {
            EXPECT_EQ(inv, s);
        }
        (void)InvariantToLocalNumber(s);
        (void)ExtractNumberText(s);
        TPoint p;
        (void)ParseRCReference(s, p);
        for (auto parse : {&ParseDateMDY, &ParseDateDMY}) {
            try {
                TDateTime v = parse(s);
                (void)v;
            } catch (const EConvertError&) {
            }
        }
        TDateTime v;
        (void)TryParseLocaleDateTime(s, v);
        (void)LooksLikeDate(s);
        std::uniform_int_distribution<int> word(0, 65535);
        try {
            (void)AddDateParts(Word(word(rng) % 3 ? 0 : word(rng)), Word(word(rng) % 2 ? 0 : word(rng)),
                               Word(word(rng) % 3 ? 0 : word(rng)), Extended(word(rng)) * 3 - 50000, 1.5);
        } catch (const EConvertError&) {
        }
    }
}
