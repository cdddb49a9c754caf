// The string grid's window procedure, zoom, middle-button panning and the
// mouse wheel.
#include <algorithm>
#include <vector>

#include "controls/grid/GridFilter.h"
#include "controls/grid/VodGrid.h"

namespace {
constexpr UINT_PTR kPanTimer = 999;
}  // namespace

void TVodStringGrid::WndProc(TMessage& M)
{
    if (M.Msg == WM_DESTROY && FWheelPan) PanStop();
    if (ComponentState().Contains(csDestroying)) {
        TBaseGrid::WndProc(M);
        return;
    }
    const TGridRect s0 = Selection();
    const Integer row0 = Row();
    switch (M.Msg) {
    case WM_TIMER:
        if (FWheelPan && FIntelliPan != ipNone && M.WParam == kPanTimer) {
            PanTick();
            const TGridRect s = Selection();
            if (!(s == s0)) SelectionChanged(s.Left, s.Top, s.Right, s.Bottom);
            return;
        }
        break;
    case WM_MBUTTONDOWN:
        if (FWheelPan) {
            PanStop();
            return;
        }
        if (FWheelMsg != 0 && FIntelliPan != ipNone && RowCount() > FixedRows() && HandleAllocated()) {
            PanStart(M.Pos());
            return;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_KEYDOWN:
        // Any button or key ends the panning and does nothing else.
        if (FWheelPan) {
            PanStop();
            return;
        }
        break;
    default:
        if (FWheelMsg != 0 && M.Msg == FWheelMsg && !FWheelPan && !ComponentState().Contains(csDesigning) &&
            HandleWheelMessage(M, s0))
            return;
        break;
    }
    TBaseGrid::WndProc(M);
    if (Row() != row0 && FSyncGrid->SelectionRow())
        if (TStringGrid* g = FSyncGrid->Grid(); g && Row() < g->RowCount() && Row() >= g->FixedRows()) g->SetRow(Row());
}

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

bool TVodStringGrid::WheelOverride(bool Down, TShiftState Shift, TPoint MousePos)
{
    if ((FDropList && FDropList->Visible()) || (FDropCheckList && FDropCheckList->Visible())) return false;
    if (FMouseActions->WheelAction() == waScroll || !FEnableWheel) {
        bool handled = false;
        if (Down && OnMouseWheelDown) OnMouseWheelDown(this, Shift, MousePos, handled);
        if (!Down && OnMouseWheelUp) OnMouseWheelUp(this, Shift, MousePos, handled);
        return handled;
    }
    const bool direct = FMouseActions->DirectEdit();
    FMouseActions->SetDirectEdit(false);
    bool result = true;
    try {
        if (Options().Contains(goRowSelect) && FNavigation->KeepHorizScroll()) {
            const Integer left = LeftCol();
            BeginUpdate();
            try {
                result = Down ? TBaseGrid::DoMouseWheelDown(Shift, MousePos) : TBaseGrid::DoMouseWheelUp(Shift, MousePos);
            } catch (...) {
                EndUpdate();
                throw;
            }
            if (LeftCol() != left) SetLeftCol(left);
            EndUpdate();
        } else if (Down || (Col() >= 0 && Row() >= 0 && Col() < ColCount() && Row() < RowCount())) {
            result = Down ? TBaseGrid::DoMouseWheelDown(Shift, MousePos) : TBaseGrid::DoMouseWheelUp(Shift, MousePos);
        }
    } catch (...) {
        FMouseActions->SetDirectEdit(direct);
        throw;
    }
    FMouseActions->SetDirectEdit(direct);
    return result;
}

bool TVodStringGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) { return WheelOverride(true, Shift, MousePos); }
bool TVodStringGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) { return WheelOverride(false, Shift, MousePos); }

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

Integer TVodStringGrid::LastKeyDataRow()
{
    Integer last = RowCount() - FFixedFooters - 1;
    if (FFloatingFooter->Visible()) last = std::min(last, RowCount() - 2);
    return last;
}

void TVodStringGrid::PanStart(TPoint P)
{
    FICursor = LoadCursor(HInstance, uintptr_t(8000));
    FPanCursorId = 8000;
    FPanOldCursor = FICursor ? ::SetCursor(FICursor) : nullptr;
    FWheelPan = true;
    SetTimer(Handle(), kPanTimer, 10, nullptr);
    FWheelPanPos = P;
    SetCapture(Handle());
    DrawPanIndicator();
}

void TVodStringGrid::PanStop()
{
    if (HandleAllocated()) {
        if (GetCapture() == Handle()) ReleaseCapture();
        KillTimer(Handle(), kPanTimer);
    }
    if (FPanOldCursor) ::SetCursor(FPanOldCursor);
    FPanOldCursor = nullptr;
    FWheelPan = false;
    ErasePanIndicator();
}

void TVodStringGrid::PanTick()
{
    TPoint p;
    GetCursorPos(&p);
    p = ScreenToClient(p);
    Integer V = p.Y > FWheelPanPos.Y + 5 ? 1 : (p.Y < FWheelPanPos.Y - 5 ? -1 : 0);
    Integer H = p.X > FWheelPanPos.X + 5 ? 1 : (p.X < FWheelPanPos.X - 5 ? -1 : 0);
    if (FIntelliPan == ipHorizontal) V = 0;
    if (FIntelliPan == ipVertical) H = 0;
    static const Word kCursor[3][3] = {{8006, 8004, 8005}, {8002, 8000, 8003}, {8008, 8001, 8007}};
    FPanCursorId = kCursor[V + 1][H + 1];
    const Integer lastRow = LastKeyDataRow(), lastCol = ColCount() - FFixedRightCols - 1;
    if (lastRow >= FixedRows() && (Row() < FixedRows() || Row() > lastRow))
        SetRow(std::clamp(Row(), FixedRows(), lastRow));
    if (lastCol >= FixedCols() && (Col() < FixedCols() || Col() > lastCol))
        SetCol(std::clamp(Col(), FixedCols(), lastCol));
    if (FMouseActions->WheelAction() == waScroll) {
        const Integer maxTop = std::max(FixedRows(), RowCount() - VisibleRowCount());
        const Integer maxLeft = std::max(FixedCols(), ColCount() - VisibleColCount());
        const Integer left = LeftCol() + H, top = TopRow() + V;
        if ((H && left >= FixedCols() && left <= maxLeft) || (V && top >= FixedRows() && top <= maxTop)) ErasePanIndicator();
        if (H && left >= FixedCols() && left <= maxLeft) SetLeftCol(left);
        if (V && top >= FixedRows() && top <= maxTop) SetTopRow(top);
    } else {
        const Integer c = Col() + H, r = Row() + V;
        const Integer topBefore = TopRow(), leftBefore = LeftCol();
        if (H && c >= FixedCols() && c <= lastCol) SetCol(c);
        if (V && r >= FixedRows() && r <= lastRow) SetRow(r);
        if (TopRow() != topBefore || LeftCol() != leftBefore) ErasePanIndicator();
    }
    if (FPanCursorId == 8000) {
        if (FICursor) ::SetCursor(FICursor);
    } else if (HCURSOR c = LoadCursor(HInstance, uintptr_t(FPanCursorId))) {
        ::SetCursor(c);
    }
    DrawPanIndicator();
}

void TVodStringGrid::DrawPanIndicator()
{
    if (!HandleAllocated() || !FWheelPan) return;
    // The indicator: a ring with the arrows of the directions the panning
    // moves, at the point where it started.
    HDC dc = GetDC(Handle());
    if (!dc) return;
    TCanvas c;
    c.SetHandle(dc);
    const Integer x = FWheelPanPos.X - 16, y = FWheelPanPos.Y - 16;
    c.Pen()->SetColor(clBlack);
    c.Brush()->SetColor(clWhite);
    c.Ellipse(x + 2, y + 2, x + 30, y + 30);
    c.Brush()->SetColor(clBlack);
    const Integer cx = x + 16, cy = y + 16;
    if (FIntelliPan != ipHorizontal) {
        const std::vector<TPoint> up = {{cx, y + 5}, {cx - 4, y + 10}, {cx + 4, y + 10}};
        const std::vector<TPoint> down = {{cx, y + 27}, {cx - 4, y + 22}, {cx + 4, y + 22}};
        c.Polygon(up);
        c.Polygon(down);
    }
    if (FIntelliPan != ipVertical) {
        const std::vector<TPoint> left = {{x + 5, cy}, {x + 10, cy - 4}, {x + 10, cy + 4}};
        const std::vector<TPoint> right = {{x + 27, cy}, {x + 22, cy - 4}, {x + 22, cy + 4}};
        c.Polygon(left);
        c.Polygon(right);
    }
    c.Ellipse(cx - 2, cy - 2, cx + 3, cy + 3);
    c.SetHandle(nullptr);
    ReleaseDC(Handle(), dc);
}

void TVodStringGrid::ErasePanIndicator()
{
    if (!HandleAllocated()) return;
    const RECT r{FWheelPanPos.X - 16, FWheelPanPos.Y - 16, FWheelPanPos.X + 16, FWheelPanPos.Y + 16};
    InvalidateRect(Handle(), &r, FALSE);
}

bool TVodStringGrid::HandleWheelMessage(TMessage& M, const TGridRect& S0)
{
    M.Result = 0;
    const TPoint screen = LParamToPoint(M.LParam);
    const TPoint client = ScreenToClient(screen);
    const TRect cr = ClientRect();
    if (FMouseActions->WheelActive() == waMouseOver &&
        !(client.X >= cr.Left && client.X < cr.Right && client.Y >= cr.Top && client.Y < cr.Bottom))
        return true;
    if (Parent() && !Focused() && Parent()->Perform(CM_MOUSEWHEEL, M.WParam, M.LParam) != 0) return true;
    const Integer delta = GET_WHEEL_DELTA_WPARAM(M.WParam);
    const bool ctrl = (M.WParamLo() & MK_CONTROL) != 0 || GetKeyState(VK_CONTROL) < 0;
    if (ctrl && FIntelliZoom) {
        Zoom(delta < 0 ? -FWheelScrollLines : FWheelScrollLines);
        DoIntelliZoom();
        return true;
    }
    if (!FEnableWheel) return false;
    if (FFixedRowAlways && RowCount() == 1) return true;
    Integer D = FMouseActions->WheelIncrement();
    if (D < 1) D = FWheelScrollLines;
    if (D < 1) D = 1;
    const Integer lastRow = LastKeyDataRow();
    if (FMouseActions->WheelAction() == waScroll) {
        const Integer maxTop = std::max(FixedRows(), RowCount() - VisibleRowCount());
        if (delta < 0) {
            if (TopRow() < maxTop) SetTopRow(std::min(TopRow() + D, maxTop));
        } else if (delta > 0) {
            SetTopRow(std::max(FixedRows(), TopRow() - D));
        }
    } else if (lastRow >= FixedRows() && delta != 0) {
        const Integer step = delta < 0 ? D : -D;
        Integer C = std::clamp(Row() + step, FixedRows(), lastRow);
        if (Col() >= ColCount()) {
            if (Row() >= RowCount()) FocusCell(ColCount() - 1, RowCount() - 1, true);
            SetCol(std::clamp(Col(), FixedCols(), ColCount() - 1));
        }
        if (C != Row()) {
            BeginUpdate();
            try {
                if (FMouseActions->DisjunctRowSelect()) ClearRowSelect();
                const Integer left = LeftCol();
                // A row the grid refuses (disabled or hidden) is passed in
                // steps of the same size; the move never lands on a fixed or
                // footer row.
                for (;;) {
                    SetRow(C);
                    if (Row() == C) break;
                    const Integer n = C + step;
                    if (n < FixedRows() || n > lastRow) break;
                    C = n;
                }
                if (Options().Contains(goRowSelect) && FNavigation->KeepHorizScroll() && LeftCol() != left)
                    SetLeftCol(left);
            } catch (...) {
                EndUpdate();
                throw;
            }
            EndUpdate();
        }
    }
    bool allow = true;
    AllowWheelScroll(delta < 0 ? D : -D, allow);
    if (allow) {
        M.Result = 1;
        TShiftState shift;
        if (M.WParamLo() & MK_SHIFT) shift.Include(ssShift);
        if (ctrl) shift.Include(ssCtrl);
        bool handled = false;
        if (delta < 0 && OnMouseWheelDown) OnMouseWheelDown(this, shift, client, handled);
        if (delta > 0 && OnMouseWheelUp) OnMouseWheelUp(this, shift, client, handled);
    }
    const TGridRect s = Selection();
    if (!(s == S0)) SelectionChanged(s.Left, s.Top, s.Right, s.Bottom);
    return true;
}
