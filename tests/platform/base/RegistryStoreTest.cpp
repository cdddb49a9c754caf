// The settings store's file: lossless text form, the user's lines kept,
// backups, links, and the in-memory copy that follows other writers.
#include "platform/base/RegistryStore.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <thread>

#include "platform/base/Files.h"
#include "platform/base/SysUtils.h"

using namespace regstore;

namespace {

std::vector<Byte> Units(std::initializer_list<uint32_t> units)
{
    std::vector<Byte> b(units.size() * 4);
    size_t i = 0;
    for (uint32_t u : units) std::memcpy(&b[4 * i++], &u, 4);
    return b;
}

std::vector<Byte> UnitsOfText(const String& s)
{
    std::vector<Byte> b((s.size() + 1) * 4, 0);
    std::memcpy(b.data(), s.data(), s.size() * 4);
    return b;
}

class RegistryStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/vel_regstore_XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        FDir = tmpl;
        const char* old = std::getenv("XDG_CONFIG_HOME");
        FHadOld = old != nullptr;
        if (old) FOld = old;
        ::setenv("XDG_CONFIG_HOME", FDir.c_str(), 1);
        RegistryStoreReset();
        FRegDir = FDir + "/velmora/registry";
        FStore = FRegDir + "/HKEY_CURRENT_USER.reg";
        ASSERT_TRUE(ForceDirectories(UTF8ToString(FRegDir)));
    }
    void TearDown() override
    {
        RegistryStoreReset();
        if (FHadOld) ::setenv("XDG_CONFIG_HOME", FOld.c_str(), 1);
        else ::unsetenv("XDG_CONFIG_HOME");
        ::system(("rm -rf '" + FDir + "'").c_str());
    }

    static void WriteText(const std::string& path, const std::string& text)
    {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    }
    static std::string ReadText(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    static HKEY Open(const wchar_t* path)
    {
        HKEY k = 0;
        EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr),
                  ERROR_SUCCESS);
        return k;
    }
    static LONG Set(HKEY k, const String& name, DWORD type, const std::vector<Byte>& data)
    {
        return RegSetValueEx(k, name.c_str(), 0, type, data.data(), DWORD(data.size()));
    }
    static bool Get(HKEY k, const String& name, DWORD& type, std::vector<Byte>& data)
    {
        DWORD size = 0;
        if (RegQueryValueEx(k, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
        data.resize(size);
        return RegQueryValueEx(k, name.c_str(), nullptr, &type, data.data(), &size) == ERROR_SUCCESS;
    }
    String ReadSetting(const wchar_t* key, const wchar_t* name)
    {
        TRegistry reg(KEY_READ);
        if (!reg.OpenKeyReadOnly(key)) return L"<no key>";
        return reg.ValueExists(name) ? reg.ReadString(name) : String(L"<none>");
    }

    std::string FDir, FRegDir, FStore, FOld;
    bool FHadOld = false;
};

// A unit too large for \uXXXX (here a negative wchar_t, read from raw
// bytes) once made the writer format past a fixed buffer; every unit now
// has a form and reads back as it was.
TEST_F(RegistryStoreTest, UnitsThatFitNoShortEscapeRoundTrip)
{
    WriteText(FStore, "[HKEY_CURRENT_USER\\A]\n\"s\"=hex(1):41,00,00,00,ff,ff,ff,ff\n");
    HKEY k = Open(L"\\A");
    DWORD type = 0;
    std::vector<Byte> data;
    ASSERT_TRUE(Get(k, L"s", type, data));
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(data, Units({0x41, 0xFFFFFFFF, 0}));
    ASSERT_EQ(Set(k, L"other", REG_DWORD, Units({7})), ERROR_SUCCESS);   // rewrites the file
    EXPECT_NE(ReadText(FStore).find("\"s\"=hex(1):41,00,00,00,ff,ff,ff,ff\n"), std::string::npos)
        << "an unchanged value keeps its line";
    ASSERT_EQ(Set(k, L"s", REG_SZ, Units({0x41, 0xFFFFFFFF, 0xD800, 0x110000, 0x80000000u, 0})), ERROR_SUCCESS);
    EXPECT_NE(ReadText(FStore).find("\"s\"=\"A\\Uffffffff\\U0000d800\\U00110000\\U80000000\"\n"), std::string::npos)
        << ReadText(FStore);
    RegCloseKey(k);
    RegistryStoreReset();
    k = Open(L"\\A");
    ASSERT_TRUE(Get(k, L"s", type, data));
    EXPECT_EQ(data, Units({0x41, 0xFFFFFFFF, 0xD800, 0x110000, 0x80000000u, 0}));
    RegCloseKey(k);
}

// Cases that once came back otherwise or not at all, through the file.
TEST_F(RegistryStoreTest, AwkwardValuesRoundTripThroughTheFile)
{
    struct TCase {
        const wchar_t* Name;
        DWORD Type;
        std::vector<Byte> Data;
        const char* Line;   // as written
    };
    const std::vector<TCase> cases = {
        {L"ctl", REG_SZ, UnitsOfText(L"\x01" L"a\x1f" L"F\x7f" L"0"), "\"ctl\"=\"\\u0001a\\u001fF\\u007f0\""},
        {L"t17", 0x17, {1, 2}, "\"t17\"=hex(17):01,02"},
        {L"t10", 0x10, {}, "\"t10\"=hex(10):"},
        {L"tmax", 0xFFFFFFFF, {0xff}, "\"tmax\"=hex(ffffffff):ff"},
        {L"dw3", REG_DWORD, {1, 2, 3}, "\"dw3\"=hex(4):01,02,03"},
        {L"n\x01" L"1\"\\", REG_BINARY, {0}, "\"n\\u00011\\\"\\\\\"=hex:00"},
        {L"multi", REG_MULTI_SZ, UnitsOfText(String(L"a\0\0b\x02" L"c", 6)), "\"multi\"=multi:\"a\",\"\",\"b\\u0002c\""},
        {L"", REG_EXPAND_SZ, UnitsOfText(L"%HOME%\x7f"), "@=expand:\"%HOME%\\u007f\""},
    };
    HKEY k = Open(L"\\Awkward");
    for (const TCase& c : cases) ASSERT_EQ(Set(k, c.Name, c.Type, c.Data), ERROR_SUCCESS) << UTF8Encode(c.Name);
    RegCloseKey(k);
    std::string text = ReadText(FStore);
    for (const TCase& c : cases) EXPECT_NE(text.find(std::string(c.Line) + "\n"), std::string::npos) << c.Line;
    RegistryStoreReset();
    k = Open(L"\\Awkward");
    for (const TCase& c : cases) {
        DWORD type = 0;
        std::vector<Byte> data;
        ASSERT_TRUE(Get(k, c.Name, type, data)) << c.Line;
        EXPECT_EQ(type, c.Type) << c.Line;
        bool text = c.Type == REG_SZ || c.Type == REG_EXPAND_SZ || c.Type == REG_MULTI_SZ;
        EXPECT_EQ(data, text ? NormaliseString(c.Type, c.Data) : c.Data)
            << c.Line;
    }
    RegCloseKey(k);
}

// Random names, types and data: written afresh or over a file with lines of
// its own, every value reads back identically.
TEST(RegistryStoreText, RandomValuesRoundTrip)
{
    std::mt19937 rng(20261210);
    auto unit = [&]() -> uint32_t {
        switch (rng() % 6) {
        case 0: return rng() % 0x20;               // control characters
        case 1: return rng();                      // anything, negative included
        case 2: return 0xD800 + rng() % 0x800;     // surrogates
        case 3: return "\"\\@=,[]:;# xX0fF"[rng() % 16];
        default: return 0x20 + rng() % 0x3000;
        }
    };
    for (int round = 0; round < 200; ++round) {
        TRegNode root;
        int keys = 1 + int(rng() % 4);
        for (int k = 0; k < keys; ++k) {
            String keyName = L"K" + IntToStr(k) + String(1, Char(0x20 + rng() % 0x5000));
            if (keyName.back() == L'\\' || keyName.back() == 0x7F) keyName.back() = L'k';
            TRegNode* node = Descend(root, {L"Soft", keyName}, true);
            int values = int(rng() % 6);
            for (int v = 0; v < values; ++v) {
                TRegValue val;
                size_t len = rng() % 6;
                for (size_t i = 0; i < len; ++i) {
                    uint32_t u = unit();
                    val.Name += Char(u ? u : 1);
                }
                const DWORD types[] = {REG_NONE, REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD, REG_MULTI_SZ,
                                       REG_QWORD, 0x10, 0x17, 0x100, 0xFFFFFFFF, static_cast<DWORD>(rng())};
                val.Type = types[rng() % 12];
                size_t bytes = rng() % 24;
                if (val.Type == REG_DWORD && rng() % 2) bytes = 4;
                if (val.Type == REG_QWORD && rng() % 2) bytes = 8;
                if (val.Type == REG_SZ || val.Type == REG_EXPAND_SZ || val.Type == REG_MULTI_SZ) {
                    for (size_t i = 0; i < bytes / 4; ++i) {
                        uint32_t u = rng() % 5 == 0 ? 0 : unit();
                        val.Data.insert(val.Data.end(), reinterpret_cast<Byte*>(&u), reinterpret_cast<Byte*>(&u) + 4);
                    }
                    val.Data = NormaliseString(val.Type, val.Data);
                } else {
                    for (size_t i = 0; i < bytes; ++i) val.Data.push_back(Byte(rng()));
                }
                String f = Fold(val.Name);
                if (!node->Values.count(f)) node->Values[f] = val;
            }
        }
        TStoreDoc fresh;
        Parse(Serialise(root), fresh);
        ASSERT_TRUE(SameTree(root, fresh.Root)) << Serialise(root);

        // The same tree over a file that has lines of its own.
        TStoreDoc foreign;
        Parse("; mine\n[HKEY_CURRENT_USER\\Soft\\K0x]\n\"old\"=\"x\"\nnot a line\n\xff\xfe\n", foreign);
        bool lossy = true;
        std::string text = Rewrite(foreign, root, lossy);
        EXPECT_FALSE(lossy);
        TStoreDoc back;
        Parse(text, back);
        ASSERT_TRUE(SameTree(root, back.Root)) << text;
        EXPECT_EQ(text.rfind("; mine\n", 0), 0u);
        EXPECT_NE(text.find("not a line\n\xff\xfe\n"), std::string::npos);
    }
}

// The same through the registry calls and the file: random values set one
// by one, read back after the store is read afresh.
TEST_F(RegistryStoreTest, RandomValuesRoundTripThroughTheStore)
{
    std::mt19937 rng(11);
    std::map<std::pair<int, String>, TRegValue> written;   // by key and folded name
    HKEY keys[3] = {Open(L"\\R\\a"), Open(L"\\R\\b c"), Open(L"\\R\\\x00e9\x4e2d")};
    for (int i = 0; i < 60; ++i) {
        TRegValue v;
        for (size_t n = rng() % 5; n > 0; --n) v.Name += Char(rng() % 3 ? 1 + rng() % 0x7F : rng() | 1);
        const DWORD types[] = {REG_SZ, REG_MULTI_SZ, REG_BINARY, REG_DWORD, REG_QWORD, 0x10, 0x1234567, REG_NONE};
        v.Type = types[rng() % 8];
        for (size_t n = rng() % 6; n > 0; --n) {
            uint32_t u = rng() % 4 ? rng() % 0x80 : rng();
            v.Data.insert(v.Data.end(), reinterpret_cast<Byte*>(&u), reinterpret_cast<Byte*>(&u) + 4);
        }
        int k = int(rng() % 3);
        ASSERT_EQ(Set(keys[k], v.Name, v.Type, v.Data), ERROR_SUCCESS);
        if (v.Type == REG_SZ || v.Type == REG_MULTI_SZ) v.Data = NormaliseString(v.Type, v.Data);
        auto& slot = written[{k, Fold(v.Name)}];
        if (!slot.Name.empty() || slot.Type != REG_NONE || !slot.Data.empty()) v.Name = slot.Name;   // first spelling stays
        slot = v;
    }
    for (HKEY k : keys) RegCloseKey(k);
    RegistryStoreReset();
    const wchar_t* paths[3] = {L"\\R\\a", L"\\R\\b c", L"\\R\\\x00e9\x4e2d"};
    for (const auto& [id, v] : written) {
        HKEY k = Open(paths[id.first]);
        DWORD type = 0;
        std::vector<Byte> data;
        ASSERT_TRUE(Get(k, v.Name, type, data));
        EXPECT_EQ(type, v.Type);
        EXPECT_EQ(data, v.Data);
        RegCloseKey(k);
    }
}

// A change rewrites only its own line; comments, lines the parser refused,
// foreign syntax and bytes that are not UTF-8 stay as and where they were.
TEST_F(RegistryStoreTest, RewriteKeepsEveryOtherLineInPlace)
{
    const std::string before =
        "; my notes\n"
        "orphan line before any key\n"
        "[HKEY_CURRENT_USER\\App]\n"
        "# proxy of the office\n"
        "\"server\"=\"proxy.local\"\n"
        "\"port\"=\"8080\"\n"
        "\"weird\"=float:1.5\n"
        "\"latin1\"=\"caf\xe9\"\n"
        "\n"
        "[HKEY_CURRENT_USER\\Other]\n"
        "\"n\"=dword:00000001\n";
    WriteText(FStore, before);
    TRegIniFile ini(L"");
    ini.WriteString(L"\\App", L"port", L"3128");
    ini.WriteString(L"\\App", L"user", L"me");
    const std::string expected =
        "; my notes\n"
        "orphan line before any key\n"
        "[HKEY_CURRENT_USER\\App]\n"
        "# proxy of the office\n"
        "\"server\"=\"proxy.local\"\n"
        "\"port\"=\"3128\"\n"
        "\"weird\"=float:1.5\n"
        "\"latin1\"=\"caf\xe9\"\n"
        "\"user\"=\"me\"\n"
        "\n"
        "[HKEY_CURRENT_USER\\Other]\n"
        "\"n\"=dword:00000001\n";
    EXPECT_EQ(ReadText(FStore), expected);
    EXPECT_FALSE(FileExists(UTF8ToString(FStore + ".bak"))) << "nothing was dropped";

    // A new key goes at the end; a deleted one takes its lines along.
    ini.WriteString(L"\\New\\Deep", L"x", L"1");
    ini.EraseSection(L"\\Other");
    EXPECT_EQ(ReadText(FStore), expected.substr(0, expected.find("[HKEY_CURRENT_USER\\Other]")) +
                                    "[HKEY_CURRENT_USER\\New\\Deep]\n\"x\"=\"1\"\n");
    EXPECT_FALSE(FileExists(UTF8ToString(FStore + ".bak")));
}

// Writing what the store already holds leaves the file alone.
TEST_F(RegistryStoreTest, UnchangedWriteTouchesNoFile)
{
    const std::string before = "; mine\n[HKEY_CURRENT_USER\\App]\n\"proxy\"=\"1\"\n\"n\"=dword:00000005\n";
    WriteText(FStore, before);
    struct stat st1{}, st2{};
    ASSERT_EQ(::stat(FStore.c_str(), &st1), 0);
    {
        TRegIniFile ini(L"");
        ini.WriteString(L"\\App", L"proxy", L"1");
        ini.WriteInteger(L"\\App", L"proxy", 1);   // the same text
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(L"\\App", false));
        reg.WriteInteger(L"n", 5);
    }
    ASSERT_EQ(::stat(FStore.c_str(), &st2), 0);
    EXPECT_EQ(st1.st_ino, st2.st_ino);
    EXPECT_EQ(ReadText(FStore), before);
}

// When a rewrite has to drop something that was not the change itself, the
// previous file is kept beside the store.
TEST_F(RegistryStoreTest, LossyRewriteKeepsTheFileAsBackup)
{
    const std::string before = "[HKEY_CURRENT_USER\\App]\n\"d\"=\"first\"\n\"keep\"=\"k\"\n\"d\"=\"second\"\n";
    WriteText(FStore, before);
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(L"\\App", false));
    EXPECT_EQ(reg.ReadString(L"d"), L"second");
    reg.WriteString(L"d", L"third");   // the line that counts changes; the other stays, unread
    EXPECT_EQ(ReadText(FStore), "[HKEY_CURRENT_USER\\App]\n\"d\"=\"first\"\n\"keep\"=\"k\"\n\"d\"=\"third\"\n");
    EXPECT_FALSE(FileExists(UTF8ToString(FStore + ".bak")));
    const std::string beforeDelete = ReadText(FStore);
    ASSERT_TRUE(reg.DeleteValue(L"d"));   // both lines go: "first" is lost
    EXPECT_EQ(ReadText(FStore), "[HKEY_CURRENT_USER\\App]\n\"keep\"=\"k\"\n");
    EXPECT_EQ(ReadText(FStore + ".bak"), beforeDelete);
    struct stat st{};
    ASSERT_EQ(::stat((FStore + ".bak").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

// A store that is a link stays a link: its target gets the new content.
TEST_F(RegistryStoreTest, LinkedStoreIsWrittenThroughToItsTarget)
{
    std::string elsewhere = FDir + "/dotfiles";
    ASSERT_TRUE(ForceDirectories(UTF8ToString(elsewhere)));
    std::string target = elsewhere + "/settings.reg";
    WriteText(target, "; kept in my dotfiles\n");
    ::chmod(target.c_str(), 0640);
    ASSERT_EQ(::symlink("../../dotfiles/settings.reg", FStore.c_str()), 0);
    TRegIniFile(L"").WriteString(L"\\App", L"x", L"1");
    struct stat st{};
    ASSERT_EQ(::lstat(FStore.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(ReadText(target), "; kept in my dotfiles\n[HKEY_CURRENT_USER\\App]\n\"x\"=\"1\"\n");
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(ReadSetting(L"\\App", L"x"), L"1");
    // Nothing left behind in either folder but the files themselves.
    TSearchRec sr;
    int count = 0;
    for (const std::string& dir : {FRegDir, elsewhere}) {
        if (FindFirst(UTF8ToString(dir + "/*"), faAnyFile, sr) == 0) {
            do {
                if (sr.Name != L"." && sr.Name != L"..") ++count;
            } while (FindNext(sr) == 0);
            FindClose(sr);
        }
    }
    EXPECT_EQ(count, 3) << "link, lock file and target";
}

// Key names that no header could carry are refused.
TEST_F(RegistryStoreTest, KeyNamesWithoutAFormAreRefused)
{
    HKEY k = 0;
    for (const wchar_t* bad : {L"\\a\x01", L"\\a\xD800", L"\\a\x7F"})
        EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, bad, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr),
                  ERROR_INVALID_PARAMETER);
    String big(1, Char(int32_t(0x110000)));
    EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, (L"\\a" + big).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k,
                             nullptr),
              ERROR_INVALID_PARAMETER);
}

// The store is kept in memory, yet a write by another process is seen by
// the next read, and an edit by hand soon after it is made.
TEST_F(RegistryStoreTest, CachedStoreSeesOtherWriters)
{
    TRegIniFile(L"").WriteString(L"\\App", L"v", L"0");
    EXPECT_EQ(ReadSetting(L"\\App", L"v"), L"0");
    for (int i = 1; i <= 20; ++i) {
        pid_t pid = ::fork();
        if (pid == 0) {
            int rc = 1;
            try {
                TRegIniFile(L"").WriteString(L"\\App", L"v", IntToStr(i));
                rc = 0;
            } catch (...) {
            }
            ::_exit(rc);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        ASSERT_EQ(ReadSetting(L"\\App", L"v"), IntToStr(i)) << "the write of another process at once";
    }
    // By hand, in place, with the same size.
    std::string text = ReadText(FStore);
    size_t at = text.find("\"v\"=\"20\"");
    ASSERT_NE(at, std::string::npos);
    text.replace(at, 8, "\"v\"=\"77\"");
    {
        std::fstream f(FStore, std::ios::in | std::ios::out | std::ios::binary);
        f.write(text.data(), std::streamsize(text.size()));
    }
    String seen;
    for (int i = 0; i < 200 && seen != L"77"; ++i) {
        seen = ReadSetting(L"\\App", L"v");
        if (seen != L"77") std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(seen, L"77");
    // And a write of ours after it keeps the edit's neighbours.
    TRegIniFile(L"").WriteString(L"\\App", L"w", L"1");
    EXPECT_EQ(ReadSetting(L"\\App", L"v"), L"77");
}

}   // namespace
