#include "platform/os/Shell.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/gfx/ImageList.h"
#include "platform/os/Process.h"

namespace {

namespace fs = std::filesystem;

// A scratch folder with two recording programs standing in for the
// desktop's opener and the D-Bus caller: each appends its arguments to a log.
class ShellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/velmora-shell-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        Dir = tmpl;
        OpenLog = Dir + "/open.log";
        ShowLog = Dir + "/show.log";
        Script("opener.sh", OpenLog, 0);
        Script("show-ok.sh", ShowLog, 0);
        Script("show-fails.sh", ShowLog, 1);
        SetShellOpenCommand({L"/bin/sh", W(Dir + "/opener.sh")});
        SetShellShowItemsCommand({L"/bin/sh", W(Dir + "/show-ok.sh")});
        fs::create_directories(Dir + "/my folder");
        std::ofstream(Dir + "/my folder/clip one.flv") << "x";
    }
    void TearDown() override
    {
        SetShellOpenCommand({});
        SetShellShowItemsCommand({});
        fs::remove_all(Dir);
    }

    void Script(const std::string& name, const std::string& log, int code)
    {
        std::ofstream(Dir + "/" + name) << "for a in \"$@\"; do printf '%s\\n' \"$a\" >> '" << log
                                         << "'; done\nexit " << code << "\n";
    }
    static String W(const std::string& s) { return UTF8ToString(s); }
    static std::string Read(const std::string& file)
    {
        std::ifstream in(file);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    // The opener runs in the background: wait for its log line.
    std::string WaitForLog(const std::string& file)
    {
        for (int i = 0; i < 2000; ++i) {
            std::string s = Read(file);
            if (!s.empty() && s.back() == '\n') return s;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return Read(file);
    }

    std::string Dir, OpenLog, ShowLog;
};

intptr_t Result(HINSTANCE h) { return reinterpret_cast<intptr_t>(h); }

TEST_F(ShellTest, OpenRunsTheOpenerWithTheTarget)
{
    const String folder = W(Dir + "/my folder");
    struct Case {
        const wchar_t* verb;
        String file;
        const wchar_t* dir;
        std::string want;
    } cases[] = {
        {L"open", L"https://example.test/watch?v=1&x=2", nullptr, "https://example.test/watch?v=1&x=2\n"},
        {nullptr, L"mailto:someone@example.test", nullptr, "mailto:someone@example.test\n"},
        {L"OPEN", W(Dir + "/my folder/clip one.flv"), nullptr, Dir + "/my folder/clip one.flv\n"},
        {L"open", W(Dir + "/my folder"), nullptr, Dir + "/my folder\n"},
        {L"open", L"clip one.flv", nullptr, ""},   // relative without a folder: not found
        {L"open", L"clip one.flv", folder.c_str(), Dir + "/my folder/clip one.flv\n"},
        {L"explore", W(Dir + "/my folder/clip one.flv"), nullptr, Dir + "/my folder\n"},
    };
    for (const Case& c : cases) {
        fs::remove(OpenLog);
        SHELLEXECUTEINFO info;
        info.fMask = SEE_MASK_NOCLOSEPROCESS;
        info.lpVerb = c.verb;
        info.lpFile = c.file.c_str();
        info.lpDirectory = c.dir;
        info.nShow = 1;
        BOOL ok = ShellExecuteEx(&info);
        EXPECT_EQ(ok != 0, !c.want.empty()) << UTF8Encode(c.file);
        if (!ok) {
            EXPECT_EQ(Result(info.hInstApp), SE_ERR_FNF);
            EXPECT_EQ(info.hProcess, nullptr);
            continue;
        }
        EXPECT_GT(Result(info.hInstApp), 32);
        ASSERT_NE(info.hProcess, nullptr);
        EXPECT_EQ(WaitForSingleObject(info.hProcess, 5000), WAIT_OBJECT_0);
        CloseHandle(info.hProcess);
        EXPECT_EQ(Read(OpenLog), c.want);
    }

    // The plain call does not wait and hands out no process.
    fs::remove(OpenLog);
    EXPECT_GT(Result(ShellExecute(nullptr, L"open", L"http://example.test/", nullptr, nullptr, 1)), 32);
    EXPECT_EQ(WaitForLog(OpenLog), "http://example.test/\n");

    EXPECT_EQ(Result(ShellExecute(nullptr, L"print", L"http://example.test/", nullptr, nullptr, 1)), SE_ERR_NOASSOC);
    EXPECT_EQ(Result(ShellExecute(nullptr, L"open", W(Dir + "/missing.flv").c_str(), nullptr, nullptr, 1)), SE_ERR_FNF);
    EXPECT_EQ(Result(ShellExecute(nullptr, L"open", L"", nullptr, nullptr, 1)), SE_ERR_FNF);
}

TEST_F(ShellTest, ShowInFileManager)
{
    std::string file = Dir + "/my folder/clip one.flv";
    // The file manager answers: nothing else runs.
    String params = W("/select,\"" + file + "\"");
    EXPECT_GT(Result(ShellExecute(nullptr, L"open", L"explorer.exe", params.c_str(), nullptr, 1)), 32);
    EXPECT_EQ(Read(ShowLog), "file://" + Dir + "/my%20folder/clip%20one.flv\n");
    EXPECT_EQ(Read(OpenLog), "");

    // It does not: the folder is opened instead.
    fs::remove(ShowLog);
    SetShellShowItemsCommand({L"/bin/sh", W(Dir + "/show-fails.sh")});
    EXPECT_TRUE(ShowFileInFileManager(W(file)));
    EXPECT_EQ(WaitForLog(OpenLog), Dir + "/my folder\n");
    EXPECT_FALSE(Read(ShowLog).empty());

    EXPECT_EQ(Result(ShellExecute(nullptr, L"open", L"explorer.exe", W("/select," + Dir + "/nope").c_str(),
                                  nullptr, 1)),
              SE_ERR_FNF);
}

TEST(ShellFolders, SpecialFolders)
{
    char tmpl[] = "/tmp/velmora-home-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    std::string home = tmpl;
    setenv("HOME", tmpl, 1);
    setenv("XDG_CONFIG_HOME", (home + "/cfg").c_str(), 1);
    Char path[MAX_PATH];
    ASSERT_TRUE(SHGetSpecialFolderPath(nullptr, path, CSIDL_PERSONAL, 1));
    EXPECT_EQ(String(path), UTF8ToString(home + "/Documents"));
    EXPECT_TRUE(fs::is_directory(home + "/Documents"));
    ASSERT_TRUE(SHGetSpecialFolderPath(nullptr, path, CSIDL_APPDATA, 0));
    EXPECT_EQ(String(path), UTF8ToString(home + "/cfg"));
    ASSERT_TRUE(SHGetSpecialFolderPath(nullptr, path, CSIDL_PROFILE, 0));
    EXPECT_EQ(String(path), UTF8ToString(home));
    EXPECT_FALSE(SHGetSpecialFolderPath(nullptr, path, 0x7B, 0));
    fs::remove_all(home);
}

TEST(ShellFileInfo, KindsAndTypeNames)
{
    struct Case {
        const wchar_t* name;
        DWORD attrs;
        int icon;
        const wchar_t* type;
    } cases[] = {
        {L"/x/Video.FLV", FILE_ATTRIBUTE_NORMAL, siVideo, L"FLV File"},
        {L"song.mp3", FILE_ATTRIBUTE_NORMAL, siAudio, L"MP3 File"},
        {L"/x/folder.avi", FILE_ATTRIBUTE_DIRECTORY, siFolder, L"File folder"},
        {L"README", FILE_ATTRIBUTE_NORMAL, siFile, L"File"},
        {L"/x.d/noext", FILE_ATTRIBUTE_NORMAL, siFile, L"File"},
        {L"kestrix.exe", FILE_ATTRIBUTE_NORMAL, siProgram, L"EXE File"},
    };
    for (const Case& c : cases) {
        SHFILEINFO info;
        uintptr_t h = SHGetFileInfo(c.name, c.attrs, &info, sizeof info,
                                    SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_TYPENAME |
                                        SHGFI_DISPLAYNAME);
        EXPECT_EQ(h, reinterpret_cast<uintptr_t>(ShellSystemImageList(true)));
        EXPECT_EQ(info.iIcon, c.icon) << UTF8Encode(c.name);
        EXPECT_EQ(String(info.szTypeName), c.type);
    }
    SHFILEINFO info;
    EXPECT_EQ(SHGetFileInfo(L"/bin", 0, &info, sizeof info, SHGFI_SYSICONINDEX),
              reinterpret_cast<uintptr_t>(ShellSystemImageList(false)));
    EXPECT_EQ(info.iIcon, siFolder);
    EXPECT_EQ(SHGetFileInfo(L"/no/such/file.flv", 0, &info, sizeof info, SHGFI_SYSICONINDEX), 0u);
}

TEST(ShellFileInfo, TheSystemImageListsHoldAnIconPerKind)
{
    // The usual way to reach the lists: an empty path.
    SHFILEINFO info;
    auto large = reinterpret_cast<HIMAGELIST>(SHGetFileInfo(L"", 0, &info, sizeof info, SHGFI_SYSICONINDEX));
    auto small = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfo(L"", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    ASSERT_EQ(large, ShellSystemImageList(false));
    ASSERT_EQ(small, ShellSystemImageList(true));
    for (auto [list, size] : {std::pair{large, 32}, std::pair{small, 16}}) {
        ASSERT_EQ(ImageList_GetImageCount(list), int(siShellIconCount));
        EXPECT_EQ(list->Width(), size);
        EXPECT_EQ(list->Height(), size);
        for (int a = 0; a < siShellIconCount; ++a) {
            const TImageData& img = list->Image(a);
            EXPECT_EQ(img.Pixel(0, 0) >> 24, 0u) << "corners are transparent";
            EXPECT_EQ(img.Pixel(size / 2, size / 2) >> 24, 0xFFu) << "the middle is drawn";
            for (int b = a + 1; b < siShellIconCount; ++b)
                EXPECT_NE(img.Pixels, list->Image(b).Pixels) << "icons " << a << " and " << b << " look alike";
        }
    }
}

}  // namespace
