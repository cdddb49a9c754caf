#include "controls/foundation/LibraryStartup.h"
#include "controls/chrome/VodMenus.h"
#include "controls/grid/VodGrid.h"

#include "controls/foundation/ThemeApiBinding.h"
#include "controls/foundation/VodGDIP.h"
#include "controls/foundation/VodTBXPVS.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Windows.h"

namespace {

// Written only by the start-up and shut-down, which run on the main thread
// before and after every control's life.
bool GStarted = false;
TLibraryRegistrations GRegs;
TStrCmpLogicalW GStrCmpLogicalW = nullptr;

// The binders of the theme-using families, in their start-up order. They
// share one table, so the first binds and the rest find it bound; at
// shut-down the first unbinding frees the library and the rest find nothing
// to do.
constexpr int KThemeBinders = 6;   // buttons, edit buttons, VodUtil/grid, drop-downs, panel, combo

void LookUpStrCmpLogicalW()
{
    // Only when some part of the program has loaded shlwapi already: the
    // library is not loaded for this.
    GStrCmpLogicalW = nullptr;
    if (HMODULE shlwapi = GetModuleHandle(L"shlwapi.dll"))
        GStrCmpLogicalW = reinterpret_cast<TStrCmpLogicalW>(GetProcAddress(shlwapi, "StrCmpLogicalW"));
}

void RegisterToolBarNames()
{
    GRegs.ToolBarTones[0] = EmptyColorTones();
    GRegs.ToolBarTones[1] = EmptyColorTones();
    GRegs.TBCompactWinHide = RegisterWindowMessage(L"TBCompactWinHide");
    GRegs.TBSetAeroVista = RegisterWindowMessage(L"TBSetAeroVista");
    GRegs.TBPSetIgnoreALT = RegisterWindowMessage(L"TBPSetIgnoreALT");
    GRegs.TBFUpdateContextMenu = RegisterWindowMessage(L"TBFUpdateContextMenu");
    GRegs.TBSetMetro = RegisterWindowMessage(L"TBSetMetro");
    GRegs.TBRevertMetro = RegisterWindowMessage(L"TBRevertMetro");
    GRegs.TBSetOffice2013 = RegisterWindowMessage(L"TBSetOffice2013");
    GRegs.TBShowShortCutHint = RegisterWindowMessage(L"TBShowShortCutHint");
}

void FreeSpareModules()
{
    for (HMODULE& m : GRegs.SpareModules)
        if (m) {
            FreeLibrary(m);
            m = nullptr;
        }
}

}  // namespace

void VodLibraryStartup()
{
    if (GStarted) return;
    GStarted = true;

    // 1. GDI+ first: every wrapper made from here on finds it running.
    VodGdipStartup();

    // 2. The theme-API binders.
    for (int i = 0; i < KThemeBinders; ++i) BindThemeAPI();

    // 3. The units' registrations, in unit order.
    LookUpStrCmpLogicalW();                                           // VodUtil
    GRegs.ClearHintControl = RegisterWindowMessage(L"ClearHintControl");   // hint unit
    VodTBXPVS::Startup();                                             // tool bar's theme binding
    RegisterToolBarNames();                                           // tool bar unit
    GRegs.GdipFillClipboardFormat = RegisterClipboardFormat(L"GDI+ Fill");  // fill unit
    VodMenusStartup();                                                // menu unit: animation off
    VodGridStartup();                                                 // grid unit: OLE, hook, registrations
}

void VodLibraryShutdown()
{
    if (!GStarted) return;

    // 3. The registrations, last unit first.
    VodGridShutdown();                                                // grid unit
    VodMenusShutdown();                                               // menu unit: animation back
    FreeSpareModules();
    // (fill unit, tool bar unit: nothing to undo)
    VodTBXPVS::Shutdown();
    // (hint unit, VodUtil: nothing to undo)

    // 2. The binders, last first.
    for (int i = 0; i < KThemeBinders; ++i) UnbindThemeAPI();

    // 1. GDI+ last.
    // (the shared generic font families are freed first)
    VodGdipShutdown();

    GStarted = false;
}

bool VodLibraryStarted() { return GStarted; }

const TLibraryRegistrations& LibraryRegistrations() { return GRegs; }

TStrCmpLogicalW LibraryStrCmpLogicalW() { return GStrCmpLogicalW; }
