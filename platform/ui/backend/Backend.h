// Where pixels go and input comes from. The window manager keeps every
// window's state itself; a backend shows top-level windows somewhere (or
// nowhere), answers the screen's geometry and the clock, and feeds input in
// through WmMouseInput/WmKeyInput/WmCharInput.
#pragma once

#include <vector>

#include "platform/ui/Windows.h"

struct TMonitorSpec {
    TRect Bounds;
    TRect WorkArea;
};

class TBackend {
public:
    virtual ~TBackend() = default;
    virtual String Name() const = 0;
    // The monitors, the primary first.
    virtual std::vector<TMonitorSpec> Monitors() = 0;
    // Milliseconds, 32-bit, wrapping.
    virtual DWORD TickCount() = 0;
    // Called from the waits of GetMessage/WaitMessage: delivers pending
    // outside input and waits at most timeoutMs for more; answers whether
    // it delivered anything.
    virtual bool PumpEvents(DWORD timeoutMs) = 0;
    // Wakes a thread that waits in PumpEvents.
    virtual void Wake() {}
    // Top-level window life and looks. Child windows live in their
    // top-level's pixels and are not reported.
    virtual void WindowCreated(HWND) {}
    virtual void WindowDestroyed(HWND) {}
    virtual void WindowChanged(HWND) {}  // geometry, visibility, z-order, text
    // The window manager made a top-level window the active one: the
    // desktop's keyboard focus should follow it.
    virtual void WindowActivated(HWND) {}
    // The top-level's pixels changed (after painting).
    virtual void Present(HWND) {}
    virtual void CursorChanged(HCURSOR) {}
    virtual void Beep() {}
};

bool HasBackend();
// The installed backend; a headless one is installed on first use when
// none was chosen.
TBackend& Backend();
// Installs a backend (ownership passes); nullptr goes back to none.
void SetBackend(TBackend* backend);
