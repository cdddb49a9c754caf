// The string grid's construction and lifecycle: the values and owned objects
// after construction (run time and design time), the two-phase footer panel,
// destruction with property blocks, Loaded, Assign, SetBounds with integral
// height, Invalidate's skip, the wheel set-up, and the unit's start-up and
// routines.
#include <gtest/gtest.h>

#include "controls/foundation/VodHintInfo.h"
#include "controls/grid/GridHoverForm.h"
#include "controls/grid/GridSearchPanel.h"
#include "controls/grid/VodGrid.h"
#include "controls/grid/editors/GridEditors.h"
#include "platform/base/Filer.h"
#include "platform/base/SysUtils.h"
#include "platform/gfx/Gdi.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/ComCtrls_Bars.h"
#include "platform/ui/Menus.h"
#include "platform/ui/Forms.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Headless.h"

namespace {

class TFooterOfMine : public TFooterPanel {
public:
    explicit TFooterOfMine(TComponent* o) : TFooterPanel(o) {}
};

// A descendant that makes its own footer panel and counts repaints.
class TCreateGrid : public TVodStringGrid {
public:
    explicit TCreateGrid(TComponent* o) : TVodStringGrid(o) {}
    TFooterPanel* CreateFooterPanel() override { return new TFooterOfMine(this); }
    int Repaints = 0;
    void DrawNCBorder() override { ++NCBorders; }
    int NCBorders = 0;
};

class VodGridCreate : public ::testing::Test {
protected:
    void SetUp() override
    {
        Drv = std::make_unique<THeadlessDriver>();
        InitForms();
        SetFixedMetricsFonts(true);
        Form = new TForm(Application);
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(0, 0, 600, 400);
    }
    void TearDown() override
    {
        DoneForms();
        Drv.reset();
        SetFixedMetricsFonts(false);
    }
    std::unique_ptr<THeadlessDriver> Drv;
    TForm* Form = nullptr;
};

}  // namespace

TEST_F(VodGridCreate, ConstructionSetsTheValuesOfTheTable)
{
    auto* g = CreateGrid<TVodStringGrid>(Form);
    EXPECT_EQ(g->Width(), 400);
    EXPECT_EQ(g->Height(), 250);
    EXPECT_EQ(g->RowCount(), 10);
    EXPECT_EQ(g->ColCount(), 5);
    EXPECT_EQ(g->FixedCols(), 1);
    EXPECT_EQ(g->FixedRows(), 1);
    EXPECT_EQ(g->DefaultRowHeight(), 22);
    EXPECT_EQ(g->FixedRowHeight(), 22);
    EXPECT_FALSE(g->AutoSize());
    // The platform profile is Windows 6.1: XP or later, so the blue border.
    EXPECT_EQ(g->BorderColor(), TColor(0xB99D7F));
    EXPECT_TRUE(g->IsWinXP());
    EXPECT_TRUE(g->IsWin7());
    EXPECT_TRUE(g->IsComCtl6());
    EXPECT_EQ(g->SelectionColor(), TColor(0xEACAB6));
    EXPECT_EQ(g->SelectionColorTo(), clNone);
    EXPECT_EQ(g->SelectionMirrorColor(), clNone);
    EXPECT_EQ(g->SelectionTextColor(), TColor(0));
    EXPECT_EQ(g->SelectionColorMixerFactor(), 50);
    EXPECT_TRUE(g->ShowSelection());
    EXPECT_EQ(g->ActiveCellColor(), TColor(0x808080));
    EXPECT_EQ(g->ActiveCellColorTo(), clNone);
    EXPECT_EQ(g->HintColor(), clInfoBk);
    EXPECT_EQ(g->HighlightColor(), clHighlight);
    EXPECT_EQ(g->HighlightTextColor(), clHighlightText);
    EXPECT_EQ(g->DisabledFontColor(), TColor(0xC0C0C0));
    EXPECT_TRUE(g->UseDisabledFont());
    EXPECT_EQ(g->URLColor(), TColor(0xFF0000));
    EXPECT_EQ(g->QelGradientFrom(), TColor(0xFFFFFF));
    EXPECT_EQ(g->QelGradientTo(), ColorToRGB(clBtnFace));
    EXPECT_EQ(g->QelGradientMirrorFrom(), clNone);
    EXPECT_EQ(g->ScrollType(), ssNormal);
    EXPECT_EQ(g->ScrollColor(), clNone);
    EXPECT_EQ(g->ScrollWidth(), GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(g->VAlignment(), vtaTop);
    EXPECT_EQ(g->DefaultAlignment(), taLeftJustify);
    EXPECT_EQ(g->XYOffset().X, 2);
    EXPECT_EQ(g->XYOffset().Y, 2);
    for (bool b : {g->EnableHTML(), g->HTMLKeepLineBreak(), g->EnableWheel(), g->IntelliZoom(), g->EnhRowColMove(),
                   g->ShowDesignHelper(), g->UseInternalHintClass(), g->FitCellsInGrid(), g->ShowNullDates(),
                   g->WordWrap(), g->AutoFilterUpdate(), g->FilterNormalCellsOnly(), g->FilterDropDownMultiCol(),
                   g->QuoteEmptyCells(), g->QuoteQuoteCells(), g->CSVMultilineCellImport(), g->SaveFixedCells(),
                   g->SaveVirtCells(), g->SaveMergedCells(), g->SaveWithHTML(), g->LoadFirstRow()})
        EXPECT_TRUE(b);
    for (bool b : {g->FilterIncremental(), g->AlwaysQuotes(), g->JavaCSV(), g->ExcelClipboardFormat(),
                   g->NoDefaultDraw(), g->SaveFixedRows(), g->SaveFixedCols()})
        EXPECT_FALSE(b);
    EXPECT_EQ(g->DefaultEditor(), edNormal);
    EXPECT_EQ(g->HoverFixedCells(), hfNone);
    EXPECT_EQ(g->HintShowLargeTextPos(), hpCell);
    EXPECT_EQ(g->InvalidEntryIcon(), ieWarning);
    EXPECT_EQ(g->GroupColumn(), -1);
    EXPECT_EQ(g->CheckTrue(), L"Y");
    EXPECT_EQ(g->CheckFalse(), L"N");
    EXPECT_EQ(g->FloatFormat(), L"%.2f");
    EXPECT_EQ(g->PasswordChar(), L'*');
    EXPECT_EQ(g->FilterDropDownColumns(), fdNormal);
    EXPECT_EQ(g->FilterDropDownClear(), L"(All)");
    EXPECT_EQ(g->Encoding(), TEncoding::UTF8());
    EXPECT_EQ(g->XMLEncoding(), L"ISO-8859-1");
    EXPECT_EQ(g->Delimiter(), L'\0');
    EXPECT_EQ(g->PrintPageFrom(), 1);
    EXPECT_EQ(g->PrintPageTo(), 1);
    EXPECT_EQ(g->PreviewPage(), 1);
    EXPECT_EQ(g->PrintPageCount(), 0);
    EXPECT_EQ(g->DrawingStyle(), gdsClassic);
    EXPECT_TRUE(g->ControlStyle().Contains(csAcceptsControls));
    // Until Loaded the row and column limits are open.
    EXPECT_FALSE(g->GridLoaded());
    EXPECT_EQ(g->FixedRowsMin(), 0);
    // Fonts of the table.
    EXPECT_EQ(g->FixedFont()->Name(), L"Tahoma");
    EXPECT_TRUE(g->FixedFont()->Style().Contains(fsBold));
    EXPECT_TRUE(g->ActiveCellFont()->Style().Contains(fsBold));
    // Owned objects and their set-up.
    EXPECT_TRUE(g->FilterList()->Sorted());
    EXPECT_EQ(g->FilterList()->Duplicates(), dupIgnore);
    EXPECT_FALSE(g->DropList()->Visible());
    EXPECT_EQ(g->DropList()->Parent(), g);
    EXPECT_EQ(g->FilterTypeMenu()->Items()->Count(), 9);
    EXPECT_EQ(g->FilterTypeMenu()->Items()->Items(8)->Caption(), L"Clear");
    EXPECT_EQ(g->FilterTypeMenu()->Items()->Items(8)->ImageIndex(), 8);
    EXPECT_EQ(g->SearchPanel()->Height(), 0);
    EXPECT_TRUE(g->SearchPanel()->DoubleBuffered());
    EXPECT_TRUE(g->FilterDropDown()->TextChecked.empty());
    EXPECT_EQ(g->ComponentStyle(), tsWindowsXP);
    EXPECT_EQ(GridUnit().LinkCursor, crHandPoint);
}

TEST_F(VodGridCreate, RunTimeAndDesignTimeGridsOwnDifferentObjects)
{
    auto* run = CreateGrid<TVodStringGrid>(Form);
    EXPECT_NE(run->FocusWindow(), nullptr);
    for (TArrowWindow* a : {run->ArrowUp(), run->ArrowDown(), run->ArrowLeft(), run->ArrowRight()})
        ASSERT_NE(a, nullptr);
    EXPECT_EQ(run->ArrowLeft()->Dir, arrLeft);
    ASSERT_NE(run->Combobox(), nullptr);
    EXPECT_FALSE(run->Combobox()->Enabled());
    EXPECT_FALSE(run->Combobox()->Visible());
    ASSERT_NE(run->BtnEdit(), nullptr);
    EXPECT_EQ(run->BtnEdit()->ButtonCaption(), L"...");
    EXPECT_EQ(run->BtnUnitEdit()->ButtonCaption(), L"...");
    EXPECT_NE(run->Btn(), nullptr);
    EXPECT_NE(run->FixedEdit(), nullptr);
    EXPECT_NE(run->FixedComboBox(), nullptr);
    EXPECT_NE(run->CheckBoxEditor(), nullptr);
    EXPECT_NE(run->HeaderDragButton(), nullptr);
    EXPECT_NE(run->CellEditControl(), nullptr);
    EXPECT_NE(run->CellComboControl(), nullptr);
    EXPECT_NE(run->CellScrollBar(), nullptr);
    ASSERT_NE(run->ButtonForm(), nullptr);
    EXPECT_EQ(run->ButtonForm()->Width(), 200);
    EXPECT_EQ(run->ButtonForm()->Height(), 22);
    EXPECT_FALSE(run->IsNewlyPlaced());

    // A form being designed: its grid is newly placed.
    auto* designForm = new TForm(Application);
    designForm->Init();
    designForm->SetDesigning(true);
    auto* dg = CreateGrid<TVodStringGrid>(designForm);
    EXPECT_TRUE(dg->IsNewlyPlaced());
    EXPECT_EQ(dg->FocusWindow(), nullptr);
    EXPECT_EQ(dg->ArrowUp(), nullptr);
    EXPECT_EQ(dg->Combobox(), nullptr);
    EXPECT_EQ(dg->BtnEdit(), nullptr);
    EXPECT_EQ(dg->ButtonForm(), nullptr);
    EXPECT_EQ(dg->CellScrollBar(), nullptr);
    EXPECT_EQ(dg->ComponentStyle(), TQelStyle(0));
    EXPECT_EQ(dg->FilterDropDown()->TextChecked, L"Checked");
    EXPECT_EQ(dg->FilterDropDown()->TextUnChecked, L"Unchecked");
    EXPECT_EQ(dg->ActiveCellFont()->Name(), L"Tahoma");
    delete designForm;
}

TEST_F(VodGridCreate, TheFooterPanelComesFromTheDescendantInTheSecondPhase)
{
    auto* g = new TCreateGrid(Form);
    EXPECT_FALSE(g->InitDone());
    // Asking for the panel runs the second phase by itself.
    TFooterPanel* p = g->FooterPanel();
    ASSERT_NE(p, nullptr);
    EXPECT_NE(dynamic_cast<TFooterOfMine*>(p), nullptr);
    EXPECT_EQ(p->Align(), alBottom);
    EXPECT_EQ(p->Height(), 0);
    EXPECT_TRUE(g->InitDone());
    g->Init();
    EXPECT_EQ(g->FooterPanel(), p);
    // Making the window also runs it.
    auto* h = new TCreateGrid(Form);
    h->SetParent(Form);
    Form->Show();
    Drv->Pump();
    EXPECT_TRUE(h->InitDone());
    EXPECT_EQ(h->FooterPanel()->Parent(), h);
}

TEST_F(VodGridCreate, DestroyingFreesEveryBlockOnce)
{
    auto* g = CreateGrid<TVodStringGrid>(Form);
    g->SetParent(Form);
    for (Integer r = 0; r < g->RowCount(); ++r)
        for (Integer c = 0; c < g->ColCount(); ++c) g->GetCellProperties(c, r)->SetBrushColor(clRed);
    g->MergeCells(1, 1, 2, 2);
    g->HideRows(5, 6);
    g->HideColumn(3);
    g->SetRowCount(7);   // rows past the count keep their blocks
    g->SetCellEx(2, 2, L"x");
    delete g;   // the sanitizers see a leak or a double free
}

TEST_F(VodGridCreate, LoadedCompletesTheGrid)
{
    auto* g = new TVodStringGrid(Form);
    g->SetOptions(g->Options() + TGridOptions{goAlwaysShowEditor, goEditing});
    g->ColumnHeaders()->SetText(L"A\nB\nC");
    g->RowHeaders()->SetText(L"h0\nr1\nr2");
    g->SetCursor(crHandPoint);
    g->SetFixedRows(2);
    g->SetColCount(4);
    g->Loaded();
    EXPECT_TRUE(g->InitDone());
    EXPECT_TRUE(g->GridLoaded());
    EXPECT_FALSE(g->Options().Contains(goAlwaysShowEditor));
    EXPECT_TRUE(g->Options().Contains(goEditing));
    EXPECT_TRUE(g->Navigation()->AlwaysEdit());
    EXPECT_EQ(g->Cells(1, 0), L"B");
    EXPECT_EQ(g->Cells(0, 2), L"r2");
    EXPECT_EQ(g->FixedRowsMin(), 2);
    EXPECT_EQ(g->FixedColsMin(), 1);
    EXPECT_EQ(g->MaxRowCount(), 10);
    EXPECT_EQ(g->MaxColCount(), 4);
    EXPECT_EQ(g->SavedCursor(), crHandPoint);
    ASSERT_EQ(g->ColumnOrder()->Count(), 4);
    for (Integer i = 0; i < 4; ++i) EXPECT_EQ(g->ColumnOrder()->GetInteger(i), i);
    EXPECT_EQ(g->DisSelection(), (TGridRect{-1, -1, -1, -1}));
    delete g;
}

TEST_F(VodGridCreate, AssignCopiesAConfiguredGridAndIgnoresOtherSources)
{
    auto* src = CreateGrid<TVodStringGrid>(Form);
    src->SetColCount(7);
    src->SetRowCount(4);
    src->SetColWidths(3, 99);
    src->SetSelectionColor(clLime);
    src->SetCheckTrue(L"yes");
    src->Navigation()->SetAllowInsertRow(true);
    src->Bands()->SetActive(true);
    src->FilterDropDown()->TextChecked = L"on";
    src->LookupItems()->SetText(L"a\nb");
    src->SetIntegralHeight(true);
    src->SetCells(2, 2, L"copied");
    src->GetCellProperties(2, 2)->SetBrushColor(clAqua);

    auto* dst = CreateGrid<TVodStringGrid>(Form);
    dst->Assign(src);
    EXPECT_EQ(dst->ColCount(), 7);
    EXPECT_EQ(dst->RowCount(), 4);
    EXPECT_EQ(dst->ColWidths(3), 99);
    EXPECT_EQ(dst->SelectionColor(), clLime);
    EXPECT_TRUE(dst->Navigation()->AllowInsertRow());
    EXPECT_TRUE(dst->Bands()->Active());
    EXPECT_EQ(dst->FilterDropDown()->TextChecked, L"on");
    EXPECT_EQ(dst->LookupItems()->Count(), 2);
    EXPECT_TRUE(dst->IntegralHeight());
    EXPECT_EQ(dst->Cells(2, 2), L"copied");
    EXPECT_EQ(dst->CellPropertiesOf(2, 2)->BrushColor(), clAqua);
    // CheckTrue is not on the list.
    EXPECT_EQ(dst->CheckTrue(), L"Y");

    auto* other = CreateGrid<TVodStringGrid>(Form);
    TStringList notAGrid;
    other->Assign(&notAGrid);
    EXPECT_EQ(other->ColCount(), 5);
    EXPECT_EQ(other->RowCount(), 10);
    EXPECT_EQ(other->SelectionColor(), TColor(0xEACAB6));
}

TEST_F(VodGridCreate, IntegralHeightRoundsToWholeRows)
{
    auto* g = CreateGrid<TCreateGrid>(Form);
    g->SetParent(Form);
    g->SetBorderStyle(bsSingle);
    g->SetColCount(2);   // all columns fit: no horizontal bar counted
    g->SetIntegralHeight(true);
    g->SetBounds(0, 0, 300, 250);
    EXPECT_EQ(g->Height(), 250 + 2 - (248 % 22));
    g->SetBorderStyle(bsNone);
    g->SetBounds(0, 0, 300, 250);
    EXPECT_EQ(g->Height(), 250 - (250 % 22));
    // Inside an update bracket, or without the switch, heights stay.
    g->BeginUpdate();
    g->SetBounds(0, 0, 300, 251);
    EXPECT_EQ(g->Height(), 251);
    g->EndUpdate();
    g->SetIntegralHeight(false);
    g->SetBounds(0, 0, 300, 253);
    EXPECT_EQ(g->Height(), 253);
    // With a parent window the border is repainted.
    Form->Show();
    Drv->Pump();
    const int before = g->NCBorders;
    g->SetBounds(0, 0, 300, 200);
    EXPECT_GT(g->NCBorders, before);
}

TEST_F(VodGridCreate, InvalidateSkipsOneRepaintAfterAnEditChange)
{
    auto* g = CreateGrid<TVodStringGrid>(Form);
    g->SetParent(Form);
    Form->Show();
    Drv->Pump();
    ValidateRect(g->Handle(), nullptr);
    g->SetEditChange(true);
    g->Invalidate();
    EXPECT_FALSE(g->EditChange());
    TRect r{};
    EXPECT_FALSE(GetUpdateRect(g->Handle(), &r, FALSE));
    g->Invalidate();
    EXPECT_TRUE(GetUpdateRect(g->Handle(), &r, FALSE));
}

TEST_F(VodGridCreate, WindowCreationStartsTheTimerAndTheWheel)
{
    auto* g = CreateGrid<TVodStringGrid>(Form);
    g->SetParent(Form);
    Form->Show();
    Drv->Pump();
    EXPECT_EQ(g->GridTimerID(), 111);
    EXPECT_EQ(g->WheelMsg(), UINT(WM_MOUSEWHEEL));
    UINT lines = 0;
    SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    EXPECT_EQ(g->WheelScrollLines(), Integer(lines));
    EXPECT_DOUBLE_EQ(g->DPIScale(), Screen->PixelsPerInch() / 96.0);
    // The cell scroll bars are made vertical, hidden and parented.
    EXPECT_EQ(g->CellScrollBar()->Parent(), g);
    EXPECT_EQ(g->CellScrollBar()->Kind(), sbVertical);
    EXPECT_FALSE(g->CellScrollBar()->Visible());
    EXPECT_FALSE(g->CellScrollBar()->TabStop());
    // The search panel: hidden with height 0 until the footer shows.
    EXPECT_EQ(g->SearchPanel()->Parent(), g);
    EXPECT_FALSE(g->SearchPanel()->Visible());
}

TEST_F(VodGridCreate, TheUnitStartsOnceWithItsRegistrations)
{
    ASSERT_TRUE(VodGridStarted());
    const TGridUnitState before = GridUnit();
    EXPECT_NE(before.Hook, nullptr);
    EXPECT_EQ(before.CellsClipboardFormat, RegisterClipboardFormat(L"TVodStringGrid Cells"));
    EXPECT_EQ(before.GridEditDone, RegisterWindowMessage(L"GridEditDone"));
    EXPECT_EQ(before.GridEditShow, RegisterWindowMessage(L"GridEditShow"));
    EXPECT_EQ(before.GridEditProp, RegisterWindowMessage(L"GridEditProp"));
    EXPECT_EQ(before.DTPShiftFocus, RegisterWindowMessage(L"DTPShiftFocus"));
    EXPECT_NE(before.GridEditDone, before.GridEditShow);
    EXPECT_TRUE(before.ComCtl470);
    // A second start-up changes nothing: the hook stays the one installed.
    VodGridStartup();
    EXPECT_EQ(GridUnit().Hook, before.Hook);
    // The classes stream by name.
    EXPECT_NE(FindClass(L"TVodStringGrid"), nullptr);
    EXPECT_NE(FindClass(L"TSearchPanel"), nullptr);
}

TEST_F(VodGridCreate, FileVersionAndSeparators)
{
    const Integer v = GetFileVersionMS(L"comctl32.dll");
    EXPECT_EQ(v >> 16, 6);
    EXPECT_EQ(GetFileVersionMS(L"/no/such/file.dll"), -1);
    EXPECT_EQ(GetFileVersionMS(L""), -1);
    EXPECT_EQ(GridDecimalSeparator(), FormatSettings.DecimalSeparator);
    EXPECT_EQ(GridThousandSeparator(), FormatSettings.ThousandSeparator);
    EXPECT_EQ(GridShortDateFormat(), FormatSettings.ShortDateFormat);
    const wchar_t keep = FormatSettings.DecimalSeparator;
    FormatSettings.DecimalSeparator = L',';
    EXPECT_EQ(GridDecimalSeparator(), L',');
    FormatSettings.DecimalSeparator = keep;
}

TEST_F(VodGridCreate, TheHookMovesTheShownFocusFrameWhenAWindowMoves)
{
    struct TFrameGrid : TVodStringGrid {
        explicit TFrameGrid(TComponent* o) : TVodStringGrid(o) {}
        int Moves = 0;
        void MoveFocusWindow() override { ++Moves; }
    };
    // Each test's headless driver starts a window manager of its own: the
    // unit starts again on it (the hook is installed once per start-up).
    VodGridShutdown();
    EXPECT_EQ(GridUnit().Hook, nullptr);
    VodGridStartup();
    ASSERT_NE(GridUnit().Hook, nullptr);
    auto* g = CreateGrid<TFrameGrid>(Form);
    g->SetParent(Form);
    Form->Show();
    Drv->Pump();
    Form->SetBounds(10, 10, 600, 400);
    EXPECT_EQ(g->Moves, 0);   // no frame shown: nothing to move
    GridUnit().FocusFrameGrid = g;
    Form->SetBounds(20, 20, 600, 400);
    EXPECT_GT(g->Moves, 0);
    delete g;   // a grid going away is no longer the frame's grid
    EXPECT_EQ(GridUnit().FocusFrameGrid, nullptr);
}
