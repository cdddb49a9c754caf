// The "COMBOBOX" window class and TComboBox: the drop-down opened, picked
// from and closed by mouse and keyboard with its notifications in order,
// outside clicks and focus loss, type-ahead, geometry and the control's
// events.
#include <gtest/gtest.h>

#include "platform/base/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls_List.h"
#include "tests/platform/ui/ListClassesTestSupport.h"

namespace {

class ComboTest : public ListClassesTest {
protected:
    HWND Combo(DWORD style = CBS_DROPDOWNLIST, int x = 10)
    {
        HWND cb = CreateWindowEx(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | style, x, 10, 150, 200, Parent,
                                 reinterpret_cast<HMENU>(uintptr_t(9)));
        for (auto* t : {L"apple", L"banana", L"blueberry", L"cherry", L"date"})
            SendMessage(cb, CB_ADDSTRING, 0, LPARAM(t));
        return cb;
    }
    COMBOBOXINFO Info(HWND cb)
    {
        COMBOBOXINFO info;
        EXPECT_TRUE(GetComboBoxInfo(cb, &info));
        return info;
    }
    std::vector<Word> Notes(HWND from)
    {
        std::vector<Word> r;
        for (auto& e : Log().Of(WM_COMMAND))
            if (reinterpret_cast<HWND>(e.lParam) == from) {
                Word code = HIWORD(e.wParam);
                if (code != CBN_SETFOCUS && code != CBN_KILLFOCUS) r.push_back(code);
            }
        return r;
    }
    static TPoint Middle(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }
    void ClickButton(HWND cb) { Drv->ClickWindow(cb, Middle(Info(cb).rcButton)); }
    void ClickListItem(HWND cb, int item) { Drv->ClickWindow(Info(cb).hwndList, {20, item * kRow + kRow / 2}); }
    bool Dropped(HWND cb) { return SendMessage(cb, CB_GETDROPPEDSTATE) != 0; }
};

using N = std::vector<Word>;

}  // namespace

TEST_F(ComboTest, MousePicksFromTheDropDownAndTellsInOrder)
{
    HWND cb = Combo();
    COMBOBOXINFO info = Info(cb);
    ClickButton(cb);
    ASSERT_TRUE(Dropped(cb));
    EXPECT_EQ(GetFocus(), cb);
    EXPECT_TRUE(IsWindowVisible(info.hwndList));
    EXPECT_EQ(Info(cb).stateButton, DWORD(STATE_SYSTEM_PRESSED));
    EXPECT_NE(GetActiveWindow(), info.hwndList) << "the drop-down never takes the activation";
    EXPECT_TRUE(GetWindowLong(info.hwndList, GWL_EXSTYLE) & WS_EX_TOPMOST);
    TRect lr, cr;
    GetWindowRect(info.hwndList, &lr);
    GetWindowRect(cb, &cr);
    EXPECT_EQ(lr.TopLeft(), (TPoint{cr.Left, cr.Bottom})) << "right below the combo box";
    EXPECT_EQ(lr.Width(), cr.Width());

    Drv->MouseMoveWindow(info.hwndList, {20, 2 * kRow + 3});
    EXPECT_EQ(SendMessage(cb, CB_GETCURSEL), -1) << "hovering highlights without choosing";
    ClickListItem(cb, 2);
    EXPECT_FALSE(Dropped(cb));
    EXPECT_FALSE(IsWindowVisible(info.hwndList));
    EXPECT_EQ(SendMessage(cb, CB_GETCURSEL), 2);
    EXPECT_EQ(GetWindowText(cb), L"blueberry");
    EXPECT_EQ(Notes(cb), (N{CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}));

    // Pressing on the button, dragging into the list and releasing picks too.
    Log().Clear();
    TPoint button = Drv->ScreenPoint(cb, Middle(info.rcButton));
    Drv->MouseDown(button);
    ASSERT_TRUE(Dropped(cb));
    Drv->MouseMove(Drv->ScreenPoint(info.hwndList, {20, 4 * kRow + 2}));
    Drv->MouseUp(Drv->ScreenPoint(info.hwndList, {20, 4 * kRow + 2}));
    EXPECT_EQ(SendMessage(cb, CB_GETCURSEL), 4);
    EXPECT_EQ(Notes(cb), (N{CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}));
}

TEST_F(ComboTest, OutsideClicksTheButtonAndFocusLossCancel)
{
    HWND cb = Combo();
    HWND other = Combo(CBS_DROPDOWNLIST, 200);
    SendMessage(cb, CB_SETCURSEL, 1);
    struct TCase {
        const char* what;
        std::function<void()> close;
    };
    const TCase cases[] = {
        {"a click elsewhere in the window", [&] { Drv->ClickWindow(Parent, {300, 250}); }},
        {"a click on the button again", [&] { ClickButton(cb); }},
        {"a click on another control", [&] { ClickButton(other); }},
        {"focus moving away", [&] { SetFocus(other); }},
        {"Escape", [&] { Drv->PressKey(VK_ESCAPE); }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        SetFocus(cb);
        ClickButton(cb);
        ASSERT_TRUE(Dropped(cb));
        SendMessage(Info(cb).hwndList, WM_KEYDOWN, VK_DOWN, 0);  // a highlight that must not stick
        Log().Clear();
        c.close();
        EXPECT_FALSE(Dropped(cb));
        EXPECT_FALSE(IsWindowVisible(Info(cb).hwndList));
        EXPECT_EQ(SendMessage(cb, CB_GETCURSEL), 1);
        EXPECT_EQ(Notes(cb), (N{CBN_SELENDCANCEL, CBN_CLOSEUP}));
        EXPECT_FALSE(Dropped(other)) << "the closing click goes no further";
        EXPECT_EQ(GetCapture(), nullptr);
    }
}

TEST_F(ComboTest, KeyboardOpensMovesPicksAndTypesAhead)
{
    HWND cb = Combo();
    SetFocus(cb);
    struct TStep {
        const char* what;
        std::function<void()> act;
        bool dropped;
        int cur;
        N notes;
    };
    const TStep steps[] = {
        {"down while closed selects", [&] { Drv->PressKey(VK_DOWN); }, false, 0, {CBN_SELCHANGE}},
        {"down again", [&] { Drv->PressKey(VK_DOWN); }, false, 1, {CBN_SELCHANGE}},
        {"F4 opens", [&] { Drv->PressKey(VK_F4); }, true, 1, {CBN_DROPDOWN}},
        {"arrows move the highlight only", [&] { Drv->PressKey(VK_DOWN); Drv->PressKey(VK_DOWN); }, true, 1, {}},
        {"Enter takes it", [&] { Drv->PressKey(VK_RETURN); }, false, 3, {CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}},
        {"Alt+Down opens", [&] { Drv->PressKey(VK_DOWN, {VK_MENU}); }, true, 3, {CBN_DROPDOWN}},
        {"Escape closes without change", [&] { Drv->PressKey(VK_UP); Drv->PressKey(VK_ESCAPE); }, false, 3,
         {CBN_SELENDCANCEL, CBN_CLOSEUP}},
        {"F4 twice: open and keep", [&] { Drv->PressKey(VK_F4); Drv->PressKey(VK_F4); }, false, 3,
         {CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP}},
        {"typing b finds banana", [&] { Drv->TypeText(L"b"); }, false, 1, {CBN_SELCHANGE}},
        {"l continues the prefix", [&] { Drv->TypeText(L"l"); }, false, 2, {CBN_SELCHANGE}},
        {"home", [&] { Drv->PressKey(VK_HOME); }, false, 0, {CBN_SELCHANGE}},
        {"up at the top stays", [&] { Drv->PressKey(VK_UP); }, false, 0, {}},
    };
    for (const TStep& s : steps) {
        SCOPED_TRACE(s.what);
        Log().Clear();
        s.act();
        EXPECT_EQ(Dropped(cb), s.dropped);
        EXPECT_EQ(SendMessage(cb, CB_GETCURSEL), s.cur);
        EXPECT_EQ(Notes(cb), s.notes);
    }
}

TEST_F(ComboTest, MessagesForItemsHeightsAndTheDroppedRect)
{
    HWND cb = Combo();
    TRect wr;
    GetWindowRect(cb, &wr);
    EXPECT_EQ(SendMessage(cb, CB_GETITEMHEIGHT, WPARAM(-1)), kRow + 2);
    EXPECT_EQ(wr.Height(), kRow + 2 + 6) << "as tall as the selection field";
    EXPECT_EQ(SendMessage(cb, CB_GETITEMHEIGHT, 0), kRow);
    EXPECT_EQ(SendMessage(cb, CB_SETITEMHEIGHT, WPARAM(-1), 30), CB_OKAY);
    GetWindowRect(cb, &wr);
    EXPECT_EQ(wr.Height(), 36);

    EXPECT_EQ(SendMessage(cb, CB_SETCURSEL, 3), 3);
    EXPECT_EQ(GetWindowText(cb), L"cherry");
    EXPECT_EQ(SendMessage(cb, CB_SETCURSEL, 7), CB_ERR);
    EXPECT_EQ(GetWindowText(cb), L"");
    EXPECT_EQ(SendMessage(cb, CB_SELECTSTRING, WPARAM(-1), LPARAM(L"DA")), 4);
    EXPECT_EQ(SendMessage(cb, WM_SETTEXT, 0, LPARAM(L"banana")), TRUE) << "a drop-down list selects the item";
    EXPECT_EQ(SendMessage(cb, CB_GETCURSEL), 1);
    EXPECT_EQ(SendMessage(cb, WM_SETTEXT, 0, LPARAM(L"kiwi")), CB_ERR);
    EXPECT_EQ(SendMessage(cb, CB_DELETESTRING, 0), 4);
    EXPECT_EQ(SendMessage(cb, CB_GETCURSEL), 0) << "the selection stays on banana";
    EXPECT_EQ(SendMessage(cb, CB_SETEDITSEL, 0, 0), CB_ERR) << "no edit in a drop-down list";
    EXPECT_TRUE(Notes(cb).empty());

    EXPECT_EQ(SendMessage(cb, CB_GETDROPPEDWIDTH), 150);
    SendMessage(cb, CB_SETDROPPEDWIDTH, 260);
    EXPECT_EQ(SendMessage(cb, CB_GETDROPPEDWIDTH), 260);
    SendMessage(cb, CB_SETMINVISIBLE, 3);
    EXPECT_EQ(SendMessage(cb, CB_GETMINVISIBLE), 3);
    TRect drop;
    SendMessage(cb, CB_GETDROPPEDCONTROLRECT, 0, LPARAM(&drop));
    SendMessage(cb, CB_SHOWDROPDOWN, TRUE);
    TRect lr;
    GetWindowRect(Info(cb).hwndList, &lr);
    EXPECT_EQ(lr.Width(), 260);
    EXPECT_EQ(lr.Height(), 3 * kRow + 2) << "three rows and the frame";
    EXPECT_EQ(drop.Bottom, wr.Bottom + lr.Height());
    SendMessage(cb, CB_SHOWDROPDOWN, FALSE);
    EXPECT_FALSE(Dropped(cb));
}

TEST_F(ComboTest, DropDownOpensAboveWhenTheScreenEndsBelow)
{
    HWND low = CreateWindowEx(0, L"COMBOBOX", L"", WS_POPUP | WS_VISIBLE | CBS_DROPDOWNLIST, 100, 650, 150, 24,
                              Parent, nullptr);
    for (int i = 0; i < 10; ++i) SendMessage(low, CB_ADDSTRING, 0, LPARAM(L"x"));
    SendMessage(low, CB_SHOWDROPDOWN, TRUE);
    TRect lr, cr;
    GetWindowRect(Info(low).hwndList, &lr);
    GetWindowRect(low, &cr);
    EXPECT_EQ(lr.Bottom, cr.Top);
    EXPECT_EQ(lr.Height(), 10 * kRow + 2);
}

// ---------------------------------------------------------------------------
// TComboBox

namespace {

class ComboControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Drv = std::make_unique<THeadlessDriver>();
        SetFixedMetricsFonts(true);
        InitForms();
        Form = new TForm(Application);
        Form->Init();
        Form->SetBounds(50, 50, 400, 300);
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

TEST_F(ComboControlTest, DropDownListWithItemsIndexAndEvents)
{
    auto* cb = new TComboBox(Form);
    cb->SetStyle(csDropDownList);
    cb->SetBounds(10, 10, 150, 24);
    cb->Items()->SetCommaText(L"low,medium,high");
    TObject tag;
    cb->Items()->SetObjects(2, &tag);
    cb->SetItemIndex(1);
    cb->SetParent(Form);
    std::vector<String> events;
    cb->OnChange = [&](TObject*) { events.push_back(L"change " + cb->Text()); };
    cb->OnDropDown = [&](TObject*) { events.push_back(L"dropdown"); };
    cb->OnCloseUp = [&](TObject*) { events.push_back(L"closeup " + IntToStr(cb->ItemIndex())); };
    cb->OnClick = [&](TObject*) { events.push_back(L"click"); };
    Form->Show();

    EXPECT_EQ(cb->ItemIndex(), 1);
    EXPECT_EQ(cb->Text(), L"medium");
    EXPECT_EQ(cb->Items()->Objects(2), &tag);
    EXPECT_EQ(cb->EditHandle(), nullptr);
    cb->SetFocus();
    cb->SetDroppedDown(true);
    EXPECT_TRUE(cb->DroppedDown());
    Drv->PressKey(VK_DOWN);
    Drv->PressKey(VK_RETURN);
    EXPECT_EQ(cb->ItemIndex(), 2);
    EXPECT_EQ(events, (std::vector<String>{L"dropdown", L"closeup 2", L"click", L"change high"}));

    events.clear();
    cb->SetItemIndex(0);
    EXPECT_TRUE(events.empty()) << "setting ItemIndex from code raises no event";
    EXPECT_EQ(cb->Text(), L"low");
    cb->SetText(L"high");
    EXPECT_EQ(cb->ItemIndex(), 2);

    // OnSelect, when set, is told instead of OnChange.
    int selects = 0;
    cb->OnSelect = [&](TObject*) { ++selects; };
    Drv->PressKey(VK_UP);
    EXPECT_EQ(selects, 1);
    EXPECT_EQ(events, (std::vector<String>{L"click"}));

    // The items move over to a new window.
    cb->SetDropDownCount(2);
    cb->SetSorted(true);
    EXPECT_EQ(cb->Items()->CommaText(), L"high,low,medium");
    EXPECT_EQ(cb->Text(), L"medium") << "the selected item moved with the sort";
    EXPECT_EQ(SendMessage(cb->Handle(), CB_GETMINVISIBLE), 2);
    cb->Items()->Clear();
    EXPECT_EQ(cb->ItemIndex(), -1);
    EXPECT_EQ(cb->Text(), L"");
}

TEST_F(ComboControlTest, OwnerDrawnItemsAndSelectionField)
{
    auto* cb = new TComboBox(Form);
    cb->SetStyle(csOwnerDrawVariable);
    cb->SetParent(Form);
    cb->SetItemHeight(20);
    cb->OnMeasureItem = [](TWinControl*, Integer index, Integer& height) { height = 12 + index; };
    std::vector<std::pair<Integer, bool>> drawn;
    cb->OnDrawItem = [&](TWinControl*, Integer index, TRect, TOwnerDrawState state) {
        drawn.push_back({index, state.Contains(odComboBoxEdit)});
    };
    cb->Items()->SetCommaText(L"a,b,c");
    cb->SetItemIndex(1);
    Form->Show();
    HWND list = cb->ListHandle();
    EXPECT_EQ(SendMessage(list, LB_GETITEMHEIGHT, 2), 14);
    EXPECT_EQ(SendMessage(cb->Handle(), CB_GETITEMHEIGHT, WPARAM(-1)), 20);
    drawn.clear();
    cb->Repaint();
    EXPECT_EQ(drawn, (std::vector<std::pair<Integer, bool>>{{1, true}})) << "the field draws the selected item";
    cb->SetDroppedDown(true);
    drawn.clear();
    UpdateWindow(list);
    EXPECT_EQ(drawn.size(), 3u);
    cb->SetDroppedDown(false);
}

TEST_F(ComboControlTest, AutoCompleteCompletesTheEditAndTypesAheadInTheList)
{
    auto* cb = new TComboBox(Form);
    cb->SetBounds(10, 10, 150, 24);
    cb->SetParent(Form);
    cb->Items()->SetCommaText(L"Apple,Banana,Blueberry,Cherry");
    int changes = 0;
    cb->OnChange = [&](TObject*) { ++changes; };
    Form->Show();
    cb->SetFocus();

    // A drop-down: the text completes to the first item that starts with
    // what was typed, the completed part selected so typing goes on over it.
    struct Case {
        const char* Name;
        const wchar_t* Typed;
        const wchar_t* Text;
        Integer SelStart, SelLength, Index;
    } cases[] = {
        {"completes", L"b", L"Banana", 1, 5, 1},
        {"typing over the completion narrows it", L"bl", L"Blueberry", 2, 7, 2},
        {"no item starts so: the text as typed", L"bx", L"Bx", 2, 0, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        cb->SetText(L"");
        changes = 0;
        Drv->TypeText(c.Typed);
        EXPECT_EQ(cb->Text(), c.Text);
        EXPECT_EQ(cb->SelStart(), c.SelStart);
        EXPECT_EQ(cb->SelLength(), c.SelLength);
        EXPECT_EQ(cb->ItemIndex(), c.Index);
        EXPECT_EQ(changes, Integer(String(c.Typed).size())) << "each key is a change";
    }
    // Typing anywhere but at the end does not complete; nor does it with
    // AutoComplete off.
    cb->SetText(L"ch");
    cb->SetSelStart(0);
    Drv->TypeText(L"x");
    EXPECT_EQ(cb->Text(), L"xch");
    cb->SetAutoComplete(false);
    cb->SetText(L"");
    Drv->TypeText(L"a");
    EXPECT_EQ(cb->Text(), L"a");

    // A drop-down list: letters typed close together find an item by its
    // start; after a pause the search starts again.
    cb->SetAutoComplete(true);
    cb->SetStyle(csDropDownList);
    cb->SetFocus();
    Drv->TypeText(L"bl");
    EXPECT_EQ(cb->ItemIndex(), 2);
    Drv->Advance(1200);
    Drv->TypeText(L"c");
    EXPECT_EQ(cb->ItemIndex(), 3);
    Drv->TypeText(L"a");
    EXPECT_EQ(cb->ItemIndex(), 3) << "\"ca\" starts no item: the selection stays";
    Drv->Advance(1200);
    Drv->TypeText(L"a");
    EXPECT_EQ(cb->ItemIndex(), 0);
    EXPECT_EQ(cb->Text(), L"Apple");
}
