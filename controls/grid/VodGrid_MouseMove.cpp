// The string grid's mouse move: hover feedback, sizing zones, the drags a
// press started, size hints; entering and leaving the grid.
#include <algorithm>
#include <cmath>

#include "controls/grid/GridDragDropSettings.h"
#include "controls/grid/GridScrollControls.h"
#include "controls/grid/HTMLHintWindow.h"
#include "controls/grid/VodGrid.h"
#include "platform/ui/Forms.h"
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

void TVodStringGrid::ShowSizeHint(const String& Text, TRect CellR)
{
    if (!FScrollHintWnd) FScrollHintWnd = new THTMLHintWindow(this);
    TRect r = FScrollHintWnd->CalcHintRect(200, Text, nullptr);
    const TPoint p = ClientToScreen(TPoint{CellR.Left, CellR.Top});
    r = TRect{p.X, p.Y, p.X + r.Width(), p.Y + r.Height()};
    FScrollHintWnd->SetColor(FHintColor);
    FScrollHintWnd->ActivateHint(r, Text);
    FScrollHintShow = true;
}

// The OLE drag a press on a drop source starts once the mouse moved away:
// a header of a column drag-and-drop grid drags its column, anything else
// the selected cells (their text, the current cell as rich text and, when
// allowed, the grid's own cell format). A move into another place removes
// what was dragged unless copies are forced.
void TVodStringGrid::OleDragFromMouse(Integer X, Integer Y, Integer ACol, Integer ARow)
{
    TDragDropSettings* dd = FDragDropSettings.get();
    const Integer rc = RealColIndex(ACol);
    TComPtr<TGridDropSource> source(new TGridDropSource(this));
    if (OnOleDragStart) OnOleDragStart(this, ARow, rc);
    DragDropStart();
    const bool header = ARow < FixedRows() && dd->OleColumnDragDrop;
    if (dd->ShowCells) {
        if (!FMoveForm) {
            TGridRect r = Selection();
            if (dd->OleColumnPicker)
                r = TGridRect{ACol, 0, ACol, 0};
            else if (dd->OleColumnDragDrop)
                r = TGridRect{ACol, 0, ACol, std::min(RowCount() - 1, VisibleRowCount())};
            else {
                r.Top = std::max(r.Top, TopRow());
                r.Left = std::max(r.Left, LeftCol());
                r.Bottom = std::min(r.Bottom, TopRow() + VisibleRowCount());
                r.Right = std::min(r.Right, LeftCol() + VisibleColCount());
            }
            const bool hidden = IsSelectionHidden();
            if (!hidden) HideSelection();
            FMoveForm = SelectionToForm(r);
            if (!hidden) UnHideSelection();
            FMoveForm->HandleNeeded();
            SetWindowPos(FMoveForm->Handle(), HWND_TOPMOST, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        }
        TPoint p = ClientToScreen(TPoint{X, Y});
        if (UseRightToLeftAlignment()) p.X -= FMoveForm->Width() - ColWidths(0);
        FMoveForm->SetLeft(p.X);
        FMoveForm->SetTop(p.Y);
    }
    Integer effect = 0;
    if (header) {
        if (!dd->ShowCells && FHeaderDragButton) {
            const TPoint p = ClientToScreen(TPoint{X, Y});
            FHeaderDragButton->SetCaption(GetCellEx(rc, 0));
            FHeaderDragButton->SetBounds(p.X, p.Y - RowHeights(0), ColWidths(ACol), RowHeights(0));
            FHeaderDragButton->SetVisible(true);
        }
        const HRESULT hr = vurdd::BeginColumnOleDrag(source.Get(), rc, DROPEFFECT_COPY | DROPEFFECT_MOVE, effect);
        if (hr != DRAGDROP_S_CANCEL && OnOleDragStop) OnOleDragStop(this, effect);
        if (FHeaderDragButton) FHeaderDragButton->SetVisible(false);
        for (TArrowWindow* a : FArrows)
            if (a && a->HandleAllocated()) ShowWindow(a->Handle(), SW_HIDE);
    } else {
        FDropSelection = Selection();
        std::unique_ptr<TMemoryStream> cells;
        if (FNavigation->AllowFmtClipboard()) {
            cells = std::make_unique<TMemoryStream>();
            SaveRectToBinStream(FDropSelection, cells.get(), false);
        }
        String rtf;
        if (TCustomRichEdit* re = CellRichEdit()) {
            CellToRich(RealColIndex(Col()), Row(), re);
            rtf = RichToString(re);
        }
        const HRESULT hr = vurdd::BeginTextOleDrag(source.Get(), SelectedText(), rtf, effect,
                                                   DROPEFFECT_COPY | DROPEFFECT_MOVE, cells.get());
        if (hr != DRAGDROP_S_CANCEL) {
            if (!dd->OleCopyAlways && effect == Integer(DROPEFFECT_MOVE)) {
                if (dd->OleRemoveRows && Options().Contains(goRowSelect)) {
                    if (FMouseActions->DisjunctRowSelect())
                        RemoveSelectedRows();
                    else
                        DeleteGridRow(FDropSelection.Top, FDropSelection.Bottom - FDropSelection.Top + 1);
                } else if (FMouseActions->DisjunctRowSelect()) {
                    ClearSelection();
                } else {
                    ClearRect(FDropSelection.Left, FDropSelection.Top, FDropSelection.Right, FDropSelection.Bottom);
                }
            }
            if (OnOleDragStop) OnOleDragStop(this, effect);
        }
    }
    // The drag loop took the button's release.
    FMouseDownMove = false;
    FMouseKeepDown = false;
    FGridState = gsNormal;
    DragDropEnd();
}

void TVodStringGrid::MouseMove(TShiftState Shift, Integer X, Integer Y)
{
    const bool designing = ComponentState().Contains(csDesigning);
    if (FMouseDownMove && FMouseActions->RangeSelectAndEdit() && Options().Contains(goEditing) && !EditorMode()) {
        TGridOptions o = Options();
        o.Exclude(goEditing);
        SetOptions(o);
    }
    if (FScrollStart) {
        const Integer dy = FTouchScrollPoint.Y - Y, dx = FTouchScrollPoint.X - X;
        if (std::abs(dy) >= std::abs(dx) && VisibleRowCount() + FixedRows() < RowCount()) {
            // Kept in range: the top row never leaves the scrollable rows.
            const Integer maxTop = std::max(FixedRows(), RowCount() - VisibleRowCount());
            SetTopRow(std::clamp(FTopDown + dy / std::max(1, DefaultRowHeight()), FixedRows(), maxTop));
        } else if (std::abs(dy) < std::abs(dx) && VisibleColCount() + FixedCols() < ColCount()) {
            const Integer maxLeft = std::max(FixedCols(), ColCount() - VisibleColCount());
            SetLeftCol(std::clamp(FLeftRight + dx / std::max(1, DefaultColWidth()), FixedCols(), maxLeft));
        }
    }
    const TGridRect selAtEntry = Selection();
    Integer ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    const bool valid = ACol >= 0 && ARow >= 0;
    bool cursorHandled = false;

    if (!designing && valid) {
        if (FHoverRow && FHoverRowIdx != ARow) {
            const Integer old = FHoverRowIdx;
            FHoverRowIdx = ARow;
            RepaintRow(ARow);
            if (old >= 0 && old < RowCount()) RepaintRow(old);
        }
    }
    if (FHoverFixedCells != hfNone && !FNoMouseLeave) {
        const TPoint old = FHoverFixedCell;
        const TPoint now = valid && IsHoverFixedCell(ACol, ARow) ? TPoint{ACol, ARow} : TPoint{-1, -1};
        if (!(now == old)) {
            FHoverFixedCell = now;
            if (old.X >= 0 && (old.Y <= FixedRows() || old.X <= FixedCols())) RepaintCell(old.X, old.Y);
            if (now.X >= 0) RepaintCell(now.X, now.Y);
        }
    }
    if (FLook == glListView) {
        const TPoint now = valid && (ACol < FixedCols() || ARow < FixedRows()) ? TPoint{ACol, ARow} : TPoint{-1, -1};
        if (!(now == FHotFixedCell)) {
            if (FHotFixedCell.X >= 0) RepaintCell(FHotFixedCell.X, FHotFixedCell.Y);
            FHotFixedCell = now;
            if (now.X >= 0) RepaintCell(now.X, now.Y);
        }
    }
    {
        TPoint now{-1, -1};
        if (valid) {
            const Integer rc = RealColIndex(ACol);
            if ((HasButton(rc, ARow) && PtInRect(GetCellGraphicRect(rc, ARow), TPoint{X, Y})) ||
                (HasExpand(rc, ARow) && PtInRect(GetExpandButtonRect(rc, ARow), TPoint{X, Y})))
                now = TPoint{ACol, ARow};
        }
        if (!(now == FHoverButton)) {
            // Only the cells whose hover state changed are repainted.
            if (FHoverButton.X >= 0) RepaintCell(FHoverButton.X, FHoverButton.Y);
            FHoverButton = now;
            if (now.X >= 0) RepaintCell(now.X, now.Y);
        }
    }
    if (FMouseSelectStart >= 0 && FMouseActions->RowSelect() && FMouseSelectMode == msRow && valid &&
        ARow >= FixedRows() && ARow < RowCount() - FFixedFooters) {
        const Integer r = std::max(FixedRows(), ARow);
        SetSelection(TGridRect{FixedCols(), std::min(FMouseSelectStart, r), ColCount() - 1, std::max(FMouseSelectStart, r)});
        if (Y > Height() - 4 && TopRow() + VisibleRowCount() < RowCount()) SetTopRow(TopRow() + 1);
        if (FixedRows() > 0 && Y < RowHeights(0) && TopRow() > FixedRows()) SetTopRow(TopRow() - 1);
    }
    if (FMouseSelectStart >= 0 && FMouseActions->ColSelect() && FMouseSelectMode == msColumn && valid) {
        const Integer c = std::max(FixedCols(), ACol);
        SetSelection(TGridRect{std::min(FMouseSelectStart, c), FixedRows(), std::max(FMouseSelectStart, c), RowCount() - 1});
    }
    if (!designing) {
        // Fixed column and row borders: within 2 pixels of the summed edge.
        bool zone = false;
        Integer sum = 0;
        for (Integer i = 0; i < FixedCols() && valid; ++i) {
            if (std::abs(sum + ColWidths(i) - X) < 3) zone = true;
            sum += ColWidths(i) + 1;
        }
        FFixedColSizeOffer = zone && FMouseActions->SizeFixedCol();
        if (FSizingFixed) FSizeFixedX = X;
        zone = false;
        sum = 0;
        for (Integer i = 0; i < FixedRows() && valid; ++i) {
            if (std::abs(sum + RowHeights(i) - Y) < 3) zone = true;
            sum += RowHeights(i) + 1;
        }
        FFixedRowSizeOffer = zone && FMouseActions->SizeFixedRow();
        if (FSizingFixedR) FSizeFixedY = Y;
    }
    const bool onGrip = valid && FSelectionResizer && FSelectionRectangle && OnSelectionResizeGrip(X, Y);
    if (FSelectionClick && valid && IsPrimaryButtonDown() && FDragDropSettings->OleDropSource &&
        FGridState != gsColSizing && !onGrip && (std::abs(X - Clickposx) > 3 || std::abs(Y - Clickposy) > 3)) {
        FSelectionClick = false;
        bool allow = true;
        if (FDragDropSettings->OleColumnsOnly && ARow >= FixedRows())
            allow = false;
        else if (OnOleDrag)
            OnOleDrag(this, ARow, RealColIndex(ACol), GetCellEx(RealColIndex(ACol), ARow), allow);
        if (allow) {
            OleDragFromMouse(X, Y, ACol, ARow);
        } else if (FGridState == gsNormal) {
            FGridState = gsSelecting;
        }
    }
    if (!designing) {
        if (FGridState == gsColSizing) ColSized = true;
        if (FGridState == gsRowSizing) RowSized = true;
        MoveFeedback(X, Y, ACol, ARow);
        FMouseSelectMode = msNormal;
        if (onGrip) {
            FMouseSelectMode = msResize;
            cursorHandled = true;
        } else if (valid && !FMouseDownMove) {
            const bool fixedRow = ARow < FixedRows(), fixedCol = ACol < FixedCols();
            const bool footerLast = FFloatingFooter->Visible() && FFloatingFooter->FooterStyle() == fsFixedLastRow;
            if (fixedRow && fixedCol && FMouseActions->AllSelect()) {
                FMouseSelectMode = msAll;
                cursorHandled = true;
            } else if (fixedRow && !fixedCol && FMouseActions->ColSelect() && !IsOnSizingBorder(X, Y)) {
                FMouseSelectMode = msColumn;
                cursorHandled = true;
            } else if (fixedCol && !fixedRow && FMouseActions->RowSelect() &&
                       ARow <= RowCount() - (footerLast ? 2 : 1) && !IsOnSizingBorder(X, Y) &&
                       !(IsNode(ARow) && IsInNodeButton(ARow, X))) {
                FMouseSelectMode = msRow;
                cursorHandled = true;
            }
        }
    }
    if (valid) {
        const bool before = Invokedchange;
        Invokedchange = false;
        AnchorHoverAt(ACol, ARow, X, Y);
        if (Invokedchange) cursorHandled = true;
        Invokedchange = Invokedchange || before;
    }
    if (!cursorHandled && Cursor() != FOldCursor && FGridState == gsNormal && !FMouseDownMove) {
        Invokedchange = true;
        SetCursor(FOldCursor);
    }
    if (FLastHintPos.X != -1 && valid) {
        const TPoint b = BaseCell(RealColIndex(ACol), ARow);
        if (!(b == FLastHintPos)) {
            Application->CancelHint();
            FLastHintPos = TPoint{-1, -1};
        }
    }
    if (FBalloon->Enable() && valid && FHToolTip) {
        const TPoint b = BaseCell(RealColIndex(ACol), ARow);
        if (!(b == FLastBalloonCell)) {
            SendMessage(FHToolTip, 1052, 0, 0);
            FLastBalloonCell = TPoint{-1, -1};
        }
    }
    if (FGridState == gsSelecting) FMoveSelection = Selection();
    TBaseGrid::MouseMove(Shift, X, Y);
    if (FNavigation->KeepHorizScroll() && FMouseKeepDown && FGridState != gsColMoving && LeftCol() != FOldKeepLeftCol)
        SetLeftCol(FOldKeepLeftCol);

    const bool colSizing = FGridState == gsColSizing || FSizingFixed;
    const bool rowSizing = FGridState == gsRowSizing || FSizingFixedR;
    Integer colSize = 0, rowSize = 0, cSizeCol = 0, rSizeRow = 0;
    if (colSizing) {
        if (FSizingFixed) {
            colSize = FSizeFixedX;
            cSizeCol = 0;
        } else {
            cSizeCol = FSizingIndex >= 0 ? FSizingIndex : (Colclicked >= 0 ? Colclicked : ColCount() - 1);
            colSize = std::max(0, FSizingPos - Integer(LinePos(false, cSizeCol)));
        }
        if (OnColumnSizing) OnColumnSizing(this, cSizeCol, colSize);
    }
    if (rowSizing) {
        if (FSizingFixedR) {
            rowSize = FSizeFixedY;
            rSizeRow = 0;
        } else {
            rSizeRow = FSizingIndex >= 0 ? FSizingIndex : (Rowclicked >= 0 ? Rowclicked : RowCount() - 1);
            rowSize = std::max(0, FSizingPos - Integer(LinePos(true, rSizeRow)));
        }
        if (OnRowSizing) OnRowSizing(this, rSizeRow, rowSize);
    }
    if ((designing || FHintShowSizing) && (colSizing || rowSizing)) {
        const String text = colSizing ? L"cw=<b>" + IntToStr(colSize) + L"</b>" : L"rh=<b>" + IntToStr(rowSize) + L"</b>";
        const bool fixedSizing = FSizingFixed || FSizingFixedR;
        const TRect cr = fixedSizing ? CellRect(0, 0)
                                     : (colSizing ? CellRect(cSizeCol, 0) : CellRect(0, rSizeRow));
        ShowSizeHint(text, cr);
    }
    if (FEnhRowColMove && (FGridState == gsColMoving || FGridState == gsRowMoving)) UpdateWindow(Handle());
    const TGridRect now = Selection();
    if (!(now == selAtEntry)) SelectionChanged(now.Left, now.Top, now.Right, now.Bottom);
}

void TVodStringGrid::CMMouseEnter(TMessage& M)
{
    TBaseGrid::CMMouseEnter(M);
    if (FMouseActions->AutoFocus() && !Focused() && CanFocus()) SetFocus();
}

void TVodStringGrid::CMMouseLeave(TMessage& M)
{
    TBaseGrid::CMMouseLeave(M);
    FMouseSelectMode = msNormal;
    FFixedColSizeOffer = false;
    FFixedRowSizeOffer = false;
    if (!FNoMouseLeave && FHoverFixedCells != hfNone && FHoverFixedCell.X >= 0) {
        const TPoint c = FHoverFixedCell;
        FHoverFixedCell = TPoint{-1, -1};
        RepaintCell(c.X, c.Y);
    }
    if (FLook == glListView && FHotFixedCell.X >= 0) {
        RepaintCell(FHotFixedCell.X, FHotFixedCell.Y);
        FHotFixedCell = TPoint{-1, -1};
    }
    if (FHoverRow && FHoverRowIdx >= 0) {
        const Integer r = FHoverRowIdx;
        FHoverRowIdx = -1;
        if (r < RowCount()) RepaintRow(r);
    }
    if (FHoverButton.X >= 0) {
        RepaintCell(FHoverButton.X, FHoverButton.Y);
        FHoverButton = TPoint{-1, -1};
    }
}
