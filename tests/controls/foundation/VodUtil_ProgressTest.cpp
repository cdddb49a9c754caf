#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "controls/foundation/VodUtil.h"
#include "tests/platform/gfx/GdiTestUtil.h"

namespace {

COLORREF Rgb(int r, int g, int b) { return RGB(Byte(r), Byte(g), Byte(b)); }

// A white bitmap with a recording canvas on it, fixed-metrics fonts
// (every character 8 x 16).
class VodUtilProgress : public ::testing::Test {
protected:
    void SetUp() override { SetFixedMetricsFonts(true); }
    void TearDown() override
    {
        Canvas.reset();
        Surface.reset();
        SetFixedMetricsFonts(false);
    }
    void Open(int w, int h)
    {
        Canvas.reset();
        Surface = std::make_unique<TTestCanvas>(w, h);
        Canvas = std::make_unique<TCanvas>();
        Canvas->SetHandle(Surface->Dc);
        GdiStartRecording(Surface->Dc);
    }
    std::vector<TGdiRecord> Records(const wchar_t* kind = nullptr) const
    {
        std::vector<TGdiRecord> out;
        for (const TGdiRecord& r : GdiRecords(Surface->Dc))
            if (!kind || r.Kind == kind) out.push_back(r);
        return out;
    }
    std::vector<TRect> Rects(const wchar_t* kind) const
    {
        std::vector<TRect> out;
        for (const TGdiRecord& r : Records(kind)) out.push_back(r.Rect);
        return out;
    }
    COLORREF Px(int x, int y) const { return Surface->Px(x, y); }

    // Plain bar: levels red, yellow, blue, green at 70 and 90, no border,
    // no text, solid pieces.
    static TProgressLook Look()
    {
        TProgressLook l;
        l.Level0Color = clRed;
        l.Level1Color = clYellow;
        l.Level2Color = clBlue;
        l.Level3Color = clLime;
        l.Level1Perc = 70;
        l.Level2Perc = 90;
        l.BorderColor = clBlack;
        l.BackgroundColor = clWhite;
        l.FontColor = clNavy;
        l.Steps = 8;
        return l;
    }

    std::unique_ptr<TTestCanvas> Surface;
    std::unique_ptr<TCanvas> Canvas;
};

using Rs = std::vector<TRect>;

}  // namespace

TEST_F(VodUtilProgress, BlocksOfSevenWithTheRemainderRule)
{
    // Inner length E = 100, so N is the position itself.
    struct {
        int Position;
        bool Vertical;
        Rs Blocks;
    } const cases[] = {
        {1, false, {}},
        {5, false, {{2, 2, 6, 18}}},
        {9, false, {{2, 2, 10, 18}}},
        {10, false, {{2, 2, 9, 18}}},                                   // remainder 1: no last block
        {20, false, {{2, 2, 9, 18}, {11, 2, 18, 18}}},                  // remainder 2: none
        {23, false, {{2, 2, 9, 18}, {11, 2, 18, 18}, {20, 2, 24, 18}}}, // remainder 5: 4 pixels
        {150, false, Rs(11, TRect{})},                                   // filled, never past the frame
        {INT32_MAX, false, Rs(11, TRect{})},
        {23, true, {{2, 93, 18, 100}, {2, 84, 18, 91}, {2, 78, 18, 82}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Position);
        TProgressLook l = Look();
        l.Vertical = c.Vertical;
        Open(120, 120);
        DrawStyledProgress(Canvas.get(), c.Vertical ? Rect(0, 0, 20, 102) : Rect(0, 0, 102, 20), c.Position, l);
        Rs got = Rects(L"FillRect");
        if (c.Position >= 150) {
            ASSERT_EQ(got.size(), 11u);   // 100 = 11 * 9 + 1
            EXPECT_EQ(got.back(), Rect(92, 2, 99, 18));
        } else {
            EXPECT_EQ(got, c.Blocks);
        }
        EXPECT_EQ(Canvas->Brush()->Style(), bsClear);
    }
}

TEST_F(VodUtilProgress, LevelColoursSmoothBarAndStackedSegments)
{
    struct {
        int Position;
        TColor Colour;
    } const levels[] = {{69, clRed}, {70, clYellow}, {89, clYellow}, {90, clBlue}, {99, clBlue}, {100, clLime}, {120, clLime}};
    for (const auto& c : levels) {
        TProgressLook l = Look();
        l.CompletionSmooth = true;
        Open(120, 30);
        DrawStyledProgress(Canvas.get(), Rect(0, 0, 102, 20), c.Position, l);
        auto fills = Records(L"FillRect");
        ASSERT_EQ(fills.size(), 1u) << c.Position;
        EXPECT_EQ(fills[0].Color, COLORREF(c.Colour)) << c.Position;
        EXPECT_EQ(fills[0].Rect, Rect(1, 1, 1 + std::min(c.Position, 100), 19)) << c.Position;
    }

    TProgressLook l = Look();
    l.CompletionSmooth = true;
    l.Vertical = true;
    Open(30, 120);
    DrawStyledProgress(Canvas.get(), Rect(0, 0, 20, 102), 50, l);
    EXPECT_EQ(Rects(L"FillRect"), (Rs{{1, 51, 19, 101}}));

    struct {
        int Position;
        bool Vertical;
        Rs Segments;
    } const stacked[] = {
        {50, false, {{1, 1, 51, 19}}},
        {80, false, {{1, 1, 71, 19}, {71, 1, 81, 19}}},
        // The third takes what the first two leave.
        {100, false, {{1, 1, 71, 19}, {71, 1, 91, 19}, {91, 1, 101, 19}}},
        {130, false, {{1, 1, 71, 19}, {71, 1, 91, 19}, {91, 1, 101, 19}}},
        {INT32_MAX, false, {{1, 1, 71, 19}, {71, 1, 91, 19}, {91, 1, 101, 19}}},
        {100, true, {{1, 32, 19, 101}, {1, 12, 19, 32}, {1, 2, 19, 11}}},
    };
    for (const auto& c : stacked) {
        SCOPED_TRACE(c.Position);
        TProgressLook s = Look();
        s.Stacked = true;
        s.Vertical = c.Vertical;
        Open(120, 120);
        DrawStyledProgress(Canvas.get(), c.Vertical ? Rect(0, 0, 20, 102) : Rect(0, 0, 102, 20), c.Position, s);
        auto fills = Records(L"FillRect");
        ASSERT_EQ(fills.size(), c.Segments.size());
        const TColor colours[] = {clRed, clYellow, clBlue};
        for (size_t i = 0; i < fills.size(); ++i) {
            EXPECT_EQ(fills[i].Rect, c.Segments[i]) << i;
            EXPECT_EQ(fills[i].Color, COLORREF(colours[i])) << i;
        }
    }
}

TEST_F(VodUtilProgress, GradientPiecesHaveTheirPartnerAlongBothEdges)
{
    TProgressLook l = Look();
    l.CompletionSmooth = true;
    l.ShowGradient = true;
    l.Level0Color = Rgb(200, 0, 0);
    l.Level0ColorTo = Rgb(0, 0, 200);
    Open(120, 30);
    DrawStyledProgress(Canvas.get(), Rect(0, 0, 102, 21), 50, l);
    // The piece (1, 1, 51, 20) in an upper half to row 10 and a lower one.
    EXPECT_EQ(Px(10, 1), Rgb(0, 0, 200));
    EXPECT_EQ(Px(10, 9), Rgb(200, 0, 0));
    EXPECT_EQ(Px(10, 10), Rgb(200, 0, 0));
    EXPECT_EQ(Px(10, 19), Rgb(0, 0, 200));
    EXPECT_EQ(Px(60, 10), Rgb(255, 255, 255));
}

TEST_F(VodUtilProgress, PercentageTextAndTheFrameDrawnAgain)
{
    TProgressLook l = Look();
    l.ShowPercentage = true;
    l.ShowBorder = true;
    Open(120, 30);
    DrawStyledProgress(Canvas.get(), Rect(0, 0, 102, 20), 0, l);
    auto r = Records();
    ASSERT_EQ(r.size(), 3u) << "frame, text, frame: no bar at 0";
    EXPECT_EQ(r[0].Kind, L"Rectangle");
    EXPECT_EQ(r[0].Color, COLORREF(clBlack));
    EXPECT_EQ(r[0].BkColor, COLORREF(clWhite));
    EXPECT_EQ(r[1].Kind, L"TextOut");
    EXPECT_EQ(r[1].Text, L"0%");
    EXPECT_EQ(r[1].Rect.TopLeft(), Point(51 - 8, 10 - 8));
    EXPECT_EQ(r[1].Color, COLORREF(clNavy));
    EXPECT_EQ(r[2].Kind, L"Rectangle");
    EXPECT_EQ(r[2].Rect, Rect(0, 0, 102, 20));
    EXPECT_EQ(r[2].BkColor, CLR_NONE) << "the second frame leaves the bar visible";

    // Vertical: the text reads upwards in the font's own colour.
    TFont font;
    font.SetName(L"Arial");
    font.SetColor(clMaroon);
    l.Font = &font;
    l.Vertical = true;
    l.ShowBorder = false;
    Open(40, 120);
    DrawStyledProgress(Canvas.get(), Rect(0, 0, 30, 102), 40, l);
    auto texts = Records(L"TextOut");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].Text, L"40%");
    EXPECT_EQ(texts[0].Rect.TopLeft(), Point(15 - 8, 51 + 12));
    EXPECT_EQ(texts[0].Color, COLORREF(clMaroon));
    EXPECT_EQ(Canvas->Font()->Orientation(), 900);
    EXPECT_EQ(Canvas->Font()->Name(), L"Arial");
    EXPECT_EQ(Records(L"Rectangle").back().Color, COLORREF(clWhite)) << "no border: the frame in the background";
}

TEST_F(VodUtilProgress, SimpleBarFormatsAndClipsTheTextInTwoColours)
{
    struct {
        const wchar_t* Fmt;
        double Position;
        const wchar_t* Text;
    } const formats[] = {
        {L"", 7.6, L"8%"},
        {L"%d%%", 7.6, L"8%"},
        {L"%.1f%%", 7.6, L"7.6%"},
        {L"%3u", 7.4, L"  7"},
        {L"Done: %d", 7.6, L"Done: 8"},
        {L"%.0d", 7.5, L"8"},
        // Formats that do not fit their value: the plain percentage text.
        {L"done %d", 7.6, L"8%"},
        {L"%s", 7.6, L"8%"},
        {L"%d %d", 7.6, L"8%"},
    };
    for (const auto& c : formats) {
        Open(130, 40);
        DrawSimpleProgress(Canvas.get(), Rect(10, 10, 110, 30), clRed, clWhite, clSilver, clBlack, c.Position, 2, 3, 0,
                           100, c.Fmt, clBlue, false);
        auto texts = Records(L"ExtTextOut");
        ASSERT_EQ(texts.size(), 2u) << c.Fmt;
        EXPECT_EQ(texts[0].Text, c.Text) << c.Fmt;
        EXPECT_EQ(texts[1].Text, c.Text) << c.Fmt;
    }

    // R shrinks to (12, 13, 108, 27); 8% of 96 pixels is 8 (7.68).
    Open(130, 40);
    Canvas->Brush()->SetColor(clGreen);
    DrawSimpleProgress(Canvas.get(), Rect(10, 10, 110, 30), clRed, clWhite, clSilver, clBlack, 7.6, 2, 3, 0, 100, L"",
                       clBlue, false);
    auto r = Records();
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[0].Kind, L"ExtTextOut");
    EXPECT_EQ(r[0].Points, (std::vector<TPoint>{{12, 13}, {20, 27}}));
    EXPECT_EQ(r[0].Rect.TopLeft(), Point(12 + (96 - 16) / 2, 13 + (14 - 16) / 2));
    EXPECT_EQ(r[0].Color, COLORREF(clWhite));
    EXPECT_EQ(r[0].BkColor, COLORREF(clRed));
    EXPECT_EQ(r[1].Points, (std::vector<TPoint>{{20, 13}, {108, 27}}));
    EXPECT_EQ(r[1].Rect.TopLeft(), r[0].Rect.TopLeft());
    EXPECT_EQ(r[1].Color, COLORREF(clBlack));
    EXPECT_EQ(r[1].BkColor, COLORREF(clSilver));
    EXPECT_EQ(r[2].Kind, L"FrameRect");
    EXPECT_EQ(r[2].Rect, Rect(11, 12, 109, 28));
    EXPECT_EQ(r[2].Color, COLORREF(clBlue));
    EXPECT_EQ(r[3].Rect, Rect(10, 11, 110, 29));
    EXPECT_EQ(r[3].Color, COLORREF(clGreen)) << "the outer frame in the brush colour met on entry";
    EXPECT_EQ(Px(13, 14), COLORREF(clRed));
    EXPECT_EQ(Px(100, 14), COLORREF(clSilver));

    // With a format the percentage is of Min..Max; an empty range is an
    // empty bar; Print counts the text height negative.
    struct {
        double Position;
        int Min, Max;
        bool Print;
        int Done, Y;
    } const ranges[] = {
        {15, 10, 20, false, 12 + 48, 12}, {25, 10, 20, false, 108, 12}, {5, 10, 20, false, 12, 12},
        {15, 15, 15, false, 12, 12},      {15, 10, 20, true, 60, 13 + 15},
    };
    for (const auto& c : ranges) {
        Open(130, 40);
        DrawSimpleProgress(Canvas.get(), Rect(10, 10, 110, 30), clRed, clWhite, clSilver, clBlack, c.Position, 2, 3,
                           c.Min, c.Max, L"%d", clNone, c.Print);
        auto t = Records(L"ExtTextOut");
        ASSERT_EQ(t.size(), 2u);
        EXPECT_EQ(t[0].Points[1].X, c.Done) << c.Position << " in " << c.Min << ".." << c.Max;
        EXPECT_EQ(t[0].Rect.Top, c.Y) << c.Print;
        EXPECT_EQ(Records(L"FrameRect").size(), 1u) << "no border colour: only the outer frame";
    }
}

TEST_F(VodUtilProgress, PieIsFloodFilledClockwiseToTheGreyRim)
{
    struct {
        int Percent;
        bool UpperRight, LowerRight, LowerLeft, UpperLeft;
    } const cases[] = {
        {0, false, false, false, false},
        {25, true, false, false, false},
        {50, true, true, false, false},
        {75, true, true, true, false},
        {100, true, true, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Percent);
        Open(50, 50);
        Canvas->Brush()->SetColor(clWhite);
        DrawProgressPie(Canvas.get(), Rect(0, 0, 41, 41), clRed, c.Percent, false);
        EXPECT_EQ(Px(28, 12) == COLORREF(clRed), c.UpperRight);
        EXPECT_EQ(Px(28, 28) == COLORREF(clRed), c.LowerRight);
        EXPECT_EQ(Px(12, 28) == COLORREF(clRed), c.LowerLeft);
        EXPECT_EQ(Px(12, 12) == COLORREF(clRed), c.UpperLeft);
        EXPECT_EQ(Px(1, 1), COLORREF(clWhite)) << "nothing outside the circle";
        EXPECT_EQ(Records(L"Ellipse").at(0).Color, COLORREF(clGray));
        auto fill = Records(L"FloodFill");
        ASSERT_EQ(fill.size(), c.Percent ? 1u : 0u);
        if (c.Percent) {
            EXPECT_EQ(fill[0].Rect.TopLeft(), Point(21, 2));
            EXPECT_EQ(fill[0].Color, COLORREF(clGray));
        }
        auto lines = Records(L"LineTo");
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0].Points, (std::vector<TPoint>{{20, 0}, {20, 20}}));
    }
    // Printing (its pages count y upwards) fills from above the top.
    Open(50, 60);
    DrawProgressPie(Canvas.get(), Rect(0, 10, 41, 51), clRed, 25, true);
    EXPECT_EQ(Records(L"LineTo").at(1).Points[1], Point(41, 30));
    EXPECT_EQ(Records(L"FloodFill").at(0).Rect.TopLeft(), Point(21, 8));
}

TEST_F(VodUtilProgress, BalanceBarGrowsBothWaysFromTheMiddle)
{
    // R shrinks to (2, 2, 102, 18): H 50, middle 52.
    struct {
        int Value, Max;
        Rs Bars;
        COLORREF Colour;
        const wchar_t* Text;
    } const cases[] = {
        {150, 100, {{52, 2, 102, 18}}, COLORREF(clLime), L"100"},
        {-50, 100, {{27, 2, 52, 18}}, COLORREF(clRed), L"-50"},
        {-300, 100, {{2, 2, 52, 18}}, COLORREF(clRed), L"-100"},
        {0, 10, {{52, 2, 52, 18}}, COLORREF(clLime), L"0"},
        {7, 0, {}, 0, L"0"},   // no range: an empty bar
    };
    for (const auto& c : cases) {
        Open(110, 30);
        DrawBalanceBar(Canvas.get(), Rect(0, 0, 104, 20), c.Value, c.Max, true, clRed, clLime);
        auto bars = Records(L"Rectangle");
        EXPECT_EQ(Rects(L"Rectangle"), c.Bars) << c.Value;
        for (auto& b : bars) EXPECT_EQ(b.BkColor, c.Colour) << c.Value;
        auto t = Records(L"DrawText");
        ASSERT_EQ(t.size(), 1u);
        EXPECT_EQ(t[0].Text, c.Text);
        EXPECT_EQ(t[0].Rect, Rect(2, 2, 102, 18));
        EXPECT_TRUE(t[0].Flags & DT_CENTER);
        EXPECT_EQ(t[0].BkColor, CLR_NONE) << "transparent";
    }
    Open(110, 30);
    DrawBalanceBar(Canvas.get(), Rect(0, 0, 104, 20), 40, 100, false, clRed, clLime);
    EXPECT_TRUE(Records(L"DrawText").empty());
    EXPECT_EQ(Px(60, 10), COLORREF(clLime));
    EXPECT_EQ(Px(40, 10), COLORREF(clWhite));
}
