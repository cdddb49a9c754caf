// Library modules: the test aid that hides a library, and the exports the
// control library binds by name.
#include <gtest/gtest.h>

#include "platform/os/Modules.h"

TEST(Modules, AHiddenLibraryIsMissingUntilShownAgain)
{
    HMODULE before = LoadLibrary(L"shlwapi.dll");
    ASSERT_NE(before, nullptr);
    SetModuleHidden(L"SHLWAPI", true);
    EXPECT_EQ(LoadLibrary(L"shlwapi.dll"), nullptr);
    EXPECT_EQ(GetModuleHandle(L"c:\\windows\\system32\\ShlWApi.DLL"), nullptr);
    // A handle taken before keeps answering; other libraries are untouched.
    EXPECT_NE(GetProcAddress(before, "StrCmpLogicalW"), nullptr);
    EXPECT_NE(GetModuleHandle(L"kernel32"), nullptr);
    SetModuleHidden(L"nosuchlibrary.dll", true);   // unknown: nothing happens
    EXPECT_EQ(LoadLibrary(L"nosuchlibrary.dll"), nullptr);
    SetModuleHidden(L"shlwapi.dll", false);
    EXPECT_EQ(LoadLibrary(L"shlwapi"), before);
}
