// The registry: hierarchical keys holding named, typed values. The current
// user's root (HKEY_CURRENT_USER) lives in one text file per user,
// $XDG_CONFIG_HOME/velmora/registry/HKEY_CURRENT_USER.reg (XDG_CONFIG_HOME
// defaulting to ~/.config); the other roots are empty and read-only.
//
// Key and value names compare case-insensitively; key paths use '\' with an
// optional leading '\'. Every change is a read-modify-write of the file under
// an exclusive lock (flock on a lock file beside it), re-reading the file
// under the lock first, and written to a temporary file that is renamed over
// the store (its target, when the store is a symbolic link): several
// processes may write at once and nothing is lost, and a crash never leaves
// half a file. A change rewrites only the lines of what changed: comments and
// lines that make no sense (they are ignored when read) stay where they are,
// and a write that changes nothing touches no file. When a rewrite would drop
// anything beyond the change, the previous file is kept beside the store as
// HKEY_CURRENT_USER.reg.bak. The parsed file stays in memory and is read again
// only when it changed, so reads cost no file access, yet every write of
// another process is seen by the next call.
//
// Key names hold no control characters and only Unicode characters; value
// names and string data may hold any wchar_t unit and read back as written.
//
// String data (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ) is held as wchar_t units,
// so the byte sizes of the raw calls are counts of wchar_t times
// sizeof(wchar_t), terminating NULs included, as with the platform's wide
// strings.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/base/Handles.h"
#include "platform/base/IniFiles.h"
#include "platform/base/Lists.h"
#include "platform/base/Objects.h"
#include "platform/base/Types.h"

using HKEY = NativeUInt;
using REGSAM = DWORD;

inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;
inline constexpr HKEY HKEY_USERS = 0x80000003u;
inline constexpr HKEY HKEY_PERFORMANCE_DATA = 0x80000004u;
inline constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005u;
inline constexpr HKEY HKEY_DYN_DATA = 0x80000006u;

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;
constexpr DWORD REG_DWORD_BIG_ENDIAN = 5;
constexpr DWORD REG_LINK = 6;
constexpr DWORD REG_MULTI_SZ = 7;
constexpr DWORD REG_QWORD = 11;

constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr REGSAM KEY_NOTIFY = 0x0010;
constexpr REGSAM KEY_CREATE_LINK = 0x0020;
constexpr REGSAM KEY_WOW64_64KEY = 0x0100;
constexpr REGSAM KEY_WOW64_32KEY = 0x0200;
constexpr REGSAM KEY_READ = 0x20019;
constexpr REGSAM KEY_WRITE = 0x20006;
constexpr REGSAM KEY_EXECUTE = KEY_READ;
constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

constexpr DWORD REG_NOTIFY_CHANGE_NAME = 0x1;        // sub-keys added or deleted
constexpr DWORD REG_NOTIFY_CHANGE_ATTRIBUTES = 0x2;  // never changes here
constexpr DWORD REG_NOTIFY_CHANGE_LAST_SET = 0x4;    // values added, changed or deleted
constexpr DWORD REG_NOTIFY_CHANGE_SECURITY = 0x8;    // never changes here

// The raw calls. They answer ERROR_SUCCESS or an error number
// (ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED, ERROR_INVALID_HANDLE,
// ERROR_MORE_DATA, ERROR_NO_MORE_ITEMS, ERROR_KEY_DELETED, ERROR_WRITE_FAULT).
// A null or empty value name is the key's default value.
LONG RegOpenKeyEx(HKEY key, const wchar_t* subKey, DWORD options, REGSAM desired, HKEY* result);
LONG RegCreateKeyEx(HKEY key, const wchar_t* subKey, DWORD reserved, const wchar_t* keyClass,
                    DWORD options, REGSAM desired, void* securityAttributes, HKEY* result,
                    DWORD* disposition);
LONG RegCloseKey(HKEY key);
LONG RegFlushKey(HKEY key);
// data nullptr: only *type and *dataSize are answered. A buffer too small
// gives ERROR_MORE_DATA with the size needed in *dataSize.
LONG RegQueryValueEx(HKEY key, const wchar_t* valueName, DWORD* reserved, DWORD* type, Byte* data,
                     DWORD* dataSize);
LONG RegSetValueEx(HKEY key, const wchar_t* valueName, DWORD reserved, DWORD type, const Byte* data,
                   DWORD dataSize);
// A value of the key subKey below key (key itself when subKey is null or
// empty), read without opening that key: like RegQueryValueEx otherwise,
// ERROR_FILE_NOT_FOUND when the key or the value is missing. flags must be
// RRF_RT_ANY (no type is filtered out).
constexpr DWORD RRF_RT_ANY = 0x0000ffff;
LONG RegGetValue(HKEY key, const wchar_t* subKey, const wchar_t* valueName, DWORD flags, DWORD* type, void* data,
                 DWORD* dataSize);
LONG RegDeleteValue(HKEY key, const wchar_t* valueName);
// Deletes a key without sub-keys (ERROR_ACCESS_DENIED when it has some).
LONG RegDeleteKey(HKEY key, const wchar_t* subKey);
// Enumeration in name order. nameLen: buffer size in characters on entry,
// the name's length (without the NUL) on return.
LONG RegEnumKeyEx(HKEY key, DWORD index, wchar_t* name, DWORD* nameLen, DWORD* reserved,
                  wchar_t* keyClass, DWORD* classLen, void* lastWriteTime);
LONG RegEnumValue(HKEY key, DWORD index, wchar_t* name, DWORD* nameLen, DWORD* reserved, DWORD* type,
                  Byte* data, DWORD* dataSize);
// Signals event (a HANDLE from CreateEvent) once when the key (with
// watchSubtree, also any key below it) changes in a way filter names, by
// this process or another; then the watch is over and must be armed again.
// Deleting the watched key or closing its handle also signals. Without
// asynchronous the call waits for the change itself (event is not used).
LONG RegNotifyChangeKeyValue(HKEY key, BOOL watchSubtree, DWORD filter, HANDLE event, BOOL asynchronous);

// The file behind HKEY_CURRENT_USER.
String RegistryStorePath();
// Forgets the store's location and cache, ends every watch (signalling its
// event) and closes all open keys: the next call reads XDG_CONFIG_HOME again.
// For tests that switch to a fresh configuration folder.
void RegistryStoreReset();

// ---------------------------------------------------------------------------
// Class level

enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

struct TRegKeyInfo {
    Integer NumSubKeys = 0;
    Integer MaxSubKeyLen = 0;
    Integer NumValues = 0;
    Integer MaxValueLen = 0;
    Integer MaxDataLen = 0;
};

// A registry key opened for reading and writing values. Paths starting with
// '\' are taken from RootKey; others from the key that is open, if any.
// Reading a value of another type than asked raises ERegistryException
// "Invalid data type for '%s'"; a missing value read as a number raises
// "Failed to get data for '%s'" (ReadString answers ""); a failed write
// raises "Failed to set data for '%s'".
class TRegistry : public TObject {
public:
    TRegistry();
    explicit TRegistry(REGSAM access);
    ~TRegistry() override;
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    HKEY RootKey() const { return FRootKey; }
    void SetRootKey(HKEY value);       // closes the open key
    REGSAM Access() const { return FAccess; }
    void SetAccess(REGSAM value) { FAccess = value; }
    HKEY CurrentKey() const { return FCurrentKey; }
    String CurrentPath() const { return FCurrentPath; }

    bool OpenKey(const String& key, bool canCreate);
    bool OpenKeyReadOnly(const String& key);
    bool CreateKey(const String& key);
    bool KeyExists(const String& key);
    // Deletes the key and everything below it.
    bool DeleteKey(const String& key);
    void CloseKey();
    bool HasSubKeys();
    bool GetKeyInfo(TRegKeyInfo& info);
    void GetKeyNames(TStrings& strings);
    void GetValueNames(TStrings& strings);

    bool ValueExists(const String& name);
    bool DeleteValue(const String& name);
    TRegDataType GetDataType(const String& name);
    // Bytes of the value's data; -1 when it is missing.
    Integer GetDataSize(const String& name);

    String ReadString(const String& name);
    Integer ReadInteger(const String& name);
    bool ReadBool(const String& name);
    Integer ReadBinaryData(const String& name, void* buffer, Integer bufSize);
    void WriteString(const String& name, const String& value);
    void WriteExpandString(const String& name, const String& value);
    void WriteInteger(const String& name, Integer value);
    void WriteBool(const String& name, bool value);
    void WriteBinaryData(const String& name, const void* buffer, Integer bufSize);

protected:
    // Opens key (relative or absolute, as OpenKey takes it); 0 when missing.
    HKEY GetKey(const String& key);
    HKEY GetBaseKey(bool relative) const;
    void ChangeKey(HKEY value, const String& path);
    // Switches the current key without closing the previous one.
    void SetCurrentKey(HKEY value) { FCurrentKey = value; }

private:
    void PutData(const String& name, const void* buffer, DWORD size, DWORD type);
    DWORD GetData(const String& name, std::vector<Byte>& data, DWORD& type);

    HKEY FRootKey = HKEY_CURRENT_USER;
    HKEY FCurrentKey = 0;
    String FCurrentPath;
    REGSAM FAccess = KEY_ALL_ACCESS;
    bool FCloseRootKey = false;
};

// A registry key seen as an INI file: sections are sub-keys (relative to the
// key opened at creation, or absolute with a leading '\'), identifiers are
// value names. Numbers are written as decimal text (REG_SZ) and read from
// text or REG_DWORD; a missing or unreadable value gives the default. Reading
// never creates a key; writing creates the section's key.
class TRegIniFile : public TRegistry {
public:
    // Opens (creating it) the key fileName under HKEY_CURRENT_USER.
    explicit TRegIniFile(const String& fileName);
    TRegIniFile(const String& fileName, REGSAM access);

    String FileName() const { return FFileName; }

    String ReadString(const String& section, const String& ident, const String& defaultValue);
    Integer ReadInteger(const String& section, const String& ident, Integer defaultValue);
    bool ReadBool(const String& section, const String& ident, bool defaultValue);
    void WriteString(const String& section, const String& ident, const String& value);
    void WriteInteger(const String& section, const String& ident, Integer value);
    void WriteBool(const String& section, const String& ident, bool value);
    void ReadSection(const String& section, TStrings& strings);
    void ReadSections(TStrings& strings);
    void ReadSectionValues(const String& section, TStrings& strings);
    // Deletes the value ident of the section (never creates anything).
    void DeleteKey(const String& section, const String& ident);
    void EraseSection(const String& section);

    using TRegistry::DeleteKey;
    using TRegistry::ReadBool;
    using TRegistry::ReadInteger;
    using TRegistry::ReadString;
    using TRegistry::WriteBool;
    using TRegistry::WriteInteger;
    using TRegistry::WriteString;

private:
    friend class TRegistryIniFile;
    struct TValueBuffer {
        DWORD Type = REG_NONE;
        DWORD Size = 0;
        const Byte* Data = nullptr;
        Byte Small[64];
        std::vector<Byte> Big;
    };
    bool GetSectionValue(const String& section, const String& ident, TValueBuffer& v);
    // Runs fn with the section's key current; false when it is missing.
    template <class F>
    bool WithSection(const String& section, F fn);

    String FFileName;
};

// TCustomIniFile over TRegIniFile, so code written for INI files can keep
// its settings in the registry. Integers are written as REG_DWORD.
class TRegistryIniFile : public TCustomIniFile {
public:
    explicit TRegistryIniFile(const String& fileName, REGSAM access = KEY_ALL_ACCESS);
    ~TRegistryIniFile() override;

    TRegIniFile& RegIniFile() { return *FRegIniFile; }

    String ReadString(const String& section, const String& ident, const String& defaultValue) override;
    Integer ReadInteger(const String& section, const String& ident, Integer defaultValue) override;
    void WriteString(const String& section, const String& ident, const String& value) override;
    void WriteInteger(const String& section, const String& ident, Integer value) override;
    void ReadSection(const String& section, TStrings& strings) override;
    void ReadSections(TStrings& strings) override;
    void ReadSectionValues(const String& section, TStrings& strings) override;
    void EraseSection(const String& section) override;
    void DeleteKey(const String& section, const String& ident) override;
    void UpdateFile() override {}

private:
    std::unique_ptr<TRegIniFile> FRegIniFile;
};
