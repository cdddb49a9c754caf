// Enhanced row and column moving: move checks and feedback while dragging a
// header, and the grid's own data following the platform's moves.
#include "controls/grid/VodGrid.h"

// Least bodies until the moving lands.
void TVodStringGrid::ColumnMoved(Integer FromIndex, Integer ToIndex) { TBaseGrid::ColumnMoved(FromIndex, ToIndex); }
void TVodStringGrid::RowMoved(Integer FromIndex, Integer ToIndex) { TBaseGrid::RowMoved(FromIndex, ToIndex); }
void TVodStringGrid::MoveFeedback(Integer, Integer, Integer, Integer) {}
void TVodStringGrid::HideMoveArrows() {}
