// The grid drop-down: construction, items linked to rows through column 0's
// objects, the list prepared at each opening, typing per LookupMethod and
// Style (sorted and unsorted, from Items or the grid's own cells), edit
// completion, closed-list moves, the editable list, snapping the window and
// the dispatchers.
#include "tests/controls/dropdown/DropDownTestSupport.h"

#include "controls/dropdown/GridDropDown.h"

using namespace GridDropDownList;

namespace {

class GridDropDown : public DropDownFormTest {
protected:
    TVodGridDropDown* MakeList(std::initializer_list<std::initializer_list<const wchar_t*>> rows, Integer columns = 2)
    {
        auto* d = Make<TVodGridDropDown>(20, 40, 200);
        for (Integer i = 0; i < columns; ++i) {
            TDropDownColumn* c = d->Columns()->Add();
            c->SetWidth(90);
            c->SetHeader(L"H" + IntToStr(i));
        }
        for (auto& r : rows) {
            TDropDownItem* it = d->Items()->Add();
            for (auto* s : r) it->Text()->Add(s);
        }
        d->SetAutoSizeColumns(false);
        d->EndUpdate();
        d->OnSelect = [this](TObject*) { ++Selects; };
        return d;
    }
    void Open(TCustomVodGridDropDown* d)
    {
        ShowForm();
        d->SetFocus();
        d->ShowDropDown();
        Drv->Pump();
    }
    // The lookup texts of the data rows as the list shows them.
    std::vector<String> Shown(TCustomVodGridDropDown* d)
    {
        std::vector<String> out;
        auto* g = d->Grid();
        for (Integer r = g->FixedRows(); r < g->RowCount(); ++r) out.push_back(g->Cells(d->LookupColumn(), r));
        return out;
    }
    // Sorts the open list by its first column, descending, as a header
    // click does (the sort handlers around it).
    void SortDescending(TCustomVodGridDropDown* d)
    {
        auto* g = d->Grid();
        bool allow = true;
        g->OnCanSort(g, 0, allow);
        g->SortSettings()->Column = 0;
        g->SortSettings()->Direction = sdDescending;
        g->QSort();
        g->OnClickSort(g, 0);
    }
    int Selects = 0;
};

}  // namespace

TEST_F(GridDropDown, ConstructionStyleAndItemIndex)
{
    auto* d = MakeList({{L"Apple", L"red"}, {L"Berry", L"blue"}, {L"Short"}});
    EXPECT_EQ(d->GetVersionNr(), 0x06000202);
    EXPECT_EQ(d->HeaderColor(), TColor(0xFFEFE3));
    EXPECT_EQ(d->HeaderFont()->Color(), TColor(0x723708));
    EXPECT_TRUE(d->UseItems());
    EXPECT_EQ(d->LookupMethod(), lmLookup);
    EXPECT_TRUE(d->RowSelect());
    EXPECT_FALSE(d->GridEditable());
    EXPECT_EQ(d->HoverRowColor(), clInfoBk);
    EXPECT_EQ(d->Navigation()->HomeEndKey(), heFirstLastRow);
    d->SetStyle(dsDropDownList);
    EXPECT_FALSE(d->EditorEnabled());
    d->SetStyle(dsDropDown);
    EXPECT_TRUE(d->EditorEnabled());

    d->SetItemIndex(1);
    EXPECT_EQ(d->Text(), L"Berry");
    d->SetItemIndex(3);  // = RowCount: nothing changes
    EXPECT_EQ(d->ItemIndex(), 1);
    d->SetItemIndex(-1);
    EXPECT_EQ(d->Text(), L"");
    d->SetLookupColumn(1);
    d->EndUpdate();
    d->SetItemIndex(2);  // no second string: empty, no index error
    EXPECT_EQ(d->Text(), L"");
    EXPECT_EQ(d->LookupList()[2], L"");
}

TEST_F(GridDropDown, OpeningFillsTheGridAndLinksRowsToItems)
{
    auto* d = MakeList({{L"Cherry", L"3"}, {L"Apple", L"1"}, {L"Berry", L"2"}});
    d->SetItemIndex(2);
    d->SetSorting(gsSingleColumn);
    d->SetGridEditable(true);
    d->SetColumnMoving(true);
    Open(d);
    auto* g = d->Grid();
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(d->Control(), g);
    EXPECT_EQ(g->RowCount(), 4);
    EXPECT_EQ(g->Cells(0, 0), L"H0");
    EXPECT_EQ(g->Cells(1, 2), L"1");
    EXPECT_EQ(d->ItemOfRow(0), -1);
    for (Integer r = 1; r <= 3; ++r) EXPECT_EQ(d->ItemOfRow(r), r - 1);
    EXPECT_EQ(g->Row(), 3);
    EXPECT_EQ(g->RowHeights(0), 25);
    EXPECT_EQ(g->DefaultRowHeight(), 22);
    EXPECT_TRUE(g->SortSettings()->Show());
    EXPECT_FALSE(g->SortSettings()->IndexShow);
    EXPECT_TRUE(g->Options().Contains(goEditing));
    EXPECT_TRUE(g->Options().Contains(goColMoving));
    EXPECT_TRUE(g->Options().Contains(goThumbTracking));
    EXPECT_FALSE(d->DropDownForm()->CancelOnDeActivate());
    EXPECT_TRUE(g->Focused());

    // A header click sorts; the chosen item's row is current again.
    SortDescending(d);
    EXPECT_EQ(Shown(d), (std::vector<String>{L"Cherry", L"Berry", L"Apple"}));
    EXPECT_EQ(d->RowOfItem(2), 2);
    EXPECT_EQ(g->Row(), 2);
    EXPECT_EQ(d->ItemIndex(), 2);
    d->HideDropDown(false);
    EXPECT_EQ(d->Text(), L"Berry");

    // Reopened sorted (the sort column kept): the choice's row is current.
    d->SetItemIndex(0);
    d->ShowDropDown();
    Drv->Pump();
    EXPECT_EQ(Shown(d), (std::vector<String>{L"Cherry", L"Berry", L"Apple"}));
    EXPECT_EQ(g->Row(), d->RowOfItem(0));
    d->HideDropDown(true);
}

TEST_F(GridDropDown, TypingInTheOpenListPerMethodAndStyle)
{
    // (sorted, style, typed, item wanted, text wanted); the list sorted
    // descending puts Cherry, Berry, Beans, Apple on rows 1 to 4.
    struct TCase {
        bool Sorted;
        TDropDownStyle Style;
        const wchar_t* Typed;
        Integer Item;
        const wchar_t* Text;
    } cases[] = {
        {false, dsDropDown, L"b", 1, L"Berry"},     {false, dsDropDown, L"bea", 2, L"Beans"},
        {true, dsDropDown, L"bea", 2, L"Beans"},    {true, dsDropDown, L"c", 3, L"Cherry"},
        {false, dsDropDownList, L"bex", 1, L"Berry"},  // the failed entry keeps the choice
        {true, dsDropDownList, L"bza", 0, L"Apple"},   // restarts from the single character
    };
    for (auto& c : cases) {
        SCOPED_TRACE(String(c.Typed) + (c.Sorted ? L" sorted" : L"") + (c.Style ? L" list" : L""));
        auto* d = MakeList({{L"Apple"}, {L"Berry"}, {L"Beans"}, {L"Cherry"}}, 1);
        d->SetStyle(c.Style);
        Open(d);
        if (c.Sorted) SortDescending(d);
        Drv->TypeText(c.Typed);
        Drv->Pump();
        EXPECT_EQ(d->ItemIndex(), c.Item);
        EXPECT_EQ(d->EditText(), c.Text);
        // The current row shows the item, sorted or not.
        EXPECT_EQ(d->ItemOfRow(d->Grid()->Row()), c.Item);
        EXPECT_TRUE(d->DroppedDown());
        Drv->PressKey(VK_RETURN);
        Drv->Pump();
        EXPECT_FALSE(d->DroppedDown());
        EXPECT_EQ(d->ItemIndex(), c.Item);
        delete d;
    }
}

TEST_F(GridDropDown, TypingWithoutItemsNarrowingAndNone)
{
    // The grid's own cells: ItemIndex is the row less FixedRows.
    auto* d = MakeList({}, 1);
    d->SetUseItems(false);
    ShowForm();
    d->ShowDropDown();  // makes the grid
    Drv->Pump();
    d->HideDropDown(true);
    auto* g = d->Grid();
    g->SetRowCount(5);
    const wchar_t* own[] = {L"Delta", L"Alpha", L"Gamma", L"Beta"};
    for (int i = 0; i < 4; ++i) g->SetCells(0, i + 1, own[i]);
    d->SetFocus();
    d->ShowDropDown();
    Drv->Pump();
    Drv->TypeText(L"g");
    Drv->Pump();
    EXPECT_EQ(g->Row(), 3);
    EXPECT_EQ(d->ItemIndex(), 2);
    EXPECT_EQ(d->EditText(), L"Gamma");
    d->HideDropDown(true);

    // Narrowing: the first row left shows the match (with Items).
    auto* n = MakeList({{L"Apple"}, {L"Berry"}, {L"Banana"}, {L"Cherry"}}, 1);
    n->SetLookupMethod(lmNarrowDown);
    Open(n);
    Drv->TypeText(L"ba");
    Drv->Pump();
    EXPECT_EQ(Shown(n), (std::vector<String>{L"Banana"}));
    EXPECT_EQ(n->Grid()->Row(), 1);
    EXPECT_EQ(n->ItemIndex(), 2);
    EXPECT_EQ(n->EditText(), L"Banana");
    Drv->PressKey(VK_BACK);
    Drv->Pump();
    n->HideDropDown(true);

    // lmNone: typing never moves the list.
    auto* z = MakeList({{L"Apple"}, {L"Berry"}}, 1);
    z->SetLookupMethod(lmNone);
    Open(z);
    const Integer row = z->Grid()->Row();
    Drv->TypeText(L"b");
    Drv->Pump();
    EXPECT_EQ(z->Grid()->Row(), row);
    EXPECT_EQ(z->ItemIndex(), -1);
    z->HideDropDown(true);
}

TEST_F(GridDropDown, EditCompletionClosedMovesAndEsc)
{
    auto* d = MakeList({{L"Apple"}, {L"Berry"}, {L"Beans"}, {L"Cherry"}, {L"Date"}, {L"Elder"}, {L"Fig"},
                        {L"Grape"}, {L"Hazel"}, {L"Ivy"}, {L"Juniper"}, {L"Kiwi"}},
                       1);
    ShowForm();
    int changes = 0;
    d->OnChange = [&](TObject*) { ++changes; };
    // Typing looks up: the item's text with the rest selected.
    Type(d, L"be");
    EXPECT_EQ(d->EditText(), L"Berry");
    EXPECT_EQ(d->ItemIndex(), 1);
    EXPECT_GT(changes, 0);
    DWORD a = 0, b = 0;
    SendMessage(d->Handle(), EM_GETSEL, WPARAM(&a), LPARAM(&b));
    EXPECT_EQ(a, 2u);
    EXPECT_EQ(b, 5u);
    // Without the lookup the completion alone takes the item.
    d->SetLookupMethod(lmNone);
    d->SetText(String());
    Type(d, L"bea");
    EXPECT_EQ(d->EditText(), L"Beans");
    EXPECT_EQ(d->ItemIndex(), 2);
    d->SetText(String());
    Type(d, L"q");  // no match: cut back to what was typed
    EXPECT_EQ(d->EditText(), L"q");
    d->SetLookupMethod(lmLookup);

    // Closed moves: from none the first, PgDn ten on, Home and End only
    // in the list style.
    d->SetText(String());
    d->SetItemIndex(-1);
    SendMessage(d->Handle(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(d->ItemIndex(), 0);
    SendMessage(d->Handle(), WM_KEYDOWN, VK_NEXT, 0);
    EXPECT_EQ(d->ItemIndex(), 10);
    SendMessage(d->Handle(), WM_KEYDOWN, VK_NEXT, 0);
    EXPECT_EQ(d->ItemIndex(), 11);
    SendMessage(d->Handle(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(d->ItemIndex(), 11);
    SendMessage(d->Handle(), WM_KEYDOWN, VK_PRIOR, 0);
    EXPECT_EQ(d->ItemIndex(), 1);
    SendMessage(d->Handle(), WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(d->ItemIndex(), 1);
    d->SetStyle(dsDropDownList);
    SendMessage(d->Handle(), WM_KEYDOWN, VK_END, 0);
    EXPECT_EQ(d->ItemIndex(), 11);
    EXPECT_EQ(d->Text(), L"Kiwi");
    SendMessage(d->Handle(), WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(d->ItemIndex(), 0);

    // Esc in the open list restores the choice of the opening.
    d->SetItemIndex(3);
    d->SetFocus();
    d->ShowDropDown();
    Drv->Pump();
    Drv->PressKey(VK_DOWN);
    Drv->Pump();
    EXPECT_EQ(d->ItemIndex(), 4);
    Drv->PressKey(VK_ESCAPE);
    Drv->Pump();
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_EQ(d->ItemIndex(), 3);
    EXPECT_EQ(d->Text(), L"Cherry");
}

TEST_F(GridDropDown, ClicksWheelAndTheEditableList)
{
    auto* d = MakeList({{L"One"}, {L"Two"}, {L"Three"}, {L"Four"}}, 1);
    Open(d);
    auto* g = d->Grid();
    // A click on a row takes it.
    TRect r = g->CellRect(0, 3);
    Drv->Click(At(g, r.Left + 5, r.Top + 5));
    Drv->Pump();
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_EQ(d->ItemIndex(), 2);
    EXPECT_EQ(Selects, 1);
    // The wheel moves the choice one row and confirms nothing: a click
    // elsewhere keeps it.
    d->ShowDropDown();
    Drv->Pump();
    Drv->Wheel(At(g, 20, 40), -120);
    Drv->Pump();
    EXPECT_EQ(d->ItemIndex(), 3);
    EXPECT_EQ(g->Row(), 4);
    EXPECT_FALSE(g->ConfirmSelection());
    Drv->Click(At(Form, 450, 330));
    Drv->Pump();
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_EQ(d->ItemIndex(), 3);
    // With GridEditable a selection keeps the window open.
    d->SetGridEditable(true);
    d->SetFocus();
    d->ShowDropDown();
    Drv->Pump();
    r = g->CellRect(0, 1);
    Drv->Click(At(g, r.Left + 5, r.Top + 5));
    Drv->Pump();
    EXPECT_TRUE(d->DroppedDown());
    EXPECT_EQ(d->ItemIndex(), 0);
    EXPECT_EQ(Selects, 2);
    d->HideDropDown(false);
}

TEST_F(GridDropDown, SnappingToWholeRowsSizeableOrNot)
{
    auto* d = MakeList({{L"a"}}, 1);
    d->DropDownHeader()->SetVisible(false);
    d->DropDownFooter()->SetVisible(false);
    for (bool sizeable : {true, false}) {
        d->SetDropDownSizeable(sizeable);
        Integer h = 200;
        d->AdjustDropDownSize(h);
        EXPECT_EQ(h, 25 + 7 * 22 + 6) << sizeable;
    }
    d->SetDropDownRowHeight(0);  // no division by zero: the height stays
    Integer h = 200;
    d->AdjustDropDownSize(h);
    EXPECT_EQ(h, 200);
}

TEST_F(GridDropDown, TheDispatchersFireWithTheirExtras)
{
    auto* d = MakeList({{L"Apple", L"x"}, {L"Berry", L"y"}});
    d->Columns()->Items(1)->SetAlignment(taRightJustify);
    d->Columns()->Items(1)->SetColor(TColor(0x00FFFF));
    Open(d);
    auto* g = d->Grid();
    TDropDownForm* form = d->DropDownForm();
    std::vector<std::string> fired;
    bool blocked = false;
    TObject* sender = nullptr;
    auto note = [&](const char* name, TObject* s) {
        fired.push_back(name);
        sender = s;
        blocked = form->BlockActivate();
    };
    d->OnGridAnchorClick = [&](TObject* s, Integer, Integer, const String&, bool&) { note("anchor", s); };
    d->OnGridButtonClick = [&](TObject* s, Integer, Integer) { note("button", s); };
    d->OnGridEllipsClick = [&](TObject* s, Integer, Integer, String&) { note("ellips", s); };
    d->OnGridRightClickCell = [&](TObject* s, Integer, Integer) { note("right", s); };
    d->OnGridGetFloatFormat = [&](TObject* s, Integer, Integer, bool&, String& f) {
        note(f.empty() ? "float-emptied" : "float", s);
    };
    d->OnGridKeyDown = [&](TObject* s, Word&, TShiftState) { note("keydown", s); };
    d->OnGridTopLeftChanged = [&](TObject* s) { note("topleft", s); };
    // (grid event, name, blocked while it runs)
    struct TCase {
        std::function<void()> Raise;
        const char* Name;
        bool Blocked;
    } cases[] = {
        {[&] { bool h = true; g->OnAnchorClick(g, 1, 0, L"a", h); }, "anchor", true},
        {[&] { g->OnButtonClick(g, 0, 1); }, "button", true},
        {[&] { String s; g->OnEllipsClick(g, 0, 1, s); }, "ellips", true},
        {[&] { g->OnRightClickCell(g, 1, 0); }, "right", false},
        {[&] { bool f = true; String s = L"%.2f"; g->OnGetFloatFormat(g, 0, 1, f, s); }, "float-emptied", false},
        {[&] { g->OnTopLeftChanged(g); }, "topleft", false},
    };
    for (auto& c : cases) {
        fired.clear();
        c.Raise();
        ASSERT_EQ(fired, std::vector<std::string>{c.Name});
        EXPECT_EQ(sender, g) << c.Name;
        EXPECT_EQ(blocked, c.Blocked) << c.Name;
        EXPECT_FALSE(form->BlockActivate()) << c.Name;
    }
    // The column definition comes first: alignment, colour.
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaCenter;
    g->OnGetAlignment(g, 1, 1, ha, va);
    EXPECT_EQ(ha, taRightJustify);
    TBrush brush;
    TFont font;
    g->OnGetCellColor(g, 1, 1, TGridDrawState{}, &brush, &font);
    EXPECT_EQ(brush.Color(), TColor(0x00FFFF));
    // Custom drawing, the comparisons and the spin click are not wired.
    EXPECT_FALSE(g->OnCustomCellDraw);
    EXPECT_FALSE(g->OnCustomCompare);
    EXPECT_FALSE(g->OnRawCompare);
    // Keys in the list reach OnGridKeyDown with the drop-down as Sender.
    fired.clear();
    Drv->PressKey(VK_DOWN);
    Drv->Pump();
    ASSERT_FALSE(fired.empty());
    EXPECT_EQ(fired.front(), "keydown");
    EXPECT_EQ(sender, d);
    d->HideDropDown(true);
    // Custom drawing is wired at the next opening once assigned.
    d->OnGridCustomCellDraw = [](TObject*, TCanvas*, Integer, Integer, TGridDrawState, TRect, bool) {};
    d->ShowDropDown();
    Drv->Pump();
    EXPECT_TRUE(g->OnCustomCellDraw);
    d->HideDropDown(true);
}
