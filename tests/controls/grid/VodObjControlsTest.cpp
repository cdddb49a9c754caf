// The grid's small controls: the grid button (looks read back from the
// screen, glyphs, down and group rules, presets, mouse), the check box
// (states, toggling by mouse, Space and accelerator, read-only), the blur
// kernel and constant line, the premultiplied mask, the arrow regions, the
// file picture over real files, and the cell check component.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "controls/grid/VodObj.h"
#include "controls/grid/vurcheck.h"
#include "platform/base/SysUtils.h"
#include "platform/gfx/Gdi.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Themes.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Headless.h"
#include "tests/TestPaths.h"

namespace {

class ControlsFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        Drv = std::make_unique<THeadlessDriver>();
        InitForms();
        SetFixedMetricsFonts(true);
        Form = new TForm(Application);
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(0, 0, 400, 200);
        Form->SetColor(clWhite);
        Form->Init();
        Form->Show();
        Drv->Pump();
    }
    void TearDown() override
    {
        DoneForms();
        Drv.reset();
        SetFixedMetricsFonts(false);
    }
    TColor FormPixel(int x, int y)
    {
        std::vector<uint32_t> px;
        int w = 0, h = 0;
        Drv->CaptureWindow(Form->Handle(), px, w, h);
        const uint32_t v = px[size_t(y) * size_t(w) + size_t(x)];
        return TColor(((v >> 16) & 0xFF) | (v & 0xFF00) | ((v & 0xFF) << 16));
    }
    TPoint Screen(int x, int y) { return Form->ClientToScreen(TPoint{x, y}); }
    std::unique_ptr<THeadlessDriver> Drv;
    TForm* Form = nullptr;
};

TVodGridButton* MakeButton(TForm* f, int x)
{
    auto* b = new TVodGridButton(f);
    b->SetParent(f);
    b->SetBounds(x, 10, 40, 24);
    return b;
}

}  // namespace

using GridButtonTest = ControlsFixture;

TEST_F(GridButtonTest, CreationAndPresets)
{
    TVodGridButton* b = MakeButton(Form, 10);
    EXPECT_EQ(b->Spacing(), 4);
    EXPECT_EQ(b->Margin(), -1);
    EXPECT_TRUE(b->Flat());
    EXPECT_TRUE(b->Shaded());
    EXPECT_EQ(b->ColorHot(), TColor(0xCAC7C7));
    EXPECT_EQ(b->ColorChecked(), TColor(0x808080));
    b->SetMargin(-2);
    EXPECT_EQ(b->Margin(), -1);
    b->SetLook(3);
    EXPECT_EQ(b->Look(), 3);
    EXPECT_EQ(b->Color(), TColor(0xCFF0EA));
    EXPECT_EQ(b->ColorCheckedTo(), TColor(0x55ADFF));
    EXPECT_EQ(b->BorderColor(), clNone);
    b->SetLook(0);
    EXPECT_TRUE(b->Rounded());
    EXPECT_EQ(b->BorderDownColor(), TColor(0xAF987A));
    b->SetLook(42);  // nothing but the number
    EXPECT_EQ(b->Look(), 42);
    EXPECT_EQ(b->BorderDownColor(), TColor(0xAF987A));
}

TEST_F(GridButtonTest, SixteenBandGradientAndHoverLook)
{
    TVodGridButton* b = MakeButton(Form, 10);
    b->SetBounds(10, 10, 40, 34);  // 32 high inside the 1-pixel inset
    b->SetColor(TColor(0x000000));
    b->SetColorTo(TColor(0xF0F0F0));
    Drv->Pump();
    // The first band starts at the start colour, the last is 15/16 of the way.
    EXPECT_EQ(FormPixel(30, 12), TColor(0x000000));
    EXPECT_EQ(FormPixel(30, 41), TColor(RGB(225, 225, 225)));
    // Hovering shows the hot colour.
    b->SetColorHot(TColor(0x00FF00));
    Drv->MouseMove(Screen(30, 20));
    Drv->Pump();
    EXPECT_TRUE(b->MouseInControl());
    EXPECT_EQ(FormPixel(30, 20), TColor(0x00FF00));
}

TEST_F(GridButtonTest, DownRulesGroupsAndClicks)
{
    TVodGridButton* a = MakeButton(Form, 10);
    TVodGridButton* b = MakeButton(Form, 60);
    a->SetDown(true);  // a push button without group never stays down
    EXPECT_FALSE(a->Down());
    int clicks = 0;
    a->OnClick = [&](TObject*) { ++clicks; };
    Drv->Click(Screen(20, 20));
    EXPECT_EQ(clicks, 1);
    // A press released outside does not click.
    Drv->MouseDown(Screen(20, 20));
    Drv->MouseMove(Screen(200, 150));
    Drv->MouseUp(Screen(200, 150));
    EXPECT_EQ(clicks, 1);
    // A group with AllowAllUp off: the down button stays down when clicked,
    // pressing another releases it.
    a->SetGroupIndex(1);
    b->SetGroupIndex(1);
    Drv->Click(Screen(20, 20));
    EXPECT_TRUE(a->Down());
    Drv->Click(Screen(20, 20));
    EXPECT_TRUE(a->Down());
    Drv->Click(Screen(70, 20));
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(a->Down());
    // The check style toggles.
    TVodGridButton* c = MakeButton(Form, 110);
    c->SetStyle(tasCheck);
    Drv->Click(Screen(120, 20));
    EXPECT_TRUE(c->Down());
    Drv->Click(Screen(120, 20));
    EXPECT_FALSE(c->Down());
}

TEST_F(GridButtonTest, DropDownPartFiresItsEventOnly)
{
    TVodGridButton* b = MakeButton(Form, 10);
    b->SetDropDownButton(true);
    int drops = 0, clicks = 0;
    b->OnDropDown = [&](TObject*) { ++drops; };
    b->OnClick = [&](TObject*) { ++clicks; };
    Drv->Click(Screen(10 + 35, 20));
    EXPECT_EQ(drops, 1);
    EXPECT_EQ(clicks, 0);
    Drv->Click(Screen(15, 20));
    EXPECT_EQ(clicks, 1);
}

TEST_F(GridButtonTest, DisabledAndShadeGlyphs)
{
    TVodGridButton* b = MakeButton(Form, 10);
    TBitmap g;
    g.SetPixelFormat(pf24bit);
    g.SetSize(4, 4);
    g.Canvas()->Brush()->SetColor(TColor(RGB(255, 0, 0)));
    g.Canvas()->FillRect(TRect{0, 0, 4, 4});
    g.Canvas()->SetPixels(0, 3, clWhite);  // the transparent colour
    b->SetGlyph(&g);
    // Grey of (255 + 0 + 0) / 3 = 85: 85 div 2 + 96 = 138.
    EXPECT_EQ(b->GlyphDisabled()->Canvas()->Pixels(1, 1), TColor(RGB(138, 138, 138)));
    EXPECT_EQ(b->GlyphDisabled()->Canvas()->Pixels(0, 3), TColor(RGB(223, 223, 223)));
    EXPECT_EQ(b->GlyphShade()->Canvas()->Pixels(1, 1), TColor(0x808080));
    EXPECT_EQ(b->GlyphShade()->Canvas()->Pixels(0, 3), clWhite);
    // A disabled glyph already set is kept.
    TBitmap other;
    other.SetSize(2, 2);
    TVodGridButton* c = MakeButton(Form, 60);
    c->SetGlyphDisabled(&other);
    c->SetGlyph(&g);
    EXPECT_EQ(c->GlyphDisabled()->Width(), 2);
}

using CheckBoxTest = ControlsFixture;

TEST_F(CheckBoxTest, TogglingByMouseSpaceAndAccelerator)
{
    auto* c = new TVodCheckBox(Form);
    c->SetParent(Form);
    c->SetBounds(10, 10, 120, 20);
    EXPECT_EQ(c->Caption(), L"TVodCheckBox");
    EXPECT_EQ(c->Width(), 120);
    int clicks = 0;
    c->OnClick = [&](TObject*) { ++clicks; };
    Drv->Pump();
    Drv->Click(Screen(15, 15));
    EXPECT_TRUE(c->Checked());
    EXPECT_EQ(clicks, 1);
    // Pressing, moving out and releasing outside does not toggle.
    Drv->MouseDown(Screen(15, 15));
    Drv->MouseMove(Screen(300, 150));
    EXPECT_FALSE(c->Down());
    Drv->MouseUp(Screen(300, 150));
    EXPECT_TRUE(c->Checked());
    c->SetFocus();
    Drv->PressKey(VK_SPACE);
    EXPECT_FALSE(c->Checked());
    EXPECT_EQ(clicks, 2);
    // Grayed toggles to checked.
    c->SetState(cbGrayed);
    EXPECT_FALSE(c->Checked());
    c->Toggle();
    EXPECT_EQ(c->State(), cbChecked);
    // Read-only: no change, the click still fires.
    c->SetReadOnly(true);
    Drv->Click(Screen(15, 15));
    Drv->PressKey(VK_SPACE);
    EXPECT_TRUE(c->Checked());
    EXPECT_EQ(clicks, 4);
    c->SetCaption(L"&Match");
    Form->Perform(CM_DIALOGCHAR, L'm', 0);
    c->Perform(CM_DIALOGCHAR, L'm', 0);
    EXPECT_TRUE(c->Checked());
    c->SetReadOnly(false);
    c->Perform(CM_DIALOGCHAR, L'm', 0);
    EXPECT_FALSE(c->Checked());
}

TEST_F(CheckBoxTest, ThemedAndClassicBoxesShowTheirState)
{
    auto* c = new TVodCheckBox(Form);
    c->SetParent(Form);
    c->SetBounds(10, 10, 120, 24);
    c->SetChecked(true);
    Drv->Pump();
    int dark = 0;
    for (int y = 14; y < 28; ++y)
        for (int x = 10; x < 24; ++x) dark += (FormPixel(x, y) & 0xFF) < 0x80;
    EXPECT_GT(dark, 4);  // the box and its mark
    c->SetTransparent(true);
    c->SetTransparentChaching(true);
    Drv->Pump();
    EXPECT_EQ(FormPixel(100, 30), clWhite);
}

// ---------------------------------------------------------------------------
// Mask, blur and arrows

TEST(BlurTest, KernelLengthsAndConstantLines)
{
    const std::pair<int, size_t> lengths[] = {{1, 5}, {2, 11}, {3, 17}, {5, 19}};
    for (auto [r, n] : lengths) {
        const std::vector<float> k = BlurKernel(r);
        EXPECT_EQ(k.size(), n) << r;
        float s = 0;
        for (float v : k) s += v;
        EXPECT_NEAR(s, 1.0f, 1e-5f);
    }
    TBitmap b;
    b.SetPixelFormat(pf24bit);
    b.SetSize(60, 50);
    b.Canvas()->Brush()->SetColor(clWhite);
    b.Canvas()->FillRect(TRect{0, 0, 60, 50});
    BlurBitmap(&b, 3);
    for (auto [x, y] : std::vector<std::pair<int, int>>{{0, 0}, {30, 25}, {59, 49}, {15, 40}})
        EXPECT_EQ(b.Canvas()->Pixels(x, y), clWhite);
    TBitmap wrong;
    wrong.SetPixelFormat(pf32bit);
    wrong.SetSize(4, 4);
    try {
        BlurBitmap(&wrong, 2);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"Blur only works for 24-bit bitmaps");
    }
}

TEST(BlurTest, RoundRectMaskFilledAndBlurredEdges)
{
    TBitmap b;
    DrawRoundRectMask(&b, 40, 30, 0, 5, 0);
    EXPECT_EQ(b.PixelFormat(), pf24bit);
    EXPECT_EQ(b.Canvas()->Pixels(1, 15), clBlack);
    EXPECT_EQ(b.Canvas()->Pixels(20, 15), clWhite);
    EXPECT_EQ(b.Canvas()->Pixels(3, 15), clWhite);
    TBitmap o;
    DrawRoundRectMask(&o, 40, 30, 4, 5, 3);
    // A blurred outline: the middle dark, the ring partly lit, smoothly.
    const int mid = int(ColorToRGB(o.Canvas()->Pixels(20, 15)) & 0xFF);
    const int ring = int(ColorToRGB(o.Canvas()->Pixels(4, 15)) & 0xFF);
    EXPECT_LT(mid, 20);
    EXPECT_GT(ring, 60);
    EXPECT_LT(ring, 255);
}

TEST(AlphaMaskTest, PremultipliedMergeAndAssignOfOtherSizes)
{
    TBitmap mask, colour;
    mask.SetPixelFormat(pf24bit);
    mask.SetSize(2, 1);
    mask.Canvas()->SetPixels(0, 0, TColor(RGB(0, 0, 0)));
    mask.Canvas()->SetPixels(1, 0, TColor(RGB(255, 0, 0)));
    colour.SetPixelFormat(pf24bit);
    colour.SetSize(2, 1);
    colour.Canvas()->Brush()->SetColor(TColor(0xFDD397));
    colour.Canvas()->FillRect(TRect{0, 0, 2, 1});
    TGridAlphaMask m;
    m.MergeMask(&mask, &colour, clNone);
    const auto* p = static_cast<const uint8_t*>(m.ScanLine(0));
    EXPECT_EQ(p[3], 0);
    EXPECT_EQ(p[0] + p[1] + p[2], 0);
    EXPECT_EQ(p[7], 255);
    EXPECT_EQ(p[4], 0xFD);  // blue
    EXPECT_EQ(p[6], 0x97);  // red
    // Half opacity premultiplies.
    mask.Canvas()->SetPixels(1, 0, TColor(RGB(128, 0, 0)));
    m.MergeMask(&mask, &colour, clNone);
    EXPECT_EQ(p[7], 128);
    EXPECT_EQ(static_cast<const uint8_t*>(m.ScanLine(0))[4], Byte(std::nearbyint(128 / 255.0 * 0xFD)));
    // A mask of another size copies only the common area.
    TGridAlphaMask big, small;
    big.SetSize(4, 3);
    small.SetSize(2, 2);
    small.SetOpacity(230);
    static_cast<uint8_t*>(small.ScanLine(1))[4] = 77;
    big.Assign(&small);
    EXPECT_EQ(big.Width(), 4);
    EXPECT_EQ(big.Opacity(), 230);
    EXPECT_EQ(static_cast<const uint8_t*>(big.ScanLine(1))[4], 77);
    small.Assign(&big);
    EXPECT_EQ(small.Width(), 2);
    TBitmap plain24;
    plain24.SetPixelFormat(pf8bit);
    plain24.SetSize(1, 1);
    m.MergeMask(&mask, &plain24, clNone);  // not 24-bit: nothing
    EXPECT_EQ(m.Width(), 2);
}

TEST(ArrowWindowTest, RegionsByPoints)
{
    struct Case {
        TArrowDirection d;
        TPoint tip, inside, outside;
    };
    const Case cases[] = {
        {arrUp, {5, 0}, {5, 7}, {1, 8}},
        {arrDown, {5, 8}, {5, 2}, {1, 1}},
        {arrLeft, {8, 5}, {2, 5}, {1, 1}},
        {arrRight, {0, 5}, {6, 5}, {1, 1}},
    };
    for (const Case& k : cases) {
        TPoint pts[7];
        TArrowWindow::ArrowPoints(k.d, pts);
        POINT raw[7];
        for (int i = 0; i < 7; ++i) raw[i] = POINT{pts[i].X, pts[i].Y};
        bool hasTip = false;
        for (auto& p : pts) hasTip |= p == k.tip;
        EXPECT_TRUE(hasTip) << int(k.d);
        HRGN r = CreatePolygonRgn(raw, 7, WINDING);
        EXPECT_TRUE(PtInRegion(r, k.inside.X, k.inside.Y)) << int(k.d);
        EXPECT_FALSE(PtInRegion(r, k.outside.X, k.outside.Y)) << int(k.d);
        DeleteObject(r);
    }
}

// ---------------------------------------------------------------------------
// File picture

TEST(FilePictureTest, ReadsAtEachDrawAndSwallowsFailures)
{
    SetFixedMetricsFonts(true);
    const std::string dir = vel_test_paths::TestDataDir() + "/pictures/";
    const std::string images = vel_test_paths::TestDataDir() + "/images/";
    struct Case {
        std::string file;
        int w, h;
    };
    const Case cases[] = {{dir + "quad16.png", 16, 16}, {dir + "quad16.jpg", 16, 16}, {dir + "corner.bmp", 8, 8},
                          {dir + "anim3.gif", 8, 8}, {images + "bmp24.bmp", 5, 3}};
    for (const Case& k : cases) {
        TFilePicture p;
        p.SetFilename(UTF8ToString(k.file));
        EXPECT_EQ(p.Width(), k.w) << k.file;
        EXPECT_EQ(p.Height(), k.h) << k.file;
    }
    TFilePicture p;
    p.SetFilename(UTF8ToString(dir + "quad16.png"));
    p.SetFilename(UTF8ToString(dir + "quad16_cut.png"));  // unreadable: size kept
    EXPECT_EQ(p.Width(), 16);
    p.SetFilename(L"/nonexistent/missing.png");
    EXPECT_EQ(p.Filename(), L"/nonexistent/missing.png");
    EXPECT_EQ(p.Width(), 16);
    TBitmap target;
    target.SetPixelFormat(pf24bit);
    target.SetSize(32, 32);
    target.Canvas()->Brush()->SetColor(clWhite);
    target.Canvas()->FillRect(TRect{0, 0, 32, 32});
    EXPECT_NO_THROW(p.DrawPicture(target.Canvas(), TRect{0, 0, 32, 32}));
    EXPECT_EQ(target.Canvas()->Pixels(5, 5), clWhite);
    // The file is read at each draw: replacing it changes what shows.
    const std::string tmp = std::filesystem::temp_directory_path() / "vel_filepicture_test.bmp";
    std::filesystem::copy_file(dir + "corner.bmp", tmp, std::filesystem::copy_options::overwrite_existing);
    TFilePicture q;
    q.SetFilename(UTF8ToString(tmp));
    q.DrawPicture(target.Canvas(), TRect{0, 0, 32, 32});
    EXPECT_EQ(target.Canvas()->Pixels(1, 1), TColor(RGB(255, 0, 255)));
    std::filesystem::copy_file(dir + "quad16.png", tmp, std::filesystem::copy_options::overwrite_existing);
    q.DrawPicture(target.Canvas(), TRect{0, 0, 32, 32});
    EXPECT_EQ(target.Canvas()->Pixels(1, 1), TColor(RGB(255, 0, 0)));
    EXPECT_EQ(q.Width(), 8);
    std::filesystem::copy_file(dir + "random.bin", tmp, std::filesystem::copy_options::overwrite_existing);
    EXPECT_NO_THROW(q.DrawPicture(target.Canvas(), TRect{0, 0, 32, 32}));
    std::filesystem::remove(tmp);
    // Assign from another file picture only.
    TFilePicture r;
    r.Assign(&p);
    EXPECT_EQ(r.Filename(), p.Filename());
    EXPECT_EQ(r.Height(), 16);
    TBitmap notAPicture;
    EXPECT_NO_THROW(r.Assign(&notAPicture));
    EXPECT_EQ(r.Height(), 16);
    SetFixedMetricsFonts(false);
}

// ---------------------------------------------------------------------------
// Cell check component

TEST(CellCheckTest, BaseChecksNothingAndForgetsItsGrid)
{
    TVodStringGridCheck c(nullptr);
    EXPECT_EQ(c.LastResult(), mrOk);
    EXPECT_EQ(c.Correct(1, 1, L"a b"), L"a b");
    EXPECT_EQ(c.MarkError(1, 1, L"x"), L"x");
    EXPECT_EQ(c.LastResult(), mrOk);
    EXPECT_FALSE(c.GotoCell() || c.AutoCorrect() || c.UseCorrect() || c.UseMarkError() || c.AutoMarkError());
    auto* grid = new TComponent(nullptr);
    c.SetGrid(grid);
    delete grid;
    EXPECT_EQ(c.Grid(), nullptr);
}

TEST_F(GridButtonTest, ThemeAdaptionByColourScheme)
{
    TVodGridButton* b = MakeButton(Form, 10);
    const std::pair<const wchar_t*, int> schemes[] = {
        {L"NormalColor", 2}, {L"HomeStead", 3}, {L"Metallic", 4}, {L"Royale", 1}};
    for (auto [name, look] : schemes) {
        SetThemeColorSchemeName(name);
        b->SetAutoThemeAdapt(true);
        EXPECT_EQ(b->Look(), look) << name;
    }
    // Without visual styles the classic preset; a theme change adapts again.
    SetVisualStylesEnabled(false);
    b->Perform(WM_THEMECHANGED, 0, 0);
    EXPECT_EQ(b->Look(), 1);
    SetVisualStylesEnabled(true);
    SetThemeColorSchemeName(L"Metallic");
    b->Perform(WM_THEMECHANGED, 0, 0);
    EXPECT_EQ(b->Look(), 4);
    SetThemeColorSchemeName(L"NormalColor");
}

TEST_F(GridButtonTest, ActionLinkFollowsCheckedAndGroup)
{
    TVodGridButton* b = MakeButton(Form, 10);
    auto* a = new TAction(Form);
    a->SetCaption(L"Act");
    a->SetGroupIndex(3);
    b->SetAllowAllUp(true);
    b->SetAction(a);
    EXPECT_EQ(b->Caption(), L"Act");
    EXPECT_EQ(b->GroupIndex(), 3);
    a->SetChecked(true);
    EXPECT_TRUE(b->Down());
    a->SetChecked(false);
    EXPECT_FALSE(b->Down());
}
