// The choice of backend at application start-up.
#include "platform/ui/backend/BackendChoice.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>

#include "platform/ui/backend/Headless.h"
#include "platform/ui/backend/Sdl.h"

namespace {
bool HasDisplay()
{
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* v = std::getenv(name);
        if (v && *v) return true;
    }
    return false;
}
// The video drivers that can show a window from a memory framebuffer of
// their own (X11 through shared memory or plain images).
bool HasMemoryFramebuffer(const char* driver)
{
    if (!driver) return false;
    for (const char* name : {"x11", "offscreen", "dummy"})
        if (std::strcmp(driver, name) == 0) return true;
    return false;
}
}  // namespace

bool InstallDefaultBackend()
{
    if (HasDisplay()) {
        // Ctrl+C and termination signals keep their usual meaning.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        // Our windows manage their own activation; a hidden window must not
        // end the program when SDL thinks it was the last one.
        SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
        // A click on an inactive window is a click too, as on Windows.
        SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
            // Windows are shown by copying their pixels from memory into the
            // window's own surface: no accelerated framebuffer is wanted.
            // Left to itself, the first SDL_GetWindowSurface probes for one
            // and loads an OpenGL stack (threads, start-up time, memory) only
            // to copy the same pixels. Drivers without a memory framebuffer
            // of their own (Wayland) keep the accelerated one they need.
            if (HasMemoryFramebuffer(SDL_GetCurrentVideoDriver()))
                SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
            SetBackend(new TSdlBackend);
            return true;
        }
    }
    SetBackend(new THeadlessBackend);
    return false;
}
