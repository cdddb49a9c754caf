// A borderless form on the headless backend with fixed-metrics fonts (every
// character 8 wide, 16 high), and pixel reading from window captures: the
// common ground of the control fixtures. Drivers, forms and font metrics are
// put back in TearDown, visual styles switched on again.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gfx/Gdi.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Themes.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Headless.h"

class HeadlessFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Drv = std::make_unique<THeadlessDriver>();
        SetFixedMetricsFonts(true);
        InitForms();
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
    void ShowForm()
    {
        Form->Show();
        Drv->Activate(Form->Handle());
        Drv->Pump();
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
    std::unique_ptr<THeadlessDriver> Drv;
    TForm* Form = nullptr;
};
