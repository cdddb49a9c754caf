// The headless backend: windows live in memory on a virtual screen whose
// size and work area tests set; the tick counter runs on the real clock or,
// once a test takes it over, only when the test moves it. THeadlessDriver
// synthesises input the way a user would give it and runs the queue.
#pragma once

#include <atomic>
#include <mutex>
#include <vector>

#include "platform/ui/backend/Backend.h"

class THeadlessBackend : public TBackend {
public:
    THeadlessBackend();
    String Name() const override { return L"headless"; }
    std::vector<TMonitorSpec> Monitors() override;
    DWORD TickCount() override;
    bool PumpEvents(DWORD) override { return false; }

    void SetMonitors(const std::vector<TMonitorSpec>& monitors);
    // The tick counter stops following the real clock and moves only by
    // SetTick/AdvanceTick.
    void SetManualTick(DWORD tick);
    void AdvanceTick(DWORD ms);
    bool ManualTick() const { return FManual; }

private:
    std::mutex FLock;
    std::vector<TMonitorSpec> FMonitors;
    std::atomic<bool> FManual{false};
    std::atomic<DWORD> FTick{0};
};

enum class TMouseButton2 { Left, Right, Middle };

class THeadlessDriver {
public:
    // Resets the window system and installs a fresh headless backend with a
    // 1024x768 screen, a 40-pixel task bar at the bottom, and the tick
    // counter at 1000000 under the test's control.
    THeadlessDriver();
    ~THeadlessDriver();
    THeadlessDriver(const THeadlessDriver&) = delete;
    THeadlessDriver& operator=(const THeadlessDriver&) = delete;

    THeadlessBackend& Backend() { return *FBackend; }

    // Screen.
    void SetScreen(int width, int height);  // work area follows, minus the task bar
    void SetWorkArea(const TRect& r);
    void SetMonitors(const std::vector<TMonitorSpec>& monitors);

    // Clock. Advance moves the tick counter in steps so every timer fires
    // as often as it would have, running the queue after each step.
    DWORD Tick() const;
    void SetTick(DWORD tick);
    void Advance(DWORD ms);
    // The wall clock (Now/Date/Time) as a fixed value; 0 restores it.
    void SetNow(TDateTime now);

    // Runs everything the queue holds now (sent, posted, paint, due timers).
    void Pump();

    // Mouse, at screen points; the "Window" variants take client points.
    void MouseMove(TPoint screen);
    void MouseDown(TPoint screen, TMouseButton2 b = TMouseButton2::Left);
    void MouseUp(TPoint screen, TMouseButton2 b = TMouseButton2::Left);
    void Click(TPoint screen, TMouseButton2 b = TMouseButton2::Left);
    void DoubleClick(TPoint screen);
    void Drag(TPoint from, TPoint to, int steps = 4);
    void Wheel(TPoint screen, int delta);
    TPoint ScreenPoint(HWND hwnd, TPoint client) const;
    void ClickWindow(HWND hwnd, TPoint client, TMouseButton2 b = TMouseButton2::Left);
    void MouseMoveWindow(HWND hwnd, TPoint client);

    // Keyboard, with virtual-key codes.
    void KeyDown(Word vk);
    void KeyUp(Word vk);
    // Presses and releases vk with the modifiers (VK_SHIFT/VK_CONTROL/VK_MENU)
    // held around it.
    void PressKey(Word vk, std::initializer_list<Word> modifiers = {});
    // Types text: each character through its key where it has one (with
    // Shift as needed), else as a bare WM_CHAR.
    void TypeText(const String& text);

    // A window's pixels with its frame and children, painting that is due
    // done first: opaque 0xFFRRGGBB, row by row.
    bool CaptureWindow(HWND hwnd, std::vector<uint32_t>& pixels, int& width, int& height);
    // The same written as a PNG file (safely: a temporary file renamed).
    bool SaveWindowToPNG(HWND hwnd, const String& path);

    // Activation from outside: a window, or none (another program).
    void Activate(HWND hwnd);
    void DeactivateApp();

private:
    THeadlessBackend* FBackend;
    bool FNowSet = false;
};
