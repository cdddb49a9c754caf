// The string grid's edit lifecycle: whether a cell may become current and
// be edited (SelectCell), the editability tests, how an edit ends (the
// write-back of a special editor's value by its type, the editing-done
// sequence and the posted "GridEditDone") and how Escape restores the text
// the cell had when the edit began.
#include "controls/grid/VodGrid.h"
#include "controls/grid/editors/EditLink.h"
#include "controls/grid/editors/GridEditors.h"
#include "controls/grid/editors/VodRichEdit.h"

// ---------------------------------------------------------------------------
// Editability

bool TVodStringGrid::IsEditable(Integer ACol, Integer ARow)
{
    if (!Options().Contains(goEditing) && !MouseActions()->RangeSelectAndEdit() && !FEditDisable) return false;
    return CellEditable(ACol, ARow);
}

bool TVodStringGrid::CellEditable(Integer ACol, Integer ARow)
{
    const TPoint b = BaseCell(ACol, ARow);
    bool allow = true;
    IsCellEditable(b.X, b.Y, allow);
    bool fixed = false;
    IsFixedCell(b.X, b.Y, fixed);
    return allow && !fixed;
}

bool TVodStringGrid::IsFixed(Integer ACol, Integer ARow)
{
    if (ACol < 0 || ARow < 0) return false;
    const TPoint b = BaseCell(DisplColIndex(RealColIndex(ACol)), ARow);
    if (b.Y >= RowCount() - FFixedFooters) return true;
    if (b.X >= ColCount() - FFixedRightCols) return true;
    bool fixed = false;
    IsFixedCell(b.X, b.Y, fixed);
    return fixed;
}

bool TVodStringGrid::NeedsTabValidation()
{
    return Options().Contains(goTabs) || bool(OnCellValidate) || bool(OnCellValidateWide);
}

// ---------------------------------------------------------------------------
// Showing and hiding

void TVodStringGrid::ShowInplaceEdit() { ShowEditor(); }

void TVodStringGrid::HideInplaceEdit()
{
    if (!EditMode) return;
    HideEditor();
    HideEditorControl(Col(), Row());
    EditMode = false;
    SelectCell(Col(), Row());
}

void TVodStringGrid::ShowCellEdit()
{
    if (!Options().Contains(goEditing) && MouseActions()->RangeSelectAndEdit()) SetOptions(Options() + TGridOptions{goEditing});
    if (HandleAllocated()) SendMessage(Handle(), WM_KEYDOWN, VK_F2, 0);
}

void TVodStringGrid::HideCellEdit() { HideEditorControl(Col(), Row()); }

void TVodStringGrid::HideEditorControl(Integer, Integer) {}

void TVodStringGrid::EditingDone(Integer ACol, Integer ARow)
{
    if (OnEditingDone) OnEditingDone(this);
    HideInplaceEdit();
    if (HandleAllocated()) PostMessage(Handle(), GridUnit().GridEditDone, WPARAM(ACol), LPARAM(ARow));
}

void TVodStringGrid::EditDoneMessage(Integer ACol, Integer ARow)
{
    if (OnEditCellDone) OnEditCellDone(this, ACol, ARow);
    if (MouseActions()->EditOnDblClickOnly()) {
        HideInplaceEdit();
        EditMode = false;
        SetOptions(Options() - TGridOptions{goEditing});
    }
}

void TVodStringGrid::DoneInplaceEdit(Word Key, TShiftState Shift) {}

// ---------------------------------------------------------------------------
// Write-back

void TVodStringGrid::StoreEditorText(Integer ACol, Integer ARow, const String& Value)
{
    SetEditText(DisplColIndex(ACol), ARow, Value);
    SetCellEx(ACol, ARow, Value);
}

void TVodStringGrid::RestoreCellValue()
{
    SetCellEx(RealCol(), Row(), FCellCache);
    SetEditText(Col(), Row(), GetEditText(Col(), Row()));
}

// ---------------------------------------------------------------------------
// Cell changes

void TVodStringGrid::CellChanging(Integer ACol, Integer ARow, bool& Allow)
{
    if (FBlockCellChanging) return;
    if (ACol != Col() && OnColChanging) OnColChanging(this, Col(), ACol, Allow);
    if (ARow != Row() && OnRowChanging) OnRowChanging(this, Row(), ARow, Allow);
    if ((ACol != Col() || ARow != Row()) && !FDisableChange && OnCellChanging)
        OnCellChanging(this, Row(), Col(), ARow, ACol, Allow);
}

bool TVodStringGrid::SelectCell(Integer ACol, Integer ARow) { return TBaseGrid::SelectCell(ACol, ARow); }
