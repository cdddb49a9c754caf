// Executable version information and the system version the platform
// answers with.
//
// Our executables carry their version texts in an ELF section named
// ".velver" (written by cmake/VelVersion.cmake); GetFileVersionInfo reads
// it from the file and hands out a self-contained block that VerQueryValue
// answers from:
//   "\"                                   -> VS_FIXEDFILEINFO
//   "\VarFileInfo\Translation"            -> DWORD pairs of language and code page
//   "\StringFileInfo\040904E4\ProductName" -> the text (wide, zero-ended)
// The common-controls library ("comctl32.dll") answers version 6.0.
#pragma once

#include "platform/base/SysUtils.h"
#include "platform/base/Types.h"

constexpr DWORD VS_FFI_SIGNATURE = 0xFEEF04BD;
constexpr DWORD VS_FFI_STRUCVERSION = 0x00010000;
constexpr DWORD VS_FFI_FILEFLAGSMASK = 0x0000003F;
constexpr DWORD VS_FF_DEBUG = 0x00000001;
constexpr DWORD VS_FF_PRERELEASE = 0x00000002;
constexpr DWORD VOS_NT_WINDOWS32 = 0x00040004;
constexpr DWORD VFT_APP = 0x00000001;
constexpr DWORD VFT_DLL = 0x00000002;

struct VS_FIXEDFILEINFO {
    DWORD dwSignature = VS_FFI_SIGNATURE;
    DWORD dwStrucVersion = VS_FFI_STRUCVERSION;
    DWORD dwFileVersionMS = 0;
    DWORD dwFileVersionLS = 0;
    DWORD dwProductVersionMS = 0;
    DWORD dwProductVersionLS = 0;
    DWORD dwFileFlagsMask = VS_FFI_FILEFLAGSMASK;
    DWORD dwFileFlags = 0;
    DWORD dwFileOS = VOS_NT_WINDOWS32;
    DWORD dwFileType = VFT_APP;
    DWORD dwFileSubtype = 0;
    DWORD dwFileDateMS = 0;
    DWORD dwFileDateLS = 0;
};
using TVSFixedFileInfo = VS_FIXEDFILEINFO;

// Size of the version block of the file, 0 when it has none (or cannot be
// read). handle, when given, is set to 0.
DWORD GetFileVersionInfoSize(const Char* fileName, DWORD* handle);
// Copies the block into data; FALSE when the file has none or len is smaller
// than GetFileVersionInfoSize.
BOOL GetFileVersionInfo(const Char* fileName, DWORD handle, DWORD len, void* data);
// Finds a value in a block; buffer points into the block. len: bytes for the
// fixed information and the translation table, characters (with the ending
// zero) for texts. The leading backslash is optional; names are compared
// without regard to case.
BOOL VerQueryValue(const void* block, const Char* subBlock, void** buffer, UINT* len);

// Builds the text of a ".velver" section (used by the build's generator and
// by tests): "Key=Value" lines after a first line "VELVERSION 1".
// GetFileVersionInfo reads a section of this form.
struct TVersionTexts {
    String CompanyName, FileDescription, FileVersion, InternalName, LegalCopyright,
        LegalTrademarks, OriginalFilename, ProductName, ProductVersion, Comments;
    String Translation = L"040904E4";
};
// A block from texts (the form GetFileVersionInfo returns); for tests and
// for the built-in library blocks.
std::string MakeVersionBlock(const TVersionTexts& texts, const VS_FIXEDFILEINFO& fixed);
// Parses a ".velver" section; false when it is malformed.
bool ParseVersionSection(const std::string& section, TVersionTexts& texts);

// ---------------------------------------------------------------------------
// System version: an NT-family 6.1 workstation.

constexpr DWORD VER_PLATFORM_WIN32s = 0;
constexpr DWORD VER_PLATFORM_WIN32_WINDOWS = 1;
constexpr DWORD VER_PLATFORM_WIN32_NT = 2;
constexpr Byte VER_NT_WORKSTATION = 1;
constexpr Byte VER_NT_DOMAIN_CONTROLLER = 2;
constexpr Byte VER_NT_SERVER = 3;

struct OSVERSIONINFO {
    DWORD dwOSVersionInfoSize = sizeof(OSVERSIONINFO);
    DWORD dwMajorVersion = 0;
    DWORD dwMinorVersion = 0;
    DWORD dwBuildNumber = 0;
    DWORD dwPlatformId = 0;
    Char szCSDVersion[128] = {};
};

struct OSVERSIONINFOEX : OSVERSIONINFO {
    OSVERSIONINFOEX() { dwOSVersionInfoSize = sizeof(OSVERSIONINFOEX); }
    Word wServicePackMajor = 0;
    Word wServicePackMinor = 0;
    Word wSuiteMask = 0;
    Byte wProductType = 0;
    Byte wReserved = 0;
};
using TOSVersionInfo = OSVERSIONINFO;
using TOSVersionInfoEx = OSVERSIONINFOEX;

// Fills the record by its dwOSVersionInfoSize (the extended fields only when
// it is the size of OSVERSIONINFOEX); FALSE for any other size.
BOOL GetVersionEx(OSVERSIONINFO* info);
// The system library's variant: the same answers; 0 (success) or a failure code.
LONG RtlGetVersion(OSVERSIONINFO* info);

// The folders a Windows program asks for, answered with Linux equivalents:
// the Windows folder is "/usr", the system folder "/usr/lib". Answer the
// length written (without the zero), or the size needed when size is too
// small.
UINT GetWindowsDirectory(Char* buffer, UINT size);
UINT GetSystemDirectory(Char* buffer, UINT size);

// ---------------------------------------------------------------------------
// File times (100 ns units since 1601-01-01, UTC).

struct FILETIME {
    DWORD dwLowDateTime = 0;
    DWORD dwHighDateTime = 0;
};
using TFileTime = FILETIME;

// SYSTEMTIME and SystemTimeToDateTime live in platform/base.
BOOL FileTimeToSystemTime(const FILETIME* fileTime, SYSTEMTIME* systemTime);
