// Finding, replacing and validating in the string grid on one window: a grid
// of streets and towns with its search footer open, "an" typed into the
// search edit (the first match made current) and every match highlighted;
// a label that tells how many cells a Replace changed; and a second grid
// whose OnCellValidate refused a value, its editor open again on the old
// text with the balloon saying why. Once shown it prints "POINT" checks and
// "READY left top width height" and runs until closed or its time is up.
//
//   gridfinddemo [--seconds N]
#include <cstdio>

#include "controls/foundation/LibraryStartup.h"
#include "controls/grid/GridSearchPanel.h"
#include "controls/grid/VodGrid.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/WindowManager.h"
#include "tools/DemoLoop.h"

namespace {

const wchar_t* kStreets[] = {L"Anchor Street", L"Banner Road", L"Canal Street", L"Dane Lane",
                             L"Elm Street",    L"Fennel Way",  L"Grange Street", L"Hanover Square"};
const wchar_t* kTowns[] = {L"Santander", L"Bergen", L"Annecy", L"Oslo", L"Lausanne", L"Ghent"};

class TDemoForm : public TForm {
public:
    explicit TDemoForm(TComponent* o) : TForm(o) {}
    TVodStringGrid* Grid = nullptr;
    TVodStringGrid* Checked = nullptr;
    TLabel* Info = nullptr;

    void Fill()
    {
        SetCaption(L"Grid find, replace and validation");
        SetBounds(0, 0, 760, 560);
        SetColor(clWhite);
        Grid = new TVodStringGrid(this);
        Grid->SetParent(this);
        Grid->SetBounds(10, 10, 740, 330);
        Grid->SetColCount(4);
        Grid->SetRowCount(21);
        Grid->SetDefaultColWidth(170);
        Grid->SetColWidths(0, 40);
        const wchar_t* heads[] = {L"#", L"Street", L"Town", L"Note"};
        for (Integer c = 0; c < 4; ++c) Grid->SetCells(c, 0, heads[c]);
        for (Integer r = 1; r < 21; ++r) {
            Grid->SetCells(0, r, IntToStr(r));
            Grid->SetCells(1, r, String(kStreets[r % 8]) + L" " + IntToStr(r * 3));
            Grid->SetCells(2, r, kTowns[(r * 5) % 6]);
            Grid->SetCells(3, r, r % 4 == 0 ? L"Delivery by hand" : L"Standard");
        }
        // Replace "Street" by "St." wherever it stands, whatever its case.
        const Integer replaced = Grid->Replace(L"street", L"St.", TFindParams{});

        Info = new TLabel(this);
        Info->SetParent(this);
        Info->SetBounds(10, 350, 740, 20);
        Info->SetCaption(L"Replace \"street\" by \"St.\": " + IntToStr(replaced) + L" cells changed");

        Checked = new TVodStringGrid(this);
        Checked->SetParent(this);
        Checked->SetBounds(10, 380, 740, 150);
        Checked->SetColCount(3);
        Checked->SetRowCount(4);
        Checked->SetDefaultColWidth(200);
        Checked->SetColWidths(0, 40);
        Checked->SetCells(1, 0, L"Item");
        Checked->SetCells(2, 0, L"Quantity (digits only)");
        const wchar_t* items[] = {L"Bolts", L"Nuts", L"Washers"};
        for (Integer r = 1; r < 4; ++r) {
            Checked->SetCells(1, r, items[r - 1]);
            Checked->SetCells(2, r, IntToStr(r * 40));
        }
        Checked->SetOptions(Checked->Options() + TGridOptions{goEditing});
        Checked->SetInvalidEntryTitle(L"Invalid quantity");
        Checked->SetInvalidEntryText(L"Type digits only");
        Checked->SetInvalidEntryIcon(ieError);
        Checked->OnCellValidate = [](TObject*, Integer, Integer, String& Value, bool& Valid) {
            for (wchar_t ch : Value)
                if (ch < L'0' || ch > L'9') Valid = false;
        };
    }

    // After the window is shown: the search typed with the highlight on,
    // and a refused value in the second grid.
    void Work()
    {
        Grid->SearchFooter()->SetVisible(true);
        Application->ProcessMessages();
        TSearchPanel* p = Grid->SearchPanel();
        p->HighLightButton()->SetDown(true);
        // Typed into the focused edit: each character searches as it comes.
        p->EditControl()->SetFocus();
        for (wchar_t ch : String(L"an")) SendMessage(p->EditControl()->Handle(), WM_CHAR, WPARAM(ch), 0);
        Checked->SetFocus();
        Checked->FocusCell(2, 2, true);
        Checked->ShowInplaceEdit();
        if (TInplaceEdit* e = Checked->InplaceEditor()) {
            e->SetText(L"12x");
            SendMessage(e->Handle(), WM_KEYDOWN, VK_RETURN, 0);
        }
    }

    void Announce()
    {
        // The search edit's face and the form's background.
        TRetEdit* e = Grid->SearchPanel()->EditControl();
        const TPoint ep = e->ClientToParent(TPoint{e->Width() - 8, e->Height() / 2}, this);
        std::printf("POINT searchedit %d %d FFFFFF\n", ep.X, ep.Y);
        std::printf("POINT background %d %d FFFFFF\n", ClientWidth() - 4, 374);
        // For people reading the run: what was found, replaced and refused.
        std::fprintf(stderr, "found %d %d; %ls; refused cell keeps %ls, editor %s\n", Grid->SearchCell().X,
                     Grid->SearchCell().Y, Info->Caption().c_str(), Checked->Cells(2, 2).c_str(),
                     Checked->EditorMode() ? "open" : "closed");
        std::fflush(stdout);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    if (!StartDemoBackend("gridfinddemo")) return 2;
    VodLibraryStartup();
    InitForms();
    TDemoForm* form = nullptr;
    Application->CreateForm(form);
    form->Fill();
    form->Show();
    form->Work();
    RunDemoLoop(form, DemoSeconds(argc, argv), [form] { form->Announce(); });
    DoneForms();
    VodLibraryShutdown();
    return 0;
}
