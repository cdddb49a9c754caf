// The edit with a button and the folder edit: the keys EditorEnabled off
// lets through, F4 and the click path, the password shown while the button
// is held, the layout (minimum height, button width, text rectangle), the
// painting branches, and the folder dialog (flags, initial folder, choose,
// cancel, same folder, placement, an exception inside it) on a real tree.
#include <gtest/gtest.h>

#include <filesystem>

#include "controls/edits/VodDirectoryEdit.h"
#include "controls/edits/VodEdBtn.h"
#include "platform/base/Files.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/ShlObj.h"
#include "platform/ui/StdCtrls.h"
#include "tests/controls/edits/EditsTestSupport.h"

using namespace VodEdBtn;

namespace {

namespace fs = std::filesystem;

class VodEdBtnTest : public EditsFormTest {
protected:
    template <class T = TVodEditBtn>
    T* NewEdit(int x = 100, int y = 40, int w = 160)
    {
        auto* e = new T(Form);
        e->SetParent(Form);
        e->SetBounds(x, y, w, 24);
        e->OnChange = [this](TObject*) { ++Changes; };
        return e;
    }
    TPoint ButtonPoint(TVodEditBtn* e) { return Drv->ScreenPoint(e->Button()->Handle(), {5, 5}); }
    int Changes = 0;
};

}  // namespace

TEST_F(VodEdBtnTest, EditorDisabledLetsOnlyCopyEnterAndEscapeThrough)
{
    auto* e = NewEdit();
    std::vector<wchar_t> pressed;
    e->OnKeyPress = [&](TObject*, wchar_t& k) { pressed.push_back(k); };
    ShowForm();
    e->SetText(L"folder");
    e->SetEditorEnabled(false);
    e->SetFocus();
    Drv->Pump();
    SetClipboardText(L"pasted");
    e->SelectAll();
    Drv->TypeText(L"ab");
    Drv->PressKey(VK_DELETE);
    Drv->PressKey('X', {VK_CONTROL});
    Drv->PressKey('V', {VK_CONTROL});
    EXPECT_EQ(e->Text(), L"folder");
    Drv->PressKey('C', {VK_CONTROL});
    String clip;
    ASSERT_TRUE(GetClipboardText(clip));
    EXPECT_EQ(clip, L"folder");

    // A password copies nothing.
    e->SetEditType(etPassword);   // a new window: the focus goes back to it
    e->SetFocus();
    Drv->Pump();
    SetClipboardText(L"kept");
    e->SelectAll();
    Drv->PressKey('C', {VK_CONTROL});
    ASSERT_TRUE(GetClipboardText(clip));
    EXPECT_EQ(clip, L"kept");
    e->SetEditType(etString);
    e->SetFocus();
    Drv->Pump();

    // Enter and Escape reach the base edit's handling (its key events).
    Drv->PressKey(VK_RETURN);
    Drv->PressKey(VK_ESCAPE);
    EXPECT_NE(std::find(pressed.begin(), pressed.end(), wchar_t(13)), pressed.end());
    EXPECT_NE(std::find(pressed.begin(), pressed.end(), wchar_t(27)), pressed.end());
    EXPECT_EQ(std::find(pressed.begin(), pressed.end(), L'a'), pressed.end());

    // With the editor on, typing works.
    e->SetEditorEnabled(true);
    e->SelectAll();
    Drv->TypeText(L"ab");
    EXPECT_EQ(e->Text(), L"ab");
}

TEST_F(VodEdBtnTest, F4AndTheLeftButtonRunClickButton)
{
    auto* e = NewEdit();
    int clicks = 0;
    e->OnClickBtn = [&](TObject* s) {
        EXPECT_EQ(s, e);
        ++clicks;
    };
    ShowForm();
    e->SetFocus();
    Drv->Pump();
    Drv->PressKey(VK_F4);
    EXPECT_EQ(clicks, 1);
    Drv->PressKey(VK_F4, {VK_CONTROL});
    EXPECT_EQ(clicks, 1) << "Ctrl+F4";
    Drv->Click(ButtonPoint(e), TMouseButton2::Right);
    EXPECT_EQ(clicks, 1) << "a right-button release";
    Drv->Click(ButtonPoint(e));
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(GetFocus(), e->Handle()) << "the focus comes back to the edit";
}

TEST_F(VodEdBtnTest, PasswordShowsInClearWhileTheButtonIsHeld)
{
    auto* e = NewEdit();
    e->SetEditType(etPassword);
    e->SetShowPassOnClick(true);
    int downs = 0, ups = 0;
    e->OnBtnMouseDown = [&](TObject*) { ++downs; };
    e->OnBtnMouseUp = [&](TObject*) { ++ups; };
    ShowForm();
    e->SetText(L"secret");
    Drv->MouseDown(ButtonPoint(e));
    EXPECT_EQ(e->TVodEdit::EditType(), etString);
    Drv->MouseUp(ButtonPoint(e));
    EXPECT_EQ(e->TVodEdit::EditType(), etPassword);
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(ups, 1);
    e->SetShowPassOnClick(false);
    Drv->MouseDown(ButtonPoint(e));
    EXPECT_EQ(e->TVodEdit::EditType(), etPassword);
    Drv->MouseUp(ButtonPoint(e));
}

TEST_F(VodEdBtnTest, LayoutMinimumHeightButtonWidthAndTextRectangle)
{
    auto* e = NewEdit();
    ShowForm();
    EXPECT_EQ(e->ButtonWidth(), 16) << "the container's width, not the declared 17";
    EXPECT_EQ(e->GetVersionNr(), 0x01030600);
    EXPECT_EQ(e->Version(), L"1.3.6.0");

    // Too low for the font: grows to font height + min(screen, font) div 4.
    const Integer minHeight = e->GetMinHeight();
    e->SetHeight(minHeight - 6);
    Drv->Pump();
    EXPECT_EQ(e->Height(), minHeight);

    const Integer right = e->Button()->Left() + e->Button()->Width();
    e->SetButtonWidth(30);
    Drv->Pump();
    EXPECT_EQ(e->Button()->Width(), 30);
    EXPECT_EQ(e->Button()->Left() + e->Button()->Width(), right) << "widens to the left";
    TRect r;
    SendMessage(e->Handle(), EM_GETRECT, 0, LPARAM(&r));
    EXPECT_EQ(r.Right, e->ClientWidth() - 33);
}

TEST_F(VodEdBtnTest, ButtonPaintingBranches)
{
    auto* push = NewEdit(100, 40);
    auto* drop = NewEdit(100, 100);
    drop->SetButtonStyle(bsDropDown);
    push->Button()->ButtonColor = TColor(0x3060C0);
    push->Button()->ButtonTextColor = clWhite;
    drop->Button()->ButtonColor = TColor(0x208020);
    drop->Button()->ButtonTextColor = clYellow;
    ShowForm();
    HWND pb = push->Button()->Handle(), db = drop->Button()->Handle();
    EXPECT_EQ(PixelAt(pb, 12, 2), Rgb(TColor(0x3060C0)));
    EXPECT_EQ(PixelAt(db, 3, 2), Rgb(TColor(0x208020)));
    EXPECT_EQ(PixelAt(db, 8, 8), Rgb(clYellow)) << "the arrow in the text colour";

    // Classic drop-down without a glyph: the black arrow on the button face.
    SetVisualStylesEnabled(false);
    drop->Button()->ButtonColor = clNone;
    drop->Button()->Button()->Invalidate();
    Drv->Pump();
    EXPECT_EQ(PixelAt(db, 8, 8), 0x000000u);
    EXPECT_EQ(PixelAt(db, 1, 1), 0xFFFFFFu) << "the white inner line";
}

TEST_F(VodEdBtnTest, FlatButtonShowsTheEditsFocus)
{
    auto* e = NewEdit(100, 40);
    auto* other = NewEdit(100, 100);
    e->SetFlat(true);
    e->SetEtched(true);
    ShowForm();
    TVodSpeedButton* b = e->Button()->Button();
    EXPECT_TRUE(b->Flat());
    EXPECT_TRUE(b->Etched());
    e->SetFocus();
    Drv->Pump();
    EXPECT_TRUE(b->Focused());
    other->SetFocus();
    Drv->Pump();
    EXPECT_FALSE(b->Focused());
    e->SetReadOnly(true);
    EXPECT_FALSE(e->Button()->Enabled()) << "a read-only edit's button is off";
    e->SetReadOnly(false);
    EXPECT_TRUE(e->Button()->Enabled());
}

// ---------------------------------------------------------------------------
// The folder edit

namespace {

class VodDirectoryEditTest : public VodEdBtnTest {
protected:
    static constexpr UINT kRobot = WM_APP + 7;
    void SetUp() override
    {
        VodEdBtnTest::SetUp();
        std::string tmpl = (fs::temp_directory_path() / "veldiredXXXXXX").string();
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        Root = fs::path(tmpl);
        fs::create_directories(Root / "alpha" / "inner");
        fs::create_directories(Root / "beta");
        // The robot acts inside the dialog's modal loop: the first post
        // comes before the dialog's own start-up and is sent round once.
        auto previous = Form->WindowProc;
        Form->WindowProc = [this, previous](TMessage& m) {
            if (m.Msg != kRobot) {
                previous(m);
                return;
            }
            if (m.WParam == 0) {
                PostMessage(Form->Handle(), kRobot, 1, 0);
                return;
            }
            if (Robot) Robot(GetActiveWindow());
        };
    }
    void TearDown() override
    {
        VodEdBtnTest::TearDown();
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
    static HWND List(HWND dlg) { return Child(dlg, [](HWND h) { return SendMessage(h, LB_GETITEMHEIGHT, 0) > 0; }); }
    static HWND ButtonOf(HWND dlg, const String& text)
    {
        return Child(dlg, [&](HWND h) { return GetWindowText(h) == text; });
    }
    void Press(HWND dlg, const wchar_t* caption) { Drv->Click(Drv->ScreenPoint(ButtonOf(dlg, caption), {5, 5})); }
    // Runs the dialog with the robot posted in.
    TVodDirectoryEdit* NewFolderEdit(int x = 100, int y = 40)
    {
        auto* e = NewEdit<TVodDirectoryEdit>(x, y);
        e->OnShowDirectoryDialog = [this](TObject*, String& initial) {
            ++Opened;
            Initial = initial;
            PostMessage(Form->Handle(), kRobot, 0, 0);
        };
        e->OnDialogClose = [this](TObject*, String& dir, bool ok) { Closes.push_back({dir, ok}); };
        return e;
    }
    fs::path Root;
    std::function<void(HWND)> Robot;
    int Opened = 0;
    String Initial;
    std::vector<std::pair<String, bool>> Closes;
};

}  // namespace

TEST_F(VodDirectoryEditTest, FlagValues)
{
    auto* e = NewEdit<TVodDirectoryEdit>();
    struct Case { bool NewFolder, Shares; UINT Flags; };
    for (Case k : {Case{false, false, 0x201}, Case{false, true, 0x201}, Case{true, false, 0x41}, Case{true, true, 0x8041}}) {
        e->SetAllowNewFolder(k.NewFolder);
        e->SetAllowShares(k.Shares);
        EXPECT_EQ(e->BrowseFlags(), k.Flags) << k.NewFolder << k.Shares;
    }
    EXPECT_EQ(e->BrowseDialogText(), L"Select Directory");
    EXPECT_EQ(e->ButtonWidth(), 18);
}

TEST_F(VodDirectoryEditTest, ChoosingAFolderReplacesTheTextOnce)
{
    auto* e = NewFolderEdit();
    ShowForm();
    e->SetText(Path("alpha"));
    Changes = 0;
    std::vector<String> items;
    Robot = [&](HWND dlg) {
        EXPECT_EQ(GetWindowText(dlg).empty(), false);
        HWND list = List(dlg);
        ASSERT_NE(list, nullptr);
        for (int i = 0; i < int(SendMessage(list, LB_GETCOUNT)); ++i) {
            wchar_t buf[260] = {};
            SendMessage(list, LB_GETTEXT, WPARAM(i), LPARAM(buf));
            items.push_back(buf);
        }
        EXPECT_EQ(ButtonOf(dlg, L"Make New Folder"), nullptr);
        SendMessage(list, LB_SETCURSEL, 1, 0);   // "inner"
        Drv->DoubleClick(Drv->ScreenPoint(list, {10, int(SendMessage(list, LB_GETITEMHEIGHT, 0)) * 3 / 2}));
        Press(dlg, L"OK");
    };
    e->ClickButton();
    EXPECT_EQ(Opened, 1);
    EXPECT_EQ(Initial, Path("alpha"));
    EXPECT_EQ(items, (std::vector<String>{L"..", L"inner"})) << "opened on the edit's folder";
    EXPECT_EQ(e->Text(), Path("alpha/inner"));
    EXPECT_TRUE(e->Modified());
    EXPECT_EQ(Changes, 1);
    ASSERT_EQ(Closes.size(), 1u);
    EXPECT_EQ(Closes[0], std::make_pair(Path("alpha/inner"), true));

    // The same folder again: no change, Modified untouched.
    e->SetModified(false);
    Changes = 0;
    Robot = [&](HWND dlg) { Press(dlg, L"OK"); };
    e->ClickButton();
    EXPECT_EQ(e->Text(), Path("alpha/inner"));
    EXPECT_FALSE(e->Modified());
    EXPECT_EQ(Changes, 0);
    EXPECT_EQ(Closes.back(), std::make_pair(Path("alpha/inner"), true));
}

TEST_F(VodDirectoryEditTest, CancelEmptyTextAndAnExceptionInsideTheDialog)
{
    auto* e = NewFolderEdit();
    ShowForm();
    Robot = [&](HWND dlg) { Press(dlg, L"Cancel"); };
    e->ClickButton();
    EXPECT_EQ(Initial, GetCurrentDir()) << "an empty text opens on the current directory";
    EXPECT_TRUE(e->Text().empty());
    ASSERT_EQ(Closes.size(), 1u);
    EXPECT_EQ(Closes[0], std::make_pair(String(), false));

    e->SetText(Path("beta"));
    Changes = 0;
    // An application whose exception handler raises lets a fault inside the
    // dialog's loop out of the dialog.
    Application->OnException = [](TObject*, const std::exception&) { throw Exception(L"escalated"); };
    Robot = [&](HWND) { throw Exception(L"broken inside the dialog"); };
    EXPECT_NO_THROW(e->ClickButton());
    Application->OnException = nullptr;
    EXPECT_EQ(e->Text(), Path("beta"));
    EXPECT_EQ(Changes, 0);
    ASSERT_EQ(Closes.size(), 2u);
    EXPECT_EQ(Closes[1], std::make_pair(Path("beta"), false));
    // Whatever the exception left open is gone again.
    Drv->Pump();
}

TEST_F(VodDirectoryEditTest, DialogSitsBelowTheEditInsideTheWorkArea)
{
    TRect seen;
    Robot = [&](HWND dlg) {
        GetWindowRect(dlg, &seen);
        Press(dlg, L"Cancel");
    };
    auto* e = NewFolderEdit(20, 40);
    auto* right = NewFolderEdit(330, 100);
    ShowForm();
    e->ClickButton();
    TPoint below = e->ClientToScreen(TPoint{0, e->Height()});
    EXPECT_EQ(seen.TopLeft(), below);

    // Near the right edge: shifted left by its width. Near the bottom: 64
    // pixels above where it would end at the work area's bottom.
    Form->SetBounds(1024 - 500, 768 - 40 - 170, 500, 160);
    Drv->Pump();
    right->ClickButton();
    TPoint p = right->ClientToScreen(TPoint{0, right->Height()});
    EXPECT_EQ(seen.Left, p.X - seen.Width());
    EXPECT_EQ(seen.Top, 768 - 40 - seen.Height() - 64);
}

TEST_F(VodDirectoryEditTest, EveryF4OpensTheDialogOnce)
{
    auto* e = NewFolderEdit();
    Robot = [&](HWND dlg) { Press(dlg, L"Cancel"); };
    int clickBtn = 0;
    e->OnClickBtn = [&](TObject*) { ++clickBtn; };
    ShowForm();
    e->SetFocus();
    Drv->Pump();
    Drv->PressKey(VK_F4);
    EXPECT_EQ(Opened, 1);
    Drv->PressKey(VK_F4, {VK_CONTROL});
    EXPECT_EQ(Opened, 2);
    Drv->Click(ButtonPoint(e));
    EXPECT_EQ(Opened, 3);
    EXPECT_EQ(clickBtn, 0) << "the folder edit never fires OnClickBtn";
}

TEST_F(VodDirectoryEditTest, ValidationFollowsTheFolder)
{
    auto* e = NewEdit<TVodDirectoryEdit>();
    ShowForm();
    e->SetText(Path("alpha"));
    EXPECT_TRUE(e->IsValidDirectory());
    EXPECT_FALSE(e->IsError());
    e->SetText(Path("missing"));
    EXPECT_FALSE(e->IsValidDirectory());
    EXPECT_TRUE(e->IsError());
    EXPECT_TRUE(e->ValidateValue(Path("missing"))) << "valid unless ShowError";
    e->SetShowError(true);
    EXPECT_FALSE(e->ValidateValue(Path("missing")));
    EXPECT_TRUE(e->ValidateValue(String()));
}
