// Undo and redo of cell text changes, single and in sequences. A marker
// entry is never written into a cell: an unpaired one (a sequence left open,
// or a start marker dropped by the level limit) is stepped over.
#include "controls/grid/BaseGrid.h"

TVodGridUndoRedo::TVodGridUndoRedo(TComponent* AOwner)
    : TComponent(AOwner), FItems(std::make_unique<TUndoRedoCollection>())
{
}

// The grid hears of the component's end through the free notification.
TVodGridUndoRedo::~TVodGridUndoRedo() = default;

void TVodGridUndoRedo::SetGrid(TBaseGrid* v)
{
    if (FGrid == v) return;
    if (FGrid) FGrid->RemoveFreeNotification(this);
    FGrid = v;
    if (v) v->FreeNotification(this);
}

void TVodGridUndoRedo::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == opRemove && AComponent == FGrid) FGrid = nullptr;
    TComponent::Notification(AComponent, Operation);
}

void TVodGridUndoRedo::RegisterChange(Integer ACol, Integer ARow, const String& OldValue, const String& NewValue)
{
    if (FMaxLevel > 0 && FItems->Count() >= FMaxLevel) FItems->Delete(0);
    auto* it = static_cast<TUndoRedoItem*>(FItems->Add());
    it->FCol = ACol;
    it->FRow = ARow;
    it->FValue = NewValue;
    it->FOrigValue = OldValue;
    FLevel = FItems->Count();
}

void TVodGridUndoRedo::AppendMarker(bool Start)
{
    auto* it = static_cast<TUndoRedoItem*>(FItems->Add());
    it->FCol = -1;
    it->FRow = -1;
    it->FSequenceStart = Start;
    it->FSequenceStop = !Start;
    FLevel = FItems->Count();
}

void TVodGridUndoRedo::StartSequence() { AppendMarker(true); }
void TVodGridUndoRedo::StopSequence() { AppendMarker(false); }

void TVodGridUndoRedo::MakeCurrent(const TUndoRedoItem* it)
{
    const Integer c = FGrid->DisplColIndex(it->FCol);
    if (c >= FGrid->FixedCols() && c < FGrid->ColCount()) FGrid->SetCol(c);
    if (it->FRow >= FGrid->FixedRows() && it->FRow < FGrid->RowCount()) FGrid->SetRow(it->FRow);
}

void TVodGridUndoRedo::Undo()
{
    if (!FGrid || FLevel <= 0 || FLevel > FItems->Count()) return;
    const TUndoRedoItem* top = FItems->Item(FLevel - 1);
    if (top->FSequenceStop) {
        --FLevel;
        while (FLevel > 0 && !FItems->Item(FLevel - 1)->FSequenceStart) {
            const TUndoRedoItem* it = FItems->Item(FLevel - 1);
            if (!it->IsMarker()) {
                if (OnUndo) OnUndo(this, FGrid, it->FCol, it->FRow, FGrid->GetCellEx(it->FCol, it->FRow), it->FOrigValue);
                FGrid->SetCellEx(it->FCol, it->FRow, it->FOrigValue);
                MakeCurrent(it);
            }
            --FLevel;
        }
        if (FLevel > 0) --FLevel;  // the start marker
        FGrid->Invalidate();
        return;
    }
    if (top->FSequenceStart) {
        // A sequence left open: its start marker is stepped over.
        --FLevel;
        return;
    }
    if (OnUndo) OnUndo(this, FGrid, top->FCol, top->FRow, FGrid->GetCellEx(top->FCol, top->FRow), top->FOrigValue);
    if (FGrid->CellHasCheckBox(top->FCol, top->FRow))
        FGrid->SetCheckBoxFromText(top->FCol, top->FRow, top->FOrigValue);
    else
        FGrid->SetCellEx(top->FCol, top->FRow, top->FOrigValue);
    MakeCurrent(top);
    FGrid->RepaintCell(FGrid->Col(), FGrid->Row());
    --FLevel;
}

void TVodGridUndoRedo::Redo()
{
    if (!FGrid || FLevel >= FItems->Count() || FLevel < 0) return;
    ++FLevel;
    const TUndoRedoItem* first = FItems->Item(FLevel - 1);
    if (first->FSequenceStart) {
        // Past the start marker, up to and past the stop marker.
        while (FLevel < FItems->Count() && !FItems->Item(FLevel)->FSequenceStop) {
            const TUndoRedoItem* it = FItems->Item(FLevel);
            if (!it->IsMarker()) {
                if (OnRedo) OnRedo(this, FGrid, it->FCol, it->FRow, FGrid->GetCellEx(it->FCol, it->FRow), it->FValue);
                FGrid->SetCellEx(it->FCol, it->FRow, it->FValue);
                MakeCurrent(it);
            }
            ++FLevel;
        }
        if (FLevel < FItems->Count()) ++FLevel;  // the stop marker
        FGrid->Invalidate();
        return;
    }
    if (first->FSequenceStop) return;  // an unpaired stop marker is stepped over
    if (OnRedo) OnRedo(this, FGrid, first->FCol, first->FRow, FGrid->GetCellEx(first->FCol, first->FRow), first->FValue);
    // A check box keeps its state where its kind does (not always in the
    // text): a redo sets it again as the undo restored it.
    if (FGrid->CellHasCheckBox(first->FCol, first->FRow))
        FGrid->SetCheckBoxFromText(first->FCol, first->FRow, first->FValue);
    else
        FGrid->SetCellEx(first->FCol, first->FRow, first->FValue);
    MakeCurrent(first);
    FGrid->RepaintCell(FGrid->Col(), FGrid->Row());
}

void TVodGridUndoRedo::Reset()
{
    while (FItems->Count() > 0) FItems->Delete(0);
    FLevel = 0;
}
