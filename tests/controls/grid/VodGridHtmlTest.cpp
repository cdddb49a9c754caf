// The markup export: the exact markup of a small grid, spans, links with
// quoted and encoded addresses, blank cells, code pages and entities, cell
// pictures as JPEG files, the XHTML document, and the file forms.
#include <gtest/gtest.h>

#include <cstdlib>

#include "controls/foundation/VodUtil.h"
#include "platform/base/Files.h"
#include "platform/base/SysUtils.h"
#include "platform/os/Shell.h"
#include "tests/controls/grid/GridFileSupport.h"
#include "tests/controls/grid/StringGridFixture.h"

using namespace gridfiles;

namespace {

class VodGridHtml : public TStringGridFixture<TVodStringGrid> {
protected:
    void SetUp() override
    {
        TStringGridFixture<TVodStringGrid>::SetUp();
        Grid->SetColCount(2);
        Grid->SetRowCount(2);
        Grid->SetFixedCols(0);
        Grid->SetFixedRows(1);
    }
    String Font() const
    {
        return L"font-size:" + IntToStr(Grid->Font()->Size()) + L"pt;font-family: " + Grid->Font()->Name();
    }
    TScratchDir Dir;
};

TEST_F(VodGridHtml, SmallGridMarkup)
{
    Grid->SetGridCell(0, 0, L"h");
    Grid->SetGridCell(0, 1, L"x");
    Grid->SetGridCell(1, 1, L"   ");
    Grid->HTMLSettings()->ColWidths()->Add(50);
    const String fixed = ColorToHTMLHex(TColor(ColorToRGB(Grid->FixedColor())));
    const String want = L"<style>\r\n"
                        // The cell colours and fonts are the painted ones: the bold fixed
                        // font and the window colour of normal cells.
                        L".c0 {background-color: #" + fixed + L";color: #000000;font-size:" +
                        IntToStr(Grid->Font()->Size()) + L"pt;font-weight: bold;font-family: " + Grid->Font()->Name() +
                        L";vertical-align: top}\r\n"
                        L".c1 {background-color: #FFFFFF;color: #000000;" + Font() + L";vertical-align: top}\r\n"
                        L"</style>\r\n"
                        L"<table border=\"1\" cellspacing=\"0\" cellpadding=\"0\"  width=\"100%\">\r\n"
                        L"<tr><td class=\"c0\" width=50px>h</td><td class=\"c0\">&nbsp;</td></tr>\r\n"
                        L"<tr><td class=\"c1\">x</td><td class=\"c1\">&nbsp;</td></tr>\r\n"
                        L"</table>\r\n";
    EXPECT_EQ(Grid->SaveToHTMLString(L""), want);
}

TEST_F(VodGridHtml, SpansLinksAndEntities)
{
    Grid->SetColCount(3);
    Grid->SetRowCount(4);
    Grid->MergeCells(0, 1, 2, 2);
    Grid->SetGridCell(0, 1, L"m");
    Grid->SetURLShow(true);
    Grid->SetGridCell(2, 1, L"http://ex.com/a b\">x");
    Grid->SetGridCell(2, 2, L"mailto:me@ex.com");
    Grid->SetGridCell(2, 3, L"caf\u00E9 <b>");
    const String s = Grid->SaveToHTMLString(L"");
    EXPECT_NE(s.find(L" colspan=\"2\" rowspan=\"2\">m</td><td class=\"c1\"><a href=\"http://ex.com/a%20b%22%3Ex\">"
                     L"ex.com/a b\">x</a></td></tr>"),
              String::npos)
        << std::string(s.begin(), s.end());
    EXPECT_NE(s.find(L"<tr><td class=\"c1\"><a href=\"mailto:me@ex.com\">me@ex.com</a></td></tr>"), String::npos);
    Grid->HTMLSettings()->SetConvertSpecialChars(true);
    EXPECT_NE(Grid->SaveToHTMLString(L"").find(L"caf&eacute; &lt;b&gt;"), String::npos);

    // Without Unicode the file is 7-bit: accented letters become "?".
    Grid->HTMLSettings()->SetConvertSpecialChars(false);
    const String f = Dir.File("t.html");
    Grid->SaveToHTML(f, false, false);
    EXPECT_NE(ReadFile(f).find("caf? <b>"), std::string::npos);
    Grid->SaveToHTML(f, false, true);
    EXPECT_NE(ReadFile(f).find("caf\xC3\xA9 <b>"), std::string::npos);
}

TEST_F(VodGridHtml, PicturesBecomeJpegFilesAndFailuresWriteNothing)
{
    TBitmap* bmp = Grid->CreateBitmap(0, 1, false, haLeft, vaTop);
    bmp->SetSize(7, 5);
    Grid->SetGridCell(0, 1, L"pic");
    const String f = Dir.File("p.html");
    Grid->SaveToHTML(f, false, false);
    const std::string html = ReadFile(f);
    const std::string img = (Dir.Path / "images/img1.jpg").string();
    EXPECT_NE(html.find("pic<img src=\"file://" + img + "\">"), std::string::npos) << html;
    TJPEGImage jpg;
    jpg.LoadFromFile(String(img.begin(), img.end()));
    EXPECT_EQ(jpg.Width(), 7);
    EXPECT_EQ(jpg.Height(), 5);

    // An image folder that cannot be made stops the export before the file.
    WriteFile(Dir.File("blocked"), "a file, not a folder");
    Grid->HTMLSettings()->SetImageFolder(L"blocked");
    const String g = Dir.File("q.html");
    try {
        Grid->SaveToHTML(g, false, false);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"Cannot create " + ExtractFilePath(g) + L"blocked");
    }
    EXPECT_TRUE(ReadFile(g).empty());
}

TEST_F(VodGridHtml, XhtmlIsWellFormedAndShowOpensTheFile)
{
    Grid->HTMLSettings()->SetXHTML(true);
    Grid->HTMLSettings()->ColWidths()->Add(40);
    Grid->SetGridCell(0, 1, L"a\r\nb");
    Grid->CreateBitmap(1, 1, false, haLeft, vaTop)->SetSize(2, 2);
    const String f = Dir.File("x.html");
    const String opened = Dir.File("opened.txt");
    SetShellOpenCommand({L"/bin/sh", L"-c", L"echo \"$0\" > '" + opened + L"'"});
    Grid->SaveToHTML(f, true, true);
    const std::string s = ReadFile(f);
    EXPECT_EQ(s.rfind("\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n", 0), 0u);
    EXPECT_NE(s.find("a<br />\nb"), std::string::npos);
    if (system("command -v xmllint > /dev/null 2>&1") == 0) {
        const std::string cmd = "xmllint --noout '" + std::string(f.begin(), f.end()) + "' 2>&1";
        EXPECT_EQ(system(cmd.c_str()), 0) << s;
    }
    for (int i = 0; i < 200 && ReadFile(opened).empty(); ++i) Sleep(10);
    SetShellOpenCommand({});
    EXPECT_EQ(ReadFile(opened), std::string(f.begin(), f.end()) + "\n");
}

}  // namespace
