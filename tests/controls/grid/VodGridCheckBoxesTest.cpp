// Check boxes and radio buttons in cells: adding per kind and per column, the
// cell test, state read and written per kind (hidden rows too), the notifying
// set, toggles with the editability rule, three-state cycles, group
// propagation over an outline, undo and redo of a toggle, radio runs and
// the precise hit test.
#include <gtest/gtest.h>

#include "GridRowsSupport.h"

namespace {

class VodGridCheckBoxes : public GridRowsFixture {
protected:
    void SetUp() override
    {
        GridRowsFixture::SetUp();
        Grid->OnCheckBoxChange = [this](TObject*, Integer c, Integer r, bool s) {
            Changes.push_back(IntToStr(c) + L"," + IntToStr(r) + (s ? L"+" : L"-"));
        };
    }
    TCheckBoxState Tri(Integer c, Integer r)
    {
        TCheckBoxState s = cbGrayed;
        EXPECT_TRUE(Grid->GetCheckBoxState(c, r, s));
        return s;
    }
    std::vector<String> Changes;
};

}  // namespace

TEST_F(VodGridCheckBoxes, AddingGivesEachKindItsGraphicAndADataCheckBoxItsText)
{
    Grid->SetVAlignment(vtaCenter);
    Grid->AddCheckBox(1, 1, true, false);
    const TCellGraphic* g = Grid->GetCellGraphic(1, 1);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->CellType(), ctCheckBox);
    EXPECT_TRUE(g->CellBoolean());
    EXPECT_TRUE(g->CellTransparent());
    EXPECT_EQ(g->CellHAlign(), haBeforeText);
    EXPECT_EQ(g->CellVAlign(), vaCenter);
    Grid->AddCheckBox(1, 2, cbGrayed);
    EXPECT_EQ(Grid->GetCellType(1, 2), ctTriStateCheckBox);
    EXPECT_EQ(Grid->GetCellGraphic(1, 2)->CellCheckBoxState(), cbGrayed);
    Grid->AddRadioButton(1, 3, true);
    EXPECT_TRUE(Grid->HasRadioButtonGroup(1, 3, rgCol));
    Grid->AddRadioButtonGroup(1, 4, rgRow);
    EXPECT_TRUE(Grid->HasRadioButtonGroup(1, 4, rgRow));
    EXPECT_FALSE(Grid->IsRadioButtonChecked(1, 4));

    // A data check box: a text that is neither check text takes the state's
    // text; a check text stays whatever the state.
    struct Case {
        const wchar_t* before;
        bool state;
        const wchar_t* after;
    };
    for (const Case& c : {Case{L"", true, L"Y"}, Case{L"abc", false, L"N"}, Case{L"N", true, L"N"},
                          Case{L"Y", false, L"Y"}}) {
        Grid->SetCells(2, 5, c.before);
        Grid->AddCheckBox(2, 5, c.state, true);
        EXPECT_EQ(Grid->Cells(2, 5), c.after) << c.before;
        EXPECT_EQ(Grid->GetCellType(2, 5), ctDataCheckBox);
    }
}

TEST_F(VodGridCheckBoxes, CellsOutsideTheGridAreRefusedHiddenOnesCount)
{
    Grid->HideRows(2, 3);
    Grid->HideColumn(3);
    ASSERT_EQ(Grid->RowCount(), 8);
    ASSERT_EQ(Grid->ColCount(), 4);
    using Add = std::function<void(Integer, Integer)>;
    const std::vector<Add> adds{
        [&](Integer c, Integer r) { Grid->AddCheckBox(c, r, false, false); },
        [&](Integer c, Integer r) { Grid->AddCheckBox(c, r, cbChecked); },
        [&](Integer c, Integer r) { Grid->AddRadioButton(c, r); },
        [&](Integer c, Integer r) { Grid->AddRadioButtonGroup(c, r, rgRow); },
    };
    for (size_t i = 0; i < adds.size(); ++i) {
        for (auto [c, r] : {std::pair{-1, 1}, std::pair{1, -1}, std::pair{5, 1}, std::pair{1, 10}}) {
            try {
                adds[i](c, r);
                ADD_FAILURE() << "no exception for " << i << " at " << c << "," << r;
            } catch (const EVodGridError& e) {
                EXPECT_EQ(e.Message(), L"Invalid cell");
            }
        }
        EXPECT_NO_THROW(adds[i](4, 9)) << i;
    }
}

TEST_F(VodGridCheckBoxes, ColumnsSkipSummaryAndFooterRowsAndGiveNodeRowsThreeStates)
{
    Grid->SetFixedFooters(1);
    Grid->AddNode(3, 2);
    Grid->SetSummaryRow(5);
    Grid->AddCheckBoxColumn(1, true, false);
    EXPECT_FALSE(Grid->HasCheckBox(1, 0));
    EXPECT_EQ(Grid->GetCellType(1, 3), ctTriStateCheckBox);
    EXPECT_EQ(Tri(1, 3), cbChecked);
    EXPECT_EQ(Grid->GetCellType(1, 4), ctCheckBox);
    EXPECT_FALSE(Grid->HasCheckBox(1, 5));
    EXPECT_TRUE(Grid->HasCheckBox(1, 8));
    EXPECT_FALSE(Grid->HasCheckBox(1, 9));
    Grid->MouseActions()->SetCheckAllCheck(true);
    Grid->AddCheckBoxColumn(3, false, true);
    EXPECT_TRUE(Grid->HasDataCheckBox(3, 0));
    EXPECT_TRUE(Grid->IsDataCheckBoxColumn(3));
    EXPECT_FALSE(Grid->IsDataCheckBoxColumn(1));
    Grid->RemoveCheckBoxColumn(1);
    for (Integer r = 0; r < 10; ++r) EXPECT_FALSE(Grid->HasCheckBox(1, r)) << r;
    EXPECT_TRUE(Grid->IsNode(3));
    Grid->AddTriStateCheckBoxColumn(2, cbGrayed);
    EXPECT_EQ(Tri(2, 9), cbGrayed);

    Grid->AddRadioButtonColumn(4);
    EXPECT_FALSE(Grid->HasRadioButton(4, 0));
    EXPECT_TRUE(Grid->HasRadioButtonGroup(4, 9, rgCol));
    Grid->AddRadioButtonGroupColumn(4);
    EXPECT_TRUE(Grid->HasRadioButtonGroup(4, 3, rgRow));
    Grid->RemoveRadioButtonColumn(4);
    EXPECT_FALSE(Grid->HasRadioButton(4, 3));
}

TEST_F(VodGridCheckBoxes, StatesAreReadAndWrittenWhereEachKindKeepsThemAlsoInHiddenRows)
{
    Grid->AddCheckBox(1, 4, false, false);
    Grid->AddCheckBox(2, 4, false, true);
    Grid->AddCheckBox(3, 4, cbUnchecked);
    Grid->SetCells(4, 4, L"plain");
    for (bool hidden : {false, true}) {
        if (hidden) Grid->HideRows(3, 5);
        for (Integer c : {1, 2, 3}) {
            bool b = true;
            ASSERT_TRUE(Grid->SetCheckBoxState(c, 4, true)) << c;
            EXPECT_TRUE(Grid->GetCheckBoxState(c, 4, b) && b) << c << hidden;
            EXPECT_TRUE(Grid->IsChecked(c, 4)) << c;
            ASSERT_TRUE(Grid->SetCheckBoxState(c, 4, false));
            EXPECT_TRUE(Grid->GetCheckBoxState(c, 4, b) && !b) << c << hidden;
        }
        EXPECT_EQ(Grid->AllCells(2, 4), L"N");
        bool b = false;
        EXPECT_FALSE(Grid->GetCheckBoxState(4, 4, b));
        EXPECT_FALSE(Grid->SetCheckBoxState(4, 4, true));
        EXPECT_FALSE(Grid->IsChecked(4, 4));
        EXPECT_TRUE(Grid->SetCheckBoxState(3, 4, cbGrayed));
        EXPECT_EQ(Tri(3, 4), cbGrayed);
        EXPECT_FALSE(Grid->SetCheckBoxState(1, 4, cbGrayed));
    }
    // The hidden row came back with the states set while it was hidden.
    Grid->UnHideRows(3, 5);
    Grid->SetCheckBoxState(2, 4, true);
    Grid->UnHideRowsAll();
    EXPECT_EQ(Grid->Cells(2, 4), L"Y");
    EXPECT_EQ(Grid->GetCellGraphic(3, 4)->CellCheckBoxState(), cbGrayed);

    // Column 0's row check boxes read and write the row selection.
    Grid->MouseActions()->SetHotmailRowSelect(true);
    EXPECT_TRUE(Grid->HasCheckBox(0, 6));
    EXPECT_TRUE(Grid->SetCheckBoxState(0, 6, true));
    EXPECT_TRUE(Grid->RowSelect(6));
    EXPECT_TRUE(Grid->IsChecked(0, 6));
    EXPECT_FALSE(Grid->IsChecked(0, 7));
    EXPECT_EQ(TVodStringGrid::BoolToCheckBoxState(true), cbChecked);
    EXPECT_EQ(TVodStringGrid::BoolToCheckBoxState(false), cbUnchecked);
}

TEST_F(VodGridCheckBoxes, CheckAllTellsOnlyRealChanges)
{
    Grid->AddCheckBox(1, 1, true, false);
    Grid->AddCheckBox(1, 2, false, false);
    Grid->AddCheckBox(1, 3, false, true);
    Grid->AddCheckBox(1, 4, cbGrayed);
    Grid->CheckAll(1);
    EXPECT_EQ(Changes, (std::vector<String>{L"1,2+", L"1,3+"}));
    EXPECT_EQ(Tri(1, 4), cbChecked);
    Changes.clear();
    Grid->CheckAll(1);
    EXPECT_TRUE(Changes.empty());
    Grid->UnCheckAll(1);
    EXPECT_EQ(Changes, (std::vector<String>{L"1,1-", L"1,2-", L"1,3-"}));
    EXPECT_EQ(Grid->Cells(1, 3), L"N");
    EXPECT_EQ(Tri(1, 4), cbUnchecked);
    // Setting without notification tells nothing.
    Changes.clear();
    Grid->SetCheckBoxState(1, 1, true);
    EXPECT_TRUE(Changes.empty());
}

TEST_F(VodGridCheckBoxes, TogglesFollowTheEditabilityRuleAndTheVeto)
{
    Grid->AddCheckBox(1, 1, false, false);
    Grid->AddCheckBox(2, 1, false, true);
    // Without goEditing the cell is not editable: a user's toggle does
    // nothing, a program's toggle works.
    EXPECT_FALSE(Grid->ToggleCellCheckBox(1, 1, true));
    EXPECT_FALSE(Grid->IsChecked(1, 1));
    EXPECT_TRUE(Grid->ToggleCheckBox(1, 1));
    EXPECT_TRUE(Grid->IsChecked(1, 1));
    Grid->ControlLook()->SetCheckAlwaysActive(true);
    EXPECT_TRUE(Grid->ToggleCellCheckBox(1, 1, true));
    EXPECT_FALSE(Grid->IsChecked(1, 1));
    EXPECT_TRUE(Grid->ToggleCellCheckBox(2, 1, true));
    EXPECT_EQ(Grid->Cells(2, 1), L"Y");
    EXPECT_EQ(Changes, (std::vector<String>{L"1,1+", L"1,1-", L"2,1+"}));
    bool asked = false;
    Grid->OnCheckBoxCanToggle = [&](TObject*, Integer c, Integer r, bool, bool& Allow) {
        asked = c == 1 && r == 1;
        Allow = false;
    };
    EXPECT_FALSE(Grid->ToggleCheckBox(1, 1));
    EXPECT_TRUE(asked);
    EXPECT_FALSE(Grid->IsChecked(1, 1));
    Grid->OnCheckBoxCanToggle = nullptr;
    // Cells without a check box do not toggle.
    EXPECT_FALSE(Grid->ToggleCheckBox(3, 3));
    Grid->AddRadioButton(3, 3);
    EXPECT_FALSE(Grid->ToggleCheckBox(3, 3));
}

TEST_F(VodGridCheckBoxes, ThreeStateCyclesDependOnTheRowAndTheNavigationSetting)
{
    Grid->AddNode(6, 2);
    struct Case {
        Integer row;
        TToggleTriStateCheck mode;
        TCheckBoxState start;
        std::vector<TCheckBoxState> cycle;
    };
    for (const Case& c : {Case{2, tsAllStates, cbUnchecked, {cbGrayed, cbChecked, cbUnchecked}},
                          Case{2, tsCheckUnCheck, cbUnchecked, {cbChecked, cbUnchecked, cbChecked}},
                          Case{2, tsCheckUnCheck, cbGrayed, {cbChecked, cbUnchecked}},
                          Case{6, tsAllStates, cbUnchecked, {cbChecked, cbUnchecked, cbChecked}},
                          Case{6, tsAllStates, cbGrayed, {cbChecked, cbUnchecked}}}) {
        Grid->Navigation()->SetToggleTriStateCheck(c.mode);
        Grid->AddCheckBox(2, c.row, c.start);
        for (size_t i = 0; i < c.cycle.size(); ++i) {
            Grid->ToggleCheckBox(2, c.row);
            EXPECT_EQ(Tri(2, c.row), c.cycle[i]) << "row " << c.row << " step " << i;
        }
    }
}

TEST_F(VodGridCheckBoxes, AGroupsCheckBoxesFollowTheNodeAndTheNodeItsChildren)
{
    Grid->Grouping()->SetAutoCheckGroup(true);
    Grid->FGroupColumn = 1;
    Grid->AddNode(2, 4);  // node row 2, children 3..5
    Grid->AddCheckBox(1, 2, cbUnchecked);
    for (Integer r = 3; r <= 5; ++r) Grid->AddCheckBox(1, r, false, false);
    Grid->ToggleCheckBox(1, 3);
    EXPECT_EQ(Tri(1, 2), cbGrayed);
    Grid->ToggleCheckBox(1, 4);
    Grid->ToggleCheckBox(1, 5);
    EXPECT_EQ(Tri(1, 2), cbChecked);
    Grid->ToggleCheckBox(1, 4);
    EXPECT_EQ(Tri(1, 2), cbGrayed);
    // The node row sets every child, also while they are contracted.
    Grid->ContractNode(2);
    Grid->ToggleCheckBox(1, 2);
    EXPECT_EQ(Tri(1, 2), cbChecked);
    for (Integer r = 3; r <= 5; ++r) EXPECT_TRUE(Grid->IsChecked(1, r)) << r;
    Grid->ExpandNode(2);
    Grid->ToggleCheckBox(1, 2);
    for (Integer r = 3; r <= 5; ++r) EXPECT_FALSE(Grid->IsChecked(1, r)) << r;
    Grid->ToggleCheckBox(1, 5);
    Grid->ToggleCheckBox(1, 5);
    EXPECT_EQ(Tri(1, 2), cbUnchecked);
    // Without grouping nothing propagates.
    Grid->FGroupColumn = -1;
    Grid->ToggleCheckBox(1, 3);
    EXPECT_EQ(Tri(1, 2), cbUnchecked);
}

TEST_F(VodGridCheckBoxes, AToggleIsUndoneAndRedoneThroughItsCheckBox)
{
    auto* undo = new TVodGridUndoRedo(Form);
    Grid->SetUndoRedo(undo);
    Grid->AddCheckBox(1, 1, false, false);
    Grid->AddCheckBox(2, 1, false, true);
    Grid->ToggleCheckBox(1, 1);
    Grid->ToggleCheckBox(2, 1);
    ASSERT_TRUE(undo->CanUndo());
    undo->Undo();
    EXPECT_EQ(Grid->Cells(2, 1), L"N");
    undo->Undo();
    EXPECT_FALSE(Grid->IsChecked(1, 1));
    // The graphic keeps the state; the text is left alone.
    EXPECT_EQ(Grid->Cells(1, 1), L"");
    undo->Redo();
    EXPECT_TRUE(Grid->IsChecked(1, 1));
    EXPECT_EQ(Grid->Cells(1, 1), L"");
    undo->Redo();
    EXPECT_EQ(Grid->Cells(2, 1), L"Y");
}

TEST_F(VodGridCheckBoxes, ARadioButtonClearsOnlyTheAdjacentRunOfItsGroup)
{
    for (Integer r : {1, 2, 3, 4, 6, 7}) Grid->AddRadioButton(1, r, r == 1 || r == 6);
    EXPECT_EQ(Grid->GetRadioButtonColumnIndex(1), 1);
    EXPECT_TRUE(Grid->ToggleCellRadio(1, 3, false));
    for (Integer r : {1, 2, 4}) EXPECT_FALSE(Grid->IsRadioButtonChecked(1, r)) << r;
    EXPECT_TRUE(Grid->IsRadioButtonChecked(1, 3));
    EXPECT_TRUE(Grid->IsRadioButtonChecked(1, 6));
    // A checked one stays checked.
    EXPECT_TRUE(Grid->ToggleCellRadio(1, 3, false));
    EXPECT_TRUE(Grid->IsRadioButtonChecked(1, 3));
    // Along a row; a lone radio button clears nothing.
    for (Integer c = 1; c <= 4; ++c) Grid->AddRadioButtonGroup(c, 8, rgRow, true);
    Grid->AddRadioButtonGroup(2, 9, rgNone, true);
    Grid->AddRadioButtonGroup(3, 9, rgNone, true);
    EXPECT_TRUE(Grid->ToggleCellRadio(2, 8, false));
    EXPECT_EQ(Grid->IsRadioButtonChecked(1, 8), false);
    EXPECT_EQ(Grid->IsRadioButtonChecked(2, 8), true);
    EXPECT_EQ(Grid->IsRadioButtonChecked(3, 8), false);
    EXPECT_EQ(Grid->IsRadioButtonChecked(4, 8), false);
    Grid->ToggleCellRadio(2, 9, false);
    EXPECT_TRUE(Grid->IsRadioButtonChecked(3, 9));
    // A user's click follows the editability rule.
    EXPECT_FALSE(Grid->ToggleCellRadio(1, 4, true));
    EXPECT_FALSE(Grid->ToggleCellRadio(0, 0, false));
    // Index setters.
    for (Integer c = 1; c <= 4; ++c) Grid->AddRadioButtonGroup(c, 5, rgRow, true);
    Grid->SetRadioButtonRowIndex(5, 3);
    for (Integer c = 1; c <= 4; ++c) EXPECT_EQ(Grid->IsRadioButtonChecked(c, 5), c == 3) << c;
    Grid->SetRadioButtonColumnIndex(1, 7);
    EXPECT_EQ(Grid->GetRadioButtonColumnIndex(1), 7);
    EXPECT_FALSE(Grid->SetRadioButtonState(0, 1, true));
}

TEST_F(VodGridCheckBoxes, QueriesOfClickableAndDataCells)
{
    Grid->AddCheckBox(1, 1, false, true);
    Grid->AddButton(2, 1, 20, 20, L"b", haLeft, vaTop);
    Grid->AddRadioButton(3, 1);
    Grid->AddCheckBox(4, 1, cbChecked);
    EXPECT_TRUE(Grid->IsClickControlCell(1, 1));
    EXPECT_TRUE(Grid->IsClickControlCell(2, 1));
    EXPECT_TRUE(Grid->IsClickControlCell(3, 1));
    EXPECT_TRUE(Grid->IsClickControlCell(4, 1));
    EXPECT_FALSE(Grid->IsClickControlCell(1, 2));
    EXPECT_FALSE(Grid->IsClickControlCell(-1, 1));
    Grid->Navigation()->SetAllowEditButtonCells(true);
    EXPECT_FALSE(Grid->IsClickControlCell(2, 1));
    EXPECT_TRUE(Grid->IsDataCell(1, 1));
    EXPECT_FALSE(Grid->IsDataCell(4, 1));
    EXPECT_TRUE(Grid->CellHasCheckBox(4, 1));
    EXPECT_FALSE(Grid->HasDataCheckBox(4, 1));
    // A merged area answers for its base cell.
    Grid->MergeCells(1, 1, 1, 2);
    EXPECT_TRUE(Grid->HasCheckBox(1, 2));
}

TEST_F(VodGridCheckBoxes, ThePreciseHitTestPlacesTheBoxByAlignment)
{
    Grid->SetDefaultRowHeight(30);
    Grid->SetColWidths(1, 100);
    Grid->AddCheckBox(1, 2, false, false);
    Grid->AddCheckBox(1, 3, false, false);
    Grid->GetCellGraphic(1, 3)->SetCellVAlign(vaCenter);
    Grid->AddCheckBox(1, 4, false, false);
    Grid->GetCellGraphic(1, 4)->SetCellVAlign(vaBottom);
    Grid->SetCells(1, 5, L"abc");
    Grid->AddCheckBox(1, 5, false, false);
    Grid->SetAlignments(1, 5, taRightJustify);
    Grid->AddCheckBox(1, 6, false, false);
    Grid->SetAlignments(1, 6, taCenter);
    // Anywhere in the cell without the precise test.
    EXPECT_TRUE(Grid->IsInCheckBox(1, 2, -100, -100));
    EXPECT_FALSE(Grid->IsInCheckBox(2, 2, 0, 0));
    Grid->MouseActions()->SetPreciseCheckBoxCheck(true);
    Grid->Canvas()->Font()->Assign(Grid->GetCellFont(1, 5));
    const Integer textW = Grid->Canvas()->TextWidth(L"abc");
    struct Case {
        Integer row;
        Integer left, top;  // the box's corner, relative to the cell
    };
    for (const Case& c : {Case{2, 2, 2}, Case{3, 2, (30 - 15) / 2}, Case{4, 2, 30 - 2 - 15},
                          Case{5, 100 - 2 - 15 - textW, 2}, Case{6, (100 - 15) / 2, 2}}) {
        const TRect R = Grid->CellRect(1, c.row);
        const Integer x = R.Left + c.left, y = R.Top + c.top;
        EXPECT_TRUE(Grid->IsInCheckBox(1, c.row, x, y)) << c.row;
        EXPECT_TRUE(Grid->IsInCheckBox(1, c.row, x + 14, y + 14)) << c.row;
        EXPECT_FALSE(Grid->IsInCheckBox(1, c.row, x - 1, y)) << c.row;
        EXPECT_FALSE(Grid->IsInCheckBox(1, c.row, x, y - 1)) << c.row;
        EXPECT_FALSE(Grid->IsInCheckBox(1, c.row, x + 15, y)) << c.row;
        EXPECT_FALSE(Grid->IsInCheckBox(1, c.row, x, y + 15)) << c.row;
    }
    // The alignment event has the last word.
    Grid->OnGetAlignment = [](TObject*, Integer, Integer, TAlignment& H, TVAlignment& V) {
        H = taCenter;
        V = vtaBottom;
    };
    const TRect R = Grid->CellRect(1, 2);
    EXPECT_TRUE(Grid->IsInCheckBox(1, 2, R.Left + (100 - 15) / 2, R.Top + 30 - 2 - 15));
    EXPECT_FALSE(Grid->IsInCheckBox(1, 2, R.Left + 2, R.Top + 2));
}
