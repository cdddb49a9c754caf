// Clearing, trimming and colouring ranges of cells without changing the
// grid's shape, the used area, the range that file export writes, and two
// small cell lookups. Everything that empties cells goes through ClearRect,
// which decides what clearing a cell removes: the application's object (when
// the grid owns objects), the property block with the graphic it owns (unless
// only texts are cleared), the text.
#include <algorithm>

#include "controls/grid/CellGraphics.h"
#include "controls/grid/VodGrid.h"
#include "platform/base/SysUtils.h"

void TVodStringGrid::DisposeCellBlock(TCellProperties* P)
{
    if (!P) return;
    // Only the grid's own graphic class goes with the cell, and never the
    // check box objects that the grid lends to cells.
    if (auto* g = dynamic_cast<TCellGraphic*>(P->FGraphicObject);
        g && g->ClassName() == L"TCellGraphic" && g->CellType() != ctVirtCheckBox && g->CellType() != ctRowCheckBox)
        delete g;
    delete P;
}

// ---------------------------------------------------------------------------
// Clearing

void TVodStringGrid::ClearRect(Integer ACol1, Integer ARow1, Integer ACol2, Integer ARow2)
{
    // Negative coordinates never reach the store.
    ACol1 = std::max(ACol1, 0);
    ARow1 = std::max(ARow1, 0);
    if (ACol2 < ACol1 || ARow2 < ARow1) return;
    const bool destroying = ComponentState().Contains(csDestroying);
    for (Integer r = ARow1; r <= ARow2; ++r) {
        for (Integer c = ACol1; c <= ACol2; ++c) {
            const Integer sc = SaveHiddenCells() ? RealColIndex(c) : c;
            auto* p = static_cast<TCellProperties*>(Objects(sc, r));
            if (p && OwnsObjects() && p->FObject) {
                delete reinterpret_cast<TObject*>(p->FObject);
                p->FObject = 0;
            }
            if (p && !ClearTextOnly()) {
                if (FNilObjects) {
                    // The block now belongs to another cell: only the
                    // reference goes.
                    SetCells(sc, r, String());
                    SetObjects(sc, r, nullptr);
                } else {
                    SetObjects(sc, r, nullptr);
                    DisposeCellBlock(p);
                }
            }
            if (!destroying && !Cells(sc, r).empty()) {
                SetCells(sc, r, String());
                if (sc != c) RepaintCell(c, r);
            }
        }
    }
    if (!SaveHiddenCells() && FNumHidden > 0) Invalidate();
    if (ACol1 == 0 && ARow1 == 0 && ACol2 >= ColCount() - 1 && ARow2 >= RowCount() - 1) FHasCellProps = false;
    if (!destroying && !FBlockCellChange)
        CellsChanged(TRect{RealColIndex(ACol1), ARow1, RealColIndex(ACol2), ARow2});
}

void TVodStringGrid::ClearRows(Integer RowIndex, Integer RCount)
{
    if (RCount <= 0) return;
    ClearRect(0, RowIndex, ColCount() + FNumHidden - 1, RowIndex + RCount - 1);
}

void TVodStringGrid::ClearCols(Integer ColIndex, Integer CCount)
{
    if (CCount <= 0) return;
    ClearRect(ColIndex, 0, ColIndex + CCount - 1, RowCount() - 1);
}

void TVodStringGrid::ClearNormalRows(Integer RowIndex, Integer RCount)
{
    if (RCount <= 0) return;
    ClearRect(FixedCols(), RowIndex, ColCount() + FNumHidden - FixedRightCols() - 1, RowIndex + RCount - 1);
}

void TVodStringGrid::ClearNormalCols(Integer ColIndex, Integer CCount)
{
    if (CCount <= 0) return;
    ClearRect(ColIndex, FixedRows(), ColIndex + CCount - 1, RowCount() - FixedFooters() - 1);
}

void TVodStringGrid::ClearNormalCells()
{
    ClearRect(FixedCols(), FixedRows(), ColCount() + FNumHidden - FixedRightCols() - 1,
              RowCount() - FixedFooters() - 1);
}

void TVodStringGrid::Clear()
{
    ClearRect(0, 0, ColCount() + FNumHidden - 1, RowCount() - 1);
    SearchInc.clear();
    if (FNumHidden > 0) Invalidate();
}

void TVodStringGrid::ClearAll()
{
    if (ComponentState().Contains(csDestroying)) return;
    ClearRect(0, 0, std::max(FMaxColCount, TotalColCount()) - 1, std::max(FMaxRowCount, RowCount()) - 1);
    SearchInc.clear();
    // Hidden rows keep their records; their texts go.
    for (Integer i = 0; i < FGridItems->Count(); ++i) {
        TStrings* s = GridItem(i)->Items();
        for (Integer c = 0; c < s->Count(); ++c) s->SetStrings(c, String());
    }
    if (FNumHidden > 0) Invalidate();
}

void TVodStringGrid::ClearSelection()
{
    if (MouseActions()->DisjunctRowSelect()) {
        for (Integer r = FixedRows(); r < RowCount(); ++r)
            if (RowSelect(MouseActions()->RowSelectPersistent() ? RealRowIndex(r) : r)) ClearRows(r, 1);
        return;
    }
    const bool saved = SaveHiddenCells();
    SetSaveHiddenCells(true);
    try {
        if (MouseActions()->DisjunctColSelect()) {
            for (Integer c = FixedCols(); c < ColCount(); ++c)
                if (ColSelect(c)) ClearCols(c, 1);
        } else {
            const TGridRect s = Selection();
            ClearRect(s.Left, s.Top, s.Right, s.Bottom);
        }
    } catch (...) {
        SetSaveHiddenCells(saved);
        throw;
    }
    SetSaveHiddenCells(saved);
}

// ---------------------------------------------------------------------------
// Trimming and colouring

void TVodStringGrid::TrimRect(Integer ACol1, Integer ARow1, Integer ACol2, Integer ARow2)
{
    ACol1 = std::max(ACol1, 0);
    ARow1 = std::max(ARow1, 0);
    for (Integer r = ARow1; r <= ARow2; ++r)
        for (Integer c = ACol1; c <= ACol2; ++c) {
            const Integer sc = SaveHiddenCells() ? RealColIndex(c) : c;
            const String s = Cells(sc, r);
            if (s.empty()) continue;
            const String t = Trim(s);
            if (t != s) SetCells(sc, r, t);
        }
}

void TVodStringGrid::TrimColumn(Integer ACol) { TrimRect(ACol, 0, ACol, RowCount() - 1); }

void TVodStringGrid::TrimRow(Integer ARow) { TrimRect(0, ARow, ColCount() - 1, ARow); }

void TVodStringGrid::TrimAll() { TrimRect(0, 0, ColCount() - 1, RowCount() - 1); }

void TVodStringGrid::ColorRect(Integer ACol1, Integer ARow1, Integer ACol2, Integer ARow2, TColor AColor)
{
    for (Integer r = std::max(ARow1, 0); r <= ARow2; ++r)
        for (Integer c = std::max(ACol1, 0); c <= ACol2; ++c)
            if (TCellProperties* p = GetCellProperties(c, r)) p->SetBrushColor(AColor);
}

// ---------------------------------------------------------------------------
// Used cells and the save range

TGridRect TVodStringGrid::UsedCells()
{
    TGridRect g{-1, -1, -1, -1};
    for (Integer r = 0; r < RowCount(); ++r)
        for (Integer c = 0; c < ColCount(); ++c) {
            if (Cells(RealColIndex(c), r).empty()) continue;
            if (g.Left < 0 || c < g.Left) g.Left = c;
            if (g.Top < 0) g.Top = r;
            g.Right = std::max(g.Right, c);
            g.Bottom = r;
        }
    if (g.Left < 0) return TGridRect{0, 0, 0, 0};
    return g;
}

Integer TVodStringGrid::SaveStartCol() const { return SaveFixedCells() || SaveFixedCols() ? 0 : FixedCols(); }

Integer TVodStringGrid::SaveStartRow() const { return SaveFixedCells() || SaveFixedRows() ? 0 : FixedRows(); }

Integer TVodStringGrid::SaveEndCol() const
{
    return SaveFixedCells() || SaveFixedCols() ? ColCount() - 1 : ColCount() - FixedRightCols() - 1;
}

Integer TVodStringGrid::SaveEndRow() const
{
    return SaveFixedCells() || SaveFixedRows() ? RowCount() - 1 : RowCount() - FixedFooters() - 1;
}

Integer TVodStringGrid::SaveColCount() const
{
    return SaveFixedCells() || SaveFixedCols() ? ColCount() : ColCount() - FixedCols() - FixedRightCols();
}

Integer TVodStringGrid::SaveRowCount() const
{
    return SaveFixedCells() || SaveFixedRows() ? RowCount() : RowCount() - FixedRows() - FixedFooters();
}

// ---------------------------------------------------------------------------
// Cell lookups

bool TVodStringGrid::IsCell(const String& SubStr, Integer& ACol, Integer& ARow)
{
    for (Integer r = 0; r < RowCount(); ++r)
        for (Integer c = 0; c < ColCount(); ++c)
            if (Cells(c, r) == SubStr) {
                ACol = c;
                ARow = r;
                return true;
            }
    return false;
}

bool TVodStringGrid::IsWideCell(Integer ACol, Integer ARow) { return Cells(ACol, ARow).rfind(L"|\\", 0) == 0; }

String TVodStringGrid::GetWideCells(Integer i, Integer j) { return Cells(i, j); }

void TVodStringGrid::SetWideCells(Integer i, Integer j, const String& Value)
{
    if (i < 0 || j < 0) return;
    SetCells(i, j, Value);
}
