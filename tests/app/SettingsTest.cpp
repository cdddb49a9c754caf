#include "app/Settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/ItemList.h"
#include "platform/base/Lists.h"
#include "platform/base/Registry.h"
#include "tests/app/SettingsFixture.h"

namespace {

// Stands in for the main window: records what the reading does and, like
// the real controls, raises the write handlers only when a value changes.
class TRecordingControls : public ISettingsControls {
public:
    explicit TRecordingControls(String documents) : FDocuments(std::move(documents)) {}

    std::vector<std::wstring> calls;
    Integer format = 0;
    Integer site = 0;
    bool autostart = false;
    String folder;
    TProxyValues proxy;
    bool proxyTicked = false;

    void set_language(Integer id) override
    {
        calls.push_back(L"language " + std::to_wstring(id));
        if (id != kDefaultLanguage) write_reg_integer(kSettingsKey, L"language", id);
    }
    void SelectFormat(Integer index) override
    {
        calls.push_back(L"format " + std::to_wstring(index));
        format = index;
    }
    void SelectSite(Integer index) override
    {
        calls.push_back(L"site " + std::to_wstring(index));
        site = index;
    }
    void TickAutostart() override
    {
        calls.push_back(L"auto");
        if (!autostart) {
            autostart = true;
            SaveAutostart(true);
        }
    }
    void SetSaveFolder(const String& f) override
    {
        calls.push_back(L"folder " + f);
        if (f != folder) {
            folder = f;
            SaveFolder(f, FDocuments);
        }
    }
    void SetProxyServer(const String& t) override { calls.push_back(L"server " + t); proxy.server = t; }
    void SetProxyPort(const String& t) override { calls.push_back(L"port " + t); proxy.port = t; }
    void SetProxyUsername(const String& t) override { calls.push_back(L"username " + t); proxy.username = t; }
    void SetProxyPassword(const String& t) override { calls.push_back(L"password " + t); proxy.password = t; }
    void TickProxy() override
    {
        calls.push_back(L"proxy");
        if (!proxyTicked) {
            proxyTicked = true;
            SaveProxy(true, proxy);
        }
    }
    void ProxyALCheckBoxClick() override
    {
        calls.push_back(L"proxyAL");
        SaveProxy(proxyTicked, proxy);
    }

private:
    String FDocuments;
};

using Calls = std::vector<std::wstring>;

class SettingsTest : public TSettingsFixture {};

TEST_F(SettingsTest, FirstRunReadsNothingAndLeavesTheKeyAbsent)
{
    TRecordingControls c(Documents());
    ReadSettings(c, Documents());
    EXPECT_EQ(c.calls, (Calls{L"language 10000", L"folder " + Documents()}));
    EXPECT_EQ(c.format, 0);  // the choice keeps its initial FLV
    // The folder's change handler deleted "path", which must not create the key.
    EXPECT_FALSE(SettingsKeyExists());
    delete_reg(kSettingsKey, L"format");
    EXPECT_FALSE(SettingsKeyExists());
}

struct TActivationCase {
    const char* name;
    std::vector<std::pair<std::wstring, std::wstring>> stored;  // value name, text
    Calls expected;  // after "language ..." and before the folder, see below
};

TEST_F(SettingsTest, ActivationReadsASeededKey)
{
    const std::wstring docs = Documents();
    const std::wstring other = UTF8ToString(MakeFolder("saved"));
    const std::vector<TActivationCase> cases = {
        {"empty key: AVI, documents", {},
         {L"language 10000", L"format 1", L"folder " + docs}},
        {"every value", {{L"language", L"1033"}, {L"format", L"3"}, {L"download", L"5"},
                         {L"auto", L"1"}, {L"path", other}, {L"proxy", L"1"},
                         {L"server", L"proxy.example"}, {L"port", L"3128"},
                         {L"username", L"joe"}, {L"password", L"pw"}},
         {L"language 1033", L"format 3", L"site 5", L"auto", L"folder " + other,
          L"server proxy.example", L"port 3128", L"username joe", L"password pw", L"proxy",
          L"proxyAL"}},
        {"unreadable numbers give defaults",
         {{L"language", L"zz"}, {L"format", L"x1"}, {L"download", L"five"}, {L"auto", L"yes"},
          {L"proxy", L"on"}},
         {L"language 10000", L"format 1", L"folder " + docs}},
        {"negative format is AVI, negative site is Auto", {{L"format", L"-3"}, {L"download", L"-1"}},
         {L"language 10000", L"format 1", L"folder " + docs}},
        {"largest indexes taken", {{L"format", L"10"}, {L"download", L"40"}},
         {L"language 10000", L"format 10", L"site 40", L"folder " + docs}},
        {"out of range ignored", {{L"format", L"11"}, {L"download", L"41"}},
         {L"language 10000", L"folder " + docs}},
        {"FLV stored, Auto stored, box cleared", {{L"format", L"0"}, {L"download", L"0"}, {L"auto", L"0"}},
         {L"language 10000", L"format 0", L"folder " + docs}},
        {"folder that no longer exists", {{L"path", docs + L"/gone"}},
         {L"language 10000", L"format 1", L"folder " + docs}},
        {"empty proxy texts leave the edits", {{L"proxy", L"2"}, {L"port", L"8080"}},
         {L"language 10000", L"format 1", L"folder " + docs, L"port 8080", L"proxy", L"proxyAL"}},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.name);
        ClearSettings();
        CreateKey();
        for (const auto& [name, text] : tc.stored) write_reg_string(kSettingsKey, name, text);
        TRecordingControls c(docs);
        ReadSettings(c, docs);
        EXPECT_EQ(c.calls, tc.expected);
    }
}

TEST_F(SettingsTest, ActivationWritesBackWhatTheControlsRaise)
{
    CreateKey();
    write_reg_string(kSettingsKey, L"language", L"1031");
    write_reg_string(kSettingsKey, L"auto", L"7");
    write_reg_string(kSettingsKey, L"path", Documents() + L"/gone");
    write_reg_string(kSettingsKey, L"proxy", L"3");
    write_reg_string(kSettingsKey, L"server", L"10.0.0.1");
    write_reg_string(kSettingsKey, L"port", L"3128");
    write_reg_string(kSettingsKey, L"username", L"joe");
    write_reg_string(kSettingsKey, L"password", L"secret");

    TRecordingControls c(Documents());
    ReadSettings(c, Documents());

    EXPECT_EQ(Value(L"language"), L"1031");
    EXPECT_EQ(Value(L"auto"), L"1");
    EXPECT_FALSE(HasValue(L"path"));  // documents folder used: the stale folder is forgotten
    EXPECT_EQ(Value(L"proxy"), L"1");
    EXPECT_EQ(Value(L"server"), L"10.0.0.1");
    EXPECT_EQ(Value(L"port"), L"3128");
    EXPECT_EQ(Value(L"username"), L"joe");
    EXPECT_EQ(Value(L"password"), L"secret");
    EXPECT_FALSE(HasValue(L"format"));  // reading never writes the format
}

TEST_F(SettingsTest, HandlersWriteAndDelete)
{
    const std::wstring other = UTF8ToString(MakeFolder("videos"));

    SaveFormatChoice(0);
    EXPECT_TRUE(SettingsKeyExists());
    EXPECT_EQ(Value(L"format"), L"0");
    SaveFormatChoice(7);
    EXPECT_EQ(Value(L"format"), L"7");
    SaveFormatChoice(-1);
    EXPECT_FALSE(HasValue(L"format"));

    SaveSiteChoice(12);
    EXPECT_EQ(Value(L"download"), L"12");
    SaveSiteChoice(0);
    EXPECT_FALSE(HasValue(L"download"));
    SaveSiteChoice(3);
    SaveSiteChoice(-1);
    EXPECT_FALSE(HasValue(L"download"));

    SaveAutostart(true);
    EXPECT_EQ(Value(L"auto"), L"1");
    SaveAutostart(false);
    EXPECT_FALSE(HasValue(L"auto"));

    SaveFolder(other, Documents());
    EXPECT_EQ(Value(L"path"), other);
    SaveFolder(Documents(), Documents());
    EXPECT_FALSE(HasValue(L"path"));

    SaveProxy(true, {L"host", L"81", L"u", L"p w"});
    EXPECT_EQ(Value(L"proxy"), L"1");
    EXPECT_EQ(Value(L"server"), L"host");
    EXPECT_EQ(Value(L"port"), L"81");
    EXPECT_EQ(Value(L"username"), L"u");
    EXPECT_EQ(Value(L"password"), L"p w");
    SaveProxy(false, {L"host", L"81", L"u", L"p w"});
    for (const wchar_t* name : {L"proxy", L"server", L"port", L"username", L"password"})
        EXPECT_FALSE(HasValue(name)) << UTF8Encode(name);

    // Every value is text, also the numbers.
    SaveFormatChoice(2);
    TRegistry reg(KEY_READ);
    ASSERT_TRUE(reg.OpenKeyReadOnly(kSettingsKey));
    EXPECT_EQ(reg.GetDataType(L"format"), rdString);
}

TEST_F(SettingsTest, DeletingNeverCreatesTheKey)
{
    for (const wchar_t* name : {L"format", L"download", L"auto", L"path", L"proxy"})
        delete_reg(kSettingsKey, name);
    SaveFormatChoice(-1);
    SaveSiteChoice(0);
    SaveAutostart(false);
    SaveFolder(Documents(), Documents());
    SaveProxy(false, {});
    EXPECT_FALSE(SettingsKeyExists());
}

TEST_F(SettingsTest, AValueOfAnotherTypeReadsAsMissing)
{
    CreateKey();
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(kSettingsKey, false));
    Byte bytes[3] = {1, 2, 3};
    reg.WriteBinaryData(L"path", bytes, 3);
    reg.WriteBinaryData(L"format", bytes, 3);
    reg.CloseKey();
    TRecordingControls c(Documents());
    ReadSettings(c, Documents());
    EXPECT_EQ(c.calls, (Calls{L"language 10000", L"format 1", L"folder " + Documents()}));
}

// A proxy text stored as another type (a number, a list) shows as empty and
// is left as it is at start; only a text the user enters replaces it.
TEST_F(SettingsTest, AProxyValueOfAnotherTypeIsKeptUntilTheUserChangesIt)
{
    write_reg_string(kSettingsKey, L"proxy", L"1");
    write_reg_string(kSettingsKey, L"port", L"3128");
    write_reg_string(kSettingsKey, L"password", L"pw");
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(kSettingsKey, false));
        reg.WriteInteger(L"server", 42);
        const wchar_t list[] = L"a\0b\0";
        HKEY k = reg.CurrentKey();
        ASSERT_EQ(RegSetValueEx(k, L"username", 0, REG_MULTI_SZ, reinterpret_cast<const Byte*>(list),
                                sizeof list),
                  ERROR_SUCCESS);
    }
    auto typeOf = [](const wchar_t* name) {
        TRegistry reg(KEY_READ);
        EXPECT_TRUE(reg.OpenKeyReadOnly(kSettingsKey));
        DWORD type = 0;
        RegQueryValueEx(reg.CurrentKey(), name, nullptr, &type, nullptr, nullptr);
        return type;
    };
    const std::string store = UTF8Encode(RegistryStorePath());
    struct stat before{};
    ASSERT_EQ(::stat(store.c_str(), &before), 0);

    TRecordingControls c(Documents());
    ReadSettings(c, Documents());
    EXPECT_EQ(c.calls, (Calls{L"language 10000", L"format 1", L"folder " + Documents(), L"port 3128",
                              L"password pw", L"proxy", L"proxyAL"}));
    EXPECT_EQ(typeOf(L"server"), REG_DWORD);
    EXPECT_EQ(typeOf(L"username"), REG_MULTI_SZ);
    struct stat after{};
    ASSERT_EQ(::stat(store.c_str(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino) << "the start wrote nothing";

    // The user enters a server: that value becomes text, the list stays.
    SaveProxy(true, {L"proxy.local", L"3128", L"", L"pw"});
    EXPECT_EQ(Value(L"server"), L"proxy.local");
    EXPECT_EQ(typeOf(L"username"), REG_MULTI_SZ);
    // Clearing the box deletes them all, as always.
    SaveProxy(false, {});
    EXPECT_FALSE(HasValue(L"username"));
}

// Two programs write settings at the same moment: the store's locked
// read-modify-write loses neither one's values.
TEST_F(SettingsTest, TwoProcessesWritingAtOnceLoseNothing)
{
    constexpr int kRounds = 60;
    auto writer = [&](char who) {
        for (int i = 0; i < kRounds; ++i) {
            const String n = std::wstring(1, wchar_t(who)) + std::to_wstring(i);
            write_reg_string(kSettingsKey, n, std::to_wstring(i));
            if (who == 'a')
                SaveProxy(true, {L"s" + std::to_wstring(i), L"80", L"u", L"p"});
            else
                SaveFormatChoice(i % format_count);
        }
    };
    std::vector<pid_t> children;
    for (char who : {'a', 'b'}) {
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            int rc = 0;
            try {
                writer(who);
            } catch (...) {
                rc = 1;
            }
            _exit(rc);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    RegistryStoreReset();
    for (char who : {'a', 'b'})
        for (int i = 0; i < kRounds; ++i)
            EXPECT_TRUE(HasValue(std::wstring(1, wchar_t(who)) + std::to_wstring(i))) << who << i;
    EXPECT_EQ(Value(L"server"), L"s" + std::to_wstring(kRounds - 1));
    EXPECT_EQ(Value(L"format"), std::to_wstring((kRounds - 1) % format_count));
}

}  // namespace
