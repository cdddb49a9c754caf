// The folder browser driven like a user would: walking a folder tree of
// its own, choosing, cancelling, the callback's messages both ways, and
// item lists.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "platform/ui/Forms.h"
#include "platform/ui/ShlObj.h"
#include "platform/ui/StdCtrls_List.h"
#include "platform/ui/backend/Headless.h"

namespace {

namespace fs = std::filesystem;

struct TBrowseScript {
    std::function<void(HWND dlg)> OnInit;
    std::vector<String> Selections;  // BFFM_SELCHANGED paths in order
    int Inits = 0;
};

int ScriptCallback(HWND hwnd, UINT msg, LPARAM lp, LPARAM data)
{
    auto* s = reinterpret_cast<TBrowseScript*>(data);
    if (msg == BFFM_SELCHANGED) {
        wchar_t path[260];
        EXPECT_TRUE(SHGetPathFromIDList(reinterpret_cast<PCIDLIST_ABSOLUTE>(lp), path));
        s->Selections.push_back(path);
    }
    if (msg == BFFM_INITIALIZED) {
        ++s->Inits;
        if (s->OnInit) s->OnInit(hwnd);
    }
    return 0;
}

class FolderBrowserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Drv = std::make_unique<THeadlessDriver>();
        SetFixedMetricsFonts(true);
        InitForms();
        std::string tmpl = (fs::temp_directory_path() / "velbrowseXXXXXX").string();
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        Root = fs::path(tmpl);
        fs::create_directories(Root / "alpha" / "inner");
        fs::create_directories(Root / "Beta");
        fs::create_directories(Root / ".hidden");
    }
    void TearDown() override
    {
        DoneForms();
        Drv.reset();
        SetFixedMetricsFonts(false);
        std::error_code ec;
        fs::remove_all(Root, ec);
    }
    String Path(const char* rel = "") const
    {
        String s = UTF8ToString((Root / rel).string());
        while (s.size() > 1 && s.back() == L'/') s.pop_back();
        return s;
    }
    static HWND Child(HWND dlg, const std::function<bool(HWND)>& match)
    {
        HWND found = nullptr;
        EnumChildWindows(dlg, [&](HWND h) {
            if (!found && match(h)) found = h;
            return true;
        });
        return found;
    }
    // The child that answers as a list box does.
    static HWND List(HWND dlg) { return Child(dlg, [](HWND h) { return SendMessage(h, LB_GETITEMHEIGHT, 0) > 0; }); }
    static HWND Button(HWND dlg, const String& text)
    {
        return Child(dlg, [&](HWND h) { return GetWindowText(h) == text; });
    }
    static std::vector<String> Items(HWND list)
    {
        std::vector<String> r;
        for (int i = 0; i < int(SendMessage(list, LB_GETCOUNT)); ++i) {
            wchar_t buf[260] = {};
            SendMessage(list, LB_GETTEXT, WPARAM(i), LPARAM(buf));
            r.push_back(buf);
        }
        return r;
    }
    TPoint ItemPoint(HWND list, int i)
    {
        TRect r;
        SendMessage(list, LB_GETITEMRECT, WPARAM(i), LPARAM(&r));
        return Drv->ScreenPoint(list, {r.Left + 10, (r.Top + r.Bottom) / 2});
    }
    std::unique_ptr<THeadlessDriver> Drv;
    fs::path Root;
};

using Names = std::vector<String>;

}  // namespace

TEST_F(FolderBrowserTest, WalkingInAndChoosingAnswersThePath)
{
    TBrowseScript script;
    script.OnInit = [&](HWND dlg) {
        EXPECT_TRUE(IsWindowVisible(dlg));
        HWND list = List(dlg);
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(Items(list), (Names{L"alpha", L"Beta"})) << "no way above the root, hidden folders hidden";
        EXPECT_EQ(Button(dlg, L"Make New Folder"), nullptr);
        Drv->DoubleClick(ItemPoint(list, 0));
        EXPECT_EQ(Items(list), (Names{L"..", L"inner"}));
        Drv->Click(ItemPoint(list, 1));
        Drv->Click(Drv->ScreenPoint(Button(dlg, L"OK"), {5, 5}));
    };
    wchar_t name[260] = {};
    BROWSEINFO bi;
    PIDLIST_ABSOLUTE root = ILCreateFromPath(Path().c_str());
    bi.pidlRoot = root;
    bi.lpszTitle = L"Where shall the videos go?";
    bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_NONEWFOLDERBUTTON;
    bi.pszDisplayName = name;
    bi.lpfn = &ScriptCallback;
    bi.lParam = LPARAM(&script);
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolder(&bi);
    ILFree(root);
    ASSERT_NE(chosen, nullptr);
    wchar_t path[260];
    EXPECT_TRUE(SHGetPathFromIDList(chosen, path));
    EXPECT_EQ(String(path), Path("alpha/inner"));
    EXPECT_EQ(String(name), L"inner");
    CoTaskMemFree(chosen);
    EXPECT_EQ(script.Inits, 1);
    EXPECT_EQ(script.Selections, (Names{Path("alpha"), Path("alpha/inner")}));
}

TEST_F(FolderBrowserTest, InitialSelectionKeysNewFolderAndCancel)
{
    TBrowseScript script;
    script.OnInit = [&](HWND dlg) {
        // The callback puts the dialog on a folder of its choosing.
        SendMessage(dlg, BFFM_SETSELECTIONW, TRUE, LPARAM(Path("Beta").c_str()));
        HWND list = List(dlg);
        EXPECT_EQ(Items(list), (Names{L".."}));
        Drv->Click(Drv->ScreenPoint(Button(dlg, L"Make New Folder"), {5, 5}));
        EXPECT_EQ(Items(list), (Names{L"..", L"New Folder"}));
        EXPECT_TRUE(fs::is_directory(Root / "Beta" / "New Folder"));
        // Keys: Enter on ".." goes up, highlighting where we came from;
        // Enter goes in, Backspace back up.
        SetFocus(list);
        Drv->PressKey(VK_HOME);
        Drv->PressKey(VK_RETURN);
        EXPECT_EQ(Items(list), (Names{L"alpha", L"Beta"})) << "the root: nothing above it";
        EXPECT_EQ(SendMessage(list, LB_GETCURSEL), 1);
        Drv->PressKey(VK_UP);
        Drv->PressKey(VK_RETURN);
        EXPECT_EQ(Items(list), (Names{L"..", L"inner"}));
        Drv->PressKey(VK_BACK);
        EXPECT_EQ(Items(list), (Names{L"alpha", L"Beta"}));
        EXPECT_EQ(SendMessage(list, LB_GETCURSEL), 0);
        Drv->PressKey(VK_ESCAPE);
    };
    BROWSEINFO bi;
    PIDLIST_ABSOLUTE root = ILCreateFromPath(Path().c_str());
    bi.pidlRoot = root;
    bi.lpfn = &ScriptCallback;
    bi.lParam = LPARAM(&script);
    EXPECT_EQ(SHBrowseForFolder(&bi), nullptr) << "cancelled";
    ILFree(root);
    // Told each time the chosen folder changed: the callback's choice, the
    // new folder, Beta highlighted at the root, then alpha (going in and
    // out of alpha keeps it chosen).
    EXPECT_EQ(script.Selections, (Names{Path("Beta"), Path("Beta/New Folder"), Path("Beta"), Path("alpha")}));
}

TEST_F(FolderBrowserTest, ItemListsHoldPathsAndRejectOthers)
{
    PIDLIST_ABSOLUTE p = ILCreateFromPath(L"/tmp/some folder");
    wchar_t out[260];
    ASSERT_TRUE(SHGetPathFromIDList(p, out));
    EXPECT_EQ(String(out), L"/tmp/some folder");
    TComPtr<IMalloc> shell;
    ASSERT_EQ(SHGetMalloc(shell.ReleaseAndGetAddressOf()), S_OK);
    shell->Free(p);

    String tooLong = L"/" + String(300, L'x');
    PIDLIST_ABSOLUTE longOne = ILCreateFromPath(tooLong.c_str());
    EXPECT_FALSE(SHGetPathFromIDList(longOne, out));
    EXPECT_EQ(out[0], 0);
    ILFree(longOne);
    uint32_t notOurs[4] = {1, 2, 3, 4};
    EXPECT_FALSE(SHGetPathFromIDList(reinterpret_cast<PCIDLIST_ABSOLUTE>(notOurs), out));
    EXPECT_FALSE(SHGetPathFromIDList(nullptr, out));
    EXPECT_EQ(ILCreateFromPath(L""), nullptr);
    EXPECT_EQ(SHBrowseForFolder(nullptr), nullptr);
}
