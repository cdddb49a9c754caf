// The grid's clipboard copy and cut: the text form as one table, the records
// a copy leaves on the clipboard, the markup copy's offsets, and the cuts
// with and without undo.
#include <gtest/gtest.h>

#include <functional>

#include "controls/foundation/VodUtil.h"
#include "controls/grid/VodGrid_ClipSupport.h"
#include "platform/base/Streams.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/Clipbrd.h"
#include "tests/controls/grid/StringGridFixture.h"

namespace {

class VodGridClipboard : public TStringGridFixture<TVodStringGrid> {
protected:
    void SetUp() override
    {
        TStringGridFixture<TVodStringGrid>::SetUp();
        Grid->SetFixedCols(0);
        Grid->SetFixedRows(0);
        Clipboard()->Clear();
    }
    void Fill(std::initializer_list<std::initializer_list<const wchar_t*>> rows)
    {
        Integer r = 0;
        for (auto& row : rows) {
            Integer c = 0;
            for (const wchar_t* v : row) Grid->SetCellEx(c++, r, v);
            ++r;
        }
    }
    // The bytes of a clipboard format, empty when absent.
    std::string Record(UINT fmt)
    {
        std::string r;
        if (!OpenClipboard(nullptr)) return r;
        if (HGLOBAL h = GetClipboardData(fmt)) {
            const char* p = static_cast<const char*>(GlobalLock(h));
            r.assign(p, GlobalSize(h));
            GlobalUnlock(h);
        }
        CloseClipboard();
        return r;
    }
};

TEST_F(VodGridClipboard, TextFormTable)
{
    struct TCase {
        const char* Name;
        std::function<void(TVodStringGrid*)> Setup;
        TGridRect Rect;
        bool Disjunct;
        String Expected;
    };
    const TCase cases[] = {
        {"one row has no line break", [](TVodStringGrid* g) { g->SetCellEx(0, 0, L"a"), g->SetCellEx(1, 0, L"b"); },
         {0, 0, 1, 0}, false, L"a\tb"},
        {"several rows end each with CR LF",
         [](TVodStringGrid* g) {
             g->SetCellEx(0, 0, L"a"), g->SetCellEx(1, 0, L"b"), g->SetCellEx(0, 1, L"c"), g->SetCellEx(1, 1, L"d");
         },
         {0, 0, 1, 1}, false, L"a\tb\r\nc\td\r\n"},
        {"a multi-line cell is quoted, inner quotes doubled, one LF per break",
         [](TVodStringGrid* g) { g->SetCellEx(0, 0, L"say \"hi\"\r\nb"), g->SetCellEx(1, 0, L"c"); }, {0, 0, 1, 0},
         false, L"\"say \"\"hi\"\"\nb\"\tc"},
        {"markup kept with its tags", [](TVodStringGrid* g) { g->SetCellEx(0, 0, L"<b>x</b>"); }, {0, 0, 0, 0}, false,
         L"<b>x</b>"},
        {"markup stripped when tags are not copied",
         [](TVodStringGrid* g) {
             g->Navigation()->SetCopyHTMLTagsToClipboard(false);
             g->SetCellEx(0, 0, L"<b>x</b>");
             g->SetCellEx(1, 0, L"<b>y");
         },
         {0, 0, 1, 0}, false, L"x\t<b>y"},
        {"rich text as its plain text", [](TVodStringGrid* g) { g->SetCellEx(0, 0, L"{\\rtf1\\ansi hello}"); },
         {0, 0, 0, 0}, false, L"hello"},
        {"spreadsheet form of a multi-line markup cell",
         [](TVodStringGrid* g) {
             g->Navigation()->SetCopyHTMLTagsToClipboard(false);
             g->SetExcelClipboardFormat(true);
             g->SetMultilinecells(true);
             g->SetCellEx(0, 0, L"<b>a</b>\r\nb");
         },
         {0, 0, 0, 0}, false, L"\"a\x0B"
                             L"b\""},
        {"packed wide text unpacked", [](TVodStringGrid* g) { g->SetCellEx(0, 0, PackWideText(L"\x3A9x")); },
         {0, 0, 0, 0}, false, L"\x3A9x"},
        {"disjunct rows skip unselected rows",
         [](TVodStringGrid* g) {
             g->MouseActions()->SetDisjunctRowSelect(true);
             g->SetCellEx(0, 0, L"a"), g->SetCellEx(0, 1, L"b"), g->SetCellEx(0, 2, L"c");
             g->SetRowSelect(0, true);
             g->SetRowSelect(2, true);
         },
         {0, 0, 0, 2}, true, L"a\r\nc\r\n"},
        {"disjunct columns: an unselected last column leaves a tab",
         [](TVodStringGrid* g) {
             g->MouseActions()->SetDisjunctColSelect(true);
             g->SetCellEx(0, 0, L"a"), g->SetCellEx(1, 0, L"b"), g->SetCellEx(2, 0, L"c");
             g->SetColSelect(0, true);
             g->SetColSelect(1, true);
         },
         {0, 0, 2, 0}, true, L"a\tb\t"},
    };
    for (const TCase& tc : cases) {
        SCOPED_TRACE(tc.Name);
        TearDown();
        SetUp();
        tc.Setup(Grid);
        EXPECT_EQ(Grid->RectToClipboardText(tc.Rect, tc.Disjunct), tc.Expected);
        EXPECT_EQ(Grid->ClipTopLeft().X, tc.Rect.Left);
    }
}

TEST_F(VodGridClipboard, QuotedFieldsComeBackAsTheyWere)
{
    for (const String s : {String(L"a\r\nb"), String(L"\"q\"\r\n\r\nz"), String(L"x\ry")}) {
        const String q = QuoteClipboardField(s);
        EXPECT_EQ(q.find(L'\r'), String::npos);
        String back = UnquoteClipboardField(q);
        // A lone CR comes back as a line break of the grid's own form.
        EXPECT_EQ(back, s == L"x\ry" ? String(L"x\r\ny") : s);
    }
    EXPECT_EQ(UnquoteClipboardField(L"\"a\x0B" L"b\""), L"a\r\nb");
    EXPECT_EQ(UnquoteClipboardField(L"\"plain\""), L"\"plain\"") << "a quoted field without a break stays";
}

TEST_F(VodGridClipboard, CopyWritesTextRichTextAndTheNativeBlock)
{
    Grid->Navigation()->SetAllowFmtClipboard(true);
    Grid->Navigation()->SetAllowRTFClipboard(true);
    Grid->SetCellEx(0, 0, L"{\\rtf1\\ansi r\\'e9}");
    Grid->SetCellEx(1, 0, L"b");
    Grid->GetCellProperties(1, 0)->FBrushColor = clRed;
    Grid->SetSelection(TGridRect{0, 0, 1, 0});
    Grid->CopySelectionToClipboard();
    EXPECT_EQ(Grid->ClipLastOp(), coCopy);

    String text;
    ASSERT_TRUE(GetClipboardText(text));
    EXPECT_EQ(text, L"r\x00E9\tb");
    EXPECT_EQ(Record(RegisterClipboardFormat(L"Rich Text Format")), std::string("{\\rtf1\\ansi r\\'e9}") + '\0');
    TMemoryStream m;
    Grid->SaveRectToBinStream(TGridRect{0, 0, 1, 0}, &m, false);
    const std::string native = Record(RegisterClipboardFormat(L"TVodStringGrid Cells"));
    ASSERT_EQ(native.size(), size_t(m.Size())) << "the record is exactly the stream";
    EXPECT_EQ(native, std::string(static_cast<const char*>(m.Memory()), size_t(m.Size())));
}

TEST_F(VodGridClipboard, HtmlRecordIsOneBytePerCharacterAndItsOffsetsSliceTheFragment)
{
    Grid->SetColCount(2);
    Grid->SetRowCount(1);
    Grid->SetCellEx(0, 0, L"caf\x00E9");
    Grid->SetCellEx(1, 0, L"\x3A9 \x20AC");
    Grid->CopyToClipBoardAsHTML();
    const std::string rec = Record(RegisterClipboardFormat(L"HTML Format"));
    ASSERT_FALSE(rec.empty());
    EXPECT_NE(rec.back(), '\0') << "no terminating zero";
    auto offset = [&](const char* key) {
        const size_t p = rec.find(key);
        EXPECT_NE(p, std::string::npos) << key;
        return std::stoul(rec.substr(p + strlen(key), 10));
    };
    const size_t sf = offset("StartFragment:"), ef = offset("EndFragment:"), eh = offset("EndHTML:");
    EXPECT_EQ(eh, rec.size());
    const std::string frag = rec.substr(sf, ef - sf);
    EXPECT_EQ(rec.substr(sf - strlen("<!--StartFragment-->"), strlen("<!--StartFragment-->")), "<!--StartFragment-->");
    EXPECT_EQ(rec.substr(ef, strlen("<!--EndFragment-->")), "<!--EndFragment-->");
    EXPECT_NE(frag.find("caf\xE9"), std::string::npos) << "an accented letter is one byte";
    EXPECT_NE(frag.find("&#937;"), std::string::npos) << "characters beyond U+00FF as references";
    String text;
    ASSERT_TRUE(GetClipboardText(text));
    EXPECT_EQ(text.substr(0, 12), L"Version:1.0\r") << "the text entry holds the wrapped markup";
}

TEST_F(VodGridClipboard, CutSelectionClearsEditableCellsWithUndo)
{
    Fill({{L"a", L"b"}, {L"c", L"d"}});
    Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
    Grid->GetCellProperties(1, 1)->SetReadOnly(true);
    auto* undo = new TVodGridUndoRedo(Form);
    Grid->SetUndoRedo(undo);
    Grid->GetCellProperties(0, 0)->FBrushColor = clRed;
    int changed = 0;
    Grid->OnCellsChanged = [&](TObject*, const TRect&) { ++changed; };
    Grid->SetSelection(TGridRect{0, 0, 1, 1});
    Grid->CutSelectionToClipboard();
    String text;
    ASSERT_TRUE(GetClipboardText(text));
    EXPECT_EQ(text, L"a\tb\r\nc\td\r\n") << "read-only cells are copied";
    EXPECT_EQ(Grid->GetCellEx(0, 0), L"");
    EXPECT_EQ(Grid->GetCellEx(1, 1), L"d") << "a read-only cell stays";
    EXPECT_EQ(Grid->ClipLastOp(), coCut);
    EXPECT_EQ(changed, 1);
    EXPECT_NE(Grid->CellPropertiesOf(0, 0), nullptr) << "blocks stay without the native format";
    undo->Undo();
    EXPECT_EQ(Grid->GetCellEx(0, 0), L"a");
    EXPECT_EQ(Grid->GetCellEx(1, 0), L"b");

    // With AllowClipboardAlways every cell goes; with the native format the
    // property blocks go too.
    Grid->Navigation()->SetAllowClipboardAlways(true);
    Grid->Navigation()->SetAllowFmtClipboard(true);
    Grid->SetSelection(TGridRect{0, 0, 1, 1});
    Grid->CutSelectionToClipboard();
    EXPECT_EQ(Grid->GetCellEx(1, 1), L"");
    EXPECT_EQ(Grid->CellPropertiesOf(0, 0), nullptr);
}

TEST_F(VodGridClipboard, CutToClipboardRegistersNoUndoAndFiresNothing)
{
    Fill({{L"a", L"b"}, {L"c", L"d"}});
    Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
    auto* undo = new TVodGridUndoRedo(Form);
    Grid->SetUndoRedo(undo);
    int changed = 0;
    Grid->OnCellsChanged = [&](TObject*, const TRect&) { ++changed; };
    Grid->CutToClipboard();
    EXPECT_EQ(Grid->GetCellEx(0, 0), L"");
    EXPECT_EQ(Grid->GetCellEx(1, 1), L"");
    EXPECT_FALSE(undo->CanUndo());
    EXPECT_EQ(changed, 0);
    EXPECT_EQ(Grid->ClipLastOp(), coCut);
}

TEST_F(VodGridClipboard, CutWithRemoveTakesTheRowsAway)
{
    Fill({{L"a"}, {L"b"}, {L"c"}});
    Grid->SetOptions(Grid->Options() + TGridOptions{goEditing, goRowSelect});
    Grid->Navigation()->SetClipboardCutAction(caRemove);
    Grid->SetSelection(TGridRect{0, 1, 4, 1});
    Grid->CutSelectionToClipboard();
    EXPECT_EQ(Grid->RowCount(), 4);
    EXPECT_EQ(Grid->GetCellEx(0, 1), L"c");
}

TEST_F(VodGridClipboard, SelectionAsTextDoesNotTouchTheClipboard)
{
    Fill({{L"a", L"b"}});
    SetClipboardText(L"kept");
    Grid->SetSelection(TGridRect{0, 0, 1, 0});
    EXPECT_EQ(Grid->SelectionAsText(), L"a\tb");
    String text;
    GetClipboardText(text);
    EXPECT_EQ(text, L"kept");
}

}  // namespace
