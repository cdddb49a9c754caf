// The installed backend.
#include "platform/ui/backend/Backend.h"

#include <memory>
#include <mutex>

#include "platform/ui/backend/Headless.h"

namespace {
std::mutex gBackendLock;
std::unique_ptr<TBackend>& Slot()
{
    // Never destroyed: windows torn down by static destructors still ask it.
    static auto* slot = new std::unique_ptr<TBackend>;
    return *slot;
}
}  // namespace

bool HasBackend()
{
    std::lock_guard<std::mutex> g(gBackendLock);
    return Slot() != nullptr;
}

TBackend& Backend()
{
    std::lock_guard<std::mutex> g(gBackendLock);
    if (!Slot()) Slot() = std::make_unique<THeadlessBackend>();
    return *Slot();
}

void SetBackend(TBackend* backend)
{
    std::lock_guard<std::mutex> g(gBackendLock);
    Slot().reset(backend);
}
