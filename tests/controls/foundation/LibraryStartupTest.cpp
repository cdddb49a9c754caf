// The library start-up: its registrations in unit order, the optional
// StrCmpLogicalW, and a shut-down that undoes the bindings.
#include <gtest/gtest.h>

#include "controls/foundation/LibraryStartup.h"
#include "controls/foundation/ThemeApiBinding.h"
#include "controls/foundation/VodTBXPVS.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Windows.h"

TEST(LibraryStartup, RegistersTheUnitsNamesInUnitOrder)
{
    ASSERT_TRUE(VodLibraryStarted());
    const TLibraryRegistrations& r = LibraryRegistrations();
    // New names get rising numbers, so the numbers show the order in which
    // they were registered: the hint unit, the tool bar unit, the fill unit.
    const UINT order[] = {r.ClearHintControl,  r.TBCompactWinHide,   r.TBSetAeroVista,
                          r.TBPSetIgnoreALT,   r.TBFUpdateContextMenu, r.TBSetMetro,
                          r.TBRevertMetro,     r.TBSetOffice2013,    r.TBShowShortCutHint,
                          r.GdipFillClipboardFormat};
    EXPECT_GE(order[0], 0xC000u);
    for (size_t i = 1; i < std::size(order); ++i) EXPECT_LT(order[i - 1], order[i]) << i;
    // The same name gives the same number (whoever registered it first).
    EXPECT_EQ(RegisterWindowMessage(L"clearhintcontrol"), r.ClearHintControl);
    EXPECT_EQ(RegisterWindowMessage(L"TBShowShortCutHint"), r.TBShowShortCutHint);
    EXPECT_EQ(RegisterClipboardFormat(L"GDI+ Fill"), r.GdipFillClipboardFormat);

    for (const TColorTones& t : r.ToolBarTones) EXPECT_EQ(t, EmptyColorTones());
    EXPECT_EQ(r.SpareModules[0], nullptr);
    EXPECT_EQ(r.SpareModules[1], nullptr);

    // Starting again while started does nothing.
    VodLibraryStartup();
    EXPECT_EQ(VodTBXPVS::BindCount(), 1);
    EXPECT_EQ(LibraryRegistrations().ClearHintControl, order[0]);
}

TEST(LibraryStartup, StrCmpLogicalWOnlyWhenShlwapiIsLoadedAtStartUp)
{
    using Cmp = int (*)(const Char*, const Char*);
    ASSERT_NE(LibraryStrCmpLogicalW(), nullptr);
    EXPECT_EQ(LibraryStrCmpLogicalW(),
              reinterpret_cast<Cmp>(GetProcAddress(GetModuleHandle(L"shlwapi.dll"), "StrCmpLogicalW")));
    EXPECT_LT(LibraryStrCmpLogicalW()(L"file2", L"file10"), 0);

    // Shut down (every binding undone), then start without shlwapi.
    VodLibraryShutdown();
    EXPECT_FALSE(VodLibraryStarted());
    EXPECT_FALSE(ThemeAPILoaded());
    EXPECT_EQ(VodTBXPVS::BindCount(), 0);
    EXPECT_FALSE(VodTBXPVS::Loaded());
    VodLibraryShutdown();   // not started: nothing

    SetModuleHidden(L"shlwapi.dll", true);
    VodLibraryStartup();
    SetModuleHidden(L"shlwapi.dll", false);
    EXPECT_EQ(LibraryStrCmpLogicalW(), nullptr);
    EXPECT_TRUE(ThemeAPILoaded());
    EXPECT_EQ(VodTBXPVS::BindCount(), 1);

    // And back as the test main left it.
    VodLibraryShutdown();
    VodLibraryStartup();
    EXPECT_NE(LibraryStrCmpLogicalW(), nullptr);
}
