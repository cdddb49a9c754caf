// Resources compiled into the executable: (type, name or number) -> bytes.
// The CMake function vel_add_resources (cmake/VelResources.cmake) turns files
// into registrations that run at start-up; tests may register their own.
#pragma once

#include <cstddef>

#include "platform/base/Types.h"

using HINSTANCE = void*;
using HMODULE = HINSTANCE;
// The executable itself: every resource lives in it.
inline constexpr HINSTANCE HInstance = nullptr;

// A resource type or name: a number (MAKEINTRESOURCE) or a text. Names are
// compared without case; the text "#123" means the number 123.
struct TResId {
    TResId(int id) : Id(Word(id)), IsNumber(true) {}
    TResId(const wchar_t* name);
    TResId(const String& name) : TResId(name.c_str()) {}

    Word Id = 0;
    String Name;
    bool IsNumber = false;

    // The name, or "#<number>".
    String ToString() const;
    friend bool operator==(const TResId& a, const TResId& b);
};

inline TResId MAKEINTRESOURCE(int id) { return TResId(id); }

inline const TResId RT_CURSOR{1};
inline const TResId RT_BITMAP{2};
inline const TResId RT_ICON{3};
inline const TResId RT_MENU{4};
inline const TResId RT_DIALOG{5};
inline const TResId RT_STRING{6};
inline const TResId RT_FONT{8};
inline const TResId RT_RCDATA{10};
inline const TResId RT_GROUP_CURSOR{12};
inline const TResId RT_GROUP_ICON{14};
inline const TResId RT_VERSION{16};

struct TResourceEntry {
    TResId Type;
    TResId Name;
    const Byte* Data;
    size_t Size;
};
using HRSRC = const TResourceEntry*;

// Data must stay valid for the life of the process (static arrays). A
// later registration of the same type and name replaces the earlier one.
void RegisterResource(const TResId& Type, const TResId& Name, const void* Data, size_t Size);

// Null when there is no such resource.
HRSRC FindResource(HINSTANCE Instance, const TResId& Name, const TResId& Type);
// The resource's bytes (read-only), null for a null resource.
const void* LoadResource(HINSTANCE Instance, HRSRC Res);
inline const void* LockResource(const void* ResData) { return ResData; }
DWORD SizeofResource(HINSTANCE Instance, HRSRC Res);
