// The markup controls on the headless backend: a borderless white form at
// (100, 100) with fixed-metrics fonts (every character 8 wide, 16 high),
// pixels read from the captured window, and the shell's opener pointed at a
// script that records what it is given.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/gfx/Gdi.h"
#include "platform/os/Shell.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Themes.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Headless.h"

class TMarkupForm : public TForm {
public:
    explicit TMarkupForm(TComponent* owner) : TForm(owner)
    {
        SetBorderStyle(bsNone);
        SetBounds(100, 100, 400, 300);
        SetColor(clWhite);
    }
};

// Records what the shell is asked to open.
class TShellRecorder {
public:
    TShellRecorder()
    {
        char tmpl[] = "/tmp/velmora-markupctl-XXXXXX";
        if (mkdtemp(tmpl)) FDir = tmpl;
        FLog = FDir + "/open.log";
        std::ofstream(FDir + "/opener.sh") << "printf '%s\\n' \"$1\" >> '" << FLog << "'\n";
        SetShellOpenCommand({L"/bin/sh", UTF8ToString(FDir + "/opener.sh")});
    }
    ~TShellRecorder()
    {
        SetShellOpenCommand({});
        std::error_code ec;
        std::filesystem::remove_all(FDir, ec);
    }
    // The first address opened, waiting up to two seconds for it.
    std::string First(int waitMs = 2000) const
    {
        std::string got;
        for (int i = 0; i < waitMs / 10 && got.empty(); ++i) {
            std::ifstream in(FLog);
            std::getline(in, got);
            if (got.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return got;
    }
    // The addresses opened, sorted, once at least Count have arrived (each
    // opening runs in its own process, so they may arrive in any order).
    std::vector<std::string> Sorted(size_t Count, int waitMs = 2000) const
    {
        std::vector<std::string> got;
        for (int i = 0; i <= waitMs / 10; ++i) {
            got.clear();
            std::ifstream in(FLog);
            for (std::string line; std::getline(in, line);) got.push_back(line);
            if (got.size() >= Count) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::sort(got.begin(), got.end());
        return got;
    }

private:
    std::string FDir, FLog;
};

class MarkupControlsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Drv = std::make_unique<THeadlessDriver>();
        InitForms();
        SetFixedMetricsFonts(true);
        Form = new TMarkupForm(Application);
        Form->Init();
        Form->Show();
        Drv->Pump();
    }
    void TearDown() override
    {
        DoneForms();
        SetFixedMetricsFonts(false);
        SetVisualStylesEnabled(true);
        GdiSetScreenPixelsPerInch(96);
        Drv.reset();
    }
    // The form's pixel (0xRRGGBB) at a client point, painting done first.
    uint32_t Pixel(int x, int y)
    {
        std::vector<uint32_t> px;
        int w = 0, h = 0;
        Drv->CaptureWindow(Form->Handle(), px, w, h);
        return (x >= 0 && y >= 0 && x < w && y < h) ? px[size_t(y) * size_t(w) + size_t(x)] & 0xFFFFFF : 0xDEADBEEF;
    }
    // How many pixels of a client rectangle are not of the colour.
    int CountOther(const TRect& r, uint32_t rgb)
    {
        std::vector<uint32_t> px;
        int w = 0, h = 0;
        Drv->CaptureWindow(Form->Handle(), px, w, h);
        int n = 0;
        for (int y = r.Top; y < r.Bottom && y < h; ++y)
            for (int x = r.Left; x < r.Right && x < w; ++x)
                if ((px[size_t(y) * size_t(w) + size_t(x)] & 0xFFFFFF) != rgb) ++n;
        return n;
    }
    static uint32_t Rgb(TColor c)
    {
        COLORREF v = COLORREF(ColorToRGB(c));
        return (uint32_t(GetRValue(v)) << 16) | (uint32_t(GetGValue(v)) << 8) | GetBValue(v);
    }
    void MoveTo(int x, int y)
    {
        Drv->MouseMoveWindow(Form->Handle(), TPoint{x, y});
        Drv->Pump();
    }
    std::unique_ptr<THeadlessDriver> Drv;
    TMarkupForm* Form = nullptr;
};
