// The edit box tests' form: headless backend, fixed-metrics fonts (every
// character 8 wide, 16 high), settable separators, an edit on a shown form,
// keys and characters sent as the window gets them.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "controls/edits/VodEdit.h"
#include "platform/base/SysUtils.h"
#include "platform/gfx/Gdi.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Forms.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Headless.h"

class VodEditTestBase : public ::testing::Test {
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
        Form->Show();
        Drv->Activate(Form->Handle());
        Drv->Pump();
    }
    void TearDown() override
    {
        DoneForms();
        Drv.reset();
        SetFixedMetricsFonts(false);
    }
    TVodEdit* NewEdit(TVodEditType type = etString, int x = 100, int y = 20)
    {
        auto* e = new TVodEdit(Form);
        e->SetParent(Form);
        e->SetBounds(x, y, 160, 24);
        e->SetEditType(type);
        e->HandleNeeded();
        return e;
    }
    // A character as the window gets it (after its key-down).
    static void SendChar(TVodEdit* e, wchar_t c, LPARAM keyData = 0)
    {
        SendMessage(e->Handle(), WM_CHAR, WPARAM(c), keyData);
    }
    static void Type(TVodEdit* e, const String& s)
    {
        for (wchar_t c : s) SendChar(e, c);
    }
    static void Caret(TVodEdit* e, int start, int len = 0)
    {
        SendMessage(e->Handle(), EM_SETSEL, WPARAM(start), LPARAM(start + len));
    }
    static std::pair<int, int> Sel(TVodEdit* e) { return {e->SelStart(), e->SelLength()}; }
    String Shown(TVodEdit* e) { return GetWindowTextString(e->Handle()); }
    static String GetWindowTextString(HWND h)
    {
        wchar_t buf[512];
        int n = GetWindowText(h, buf, 512);
        return String(buf, size_t(n));
    }
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
    TFormatSettingsScope FScope;
    std::unique_ptr<THeadlessDriver> Drv;
    TForm* Form = nullptr;
};
