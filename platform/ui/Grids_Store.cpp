// TStringGrid's store: a table of row records, each holding the cells up to
// the last column written. Rows never written hold no record, counts never
// size the table (only the rows written or moved do), and moving rows turns
// only the row records between the two places.
#include <algorithm>
#include <memory>
#include <type_traits>
#include <utility>

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

template <class T>
void TStringGrid::TSparseLine<T>::Normalize()
{
    while (!Far.empty() && size_t(Far.begin()->first) < Dense.size()) {
        auto it = Far.begin();
        Dense[size_t(it->first)] = std::move(it->second);
        Far.erase(it);
    }
    while (!Dense.empty() && IsEmptySlot(Dense.back())) Dense.pop_back();
}

template <class T>
T TStringGrid::TSparseLine<T>::Take(Integer i)
{
    if (i < 0) return T();
    if (size_t(i) < Dense.size()) return std::exchange(Dense[size_t(i)], T());
    auto it = Far.find(i);
    if (it == Far.end()) return T();
    T v = std::move(it->second);
    Far.erase(it);
    return v;
}

template <class T>
void TStringGrid::TSparseLine<T>::Shift(Integer Index, Integer Delta)
{
    if (Delta == 0 || Index < 0) return;
    if (Delta < 0) {
        const Integer n = -Delta;
        if (size_t(Index) < Dense.size()) {
            const size_t end = std::min(Dense.size(), size_t(Index) + size_t(n));
            Dense.erase(Dense.begin() + Index, Dense.begin() + Integer(end));
        }
    } else if (size_t(Index) < Dense.size()) {
        Dense.insert(Dense.begin() + Index, size_t(Delta), T());
    }
    if (!Far.empty()) {
        std::map<Integer, T> moved;
        for (auto& [k, v] : Far) {
            if (k < Index)
                moved.emplace(k, std::move(v));
            else if (Delta > 0)
                moved.emplace(k + Delta, std::move(v));
            else if (k >= Index - Delta)
                moved.emplace(k + Delta, std::move(v));
        }
        Far.swap(moved);
    }
    Normalize();
}

template <class T>
void TStringGrid::TSparseLine<T>::DeleteList(const std::vector<Integer>& Sorted)
{
    if (Sorted.empty()) return;
    size_t j = 0, w = 0;
    for (size_t i = 0; i < Dense.size(); ++i) {
        while (j < Sorted.size() && Sorted[j] < Integer(i)) ++j;
        if (j < Sorted.size() && Sorted[j] == Integer(i)) continue;
        if (w != i) Dense[w] = std::move(Dense[i]);
        ++w;
    }
    Dense.resize(w);
    if (!Far.empty()) {
        std::map<Integer, T> moved;
        for (auto& [k, v] : Far) {
            auto it = std::lower_bound(Sorted.begin(), Sorted.end(), k);
            if (it != Sorted.end() && *it == k) continue;
            moved.emplace(k - Integer(it - Sorted.begin()), std::move(v));
        }
        Far.swap(moved);
    }
    Normalize();
}

template <class T>
void TStringGrid::TSparseLine<T>::InsertList(const std::vector<Integer>& Sorted)
{
    if (Sorted.empty()) return;
    // Slot i goes to the i-th index (from 0) that is not in the list.
    if (!Dense.empty()) {
        // Sized once: growing slot by slot would copy the line again at
        // every doubling.
        std::vector<T> grown;
        grown.reserve(Dense.size() + Sorted.size());
        size_t j = 0;
        for (size_t i = 0; i < Dense.size(); ++i) {
            while (j < Sorted.size() && Sorted[j] <= Integer(i + j)) ++j;
            const size_t to = i + j;
            if (grown.size() < to) grown.resize(to);
            grown.push_back(std::move(Dense[i]));
        }
        Dense.swap(grown);
    }
    if (!Far.empty()) {
        std::map<Integer, T> moved;
        size_t j = 0;
        for (auto& [k, v] : Far) {
            while (j < Sorted.size() && Sorted[j] <= k + Integer(j)) ++j;
            moved.emplace(k + Integer(j), std::move(v));
        }
        Far.swap(moved);
    }
    Normalize();
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
// Structural changes of the store

void TStringGrid::DeleteStoreRows(Integer Index, Integer Count)
{
    if (Index < 0 || Count <= 0) return;
    for (Integer i = 0; i < Count; ++i) delete FRowTable.Take(Index + i);
    FRowTable.Shift(Index, -Count);
}

void TStringGrid::InsertStoreRows(Integer Index, Integer Count)
{
    if (Index < 0 || Count <= 0) return;
    FRowTable.Shift(Index, Count);
}

void TStringGrid::DeleteStoreRowList(const std::vector<Integer>& Sorted)
{
    for (Integer r : Sorted) delete FRowTable.Take(r);
    FRowTable.DeleteList(Sorted);
}

void TStringGrid::InsertStoreRowList(const std::vector<Integer>& Sorted) { FRowTable.InsertList(Sorted); }

void TStringGrid::TakeStoreRow(Integer ARow, Integer ACount, TStrings* Dest)
{
    std::unique_ptr<TRowRecord> rec(FRowTable.Take(ARow));
    // Cells written past the column count go along too, so that nothing the
    // row held is lost.
    Integer n = std::max(ACount, 0);
    if (rec) {
        n = std::max(n, Integer(rec->Cells.Dense.size()));
        if (!rec->Cells.Far.empty()) n = std::max(n, rec->Cells.Far.rbegin()->first + 1);
    }
    auto* list = dynamic_cast<TStringList*>(Dest);
    if (list && !list->Sorted()) list->Reserve(list->Count() + n);
    for (Integer c = 0; c < n; ++c) {
        String text;
        TObject* obj = nullptr;
        if (rec) {
            TCellSlot s = rec->Cells.Take(c);
            text = std::move(s.Text);
            obj = s.Object;
        }
        if (list && !list->Sorted())
            list->AppendMoved(std::move(text), obj);
        else
            Dest->AddObject(text, obj);
    }
}

void TStringGrid::PutStoreRow(Integer ARow, TStrings* Source)
{
    if (ARow < 0) return;
    delete FRowTable.Take(ARow);
    const Integer n = Source ? Source->Count() : 0;
    if (n == 0) return;
    auto rec = std::make_unique<TRowRecord>();
    rec->Cells.Dense.resize(size_t(n));
    auto* list = dynamic_cast<TStringList*>(Source);
    bool any = false;
    for (Integer c = 0; c < n; ++c) {
        TCellSlot& s = rec->Cells.Dense[size_t(c)];
        s.Text = list ? list->TakeString(c) : Source->Strings(c);
        s.Object = Source->Objects(c);
        any = any || !IsEmptySlot(s);
    }
    rec->Cells.Normalize();
    if (!any) return;
    FRowTable.ForWrite(ARow, RowCount()) = rec.release();
}

void TStringGrid::MoveStoreRow(Integer From, Integer To)
{
    if (From == To || From < 0 || To < 0) return;
    TRowRecord* rec = FRowTable.Take(From);
    delete FRowTable.Take(To);
    if (rec) FRowTable.ForWrite(To, RowCount()) = rec;
}

void TStringGrid::InsertStoreCols(Integer Index, Integer Count)
{
    if (Index < 0 || Count <= 0) return;
    for (TRowRecord* r : FRowTable.Dense)
        if (r) r->Cells.Shift(Index, Count);
    for (auto& [i, r] : FRowTable.Far) r->Cells.Shift(Index, Count);
}

void TStringGrid::DeleteStoreCols(Integer Index, Integer Count)
{
    if (Index < 0 || Count <= 0) return;
    for (TRowRecord* r : FRowTable.Dense)
        if (r) r->Cells.Shift(Index, -Count);
    for (auto& [i, r] : FRowTable.Far) r->Cells.Shift(Index, -Count);
}

void TStringGrid::MoveStoreCol(Integer From, Integer To)
{
    for (TRowRecord* r : FRowTable.Dense)
        if (r) r->Cells.Move(From, To);
    for (auto& [i, r] : FRowTable.Far) r->Cells.Move(From, To);
}

void TStringGrid::DetachStoreRow(Integer ARow, Integer ACount, TStringGridRow* Dest)
{
    Dest->Clear();
    Dest->FRecord = FRowTable.Take(ARow);
    Dest->FCount = std::max(ACount, 0);
}

void TStringGrid::AttachStoreRow(Integer ARow, TStringGridRow* Source)
{
    if (ARow < 0) return;
    delete FRowTable.Take(ARow);
    TRowRecord* rec = std::exchange(Source->FRecord, nullptr);
    Source->FCount = 0;
    if (rec) FRowTable.ForWrite(ARow, RowCount()) = rec;
}

// ---------------------------------------------------------------------------
// TStringGridRow

TStringGridRow::~TStringGridRow() { delete FRecord; }

Integer TStringGridRow::GetCount() const
{
    Integer n = FCount;
    if (FRecord) {
        n = std::max(n, Integer(FRecord->Cells.Dense.size()));
        if (!FRecord->Cells.Far.empty()) n = std::max(n, FRecord->Cells.Far.rbegin()->first + 1);
    }
    return n;
}

void TStringGridRow::CheckIndex(Integer Index) const
{
    if (Index < 0 || Index >= GetCount()) Error(Index);
}

String TStringGridRow::Get(Integer Index) const
{
    CheckIndex(Index);
    const TStringGrid::TCellSlot* s = FRecord ? FRecord->Cells.Find(Index) : nullptr;
    return s ? s->Text : String();
}

TObject* TStringGridRow::GetObject(Integer Index) const
{
    CheckIndex(Index);
    const TStringGrid::TCellSlot* s = FRecord ? FRecord->Cells.Find(Index) : nullptr;
    return s ? s->Object : nullptr;
}

void TStringGridRow::Put(Integer Index, const String& S)
{
    CheckIndex(Index);
    if (!FRecord) {
        if (S.empty()) return;
        FRecord = new TStringGrid::TRowRecord();
    }
    FRecord->Cells.ForWrite(Index, FCount).Text = S;
}

void TStringGridRow::PutObject(Integer Index, TObject* AObject)
{
    CheckIndex(Index);
    if (!FRecord) {
        if (!AObject) return;
        FRecord = new TStringGrid::TRowRecord();
    }
    FRecord->Cells.ForWrite(Index, FCount).Object = AObject;
}

void TStringGridRow::Insert(Integer Index, const String& S)
{
    const Integer n = GetCount();
    if (Index < 0 || Index > n) Error(Index);
    if (FRecord) FRecord->Cells.Shift(Index, 1);
    FCount = n + 1;
    Put(Index, S);
}

void TStringGridRow::Delete(Integer Index)
{
    CheckIndex(Index);
    const Integer n = GetCount();
    if (FRecord) FRecord->Cells.Shift(Index, -1);
    FCount = n - 1;
}

void TStringGridRow::Clear()
{
    delete std::exchange(FRecord, nullptr);
    FCount = 0;
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
