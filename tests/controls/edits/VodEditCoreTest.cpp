// The edit box's value, number kinds, key filter, values and validation.
#include "VodEditTestSupport.h"

#include "platform/base/DebugOutput.h"

namespace {

class VodEditTest : public VodEditTestBase {};

}  // namespace

TEST_F(VodEditTest, NumberKindFollowsTheSeparatorsInUse)
{
    struct Case {
        Char ds, ts;
        const wchar_t* text;
        TNumberKind kind;
    };
    const Case cases[] = {
        {L'.', L',', L"", TNumberKind::None},
        {L'.', L',', L"1-2", TNumberKind::Integer},
        {L'.', L',', L"--1", TNumberKind::None},
        {L'.', L',', L"1,2,3", TNumberKind::None},
        {L'.', L',', L"1,234.5", TNumberKind::Decimal},
        {L'.', L',', L"1.2.3", TNumberKind::None},
        {L'.', L',', L"FF", TNumberKind::Hex},
        {L'.', L',', L"-ff", TNumberKind::Hex},
        {L'.', L',', L"x1", TNumberKind::None},
        {L',', L'.', L"1.234,5", TNumberKind::Decimal},
        {L',', L'.', L"1.2.3", TNumberKind::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << UTF8Encode(c.text) << " ds=" << char(c.ds));
        FormatSettings.DecimalSeparator = c.ds;
        FormatSettings.ThousandSeparator = c.ts;
        EXPECT_EQ(EditNumberKind(c.text), c.kind);
    }
}

TEST_F(VodEditTest, TextIsTheValueBetweenPrefixAndSuffix)
{
    TVodEdit* e = NewEdit();
    e->SetPrefix(L"$");
    e->SetSuffix(L" EUR");
    e->SetText(L"12");
    EXPECT_EQ(Shown(e), L"$12 EUR");
    EXPECT_EQ(e->Text(), L"12");
    // The prefix deleted by the user: the value is still the rest.
    SetWindowText(e->Handle(), L"12 EUR");
    EXPECT_EQ(e->Text(), L"12");
    // A damaged suffix costs no value characters.
    SetWindowText(e->Handle(), L"$1234 EU");
    EXPECT_EQ(e->Text(), L"1234 EU");
    // Letter case of the suffix does not matter.
    SetWindowText(e->Handle(), L"$7 eur");
    EXPECT_EQ(e->Text(), L"7");
    // A new prefix surrounds the same value.
    e->SetPrefix(L"USD ");
    EXPECT_EQ(Shown(e), L"USD 7 EUR");
}

TEST_F(VodEditTest, TextWriterNormalisesByType)
{
    struct Case {
        TVodEditType type;
        SmallInt precision;
        const wchar_t* in;
        const wchar_t* out;
    };
    const Case cases[] = {
        {etNumeric, 0, L"12", L"12"},      {etNumeric, 0, L"1.5", L"0"},   {etNumeric, 0, L"abc", L"0"},
        {etFloat, 2, L"1.5", L"1.50"},     {etFloat, 0, L"x", L"0"},       {etMoney, 2, L"1234.5", L"1,234.50"},
        {etHex, 0, L"ff", L"FF"},          {etHex, 0, L"zz", L"0"},        {etString, 0, L"any", L"any"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(UTF8Encode(c.in));
        TVodEdit* e = NewEdit(c.type);
        e->SetPrecision(c.precision);
        e->SetText(c.in);
        EXPECT_EQ(e->Text(), c.out);
        EXPECT_FALSE(e->Modified());
        delete e;
    }
}

// One table per edit type: the characters typed, the separators in use, the
// window text and caret afterwards.
TEST_F(VodEditTest, KeyFilterTables)
{
    struct Case {
        const char* name;
        TVodEditType type;
        bool isSigned;
        SmallInt precision;
        const wchar_t* start;
        int caret;
        const wchar_t* typed;
        const wchar_t* expect;
        int caretAfter;
        Char ds = L'.', ts = L',';
        const wchar_t* prefix = L"";
    };
    const Case cases[] = {
        {"numeric digits", etNumeric, false, 0, L"", 0, L"12a3", L"123", 3},
        {"numeric minus refused unsigned", etNumeric, false, 0, L"12", 2, L"-", L"12", 2},
        {"numeric sign on", etNumeric, true, 0, L"12", 2, L"-", L"-12", 3},
        {"numeric sign off", etNumeric, true, 0, L"-12", 3, L"-", L"12", 2},
        {"float second separator refused", etFloat, false, 0, L"1.2", 3, L".", L"1.2", 3},
        {"float separator jumps to decimals", etFloat, false, 2, L"1.25", 0, L".", L"1.25", 2},
        {"float decimals full at the end", etFloat, false, 2, L"1.25", 4, L"7", L"1.25", 4},
        {"float digit replaces next decimal", etFloat, false, 2, L"1.25", 3, L"7", L"1.27", 4},
        {"float empty then separator", etFloat, false, 2, L"", 0, L".", L"0.", 2},
        {"float comma not the separator", etFloat, false, 2, L"1", 1, L";", L"1", 1},
        {"float comma separator", etFloat, false, 2, L"1", 1, L",", L"1,", 2, L',', L'.'},
        {"float thousand separator comma refused", etFloat, false, 0, L"1,234", 5, L",", L"1,234", 5},
        {"float group check refuses", etFloat, false, 0, L"1'23", 4, L"'", L"1'23", 4, L'.', L'\''},
        {"float group check accepts", etFloat, false, 0, L"1'234", 5, L"'", L"1'234'", 6, L'.', L'\''},
        {"money regroups", etMoney, false, 0, L"", 0, L"1234", L"1,234", 5},
        {"money thousand separator refused", etMoney, false, 0, L"12", 2, L",", L"12", 2},
        {"range", etRange, false, 0, L"", 0, L"1-5-", L"1-5-", 4},
        {"range comma after minus", etRange, false, 0, L"1-", 2, L",", L"1-", 2},
        {"range comma at start", etRange, false, 0, L"", 0, L",", L"", 0},
        {"hex", etHex, false, 0, L"", 0, L"aFg1", L"aF1", 3},
        {"alphanumeric", etAlphaNumeric, false, 0, L"", 0, L"a-1 B", L"a1B", 3},
        {"upper case", etUppercase, false, 0, L"", 0, L"abC", L"ABC", 3},
        {"lower case", etLowerCase, false, 0, L"", 0, L"AbC", L"abc", 3},
        {"mixed case", etMixedCase, false, 0, L"", 0, L"ronald mcdonald", L"Ronald McDonald", 15},
        {"mixed case roman", etMixedCase, false, 0, L"", 0, L"henry iv", L"Henry IV", 8},
        {"mixed case apostrophe", etMixedCase, false, 0, L"", 0, L"o'brien", L"O'Brien", 7},
        {"prefix backspace stops", etString, false, 0, L"ab", 1, L"\b\b", L"b", 0, L'.', L',', L"$"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FormatSettings.DecimalSeparator = c.ds;
        FormatSettings.ThousandSeparator = c.ts;
        TVodEdit* e = NewEdit(c.type);
        e->SetSigned(c.isSigned);
        e->SetPrecision(c.precision);
        e->SetPrefix(c.prefix);
        e->SetAllowNumericNullValue(true);
        SetWindowText(e->Handle(), (String(c.prefix) + c.start).c_str());
        Caret(e, int(wcslen(c.prefix)) + c.caret);
        Type(e, c.typed);
        EXPECT_EQ(Shown(e), String(c.prefix) + c.expect);
        EXPECT_EQ(e->SelStart(), int(wcslen(c.prefix)) + c.caretAfter);
        delete e;
    }
}

TEST_F(VodEditTest, ValidAndInvalidCharsAndLengthLimit)
{
    TVodEdit* e = NewEdit(etValidChars);
    e->SetValidChars(L"abc");
    Type(e, L"abxcz");
    EXPECT_EQ(Shown(e), L"abc");
    e->SetEditType(etInvalidChars);
    e->SetInvalidChars(L"x");
    SetWindowText(e->Handle(), L"");
    Type(e, L"axb");
    EXPECT_EQ(Shown(e), L"ab");

    TVodEdit* n = NewEdit(etNumeric, 100, 60);
    n->SetLengthLimit(3);
    SetWindowText(n->Handle(), L"");
    Type(n, L"12345");
    EXPECT_EQ(Shown(n), L"123");
}

TEST_F(VodEditTest, TabOnFullLengthMovesTheFocus)
{
    TVodEdit* a = NewEdit(etNumeric, 100, 20);
    TVodEdit* b = NewEdit(etNumeric, 100, 60);
    a->SetLengthLimit(3);
    a->SetTabOnFullLength(true);
    SetWindowText(a->Handle(), L"");
    a->SetFocus();
    Drv->Pump();
    Type(a, L"12");
    EXPECT_EQ(GetFocus(), a->Handle());
    Type(a, L"3");
    Drv->Pump();
    EXPECT_EQ(GetFocus(), b->Handle());
}

TEST_F(VodEditTest, KeypadDecimalKeyTypesTheSeparator)
{
    FormatSettings.DecimalSeparator = L',';
    FormatSettings.ThousandSeparator = L'.';
    TVodEdit* e = NewEdit(etFloat);
    e->SetPrecision(2);
    e->SetExcelStyleDecimalSeparator(true);
    SetWindowText(e->Handle(), L"1");
    Caret(e, 1);
    SendChar(e, L'.', LPARAM(0x53) << 16);   // the keypad's scan code has bit 22
    EXPECT_EQ(Shown(e), L"1,");
    SetWindowText(e->Handle(), L"1");
    Caret(e, 1);
    SendChar(e, L'.', LPARAM(0x34) << 16);   // the main key's has not: refused
    EXPECT_EQ(Shown(e), L"1");
}

// Typing over a fully selected text is one change.
TEST_F(VodEditTest, TypingOverTheSelectionIsOneChange)
{
    for (TVodEditType t : {etString, etNumeric, etMoney, etMixedCase}) {
        SCOPED_TRACE(int(t));
        TVodEdit* e = NewEdit(t);
        e->SetText(L"1234");
        int changes = 0;
        e->OnChange = [&](TObject*) { ++changes; };
        e->SelectAll();
        SendChar(e, L'5');
        EXPECT_EQ(e->Text(), L"5");
        EXPECT_EQ(changes, 1);
        // And a plain keystroke afterwards is one change too.
        SendChar(e, L'6');
        EXPECT_EQ(changes, 2);
        delete e;
    }
}

TEST_F(VodEditTest, ValuesPerType)
{
    TVodEdit* e = NewEdit(etHex);
    e->SetText(L"FFFFFFFF");
    EXPECT_EQ(e->IntValue(), -1);
    e->SetText(L"1FFFFFFFF");   // wraps to 32 bits
    EXPECT_EQ(e->IntValue(), -1);
    SetWindowText(e->Handle(), L"-10");
    EXPECT_EQ(e->IntValue(), -16);
    EXPECT_EQ(EditHexValue(L"1-0"), -16);

    e->SetEditType(etMoney);
    SetWindowText(e->Handle(), L"1,234.");
    EXPECT_DOUBLE_EQ(e->FloatValue(), 1234.0);
    e->SetIntValue(1234567);
    EXPECT_EQ(e->Text(), L"1,234,567");
    EXPECT_TRUE(e->Modified());

    e->SetEditType(etNumeric);
    e->SetFloatValue(1234.5);
    EXPECT_EQ(e->Text(), L"1234");   // rounded to even, no groups
    EXPECT_EQ(e->Value().AsString(), L"1234");

    e->SetEditType(etFloat);
    e->SetPrecision(2);
    e->SetFloatValue(2.5);
    EXPECT_EQ(e->Text(), L"2.50");
}

TEST_F(VodEditTest, ValidationAndFocusNormalisation)
{
    TVodEdit* e = NewEdit(etNumeric);
    TVodEdit* other = NewEdit(etString, 100, 60);
    e->SetMinValue(10);
    e->SetMaxValue(20);
    struct Case {
        const wchar_t* typed;
        bool nullOk;
        const wchar_t* after;
    };
    const Case cases[] = {{L"5", false, L"10"}, {L"25", false, L"20"}, {L"", false, L"10"}, {L"", true, L"10"},
                          {L"15", false, L"15"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(UTF8Encode(c.typed));
        e->SetAllowNumericNullValue(c.nullOk);
        e->SetFocus();
        Drv->Pump();
        SetWindowText(e->Handle(), c.typed);
        other->SetFocus();
        Drv->Pump();
        EXPECT_EQ(e->Text(), c.after);
    }
    // A text that is no integer is invalid in a range.
    EXPECT_FALSE(e->ValidateValue(L"1x"));
    EXPECT_TRUE(e->ValidateValue(L"12"));
    // Re-entry from the validation event answers true at once.
    int calls = 0;
    e->OnValueValidate = [&](TObject*, const String&, bool& ok) {
        ++calls;
        EXPECT_TRUE(e->ValidateValue(L"99"));
        ok = false;
    };
    EXPECT_FALSE(e->ValidateValue(L"12"));
    EXPECT_EQ(calls, 1);
}

TEST_F(VodEditTest, EscapeRestoresTheTextOfFocusTime)
{
    TVodEdit* e = NewEdit();
    e->SetText(L"before");
    e->SetFocus();
    Drv->Pump();
    Caret(e, 6);
    Type(e, L"xy");
    EXPECT_TRUE(e->Modified());
    Drv->PressKey(VK_ESCAPE);
    Drv->Pump();
    EXPECT_EQ(e->Text(), L"before");
    EXPECT_FALSE(e->Modified());
}

TEST_F(VodEditTest, PastePerType)
{
    struct Case {
        TVodEditType type;
        bool isSigned;
        SmallInt precision;
        const wchar_t* clip;
        const wchar_t* expect;
        bool modified;
    };
    const Case cases[] = {
        {etString, false, 0, L"two\r\nlines", L"two", false},
        {etNumeric, false, 0, L"-5", L"", false},
        {etNumeric, true, 0, L"-5", L"-5", false},
        {etFloat, false, 0, L"1.5", L"", false},
        {etFloat, false, 2, L"1.5", L"1.50", true},
        {etHex, false, 0, L"ff", L"FF", false},
        {etAlphaNumeric, false, 0, L"a-b", L"", false},
        {etMixedCase, false, 0, L"ab cd", L"Ab Cd", false},
        {etRange, false, 0, L"1-3", L"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(UTF8Encode(c.clip));
        TVodEdit* e = NewEdit(c.type);
        e->SetAllowNumericNullValue(true);
        e->SetSigned(c.isSigned);
        e->SetPrecision(c.precision);
        e->SetText(L"");
        SetClipboardText(c.clip);
        SendMessage(e->Handle(), WM_PASTE, 0, 0);
        EXPECT_EQ(e->Text(), c.expect);
        EXPECT_EQ(e->Modified(), c.modified);
        delete e;
    }
}

TEST_F(VodEditTest, PasteTakesUnicodeTextAndCtrlVComesThroughThePasteHandler)
{
    TVodEdit* e = NewEdit();
    SetClipboardText(L"\x0436\x20AC");   // not in the 8-bit code page
    bool seen = false;
    e->OnClipboardPaste = [&](TObject*, const String& v, bool&) { seen = v == L"\x0436\x20AC"; };
    SendChar(e, 22);
    EXPECT_TRUE(seen);
    EXPECT_EQ(e->Text(), L"\x0436\x20AC");
    // A refusing handler keeps the text.
    e->OnClipboardCanPaste = [](TObject*, String&, bool& allow) { allow = false; };
    SendChar(e, 22);
    EXPECT_EQ(e->Text(), L"\x0436\x20AC");
}

TEST_F(VodEditTest, RangeList)
{
    TRangeList l;
    EXPECT_FALSE(l.StrToList(L"1-3;5,x"));
    std::vector<Integer> got;
    for (Integer i = 0; i < l.Count(); ++i) got.push_back(l.GetInteger(i));
    EXPECT_EQ(got, (std::vector<Integer>{1, 2, 3, 5}));
    EXPECT_TRUE(l.StrToList(L"5-3"));
    EXPECT_EQ(l.Count(), 0);

    TVodEdit* e = NewEdit(etRange);
    for (Integer v : {7, 1, 2, 3, 5, 8}) l.Add(v);
    e->ListToRangeStr(&l);
    EXPECT_EQ(e->Text(), L"1-3,5,7-8");
    TRangeList empty;
    e->ListToRangeStr(&empty);
    EXPECT_EQ(e->Text(), L"");

    std::vector<String> lines;
    TDebugOutputSink old = SetDebugOutputSink([&](const String& s) { lines.push_back(s); });
    l.Show();
    SetDebugOutputSink(old);
    EXPECT_EQ(lines.size(), size_t(l.Count()));
}

TEST_F(VodEditTest, VersionIsReadOnly)
{
    TVodEdit* e = NewEdit();
    EXPECT_EQ(e->Version(), L"3.4.1.1");
    e->SetVersion(L"9.9");
    EXPECT_EQ(e->Version(), L"3.4.1.1");
}
