#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "controls/foundation/VodUtil.h"
#include "platform/base/Exceptions.h"
#include "platform/base/Resources.h"
#include "platform/base/Streams.h"
#include "platform/os/Modules.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/Windows.h"
#include "platform/ui/backend/Headless.h"
#include "tests/platform/gfx/GdiTestUtil.h"

namespace {

// A white bitmap with a canvas on it; records the drawing calls on demand.
struct TPaintBox {
    TTestCanvas Surface;
    TCanvas Canvas;
    TPaintBox(int w, int h) : Surface(w, h) { Canvas.SetHandle(Surface.Dc); }
    ~TPaintBox() { Canvas.SetHandle(nullptr); }
    void Record() { GdiStartRecording(Surface.Dc); }
    std::vector<TGdiRecord> Records(const wchar_t* kind = nullptr) const
    {
        std::vector<TGdiRecord> out;
        for (const TGdiRecord& r : GdiRecords(Surface.Dc))
            if (!kind || r.Kind == kind) out.push_back(r);
        return out;
    }
    COLORREF Px(int x, int y) const { return Surface.Px(x, y); }
};

COLORREF Rgb(int r, int g, int b) { return RGB(Byte(r), Byte(g), Byte(b)); }

}  // namespace

// ---------------------------------------------------------------------------
// Colour arithmetic

TEST(VodUtilColors, InterpolateHalfAndBrightnessTable)
{
    const int element = COLOR_BTNFACE;
    const COLORREF value = Rgb(200, 100, 50);
    SetSysColors(1, &element, &value);
    struct {
        TColor Got, Want;
        const char* What;
    } const cases[] = {
        {InterpolateColor(Rgb(0, 0, 0), Rgb(100, 200, 50), 0, 10, 5), TColor(Rgb(50, 100, 25)), "midway"},
        {InterpolateColor(Rgb(0, 0, 0), Rgb(100, 200, 50), 0, 10, 0), TColor(Rgb(0, 0, 0)), "at the start"},
        {InterpolateColor(Rgb(0, 0, 0), Rgb(100, 200, 50), 0, 10, 10), TColor(Rgb(100, 200, 50)), "at the end"},
        // Pos counts from 0, not from Min: 5 of a range of 10 is half way.
        {InterpolateColor(Rgb(0, 0, 0), Rgb(100, 200, 50), 10, 20, 5), TColor(Rgb(50, 100, 25)), "Pos not offset by Min"},
        // 2.5 and 12.5 round to even.
        {InterpolateColor(Rgb(0, 0, 0), Rgb(5, 25, 0), 0, 4, 2), TColor(Rgb(2, 12, 0)), "ties to even"},
        {InterpolateColor(clBtnFace, Rgb(0, 0, 0), 0, 2, 1), TColor(Rgb(100, 50, 25)), "system colour resolved"},
        {InterpolateColor(clBtnFace, clNone, 0, 10, 5), clBtnFace, "no ToColor: FromColor unconverted"},
        {InterpolateColor(clBtnFace, clBlack, 7, 7, 3), clBtnFace, "empty range: FromColor"},
        {InterpolateColor(Rgb(0, 0, 0), Rgb(200, 200, 200), 0, 10, 20), TColor(Rgb(255, 255, 255)), "past the end: capped"},
        {HalfColor(Rgb(255, 128, 7)), TColor(Rgb(127, 64, 3)), "half"},
        {HalfColor(clBtnFace), TColor(Rgb(100, 50, 25)), "half of a system colour"},
        {AdjustColorBrightness(Rgb(200, 100, 50), -10), TColor(Rgb(180, 90, 45)), "darker by 10"},
        {AdjustColorBrightness(Rgb(25, 15, 5), -10), TColor(Rgb(23, 13, 5)), "-2.5, -1.5, -0.5 to even"},
        {AdjustColorBrightness(Rgb(200, 100, 50), -200), TColor(Rgb(0, 0, 0)), "not below 0"},
        {AdjustColorBrightness(Rgb(200, 100, 50), 50), TColor(Rgb(255, 150, 75)), "not above 255"},
        {AdjustColorBrightness(clBtnFace, -20), TColor(Rgb(160, 80, 40)), "system colour"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.Got, c.Want) << c.What;
    ResetSysColors();
}

// ---------------------------------------------------------------------------
// Gradients

TEST(VodUtilGradient, BandColoursReadBackFromTheBitmap)
{
    // 10 pixels high, 16 steps asked: limited to 9, ten bands of one row
    // each (every band overlaps the next by the rounding), the last
    // exactly ToColor.
    TPaintBox box(30, 20);
    box.Record();
    DrawGradient(&box.Canvas, Rgb(0, 0, 0), Rgb(90, 180, 9), 16, Rect(5, 3, 25, 13), false);
    EXPECT_EQ(box.Records(L"Rectangle").size(), 10u);
    for (int y = 3; y < 13; ++y) {
        const int i = y - 3;
        EXPECT_EQ(box.Px(5, y), Rgb(10 * i, 20 * i, i)) << "row " << y;
        EXPECT_EQ(box.Px(24, y), Rgb(10 * i, 20 * i, i)) << "row " << y;
    }
    EXPECT_EQ(box.Px(4, 8), Rgb(255, 255, 255));
    EXPECT_EQ(box.Px(25, 8), Rgb(255, 255, 255));
    EXPECT_EQ(box.Px(10, 13), Rgb(255, 255, 255));

    // Left to right over 200 pixels in 7 steps: 8 bands, colours rounded
    // from the double step, ties to even.
    TPaintBox wide(200, 4);
    wide.Record();
    DrawGradient(&wide.Canvas, Rgb(0, 10, 255), Rgb(255, 10, 0), 7, Rect(0, 0, 200, 4), true);
    auto bands = wide.Records(L"Rectangle");
    ASSERT_EQ(bands.size(), 8u);
    const double g = 199.0 / 7;
    for (int i = 0; i <= 7; ++i) {
        const int off = int(i * g);
        EXPECT_EQ(bands[size_t(i)].Rect, Rect(off, 0, std::min(200, off + int(g + 1)), 4)) << i;
        const int red = int(Round(i * (255.0 / 7)));
        EXPECT_EQ(bands[size_t(i)].BkColor, Rgb(red, 10, 255 - red)) << i;
    }
    EXPECT_EQ(wide.Px(199, 2), Rgb(255, 10, 0));
    EXPECT_EQ(wide.Px(0, 2), Rgb(0, 10, 255));
}

TEST(VodUtilGradient, RectangleStepAndNoColourRules)
{
    TPaintBox box(40, 40);
    box.Record();
    DrawGradient(&box.Canvas, clRed, clBlue, 8, Rect(0, 10, 20, 10), false);
    EXPECT_TRUE(box.Records().empty()) << "equal top and bottom draw nothing";

    // Bottom above top: exchanged.
    DrawGradient(&box.Canvas, Rgb(0, 0, 0), Rgb(90, 180, 9), 16, Rect(0, 13, 20, 3), false);
    EXPECT_EQ(box.Records(L"Rectangle").size(), 10u);
    EXPECT_EQ(box.Px(0, 3), Rgb(0, 0, 0));
    EXPECT_EQ(box.Px(0, 12), Rgb(90, 180, 9));
    GdiClearRecords(box.Surface.Dc);

    // Steps 0 or below: two bands, the second (the last pixel) in ToColor.
    for (int steps : {0, -5}) {
        TPaintBox s(30, 4);
        s.Record();
        DrawGradient(&s.Canvas, clRed, clBlue, steps, Rect(0, 0, 20, 4), true);
        EXPECT_EQ(s.Records(L"Rectangle").size(), 2u) << steps;
        EXPECT_EQ(s.Px(18, 1), Rgb(255, 0, 0)) << steps;
        EXPECT_EQ(s.Px(19, 1), Rgb(0, 0, 255)) << steps;
    }

    // One colour missing: one rectangle in the other; both missing: nothing.
    struct {
        TColor From, To;
        size_t Count;
        COLORREF Colour;
    } const none[] = {{clRed, clNone, 1, Rgb(255, 0, 0)}, {clNone, clBlue, 1, Rgb(0, 0, 255)}, {clNone, clNone, 0, 0}};
    for (const auto& c : none) {
        GdiClearRecords(box.Surface.Dc);
        DrawGradient(&box.Canvas, c.From, c.To, 16, Rect(0, 0, 30, 30), true);
        auto r = box.Records(L"Rectangle");
        ASSERT_EQ(r.size(), c.Count);
        if (c.Count) {
            EXPECT_EQ(r[0].Rect, Rect(0, 0, 30, 30));
            EXPECT_EQ(r[0].Color, c.Colour);
            EXPECT_EQ(r[0].BkColor, c.Colour);
        }
    }
}

TEST(VodUtilGradient, BackgroundSolidGrowsTheBottomAndMirrorsInHalves)
{
    {
        TPaintBox box(40, 40);
        box.Record();
        DrawGradientBackground(&box.Canvas, Rect(2, 2, 30, 20), clRed, clNone, clNone, clNone, true, clBlue, false, true);
        auto r = box.Records();
        ASSERT_EQ(r.size(), 2u);
        EXPECT_EQ(r[0].Kind, L"FillRect");
        EXPECT_EQ(r[0].Rect, Rect(2, 2, 30, 21));
        EXPECT_EQ(r[1].Kind, L"FrameRect");
        EXPECT_EQ(r[1].Rect, Rect(2, 2, 30, 21)) << "the frame goes round the grown rectangle";
        EXPECT_EQ(r[1].Color, Rgb(0, 0, 255));
        EXPECT_EQ(box.Px(2, 20), Rgb(0, 0, 255));
    }
    {
        // Vertical with a mirror pair: an upper and a lower gradient half,
        // each running top to bottom.
        TPaintBox box(40, 40);
        DrawGradientBackground(&box.Canvas, Rect(0, 0, 20, 21), Rgb(255, 0, 0), Rgb(0, 255, 0), Rgb(0, 0, 255),
                               Rgb(0, 0, 0), true, clNone, false, true);
        EXPECT_EQ(box.Px(5, 0), Rgb(255, 0, 0));
        EXPECT_EQ(box.Px(5, 9), Rgb(0, 255, 0));
        EXPECT_EQ(box.Px(5, 10), Rgb(0, 0, 255));
        EXPECT_EQ(box.Px(5, 20), Rgb(0, 0, 0));
        EXPECT_EQ(box.Px(5, 21), Rgb(255, 255, 255));
    }
    {
        // Horizontal, one gradient left to right, side lines only.
        TPaintBox box(40, 40);
        box.Record();
        DrawGradientBackground(&box.Canvas, Rect(0, 0, 20, 10), Rgb(255, 0, 0), Rgb(0, 255, 0), clNone, clNone,
                               false, clBlue, true, true);
        EXPECT_EQ(box.Px(0, 5), Rgb(0, 0, 255));
        EXPECT_EQ(box.Px(19, 5), Rgb(0, 0, 255));
        // 128 steps limited to 19 over 20 pixels: one band a column.
        for (int x : {1, 9, 18}) {
            const int green = int(Round(x * (255.0 / 19)));
            EXPECT_EQ(box.Px(x, 5), Rgb(255 - green, green, 0)) << x;
        }
        auto lines = box.Records(L"LineTo");
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0].Points, (std::vector<TPoint>{{0, 0}, {0, 10}}));
        EXPECT_EQ(lines[1].Points, (std::vector<TPoint>{{19, 0}, {19, 10}}));
    }
    {
        // Fill off or no colour: only the border.
        TPaintBox box(40, 40);
        box.Record();
        DrawGradientBackground(&box.Canvas, Rect(0, 0, 20, 10), clRed, clNone, clNone, clNone, false, clBlue, false, false);
        DrawGradientBackground(&box.Canvas, Rect(0, 0, 20, 10), clNone, clRed, clNone, clNone, false, clNone, false, true);
        auto r = box.Records();
        ASSERT_EQ(r.size(), 1u);
        EXPECT_EQ(r[0].Kind, L"FrameRect");
        EXPECT_EQ(r[0].Rect, Rect(0, 0, 20, 10));
    }
}

TEST(VodUtilButtonSegment, LinesCornersAndFaceOfEachKind)
{
    const COLORREF face = Rgb(200, 200, 0), top = Rgb(250, 0, 0), bottom = Rgb(0, 250, 0), border = Rgb(0, 0, 250),
                   corner = Rgb(100, 0, 100), outer = Rgb(0, 100, 100), white = Rgb(255, 255, 255);
    // R = (0, 0, 20, 14): L 0, T 0, Rr 19, B 12, M 6.
    struct {
        Byte Kind;
        bool LeftRound, RightRound;
        int Li, Ri;
    } const kinds[] = {{0, true, true, 2, 2}, {1, true, false, 2, 0}, {2, false, true, 0, 2}, {3, false, false, 0, 0}};
    for (const auto& k : kinds) {
        TPaintBox box(24, 16);
        DrawButtonSegment(&box.Canvas, face, clNone, clNone, clNone, top, bottom, border, corner, outer,
                          Rect(0, 0, 20, 14), k.Kind);
        SCOPED_TRACE(int(k.Kind));
        // Border lines at T and B from L+li to Rr-ri (excluded).
        EXPECT_EQ(box.Px(8, 0), border);
        EXPECT_EQ(box.Px(8, 12), border);
        // Inner lines below the top and above the bottom border.
        EXPECT_EQ(box.Px(8, 1), top);
        EXPECT_EQ(box.Px(8, 11), bottom);
        // Face from L+li, T+2 to Rr-ri, B-1.
        EXPECT_EQ(box.Px(k.Li, 2), face);
        EXPECT_EQ(box.Px(10, 5), face);
        EXPECT_EQ(box.Px(18 - k.Ri, 10), face);
        for (int y : {0, 5, 12}) EXPECT_EQ(box.Px(19, y), white) << "nothing at Rr";
        EXPECT_EQ(box.Px(10, 13), white) << "nothing below B";
        if (k.LeftRound) {
            EXPECT_EQ(box.Px(0, 0), outer);
            EXPECT_EQ(box.Px(0, 12), outer);
            for (TPoint p : {Point(1, 0), Point(1, 1), Point(0, 1), Point(1, 12), Point(1, 11), Point(0, 11)})
                EXPECT_EQ(box.Px(p.X, p.Y), corner) << p.X << "," << p.Y;
            EXPECT_EQ(box.Px(0, 5), border) << "left border line";
            EXPECT_EQ(box.Px(1, 3), top) << "left inner line, upper half";
            EXPECT_EQ(box.Px(1, 8), bottom) << "left inner line, lower half";
            EXPECT_EQ(box.Px(2, 0), border);
        } else {
            EXPECT_EQ(box.Px(0, 0), border);
            EXPECT_EQ(box.Px(0, 5), face);
        }
        if (k.RightRound) {
            EXPECT_EQ(box.Px(18, 0), outer);
            EXPECT_EQ(box.Px(18, 12), outer);
            for (TPoint p : {Point(17, 0), Point(17, 1), Point(18, 1), Point(17, 12), Point(17, 11), Point(18, 11)})
                EXPECT_EQ(box.Px(p.X, p.Y), corner) << p.X << "," << p.Y;
            EXPECT_EQ(box.Px(18, 5), border) << "right border line";
            EXPECT_EQ(box.Px(17, 3), top);
            EXPECT_EQ(box.Px(17, 8), bottom);
        } else {
            EXPECT_EQ(box.Px(18, 0), border);
            EXPECT_EQ(box.Px(18, 5), face);
            EXPECT_EQ(box.Px(18, 12), border);
        }
    }
}

TEST(VodUtilButtonSegment, FaceGradientsOfSixteenSteps)
{
    // ColorMirror missing: one 16-step gradient over the whole face
    // (2..17 x 2..11, 9 rows high: limited to 8 steps, 9 bands).
    TPaintBox one(24, 16);
    one.Record();
    DrawButtonSegment(&one.Canvas, Rgb(0, 0, 0), Rgb(160, 0, 0), clNone, clNone, clWhite, clWhite, clWhite, clWhite,
                      clWhite, Rect(0, 0, 20, 14), 0);
    auto bands = one.Records(L"Rectangle");
    ASSERT_EQ(bands.size(), 9u);
    EXPECT_EQ(bands.front().Rect, Rect(2, 2, 17, 4));
    EXPECT_EQ(bands.back().Rect, Rect(2, 10, 17, 11));
    EXPECT_EQ(one.Px(5, 2), Rgb(0, 0, 0));
    EXPECT_EQ(one.Px(5, 10), Rgb(160, 0, 0));

    // With a mirror pair: the upper half (2..6) and the lower (6..11).
    TPaintBox two(24, 16);
    DrawButtonSegment(&two.Canvas, Rgb(0, 0, 0), Rgb(160, 0, 0), Rgb(0, 160, 0), Rgb(0, 0, 160), clWhite, clWhite,
                      clWhite, clWhite, clWhite, Rect(0, 0, 20, 14), 3);
    EXPECT_EQ(two.Px(5, 2), Rgb(0, 0, 0));
    EXPECT_EQ(two.Px(5, 5), Rgb(160, 0, 0));
    EXPECT_EQ(two.Px(5, 6), Rgb(0, 160, 0));
    EXPECT_EQ(two.Px(5, 10), Rgb(0, 0, 160));
}

// ---------------------------------------------------------------------------
// Shapes

TEST(VodUtilShapes, RecordedCallsOfEveryShape)
{
    using P = std::vector<TPoint>;
    struct {
        TCellShape Shape;
        int X, Y, W, H;
        const wchar_t* Kind;
        TRect Rect;
        P Points;
    } const cases[] = {
        {csRectangle, 10, 10, 20, 10, L"Rectangle", {11, 11, 29, 19}, {}},
        {csSquare, 10, 10, 20, 10, L"Rectangle", {11, 11, 19, 19}, {}},
        {csCircle, 10, 10, 20, 10, L"Ellipse", {10, 10, 20, 20}, {}},
        {csEllips, 10, 10, 20, 10, L"Ellipse", {10, 10, 30, 20}, {}},
        {csRoundRect, 10, 10, 20, 10, L"RoundRect", {10, 10, 30, 20}, {}},
        {csRoundSquare, 10, 10, 10, 20, L"RoundRect", {10, 10, 20, 20}, {}},
        {csTriangleLeft, 10, 10, 20, 10, L"Polygon", {}, P{{30, 10}, {30, 20}, {10, 15}}},
        {csTriangleRight, 10, 10, 20, 10, L"Polygon", {}, P{{10, 10}, {10, 20}, {30, 15}}},
        {csTriangleUp, 10, 10, 20, 10, L"Polygon", {}, P{{10, 20}, {30, 20}, {20, 10}}},
        {csTriangleDown, 10, 10, 20, 10, L"Polygon", {}, P{{10, 10}, {30, 10}, {20, 20}}},
        {csDiamond, 10, 10, 21, 11, L"Polygon", {}, P{{10, 15}, {20, 10}, {30, 15}, {20, 20}}},
        {csLineVert, 10, 10, 20, 10, L"Rectangle", {20, 10, 21, 20}, {}},
        {csLineHorz, 10, 10, 20, 10, L"Rectangle", {10, 15, 30, 16}, {}},
        {csArrowUp, 10, 10, 17, 13, L"Polygon", {}, P{{10, 16}, {18, 10}, {26, 16}, {22, 16}, {22, 23}, {14, 23}, {14, 16}}},
        {csArrowDown, 10, 10, 17, 13, L"Polygon", {}, P{{10, 16}, {18, 23}, {26, 16}, {22, 16}, {22, 10}, {14, 10}, {14, 16}}},
        {csArrowLeft, 10, 10, 17, 13, L"Polygon", {}, P{{10, 16}, {18, 10}, {18, 13}, {27, 13}, {27, 19}, {18, 19}, {18, 22}}},
        {csArrowRight, 10, 10, 17, 13, L"Polygon", {}, P{{27, 16}, {18, 10}, {18, 13}, {10, 13}, {10, 19}, {18, 19}, {18, 22}}},
        // Outer points on Mx 10, My 10; inner ones a third of that.
        {csStar, 0, 0, 20, 20, L"Polygon", {},
         P{{10, 0}, {12, 7}, {20, 7}, {13, 11}, {16, 18}, {10, 13}, {4, 18}, {7, 11}, {0, 7}, {8, 7}}},
        {csHalfStar, 0, 0, 20, 20, L"Polygon", {}, P{{10, 0}, {10, 13}, {4, 18}, {7, 11}, {0, 7}, {8, 7}}},
    };
    for (const auto& c : cases) {
        TPaintBox box(60, 60);
        box.Record();
        DrawCellShape(&box.Canvas, c.X, c.Y, c.W, c.H, c.Shape, clRed, clBlue);
        auto r = box.Records();
        ASSERT_EQ(r.size(), 1u) << int(c.Shape);
        EXPECT_EQ(r[0].Kind, c.Kind) << int(c.Shape);
        EXPECT_EQ(r[0].Color, Rgb(0, 0, 255)) << int(c.Shape);
        EXPECT_EQ(r[0].BkColor, Rgb(255, 0, 0)) << int(c.Shape);
        if (c.Points.empty()) {
            EXPECT_EQ(r[0].Rect, c.Rect) << int(c.Shape);
        } else {
            EXPECT_EQ(r[0].Points, c.Points) << int(c.Shape);
        }
        if (r[0].Kind == L"RoundRect") {
            EXPECT_EQ(r[0].Points, (P{{10, 10}})) << "corner size";
        }
    }
}

TEST(VodUtilShapes, ValuesPastTheLastShapeDrawNothing)
{
    TPaintBox box(40, 40);
    box.Record();
    for (int v : {19, 20, 255}) DrawCellShape(&box.Canvas, 0, 0, 20, 20, TCellShape(v), clRed, clBlue);
    EXPECT_TRUE(box.Records().empty());
    DrawCellShape(&box.Canvas, 0, 0, 20, 20, csHalfStar, clRed, clBlue);
    EXPECT_EQ(box.Records().size(), 1u) << "the last shape, 18, draws";
}

TEST(VodUtilShapes, DropTriangleAndFill)
{
    TPaintBox box(20, 20);
    box.Record();
    DrawDropTriangle(&box.Canvas, 10, 5, clGreen);
    FillRectWithColor(&box.Canvas, Rect(0, 12, 4, 16), clNavy);
    auto r = box.Records();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].Points, (std::vector<TPoint>{{7, 5}, {13, 5}, {10, 8}}));
    EXPECT_EQ(r[0].Color, Rgb(0, 128, 0));
    EXPECT_EQ(r[0].BkColor, Rgb(0, 128, 0));
    EXPECT_EQ(r[1].Kind, L"FillRect");
    EXPECT_EQ(r[1].Color, Rgb(0, 0, 128));
    EXPECT_EQ(box.Px(10, 6), Rgb(0, 128, 0));
}

// ---------------------------------------------------------------------------
// Bitmaps

namespace {

// A 4 x 3 bitmap: magenta where it is transparent (its top-left pixel
// included), one blue pixel at (2, 1).
std::unique_ptr<TBitmap> MarkedBitmap()
{
    auto b = std::make_unique<TBitmap>(4, 3);
    b->Canvas()->Brush()->SetColor(clFuchsia);
    b->Canvas()->FillRect(Rect(0, 0, 4, 3));
    b->Canvas()->SetPixels(2, 1, clBlue);
    return b;
}

}  // namespace

TEST(VodUtilBitmaps, TransparentColourTakesTheBackground)
{
    TPaintBox box(10, 10);
    auto bmp = MarkedBitmap();
    DrawBitmapTransparent(&box.Canvas, bmp.get(), clLime, Rect(3, 4, 9, 9));
    EXPECT_EQ(box.Px(3, 4), Rgb(0, 255, 0));
    EXPECT_EQ(box.Px(6, 6), Rgb(0, 255, 0));
    EXPECT_EQ(box.Px(5, 5), Rgb(0, 0, 255));
    EXPECT_EQ(box.Px(7, 5), Rgb(255, 255, 255)) << "only the bitmap's own size is drawn";
    EXPECT_EQ(box.Px(3, 7), Rgb(255, 255, 255));
}

TEST(VodUtilBitmaps, ResourceBitmapIsDrawnOrItsAbsenceRaises)
{
    static std::vector<Byte> file;
    {
        auto bmp = MarkedBitmap();
        TMemoryStream s;
        bmp->SaveToStream(&s);
        file.assign(static_cast<const Byte*>(s.Memory()), static_cast<const Byte*>(s.Memory()) + s.Size());
    }
    RegisterResource(RT_BITMAP, TResId(L"VODUTILTESTMARK"), file.data(), file.size());
    TPaintBox box(10, 10);
    DrawResourceBitmap(&box.Canvas, clYellow, Rect(1, 1, 9, 9), L"VodUtilTestMark");
    EXPECT_EQ(box.Px(1, 1), Rgb(255, 255, 0));
    EXPECT_EQ(box.Px(3, 2), Rgb(0, 0, 255));
    EXPECT_THROW(DrawResourceBitmap(&box.Canvas, clYellow, Rect(1, 1, 9, 9), L"NoSuchBitmapHere"), EResNotFound);
}

// ---------------------------------------------------------------------------
// Wavy underline

class VodUtilOnAForm : public ::testing::Test {
protected:
    void SetUp() override
    {
        Drv = std::make_unique<THeadlessDriver>();
        InitForms();
        SetFixedMetricsFonts(true);
        Form = new TForm(Application);
        Form->Init();
        Form->SetBounds(50, 50, 400, 200);
        Form->Show();
    }
    void TearDown() override
    {
        DoneForms();
        Drv.reset();
        SetFixedMetricsFonts(false);
    }
    // Where a plain edit at R puts character i (what the hidden one says).
    TPoint Place(const String& text, const TRect& r, int i)
    {
        auto* e = new TEdit(Form);
        e->SetVisible(false);
        e->SetParent(Form);
        e->SetBounds(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
        e->SetText(text);
        LRESULT v = SendMessage(e->Handle(), EM_POSFROMCHAR, WPARAM(i), 0);
        delete e;
        return Point(SmallInt(LOWORD(DWORD(v))), SmallInt(HIWORD(DWORD(v))));
    }
    std::unique_ptr<THeadlessDriver> Drv;
    TForm* Form = nullptr;
};

TEST_F(VodUtilOnAForm, ZigZagUnderTheRunAtTheEditsCharacterPlaces)
{
    const String text = L"abcdefghij";
    const TRect r = Rect(20, 30, 200, 52);
    const TPoint a = Place(text, r, 2), b = Place(text, r, 4);
    ASSERT_EQ(b.X - a.X, 16) << "fixed metrics: 8 pixels a character";
    const int components = Form->ComponentCount();

    TPaintBox box(300, 100);
    box.Record();
    DrawWavyUnderline(Form, &box.Canvas, text, r, 5, 2, 3);
    EXPECT_EQ(Form->ComponentCount(), components) << "the hidden edit is freed";
    EXPECT_EQ(box.Canvas.Pen()->Color(), clRed);
    EXPECT_EQ(box.Canvas.Pen()->Width(), 2);

    // From (x_start, y + 5 + 3), down and up every 3 pixels while x <= x_end
    // (a.X, a.X+3, ... a.X+15: six steps), then one last line.
    auto lines = box.Records(L"LineTo");
    ASSERT_EQ(lines.size(), 7u);
    const int base = 30 + b.Y + 5;
    EXPECT_EQ(lines[0].Points[0], Point(20 + a.X, 30 + a.Y + 5 + 3));
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(lines[size_t(i)].Points[1], Point(20 + a.X + 3 * i + 3, base + (i % 2 == 0 ? 0 : 3))) << i;
    EXPECT_EQ(lines[6].Points[1], Point(20 + a.X + 18 + 3, base + 0)) << "after an offset of 3 the last goes to 0";
    EXPECT_EQ(lines[0].Color, Rgb(255, 0, 0));
}

TEST_F(VodUtilOnAForm, RunsPastTheTextEndFourPixelsBehindIt)
{
    const String text = L"abcd";
    const TRect r = Rect(0, 0, 200, 22);
    const TPoint end = Place(text, r, 4), last = Place(text, r, 3);

    TPaintBox box(300, 100);
    box.Record();
    // Start beyond the text: both points behind it.
    DrawWavyUnderline(Form, &box.Canvas, text, r, 0, 9, 2);
    auto lines = box.Records(L"LineTo");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0].Points[0], Point(end.X + 4, end.Y + 3));
    // x_end = last.X + 4 < x_start: no zig-zag, only the last line.
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].Points[1], Point(end.X + 4 + 3, end.Y)) << "the offset stayed 3: the last line goes to 0";

    // A run that reaches the end: the end point is 4 behind the last
    // character, at the start's height.
    GdiClearRecords(box.Surface.Dc);
    const TPoint first = Place(text, r, 1);
    DrawWavyUnderline(Form, &box.Canvas, text, r, 0, 1, 10);
    lines = box.Records(L"LineTo");
    const int steps = (last.X + 4 - first.X) / 3 + 1;
    ASSERT_EQ(int(lines.size()), steps + 1);
    EXPECT_EQ(lines.back().Points[1].X, first.X + 3 * steps + 3);
    // A run as long as an integer goes: the same end.
    GdiClearRecords(box.Surface.Dc);
    DrawWavyUnderline(Form, &box.Canvas, text, r, 0, 1, INT32_MAX);
    EXPECT_EQ(box.Records(L"LineTo").size(), lines.size());

    // Nothing to mark: no drawing.
    GdiClearRecords(box.Surface.Dc);
    DrawWavyUnderline(Form, &box.Canvas, L"", r, 0, 0, 3);
    DrawWavyUnderline(Form, &box.Canvas, text, r, 0, 1, 0);
    EXPECT_TRUE(box.Records().empty());
}

// ---------------------------------------------------------------------------
// Layered-window calls

namespace {

int gUpdateCalls = 0, gAttributeCalls = 0;
Byte gAlpha = 0;

BOOL FakeUpdateLayeredWindow(HWND, HDC, const TPoint*, const TSize*, HDC, const TPoint*, COLORREF, const BLENDFUNCTION*,
                             DWORD flags)
{
    ++gUpdateCalls;
    return flags == ULW_ALPHA ? 0 : 1;
}
BOOL FakeSetLayeredWindowAttributes(HWND, DWORD, Byte alpha, DWORD)
{
    ++gAttributeCalls;
    gAlpha = alpha;
    return 0;
}

}  // namespace

TEST(VodUtilLayered, TheFunctionIsLookedUpAtEachCallAndMissingMeansTrue)
{
    HMODULE user32 = GetModuleHandle(L"user32.dll");
    void* savedUpdate = user32 ? GetProcAddress(user32, "UpdateLayeredWindow") : nullptr;
    void* savedAttributes = user32 ? GetProcAddress(user32, "SetLayeredWindowAttributes") : nullptr;

    RegisterModuleExport(L"user32.dll", "UpdateLayeredWindow", nullptr);
    RegisterModuleExport(L"user32.dll", "SetLayeredWindowAttributes", nullptr);
    EXPECT_TRUE(DynUpdateLayeredWindow(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, nullptr, ULW_ALPHA));
    EXPECT_TRUE(DynSetLayeredWindowAttributes(nullptr, 0, 128, LWA_ALPHA));

    RegisterModuleExport(L"user32.dll", "UpdateLayeredWindow", reinterpret_cast<void*>(&FakeUpdateLayeredWindow));
    RegisterModuleExport(L"user32.dll", "SetLayeredWindowAttributes",
                         reinterpret_cast<void*>(&FakeSetLayeredWindowAttributes));
    EXPECT_FALSE(DynUpdateLayeredWindow(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, nullptr, ULW_ALPHA));
    EXPECT_TRUE(DynUpdateLayeredWindow(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, nullptr, ULW_OPAQUE));
    EXPECT_FALSE(DynSetLayeredWindowAttributes(nullptr, 0, 77, LWA_ALPHA));
    EXPECT_EQ(gUpdateCalls, 2);
    EXPECT_EQ(gAttributeCalls, 1);
    EXPECT_EQ(gAlpha, 77);

    // Without the module itself: true, and nothing is called.
    SetModuleHidden(L"user32.dll", true);
    EXPECT_TRUE(DynUpdateLayeredWindow(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, nullptr, ULW_ALPHA));
    EXPECT_TRUE(DynSetLayeredWindowAttributes(nullptr, 0, 5, LWA_ALPHA));
    SetModuleHidden(L"user32.dll", false);
    EXPECT_EQ(gUpdateCalls, 2);
    EXPECT_EQ(gAttributeCalls, 1);

    RegisterModuleExport(L"user32.dll", "UpdateLayeredWindow", savedUpdate);
    RegisterModuleExport(L"user32.dll", "SetLayeredWindowAttributes", savedAttributes);
}

TEST_F(VodUtilOnAForm, LayeredCallsReachThePlatformsFunctions)
{
    HWND h = Form->Handle();
    EXPECT_FALSE(DynSetLayeredWindowAttributes(h, 0, 140, LWA_ALPHA)) << "not a layered window: the platform says no";
    SetWindowLong(h, GWL_EXSTYLE, GetWindowLong(h, GWL_EXSTYLE) | LONG(WS_EX_LAYERED));
    EXPECT_TRUE(DynSetLayeredWindowAttributes(h, RGB(1, 2, 3), 140, LWA_ALPHA | LWA_COLORKEY));
    DWORD key = 0, flags = 0;
    Byte alpha = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(h, &key, &alpha, &flags));
    EXPECT_EQ(alpha, 140);
    EXPECT_EQ(key, RGB(1, 2, 3));
    EXPECT_EQ(flags, DWORD(LWA_ALPHA | LWA_COLORKEY));
}
