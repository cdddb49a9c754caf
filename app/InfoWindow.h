// The video information window: names and values of an entry's link, site,
// file name, folder and format. Nothing opens or fills it yet.
#pragma once

#include "platform/ui/Forms.h"

class TPanel;
class TLabel;

class T_InfoForm : public TForm {
    VEL_CLASS(T_InfoForm, TForm)
public:
    explicit T_InfoForm(TComponent* AOwner);

    TPanel* VodPanel1 = nullptr;
    TPanel* LeftVodPanel = nullptr;
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
