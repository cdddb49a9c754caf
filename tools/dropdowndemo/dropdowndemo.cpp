// Drop-down edits in three looks (the default, Windows 10, Office 2016
// Black); one with a header (markup caption, two buttons) and a footer (OK
// and Cancel with modal results, the size grip); labels in several places,
// border colours, an empty text, a disabled one, a money edit with Prefix
// and Suffix, the track bar and memo drop-downs, and one near the form's
// bottom.
//
// Before "READY left top width height" it prints "AT name ax ay ex ey" for
// each drop-down (the screen centres of its arrow and of its edit). While it
// runs it prints "DROPPED name left top width height" when a window opens
// and "UP name accepted|cancelled value" when it closes; at the end it prints
// "VALUE name value" for each.
//
//   dropdowndemo [--seconds N] [--open NAME] [--bottom] [--page clock]
//
// --open opens that drop-down once the form shows; --bottom puts the form
// so that its bottom drop-down sits near the screen's bottom edge; --page
// clock shows the second page instead (CalcClockPage.h: the calculator, the
// time pickers, a running clock and a keypad).
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "CalcClockPage.h"
#include "controls/dropdown/MemoDropDown.h"
#include "controls/dropdown/TrackBarDropDown.h"
#include "controls/dropdown/VodDropDown.h"
#include "controls/foundation/LibraryStartup.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "tools/DemoLoop.h"

namespace {

std::string Utf8(const String& s)
{
    std::string out;
    for (wchar_t c : s) out += c < 0x80 ? char(c) : '?';
    return out;
}

struct TEntry {
    const char* Name;
    TVodCustomDropDown* Edit;
};

class TDemoForm : public TForm {
public:
    std::vector<TEntry> Entries;

    explicit TDemoForm(TComponent* owner) : TForm(owner)
    {
        SetCaption(L"Drop-down editors");
        SetBorderStyle(bsSingle);
        SetLeft(8);
        SetTop(8);
        SetClientWidth(760);
        SetClientHeight(420);
        SetColor(TColor(0xF4F0EC));
        Font()->SetName(L"Tahoma");
        Font()->SetSize(9);

        auto* header = Add<TVodDropDown>("header", 130, 20, L"Default look:", lpLeftTop);
        header->SetText(L"Velmora");
        header->SetControl(List(header, {L"Velmora", L"Streamhall", L"Clipworks", L"Vidnest"}));
        header->DropDownHeader()->SetCaption(L"<b>Choose</b> a <font color=\"#C00000\">site</font>");
        header->DropDownHeader()->Buttons()->Add()->SetCaption(L"All");
        header->DropDownHeader()->Buttons()->Add()->SetCaption(L"None");
        header->DropDownFooter()->SetCaption(L"<i>4 sites</i>");
        auto* ok = header->DropDownFooter()->Buttons()->Add();
        ok->SetCaption(L"OK");
        ok->SetModalResult(mrOk);
        auto* cancel = header->DropDownFooter()->Buttons()->Add();
        cancel->SetCaption(L"Cancel");
        cancel->SetModalResult(mrCancel);
        header->SetDropDownWidth(220);
        header->SetDropDownHeight(150);

        auto* w10 = Add<TVodDropDown>("win10", 130, 60, L"Windows 10:", lpLeftCenter);
        w10->SetComponentStyle(tsWindows10);
        w10->SetText(L"Flat and light");
        w10->SetControl(List(w10, {L"Flat and light", L"Second", L"Third"}));
        w10->DropDownHeader()->SetCaption(L"Windows 10 look");
        w10->DropDownFooter()->SetVisible(false);

        auto* black = Add<TVodDropDown>("black", 130, 100, L"Office 2016 Black:", lpLeftCenter);
        black->SetComponentStyle(tsOffice2016Black);
        black->SetText(L"Dark");
        black->SetControl(List(black, {L"Dark", L"Darker"}));
        black->DropDownHeader()->SetCaption(L"Office 2016 Black look");
        black->DropDownFooter()->Buttons()->Add()->SetCaption(L"Close");
        black->DropDownFooter()->Buttons()->Items(0)->SetModalResult(mrOk);

        auto* empty = Add<TVodDropDown>("empty", 130, 140, L"Name:", lpLeftTop);
        empty->SetEmptyText(L"Type a name ...");
        empty->SetEmptyTextStyle(TFontStyles{fsItalic});
        empty->SetControl(List(empty, {L"Anna", L"Bert"}));

        auto* disabled = Add<TVodDropDown>("disabled", 130, 180, L"Disabled:", lpLeftTop);
        disabled->SetText(L"Cannot open");
        disabled->SetEnabled(false);

        auto* money = Add<TVodDropDown>("money", 130, 220, L"Price:", lpLeftTop);
        money->SetEditType(etMoney);
        money->SetPrecision(2);
        money->SetPrefix(L"$ ");
        money->SetSuffix(L" USD");
        money->SetText(L"1234.5");
        money->SetControl(List(money, {L"9.99", L"19.99"}));

        auto* track = Add<TVodTrackBarDropDown>("track", 430, 40, L"Volume (track bar):", lpTopLeft);
        track->SetMax(20);
        track->SetPosition(7);
        track->SetText(L"7");

        auto* memo = Add<TVodMemoDropDown>("memo", 430, 100, L"Notes (memo):", lpTopLeft);
        memo->SetEditorEnabled(false);
        memo->MemoText()->SetText(L"First line of the notes\r\nsecond line\r\nthird line");
        memo->SetDropDownWidth(240);
        memo->DropDownHeader()->SetCaption(L"<b>Notes</b>");
        memo->DropDownFooter()->SetCaption(L"Esc cancels, Tab keeps");

        auto* border = Add<TVodDropDown>("border", 430, 160, L"Border", lpRightCenter);
        border->SetBorderColor(TColor(0x0000C0));
        border->SetFocusBorderColor(TColor(0xC00000));
        border->SetText(L"Red frame, blue when focused");
        border->SetControl(List(border, {L"One"}));

        auto* below = Add<TVodDropDown>("below", 430, 230, L"Centred below", lpBottomCenter);
        below->SetText(L"Label under the edit");
        below->SetControl(List(below, {L"One"}));

        auto* bottom = Add<TVodDropDown>("bottom", 130, 388, L"Bottom:", lpLeftTop);
        bottom->SetText(L"Opens upwards near the screen's bottom");
        bottom->SetControl(List(bottom, {L"One", L"Two", L"Three", L"Four", L"Five", L"Six"}));
        bottom->DropDownFooter()->SetVisible(false);
    }

private:
    template <class T>
    T* Add(const char* name, int x, int y, const String& caption, TLabelPosition pos)
    {
        T* d = CreateDropDown<T>(this);
        d->SetParent(this);
        d->SetBounds(x, y, 180, 22);
        d->SetLabelPosition(pos);
        d->SetLabelCaption(caption);
        Entries.push_back({name, d});
        d->OnDropUp = [name, d](TObject*, bool cancelled) {
            std::printf("UP %s %s %s\n", name, cancelled ? "cancelled" : "accepted", Utf8(d->Text()).c_str());
            std::fflush(stdout);
        };
        d->DropDownForm()->OnShow = [name, d](TObject*) {
            TDropDownForm* f = d->DropDownForm();
            std::printf("DROPPED %s %d %d %d %d\n", name, f->Left(), f->Top(), f->Width(), f->Height());
            std::fflush(stdout);
        };
        return d;
    }
    TListBox* List(TVodCustomDropDown* d, std::initializer_list<const wchar_t*> items)
    {
        auto* l = new TListBox(d);
        l->SetBounds(0, 0, 180, 90);
        l->SetBorderStyle(bsNone);
        for (auto* s : items) l->Items()->Add(s);
        l->OnClick = [d, l](TObject*) {
            if (l->ItemIndex() >= 0) d->SetText(l->Items()->Strings(l->ItemIndex()));
        };
        return l;
    }
};

}  // namespace

int main(int argc, char** argv)
{
    const int seconds = DemoSeconds(argc, argv);
    std::string open;
    bool bottom = false;
    std::string page;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--open") == 0 && i + 1 < argc) open = argv[++i];
        if (std::strcmp(argv[i], "--bottom") == 0) bottom = true;
        if (std::strcmp(argv[i], "--page") == 0 && i + 1 < argc) page = argv[++i];
    }
    if (!StartDemoBackend("dropdowndemo")) return 1;
    VodLibraryStartup();
    InitForms();
    if (page == "clock") {
        calcclock::TClockPage* clockPage = nullptr;
        Application->CreateForm(clockPage);
        clockPage->Show();
        RunDemoLoop(clockPage, seconds, [&] {
            for (const calcclock::TPageEntry& e : clockPage->Entries) {
                TDropDownEditButton* b = e.Edit->Button();
                TPoint a = b->ClientToScreen(TPoint{b->Width() / 2, b->Height() / 2});
                TPoint c = e.Edit->ClientToScreen(TPoint{30, e.Edit->ClientHeight() / 2});
                std::printf("AT %s %d %d %d %d\n", e.Name, a.X, a.Y, c.X, c.Y);
            }
        });
        for (const calcclock::TPageEntry& e : clockPage->Entries)
            std::printf("VALUE %s %s\n", e.Name, Utf8(e.Edit->Text()).c_str());
        std::fflush(stdout);
        DoneForms();
        VodLibraryShutdown();
        return 0;
    }
    TDemoForm* form = nullptr;
    Application->CreateForm(form);
    if (bottom) form->SetTop(Screen->Height() - form->Height() + 4);
    form->Show();
    RunDemoLoop(form, seconds, [&] {
        for (const TEntry& e : form->Entries) {
            TDropDownEditButton* b = e.Edit->Button();
            TPoint a = b->ClientToScreen(TPoint{b->Width() / 2, b->Height() / 2});
            TPoint c = e.Edit->ClientToScreen(TPoint{30, e.Edit->ClientHeight() / 2});
            std::printf("AT %s %d %d %d %d\n", e.Name, a.X, a.Y, c.X, c.Y);
        }
        for (const TEntry& e : form->Entries)
            if (open == e.Name) {
                e.Edit->SetFocus();
                e.Edit->ShowDropDown();
                WmUpdateAllWindows();
            }
    });
    for (const TEntry& e : form->Entries) std::printf("VALUE %s %s\n", e.Name, Utf8(e.Edit->Text()).c_str());
    std::fflush(stdout);
    DoneForms();
    VodLibraryShutdown();
    return 0;
}
