// Fitting the grid to its cells: column widths and row heights from the
// measured cell contents (with node indents, buttons and sort and filter
// glyph room), columns fitted into the control's width, the control sized
// to its cells; numbering a column or a row; exchanging two columns or rows.
#include <algorithm>
#include <cmath>
#include <vector>

#include "controls/foundation/VodUtil.h"
#include "controls/grid/VodGrid.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/Forms.h"

namespace {

class TUpdateBracket {
public:
    explicit TUpdateBracket(TVodStringGrid* G) : FGrid(G) { G->BeginUpdate(); }
    ~TUpdateBracket() { FGrid->EndUpdate(); }
    TUpdateBracket(const TUpdateBracket&) = delete;
    TUpdateBracket& operator=(const TUpdateBracket&) = delete;

private:
    TVodStringGrid* FGrid;
};

}  // namespace

// ---------------------------------------------------------------------------
// Measuring

TSize TVodStringGrid::CellTextExtent(Integer DCol, Integer RCol, Integer ARow, bool Wrapped)
{
    // The width the text's lines need side by side, without limit by the
    // cell's own size (a wrapped measure would answer the whole room).
    TPoint p{0, 0};
    MeasureCellText(DCol, RCol, p, false, false, true, ARow);
    // A wrapped text is as high as it wraps at the column's width.
    if (Wrapped) {
        TPoint w{0, 0};
        MeasureCellText(DCol, RCol, w, false, true, false, ARow);
        p.Y = w.Y;
    }
    return TSize{p.X, p.Y};
}

TSize TVodStringGrid::CellGraphicExtent(Integer RCol, Integer ARow, Integer Padding)
{
    const TPoint p = CalcCellGraphicSize(RCol, ARow, Padding);
    return TSize{p.X, p.Y};
}

// ---------------------------------------------------------------------------
// Columns

Integer TVodStringGrid::CalcAutoColumnWidth(Integer Index)
{
    Integer r0 = 0, r1 = RowCount() - 1;
    switch (FColumnSize->Rows()) {
    case arNormal:
        r0 = FixedRows();
        r1 = RowCount() - FFixedFooters - 1;
        break;
    case arFixed:
        r0 = 0;
        r1 = FixedRows() - 1;
        break;
    case arAll: break;
    }
    const Integer rc = RealColIndex(Index);
    Integer widest = 0;
    for (Integer r = r0; r <= r1; ++r) {
        if (IsXMergedCell(rc, r)) continue;
        const TSize g = CellGraphicExtent(rc, r, 0);
        Integer w = g.cx + CellTextExtent(Index, rc, r, WordWrap()).cx;
        if (rc == 0 && IsNode(r)) w += 16;
        if (FControlLook->DropDownAlwaysVisible() && HasComboBox(rc, r))
            w += Integer(Round(FControlLook->DropDownButtonWidth() * FDPIScale));
        if (FFilterDropDownAuto && r == FFilterDropDownRow && BuildColumnFilterList(rc, true, false)) w += 12;
        // The sort glyph's room in the sort indicator row.
        if (FSortSettings->Show() && r == FSortSettings->Row() &&
            (FSortSettings->Column == Index || FSortIndexes->FindIndex(Index) >= 0))
            w += 10;
        if (TCellGraphic* cg = GetCellGraphic(rc, r); cg && cg->CellHAlign() == haFull)
            w = g.cx - 2 * GridLineWidth() - FXYOffset.X - 2;
        widest = std::max(widest, w);
    }
    return widest + XYOffsetWidth() + 2 * GridLineWidth() + 2;
}

void TVodStringGrid::AutoSizeCol(Integer ACol, Integer Padding)
{
    if (ACol < 0 || ACol >= ColCount()) return;
    if (ACol == 0 && HasNodes()) {
        Integer n = 4;
        switch (FCellNode->NodeType()) {
        case cn3D: n = 6; break;
        case cnGlyph: n = FCellNode->ExpandGlyph()->Empty() ? 0 : FCellNode->ExpandGlyph()->Width() / 2; break;
        case cnLeaf: n = 8; break;
        case cnFlat:
        case cnXP: n = 4; break;
        }
        Integer w = 0;
        for (Integer r = 0; r < RowCount(); ++r) w = std::max(w, n + GetNodeIndent(r));
        SetColWidths(0, w);
    }
    Integer W = CalcAutoColumnWidth(ACol);
    if (!(FSizeGrowOnly && ColWidths(ACol) >= W)) {
        UpdateAutoColumnSize(ACol, W);
        SetColWidths(ACol, LimitToMinMax(W, FMinColWidth, FMaxColWidth));
    }
    if (Padding != 0) SetColWidths(ACol, LimitToMinMax(ColWidths(ACol) + Padding, FMinColWidth, FMaxColWidth));
}

void TVodStringGrid::AutoSizeColumns(bool DoFixedCols, Integer Padding)
{
    const Integer c0 = DoFixedCols ? 0 : FixedCols();
    const Integer c1 = DoFixedCols ? ColCount() - 1 : ColCount() - FFixedRightCols - 1;
    for (Integer c = c0; c <= c1; ++c) {
        AutoSizeCol(c, 0);
        if (Padding != 0) SetColWidths(c, LimitToMinMax(ColWidths(c) + Padding, FMinColWidth, FMaxColWidth));
    }
}

void TVodStringGrid::AutoGrowCol(Integer ACol, Integer Padding)
{
    const bool grow = FSizeGrowOnly;
    FSizeGrowOnly = true;
    try {
        AutoSizeCol(ACol, Padding);
    } catch (...) {
        FSizeGrowOnly = grow;
        throw;
    }
    FSizeGrowOnly = grow;
}

void TVodStringGrid::AutoGrowColumns(bool DoFixedCols, Integer Padding)
{
    const bool grow = FSizeGrowOnly;
    FSizeGrowOnly = true;
    try {
        AutoSizeColumns(DoFixedCols, Padding);
    } catch (...) {
        FSizeGrowOnly = grow;
        throw;
    }
    FSizeGrowOnly = grow;
}

// ---------------------------------------------------------------------------
// Rows

Integer TVodStringGrid::CalcAutoRowHeight(Integer ARow, Integer Padding)
{
    Integer tallest = 0;
    for (Integer c = 0; c < ColCount(); ++c) {
        const Integer rc = RealColIndex(c);
        if (IsYMergedCell(rc, ARow) || IsIgnoredColumn(rc)) continue;
        // The text is measured in the cell's own font (fixed font, cell
        // font, colour hook and zoom are the measuring's).
        Integer t = CellTextExtent(c, rc, ARow, WordWrap()).cy;
        Integer g = CellGraphicExtent(rc, ARow, Padding).cy;
        const TCellType kind = GetCellType(rc, ARow);
        if (TCellGraphic* cg = GetCellGraphic(rc, ARow); cg && cg->CellVAlign() == vaFull)
            g = t > 0 ? 0 : DefaultRowHeight();
        if ((kind == ctDataCheckBox || kind == ctVirtCheckBox) && g > 0) t = 0;
        Integer h = t + g;
        if (kind == ctCheckBox || kind == ctDataCheckBox || kind == ctVirtCheckBox || kind == ctRadio ||
            kind == ctRadioButton)
            h = DefaultRowHeight();
        tallest = std::max(tallest, h);
    }
    return tallest + XYOffsetHeight() + 2 * GridLineWidth() + (FXYOffsetTopLeftOnly ? 2 : 0);
}

void TVodStringGrid::AutoSizeRow(Integer ARow, Integer Padding)
{
    if (ARow < 0 || ARow >= RowCount()) return;
    const Integer H = CalcAutoRowHeight(ARow, 0);
    if (!(FSizeGrowOnly && RowHeights(ARow) >= H))
        SetRowHeights(ARow, LimitToMinMax(H, FMinRowHeight, FMaxRowHeight));
    if (Padding != 0) SetRowHeights(ARow, LimitToMinMax(RowHeights(ARow) + Padding, FMinRowHeight, FMaxRowHeight));
}

namespace {

// The largest line count of a row's cells with multi-line cells, else 1.
Integer LinesInRow(TVodStringGrid& G, Integer ARow)
{
    if (!G.Multilinecells()) return 1;
    Integer n = 1;
    for (Integer c = 0; c < G.TotalColCount(); ++c) n = std::max(n, LineCount(G.GetCellEx(c, ARow), true));
    return n;
}

}  // namespace

void TVodStringGrid::AutoSizeRows(bool DoFixedRows, Integer Padding)
{
    if (RowCount() == 0) return;
    // Progress through ExportNotification comes with the cell save, load and
    // export hooks.
    for (Integer r = DoFixedRows ? 0 : FixedRows(); r < RowCount(); ++r) {
        if (WordWrap()) {
            AutoSizeRow(r, 0);
            if (Padding != 0) SetRowHeights(r, LimitToMinMax(RowHeights(r) + Padding, FMinRowHeight, FMaxRowHeight));
        } else {
            SetRowHeightByLines(r, LinesInRow(*this, r), Padding);
        }
    }
    UpdateScrollBarVisibility(false);
}

void TVodStringGrid::SetRowHeightByLines(Integer ARow, Integer Lines, Integer Padding)
{
    if (ARow < 0 || ARow >= RowCount()) return;
    TFont font;
    ApplyCellFont(FixedCols(), ARow, &font);
    TBitmap bmp;
    bmp.Canvas()->Font()->Assign(&font);
    const Integer L = bmp.Canvas()->TextHeight(L"gh");
    SetRowHeights(ARow, LimitToMinMax(Padding + Lines * (L + 2), FMinRowHeight, FMaxRowHeight) + FXYOffset.Y);
}

void TVodStringGrid::ApplyCellFont(Integer ACol, Integer ARow, TFont* AFont)
{
    const bool fixed = ACol < FixedCols() || ARow < FixedRows();
    AFont->Assign(fixed ? FFixedFont.get() : Font());
    TBrush brush;
    GetCellColor(RealColIndex(ACol), ARow, TGridDrawState{}, &brush, AFont);
    if (FZoomFactor != 0) {
        const Integer size = AFont->Size() + FZoomFactor;
        AFont->SetSize(size == 0 ? 1 : size);
    }
}

// ---------------------------------------------------------------------------
// Cells, fitting and the control's size

void TVodStringGrid::AutoSizeCells(bool DoFixedCells, Integer PaddingX, Integer PaddingY)
{
    TUpdateBracket update(this);
    const Integer c0 = DoFixedCells ? 0 : FixedCols();
    const Integer r0 = DoFixedCells ? 0 : FixedRows();
    // Each row keeps the tallest cell this pass measured in it (its current
    // height with SizeGrowOnly).
    std::vector<Integer> rowRef(size_t(std::max(RowCount(), 0)), 0);
    for (Integer r = r0; r < RowCount(); ++r) rowRef[size_t(r)] = FSizeGrowOnly ? RowHeights(r) : 0;
    for (Integer c = c0; c < ColCount(); ++c) {
        const Integer rc = RealColIndex(c);
        Integer colRef = FSizeGrowOnly ? ColWidths(c) : 0;
        for (Integer r = r0; r < RowCount(); ++r) {
            const TSize t = CellTextExtent(c, rc, r, WordWrap());
            const TSize g = CellGraphicExtent(rc, r, 0);
            const Integer w = LimitToMinMax(t.cx + g.cx + PaddingX + FXYOffset.X, FMinColWidth, FMaxColWidth);
            const Integer h = LimitToMinMax(t.cy + g.cy + PaddingY + FXYOffset.Y, FMinRowHeight, FMaxRowHeight);
            if (!IsXMergedCell(rc, r) && w > colRef) {
                SetColWidths(c, w);
                colRef = w;
            }
            if (!IsYMergedCell(rc, r) && h > rowRef[size_t(r)]) {
                SetRowHeights(r, h);
                rowRef[size_t(r)] = h;
            }
        }
    }
}

void TVodStringGrid::AutoFitColumns(bool DoFixedCells)
{
    if (ColCount() <= 0) return;
    const bool hasBars = ScrollBars() != ssNone;
    const bool allRowsShown = VisibleRowCount() + FixedRows() >= RowCount();
    const Integer V = FScrollBarAlways == saVert || (hasBars && !allRowsShown) ? GetSystemMetrics(SM_CXVSCROLL) : 0;
    const Integer B = BorderStyle() == bsSingle ? (Ctl3D() ? 4 : 2) : 0;
    const Integer c0 = DoFixedCells ? 0 : FixedCols();
    const Integer c1 = DoFixedCells ? ColCount() - 1 : ColCount() - FFixedRightCols - 1;
    Integer A = Width();
    if (!DoFixedCells) {
        for (Integer c = 0; c < FixedCols(); ++c) A -= ColWidths(c);
        for (Integer c = ColCount() - FFixedRightCols; c < ColCount(); ++c) A -= ColWidths(c);
    }
    Integer L = 0;
    if (Options().Contains(goVertLine)) L = GridLineWidth() * (ColCount() - FixedCols() - FFixedRightCols);
    if (Options().Contains(goFixedVertLine) && DoFixedCells) L += FixedCols() + FFixedRightCols;
    if (ColCount() < 2) {
        SetColWidths(0, Width() - V - 5);
        return;
    }
    const Integer K = c1 - c0 + 1;
    if (K <= 0) return;
    Integer S = 0;
    for (Integer c = c0; c <= c1; ++c) S += ColWidths(c);
    if (S == A - V - B) return;
    if (S == 0) {
        // Columns of no width share the room equally.
        for (Integer c = c0; c <= c1; ++c) SetColWidths(c, std::max((A - V - B - L) / K, 0));
    } else {
        const double f = double(A - V - B - L) / double(S);
        Int64 T = 0;
        for (Integer c = c0; c <= c1; ++c) T += Round(f * ColWidths(c));
        std::vector<Integer> widths;
        for (Integer c = c0; c <= c1; ++c) widths.push_back(Integer(Round(double(ColWidths(c)) * double(T) / double(S))));
        for (Integer c = c0; c <= c1; ++c) SetColWidths(c, std::max(widths[size_t(c - c0)], 0));
    }
    Integer sum = 0;
    for (Integer c = c0; c <= c1; ++c) sum += ColWidths(c);
    Integer R = A - V - B - sum;
    if (R > K && K > 1) {
        for (Integer c = c0; c <= c1; ++c) SetColWidths(c, ColWidths(c) + R / K);
        R %= K;
    }
    Integer widest = c0;
    for (Integer c = c0; c <= c1; ++c)
        if (ColWidths(c) > ColWidths(widest)) widest = c;
    SetColWidths(widest, std::max(ColWidths(widest) + R, 0));
}

void TVodStringGrid::SizeToCols()
{
    Integer w = 0;
    for (Integer c = 0; c < ColCount(); ++c) w += ColWidths(c);
    SetClientWidth(w);
}

void TVodStringGrid::SizeToRows()
{
    Integer h = 0;
    for (Integer r = 0; r < RowCount(); ++r) h += RowHeights(r);
    SetClientHeight(h);
}

void TVodStringGrid::SizeToCells()
{
    const TScrollStyle bars = ScrollBars();
    SetScrollBars(ssNone);
    SizeToCols();
    SizeToRows();
    SetScrollBars(bars);
}

// ---------------------------------------------------------------------------
// Numbering

void TVodStringGrid::AutoNumberCol(Integer ACol)
{
    if (RowCount() <= 0) return;
    const Integer last = RowCount() - FFixedFooters - 1;
    for (Integer a = FixedRows() + FAutoNumberStart; a <= last; ++a) {
        const Integer v = a - FixedRows() + 1 + FAutoNumberOffset;
        SetInts(ACol, FAutoNumberDirection == sdAscending ? a : FixedRows() + last - a, v);
    }
}

void TVodStringGrid::AutoNumberRow(Integer ARow)
{
    if (ColCount() <= 0) return;
    const Integer last = ColCount() - FFixedRightCols - 1;
    for (Integer a = FixedCols() + FAutoNumberStart; a <= last; ++a) {
        const Integer v = a - FixedCols() + 1 + FAutoNumberOffset;
        SetInts(FAutoNumberDirection == sdAscending ? a : FixedCols() + last - a, ARow, v);
    }
}

// ---------------------------------------------------------------------------
// Swapping columns and rows

namespace {

// Exchanges the texts and object references of two cells, keeping each
// moved property block's idea of its cell.
void ExchangeCells(TVodStringGrid& G, Integer c1, Integer r1, Integer c2, Integer r2)
{
    TObject* o1 = G.GetCellObjectDirect(c1, r1);
    TObject* o2 = G.GetCellObjectDirect(c2, r2);
    const String t1 = G.GetGridCell(c1, r1), t2 = G.GetGridCell(c2, r2);
    G.SetGridCell(c1, r1, t2);
    G.SetGridCell(c2, r2, t1);
    G.SetCellObjectDirect(c1, r1, o2);
    G.SetCellObjectDirect(c2, r2, o1);
    if (auto* p = dynamic_cast<TCellProperties*>(o2)) {
        p->SetOwnerCol(c1);
        p->SetOwnerRow(r1);
    }
    if (auto* p = dynamic_cast<TCellProperties*>(o1)) {
        p->SetOwnerCol(c2);
        p->SetOwnerRow(r2);
    }
}

}  // namespace

void TVodStringGrid::SwapColumns(Integer ACol1, Integer ACol2)
{
    if (ACol1 == ACol2 || ACol1 < 0 || ACol2 < 0 || ACol1 >= TotalColCount() || ACol2 >= TotalColCount()) return;
    for (Integer r = 0; r < RowCount(); ++r) ExchangeCells(*this, ACol1, r, ACol2, r);
    if (ACol1 < ColCount() && ACol2 < ColCount()) {
        const Integer w1 = ColWidths(ACol1);
        SetColWidths(ACol1, ColWidths(ACol2));
        SetColWidths(ACol2, w1);
    }
    if (FSortSettings->Column == ACol1)
        FSortSettings->Column = ACol2;
    else if (FSortSettings->Column == ACol2)
        FSortSettings->Column = ACol1;
    for (Integer i = 0; i < FControlList->Count(); ++i) {
        TControlItem* it = FControlList->GetControl(i);
        if (it->X() == ACol1)
            it->SetX(ACol2);
        else if (it->X() == ACol2)
            it->SetX(ACol1);
    }
    CellControlsUpdate(false);
    Invalidate();
}

void TVodStringGrid::SwapRows(Integer ARow1, Integer ARow2)
{
    if (ARow1 == ARow2 || ARow1 < 0 || ARow2 < 0 || ARow1 >= RowCount() || ARow2 >= RowCount()) return;
    for (Integer c = 0; c < TotalColCount(); ++c) ExchangeCells(*this, c, ARow1, c, ARow2);
    const Integer h1 = RowHeights(ARow1);
    SetRowHeights(ARow1, RowHeights(ARow2));
    SetRowHeights(ARow2, h1);
    for (Integer i = 0; i < FControlList->Count(); ++i) {
        TControlItem* it = FControlList->GetControl(i);
        if (it->Y() == ARow1)
            it->SetY(ARow2);
        else if (it->Y() == ARow2)
            it->SetY(ARow1);
    }
    CellControlsUpdate(false);
    Invalidate();
}
