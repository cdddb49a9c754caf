// The grid's spin edit: reading and clamped writing of each kind, the
// character filter per kind and locale, stepping (integer, float, the date
// part under the caret in day-first, month-first and year-first formats, the
// time part with its wrap at midnight), the keys consumed before the key-down
// method, focus, layout, the button pair's repeat on the settable clock and
// its painting branches.
#include <gtest/gtest.h>

#include "controls/grid/VurSpinEdit.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/WindowManager.h"
#include "tests/controls/HeadlessFormTest.h"

namespace {

// Separators and formats set per case; the long time is "hh:nn:ss".
TFormatSettings Locale(const String& shortDate = L"dd/MM/yyyy", Char dateSep = L'/', Char decimal = L'.',
                       Char thousand = L',', Char timeSep = L':')
{
    TFormatSettings f = DefaultFormatSettings();
    f.ShortDateFormat = shortDate;
    f.DateSeparator = dateSep;
    f.DecimalSeparator = decimal;
    f.ThousandSeparator = thousand;
    f.TimeSeparator = timeSep;
    f.LongTimeFormat = L"hh:nn:ss";
    f.ShortTimeFormat = L"hh:nn";
    return f;
}

class VurSpinEditTest : public HeadlessFormTest {
protected:
    TVurSpinEdit* NewSpin(int x = 40, int y = 40, int w = 140)
    {
        auto* e = new TVurSpinEdit(Form);
        e->SetParent(Form);
        e->SetBounds(x, y, w, 24);
        return e;
    }
    void Focus(TWinControl* c)
    {
        c->SetFocus();
        Drv->Pump();
    }
    void Caret(TVurSpinEdit* e, Integer start, Integer length = 0)
    {
        e->SetSelStart(start);
        e->SetSelLength(length);
    }
    TPoint UpPoint(TVurSpinEdit* e) { return Drv->ScreenPoint(e->Button()->UpButton()->Parent()->Handle(), {7, 3}); }
    TPoint DownPoint(TVurSpinEdit* e)
    {
        TVodTimerSpeedButton* b = e->Button()->DownButton();
        return Drv->ScreenPoint(b->Parent()->Handle(), {7, b->Top() + b->Height() - 3});
    }
};

}  // namespace

TEST_F(VurSpinEditTest, ConstructionState)
{
    auto* e = NewSpin();
    EXPECT_EQ(e->Text(), L"0");
    EXPECT_EQ(e->MinValue(), 0);
    EXPECT_EQ(e->MaxValue(), 100);
    EXPECT_DOUBLE_EQ(e->IncrementFloat(), 0.1);
    EXPECT_DOUBLE_EQ(e->IncrementFloatPage(), 1.0);
    EXPECT_EQ(e->SpinType(), sptNormal);
    EXPECT_TRUE(e->ShowSeconds());
    EXPECT_TRUE(e->EditorEnabled());
    TVurSpinButton* b = e->Button();
    EXPECT_EQ(b->Owner(), e);
    EXPECT_EQ(b->Parent(), e);
    EXPECT_EQ(b->FocusControl(), e);
    EXPECT_EQ(b->Width(), 15);
    EXPECT_EQ(b->UpButton()->ButtonDirection(), bdUp);
    EXPECT_EQ(b->DownButton()->ButtonDirection(), bdDown);
    EXPECT_EQ(b->FocusedButton(), b->UpButton());
    EXPECT_TRUE(b->UpButton()->TimeBtnState().Contains(tbAllowTimer));
    EXPECT_FALSE(b->UpButton()->Glyph()->Empty()) << "the arrow bitmaps are program resources";
    EXPECT_FALSE(b->DownButton()->Glyph()->Empty());
    EXPECT_EQ(b->UpButton()->NumGlyphs(), 1);
}

TEST_F(VurSpinEditTest, WritesClampInclusiveUnlessTheLimitsAreEqual)
{
    TFormatSettingsScope scope(Locale());
    auto* e = NewSpin();
    struct Case {
        Integer Min, Max, Write;
        const wchar_t* Text;
    } cases[] = {
        {0, 100, 150, L"100"}, {0, 100, -5, L"0"}, {0, 100, 100, L"100"}, {0, 100, 0, L"0"},
        {5, 5, 1000, L"1000"}, {5, 5, -7, L"-7"}, {-10, 10, 3, L"3"},
    };
    for (const Case& c : cases) {
        e->SetMinValue(c.Min);
        e->SetMaxValue(c.Max);
        e->SetValue(c.Write);
        EXPECT_EQ(e->Text(), c.Text) << c.Min << ".." << c.Max << " write " << c.Write;
    }

    e->SetSpinType(sptFloat);
    e->SetMinFloatValue(0.5);
    e->SetMaxFloatValue(2.5);
    e->SetFloatValue(3.0);
    EXPECT_EQ(e->Text(), L"2.5");
    e->SetFloatValue(0.25);
    EXPECT_EQ(e->Text(), L"0.5");
    e->SetPrecision(2);
    EXPECT_EQ(e->Text(), L"0.50") << "a new precision rewrites the value";
    e->SetMinFloatValue(1.0);
    e->SetMaxFloatValue(1.0);
    e->SetFloatValue(123.456);
    EXPECT_EQ(e->Text(), L"123.46");

    e->SetSpinType(sptDate);
    e->SetMinDateValue(EncodeDate(2024, 1, 1));
    e->SetMaxDateValue(EncodeDate(2024, 12, 31));
    e->SetDateValue(EncodeDate(2030, 5, 5));
    EXPECT_EQ(e->Text(), L"31/12/2024");
    e->SetDateValue(EncodeDate(2020, 5, 5));
    EXPECT_EQ(e->Text(), L"01/01/2024");

    e->SetSpinType(sptTime);
    e->SetMinDateValue(EncodeTime(8, 0, 0, 0));
    e->SetMaxDateValue(EncodeTime(18, 0, 0, 0));
    e->SetTimeValue(EncodeTime(20, 0, 0, 0));
    EXPECT_EQ(e->Text(), L"18:00:00");
    e->SetShowSeconds(false);
    e->SetTimeValue(EncodeTime(9, 5, 30, 0));
    EXPECT_EQ(e->Text(), L"9:05") << "without seconds the format is h:nn";
}

TEST_F(VurSpinEditTest, ReadingUnparseableTextsGivesTheDesignedFallbacks)
{
    TFormatSettingsScope scope(Locale());
    Drv->SetNow(EncodeDateTime(2025, 6, 7, 8, 9, 10, 0));
    auto* e = NewSpin();
    e->SetMinValue(3);
    e->SetMinFloatValue(7.5);
    e->SetMinDateValue(EncodeDate(2001, 2, 3));
    e->SetMaxDateValue(EncodeDate(2009, 2, 3));

    e->SetText(L"");
    EXPECT_EQ(e->Value(), 0) << "an empty text is 0";
    EXPECT_DOUBLE_EQ(e->DateValue(), EncodeDateTime(2025, 6, 7, 8, 9, 10, 0)) << "empty: now";
    e->SetText(L"0");
    EXPECT_DOUBLE_EQ(e->DateValue(), EncodeDateTime(2025, 6, 7, 8, 9, 10, 0)) << "\"0\": now";
    e->SetText(L"  42 ");
    EXPECT_EQ(e->Value(), 42);
    e->SetText(L"1x");
    EXPECT_EQ(e->Value(), 3) << "MinValue";
    EXPECT_DOUBLE_EQ(e->FloatValue(), 3.0) << "the integer minimum, not MinFloatValue";
    EXPECT_DOUBLE_EQ(e->DateValue(), EncodeDate(2001, 2, 3));
    EXPECT_DOUBLE_EQ(e->TimeValue(), 0.0);
    e->SetText(L"12:30:00");
    EXPECT_NEAR(e->TimeValue(), EncodeTime(12, 30, 0, 0), 1e-9);
}

TEST_F(VurSpinEditTest, IsValidCharByKindAndLocale)
{
    auto* e = NewSpin();
    ShowForm();
    Focus(e);
    struct Case {
        TVurSpinType Kind;
        Char Decimal, Thousand, DateSep, TimeSep;
        const wchar_t* Text;
        Integer SelStart, SelLength, Precision;
        bool EditorEnabled;
        wchar_t Key;
        bool Valid;
        const char* Why;
    } cases[] = {
        {sptNormal, '.', ',', '/', ':', L"12", 2, 0, 0, true, L'5', true, "a digit"},
        {sptNormal, '.', ',', '/', ':', L"12", 2, 0, 0, true, L'a', false, "a letter"},
        {sptNormal, '.', ',', '/', ':', L"12", 2, 0, 0, true, L'.', false, "a decimal separator in an integer"},
        {sptNormal, '.', ',', '/', ':', L"12", 2, 0, 0, true, 13, false, "Enter"},
        {sptNormal, '.', ',', '/', ':', L"12", 2, 0, 0, true, 8, true, "Backspace"},
        {sptNormal, '.', ',', '/', ':', L"12", 2, 0, 0, false, 8, false, "Backspace with the editor off"},
        {sptNormal, '.', ',', '/', ':', L"12", 2, 0, 0, true, 0x16, true, "Ctrl+V reaches the paste"},
        {sptNormal, '.', ',', '/', ':', L"12", 2, 0, 0, false, 0x03, true, "Ctrl+C with the editor off"},
        {sptNormal, '.', ',', '/', ':', L"12", 2, 0, 0, false, L'5', false, "a digit with the editor off"},
        {sptNormal, '.', ',', '/', ':', L"12", 0, 0, 0, true, L'-', true, "minus at the start"},
        {sptNormal, '.', ',', '/', ':', L"12", 1, 0, 0, true, L'-', false, "minus inside"},
        {sptNormal, '.', ',', '/', ':', L"-12", 0, 0, 0, true, L'-', false, "a second minus"},
        {sptNormal, '.', ',', '/', ':', L"-12", 0, 1, 0, true, L'-', true, "the selected minus replaced"},
        {sptFloat, '.', ',', '/', ':', L"1.2", 3, 0, 0, true, L'.', false, "a second separator"},
        {sptFloat, '.', ',', '/', ':', L"1.2", 1, 1, 0, true, L'.', true, "the selected separator replaced"},
        {sptFloat, '.', ',', '/', ':', L"12", 2, 0, 0, true, L',', false, "the thousand separator"},
        {sptFloat, '.', ',', '/', ':', L"1.25", 4, 0, 2, true, L'3', false, "a third decimal"},
        {sptFloat, '.', ',', '/', ':', L"1.25", 1, 0, 2, true, L'3', true, "a digit before the separator"},
        {sptFloat, '.', ',', '/', ':', L"1.25", 2, 2, 2, true, L'3', true, "decimals selected"},
        {sptFloat, '.', ',', '/', ':', L"1.2", 3, 0, 2, true, L'3', true, "the second decimal"},
        {sptFloat, '.', ',', '/', ':', L"1.25", 4, 0, 2, true, 27, true, "Escape"},
        {sptFloat, ',', '.', '/', ':', L"1,2", 3, 0, 0, true, L',', false, "comma locale: a second comma"},
        {sptFloat, ',', '.', '/', ':', L"12", 2, 0, 0, true, L'.', false, "comma locale: the dot"},
        {sptFloat, '.', ',', '/', '.', L"12", 2, 0, 0, true, L'.', true, "a time separator equal to the decimal one"},
        {sptDate, '.', ',', '/', ':', L"1/2", 3, 0, 0, true, L'/', true, "the date separator"},
        {sptDate, '.', ',', '/', ':', L"1/2", 3, 0, 0, true, L':', false, "a time separator in a date"},
        {sptNormal, '.', ',', '/', ':', L"12", 2, 0, 0, true, L'/', false, "a date separator in an integer"},
        {sptFloat, '.', ',', '-', ':', L"12", 0, 0, 0, true, L'-', true, "a dash date separator in a float"},
        {sptTime, '.', ',', '-', ':', L"12", 0, 0, 0, true, L'-', false, "a dash date separator in a time"},
        {sptDate, '.', ',', '-', ':', L"12-05", 5, 0, 0, true, L'-', true, "a dash separates a date's parts"},
        {sptTime, '.', ',', '/', ':', L"12:30", 5, 0, 0, true, L':', true, "a second time separator"},
        {sptTime, '.', ',', '/', ':', L"12:30:00", 8, 0, 0, true, L':', false, "a third time separator"},
        {sptTime, '.', ',', '/', ':', L"12", 2, 0, 0, true, L'/', false, "a date separator in a time"},
    };
    for (const Case& c : cases) {
        TFormatSettingsScope scope(Locale(L"dd/MM/yyyy", c.DateSep, c.Decimal, c.Thousand, c.TimeSep));
        e->SetSpinType(sptNormal);
        e->SetText(c.Text);
        // SpinType rewrites the text through its writer: set it first.
        e->TCustomMaskEdit::SetText(c.Text);
        e->SetEditorEnabled(c.EditorEnabled);
        e->SetPrecision(0);
        e->SetPrecision(c.Precision);
        e->TCustomMaskEdit::SetText(c.Text);
        e->SetSpinType(c.Kind);
        e->TCustomMaskEdit::SetText(c.Text);
        Caret(e, c.SelStart, c.SelLength);
        wchar_t k = c.Key;
        EXPECT_EQ(e->IsValidChar(k), c.Valid) << c.Why;
    }
}

TEST_F(VurSpinEditTest, TypedCharactersAreFilteredWithABeep)
{
    TFormatSettingsScope scope(Locale());
    auto* e = NewSpin();
    e->SetSpinType(sptFloat);
    e->SetPrecision(2);
    ShowForm();
    Focus(e);
    e->SetText(L"1.25");
    Caret(e, 4);
    const int beeps = MessageBeepCount();
    Drv->TypeText(L"3");
    EXPECT_EQ(e->Text(), L"1.25");
    EXPECT_EQ(MessageBeepCount() - beeps, 1);
    Caret(e, 1);
    Drv->TypeText(L"7");
    EXPECT_EQ(e->Text(), L"17.25");
    Drv->PressKey(VK_RETURN);
    EXPECT_EQ(e->Text(), L"17.25") << "no line break in the one-line edit";
    EXPECT_EQ(MessageBeepCount() - beeps, 2) << "Enter is refused";
}

TEST_F(VurSpinEditTest, KeypadDecimalTypesTheLocaleSeparatorOnlyInExcelStyle)
{
    TFormatSettingsScope scope(Locale(L"dd/MM/yyyy", L'/', L',', L'.'));
    auto* e = NewSpin();
    e->SetSpinType(sptFloat);
    ShowForm();
    Focus(e);
    auto typeKeypadDot = [&] {
        WmKeyInput(VK_DECIMAL, true);
        WmCharInput(L'.');
        WmKeyInput(VK_DECIMAL, false);
        Drv->Pump();
    };
    e->SetText(L"12");
    Caret(e, 2);
    typeKeypadDot();
    EXPECT_EQ(e->Text(), L"12") << "the dot is the thousand separator here: refused";
    e->SetExcelStyleDecimalSeparator(true);
    typeKeypadDot();
    EXPECT_EQ(e->Text(), L"12,");
    e->SetText(L"12");
    Caret(e, 2);
    Drv->TypeText(L".");
    EXPECT_EQ(e->Text(), L"12") << "the main keyboard's dot stays a dot";
}

TEST_F(VurSpinEditTest, IntegerAndFloatSteps)
{
    TFormatSettingsScope scope(Locale());
    auto* e = NewSpin();
    ShowForm();
    Focus(e);
    e->SetValue(98);
    e->SetIncrement(5);
    Drv->PressKey(VK_UP);
    EXPECT_EQ(e->Text(), L"100") << "clamped at MaxValue";
    Drv->PressKey(VK_NEXT);
    EXPECT_EQ(e->Text(), L"95") << "the page flag makes no difference to integers";
    e->SetMinValue(5);
    e->SetMaxValue(5);
    e->SetValue(5);
    Drv->PressKey(VK_PRIOR);
    EXPECT_EQ(e->Text(), L"10") << "equal limits: no limit";

    e->SetSpinType(sptFloat);
    e->SetFloatValue(1.5);
    Drv->PressKey(VK_UP);
    EXPECT_EQ(e->Text(), L"1.6");
    Drv->PressKey(VK_PRIOR);
    EXPECT_EQ(e->Text(), L"2.6");
    Drv->PressKey(VK_NEXT);
    Drv->PressKey(VK_DOWN);
    EXPECT_EQ(e->Text(), L"1.5");

    e->SetReadOnly(true);
    const int beeps = MessageBeepCount();
    e->StepUp(false);
    EXPECT_EQ(e->Text(), L"1.5");
    EXPECT_EQ(MessageBeepCount() - beeps, 1) << "a read-only edit beeps";
}

TEST_F(VurSpinEditTest, DateStepsThePartUnderTheCaretByFormat)
{
    auto* e = NewSpin();
    ShowForm();
    Focus(e);
    struct Case {
        const wchar_t* Format;
        Char Sep;
        const wchar_t* Text;
        Integer Caret;
        bool Up;
        const wchar_t* Result;
        const char* Why;
    } cases[] = {
        {L"dd/MM/yyyy", '/', L"15/03/2024", 0, true, L"16/03/2024", "DMY: day"},
        {L"dd/MM/yyyy", '/', L"15/03/2024", 3, true, L"15/04/2024", "DMY: month"},
        {L"dd/MM/yyyy", '/', L"15/03/2024", 7, false, L"15/03/2023", "DMY: year"},
        {L"dd/MM/yyyy", '/', L"15/03/2024", 2, true, L"16/03/2024", "DMY: caret before the separator"},
        {L"MM/dd/yyyy", '/', L"03/15/2024", 0, true, L"04/15/2024", "MDY: month"},
        {L"MM/dd/yyyy", '/', L"03/15/2024", 4, false, L"03/14/2024", "MDY: day"},
        {L"MM/dd/yyyy", '/', L"03/15/2024", 8, true, L"03/15/2025", "MDY: year"},
        {L"yyyy-MM-dd", '-', L"2024-03-15", 1, true, L"2025-03-15", "YMD: year"},
        {L"yyyy-MM-dd", '-', L"2024-03-15", 6, true, L"2024-04-15", "YMD: month"},
        {L"yyyy-MM-dd", '-', L"2024-03-15", 9, false, L"2024-03-14", "YMD: day"},
        {L"dd/MM/yyyy", '/', L"31/01/2024", 4, true, L"29/02/2024", "month to a shorter month"},
        {L"dd/MM/yyyy", '/', L"31/03/2024", 4, false, L"29/02/2024", "month back to February"},
        {L"dd/MM/yyyy", '/', L"29/02/2024", 8, true, L"28/02/2025", "29 February into a common year"},
        {L"dd/MM/yyyy", '/', L"29/02/2024", 8, false, L"28/02/2023", "and back"},
        {L"dd/MM/yyyy", '/', L"31/12/2024", 0, true, L"01/01/2025", "day across the year"},
        {L"dd/MM/yyyy", '/', L"31/12/9999", 0, true, L"31/12/9999", "the calendar's last day stays"},
        {L"dd/MM/yyyy", '/', L"15/12/9999", 4, true, L"15/12/9999", "and its last month"},
        {L"dd/MM/yyyy", '/', L"01/01/0001", 0, false, L"01/01/0001", "the first day stays"},
        {L"dd/MM/yyyy", '/', L"15/01/0001", 4, false, L"15/01/0001", "and the first month"},
    };
    for (const Case& c : cases) {
        TFormatSettingsScope scope(Locale(c.Format, c.Sep));
        e->SetSpinType(sptDate);
        e->SetText(c.Text);
        Caret(e, c.Caret);
        if (c.Up) e->StepUp(false);
        else e->StepDown(false);
        EXPECT_EQ(e->Text(), c.Result) << c.Why;
        EXPECT_EQ(e->SelStart(), c.Caret) << c.Why << ": the caret stays";
        EXPECT_EQ(e->UsDates(), String(c.Format).find(L'M') < String(c.Format).find(L'd')) << c.Why;
    }

    TFormatSettingsScope scope(Locale());
    e->SetMinDateValue(EncodeDate(2024, 1, 1));
    e->SetMaxDateValue(EncodeDate(2024, 3, 31));
    e->SetText(L"15/03/2024");
    Caret(e, 3);
    Drv->PressKey(VK_UP);
    EXPECT_EQ(e->Text(), L"31/03/2024") << "clamped to MaxDateValue";
}

TEST_F(VurSpinEditTest, TimeStepsThePartUnderTheCaretAndWrapsAtMidnight)
{
    TFormatSettingsScope scope(Locale());
    auto* e = NewSpin();
    e->SetSpinType(sptTime);
    ShowForm();
    Focus(e);
    struct Case {
        const wchar_t* Text;
        Integer Caret;
        bool Up;
        Integer Hours, Minutes, Seconds;
        bool ShowSeconds;
        const wchar_t* Result;
        const char* Why;
    } cases[] = {
        {L"00:20:00", 0, false, 1, 1, 1, true, L"23:20:00", "hours below midnight wrap to the evening"},
        {L"23:20:00", 1, true, 1, 1, 1, true, L"00:20:00", "hours past midnight show the next day's time"},
        {L"10:20:30", 3, true, 1, 1, 1, true, L"10:21:30", "minutes"},
        {L"10:20:30", 5, true, 1, 1, 1, true, L"10:21:30", "the caret before the second separator: minutes"},
        {L"10:20:30", 6, true, 1, 1, 1, true, L"10:20:31", "after the second separator: seconds"},
        {L"10:20:30", 6, true, 1, 1, 1, false, L"10:21", "seconds off: minutes"},
        {L"23:59:59", 7, true, 1, 1, 1, true, L"00:00:00", "the last second of the day"},
        {L"00:00:00", 7, false, 1, 1, 1, true, L"23:59:59", "and back"},
        {L"10:00:00", 0, true, 25, 1, 1, true, L"11:00:00", "25 hours count as one"},
        {L"10:00:00", 3, true, 1, 90, 1, true, L"11:30:00", "90 minutes"},
        {L"10:00:00", 3, false, 1, 1440, 1, true, L"10:00:00", "a whole day is no step"},
    };
    for (const Case& c : cases) {
        e->SetShowSeconds(true);
        e->SetText(c.Text);
        e->SetShowSeconds(c.ShowSeconds);
        e->SetIncrementHours(c.Hours);
        e->SetIncrementMinutes(c.Minutes);
        e->SetIncrementSeconds(c.Seconds);
        Caret(e, c.Caret);
        if (c.Up) e->StepUp(false);
        else e->StepDown(false);
        EXPECT_EQ(e->Text(), c.Result) << c.Why;
    }
    // Up and Down through the keyboard, stepping many times without drift.
    e->SetShowSeconds(true);
    e->SetIncrementMinutes(1);
    e->SetText(L"08:00:00");
    Caret(e, 3);
    for (int i = 0; i < 90; ++i) Drv->PressKey(VK_UP);
    EXPECT_EQ(e->Text(), L"09:30:00");
}

TEST_F(VurSpinEditTest, StepKeysAreConsumedBeforeTheKeyDownMethod)
{
    TFormatSettingsScope scope(Locale());
    auto* e = NewSpin();
    auto* next = NewSpin(40, 100);
    std::vector<Word> seen;
    e->OnKeyDown = [&](TObject*, Word& k, TShiftState) { seen.push_back(k); };
    ShowForm();
    Focus(e);
    e->SetValue(10);
    for (Word k : {VK_UP, VK_DOWN, VK_PRIOR, VK_NEXT, VK_LEFT}) Drv->PressKey(k);
    EXPECT_EQ(seen, std::vector<Word>{VK_LEFT});
    EXPECT_EQ(e->Text(), L"10");

    // Delete does nothing while the editor is off.
    e->SetEditorEnabled(false);
    Caret(e, 0);
    Drv->PressKey(VK_DELETE);
    EXPECT_EQ(e->Text(), L"10");
    e->SetEditorEnabled(true);

    // Enter with ReturnIsTab moves on as Tab does.
    e->SetReturnIsTab(true);
    Drv->PressKey(VK_RETURN);
    EXPECT_EQ(GetFocus(), next->Handle());
}

TEST_F(VurSpinEditTest, EnteringSelectsAllAndLeavingClamps)
{
    TFormatSettingsScope scope(Locale());
    auto* e = NewSpin();
    auto* other = NewSpin(40, 100);
    ShowForm();
    Focus(other);
    e->SetText(L"150");
    Focus(e);
    EXPECT_EQ(e->SelLength(), 3) << "entered by keyboard: all selected";
    Focus(other);
    EXPECT_EQ(e->Text(), L"100") << "clamped when left";
    e->SetSpinType(sptFloat);
    e->TCustomMaskEdit::SetText(L"-3.5");
    Focus(e);
    Focus(other);
    EXPECT_EQ(e->Text(), L"0");
    e->TCustomMaskEdit::SetText(L"50");
    Focus(e);
    Focus(other);
    EXPECT_EQ(e->Text(), L"50") << "inside the range the text is left alone";
}

TEST_F(VurSpinEditTest, ClipboardNeedsTheEditorAndWriting)
{
    TFormatSettingsScope scope(Locale());
    auto* e = NewSpin();
    ShowForm();
    Focus(e);
    e->SetText(L"12");
    SetClipboardText(L"7");
    e->SelectAll();
    e->SetEditorEnabled(false);
    Drv->PressKey('V', {VK_CONTROL});
    EXPECT_EQ(e->Text(), L"12");
    e->SetEditorEnabled(true);
    e->SetReadOnly(true);
    Drv->PressKey('X', {VK_CONTROL});
    EXPECT_EQ(e->Text(), L"12");
    e->SetReadOnly(false);
    e->SelectAll();
    Drv->PressKey('V', {VK_CONTROL});
    EXPECT_EQ(e->Text(), L"7");
}

TEST_F(VurSpinEditTest, HeldButtonStepsAtOnceThenAfter400ThenEvery100)
{
    TFormatSettingsScope scope(Locale());
    auto* e = NewSpin();
    e->SetMaxValue(1000);
    int ups = 0, downs = 0;
    e->Button()->OnUpClick = [&](TObject*) {
        ++ups;
        e->StepUp(false);
    };
    e->Button()->OnDownClick = [&](TObject*) { ++downs; };
    ShowForm();
    e->SetValue(0);
    Drv->MouseDown(UpPoint(e));
    EXPECT_EQ(ups, 1) << "one step at once";
    EXPECT_EQ(GetFocus(), e->Handle()) << "the press focuses the edit";
    Drv->Advance(399);
    EXPECT_EQ(ups, 1);
    Drv->Advance(1);
    EXPECT_EQ(ups, 2) << "the second after 400 ms";
    Drv->Advance(99);
    EXPECT_EQ(ups, 2);
    Drv->Advance(1);
    EXPECT_EQ(ups, 3);
    Drv->Advance(300);
    EXPECT_EQ(ups, 6) << "then every 100 ms";
    Drv->MouseUp(UpPoint(e));
    EXPECT_EQ(ups, 6) << "none on release";
    Drv->Advance(1000);
    EXPECT_EQ(ups, 6) << "the timer stops on release";
    EXPECT_EQ(e->Text(), L"6");
    EXPECT_EQ(downs, 0);

    // Dragged off the button while held: no repeats until it is back.
    Drv->MouseDown(UpPoint(e));
    EXPECT_EQ(ups, 7);
    Drv->MouseMove(Drv->ScreenPoint(Form->Handle(), {5, 5}));
    Drv->Advance(600);
    EXPECT_EQ(ups, 7);
    Drv->MouseMove(UpPoint(e));
    Drv->Advance(100);
    EXPECT_EQ(ups, 8);
    Drv->MouseUp(UpPoint(e));

    Drv->Click(DownPoint(e));
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(ups, 8);
}

TEST_F(VurSpinEditTest, ButtonsStepTheValueThroughUpAndDownClick)
{
    TFormatSettingsScope scope(Locale());
    auto* e = NewSpin();
    ShowForm();
    e->SetValue(50);
    Drv->Click(UpPoint(e));
    EXPECT_EQ(e->Text(), L"51");
    Drv->Click(DownPoint(e));
    Drv->Click(DownPoint(e));
    EXPECT_EQ(e->Text(), L"49");
}

TEST_F(VurSpinEditTest, PairKeysFocusAndSizeRule)
{
    auto* pair = new TVurSpinButton(Form);
    pair->SetParent(Form);
    pair->SetTabStop(true);
    pair->SetBounds(300, 40, 10, 30);
    int ups = 0, downs = 0;
    pair->OnUpClick = [&](TObject*) { ++ups; };
    pair->OnDownClick = [&](TObject*) { ++downs; };
    ShowForm();
    EXPECT_EQ(pair->Width(), 15) << "vertical: at least 15 wide";
    EXPECT_EQ(pair->UpButton()->BoundsRect(), (TRect{0, 0, 15, 15}));
    EXPECT_EQ(pair->DownButton()->BoundsRect(), (TRect{0, 14, 15, 30})) << "one pixel over the up button";
    EXPECT_EQ(SendMessage(pair->Handle(), WM_GETDLGCODE, 0, 0), LRESULT(DLGC_WANTARROWS));

    pair->SetFocus();
    Drv->Pump();
    EXPECT_TRUE(pair->UpButton()->TimeBtnState().Contains(tbFocusRect));
    Drv->PressKey(VK_DOWN);
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(pair->FocusedButton(), pair->DownButton());
    EXPECT_FALSE(pair->UpButton()->TimeBtnState().Contains(tbFocusRect));
    EXPECT_TRUE(pair->DownButton()->TimeBtnState().Contains(tbFocusRect));
    Drv->PressKey(VK_SPACE);
    EXPECT_EQ(downs, 2);
    Drv->PressKey(VK_UP);
    EXPECT_EQ(ups, 1);

    pair->SetDirection(spHorizontal);
    Drv->Pump();
    EXPECT_EQ(pair->Width(), 20);
    EXPECT_EQ(pair->UpButton()->ButtonDirection(), bdRight);
    EXPECT_EQ(pair->DownButton()->ButtonDirection(), bdLeft);
    EXPECT_EQ(pair->DownButton()->BoundsRect(), (TRect{0, 0, 10, 30}));
    EXPECT_EQ(pair->UpButton()->BoundsRect(), (TRect{11, 0, 21, 30}));

    // A glyph of one's own, then the default back.
    TBitmap own;
    own.SetSize(4, 4);
    pair->SetUpGlyph(&own);
    EXPECT_EQ(pair->UpGlyph()->Width(), 4);
    pair->SetUpGlyph(nullptr);
    EXPECT_EQ(pair->UpGlyph()->Width(), 9);
    EXPECT_EQ(pair->UpNumGlyphs(), 1);
}

TEST_F(VurSpinEditTest, LayoutMinimumHeightButtonAndTextRectangle)
{
    auto* e = NewSpin(40, 40, 140);
    ShowForm();
    const Integer minHeight = e->GetMinHeight();
    // Fixed metrics: 16 high; the system font as high: 16 + 4 + 2 + 4 borders.
    EXPECT_EQ(minHeight, 16 + 16 / 4 + 2 + 4 * GetSystemMetrics(SM_CYBORDER));
    e->SetHeight(10);
    Drv->Pump();
    EXPECT_EQ(e->Height(), minHeight);
    e->SetHeight(30);
    Drv->Pump();
    EXPECT_EQ(e->Button()->BoundsRect(), (TRect{140 - 15 - 5, 0, 140 - 5, 25}));
    TRect r;
    SendMessage(e->Handle(), EM_GETRECT, 0, LPARAM(&r));
    EXPECT_EQ(r, (TRect{0, 0, e->ClientWidth() - 15 - 2, e->ClientHeight() + 1}));

    e->SetBorderStyle(bsNone);
    Drv->Pump();
    e->SetHeight(31);
    Drv->Pump();
    EXPECT_EQ(e->Button()->BoundsRect(), (TRect{140 - 15 - 1, 0, 140 - 1, 30}));
    SendMessage(e->Handle(), EM_GETRECT, 0, LPARAM(&r));
    EXPECT_EQ(r, (TRect{3, 3, e->ClientWidth() - 15 - 3 - 2, e->ClientHeight() + 1}));

    e->SetEditAlign(VurSpin::eaRight);
    Drv->Pump();
    EXPECT_TRUE(GetWindowLong(e->Handle(), GWL_STYLE) & ES_RIGHT);
    e->SetEditAlign(VurSpin::eaCenter);
    Drv->Pump();
    const LONG style = GetWindowLong(e->Handle(), GWL_STYLE);
    EXPECT_TRUE(style & ES_CENTER);
    EXPECT_FALSE(style & ES_RIGHT);
    EXPECT_TRUE(style & ES_MULTILINE);
}

TEST_F(VurSpinEditTest, ButtonPaintingBranches)
{
    auto* e = NewSpin(40, 40, 140);
    ShowForm();
    TVurSpinButton* pair = e->Button();
    HWND h = pair->Handle();
    const Integer upH = pair->UpButton()->Height();

    pair->SetButtonColor(TColor(0x3060C0));
    pair->SetButtonColorHot(TColor(0x60C030));
    pair->SetButtonColorDown(TColor(0xC03060));
    Drv->Pump();
    EXPECT_EQ(PixelAt(h, 1, upH - 2), Rgb(TColor(0x3060C0)));
    EXPECT_EQ(PixelAt(h, 6, 3), 0x000000u) << "the black arrow";
    Drv->MouseMove(Drv->ScreenPoint(h, {10, 3}));
    EXPECT_EQ(PixelAt(h, 1, upH - 2), Rgb(TColor(0x60C030))) << "hot";
    Drv->MouseDown(Drv->ScreenPoint(h, {10, 3}));
    EXPECT_EQ(PixelAt(h, 1, upH - 2), Rgb(TColor(0xC03060))) << "pressed";
    Drv->MouseUp(Drv->ScreenPoint(h, {10, 3}));

    // Themed: the "spin" parts; classic: the glyph on a push button.
    pair->SetButtonColor(clNone);
    e->SetIsWinXP(true);
    EXPECT_TRUE(pair->UpButton()->IsWinXP());
    Drv->Pump();
    const uint32_t themed = PixelAt(h, 1, upH - 2);
    e->SetIsWinXP(false);
    SetVisualStylesEnabled(false);
    Drv->Pump();
    EXPECT_EQ(PixelAt(h, 7, upH / 2), 0x000000u) << "the arrow glyph";
    EXPECT_NE(PixelAt(h, 1, upH - 2), themed);

    // Horizontal, classic: the scroll arrows of the frame control.
    e->SetDirection(spHorizontal);
    Drv->Pump();
    EXPECT_EQ(pair->Width(), 20);
}

TEST_F(VurSpinEditTest, RandomTextsReadStepAndFilterWithinTheRange)
{
    TFormatSettingsScope scope(Locale());
    auto* e = NewSpin();
    ShowForm();
    Focus(e);
    e->SetMinValue(-50);
    e->SetMaxValue(50);
    e->SetMinFloatValue(-2.5);
    e->SetMaxFloatValue(2.5);
    const String alphabet = L"0123456789-+.,:/ eExX";
    const String extremes[] = {L"31/12/9999", L"01/01/0001", L"2147483647", L"-2147483648", L"1e308", L"99:99:99",
                               L"23:59:59.999", L"--", L"::", L"//"};
    uint32_t seed = 12345;
    auto next = [&](uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % n;
    };
    const TVurSpinType kinds[] = {sptNormal, sptFloat, sptDate, sptTime};
    for (int i = 0; i < 400; ++i) {
        String text;
        // Every extreme text once in each kind, then random ones.
        if (i < 4 * int(std::size(extremes))) {
            text = extremes[i / 4];
        } else {
            const uint32_t length = next(12);
            for (uint32_t k = 0; k < length; ++k) text += alphabet[next(uint32_t(alphabet.size()))];
        }
        const TVurSpinType kind = kinds[i % 4];
        e->SetSpinType(sptNormal);
        e->SetText(text);
        // Reading never fails, whatever the text.
        (void)e->Value();
        (void)e->FloatValue();
        (void)e->DateValue();
        (void)e->TimeValue();
        e->SetSpinType(kind);
        e->SetText(text);
        Caret(e, Integer(next(uint32_t(text.size()) + 1)));
        wchar_t key = alphabet[next(uint32_t(alphabet.size()))];
        (void)e->IsValidChar(key);
        if (next(2)) e->StepUp(next(2) != 0);
        else e->StepDown(next(2) != 0);
        // After a step the text holds a value of the kind, inside the range.
        const String after = e->Text();
        switch (kind) {
        case sptNormal: {
            Integer v = 0;
            ASSERT_TRUE(TryStrToInt(after, v)) << UTF8Encode(text);
            EXPECT_TRUE(v >= -50 && v <= 50) << UTF8Encode(text);
            break;
        }
        case sptFloat: {
            Extended v = 0;
            ASSERT_TRUE(TryStrToFloat(after, v)) << UTF8Encode(text);
            EXPECT_TRUE(v >= -2.5 && v <= 2.5) << UTF8Encode(text);
            break;
        }
        case sptDate: {
            TDateTime v = 0;
            EXPECT_TRUE(TryStrToDate(after, v)) << UTF8Encode(text) << " -> " << UTF8Encode(after);
            break;
        }
        case sptTime: {
            TDateTime v = 0;
            EXPECT_TRUE(TryStrToTime(after, v)) << UTF8Encode(text) << " -> " << UTF8Encode(after);
            EXPECT_TRUE(v >= 0 && v < 1) << UTF8Encode(text);
            break;
        }
        }
    }
}
