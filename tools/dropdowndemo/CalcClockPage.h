// The demo's second page (--page clock): the calculator drop-down, the time
// picker drop-down with and without the platform's time picker below its
// clock, a standalone clock running in Auto mode and a standalone keypad.
//
// Besides the first page's lines ("AT", "DROPPED", "UP", "VALUE") it prints,
// when a window opens, "KEY name caption x y" for each keypad button and
// "WATCH name cx cy r ax ay" for the clock (screen centre, radius, centre of
// the AM/PM box); "TIME name value" when an arrow key steps the time; and
// "PAD caption" for each click on the standalone keypad.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "controls/dropdown/ButtonPanel.h"
#include "controls/dropdown/CalculatorDropDown.h"
#include "controls/dropdown/TimePickerDropDown.h"
#include "controls/dropdown/Watch.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

namespace calcclock {

inline std::string Ascii(const String& s)
{
    std::string out;
    for (wchar_t c : s) out += c < 0x80 ? char(c) : '?';
    return out;
}

struct TPageEntry {
    const char* Name;
    TVodCustomDropDown* Edit;
};

class TClockPage : public TForm {
public:
    std::vector<TPageEntry> Entries;
    TVodWatch* Clock = nullptr;
    TButtonPanel* Pad = nullptr;

    explicit TClockPage(TComponent* owner) : TForm(owner)
    {
        SetCaption(L"Calculator, clock and time picker");
        SetBorderStyle(bsSingle);
        SetLeft(8);
        SetTop(8);
        SetClientWidth(760);
        SetClientHeight(420);
        SetColor(TColor(0xF4F0EC));
        Font()->SetName(L"Tahoma");
        Font()->SetSize(9);

        auto* calc = Add<TVodCalculatorDropdown>("calc", 20, 30, L"Calculator:");
        calc->SetText(L"0");

        auto* time = Add<TVodTimePickerDropDown>("time", 20, 220, L"Time (clock):");
        time->SetTime(EncodeTime(10, 20, 0, 0));
        time->OnTimeChange = [time](TObject*) {
            std::printf("TIME time %s\n", Ascii(time->EditText()).c_str());
            std::fflush(stdout);
        };

        auto* picker = Add<TVodTimePickerDropDown>("picker", 230, 220, L"Time (clock and picker):");
        picker->SetShowTimePicker(true);
        picker->SetShowSeconds(false);
        picker->SetComponentStyle(tsOffice2007Luna);
        picker->SetTime(EncodeTime(16, 45, 0, 0));

        Clock = new TVodWatch(this);
        Clock->SetParent(this);
        Clock->SetBounds(470, 10, 180, 180);
        Clock->SetStyle(wsBlueStar);
        Clock->Settings()->SetAuto(true);

        Pad = new TButtonPanel(this);
        Pad->SetParent(this);
        Pad->SetBounds(480, 220, 260, 170);
        Pad->SetColor(clWhite);
        Pad->Loaded();
        Pad->OnButtonClick = [this](TObject*, Integer i) {
            std::printf("PAD %s\n", Ascii(Pad->Buttons()->Items(i)->Caption()).c_str());
            std::fflush(stdout);
        };
    }

private:
    template <class T>
    T* Add(const char* name, int x, int y, const String& caption)
    {
        T* d = CreateDropDown<T>(this);
        d->SetParent(this);
        d->SetBounds(x, y, 180, 22);
        d->SetLabelPosition(lpTopLeft);
        d->SetLabelCaption(caption);
        Entries.push_back({name, d});
        d->OnDropUp = [name, d](TObject*, bool cancelled) {
            std::printf("UP %s %s %s\n", name, cancelled ? "cancelled" : "accepted", Ascii(d->Text()).c_str());
            std::fflush(stdout);
        };
        d->DropDownForm()->OnShow = [name, d](TObject*) {
            TDropDownForm* f = d->DropDownForm();
            std::printf("DROPPED %s %d %d %d %d\n", name, f->Left(), f->Top(), f->Width(), f->Height());
            Announce(name, d);
            std::fflush(stdout);
        };
        return d;
    }
    static void Announce(const char* name, TVodCustomDropDown* d)
    {
        if (auto* c = dynamic_cast<TVodCalculatorDropdown*>(d)) {
            TCustomButtonPanel* p = c->ButtonPanel();
            for (Integer i = 0; i < p->Buttons()->Count(); ++i) {
                TCalcButtonItem* b = p->Buttons()->Items(i);
                if (b->Caption().empty()) continue;
                TRect r = b->ButtonRect();
                TPoint s = p->ClientToScreen(TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
                std::printf("KEY %s %s %d %d\n", name, Ascii(b->Caption()).c_str(), s.X, s.Y);
            }
        }
        if (auto* t = dynamic_cast<TVodTimePickerDropDown*>(d)) {
            TVodWatch* w = t->Watch();
            TPoint c = w->ClientToScreen(w->GetCenter());
            TRect box = w->GetAMPMRect();
            TPoint a = w->ClientToScreen(TPoint{(box.Left + box.Right) / 2, (box.Top + box.Bottom) / 2});
            std::printf("WATCH %s %d %d %d %d %d\n", name, c.X, c.Y, w->GetRadius(), a.X, a.Y);
        }
    }
};

}  // namespace calcclock
