// The main window's construction: its controls, their texts, colours and
// places, and the wiring of their handlers.
#include "app/MainWindow.h"

#include "app/MarkupLabels.h"
#include "app/SiteConstants.h"
#include "controls/chrome/VodMenus.h"
#include "controls/chrome/VodPanel.h"
#include "controls/chrome/VodToolButton.h"
#include "controls/edits/VodCombo.h"
#include "controls/edits/VodDirectoryEdit.h"
#include "controls/edits/vodlued.h"
#include "controls/foundation/ExeInfo.h"
#include "platform/base/Files.h"
#include "platform/base/Resources.h"
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

TVodPanel* MakePanel(T_mainForm* owner, TWinControl* parent, TAlign align, Integer size)
{
    auto* p = new TVodPanel(owner);
    p->SetParent(parent);
    // Caption and status bar stay hidden (the panel's defaults); the window
    // sets only the look below and, at creation, the colour.
    p->SetBevelOuter(bvNone);
    p->SetBorderColor(clNone);
    p->SetShadowOffset(0);
    p->SetDoubleBuffered(true);
    // Panels aligned to the same edge stack in the order they are made: a
    // new one starts beyond the others, as a designer would have placed it.
    if (align == alTop) p->SetTop(parent->ClientHeight());
    if (align == alLeft) p->SetLeft(parent->ClientWidth());
    p->SetAlign(align);
    if (align == alTop || align == alBottom) p->SetHeight(size);
    if (align == alLeft || align == alRight) p->SetWidth(size);
    return p;
}

// The glyphs are ours, embedded as bitmap resources (app/glyphs).
void LoadGlyph(TVodToolButton* b, const wchar_t* resource)
{
    TBitmap glyph;
    glyph.LoadFromResourceName(HInstance, resource);
    b->SetGlyph(&glyph);
}

TVodToolButton* MakeToolButton(T_mainForm* owner, TWinControl* parent, const String& caption,
                               const String& hint, const wchar_t* glyph, Integer left, Integer top)
{
    auto* b = new TVodToolButton(owner);
    b->SetParent(parent);
    b->SetCaption(caption);
    b->SetBounds(left, top, kToolButtonSize, kToolButtonSize);
    b->SetLayout(blGlyphTop);
    LoadGlyph(b, glyph);
    if (!hint.empty()) {
        b->SetHint(hint);
        b->SetShowHint(true);
    }
    return b;
}

TVodComboBox* MakeChoice(T_mainForm* owner, TWinControl* parent, TRect r)
{
    auto* c = new TVodComboBox(owner);
    c->SetParent(parent);
    c->SetStyle(csDropDownList);
    c->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    return c;
}

// A plain one-line edit: no lookup list, no history, nothing kept in the
// settings store or a file.
void MakePlainLookupEdit(TVodLUEdit* e)
{
    e->Lookup()->SetHistory(false);
    e->Persistence()->SetEnable(false);
    e->LookupPersist()->SetEnable(false);
    e->SetAutoHistory(false);
    e->SetFileLookup(false);
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
    LinkVodLUEdit = new TVodLUEdit(this);
    LinkVodLUEdit->SetParent(TopVodPanel);
    MakePlainLookupEdit(LinkVodLUEdit);
    LinkVodLUEdit->SetBounds(70, 15, 380, 24);
    LinkVodLUEdit->SetColor(clCream);
    LinkVodLUEdit->Font()->SetColor(clGray);
    LinkVodLUEdit->SetText(kLinkBoxPrompt);
    LinkVodLUEdit->OnEnter = [this](TObject* s) { LinkVodLUEditEnter(s); };
    LinkVodLUEdit->OnKeyDown = [this](TObject* s, Word& k, TShiftState sh) { LinkVodLUEditKeyDown(s, k, sh); };
    AddVodToolButton = new TVodToolButton(this);
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
    ExampleHTMLabel = MakeMarkupLabel(this, TopVodPanel, L"Example:", Bounds(70, 84, 60, 18));
    ExampleMemo = new TVodEdit(this);
    ExampleMemo->SetParent(TopVodPanel);
    ExampleMemo->SetBounds(130, 82, 400, 20);
    ExampleMemo->SetReadOnly(true);
    ExampleMemo->SetBorderStyle(bsNone);
    ExampleMemo->SetTransparent(true);
    ExampleMemo->Font()->SetColor(clNavy);
    ExampleMemo->SetTabStop(false);

    // The folder and the two choices.
    SaveToHTMLabel = MakeMarkupLabel(this, SecondVodPanel, L"Save To:", Bounds(10, 14, 100, 18));
    SaveVodDirectoryEdit = new TVodDirectoryEdit(this);
    SaveVodDirectoryEdit->SetParent(SecondVodPanel);
    SaveVodDirectoryEdit->SetBounds(120, 10, 410, 24);
    // Chosen only with the edit's own browse button.
    SaveVodDirectoryEdit->SetEditorEnabled(false);
    SaveVodDirectoryEdit->SetBrowseDialogText(L"Select Directory");
    SaveVodDirectoryEdit->SetButtonCaption(L"...");
    SaveVodDirectoryEdit->OnChange = [this](TObject* s) { VodDirectoryEdit1Change(s); };
    DownloadHTMLabel = MakeMarkupLabel(this, SecondVodPanel, L"Download From:", Bounds(10, 46, 100, 18));
    DownloadVodComboBox = MakeChoice(this, SecondVodPanel, Bounds(120, 42, 280, 24));
    DownloadVodComboBox->OnChange = [this](TObject* s) { DownloadVodComboBoxChange(s); };
    DownloadVodComboBox->OnClick = [this](TObject* s) { DownloadVodComboBoxClick(s); };
    SaveAsHTMLabel = MakeMarkupLabel(this, SecondVodPanel, L"Save As:", Bounds(10, 78, 100, 18));
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
    StartVodToolButton = MakeToolButton(this, BottomVodPanel, L"Start", L"Start Download", L"VDSTART", 10, top);
    StopVodToolButton = MakeToolButton(this, BottomVodPanel, L"Stop", L"Stop Download", L"VDSTOP", 70, top);
    RemoveVodToolButton = MakeToolButton(this, BottomVodPanel, L"Remove", L"Remove Video", L"VDREMOVE", 130, top);
    PlayVodToolButton = MakeToolButton(this, BottomVodPanel, L"Play", L"Play Video", L"VDPLAY", 190, top);
    OpenVodToolButton = MakeToolButton(this, BottomVodPanel, L"Browse", L"Open Folder", L"VDBROWSE", 250, top);
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
    // The window opens with the focus on the list: the link box empties
    // itself when it takes the focus, which would drop a link the window
    // took from the clipboard at activation.
    SetActiveControl(MainListView);

    // The side buttons.
    HomepageVodToolButton = MakeToolButton(this, RightVodPanel, L"Home", L"", L"VDHOME", 10, 10);
    UpdateVodToolButton = MakeToolButton(this, RightVodPanel, L"Update", L"Update", L"VDUPDATE", 10, 75);
    SupportVodToolButton = MakeToolButton(this, RightVodPanel, L"Support", L"", L"VDSUPPORT", 10, 140);
    HelpVodToolButton = MakeToolButton(this, RightVodPanel, L"Help", L"", L"VDHELP", 10, 205);
    ExitVodToolButton = MakeToolButton(this, RightVodPanel, L"Exit", L"", L"VDEXIT", 10, 270);
    HomepageVodToolButton->OnClick = [this](TObject* s) { HomepageVodToolButtonClick(s); };
    UpdateVodToolButton->OnClick = [this](TObject* s) { UpdateVodToolButtonClick(s); };
    SupportVodToolButton->OnClick = [this](TObject* s) { SupportVodToolButtonClick(s); };
    HelpVodToolButton->OnClick = [this](TObject* s) { HelpVodToolButtonClick(s); };
    ExitVodToolButton->OnClick = [this](TObject* s) { ExitVodToolButtonClick(s); };

    // The popup menu in the Office look; no control shows it.
    VodMenuOfficeStyler = new TVodMenuOfficeStyler(this);
    VodPopupMenu = new TVodPopupMenu(this);
    VodPopupMenu->SetMenuStyler(VodMenuOfficeStyler);
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
    for (TVodPanel* p : {VodPanel1, TopVodPanel, SecondVodPanel, BottomVodPanel, RightVodPanel})
        p->SetColor(kMainColour);
    AutoCheckBox->SetColor(kMainColour);
    ExampleMemo->SetColor(kMainColour);
    for (THTMLabel* l : {ExampleHTMLabel, SaveToHTMLabel, DownloadHTMLabel, SaveAsHTMLabel})
        MarkupControl(l)->SetColor(kMainColour);
    // The tool buttons' normal, hot and down colours.
    for (TVodToolButton* b : {StartVodToolButton, StopVodToolButton, RemoveVodToolButton,
                              PlayVodToolButton, OpenVodToolButton, HomepageVodToolButton,
                              UpdateVodToolButton, SupportVodToolButton, HelpVodToolButton,
                              ExitVodToolButton}) {
        b->SetColor(kMainColour);
        b->SetColorHot(kMainColour);
        b->SetColorDown(kMainColour);
    }
}
