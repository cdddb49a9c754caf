// Cell validation after editing. For now only the footer recalculations
// that validation, pasting and the fills call.
#include "controls/grid/VodGrid.h"

void TVodStringGrid::RecalcFooter(Integer ACol) { CalcFooter(ACol); }

void TVodStringGrid::RecalcAllFooters() { CalcFooter(-1); }
