// The clipboard "HTML Format" writer and the filter-expression matcher.
#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "controls/foundation/VodUtil.h"
#include "tests/controls/foundation/VodUtilTestSupport.h"

namespace {

// The eight-digit number after Name in the header of a clipboard text.
Integer HeaderNumber(const String& S, const String& Name)
{
    size_t at = S.find(Name);
    if (at == String::npos) return -1;
    return StrToInt(S.substr(at + Name.size(), 8));
}

String DecodeReferences(const String& S)
{
    String out;
    for (size_t i = 0; i < S.size(); ++i) {
        if (S.compare(i, 2, L"&#") == 0) {
            size_t end = S.find(L';', i);
            out += Char(std::stoul(S.substr(i + 2, end - i - 2)));
            i = end;
        } else {
            out += S[i];
        }
    }
    return out;
}

}  // namespace

TEST(VodUtilFilter, BuildCFHTMLLayout)
{
    String s;
    BuildCFHTML(s);
    const String expected =
        L"Version:1.0\r\nStartHTML:00000097\r\nEndHTML:00000306\r\nStartFragment:00000274\r\n"
        L"EndFragment:00000274\r\n<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">"
        L"<html><head><META http-equiv=Content-Type content=\"text/html; charset=iso-8859-1\"></head>"
        L"<body><!--StartFragment--><!--EndFragment--></body></html>";
    EXPECT_EQ(s, expected);
    EXPECT_EQ(s.size(), 306u);
    EXPECT_EQ(s.substr(97, 9), L"<!DOCTYPE");

    // Characters above U+00FF become references before the offsets are counted.
    s = L"<b>\u00E9\u20AC\U0001F600</b>";
    BuildCFHTML(s);
    const String fragment = L"<b>\u00E9&#8364;&#128512;</b>";
    EXPECT_EQ(HeaderNumber(s, L"EndFragment:"), Integer(274 + fragment.size()));
    EXPECT_EQ(s.substr(274, fragment.size()), fragment);
}

TEST(VodUtilFilter, BuildCFHTMLRoundTripsRandomWideTexts)
{
    std::mt19937 rng(2112);
    std::uniform_int_distribution<int> len(0, 60), kind(0, 3);
    std::uniform_int_distribution<uint32_t> low(1, 0xFF), bmp(0x100, 0xD7FF), astral(0x10000, 0x10FFFF);
    for (int round = 0; round < 2000; ++round) {
        String original;
        for (int i = len(rng); i > 0; --i) {
            int k = kind(rng);
            uint32_t c = k == 0 ? bmp(rng) : k == 1 ? astral(rng) : low(rng);
            if (c == L'&') c = L'a';   // keeps the decoding below unambiguous
            original += Char(c);
        }
        String s = original;
        BuildCFHTML(s);
        for (Char c : s) ASSERT_LE(uint32_t(c), 0xFFu);   // one byte per character
        const Integer startHTML = HeaderNumber(s, L"StartHTML:"), endHTML = HeaderNumber(s, L"EndHTML:");
        const Integer startFrag = HeaderNumber(s, L"StartFragment:"), endFrag = HeaderNumber(s, L"EndFragment:");
        ASSERT_EQ(endHTML, Integer(s.size()));
        EXPECT_EQ(s.substr(size_t(startHTML), 15), L"<!DOCTYPE HTML ");
        EXPECT_EQ(s.substr(size_t(startFrag) - 20, 20), L"<!--StartFragment-->");
        EXPECT_EQ(s.substr(size_t(endFrag), 18), L"<!--EndFragment-->");
        EXPECT_EQ(DecodeReferences(s.substr(size_t(startFrag), size_t(endFrag - startFrag))), original);
    }
}

TEST(VodUtilFilter, QuoteAwareScanners)
{
    Integer p = 0;
    EXPECT_EQ(FindFirstUnquotedOf(L"&|", L"\"a&b\"|c&d", p), L'|');
    EXPECT_EQ(p, 6);
    EXPECT_EQ(FindFirstUnquotedOf(L"&|", L"\"a&b", p), Char(0));
    EXPECT_EQ(p, -1);
    EXPECT_EQ(RemoveUnquotedBlanks(L" a b \" c d \" e "), L"ab\" c d \"e");
    EXPECT_EQ(MatchingParenPos(L"(a(b)c)d)"), 7);
    EXPECT_EQ(MatchingParenPos(L"((a)"), 0);
    EXPECT_EQ(MatchingParenPos(L")("), 0);
    const Char* text = L"\"x>1\">2";
    EXPECT_EQ(FindUnquotedChar(text, L'>'), text + 5);
    EXPECT_EQ(FindUnquotedChar(L"\"x>1", L'>'), nullptr);
    EXPECT_EQ(FindUnquotedChar(nullptr, L'>'), nullptr);
    auto locale = GermanLocale();
    EXPECT_EQ(NumberTextForCompare(L"1.234,5"), L"1234.5");
}

TEST(VodUtilFilter, MatchFilterExprTable)
{
    auto locale = UsLocale();
    struct Case { const wchar_t* Expr; const wchar_t* Value; bool CaseSensitive; bool Match; };
    const Case cases[] = {
        // Numbers.
        {L">10&<20", L"15", false, true}, {L">10&<20", L"25", false, false}, {L">10&<20", L"10", false, false},
        {L">=10&<=20", L"10", false, true}, {L">=10&<=20", L"20", false, true},
        {L"10|20", L"10", false, true}, {L"10|20", L"20", false, true}, {L"10|20", L"15", false, false},
        {L"10;20", L"20", false, true}, {L"10^20", L"20", false, true},
        {L">9", L"10", false, true},                     // numbers, not texts ("10" < "9" as texts)
        {L">1,000", L"1,500.5", false, true},
        {L"<-5", L"-10", false, true},
        // Texts.
        {L"=abc", L"abc", false, true}, {L"= abc ", L"ABC", false, true}, {L"abc", L"ABC", true, false},
        {L">b", L"c", false, true}, {L">b", L"a", false, false}, {L">b", L"b", false, false},
        {L">=b", L"b", false, true}, {L"<b", L"a", false, true},
        // Wildcards and negation.
        {L"A*", L"apple", false, true}, {L"A*", L"Avocado", false, true}, {L"A*", L"banana", false, false},
        {L"A*", L"apple", true, false},
        {L"?b", L"ab", false, true}, {L"?b", L"b", false, false}, {L"*", L"", false, true},
        {L"a*c*e", L"abcde", false, true}, {L"a*c*e", L"abcdef", false, false}, {L"**b", L"b", false, true},
        {L"!a*", L"banana", false, true}, {L"!a*", L"apple", false, false},
        {L"\"a b\"", L"a b", false, true},       // a quoted blank stays
        {L"a b", L"ab", false, true},             // an unquoted one goes
        {L"\"\"\"a\"", L"\"a", false, true},      // a doubled quote is a quote
        {L"\"!a\"", L"!a", false, true},          // "!" inside a leading quote is a character
        // The empty value.
        {L"\"\"", L"", false, true}, {L"\"\"", L"x", false, false}, {L"", L"", false, true},
        {L"", L"x", false, false},
        // Groups, without precedence.
        {L"(a|b)&c", L"a", false, false}, {L"(a|b)&c", L"c", false, false},
        {L"a|b&c", L"a", false, false}, {L"a|b&c", L"c", false, false},
        {L"(>1&<5)|(>10&<20)", L"3", false, true}, {L"(>1&<5)|(>10&<20)", L"15", false, true},
        {L"(>1&<5)|(>10&<20)", L"7", false, false},
        {L"x|(a|b)", L"b", false, true}, {L"((a))", L"a", false, true}, {L"(a)", L"b", false, false},
        {L"\"(a\"|b", L"(A", false, true},
        // A "(" without its ")": the rest is the group, and the scan ends.
        {L"(a|b", L"b", false, true}, {L"(a|b", L"c", false, false}, {L"x|(a", L"a", false, true},
        {L"(", L"", false, true}, {L"((((", L"x", false, false},
        // Dates compare as dates.
        {L">=1/1/2020", L"1/1/2020", false, true}, {L">=1/1/2020", L"3/5/2021", false, true},
        {L">=1/1/2020", L"12/31/2019", false, false},
        {L"<2/1/2020", L"1/15/2020", false, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MatchFilterExpr(c.Expr, c.Value, c.CaseSensitive), c.Match)
            << UTF8Encode(c.Expr) << " on " << UTF8Encode(c.Value);
}

TEST(VodUtilFilter, ConditionOperandScan)
{
    auto locale = UsLocale();
    // A single blank outside quotes passes (and cuts the operand's end), a
    // second one ends it; the less operand ends at any blank.
    EXPECT_TRUE(MatchCondition(L">ab cd", L"ab c0"));     // operand "ab c"
    EXPECT_FALSE(MatchCondition(L">ab cd", L"ab c"));
    EXPECT_TRUE(MatchCondition(L">ab  cd", L"ab0"));      // operand "ab"
    EXPECT_TRUE(MatchCondition(L">\"ab cd\"", L"ab cd0"));   // operand "ab cd"
    EXPECT_FALSE(MatchCondition(L">\"ab cd\"", L"ab cd"));
    EXPECT_TRUE(MatchCondition(L"<b c", L"a"));           // operand "b"
    EXPECT_FALSE(MatchCondition(L"<b c", L"b"));
    EXPECT_TRUE(MatchCondition(L">=\"", L""));            // an empty operand
    EXPECT_TRUE(MatchCondition(L">5&<9", L"7"));
    EXPECT_FALSE(MatchCondition(L">5&<9", L"9"));
    EXPECT_TRUE(MatchCondition(L"<5^>9", L"10"));
    EXPECT_FALSE(MatchCondition(L"<5^>9", L"7"));
    EXPECT_TRUE(MatchCondition(L"!>5", L"3"));            // not greater: the pattern ">5", negated
    EXPECT_TRUE(MatchCondition(nullptr, nullptr));
    // Operands are cut to 255 characters.
    String longer(300, L'b');
    EXPECT_FALSE(MatchCondition((L">" + longer).c_str(), String(255, L'b').c_str()));
    EXPECT_TRUE(MatchCondition((L">=" + longer).c_str(), String(255, L'b').c_str()));
}

TEST(VodUtilFilter, NumbersDatesAndTextsUnderOtherSettings)
{
    auto locale = GermanLocale();
    EXPECT_TRUE(MatchFilterExpr(L">1.000,5", L"1.500", false));
    EXPECT_FALSE(MatchFilterExpr(L">1.000,5", L"999,9", false));
    EXPECT_TRUE(MatchFilterExpr(L">31.12.2019", L"01.01.2020", false));   // dates, not numbers
    EXPECT_FALSE(MatchFilterExpr(L">31.12.2019", L"30.12.2019", false));
    TLocaleScope iso(L',', L'.', L'-', L':', L"yyyy-MM-dd");
    EXPECT_TRUE(MatchFilterExpr(L"<2020-02-01", L"2020-01-31", false));
    EXPECT_FALSE(MatchFilterExpr(L"<2020-02-01", L"2020-02-01", false));
}

TEST(VodUtilFilter, MalformedAndHostileExpressionsEndQuickly)
{
    auto locale = UsLocale();
    std::mt19937 rng(2113);
    const String alphabet = L"()&|;^!<>=*?\"ab1/ .,-";
    std::uniform_int_distribution<int> len(0, 30), pick(0, int(alphabet.size()) - 1);
    for (int round = 0; round < 20000; ++round) {
        String expr, value;
        for (int i = len(rng); i > 0; --i) expr += alphabet[size_t(pick(rng))];
        for (int i = len(rng) / 3; i > 0; --i) value += alphabet[size_t(pick(rng))];
        (void)MatchFilterExpr(expr, value, round % 2 == 0);
        (void)MatchCondition(expr.c_str(), value.c_str());
    }
    const auto started = std::chrono::steady_clock::now();
    // Many stars against a long value that almost matches.
    String stars;
    for (int i = 0; i < 40; ++i) stars += L"*a";
    EXPECT_FALSE(MatchFilterExpr(stars + L"*b", String(2000, L'a'), true));
    // Deeply nested and unclosed groups: nesting as deep as anyone types
    // evaluates; beyond 32 levels the inner group is one plain term.
    EXPECT_TRUE(MatchFilterExpr(String(32, L'(') + L"a|b" + String(32, L')'), L"b", true));
    EXPECT_FALSE(MatchFilterExpr(String(33, L'(') + L"a|b" + String(33, L')'), L"b", true));
    EXPECT_FALSE(MatchFilterExpr(String(100000, L'(') + L"a" + String(100000, L')'), L"a", true));
    EXPECT_FALSE(MatchFilterExpr(String(100000, L'('), L"a", true));
    // Many terms.
    String terms;
    for (int i = 0; i < 50000; ++i) terms += L"x|";
    EXPECT_TRUE(MatchFilterExpr(terms + L"a", L"a", true));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
}
