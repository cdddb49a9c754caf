// A borderless form on the headless backend for the benchmarks that paint
// controls: the driver lives as long as the form, and the forms layer is
// started and stopped around it.
#pragma once

#include <memory>

#include "platform/ui/Forms.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Headless.h"

struct TBenchForm {
    std::unique_ptr<THeadlessDriver> Drv = std::make_unique<THeadlessDriver>();
    TForm* Form = nullptr;
    TBenchForm(int width, int height)
    {
        InitForms();
        Form = new TForm(Application);
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(0, 0, width, height);
    }
    ~TBenchForm()
    {
        DoneForms();
        Drv.reset();
    }
    TBenchForm(const TBenchForm&) = delete;
    TBenchForm& operator=(const TBenchForm&) = delete;
};
