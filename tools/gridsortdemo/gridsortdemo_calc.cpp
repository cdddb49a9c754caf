// The selection's calculations on the demo's window: nothing yet; the
// grid's calculations family puts its label here.
#include "GridSortDemo.h"

void SetupCalcLabel(TForm*, TVodStringGrid*) {}
