// TVurSpinEdit: a single-line masked edit with a pair of spin buttons at its
// right edge, holding an integer, a floating-point number, a date or a time
// of day (SpinType). The value lives in the text; every write clamps it to
// its range (inclusive; equal limits mean no limit). The buttons and the
// Up, Down, PageUp and PageDown keys step the value; typed characters are
// filtered per kind (IsValidChar).
//
// TVurSpinButton is the button pair, two TVodTimerSpeedButtons that step
// once when pressed, again after 400 ms and then every 100 ms while held.
// The grid's spin editor derives from TVurSpinEdit; the control is also
// usable alone.
#pragma once

#include "platform/ui/Buttons.h"
#include "platform/ui/Mask.h"
#include "platform/ui/Timers.h"

enum TVurSpinType { sptNormal, sptFloat, sptDate, sptTime };
enum TSpinDirection { spVertical, spHorizontal };
enum TButtonDirection { bdLeft, bdRight, bdUp, bdDown };
enum TTimeBtnFlag { tbFocusRect, tbAllowTimer };
using TTimeBtnState = TSet<TTimeBtnFlag>;

// The spin edit's own text alignment (the edit family has a wider one).
namespace VurSpin {
enum TEditAlign { eaLeft, eaRight, eaCenter };
}  // namespace VurSpin

// The repeat intervals of a held spin button.
constexpr Cardinal kSpinFirstRepeatMs = 400;
constexpr Cardinal kSpinNextRepeatMs = 100;

class TVurSpinButton;

// One spin button: a speed button that repeats its click while held
// (TimeBtnState holds tbAllowTimer) and paints an arrow in its direction.
class TVodTimerSpeedButton : public TSpeedButton {
    VEL_CLASS(TVodTimerSpeedButton, TSpeedButton)
public:
    explicit TVodTimerSpeedButton(TComponent* AOwner);
    ~TVodTimerSpeedButton() override;

    TTimeBtnState TimeBtnState() const { return FTimeBtnState; }
    void SetTimeBtnState(TTimeBtnState v) { FTimeBtnState = v; }
    TButtonDirection ButtonDirection() const { return FButtonDirection; }
    void SetButtonDirection(TButtonDirection v);
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool v);
    bool HasMouse() const { return FHasMouse; }
    // The repeat timer, made on the first press (null before).
    TTimer* RepeatTimer() const { return FRepeatTimer; }
    // A repeating button clicks when pressed and while held, not on release.
    void Click() override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void CMMouseEnter(TMessage& M) override;
    void CMMouseLeave(TMessage& M) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void TimerExpired(TObject* Sender);
    // The pair that owns this button, if any (its colours paint it).
    TVurSpinButton* OwnerPair() const;
    void InvalidateParent();

    TTimer* FRepeatTimer = nullptr;
    TTimeBtnState FTimeBtnState;
    TButtonDirection FButtonDirection = bdUp;
    bool FIsWinXP = false;
    bool FHasMouse = false;
    bool FReleasing = false;
};

class TVurSpinButton : public TWinControl {
    VEL_CLASS(TVurSpinButton, TWinControl)
public:
    explicit TVurSpinButton(TComponent* AOwner);
    ~TVurSpinButton() override;

    TVodTimerSpeedButton* UpButton() const { return FUpButton; }
    TVodTimerSpeedButton* DownButton() const { return FDownButton; }
    TVodTimerSpeedButton* FocusedButton() const { return FFocusedButton; }
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* v);
    TSpinDirection Direction() const { return FDirection; }
    void SetDirection(TSpinDirection v);
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool v);

    TBitmap* UpGlyph() const;
    // A glyph is copied into the button; null reloads the default bitmap.
    void SetUpGlyph(TBitmap* v);
    TBitmap* DownGlyph() const;
    void SetDownGlyph(TBitmap* v);
    TNumGlyphs UpNumGlyphs() const;
    void SetUpNumGlyphs(TNumGlyphs v);
    TNumGlyphs DownNumGlyphs() const;
    void SetDownNumGlyphs(TNumGlyphs v);

    // The buttons' face colours (clNone: the themed or classic look).
    TColor ButtonColorDown() const { return FButtonColorDown; }
    void SetButtonColorDown(TColor v) { FButtonColorDown = v; InvalidateButtons(); }
    TColor ButtonBorderColor() const { return FButtonBorderColor; }
    void SetButtonBorderColor(TColor v) { FButtonBorderColor = v; InvalidateButtons(); }
    TColor ButtonTextColor() const { return FButtonTextColor; }
    void SetButtonTextColor(TColor v) { FButtonTextColor = v; InvalidateButtons(); }
    TColor ButtonTextColorHot() const { return FButtonTextColorHot; }
    void SetButtonTextColorHot(TColor v) { FButtonTextColorHot = v; InvalidateButtons(); }
    TColor ButtonColor() const { return FButtonColor; }
    void SetButtonColor(TColor v) { FButtonColor = v; InvalidateButtons(); }
    TColor ButtonColorHot() const { return FButtonColorHot; }
    void SetButtonColorHot(TColor v) { FButtonColorHot = v; InvalidateButtons(); }
    TColor ButtonTextColorDown() const { return FButtonTextColorDown; }
    void SetButtonTextColorDown(TColor v) { FButtonTextColorDown = v; InvalidateButtons(); }

    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
    void Loaded() override;

    TNotifyEvent OnUpClick, OnDownClick;

protected:
    void Dispatch(TMessage& Message) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    TVodTimerSpeedButton* CreateButton();
    void BtnClick(TObject* Sender);
    void BtnMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
    void SetFocusBtn(TVodTimerSpeedButton* Btn);
    // The size rule of the pair; false when nothing could be applied yet.
    bool AdjustSize(Integer& W, Integer& H);
    void InvalidateButtons();

    TVodTimerSpeedButton* FUpButton = nullptr;
    TVodTimerSpeedButton* FDownButton = nullptr;
    TVodTimerSpeedButton* FFocusedButton = nullptr;
    TWinControl* FFocusControl = nullptr;
    TSpinDirection FDirection = spVertical;
    bool FIsWinXP = false;
    TColor FButtonColorDown = clNone, FButtonBorderColor = clNone, FButtonTextColor = clNone,
           FButtonTextColorHot = clNone, FButtonColor = clNone, FButtonColorHot = clNone,
           FButtonTextColorDown = clNone;
};

class TVurSpinEdit : public TCustomMaskEdit {
    VEL_CLASS(TVurSpinEdit, TCustomMaskEdit)
public:
    using TEditAlign = VurSpin::TEditAlign;

    explicit TVurSpinEdit(TComponent* AOwner);
    ~TVurSpinEdit() override;

    TVurSpinButton* Button() const { return FButton; }

    // The value, read from and written to the text (writes clamp).
    Integer Value();
    void SetValue(Integer v);
    double FloatValue();
    void SetFloatValue(double v);
    TDateTime DateValue();
    void SetDateValue(TDateTime v);
    TDateTime TimeValue();
    void SetTimeValue(TDateTime v);

    // Ranges; equal limits mean no limit. MinDateValue/MaxDateValue serve
    // dates and times.
    Integer MinValue() const { return FMinValue; }
    void SetMinValue(Integer v) { FMinValue = v; }
    Integer MaxValue() const { return FMaxValue; }
    void SetMaxValue(Integer v) { FMaxValue = v; }
    double MinFloatValue() const { return FMinFloatValue; }
    void SetMinFloatValue(double v) { FMinFloatValue = v; }
    double MaxFloatValue() const { return FMaxFloatValue; }
    void SetMaxFloatValue(double v) { FMaxFloatValue = v; }
    TDateTime MinDateValue() const { return FMinDateValue; }
    void SetMinDateValue(TDateTime v) { FMinDateValue = v; }
    TDateTime MaxDateValue() const { return FMaxDateValue; }
    void SetMaxDateValue(TDateTime v) { FMaxDateValue = v; }

    // Steps.
    Integer Increment() const { return FIncrement; }
    void SetIncrement(Integer v) { FIncrement = v; }
    double IncrementFloat() const { return FIncrementFloat; }
    void SetIncrementFloat(double v) { FIncrementFloat = v; }
    double IncrementFloatPage() const { return FIncrementFloatPage; }
    void SetIncrementFloatPage(double v) { FIncrementFloatPage = v; }
    Integer IncrementSeconds() const { return FIncrementSeconds; }
    void SetIncrementSeconds(Integer v) { FIncrementSeconds = v; }
    Integer IncrementMinutes() const { return FIncrementMinutes; }
    void SetIncrementMinutes(Integer v) { FIncrementMinutes = v; }
    Integer IncrementHours() const { return FIncrementHours; }
    void SetIncrementHours(Integer v) { FIncrementHours = v; }

    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool v) { FEditorEnabled = v; }
    TSpinDirection Direction() const { return FDirection; }
    void SetDirection(TSpinDirection v);
    TVurSpinType SpinType() const { return FSpinType; }
    void SetSpinType(TVurSpinType v);
    // Decimals shown for floats (0: the shortest general notation).
    Integer Precision() const { return FPrecision; }
    void SetPrecision(Integer v);
    // Enter moves on like Tab.
    bool ReturnIsTab() const { return FReturnIsTab; }
    void SetReturnIsTab(bool v) { FReturnIsTab = v; }
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool v);
    // The keypad's decimal key types the locale's decimal separator.
    bool ExcelStyleDecimalSeparator() const { return FExcelStyleDecimalSeparator; }
    void SetExcelStyleDecimalSeparator(bool v) { FExcelStyleDecimalSeparator = v; }
    // Set by each date step: the month comes before the day in the short
    // date format.
    bool UsDates() const { return FUsDates; }
    bool ShowSeconds() const { return FShowSeconds; }
    void SetShowSeconds(bool v) { FShowSeconds = v; }
    TEditAlign EditAlign() const { return FEditAlign; }
    void SetEditAlign(TEditAlign v);
    bool SpinFlat() const { return FSpinFlat; }
    void SetSpinFlat(bool v);
    bool SpinTransparent() const { return FSpinTransparent; }
    void SetSpinTransparent(bool v);
    // Not used by the control: the grid stores an empty cell for an empty
    // spin text when it is set.
    bool AllowEmptyValue() const { return FAllowEmptyValue; }
    void SetAllowEmptyValue(bool v) { FAllowEmptyValue = v; }

    // Steps the value by kind (the page flag takes the float page step);
    // a read-only edit beeps and keeps its value.
    virtual void StepUp(bool Page);
    virtual void StepDown(bool Page);
    // Whether a typed character may go in (it may be changed in place).
    virtual bool IsValidChar(wchar_t& Key);
    virtual void UpClick(TObject* Sender);
    virtual void DownClick(TObject* Sender);

    // The height the font needs.
    Integer GetMinHeight();
    void Loaded() override;
    // The button pair is not streamed with the form.
    void GetChildren(const TGetChildProc&, TComponent*) override {}

protected:
    DWORD EditStyle() const override;
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;
    void WMKeyDown(TMessage& M) override;
    void WMChar(TMessage& M) override;
    void WMSize(TMessage& M) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(wchar_t& Key) override;
    void SetEditRect();
    void PlaceButton();
    bool Loading() const;
    // The value clamped by kind, written back when the clamp changed it.
    void ClampToRange();
    // Writes the text again through the current kind's writer.
    void ApplySpinType();
    void StepDate(Integer Delta);
    void StepTime(bool Up);

    Integer FMinValue = 0, FMaxValue = 100;
    double FMinFloatValue = 0.0, FMaxFloatValue = 100.0;
    TDateTime FMinDateValue = 0.0, FMaxDateValue = 0.0;
    TDateTime FDateValue = 0.0, FTimeValue = 0.0;
    Integer FIncrement = 1;
    double FIncrementFloat = 0.1;
    TVurSpinButton* FButton = nullptr;
    bool FEditorEnabled = true;
    TSpinDirection FDirection = spVertical;
    TVurSpinType FSpinType = sptNormal;
    Integer FPrecision = 0;
    bool FReturnIsTab = false;
    bool FIsWinXP = false;
    bool FExcelStyleDecimalSeparator = false;
    bool FUsDates = false;
    bool FShowSeconds = true;
    Integer FIncrementSeconds = 1, FIncrementMinutes = 1, FIncrementHours = 1;
    TEditAlign FEditAlign = VurSpin::eaLeft;
    bool FSpinFlat = false, FSpinTransparent = false;
    bool FAllowEmptyValue = false;
    double FIncrementFloatPage = 1.0;
};
