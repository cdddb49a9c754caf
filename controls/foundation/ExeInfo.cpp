#include "controls/foundation/ExeInfo.h"

#include <vector>

#include "platform/base/Exceptions.h"
#include "platform/base/Files.h"
#include "platform/base/Lists.h"
#include "platform/base/SysUtils.h"
#include "platform/os/Modules.h"
#include "platform/os/Shell.h"

namespace {

const wchar_t* const kRunTimeText = L"Updated at run-time";

// FileVersion split at its dots (and, as comma text splits, at blanks).
void SplitVersion(const String& version, TStringList& parts)
{
    parts.SetCommaText(StringReplace(version, L".", L",", rfReplaceAll));
}

}  // namespace

TExeInfo::TExeInfo(TComponent* AOwner) : TComponent(AOwner)
{
    for (String* f : {&FCompanyName, &FFileDescription, &FFileVersion, &FInternalName,
                      &FLegalCopyright, &FLegalTradeMark, &FOriginalFileName, &FProductName,
                      &FProductVersion, &FComments})
        *f = kRunTimeText;
    FComputerName.clear();
    if (!ComponentState().Contains(csDesigning)) {
        ReadOwnVersionInfo();
        FComputerName = GetComputerName();
    }
}

void TExeInfo::Publish(TPublisher<TExeInfo>& p)
{
    p.Str(L"CompanyName", &TExeInfo::CompanyName, &TExeInfo::SetCompanyName).Stored = false;
    p.Str(L"FileDescription", &TExeInfo::FileDescription, &TExeInfo::SetFileDescription).Stored = false;
    p.Str(L"FileVersion", &TExeInfo::FileVersion, &TExeInfo::SetFileVersion).Stored = false;
    p.Str(L"InternalName", &TExeInfo::InternalName, &TExeInfo::SetInternalName).Stored = false;
    p.Str(L"LegalCopyright", &TExeInfo::LegalCopyright, &TExeInfo::SetLegalCopyright).Stored = false;
    p.Str(L"LegalTradeMark", &TExeInfo::LegalTradeMark, &TExeInfo::SetLegalTradeMark).Stored = false;
    p.Str(L"OriginalFileName", &TExeInfo::OriginalFileName, &TExeInfo::SetOriginalFileName).Stored = false;
    p.Str(L"ProductName", &TExeInfo::ProductName, &TExeInfo::SetProductName).Stored = false;
    p.Str(L"ProductVersion", &TExeInfo::ProductVersion, &TExeInfo::SetProductVersion).Stored = false;
    p.Str(L"Comments", &TExeInfo::Comments, &TExeInfo::SetComments).Stored = false;
    // ComputerName has no writer: the streaming setter does nothing.
    p.Str(L"ComputerName", &TExeInfo::ComputerName, [](TExeInfo*, const String&) {}).Stored = false;
    p.Str(L"OSName", &TExeInfo::OSName, &TExeInfo::SetOSName).Stored = false;
    p.Str(L"WindowsDir", &TExeInfo::WindowsDir, &TExeInfo::SetWindowsDir).Stored = false;
    p.Str(L"SystemDir", &TExeInfo::SystemDir, &TExeInfo::SetSystemDir).Stored = false;
    p.Str(L"TempDir", &TExeInfo::TempDir, &TExeInfo::SetTempDir).Stored = false;
    p.Str(L"MyDocumentsDir", &TExeInfo::MyDocumentsDir, &TExeInfo::SetMyDocumentsDir).Stored = false;
    p.Str(L"Version", &TExeInfo::Version, &TExeInfo::SetVersion);
}

Integer TExeInfo::GetVersionNr() const { return 0x01030300; }

void TExeInfo::ReadOwnVersionInfo() { GetVersionInfoOfApp(ExecutablePath()); }

void TExeInfo::GetVersionInfoOfApp(const String& AAppName)
{
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSize(AAppName.c_str(), &handle);
    if (size == 0) return;
    std::vector<char> block(size, 0);
    if (!GetFileVersionInfo(AAppName.c_str(), handle, size, block.data())) return;

    void* value = nullptr;
    UINT len = 0;
    if (VerQueryValue(block.data(), L"\\", &value, &len) && len >= sizeof(VS_FIXEDFILEINFO)) {
        const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
        FFileFlags = Integer(fixed->dwFileFlags & fixed->dwFileFlagsMask);
        FFileOS = Integer(fixed->dwFileOS);
        FFileType = Integer(fixed->dwFileType);
        FILETIME ft;
        ft.dwHighDateTime = fixed->dwFileDateMS;
        ft.dwLowDateTime = fixed->dwFileDateLS;
        SYSTEMTIME st;
        TDateTime age = 0;
        if ((ft.dwHighDateTime != 0 || ft.dwLowDateTime != 0) && FileTimeToSystemTime(&ft, &st))
            FFileCreation = SystemTimeToDateTime(st);
        else if (FileAge(AAppName, age))
            // The block carries no date: the file's own time describes it.
            FFileCreation = age;
    }

    String* const fields[] = {&FCompanyName, &FFileDescription, &FFileVersion, &FInternalName,
                              &FLegalCopyright, &FLegalTradeMark, &FOriginalFileName,
                              &FProductName, &FProductVersion, &FComments};
    if (!VerQueryValue(block.data(), L"\\VarFileInfo\\Translation", &value, &len) ||
        len < sizeof(DWORD)) {
        for (String* f : fields) f->clear();
        return;
    }
    DWORD translation = *static_cast<const DWORD*>(value);
    String key = IntToHex(Integer(translation & 0xFFFF), 4) + IntToHex(Integer(translation >> 16), 4);

    static const wchar_t* const names[] = {L"CompanyName", L"FileDescription", L"FileVersion",
                                           L"InternalName", L"LegalCopyright", L"LegalTradeMarks",
                                           L"OriginalFileName", L"ProductName", L"ProductVersion",
                                           L"Comments"};
    for (size_t i = 0; i < std::size(names); ++i) {
        String path = String(L"StringFileInfo\\") + key + L"\\" + names[i];
        if (VerQueryValue(block.data(), path.c_str(), &value, &len) && len > 0) {
            const Char* text = static_cast<const Char*>(value);
            // len counts the ending zero; never read past it.
            size_t n = 0;
            while (n < len && text[n] != 0) ++n;
            fields[i]->assign(text, n);
        } else {
            fields[i]->clear();
        }
    }
}

Integer TExeInfo::GetVersionPart(Integer Index) const
{
    if (FFileVersion.empty()) return -1;
    TStringList parts;
    SplitVersion(FFileVersion, parts);
    if (Index >= parts.Count()) return -1;
    return StrToInt(parts[Index]);
}

Integer TExeInfo::GetFileVersionInt() const
{
    if (FFileVersion.empty()) return -1;
    TStringList parts;
    SplitVersion(FFileVersion, parts);
    String digits;
    for (Integer i = 0; i < parts.Count(); ++i) {
        String part = parts[i];
        while (part.size() < 2) part.insert(part.begin(), L'0');
        digits += part.substr(0, 2);
    }
    return StrToInt(digits);
}

String TExeInfo::GetVersion() const
{
    uint32_t nr = uint32_t(GetVersionNr());
    return IntToStr(Integer(nr >> 24)) + L"." + IntToStr(Integer((nr >> 16) & 0xFF)) + L"." +
           IntToStr(Integer((nr >> 8) & 0xFF)) + L"." + IntToStr(Integer(nr & 0xFF));
}

String TExeInfo::GetComputerName()
{
    // The platform's computer name holds at most 15 characters.
    String name = ::GetComputerName();
    if (name.empty() || name.size() > 15) return String();
    return name;
}

String ExeInfoOperatingSystemName(const TOSVersionInfoEx& info, const TOSVersionInfo* rtl)
{
    bool workstation = info.wProductType == VER_NT_WORKSTATION;
    DWORD major = info.dwMajorVersion, minor = info.dwMinorVersion;
    auto pick = [workstation](const wchar_t* ws, const wchar_t* server) {
        return String(workstation ? ws : server);
    };
    if (info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) {
        if (major == 4 && minor == 0) return L"Windows 95";
        if (major == 4 && minor == 10)
            return info.szCSDVersion[0] != 0 && info.szCSDVersion[1] == L'A' ? L"Windows 98 SE"
                                                                              : L"Windows 98";
        if (major == 4 && minor == 90) return L"Windows ME";
        return L"Unknown";
    }
    if (info.dwPlatformId != VER_PLATFORM_WIN32_NT) return L"Unknown";
    if (major <= 4) return L"Windows NT";
    if (major == 5) {
        if (minor == 0) return L"Windows 2000";
        if (minor == 1) return L"Windows XP";
        if (minor == 2) return L"Windows 2003";
        return L"Unknown";
    }
    if (major != 6) return L"Unknown";
    switch (minor) {
    case 0: return pick(L"Windows Vista", L"Windows Server 2008");
    case 1: return pick(L"Windows 7", L"Windows Server 2008R2");
    case 2:
        // The plain query answers 6.2 for every later system; the system
        // library's query tells the truth.
        if (rtl) {
            major = rtl->dwMajorVersion;
            minor = rtl->dwMinorVersion;
        }
        if (major == 6 && minor == 2) return pick(L"Windows 8", L"Windows Server 2012");
        if (major == 6 && minor == 3) return pick(L"Windows 8.1", L"Windows Server 2012R2");
        if (major == 10 && minor == 0) return pick(L"Windows 10", L"Windows Server 2016");
        return L"Unknown";
    case 3: return pick(L"Windows 8.1", L"Windows Server 2012R2");
    case 4: return pick(L"Windows 10", L"Windows Server 2016");
    default: return L"Unknown";
    }
}

String TExeInfo::GetOperatingSystem()
{
    TOSVersionInfoEx info;
    if (!GetVersionEx(&info)) return L"Unknown";
    TOSVersionInfo rtl;
    bool haveRtl = false;
    if (info.dwPlatformId == VER_PLATFORM_WIN32_NT && info.dwMajorVersion == 6 &&
        info.dwMinorVersion == 2) {
        using TRtlGetVersion = LONG (*)(OSVERSIONINFO*);
        if (HMODULE ntdll = GetModuleHandle(L"ntdll.dll"))
            if (auto fn = reinterpret_cast<TRtlGetVersion>(GetProcAddress(ntdll, "RtlGetVersion")))
                haveRtl = fn(&rtl) == 0;
    }
    return ExeInfoOperatingSystemName(info, haveRtl ? &rtl : nullptr);
}

String TExeInfo::GetWindowsDir() const
{
    Char buffer[261] = {};
    UINT n = GetWindowsDirectory(buffer, 261);
    if (n == 0 || n >= 261) return String();
    return IncludeTrailingPathDelimiter(String(buffer, n));
}

String TExeInfo::GetSystemDir() const
{
    Char buffer[261] = {};
    UINT n = GetSystemDirectory(buffer, 261);
    if (n == 0 || n >= 261) return String();
    return IncludeTrailingPathDelimiter(String(buffer, n));
}

String TExeInfo::GetTempDir() const { return GetTempPath(); }

String TExeInfo::GetMyDocumentsDir() const
{
    Char buffer[MAX_PATH + 1] = {};
    if (!SHGetSpecialFolderPath(nullptr, buffer, CSIDL_PERSONAL, 0))
        throw Exception(L"Could not find MyDocuments folder location.");
    return ExcludeTrailingPathDelimiter(String(buffer));
}
