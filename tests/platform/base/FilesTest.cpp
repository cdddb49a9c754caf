#include "platform/base/Files.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <set>
#include <sstream>

namespace {

class FilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/vel_files_XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        FDir = UTF8ToString(tmpl);
    }
    void TearDown() override { ::system(("rm -rf '" + UTF8Encode(FDir) + "'").c_str()); }

    String P(const String& name) const { return FDir + L"/" + name; }
    void Put(const String& name, const std::string& text) const
    {
        std::ofstream(UTF8Encode(P(name)), std::ios::binary) << text;
    }
    std::string Get(const String& name) const
    {
        std::ifstream in(UTF8Encode(P(name)), std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }

    String FDir;
};

TEST_F(FilesTest, RenameNeverReplacesAnExistingTarget)
{
    Put(L"a", "first");
    Put(L"b", "second");
    EXPECT_FALSE(RenameFile(P(L"a"), P(L"b")));
    EXPECT_FALSE(MoveFile(P(L"a"), P(L"b")));
    EXPECT_EQ(Get(L"a"), "first");
    EXPECT_EQ(Get(L"b"), "second");

    EXPECT_TRUE(RenameFile(P(L"a"), P(L"c")));
    EXPECT_FALSE(FileExists(P(L"a")));
    EXPECT_EQ(Get(L"c"), "first");

    ASSERT_TRUE(CreateDir(P(L"d1")));
    ASSERT_TRUE(CreateDir(P(L"d2")));
    EXPECT_FALSE(RenameFile(P(L"d1"), P(L"d2")));
    EXPECT_TRUE(RenameFile(P(L"d1"), P(L"d3")));
    EXPECT_TRUE(DirectoryExists(P(L"d3")));
    EXPECT_FALSE(RenameFile(P(L"missing"), P(L"e")));
}

TEST_F(FilesTest, CopyFileHonoursFailIfExists)
{
    Put(L"src", "payload");
    Put(L"dst", "old");
    EXPECT_FALSE(CopyFile(P(L"src"), P(L"dst"), true));
    EXPECT_EQ(Get(L"dst"), "old");
    EXPECT_TRUE(CopyFile(P(L"src"), P(L"dst"), false));
    EXPECT_EQ(Get(L"dst"), "payload");
    EXPECT_TRUE(CopyFile(P(L"src"), P(L"new"), true));
    EXPECT_EQ(Get(L"new"), "payload");
    EXPECT_FALSE(CopyFile(P(L"nothing"), P(L"x"), false));
    // No temporary files are left behind.
    TSearchRec r;
    int count = 0;
    for (int rc = FindFirst(P(L"*"), faAnyFile, r); rc == 0; rc = FindNext(r)) ++count;
    FindClose(r);
    EXPECT_EQ(count, 2 + 3);   // ".", ".." and three files
}

TEST_F(FilesTest, FoldersAndFiles)
{
    String deep = P(L"x/y/z");
    EXPECT_FALSE(DirectoryExists(deep));
    EXPECT_TRUE(ForceDirectories(deep + L"/"));
    EXPECT_TRUE(DirectoryExists(deep));
    EXPECT_TRUE(ForceDirectories(deep));   // already there
    EXPECT_FALSE(CreateDir(deep));
    EXPECT_FALSE(FileExists(deep));
    EXPECT_FALSE(DeleteFile(deep));        // never a folder
    Put(L"x/y/z/f.bin", "12345");
    EXPECT_TRUE(FileExists(deep + L"/f.bin"));
    EXPECT_EQ(FileGetSize(deep + L"/f.bin"), 5);
    EXPECT_EQ(FileGetSize(deep + L"/none"), -1);
    TDateTime age = 0;
    EXPECT_TRUE(FileAge(deep + L"/f.bin", age));
    EXPECT_GT(age, 40000.0);               // after the year 2009
    EXPECT_FALSE(RemoveDir(deep));         // not empty
    EXPECT_TRUE(DeleteFile(deep + L"/f.bin"));
    EXPECT_FALSE(DeleteFile(deep + L"/f.bin"));
    EXPECT_TRUE(RemoveDir(deep));
    EXPECT_FALSE(DirectoryExists(deep));

    // Non-ASCII names go to disk as UTF-8.
    Put(L"caf\u00e9 \u65e5.txt", "u");
    EXPECT_TRUE(FileExists(P(L"caf\u00e9 \u65e5.txt")));
    struct stat st{};
    EXPECT_EQ(::stat((UTF8Encode(FDir) + "/caf\xc3\xa9 \xe6\x97\xa5.txt").c_str(), &st), 0);
}

TEST_F(FilesTest, FindFirstMasks)
{
    for (const wchar_t* f : {L"Alpha.TXT", L"beta.txt", L"gamma.log", L"noext", L".hidden", L"a.b.txt"})
        Put(f, "abc");
    ASSERT_TRUE(CreateDir(P(L"Sub")));
    ASSERT_TRUE(CreateDir(P(L"Sub.txt")));

    struct Case {
        const wchar_t* mask;
        Integer attr;
        std::set<String> expected;
    };
    const Case cases[] = {
        {L"*.txt", 0, {L"Alpha.TXT", L"beta.txt", L"a.b.txt"}},
        {L"*.TXT", faAnyFile, {L"Alpha.TXT", L"beta.txt", L"a.b.txt", L"Sub.txt"}},
        {L"?eta.*", 0, {L"beta.txt"}},
        {L"*.*", 0, {L"Alpha.TXT", L"beta.txt", L"gamma.log", L"noext", L"a.b.txt"}},
        {L"NOEXT", 0, {L"noext"}},
        {L"noext.*", 0, {L"noext"}},
        {L"*", faDirectory, {L".", L"..", L"Sub", L"Sub.txt", L"Alpha.TXT", L"beta.txt",
                             L"gamma.log", L"noext", L"a.b.txt"}},
        {L"*", faHidden, {L"Alpha.TXT", L"beta.txt", L"gamma.log", L"noext", L".hidden", L"a.b.txt"}},
        {L"?", 0, {}},
        {L"*a*a*", 0, {L"Alpha.TXT", L"gamma.log"}},
        {L"a*.txt", 0, {L"Alpha.TXT", L"a.b.txt"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(UTF8Encode(c.mask));
        std::set<String> got;
        TSearchRec r;
        int rc = FindFirst(P(c.mask), c.attr, r);
        for (; rc == 0; rc = FindNext(r)) got.insert(r.Name);
        FindClose(r);
        EXPECT_EQ(rc, c.expected.empty() ? ERROR_FILE_NOT_FOUND : ERROR_NO_MORE_FILES);
        EXPECT_EQ(got, c.expected);
    }

    TSearchRec r;
    ASSERT_EQ(FindFirst(P(L"beta.txt"), faAnyFile, r), 0);
    EXPECT_EQ(r.Size, 3);
    EXPECT_EQ(r.Attr & (faDirectory | faHidden), 0);
    EXPECT_EQ(FindNext(r), ERROR_NO_MORE_FILES);
    FindClose(r);
    ASSERT_EQ(FindFirst(P(L"Sub"), faDirectory, r), 0);
    EXPECT_NE(r.Attr & faDirectory, 0);
    FindClose(r);
    ASSERT_EQ(FindFirst(P(L".hidden"), faHidden, r), 0);
    EXPECT_NE(r.Attr & faHidden, 0);
    FindClose(r);
    EXPECT_EQ(FindFirst(P(L"nowhere/*"), faAnyFile, r), ERROR_PATH_NOT_FOUND);
}

TEST(FileNames, Parts)
{
    struct Case {
        const wchar_t* name;
        const wchar_t* path;
        const wchar_t* dir;
        const wchar_t* file;
        const wchar_t* ext;
        const wchar_t* changed;   // ChangeFileExt(name, ".new")
    };
    const Case cases[] = {
        {L"/home/u/video.flv", L"/home/u/", L"/home/u", L"video.flv", L".flv", L"/home/u/video.new"},
        {L"video", L"", L"", L"video", L"", L"video.new"},
        {L"/a.b/c", L"/a.b/", L"/a.b", L"c", L"", L"/a.b/c.new"},
        {L"/top", L"/", L"/", L"top", L"", L"/top.new"},
        {L"dir/", L"dir/", L"dir", L"", L"", L"dir/.new"},
        {L"x/.bashrc", L"x/", L"x", L".bashrc", L".bashrc", L"x/.new"},
        {L"a.tar.gz", L"", L"", L"a.tar.gz", L".gz", L"a.tar.new"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(UTF8Encode(c.name));
        EXPECT_EQ(ExtractFilePath(c.name), c.path);
        EXPECT_EQ(ExtractFileDir(c.name), c.dir);
        EXPECT_EQ(ExtractFileName(c.name), c.file);
        EXPECT_EQ(ExtractFileExt(c.name), c.ext);
        EXPECT_EQ(ChangeFileExt(c.name, L".new"), c.changed);
    }
    EXPECT_EQ(IncludeTrailingPathDelimiter(L"/a"), L"/a/");
    EXPECT_EQ(IncludeTrailingPathDelimiter(L"/a/"), L"/a/");
    EXPECT_EQ(ExcludeTrailingPathDelimiter(L"/a/"), L"/a");
    EXPECT_EQ(ExcludeTrailingPathDelimiter(L"/a"), L"/a");

    EXPECT_EQ(ExpandFileName(L"/a/./b/../c//d"), L"/a/c/d");
    EXPECT_EQ(ExpandFileName(L"/../.."), L"/");
    EXPECT_EQ(ExpandFileName(L"/a/b/"), L"/a/b/");
    EXPECT_EQ(ExpandFileName(L"rel/x"), IncludeTrailingPathDelimiter(GetCurrentDir()) + L"rel/x");

    EXPECT_TRUE(MatchesMask(L"Movie.FLV", L"*.flv"));
    EXPECT_TRUE(MatchesMask(L"abc", L"a?c"));
    EXPECT_TRUE(MatchesMask(L"\u00c9t\u00e9.AVI", L"\u00e9T\u00c9*.avi"));
    EXPECT_FALSE(MatchesMask(L"abcd", L"a?c"));
    EXPECT_TRUE(MatchesMask(L"", L"*"));
    EXPECT_FALSE(MatchesMask(L"x", L""));
}

TEST_F(FilesTest, WellKnownFolders)
{
    const char* oldConf = std::getenv("XDG_CONFIG_HOME");
    std::string saved = oldConf ? oldConf : "";
    ::setenv("XDG_CONFIG_HOME", UTF8Encode(FDir).c_str(), 1);
    Put(L"user-dirs.dirs", "# comment\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                           "XDG_DOCUMENTS_DIR=\"$HOME/Papiers\"\n");
    EXPECT_EQ(GetDocumentsPath(), GetHomePath() + L"/Papiers");
    Put(L"user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"/srv/docs/\"\n");
    EXPECT_EQ(GetDocumentsPath(), L"/srv/docs");
    Put(L"user-dirs.dirs", "garbage\n=\nXDG_DOCUMENTS_DIR=relative\n");
    EXPECT_EQ(GetDocumentsPath(), GetHomePath() + L"/Documents");
    if (oldConf) ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else ::unsetenv("XDG_CONFIG_HOME");

    String exe = ExecutablePath();
    EXPECT_EQ(ExtractFileName(exe), L"test_base");
    EXPECT_EQ(ParamStr(0), exe);
    EXPECT_GE(ParamCount(), 0);
    EXPECT_EQ(ParamStr(10000), L"");
    EXPECT_EQ(GetTempPath().back(), PathDelim);
    EXPECT_FALSE(GetComputerName().empty());

    String here = GetCurrentDir();
    ASSERT_TRUE(SetCurrentDir(FDir));
    char buf[4096];
    ASSERT_NE(::getcwd(buf, sizeof buf), nullptr);
    EXPECT_EQ(GetCurrentDir(), UTF8ToString(buf));
    EXPECT_TRUE(SetCurrentDir(here));
    EXPECT_FALSE(SetCurrentDir(P(L"missing")));
}

}   // namespace
