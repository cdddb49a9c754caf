#include "app/InfoWindow.h"

#include "app/MainWindow.h"
#include "controls/chrome/VodPanel.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/StdCtrls.h"

T_InfoForm* _InfoForm = nullptr;

T_InfoForm::T_InfoForm(TComponent* AOwner) : TForm(AOwner)
{
    SetCaption(L"Info");
    SetBorderStyle(bsDialog);
    SetClientWidth(521);
    SetClientHeight(152);
    SetPosition(poMainFormCenter);

    VodPanel1 = new TVodPanel(this);
    VodPanel1->SetParent(this);
    VodPanel1->SetAlign(alClient);
    LeftVodPanel = new TVodPanel(this);
    LeftVodPanel->SetParent(VodPanel1);
    LeftVodPanel->SetAlign(alClient);

    struct TRow {
        TLabel*& name;
        TLabel*& value;
        const wchar_t* caption;
    };
    const TRow rows[] = {{LinkLabel, LinkValueLabel, L"Link"},
                         {ServerLabel, ServerValueLabel, L"Server"},
                         {FilenameLabel, FilenameValueLabel, L"Filename"},
                         {FolderLabel, FolderValueLabel, L"Folder"},
                         {FormatLabel, FormatValueLabel, L"Format"}};
    Integer top = 10;
    for (const TRow& r : rows) {
        r.name = new TLabel(this);
        r.name->SetParent(LeftVodPanel);
        r.name->SetCaption(r.caption);
        r.name->Font()->SetColor(clBlue);
        r.name->SetBounds(10, top, 70, 16);
        r.value = new TLabel(this);
        r.value->SetParent(LeftVodPanel);
        r.value->SetCaption(r.caption);
        r.value->SetBounds(90, top, 420, 16);
        top += 27;
    }
    OnActivate = [this](TObject* s) { FormActivate(s); };
}

void T_InfoForm::FormActivate(TObject*)
{
    if (!_mainForm) return;
    SetColor(_mainForm->Color());
    VodPanel1->SetColor(_mainForm->VodPanel1->Color());
    LeftVodPanel->SetColor(_mainForm->VodPanel1->Color());
}
