// Combo boxes in their looks (themed, flat with the underline, a coloured
// border, own button colours, a prompt, disabled flat), date-time pickers
// (date, time, date and time with its companion, metro look, a null date),
// and the edits with a button. Once painted and shown it prints its pixel
// checks ("POINT ...") and "READY left top width height", and runs until
// closed or its time is up.
//
//   combodemo [--seconds N]
#include <cstdio>

#include "controls/edits/VodCombo.h"
#include "controls/edits/VodDateTimePicker.h"
#include "controls/edits/VodDirectoryEdit.h"
#include "controls/edits/VodEdBtn.h"
#include "controls/foundation/LibraryStartup.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/Forms.h"
#include "tools/DemoLoop.h"

namespace {

const wchar_t* const kSites[] = {L"Auto", L"Velmora", L"Streamhall", L"Clipworks", L"Vidnest"};

class TDemoForm : public TForm {
public:
    explicit TDemoForm(TComponent* owner) : TForm(owner)
    {
        SetCaption(L"Combo boxes, date-time pickers and edits with a button");
        SetBorderStyle(bsSingle);
        SetLeft(8);
        SetTop(8);
        SetClientWidth(760);
        SetClientHeight(400);
        SetColor(TColor(0xF4F0EC));
        Font()->SetName(L"Tahoma");
        Font()->SetSize(9);

        Themed = Combo(110, 20, L"Themed");
        Themed->SetItemIndex(1);
        Flat = Combo(110, 60, L"Flat");
        Flat->SetFlat(true);
        Flat->SetFlatLineColor(clMaroon);
        Flat->SetItemIndex(2);
        Bordered = Combo(110, 100, L"Border");
        Bordered->SetBorderColor(TColor(0xC07020));
        Bordered->SetItemIndex(3);
        Coloured = Combo(110, 140, L"Colours");
        Coloured->SetButtonColor(TColor(0x2080E0));
        Coloured->SetButtonColorHot(TColor(0x40A0FF));
        Coloured->SetButtonColorDown(TColor(0x1060B0));
        Coloured->SetButtonBorderColor(TColor(0x1060B0));
        Coloured->SetButtonTextColor(clWhite);
        Coloured->SetButtonTextColorDown(clWhite);
        Coloured->SetItemIndex(0);
        Prompt = Combo(110, 200, L"Site (prompt)");
        Prompt->SetLabelPosition(VodCombo::lpTopLeft);
        Prompt->SetEmptyText(L"Choose a site...");
        Prompt->SetEmptyTextStyle(TFontStyles{fsItalic});
        Disabled = Combo(110, 240, L"Disabled");
        Disabled->SetFlat(true);
        Disabled->SetItemIndex(1);
        Disabled->SetEnabled(false);

        const TDateTime when = EncodeDateTime(2026, 12, 11, 14, 35, 0, 0);
        DateP = Picker(480, 20, L"Date", dkDate, when);
        DateP->SetFormat(L"dd/MM/yyyy");
        TimeP = Picker(480, 60, L"Time", dkTime, when);
        TimeP->SetFormat(L"HH:mm:ss");
        Both = Picker(480, 100, L"Date and time", dkDateTime, when);
        Both->SetFormat(L"dd/MM/yyyy");
        Both->SetTimeFormat(L"HH:mm");
        Metro = Picker(480, 140, L"Metro", dkDate, when);
        Metro->SetFormat(L"dd MMM yyyy");
        Metro->SetMetroStyle(true);
        Metro->SetBorderColor(TColor(0x2080E0));
        Metro->SetButtonColor(TColor(0x2080E0));
        Metro->SetButtonColorHot(TColor(0x40A0FF));
        Metro->SetButtonColorDown(TColor(0x1060B0));
        Metro->SetButtonTextColor(clWhite);
        Metro->SetButtonBorderColor(TColor(0x2080E0));
        Null = Picker(480, 180, L"No date yet", dkDate, when);
        Null->SetFormat(L"dd/MM/yyyy");
        Null->SetNullDateFormat(L"'(none)'");
        Null->SetDateTime(0);

        Push = EditBtn(110, 300, L"Push button");
        Push->SetText(L"press F4 or the button");
        Push->SetButtonCaption(L"...");
        Drop = EditBtn(110, 340, L"Drop-down");
        Drop->SetButtonStyle(VodEdBtn::bsDropDown);
        Drop->SetText(L"drop-down style");
        Custom = EditBtn(480, 260, L"Own colours");
        Custom->SetText(L"custom button colours");
        Custom->SetButtonCaption(L"Go");
        Custom->Button()->ButtonColor = TColor(0x2080E0);
        Custom->Button()->ButtonColorHot = TColor(0x40A0FF);
        Custom->Button()->ButtonColorDown = TColor(0x1060B0);
        Custom->Button()->ButtonTextColor = clWhite;
        Folder = new TVodDirectoryEdit(this);
        Folder->SetParent(this);
        Folder->SetBounds(480, 300, 230, 24);
        Folder->SetLabelCaption(L"Save to");
        Folder->SetEditorEnabled(false);
        Folder->SetText(L"/tmp");
        Folder->SetButtonCaption(L"...");
    }

    TVodEditBtn* EditBtn(int x, int y, const wchar_t* label)
    {
        auto* e = new TVodEditBtn(this);
        e->SetParent(this);
        e->SetBounds(x, y, x < 300 ? 170 : 230, 24);
        e->SetLabelCaption(label);
        return e;
    }

    TVodComboBox* Combo(int x, int y, const wchar_t* label)
    {
        auto* c = new TVodComboBox(this);
        c->SetParent(this);
        c->SetBounds(x, y, 170, 24);
        for (auto* s : kSites) c->Items()->Add(s);
        c->SetLabelCaption(label);
        return c;
    }
    TVodDateTimePicker* Picker(int x, int y, const wchar_t* label, TVodDateTimeKind kind, TDateTime value)
    {
        auto* p = new TVodDateTimePicker(this);
        p->SetParent(this);
        p->SetBounds(x, y, 230, 24);
        p->SetKind(kind);
        p->SetDateTime(value);
        p->SetLabelCaption(label);
        return p;
    }

    TVodComboBox *Themed, *Flat, *Bordered, *Coloured, *Prompt, *Disabled;
    TVodDateTimePicker *DateP, *TimeP, *Both, *Metro, *Null;
    TVodEditBtn *Push, *Drop, *Custom;
    TVodDirectoryEdit* Folder;
};

void Point(const char* name, TControl* c, int dx, int dy, TColor colour)
{
    Integer v = ColorToRGB(colour);
    std::printf("POINT %s %d %d %02x%02x%02x\n", name, c->Left() + dx, c->Top() + dy, v & 0xFF, (v >> 8) & 0xFF,
                (v >> 16) & 0xFF);
}

}  // namespace

int main(int argc, char** argv)
{
    if (!StartDemoBackend("combodemo")) return 2;
    VodLibraryStartup();
    InitForms();
    TDemoForm* form = nullptr;
    Application->CreateForm(form);
    form->Show();
    RunDemoLoop(form, DemoSeconds(argc, argv), [form] {
        Point("coloured-combo-button", form->Coloured, form->Coloured->Width() - 5, 4, TColor(0x2080E0));
        Point("flat-underline", form->Flat, 20, form->Flat->Height() - 1, clMaroon);
        Point("combo-border", form->Bordered, 0, 8, TColor(0xC07020));
        Point("metro-border", form->Metro, 40, 0, TColor(0x2080E0));
        Point("metro-button", form->Metro, form->Metro->Width() - 6, 6, TColor(0x2080E0));
        TEditButton* b = form->Custom->Button();
        Point("custom-edit-button", form->Custom, b->Left() + 2, b->Top() + 2, TColor(0x2080E0));
    });
    DoneForms();
    VodLibraryShutdown();
    return 0;
}
