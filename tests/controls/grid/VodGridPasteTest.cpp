// The grid's paste: the text parser as a table, the writer of
// SelectionAsText, the smart fill, the choice of format, and the native
// block between two grids.
#include <gtest/gtest.h>

#include <functional>

#include "controls/foundation/VodUtil.h"
#include "platform/base/Streams.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/Clipbrd.h"
#include "tests/controls/grid/StringGridFixture.h"

namespace {

class VodGridPaste : public TStringGridFixture<TVodStringGrid> {
protected:
    void SetUp() override
    {
        TStringGridFixture<TVodStringGrid>::SetUp();
        Grid->SetFixedCols(0);
        Grid->SetFixedRows(0);
        Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
        Clipboard()->Clear();
    }
    String Row(Integer r, Integer from = 0, Integer to = -1)
    {
        if (to < 0) to = Grid->ColCount() - 1;
        String s;
        for (Integer c = from; c <= to; ++c) s += (c > from ? L"|" : L"") + Grid->GetCellEx(c, r);
        return s;
    }
};

TEST_F(VodGridPaste, ParserTable)
{
    struct TCase {
        const char* Name;
        std::function<void(TVodStringGrid*)> Setup;
        String Text;
        TPoint At;
        Integer N, Cols, Rows, ColCount, RowCount;
        std::vector<std::pair<TPoint, String>> Cells;
    };
    const TCase cases[] = {
        {"a block of two lines", nullptr, L"a\tb\r\nc\td", {1, 1}, 4, 2, 1, 5, 5,
         {{{1, 1}, L"a"}, {{2, 1}, L"b"}, {{1, 2}, L"c"}, {{2, 2}, L"d"}}},
        {"the empty last line counts but writes and grows nothing", nullptr, L"a\tb\r\nc\td\r\n", {1, 3}, 5, 2, 2, 5,
         5, {{{2, 4}, L"d"}, {{1, 0}, L""}}},
        {"a line without tabs leaves Cols at 0", nullptr, L"x\ny", {0, 0}, 1, 0, 0, 5, 5, {{{0, 0}, L"x\ny"}}},
        {"columns and rows grow", nullptr, L"1\t2\t3\t4\r\nx\r\ny", {3, 3}, 6, 4, 2, 7, 6,
         {{{6, 3}, L"4"}, {{3, 5}, L"y"}}},
        {"without growth nothing is stored past the grid",
         [](TVodStringGrid* g) {
             g->Navigation()->SetAllowClipboardColGrow(false);
             g->Navigation()->SetAllowClipboardRowGrow(false);
         },
         L"1\t2\t3\r\nx\r\ny", {3, 3}, 5, 3, 2, 5, 5, {{{3, 3}, L"1"}, {{4, 3}, L"2"}, {{3, 4}, L"x"}}},
        {"each non-empty line inserts a row",
         [](TVodStringGrid* g) {
             g->Navigation()->SetClipboardPasteAction(paInsert);
             g->SetCellEx(0, 1, L"old");
         },
         L"a\r\nb", {0, 1}, 2, 0, 1, 5, 7, {{{0, 1}, L"a"}, {{0, 2}, L"b"}, {{0, 3}, L"old"}}},
        {"read-only cells are skipped", [](TVodStringGrid* g) { g->GetCellProperties(1, 0)->SetReadOnly(true); },
         L"a\tb\tc", {0, 0}, 3, 3, 0, 5, 5, {{{0, 0}, L"a"}, {{1, 0}, L""}, {{2, 0}, L"c"}}},
        {"spreadsheet multi-line fields", nullptr, L"\"a\nb\"\t\"say \"\"x\"\"\nz\"\t\"p\x0Bq\"", {0, 0}, 3, 3, 0,
         5, 5, {{{0, 0}, L"a\r\nb"}, {{1, 0}, L"say \"x\"\r\nz"}, {{2, 0}, L"p\r\nq"}}},
    };
    for (const TCase& tc : cases) {
        SCOPED_TRACE(tc.Name);
        TearDown();
        SetUp();
        if (tc.Setup) tc.Setup(Grid);
        Integer cols = -7, rows = -7;
        EXPECT_EQ(Grid->PasteTextAt(tc.At.X, tc.At.Y, tc.Text, cols, rows), tc.N);
        EXPECT_EQ(cols, tc.Cols);
        EXPECT_EQ(rows, tc.Rows);
        EXPECT_EQ(Grid->ColCount(), tc.ColCount);
        EXPECT_EQ(Grid->RowCount(), tc.RowCount);
        for (auto& [p, v] : tc.Cells) EXPECT_EQ(Grid->GetCellEx(p.X, p.Y), v) << p.X << "," << p.Y;
    }
}

TEST_F(VodGridPaste, TextStaysOutOfTheStoreWhenTheGridMayNotGrow)
{
    Grid->Navigation()->SetAllowClipboardColGrow(false);
    Grid->Navigation()->SetAllowClipboardRowGrow(false);
    Grid->PasteTextAt(4, 4, L"a\tb\r\nc");
    Grid->SetColCount(6);
    Grid->SetRowCount(6);
    EXPECT_EQ(Grid->GetCellEx(4, 4), L"a");
    EXPECT_EQ(Grid->GetCellEx(5, 4), L"") << "no text reappears when the grid grows later";
    EXPECT_EQ(Grid->GetCellEx(4, 5), L"");
}

TEST_F(VodGridPaste, NothingWithoutEditingAndNegativeStart)
{
    Grid->SetOptions(Grid->Options() - TGridOptions{goEditing});
    Integer cols = 9, rows = 9;
    EXPECT_EQ(Grid->PasteTextAt(0, 0, L"a\tb", cols, rows), 0);
    EXPECT_EQ(cols, 9);
    EXPECT_EQ(Grid->GetCellEx(0, 0), L"");
    Grid->Navigation()->SetAllowClipboardAlways(true);
    EXPECT_EQ(Grid->PasteTextAt(-1, 0, L"a", cols, rows), 0);
    EXPECT_EQ(Grid->PasteTextAt(0, 0, L"a\tb", cols, rows), 2);
    EXPECT_EQ(Grid->GetCellEx(1, 0), L"b");
}

TEST_F(VodGridPaste, CellEventsNarrowAndWide)
{
    std::vector<String> log;
    Grid->OnClipboardBeforePasteCell = [&](TObject*, Integer c, Integer r, String& v, bool& allow) {
        log.push_back(L"B" + IntToStr(c) + L"," + IntToStr(r) + L"=" + v);
        if (v == L"no") allow = false;
        v += L"!";
    };
    Grid->OnClipboardAfterPasteCell = [&](TObject*, Integer c, Integer, const String& v) {
        log.push_back(L"A" + IntToStr(c) + L"=" + v);
    };
    Grid->OnClipboardBeforePasteWideCell = [&](TObject*, Integer c, Integer, String& v, bool&) {
        log.push_back(L"W" + IntToStr(c) + L"=" + v);
    };
    Grid->OnClipboardAfterPasteWideCell = [&](TObject*, Integer c, Integer, const String& v) {
        log.push_back(L"w" + IntToStr(c) + L"=" + v);
    };
    const String wide = PackWideText(L"\x3A9");
    Grid->PasteTextAt(0, 0, L"x\tno\t" + wide + L"\t" + wide);
    const std::vector<String> expected{L"B0,0=x", L"A0=x!",       L"B1,0=no",     L"W2=\x3A9",
                                       L"w2=\x3A9", L"W3=\x3A9", L"w3=\x3A9"};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(Grid->GetCellEx(0, 0), L"x!");
    EXPECT_EQ(Grid->GetCellEx(1, 0), L"");
    EXPECT_EQ(Grid->GetCellEx(3, 0), wide);
}

TEST_F(VodGridPaste, UndoAndCheckBoxes)
{
    auto* undo = new TVodGridUndoRedo(Form);
    Grid->SetUndoRedo(undo);
    Grid->AddCheckBox(1, 0, false, false);
    Grid->SetCellEx(0, 0, L"was");
    Grid->PasteTextAt(0, 0, L"now\t" + Grid->CheckTrue());
    EXPECT_EQ(Grid->GetCellEx(0, 0), L"now");
    bool st = false;
    Grid->GetCheckBoxState(1, 0, st);
    EXPECT_TRUE(st) << "the check-true text checks the box";
    undo->Undo();
    EXPECT_EQ(Grid->GetCellEx(0, 0), L"was");
}

TEST_F(VodGridPaste, SelectionAsTextWriterGrowsRegardless)
{
    Grid->Navigation()->SetAllowClipboardColGrow(false);
    Grid->Navigation()->SetAllowClipboardRowGrow(false);
    Grid->SetOptions(Grid->Options() - TGridOptions{goEditing});
    Grid->SetSelection(TGridRect{4, 4, 4, 4});
    int changed = 0;
    Grid->OnCellsChanged = [&](TObject*, const TRect&) { ++changed; };
    Grid->SetSelectionAsText(L"a\tb\r\nc\td");
    EXPECT_EQ(Grid->ColCount(), 6);
    EXPECT_EQ(Grid->RowCount(), 6);
    EXPECT_EQ(Grid->GetCellEx(5, 4), L"b");
    EXPECT_EQ(Grid->GetCellEx(5, 5), L"d");
    EXPECT_EQ(changed, 1);
}

TEST_F(VodGridPaste, TextBlockSizeTable)
{
    struct TCase {
        String Text;
        Integer Cols, Rows;
    } cases[] = {{L"a\tb\r\nc\td", 2, 1}, {L"a\tb\r\nc\td\r\n", 2, 1}, {L"a", 1, 0}, {L"", 1, -1},
                 {L"a\t\tb\rc", 3, 1}};
    for (auto& tc : cases) {
        Integer c = 0, r = 0;
        TVodStringGrid::TextBlockSize(tc.Text, c, r);
        EXPECT_EQ(c, tc.Cols) << tc.Text.size();
        EXPECT_EQ(r, tc.Rows) << tc.Text.size();
    }
}

TEST_F(VodGridPaste, SmartPasteOfOneValueFillsEverySelectedCell)
{
    Grid->Navigation()->SetAllowSmartClipboard(true);
    SetClipboardText(L"v");
    int before = 0, after = 0;
    Grid->OnClipboardBeforePasteCell = [&](TObject*, Integer, Integer, String&, bool&) { ++before; };
    Grid->OnClipboardAfterPasteCell = [&](TObject*, Integer, Integer, const String&) { ++after; };
    TGridRect done{-1, -1, -1, -1};
    Grid->OnClipboardPasteDone = [&](TObject*, TGridRect r) { done = r; };
    Grid->SetSelection(TGridRect{1, 1, 3, 3});
    Grid->PasteSelectionFromClipboard();
    for (Integer r = 1; r <= 3; ++r) EXPECT_EQ(Row(r, 1, 3), L"v|v|v");
    EXPECT_EQ(before, 1 + 8) << "the parser's own event, then the eight other cells";
    EXPECT_EQ(after, 1 + 8);
    EXPECT_EQ(done.Right, 3);
}

TEST_F(VodGridPaste, SmartSeriesTable)
{
    struct TCase {
        const char* Name;
        String Text;
        TGridRect Sel;
        std::vector<String> Expected;   // down the column or along the row
    } cases[] = {
        {"integers down a column", L"1\r\n3\r\n", {0, 0, 0, 4}, {L"1", L"3", L"5", L"7", L"9"}},
        {"fractions with the float format", L"1.5\r\n2\r\n", {0, 0, 0, 4}, {L"1.50", L"2.00", L"2.50", L"3.00", L"3.50"}},
        {"integers along a row", L"10\t20", {0, 0, 3, 0}, {L"10", L"20", L"30", L"40"}},
        {"text repeats the block", L"a\r\nb\r\n", {0, 0, 0, 4}, {L"a", L"b", L"a", L"b", L"a"}},
    };
    for (auto& tc : cases) {
        SCOPED_TRACE(tc.Name);
        TearDown();
        SetUp();
        Grid->Navigation()->SetAllowSmartClipboard(true);
        SetClipboardText(tc.Text);
        Grid->SetSelection(tc.Sel);
        Grid->PasteSelectionFromClipboard();
        const bool down = tc.Sel.Left == tc.Sel.Right;
        for (size_t i = 0; i < tc.Expected.size(); ++i)
            EXPECT_EQ(down ? Grid->GetCellEx(0, Integer(i)) : Grid->GetCellEx(Integer(i), 0), tc.Expected[i]) << i;
    }
}

TEST_F(VodGridPaste, SmartDateSeries)
{
    Grid->Navigation()->SetAllowSmartClipboard(true);
    const TDateTime d = EncodeDate(2026, 1, 30);
    SetClipboardText(DateToStr(d) + L"\r\n" + DateToStr(d + 1) + L"\r\n");
    Grid->SetSelection(TGridRect{0, 0, 0, 3});
    Grid->PasteSelectionFromClipboard();
    EXPECT_EQ(Grid->GetCellEx(0, 3), DateToStr(d + 3));
}

TEST_F(VodGridPaste, FormatPrecedence)
{
    TVodStringGrid* other = CreateGrid<TVodStringGrid>(Form);
    other->SetParent(Form);
    other->SetFixedCols(0);
    other->SetFixedRows(0);
    other->SetCellEx(0, 0, L"native");
    other->Navigation()->SetAllowFmtClipboard(true);
    other->SetSelection(TGridRect{0, 0, 0, 0});
    other->CopySelectionToClipboard();
    // The native record is beside a text that says otherwise.
    ASSERT_TRUE(OpenClipboard(nullptr));
    SetClipboardData(CF_UNICODETEXT, MakeGlobalText(L"text", CF_UNICODETEXT));
    CloseClipboard();

    Grid->SetSelection(TGridRect{0, 0, 0, 0});
    Grid->PasteSelectionFromClipboard();
    EXPECT_EQ(Grid->GetCellEx(0, 0), L"text") << "without AllowFmtClipboard the text is pasted";
    Grid->Navigation()->SetAllowFmtClipboard(true);
    Grid->PasteSelectionFromClipboard();
    EXPECT_EQ(Grid->GetCellEx(0, 0), L"native");

    // Rich text comes before text and ends the paste with 0.
    Clipboard()->Clear();
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, MakeGlobalText(L"plain", CF_UNICODETEXT));
    SetClipboardData(RegisterClipboardFormat(L"Rich Text Format"), MakeGlobalText(L"{\\rtf1 r}", CF_TEXT));
    CloseClipboard();
    Grid->Navigation()->SetAllowFmtClipboard(false);
    Grid->Navigation()->SetAllowRTFClipboard(true);
    Integer cols = 0, rows = 0;
    EXPECT_EQ(Grid->PasteClipboardAt(1, 1, cols, rows), 0);
    EXPECT_EQ(Grid->GetCellEx(1, 1), L"{\\rtf1 r}");
    EXPECT_EQ(cols, 1);
    EXPECT_EQ(rows, 1);
}

TEST_F(VodGridPaste, NativeBlockBetweenTwoGridsKeepsLooksAndMerges)
{
    TVodStringGrid* src = CreateGrid<TVodStringGrid>(Form);
    src->SetParent(Form);
    src->SetFixedCols(0);
    src->SetFixedRows(0);
    // Not the whole grid: a whole grid's block replaces the target grid.
    src->SetColCount(4);
    src->SetRowCount(4);
    src->SetCellEx(0, 0, L"m");
    src->MergeCells(0, 0, 2, 1);
    src->SetCellEx(2, 2, L"x");
    src->GetCellProperties(2, 2)->FBrushColor = clLime;
    src->Navigation()->SetAllowFmtClipboard(true);
    src->SetSelection(TGridRect{0, 0, 2, 2});
    src->CopySelectionToClipboard();

    Grid->Navigation()->SetAllowFmtClipboard(true);
    Grid->SetSelection(TGridRect{3, 3, 3, 3});
    Grid->PasteSelectionFromClipboard();
    EXPECT_EQ(Grid->ColCount(), 6);
    EXPECT_EQ(Grid->RowCount(), 6);
    EXPECT_EQ(Grid->GetCellEx(5, 5), L"x");
    ASSERT_NE(Grid->CellPropertiesOf(5, 5), nullptr);
    EXPECT_EQ(Grid->CellPropertiesOf(5, 5)->FBrushColor, clLime);
    EXPECT_TRUE(Grid->IsMergedCell(4, 3));
}

TEST_F(VodGridPaste, ForeignCountsBeyondTheLimitAreRefusedBeforeAnyChange)
{
    // A block announced as 2 x 3 cells, rewritten to claim a huge size.
    Grid->SetColCount(2);
    Grid->SetRowCount(3);
    TMemoryStream m;
    Grid->SaveRectToBinStream(TGridRect{0, 0, 1, 2}, &m, false);
    Grid->SetColCount(5);
    Grid->SetRowCount(5);
    Grid->Navigation()->SetAllowFmtClipboard(true);
    Grid->SetStreamCellLimit(1000);
    std::string bytes(static_cast<const char*>(m.Memory()), size_t(m.Size()));
    // The header's RowCount is the integer after its name.
    const std::string key = "RowCount";
    const size_t p = bytes.find(key);
    ASSERT_NE(p, std::string::npos);
    // Value type byte, then the value: make it a 32-bit integer of 10^6.
    std::string patched = bytes.substr(0, p + key.size());
    patched += char(4);   // a 32-bit integer
    const int32_t big = 1000000;
    patched.append(reinterpret_cast<const char*>(&big), 4);
    const size_t after = p + key.size() + 1 + (bytes[p + key.size()] == 2 ? 1 : bytes[p + key.size()] == 3 ? 2 : 4);
    patched += bytes.substr(after);
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, patched.size());
    memcpy(GlobalLock(h), patched.data(), patched.size());
    GlobalUnlock(h);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    SetClipboardData(RegisterClipboardFormat(L"TVodStringGrid Cells"), h);
    CloseClipboard();
    Grid->SetSelection(TGridRect{0, 0, 0, 0});
    EXPECT_THROW(Grid->PasteSelectionFromClipboard(), EVodGridError);
    EXPECT_EQ(Grid->RowCount(), 5);
    EXPECT_EQ(Grid->ColCount(), 5);
}

TEST_F(VodGridPaste, CopiedMultiLineCellComesBackUnchanged)
{
    Grid->SetCellEx(0, 0, L"line \"1\"\r\nline 2\r\nline 3");
    Grid->SetCellEx(1, 0, L"b");
    Grid->SetSelection(TGridRect{0, 0, 1, 0});
    Grid->CopySelectionToClipboard();
    Grid->SetSelection(TGridRect{0, 2, 0, 2});
    Grid->PasteSelectionFromClipboard();
    EXPECT_EQ(Grid->GetCellEx(0, 2), L"line \"1\"\r\nline 2\r\nline 3");
    EXPECT_EQ(Grid->GetCellEx(1, 2), L"b");
    EXPECT_EQ(Grid->ClipLastOp(), coCopy);
}

}  // namespace
