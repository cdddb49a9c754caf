#include "platform/base/Registry.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <random>
#include <sstream>

#include "platform/base/Exceptions.h"
#include "platform/base/Files.h"
#include "platform/base/SysUtils.h"
#include "platform/base/Threads.h"

namespace {

const wchar_t* const kAppKey = L"\\SOFTWARE\\Corvanti\\Velmora Video Downloader\\";

// Each test gets its own configuration folder and a store that reads it.
class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/vel_reg_XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        FDir = tmpl;
        const char* old = std::getenv("XDG_CONFIG_HOME");
        FHadOld = old != nullptr;
        if (old) FOld = old;
        ::setenv("XDG_CONFIG_HOME", FDir.c_str(), 1);
        RegistryStoreReset();
        FStore = FDir + "/velmora/registry/HKEY_CURRENT_USER.reg";
    }
    void TearDown() override
    {
        RegistryStoreReset();
        if (FHadOld) ::setenv("XDG_CONFIG_HOME", FOld.c_str(), 1);
        else ::unsetenv("XDG_CONFIG_HOME");
        ::system(("rm -rf '" + FDir + "'").c_str());
    }

    void Seed(const std::string& fixture)
    {
        ASSERT_TRUE(ForceDirectories(UTF8ToString(FDir + "/velmora/registry")));
        std::ifstream in(std::string(VEL_TEST_DATA_DIR) + "/registry/" + fixture, std::ios::binary);
        ASSERT_TRUE(in.good());
        std::ofstream(FStore, std::ios::binary) << in.rdbuf();
    }
    std::string StoreText()
    {
        std::ifstream in(FStore, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    static std::vector<String> Items(TStrings& s)
    {
        std::vector<String> v;
        for (Integer i = 0; i < s.Count(); ++i) v.push_back(s[i]);
        return v;
    }

    std::string FDir, FStore, FOld;
    bool FHadOld = false;
};

TEST_F(RegistryTest, StoreLocationFollowsXdgConfigHome)
{
    EXPECT_EQ(RegistryStorePath(), UTF8ToString(FStore));
    ::unsetenv("XDG_CONFIG_HOME");
    RegistryStoreReset();
    EXPECT_EQ(RegistryStorePath(), GetHomePath() + L"/.config/velmora/registry/HKEY_CURRENT_USER.reg");
    ::setenv("XDG_CONFIG_HOME", FDir.c_str(), 1);
    RegistryStoreReset();
}

TEST_F(RegistryTest, RoundTripThroughTheFile)
{
    {
        TRegistry reg;
        EXPECT_EQ(reg.RootKey(), HKEY_CURRENT_USER);
        ASSERT_TRUE(reg.OpenKey(L"\\Software\\Test", true));
        EXPECT_EQ(reg.CurrentPath(), L"Software\\Test");
        reg.WriteString(L"Name", L"caf\u00e9 \"quoted\" back\\slash\nnew line\t\u65e5\x01");
        reg.WriteInteger(L"Count", -7);
        reg.WriteBool(L"Flag", true);
        reg.WriteExpandString(L"Where", L"$HOME/x");
        const Byte blob[] = {0, 1, 0xFE, 0xFF};
        reg.WriteBinaryData(L"Blob", blob, 4);
        reg.WriteString(L"", L"default");
        ASSERT_TRUE(reg.OpenKey(L"Sub", true));   // relative to the open key
        EXPECT_EQ(reg.CurrentPath(), L"Software\\Test\\Sub");
        reg.WriteString(L"x", L"");
    }
    struct stat st{};
    ASSERT_EQ(::stat(FStore.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);   // it may hold passwords
    RegistryStoreReset();                  // read everything back from the file

    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly(L"SOFTWARE\\TEST"));   // case-insensitive, no leading '\'
    EXPECT_EQ(reg.ReadString(L"name"), L"caf\u00e9 \"quoted\" back\\slash\nnew line\t\u65e5\x01");
    EXPECT_EQ(reg.ReadInteger(L"COUNT"), -7);
    EXPECT_TRUE(reg.ReadBool(L"Flag"));
    EXPECT_EQ(reg.ReadString(L"Where"), L"$HOME/x");
    EXPECT_EQ(reg.GetDataType(L"Where"), rdExpandString);
    Byte back[8] = {};
    EXPECT_EQ(reg.ReadBinaryData(L"Blob", back, 8), 4);
    EXPECT_EQ(back[2], 0xFE);
    EXPECT_EQ(reg.ReadString(L""), L"default");
    EXPECT_EQ(reg.ReadString(L"Missing"), L"");
    EXPECT_TRUE(reg.HasSubKeys());
    TStringList names;
    reg.GetValueNames(names);
    EXPECT_EQ(Items(names), (std::vector<String>{L"", L"Blob", L"Count", L"Flag", L"Name", L"Where"}));
    reg.GetKeyNames(names);
    EXPECT_EQ(Items(names), (std::vector<String>{L"Sub"}));
    EXPECT_TRUE(reg.KeyExists(L"sub"));
    EXPECT_TRUE(reg.KeyExists(L"\\software\\test\\SUB"));
    EXPECT_FALSE(reg.KeyExists(L"\\Sub"));

    std::string text = StoreText();
    EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Software\\Test]\n"), std::string::npos);
    EXPECT_NE(text.find("\"Count\"=dword:fffffff9\n"), std::string::npos);
    EXPECT_NE(text.find("\"Blob\"=hex:00,01,fe,ff\n"), std::string::npos);
    EXPECT_NE(text.find("\"Name\"=\"caf\xc3\xa9 \\\"quoted\\\" back\\\\slash\\nnew line\\t\xe6\x97\xa5\\u0001\"\n"),
              std::string::npos);
}

TEST_F(RegistryTest, SeededStoreIsReadAsWritten)
{
    Seed("seeded.reg");
    TRegistry reg(KEY_READ);
    ASSERT_TRUE(reg.OpenKeyReadOnly(L"Software\\Microsoft\\Office\\16.0\\Common"));
    EXPECT_EQ(reg.ReadInteger(L"UI Theme"), 5);
    EXPECT_TRUE(reg.KeyExists(L"\\Software\\Microsoft\\Office\\16.0\\Common\\General"));
    EXPECT_FALSE(reg.KeyExists(L"\\Software\\Microsoft\\Office\\14.0\\Common\\General"));

    ASSERT_TRUE(reg.OpenKeyReadOnly(kAppKey));
    EXPECT_EQ(reg.ReadString(L"path"), L"/home/user/Vid\u00e9os \"new\"\\old");
    EXPECT_EQ(reg.ReadString(L""), L"default value");
    EXPECT_EQ(reg.ReadString(L"paths"), L"$HOME/x");

    DWORD type = 0, size = 0;
    HKEY k = reg.CurrentKey();
    ASSERT_EQ(RegQueryValueEx(k, L"list", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_MULTI_SZ);
    std::vector<Byte> buf(size);
    ASSERT_EQ(RegQueryValueEx(k, L"list", nullptr, &type, buf.data(), &size), ERROR_SUCCESS);
    EXPECT_EQ(String(reinterpret_cast<wchar_t*>(buf.data()), size / sizeof(wchar_t)),
              String(L"one\0two\0\0", 9));   // an empty item ends the list
    uint64_t q = 0;
    size = 8;
    ASSERT_EQ(RegQueryValueEx(k, L"big", nullptr, &type, reinterpret_cast<Byte*>(&q), &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_QWORD);
    EXPECT_EQ(q, 0x100000002ull);
    EXPECT_EQ(reg.GetDataType(L"odd"), rdUnknown);
    EXPECT_EQ(reg.GetDataSize(L"odd"), 4);

    TRegIniFile ini(L"");
    EXPECT_EQ(ini.ReadInteger(kAppKey, L"language", 10000), 1049);
    EXPECT_EQ(ini.ReadInteger(kAppKey, L"format", -1), 3);
    EXPECT_EQ(ini.ReadString(kAppKey, L"server", L""), L"proxy.example.org");
    EXPECT_EQ(ini.ReadInteger(kAppKey, L"server", 99), 99);   // not a number: the default
    EXPECT_EQ(ini.ReadInteger(kAppKey, L"download", 0), 0);
}

TEST_F(RegistryTest, MalformedStoreIsReadTolerantly)
{
    Seed("malformed.reg");
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(L"\\Good", false));
    TStringList names;
    reg.GetValueNames(names);
    EXPECT_EQ(Items(names), (std::vector<String>{L"ok", L"short"}));
    EXPECT_EQ(reg.ReadString(L"ok"), L"yes");
    EXPECT_EQ(reg.ReadInteger(L"short"), 42);
    ASSERT_TRUE(reg.OpenKey(L"Deeper", false));
    EXPECT_EQ(reg.ReadInteger(L"deep"), 7);
    ASSERT_TRUE(reg.OpenKey(L"\\Bin", false));
    EXPECT_EQ(reg.ReadString(L"n"), L"\uFFFD(");
    ASSERT_TRUE(reg.OpenKey(L"\\", false));
    EXPECT_EQ(reg.ReadString(L"rootvalue"), L"on the root");
    EXPECT_FALSE(reg.ValueExists(L"before"));
    EXPECT_FALSE(reg.KeyExists(L"unclosed"));

    // A write rewrites the file cleanly and keeps every readable value.
    reg.WriteString(L"new", L"1");
    RegistryStoreReset();
    TRegistry again;
    ASSERT_TRUE(again.OpenKey(L"\\Good\\Deeper", false));
    EXPECT_EQ(again.ReadString(L"ok"), L"second spelling wins");

    // Mutilated stores never crash the reader.
    std::string good = StoreText();
    std::mt19937 rng(12345);
    for (int round = 0; round < 100; ++round) {
        std::string bad = good;
        for (int n = 0; n < 6; ++n) {
            size_t at = rng() % bad.size();
            switch (rng() % 3) {
            case 0: bad[at] = char(rng()); break;
            case 1: bad.erase(at, rng() % 20); break;
            default: bad.insert(at, 1, "[]\"\\=:,\n"[rng() % 8]);
            }
        }
        bad.resize(rng() % (bad.size() + 1));
        std::ofstream(FStore, std::ios::binary | std::ios::trunc) << bad;
        TRegistry r;
        if (r.OpenKey(L"\\Good", false)) {
            TStringList v;
            r.GetValueNames(v);
            for (Integer i = 0; i < v.Count(); ++i) r.GetDataSize(v[i]);
        }
    }
}

TEST_F(RegistryTest, TypeMismatchRaises)
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(L"\\T", true));
    reg.WriteString(L"text", L"12");
    reg.WriteInteger(L"num", 12);
    try {
        reg.ReadInteger(L"text");
        FAIL() << "no exception";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Message(), L"Invalid data type for 'text'");
    }
    EXPECT_THROW(reg.ReadString(L"num"), ERegistryException);
    EXPECT_THROW(reg.ReadBool(L"text"), ERegistryException);
    try {
        reg.ReadInteger(L"absent");
        FAIL() << "no exception";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Message(), L"Failed to get data for 'absent'");
    }
    // A read-only key refuses writes.
    ASSERT_TRUE(reg.OpenKeyReadOnly(L"\\T"));
    EXPECT_THROW(reg.WriteString(L"text", L"x"), ERegistryException);
    EXPECT_FALSE(reg.DeleteValue(L"text"));
    EXPECT_EQ(reg.ReadString(L"text"), L"12");
}

TEST_F(RegistryTest, SettingsKeyThroughRegIniFile)
{
    // First run: nothing is there and reading or deleting creates nothing.
    {
        TRegIniFile ini(L"");
        EXPECT_FALSE(ini.KeyExists(kAppKey));
        EXPECT_FALSE(ini.OpenKey(kAppKey, false));
        EXPECT_EQ(ini.ReadInteger(kAppKey, L"language", 10000), 10000);
        EXPECT_EQ(ini.ReadString(kAppKey, L"path", L"docs"), L"docs");
        ini.DeleteKey(kAppKey, L"auto");
        EXPECT_FALSE(ini.KeyExists(kAppKey));
    }
    EXPECT_FALSE(FileExists(UTF8ToString(FStore)));

    {
        TRegIniFile ini(L"");
        ini.WriteInteger(kAppKey, L"auto", 1);   // creates the key
        ini.WriteString(kAppKey, L"server", L"host");
        ini.WriteBool(kAppKey, L"proxy", true);
        EXPECT_TRUE(ini.KeyExists(kAppKey));
        EXPECT_EQ(ini.ReadInteger(kAppKey, L"AUTO", 0), 1);
        EXPECT_TRUE(ini.ReadBool(kAppKey, L"proxy", false));
        TStringList list;
        ini.ReadSection(kAppKey, list);
        EXPECT_EQ(Items(list), (std::vector<String>{L"auto", L"proxy", L"server"}));
        ini.ReadSectionValues(kAppKey, list);
        EXPECT_EQ(Items(list), (std::vector<String>{L"auto=1", L"proxy=1", L"server=host"}));
        ini.ReadSections(list);
        EXPECT_EQ(Items(list), (std::vector<String>{L"SOFTWARE"}));
        ini.DeleteKey(kAppKey, L"auto");
        EXPECT_EQ(ini.ReadInteger(kAppKey, L"auto", 0), 0);
    }
    // Numbers are stored as text values.
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(kAppKey, false));
    EXPECT_EQ(reg.GetDataType(L"proxy"), rdString);
    EXPECT_EQ(reg.ReadString(L"proxy"), L"1");

    // A TRegIniFile opened on a key takes sections below it.
    TRegIniFile sub(L"Software\\Corvanti");
    EXPECT_EQ(sub.CurrentPath(), L"Software\\Corvanti");
    EXPECT_EQ(sub.ReadString(L"Velmora Video Downloader", L"server", L""), L"host");
    sub.EraseSection(L"Velmora Video Downloader");
    EXPECT_FALSE(sub.KeyExists(kAppKey));

    // The INI-file interface over the registry writes numbers as REG_DWORD.
    TRegistryIniFile rini(L"Software\\Corvanti");
    rini.WriteInteger(L"Opts", L"n", 5);
    rini.WriteString(L"Opts", L"s", L"7");
    EXPECT_EQ(rini.ReadInteger(L"Opts", L"n", 0), 5);
    EXPECT_EQ(rini.ReadInteger(L"Opts", L"s", 0), 7);
    EXPECT_TRUE(rini.ValueExists(L"Opts", L"N"));
    EXPECT_TRUE(rini.SectionExists(L"opts"));
    ASSERT_TRUE(reg.OpenKey(L"\\Software\\Corvanti\\Opts", false));
    EXPECT_EQ(reg.GetDataType(L"n"), rdInteger);
}

TEST_F(RegistryTest, OtherRootsAreEmptyAndReadOnly)
{
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_FALSE(reg.OpenKey(L"\\Software\\X", true));
    EXPECT_FALSE(reg.KeyExists(L"\\Software"));
    ASSERT_TRUE(reg.OpenKeyReadOnly(L"\\"));
    TStringList names;
    reg.GetKeyNames(names);
    EXPECT_EQ(names.Count(), 0);
    const Byte one[4] = {1, 0, 0, 0};
    EXPECT_EQ(RegSetValueEx(HKEY_LOCAL_MACHINE, L"x", 0, REG_DWORD, one, 4), ERROR_ACCESS_DENIED);
    HKEY h = 0;
    EXPECT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, L"Y", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr),
              ERROR_ACCESS_DENIED);
    EXPECT_FALSE(FileExists(UTF8ToString(FStore)));
}

TEST_F(RegistryTest, RawCalls)
{
    HKEY k = 0;
    DWORD disp = 0;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, L"\\A\\B", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, &disp),
              ERROR_SUCCESS);
    EXPECT_EQ(disp, REG_CREATED_NEW_KEY);
    HKEY k2 = 0;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, L"a\\b", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k2, &disp),
              ERROR_SUCCESS);
    EXPECT_EQ(disp, REG_OPENED_EXISTING_KEY);
    EXPECT_EQ(RegCloseKey(k2), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(k2), ERROR_INVALID_HANDLE);

    String text = L"hello";
    ASSERT_EQ(RegSetValueEx(k, L"s", 0, REG_SZ, reinterpret_cast<const Byte*>(text.c_str()),
                            DWORD(text.size() * sizeof(wchar_t))),   // without its NUL: one is added
              ERROR_SUCCESS);
    DWORD type = 0, size = 0;
    ASSERT_EQ(RegQueryValueEx(k, L"S", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 6 * sizeof(wchar_t));
    wchar_t small[3];
    size = sizeof small;
    EXPECT_EQ(RegQueryValueEx(k, L"s", nullptr, &type, reinterpret_cast<Byte*>(small), &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 6 * sizeof(wchar_t));
    EXPECT_EQ(RegQueryValueEx(k, L"none", nullptr, &type, nullptr, &size), ERROR_FILE_NOT_FOUND);

    wchar_t name[4];
    DWORD len = 4;
    EXPECT_EQ(RegEnumValue(k, 0, name, &len, nullptr, &type, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(String(name, len), L"s");
    len = 4;
    EXPECT_EQ(RegEnumValue(k, 1, name, &len, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
    len = 4;
    EXPECT_EQ(RegEnumKeyEx(HKEY_CURRENT_USER, 0, name, &len, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(String(name, len), L"A");

    // A key with sub-keys does not go; TRegistry::DeleteKey takes the subtree.
    EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, L"A"), ERROR_ACCESS_DENIED);
    TRegistry reg;
    EXPECT_TRUE(reg.DeleteKey(L"\\a"));
    EXPECT_FALSE(reg.KeyExists(L"\\A"));
    EXPECT_FALSE(reg.DeleteKey(L"\\a"));
    // The open handle now points at a deleted key.
    EXPECT_EQ(RegQueryValueEx(k, L"s", nullptr, &type, nullptr, &size), ERROR_KEY_DELETED);
    EXPECT_EQ(RegSetValueEx(k, L"s", 0, REG_SZ, nullptr, 0), ERROR_KEY_DELETED);
    EXPECT_EQ(RegCloseKey(k), ERROR_SUCCESS);
    EXPECT_EQ(RegOpenKeyEx(0x1234567, L"", 0, KEY_READ, &k), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, L"Bad\nname]", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr),
              ERROR_INVALID_PARAMETER);
}

// Runs fn in a child process; answers its exit status.
template <class F>
pid_t InChild(F fn)
{
    pid_t pid = ::fork();
    if (pid == 0) {
        int rc = 1;
        try {
            rc = fn() ? 0 : 1;
        } catch (...) {
            rc = 2;
        }
        ::_exit(rc);
    }
    return pid;
}

int ExitCode(pid_t pid)
{
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(RegistryTest, TwoProcessesWritingAtOnceLoseNothing)
{
    const int N = 80;
    TRegIniFile(L"").WriteString(L"\\Shared", L"start", L"1");
    pid_t child = InChild([&] {
        TRegIniFile ini(L"");
        for (int i = 0; i < N; ++i) ini.WriteInteger(L"\\Shared", L"child" + IntToStr(i), i);
        return true;
    });
    ASSERT_GT(child, 0);
    {
        TRegIniFile ini(L"");
        for (int i = 0; i < N; ++i) ini.WriteInteger(L"\\Shared", L"parent" + IntToStr(i), i);
    }
    ASSERT_EQ(ExitCode(child), 0);

    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly(L"\\Shared"));
    TStringList names;
    reg.GetValueNames(names);
    EXPECT_EQ(names.Count(), 2 * N + 1);
    TRegIniFile ini(L"");
    for (int i = 0; i < N; i += 19) {
        EXPECT_EQ(ini.ReadInteger(L"\\Shared", L"child" + IntToStr(i), -1), i);
        EXPECT_EQ(ini.ReadInteger(L"\\Shared", L"parent" + IntToStr(i), -1), i);
    }
}

TEST_F(RegistryTest, WatchSeesThisAndOtherProcesses)
{
    TRegIniFile(L"").WriteString(L"\\Watched\\Inner", L"v", L"0");
    TRegIniFile(L"").WriteString(L"\\Elsewhere", L"v", L"0");
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly(L"\\Watched"));
    HANDLE ev = CreateEvent(nullptr, 1, 0, L"");

    // Another process changes a value below the key.
    ASSERT_EQ(RegNotifyChangeKeyValue(reg.CurrentKey(), 1, REG_NOTIFY_CHANGE_LAST_SET, ev, 1), ERROR_SUCCESS);
    EXPECT_EQ(WaitForSingleObject(ev, 50), WAIT_TIMEOUT);
    pid_t child = InChild([] {
        TRegIniFile(L"").WriteString(L"\\Watched\\Inner", L"v", L"1");
        return true;
    });
    ASSERT_EQ(ExitCode(child), 0);
    EXPECT_EQ(WaitForSingleObject(ev, 5000), WAIT_OBJECT_0);

    // Changes elsewhere, or of a kind not asked for, do not signal.
    ResetEvent(ev);
    ASSERT_EQ(RegNotifyChangeKeyValue(reg.CurrentKey(), 0, REG_NOTIFY_CHANGE_LAST_SET, ev, 1), ERROR_SUCCESS);
    child = InChild([] {
        TRegIniFile(L"").WriteString(L"\\Elsewhere", L"v", L"1");
        TRegIniFile(L"").WriteString(L"\\Watched\\Inner", L"v", L"2");   // below, but no subtree
        return true;
    });
    ASSERT_EQ(ExitCode(child), 0);
    EXPECT_EQ(WaitForSingleObject(ev, 300), WAIT_TIMEOUT);
    // ... until this process changes the key itself.
    TRegIniFile(L"").WriteString(L"\\Watched", L"own", L"x");
    EXPECT_EQ(WaitForSingleObject(ev, 0), WAIT_OBJECT_0);   // at once, no file watch needed

    // A name watch fires for a new sub-key; closing the handle ends a watch.
    ResetEvent(ev);
    ASSERT_EQ(RegNotifyChangeKeyValue(reg.CurrentKey(), 0, REG_NOTIFY_CHANGE_NAME, ev, 1), ERROR_SUCCESS);
    TRegIniFile(L"").WriteString(L"\\Watched", L"own", L"y");
    EXPECT_EQ(WaitForSingleObject(ev, 100), WAIT_TIMEOUT);
    TRegistry().CreateKey(L"\\Watched\\NewChild");
    EXPECT_EQ(WaitForSingleObject(ev, 0), WAIT_OBJECT_0);
    ResetEvent(ev);
    ASSERT_EQ(RegNotifyChangeKeyValue(reg.CurrentKey(), 1, REG_NOTIFY_CHANGE_LAST_SET, ev, 1), ERROR_SUCCESS);
    reg.CloseKey();
    EXPECT_EQ(WaitForSingleObject(ev, 0), WAIT_OBJECT_0);
    CloseHandle(ev);
    EXPECT_EQ(RegNotifyChangeKeyValue(HKEY_CURRENT_USER, 0, REG_NOTIFY_CHANGE_NAME, nullptr, 1),
              ERROR_INVALID_PARAMETER);
}

// The way a theme watcher uses the registry: a thread waits on a named event
// armed by RegNotifyChangeKeyValue and reports each change to the main thread.
class TWatchThread : public TThread {
public:
    explicit TWatchThread(std::atomic<int>& armed) : TThread(true), FArmed(armed) {}
    int Reports = 0;   // main thread only

    void Stop()
    {
        Terminate();
        SetEvent(FEvent.load());
    }

protected:
    void Execute() override
    {
        TRegistry reg;
        if (!reg.OpenKeyReadOnly(L"Software\\Microsoft\\Office\\16.0\\Common"))
            throw ERegistryException(L"Unable to open registry key");
        HANDLE ev = CreateEvent(nullptr, 1, 0, L"RegMonitorChange");
        FEvent = ev;
        RegNotifyChangeKeyValue(reg.CurrentKey(), 1, REG_NOTIFY_CHANGE_LAST_SET, ev, 1);
        ++FArmed;
        while (!Terminated()) {
            if (WaitForSingleObject(ev, INFINITE) != WAIT_OBJECT_0) continue;
            if (Terminated()) break;
            Synchronize([this] { ++Reports; });
            ResetEvent(ev);
            RegNotifyChangeKeyValue(reg.CurrentKey(), 1, REG_NOTIFY_CHANGE_LAST_SET, ev, 1);
            ++FArmed;
        }
        CloseHandle(ev);
    }

private:
    std::atomic<int>& FArmed;
    std::atomic<HANDLE> FEvent{nullptr};
};

TEST_F(RegistryTest, WatcherThreadReportsChangesOnTheMainThread)
{
    Seed("seeded.reg");
    std::atomic<int> armed{0};
    TWatchThread t(armed);
    t.Start();
    auto pumpUntil = [&](auto pred) {
        for (int i = 0; i < 500 && !pred(); ++i) CheckSynchronize(10);
        return pred();
    };
    ASSERT_TRUE(pumpUntil([&] { return armed.load() == 1; }));
    for (int round = 1; round <= 2; ++round) {
        pid_t child = InChild([round] {
            TRegistry r;
            if (!r.OpenKey(L"\\Software\\Microsoft\\Office\\16.0\\Common", false)) return false;
            r.WriteInteger(L"UI Theme", round);
            return true;
        });
        ASSERT_EQ(ExitCode(child), 0);
        EXPECT_TRUE(pumpUntil([&] { return t.Reports == round && armed.load() == round + 1; }));
    }
    t.Stop();
    t.WaitFor();
    EXPECT_EQ(t.Reports, 2);
    EXPECT_FALSE(t.FatalException());
}

}   // namespace
