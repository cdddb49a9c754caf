// The header's filter drop-downs and editors on the headless backend:
// picks in the plain list (several columns, the clear item, quoting), the
// check list (values joined by "|", an empty value, all checked), the
// lists' keys, mouse and cancel-mode rules, the no-activate popup, the
// header editor's validation, and the settings objects.
#include <gtest/gtest.h>

#include "GridRowsSupport.h"
#include "controls/grid/GridHoverForm.h"
#include "controls/grid/editors/GridEditors.h"

namespace {

class VodGridFilterDropDown : public GridRowsFixture {
protected:
    void SetUp() override
    {
        GridRowsFixture::SetUp();
        Grid->SetColCount(3);
        Grid->SetRowCount(7);
        Grid->SetFixedRows(1);
        const wchar_t* a[] = {L"x", L"y", L"x&z", L"", L"y", L"x"};
        const wchar_t* b[] = {L"1", L"2", L"1", L"2", L"3", L"2"};
        for (Integer r = 1; r <= 6; ++r) {
            Grid->SetCells(0, r, L"r" + IntToStr(r));
            Grid->SetCells(1, r, a[r - 1]);
            Grid->SetCells(2, r, b[r - 1]);
        }
        Grid->SetFilterDropDownAuto(true);
        Drv->Pump();
    }
    std::vector<String> Col(Integer c)
    {
        std::vector<String> v;
        for (Integer r = Grid->FixedRows(); r < Grid->RowCount(); ++r) v.push_back(Grid->Cells(c, r));
        return v;
    }
    // Opens the column's list and picks the item with this shown text.
    void Pick(Integer col, const String& shown)
    {
        ASSERT_TRUE(Grid->ShowFilterDropDown(col));
        const Integer i = Grid->DropList()->Items()->IndexOf(shown);
        ASSERT_GE(i, 0) << shown;
        Grid->FilterListSelect(i);
    }
};

}  // namespace

TEST_F(VodGridFilterDropDown, PlainListPicksKeepOtherColumnsAndQuote)
{
    Pick(1, L"x");
    EXPECT_EQ(Col(0), (std::vector<String>{L"r1", L"r6"}));
    Pick(2, L"2");  // multi-column: both conditions hold
    EXPECT_EQ(Col(0), (std::vector<String>{L"r6"}));
    EXPECT_EQ(Grid->Filter()->Count(), 2);
    Pick(1, L"(All)");  // removes only column 1's condition
    EXPECT_EQ(Grid->Filter()->Count(), 1);
    EXPECT_EQ(Col(0), (std::vector<String>{L"r2", L"r4", L"r6"}));
    Pick(2, L"(All)");
    Pick(1, L"x&z");  // quoted: the ampersand is no operator
    EXPECT_EQ(Grid->Filter()->Items(0)->Condition, L"\"x&z\"");
    EXPECT_EQ(Col(0), (std::vector<String>{L"r3"}));
    EXPECT_EQ(Grid->FilterCol(), -1);
    Grid->FilterListSelect(0);  // no open column: nothing
    EXPECT_EQ(Col(0), (std::vector<String>{L"r3"}));
}

TEST_F(VodGridFilterDropDown, CheckListJoinsValuesAndAllCheckedRemovesTheCondition)
{
    Grid->SetFilterDropDownCheck(true);
    ASSERT_TRUE(Grid->ShowFilterDropDown(1));
    TDropCheckList* list = Grid->DropCheckList();
    const Integer ix = list->Items()->IndexOf(L"x"), iy = list->Items()->IndexOf(L"y"), ie = list->Items()->IndexOf(L"");
    ASSERT_TRUE(ix >= 0 && iy >= 0 && ie >= 0);
    for (Integer i : {ix, iy, ie}) {
        list->SetChecked(i, true);
        Grid->FilterCheckListApply(i);
    }
    ASSERT_EQ(Grid->Filter()->Count(), 1);
    // In the list's order: the empty value sorts first.
    EXPECT_EQ(Grid->Filter()->Items(0)->Condition, L"\"\"|x|y");
    EXPECT_EQ(Col(0), (std::vector<String>{L"r1", L"r2", L"r4", L"r5", L"r6"}));
    // Every value checked: no condition at all.
    for (Integer i = 0; i < list->Items()->Count(); ++i) list->SetChecked(i, true);
    Grid->FilterCheckListApply(ix);
    EXPECT_EQ(Grid->Filter()->Count(), 0);
}

TEST_F(VodGridFilterDropDown, ListKeysMouseAndCancelMode)
{
    std::vector<String> events;
    Grid->OnFilterClose = [&](TObject*, Integer c) { events.push_back(L"close " + IntToStr(c)); };
    ASSERT_TRUE(Grid->ShowFilterDropDown(2));
    TDropList* list = Grid->DropList();
    EXPECT_TRUE(list->Visible());
    Drv->Pump();
    // Escape hides it and the grid takes the focus.
    Drv->PressKey(VK_ESCAPE);
    Drv->Pump();
    EXPECT_FALSE(list->Visible());
    EXPECT_TRUE(Grid->Focused());

    // Enter picks the current item.
    ASSERT_TRUE(Grid->ShowFilterDropDown(2));
    Drv->Pump();
    list->SetItemIndex(list->Items()->IndexOf(L"3"));
    Drv->PressKey(VK_RETURN);
    Drv->Pump();
    EXPECT_FALSE(list->Visible());
    EXPECT_EQ(Col(0), (std::vector<String>{L"r5"}));

    // Cancel mode with the pointer on the header cell just above: stays.
    ASSERT_TRUE(Grid->ShowFilterDropDown(2));
    Drv->Pump();
    Drv->MouseMove(Drv->ScreenPoint(list->Handle(), TPoint{5, -10}));
    SendMessage(list->Handle(), WM_CANCELMODE, 0, 0);
    EXPECT_TRUE(list->Visible());
    // Outside: the column closes.
    Drv->MouseMove(Drv->ScreenPoint(list->Handle(), TPoint{list->Width() + 30, 5}));
    SendMessage(list->Handle(), WM_CANCELMODE, 0, 0);
    EXPECT_FALSE(list->Visible());
    EXPECT_EQ(events, (std::vector<String>{L"close 2"}));
    EXPECT_EQ(Grid->FilterCol(), -1);

    // The check list does not count the header cell as inside.
    Grid->SetFilterDropDownCheck(true);
    ASSERT_TRUE(Grid->ShowFilterDropDown(2));
    Drv->Pump();
    TDropCheckList* cl = Grid->DropCheckList();
    Drv->MouseMove(Drv->ScreenPoint(cl->Handle(), TPoint{5, -10}));
    SendMessage(cl->Handle(), WM_CANCELMODE, 0, 0);
    EXPECT_FALSE(cl->Visible());
}

TEST_F(VodGridFilterDropDown, NoActivePopupNeverTakesActivation)
{
    auto* popup = new TNoActiveForm(Form);
    popup->SetBounds(50, 50, 80, 40);
    popup->FEnabled = true;
    popup->Show();
    Drv->Pump();
    EXPECT_EQ(SendMessage(popup->Handle(), WM_MOUSEACTIVATE, 0, 0), LRESULT(MA_NOACTIVATE));
    EXPECT_EQ(GetWindowLong(popup->Handle(), GWL_STYLE) & WS_POPUP, DWORD(WS_POPUP));
    EXPECT_EQ(SendMessage(popup->Handle(), WM_ACTIVATE, WA_ACTIVE, 0), LRESULT(1));
    HWND before = GetActiveWindow();
    Drv->ClickWindow(popup->Handle(), TPoint{10, 10});
    Drv->Pump();
    EXPECT_EQ(GetActiveWindow(), before);
}

TEST_F(VodGridFilterDropDown, HeaderEditorValidatesOnEnter)
{
    TGridTransEdit* ed = Grid->FixedEdit();
    ASSERT_NE(ed, nullptr);
    ed->FCol = 1;
    ed->FRow = 0;
    ed->SetBounds(0, 0, 60, 20);
    ed->SetVisible(true);
    ed->SetText(L"bad");
    Grid->SetInvalidEntryText(L"Not allowed");
    Grid->OnCellValidate = [](TObject*, Integer, Integer, String& v, bool& ok) { ok = v != L"bad"; };
    Drv->Pump();
    ed->SetFocus();
    Drv->Pump();
    Drv->PressKey(VK_RETURN);
    Drv->Pump();
    EXPECT_TRUE(ed->Visible());
    EXPECT_TRUE(ed->Focused());
    EXPECT_EQ(Grid->Cells(1, 0), L"");
    String title, text;
    EXPECT_TRUE(EditBalloon(ed->Handle(), &title, &text));
    EXPECT_EQ(text, L"Not allowed");
    ed->SetText(L"good");
    Drv->PressKey(VK_RETURN);
    Drv->Pump();
    EXPECT_FALSE(ed->Visible());
    EXPECT_EQ(Grid->Cells(1, 0), L"good");
}

TEST_F(VodGridFilterDropDown, SettingsObjects)
{
    TFilterDropDown a, b;
    b.Height = 77;
    b.AutoSize = true;
    b.Sorted = false;
    b.TextChecked = L"On";
    a.Assign(&b);
    EXPECT_EQ(a.Height, 77);
    EXPECT_EQ(a.TextChecked, L"On");
    EXPECT_FALSE(a.AutoSize);  // not copied
    EXPECT_TRUE(a.Sorted);

    TFilterEdit* fe = Grid->FilterEdit();
    EXPECT_EQ(fe->TypeNames()->Count(), 9);
    EXPECT_EQ(fe->TypeNames()->Strings(8), L"Clear");
    Grid->Filter()->Add()->Condition = L"x";
    Grid->SetCells(1, 0, L"typed");
    fe->SetEnabled(true);
    EXPECT_EQ(Grid->Filter()->Count(), 0);
    EXPECT_EQ(Grid->Cells(1, 0), L"");

    Grid->SetFilterDropDownRow(1);  // not below FixedRows: ignored
    EXPECT_EQ(Grid->FilterDropDownRow(), 0);
}
