#include "controls/markup/htmlbtns.h"

#include <cmath>

#include "tests/controls/markup/MarkupControlsTestSupport.h"
#include "tests/platform/gfx/GdiTestUtil.h"

namespace {

class HTMLButtonsTest : public MarkupControlsTest {
protected:
    template <class T>
    T* New(const String& caption, TRect r = TRect{10, 10, 210, 40})
    {
        auto* b = new T(Form);
        b->SetParent(Form);
        b->SetBoundsRect(r);
        b->SetColor(clWhite);
        b->Font()->SetName(L"Arial");
        b->Font()->SetColor(clBlack);
        b->SetCaption(caption);
        return b;
    }
    // A click at a client point of the form, queue run.
    void ClickAt(int x, int y)
    {
        Drv->ClickWindow(Form->Handle(), TPoint{x, y});
        Drv->Pump();
    }
    // The pixels of a control's client rectangle, painting done first.
    std::vector<uint32_t> Shot(TWinControl* c)
    {
        std::vector<uint32_t> px;
        int w = 0, h = 0;
        Drv->CaptureWindow(c->Handle(), px, w, h);
        for (auto& p : px) p &= 0xFFFFFF;
        return px;
    }
};

}  // namespace

TEST_F(HTMLButtonsTest, ClassicGeometryAndVersion)
{
    auto* c = New<THTMLCheckBox>(L"check");
    auto* r = New<THTMLRadioButton>(L"radio", TRect{10, 50, 210, 80});
    EXPECT_EQ(c->Version(), L"1.6.2.0");
    EXPECT_EQ(r->Version(), L"1.6.2.0");
    EXPECT_EQ(THTMLCheckBox(nullptr).Caption(), L"THTMLCheckBox");
    EXPECT_EQ(c->CaptionRect(), (TRect{17, 4, 200, 30}));
    EXPECT_EQ(r->CaptionRect().Left, 18);
    Drv->Pump();
    // The classic box: 13 x 13 at (0, 4) (its outermost bottom and right
    // edges white like the inside).
    EXPECT_NE(Pixel(10 + 0, 10 + 4), 0xFFFFFFu);
    EXPECT_NE(Pixel(10 + 11, 10 + 15), 0xFFFFFFu);
    EXPECT_EQ(Pixel(10 + 11, 10 + 3), 0xFFFFFFu);
    EXPECT_EQ(Pixel(10 + 6, 10 + 10), 0xFFFFFFu);
    EXPECT_EQ(Pixel(10 + 14, 10 + 10), 0xFFFFFFu);
    EXPECT_EQ(Pixel(10 + 6, 10 + 2), 0xFFFFFFu);
    // Right-aligned: the box at Width - 13, the caption from 0 to Width - 17.
    c->SetAlignment(taRightJustify);
    EXPECT_EQ(c->CaptionRect(), (TRect{0, 4, 200 - 17, 30}));
    Drv->Pump();
    EXPECT_NE(Pixel(10 + 200 - 13, 10 + 4), 0xFFFFFFu);
    EXPECT_EQ(Pixel(10 + 200 - 15, 10 + 10), 0xFFFFFFu);
}

TEST_F(HTMLButtonsTest, TheScaleFollowsTheScreensPixelsPerInchOnceLoaded)
{
    SetFixedMetricsFonts(false);
    GdiSetScreenPixelsPerInch(120);
    auto* c = New<THTMLCheckBox>(L"scaled");
    EXPECT_EQ(c->ScaleFactor(), 1.0f);  // until loaded
    c->Loaded();
    const float scale = c->ScaleFactor();
    EXPECT_EQ(scale, GetDPIScale());
    EXPECT_GT(scale, 1.1f);
    EXPECT_LT(scale, 1.4f);
    const Integer size = Integer(std::nearbyint(13 * scale));
    EXPECT_EQ(c->CaptionRect().Left, 12 + 5 + Integer(std::nearbyint(13 * scale - 13)));
    Drv->Pump();
    // The classic box grows with the scale.
    EXPECT_NE(Pixel(10 + size - 2, 10 + 4 + size - 2), 0xFFFFFFu);
    EXPECT_EQ(Pixel(10 + size + 1, 10 + 4 + size / 2), 0xFFFFFFu);
    GdiSetScreenPixelsPerInch(96);
    c->Loaded();
    EXPECT_EQ(c->ScaleFactor(), 1.0f);
}

TEST_F(HTMLButtonsTest, ClicksFocusThenToggleAndLinksAreFollowedOnThePress)
{
    TShellRecorder shell;
    auto* c = New<THTMLCheckBox>(L"see <A href=\"local\">here</A> or <A href=\"http://w/\">web</A>");
    c->SetTabStop(true);
    int clicks = 0;
    std::vector<std::wstring> anchors;
    c->OnClick = [&](TObject*) { ++clicks; };
    c->OnAnchorClick = [&](TObject*, const String& a) { anchors.push_back(a); };
    Drv->Pump();
    // First click on the unfocused box: focus, and toggle on the release inside.
    ClickAt(10 + 5, 10 + 8);
    EXPECT_TRUE(c->Focused());
    EXPECT_TRUE(c->Checked());
    EXPECT_EQ(clicks, 1);
    // Press on a link of the focused box: followed at once, no pressed look,
    // and the release inside toggles.
    const TRect cap = c->CaptionRect();
    const int hereX = 10 + cap.Left + 4 * 8 + 4, webX = 10 + cap.Left + 12 * 8 + 4, y = 10 + cap.Top + 8;
    Drv->MouseDown(Drv->ScreenPoint(Form->Handle(), TPoint{hereX, y}));
    Drv->Pump();
    EXPECT_EQ(anchors, (std::vector<std::wstring>{L"local"}));
    EXPECT_FALSE(c->Down());
    Drv->MouseUp(Drv->ScreenPoint(Form->Handle(), TPoint{hereX, y}));
    Drv->Pump();
    EXPECT_FALSE(c->Checked());
    EXPECT_EQ(clicks, 2);
    ClickAt(webX, y);
    EXPECT_EQ(shell.First(), "http://w/");
    EXPECT_EQ(anchors.size(), 1u);  // the web address went to the shell only
    EXPECT_TRUE(c->Checked());
    // The hand over links, the old cursor elsewhere.
    MoveTo(hereX, y);
    EXPECT_EQ(c->Cursor(), crHandPoint);
    MoveTo(10 + cap.Left + 1 * 8, y);
    EXPECT_EQ(c->Cursor(), crDefault);
}

TEST_F(HTMLButtonsTest, PressDragOutAndReleaseChangesNothing)
{
    auto* c = New<THTMLCheckBox>(L"box");
    c->SetTabStop(true);
    c->SetFocus();
    Drv->Pump();
    Drv->MouseDown(Drv->ScreenPoint(Form->Handle(), TPoint{15, 18}));
    Drv->Pump();
    EXPECT_TRUE(c->Down());
    MoveTo(300, 200);
    EXPECT_FALSE(c->Down());
    MoveTo(20, 18);
    EXPECT_TRUE(c->Down());
    MoveTo(300, 200);
    Drv->MouseUp(Drv->ScreenPoint(Form->Handle(), TPoint{300, 200}));
    Drv->Pump();
    EXPECT_FALSE(c->Down());
    EXPECT_FALSE(c->Checked());
}

TEST_F(HTMLButtonsTest, ReadOnlyGrayedSpaceAndAccelerator)
{
    auto* c = New<THTMLCheckBox>(L"&Option");
    c->SetTabStop(true);
    int clicks = 0;
    c->OnClick = [&](TObject*) { ++clicks; };
    c->SetState(cbGrayed);
    c->Toggle();
    EXPECT_EQ(c->State(), cbChecked);  // grayed becomes checked
    c->Toggle();
    EXPECT_EQ(c->State(), cbUnchecked);
    c->SetFocus();
    Drv->Pump();
    Drv->PressKey(VK_SPACE);
    Drv->Pump();
    EXPECT_TRUE(c->Checked());
    EXPECT_EQ(clicks, 1);
    c->SetReadOnly(true);
    ClickAt(15, 18);
    Drv->PressKey(VK_SPACE);
    Drv->Pump();
    EXPECT_EQ(c->Perform(CM_DIALOGCHAR, WPARAM(L'o')), 1);
    EXPECT_TRUE(c->Checked());
    EXPECT_EQ(clicks, 4);  // read-only still fires OnClick
    c->SetReadOnly(false);
    EXPECT_EQ(c->Perform(CM_DIALOGCHAR, WPARAM(L'x')), 0);
    EXPECT_EQ(c->Perform(CM_DIALOGCHAR, WPARAM(L'o')), 1);
    EXPECT_FALSE(c->Checked());
}

TEST_F(HTMLButtonsTest, RadioGroupsAmongTheParentsControls)
{
    THTMLRadioButton* r[4];
    int clicks[4] = {0, 0, 0, 0};
    for (int i = 0; i < 4; ++i) {
        r[i] = New<THTMLRadioButton>(L"r" + IntToStr(i), TRect{10, 10 + 30 * i, 210, 36 + 30 * i});
        r[i]->OnClick = [&clicks, i](TObject*) { ++clicks[i]; };
    }
    r[3]->SetGroupIndex(1);
    r[3]->SetChecked(true);
    r[0]->SetChecked(true);
    EXPECT_EQ(clicks[0], 1);
    EXPECT_TRUE(r[0]->TabStop());
    ClickAt(15, 10 + 30 + 8);  // the second one
    EXPECT_TRUE(r[1]->Checked());
    EXPECT_FALSE(r[0]->Checked());
    EXPECT_FALSE(r[0]->TabStop());
    EXPECT_FALSE(r[2]->Checked());
    EXPECT_TRUE(r[3]->Checked());  // another group
    EXPECT_EQ(clicks[1], 1);        // once, for the newly checked button only
    EXPECT_EQ(clicks[0], 1);
    r[1]->SetChecked(false);  // unchecking by code fires nothing
    EXPECT_EQ(clicks[1], 1);
    ClickAt(15, 10 + 60 + 8);
    EXPECT_EQ(clicks[2], 1);
    EXPECT_EQ(clicks[1], 1);
}

TEST_F(HTMLButtonsTest, TabbingIntoAnUncheckedRadioChecksItAndReturnCanTab)
{
    auto* c = New<THTMLCheckBox>(L"first");
    c->SetTabStop(true);
    c->SetReturnIsTab(true);
    auto* r = New<THTMLRadioButton>(L"second", TRect{10, 50, 210, 80});
    r->SetTabStop(true);
    c->SetFocus();
    Drv->Pump();
    Drv->PressKey(VK_RETURN);  // Enter moves on as Tab does
    Drv->Pump();
    EXPECT_TRUE(r->Focused());
    EXPECT_TRUE(r->Checked());
    EXPECT_FALSE(c->Checked());
}

TEST_F(HTMLButtonsTest, EveryLookDrawsItsBoxAndTheBitmapsComeFromResources)
{
    SetVisualStylesEnabled(false);
    const TButtonType looks[] = {btClassic, btBorland, btFlat, btQel, btWinXP, btTheme};
    for (bool radio : {false, true}) {
        for (TButtonType look : looks) {
            for (bool checked : {false, true}) {
                THTMLButtonBase* b;
                if (radio) {
                    auto* r = New<THTMLRadioButton>(L"");
                    r->SetChecked(checked);
                    b = r;
                } else {
                    auto* c = New<THTMLCheckBox>(L"");
                    c->SetChecked(checked);
                    b = c;
                }
                b->SetButtonType(look);
                Drv->Pump();
                int drawn = 0;
                for (uint32_t p : Shot(b)) drawn += p != 0xFFFFFF;
                EXPECT_GT(drawn, 20) << "look " << look << (radio ? " radio" : " check") << (checked ? " checked" : "");
                delete b;
            }
        }
    }
    // The plain look's checked box: its blue frame from the resource, the key
    // colour keyed out.
    auto* q = New<THTMLCheckBox>(L"");
    q->SetButtonType(btQel);
    q->SetChecked(true);
    Drv->Pump();
    EXPECT_EQ(Pixel(10 + 2, 10 + 8), 0x28508Cu);
    EXPECT_EQ(Pixel(10 + 0, 10 + 0), 0xFFFFFFu);
    for (uint32_t p : Shot(q)) EXPECT_NE(p, 0xFF00FFu);
    for (const wchar_t* name : {L"HTMBCHK01", L"HTMBCHK08", L"HTMBRAD01", L"HTMBRAD08"}) {
        TBitmap b;
        b.LoadFromResourceName(HInstance, name);
        EXPECT_EQ(b.Width(), std::wstring(name) <= L"HTMBCHK04" ? 20 : 16) << name;
    }
}

TEST_F(HTMLButtonsTest, ThemeLookWithoutThemesIsTheClassicLook)
{
    SetVisualStylesEnabled(false);
    auto* a = New<THTMLCheckBox>(L"same");
    a->SetChecked(true);
    a->SetButtonType(btTheme);
    auto* b = New<THTMLCheckBox>(L"same", TRect{10, 50, 210, 80});
    b->SetChecked(true);
    Drv->Pump();
    EXPECT_EQ(Shot(a), Shot(b));
    // With themes the themed part is drawn instead.
    SetVisualStylesEnabled(true);
    a->Invalidate();
    Drv->Pump();
    EXPECT_NE(Shot(a), Shot(b));
}

TEST_F(HTMLButtonsTest, DisabledCaptionShadowAndFocusRectangle)
{
    auto* c = New<THTMLCheckBox>(L"WW");
    c->SetColor(TColor(0x808000));
    c->SetEnabled(false);
    Drv->Pump();
    const TRect cap = c->CaptionRect();
    int white = 0, grey = 0;
    for (int y = cap.Top; y < cap.Top + 18; ++y)
        for (int x = cap.Left; x < cap.Left + 18; ++x) {
            white += Pixel(10 + x, 10 + y) == 0xFFFFFF;
            grey += Pixel(10 + x, 10 + y) == 0x808080;
        }
    EXPECT_GT(white, 0);
    EXPECT_GT(grey, 0);
    // The focus rectangle hugs the caption: 3 wider and 1 higher than the text.
    c->SetEnabled(true);
    c->SetColor(clWhite);
    c->SetTabStop(true);
    c->SetFocus();
    Drv->Pump();
    const int right = 10 + cap.Left + (2 * 8 + 2) + 3 - 1, bottom = 10 + cap.Top + 16 + 1 - 1;
    int onRight = 0, beyond = 0;
    for (int y = 10 + cap.Top; y <= bottom; ++y) {
        onRight += Pixel(right, y) != 0xFFFFFF;
        beyond += Pixel(right + 1, y) != 0xFFFFFF;
    }
    EXPECT_GT(onRight, 0);
    EXPECT_EQ(beyond, 0);
}

TEST_F(HTMLButtonsTest, TransparentButtonsShowTheParentAndCacheItUntilMoved)
{
    Form->SetColor(TColor(0x0000FF));  // red
    auto* c = New<THTMLCheckBox>(L"");
    c->SetTransparent(true);
    Drv->Pump();
    EXPECT_EQ(Pixel(10 + 150, 10 + 10), 0xFF0000u);
    c->SetTransparentChaching(true);
    c->Invalidate();
    Drv->Pump();
    EXPECT_EQ(Pixel(10 + 150, 10 + 10), 0xFF0000u);
    // The cache keeps the old look until the bounds change.
    Form->SetColor(TColor(0x00FF00));
    c->Invalidate();
    Drv->Pump();
    EXPECT_EQ(Pixel(10 + 150, 10 + 10), 0xFF0000u);
    c->SetLeft(12);
    Drv->Pump();
    EXPECT_EQ(Pixel(12 + 150, 10 + 10), 0x00FF00u);
    // An opaque button shows its own colour.
    c->SetTransparent(false);
    Drv->Pump();
    EXPECT_EQ(Pixel(12 + 150, 10 + 10), 0xFFFFFFu);
}

TEST_F(HTMLButtonsTest, ThemedPartsTakeTheirStateFromTheTable)
{
    SetVisualStylesEnabled(true);
    struct {
        bool Radio;
        TCheckBoxState State;
        bool Enabled, Down, Hot;
        UINT Part, PartState;
        TRect Box;
    } const cases[] = {
        {false, cbUnchecked, true, false, false, 3, 1, {0, 4, 14, 18}},
        {false, cbChecked, true, false, false, 3, 5, {0, 4, 14, 18}},
        {false, cbGrayed, true, false, false, 3, 9, {0, 4, 14, 18}},
        {false, cbChecked, true, false, true, 3, 6, {0, 4, 14, 18}},
        {false, cbChecked, true, true, true, 3, 7, {0, 4, 14, 18}},
        {false, cbGrayed, false, true, true, 3, 12, {0, 4, 14, 18}},  // disabled wins
        {true, cbUnchecked, true, false, false, 2, 1, {0, 4, 13, 17}},
        {true, cbChecked, true, false, true, 2, 6, {0, 4, 13, 17}},
        {true, cbChecked, false, false, false, 2, 8, {0, 4, 13, 17}},
    };
    for (const auto& c : cases) {
        THTMLButtonBase* b;
        if (c.Radio) {
            auto* r = New<THTMLRadioButton>(L"x");
            r->SetChecked(c.State == cbChecked);
            b = r;
        } else {
            auto* k = New<THTMLCheckBox>(L"x");
            k->SetState(c.State);
            b = k;
        }
        b->SetButtonType(btWinXP);
        b->SetEnabled(c.Enabled);
        b->SetDown(c.Down);
        if (c.Hot) b->Perform(CM_MOUSEENTER);
        Drv->Pump();
        TTestCanvas target(200, 30);
        GdiStartRecording(target.Dc);
        b->PaintTo(target.Dc, 0, 0);
        bool found = false;
        for (const TGdiRecord& r : GdiRecords(target.Dc))
            if (r.Kind == L"DrawThemeBackground") {
                found = true;
                EXPECT_EQ(r.Flags, c.Part * 0x10000 + c.PartState) << (c.Radio ? "radio " : "check ") << c.State;
                EXPECT_EQ(r.Rect, c.Box);
            }
        EXPECT_TRUE(found);
        delete b;
    }
}
