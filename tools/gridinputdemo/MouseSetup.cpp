// The input demo's mouse set-up (see MouseSetup.h).
#include "MouseSetup.h"

#include "controls/grid/VodGrid.h"
#include "platform/ui/Forms.h"

void SetUpGridInputMouse(TForm*, TVodStringGrid* Grid)
{
    if (!Grid) return;
    TGridOptions o = Grid->Options();
    o.Include(goColSizing);
    o.Include(goRowSizing);
    o.Include(goColMoving);
    Grid->SetOptions(o);
    Grid->SetEnhRowColMove(true);
    Grid->SetHintShowSizing(true);
    Grid->SortSettings()->SetShow(true);
    Grid->SortSettings()->UndoSort = true;
    Grid->SetHoverFixedCells(hfFixedRows);
    Grid->SetHoverRow(true);
    Grid->SetURLShow(true);
    Grid->ControlLook()->SetCheckAlwaysActive(true);
    Grid->MouseActions()->SetAutoSizeColOnDblClick(true);
    Grid->MouseActions()->SetAllSelect(true);
}
