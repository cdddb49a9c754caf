// A headless desktop with one borderless form for the tool button, progress
// bar and menu tests, and a white test canvas (fixed-metrics fonts) that
// paints a graphic control through WM_PAINT as its parent would.
#pragma once

#include <memory>

#include "platform/gfx/Gdi.h"
#include "platform/ui/Forms.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Headless.h"
#include "tests/platform/gfx/GdiTestUtil.h"

class TChromeForm : public TForm {
public:
    explicit TChromeForm(TComponent* owner) : TForm(owner)
    {
        SetBorderStyle(bsNone);
        SetBounds(100, 100, 400, 300);
    }
};

class TChromeDesk {
public:
    TChromeDesk()
    {
        Drv = std::make_unique<THeadlessDriver>();
        InitForms();
        Form = new TChromeForm(Application);
        Form->Init();
        Form->Show();
        SetFixedMetricsFonts(true);
    }
    ~TChromeDesk()
    {
        SetFixedMetricsFonts(false);
        DoneForms();
        Drv.reset();
    }
    // The screen point of a control's client point.
    TPoint At(TControl* c, TPoint p) { return c->ClientToScreen(p); }

    std::unique_ptr<THeadlessDriver> Drv;
    TChromeForm* Form = nullptr;
};

// Paints the control (a graphic control: at its own origin) on a fresh
// white canvas of its size and keeps the canvas for pixel checks.
struct TPainted {
    TTestCanvas Surface;
    explicit TPainted(TControl* c, bool record = false) : Surface(c->Width(), c->Height())
    {
        if (record) GdiStartRecording(Surface.Dc);
        c->Perform(WM_PAINT, WPARAM(Surface.Dc), 0);
    }
    COLORREF Px(int x, int y) const { return Surface.Px(x, y); }
    const std::vector<TGdiRecord>& Records() const { return GdiRecords(Surface.Dc); }
};
