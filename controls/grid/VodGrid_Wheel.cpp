// The string grid's window procedure, zoom, middle-button panning and the
// mouse wheel.
#include <algorithm>

#include "controls/grid/VodGrid.h"

void TVodStringGrid::WndProc(TMessage& M) { TBaseGrid::WndProc(M); }

void TVodStringGrid::Zoom(Integer Step)
{
    const Integer n = FZoomFactor + Step;
    if (n > 20 || n < -20) return;
    FScrollLock = true;
    FZoomFactor = n;
    BeginUpdate();
    for (Integer c = 0; c < ColCount(); ++c)
        if (ColWidths(c) > 0 && ColWidths(c) + Step > 0) SetColWidths(c, ColWidths(c) + Step);
    for (Integer r = 0; r < RowCount(); ++r)
        if (RowHeights(r) > 0 && RowHeights(r) + Step > 0) SetRowHeights(r, RowHeights(r) + Step);
    FScrollLock = false;
    EndUpdate();
    if (FScrollProportional && FScrollType != ssMetro) {
        UpdateProportionalVScroll();
        UpdateProportionalHScroll();
    }
}

// (least: the platform's wheel handling until the wheel family's own)
bool TVodStringGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    return TBaseGrid::DoMouseWheelDown(Shift, MousePos);
}

bool TVodStringGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    return TBaseGrid::DoMouseWheelUp(Shift, MousePos);
}

void TVodStringGrid::Select() { SelectCell(Col(), Row()); }

void TVodStringGrid::SimulateCellClick(Integer ACol, Integer ARow)
{
    const TRect r = CellRect(ACol, ARow);
    const TMouseEvent down = OnMouseDown, up = OnMouseUp;
    OnMouseDown = nullptr;
    OnMouseUp = nullptr;
    FForceSel = true;
    FInSimulatedClick = true;
    auto restore = [&] {
        OnMouseDown = down;
        OnMouseUp = up;
        FForceSel = false;
        FInSimulatedClick = false;
    };
    try {
        MouseDown(mbLeft, TShiftState(), r.Left + 2, r.Top + 2);
        MouseUp(mbLeft, TShiftState(), r.Left + 2, r.Top + 2);
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

// (least bodies: the panning family fills them in)
void TVodStringGrid::PanStart(TPoint P) { FWheelPanPos = P; }
void TVodStringGrid::PanStop() { FWheelPan = false; }
void TVodStringGrid::PanTick() {}
void TVodStringGrid::DrawPanIndicator() {}
void TVodStringGrid::ErasePanIndicator() {}
bool TVodStringGrid::HandleWheelMessage(TMessage&, const TGridRect&) { return false; }
