// The grid's drag and drop: settings, drop source and drop target.
#include "controls/grid/GridDragDropSettings.h"

#include "controls/grid/VodGrid.h"
#include "controls/grid/GridScrollControls.h"
#include "controls/grid/VodObj.h"
#include "controls/grid/vurdd.h"
#include "platform/base/Files.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/Forms.h"

using namespace vurdd;

void TDragDropSettings::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TDragDropSettings*>(Source);
    if (!s) return;
    FOleDropRTF = s->FOleDropRTF;
    OleAcceptText = s->OleAcceptText;
    OleEntireRows = s->OleEntireRows;
    OleDropSource = s->OleDropSource;
    OleRemoveRows = s->OleRemoveRows;
    OleAcceptFiles = s->OleAcceptFiles;
    OleAcceptURLs = s->OleAcceptURLs;
    FOleDropTarget = s->FOleDropTarget;
    OleInsertRows = s->OleInsertRows;
    OleAppendRows = s->OleAppendRows;
    OleCopyAlways = s->OleCopyAlways;
    OleColumnDragDrop = s->OleColumnDragDrop;
    OleColumnReorder = s->OleColumnReorder;
    OleColumnsOnly = s->OleColumnsOnly;
    OleColumnPicker = s->OleColumnPicker;
    ShowCells = s->ShowCells;
}

void TDragDropSettings::SetOleDropRTF(bool v)
{
    SetVurDropRTF(v);
    FOleDropRTF = v;
}

void TDragDropSettings::SetOleDropTarget(bool v)
{
    FOleDropTarget = v;
    if (FGrid) FGrid->UpdateOleDropTarget(v);
}

// ---------------------------------------------------------------------------
// Registration

void TVodStringGrid::UpdateOleDropTarget(bool Value)
{
    if (ComponentState().Contains(csDesigning)) return;
    if (Value) {
        if (FOleDropTargetAssigned || !HandleAllocated()) return;
        auto* t = new TGridDropTarget(this);
        t->AddRef();
        FOleDropTargetAssigned = RegisterDragDrop(Handle(), t) == S_OK;
        FGridDropTarget = FOleDropTargetAssigned ? t : nullptr;
        if (FOleDropTargetAssigned) {
            t->FAcceptText = FDragDropSettings->OleAcceptText;
            t->FAcceptFiles = FDragDropSettings->OleAcceptFiles;
            t->FAcceptURLs = FDragDropSettings->OleAcceptURLs;
        }
        // The registration holds the target from here on.
        t->Release();
    } else if (FOleDropTargetAssigned) {
        if (FGridDropTarget) FGridDropTarget->Detach();
        if (HandleAllocated()) RevokeDragDrop(Handle());
        FGridDropTarget = nullptr;
        FOleDropTargetAssigned = false;
    }
}

void TVodStringGrid::HandleDropError(std::exception_ptr E)
{
    if (!E) return;
    try {
        std::rethrow_exception(E);
    } catch (Exception& e) {
        if (Application) Application->HandleException(this);
    } catch (...) {
        if (Application) Application->HandleException(this);
    }
}

// ---------------------------------------------------------------------------
// Drop source

void TGridDropSource::CurrentEffect(Integer Effect)
{
    if (Effect == Integer(DROPEFFECT_MOVE) || Effect == Integer(DROPEFFECT_COPY)) FLastEffect = Effect;
}

void TGridDropSource::QueryDrag()
{
    if (!FGrid) return;
    TPoint p{};
    GetCursorPos(&p);
    if (FGrid->DragDropSettings()->ShowCells) {
        if (TForm* f = FGrid->MoveForm()) {
            f->SetLeft(p.X + 4);
            f->SetTop(p.Y + 4);
        }
    } else if (THeaderDragButton* b = FGrid->HeaderDragButton()) {
        b->SetLeft(p.X);
        b->SetTop(p.Y - b->Height());
    }
}

void TGridDropSource::DragFinished()
{
    if (!FGrid || !FGrid->DragDropSettings()->ShowCells) return;
    delete FGrid->MoveForm();
    FGrid->SetMoveForm(nullptr);
}

// ---------------------------------------------------------------------------
// Drop target

namespace {

void ShowArrow(TArrowWindow* A, Integer X, Integer Y)
{
    if (!A) return;
    A->HandleNeeded();
    SetWindowPos(A->Handle(), HWND_TOPMOST, X, Y, 9, 11, SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void HideArrow(TArrowWindow* A)
{
    if (A && A->HandleAllocated()) ShowWindow(A->Handle(), SW_HIDE);
}

TPoint ClientToScreenOf(TVodStringGrid* G, TPoint P) { return G->ClientToScreen(P); }

// Targets whose drop failed, each holding a reference, handed on by a timer
// once the drag loop has unwound.
std::vector<TGridDropTarget*>& PendingDropErrors()
{
    static std::vector<TGridDropTarget*> v;
    return v;
}
UINT_PTR GDropErrorTimer = 0;

void DeliverDropErrors(HWND, UINT, UINT_PTR, DWORD)
{
    KillTimer(nullptr, GDropErrorTimer);
    GDropErrorTimer = 0;
    std::vector<TGridDropTarget*> v;
    v.swap(PendingDropErrors());
    for (TGridDropTarget* t : v) {
        std::exception_ptr e = t->TakeDropError();
        if (t->Grid() && e) t->Grid()->HandleDropError(e);
        t->Release();
    }
}

}  // namespace

void TGridDropTarget::DropFailed(std::exception_ptr E)
{
    const bool first = !HasDropError();
    TVURDropTarget::DropFailed(E);
    if (!first || !FGrid) return;
    AddRef();
    PendingDropErrors().push_back(this);
    if (!GDropErrorTimer) GDropErrorTimer = SetTimer(nullptr, 0, 1, DeliverDropErrors);
}

bool TGridDropTarget::AppendPosition(TPoint Pt, Integer& c, Integer& r, TDropFormats Formats)
{
    TDragDropSettings* dd = FGrid->DragDropSettings();
    if (r != -1 || HasDropFormat(Formats, dfCol) || !dd->OleEntireRows || !dd->OleAppendRows) return false;
    const TPoint cp = FGrid->ScreenToClient(Pt);
    const TRect last = FGrid->CellRect(FGrid->LeftCol(), FGrid->RowCount() - 1);
    if (cp.Y < last.Bottom) return false;
    c = FGrid->FixedCols();
    r = FGrid->RowCount() - 1;
    return true;
}

void TGridDropTarget::DragMouseMove(TPoint Pt, bool& Allow, TDropFormats DropFormats)
{
    TVodStringGrid* G = FGrid;
    if (!G) {
        Allow = false;
        return;
    }
    TDragDropSettings* dd = G->DragDropSettings();
    Integer c = -1, r = -1;
    G->ScreenToCell(Pt, c, r);
    const TPoint cp = G->ScreenToClient(Pt);
    const bool isCol = HasDropFormat(DropFormats, dfCol);
    bool append = AppendPosition(Pt, c, r, DropFormats);
    Allow = c >= 0 && r >= 0;

    if (Allow && !isCol) {
        if ((r == 0 && G->TopRow() > G->FixedRows()) || (cp.Y < 8 && G->FixedRows() == 0 && G->TopRow() > 0))
            G->SetTopRow(G->TopRow() - 1);
        else if (r == G->TopRow() + G->VisibleRowCount() && G->TopRow() + G->VisibleRowCount() < G->RowCount())
            G->SetTopRow(G->TopRow() + 1);
        // Sideways only on every other timer tick: columns are wide.
        if (G->FTimerTicks % 2 == 0) {
            ++G->FTimerTicks;
            if (c == 0 && G->LeftCol() > G->FixedCols())
                G->SetLeftCol(G->LeftCol() - 1);
            else if (c == G->LeftCol() + G->VisibleColCount() && c < G->ColCount())
                G->SetLeftCol(G->LeftCol() + 1);
        }
    }

    if (!isCol) {
        if (r < G->FixedRows() && !(G->RowCount() == 1 && G->FixedRowAlways())) Allow = false;
    } else if (c < 0) {
        c = G->ColCount();
        r = 0;
        Allow = true;
    } else
        Allow = r < G->FixedRows() && c >= G->FixedCols();

    const bool file = HasDropFormat(DropFormats, dfFile);
    Allow = Allow || file;
    Allow = Allow || HasDropFormat(DropFormats, dfGridCells);
    Allow = Allow && ((c >= 0 && r >= 0) || file);
    Allow = Allow || (HasDropFormat(DropFormats, dfURL) && dd->OleAcceptURLs);
    Allow = Allow || ((DropFormats & DropFormatURIBit) && dd->OleAcceptURLs);

    if (G->OnOleDragOver) G->OnOleDragOver(G, r, c, Allow);

    if (Allow && isCol) {
        TRect cr;
        if (c >= G->ColCount()) {
            const TRect lastCell = G->CellRect(G->ColCount() - 1, r);
            cr = TRect{lastCell.Right, lastCell.Top, lastCell.Right, lastCell.Bottom};
        } else
            cr = G->CellRect(c, r);
        const TPoint tl = ClientToScreenOf(G, TPoint{cr.Left, cr.Top});
        const TPoint bl = ClientToScreenOf(G, TPoint{cr.Left, cr.Bottom});
        ShowArrow(G->ArrowDown(), tl.X, tl.Y - 8);
        ShowArrow(G->ArrowUp(), bl.X, bl.Y);
        HideArrow(G->ArrowLeft());
    } else if (Allow && c >= 0 && r >= 0) {
        if (r == 0 && G->FixedRowAlways()) {
            r = 1;
            append = false;
        }
        const TRect cr = dd->OleEntireRows ? G->CellRect(G->FixedCols(), r) : G->CellRect(c, r);
        Integer top = cr.Top;
        if (append) top += G->RowHeights(r);
        const TPoint p = ClientToScreenOf(G, TPoint{cr.Left - 10, top});
        ShowArrow(G->ArrowLeft(), p.X, p.Y);
        HideArrow(G->ArrowDown());
        HideArrow(G->ArrowUp());
    } else {
        HideArrow(G->ArrowLeft());
        HideArrow(G->ArrowDown());
        HideArrow(G->ArrowUp());
    }
}

void TGridDropTarget::DragMouseLeave()
{
    if (!FGrid) return;
    HideArrow(FGrid->ArrowDown());
    HideArrow(FGrid->ArrowUp());
    HideArrow(FGrid->ArrowLeft());
}

void TGridDropTarget::DropText(TPoint Pt, const String& S)
{
    TVodStringGrid* G = FGrid;
    if (!G) return;
    TDragDropSettings* dd = G->DragDropSettings();
    Integer c = -1, r = -1;
    G->ScreenToCell(Pt, c, r);
    const bool append = AppendPosition(Pt, c, r, FDropFormats);
    const bool isCol = HasDropFormat(FDropFormats, dfCol);
    if (!isCol && dd->OleEntireRows) c = 0;
    if (G->Options().Contains(goRowSelect)) c = dd->OleEntireRows ? 0 : G->FixedCols();
    Integer bc = 0, br = 0;
    TVodStringGrid::TextBlockSize(S, bc, br);
    bool allow = true;
    if (G->OnOleDrop) G->OnOleDrop(G, r, c, S, allow);
    TGridRect dropped = G->Selection();
    if (allow && c >= 0 && r >= 0) {
        if (G->FDropSelection.Top >= r && dd->OleRemoveRows) {
            // The drop lands above the dragged rows of this grid: they move
            // down by the dropped block.
            G->FDropSelection.Top += br + 1;
            G->FDropSelection.Bottom += br + 1;
            if (G->MouseActions()->DisjunctRowSelect() && r <= G->FRowSelect->Count())
                for (Integer i = 0; i <= br; ++i) G->FRowSelect->Insert(r, nullptr);
        }
        if (r == 0 && G->FixedRowAlways() && G->RowCount() == 1) r = 1;
        if (dd->OleInsertRows) {
            const Integer top = G->TopRow();
            if (append) {
                G->SetRowCount(G->RowCount() + br + 1);
                ++r;
            } else
                G->InsertRows(r, br + 1, true);
            const Integer nt = top + (top > G->FixedRows() ? 1 : 0);
            if (nt > 0) G->SetTopRow(nt);
        }
        G->PasteTextAt(c, r, S);
        c = std::max(c, G->FixedCols());
        const Integer right = G->Options().Contains(goRowSelect) ? c + bc - G->FixedCols() : c + bc - 1;
        dropped = TGridRect{c, r, std::min(right, G->ColCount() - 1), std::min(r + br, G->RowCount() - 1)};
        G->SetSelection(dropped);
    }
    HideArrow(G->ArrowLeft());
    HideArrow(G->ArrowDown());
    if (G->HeaderDragButton()) G->HeaderDragButton()->SetVisible(false);
    if (G->OnOleDropped) G->OnOleDropped(G, dropped);
}

void TGridDropTarget::DropStream(TPoint Pt, TMemoryStream* Stream)
{
    TVodStringGrid* G = FGrid;
    if (!G || !Stream) return;
    Stream->SetPosition(0);
    Integer c = -1, r = -1;
    G->ScreenToCell(Pt, c, r);
    // Outside the cells there is nowhere to put the block.
    if (c >= 0 && r >= 0) G->LoadAtPointFromBinStream(TPoint{c, r}, Stream);
    HideArrow(G->ArrowLeft());
    HideArrow(G->ArrowDown());
    if (G->HeaderDragButton()) G->HeaderDragButton()->SetVisible(false);
    if (c >= 0 && r >= 0 && G->OnOleDropped) G->OnOleDropped(G, G->Selection());
}

void TGridDropTarget::DropRTF(TPoint Pt, const String& S)
{
    TVodStringGrid* G = FGrid;
    if (!G) return;
    Integer c = -1, r = -1;
    G->ScreenToCell(Pt, c, r);
    bool allow = true;
    if (G->OnOleDrop) G->OnOleDrop(G, r, c, S, allow);
    if (allow && c >= 0 && r >= 0) G->SetCellEx(c, r, S);
    HideArrow(G->ArrowLeft());
    HideArrow(G->ArrowDown());
}

void TGridDropTarget::DropURL(TPoint Pt, const String& S)
{
    TVodStringGrid* G = FGrid;
    if (!G) return;
    Integer c = -1, r = -1;
    G->ScreenToCell(Pt, c, r);
    bool allow = true;
    if (G->OnOleDropURL) G->OnOleDropURL(G, r, c, S, allow);
    if (allow && c >= 0 && r >= 0) G->SetCellEx(c, r, S);
    HideArrow(G->ArrowLeft());
    HideArrow(G->ArrowDown());
}

void TGridDropTarget::DropFiles(TPoint Pt, TStrings* Files)
{
    TVodStringGrid* G = FGrid;
    if (!G || !Files || Files->Count() != 1) return;
    const String name = Files->Strings(0);
    bool allow = true;
    if (G->OnOleDropFile) {
        Integer c = -1, r = -1;
        G->ScreenToCell(Pt, c, r);
        G->OnOleDropFile(G, r, c, name, allow);
    }
    if (allow) {
        // The extension decides which reader loads the file.
        const String ext = LowerCase(ExtractFileExt(name));
        if (ext == L".csv") {
            if (G->OnOleDrop) G->OnOleDrop(G, -1, -1, name, allow);
            if (allow) G->LoadFromCSV(name, 0);
        } else if (ext.rfind(L".xls", 0) == 0) {
            if (G->OnOleDrop) G->OnOleDrop(G, -1, -1, name, allow);
            if (allow) G->LoadDroppedWorkbook(name);
        }
    }
    HideArrow(G->ArrowLeft());
    HideArrow(G->ArrowDown());
}

void TGridDropTarget::DropCol(TPoint Pt, Integer Col)
{
    TVodStringGrid* G = FGrid;
    if (!G) return;
    Integer c = -1, r = -1;
    G->ScreenToCell(Pt, c, r);
    if (c < 0) c = G->ColCount();
    if (HasDropFormat(FDropFormats, dfCol)) {
        HideArrow(G->ArrowDown());
        HideArrow(G->ArrowUp());
        if (G->HeaderDragButton()) G->HeaderDragButton()->SetVisible(false);
    }
    if (G->FOleDragCol != -1) {
        if (G->FOleDragList && G->FOleDragIndex >= 0 && G->FOleDragIndex < G->FOleDragList->Items()->Count())
            G->FOleDragList->Items()->Delete(G->FOleDragIndex);
        Integer i = 0;
        for (Integer k = 0; k < G->ColumnOrder()->Count(); ++k)
            if (G->ColumnOrder()->GetInteger(k) == G->FOleDragCol) {
                i = k;
                break;
            }
        G->UnHideColumn(i);
        if (c >= 0) G->MoveColumn(G->DisplColIndex(i), std::min(c, G->ColCount() - 1));
        G->FOleDragCol = -1;
    } else if (G->DragDropSettings()->OleColumnReorder) {
        c = std::min(c, G->ColCount() - 1);
        if (G->DisplColIndex(Col) != c) G->MoveColumn(G->DisplColIndex(Col), c);
    }
    if (G->OnOleDropCol) G->OnOleDropCol(G, r, c, Col);
}

void TVodStringGrid::LoadDroppedWorkbook(const String& FileName)
{
    // Through the spreadsheet server; a missing server or a file it cannot
    // open raises, which the drop target hands on after the drop.
    LoadFromXLS(FileName);
}
