// The combo box: its own painting only under its conditions, the subclassed
// edit part (prompt, Enter as Tab, Tab committing a dropped list), the label
// positions, the button width bounds, SelectItem and the flat colours.
#include <gtest/gtest.h>

#include "controls/edits/VodCombo.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/StdCtrls.h"
#include "tests/controls/edits/EditsTestSupport.h"

using namespace VodCombo;

namespace {

class VodComboTest : public EditsFormTest {
protected:
    TVodComboBox* NewCombo(int x = 100, int y = 40, TComboBoxStyle style = csDropDown)
    {
        auto* c = new TVodComboBox(Form);
        c->SetParent(Form);
        c->SetStyle(style);
        c->SetBounds(x, y, 160, 24);
        for (auto* t : {L"apple", L"banana", L"cherry", L"date"}) c->Items()->Add(t);
        c->OnChange = [this](TObject*) { ++Changes; };
        c->OnClick = [this](TObject*) { ++Clicks; };
        return c;
    }
    TEdit* NewEdit(int y)
    {
        auto* e = new TEdit(Form);
        e->SetParent(Form);
        e->SetBounds(100, y, 100, 24);
        return e;
    }
    int Changes = 0;
    int Clicks = 0;
};

}  // namespace

TEST_F(VodComboTest, ButtonWidthBoundsAndVersion)
{
    TVodComboBox* c = NewCombo();
    const Integer start = c->ButtonWidth();
    struct Case { Integer Value; Integer Expected; };
    for (Case k : {Case{13, start}, Case{33, start}, Case{14, 14}, Case{32, 32}, Case{0, 32}, Case{-5, 32}}) {
        c->SetButtonWidth(k.Value);
        EXPECT_EQ(c->ButtonWidth(), k.Expected) << k.Value;
    }
    EXPECT_EQ(c->Version(), L"1.6.2.1");
    c->SetVersion(L"9.9.9.9");
    EXPECT_EQ(c->Version(), L"1.6.2.1");
}

TEST_F(VodComboTest, SelectItemFiresOnlyForAnItemAndItemIndexFromCodeIsSilent)
{
    TVodComboBox* c = NewCombo(100, 40, csDropDownList);
    ShowForm();
    c->SetItemIndex(1);
    EXPECT_EQ(Changes + Clicks, 0) << "ItemIndex set from code raises no event";
    c->SelectItem(L"kiwi");
    EXPECT_EQ(c->ItemIndex(), 1);
    EXPECT_EQ(Changes, 0);
    c->SelectItem(L"cherry");
    EXPECT_EQ(c->ItemIndex(), 2);
    EXPECT_EQ(Changes, 1);
    c->SelectItem(L"cherry");
    EXPECT_EQ(Changes, 2) << "also when the item already was selected";
}

TEST_F(VodComboTest, ReturnIsTabMovesTheFocusWithoutAnEnterCharacter)
{
    TVodComboBox* c = NewCombo(100, 40);
    TEdit* next = NewEdit(100);
    c->SetReturnIsTab(true);
    int enterChars = 0;
    c->OnKeyPress = [&](TObject*, wchar_t& k) { if (k == 13) ++enterChars; };
    ShowForm();
    c->SetFocus();
    Drv->Pump();
    ASSERT_EQ(GetFocus(), c->EditHandle());
    Drv->TypeText(L"ab");
    Drv->PressKey(VK_RETURN);
    Drv->Pump();
    EXPECT_EQ(GetFocus(), next->Handle());
    EXPECT_EQ(c->Text(), L"ab");
    EXPECT_EQ(enterChars, 0);

    // Without ReturnIsTab the focus stays.
    c->SetReturnIsTab(false);
    c->SetFocus();
    Drv->Pump();
    Drv->PressKey(VK_RETURN);
    Drv->Pump();
    EXPECT_EQ(GetFocus(), c->EditHandle());
}

TEST_F(VodComboTest, TabOnADroppedListCommitsTheHighlightedItemAndMovesOn)
{
    TVodComboBox* c = NewCombo(100, 40);
    TEdit* next = NewEdit(100);
    ShowForm();
    c->SetFocus();
    Drv->Pump();
    c->SetDroppedDown(true);
    Drv->Pump();
    ASSERT_TRUE(c->DroppedDown());
    Drv->PressKey(VK_DOWN);
    Drv->PressKey(VK_DOWN);
    Drv->PressKey(VK_TAB);
    Drv->Pump();
    EXPECT_FALSE(c->DroppedDown());
    EXPECT_EQ(c->ItemIndex(), 1);
    EXPECT_EQ(c->Text(), L"banana");
    EXPECT_EQ(GetFocus(), next->Handle());
}

TEST_F(VodComboTest, EditPartIsSubclassedOncePerWindow)
{
    TVodComboBox* c = NewCombo();
    c->SetReturnIsTab(true);
    TEdit* next = NewEdit(100);
    TEdit* after = NewEdit(140);
    (void)after;
    ShowForm();
    c->RecreateWnd();
    Drv->Pump();
    c->SetFocus();
    Drv->Pump();
    Drv->PressKey(VK_RETURN);
    Drv->Pump();
    EXPECT_EQ(GetFocus(), next->Handle()) << "one Tab, not one per subclassing";
}

TEST_F(VodComboTest, PromptShowsInTheEmptyEditAndAFocusingClickOnlyFocuses)
{
    TVodComboBox* c = NewCombo();
    TEdit* other = NewEdit(100);
    c->SetEmptyText(L"WWWW");
    ShowForm();
    other->SetFocus();
    Drv->Pump();
    HWND edit = c->EditHandle();
    auto greyIn = [&](HWND h) {
        std::vector<uint32_t> px;
        int w = 0, hgt = 0;
        Drv->CaptureWindow(h, px, w, hgt);
        int n = 0;
        for (uint32_t p : px) n += (p & 0xFFFFFF) == 0x808080;
        return n;
    };
    EXPECT_GT(greyIn(edit), 20) << "prompt while unfocused";
    c->SetFocus();
    Drv->Pump();
    EXPECT_EQ(greyIn(edit), 0) << "no prompt while focused without EmptyTextFocused";
    c->SetEmptyTextFocused(true);
    InvalidateRect(edit, nullptr, TRUE);
    Drv->Pump();
    EXPECT_GT(greyIn(edit), 20);

    other->SetFocus();
    Drv->Pump();
    Drv->ClickWindow(edit, {4, 4});
    Drv->Pump();
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_TRUE(c->Text().empty());
}

TEST_F(VodComboTest, OwnPaintingOnlyUnderItsConditions)
{
    SetVisualStylesEnabled(false);
    TVodComboBox* c = NewCombo();
    ShowForm();
    HWND h = c->Handle();
    TRect cr = c->ClientRect();
    int bx = cr.Right - c->ButtonWidth() / 2 - 2, by = cr.Height() / 2 - 3;
    uint32_t platformButton = PixelAt(h, bx, by);
    c->SetButtonColorHot(clLime);
    c->SetButtonColorDown(clLime);
    c->SetButtonTextColor(clBlue);
    EXPECT_EQ(PixelAt(h, bx, by), platformButton) << "hot colours alone do not start the own painting";
    c->SetButtonColor(TColor(0x00A5FF));
    Drv->Pump();
    EXPECT_EQ(PixelAt(h, bx, 4), Rgb(TColor(0x00A5FF)));
    c->SetButtonColor(clNone);

    // Flat: the underline in FlatLineColor on the bottom row.
    c->SetFlatLineColor(clRed);
    c->SetFlat(true);
    Drv->Pump();
    EXPECT_EQ(PixelAt(h, 10, c->Height() - 1), Rgb(clRed));
    EXPECT_FALSE(c->Ctl3D());
    c->SetFlat(false);
    Drv->Pump();
    EXPECT_NE(PixelAt(h, 10, c->Height() - 1), Rgb(clRed));
    EXPECT_TRUE(c->Ctl3D());

    // A border colour frames the window.
    c->SetBorderColor(clGreen);
    c->Invalidate();
    Drv->Pump();
    EXPECT_EQ(PixelAt(h, 0, 5), Rgb(clGreen));
    EXPECT_EQ(PixelAt(h, 40, 0), Rgb(clGreen));
}

TEST_F(VodComboTest, DisabledFlatComboTakesItsParentsColour)
{
    TVodComboBox* c = NewCombo();
    ShowForm();
    c->SetFlatParentColor(false);
    c->SetFlat(true);
    c->SetColor(clYellow);
    c->SetEnabled(false);
    EXPECT_EQ(c->Color(), Form->Color());
    c->SetEnabled(true);
    EXPECT_EQ(c->Color(), clYellow);
    EXPECT_FALSE(c->ParentColor());
}

TEST_F(VodComboTest, LabelEnablingFollowsUnlessAlwaysEnabled)
{
    TVodComboBox* c = NewCombo();
    c->SetLabelCaption(L"Site");
    ShowForm();
    c->SetEnabled(false);
    EXPECT_FALSE(c->ComboLabel()->Enabled());
    c->SetEnabled(true);
    EXPECT_TRUE(c->ComboLabel()->Enabled());
    c->SetLabelAlwaysEnabled(true);
    c->SetEnabled(false);
    EXPECT_TRUE(c->ComboLabel()->Enabled());
}

TEST_F(VodComboTest, LabelPositions)
{
    TVodComboBox* c = NewCombo(200, 100);
    c->SetLabelCaption(L"Name");  // 32 wide in the fixed font
    ShowForm();
    TLabel* l = c->ComboLabel();
    const Integer H = l->Height(), LW = l->Width(), W = 32, M = 4;
    const Integer T = c->Top(), L = c->Left(), E = c->Height(), CW = c->Width();
    struct Case { TLabelPosition P; Integer Top, Left; };
    const Case cases[] = {
        {lpLeftTop, T, L - W - M}, {lpLeftCenter, T + (E - H) / 2, L - W - M}, {lpLeftBottom, T + E - H, L - W - M},
        {lpTopLeft, T - H - M, L}, {lpBottomLeft, T + E + M, L}, {lpLeftTopLeft, T, L - M},
        {lpLeftCenterLeft, T + (E - H) / 2, L - M}, {lpLeftBottomLeft, T + E - H, L - M},
        {lpTopCenter, T - H - M, L + (CW - LW) / 2}, {lpBottomCenter, T + E + M, L + (CW - LW) / 2},
        {lpRightTop, T, L + CW + M}, {lpRightCenter, T + (E - H) / 2, L + CW + M}, {lpRighBottom, T + E - H, L + CW + M},
    };
    for (const Case& k : cases) {
        c->SetLabelPosition(k.P);
        EXPECT_EQ(l->Top(), k.Top) << int(k.P);
        EXPECT_EQ(l->Left(), k.Left) << int(k.P);
    }
    c->SetLabelMargin(10);
    c->SetLabelPosition(lpLeftTop);
    EXPECT_EQ(l->Left(), L - W - 10);
}

TEST_F(VodComboTest, FocusColoursComeAndGo)
{
    TVodComboBox* c = NewCombo();
    TEdit* other = NewEdit(100);
    c->SetColor(clWhite);
    c->Init();
    c->SetFocusColor(clYellow);
    c->SetFocusFontColor(clRed);
    c->SetLabelCaption(L"Site");
    c->SetFocusLabel(true);
    int dropUps = 0;
    c->OnDropUp = [&](TObject*) { ++dropUps; };
    ShowForm();
    other->SetFocus();
    Drv->Pump();
    const TColor font = c->Font()->Color();
    c->SetFocus();
    Drv->Pump();
    EXPECT_EQ(c->Color(), clYellow);
    EXPECT_EQ(c->Font()->Color(), clRed);
    EXPECT_TRUE(c->ComboLabel()->Font()->Style().Contains(fsBold));
    c->SetDroppedDown(true);
    c->SetDroppedDown(false);
    Drv->Pump();
    EXPECT_EQ(dropUps, 1);
    other->SetFocus();
    Drv->Pump();
    EXPECT_EQ(c->Color(), clWhite);
    EXPECT_EQ(c->Font()->Color(), font);
    EXPECT_FALSE(c->ComboLabel()->Font()->Style().Contains(fsBold));
}

TEST_F(VodComboTest, DesignedLabelFontFollowsTheScreenScale)
{
    GdiSetScreenPixelsPerInch(120);
    TVodComboBox* c = NewCombo();
    c->SetParentFont(false);
    c->LabelFont()->SetHeight(-11);
    c->SetLabelCaption(L"Site");
    const float scale = [] {
        // The scale as the control computes it: "0" in 9 points at 120 over 96.
        HDC dc = CreateScreenIC();
        auto zero = [&](int ppi) {
            LOGFONTW lf{};
            lf.lfHeight = -MulDiv(9, ppi, 72);
            wcscpy(lf.lfFaceName, L"Tahoma");
            HFONT f = CreateFontIndirect(&lf);
            HGDIOBJ old = SelectObject(dc, f);
            SIZE sz{};
            GetTextExtentPoint32(dc, L"0", 1, &sz);
            SelectObject(dc, old);
            DeleteObject(f);
            return sz.cy;
        };
        float s = float(zero(120)) / float(zero(96));
        DeleteDC(dc);
        return s;
    }();
    ShowForm();
    EXPECT_EQ(c->LabelFont()->Height(), Integer(Round(Extended(scale) * -11)));
    GdiSetScreenPixelsPerInch(96);
}
