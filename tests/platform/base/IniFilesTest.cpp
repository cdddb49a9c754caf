#include "platform/base/IniFiles.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "platform/base/Exceptions.h"
#include "platform/base/Files.h"
#include "platform/base/SysUtils.h"

namespace {

class IniFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/vel_ini_XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        FDir = UTF8ToString(tmpl);
        FFile = FDir + L"/settings.ini";
    }
    void TearDown() override { ::system(("rm -rf '" + UTF8Encode(FDir) + "'").c_str()); }

    void Put(const std::string& bytes) { std::ofstream(UTF8Encode(FFile), std::ios::binary) << bytes; }
    std::string Get()
    {
        std::ifstream in(UTF8Encode(FFile), std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    std::vector<String> Items(TStrings& s)
    {
        std::vector<String> v;
        for (Integer i = 0; i < s.Count(); ++i) v.push_back(s[i]);
        return v;
    }

    String FDir, FFile;
};

const char* const kMessy =
    "; settings of the program\n"
    "orphan=ignored\n"
    "[Main]\r\n"
    "  Path = /home/u/Videos  \n"
    "this line is nonsense\n"
    "=no name\n"
    "Count=12\n"
    "Hex=$1F\n"
    "Bad=12abc\n"
    "Flag=1\n"
    "[Broken\n"
    "[ Proxy ]\n"
    "server=example.org\n"
    "SERVER=second\n"
    "; a comment inside\n"
    "\n";

TEST_F(IniFilesTest, TolerantReadingOfAMessyFile)
{
    Put(kMessy);
    TMemIniFile ini(FFile);
    EXPECT_EQ(ini.ReadString(L"main", L"PATH", L"?"), L"/home/u/Videos");
    EXPECT_EQ(ini.ReadInteger(L"Main", L"Count", -1), 12);
    EXPECT_EQ(ini.ReadInteger(L"Main", L"Hex", -1), 31);
    EXPECT_EQ(ini.ReadInteger(L"Main", L"Bad", -1), -1);
    EXPECT_EQ(ini.ReadInteger(L"Main", L"Missing", 7), 7);
    EXPECT_TRUE(ini.ReadBool(L"Main", L"Flag", false));
    EXPECT_TRUE(ini.ReadBool(L"Main", L"Missing", true));
    EXPECT_EQ(ini.ReadString(L"Proxy", L"Server", L"?"), L"example.org");   // first of duplicates
    EXPECT_EQ(ini.ReadString(L"", L"orphan", L"none"), L"none");
    EXPECT_TRUE(ini.SectionExists(L"PROXY"));
    EXPECT_FALSE(ini.SectionExists(L"Broken"));
    EXPECT_TRUE(ini.ValueExists(L"main", L"count"));
    EXPECT_FALSE(ini.ValueExists(L"main", L"this line is nonsense"));

    TStringList list;
    ini.ReadSections(list);
    EXPECT_EQ(Items(list), (std::vector<String>{L"Main", L"Proxy"}));
    ini.ReadSection(L"Main", list);
    EXPECT_EQ(Items(list), (std::vector<String>{L"Path", L"Count", L"Hex", L"Bad", L"Flag"}));
    ini.ReadSectionValues(L"proxy", list);
    EXPECT_EQ(Items(list), (std::vector<String>{L"server=example.org", L"SERVER=second"}));

    // Writing keeps every other line (comments and nonsense included).
    ini.WriteString(L"Main", L"count", L"13");
    ini.UpdateFile();
    std::string out = Get();
    EXPECT_NE(out.find("; settings of the program\n"), std::string::npos);
    EXPECT_NE(out.find("this line is nonsense"), std::string::npos);
    EXPECT_NE(out.find("Count=13"), std::string::npos);
    EXPECT_EQ(out.find("Count=12"), std::string::npos);
    EXPECT_NE(out.find("; a comment inside"), std::string::npos);
}

TEST_F(IniFilesTest, MemIniFileRoundTripOnlyOnUpdate)
{
    {
        TMemIniFile ini(FFile);
        ini.WriteString(L"A", L"text", L"  caf\u00e9 \u65e5  ");
        ini.WriteInteger(L"A", L"n", -42);
        ini.WriteBool(L"B", L"on", true);
        ini.WriteFloat(L"B", L"x", 2.5);
        ini.WriteDate(L"C", L"d", 45000);
        EXPECT_FALSE(FileExists(FFile));   // nothing on disk yet
        ini.UpdateFile();
    }
    TMemIniFile again(FFile);
    EXPECT_EQ(again.ReadString(L"a", L"TEXT", L""), L"caf\u00e9 \u65e5");   // trimmed
    EXPECT_EQ(again.ReadInteger(L"A", L"n", 0), -42);
    EXPECT_TRUE(again.ReadBool(L"B", L"on", false));
    EXPECT_DOUBLE_EQ(again.ReadFloat(L"B", L"x", 0), 2.5);
    EXPECT_DOUBLE_EQ(again.ReadDate(L"C", L"d", 0), 45000);
    EXPECT_DOUBLE_EQ(again.ReadFloat(L"A", L"text", -1), -1);   // not a number

    again.DeleteKey(L"A", L"N");
    again.EraseSection(L"b");
    again.DeleteKey(L"Nowhere", L"x");
    EXPECT_FALSE(again.ValueExists(L"A", L"n"));
    EXPECT_FALSE(again.SectionExists(L"B"));
    again.UpdateFile();
    EXPECT_EQ(Get(), "[A]\ntext=caf\xc3\xa9 \xe6\x97\xa5\n\n[C]\nd=" + UTF8Encode(DateToStr(45000)) + "\n");
}

TEST_F(IniFilesTest, IniFileWritesAtOnceAndSeesOtherWriters)
{
    TIniFile a(FFile);
    TIniFile b(FFile);
    a.WriteString(L"S", L"k", L"1");
    EXPECT_EQ(Get(), "[S]\nk=1\n");
    EXPECT_EQ(b.ReadString(L"S", L"k", L""), L"1");
    b.WriteString(L"S", L"j", L"2");
    a.WriteString(L"T", L"k", L"3");   // a re-reads: j survives
    EXPECT_EQ(Get(), "[S]\nk=1\nj=2\n\n[T]\nk=3\n");
    a.DeleteKey(L"S", L"K");
    b.EraseSection(L"t");
    EXPECT_EQ(Get(), "[S]\nj=2\n\n");
    EXPECT_EQ(a.ReadString(L"Nothing", L"x", L"def"), L"def");
}

TEST_F(IniFilesTest, EncodingsAndLineBreaksArePreserved)
{
    // UTF-16LE with a byte order mark and CRLF line breaks.
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("[S]\r\nname=v\r\n")) {
        utf16 += c;
        utf16 += '\0';
    }
    Put(utf16);
    TIniFile ini(FFile);
    EXPECT_EQ(ini.ReadString(L"S", L"name", L""), L"v");
    ini.WriteString(L"S", L"other", L"w");
    std::string expected = "\xFF\xFE";
    for (char c : std::string("[S]\r\nname=v\r\nother=w\r\n")) {
        expected += c;
        expected += '\0';
    }
    EXPECT_EQ(Get(), expected);
}

TEST_F(IniFilesTest, WritesThatWouldBreakTheFileAreRefused)
{
    TMemIniFile ini(FFile);
    EXPECT_THROW(ini.WriteString(L"S", L"a=b", L"v"), EIniFileException);
    EXPECT_THROW(ini.WriteString(L"S", L"", L"v"), EIniFileException);
    EXPECT_THROW(ini.WriteString(L"S", L"k", L"line\n[Injected]"), EIniFileException);
    EXPECT_THROW(ini.WriteString(L"S]x", L"k", L"v"), EIniFileException);
    EXPECT_FALSE(ini.SectionExists(L"S"));

    // A file that cannot be written raises and leaves nothing half done.
    TMemIniFile nowhere(FDir + L"/missing/folder/x.ini");
    nowhere.WriteString(L"S", L"k", L"v");
    EXPECT_THROW(nowhere.UpdateFile(), EIniFileException);
}

TEST_F(IniFilesTest, ExistingPermissionsSurviveARewrite)
{
    Put("[S]\nk=1\n");
    ASSERT_EQ(::chmod(UTF8Encode(FFile).c_str(), 0640), 0);
    TIniFile ini(FFile);
    ini.WriteString(L"S", L"k", L"2");
    struct stat st{};
    ASSERT_EQ(::stat(UTF8Encode(FFile).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    TSearchRec r;
    int files = 0;
    for (int rc = FindFirst(FDir + L"/*", faAnyFile & ~faDirectory, r); rc == 0; rc = FindNext(r)) ++files;
    FindClose(r);
    EXPECT_EQ(files, 1);   // no temporary file left behind
}

}   // namespace

#include "platform/base/Registry.h"

TEST_F(IniFilesTest, BareNamesLandInTheConfigurationFolderBesideTheRegistryStore)
{
    const char* old = std::getenv("XDG_CONFIG_HOME");
    const std::string keep = old ? old : "";
    ::setenv("XDG_CONFIG_HOME", UTF8Encode(FDir).c_str(), 1);
    RegistryStoreReset();
    {
        TIniFile ini(L"LUEdit");
        ini.WriteString(L"Values", L"Item1", L"a");
        EXPECT_EQ(ini.FileName(), FDir + L"/velmora/LUEdit");
        TMemIniFile mem(L"LUEdit");
        EXPECT_EQ(mem.ReadString(L"Values", L"Item1", L""), L"a");
        // A name with a folder stays as it is.
        EXPECT_EQ(TIniFile(FFile).FileName(), FFile);
    }
    EXPECT_TRUE(FileExists(FDir + L"/velmora/LUEdit"));
    if (old) ::setenv("XDG_CONFIG_HOME", keep.c_str(), 1);
    else ::unsetenv("XDG_CONFIG_HOME");
    RegistryStoreReset();
}
