// The main window's handlers: activation and settings, the road of a link
// from Add to a listed entry, the row buttons and the side buttons.
#include "app/MainWindow.h"

#include <atomic>

#include "app/SiteConstants.h"
#include "app/PageFetch.h"
#include "app/WaitWindow.h"
#include "app/ProxyWindow.h"
#include "controls/chrome/VodMenus.h"
#include "controls/chrome/VodPanel.h"
#include "controls/chrome/VodToolButton.h"
#include "controls/edits/VodCombo.h"
#include "controls/edits/VodDirectoryEdit.h"
#include "controls/edits/vodlued.h"
#include "controls/foundation/ExeInfo.h"
#include "platform/base/Files.h"
#include "platform/base/SysUtils.h"
#include "platform/os/Shell.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Menus.h"
#include "platform/ui/StdCtrls.h"

// What the download threads report, carried out on the user-interface
// thread. The window detaches it when it goes, so a thread that outlives the
// window reports into nothing.
class T_mainForm::TView : public IDownloadView {
public:
    explicit TView(T_mainForm* form) : FForm(form) {}
    void Detach() { FForm = nullptr; }
    void SetRowTexts(TItemKey key, const String& sizeText, const String& progressText) override
    {
        if (FForm) FForm->SetRowTexts(key, sizeText, progressText);
    }
    void EnableButtons() override
    {
        if (FForm) FForm->enable_buttons();
    }
    void ShowConverterMissing() override
    {
        if (FForm)
            MessageBox(FForm->Handle(), kConverterMissingMessage, kConverterMissingCaption,
                       MB_OK | MB_ICONERROR);
    }

private:
    T_mainForm* FForm;
};

T_mainForm::~T_mainForm()
{
    if (FView) FView->Detach();
    if (FFetch) FFetch->Stop();
    if (_mainForm == this) _mainForm = nullptr;
}

// ---------------------------------------------------------------------------
// Activation and settings

void T_mainForm::FormActivate(TObject*)
{
    my_documents_path = MyDocumentsPath();
    ReadSettings(*this, my_documents_path);
    MainListView->Columns()->Items(0)->SetWidth(335);
    DownloadVodComboBoxChange(this);
    enable_buttons();
}

void T_mainForm::set_language(Integer id)
{
    language_id = id;
    SetCaption(ExeInfo->ProductName() + L"  " + ExeInfo->ProductVersion());
    if (id != kDefaultLanguage) write_reg_integer(kSettingsKey, L"language", id);
}

void T_mainForm::SelectFormat(Integer index) { AviVodComboBox->SetItemIndex(index); }

void T_mainForm::SelectSite(Integer index) { DownloadVodComboBox->SetItemIndex(index); }

void T_mainForm::TickAutostart() { AutoCheckBox->SetChecked(true); }

void T_mainForm::SetSaveFolder(const String& folder)
{
    if (SaveVodDirectoryEdit->Text() != folder) SaveVodDirectoryEdit->SetText(folder);
}

void T_mainForm::SetProxyServer(const String& text)
{
    if (_proxyForm) _proxyForm->ServerVodLUEdit->SetText(text);
}

void T_mainForm::SetProxyPort(const String& text)
{
    if (_proxyForm) _proxyForm->PortVodLUEdit->SetText(text);
}

void T_mainForm::SetProxyUsername(const String& text)
{
    if (_proxyForm) _proxyForm->UsernameVodLUEdit->SetText(text);
}

void T_mainForm::SetProxyPassword(const String& text)
{
    if (_proxyForm) _proxyForm->PasswordVodLUEdit->SetText(text);
}

void T_mainForm::TickProxy()
{
    if (_proxyForm) _proxyForm->ProxyCheckBox->SetChecked(true);
}

void T_mainForm::ProxyALCheckBoxClick()
{
    if (_proxyForm) _proxyForm->ProxyALCheckBoxClick(this);
}

void T_mainForm::AviVodComboBoxClick(TObject*) { SaveFormatChoice(AviVodComboBox->ItemIndex()); }

void T_mainForm::DownloadVodComboBoxClick(TObject*) { SaveSiteChoice(DownloadVodComboBox->ItemIndex()); }

void T_mainForm::AutoCheckBoxClick(TObject*) { SaveAutostart(AutoCheckBox->Checked()); }

void T_mainForm::VodDirectoryEdit1Change(TObject*)
{
    if (FUndoingFolder) return;
    const String text = SaveVodDirectoryEdit->Text();
    if (!DirectoryExists(text)) {
        // Undo the change: the edit shows the last folder it accepted.
        FUndoingFolder = true;
        SaveVodDirectoryEdit->SetText(FFolderShown);
        FUndoingFolder = false;
        return;
    }
    FFolderShown = text;
    SaveFolder(text, MyDocumentsPath());
}

void T_mainForm::disable_all()
{
    for (TControl* c : std::initializer_list<TControl*>{AddVodToolButton, SaveVodDirectoryEdit,
                                                        AviVodComboBox, LinkVodLUEdit,
                                                        DownloadVodComboBox})
        c->SetEnabled(false);
    if (_proxyForm)
        for (TControl* c : std::initializer_list<TControl*>{
                 _proxyForm->ProxyCheckBox, _proxyForm->ServerVodLUEdit, _proxyForm->PortVodLUEdit,
                 _proxyForm->UsernameVodLUEdit, _proxyForm->PasswordVodLUEdit})
            c->SetEnabled(false);
}

void T_mainForm::enable_all()
{
    for (TControl* c : std::initializer_list<TControl*>{AddVodToolButton, SaveVodDirectoryEdit,
                                                        AviVodComboBox, LinkVodLUEdit,
                                                        DownloadVodComboBox})
        c->SetEnabled(true);
    if (_proxyForm)
        for (TControl* c : std::initializer_list<TControl*>{
                 _proxyForm->ProxyCheckBox, _proxyForm->ServerVodLUEdit, _proxyForm->PortVodLUEdit,
                 _proxyForm->UsernameVodLUEdit, _proxyForm->PasswordVodLUEdit})
            c->SetEnabled(true);
}

THttpSettings T_mainForm::CurrentHttpSettings() const
{
    THttpSettings s = HttpBaseSettings;
    if (_proxyForm && _proxyForm->ProxyOn()) {
        const TProxyValues v = _proxyForm->Values();
        s.useProxy = true;
        s.proxyServer = Trim(v.server);
        s.proxyPort = StrToIntDef(Trim(v.port), 0);
        s.proxyUsername = v.username;
        s.proxyPassword = v.password;
    }
    return s;
}

TDownloadSettings T_mainForm::CurrentDownloadSettings() const
{
    TDownloadSettings d = DownloadBaseSettings;
    d.http = CurrentHttpSettings();
    return d;
}

// ---------------------------------------------------------------------------
// The link box and Add

void T_mainForm::paste_clipboard_link(TObject*)
{
    String text;
    try {
        text = Clipboard()->AsText();
    } catch (const Exception&) {
        return;
    }
    if (!text.empty() && text.size() <= 254 && text.compare(0, 7, L"http://") == 0)
        LinkVodLUEdit->SetText(text);
}

void T_mainForm::LinkVodLUEditEnter(TObject*)
{
    LinkVodLUEdit->SetText(L"");
    LinkVodLUEdit->Font()->SetColor(clBlack);
}

void T_mainForm::LinkVodLUEditKeyDown(TObject* Sender, Word& Key, TShiftState)
{
    if (Key == 13) AddVodToolButtonClick(Sender);
}

void T_mainForm::ErrorBox(const String& text) { MessageDlg(text, mtError, TMsgDlgButtons{mbOK}, 0); }

void T_mainForm::StopFetch()
{
    if (FFetch) FFetch->Stop();
}

void T_mainForm::AddVodToolButtonClick(TObject*)
{
    // One link at a time: the entry of a running fetch must stay the last.
    if (FWaiting) return;

    std::vector<String> listed;
    for (const TItem& it : item_list.Snapshot()) listed.push_back(it.link);
    const TLinkRecognition r = RecognizeLink(LinkVodLUEdit->Text(), listed);
    LinkVodLUEdit->SetText(r.link);
    for (const String& m : r.messages) ErrorBox(m);
    if (!r.accepted) return;

    const TItemKey key = item_list.add_item(r.server, r.link);
    if (r.server != site_velmora) {
        // No other site has a page fetch: the title stays empty and the
        // entry goes again without a message.
        item_list.Remove(key);
        return;
    }

    FWaiting = true;
    AddVodToolButton->SetEnabled(false);
    enable_buttons();
    auto fetch = StartVelmoraFetch(r.link, CurrentHttpSettings(), [] {});
    FFetch = fetch;
    Application->ProcessMessages();
    if (_waitForm) _waitForm->Show();
    // A real message wait: the fetch's end (or the wait window's Stop)
    // wakes it.
    while (!fetch->Done() && !fetch->Stopped() && !Application->Terminated())
        Application->HandleMessage();
    FFetch.reset();
    FWaiting = false;
    if (_waitForm) _waitForm->Hide();
    AddVodToolButton->SetEnabled(true);
    Application->ProcessMessages();

    if (!ListFetchedEntry(item_list, key, *fetch, AviVodComboBox->ItemIndex(),
                          SaveVodDirectoryEdit->Text())) {
        enable_buttons();
        // The user is told why nothing was listed, unless they stopped it.
        if (fetch->Done() && !fetch->Stopped() && !Application->Terminated()) {
            const String reason = fetch->Result().error;
            ErrorBox(reason.empty() ? String(kNoVideoMessage) : String(kNoVideoMessage) + L"\n" + reason);
        }
        return;
    }
    TItem item;
    if (!item_list.GetByKey(key, item)) return;
    add_list_row(item);
    if (AutoCheckBox->Checked()) StartVodToolButtonClick(StartVodToolButton);
}

// ---------------------------------------------------------------------------
// The list and its buttons

Integer T_mainForm::SelectedIndex() const
{
    TListItem* row = MainListView->Selected();
    return row ? row->Index() : -1;
}

void T_mainForm::clear_list() { MainListView->Items()->Clear(); }

void T_mainForm::add_list_row(const TItem& item)
{
    TListItem* row = MainListView->Items()->Add();
    row->SetCaption(item.title);
    row->SubItems()->Add(item.size == -1 ? String(L"chunked") : FmtFileSize(item.size));
    row->SubItems()->Add(L"0%");
    MainListView->SetItemIndex(row->Index());
    if (MainListView->CanFocus()) MainListView->SetFocus();
    enable_buttons();
}

void T_mainForm::SetRowTexts(TItemKey key, const String& sizeText, const String& progressText)
{
    const Integer i = item_list.IndexOfKey(key);
    if (i < 0 || i >= MainListView->Items()->Count()) return;
    TListItem* row = MainListView->Items()->Item(i);
    if (!sizeText.empty()) row->SubItems()->SetStrings(0, sizeText);
    if (!progressText.empty()) row->SubItems()->SetStrings(1, progressText);
}

void T_mainForm::enable_buttons()
{
    bool start = false, stop = false, remove = false, play = false, browse = false;
    TItem item;
    const Integer i = SelectedIndex();
    if (i >= 0 && item_list.Get(i, item) && !item.title.empty()) {
        remove = item.status != status_downloading;
        start = item.status == status_ready;
        stop = item.status == status_downloading;
        play = browse = item.status == status_finished;
    }
    if (FWaiting) start = remove = false;  // the list stays as it is while a fetch runs
    StartVodToolButton->SetEnabled(start);
    StopVodToolButton->SetEnabled(stop);
    RemoveVodToolButton->SetEnabled(remove);
    PlayVodToolButton->SetEnabled(play);
    OpenVodToolButton->SetEnabled(browse);
    Start1->SetEnabled(start);
    Stop1->SetEnabled(stop);
    Remove1->SetEnabled(remove);
    Play1->SetEnabled(play);
    Open1->SetEnabled(browse);
}

void T_mainForm::MainListViewChange(TObject*) { enable_buttons(); }

void T_mainForm::StartVodToolButtonClick(TObject*)
{
    const Integer i = SelectedIndex();
    if (i < 0 || FWaiting) return;
    if (!FView) FView = std::make_shared<TView>(this);
    StartDownload(item_list, item_list.KeyAt(i), FView, CurrentDownloadSettings());
    enable_buttons();
    Application->ProcessMessages();
}

void T_mainForm::StopVodToolButtonClick(TObject*)
{
    const Integer i = SelectedIndex();
    if (i < 0) return;
    StopDownload(item_list, item_list.KeyAt(i));
    enable_buttons();
}

void T_mainForm::RemoveVodToolButtonClick(TObject*)
{
    const Integer i = SelectedIndex();
    if (i < 0 || FWaiting) return;
    TItem item;
    if (!item_list.Get(i, item) || item.status == status_downloading) return;
    item_list.RemoveAt(i);
    MainListView->Items()->Delete(i);
    MainListView->Invalidate();
    enable_buttons();
}

namespace {

// The entry's file: the save folder and the name, without doubled
// separators.
String EntryPath(const TItem& item)
{
    String path = item.saveto + L"/" + item.filename;
    for (size_t p; (p = path.find(L"//")) != String::npos;) path.erase(p, 1);
    return path;
}

}  // namespace

void T_mainForm::run_and_wait(const String& file, const String& parameters, Integer show)
{
    SHELLEXECUTEINFO info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.hwnd = Handle();
    info.lpFile = file.c_str();
    info.lpParameters = parameters.c_str();
    info.nShow = show;
    if (!ShellExecuteEx(&info) || !info.hProcess) return;
    while (WaitForSingleObject(info.hProcess, 500) == WAIT_TIMEOUT) Application->ProcessMessages();
    CloseHandle(info.hProcess);
}

void T_mainForm::PlayVodToolButtonClick(TObject*)
{
    TItem item;
    if (!item_list.Get(SelectedIndex(), item)) return;
    run_and_wait(EntryPath(item), L"", SW_SHOWNORMAL);
}

namespace {

std::atomic<int> gBrowseThreads{0};

// Asks the file manager to show a file. Its helper may take seconds to
// answer (or time out), so it runs off the user-interface thread.
class TBrowseThread : public TThread {
public:
    explicit TBrowseThread(const String& path) : TThread(true), FPath(path) { ++gBrowseThreads; }
    ~TBrowseThread() override { --gBrowseThreads; }

protected:
    void Execute() override { ShowFileInFileManager(FPath); }

private:
    String FPath;
};

}  // namespace

Integer RunningBrowseThreads() { return gBrowseThreads; }

void T_mainForm::OpenVodToolButtonClick(TObject*)
{
    TItem item;
    if (!item_list.Get(SelectedIndex(), item)) return;
    auto* t = new TBrowseThread(EntryPath(item));
    t->SetFreeOnTerminate(true);
    t->Start();
}

void T_mainForm::OpenLabelClick(TObject*)
{
    const String folder = SaveVodDirectoryEdit->Text();
    ShellExecute(Handle(), L"open", folder.c_str(), nullptr, nullptr, SW_SHOWDEFAULT);
}

void T_mainForm::DownloadVodComboBoxChange(TObject*) { ExampleMemo->SetText(OwnSiteExampleAddress()); }

// ---------------------------------------------------------------------------
// Side buttons and closing

void T_mainForm::HomepageVodToolButtonClick(TObject*)
{
    ShellExecute(Handle(), L"open", kHomePageAddress, nullptr, nullptr, SW_SHOWDEFAULT);
}

void T_mainForm::UpdateVodToolButtonClick(TObject*)
{
    ShellExecute(Handle(), L"open", kUpdatePageAddress, nullptr, nullptr, SW_SHOWDEFAULT);
}

void T_mainForm::SupportVodToolButtonClick(TObject*)
{
    ShellExecute(Handle(), L"open", kSupportMailAddress, nullptr, nullptr, SW_SHOWDEFAULT);
}

void T_mainForm::HelpVodToolButtonClick(TObject*)
{
    ShellExecute(Handle(), L"open", kHelpPageAddress, nullptr, nullptr, SW_SHOWDEFAULT);
}

void T_mainForm::ExitVodToolButtonClick(TObject*)
{
    Application->ProcessMessages();
    Sleep(1000);
    Application->Terminate();
}

void T_mainForm::FormCloseQuery(TObject*, bool& CanClose)
{
    Hide();
    Sleep(5000);
    CanClose = true;
}
