// The calculation label of the sort demo: the sum, average, minimum,
// maximum, standard deviation and distinct count of one column over the
// grid's selected rows, kept up to date while rows are selected.
#pragma once

#include "controls/grid/VodGrid.h"
#include "platform/ui/StdCtrls.h"

// The statistics of column ACol over the selected rows (the disjunct row
// selection when it is on, else the rows of the selection rectangle), as
// the label shows them.
String GridCalcSummary(TVodStringGrid* Grid, Integer ACol);

// Makes the label on Parent at Bounds, fills it and refreshes it whenever a
// row's selection flag changes (a handler the grid had is still called).
TLabel* SetupGridCalcLabel(TWinControl* Parent, TVodStringGrid* Grid, Integer ACol, const TRect& Bounds);
