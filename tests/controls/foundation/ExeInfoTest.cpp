#include "controls/foundation/ExeInfo.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "platform/base/Exceptions.h"
#include "platform/base/Files.h"

namespace {

String VelmoraPath() { return UTF8ToString(VEL_BINARY_DIR "/app/velmora_d"); }

const wchar_t* const kRunTime = L"Updated at run-time";

// A private temporary folder, removed with everything in it.
struct TTempFolder {
    std::string Path;
    TTempFolder()
    {
        char tmpl[] = "/tmp/velmora-exeinfo-XXXXXX";
        const char* p = mkdtemp(tmpl);
        if (p) Path = p;
    }
    ~TTempFolder()
    {
        std::error_code ec;
        if (!Path.empty()) std::filesystem::remove_all(Path, ec);
    }
};

// Sets an environment variable for the life of the object, then puts back
// what was there.
struct TEnvOverride {
    std::string Name;
    std::optional<std::string> Old;
    TEnvOverride(const char* name, const std::string& value) : Name(name)
    {
        if (const char* v = getenv(name)) Old = v;
        setenv(name, value.c_str(), 1);
    }
    ~TEnvOverride()
    {
        if (Old) setenv(Name.c_str(), Old->c_str(), 1);
        else unsetenv(Name.c_str());
    }
};

}  // namespace

TEST(ExeInfo, ReadsTheBlockOfTheBuiltExecutable)
{
    TExeInfo info(nullptr);
    info.GetVersionInfoOfApp(VelmoraPath());
    EXPECT_EQ(info.CompanyName(), L"Corvanti");
    EXPECT_EQ(info.ProductName(), L"Velmora Video Downloader");
    EXPECT_EQ(info.FileDescription(), L"Velmora Video Downloader");
    EXPECT_EQ(info.FileVersion(), L"2.4.0.0");
    EXPECT_EQ(info.ProductVersion(), L"2.4.0.0");
    EXPECT_EQ(info.InternalName(), L"velmora_d");
    EXPECT_EQ(info.OriginalFileName(), L"velmora_d");
    EXPECT_EQ(info.LegalCopyright(), L"Copyright (C) 2026 Corvanti");
    // Texts the block does not carry are cleared, not left at the default.
    EXPECT_EQ(info.LegalTradeMark(), L"");

    EXPECT_EQ(info.MajorVersion(), 2);
    EXPECT_EQ(info.MinorVersion(), 4);
    EXPECT_EQ(info.ReleaseNumber(), 0);
    EXPECT_EQ(info.BuildNumber(), 0);
    EXPECT_EQ(info.FileVersionInt(), 2040000);

    EXPECT_EQ(info.FileOS(), Integer(VOS_NT_WINDOWS32));
    EXPECT_EQ(info.FileType(), Integer(VFT_APP));
    EXPECT_EQ(info.FileFlags() & ~Integer(VS_FFI_FILEFLAGSMASK), 0);
    // The block has no date: the file's own modification time stands in.
    TDateTime age = 0;
    ASSERT_TRUE(FileAge(VelmoraPath(), age));
    EXPECT_DOUBLE_EQ(info.FileCreation(), age);
}

TEST(ExeInfo, FilesWithoutABlockLeaveTheFieldsAlone)
{
    // The test program itself carries no version block.
    TExeInfo info(nullptr);
    EXPECT_EQ(info.ProductName(), kRunTime);
    EXPECT_EQ(info.FileVersion(), kRunTime);
    EXPECT_EQ(info.Comments(), kRunTime);
    EXPECT_EQ(info.FileCreation(), 0.0);
    // Version numbers of a text that is no number are a conversion error.
    EXPECT_THROW(info.MajorVersion(), EConvertError);
    EXPECT_THROW(info.FileVersionInt(), EConvertError);

    TTempFolder dir;
    ASSERT_FALSE(dir.Path.empty());
    std::string plain = dir.Path + "/plain.exe";
    std::ofstream(plain) << "not an executable at all";
    info.SetProductName(L"kept");
    for (const String& f : {UTF8ToString(plain), UTF8ToString(dir.Path + "/missing.exe"),
                            UTF8ToString(dir.Path)}) {
        info.GetVersionInfoOfApp(f);
        EXPECT_EQ(info.ProductName(), L"kept") << UTF8Encode(f);
        EXPECT_EQ(info.CompanyName(), kRunTime);
    }

    // After a good read, a file without a block changes nothing either.
    info.GetVersionInfoOfApp(VelmoraPath());
    info.GetVersionInfoOfApp(UTF8ToString(plain));
    EXPECT_EQ(info.ProductName(), L"Velmora Video Downloader");
}

TEST(ExeInfo, DesignTimeCreationOnlySetsTheDefaultTexts)
{
    TComponent form(nullptr);
    form.SetDesigning(true);
    auto* info = new TExeInfo(&form);   // freed by its owner
    EXPECT_TRUE(info->ComponentState().Contains(csDesigning));
    EXPECT_EQ(info->ProductName(), kRunTime);
    EXPECT_EQ(info->LegalTradeMark(), kRunTime);
}

TEST(ExeInfo, VersionNumbersFromTheFileVersionText)
{
    struct Case {
        const wchar_t* Text;
        Integer Major, Minor, Release, Build, AsInt;
    };
    const Case cases[] = {
        {L"1.3.3.0", 1, 3, 3, 0, 1030300},
        {L"10.2.25.1234", 10, 2, 25, 1234, 10022512},
        {L"1.3.3", 1, 3, 3, -1, 10303},
        {L"7", 7, -1, -1, -1, 7},
        {L"", -1, -1, -1, -1, -1},
        {L"1 2.3", 1, 2, 3, -1, 10203},   // comma text also splits at blanks
    };
    TExeInfo info(nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(UTF8Encode(c.Text));
        info.SetFileVersion(c.Text);
        EXPECT_EQ(info.MajorVersion(), c.Major);
        EXPECT_EQ(info.MinorVersion(), c.Minor);
        EXPECT_EQ(info.ReleaseNumber(), c.Release);
        EXPECT_EQ(info.BuildNumber(), c.Build);
        EXPECT_EQ(info.FileVersionInt(), c.AsInt);
    }

    info.SetFileVersion(L"1.x.3.0");
    EXPECT_EQ(info.MajorVersion(), 1);
    EXPECT_THROW(info.MinorVersion(), EConvertError);
    EXPECT_THROW(info.FileVersionInt(), EConvertError);
    // Too many digits for an Integer is a conversion error, not a wrap.
    info.SetFileVersion(L"99.99.99.99.99");
    EXPECT_THROW(info.FileVersionInt(), EConvertError);
}

TEST(ExeInfo, OwnVersionIgnoresWrites)
{
    TExeInfo info(nullptr);
    EXPECT_EQ(info.Version(), L"1.3.3.0");
    info.SetVersion(L"9.9.9.9");
    EXPECT_EQ(info.Version(), L"1.3.3.0");

    // Only Version is kept in form descriptions.
    for (const TPropInfo& p : TExeInfo::StaticClass()->Props) {
        if (p.Name == L"Name" || p.Name == L"Tag") continue;
        EXPECT_EQ(p.Stored, p.Name == L"Version") << UTF8Encode(p.Name);
    }
    const TPropInfo* version = TExeInfo::StaticClass()->FindProp(L"Version");
    ASSERT_NE(version, nullptr);
    version->SetStr(&info, L"2.0");
    EXPECT_EQ(version->GetStr(&info), L"1.3.3.0");
}

TEST(ExeInfo, OperatingSystemNames)
{
    struct Case {
        DWORD Platform, Major, Minor;
        Byte ProductType;
        const wchar_t* Csd;
        int RtlMajor, RtlMinor;   // -1: no system-library answer
        const wchar_t* Name;
    };
    const Case cases[] = {
        {1, 4, 0, 0, L"", -1, -1, L"Windows 95"},
        {1, 4, 10, 0, L" A", -1, -1, L"Windows 98 SE"},
        {1, 4, 10, 0, L"", -1, -1, L"Windows 98"},
        {1, 4, 90, 0, L"", -1, -1, L"Windows ME"},
        {1, 5, 0, 0, L"", -1, -1, L"Unknown"},
        {2, 4, 0, 1, L"", -1, -1, L"Windows NT"},
        {2, 5, 0, 1, L"", -1, -1, L"Windows 2000"},
        {2, 5, 1, 1, L"", -1, -1, L"Windows XP"},
        {2, 5, 2, 3, L"", -1, -1, L"Windows 2003"},
        {2, 6, 0, 1, L"", -1, -1, L"Windows Vista"},
        {2, 6, 0, 3, L"", -1, -1, L"Windows Server 2008"},
        {2, 6, 1, 1, L"", -1, -1, L"Windows 7"},
        {2, 6, 1, 2, L"", -1, -1, L"Windows Server 2008R2"},
        {2, 6, 2, 1, L"", -1, -1, L"Windows 8"},
        {2, 6, 2, 3, L"", -1, -1, L"Windows Server 2012"},
        {2, 6, 2, 1, L"", 6, 3, L"Windows 8.1"},
        {2, 6, 2, 3, L"", 6, 3, L"Windows Server 2012R2"},
        {2, 6, 2, 1, L"", 10, 0, L"Windows 10"},
        {2, 6, 2, 3, L"", 10, 0, L"Windows Server 2016"},
        {2, 6, 2, 1, L"", 11, 0, L"Unknown"},
        {2, 6, 3, 1, L"", -1, -1, L"Windows 8.1"},
        {2, 6, 4, 3, L"", -1, -1, L"Windows Server 2016"},
        {2, 6, 5, 1, L"", -1, -1, L"Unknown"},
        {2, 10, 0, 1, L"", -1, -1, L"Unknown"},
        {0, 3, 1, 0, L"", -1, -1, L"Unknown"},
    };
    for (const Case& c : cases) {
        TOSVersionInfoEx info;
        info.dwPlatformId = c.Platform;
        info.dwMajorVersion = c.Major;
        info.dwMinorVersion = c.Minor;
        info.wProductType = c.ProductType;
        for (size_t i = 0; c.Csd[i]; ++i) info.szCSDVersion[i] = c.Csd[i];
        TOSVersionInfo rtl;
        rtl.dwMajorVersion = DWORD(c.RtlMajor);
        rtl.dwMinorVersion = DWORD(c.RtlMinor);
        EXPECT_EQ(ExeInfoOperatingSystemName(info, c.RtlMajor < 0 ? nullptr : &rtl), c.Name)
            << c.Platform << " " << c.Major << "." << c.Minor << " type " << int(c.ProductType);
    }

    // The platform answers as an NT 6.1 workstation.
    TExeInfo exe(nullptr);
    EXPECT_EQ(exe.OSName(), L"Windows 7");
    exe.SetOSName(L"Other");
    EXPECT_EQ(exe.OSName(), L"Windows 7");
}

TEST(ExeInfo, MachineAndFolders)
{
    TExeInfo info(nullptr);
    String host = GetComputerName();
    EXPECT_EQ(info.ComputerName(), host.size() <= 15 ? host : String());
    EXPECT_EQ(info.WindowsDir(), L"/usr/");
    EXPECT_EQ(info.SystemDir(), L"/usr/lib/");
    String temp = info.TempDir();
    ASSERT_FALSE(temp.empty());
    EXPECT_EQ(temp.back(), PathDelim);

    TTempFolder dir;
    ASSERT_FALSE(dir.Path.empty());
    {
        TEnvOverride home("HOME", dir.Path + "/home");
        TEnvOverride config("XDG_CONFIG_HOME", dir.Path + "/config");
        EXPECT_EQ(info.MyDocumentsDir(), UTF8ToString(dir.Path + "/home/Documents"));
    }
    {
        // A documents folder the shell cannot give.
        TEnvOverride home("HOME", dir.Path + "/" + std::string(300, 'h'));
        TEnvOverride config("XDG_CONFIG_HOME", dir.Path + "/config");
        try {
            info.MyDocumentsDir();
            ADD_FAILURE() << "no exception";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), L"Could not find MyDocuments folder location.");
        }
    }
}
