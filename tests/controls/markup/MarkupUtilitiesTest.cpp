#include <gtest/gtest.h>

#include "controls/markup/MarkupEngine.h"
#include "controls/markup/VurHTMLE.h"

namespace {
String Strip(const String& s)
{
    String r;
    StripMarkup(s, r);
    return r;
}
String GridStrip(const String& s)
{
    String r;
    VurHTMLE::StripMarkup(s, r);
    return r;
}
String Tags(const String& s)
{
    String r;
    RemoveTags(s, r);
    return r;
}
String GridTags(const String& s)
{
    String r;
    VurHTMLE::RemoveTags(s, r);
    return r;
}
}  // namespace

TEST(MarkupUtilities, StripMarkupAndRemoveTagsInBothUnits)
{
    struct {
        const wchar_t* Text;
        const wchar_t* Strip;
        const wchar_t* GridStrip;
    } const cases[] = {
        {L"a<br>b<HR>c", L"a\r\nb\r\nc", L"a\r\nb\r\nc"},
        {L"one<z>hidden</z>two", L"onetwo", L"onehiddentwo"},
        {L"one<Z>hidden</z>two", L"onehiddentwo", L"onehiddentwo"},   // mixed case hides nothing
        {L"<B>b</B><z>h</z>t", L"bt", L"bht"},                      // tags before a hidden section go too
        {L"<Z>x</Z><b>y</b><z>w</z>", L"y", L"xyw"},
        {L"a>b<B>c", L"a>bc", L"a>bc"},
        {L"ab<c", L"ab<c", L"ab<c"},
        {L"<A href=\"x\">link</A>!", L"link!", L"link!"},
        {L"", L"", L""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Strip(c.Text), c.Strip) << c.Text;
        EXPECT_EQ(GridStrip(c.Text), c.GridStrip) << c.Text;
    }
    EXPECT_EQ(Tags(L"a<z>b</z><br>c"), L"abc");
    EXPECT_EQ(Tags(L"a>b<B>c"), L"a>bc");
    EXPECT_EQ(GridTags(L"a>b<B>c"), L"a>b<B>c");   // a ">" before the first "<" stops it
    EXPECT_EQ(GridTags(L"<B>a</B>b<c"), L"ab<c");
}

TEST(MarkupUtilities, PlainToMarkupPosTakesTheSmallestPosition)
{
    struct {
        const wchar_t* Text;
        Integer N, Want;
    } const cases[] = {
        {L"abc", 1, 1},    {L"abc", 3, 3},   {L"abc", 4, 4},   {L"abc", 5, 0},
        {L"abc", 0, 0},    {L"<B>abc", 1, 1}, {L"<B>abc", 2, 5}, {L"a<B>bc", 2, 2},
        {L"a<B></B>", 2, 2}, {L"a<b", 2, 2},  {L"a<b", 4, 4},
    };
    for (const auto& c : cases) EXPECT_EQ(PlainToMarkupPos(c.Text, c.N), c.Want) << c.Text << " " << c.N;
    Integer p = -1;
    EXPECT_EQ(FindTextFrom(L"b", L"abab", 2, p, true), 4);
    EXPECT_EQ(p, 4);
    EXPECT_EQ(FindTextFrom(L"B", L"abab", 0, p, true), 0);
    EXPECT_EQ(p, 0);
    EXPECT_EQ(FindTextFrom(L"B", L"abab", 0, p, false), 2);
}

TEST(MarkupUtilities, HighlightAndRemoveTheMark)
{
    struct {
        const wchar_t* Text;
        const wchar_t* Sub;
        bool Case;
        const wchar_t* Want;
    } const cases[] = {
        {L"a Word and WORD", L"word", false, L"a <hi>Word</hi> and <hi>WORD</hi>"},
        {L"a Word and WORD", L"word", true, L"a Word and WORD"},
        {L"xyxy", L"xy", true, L"<hi>xy</hi>xy"},   // a hit right after a hit is not marked
        {L"<B>bold</B> text", L"old", true, L"<B>b<hi>old</hi></B> text"},
        {L"<B>ab</B>", L"ab", true, L"<hi><B>ab</hi></B>"},
        {L"none", L"zz", true, L"none"},
    };
    for (const auto& c : cases) {
        String r, back;
        HighlightMarkupText(c.Text, c.Sub, L"hi", r, c.Case);
        EXPECT_EQ(r, c.Want) << c.Text;
        RemoveMarkupTag(r, L"hi", back);
        EXPECT_EQ(back, c.Text) << c.Text;
    }
    String r;
    RemoveMarkupTag(L"<e>a</E><e x>", L"E", r);
    EXPECT_EQ(r, L"a<e x>");   // tags with attributes are not matched
}

TEST(GridMarkupUtilities, HighlightPlainAndMarkupCells)
{
    struct {
        const wchar_t* Text;
        const wchar_t* Sub;
        bool DoCase, Full;
        const wchar_t* Want;
    } const cases[] = {
        {L"a<b word", L"WORD", false, false, L"a&lt;b <HI>word</HI>"},
        {L"a<b", L"zz", false, false, L"a<b"},   // no hit: unchanged, not encoded
        {L"Word word", L"WORD", false, false, L"<HI>Word</HI> <HI>word</HI>"},
        {L"Word word", L"word", true, false, L"Word <HI>word</HI>"},
        {L"<b>wo</b>rd x", L"WORD", false, false, L"<b><HI>wo</b>rd</HI> x"},
        {L"<font color=\"clred\">ab</font>cd", L"BC", false, false,
         L"<font color=\"clred\">a<HI>b</font></HI><HI>c</HI>d"},
        {L"&amp;ab</b>", L"AB", false, false, L"&amp;<HI>ab</HI></b>"},
        {L"&eacute;t&eacute;</b>", L"t", true, false, L"&eacute;<HI>t</HI>&eacute;</b>"},
        {L"whole", L"WHOLE", false, true, L"<HI>whole</HI>"},
        {L"whole", L"WHO", false, true, L"whole"},
        {L"a<hi>b</HI>c", L"zz", false, false, L"abc"},   // old marks go first
    };
    for (const auto& c : cases) {
        String r;
        VurHTMLE::HighlightMarkupText(c.Text, c.Sub, L"hi", c.DoCase, c.Full, r);
        EXPECT_EQ(r, c.Want) << c.Text << " / " << c.Sub;
    }
    // Twice gives the same as once; removing the mark restores a plain text.
    String once, twice, back;
    VurHTMLE::HighlightMarkupText(L"plain word", L"WORD", L"hi", false, false, once);
    VurHTMLE::HighlightMarkupText(once, L"WORD", L"hi", false, false, twice);
    EXPECT_EQ(once, twice);
    VurHTMLE::HighlightMarkupText(L"a<b & c", L"C", L"e", false, false, once);
    EXPECT_EQ(once, L"a&lt;b &amp; <E>c</E>");
    VurHTMLE::RemoveMarkupTag(once, L"e", back);
    EXPECT_EQ(back, L"a<b & c");
}
