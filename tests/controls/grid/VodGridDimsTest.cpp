// The string grid's dimension setters, footer rows and the floating
// footer's calculations; the look presets; the combo editor's item list and
// the dialog codes.
#include <gtest/gtest.h>

#include "controls/grid/GridFooter.h"
#include "controls/grid/VodGrid.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/backend/Headless.h"

namespace {

// A grid whose loading state a test sets.
class TDimsGrid : public TVodStringGrid {
public:
    explicit TDimsGrid(TComponent* o) : TVodStringGrid(o) {}
    void SetLoadingState(bool v)
    {
        if (v)
            FComponentState.Include(csLoading);
        else
            FComponentState.Exclude(csLoading);
    }
};

}  // namespace

TEST(GridDimsTest, FixedRowAlwaysKeepsOneFixedAndOneNormalRow)
{
    TDimsGrid g(nullptr);
    g.SetFixedRowAlways(true);
    g.SetRowCount(4);
    g.SetFixedRows(4);
    EXPECT_EQ(g.FixedRows(), 3);
    g.SetFixedRows(0);
    EXPECT_EQ(g.TCustomGrid::FixedRows(), 0);
    EXPECT_EQ(g.FixedRows(), 1);
    EXPECT_EQ(g.FixedRowsMin(), 0);

    // The fixed rows asked for come back when the grid grows again.
    g.SetFixedRows(2);
    g.SetRowCount(2);
    g.SetRowCount(6);
    EXPECT_EQ(g.TCustomGrid::FixedRows(), 2);
    EXPECT_EQ(g.MaxRowCount(), 10);

    g.SetFixedColAlways(true);
    g.SetFixedCols(g.ColCount());
    EXPECT_EQ(g.FixedCols(), g.ColCount() - 1);
}

TEST(GridDimsTest, SizesOfFixedLinesTopRowAndColumnArrays)
{
    TDimsGrid g(nullptr);
    const Integer w0 = g.ColWidths(0);
    g.SetFixedColWidth(g.DefaultColWidth());  // the default width: nothing
    EXPECT_EQ(g.FixedColWidth(), w0);
    g.SetFixedColWidth(30);
    EXPECT_EQ(g.FixedColWidth(), 30);
    EXPECT_EQ(g.ColWidths(1), g.DefaultColWidth());
    g.SetFixedRowHeight(40);
    EXPECT_EQ(g.RowHeights(0), 40);
    EXPECT_EQ(g.FixedRowHeight(), 40);

    g.SetColCount(8);
    EXPECT_EQ(g.MaxColCount(), 8);
    g.HideColumn(2);
    g.SetColCount(9);
    EXPECT_EQ(g.TotalColCount(), 10);
    EXPECT_TRUE(g.IsHiddenColumn(2));

    g.SetRowCount(30);
    g.SetTopRow(0);  // a fixed row: ignored
    EXPECT_EQ(g.TopRow(), 1);
    g.SetTopRow(30);  // past the rows: ignored
    EXPECT_EQ(g.TopRow(), 1);
}

TEST(GridDimsTest, RowSetterReportsChangesAndMovesTheSynchronisedGrid)
{
    TDimsGrid g(nullptr), other(nullptr);
    g.SetRowCount(10);
    other.SetRowCount(10);
    std::vector<std::pair<Integer, Integer>> changes;
    g.OnRowChanged = [&](TObject*, Integer o, Integer n) { changes.push_back({o, n}); };
    g.SyncGrid()->SetGrid(&other);
    g.SyncGrid()->SetSelectionRow(true);
    // Two grids following each other stop after one round.
    other.SyncGrid()->SetGrid(&g);
    other.SyncGrid()->SetSelectionRow(true);
    g.SetRow(4);
    g.SetRow(4);
    g.SetRow(6);
    EXPECT_EQ(changes, (std::vector<std::pair<Integer, Integer>>{{-1, 4}, {4, 6}}));
    EXPECT_EQ(other.Row(), 6);
    EXPECT_EQ(g.DisSelection(), g.Selection());
    g.SyncGrid()->SetGrid(nullptr);
    other.SyncGrid()->SetGrid(nullptr);
}

TEST(GridDimsTest, GrowingKeepsTheFloatingFooterRowLast)
{
    TDimsGrid g(nullptr);
    g.SetRowCount(4);
    g.FloatingFooter()->SetVisible(true);
    g.SetCellEx(1, 3, L"total");
    g.GetCellProperties(1, 3)->SetBrushColor(clRed);
    TCellProperties* block = g.CellPropertiesOf(1, 3);
    g.SetRowCount(6);
    EXPECT_EQ(g.GetGridCell(1, 5), L"total");
    EXPECT_EQ(g.CellPropertiesOf(1, 5), block);
    EXPECT_EQ(block->OwnerRow(), 5);
    EXPECT_EQ(g.GetGridCell(1, 3), L"");
    EXPECT_EQ(g.CellPropertiesOf(1, 3), nullptr);
}

TEST(GridDimsTest, FooterCalculationCountsAndAsksForCustomValues)
{
    TDimsGrid g(nullptr);
    g.SetRowCount(5);  // one fixed row, three normal rows, the footer row
    g.FloatingFooter()->SetVisible(true);
    g.GetCellProperties(1, 4)->FCalcType = acCOUNT;
    g.GetCellProperties(2, 4)->FCalcType = acCUSTOM;
    g.GetCellProperties(3, 4)->FCalcType = acNONE;
    g.SetCellEx(3, 4, L"kept");
    std::vector<std::pair<Integer, Integer>> asked;
    g.OnFooterCalc = [&](TObject*, Integer c, Integer r, String& v) {
        asked.push_back({c, r});
        v = L"custom";
    };
    g.CalcFooter(-1);
    EXPECT_EQ(g.GetGridCell(1, 4), L"3");
    EXPECT_EQ(g.GetGridCell(2, 4), L"custom");
    EXPECT_EQ(g.GetGridCell(3, 4), L"kept");
    EXPECT_EQ(asked, (std::vector<std::pair<Integer, Integer>>{{2, 4}}));

    // Without the floating footer nothing is calculated.
    g.SetCellEx(1, 4, L"x");
    g.FloatingFooter()->SetVisible(false);
    g.CellsChanged(TRect{0, 0, 1, 1});
    EXPECT_EQ(g.GetGridCell(1, 4), L"x");
}

TEST(GridLookPresetTest, PresetsSetTheirColoursAndTheSameLookDoesNothing)
{
    TDimsGrid g(nullptr);
    g.SetLook(glStandard);
    EXPECT_EQ(g.SelectionColor(), clHighlight);
    EXPECT_EQ(g.ActiveCellColor(), TColor(0x808080));
    EXPECT_EQ(g.FixedColor(), clBtnFace);
    EXPECT_EQ(g.ControlLook()->FixedGradientFrom(), clBtnFace);
    EXPECT_EQ(g.SearchFooter()->Color(), clBtnFace);

    g.SetLook(glXP);
    EXPECT_EQ(g.SelectionColor(), TColor(0xEACAB6));
    EXPECT_EQ(g.SearchFooter()->Color(), clNone);
    EXPECT_EQ(g.ControlLook()->FixedGradientFrom(), TColor(0xFFFFFF));
    EXPECT_EQ(g.ControlLook()->FixedGradientTo(), clBtnFace);
    EXPECT_EQ(g.ControlLook()->FixedGradientHoverMirrorTo(), TColor(0xABBCBF));
    EXPECT_EQ(g.ControlLook()->FixedGradientDownMirrorTo(), TColor(0x627376));
    EXPECT_EQ(g.GridLineColor(), TColor(0xC0C0C0));
    EXPECT_EQ(g.GridFixedLineColor(), TColor(0x808080));
    EXPECT_EQ(g.BorderColor(), TColor(0xB99D7F));
    EXPECT_EQ(g.SelectionStyle(), ssDefault);

    g.SetLook(glQel);
    EXPECT_EQ(g.ControlLook()->FixedGradientFrom(), TColor(0xFFFFFF));
    EXPECT_EQ(g.ControlLook()->FixedGradientTo(), TColor(0xC0C0C0));

    // The same look again leaves changed colours alone.
    g.SetSelectionColor(clRed);
    g.SetLook(glQel);
    EXPECT_EQ(g.SelectionColor(), clRed);

    // The custom look keeps every colour and only resets the scroll type.
    g.FScrollType = ssMetro;
    g.SetBorderColor(clGreen);
    g.SetLook(glCustom);
    EXPECT_EQ(g.SelectionColor(), clRed);
    EXPECT_EQ(g.BorderColor(), clGreen);
    EXPECT_EQ(g.ControlLook()->FixedGradientTo(), TColor(0xC0C0C0));
    EXPECT_EQ(g.ScrollType(), ssNormal);

    // A styled look applies its grid style.
    g.SetLook(glWin7);
    EXPECT_EQ(g.SelectionStyle(), ssWin7);
    EXPECT_EQ(g.SelectionColor(), TColor(0xEACAB6));
    EXPECT_EQ(g.ComponentStyle(), tsWindows7);
}

TEST(GridLookPresetTest, ALoadingGridTakesOnlyPartOfThePreset)
{
    TDimsGrid g(nullptr);
    g.SetLook(glCustom);
    g.SetSelectionColor(clRed);
    g.SetGridLineColor(clBlue);
    g.ControlLook()->SetFixedGradientFrom(clGreen);
    g.SetBorderColor(clGreen);
    g.SetSelectionStyle(ssVista);
    g.SetLoadingState(true);
    g.SetLook(glXP);
    g.SetLoadingState(false);
    EXPECT_EQ(g.ControlLook()->FixedGradientFrom(), clNone);  // cleared
    EXPECT_EQ(g.QelGradientFrom(), clNone);
    EXPECT_EQ(g.SelectionStyle(), ssDefault);
    EXPECT_EQ(g.BorderColor(), TColor(0xB99D7F));
    EXPECT_EQ(g.SelectionColor(), clRed);  // left as it was
    EXPECT_EQ(g.GridLineColor(), clBlue);
}

TEST(GridComboListTest, ItemsSelectionAndCellIndexes)
{
    TDimsGrid g(nullptr);
    g.AddComboString(L"red");
    g.AddComboString(L"green");
    g.AddComboStringObject(L"blue", &g);
    EXPECT_EQ(g.GetComboCount(), 3);
    EXPECT_FALSE(g.RemoveComboString(L"black"));
    EXPECT_EQ(g.GetComboCount(), 3);
    EXPECT_TRUE(g.RemoveComboString(L"green"));
    EXPECT_EQ(g.GetComboCount(), 2);

    EXPECT_FALSE(g.SetComboSelectionString(L"green"));
    EXPECT_EQ(g.ComboSelection(), -1);
    EXPECT_TRUE(g.SetComboSelectionString(L"blue"));
    EXPECT_EQ(g.ComboSelection(), 1);
    EXPECT_FALSE(g.ForceComboSelection());
    g.SetComboSelection(0);
    EXPECT_TRUE(g.ForceComboSelection());

    int hooks = 0;
    g.OnGetEditorProp = [&](TObject*, Integer c, Integer r, TObject*) {
        ++hooks;
        EXPECT_EQ(c, 2);
        EXPECT_EQ(r, 3);
    };
    g.SetComboIndex(2, 3, 1);
    EXPECT_EQ(g.GetCellEx(2, 3), L"blue");
    EXPECT_EQ(g.GetComboIndex(2, 3), 1);
    g.SetCellEx(2, 3, L"white");
    EXPECT_EQ(g.GetComboIndex(2, 3), -1);
    EXPECT_EQ(hooks, 3);
    g.ClearComboString();
    EXPECT_EQ(g.GetComboCount(), 0);
}

TEST(GridDialogCodeTest, CharactersWantedWithoutEditing)
{
    TDimsGrid g(nullptr);
    TGridOptions o = g.Options();
    o.Include(goEditing);
    o.Include(goTabs);
    g.SetOptions(o);
    LRESULT r = g.Perform(WM_GETDLGCODE);
    EXPECT_TRUE(r & DLGC_WANTTAB);
    o.Exclude(goEditing);
    g.SetOptions(o);
    r = g.Perform(WM_GETDLGCODE);
    EXPECT_TRUE(r & DLGC_WANTCHARS);
}

TEST(GridDialogCodeTest, CtrlTabLeavesAGridThatTakesTab)
{
    auto drv = std::make_unique<THeadlessDriver>();
    InitForms();
    {
        TDimsGrid g(nullptr);
        TGridOptions o = g.Options();
        o.Include(goTabs);
        g.SetOptions(o);
        EXPECT_TRUE(g.Perform(WM_GETDLGCODE) & DLGC_WANTTAB);
        drv->KeyDown(VK_CONTROL);
        EXPECT_FALSE(g.Perform(WM_GETDLGCODE) & DLGC_WANTTAB);
        drv->KeyUp(VK_CONTROL);
        EXPECT_TRUE(g.Perform(WM_GETDLGCODE) & DLGC_WANTTAB);
    }
    DoneForms();
}

TEST(GridSelectionTest, RowCountLeavesOutFixedFootersUnlessTheFloatingFooterShows)
{
    TDimsGrid g(nullptr);
    g.SetRowCount(8);
    g.SetFixedFooters(2);
    g.SetSelection({1, 3, 1, 7});
    EXPECT_EQ(g.SelectedRowCount(), 3);  // rows 3 to 5
    g.FloatingFooter()->SetVisible(true);
    EXPECT_EQ(g.SelectedRowCount(), 5);

    g.ModifiedRows()->Add(3);
    g.ClearModifiedRows();
    EXPECT_EQ(g.ModifiedRows()->Count(), 0);
}
