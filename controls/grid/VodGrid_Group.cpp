// Grouping: the rows (sorted by one column) get a header row before every
// run of equal values in that column, each run becomes an outline node, an
// optional summary row follows each run, and the grouped column leaves the
// grid; UnGroup gives the flat table back. A second level inside the groups,
// the group summaries and the group-column property.
#include <algorithm>
#include <cmath>
#include <unordered_set>

#include "controls/grid/GridFooter.h"
#include "controls/grid/GridSearchPanel.h"
#include "controls/grid/VodGrid.h"
#include "platform/base/SysUtils.h"

namespace {

// The value the walk starts from: no cell text is expected to equal it, so
// the first row always starts a group.
const String kGroupSentinel = L"\u044F\u044E";

// Begin and end of an update, also when an exception leaves early.
struct TGroupUpdate {
    TVodStringGrid* G;
    explicit TGroupUpdate(TVodStringGrid* g) : G(g) { G->BeginUpdate(); }
    ~TGroupUpdate() { G->EndUpdate(); }
};

}  // namespace

// ---------------------------------------------------------------------------
// Colours of header and summary rows

void TVodStringGrid::ColorGroupRow(Integer ARow, TColor Color, TColor ColorTo, TColor TextColor)
{
    if (Color != clNone) SetRowColor(ARow, Color);
    if (ColorTo != clNone) SetRowColorTo(ARow, ColorTo);
    if (TextColor != clNone) SetRowFontColor(ARow, TextColor);
}

void TVodStringGrid::ColorGroupCell(Integer ACol, Integer ARow, TColor Color, TColor ColorTo, TColor TextColor)
{
    if (Color != clNone) SetColors(ACol, ARow, Color);
    if (ColorTo != clNone) SetColorsTo(ACol, ARow, ColorTo);
    if (TextColor != clNone) SetFontColors(ACol, ARow, TextColor);
}

void TVodStringGrid::ColorSummaryRow(Integer ARow)
{
    if (FGrouping->MergeSummary() && FGrouping->Summary()) return;
    ColorGroupRow(ARow, FGrouping->SummaryColor(), FGrouping->SummaryColorTo(), FGrouping->SummaryTextColor());
}

// ---------------------------------------------------------------------------
// Group and UnGroup

bool TVodStringGrid::FooterLastRowShown() const
{
    return FFloatingFooter && FFloatingFooter->Visible() && FFloatingFooter->FooterStyle() == fsFixedLastRow;
}

void TVodStringGrid::Group(Integer Colindex)
{
    // 1.
    if (Colindex < FixedCols()) return;
    if (FGroupColumn >= 0) UnGroup();
    if (RowCount() <= FixedRows()) return;
    // 2. The grid is rebuilt inside one update; no message is processed
    // meanwhile, so nothing can change the rows halfway.
    const Integer e = FooterLastRowShown() ? 2 : 1;
    {
        TGroupUpdate update(this);
        struct TEnd {
            TVodStringGrid* G;
            ~TEnd() { G->FIsGrouping = false; }
        } end{this};
        FIsGrouping = true;
        FGroupColumn = Colindex;
        // 3.
        FGroupWidth = AllColWidths(Colindex);
        if (FixedRows() > 0) FGroupCaption = GetGridCell(Colindex, 0);
        if (FixedFooters() > 0) FGroupFooter = GetGridCell(Colindex, RowCount() - 1);
        // 4.
        if (FSortSettings->AutoSortForGrouping) {
            FSortSettings->Column = Colindex;
            QSort();
        }
        RebuildGroupRows(Colindex, e);
        // 9.
        RemoveCols(Colindex, 1);
        // 10.
        MergeGroupRowsAfterGrouping(e);
        // 11.
        if (FCellNode->ExpandOne())
            for (Integer r = FixedRows(); r < RowCount(); ++r)
                if (IsNode(r)) {
                    ExpandNode(RealRowIndex(r));
                    break;
                }
        // 12.
        if (Col() >= ColCount() || Row() >= RowCount()) {
            SetCol(std::min(FixedCols(), ColCount() - 1));
            SetRow(std::min(FixedRows(), RowCount() - 1));
        }
        if (FixedRows() < RowCount()) SetRow(FixedRows());
    }
    // The search footer lays itself out anew.
    if (FSearchFooter->Visible() && FSearchPanel) {
        FSearchPanel->SetWidth(FSearchPanel->Width() + 1);
        FSearchPanel->SetWidth(FSearchPanel->Width() - 1);
    }
}

void TVodStringGrid::RebuildGroupRows(Integer Colindex, Integer e)
{
    // 5. to 8. in one pass over the row table: the runs of equal values are
    // found first, then every header and summary row comes in at once, so
    // that the rebuild costs one pass, not one per group.
    const Integer first = FixedRows();
    const Integer last = RowCount() - FixedFooters() - e;
    const Integer h = Colindex == 1 ? 2 : 1;
    const bool summary = FGrouping->Summary();
    struct TRun {
        Integer Start, Len;
        String Value;
    };
    std::vector<TRun> runs;
    String prev = kGroupSentinel;
    for (Integer r = first; r <= last; ++r) {
        String v = GetGridCell(Colindex, r);
        if (v == prev) {
            if (!runs.empty()) ++runs.back().Len;
            continue;
        }
        prev = v;
        runs.push_back(TRun{r, 1, std::move(v)});
    }
    if (runs.empty()) {
        // Every row held the sentinel: one node over the normal rows.
        if (last >= first) AddNode(first, last - first + 1);
        return;
    }
    const Integer step = summary ? 2 : 1;
    // Final places of the header and summary rows, ascending.
    std::vector<Integer> added;
    added.reserve(runs.size() * size_t(step));
    for (size_t k = 0; k < runs.size(); ++k) {
        const Integer hdr = runs[k].Start + Integer(k) * step;
        added.push_back(hdr);
        if (summary) added.push_back(hdr + 1 + runs[k].Len);
    }
    InsertRowList(added);
    const bool mergeHeader = FGrouping->MergeHeader();
    const Integer nc = FCellNode->NodeColumn();
    for (size_t k = 0; k < runs.size(); ++k) {
        const Integer hdr = runs[k].Start + Integer(k) * step;
        SetGridCell(h, hdr, runs[k].Value);
        if (!mergeHeader)
            ColorGroupRow(hdr, FGrouping->HeaderColor(), FGrouping->HeaderColorTo(), FGrouping->HeaderTextColor());
        // The node-column blocks that the node makes for its data rows are
        // remembered so that UnGroup can free them again.
        const Integer len = runs[k].Len;
        std::vector<Integer> bare;
        for (Integer r = hdr + 1; r <= hdr + len; ++r)
            if (!CellPropertiesOf(nc, r)) bare.push_back(r);
        AddNode(RealRowIndex(hdr), len + 1);
        for (Integer r : bare)
            if (TCellProperties* p = CellPropertiesOf(nc, r)) FGroupNodeBlocks.insert(p);
        if (summary) {
            const Integer s = hdr + 1 + len;
            SetSummaryRow(RealRowIndex(s));
            ColorSummaryRow(s);
        }
    }
}

void TVodStringGrid::InsertRowList(const std::vector<Integer>& Rows)
{
    if (Rows.empty()) return;
    const Integer oldCount = RowCount();
    // The floating footer's row stays the last row.
    const bool footer = FooterRowShown();
    TStringGridRow footerRow;
    Integer footerHeight = 0;
    if (footer) {
        footerHeight = RowHeights(oldCount - 1);
        DetachStoreRow(oldCount - 1, TotalColCount(), &footerRow);
    }
    const Integer n = Integer(Rows.size());
    SetRowCount(oldCount + n);
    InsertStoreRowList(Rows);
    FRows.InsertLineList(Rows);
    if (footer) {
        AttachStoreRow(RowCount() - 1, &footerRow);
        SetRowHeights(RowCount() - 1, footerHeight);
    }
    // The per-row lists of the other families take their new entries in
    // ascending order, each at its final place.
    for (Integer r : Rows) {
        if (ShowModified()->Enabled() && r < FModifiedRows->Count()) FModifiedRows->Insert(r, 0);
        if (FUseEnabledRows && r < FEnabledRows->Count()) FEnabledRows->Insert(r, 0);
        if (MouseActions()->DisjunctRowSelect() && r < FRowSelect->Count()) FRowSelect->Insert(r, nullptr);
    }
    if (FControlList->Count() > 0) {
        for (Integer i = 0; i < FControlList->Count(); ++i) {
            TControlItem* c = FControlList->GetControl(i);
            // Each control moves down by the new rows that end up before
            // or at its row's place.
            Integer y = c->Y(), moved = 0;
            for (Integer r : Rows)
                if (r <= y + moved) ++moved;
            c->SetY(y + moved);
        }
        CellControlsUpdate(false);
    }
    Invalidate();
    CellsChanged(TRect{0, Rows.front(), ColCount() - 1, RowCount() - 1});
}

void TVodStringGrid::MergeGroupRowsAfterGrouping(Integer e)
{
    const bool mergeHeader = FGrouping->MergeHeader();
    const bool mergeSummary = FGrouping->MergeSummary() && FGrouping->Summary();
    if (!mergeHeader && !mergeSummary) return;
    const Integer span = ColCount() - 1;
    if (span < 1) return;
    // The last summary row is the last normal row: the fixed footer rows
    // below it are neither merged nor coloured.
    const Integer end = RowCount() - FixedFooters();
    const Integer lastSummary = end - e;
    for (Integer c = FixedRows(); c < end; ++c) {
        if (mergeHeader && IsNode(c)) {
            MergeCells(1, c, span, 1);
            ColorGroupCell(1, c, FGrouping->HeaderColor(), FGrouping->HeaderColorTo(), FGrouping->HeaderTextColor());
        } else if (mergeSummary && ((c + 1 < end && IsNode(c + 1)) || c == lastSummary)) {
            MergeCells(1, c, span, 1);
            ColorGroupCell(1, c, FGrouping->SummaryColor(), FGrouping->SummaryColorTo(), FGrouping->SummaryTextColor());
        }
    }
}

void TVodStringGrid::UnGroup()
{
    // 1.
    if (FGroupColumn <= 0) return;
    TGroupUpdate update(this);
    // 2.
    const bool expandOne = FCellNode->ExpandOne();
    FCellNode->SetExpandOne(false);
    struct TEnd {
        TVodStringGrid* G;
        bool ExpandOne;
        ~TEnd()
        {
            G->FIsGrouping = false;
            G->FGroupColumn = -1;
            G->FCellNode->SetExpandOne(ExpandOne);
            G->FGroupNodeBlocks.clear();
        }
    } end{this, expandOne};
    ExpandAll();
    // 3.
    const Integer gc = FGroupColumn;
    InsertCols(gc, 1);
    SetAllColWidths(gc, FGroupWidth);
    if (FixedRows() > 0) SetGridCell(gc, 0, FGroupCaption);
    if (FixedFooters() > 0) SetGridCell(gc, RowCount() - 1, FGroupFooter);
    // 4. The header and summary rows go in one pass at the end; the walk
    // marks them and fills the restored column meanwhile.
    FIsGrouping = true;
    const Integer hc = gc == 1 ? 2 : 1;
    const Integer nc = FCellNode->NodeColumn();
    const Integer last = RowCount() - 1 - FixedFooters();
    std::vector<Integer> gone;
    String current;
    Integer skip = -1;  // the summary row of the group being walked
    for (Integer r = FixedRows(); r <= last; ++r) {
        if (r == skip) continue;
        if (!IsNode(r)) {
            SetGridCell(gc, r, current);
            // A block that only the node's level made goes again.
            if (TCellProperties* p = CellPropertiesOf(nc, r); p && FGroupNodeBlocks.count(p) && p->FNodeLevel == 0 &&
                                                              !p->FGraphicObject && !IsMergedCell(nc, r))
                FreeCellProperties(nc, r);
            continue;
        }
        const Integer span = GetNodeSpan(r);
        if (FGrouping->Summary()) {
            // Only a row that is a summary row goes: a data row is never
            // taken for one.
            const Integer s = r + span;
            if (s <= last && IsSummary(s)) {
                if (FGrouping->MergeSummary()) SplitRowCells(s);
                gone.push_back(s);
                skip = s;
            }
        }
        current = GetGridCell(hc, r);
        RemoveNode(RealRowIndex(r));
        if (FGrouping->MergeHeader()) SplitRowCells(r);
        gone.push_back(r);
    }
    if (!gone.empty()) {
        TIntList list(0, 0);
        std::sort(gone.begin(), gone.end());
        for (Integer r : gone) list.Add(r);
        RemoveRowList(&list);
    }
    // 5.
    Invalidate();
}

// ---------------------------------------------------------------------------
// A second level inside the groups

void TVodStringGrid::MergeOrColorSubHeader(Integer ARow, Integer FromCol)
{
    if (FGrouping->MergeHeader()) {
        if (ColCount() - FromCol > 1) MergeCells(FromCol, ARow, ColCount() - FromCol, 1);
        ColorGroupCell(FromCol, ARow, FGrouping->HeaderColor(), FGrouping->HeaderColorTo(), FGrouping->HeaderTextColor());
    } else {
        ColorGroupRow(ARow, FGrouping->HeaderColor(), FGrouping->HeaderColorTo(), FGrouping->HeaderTextColor());
    }
}

void TVodStringGrid::CloseSubHeader(Integer P, Integer R, Integer Colindex)
{
    if (P < 0 || IsNode(P) || IsSummary(P) || R - P <= 0) return;
    AddNode(RealRowIndex(P), R - P);
    if (TCellGraphic* g = GetCellGraphic(FCellNode->NodeColumn(), P)) g->SetCellVar(Variant(Colindex));
}

void TVodStringGrid::SubGroup(Integer Colindex)
{
    // 1.
    if (Colindex < FixedCols()) return;
    TGroupUpdate update(this);
    FGroupColumn = Colindex;
    FGroupWidth = AllColWidths(Colindex);
    if (FixedRows() > 0) FGroupCaption = GetCellEx(Colindex, 0);
    if (FixedFooters() > 0) FGroupFooter = GetCellEx(Colindex, RowCount() - 1);
    // 2.
    const Integer a = Colindex + 1;
    String prev = kGroupSentinel;
    Integer p = -1;
    Integer r = FixedRows() + 1;
    auto lastRow = [this] { return RowCount() - FixedFooters() - 1; };
    while (r <= lastRow()) {
        const String v = GetCellEx(Colindex, r);
        if (v != prev || IsNode(r) || IsSummary(r)) {
            CloseSubHeader(p, r, Colindex);
            if (!IsNode(r) && !IsSummary(r)) {
                InsertChildRow(RealRowIndex(r), 0);
                SetGridCell(a, r, v);
                MergeOrColorSubHeader(r, a);
            }
            p = r;
            ++r;
        }
        if (r > lastRow() || IsNode(r - 1) || IsSummary(r - 1)) {
            prev = kGroupSentinel;
        } else {
            prev = GetCellEx(Colindex, r);
            SetCellEx(Colindex, r, String());
            ++r;
        }
    }
    // 3.
    if (p < 0 || !IsSummary(p)) {
        if (p < 0) {
            if (r <= lastRow()) {
                InsertChildRow(RealRowIndex(r), 0);
                AddNode(RealRowIndex(r), 2);
                SetGridCell(a, r, GetGridCell(Colindex, r + 1));
                SetGridCell(Colindex, r + 1, String());
                if (TCellGraphic* g = GetCellGraphic(FCellNode->NodeColumn(), r)) g->SetCellVar(Variant(Colindex));
            }
        } else {
            CloseSubHeader(p, r, Colindex);
        }
        // Only a normal row is emptied: a footer row keeps its text.
        if (r - 1 >= 0 && !IsNode(r - 1) && !IsSummary(r - 1) && r <= lastRow()) {
            SetCellEx(Colindex, r, String());
            ++r;
        }
        if (FGrouping->Summary()) {
            InsertRows(r, 1, true);
            SetSummaryRow(RealRowIndex(r));
            if (FGrouping->MergeSummary()) {
                if (ColCount() - a > 1) MergeCells(a, r, ColCount() - a, 1);
                ColorGroupCell(a, r, FGrouping->SummaryColor(), FGrouping->SummaryColorTo(),
                               FGrouping->SummaryTextColor());
            } else {
                ColorGroupRow(r, FGrouping->SummaryColor(), FGrouping->SummaryColorTo(), FGrouping->SummaryTextColor());
            }
        }
    }
    // 4.
    if (FixedRows() < RowCount()) SetRow(FixedRows());
}

Integer TVodStringGrid::SubGroupColumnOf(TCellGraphic* Node)
{
    try {
        return Node->CellVar().IsEmpty() ? -1 : Node->CellVar().AsInteger();
    } catch (const Exception&) {
        return -1;
    }
}

void TVodStringGrid::SubUnGroup(Integer Colindex)
{
    TGroupUpdate update(this);
    ExpandAll();
    String current;
    const Integer nc = FCellNode->NodeColumn();
    Integer r = FixedRows();
    while (r <= RowCount() - 1 - FixedFooters()) {
        if (!IsNode(r)) {
            SetCellEx(Colindex, r, current);
            ++r;
            continue;
        }
        TCellGraphic* g = GetCellGraphic(nc, r);
        if (g && SubGroupColumnOf(g) == Colindex) {
            current = GetCellEx(Colindex + 1, r);
            RemoveNode(RealRowIndex(r));
            if (FGrouping->MergeHeader()) {
                SplitRowCells(r);
            } else {
                SetRowColor(r, clNone);
                SetRowColorTo(r, clNone);
                SetRowFontColor(r, clNone);
            }
            RemoveChildRow(RealRowIndex(r));
            continue;
        }
        ++r;
    }
}

// ---------------------------------------------------------------------------
// The group column property and the group summaries

void TVodStringGrid::SetGroupColumn(Integer Value)
{
    if (Value == -1)
        UnGroup();
    else if (Value > 0)
        Group(Value);
}

void TVodStringGrid::GroupCalc(Integer Colindex, Integer Method)
{
    for (Integer r = FixedRows(); r < RowCount();) {
        if (!IsNode(r) || GetNodeState(r)) {
            ++r;
            continue;
        }
        const Integer n = std::max(1, GetNodeSpan(r));
        const Integer from = r + 1, to = r + n - 1;
        const Integer target = FGrouping->Summary() ? r + n : r;
        if (target < RowCount()) {
            // A group whose cells do not read as numbers keeps its figure
            // cell as it is: the summaries raise nothing.
            try {
                switch (Method) {
                case 1: SetFloats(Colindex, target, ColumnSum(Colindex, from, to)); break;
                case 2: SetFloats(Colindex, target, ColumnAvg(Colindex, from, to)); break;
                case 3: SetFloats(Colindex, target, ColumnMin(Colindex, from, to)); break;
                case 4: SetFloats(Colindex, target, ColumnMax(Colindex, from, to)); break;
                case 5: SetInts(Colindex, target, n - 1); break;
                case 6: {
                    double res = 0;
                    if (OnGroupCalc) OnGroupCalc(this, Colindex, from, to, res);
                    SetFloats(Colindex, target, res);
                    break;
                }
                case 7: SetFloats(Colindex, target, ColumnDistinct(Colindex, from, to)); break;
                case 8: SetFloats(Colindex, target, ColumnStdDev(Colindex, from, to)); break;
                default: break;
                }
            } catch (const EVodGridError&) {
            }
        }
        r += n;
    }
}

void TVodStringGrid::GroupSum(Integer Colindex) { GroupCalc(Colindex, 1); }
void TVodStringGrid::GroupAvg(Integer Colindex) { GroupCalc(Colindex, 2); }
void TVodStringGrid::GroupMin(Integer Colindex) { GroupCalc(Colindex, 3); }
void TVodStringGrid::GroupMax(Integer Colindex) { GroupCalc(Colindex, 4); }
void TVodStringGrid::GroupCount(Integer Colindex) { GroupCalc(Colindex, 5); }
void TVodStringGrid::GroupCustomCalc(Integer Colindex) { GroupCalc(Colindex, 6); }
void TVodStringGrid::GroupDistinct(Integer Colindex) { GroupCalc(Colindex, 7); }
void TVodStringGrid::GroupStdDev(Integer Colindex) { GroupCalc(Colindex, 8); }
