// The menu family's utilities and gradients, its appearance classes (their
// defaults, Assign rules, indexed colours, background rendering and the glyph
// resources) and the stylers with their presets and theme adaptation.
#include <gtest/gtest.h>

#include "controls/chrome/VodMenus.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/Themes.h"
#include "ToolButtonTestSupport.h"

namespace {

struct TPaintCanvas {
    TTestCanvas Surface;
    TCanvas Canvas;
    TPaintCanvas(int w, int h) : Surface(w, h, RGB(1, 2, 3)) { Canvas.SetHandle(Surface.Dc); }
    ~TPaintCanvas() { Canvas.SetHandle(nullptr); }
    COLORREF Px(int x, int y) const { return Surface.Px(x, y); }
};

}  // namespace

TEST(VodMenuUtil, RectanglesColoursFontsAndTheIndexError)
{
    TRect r{0, 0, 24, 24};
    CenterRect(r, 5, 5);
    EXPECT_EQ(r, (TRect{9, 9, 14, 14}));
    TRect odd{-3, 1, 4, 8};
    CenterRect(odd, 2, 3);
    EXPECT_EQ(odd, (TRect{-1, 3, 1, 6})) << "halves truncate toward zero";
    EXPECT_EQ(PackColor(1, 2, 3, 4), TColor(0x04030201));
    Integer R, G, B;
    ColorToParts(TColor(0x336699), R, G, B);
    EXPECT_EQ(R, 0x99);
    EXPECT_EQ(G, 0x66);
    EXPECT_EQ(B, 0x33);
    EXPECT_EQ(BitmapRect(nullptr), (TRect{0, 0, 0, 0}));

    TFont f;
    f.SetName(L"Tahoma");
    f.SetStyle(TFontStyles{fsBold, fsItalic});
    HFONT h = CreateRotatedFont(&f, 90);
    LOGFONTW lf{};
    ASSERT_TRUE(GetObject(h, sizeof(lf), &lf));
    EXPECT_EQ(lf.lfEscapement, 900);
    EXPECT_EQ(lf.lfWeight, 700);
    EXPECT_EQ(lf.lfItalic, 1);
    EXPECT_EQ(String(lf.lfFaceName), L"Tahoma");
    DeleteObject(h);

    try {
        RaiseInvalidPropertyIndex(7);
        FAIL();
    } catch (const EInvalidPropertyIndex& e) {
        EXPECT_EQ(e.Message(), L"Invalid property index 7.");
    }
}

TEST(VodMenuGradients, FillsBandsAndClippedStrips)
{
    {
        TPaintCanvas c(10, 4);
        MenuGradientFill(&c.Canvas, TRect{0, 0, 10, 4}, TColor(0x000000), TColor(0x0000FF), gdVertical);
        const Byte reds[4] = {0, 63, 127, 191};
        for (int y = 0; y < 4; ++y) EXPECT_EQ(c.Px(5, y), RGB(reds[y], 0, 0)) << y;
    }
    {
        // One solid fill for clNone or an equal end, also in a rectangle of height 0.
        TPaintCanvas c(10, 10);
        GdiStartRecording(c.Surface.Dc);
        MenuGradientFill(&c.Canvas, TRect{0, 0, 10, 0}, TColor(0x00FF00), clNone, gdVertical);
        MenuGradientFill(&c.Canvas, TRect{0, 0, 10, 5}, TColor(0x00FF00), TColor(0x00FF00), gdHorizontal);
        int fills = 0, lines = 0;
        for (auto& rec : GdiRecords(c.Surface.Dc)) {
            fills += rec.Kind == L"FillRect";
            lines += rec.Kind == L"LineTo";
        }
        EXPECT_EQ(fills, 2);
        EXPECT_EQ(lines, 0);
        EXPECT_EQ(c.Px(5, 4), RGB(0, 255, 0));
    }
    {
        // Strips of one gradient join as one fill would paint them.
        TPaintCanvas whole(4, 60), strips(4, 60);
        const TRect F{0, 0, 4, 60};
        MenuGradientFill(&whole.Canvas, F, TColor(0xFFFFFF), TColor(0x000000), gdVertical);
        MenuClippedGradient(&strips.Canvas, F, TRect{0, 0, 4, 23}, TColor(0xFFFFFF), TColor(0x000000), gdVertical);
        MenuClippedGradient(&strips.Canvas, F, TRect{0, 23, 4, 60}, TColor(0xFFFFFF), TColor(0x000000), gdVertical);
        for (int y = 0; y < 60; ++y) {
            const int a = GetRValue(whole.Px(1, y)), b = GetRValue(strips.Px(1, y));
            EXPECT_LE(std::abs(a - b), 1) << y;
        }
        EXPECT_EQ(strips.Px(1, 23), whole.Px(1, 23)) << "the second strip starts where the first would go on";
    }
    {
        // Mirror box: two halves, then the frame.
        TPaintCanvas c(10, 10);
        MenuMirrorGradientBox(&c.Canvas, TRect{0, 0, 10, 10}, TColor(0x0000FF), clNone, TColor(0x00FF00), clNone,
                              gdVertical, TColor(0xFF0000), true);
        EXPECT_EQ(c.Px(5, 2), RGB(255, 0, 0));
        EXPECT_EQ(c.Px(5, 7), RGB(0, 255, 0));
        EXPECT_EQ(c.Px(0, 5), RGB(0, 0, 255));
        MenuGradientBox(&c.Canvas, TRect{0, 0, 10, 10}, TColor(0x00FFFF), clNone, gdVertical, clNone, false);
        EXPECT_EQ(c.Px(5, 2), RGB(255, 0, 0)) << "no fill without Fill";
    }
}

TEST(VodMenuGradients, BandsWithMarginsSolidPartsAndEnds)
{
    // Vertical gtBoth, g 4 (doubled), height 20, margin 2.
    TPaintCanvas v(4, 20);
    MenuGradientBand(&v.Canvas, TRect{0, 0, 4, 20}, TColor(0x0000FF), TColor(0x00FF00), gdVertical, gtBoth, 4, 2);
    EXPECT_EQ(v.Px(1, 1), RGB(1, 2, 3)) << "margin";
    EXPECT_EQ(v.Px(1, 2), RGB(0, 255, 0)) << "the end colour at the top end";
    EXPECT_NE(v.Px(1, 5), RGB(255, 0, 0));
    for (int y = 6; y < 14; ++y) EXPECT_EQ(v.Px(1, y), RGB(255, 0, 0)) << "solid row " << y;
    EXPECT_EQ(v.Px(1, 14), RGB(255, 0, 0)) << "the bottom end starts at Color";
    EXPECT_EQ(v.Px(1, 17), RGB(64, 191, 0)) << "and runs towards ColorTo";
    EXPECT_EQ(v.Px(1, 18), RGB(1, 2, 3));

    // Horizontal: the ends are 2 columns each.
    TPaintCanvas h(20, 4);
    MenuGradientBand(&h.Canvas, TRect{0, 0, 20, 4}, TColor(0x0000FF), TColor(0x00FF00), gdHorizontal, gtBoth, 4, 2);
    EXPECT_EQ(h.Px(1, 1), RGB(1, 2, 3));
    EXPECT_EQ(h.Px(2, 1), RGB(0, 255, 0));
    for (int x = 4; x < 16; ++x) EXPECT_EQ(h.Px(x, 1), RGB(255, 0, 0)) << "solid column " << x;
    EXPECT_EQ(h.Px(17, 1), RGB(128, 127, 0)) << "the right end runs towards ColorTo";

    // Width 0: one solid strip, in ColorTo for one-ended types.
    TPaintCanvas s(20, 4);
    MenuGradientBand(&s.Canvas, TRect{0, 0, 20, 4}, TColor(0x0000FF), TColor(0x00FF00), gdHorizontal, gtLeft, 0, 2);
    EXPECT_EQ(s.Px(2, 1), RGB(0, 255, 0));
    EXPECT_EQ(s.Px(17, 1), RGB(0, 255, 0));
    EXPECT_EQ(s.Px(18, 1), RGB(1, 2, 3));
}

TEST(VodMenuGradients, MenuAnimationIsSwitchedOffAndSaved)
{
    TChromeDesk desk;
    BOOL on = TRUE;
    SystemParametersInfo(SPI_SETMENUANIMATION, 0, reinterpret_cast<void*>(TRUE), 2);
    SwitchMenuAnimationOff();
    ASSERT_TRUE(SystemParametersInfo(SPI_GETMENUANIMATION, 0, &on, 0));
    EXPECT_FALSE(on);

    // Every popup switches it off first.
    SystemParametersInfo(SPI_SETMENUANIMATION, 0, reinterpret_cast<void*>(TRUE), 2);
    auto* menu = new TVodPopupMenu(desk.Form);
    auto* item = new TMenuItem(desk.Form);
    item->SetCaption(L"One");
    menu->Items()->Add(item);
    BOOL during = TRUE;
    menu->OnPopup = [&](TObject*) {
        SystemParametersInfo(SPI_GETMENUANIMATION, 0, &during, 0);
        WmKeyInput(VK_ESCAPE, true);
        WmKeyInput(VK_ESCAPE, false);
    };
    menu->Popup(100, 100);
    EXPECT_FALSE(during);
}

// ---------------------------------------------------------------------------

TEST(VodMenuAppearance, DefaultsAndIndexedColours)
{
    TChromeDesk desk;
    TIconBar ib;
    EXPECT_EQ(ib.Color(), TColor(0xFFF9F9));
    EXPECT_EQ(ib.ColorTo(), TColor(0xBBA0A1));
    EXPECT_EQ(ib.GradientDirection(), gdHorizontal);
    EXPECT_EQ(ib.Size(), 24);
    ib.SetSize(10);
    EXPECT_EQ(ib.Size(), 16);
    ib.SetSize(40);
    EXPECT_EQ(ib.Size(), 40);

    TSideBar sb;
    EXPECT_EQ(sb.SplitterColorTo(), TColor(0x000000)) << "black until set";
    EXPECT_EQ(sb.Size(), 24);
    EXPECT_EQ(sb.VisibleIn(), viFirstVisible);
    EXPECT_EQ(sb.Font()->Name(), L"Tahoma");
    EXPECT_EQ(sb.Font()->Size(), 14);
    EXPECT_TRUE(sb.Font()->Style().Contains(fsBold) && sb.Font()->Style().Contains(fsItalic));
    EXPECT_EQ(sb.Direction(), dDownToUp);

    TSeparator sep;
    EXPECT_EQ(sep.Color(), TColor(0x8F6D6E));
    EXPECT_EQ(sep.GradientType(), gtBoth);
    EXPECT_EQ(sep.Margin(), 2);
    EXPECT_EQ(sep.Width(), 1);

    TSelectedItem si;
    EXPECT_EQ(si.Color(), TColor(0xC2EEFF));
    EXPECT_EQ(si.CheckColor(), TColor(0x3E80FE));
    EXPECT_EQ(si.NotesFont()->Size(), si.Font()->Size() - 2);

    TButtonAppearance ba;
    EXPECT_EQ(ba.CaptionFont()->Name(), L"Segoe UI") << "Vista or later";
    EXPECT_EQ(ba.DownColor(), TColor(0xB59285));

    // Indexed colours: 0 and 1 (0 to 3 for the menu-bar items).
    TRootItem root;
    for (Integer i = 0; i < 4; ++i) root.SetSelectedColor(i, TColor(0x10 + i));
    EXPECT_EQ(root.GetSelectedColor(3), TColor(0x13));
    struct Bad {
        const char* Name;
        std::function<void()> Call;
        Integer Index;
    } bad[] = {
        {"bar get", [&] { ib.GetColor(2); }, 2},
        {"bar set", [&] { ib.SetColor(-1, clRed); }, -1},
        {"check colour", [&] { ib.SetCheckColor(2, clRed); }, 2},
        {"radio colour", [&] { si.GetRadioColor(5); }, 5},
        {"root selected", [&] { root.SetSelectedColor(4, clRed); }, 4},
        {"root hover", [&] { root.GetHoverColor(-2); }, -2},
    };
    for (const Bad& b : bad) {
        SCOPED_TRACE(b.Name);
        try {
            b.Call();
            ADD_FAILURE() << "no exception";
        } catch (const EInvalidPropertyIndex& e) {
            EXPECT_EQ(e.Message(), L"Invalid property index " + IntToStr(b.Index) + L".");
        }
    }
    EXPECT_EQ(ib.CheckColor(), TColor(0x6FC0FF)) << "nothing stored";
}

TEST(VodMenuAppearance, AssignRules)
{
    TChromeDesk desk;
    TIconBar a, b;
    a.SetColor(TColor(0x111111));
    a.SetCheckColor(TColor(0x222222));
    a.SetSize(30);
    a.SetSeparatorColor(TColor(0x333333));
    b.Assign(&a);
    EXPECT_EQ(b.CheckColor(), TColor(0x222222));
    EXPECT_EQ(b.Size(), 30);
    EXPECT_EQ(b.SeparatorColor(), TColor(0x333333));
    EXPECT_EQ(b.Color(), TColor(0xFFF9F9)) << "the inherited colours stay";
    TGradientBar plain;
    plain.Assign(&a);
    EXPECT_EQ(plain.Color(), TColor(0x111111)) << "a plain bar takes the colours";

    TSelectedItem s1, s2;
    s1.SetColor(TColor(0x010101));
    s1.SetColorMirror(TColor(0x020202));
    s1.SetBorderColor(TColor(0x030303));
    s1.Font()->SetColor(TColor(0x040404));
    s1.SetUseSystemFont(false);
    s1.SetRadioColor(TColor(0x050505));
    s2.Assign(&s1);
    EXPECT_EQ(s2.Color(), TColor(0x010101));
    EXPECT_EQ(s2.ColorMirror(), TColor(0x020202));
    EXPECT_EQ(s2.BorderColor(), TColor(0x030303));
    EXPECT_EQ(s2.Font()->Color(), TColor(0x040404));
    EXPECT_FALSE(s2.UseSystemFont());
    EXPECT_EQ(s2.RadioColor(), TColor(0x050505));

    TButtonAppearance b1, b2;
    b1.SetHoverColor(TColor(0x0A0A0A));
    b1.SetDownBorderColor(TColor(0x0B0B0B));
    b1.SetGradientDirection(gdHorizontal);
    int changes = 0;
    b2.OnChange = [&](TObject*) { ++changes; };
    EXPECT_NO_THROW(b2.Assign(&b1));
    EXPECT_EQ(b2.HoverColor(), TColor(0x0A0A0A));
    EXPECT_EQ(b2.DownBorderColor(), TColor(0x0B0B0B));
    EXPECT_EQ(b2.GradientDirection(), gdHorizontal);
    b2.SetHoverColor(TColor(0x0A0A0A));
    EXPECT_EQ(changes, 0) << "an unchanged value fires nothing";
    b2.SetHoverColor(TColor(0x0C0C0C));
    EXPECT_EQ(changes, 1);

    TSeparator sep1, sep2;
    sep1.SetWidth(3);
    sep1.SetColor(TColor(0x0D0D0D));
    sep2.Assign(&sep1);
    EXPECT_EQ(sep2.Width(), 3);
    EXPECT_EQ(sep2.Color(), TColor(0x0D0D0D));

    // Unsuitable sources: the conversion error, except for the glyphs.
    TFont font;
    EXPECT_THROW(plain.Assign(&font), EConvertError);
    EXPECT_THROW(b2.Assign(&font), EConvertError);
    TSideBar bar;
    EXPECT_THROW(bar.Assign(&font), EConvertError);
    TMenuGlyphs glyphs;
    EXPECT_NO_THROW(glyphs.Assign(&font));
}

TEST(VodMenuAppearance, GlyphResourcesHoldExactlyTheirBits)
{
    TMenuGlyphs g;
    struct Glyph {
        const char* Name;
        TBitmap* Bitmap;
        int W, H;
        std::vector<std::vector<int>> Black;   // per row: the black columns
    } glyphs[] = {
        {"check", g.Check(), 16, 16,
         {{}, {}, {}, {}, {11}, {10, 11}, {9, 10, 11}, {4, 8, 9, 10}, {4, 5, 7, 8, 9}, {4, 5, 6, 7, 8}, {5, 6, 7}, {6}}},
        {"radio", g.Radio(), 16, 16,
         {{}, {}, {}, {}, {}, {6, 7, 8, 9}, {5, 6, 7, 8, 9, 10}, {5, 6, 7, 8, 9, 10}, {5, 6, 7, 8, 9, 10},
          {5, 6, 7, 8, 9, 10}, {6, 7, 8, 9}}},
        {"submenu", g.SubMenu(), 4, 7, {{0}, {0, 1}, {0, 1, 2}, {0, 1, 2, 3}, {0, 1, 2}, {0, 1}, {0}}},
    };
    for (const Glyph& gl : glyphs) {
        SCOPED_TRACE(gl.Name);
        ASSERT_EQ(gl.Bitmap->Width(), gl.W);
        ASSERT_EQ(gl.Bitmap->Height(), gl.H);
        EXPECT_TRUE(gl.Bitmap->Transparent());
        EXPECT_EQ(gl.Bitmap->TransparentColor() & 0xFFFFFF, TColor(0xFFFFFF));
        TImageData img = gl.Bitmap->ToImage();
        for (int y = 0; y < gl.H; ++y)
            for (int x = 0; x < gl.W; ++x) {
                const bool black = y < int(gl.Black.size()) &&
                                   std::find(gl.Black[y].begin(), gl.Black[y].end(), x) != gl.Black[y].end();
                EXPECT_EQ(img.Pixel(x, y) & 0xFFFFFF, black ? 0u : 0xFFFFFFu) << x << "," << y;
            }
    }
}

TEST(VodMenuAppearance, BackgroundPictureAndRendering)
{
    TBackground bg;
    auto pic = std::make_unique<TPicture>();
    auto bmp = std::make_unique<TBitmap>(20, 10);
    bmp->Canvas()->Brush()->SetColor(TColor(0x0000FF));
    bmp->Canvas()->FillRect(TRect{0, 0, 20, 10});
    pic->SetGraphic(bmp.get());
    bg.SetImage(pic.get());
    ASSERT_TRUE(bg.HasPicture());
    struct Case {
        TBackgroundPosition Pos;
        Integer X, Y;
    } cases[] = {{bpCenter, 40, 20},     {bpTopLeft, 3, 4},      {bpTopRight, 83, 4},  {bpBottomLeft, 3, 44},
                 {bpBottomRight, 83, 44}, {bpTopCenter, 43, 4}, {bpBottomCenter, 43, 44}, {bpTiled, 0, 0},
                 {bpXY, 0, 0}};
    for (const Case& c : cases) {
        bg.SetPosition(c.Pos);
        bg.SetOffsetX(c.Pos == bpCenter ? 0 : 3);
        bg.SetOffsetY(c.Pos == bpCenter ? 0 : 4);
        Integer x, y;
        bg.CalcPicturePosition(TRect{0, 0, 100, 50}, x, y);
        EXPECT_EQ(x, c.X) << int(c.Pos);
        EXPECT_EQ(y, c.Y) << int(c.Pos);
    }

    // Gradient, then the centred picture, at R less the margins.
    bg.SetPosition(bpCenter);
    bg.SetOffsetX(0);
    bg.SetOffsetY(0);
    bg.SetColor(TColor(0x00FF00));
    bg.SetMarginX(5);
    TPaintCanvas c(110, 50);
    PaintBackground(&c.Canvas, TRect{0, 0, 110, 50}, &bg, true);
    EXPECT_EQ(c.Px(2, 25), RGB(1, 2, 3)) << "margin";
    EXPECT_EQ(c.Px(10, 25), RGB(0, 255, 0));
    EXPECT_EQ(c.Px(55, 25), RGB(255, 0, 0)) << "the picture in the middle";

    // Image := nothing leaves no picture until Image is read again.
    bg.SetImage(nullptr);
    EXPECT_EQ(bg.PictureIfAny(), nullptr);
    EXPECT_TRUE(bg.Image()->Empty());
    EXPECT_NE(bg.PictureIfAny(), nullptr);
}

// ---------------------------------------------------------------------------

TEST(VodMenuStylers, OfficeDefaultsAndTheTwoFullPresets)
{
    TChromeDesk desk;
    auto* s = new TVodMenuOfficeStyler(desk.Form);
    EXPECT_EQ(s->Style(), osOffice2003Blue);
    EXPECT_EQ(s->Background()->Color(), TColor(0xF6F6F6));
    EXPECT_EQ(s->IconBar()->Color(), TColor(0xFFEFE3));
    EXPECT_EQ(s->IconBar()->ColorTo(), TColor(0xE4AD87));
    EXPECT_EQ(s->SelectedItem()->Color(), TColor(0xC2EEFF));
    EXPECT_EQ(s->SelectedItem()->BorderColor(), TColor(0x800000));
    EXPECT_EQ(s->Separator()->Color(), TColor(0xCB8C6A));
    EXPECT_EQ(s->MenuBorderColor(), TColor(0x962D00));
    EXPECT_EQ(s->RootItem()->GetHoverColor(1), TColor(0x9AD6FF));
    EXPECT_EQ(s->ButtonAppearance()->DownColorTo(), TColor(0x91D3FF));
    EXPECT_TRUE(s->UseSystemFont());

    s->SetStyle(osOffice2016Black);
    EXPECT_FALSE(s->UseSystemFont());
    EXPECT_EQ(s->Font()->Color(), TColor(0xC6C6C6));
    EXPECT_EQ(s->Background()->Color(), TColor(0x363636));
    EXPECT_EQ(s->MenuBorderColor(), TColor(0x444444));
    EXPECT_EQ(s->RootItem()->SelectedTextColor(), TColor(0xFFFFFF));
    EXPECT_EQ(s->RootItem()->GetHoverColor(2), TColor(0x6A6A6A));
    EXPECT_FALSE(s->RootItem()->UseSystemFont());
    EXPECT_EQ(s->SelectedItem()->Font()->Color(), TColor(0x000000));
    EXPECT_FALSE(s->SelectedItem()->UseSystemFont());
    EXPECT_EQ(s->IconBar()->SeparatorColor(), TColor(0x444444));
    EXPECT_EQ(s->Separator()->ColorTo(), TColor(0x444444));
    EXPECT_EQ(s->ButtonAppearance()->HoverBorderColor(), TColor(0x6A6A6A));

    s->SetStyle(osCustom);
    EXPECT_EQ(s->Background()->Color(), TColor(0x363636)) << "custom keeps the colours";
    EXPECT_EQ(s->Font()->Color(), TColor(clWindowText));
    EXPECT_TRUE(s->UseSystemFont());

    s->SetStyle(osOffice2016Black);
    s->SetStyle(osOffice2003Blue);
    EXPECT_TRUE(s->UseSystemFont());
    EXPECT_EQ(s->SelectedItem()->Font()->Color(), TColor(0x000000));
    EXPECT_FALSE(s->SelectedItem()->UseSystemFont());
}

TEST(VodMenuStylers, ShapingValuesOfThePresets)
{
    TChromeDesk desk;
    auto* s = new TVodMenuOfficeStyler(desk.Form);
    const TColor N = clNone;
    struct Row {
        TOfficeStyle Style;
        TColor Bg, BgTo, Frame, Icon, IconTo, Sel, SelTo, Mirror, MirrorTo, SelBorder, Sep, SepTo;
    } rows[] = {
        {osOffice2003Silver, 0xF6F6F6, 0xF6F6F6, 0x5E8D75, 0xFFF9F9, 0xB99D9F, 0xC2EEFF, N, N, N, 0x080000, 0x8F6D6E, N},
        {osOffice2003Olive, 0xF6F6F6, 0xF6F6F6, 0x5E8D75, 0xEDFFFF, 0x92C7B8, 0xC2EEFF, N, N, N, 0x385D3F, 0x588060, N},
        {osOfficeXP, clWindow, clWindow, 0x808080, clBtnFace, N, 0xEFD3C6, N, N, N, 0xC66931, 0x7A868A, N},
        {osOffice2007Luna, 0xF6F6F6, 0xF6F6F6, 0xC0C0C0, 0xEEEEE9, 0xEEEEE9, 0xEBFDFF, 0xABEBFF, 0x69D6FF, 0x96E4FF,
         0x99CEDB, 0xC5C5C5, N},
        {osOffice2007Obsidian, 0xF6F6F6, 0xF6F6F6, 0xC0C0C0, 0xEEEEE9, 0xEEEEE9, 0xEBFDFF, 0xABEBFF, 0x69D6FF,
         0x96E4FF, 0x99CEDB, 0xC5C5C5, N},
        {osOffice2007Silver, 0xFAFAFA, 0xFAFAFA, 0x868686, 0xEFEFEF, 0xEFEFEF, 0xEBFDFF, 0xABEBFF, 0x69D6FF, 0x96E4FF,
         0x99CEDB, 0xC5C5C5, N},
        {osVista, 0xEEEEEE, N, 0x979797, 0xEEEEEE, N, 0xF4F1EB, 0xF3EBDA, N, N, 0xEBD8A8, 0xE0E0E0, 0xFFFFFF},
        {osWhidbey, 0xF9FCFC, 0xF9FCFC, 0x7A868A, 0xFBFEFE, 0xACC3C4, 0xEED2C1, N, N, N, 0xC56A31, 0xB8C2C5, N},
        {osWindows7, 0xEEEEEE, N, 0x979797, 0xEEEEEE, N, 0xFCEBDC, 0xFCDBC1, N, N, 0xCEA27D, 0xE0E0E0, 0xFFFFFF},
        {osTerminal, clBtnFace, clBtnFace, 0x808080, clBtnFace, clBtnFace, 0xC0C0C0, 0xC0C0C0, 0xC0C0C0, 0xC0C0C0,
         0x808080, 0x808080, 0x808080},
        {osOffice2010Blue, 0xFFFFFF, 0xFFFFFF, 0xB0ABA7, 0xFFFFFF, 0xFFFFFF, 0xD9F9FD, 0x8AE3FD, 0x8AE3FD, 0xD9F9FD,
         0x58CAF1, 0xC9C8C7, 0xC9C8C7},
        {osOffice2010Black, 0xFFFFFF, 0xFFFFFF, 0xB0ABA7, 0xFFFFFF, 0xFFFFFF, 0xD9F9FD, 0x8AE3FD, 0x8AE3FD, 0xD9F9FD,
         0x58CAF1, 0xC9C8C7, 0xC9C8C7},
        {osWindows8, 0xF7F6F5, N, 0x979797, 0xEEEEEE, N, 0xF7EFE8, 0xF7EFE8, N, N, 0xF9CEA4, 0xE0E0E0, 0xFFFFFF},
        {osWindows10, 0xF7F6F5, N, 0x979797, 0xEEEEEE, N, 0xF7EFE8, 0xF7EFE8, N, N, 0xF9CEA4, 0xE0E0E0, 0xFFFFFF},
        {osOffice2013White, 0xFFFFFF, 0xFFFFFF, 0xB0ABA7, 0xFFFFFF, 0xFFFFFF, 0xFCF0E4, 0xFCF0E4, N, N, 0xEAB47E,
         0xC9C8C7, 0xC9C8C7},
        {osOffice2013LightGray, 0xF6F6F6, 0xF6F6F6, 0xB0ABA7, 0xFFFFFF, 0xFFFFFF, 0xFCF0E4, 0xFCF0E4, N, N, 0xEAB47E,
         0xC9C8C7, 0xC9C8C7},
        {osOffice2013Gray, 0xE5E5E5, 0xE5E5E5, 0xB0ABA7, 0xF6F6F6, 0xF6F6F6, 0xFCF0E4, 0xFCF0E4, N, N, 0xEAB47E,
         0xC9C8C7, 0xC9C8C7},
        {osOffice2016White, 0xFFFFFF, 0xFFFFFF, 0xD4D4D4, 0xFFFFFF, 0xFFFFFF, 0xE3BDA3, 0xE3BDA3, N, N, 0xE3BDA3,
         0xD4D4D4, 0xD4D4D4},
        {osOffice2016Gray, 0xB2B2B2, 0xB2B2B2, 0x444444, 0xB2B2B2, 0xB2B2B2, 0xE3BDA3, 0xE3BDA3, N, N, 0xE3BDA3,
         0x444444, 0x444444},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(int(r.Style));
        s->SetStyle(r.Style);
        const TColor got[12] = {s->Background()->Color(),     s->Background()->ColorTo(), s->MenuBorderColor(),
                                s->IconBar()->Color(),        s->IconBar()->ColorTo(),    s->SelectedItem()->Color(),
                                s->SelectedItem()->ColorTo(), s->SelectedItem()->ColorMirror(),
                                s->SelectedItem()->ColorMirrorTo(), s->SelectedItem()->BorderColor(),
                                s->Separator()->Color(),      s->Separator()->ColorTo()};
        const TColor want[12] = {r.Bg, r.BgTo, r.Frame, r.Icon, r.IconTo, r.Sel, r.SelTo, r.Mirror, r.MirrorTo,
                                 r.SelBorder, r.Sep, r.SepTo};
        for (int i = 0; i < 12; ++i) EXPECT_EQ(got[i], want[i]) << "value " << i;
    }
    s->SetStyle(osOffice2016Gray);
    EXPECT_FALSE(s->RootItem()->UseSystemFont());
}

TEST(VodMenuStylers, LibraryStylesThemeAdaptationAndAssign)
{
    TChromeDesk desk;
    auto* s = new TVodMenuOfficeStyler(desk.Form);
    struct Map {
        TQelStyle From;
        TOfficeStyle To;
    } map[] = {{tsWindowsXP, osOfficeXP},           {tsOffice2003Classic, osOfficeXP}, {tsOffice2007Silver, osOffice2007Silver},
               {tsWindowsVista, osVista},           {tsWindows10, osWindows10},        {tsTerminal, osTerminal},
               {tsOffice2016Black, osOffice2016Black}, {tsOffice2003Olive, osOffice2003Olive}};
    for (const Map& m : map) {
        s->SetComponentStyle(m.From);
        EXPECT_EQ(s->Style(), m.To) << int(m.From);
    }
    s->SetStyle(osOffice2013Gray);
    s->SetComponentStyle(tsCustom);
    EXPECT_EQ(s->Style(), osOffice2013Gray);
    s->SetComponentStyle(TQelStyle(40));
    EXPECT_EQ(s->Style(), osOffice2013Gray) << "outside the style: nothing";

    // The colour scheme decides at load and on a theme change.
    SetThemeColorSchemeName(L"Metallic");
    s->SetStyle(osOffice2016White);
    s->SetAutoThemeAdapt(true);
    EXPECT_EQ(s->Style(), osOffice2003Silver);
    s->SetStyle(osOffice2016White);
    s->Loaded();
    EXPECT_EQ(s->Style(), osOffice2003Silver) << "loading adapts, whatever Style the form stored";
    SetThemeColorSchemeName(L"HomeStead");
    ASSERT_TRUE(s->NotifierWindow());
    EXPECT_EQ(s->NotifierWindow()->Parent(), desk.Form);
    SendMessage(s->NotifierWindow()->Handle(), WM_THEMECHANGED, 0, 0);
    EXPECT_EQ(s->Style(), osOffice2003Olive);
    SetThemeColorSchemeName(L"Royale");
    SendMessage(s->NotifierWindow()->Handle(), WM_THEMECHANGED, 0, 0);
    EXPECT_EQ(s->Style(), osOfficeXP);
    SetVisualStylesEnabled(false);
    SetThemeColorSchemeName(L"NormalColor");
    s->SetStyle(osOffice2016White);
    SendMessage(s->NotifierWindow()->Handle(), WM_THEMECHANGED, 0, 0);
    EXPECT_EQ(s->Style(), osOfficeXP) << "no active theme";
    s->SetAutoThemeAdapt(false);
    SetVisualStylesEnabled(true);
    SendMessage(s->NotifierWindow()->Handle(), WM_THEMECHANGED, 0, 0);
    EXPECT_EQ(s->Style(), osOfficeXP);

    // Assign copies the look but not AntiAlias or the frame colour.
    auto* other = new TCustomVodMenuStyler(desk.Form);
    s->SideBar()->SetCaption(L"Velmora");
    s->SideBar()->SetSize(31);
    s->SetAntiAlias(aaClearType);
    s->SetMenuBorderColor(TColor(0x123456));
    other->Assign(s);
    EXPECT_EQ(other->SideBar()->Caption(), L"Velmora");
    EXPECT_EQ(other->SideBar()->Size(), 31);
    EXPECT_EQ(other->AntiAlias(), aaNone);
    EXPECT_EQ(other->MenuBorderColor(), TColor(0x7C7C94));
    EXPECT_EQ(other->Background()->Color(), s->Background()->Color());
    TFont font;
    EXPECT_NO_THROW(other->Assign(&font));
}
