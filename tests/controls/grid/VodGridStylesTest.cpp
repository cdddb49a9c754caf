// The grid's component styles, colour tones, XP header schemes and Office
// theme adaptation: the properties each one sets, as a table, and the
// rules between them.
#include <gtest/gtest.h>

#include "controls/grid/GridScrollControls.h"
#include "tests/controls/grid/StringGridFixture.h"
#include "controls/grid/VodGrid.h"
#include "platform/base/Registry.h"
#include "platform/base/SysUtils.h"

namespace {

using StylesTest = TStringGridFixture<TVodStringGrid>;

constexpr TColor N = clNone;

struct TStyleCase {
    TQelStyle Style;
    TGridLook Look;
    TColor From, To, MirrorFrom, MirrorTo;
    TColor Active, ActiveTo, Sel, SelText, Line, FixedLine;
    TGridSelectionStyle SelStyle;
    TColor HotFrom, HotBorder, DownFrom, DownBorder;
};

// The hot and pressed colours not set by a style stay at the control look's
// reset values: the grid keeps its own (clNone at creation).
const TStyleCase kCases[] = {
    {tsOffice2003Blue, glXP, TColor(0xFCE1CB), TColor(0xE0A57D), N, N, TColor(0x94E6FB), TColor(0x1595EE),
     TColor(0x94E6FB), TColor(0), TColor(0xC0C0C0), TColor(0x808080), ssDefault, N, N, N, N},
    {tsOffice2003Classic, glXP, TColor(0xFFFFFF), TColor(0xCCD4D8), N, N, TColor(0xD8D5D4), TColor(0xD8D5D4),
     clHighlight, clHighlightText, TColor(0xC0C0C0), TColor(0x808080), ssDefault, N, N, N, N},
    {tsOffice2007Luna, glOffice2007, TColor(0xFBF9F6), TColor(0xE8DBD2), N, N, TColor(0x9DD8F9), TColor(0x5EC1F1),
     TColor(0x5EC1F1), TColor(0), TColor(0xF1EDEB), TColor(0xD1BBA4), ssOffice2007, TColor(0xE4E2DF),
     TColor(0xB79F87), TColor(0xE4C19D), TColor(0xE4C19D)},
    {tsOffice2007Obsidian, glOffice2007, TColor(0xF7F7F7), TColor(0xDEDEDE), N, N, TColor(0x9DD8F9),
     TColor(0x5EC1F1), TColor(0x5EC1F1), TColor(0), TColor(0xE5D7D0), TColor(0x808080), ssDefault, N, N, N, N},
    {tsWindowsXP, glXP, ColorToRGB(clBtnFace), ColorToRGB(clBtnFace), N, N, clBtnFace, clBtnFace, clHighlight,
     clHighlightText, TColor(0xC0C0C0), TColor(0x808080), ssDefault, N, N, N, N},
    {tsWindowsVista, glVista, TColor(0xFFFFFF), TColor(0xFFFFFF), TColor(0xFAF8F7), TColor(0xF4F2F1),
     TColor(0xFDF8F1), TColor(0xFCEFD5), TColor(0xEACAB6), TColor(0), TColor(0xECECF0), TColor(0xD4D2D1), ssVista,
     TColor(0xFFF7E3), TColor(0xE3C993), TColor(0xF9E4BC), TColor(0xAE904F)},
    {tsWindows7, glWin7, TColor(0xFDFCFA), TColor(0xFAF0E6), TColor(0xF4E6DC), TColor(0xF7E9DD), TColor(0xFCEBDC),
     TColor(0xFCDBC1), TColor(0xEACAB6), TColor(0), TColor(0xECECF0), TColor(0xD4D2D1), ssWin7, TColor(0xFEFBF8),
     TColor(0xEEE8E3), TColor(0xF1E8DD), TColor(0xD5BCAA)},
    {tsOffice2010Black, glOffice2007, TColor(0x6A6A6A), TColor(0x6A6A6A), TColor(0x6A6A6A), TColor(0x6A6A6A),
     TColor(0x5BD5FF), TColor(0x71EFFF), TColor(0xFFDBB7), TColor(0), TColor(0xC0C0C0), TColor(0x444444), ssDefault,
     TColor(0x6BDFFF), TColor(0x3ABFE8), TColor(0x5BD5FF), TColor(0x308AC2)},
    {tsWindows10, glOffice2007, TColor(0xF7F6F5), TColor(0xF7F6F5), TColor(0xF7F6F5), TColor(0xF7F6F5),
     TColor(0xF7F6F5), TColor(0xF7F6F5), TColor(0xDAA026), TColor(0xFFFFFF), TColor(0xDCDBDA), TColor(0xDCDBDA),
     ssDefault, TColor(0xF7EFE8), TColor(0xF9CEA4), TColor(0xF7E0C9), TColor(0xE4A262)},
    {tsOffice2013Gray, glOffice2007, TColor(0xF3F3F3), TColor(0xF3F3F3), TColor(0xF3F3F3), TColor(0xF3F3F3),
     TColor(0xF3F3F3), TColor(0xF3F3F3), TColor(0xDAA026), TColor(0xFFFFFF), TColor(0xABABAB), TColor(0xABABAB),
     ssDefault, TColor(0xFCF0E4), TColor(0xEAB47E), TColor(0xFCE2C8), TColor(0xE59D56)},
    {tsOffice2016Black, glOffice2007, TColor(0x252525), TColor(0x252525), TColor(0x252525), TColor(0x252525),
     TColor(0x646464), TColor(0x646464), TColor(0xC6C6C6), TColor(0), TColor(0xD4D4D4), TColor(0xB0B0B0), ssDefault,
     TColor(0xFFFFFF), TColor(0xB1B1B1), TColor(0xFFFFFF), TColor(0xABABAB)},
};

// A fresh grid's view of the grid's colours and switches a style sets.
void ExpectStyle(TVodStringGrid* g, const TStyleCase& c)
{
    const String at = L"style " + IntToStr(Integer(c.Style));
    SCOPED_TRACE(std::string(at.begin(), at.end()));
    EXPECT_EQ(g->Look(), c.Look);
    EXPECT_EQ(g->QelGradientFrom(), c.From);
    EXPECT_EQ(g->QelGradientTo(), c.To);
    EXPECT_EQ(g->QelGradientMirrorFrom(), c.MirrorFrom);
    EXPECT_EQ(g->QelGradientMirrorTo(), c.MirrorTo);
    EXPECT_EQ(g->ActiveCellColor(), c.Active);
    EXPECT_EQ(g->ActiveCellColorTo(), c.ActiveTo);
    EXPECT_EQ(g->SelectionColor(), c.Sel);
    EXPECT_EQ(g->SelectionTextColor(), c.SelText);
    EXPECT_EQ(g->GridLineColor(), c.Line);
    EXPECT_EQ(g->GridFixedLineColor(), c.FixedLine);
    EXPECT_EQ(g->SelectionStyle(), c.SelStyle);
    EXPECT_EQ(g->QelGradientHoverFrom(), c.HotFrom);
    EXPECT_EQ(g->QelGradientHoverBorder(), c.HotBorder);
    EXPECT_EQ(g->QelGradientDownFrom(), c.DownFrom);
    EXPECT_EQ(g->QelGradientDownBorder(), c.DownBorder);
    // The hot and pressed mirrors always come from the style (or its reset).
    EXPECT_EQ(g->QelGradientHoverMirrorTo(), c.HotFrom == N ? N : g->ControlLook()->FixedGradientHoverMirrorTo());
    // The search footer takes the header's From and MirrorTo.
    EXPECT_EQ(g->SearchFooter()->Color(), c.From);
    EXPECT_EQ(g->SearchFooter()->ColorTo(), c.MirrorTo);
}

}  // namespace

TEST_F(StylesTest, EachStyleSetsItsTableRow)
{
    for (const TStyleCase& c : kCases) {
        auto* g = new TVodStringGrid(Form);
        g->SetParent(Form);
        g->SetComponentStyle(c.Style);
        ExpectStyle(g, c);
        EXPECT_EQ(g->ComponentStyle(), c.Style);
        delete g;
    }
}

TEST_F(StylesTest, ControlLookCopyFontsAndBorderPerStyle)
{
    // The Office 2003 and 2007 styles keep their header in the control look;
    // the newer ones clear it there (which leaves the grid's own colours).
    Grid->SetComponentStyle(tsOffice2007Luna);
    EXPECT_EQ(Grid->ControlLook()->FixedGradientFrom(), TColor(0xFBF9F6));
    EXPECT_EQ(Grid->ControlLook()->FixedGradientTo(), TColor(0xE8DBD2));
    const TColor border = Grid->BorderColor();
    Grid->SetComponentStyle(tsOffice2013White);
    EXPECT_EQ(Grid->ControlLook()->FixedGradientFrom(), clNone);
    EXPECT_EQ(Grid->QelGradientFrom(), TColor(0xEEEEEE));
    EXPECT_EQ(Grid->BorderColor(), TColor(0xD4D4D4));
    EXPECT_NE(border, Grid->BorderColor());
    EXPECT_EQ(Grid->FixedFont()->Color(), clBlack);
    EXPECT_EQ(Grid->ActiveCellFont()->Color(), clWindowText);

    Grid->SetComponentStyle(tsOffice2016Gray);
    EXPECT_EQ(Grid->FixedFont()->Color(), clWhite);
    EXPECT_EQ(Grid->ActiveCellFont()->Color(), clWhite);
    EXPECT_EQ(Grid->BorderColor(), TColor(0x999999));

    // With an application colour the hot and pressed headers are its
    // lightened shades; the active cell font takes it as it is.
    Grid->SetComponentStyleAndAppColor(tsOffice2016White, TColor(0x204080));
    EXPECT_EQ(Grid->QelGradientHoverFrom(), TColor(0x3366CD));  // each channel x 1.6
    EXPECT_EQ(Grid->QelGradientHoverMirrorTo(), TColor(0x3366CD));
    EXPECT_EQ(Grid->QelGradientDownTo(), TColor(0x264D9A));     // each channel x 1.2
    EXPECT_EQ(Grid->ActiveCellFont()->Color(), TColor(0x204080));
    // Without one: white headers and no active cell font colour.
    Grid->SetComponentStyle(tsOffice2016White);
    EXPECT_EQ(Grid->QelGradientHoverFrom(), TColor(0xFFFFFF));
    EXPECT_EQ(Grid->QelGradientDownMirrorFrom(), TColor(0xFFFFFF));
    EXPECT_EQ(Grid->ActiveCellFont()->Color(), clNone);
}

TEST_F(StylesTest, CustomAndTerminalResetOnlyTheCommonStartAndMirrorsCarryOver)
{
    Grid->SetComponentStyle(tsWindowsVista);
    Grid->SetComponentStyle(tsCustom);
    // The look and header colours stay; the selection goes back to the
    // system colours and the default selection style.
    EXPECT_EQ(Grid->Look(), glVista);
    EXPECT_EQ(Grid->QelGradientMirrorFrom(), TColor(0xFAF8F7));
    EXPECT_EQ(Grid->ActiveCellColor(), TColor(0xFDF8F1));
    EXPECT_EQ(Grid->SelectionColor(), clHighlight);
    EXPECT_EQ(Grid->SelectionTextColor(), clHighlightText);
    EXPECT_EQ(Grid->SelectionStyle(), ssDefault);
    // The reset of the control look clears the hot and pressed mirrors.
    EXPECT_EQ(Grid->QelGradientHoverMirrorFrom(), clNone);
    EXPECT_EQ(Grid->QelGradientDownMirrorTo(), clNone);
    EXPECT_EQ(Grid->QelGradientHoverFrom(), TColor(0xFFF7E3));

    // Office 2007 Silver keeps the mirror colours that Vista left.
    Grid->SetComponentStyle(tsWindowsVista);
    Grid->SetComponentStyle(tsOffice2007Silver);
    EXPECT_EQ(Grid->QelGradientFrom(), TColor(0xF3F3F1));
    EXPECT_EQ(Grid->QelGradientMirrorFrom(), TColor(0xFAF8F7));
    EXPECT_EQ(Grid->QelGradientMirrorTo(), TColor(0xF4F2F1));

    Grid->SetComponentStyle(tsTerminal);
    EXPECT_EQ(Grid->Look(), glStandard);
    EXPECT_EQ(Grid->QelGradientFrom(), TColor(0xF3F3F1));
}

TEST_F(StylesTest, ColorTonesSetTheFlatSchemeAndStylesLeaveTheThinScrollBars)
{
    TColorTones t = EmptyColorTones();
    t.Background = {TColor(0xFFFFFF), TColor(0xCCCCCC), TColor(0x202020)};
    t.Foreground = {TColor(0xF0E0D0), TColor(0xAAAAAA), TColor(0x101010)};
    t.Selected = {TColor(0xD77800), TColor(0xD77800), TColor(0xFFFFFF)};
    t.Hover = {TColor(0xF5E5D5), N, N};
    Grid->SetColorTones(t);
    EXPECT_EQ(Grid->ColorTones(), t);
    EXPECT_EQ(Grid->Look(), glClassic);
    EXPECT_EQ(Grid->ScrollType(), ssMetro);
    ASSERT_NE(Grid->VScrollControl(), nullptr);
    ASSERT_NE(Grid->HScrollControl(), nullptr);
    EXPECT_EQ(Grid->ScrollBars(), ssNone);
    EXPECT_EQ(Grid->FixedColor(), TColor(0xF0E0D0));
    EXPECT_EQ(Grid->FixedFont()->Color(), TColor(0x101010));
    EXPECT_EQ(Grid->Font()->Name(), DefaultFontName());
    EXPECT_EQ(Grid->FixedFont()->Name(), DefaultFontName());
    EXPECT_EQ(Grid->Color(), TColor(0xFFFFFF));
    EXPECT_EQ(Grid->Font()->Color(), TColor(0x202020));
    EXPECT_EQ(Grid->SelectionColor(), TColor(0xD77800));
    EXPECT_EQ(Grid->SelectionTextColor(), TColor(0xFFFFFF));
    EXPECT_EQ(Grid->GridLineColor(), TColor(0xE6E6E6));
    EXPECT_EQ(Grid->GridFixedLineColor(), DarkenColor(TColor(0xF0E0D0), 20));
    EXPECT_EQ(Grid->BorderStyle(), bsNone);
    EXPECT_EQ(Grid->ControlLook()->ControlStyle(), TControlLook::csGlyph);
    EXPECT_TRUE(Grid->ControlLook()->FlatButton());
    for (TBitmap* b : {Grid->ControlLook()->CheckedGlyph(), Grid->ControlLook()->UnCheckedGlyph(),
                       Grid->ControlLook()->RadioOnGlyph(), Grid->ControlLook()->RadioOffGlyph()}) {
        EXPECT_EQ(b->Width(), 16);
        EXPECT_EQ(b->Height(), 16);
    }
    // The checked and unchecked glyphs differ in the middle.
    EXPECT_NE(Grid->ControlLook()->CheckedGlyph()->Canvas()->Pixels(3, 3),
              Grid->ControlLook()->UnCheckedGlyph()->Canvas()->Pixels(3, 3));
    EXPECT_EQ(Grid->FloatingFooter()->Color(), TColor(0xF0E0D0));
    EXPECT_EQ(Grid->SearchFooter()->Color(), TColor(0xF0E0D0));
    EXPECT_EQ(Grid->SearchFooter()->ColorTo(), TColor(0xF0E0D0));
    EXPECT_EQ(Grid->CellNode()->NodeType(), cnFlat);

    // A custom style keeps the thin bars; any other style takes them away.
    Grid->SetComponentStyle(tsCustom);
    EXPECT_EQ(Grid->ScrollType(), ssMetro);
    Grid->SetComponentStyle(tsWindows10);
    EXPECT_EQ(Grid->ScrollType(), ssNormal);
    EXPECT_EQ(Grid->VScrollControl(), nullptr);
    EXPECT_EQ(Grid->ScrollBars(), ssBoth);
}

TEST_F(StylesTest, XPSchemesAndLooksThatApplyAStyle)
{
    struct {
        TXPColorScheme Scheme;
        TColor From, To, MirrorFrom, Footer, FooterTo, Active;
    } cases[] = {
        {xpBlue, TColor(0xFCE1CB), TColor(0xE0A57D), N, TColor(0xFCE1CB), TColor(0xE0A57D), TColor(0x94E6FB)},
        {xpGreen, TColor(0xCFF0EA), TColor(0x8CC0B1), N, TColor(0xCFF0EA), TColor(0x8CC0B1), TColor(0x94E6FB)},
        {xpGray, TColor(0xECE2E1), TColor(0xB39698), N, TColor(0xECE2E1), TColor(0xB39698), TColor(0x94E6FB)},
        {vistaAero, TColor(0xFFFFFF), TColor(0xFFFFFF), TColor(0xFAF8F7), TColor(0xECE2E1), TColor(0xB39698),
         TColor(0x94E6FB)},
        {xpNone, TColor(0xFFFFFF), ColorToRGB(clBtnFace), N, TColor(0xFFFFFF), TColor(0xFFD9B3), TColor(0xFFFFFF)},
    };
    for (const auto& c : cases) {
        Grid->SetTheme(c.Scheme);
        EXPECT_EQ(Grid->QelGradientFrom(), c.From) << int(c.Scheme);
        EXPECT_EQ(Grid->QelGradientTo(), c.To) << int(c.Scheme);
        EXPECT_EQ(Grid->QelGradientMirrorFrom(), c.MirrorFrom) << int(c.Scheme);
        EXPECT_EQ(Grid->SearchFooter()->Color(), c.Footer) << int(c.Scheme);
        EXPECT_EQ(Grid->SearchFooter()->ColorTo(), c.FooterTo) << int(c.Scheme);
        EXPECT_EQ(Grid->ActiveCellColor(), c.Active) << int(c.Scheme);
        EXPECT_EQ(Grid->ControlLook()->FixedGradientFrom(), c.Scheme == xpNone ? N : c.From) << int(c.Scheme);
    }

    // The styled looks apply their style and remember it.
    Grid->SetLook(glWin7);
    EXPECT_EQ(Grid->ComponentStyle(), tsWindows7);
    EXPECT_EQ(Grid->QelGradientFrom(), TColor(0xFDFCFA));
    EXPECT_EQ(Grid->SelectionStyle(), ssWin7);
    Grid->SetLook(glOffice2007);
    EXPECT_EQ(Grid->ComponentStyle(), tsOffice2007Luna);
    EXPECT_EQ(Grid->QelGradientTo(), TColor(0xE8DBD2));
    EXPECT_EQ(Grid->SelectionStyle(), ssOffice2007);
}

TEST_F(StylesTest, OfficeThemeAdaptsOnlyOnChange)
{
    RegistryStoreReset();
    TRegistry r;
    r.OpenKey(L"\\Software\\Microsoft\\Office\\16.0\\Common", true);
    r.WriteInteger(L"UI Theme", 2);  // Office 2016 black
    r.CloseKey();
    Grid->AdaptToOfficeTheme();
    EXPECT_EQ(Grid->LastOfficeTheme(), ot2016Black);
    EXPECT_EQ(Grid->ComponentStyle(), tsOffice2016Black);
    EXPECT_EQ(Grid->QelGradientFrom(), TColor(0x252525));
    // The same theme again applies nothing: a colour changed since stays.
    Grid->SetQelGradientFrom(clRed);
    Grid->AdaptToOfficeTheme();
    EXPECT_EQ(Grid->QelGradientFrom(), ColorToRGB(clRed));
    r.OpenKey(L"\\Software\\Microsoft\\Office\\16.0\\Common", true);
    r.WriteInteger(L"UI Theme", 0);  // white
    r.CloseKey();
    Grid->AdaptToOfficeTheme();
    EXPECT_EQ(Grid->ComponentStyle(), tsOffice2016White);
    EXPECT_EQ(Grid->QelGradientFrom(), TColor(0xFFFFFF));
    RegistryStoreReset();
}

TEST_F(StylesTest, TheGridAnswersTheStyleInterfaces)
{
    IQelStyleEx* s = nullptr;
    IQelTones* t = nullptr;
    ASSERT_TRUE(Supports(static_cast<TObject*>(Grid), s));
    ASSERT_TRUE(Supports(static_cast<TObject*>(Grid), t));
    s->SetComponentStyle(tsOffice2003Olive);
    EXPECT_EQ(Grid->QelGradientFrom(), TColor(0xCFF0EA));
    IQelStyle* base = nullptr;
    EXPECT_TRUE(Supports(static_cast<TObject*>(Grid), IID_IQelStyle, reinterpret_cast<void**>(&base)));
}
