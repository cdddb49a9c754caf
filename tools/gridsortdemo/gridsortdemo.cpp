// The string grid sorting and filtering on one window: a grid of 1,000
// rows sorted descending by its Amount column, the check drop-down of the
// Category column open with two values checked (the filter applied), the
// filter edit row with a condition typed into its editor, and a disjunct
// row selection. Once shown it prints "READY left top width height" and
// runs until closed or its time is up.
//
//   gridsortdemo [--seconds N]
#include <cstdio>

#include "GridCalcLabel.h"
#include "controls/foundation/LibraryStartup.h"
#include "controls/grid/VodGrid.h"
#include "controls/grid/editors/GridEditors.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/WindowManager.h"
#include "tools/ControlsDemo.h"

namespace {

const wchar_t* kCategories[] = {L"Books", L"Games", L"Music", L"Tools", L"Video"};
const wchar_t* kNames[] = {L"Alder", L"Birch", L"Cedar", L"Dogwood", L"Elm", L"Fir", L"Ginkgo", L"Hazel"};

class TDemoForm : public TForm {
public:
    explicit TDemoForm(TComponent* o) : TForm(o) {}
    TVodStringGrid* Grid = nullptr;

    void Fill()
    {
        SetCaption(L"Grid sorting and filtering");
        SetBounds(0, 0, 720, 560);
        SetColor(clWhite);
        Grid = new TVodStringGrid(this);
        Grid->SetParent(this);
        Grid->SetBounds(10, 10, 700, 440);
        Grid->SetColCount(5);
        Grid->SetRowCount(1002);
        Grid->SetFixedRows(2);
        Grid->SetDefaultColWidth(130);
        Grid->SetColWidths(0, 60);
        const wchar_t* heads[] = {L"#", L"Name", L"Amount", L"Category", L"Code"};
        for (Integer c = 0; c < 5; ++c) Grid->SetCells(c, 0, heads[c]);
        unsigned seed = 12345;
        auto next = [&seed]() {
            seed = seed * 1103515245u + 12345u;
            return (seed >> 16) & 0x7FFF;
        };
        for (Integer r = 2; r < 1002; ++r) {
            Grid->SetCells(0, r, IntToStr(r - 1));
            Grid->SetCells(1, r, String(kNames[next() % 8]) + L" " + IntToStr(Integer(next() % 100)));
            Grid->SetCells(2, r, IntToStr(Integer(next() % 10000)) + L"." + IntToStr(Integer(10 + next() % 90)));
            Grid->SetCells(3, r, kCategories[next() % 5]);
            Grid->SetCells(4, r, L"K-" + IntToStr(Integer(next() % 1000)));
        }
        // Sorted descending by the number column.
        Grid->SortSettings()->SetShow(true);
        Grid->SortSettings()->AutoFormat = false;
        Grid->SortSettings()->DefaultFormat = ssNumeric;
        Grid->Sort(2, sdDescending);
        // A disjunct selection of rows.
        Grid->MouseActions()->SetDisjunctRowSelect(true);
        for (Integer r : {3, 5, 6, 9}) Grid->SetRowSelect(r, true);
        // The filter edit row is the second fixed row.
        Grid->FilterEdit()->SetRow(1);
        Grid->FilterEdit()->SetEnabled(true);
        // The calculations of the selected rows over the Amount column.
        SetupGridCalcLabel(this, Grid, 2, TRect{10, 460, 710, 520});
    }

    // After the window is shown: the check drop-down of Category with two
    // values checked, and a condition typed into the filter edit row.
    void OpenFilters()
    {
        Grid->SetFilterDropDownAuto(true);
        Grid->SetFilterDropDownCheck(true);
        Grid->FilterDropDown()->Height = 110;
        if (Grid->ShowFilterDropDown(3)) {
            TDropCheckList* list = Grid->DropCheckList();
            for (const wchar_t* v : {L"Books", L"Music"}) {
                const Integer i = list->Items()->IndexOf(v);
                if (i < 0) continue;
                list->SetChecked(i, true);
                list->SetItemIndex(i);
                Grid->FilterCheckListApply(i);
            }
        }
        if (TGridTransEdit* ed = Grid->FixedEdit()) {
            const TRect rc = Grid->CellRect(1, 1);
            ed->FCol = 1;
            ed->FRow = 1;
            ed->FilterEdit = true;
            ed->SetBounds(rc.Left + 1, rc.Top + 1, rc.Width() - 2, rc.Height() - 2);
            ed->SetVisible(true);
            ed->SetText(L"*Cedar*");
        }
    }

    void Announce()
    {
        TDropCheckList* list = Grid->DropCheckList();
        const TPoint p = list->ClientToParent(TPoint{list->Width() - 6, list->Height() - 6}, this);
        std::printf("POINT checklist %d %d FFFFFF\n", p.X, p.Y);
        std::fflush(stdout);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    return RunControlsDemo<TDemoForm>("gridsortdemo", argc, argv, [](auto* f) { f->Fill(); },
                                 [](auto* f) { f->OpenFilters(); }, [](auto* f) { f->Announce(); });
}
