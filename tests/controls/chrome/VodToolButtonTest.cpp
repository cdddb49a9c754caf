// The tool button: its band gradient, faces per state, glyph and caption
// layout, the mouse state machine with drop-down parts and groups, its
// looks, theme adaptation and streaming.
#include <gtest/gtest.h>

#include "controls/chrome/VodToolButton.h"
#include "platform/base/Filer.h"
#include "platform/base/Streams.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/Menus.h"
#include "platform/ui/Themes.h"
#include "ToolButtonTestSupport.h"

namespace {

TBitmap* SolidBitmap(int w, int h, TColor c, TColor corner)
{
    auto* b = new TBitmap();
    b->SetPixelFormat(pf24bit);
    b->SetSize(w, h);
    b->Canvas()->Brush()->SetColor(c);
    b->Canvas()->FillRect(TRect{0, 0, w, h});
    b->Canvas()->SetPixels(0, h - 1, corner);   // the transparent colour
    return b;
}

class VodToolButtonTest : public ::testing::Test {
protected:
    TChromeDesk Desk;
    TVodToolButton* NewButton(TRect r = TRect{10, 10, 70, 40})
    {
        auto* b = new TVodToolButton(Desk.Form);
        b->SetParent(Desk.Form);
        b->SetBoundsRect(r);
        return b;
    }
    void Click(TControl* c, TPoint down, TPoint up)
    {
        Desk.Drv->MouseMove(Desk.At(c, down));
        Desk.Drv->MouseDown(Desk.At(c, down));
        Desk.Drv->MouseMove(Desk.At(c, up));
        Desk.Drv->MouseUp(Desk.At(c, up));
        Desk.Drv->Pump();
    }
};

}  // namespace

TEST(VodToolButtonBand, SixteenBandsStopOneStepShortOfTheEndColour)
{
    TTestCanvas s(10, 32);
    TCanvas c;
    c.SetHandle(s.Dc);
    DrawBandGradient(&c, TColor(0x000000), TColor(0x0000FF), clNone, 16, TRect{0, 0, 10, 32}, false);
    for (int i = 0; i < 16; ++i) {
        SCOPED_TRACE(i);
        const int red = int(Round(i * 255.0 / 16));
        EXPECT_EQ(s.Px(5, 2 * i), RGB(Byte(red), 0, 0));
        EXPECT_EQ(s.Px(5, 2 * i + 1), RGB(Byte(red), 0, 0));
    }
    EXPECT_EQ(s.Px(5, 31), RGB(239, 0, 0)) << "the last band is not the end colour";

    // A frame in its own colour; steps 0 counts as one band.
    DrawBandGradient(&c, TColor(0x00FF00), TColor(0xFF0000), TColor(0x0000FF), 0, TRect{0, 0, 10, 32}, true);
    EXPECT_EQ(s.Px(0, 10), RGB(255, 0, 0));
    EXPECT_EQ(s.Px(5, 10), RGB(0, 255, 0));
    c.SetHandle(nullptr);
}

TEST_F(VodToolButtonTest, FacesPerStateAndLook)
{
    TVodToolButton* b = NewButton();
    b->SetColor(TColor(0x112233));
    b->SetColorHot(TColor(0x445566));
    b->SetColorDown(TColor(0x778899));
    b->SetBorderHotColor(TColor(0x0000FF));
    b->SetBorderDownColor(TColor(0x00FF00));
    b->SetShowCaption(false);
    {
        TPainted p(b);
        EXPECT_EQ(p.Px(30, 15), RGB(0x33, 0x22, 0x11)) << "normal face";
        EXPECT_EQ(p.Px(0, 0), RGB(0x33, 0x22, 0x11)) << "with a down border the face reaches the edge";
    }
    b->Perform(CM_MOUSEENTER);
    ASSERT_TRUE(b->MouseInControl());
    {
        TPainted p(b);
        EXPECT_EQ(p.Px(30, 15), RGB(0x66, 0x55, 0x44)) << "hot face";
        EXPECT_EQ(p.Px(0, 15), RGB(255, 0, 0)) << "hot frame";
    }
    b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ASSERT_EQ(b->State(), bsDown);
    {
        TPainted p(b);
        EXPECT_EQ(p.Px(30, 15), RGB(0x99, 0x88, 0x77)) << "down face";
        EXPECT_EQ(p.Px(0, 15), RGB(0, 255, 0)) << "down frame";
    }
    b->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));

    // A check button that is down, away from the mouse: its checked face.
    b->Perform(CM_MOUSELEAVE);
    b->SetStyle(tasCheck);
    b->SetColorChecked(TColor(0xABCDEF));
    b->SetDown(true);
    {
        TPainted p(b);
        EXPECT_EQ(p.Px(30, 15), RGB(0xEF, 0xCD, 0xAB));
        EXPECT_EQ(p.Px(0, 15), RGB(0, 255, 0)) << "framed in the down border";
    }

    // Rounded with a gradient and a border: gradient inside a rounded outline.
    b->SetStyle(tasButton);
    b->SetDown(false);
    b->SetRounded(true);
    b->SetColor(TColor(0x000000));
    b->SetColorTo(TColor(0x0000FF));
    b->SetBorderColor(TColor(0xFF0000));
    {
        TPainted p(b);
        EXPECT_EQ(p.Px(30, 0), RGB(0, 0, 255)) << "outline on the edge";
        EXPECT_EQ(p.Px(0, 0), RGB(255, 255, 255)) << "rounded corner";
        EXPECT_EQ(p.Px(30, 2), RGB(0, 0, 0)) << "first band";
        EXPECT_GT(GetRValue(p.Px(30, 26)), 150) << "towards the end colour";
    }
}

TEST_F(VodToolButtonTest, NotFlatDrawsThePushButtonAndOffsetsTheContent)
{
    TVodToolButton* b = NewButton();
    b->SetFlat(false);
    b->SetCaption(L"A");
    TPainted up(b, true);
    TPoint textUp;
    for (auto& r : up.Records())
        if (r.Kind == L"DrawText" && r.Text == L"A" && !(r.Flags & DT_CALCRECT)) textUp = TPoint{r.Rect.Left, r.Rect.Top};
    b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    TPainted down(b, true);
    TPoint textDown;
    for (auto& r : down.Records())
        if (r.Kind == L"DrawText" && r.Text == L"A" && !(r.Flags & DT_CALCRECT)) textDown = TPoint{r.Rect.Left, r.Rect.Top};
    EXPECT_EQ(textDown.X, textUp.X + 1);
    EXPECT_EQ(textDown.Y, textUp.Y + 1);
    b->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

TEST_F(VodToolButtonTest, GlyphAndCaptionLayout)
{
    struct Case {
        const char* Name;
        TButtonLayout Layout;
        Integer Margin, Spacing;
        bool Caption, Glyph;
        TRect Client;
        TPoint Offset;
        TPoint Glyph_;
        TPoint Text;
    } cases[] = {
        {"left centred", blGlyphLeft, -1, 4, true, true, {0, 0, 60, 30}, {0, 0}, {12, 7}, {32, 7}},
        {"right centred", blGlyphRight, -1, 4, true, true, {0, 0, 60, 30}, {0, 0}, {32, 7}, {12, 7}},
        {"top centred", blGlyphTop, -1, 4, true, true, {0, 0, 60, 50}, {0, 0}, {22, 7}, {22, 27}},
        {"bottom centred", blGlyphBottom, -1, 4, true, true, {0, 0, 60, 50}, {0, 0}, {22, 27}, {22, 7}},
        {"margin given, spacing spread", blGlyphLeft, 2, -1, true, true, {0, 0, 60, 30}, {0, 0}, {2, 7}, {31, 7}},
        {"both spread in thirds", blGlyphLeft, -1, -1, true, true, {0, 0, 60, 30}, {0, 0}, {9, 7}, {34, 7}},
        {"no caption: no spacing", blGlyphLeft, -1, 4, false, true, {0, 0, 60, 30}, {0, 0}, {22, 7}, {38, 15}},
        {"no glyph: caption centred", blGlyphLeft, -1, 4, true, false, {0, 0, 60, 30}, {0, 0}, {22, 15}, {22, 7}},
        {"client origin and offset", blGlyphLeft, 3, 4, true, true, {5, 2, 65, 32}, {1, 2}, {9, 11}, {29, 10}},
    };
    TVodToolButton* b = NewButton();
    std::unique_ptr<TBitmap> glyph(SolidBitmap(16, 16, clRed, clWhite));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        if (c.Glyph) b->SetGlyph(glyph.get());
        else b->Glyph()->SetHandle(nullptr);
        b->SetCaption(c.Caption ? L"Ab" : L"");
        b->SetLayout(c.Layout);
        b->SetMargin(c.Margin);
        b->SetSpacing(c.Spacing);
        TPoint g;
        TRect t;
        b->CalcLayout(c.Client, c.Offset, g, t);
        EXPECT_EQ(g.X, c.Glyph_.X);
        EXPECT_EQ(g.Y, c.Glyph_.Y);
        EXPECT_EQ(t.Left, c.Text.X);
        EXPECT_EQ(t.Top, c.Text.Y);
        if (c.Caption) EXPECT_EQ(t.Width(), 16);
    }
    b->SetMargin(-2);
    EXPECT_EQ(b->Margin(), 3) << "a margin below -1 is ignored";

    // Right to left swaps left and right.
    SysLocale.MiddleEast = true;
    b->SetBiDiMode(bdRightToLeft);
    b->SetGlyph(glyph.get());
    b->SetCaption(L"Ab");
    b->SetLayout(blGlyphLeft);
    b->SetMargin(-1);
    b->SetSpacing(4);
    TPoint g;
    TRect t;
    b->CalcLayout(TRect{0, 0, 60, 30}, TPoint{0, 0}, g, t);
    SysLocale.MiddleEast = false;
    EXPECT_EQ(g.X, 32);
    EXPECT_EQ(t.Left, 12);
}

TEST_F(VodToolButtonTest, HotGlyphLiftsOverItsShadeWhileTheCaptionStays)
{
    TVodToolButton* b = NewButton(TRect{10, 10, 66, 66});
    std::unique_ptr<TBitmap> glyph(SolidBitmap(16, 16, TColor(0x0000FF), clWhite));
    b->SetGlyph(glyph.get());
    b->SetCaption(L"");
    b->SetColor(clWhite);
    ASSERT_FALSE(b->Shade()->Empty()) << "the shade follows the glyph";
    {
        TPainted p(b);
        EXPECT_EQ(p.Px(20, 20), RGB(255, 0, 0)) << "glyph at (20, 20) .. (36, 36)";
        EXPECT_EQ(p.Px(36, 36), RGB(255, 255, 255));
    }
    b->Perform(CM_MOUSEENTER);
    TPainted p(b);
    EXPECT_EQ(p.Px(19, 19), RGB(255, 0, 0)) << "the glyph lifts by one";
    EXPECT_EQ(p.Px(36, 36), RGB(0x80, 0x80, 0x80)) << "its shade 2 below and right of it";
}

TEST_F(VodToolButtonTest, DisabledGlyphsAndCaption)
{
    TVodToolButton* b = NewButton();
    std::unique_ptr<TBitmap> glyph(SolidBitmap(16, 16, TColor(0x0000FF), clWhite));
    b->SetGlyph(glyph.get());
    ASSERT_FALSE(b->GlyphDisabled()->Empty()) << "the grey copy is made with the glyph";
    const TColor grey = b->GlyphDisabled()->Canvas()->Pixels(5, 5);
    EXPECT_EQ(grey, TColor(RGB(138, 138, 138))) << "(255 / 3) / 2 + 96";

    b->SetCaption(L"Go");
    b->SetEnabled(false);
    TPainted p(b, true);
    std::vector<TPoint> texts;
    for (auto& r : p.Records())
        if (r.Kind == L"DrawText" && r.Text == L"Go" && !(r.Flags & DT_CALCRECT)) texts.push_back(TPoint{r.Rect.Left, r.Rect.Top});
    ASSERT_EQ(texts.size(), 2u) << "highlight copy, then the shadow copy";
    EXPECT_EQ(texts[0].X, texts[1].X + 1);
    EXPECT_EQ(texts[0].Y, texts[1].Y + 1);
    bool greyGlyph = false;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 60; ++x) greyGlyph |= p.Px(x, y) == RGB(138, 138, 138);
    EXPECT_TRUE(greyGlyph);

    // An image-list glyph of a disabled button is drawn saturated (grey).
    auto* list = new TImageList(Desk.Form);
    std::unique_ptr<TBitmap> red(SolidBitmap(16, 16, TColor(0x0000FF), clWhite));
    list->AddMasked(red.get(), clWhite);
    TVodToolButton* c = NewButton(TRect{10, 50, 70, 80});
    c->SetImages(list);
    c->SetImageIndex(0);
    c->SetEnabled(false);
    TPainted q(c);
    const COLORREF px = q.Px(30, 15);
    EXPECT_EQ(GetRValue(px), GetGValue(px));
    EXPECT_EQ(GetGValue(px), GetBValue(px));

    // A freed image list is forgotten.
    delete list;
    EXPECT_EQ(c->Images(), nullptr);
    TPainted after(c);
}

TEST_F(VodToolButtonTest, MouseStatesInsideEdgesAndClicks)
{
    TVodToolButton* b = NewButton();
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    struct Case {
        const char* Name;
        TPoint Up;
        int Clicks;
    } cases[] = {
        {"inside", {30, 15}, 1},
        {"bottom edge counts as inside", {30, 30}, 1},
        {"right edge counts as outside", {60, 15}, 0},
        {"below", {30, 31}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        clicks = 0;
        Click(b, {30, 15}, c.Up);
        EXPECT_EQ(clicks, c.Clicks);
        EXPECT_EQ(b->State(), bsUp);
    }

    // Pressed while dragging inside, up outside.
    Desk.Drv->MouseMove(Desk.At(b, {30, 15}));
    Desk.Drv->MouseDown(Desk.At(b, {30, 15}));
    Desk.Drv->Pump();
    EXPECT_EQ(b->State(), bsDown);
    Desk.Drv->MouseMove(Desk.At(b, {80, 15}));
    Desk.Drv->Pump();
    EXPECT_EQ(b->State(), bsUp);
    Desk.Drv->MouseMove(Desk.At(b, {30, 15}));
    Desk.Drv->Pump();
    EXPECT_EQ(b->State(), bsDown);
    Desk.Drv->MouseUp(Desk.At(b, {30, 15}));
    Desk.Drv->Pump();
    EXPECT_EQ(b->State(), bsUp);

    // Hot while the mouse is over a flat enabled button.
    Desk.Drv->MouseMove(Desk.At(b, {20, 10}));
    Desk.Drv->Pump();
    EXPECT_TRUE(b->MouseInControl());
    Desk.Drv->MouseMove(Desk.At(b, {200, 200}));
    Desk.Drv->Pump();
    EXPECT_FALSE(b->MouseInControl());
}

TEST_F(VodToolButtonTest, DropDownPartsAndMenus)
{
    TVodToolButton* b = NewButton();   // 60 wide
    int clicks = 0, drops = 0, popups = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    b->OnDropDown = [&](TObject*) { ++drops; };
    auto* menu = new TPopupMenu(Desk.Form);
    auto* item = new TMenuItem(Desk.Form);
    item->SetCaption(L"One");
    menu->Items()->Add(item);
    menu->OnPopup = [&](TObject*) {
        ++popups;
        WmKeyInput(VK_ESCAPE, true);
        WmKeyInput(VK_ESCAPE, false);
    };
    b->SetDropDownMenu(menu);
    b->SetDropDownButton(true);

    struct Case {
        const char* Name;
        bool Split;
        int X;
        int Clicks, Drops;
    } cases[] = {
        {"split: the rightmost 11 columns open the menu", true, 49, 0, 1},
        {"split: width - 12 presses", true, 48, 1, 0},
        {"not split: any click opens the menu", false, 10, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        clicks = drops = popups = 0;
        b->SetDropDownSplit(c.Split);
        Click(b, {c.X, 15}, {c.X, 15});
        EXPECT_EQ(clicks, c.Clicks);
        EXPECT_EQ(drops, c.Drops);
        EXPECT_EQ(popups, c.Drops);
    }

    // A menu without an arrow: any click opens it and never presses.
    b->SetDropDownButton(false);
    clicks = drops = 0;
    std::vector<TButtonState> seen;
    menu->OnPopup = [&](TObject*) {
        seen.push_back(b->State());
        WmKeyInput(VK_ESCAPE, true);
        WmKeyInput(VK_ESCAPE, false);
    };
    Click(b, {5, 5}, {5, 5});
    EXPECT_EQ(drops, 1);
    EXPECT_EQ(clicks, 0);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], bsUp);

    // A freed menu is forgotten.
    delete menu;
    EXPECT_EQ(b->DropDownMenu(), nullptr);
}

TEST_F(VodToolButtonTest, GroupsAllowAllUpAndCheckButtons)
{
    TVodToolButton* a = NewButton(TRect{10, 10, 50, 40});
    TVodToolButton* b = NewButton(TRect{60, 10, 100, 40});
    a->SetGroupIndex(1);
    b->SetGroupIndex(1);
    Click(a, {5, 5}, {5, 5});
    EXPECT_TRUE(a->Down());
    Click(b, {5, 5}, {5, 5});
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(a->Down()) << "pressing the second raises the first";
    EXPECT_EQ(a->State(), bsUp);
    Click(b, {5, 5}, {5, 5});
    EXPECT_TRUE(b->Down()) << "without AllowAllUp the down button stays down";
    a->SetAllowAllUp(true);
    EXPECT_TRUE(b->AllowAllUp()) << "AllowAllUp is shared by the group";
    Click(b, {5, 5}, {5, 5});
    EXPECT_FALSE(b->Down());

    // Down only counts for grouped or check buttons.
    TVodToolButton* c = NewButton(TRect{110, 10, 150, 40});
    c->SetDown(true);
    EXPECT_FALSE(c->Down());
    c->SetStyle(tasCheck);
    Click(c, {5, 5}, {5, 5});
    EXPECT_TRUE(c->Down());
    EXPECT_EQ(c->State(), bsDown) << "a check button that is down paints pressed";
    Click(c, {5, 5}, {5, 5});
    EXPECT_FALSE(c->Down());

    // The accelerator clicks.
    int clicks = 0;
    c->SetCaption(L"&Run");
    c->OnClick = [&](TObject*) { ++clicks; };
    EXPECT_EQ(c->Perform(CM_DIALOGCHAR, 'R', 0), 1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(c->Perform(CM_DIALOGCHAR, 'X', 0), 0);
}

TEST_F(VodToolButtonTest, LooksAndLibraryStyles)
{
    struct Row {
        Integer Look;
        TToolButtonLook L;
    } rows[] = {
        {1, {TColor(0xFF00000F), clNone, TColor(0xEED2C1), clNone, TColor(0xE2B598), clNone, TColor(0xE8E6E1), clNone,
             clNone, TColor(0xC56A31), TColor(0xC56A31), false}},
        {2, {TColor(0xFDEADA), TColor(0xE4AE88), TColor(0xCCF4FF), TColor(0x91D0FF), TColor(0x4E91FE), TColor(0x8ED3FF),
             TColor(0x8ED3FF), TColor(0x55ADFF), clNone, TColor(0x000000), TColor(0x000000), false}},
        {8, {TColor(0xEEDBC8), TColor(0xF6DDC9), TColor(0xEBFDFF), TColor(0xACECFF), TColor(0x76AFF1), TColor(0x4190F3),
             TColor(0xB5DBFB), TColor(0x78C7FE), TColor(0xE0B99B), TColor(0x99CEDB), TColor(0x45667B), true}},
        {13, {TColor(0xFF00000F), TColor(0xFF00000F), TColor(0xC0C0C0), TColor(0xC0C0C0), TColor(0xFF00000D),
              TColor(0xFF00000D), TColor(0xFFFFFF), TColor(0xFFFFFF), TColor(0x808080), TColor(0x808080),
              TColor(0x808080), false}},
        {18, {TColor(0xFFFFFF), clNone, TColor(0xFCF0E4), clNone, TColor(0xFCE2C8), clNone, TColor(0xFF9933), clNone,
              TColor(0xD4D4D4), TColor(0xEAB47E), TColor(0xE59D56), false}},
        {24, {TColor(0x363636), TColor(0x363636), TColor(0x6A6A6A), TColor(0x6A6A6A), TColor(0x444444),
              TColor(0x444444), TColor(0x575757), TColor(0x575757), TColor(0x444444), TColor(0x6A6A6A),
              TColor(0x444444), false}},
    };
    TVodToolButton* b = NewButton();
    for (const Row& r : rows) {
        SCOPED_TRACE(r.Look);
        b->SetFlat(false);
        b->SetLook(r.Look);
        EXPECT_EQ(b->Look(), r.Look);
        EXPECT_TRUE(b->Flat()) << "every look sets Flat";
        const TColor got[11] = {b->Color(), b->ColorTo(), b->ColorHot(), b->ColorHotTo(), b->ColorDown(),
                                b->ColorDownTo(), b->ColorChecked(), b->ColorCheckedTo(), b->BorderColor(),
                                b->BorderHotColor(), b->BorderDownColor()};
        const TColor want[11] = {r.L.Color, r.L.ColorTo, r.L.ColorHot, r.L.ColorHotTo, r.L.ColorDown,
                                 r.L.ColorDownTo, r.L.ColorChecked, r.L.ColorCheckedTo, r.L.BorderColor,
                                 r.L.BorderHotColor, r.L.BorderDownColor};
        for (int i = 0; i < 11; ++i) EXPECT_EQ(got[i], want[i]) << "property " << i;
        EXPECT_EQ(b->Rounded(), r.L.Rounded);
    }
    // Families of the other looks: which ends are clNone, borders, Rounded.
    for (Integer i = 0; i < ToolButtonLookCount; ++i) {
        SCOPED_TRACE(i);
        const TToolButtonLook& l = ToolButtonLook(i);
        const bool solid = i == 1 || i == 5 || i == 17 || (i >= 18 && i <= 23);
        EXPECT_EQ(l.ColorTo == clNone, solid);
        const bool bordered = i >= 8;
        EXPECT_EQ(l.BorderColor != clNone, bordered);
        const bool rounded = i == 0 || (i >= 8 && i <= 12) || (i >= 14 && i <= 16);
        EXPECT_EQ(l.Rounded, rounded);
    }
    EXPECT_EQ(&ToolButtonLook(17) == &ToolButtonLook(21), false);
    EXPECT_EQ(ToolButtonLook(17).Color, ToolButtonLook(21).Color);
    EXPECT_EQ(ToolButtonLook(17).BorderDownColor, ToolButtonLook(21).BorderDownColor);

    b->SetLook(25);
    EXPECT_EQ(b->Look(), 24) << "larger values do nothing";

    struct Map {
        TQelStyle Style;
        Integer Look;
    } map[] = {{tsOffice2003Blue, 2}, {tsOffice2003Silver, 4}, {tsOffice2003Olive, 3}, {tsOffice2003Classic, 1},
               {tsOffice2007Luna, 8},  {tsOffice2007Obsidian, 9}, {tsWindowsXP, 0},     {tsWhidbey, 7},
               {tsOffice2007Silver, 10}, {tsTerminal, 13},     {tsOffice2016Black, 24}};
    for (const Map& m : map) {
        b->SetComponentStyle(m.Style);
        EXPECT_EQ(b->Look(), m.Look) << int(m.Style);
        EXPECT_EQ(b->GetComponentStyle(), m.Style);
    }
    b->SetColorHot(TColor(0x123456));
    b->SetComponentStyle(tsCustom);
    EXPECT_EQ(b->GetComponentStyle(), tsCustom);
    EXPECT_EQ(b->ColorHot(), TColor(0x123456)) << "tsCustom changes no colour";
    IQelStyle* intf = nullptr;
    ASSERT_TRUE(Supports(b, intf));
    intf->SetComponentStyle(tsOffice2003Blue);
    EXPECT_EQ(b->Look(), 2);
}

TEST_F(VodToolButtonTest, ThemeAdaptationFollowsTheColourScheme)
{
    TVodToolButton* b = NewButton();
    struct Case {
        const wchar_t* Scheme;
        bool Styles;
        Integer Look;
    } cases[] = {{L"NormalColor", true, 2}, {L"HomeStead", true, 3}, {L"Metallic", true, 4},
                 {L"Royale", true, 1},       {L"Metallic", false, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(String(c.Scheme)) + (c.Styles ? " themed" : " classic"));
        SetThemeColorSchemeName(c.Scheme);
        SetVisualStylesEnabled(c.Styles);
        b->SetAutoThemeAdapt(false);
        b->SetLook(13);
        b->SetAutoThemeAdapt(true);
        EXPECT_EQ(b->Look(), c.Look);
    }
    SetVisualStylesEnabled(true);
    SetThemeColorSchemeName(L"HomeStead");
    b->Perform(WM_THEMECHANGED);
    EXPECT_EQ(b->Look(), 3);
    SetThemeColorSchemeName(L"Metallic");
    b->Perform(CM_VODTHEMECHANGED);
    EXPECT_EQ(b->Look(), 4);
    b->SetAutoThemeAdapt(false);
    SetThemeColorSchemeName(L"NormalColor");
    b->Perform(WM_THEMECHANGED);
    EXPECT_EQ(b->Look(), 4) << "no adaptation when switched off";
}

TEST_F(VodToolButtonTest, StyleAndLookStreamAndLoadWithoutApplyingAgain)
{
    TVodToolButton* b = NewButton();
    b->SetComponentStyle(tsOffice2007Luna);
    b->SetColorHot(TColor(0x123456));   // the form's own value after the look
    TMemoryStream stream;
    {
        TWriter w(&stream);
        w.WriteRootComponent(b);
    }
    const String text(reinterpret_cast<const char*>(stream.Memory()),
                      reinterpret_cast<const char*>(stream.Memory()) + stream.Size());
    EXPECT_NE(text.find(L"QelStyle"), String::npos);
    stream.SetPosition(0);
    auto* back = new TVodToolButton(Desk.Form);
    {
        TReader r(&stream);
        r.ReadRootComponent(back);
    }
    EXPECT_EQ(back->GetComponentStyle(), tsOffice2007Luna);
    EXPECT_EQ(back->ColorHot(), TColor(0x123456)) << "the look is not applied again";
    EXPECT_EQ(back->Color(), TColor(0xEEDBC8));
    EXPECT_EQ(back->BorderDownColor(), TColor(0x45667B));
    EXPECT_TRUE(back->Rounded());
    EXPECT_EQ(back->Look(), -1);
}

TEST_F(VodToolButtonTest, NormalFaceKeepsOffTheEdgeWithoutADownBorder)
{
    TVodToolButton* b = NewButton();
    b->SetColor(TColor(0x112233));
    b->SetShowCaption(false);
    TPainted p(b);
    EXPECT_EQ(p.Px(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(p.Px(1, 1), RGB(0x33, 0x22, 0x11));
}
