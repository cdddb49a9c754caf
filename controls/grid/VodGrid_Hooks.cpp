// The string grid's table of virtual operations: the cell hooks that decide
// a cell's colours, borders, alignment, editor, fixed state, editability
// and filter list through the grid's events, and the small entries that
// only raise the event after which they are named. Entries whose work
// another family of the grid does start here as least bodies, marked so.
#include <algorithm>

#include "controls/foundation/VodHintInfo.h"
#include "controls/foundation/VodUtil.h"
#include "controls/grid/GridHoverForm.h"
#include "controls/grid/VodGrid.h"
#include "controls/grid/editors/GridEditors.h"
#include "controls/markup/VurHTMLE.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/WindowManager.h"

namespace {

// An entry of the filter list for a cell text: an empty text becomes a tab
// and two double quotes; a text with a space becomes the text, a tab and
// the text in double quotes (inner quotes doubled).
String FilterEntry(const String& S)
{
    if (S.empty()) return L"\t\"\"";
    if (S.find(L' ') == String::npos) return S;
    String q;
    for (wchar_t c : S) {
        q += c;
        if (c == L'"') q += L'"';
    }
    return S + L"\t\"" + q + L"\"";
}

}  // namespace

// ---------------------------------------------------------------------------
// Entries that only raise their event or answer a fixed value

bool TVodStringGrid::HasCustomAlignment(Integer, Integer) { return false; }

void TVodStringGrid::ClickSort(Integer ACol)
{
    if (OnClickSort) OnClickSort(this, ACol);
}

void TVodStringGrid::ClickCell(Integer ARow, Integer ACol)
{
    if (OnClickCell) OnClickCell(this, ARow, ACol);
}

bool TVodStringGrid::AllowColChange() { return true; }
void TVodStringGrid::KeyUpHook() {}
TWinControl* TVodStringGrid::GetEditorHook() { return nullptr; }
bool TVodStringGrid::IsScrollLocked() { return false; }

void TVodStringGrid::HoverButtonClick(THoverButtonsCollectionItem* Button)
{
    if (OnHoverButtonClick) OnHoverButtonClick(this, FHoverButtonRow, Button);
}

void TVodStringGrid::ShowGridWindow()
{
    if (FButtonForm) FButtonForm->SetVisible(false);
}

String TVodStringGrid::GetFloatFormat(Integer ACol, Integer ARow)
{
    if (OnGetFloatFormat) {
        bool isFloat = false;
        String fmt = FFloatFormat;
        OnGetFloatFormat(this, ACol, ARow, isFloat, fmt);
        if (isFloat) return fmt;
    }
    return FFloatFormat;
}

void TVodStringGrid::ClipboardPasteDone(TGridRect CellRect)
{
    if (OnClipboardPasteDone) OnClipboardPasteDone(this, CellRect);
}

void TVodStringGrid::PrintGetPageNum(Integer PageNum, Integer PageColNum, String& PageNumString)
{
    if (OnPrintGetPageNum) OnPrintGetPageNum(this, PageNum, PageColNum, PageNumString);
}

void TVodStringGrid::CheckBoxClick(Integer ACol, Integer ARow, bool State)
{
    if (OnCheckBoxClick) OnCheckBoxClick(this, ACol, ARow, State);
}

void TVodStringGrid::DoFixedEdit(Integer ACol, Integer ARow, TGridFixedCellEditor& AEditor, TStrings* Values)
{
    if (OnFixedEdit) OnFixedEdit(this, ACol, ARow, AEditor, Values);
}

bool TVodStringGrid::IsSelectionVisible()
{
    if (!FShowSelection) return false;
    return !FAutoHideSelection || Focused();
}

void TVodStringGrid::EditorNotify(const String&, TPoint, Integer) {}

void TVodStringGrid::FilterDone()
{
    if (OnFilterDone) OnFilterDone(this);
}

void TVodStringGrid::FilterShow(Integer ACol, bool& Allow)
{
    if (OnFilterShow) OnFilterShow(this, ACol, Allow);
}

void TVodStringGrid::FilterClose(Integer ACol)
{
    if (OnFilterClose) OnFilterClose(this, ACol);
}

TFooterPanel* TVodStringGrid::CreateFooterPanel() { return new TFooterPanel(this); }

void TVodStringGrid::BeforeShowColumnHeaders() {}

void TVodStringGrid::UpdateColumnSize(Integer ACol, Integer& AWidth)
{
    if (OnUpdateColumnSize) OnUpdateColumnSize(this, ACol, AWidth);
}

void TVodStringGrid::UpdateAutoColumnSize(Integer ACol, Integer& AWidth)
{
    if (OnUpdateColumnSize) OnUpdateColumnSize(this, ACol, AWidth);
}

void TVodStringGrid::BeforePasteCells() {}
void TVodStringGrid::AfterPasteCells() {}

void TVodStringGrid::AllowWheelScroll(Integer, bool& Allow) { Allow = true; }
void TVodStringGrid::MouseDownHook() {}
void TVodStringGrid::EditorFormulaMode(bool) {}
void TVodStringGrid::MouseUpHook() {}
void TVodStringGrid::DesignBegin() {}

bool TVodStringGrid::IsDesignTime(bool& IsDesigning)
{
    IsDesigning = ComponentState().Contains(csDesigning);
    return IsDesigning;
}

void TVodStringGrid::DesignRefresh() { Invalidate(); }

void TVodStringGrid::DesignDisableEditing()
{
    TGridOptions o = Options();
    o.Exclude(goEditing);
    SetOptions(o);
}

void TVodStringGrid::EditorKeyDown(Word&, TShiftState) {}
void TVodStringGrid::EditorWMKeyDown(TMessage&) {}
void TVodStringGrid::DesignEnd() {}

void TVodStringGrid::MoveToFirstRow()
{
    if (RowCount() > FixedRows()) SetRow(FixedRows());
}

bool TVodStringGrid::ClipboardAllowed() { return FNavigation->AllowFmtClipboard(); }

void TVodStringGrid::FocusGrid()
{
    if (CanFocus()) SetFocus();
}

void TVodStringGrid::DesignHelperChanged(bool) {}

void TVodStringGrid::HoverButtonsShow(Integer X, Integer Y, bool& Allow)
{
    if (OnHoverButtonsShow) OnHoverButtonsShow(this, X, Y, Allow);
}

bool TVodStringGrid::CanShowFixedDropDown(Integer ACol)
{
    bool allow = true;
    if (OnCanShowFixedDropDown) OnCanShowFixedDropDown(this, ACol, allow);
    return allow;
}


void TVodStringGrid::DoIntelliZoom()
{
    if (OnIntelliZoom) OnIntelliZoom(this);
}

String TVodStringGrid::GetCheckTrueText(Integer) { return FCheckTrue; }
String TVodStringGrid::GetCheckFalseText(Integer) { return FCheckFalse; }

// ---------------------------------------------------------------------------
// Cell hooks

void TVodStringGrid::CanEditCell(Integer ACol, Integer ARow, bool& CanEdit)
{
    if (OnCanEditCell) OnCanEditCell(this, ARow, ACol, CanEdit);
}

void TVodStringGrid::CanSort(Integer ACol, bool& DoSort)
{
    if (OnCanSort) OnCanSort(this, ACol, DoSort);
}

void TVodStringGrid::SearchFooterAction(const String& Value, Integer ACol, Integer ARow, TSearchFooterAction SearchAction)
{
    if (OnSearchFooterAction) OnSearchFooterAction(this, Value, ACol, ARow, SearchAction);
}

void TVodStringGrid::SearchFooterSearchEnd(bool& ContinueFromStart)
{
    if (OnSearchFooterSearchEnd) OnSearchFooterSearchEnd(this, ContinueFromStart);
}

void TVodStringGrid::ButtonClick(Integer ACol, Integer ARow)
{
    if (OnButtonClick) OnButtonClick(this, ACol, ARow);
}

void TVodStringGrid::ExpandClick(Integer ACol, Integer ARow, bool Expanded)
{
    if (OnExpandClick) OnExpandClick(this, ACol, ARow, Expanded);
    if (ARow >= 0 && ARow < RowCount()) SetRowHeights(ARow, GetExpandHeight(ACol, ARow, Expanded));
}

void TVodStringGrid::ComboCloseUp(Integer ARow, Integer ACol)
{
    if (OnComboCloseUp) OnComboCloseUp(this, ARow, ACol);
}

void TVodStringGrid::ComboDropDown(Integer ARow, Integer ACol)
{
    // The selection field of the combo editor takes the cell's height less
    // its frame.
    if (FComboBox && FComboBox->HandleAllocated() && ARow >= 0 && ARow < RowCount())
        SendMessage(FComboBox->Handle(), CB_SETITEMHEIGHT, WPARAM(-1), LPARAM(RowHeights(ARow) - 6));
    if (OnComboDropDown) OnComboDropDown(this, ARow, ACol);
}

void TVodStringGrid::GetCellCursor(Integer ACol, Integer ARow, Integer X, Integer Y)
{
    if (!OnGetCellCursor) return;
    TCursor c = Screen->Cursor();
    (void)X;
    (void)Y;
    OnGetCellCursor(this, ACol, ARow, c);
    // The system cursor changes at once; the grid's Cursor stays.
    if (c != Cursor()) ::SetCursor(Screen->Cursors(c));
}

void TVodStringGrid::GridHint(Integer ACol, Integer ARow, String& Hint, String& WideHint)
{
    if (OnGridHint) {
        OnGridHint(this, ARow, ACol, Hint);
        FOfficeHint->Notes()->SetText(Hint);
    }
    if (OnGridWideHint) {
        OnGridWideHint(this, ARow, ACol, WideHint);
        if (!WideHint.empty()) Hint = PackWideText(WideHint);
    }
    if (OnOfficeHint) OnOfficeHint(this, ACol, ARow, FOfficeHint.get());
}

bool TVodStringGrid::CellBrushFromProperties(Integer ACol, Integer ARow)
{
    // A block's brush colour counts for cells without graphic and for the
    // icon, image list, check box, images, comment and radio button kinds;
    // bitmaps, progress bars and the other drawn kinds keep the painter's.
    static constexpr TCellTypes kTakesBrush{ctIcon,   ctNone,   ctImageList, ctCheckBox,
                                            ctEmpty,  ctImages, ctComment,   ctRadioButton};
    return kTakesBrush.Contains(GetCellType(ACol, ARow));
}

void TVodStringGrid::GetCellColor(Integer ACol, Integer ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont)
{
    if (FActiveCellShow) {
        const Integer d = DisplColIndex(ACol);
        if ((ARow == Row() && FixedCols() > 0 && d == FixedCols() - 1) ||
            (d == Col() && FixedRows() > 0 && ARow == FixedRows() - 1)) {
            if (AFont) AFont->Assign(FActiveCellFont.get());
            if (ABrush) ABrush->SetColor(FActiveCellColor);
        }
    }
    if (TCellProperties* p = CellPropertiesOf(ACol, ARow)) {
        if (ABrush && p->BrushColor() != clNone && CellBrushFromProperties(ACol, ARow)) ABrush->SetColor(p->BrushColor());
        if (AFont) {
            if (p->FontColor() != clNone) AFont->SetColor(p->FontColor());
            if (!p->FontStyle().Empty()) AFont->SetStyle(p->FontStyle());
            if (p->FontSize() != 0) AFont->SetHeight(p->FontSize());
            if (!p->FontName().empty()) AFont->SetName(p->FontName());
        }
    }
    if (OnGetCellColor) OnGetCellColor(this, ARow, ACol, AState, ABrush, AFont);
}

void TVodStringGrid::GetCellPrintColor(Integer ACol, Integer ARow, TGridDrawState AState, TBrush* ABrush,
                                       TFont* AFont)
{
    if (OnGetCellPrintColor) OnGetCellPrintColor(this, ARow, ACol, AState, ABrush, AFont);
}

void TVodStringGrid::GetCellBorder(Integer ACol, Integer ARow, TPen* APen, TCellBorders& Borders)
{
    if (FGrouping->HeaderUnderline() && IsNode(ARow) && ACol > 0) {
        Borders = TCellBorders{cbBottom};
        APen->SetColor(FGrouping->HeaderLineColor());
        APen->SetWidth(FGrouping->HeaderLineWidth());
    }
    if (FGrouping->SummaryLine() && IsSummary(ARow) && ACol > 0) {
        Borders = TCellBorders{cbTop};
        APen->SetColor(FGrouping->SummaryLineColor());
        APen->SetWidth(FGrouping->SummaryLineWidth());
    }
    if (OnGetCellBorder) OnGetCellBorder(this, ARow, ACol, APen, Borders);
}

void TVodStringGrid::GetCellPrintBorder(Integer ACol, Integer ARow, TPen* APen, TCellBorders& Borders)
{
    if (OnGetCellPrintBorder) OnGetCellPrintBorder(this, ARow, ACol, APen, Borders);
}

void TVodStringGrid::GetCellAlignment(Integer ACol, Integer ARow, TAlignment& HAlign, TVAlignment& VAlign)
{
    if (ACol == 0 && FMouseActions->HotmailRowSelect()) HAlign = taCenter;
    if (OnGetAlignment) OnGetAlignment(this, ARow, ACol, HAlign, VAlign);
}

void TVodStringGrid::GetCellFormat(Integer ACol, TSortStyle& AStyle, String& aPrefix, String& aSuffix)
{
    if (OnGetFormat) OnGetFormat(this, ACol, AStyle, aPrefix, aSuffix);
}

void TVodStringGrid::GetCellEditor(Integer ACol, Integer ARow, TEditorType& AEditor)
{
    if (OnGetEditorType) OnGetEditorType(this, ACol, ARow, AEditor);
}

void TVodStringGrid::GetCellEditorType(Integer ACol, Integer ARow, TEditorType& AEditor)
{
    if (OnGetEditorType) OnGetEditorType(this, ACol, ARow, AEditor);
}

bool TVodStringGrid::IsFixedEditorCell(Integer ACol, Integer ARow)
{
    if (!OnGetEditorType) return false;
    TEditorType e = edNormal;
    OnGetEditorType(this, ACol, ARow, e);
    return e == edNone;
}

void TVodStringGrid::IsFixedCell(Integer ACol, Integer ARow, bool& IsFixed)
{
    if (IsFixed) return;
    if (FFixedRowAlways && RowCount() == FFixedRowsMin && ARow >= 0 && ARow < FFixedRowsMin)
        IsFixed = true;
    else if (FFixedColAlways && ColCount() == FFixedColsMin && ACol >= 0 && ACol < FFixedColsMin)
        IsFixed = true;
    else if (ACol < FixedCols() || ARow < FixedRows())
        IsFixed = true;
    if (!IsFixed && OnIsFixedCell) OnIsFixedCell(this, ARow, ACol, IsFixed);
}

void TVodStringGrid::IsCellEditable(Integer ACol, Integer ARow, bool& CanEdit)
{
    const TPoint b = BaseCell(ACol, ARow);
    const bool inStore = b.X < TotalColCount();
    if (TCellProperties* p = CellPropertiesOf(b.X, b.Y); p && CanEdit) {
        CanEdit = !p->ReadOnly();
        if (!(Options().Contains(goEditing) || FSuspendEdit || FMouseActions->RangeSelectAndEdit())) CanEdit = false;
        if (inStore) CanEditCell(b.X, b.Y, CanEdit);
    } else if (inStore) {
        CanEditCell(b.X, b.Y, CanEdit);
    } else {
        CanEdit = true;
    }
}

void TVodStringGrid::IsPasswordCell(Integer ACol, Integer ARow, bool& IsPassword)
{
    if (OnIsPasswordCell) OnIsPasswordCell(this, ARow, ACol, IsPassword);
}

void TVodStringGrid::GetCellWordWrap(Integer ACol, Integer ARow, bool& WordWrap)
{
    if (OnGetWordWrap) OnGetWordWrap(this, ACol, ARow, WordWrap);
}

bool TVodStringGrid::HasComboBox(Integer ACol, Integer ARow, TEditorType Editor)
{
    if (OnHasComboBox) {
        bool has = false;
        OnHasComboBox(this, ACol, ARow, has);
        return has;
    }
    if (!FControlLook->DropDownAlwaysVisible()) return false;
    TEditorType e = Editor;
    if (e == edNone) {
        e = FDefaultEditor;
        GetCellEditorType(ACol, ARow, e);
    }
    return e == edComboEdit || e == edComboList;
}

bool TVodStringGrid::HasEditBtn(Integer ACol, Integer ARow, TEditorType Editor)
{
    if (OnHasEditBtn) {
        bool has = false;
        OnHasEditBtn(this, ACol, ARow, has);
        return has;
    }
    if (!FControlLook->DropDownAlwaysVisible()) return false;
    TEditorType e = Editor;
    if (e == edNone) {
        e = FDefaultEditor;
        GetCellEditorType(ACol, ARow, e);
    }
    return e == edEditBtn;
}

bool TVodStringGrid::HasSpinEdit(Integer ACol, Integer ARow, TEditorType Editor)
{
    if (ACol < FixedCols() || ARow < FixedRows()) return false;
    if (OnHasSpinEdit) {
        bool has = false;
        OnHasSpinEdit(this, ACol, ARow, has);
        return has;
    }
    if (!FControlLook->SpinButtonsAlwaysVisible()) return false;
    TEditorType e = Editor;
    if (e == edNone) {
        e = FDefaultEditor;
        GetCellEditor(ACol, ARow, e);
    }
    return e == edSpinEdit || e == edFloatSpinEdit || e == edTimeSpinEdit || e == edDateSpinEdit;
}

bool TVodStringGrid::HasFilterEdit(Integer ACol, Integer ARow)
{
    bool has = FFilterEdit->Enabled && ARow == FFilterEdit->Row;
    if (has && FFilterEdit->Columns == fdNormal)
        has = ACol >= FixedCols() && ACol <= TotalColCount() - FFixedRightCols - 1;
    if (has && OnHasFilterEdit) OnHasFilterEdit(this, ACol, has);
    return has;
}

void TVodStringGrid::FilterEditUpdate(Integer ACol, const String& Condition, TFilterType FilterType)
{
    if (OnFilterEditUpdate) OnFilterEditUpdate(this, ACol, Condition, FilterType);
}

void TVodStringGrid::GetCheckTrue(Integer ACol, Integer ARow, String& Value)
{
    Value = FCheckTrue;
    if (OnGetCheckTrue) OnGetCheckTrue(this, ACol, ARow, Value);
}

void TVodStringGrid::GetCheckFalse(Integer ACol, Integer ARow, String& Value)
{
    Value = FCheckFalse;
    if (OnGetCheckFalse) OnGetCheckFalse(this, ACol, ARow, Value);
}

void TVodStringGrid::CanAddRow(bool& CanAdd)
{
    if (OnCanAddRow) OnCanAddRow(this, CanAdd);
}

void TVodStringGrid::CanAddCol(bool& CanAdd)
{
    if (OnCanAddCol) OnCanAddCol(this, CanAdd);
}

void TVodStringGrid::CanInsertRow(Integer ARow, bool& CanInsert)
{
    if (OnCanInsertRow) OnCanInsertRow(this, ARow, CanInsert);
}

void TVodStringGrid::CheckBoxChange(Integer ACol, Integer ARow, bool State)
{
    if (OnCheckBoxChange) OnCheckBoxChange(this, ACol, ARow, State);
}

bool TVodStringGrid::RatingChange(Integer ACol, Integer ARow, double& NewRate)
{
    bool allow = true;
    if (OnRatingChange) OnRatingChange(this, ACol, ARow, NewRate, allow);
    return allow;
}

// ---------------------------------------------------------------------------
// The look for exports

void TVodStringGrid::GetCellDefaults(Integer ACol, Integer ARow, TFont* AFont, TBrush* ABrush, TColor& AColorTo,
                                     TColor& AMirrorColor, TColor& AMirrorColorTo, TAlignment& HA, TVAlignment& VA,
                                     bool& WW, TCellGradientDirection& GD)
{
    // The base grid's defaults seed the values the visual properties refine.
    TBaseGrid::GetCellDefaults(ACol, ARow, AFont, ABrush, AColorTo, AMirrorColor, AMirrorColorTo, HA, VA, WW, GD);
    GD = GradientVertical;
    TGridDrawState state;
    const bool useDisabled = FUseDisabledFont;
    FUseDisabledFont = false;
    try {
        GetVisualProperties(ACol, ARow, state, false, false, false, ABrush, AColorTo, AMirrorColor, AMirrorColorTo,
                            AFont, HA, VA, WW, GD);
    } catch (...) {
        FUseDisabledFont = useDisabled;
        throw;
    }
    FUseDisabledFont = useDisabled;
    const bool gradientBack = FBackGround->Display() == bdGradientHorz || FBackGround->Display() == bdGradientVert;
    bool fixed = false;
    IsFixedCell(ACol, ARow, fixed);
    if (fixed || FBands->Active() || gradientBack || state.Contains(gdSelected)) {
        if (ABrush) ABrush->SetColor(clNone);
        AColorTo = clNone;
    }
}

// ---------------------------------------------------------------------------
// The filter list of a column's drop-down

bool TVodStringGrid::BuildColumnFilterList(Integer ACol, bool FirstOnly, bool WithFilteredRows)
{
    if (FBlockFilterUpdate) return true;
    FFilterList->Clear();
    FFilterList->SetCaseSensitive(FFilterDropDown->CaseSensitive);
    FFilterList->SetSorted(false);
    if (FFilterDropDownAuto && (ACol >= FixedCols() || FFilterDropDownColumns == fdAll)) {
        // Sorted, the list ignores duplicates by itself; unsorted, entries are
        // tested for presence before they are added.
        FFilterList->SetSorted(FFilterDropDown->Sorted);
        bool checkMode = false;
        const Integer r0 = FixedRows();
        if (RowCount() > r0 + 1 && GetCellType(ACol, r0) == ctDataCheckBox && GetCellType(ACol, r0 + 1) == ctDataCheckBox &&
            !FFilterDropDown->TextChecked.empty() && !FFilterDropDown->TextUnChecked.empty()) {
            FFilterList->Add(FFilterDropDown->TextChecked);
            FFilterList->Add(FFilterDropDown->TextUnChecked);
            checkMode = true;
        } else {
            for (Integer r = r0; r <= RowCount() - FFixedFooters - 1; ++r) {
                if (IsNode(r)) continue;
                String plain;
                StripMarkup(GetCellEx(ACol, r), plain);
                const String e = FilterEntry(Trim(plain));
                if (FFilterList->IndexOf(e) < 0) FFilterList->Add(e);
                if (FirstOnly && FFilterList->Count() > 0) break;
            }
        }
        const bool filteredOut = FilteredOutRowCount() > 0;
        const bool more = !(FirstOnly && FFilterList->Count() > 0);
        if (more && (WithFilteredRows || (!FFilterIncremental && !checkMode &&
                                          (!FFilterDropDownMultiCol || FFilter->HasFilter(ACol) || filteredOut)))) {
            for (Integer i = 0; i < FilteredOutRowCount(); ++i) {
                Integer original = -1;
                String v = Trim(FilteredOutCell(i, ACol, original));
                if (OnGetDisplText) OnGetDisplText(this, ACol, original, v);
                const String e = FilterEntry(v);
                if (!(checkMode && (v == FCheckTrue || v == FCheckFalse))) FFilterList->Add(e);
                if (FirstOnly && FFilterList->Count() > 0) break;
            }
        }
        FFilterList->SetSorted(false);
        if (!FFilterDropDownClear.empty() && !FFilterDropDownCheck) FFilterList->Insert(0, FFilterDropDownClear);
        if (!FFilterDropDownCheckUnCheckAll.empty() && FFilterDropDownCheck)
            FFilterList->Insert(0, FFilterDropDownCheckUnCheckAll);
    }
    if (OnGetColumnFilter) OnGetColumnFilter(this, ACol, FFilterList.get());
    return FFilterList->Count() > 0;
}

// ---------------------------------------------------------------------------
// Least bodies of entries that other families of the grid complete. Each
// does the least that keeps the grid sound until its family lands.

void TVodStringGrid::SaveOriginalCellValue() {}

