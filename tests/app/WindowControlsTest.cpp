// The windows on the library's controls, on the headless backend: each
// named control has its class, text, colour and size; the handlers reach the
// controls (Enter in the link box, the folder edit's browse button, the
// choices' clicks); the row buttons and the popup items follow the selected
// entry; a hovered row button lifts its glyph on the window's face; the
// lookup edits keep no history anywhere.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "controls/chrome/VodMenus.h"
#include "controls/chrome/VodPanel.h"
#include "controls/chrome/VodToolButton.h"
#include "controls/edits/VodCombo.h"
#include "controls/edits/VodDirectoryEdit.h"
#include "controls/edits/vodlued.h"
#include "platform/base/Files.h"
#include "platform/base/Registry.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Menus.h"
#include "platform/ui/StdCtrls.h"
#include "tests/app/MainFormFixture.h"

namespace {

namespace fs = std::filesystem;

constexpr uint32_t kFace = 0xE79797;  // R231 G151 B151, the window's colour

struct TButtonSpec {
    const char* what;
    TVodToolButton* T_mainForm::*button;
    const wchar_t* caption;
    const wchar_t* hint;
};

const TButtonSpec kButtons[] = {
    {"Start", &T_mainForm::StartVodToolButton, L"Start", L"Start Download"},
    {"Stop", &T_mainForm::StopVodToolButton, L"Stop", L"Stop Download"},
    {"Remove", &T_mainForm::RemoveVodToolButton, L"Remove", L"Remove Video"},
    {"Play", &T_mainForm::PlayVodToolButton, L"Play", L"Play Video"},
    {"Browse", &T_mainForm::OpenVodToolButton, L"Browse", L"Open Folder"},
    {"Home", &T_mainForm::HomepageVodToolButton, L"Home", L""},
    {"Update", &T_mainForm::UpdateVodToolButton, L"Update", L"Update"},
    {"Support", &T_mainForm::SupportVodToolButton, L"Support", L""},
    {"Help", &T_mainForm::HelpVodToolButton, L"Help", L""},
    {"Exit", &T_mainForm::ExitVodToolButton, L"Exit", L""},
};

TEST_F(MainFormTest, EachControlHasItsLibraryClassTextColourAndSize)
{
    for (TVodPanel* p : {Form->VodPanel1, Form->TopVodPanel, Form->SecondVodPanel, Form->BottomVodPanel,
                         Form->RightVodPanel}) {
        EXPECT_EQ(p->ClassName(), L"TVodPanel");
        EXPECT_EQ(p->Color(), kMainColour);
        EXPECT_FALSE(p->Caption()->Visible());
        EXPECT_FALSE(p->StatusBar()->Visible());
        EXPECT_EQ(p->BevelOuter(), bvNone);
        EXPECT_TRUE(p->DoubleBuffered());
    }
    for (const TButtonSpec& s : kButtons) {
        SCOPED_TRACE(s.what);
        TVodToolButton* b = Form->*s.button;
        EXPECT_EQ(b->ClassName(), L"TVodToolButton");
        EXPECT_EQ(b->Caption(), s.caption);
        EXPECT_EQ(b->Hint(), s.hint);
        EXPECT_EQ(b->Width(), 55);
        EXPECT_EQ(b->Height(), 55);
        EXPECT_EQ(b->Layout(), blGlyphTop);
        EXPECT_FALSE(b->Glyph()->Empty());
        EXPECT_EQ(b->Color(), kMainColour);
        EXPECT_EQ(b->ColorHot(), kMainColour);
        EXPECT_EQ(b->ColorDown(), kMainColour);
    }
    EXPECT_EQ(Form->AddVodToolButton->ClassName(), L"TVodToolButton");
    EXPECT_EQ(Form->AddVodToolButton->Caption(), L"Add");
    EXPECT_TRUE(Form->AddVodToolButton->Font()->Style().Contains(fsBold));

    EXPECT_EQ(Form->LinkVodLUEdit->ClassName(), L"TVodLUEdit");
    EXPECT_EQ(Form->LinkVodLUEdit->Text(), kLinkBoxPrompt);
    EXPECT_EQ(Form->LinkVodLUEdit->Color(), clCream);
    EXPECT_EQ(Form->LinkVodLUEdit->Font()->Color(), clGray);
    EXPECT_EQ(Form->ExampleMemo->ClassName(), L"TVodEdit");
    EXPECT_TRUE(Form->ExampleMemo->ReadOnly());
    EXPECT_EQ(Form->ExampleMemo->BorderStyle(), bsNone);
    EXPECT_TRUE(Form->ExampleMemo->Transparent());
    EXPECT_EQ(Form->ExampleMemo->Font()->Color(), clNavy);
    EXPECT_EQ(Form->ExampleMemo->Color(), kMainColour);
    EXPECT_EQ(Form->SaveVodDirectoryEdit->ClassName(), L"TVodDirectoryEdit");
    EXPECT_FALSE(Form->SaveVodDirectoryEdit->EditorEnabled());
    EXPECT_EQ(Form->SaveVodDirectoryEdit->BrowseDialogText(), L"Select Directory");
    for (TVodComboBox* c : {Form->DownloadVodComboBox, Form->AviVodComboBox}) {
        EXPECT_EQ(c->ClassName(), L"TVodComboBox");
        EXPECT_EQ(c->Style(), csDropDownList);
    }
    EXPECT_EQ(Form->AviVodComboBox->Items()->Strings(1), L"AVI for Windows (XVID + MP3)");
    EXPECT_EQ(Form->MainListView->ClassName(), L"TListView");
    EXPECT_EQ(Form->AutoCheckBox->ClassName(), L"TCheckBox");
    EXPECT_EQ(Form->AutoCheckBox->Color(), kMainColour);

    EXPECT_EQ(Form->VodPopupMenu->ClassName(), L"TVodPopupMenu");
    ASSERT_NE(Form->VodPopupMenu->MenuStyler(), nullptr);
    EXPECT_EQ(Form->VodPopupMenu->MenuStyler()->ClassName(), L"TVodMenuOfficeStyler");
    std::vector<String> items;
    for (Integer i = 0; i < Form->VodPopupMenu->Items()->Count(); ++i)
        items.push_back(Form->VodPopupMenu->Items()->Items(i)->Caption());
    EXPECT_EQ(items, (std::vector<String>{L"Start Download", L"Stop Download", L"Video Info", L"Remove Entry",
                                          L"Play Video", L"Open Video"}));
    EXPECT_FALSE(Form->VideoInfo1->OnClick) << "Video Info still does nothing";

    // The wait window, the proxy window and the information window.
    EXPECT_EQ(_waitForm->RightVodPanel->ClassName(), L"TVodPanel");
    EXPECT_EQ(_waitForm->WaitStaticText->ClassName(), L"TStaticText");
    EXPECT_EQ(_waitForm->Stop1VodToolButton->ClassName(), L"TVodToolButton");
    EXPECT_EQ(_waitForm->Stop1VodToolButton->Caption(), L"Stop");
    EXPECT_TRUE(_waitForm->Stop1VodToolButton->Font()->Style().Contains(fsBold));
    EXPECT_EQ(_waitForm->Stop1VodToolButton->Width(), 84);
    EXPECT_EQ(_waitForm->Stop1VodToolButton->Height(), 22);
    EXPECT_EQ(_proxyForm->VodPanel1->ClassName(), L"TVodPanel");
    for (TVodLUEdit* e : {_proxyForm->ServerVodLUEdit, _proxyForm->PortVodLUEdit, _proxyForm->UsernameVodLUEdit,
                          _proxyForm->PasswordVodLUEdit}) {
        EXPECT_EQ(e->ClassName(), L"TVodLUEdit");
        EXPECT_EQ(e->Font()->Name(), L"Tahoma");
        EXPECT_EQ(e->Font()->Color(), clGray);
    }
    EXPECT_EQ(_proxyForm->PasswordVodLUEdit->PasswordChar(), L'*');
    EXPECT_EQ(_InfoForm->VodPanel1->ClassName(), L"TVodPanel");
    EXPECT_EQ(_InfoForm->LeftVodPanel->ClassName(), L"TVodPanel");

    // The wait and information windows take the main panel's colour when
    // they are activated.
    ShowAndActivate();
    _InfoForm->Show();
    Drv->Activate(_InfoForm->Handle());
    Drv->Pump();
    EXPECT_EQ(_InfoForm->LeftVodPanel->Color(), kMainColour);
    _InfoForm->Hide();
    _waitForm->Show();
    Drv->Activate(_waitForm->Handle());
    Drv->Pump();
    EXPECT_EQ(_waitForm->RightVodPanel->Color(), kMainColour);
    _waitForm->Hide();
}

// The folder dialog's robot: the folder edit's dialog runs modally, so the
// test acts from inside its loop through a message posted to the window.
class FolderEditTest : public MainFormTest {
protected:
    static constexpr UINT kRobot = WM_APP + 11;
    void SetUp() override
    {
        MainFormTest::SetUp();
        auto previous = Form->WindowProc;
        Form->WindowProc = [this, previous](TMessage& m) {
            if (m.Msg != kRobot) {
                previous(m);
                return;
            }
            if (m.WParam == 0) {  // once round, so the dialog's own start-up comes first
                PostMessage(Form->Handle(), kRobot, 1, 0);
                return;
            }
            if (Robot) Robot(GetActiveWindow());
        };
        Form->SaveVodDirectoryEdit->OnShowDirectoryDialog = [this](TObject*, String& initial) {
            Initial = initial;
            PostMessage(Form->Handle(), kRobot, 0, 0);
        };
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
    static HWND WithText(HWND dlg, const String& text)
    {
        return Child(dlg, [&](HWND h) { return GetWindowText(h) == text; });
    }
    void Press(HWND dlg, const wchar_t* caption) { Drv->Click(Drv->ScreenPoint(WithText(dlg, caption), {5, 5})); }

    std::function<void(HWND)> Robot;
    String Initial;
};

TEST_F(FolderEditTest, BrowseButtonChoosesTheFolderAndTheSettingFollows)
{
    MakeFolder("Documents/clips");
    ShowAndActivate();
    ASSERT_EQ(Form->SaveVodDirectoryEdit->Text(), Documents());
    Robot = [&](HWND dlg) {
        HWND list = List(dlg);
        ASSERT_NE(list, nullptr);
        const int row = int(SendMessage(list, LB_GETITEMHEIGHT, 0));
        Drv->DoubleClick(Drv->ScreenPoint(list, {10, row * 3 / 2}));  // "clips", below ".."
        Press(dlg, L"OK");
    };
    // The edit's own button, pressed as a user presses it.
    Drv->Click(Drv->ScreenPoint(Form->SaveVodDirectoryEdit->Button()->Handle(), {5, 5}));
    EXPECT_EQ(Initial, Documents()) << "the dialog opens on the folder shown";
    EXPECT_EQ(Form->SaveVodDirectoryEdit->Text(), Documents() + L"/clips");
    EXPECT_EQ(Value(L"path"), Documents() + L"/clips");

    // Cancel changes nothing; typing into the edit is refused.
    Robot = [&](HWND dlg) { Press(dlg, L"Cancel"); };
    Form->SaveVodDirectoryEdit->ClickButton();
    EXPECT_EQ(Value(L"path"), Documents() + L"/clips");
    Form->SaveVodDirectoryEdit->SetFocus();
    Drv->TypeText(L"x");
    EXPECT_EQ(Form->SaveVodDirectoryEdit->Text(), Documents() + L"/clips");
}

TEST_F(MainFormTest, ChoicesWriteTheirSettingsWhenPickedNotWhenSetInCode)
{
    ShowAndActivate();
    Form->AviVodComboBox->SetItemIndex(3);
    Form->DownloadVodComboBox->SetItemIndex(2);
    EXPECT_FALSE(SettingsKeyExists()) << "setting ItemIndex raises no event";

    Form->AviVodComboBox->SetFocus();
    Drv->PressKey(VK_DOWN);
    EXPECT_EQ(Form->AviVodComboBox->ItemIndex(), 4);
    EXPECT_EQ(Value(L"format"), L"4");

    Form->DownloadVodComboBox->SetFocus();
    Drv->PressKey(VK_DOWN);
    EXPECT_EQ(Value(L"download"), L"3");
    Drv->PressKey(VK_HOME);
    EXPECT_EQ(Form->DownloadVodComboBox->ItemIndex(), 0);
    EXPECT_FALSE(HasValue(L"download")) << "\"Auto\" deletes the value";
    EXPECT_EQ(Form->ExampleMemo->Text(), OwnSiteExampleAddress()) << "the change handler ran";
}

TEST_F(MainFormTest, RowButtonsAndPopupItemsFollowTheSelectedEntry)
{
    ShowAndActivate();
    struct TCase {
        const char* what;
        Integer status;
        const wchar_t* title;
        bool start, stop, remove, play, browse;
    } cases[] = {
        {"ready", status_ready, L"A", true, false, true, false, false},
        {"downloading", status_downloading, L"A", false, true, false, false, false},
        {"finished", status_finished, L"A", false, false, true, true, true},
        {"no title", status_ready, L"", false, false, false, false, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        item_list.Clear();
        Form->clear_list();
        const TItemKey key = item_list.add_item(site_velmora, L"http://velmora.net/video/1");
        item_list.Update(key, [&](TItem& it) {
            it.title = c.title;
            it.status = c.status;
        });
        TItem item;
        ASSERT_TRUE(item_list.GetByKey(key, item));
        Form->add_list_row(item);
        const std::pair<TVodToolButton*, TMenuItem*> pairs[] = {
            {Form->StartVodToolButton, Form->Start1}, {Form->StopVodToolButton, Form->Stop1},
            {Form->RemoveVodToolButton, Form->Remove1}, {Form->PlayVodToolButton, Form->Play1},
            {Form->OpenVodToolButton, Form->Open1}};
        const bool want[] = {c.start, c.stop, c.remove, c.play, c.browse};
        for (size_t i = 0; i < 5; ++i) {
            EXPECT_EQ(pairs[i].first->Enabled(), want[i]) << i;
            EXPECT_EQ(pairs[i].second->Enabled(), want[i]) << i;
        }
    }
    item_list.Clear();
    Form->clear_list();
    Form->enable_buttons();
    for (TVodToolButton* b : {Form->StartVodToolButton, Form->StopVodToolButton, Form->RemoveVodToolButton,
                              Form->PlayVodToolButton, Form->OpenVodToolButton})
        EXPECT_FALSE(b->Enabled());
}

// The pixels of a window, 0xRRGGBB.
struct TShot {
    std::vector<uint32_t> Px;
    int W = 0, H = 0;
    uint32_t At(int x, int y) const { return Px[size_t(y) * size_t(W) + size_t(x)] & 0xFFFFFF; }
    // The top-left corner of the pixels of this colour inside r; (-1, -1) for none.
    TPoint First(uint32_t rgb, const TRect& r) const
    {
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                if (At(x, y) == rgb) return TPoint{x, y};
        return TPoint{-1, -1};
    }
    int Count(uint32_t rgb, const TRect& r) const
    {
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) n += At(x, y) == rgb;
        return n;
    }
};

TEST_F(MainFormTest, HoveringARowButtonLiftsItsGlyphOnTheWindowsFace)
{
    ShowAndActivate();
    const TItemKey key = item_list.add_item(site_velmora, L"http://velmora.net/video/1");
    item_list.Update(key, [](TItem& it) {
        it.title = L"Ready";
        it.status = status_ready;
    });
    TItem item;
    ASSERT_TRUE(item_list.GetByKey(key, item));
    Form->add_list_row(item);
    TVodToolButton* b = Form->StartVodToolButton;
    ASSERT_TRUE(b->Enabled());
    const TRect r = b->BoundsRect();
    const uint32_t outline = 0x146414;  // the start glyph's dark green edge
    auto capture = [&] {
        TShot s;
        Drv->Pump();
        EXPECT_TRUE(Drv->CaptureWindow(Form->BottomVodPanel->Handle(), s.Px, s.W, s.H));
        return s;
    };
    const TShot rest = capture();
    const TPoint glyph = rest.First(outline, r);
    ASSERT_NE(glyph.X, -1) << "the glyph is drawn";
    EXPECT_EQ(rest.At(r.Left + 2, r.Top + 2), kFace);
    EXPECT_EQ(rest.Count(0x808080, r), 0) << "no shade at rest";

    Drv->MouseMoveWindow(Form->BottomVodPanel->Handle(), TPoint{r.Left + 27, r.Top + 45});
    const TShot hot = capture();
    ASSERT_TRUE(b->MouseInControl());
    EXPECT_EQ(hot.First(outline, r), (TPoint{glyph.X - 1, glyph.Y - 1})) << "the glyph lifts by one";
    EXPECT_GT(hot.Count(0x808080, r), 20) << "over its grey shade";
    EXPECT_EQ(hot.At(r.Left + 2, r.Top + 2), kFace) << "the hot face keeps the window's colour";

    Drv->MouseMoveWindow(Form->BottomVodPanel->Handle(), TPoint{r.Right + 200, r.Top + 45});
    EXPECT_EQ(capture().First(outline, r), glyph);
}

TEST_F(MainFormTest, LookupEditsKeepNoHistoryInTheStoreOrAnyFile)
{
    const std::string cwd = MakeFolder("cwd");
    const fs::path before = fs::current_path();
    fs::current_path(cwd);
    ShowAndActivate();
    Form->LinkVodLUEdit->SetFocus();
    Drv->TypeText(L"http://velmora.net/video/9");
    _proxyForm->Show();
    _proxyForm->ServerVodLUEdit->SetEnabled(true);
    _proxyForm->ServerVodLUEdit->SetFocus();
    Drv->TypeText(L"proxy.example");
    _proxyForm->PortVodLUEdit->SetEnabled(true);
    _proxyForm->PortVodLUEdit->SetFocus();
    EXPECT_EQ(Form->LinkVodLUEdit->Lookup()->DisplayList()->Count(), 0);
    EXPECT_EQ(_proxyForm->ServerVodLUEdit->Lookup()->DisplayList()->Count(), 0);
    // The edits save what they keep when their windows go.
    delete _proxyForm;
    _proxyForm = nullptr;
    delete _mainForm;
    Form = nullptr;
    fs::current_path(before);

    EXPECT_TRUE(fs::is_empty(cwd)) << "no history file in the working folder";
    const std::string ini = UTF8Encode(ChangeFileExt(ParamStr(0), L".INI"));
    EXPECT_FALSE(fs::exists(ini)) << ini;
    // The registry store holds the settings key alone (the key itself does
    // not exist: nothing was chosen).
    EXPECT_FALSE(SettingsKeyExists());
    std::ifstream store(Temp().File("config/velmora/registry/HKEY_CURRENT_USER.reg"));
    const std::string text((std::istreambuf_iterator<char>(store)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text.find("LUEdit"), std::string::npos) << text;
    EXPECT_EQ(text.find("Values"), std::string::npos) << text;
}

}  // namespace
