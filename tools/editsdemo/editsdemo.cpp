// The edit boxes on one window: an edit of each type with prefix and suffix
// and labels in several placements, the prompt, the error zigzag and the
// error colours, the link look, flat (underline and soft frame), coloured
// and hot borders, a lookup list open under its edit, and a lookup edit
// with a completion selected, and an edit and a date-and-time picker
// with bevels. Once shown it prints "POINT" checks and
// "READY left top width height" and runs until closed or its time is up.
//
//   editsdemo [--seconds N]
#include <cstdio>

#include "controls/edits/VodDateTimePicker.h"
#include "controls/edits/VodEdit.h"
#include "platform/base/SysUtils.h"
#include "controls/edits/vodlued.h"
#include "controls/foundation/LibraryStartup.h"
#include "platform/ui/Forms.h"
#include "platform/ui/WindowManager.h"
#include "tools/DemoLoop.h"

namespace {

using namespace VodEdit;

class TDemoForm : public TForm {
public:
    explicit TDemoForm(TComponent* owner) : TForm(owner)
    {
        SetCaption(L"Edit boxes");
        SetBorderStyle(bsSingle);
        SetLeft(8);
        SetTop(8);
        SetClientWidth(900);
        SetClientHeight(470);
        SetColor(TColor(0xF0F0F0));

        // Column 1: one edit per type, labels on the left.
        int y = 16;
        auto add = [&](int x, TVodEditType type, const wchar_t* label, TLabelPosition pos, int width = 150) {
            auto* e = new TVodEdit(this);
            e->SetParent(this);
            e->SetBounds(x, y, width, 22);
            e->SetEditType(type);
            e->SetLabelPosition(pos);
            e->SetLabelCaption(label);
            e->Init();
            y += 34;
            return e;
        };
        add(110, etString, L"String", lpLeftCenter)->SetEmptyText(L"type a name here");
        TVodEdit* n = add(110, etNumeric, L"Numeric", lpLeftCenter);
        n->SetPrefix(L"# ");
        n->SetText(L"42");
        TVodEdit* f = add(110, etFloat, L"Float", lpLeftCenter);
        f->SetPrecision(2);
        f->SetSuffix(L" kg");
        f->SetText(L"3.14159");
        TVodEdit* m = add(110, etMoney, L"Money", lpLeftCenter);
        m->SetPrecision(2);
        m->SetPrefix(L"$ ");
        m->SetText(L"1234567.5");
        add(110, etHex, L"Hex", lpLeftCenter)->SetText(L"ff80");
        add(110, etRange, L"Range", lpLeftCenter)->SetText(L"1-3,5,7-9");
        add(110, etUppercase, L"Upper", lpLeftCenter)->SetText(L"CAPITALS");
        add(110, etMixedCase, L"Mixed", lpLeftCenter)->SetText(L"Ronald McDonald");
        add(110, etPassword, L"Password", lpLeftCenter)->SetText(L"secret");
        TVodEdit* err = add(110, etNumeric, L"1..10", lpLeftCenter);
        err->SetMinValue(1);
        err->SetMaxValue(10);
        err->SetShowError(true);
        err->SetText(L"99");
        FErrorEdit = err;
        TVodEdit* zig = add(110, etString, L"Spelling", lpLeftCenter);
        zig->SetText(L"the quick bruwn fox");
        zig->SetErrorMarkerPos(10);
        zig->SetErrorMarkerLen(5);
        TVodEdit* link = add(110, etString, L"Link", lpLeftCenter);
        link->SetShowURL(true);
        link->SetText(L"www.example.org");

        // Column 2: label placements and looks.
        y = 36;
        TVodEdit* top = add(330, etString, L"Label on top", lpTopLeft, 170);
        top->SetText(L"top left");
        y += 14;
        TVodEdit* right = add(330, etString, L"right", lpRightCenter, 120);
        right->SetText(L"label right");
        TVodEdit* below = add(330, etString, L"Label below, centred", lpBottomCenter, 170);
        below->SetText(L"bottom centre");
        y += 14;
        TVodEdit* flat = add(330, etString, L"Flat", lpRightCenter, 140);
        flat->SetText(L"underlined");
        flat->SetFlat(true);
        TVodEdit* soft = add(330, etString, L"Soft", lpRightCenter, 140);
        soft->SetText(L"soft frame");
        soft->SetFlat(true);
        soft->SetSoftBorder(true);
        soft->SetFlatLineColor(TColor(0xC08040));
        TVodEdit* bord = add(330, etString, L"Border", lpRightCenter, 140);
        bord->SetText(L"coloured frame");
        bord->SetBorderColor(TColor(0x2080F0));
        TVodEdit* hot = add(330, etString, L"Hot", lpRightCenter, 140);
        hot->SetText(L"sunken edge");
        hot->SetBorder3D(true);
        TVodEdit* dis = add(330, etString, L"Disabled", lpRightCenter, 140);
        dis->SetText(L"not now");
        dis->SetEnabled(false);

        // Column 3: the lookup edit completing, the lookup list open.
        y = 36;
        FCompleting = new TVodLUEdit(this);
        FCompleting->SetParent(this);
        FCompleting->SetBounds(600, y, 220, 22);
        FCompleting->SetHideSelection(false);
        FCompleting->SetLabelPosition(lpTopLeft);
        FCompleting->SetLabelCaption(L"Lookup edit (completing)");
        for (const wchar_t* s : {L"Velmora Video Downloader", L"Vienna", L"Venice"}) FCompleting->LookupItems()->Add(s);
        FCompleting->Init();
        y += 60;
        FLookup = new TVodEdit(this);
        FLookup->SetParent(this);
        FLookup->SetBounds(600, y, 220, 22);
        FLookup->SetLabelPosition(lpTopLeft);
        FLookup->SetLabelCaption(L"Lookup list");
        FLookup->Lookup()->SetEnabled(true);
        FLookup->Lookup()->SetDisplayCount(5);
        FLookup->Lookup()->SetShowValue(true);
        const wchar_t* names[] = {L"Alabama", L"Alaska", L"Albania", L"Algeria", L"Alberta", L"Andorra", L"Boston"};
        const wchar_t* codes[] = {L"AL", L"AK", L"ALB", L"DZ", L"AB", L"AD", L"BOS"};
        for (int i = 0; i < 7; ++i) FLookup->Lookup()->AddPair(names[i], codes[i]);
        FLookup->Init();

        // Bevels: a raised-and-lowered tile round an edit, and a soft
        // lowered bevel round a picker whose companion makes room for it.
        auto* bevelled = new TVodEdit(this);
        bevelled->SetParent(this);
        bevelled->SetBounds(600, 300, 220, 26);
        bevelled->SetLabelPosition(lpTopLeft);
        bevelled->SetLabelCaption(L"Bevelled edit");
        bevelled->SetBevelWidth(2);
        bevelled->SetBevelKind(bkTile);
        bevelled->SetText(L"inside a bevel");
        bevelled->Init();
        auto* picker = new TVodDateTimePicker(this);
        picker->SetParent(this);
        picker->SetBounds(600, 370, 260, 28);
        picker->SetKind(dkDateTime);
        picker->SetTimeFormat(L"HH:mm:ss");
        picker->SetLabelPosition(VodDateTimePicker::lpTopLeft);
        picker->SetLabelCaption(L"Bevelled date and time");
        picker->SetBevelInner(bvNone);
        picker->SetBevelOuter(bvLowered);
        picker->SetBevelKind(bkSoft);
        picker->SetDateTime(EncodeDateTime(2026, 12, 11, 9, 30, 0, 0));
    }

    // Types into the two lookup edits once the window shows.
    void Act()
    {
        HWND c = FCompleting->Handle();
        FCompleting->SetFocus();
        SendMessage(c, WM_KEYDOWN, 'V', 0);
        SendMessage(c, WM_CHAR, 'V', 0);
        SendMessage(c, WM_KEYUP, 'V', 0);
        SendMessage(c, WM_KEYDOWN, 'E', 0);
        SendMessage(c, WM_CHAR, 'e', 0);
        SendMessage(c, WM_KEYUP, 'E', 0);
        FLookup->SetFocus();
        SendMessage(FLookup->Handle(), WM_CHAR, 'a', 0);
        SendMessage(FLookup->Handle(), WM_CHAR, 'l', 0);
    }

    TVodEdit* FErrorEdit = nullptr;
    TVodLUEdit* FCompleting = nullptr;
    TVodEdit* FLookup = nullptr;
};

}  // namespace

int main(int argc, char** argv)
{
    if (!StartDemoBackend("editsdemo")) return 2;
    VodLibraryStartup();
    InitForms();
    TDemoForm* form = nullptr;
    Application->CreateForm(form);
    form->Show();
    Application->ProcessMessages();
    form->Act();
    RunDemoLoop(form, DemoSeconds(argc, argv), [&] {
        // The error colour inside the out-of-range edit, the form's colour.
        const TPoint e{form->FErrorEdit->Left() + form->FErrorEdit->Width() - 10, form->FErrorEdit->Top() + 11};
        std::printf("POINT error-colour %d %d ff0000\n", e.X, e.Y);
        std::printf("POINT form %d %d f0f0f0\n", 880, 460);
    });
    DoneForms();
    VodLibraryShutdown();
    return 0;
}
