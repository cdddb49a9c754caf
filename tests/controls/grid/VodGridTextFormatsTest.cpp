// The native text format (file and stream variants), the cell save hook, and
// the committed binary fixture: writer bytes, escaping, bounds, and readers
// that refuse bad input before the grid changes.
#include <gtest/gtest.h>

#include "platform/base/SysUtils.h"
#include "tests/controls/grid/GridFileSupport.h"
#include "tests/controls/grid/StringGridFixture.h"

using namespace gridfiles;

namespace {

class VodGridNativeText : public TStringGridFixture<TVodStringGrid> {
protected:
    TScratchDir Dir;
};

TEST_F(VodGridNativeText, FileWriterBytes)
{
    Grid->SetColCount(3);
    Grid->SetRowCount(2);
    for (Integer c = 0; c < 3; ++c) Grid->SetColWidths(c, 64);
    Grid->SetGridCell(1, 1, L"x");
    const String f = Dir.File("g.txt");
    Grid->SaveToFile(f);
    EXPECT_EQ(ReadFile(f), ReadFile(String(L"") + (DataDir() / "native/three-by-two.txt").wstring()));

    // UTF-16 with its mark.
    Grid->SetGridCell(2, 1, L"\u20AC");
    Grid->SaveToFile(f, true);
    const std::string u = ReadFile(f);
    ASSERT_GE(u.size(), 4u);
    EXPECT_EQ(u.substr(0, 4), std::string("\xFF\xFE" "3\0", 4));
    EXPECT_NE(u.find(std::string("2\0,\0" "1\0,\0\xAC\x20\r\0\n\0", 14)), std::string::npos);
}

TEST_F(VodGridNativeText, EscapingTable)
{
    struct Case {
        const wchar_t* Text;
        bool Multi;
        const wchar_t* Back;
    } cases[] = {
        {L"a\r\nb", true, L"a\r\nb"},
        {L"a\r\nb", false, L"a"},
        {L"tab\tonly", false, L"tab\tonly"},
        {L"t\tand\r\nbreak", true, L"t\rand\r\nbreak"},   // the documented limit
        {L"lf\nonly", true, L"lf\nonly"},                 // a lone LF cannot end the line
        {L"1,5,x", false, L"1,5,x"},
    };
    const String f = Dir.File("e.txt");
    for (const Case& k : cases) {
        Grid->SetGridCell(1, 1, k.Text);
        Grid->SetMultilinecells(k.Multi);
        Grid->SaveToFile(f);
        Grid->SetGridCell(1, 1, L"");
        Grid->LoadFromFile(f);
        EXPECT_EQ(Grid->GetGridCell(1, 1), k.Back) << std::string(ReadFile(f));
    }
}

TEST_F(VodGridNativeText, ReaderSkipsLinesOutsideTheGrid)
{
    Grid->SetMultilinecells(true);
    Grid->LoadFromFile((DataDir() / "native/escapes-and-bounds.txt").wstring());
    EXPECT_EQ(Grid->ColCount(), 4);
    EXPECT_EQ(Grid->RowCount(), 3);
    EXPECT_EQ(Grid->ColWidths(1), 50);
    EXPECT_EQ(Grid->GetGridCell(1, 1), L"a\rb\nc");
    EXPECT_EQ(Grid->GetGridCell(2, 1), L"1,5");
    EXPECT_EQ(Grid->GetGridCell(2, 2), L"caf\u00E9");
    EXPECT_EQ(Grid->GetGridCell(0, 0), L"");   // the negative column is skipped
}

TEST_F(VodGridNativeText, BadFilesChangeNothing)
{
    Grid->SetGridCell(1, 1, L"keep");
    const TBytes before = Snapshot(Grid);
    Grid->SetSaveFixedCells(true);
    struct Case {
        const char* Bytes;
        const wchar_t* Message;
    } cases[] = {
        {"0,5\r\n1,1,x\r\n", L"File contains no data or corrupt file "},
        {"abc,def\r\n", L"File contains no data or corrupt file "},
        {"999999999,999999999\r\n", L"File contains no data or corrupt file "},
    };
    for (const Case& k : cases) {
        const String f = Dir.File("bad.txt");
        WriteFile(f, k.Bytes);
        try {
            Grid->LoadFromFile(f);
            ADD_FAILURE() << k.Bytes;
        } catch (const EVodGridError& e) {
            EXPECT_EQ(e.Message(), k.Message + f);
        }
        EXPECT_EQ(Snapshot(Grid), before);
    }
    EXPECT_THROW(Grid->LoadFromFile(Dir.File("missing.txt")), Exception);
    EXPECT_EQ(Snapshot(Grid), before);
}

TEST_F(VodGridNativeText, StreamVariantIsUtf16RelativeAndStopsAtForeignData)
{
    Grid->SetColCount(3);
    Grid->SetRowCount(3);
    Grid->SetSaveFixedCells(false);
    Grid->SetGridCell(2, 2, L"z");
    TMemoryStream m;
    Grid->SaveToStream(&m);
    const TBytes b = StreamBytes(m);
    const std::string s(b.begin(), b.end());
    // Save range from (1,1): two by two, cell (2,2) at (1,1).
    EXPECT_EQ(s.substr(0, 8), std::string("2\0,\0" "2\0\r\0", 8));
    EXPECT_NE(s.find(std::string("1\0,\0" "1\0,\0z\0\r\0\n\0", 14)), std::string::npos);

    // Followed by other data: reading stops at the first line without a
    // comma, at that line's start.
    const std::string tail("x\0y\0\r\0\n\0", 8);
    m.WriteBuffer(tail.data(), Integer(tail.size()));
    auto g = std::unique_ptr<TVodStringGrid>(CreateGrid<TVodStringGrid>(nullptr));
    g->SetSaveFixedCells(false);
    m.SetPosition(0);
    g->LoadFromStream(&m);
    EXPECT_EQ(g->GetGridCell(2, 2), L"z");
    EXPECT_EQ(m.Position(), Int64(b.size()));

    // A size line that is not a number raises the conversion error and
    // leaves the grid alone.
    const TBytes before = Snapshot(g.get());
    const std::string bad("a\0,\0" "2\0\r\0\n\0", 10);
    TBytesStream bs(TBytes(bad.begin(), bad.end()));
    EXPECT_THROW(g->LoadFromStream(&bs), EConvertError);
    EXPECT_EQ(Snapshot(g.get()), before);
    // Every truncation of a valid block loads or refuses without harm.
    for (size_t n = 0; n < b.size(); ++n) {
        TBytesStream t(TBytes(b.begin(), b.begin() + long(n)));
        try {
            g->LoadFromStream(&t);
        } catch (const Exception&) {
        }
    }
}

TEST_F(VodGridNativeText, SaveCellRules)
{
    Grid->SetGridCell(1, 1, L"<b>bold</b>");
    EXPECT_EQ(Grid->SaveCell(1, 1), L"<b>bold</b>");
    Grid->SetSaveWithHTML(false);
    EXPECT_EQ(Grid->SaveCell(1, 1), L"bold");
    Grid->SetGridCell(2, 1, L"{\\rtf1\\ansi plain}");
    EXPECT_EQ(Grid->SaveCell(2, 1), L"plain");
    Grid->MergeCells(1, 2, 2, 1);
    Grid->SetGridCell(1, 2, L"base");
    EXPECT_EQ(Grid->SaveCell(2, 2), L"base");
    Grid->SetSaveMergedCells(false);
    EXPECT_EQ(Grid->SaveCell(2, 2), L"");
    Grid->OnSaveCell = [](TObject*, Integer c, Integer r, String& v) { v += L"@" + IntToStr(c) + IntToStr(r); };
    EXPECT_EQ(Grid->SaveCell(1, 2), L"base@12");
}

TEST_F(VodGridNativeText, CommittedBinaryFixtureLoads)
{
    const TFormatSettings saved = FormatSettings;
    FormatSettings.DecimalSeparator = L',';
    FormatSettings.ThousandSeparator = L'.';
    Grid->LoadAtPointFromBinStream(TPoint{1, 1}, nullptr);
    TMemoryStream m;
    m.LoadFromFile((DataDir() / "bin/two-cells-comment.bin").wstring());
    m.SetPosition(0);
    Grid->LoadAtPointFromBinStream(TPoint{1, 1}, &m);
    FormatSettings = saved;
    EXPECT_EQ(Grid->GetGridCell(1, 1), L"hi");
    EXPECT_EQ(Grid->GetGridCell(2, 1), L"2,5");
    ASSERT_TRUE(Grid->CellPropertiesOf(2, 1));
    EXPECT_EQ(Grid->CellPropertiesOf(2, 1)->FBrushColor, clBlue);
    EXPECT_EQ(Grid->CellPropertiesOf(2, 1)->FFontStyle, TFontStyles{fsItalic});
    EXPECT_EQ(Grid->GetComment(2, 1), L"note");
    EXPECT_EQ(Grid->GetCellGraphic(2, 1)->CommentColor(), clRed);
}

}  // namespace
