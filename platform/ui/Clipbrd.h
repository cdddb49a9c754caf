// The clipboard: one process-wide set of data blocks keyed by format,
// opened by one window at a time, with the standard text formats, formats
// registered by name, and the text reaching the desktop clipboard when the
// desktop backend runs.
//
// Data blocks are movable global memory (GlobalAlloc). A block handed to
// SetClipboardData belongs to the clipboard from then on; GetClipboardData
// lends the clipboard's block (never free it).
//
// CF_TEXT holds a zero-terminated string in the system code page
// (Windows-1252); CF_UNICODETEXT a zero-terminated UTF-16LE string (both
// declared in ComObj.h with MakeGlobalText/GlobalText). Each is synthesised
// from the other on demand.
#pragma once

#include <vector>

#include "platform/base/ComObj.h"
#include "platform/base/Exceptions.h"
#include "platform/base/Objects.h"
#include "platform/ui/Windows.h"

enum : UINT {
    CF_BITMAP = 2, CF_METAFILEPICT = 3, CF_SYLK = 4, CF_DIF = 5, CF_TIFF = 6,
    CF_OEMTEXT = 7, CF_DIB = 8, CF_PALETTE = 9, CF_RIFF = 11, CF_WAVE = 12,
    CF_ENHMETAFILE = 14, CF_LOCALE = 16, CF_DIBV5 = 17,   // CF_TEXT, CF_UNICODETEXT, CF_HDROP: ComObj.h
};

VEL_DECLARE_EXCEPTION(EClipboardException, Exception)

// Fails (FALSE) while another window has the clipboard open. The same
// window may open it again.
BOOL OpenClipboard(HWND owner);
BOOL CloseClipboard();
// Frees every block; the opener becomes the owner. Needs the clipboard open.
BOOL EmptyClipboard();
// Stores the block under the format, freeing the one there before. Needs
// the clipboard open; answers the block, or null on failure (the block then
// stays the caller's).
HGLOBAL SetClipboardData(UINT format, HGLOBAL data);
// The block of the format (CF_TEXT/CF_UNICODETEXT synthesised from each
// other), or null. Needs the clipboard open.
HGLOBAL GetClipboardData(UINT format);
BOOL IsClipboardFormatAvailable(UINT format);
// The formats in the order they were set: 0 starts, 0 ends.
UINT EnumClipboardFormats(UINT format);
int CountClipboardFormats();
// A format id (0xC000 and up, shared with registered window messages) for
// a name; the same name (ignoring case) gives the same id. 0 for no name.
UINT RegisterClipboardFormat(const wchar_t* name);
// Copies the registered name (terminated, cut to size - 1); answers its
// length, 0 for a standard or unknown format.
int GetClipboardFormatName(UINT format, wchar_t* buffer, int size);
HWND GetClipboardOwner();
HWND GetOpenClipboardWindow();

// The class-library view of the clipboard. Open/Close nest; every other
// member opens the clipboard for its own duration when it is not open.
class TClipboard : public TPersistent {
    VEL_CLASS(TClipboard, TPersistent)
public:
    TClipboard() = default;
    ~TClipboard() override;

    // Raises EClipboardException when another window holds the clipboard.
    void Open();
    void Close();
    void Clear();
    bool HasFormat(UINT Format);
    Integer FormatCount();
    UINT Formats(Integer Index);

    String AsText();
    void SetAsText(const String& Value);
    // The clipboard takes the block.
    void SetAsHandle(UINT Format, HGLOBAL Value);
    // The clipboard's block (lent, not to be freed), or null.
    HGLOBAL GetAsHandle(UINT Format);
    // Copies bytes in and out as a block of the format.
    void SetBuffer(UINT Format, const void* Buffer, size_t Size);

private:
    Integer FOpenRefCount = 0;
    bool FEmptied = false;
};

// The process-wide clipboard object.
TClipboard* Clipboard();

// Text helpers the edit controls use: the clipboard's text, or false when
// it holds none (or is held by another window).
bool GetClipboardText(String& text);
bool SetClipboardText(const String& text);
