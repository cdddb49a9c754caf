#include "controls/dropdown/CalculatorDropDown.h"

#include <algorithm>
#include <cmath>

#include "platform/base/SysUtils.h"
#include "platform/base/Unicode.h"
#include "platform/ui/Windows.h"

namespace {
Char DS() { return FormatSettings.DecimalSeparator; }
Char TS() { return FormatSettings.ThousandSeparator; }
bool Held(int vk) { return GetKeyState(vk) < 0; }
String WithoutThousands(String s)
{
    s.erase(std::remove(s.begin(), s.end(), TS()), s.end());
    return s;
}
bool IsNumberChar(Char c) { return IsUnicodeNumber(c); }
// The digit value of a number character ('0'..'9' and other decimal digits);
// -1 for a number character that is no decimal digit.
int DigitOf(Char c)
{
    if (c >= L'0' && c <= L'9') return int(c - L'0');
    // Decimal digits of other scripts come in runs of ten starting at a zero.
    for (Char zero : {Char(0x0660), Char(0x06F0), Char(0x0966), Char(0xFF10)})
        if (c >= zero && c <= zero + 9) return int(c - zero);
    return -1;
}
}  // namespace

TVodCalculatorDropdown::TVodCalculatorDropdown(TComponent* AOwner)
    : TVodCustomDropDown(AOwner), FCalcButtonAppearance(std::make_unique<VodButtonPanel::TButtonAppearance>())
{
    FDropDownColor = clWhite;
    FDropDownWidth = 230;
    FDropDownHeader->SetVisible(false);
    FDropDownFooter->SetVisible(false);
    FEditType = etFloat;
    FPrevop = -1;
    FPrecision = 2;
    FDecim = 0;
    FCalcClosed = true;
    FSigned = true;
    FMVal = 0;
}

TVodCalculatorDropdown::~TVodCalculatorDropdown() = default;

// ---------------------------------------------------------------------------
// Value and looks

double TVodCalculatorDropdown::Value()
{
    if (GetText().empty()) SetText(L"0");
    Extended v = 0;
    if (!TryStrToFloat(WithoutThousands(GetText()), v)) return 0;
    return double(v);
}

void TVodCalculatorDropdown::SetValue(double v) { SetText(Format(L"%g", {v})); }

void TVodCalculatorDropdown::SetShowThousandSeparator(bool v)
{
    if (FShowThousandSeparator == v) return;
    FShowThousandSeparator = v;
    SetEditType(v ? etMoney : etFloat);
    SetFloatValue(GetFloatValue());
}

void TVodCalculatorDropdown::SetComponentStyle(TQelStyle AStyle)
{
    TVodCustomDropDown::SetComponentStyle(AStyle);
    TVodButtonAppearance* b = ButtonAppearance();
    VodButtonPanel::TButtonAppearance* c = FCalcButtonAppearance.get();
    c->SetBorderColor(b->BorderColor());
    c->SetBorderColorHot(b->BorderColorHot());
    c->SetBorderColorDown(b->BorderColorDown());
    c->SetColor(b->Color());
    c->SetColorTo(b->ColorTo());
    c->SetColorDown(b->ColorDown());
    c->SetColorDownTo(b->ColorDownTo());
    c->SetColorHot(b->ColorHot());
    c->SetColorHotTo(b->ColorHotTo());
    c->SetBorderColorChecked(b->BorderColorChecked());
    c->SetColorChecked(b->ColorChecked());
    c->SetColorCheckedTo(b->ColorCheckedTo());
    c->SetColorDisabled(b->ColorDisabled());
    c->SetColorDisabledTo(b->ColorDisabledTo());
    if (AStyle == tsOffice2010Blue || AStyle == tsOffice2010Silver || AStyle == tsOffice2010Black) {
        c->SetGlowColorHot(b->ColorHot());
        c->SetGlowColorDown(b->ColorHot());
    } else {
        c->SetGlowColorHot(b->ColorDownTo());
        c->SetGlowColorDown(0xD5C244);
    }
}

// ---------------------------------------------------------------------------
// The calculator

long double TVodCalculatorDropdown::ShownNumber()
{
    Extended v = 0;
    // A text that does not convert (Back can leave one: "1.5E-") counts as 0.
    if (!TryStrToFloat(WithoutThousands(GetText()), v)) return 0;
    return v;
}

bool TVodCalculatorDropdown::AtMaxLength()
{
    return MaxLength() > 0 && Integer(GetText().size()) >= MaxLength();
}

bool TVodCalculatorDropdown::CalcShowing() const
{
    return !FCalcClosed && FDropDownForm && FDropDownForm->Visible();
}

void TVodCalculatorDropdown::ApplyPendingOperation()
{
    if (GetText().empty() || GetText() == L"Error") SetText(L"0");
    const long double x = ShownNumber();
    switch (FPrevop) {
    case 0: FPrevval = FPrevval + x; break;
    case 1: FPrevval = FPrevval * x; break;
    case 2: FPrevval = FPrevval - x; break;
    case 3:
        if (x == 0) {
            FPrevval = 0;
            SetText(L"Error");
            return;
        }
        FPrevval = FPrevval / x;
        break;
    default: FPrevval = ShownNumber(); break;
    }
    // A result the edit cannot show as a number starts again from 0.
    if (!std::isfinite(double(FPrevval))) FPrevval = 0;
    SetFloatValue(double(FPrevval));
    FNewval = true;
}

void TVodCalculatorDropdown::OperatorAdd()
{
    ApplyPendingOperation();
    FPrevop = 0;
}

void TVodCalculatorDropdown::OperatorSubtract()
{
    ApplyPendingOperation();
    FPrevop = 2;
}

void TVodCalculatorDropdown::OperatorMultiply()
{
    ApplyPendingOperation();
    FPrevop = 1;
}

void TVodCalculatorDropdown::OperatorDivide()
{
    ApplyPendingOperation();
    FPrevop = 3;
}

void TVodCalculatorDropdown::CalcEquals()
{
    ApplyPendingOperation();
    if (GetText().empty()) SetText(L"0");
    FPrevop = -1;
    if (GetText() != L"Error") FPrevval = ShownNumber();
}

void TVodCalculatorDropdown::CalcPercent()
{
    if (GetText().empty() || GetText() == L"Error") SetText(L"0");
    const long double x = ShownNumber();
    SetText(Format(L"%g", {double(FPrevval * x / 100)}));
}

void TVodCalculatorDropdown::CalculatorButtonClick(TObject*, Integer Index)
{
    if (!FVodButtonPanel || Index < 0 || Index >= FVodButtonPanel->Buttons()->Count()) return;
    BeforeCalculatorInput();
    RunCommand(FVodButtonPanel->Buttons()->Items(Index)->Tag());
}

void TVodCalculatorDropdown::RunCommand(Integer Tag)
{
    if ((Tag >= 10 && Tag <= 14) || (Tag >= 16 && Tag <= 18)) FDecim = 0;
    if ((Tag >= 0 && Tag <= 9) || Tag == 14 || Tag == 15)
        if (AtMaxLength()) return;
    if (Tag >= 0 && Tag <= 9) {
        if ((GetFloatValue() == 0 && FDecim == 0) || FNewval) {
            SetText(IntToStr(Tag));
            FNewval = false;
        } else {
            const double v = GetFloatValue();
            // Digits on a negative number extend its magnitude, the sign
            // staying in front (as the sign command treats it).
            const double d = v < 0 ? -double(Tag) : double(Tag);
            if (FDecim > 0) {
                SetFloatValue(v + d / FDecim);
                FDecim *= 10;
            } else {
                SetFloatValue(v * 10 + d);
            }
        }
    } else {
        switch (Tag) {
        case 10: OperatorAdd(); break;
        case 11: OperatorSubtract(); break;
        case 12: OperatorMultiply(); break;
        case 13: OperatorDivide(); break;
        case 14: {
            // Only a leading sign is the sign.
            String t = GetText();
            if (!t.empty() && t[0] == L'-')
                SetText(t.substr(1));
            else
                SetText(L"-" + t);
            break;
        }
        case 15:
            if (GetText().find(DS()) == String::npos) SetText(GetText() + DS());
            FDecim = 10;
            if (FNewval) SetText(L"0");
            FNewval = false;
            break;
        case 16: case 30: case 32:
            SetText(L"0");
            FPrevval = 0;
            FPrevop = -1;
            break;
        case 17: CalcEquals(); break;
        case 18: CalcPercent(); break;
        case 31:
            if (FPrevop == -1) {
                String s = FloatToStr(GetFloatValue());
                if (!s.empty()) s.pop_back();
                SetText(s);
            }
            break;
        case 33: FMVal = 0; break;
        case 34: SetFloatValue(double(FMVal)); break;
        case 35: FMVal = ShownNumber(); break;
        case 36: FMVal = FMVal + ShownNumber(); break;
        case 37:
            if (GetFloatValue() < 0)
                SetText(L"Error");
            else
                SetFloatValue(std::sqrt(GetFloatValue()));
            break;
        case 38:
            if (GetFloatValue() == 0)
                SetText(L"Error");
            else
                SetFloatValue(1 / GetFloatValue());
            break;
        default: return;  // no command: nothing is modified
        }
    }
    SetEditModified(true);
}

// ---------------------------------------------------------------------------
// The window

void TVodCalculatorDropdown::CreateDropDownForm()
{
    TVodCustomDropDown::CreateDropDownForm();
    if (FVodButtonPanel || !FDropDownForm) return;
    FVodButtonPanel = new TCustomButtonPanel(this);
    FVodButtonPanel->SetVodDropDown(this);
    FVodButtonPanel->SetParent(FDropDownForm);
    FVodButtonPanel->SetHeight(150);
    FVodButtonPanel->CreateCalculatorButtons();
    FVodButtonPanel->OnButtonClick = [this](TObject* s, Integer i) { CalculatorButtonClick(s, i); };
    SetControl(FVodButtonPanel);
}

void TVodCalculatorDropdown::DoBeforeDropDown()
{
    TVodCustomDropDown::DoBeforeDropDown();
    // A click elsewhere closes the calculator keeping what it shows.
    if (FDropDownForm) FDropDownForm->SetCancelOnDeActivate(false);
    if (FVodButtonPanel) {
        FVodButtonPanel->SetButtonAppearance(FCalcButtonAppearance.get());
        FVodButtonPanel->SetColor(FDropDownColor);
        FVodButtonPanel->ArrangeButtons();
    }
    FOpenText = GetText();
    FSigned = false;
    FNewval = true;
    FDecim = 0;
    FCalcClosed = false;
}

void TVodCalculatorDropdown::DoHideDropDown(bool Cancelled)
{
    const bool wasOpen = FDropDownForm && FDropDownForm->Visible();
    TVodCustomDropDown::DoHideDropDown(Cancelled);
    if (Cancelled && wasOpen) SetText(FOpenText);
    FSigned = true;
}

void TVodCalculatorDropdown::FormKeyPress(wchar_t& Key)
{
    BeforeCalculatorInput();
    // Enter and Backspace were handled on their key-down.
    if (Key == L'\r' || Key == L'\b') {
        Key = 0;
        return;
    }
    if (IsNumberChar(Key) && AtMaxLength()) return;
    // Digits and the decimal separator go through the keypad's commands, so
    // typing and clicking build the same number.
    if (Key == DS()) {
        RunCommand(15);
        return;
    }
    if (IsNumberChar(Key)) {
        int d = DigitOf(Key);
        if (d >= 0) RunCommand(d);
        FNewval = false;
        return;
    }
    switch (Key) {
    case 27: DoHideDropDown(true); break;
    case L'%': CalcPercent(); break;
    case L'*': OperatorMultiply(); break;
    case L'+': OperatorAdd(); break;
    case L'-': OperatorSubtract(); break;
    case L'/': OperatorDivide(); break;
    case L'=': CalcEquals(); break;
    case L'C': case L'c':
        SetText(L"0");
        FPrevval = 0;
        FNewval = true;
        FPrevop = -1;
        break;
    default: break;
    }
}

void TVodCalculatorDropdown::FormKeyDown(Word& Key, TShiftState Shift)
{
    if (Key == VK_RETURN) {
        // Computed before the window closes, which keeps the result.
        BeforeCalculatorInput();
        CalcEquals();
        DoHideDropDown(false);
        return;
    }
    if (Key == VK_BACK) {
        String t = GetText();
        if (!t.empty()) t.pop_back();
        if (t.empty() || t == L"Error" || t == L"-") t = L"0";
        SetText(t);
        SetEditModified(true);
        return;
    }
    TVodCustomDropDown::FormKeyDown(Key, Shift);
    if (Key == VK_TAB || Key == VK_F4) DoHideDropDown(false);
}

void TVodCalculatorDropdown::FormKeyUp(Word& Key, TShiftState Shift)
{
    if (Key == VK_RETURN || Key == VK_BACK) return;
    TVodCustomDropDown::FormKeyUp(Key, Shift);
}

// The keypad has the focus while the window is open: its keys are the
// window's keys.
void TVodCalculatorDropdown::ControlKeyDown(Word& Key, TShiftState Shift) { FormKeyDown(Key, Shift); }
void TVodCalculatorDropdown::ControlKeyUp(Word& Key, TShiftState Shift) { FormKeyUp(Key, Shift); }
void TVodCalculatorDropdown::ControlKeyPress(wchar_t& Key) { FormKeyPress(Key); }

void TVodCalculatorDropdown::SetTextKeepingCaret(const String& S)
{
    SetText(S);
    const Integer p = Integer(FPrefix.size()) + 1;
    SetSelRaw(p, p);
}

void TVodCalculatorDropdown::WMChar(TMessage& M)
{
    const Char key = Char(M.WParam);
    if (!CalcShowing()) {
        bool handled = true;
        switch (key) {
        case L'\r': case L'=': CalcEquals(); break;
        case L'%': CalcPercent(); break;
        case L'*': OperatorMultiply(); break;
        case L'+': OperatorAdd(); break;
        case L'-': OperatorSubtract(); break;
        case L'/': OperatorDivide(); break;
        case L'C': case L'c':
            SetText(L"0");
            FNewval = true;
            FPrevop = -1;
            break;
        default: handled = false;
        }
        (void)handled;
    }
    if (!(IsNumberChar(key) || key == DS() || key == L'\b' || key == L'-')) {
        M.Result = 0;
        return;
    }
    const String t = GetText();
    if ((t == L"0" || FNewval) && IsNumberChar(key)) {
        SetTextKeepingCaret(String(1, key));
        FNewval = false;
        M.Result = 0;
        return;
    }
    if (t.size() == 1 && key == L'\b') {
        SetTextKeepingCaret(L"0");
        M.Result = 0;
        return;
    }
    if (key == TS() || (key == DS() && t.find(DS()) != String::npos)) {
        M.Result = 0;
        return;
    }
    TVodCustomDropDown::WMChar(M);
}

void TVodCalculatorDropdown::WMKeyDown(TMessage& M)
{
    const Word key = M.CharCode();
    const String before = GetText();
    TVodCustomDropDown::WMKeyDown(M);
    if (key == VK_DELETE && (before.empty() || before == L"Error" || GetText().empty())) SetText(L"0");
}

void TVodCalculatorDropdown::Dispatch(TMessage& M)
{
    if (M.Msg == CM_ENTER && AutoSelect() && !Held(VK_LBUTTON)) SelectAll();
    TVodCustomDropDown::Dispatch(M);
}
