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

void TVodStringGrid::HideEditorControl(Integer ACol, Integer ARow)
{
    if (ComponentState().Contains(csDestroying)) return;
    FSpecialEditor = false;
    FBlockKill = true;
    EditCtrl = nullptr;
    ACol = RealColIndex(ACol);
    FStartEditChar = 0;
    auto hide = [](TWinControl* e) {
        if (!e) return;
        e->SetEnabled(false);
        e->SetVisible(false);
    };
    auto T = [&](const String& s) { StoreEditorText(ACol, ARow, s); };
    switch (EditControl) {
    case edComboEdit:
    case edComboList:
        if (EditMode && FComboBox) {
            EditMode = false;
            T(FComboBox->Text());
            hide(FComboBox);
        }
        break;
    case edEditBtn:
    case edNumericEditBtn:
    case edFloatEditBtn:
    case edMaskEditBtn:
        if (EditMode && FBtnEdit) {
            EditMode = false;
            T(FBtnEdit->Text());
            hide(FBtnEdit);
        }
        break;
    case edUnitEditBtn:
    case edNumericUnitEditBtn:
    case edFloatUnitEditBtn:
        if (FBtnUnitEdit) {
            // Value and unit joined without a blank.
            T(FBtnUnitEdit->Text() + FBtnUnitEdit->UnitID());
            hide(FBtnUnitEdit);
        }
        EditMode = false;
        break;
    case edCheckBox:
        hide(FCheckBoxEditor);
        EditMode = false;
        break;
    case edButton:
        hide(FBtn);
        EditMode = false;
        break;
    case edCustom:
        if (FControlLook->DropDownAlwaysVisible()) GetCellEditor(ACol, ARow, EditControl);
        if (FEditLink) {
            T(FEditLink->GetEditorValue());
            if (FEditLink->EditStyle == esInplace) FEditLink->SetVisible(false);
            FEditLink->RestoreWinProc();
        }
        EditMode = false;
        break;
    case edRichEdit:
        if (FInplaceRichEdit) {
            T(RichToString(FInplaceRichEdit));
            hide(FInplaceRichEdit);
        }
        EditMode = false;
        break;
    default:
        // The default editor's types write through the platform editor; the
        // spin, date and drop-down editors come with the grid's inplace
        // editor classes.
        break;
    }
    if (EditControl != edNormal && EditControl != edCapital && EditControl != edValidChars && FEditActive)
        EditingDone(ACol, ARow);
    FBlockKill = false;
    FEditActive = false;
}

void TVodStringGrid::DoneInplaceEdit(Word Key, TShiftState Shift)
{
    FBlockFocus = true;
    FEditing = false;
    HideInplaceEdit();
    if (Key == VK_TAB || (Key >= VK_LEFT && Key <= VK_DOWN)) {
        Word k = Key;
        KeyDown(k, Shift);
    }
    const bool always = FNavigation->AlwaysEdit();
    FNavigation->SetAlwaysEdit(false);
    if (CanFocus()) SetFocus();
    // Enter advances by the navigation settings once the keys family's
    // AdvanceToNextCell is there; until then it stays on the cell.
    FNavigation->SetAlwaysEdit(always);
    FBlockFocus = false;
}

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

// ---------------------------------------------------------------------------
// SelectCell

bool TVodStringGrid::SelectCell(Integer ACol, Integer ARow)
{
    if (ACol < 0 || ARow < 0) return false;
    // A forced selection (the keys family's Tab move) answers True at once
    // once that family lands.
    if (!Parent()) return true;
    const Integer rc = RealColIndex(ACol);
    FEditText = GetCellEx(rc, ARow);
    // The footer row of a floating footer in fixed-last-row style is never
    // current.
    if (FFloatingFooter->Visible() && FFloatingFooter->FooterStyle() == fsFixedLastRow && ARow == RowCount() - 1)
        return false;
    if (IsMergedNonBaseCell(rc, ARow)) {
        const TPoint b = BaseCell(rc, ARow);
        const Integer dc = DisplColIndex(b.X);
        // A base in a hidden column has no display cell of its own: moving
        // to "its" column would land on this cell again, for ever.
        if (RealColIndex(dc) != b.X) return false;
        if (dc != Col() || b.Y != Row()) {
            TCustomGrid::FocusCell(dc, b.Y, true);
            RepaintCell(dc, b.Y);
            if (FMouseActions->DirectEdit() || (FControlLook->DropDownAlwaysVisible() && HasComboBox(b.X, b.Y)))
                ShowInplaceEdit();
        }
        return false;
    }
    if (ACol == 0 && HasNodes() && !Options().Contains(goRowSelect)) return false;
    if (FUseEnabledRows && FNavigation->SkipDisabledRows() && !GetRowEnabled(ARow)) return false;

    // Editability of the new cell.
    const bool editing = Options().Contains(goEditing);
    const bool rangeEdit = FMouseActions->RangeSelectAndEdit();
    if (IsClickControlCell(rc, ARow)) {
        bool allow = true;
        IsCellEditable(rc, ARow, allow);
        if (!FEditDisable) FEditDisable = !allow && (editing || rangeEdit);
        if (!editing && !Options().Contains(goRowSelect) && allow) {
            FEditChange = true;
            SetOptions(Options() + TGridOptions{goEditing});
        }
    } else {
        bool allow = editing || FEditDisable;
        IsCellEditable(rc, ARow, allow);
        if (FMouseActions->DirectEdit()) {
            EditControl = FDefaultEditor;
            TEditorType e = FDefaultEditor;
            GetCellEditorType(rc, ARow, e);
            if (e == edNone) allow = false;
        }
        if (FMouseActions->EditOnDblClickOnly()) allow = false;
        if (allow) {
            FEditDisable = false;
            if (!editing) {
                FEditChange = true;
                if (!EditMode) StoreCellValue(ACol, ARow);
                TGridOptions o = Options();
                if (o.Contains(goRowSelect) && rangeEdit) o.Exclude(goRowSelect);
                o.Include(goEditing);
                SetOptions(o);
            }
        } else {
            if (editing) {
                EditMode = false;
                FEditDisable = true;
                FEditChange = true;
                SetOptions(Options() - TGridOptions{goEditing});
                if (EditorMode()) SetEditorMode(false);
            }
        }
    }

    // Leaving the old cell.
    bool result;
    const bool specialRuns = EditMode && FSpecialEditor && EditCtrl;
    if (!specialRuns) {
        if (FSpecialEditor && FNavigation->AlwaysEdit()) HideInplaceEdit();
        bool allow = true;
        CellChanging(ACol, ARow, allow);
        if (IsFixed(ACol, ARow) || !allow)
            result = (allow && Options().Contains(goRowSelect)) ||
                     (FFixedRowAlways && RowCount() == FixedRows());
        else
            result = TBaseGrid::SelectCell(ACol, ARow);
    } else {
        const bool valid = ValidateCell(GetCellEx(RealCol(), Row()));
        bool allow = true;
        if (valid) CellChanging(ACol, ARow, allow);
        result = valid && allow && TBaseGrid::SelectCell(ACol, ARow);
    }
    if (!result) return false;

    if (FActiveCellShow) {
        RepaintCell(Col(), Row());
        RepaintCell(ACol, ARow);
    }
    if (ActiveRowShow()) {
        InvalidateRow(Row());
        InvalidateRow(ARow);
    }
    if (!ComponentState().Contains(csLoading)) {
        if (ARow != FOldRowSel && OnRowChanged) OnRowChanged(this, FOldRowSel, ARow);
        FOldRowSel = ARow;
    }
    FCellCache = GetEditText(ACol, ARow);
    return true;
}
