// The item selector: layout, selection and hot rules with disabled items,
// keyboard navigation, look-up by caption, scrolling into view, painting by
// state and the mouse; and the control drop-down.
#include "tests/controls/dropdown/DropDownTestSupport.h"

#include "controls/dropdown/ControlDropDown.h"
#include "controls/dropdown/ItemSelector.h"
#include "platform/gfx/ImageList.h"
#include "platform/ui/StdCtrls.h"

namespace {

TSize SizeOf(const TRect& r) { return TSize{r.Width(), r.Height()}; }

class ItemSelector : public DropDownFormTest {
protected:
    TVodCustomItemSelector* MakeSelector(Integer count, TSelectorType type = stColor, Integer w = 200,
                                         Integer h = 200)
    {
        auto* s = new TVodCustomItemSelector(Form);
        s->SetParent(Form);
        s->SetBounds(10, 10, w, h);
        s->SetSelectorType(type);
        for (Integer i = 0; i < count; ++i) s->Items()->Add()->SetColor(TColor(0x10 * i));
        return s;
    }
};

}  // namespace

TEST_F(ItemSelector, LayoutOfAnEmptySelectorAndOfRowsOfColumns)
{
    auto* s = MakeSelector(0);
    EXPECT_EQ(s->GetPanelSize().cx, 100);
    EXPECT_EQ(s->GetPanelSize().cy, 50);
    EXPECT_EQ(s->GetVisibleItemCount(), 0);

    // Ten colour boxes (14 x 14, no captions) in three columns: items of
    // 4 + 14 + 4 square from (2, 2), four rows, the last holding one.
    for (Integer i = 0; i < 10; ++i) s->Items()->Add()->SetColor(clRed);
    s->SetColumns(3);
    TCustomItemSelector* p = s->SelectorPanel();
    struct {
        Integer Index;
        TRect R;
    } cases[] = {{0, {2, 2, 24, 24}}, {2, {46, 2, 68, 24}}, {3, {2, 24, 24, 46}}, {9, {2, 68, 24, 90}}};
    for (auto& c : cases) EXPECT_EQ(p->GetItemRect(c.Index), c.R) << c.Index;
    EXPECT_EQ(s->GetPanelSize().cx, 2 + 3 * 22 + 2);
    EXPECT_EQ(s->GetPanelSize().cy, 2 + 4 * 22 + 2);
    // Columns 0 and the same value are ignored.
    s->SetColumns(0);
    EXPECT_EQ(s->Columns(), 3);

    // Captions widen the items by their measured width + 4 and the gap.
    s->Items()->Items(0)->SetCaption(L"Red");
    TSize one = SizeOf(p->GetItemRect(0));
    EXPECT_EQ(one.cx, 4 + 14 + 4 + (3 * 8 + 4) + 4);
    // Top and bottom captions stack the box and the caption.
    s->SetItemLayout(ilCaptionTop);
    EXPECT_EQ(SizeOf(p->GetItemRect(0)), one);  // the setter only stores
    s->UpdateSelectorPanel();
    EXPECT_EQ(p->GetItemRect(0).Width(), (3 * 8 + 4) + 8);
    EXPECT_GT(p->GetItemRect(0).Height(), 14 + 8 + 4);
}

TEST_F(ItemSelector, AnOwnerOtherThanTheSelectorIsRefused)
{
    try {
        TCustomItemSelector p(Form);
        FAIL() << "created";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"Invalid parent");
    }
}

TEST_F(ItemSelector, SelectionAndNavigationStopAtEndsAndAtDisabledItems)
{
    auto* s = MakeSelector(5);
    s->Items()->Items(3)->SetEnabled(false);
    int selects = 0;
    s->OnItemSelect = [&](TObject*) { ++selects; };
    // (operation, expected index afterwards), run in order.
    enum Op { First, Last, Next, Prev, Set2, Set3, SetSame };
    struct {
        enum Op Op;
        Integer Want;
    } steps[] = {
        {Prev, 0},    // nothing selected: the first
        {Next, 1},  {Next, 2},
        {Next, 2},    // item 3 is disabled: the move is refused
        {Set3, 2},    // so is selecting it by index
        {Last, 4},  {Next, 4},  // no wrap at the end
        {Prev, 4},    // 3 blocks the way back too
        {Set2, 2},  {Prev, 1},  {First, 0}, {Prev, 0},
        {SetSame, 0},
    };
    for (auto& st : steps) {
        switch (st.Op) {
        case First: s->SelectFirst(); break;
        case Last: s->SelectLast(); break;
        case Next: s->SelectNext(); break;
        case Prev: s->SelectPrevious(); break;
        case Set2: s->SetItemIndex(2); break;
        case Set3: s->SetItemIndex(3); break;
        case SetSame: s->SetItemIndex(s->ItemIndex()); break;
        }
        EXPECT_EQ(s->ItemIndex(), st.Want) << "step " << (&st - steps);
    }
    // Every accepted selection fired, the same index again included; the
    // refused ones did not (a refused Next or Prev does not select at all).
    EXPECT_EQ(selects, 8);

    // The hot item follows the same rules.
    s->HotNext();
    EXPECT_EQ(s->ItemHot(), 0);
    s->HotNext();
    s->HotNext();
    s->HotNext();
    EXPECT_EQ(s->ItemHot(), 2);
    // An index past the end is stored as it is.
    s->SetItemIndex(7);
    EXPECT_EQ(s->ItemIndex(), 7);
}

TEST_F(ItemSelector, LookupItemByPlainUpperCaseCaptionSkippingTheSelected)
{
    auto* s = MakeSelector(0);
    for (const wchar_t* c : {L"<b>Red</b>", L" Rose ", L"Blue", L"Rust", L"Black"})
        s->Items()->Add()->SetCaption(c);
    struct {
        Integer From;
        const wchar_t* S;
        bool Found;
        Integer Want;
    } cases[] = {
        {-1, L"R", true, 0},     // markup stripped
        {0, L"R", true, 1},      // the selected one skipped; trimmed
        {1, L"RU", true, 3},
        {3, L"RE", true, 0},     // a second pass from the start
        {0, L"RED", false, 0},   // only the selected item matches
        {2, L"BL", true, 4},
        {4, L"BLUE", true, 2},
        {-1, L"X", false, -1},
        {-1, L"red", false, -1},  // S is compared as given
    };
    for (auto& c : cases) {
        s->SetItemIndex(c.From);
        if (c.From < 0) s->SelectorPanel()->SetItemIndex(-1);
        EXPECT_EQ(s->LookupItem(c.S), c.Found) << c.From << " " << c.S;
        EXPECT_EQ(s->ItemIndex(), c.Want) << c.From << " " << c.S;
    }
    auto* empty = MakeSelector(0);
    EXPECT_FALSE(empty->LookupItem(L"A"));
}

TEST_F(ItemSelector, AppearanceAssignLetsADifferingPresetWin)
{
    TItemAppearance a, b;
    EXPECT_EQ(a.ColorStyle(), scOffice2007);
    EXPECT_EQ(a.ColorSelectedTo(), TColor(0x04B9F4));
    a.SetColorStyle(scWindows7);
    EXPECT_EQ(a.ColorHot(), TColor(0xFCEBDC));
    EXPECT_EQ(a.ColorMirrorHot(), clNone);
    a.SetColorHot(TColor(0x123456));
    a.SetColorStyle(scCustom);  // keeps the colours
    EXPECT_EQ(a.ColorHot(), TColor(0x123456));
    a.SetColorHotText(clRed);
    // b is scOffice2007: the copied style differs, so its preset writes
    // over the copied colours; the text colours come after.
    b.Assign(&a);
    EXPECT_EQ(b.ColorStyle(), scCustom);
    EXPECT_EQ(b.ColorHot(), TColor(0x123456));
    TItemAppearance c;
    c.SetColorStyle(scWindowsVista);
    a.SetColorStyle(scWindows7);
    a.SetColorHot(TColor(0x654321));
    c.Assign(&a);
    EXPECT_EQ(c.ColorStyle(), scWindows7);
    EXPECT_EQ(c.ColorHot(), TColor(0xFCEBDC));  // the preset won
    EXPECT_EQ(c.ColorHotText(), clRed);
    TItemAppearance d;
    d.SetColorStyle(scWindows7);
    d.Assign(&a);  // same style: the copied colour stays
    EXPECT_EQ(d.ColorHot(), TColor(0x654321));
}

TEST_F(ItemSelector, ScrollsTheChosenItemIntoViewAndCountsVisibleItems)
{
    auto* s = MakeSelector(30, stColor, 100, 110);
    ShowForm();
    // 22-pixel rows in a 110-pixel view: five whole rows.
    EXPECT_EQ(s->GetVisibleItemCount(), 5);
    ASSERT_TRUE(s->VertScrollBar()->IsScrollBarVisible());
    s->SelectLast();
    TRect r = s->SelectorPanel()->GetItemRect(29);
    Integer bottom = r.Bottom + s->SelectorPanel()->Top();
    EXPECT_LE(bottom, s->ClientHeight());
    EXPECT_GT(bottom, s->ClientHeight() - 22);
    s->SelectFirst();
    EXPECT_EQ(s->SelectorPanel()->Top() + s->SelectorPanel()->GetItemRect(0).Top, 0);  // aligned at the top
    // Items of no height count none (no division by zero).
    s->OnItemSize = [](TObject*, TSize& z) { z = TSize{20, 0}; };
    s->UpdateSelectorPanel();
    EXPECT_EQ(s->GetVisibleItemCount(), 0);
}

TEST_F(ItemSelector, PaintsByStateAndFollowsTheMouse)
{
    auto* s = MakeSelector(3, stColor);
    s->SetColor(clWhite);
    s->Items()->Items(0)->SetColor(clRed);
    s->Items()->Items(2)->SetEnabled(false);
    ShowForm();
    TCustomItemSelector* p = s->SelectorPanel();
    HWND h = p->Handle();
    TRect r0 = p->GetItemRect(0), r1 = p->GetItemRect(1);
    // A normal item: the panel's colour around a black-framed box.
    EXPECT_EQ(PixelAt(h, r0.Left + 1, r0.Top + 1), 0xFFFFFFu);
    EXPECT_EQ(PixelAt(h, r0.Left + 4, r0.Top + 4), 0x000000u);
    EXPECT_EQ(PixelAt(h, r0.Left + 8, r0.Top + 8), 0xFF0000u);

    int selects = 0;
    s->OnItemSelect = [&](TObject*) { ++selects; };
    // A click selects; the selected background is no longer the panel's.
    Drv->Click(At(p, r1.Left + 2, r1.Top + 11));
    Drv->Pump();
    EXPECT_EQ(s->ItemIndex(), 1);
    EXPECT_EQ(selects, 1);
    EXPECT_NE(PixelAt(h, r1.Left + 2, r1.Top + 11), 0xFFFFFFu);
    // A click on the disabled item changes nothing.
    TRect r2 = p->GetItemRect(2);
    Drv->Click(At(p, r2.Left + 2, r2.Top + 2));
    Drv->Pump();
    EXPECT_EQ(s->ItemIndex(), 1);
    EXPECT_EQ(selects, 1);

    // Moving over an item makes it hot and takes its hint; a disabled item
    // or no item clears the hot item.
    s->Items()->Items(0)->SetHint(L"The red one");
    Drv->MouseMove(At(p, r0.Left + 2, r0.Top + 2));
    Drv->Pump();
    EXPECT_EQ(s->ItemHot(), 0);
    EXPECT_EQ(p->Hint(), L"The red one");
    EXPECT_NE(PixelAt(h, r0.Left + 1, r0.Top + 1), 0xFFFFFFu);
    Drv->MouseMove(At(p, r2.Left + 2, r2.Top + 2));
    Drv->Pump();
    EXPECT_EQ(s->ItemHot(), -1);
    Drv->MouseMove(At(p, r0.Left + 2, r0.Top + 2));
    Drv->Pump();
    Drv->MouseMove(At(Form, 400, 300));
    Drv->Pump();
    EXPECT_EQ(s->ItemHot(), -1);

    // A handler draws the content itself over the background.
    int drawn = 0;
    s->OnDrawItem = [&](TObject*, TCanvas*, TRect&, Integer) { ++drawn; };
    p->Repaint();
    Drv->Pump();
    EXPECT_EQ(drawn, 3);
    EXPECT_EQ(PixelAt(h, r0.Left + 8, r0.Top + 8), 0xFFFFFFu);
}

TEST_F(ItemSelector, ThePictureWinsOverTheImageIndex)
{
    auto* s = MakeSelector(0, stImage);
    TImageList il(Form);
    il.SetWidth(8);
    il.SetHeight(8);
    s->SetImages(&il);
    TSelectorItem* it = s->Items()->Add();
    it->SetImageIndex(0);
    TBitmap bmp;
    bmp.SetSize(20, 10);
    TPicture pic;
    pic.SetGraphic(&bmp);
    it->SetImage(&pic);
    s->UpdateSelectorPanel();
    EXPECT_EQ(SizeOf(s->SelectorPanel()->GetItemRect(0)), (TSize{20 + 8, 10 + 8}));
    // Without the picture the list's size counts.
    TPicture none;
    it->SetImage(&none);
    s->UpdateSelectorPanel();
    EXPECT_EQ(SizeOf(s->SelectorPanel()->GetItemRect(0)), (TSize{8 + 8, 8 + 8}));
}

// ---------------------------------------------------------------------------

TEST_F(DropDownFormTest, ControlDropDownPlacesItsControlWhenLoaded)
{
    // A control assigned before loading ends (here: while the stored form
    // was still being designed) goes to the window at Loaded.
    auto* d = Make<TVodControlDropDown>();
    auto* memo = new TMemo(Form);
    memo->SetParent(Form);
    memo->SetBounds(0, 0, 120, 80);
    d->SetDesigning(true, false);
    d->SetControl(memo);
    d->Loaded();  // while designing, Loaded leaves the control where it is
    EXPECT_EQ(memo->Parent(), Form);
    d->SetDesigning(false, false);
    d->Loaded();
    EXPECT_EQ(memo->Parent(), d->DropDownForm());
    ShowForm();
    d->ShowDropDown();
    Drv->Pump();
    EXPECT_TRUE(d->DroppedDown());
    EXPECT_TRUE(memo->Visible());
    d->HideDropDown(false);
}
