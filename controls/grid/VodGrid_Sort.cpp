// Row sorting and the sort settings: one cell comparison for every sort, a
// Hoare partition sort over the grid's own rows (the comparison is not
// symmetric under the automatic style, so no library sort may be handed
// it), the row swap that carries everything attached to a row, the
// unsort through the cross-reference, and the sort specifier text.
#include <algorithm>
#include <vector>

#include "controls/foundation/VodUtil.h"
#include "controls/grid/GridFooter.h"
#include "controls/grid/GridSearchPanel.h"
#include "controls/grid/GridSortSettings.h"
#include "controls/grid/VodGrid.h"
#include "platform/base/SysUtils.h"

namespace {

bool IsNumberText(const String& S)
{
    const Byte k = ClassifyValueText(S);
    return k == vcInteger || k == vcFloat || k == vcScientific;
}

// Upper case for a to z only, as the plain case-free comparison wants.
String UpperAZ(String S)
{
    for (auto& c : S)
        if (c >= L'a' && c <= L'z') c = Char(c - (L'a' - L'A'));
    return S;
}

Integer SignOf(Integer V) { return V < 0 ? -1 : V > 0 ? 1 : 0; }

Integer CompareOrdinal(const String& A, const String& B) { return SignOf(A.compare(B)); }

template <class T>
Integer CompareValues(T A, T B)
{
    return A > B ? 1 : A < B ? -1 : 0;
}

void DeleteFirst(String& S, const String& Sub)
{
    if (Sub.empty()) return;
    const size_t p = S.find(Sub);
    if (p != String::npos) S.erase(p, Sub.size());
}

// Reads a number in "." notation. A text that does not read completely
// fails and keeps the value of the longest start that does read (0 when
// none does, so a text without leading digits is 0).
double ReadSortNumber(const String& S, bool& Failed)
{
    Extended v = 0;
    Integer code = 0;
    try {
        Val(S, v, code);
    } catch (...) {
        Failed = true;
        return 0;
    }
    Failed = code != 0;
    if (!Failed) return double(v);
    for (Integer n = std::min(code - 1, Integer(S.size())); n > 0; --n) {
        Extended pv = 0;
        Integer pc = 0;
        try {
            Val(S.substr(0, size_t(n)), pv, pc);
        } catch (...) {
            pc = 1;
        }
        if (pc == 0) return double(pv);
    }
    return 0;
}

TDateTime ReadDateOrZero(const String& S, bool TimeOnly)
{
    if (S.empty()) return 0;
    TDateTime d = 0;
    try {
        if (TimeOnly ? TryStrToTime(S, d) : TryStrToDateTime(S, d)) return d;
    } catch (...) {
    }
    return 0;
}

TDateTime ParseOrZero(const String& S, bool DayFirst)
{
    try {
        return DayFirst ? ParseDateDMY(S) : ParseDateMDY(S);
    } catch (...) {
        return 0;
    }
}

// 1-based position of C in S, 0 when absent.
Integer PosOf(Char C, const String& S)
{
    const size_t p = S.find(C);
    return p == String::npos ? 0 : Integer(p) + 1;
}

bool IsCheckType(TCellType T)
{
    return T == ctCheckBox || T == ctDataCheckBox || T == ctVirtCheckBox || T == ctRowCheckBox;
}

}  // namespace

// ---------------------------------------------------------------------------
// The scope of one sort: scratch rows, counts, column 0, scroll position,
// footer, clear-text mode and update bracket, restored on every path.

class TVodStringGrid::TSortScope {
public:
    struct TOptions {
        bool Column0 = true;      // NormalCellsOnly keeps column 0 in place
        bool Bracket = true;      // update bracket, top row, footers
        bool HideFooter = true;   // the floating footer hides meanwhile
        bool ClearText = true;    // clear-text-only mode off meanwhile
        bool ScratchRows = true;  // the three scratch rows
    };

    TSortScope(TVodStringGrid* AGrid, const TOptions& O) : G(AGrid), Opt(O)
    {
        if (Opt.Column0 && G->FSortSettings->NormalCellsOnly && G->FixedCols() > 0) {
            FSavedCol0 = true;
            const Integer n = G->RowCount();
            FCol0.reserve(size_t(n));
            for (Integer r = 0; r < n; ++r) FCol0.emplace_back(G->TStringGrid::Cells(0, r), G->TStringGrid::Objects(0, r));
        }
        if (Opt.Bracket) {
            FTop = G->TopRow();
            FFooters = G->FFixedFooters;
            if (Opt.ClearText) {
                FClearText = G->FClearTextOnly;
                G->FClearTextOnly = false;
            }
            if (Opt.HideFooter && G->FFloatingFooter) {
                FFooterVisible = G->FFloatingFooter->Visible();
                if (FFooterVisible) G->FFloatingFooter->SetVisible(false);
            }
            G->BeginUpdate();
            FBracket = true;
        }
        FMaxRows = G->FMaxRowCount;
        FOldRows = G->RowCount();
        if (Opt.ScratchRows) {
            G->SetRowCount(FOldRows + 3);
            FScratch = true;
            // Rows once held beyond the count may still hold texts.
            if (FMaxRows - G->NumHiddenRows() > FOldRows) G->EmptyScratchRows(FOldRows, FOldRows + 2);
            G->FNormalRowCount = FOldRows;
        }
        FOldSortCols = G->FSortColCount;
        G->FSortColCount = G->TotalColCount();
    }

    ~TSortScope()
    {
        // Nothing here may throw: every step runs whatever came before.
        G->FSortColCount = FOldSortCols;
        if (FScratch) {
            G->EmptyScratchRows(FOldRows, FOldRows + 2);
            G->SetRowCount(FOldRows);
            G->FMaxRowCount = FMaxRows;
        }
        if (FSavedCol0) {
            const Integer n = std::min(Integer(FCol0.size()), G->RowCount());
            for (Integer r = 0; r < n; ++r) {
                G->TStringGrid::SetCells(0, r, FCol0[size_t(r)].first);
                G->TStringGrid::SetObjects(0, r, FCol0[size_t(r)].second);
            }
        }
        if (FBracket) {
            if (G->FNavigation->KeepScrollOnSort() && FTop >= G->FixedRows() && FTop < G->RowCount()) G->SetTopRow(FTop);
            if (FFooterVisible) G->FFloatingFooter->SetVisible(true);
            G->FFixedFooters = FFooters;
            if (Opt.ClearText) G->FClearTextOnly = FClearText;
            G->EndUpdate();
        }
    }

    Integer OldRows() const { return FOldRows; }
    void RepaintCompanions()
    {
        if (G->FFloatingFooter && G->FFloatingFooter->Visible() && G->FFooterPanel) G->FFooterPanel->Invalidate();
        if (G->FSearchPanel && G->FSearchFooter->Visible() && G->FSearchPanel->Visible()) G->FSearchPanel->Repaint();
    }

private:
    TVodStringGrid* G;
    TOptions Opt;
    bool FSavedCol0 = false, FBracket = false, FScratch = false, FFooterVisible = false, FClearText = false;
    std::vector<std::pair<String, TObject*>> FCol0;
    Integer FTop = 0, FFooters = 0, FMaxRows = 0, FOldRows = 0, FOldSortCols = 0;
};

// ---------------------------------------------------------------------------
// Comparison

Integer TVodStringGrid::CompareCells(Integer ACol, Integer ARow1, Integer ARow2, TSortDirection Direction)
{
    const TSortSettings* ss = FSortSettings.get();
    TSortStyle style = ss->AutoFormat ? ssAutomatic : ss->IgnoreCase ? ssAlphaNoCase : ss->DefaultFormat;
    String prefix, suffix;
    GetCellFormat(ACol, style, prefix, suffix);
    const bool virt = ss->SortOnVirtualCells;
    String s1 = virt ? GetCellEx(ACol, ARow1) : GetGridCell(ACol, ARow1);
    String s2 = virt ? GetCellEx(ACol, ARow2) : GetGridCell(ACol, ARow2);

    if (style == ssAutomatic) {
        // Only the first text decides.
        if (IsCheckType(GetCellType(ACol, ARow1)))
            style = ssCheckBox;
        else if (IsNumberText(s1))
            style = ssNumeric;
        else {
            style = ss->IgnoreCase ? ssAlphaNoCase : ssAlphabetic;
            const Integer len = Integer(s1.size());
            const Char ds = FormatSettings.DateSeparator, ts = FormatSettings.TimeSeparator;
            Integer p = PosOf(ds, s1);
            if (p > 1 && p < 4 && p < len) {
                if (IsDigitChar(s1[size_t(p - 2)]) && IsDigitChar(s1[size_t(p)]) && PosOf(ds, s2) > 0)
                    style = PosOf(ts, s1) > 0 ? ssDateTime : ssDate;
            } else {
                p = PosOf(ts, s1);
                if (p > 1 && p < 4 && p < len && IsDigitChar(s1[size_t(p - 2)]) && IsDigitChar(s1[size_t(p)]) &&
                    PosOf(ts, s2) > 0)
                    style = ssTime;
            }
        }
    }
    if (style == ssAlphaNumeric || style == ssAlphaNumericNoCase) {
        const bool numbers = IsNumberText(s1) && IsNumberText(s2);
        style = numbers ? ssNumeric : style == ssAlphaNumeric ? ssAlphabetic : ssAlphaNoCase;
    }

    Integer res = 0;
    switch (style) {
    case ssHTML:
        s1 = GetStrippedCell(ACol, ARow1);
        s2 = GetStrippedCell(ACol, ARow2);
        res = CompareOrdinal(s1, s2);
        break;
    case ssAlphaNoCase:
        res = CompareOrdinal(UpperAZ(s1), UpperAZ(s2));
        break;
    case ssAnsiAlphaCase:
        res = SignOf(AnsiCompareStr(s1, s2));
        break;
    case ssAnsiAlphaNoCase:
        res = SignOf(AnsiCompareText(s1, s2));
        break;
    case ssNatural:
        res = SignOf(NaturalCompareStr(s1.c_str(), s2.c_str()));
        break;
    case ssNumeric:
    case ssFinancial: {
        const bool empty1 = virt ? s1.empty() : false, empty2 = virt ? s2.empty() : false;
        String t[2] = {s1, s2};
        const Char dsep = FormatSettings.DecimalSeparator, tsep = FormatSettings.ThousandSeparator;
        for (String& s : t) {
            DeleteFirst(s, suffix);
            DeleteFirst(s, prefix);
            if (style == ssFinancial) s.erase(std::remove(s.begin(), s.end(), tsep), s.end());
            if (dsep != L'.') {
                const size_t p = s.find(dsep);
                if (p != String::npos) s[p] = L'.';
            }
        }
        bool f1 = false, f2 = false;
        const double v1 = ReadSortNumber(t[0], f1), v2 = ReadSortNumber(t[1], f2);
        // An empty displayed cell is the number 0.
        if (f1 && (virt ? empty1 : GetCellEx(ACol, ARow1).empty())) f1 = false;
        if (f2 && (virt ? empty2 : GetCellEx(ACol, ARow2).empty())) f2 = false;
        res = f1 && f2 ? 0 : CompareValues(v1, v2);
        s1 = t[0];
        s2 = t[1];
        break;
    }
    case ssDate:
    case ssDateTime:
        res = CompareValues(ReadDateOrZero(s1, false), ReadDateOrZero(s2, false));
        break;
    case ssShortDateEU:
        res = CompareValues(ParseOrZero(s1, true), ParseOrZero(s2, true));
        break;
    case ssShortDateUS:
        res = CompareValues(ParseOrZero(s1, false), ParseOrZero(s2, false));
        break;
    case ssTime:
        res = CompareValues(ReadDateOrZero(s1, true), ReadDateOrZero(s2, true));
        break;
    case ssImages: {
        Integer i1 = -1, i2 = -1;
        if (!GetImageIdx(ACol, ARow1, i1)) i1 = -1;
        if (!GetImageIdx(ACol, ARow2, i2)) i2 = -1;
        res = CompareValues(i1, i2);
        break;
    }
    case ssCheckBox: {
        const bool c1 = IsChecked(ACol, ARow1), c2 = IsChecked(ACol, ARow2);
        res = c1 == c2 ? 0 : c1 ? 1 : -1;
        break;
    }
    case ssCustom:
        res = 0;
        if (OnCustomCompare) OnCustomCompare(this, s1, s2, res);
        break;
    case ssRaw:
        res = 0;
        if (OnRawCompare) OnRawCompare(this, ACol, ARow1, ARow2, res);
        break;
    default:  // ssAlphabetic, ssAlphaCase
        res = CompareOrdinal(s1, s2);
        break;
    }

    if (ss->IgnoreBlanks && s1.empty() != s2.empty()) {
        // Blanks first or last whichever the direction.
        const bool first = ss->BlankPos == blFirst;
        const bool asc = Direction == sdAscending;
        const Integer s1Empty = (asc == first) ? -1 : 1;
        res = s1.empty() ? s1Empty : -s1Empty;
    }
    return res;
}

Integer TVodStringGrid::CompareRows(Integer ACol, Integer ARow1, Integer ARow2)
{
    const Integer cols = FSortColCount > 0 ? FSortColCount : ColCount();
    for (;;) {
        const Integer r = IsIgnoredColumn(ACol) ? 0 : CompareCells(ACol, ARow1, ARow2, FSortSettings->Direction);
        if (r != 0 || !FSortSettings->Full || ACol > cols - 2) return r;
        ++ACol;
    }
}

Integer TVodStringGrid::CompareRowsIndexed(Integer Index, Integer ARow1, Integer ARow2)
{
    const Integer n = FSortIndexes->Count();
    for (;;) {
        if (Index < 0 || Index >= n) return 0;
        const Integer e = FSortIndexes->GetInteger(Index);
        const Integer col = e & 0x7FFFFFFF;
        const bool desc = e < 0;
        const Integer r = IsIgnoredColumn(col) ? 0 : CompareCells(col, ARow1, ARow2, desc ? sdDescending : sdAscending);
        if (r == 0 && FSortSettings->Full && Index < n - 1) {
            ++Index;
            continue;
        }
        return desc ? -r : r;
    }
}

// ---------------------------------------------------------------------------
// Scratch rows and the row swap

void TVodStringGrid::EmptyScratchRows(Integer FromRow, Integer ToRow)
{
    // Detached rows drop their texts; the objects are only references that
    // the real rows still hold.
    const Integer cols = TotalColCount();
    for (Integer r = FromRow; r <= ToRow; ++r) {
        TStringGridRow dropped;
        DetachStoreRow(r, cols, &dropped);
    }
}

void TVodStringGrid::CopyPivotRow(Integer ARow)
{
    const Integer p = RowCount() - 2;
    EmptyScratchRows(p, p);
    const Integer cols = FSortColCount > 0 ? FSortColCount : TotalColCount();
    if (OnGetDisplText) {
        const bool virt = FSortSettings->SortOnVirtualCells;
        for (Integer c = 0; c < cols; ++c) {
            TStringGrid::SetObjects(c, p, TStringGrid::Objects(c, ARow));
            if (virt) {
                // Displayed text, written where the pivot's own block says.
                TStringGrid::SetCells(c, p, GetCellEx(c, ARow));
            } else
                SetGridCell(c, p, GetGridCell(c, ARow));
        }
    } else {
        for (Integer c = 0; c < cols; ++c) {
            const TObject* o = TStringGrid::Objects(c, ARow);
            const String s = TStringGrid::Cells(c, ARow);
            if (!s.empty()) TStringGrid::SetCells(c, p, s);
            if (o) TStringGrid::SetObjects(c, p, const_cast<TObject*>(o));
        }
    }
}

void TVodStringGrid::SortSwapRows(Integer ARow1, Integer ARow2)
{
    if (ARow1 == ARow2) return;
    auto swapEntries = [](TIntList* L, Integer a, Integer b) {
        if (!L || a < 0 || b < 0 || a >= L->Count() || b >= L->Count()) return;
        const Integer t = L->GetInteger(a);
        L->SetInteger(a, L->GetInteger(b));
        L->SetInteger(b, t);
    };
    swapEntries(FSortRowXRef.get(), ARow1, ARow2);
    if (FUseEnabledRows) swapEntries(FEnabledRows.get(), ARow1, ARow2);
    if (FSortSettings->SingleColumn) {
        const Integer c = FSortSettings->Column;
        const String t = GetCellEx(c, ARow1);
        SetCellEx(c, ARow1, GetCellEx(c, ARow2));
        SetCellEx(c, ARow2, t);
        TObject* o = TStringGrid::Objects(c, ARow1);
        TStringGrid::SetObjects(c, ARow1, TStringGrid::Objects(c, ARow2));
        TStringGrid::SetObjects(c, ARow2, o);
        return;
    }
    const Integer h1 = RowHeights(ARow1), h2 = RowHeights(ARow2);
    if (h1 != h2) {
        SetRowHeights(ARow1, h2);
        SetRowHeights(ARow2, h1);
    }
    // Whole rows: three pointer moves, whatever the number of columns.
    TStringGridRow held;
    DetachStoreRow(ARow1, TotalColCount(), &held);
    MoveStoreRow(ARow2, ARow1);
    AttachStoreRow(ARow2, &held);
    if (FMouseActions->DisjunctRowSelect() && FNavigation->MoveRowOnSort()) {
        const Integer r1 = RealRowIndex(ARow1), r2 = RealRowIndex(ARow2);
        const bool s1 = RowSelect(r1), s2 = RowSelect(r2);
        if (s1 != s2) {
            SetRowSelect(r1, s2);
            SetRowSelect(r2, s1);
        }
    }
    if (FShowModified->Enabled()) swapEntries(FModifiedRows.get(), ARow1, ARow2);
    if (FSortRow == ARow1)
        FSortRow = ARow2;
    else if (FSortRow == ARow2)
        FSortRow = ARow1;
}

bool TVodStringGrid::SortLine(Integer Col, Integer ARow1, Integer ARow2)
{
    const Integer dir = FSortSettings->Direction == sdAscending ? 1 : -1;
    const Integer last = ColCount() - 1 + NumHiddenColumns();
    for (;;) {
        const Integer r = CompareCells(Col, ARow1, ARow2, FSortSettings->Direction);
        if (r == dir) {
            SortSwapRows(ARow1, ARow2);
            return true;
        }
        if (r != 0 || Col >= last) return false;
        ++Col;
    }
}

// ---------------------------------------------------------------------------
// The partition sorts

void TVodStringGrid::QuickSortRows(Integer ACol, Integer Left, Integer Right)
{
    // The smaller side recurses and the larger one loops, so the depth
    // stays logarithmic on any input.
    while (Left < Right) {
        FSortDir = FSortSettings->Direction == sdDescending ? -1 : 1;
        const Integer mid = (Left + Right) / 2;
        CopyPivotRow(mid);
        const bool midIsPivot = FSortSettings->SortOnVirtualCells && OnGetDisplText && OnRawCompare;
        Integer pivot = midIsPivot ? mid : RowCount() - 2;
        Integer i = Left, j = Right;
        do {
            while (CompareRows(ACol, pivot, i) == FSortDir && i < Right) ++i;
            while (CompareRows(ACol, j, pivot) == FSortDir && j > Left) --j;
            if (i <= j) {
                if (i != j && CompareRows(ACol, i, j) != 0) {
                    SortSwapRows(i, j);
                    // A pivot that is a real row moves with its swaps.
                    if (pivot == i)
                        pivot = j;
                    else if (pivot == j)
                        pivot = i;
                }
                ++i;
                --j;
            }
        } while (i <= j);
        if (j - Left < Right - i) {
            if (Left < j) QuickSortRows(ACol, Left, j);
            Left = i;
        } else {
            if (i < Right) QuickSortRows(ACol, i, Right);
            Right = j;
        }
    }
}

void TVodStringGrid::QuickSortRowsIndexed(Integer Index, Integer Left, Integer Right)
{
    while (Left < Right) {
        FSortDir = FSortSettings->Direction == sdDescending ? -1 : 1;
        const Integer mid = (Left + Right) / 2;
        CopyPivotRow(mid);
        const Integer pivot = RowCount() - 2;
        Integer i = Left, j = Right;
        do {
            while (CompareRowsIndexed(Index, pivot, i) == 1 && i < Right) ++i;
            while (CompareRowsIndexed(Index, j, pivot) == 1 && j > Left) --j;
            if (i <= j) {
                if (i != j) SortSwapRows(i, j);
                ++i;
                --j;
            }
        } while (i <= j);
        if (j - Left < Right - i) {
            if (Left < j) QuickSortRowsIndexed(Index, Left, j);
            Left = i;
        } else {
            if (i < Right) QuickSortRowsIndexed(Index, i, Right);
            Right = j;
        }
    }
}

void TVodStringGrid::QuickSortToOriginal(Integer Left, Integer Right)
{
    TIntList* x = FUnSortRowXRef.get();
    while (Left < Right) {
        const Integer pv = x->GetInteger((Left + Right) / 2);
        Integer i = Left, j = Right;
        do {
            while (x->GetInteger(i) < pv && i < Right) ++i;
            while (pv < x->GetInteger(j) && j > Left) --j;
            if (i <= j) {
                if (i != j && x->GetInteger(i) != x->GetInteger(j)) {
                    SortSwapRows(i, j);
                    const Integer t = x->GetInteger(i);
                    x->SetInteger(i, x->GetInteger(j));
                    x->SetInteger(j, t);
                }
                ++i;
                --j;
            }
        } while (i <= j);
        if (j - Left < Right - i) {
            if (Left < j) QuickSortToOriginal(Left, j);
            Left = i;
        } else {
            if (i < Right) QuickSortToOriginal(i, Right);
            Right = j;
        }
    }
}

// ---------------------------------------------------------------------------
// The sorts

void TVodStringGrid::InitSortXRef()
{
    FSortRowXRef->Clear();
    for (Integer i = 0; i < RowCount(); ++i) FSortRowXRef->Add(i);
}

void TVodStringGrid::EnsureSortXRef()
{
    if (FSortRowXRef->Count() != RowCount()) InitSortXRef();
}

void TVodStringGrid::MoveRowSilently(Integer ARow)
{
    // The current row moves without cell-change events.
    const bool old = FBlockCellChange;
    FBlockCellChange = true;
    FCurrent.Y = ARow;
    FAnchor.Y = ARow;
    FBlockCellChange = old;
}

void TVodStringGrid::QSort()
{
    if (FSortSettings->Column < 0) return;
    EnsureSortXRef();
    FSortIndexes->Clear();
    const Integer r0 = Row();
    const bool moveRow = FNavigation->MoveRowOnSort();
    const bool disjunct = FMouseActions->DisjunctRowSelect();
    {
        TSortScope scope(this, {});
        const Integer oldRows = scope.OldRows();
        FSortRow = r0;
        if (moveRow && !disjunct) MoveRowSilently(oldRows - 1);
        QuickSortRows(FSortSettings->Column, FixedRows(), RowCount() - FFixedFooters - 4);
        if (!disjunct) {
            if (moveRow) {
                MoveRowSilently(FSortRow);
                if (FSortRow != r0 && OnRowChanging) {
                    bool allow = true;
                    OnRowChanging(this, r0, FSortRow, allow);
                }
                FPrevRowSel = -1;
            } else if (r0 >= FixedRows() && r0 < oldRows - FFixedFooters)
                MoveRowSilently(r0);
        }
        FSortRow = -1;
        scope.RepaintCompanions();
    }
    if (!moveRow && OnRowUpdate) OnRowUpdate(this, r0, Row());
}

void TVodStringGrid::QSortIndexed()
{
    EnsureSortXRef();
    if (FSortIndexes->Count() == 0) throw EVodGridError(L"No indexes specified for indexed sort");
    const Integer r0 = Row();
    const bool moveRow = FNavigation->MoveRowOnSort();
    TSortScope::TOptions o;
    o.ClearText = false;
    TSortScope scope(this, o);
    const Integer oldRows = scope.OldRows();
    FSortRow = r0;
    if (moveRow) FCurrent.Y = FAnchor.Y = oldRows;
    QuickSortRowsIndexed(0, FixedRows(), RowCount() - FFixedFooters - 4);
    if (moveRow)
        FCurrent.Y = FAnchor.Y = FSortRow < oldRows ? FSortRow : r0;
    else
        FCurrent.Y = FAnchor.Y = r0;
    FSortRow = -1;
    scope.RepaintCompanions();
}

void TVodStringGrid::QSortGroup() { SortGroups(false); }

void TVodStringGrid::QSortGroupIndexed() { SortGroups(true); }

void TVodStringGrid::SortGroups(bool Indexed)
{
    EnsureSortXRef();
    const Integer r0 = Row();
    const bool moveRow = FNavigation->MoveRowOnSort();
    TSortScope::TOptions o;
    o.HideFooter = false;
    TSortScope scope(this, o);
    const Integer oldRows = scope.OldRows();
    FSortRow = r0;
    if (moveRow) MoveRowSilently(oldRows);
    // Node levels, states and spans come with the outline nodes; until that
    // family answers them every row is a plain row and there is no group.
    (void)Indexed;
    if (!moveRow)
        MoveRowSilently(r0);
    else {
        const Integer to = FSortRow < oldRows ? FSortRow : r0;
        MoveRowSilently(to);
        if (to != r0 && OnRowChanging) {
            bool allow = true;
            OnRowChanging(this, r0, to, allow);
        }
        FPrevRowSel = -1;
    }
    FSortRow = -1;
}

void TVodStringGrid::QuickSort(Integer Col, Integer Left, Integer Right)
{
    TSortScope::TOptions o;
    o.Column0 = false;
    o.Bracket = false;
    TSortScope scope(this, o);
    QuickSortRows(Col, Left, Right);
}

void TVodStringGrid::QuickSortIndexed(Integer Left, Integer Right)
{
    TSortScope::TOptions o;
    o.Column0 = false;
    o.Bracket = false;
    TSortScope scope(this, o);
    QuickSortRowsIndexed(0, Left, Right);
}

void TVodStringGrid::QUnSort()
{
    EnsureSortXRef();
    FUnSortRowXRef->Clear();
    for (Integer i = 0; i < FSortRowXRef->Count(); ++i) FUnSortRowXRef->Add(FSortRowXRef->GetInteger(i));
    {
        TSortScope::TOptions o;
        o.ScratchRows = false;
        o.HideFooter = false;
        o.ClearText = false;
        TSortScope scope(this, o);
        const Integer r0 = Row();
        if (RowCount() > 1) QuickSortToOriginal(0, RowCount() - 1);
        MoveRowSilently(r0);
        if (FSortSettings->IndexShow) FSortIndexes->Clear();
    }
}

void TVodStringGrid::Sort(Integer Column, TSortDirection Direction)
{
    FSortSettings->Column = Column;
    FSortSettings->Direction = Direction;
    QSort();
    if (NumCellControls() > 0) CellControlsUpdate(true);
}

void TVodStringGrid::SortByColumn(Integer Col)
{
    if (RowCount() <= 1) return;
    FSortSettings->Column = Col;
    QSort();
}

TColumnType TVodStringGrid::ColumnType(Integer Col)
{
    const Integer r = FixedRows();
    const Byte k1 = ClassifyValueText(GetCellEx(Col, r));
    const Byte k2 = ClassifyValueText(GetCellEx(Col, r + 1));
    if (CellHasCheckBox(Col, r) && CellHasCheckBox(Col, r + 1)) return ctBoolean;
    if (k1 != k2) return ctAlpha;
    switch (k1) {
    case vcInteger: return ctNumeric;
    case vcFloat: return ctFloat;
    case vcDate: return ctDate;
    case vcTime: return ctTime;
    default: return ctAlpha;
    }
}

// ---------------------------------------------------------------------------
// TSortSettings

TSortSettings::TSortSettings(TVodStringGrid* AGrid)
    : FGrid(AGrid), FUpGlyph(std::make_unique<TBitmap>()), FDownGlyph(std::make_unique<TBitmap>()),
      FIndexUpGlyph(std::make_unique<TBitmap>()), FIndexDownGlyph(std::make_unique<TBitmap>())
{
}

TSortSettings::~TSortSettings() = default;

void TSortSettings::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TSortSettings*>(Source);
    if (!s) return;
    AutoSortForGrouping = s->AutoSortForGrouping;
    AutoColumnMerge = s->AutoColumnMerge;
    DefaultFormat = s->DefaultFormat;
    Column = s->Column;
    FShow = s->FShow;
    IndexShow = s->IndexShow;
    IndexColor = s->IndexColor;
    Full = s->Full;
    SingleColumn = s->SingleColumn;
    IgnoreBlanks = s->IgnoreBlanks;
    BlankPos = s->BlankPos;
    AutoFormat = s->AutoFormat;
    Direction = s->Direction;
    FUpGlyph->Assign(s->FUpGlyph.get());
    FDownGlyph->Assign(s->FDownGlyph.get());
    FIndexUpGlyph->Assign(s->FIndexUpGlyph.get());
    FIndexDownGlyph->Assign(s->FIndexDownGlyph.get());
    IndexSortKey = s->IndexSortKey;
    InitSortDirection = s->InitSortDirection;
    FixedCols = s->FixedCols;
    NormalCellsOnly = s->NormalCellsOnly;
    FRow = s->FRow;
    UndoSort = s->UndoSort;
    FHeaderColor = s->FHeaderColor;
    FHeaderColorTo = s->FHeaderColorTo;
    FHeaderMirrorColor = s->FHeaderMirrorColor;
    FHeaderMirrorColorTo = s->FHeaderMirrorColorTo;
}

void TSortSettings::SetShow(bool v)
{
    if (FShow == v) return;
    FShow = v;
    if (FGrid) FGrid->Invalidate();
}

void TSortSettings::SetRow(Integer v)
{
    if (FGrid && v >= FGrid->FixedRows()) throw Exception(L"Sort row should be smaller than number of fixed rows");
    FRow = v;
}

void TSortSettings::RepaintHeaderRow()
{
    if (!FGrid || FGrid->FixedRows() <= 0) return;
    const Integer r = FGrid->FixedRows() - 1;
    for (Integer c = 0; c < FGrid->ColCount(); ++c) FGrid->RepaintCell(c, r);
}

void TSortSettings::SetHeader(TColor& Field, TColor v)
{
    if (Field == v) return;
    Field = v;
    RepaintHeaderRow();
}

String TSortSettings::SaveToString() const
{
    if (IndexShow) return L"i;" + (FGrid ? FGrid->SortIndexes()->SaveToString() : String());
    return (Direction == sdDescending ? L"d" : L"u") + IntToStr(Column);
}

void TSortSettings::LoadFromString(const String& Value)
{
    if (Value.empty()) return;
    SetShow(true);
    if (Value.size() < 2) throw Exception(L"Invalid sort settings specifier");
    if (Value.find(L"i;") != String::npos) {
        IndexShow = true;
        const String rest = Value.substr(2);
        if (!rest.empty() && FGrid) {
            FGrid->SortIndexes()->LoadFromString(rest);
            FGrid->QSortIndexed();
        }
        return;
    }
    IndexShow = false;
    Direction = Value.find(L'u') != String::npos ? sdAscending : sdDescending;
    Integer col = 0;
    if (TryStrToInt(Value.substr(1), col)) {
        Column = col;
        if (FGrid) FGrid->QSort();
    }
}

void TSortSettings::Remove()
{
    Column = -1;
    if (!FGrid) return;
    FGrid->SortIndexes()->Clear();
    RepaintHeaderRow();
}

void TSortSettings::ToggleDirection() { Direction = Direction == sdAscending ? sdDescending : sdAscending; }
