// The "LISTBOX" window class and TListBox: items and their messages,
// selection by mouse and keyboard in every mode, type-ahead, scrolling,
// owner draw and items that survive the window.
#include <gtest/gtest.h>

#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls_List.h"
#include "tests/platform/ui/ListClassesTestSupport.h"

namespace {

class ListBoxTest : public ListClassesTest {
protected:
    // Five rows show in 80 pixels.
    HWND List(DWORD style, std::initializer_list<const wchar_t*> items = {}, int x = 10)
    {
        HWND lb = CreateWindowEx(0, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | LBS_NOINTEGRALHEIGHT | style, x, 10,
                                 120, 5 * kRow, Parent, reinterpret_cast<HMENU>(uintptr_t(7)));
        for (auto* t : items) SendMessage(lb, LB_ADDSTRING, 0, LPARAM(t));
        return lb;
    }
    std::vector<Word> Notes(HWND from, Word only = 0)
    {
        std::vector<Word> r;
        for (auto& e : Log().Of(WM_COMMAND))
            if (reinterpret_cast<HWND>(e.lParam) == from && (!only || HIWORD(e.wParam) == only)) r.push_back(HIWORD(e.wParam));
        return r;
    }
    static std::vector<int> Selection(HWND lb)
    {
        std::vector<int> r;
        for (int i = 0; i < int(SendMessage(lb, LB_GETCOUNT)); ++i)
            if (SendMessage(lb, LB_GETSEL, WPARAM(i)) > 0) r.push_back(i);
        return r;
    }
    void ClickItem(HWND lb, int item, const std::vector<Word>& mods = {})
    {
        for (Word m : mods) Drv->KeyDown(m);
        Drv->ClickWindow(lb, {20, item * kRow + kRow / 2});
        for (Word m : mods) Drv->KeyUp(m);
    }
    static String Text(HWND lb, int i)
    {
        wchar_t buf[64] = {};
        SendMessage(lb, LB_GETTEXT, WPARAM(i), LPARAM(buf));
        return buf;
    }
};

const std::initializer_list<const wchar_t*> kFruit = {L"apple", L"banana", L"blueberry", L"cherry",
                                                      L"cranberry", L"date", L"fig", L"grape"};

}  // namespace

TEST_F(ListBoxTest, ItemMessagesKeepOrderDataAndAnswerErrors)
{
    HWND lb = List(LBS_SORT | LBS_NOTIFY, {L"pear", L"Apple", L"fig"});
    EXPECT_EQ(Text(lb, 0), L"Apple") << "sorted without regard to case";
    EXPECT_EQ(SendMessage(lb, LB_ADDSTRING, 0, LPARAM(L"banana")), 1);
    EXPECT_EQ(SendMessage(lb, LB_INSERTSTRING, 0, LPARAM(L"zebra")), 0) << "inserting ignores the sort";
    EXPECT_EQ(SendMessage(lb, LB_INSERTSTRING, 9, LPARAM(L"x")), LB_ERR);
    EXPECT_EQ(SendMessage(lb, LB_INSERTSTRING, WPARAM(-1), LPARAM(L"last")), 5);
    EXPECT_EQ(SendMessage(lb, LB_GETCOUNT), 6);
    EXPECT_EQ(SendMessage(lb, LB_GETTEXTLEN, 2), 6);
    EXPECT_EQ(SendMessage(lb, LB_GETTEXTLEN, 6), LB_ERR);

    EXPECT_EQ(SendMessage(lb, LB_SETITEMDATA, 3, 42), LB_OKAY);
    EXPECT_EQ(SendMessage(lb, LB_GETITEMDATA, 3), 42);
    EXPECT_EQ(SendMessage(lb, LB_GETITEMDATA, 9), LB_ERR);

    // Prefix and exact search, case-insensitive, from after the start item
    // and round the end.
    EXPECT_EQ(SendMessage(lb, LB_FINDSTRING, WPARAM(-1), LPARAM(L"AP")), 1);
    EXPECT_EQ(SendMessage(lb, LB_FINDSTRING, 1, LPARAM(L"ap")), 1) << "wraps back to the same item";
    EXPECT_EQ(SendMessage(lb, LB_FINDSTRING, WPARAM(-1), LPARAM(L"ban")), 2);
    EXPECT_EQ(SendMessage(lb, LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(L"ban")), LB_ERR);
    EXPECT_EQ(SendMessage(lb, LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(L"FIG")), 3);
    EXPECT_EQ(SendMessage(lb, LB_SELECTSTRING, WPARAM(-1), LPARAM(L"pe")), 4);
    EXPECT_EQ(SendMessage(lb, LB_GETCURSEL), 4);

    // Deleting keeps the selection on its item; single selection refuses
    // the multiple-selection messages.
    EXPECT_EQ(SendMessage(lb, LB_DELETESTRING, 0), 5);
    EXPECT_EQ(SendMessage(lb, LB_GETCURSEL), 3);
    EXPECT_EQ(SendMessage(lb, LB_DELETESTRING, 3), 4);
    EXPECT_EQ(SendMessage(lb, LB_GETCURSEL), LB_ERR);
    EXPECT_EQ(SendMessage(lb, LB_SETSEL, 1, 0), LB_ERR);
    EXPECT_EQ(SendMessage(lb, LB_GETSELCOUNT), LB_ERR);
    EXPECT_EQ(SendMessage(lb, LB_SETCURSEL, 9), LB_ERR);
    EXPECT_EQ(SendMessage(lb, LB_RESETCONTENT), LB_OKAY);
    EXPECT_EQ(SendMessage(lb, LB_GETCOUNT), 0);
    EXPECT_TRUE(Notes(lb, LBN_SELCHANGE).empty()) << "messages from the program are not user changes";
}

TEST_F(ListBoxTest, MouseSelectionFollowsTheMode)
{
    struct TClick {
        int item;
        std::vector<Word> mods;
    };
    struct TCase {
        const char* name;
        DWORD style;
        std::vector<TClick> clicks;
        std::vector<int> selected;
    };
    const TCase cases[] = {
        {"single keeps one", 0, {{1, {}}, {3, {}}}, {3}},
        {"multiple toggles", LBS_MULTIPLESEL, {{1, {}}, {3, {}}, {1, {}}}, {3}},
        {"extended range", LBS_EXTENDEDSEL, {{1, {}}, {3, {VK_SHIFT}}}, {1, 2, 3}},
        {"extended ctrl toggles", LBS_EXTENDEDSEL, {{1, {}}, {3, {VK_SHIFT}}, {2, {VK_CONTROL}}}, {1, 3}},
        {"extended plain click restarts", LBS_EXTENDEDSEL, {{1, {}}, {3, {VK_SHIFT}}, {0, {}}}, {0}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        Log().Clear();
        HWND lb = List(LBS_NOTIFY | c.style, kFruit);
        for (const TClick& k : c.clicks) ClickItem(lb, k.item, k.mods);
        EXPECT_EQ(Selection(lb), c.selected);
        EXPECT_EQ(Notes(lb, LBN_SELCHANGE).size(), c.clicks.size()) << "each click tells the parent";
        EXPECT_EQ(SendMessage(lb, LB_GETCARETINDEX), c.clicks.back().item);
        EXPECT_EQ(GetFocus(), lb);
        DestroyWindow(lb);
    }
}

TEST_F(ListBoxTest, DoubleClickAndFocusNotifyOnlyWithNotifyStyleForClicks)
{
    HWND quiet = List(0, kFruit);
    Drv->DoubleClick(Drv->ScreenPoint(quiet, {20, kRow + 4}));
    EXPECT_EQ(SendMessage(quiet, LB_GETCURSEL), 1);
    EXPECT_EQ(Notes(quiet), (std::vector<Word>{LBN_SETFOCUS})) << "focus is always told, clicks only with LBS_NOTIFY";

    HWND lb = List(LBS_NOTIFY, kFruit, 200);
    Log().Clear();
    Drv->DoubleClick(Drv->ScreenPoint(lb, {20, 2 * kRow + 4}));
    EXPECT_EQ(Notes(lb), (std::vector<Word>{LBN_SETFOCUS, LBN_SELCHANGE, LBN_DBLCLK}));
    EXPECT_EQ(Notes(quiet), (std::vector<Word>{LBN_KILLFOCUS}));
}

TEST_F(ListBoxTest, KeyboardMovesTheSelectionAndTypeAheadFindsItems)
{
    HWND lb = List(LBS_NOTIFY, kFruit);
    SetFocus(lb);
    struct TStep {
        const char* what;
        std::function<void()> act;
        int cur, top;
    };
    const TStep steps[] = {
        {"down selects the first", [&] { Drv->PressKey(VK_DOWN); }, 0, 0},
        {"end", [&] { Drv->PressKey(VK_END); }, 7, 3},
        {"home", [&] { Drv->PressKey(VK_HOME); }, 0, 0},
        {"page down to the page's bottom", [&] { Drv->PressKey(VK_NEXT); }, 4, 0},
        {"page down again", [&] { Drv->PressKey(VK_NEXT); }, 7, 3},
        {"up", [&] { Drv->PressKey(VK_UP); }, 6, 3},
        {"typing c", [&] { Drv->TypeText(L"c"); }, 3, 3},
        {"then r: the prefix grows", [&] { Drv->TypeText(L"r"); }, 4, 3},
        {"after a pause b starts again", [&] { Drv->Advance(1500); Drv->TypeText(L"b"); }, 1, 1},
        {"b again steps to the next b", [&] { Drv->TypeText(L"b"); }, 2, 1},
        {"no match stays", [&] { Drv->Advance(1500); Drv->TypeText(L"q"); }, 2, 1},
    };
    size_t notes = 0;
    for (const TStep& s : steps) {
        SCOPED_TRACE(s.what);
        int before = int(SendMessage(lb, LB_GETCURSEL));
        s.act();
        EXPECT_EQ(SendMessage(lb, LB_GETCURSEL), s.cur);
        EXPECT_EQ(SendMessage(lb, LB_GETTOPINDEX), s.top);
        if (before != s.cur) ++notes;
        EXPECT_EQ(Notes(lb, LBN_SELCHANGE).size(), notes) << "told when the selection moved";
    }
}

TEST_F(ListBoxTest, ExtendedKeysAndDragSelectRanges)
{
    HWND lb = List(LBS_NOTIFY | LBS_EXTENDEDSEL, kFruit);
    ClickItem(lb, 1);
    Drv->KeyDown(VK_SHIFT);
    Drv->PressKey(VK_DOWN);
    Drv->PressKey(VK_DOWN);
    Drv->KeyUp(VK_SHIFT);
    EXPECT_EQ(Selection(lb), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(SendMessage(lb, LB_GETSELCOUNT), 3);
    int items[8] = {};
    EXPECT_EQ(SendMessage(lb, LB_GETSELITEMS, 2, LPARAM(items)), 2);
    EXPECT_EQ(items[1], 2);

    Drv->Drag(Drv->ScreenPoint(lb, {20, 4 * kRow + 3}), Drv->ScreenPoint(lb, {20, 0 * kRow + 3}));
    EXPECT_EQ(Selection(lb), (std::vector<int>{0, 1, 2, 3, 4})) << "dragging up from 4 to 0";
    EXPECT_EQ(GetCapture(), nullptr) << "the release ends the drag";

    // Multiple selection: Space toggles the focused item, arrows move focus only.
    HWND multi = List(LBS_MULTIPLESEL, kFruit);
    SetFocus(multi);
    Drv->PressKey(VK_DOWN);
    Drv->PressKey(VK_SPACE);
    Drv->PressKey(VK_DOWN);
    Drv->PressKey(VK_DOWN);
    Drv->PressKey(VK_SPACE);
    EXPECT_EQ(Selection(multi), (std::vector<int>{0, 2}));
    EXPECT_EQ(SendMessage(multi, LB_SETSEL, 1, WPARAM(-1)), LB_OKAY);
    EXPECT_EQ(SendMessage(multi, LB_GETSELCOUNT), 8);
}

TEST_F(ListBoxTest, ScrollBarWheelAndItemGeometry)
{
    HWND lb = List(WS_VSCROLL);
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    EXPECT_FALSE(GetWindowLong(lb, GWL_STYLE) & WS_VSCROLL) << "no bar while everything shows";
    for (int i = 0; i < 20; ++i) SendMessage(lb, LB_ADDSTRING, 0, LPARAM((L"item " + std::to_wstring(i)).c_str()));
    ASSERT_TRUE(GetWindowLong(lb, GWL_STYLE) & WS_VSCROLL);
    GetScrollInfo(lb, SB_VERT, &si);
    EXPECT_EQ(si.nMax, 19);
    EXPECT_EQ(si.nPage, 5u);

    Drv->Wheel(Drv->ScreenPoint(lb, {20, 20}), -WHEEL_DELTA);
    EXPECT_EQ(SendMessage(lb, LB_GETTOPINDEX), 0) << "the wheel goes to the focused window";
    SetFocus(lb);
    Drv->Wheel(Drv->ScreenPoint(lb, {20, 20}), -WHEEL_DELTA);
    EXPECT_EQ(SendMessage(lb, LB_GETTOPINDEX), 3);
    SendMessage(lb, WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(SendMessage(lb, LB_GETTOPINDEX), 8);
    SendMessage(lb, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(SendMessage(lb, LB_GETTOPINDEX), 15) << "the last page is full";
    GetScrollInfo(lb, SB_VERT, &si);
    EXPECT_EQ(si.nPos, 15);
    EXPECT_EQ(SendMessage(lb, LB_SETTOPINDEX, 30), LB_ERR);
    EXPECT_EQ(SendMessage(lb, LB_SETTOPINDEX, 2), LB_OKAY);

    TRect r;
    EXPECT_EQ(SendMessage(lb, LB_GETITEMRECT, 4, LPARAM(&r)), 1);
    EXPECT_EQ(r.Top, 2 * kRow);
    EXPECT_EQ(r.Height(), kRow);
    EXPECT_EQ(SendMessage(lb, LB_GETITEMRECT, 0, LPARAM(&r)), 1);
    EXPECT_EQ(r.Top, -2 * kRow) << "items above the top lie above the client area";
    EXPECT_EQ(SendMessage(lb, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 3 * kRow + 1)), MAKELRESULT(5, 0));
    EXPECT_EQ(HIWORD(uintptr_t(SendMessage(lb, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 200)))), 1) << "outside";

    // A list without LBS_NOINTEGRALHEIGHT shows whole items only.
    HWND whole = CreateWindowEx(0, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE, 10, 100, 100, 90, Parent, nullptr);
    TRect c;
    GetClientRect(whole, &c);
    EXPECT_EQ(c.Height(), 5 * kRow);
    EXPECT_EQ(SendMessage(whole, LB_SETITEMHEIGHT, 0, 300), LB_ERR);
}

// ---------------------------------------------------------------------------
// TListBox

namespace {

class TListForm : public TForm {
public:
    explicit TListForm(TComponent* owner) : TForm(owner)
    {
        SetBorderStyle(bsNone);
        SetBounds(50, 50, 400, 300);
    }
};

class ListBoxControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Drv = std::make_unique<THeadlessDriver>();
        SetFixedMetricsFonts(true);
        InitForms();
        Form = new TListForm(Application);
        Form->Init();
    }
    void TearDown() override
    {
        DoneForms();
        Drv.reset();
        SetFixedMetricsFonts(false);
    }
    TListBox* NewList(TListBoxStyle style = lbStandard)
    {
        auto* lb = new TListBox(Form);
        lb->SetStyle(style);
        lb->SetBorderStyle(bsNone);
        lb->SetBounds(10, 10, 150, 5 * kRow);
        lb->SetParent(Form);
        return lb;
    }
    std::unique_ptr<THeadlessDriver> Drv;
    TListForm* Form = nullptr;
};

}  // namespace

TEST_F(ListBoxControlTest, ItemsObjectsAndSelectionSurviveTheWindow)
{
    auto* lb = NewList();
    TObject tag;
    lb->SetSorted(true);
    lb->Items()->Add(L"pear");
    lb->Items()->AddObject(L"apple", &tag);
    lb->Items()->Add(L"fig");
    lb->SetItemIndex(2);
    EXPECT_FALSE(lb->HandleAllocated());
    EXPECT_EQ(lb->Items()->CommaText(), L"apple,fig,pear");

    Form->Show();
    ASSERT_TRUE(lb->HandleAllocated());
    EXPECT_EQ(SendMessage(lb->Handle(), LB_GETCOUNT), 3);
    EXPECT_EQ(lb->ItemIndex(), 2);
    EXPECT_EQ(lb->Items()->Objects(0), &tag);
    EXPECT_EQ(lb->Items()->IndexOf(L"FIG"), 1);
    EXPECT_THROW(lb->Items()->Strings(3), EListError);

    // A style change makes a new window; the items, objects and selection move over.
    lb->SetMultiSelect(true);
    EXPECT_EQ(lb->Items()->CommaText(), L"apple,fig,pear");
    EXPECT_EQ(lb->Items()->Objects(0), &tag);
    lb->SetSelected(0, true);
    lb->SetSelected(2, true);
    EXPECT_EQ(lb->SelCount(), 2);
    lb->SetExtendedSelect(false);
    EXPECT_TRUE(lb->Selected(0));
    EXPECT_FALSE(lb->Selected(1));
    EXPECT_TRUE(lb->Selected(2));
    lb->DeleteSelected();
    EXPECT_EQ(lb->Items()->CommaText(), L"fig");
    EXPECT_THROW(lb->Selected(5), EListError);
}

TEST_F(ListBoxControlTest, ClicksReachOnClickAndOnDblClick)
{
    auto* lb = NewList();
    lb->Items()->SetCommaText(L"one,two,three");
    int clicks = 0, doubles = 0;
    lb->OnClick = [&](TObject*) { ++clicks; };
    lb->OnDblClick = [&](TObject*) { ++doubles; };
    Form->Show();
    Drv->ClickWindow(lb->Handle(), {10, kRow + 2});
    EXPECT_EQ(lb->ItemIndex(), 1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(doubles, 0);
    Drv->DoubleClick(Drv->ScreenPoint(lb->Handle(), {10, 2 * kRow + 2}));
    EXPECT_EQ(lb->ItemIndex(), 2);
    EXPECT_EQ(doubles, 1);
    EXPECT_EQ(clicks, 2) << "the second press of a double click changes nothing";
    EXPECT_EQ(lb->ItemAtPos({5, 2 * kRow + 1}, true), 2);
    EXPECT_EQ(lb->ItemAtPos({5, 4 * kRow}, true), -1);
    EXPECT_EQ(lb->ItemAtPos({5, 4 * kRow}, false), 3);
    EXPECT_EQ(lb->ItemRect(3), Rect(0, 3 * kRow, 150, 4 * kRow)) << "the place after the last item";
    lb->SetItemIndex(-1);
    EXPECT_EQ(lb->ItemIndex(), -1);
    EXPECT_EQ(clicks, 2) << "setting ItemIndex from code is no click";
}

TEST_F(ListBoxControlTest, OwnerDrawMeasuresAndDrawsThroughTheEvents)
{
    auto* lb = NewList(lbOwnerDrawVariable);
    lb->OnMeasureItem = [](TWinControl*, Integer index, Integer& height) { height = 10 + 5 * index; };
    struct TDrawn {
        Integer index;
        TRect rect;
        TOwnerDrawState state;
    };
    std::vector<TDrawn> drawn;
    lb->OnDrawItem = [&](TWinControl* c, Integer index, TRect rect, TOwnerDrawState state) {
        drawn.push_back({index, rect, state});
        static_cast<TListBox*>(c)->Canvas()->FillRect(rect);
    };
    lb->Items()->SetCommaText(L"a,b,c,d,e,f");
    Form->Show();
    Integer w = lb->ClientWidth();  // narrowed by the scroll bar
    EXPECT_EQ(lb->ItemRect(2), Rect(0, 25, w, 45));
    EXPECT_EQ(SendMessage(lb->Handle(), LB_GETITEMHEIGHT, 3), 25);
    lb->SetFocus();
    lb->SetItemIndex(1);
    drawn.clear();
    lb->Repaint();
    // 10 + 15 + 20 + 25 = 70 of 80 pixels: four whole items and part of a fifth.
    ASSERT_EQ(drawn.size(), 5u);
    EXPECT_EQ(drawn[3].rect, Rect(0, 45, w, 70));
    EXPECT_TRUE(drawn[1].state.Contains(odSelected));
    EXPECT_TRUE(drawn[1].state.Contains(odFocused));
    EXPECT_FALSE(drawn[0].state.Contains(odSelected));

    // Fixed owner draw: one height for all, from ItemHeight.
    auto* fixed = NewList(lbOwnerDrawFixed);
    fixed->SetItemHeight(20);
    fixed->Items()->SetCommaText(L"x,y");
    EXPECT_EQ(fixed->ItemRect(1), Rect(0, 20, 150, 40));
    EXPECT_EQ(fixed->ItemHeight(), 20);
}
