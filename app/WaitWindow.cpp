#include "app/WaitWindow.h"

#include "app/MainWindow.h"
#include "app/MarkupLabels.h"
#include "controls/chrome/VodPanel.h"
#include "controls/chrome/VodToolButton.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/StdCtrls.h"

const wchar_t* const kWaitText = L"Please Wait (up to 3 minutes) ...";
const wchar_t* const kWaitHintMarkup =
    L"<FONT color=\"#0000FF\">If you are having problems in getting the video, please double-check "
    L"your firewall configuration.</FONT>";
const wchar_t* const kWaitHintText =
    L"If you are having problems in getting the video, please double-check your firewall "
    L"configuration.";

T_waitForm* _waitForm = nullptr;

T_waitForm::T_waitForm(TComponent* AOwner) : TForm(AOwner)
{
    SetBorderStyle(bsNone);
    SetClientWidth(325);
    SetClientHeight(79);
    SetPosition(poMainFormCenter);
    Font()->SetName(L"Tahoma");

    RightVodPanel = new TVodPanel(this);
    RightVodPanel->SetParent(this);
    RightVodPanel->SetAlign(alClient);
    RightVodPanel->SetDoubleBuffered(true);

    WaitStaticText = new TStaticText(this);
    WaitStaticText->SetParent(RightVodPanel);
    WaitStaticText->SetCaption(kWaitText);
    WaitStaticText->SetBounds(10, 6, 305, 16);
    WaitStaticText->Font()->SetStyle(TFontStyles{fsBold});
    WaitStaticText->Font()->SetColor(clBlack);

    HTMLStaticText2 = MakeMarkupStaticText(this, RightVodPanel, kWaitHintMarkup, Bounds(10, 24, 305, 28), clNavy);

    Stop1VodToolButton = new TVodToolButton(this);
    Stop1VodToolButton->SetParent(RightVodPanel);
    Stop1VodToolButton->SetCaption(L"Stop");
    Stop1VodToolButton->Font()->SetStyle(TFontStyles{fsBold});
    Stop1VodToolButton->SetBounds(120, 54, 84, 22);
    Stop1VodToolButton->OnClick = [this](TObject* s) { Stop1VodToolButtonClick(s); };

    OnShow = [this](TObject* s) { FormShow(s); };
    OnActivate = [this](TObject* s) { FormActivate(s); };
}

void T_waitForm::FormShow(TObject*)
{
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void T_waitForm::FormActivate(TObject*)
{
    if (_mainForm) RightVodPanel->SetColor(_mainForm->VodPanel1->Color());
}

void T_waitForm::Stop1VodToolButtonClick(TObject*)
{
    // Aborting the fetch's transfers ends it at once: no pause is needed
    // before the wait is over.
    Stop1VodToolButton->SetEnabled(false);
    if (_mainForm) _mainForm->StopFetch();
    Stop1VodToolButton->SetEnabled(true);
    Close();
}
