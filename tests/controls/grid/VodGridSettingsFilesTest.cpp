// The visual properties file, the print settings file, scaling, cell
// numbers, the toolbar popup base and cell graphic copies.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "platform/base/Files.h"
#include "platform/base/IniFiles.h"
#include "platform/base/SysUtils.h"
#include "tests/controls/grid/GridFileSupport.h"
#include "tests/controls/grid/StringGridFixture.h"

using namespace gridfiles;

namespace {

class VodGridSettingsFiles : public TStringGridFixture<TVodStringGrid> {
protected:
    TVodStringGrid* Other()
    {
        auto* g = new TVodStringGrid(Form);
        g->SetParent(Form);
        g->SetBounds(0, 130, 200, 100);
        return g;
    }
    TScratchDir Dir;
};

// Every kind of key set away from its default.
void Restyle(TVodStringGrid* g)
{
    g->SetLook(glCustom);
    g->SetColor(TColor(0x102030));
    g->SetHintColor(clYellow);
    g->SetSelectionColor(TColor(0x0A0B0C));
    g->SetSelectionTextColor(clWhite);
    g->SetURLShow(true);
    g->SetActiveRowShow(true);
    g->Font()->SetStyle(TFontStyles{fsBold, fsStrikeOut});
    g->Font()->SetName(L"Caf\u00e9 Sans");
    g->ActiveCellFont()->SetSize(17);
    g->FixedFont()->SetColor(TColor(0x123456));
    g->Balloon()->SetTransparency(200);
    g->Bands()->SetActive(true);
    g->SortSettings()->IndexColor = clLime;
    g->ControlLook()->SetControlStyle(TControlLook::csFlat);
    g->ControlLook()->SetCheckSize(19);
    g->Grouping()->SetSummaryLineWidth(5);
    g->BackGround()->SetDisplay(bdGradientVert);
    g->BackGround()->SetCells(bcAll);
    g->SetGridLineColor(TColor(0x00ABCDEF));
    g->SetQelGradientFrom(clRed);
    g->SetQelGradientMirrorTo(clBlue);
    g->SetSelectionStyle(ssWin7);
    // Loading sets the fixed gradient from the gradient block.
    g->ControlLook()->SetFixedGradientFrom(g->QelGradientFrom());
    g->ControlLook()->SetFixedGradientTo(g->QelGradientTo());
}

TEST_F(VodGridSettingsFiles, VisualPropsRoundTrip)
{
    Restyle(Grid);
    const String f1 = Dir.File("look.txt"), f2 = Dir.File("look2.txt");
    Grid->SaveVisualProps(f1);
    const std::string text = ReadFile(f1);
    for (const char* line : {"Color=$00102030\r\n", "HintColor=clYellow\r\n", "URLShow=true\r\n",
                             "Font.Style=fsBold,fsStrikeOut\r\n", "Font.Name=Caf\xC3\xA9 Sans\r\n",
                             "ControlLook.ControlStyle=csFlat\r\n", "Look=\r\n", "BackGround.Display=bdGradientVert\r\n",
                             "SelectionStyle=2\r\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
    EXPECT_EQ(text.rfind("Color=", 0), 0u);

    TVodStringGrid* g = Other();
    g->SetLook(glXP);
    g->LoadVisualProps(f1);
    EXPECT_EQ(g->Look(), glCustom);
    EXPECT_EQ(g->ActiveCellFont()->Size(), 17);
    EXPECT_TRUE(g->Bands()->Active());
    EXPECT_EQ(g->ControlLook()->FixedGradientFrom(), clRed);
    EXPECT_EQ(g->SelectionStyle(), ssWin7);
    g->SaveVisualProps(f2);
    EXPECT_EQ(ReadFile(f2), text);
}

TEST_F(VodGridSettingsFiles, VisualPropsReadingRules)
{
    Restyle(Grid);
    const String f = Dir.File("look.txt");
    Grid->SaveVisualProps(f);
    std::string text = ReadFile(f);
    auto without = [](std::string t, const std::string& key) {
        const size_t a = t.find("\n" + key + "=");
        const size_t b = t.find('\n', a + 1);
        return t.erase(a + 1, b - a);
    };
    TVodStringGrid* g = Other();

    // A missing colour is clNone; keys match without case (first line wins).
    std::string t = without(text, "HintColor");
    t = "balloon.backgroundcolor=clAqua\r\n" + t + "Balloon.BackgroundColor=clRed\r\n";
    WriteFile(f, t);
    g->LoadVisualProps(f);
    EXPECT_EQ(g->HintColor(), clNone);
    EXPECT_EQ(g->Balloon()->BackgroundColor(), clAqua);

    // Without the gradient block the gradients and the selection style stay.
    g->SetQelGradientMirrorTo(clGreen);
    g->ControlLook()->SetFixedGradientMirrorFrom(clMaroon);
    g->SetSelectionStyle(ssVista);
    t = without(without(without(without(without(text, "QelGradFrom"), "QelGradTo"), "QelGradMirrorFrom"),
                        "QelGradMirrorTo"), "SelectionStyle");
    WriteFile(f, t);
    g->LoadVisualProps(f);
    EXPECT_EQ(g->QelGradientMirrorTo(), clGreen);
    EXPECT_EQ(g->ControlLook()->FixedGradientMirrorFrom(), clMaroon);
    EXPECT_EQ(g->SelectionStyle(), ssVista);

    // Bytes that are not UTF-8 are read in the code page.
    t = text;
    const size_t n = t.find("Font.Name=");
    t.replace(n, t.find('\r', n) - n, "Font.Name=Caf\xE9");
    WriteFile(f, t);
    g->LoadVisualProps(f);
    EXPECT_EQ(g->Font()->Name(), L"Caf\u00e9");

    // A bad value anywhere changes nothing.
    const String keep = Dir.File("keep.txt");
    g->SetLook(glOffice2007);
    g->SaveVisualProps(keep);
    for (const auto& [key, value] : std::vector<std::pair<std::string, std::string>>{
             {"SelectionStyle", "two"}, {"Font.Size", ""}, {"Grouping.SummaryColor", "notacolour"},
             {"Balloon.Transparency", "300"}, {"BackGround.Left", "1x"}}) {
        SCOPED_TRACE(key);
        t = without(text, key) + key + "=" + value + "\r\n";
        // The bad line must be the one read: put it first.
        t = key + "=" + value + "\r\n" + t;
        WriteFile(f, t);
        EXPECT_THROW(g->LoadVisualProps(f), Exception);
        g->SaveVisualProps(Dir.File("now.txt"));
        EXPECT_EQ(ReadFile(Dir.File("now.txt")), ReadFile(keep));
        EXPECT_EQ(g->Look(), glOffice2007);
    }
    EXPECT_THROW(g->LoadVisualProps(Dir.File("missing.txt")), Exception);
    EXPECT_THROW(g->SaveVisualProps(Dir.File("no/such/dir.txt")), Exception);
}

TEST_F(VodGridSettingsFiles, PrintSettingsFile)
{
    const String ini = Dir.File("print.ini");
    TPrintSettings* p = Grid->PrintSettings();
    // A missing file or section reads as the defaults, and nothing is written.
    p->SetCentered(false);
    p->SetDate(ppTopLeft);
    Grid->LoadPrintSettings(ini, L"Page");
    EXPECT_FALSE(FileExists(ini));
    EXPECT_TRUE(p->Centered());
    EXPECT_EQ(p->ColumnSpacing(), 20);
    EXPECT_EQ(p->LeftSize(), 100);
    EXPECT_EQ(p->FooterFont()->Name(), L"Arial");
    EXPECT_EQ(p->Font()->Size(), 10);
    EXPECT_EQ(p->Date(), ppNone);

    p->SetTitleSpacing(7);
    p->SetRepeatFixedRows(true);
    p->SetBorders(pbAround);
    p->SetBorderStyle(psDot);
    p->SetPageNr(ppBottomCenter);
    p->SetFitToPage(fpShrink);
    p->SetOrientation(poLandscape);
    p->HeaderFont()->SetStyle(TFontStyles{fsItalic, fsUnderline});
    p->HeaderFont()->SetColor(TColor(0x00FF8000));
    p->TitleLines()->SetText(L"Line one\r\nLine two\r\n");
    p->SetPageSuffix(L"of \u00e9");
    Grid->SavePrintSettings(ini, L"Page");
    if (std::system("command -v python3 >/dev/null 2>&1") == 0) {
        const std::string script = "/tmp/vodgridprint_" + std::to_string(getpid()) + ".py";
        std::ofstream(script) << "import configparser\nc = configparser.ConfigParser(interpolation=None)\n"
                                 "c.optionxform = str\nc.read('" + UTF8Encode(ini) + "', encoding='utf-8')\n"
                                 "s = c['Page']\n"
                                 "assert s['TitleLines'] == r'Line one\\nLine two\\n', s['TitleLines']\n"
                                 "assert s['Centered'] == 'Y' and s['RepeatFixedRows'] == 'Y' and s['NoAutoSize'] == 'N'\n"
                                 "assert s['HeaderFontStyle'] == '6' and s['HeaderFontColor'] == str(0xFF8000)\n"
                                 "assert s['Borders'] == '5' and s['Orientation'] == '1'\n";
        EXPECT_EQ(std::system(("python3 " + script).c_str()), 0);
        std::remove(script.c_str());
    }
    const std::string saved = ReadFile(ini);
    TVodStringGrid* g = Other();
    g->LoadPrintSettings(ini, L"Page");
    TPrintSettings* q = g->PrintSettings();
    EXPECT_EQ(q->TitleSpacing(), 7);
    EXPECT_TRUE(q->RepeatFixedRows());
    EXPECT_EQ(q->Borders(), pbAround);
    EXPECT_EQ(q->BorderStyle(), psDot);
    EXPECT_EQ(q->PageNr(), ppBottomCenter);
    EXPECT_EQ(q->FitToPage(), fpShrink);
    EXPECT_EQ(q->Orientation(), poLandscape);
    EXPECT_EQ(q->HeaderFont()->Style(), (TFontStyles{fsItalic, fsUnderline}));
    EXPECT_EQ(q->TitleLines()->Count(), 2);
    EXPECT_EQ(q->TitleLines()->Strings(1), L"Line two");
    EXPECT_EQ(q->PageSuffix(), L"of \u00e9");

    // Only an exact "Y" is true; ordinals out of range keep the property
    // (positions become none).
    {
        TMemIniFile f(ini);
        f.WriteString(L"Page", L"Centered", L"y");
        f.WriteInteger(L"Page", L"BorderStyle", 7);
        f.WriteInteger(L"Page", L"Borders", -1);
        f.WriteInteger(L"Page", L"PageNr", 9);
        f.UpdateFile();
    }
    chmod(UTF8Encode(ini).c_str(), 0444);
    const std::string edited = ReadFile(ini);
    g->LoadPrintSettings(ini, L"Page");
    EXPECT_FALSE(q->Centered());
    EXPECT_EQ(q->BorderStyle(), psDot);
    EXPECT_EQ(q->Borders(), pbAround);
    EXPECT_EQ(q->PageNr(), ppNone);
    // Loading a read-only file works and writes nothing.
    EXPECT_EQ(ReadFile(ini), edited);
    EXPECT_NE(edited, saved);
    if (geteuid() != 0) {
        chmod(UTF8Encode(Dir.File("")).c_str(), 0555);
        EXPECT_THROW(Grid->SavePrintSettings(ini, L"Page"), Exception);
        EXPECT_EQ(ReadFile(ini), edited);
    }
}

TEST_F(VodGridSettingsFiles, Scaling)
{
    Grid->SetFixedRows(1);
    for (Integer c = 0; c < Grid->ColCount(); ++c) Grid->SetColWidths(c, 30 + c);
    Grid->SetRowHeights(2, 25);
    const Integer fixedHeight = Grid->FixedFont()->Height(), activeSize = Grid->ActiveCellFont()->Size();
    Grid->ChangeScale(1, 1);
    EXPECT_EQ(Grid->FixedFont()->Height(), fixedHeight);
    EXPECT_EQ(Grid->ActiveCellFont()->Size(), activeSize);
    Grid->ChangeScale(2, 1);
    for (Integer c = 0; c < Grid->ColCount(); ++c) EXPECT_EQ(Grid->ColWidths(c), 30 + c);
    EXPECT_EQ(Grid->RowHeights(0), 2 * Grid->FixedRowHeight());
    EXPECT_EQ(Grid->RowHeights(2), 50);
    EXPECT_EQ(Grid->FixedFont()->Height(), 2 * fixedHeight);
    EXPECT_EQ(Grid->ActiveCellFont()->Size(), 2 * activeSize);
    // A density change scales the columns too.
    Grid->ChangeScale(1, 2, true);
    for (Integer c = 0; c < Grid->ColCount(); ++c) EXPECT_EQ(Grid->ColWidths(c), (30 + c + 1) / 2);
    EXPECT_EQ(Grid->RowHeights(2), 25);
    EXPECT_EQ(Grid->FixedFont()->Height(), fixedHeight);
}

TEST_F(VodGridSettingsFiles, CellToReal)
{
    const TFormatSettings saved = FormatSettings;
    FormatSettings.DecimalSeparator = L',';
    FormatSettings.ThousandSeparator = L'.';
    Grid->SetGridCell(1, 1, L"1.234,5");
    Grid->SetGridCell(2, 1, L" (12,25)");
    EXPECT_DOUBLE_EQ(Grid->CellToReal(1, 1), 1234.5);
    EXPECT_DOUBLE_EQ(Grid->CellToReal(2, 1), -12.25);
    EXPECT_DOUBLE_EQ(Grid->CellToReal(3, 1), 0);
    FormatSettings = saved;
}

TEST_F(VodGridSettingsFiles, CellGraphicAssignAndPopup)
{
    TCellGraphic target, source;
    target.SetCellComment(L"mine");
    target.SetCommentColor(clRed);
    TBaseCellGraphic base;
    base.SetCellType(ctProgress);
    base.SetCellValue(42);
    target.Assign(&base);
    EXPECT_EQ(target.CellType(), ctProgress);
    EXPECT_EQ(target.CellValue(), 42);
    EXPECT_EQ(target.CellComment(), L"mine");
    source.SetCellComment(L"theirs");
    source.SetCommentColor(clBlue);
    target.Assign(&source);
    EXPECT_EQ(target.CellComment(), L"theirs");
    EXPECT_EQ(target.CommentColor(), clBlue);
    EXPECT_EQ(target.CellType(), ctNone);

    struct TPopup : TVodGridPopup {
        using TVodGridPopup::TVodGridPopup;
        TWinControl* Window = nullptr;
        TWinControl* PopupWindow() override { return Window; }
    } popup(nullptr);
    EXPECT_FALSE(popup.Visible());
    popup.Show(TPoint{1, 2});
    EXPECT_TRUE(popup.Visible());
    EXPECT_FALSE(popup.MouseInPopup());
    popup.Window = Grid;
    Mouse->SetCursorPos(Grid->ClientToScreen(TPoint{5, 5}));
    EXPECT_TRUE(popup.MouseInPopup());
    popup.Hide();
    EXPECT_FALSE(popup.Visible());
    EXPECT_FALSE(popup.MouseInPopup());
}

}  // namespace
