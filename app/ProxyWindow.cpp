#include "app/ProxyWindow.h"

#include "controls/chrome/VodPanel.h"
#include "controls/edits/vodlued.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/StdCtrls.h"

T_proxyForm* _proxyForm = nullptr;

T_proxyForm::T_proxyForm(TComponent* AOwner) : TForm(AOwner)
{
    SetCaption(L"_proxyForm");
    // The border first: changing it keeps the window's outer size, which
    // would leave the client area off its size.
    SetBorderStyle(bsDialog);
    SetClientWidth(248);
    SetClientHeight(136);
    SetPosition(poMainFormCenter);

    VodPanel1 = new TVodPanel(this);
    VodPanel1->SetParent(this);
    VodPanel1->SetBevelOuter(bvNone);
    VodPanel1->SetAlign(alClient);

    struct TRow {
        TLabel*& label;
        TVodLUEdit*& edit;
        const wchar_t* caption;
    };
    const TRow rows[] = {{ServerLabel, ServerVodLUEdit, L"Server"},
                         {PortLabel, PortVodLUEdit, L"Port"},
                         {UsernameLabel, UsernameVodLUEdit, L"Username"},
                         {PasswordLabel, PasswordVodLUEdit, L"Password"}};
    Integer top = 8;
    for (const TRow& r : rows) {
        r.label = new TLabel(this);
        r.label->SetParent(VodPanel1);
        r.label->SetCaption(r.caption);
        r.label->SetBounds(8, top + 3, 70, 16);
        r.edit = new TVodLUEdit(this);
        r.edit->SetParent(VodPanel1);
        // Plain one-line edits: no lookup history, nothing kept anywhere.
        r.edit->Lookup()->SetHistory(false);
        r.edit->Persistence()->SetEnable(false);
        r.edit->LookupPersist()->SetEnable(false);
        r.edit->SetAutoHistory(false);
        r.edit->SetFileLookup(false);
        r.edit->SetBounds(80, top, 160, 21);
        r.edit->Font()->SetName(L"Tahoma");
        r.edit->Font()->SetColor(clGray);
        r.edit->SetEnabled(false);
        top += 25;
    }
    // The password is kept but never shown.
    PasswordVodLUEdit->SetPasswordChar(L'*');

    ProxyCheckBox = new TCheckBox(this);
    ProxyCheckBox->SetParent(VodPanel1);
    ProxyCheckBox->SetCaption(L"Use HTTP proxy");
    ProxyCheckBox->Font()->SetStyle(TFontStyles{fsBold});
    ProxyCheckBox->SetBounds(80, top + 2, 160, 20);
    ProxyCheckBox->OnClick = [this](TObject* s) { ProxyCheckBoxClick(s); };
}

void T_proxyForm::ProxyCheckBoxClick(TObject*)
{
    const bool on = ProxyCheckBox->Checked();
    for (TVodLUEdit* e : {ServerVodLUEdit, PortVodLUEdit, UsernameVodLUEdit, PasswordVodLUEdit})
        e->SetEnabled(on);
    SaveProxy(on, Values());
}

void T_proxyForm::ProxyALCheckBoxClick(TObject* Sender) { ProxyCheckBoxClick(Sender); }

bool T_proxyForm::ProxyOn() const { return ProxyCheckBox->Checked(); }

TProxyValues T_proxyForm::Values() const
{
    return {ServerVodLUEdit->Text(), PortVodLUEdit->Text(), UsernameVodLUEdit->Text(),
            PasswordVodLUEdit->Text()};
}
