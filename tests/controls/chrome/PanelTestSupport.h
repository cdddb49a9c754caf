// A headless screen with one borderless form to put panels on, and a
// recording canvas with fixed-metrics fonts to paint them onto.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "controls/chrome/VodPanel.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Headless.h"
#include "tests/controls/markup/MarkupTestSupport.h"

class PanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Drv = std::make_unique<THeadlessDriver>();
        InitForms();
        Form = new TForm(Application);
        Form->Init();
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(0, 0, 800, 600);
        Form->Show();
    }
    void TearDown() override
    {
        delete Form;
        DoneForms();
        Drv.reset();
    }
    template <class T = TVodPanel>
    T* NewPanel(TWinControl* parent = nullptr, Integer x = 10, Integer y = 10, Integer w = 200, Integer h = 100)
    {
        auto* p = new T(Form);
        p->SetParent(parent ? parent : Form);
        p->SetBounds(x, y, w, h);
        p->HandleNeeded();
        return p;
    }
    // A plain panel: no bevels, no border colour, given size.
    TVodPanel* PlainPanel(Integer w = 200, Integer h = 100)
    {
        TVodPanel* p = NewPanel(nullptr, 10, 10, w, h);
        p->SetBevelOuter(bvNone);
        p->SetBorderColor(clNone);
        p->SetColor(clWhite);
        return p;
    }
    TForm* Form = nullptr;
    std::unique_ptr<THeadlessDriver> Drv;
};

// "x1,y1-x2,y2" of each recorded line, in drawing order.
inline std::vector<std::string> Lines(const TMarkupCanvas& mc)
{
    std::vector<std::string> out;
    for (const TGdiRecord& r : mc.Records(L"LineTo")) {
        std::string s;
        for (size_t i = 0; i < r.Points.size(); ++i)
            s += (i ? "-" : "") + std::to_string(r.Points[i].X) + "," + std::to_string(r.Points[i].Y);
        out.push_back(s);
    }
    return out;
}
