#include "platform/base/Unicode.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

TEST(UnicodeFold, CompositeSplitsPrecomposedLettersFully)
{
    struct Case { const wchar_t* In; const wchar_t* Out; };
    const Case cases[] = {
        {L"", L""},
        {L"abc 123", L"abc 123"},
        {L"caf\u00E9", L"cafe\u0301"},
        {L"\u00C5ngstr\u00F6m", L"A\u030Angstro\u0308m"},
        {L"\u1EC7", L"e\u0323\u0302"},          // two marks, fully decomposed
        {L"\u01D5", L"U\u0308\u0304"},
        {L"\u00DF\u00C6\u00D8", L"\u00DF\u00C6\u00D8"},   // no canonical decomposition
        {L"\uFB01", L"\uFB01"},                 // a ligature is a compatibility form only
        {L"\U0001D15E", L"\U0001D157\U0001D165"},   // outside the basic plane
    };
    for (const Case& c : cases) EXPECT_EQ(FoldComposite(c.In), String(c.Out)) << UTF8Encode(c.In);
}

TEST(UnicodeFold, FoldStringWCountsWritesAndRefuses)
{
    const Char* src = L"\u00E9t\u00E9";
    EXPECT_EQ(FoldStringW(MAP_COMPOSITE, src, 3, nullptr, 0), 5);
    EXPECT_EQ(FoldStringW(MAP_COMPOSITE, src, -1, nullptr, 0), 6);   // the null counts too

    Char buf[8] = {};
    ASSERT_EQ(FoldStringW(MAP_COMPOSITE, src, -1, buf, 8), 6);
    EXPECT_EQ(String(buf), L"e\u0301te\u0301");

    Char small[4] = {L'x', L'x', L'x', L'x'};
    EXPECT_EQ(FoldStringW(MAP_COMPOSITE, src, 3, small, 4), 0);   // too small
    EXPECT_EQ(FoldStringW(MAP_PRECOMPOSED, src, 3, buf, 8), 0);   // unsupported mapping
    EXPECT_EQ(FoldStringW(MAP_COMPOSITE | MAP_FOLDDIGITS, src, 3, buf, 8), 0);
    EXPECT_EQ(FoldStringW(MAP_COMPOSITE, nullptr, 3, buf, 8), 0);
    EXPECT_EQ(FoldStringW(MAP_COMPOSITE, src, 0, buf, 8), 0);
    EXPECT_EQ(FoldStringW(MAP_COMPOSITE, src, -2, buf, 8), 0);
}

TEST(UnicodeFold, RandomTextsNeverOverrunAndAgreeWithTheWholeTextForm)
{
    std::mt19937 rng(15);
    std::uniform_int_distribution<int> len(0, 40);
    std::uniform_int_distribution<uint32_t> code(1, 0x10FFFF);
    for (int round = 0; round < 500; ++round) {
        String s;
        for (int i = len(rng); i > 0; --i) {
            uint32_t c = code(rng);
            if (round % 2) c = 0xC0 + c % 0x2000;   // where most precomposed letters live
            s += Char(c);
        }
        int need = FoldStringW(MAP_COMPOSITE, s.data(), int(s.size()), nullptr, 0);
        String whole = FoldComposite(s);
        ASSERT_EQ(size_t(need), whole.size());
        if (need == 0) continue;
        std::vector<Char> buf(static_cast<size_t>(need));
        ASSERT_EQ(FoldStringW(MAP_COMPOSITE, s.data(), int(s.size()), buf.data(), need), need);
        EXPECT_EQ(String(buf.begin(), buf.end()), whole);
        if (need > int(s.size())) {
            EXPECT_EQ(FoldStringW(MAP_COMPOSITE, s.data(), int(s.size()), buf.data(), need - 1), 0);
        }
    }
    // Code units no Unicode table knows pass through unchanged.
    String odd{Char(0x110000), Char(-5)};
    EXPECT_EQ(FoldComposite(odd), odd);
}

TEST(UnicodeNumber, NumberCategories)
{
    struct Case { Char Ch; bool Number; };
    const Case cases[] = {
        {L'0', true}, {L'9', true}, {L'/', false}, {L':', false}, {L'a', false}, {L'-', false},
        {L'\u00B2', true},    // superscript two: other number
        {L'\u00BD', true},    // one half: other number
        {L'\u0663', true},    // Arabic-Indic three: decimal digit
        {L'\u0967', true},    // Devanagari one
        {L'\uFF15', true},    // full-width five
        {L'\u2163', true},    // Roman numeral four: letter number
        {L'\u3007', true},    // ideographic zero: letter number
        {L'\u2460', true},    // circled one
        {L'\U0001D7CE', true},  // mathematical bold zero
        {L'\u00C0', false}, {L'\u4E00', false}, {L'\u2028', false},
        {Char(0x110000), false}, {Char(-1), false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsUnicodeNumber(c.Ch), c.Number) << std::hex << uint32_t(c.Ch);
    int ascii = 0;
    for (int c = 0; c < 128; ++c) ascii += IsUnicodeNumber(Char(c));
    EXPECT_EQ(ascii, 10);
}
