#include <gtest/gtest.h>

#include "platform/gfx/Gdi.h"
#include "tests/platform/gfx/GdiTestUtil.h"

namespace {
constexpr COLORREF kWhite = RGB(255, 255, 255), kBlack = 0, kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255);
}

TEST(GdiDraw, RectangleFillRectAndLineToFollowTheExclusiveEdgeRules)
{
    TTestCanvas c(16, 16);
    TSelect pen(c.Dc, CreatePen(PS_SOLID, 1, kBlack));
    TSelect brush(c.Dc, CreateSolidBrush(kRed));
    Rectangle(c.Dc, 2, 2, 12, 12);
    EXPECT_EQ(c.Row(2, 0, 14, kBlack), "..##########..");   // pen covers 2..11
    EXPECT_EQ(c.Row(5, 0, 14, kRed), "...########...");     // brush inside
    EXPECT_EQ(c.Px(11, 11), kBlack);
    EXPECT_EQ(c.Px(12, 12), kWhite);

    RECT r{0, 14, 5, 16};
    HBRUSH blue = CreateSolidBrush(kBlue);
    FillRect(c.Dc, &r, blue);
    DeleteObject(blue);
    EXPECT_EQ(c.Row(14, 0, 7, kBlue), "#####..");

    MoveToEx(c.Dc, 0, 0, nullptr);
    LineTo(c.Dc, 5, 0);
    EXPECT_EQ(c.Row(0, 0, 7, kBlack), "#####..");   // the end point stays untouched
}

TEST(GdiDraw, NullPenRectangleIsOnePixelSmaller)
{
    TTestCanvas c(12, 12);
    SelectObject(c.Dc, GetStockObject(NULL_PEN));
    TSelect brush(c.Dc, CreateSolidBrush(kRed));
    Rectangle(c.Dc, 0, 0, 10, 10);
    EXPECT_EQ(c.Count(kRed, 12, 12), 81);
}

TEST(GdiDraw, XorDrawingTwiceLeavesNoTrace)
{
    TTestCanvas c(40, 40, RGB(10, 200, 30));
    // Some variety beneath.
    TSelect brush(c.Dc, CreateHatchBrush(HS_DIAGCROSS, kBlue));
    Rectangle(c.Dc, 5, 5, 30, 30);
    std::vector<COLORREF> before;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) before.push_back(c.Px(x, y));

    for (int style : {PS_DOT, PS_SOLID, PS_DASHDOT}) {
        for (int width : {1, 3}) {
            TSelect pen(c.Dc, CreatePen(style, width, RGB(200, 100, 50)));
            SetROP2(c.Dc, R2_XORPEN);
            SelectObject(c.Dc, GetStockObject(NULL_BRUSH));
            for (int pass = 0; pass < 2; ++pass) {
                MoveToEx(c.Dc, 1, 3, nullptr);
                LineTo(c.Dc, 37, 29);
                Rectangle(c.Dc, 3, 3, 20, 25);
                Ellipse(c.Dc, 10, 10, 35, 33);
                RECT fr{4, 4, 33, 36};
                DrawFocusRect(c.Dc, &fr);
            }
            SetROP2(c.Dc, R2_COPYPEN);
            std::vector<COLORREF> after;
            for (int y = 0; y < 40; ++y)
                for (int x = 0; x < 40; ++x) after.push_back(c.Px(x, y));
            EXPECT_EQ(after, before) << "style " << style << " width " << width;
        }
    }
}
