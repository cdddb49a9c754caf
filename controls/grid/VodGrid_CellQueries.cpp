// Cell queries the drawing, printing and interaction code ask about cells:
// the kind and object of a cell's graphic, and the graphic lifecycle that
// every Add and Remove of a cell graphic goes through.
#include "controls/grid/VodGrid.h"

namespace {
// The shared check box objects are lent to cells, never owned by them.
bool IsSharedGraphic(const TCellGraphic* g)
{
    return g->CellType() == ctVirtCheckBox || g->CellType() == ctRowCheckBox;
}

// Only the grid's own graphic class is freed with a cell; other graphic
// objects belong to whoever set them.
bool IsOwnedGraphic(const TObject* o) { return o && o->ClassName() == L"TCellGraphic"; }
}  // namespace

TCellGraphic* TVodStringGrid::CreateCellGraphic(Integer ACol, Integer ARow)
{
    if (ACol < 0 || ARow < 0) return nullptr;
    // A grid being destroyed takes no new graphics.
    if (ComponentState().Contains(csDestroying)) return nullptr;
    TObject* old = GetGraphicObjectEx(ACol, ARow);
    auto* g = new TCellGraphic;
    // The store keeps the new graphic (a blank text holds an empty cell's
    // block meanwhile) before the old one goes.
    SetGraphicObjectEx(ACol, ARow, g);
    if (auto* og = dynamic_cast<TCellGraphic*>(old); og && IsOwnedGraphic(og) && !IsSharedGraphic(og)) delete og;
    const Integer d = DisplColIndex(ACol);
    if (d != ACol) RepaintCell(d, ARow);
    return g;
}

void TVodStringGrid::RemoveCellGraphic(Integer ACol, Integer ARow)
{
    if (ACol < 0 || ARow < 0) return;
    TObject* o = GetGraphicObjectEx(ACol, ARow);
    if (!o) return;
    SetGraphicObjectEx(ACol, ARow, nullptr);
    if (auto* g = dynamic_cast<TCellGraphic*>(o); g && IsOwnedGraphic(g) && !IsSharedGraphic(g)) delete g;
    if (!ComponentState().Contains(csDestroying)) RepaintCell(DisplColIndex(ACol), ARow);
}

void TVodStringGrid::RemoveCellGraphicOfType(Integer ACol, Integer ARow, TCellType CellType)
{
    if (ACol < 0 || ARow < 0) return;
    const auto* g = dynamic_cast<TCellGraphic*>(GetGraphicObjectEx(ACol, ARow));
    if (g && g->CellType() == CellType) RemoveCellGraphic(ACol, ARow);
}

TCellType TVodStringGrid::GetCellType(Integer ACol, Integer ARow)
{
    if (ACol < 0 || ARow < 0) return ctEmpty;
    if (ACol == 0 && MouseActions()->HotmailRowSelect()) return ctRowCheckBox;
    const auto* g = dynamic_cast<TCellGraphic*>(GetGraphicObjectEx(ACol, ARow));
    return g ? g->CellType() : ctEmpty;
}

TCellGraphic* TVodStringGrid::GetCellGraphic(Integer ACol, Integer ARow)
{
    if (ACol < 0 || ARow < 0) return nullptr;
    if (ACol == 0 && MouseActions()->HotmailRowSelect()) {
        if (!FRowCheckGraphic) FRowCheckGraphic = std::make_unique<TCellGraphic>();
        TCellGraphic* g = FRowCheckGraphic.get();
        g->SetCellType(ctRowCheckBox);
        g->SetCellTransparent(ControlLook()->ControlStyle() == TControlLook::csFlat);
        // The selection marks of the rows come with the row selection; until
        // then no row reads as selected.
        g->SetCellBoolean(false);
        g->SetCellAngle(0);
        return g;
    }
    return dynamic_cast<TCellGraphic*>(GetGraphicObjectEx(ACol, ARow));
}
