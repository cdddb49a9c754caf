// The desktop loop the demo programs share. A smoke test starts a demo on a
// virtual X server and reads its standard output: once the desktop has the
// window, the demo prints whatever its Announce callback prints (checks of
// its own, "POINT name x y rrggbb"), then "READY left top width height" with
// the client area's place on screen. The demo runs until its form closes or
// "--seconds N" (default 60) have passed.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "platform/ui/Forms.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/BackendChoice.h"
#include "platform/ui/backend/Sdl.h"

inline int DemoSeconds(int argc, char** argv)
{
    int seconds = 60;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) seconds = std::atoi(argv[++i]);
    return seconds;
}

// False (and a line on standard error) when there is no display.
inline bool StartDemoBackend(const char* name)
{
    if (InstallDefaultBackend()) return true;
    std::fprintf(stderr, "%s: no display to show windows on\n", name);
    return false;
}

inline void RunDemoLoop(TCustomForm* form, int seconds, const std::function<void()>& announce = {})
{
    auto* sdl = dynamic_cast<TSdlBackend*>(&Backend());
    const DWORD start = GetTickCount();
    bool announced = false;
    while (!Application->Terminated() && IsWindow(form->Handle())) {
        Application->ProcessMessages();
        if (!announced && (!sdl || sdl->SdlWindowOf(form->Handle()))) {
            WmUpdateAllWindows();
            if (sdl) sdl->Flush();
            if (announce) announce();
            const TPoint o = form->ClientOrigin();
            std::printf("READY %d %d %d %d\n", o.X, o.Y, form->ClientWidth(), form->ClientHeight());
            std::fflush(stdout);
            announced = true;
        }
        if (sdl) sdl->PumpEvents(20);
        if (int32_t(GetTickCount() - start) > seconds * 1000) break;
    }
}
