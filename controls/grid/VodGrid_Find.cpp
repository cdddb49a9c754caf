// Finding cells by their text: one search engine that walks the cells row by
// row or column by column under a set of options and stops at the first
// match, the layers over it (Find, FindWide, FindFirst, FindNext, Replace),
// the prefix search down the sorted column and the multi-column search by
// filter conditions.
#include <algorithm>

#include "controls/foundation/VodUtil.h"
#include "controls/grid/VodGrid.h"
#include "controls/markup/VurHTMLE.h"
#include "platform/base/SysUtils.h"

namespace {

constexpr TPoint kNoCell{-1, -1};

bool IsNoCell(TPoint P) { return P.X == -1 && P.Y == -1; }

// Upper-cases Source into Target, reusing Target's storage.
void UpperInto(const String& Source, String& Target)
{
    Target.resize(Source.size());
    for (size_t i = 0; i < Source.size(); ++i) Target[i] = AnsiUpperChar(Source[i]);
}

bool IsTwoQuotes(const String& S) { return S == L"\"\""; }

// Whether Text[At..] starts with Sub, case per CaseSensitive.
bool MatchesAt(const String& Text, size_t At, const String& Sub, bool CaseSensitive)
{
    if (At + Sub.size() > Text.size()) return false;
    for (size_t i = 0; i < Sub.size(); ++i) {
        const Char a = Text[At + i], b = Sub[i];
        if (a == b) continue;
        if (CaseSensitive || AnsiUpperChar(a) != AnsiUpperChar(b)) return false;
    }
    return true;
}

// Replaces the occurrences of Orig in Text that a search with these options
// would have matched: case per fnMatchCase; with fnIgnoreHTMLTags never
// inside a markup tag; with fnMatchStart only an occurrence that begins the
// visible text.
String ReplaceMatches(const String& Text, const String& Orig, const String& New, TFindParams P)
{
    if (Orig.empty()) return Text;
    const bool cs = P.Contains(fnMatchCase);
    const bool tags = P.Contains(fnIgnoreHTMLTags);
    const bool startOnly = P.Contains(fnMatchStart);
    String out;
    out.reserve(Text.size());
    bool seenText = false;
    size_t i = 0;
    while (i < Text.size()) {
        if (tags && Text[i] == L'<') {
            const size_t close = Text.find(L'>', i);
            if (close != String::npos) {
                out.append(Text, i, close - i + 1);
                i = close + 1;
                continue;
            }
        }
        if ((!startOnly || !seenText) && MatchesAt(Text, i, Orig, cs)) {
            out += New;
            i += Orig.size();
            seenText = true;
            continue;
        }
        out += Text[i++];
        seenText = true;
    }
    return out;
}

}  // namespace

// ---------------------------------------------------------------------------
// The cell test

bool TVodStringGrid::FindCellMatches(Integer ACol, Integer ARow, TFindParams P, bool Wide)
{
    const Integer c = P.Contains(fnIncludeHiddenColumns) ? ACol : RealColIndex(ACol);
    const bool matchCase = P.Contains(fnMatchCase);
    String text;
    if (Wide) {
        text = GetWideCells(c, ARow);
    } else {
        text = P.Contains(fnIncludeHiddenRows) ? AllCells(c, ARow) : GetCellEx(c, ARow);
        if (P.Contains(fnIgnoreHTMLTags)) {
            String plain;
            VurHTMLE::StripMarkup(text, plain);
            text.swap(plain);
        }
    }
    const String* cell = &text;
    if (!matchCase) {
        UpperInto(text, FFindBuffer);
        cell = &FFindBuffer;
    }
    const String& key = Wide ? SearchCacheWide : SearchCache;
    if (IsTwoQuotes(SearchCache) || (SearchCache.empty() && IsTwoQuotes(SearchCacheWide))) return cell->empty();
    if (P.Contains(fnMatchRegular)) return MatchFilterExpr(key, *cell, matchCase);
    if (key.empty()) return false;
    const size_t at = cell->find(key);
    if (at == String::npos) return false;
    if (P.Contains(fnMatchStart) && at != 0) return false;
    if (P.Contains(fnMatchFull) && *cell != key) return false;
    return true;
}

// ---------------------------------------------------------------------------
// The search engine

TPoint TVodStringGrid::FindEngine(TPoint StartCell, const String& S, TFindParams P, bool Wide)
{
    TPoint result = kNoCell;
    const Integer startRow = Row();
    FFindParams = P;
    FFindBusy = true;
    struct TBusy {
        bool& Flag;
        ~TBusy() { Flag = false; }
    } busy{FFindBusy};
    const String key = P.Contains(fnMatchCase) ? S : AnsiUpperCase(S);
    SearchCache = Wide ? String() : key;
    SearchCacheWide = Wide ? key : String();

    if (ColCount() == FixedCols() || ColCount() == 0 || RowCount() + NumHiddenRows() == FixedRows() ||
        RowCount() == 0)
        return result;

    // Bounds.
    Integer c1, c2, r1, r2;
    if (P.Contains(fnIncludeFixed)) {
        c1 = 0;
        c2 = ColCount() - 1;
        r1 = 0;
        r2 = RowCount() - 1;
    } else {
        c1 = FixedCols();
        c2 = ColCount() - 1 - FFixedRightCols;
        r1 = FixedRows();
        r2 = RowCount() - 1 - FFixedFooters;
    }
    if (P.Contains(fnSelectedCells)) {
        const TGridRect s = Selection();
        c1 = s.Left;
        r1 = s.Top;
        c2 = s.Right;
        r2 = s.Bottom;
    }
    if (P.Contains(fnIncludeHiddenColumns)) c2 += NumHiddenColumns();
    if (P.Contains(fnIncludeHiddenRows)) r2 += NumHiddenRows();

    const bool back = P.Contains(fnBackward);
    const bool rowWalk = P.Contains(fnDirectionLeftRight);
    const bool pinRow = P.Contains(fnFindInCurrentRow) || P.Contains(fnFindInPresetRow);
    const bool pinCol = P.Contains(fnFindInCurrentCol) || P.Contains(fnFindInPresetCol);

    // The start cell. A restriction pins one axis; the step from a given
    // start cell then moves along the other one, or the walk would test the
    // start cell again and never get past it.
    Integer sc, sr;
    if (IsNoCell(StartCell)) {
        sc = back ? c2 : c1;
        sr = back ? r2 : r1;
    } else {
        // A one-cell range: after the start cell there is nothing.
        if (pinRow && pinCol) {
            ExportNotification(esExportFindRow, startRow);
            return result;
        }
        sc = StartCell.X;
        sr = StartCell.Y;
        const bool stepCols = (rowWalk && !pinCol) || (!rowWalk && pinRow);
        if (stepCols) {
            if (back) {
                if (sc >= c1) --sc;
                else if (sr >= r1) --sr;
                else { sc = c2; sr = r2; }
            } else {
                if (sc <= c2) ++sc;
                else if (sr <= r2) ++sr;
                else { sc = c1; sr = r1; }
            }
        } else {
            if (back) {
                if (sr >= r1) --sr;
                else if (sc >= c1) --sc;
                else { sc = c2; sr = r2; }
            } else {
                if (sr <= r2) ++sr;
                else if (sc <= c2) ++sc;
                else { sc = c1; sr = r1; }
            }
        }
    }

    // Restrictions override the start and the bounds.
    if (P.Contains(fnFindInCurrentRow)) sr = r1 = r2 = Row();
    if (P.Contains(fnFindInPresetRow)) sr = r1 = r2 = FFindRow;
    if (P.Contains(fnFindInCurrentCol)) sc = c1 = c2 = Col();
    if (P.Contains(fnFindInPresetCol)) sc = c1 = c2 = FFindCol;

    const Integer step = back ? -1 : 1;
    bool found = false;
    if (rowWalk) {
        Integer c = sc;
        for (Integer r = sr; r >= r1 && r <= r2 && !found; r += step) {
            for (; c >= c1 && c <= c2; c += step) {
                ExportNotification(esExportFindRow, r);
                if (IsIgnoredColumn(c)) continue;
                if (FindCellMatches(c, r, P, Wide)) {
                    result = TPoint{c, r};
                    found = true;
                    break;
                }
            }
            // The next row starts at the range's first column (the current
            // column when the walk keeps to it; the preset one when both are
            // asked, as the preset wins).
            c = back ? c2 : c1;
        }
    } else {
        Integer r = sr;
        for (Integer c = sc; c >= c1 && c <= c2 && !found; c += step) {
            for (; r >= r1 && r <= r2; r += step) {
                ExportNotification(esExportFindRow, r);
                if (FindCellMatches(c, r, P, Wide)) {
                    result = TPoint{c, r};
                    found = true;
                    break;
                }
            }
            r = back ? r2 : r1;
        }
    }

    if (!found) {
        ExportNotification(esExportFindRow, startRow);
        return result;
    }
    FSearchCell = result;
    if (P.Contains(fnAutoGoto)) {
        Integer showRow = result.Y;
        if (P.Contains(fnIncludeHiddenRows)) {
            if (NumHiddenRows() > 0 && IsHiddenRow(result.Y) && HasNodes()) {
                // Open the node that holds the hidden row.
                Integer total = FixedRows();
                Integer node = RowCount() - 1;
                for (Integer d = FixedRows(); d < RowCount(); ++d) {
                    if (IsNode(d)) total += GetNodeSpan(d);
                    if (result.Y <= total) {
                        node = d;
                        break;
                    }
                }
                ExpandNode(RealRowIndex(node));
            }
            showRow = DisplRowIndex(result.Y);
        }
        showRow = std::clamp(showRow, 0, RowCount() - 1);
        if (FMouseActions->DisjunctRowSelect()) {
            ResetRowSelection();
            SetRowSelect(showRow, true);
            SetRow(showRow);
        } else {
            SetRow(showRow);
            SetCol(std::min(result.X, ColCount() - 1));
        }
    }
    return result;
}

// ---------------------------------------------------------------------------
// The layers over the engine

TPoint TVodStringGrid::Find(TPoint StartCell, const String& S, TFindParams FindParams)
{
    if (IsNoCell(StartCell)) ExportNotification(esExportStart, -1);
    TPoint result;
    BeginUpdate();
    try {
        result = FindEngine(StartCell, S, FindParams, false);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    if (result.X != -1 && FindParams.Contains(fnAutoGoto)) {
        if (FMouseActions->DisjunctCellSelect()) SelectCells(Col(), Row(), Col(), Row());
        // Keeps the found row off the last visible line.
        const Integer m = FFloatingFooter->Visible() ? 2 : 0;
        const Integer visible = VisibleRowCount();
        if (TopRow() + visible - 2 - m < Row() && visible + FixedRows() + m < RowCount())
            SetTopRow(std::min(TopRow() + 1 + m, RowCount() - 1));
    }
    ExportNotification(result.X == -1 ? esExportDone : esExportFail, -1);
    return result;
}

TPoint TVodStringGrid::FindWide(TPoint StartCell, const String& S, TFindParams FindParams)
{
    ExportNotification(esExportStart, -1);
    const TPoint result = FindEngine(StartCell, S, FindParams, true);
    ExportNotification(result.X == -1 ? esExportDone : esExportFail, -1);
    return result;
}

TPoint TVodStringGrid::FindFirst(const String& S, TFindParams FindParams)
{
    FSearchCell = Find(kNoCell, S, FindParams);
    return FSearchCell;
}

TPoint TVodStringGrid::FindNext()
{
    FSearchCell = Find(FSearchCell, SearchCache, FFindParams);
    return FSearchCell;
}

Integer TVodStringGrid::Replace(const String& OrigStr, const String& NewStr, TFindParams FindParams)
{
    Integer count = 0;
    TPoint start = kNoCell;
    for (;;) {
        start = Find(start, OrigStr, FindParams);
        if (start.X == -1) break;
        const Integer c = FindParams.Contains(fnIncludeHiddenColumns) ? start.X : RealColIndex(start.X);
        const bool hiddenRows = FindParams.Contains(fnIncludeHiddenRows);
        const String old = hiddenRows ? AllCells(c, start.Y) : GetCellEx(c, start.Y);
        // A filter expression matched the cell as a whole: the cell becomes
        // the new text. Otherwise only what the options matched changes.
        const String now =
            FindParams.Contains(fnMatchRegular) ? NewStr : ReplaceMatches(old, OrigStr, NewStr, FindParams);
        if (now == old) continue;
        if (hiddenRows) SetAllCells(c, start.Y, now);
        else SetCellEx(c, start.Y, now);
        if (FShowModified->Enabled()) SetRowModified(hiddenRows ? start.Y : RealRowIndex(start.Y), true);
        ++count;
    }
    return count;
}

// ---------------------------------------------------------------------------
// Prefix search down the sorted column

Integer TVodStringGrid::Search(const String& S)
{
    if (RowCount() < 2) return -1;
    Integer col = FixedCols();
    if (FSortSettings->Show()) {
        if (FSortSettings->IndexShow) {
            TSortIndexList* l = SortIndexes();
            col = l && l->Count() > 0 ? l->GetSortColumns(0) : FixedCols();
        } else {
            col = FSortSettings->Column;
        }
    }
    if (col == -1) return -1;
    for (Integer r = FixedRows(); r < RowCount(); ++r) {
        const String cut = GetStrippedCell(col, r).substr(0, S.size());
        if (AnsiUpperCase(cut) == S) return r;
    }
    return -1;
}

// ---------------------------------------------------------------------------
// Multi-column search by filter conditions

bool TVodStringGrid::MultiRowMatches(Integer ARow)
{
    for (size_t i = 0; i < FConditions.size(); ++i)
        if (!MatchFilterTerm(FConditions[i], GetCellEx(FColumns[i], ARow), FCase[i])) return false;
    return true;
}

Integer TVodStringGrid::FindMulti(const std::vector<String>& Conditions, const std::vector<Integer>& Columns,
                                  const std::vector<TSearchType>& SearchTypes, const std::vector<bool>& CaseSensitive,
                                  bool AutoGoto)
{
    const size_t n = Conditions.size();
    if (Columns.size() != n || SearchTypes.size() != n || CaseSensitive.size() != n)
        throw Exception(L"Array size of parameters not matching");
    FConditions.clear();
    for (size_t i = 0; i < n; ++i) {
        String t = Conditions[i];
        if (t.find(L' ') != String::npos) t = L"\"" + t + L"\"";
        switch (SearchTypes[i]) {
        case stStartsWith: t += L"*"; break;
        case stEndsWith: t = L"*" + t; break;
        case stContains: t = L"*" + t + L"*"; break;
        case stEqual: break;
        case stNotEqual: t = L"!" + t; break;
        case stNotContains: t = L"!*" + t + L"*"; break;
        }
        FConditions.push_back(t);
    }
    FColumns = Columns;
    FCase = CaseSensitive;
    FSearchCell = TPoint{0, -1};
    for (Integer r = FixedRows(); r <= RowCount() - FFixedFooters - 1; ++r) {
        if (!MultiRowMatches(r)) continue;
        FSearchCell = TPoint{0, r};
        if (AutoGoto) SetRow(r);
        return r;
    }
    return -1;
}

Integer TVodStringGrid::FindMultiNext()
{
    for (Integer r = std::max(FSearchCell.Y + 1, FixedRows()); r <= RowCount() - FFixedFooters - 1; ++r) {
        if (!MultiRowMatches(r)) continue;
        FSearchCell = TPoint{0, r};
        return r;
    }
    return -1;
}
