// The application's tests run between the control library's start-up and
// its shut-down, as velmora_d does around its windows.
#include <gtest/gtest.h>

#include "controls/foundation/LibraryStartup.h"
#include "platform/os/AutomationServers.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    VodLibraryStartup();
    RegisterAutomationServers();
    int rc = RUN_ALL_TESTS();
    VodLibraryShutdown();
    return rc;
}
