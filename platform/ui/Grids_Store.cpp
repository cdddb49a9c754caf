// TStringGrid's store: a table of row records, each holding the cells up to
// the last column written. Rows never written hold no record, counts never
// size the table (only the rows written or moved do), and moving rows turns
// only the row records between the two places.
#include <algorithm>

#include "platform/ui/Grids.h"

TStringGrid::TStringGrid(TComponent* AOwner) : TCustomDrawGrid(AOwner) {}

TStringGrid::~TStringGrid() = default;

const TStringGrid::TCellSlot* TStringGrid::Slot(Integer ACol, Integer ARow) const
{
    if (ACol < 0 || ARow < 0 || size_t(ARow) >= FRowTable.size()) return nullptr;
    const TRowRecord* r = FRowTable[size_t(ARow)].get();
    if (!r || size_t(ACol) >= r->Cells.size()) return nullptr;
    return &r->Cells[size_t(ACol)];
}

TStringGrid::TCellSlot& TStringGrid::SlotForWrite(Integer ACol, Integer ARow)
{
    if (ACol < 0 || ARow < 0) throw EInvalidGridOperation(L"Grid index out of range");
    if (size_t(ARow) >= FRowTable.size()) FRowTable.resize(size_t(ARow) + 1);
    std::unique_ptr<TRowRecord>& r = FRowTable[size_t(ARow)];
    if (!r) r = std::make_unique<TRowRecord>();
    if (size_t(ACol) >= r->Cells.size()) r->Cells.resize(size_t(ACol) + 1);
    return r->Cells[size_t(ACol)];
}

String TStringGrid::Cells(Integer ACol, Integer ARow) const
{
    const TCellSlot* s = Slot(ACol, ARow);
    return s ? s->Text : String();
}

void TStringGrid::SetCells(Integer ACol, Integer ARow, const String& Value)
{
    if (Value.empty() && !Slot(ACol, ARow)) {
        if (ACol < 0 || ARow < 0) throw EInvalidGridOperation(L"Grid index out of range");
        return;
    }
    SlotForWrite(ACol, ARow).Text = Value;
    CellChanged(ACol, ARow);
}

TObject* TStringGrid::Objects(Integer ACol, Integer ARow) const
{
    const TCellSlot* s = Slot(ACol, ARow);
    return s ? s->Object : nullptr;
}

void TStringGrid::SetObjects(Integer ACol, Integer ARow, TObject* Value)
{
    if (!Value && !Slot(ACol, ARow)) {
        if (ACol < 0 || ARow < 0) throw EInvalidGridOperation(L"Grid index out of range");
        return;
    }
    SlotForWrite(ACol, ARow).Object = Value;
}

void TStringGrid::CellChanged(Integer ACol, Integer ARow)
{
    if (FUpdating || ACol >= ColCount() || ARow >= RowCount()) return;
    InvalidateCell(ACol, ARow);
}

TStrings* TStringGrid::Rows(Integer Index)
{
    if (Index < 0) throw EInvalidGridOperation(L"Grid index out of range");
    auto& p = FLines[{false, Index}];
    if (!p) p = std::make_unique<TStringGridStrings>(this, false, Index);
    return p.get();
}

TStrings* TStringGrid::Cols(Integer Index)
{
    if (Index < 0) throw EInvalidGridOperation(L"Grid index out of range");
    auto& p = FLines[{true, Index}];
    if (!p) p = std::make_unique<TStringGridStrings>(this, true, Index);
    return p.get();
}

String TStringGrid::GetEditText(Integer ACol, Integer ARow)
{
    String v = Cells(ACol, ARow);
    if (OnGetEditText) OnGetEditText(this, ACol, ARow, v);
    return v;
}

void TStringGrid::SetEditText(Integer ACol, Integer ARow, const String& Value)
{
    SetCells(ACol, ARow, Value);
    TCustomDrawGrid::SetEditText(ACol, ARow, Value);
}

void TStringGrid::DrawCell(Integer ACol, Integer ARow, const TRect& ARect, TGridDrawState AState)
{
    if (FDefaultDrawing) {
        const TCellSlot* s = Slot(ACol, ARow);
        if (s && !s->Text.empty()) Canvas()->TextRect(ARect, ARect.Left + 2, ARect.Top + 2, s->Text);
    }
    TCustomDrawGrid::DrawCell(ACol, ARow, ARect, AState);
}

// Turns [From..To] so that the element at From lands at To.
template <class V>
static void MoveSlot(V& v, Integer From, Integer To)
{
    const size_t hi = size_t(std::max(From, To));
    if (size_t(From) >= v.size() && size_t(To) >= v.size()) return;  // both past the data: nothing moves
    if (hi >= v.size()) v.resize(hi + 1);
    auto b = v.begin();
    if (From < To)
        std::rotate(b + From, b + From + 1, b + To + 1);
    else
        std::rotate(b + To, b + From, b + From + 1);
}

void TStringGrid::RowMoved(Integer FromIndex, Integer ToIndex)
{
    MoveSlot(FRowTable, FromIndex, ToIndex);
    while (!FRowTable.empty() && !FRowTable.back()) FRowTable.pop_back();
    TCustomDrawGrid::RowMoved(FromIndex, ToIndex);
}

void TStringGrid::ColumnMoved(Integer FromIndex, Integer ToIndex)
{
    for (auto& r : FRowTable) {
        if (!r) continue;
        MoveSlot(r->Cells, FromIndex, ToIndex);
        while (!r->Cells.empty() && r->Cells.back().Text.empty() && !r->Cells.back().Object) r->Cells.pop_back();
    }
    TCustomDrawGrid::ColumnMoved(FromIndex, ToIndex);
}

// ---------------------------------------------------------------------------
// TStringGridStrings

Integer TStringGridStrings::GetCount() const { return FIsColumn ? FGrid->RowCount() : FGrid->ColCount(); }

String TStringGridStrings::Get(Integer Index) const
{
    return FIsColumn ? FGrid->Cells(FIndex, Index) : FGrid->Cells(Index, FIndex);
}

TObject* TStringGridStrings::GetObject(Integer Index) const
{
    return FIsColumn ? FGrid->Objects(FIndex, Index) : FGrid->Objects(Index, FIndex);
}

void TStringGridStrings::Put(Integer Index, const String& S)
{
    if (FIsColumn)
        FGrid->SetCells(FIndex, Index, S);
    else
        FGrid->SetCells(Index, FIndex, S);
}

void TStringGridStrings::PutObject(Integer Index, TObject* AObject)
{
    if (FIsColumn)
        FGrid->SetObjects(FIndex, Index, AObject);
    else
        FGrid->SetObjects(Index, FIndex, AObject);
}

void TStringGridStrings::Assign(TPersistent* Source)
{
    auto* src = dynamic_cast<TStrings*>(Source);
    if (!src) {
        TStrings::Assign(Source);
        return;
    }
    const Integer n = std::min(src->Count(), Count());
    for (Integer i = 0; i < n; ++i) {
        Put(i, src->Strings(i));
        PutObject(i, src->Objects(i));
    }
}

Integer TStringGridStrings::Add(const String& S)
{
    const Integer n = Count();
    for (Integer i = 0; i < n; ++i)
        if (Get(i).empty()) {
            Put(i, S);
            return i;
        }
    throw EInvalidGridOperation(L"Grid line is full");
}

void TStringGridStrings::Insert(Integer, const String&)
{
    throw EInvalidGridOperation(L"Cannot insert into a grid line");
}

void TStringGridStrings::Delete(Integer)
{
    throw EInvalidGridOperation(L"Cannot delete from a grid line");
}

void TStringGridStrings::Clear()
{
    const Integer n = Count();
    for (Integer i = 0; i < n; ++i) {
        Put(i, String());
        PutObject(i, nullptr);
    }
}
