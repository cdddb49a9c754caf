#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/base/SysUtils.h"

TEST(SysUtilsStrings, PositionsAreOneBasedAndClipped)
{
    EXPECT_EQ(Pos(L"lo", L"hello"), 4);
    EXPECT_EQ(Pos(L"", L"hello"), 0);
    EXPECT_EQ(Pos(L"x", L"hello"), 0);
    EXPECT_EQ(PosEx(L"l", L"hello", 4), 4);
    EXPECT_EQ(PosEx(L"l", L"hello", 5), 0);
    EXPECT_EQ(PosEx(L"h", L"hello", 0), 0);
    EXPECT_EQ(PosEx(L"o", L"hello", 6), 0);

    struct { Integer index, count; const wchar_t* want; } copies[] = {
        {2, 3, L"ell"}, {0, 2, L"he"}, {-5, 2, L"he"}, {4, 100, L"lo"}, {6, 1, L""}, {2, 0, L""}, {2, -1, L""},
    };
    for (auto& c : copies) EXPECT_EQ(Copy(L"hello", c.index, c.count), c.want) << c.index << "," << c.count;

    struct { Integer index, count; const wchar_t* want; } deletes[] = {
        {2, 2, L"hlo"}, {0, 2, L"hello"}, {5, 10, L"hell"}, {6, 1, L"hello"}, {1, 0, L"hello"},
    };
    for (auto& d : deletes) {
        String s = L"hello";
        Delete(s, d.index, d.count);
        EXPECT_EQ(s, d.want) << d.index << "," << d.count;
    }

    struct { Integer index; const wchar_t* want; } inserts[] = {
        {1, L"XYabc"}, {0, L"XYabc"}, {2, L"aXYbc"}, {4, L"abcXY"}, {99, L"abcXY"},
    };
    for (auto& i : inserts) {
        String s = L"abc";
        Insert(L"XY", s, i.index);
        EXPECT_EQ(s, i.want) << i.index;
    }
}

TEST(SysUtilsStrings, TrimCaseAndSmallHelpers)
{
    EXPECT_EQ(Trim(L"\t a b \r\n"), L"a b");
    EXPECT_EQ(TrimLeft(L"  a "), L"a ");
    EXPECT_EQ(TrimRight(L"  a \x01"), L"  a");
    EXPECT_EQ(Trim(L" \t "), L"");

    EXPECT_EQ(UpperCase(L"abc\u00E9z"), L"ABC\u00E9Z");
    EXPECT_EQ(LowerCase(L"ABC\u00C9Z"), L"abc\u00C9z");
    EXPECT_EQ(AnsiUpperCase(L"stra\u00DFe \u00E9t\u00E9 \u00FF \u0142\u00F3d\u017A \u03B1\u03C2 \u0436\u0451"),
              L"STRA\u00DFE \u00C9T\u00C9 \u0178 \u0141\u00D3D\u0179 \u0391\u03A3 \u0416\u0401");
    EXPECT_EQ(AnsiLowerCase(L"\u00C9T\u00C9 \u0178 \u0141\u00D3D\u0179 \u0391\u03A3 \u0416\u0401 \u0130"),
              L"\u00E9t\u00E9 \u00FF \u0142\u00F3d\u017A \u03B1\u03C3 \u0436\u0451 i");

    EXPECT_EQ(StringOfChar(L'-', 3), L"---");
    EXPECT_EQ(StringOfChar(L'-', -1), L"");
    EXPECT_EQ(LeftStr(L"abc", 2), L"ab");
    EXPECT_EQ(LeftStr(L"abc", 9), L"abc");
    EXPECT_EQ(RightStr(L"abc", 2), L"bc");
    EXPECT_EQ(RightStr(L"abc", 9), L"abc");
    EXPECT_EQ(QuotedStr(L"it's"), L"'it''s'");
    EXPECT_EQ(FoldStringComposite(L"caf\u00E9 \u0160"), L"cafe\u0301 S\u030C");
}

TEST(SysUtilsStrings, StringReplaceFlags)
{
    struct { const wchar_t *s, *from, *to; TReplaceFlags flags; const wchar_t* want; } cases[] = {
        {L"a-b-c", L"-", L"+", rfNone, L"a+b-c"},
        {L"a-b-c", L"-", L"+", rfReplaceAll, L"a+b+c"},
        {L"Ab ab AB", L"ab", L"x", rfReplaceAll, L"Ab x AB"},
        {L"Ab ab AB", L"ab", L"x", rfReplaceAll | rfIgnoreCase, L"x x x"},
        {L"\u00C9t\u00E9", L"\u00E9", L"e", rfReplaceAll | rfIgnoreCase, L"ete"},
        {L"aaa", L"aa", L"a", rfReplaceAll, L"aa"},   // no rescan of replaced text
        {L"abc", L"", L"x", rfReplaceAll, L"abc"},
    };
    for (auto& c : cases) EXPECT_EQ(StringReplace(c.s, c.from, c.to, c.flags), c.want) << c.s << " " << c.from;
}

TEST(SysUtilsStrings, OrdinalAndAsciiComparisons)
{
    EXPECT_LT(CompareStr(L"B", L"a"), 0);
    EXPECT_GT(CompareStr(L"ab", L"a"), 0);
    EXPECT_EQ(CompareStr(L"", L""), 0);
    EXPECT_EQ(CompareText(L"HeLLo", L"hello"), 0);
    EXPECT_LT(CompareText(L"a", L"B"), 0);
    EXPECT_NE(CompareText(L"\u00E9", L"\u00C9"), 0);   // ASCII only
    EXPECT_TRUE(SameText(L"ABC", L"abc"));
    EXPECT_FALSE(SameText(L"ABC", L"abd"));
    EXPECT_TRUE(AnsiSameText(L"\u00C9T\u00C9", L"\u00E9t\u00E9"));

    EXPECT_EQ(StrComp(L"abc", L"abc"), 0);
    EXPECT_LT(StrComp(L"ab", L"abc"), 0);
    EXPECT_GT(StrComp(L"abc", nullptr), 0);
    EXPECT_EQ(StrLComp(L"abcX", L"abcY", 3), 0);
    EXPECT_LT(StrLComp(L"abcX", L"abcY", 4), 0);
    EXPECT_EQ(StrIComp(L"ABC", L"abc"), 0);
    EXPECT_EQ(StrLIComp(L"ABCx", L"abcy", 3), 0);
}

TEST(SysUtilsStrings, CollationSortsLikeAUser)
{
    // Primary: base letters, accents and case ignored; then accents; then case.
    std::vector<String> words = {L"\u00E9clair", L"Zebra", L"apple", L"Eclair", L"eclair", L"10", L"_x",
                                 L"Apple", L"\u00C4rger", L"b"};
    std::sort(words.begin(), words.end(), [](const String& a, const String& b) { return AnsiCompareStr(a, b) < 0; });
    std::vector<String> want = {L"_x", L"10", L"apple", L"Apple", L"\u00C4rger", L"b", L"eclair", L"Eclair",
                                L"\u00E9clair", L"Zebra"};
    EXPECT_EQ(words, want);

    EXPECT_EQ(AnsiCompareText(L"Apple", L"apple"), 0);
    EXPECT_LT(AnsiCompareText(L"eclair", L"\u00E9clair"), 0);
    EXPECT_LT(AnsiCompareText(L"\u00E9clair", L"ecluse"), 0);   // accent only breaks ties
    EXPECT_LT(AnsiCompareStr(L"a", L"A"), 0);
    EXPECT_EQ(AnsiCompareStr(L"a", L"a"), 0);
    EXPECT_EQ(AnsiCompareText(L"Stra\u00DFe", L"STRASSE") != 0, true);
    EXPECT_LT(AnsiCompareText(L"Strasse", L"Stra\u00DFe"), 0);
    EXPECT_LT(AnsiCompareText(L"Stra\u00DFe", L"Strasser"), 0);
}

TEST(SysUtilsStrings, LogicalCompareOrdersNumbersByValue)
{
    std::vector<String> names = {L"file10.txt", L"File2.txt", L"file1.txt", L"file01b", L"file", L"img 9", L"img 010"};
    std::sort(names.begin(), names.end(),
              [](const String& a, const String& b) { return StrCmpLogicalW(a.c_str(), b.c_str()) < 0; });
    std::vector<String> want = {L"file", L"file1.txt", L"file01b", L"File2.txt", L"file10.txt", L"img 9", L"img 010"};
    EXPECT_EQ(names, want);
    EXPECT_EQ(StrCmpLogicalW(L"abc", L"ABC") != 0, true);   // still a total order
    EXPECT_EQ(StrCmpLogicalW(L"x", L"x"), 0);
    EXPECT_LT(StrCmpLogicalW(L"a99999999999999999999", L"a100000000000000000000"), 0);
}

TEST(SysUtilsIntegers, ToText)
{
    EXPECT_EQ(IntToStr(0), L"0");
    EXPECT_EQ(IntToStr(-2147483647 - 1), L"-2147483648");
    EXPECT_EQ(IntToStr(Int64(INT64_MIN)), L"-9223372036854775808");
    EXPECT_EQ(IntToStr(size_t(42)), L"42");
    EXPECT_EQ(IntToHex(255, 4), L"00FF");
    EXPECT_EQ(IntToHex(-1, 2), L"FFFFFFFF");
    EXPECT_EQ(IntToHex(Int64(-1), 1), L"FFFFFFFFFFFFFFFF");
    EXPECT_EQ(IntToHex(0, 0), L"0");
}

TEST(SysUtilsIntegers, FromTextWithErrorPositions)
{
    struct { const wchar_t* s; bool ok; Integer value; Integer code; } cases[] = {
        {L"123", true, 123, 0},
        {L"  -42", true, -42, 0},
        {L"+7", true, 7, 0},
        {L"$1F", true, 31, 0},
        {L"0x1f", true, 31, 0},
        {L"-$10", true, -16, 0},
        {L"$FFFFFFFF", true, -1, 0},
        {L"2147483647", true, 2147483647, 0},
        {L"-2147483648", true, -2147483647 - 1, 0},
        {L"2147483648", false, 0, 10},
        {L"$100000000", false, 0, 10},
        {L"12 ", false, 0, 3},
        {L"1a2", false, 0, 2},
        {L"", false, 0, 1},
        {L"-", false, 0, 2},
        {L"$", false, 0, 2},
        {L"\t1", false, 0, 1},
        {L"1.0", false, 0, 2},
    };
    for (auto& c : cases) {
        Integer v = -999, code = -1;
        Val(c.s, v, code);
        EXPECT_EQ(code, c.code) << "'" << UTF8Encode(c.s) << "'";
        Integer t = -999;
        EXPECT_EQ(TryStrToInt(c.s, t), c.ok) << UTF8Encode(c.s);
        if (c.ok) {
            EXPECT_EQ(v, c.value) << UTF8Encode(c.s);
            EXPECT_EQ(StrToInt(c.s), c.value);
        } else {
            EXPECT_EQ(StrToIntDef(c.s, 77), 77);
        }
    }

    try {
        StrToInt(L"12x");
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), L"'12x' is not a valid integer value");
    }

    Int64 big = 0;
    EXPECT_TRUE(TryStrToInt64(L"-9223372036854775808", big));
    EXPECT_EQ(big, INT64_MIN);
    EXPECT_FALSE(TryStrToInt64(L"9223372036854775808", big));
    EXPECT_EQ(StrToInt64(L"$FFFFFFFFFFFFFFFF"), -1);
    EXPECT_EQ(StrToInt64(L"5000000000"), 5000000000LL);
    EXPECT_EQ(StrToInt64Def(L"x", 3), 3);
}

TEST(SysUtilsRandom, StayInRange)
{
    Randomize();
    for (int i = 0; i < 1000; ++i) {
        Integer r = Random(10);
        ASSERT_GE(r, 0);
        ASSERT_LT(r, 10);
        Extended f = Random();
        ASSERT_GE(f, 0.0);
        ASSERT_LT(f, 1.0);
        Integer g = RandomRange(5, -3);
        ASSERT_GE(g, -3);
        ASSERT_LT(g, 5);
    }
    EXPECT_EQ(Random(0), 0);
}

#include "platform/base/DebugOutput.h"

TEST(DebugOutputTest, LinesGoToTheInstalledSinkThenBackToStandardError)
{
    std::vector<String> lines;
    TDebugOutputSink old = SetDebugOutputSink([&](const String& l) { lines.push_back(l); });
    OutputDebugString(L"one");
    OutputDebugString(nullptr);
    SetDebugOutputSink(old);
    testing::internal::CaptureStderr();
    OutputDebugString(L"two");
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(lines, (std::vector<String>{L"one", L""}));
    EXPECT_EQ(err, "two\n");
}
