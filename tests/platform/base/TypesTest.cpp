#include <gtest/gtest.h>

#include "platform/base/Exceptions.h"
#include "platform/base/Types.h"

TEST(Types, Utf8RoundTripAndMalformedInput)
{
    String s = L"Gr\u00FC\u00DFe \u20AC \U0001F600";
    EXPECT_EQ(UTF8ToString(UTF8Encode(s)), s);
    // Truncated, overlong and stray continuation bytes become U+FFFD.
    EXPECT_EQ(UTF8ToString("a\xC3"), L"a\uFFFD");
    EXPECT_EQ(UTF8ToString("\xC0\xAF"), L"\uFFFD\uFFFD");
    EXPECT_EQ(UTF8ToString("\x80z"), L"\uFFFDz");
}

TEST(Types, MulDivRoundsHalfAwayFromZeroAndRejectsZeroDivisor)
{
    struct { Integer a, b, c, r; } cases[] = {
        {10, 96, 72, 13}, {3, 1, 2, 2}, {-3, 1, 2, -2}, {5, 5, 0, -1}, {7, 3, -2, -11},
    };
    for (auto& k : cases) EXPECT_EQ(MulDiv(k.a, k.b, k.c), k.r) << k.a << "*" << k.b << "/" << k.c;
}

TEST(Types, RectangleRules)
{
    TRect r;
    EXPECT_TRUE(IntersectRect(r, Rect(0, 0, 10, 10), Rect(5, 5, 20, 20)));
    EXPECT_EQ(r, Rect(5, 5, 10, 10));
    EXPECT_FALSE(IntersectRect(r, Rect(0, 0, 10, 10), Rect(10, 0, 20, 10)));
    EXPECT_TRUE(IsRectEmpty(r));
    EXPECT_TRUE(PtInRect(Rect(0, 0, 10, 10), Point(0, 9)));
    EXPECT_FALSE(PtInRect(Rect(0, 0, 10, 10), Point(10, 5)));
    EXPECT_TRUE(UnionRect(r, Rect(0, 0, 0, 0), Rect(1, 1, 2, 2)));
    EXPECT_EQ(r, Rect(1, 1, 2, 2));
}

TEST(Types, ExceptionKeepsMessageAndClass)
{
    try {
        throw EConvertError(L"'x' is not a valid integer value");
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"'x' is not a valid integer value");
        EXPECT_EQ(e.ClassName(), L"EConvertError");
        EXPECT_STREQ(e.what(), "'x' is not a valid integer value");
    }
}
