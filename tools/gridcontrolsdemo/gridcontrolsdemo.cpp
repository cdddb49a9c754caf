// The grid's stand-alone editing controls on one window: spin edits of every
// kind (integer, float with two decimals, date, time, horizontal buttons,
// buttons in colours of their own), edits with a button (classic, themed,
// coloured, with a caption) and an edit with a unit and its units menu. The
// combo box and the date-time picker join through their own source file.
//
// Once shown it prints "AT name ax ay ex ey" (a button's and the edit's
// screen points) and "READY left top width height"; then, while worked,
// "VALUE name text" when a spin edit changes, "RELEASE name text" when a
// spin button is let go, "CLICK name" when an edit's button is pressed and
// "UNIT name unit" when a unit is chosen. On close it prints "FINAL name
// text" for each control. Dates show as dd/mm/yyyy, times as hh:nn:ss.
//
//   gridcontrolsdemo [--seconds N]
#include <cstdarg>
#include <cstdio>
#include <vector>

#include "GridControlsDemo.h"
#include "controls/foundation/LibraryStartup.h"
#include "controls/grid/VurEditBtn.h"
#include "controls/grid/VurSpinEdit.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/WindowManager.h"
#include "tools/DemoLoop.h"

__attribute__((weak)) void SetUpGridControlsPickers(TForm*) {}
__attribute__((weak)) void AnnounceGridControlsPickers(TForm*) {}

void DemoSay(const char* Format, ...)
{
    va_list args;
    va_start(args, Format);
    std::vprintf(Format, args);
    va_end(args);
    std::printf("\n");
    std::fflush(stdout);
}

namespace {

struct TEntry {
    const char* Name;
    TCustomMaskEdit* Edit;
    TControl* Button;   // the control whose middle the AT line gives
};

class TDemoForm : public TForm {
public:
    std::vector<TEntry> Entries;

    explicit TDemoForm(TComponent* owner) : TForm(owner)
    {
        SetCaption(L"Grid editing controls");
        SetBorderStyle(bsSingle);
        SetLeft(8);
        SetTop(8);
        SetClientWidth(900);
        SetClientHeight(330);
        SetColor(TColor(0xF0F0F0));

        // Column 1: spin edits.
        int y = 16;
        auto caption = [&](int x, int top, const wchar_t* text) {
            auto* l = new TLabel(this);
            l->SetParent(this);
            l->SetCaption(text);
            l->SetBounds(x, top + 4, 96, 16);
        };
        auto spin = [&](const char* name, const wchar_t* label, TVurSpinType kind) {
            caption(16, y, label);
            auto* e = new TVurSpinEdit(this);
            e->SetParent(this);
            e->SetBounds(112, y, 150, 24);
            e->SetSpinType(kind);
            e->OnChange = [name, e](TObject*) { DemoSay("VALUE %s %s", name, UTF8Encode(e->Text()).c_str()); };
            e->Button()->UpButton()->OnMouseUp = [name, e](TObject*, TMouseButton, TShiftState, Integer, Integer) {
                DemoSay("RELEASE %s %s", name, UTF8Encode(e->Text()).c_str());
            };
            Entries.push_back({name, e, e->Button()->UpButton()});
            y += 36;
            return e;
        };
        spin("int", L"Integer", sptNormal)->SetValue(42);
        TVurSpinEdit* f = spin("float", L"Float", sptFloat);
        f->SetPrecision(2);
        f->SetIncrementFloat(0.25);
        f->SetFloatValue(3.14);
        spin("date", L"Date", sptDate)->SetDateValue(EncodeDate(2024, 3, 15));
        spin("time", L"Time", sptTime)->SetTimeValue(EncodeTime(10, 20, 30, 0));
        TVurSpinEdit* h = spin("horizontal", L"Horizontal", sptNormal);
        h->SetDirection(spHorizontal);
        h->SetEditAlign(VurSpin::eaRight);
        h->SetValue(7);
        TVurSpinEdit* c = spin("coloured", L"Coloured", sptNormal);
        c->Button()->SetButtonColor(TColor(0xF0D0A0));
        c->Button()->SetButtonColorHot(TColor(0xF8E4C8));
        c->Button()->SetButtonColorDown(TColor(0xC89850));
        c->SetEditAlign(VurSpin::eaCenter);
        c->SetValue(60);
        TVurSpinEdit* xp = spin("themed", L"Themed", sptNormal);
        xp->SetIsWinXP(true);
        xp->SetValue(12);

        // Column 2: edits with a button and with a unit.
        y = 16;
        auto button = [&](const char* name, const wchar_t* label, TVurEditBtn* e) {
            caption(300, y, label);
            e->SetParent(this);
            e->SetBounds(396, y, 170, 24);
            e->OnClickBtn = [name](TObject*) { DemoSay("CLICK %s", name); };
            Entries.push_back({name, e, e->Button()});
            y += 36;
            return e;
        };
        TVurEditBtn* b = button("button", L"Button", new TVurEditBtn(this));
        b->SetButtonCaption(L"...");
        b->SetText(L"report.txt");
        TVurEditBtn* t = button("themedbutton", L"Themed", new TVurEditBtn(this));
        t->SetIsWinXP(true);
        t->SetButtonCaption(L"...");
        t->SetText(L"notes.txt");
        TVurEditBtn* k = button("colouredbutton", L"Coloured", new TVurEditBtn(this));
        k->Button()->SetButtonColor(TColor(0x80C0F0));
        k->Button()->SetButtonColorHot(TColor(0xA0D8FF));
        k->Button()->SetButtonColorDown(TColor(0x4080C0));
        k->SetButtonCaption(L"Go");
        k->SetButtonWidth(28);
        k->SetText(L"coloured");
        TVurEditBtn* flat = button("flatbutton", L"Flat", new TVurEditBtn(this));
        flat->Button()->SetFlat(true);
        flat->SetButtonCaption(L"...");
        flat->SetEditorEnabled(false);
        flat->SetText(L"button only");
        auto* u = new TVurUnitEditBtn(this);
        for (const wchar_t* unit : {L"mm", L"cm", L"m", L"km"}) u->Units()->Add(unit);
        button("unit", L"Unit", u)->SetButtonCaption(L"...");
        u->SetTextAndUnit(L"12cm");
        u->OnUnitChanged = [](TObject*, const String& unit) { DemoSay("UNIT unit %s", UTF8Encode(unit).c_str()); };
        auto* w = new TVurUnitEditBtn(this);
        for (const wchar_t* unit : {L"kg", L"g"}) w->Units()->Add(unit);
        button("weight", L"Weight", w)->SetButtonCaption(L"...");
        w->SetTextAndUnit(L"2.5kg");
    }
};

}  // namespace

int main(int argc, char** argv)
{
    const int seconds = DemoSeconds(argc, argv);
    if (!StartDemoBackend("gridcontrolsdemo")) return 1;
    // Dates and times in one known shape, whatever the machine's locale.
    FormatSettings.ShortDateFormat = L"dd/mm/yyyy";
    FormatSettings.DateSeparator = L'/';
    FormatSettings.LongTimeFormat = L"hh:nn:ss";
    FormatSettings.TimeSeparator = L':';
    FormatSettings.DecimalSeparator = L'.';
    FormatSettings.ThousandSeparator = L',';
    VodLibraryStartup();
    InitForms();
    TDemoForm* form = nullptr;
    Application->CreateForm(form);
    SetUpGridControlsPickers(form);
    form->Show();
    RunDemoLoop(form, seconds, [&] {
        for (const TEntry& e : form->Entries) {
            TControl* b = e.Button;
            TPoint a = b->ClientToScreen(TPoint{b->Width() / 2, b->Height() / 2});
            TPoint c = e.Edit->ClientToScreen(TPoint{20, e.Edit->ClientHeight() / 2});
            DemoSay("AT %s %d %d %d %d", e.Name, a.X, a.Y, c.X, c.Y);
        }
        AnnounceGridControlsPickers(form);
    });
    for (const TEntry& e : form->Entries) DemoSay("FINAL %s %s", e.Name, UTF8Encode(e.Edit->Text()).c_str());
    DoneForms();
    VodLibraryShutdown();
    return 0;
}
