// The string grid's cell hooks: their results with and without handlers as
// tables, the argument orders of the events, and the filter list of a
// column's drop-down.
#include <gtest/gtest.h>

#include "controls/foundation/VodHintInfo.h"
#include "controls/foundation/VodUtil.h"
#include "controls/grid/VodGrid.h"
#include "platform/base/SysUtils.h"
#include "platform/gfx/Gdi.h"
#include "platform/ui/Forms.h"
#include "platform/ui/backend/Headless.h"

namespace {

// Rows listed in Nodes and Summaries answer IsNode and IsSummary.
class THookGrid : public TVodStringGrid {
public:
    explicit THookGrid(TComponent* o) : TVodStringGrid(o) {}
    std::set<Integer> Nodes, Summaries;
    bool IsNode(Integer r) override { return Nodes.count(r) > 0; }
    bool IsSummary(Integer r) override { return Summaries.count(r) > 0; }
};

class VodGridHooks : public ::testing::Test {
protected:
    void SetUp() override
    {
        Drv = std::make_unique<THeadlessDriver>();
        InitForms();
        SetFixedMetricsFonts(true);
        Form = new TForm(Application);
        Grid = CreateGrid<THookGrid>(Form);
        Grid->SetParent(Form);
        Form->Init();
    }
    void TearDown() override
    {
        DoneForms();
        Drv.reset();
        SetFixedMetricsFonts(false);
    }
    std::unique_ptr<THeadlessDriver> Drv;
    TForm* Form = nullptr;
    THookGrid* Grid = nullptr;
};

std::vector<String> Lines(TStrings* s)
{
    std::vector<String> v;
    for (Integer i = 0; i < s->Count(); ++i) v.push_back(s->Strings(i));
    return v;
}

}  // namespace

TEST_F(VodGridHooks, IsFixedCellAsksItsEventOnlyForCellsNotFixedAlready)
{
    std::vector<std::pair<Integer, Integer>> asked;
    Grid->OnIsFixedCell = [&](TObject*, Integer r, Integer c, bool& f) {
        asked.push_back({r, c});
        f = r == 5;
    };
    struct Case {
        Integer Col, Row;
        bool In, Out, Asked;
    } cases[] = {
        {0, 3, false, true, false},  // fixed column
        {2, 0, false, true, false},  // fixed row
        {2, 3, true, true, false},   // comes in fixed
        {2, 3, false, false, true},  // normal: the event decides
        {2, 5, false, true, true},
    };
    for (const Case& k : cases) {
        asked.clear();
        bool f = k.In;
        Grid->IsFixedCell(k.Col, k.Row, f);
        EXPECT_EQ(f, k.Out) << k.Col << "," << k.Row;
        EXPECT_EQ(!asked.empty(), k.Asked) << k.Col << "," << k.Row;
        if (!asked.empty()) EXPECT_EQ(asked[0], std::make_pair(k.Row, k.Col));   // row first
    }
}

TEST_F(VodGridHooks, IsCellEditableFollowsTheBlockTheOptionsAndTheEvent)
{
    std::vector<std::pair<Integer, Integer>> asked;
    bool veto = false;
    Grid->OnCanEditCell = [&](TObject*, Integer r, Integer c, bool& can) {
        asked.push_back({r, c});
        if (veto) can = false;
    };
    // Without a block: the event alone.
    EXPECT_TRUE(Grid->IsCellEditable(2, 2));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], std::make_pair(2, 2));
    veto = true;
    EXPECT_FALSE(Grid->IsCellEditable(2, 2));
    veto = false;
    // With a block: read-only and the editing permission first.
    struct Case {
        bool ReadOnly, Editing, Suspended, RangeEdit, Expect;
    } cases[] = {
        {false, true, false, false, true},  {true, true, false, false, false}, {false, false, false, false, false},
        {false, false, true, false, true},  {false, false, false, true, true},
    };
    for (const Case& k : cases) {
        Grid->GetCellProperties(3, 3)->SetReadOnly(k.ReadOnly);
        TGridOptions o = Grid->Options();
        if (k.Editing) o.Include(goEditing); else o.Exclude(goEditing);
        Grid->SetOptions(o);
        Grid->SetEditingSuspended(k.Suspended);
        Grid->MouseActions()->SetRangeSelectAndEdit(k.RangeEdit);
        EXPECT_EQ(Grid->IsCellEditable(3, 3), k.Expect);
    }
    // A merged area answers for its base cell.
    Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
    Grid->MergeCells(1, 5, 2, 2);
    Grid->GetCellProperties(1, 5)->SetReadOnly(true);
    EXPECT_FALSE(Grid->IsCellEditable(2, 6));
    asked.clear();
    bool can = false;
    Grid->IsCellEditable(2, 6, can);   // coming in False stays False for a block
    EXPECT_FALSE(can);
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.back(), std::make_pair(5, 1));
}

TEST_F(VodGridHooks, HasEditorButtonsAsTables)
{
    struct Case {
        TEditorType Editor;
        bool DropAlways, SpinAlways;
        bool Combo, EditBtn, Spin;
    } cases[] = {
        {edComboList, false, false, false, false, false},  // neither handler nor switch: False
        {edComboList, true, false, true, false, false},
        {edComboEdit, true, false, true, false, false},
        {edEditBtn, true, false, false, true, false},
        {edSpinEdit, false, true, false, false, true},
        {edDateSpinEdit, false, true, false, false, true},
        {edSpinEdit, true, false, false, false, false},
    };
    for (const Case& k : cases) {
        Grid->ControlLook()->SetDropDownAlwaysVisible(k.DropAlways);
        Grid->ControlLook()->SetSpinButtonsAlwaysVisible(k.SpinAlways);
        EXPECT_EQ(Grid->HasComboBox(2, 2, k.Editor), k.Combo) << int(k.Editor);
        EXPECT_EQ(Grid->HasEditBtn(2, 2, k.Editor), k.EditBtn) << int(k.Editor);
        EXPECT_EQ(Grid->HasSpinEdit(2, 2, k.Editor), k.Spin) << int(k.Editor);
    }
    // edNone: the editor comes from the cell's editor type event.
    Grid->ControlLook()->SetDropDownAlwaysVisible(true);
    Grid->OnGetEditorType = [](TObject*, Integer c, Integer, TEditorType& e) {
        if (c == 2) e = edComboEdit;
    };
    EXPECT_TRUE(Grid->HasComboBox(2, 2));
    EXPECT_FALSE(Grid->HasComboBox(3, 2));
    // Spin buttons never in fixed cells.
    Grid->ControlLook()->SetSpinButtonsAlwaysVisible(true);
    EXPECT_FALSE(Grid->HasSpinEdit(0, 2, edSpinEdit));
    // A handler decides alone, starting from False.
    Grid->OnHasComboBox = [](TObject*, Integer c, Integer, bool& has) { has = has || c == 4; };
    EXPECT_FALSE(Grid->HasComboBox(2, 2, edComboEdit));
    EXPECT_TRUE(Grid->HasComboBox(4, 2, edNormal));
}

TEST_F(VodGridHooks, CellColourTakesTheActiveHeaderTheBlockAndTheEvent)
{
    TBrush brush;
    TFont font;
    auto reset = [&] {
        brush.SetColor(clWhite);
        font.SetColor(clBlack);
        font.SetStyle(TFontStyles{});
    };
    Grid->FActiveCellShow = true;
    Grid->FActiveCellColor = clYellow;
    Grid->SetCol(2);
    Grid->SetRow(3);
    struct Case {
        Integer Col, Row;
        TColor Brush;
    } cases[] = {{0, 3, clYellow}, {2, 0, clYellow}, {0, 4, clWhite}, {3, 0, clWhite}, {2, 3, clWhite}};
    for (const Case& k : cases) {
        reset();
        Grid->GetCellColor(k.Col, k.Row, TGridDrawState{}, &brush, &font);
        EXPECT_EQ(brush.Color(), k.Brush) << k.Col << "," << k.Row;
        EXPECT_EQ(font.Style().Contains(fsBold), k.Brush == clYellow);
    }
    Grid->FActiveCellShow = false;
    // A block's brush for a cell without graphic and its font in every case.
    TCellProperties* p = Grid->GetCellProperties(2, 2);
    p->SetBrushColor(clAqua);
    p->SetFontColor(clRed);
    p->SetFontStyle(TFontStyles{fsItalic});
    reset();
    Grid->GetCellColor(2, 2, TGridDrawState{}, &brush, &font);
    EXPECT_EQ(brush.Color(), clAqua);
    EXPECT_EQ(font.Color(), clRed);
    EXPECT_TRUE(font.Style().Contains(fsItalic));
    // A progress cell keeps the painter's brush, not its font.
    Grid->AddProgress(2, 2, clLime, clGreen);
    reset();
    Grid->GetCellColor(2, 2, TGridDrawState{}, &brush, &font);
    EXPECT_EQ(brush.Color(), clWhite);
    EXPECT_EQ(font.Color(), clRed);
    // The event comes last, row first.
    Grid->OnGetCellColor = [](TObject*, Integer r, Integer c, TGridDrawState, TBrush* b, TFont*) {
        if (r == 2 && c == 2) b->SetColor(clNavy);
    };
    Grid->GetCellColor(2, 2, TGridDrawState{}, &brush, &font);
    EXPECT_EQ(brush.Color(), clNavy);
}

TEST_F(VodGridHooks, BordersOfGroupHeadersAndSummaries)
{
    Grid->Nodes = {2};
    Grid->Summaries = {4};
    Grid->Grouping()->SetHeaderUnderline(true);
    Grid->Grouping()->SetHeaderLineColor(clRed);
    Grid->Grouping()->SetSummaryLine(true);
    Grid->Grouping()->SetSummaryLineWidth(3);
    TPen pen;
    TCellBorders b;
    Grid->GetCellBorder(1, 2, &pen, b);
    EXPECT_EQ(b, TCellBorders{cbBottom});
    EXPECT_EQ(pen.Color(), clRed);
    b = TCellBorders{};
    Grid->GetCellBorder(0, 2, &pen, b);   // column 0 keeps its borders
    EXPECT_TRUE(b.Empty());
    Grid->GetCellBorder(1, 4, &pen, b);
    EXPECT_EQ(b, TCellBorders{cbTop});
    EXPECT_EQ(pen.Width(), 3);
    Grid->OnGetCellBorder = [](TObject*, Integer, Integer, TPen*, TCellBorders& bs) { bs = TCellBorders{}; };
    Grid->GetCellBorder(1, 4, &pen, b);
    EXPECT_TRUE(b.Empty());
}

TEST_F(VodGridHooks, SmallHooksKeepTheirValuesWithoutHandlers)
{
    String v;
    Grid->GetCheckTrue(1, 1, v);
    EXPECT_EQ(v, L"Y");
    Grid->OnGetCheckFalse = [](TObject*, Integer, Integer r, String& s) { s = r == 1 ? L"no" : s; };
    Grid->GetCheckFalse(1, 1, v);
    EXPECT_EQ(v, L"no");
    Grid->GetCheckFalse(1, 2, v);
    EXPECT_EQ(v, L"N");
    double rate = 3;
    EXPECT_TRUE(Grid->RatingChange(1, 1, rate));
    Grid->OnRatingChange = [](TObject*, Integer, Integer, double& r, bool& allow) {
        allow = r < 5;
        r = 4;
    };
    rate = 6;
    EXPECT_FALSE(Grid->RatingChange(1, 1, rate));
    EXPECT_EQ(rate, 4);
    bool ok = true;
    Grid->AllowWheelScroll(0, ok);
    EXPECT_TRUE(ok);
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    Grid->MouseActions()->SetHotmailRowSelect(true);
    Grid->GetCellAlignment(0, 1, ha, va);
    EXPECT_EQ(ha, taCenter);
    ha = taLeftJustify;
    Grid->GetCellAlignment(1, 1, ha, va);
    EXPECT_EQ(ha, taLeftJustify);
    EXPECT_FALSE(Grid->IsFixedEditorCell(1, 1));
    Grid->OnGetEditorType = [](TObject*, Integer c, Integer, TEditorType& e) {
        if (c == 1) e = edNone;
    };
    EXPECT_TRUE(Grid->IsFixedEditorCell(1, 1));
    EXPECT_FALSE(Grid->IsFixedEditorCell(2, 1));
    // Click hooks: OnClickCell row first, OnButtonClick column first.
    std::vector<Integer> got;
    Grid->OnClickCell = [&](TObject*, Integer a, Integer b) { got = {a, b}; };
    Grid->ClickCell(4, 2);
    EXPECT_EQ(got, (std::vector<Integer>{4, 2}));
    Grid->OnButtonClick = [&](TObject*, Integer a, Integer b) { got = {a, b}; };
    Grid->ButtonClick(2, 4);
    EXPECT_EQ(got, (std::vector<Integer>{2, 4}));
    EXPECT_EQ(Grid->GetFloatFormat(1, 1), L"%.2f");
    Grid->OnGetFloatFormat = [](TObject*, Integer c, Integer, bool& isFloat, String& f) {
        isFloat = c == 2;
        f = L"%.4f";
    };
    EXPECT_EQ(Grid->GetFloatFormat(2, 1), L"%.4f");
    EXPECT_EQ(Grid->GetFloatFormat(1, 1), L"%.2f");
}

TEST_F(VodGridHooks, HintsFillTheOfficeHintAndPackWideTexts)
{
    String hint = L"h", wide;
    Grid->GridHint(1, 1, hint, wide);
    EXPECT_EQ(hint, L"h");
    Grid->OnGridHint = [](TObject*, Integer r, Integer c, String& s) { s = IntToStr(r) + L"/" + IntToStr(c); };
    Grid->GridHint(1, 3, hint, wide);
    EXPECT_EQ(hint, L"3/1");
    EXPECT_EQ(Trim(Grid->OfficeHint()->Notes()->Text()), L"3/1");
    Grid->OnGridWideHint = [](TObject*, Integer, Integer, String& s) { s = L"\u0416x"; };
    Grid->GridHint(1, 3, hint, wide);
    EXPECT_EQ(hint, PackWideText(L"\u0416x"));
    TVodHintInfo* seen = nullptr;
    Grid->OnOfficeHint = [&](TObject*, Integer, Integer, TVodHintInfo* h) { seen = h; };
    Grid->GridHint(1, 3, hint, wide);
    EXPECT_EQ(seen, Grid->OfficeHint());
}

TEST_F(VodGridHooks, CellCursorChangesTheSystemCursorOnly)
{
    const TCursor own = Grid->Cursor();
    Grid->GetCellCursor(1, 1, 5, 5);   // no handler: nothing
    Grid->OnGetCellCursor = [](TObject*, Integer, Integer, TCursor& c) { c = crHandPoint; };
    Grid->GetCellCursor(1, 1, 5, 5);
    EXPECT_EQ(Grid->Cursor(), own);
    EXPECT_EQ(GetCursor(), Screen->Cursors(crHandPoint));
}

TEST_F(VodGridHooks, CellDefaultsClearTheColoursOfFixedBandedAndGradientCells)
{
    TFont f;
    TBrush b;
    TColor to = clRed, m = clNone, mt = clNone;
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    bool ww = false;
    TCellGradientDirection gd = GradientHorizontal;
    auto run = [&](Integer c, Integer r) {
        b.SetColor(clRed);
        to = clRed;
        Grid->GetCellDefaults(c, r, &f, &b, to, m, mt, ha, va, ww, gd);
    };
    run(0, 2);
    EXPECT_EQ(b.Color(), clNone);
    EXPECT_EQ(to, clNone);
    Grid->Bands()->SetActive(true);
    run(2, 2);
    EXPECT_EQ(b.Color(), clNone);
    Grid->Bands()->SetActive(false);
    Grid->BackGround()->SetDisplay(bdGradientVert);
    run(2, 2);
    EXPECT_EQ(b.Color(), clNone);
    EXPECT_TRUE(Grid->UseDisabledFont());   // switched back after the call
}

TEST_F(VodGridHooks, FilterEditRowCells)
{
    EXPECT_FALSE(Grid->HasFilterEdit(2, 0));
    Grid->FilterEdit()->Enabled = true;
    EXPECT_TRUE(Grid->HasFilterEdit(2, 0));
    EXPECT_FALSE(Grid->HasFilterEdit(0, 0));   // fdNormal: no fixed column
    EXPECT_FALSE(Grid->HasFilterEdit(2, 1));
    Grid->FilterEdit()->Columns = fdAll;
    EXPECT_TRUE(Grid->HasFilterEdit(0, 0));
    Grid->OnHasFilterEdit = [](TObject*, Integer c, bool& has) { has = c != 3; };
    EXPECT_FALSE(Grid->HasFilterEdit(3, 0));
    EXPECT_TRUE(Grid->HasFilterEdit(2, 0));
}

TEST_F(VodGridHooks, ColumnFilterListEntries)
{
    Grid->SetRowCount(6);
    Grid->SetCells(1, 1, L"two words");
    Grid->SetCells(1, 2, L"");
    Grid->SetCells(1, 3, L"<b>two</b> words");
    Grid->SetCells(1, 4, L" say \"hi\" ");
    Grid->SetCells(1, 5, L"plain");
    // Without FilterDropDownAuto only the event fills the list.
    EXPECT_FALSE(Grid->BuildColumnFilterList(1, false, false));
    Grid->FFilterDropDownAuto = true;
    Grid->FilterDropDown()->Sorted = false;
    ASSERT_TRUE(Grid->BuildColumnFilterList(1, false, false));
    EXPECT_EQ(Lines(Grid->FilterList()),
              (std::vector<String>{L"(All)", L"two words\t\"two words\"", L"\t\"\"",
                                   L"say \"hi\"\t\"say \"\"hi\"\"\"", L"plain"}));
    ASSERT_TRUE(Grid->BuildColumnFilterList(1, true, false));
    EXPECT_EQ(Lines(Grid->FilterList()), (std::vector<String>{L"(All)", L"two words\t\"two words\""}));
    // A check list puts its check-all text on top instead.
    Grid->SetFilterDropDownCheck(true);
    Grid->SetFilterDropDownCheckUnCheckAll(L"(check all)");
    Grid->BuildColumnFilterList(1, true, false);
    EXPECT_EQ(Grid->FilterList()->Strings(0), L"(check all)");
    Grid->SetFilterDropDownCheck(false);
    // Sorted.
    Grid->FilterDropDown()->Sorted = true;
    Grid->BuildColumnFilterList(1, false, false);
    EXPECT_EQ(Grid->FilterList()->Strings(0), L"(All)");
    EXPECT_EQ(Grid->FilterList()->Strings(1), L"\t\"\"");
    EXPECT_FALSE(Grid->FilterList()->Sorted());
    // A fixed column with fdNormal: only the event's entries.
    Grid->OnGetColumnFilter = [](TObject*, Integer c, TStrings* v) {
        if (c == 0) v->Add(L"mine");
    };
    Grid->SetCells(0, 1, L"fixed");
    Grid->BuildColumnFilterList(0, false, false);
    EXPECT_EQ(Lines(Grid->FilterList()), (std::vector<String>{L"mine"}));
    Grid->SetFilterDropDownColumns(fdAll);
    Grid->BuildColumnFilterList(0, false, false);
    EXPECT_EQ(Grid->FilterList()->IndexOf(L"fixed") >= 0, true);
}

TEST_F(VodGridHooks, ColumnFilterListOfDataCheckBoxes)
{
    Grid->FFilterDropDownAuto = true;
    Grid->FilterDropDown()->TextChecked = L"Checked";
    Grid->FilterDropDown()->TextUnChecked = L"Unchecked";
    Grid->CreateCellGraphic(2, 1)->SetCellType(ctDataCheckBox);
    Grid->CreateCellGraphic(2, 2)->SetCellType(ctDataCheckBox);
    Grid->SetCells(2, 1, L"Y");
    Grid->SetCells(2, 2, L"N");
    Grid->BuildColumnFilterList(2, false, false);
    EXPECT_EQ(Lines(Grid->FilterList()), (std::vector<String>{L"(All)", L"Checked", L"Unchecked"}));
}
