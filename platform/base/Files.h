// File and folder routines: existence tests, creating, removing, renaming
// and copying, file-name parts, folder enumeration with masks, and the
// well-known folders (current, temporary, documents, the executable's own).
// Names are Strings in the API and UTF-8 on disk; the path delimiter is '/'.
#pragma once

#include <memory>

#include "platform/base/Handles.h"
#include "platform/base/Types.h"

constexpr Char PathDelim = L'/';
constexpr Char DriveDelim = L'\0';   // no drives on this system
constexpr Char PathSep = L':';

// Attributes of TSearchRec::Attr and the FindFirst filter.
constexpr Integer faReadOnly = 0x01;
constexpr Integer faHidden = 0x02;     // names starting with '.' (but not "." or "..")
constexpr Integer faSysFile = 0x04;    // devices, sockets, pipes
constexpr Integer faVolumeID = 0x08;
constexpr Integer faDirectory = 0x10;
constexpr Integer faArchive = 0x20;    // every regular file
constexpr Integer faNormal = 0x80;
constexpr Integer faSymLink = 0x400;
constexpr Integer faAnyFile = 0x1FF;

bool FileExists(const String& fileName);        // a file (or a link to one), not a folder
bool DirectoryExists(const String& dir);
bool CreateDir(const String& dir);              // one level; false when it exists or fails
bool ForceDirectories(const String& dir);       // every missing level; true when it exists after
bool RemoveDir(const String& dir);              // only an empty folder
bool DeleteFile(const String& fileName);        // files only, never folders
// Renames a file or folder; never replaces an existing target (false then).
bool RenameFile(const String& oldName, const String& newName);
// The raw form of RenameFile: moves without replacing.
BOOL MoveFile(const String& existingName, const String& newName);
// Copies the contents and the permission bits. With failIfExists a present
// target is left alone (false); otherwise it is replaced atomically.
BOOL CopyFile(const String& existingName, const String& newName, BOOL failIfExists);
// Writes data to a new file beside fileName, flushes it to the disk and
// renames it over fileName: readers see the old content or the new, never a
// part, and a failure leaves the old file as it was. A new file gets mode
// (less the umask); an existing file keeps its permission bits.
bool WriteFileAtomic(const String& fileName, const void* data, size_t size, unsigned mode = 0666);
// Last modification time in local time; false when the file is missing.
bool FileAge(const String& fileName, TDateTime& fileDateTime);
// Size in bytes; -1 when the file is missing.
Int64 FileGetSize(const String& fileName);

// File-name parts. ExtractFilePath keeps the trailing delimiter,
// ExtractFileDir drops it (except for the root "/").
String ExtractFilePath(const String& fileName);
String ExtractFileDir(const String& fileName);
String ExtractFileName(const String& fileName);
String ExtractFileExt(const String& fileName);           // with the dot; "" when none
String ChangeFileExt(const String& fileName, const String& ext);
String IncludeTrailingPathDelimiter(const String& s);
String ExcludeTrailingPathDelimiter(const String& s);
// An absolute name with "." and ".." resolved textually (links are not followed).
String ExpandFileName(const String& fileName);

// Case-insensitive mask with '*' (any run) and '?' (one character).
bool MatchesMask(const String& fileName, const String& mask);

struct TFindState;   // private to the implementation

struct TSearchRec {
    TDateTime Time = 0;        // last modification, local time
    Int64 Size = 0;
    Integer Attr = 0;
    String Name;
    Integer ExcludeAttr = 0;
    std::shared_ptr<TFindState> FindHandle;
};

// FindFirst("folder/mask", attr, rec): 0 and the first entry, or an error
// number (2 no match, 3 no such folder). Plain files are always candidates;
// folders, hidden and system entries only when attr asks for them. A mask
// ending in ".*" also matches names without an extension. Entries come in
// name order. FindNext answers 0 or 18 (no more files).
Integer FindFirst(const String& path, Integer attr, TSearchRec& rec);
Integer FindNext(TSearchRec& rec);
void FindClose(TSearchRec& rec);

String GetCurrentDir();
bool SetCurrentDir(const String& dir);
// The temporary folder ($TMPDIR or /tmp), with a trailing delimiter.
String GetTempPath();
// The same folder without the trailing delimiter.
String GetTempDir();
// The user's documents folder: XDG_DOCUMENTS_DIR from
// $XDG_CONFIG_HOME/user-dirs.dirs, else ~/Documents. No trailing delimiter.
String GetDocumentsPath();
// The user's home folder ($HOME, else the password database).
String GetHomePath();
// The running executable's full name (from /proc/self/exe).
String ExecutablePath();
// Command-line arguments: ParamStr(0) is ExecutablePath(); "" out of range.
Integer ParamCount();
String ParamStr(Integer index);
// The machine's host name.
String GetComputerName();
