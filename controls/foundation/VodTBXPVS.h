// VodTBXPVS: the tool bar's own theme-API binding. It binds the same theme
// functions as the shared table (all but GetThemePartSize) under a lock of
// its own and counts its bindings, so another thread may bind and release
// too.
#pragma once

#include "controls/foundation/ThemeApiBinding.h"

namespace VodTBXPVS {

struct TTable {
    VEL_THEME_API_FIRST(VEL_THEME_API_ENTRY)
    VEL_THEME_API_LAST(VEL_THEME_API_ENTRY)
};

// A copy of the table, taken under the lock (all empty while unbound).
TTable ThemeAPI();
bool Loaded();
// Successful bindings not yet released.
Integer BindCount();

// Under the lock: loads "UXTHEME.DLL" and fills the table. A successful load
// adds one to the count; a failed one changes nothing.
void BindThemeAPI();
// Under the lock: takes one from the count when it is positive, and frees the
// library when it is loaded (so the first release frees it).
void ReleaseThemeAPI();

// Library start-up: binds. Shut-down: releases until the count is 0.
void Startup();
void Shutdown();

}  // namespace VodTBXPVS
