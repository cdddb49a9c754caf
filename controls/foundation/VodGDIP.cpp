// VodGDIP: start-up and shut-down of GDI+, the wrappers' allocation, and the
// colour and geometry routines.
#include "controls/foundation/VodGDIP.h"

#include <mutex>
#include <new>

#include "platform/os/Version.h"

namespace {

// Guards the unit state. Recursive: creating a shared font family under the
// lock allocates a wrapper, whose allocation may start GDI+.
std::recursive_mutex gLock;
GdiplusStartupInput gInput;
GdiplusStartupOutput gOutput;
ULONG_PTR gToken = 0;          // 0 while this unit holds GDI+ stopped
ULONG_PTR gHookToken = 0;
TGPFontFamily* gGeneric[3] = {};

// Before Windows 6.0 the caller runs GDI+'s notification hook itself.
bool NeedsNotificationHook()
{
    OSVERSIONINFO vi{};
    vi.dwOSVersionInfoSize = sizeof vi;
    return GetVersionEx(&vi) && vi.dwMajorVersion < 6;
}

void StartLocked()
{
    if (gToken) return;
    gInput = GdiplusStartupInput{};
    gInput.GdiplusVersion = 1;
    gInput.DebugEventCallback = nullptr;
    gInput.SuppressBackgroundThread = 1;
    gInput.SuppressExternalCodecs = 0;
    gOutput = GdiplusStartupOutput{};
    ULONG_PTR token = 0;
    if (GdiplusStartup(&token, &gInput, &gOutput) != Ok) return;
    gToken = token;
    if (NeedsNotificationHook() && gOutput.NotificationHook) gOutput.NotificationHook(&gHookToken);
}

}  // namespace

void VodGdipStartup()
{
    std::lock_guard<std::recursive_mutex> lock(gLock);
    StartLocked();
}

void VodGdipShutdown()
{
    std::lock_guard<std::recursive_mutex> lock(gLock);
    for (TGPFontFamily*& f : gGeneric) {
        delete f;
        f = nullptr;
    }
    if (!gToken) return;
    if (NeedsNotificationHook() && gOutput.NotificationUnhook) gOutput.NotificationUnhook(gHookToken);
    gHookToken = 0;
    GdiplusShutdown(gToken);
    gToken = 0;
}

bool VodGdipRunning()
{
    std::lock_guard<std::recursive_mutex> lock(gLock);
    return gToken != 0;
}

// The shared generic families, made on first use under the unit's lock.
TGPFontFamily* TGPFontFamily::Generic(int which)
{
    static Status (*const get[3])(GpFontFamily**) = {
        GdipGetGenericFontFamilySansSerif, GdipGetGenericFontFamilySerif, GdipGetGenericFontFamilyMonospace};
    std::lock_guard<std::recursive_mutex> lock(gLock);
    TGPFontFamily*& slot = gGeneric[which];
    if (!slot) {
        // The allocation starts GDI+ if need be, so the handle is asked after it.
        auto* f = new TGPFontFamily();
        f->lastResult = get[which](&f->nativeFamily);
        slot = f;
    }
    return slot;
}

// ---------------------------------------------------------------------------

void* TGdiplusBase::operator new(std::size_t size)
{
    if (void* p = GdipAlloc(size)) return p;
    {
        std::lock_guard<std::recursive_mutex> lock(gLock);
        StartLocked();
    }
    if (void* p = GdipAlloc(size)) return p;
    throw std::bad_alloc();
}

void TGdiplusBase::operator delete(void* p) noexcept { GdipFree(p); }

// ---------------------------------------------------------------------------

ARGB ARGBFromTColor(TColor Color)
{
    const uint32_t rgb = uint32_t(ColorToRGB(Color));
    const Byte r = Byte(rgb & 0xFF), g = Byte((rgb >> 8) & 0xFF), b = Byte((rgb >> 16) & 0xFF);
    return ComposeOpaqueARGB(r, g, b);
}

ARGB ComposeARGB(Byte A, Byte R, Byte G, Byte B)
{
    return (ARGB(A) << 24) | (ARGB(R) << 16) | (ARGB(G) << 8) | ARGB(B);
}

ARGB ComposeOpaqueARGB(Byte R, Byte G, Byte B) { return ComposeARGB(255, R, G, B); }

Byte ARGBRed(ARGB Color) { return Byte((Color >> 16) & 0xFF); }
Byte ARGBGreen(ARGB Color) { return Byte((Color >> 8) & 0xFF); }
Byte ARGBBlue(ARGB Color) { return Byte(Color & 0xFF); }

TGPPoint NewGPPoint(Integer X, Integer Y) { return TGPPoint{X, Y}; }

TGPRectF NewGPRectF(REAL X, REAL Y, REAL Width, REAL Height) { return TGPRectF{X, Y, Width, Height}; }
