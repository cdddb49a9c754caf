// What follows an edit: the cell remembered before it, the validation of the
// edited value before it is stored (the checker, OnCellValidate and the
// attached validator decide; a refused value never reaches the cell and the
// editor opens again), the footer recalculations, the changes of the
// fixed-cell editors, and the grid colours of a platform visual style.
#include "controls/grid/VodGrid.h"
#include "controls/grid/editors/GridEditors.h"
#include "controls/grid/vurcheck.h"
#include "platform/ui/StdCtrls_Edit.h"
#include "platform/ui/StdCtrls_List.h"

void TVodStringGrid::RecalcFooter(Integer ACol) { CalcFooter(ACol); }

void TVodStringGrid::RecalcAllFooters() { CalcFooter(-1); }

void TVodStringGrid::StoreCellValue(Integer ACol, Integer ARow)
{
    FOldCol = ACol;
    FOldRow = ARow;
    const Integer rc = RealColIndex(ACol);
    FOldCellText = GetGridCellText(rc, ARow);
    FOldCellTextWide = GetWideCells(rc, ARow);
    FOldModifiedValue = FGridModified;
}

void TVodStringGrid::Click()
{
    TBaseGrid::Click();
    FEntered = false;
    StoreCellValue(Col(), Row());
}

// ---------------------------------------------------------------------------
// Validation

void TVodStringGrid::ShowInvalidEntryBalloon()
{
    if (InvalidEntryTitle().empty() && InvalidEntryText().empty()) return;
    HWND target = nullptr;
    if (!FSpecialEditor && EditorMode() && InplaceEditor() && InplaceEditor()->HandleAllocated()) {
        target = InplaceEditor()->Handle();
    } else if (EditCtrl && EditCtrl->HandleAllocated()) {
        target = EditCtrl->Handle();
        // A combo box with an edit field shows the balloon on its edit.
        if (auto* combo = dynamic_cast<TCustomComboBox*>(EditCtrl); combo && combo->Style() != csDropDownList) {
            COMBOBOXINFO info;
            if (GetComboBoxInfo(target, &info) && info.hwndItem) target = info.hwndItem;
        }
    }
    if (!target) return;
    const String title = InvalidEntryTitle(), text = InvalidEntryText();
    EDITBALLOONTIP tip;
    tip.pszTitle = title.c_str();
    tip.pszText = text.c_str();
    tip.ttiIcon = int(InvalidEntryIcon());
    SendMessage(target, EM_SHOWBALLOONTIP, 0, LPARAM(&tip));
}

bool TVodStringGrid::ValidateCellRun(const String& NewValue)
{
    bool valid = true;
    // The remembered cell as the edit began: hiding and showing the editor
    // below may remember the cell anew.
    const Integer oldCol = FOldCol < 0 ? Col() : FOldCol, oldRow = FOldRow < 0 ? Row() : FOldRow;
    const bool oldModified = FOldModifiedValue;
    const String oldText = FOldCellText;
    const Integer acol = RealColIndex(oldCol);
    const Integer arow = oldRow;
    FNewCellText = NewValue;
    if (NewValue == oldText && !FAlwaysValidate) return true;

    const bool changed = NewValue != oldText;
    String value = NewValue;
    const bool advance = FNavigation->AdvanceOnEnter();
    FNavigation->SetAdvanceOnEnter(false);
    try {
        TVodStringGridCheck* checker = FCellChecker;
        if (checker && checker->AutoCorrect()) value = checker->Correct(acol, arow, value);
        if (OnCellValidate) OnCellValidate(this, acol, arow, value, valid);
        if (FCellValidator) FCellValidator->ValidateCell(acol, arow, valid, value);
        if (checker && checker->AutoMarkError()) value = checker->MarkError(acol, arow, value);
        if (value != oldText) {
            FGridModified = true;
            if (FixedCols() > 0) {
                SetRowModified(RealRowIndex(Row()), true);
                if (FShowModified->Enabled()) RepaintCell(0, Row());
            }
        }
        if (valid) RecalcFooter(acol);
        if (checker && checker->AutoMarkError()) value = checker->MarkError(acol, arow, value);
        if (valid && UndoRedo()) UndoRedo()->RegisterChange(acol, arow, oldText, value);
        if (valid && changed) CellsChanged(TRect{acol, arow, acol, arow});
    } catch (...) {
        FNavigation->SetAdvanceOnEnter(advance);
        throw;
    }
    FNavigation->SetAdvanceOnEnter(advance);
    FNewCellText = value;

    if (valid) {
        SetCellEx(acol, arow, value);
    } else {
        FLastValidation = false;
        if (!FValidateDblClickSaved) {
            FValidateDblClick = FMouseActions->EditOnDblClickOnly();
            FValidateDblClickSaved = true;
        }
        // The cell can be edited again without a double click.
        FMouseActions->SetEditOnDblClickOnly(false);
        // A special editor keeps itself open; the text editor is hidden and
        // shown again over the old cell.
        const bool textEditor = !FSpecialEditor;
        const bool handlerChanged = value != NewValue;
        if (!handlerChanged && EditMode) FValidating = false;
        if (textEditor) HideEditor();
        SetCellEx(acol, arow, handlerChanged ? value : oldText);
        if ((Col() != oldCol || Row() != oldRow) && oldCol < ColCount() && oldRow < RowCount())
            FocusCell(oldCol, oldRow, true);
        FValidating = false;
        FEditing = true;
        if (textEditor) {
            ShowInplaceEdit();
            if (!handlerChanged && Col() != oldCol) FEditCell = TGridCoord{-1, -1};
        }
        FGridModified = oldModified;
        ShowInvalidEntryBalloon();
    }
    FOldCellText = GetGridCellText(acol, arow);
    return valid;
}

bool TVodStringGrid::ValidateCell(const String& NewValue)
{
    if (!FEditing || FValidating) return true;
    FEditing = false;
    FValidating = true;
    bool valid = true;
    try {
        valid = ValidateCellRun(NewValue);
    } catch (...) {
        StoreCellValue(Col(), Row());
        FValidating = false;
        throw;
    }
    if (valid && FValidateDblClickSaved) {
        // The refused cell got a value that passes: the double-click rule
        // returns.
        FMouseActions->SetEditOnDblClickOnly(FValidateDblClick);
        FValidateDblClickSaved = false;
    }
    StoreCellValue(Col(), Row());
    FValidating = false;
    if (valid) HideFocusWindow();
    return valid;
}

bool TVodStringGrid::ValidateCellWide(const String& NewValue)
{
    if (!FEditing || FValidating) return true;
    FEditing = false;
    FValidating = true;
    bool valid = true;
    try {
        const Integer oldCol = FOldCol < 0 ? Col() : FOldCol, oldRow = FOldRow < 0 ? Row() : FOldRow;
        const bool oldModified = FOldModifiedValue;
        const String oldText = FOldCellTextWide;
        const Integer acol = RealColIndex(oldCol);
        const Integer arow = oldRow;
        if (NewValue != FOldCellTextWide || FAlwaysValidate) {
            String value = NewValue;
            RecalcFooter(acol);
            if (OnCellValidateWide) OnCellValidateWide(this, acol, arow, value, valid);
            if (valid) SetWideCells(acol, arow, value);
            if (FShowModified->Enabled() && FixedCols() > 0 && value != oldText) {
                SetRowModified(RealRowIndex(Row()), true);
                RepaintCell(0, Row());
            }
            if (!valid) {
                FLastValidation = false;
                const bool handlerChanged = value != NewValue;
                const bool textEditor = !FSpecialEditor;
                if (textEditor) HideEditor();
                SetWideCells(acol, arow, handlerChanged ? value : oldText);
                if ((Col() != oldCol || Row() != oldRow) && oldCol < ColCount() && oldRow < RowCount())
                    FocusCell(oldCol, oldRow, true);
                FValidating = false;
                FEditing = true;
                if (textEditor) {
                    ShowInplaceEdit();
                    if (!handlerChanged && Col() != oldCol) FEditCell = TGridCoord{-1, -1};
                }
                FGridModified = oldModified;
            }
            FOldCellTextWide = GetWideCells(acol, arow);
        }
    } catch (...) {
        // A handler's exception must not leave validation switched off.
        StoreCellValue(Col(), Row());
        FValidating = false;
        throw;
    }
    StoreCellValue(Col(), Row());
    FValidating = false;
    return valid;
}

// ---------------------------------------------------------------------------
// The fixed-cell editors

void TVodStringGrid::FixedEditChange(TObject* Sender)
{
    auto* e = dynamic_cast<TGridTransEdit*>(Sender);
    if (e && OnEditChange) OnEditChange(this, e->FCol, e->FRow, e->Text());
}

void TVodStringGrid::FixedComboChange(TObject* Sender)
{
    auto* c = dynamic_cast<TGridTransCombo*>(Sender);
    if (!c || !OnComboChange) return;
    const Integer i = c->ItemIndex();
    const String sel = i >= 0 && i < c->Items()->Count() ? c->Items()->Strings(i) : String();
    OnComboChange(this, c->FCol, i, sel, c->FRow);
}

// ---------------------------------------------------------------------------
// Colours of a platform visual style

void TVodStringGrid::ApplyVCLStyleColors(bool RestoreDefaults)
{
    FUseVCLStyles = false;
    if (IsCustomStyleActive()) {
        const TPlatformStyle& style = ActivePlatformStyle();
        const bool client = FStyleElements.Contains(seClient);
        FUseVCLStyles = client;
        auto given = [](TColor c) { return c != clNone; };
        if (client && given(style.NormalCell.Fill)) SetColor(style.NormalCell.Fill);
        if (given(style.NormalCell.Border)) SetGridLineColor(style.NormalCell.Border);
        if (given(style.FixedCell.Border)) SetGridFixedLineColor(style.FixedCell.Border);
        SetOptions(Options() - TGridOptions{goFixedVertLine, goFixedHorzLine});
        if (client) {
            if (given(style.NormalCell.Text)) Font()->SetColor(style.NormalCell.Text);
            if (given(style.SelectedCell.Text)) SetSelectionTextColor(style.SelectedCell.Text);
            if (given(style.FixedCell.Text)) FixedFont()->SetColor(style.FixedCell.Text);
        }
        return;
    }
    if (!RestoreDefaults) return;
    SetColor(clWindow);
    SetGridLineColor(TColor(0xC0C0C0));
    SetGridFixedLineColor(TColor(0x808080));
    SetOptions(Options() + TGridOptions{goFixedVertLine, goFixedHorzLine});
    Font()->SetColor(clBlack);
}
