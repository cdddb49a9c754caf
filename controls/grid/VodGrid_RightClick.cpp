// The string grid's right button and double click, the editors of fixed
// cells, the header filter list, cell hints and the editors' texts.
#include "controls/grid/VodGrid.h"

// Least bodies until the handlers land.
void TVodStringGrid::WMRButtonDown(TMessage& M) { TBaseGrid::WMRButtonDown(M); }
void TVodStringGrid::WMLButtonDblClk(TMessage& M) { TBaseGrid::WMLButtonDblClk(M); }
void TVodStringGrid::StartFixedCellEdit(Integer, Integer, bool) {}
void TVodStringGrid::ShowFilterList(Integer, Integer) {}
void TVodStringGrid::PrepareCellHint(String&, THintInfo&) {}
String TVodStringGrid::GetEditText(Integer ACol, Integer ARow) { return TBaseGrid::GetEditText(ACol, ARow); }
void TVodStringGrid::SetEditText(Integer ACol, Integer ARow, const String& Value)
{
    TBaseGrid::SetEditText(ACol, ARow, Value);
}
