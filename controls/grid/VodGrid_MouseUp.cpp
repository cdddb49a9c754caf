// The string grid's button up: the ends of what a press started, button
// releases, clicks on fixed cells and the sort click on a header.
#include "controls/grid/VodGrid.h"

// Least bodies until the release handling lands.
void TVodStringGrid::WMLButtonUp(TMessage& M) { TBaseGrid::WMLButtonUp(M); }
void TVodStringGrid::WMRButtonUp(TMessage& M) { TBaseGrid::WMRButtonUp(M); }
void TVodStringGrid::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    TBaseGrid::MouseUp(Button, Shift, X, Y);
}
void TVodStringGrid::ClickSortAt(Integer, Integer, Integer, Integer, TShiftState, bool) {}
