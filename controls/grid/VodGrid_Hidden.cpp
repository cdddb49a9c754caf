// Hidden rows and columns and the two numberings. A hidden row leaves the
// cell store: its texts and property blocks move (never copy) into an item of
// the hidden-row store with its height and level, and the rows below it move
// up. A hidden column stays where it is; only the visible count shrinks.
//
// The mapping between display and real rows is asked for every painted cell
// and mouse hit, so it answers by binary search over a sorted lookup of the
// hidden rows, which every change of the store drops and the next query
// builds again. Moving many rows at once is one pass over the row table
// (the store's and the row axis's list operations), never a row at a time.
#include <algorithm>
#include <cstddef>
#include <memory>
#include <new>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define VEL_POOL_POISON(p, n) ASAN_POISON_MEMORY_REGION(p, n)
#define VEL_POOL_UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION(p, n)
#else
#define VEL_POOL_POISON(p, n) ((void)(p), (void)(n))
#define VEL_POOL_UNPOISON(p, n) ((void)(p), (void)(n))
#endif

#include "controls/grid/VodGrid.h"

// ---------------------------------------------------------------------------
// The items' pool. Every item sits behind a small header naming its pool
// (null for an item from the heap); a free block keeps the next free block in
// its header. The pool keeps its memory while its store lives, so hiding a
// large part of the grid again reuses the blocks without touching the system;
// a store that goes while some item it made still lives (taken out of the
// collection by its user) leaves the pool to that item's delete. One thread,
// as the grid's.

struct TGridItemPool {
    static constexpr size_t Header = 16;
    static constexpr size_t Object = (sizeof(TGridItem) + 15) / 16 * 16;
    static constexpr size_t Stride = Header + Object;
    static_assert(alignof(TGridItem) <= 16);

    struct THead {
        TGridItemPool* Pool;
        THead* Next;   // free blocks only
    };
    static_assert(sizeof(THead) <= Header);

    std::vector<std::unique_ptr<std::byte[]>> Chunks;
    THead* Free = nullptr;
    size_t Live = 0;
    size_t NextChunk = 64;   // blocks; doubles up to MaxChunk
    bool Orphaned = false;   // the store has gone
    static constexpr size_t MaxChunk = 65536;

    ~TGridItemPool()
    {
        // Blocks go back to the heap unpoisoned.
        for (THead* h = Free; h; h = h->Next) VEL_POOL_UNPOISON(reinterpret_cast<std::byte*>(h) + Header, Object);
    }

    void* Allocate()
    {
        if (!Free) Grow();
        THead* h = Free;
        Free = h->Next;
        h->Pool = this;
        h->Next = nullptr;
        ++Live;
        std::byte* object = reinterpret_cast<std::byte*>(h) + Header;
        VEL_POOL_UNPOISON(object, Object);
        return object;
    }

    // Answers whether the pool is to go (its store has gone and this was
    // its last item).
    bool Release(THead* h)
    {
        VEL_POOL_POISON(reinterpret_cast<std::byte*>(h) + Header, Object);
        h->Next = Free;
        Free = h;
        --Live;
        return Orphaned && Live == 0;
    }

    void Grow()
    {
        const size_t n = NextChunk;
        NextChunk = std::min(NextChunk * 2, MaxChunk);
        // new[] of bytes is aligned for any fundamental type (16).
        Chunks.push_back(std::make_unique_for_overwrite<std::byte[]>(n * Stride));
        std::byte* base = Chunks.back().get();
        // Linked so that the first block is handed out first.
        for (size_t i = n; i-- > 0;) {
            auto* h = reinterpret_cast<THead*>(base + i * Stride);
            h->Pool = this;
            h->Next = Free;
            Free = h;
            VEL_POOL_POISON(base + i * Stride + Header, Object);
        }
    }
};

void* TGridItem::operator new(size_t Size)
{
    auto* block = static_cast<std::byte*>(::operator new(Size + TGridItemPool::Header));
    reinterpret_cast<TGridItemPool::THead*>(block)->Pool = nullptr;
    return block + TGridItemPool::Header;
}

void* TGridItem::operator new(size_t Size, TGridItemPool* Pool)
{
    // A class derived from the item is larger than the blocks: the heap
    // takes it.
    if (!Pool || Size > TGridItemPool::Object) return operator new(Size);
    return Pool->Allocate();
}

void TGridItem::operator delete(void* P)
{
    if (!P) return;
    auto* h = reinterpret_cast<TGridItemPool::THead*>(static_cast<std::byte*>(P) - TGridItemPool::Header);
    TGridItemPool* pool = h->Pool;
    if (!pool) {
        ::operator delete(h);
        return;
    }
    if (pool->Release(h)) delete pool;
}

void TGridItem::operator delete(void* P, TGridItemPool*) { operator delete(P); }

// ---------------------------------------------------------------------------
// TGridItem

TGridItem::TGridItem(TCollection* Collection) : TCollectionItem(Collection) {}

TGridItem::~TGridItem()
{
    // Blocks still held belong to a row that was never put back: free them
    // as the store would.
    for (Integer i = 0; i < FItems.Count(); ++i) {
        auto* p = dynamic_cast<TCellProperties*>(FItems.Objects(i));
        if (!p) continue;
        FItems.SetObjects(i, nullptr);
        TVodStringGrid::DisposeCellBlock(p);
    }
}

void TGridItem::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TGridItem*>(Source);
    if (!s) {
        TCollectionItem::Assign(Source);
        return;
    }
    SetIdx(s->FIdx);
    FHeight = s->FHeight;
    FLevel = s->FLevel;
    // Texts only: a block has one owner, and it stays with the source.
    FItems.Clear();
    for (Integer i = 0; i < s->FItems.Count(); ++i) FItems.Add(s->FItems.Strings(i));
}

void TGridItem::SetIdx(Integer v)
{
    if (FIdx == v) return;
    FIdx = v;
    // The store hears of it now, or at the end of its update.
    Changed(false);
}

// ---------------------------------------------------------------------------
// The store and its lookup

namespace {

// Every item added, freed or renumbered drops the grid's lookup. Items are
// made in the store's pool.
class TGridItems : public TCollection {
public:
    explicit TGridItems(TVodStringGrid* Grid) : TCollection(&MakeItem), FGrid(Grid) {}
    ~TGridItems() override
    {
        // The base frees the items still held; the last one takes the pool
        // with it (at once when none lives).
        FPool->Orphaned = true;
        if (FPool->Live == 0) delete FPool;
    }
    TPersistent* GetOwner() const override { return FGrid; }

protected:
    void Update(TCollectionItem*) override { FGrid->DropHiddenRowLookup(); }
    void Notify(TCollectionItem*, TCollectionNotification) override { FGrid->DropHiddenRowLookup(); }

private:
    static TCollectionItem* MakeItem(TCollection* c)
    {
        return new (static_cast<TGridItems*>(c)->FPool) TGridItem(c);
    }
    TVodStringGrid* FGrid;
    TGridItemPool* FPool = new TGridItemPool;
};

}  // namespace

std::unique_ptr<TCollection> TVodStringGrid::NewGridItems(TVodStringGrid* Grid)
{
    return std::make_unique<TGridItems>(Grid);
}

TGridItem* TVodStringGrid::GridItem(Integer Index) const { return static_cast<TGridItem*>(FGridItems->Items(Index)); }

TGridItem* TVodStringGrid::HiddenRowItem(Integer RealRow) const
{
    if (NumHiddenRows() == 0) return nullptr;
    EnsureHiddenRowLookup();
    auto it = std::lower_bound(FHiddenRowItems.begin(), FHiddenRowItems.end(), RealRow,
                               [](const std::pair<Integer, TGridItem*>& e, Integer v) { return e.first < v; });
    return it != FHiddenRowItems.end() && it->first == RealRow ? it->second : nullptr;
}

void TVodStringGrid::BuildHiddenRowLookup() const
{
    const Integer n = FGridItems->Count();
    FHiddenRowItems.resize(size_t(n));
    FHiddenRowLookup.resize(size_t(n));
    bool sorted = true;
    for (Integer i = 0; i < n; ++i) {
        TGridItem* item = GridItem(i);
        FHiddenRowItems[size_t(i)] = {item->Idx(), item};
        if (i > 0 && item->Idx() < FHiddenRowItems[size_t(i - 1)].first) sorted = false;
    }
    if (!sorted)
        std::stable_sort(FHiddenRowItems.begin(), FHiddenRowItems.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
    for (Integer i = 0; i < n; ++i) FHiddenRowLookup[size_t(i)] = FHiddenRowItems[size_t(i)].first;
    FHiddenRowDistinct = FHiddenRowLookup;
    FHiddenRowDistinct.erase(std::unique(FHiddenRowDistinct.begin(), FHiddenRowDistinct.end()),
                             FHiddenRowDistinct.end());
    FHiddenRowLookupValid = true;
}

Integer TVodStringGrid::DisplToRealRow(Integer ARow) const
{
    if (NumHiddenRows() == 0) return ARow;
    if (ARow < 0) return -1;
    // Items that other code adds or frees directly show in the count.
    EnsureHiddenRowLookup();
    // Before the i-th hidden row (from 0) lie L[i] - i visible rows; display
    // row ARow sits past every hidden row with at most ARow visible rows
    // before it.
    const auto& L = FHiddenRowDistinct;
    size_t lo = 0, hi = L.size();
    while (lo < hi) {
        const size_t mid = (lo + hi) / 2;
        if (L[mid] - Integer(mid) <= ARow)
            lo = mid + 1;
        else
            hi = mid;
    }
    return ARow + Integer(lo);
}

Integer TVodStringGrid::RealToDisplRow(Integer ARow) const
{
    if (NumHiddenRows() == 0) return ARow;
    EnsureHiddenRowLookup();
    const auto it = std::lower_bound(FHiddenRowLookup.begin(), FHiddenRowLookup.end(), ARow);
    return ARow - Integer(it - FHiddenRowLookup.begin());
}

bool TVodStringGrid::IsHiddenRow(Integer Rowindex) const { return HiddenRowItem(Rowindex) != nullptr; }

bool TVodStringGrid::IsHiddenRow(Integer Rowindex, TIntList*& ListHidden) const
{
    if (!ListHidden) {
        ListHidden = new TIntList(0, 0);
        std::vector<Integer> v;
        for (Integer i = 0; i < FGridItems->Count(); ++i) v.push_back(GridItem(i)->Idx());
        std::sort(v.begin(), v.end());
        for (Integer x : v) ListHidden->Add(x);
    }
    return ListHidden->SortedIndexOf(Rowindex) >= 0;
}

// ---------------------------------------------------------------------------
// Moving a row between the store and an item

TGridItem* TVodStringGrid::TakeRowIntoItem(Integer DisplayRow, Integer RealIdx, Integer Position, bool WithHeight)
{
    auto* item = static_cast<TGridItem*>(FGridItems->Add());
    if (Position >= 0 && Position < FGridItems->Count() - 1) item->SetIndex(Position);
    DetachStoreRow(DisplayRow, TotalColCount(), item->Row());
    item->SetIdx(RealIdx);
    item->SetHeight(WithHeight ? RowHeights(DisplayRow) : 0);
    DropHiddenRowLookup();
    return item;
}

void TVodStringGrid::PutItemIntoRow(TGridItem* Item, Integer DisplayRow, bool WithHeight)
{
    // The references move back: the item is left without blocks.
    AttachStoreRow(DisplayRow, Item->Row());
    if (WithHeight) SetRowHeights(DisplayRow, Item->Height());
}

// ---------------------------------------------------------------------------
// Hiding rows

void TVodStringGrid::HideRows(Integer FromRow, Integer ToRow)
{
    DropHiddenRowLookup();
    FromRow = std::max(FromRow, 0);
    ToRow = std::min(ToRow, TotalRowCount() - 1);
    if (FromRow > ToRow) return;
    std::vector<Integer> already;
    Integer h = 0;
    for (Integer i = 0; i < FGridItems->Count(); ++i) {
        const Integer idx = GridItem(i)->Idx();
        if (idx >= FromRow && idx <= ToRow) already.push_back(idx);
        if (idx < FromRow) ++h;
    }
    std::sort(already.begin(), already.end());
    already.erase(std::unique(already.begin(), already.end()), already.end());
    Integer n = ToRow - FromRow + 1 - Integer(already.size());
    if (n <= 0) return;
    const Integer d = FromRow - h;
    // One row always stays in view: the platform keeps at least one.
    n = std::min(n, RowCount() - d);
    if (n >= RowCount()) n = RowCount() - 1;
    if (n <= 0) return;

    std::vector<TGridItem*> made;
    Integer k = 0, passed = 0;
    for (Integer r = FromRow; r <= ToRow && k < n; ++r) {
        if (std::binary_search(already.begin(), already.end(), r)) {
            ++passed;
            continue;
        }
        // Sorted by Idx: after the items of smaller rows.
        made.push_back(TakeRowIntoItem(d + k, r, h + k + passed, true));
        ++k;
    }
    const Integer ci = FControlList->ControlIndex(1, d);
    if (ci >= 0) FControlList->GetControl(ci)->Control()->SetVisible(false);
    if (!DoDeleteRows(d, n, false)) {
        // Vetoed: the rows take their contents back.
        for (size_t i = 0; i < made.size(); ++i) {
            PutItemIntoRow(made[i], d + Integer(i), false);
            delete made[i];
        }
        DropHiddenRowLookup();
        return;
    }
    DropHiddenRowLookup();
    CellControlsUpdate(false);
}

void TVodStringGrid::HideRowList(TIntList* RowList)
{
    if (!RowList) return;
    if (RowList->Count() > 0 && RowList->Count() >= RowCount()) RowList->Delete(0);
    // The compaction needs ascending, distinct display rows inside the grid.
    std::vector<Integer> rows;
    rows.reserve(size_t(RowList->Count()));
    bool ascending = true;
    for (Integer i = 0; i < RowList->Count(); ++i) {
        const Integer r = RowList->GetInteger(i);
        if (r < 0 || r >= RowCount()) continue;
        if (!rows.empty() && r <= rows.back()) ascending = false;
        rows.push_back(r);
    }
    if (!ascending) {
        std::sort(rows.begin(), rows.end());
        rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    }
    if (Integer(rows.size()) >= RowCount()) rows.erase(rows.begin());

    const Integer cols = TotalColCount();
    FGridItems->BeginUpdate();
    for (Integer r : rows) {
        auto* item = static_cast<TGridItem*>(FGridItems->Add());
        DetachStoreRow(r, cols, item->Row());
        item->SetIdx(r);
        item->SetHeight(RowHeights(r));
        item->SetLevel(FFilterLevel);
    }
    FGridItems->EndUpdate();
    ++FFilterLevel;
    if (!rows.empty()) {
        // One pass: the rows left close up with their heights.
        DeleteStoreRowList(rows);
        FRows.DeleteLineList(rows);
        SetRowCountInPlace(RowCount() - Integer(rows.size()));
    }
    DropHiddenRowLookup();
    CellControlsUpdate(false);
    Invalidate();
}

void TVodStringGrid::HideRowsEx(Integer FromRow, Integer ToRow)
{
    FromRow = std::max(FromRow, 0);
    ToRow = std::min(ToRow, TotalRowCount() - 1);
    if (FromRow > ToRow || IsHiddenRow(FromRow)) return;
    const Integer d = DisplRowIndex(FromRow);
    std::vector<Integer> taken;
    for (Integer r = FromRow; r <= ToRow; ++r)
        if (!IsHiddenRow(r)) taken.push_back(r);
    Integer n = std::min(Integer(taken.size()), RowCount() - d);
    if (n >= RowCount()) n = RowCount() - 1;
    if (n <= 0) return;
    FGridItems->BeginUpdate();
    for (Integer k = 0; k < n; ++k) {
        auto* item = static_cast<TGridItem*>(FGridItems->Add());
        DetachStoreRow(d + k, TotalColCount(), item->Row());
        item->SetIdx(taken[size_t(k)]);
    }
    FGridItems->EndUpdate();
    // Removed as the quick removal removes rows, but the items keep their
    // numbers.
    RemoveRowsCore(d, n, false);
    DropHiddenRowLookup();
    CellControlsUpdate(false);
}

// ---------------------------------------------------------------------------
// Showing rows

void TVodStringGrid::UnHideRows(Integer FromRow, Integer ToRow)
{
    DropHiddenRowLookup();
    if (!IsHiddenRow(FromRow)) return;
    const bool modified = ShowModified()->Enabled();
    ShowModified()->SetEnabled(false);
    // Every item of the range, in row order; each gets a row of its own.
    std::vector<TGridItem*> items;
    for (Integer i = 0; i < FGridItems->Count(); ++i) {
        TGridItem* it = GridItem(i);
        if (it->Idx() >= FromRow && it->Idx() <= ToRow) items.push_back(it);
    }
    std::stable_sort(items.begin(), items.end(), [](TGridItem* a, TGridItem* b) { return a->Idx() < b->Idx(); });
    const Integer n = Integer(items.size());
    // Rows hidden below a RowCount that has shrunk since come back at the
    // end of the grid.
    const Integer d = std::min(DisplRowIndex(FromRow), RowCount());
    try {
        DoInsertRows(d, n, false);
        for (Integer k = 0; k < n; ++k) {
            PutItemIntoRow(items[size_t(k)], d + k, true);
            delete items[size_t(k)];
        }
    } catch (...) {
        ShowModified()->SetEnabled(modified);
        throw;
    }
    const Integer ci = FControlList->ControlIndex(1, FromRow);
    if (ci >= 0 && HandleAllocated()) {
        TControl* c = FControlList->GetControl(ci)->Control();
        const TRect r = CellRect(1, d);
        c->SetBounds(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top - 1);
        c->SetVisible(true);
    }
    ShowModified()->SetEnabled(modified);
    DropHiddenRowLookup();
    CellControlsUpdate(false);
}

void TVodStringGrid::UnHideRow(Integer Rowindex)
{
    const bool modified = ShowModified()->Enabled();
    ShowModified()->SetEnabled(false);
    if (TGridItem* item = HiddenRowItem(Rowindex)) {
        const Integer d = std::min(DisplRowIndex(Rowindex), RowCount());
        DoInsertRows(d, 1, false);
        PutItemIntoRow(item, d, true);
        delete item;
    }
    ShowModified()->SetEnabled(modified);
    for (Integer i = 0; i < FControlList->Count(); ++i)
        if (FControlList->GetControl(i)->Y() == Rowindex) FControlList->GetControl(i)->Control()->SetVisible(true);
    DropHiddenRowLookup();
    CellControlsUpdate(false);
}

void TVodStringGrid::UnHideRowsAll()
{
    const Integer n = NumHiddenRows();
    if (n == 0) return;
    // With distinct real numbers every row comes back at its own real
    // index, which one expansion of the row table does at once; the run by
    // run walk gives the same grid, a pass of the table per run.
    std::vector<Integer> targets(static_cast<size_t>(n));
    for (Integer i = 0; i < n; ++i) targets[size_t(i)] = GridItem(i)->Idx();
    std::vector<Integer> sorted = targets;
    std::sort(sorted.begin(), sorted.end());
    const bool distinct = std::adjacent_find(sorted.begin(), sorted.end()) == sorted.end();
    if (distinct && sorted.front() >= 0 && sorted.back() < TotalRowCount() && !FooterRowShown()) {
        const bool modified = ShowModified()->Enabled();
        ShowModified()->SetEnabled(false);
        InsertStoreRowList(sorted);
        FRows.InsertLineList(sorted);
        SetRowCount(RowCount() + n);
        for (Integer i = 0; i < n; ++i) {
            TGridItem* item = GridItem(i);
            PutItemIntoRow(item, item->Idx(), true);
        }
        FGridItems->Clear();
        ShowModified()->SetEnabled(modified);
        for (Integer i = 0; i < FControlList->Count(); ++i) {
            TControlItem* c = FControlList->GetControl(i);
            if (c->X() == 1 && std::binary_search(sorted.begin(), sorted.end(), c->Y())) c->Control()->SetVisible(true);
        }
        DropHiddenRowLookup();
        CellControlsUpdate(false);
        Invalidate();
        return;
    }
    Integer pos = 0;
    while (FGridItems->Count() > 0) {
        if (pos >= FGridItems->Count()) pos = 0;
        const Integer first = GridItem(pos)->Idx();
        Integer last = first, j = pos;
        while (j + 1 < FGridItems->Count() && GridItem(j + 1)->Idx() == GridItem(j)->Idx() + 1) {
            ++j;
            last = GridItem(j)->Idx();
        }
        const Integer before = FGridItems->Count();
        UnHideRows(first, last);
        // A run that could not come back (its first row is not hidden any
        // more) is left as it is rather than looped over.
        if (FGridItems->Count() == before) ++pos;
        if (pos >= FGridItems->Count() && FGridItems->Count() == before) break;
    }
}

void TVodStringGrid::UnHideRowList()
{
    // Without a list level there is nothing of a list to put back.
    if (FFilterLevel <= 0) return;
    const Integer level = FFilterLevel - 1;
    std::vector<TGridItem*> items;
    for (Integer i = 0; i < FGridItems->Count(); ++i)
        if (GridItem(i)->Level() == level) items.push_back(GridItem(i));
    const Integer cnt = Integer(items.size());
    if (Row() >= RowCount()) FocusCell(FixedCols(), FixedRows(), true);
    if (cnt > 0) {
        const bool footer = FooterRowShown();
        const Integer oldRows = RowCount();
        // The footer row stays last: set aside while the rows come back.
        TStringGridRow footerRow;
        if (footer) DetachStoreRow(oldRows - 1, TotalColCount(), &footerRow);
        SetRowCount(oldRows + cnt);
        const Integer lastData = RowCount() - 1 - (footer ? 1 : 0);
        // Each item goes back to the display row it had when it was hidden;
        // the rows between keep their order. Ascending distinct rows inside
        // the grid (as hiding the level leaves them) fill in one pass.
        bool plain = true;
        for (Integer k = 0; k < cnt && plain; ++k) {
            const Integer idx = items[size_t(k)]->Idx();
            plain = idx >= 0 && idx <= lastData && (k == 0 || idx > items[size_t(k - 1)]->Idx());
        }
        if (plain) {
            std::vector<Integer> targets(static_cast<size_t>(cnt));
            for (Integer k = 0; k < cnt; ++k) targets[size_t(k)] = items[size_t(k)]->Idx();
            InsertStoreRowList(targets);
            FRows.InsertLineList(targets);
            for (TGridItem* item : items) PutItemIntoRow(item, item->Idx(), true);
        } else {
            // Filled from the bottom: the level's items at their rows, the
            // old rows in order around them.
            std::vector<Integer> heights(static_cast<size_t>(oldRows));
            for (Integer r = 0; r < oldRows; ++r) heights[size_t(r)] = RowHeights(r);
            Integer src = oldRows - 1 - (footer ? 1 : 0);
            Integer p = cnt - 1;
            for (Integer t = lastData; t >= 0; --t) {
                if (p >= 0 && items[size_t(p)]->Idx() == t) {
                    PutItemIntoRow(items[size_t(p)], t, true);
                    --p;
                } else if (src >= 0) {
                    if (src != t) MoveStoreRow(src, t);
                    SetRowHeights(t, heights[size_t(src)]);
                    --src;
                }
            }
        }
        if (footer) AttachStoreRow(RowCount() - 1, &footerRow);
    }
    // The level's items are freed from the end; items of other levels stay.
    FGridItems->BeginUpdate();
    for (auto it = items.rbegin(); it != items.rend(); ++it) delete *it;
    FGridItems->EndUpdate();
    DropHiddenRowLookup();
    CellControlsUpdate(false);
    Invalidate();
}

// ---------------------------------------------------------------------------
// Hiding by selection

void TVodStringGrid::HideSelectedRows()
{
    auto selected = [&](Integer r) {
        return RowSelect(MouseActions()->RowSelectPersistent() ? RealRowIndex(r) : r);
    };
    BeginUpdate();
    if (MouseActions()->DisjunctRowSelect()) {
        for (Integer r = RowCount() - 1; r >= FixedRows(); --r)
            if (selected(r)) HideRows(RealRowIndex(r), RealRowIndex(r));
    } else {
        TIntList list(0, 0);
        for (Integer r = FixedRows(); r < RowCount(); ++r)
            if (selected(r)) list.Add(r);
        HideRowList(&list);
    }
    EndUpdate();
}

void TVodStringGrid::HideUnSelectedRows()
{
    BeginUpdate();
    Integer r = FixedRows();
    while (r < RowCount()) {
        const bool sel = RowSelect(MouseActions()->RowSelectPersistent() ? RealRowIndex(r) : r);
        if (!sel && RowCount() > 1) {
            const Integer before = RowCount();
            HideRows(RealRowIndex(r), RealRowIndex(r));
            if (RowCount() == before) ++r;
        } else {
            ++r;
        }
    }
    EndUpdate();
}

// ---------------------------------------------------------------------------
// Columns

void TVodStringGrid::EnsureColumnArrays()
{
    const size_t n = size_t(std::max(TotalColCount(), 0));
    if (FVisibleCol.size() < n) FVisibleCol.resize(n, true);
    if (FAllColWidths.size() < n) FAllColWidths.resize(n, DefaultColWidth());
}

Integer TVodStringGrid::DisplToRealColumn(Integer ACol) const
{
    if (ACol >= TotalColCount() || FNumHidden == 0) return ACol;
    Integer i = 0;
    for (Integer j = 0; j < TotalColCount(); ++j) {
        if (!VisibleColFlag(j)) continue;
        if (i == ACol) return j;
        ++i;
    }
    return ACol;
}

Integer TVodStringGrid::RealToDisplColumn(Integer ACol) const
{
    if (ACol >= TotalColCount() || FNumHidden <= 0 || ACol < 0) return ACol;
    Integer hidden = 0;
    for (Integer j = 0; j < ACol; ++j)
        if (!VisibleColFlag(j)) ++hidden;
    return ACol - hidden;
}

bool TVodStringGrid::IsHiddenColumn(Integer Colindex) const
{
    if (Colindex < 0 || Colindex >= TotalColCount()) return false;
    return !VisibleColFlag(Colindex);
}

void TVodStringGrid::HideColumns(Integer FromCol, Integer ToCol)
{
    HideInplaceEdit();
    EnsureColumnArrays();
    for (Integer c = std::max(FromCol, 0); c <= ToCol; ++c) {
        if (c >= TotalColCount()) break;
        if (!VisibleColFlag(c)) continue;
        if (ColCount() <= 1) break;
        const Integer dc = DisplColIndex(c);
        FAllColWidths[size_t(c)] = ColWidths(dc);
        // The widths of the columns after it move one place left.
        FCols.DeleteLines(dc, 1);
        ++FNumHidden;
        FVisibleCol[size_t(c)] = false;
        if (Col() == ColCount() - 1 && Col() > 0) FocusCell(Col() - 1, Row(), true);
        SetColCount(ColCount() - 1);
    }
    Invalidate();
}

void TVodStringGrid::UnHideColumns(Integer FromCol, Integer ToCol)
{
    HideInplaceEdit();
    EnsureColumnArrays();
    for (Integer c = std::max(FromCol, 0); c <= ToCol; ++c) {
        if (c >= TotalColCount()) break;
        if (VisibleColFlag(c)) continue;
        --FNumHidden;
        FVisibleCol[size_t(c)] = true;
        SetColCount(ColCount() + 1);
        const Integer dc = DisplColIndex(c);
        FCols.InsertLines(dc, 1);
        SetColWidths(dc, FAllColWidths[size_t(c)]);
    }
    Invalidate();
}

// ---------------------------------------------------------------------------
// Suppressed rows and columns

namespace {

// Pads a size list with the current sizes up to Index.
void PadSizes(TIntList* L, Integer Index, const std::function<Integer(Integer)>& Size)
{
    while (L->Count() <= Index) L->Add(Size(L->Count()));
}

}  // namespace

void TVodStringGrid::SuppressColumn(Integer ColIndex)
{
    if (ColIndex < 0 || ColWidths(ColIndex) <= 0) return;
    PadSizes(FSuppressColSizes.get(), ColIndex, [this](Integer i) { return ColWidths(i); });
    FSuppressColSizes->SetInteger(ColIndex, ColWidths(ColIndex));
    SetColWidths(ColIndex, 0);
}

void TVodStringGrid::SuppressRow(Integer RowIndex)
{
    if (RowIndex < 0 || RowHeights(RowIndex) <= 0) return;
    PadSizes(FSuppressRowSizes.get(), RowIndex, [this](Integer i) { return RowHeights(i); });
    FSuppressRowSizes->SetInteger(RowIndex, RowHeights(RowIndex));
    SetRowHeights(RowIndex, 0);
}

void TVodStringGrid::UnSuppressColumn(Integer ColIndex)
{
    if (ColIndex >= 0 && ColIndex < FSuppressColSizes->Count())
        SetColWidths(ColIndex, FSuppressColSizes->GetInteger(ColIndex));
}

void TVodStringGrid::UnSuppressRow(Integer RowIndex)
{
    if (RowIndex >= 0 && RowIndex < FSuppressRowSizes->Count())
        SetRowHeights(RowIndex, FSuppressRowSizes->GetInteger(RowIndex));
}

void TVodStringGrid::UnSuppressAllColumns()
{
    for (Integer i = 0; i < ColCount() && i < FSuppressColSizes->Count(); ++i)
        if (FSuppressColSizes->GetInteger(i) > 0 && ColWidths(i) == 0) SetColWidths(i, FSuppressColSizes->GetInteger(i));
    FSuppressColSizes->Clear();
    for (Integer i = 0; i < ColCount(); ++i) FSuppressColSizes->Add(ColWidths(i));
}

void TVodStringGrid::UnSuppressAllRows()
{
    for (Integer i = 0; i < RowCount() && i < FSuppressRowSizes->Count(); ++i)
        if (FSuppressRowSizes->GetInteger(i) > 0 && RowHeights(i) == 0) SetRowHeights(i, FSuppressRowSizes->GetInteger(i));
    FSuppressRowSizes->Clear();
    for (Integer i = 0; i < RowCount(); ++i) FSuppressRowSizes->Add(RowHeights(i));
}
