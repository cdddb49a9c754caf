// The folder browser driven like a user would: walking a folder tree of
// its own, choosing, cancelling, the callback's messages both ways, and
// item lists.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "platform/base/SysUtils.h"
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
    std::vector<String> Invalid;     // BFFM_VALIDATEFAILED names
    int KeepOnInvalid = 1;           // the answer to it
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
    if (msg == BFFM_VALIDATEFAILEDW) {
        s->Invalid.push_back(reinterpret_cast<const wchar_t*>(lp));
        return s->KeepOnInvalid;
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
    bi.ulFlags = BIF_NEWDIALOGSTYLE;
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

TEST_F(FolderBrowserTest, EditBoxTakesATypedNameOrPathOnOk)
{
    auto edit = [](HWND dlg) {
        return Child(dlg, [](HWND h) { return UpperCase(GetClassName(h)).find(L"EDIT") != String::npos; });
    };
    auto typeAndOk = [&](HWND dlg, const String& text) {
        HWND e = edit(dlg);
        SetFocus(e);
        SendMessage(e, EM_SETSEL, 0, -1);
        Drv->TypeText(text);
        Drv->PressKey(VK_RETURN);
    };
    struct Case {
        const char* Name;
        UINT Flags;
        std::function<void(HWND)> Act;
        const char* Chosen;  // null: cancelled
        Names Invalid;
        int Beeps;
    } cases[] = {
        {"the list's choice shows in the box",
         BIF_EDITBOX,
         [&](HWND dlg) {
             EXPECT_EQ(GetWindowText(edit(dlg)), Path().substr(Path().find_last_of(L'/') + 1)) << "the root's name at first";
             Drv->Click(ItemPoint(List(dlg), 1));
             EXPECT_EQ(GetWindowText(edit(dlg)), L"Beta");
             Drv->Click(Drv->ScreenPoint(Button(dlg, L"OK"), {5, 5}));
         },
         "Beta", {}, 0},
        {"a name in the folder shown", BIF_EDITBOX, [&](HWND dlg) { typeAndOk(dlg, L"alpha"); }, "alpha", {}, 0},
        {"a relative path", BIF_EDITBOX, [&](HWND dlg) { typeAndOk(dlg, L"alpha/inner"); }, "alpha/inner", {}, 0},
        {"no such folder: the dialog stays",
         BIF_EDITBOX,
         [&](HWND dlg) {
             typeAndOk(dlg, L"nope");
             EXPECT_TRUE(IsWindowVisible(dlg));
             typeAndOk(dlg, L"Beta");
         },
         "Beta", {}, 1},
        {"outside the root is not taken",
         BIF_EDITBOX,
         [&](HWND dlg) {
             typeAndOk(dlg, L"/");
             Drv->PressKey(VK_ESCAPE);
         },
         nullptr, {}, 1},
        {"validated: the callback keeps the dialog",
         BIF_EDITBOX | BIF_VALIDATE,
         [&](HWND dlg) {
             typeAndOk(dlg, L"nope");
             EXPECT_TRUE(IsWindowVisible(dlg));
             Drv->PressKey(VK_ESCAPE);
         },
         nullptr, {L"nope"}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TBrowseScript script;
        script.OnInit = c.Act;
        BROWSEINFO bi;
        PIDLIST_ABSOLUTE root = ILCreateFromPath(Path().c_str());
        bi.pidlRoot = root;
        bi.ulFlags = c.Flags;
        bi.lpfn = &ScriptCallback;
        bi.lParam = LPARAM(&script);
        int beeps = MessageBeepCount();
        PIDLIST_ABSOLUTE chosen = SHBrowseForFolder(&bi);
        ILFree(root);
        EXPECT_EQ(MessageBeepCount() - beeps, c.Beeps);
        EXPECT_EQ(script.Invalid, c.Invalid);
        if (!c.Chosen) {
            EXPECT_EQ(chosen, nullptr);
            continue;
        }
        ASSERT_NE(chosen, nullptr);
        wchar_t path[260];
        EXPECT_TRUE(SHGetPathFromIDList(chosen, path));
        EXPECT_EQ(String(path), Path(c.Chosen));
        CoTaskMemFree(chosen);
    }

    // A failed validation the callback does not keep ends the dialog as
    // cancelled: a name that is no folder is never answered.
    TBrowseScript script;
    script.KeepOnInvalid = 0;
    script.OnInit = [&](HWND dlg) { typeAndOk(dlg, L"nope"); };
    BROWSEINFO bi;
    bi.pidlRoot = ILCreateFromPath(Path().c_str());
    bi.ulFlags = BIF_EDITBOX | BIF_VALIDATE;
    bi.lpfn = &ScriptCallback;
    bi.lParam = LPARAM(&script);
    EXPECT_EQ(SHBrowseForFolder(&bi), nullptr);
    ILFree(const_cast<PIDLIST_ABSOLUTE>(bi.pidlRoot));
    EXPECT_EQ(script.Invalid, Names{L"nope"});
}

TEST_F(FolderBrowserTest, NewDialogStyleSizesAndMakesFolders)
{
    struct Case {
        UINT Flags;
        bool Sizable, NewFolder;
    } cases[] = {
        {0, false, false},
        {BIF_RETURNONLYFSDIRS | BIF_NONEWFOLDERBUTTON, false, false},
        {BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE, true, true},
        {BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_NONEWFOLDERBUTTON, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Flags);
        TBrowseScript script;
        script.OnInit = [&](HWND dlg) {
            EXPECT_EQ((GetWindowLong(dlg, GWL_STYLE) & WS_THICKFRAME) != 0, c.Sizable);
            EXPECT_EQ(Button(dlg, L"Make New Folder") != nullptr, c.NewFolder);
            if (c.Sizable) {
                // The list grows with the dialog; the buttons keep to the corner.
                TRect list0, ok0, list1, ok1, dlg0;
                GetWindowRect(List(dlg), &list0);
                GetWindowRect(Button(dlg, L"OK"), &ok0);
                GetWindowRect(dlg, &dlg0);
                SetWindowPos(dlg, nullptr, 0, 0, dlg0.Width() + 100, dlg0.Height() + 60, SWP_NOMOVE | SWP_NOZORDER);
                GetWindowRect(List(dlg), &list1);
                GetWindowRect(Button(dlg, L"OK"), &ok1);
                EXPECT_EQ(list1.Width(), list0.Width() + 100);
                EXPECT_EQ(list1.Height(), list0.Height() + 60);
                EXPECT_EQ(ok1.Left, ok0.Left + 100);
                EXPECT_EQ(ok1.Top, ok0.Top + 60);
            }
            Drv->PressKey(VK_ESCAPE);
        };
        BROWSEINFO bi;
        PIDLIST_ABSOLUTE root = ILCreateFromPath(Path().c_str());
        bi.pidlRoot = root;
        bi.ulFlags = c.Flags;
        bi.lpfn = &ScriptCallback;
        bi.lParam = LPARAM(&script);
        EXPECT_EQ(SHBrowseForFolder(&bi), nullptr);
        ILFree(root);
        EXPECT_EQ(script.Inits, 1);
    }
}
