// Anchors and markup controls in the string grid's cells: clicks, hovering
// and the live editors of EDIT, PASSWORD, MASK and COMBO controls.
#include "controls/grid/VodGrid.h"

// Least bodies until the anchors land.
bool TVodStringGrid::AnchorClickAt(Integer, Integer, Integer, Integer) { return false; }
void TVodStringGrid::AnchorHoverAt(Integer, Integer, Integer, Integer) {}
void TVodStringGrid::StartControlEdit(const String&, const String&, Integer, Integer, Integer, TRect, const String&,
                                      const String&)
{
}
void TVodStringGrid::ControlEditDone() {}
void TVodStringGrid::ControlComboSelect(TObject*) {}
