// The main window's construction: its controls, their texts, colours and
// places, and the wiring of their handlers.
#include "app/MainWindow.h"

#include "app/SiteConstants.h"
#include "controls/foundation/ExeInfo.h"
#include "platform/base/Files.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Menus.h"
#include "platform/ui/StdCtrls.h"

const wchar_t* const kLinkBoxPrompt = L"  Copy web page address (URL) here";
const wchar_t* const kApplicationTitle = L"Velmora Video Downloader";

T_mainForm* _mainForm = nullptr;

namespace {

constexpr Integer kClientWidth = 613;
constexpr Integer kClientHeight = 557;
constexpr Integer kToolButtonSize = 55;

TPanel* MakePanel(T_mainForm* owner, TWinControl* parent, TAlign align, Integer size)
{
    auto* p = new TPanel(owner);
    p->SetParent(parent);
    p->SetBevelOuter(bvNone);
    p->SetCaption(L"");
    // Panels aligned to the same edge stack in the order they are made: a
    // new one starts beyond the others, as a designer would have placed it.
    if (align == alTop) p->SetTop(parent->ClientHeight());
    if (align == alLeft) p->SetLeft(parent->ClientWidth());
    p->SetAlign(align);
    if (align == alTop || align == alBottom) p->SetHeight(size);
    if (align == alLeft || align == alRight) p->SetWidth(size);
    return p;
}

TLabel* MakeLabel(T_mainForm* owner, TWinControl* parent, const String& caption, TRect r)
{
    auto* l = new TLabel(owner);
    l->SetParent(parent);
    l->SetCaption(caption);
    l->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    l->SetTransparent(true);
    return l;
}

TButton* MakeToolButton(T_mainForm* owner, TWinControl* parent, const String& caption,
                        const String& hint, Integer left, Integer top)
{
    auto* b = new TButton(owner);
    b->SetParent(parent);
    b->SetCaption(caption);
    b->SetBounds(left, top, kToolButtonSize, kToolButtonSize);
    if (!hint.empty()) {
        b->SetHint(hint);
        b->SetShowHint(true);
    }
    return b;
}

TComboBox* MakeChoice(T_mainForm* owner, TWinControl* parent, TRect r)
{
    auto* c = new TComboBox(owner);
    c->SetParent(parent);
    c->SetStyle(csDropDownList);
    c->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    return c;
}

TMenuItem* MakeMenuItem(TPopupMenu* menu, const String& caption, TNotifyEvent onClick)
{
    auto* item = new TMenuItem(menu);
    item->SetCaption(caption);
    item->OnClick = std::move(onClick);
    menu->Items()->Add(item);
    return item;
}

}  // namespace

T_mainForm::T_mainForm(TComponent* AOwner) : TForm(AOwner)
{
    DownloadBaseSettings.appFolder = ExtractFilePath(ExecutablePath());
    BuildControls();
    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnActivate = [this](TObject* s) { FormActivate(s); };
    OnCloseQuery = [this](TObject* s, bool& can) { FormCloseQuery(s, can); };
}

void T_mainForm::BuildControls()
{
    SetBorderStyle(bsSingle);
    SetBorderIcons(TBorderIcons{biSystemMenu, biMinimize});
    SetPosition(poScreenCenter);
    SetClientWidth(kClientWidth);
    SetClientHeight(kClientHeight);
    SetCaption(kApplicationTitle);

    VodPanel1 = MakePanel(this, this, alClient, 0);
    RightVodPanel = MakePanel(this, VodPanel1, alRight, 75);
    TopVodPanel = MakePanel(this, VodPanel1, alTop, 120);
    SecondVodPanel = MakePanel(this, VodPanel1, alTop, 110);
    BottomVodPanel = MakePanel(this, VodPanel1, alClient, 0);

    // The link row.
    Image1 = new TImage(this);
    Image1->SetParent(TopVodPanel);
    Image1->SetBounds(10, 10, 48, 48);
    LinkVodLUEdit = new TEdit(this);
    LinkVodLUEdit->SetParent(TopVodPanel);
    LinkVodLUEdit->SetBounds(70, 15, 380, 24);
    LinkVodLUEdit->SetColor(clCream);
    LinkVodLUEdit->Font()->SetColor(clGray);
    LinkVodLUEdit->SetText(kLinkBoxPrompt);
    LinkVodLUEdit->OnEnter = [this](TObject* s) { LinkVodLUEditEnter(s); };
    LinkVodLUEdit->OnKeyDown = [this](TObject* s, Word& k, TShiftState sh) { LinkVodLUEditKeyDown(s, k, sh); };
    AddVodToolButton = new TButton(this);
    AddVodToolButton->SetParent(TopVodPanel);
    AddVodToolButton->SetCaption(L"Add");
    AddVodToolButton->SetBounds(460, 12, 70, 30);
    AddVodToolButton->Font()->SetStyle(TFontStyles{fsBold});
    AddVodToolButton->OnClick = [this](TObject* s) { AddVodToolButtonClick(s); };
    AutoCheckBox = new TCheckBox(this);
    AutoCheckBox->SetParent(TopVodPanel);
    AutoCheckBox->SetCaption(L"Enable autostart downloads");
    AutoCheckBox->SetBounds(70, 50, 250, 20);
    AutoCheckBox->OnClick = [this](TObject* s) { AutoCheckBoxClick(s); };
    ExampleHTMLabel = MakeLabel(this, TopVodPanel, L"Example:", Bounds(70, 84, 60, 18));
    ExampleMemo = new TEdit(this);
    ExampleMemo->SetParent(TopVodPanel);
    ExampleMemo->SetBounds(130, 82, 400, 20);
    ExampleMemo->SetReadOnly(true);
    ExampleMemo->SetBorderStyle(bsNone);
    ExampleMemo->Font()->SetColor(clNavy);
    ExampleMemo->SetTabStop(false);

    // The folder and the two choices.
    SaveToHTMLabel = MakeLabel(this, SecondVodPanel, L"Save To:", Bounds(10, 14, 100, 18));
    SaveVodDirectoryEdit = new TEdit(this);
    SaveVodDirectoryEdit->SetParent(SecondVodPanel);
    SaveVodDirectoryEdit->SetBounds(120, 10, 380, 24);
    SaveVodDirectoryEdit->SetReadOnly(true);  // chosen only with the browse button
    SaveVodDirectoryEdit->OnChange = [this](TObject* s) { VodDirectoryEdit1Change(s); };
    SaveBrowseButton = new TButton(this);
    SaveBrowseButton->SetParent(SecondVodPanel);
    SaveBrowseButton->SetCaption(L"...");
    SaveBrowseButton->SetBounds(505, 10, 25, 24);
    SaveBrowseButton->OnClick = [this](TObject* s) { SaveBrowseButtonClick(s); };
    DownloadHTMLabel = MakeLabel(this, SecondVodPanel, L"Download From:", Bounds(10, 46, 100, 18));
    DownloadVodComboBox = MakeChoice(this, SecondVodPanel, Bounds(120, 42, 280, 24));
    DownloadVodComboBox->OnChange = [this](TObject* s) { DownloadVodComboBoxChange(s); };
    DownloadVodComboBox->OnClick = [this](TObject* s) { DownloadVodComboBoxClick(s); };
    SaveAsHTMLabel = MakeLabel(this, SecondVodPanel, L"Save As:", Bounds(10, 78, 100, 18));
    AviVodComboBox = MakeChoice(this, SecondVodPanel, Bounds(120, 74, 280, 24));
    for (const String& t : FormatTexts()) AviVodComboBox->Items()->Add(t);
    AviVodComboBox->SetItemIndex(format_flv);
    AviVodComboBox->OnClick = [this](TObject* s) { AviVodComboBoxClick(s); };
    Image2 = new TImage(this);
    Image2->SetParent(SecondVodPanel);
    Image2->SetBounds(410, 42, 24, 24);
    Image3 = new TImage(this);
    Image3->SetParent(SecondVodPanel);
    Image3->SetBounds(410, 74, 24, 24);
    Image4 = new TImage(this);
    Image4->SetParent(SecondVodPanel);
    Image4->SetBounds(440, 42, 24, 24);

    // The row buttons and the list.
    const Integer top = 8;
    StartVodToolButton = MakeToolButton(this, BottomVodPanel, L"Start", L"Start Download", 10, top);
    StopVodToolButton = MakeToolButton(this, BottomVodPanel, L"Stop", L"Stop Download", 70, top);
    RemoveVodToolButton = MakeToolButton(this, BottomVodPanel, L"Remove", L"Remove Video", 130, top);
    PlayVodToolButton = MakeToolButton(this, BottomVodPanel, L"Play", L"Play Video", 190, top);
    OpenVodToolButton = MakeToolButton(this, BottomVodPanel, L"Browse", L"Open Folder", 250, top);
    StartVodToolButton->OnClick = [this](TObject* s) { StartVodToolButtonClick(s); };
    StopVodToolButton->OnClick = [this](TObject* s) { StopVodToolButtonClick(s); };
    RemoveVodToolButton->OnClick = [this](TObject* s) { RemoveVodToolButtonClick(s); };
    PlayVodToolButton->OnClick = [this](TObject* s) { PlayVodToolButtonClick(s); };
    OpenVodToolButton->OnClick = [this](TObject* s) { OpenVodToolButtonClick(s); };

    MainListView = new TListView(this);
    MainListView->SetParent(BottomVodPanel);
    MainListView->SetBounds(10, 70, 518, 247);
    MainListView->SetViewStyle(vsReport);
    MainListView->SetGridLines(true);
    MainListView->SetRowSelect(true);
    MainListView->SetReadOnly(true);
    MainListView->SetColumnClick(false);
    struct TColumnSpec {
        const wchar_t* caption;
        Integer width;
        TAlignment alignment;
    };
    for (const TColumnSpec& c : {TColumnSpec{L"Video", 335, taLeftJustify},
                                 TColumnSpec{L"Size", 70, taLeftJustify},
                                 TColumnSpec{L"Progress", 70, taCenter}}) {
        TListColumn* col = MainListView->Columns()->Add();
        col->SetCaption(c.caption);
        col->SetWidth(c.width);
        col->SetAlignment(c.alignment);
    }
    MainListView->OnChange = [this](TObject* s, TListItem*, TItemChange) { MainListViewChange(s); };

    // The side buttons.
    HomepageVodToolButton = MakeToolButton(this, RightVodPanel, L"Home", L"", 10, 10);
    UpdateVodToolButton = MakeToolButton(this, RightVodPanel, L"Update", L"Update", 10, 75);
    SupportVodToolButton = MakeToolButton(this, RightVodPanel, L"Support", L"", 10, 140);
    HelpVodToolButton = MakeToolButton(this, RightVodPanel, L"Help", L"", 10, 205);
    ExitVodToolButton = MakeToolButton(this, RightVodPanel, L"Exit", L"", 10, 270);
    HomepageVodToolButton->OnClick = [this](TObject* s) { HomepageVodToolButtonClick(s); };
    UpdateVodToolButton->OnClick = [this](TObject* s) { UpdateVodToolButtonClick(s); };
    SupportVodToolButton->OnClick = [this](TObject* s) { SupportVodToolButtonClick(s); };
    HelpVodToolButton->OnClick = [this](TObject* s) { HelpVodToolButtonClick(s); };
    ExitVodToolButton->OnClick = [this](TObject* s) { ExitVodToolButtonClick(s); };

    // The popup menu; no control shows it.
    VodPopupMenu = new TPopupMenu(this);
    Start1 = MakeMenuItem(VodPopupMenu, L"Start Download", [this](TObject* s) { StartVodToolButtonClick(s); });
    Stop1 = MakeMenuItem(VodPopupMenu, L"Stop Download", [this](TObject* s) { StopVodToolButtonClick(s); });
    VideoInfo1 = MakeMenuItem(VodPopupMenu, L"Video Info", nullptr);
    Remove1 = MakeMenuItem(VodPopupMenu, L"Remove Entry", [this](TObject* s) { RemoveVodToolButtonClick(s); });
    Play1 = MakeMenuItem(VodPopupMenu, L"Play Video", [this](TObject* s) { PlayVodToolButtonClick(s); });
    Open1 = MakeMenuItem(VodPopupMenu, L"Open Video", [this](TObject* s) { OpenLabelClick(s); });

    ExeInfo = new TExeInfo(this);
}

void T_mainForm::FormCreate(TObject*)
{
    clear_list();
    // The application outlives the window: the handler finds it through
    // the global, which the window clears when it goes.
    Application->OnActivate = [](TObject* s) {
        if (_mainForm) _mainForm->paste_clipboard_link(s);
    };
    for (const String& t : SiteChoiceTexts()) DownloadVodComboBox->Items()->Add(t);
    DownloadVodComboBox->SetItemIndex(0);

    SetColor(kMainColour);
    for (TControl* c : std::initializer_list<TControl*>{
             VodPanel1, TopVodPanel, SecondVodPanel, BottomVodPanel, RightVodPanel, AutoCheckBox,
             ExampleMemo, ExampleHTMLabel, SaveToHTMLabel, DownloadHTMLabel, SaveAsHTMLabel})
        c->SetColor(kMainColour);
    // The tool buttons' normal, hot and down colours.
    for (TButton* b : {StartVodToolButton, StopVodToolButton, RemoveVodToolButton, PlayVodToolButton,
                       OpenVodToolButton, HomepageVodToolButton, UpdateVodToolButton,
                       SupportVodToolButton, HelpVodToolButton, ExitVodToolButton})
        b->SetColor(kMainColour);
}
