// The progress bar: position, percentage and the repaint step, the endless
// mode's ticks and timer, and what a paint draws (blocks, smooth piece,
// zones, rounded corners, the sliding window, the text).
#include <gtest/gtest.h>

#include "controls/chrome/VodProgressBar.h"
#include "ToolButtonTestSupport.h"

namespace {

class TCountingBar : public TVodProgressBar {
public:
    using TVodProgressBar::TVodProgressBar;
    int Paints = 0;

protected:
    void Paint() override
    {
        ++Paints;
        TVodProgressBar::Paint();
    }
};

class VodProgressBarTest : public ::testing::Test {
protected:
    TChromeDesk Desk;
    TCountingBar* NewBar()
    {
        auto* b = new TCountingBar(Desk.Form);
        b->SetParent(Desk.Form);
        b->SetBounds(10, 10, 128, 18);
        Desk.Drv->Pump();
        b->Paints = 0;
        return b;
    }
};

// A plain look: solid colours, square corners, no text.
TGaugeSettings Plain(Integer Percent)
{
    TGaugeSettings s;
    s.Level0Color = TColor(0x00FF00);
    s.Level1Color = TColor(0x00FFFF);
    s.Level2Color = TColor(0x53A9FF);
    s.Level3Color = TColor(0x0000FF);
    s.Level1Perc = 70;
    s.Level2Perc = 90;
    s.BorderColor = TColor(0x808080);
    s.ShowBorder = true;
    s.Steps = 8;
    s.Position = Percent;
    s.Value = Percent;
    s.Max = 100;
    s.BackgroundColor = TColor(0xFFFFFF);
    return s;
}

struct TGaugeCanvas {
    TTestCanvas Surface;
    TCanvas Canvas;
    TGaugeCanvas(int w, int h) : Surface(w, h, RGB(1, 2, 3))
    {
        Canvas.SetHandle(Surface.Dc);
        GdiStartRecording(Surface.Dc);
    }
    ~TGaugeCanvas() { Canvas.SetHandle(nullptr); }
    bool Drew(const String& text) const
    {
        for (auto& r : GdiRecords(Surface.Dc))
            if (r.Text == text) return true;
        return false;
    }
    bool DrewAnyText() const
    {
        for (auto& r : GdiRecords(Surface.Dc))
            if (!r.Text.empty()) return true;
        return false;
    }
};

}  // namespace

TEST_F(VodProgressBarTest, PositionPercentAndRepaintStep)
{
    TCountingBar* b = NewBar();
    // The percentage counts from Min.
    b->SetMin(20);
    b->SetMax(120);
    EXPECT_EQ(b->PercentOf(70), 50);
    EXPECT_EQ(b->PercentOf(120), 100);
    b->SetMax(20);
    EXPECT_EQ(b->PercentOf(20), 0) << "an empty range shows 0 percent";
    EXPECT_EQ(b->RepaintStep(), 0);
    b->SetPosition(20);   // a step of 0 paints every time and never divides
    EXPECT_EQ(b->Position(), 20);

    b->SetMin(0);
    b->SetMax(100);
    Desk.Drv->Pump();
    b->Paints = 0;
    b->SetPosition(150);
    EXPECT_EQ(b->Position(), 100);
    b->SetPosition(-5);
    EXPECT_EQ(b->Position(), 0);
    EXPECT_EQ(b->Paints, 0) << "out-of-range values are stored without painting";

    b->SetMax(1000);
    EXPECT_EQ(b->RepaintStep(), 10);
    Desk.Drv->Pump();
    struct Step {
        Integer Position;
        bool Paints;
    } steps[] = {{10, true}, {11, false}, {14, false}, {15, true}, {16, false}, {19, false},
                 {20, true}, {21, false}, {35, true}, {36, false}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.Position);
        b->Paints = 0;
        b->SetPosition(s.Position);
        EXPECT_EQ(b->Paints, s.Paints ? 1 : 0) << "painted at once, not through invalidation";
    }
}

TEST_F(VodProgressBarTest, EndlessModeTicksBetweenTheEnds)
{
    TCountingBar* b = NewBar();
    EXPECT_FALSE(b->Timer()->Enabled());
    b->SetInfinite(true);
    EXPECT_FALSE(b->Timer()->Enabled()) << "only while animated too";
    b->SetAnimated(true);
    EXPECT_TRUE(b->Timer()->Enabled());
    EXPECT_EQ(b->Timer()->Interval(), 50u);

    b->StepInfinite();
    EXPECT_EQ(b->InfinitePos(), 0) << "the first tick moves down and turns at 0";
    for (int i = 0; i < 25; ++i) b->StepInfinite();
    EXPECT_EQ(b->InfinitePos(), 100) << "left end to right end in 25 ticks";
    b->StepInfinite();
    EXPECT_EQ(b->InfinitePos(), 96);

    // The timer drives it.
    b->SetInfinite(true);
    EXPECT_EQ(b->InfinitePos(), 0);
    b->Paints = 0;
    Desk.Drv->Advance(500);
    EXPECT_GE(b->Paints, 9);
    EXPECT_GT(b->InfinitePos(), 0);
    b->SetInfiniteInterval(100);
    EXPECT_EQ(b->Timer()->Interval(), 100u);
    b->SetAnimated(false);
    EXPECT_FALSE(b->Timer()->Enabled());
}

TEST(VodProgressBarDrawing, BlocksAndTheirRemainder)
{
    struct Case {
        int Width;
        const char* Row;
    } cases[] = {
        {25, "..#######..#######..###.."},   // N = 23: two blocks, a last one of 3
        {22, "..#######..#######...."},       // N = 20: the remainder 2 draws nothing
        {21, "..#######..#######..."},         // N = 19: remainder 1
        {10, "..#######."},                    // N = 8: one block of N - 1
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Width);
        TGaugeCanvas g(c.Width, 10);
        DrawGauge(&g.Canvas, TRect{0, 0, c.Width, 10}, Plain(100));
        EXPECT_EQ(g.Surface.Row(5, 0, c.Width, RGB(255, 0, 0)), c.Row);
    }
}

TEST(VodProgressBarDrawing, SmoothPiecesZonesAndVerticalBars)
{
    {
        TGaugeCanvas g(42, 10);
        TGaugeSettings s = Plain(50);
        s.CompletionSmooth = true;
        DrawGauge(&g.Canvas, TRect{0, 0, 42, 10}, s);
        EXPECT_EQ(g.Surface.Row(5, 0, 24, RGB(0, 255, 0)), "..##################....");
        EXPECT_EQ(g.Surface.Px(0, 5), RGB(128, 128, 128)) << "frame";
    }
    {
        TGaugeCanvas g(10, 42);
        TGaugeSettings s = Plain(50);
        s.CompletionSmooth = true;
        s.Orientation = goVertical;
        DrawGauge(&g.Canvas, TRect{0, 0, 10, 42}, s);
        EXPECT_EQ(g.Surface.Px(5, 21), RGB(255, 255, 255));
        EXPECT_EQ(g.Surface.Px(5, 22), RGB(0, 255, 0)) << "grows upwards from the bottom";
        EXPECT_EQ(g.Surface.Px(5, 39), RGB(0, 255, 0));
        EXPECT_EQ(g.Surface.Px(5, 40), RGB(255, 255, 255));
    }
    {
        TGaugeCanvas g(102, 10);
        TGaugeSettings s = Plain(0);
        s.Level0BkColor = TColor(0x0000AA);
        s.Level1BkColor = TColor(0x00AA00);
        s.Level2BkColor = TColor(0xAA0000);
        DrawGauge(&g.Canvas, TRect{0, 0, 102, 10}, s);
        EXPECT_EQ(g.Surface.Px(2, 5), RGB(0xAA, 0, 0));
        EXPECT_EQ(g.Surface.Px(69, 5), RGB(0xAA, 0, 0));
        EXPECT_EQ(g.Surface.Px(70, 5), RGB(0, 0xAA, 0));
        EXPECT_EQ(g.Surface.Px(89, 5), RGB(0, 0xAA, 0));
        EXPECT_EQ(g.Surface.Px(90, 5), RGB(0, 0, 0xAA));
        EXPECT_EQ(g.Surface.Px(99, 5), RGB(0, 0, 0xAA));
        EXPECT_EQ(g.Surface.Px(100, 5), RGB(255, 255, 255));
    }
}

TEST(VodProgressBarDrawing, EndlessWindowAroundTheSlidingPosition)
{
    TGaugeCanvas g(104, 10);
    TGaugeSettings s = Plain(30);
    s.Infinite = true;
    s.CompletionSmooth = true;
    s.InfinitePos = 50;   // b = 50
    DrawGauge(&g.Canvas, TRect{0, 0, 104, 10}, s);
    EXPECT_EQ(g.Surface.Px(30, 5), RGB(255, 255, 255)) << "masked before b - 10";
    EXPECT_EQ(g.Surface.Px(45, 5), RGB(0, 255, 0)) << "one level-0 piece shows in the window";
    EXPECT_EQ(g.Surface.Px(70, 5), RGB(255, 255, 255)) << "masked from b + 12";
}

TEST(VodProgressBarDrawing, TextOnlyWithShowPositionAndFormats)
{
    struct Case {
        const char* Name;
        bool ShowPosition, ShowPercentage;
        const wchar_t* Format;
        const wchar_t* Text;   // null: no text at all
    } cases[] = {
        {"percentage", true, true, L"", L"30%"},
        {"position", true, false, L"", L"60"},
        {"hidden", false, true, L"", nullptr},
        {"two integers", true, true, L"%d of %d", L"60 of 200"},
        {"a format that does not fit", true, true, L"%s and %f", L"30%"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TGaugeCanvas g(100, 18);
        TGaugeSettings s = Plain(30);
        s.Value = 60;
        s.Max = 200;
        s.ShowPosition = c.ShowPosition;
        s.ShowPercentage = c.ShowPercentage;
        s.Format = c.Format;
        DrawGauge(&g.Canvas, TRect{0, 0, 100, 18}, s);
        if (c.Text) EXPECT_TRUE(g.Drew(c.Text));
        else EXPECT_FALSE(g.DrewAnyText());
    }
}

TEST_F(VodProgressBarTest, PaintsOffScreenWithTransparentRoundedCorners)
{
    TCountingBar* b = NewBar();
    b->SetShowPosition(false);
    b->SetPosition(0);
    {
        TPainted p(b);
        EXPECT_EQ(p.Px(0, 0), RGB(255, 255, 255)) << "the corner shows what was there";
        EXPECT_EQ(p.Px(64, 0), RGB(128, 128, 128)) << "frame";
        EXPECT_EQ(p.Px(64, 9), RGB(255, 255, 255)) << "background";
    }
    TTestCanvas black(128, 18, RGB(0, 0, 0));
    b->Perform(WM_PAINT, WPARAM(black.Dc), 0);
    EXPECT_EQ(black.Px(0, 0), RGB(0, 0, 0)) << "transparent corner over black";
    b->SetRounded(false);
    b->Perform(WM_PAINT, WPARAM(black.Dc), 0);
    EXPECT_EQ(black.Px(0, 0), RGB(128, 128, 128)) << "square corners are frame";
    EXPECT_EQ(b->Perform(WM_ERASEBKGND, 0, 0), 0);
    EXPECT_EQ(b->Font()->Name(), L"Verdana");
    EXPECT_EQ(b->Font()->Size(), 10);
}
