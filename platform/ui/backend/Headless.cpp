// The headless backend and its test driver.
#include "platform/ui/backend/Headless.h"

#include <algorithm>
#include <chrono>

#include "platform/base/SysUtils.h"
#include "platform/ui/WindowManager.h"

THeadlessBackend::THeadlessBackend()
{
    FMonitors.push_back({Rect(0, 0, 1024, 768), Rect(0, 0, 1024, 728)});
}

std::vector<TMonitorSpec> THeadlessBackend::Monitors()
{
    std::lock_guard<std::mutex> g(FLock);
    return FMonitors;
}

void THeadlessBackend::SetMonitors(const std::vector<TMonitorSpec>& monitors)
{
    std::lock_guard<std::mutex> g(FLock);
    FMonitors = monitors;
}

DWORD THeadlessBackend::TickCount()
{
    if (FManual) return FTick;
    using namespace std::chrono;
    return DWORD(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void THeadlessBackend::SetManualTick(DWORD tick)
{
    FTick = tick;
    FManual = true;
    WmWakeAll();
}

void THeadlessBackend::AdvanceTick(DWORD ms)
{
    if (!FManual) SetManualTick(TickCount());
    FTick += ms;
    WmWakeAll();
}

// ---------------------------------------------------------------------------

THeadlessDriver::THeadlessDriver()
{
    WmResetForTests();
    FBackend = new THeadlessBackend;
    SetBackend(FBackend);
    FBackend->SetManualTick(1000000);
    THeadlessBackend* b = FBackend;
    SetTickCountProvider([b] { return uint64_t(b->TickCount()); });
}

THeadlessDriver::~THeadlessDriver()
{
    WmResetForTests();
    SetTickCountProvider(nullptr);
    if (FNowSet) SetNowProvider(nullptr);
}

void THeadlessDriver::SetScreen(int width, int height)
{
    FBackend->SetMonitors({{Rect(0, 0, width, height), Rect(0, 0, width, std::max(0, height - 40))}});
}

void THeadlessDriver::SetWorkArea(const TRect& r)
{
    auto mons = FBackend->Monitors();
    if (mons.empty()) return;
    mons.front().WorkArea = r;
    FBackend->SetMonitors(mons);
}

void THeadlessDriver::SetMonitors(const std::vector<TMonitorSpec>& monitors)
{
    FBackend->SetMonitors(monitors);
}

DWORD THeadlessDriver::Tick() const { return FBackend->TickCount(); }

void THeadlessDriver::SetTick(DWORD tick)
{
    FBackend->SetManualTick(tick);
    Pump();
}

void THeadlessDriver::Advance(DWORD ms)
{
    DWORD target = FBackend->TickCount() + ms;
    Pump();
    for (int guard = 0; guard < 1000000; ++guard) {
        DWORD now = FBackend->TickCount();
        int32_t left = int32_t(target - now);
        if (left <= 0) break;
        // The next timer of this thread that falls due before the target.
        DWORD step = DWORD(left);
        {
            auto& m = WM();
            std::lock_guard<std::recursive_mutex> g(m.lock);
            DWORD me = GetCurrentThreadId();
            for (auto& t : m.timers) {
                if (t.threadId != me) continue;
                int32_t d = int32_t(t.due - now);
                if (d <= 0) d = 0;
                if (d > 0 && DWORD(d) < step) step = DWORD(d);
            }
        }
        FBackend->AdvanceTick(step);
        Pump();
    }
}

void THeadlessDriver::SetNow(TDateTime now)
{
    FNowSet = now != 0;
    if (now == 0)
        SetNowProvider(nullptr);
    else
        SetNowProvider([now] { return now; });
}

void THeadlessDriver::Pump() { WmPumpPending(); }

namespace {
UINT DownMsg(TMouseButton2 b)
{
    return b == TMouseButton2::Left ? WM_LBUTTONDOWN : b == TMouseButton2::Right ? WM_RBUTTONDOWN : WM_MBUTTONDOWN;
}
}  // namespace

void THeadlessDriver::MouseMove(TPoint p)
{
    WmMouseInput(WM_MOUSEMOVE, p);
    Pump();
}

void THeadlessDriver::MouseDown(TPoint p, TMouseButton2 b)
{
    if (WM().cursorPos != p) WmMouseInput(WM_MOUSEMOVE, p);
    WmMouseInput(DownMsg(b), p);
    Pump();
}

void THeadlessDriver::MouseUp(TPoint p, TMouseButton2 b)
{
    if (WM().cursorPos != p) WmMouseInput(WM_MOUSEMOVE, p);
    WmMouseInput(DownMsg(b) + 1, p);
    Pump();
}

void THeadlessDriver::Click(TPoint p, TMouseButton2 b)
{
    MouseDown(p, b);
    MouseUp(p, b);
}

void THeadlessDriver::DoubleClick(TPoint p)
{
    Click(p);
    FBackend->AdvanceTick(50);
    Click(p);
}

void THeadlessDriver::Drag(TPoint from, TPoint to, int steps)
{
    MouseDown(from);
    steps = std::max(1, steps);
    for (int i = 1; i <= steps; ++i)
        MouseMove({from.X + (to.X - from.X) * i / steps, from.Y + (to.Y - from.Y) * i / steps});
    MouseUp(to);
}

void THeadlessDriver::Wheel(TPoint p, int delta)
{
    if (WM().cursorPos != p) WmMouseInput(WM_MOUSEMOVE, p);
    WmMouseInput(WM_MOUSEWHEEL, p, delta);
    Pump();
}

TPoint THeadlessDriver::ScreenPoint(HWND hwnd, TPoint client) const
{
    ClientToScreen(hwnd, &client);
    return client;
}

void THeadlessDriver::ClickWindow(HWND hwnd, TPoint client, TMouseButton2 b)
{
    Click(ScreenPoint(hwnd, client), b);
}

void THeadlessDriver::MouseMoveWindow(HWND hwnd, TPoint client) { MouseMove(ScreenPoint(hwnd, client)); }

void THeadlessDriver::KeyDown(Word vk)
{
    WmKeyInput(vk, true);
    Pump();
}

void THeadlessDriver::KeyUp(Word vk)
{
    WmKeyInput(vk, false);
    Pump();
}

void THeadlessDriver::PressKey(Word vk, std::initializer_list<Word> modifiers)
{
    for (Word m : modifiers) KeyDown(m);
    KeyDown(vk);
    KeyUp(vk);
    for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it) KeyUp(*it);
}

void THeadlessDriver::TypeText(const String& text)
{
    for (wchar_t c : text) {
        Word vk;
        bool shift;
        if (WmKeyForChar(c, vk, shift)) {
            if (shift)
                PressKey(vk, {VK_SHIFT});
            else
                PressKey(vk);
        } else {
            WmCharInput(c);
            Pump();
        }
    }
}

void THeadlessDriver::Activate(HWND hwnd)
{
    WmActivate(hwnd, WA_ACTIVE);
    Pump();
}

void THeadlessDriver::DeactivateApp()
{
    WmDeactivateApp();
    Pump();
}

bool THeadlessDriver::CaptureWindow(HWND hwnd, std::vector<uint32_t>& pixels, int& width, int& height)
{
    if (!WmCaptureWindow(hwnd, pixels, width, height)) return false;
    // Painted windows are opaque.
    for (auto& p : pixels) p |= 0xFF000000u;
    return true;
}

bool THeadlessDriver::SaveWindowToPNG(HWND hwnd, const String& path)
{
    std::vector<uint32_t> px;
    int w = 0, h = 0;
    if (!CaptureWindow(hwnd, px, w, h) || w <= 0 || h <= 0) return false;
    HBITMAP bmp = CreateBitmapFromBGRA(w, h, px.data(), false);
    if (!bmp) return false;
    bool ok = SaveBitmapToPNG(bmp, path);
    DeleteObject(bmp);
    return ok;
}
