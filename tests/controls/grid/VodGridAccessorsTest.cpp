// Cell accessors: cells by real row with hidden rows and columns, by the row
// before sorting (a row the record lacks reads empty and refuses writes), by
// the column before moving; look readers that create no block and writers
// that do; font sizes in points; row colours freeing empty blocks; cell
// controls counted once; markup hints for the whole application; and rich
// text between cells and the platform's rich edit over hand-written RTF,
// malformed files and random input included.
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

#include "tests/TestPaths.h"
#include "controls/grid/HTMLHintWindow.h"
#include "controls/grid/vurcheck.h"
#include "controls/grid/VodGrid.h"
#include "tests/controls/grid/StringGridFixture.h"
#include "platform/base/SysUtils.h"
#include "platform/gfx/Gdi.h"
#include "platform/ui/Forms.h"
#include "platform/ui/RichEdit.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Headless.h"

namespace {

class TAccessGrid : public TVodStringGrid {
public:
    explicit TAccessGrid(TComponent* o) : TVodStringGrid(o) {}
    TIntList* SortRecord() { return FSortRowXRef.get(); }
    using TVodStringGrid::CalcSizingState;
};

class VodGridAccessors : public TStringGridFixture<TAccessGrid> {
protected:
    // Fills columns 0..4 of rows 0..4 with "c,r".
    void Fill()
    {
        for (Integer r = 0; r < 5; ++r)
            for (Integer c = 0; c < 5; ++c) Grid->SetCellEx(c, r, IntToStr(c) + L"," + IntToStr(r));
    }
    bool Dirty()
    {
        TRect r{};
        return GetUpdateRect(Grid->Handle(), &r, FALSE) != FALSE;
    }
};

}  // namespace

TEST_F(VodGridAccessors, AllCellsReadAndWriteHiddenRowsInTheirStore)
{
    Fill();
    EXPECT_EQ(Grid->AllCells(1, -1), L"");
    EXPECT_EQ(Grid->AllCells(-1, 1), L"");
    TBitmap* bmp = Grid->CreateBitmap(2, 2, false, haLeft, vaTop);
    Grid->HideRows(2, 2);
    ASSERT_EQ(Grid->RowCount(), 4);
    EXPECT_EQ(Grid->AllRowCount(), 5);
    // Real row 3 shows as display row 2; real row 2 is kept in the store.
    EXPECT_EQ(Grid->AllCells(1, 3), L"1,3");
    EXPECT_EQ(Grid->AllCells(1, 2), L"1,2");
    Grid->SetAllCells(1, 2, L"kept");
    Grid->SetAllCells(1, 3, L"shown");
    EXPECT_EQ(Grid->Cells(1, 2), L"shown");
    // Reading a column beyond the hidden row's list grows it; the grid form
    // of the accessor raises the list's index error instead.
    EXPECT_EQ(Grid->AllCells(9, 2), L"");
    EXPECT_EQ(Grid->AllGridCells(9, 2), L"");
    EXPECT_THROW(Grid->AllGridCells(20, 2), EStringListError);
    EXPECT_THROW(Grid->SetAllGridCells(20, 2, L"x"), EStringListError);
    Grid->SetAllGridCells(3, 2, L"g");
    EXPECT_EQ(Grid->AllGridCells(3, 2), L"g");
    EXPECT_EQ(Grid->AllGridCells(3, 4), L"3,4");

    // Objects of a hidden row live in its blocks: a new block for a cell
    // without one, the user object of an existing block.
    TObject marker, other;
    Grid->SetAllObjects(0, 2, &marker);
    EXPECT_EQ(Grid->AllObjects(0, 2), &marker);
    Grid->SetAllObjects(0, 2, &other);
    EXPECT_EQ(Grid->AllObjects(0, 2), &other);
    Grid->SetAllObjects(4, 4, &marker);
    EXPECT_EQ(Grid->AllObjects(4, 4), &marker);
    EXPECT_EQ(Grid->GetObjectEx(4, 3), &marker);

    Grid->UnHideRowsAll();
    EXPECT_EQ(Grid->Cells(1, 2), L"kept");
    EXPECT_EQ(Grid->Cells(3, 2), L"g");
    EXPECT_EQ(Grid->GetObjectEx(0, 2), &other);
    EXPECT_EQ(Grid->Cells(1, 3), L"shown");
    // The graphic travelled with its block; hidden again, the grid's end
    // frees it from the hidden-row store.
    EXPECT_EQ(Grid->GetBitmap(2, 2), bmp);
    Grid->HideRows(2, 2);
}

TEST_F(VodGridAccessors, DisplayColumnsAndHiddenColumns)
{
    Fill();
    Grid->HideColumn(2);
    EXPECT_EQ(Grid->ColCount(), 4);
    EXPECT_EQ(Grid->AllColCount(), 5);
    EXPECT_EQ(Grid->LastCol(), 3);
    EXPECT_EQ(Grid->LastRow(), 4);
    // Display column 2 is real column 3; AllCells takes real columns.
    EXPECT_EQ(Grid->RealCells(2, 1), L"3,1");
    EXPECT_EQ(Grid->AllCells(2, 1), L"2,1");
    Grid->SetRealCells(2, 1, L"r");
    EXPECT_EQ(Grid->AllCells(3, 1), L"r");
    // A write through a real column repaints the cell where it shows.
    Drv->Pump();
    ASSERT_FALSE(Dirty());
    // The platform's own per-cell invalidation is held, so that only the
    // accessor's repaint shows.
    Grid->SetUpdating(true);
    Grid->SetAllCells(4, 1, L"shows at 3");
    Grid->SetUpdating(false);
    TRect dirty{};
    ASSERT_TRUE(GetUpdateRect(Grid->Handle(), &dirty, FALSE));
    EXPECT_EQ(dirty.Left, Grid->CellRect(3, 1).Left);
    EXPECT_EQ(Grid->Cells(4, 1), L"shows at 3");
    // Widths by real column: a hidden column keeps its own.
    Grid->SetAllColWidths(2, 33);
    Grid->SetAllColWidths(3, 44);
    EXPECT_EQ(Grid->AllColWidths(2), 33);
    EXPECT_EQ(Grid->AllColWidths(3), 44);
    EXPECT_EQ(Grid->ColWidths(2), 44);
    Grid->UnHideColumnsAll();
    EXPECT_EQ(Grid->ColWidths(2), 33);
}

TEST_F(VodGridAccessors, UnsortedCellsFollowTheSortRecord)
{
    Fill();
    // The row that was first is now last: positions hold rows 1, 2, 0.
    TIntList* x = Grid->SortRecord();
    x->Add(1);
    x->Add(2);
    x->Add(0);
    EXPECT_EQ(Grid->UnSortedRowIndex(0), 2);
    EXPECT_EQ(Grid->SortedRowIndex(2), 0);
    EXPECT_EQ(Grid->SortedRowIndex(4), 4);
    EXPECT_EQ(Grid->UnSortedRowIndex(7), 3);
    EXPECT_EQ(Grid->UnSortedCells(1, 0), L"1,2");
    EXPECT_EQ(Grid->UnSortedCells(1, 2), L"1,1");
    // Rows beyond the record are where they are.
    EXPECT_EQ(Grid->UnSortedCells(1, 4), L"1,4");
    Grid->SetUnSortedCells(1, 0, L"was first");
    EXPECT_EQ(Grid->Cells(1, 2), L"was first");

    // A row inside the record that it does not hold reads empty and
    // refuses writes, instead of reaching a row past the sorted ones.
    x->Clear();
    x->Add(0);
    x->Add(0);
    x->Add(2);
    EXPECT_EQ(Grid->UnSortedCells(1, 1), L"");
    EXPECT_THROW(Grid->SetUnSortedCells(1, 1, L"lost"), EVodGridError);
    EXPECT_EQ(Grid->Cells(1, 3), L"1,3");
    x->Clear();
    EXPECT_EQ(Grid->UnSortedRowIndex(3), 3);
}

TEST_F(VodGridAccessors, OriginalCellsFollowMovedColumns)
{
    Fill();
    // Without a recorded order a column is where it is.
    EXPECT_EQ(Grid->OriginalCells(1, 2), L"1,2");
    Grid->SetColumnOrder();
    Grid->MoveColumn(1, 3);
    // The column recorded as 1 now stands at 3.
    EXPECT_EQ(Grid->ColumnPosition(1), 3);
    EXPECT_EQ(Grid->Cells(1, 2), L"2,2");
    EXPECT_EQ(Grid->OriginalCells(1, 2), L"1,2");
    Grid->SetOriginalCells(1, 2, L"o");
    EXPECT_EQ(Grid->Cells(Grid->ColumnPosition(1), 2), L"o");
}

TEST_F(VodGridAccessors, LookReadersCreateNoBlockAndWritersDo)
{
    Grid->SetCellEx(1, 1, L"x");
    ASSERT_FALSE(Grid->HasCellProperties(1, 1));
    EXPECT_EQ(Grid->Colors(1, 1), clNone);
    EXPECT_EQ(Grid->ColorsTo(1, 1), clNone);
    EXPECT_EQ(Grid->Gradients(1, 1), GradientVertical);
    EXPECT_EQ(Grid->FontColors(1, 1), clNone);
    EXPECT_TRUE(Grid->FontStyles(1, 1).Empty());
    EXPECT_EQ(Grid->FontNames(1, 1), Grid->Font()->Name());
    EXPECT_EQ(Grid->Alignments(1, 1), taLeftJustify);
    EXPECT_FALSE(Grid->ReadOnly(1, 1));
    EXPECT_EQ(Grid->CellControls(1, 1), nullptr);
    Grid->FontSizes(1, 1);
    // Cells outside the grid's columns read as having no block.
    EXPECT_EQ(Grid->Colors(99, 1), clNone);
    EXPECT_EQ(Grid->Alignments(-1, -1), taLeftJustify);
    EXPECT_FALSE(Grid->HasCellProperties(1, 1));
    // The one reader that makes a block.
    Grid->WordWraps(1, 1);
    EXPECT_TRUE(Grid->HasCellProperties(1, 1));

    struct TWrite {
        const wchar_t* name;
        std::function<void()> write;
        std::function<bool()> check;
        bool alwaysRepaints;
    };
    TFont f;
    f.SetName(L"Courier New");
    f.SetColor(clMaroon);
    const std::vector<TWrite> writes = {
        {L"Colors", [&] { Grid->SetColors(2, 2, clRed); }, [&] { return Grid->Colors(2, 2) == clRed; }, false},
        {L"ColorsTo", [&] { Grid->SetColorsTo(2, 2, clBlue); }, [&] { return Grid->ColorsTo(2, 2) == clBlue; }, true},
        {L"Gradients", [&] { Grid->SetGradients(2, 2, GradientHorizontal); },
         [&] { return Grid->Gradients(2, 2) == GradientHorizontal; }, true},
        {L"FontColors", [&] { Grid->SetFontColors(2, 2, clGreen); }, [&] { return Grid->FontColors(2, 2) == clGreen; },
         false},
        {L"FontStyles", [&] { Grid->SetFontStyles(2, 2, {fsBold}); },
         [&] { return Grid->FontStyles(2, 2).Contains(fsBold); }, false},
        {L"FontNames", [&] { Grid->SetFontNames(2, 2, L"Tahoma"); }, [&] { return Grid->FontNames(2, 2) == L"Tahoma"; },
         false},
        {L"Fonts", [&] { Grid->SetFonts(2, 2, &f); },
         [&] { return Grid->FontNames(2, 2) == L"Courier New" && Grid->FontColors(2, 2) == clMaroon; }, false},
        {L"Alignments", [&] { Grid->SetAlignments(2, 2, taCenter); },
         [&] { return Grid->Alignments(2, 2) == taCenter; }, false},
        {L"ReadOnly", [&] { Grid->SetReadOnly(2, 2, true); }, [&] { return Grid->ReadOnly(2, 2); }, false},
        {L"WordWraps", [&] { Grid->SetWordWraps(2, 2, false); }, [&] { return !Grid->WordWraps(2, 2); }, false},
    };
    for (const TWrite& w : writes) {
        SCOPED_TRACE(w.name);
        // Under held updates only the always-repainting writers repaint.
        Grid->FreeCellProperties(2, 2);
        Drv->Pump();
        ASSERT_FALSE(Dirty());
        Grid->StartUpdate();
        w.write();
        EXPECT_TRUE(Grid->HasCellProperties(2, 2));
        EXPECT_TRUE(w.check());
        Grid->ResetUpdate();
        Drv->Pump();
        w.write();
        EXPECT_TRUE(Dirty());
    }
}

TEST_F(VodGridAccessors, FontSizesConvertWithTheCanvasPixelsPerInch)
{
    Grid->GetCellProperties(1, 1)->SetFontSize(-16);
    EXPECT_EQ(Grid->FontSizes(1, 1), 12);
    Grid->SetFontSizes(1, 1, 9);
    EXPECT_EQ(Grid->GetCellProperties(1, 1)->FontSize(), -12);
    // A cell without block answers the grid font's size.
    Grid->Font()->SetHeight(-20);
    EXPECT_EQ(Grid->FontSizes(3, 3), 15);
    EXPECT_FALSE(Grid->HasCellProperties(3, 3));
    GdiSetScreenPixelsPerInch(120);
    Grid->SetFontSizes(1, 1, 12);
    EXPECT_EQ(Grid->GetCellProperties(1, 1)->FontSize(), -20);
    EXPECT_EQ(Grid->FontSizes(1, 1), 12);
}

TEST_F(VodGridAccessors, RowColoursWithNoneFreeTheBlocksOfEmptyCells)
{
    Grid->SetCellEx(2, 1, L"text");
    Grid->AddShape(3, 1, csCircle, clRed, clRed, haLeft, vaTop);
    Grid->SetAlignments(4, 1, taRightJustify);
    Grid->SetRowColor(1, clYellow);
    for (Integer c = 1; c < 5; ++c) EXPECT_EQ(Grid->Colors(c, 1), clYellow) << c;
    // Fixed column 0 is left alone.
    EXPECT_FALSE(Grid->HasCellProperties(0, 1));

    Grid->SetRowColor(1, clNone);
    // The empty cells lose their blocks (and so the right alignment)...
    EXPECT_FALSE(Grid->HasCellProperties(1, 1));
    EXPECT_FALSE(Grid->HasCellProperties(4, 1));
    EXPECT_EQ(Grid->Alignments(4, 1), taLeftJustify);
    // ...cells with text or a graphic keep them with no colour.
    ASSERT_TRUE(Grid->HasCellProperties(2, 1));
    EXPECT_EQ(Grid->Colors(2, 1), clNone);
    EXPECT_TRUE(Grid->HasShape(3, 1));
    EXPECT_EQ(Grid->Colors(3, 1), clNone);

    Grid->SetRowColorTo(1, clAqua);
    EXPECT_EQ(Grid->ColorsTo(1, 1), clAqua);
    Grid->SetRowColorTo(1, clNone);
    EXPECT_FALSE(Grid->HasCellProperties(1, 1));
    EXPECT_EQ(Grid->ColorsTo(2, 1), clNone);

    // The font colour goes only where no brush colour is set.
    Grid->SetRowFontColor(1, clRed);
    Grid->SetColors(2, 1, clBlue);
    Grid->SetColors(1, 1, clNone);
    Grid->SetRowFontColor(1, clNone);
    EXPECT_EQ(Grid->FontColors(2, 1), clRed);
    EXPECT_FALSE(Grid->HasCellProperties(1, 1));
    EXPECT_EQ(Grid->FontColors(3, 1), clNone);
}

TEST_F(VodGridAccessors, CellControlsAreCountedOnceAndPlacedOnTheCell)
{
    auto* a = new TButton(Form);
    auto* b = new TButton(Form);
    Grid->SetCellControls(1, 1, a);
    Grid->SetCellControls(1, 1, b);
    EXPECT_EQ(Grid->NumCellControls(), 1);
    EXPECT_EQ(Grid->CellControls(1, 1), b);
    EXPECT_EQ(b->Parent(), Grid);
    const TRect cr = Grid->CellRect(1, 1);
    EXPECT_EQ(b->Left(), cr.Left);
    EXPECT_EQ(b->Top(), cr.Top);
    EXPECT_EQ(b->Width(), cr.Right - cr.Left - 1);
    EXPECT_EQ(b->Height(), cr.Bottom - cr.Top - 1);
    Grid->SetCellControls(2, 2, a);
    EXPECT_EQ(Grid->NumCellControls(), 2);
    Grid->SetCellControls(1, 1, nullptr);
    Grid->SetCellControls(1, 1, nullptr);
    Grid->SetCellControls(3, 3, nullptr);
    EXPECT_EQ(Grid->NumCellControls(), 1);
    EXPECT_EQ(Grid->CellControls(1, 1), nullptr);
}

TEST_F(VodGridAccessors, SmallPropertiesOfTheGroup)
{
    // IntegralHeight re-applies the bounds at once: the height snaps to
    // whole rows.
    Grid->SetDefaultColWidth(60);
    Grid->SetDefaultRowHeight(22);
    Grid->SetBounds(0, 0, 320, 120);
    Grid->SetIntegralHeight(true);
    EXPECT_TRUE(Grid->IntegralHeight());
    EXPECT_EQ(Grid->Height(), 110);

    Grid->SetCursor(crHandPoint);
    EXPECT_EQ(Grid->Cursor(), crHandPoint);
    EXPECT_EQ(Grid->OldCursor(), crHandPoint);

    Grid->SetUseHTMLHints(true);
    std::unique_ptr<THintWindow> h(Application->HintWindowClass(nullptr));
    EXPECT_NE(dynamic_cast<THTMLHintWindow*>(h.get()), nullptr);
    Grid->SetUseHTMLHints(false);
    h.reset(Application->HintWindowClass(nullptr));
    EXPECT_EQ(dynamic_cast<THTMLHintWindow*>(h.get()), nullptr);
    Application->HintWindowClass = nullptr;

    Drv->Pump();
    Grid->SetFormatType(ftVCL);
    EXPECT_FALSE(Dirty());
    Grid->SetFormatType(ftExcel);
    EXPECT_TRUE(Dirty());

    auto* checker = new TVodStringGridCheck(Form);
    Grid->SetCellChecker(checker);
    EXPECT_EQ(checker->Grid(), Grid);

    // The current cell reads its merged area's base cell.
    Grid->SetCellEx(1, 1, L"base");
    Grid->MergeCells(1, 1, 2, 2);
    Grid->SetCol(2);
    Grid->SetRow(2);
    EXPECT_EQ(Grid->CurrentCell(), L"base");
    Grid->SetCurrentCell(L"new");
    EXPECT_EQ(Grid->Cells(1, 1), L"new");
    EXPECT_EQ(Grid->GetGridCellText(1, 1), L"new");

    Grid->SetCellEx(3, 3, L"a<b>b</b>\r\nc");
    EXPECT_EQ(Grid->StrippedCells(3, 3), L"ab\r\nc");
    EXPECT_EQ(Grid->LinesInCell(3, 3), 2);
}

TEST_F(VodGridAccessors, SizingAsksTheColumnAndRowEvents)
{
    Grid->SetOptions(Grid->Options() + TGridOptions{goColSizing, goRowSizing});
    std::vector<Integer> asked;
    bool allow = false;
    Grid->OnColumnSize = [&](TObject*, Integer c, bool& a) {
        asked.push_back(c);
        a = allow;
    };
    // On the line between columns 1 and 2 in the header row.
    const Integer x = Grid->CellRect(2, 0).Left - 1;
    TGridState st = gsNormal;
    Integer idx = 0, pos = 0, ofs = 0;
    Grid->CalcSizingState(x, 5, st, idx, pos, ofs);
    EXPECT_EQ(st, gsNormal);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], 1);
    allow = true;
    Grid->CalcSizingState(x, 5, st, idx, pos, ofs);
    EXPECT_EQ(st, gsColSizing);
}

// ---------------------------------------------------------------------------
// Rich text

namespace {

std::string ReadFixture(const std::string& name)
{
    std::ifstream f(vel_test_paths::TestDataDir() + "/grid/rtf/" + name, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

String Latin1(const std::string& s)
{
    String w;
    for (unsigned char ch : s) w += wchar_t(ch);
    return w;
}

}  // namespace

TEST_F(VodGridAccessors, RichTextFixturesGoThroughTheRichEditAndBack)
{
    auto* re = new TRichEdit(Form);
    re->SetParent(Form);
    re->SetBounds(330, 0, 160, 100);
    struct TCase {
        const char* file;
        const wchar_t* text;  // the plain text the control shows
    };
    const TCase cases[] = {
        {"bold.rtf", L"plain bold end"},
        {"colors.rtf", L"red blue none"},
        {"hex.rtf", L"caf\u00e9 na\u00efve \u20ac"},
        {"unicode.rtf", L"snow\u2603man \uf020x"},
        {"nested.rtf", L"abcdef"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string rtf = ReadFixture(c.file);
        ASSERT_FALSE(rtf.empty());
        Grid->SetCellEx(1, 1, Latin1(rtf));
        Grid->CellToRich(1, 1, re);
        EXPECT_EQ(Trim(re->Text()), c.text);
        // Back into another cell as RTF source, and through the control
        // again: the same text.
        Grid->RichToCell(2, 1, re);
        EXPECT_EQ(Grid->Cells(2, 1).compare(0, 5, L"{\\rtf"), 0);
        re->Lines()->Clear();
        Grid->CellToRich(2, 1, re);
        EXPECT_EQ(Trim(re->Text()), c.text);
    }
    // The formatting arrives: "bold" is bold, "red" is red.
    Grid->SetCellEx(1, 1, Latin1(ReadFixture("bold.rtf")));
    Grid->CellToRich(1, 1, re);
    re->SetSelStart(7);
    re->SetSelLength(3);
    EXPECT_TRUE(re->SelAttributes()->Style().Contains(fsBold));
    re->SetSelStart(1);
    re->SetSelLength(2);
    EXPECT_FALSE(re->SelAttributes()->Style().Contains(fsBold));
    Grid->SetCellEx(1, 1, Latin1(ReadFixture("colors.rtf")));
    Grid->CellToRich(1, 1, re);
    re->SetSelStart(0);
    re->SetSelLength(3);
    EXPECT_EQ(re->SelAttributes()->Color(), clRed);

    // An empty cell empties the control; its RTF source is not empty.
    Grid->CellToRich(4, 4, re);
    EXPECT_EQ(re->Text(), L"");
    Grid->RichToCell(4, 4, re);
    EXPECT_FALSE(Grid->Cells(4, 4).empty());
}

TEST_F(VodGridAccessors, MalformedAndRandomRichTextNeitherCrashesNorHangs)
{
    auto* re = new TRichEdit(Form);
    re->SetParent(Form);
    re->SetBounds(330, 0, 160, 100);
    for (const char* f : {"truncated.rtf", "unbalanced.rtf", "badescapes.rtf"}) {
        SCOPED_TRACE(f);
        Grid->SetCellEx(1, 1, Latin1(ReadFixture(f)));
        Grid->CellToRich(1, 1, re);
        Grid->RichToCell(2, 1, re);
        EXPECT_FALSE(Grid->Cells(2, 1).empty());
    }
    Grid->SetCellEx(1, 1, Latin1(ReadFixture("truncated.rtf")));
    Grid->CellToRich(1, 1, re);
    EXPECT_NE(re->Text().find(L"trunc"), String::npos);

    // Random text after an RTF header, and plain non-RTF text.
    std::mt19937 rng(24);
    const std::string alphabet = "{}\\'abcdefu0123456789- ?*;\r\n\x01\xff";
    for (int i = 0; i < 300; ++i) {
        std::string s = (i % 3 == 0) ? "" : "{\\rtf1 ";
        const int n = int(rng() % 120);
        for (int k = 0; k < n; ++k) s += alphabet[rng() % alphabet.size()];
        Grid->SetCellEx(1, 1, Latin1(s));
        Grid->CellToRich(1, 1, re);
        Grid->RichToCell(2, 1, re);
    }
}

TEST(VodGridAccessorsLifecycle, RichToStringGivesNothingWhileTheGridIsDestroyed)
{
    THeadlessDriver drv;
    InitForms();
    auto* form = new TForm(Application);
    auto* re = new TRichEdit(form);
    re->SetParent(form);
    re->SetText(L"text");
    form->Init();
    // A grid whose destructor asks for the rich text on its way out.
    class TDyingGrid : public TVodStringGrid {
    public:
        TDyingGrid(TComponent* o, TCustomRichEdit* r, String* out) : TVodStringGrid(o), FRich(r), FOut(out) {}
        ~TDyingGrid() override
        {
            Destroying();
            *FOut = RichToString(FRich);
        }
        TCustomRichEdit* FRich;
        String* FOut;
    };
    String seen = L"unset";
    auto* g = new TDyingGrid(nullptr, re, &seen);
    EXPECT_FALSE(g->RichToString(re).empty());
    delete g;
    EXPECT_EQ(seen, L"");
    DoneForms();
}

TEST_F(VodGridAccessors, AutoRangeScrollBarsFollowTheTextHeight)
{
    Grid->SetCellEx(1, 1, L"a\r\nb\r\nc");
    Grid->AddScrollBar(1, 1, true);
    const Integer line = Grid->Canvas()->TextHeight(L"Ag");
    TScrollProp p = Grid->GetScrollProp(1, 1);
    EXPECT_EQ(p.PageSize, Grid->RowHeights(1));
    EXPECT_EQ(p.Range, 3 * line);
    // Every write of the cell measures again.
    Grid->SetCellEx(1, 1, L"a\r\nb\r\nc\r\nd\r\ne");
    EXPECT_EQ(Grid->GetScrollProp(1, 1).Range, 5 * line);
    // A bar without automatic range keeps its own.
    Grid->AddScrollBar(2, 1, false);
    Grid->SetCellEx(2, 1, L"a\r\nb");
    EXPECT_EQ(Grid->GetScrollProp(2, 1).Range, 100);
}
