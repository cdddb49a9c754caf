// A form on the headless backend with fixed-metrics fonts (every character
// 8 wide, 16 high) for the drop-down tests, the tick counter under the
// test's control, and pixel reading from window captures.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "controls/dropdown/VodDropDown.h"
#include "platform/base/SysUtils.h"
#include "platform/gfx/Gdi.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Themes.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Headless.h"

class DropDownFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Drv = std::make_unique<THeadlessDriver>();
        SetFixedMetricsFonts(true);
        InitForms();
        FormatSettings.DecimalSeparator = L'.';
        FormatSettings.ThousandSeparator = L',';
        Form = new TForm(Application);
        Form->Init();
        Form->SetBorderStyle(bsNone);
        Form->SetColor(TColor(0xE0E0E0));
        Form->SetBounds(100, 100, 500, 360);
    }
    void TearDown() override
    {
        DoneForms();
        SetVisualStylesEnabled(true);
        Drv.reset();
        SetFixedMetricsFonts(false);
    }
    template <class T = TVodDropDown>
    T* Make(int x = 20, int y = 40, int w = 150)
    {
        T* d = CreateDropDown<T>(Form);
        d->SetParent(Form);
        d->SetBounds(x, y, w, 24);
        return d;
    }
    void ShowForm()
    {
        Form->Show();
        Drv->Activate(Form->Handle());
        Drv->Pump();
    }
    // The screen point of a client point of a control.
    TPoint At(TWinControl* c, int x, int y) { return c->ClientToScreen(TPoint{x, y}); }
    // The drop-down arrow's centre on the screen.
    TPoint Arrow(TVodCustomDropDown* d)
    {
        TDropDownEditButton* b = d->Button();
        return b->ClientToScreen(TPoint{b->Width() / 2, b->Height() / 2});
    }
    // 0xRRGGBB of a window's pixel (client point of the window, frame included).
    uint32_t PixelAt(HWND h, int x, int y)
    {
        std::vector<uint32_t> px;
        int w = 0, hgt = 0;
        Drv->CaptureWindow(h, px, w, hgt);
        if (x < 0 || y < 0 || x >= w || y >= hgt) return 0xFFFFFFFF;
        return px[size_t(y) * size_t(w) + size_t(x)] & 0xFFFFFF;
    }
    static uint32_t Rgb(TColor c)
    {
        Integer v = ColorToRGB(c);
        return uint32_t(((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF));
    }
    void Type(TVodCustomDropDown* d, const String& text)
    {
        d->SetFocus();
        Drv->Pump();
        Drv->TypeText(text);
        Drv->Pump();
    }
    std::unique_ptr<THeadlessDriver> Drv;
    TForm* Form = nullptr;
};
