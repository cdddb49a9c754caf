#include "platform/ui/Timers.h"

#include <map>
#include <mutex>

namespace {
std::mutex gLock;
std::map<UINT_PTR, TTimer*>& Live()
{
    static auto* m = new std::map<UINT_PTR, TTimer*>;
    return *m;
}
}  // namespace

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {}

TTimer::~TTimer()
{
    FEnabled = false;
    UpdateTimer();
}

void TTimer::SetEnabled(bool v)
{
    if (FEnabled == v) return;
    FEnabled = v;
    UpdateTimer();
}

void TTimer::SetInterval(Cardinal v)
{
    if (FInterval == v) return;
    FInterval = v;
    UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent v)
{
    FOnTimer = std::move(v);
    UpdateTimer();
}

void TTimer::UpdateTimer()
{
    if (FId) {
        KillTimer(nullptr, FId);
        std::lock_guard<std::mutex> g(gLock);
        Live().erase(FId);
        FId = 0;
    }
    if (FEnabled && FInterval > 0 && FOnTimer && !ComponentState().Contains(csDesigning)) {
        FId = SetTimer(nullptr, 0, FInterval, &TTimer::Callback);
        std::lock_guard<std::mutex> g(gLock);
        Live()[FId] = this;
    }
}

void TTimer::Callback(HWND, UINT, UINT_PTR id, DWORD)
{
    TTimer* t = nullptr;
    {
        std::lock_guard<std::mutex> g(gLock);
        auto it = Live().find(id);
        if (it != Live().end()) t = it->second;
    }
    if (t) t->Timer();
}

void TTimer::Timer()
{
    if (FOnTimer) FOnTimer(this);
}
