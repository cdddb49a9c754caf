// The control library's start-up and shut-down: one explicit call, made by
// the application before it creates its windows and by the test mains, runs
// the units' start-up work in a fixed order (C++ fixes no order between
// static initialisers of different files, so none of it lives in one):
//
//   1. GDI+ starts;
//   2. the theme-API binders, in their order (one shared table stands for all);
//   3. the units' registrations, in unit order: StrCmpLogicalW looked up (only
//      when "shlwapi.dll" is already loaded), the hint unit's message, the tool
//      bar's theme binding (VodTBXPVS), the tool bar's tones and messages, the
//      fill unit's clipboard format, the menu unit, the grid unit (OLE, its
//      window-procedure hook, its classes, clipboard format and messages).
//
// Shut-down runs the same steps in reverse.
#pragma once

#include "controls/foundation/VodStyleIF.h"
#include "platform/os/Modules.h"

// Runs the start-up once; a further call before VodLibraryShutdown does nothing.
void VodLibraryStartup();
// Runs the shut-down when the start-up ran; otherwise nothing.
void VodLibraryShutdown();
bool VodLibraryStarted();

// The numbers the units register at start-up. Nothing sends or reads them;
// they only need to exist. 0 before the start-up.
struct TLibraryRegistrations {
    UINT ClearHintControl = 0;        // "ClearHintControl" (hint unit)
    UINT TBCompactWinHide = 0;        // the tool bar unit's, in its order
    UINT TBSetAeroVista = 0;
    UINT TBPSetIgnoreALT = 0;
    UINT TBFUpdateContextMenu = 0;
    UINT TBSetMetro = 0;
    UINT TBRevertMetro = 0;
    UINT TBSetOffice2013 = 0;
    UINT TBShowShortCutHint = 0;
    UINT GdipFillClipboardFormat = 0;  // "GDI+ Fill" (fill unit)
    // The tool bar unit's two tone records, all clNone from the start-up on.
    TColorTones ToolBarTones[2] = {EmptyColorTones(), EmptyColorTones()};
    // Two library handles freed at shut-down when set (nothing sets them).
    HMODULE SpareModules[2] = {nullptr, nullptr};
};
const TLibraryRegistrations& LibraryRegistrations();

// shlwapi's StrCmpLogicalW as the start-up found it: null when "shlwapi.dll"
// was not loaded then (NaturalCompareStr then compares ordinally).
using TStrCmpLogicalW = int (*)(const Char* a, const Char* b);
TStrCmpLogicalW LibraryStrCmpLogicalW();
