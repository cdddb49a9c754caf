// The main window on the headless backend: settings through its controls,
// the clipboard and the link box, and the road of own-site links from Add to
// a finished file through the local server.
#include "app/MainWindow.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "app/SiteConstants.h"
#include "app/InfoWindow.h"
#include "app/WaitWindow.h"
#include "app/ProxyWindow.h"
#include "controls/chrome/VodMenus.h"
#include "controls/chrome/VodPanel.h"
#include "controls/chrome/VodToolButton.h"
#include "controls/edits/VodCombo.h"
#include "controls/edits/VodDirectoryEdit.h"
#include "controls/edits/vodlued.h"
#include "controls/foundation/ExeInfo.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Menus.h"
#include "platform/os/Shell.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Headless.h"
#include "tests/app/AppServer.h"
#include "tests/app/MainFormFixture.h"

namespace {

TEST_F(MainFormTest, WindowShapeAndCaptionFromTheBuiltExecutable)
{
    EXPECT_EQ(Form->ClientWidth(), 613);
    EXPECT_EQ(Form->ClientHeight(), 557);
    EXPECT_EQ(Form->BorderStyle(), bsSingle);
    EXPECT_EQ(Form->BorderIcons(), (TBorderIcons{biSystemMenu, biMinimize}));
    EXPECT_EQ(Application->MainForm(), Form);
    EXPECT_EQ(Form->MainListView->Columns()->Count(), 3);
    EXPECT_EQ(Form->MainListView->Columns()->Items(2)->Caption(), L"Progress");
    EXPECT_EQ(Form->MainListView->Columns()->Items(2)->Alignment(), taCenter);
    EXPECT_EQ(Form->DownloadVodComboBox->Items()->Count(), 41);
    EXPECT_EQ(Form->AviVodComboBox->Items()->Count(), 11);
    EXPECT_EQ(Form->Color(), TColor(9934823));
    EXPECT_EQ(Form->LinkVodLUEdit->Text(), L"  Copy web page address (URL) here");
    EXPECT_EQ(_proxyForm->PasswordVodLUEdit->PasswordChar(), L'*');
    // The link box on top, the folder and choices below it, the list under
    // both, the side buttons on the right.
    EXPECT_EQ(Form->TopVodPanel->Top(), 0);
    EXPECT_EQ(Form->SecondVodPanel->Top(), Form->TopVodPanel->Height());
    EXPECT_EQ(Form->BottomVodPanel->Top(), Form->TopVodPanel->Height() + Form->SecondVodPanel->Height());
    EXPECT_EQ(Form->RightVodPanel->Left() + Form->RightVodPanel->Width(), 613);

    Form->ExeInfo->GetVersionInfoOfApp(UTF8ToString(std::string(VEL_BINARY_DIR) + "/app/velmora_d"));
    ShowAndActivate();
    EXPECT_EQ(Form->Caption(), L"Velmora Video Downloader  2.4.0.0");
    EXPECT_EQ(Form->ExampleMemo->Text(), OwnSiteExampleAddress());
}

TEST_F(MainFormTest, FirstRunThenAStoredSettingMakesTheNextActivationChooseAvi)
{
    ShowAndActivate();
    EXPECT_EQ(Form->AviVodComboBox->ItemIndex(), 0);
    EXPECT_EQ(Form->DownloadVodComboBox->ItemIndex(), 0);
    EXPECT_EQ(Form->SaveVodDirectoryEdit->Text(), Documents());
    EXPECT_FALSE(SettingsKeyExists());

    Form->AutoCheckBox->SetChecked(true);  // the box's click writes "auto"
    EXPECT_EQ(Value(L"auto"), L"1");
    Reactivate();
    EXPECT_EQ(Form->AviVodComboBox->ItemIndex(), 1);
    Form->AutoCheckBox->SetChecked(false);
    EXPECT_FALSE(HasValue(L"auto"));
    Reactivate();
    EXPECT_FALSE(Form->AutoCheckBox->Checked());
}

TEST_F(MainFormTest, FolderEditRefusesAMissingFolderAndStoresAnother)
{
    const String other = UTF8ToString(MakeFolder("videos"));
    ShowAndActivate();
    Form->SaveVodDirectoryEdit->SetText(other);
    EXPECT_EQ(Value(L"path"), other);
    Form->SaveVodDirectoryEdit->SetText(other + L"/missing");
    EXPECT_EQ(Form->SaveVodDirectoryEdit->Text(), other);
    EXPECT_EQ(Value(L"path"), other);
    Form->SaveVodDirectoryEdit->SetText(Documents());
    EXPECT_FALSE(HasValue(L"path"));
}

TEST_F(MainFormTest, StoredProxyIsShownWrittenBackAndUsed)
{
    CreateKey();
    write_reg_string(kSettingsKey, L"proxy", L"1");
    write_reg_string(kSettingsKey, L"server", L"127.0.0.1");
    write_reg_string(kSettingsKey, L"port", L"3128");
    write_reg_string(kSettingsKey, L"username", L"joe");
    write_reg_string(kSettingsKey, L"password", L"pw");
    ShowAndActivate();
    EXPECT_TRUE(_proxyForm->ProxyCheckBox->Checked());
    EXPECT_TRUE(_proxyForm->ServerVodLUEdit->Enabled());
    EXPECT_EQ(_proxyForm->PortVodLUEdit->Text(), L"3128");
    EXPECT_EQ(Value(L"password"), L"pw");
    const THttpSettings s = Form->CurrentDownloadSettings().http;
    EXPECT_TRUE(s.useProxy);
    EXPECT_EQ(s.proxyServer, L"127.0.0.1");
    EXPECT_EQ(s.proxyPort, 3128);
    EXPECT_EQ(s.proxyUsername, L"joe");
    EXPECT_EQ(s.proxyPassword, L"pw");

    _proxyForm->ProxyCheckBox->SetChecked(false);
    EXPECT_FALSE(HasValue(L"proxy"));
    EXPECT_FALSE(HasValue(L"password"));
    EXPECT_FALSE(Form->CurrentHttpSettings().useProxy);
}

TEST_F(MainFormTest, ActivationTakesOnlyShortHttpLinksFromTheClipboard)
{
    ShowAndActivate();
    const std::wstring longLink = L"http://" + std::wstring(248, L'a');  // 255 characters
    struct TCase {
        std::wstring clip;
        bool taken;
    } cases[] = {
        {L"http://velmora.net/video/1", true},
        {L"https://velmora.net/video/1", false},
        {L"HTTP://velmora.net/video/1", false},
        {L"see http://velmora.net/video/1", false},
        {longLink, false},
        {longLink.substr(0, 254), true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(UTF8Encode(c.clip.substr(0, 40)));
        Form->LinkVodLUEdit->SetText(L"before");
        Clipboard()->SetAsText(c.clip);
        Reactivate();
        EXPECT_EQ(Form->LinkVodLUEdit->Text(), c.taken ? c.clip : L"before");
    }
    // Giving the link box the focus empties it, also of a taken link.
    Form->LinkVodLUEdit->SetText(L"http://velmora.net/video/1");
    Form->MainListView->SetFocus();
    Form->LinkVodLUEdit->SetFocus();
    EXPECT_EQ(Form->LinkVodLUEdit->Text(), L"");
    // While it has the focus the edit writes in its focus colour (the
    // window's text colour, black); the black of the handler stays after.
    EXPECT_EQ(ColorToRGB(Form->LinkVodLUEdit->Font()->Color()), ColorToRGB(clBlack));
    Form->MainListView->SetFocus();
    EXPECT_EQ(Form->LinkVodLUEdit->Font()->Color(), clBlack);
}

class MainFormRoadTest : public MainFormTest {
protected:
    void SetUp() override
    {
        MainFormTest::SetUp();
        ASSERT_TRUE(Own.Started()) << Own.Server().Error();
        Form->HttpBaseSettings = Own.Settings();
        Folder = UTF8ToString(MakeFolder("save"));
        ShowAndActivate();
        Form->SaveVodDirectoryEdit->SetText(Folder);
    }
    String VideoLink(const std::string& query)
    {
        return UTF8ToString("http://" + UTF8Encode(OwnSiteHost()) + "/video/7" + query);
    }
    TOwnSiteServer Own;
    String Folder;
};

TEST_F(MainFormRoadTest, EnterAddsTheLinkAndStartDownloadsIt)
{
    AddLink(VideoLink("?title=Harbour+Lights"));
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Cell(0, 0), L"Harbour Lights");
    EXPECT_EQ(Cell(0, 1), L"98 Kb");
    EXPECT_EQ(Cell(0, 2), L"0%");
    EXPECT_EQ(Entry(0).status, status_ready);
    EXPECT_TRUE(Form->StartVodToolButton->Enabled());
    EXPECT_FALSE(Form->PlayVodToolButton->Enabled());
    EXPECT_TRUE(Form->Start1->Enabled());

    const auto log = Own.Log();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[0].rfind("GET /index.php|cookie=-|ua=Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1)", 0), 0u);
    EXPECT_EQ(log[1].rfind("GET /video/7", 0), 0u);
    EXPECT_NE(log[1].find("cookie=velmora_session="), std::string::npos);

    Form->StartVodToolButtonClick(Form->StartVodToolButton);
    EXPECT_TRUE(Form->StopVodToolButton->Enabled());
    EXPECT_FALSE(Form->RemoveVodToolButton->Enabled());
    ASSERT_TRUE(WaitForProgress(0, L"100%"));
    // The buttons follow once the thread's last queued call has run.
    ASSERT_TRUE(PumpUntil(
        [&] { return Entry(0).status == status_finished && Form->PlayVodToolButton->Enabled(); }));
    EXPECT_TRUE(Form->PlayVodToolButton->Enabled());
    EXPECT_TRUE(Form->OpenVodToolButton->Enabled());
    EXPECT_TRUE(Form->RemoveVodToolButton->Enabled());
    EXPECT_FALSE(Form->StartVodToolButton->Enabled());
    EXPECT_TRUE(Temp().Exists("save/Harbour Lights.flv"));
}

TEST_F(MainFormRoadTest, AutostartStartsTheListedEntryAndStopMakesItReady)
{
    Form->AutoCheckBox->SetChecked(true);
    AddLink(VideoLink("?title=Slow+One&media=slow&size=400000&delay=40&block=4096"));
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Entry(0).status, status_downloading);
    ASSERT_TRUE(PumpUntil([&] { return Cell(0, 2) != L"0%"; }));  // progress without a click

    Form->StopVodToolButtonClick(Form->StopVodToolButton);
    EXPECT_EQ(Entry(0).status, status_ready);
    EXPECT_TRUE(Form->StartVodToolButton->Enabled());
    EXPECT_FALSE(Form->StopVodToolButton->Enabled());
    ASSERT_TRUE(PumpUntil([] { return RunningDownloadThreads() == 0; }));
    // The row keeps the final figure of what arrived; no file is left.
    EXPECT_NE(Cell(0, 2), L"0%");
    EXPECT_FALSE(Temp().Exists("save/Slow One.flv"));
    EXPECT_TRUE(std::filesystem::is_empty(Temp().File("save")));
}

TEST_F(MainFormRoadTest, RemoveTakesTheSelectedEntryAndItsRow)
{
    AddLink(VideoLink("?title=First"));
    AddLink(VideoLink("?title=Second&x=2"));
    AddLink(VideoLink("?title=Third&x=3"));
    ASSERT_EQ(Rows(), 3);
    Form->MainListView->SetItemIndex(1);
    Form->RemoveVodToolButtonClick(Form->RemoveVodToolButton);
    ASSERT_EQ(Rows(), 2);
    EXPECT_EQ(Cell(0, 0), L"First");
    EXPECT_EQ(Cell(1, 0), L"Third");
    EXPECT_EQ(Entry(1).title, L"Third");
    EXPECT_EQ(Entry(1).id, 1);
    Form->MainListView->SetItemIndex(-1);
    Form->RemoveVodToolButtonClick(Form->RemoveVodToolButton);  // nothing selected: nothing happens
    EXPECT_EQ(Rows(), 2);
}

TEST_F(MainFormRoadTest, WaitWindowStopEndsTheWaitAndDropsTheEntry)
{
    AddLink(VideoLink("?title=Listed"));
    ASSERT_EQ(Rows(), 1);
    Form->MainListView->SetItemIndex(0);

    // While the page hangs, the wait window shows and the list is locked;
    // its Stop ends the wait at once.
    bool shown = false, addOff = false, startOff = false, removeOff = false;
    std::thread clicker([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        TThread::Queue(nullptr, [&] {
            shown = _waitForm->Visible();
            addOff = !Form->AddVodToolButton->Enabled();
            startOff = !Form->StartVodToolButton->Enabled();
            removeOff = !Form->RemoveVodToolButton->Enabled();
            _waitForm->Stop1VodToolButtonClick(_waitForm->Stop1VodToolButton);
        });
    });
    const auto t0 = std::chrono::steady_clock::now();
    AddLink(UTF8ToString("http://" + UTF8Encode(OwnSiteHost()) + "/hang?video=1"));
    const auto waited = std::chrono::steady_clock::now() - t0;
    clicker.join();
    EXPECT_TRUE(shown);
    EXPECT_TRUE(addOff);
    EXPECT_TRUE(startOff);
    EXPECT_TRUE(removeOff);
    EXPECT_LT(waited, std::chrono::seconds(5));
    EXPECT_FALSE(_waitForm->Visible());
    EXPECT_EQ(GetActiveWindow(), Form->Handle()) << "the main window is active again";
    EXPECT_EQ(Rows(), 1);
    EXPECT_EQ(item_list.Count(), 1);
    EXPECT_TRUE(Form->AddVodToolButton->Enabled());
}


// The message box on screen now (a modal form), if any.
TCustomForm* ShownBox()
{
    for (Integer i = 0; i < Screen->FormCount(); ++i)
        if (Screen->Forms(i)->Modal() && Screen->Forms(i)->Visible()) return Screen->Forms(i);
    return nullptr;
}

String BoxText(TCustomForm* box)
{
    for (Integer i = 0; i < box->ControlCount(); ++i)
        if (auto* l = dynamic_cast<TLabel*>(box->Controls(i))) return l->Caption();
    return String();
}

// A link that gives no entry is answered with the refusal (and the reason
// when the page could not be read), never dropped without a word; the
// wait window's Stop stays silent.
TEST_F(MainFormRoadTest, LinksThatGiveNoEntryAreAnsweredWithTheRefusal)
{
    const String refusal = L"No video to download or link already in list";
    const struct {
        const char* query;
        String text;
    } cases[] = {
        {"/video/7?sources=0", refusal},                                  // no media address
        {"/video/7?title=%3F%3F", refusal},                               // empty after cleaning
        {"/status/404?video=1", refusal + L"\nThe site answered with HTTP 404."},  // the page failed
        {"/body/40000000?video=1", refusal + L"\nThe page is larger than 32 MiB."},
    };
    std::vector<String> boxes;
    TCustomForm* handled = nullptr;
    Application->OnIdle = [&](TObject*) {
        TCustomForm* box = ShownBox();
        if (!box || box == handled) return;
        handled = box;
        boxes.push_back(BoxText(box));
        WmKeyInput(VK_RETURN, true);
        WmKeyInput(VK_RETURN, false);
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.query);
        boxes.clear();
        AddLink(UTF8ToString("http://" + UTF8Encode(OwnSiteHost()) + c.query));
        EXPECT_EQ(Rows(), 0);
        EXPECT_EQ(item_list.Count(), 0);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0], c.text);
    }
    Application->OnIdle = nullptr;
}

TEST_F(MainFormRoadTest, BrowseDoesNotWaitForTheFileManagersHelper)
{
    const std::string marker = MakeFolder("browse") + "/shown";
    SetShellShowItemsCommand({L"/bin/sh", L"-c", UTF8ToString("sleep 2; echo \"$1\" > '" + marker + "'"), L"sh"});
    const TItemKey key = item_list.add_item(site_velmora, L"http://velmora.net/video/1");
    item_list.Update(key, [&](TItem& it) {
        it.title = L"Shown";
        it.filename = L"Shown.flv";
        it.saveto = Folder;
        it.status = status_finished;
    });
    TItem item;
    ASSERT_TRUE(item_list.GetByKey(key, item));
    Form->add_list_row(item);
    ASSERT_TRUE(Form->OpenVodToolButton->Enabled());

    const auto t0 = std::chrono::steady_clock::now();
    Form->OpenVodToolButtonClick(Form->OpenVodToolButton);
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(500));
    EXPECT_TRUE(PumpUntil([] { return RunningBrowseThreads() == 0; }, 10000));
    SetShellShowItemsCommand({});
    std::ifstream in(marker);
    std::string shown;
    std::getline(in, shown);
    EXPECT_NE(shown.find("Shown.flv"), std::string::npos) << shown;
}

}  // namespace
