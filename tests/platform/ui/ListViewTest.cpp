#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/ui/ComCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Themes.h"
#include "platform/ui/backend/Headless.h"
#include "tests/platform/ui/WmTestSupport.h"

namespace {

// ---------------------------------------------------------------------------
// The window class, driven by messages, its notifications logged by a parent.

struct TLvNote {
    int Code;
    int Item;
    int Sub;
    UINT Old;
    UINT New;
    UINT Changed;
};

class ListViewWndTest : public WmTest {
protected:
    void SetUp() override
    {
        WmTest::SetUp();
        RegisterListViewClasses();
        Parent = Top(0, 0, 400, 300);
        Log().Handlers[{Parent, WM_NOTIFY}] = [this](WPARAM, LPARAM l) -> LRESULT {
            auto* hdr = reinterpret_cast<NMHDR*>(l);
            if (hdr->code == LVN_ITEMCHANGING || hdr->code == LVN_ITEMCHANGED || hdr->code == LVN_INSERTITEM ||
                hdr->code == LVN_DELETEITEM || hdr->code == LVN_COLUMNCLICK) {
                auto* nm = reinterpret_cast<NMLISTVIEW*>(l);
                Notes.push_back({hdr->code, nm->iItem, nm->iSubItem, nm->uOldState, nm->uNewState, nm->uChanged});
                if (hdr->code == LVN_ITEMCHANGING && Veto == nm->iItem) return TRUE;
            } else {
                Notes.push_back({hdr->code, -1, 0, 0, 0, 0});
            }
            return 0;
        };
    }
    HWND NewList(DWORD style = LVS_REPORT | LVS_SINGLESEL, int rows = 5)
    {
        HWND lv = CreateWindowEx(0, WC_LISTVIEW, L"", WS_CHILD | WS_VISIBLE | style, 10, 10, 300, 200,
                                 Parent, reinterpret_cast<HMENU>(7));
        const wchar_t* caps[] = {L"Name", L"Size"};
        for (int c = 0; c < 2; ++c) {
            LVCOLUMN col;
            col.mask = LVCF_TEXT | LVCF_WIDTH;
            col.pszText = const_cast<wchar_t*>(caps[c]);
            col.cx = 100;
            SendMessage(lv, LVM_INSERTCOLUMN, c, LPARAM(&col));
        }
        for (int i = 0; i < rows; ++i) {
            String t = L"item" + std::to_wstring(i);
            LVITEM it;
            it.mask = LVIF_TEXT | LVIF_PARAM;
            it.iItem = i;
            it.pszText = const_cast<wchar_t*>(t.c_str());
            it.lParam = 100 + i;
            SendMessage(lv, LVM_INSERTITEM, 0, LPARAM(&it));
        }
        Notes.clear();
        return lv;
    }
    static UINT StateOf(HWND lv, int i) { return UINT(SendMessage(lv, LVM_GETITEMSTATE, i, LVIS_SELECTED | LVIS_FOCUSED)); }
    static void SetState(HWND lv, int i, UINT state, UINT mask)
    {
        LVITEM it;
        it.state = state;
        it.stateMask = mask;
        SendMessage(lv, LVM_SETITEMSTATE, WPARAM(intptr_t(i)), LPARAM(&it));
    }
    std::vector<TLvNote> Changed() const
    {
        std::vector<TLvNote> r;
        for (auto& n : Notes)
            if (n.Code == LVN_ITEMCHANGED) r.push_back(n);
        return r;
    }
    HWND Parent = nullptr;
    std::vector<TLvNote> Notes;
    int Veto = -2;
};

constexpr UINT SF = LVIS_SELECTED | LVIS_FOCUSED;

TEST_F(ListViewWndTest, StateChangesNotifyOldAndNewStateInOrder)
{
    HWND lv = NewList();
    SetState(lv, 1, SF, SF);
    ASSERT_EQ(Notes.size(), 2u);
    EXPECT_EQ(Notes[0].Code, LVN_ITEMCHANGING);
    EXPECT_EQ(Notes[1].Code, LVN_ITEMCHANGED);
    EXPECT_EQ(Notes[1].Item, 1);
    EXPECT_EQ(Notes[1].Old, 0u);
    EXPECT_EQ(Notes[1].New, SF);
    EXPECT_EQ(Notes[1].Changed, UINT(LVIF_STATE));

    // Single selection: the old item loses selection and focus before the
    // new one gains them.
    Notes.clear();
    SetState(lv, 3, SF, SF);
    auto ch = Changed();
    ASSERT_EQ(ch.size(), 2u);
    EXPECT_EQ(ch[0].Item, 1);
    EXPECT_EQ(ch[0].Old, SF);
    EXPECT_EQ(ch[0].New, 0u);
    EXPECT_EQ(ch[1].Item, 3);
    EXPECT_EQ(ch[1].New, SF);

    // Setting what is already there says nothing.
    Notes.clear();
    SetState(lv, 3, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_TRUE(Notes.empty());

    // The parent may refuse a change.
    Veto = 0;
    Notes.clear();
    SetState(lv, 0, SF, SF);
    EXPECT_EQ(StateOf(lv, 0), 0u);
    EXPECT_EQ(StateOf(lv, 3), SF) << "the refused change left the others alone";

    // -1 changes every item.
    Veto = -2;
    SetState(lv, -1, 0, LVIS_SELECTED);
    EXPECT_EQ(SendMessage(lv, LVM_GETSELECTEDCOUNT, 0, 0), 0);
    EXPECT_EQ(SendMessage(lv, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED), 3);
}

TEST_F(ListViewWndTest, ExtendedSelectionWithShiftAndCtrl)
{
    HWND lv = NewList(LVS_REPORT, 6);
    SetFocus(lv);
    SetState(lv, 1, SF, SF);
    Drv->PressKey(VK_DOWN, {VK_SHIFT});
    Drv->PressKey(VK_DOWN, {VK_SHIFT});
    EXPECT_EQ(SendMessage(lv, LVM_GETSELECTEDCOUNT, 0, 0), 3);
    EXPECT_EQ(StateOf(lv, 3), SF);
    // Ctrl+click toggles one item, keeping the rest.
    TRect r;
    r.Left = LVIR_BOUNDS;
    SendMessage(lv, LVM_GETITEMRECT, 5, LPARAM(&r));
    Drv->KeyDown(VK_CONTROL);
    Drv->ClickWindow(lv, {r.Left + 5, r.Top + 2});
    Drv->KeyUp(VK_CONTROL);
    EXPECT_EQ(SendMessage(lv, LVM_GETSELECTEDCOUNT, 0, 0), 4);
    // A plain arrow selects one item again.
    Drv->PressKey(VK_UP);
    EXPECT_EQ(SendMessage(lv, LVM_GETSELECTEDCOUNT, 0, 0), 1);
    EXPECT_EQ(StateOf(lv, 4), SF);
}

TEST_F(ListViewWndTest, ItemsSubItemsAndHitTesting)
{
    HWND lv = NewList();
    LVITEM it;
    it.iSubItem = 1;
    it.pszText = const_cast<wchar_t*>(L"12 MB");
    SendMessage(lv, LVM_SETITEMTEXT, 2, LPARAM(&it));
    auto ch = Changed();
    ASSERT_EQ(ch.size(), 1u);
    EXPECT_EQ(ch[0].Changed, UINT(LVIF_TEXT));
    EXPECT_EQ(ch[0].Sub, 1);

    wchar_t buf[32];
    LVITEM get;
    get.iSubItem = 1;
    get.pszText = buf;
    get.cchTextMax = 4;
    EXPECT_EQ(SendMessage(lv, LVM_GETITEMTEXT, 2, LPARAM(&get)), 3) << "cut to the buffer";
    EXPECT_STREQ(buf, L"12 ");

    // Hit tests: the sub-item test finds any column; the plain one only the
    // first column unless the whole row selects.
    TRect r;
    r.Left = LVIR_BOUNDS;
    SendMessage(lv, LVM_GETITEMRECT, 2, LPARAM(&r));
    LVHITTESTINFO ht;
    ht.pt = {150, r.Top + 2};
    EXPECT_EQ(SendMessage(lv, LVM_SUBITEMHITTEST, 0, LPARAM(&ht)), 2);
    EXPECT_EQ(ht.iSubItem, 1);
    EXPECT_EQ(SendMessage(lv, LVM_HITTEST, 0, LPARAM(&ht)), -1);
    SendMessage(lv, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    EXPECT_EQ(SendMessage(lv, LVM_HITTEST, 0, LPARAM(&ht)), 2);
    ht.pt = {20, r.Top + 2 + 4 * r.Height()};
    EXPECT_EQ(SendMessage(lv, LVM_HITTEST, 0, LPARAM(&ht)), -1);
    EXPECT_EQ(ht.flags, UINT(LVHT_NOWHERE));

    // Deleting tells the parent first; the rest move up.
    Notes.clear();
    SendMessage(lv, LVM_DELETEITEM, 0, 0);
    ASSERT_EQ(Notes.size(), 1u);
    EXPECT_EQ(Notes[0].Code, LVN_DELETEITEM);
    EXPECT_EQ(SendMessage(lv, LVM_GETITEMCOUNT, 0, 0), 4);
    get.iSubItem = 1;
    get.cchTextMax = 32;
    SendMessage(lv, LVM_GETITEMTEXT, 1, LPARAM(&get));
    EXPECT_STREQ(buf, L"12 MB");
    EXPECT_EQ(SendMessage(lv, LVM_DELETEITEM, 99, 0), FALSE);
}

TEST_F(ListViewWndTest, KeyboardScrollingKeepsTheFocusedRowVisible)
{
    HWND lv = NewList(LVS_REPORT | LVS_SINGLESEL, 40);
    int page = int(SendMessage(lv, LVM_GETCOUNTPERPAGE, 0, 0));
    ASSERT_GT(page, 2);
    ASSERT_LT(page, 40);
    SetFocus(lv);
    struct Step {
        Word Key;
        int Focus;
        int Top;
    } steps[] = {
        {VK_DOWN, 0, 0},                     // nothing focused: the first item
        {VK_NEXT, page - 1, 0},              // to the bottom of the page
        {VK_NEXT, 2 * page - 2, page - 1},   // a page further, scrolled
        {VK_END, 39, 40 - page},
        {VK_PRIOR, 40 - page, 40 - page},    // to the top of the page
        {VK_HOME, 0, 0},
        {VK_UP, 0, 0},
    };
    for (auto& s : steps) {
        Drv->PressKey(s.Key);
        EXPECT_EQ(SendMessage(lv, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED | LVNI_SELECTED), s.Focus) << s.Key;
        EXPECT_EQ(SendMessage(lv, LVM_GETTOPINDEX, 0, 0), s.Top) << s.Key;
    }
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    GetScrollInfo(lv, SB_VERT, &si);
    EXPECT_EQ(si.nMax, 39);
    EXPECT_EQ(int(si.nPage), page);
    EXPECT_TRUE(GetWindowLong(lv, GWL_STYLE) & WS_VSCROLL);

    // The wheel and the scroll bar move the rows, not the focus.
    TPoint mid = Drv->ScreenPoint(lv, {50, 100});
    Drv->Wheel(mid, -WHEEL_DELTA);
    EXPECT_EQ(SendMessage(lv, LVM_GETTOPINDEX, 0, 0), 3);
    SendMessage(lv, WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(SendMessage(lv, LVM_GETTOPINDEX, 0, 0), 3 + page);
    SendMessage(lv, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(SendMessage(lv, LVM_GETTOPINDEX, 0, 0), 40 - page);
    EXPECT_EQ(SendMessage(lv, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED), 0);
    SendMessage(lv, LVM_ENSUREVISIBLE, 1, FALSE);
    EXPECT_EQ(SendMessage(lv, LVM_GETTOPINDEX, 0, 0), 1);
}

TEST_F(ListViewWndTest, HeaderClickAndDividerDrag)
{
    HWND lv = NewList();
    auto header = reinterpret_cast<HWND>(SendMessage(lv, LVM_GETHEADER, 0, 0));
    ASSERT_TRUE(header);
    TRect r;
    SendMessage(header, HDM_GETITEMRECT, 1, LPARAM(&r));
    Drv->ClickWindow(header, {r.Left + 30, r.Top + 5});
    ASSERT_FALSE(Notes.empty());
    EXPECT_EQ(Notes.back().Code, LVN_COLUMNCLICK);
    EXPECT_EQ(Notes.back().Sub, 1);

    // Dragging the first divider 40 pixels right widens the first column.
    TPoint from = Drv->ScreenPoint(header, {100, 5});
    Drv->Drag(from, {from.X + 40, from.Y});
    EXPECT_EQ(SendMessage(lv, LVM_GETCOLUMNWIDTH, 0, 0), 140);
    HDITEM hi;
    hi.mask = HDI_WIDTH;
    SendMessage(header, HDM_GETITEM, 0, LPARAM(&hi));
    EXPECT_EQ(hi.cxy, 140);
    TRect sub;
    sub.Top = 1;
    sub.Left = LVIR_BOUNDS;
    SendMessage(lv, LVM_GETSUBITEMRECT, 0, LPARAM(&sub));
    EXPECT_EQ(sub.Left, 140) << "the second column starts where the first ends";

    // Without sort header buttons, clicks tell nothing.
    SetWindowLong(lv, GWL_STYLE, GetWindowLong(lv, GWL_STYLE) | LVS_NOSORTHEADER);
    Notes.clear();
    Drv->ClickWindow(header, {r.Left + 70, r.Top + 5});
    for (auto& n : Notes) EXPECT_NE(n.Code, LVN_COLUMNCLICK);
}

// The drawing calls of a window painted into a recording DC.
std::vector<TGdiRecord> PrintRecords(HWND h)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(dc, 400, 300);
    HGDIOBJ old = SelectObject(dc, bmp);
    GdiStartRecording(dc);
    SendMessage(h, WM_PRINTCLIENT, WPARAM(dc), 0);
    std::vector<TGdiRecord> r = GdiRecords(dc);
    GdiStopRecording(dc);
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    return r;
}

int CountKind(const std::vector<TGdiRecord>& recs, const String& kind, UINT flags = ~0u)
{
    int n = 0;
    for (auto& r : recs) n += r.Kind == kind && (flags == ~0u || r.Flags == flags);
    return n;
}

TEST_F(ListViewWndTest, HeaderDrawsThemedItemsOrClassicEdges)
{
    HWND lv = NewList();
    auto header = reinterpret_cast<HWND>(SendMessage(lv, LVM_GETHEADER, 0, 0));
    auto recs = PrintRecords(header);
    EXPECT_EQ(CountKind(recs, L"DrawThemeBackground", HP_HEADERITEM * 0x10000 + HIS_NORMAL), 3)
        << "two columns and the rest of the row";
    bool caption = false;
    for (auto& r : recs) caption |= r.Text == L"Size";
    EXPECT_TRUE(caption);

    // A button held on a column draws it pressed.
    TRect item;
    SendMessage(header, HDM_GETITEMRECT, 0, LPARAM(&item));
    Drv->MouseDown(Drv->ScreenPoint(header, {item.Left + 20, item.Top + 5}));
    EXPECT_EQ(CountKind(PrintRecords(header), L"DrawThemeBackground", HP_HEADERITEM * 0x10000 + HIS_PRESSED), 1);
    Drv->MouseUp(Drv->ScreenPoint(header, {item.Left + 20, item.Top + 5}));

    SetVisualStylesEnabled(false);
    recs = PrintRecords(header);
    SetVisualStylesEnabled(true);
    EXPECT_EQ(CountKind(recs, L"DrawThemeBackground"), 0);
    EXPECT_EQ(CountKind(recs, L"DrawEdge"), 3);
}

// ---------------------------------------------------------------------------
// TListView

class TLvForm : public TForm {
public:
    explicit TLvForm(TComponent* owner) : TForm(owner)
    {
        SetBorderStyle(bsNone);
        SetBounds(50, 50, 500, 400);
    }
};

class ListViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Drv = std::make_unique<THeadlessDriver>();
        InitForms();
        Form = new TLvForm(Application);
        Form->Init();
        LV = new TListView(Form);
        LV->SetParent(Form);
        LV->SetBounds(10, 10, 400, 300);
        LV->SetViewStyle(vsReport);
        const wchar_t* caps[] = {L"File", L"Size", L"Status"};
        for (auto* c : caps) {
            TListColumn* col = LV->Columns()->Add();
            col->SetCaption(c);
            col->SetWidth(120);
        }
        LV->Column(1)->SetAlignment(taRightJustify);
    }
    void TearDown() override
    {
        DoneForms();
        Drv.reset();
    }
    TListItem* AddRow(const String& name, const String& size, const String& status)
    {
        TListItem* it = LV->Items()->Add();
        it->SetCaption(name);
        it->SubItems()->Add(size);
        it->SubItems()->Add(status);
        return it;
    }
    String WindowText(int item, int sub)
    {
        wchar_t buf[64];
        LVITEM it;
        it.iSubItem = sub;
        it.pszText = buf;
        it.cchTextMax = 64;
        SendMessage(LV->Handle(), LVM_GETITEMTEXT, item, LPARAM(&it));
        return buf;
    }
    std::unique_ptr<THeadlessDriver> Drv;
    TLvForm* Form = nullptr;
    TListView* LV = nullptr;
};

TEST_F(ListViewTest, ItemsAndColumnsLiveInTheObjectsAndShowInTheWindow)
{
    AddRow(L"a.mp4", L"10 MB", L"done");   // before the window exists
    Form->Show();
    ASSERT_TRUE(LV->HandleAllocated());
    TListItem* b = AddRow(L"b.mp4", L"", L"queued");
    EXPECT_EQ(SendMessage(LV->Handle(), LVM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(WindowText(0, 2), L"done");
    EXPECT_EQ(WindowText(1, 0), L"b.mp4");

    EXPECT_EQ(b->SubItems()->Strings(1), L"queued");
    b->SubItems()->SetStrings(1, L"42%");
    EXPECT_EQ(WindowText(1, 2), L"42%");
    b->SubItems()->Delete(1);
    EXPECT_EQ(WindowText(1, 2), L"") << "a removed sub-item clears its column";
    b->SetCaption(L"c.mp4");
    EXPECT_EQ(WindowText(1, 0), L"c.mp4");

    LVCOLUMN col;
    wchar_t buf[32];
    col.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH;
    col.pszText = buf;
    col.cchTextMax = 32;
    SendMessage(LV->Handle(), LVM_GETCOLUMN, 1, LPARAM(&col));
    EXPECT_STREQ(buf, L"Size");
    EXPECT_EQ(col.fmt, int(LVCFMT_RIGHT));
    EXPECT_EQ(col.cx, 120);
    LV->Column(2)->SetCaption(L"State");
    SendMessage(LV->Handle(), LVM_GETCOLUMN, 2, LPARAM(&col));
    EXPECT_STREQ(buf, L"State");

    // A new window gets everything back, the selection and widths too.
    LV->SetItemIndex(1);
    SendMessage(LV->Handle(), LVM_SETCOLUMNWIDTH, 0, 77);
    LV->RecreateWnd();
    LV->HandleNeeded();
    EXPECT_EQ(SendMessage(LV->Handle(), LVM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(WindowText(1, 0), L"c.mp4");
    EXPECT_EQ(LV->ItemIndex(), 1);
    EXPECT_EQ(LV->Column(0)->Width(), 77);

    // A column put in front shifts the others in the window.
    LV->Columns()->Insert(0)->SetCaption(L"#");
    SendMessage(LV->Handle(), LVM_GETCOLUMN, 0, LPARAM(&col));
    EXPECT_STREQ(buf, L"#");
    SendMessage(LV->Handle(), LVM_GETCOLUMN, 1, LPARAM(&col));
    EXPECT_STREQ(buf, L"File");
    LV->Columns()->Delete(0);

    // Deleting items and columns.
    LV->Items()->Item(0)->Delete();
    EXPECT_EQ(LV->Items()->Count(), 1);
    EXPECT_EQ(WindowText(0, 0), L"c.mp4");
    EXPECT_EQ(LV->Items()->Item(0)->Index(), 0);
    LV->Columns()->Delete(0);
    EXPECT_EQ(SendMessage(reinterpret_cast<HWND>(SendMessage(LV->Handle(), LVM_GETHEADER, 0, 0)), HDM_GETITEMCOUNT, 0, 0), 2);
    LV->Items()->Clear();
    EXPECT_EQ(SendMessage(LV->Handle(), LVM_GETITEMCOUNT, 0, 0), 0);
    EXPECT_THROW(LV->Items()->Item(0), EListError);
}

TEST_F(ListViewTest, SelectionEventsComeInOrderAndChangingMayRefuse)
{
    for (int i = 0; i < 4; ++i) AddRow(L"f" + std::to_wstring(i), L"", L"");
    Form->Show();
    std::vector<String> log;
    LV->OnChange = [&](TObject*, TListItem* it, TItemChange c) {
        if (c == ctState) log.push_back(L"change " + it->Caption() + (it->Selected() ? L" sel" : L""));
    };
    LV->OnSelectItem = [&](TObject*, TListItem* it, bool sel) {
        log.push_back(L"select " + it->Caption() + (sel ? L" on" : L" off"));
    };
    LV->SetItemIndex(0);
    log.clear();
    LV->SetSelected(LV->Items()->Item(2));
    std::vector<String> want = {L"change f0", L"select f0 off", L"change f2 sel", L"select f2 on"};
    EXPECT_EQ(log, want);
    EXPECT_EQ(LV->ItemIndex(), 2);
    EXPECT_EQ(LV->Selected(), LV->Items()->Item(2));
    EXPECT_TRUE(LV->Items()->Item(2)->Focused());

    // A text change is a ctText change.
    std::vector<TItemChange> kinds;
    LV->OnChange = [&](TObject*, TListItem*, TItemChange c) { kinds.push_back(c); };
    LV->Items()->Item(1)->SetCaption(L"renamed");
    ASSERT_EQ(kinds.size(), 1u);
    EXPECT_EQ(kinds[0], ctText);

    // OnChanging refuses: nothing moves.
    LV->OnChanging = [&](TObject*, TListItem* it, TItemChange c, bool& allow) {
        if (c == ctState && it->Index() == 3) allow = false;
    };
    LV->SetItemIndex(3);
    EXPECT_EQ(LV->ItemIndex(), 2);
    EXPECT_FALSE(LV->Items()->Item(3)->Selected());

    LV->SetItemIndex(-1);
    EXPECT_EQ(LV->Selected(), nullptr);
    EXPECT_EQ(LV->SelCount(), 0);
}

TEST_F(ListViewTest, MouseAndKeyboardSelectAndFireClickEvents)
{
    for (int i = 0; i < 30; ++i) AddRow(L"f" + std::to_wstring(i), L"", L"");
    LV->SetRowSelect(true);
    Form->Show();
    int clicks = 0, dbl = 0;
    TListColumn* clicked = nullptr;
    LV->OnClick = [&](TObject*) { ++clicks; };
    LV->OnDblClick = [&](TObject*) { ++dbl; };
    LV->OnColumnClick = [&](TObject*, TListColumn* c) { clicked = c; };

    TRect r = LV->Items()->Item(3)->DisplayRect();
    Drv->ClickWindow(LV->Handle(), {300, r.Top + 2});   // a sub-item: the row selects
    EXPECT_EQ(LV->ItemIndex(), 3);
    EXPECT_TRUE(LV->Focused());
    EXPECT_EQ(clicks, 1);
    Drv->DoubleClick(Drv->ScreenPoint(LV->Handle(), {10, r.Top + 2}));
    EXPECT_EQ(dbl, 1);

    Drv->PressKey(VK_DOWN);
    Drv->PressKey(VK_DOWN);
    EXPECT_EQ(LV->ItemIndex(), 5);
    Drv->PressKey(VK_END);
    EXPECT_EQ(LV->ItemIndex(), 29);
    TListItem* top = LV->TopItem();
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->Index(), 30 - LV->VisibleRowCount());
    LV->Items()->Item(0)->MakeVisible();
    EXPECT_EQ(LV->TopItem()->Index(), 0);

    auto header = reinterpret_cast<HWND>(SendMessage(LV->Handle(), LVM_GETHEADER, 0, 0));
    Drv->ClickWindow(header, {130, 5});
    EXPECT_EQ(clicked, LV->Column(1));
    clicked = nullptr;
    LV->SetColumnClick(false);
    Drv->ClickWindow(header, {130, 5});
    EXPECT_EQ(clicked, nullptr);

    // Without a window the same single-selection rule holds.
    LV->DestroyHandle();
    LV->Items()->Item(4)->SetSelected(true);
    LV->Items()->Item(6)->SetSelected(true);
    EXPECT_EQ(LV->SelCount(), 1);
    EXPECT_EQ(LV->ItemIndex(), 6);
}

}  // namespace
