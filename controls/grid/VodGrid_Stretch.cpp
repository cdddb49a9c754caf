// Stretching one column, or spreading the normal columns, over the client
// width; resizing all columns (rows) in proportion after the user resized
// one; and the grid's answers to the platform grid's notifications after
// its dimensions, column widths or row heights changed.
#include <algorithm>
#include <cmath>

#include "controls/grid/HTMLHintWindow.h"
#include "controls/grid/VodGrid.h"
#include "platform/ui/Forms.h"

namespace {

bool AppTerminating() { return Application && Application->Terminated(); }

// Clears a flag on every way out, exceptions included.
struct TFlagGuard {
    bool& Flag;
    explicit TFlagGuard(bool& f) : Flag(f) { Flag = true; }
    ~TFlagGuard() { Flag = false; }
};

}  // namespace

void TVodStringGrid::ApplyColumnStretch(Integer StretchColumn, Integer NewWidth)
{
    // 1.
    if (ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying) || AppTerminating()) return;
    // 2.
    if (NewWidth == -1) NewWidth = ClientWidth();
    if (StretchColumn == -1) StretchColumn = ColCount() - 1;
    // 3. An index below -1 is as far out of range as one past the last
    // column.
    if (StretchColumn >= ColCount() || StretchColumn < 0) throw EVodGridError(L"Stretch column index out of range");
    // 4.
    if (ColCount() == 0 || !FColumnSize->Stretch() || FIsColChanging) return;
    StretchColumnsCore(StretchColumn, NewWidth, FColumnSize->StretchAll());
}

void TVodStringGrid::StretchColumnsCore(Integer Index, Integer Width, bool All)
{
    FIsColChanging = true;
    ColchgFlg = false;
    struct TEnd {
        TVodStringGrid* G;
        ~TEnd()
        {
            G->ColchgFlg = true;
            G->FIsColChanging = false;
        }
    } end{this};
    // No stretch gives a column a negative width: a client narrower than
    // the fixed columns leaves the stretched columns at 0.
    if (ColCount() == 1) {
        // 5.
        SetColWidths(0, std::max(0, Width));
    } else if (const Integer n = ColCount() - FixedCols() - FixedRightCols(); All && n > 0) {
        // 6. Grid lines are not counted.
        Integer rest = Width;
        for (Integer c = 0; c < FixedCols(); ++c) rest -= ColWidths(c);
        for (Integer c = ColCount() - FixedRightCols(); c < ColCount(); ++c) rest -= ColWidths(c);
        rest = std::max(0, rest);
        const Integer each = rest / n, extra = rest % n;
        for (Integer i = 0; i < n; ++i) SetColWidths(FixedCols() + i, each + (i < extra ? 1 : 0));
    } else {
        // 7.
        Integer sum = 0;
        for (Integer c = 0; c < ColCount(); ++c)
            if (c != Index) sum += ColWidths(c);
        if (sum < ClientWidth())
            SetColWidths(Index, std::max(0, Width - sum));
        else if (LeftCol() == FixedCols())
            SetColWidths(Index, DefaultColWidth());
    }
    // 8.
    if (FFloatingFooter && FFloatingFooter->Visible() && FFooterPanel) FFooterPanel->SetAlign(alBottom);
}

void TVodStringGrid::StretchColumns()
{
    FColumnSize->SetStretchAll(true);
    FColumnSize->SetStretch(true);
    ApplyColumnStretch(-1, -1);
}

void TVodStringGrid::StretchRightColumn()
{
    // The last column fills the client width whether or not the stretch
    // setting is on (that setting keeps it filled on later changes).
    if (ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying) || AppTerminating()) return;
    if (FIsColChanging || ColCount() == 0) return;
    StretchColumnsCore(ColCount() - 1, ClientWidth(), false);
}

bool TVodStringGrid::IsOnSizingBorder(Integer X, Integer Y)
{
    Integer c = -1, r = -1;
    MouseToCell(X, Y, c, r);
    if (c < 0 || r < 0 || c >= ColCount() || r >= RowCount()) return false;
    const TRect rc = CellRect(c, r);
    bool result = false;
    if (Options().Contains(goColSizing) && r <= FixedRows())
        result = std::abs(X - rc.Left) <= 3 || std::abs(X - rc.Right) <= 3;
    if (c <= FixedCols() && Options().Contains(goRowSizing))
        result = std::abs(Y - rc.Top) <= 3 || std::abs(Y - rc.Bottom) <= 3;
    return result;
}

void TVodStringGrid::CheckBoxEditorRule()
{
    // A cell with a check box is toggled, never typed into.
    if (EditorMode() && CellHasCheckBox(Col(), Row())) SetEditorMode(false);
}

void TVodStringGrid::HideScrollHintAtDesign()
{
    if (!ComponentState().Contains(csDesigning)) return;
    if (FScrollHintWnd) FScrollHintWnd->ReleaseHandle();
    FScrollHintShow = false;
}

void TVodStringGrid::SizeChanged(Integer OldColCount, Integer OldRowCount)
{
    if (!Parent() || ComponentState().Contains(csLoading) || ComponentState().Contains(csReading) ||
        AppTerminating())
        return;
    if (FColumnSize->Stretch()) ApplyColumnStretch(FColumnSize->StretchColumn(), -1);
    TBaseGrid::SizeChanged(OldColCount, OldRowCount);
    UpdateFlatScrollBars();
}

void TVodStringGrid::ColWidthsChanged()
{
    // 1.
    if (ColchgFlg && HandleAllocated()) ApplyColumnStretch(FColumnSize->StretchColumn(), -1);
    // 2., 3.
    HideScrollHintAtDesign();
    TBaseGrid::ColWidthsChanged();
    ColSizeFlg = true;
    // The widths set below notify again; those nested notifications leave
    // the ended resize to this one, so no ratio is applied twice.
    if (ColSized && !FInSizeEnd) {
        TFlagGuard g(FInSizeEnd);
        // 4.
        if (FMouseActions->AllColumnSize() && Colclickedsize > 0 && Colclicked >= 0 && Colclicked < ColCount()) {
            const double ratio = double(ColWidths(Colclicked)) / double(Colclickedsize);
            for (Integer c = FixedCols(); c < ColCount() - FixedRightCols(); ++c)
                if (c != Colclicked) SetColWidths(c, Integer(std::lround(ColWidths(c) * ratio)));
        }
        // 5.
        bool ended = true;
        if (OnEndColumnSize) OnEndColumnSize(this, Colclicked);
        if (Colclicked >= 0 && Colclicked < ColCount()) {
            Integer w = ColWidths(Colclicked);
            const Integer before = w;
            UpdateColumnSize(Colclicked, w);
            if (w != before) {
                SetColWidths(Colclicked, w);
                ended = false;
            }
        }
        if (ended) {
            Colclicked = -1;
            Rowclicked = -1;
        }
    }
    if (FInSizeEnd) return;
    // 6.
    ColSized = false;
    CheckBoxEditorRule();
    UpdateFooter();
    CellControlsUpdate(false);
    // 7.
    if (FColumnSize->Stretch() && FScrollProportional && FScrollType != ssMetro) UpdateProportionalVScroll();
}

void TVodStringGrid::RowHeightsChanged()
{
    // 1.
    HideScrollHintAtDesign();
    TBaseGrid::RowHeightsChanged();
    if (FInSizeEnd) return;
    if (RowSized) {
        TFlagGuard g(FInSizeEnd);
        // 2.
        if (FMouseActions->AllRowSize() && Rowclickedsize > 0 && Rowclicked >= 0 && Rowclicked < RowCount()) {
            std::vector<Integer> fixedHeights;
            for (Integer r = 0; r < FixedRows(); ++r) fixedHeights.push_back(RowHeights(r));
            const double ratio = double(RowHeights(Rowclicked)) / double(Rowclickedsize);
            const Integer last = RowCount() - FixedFooters();
            for (Integer r = FixedRows(); r < last; ++r)
                if (r != Rowclicked) SetRowHeights(r, Integer(std::lround(RowHeights(r) * ratio)));
            if (FixedRows() < RowCount()) SetDefaultRowHeight(RowHeights(FixedRows()));
            for (Integer r = 0; r < Integer(fixedHeights.size()) && r < RowCount(); ++r)
                SetRowHeights(r, fixedHeights[size_t(r)]);
        }
        // 3.
        if (OnEndRowSize) OnEndRowSize(this, Rowclicked);
        Colclicked = -1;
        Rowclicked = -1;
    }
    RowSized = false;
    CheckBoxEditorRule();
    CellControlsUpdate(false);
}
