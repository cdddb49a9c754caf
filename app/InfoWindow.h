// The video information window: names and values of an entry's link, site,
// file name, folder and format. Nothing opens or fills it yet.
#pragma once

#include "platform/ui/Forms.h"

class TLabel;
class TVodPanel;

class T_InfoForm : public TForm {
    VEL_CLASS(T_InfoForm, TForm)
public:
    explicit T_InfoForm(TComponent* AOwner);

    TVodPanel* VodPanel1 = nullptr;
    TVodPanel* LeftVodPanel = nullptr;
    TLabel* LinkLabel = nullptr;
    TLabel* ServerLabel = nullptr;
    TLabel* FilenameLabel = nullptr;
    TLabel* FolderLabel = nullptr;
    TLabel* FormatLabel = nullptr;
    TLabel* LinkValueLabel = nullptr;
    TLabel* ServerValueLabel = nullptr;
    TLabel* FilenameValueLabel = nullptr;
    TLabel* FolderValueLabel = nullptr;
    TLabel* FormatValueLabel = nullptr;

    void FormActivate(TObject* Sender);
};

extern T_InfoForm* _InfoForm;
