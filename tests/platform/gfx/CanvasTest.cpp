#include <gtest/gtest.h>

#include "platform/gfx/Canvas.h"
#include "tests/platform/gfx/GdiTestUtil.h"

TEST(Canvas, PenBrushAndFontChangesReachTheDC)
{
    TTestCanvas t(30, 30);
    TCanvas c;
    c.SetHandle(t.Dc);
    int changes = 0;
    c.OnChange = [&](TObject*) { ++changes; };
    c.Brush()->SetColor(clRed);
    c.Pen()->SetColor(clBlue);
    c.Rectangle(0, 0, 10, 10);
    EXPECT_EQ(t.Px(0, 0), RGB(0, 0, 255));
    EXPECT_EQ(t.Px(5, 5), RGB(255, 0, 0));
    c.Brush()->SetColor(clLime);   // a change after the first selection
    c.FillRect(Rect(10, 10, 20, 20));
    EXPECT_EQ(t.Px(15, 15), RGB(0, 255, 0));
    c.Pen()->SetMode(pmXor);
    c.Pen()->SetColor(clWhite);
    c.MoveTo(0, 25);
    c.LineTo(10, 25);
    EXPECT_EQ(t.Px(5, 25), RGB(0, 0, 0));   // white XOR white
    EXPECT_EQ(c.PenPos(), Point(10, 25));
    c.SetPixels(29, 29, clBtnFace);
    EXPECT_EQ(c.Pixels(29, 29), TColor(GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(changes, 4);   // MoveTo draws nothing
    EXPECT_EQ(c.ClipRect(), Rect(0, 0, 30, 30));
    c.SetHandle(nullptr);
}

TEST(Canvas, FontSizeHeightAndAssign)
{
    TFont f;
    EXPECT_EQ(f.Name(), L"Tahoma");
    EXPECT_EQ(f.Size(), 8);
    f.SetSize(10);
    EXPECT_EQ(f.Height(), -13);
    int changes = 0;
    f.OnChange = [&](TObject*) { ++changes; };
    f.SetStyle({fsBold, fsItalic});
    f.SetStyle({fsBold, fsItalic});   // no change, no event
    EXPECT_EQ(changes, 1);
    LOGFONTW lf;
    ASSERT_EQ(GetObject(f.Handle(), sizeof lf, &lf), int(sizeof lf));
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_EQ(lf.lfItalic, 1);
    EXPECT_EQ(lf.lfHeight, -13);
    TFont g;
    g.Assign(&f);
    EXPECT_EQ(g.Height(), -13);
    EXPECT_TRUE(g.Style().Contains(fsItalic));
    TPen pen;
    EXPECT_THROW(pen.Assign(&f), EConvertError);
    TBrush b;
    b.SetStyle(bsClear);
    b.SetColor(clRed);
    EXPECT_EQ(b.Style(), bsSolid);
}

TEST(Canvas, TextRectAndExtentsInFixedMetrics)
{
    SetFixedMetricsFonts(true);
    TTestCanvas t(100, 40);
    TCanvas c;
    c.SetHandle(t.Dc);
    EXPECT_EQ(c.TextWidth(L"abcd"), 32);
    EXPECT_EQ(c.TextHeight(L"x"), 16);
    TRect r{0, 0, 40, 0};
    String s = L"one two three";
    c.TextRect(r, s, {tfCalcRect, tfWordBreak});
    EXPECT_EQ(r, Rect(0, 0, 40, 48));
    TRect e{0, 0, 56, 16};
    String long_ = L"abcdefghij";
    c.Brush()->SetStyle(bsClear);
    c.TextRect(e, long_, {tfSingleLine, tfEndEllipsis, tfModifyString});
    EXPECT_EQ(long_, L"abcd...");
    c.SetHandle(nullptr);
    SetFixedMetricsFonts(false);
}

TEST(Canvas, Frame3DAndCopyRect)
{
    TTestCanvas t(20, 20);
    TCanvas c;
    c.SetHandle(t.Dc);
    TRect r{0, 0, 10, 10};
    Frame3D(&c, r, clWhite, clBlack, 1);
    EXPECT_EQ(r, Rect(1, 1, 9, 9));
    EXPECT_EQ(t.Row(0, 0, 10, RGB(255, 255, 255)), "#########.");
    EXPECT_EQ(t.Row(9, 0, 10, 0), "##########");
    EXPECT_EQ(t.Px(9, 0), 0u);
    c.CopyRect(Rect(10, 10, 20, 20), &c, Rect(0, 0, 10, 10));
    EXPECT_EQ(t.Px(19, 19), 0u);
    EXPECT_EQ(t.Px(10, 19), 0u);
    c.SetHandle(nullptr);
}
