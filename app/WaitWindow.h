// The wait window: shown above everything while a page fetch runs; its Stop
// ends the wait and aborts the fetch.
#pragma once

#include "platform/ui/Forms.h"

class TStaticText;
class TVodPanel;
class THTMLStaticText;
class TVodToolButton;

extern const wchar_t* const kWaitText;
// The hint as markup: the sentence in blue.
extern const wchar_t* const kWaitHintMarkup;
extern const wchar_t* const kWaitHintText;

class T_waitForm : public TForm {
    VEL_CLASS(T_waitForm, TForm)
public:
    explicit T_waitForm(TComponent* AOwner);

    TVodPanel* RightVodPanel = nullptr;
    TStaticText* WaitStaticText = nullptr;
    THTMLStaticText* HTMLStaticText2 = nullptr;
    TVodToolButton* Stop1VodToolButton = nullptr;

    void FormShow(TObject* Sender);
    void FormActivate(TObject* Sender);
    void Stop1VodToolButtonClick(TObject* Sender);
};

extern T_waitForm* _waitForm;
