// Typed characters, keys, mouse selection and the clipboard of a drop-down
// edit.
#include "tests/controls/dropdown/DropDownTestSupport.h"

#include "platform/ui/Clipbrd.h"
#include "platform/ui/ExtCtrls.h"

namespace {

class DropDownInput : public DropDownFormTest {
protected:
    TVodDropDown* Edit(TDropDownEditType type, const String& text, SmallInt precision = 0, bool isSigned = false)
    {
        auto* d = Make();
        d->SetEditType(type);
        d->SetPrecision(precision);
        d->SetSigned(isSigned);
        d->SetText(text);
        return d;
    }
    void Sel(TVodCustomDropDown* d, int a, int b) { SendMessage(d->Handle(), EM_SETSEL, WPARAM(a), LPARAM(b)); }
    int Caret(TVodCustomDropDown* d)
    {
        DWORD a = 0, b = 0;
        SendMessage(d->Handle(), EM_GETSEL, WPARAM(&a), LPARAM(&b));
        return int(b);
    }
    void Chars(TVodCustomDropDown* d, const String& s)
    {
        for (wchar_t c : s) SendMessage(d->Handle(), WM_CHAR, WPARAM(c), 0);
    }
    void Key(TVodCustomDropDown* d, Word vk) { SendMessage(d->Handle(), WM_KEYDOWN, vk, 0); }
};

}  // namespace

TEST_F(DropDownInput, CharacterFilterPerType)
{
    struct {
        TDropDownEditType Type;
        const wchar_t* Start;
        int Caret;
        const wchar_t* Typed;
        const wchar_t* Want;
        bool Signed;
        SmallInt Precision;
    } const cases[] = {
        {etNumeric, L"12", 2, L"a3-", L"123", false, 0},
        {etNumeric, L"12", 2, L"-", L"-12", true, 0},
        {etNumeric, L"-12", 3, L"-", L"12", true, 0},
        {etFloat, L"1", 1, L".", L"1", false, 0},          // Precision 0: no separator
        {etFloat, L"1.2", 3, L".5", L"1.52", false, 2},      // a second separator jumps behind the first
        {etFloat, L"1.25", 3, L"7", L"1.27", false, 2},      // full decimals overwrite
        {etFloat, L"1.25", 4, L"7", L"1.25", false, 2},      // ... and at the end drop
        {etFloat, L"", 0, L".", L"0.", false, 2},
        {etRange, L"1", 1, L",,2", L"1,2", false, 0},
        {etAlphaNumeric, L"a", 1, L"- b1", L"ab1", false, 0},
        {etHex, L"", 0, L"fgA1", L"fA1", false, 0},
        {etUppercase, L"", 0, L"ab", L"AB", false, 0},
        {etLowerCase, L"", 0, L"AB", L"ab", false, 0},
        {etMixedCase, L"", 0, L"ab cd", L"Ab Cd", false, 0},
        {etString, L"", 0, L"x-1", L"x-1", false, 0},
    };
    ShowForm();
    for (const auto& c : cases) {
        auto* d = Edit(c.Type, L"", c.Precision, c.Signed);
        d->SetEditText(c.Start);
        d->SetFocus();
        Sel(d, c.Caret, c.Caret);
        Chars(d, c.Typed);
        EXPECT_EQ(d->Text(), String(c.Want)) << int(c.Type) << " " << String(c.Start) << " + " << String(c.Typed);
        delete d;
    }
}

TEST_F(DropDownInput, ValidCharsLengthLimitAndExcelDecimal)
{
    ShowForm();
    auto* v = Edit(etValidChars, L"");
    v->SetValidChars(L"xy");
    v->SetFocus();
    Chars(v, L"xzy");
    EXPECT_EQ(v->Text(), L"xy");

    // A limit of 3 integer digits lets exactly three be typed.
    auto* l = Edit(etNumeric, L"");
    l->SetEditText(L"");
    l->SetLengthLimit(3);
    l->SetFocus();
    Chars(l, L"12345");
    EXPECT_EQ(l->Text(), L"123");

    auto* x = Edit(etFloat, L"", 2);
    x->SetEditText(L"1");
    x->SetExcelStyleDecimalSeparator(true);
    FormatSettings.DecimalSeparator = L',';
    FormatSettings.ThousandSeparator = L'.';
    x->SetFocus();
    Sel(x, 1, 1);
    SendMessage(x->Handle(), WM_CHAR, L'.', LPARAM(1 << 22));  // the keypad's decimal key
    EXPECT_EQ(x->Text(), L"1,");
}

TEST_F(DropDownInput, MoneyKeepsItsThousandGroupsAndCaret)
{
    ShowForm();
    auto* m = Edit(etMoney, L"", 2);
    m->SetEditText(L"");
    m->SetFocus();
    Chars(m, L"12345");
    EXPECT_EQ(m->Text(), L"12,345");
    EXPECT_EQ(Caret(m), 6);
}

TEST_F(DropDownInput, PrefixAndSuffixKeepTheCaretOnTheValue)
{
    ShowForm();
    auto* d = Make();
    d->SetPrefix(L"$");
    d->SetSuffix(L"kg");
    d->SetText(L"12");
    d->SetFocus();
    Key(d, VK_HOME);
    EXPECT_EQ(Caret(d), 1);
    SendMessage(d->Handle(), WM_CHAR, VK_BACK, 0);
    Key(d, VK_BACK);
    EXPECT_EQ(d->EditText(), L"$12kg");
    Key(d, VK_END);
    EXPECT_EQ(Caret(d), 3);
    Key(d, VK_RIGHT);
    EXPECT_EQ(Caret(d), 3);
    Key(d, VK_DELETE);
    EXPECT_EQ(d->EditText(), L"$12kg");
    Key(d, VK_HOME);
    Key(d, VK_LEFT);
    EXPECT_EQ(Caret(d), 1);
    // The sign toggle rewrites Prefix + value + Suffix.
    auto* n = Make();
    n->SetEditType(etNumeric);
    n->SetSigned(true);
    n->SetPrefix(L"#");
    n->SetSuffix(L"!");
    n->SetText(L"5");
    n->SetFocus();
    Sel(n, 2, 2);
    Chars(n, L"-");
    EXPECT_EQ(n->EditText(), L"#-5!");
    Chars(n, L"-");
    EXPECT_EQ(n->EditText(), L"#5!");
}

TEST_F(DropDownInput, EnterWithoutDefaultHandlingGoesToTheParent)
{
    auto* panel = new TPanel(Form);
    panel->SetParent(Form);
    panel->SetBounds(0, 0, 300, 200);
    std::vector<std::pair<UINT, WPARAM>> seen;
    auto old = panel->WindowProc;
    panel->WindowProc = [&, old](TMessage& M) {
        if (M.Msg == WM_KEYDOWN || M.Msg == WM_KEYUP) seen.emplace_back(M.Msg, M.WParam);
        old(M);
    };
    auto* d = CreateDropDown<TVodDropDown>(Form);
    d->SetParent(panel);
    d->SetDefaultHandling(false);
    ShowForm();
    d->SetFocus();
    SendMessage(d->Handle(), WM_CHAR, VK_RETURN, 0);
    Drv->Pump();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], std::make_pair(UINT(WM_KEYDOWN), WPARAM(VK_RETURN)));
    EXPECT_EQ(seen[1], std::make_pair(UINT(WM_KEYUP), WPARAM(VK_RETURN)));
    panel->WindowProc = old;
}

TEST_F(DropDownInput, PastePerTypeAndTheVeto)
{
    ShowForm();
    struct {
        TDropDownEditType Type;
        const wchar_t* Clip;
        const wchar_t* Want;
    } const cases[] = {
        {etString, L"a b", L"a b"},       {etNumeric, L"42", L"42"},   {etNumeric, L"-4", L""},
        {etNumeric, L"4x", L""},          {etAlphaNumeric, L"a b", L""}, {etUppercase, L"ab", L"AB"},
        {etHex, L"FF", L""},              {etFloat, L"2.5", L"2.50"},
    };
    for (const auto& c : cases) {
        auto* d = Edit(c.Type, L"", c.Type == etFloat ? 2 : 0);
        d->SetEditText(L"");
        d->SetFocus();
        SetClipboardText(c.Clip);
        SendMessage(d->Handle(), WM_PASTE, 0, 0);
        EXPECT_EQ(d->Text(), String(c.Want)) << c.Clip;
        delete d;
    }
    auto* v = Edit(etString, L"keep");
    v->OnClipboardPaste = [](TObject*, const String&, bool& allow) { allow = false; };
    v->SetFocus();
    SetClipboardText(L"new");
    SendMessage(v->Handle(), WM_CHAR, 0x16, 0);  // Ctrl+V goes through the same rules
    EXPECT_EQ(v->Text(), L"keep");
}

TEST_F(DropDownInput, AltDownOpensAndAltUpClosesKeepingTheValue)
{
    auto* d = Make();
    d->SetText(L"one");
    ShowForm();
    d->SetFocus();
    Drv->Pump();
    Drv->PressKey(VK_DOWN, {VK_MENU});
    Drv->Pump();
    ASSERT_TRUE(d->DroppedDown());
    d->SetEditText(L"two");
    Drv->PressKey(VK_UP, {VK_MENU});
    Drv->Pump();
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_EQ(d->Text(), L"two");
    // F4 toggles.
    d->SetFocus();
    Drv->PressKey(VK_F4);
    Drv->Pump();
    EXPECT_TRUE(d->DroppedDown());
    Drv->PressKey(VK_F4);
    Drv->Pump();
    EXPECT_FALSE(d->DroppedDown());
}
