#include "platform/base/Registry.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/base/Exceptions.h"
#include "platform/base/SysUtils.h"

namespace {

// Longest key or value name the enumeration buffers take.
constexpr DWORD kNameMax = 65536;

bool IsRelative(const String& key) { return key.empty() || key[0] != L'\\'; }

String WithoutLeadingDelimiter(const String& key) { return IsRelative(key) ? key : key.substr(1); }

[[noreturn]] void RaiseFor(const wchar_t* text, const String& name)
{
    throw ERegistryException(String(text) + L" '" + name + L"'");
}

TRegDataType DataTypeOf(DWORD type)
{
    switch (type) {
    case REG_SZ: return rdString;
    case REG_EXPAND_SZ: return rdExpandString;
    case REG_DWORD: return rdInteger;
    case REG_BINARY: return rdBinary;
    default: return rdUnknown;
    }
}

String TextOf(const Byte* data, size_t size)
{
    String s(size / sizeof(wchar_t), L'\0');
    if (!s.empty()) std::memcpy(s.data(), data, s.size() * sizeof(wchar_t));
    size_t nul = s.find(L'\0');
    if (nul != String::npos) s.resize(nul);
    return s;
}

String TextOf(const std::vector<Byte>& data) { return TextOf(data.data(), data.size()); }

}   // namespace

// ---------------------------------------------------------------------------
// TRegistry

TRegistry::TRegistry() = default;

TRegistry::TRegistry(REGSAM access) : FAccess(access) {}

TRegistry::~TRegistry() { CloseKey(); }

void TRegistry::SetRootKey(HKEY value)
{
    if (FRootKey == value) return;
    CloseKey();
    FRootKey = value;
}

HKEY TRegistry::GetBaseKey(bool relative) const
{
    return (FCurrentKey == 0 || !relative) ? FRootKey : FCurrentKey;
}

void TRegistry::ChangeKey(HKEY value, const String& path)
{
    CloseKey();
    FCurrentKey = value;
    FCurrentPath = path;
}

void TRegistry::CloseKey()
{
    if (FCurrentKey != 0) RegCloseKey(FCurrentKey);
    FCurrentKey = 0;
    FCurrentPath.clear();
}

namespace {

String NewPath(const String& current, const String& key, bool relative, bool hasCurrent)
{
    String s = WithoutLeadingDelimiter(key);
    while (!s.empty() && s.back() == L'\\') s.pop_back();
    if (relative && hasCurrent && !current.empty()) return s.empty() ? current : current + L"\\" + s;
    return s;
}

}   // namespace

bool TRegistry::OpenKey(const String& key, bool canCreate)
{
    bool relative = IsRelative(key);
    String sub = WithoutLeadingDelimiter(key);
    HKEY h = 0;
    LONG rc;
    if (canCreate)
        rc = RegCreateKeyEx(GetBaseKey(relative), sub.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, FAccess,
                            nullptr, &h, nullptr);
    else
        rc = RegOpenKeyEx(GetBaseKey(relative), sub.c_str(), 0, FAccess, &h);
    if (rc != ERROR_SUCCESS) return false;
    ChangeKey(h, NewPath(FCurrentPath, key, relative, FCurrentKey != 0));
    return true;
}

bool TRegistry::OpenKeyReadOnly(const String& key)
{
    bool relative = IsRelative(key);
    String sub = WithoutLeadingDelimiter(key);
    HKEY h = 0;
    if (RegOpenKeyEx(GetBaseKey(relative), sub.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    ChangeKey(h, NewPath(FCurrentPath, key, relative, FCurrentKey != 0));
    return true;
}

bool TRegistry::CreateKey(const String& key)
{
    bool relative = IsRelative(key);
    String sub = WithoutLeadingDelimiter(key);
    HKEY h = 0;
    if (RegCreateKeyEx(GetBaseKey(relative), sub.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                       nullptr, &h, nullptr) != ERROR_SUCCESS)
        return false;
    RegCloseKey(h);
    return true;
}

HKEY TRegistry::GetKey(const String& key)
{
    bool relative = IsRelative(key);
    String sub = WithoutLeadingDelimiter(key);
    HKEY h = 0;
    if (RegOpenKeyEx(GetBaseKey(relative), sub.c_str(), 0, FAccess, &h) != ERROR_SUCCESS) return 0;
    return h;
}

bool TRegistry::KeyExists(const String& key)
{
    bool relative = IsRelative(key);
    String sub = WithoutLeadingDelimiter(key);
    HKEY h = 0;
    if (RegOpenKeyEx(GetBaseKey(relative), sub.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
}

bool TRegistry::DeleteKey(const String& key)
{
    bool relative = IsRelative(key);
    String sub = WithoutLeadingDelimiter(key);
    HKEY base = GetBaseKey(relative);
    HKEY h = 0;
    if (RegOpenKeyEx(base, sub.c_str(), 0, KEY_ALL_ACCESS, &h) == ERROR_SUCCESS) {
        // Children first: a key with sub-keys cannot go.
        std::vector<String> children;
        std::vector<wchar_t> name(kNameMax);
        for (DWORD i = 0;; ++i) {
            DWORD len = kNameMax;
            if (RegEnumKeyEx(h, i, name.data(), &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
            children.emplace_back(name.data(), len);
        }
        HKEY oldKey = FCurrentKey;
        FCurrentKey = h;
        for (const String& c : children) DeleteKey(c);
        FCurrentKey = oldKey;
        RegCloseKey(h);
    }
    return RegDeleteKey(base, sub.c_str()) == ERROR_SUCCESS;
}

bool TRegistry::HasSubKeys()
{
    TRegKeyInfo info;
    return GetKeyInfo(info) && info.NumSubKeys > 0;
}

bool TRegistry::GetKeyInfo(TRegKeyInfo& info)
{
    info = TRegKeyInfo();
    HKEY key = FCurrentKey ? FCurrentKey : FRootKey;
    std::vector<wchar_t> name(kNameMax);
    for (DWORD i = 0;; ++i) {
        DWORD len = kNameMax;
        LONG rc = RegEnumKeyEx(key, i, name.data(), &len, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_NO_MORE_ITEMS) break;
        if (rc != ERROR_SUCCESS) return false;
        ++info.NumSubKeys;
        info.MaxSubKeyLen = std::max<Integer>(info.MaxSubKeyLen, Integer(len));
    }
    for (DWORD i = 0;; ++i) {
        DWORD len = kNameMax, size = 0;
        LONG rc = RegEnumValue(key, i, name.data(), &len, nullptr, nullptr, nullptr, &size);
        if (rc == ERROR_NO_MORE_ITEMS) break;
        if (rc != ERROR_SUCCESS) return false;
        ++info.NumValues;
        info.MaxValueLen = std::max<Integer>(info.MaxValueLen, Integer(len));
        info.MaxDataLen = std::max<Integer>(info.MaxDataLen, Integer(size));
    }
    return true;
}

// Lists the names that enumerate(key, index, buffer, length) yields, in order.
template <typename Enumerate>
static void ListNames(HKEY key, TStrings& strings, Enumerate enumerate)
{
    strings.BeginUpdate();
    strings.Clear();
    std::vector<wchar_t> name(kNameMax);
    for (DWORD i = 0;; ++i) {
        DWORD len = kNameMax;
        if (enumerate(key, i, name.data(), &len) != ERROR_SUCCESS) break;
        strings.Add(String(name.data(), len));
    }
    strings.EndUpdate();
}

void TRegistry::GetKeyNames(TStrings& strings)
{
    ListNames(FCurrentKey ? FCurrentKey : FRootKey, strings, [](HKEY k, DWORD i, wchar_t* n, DWORD* len) {
        return RegEnumKeyEx(k, i, n, len, nullptr, nullptr, nullptr, nullptr);
    });
}

void TRegistry::GetValueNames(TStrings& strings)
{
    ListNames(FCurrentKey ? FCurrentKey : FRootKey, strings, [](HKEY k, DWORD i, wchar_t* n, DWORD* len) {
        return RegEnumValue(k, i, n, len, nullptr, nullptr, nullptr, nullptr);
    });
}

bool TRegistry::ValueExists(const String& name) { return GetDataSize(name) >= 0; }

bool TRegistry::DeleteValue(const String& name)
{
    return RegDeleteValue(FCurrentKey, name.c_str()) == ERROR_SUCCESS;
}

TRegDataType TRegistry::GetDataType(const String& name)
{
    DWORD type = REG_NONE;
    if (RegQueryValueEx(FCurrentKey, name.c_str(), nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS)
        return rdUnknown;
    return DataTypeOf(type);
}

Integer TRegistry::GetDataSize(const String& name)
{
    DWORD size = 0;
    if (RegQueryValueEx(FCurrentKey, name.c_str(), nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) return -1;
    return Integer(size);
}

DWORD TRegistry::GetData(const String& name, std::vector<Byte>& data, DWORD& type)
{
    for (int attempt = 0; attempt < 8; ++attempt) {
        DWORD size = DWORD(data.size());
        LONG rc = RegQueryValueEx(FCurrentKey, name.c_str(), nullptr, &type, data.data(), &size);
        if (rc == ERROR_SUCCESS) {
            data.resize(size);
            return size;
        }
        if (rc != ERROR_MORE_DATA) RaiseFor(L"Failed to get data for", name);
        data.resize(size);   // it grew meanwhile: try again
    }
    RaiseFor(L"Failed to get data for", name);
}

void TRegistry::PutData(const String& name, const void* buffer, DWORD size, DWORD type)
{
    if (RegSetValueEx(FCurrentKey, name.c_str(), 0, type, static_cast<const Byte*>(buffer), size) != ERROR_SUCCESS)
        RaiseFor(L"Failed to set data for", name);
}

String TRegistry::ReadString(const String& name)
{
    Integer size = GetDataSize(name);
    if (size < 0) return String();
    std::vector<Byte> data(size_t(size) + sizeof(wchar_t));
    DWORD type = REG_NONE;
    GetData(name, data, type);
    if (type != REG_SZ && type != REG_EXPAND_SZ) RaiseFor(L"Invalid data type for", name);
    return TextOf(data);
}

Integer TRegistry::ReadInteger(const String& name)
{
    // Numbers are read often: a buffer on the stack, and a value too large
    // for it is of the wrong type anyway.
    Byte data[8];
    DWORD type = REG_NONE, size = sizeof data;
    LONG rc = RegQueryValueEx(FCurrentKey, name.c_str(), nullptr, &type, data, &size);
    if (rc != ERROR_SUCCESS && rc != ERROR_MORE_DATA) RaiseFor(L"Failed to get data for", name);
    if (rc == ERROR_MORE_DATA || type != REG_DWORD || size != 4) RaiseFor(L"Invalid data type for", name);
    Integer v;
    std::memcpy(&v, data, 4);
    return v;
}

bool TRegistry::ReadBool(const String& name) { return ReadInteger(name) != 0; }

Integer TRegistry::ReadBinaryData(const String& name, void* buffer, Integer bufSize)
{
    Integer size = GetDataSize(name);
    if (size < 0) RaiseFor(L"Failed to get data for", name);
    std::vector<Byte> data(static_cast<size_t>(size));
    DWORD type = REG_NONE;
    DWORD got = GetData(name, data, type);
    if (type != REG_BINARY) RaiseFor(L"Invalid data type for", name);
    if (bufSize < 0 || got > DWORD(bufSize)) RaiseFor(L"Failed to get data for", name);
    if (got) std::memcpy(buffer, data.data(), got);
    return Integer(got);
}

void TRegistry::WriteString(const String& name, const String& value)
{
    PutData(name, value.c_str(), DWORD((value.size() + 1) * sizeof(wchar_t)), REG_SZ);
}

void TRegistry::WriteExpandString(const String& name, const String& value)
{
    PutData(name, value.c_str(), DWORD((value.size() + 1) * sizeof(wchar_t)), REG_EXPAND_SZ);
}

void TRegistry::WriteInteger(const String& name, Integer value) { PutData(name, &value, 4, REG_DWORD); }

void TRegistry::WriteBool(const String& name, bool value) { WriteInteger(name, value ? 1 : 0); }

void TRegistry::WriteBinaryData(const String& name, const void* buffer, Integer bufSize)
{
    PutData(name, buffer, DWORD(bufSize < 0 ? 0 : bufSize), REG_BINARY);
}

// ---------------------------------------------------------------------------
// TRegIniFile

TRegIniFile::TRegIniFile(const String& fileName) : TRegIniFile(fileName, KEY_ALL_ACCESS) {}

TRegIniFile::TRegIniFile(const String& fileName, REGSAM access) : TRegistry(access), FFileName(fileName)
{
    OpenKey(fileName, true);
}

template <class F>
bool TRegIniFile::WithSection(const String& section, F fn)
{
    HKEY key = GetKey(section);
    if (key == 0) return false;
    HKEY old = CurrentKey();
    SetCurrentKey(key);
    try {
        fn();
    } catch (...) {
        SetCurrentKey(old);
        RegCloseKey(key);
        throw;
    }
    SetCurrentKey(old);
    RegCloseKey(key);
    return true;
}

// Reads ident of section in one call, without opening the section's key;
// false when the key or the value is missing. Small values stay in the
// buffer's own bytes.
bool TRegIniFile::GetSectionValue(const String& section, const String& ident, TValueBuffer& v)
{
    bool relative = IsRelative(section);
    const wchar_t* sub = section.c_str() + (relative ? 0 : 1);
    v.Size = sizeof v.Small;
    v.Data = v.Small;
    LONG rc = RegGetValue(GetBaseKey(relative), sub, ident.c_str(), RRF_RT_ANY, &v.Type, v.Small, &v.Size);
    for (int attempt = 0; rc == ERROR_MORE_DATA && attempt < 8; ++attempt) {
        v.Big.resize(v.Size);
        v.Data = v.Big.data();
        rc = RegGetValue(GetBaseKey(relative), sub, ident.c_str(), RRF_RT_ANY, &v.Type, v.Big.data(), &v.Size);
    }
    return rc == ERROR_SUCCESS;
}

String TRegIniFile::ReadString(const String& section, const String& ident, const String& defaultValue)
{
    TValueBuffer v;
    if (!GetSectionValue(section, ident, v)) return defaultValue;
    if (v.Type != REG_SZ && v.Type != REG_EXPAND_SZ) RaiseFor(L"Invalid data type for", ident);
    return TextOf(v.Data, v.Size);
}

Integer TRegIniFile::ReadInteger(const String& section, const String& ident, Integer defaultValue)
{
    TValueBuffer v;
    if (!GetSectionValue(section, ident, v)) return defaultValue;
    if (v.Type == REG_SZ || v.Type == REG_EXPAND_SZ) return StrToIntDef(Trim(TextOf(v.Data, v.Size)), defaultValue);
    if (v.Type != REG_DWORD) return defaultValue;
    if (v.Size != 4) RaiseFor(L"Invalid data type for", ident);
    Integer n;
    std::memcpy(&n, v.Data, 4);
    return n;
}

bool TRegIniFile::ReadBool(const String& section, const String& ident, bool defaultValue)
{
    return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

void TRegIniFile::WriteString(const String& section, const String& ident, const String& value)
{
    CreateKey(section);
    if (!WithSection(section, [&] { TRegistry::WriteString(ident, value); }))
        RaiseFor(L"Failed to set data for", ident);
}

void TRegIniFile::WriteInteger(const String& section, const String& ident, Integer value)
{
    WriteString(section, ident, IntToStr(value));
}

void TRegIniFile::WriteBool(const String& section, const String& ident, bool value)
{
    WriteInteger(section, ident, value ? 1 : 0);
}

void TRegIniFile::ReadSection(const String& section, TStrings& strings)
{
    strings.Clear();
    WithSection(section, [&] { GetValueNames(strings); });
}

void TRegIniFile::ReadSections(TStrings& strings) { GetKeyNames(strings); }

void TRegIniFile::ReadSectionValues(const String& section, TStrings& strings)
{
    strings.BeginUpdate();
    strings.Clear();
    WithSection(section, [&] {
        TStringList names;
        GetValueNames(names);
        for (Integer i = 0; i < names.Count(); ++i) {
            TRegDataType t = GetDataType(names[i]);
            String v = (t == rdString || t == rdExpandString) ? TRegistry::ReadString(names[i])
                     : t == rdInteger ? IntToStr(TRegistry::ReadInteger(names[i])) : String();
            strings.Add(names[i] + L"=" + v);
        }
    });
    strings.EndUpdate();
}

void TRegIniFile::DeleteKey(const String& section, const String& ident)
{
    WithSection(section, [&] { DeleteValue(ident); });
}

void TRegIniFile::EraseSection(const String& section) { TRegistry::DeleteKey(section); }

// ---------------------------------------------------------------------------
// TRegistryIniFile

TRegistryIniFile::TRegistryIniFile(const String& fileName, REGSAM access)
    : TCustomIniFile(fileName), FRegIniFile(std::make_unique<TRegIniFile>(fileName, access))
{
}

TRegistryIniFile::~TRegistryIniFile() = default;

String TRegistryIniFile::ReadString(const String& section, const String& ident, const String& defaultValue)
{
    return FRegIniFile->ReadString(section, ident, defaultValue);
}

Integer TRegistryIniFile::ReadInteger(const String& section, const String& ident, Integer defaultValue)
{
    return FRegIniFile->ReadInteger(section, ident, defaultValue);
}

void TRegistryIniFile::WriteString(const String& section, const String& ident, const String& value)
{
    FRegIniFile->WriteString(section, ident, value);
}

void TRegistryIniFile::WriteInteger(const String& section, const String& ident, Integer value)
{
    TRegIniFile& r = *FRegIniFile;
    r.CreateKey(section);
    if (!r.WithSection(section, [&] { r.TRegistry::WriteInteger(ident, value); }))
        RaiseFor(L"Failed to set data for", ident);
}

void TRegistryIniFile::ReadSection(const String& section, TStrings& strings)
{
    FRegIniFile->ReadSection(section, strings);
}

void TRegistryIniFile::ReadSections(TStrings& strings) { FRegIniFile->ReadSections(strings); }

void TRegistryIniFile::ReadSectionValues(const String& section, TStrings& strings)
{
    FRegIniFile->ReadSectionValues(section, strings);
}

void TRegistryIniFile::EraseSection(const String& section) { FRegIniFile->EraseSection(section); }

void TRegistryIniFile::DeleteKey(const String& section, const String& ident)
{
    FRegIniFile->DeleteKey(section, ident);
}
