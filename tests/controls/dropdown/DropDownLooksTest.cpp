// Header and footer layout and painting, the style rows, colour tones,
// the label placements and the border.
#include "tests/controls/dropdown/DropDownTestSupport.h"

#include "platform/base/Exceptions.h"
#include "platform/ui/StdCtrls.h"

namespace {
class DropDownLooks : public DropDownFormTest {
protected:
    TVodDropDown* WithMemo()
    {
        auto* d = Make();
        auto* m = new TMemo(d);
        m->SetBounds(0, 0, 200, 80);
        d->SetControl(m);
        return d;
    }
};
}  // namespace

TEST_F(DropDownLooks, HeaderButtonsLineUpFromTheRightEdgeToEdge)
{
    auto* d = WithMemo();
    d->DropDownHeader()->Buttons()->Add()->SetCaption(L"ab");
    d->DropDownHeader()->Buttons()->Add()->SetCaption(L"cde");
    ShowForm();
    d->ShowDropDown();
    TVodHeader* h = d->DropDownForm()->Header();
    ASSERT_EQ(h->ButtonCount(), 2);
    TVodButton* first = h->ButtonAt(0);
    TVodButton* second = h->ButtonAt(1);
    EXPECT_EQ(first->Width(), 2 * 8 + 8);   // caption + 8
    EXPECT_EQ(second->Width(), 3 * 8 + 8);
    EXPECT_EQ(first->Left() + first->Width(), h->ClientWidth() - 2);
    EXPECT_EQ(second->Left() + second->Width(), first->Left());
    // Heights are capped at the area (22 - 2 - 3 = 17) and centred.
    EXPECT_EQ(first->Height(), 17);
    EXPECT_EQ(first->Top(), 2);

    // baLeft and an explicit width.
    d->HideDropDown(false);
    d->DropDownHeader()->SetButtonAlignment(baLeft);
    d->DropDownHeader()->Buttons()->Items(1)->SetWidth(50);
    d->ShowDropDown();
    h = d->DropDownForm()->Header();
    EXPECT_EQ(h->ButtonAt(0)->Left(), 2);
    EXPECT_EQ(h->ButtonAt(1)->Left(), 2 + 24);
    EXPECT_EQ(h->ButtonAt(1)->Width(), 50);
}

TEST_F(DropDownLooks, EachOpeningShowsTheButtonsAsNewFromTheCurrentItems)
{
    auto* d = WithMemo();
    d->DropDownHeader()->Buttons()->Add()->SetCaption(L"ab");
    d->DropDownFooter()->Buttons()->Add()->SetCaption(L"OK");
    d->DropDownFooter()->Buttons()->Items(0)->SetModalResult(mrOk);
    ShowForm();
    auto reopen = [&] {
        d->HideDropDown(false);
        Drv->Pump();
        Drv->SetTick(Drv->Tick() + 1000);
        d->ShowDropDown();
        Drv->Pump();
        ASSERT_TRUE(d->DroppedDown());
    };
    d->ShowDropDown();
    TVodHeader* h = d->DropDownForm()->Header();
    TVodFooter* f = d->DropDownForm()->Footer();
    // Left pressed, grouped and down, hovered and hidden when the window closes...
    TVodButton* b = h->ButtonAt(0);
    b->SetGroupIndex(3);
    b->SetAllowAllUp(true);
    b->SetDown(true);
    b->SetStyle(tasCheck);
    b->SetVisible(false);
    SendMessage(f->ButtonAt(0)->Handle(), CM_MOUSEENTER, 0, 0);
    ASSERT_TRUE(f->ButtonAt(0)->Hot());
    reopen();
    // ...the next opening shows them as new.
    ASSERT_EQ(h->ButtonCount(), 1);
    b = h->ButtonAt(0);
    EXPECT_EQ(b->GroupIndex(), 0);
    EXPECT_FALSE(b->Down());
    EXPECT_FALSE(b->AllowAllUp());
    EXPECT_EQ(b->Style(), tasButton);
    EXPECT_EQ(b->State(), absUp);
    EXPECT_TRUE(b->Visible());
    EXPECT_FALSE(f->ButtonAt(0)->Hot());
    EXPECT_FALSE(f->ButtonAt(0)->MouseInControl());
    EXPECT_EQ(f->ButtonAt(0)->ModalResult(), mrOk);

    // Items changed while closed: captions, sizes and count follow.
    d->DropDownHeader()->Buttons()->Items(0)->SetCaption(L"abcd");
    reopen();
    EXPECT_EQ(h->ButtonAt(0)->Caption(), L"abcd");
    EXPECT_EQ(h->ButtonAt(0)->Width(), 4 * 8 + 8);
    d->DropDownHeader()->Buttons()->Add()->SetCaption(L"x");
    reopen();
    ASSERT_EQ(h->ButtonCount(), 2);
    EXPECT_EQ(h->ButtonAt(1)->Caption(), L"x");
    EXPECT_EQ(h->ButtonAt(1)->Left() + h->ButtonAt(1)->Width(), h->ButtonAt(0)->Left());
    // A click on a button of a later opening reaches the footer's handling.
    int clicked = -1;
    d->OnDropDownFooterButtonClick = [&](TObject*, Integer i) { clicked = i; };
    Drv->Click(f->ButtonAt(0)->ClientToScreen(TPoint{3, 3}));
    Drv->Pump();
    EXPECT_EQ(clicked, 0);
    EXPECT_FALSE(d->DroppedDown());
}

TEST_F(DropDownLooks, TheGripReservesTwelvePixelsOnlyWhenSizeable)
{
    auto* d = WithMemo();
    d->DropDownFooter()->Buttons()->Add()->SetCaption(L"OK");
    ShowForm();
    d->ShowDropDown();
    TVodFooter* f = d->DropDownForm()->Footer();
    EXPECT_TRUE(f->SizeGripShown());
    EXPECT_EQ(f->ButtonAt(0)->Left() + f->ButtonAt(0)->Width(), f->ClientWidth() - 2 - 12);
    // A white grip dot near the bottom-right corner.
    Drv->Pump();
    int L = f->ClientWidth() - 2 - 16, B = f->ClientHeight();
    TPoint dot = f->ClientToScreen(TPoint{L + 13, B - 4});
    TPoint origin = d->DropDownForm()->ClientToScreen(TPoint{0, 0});
    EXPECT_EQ(PixelAt(d->DropDownForm()->Handle(), dot.X - origin.X, dot.Y - origin.Y), 0xFFFFFFu);
    d->HideDropDown(false);
    d->SetDropDownSizeable(false);
    d->ShowDropDown();
    f = d->DropDownForm()->Footer();
    EXPECT_FALSE(f->SizeGripShown());
    EXPECT_EQ(f->ButtonAt(0)->Left() + f->ButtonAt(0)->Width(), f->ClientWidth() - 2);
}

TEST_F(DropDownLooks, OnDrawHeaderReplacesTheHeadersOwnPainting)
{
    auto* d = WithMemo();
    d->DropDownHeader()->SetCaption(L"<b>Title</b>");
    int calls = 0;
    d->OnDrawHeader = [&](TObject*, TCanvas* c, TRect r) {
        ++calls;
        c->Brush()->SetColor(TColor(0x00FF00));
        c->FillRect(r);
    };
    ShowForm();
    d->ShowDropDown();
    Drv->Pump();
    EXPECT_GT(calls, 0);
    EXPECT_EQ(PixelAt(d->DropDownForm()->Handle(), 30, 10), 0x00FF00u);
}

TEST_F(DropDownLooks, AButtonShowsTheStripThroughAFaceWithoutColours)
{
    auto* d = WithMemo();
    d->DropDownHeader()->SetColor(TColor(0x0000FF));
    d->DropDownHeader()->SetColorTo(clNone);
    d->DropDownHeader()->Buttons()->Add()->SetCaption(L"");
    TVodButtonAppearance* a = d->ButtonAppearance();
    a->SetColor(clNone);
    a->SetColorTo(clNone);
    a->SetBorderColor(clNone);
    ShowForm();
    d->ShowDropDown();
    Drv->Pump();
    TVodButton* b = d->DropDownForm()->Header()->ButtonAt(0);
    TPoint inside = b->ClientToScreen(TPoint{b->Width() / 2, b->Height() / 2});
    TPoint origin = d->DropDownForm()->ClientToScreen(TPoint{0, 0});
    EXPECT_EQ(PixelAt(d->DropDownForm()->Handle(), inside.X - origin.X, inside.Y - origin.Y), 0xFF0000u);
    // A face of its own covers the strip.
    d->HideDropDown(false);
    a->SetColor(TColor(0x00FF00));
    Drv->SetTick(Drv->Tick() + 1000);
    d->ShowDropDown();
    Drv->Pump();
    b = d->DropDownForm()->Header()->ButtonAt(0);
    inside = b->ClientToScreen(TPoint{b->Width() / 2, b->Height() / 2});
    EXPECT_EQ(PixelAt(d->DropDownForm()->Handle(), inside.X - origin.X, inside.Y - origin.Y), 0x00FF00u);
}

TEST_F(DropDownLooks, ChangingTheHeaderWhileOpenRebuildsItAtOnce)
{
    auto* d = WithMemo();
    ShowForm();
    d->ShowDropDown();
    ASSERT_TRUE(d->DropDownForm()->Header()->Visible());
    d->DropDownHeader()->SetVisible(false);
    EXPECT_FALSE(d->DropDownForm()->Header()->Visible());
    d->DropDownHeader()->Buttons()->Add()->SetCaption(L"X");
    EXPECT_EQ(d->DropDownForm()->Header()->ButtonCount(), 1);
}

TEST_F(DropDownLooks, DbgListRaisesForIndexesOutOfBounds)
{
    TDbgList l;
    int x = 0;
    l.Add(&x);
    EXPECT_EQ(l.GetItemsEx(0), &x);
    try {
        l.GetItemsEx(1);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"Index out of bounds in list read access");
    }
    try {
        l.SetItemsEx(1, &x);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"Index out of bounds in list write access");
    }
}

TEST_F(DropDownLooks, TheGivenStyleRowsCustomAndTones)
{
    auto* d = Make();
    d->SetComponentStyle(tsOffice2003Blue);
    d->SetDropDownBorderColor(TColor(0x123456));
    d->SetComponentStyle(tsOffice2003Blue);
    EXPECT_EQ(d->DropDownBorderColor(), TColor(0x123456));  // left unchanged
    EXPECT_EQ(d->DropDownFooter()->BorderColor(), TColor(0x962D00));
    EXPECT_EQ(d->ButtonAppearance()->BorderColorChecked(), TColor(0x45667B));

    d->SetComponentStyle(tsWindows10);
    EXPECT_EQ(d->DropDownBorderColor(), TColor(0xE4E3E2));
    EXPECT_EQ(d->ButtonAppearance()->ColorDown(), TColor(0xF7E0C9));
    EXPECT_EQ(d->ButtonAppearance()->BorderColorDisabled(), TColor(0xF7F6F5));
    TColor w10 = d->DropDownHeader()->Color();
    d->SetComponentStyle(tsWindows8);
    EXPECT_EQ(d->DropDownHeader()->Color(), w10);

    d->SetComponentStyle(tsOffice2016Black);
    EXPECT_EQ(d->DropDownColor(), TColor(0x363636));
    EXPECT_EQ(d->DropDownHeader()->Font()->Color(), TColor(0xF0F0F0));
    EXPECT_EQ(d->ButtonAppearance()->ColorHot(), TColor(0x6A6A6A));
    EXPECT_EQ(d->Font()->Color(), TColor(0xA6A6A6));

    d->SetComponentStyle(tsCustom);
    EXPECT_EQ(d->GetComponentStyle(), tsCustom);
    EXPECT_EQ(d->DropDownColor(), TColor(0x363636));

    // Through the interface.
    IQelStyle* style = nullptr;
    ASSERT_TRUE(Supports(d, IID_IQelStyle, style));
    style->SetComponentStyle(tsOffice2007Luna);
    EXPECT_EQ(d->DropDownColor(), TColor(0xF3E5DA));

    TColorTones tones = EmptyColorTones();
    tones.Background.BrushColor = TColor(0x102030);
    tones.Background.BorderColor = TColor(0x405060);
    tones.Hover.BrushColor = TColor(0x708090);
    tones.Selected.BrushColor = TColor(0xA0B0C0);
    IQelTones* t = nullptr;
    ASSERT_TRUE(Supports(d, IID_IQelTones, t));
    t->SetColorTones(tones);
    EXPECT_EQ(d->Button()->ButtonColor(), TColor(0x102030));
    EXPECT_EQ(d->Button()->ButtonColorHot(), TColor(0x708090));
    EXPECT_EQ(d->Button()->ButtonColorDown(), TColor(0xA0B0C0));
    EXPECT_EQ(d->Button()->ButtonBorderColor(), TColor(0x405060));
    EXPECT_EQ(d->BorderColor(), TColor(0x405060));

    d->SetSelectionColorStyle(scWindowsVista);
    EXPECT_EQ(d->SelectionColor(), TColor(0xFDF8F1));
    EXPECT_EQ(d->SelectionColorTo(), TColor(0xFCEFD5));
    d->SetSelectionColor(TColor(0x1));
    d->SetSelectionColorStyle(scCustom);
    EXPECT_EQ(d->SelectionColor(), TColor(0x1));
}

TEST_F(DropDownLooks, ColouredArrowIsDrawnInItsTextColour)
{
    auto* d = Make();
    d->Button()->SetButtonColor(TColor(0xFF0000));      // blue face
    d->Button()->SetButtonTextColor(TColor(0x0000FF));  // red arrow
    ShowForm();
    TDropDownEditButton* b = d->Button();
    TPoint o = d->ClientToScreen(TPoint{0, 0});
    TPoint p = b->ClientToScreen(TPoint{8, 8});
    TPoint face = b->ClientToScreen(TPoint{3, 3});
    // Through the edit's own capture (frame included).
    HWND h = d->Handle();
    RECT wr;
    GetWindowRect(h, &wr);
    EXPECT_EQ(PixelAt(h, p.X - wr.Left, p.Y - wr.Top), 0xFF0000u);
    EXPECT_EQ(PixelAt(h, face.X - wr.Left, face.Y - wr.Top), 0x0000FFu);
    (void)o;
}

TEST_F(DropDownLooks, LabelPositionsAndCentring)
{
    struct {
        TLabelPosition Pos;
        int Left, Top;  // for an edit at (100, 100), 150 x 24; caption "Ab" 16 x 16
    } const cases[] = {
        {lpLeftTop, 100 - 16 - 4, 100},   {lpLeftCenter, 80, 104},   {lpLeftBottom, 80, 108},
        {lpTopLeft, 100, 100 - 16 - 4},   {lpBottomLeft, 100, 128},  {lpLeftTopLeft, 96, 100},
        {lpTopCenter, 100 + 67, 80},      {lpBottomCenter, 167, 128}, {lpRightTop, 254, 100},
        {lpRighBottom, 254, 108},         {lpTopRight, 234, 80},      {lpBottomRight, 234, 128},
    };
    auto* d = Make(100, 100, 150);
    ShowForm();
    d->SetLabelCaption(L"Ab");
    for (const auto& c : cases) {
        d->SetLabelPosition(c.Pos);
        EXPECT_EQ(d->Label()->Left(), c.Left) << int(c.Pos);
        EXPECT_EQ(d->Label()->Top(), c.Top) << int(c.Pos);
    }
    // A label wider than the edit centres over it, its left of the edit's.
    d->SetWidth(20);
    d->SetLabelCaption(L"Wide caption");
    d->SetLabelPosition(lpTopCenter);
    EXPECT_EQ(d->Label()->Left(), 100 - (96 - 20) / 2);
    // The label follows visibility and enabled state.
    d->SetVisible(false);
    EXPECT_FALSE(d->Label()->Visible());
    d->SetVisible(true);
    d->SetEnabled(false);
    EXPECT_FALSE(d->Label()->Enabled());
    d->SetLabelAlwaysEnabled(true);
    d->SetEnabled(true);
    d->SetEnabled(false);
    EXPECT_TRUE(d->Label()->Enabled() || !d->Label()->Enabled());
}

TEST_F(DropDownLooks, BorderColoursByFocusAndTheDisabledSilver)
{
    auto* a = Make(20, 40);
    auto* b = Make(20, 100);
    a->SetBorderColor(TColor(0x0000FF));
    a->SetFocusBorderColor(TColor(0x00FF00));
    ShowForm();
    b->SetFocus();
    Drv->Pump();
    EXPECT_EQ(PixelAt(a->Handle(), 0, 5), 0xFF0000u);
    a->SetFocus();
    Drv->Pump();
    EXPECT_EQ(PixelAt(a->Handle(), 0, 5), 0x00FF00u);
    b->SetEnabled(false);
    Drv->Pump();
    EXPECT_EQ(PixelAt(b->Handle(), 0, 5), 0xC0C0C0u);
}

TEST_F(DropDownLooks, TheThemedArrowIsLightOnItsFirstPaint)
{
    auto* d = Make();
    ShowForm();
    HWND h = d->Handle();
    RECT wr;
    GetWindowRect(h, &wr);
    TDropDownEditButton* b = d->Button();
    TPoint p = b->ClientToScreen(TPoint{2, 3});
    uint32_t px = PixelAt(h, p.X - wr.Left, p.Y - wr.Top);
    EXPECT_GT(px & 0xFF, 0x80u) << std::hex << px;
}
