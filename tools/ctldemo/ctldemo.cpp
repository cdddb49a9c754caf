// A form with one of each standard control, for looking at them on a real
// desktop (or a virtual X server): it runs until closed or its time is up.
//
//   ctldemo [--seconds N]
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/base/SysUtils.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/ComCtrls_Bars.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Mask.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/CheckLst.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/BackendChoice.h"
#include "platform/ui/backend/Sdl.h"

namespace {

template <class T>
T* Place(TWinControl* parent, int x, int y, int w, int h)
{
    auto* c = new T(parent);
    c->SetParent(parent);
    c->SetBounds(x, y, w, h);
    return c;
}

class TDemoForm : public TForm {
public:
    explicit TDemoForm(TComponent* owner) : TForm(owner)
    {
        SetCaption(L"Standard controls");
        SetBorderStyle(bsSingle);
        SetLeft(40);
        SetTop(40);
        SetClientWidth(620);
        SetClientHeight(420);

        Place<TLabel>(this, 10, 12, 60, 16)->SetCaption(L"&Name:");
        Place<TEdit>(this, 70, 8, 150, 22)->SetText(L"An edit with text");
        auto* memo = Place<TMemo>(this, 10, 40, 210, 70);
        memo->Lines()->Add(L"A memo");
        memo->Lines()->Add(L"with two lines");
        auto* mask = Place<TMaskEdit>(this, 10, 118, 100, 22);
        mask->SetEditMask(L"!90:00:00;1; ");
        mask->SetText(L"12:34:56");
        auto* combo = Place<TComboBox>(this, 120, 118, 100, 22);
        combo->Items()->Add(L"First");
        combo->Items()->Add(L"Second");
        combo->SetItemIndex(0);
        Place<TButton>(this, 10, 150, 100, 25)->SetCaption(L"Push me");
        auto* check = Place<TCheckBox>(this, 120, 150, 100, 20);
        check->SetCaption(L"Check box");
        check->SetChecked(true);
        auto* group = Place<TGroupBox>(this, 10, 185, 210, 70);
        group->SetCaption(L"Group box");
        auto* r1 = Place<TRadioButton>(group, 10, 20, 90, 20);
        r1->SetCaption(L"Radio one");
        r1->SetChecked(true);
        Place<TRadioButton>(group, 10, 42, 90, 20)->SetCaption(L"Radio two");
        auto* list = Place<TListBox>(this, 10, 265, 100, 70);
        for (const wchar_t* s : {L"Apple", L"Banana", L"Cherry"}) list->Items()->Add(s);
        list->SetItemIndex(1);
        auto* checks = Place<TCheckListBox>(this, 120, 265, 100, 70);
        checks->Items()->Add(L"Checked");
        checks->Items()->Add(L"Not");
        checks->SetChecked(0, true);
        auto* panel = Place<TPanel>(this, 10, 345, 210, 60);
        panel->SetCaption(L"A panel");
        Place<TSpeedButton>(panel, 150, 15, 50, 30)->SetCaption(L"Speed");

        auto* view = Place<TListView>(this, 240, 8, 370, 130);
        view->SetViewStyle(vsReport);
        view->SetRowSelect(true);
        view->SetGridLines(true);
        for (auto [caption, width] : {std::pair{L"Video", 200}, {L"Size", 80}, {L"Progress", 80}}) {
            TListColumn* c = view->Columns()->Add();
            c->SetCaption(caption);
            c->SetWidth(width);
        }
        for (int i = 1; i <= 3; ++i) {
            TListItem* it = view->Items()->Add();
            it->SetCaption(L"Row " + IntToStr(i));
            it->SubItems()->Add(IntToStr(i * 10) + L" Mb");
            it->SubItems()->Add(IntToStr(i * 30) + L"%");
        }
        view->Items()->Item(1)->SetSelected(true);
        Place<TDateTimePicker>(this, 240, 150, 150, 22);
        auto* time = Place<TDateTimePicker>(this, 400, 150, 120, 22);
        time->SetKind(dtkTime);
        auto* bar = Place<TScrollBar>(this, 240, 185, 370, 18);
        bar->SetMax(100);
        bar->SetPosition(30);
        auto* track = Place<TTrackBar>(this, 240, 215, 200, 40);
        track->SetMax(10);
        track->SetPosition(4);
        Place<TStaticText>(this, 460, 225, 150, 20)->SetCaption(L"Static text");
    }
};

}  // namespace

int main(int argc, char** argv)
{
    int seconds = 60;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) seconds = std::atoi(argv[++i]);
    if (!InstallDefaultBackend()) {
        std::fprintf(stderr, "ctldemo: no display to show windows on\n");
        return 2;
    }
    auto* sdl = dynamic_cast<TSdlBackend*>(&Backend());
    InitForms();
    TDemoForm* form = nullptr;
    Application->CreateForm(form);
    form->Show();
    DWORD start = GetTickCount();
    while (!Application->Terminated() && IsWindow(form->Handle())) {
        Application->ProcessMessages();
        if (sdl) sdl->PumpEvents(20);
        if (int32_t(GetTickCount() - start) > seconds * 1000) break;
    }
    DoneForms();
    return 0;
}
