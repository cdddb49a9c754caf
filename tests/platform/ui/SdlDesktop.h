// The desktop backend in the test's own process, on a virtual X server of
// the test's own.
#pragma once

#include <SDL.h>

#include <chrono>
#include <cstdlib>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include "XvfbSupport.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/BackendChoice.h"
#include "platform/ui/backend/Sdl.h"

struct TSdlDesktop {
    xvfb::TXvfb X;
    TSdlBackend* Sdl = nullptr;  // set once Start succeeded

    // Empty when the desktop backend runs, else why not.
    std::string Start()
    {
        std::string why = X.Start(xvfb::Clock::now() + std::chrono::seconds(30));
        if (!why.empty()) return why;
        setenv("DISPLAY", X.Display.c_str(), 1);
        setenv("SDL_VIDEODRIVER", "x11", 1);
        WmResetForTests();
        // SDL and the X libraries under it keep a desktop-bus connection
        // and input-method records for the life of the process: what they
        // allocate while the desktop is in use is not a leak of ours.
#if defined(__SANITIZE_ADDRESS__)
        __lsan_disable();
        FLsanOff = true;
#endif
        if (!InstallDefaultBackend()) return SDL_GetError();
        Sdl = static_cast<TSdlBackend*>(&Backend());
        return {};
    }
    void Stop()
    {
        if (Sdl) {
            WmResetForTests();
            SetBackend(nullptr);
            SDL_Quit();
            unsetenv("DISPLAY");
            Sdl = nullptr;
        }
#if defined(__SANITIZE_ADDRESS__)
        if (FLsanOff) __lsan_enable();
#endif
        FLsanOff = false;
    }

private:
    bool FLsanOff = false;
};
