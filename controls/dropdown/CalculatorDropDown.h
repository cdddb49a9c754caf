// CalculatorDropDown: a numeric drop-down edit whose window hosts the
// calculator keypad. The keypad, or keys typed while the window is open or
// into the closed edit, run a four-function calculator with one memory,
// square root, reciprocal and percent; the number the edit shows is the
// value.
#pragma once

#include <memory>

#include "controls/dropdown/ButtonPanel.h"
#include "controls/dropdown/VodDropDown.h"

class TVodCalculatorDropdown : public TVodCustomDropDown {
    VEL_CLASS(TVodCalculatorDropdown, TVodCustomDropDown)
public:
    explicit TVodCalculatorDropdown(TComponent* AOwner);
    ~TVodCalculatorDropdown() override;

    // The text as a number: thousand separators removed, locale
    // conversion; an empty text becomes "0" first; a text that does not
    // convert counts as 0.
    double Value();
    void SetValue(double v);
    // The = command.
    void CalcResult() { CalcEquals(); }
    bool ShowThousandSeparator() const { return FShowThousandSeparator; }
    void SetShowThousandSeparator(bool v);
    VodButtonPanel::TButtonAppearance* CalcButtonAppearance() const { return FCalcButtonAppearance.get(); }
    void SetCalcButtonAppearance(VodButtonPanel::TButtonAppearance* v) { FCalcButtonAppearance->Assign(v); }
    TCustomButtonPanel* ButtonPanel() const { return FVodButtonPanel; }
    void SetComponentStyle(TQelStyle AStyle) override;

    // The calculator's state, for descendants and tests.
    long double Accumulator() const { return FPrevval; }
    Integer PendingOperator() const { return FPrevop; }
    bool NewNumber() const { return FNewval; }
    long double Memory() const { return FMVal; }

    // A keypad command by its button index (the keypad's OnButtonClick).
    void CalculatorButtonClick(TObject* Sender, Integer Index);

    // --- Virtual operations ---------------------------------------------
    void CreateDropDownForm() override;
    void DoBeforeDropDown() override;
    void DoHideDropDown(bool Cancelled) override;
    void FormKeyPress(wchar_t& Key) override;
    void FormKeyDown(Word& Key, TShiftState Shift) override;
    void FormKeyUp(Word& Key, TShiftState Shift) override;
    void ControlKeyDown(Word& Key, TShiftState Shift) override;
    void ControlKeyUp(Word& Key, TShiftState Shift) override;
    void ControlKeyPress(wchar_t& Key) override;
    // Runs before each keypad command and each key typed on the open
    // calculator.
    virtual void BeforeCalculatorInput() {}

protected:
    void WMChar(TMessage& M) override;
    void WMKeyDown(TMessage& M) override;
    void Dispatch(TMessage& M) override;

private:
    // The command of a keypad tag.
    void RunCommand(Integer Tag);
    void ApplyPendingOperation();
    void OperatorAdd();
    void OperatorSubtract();
    void OperatorMultiply();
    void OperatorDivide();
    void CalcEquals();
    void CalcPercent();
    // The shown number (thousand separators removed); 0 for a text that
    // does not convert.
    long double ShownNumber();
    // Whether the window is open.
    bool CalcShowing() const;
    // The text has MaxLength characters already.
    bool AtMaxLength();
    void SetTextKeepingCaret(const String& S);

    TCustomButtonPanel* FVodButtonPanel = nullptr;
    Integer FDecim = 0;
    bool FNewval = false;
    long double FPrevval = 0;
    Integer FPrevop = -1;
    bool FCalcClosed = true;
    std::unique_ptr<VodButtonPanel::TButtonAppearance> FCalcButtonAppearance;
    long double FMVal = 0;
    bool FShowThousandSeparator = false;
    // The text when the window opened: what a cancel goes back to.
    String FOpenText;
};
