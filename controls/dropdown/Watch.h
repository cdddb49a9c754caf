// Watch: the analog clock control. A circular, square or rounded-square
// face drawn with the GDI+ wrappers: tick marks, hour numbers, an AM/PM box
// and hour, minute and second hands. A click inside the face picks the hour,
// outside the circle the minute, on the AM/PM box the half of the day; a
// host passes keys in through WatchKeyDown. Hand moves can be animated; in
// Auto mode it runs as a live clock from the system time plus an offset.
// The time picker drop-down hosts it; it also stands on a form by itself.
#pragma once

#include <functional>
#include <memory>

#include "controls/dropdown/WatchAppearance.h"
#include "platform/ui/Controls.h"

class TTimer;
class TBitmap;
class TGPGraphics;

// Whether the clock runs by itself, shows seconds, and its offset.
class TWatchSettings : public TPersistent {
    VEL_CLASS(TWatchSettings, TPersistent)
public:
    TWatchSettings() = default;
    void Assign(TPersistent* Source) override;
    bool Auto() const { return FAuto; }
    void SetAuto(bool v);
    bool Second() const { return FSeconds; }
    void SetSecond(bool v);
    // Minutes added to the system time.
    Integer TimeOffset() const { return FTimeOffset; }
    void SetTimeOffset(Integer v);
    TNotifyEvent OnChange;

private:
    void Changed()
    {
        if (OnChange) OnChange(this);
    }
    bool FAuto = false;
    bool FSeconds = true;
    Integer FTimeOffset = 0;
};

class TVodWatch : public TCustomControl {
    VEL_CLASS(TVodWatch, TCustomControl)
public:
    explicit TVodWatch(TComponent* AOwner);
    ~TVodWatch() override;

    TWatchAppearance* Appearance() const { return FAppearance.get(); }
    void SetAppearance(TWatchAppearance* v) { FAppearance->Assign(v); }
    TWatchSettings* Settings() const { return FSettings.get(); }
    void SetSettings(TWatchSettings* v) { FSettings->Assign(v); }
    TDateTime Time() const { return FTime; }
    void SetTime(TDateTime v);
    bool Animation() const { return FAnimation; }
    void SetAnimation(bool v) { FAnimation = v; }
    Integer AnimationFactor() const { return FAnimationFactor; }
    void SetAnimationFactor(Integer v) { FAnimationFactor = v; }
    bool ShowAMPM() const { return FShowAMPM; }
    void SetShowAMPM(bool v);
    bool ShowNumbers() const { return FShowNumbers; }
    void SetShowNumbers(bool v);
    TWatchStyle Style() const { return FStyle; }
    void SetStyle(TWatchStyle v);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v) { FReadOnly = v; }
    bool AM() const { return FAM; }
    bool Animating() const;
    String Version();
    void SetVersion(const String&) {}
    virtual Integer GetVersionNr() { return 0x01010100; }

    // Hour 0..23 and minute 0..59; out of range raises "Invalid time".
    void SetHour(Integer Value);
    void SetMinute(Integer Value);
    Integer Hour() const;
    Integer Minute() const;
    Integer XYToHour(Integer X, Integer Y);
    Integer XYToMinute(Integer X, Integer Y);
    void WatchKeyDown(Word Key);
    void SetComponentStyle(TQelStyle AStyle);

    // Geometry.
    TRect GetWatchRect();
    TPoint GetCenter();
    Integer GetRadius();
    TRect GetAMPMRect();

    // The whole face into the cache and onto the control, then the hands.
    void PaintWatch();
    // The hands only, over a copy of the cached face.
    void RedrawHands();

    // Fired once when a set of the hour or minute completes.
    TNotifyEvent OnChange;
    // The pause between frames of the AM/PM swap (tests make it nothing).
    std::function<void(DWORD)> FrameDelay;

protected:
    void Paint() override;
    void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void Dispatch(TMessage& M) override;

private:
    void InternalSetTime(TDateTime t);
    void SetAM(bool v);
    void SettingsChanged();
    void AnimationTimerTick();
    void StepTowardsHour();
    void StepTowardsMinute();
    // Sets the hour or minute at once, with no notification.
    void ApplyHour(Integer v);
    void ApplyMinute(Integer v);
    void Changed()
    {
        if (OnChange) OnChange(this);
    }
    // The time shown: system time plus offset in Auto mode, else Time.
    TDateTime ShownTime();
    void DrawBackground(TGPGraphics& g);
    void DrawTickMarks(TGPGraphics& g);
    void DrawNumbers(TGPGraphics& g);
    void DrawAMPM(TGPGraphics& g);
    void DrawHands(HDC DC);
    bool IsPointInEllipse(Integer X, Integer Y);
    void CopyToControl(TBitmap* B);

    std::unique_ptr<TWatchAppearance> FAppearance;
    std::unique_ptr<TWatchSettings> FSettings;
    TDateTime FTime = 0;
    std::unique_ptr<TBitmap> FBKGCache;
    // Where a tick composes the hands over a copy of the face (kept, so a
    // tick allocates nothing).
    std::unique_ptr<TBitmap> FHandsBuffer;
    Word FOldHour = 0, FOldMinute = 0, FOldSecond = 0;
    TTimer* FWatchTimer = nullptr;
    bool FAnimation = true;
    Integer FAnimationFactor = 10;
    TTimer* FAnimationTimer = nullptr;
    Byte FCurrentHourTo = 0, FCurrentMinuteTo = 0, FMinuteFrom = 0;
    bool FHourAnimating = false;
    bool FInternalCall = false;
    bool FAM = true;
    bool FShowAMPM = true;
    bool FShowNumbers = true;
    bool FInternalSet = false;
    TWatchStyle FStyle = wsClassic;
    bool FReadOnly = false;
};
