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
    if (!FEditing || FValidating) return true;
    FEditing = false;
    FValidating = true;
    bool valid = true;
    const Integer acol = RealColIndex(FOldCol < 0 ? Col() : FOldCol);
    const Integer arow = FOldRow < 0 ? Row() : FOldRow;
    FNewCellText = NewValue;
    try {
        if (NewValue != FOldCellText) {
            String value = NewValue;
            const bool advance = FNavigation->AdvanceOnEnter();
            FNavigation->SetAdvanceOnEnter(false);
            try {
                if (OnCellValidate) OnCellValidate(this, acol, arow, value, valid);
            } catch (...) {
                FNavigation->SetAdvanceOnEnter(advance);
                throw;
            }
            FNavigation->SetAdvanceOnEnter(advance);
            if (valid) RecalcFooter(acol);
            FNewCellText = value;
            if (valid) {
                // The handler's text is what the cell keeps.
                if (value != NewValue) SetCellEx(acol, arow, value);
            } else {
                // A refused value never reaches the cell: the old text (or
                // the handler's replacement) goes back.
                SetCellEx(acol, arow, value != NewValue ? value : FOldCellText);
                FNewCellText = value != NewValue ? value : FOldCellText;
                FLastValidation = false;
            }
        }
    } catch (...) {
        StoreCellValue(Col(), Row());
        FValidating = false;
        throw;
    }
    StoreCellValue(Col(), Row());
    FValidating = false;
    return valid;
}

bool TVodStringGrid::ValidateCellWide(const String& NewValue)
{
    (void)NewValue;
    return true;
}
