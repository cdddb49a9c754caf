// The string grid's mouse move: hover feedback, sizing zones, the drags a
// press started, size hints; entering and leaving the grid.
#include "controls/grid/VodGrid.h"
#include "platform/ui/WindowManager.h"

bool TVodStringGrid::IsHoverFixedCell(Integer ACol, Integer ARow)
{
    switch (FHoverFixedCells) {
    case hfAll: return ACol < FixedCols() || ARow < FixedRows();
    case hfFixedRows: return ARow < FixedRows();
    case hfFixedColumns: return ACol < FixedCols();
    default: return false;
    }
}

bool TVodStringGrid::IsPrimaryButtonDown()
{
    const int vk = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
    return (GetAsyncKeyState(vk) & 0x8000) != 0;
}

// Least bodies until the move handling lands.
void TVodStringGrid::MouseMove(TShiftState Shift, Integer X, Integer Y) { TBaseGrid::MouseMove(Shift, X, Y); }
void TVodStringGrid::CMMouseEnter(TMessage& M) { TBaseGrid::CMMouseEnter(M); }
void TVodStringGrid::CMMouseLeave(TMessage& M) { TBaseGrid::CMMouseLeave(M); }
void TVodStringGrid::ShowSizeHint(const String&, TRect) {}
