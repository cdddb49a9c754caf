// The grid's special inplace editors on one window: a string grid with one
// row per special editor type (its name, then a cell edited by it), and
// beside it the grid's editing controls standing alone: a spin edit, an
// edit with a unit, a labelled combo box and a metro date picker.
//
// Once the window shows, the editor of one row opens dropped down (the
// colour picker; GRIDEDITDEMO_OPEN=<row> picks another). Before "READY" it
// prints "POINT" lines the smoke test checks; when the window closes it
// prints "CELL <row> <text>" for every edited cell.
//
//   grideditdemo [--seconds N]
#include <cstdio>
#include <cstdlib>

#include "controls/foundation/LibraryStartup.h"
#include "controls/grid/VodGrid.h"
#include "controls/grid/VurComboBox.h"
#include "controls/grid/VurDateTimePicker.h"
#include "controls/grid/VurEditBtn.h"
#include "controls/grid/VurSpinEdit.h"
#include "controls/grid/editors/GridDropDownEditors.h"
#include "controls/grid/editors/GridEditors.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/WindowManager.h"
#include "tools/DemoLoop.h"

namespace {

struct TRowKind {
    const wchar_t* Name;
    TEditorType Type;
    const wchar_t* Value;
};

const TRowKind kRows[] = {
    {L"Spin", edSpinEdit, L"42"},
    {L"Float spin", edFloatSpinEdit, L"3.5"},
    {L"Time spin", edTimeSpinEdit, L"10:30:00"},
    {L"Combo", edComboEdit, L"Banana"},
    {L"Combo list", edComboList, L"Cherry"},
    {L"Edit button", edEditBtn, L"press F4"},
    {L"Unit", edUnitEditBtn, L"12kg"},
    {L"Check box", edCheckBox, L"agreed"},
    {L"Button", edButton, L"Run"},
    {L"Date", edDateEdit, L"2026-12-11"},
    {L"Date and time", edDateTimeEdit, L"2026-12-11 09:30"},
    {L"Track bar", edTrackbarDropDown, L"40"},
    {L"Memo", edMemoDropDown, L"a note"},
    {L"Calculator", edCalculatorDropDown, L"12"},
    {L"Time picker", edTimePickerDropDown, L"08:15"},
    {L"Detail", edDetailDropDown, L"Second"},
    {L"Multi-column", edGridDropDown, L"Oslo"},
    {L"Colour", edColorPickerDropDown, L""},
    {L"Image", edImagePickerDropDown, L""},
};
constexpr int kRowCount = int(sizeof(kRows) / sizeof(kRows[0]));

class TEditForm : public TForm {
public:
    explicit TEditForm(TComponent* o) : TForm(o) {}
    TVodStringGrid* Grid = nullptr;
    TVurComboBox* Combo = nullptr;

    void Fill()
    {
        SetCaption(L"Grid editors");
        SetBorderStyle(bsSingle);
        SetAutoScroll(false);
        SetBounds(0, 0, 760, 560);
        SetClientWidth(740);
        SetClientHeight(520);
        SetColor(clWhite);
        FormatSettings.ShortDateFormat = L"yyyy-mm-dd";
        FormatSettings.DateSeparator = L'-';
        Grid = CreateGrid<TVodStringGrid>(this);
        Grid->SetParent(this);
        Grid->SetBounds(10, 10, 420, 500);
        Grid->SetColCount(2);
        Grid->SetRowCount(kRowCount + 1);
        Grid->SetDefaultRowHeight(24);
        Grid->SetColWidths(0, 120);
        Grid->SetColWidths(1, 270);
        Grid->SetOptions(Grid->Options() + TGridOptions{goEditing, goTabs});
        Grid->SetCells(0, 0, L"Editor");
        Grid->SetCells(1, 0, L"Value");
        for (int r = 0; r < kRowCount; ++r) {
            Grid->SetCells(0, r + 1, kRows[r].Name);
            Grid->SetCells(1, r + 1, kRows[r].Value);
        }
        Grid->Combobox()->Items()->Clear();
        for (const wchar_t* s : {L"Apple", L"Banana", L"Cherry", L"Grape"}) Grid->Combobox()->Items()->Add(s);
        Grid->BtnUnitEdit()->Units()->Clear();
        for (const wchar_t* s : {L"kg", L"g", L"t"}) Grid->BtnUnitEdit()->Units()->Add(s);
        Grid->OnGetEditorType = [](TObject*, Integer ACol, Integer ARow, TEditorType& E) {
            if (ACol == 1 && ARow >= 1 && ARow <= kRowCount) E = kRows[ARow - 1].Type;
            else E = edNone;
        };
        Grid->OnEllipsClick = [](TObject*, Integer, Integer, String& S) { S = S + L" (clicked)"; };
        TGridDetailPickerDropDown* d = Grid->DetailPickerDropDown();
        for (const wchar_t* s : {L"First", L"Second", L"Third"}) d->Items()->Add()->SetCaption(s);
        TGridGridDropDown* g = Grid->GridDropDown();
        g->Columns()->Add();
        for (const wchar_t* s : {L"Oslo", L"Lima", L"Perth"}) g->Items()->Add()->Text()->Add(s);

        // The grid's editing controls standing alone.
        auto* spin = new TVurSpinEdit(this);
        spin->SetParent(this);
        spin->SetBounds(450, 30, 120, 24);
        spin->SetValue(7);
        auto* unit = new TVurUnitEditBtn(this);
        unit->SetParent(this);
        unit->SetBounds(450, 70, 160, 24);
        for (const wchar_t* s : {L"mm", L"cm", L"m"}) unit->Units()->Add(s);
        unit->SetTextAndUnit(L"25cm");
        auto* combo = new TVurComboBox(this);
        Combo = combo;
        combo->SetParent(this);
        combo->SetBounds(520, 120, 150, 24);
        for (const wchar_t* s : {L"Apple", L"Banana"}) combo->Items()->Add(s);
        combo->SetItemIndex(0);
        auto* date = new TVurDateTimePicker(this);
        date->SetParent(this);
        date->SetBounds(450, 170, 160, 24);
        date->SetMetroStyle(true);
        date->SetDate(EncodeDate(2026, 12, 11));
    }

    // The combo's label measures its caption on the window, so it comes
    // once the form shows.
    void LabelCombo()
    {
        Combo->SetLabelCaption(L"Fruit");
        Combo->SetLabelPosition(VurComboBox::lpLeftCenter);
    }

    void OpenOne()
    {
        int row = 18;  // the colour picker
        if (const char* e = std::getenv("GRIDEDITDEMO_OPEN")) row = std::atoi(e);
        if (row < 1 || row > kRowCount) return;
        Grid->SetFocus();
        Grid->FocusCell(1, row);
        Grid->ShowInplaceEdit();
        if (auto* dd = dynamic_cast<TVodCustomDropDown*>(Grid->EditorControlShown())) dd->ShowDropDown();
    }

    void Announce()
    {
        std::printf("POINT background 735 515 ffffff\n");
        std::fflush(stdout);
    }

    void PrintCells()
    {
        for (int r = 1; r <= kRowCount; ++r)
            std::printf("CELL %d %s\n", r, UTF8Encode(Grid->Cells(1, r)).c_str());
        std::fflush(stdout);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    if (!StartDemoBackend("grideditdemo")) return 2;
    VodLibraryStartup();
    InitForms();
    TEditForm* form = nullptr;
    Application->CreateForm(form);
    form->Fill();
    form->Show();
    bool opened = false;
    RunDemoLoop(form, DemoSeconds(argc, argv), [form, &opened] {
        form->Announce();
        if (!opened) {
            form->LabelCombo();
            form->OpenOne();
        }
        opened = true;
    });
    form->PrintCells();
    DoneForms();
    VodLibraryShutdown();
    return 0;
}
