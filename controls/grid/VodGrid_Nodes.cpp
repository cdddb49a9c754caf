// Outline nodes: a node row heads a span of rows that can be contracted
// (its rows move into the hidden-row store) and expanded (they come back in
// place). Spans nest; every covered row keeps in the block of its node-column
// cell how many spans cover it.
//
// Expanding or contracting every node moves the row table once: all hidden
// rows come back in one insertion pass, and contracting them all again hides
// one list of rows as one level of the hidden-row store.
#include <algorithm>

#include "controls/grid/VodGrid.h"

namespace {

// Takes an option out of the grid for the time of a scope.
class TOptionOff {
public:
    TOptionOff(TVodStringGrid* G, TGridOption O) : FGrid(G), FOption(O), FHad(G->Options().Contains(O))
    {
        if (FHad) G->SetOptions(G->Options() - TGridOptions{O});
    }
    ~TOptionOff()
    {
        if (FHad) FGrid->SetOptions(FGrid->Options() + TGridOptions{FOption});
    }
    TOptionOff(const TOptionOff&) = delete;
    TOptionOff& operator=(const TOptionOff&) = delete;
    bool Had() const { return FHad; }

private:
    TVodStringGrid* FGrid;
    TGridOption FOption;
    bool FHad;
};

class TUpdateScope {
public:
    explicit TUpdateScope(TVodStringGrid* G, bool Active = true) : FGrid(Active ? G : nullptr)
    {
        if (FGrid) FGrid->BeginUpdate();
    }
    ~TUpdateScope()
    {
        if (FGrid) FGrid->EndUpdate();
    }
    TUpdateScope(const TUpdateScope&) = delete;
    TUpdateScope& operator=(const TUpdateScope&) = delete;

private:
    TVodStringGrid* FGrid;
};

}  // namespace

// ---------------------------------------------------------------------------
// Node data

TCellGraphic* TVodStringGrid::NodeGraphicAt(Integer ARow) const
{
    if (ARow < 0) return nullptr;
    auto* g = dynamic_cast<TCellGraphic*>(GetGraphicObjectEx(FCellNode->NodeColumn(), ARow));
    return g && g->CellType() == ctNode ? g : nullptr;
}

bool TVodStringGrid::IsNode(Integer ARow) { return NodeGraphicAt(ARow) != nullptr; }

bool TVodStringGrid::IsSummary(Integer ARow)
{
    if (ARow < 0) return false;
    const auto* g = dynamic_cast<TCellGraphic*>(GetGraphicObjectEx(0, ARow));
    return g && g->CellType() == ctSummary;
}

void TVodStringGrid::SetSummaryRow(Integer ARow)
{
    if (TCellGraphic* g = CreateCellGraphic(0, DisplRowIndex(ARow))) g->SetCellType(ctSummary);
}

Integer TVodStringGrid::NextNodeRow(Integer ARow) const
{
    for (Integer r = ARow + 1; r < RowCount(); ++r)
        if (NodeGraphicAt(r)) return r;
    return RowCount();
}

Integer TVodStringGrid::NodeSpanRows(Integer ARow)
{
    const TCellGraphic* g = NodeGraphicAt(ARow);
    if (!g) return 0;
    if (g->CellIndex() > 0) return g->CellIndex();
    // Up to the next node row, hidden rows between counted.
    const Integer next = NextNodeRow(ARow);
    const Integer end = next < RowCount() ? RealRowIndex(next) : TotalRowCount();
    return std::max(end - RealRowIndex(ARow), 1);
}

bool TVodStringGrid::GetNodeState(Integer ARow)
{
    const TCellGraphic* g = NodeGraphicAt(ARow);
    return g && g->CellBoolean();
}

void TVodStringGrid::SetNodeState(Integer ARow, bool Value)
{
    const TCellGraphic* g = NodeGraphicAt(ARow);
    if (!g || g->CellBoolean() == Value) return;
    if (Value)
        ContractNode(RealRowIndex(ARow));
    else
        ExpandNodeInternal(RealRowIndex(ARow));
}

Integer TVodStringGrid::GetNodeLevel(Integer ARow)
{
    if (!NodeGraphicAt(ARow)) return -1;
    const TCellProperties* p = CellPropertiesOf(FCellNode->NodeColumn(), ARow);
    return p ? p->FNodeLevel : 0;
}

Integer TVodStringGrid::GetNodeSpan(Integer ARow)
{
    const TCellGraphic* g = NodeGraphicAt(ARow);
    return g ? g->CellIndex() : -1;
}

void TVodStringGrid::SetNodeSpan(Integer ARow, Integer Span)
{
    if (TCellGraphic* g = NodeGraphicAt(ARow)) g->SetCellIndex(Span);
}

void TVodStringGrid::UpdateNodeSpan(Integer ARow, Integer Delta)
{
    if (TCellGraphic* g = NodeGraphicAt(ARow)) g->SetCellIndex(g->CellIndex() + Delta);
}

Integer TVodStringGrid::GetSubNodeCount(Integer ARow)
{
    const TCellGraphic* g = NodeGraphicAt(ARow);
    return g ? g->CellErrFrom() : 0;
}

void TVodStringGrid::UpdateSubNodeCount(Integer ARow, Integer Delta)
{
    if (TCellGraphic* g = NodeGraphicAt(ARow)) g->SetCellErrFrom(g->CellErrFrom() + Delta);
}

Integer TVodStringGrid::GetNodeIndent(Integer ARow)
{
    if (FNumNodes == 0 || ARow < 0) return 0;
    const TCellProperties* p = CellPropertiesOf(FCellNode->NodeColumn(), ARow);
    return p ? p->FNodeLevel * FCellNode->NodeIndent() : 0;
}

void TVodStringGrid::SetRowMergeCollapse(Integer ARow, bool Value)
{
    for (Integer c = 0; c < TotalColCount(); ++c)
        if (TCellProperties* p = CellPropertiesOf(c, ARow)) p->FMergeCollaps = Value;
}

void TVodStringGrid::ApplyOwnBounds()
{
    // The search footer takes its place again when the grid's bounds are set.
    if (SearchFooter()->Visible()) SetBounds(Left(), Top(), Width(), Height());
}

// ---------------------------------------------------------------------------
// Adding and removing

void TVodStringGrid::AddNode(Integer ARow, Integer Span)
{
    if (Span <= 0 || ARow < 0) return;
    const Integer d = DisplRowIndex(ARow);
    const Integer nc = FCellNode->NodeColumn();
    TCellGraphic* g = CreateCellGraphic(nc, d);
    if (!g) return;
    g->SetCellType(ctNode);
    g->SetCellBoolean(false);
    g->SetCellIndex(Span);
    g->SetCellErrFrom(0);
    g->SetCellAngle(d);
    g->SetCellHAlign(haBeforeText);
    g->SetCellVAlign(vaCenter);
    g->SetCellVar(Variant(-1));
    const Integer last = std::min(d + Span - 1, RowCount() - 1);
    for (Integer r = d; r <= last; ++r)
        if (TCellProperties* p = GetCellProperties(nc, r)) ++p->FNodeLevel;
    if (FNumNodes == 0) Invalidate();
    ++FNumNodes;
    if (Col() == 0 && ColCount() > 1) FocusCell(1, Row(), true);
}

void TVodStringGrid::RemoveNode(Integer ARow)
{
    const Integer d = DisplRowIndex(ARow);
    if (!NodeGraphicAt(d)) return;
    ExpandNodeInternal(ARow);
    const Integer nc = FCellNode->NodeColumn();
    const Integer last = std::min(d + NodeSpanRows(d) - 1, RowCount() - 1);
    for (Integer r = d; r <= last; ++r)
        if (TCellProperties* p = CellPropertiesOf(nc, r); p && p->FNodeLevel > 0) --p->FNodeLevel;
    RemoveCellGraphicOfType(nc, d, ctNode);
    FNumNodes = std::max(FNumNodes - 1, 0);
    Invalidate();
}

void TVodStringGrid::RemoveAllNodes()
{
    // Every row comes back at once; then each node gives up its levels and
    // its graphic, nested ones in turn.
    if (NumHiddenRows() > 0) RestoreAllHiddenRows();
    const Integer nc = FCellNode->NodeColumn();
    for (Integer r = 0; r < RowCount(); ++r) {
        if (!NodeGraphicAt(r)) continue;
        const Integer last = std::min(r + NodeSpanRows(r) - 1, RowCount() - 1);
        for (Integer k = r; k <= last; ++k)
            if (TCellProperties* p = CellPropertiesOf(nc, k); p && p->FNodeLevel > 0) --p->FNodeLevel;
        SetRowMergeCollapse(r, false);
        RemoveCellGraphicOfType(nc, r, ctNode);
        FNumNodes = std::max(FNumNodes - 1, 0);
    }
    Invalidate();
}

// ---------------------------------------------------------------------------
// Expanding and contracting one node

void TVodStringGrid::ExpandNodeInternal(Integer ARow)
{
    const Integer d = DisplRowIndex(ARow);
    TCellGraphic* g = NodeGraphicAt(d);
    if (!g || !g->CellBoolean()) return;
    g->SetCellBoolean(false);
    SetRowMergeCollapse(d, false);
    const Integer e = g->CellIndex() == 0 ? NextNodeRow(d) : d + 1;
    const Integer top = TopRow(), row = Row();
    const bool disjunct = MouseActions()->DisjunctRowSelectDirect();
    MouseActions()->SetDisjunctRowSelectDirect(false);
    struct TBack {
        TMouseActions* M;
        bool V;
        ~TBack() { M->SetDisjunctRowSelectDirect(V); }
    } back{MouseActions(), disjunct};
    {
        TOptionOff rowSel(this, goRowSelect);
        TUpdateScope update(this, FControlList->Count() == 0);
        const Integer from = RealRowIndex(d) + 1;
        const Integer to = (e < RowCount() ? RealRowIndex(e) : TotalRowCount()) - 1;
        if (from <= to) UnHideRows(from, to);
        if (rowSel.Had()) {
            if (row < RowCount()) SetRow(row);
            if (top < RowCount()) SetTopRow(top);
        }
    }
    CalcFooter(-1);
}

void TVodStringGrid::ExpandNode(Integer ARow)
{
    if (FCellNode->ExpandOne()) {
        // Every other expanded node is contracted, but not one whose span
        // holds the node to expand: that would hide it.
        for (Integer r = FixedRows(); r < RowCount(); ++r) {
            const TCellGraphic* g = NodeGraphicAt(r);
            if (!g || g->CellBoolean()) continue;
            const Integer real = RealRowIndex(r);
            if (real < ARow && ARow < real + NodeSpanRows(r)) continue;
            ContractNode(real);
        }
    }
    ExpandNodeInternal(ARow);
}

void TVodStringGrid::ContractNode(Integer ARow)
{
    HideInplaceEdit();
    const TGridRect sel = Selection();
    const Integer d = DisplRowIndex(ARow);
    TCellGraphic* g = NodeGraphicAt(d);
    if (!g || g->CellBoolean()) return;
    g->SetCellBoolean(true);
    SetRowMergeCollapse(d, true);
    const Integer b = d + 1;
    Integer e = g->CellIndex() == 0 ? NextNodeRow(d) : d + g->CellIndex();
    e = std::min(e, RowCount());
    Integer r = b;
    while (r < e) {
        TCellGraphic* n = NodeGraphicAt(r);
        if (n && n->CellBoolean()) {
            // A contracted node inside: marked expanded, its hidden rows stay
            // in the store and come back with the outer node's.
            const Integer span = NodeSpanRows(r);
            n->SetCellBoolean(false);
            SetRowMergeCollapse(r, false);
            const Integer ci = FControlList->ControlIndex(1, r + 1);
            if (ci >= 0) FControlList->GetControl(ci)->Control()->SetVisible(false);
            HideRows(RealRowIndex(b), RealRowIndex(r));
            e -= (r - b) + span;
            r = b;
            continue;
        }
        ++r;
    }
    if (b <= e - 1) HideRows(RealRowIndex(b), RealRowIndex(e - 1));
    if (sel.Top < RowCount() && sel.Bottom < RowCount()) SetSelection(sel);
    CalcFooter(-1);
}

// ---------------------------------------------------------------------------
// Every node at once

void TVodStringGrid::RestoreAllHiddenRows()
{
    const Integer n = NumHiddenRows();
    if (n == 0) return;
    if (Row() >= RowCount() && RowCount() > FixedRows()) FocusCell(FixedCols(), FixedRows(), true);
    const Integer old = RowCount();
    const bool footer = FooterRowShown() && old > 0;
    // Items in the order of their rows; each gets a final index of its own
    // (items that name one row twice, or rows past the grid, take the next
    // free place instead of being lost).
    std::vector<TGridItem*> items(static_cast<size_t>(n));
    for (Integer i = 0; i < n; ++i) items[size_t(i)] = GridItem(i);
    // Hiding keeps the store in row order, so the sort is mostly skipped.
    const auto byRow = [](TGridItem* a, TGridItem* x) { return a->Idx() < x->Idx(); };
    if (!std::is_sorted(items.begin(), items.end(), byRow)) std::stable_sort(items.begin(), items.end(), byRow);
    const Integer lastData = old + n - 1 - (footer ? 1 : 0);
    std::vector<Integer> targets(static_cast<size_t>(n));
    for (Integer k = 0; k < n; ++k) {
        Integer t = std::max(items[size_t(k)]->Idx(), 0);
        if (k > 0) t = std::max(t, targets[size_t(k - 1)] + 1);
        targets[size_t(k)] = t;
    }
    for (Integer k = n - 1; k >= 0; --k) targets[size_t(k)] = std::min(targets[size_t(k)], lastData - (n - 1 - k));
    const bool modified = ShowModified()->Enabled();
    ShowModified()->SetEnabled(false);
    // The count first: the footer row moves to the new last row by itself,
    // and is set aside while the rows above it make room.
    SetRowCount(old + n);
    TStringGridRow footerRow;
    if (footer) DetachStoreRow(RowCount() - 1, TotalColCount(), &footerRow);
    InsertStoreRowList(targets);
    // The heights move with their rows, the footer row's to the last line.
    FRows.InsertLineList(targets);
    for (Integer k = 0; k < n; ++k) PutItemIntoRow(items[size_t(k)], targets[size_t(k)], true);
    if (footer) AttachStoreRow(RowCount() - 1, &footerRow);
    FGridItems->Clear();
    ShowModified()->SetEnabled(modified);
    for (Integer i = 0; i < FControlList->Count(); ++i) {
        TControlItem* c = FControlList->GetControl(i);
        if (std::binary_search(targets.begin(), targets.end(), c->Y())) c->Control()->SetVisible(true);
    }
    DropHiddenRowLookup();
    CellControlsUpdate(false);
    Invalidate();
}

void TVodStringGrid::ExpandAll()
{
    RestoreAllHiddenRows();
    {
        TUpdateScope update(this);
        const Integer col = FCellNode->NodeColumn();
        if (FNumNodes > 0 && col >= 0 && col < TotalColCount()) {
            // Every row's block in the node column is read: looked up a run
            // of rows at a time and fetched together, as one at a time each
            // would wait on memory in a large grid.
            constexpr Integer Run = 64;
            TCellProperties* blocks[Run];
            for (Integer r0 = FixedRows(); r0 < RowCount(); r0 += Run) {
                const Integer n = std::min(Run, RowCount() - r0);
                for (Integer k = 0; k < n; ++k) {
                    blocks[k] = static_cast<TCellProperties*>(Objects(col, r0 + k));
                    if (blocks[k]) __builtin_prefetch(&blocks[k]->FGraphicObject);
                }
                for (Integer k = 0; k < n; ++k) {
                    auto* g = blocks[k] ? dynamic_cast<TCellGraphic*>(blocks[k]->FGraphicObject) : nullptr;
                    if (g && g->CellType() == ctNode && g->CellBoolean()) {
                        g->SetCellBoolean(false);
                        SetRowMergeCollapse(r0 + k, false);
                    }
                }
            }
        }
    }
    ApplyOwnBounds();
    CalcFooter(-1);
}

void TVodStringGrid::ContractAll()
{
    bool any = false;
    for (Integer r = FixedRows(); r < RowCount() && !any; ++r)
        if (const TCellGraphic* g = NodeGraphicAt(r)) any = !g->CellBoolean();
    if (!any) return;
    {
        TUpdateScope update(this);
        ExpandAll();
        TIntList list(0, 0);
        list.SetCapacity(RowCount());
        Integer r = FixedRows();
        while (r < RowCount()) {
            TCellGraphic* g = NodeGraphicAt(r);
            if (!g) {
                ++r;
                continue;
            }
            g->SetCellBoolean(true);
            SetRowMergeCollapse(r, true);
            const Integer end = std::min(g->CellIndex() > 0 ? r + g->CellIndex() : NextNodeRow(r), RowCount());
            for (Integer k = r + 1; k < end; ++k) list.Add(k);
            r = std::max(end, r + 1);
        }
        HideRowList(&list);
    }
    CellControlsUpdate(false);
    ApplyOwnBounds();
    CalcFooter(-1);
}

// ---------------------------------------------------------------------------
// Parents, tree lines and the node button

Integer TVodStringGrid::GetParentRow(Integer ARow)
{
    if (FNumNodes == 0) return -1;
    Integer level = 65535, fallback = -1;
    if (IsNode(ARow)) {
        level = GetNodeLevel(ARow);
        fallback = ARow;
    }
    Integer correction = 0;
    for (Integer r = std::min(ARow, RowCount() - 1); r >= FixedRows(); --r) {
        const TCellGraphic* g = NodeGraphicAt(r);
        if (!g || GetNodeLevel(r) >= level) continue;
        const Integer s = NodeSpanRows(r);
        if (g->CellBoolean()) correction += s - 1;
        if (ARow < r + s - correction) return r;
    }
    return fallback;
}

Integer TVodStringGrid::GetNodeSpanType(Integer ARow)
{
    if (IsNode(ARow)) return 0;
    if (ARow >= RowCount() - 1 - FFixedFooters) return 1;
    const Integer nc = FCellNode->NodeColumn();
    const TCellProperties* next = CellPropertiesOf(nc, ARow + 1);
    const TCellProperties* self = CellPropertiesOf(nc, ARow);
    const Integer level = self ? self->FNodeLevel : 0;
    if (!next || next->FNodeLevel < level) return 1;
    return 2;
}

bool TVodStringGrid::IsInNodeButton(Integer ARow, Integer X)
{
    if (!MouseActions()->PreciseNodeClick()) return true;
    const Integer nc = FCellNode->NodeColumn();
    const TCellProperties* p = CellPropertiesOf(nc, ARow);
    const Integer L = p ? p->FNodeLevel : 0;
    const Integer I = FCellNode->NodeIndent();
    const Integer left = CellRect(DisplColIndex(nc), ARow).Left;
    Integer a = 4, o = 4;
    switch (FCellNode->NodeType()) {
    case cn3D:
        a = 6;
        o = 0;
        break;
    case cnGlyph: {
        TBitmap* glyph = FCellNode->ExpandGlyph();
        const bool empty = !glyph || glyph->Empty();
        a = empty ? 0 : glyph->Width() / 2;
        o = empty ? 0 : 2;
        break;
    }
    case cnLeaf:
        a = 8;
        o = 2;
        break;
    case cnFlat:
    case cnXP: break;
    }
    if (BiDiMode() == bdRightToLeft) {
        Integer x = X - left;
        if (VisibleRowCount() + FixedRows() < RowCount()) x += GetSystemMetrics(SM_CXVSCROLL);
        return Width() - L * I - a - 2 <= x && x < Width() - (L - 1) * I;
    }
    const Integer x = X - left;
    return o + (L - 1) * I < x && x < a + L * I;
}

// ---------------------------------------------------------------------------
// Rows inside an outline

void TVodStringGrid::InsertNormalRow(Integer ARow)
{
    const Integer d = DisplRowIndex(ARow);
    InsertRows(d, 1, true);
    for (Integer i = 0; i < FGridItems->Count(); ++i)
        if (GridItem(i)->Idx() > ARow) GridItem(i)->SetIdx(GridItem(i)->Idx() + 1);
    DropHiddenRowLookup();
}

// The row removal lowers the largest row count itself.
void TVodStringGrid::RemoveNormalRow(Integer ARow) { RemoveRows(DisplRowIndex(ARow), 1); }

void TVodStringGrid::InsertChildRow(Integer ARow, Integer InsertAt)
{
    const Integer d = DisplRowIndex(ARow);
    const bool nodeRow = IsNode(d);
    const Integer P = nodeRow ? d : GetParentRow(d);
    Integer L = 1;
    if (P != -1) {
        UpdateNodeSpan(P, 1);
        UpdateSubNodeCount(P, 1);
        ExpandNodeInternal(RealRowIndex(P));
        L = GetNodeLevel(P);
    }
    // The ancestors above the parent grow with it.
    Integer A = P, K = L;
    while (K > 1 && A != -1 && A >= FixedRows()) {
        A = GetParentRow(A - 1);
        if (A == -1) break;
        if (GetNodeLevel(A) >= K) continue;
        UpdateNodeSpan(A, 1);
        UpdateSubNodeCount(A, 1);
        ExpandNodeInternal(RealRowIndex(A));
        K = GetNodeLevel(A);
    }
    // Expanding may have moved the row on screen.
    const Integer dd = DisplRowIndex(ARow);
    const Integer at = nodeRow && InsertAt == 0 ? dd + 1 : dd + InsertAt;
    // Hidden rows from the new row's place on move down with the rows.
    const Integer realAt = at < RowCount() ? RealRowIndex(at) : TotalRowCount();
    InsertRows(at, 1, true);
    for (Integer i = 0; i < FGridItems->Count(); ++i)
        if (GridItem(i)->Idx() >= realAt) GridItem(i)->SetIdx(GridItem(i)->Idx() + 1);
    DropHiddenRowLookup();
    if (nodeRow && InsertAt == 0) {
        // The node row's contents go to its new first child; the node row
        // keeps its node (column 0 and the node column keep their blocks).
        const Integer nc = FCellNode->NodeColumn();
        for (Integer c = 0; c < TotalColCount(); ++c) {
            SetGridCell(c, at, GetGridCell(c, dd));
            SetGridCell(c, dd, String());
            if (c == 0 || c == nc) continue;
            TObject* o = Objects(c, dd);
            SetObjects(c, dd, nullptr);
            SetObjects(c, at, o);
            if (auto* p = dynamic_cast<TCellProperties*>(o)) p->SetOwnerRow(at);
        }
    }
    if (P != -1)
        if (TCellProperties* p = GetCellProperties(FCellNode->NodeColumn(), at)) p->FNodeLevel = L;
    Invalidate();
}

void TVodStringGrid::RemoveChildRow(Integer ARow)
{
    Integer d = DisplRowIndex(ARow);
    if (d < 0 || d >= RowCount()) return;
    // A node row gives up its node first, so that the node count and the
    // levels of its rows stay right.
    if (IsNode(d)) {
        RemoveNode(ARow);
        d = DisplRowIndex(ARow);
    }
    Integer P = GetParentRow(d);
    if (P != -1) {
        const Integer L = GetNodeLevel(P);
        if (GetNodeSpan(P) > 1) {
            UpdateNodeSpan(P, -1);
            UpdateSubNodeCount(P, -1);
        }
        for (;;) {
            ExpandNodeInternal(RealRowIndex(P));
            if (GetNodeLevel(P) <= 1) break;
            const Integer up = GetParentRow(P);
            if (up == -1 || up == P || GetNodeLevel(up) >= L) break;
            P = up;
            if (GetNodeSpan(P) > 1) {
                UpdateNodeSpan(P, -1);
                UpdateSubNodeCount(P, -1);
            }
        }
    }
    d = DisplRowIndex(ARow);
    const Integer real = RealRowIndex(d);
    DeleteGridRow(d, 1);
    // The controls below the removed row move up with their rows.
    MoveControlRows(real + 1, -1);
    FMaxRowCount = std::max(FMaxRowCount - 1, RowCount());
    DropHiddenRowLookup();
}
