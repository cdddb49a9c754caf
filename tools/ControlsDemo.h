// The frame the control library's demo programs share: the desktop backend,
// the library and the forms started, one form of the demo's class made by
// the application, the demo's set-up before and after it shows, the desktop
// loop (tools/DemoLoop.h) with the demo's announcement, and everything shut
// down again in the reverse order.
#pragma once

#include <functional>

#include "controls/foundation/LibraryStartup.h"
#include "tools/DemoLoop.h"

template <class TDemoFormClass>
int RunControlsDemo(const char* Name, int argc, char** argv,
                    const std::function<void(TDemoFormClass*)>& BeforeShow = {},
                    const std::function<void(TDemoFormClass*)>& AfterShow = {},
                    const std::function<void(TDemoFormClass*)>& Announce = {})
{
    if (!StartDemoBackend(Name)) return 2;
    VodLibraryStartup();
    InitForms();
    TDemoFormClass* form = nullptr;
    Application->CreateForm(form);
    if (BeforeShow) BeforeShow(form);
    form->Show();
    if (AfterShow) AfterShow(form);
    std::function<void()> announce;
    if (Announce) announce = [form, &Announce] { Announce(form); };
    RunDemoLoop(form, DemoSeconds(argc, argv), announce);
    DoneForms();
    VodLibraryShutdown();
    return 0;
}
