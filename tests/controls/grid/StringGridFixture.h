// A borderless form holding one string grid of 5 x 5 cells, 320 x 120 pixels
// without scroll bars, on the headless backend with fixed-metrics fonts.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "controls/grid/VodGrid.h"
#include "platform/gfx/Gdi.h"
#include "platform/ui/Forms.h"
#include "platform/ui/backend/Headless.h"

template <class TGrid>
class TStringGridFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        Drv = std::make_unique<THeadlessDriver>();
        InitForms();
        SetFixedMetricsFonts(true);
        Form = new TForm(Application);
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(0, 0, 500, 300);
        Grid = new TGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBorderStyle(bsNone);
        Grid->SetScrollBars(ssNone);
        Grid->SetBounds(0, 0, 320, 120);
        Grid->SetColCount(5);
        Grid->SetRowCount(5);
        Form->Init();
        Form->Show();
        Drv->Pump();
    }
    void TearDown() override
    {
        DoneForms();
        Drv.reset();
        SetFixedMetricsFonts(false);
        GdiSetScreenPixelsPerInch(0);
    }
    std::unique_ptr<THeadlessDriver> Drv;
    TForm* Form = nullptr;
    TGrid* Grid = nullptr;
};
