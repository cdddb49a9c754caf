// Enhanced row and column moving: move checks and feedback while dragging a
// header, and the grid's own data following the platform's moves.
#include <algorithm>

#include "controls/grid/GridHoverForm.h"
#include "controls/grid/GridScrollControls.h"
#include "controls/grid/VodGrid.h"
#include "platform/ui/Forms.h"
#include "platform/ui/WindowManager.h"

namespace {

// Where a line at Pos goes when line From is taken out and put back at To:
// a right move shifts From < c <= To one down, a left move To <= c < From
// one up.
Integer MovedPos(Integer Pos, Integer From, Integer To)
{
    if (Pos == From) return To;
    if (From < To && Pos > From && Pos <= To) return Pos - 1;
    if (From > To && Pos >= To && Pos < From) return Pos + 1;
    return Pos;
}

}  // namespace

void TVodStringGrid::ColumnMoved(Integer FromIndex, Integer ToIndex)
{
    const Integer realFrom = RealColIndex(FromIndex), realTo = RealColIndex(ToIndex);
    if (FEnhRowColMove) {
        if (FSuppressColSizes->Count() > 0 && realFrom < FSuppressColSizes->Count() &&
            realTo < FSuppressColSizes->Count())
            FSuppressColSizes->Move(realFrom, realTo);
        ColMoveFlg = true;
    }
    // Cell data, widths and the current column (the platform shifts Col as
    // remove-and-insert does).
    TBaseGrid::ColumnMoved(FromIndex, ToIndex);
    // The sort column and the sort indexes follow their data the same way:
    // the sort glyph stays on the column it sorted.
    if (FSortSettings->Column >= 0) FSortSettings->Column = MovedPos(FSortSettings->Column, realFrom, realTo);
    if (FSortSettings->IndexShow)
        for (Integer i = 0; i < FSortIndexes->Count(); ++i) {
            const Integer v = FSortIndexes->GetInteger(i);
            const Integer c = v & 0xFFFF;
            FSortIndexes->SetInteger(i, Integer((Cardinal(v) & 0xFFFF0000u) | Cardinal(MovedPos(c, realFrom, realTo))));
        }
    if (FFloatingFooter->Visible() && FFooterPanel) FFooterPanel->Invalidate();
    auto* other = dynamic_cast<TVodStringGrid*>(FSyncGrid->Grid());
    if (other && other != this && FSyncGrid->MoveColumn() && !FSyncedMove) {
        other->FSyncedMove = true;
        try {
            other->MoveColumn(FromIndex, ToIndex);
        } catch (...) {
            other->FSyncedMove = false;
            throw;
        }
        other->FSyncedMove = false;
    }
}

void TVodStringGrid::RowMoved(Integer FromIndex, Integer ToIndex)
{
    if (FFloatingFooter->Visible() && FFloatingFooter->FooterStyle() == fsFixedLastRow && ToIndex == RowCount() - 1)
        return;
    // The platform's handling would fire OnRowMoved: it fires once, below.
    TMovedEvent saved = std::move(OnRowMoved);
    OnRowMoved = nullptr;
    try {
        TBaseGrid::RowMoved(FromIndex, ToIndex);
    } catch (...) {
        OnRowMoved = std::move(saved);
        throw;
    }
    if (FEnhRowColMove) ColMoveFlg = true;
    OnRowMoved = std::move(saved);
    if (OnRowMoved) OnRowMoved(this, FromIndex, ToIndex);
    auto* other = dynamic_cast<TVodStringGrid*>(FSyncGrid->Grid());
    if (other && other != this && FSyncGrid->MoveRow() && !FSyncedMove) {
        other->FSyncedMove = true;
        try {
            other->MoveRow(FromIndex, ToIndex);
        } catch (...) {
            other->FSyncedMove = false;
            throw;
        }
        other->FSyncedMove = false;
    }
}

void TVodStringGrid::HideMoveArrows()
{
    for (TArrowWindow* a : FArrows)
        if (a && a->HandleAllocated()) a->Hide();
}

void TVodStringGrid::MoveFeedback(Integer X, Integer Y, Integer ACol, Integer ARow)
{
    if (ComponentState().Contains(csDesigning)) return;
    bool allow = true;
    if (FGridState == gsColMoving) {
        if (FFilterEdit->Enabled && FFilterEdit->Row == ARow)
            allow = false;
        else if (OnColumnMove)
            OnColumnMove(this, Movecell, allow);
    } else if (FGridState == gsRowMoving) {
        if (OnRowMove) OnRowMove(this, Movecell, allow);
    } else {
        return;
    }
    if (!allow) {
        FGridState = gsNormal;
        Screen->SetCursor(FOldCursor);
        return;
    }
    if (RowCount() <= 1 || (X == Clickposx && Y == Clickposy) || !FEnhRowColMove || FSizingFixed || FSizingFixedR)
        return;
    DragDropStart();
    const bool colMove = FGridState == gsColMoving;
    // The header drag button shows the moved header and keeps the press
    // offset under the pointer.
    if (FHeaderDragButton) {
        if (colMove && Movecell >= FixedCols() && ARow >= 0) {
            FHeaderDragButton->SetCaption(GetCellEx(RealColIndex(Movecell), 0));
            FHeaderDragButton->SetBounds(FHeaderDragButton->Left(), FHeaderDragButton->Top(), ColWidths(Movecell),
                                         RowHeights(std::max(0, ARow)));
        } else if (!colMove && Movecell >= FixedRows() && ACol >= 0) {
            FHeaderDragButton->SetCaption(GetCellEx(0, Movecell));
            FHeaderDragButton->SetBounds(FHeaderDragButton->Left(), FHeaderDragButton->Top(),
                                         ColWidths(std::max(0, ACol)), RowHeights(Movecell));
        }
        const TPoint sp = ClientToScreen(TPoint{X - MoveOfsX, Y - MoveOfsY});
        FHeaderDragButton->SetBounds(sp.X, sp.Y, FHeaderDragButton->Width(), FHeaderDragButton->Height());
    }
    if (colMove) {
        if (FMoveColInd >= FixedCols() && ACol >= 0 && FMoveColInd < ColCount()) {
            const TRect r = CellRect(FMoveColInd, 0);
            const TPoint tl = ClientToScreen(TPoint{r.Left, r.Top});
            const Integer edge = FMoveColInd < Movecell ? tl.X : tl.X + r.Width();
            const bool vis = FMoveColInd >= LeftCol() && FMoveColInd < LeftCol() + VisibleColCount() && r.Width() > 0;
            if (FArrows[0] && FArrows[1]) {
                FArrows[0]->SetBounds(edge - 5, tl.Y + r.Height(), FArrows[0]->Width(), FArrows[0]->Height());
                FArrows[1]->SetBounds(edge - 5, tl.Y - 8, FArrows[1]->Width(), FArrows[1]->Height());
                FArrows[0]->SetVisible(vis);
                FArrows[1]->SetVisible(vis);
            }
        }
        if (ACol >= 0) {
            FMoveColInd = ACol;
            FMoveRowInd = 0;
            if (OnColumnMoving) OnColumnMoving(this, FMoveColInd, allow);
        }
        if (VisibleColCount() + FixedCols() < ColCount()) {
            if (X < FixedExtent(false) && LeftCol() > FixedCols())
                SetLeftCol(LeftCol() - 1);
            else if (X > Width() && LeftCol() + VisibleColCount() < ColCount())
                SetLeftCol(LeftCol() + 1);
        }
    } else {
        const bool onFooter = FFloatingFooter->Visible() && FFloatingFooter->FooterStyle() == fsFixedLastRow &&
                              FMoveRowInd + 1 == RowCount();
        if (!onFooter && FMoveRowInd >= FixedRows() && FMoveRowInd < RowCount() && ARow >= 0) {
            const TRect r = CellRect(0, FMoveRowInd);
            const TPoint tl = ClientToScreen(TPoint{r.Left, r.Top});
            const Integer edge = FMoveRowInd < Movecell ? tl.Y : tl.Y + r.Height();
            const bool vis = FMoveRowInd >= TopRow() && FMoveRowInd < TopRow() + VisibleRowCount() && r.Width() > 0;
            if (FArrows[2] && FArrows[3]) {
                FArrows[2]->SetBounds(tl.X - 10, edge - 5, FArrows[2]->Width(), FArrows[2]->Height());
                FArrows[3]->SetBounds(ClientToScreen(TPoint{ClientWidth(), 0}).X, edge - 5, FArrows[3]->Width(),
                                      FArrows[3]->Height());
                FArrows[2]->SetVisible(vis);
                FArrows[3]->SetVisible(vis);
            }
        }
        if (ARow >= 0) {
            FMoveColInd = 0;
            FMoveRowInd = ARow;
            if (OnRowMoving) OnRowMoving(this, FMoveRowInd, allow);
        }
        if (VisibleRowCount() + FixedRows() < RowCount()) {
            if (Y < FixedExtent(true) && TopRow() > FixedRows())
                SetTopRow(TopRow() - 1);
            else if (Y > Height() && TopRow() + VisibleRowCount() < RowCount())
                SetTopRow(TopRow() + 1);
        }
    }
    if (FHeaderDragButton) {
        if (!FHeaderDragButton->Visible() && !FDragDropSettings->ShowCells) FHeaderDragButton->Show();
        if (!FHeaderDragButton->Enabled()) FHeaderDragButton->SetEnabled(true);
    }
    Screen->SetCursor(allow ? crDrag : crNoDrop);
    if (!allow && FGridState == gsNormal) Screen->SetCursor(FOldCursor);
}
