// Editing in the string grid: the editor each cell gets, the write-back of
// special editors by type, the default editor's character filter and
// completion, validation refusals, Escape and the done events' order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "StringGridFixture.h"
#include "controls/grid/editors/GridEditors.h"
#include "platform/ui/WindowManager.h"

namespace {

class VodGridEdit : public TStringGridFixture<TVodStringGrid> {
protected:
    void SetUp() override
    {
        TStringGridFixture<TVodStringGrid>::SetUp();
        Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
        Grid->SetFocus();
        Drv->Pump();
    }
    // Opens the editor on a cell with the given editor type.
    void Open(Integer c, Integer r, TEditorType e)
    {
        FType = e;
        Grid->OnGetEditorType = [this](TObject*, Integer, Integer, TEditorType& t) { t = FType; };
        Grid->FocusCell(c, r);
        Grid->ShowInplaceEdit();
        Drv->Pump();
    }
    void Type(const std::wstring& s)
    {
        for (wchar_t ch : s) SendMessage(Grid->NormalEdit()->Handle(), WM_CHAR, WPARAM(ch), 0);
    }
    TEditorType FType = edNormal;
};

TEST_F(VodGridEdit, EachEditorTypeGetsItsEditorOrNone)
{
    Grid->SetCells(1, 1, L"x");
    Open(1, 1, edNone);
    EXPECT_FALSE(Grid->InEditMode());
    EXPECT_FALSE(Grid->EditorMode());

    Open(1, 1, edNormal);
    ASSERT_TRUE(Grid->NormalEdit());
    EXPECT_TRUE(Grid->EditorMode());
    EXPECT_TRUE(Grid->InEditMode());
    EXPECT_EQ(Grid->NormalEdit()->Text(), L"x");
    Grid->HideInplaceEdit();
    EXPECT_FALSE(Grid->InEditMode());

    Open(2, 2, edComboList);
    EXPECT_TRUE(Grid->InEditMode());
    EXPECT_EQ(Grid->EditorControlShown(), static_cast<TWinControl*>(Grid->Combobox()));
    EXPECT_TRUE(Grid->Combobox()->Visible());
    Grid->HideInplaceEdit();
    EXPECT_FALSE(Grid->Combobox()->Visible());

    // The button covers the cell and one pixel beyond each side.
    Open(2, 2, edButton);
    const TRect r = Grid->CellRect(2, 2);
    EXPECT_EQ(Grid->Btn()->Left(), r.Left - 1);
    EXPECT_EQ(Grid->Btn()->Top(), r.Top - 1);
    EXPECT_EQ(Grid->Btn()->Width(), r.Width() - 1 + 2);
    Grid->HideInplaceEdit();
}

TEST_F(VodGridEdit, ClickControlCellShowsNoEditor)
{
    Grid->AddCheckBox(1, 1, false);
    Open(1, 1, edNormal);
    EXPECT_FALSE(Grid->InEditMode());
    EXPECT_FALSE(Grid->EditorMode());
}

TEST_F(VodGridEdit, WriteBackByEditorType)
{
    // A unit editor joins value and unit without a blank.
    Grid->SetCells(1, 1, L"5m");
    Open(1, 1, edUnitEditBtn);
    Grid->BtnUnitEdit()->SetText(L"12");
    Grid->BtnUnitEdit()->SetUnitID(L"kg");
    Grid->HideInplaceEdit();
    EXPECT_EQ(Grid->Cells(1, 1), L"12kg");

    // A check box or button editor never writes.
    Grid->SetCells(2, 2, L"keep");
    Open(2, 2, edCheckBox);
    Grid->CheckBoxEditor()->SetChecked(true);
    Grid->HideInplaceEdit();
    EXPECT_EQ(Grid->Cells(2, 2), L"keep");
    Open(2, 2, edButton);
    Grid->HideInplaceEdit();
    EXPECT_EQ(Grid->Cells(2, 2), L"keep");

    // A combo writes its text.
    Grid->Combobox()->Items()->Clear();
    Grid->Combobox()->Items()->Add(L"one");
    Grid->Combobox()->Items()->Add(L"two");
    Open(3, 3, edComboList);
    Grid->Combobox()->SetItemIndex(1);
    Grid->HideInplaceEdit();
    EXPECT_EQ(Grid->Cells(3, 3), L"two");
}

TEST_F(VodGridEdit, EditCellDoneFollowsEditingDone)
{
    std::vector<std::string> order;
    Grid->OnEditingDone = [&](TObject*) { order.push_back("editing"); };
    Grid->OnEditCellDone = [&](TObject*, Integer c, Integer r) {
        order.push_back("cell " + std::to_string(c) + " " + std::to_string(r));
    };
    Open(2, 3, edEditBtn);
    Grid->BtnEdit()->SetText(L"new");
    Grid->HideInplaceEdit();
    EXPECT_EQ(order, std::vector<std::string>{"editing"});
    Drv->Pump();
    EXPECT_EQ(order, (std::vector<std::string>{"editing", "cell 2 3"}));
    EXPECT_EQ(Grid->Cells(2, 3), L"new");
}

TEST_F(VodGridEdit, DefaultEditorFiltersCharactersByType)
{
    struct Case {
        TEditorType Type;
        std::wstring Typed, Shown;
    } cases[] = {
        {edNumeric, L"-1-2a3", L"-123"},
        {edPositiveNumeric, L"-12", L"12"},
        {edUpperCase, L"abC", L"ABC"},
        {edLowerCase, L"AbC", L"abc"},
        {edNormal, L"a-1", L"a-1"},
    };
    for (const Case& c : cases) {
        Grid->SetCells(1, 1, L"");
        Open(1, 1, c.Type);
        ASSERT_TRUE(Grid->NormalEdit()) << int(c.Type);
        Grid->NormalEdit()->SetText(L"");
        Type(c.Typed);
        EXPECT_EQ(Grid->NormalEdit()->Text(), c.Shown) << int(c.Type);
        Grid->HideInplaceEdit();
    }
}

TEST_F(VodGridEdit, LengthLimitAndCompletion)
{
    Grid->SetMaxEditLength(5);
    Open(1, 1, edNormal);
    Grid->NormalEdit()->SetText(L"");
    Type(L"abcdefg");
    EXPECT_EQ(Grid->NormalEdit()->Text(), L"abcde");
    Grid->HideInplaceEdit();
    Grid->SetMaxEditLength(0);

    Grid->SetLookup(true);
    Grid->LookupItems()->Add(L"Apple");
    Grid->LookupItems()->Add(L"Apricot");
    Open(2, 2, edNormal);
    TVodInplaceEdit* e = Grid->NormalEdit();
    e->SetText(L"");
    Type(L"Ap");
    e->DoChange();
    EXPECT_EQ(e->Text(), L"Apple");
    EXPECT_EQ(e->SelText(), L"ple");
    Grid->HideInplaceEdit();
}

TEST_F(VodGridEdit, RefusedValidationKeepsOldValue)
{
    Grid->SetCells(1, 1, L"old");
    Grid->OnCellValidate = [](TObject*, Integer, Integer, String& V, bool& Valid) { Valid = V != L"bad"; };
    Open(1, 1, edNormal);
    Grid->NormalEdit()->SetText(L"bad");
    EXPECT_FALSE(Grid->ValidateCell(L"bad"));
    EXPECT_EQ(Grid->Cells(1, 1), L"old");
    // The editor opens again on the cell.
    EXPECT_TRUE(Grid->EditorMode());
}

TEST_F(VodGridEdit, EscapeRestoresTheStartValueAfterCopyThrough)
{
    Grid->SetCells(1, 1, L"start");
    Open(1, 1, edNormal);
    // Text copied into the cell while typing.
    Grid->SetCells(1, 1, L"typed");
    Grid->NormalEdit()->SetText(L"typed");
    SendMessage(Grid->NormalEdit()->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    Drv->Pump();
    EXPECT_EQ(Grid->Cells(1, 1), L"start");
}

}  // namespace
