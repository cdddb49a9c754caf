// The multi-column drop-down: construction, ItemIndex, filling and fitting
// the columns, snapping the window to whole rows, typing in the edit and in
// the open list, the lookup index, wheel, Esc and the style table.
#include "tests/controls/dropdown/DropDownTestSupport.h"

#include "controls/dropdown/MultiColumnDropDown.h"

using namespace MultiColDropDown;

namespace {

class MultiColumn : public DropDownFormTest {
protected:
    TVodMultiColumnDropDown* MakeList(std::initializer_list<std::initializer_list<const wchar_t*>> rows,
                                      Integer columns = 2)
    {
        auto* d = Make<TVodMultiColumnDropDown>(20, 40, 200);
        for (Integer i = 0; i < columns; ++i) {
            TDropDownColumn* c = d->Columns()->Add();
            c->SetWidth(100);
            c->SetHeader(L"H" + IntToStr(i));
        }
        for (auto& r : rows) {
            TDropDownItem* it = d->Items()->Add();
            for (auto* s : r) it->Text()->Add(s);
        }
        d->EndUpdate();
        d->OnSelect = [this](TObject*) { ++Selects; };
        return d;
    }
    int Selects = 0;
};

}  // namespace

TEST_F(MultiColumn, ConstructionValuesAndItemIndex)
{
    auto* d = MakeList({{L"Apple", L"red"}, {L"Berry", L"blue"}, {L"Short"}});
    EXPECT_EQ(d->HeaderColor(), TColor(0xFFEFE3));  // the Office 2007 Luna row
    EXPECT_EQ(d->HeaderFont()->Color(), TColor(0x723708));
    EXPECT_EQ(d->LineColor(), TColor(0xFFD2AF));
    EXPECT_EQ(d->HeaderHeight(), 25);
    EXPECT_EQ(d->DropDownRowHeight(), 22);
    EXPECT_EQ(d->DropDownHeight(), 200);
    EXPECT_TRUE(d->DropDownAutoWidth());
    EXPECT_TRUE(d->ColumnSizeWithDropDown());
    EXPECT_EQ(d->SelectionTextColor(), clBlack);

    d->SetItemIndex(1);
    EXPECT_EQ(d->Text(), L"Berry");
    d->SetItemIndex(3);  // = RowCount: nothing changes
    EXPECT_EQ(d->ItemIndex(), 1);
    EXPECT_EQ(d->Text(), L"Berry");
    d->SetItemIndex(-1);
    EXPECT_EQ(d->Text(), L"");
    d->SetLookupColumn(1);
    d->SetItemIndex(2);  // the item has no second string: empty text
    EXPECT_EQ(d->Text(), L"");
    EXPECT_EQ(d->LookupList()[2], L"");
    // A short item reads as empty text, it raises nothing.
    EXPECT_EQ(d->GetItemIndex(L"blue"), 1);
    EXPECT_EQ(d->GetItemIndex(L""), 2);
    EXPECT_EQ(d->Items()->IndexInColumn(1, L""), -1);  // skipped there
    EXPECT_EQ(d->Items()->IndexInColumn(0, L"Short"), 2);
}

TEST_F(MultiColumn, TheLookupIndexFindsTheFirstInListOrder)
{
    TLookupIndex ix;
    std::vector<String> texts = {L"Beta", L"alpha", L"Bean", L"", L"Alpine", L"beach"};
    ix.Build(texts, false);
    struct {
        const wchar_t* Key;
        Integer Want;
    } cases[] = {{L"B", 0}, {L"BEA", 2}, {L"BEAC", 5}, {L"AL", 1}, {L"ALPI", 4},
                 {L"X", -1}, {L"", 0}, {L"BETAX", -1}};
    for (auto& c : cases) EXPECT_EQ(ix.First(c.Key), c.Want) << c.Key;
    ix.Build(texts, true);
    EXPECT_EQ(ix.First(L"B"), 0);
    EXPECT_EQ(ix.First(L"b"), 5);
    EXPECT_EQ(ix.First(L"A"), 4);
    TLookupIndex none;
    none.Build({}, false);
    EXPECT_EQ(none.First(L"A"), -1);
}

TEST_F(MultiColumn, FittingWithTheCarryAndSnappingToWholeRows)
{
    auto* d = MakeList({{L"a"}, {L"b"}}, 3);
    d->SetDropDownAutoWidth(false);
    d->SetDropDownWidth(302);
    ShowForm();
    d->ShowDropDown();
    Drv->Pump();
    ASSERT_TRUE(d->DroppedDown());
    TVodColGrid* g = d->ListGrid();
    // 302 / 301 per pixel: 100, 100, 100 (the carry never passes 1).
    EXPECT_EQ(d->DropDownForm()->Width(), 302);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(g->ColWidths(i), 100) << i;
    d->HideDropDown(false);

    // Widths 50, 50, 51 in a window of 200: r = 200 / 152.
    d->Columns()->Items(2)->SetWidth(51);
    d->SetDropDownWidth(200);
    d->ShowDropDown();
    Drv->Pump();
    EXPECT_EQ(g->ColWidths(0) + g->ColWidths(1) + g->ColWidths(2), 199);  // the carry ends below 1
    d->HideDropDown(false);

    // Snapping: a 200-pixel, non-sizeable window with no header or footer
    // ends at 25 + 7 * 22 + 2.
    d->SetDropDownSizeable(false);
    d->DropDownHeader()->SetVisible(false);
    d->DropDownFooter()->SetVisible(false);
    Integer h = 200;
    d->AdjustDropDownSize(h);
    EXPECT_EQ(h, 181);
    d->SetDropDownRowHeight(0);  // no division by zero: the height stays
    h = 200;
    d->AdjustDropDownSize(h);
    EXPECT_EQ(h, 200);
    d->SetDropDownSizeable(true);
    d->SetDropDownRowHeight(22);
    h = 200;
    d->AdjustDropDownSize(h);
    EXPECT_EQ(h, 200);
}

TEST_F(MultiColumn, AutoWidthAutoSizedColumnsAndWordWrap)
{
    auto* d = MakeList({{L"Apple", L"x"}, {L"Blackberry jam", L"a long text that wraps over lines"}});
    d->Columns()->Items(0)->SetAutoSize(true);
    d->Columns()->Items(1)->SetWordwrap(true);
    d->SetColumnSizeWithDropDown(false);
    ShowForm();
    d->ShowDropDown();
    Drv->Pump();
    TVodColGrid* g = d->ListGrid();
    // 14 characters of 8 pixels + 6.
    EXPECT_EQ(g->ColWidths(0), 14 * 8 + 6);
    EXPECT_EQ(d->Columns()->Items(0)->Width(), 14 * 8 + 6);
    EXPECT_EQ(g->RowHeights(1), 24);  // short rows keep at least 24
    EXPECT_GT(g->RowHeights(2), 24);
    EXPECT_EQ(g->RowHeights(0), 25);
    // The window is as wide as the columns.
    EXPECT_EQ(d->DropDownForm()->Width(), g->ColWidths(0) + g->ColWidths(1) + 2);
    d->HideDropDown(true);
}

TEST_F(MultiColumn, TypingInTheEditCompletesKeepingTheTypedCase)
{
    auto* d = MakeList({{L"Apple"}, {L"Berry"}, {L"Beans"}}, 1);
    ShowForm();
    Type(d, L"be");
    EXPECT_EQ(d->EditText(), L"berry");
    EXPECT_EQ(d->ItemIndex(), 1);
    DWORD a = 0, b = 0;
    SendMessage(d->Handle(), EM_GETSEL, WPARAM(&a), LPARAM(&b));
    EXPECT_EQ(a, 2u);
    EXPECT_EQ(b, 5u);
    Type(d, L"a");
    EXPECT_EQ(d->EditText(), L"beans");
    EXPECT_EQ(d->ItemIndex(), 2);
    // No match: the text is cut back to what was typed.
    d->SetText(String());
    Type(d, L"q");
    EXPECT_EQ(d->EditText(), L"q");
    // Enter on a text of the list (any case) takes it.
    d->SetText(String());
    Drv->PressKey(VK_DELETE);
    d->SetEditText(L"APPLE");
    Drv->PressKey(VK_RETURN);
    Drv->Pump();
    EXPECT_EQ(d->ItemIndex(), 0);
    EXPECT_EQ(d->EditText(), L"Apple");
    // The lookup list follows Items only at EndUpdate.
    d->Items()->Add()->Text()->Add(L"Cherry");
    d->SetText(String());
    Type(d, L"c");
    EXPECT_EQ(d->EditText(), L"c");
    d->EndUpdate();
    d->SetText(String());
    Type(d, L"c");
    EXPECT_EQ(d->EditText(), L"cherry");
}

TEST_F(MultiColumn, TypingInTheOpenListJumpsAndEscRestores)
{
    auto* d = MakeList({{L"Apple"}, {L"Berry"}, {L"Beans"}, {L"Cherry"}}, 1);
    d->SetItemIndex(0);
    ShowForm();
    d->SetFocus();
    d->ShowDropDown();
    Drv->Pump();
    TVodColGrid* g = d->ListGrid();
    ASSERT_TRUE(g->Focused());
    EXPECT_EQ(g->Row(), 1);
    Drv->TypeText(L"b");
    Drv->Pump();
    EXPECT_EQ(d->ItemIndex(), 1);
    EXPECT_EQ(g->Row(), 2);
    EXPECT_EQ(d->LookupEntry(), L"b");
    Drv->TypeText(L"ea");
    Drv->Pump();
    EXPECT_EQ(d->ItemIndex(), 2);
    EXPECT_EQ(d->EditText(), L"Beans");
    // A letter that starts nothing on its own: the entry is cleared, the
    // list stays.
    Drv->TypeText(L"z");
    Drv->Pump();
    EXPECT_EQ(d->LookupEntry(), L"");
    EXPECT_EQ(d->ItemIndex(), 2);
    // A letter that ends the entry's match but starts another item.
    Drv->TypeText(L"bc");
    Drv->Pump();
    EXPECT_EQ(d->ItemIndex(), 3);
    EXPECT_EQ(d->LookupEntry(), L"c");
    EXPECT_TRUE(d->DroppedDown());
    // Esc restores the item of the opening.
    Drv->PressKey(VK_ESCAPE);
    Drv->Pump();
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_EQ(d->ItemIndex(), 0);
    EXPECT_EQ(d->Text(), L"Apple");
}

TEST_F(MultiColumn, ClicksKeysAndTheWheel)
{
    auto* d = MakeList({{L"One"}, {L"Two"}, {L"Three"}, {L"Four"}, {L"Five"}, {L"Six"}, {L"Seven"}, {L"Eight"},
                        {L"Nine"}, {L"Ten"}, {L"Eleven"}, {L"Twelve"}},
                       1);
    ShowForm();
    d->SetFocus();
    // Closed: Down from none the first, PgDn ten on, Up one back.
    SendMessage(d->Handle(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(d->ItemIndex(), 0);
    SendMessage(d->Handle(), WM_KEYDOWN, VK_NEXT, 0);
    EXPECT_EQ(d->ItemIndex(), 10);
    SendMessage(d->Handle(), WM_KEYDOWN, VK_NEXT, 0);
    EXPECT_EQ(d->ItemIndex(), 11);
    SendMessage(d->Handle(), WM_KEYDOWN, VK_PRIOR, 0);
    EXPECT_EQ(d->ItemIndex(), 1);
    SendMessage(d->Handle(), WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(d->ItemIndex(), 0);
    SendMessage(d->Handle(), WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(d->ItemIndex(), 0);

    // Open: wheel-scrolling, then a click elsewhere keeps the choice.
    d->ShowDropDown();
    Drv->Pump();
    TVodColGrid* g = d->ListGrid();
    Drv->Wheel(At(g, 20, 40), -120);
    Drv->Wheel(At(g, 20, 40), -120);
    Drv->Pump();
    Drv->Click(At(Form, 450, 330));
    Drv->Pump();
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_EQ(d->ItemIndex(), 0);

    // A click on a row takes it and fires OnSelect.
    d->ShowDropDown();
    Drv->Pump();
    TRect r = g->CellRect(0, 3);
    Drv->Click(At(g, r.Left + 5, r.Top + 5));
    Drv->Pump();
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_EQ(d->ItemIndex(), 2);
    EXPECT_EQ(Selects, 1);
    EXPECT_EQ(d->Text(), L"Three");

    // Down in the open list moves the row and the choice; Enter keeps it.
    d->ShowDropDown();
    Drv->Pump();
    Drv->PressKey(VK_DOWN);
    Drv->Pump();
    EXPECT_EQ(d->ItemIndex(), 3);
    EXPECT_TRUE(d->DroppedDown());
    Drv->PressKey(VK_RETURN);
    Drv->Pump();
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_EQ(d->ItemIndex(), 3);
}

TEST_F(MultiColumn, TheListDrawsHeaderSelectionAndCells)
{
    auto* d = MakeList({{L"Apple", L"red"}, {L"Berry", L"blue"}});
    d->Columns()->Items(1)->SetColor(TColor(0x00FFFF));
    d->SetItemIndex(0);
    ShowForm();
    d->ShowDropDown();
    Drv->Pump();
    TVodColGrid* g = d->ListGrid();
    HWND h = g->Handle();
    // The header: a gradient from HeaderColor at its top.
    auto near = [](uint32_t a, uint32_t b) {
        for (int sh : {0, 8, 16})
            if (std::abs(int((a >> sh) & 0xFF) - int((b >> sh) & 0xFF)) > 4) return false;
        return true;
    };
    EXPECT_TRUE(near(PixelAt(h, 50, 0), Rgb(d->HeaderColor())));
    EXPECT_TRUE(near(PixelAt(h, 50, 22), Rgb(d->HeaderColorTo())));
    // A normal cell in its column's colour.
    TRect r = g->CellRect(1, 2);
    EXPECT_EQ(PixelAt(h, r.Right - 3, r.Top + 3), 0xFFFF00u);
    // The selected row is not the column colour.
    TRect s = g->CellRect(1, 1);
    EXPECT_NE(PixelAt(h, s.Right - 6, s.Top + 6), 0xFFFF00u);
    // Drawn by a handler, nothing else is drawn.
    int cells = 0;
    d->OnDropDownDrawItem = [&](TObject*, Integer, Integer, TRect, TCanvas*) { ++cells; };
    g->Invalidate();
    Drv->Pump();
    EXPECT_GE(cells, 6);
    d->HideDropDown(true);
}
