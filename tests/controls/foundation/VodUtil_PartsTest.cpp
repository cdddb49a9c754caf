#include <gtest/gtest.h>

#include <vector>

#include "controls/foundation/ThemeApiBinding.h"
#include "controls/foundation/VodUtil.h"
#include "platform/ui/Themes.h"
#include "tests/platform/gfx/GdiTestUtil.h"

namespace {

COLORREF C(TColor c) { return COLORREF(c); }

// Each tone in colours of its own, so a record shows which one was read.
TColorTones Tones()
{
    TColorTones t;
    t.Background = {TColor(0x000010), TColor(0x000011), TColor(0x000012)};
    t.Foreground = {TColor(0x000020), TColor(0x000021), TColor(0x000022)};
    t.Selected = {TColor(0x000030), TColor(0x000031), TColor(0x000032)};
    t.Hover = {TColor(0x000040), TColor(0x000041), TColor(0x000042)};
    t.Disabled = {TColor(0x000050), TColor(0x000051), TColor(0x000052)};
    return t;
}

// A recording canvas; visual styles on or off for the life of the fixture.
class VodUtilParts : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        SetVisualStylesEnabled(GetParam());
        SetFixedMetricsFonts(true);
        Open();
    }
    void TearDown() override
    {
        Canvas.reset();
        Surface.reset();
        SetVisualStylesEnabled(true);
        SetFixedMetricsFonts(false);
    }
    void Open()
    {
        Canvas.reset();
        Surface = std::make_unique<TTestCanvas>(200, 60);
        Canvas = std::make_unique<TCanvas>();
        Canvas->SetHandle(Surface->Dc);
        GdiStartRecording(Surface->Dc);
    }
    std::vector<TGdiRecord> Records() const { return GdiRecords(Surface->Dc); }
    bool Styled() const { return GetParam(); }

    std::unique_ptr<TTestCanvas> Surface;
    std::unique_ptr<TCanvas> Canvas;
};

// A themed record: class, part and state over a rectangle.
void ExpectTheme(const TGdiRecord& r, const wchar_t* cls, int part, int state, const TRect& rect)
{
    EXPECT_EQ(r.Kind, L"DrawThemeBackground");
    EXPECT_EQ(r.Text, cls);
    EXPECT_EQ(r.Flags, UINT(part * 0x10000 + state));
    EXPECT_EQ(r.Rect, rect);
}

void ExpectFrame(const TGdiRecord& r, UINT type, UINT state, const TRect& rect)
{
    EXPECT_EQ(r.Kind, L"DrawFrameControl");
    EXPECT_EQ(r.Flags, (type << 16) | state) << std::hex << r.Flags;
    EXPECT_EQ(r.Rect, rect);
}

const TPartState kStates[] = {pstNormal, pstHot, pstDown, pstDisabled};

}  // namespace

INSTANTIATE_TEST_SUITE_P(VodUtil, VodUtilParts, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "On" : "Off"; });

TEST_P(VodUtilParts, ComboButtonInTheFourKinds)
{
    // R (10, 5, 110, 26): B = (R.Right - 17, 6, R.Right, 25) moved 2 left.
    const TRect R = Rect(10, 5, 110, 26), B = Rect(91, 6, 108, 25);
    for (TPartState s : kStates) {
        SCOPED_TRACE(int(s));
        Open();
        DrawComboButton(Canvas.get(), nullptr, R, pkThemed, s, Tones(), 1.0f);
        auto r = Records();
        if (Styled()) {
            ASSERT_EQ(r.size(), 1u);
            // Hot and down look normal.
            ExpectTheme(r[0], L"combobox", 1, s == pstDisabled ? 4 : 1, B);
        } else {
            EXPECT_TRUE(r.empty()) << "no theme data: nothing drawn";
        }

        for (TPartKind k : {pkClassic, pkFlat}) {
            Open();
            DrawComboButton(Canvas.get(), nullptr, R, k, s, Tones(), 1.0f);
            r = Records();
            ASSERT_EQ(r.size(), 1u);
            ExpectFrame(r[0], DFC_SCROLL,
                        DFCS_SCROLLCOMBOBOX | (s == pstDisabled ? UINT(DFCS_INACTIVE) : 0u) | (k == pkFlat ? UINT(DFCS_FLAT) : 0u), B);
        }

        Open();
        DrawComboButton(Canvas.get(), nullptr, R, pkOwnColors, s, Tones(), 1.0f);
        r = Records();
        ASSERT_EQ(r.size(), 3u);
        const TColor face[] = {0x10, 0x40, 0x30, 0x50};
        EXPECT_EQ(r[0].Kind, L"Rectangle");
        EXPECT_EQ(r[0].Rect, Rect(94, 6, 108, 25));
        EXPECT_EQ(r[0].Color, C(face[s]));
        EXPECT_EQ(r[0].BkColor, C(face[s]));
        EXPECT_EQ(r[1].Kind, L"LineTo");
        EXPECT_EQ(r[1].Points, (std::vector<TPoint>{{95, 6}, {95, 25}}));
        EXPECT_EQ(r[1].Color, C(0x11)) << "the separator in the Background tone's border colour";
        EXPECT_EQ(r[2].Kind, L"Polygon");
        EXPECT_EQ(r[2].Points, (std::vector<TPoint>{{99, 14}, {105, 14}, {102, 17}}));
        EXPECT_EQ(r[2].Color, C(0x12));
        EXPECT_EQ(r[2].BkColor, C(0x12));
    }
}

TEST_P(VodUtilParts, ComboButtonScalesItsWidthRoundingToEven)
{
    struct {
        float Scale;
        int Width;
    } const cases[] = {{1.0f, 17}, {1.5f, 26}, {2.5f, 42}, {1.25f, 21}};
    for (const auto& c : cases) {
        Open();
        DrawComboButton(Canvas.get(), nullptr, Rect(0, 0, 120, 20), pkClassic, pstNormal, Tones(), c.Scale);
        ASSERT_EQ(Records().size(), 1u);
        EXPECT_EQ(Records()[0].Rect, Rect(120 - c.Width - 2, 1, 118, 19)) << c.Scale;
    }
}

TEST_P(VodUtilParts, PushButtonKindsStatesAndCaption)
{
    const TRect R = Rect(10, 10, 90, 35);
    const int themed[] = {1, 2, 3, 4};
    const UINT frame[] = {0, DFCS_HOT, DFCS_PUSHED, DFCS_INACTIVE};
    const TColor brush[] = {0x10, 0x40, 0x30, 0x50}, border[] = {0x11, 0x41, 0x31, 0x51};
    for (TPartState s : kStates) {
        SCOPED_TRACE(int(s));
        Open();
        DrawPushButton(Canvas.get(), nullptr, R, pkThemed, s, Tones(), true, L"");
        auto r = Records();
        if (Styled()) {
            ASSERT_EQ(r.size(), 1u);
            ExpectTheme(r[0], L"button", 1, themed[s], R);
        } else {
            EXPECT_TRUE(r.empty());
        }
        for (TPartKind k : {pkClassic, pkFlat}) {
            Open();
            DrawPushButton(Canvas.get(), nullptr, R, k, s, Tones(), true, L"");
            r = Records();
            ASSERT_EQ(r.size(), 1u);
            ExpectFrame(r[0], DFC_BUTTON, DFCS_BUTTONPUSH | frame[s] | (k == pkFlat ? UINT(DFCS_FLAT) : 0u), R);
        }
        Open();
        DrawPushButton(Canvas.get(), nullptr, R, pkOwnColors, s, Tones(), true, L"");
        r = Records();
        ASSERT_EQ(r.size(), 1u);
        EXPECT_EQ(r[0].Kind, L"Rectangle");
        EXPECT_EQ(r[0].Rect, R);
        EXPECT_EQ(r[0].BkColor, C(brush[s]));
        EXPECT_EQ(r[0].Color, C(border[s]));
    }

    // No caption: no text and the brush style as it was.
    Open();
    DrawPushButton(Canvas.get(), nullptr, R, pkClassic, pstNormal, Tones(), true, L"");
    EXPECT_EQ(Canvas->Brush()->Style(), bsSolid);

    // A caption in any kind: single line, centred, 4 pixels down from the top.
    for (bool prefix : {true, false}) {
        Open();
        DrawPushButton(Canvas.get(), nullptr, R, pkFlat, pstNormal, Tones(), prefix, L"&Go");
        auto r = Records();
        ASSERT_GE(r.size(), 2u);
        const TGdiRecord& t = r[1];
        EXPECT_EQ(t.Kind, L"DrawText");
        EXPECT_EQ(t.Text, L"&Go");
        EXPECT_EQ(t.Rect, Rect(10, 14, 90, 35));
        EXPECT_EQ(t.Flags, DT_CENTER | DT_VCENTER | DT_SINGLELINE | (prefix ? 0u : UINT(DT_NOPREFIX)));
        EXPECT_EQ(t.BkColor, CLR_NONE);
        EXPECT_EQ(Canvas->Brush()->Style(), bsClear);
    }
}

TEST_P(VodUtilParts, SpinButtonsInTheFourKinds)
{
    // R (10, 5, 110, 27): S = (95, 5, 110, 27) moved 1 left and 1 up:
    // (94, 4, 109, 26), Mid 15.
    const TRect R = Rect(10, 5, 110, 27);
    for (TPartState s : kStates) {
        SCOPED_TRACE(int(s));
        Open();
        DrawSpinButtons(Canvas.get(), nullptr, R, pkThemed, s, Tones());
        auto r = Records();
        if (Styled()) {
            ASSERT_EQ(r.size(), 2u);
            const int state = s == pstDisabled ? 4 : 1;
            ExpectTheme(r[0], L"spin", 1, state, Rect(94, 4, 109, 15));
            ExpectTheme(r[1], L"spin", 2, state, Rect(94, 15, 109, 26));
        } else {
            EXPECT_TRUE(r.empty());
        }
        for (TPartKind k : {pkClassic, pkFlat}) {
            Open();
            DrawSpinButtons(Canvas.get(), nullptr, R, k, s, Tones());
            r = Records();
            ASSERT_EQ(r.size(), 2u);
            const UINT extra = (s == pstDisabled ? UINT(DFCS_INACTIVE) : 0u) | (k == pkFlat ? UINT(DFCS_FLAT) : 0u);
            ExpectFrame(r[0], DFC_SCROLL, DFCS_SCROLLUP | extra, Rect(94, 4, 109, 15));
            ExpectFrame(r[1], DFC_SCROLL, DFCS_SCROLLDOWN | extra, Rect(94, 16, 109, 26));
        }
        Open();
        DrawSpinButtons(Canvas.get(), nullptr, R, pkOwnColors, s, Tones());
        r = Records();
        ASSERT_EQ(r.size(), 4u);
        const TColor face[] = {0x10, 0x40, 0x30, 0x50};
        EXPECT_EQ(r[0].Rect, Rect(94, 4, 109, 15));
        EXPECT_EQ(r[1].Rect, Rect(94, 16, 109, 26));
        for (int i : {0, 1}) {
            EXPECT_EQ(r[size_t(i)].Color, C(face[s])) << "outlined in its own brush colour, not the border's";
            EXPECT_EQ(r[size_t(i)].BkColor, C(face[s]));
        }
        EXPECT_EQ(r[2].Points, (std::vector<TPoint>{{99, 9}, {103, 9}, {101, 7}}));
        EXPECT_EQ(r[3].Points, (std::vector<TPoint>{{99, 17}, {103, 17}, {101, 19}}));
        for (int i : {2, 3}) {
            EXPECT_EQ(r[size_t(i)].Color, C(clBlack));
            EXPECT_EQ(r[size_t(i)].BkColor, C(clBlack));
        }
    }
}

TEST(VodUtilPartsUnbound, ThemedPartsDrawNothingWithoutTheThemeLibrary)
{
    TTestCanvas surface(100, 40);
    TCanvas canvas;
    canvas.SetHandle(surface.Dc);
    GdiStartRecording(surface.Dc);
    UnbindThemeAPI();
    DrawComboButton(&canvas, nullptr, Rect(0, 0, 100, 20), pkThemed, pstNormal, TColorTones(), 1.0f);
    DrawSpinButtons(&canvas, nullptr, Rect(0, 0, 100, 20), pkThemed, pstNormal, TColorTones());
    DrawPushButton(&canvas, nullptr, Rect(0, 0, 100, 20), pkThemed, pstNormal, TColorTones(), true, L"");
    EXPECT_TRUE(GdiRecords(surface.Dc).empty());
    BindThemeAPI();
    DrawPushButton(&canvas, nullptr, Rect(0, 0, 100, 20), pkThemed, pstNormal, TColorTones(), true, L"");
    EXPECT_EQ(GdiRecords(surface.Dc).size(), 1u);
    canvas.SetHandle(nullptr);
}
