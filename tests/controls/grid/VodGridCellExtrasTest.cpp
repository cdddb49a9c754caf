// Balloons, radio groups and expand buttons as small tables: balloons of
// their own and on carriers, radio groups advanced by the keyboard change,
// expand buttons with their two heights and their button rectangle.
#include <gtest/gtest.h>

#include "GridRowsSupport.h"

namespace {
class VodGridCellExtras : public GridRowsFixture {};
}  // namespace

TEST_F(VodGridCellExtras, BalloonsStandAloneOrMarkACarrierAndGoWithoutTakingIt)
{
    TBitmap bmp;
    Grid->AddBitmap(1, 1, &bmp, false, haLeft, vaTop);
    Grid->AddCheckBox(1, 2, true, false);
    Grid->AddRadioButton(1, 4, false);
    struct Case {
        Integer row;
        bool isBalloon, hasBalloon;
        TCellType kind;
    };
    Grid->AddBalloon(1, 1, L"t", L"x", biInfo);
    Grid->AddBalloon(1, 2, L"Title", L"Text", biWarning);
    Grid->AddBalloon(1, 3, L"Alone", L"Own", biError);
    Grid->AddBalloon(1, 4, L"Radio", L"R", biInfo);
    for (const Case& c : {Case{1, false, false, ctBitmap}, Case{2, true, false, ctCheckBox},
                          Case{3, true, true, ctBalloon}, Case{4, true, false, ctRadioButton}}) {
        String title, text;
        Integer icon = -1;
        EXPECT_EQ(Grid->IsBalloon(1, c.row, title, text, icon), c.isBalloon) << c.row;
        EXPECT_EQ(Grid->HasBalloon(1, c.row), c.hasBalloon) << c.row;
        EXPECT_EQ(Grid->GetCellType(1, c.row), c.kind) << c.row;
    }
    String title, text;
    Integer icon = -1;
    Grid->IsBalloon(1, 2, title, text, icon);
    EXPECT_EQ(title, L"Title");
    EXPECT_EQ(text, L"Text");
    EXPECT_EQ(icon, biWarning);
    EXPECT_TRUE(Grid->IsChecked(1, 2));
    // The radio button's group reads as the column group while it carries one.
    EXPECT_TRUE(Grid->HasRadioButtonGroup(1, 4, rgCol));
    // A second balloon replaces the first (the sanitizers watch the list).
    Grid->AddBalloon(1, 2, L"New", L"T2", biInfo);
    Grid->IsBalloon(1, 2, title, text, icon);
    EXPECT_EQ(title, L"New");
    Grid->RemoveBalloon(1, 2);
    EXPECT_FALSE(Grid->IsBalloon(1, 2, title, text, icon));
    EXPECT_EQ(Grid->GetCellType(1, 2), ctCheckBox);
    Grid->RemoveBalloon(1, 3);
    EXPECT_EQ(Grid->GetCellType(1, 3), ctEmpty);
    // A plain column-group radio button is no balloon.
    Grid->AddRadioButton(2, 5);
    EXPECT_FALSE(Grid->IsBalloon(2, 5, title, text, icon));
}

TEST_F(VodGridCellExtras, RadioGroupsAdvanceToTheNextOptionAndWriteIt)
{
    TStringList abc;
    abc.Add(L"A");
    abc.Add(L"B");
    abc.Add(L"C");
    struct Case {
        Integer idx;
        const wchar_t* text;
        Integer nextIdx;
        const wchar_t* nextText;
    };
    for (const Case& c : {Case{2, L"", 0, L"A"}, Case{0, L"", 1, L"B"}, Case{-1, L"B", 2, L"C"},
                          Case{-1, L"zz", 0, L"A"}}) {
        Grid->AddRadio(1, 1, 0, c.idx, &abc);
        Grid->SetCells(1, 1, c.text);
        EXPECT_TRUE(Grid->ClickRadioCell(1, 1, false));
        Integer idx = -5;
        EXPECT_TRUE(Grid->GetRadioIdx(1, 1, idx));
        EXPECT_EQ(idx, c.nextIdx) << c.idx << " " << c.text;
        EXPECT_EQ(Grid->Cells(1, 1), c.nextText);
    }
    EXPECT_EQ(Grid->GetRadioStrings(1, 1), &abc);
    EXPECT_EQ(Grid->GetCellGraphic(1, 1)->CellAngle(), 3);
    // The user's change needs an editable cell unless radios are always active.
    EXPECT_FALSE(Grid->ClickRadioCell(1, 1, true));
    Grid->ControlLook()->SetRadioAlwaysActive(true);
    EXPECT_TRUE(Grid->ClickRadioCell(1, 1, true));
    // A created list belongs to the graphic.
    TStrings* own = Grid->CreateRadio(2, 2, 1, -1);
    own->Add(L"x");
    EXPECT_TRUE(Grid->IsRadio(2, 2));
    EXPECT_TRUE(Grid->GetCellGraphic(2, 2)->CellBoolean());
    EXPECT_TRUE(Grid->SetRadioIdx(2, 2, 0));
    Grid->SetCells(2, 2, L"x");
    EXPECT_TRUE(Grid->SetRadioIdx(2, 2, -1));
    EXPECT_EQ(Grid->Cells(2, 2), L"");
    // Other graphics keep their fields.
    Grid->AddNode(4, 3);
    EXPECT_FALSE(Grid->SetRadioIdx(0, 4, 9));
    EXPECT_EQ(Grid->GetNodeSpan(4), 3);
    Integer idx = 0;
    EXPECT_FALSE(Grid->GetRadioIdx(0, 4, idx));
    Grid->RemoveRadio(2, 2);
    EXPECT_FALSE(Grid->IsRadio(2, 2));
    // No options, nothing to select.
    Grid->CreateRadio(3, 3, 0, 0);
    EXPECT_FALSE(Grid->ClickRadioCell(3, 3, false));
}

TEST_F(VodGridCellExtras, ExpandButtonsSwitchTheirRowBetweenTwoHeights)
{
    Grid->SetRowHeights(2, 22);
    EXPECT_EQ(Grid->GetExpandHeight(1, 2, true), Grid->DefaultRowHeight());
    EXPECT_EQ(Grid->GetExpandButtonRect(1, 2), (TRect{0, 0, 0, 0}));
    Grid->AddExpand(1, 2, 60);
    EXPECT_TRUE(Grid->HasExpand(1, 2));
    EXPECT_FALSE(Grid->GetExpandState(1, 2));
    EXPECT_EQ(Grid->GetExpandHeight(1, 2, true), 60);
    EXPECT_EQ(Grid->GetExpandHeight(1, 2, false), 22);
    EXPECT_TRUE(Grid->ToggleExpand(1, 2));
    EXPECT_TRUE(Grid->GetExpandState(1, 2));
    Grid->ExpandClick(1, 2, true);
    EXPECT_EQ(Grid->RowHeights(2), 60);
    EXPECT_FALSE(Grid->ToggleExpand(1, 2));
    Grid->ExpandClick(1, 2, false);
    EXPECT_EQ(Grid->RowHeights(2), 22);
    const TRect R = Grid->CellRect(1, 2);
    EXPECT_EQ(Grid->GetExpandButtonRect(1, 2), (TRect{R.Right - 13, R.Top + 2, R.Right - 2, R.Top + 13}));
    EXPECT_FALSE(Grid->ToggleExpand(2, 2));
    Grid->RemoveExpand(1, 2);
    EXPECT_FALSE(Grid->HasExpand(1, 2));
}
