// Cell selection, selection listeners and change notification.
#include "controls/grid/VodGrid.h"

// (least: announces changed cells to the event; the registered notifiers and
// the footer recalculation come with the selection family)
void TVodStringGrid::CellsChanged(TRect R)
{
    if (OnCellsChanged) OnCellsChanged(this, R);
}
