// The drop-down tests' form (see HeadlessFormTest), with the separators the
// value tests expect and helpers to make, show and type into a drop-down.
#pragma once

#include "controls/dropdown/VodDropDown.h"
#include "platform/base/SysUtils.h"
#include "tests/controls/HeadlessFormTest.h"

class DropDownFormTest : public HeadlessFormTest {
protected:
    void SetUp() override
    {
        HeadlessFormTest::SetUp();
        FormatSettings.DecimalSeparator = L'.';
        FormatSettings.ThousandSeparator = L',';
    }
    template <class T = TVodDropDown>
    T* Make(int x = 20, int y = 40, int w = 150)
    {
        T* d = CreateDropDown<T>(Form);
        d->SetParent(Form);
        d->SetBounds(x, y, w, 24);
        return d;
    }
    // The screen point of a client point of a control.
    TPoint At(TWinControl* c, int x, int y) { return c->ClientToScreen(TPoint{x, y}); }
    // The drop-down arrow's centre on the screen.
    TPoint Arrow(TVodCustomDropDown* d)
    {
        TDropDownEditButton* b = d->Button();
        return b->ClientToScreen(TPoint{b->Width() / 2, b->Height() / 2});
    }
    void Type(TVodCustomDropDown* d, const String& text)
    {
        d->SetFocus();
        Drv->Pump();
        Drv->TypeText(text);
        Drv->Pump();
    }
};
