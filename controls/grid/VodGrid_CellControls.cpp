// Controls attached to cells follow their cells through every scroll,
// size, move, sort and hide; the cell scroll bar follows the current cell;
// Tab moves between the edit and combo elements of a cell's markup.
#include "controls/grid/VodGrid.h"
#include "controls/grid/editors/GridEditors.h"
#include "platform/ui/ComCtrls_Bars.h"

void TVodStringGrid::CellControlsUpdate(bool RebuildList)
{
    if (!HandleAllocated()) return;
    if (RebuildList) {
        FControlList->Clear();
        for (Integer c = 0; c < ColCount(); ++c)
            for (Integer r = 0; r < RowCount(); ++r)
                if (TControl* k = CellControls(c, r)) FControlList->AddControl(c, r, k);
    }
    // The cell scroll bar stays on the current cell, also without controls.
    if (FCellScrollBar && FCellScrollBar->Visible()) {
        const bool inView = Col() >= LeftCol() && Col() <= LeftCol() + VisibleColCount() && Row() >= TopRow() &&
                            Row() <= TopRow() + VisibleRowCount();
        if (inView) {
            const TRect r = CellRect(Col(), Row());
            FCellScrollBar->SetTop(r.Top);
            FCellScrollBar->SetLeft(r.Right - FCellScrollBar->Width());
            FCellScrollBar->SetHeight(r.Height());
        } else {
            FCellScrollBar->SetHeight(0);
        }
    }
    if (FNumCellControls == 0) return;
    for (Integer i = 0; i < FControlList->Count(); ++i) {
        TControlItem* it = FControlList->GetControl(i);
        TControl* k = it->Control();
        if (!k) continue;
        const Integer c = it->X(), r = it->Y();
        const bool fixed = c < FixedCols() || r < FixedRows();
        const bool outside = c < LeftCol() || c > LeftCol() + VisibleColCount() || r < TopRow() ||
                             r > TopRow() + VisibleRowCount() || c >= ColCount() || r >= RowCount();
        const TRect cr = CellRect(c, r);
        if ((outside && !fixed) || cr.Width() <= 0 || cr.Height() <= 0) {
            k->SetVisible(false);
            continue;
        }
        k->SetBounds(cr.Left, cr.Top, cr.Width() - 1, cr.Height() - 1);
        k->SetVisible(true);
        if (!outside && !fixed) {
            // The control lays itself out again.
            k->Invalidate();
            k->SetWidth(k->Width() + 1);
            k->SetWidth(k->Width() - 1);
        }
    }
}

// Moves to the next markup edit or combo of the cell; with none left the
// grid takes the focus. The placement of the next control's editor comes
// with the anchors family's StartControlEdit.
void TVodStringGrid::FocusNextCellControl(Integer, Integer, const String&)
{
    if (CanFocus()) SetFocus();
}
