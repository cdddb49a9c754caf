// The folder browser: SHBrowseForFolder shows a modal dialog of ours that
// lists and walks folders, and answers the chosen one as an item list
// (PIDL). Item lists are opaque blocks of task memory: CoTaskMemFree,
// ILFree or the shell allocator free them; SHGetPathFromIDList reads the
// path back.
#pragma once

#include <cstddef>

#include "platform/base/Interfaces.h"
#include "platform/ui/Windows.h"

// An item list: opaque. Ours hold one file-system path.
struct ITEMIDLIST;
using LPITEMIDLIST = ITEMIDLIST*;
using LPCITEMIDLIST = const ITEMIDLIST*;
using PIDLIST_ABSOLUTE = ITEMIDLIST*;
using PCIDLIST_ABSOLUTE = const ITEMIDLIST*;

// Task memory: a block from CoTaskMemAlloc, freed by CoTaskMemFree (null is fine).
void* CoTaskMemAlloc(size_t size);
void CoTaskMemFree(void* p);

// The shell's allocator (frees item lists, like CoTaskMemFree).
struct IMalloc : virtual IUnknown {
    static constexpr TGUID IID = MakeGUID("{00000002-0000-0000-C000-000000000046}");
    virtual void* Alloc(size_t size) = 0;
    virtual void* Realloc(void* p, size_t size) = 0;
    virtual void Free(void* p) = 0;
    virtual size_t GetSize(void* p) = 0;
    virtual int DidAlloc(void* p) = 0;
    virtual void HeapMinimize() = 0;
};
HRESULT SHGetMalloc(IMalloc** malloc);

// The item list of a folder or file path (null for an empty path).
PIDLIST_ABSOLUTE ILCreateFromPath(const wchar_t* path);
void ILFree(LPITEMIDLIST pidl);
// Writes the item list's path into path (room for 260 characters, the
// platform's MAX_PATH). FALSE for anything that is not one of our item
// lists or a path that does not fit (path then holds an empty string).
BOOL SHGetPathFromIDList(PCIDLIST_ABSOLUTE pidl, wchar_t* path);
inline BOOL SHGetPathFromIDListW(PCIDLIST_ABSOLUTE pidl, wchar_t* path) { return SHGetPathFromIDList(pidl, path); }

// Flags of BROWSEINFO.ulFlags.
enum : UINT {
    BIF_RETURNONLYFSDIRS = 0x0001, BIF_DONTGOBELOWDOMAIN = 0x0002, BIF_STATUSTEXT = 0x0004,
    BIF_RETURNFSANCESTORS = 0x0008, BIF_EDITBOX = 0x0010, BIF_VALIDATE = 0x0020,
    BIF_NEWDIALOGSTYLE = 0x0040, BIF_USENEWUI = 0x0050, BIF_BROWSEINCLUDEURLS = 0x0080,
    BIF_UAHINT = 0x0100, BIF_NONEWFOLDERBUTTON = 0x0200, BIF_NOTRANSLATETARGETS = 0x0400,
    BIF_BROWSEFORCOMPUTER = 0x1000, BIF_BROWSEFORPRINTER = 0x2000, BIF_BROWSEINCLUDEFILES = 0x4000,
    BIF_SHAREABLE = 0x8000,
};

// The callback's messages (uMsg) and the messages it may send the dialog.
enum : UINT {
    BFFM_INITIALIZED = 1, BFFM_SELCHANGED = 2, BFFM_VALIDATEFAILEDW = 4,
    BFFM_ENABLEOK = WM_USER + 101, BFFM_SETSELECTIONW = WM_USER + 103, BFFM_SETSTATUSTEXTW = WM_USER + 104,
    BFFM_SETOKTEXT = WM_USER + 105, BFFM_SETEXPANDED = WM_USER + 106,
    BFFM_SETSELECTION = BFFM_SETSELECTIONW, BFFM_SETSTATUSTEXT = BFFM_SETSTATUSTEXTW,
};

// hwnd is the dialog; lParam an item list (BFFM_SELCHANGED, valid during
// the call only) or 0; lpData is BROWSEINFO.lParam.
using BFFCALLBACK = int (*)(HWND hwnd, UINT uMsg, LPARAM lParam, LPARAM lpData);

struct BROWSEINFO {
    HWND hwndOwner = nullptr;
    PCIDLIST_ABSOLUTE pidlRoot = nullptr;  // no walking above it; null: the file system's root
    wchar_t* pszDisplayName = nullptr;     // receives the chosen folder's name (260 characters)
    const wchar_t* lpszTitle = nullptr;    // the line above the folders
    UINT ulFlags = 0;
    BFFCALLBACK lpfn = nullptr;
    LPARAM lParam = 0;
    int iImage = 0;
};
using BROWSEINFOW = BROWSEINFO;

// Shows the folder browser modally (owned by hwndOwner) and answers the
// chosen folder's item list, or null when the user cancels. The caller
// frees the answer.
PIDLIST_ABSOLUTE SHBrowseForFolder(BROWSEINFO* bi);
inline PIDLIST_ABSOLUTE SHBrowseForFolderW(BROWSEINFO* bi) { return SHBrowseForFolder(bi); }
