#include <gtest/gtest.h>

#include "platform/base/SysUtils.h"
#include "platform/gfx/Gdi.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Mask.h"
#include "platform/ui/backend/Headless.h"

namespace {

constexpr const wchar_t* kLongTime = L"!90:00:00;1; ";
constexpr const wchar_t* kShortTime = L"!90:00;1; ";

class MaskTest : public ::testing::Test {
protected:
    TFormatSettingsScope FSettings;   // the mask's ':' is the locale's time separator
    void SetUp() override
    {
        FormatSettings.TimeSeparator = L':';
        Drv = std::make_unique<THeadlessDriver>();
        InitForms();
        SetFixedMetricsFonts(true);
        Form = new TForm(Application);
        Form->Init();
        Form->SetBounds(100, 100, 300, 200);
        Form->Show();
    }
    void TearDown() override
    {
        DoneForms();
        Drv.reset();
        SetFixedMetricsFonts(false);
    }
    TMaskEdit* NewMaskEdit(const String& mask)
    {
        auto* e = new TMaskEdit(Form);
        e->SetParent(Form);
        e->SetBounds(10, 10, 120, 24);
        e->SetEditMask(mask);
        return e;
    }
    std::unique_ptr<THeadlessDriver> Drv;
    TForm* Form = nullptr;
};

}  // namespace

TEST_F(MaskTest, TypingATimeFillsPositionsAndSkipsSeparators)
{
    struct Case {
        const char* name;
        const wchar_t* mask;
        String typed;
        String editText, text;
        int beeps;
    };
    const Case cases[] = {
        {"long time", kLongTime, L"123456", L"12:34:56", L"12:34:56", 0},
        {"short time", kShortTime, L"0930", L"09:30", L"09:30", 0},
        {"typed separator is passed over", kShortTime, L"09:30", L"09:30", L"09:30", 0},
        {"letters refused", kShortTime, L"1x2", L"12:  ", L"12:  ", 1},
        {"no room after the last position", kShortTime, L"12345", L"12:34", L"12:34", 1},
        {"backspace blanks", kLongTime, L"1234\b\b5", L"12:5 :  ", L"12:5 :  ", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TMaskEdit* e = NewMaskEdit(c.mask);
        int changes = 0;
        e->OnChange = [&](TObject*) { ++changes; };
        e->SetFocus();
        e->SetSelStart(0);
        int beeps = MessageBeepCount();
        Drv->TypeText(c.typed);
        EXPECT_EQ(e->EditText(), c.editText);
        EXPECT_EQ(e->Text(), c.text);
        EXPECT_EQ(GetWindowTextLength(e->Handle()), int(c.editText.size())) << "the window shows the edit text";
        EXPECT_EQ(MessageBeepCount() - beeps, c.beeps);
        EXPECT_GT(changes, 0);
        EXPECT_TRUE(e->Modified());
        delete e;
    }
}

TEST_F(MaskTest, TextSetAndReadBackThroughTheMask)
{
    TMaskEdit* e = NewMaskEdit(kShortTime);
    EXPECT_TRUE(e->IsMasked());
    EXPECT_EQ(e->EditText(), L"  :  ");
    e->SetText(L"9:30");
    EXPECT_EQ(e->EditText(), L" 9:30") << "'!' puts the missing character in front";
    EXPECT_FALSE(e->Modified()) << "set by the program";
    e->SetEditMask(kLongTime);
    EXPECT_EQ(e->EditText().substr(0, 5), L" 9:30") << "the value carried into the new mask";
    e->SetEditMask(L"");
    EXPECT_FALSE(e->IsMasked());
    e->SetFocus();
    e->SelectAll();
    Drv->TypeText(L"abc");
    EXPECT_EQ(e->Text(), L"abc") << "without a mask: a plain edit";

    // A window re-created keeps the edit text and the modified flag.
    e->SetEditMask(kShortTime);
    e->SetText(L"11:45");
    e->SetModified(true);
    e->SetAlignment(taRightJustify);
    EXPECT_EQ(e->EditText(), L"11:45");
    EXPECT_EQ(GetWindowTextLength(e->Handle()), 5);
    EXPECT_TRUE(e->Modified());
}

TEST_F(MaskTest, KeysAndClipboardWorkPositionByPosition)
{
    TMaskEdit* e = NewMaskEdit(kLongTime);
    e->SetText(L"12:34:56");
    e->SetFocus();
    SetClipboardText(L"clip");

    e->SetSelStart(3);
    e->SetSelLength(2);
    Drv->PressKey('X', {VK_CONTROL});
    EXPECT_EQ(e->EditText(), L"12:  :56") << "cut blanks the positions";
    String clip;
    GetClipboardText(clip);
    EXPECT_EQ(clip, L"34");

    e->SetSelStart(3);
    SetClipboardText(L"07");
    Drv->PressKey('V', {VK_CONTROL});
    EXPECT_EQ(e->EditText(), L"12:07:56");

    Drv->PressKey(VK_HOME);
    Drv->PressKey(VK_DELETE);
    EXPECT_EQ(e->EditText(), L" 2:07:56");
    Drv->PressKey(VK_END);
    Drv->PressKey(VK_LEFT);
    Drv->PressKey(VK_LEFT, {VK_SHIFT});
    EXPECT_EQ(e->SelStart(), 6);
    EXPECT_EQ(e->SelLength(), 1);
    Drv->PressKey('Z', {VK_CONTROL});
    EXPECT_EQ(e->EditText(), L" 2:07:56") << "undo does not break the mask";

    e->SetReadOnly(true);
    int beeps = MessageBeepCount();
    e->SelectAll();
    e->CutToClipboard();
    e->ClearSelection();
    EXPECT_EQ(e->EditText(), L" 2:07:56");
    EXPECT_EQ(MessageBeepCount() - beeps, 2);
}

TEST_F(MaskTest, IncompleteTimeFailsValidationAndEscapeAbandonsTheChanges)
{
    TMaskEdit* e = NewMaskEdit(kShortTime);
    e->SetText(L"10:15");
    e->SetFocus();
    EXPECT_NO_THROW(e->ValidateEdit());
    e->SetSelStart(3);
    Drv->PressKey(VK_DELETE);
    EXPECT_EQ(e->EditText(), L"10: 5");
    try {
        e->ValidateEdit();
        ADD_FAILURE() << "incomplete time accepted";
    } catch (const EDBEditError& x) {
        EXPECT_FALSE(x.Message().empty());
    }
    EXPECT_EQ(e->SelStart(), 3) << "the caret goes to the empty position";
    Drv->PressKey(VK_ESCAPE);
    EXPECT_EQ(e->EditText(), L"10:15");
    EXPECT_FALSE(e->Modified());
    // The optional first hour digit may stay empty.
    e->SetText(L"9:05");
    EXPECT_NO_THROW(e->ValidateEdit());
}
