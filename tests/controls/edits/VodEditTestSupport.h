// The edit box tests' form: headless backend, fixed-metrics fonts (every
// character 8 wide, 16 high), settable separators, an edit on a shown form,
// keys and characters sent as the window gets them.
#pragma once

#include <utility>

#include "controls/edits/VodEdit.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/Clipbrd.h"
#include "tests/controls/HeadlessFormTest.h"

class VodEditTestBase : public HeadlessFormTest {
protected:
    void SetUp() override
    {
        HeadlessFormTest::SetUp();
        FormatSettings.DecimalSeparator = L'.';
        FormatSettings.ThousandSeparator = L',';
        ShowForm();
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
    TFormatSettingsScope FScope;
};
