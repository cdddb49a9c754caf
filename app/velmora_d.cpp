// The downloader's entry point: the backend, the application object, the
// windows in their order, the message loop.
#include <cstdio>

#include "app/ItemList.h"
#include "app/InfoWindow.h"
#include "app/MainWindow.h"
#include "app/WaitWindow.h"
#include "app/ProxyWindow.h"
#include "controls/foundation/LibraryStartup.h"
#include "platform/os/AutomationServers.h"
#include "platform/ui/Forms.h"
#include "platform/ui/backend/BackendChoice.h"

int main()
{
    // A file size limit fails the download's write instead of killing us.
    IgnoreFileSizeSignal();
    // Units that bind drawing or theme services at start-up do it here,
    // before the first window.
    InstallDefaultBackend();
    InitForms();
    VodLibraryStartup();
    RegisterAutomationServers();

    Application->Initialize();
    Application->SetTitle(kApplicationTitle);
    Application->CreateForm(_mainForm);
    Application->CreateForm(_proxyForm);
    Application->CreateForm(_waitForm);
    Application->CreateForm(_InfoForm);
    Application->Run();

    item_list.Clear();
    VodLibraryShutdown();
    return 0;
}
