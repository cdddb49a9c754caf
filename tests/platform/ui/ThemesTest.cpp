#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/ui/Themes.h"
#include "tests/platform/gfx/GdiTestUtil.h"

namespace {

int Luma(COLORREF c) { return (299 * GetRValue(c) + 587 * GetGValue(c) + 114 * GetBValue(c)) / 1000; }
bool IsGrey(COLORREF c) { return GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c); }

// Each test gets visual styles on and one theme per class it opens.
class ThemesTest : public ::testing::Test {
protected:
    void SetUp() override { SetVisualStylesEnabled(true); }
    void TearDown() override
    {
        for (HTHEME t : FOpen) CloseThemeData(t);
        SetVisualStylesEnabled(true);
    }
    HTHEME Open(const wchar_t* cls)
    {
        HTHEME t = OpenThemeData(nullptr, cls);
        if (t) FOpen.push_back(t);
        return t;
    }
    // Draws part/state over (0,0,w,h) of a fresh white canvas.
    void Draw(TTestCanvas& c, const wchar_t* cls, int part, int state, int w, int h)
    {
        RECT r{0, 0, w, h};
        ASSERT_EQ(S_OK, DrawThemeBackground(Open(cls), c.Dc, part, state, &r, nullptr));
    }
    // Pixels in the rectangle darker than the given luma.
    static int CountDark(const TTestCanvas& c, RECT r, int below)
    {
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) n += Luma(c.Px(x, y)) < below;
        return n;
    }
    std::vector<HTHEME> FOpen;
};

TEST_F(ThemesTest, SwitchTurnsThemingOffForNewHandlesOnly)
{
    EXPECT_TRUE(IsThemeActive());
    EXPECT_TRUE(IsAppThemed());
    HTHEME held = Open(L"button");
    ASSERT_NE(nullptr, held);

    SetVisualStylesEnabled(false);
    EXPECT_FALSE(VisualStylesEnabled());
    EXPECT_FALSE(IsThemeActive());
    EXPECT_FALSE(IsAppThemed());
    EXPECT_EQ(nullptr, Open(L"button"));
    wchar_t file[255], color[255], size[255];
    EXPECT_TRUE(FAILED(GetCurrentThemeName(file, 255, color, 255, size, 255)));

    // A handle opened before keeps drawing.
    TTestCanvas c(20, 20);
    RECT r{0, 0, 20, 20};
    EXPECT_EQ(S_OK, DrawThemeBackground(held, c.Dc, BP_PUSHBUTTON, PBS_NORMAL, &r, nullptr));
    EXPECT_NE(RGB(255, 255, 255), c.Px(10, 10));

    SetVisualStylesEnabled(true);
    EXPECT_TRUE(IsThemeActive());
    EXPECT_NE(nullptr, Open(L"button"));
}

TEST_F(ThemesTest, ClassListsPickTheFirstKnownClass)
{
    struct Case {
        const wchar_t* List;
        const wchar_t* Class;   // null: no handle
        int Part = 1;
    } cases[] = {
        {L"button", L"button"},
        {L"BUTTON", L"button"},
        {L"Progress", L"progress"},
        {L"ListView;Header", L"header"},
        {L"Explorer::ComboBox", L"combobox"},
        {L" spin ; edit", L"spin"},
        {L"window", L"window"},
        {L"scrollbar", L"scrollbar"},
        {L"toolbar", L"toolbar"},
        {L"menu", L"menu", MENU_POPUPBACKGROUND},
        {L"nosuchclass", nullptr},
        {L"", nullptr},
        {L";;", nullptr},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(testing::Message() << UTF8Encode(k.List));
        HTHEME t = Open(k.List);
        if (!k.Class) {
            EXPECT_EQ(nullptr, t);
            continue;
        }
        ASSERT_NE(nullptr, t);
        // The record names the class opened.
        TTestCanvas c(20, 20);
        GdiStartRecording(c.Dc);
        RECT r{0, 0, 20, 20};
        EXPECT_EQ(S_OK, DrawThemeBackground(t, c.Dc, k.Part, 1, &r, nullptr));
        ASSERT_EQ(1u, GdiRecords(c.Dc).size());
        EXPECT_EQ(String(k.Class), GdiRecords(c.Dc)[0].Text);
    }
    EXPECT_EQ(nullptr, OpenThemeData(nullptr, nullptr));
}

TEST_F(ThemesTest, HandlesAreCheckedAndCloseOnce)
{
    HTHEME t = OpenThemeData(nullptr, L"button");
    ASSERT_NE(nullptr, t);
    EXPECT_EQ(S_OK, CloseThemeData(t));
    EXPECT_EQ(E_HANDLE, CloseThemeData(t));
    EXPECT_EQ(E_HANDLE, CloseThemeData(nullptr));

    TTestCanvas c(10, 10);
    RECT r{0, 0, 10, 10};
    EXPECT_EQ(E_HANDLE, DrawThemeBackground(t, c.Dc, 1, 1, &r, nullptr));
    EXPECT_EQ(E_HANDLE, DrawThemeBackground(nullptr, c.Dc, 1, 1, &r, nullptr));
    SIZE s;
    EXPECT_EQ(E_HANDLE, GetThemePartSize(t, c.Dc, 1, 1, nullptr, TS_TRUE, &s));
    COLORREF col;
    EXPECT_EQ(E_HANDLE, GetThemeColor(t, 1, 1, TMT_FILLCOLOR, &col));
    EXPECT_EQ(100, c.Count(RGB(255, 255, 255), 10, 10));
}

TEST_F(ThemesTest, BadArgumentsAndUnknownPartsDrawNothing)
{
    TTestCanvas c(20, 20);
    RECT r{0, 0, 20, 20};
    HTHEME b = Open(L"button");
    GdiStartRecording(c.Dc);
    EXPECT_EQ(E_INVALIDARG, DrawThemeBackground(b, c.Dc, 99, 1, &r, nullptr));
    EXPECT_EQ(E_INVALIDARG, DrawThemeBackground(b, c.Dc, 0, 1, &r, nullptr));
    EXPECT_EQ(E_INVALIDARG, DrawThemeBackground(b, nullptr, 1, 1, &r, nullptr));
    EXPECT_EQ(E_INVALIDARG, DrawThemeBackground(b, c.Dc, 1, 1, nullptr, nullptr));
    EXPECT_EQ(E_INVALIDARG, DrawThemeBackground(Open(L"combobox"), c.Dc, 2, 1, &r, nullptr));
    EXPECT_EQ(400, c.Count(RGB(255, 255, 255), 20, 20));
    EXPECT_TRUE(GdiRecords(c.Dc).empty());

    // An inverted rectangle is accepted and draws nothing.
    RECT inverted{15, 15, 5, 5};
    EXPECT_EQ(S_OK, DrawThemeBackground(b, c.Dc, 1, 1, &inverted, nullptr));
    EXPECT_EQ(400, c.Count(RGB(255, 255, 255), 20, 20));

    // A state out of range draws as the part's first state.
    TTestCanvas first(20, 20), odd(20, 20);
    Draw(first, L"button", BP_CHECKBOX, 1, 20, 20);
    Draw(odd, L"button", BP_CHECKBOX, 77, 20, 20);
    for (int y = 0; y < 20; ++y)
        EXPECT_EQ(first.Row(y, 0, 20, RGB(255, 255, 255)), odd.Row(y, 0, 20, RGB(255, 255, 255)));
}

TEST_F(ThemesTest, CheckBoxShowsMarkOnlyWhenCheckedAndGreysWhenDisabled)
{
    // 13 x 13 box centred in 21 x 21: the box spans 4..16, its inside 5..15.
    RECT inside{6, 6, 15, 15};
    struct Case {
        int State;
        bool Mark;
        bool Disabled;
    } cases[] = {
        {CBS_UNCHECKEDNORMAL, false, false}, {CBS_UNCHECKEDHOT, false, false},
        {CBS_UNCHECKEDPRESSED, false, false}, {CBS_UNCHECKEDDISABLED, false, true},
        {CBS_CHECKEDNORMAL, true, false},    {CBS_CHECKEDHOT, true, false},
        {CBS_CHECKEDPRESSED, true, false},   {CBS_CHECKEDDISABLED, true, true},
        {CBS_MIXEDNORMAL, true, false},      {CBS_MIXEDDISABLED, true, true},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.State);
        TTestCanvas c(21, 21);
        Draw(c, L"button", BP_CHECKBOX, k.State, 21, 21);
        // Outside the box stays untouched; the border is at 4 and 16.
        EXPECT_EQ(RGB(255, 255, 255), c.Px(3, 10));
        EXPECT_EQ(RGB(255, 255, 255), c.Px(17, 10));
        COLORREF border = c.Px(4, 10);
        EXPECT_NE(RGB(255, 255, 255), border);
        EXPECT_EQ(border, c.Px(16, 10));
        int marked = CountDark(c, inside, 200);
        int touched = CountDark(c, inside, 250);
        if (k.Mark && !k.Disabled) {
            EXPECT_GT(marked, 8);
        }
        if (!k.Mark) {
            EXPECT_EQ(0, marked);
        }
        if (k.Disabled) {
            EXPECT_EQ(0, marked);   // nothing dark: the mark is greyed
            EXPECT_TRUE(IsGrey(border));
            EXPECT_GT(Luma(border), 190);
            EXPECT_EQ(k.Mark, touched > 8);
        }
    }
    // Mixed fills the middle with the mark colour; checked leaves it open.
    TTestCanvas mixed(21, 21), checked(21, 21);
    Draw(mixed, L"button", BP_CHECKBOX, CBS_MIXEDNORMAL, 21, 21);
    Draw(checked, L"button", BP_CHECKBOX, CBS_CHECKEDNORMAL, 21, 21);
    EXPECT_EQ(RGB(51, 51, 51), mixed.Px(8, 8));
    EXPECT_EQ(RGB(51, 51, 51), mixed.Px(12, 12));
    EXPECT_EQ(RGB(255, 255, 255), checked.Px(6, 13));
}

TEST_F(ThemesTest, RadioShowsDotWhenChecked)
{
    for (int state = 1; state <= 8; ++state) {
        SCOPED_TRACE(state);
        TTestCanvas c(13, 13);
        Draw(c, L"button", BP_RADIOBUTTON, state, 13, 13);
        COLORREF centre = c.Px(6, 6);
        if (state <= 4) {
            EXPECT_EQ(state == RBS_UNCHECKEDPRESSED ? RGB(204, 228, 247) : RGB(255, 255, 255),
                      centre);
        } else if (state == RBS_CHECKEDDISABLED) {
            EXPECT_EQ(RGB(204, 204, 204), centre);
        } else {
            EXPECT_LT(Luma(centre), 120);
        }
        // Round: the corners stay clear, the edge midpoints are ringed.
        EXPECT_EQ(RGB(255, 255, 255), c.Px(0, 0));
        EXPECT_NE(RGB(255, 255, 255), c.Px(0, 6));
    }
}

TEST_F(ThemesTest, PushButtonStates)
{
    COLORREF fills[6], borders[6];
    for (int state = 1; state <= 5; ++state) {
        TTestCanvas c(30, 20);
        Draw(c, L"button", BP_PUSHBUTTON, state, 30, 20);
        fills[state] = c.Px(15, 10);
        borders[state] = c.Px(0, 10);
        EXPECT_EQ(borders[state], c.Px(29, 10));
        EXPECT_EQ(borders[state], c.Px(15, 0));
        // Only the default button has a second frame line.
        EXPECT_EQ(state == PBS_DEFAULTED, c.Px(1, 10) == borders[state]) << state;
        COLORREF col;
        ASSERT_EQ(S_OK, GetThemeColor(Open(L"button"), BP_PUSHBUTTON, state, TMT_FILLCOLOR, &col));
        EXPECT_EQ(fills[state], col);
    }
    EXPECT_LT(Luma(fills[PBS_PRESSED]), Luma(fills[PBS_NORMAL]));
    EXPECT_LT(Luma(fills[PBS_PRESSED]), Luma(fills[PBS_HOT]));
    EXPECT_TRUE(IsGrey(fills[PBS_DISABLED]));
    EXPECT_TRUE(IsGrey(borders[PBS_DISABLED]));
    EXPECT_GT(Luma(borders[PBS_DISABLED]), Luma(borders[PBS_NORMAL]));
    COLORREF text;
    ASSERT_EQ(S_OK, GetThemeColor(Open(L"button"), BP_PUSHBUTTON, PBS_DISABLED, TMT_TEXTCOLOR, &text));
    EXPECT_TRUE(IsGrey(text));
    EXPECT_GT(Luma(text), 100);
}

// Finds the rows (or columns) of glyph pixels and answers their lengths in
// order, so an arrow's direction shows as growing or shrinking lengths.
std::vector<int> GlyphRuns(const TTestCanvas& c, int w, int h, bool rows, COLORREF glyph)
{
    std::vector<int> runs;
    int outer = rows ? h : w, inner = rows ? w : h;
    for (int i = 0; i < outer; ++i) {
        int n = 0;
        for (int j = 0; j < inner; ++j) n += (rows ? c.Px(j, i) : c.Px(i, j)) == glyph;
        if (n) runs.push_back(n);
    }
    return runs;
}

TEST_F(ThemesTest, ArrowsPointTheirWay)
{
    const COLORREF glyph = RGB(96, 96, 96);
    struct Case {
        const wchar_t* Cls;
        int Part, State;
        bool Rows;        // the arrow's rows run across the rows of pixels
        bool Growing;     // lengths grow from top/left: points up or left
    } cases[] = {
        {L"spin", SPNP_UP, 1, true, true},
        {L"spin", SPNP_DOWN, 1, true, false},
        {L"spin", SPNP_UPHORZ, 1, false, false},     // right
        {L"spin", SPNP_DOWNHORZ, 1, false, true},    // left
        {L"combobox", CP_DROPDOWNBUTTON, 1, true, false},
        {L"scrollbar", SBP_ARROWBTN, ABS_UPNORMAL, true, true},
        {L"scrollbar", SBP_ARROWBTN, ABS_RIGHTNORMAL, false, false},
        {L"header", HP_HEADERSORTARROW, HSAS_SORTEDDOWN, true, false},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(testing::Message() << UTF8Encode(k.Cls) << " " << k.Part << "/" << k.State);
        TTestCanvas c(17, 17);
        Draw(c, k.Cls, k.Part, k.State, 17, 17);
        std::vector<int> runs = GlyphRuns(c, 17, 17, k.Rows, glyph);
        ASSERT_GE(runs.size(), 2u);
        for (size_t i = 1; i < runs.size(); ++i)
            EXPECT_EQ(runs[i - 1] + (k.Growing ? 2 : -2), runs[i]);
        EXPECT_EQ(1, k.Growing ? runs.front() : runs.back());
    }
    // A disabled combo arrow is light grey.
    TTestCanvas d(17, 17);
    Draw(d, L"combobox", CP_DROPDOWNBUTTON, CBXS_DISABLED, 17, 17);
    EXPECT_EQ(0u, GlyphRuns(d, 17, 17, true, glyph).size());
    EXPECT_EQ(4u, GlyphRuns(d, 17, 17, true, RGB(191, 191, 191)).size());
}

TEST_F(ThemesTest, CaptionButtonsAndBars)
{
    TTestCanvas close(28, 20);
    Draw(close, L"window", WP_CLOSEBUTTON, CBS_HOT, 28, 20);
    EXPECT_EQ(RGB(232, 17, 35), close.Px(1, 1));
    EXPECT_GT(Luma(close.Px(14, 10)), 150);   // the white cross through the middle

    TTestCanvas max(28, 20);
    Draw(max, L"window", WP_MAXBUTTON, CBS_NORMAL, 28, 20);
    EXPECT_EQ(RGB(255, 255, 255), max.Px(14, 10));   // a hollow square
    EXPECT_EQ(RGB(0, 0, 0), max.Px(9, 10));
    EXPECT_EQ(RGB(0, 0, 0), max.Px(18, 10));

    TTestCanvas min(28, 20);
    Draw(min, L"window", WP_MINBUTTON, CBS_DISABLED, 28, 20);
    EXPECT_EQ(10, min.Count(RGB(204, 204, 204), 28, 20));

    TTestCanvas bar(40, 10), chunk(40, 10);
    Draw(bar, L"progress", PP_BAR, 1, 40, 10);
    Draw(chunk, L"progress", PP_CHUNK, 1, 40, 10);
    EXPECT_EQ(RGB(188, 188, 188), bar.Px(0, 5));
    EXPECT_EQ(RGB(230, 230, 230), bar.Px(20, 5));
    EXPECT_EQ(RGB(6, 176, 37), chunk.Px(0, 5));

    TTestCanvas hdr(40, 20);
    Draw(hdr, L"header", HP_HEADERITEM, HIS_PRESSED, 40, 20);
    EXPECT_EQ(RGB(188, 220, 244), hdr.Px(20, 10));
    EXPECT_EQ(RGB(229, 229, 229), hdr.Px(39, 10));   // the divider
}

TEST_F(ThemesTest, ClipRectangleAndRecordInDevicePixels)
{
    TTestCanvas c(40, 20);
    SetViewportOrgEx(c.Dc, 5, 3, nullptr);
    GdiStartRecording(c.Dc);
    RECT r{0, 0, 30, 15}, clip{0, 0, 10, 15};
    ASSERT_EQ(S_OK, DrawThemeBackground(Open(L"Button"), c.Dc, BP_PUSHBUTTON, PBS_PRESSED, &r, &clip));
    // Device pixels: the button would cover 5..34; the clip stops it at 15.
    EXPECT_EQ(RGB(255, 255, 255), c.Px(4 - 5, 10 - 3));
    EXPECT_NE(RGB(255, 255, 255), c.Px(14 - 5, 10 - 3));
    EXPECT_EQ(RGB(255, 255, 255), c.Px(15 - 5, 10 - 3));
    const auto& recs = GdiRecords(c.Dc);
    ASSERT_EQ(1u, recs.size());
    EXPECT_EQ(L"DrawThemeBackground", recs[0].Kind);
    EXPECT_EQ((TRect{5, 3, 35, 18}), recs[0].Rect);
    EXPECT_EQ(L"button", recs[0].Text);
    EXPECT_EQ(0x10003u, recs[0].Flags);
}

TEST_F(ThemesTest, SizesColoursEdgeAndThemeName)
{
    HTHEME b = Open(L"button");
    SIZE s{};
    ASSERT_EQ(S_OK, GetThemePartSize(b, nullptr, BP_CHECKBOX, 1, nullptr, TS_TRUE, &s));
    EXPECT_EQ((TSize{13, 13}), s);
    RECT small{0, 0, 10, 20};
    ASSERT_EQ(S_OK, GetThemePartSize(b, nullptr, BP_RADIOBUTTON, 1, &small, TS_DRAW, &s));
    EXPECT_EQ((TSize{10, 13}), s);
    EXPECT_EQ(E_INVALIDARG, GetThemePartSize(b, nullptr, 42, 1, nullptr, TS_TRUE, &s));
    EXPECT_EQ(E_POINTER, GetThemePartSize(b, nullptr, 1, 1, nullptr, TS_TRUE, nullptr));

    COLORREF col = 0;
    EXPECT_EQ(E_PROP_ID_UNSUPPORTED, GetThemeColor(b, BP_PUSHBUTTON, 1, 1234, &col));
    // A transparent part has no fill colour to give.
    EXPECT_EQ(E_PROP_ID_UNSUPPORTED,
              GetThemeColor(Open(L"combobox"), CP_DROPDOWNBUTTON, CBXS_NORMAL, TMT_FILLCOLOR, &col));

    TTestCanvas c(20, 20);
    RECT edge{0, 0, 20, 20}, content{};
    ASSERT_EQ(S_OK, DrawThemeEdge(b, c.Dc, 1, 1, &edge, EDGE_SUNKEN, BF_RECT | BF_ADJUST, &content));
    EXPECT_EQ((TRect{2, 2, 18, 18}), content);
    EXPECT_NE(RGB(255, 255, 255), c.Px(0, 10));
    EXPECT_EQ(RGB(255, 255, 255), c.Px(10, 10));
    ASSERT_EQ(S_OK, DrawThemeEdge(b, c.Dc, 1, 1, &edge, EDGE_RAISED, BF_RECT, &content));
    EXPECT_EQ(edge, content);
    EXPECT_EQ(E_HANDLE, DrawThemeEdge(nullptr, c.Dc, 1, 1, &edge, EDGE_RAISED, BF_RECT, nullptr));

    wchar_t file[255], color[255], size[255];
    ASSERT_EQ(S_OK, GetCurrentThemeName(file, 255, color, 255, size, 255));
    EXPECT_NE(0u, std::wcslen(file));
    EXPECT_EQ(String(L"NormalColor"), color);
    EXPECT_EQ(String(L"NormalSize"), size);
    wchar_t tiny[4] = {L'x', L'x', L'x', L'x'};
    ASSERT_EQ(S_OK, GetCurrentThemeName(nullptr, 0, tiny, 4, nullptr, 0));
    EXPECT_EQ(String(L"Nor"), tiny);
}

}  // namespace
