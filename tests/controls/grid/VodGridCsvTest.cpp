// Delimited text: writer tables under the options that change the bytes,
// reader tables (quotes, guessing, marks, blanks, line joining, limits), and
// the fixed-width and plain text forms.
#include <gtest/gtest.h>

#include "controls/grid/VodObj.h"
#include "platform/base/SysUtils.h"
#include "tests/controls/grid/GridFileSupport.h"
#include "tests/controls/grid/StringGridFixture.h"

using namespace gridfiles;

namespace {

class VodGridCsv : public TStringGridFixture<TVodStringGrid> {
protected:
    TScratchDir Dir;
    // One row of cells (from column 1) written with the current options.
    std::string WriteRow(const std::vector<const wchar_t*>& cells)
    {
        Grid->SetColCount(Integer(cells.size()) + 1);
        Grid->SetRowCount(2);
        Integer c = 1;
        for (const wchar_t* t : cells) Grid->SetGridCell(c++, 1, t);
        const String f = Dir.File("w.csv");
        Grid->SaveToCSV(f);
        return ReadFile(f);
    }
    void Load(const std::string& bytes, Integer maxRows = 0)
    {
        const String f = Dir.File("r.csv");
        WriteFile(f, bytes);
        Grid->LoadFromCSV(f, maxRows);
    }
};

TEST_F(VodGridCsv, WriterTable)
{
    Grid->SetSaveFixedCells(false);
    struct Case {
        std::function<void(TVodStringGrid*)> Set;
        std::vector<const wchar_t*> Cells;
        const char* Bytes;
    };
    const std::vector<Case> cases = {
        {[](TVodStringGrid*) {}, {L"a", L"b,c", L"a\"b"}, "a,\"b,c\",\"a\"\"b\"\r\n"},
        {[](TVodStringGrid*) {}, {L"", L"x"}, "\"\",x\r\n"},
        {[](TVodStringGrid* g) { g->SetQuoteEmptyCells(false); }, {L"", L"x"}, ",x\r\n"},
        {[](TVodStringGrid* g) { g->SetAlwaysQuotes(true); }, {L"a", L""}, "\"a\",\"\"\r\n"},
        {[](TVodStringGrid*) {}, {L"a\r\nb"}, "\"a\vb\"\r\n"},
        {[](TVodStringGrid* g) { g->SetMultilinecells(true); }, {L"a\r\nb", L"c"}, "\"a\r\nb\",c\r\n"},
        // A lone LF is a line break too: one break, never a split record.
        {[](TVodStringGrid* g) { g->SetMultilinecells(true); }, {L"a\nb"}, "\"a\r\nb\"\r\n"},
        {[](TVodStringGrid* g) { g->SetJavaCSV(true); }, {L"", L"a\r\nb"}, "^,a~b\r\n"},
        // With JavaCSV the delimiter inside a text is quoted (bare, it split).
        {[](TVodStringGrid* g) { g->SetJavaCSV(true); }, {L"a,b"}, "\"a,b\"\r\n"},
        // Leading blanks are kept by quoting: the reader drops bare ones.
        {[](TVodStringGrid*) {}, {L"  pad", L"x "}, "\"  pad\",x \r\n"},
        {[](TVodStringGrid* g) { g->SetDelimiter(L';'); }, {L"1,5", L"a;b"}, "1,5;\"a;b\"\r\n"},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        auto g = [&] {
            Grid->SetQuoteEmptyCells(true);
            Grid->SetAlwaysQuotes(false);
            Grid->SetMultilinecells(false);
            Grid->SetJavaCSV(false);
            Grid->SetDelimiter(0);
        };
        g();
        cases[i].Set(Grid);
        EXPECT_EQ(WriteRow(cases[i].Cells), cases[i].Bytes) << "case " << i;
    }
}

TEST_F(VodGridCsv, ReaderTable)
{
    struct Case {
        const char* Bytes;
        std::vector<const wchar_t*> Row1;   // row 1 from column 0 (after a header line)
    } cases[] = {
        {"h\r\na;b;c\r\n", {L"a", L"b", L"c"}},
        {"h,x;y\r\n1,2;3\r\n", {L"1", L"2;3"}},   // ties go to the earlier candidate
        {"h\r\n\"a\"\"b\",c\r\n", {L"a\"b", L"c"}},
        {"h\r\n  lead,trail  \r\n", {L"lead", L"trail  "}},
        {"h\r\n\"a\vb\",c\r\n", {L"a\r\nb", L"c"}},
        {"h\r\n\"multi\r\nline\",c\r\n", {L"multi\r\nline", L"c"}},
        // An unterminated quote takes the rest of the record.
        {"h,z\r\n\"open,rest\r\n", {L"open,rest"}},
    };
    for (const Case& k : cases) {
        Grid->SetRowCount(5);
        Grid->SetColCount(5);
        for (Integer r = 0; r < 5; ++r)
            for (Integer c = 0; c < 5; ++c) Grid->SetGridCell(c, r, L"");
        Grid->SetSaveFixedCells(true);
        Load(k.Bytes);
        for (size_t c = 0; c < k.Row1.size(); ++c)
            EXPECT_EQ(Grid->GetGridCell(Integer(c), 1), k.Row1[c]) << k.Bytes << " col " << c;
        EXPECT_EQ(Grid->Delimiter(), L'\0');   // the guess holds for one load
    }
}

TEST_F(VodGridCsv, GuessesAndFixtures)
{
    Grid->SetSaveFixedCells(true);
    Grid->LoadFromCSV((DataDir() / "csv/single-line-pipe.csv").wstring());
    EXPECT_EQ(Grid->GetGridCell(2, 0), L"c");
    EXPECT_EQ(Grid->RowCount(), 1);
    Grid->LoadFromCSV((DataDir() / "csv/semicolon-quoted.csv").wstring());
    EXPECT_EQ(Grid->GetGridCell(0, 1), L"Smith; J.");
    EXPECT_EQ(Grid->GetGridCell(2, 1), L"said \"hi\"");
    EXPECT_EQ(Grid->GetGridCell(0, 2), L"lead");
    EXPECT_EQ(Grid->GetGridCell(2, 2), L"trail  ");
    EXPECT_EQ(Grid->GetGridCell(0, 3), L"multi\r\nline");
    EXPECT_EQ(Grid->RowCount(), 4);
}

TEST_F(VodGridCsv, LoadsKeepCellsAndHonourLimits)
{
    Grid->SetSaveFixedCells(true);
    Grid->SetColCount(4);
    Grid->SetGridCell(3, 0, L"kept");
    Load("a,b\r\n");
    EXPECT_EQ(Grid->GetGridCell(3, 0), L"kept");
    std::string ten;
    for (int i = 0; i < 10; ++i) ten += std::to_string(i) + ",x\r\n";
    Load(ten, 2);
    EXPECT_EQ(Grid->RowCount(), 2);
    Grid->SetLoadFirstRow(false);
    Load(ten, 0);
    EXPECT_EQ(Grid->GetGridCell(0, 0), L"1");
    EXPECT_EQ(Grid->RowCount(), 9);
    Grid->SetLoadFirstRow(true);

    // An empty file changes nothing; a stream without lines is refused.
    const String empty = Dir.File("empty.csv");
    WriteFile(empty, "");
    EXPECT_NO_THROW(Grid->LoadFromCSV(empty));
    TMemoryStream m;
    EXPECT_THROW(Grid->LoadFromCSVStream(&m), Exception);

    // Inserting appends after the last row.
    const Integer rows = Grid->RowCount();
    const String more = Dir.File("more.csv");
    WriteFile(more, "p,q\r\nr,s\r\n");
    Grid->InsertFromCSV(more);
    EXPECT_EQ(Grid->RowCount(), rows + 2);
    EXPECT_EQ(Grid->GetGridCell(1, rows + 1), L"s");
}

TEST_F(VodGridCsv, RoundTripsUnderEveryOption)
{
    const std::vector<const wchar_t*> texts = {L"plain", L"a,b", L"q\"uote", L"", L"  lead", L"two\r\nlines",
                                               L"lone\nlf", L"\u00E9t\u00E9", L"tab\there"};
    for (int opt = 0; opt < 4; ++opt) {
        Grid->SetAlwaysQuotes(opt == 1);
        Grid->SetMultilinecells(opt == 2);
        Grid->SetJavaCSV(opt == 3);
        Grid->SetSaveFixedCells(true);
        Grid->SetColCount(Integer(texts.size()));
        Grid->SetRowCount(2);
        for (Integer c = 0; c < Integer(texts.size()); ++c) {
            Grid->SetGridCell(c, 0, IntToStr(c));
            Grid->SetGridCell(c, 1, texts[size_t(c)]);
        }
        const String f = Dir.File("rt.csv");
        Grid->SaveToCSV(f, true);
        auto g = std::unique_ptr<TVodStringGrid>(CreateGrid<TVodStringGrid>(nullptr));
        g->SetJavaCSV(opt == 3);
        g->LoadFromCSV(f);
        for (Integer c = 0; c < Integer(texts.size()); ++c) {
            String want = texts[size_t(c)];
            if (want == L"lone\nlf") want = L"lone\r\nlf";
            EXPECT_EQ(g->GetGridCell(c, 1), want) << "option " << opt << " col " << c;
        }
    }
}

TEST_F(VodGridCsv, AppendKeepsTheOldLinesAndWritesAreSafe)
{
    Grid->SetColCount(2);
    Grid->SetRowCount(1);
    Grid->SetGridCell(0, 0, L"new");
    const String f = Dir.File("a.csv");
    WriteFile(f, "old,line\r\n");
    Grid->AppendToCSV(f);
    EXPECT_EQ(ReadFile(f), "old,line\r\nnew,\"\"\r\n");
    std::filesystem::create_directory(Dir.Path / "folder");
    EXPECT_THROW(Grid->SaveToCSV(Dir.File("folder")), Exception);
    EXPECT_EQ(ReadFile(f), "old,line\r\nnew,\"\"\r\n");
}

TEST_F(VodGridCsv, FixedWidthWritesAndReads)
{
    Grid->SetSaveFixedCells(true);
    Grid->SetColCount(2);
    Grid->SetRowCount(1);
    Grid->SetGridCell(0, 0, L"abc");
    Grid->SetGridCell(1, 0, L"de");
    TIntList widths(0, 0);
    const String f = Dir.File("f.txt");
    Grid->SaveToFixed(f, &widths);
    EXPECT_EQ(ReadFile(f), "abc de \r\n");
    ASSERT_EQ(widths.Count(), 2);
    EXPECT_EQ(widths.GetInteger(0), 4);
    widths.SetInteger(0, 2);
    Grid->SaveToFixed(f, &widths);
    EXPECT_EQ(ReadFile(f), "abde \r\n");

    WriteFile(f, "abcdefgh\r\n  x  yz\r\nlast\r\n");
    TIntList pos(0, 0);
    pos.Add(8);
    pos.Add(1);
    pos.Add(5);
    Grid->LoadFromFixed(f, &pos, false, 0);
    EXPECT_EQ(pos.GetInteger(0), 1);   // sorted in place
    EXPECT_EQ(Grid->GetGridCell(Grid->SaveStartCol(), 0), L"abcd");
    EXPECT_EQ(Grid->GetGridCell(Grid->SaveStartCol() + 1, 0), L"efg");
    EXPECT_EQ(Grid->GetGridCell(Grid->SaveStartCol(), 1), L"");   // MaxRows 0 still loads one line
    Grid->LoadFromFixed(f, &pos, true, -1);
    EXPECT_EQ(Grid->GetGridCell(Grid->SaveStartCol(), 1), L"x");
    EXPECT_EQ(Grid->GetGridCell(Grid->SaveStartCol() + 1, 1), L"yz");

    // Fewer than two positions are refused before anything changes.
    const TBytes before = Snapshot(Grid);
    TIntList one(0, 0);
    one.Add(1);
    EXPECT_THROW(Grid->LoadFromFixed(f, &one, true, -1), EVodGridError);
    EXPECT_EQ(Snapshot(Grid), before);
    EXPECT_THROW(Grid->LoadFromFixed(Dir.File("none.txt"), &pos, true, -1), EVodGridError);
}

TEST_F(VodGridCsv, PlainTextAlignsAndContinuesLines)
{
    Grid->SetSaveFixedCells(true);
    Grid->SetColCount(2);
    Grid->SetRowCount(2);
    Grid->SetGridCell(0, 0, L"12");
    Grid->SetGridCell(0, 1, L"abcde");
    Grid->SetAlignments(0, 0, taRightJustify);
    Grid->SetGridCell(1, 0, L"one\r\ntwo");
    Grid->SetMultilinecells(true);
    const String f = Dir.File("p.txt");
    Grid->SaveToASCII(f);
    EXPECT_EQ(ReadFile(f), "   12 one \r\n      two\r\nabcde     \r\n");
}

}  // namespace
