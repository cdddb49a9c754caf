// The combo boxes and date-time pickers of the grid controls demo, in the
// window's right-hand area: a combo with its own button colours and a label,
// one with border and focus colours and a focus label, a flat one with its
// underline, a disabled one with its own disabled frame; a metro date picker
// with a coloured button, one with the themed button, a metro time picker
// (no own button) and a flat picker with its one-pixel outline.
//
// Prints "AT name ax ay ex ey" (the button's and the text's screen points),
// then while worked "VALUE name text" when a control's value changes and
// "DROPUP name" when a combo's list closes.
#include <vector>

#include "GridControlsDemo.h"
#include "controls/grid/VurComboBox.h"
#include "controls/grid/VurDateTimePicker.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

namespace {

struct TPick {
    const char* Name;
    TWinControl* Control;
    Integer ButtonWidth;
};

std::vector<TPick>& Picks()
{
    static std::vector<TPick> picks;
    return picks;
}

constexpr int kControlLeft = kPickerAreaLeft + 76, kControlWidth = 196, kRow = 36;

TVurComboBox* Combo(TForm* form, const char* name, const wchar_t* label, int row)
{
    auto* c = new TVurComboBox(form);
    c->SetParent(form);
    c->SetBounds(kControlLeft, kPickerAreaTop + row * kRow, kControlWidth, 24);
    for (const wchar_t* t : {L"apple", L"banana", L"cherry", L"damson", L"elderberry"}) c->Items()->Add(t);
    c->SetLabelPosition(VurComboBox::lpLeftCenter);
    c->SetLabelCaption(label);
    c->OnChange = [name, c](TObject*) { DemoSay("VALUE %s %s", name, UTF8Encode(c->Text()).c_str()); };
    c->OnDropUp = [name](TObject*) { DemoSay("DROPUP %s", name); };
    Picks().push_back({name, c, c->ButtonWidth()});
    return c;
}

TVurDateTimePicker* Picker(TForm* form, const char* name, const wchar_t* label, int row, TDateTimeKind kind)
{
    const int top = kPickerAreaTop + row * kRow;
    auto* l = new TLabel(form);
    l->SetParent(form);
    l->SetCaption(label);
    l->SetBounds(kPickerAreaLeft, top + 4, 72, 16);
    auto* p = new TVurDateTimePicker(form);
    p->SetParent(form);
    p->SetKind(kind);
    p->SetBounds(kControlLeft, top, kControlWidth, 24);
    p->SetDateTime(EncodeDate(2024, 3, 15) + EncodeTime(10, 20, 30, 0));
    p->OnChange = [name, p, kind](TObject*) {
        const String text = kind == dtkTime ? TimeToStr(p->DateTime()) : DateToStr(p->DateTime());
        DemoSay("VALUE %s %s", name, UTF8Encode(text).c_str());
    };
    Picks().push_back({name, p, GetSystemMetrics(SM_CXVSCROLL) + 2});
    return p;
}

}  // namespace

void SetUpGridControlsPickers(TForm* Form)
{
    TVurComboBox* fruit = Combo(Form, "fruit", L"Fruit", 0);
    fruit->SetItemIndex(1);
    fruit->SetButtonColor(TColor(0xF0C890));
    fruit->SetButtonColorHot(TColor(0xF8E0C0));
    fruit->SetButtonColorDown(TColor(0xC09050));
    fruit->SetButtonBorderColor(TColor(0x906020));
    fruit->SetButtonTextColor(clNavy);

    TVurComboBox* colour = Combo(Form, "list", L"List", 1);
    colour->SetStyle(csDropDownList);
    colour->SetItemIndex(2);
    colour->SetBorderColor(TColor(0x808080));
    colour->SetFocusBorderColor(TColor(0xD07820));
    colour->SetFocusColor(TColor(0xD0F8FF));
    colour->SetFocusLabel(true);
    colour->Init();

    TVurComboBox* flat = Combo(Form, "flat", L"Flat", 2);
    flat->SetFlatLineColor(TColor(0x804000));
    flat->SetFlat(true);
    flat->SetText(L"flat look");

    TVurComboBox* off = Combo(Form, "disabled", L"Disabled", 3);
    off->SetItemIndex(0);
    off->SetDisabledBorder(false);
    off->SetEnabled(false);

    TVurDateTimePicker* date = Picker(Form, "date", L"Date", 4, dtkDate);
    date->SetMetroStyle(true);
    date->SetBorderColor(TColor(0x909090));
    date->SetButtonColor(TColor(0x90D0A0));
    date->SetButtonColorHot(TColor(0xB0E8C0));
    date->SetButtonColorDown(TColor(0x509060));
    date->SetButtonBorderColor(TColor(0x407040));
    date->SetButtonTextColor(TColor(0x204020));

    TVurDateTimePicker* metro = Picker(Form, "metro", L"Metro", 5, dtkDate);
    metro->SetMetroStyle(true);
    metro->SetBorderColor(TColor(0xD07820));

    TVurDateTimePicker* time = Picker(Form, "time", L"Time", 6, dtkTime);
    time->SetMetroStyle(true);
    time->SetButtonColor(clRed);  // never painted for the time kind

    TVurDateTimePicker* outline = Picker(Form, "outline", L"Outline", 7, dtkDate);
    outline->SetBorderStyle(bsSingle);
    outline->SetBorderColor(clNavy);
    outline->SetCtl3D(false);
}

void AnnounceGridControlsPickers(TForm*)
{
    for (const TPick& p : Picks()) {
        TWinControl* c = p.Control;
        const TPoint a = c->ClientToScreen(TPoint{c->ClientWidth() - p.ButtonWidth / 2, c->ClientHeight() / 2});
        const TPoint e = c->ClientToScreen(TPoint{20, c->ClientHeight() / 2});
        DemoSay("AT %s %d %d %d %d", p.Name, a.X, a.Y, e.X, e.Y);
    }
}
