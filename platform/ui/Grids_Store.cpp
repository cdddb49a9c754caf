// TStringGrid's store: a table of row records, each holding the cells up to
// the last column written. Rows never written hold no record, counts never
// size the table (only the rows written or moved do), and moving rows turns
// only the row records between the two places.
#include <algorithm>
#include <type_traits>

#include "platform/ui/Grids.h"

namespace {

// How far past the dense part and the count a slot may be written and still
// extend the dense part.
constexpr size_t kFarSlack = 65536;

// Where a line at Pos goes when the line From moves to To.
Integer MovedLine(Integer Pos, Integer From, Integer To)
{
    if (Pos == From) return To;
    if (From < To && Pos > From && Pos <= To) return Pos - 1;
    if (From > To && Pos >= To && Pos < From) return Pos + 1;
    return Pos;
}

}  // namespace

template <class T>
static bool IsEmptySlot(const T& v)
{
    if constexpr (std::is_pointer_v<T>) return v == nullptr;
    else return v.Text.empty() && !v.Object;
}

template <class T>
const T* TStringGrid::TSparseLine<T>::Find(Integer i) const
{
    if (i < 0) return nullptr;
    if (size_t(i) < Dense.size()) return &Dense[size_t(i)];
    if (Far.empty()) return nullptr;
    auto it = Far.find(i);
    return it == Far.end() ? nullptr : &it->second;
}

template <class T>
T& TStringGrid::TSparseLine<T>::ForWrite(Integer i, Integer Count)
{
    if (size_t(i) < Dense.size()) return Dense[size_t(i)];
    const size_t nearEnd = std::max(Dense.size(), size_t(std::max(Count, 0))) + kFarSlack;
    if (size_t(i) > nearEnd) return Far[i];
    Dense.resize(size_t(i) + 1);
    // Far slots the dense part now covers join it.
    while (!Far.empty() && size_t(Far.begin()->first) < Dense.size()) {
        auto it = Far.begin();
        Dense[size_t(it->first)] = std::move(it->second);
        Far.erase(it);
    }
    return Dense[size_t(i)];
}

template <class T>
void TStringGrid::TSparseLine<T>::Move(Integer From, Integer To)
{
    if (From == To || From < 0 || To < 0) return;
    const Integer lo = std::min(From, To), hi = std::max(From, To);
    const bool farInRange = !Far.empty() && Far.begin()->first <= hi;
    if (size_t(hi) < Dense.size() && !farInRange) {
        auto b = Dense.begin();
        if (From < To)
            std::rotate(b + From, b + From + 1, b + To + 1);
        else
            std::rotate(b + To, b + From, b + From + 1);
        return;
    }
    // The range reaches past the dense part: move only what is there.
    std::vector<std::pair<Integer, T>> moved;
    for (size_t i = size_t(lo); i < Dense.size() && i <= size_t(hi); ++i)
        if (!IsEmptySlot(Dense[i])) {
            moved.emplace_back(Integer(i), std::move(Dense[i]));
            Dense[i] = T();
        }
    for (auto it = Far.lower_bound(lo); it != Far.end() && it->first <= hi;) {
        moved.emplace_back(it->first, std::move(it->second));
        it = Far.erase(it);
    }
    for (auto& [i, v] : moved) {
        const Integer j = MovedLine(i, From, To);
        if (size_t(j) < Dense.size())
            Dense[size_t(j)] = std::move(v);
        else
            Far[j] = std::move(v);
    }
    while (!Dense.empty() && IsEmptySlot(Dense.back())) Dense.pop_back();
    // Keep every far key at or past the dense part.
    while (!Far.empty() && size_t(Far.begin()->first) < Dense.size()) {
        auto it = Far.begin();
        Dense[size_t(it->first)] = std::move(it->second);
        Far.erase(it);
    }
}

TStringGrid::TStringGrid(TComponent* AOwner) : TCustomDrawGrid(AOwner) {}

TStringGrid::~TStringGrid()
{
    for (TRowRecord* r : FRowTable.Dense) delete r;
    for (auto& [i, r] : FRowTable.Far) delete r;
}

const TStringGrid::TCellSlot* TStringGrid::Slot(Integer ACol, Integer ARow) const
{
    TRowRecord* const* r = FRowTable.Find(ARow);
    if (!r || !*r) return nullptr;
    return (*r)->Cells.Find(ACol);
}

TStringGrid::TCellSlot& TStringGrid::SlotForWrite(Integer ACol, Integer ARow)
{
    if (ACol < 0 || ARow < 0) throw EInvalidGridOperation(L"Grid index out of range");
    TRowRecord*& r = FRowTable.ForWrite(ARow, RowCount());
    if (!r) r = new TRowRecord();
    return r->Cells.ForWrite(ACol, ColCount());
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

void TStringGrid::ForEachObject(const std::function<void(Integer ACol, Integer ARow, TObject*& Object)>& Visit)
{
    auto visitRow = [&](Integer row, TRowRecord* r) {
        if (!r) return;
        for (size_t c = 0; c < r->Cells.Dense.size(); ++c)
            if (r->Cells.Dense[c].Object) Visit(Integer(c), row, r->Cells.Dense[c].Object);
        for (auto& [c, slot] : r->Cells.Far)
            if (slot.Object) Visit(c, row, slot.Object);
    };
    for (size_t i = 0; i < FRowTable.Dense.size(); ++i) visitRow(Integer(i), FRowTable.Dense[i]);
    for (auto& [i, r] : FRowTable.Far) visitRow(i, r);
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

void TStringGrid::RowMoved(Integer FromIndex, Integer ToIndex)
{
    FRowTable.Move(FromIndex, ToIndex);
    TCustomDrawGrid::RowMoved(FromIndex, ToIndex);
}

void TStringGrid::ColumnMoved(Integer FromIndex, Integer ToIndex)
{
    for (TRowRecord* r : FRowTable.Dense)
        if (r) r->Cells.Move(FromIndex, ToIndex);
    for (auto& [i, r] : FRowTable.Far) r->Cells.Move(FromIndex, ToIndex);
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
