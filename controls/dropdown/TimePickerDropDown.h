// TimePickerDropDown: a drop-down edit for a time of day. The edit shows
// hh:mm:ss (or hh:mm) under an edit mask; Up and Down step the field under
// the caret; the window shows the clock face, optionally with the
// platform's time picker under it.
#pragma once

#include <memory>

#include "controls/dropdown/VodDropDown.h"
#include "controls/dropdown/Watch.h"

class TPanel;
class TDateTimePicker;

class TVodTimePickerDropDown : public TVodCustomDropDown {
    VEL_CLASS(TVodTimePickerDropDown, TVodCustomDropDown)
public:
    explicit TVodTimePickerDropDown(TComponent* AOwner);
    ~TVodTimePickerDropDown() override;

    TDateTime Time() const { return FTime; }
    void SetTime(TDateTime v);
    bool ShowSeconds() const { return FShowSeconds; }
    void SetShowSeconds(bool v);
    bool ShowTimePicker() const { return FShowTimePicker; }
    void SetShowTimePicker(bool v) { FShowTimePicker = v; }
    bool ShowWatchAMPM() const { return FShowWatchAMPM; }
    void SetShowWatchAMPM(bool v) { FShowWatchAMPM = v; }
    bool ShowWatchNumbers() const { return FShowWatchNumbers; }
    void SetShowWatchNumbers(bool v) { FShowWatchNumbers = v; }
    bool Animation() const { return FAnimation; }
    void SetAnimation(bool v) { FAnimation = v; }
    Integer AnimationFactor() const { return FAnimationFactor; }
    void SetAnimationFactor(Integer v) { FAnimationFactor = v; }
    TWatchAppearance* WatchAppearance() const { return FWatchAppearance.get(); }
    void SetWatchAppearance(TWatchAppearance* v) { FWatchAppearance->Assign(v); }
    TWatchSettings* WatchSettings() const { return FWatchSettings.get(); }
    void SetWatchSettings(TWatchSettings* v) { FWatchSettings->Assign(v); }
    TVodWatch* Watch() const { return FVodWatch; }
    TDateTimePicker* DateTimePicker() const { return FDateTimePicker; }
    TPanel* PanelCtrl() const { return FPanelCtrl; }

    void SetText(const String& Value) override;
    void SetComponentStyle(TQelStyle AStyle) override;
    // hh:mm:ss (hh:mm without seconds), two digits a part.
    String FormatTime(Word H, Word M, Word S) const;

    TNotifyEvent OnTimeChange;

    void CreateDropDownForm() override;
    void DoBeforeDropDown() override;
    void AdjustDropDownSize(Integer& Height) override;
    void DoHideDropDown(bool Cancelled) override;
    void DropDownHidden() override;
    void FormKeyDown(Word& Key, TShiftState Shift) override;
    void FormKeyUp(Word& Key, TShiftState Shift) override;
    void ControlKeyDown(Word& Key, TShiftState Shift) override;
    void ControlKeyUp(Word& Key, TShiftState Shift) override;
    void ControlKeyPress(wchar_t& Key) override;

protected:
    void KeyDown(Word& Key, TShiftState Shift) override;
    void WMKeyDown(TMessage& M) override;
    void Change() override;
    void DoExit() override;

private:
    void UpdateTimeMask();
    void SetEditTextGuarded(const String& S);
    void StepField(Word Key);
    void SetHourPart(Integer v);
    void SetMinutePart(Integer v);
    void SetSecondPart(Integer v);
    void WatchChanged();
    void PickerChange();
    // The text as a time by the platform's conversion (an empty text is 0);
    // false for a text it rejects.
    bool TextTime(TDateTime& t);
    static bool IsPaging(Word Key) { return Key == VK_UP || Key == VK_DOWN || Key == VK_PRIOR || Key == VK_NEXT; }

    bool FShowTimePicker = false;
    TVodWatch* FVodWatch = nullptr;
    TDateTimePicker* FDateTimePicker = nullptr;
    TPanel* FPanelCtrl = nullptr;
    std::unique_ptr<TWatchAppearance> FWatchAppearance;
    bool FShowWatchAMPM = true;
    bool FShowWatchNumbers = true;
    bool FAnimation = true;
    Integer FAnimationFactor = 10;
    TDateTime FTime = 0;
    std::unique_ptr<TWatchSettings> FWatchSettings;
    bool FInternalCall = false;
    bool FShowSeconds = true;
    // The time when the window opened: what a cancel goes back to.
    TDateTime FOpenTime = 0;
    bool FArrowDone = false;
};
