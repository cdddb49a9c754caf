// The grid's date-time picker: the platform's look without metro and with
// Ctl3D, the flat outline, the metro button (never for the time kind) and
// the combo box's border rules, hover on the button area, Version.
#include <gtest/gtest.h>

#include "controls/grid/VurDateTimePicker.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/StdCtrls.h"
#include "tests/controls/HeadlessFormTest.h"

namespace {

class TProbePicker : public TVurDateTimePicker {
public:
    using TVurDateTimePicker::TVurDateTimePicker;
    bool ButtonHover() const { return FButtonHover; }
    bool MouseInControl() const { return FMouseInControl; }
    bool HasFocus() const { return FHasFocus; }
    Integer ButtonWidth() const { return FButtonWidth; }
    bool DoubleBufferedOn() const { return DoubleBuffered(); }
};

class VurDateTimePickerTest : public HeadlessFormTest {
protected:
    template <class T>
    T* NewPicker(int y, TDateTimeKind kind = dtkDate)
    {
        auto* p = new T(Form);
        p->SetParent(Form);
        p->SetKind(kind);
        p->SetBounds(40, y, 160, 24);
        p->SetDateTime(EncodeDate(2024, 3, 15) + EncodeTime(10, 30, 0, 0));
        return p;
    }
    std::vector<uint32_t> Capture(HWND h)
    {
        std::vector<uint32_t> px;
        int w = 0, hgt = 0;
        Drv->CaptureWindow(h, px, w, hgt);
        return px;
    }
    void Repaint(TWinControl* c)
    {
        RedrawWindow(c->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE);
        Drv->Pump();
    }
};

}  // namespace

TEST_F(VurDateTimePickerTest, ConstructionState)
{
    auto* p = NewPicker<TProbePicker>(40);
    EXPECT_EQ(p->BorderStyle(), bsNone);
    EXPECT_TRUE(p->Ctl3D());
    EXPECT_FALSE(p->ParentCtl3D());
    EXPECT_TRUE(p->DoubleBufferedOn());
    EXPECT_FALSE(p->MetroStyle());
    EXPECT_EQ(p->BorderColor(), clNone);
    EXPECT_EQ(p->ButtonColor(), clNone);
    EXPECT_EQ(p->ButtonWidth(), GetSystemMetrics(SM_CXVSCROLL) + 2);
    EXPECT_EQ(p->Version(), L"1.0.0.0");
    p->SetVersion(L"2.0.0.0");
    EXPECT_EQ(p->Version(), L"1.0.0.0");
}

TEST_F(VurDateTimePickerTest, WithoutMetroAndWithCtl3DItLooksLikeThePlatformsPicker)
{
    auto* own = NewPicker<TVurDateTimePicker>(40);
    auto* plain = NewPicker<TDateTimePicker>(100);
    // Colours that only the metro look would use.
    own->SetBorderColor(clRed);
    own->SetButtonColor(clLime);
    auto* other = new TEdit(Form);
    other->SetParent(Form);
    other->SetBounds(40, 160, 100, 24);
    ShowForm();
    other->SetFocus();
    Drv->Pump();
    Repaint(own);
    Repaint(plain);
    EXPECT_EQ(Capture(own->Handle()), Capture(plain->Handle()));
}

TEST_F(VurDateTimePickerTest, MetroButtonInItsColoursButNeverForTheTimeKind)
{
    auto* date = NewPicker<TProbePicker>(40);
    auto* time = NewPicker<TProbePicker>(100, dtkTime);
    for (TProbePicker* p : {date, time}) {
        p->SetMetroStyle(true);
        p->SetButtonColor(clLime);
        p->SetButtonColorHot(clYellow);
        p->SetButtonTextColor(clBlue);
        p->SetButtonBorderColor(clRed);
    }
    ShowForm();
    Repaint(date);
    Repaint(time);
    // The button's rectangle in window coordinates.
    const Integer left = date->ClientWidth() - date->ButtonWidth() + 3;
    const Integer x = left + 3, y = date->Height() - 5;
    EXPECT_EQ(PixelAt(date->Handle(), x, y), Rgb(clLime));
    EXPECT_EQ(PixelAt(date->Handle(), left, y), Rgb(clRed)) << "border line along the button's left edge";
    EXPECT_EQ(PixelAt(date->Handle(), left + 8, 1 + 8), Rgb(clBlue)) << "the arrow";
    EXPECT_NE(PixelAt(time->Handle(), x, y), Rgb(clLime));

    // Hot colour while the mouse is over the button area only.
    Drv->MouseMoveWindow(date->Handle(), TPoint{10, 10});
    Drv->Pump();
    EXPECT_TRUE(date->MouseInControl());
    EXPECT_FALSE(date->ButtonHover());
    Drv->MouseMoveWindow(date->Handle(), TPoint{date->Width() - 6, 10});
    Drv->Pump();
    EXPECT_TRUE(date->ButtonHover());
    EXPECT_EQ(PixelAt(date->Handle(), x, y), Rgb(clYellow));
    Drv->MouseMoveWindow(Form->Handle(), TPoint{5, 5});
    Drv->Pump();
    EXPECT_FALSE(date->ButtonHover());
    EXPECT_FALSE(date->MouseInControl());
    EXPECT_EQ(PixelAt(date->Handle(), x, y), Rgb(clLime));

    // Metro off: the platform's button again.
    date->SetMetroStyle(false);
    Repaint(date);
    EXPECT_NE(PixelAt(date->Handle(), x, y), Rgb(clLime));
}

TEST_F(VurDateTimePickerTest, FlatOutlineWithCtl3DOff)
{
    auto* p = NewPicker<TProbePicker>(40);
    ShowForm();
    HWND h = p->Handle();
    const uint32_t withCtl3D = PixelAt(h, 0, 10);
    p->SetCtl3D(false);
    Repaint(p);
    EXPECT_EQ(PixelAt(h, 0, 10), withCtl3D) << "no outline without a border colour";

    p->SetBorderColor(clRed);
    const TColor themedOrOwn = p->IsThemed() ? TColor(0xB99D7F) : clRed;
    struct Case { TBorderStyle Style; TColor Outer, Inner; };
    const Case cases[] = {
        {bsNone, Form->Color(), Form->Color()},
        {bsSingle, themedOrOwn, Form->Color()},
    };
    for (const Case& k : cases) {
        p->SetBorderStyle(k.Style);
        Repaint(p);
        EXPECT_EQ(PixelAt(h, 0, 10), Rgb(k.Outer)) << int(k.Style);
        EXPECT_EQ(PixelAt(h, 50, 0), Rgb(k.Outer)) << int(k.Style);
        EXPECT_EQ(PixelAt(h, p->Width() - 1, 10), Rgb(k.Outer)) << int(k.Style);
        EXPECT_EQ(PixelAt(h, 50, p->Height() - 1), Rgb(k.Outer)) << int(k.Style);
        EXPECT_EQ(PixelAt(h, 1, 10), Rgb(k.Inner)) << int(k.Style);
        EXPECT_EQ(PixelAt(h, 50, 1), Rgb(k.Inner)) << int(k.Style);
    }
    p->SetCtl3D(true);
    Repaint(p);
    EXPECT_EQ(PixelAt(h, 0, 10), withCtl3D) << "Ctl3D back on repaints the platform's frame";
}

TEST_F(VurDateTimePickerTest, MetroBordersFollowTheComboRules)
{
    auto* p = NewPicker<TProbePicker>(40);
    auto* other = NewPicker<TProbePicker>(100);
    ShowForm();
    HWND h = p->Handle();
    const uint32_t platformFrame = PixelAt(h, 0, 10);
    p->SetBorderColor(clGreen);
    Repaint(p);
    EXPECT_EQ(PixelAt(h, 0, 10), platformFrame) << "borders are the metro look's";
    p->SetMetroStyle(true);
    Repaint(p);
    EXPECT_EQ(PixelAt(h, 0, 10), Rgb(clGreen));
    EXPECT_EQ(PixelAt(h, 60, p->Height() - 1), Rgb(clGreen));

    // Focus comes and goes by CM_ENTER and CM_EXIT.
    p->SetFocus();
    Drv->Pump();
    EXPECT_TRUE(p->HasFocus());
    other->SetFocus();
    Drv->Pump();
    EXPECT_FALSE(p->HasFocus());

    // Disabled and themed: the fixed frame colour over BorderColor.
    p->SetEnabled(false);
    Repaint(p);
    if (p->IsThemed()) {
        EXPECT_EQ(PixelAt(h, 0, 10), Rgb(TColor(0xB99D7F)));
    }
    SetVisualStylesEnabled(false);
    Repaint(p);
    EXPECT_EQ(PixelAt(h, 0, 10), Rgb(clGreen));
}

TEST_F(VurDateTimePickerTest, MetroThemedButtonShowsHover)
{
    auto* p = NewPicker<TProbePicker>(40);
    p->SetMetroStyle(true);
    ShowForm();
    HWND h = p->Handle();
    const TPoint at{p->Width() - 6, 3};
    const uint32_t hot = 0xE5F1FB;  // the theme's hot drop-down button
    Drv->MouseMoveWindow(h, TPoint{10, 10});
    Drv->Pump();
    EXPECT_NE(PixelAt(h, at.X, at.Y), hot);
    Drv->MouseMoveWindow(h, TPoint{p->Width() - 8, 10});
    Drv->Pump();
    ASSERT_TRUE(p->ButtonHover());
    EXPECT_EQ(PixelAt(h, at.X, at.Y), hot);
}
