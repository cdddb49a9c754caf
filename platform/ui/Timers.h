// TTimer: a component that calls OnTimer every Interval milliseconds while
// Enabled, on the thread that runs its message loop.
#pragma once

#include "platform/base/Objects.h"
#include "platform/ui/Windows.h"

class TTimer : public TComponent {
    VEL_CLASS(TTimer, TComponent)
public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    Cardinal Interval() const { return FInterval; }
    void SetInterval(Cardinal v);
    // Assign OnTimer through SetOnTimer so a running timer starts or stops.
    const TNotifyEvent& OnTimer() const { return FOnTimer; }
    void SetOnTimer(TNotifyEvent v);

protected:
    virtual void Timer();

private:
    void UpdateTimer();
    static void Callback(HWND, UINT, UINT_PTR id, DWORD);
    bool FEnabled = true;
    Cardinal FInterval = 1000;
    TNotifyEvent FOnTimer;
    UINT_PTR FId = 0;
};
