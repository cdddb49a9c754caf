#include <gtest/gtest.h>

#include "platform/ui/Buttons.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Themes.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Headless.h"

namespace {

class SpeedButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Drv = std::make_unique<THeadlessDriver>();
        InitForms();
        Form = new TForm(Application);
        Form->Init();
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(100, 100, 400, 300);
    }
    void TearDown() override
    {
        DoneForms();
        SetVisualStylesEnabled(true);
        Drv.reset();
    }
    TSpeedButton* NewButton(int x, Integer group = 0)
    {
        auto* b = new TSpeedButton(Form);
        b->SetParent(Form);
        b->SetBounds(x, 10, 30, 30);
        b->SetGroupIndex(group);
        b->OnClick = [this, b](TObject*) { Clicks.push_back(b); };
        return b;
    }
    void ClickOn(TSpeedButton* b) { Drv->ClickWindow(Form->Handle(), {b->Left() + 5, b->Top() + 5}); }
    uint32_t PixelAt(int x, int y)
    {
        std::vector<uint32_t> px;
        int w = 0, h = 0;
        WmCaptureWindow(Form->Handle(), px, w, h);
        return px[size_t(y) * size_t(w) + size_t(x)] & 0xFFFFFF;
    }
    std::unique_ptr<THeadlessDriver> Drv;
    TForm* Form = nullptr;
    std::vector<TSpeedButton*> Clicks;
};

}  // namespace

TEST_F(SpeedButtonTest, ClicksOnReleaseInsideOnly)
{
    TSpeedButton* b = NewButton(10);
    Form->Show();
    TPoint inside = Drv->ScreenPoint(Form->Handle(), {20, 20});
    Drv->MouseDown(inside);
    EXPECT_EQ(b->State(), bsDown);
    Drv->MouseMove(Drv->ScreenPoint(Form->Handle(), {200, 200}));
    EXPECT_EQ(b->State(), bsUp) << "drawn up while the mouse is away";
    Drv->MouseUp(Drv->ScreenPoint(Form->Handle(), {200, 200}));
    EXPECT_TRUE(Clicks.empty());

    ClickOn(b);
    EXPECT_EQ(Clicks.size(), 1u);
    EXPECT_FALSE(b->Down()) << "without a group it never stays down";
    EXPECT_EQ(b->State(), bsUp);
}

TEST_F(SpeedButtonTest, AGroupKeepsOneDown)
{
    TSpeedButton* a = NewButton(10, 1);
    TSpeedButton* b = NewButton(50, 1);
    TSpeedButton* other = NewButton(90, 2);
    Form->Show();
    other->SetDown(true);
    a->SetDown(true);
    ClickOn(b);
    EXPECT_FALSE(a->Down());
    EXPECT_TRUE(b->Down());
    EXPECT_TRUE(other->Down()) << "another group";
    EXPECT_EQ(Clicks, std::vector<TSpeedButton*>{b});

    ClickOn(b);
    EXPECT_TRUE(b->Down()) << "the down button stays down unless all may be up";
    EXPECT_EQ(Clicks.size(), 2u) << "but the click counts";

    a->SetAllowAllUp(true);
    EXPECT_TRUE(b->AllowAllUp()) << "the whole group takes AllowAllUp";
    ClickOn(b);
    EXPECT_FALSE(b->Down());
    EXPECT_FALSE(a->Down());
}

TEST_F(SpeedButtonTest, GlyphImageFollowsTheState)
{
    SetVisualStylesEnabled(false);
    // Four 10x10 images: up red, disabled green, pressed blue, down yellow;
    // the strip's bottom-left pixel (magenta) is the transparent colour.
    TBitmap strip(40, 10);
    const COLORREF colours[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 0)};
    for (int i = 0; i < 4; ++i) {
        strip.Canvas()->Brush()->SetColor(TColor(colours[i]));
        strip.Canvas()->FillRect(Bounds(i * 10, 0, 10, 10));
    }
    strip.Canvas()->SetPixels(0, 9, TColor(RGB(255, 0, 255)));
    TSpeedButton* b = NewButton(10, 1);
    b->SetAllowAllUp(true);
    b->SetGlyph(&strip);
    EXPECT_EQ(b->NumGlyphs(), 4);
    Form->Show();
    auto centre = [&] {
        UpdateWindow(Form->Handle());
        return PixelAt(25, 25);
    };
    EXPECT_EQ(centre(), 0xFF0000u);
    EXPECT_NE(PixelAt(20, 29), 0xFF00FFu) << "the transparent colour lets the face show";
    EXPECT_EQ(PixelAt(21, 29), 0xFF0000u);
    b->SetDown(true);
    EXPECT_EQ(centre(), 0xFFFF00u);
    b->SetDown(false);
    b->SetEnabled(false);
    EXPECT_EQ(centre(), 0x00FF00u);
    b->SetEnabled(true);
    Drv->MouseDown(Drv->ScreenPoint(Form->Handle(), {20, 20}));
    EXPECT_EQ(PixelAt(26, 26), 0x0000FFu) << "pressed: shifted by one pixel";
    Drv->MouseUp(Drv->ScreenPoint(Form->Handle(), {20, 20}));
    EXPECT_TRUE(b->Down());
}
