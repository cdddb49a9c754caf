// The grid's combo box: border precedence, the drop-down button's looks and
// hover, flat mode and its colours, focus colour and label, OnDropUp, the
// label places, ButtonWidth bounds, SelectItem and DropWidth.
#include <gtest/gtest.h>

#include "controls/grid/VurComboBox.h"
#include "platform/ui/StdCtrls.h"
#include "tests/controls/HeadlessFormTest.h"

using namespace VurComboBox;

namespace {

// Reaches the hover and focus state the painting decides on.
class TProbeCombo : public TVurComboBox {
public:
    using TVurComboBox::TVurComboBox;
    bool ButtonHover() const { return FButtonHover; }
    bool MouseInControl() const { return FMouseInControl; }
    bool HasFocus() const { return FHasFocus; }
    void BeginLoading() { FComponentState.Include(csLoading); }
};

class VurComboBoxTest : public HeadlessFormTest {
protected:
    TProbeCombo* NewCombo(int x = 100, int y = 40, TComboBoxStyle style = csDropDown)
    {
        auto* c = new TProbeCombo(Form);
        c->SetParent(Form);
        c->SetStyle(style);
        c->SetBounds(x, y, 160, 24);
        for (auto* t : {L"apple", L"banana", L"cherry", L"date"}) c->Items()->Add(t);
        return c;
    }
    TEdit* NewEdit(int y)
    {
        auto* e = new TEdit(Form);
        e->SetParent(Form);
        e->SetBounds(100, y, 100, 24);
        return e;
    }
    // A point inside the button, away from the arrow.
    TPoint ButtonPoint(TVurComboBox* c) { return TPoint{c->ClientWidth() - c->ButtonWidth() / 2, 4}; }
};

}  // namespace

TEST_F(VurComboBoxTest, ButtonWidthTakesOnly14To32)
{
    TVurComboBox* c = NewCombo();
    const Integer start = c->ButtonWidth();
    EXPECT_EQ(start, GetSystemMetrics(SM_CXVSCROLL) + 2);
    struct Case { Integer Value, Expected; };
    for (Case k : {Case{13, start}, Case{33, start}, Case{14, 14}, Case{32, 32}, Case{0, 32}, Case{-1, 32}}) {
        c->SetButtonWidth(k.Value);
        EXPECT_EQ(c->ButtonWidth(), k.Expected) << k.Value;
    }
}

TEST_F(VurComboBoxTest, BorderPrecedence)
{
    TProbeCombo* c = NewCombo();
    TEdit* other = NewEdit(120);
    ShowForm();
    HWND h = c->Handle();
    auto frame = [&] { return PixelAt(h, 0, 5); };
    auto repaint = [&] {
        c->Invalidate();
        SendMessage(h, WM_NCPAINT, 0, 0);
        Drv->Pump();
    };

    // BorderColor while unfocused, FocusBorderColor while focused.
    c->SetBorderColor(clGreen);
    c->SetFocusBorderColor(clRed);
    other->SetFocus();
    repaint();
    EXPECT_EQ(frame(), Rgb(clGreen));
    EXPECT_EQ(PixelAt(h, 50, 0), Rgb(clGreen));
    c->SetFocus();
    repaint();
    ASSERT_TRUE(c->HasFocus());
    EXPECT_EQ(frame(), Rgb(clRed));
    EXPECT_EQ(PixelAt(h, 50, c->Height() - 1), Rgb(clRed));

    // FocusBorderColor alone: no own frame while unfocused.
    c->SetBorderColor(clNone);
    other->SetFocus();
    repaint();
    EXPECT_NE(frame(), Rgb(clRed));
    EXPECT_NE(frame(), Rgb(clGreen));

    // Disabled and themed with DisabledBorder off: the fixed frame colour,
    // over every colour the caller set.
    c->SetBorderColor(clGreen);
    c->SetDisabledBorder(false);
    c->SetEnabled(false);
    repaint();
    if (c->IsThemed()) {
        EXPECT_EQ(frame(), Rgb(TColor(0xB99D7F)));
    }
    // With visual styles off the disabled combo keeps BorderColor.
    SetVisualStylesEnabled(false);
    repaint();
    EXPECT_EQ(frame(), Rgb(clGreen));
    SetVisualStylesEnabled(true);
    c->SetDisabledBorder(true);
    repaint();
    EXPECT_EQ(frame(), Rgb(clGreen));

    // The platform's own painting and no border colour: nothing of ours.
    c->SetEnabled(true);
    c->SetBorderColor(clNone);
    c->SetFocusBorderColor(clNone);
    c->SetFlatLineColor(clRed);
    c->SetFlat(true);
    c->SetIsVista(true);
    repaint();
    EXPECT_NE(PixelAt(h, 10, c->Height() - 1), Rgb(clRed));
    c->SetIsVista(false);
    repaint();
    EXPECT_EQ(PixelAt(h, 10, c->Height() - 1), Rgb(clRed)) << "flat underline";
}

TEST_F(VurComboBoxTest, FlatModeFollowsTheParentAndRestoresOnEnable)
{
    TVurComboBox* c = NewCombo();
    ShowForm();
    EXPECT_TRUE(c->Ctl3D());
    c->SetFlat(true);
    EXPECT_FALSE(c->Ctl3D());
    EXPECT_EQ(c->Color(), Form->Color()) << "FlatParentColor takes the parent's colour";
    c->SetFlat(false);
    EXPECT_TRUE(c->Ctl3D());
    EXPECT_EQ(c->Color(), clWindow) << "back to the loaded colour";

    c->SetFlatParentColor(false);
    c->SetFlat(true);
    EXPECT_EQ(c->Color(), clWindow);
    c->SetColor(clYellow);
    c->SetEnabled(false);
    EXPECT_EQ(c->Color(), Form->Color());
    EXPECT_TRUE(c->ParentColor());
    c->SetEnabled(true);
    EXPECT_EQ(c->Color(), clYellow);
    EXPECT_FALSE(c->ParentColor());
}

TEST_F(VurComboBoxTest, LoadingRemembersTheColourFlatReturnsTo)
{
    auto* c = new TProbeCombo(Form);
    c->BeginLoading();
    c->SetParent(Form);
    c->SetBounds(100, 40, 160, 24);
    c->SetColor(clAqua);
    c->SetDropWidth(240);
    c->SetFlatParentColor(false);
    c->Loaded();
    ShowForm();
    EXPECT_EQ(c->Color(), clAqua);
    EXPECT_EQ(SendMessage(c->Handle(), CB_GETDROPPEDWIDTH, 0, 0), 240);
    c->SetFlat(true);
    c->SetFlat(false);
    EXPECT_EQ(c->Color(), clAqua);
}

TEST_F(VurComboBoxTest, ButtonColoursAndHover)
{
    SetVisualStylesEnabled(false);
    TProbeCombo* c = NewCombo();
    ShowForm();
    HWND h = c->Handle();
    const TPoint at = ButtonPoint(c);
    const uint32_t platform = PixelAt(h, at.X, at.Y);
    // Colours other than ButtonColor start no own painting.
    c->SetButtonColorHot(clLime);
    c->SetButtonColorDown(clYellow);
    c->SetButtonBorderColor(clRed);
    c->SetButtonTextColor(clBlue);
    c->Invalidate();
    Drv->Pump();
    EXPECT_EQ(PixelAt(h, at.X, at.Y), platform);

    c->SetButtonColor(TColor(0x00A5FF));
    c->Invalidate();
    Drv->Pump();
    EXPECT_EQ(PixelAt(h, at.X, at.Y), Rgb(TColor(0x00A5FF)));
    // The arrow in ButtonTextColor: its apex row is the button's top + 7.
    const Integer left = c->ClientWidth() - c->ButtonWidth() + 2;
    EXPECT_EQ(PixelAt(h, left + 7, 9), Rgb(clBlue));
    EXPECT_EQ(PixelAt(h, left, 10), Rgb(clRed)) << "the border line along the left edge";

    // Hover over the button area only.
    Drv->MouseMoveWindow(h, TPoint{10, 10});
    Drv->Pump();
    EXPECT_TRUE(c->MouseInControl());
    EXPECT_FALSE(c->ButtonHover());
    Drv->MouseMoveWindow(h, at);
    Drv->Pump();
    EXPECT_TRUE(c->ButtonHover());
    EXPECT_EQ(PixelAt(h, at.X, at.Y), Rgb(clLime));
    Drv->MouseMoveWindow(Form->Handle(), TPoint{5, 5});
    Drv->Pump();
    EXPECT_FALSE(c->ButtonHover());
    EXPECT_FALSE(c->MouseInControl());
    EXPECT_EQ(PixelAt(h, at.X, at.Y), Rgb(TColor(0x00A5FF)));

    // A hot colour left at clNone keeps the plain one.
    c->SetButtonColorHot(clNone);
    Drv->MouseMoveWindow(h, at);
    Drv->Pump();
    EXPECT_EQ(PixelAt(h, at.X, at.Y), Rgb(TColor(0x00A5FF)));
}

TEST_F(VurComboBoxTest, FocusColourAndFocusLabel)
{
    TProbeCombo* c = NewCombo();
    TEdit* other = NewEdit(120);
    c->SetColor(clWhite);
    c->Init();
    c->SetFocusColor(clYellow);
    c->SetLabelCaption(L"Fruit");
    c->SetFocusLabel(true);
    ShowForm();
    other->SetFocus();
    Drv->Pump();
    c->SetFocus();
    Drv->Pump();
    EXPECT_TRUE(c->HasFocus());
    EXPECT_EQ(c->Color(), clYellow);
    EXPECT_TRUE(c->ComboLabel()->Font()->Style().Contains(fsBold));
    // A re-placing while focused keeps the bold label.
    c->SetLabelMargin(6);
    EXPECT_TRUE(c->ComboLabel()->Font()->Style().Contains(fsBold));
    other->SetFocus();
    Drv->Pump();
    EXPECT_FALSE(c->HasFocus());
    EXPECT_EQ(c->Color(), clWhite);
    EXPECT_FALSE(c->ComboLabel()->Font()->Style().Contains(fsBold));

    // Without FocusLabel a bold designed label stays bold.
    c->SetFocusLabel(false);
    c->SetParentFont(false);
    TFont bold;
    bold.SetStyle(TFontStyles{fsBold});
    c->SetLabelFont(&bold);
    c->SetFocus();
    Drv->Pump();
    other->SetFocus();
    Drv->Pump();
    EXPECT_TRUE(c->ComboLabel()->Font()->Style().Contains(fsBold));
}

TEST_F(VurComboBoxTest, OnDropUpOncePerCloseUp)
{
    TVurComboBox* c = NewCombo();
    int dropUps = 0;
    c->OnDropUp = [&](TObject* s) {
        EXPECT_EQ(s, c);
        ++dropUps;
    };
    ShowForm();
    c->SetFocus();
    Drv->Pump();
    c->SetDroppedDown(true);
    Drv->Pump();
    EXPECT_EQ(dropUps, 0);
    c->SetDroppedDown(false);
    Drv->Pump();
    EXPECT_EQ(dropUps, 1);
    // Picking an item by keys closes it once more.
    Drv->PressKey(VK_DOWN, {VK_MENU});
    Drv->Pump();
    ASSERT_TRUE(c->DroppedDown());
    Drv->PressKey(VK_DOWN);
    Drv->PressKey(VK_RETURN);
    Drv->Pump();
    EXPECT_FALSE(c->DroppedDown());
    EXPECT_EQ(dropUps, 2);
}

TEST_F(VurComboBoxTest, LabelPlaces)
{
    TVurComboBox* c = NewCombo(200, 100);
    c->SetLabelCaption(L"Name");  // 32 wide in the fixed font
    ShowForm();
    TLabel* l = c->ComboLabel();
    ASSERT_TRUE(l);
    EXPECT_EQ(l->Parent(), Form);
    EXPECT_EQ(l->FocusControl(), c);
    const Integer LH = l->Height(), LW = l->Width(), w = 32, M = 4;
    const Integer T = c->Top(), L = c->Left(), H = c->Height(), W = c->Width();
    struct Case { TLabelPosition P; Integer Top, Left; };
    const Case cases[] = {
        {lpLeftTop, T, L - w - M}, {lpLeftCenter, T + (H - LH) / 2, L - w - M}, {lpLeftBottom, T + H - LH, L - w - M},
        {lpTopLeft, T - LH - M, L}, {lpBottomLeft, T + H + M, L}, {lpLeftTopLeft, T, L - M},
        {lpLeftCenterLeft, T + (H - LH) / 2, L - M}, {lpLeftBottomLeft, T + H - LH, L - M},
        {lpTopCenter, T - LH - M, L + (W - LW) / 2}, {lpBottomCenter, T + H + M, L + (W - LW) / 2},
        {lpRightTop, T, L + W + M}, {lpRightCenter, T + (H - LH) / 2, L + W + M}, {lpRighBottom, T + H - LH, L + W + M},
    };
    for (const Case& k : cases) {
        c->SetLabelPosition(k.P);
        EXPECT_EQ(l->Top(), k.Top) << int(k.P);
        EXPECT_EQ(l->Left(), k.Left) << int(k.P);
    }
    c->SetLabelPosition(lpLeftTop);
    EXPECT_EQ(l->Left() + l->Width(), L - M) << "the label ends the margin left of the combo";
    c->SetBounds(250, 150, 160, 24);
    EXPECT_EQ(l->Left() + l->Width(), 250 - M) << "moving the combo moves the label";
    EXPECT_EQ(l->Top(), 150);
    c->SetVisible(false);
    EXPECT_FALSE(l->Visible());
    c->SetVisible(true);
    EXPECT_TRUE(l->Visible());
    c->SetEnabled(false);
    EXPECT_FALSE(l->Enabled());
    c->SetLabelAlwaysEnabled(true);
    EXPECT_TRUE(l->Enabled());
    c->SetEnabled(true);
    c->SetEnabled(false);
    EXPECT_TRUE(l->Enabled());
}

TEST_F(VurComboBoxTest, LabelCentresWiderThanTheCombo)
{
    // The centring rules on both sides of "label larger than the combo".
    struct Case { Integer W, H, LW, LH; TPoint Centre, Middle; };
    const Case cases[] = {
        {100, 24, 40, 16, TPoint{10 + 30, 20 - 16 - 4}, TPoint{10 + 100 + 4, 20 + 4}},
        {30, 10, 41, 17, TPoint{10 - 5, 20 - 17 - 4}, TPoint{10 + 30 + 4, 20 - 3}},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(LabelOrigin(lpTopCenter, 10, 20, k.W, k.H, 4, 0, k.LW, k.LH), k.Centre);
        EXPECT_EQ(LabelOrigin(lpRightCenter, 10, 20, k.W, k.H, 4, 0, k.LW, k.LH), k.Middle);
    }
}

TEST_F(VurComboBoxTest, LabelMadeBeforeTheParentFollowsTheCombo)
{
    auto* c = new TVurComboBox(Form);
    c->SetLabelCaption(L"Early");
    c->SetParent(Form);
    c->SetBounds(150, 60, 120, 24);
    ShowForm();
    ASSERT_TRUE(c->ComboLabel());
    EXPECT_EQ(c->ComboLabel()->Parent(), Form);
    EXPECT_EQ(c->ComboLabel()->Left(), 150 - 40 - 4);
    EXPECT_EQ(c->LabelCaption(), L"Early");
}

TEST_F(VurComboBoxTest, SelectItemAndDropWidth)
{
    TVurComboBox* c = NewCombo(100, 40, csDropDownList);
    int changes = 0;
    c->OnChange = [&](TObject*) { ++changes; };
    ShowForm();
    c->SelectItem(L"cherry");
    EXPECT_EQ(c->ItemIndex(), 2);
    c->SelectItem(L"kiwi");
    EXPECT_EQ(c->ItemIndex(), 2) << "an absent text changes nothing";
    EXPECT_EQ(changes, 0);
    c->SetDropWidth(300);
    EXPECT_EQ(SendMessage(c->Handle(), CB_GETDROPPEDWIDTH, 0, 0), 300);
    c->SetDropWidth(0);
    EXPECT_EQ(c->DropWidth(), 0);
    EXPECT_EQ(SendMessage(c->Handle(), CB_GETDROPPEDWIDTH, 0, 0), 300) << "zero leaves the list's width";
    EXPECT_TRUE(c->LabelCaption().empty());
}

TEST_F(VurComboBoxTest, AutoFocusTakesTheFocusOnEntering)
{
    TProbeCombo* c = NewCombo();
    TEdit* other = NewEdit(120);
    c->SetAutoFocus(true);
    ShowForm();
    other->SetFocus();
    Drv->Pump();
    Drv->MouseMoveWindow(c->Handle(), TPoint{10, 10});
    Drv->Pump();
    EXPECT_TRUE(c->HasFocus());
}

TEST_F(VurComboBoxTest, ThemedButtonShowsHoverElseTheClassicButton)
{
    TProbeCombo* c = NewCombo();
    c->SetFlat(true);  // own painting without own button colours
    ShowForm();
    HWND h = c->Handle();
    const TPoint at{c->ClientWidth() - c->ButtonWidth() / 2, 3};
    const uint32_t hot = 0xE5F1FB;  // the theme's hot drop-down button
    Drv->MouseMoveWindow(h, TPoint{10, 10});
    Drv->Pump();
    EXPECT_NE(PixelAt(h, at.X, at.Y), hot);
    Drv->MouseMoveWindow(h, at);
    Drv->Pump();
    ASSERT_TRUE(c->ButtonHover());
    EXPECT_EQ(PixelAt(h, at.X, at.Y), hot);

    SetVisualStylesEnabled(false);
    c->Invalidate();
    Drv->Pump();
    EXPECT_EQ(PixelAt(h, at.X, at.Y), Rgb(clBtnFace)) << "the classic frame-control button";
}
