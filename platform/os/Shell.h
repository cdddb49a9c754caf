// Shell services: opening documents, addresses and folders with the
// desktop's default program, showing a file selected in the file manager,
// the user's special folders and file-type information.
//
// The default program is started as an argument vector (xdg-open by
// default), never through a shell. Tests point the opener and the D-Bus
// caller at programs of their own with SetShellOpenCommand and
// SetShellShowItemsCommand.
#pragma once

#include <vector>

#include "platform/base/Handles.h"
#include "platform/base/Types.h"

using HWND = struct TWindowHandle*;   // the window layer's handle type
using HINSTANCE = void*;

// ShellExecute answers a value above 32 on success, else one of these.
constexpr intptr_t SE_ERR_FNF = 2;
constexpr intptr_t SE_ERR_PNF = 3;
constexpr intptr_t SE_ERR_ACCESSDENIED = 5;
constexpr intptr_t SE_ERR_OOM = 8;
constexpr intptr_t SE_ERR_NOASSOC = 31;

// Opens file (an address such as "http://..." or "mailto:...", a file or a
// folder) with the default program. operation: null, "open" or "explore"
// ("explore" of a file opens its folder); other verbs answer SE_ERR_NOASSOC.
// "explorer.exe" with the parameters "/select,<file>" shows the file in the
// file manager. A local file that does not exist answers SE_ERR_FNF.
// parameters are otherwise ignored (no program is started with them);
// directory, when given, makes a relative file name relative to it.
// showCmd is accepted and ignored.
HINSTANCE ShellExecute(HWND hwnd, const Char* operation, const Char* file, const Char* parameters,
                       const Char* directory, int showCmd);

constexpr DWORD SEE_MASK_DEFAULT = 0x00000000;
constexpr DWORD SEE_MASK_NOCLOSEPROCESS = 0x00000040;
constexpr DWORD SEE_MASK_FLAG_NO_UI = 0x00000400;
constexpr DWORD SEE_MASK_NOASYNC = 0x00000100;

struct SHELLEXECUTEINFO {
    DWORD cbSize = sizeof(SHELLEXECUTEINFO);
    DWORD fMask = 0;
    HWND hwnd = nullptr;
    const Char* lpVerb = nullptr;
    const Char* lpFile = nullptr;
    const Char* lpParameters = nullptr;
    const Char* lpDirectory = nullptr;
    int nShow = 0;
    HINSTANCE hInstApp = nullptr;   // the ShellExecute-style result
    // With SEE_MASK_NOCLOSEPROCESS: the started opener's process, for
    // WaitForSingleObject; the caller closes it.
    HANDLE hProcess = nullptr;
};
using TShellExecuteInfo = SHELLEXECUTEINFO;

BOOL ShellExecuteEx(SHELLEXECUTEINFO* info);

// Shows the file selected in the file manager (the FileManager1 ShowItems
// call over D-Bus); when that is not available, opens the file's folder.
// Answers false when neither could be started.
bool ShowFileInFileManager(const String& path);

// The program (and leading arguments) that opens a target; the target is
// appended as the last argument. Empty restores the default, xdg-open.
void SetShellOpenCommand(const std::vector<String>& command);
// The program that asks the file manager to show items; the file's
// "file://" address is appended as the last argument, and an exit code of 0
// means it was shown. Empty restores the default (gdbus, else dbus-send).
void SetShellShowItemsCommand(const std::vector<String>& command);

// ---------------------------------------------------------------------------
// Special folders

constexpr int MAX_PATH = 260;
constexpr int CSIDL_DESKTOP = 0x0000;
constexpr int CSIDL_PERSONAL = 0x0005;       // the documents folder
constexpr int CSIDL_MYDOCUMENTS = CSIDL_PERSONAL;
constexpr int CSIDL_MYMUSIC = 0x000D;
constexpr int CSIDL_MYVIDEO = 0x000E;
constexpr int CSIDL_DESKTOPDIRECTORY = 0x0010;
constexpr int CSIDL_APPDATA = 0x001A;
constexpr int CSIDL_LOCAL_APPDATA = 0x001C;
constexpr int CSIDL_MYPICTURES = 0x0027;
constexpr int CSIDL_PROFILE = 0x0028;
constexpr int CSIDL_FLAG_CREATE = 0x8000;

// Writes the folder (without a trailing delimiter) into path, which holds
// MAX_PATH characters. create makes the folder when it is missing. FALSE for
// an unknown folder id or a path too long.
BOOL SHGetSpecialFolderPath(HWND hwnd, Char* path, int csidl, BOOL create);

// ---------------------------------------------------------------------------
// File information

constexpr UINT SHGFI_LARGEICON = 0x000000;
constexpr UINT SHGFI_SMALLICON = 0x000001;
constexpr UINT SHGFI_OPENICON = 0x000002;
constexpr UINT SHGFI_USEFILEATTRIBUTES = 0x000010;
constexpr UINT SHGFI_ICON = 0x000100;
constexpr UINT SHGFI_DISPLAYNAME = 0x000200;
constexpr UINT SHGFI_TYPENAME = 0x000400;
constexpr UINT SHGFI_ATTRIBUTES = 0x000800;
constexpr UINT SHGFI_SYSICONINDEX = 0x004000;

constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x01;
constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x02;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;

// Our own small icon set: the system image list holds one icon per kind, at
// these indexes (the image-list layer draws them).
enum TShellIconKind {
    siFile = 0, siFolder, siVideo, siAudio, siImage, siText, siArchive, siProgram, siDocument,
    siShellIconCount
};

struct SHFILEINFO {
    void* hIcon = nullptr;   // never set: icons come from the system image list
    int iIcon = 0;
    DWORD dwAttributes = 0;
    Char szDisplayName[MAX_PATH] = {};
    Char szTypeName[80] = {};
};
using TSHFileInfo = SHFILEINFO;

class TCustomImageList;

// The system image lists: our own icon set, one icon per TShellIconKind at
// its index, 32x32 (large) or 16x16 (small). They live for the whole
// process; callers draw from them and never free them.
TCustomImageList* ShellSystemImageList(bool small);

// Fills info for a file or folder (with SHGFI_USEFILEATTRIBUTES the file
// need not exist: its name and attributes decide). Answers the system image
// list (an HIMAGELIST, as uintptr_t) with SHGFI_SYSICONINDEX, else 1 on
// success; 0 on failure. An empty path with SHGFI_SYSICONINDEX answers the
// list alone.
uintptr_t SHGetFileInfo(const Char* path, DWORD fileAttributes, SHFILEINFO* info, UINT infoSize, UINT flags);
// The kind of icon a file name gets, by its extension.
TShellIconKind ShellIconKindOf(const String& fileName, bool folder);
