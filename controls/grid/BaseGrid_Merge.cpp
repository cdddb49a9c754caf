// Merged cells: the merge record in each cell's block and the queries on
// it. No query creates a block.
#include <algorithm>

#include "controls/grid/BaseGrid.h"

void TBaseGrid::MergeCells(Integer c, Integer r, Integer spanx, Integer spany)
{
    ++FMergeCount;
    for (Integer i = c; i < c + spanx; ++i)
        for (Integer j = r; j < r + spany; ++j) {
            TCellProperties* p = GetCellProperties(i, j);
            if (!p) continue;
            p->FIsBaseCell = i == c && j == r;
            if (p->FIsBaseCell) {
                p->FCellSpanX = spanx - 1;
                p->FCellSpanY = spany - 1;
            } else {
                p->FCellSpanX = i - c;
                p->FCellSpanY = j - r;
            }
        }
    for (Integer i = c; i < c + spanx; ++i)
        for (Integer j = r; j < r + spany; ++j) RepaintCell(i, j);
}

void TBaseGrid::SplitCells(Integer c, Integer r)
{
    TCellProperties* p = GetCellProperties(c, r);
    if (p) {
        const TPoint base = p->BaseCellOf(c, r);
        TCellProperties* b = GetCellProperties(base.X, base.Y);
        const Integer sx = b ? b->FCellSpanX : -1;
        const Integer sy = b ? b->CellSpanY() : -1;
        for (Integer i = base.X; i <= base.X + sx; ++i)
            for (Integer j = base.Y; j <= base.Y + sy; ++j)
                if (TCellProperties* q = GetCellProperties(i, j)) {
                    q->FIsBaseCell = true;
                    q->FCellSpanX = -1;
                    q->FCellSpanY = -1;
                }
        for (Integer i = base.X; i <= base.X + sx; ++i)
            for (Integer j = base.Y; j <= base.Y + sy; ++j) RepaintCell(i, j);
    }
    --FMergeCount;
}

TPoint TBaseGrid::BaseCell(Integer ACol, Integer ARow) const
{
    if (const TCellProperties* p = CellPropertiesOf(ACol, ARow)) return p->BaseCellOf(ACol, ARow);
    return TPoint{ACol, ARow};
}

bool TBaseGrid::IsBaseCell(Integer ACol, Integer ARow) const
{
    const TCellProperties* p = CellPropertiesOf(ACol, ARow);
    return p ? p->FIsBaseCell : true;
}

bool TBaseGrid::ResolveBaseCell(Integer ACol, Integer ARow, Integer& BaseCol, Integer& BaseRow) const
{
    BaseCol = ACol;
    BaseRow = ARow;
    const TCellProperties* p = CellPropertiesOf(ACol, ARow);
    if (!p || p->FIsBaseCell) return true;
    const TPoint b = p->BaseCellOf(ACol, ARow);
    BaseCol = b.X;
    BaseRow = b.Y;
    return false;
}

bool TBaseGrid::IsMergedCell(Integer ACol, Integer ARow) const
{
    const TCellProperties* p = CellPropertiesOf(ACol, ARow);
    return p && (p->FCellSpanX > 0 || p->CellSpanY() > 0);
}

bool TBaseGrid::IsMergedNonBaseCell(Integer ACol, Integer ARow) const
{
    const TCellProperties* p = CellPropertiesOf(ACol, ARow);
    return p && (p->FCellSpanX > 0 || p->CellSpanY() > 0) && !p->FIsBaseCell;
}

bool TBaseGrid::IsXMergedCell(Integer ACol, Integer ARow) const
{
    const TCellProperties* p = CellPropertiesOf(ACol, ARow);
    if (!p) return false;
    const TPoint b = p->BaseCellOf(ACol, ARow);
    const TCellProperties* bp = CellPropertiesOf(b.X, b.Y);
    return bp && bp->FCellSpanX > 0;
}

bool TBaseGrid::IsYMergedCell(Integer ACol, Integer ARow) const
{
    const TCellProperties* p = CellPropertiesOf(ACol, ARow);
    if (!p) return false;
    const TPoint b = p->BaseCellOf(ACol, ARow);
    const TCellProperties* bp = CellPropertiesOf(b.X, b.Y);
    return bp && bp->CellSpanY() > 0;
}

TPoint TBaseGrid::CellSpan(Integer ACol, Integer ARow) const
{
    const TCellProperties* p = CellPropertiesOf(ACol, ARow);
    if (!p || !(p->FCellSpanX != -1 || p->CellSpanY() > 0)) return TPoint{0, 0};
    const TPoint b = p->BaseCellOf(ACol, ARow);
    const TCellProperties* bp = CellPropertiesOf(b.X, b.Y);
    if (!bp) return TPoint{0, 0};
    return TPoint{bp->FCellSpanX, bp->CellSpanY()};
}

TPoint TBaseGrid::CellExt(Integer ACol, Integer ARow) const
{
    const TCellProperties* p = CellPropertiesOf(ACol, ARow);
    if (!p || p->FCellSpanX == -1 || p->CellSpanY() == -1) return TPoint{0, 0};
    const TPoint b = p->BaseCellOf(ACol, ARow);
    const TCellProperties* bp = CellPropertiesOf(b.X, b.Y);
    if (!bp) return TPoint{0, 0};
    return TPoint{b.X + bp->FCellSpanX - ACol, b.Y + bp->CellSpanY() - ARow};
}

TRect TBaseGrid::FullCell(Integer c, Integer r) const
{
    const TPoint b = BaseCell(c, r);
    const TPoint s = CellSpan(c, r);
    return TRect{b.X, b.Y, b.X + s.X, b.Y + s.Y};
}

Integer TBaseGrid::MinRowSpan(Integer ARow) const
{
    Integer m = RowCount();
    for (Integer c = 0; c < ColCount(); ++c) {
        const Integer s = CellSpan(c, ARow).Y;
        if (s > 0 && s < m) m = s;
    }
    return m;
}

Integer TBaseGrid::MaxRowSpan(Integer ARow) const
{
    Integer m = 0;
    for (Integer c = 0; c < ColCount(); ++c) m = std::max(m, CellSpan(c, ARow).Y);
    return m;
}

bool TBaseGrid::RowSpanIdentical(Integer ARow1, Integer ARow2) const
{
    bool identical = true, found = false;
    for (Integer c = 0; c < ColCount(); ++c) {
        if (CellSpan(c, ARow1).Y > 0 && CellSpan(c, ARow2).Y > 0) {
            found = true;
            if (BaseCell(c, ARow1).Y != BaseCell(c, ARow2).Y) {
                identical = false;
                break;
            }
        }
    }
    return identical && found;
}

bool TBaseGrid::ColSpanIdentical(Integer ACol1, Integer ACol2) const
{
    bool identical = true, found = false;
    for (Integer r = 0; r < RowCount(); ++r) {
        const Integer s1 = CellSpan(ACol1, r).X, s2 = CellSpan(ACol2, r).X;
        if (s1 > 0 && s2 > 0) {
            found = true;
            if (BaseCell(ACol1, r).X != BaseCell(ACol2, r).X) {
                identical = false;
                break;
            }
        } else if (s1 != s2) {
            identical = false;
            break;
        }
    }
    return identical && found;
}
