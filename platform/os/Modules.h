// Library modules as a Windows program probes them. No shared object is
// loaded: each known library name maps to a table of our own functions, so
// "is this function there?" gets the answer of the platform profile (an NT
// 6.1 system with visual styles): uxtheme.dll (every function of
// platform/ui/Themes.h), kernel32 (GetLocaleInfoEx), shlwapi.dll
// (StrCmpLogicalW), user32 (UpdateLayeredWindow, SetLayeredWindowAttributes),
// ntdll (RtlGetVersion), comctl32 (present, without the flat scroll bar
// functions), gdi32, ole32, shell32.
//
// Functions implemented in higher layers are entered at start-up with
// RegisterModuleExport; GetProcAddress then hands them out.
#pragma once

#include <string>

#include "platform/base/Types.h"

using HMODULE = void*;
using HINSTANCE = void*;
using FARPROC = void*;

// Names are compared without regard to case; a missing extension means
// ".dll"; a folder part is ignored. Unknown libraries answer null.
HMODULE LoadLibrary(const Char* fileName);
// The same lookup without loading; null asks for the program itself.
HMODULE GetModuleHandle(const Char* moduleName);
FARPROC GetProcAddress(HMODULE module, const char* procName);
BOOL FreeLibrary(HMODULE module);

// Enters (or replaces) an export of a library; the library becomes known if
// it was not. fn null removes the export.
void RegisterModuleExport(const String& module, const std::string& name, void* fn);

// Test aid: a hidden library is one the system does not have. LoadLibrary and
// GetModuleHandle answer null for it until it is shown again; handles taken
// before keep working. Names as for LoadLibrary.
void SetModuleHidden(const String& module, bool hidden);

// shlwapi's StrCmpLogicalW is the one of platform/base/SysUtils.h.
// The built-in export that lives nowhere else:
// Locale data by name: answers 0 (nothing known) for every request; its
// presence is what programs test for.
int GetLocaleInfoEx(const Char* localeName, DWORD lcType, Char* data, int size);
