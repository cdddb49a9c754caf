// TExeInfo: a non-visual component that tells a window about the running
// program and its machine: the texts and fixed data of the executable's
// version block, the computer's name, the name of the system version, and
// the system, temporary and documents folders.
//
// The version texts are read once, when the component is created (not at
// design time), and again by GetVersionInfoOfApp. The folder, computer and
// system-name properties are asked afresh at every read.
#pragma once

#include "platform/base/Objects.h"
#include "platform/base/Types.h"
#include "platform/os/Version.h"

class TExeInfo : public TComponent {
    VEL_CLASS(TExeInfo, TComponent)
public:
    explicit TExeInfo(TComponent* AOwner);

    // Reads the version block of the named executable into the fields. A
    // file without a block leaves every field as it was.
    void GetVersionInfoOfApp(const String& AAppName);

    // The first to fourth dot-separated number of FileVersion; -1 when it is
    // empty or has fewer parts. A part that is not a number raises
    // EConvertError.
    Integer MajorVersion() const { return GetVersionPart(0); }
    Integer MinorVersion() const { return GetVersionPart(1); }
    Integer ReleaseNumber() const { return GetVersionPart(2); }
    Integer BuildNumber() const { return GetVersionPart(3); }

    const String& CompanyName() const { return FCompanyName; }
    void SetCompanyName(const String& v) { FCompanyName = v; }
    const String& FileDescription() const { return FFileDescription; }
    void SetFileDescription(const String& v) { FFileDescription = v; }
    const String& FileVersion() const { return FFileVersion; }
    void SetFileVersion(const String& v) { FFileVersion = v; }
    const String& InternalName() const { return FInternalName; }
    void SetInternalName(const String& v) { FInternalName = v; }
    const String& LegalCopyright() const { return FLegalCopyright; }
    void SetLegalCopyright(const String& v) { FLegalCopyright = v; }
    const String& LegalTradeMark() const { return FLegalTradeMark; }
    void SetLegalTradeMark(const String& v) { FLegalTradeMark = v; }
    const String& OriginalFileName() const { return FOriginalFileName; }
    void SetOriginalFileName(const String& v) { FOriginalFileName = v; }
    const String& ProductName() const { return FProductName; }
    void SetProductName(const String& v) { FProductName = v; }
    const String& ProductVersion() const { return FProductVersion; }
    void SetProductVersion(const String& v) { FProductVersion = v; }
    const String& Comments() const { return FComments; }
    void SetComments(const String& v) { FComments = v; }

    // The computer's name, asked afresh; empty when it has more than 15
    // characters or cannot be had.
    String ComputerName() { return GetComputerName(); }
    // The system's name ("Windows 7" for the platform's profile), asked afresh.
    String OSName() { return GetOperatingSystem(); }
    void SetOSName(const String& v) { FOsName = v; }
    // The Windows and system folders, with a trailing delimiter; empty when
    // the query fails.
    String WindowsDir() const { return GetWindowsDir(); }
    void SetWindowsDir(const String& v) { FWindowsDir = v; }
    String SystemDir() const { return GetSystemDir(); }
    void SetSystemDir(const String& v) { FSystemDir = v; }
    // The temporary folder, with a trailing delimiter.
    String TempDir() const { return GetTempDir(); }
    void SetTempDir(const String& v) { FTempDir = v; }
    // The user's documents folder without a trailing delimiter; Exception
    // "Could not find MyDocuments folder location." when there is none.
    String MyDocumentsDir() const { return GetMyDocumentsDir(); }
    void SetMyDocumentsDir(const String& v) { FMyDocumentsDir = v; }

    // The component's own version, "1.3.3.0" whatever is written to it.
    String Version() const { return GetVersion(); }
    void SetVersion(const String&) {}

    Integer FileFlags() const { return FFileFlags; }
    Integer FileOS() const { return FFileOS; }
    Integer FileType() const { return FFileType; }
    TDateTime FileCreation() const { return FFileCreation; }
    // FileVersion as one integer of two digits per part (1.3.3.0 gives
    // 1030300); -1 when it is empty; EConvertError when it is not numeric.
    Integer FileVersionInt() const { return GetFileVersionInt(); }

    static void Publish(TPublisher<TExeInfo>& p);

protected:
    // The component's version packed one byte per part: 0x01030300.
    virtual Integer GetVersionNr() const;
    virtual void ReadOwnVersionInfo();
    virtual String GetComputerName();
    virtual String GetOperatingSystem();

private:
    Integer GetVersionPart(Integer Index) const;
    Integer GetFileVersionInt() const;
    String GetVersion() const;
    String GetWindowsDir() const;
    String GetSystemDir() const;
    String GetTempDir() const;
    String GetMyDocumentsDir() const;

    String FCompanyName;
    String FFileDescription;
    String FFileVersion;
    String FInternalName;
    String FLegalCopyright;
    String FLegalTradeMark;
    String FOriginalFileName;
    String FProductName;
    String FProductVersion;
    String FComments;
    String FComputerName;
    String FOsName;
    String FWindowsDir;
    String FSystemDir;
    String FTempDir;
    Integer FFileFlags = 0;
    Integer FFileOS = 0;
    Integer FFileType = 0;
    TDateTime FFileCreation = 0;
    String FMyDocumentsDir;
};

// The name of a system version as TExeInfo reports it. info is the first
// version query (its product type decides workstation or server); rtl, when
// not null, is the system library's answer, consulted only for 6.2 (which
// the plain query reports for every later version).
String ExeInfoOperatingSystemName(const TOSVersionInfoEx& info, const TOSVersionInfo* rtl);
