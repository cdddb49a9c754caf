// The calculator drop-down: keypad command sequences, keys in the closed
// edit and on the open window, opening and closing, looks.
#include "controls/dropdown/CalculatorDropDown.h"

#include "tests/controls/dropdown/DropDownTestSupport.h"

namespace {

class CalculatorDropDown : public DropDownFormTest {
protected:
    TVodCalculatorDropdown* C = nullptr;
    void SetUp() override
    {
        DropDownFormTest::SetUp();
        C = Make<TVodCalculatorDropdown>();
        C->SetText(L"0");
    }
    // Runs the keypad buttons named by their captions, separated by spaces.
    void Keys(const String& seq)
    {
        size_t i = 0;
        while (i < seq.size()) {
            size_t j = seq.find(L' ', i);
            if (j == String::npos) j = seq.size();
            Press(seq.substr(i, j - i));
            i = j + 1;
        }
    }
    void Press(const String& caption)
    {
        TCalcButtonItems* b = C->ButtonPanel()->Buttons();
        for (int k = 0; k < b->Count(); ++k)
            if (b->Items(k)->Caption() == caption || (caption == L"blank" && b->Items(k)->Caption().empty())) {
                C->CalculatorButtonClick(C->ButtonPanel(), k);
                return;
            }
        ADD_FAILURE() << "no button " << std::string(caption.begin(), caption.end());
    }
};

}  // namespace

TEST_F(CalculatorDropDown, Construction)
{
    EXPECT_EQ(C->EditType(), etFloat);
    EXPECT_EQ(C->Precision(), 2);
    EXPECT_EQ(C->DropDownWidth(), 230);
    EXPECT_FALSE(C->DropDownHeader()->Visible());
    EXPECT_FALSE(C->DropDownFooter()->Visible());
    EXPECT_TRUE(C->Signed());
    EXPECT_EQ(C->PendingOperator(), -1);
    ASSERT_NE(C->ButtonPanel(), nullptr);
    EXPECT_EQ(C->ButtonPanel()->Buttons()->Count(), 28);
    EXPECT_EQ(C->ButtonPanel()->VodDropDown(), C);
    EXPECT_EQ(C->ButtonPanel()->Height(), 150);
}

TEST_F(CalculatorDropDown, KeypadCommandSequences)
{
    struct Case {
        const wchar_t* Keys;
        const wchar_t* Shown;
    };
    const Case cases[] = {
        {L"1 . 5", L"1.50"},
        {L"1 . 5 7", L"1.57"},
        {L"2 + 3 * 4 =", L"20.00"},
        {L"2 + 3 * 4 = + 1 =", L"21.00"},       // = continues from the result
        {L"2 0 0 + 1 0 %", L"20.00"},
        {L"2 0 0 + 1 0 % =", L"220.00"},
        {L"9 - 4 =", L"5.00"},
        {L"8 / 0 =", L"Error"},
        {L"8 / 0 = +", L"0.00"},                // the next operator starts from 0
        {L"8 / 0 = %", L"0.00"},
        {L"1 2 . 5 Back", L"12.00"},            // 12.5 loses its last character
        {L"1 2 + 3 Back", L"3.00"},             // Back with a pending operator: nothing
        {L"5 MS C MR", L"5.00"},
        {L"5 MS C 3 M+ C MR", L"8.00"},
        {L"5 MS MC C MR", L"0.00"},
        {L"4 +/- sqrt", L"Error"},
        {L"0 1/x", L"Error"},
        {L"1 6 sqrt", L"4.00"},
        {L"4 1/x", L"0.25"},
        {L"5 +/-", L"-5.00"},
        {L"5 +/- +/-", L"5.00"},
        {L"5 +/- 3", L"-53.00"},                // digits extend a negative number's magnitude
        {L"5 +/- . 5", L"-5.50"},
        {L"7 + 2 CE", L"0.00"},
        {L"7 + 2 blank 3 =", L"3.00"},          // the blank button clears like C
    };
    for (const Case& cs : cases) {
        C->SetText(L"0");
        Keys(L"C");
        Keys(cs.Keys);
        EXPECT_EQ(C->Text(), cs.Shown) << std::wstring(cs.Keys);
    }
    // C clears accumulator and operator; the keypad's C arms no new number.
    Keys(L"C 7 + 2 C");
    EXPECT_EQ(C->PendingOperator(), -1);
    EXPECT_EQ(C->Accumulator(), 0);
}

TEST_F(CalculatorDropDown, MaxLengthStopsDigitsSignAndPointWithoutModifying)
{
    C->SetText(L"1.50");
    C->SetMaxLength(4);
    C->SetEditModified(false);
    Keys(L"7 +/- .");
    EXPECT_EQ(C->Text(), L"1.50");
    EXPECT_FALSE(C->IsModified());
    Keys(L"+");  // operators still work
    EXPECT_TRUE(C->IsModified());
    Keys(L"2 =");  // the text is still full: the digit is dropped
    EXPECT_EQ(C->Text(), L"3.00");
}

TEST_F(CalculatorDropDown, TextsThatDoNotConvertCountAsZero)
{
    // With no fixed decimals the text stands as written: Back on an
    // exponent text leaves one that does not convert.
    C->SetPrecision(-1);
    C->SetText(L"1.5E-5");
    Keys(L"Back");
    EXPECT_EQ(C->Text(), L"1.5E-");
    EXPECT_EQ(C->Value(), 0);
    EXPECT_NO_THROW(Keys(L"+"));
    EXPECT_EQ(C->Text(), L"0");
    C->SetText(L"1.5E-");
    EXPECT_NO_THROW(Keys(L"MS M+ ="));
    EXPECT_EQ(C->Memory(), 0);
    C->SetText(L"1.5E-");
    EXPECT_NO_THROW(Keys(L"%"));
    // +/- takes a leading sign only; an exponent's "-" is left alone.
    C->SetText(L"1E-5");
    Keys(L"+/-");
    EXPECT_EQ(C->Text(), L"-1E-5");
    Keys(L"+/-");
    EXPECT_EQ(C->Text(), L"1E-5");
}

TEST_F(CalculatorDropDown, SeparatorsFromTheLocale)
{
    FormatSettings.DecimalSeparator = L',';
    FormatSettings.ThousandSeparator = L'.';
    C->SetText(L"0");
    Keys(L"C 1 . 2 5 * 4 =");
    EXPECT_EQ(C->Text(), L"5,00");
    C->SetShowThousandSeparator(true);
    EXPECT_EQ(C->EditType(), etMoney);
    Keys(L"C 1 2 3 4 . 5");
    EXPECT_EQ(C->Text(), L"1.234,50");
    EXPECT_DOUBLE_EQ(C->Value(), 1234.5);
    Keys(L"MS");
    EXPECT_DOUBLE_EQ(double(C->Memory()), 1234.5);
    C->SetShowThousandSeparator(false);
    EXPECT_EQ(C->EditType(), etFloat);
    EXPECT_EQ(C->Text(), L"1234,50");
}

TEST_F(CalculatorDropDown, ValueReadAndWrite)
{
    C->SetText(L"");
    EXPECT_EQ(C->Value(), 0);
    EXPECT_EQ(C->Text(), L"0.00");
    C->SetValue(2.5);
    EXPECT_EQ(C->Text(), L"2.50");
    C->SetText(L"Error");
    EXPECT_EQ(C->Text(), L"Error");
    EXPECT_EQ(C->Value(), 0);
}

TEST_F(CalculatorDropDown, KeysInTheClosedEdit)
{
    ShowForm();
    Type(C, L"12+3=");
    EXPECT_EQ(C->Text(), L"15.00");
    Type(C, L"*2");
    SendMessage(C->Handle(), WM_CHAR, L'\r', 0);
    EXPECT_EQ(C->Text(), L"30.00");
    Type(C, L"%");   // accumulator 30, 30 * 30 / 100
    EXPECT_EQ(C->Text(), L"9.00");
    Type(C, L"c");
    EXPECT_EQ(C->Text(), L"0.00");
    EXPECT_EQ(C->PendingOperator(), -1);
    EXPECT_TRUE(C->NewNumber());
    Type(C, L"7x");  // letters are swallowed
    EXPECT_EQ(C->Text(), L"7.00");
    // Backspace on a one-character text gives 0.
    C->SetPrecision(0);
    C->SetText(L"7");
    SendMessage(C->Handle(), WM_CHAR, VK_BACK, 0);
    EXPECT_EQ(C->Text(), L"0");
    // Delete on "Error" gives 0.
    C->SetText(L"Error");
    SendMessage(C->Handle(), WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ(C->Text(), L"0");
}

TEST_F(CalculatorDropDown, KeysOnTheOpenWindowAndEnterClosesWithTheResult)
{
    ShowForm();
    C->SetText(L"3");
    C->SetFocus();
    C->ShowDropDown();
    Drv->Pump();
    ASSERT_TRUE(C->DroppedDown());
    EXPECT_FALSE(C->Signed());
    EXPECT_FALSE(C->DropDownForm()->CancelOnDeActivate());
    Drv->TypeText(L"12.5*2-");
    Drv->Pump();
    EXPECT_EQ(C->Text(), L"25.00");
    EXPECT_EQ(C->PendingOperator(), 2);
    Drv->TypeText(L"5");
    Drv->PressKey(VK_RETURN);
    Drv->Pump();
    EXPECT_FALSE(C->DroppedDown());
    EXPECT_EQ(C->Text(), L"20.00");
    EXPECT_TRUE(C->Signed());
    EXPECT_EQ(C->PendingOperator(), -1);

    // Opening keeps accumulator, operator and memory, and starts a new number.
    Type(C, L"+");
    C->ShowDropDown();
    Drv->Pump();
    EXPECT_TRUE(C->NewNumber());
    EXPECT_EQ(C->PendingOperator(), 0);
    Drv->TypeText(L"4=");
    Drv->Pump();
    EXPECT_EQ(C->Text(), L"24.00");
    // Backspace takes the last character.
    Drv->PressKey(VK_BACK);
    Drv->Pump();
    EXPECT_EQ(C->Text(), L"24.00");  // "24.0" formatted again
    Drv->TypeText(L"C");
    Drv->Pump();
    EXPECT_EQ(C->Text(), L"0.00");
    // Esc closes and restores the text the window opened with.
    Drv->TypeText(L"9");
    Drv->PressKey(VK_ESCAPE);
    Drv->Pump();
    EXPECT_FALSE(C->DroppedDown());
    EXPECT_EQ(C->Text(), L"20.00");
}

TEST_F(CalculatorDropDown, KeypadClicksInTheWindowAndAClickElsewhereKeepsTheText)
{
    ShowForm();
    C->ShowDropDown();
    Drv->Pump();
    TCustomButtonPanel* p = C->ButtonPanel();
    ASSERT_TRUE(p->Visible());
    auto click = [&](const wchar_t* caption) {
        for (int k = 0; k < p->Buttons()->Count(); ++k)
            if (p->Buttons()->Items(k)->Caption() == caption) {
                TRect r = p->Buttons()->Items(k)->ButtonRect();
                Drv->Click(p->ClientToScreen(TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}));
                Drv->Pump();
                return;
            }
    };
    click(L"7");
    click(L"*");
    click(L"6");
    click(L"=");
    EXPECT_EQ(C->Text(), L"42.00");
    EXPECT_TRUE(C->IsModified());
    Drv->Click(At(Form, 450, 300));
    Drv->Pump();
    EXPECT_FALSE(C->DroppedDown());
    EXPECT_EQ(C->Text(), L"42.00");
}

TEST_F(CalculatorDropDown, HookRunsBeforeEachCommandAndStylesSetTheGlow)
{
    struct Hooked : TVodCalculatorDropdown {
        using TVodCalculatorDropdown::TVodCalculatorDropdown;
        int Calls = 0;
        void BeforeCalculatorInput() override { ++Calls; }
    };
    auto* h = Make<Hooked>();
    h->SetText(L"0");
    for (int k = 0; k < 3; ++k) h->CalculatorButtonClick(h->ButtonPanel(), 9);
    EXPECT_EQ(h->Calls, 3);
    EXPECT_EQ(h->Text(), L"111.00");

    C->SetComponentStyle(tsOffice2010Blue);
    auto* a = C->CalcButtonAppearance();
    EXPECT_EQ(a->Color(), C->ButtonAppearance()->Color());
    EXPECT_EQ(a->ColorHotTo(), C->ButtonAppearance()->ColorHotTo());
    EXPECT_EQ(a->GlowColorHot(), C->ButtonAppearance()->ColorHot());
    EXPECT_EQ(a->GlowColorDown(), C->ButtonAppearance()->ColorHot());
    C->SetComponentStyle(tsOffice2007Luna);
    EXPECT_EQ(a->GlowColorHot(), C->ButtonAppearance()->ColorDownTo());
    EXPECT_EQ(a->GlowColorDown(), TColor(0xD5C244));
    // The keypad takes the appearance on the next opening.
    ShowForm();
    C->ShowDropDown();
    Drv->Pump();
    EXPECT_EQ(C->ButtonPanel()->ButtonAppearance()->Color(), a->Color());
    C->HideDropDown(false);
}

TEST_F(CalculatorDropDown, OtherDigitsTabAndF4OnTheOpenWindow)
{
    ShowForm();
    C->ShowDropDown();
    Drv->Pump();
    // Decimal digits of another script are digits too.
    SendMessage(C->ButtonPanel()->Handle(), WM_CHAR, 0x0663, 0);  // ARABIC-INDIC DIGIT THREE
    SendMessage(C->ButtonPanel()->Handle(), WM_CHAR, L'4', 0);
    EXPECT_EQ(C->Text(), L"34.00");
    Drv->PressKey(VK_F4);
    Drv->Pump();
    EXPECT_FALSE(C->DroppedDown());
    EXPECT_EQ(C->Text(), L"34.00");
    C->ShowDropDown();
    Drv->Pump();
    ASSERT_TRUE(C->DroppedDown());
    Drv->TypeText(L"+1");
    Drv->PressKey(VK_TAB);
    Drv->Pump();
    EXPECT_FALSE(C->DroppedDown());
    EXPECT_EQ(C->Text(), L"1.00");
    EXPECT_EQ(C->PendingOperator(), 0);
}
