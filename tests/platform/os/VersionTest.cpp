#include "platform/os/Version.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/os/Modules.h"

namespace {

String ExePath() { return UTF8ToString(std::string(VEL_BINARY_DIR) + "/app/velmora_d"); }

// Reads a block the way a caller does: size, allocation, read.
std::vector<uint32_t> ReadBlock(const String& file)
{
    DWORD handle = 7;
    DWORD size = GetFileVersionInfoSize(file.c_str(), &handle);
    EXPECT_EQ(handle, 0u);
    if (size == 0) return {};
    std::vector<uint32_t> block((size + 3) / 4, 0);   // aligned storage
    EXPECT_TRUE(GetFileVersionInfo(file.c_str(), 0, size, block.data()));
    EXPECT_FALSE(GetFileVersionInfo(file.c_str(), 0, size - 1, block.data()));
    return block;
}

String Text(const void* block, const String& path)
{
    void* p = nullptr;
    UINT len = 0;
    if (!VerQueryValue(block, path.c_str(), &p, &len)) return L"<missing>";
    const Char* s = static_cast<const Char*>(p);
    EXPECT_EQ(s[len - 1], 0);
    return String(s, len - 1);
}

TEST(Version, BlockOfTheBuiltExecutable)
{
    std::vector<uint32_t> block = ReadBlock(ExePath());
    ASSERT_FALSE(block.empty()) << "no version block in " << UTF8Encode(ExePath());

    void* p = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValue(block.data(), L"\\", &p, &len));
    ASSERT_EQ(len, sizeof(VS_FIXEDFILEINFO));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(p);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00020004u);   // project version 2.4.0
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileType, VFT_APP);

    ASSERT_TRUE(VerQueryValue(block.data(), L"\\VarFileInfo\\Translation", &p, &len));
    ASSERT_EQ(len, 4u);
    const auto* tr = static_cast<const Word*>(p);
    EXPECT_EQ(tr[0], 0x0409);
    EXPECT_EQ(tr[1], 0x04E4);

    const std::pair<const wchar_t*, const wchar_t*> texts[] = {
        {L"CompanyName", L"Corvanti"},
        {L"ProductName", L"Velmora Video Downloader"},
        {L"FileVersion", L"2.4.0.0"},
        {L"ProductVersion", L"2.4.0.0"},
        {L"InternalName", L"velmora_d"},
        {L"OriginalFileName", L"velmora_d"},   // looked up without regard to case
        {L"FileDescription", L"Velmora Video Downloader"},
        {L"LegalCopyright", L"Copyright (C) 2026 Corvanti"},
    };
    for (auto& [name, value] : texts)
        EXPECT_EQ(Text(block.data(), String(L"\\StringFileInfo\\040904E4\\") + name), value) << UTF8Encode(name);
    EXPECT_NE(Text(block.data(), L"StringFileInfo\\040904E4\\Comments"), L"<missing>");
    EXPECT_EQ(Text(block.data(), L"\\StringFileInfo\\040904E4\\LegalTrademarks"), L"<missing>");
    EXPECT_EQ(Text(block.data(), L"\\StringFileInfo\\04090000\\ProductName"), L"<missing>");
    EXPECT_FALSE(VerQueryValue(block.data(), L"\\Nothing", &p, &len));
}

TEST(Version, CommonControlsAnswerSix)
{
    std::vector<uint32_t> block = ReadBlock(L"COMCTL32.DLL");
    ASSERT_FALSE(block.empty());
    void* p = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValue(block.data(), L"\\", &p, &len));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(p);
    EXPECT_EQ(fixed->dwSignature, VS_FFI_SIGNATURE);
    EXPECT_EQ(fixed->dwFileVersionMS >> 16, 6u);
    EXPECT_EQ(fixed->dwFileVersionMS & 0xFFFF, 0u);
    EXPECT_GT(fixed->dwFileVersionMS, 0x00040045u);
}

// Files without a block, and malformed ELF files, answer 0 and never read
// outside the file.
TEST(Version, FilesWithoutABlock)
{
    char tmpl[] = "/tmp/velmora-ver-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    std::string dir = tmpl;
    auto write = [&](const std::string& name, const std::string& bytes) {
        std::ofstream(dir + "/" + name, std::ios::binary) << bytes;
        return UTF8ToString(dir + "/" + name);
    };
    std::string elf(64, '\0');
    memcpy(elf.data(), "\x7f" "ELF\x02\x01\x01", 7);
    std::string hugeOffset = elf;
    uint64_t off = ~0ull - 10;
    memcpy(hugeOffset.data() + 0x28, &off, 8);
    uint16_t entsize = 64, num = 60000, strndx = 3;
    memcpy(hugeOffset.data() + 0x3A, &entsize, 2);
    memcpy(hugeOffset.data() + 0x3C, &num, 2);
    memcpy(hugeOffset.data() + 0x3E, &strndx, 2);
    std::string pastEnd = hugeOffset;
    off = 32;
    memcpy(pastEnd.data() + 0x28, &off, 8);

    const String files[] = {
        write("empty", ""),
        write("text", "just text"),
        write("truncated", "\x7f" "ELF\x02\x01"),
        write("zeros", elf),
        write("huge", hugeOffset),
        write("pastend", pastEnd),
        UTF8ToString(dir + "/missing"),
        UTF8ToString(dir),                 // a folder
        L"/bin/sh",                        // an executable of someone else
        L"kernel32.dll",
    };
    for (const String& f : files) EXPECT_EQ(GetFileVersionInfoSize(f.c_str(), nullptr), 0u) << UTF8Encode(f);
    std::filesystem::remove_all(dir);
}

TEST(Version, SectionTextParsing)
{
    TVersionTexts t;
    EXPECT_TRUE(ParseVersionSection("VELVERSION 1\nProductName=A=B\r\nnonsense\nTranslation=0409fde9\n", t));
    EXPECT_EQ(t.ProductName, L"A=B");
    EXPECT_FALSE(ParseVersionSection("VELVERSION 2\nProductName=x\n", t));
    EXPECT_FALSE(ParseVersionSection("VELVERSION 1\nTranslation=12\n", t));

    // Texts without a translation: only the fixed part can be queried.
    t.Translation = L"";
    t.ProductName = L"x";
    std::string block = MakeVersionBlock(t, VS_FIXEDFILEINFO{});
    std::vector<uint32_t> aligned(block.size() / 4 + 1);
    memcpy(aligned.data(), block.data(), block.size());
    void* p;
    UINT len;
    EXPECT_TRUE(VerQueryValue(aligned.data(), L"\\", &p, &len));
    EXPECT_FALSE(VerQueryValue(aligned.data(), L"\\VarFileInfo\\Translation", &p, &len));
    EXPECT_FALSE(VerQueryValue(aligned.data(), L"\\StringFileInfo\\040904E4\\ProductName", &p, &len));
}

TEST(SystemVersion, AnswersTheProfile)
{
    OSVERSIONINFOEX ex;
    ASSERT_TRUE(GetVersionEx(&ex));
    EXPECT_EQ(ex.dwMajorVersion, 6u);
    EXPECT_EQ(ex.dwMinorVersion, 1u);
    EXPECT_EQ(ex.dwPlatformId, VER_PLATFORM_WIN32_NT);
    EXPECT_EQ(ex.wProductType, VER_NT_WORKSTATION);
    EXPECT_EQ(String(ex.szCSDVersion), L"Service Pack 1");

    OSVERSIONINFO plain;
    ASSERT_TRUE(GetVersionEx(&plain));
    EXPECT_EQ(plain.dwMinorVersion, 1u);
    plain.dwOSVersionInfoSize = 3;
    EXPECT_FALSE(GetVersionEx(&plain));

    using RtlFn = LONG (*)(OSVERSIONINFO*);
    auto rtl = reinterpret_cast<RtlFn>(GetProcAddress(GetModuleHandle(L"ntdll.dll"), "RtlGetVersion"));
    ASSERT_NE(rtl, nullptr);
    OSVERSIONINFOEX viaRtl;
    EXPECT_EQ(rtl(&viaRtl), 0);
    EXPECT_EQ(viaRtl.dwMajorVersion, 6u);
}

TEST(SystemVersion, FileTimes)
{
    struct Case {
        uint64_t ticks;
        SYSTEMTIME want;
    } cases[] = {
        {0, {1601, 1, 1, 1, 0, 0, 0, 0}},
        {116444736000000000ull, {1970, 1, 4, 1, 0, 0, 0, 0}},             // the Unix epoch, a Thursday
        {132223104000000000ull + 4 * 36000000000ull + 12345 * 10000ull,
         {2020, 1, 3, 1, 4, 0, 12, 345}},                                   // 2020-01-01 04:00:12.345, Wednesday
        {125962560000000000ull, {2000, 2, 2, 29, 0, 0, 0, 0}},             // leap day, a Tuesday
    };
    for (const Case& c : cases) {
        FILETIME ft{DWORD(c.ticks), DWORD(c.ticks >> 32)};
        SYSTEMTIME st;
        ASSERT_TRUE(FileTimeToSystemTime(&ft, &st));
        EXPECT_EQ(st.wYear, c.want.wYear);
        EXPECT_EQ(st.wMonth, c.want.wMonth);
        EXPECT_EQ(st.wDay, c.want.wDay);
        EXPECT_EQ(st.wDayOfWeek, c.want.wDayOfWeek) << c.ticks;
        EXPECT_EQ(st.wHour, c.want.wHour);
        EXPECT_EQ(st.wSecond, c.want.wSecond);
        EXPECT_EQ(st.wMilliseconds, c.want.wMilliseconds);
    }
    FILETIME bad{0, 0x80000000u};
    SYSTEMTIME st;
    EXPECT_FALSE(FileTimeToSystemTime(&bad, &st));
    EXPECT_DOUBLE_EQ(SystemTimeToDateTime(SYSTEMTIME{1899, 12, 0, 31, 12, 0, 0, 0}), 1.5);
}

TEST(Modules, AnswerTheProfile)
{
    HMODULE k = LoadLibrary(L"KERNEL32");
    ASSERT_NE(k, nullptr);
    EXPECT_EQ(k, GetModuleHandle(L"c:\\windows\\system32\\kernel32.dll"));
    EXPECT_NE(GetProcAddress(k, "GetLocaleInfoEx"), nullptr);
    EXPECT_EQ(GetProcAddress(k, "NoSuchFunction"), nullptr);
    EXPECT_NE(LoadLibrary(L"uxtheme.dll"), nullptr);
    HMODULE cc = LoadLibrary(L"comctl32.dll");
    ASSERT_NE(cc, nullptr);
    for (const char* fn : {"InitializeFlatSB", "FlatSB_SetScrollInfo", "FlatSB_SetScrollProp"})
        EXPECT_EQ(GetProcAddress(cc, fn), nullptr) << fn;
    EXPECT_EQ(LoadLibrary(L"msvbvm60.dll"), nullptr);
    EXPECT_NE(GetModuleHandle(nullptr), nullptr);
    EXPECT_TRUE(FreeLibrary(k));

    using Cmp = int (*)(const Char*, const Char*);
    auto cmp = reinterpret_cast<Cmp>(GetProcAddress(LoadLibrary(L"shlwapi.dll"), "StrCmpLogicalW"));
    ASSERT_NE(cmp, nullptr);
    EXPECT_LT(cmp(L"file2.txt", L"File10.txt"), 0);
    EXPECT_GT(cmp(L"b", L"A"), 0);
    EXPECT_LT(cmp(L"a", L"a1"), 0);

    // Higher layers enter their functions at start-up.
    HMODULE u = LoadLibrary(L"user32.dll");
    EXPECT_EQ(GetProcAddress(u, "SetMarkerForTest"), nullptr);
    static int marker;
    RegisterModuleExport(L"USER32", "SetMarkerForTest", &marker);
    EXPECT_EQ(GetProcAddress(u, "SetMarkerForTest"), &marker);
    RegisterModuleExport(L"user32.dll", "SetMarkerForTest", nullptr);
    EXPECT_EQ(GetProcAddress(u, "SetMarkerForTest"), nullptr);
}

}  // namespace
