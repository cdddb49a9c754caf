// The grid's dimension properties re-declared over the platform grid's, the
// fixed footer rows and right columns, the simple property writers and the
// floating footer's calculation of the last row.
#include <algorithm>

#include "controls/grid/GridFooter.h"
#include "controls/grid/VodGrid.h"
#include "controls/grid/editors/GridEditors.h"
#include "controls/markup/VurHTMLE.h"
#include "controls/foundation/VodStyleIF.h"

namespace {

// Extends a size list so that it holds an entry for each line up to Count
// (the list is indexed by line: SuppressRow and SuppressColumn write by
// index).
template <class F>
void ExtendSizes(TIntList* L, Integer Count, F Size)
{
    for (Integer i = L->Count(); i < Count; ++i) L->Add(Size(i));
}

}  // namespace

// ---------------------------------------------------------------------------
// Counts

bool TVodStringGrid::Loading() const { return ComponentState().Contains(csLoading); }

void TVodStringGrid::SetRowCount(Integer Value)
{
    const Integer oldCount = RowCount();
    // 1. A grid of fixed rows only shows its selection again; a parked
    // selection moves to the first normal cell.
    if (TCustomGrid::FixedRows() >= RowCount() && FFixedRowAlways && IsSelectionHidden()) UnHideSelection();
    if (FCurrent.X == ColCount() || FCurrent.Y == RowCount()) {
        FCurrent = {TCustomGrid::FixedCols(), TCustomGrid::FixedRows()};
        FAnchor = FCurrent;
    }
    // 2. The platform count; every new row's height joins the suppressed
    // heights.
    TCustomGrid::SetRowCount(Value);
    ExtendSizes(FSuppressRowSizes.get(), RowCount(), [this](Integer i) { return RowHeights(i); });
    // 3. The fixed rows asked for come back; the largest count.
    if (FFixedRowAlways && FFixedRowsMin < RowCount() && TCustomGrid::FixedRows() != FFixedRowsMin)
        SetFixedRows(FFixedRowsMin);
    FMaxRowCount = std::max(FMaxRowCount, Value);
    FNormalRowCount = Value;
    // 4. Footer and scroll bars.
    UpdateFooter();
    UpdateProportionalVScroll();
    UpdateScrollBarVisibility(false);
    // 5. The floating footer's row stays the last row.
    const Integer newCount = RowCount();
    if (FFloatingFooter && FFloatingFooter->Visible() && newCount != oldCount && oldCount > 0)
        MoveFooterRow(oldCount - 1, newCount - 1);
}

void TVodStringGrid::MoveFooterRow(Integer From, Integer To)
{
    // Texts and property blocks move (the old row keeps no reference to a
    // block the new row now owns); a block the target row held is freed
    // first, so none is lost.
    const Integer cols = TotalColCount();
    for (Integer c = 0; c < cols; ++c) {
        if (HasCellProperties(c, To)) FreeCellProperties(c, To);
        TStringGrid::SetCells(c, To, TStringGrid::Cells(c, From));
        TStringGrid::SetObjects(c, To, TStringGrid::Objects(c, From));
        if (auto* p = CellPropertiesOf(c, To)) p->SetOwnerRow(To);
        TStringGrid::SetCells(c, From, String());
        TStringGrid::SetObjects(c, From, nullptr);
    }
    CalcFooter(-1);
}

void TVodStringGrid::SetColCount(Integer Value)
{
    const Integer old = ColCount();
    TCustomGrid::SetColCount(Value);
    const size_t n = size_t(ColCount() + FNumHidden);
    FVisibleCol.resize(n, true);
    FAllColWidths.resize(n, DefaultColWidth());
    if (FFixedColAlways && FFixedColsMin < ColCount() && TCustomGrid::FixedCols() != FFixedColsMin)
        SetFixedCols(FFixedColsMin);
    FMaxColCount = std::max(FMaxColCount, Value);
    ExtendSizes(FSuppressColSizes.get(), ColCount(), [this](Integer i) { return ColWidths(i); });
    UpdateFooter();
    UpdateSearchPanel();
    if (ColCount() != old) SetBounds(Left(), Top(), Width(), Height());
    UpdateProportionalHScroll();
    UpdateScrollBarVisibility(false);
}

Integer TVodStringGrid::FixedRows() const
{
    if (TCustomGrid::FixedRows() == 0 && FFixedRowAlways) return 1;
    return TCustomGrid::FixedRows();
}

void TVodStringGrid::SetFixedRows(Integer Value)
{
    if (Value >= RowCount() && FFixedRowAlways) Value = RowCount() - 1;
    TCustomGrid::SetFixedRows(Value);
    if (!Loading()) FFixedRowsMin = Value;
}

Integer TVodStringGrid::FixedCols() const
{
    if (TCustomGrid::FixedCols() == 0 && FFixedColAlways) return 1;
    return TCustomGrid::FixedCols();
}

void TVodStringGrid::SetFixedCols(Integer Value)
{
    if (Value >= ColCount() && FFixedColAlways) Value = ColCount() - 1;
    TCustomGrid::SetFixedCols(Value);
    if (!Loading()) FFixedColsMin = Value;
}

void TVodStringGrid::SetFixedRowAlways(bool Value) { FFixedRowAlways = Value; }
void TVodStringGrid::SetFixedColAlways(bool Value) { FFixedColAlways = Value; }

Integer TVodStringGrid::FixedColWidth() const { return ColWidths(0); }

void TVodStringGrid::SetFixedColWidth(Integer Value)
{
    if (Loading() || Value == DefaultColWidth()) return;
    for (Integer c = 0; c < TCustomGrid::FixedCols(); ++c) SetColWidths(c, Value);
}

void TVodStringGrid::SetFixedRowHeight(Integer Value)
{
    FFixedRowHeight = Value;
    if (Loading() || Value == DefaultRowHeight()) return;
    for (Integer r = 0; r < TCustomGrid::FixedRows(); ++r) SetRowHeights(r, Value);
}

void TVodStringGrid::SetDefaultRowHeight(Integer Value)
{
    TCustomGrid::SetDefaultRowHeight(Value);
    if (ComponentState().Contains(csDesigning)) FFixedRowHeight = Value;
    if (FFloatingFooter) FFloatingFooter->SetHeight(Value);
}

// ---------------------------------------------------------------------------
// Current cell, top row, selection

void TVodStringGrid::SetRowEx(Integer Value)
{
    if (Col() < 0 || Col() >= ColCount()) {
        FCurrent = {TCustomGrid::FixedCols(), Value};
        FAnchor = FCurrent;
        if (Options().Contains(goRowSelect)) TCustomGrid::SetSelection({TCustomGrid::FixedCols(), Value, ColCount() - 1, Value});
    }
    TCustomGrid::SetRow(Value);
    FAECol = -1;
    FAERow = -1;
    if (Value != FOldRowSel && OnRowChanged) {
        OnRowChanged(this, FOldRowSel, Value);
        FOldRowSel = Value;
    }
    // Two grids that follow each other stop after one round.
    if (!FSyncing && FSyncGrid && FSyncGrid->Grid() && FSyncGrid->SelectionRow()) {
        FSyncing = true;
        if (auto* g = dynamic_cast<TVodStringGrid*>(FSyncGrid->Grid()))
            g->SetRow(Value);
        else if (Value < FSyncGrid->Grid()->RowCount())
            FSyncGrid->Grid()->SetRow(Value);
        FSyncing = false;
    }
    FDisSelection = Selection();
}

void TVodStringGrid::SetCol(Integer Value)
{
    TCustomGrid::SetCol(Value);
    FDisSelection = Selection();
    FAECol = -1;
    FAERow = -1;
    if (!FSyncing && FSyncGrid && FSyncGrid->Grid() && FSyncGrid->SelectionColumn()) {
        FSyncing = true;
        if (auto* g = dynamic_cast<TVodStringGrid*>(FSyncGrid->Grid()))
            g->SetCol(Value);
        else if (Value < FSyncGrid->Grid()->ColCount())
            FSyncGrid->Grid()->SetCol(Value);
        FSyncing = false;
    }
}

void TVodStringGrid::SetTopRow(Integer Value)
{
    if (Value >= TCustomGrid::FixedRows() && Value <= RowCount() - 1) TCustomGrid::SetTopRow(Value);
}

void TVodStringGrid::SetSelection(const TGridRect& Value)
{
    TCustomGrid::SetSelection(Value);
    if (FActiveCellShow) {
        InvalidateRow(0);
        InvalidateCol(0);
    }
    if (FActiveRowShow) InvalidateRow(Selection().Bottom);
}

void TVodStringGrid::SetWordWrap(bool Value)
{
    FWordWrapEx = Value;
    TBaseGrid::SetWordWrap(Value);
    if (!IsUpdating()) Invalidate();
}

// ---------------------------------------------------------------------------
// Simple properties

void TVodStringGrid::SetFixedFooters(Integer Value)
{
    FFixedFooters = Value;
    Invalidate();
}

void TVodStringGrid::SetFixedRightCols(Integer Value)
{
    FFixedRightCols = Value;
    Invalidate();
}

void TVodStringGrid::SetDefaultAlignment(TAlignment Value)
{
    if (FDefaultAlignment == Value) return;
    FDefaultAlignment = Value;
    Invalidate();
}

void TVodStringGrid::SetShowDesignHelper(bool Value)
{
    if (FShowDesignHelper == Value) return;
    FShowDesignHelper = Value;
    Invalidate();
}

void TVodStringGrid::SetShowModified(TShowModified* Value) { ShowModified()->Assign(Value); }
void TVodStringGrid::SetBalloon(TBalloonSettings* Value) { Balloon()->Assign(Value); }
void TVodStringGrid::SetProgressAppearance(TGridProgressAppearance* Value) { ProgressAppearance()->Assign(Value); }
void TVodStringGrid::SetHoverButtons(THoverButtons* Value) { HoverButtons()->Assign(Value); }

void TVodStringGrid::SetRowIndicator(TBitmap* Value)
{
    FRowIndicator->Assign(Value);
    RepaintCell(0, Row());
}

void TVodStringGrid::SetBackGround(TBackGround* Value)
{
    BackGround()->Assign(Value);
    Invalidate();
}

void TVodStringGrid::SetHighlightColor(TColor Value)
{
    if (FHighlightColor == Value) return;
    FHighlightColor = Value;
    VurHTMLE::SetMarkupHighlightColors(FHighlightColor, FHighlightTextColor);
    Invalidate();
}

void TVodStringGrid::SetHighlightTextColor(TColor Value)
{
    if (FHighlightTextColor == Value) return;
    FHighlightTextColor = Value;
    VurHTMLE::SetMarkupHighlightColors(FHighlightColor, FHighlightTextColor);
    Invalidate();
}

void TVodStringGrid::SetHTMLKeepLineBreak(bool Value)
{
    FHTMLKeepLineBreak = Value;
    VurHTMLE::SetHTMLKeepLineBreak(Value);
}

void TVodStringGrid::SetAutoThemeAdapt(bool Value)
{
    if (FAutoThemeAdapt == Value) return;
    FAutoThemeAdapt = Value;
    SearchFooter()->SetAutoThemeAdapt(Value);
    if (Value) {
        AdaptToOfficeTheme();
        Invalidate();
    }
    const TComponentState st = ComponentState();
    if (st.Contains(csDesigning) || st.Contains(csLoading) || !HandleAllocated() || IsLibrary) return;
    if (Value)
        GetThemeNotifier(this)->RegisterWindow(Handle());
    else
        GetThemeNotifier(this)->UnRegisterWindow(Handle());
}

void TVodStringGrid::SetActiveCellShow(bool Value)
{
    FActiveCellShow = Value;
    Invalidate();
}

void TVodStringGrid::SetActiveCellColor(TColor Value)
{
    FActiveCellColor = Value;
    Invalidate();
}

void TVodStringGrid::SetActiveCellColorTo(TColor Value)
{
    FActiveCellColorTo = Value;
    Invalidate();
}

void TVodStringGrid::SetActiveCellFont(TFont* Value)
{
    FActiveCellFont->Assign(Value);
    Invalidate();
}

void TVodStringGrid::SetXYOffset(TPoint Value)
{
    FXYOffset = Value;
    Invalidate();
}

void TVodStringGrid::UpdateXYOffset(Integer X, Integer Y) { FXYOffset = TPoint{X, Y}; }

TColor TVodStringGrid::ArrowColor() const { return FArrows[0] ? FArrows[0]->Color() : FArrowColor; }

void TVodStringGrid::SetArrowColor(TColor Value)
{
    FArrowColor = Value;
    for (TArrowWindow* a : FArrows)
        if (a) a->SetColor(Value);
}

bool TVodStringGrid::GetUseVCLStyles() { return FUseVCLStyles; }

// ---------------------------------------------------------------------------
// Footer calculation

void TVodStringGrid::UpdateFooter()
{
    if (FFooterPanel) FFooterPanel->Invalidate();
}

void TVodStringGrid::CellValueChanged()
{
    TBaseGrid::CellValueChanged();
    UpdateFooter();
}

void TVodStringGrid::CalcFooter(Integer ACol) { CalcFooterRow(ACol); }

void TVodStringGrid::KeyDownHook() {}

void TVodStringGrid::CalcFooterRow(Integer ACol)
{
    TFloatingFooter* ff = FFloatingFooter.get();
    if (!ff || !ff->Visible() || ff->FooterStyle() != fsFixedLastRow || !ff->EnableCalculation()) return;
    const Integer last = RowCount() - 1;
    const Integer first = ACol == -1 ? 0 : ACol;
    const Integer stop = ACol == -1 ? TotalColCount() - 1 : ACol;
    for (Integer c = first; c <= stop; ++c) {
        TCellProperties* p = CellPropertiesOf(c, last);
        if (!p) continue;
        const Integer h = ff->CalculateHiddenRows() ? NumHiddenRows() : 0;
        switch (TColumnCalcType(Integer(p->FCalcType) & 0x7F)) {
        case acCOUNT: SetCellEx(c, last, IntToStr(RowCount() - TCustomGrid::FixedRows() - 1 + h)); break;
        case acCUSTOM: {
            String v;
            if (OnFooterCalc)
                OnFooterCalc(this, c, last + h, v);
            else if (ff->OnCalcFooter)
                ff->OnCalcFooter(this, c, last + h, v);
            SetCellEx(c, last, v);
            break;
        }
        case acSUM: SetFloats(c, last, ColumnSum(c, TCustomGrid::FixedRows(), last - 1 + h)); break;
        case acAVG: SetFloats(c, last, ColumnAvg(c, TCustomGrid::FixedRows(), last - 1 + h)); break;
        case acMIN: SetFloats(c, last, ColumnMin(c, TCustomGrid::FixedRows(), last - 1 + h)); break;
        case acMAX: SetFloats(c, last, ColumnMax(c, TCustomGrid::FixedRows(), last - 1 + h)); break;
        case acDISTINCT: SetFloats(c, last, ColumnDistinct(c, TCustomGrid::FixedRows(), last - 1 + h)); break;
        case acSTDDEV: {
            // A word in the column leaves the footer cell as it was.
            try {
                SetFloats(c, last, ColumnStdDev(c, TCustomGrid::FixedRows(), last - 1 + h));
            } catch (const EVodGridError&) {
            }
            break;
        }
        default: break;
        }
    }
}
