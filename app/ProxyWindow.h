// The proxy settings window: the server, port, user name and password of an
// HTTP proxy and the box that switches it on. Its values are stored in the
// settings and used by every page fetch and download while the box is ticked.
#pragma once

#include "app/Settings.h"
#include "platform/ui/Forms.h"

class TLabel;
class TCheckBox;
class TVodPanel;
class TVodLUEdit;

class T_proxyForm : public TForm {
    VEL_CLASS(T_proxyForm, TForm)
public:
    explicit T_proxyForm(TComponent* AOwner);

    TVodPanel* VodPanel1 = nullptr;
    TLabel* ServerLabel = nullptr;
    TLabel* PortLabel = nullptr;
    TLabel* UsernameLabel = nullptr;
    TLabel* PasswordLabel = nullptr;
    TVodLUEdit* ServerVodLUEdit = nullptr;
    TVodLUEdit* PortVodLUEdit = nullptr;
    TVodLUEdit* UsernameVodLUEdit = nullptr;
    TVodLUEdit* PasswordVodLUEdit = nullptr;  // shows a password character, never the text
    TCheckBox* ProxyCheckBox = nullptr;

    void ProxyCheckBoxClick(TObject* Sender);
    // The same, run by the reading of the settings.
    void ProxyALCheckBoxClick(TObject* Sender);

    bool ProxyOn() const;
    TProxyValues Values() const;
};

extern T_proxyForm* _proxyForm;
