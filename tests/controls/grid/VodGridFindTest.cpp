// Finding and replacing in the string grid: the search engine against a
// brute-force walk over small random grids for every walk and option, the
// edges of the walk (no wrap, restrictions, ignored columns, hidden rows in
// nodes), the progress notifications, Replace, the prefix search and the
// multi-column search.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "controls/foundation/VodUtil.h"
#include "controls/grid/VodGrid.h"
#include "controls/markup/VurHTMLE.h"
#include "platform/base/SysUtils.h"
#include "tests/controls/grid/StringGridFixture.h"

namespace {

// Records the progress notifications and whether the search was busy.
class TRecordingGrid : public TVodStringGrid {
public:
    using TVodStringGrid::TVodStringGrid;
    struct TNote {
        TGridExportState State;
        Integer Row;
        bool Busy;
    };
    std::vector<TNote> Notes;
    void ExportNotification(TGridExportState AState, Integer ARow) override
    {
        Notes.push_back({AState, ARow, FindBusy()});
    }
};

using VodGridFind = TStringGridFixture<TRecordingGrid>;

constexpr TPoint kNone{-1, -1};

bool SamePoint(TPoint a, TPoint b) { return a.X == b.X && a.Y == b.Y; }

// The cells of the search range in walk order, as a user would list them:
// row by row or column by column, reversed for a backward search.
std::vector<TPoint> WalkOrder(TVodStringGrid* G, TFindParams P)
{
    Integer c1 = G->FixedCols(), c2 = G->ColCount() - 1 - G->FixedRightCols();
    Integer r1 = G->FixedRows(), r2 = G->RowCount() - 1 - G->FixedFooters();
    if (P.Contains(fnIncludeFixed)) {
        c1 = 0;
        c2 = G->ColCount() - 1;
        r1 = 0;
        r2 = G->RowCount() - 1;
    }
    if (P.Contains(fnSelectedCells)) {
        const TGridRect s = G->Selection();
        c1 = s.Left;
        c2 = s.Right;
        r1 = s.Top;
        r2 = s.Bottom;
    }
    if (P.Contains(fnFindInCurrentRow)) r1 = r2 = G->Row();
    if (P.Contains(fnFindInPresetRow)) r1 = r2 = G->FindRow();
    if (P.Contains(fnFindInCurrentCol)) c1 = c2 = G->Col();
    if (P.Contains(fnFindInPresetCol)) c1 = c2 = G->FindCol();
    std::vector<TPoint> order;
    if (P.Contains(fnDirectionLeftRight)) {
        for (Integer r = r1; r <= r2; ++r)
            for (Integer c = c1; c <= c2; ++c)
                if (!G->IsIgnoredColumn(c)) order.push_back({c, r});
    } else {
        for (Integer c = c1; c <= c2; ++c)
            for (Integer r = r1; r <= r2; ++r) order.push_back({c, r});
    }
    if (P.Contains(fnBackward)) std::reverse(order.begin(), order.end());
    return order;
}

bool OracleMatch(TVodStringGrid* G, TPoint Cell, const String& S, TFindParams P)
{
    String text = G->GetCellEx(Cell.X, Cell.Y);
    if (P.Contains(fnIgnoreHTMLTags)) {
        String plain;
        VurHTMLE::StripMarkup(text, plain);
        text = plain;
    }
    String key = S;
    const bool cs = P.Contains(fnMatchCase);
    if (!cs) {
        text = AnsiUpperCase(text);
        key = AnsiUpperCase(key);
    }
    if (key == L"\"\"") return text.empty();
    if (P.Contains(fnMatchRegular)) return MatchFilterExpr(key, text, cs);
    if (key.empty()) return false;
    const size_t at = text.find(key);
    if (at == String::npos) return false;
    if (P.Contains(fnMatchStart) && at != 0) return false;
    if (P.Contains(fnMatchFull) && text != key) return false;
    return true;
}

// The first match after Start in walk order; a restriction pins the start
// cell onto its row or column.
TPoint OracleFind(TVodStringGrid* G, TPoint Start, const String& S, TFindParams P)
{
    const std::vector<TPoint> order = WalkOrder(G, P);
    size_t from = 0;
    if (!SamePoint(Start, kNone)) {
        if (P.Contains(fnFindInCurrentRow)) Start.Y = G->Row();
        if (P.Contains(fnFindInPresetRow)) Start.Y = G->FindRow();
        if (P.Contains(fnFindInCurrentCol)) Start.X = G->Col();
        if (P.Contains(fnFindInPresetCol)) Start.X = G->FindCol();
        from = order.size();
        for (size_t i = 0; i < order.size(); ++i)
            if (SamePoint(order[i], Start)) from = i + 1;
        // An ignored start column of the row walk: the cell after it.
        if (from == order.size() && G->IsIgnoredColumn(Start.X) && P.Contains(fnDirectionLeftRight)) return kNone;
    }
    for (size_t i = from; i < order.size(); ++i)
        if (OracleMatch(G, order[i], S, P)) return order[i];
    return kNone;
}

}  // namespace

TEST_F(VodGridFind, EngineAgreesWithTheWalkOverRandomGrids)
{
    std::mt19937 rng(20261211);
    const wchar_t* texts[] = {L"", L"a", L"ab", L"Ab", L"ba", L"xAbx", L"<b>a</b>b", L"\"\"", L"b a", L"AB"};
    const wchar_t* keys[] = {L"a", L"ab", L"AB", L"b", L"x", L"\"\"", L"a*", L"*b", L"b a"};
    const TFindParameters options[] = {fnMatchCase,         fnMatchFull,        fnMatchRegular,    fnDirectionLeftRight,
                                       fnMatchStart,        fnFindInCurrentRow, fnFindInCurrentCol, fnIncludeFixed,
                                       fnIgnoreHTMLTags,    fnBackward,         fnFindInPresetCol, fnFindInPresetRow,
                                       fnSelectedCells};
    Grid->SetOptions(Grid->Options() + TGridOptions{goRangeSelect});
    Integer compared = 0, hits = 0;
    for (int round = 0; round < 400; ++round) {
        const Integer cols = 3 + Integer(rng() % 4), rows = 3 + Integer(rng() % 4);
        Grid->SetColCount(cols);
        Grid->SetRowCount(rows);
        Grid->IgnoreColumns()->Clear();
        if (rng() % 3 == 0) Grid->IgnoreColumns()->Add(1 + Integer(rng() % (cols - 1)));
        for (Integer c = 0; c < cols; ++c)
            for (Integer r = 0; r < rows; ++r) Grid->SetCells(c, r, texts[rng() % std::size(texts)]);
        const Integer cc = 1 + Integer(rng() % (cols - 1)), cr = 1 + Integer(rng() % (rows - 1));
        Grid->FocusCell(cc, cr, true);
        const Integer sc = 1 + Integer(rng() % (cols - 1)), sr = 1 + Integer(rng() % (rows - 1));
        Grid->SetSelection(TGridRect{std::min(cc, sc), std::min(cr, sr), std::max(cc, sc), std::max(cr, sr)});
        Grid->SetFindCol(1 + Integer(rng() % (cols - 1)));
        Grid->SetFindRow(1 + Integer(rng() % (rows - 1)));
        TFindParams p;
        for (TFindParameters o : options)
            if (rng() % 4 == 0) p.Include(o);
        const String key = keys[rng() % std::size(keys)];
        // Starts: the first cell of the walk, then each cell of the walk.
        std::vector<TPoint> starts{kNone};
        for (TPoint c : WalkOrder(Grid, p)) starts.push_back(c);
        for (TPoint start : starts) {
            const TPoint want = OracleFind(Grid, start, key, p);
            const TPoint got = Grid->Find(start, key, p);
            ASSERT_TRUE(SamePoint(got, want))
                << "round " << round << " start " << start.X << "," << start.Y << " options " << p.Bits() << " got "
                << got.X << "," << got.Y << " want " << want.X << "," << want.Y;
            if (!p.Contains(fnIgnoreHTMLTags)) {
                const TPoint wide = Grid->FindWide(start, key, p);
                ASSERT_TRUE(SamePoint(wide, want)) << "wide, round " << round;
            }
            ++compared;
            if (got.X != -1) ++hits;
        }
    }
    // Both outcomes were exercised plentifully.
    EXPECT_GT(hits, 200);
    EXPECT_GT(compared - hits, 200);
}

TEST_F(VodGridFind, WalkEdges)
{
    // 5 x 5 with one fixed row and column.
    auto fill = [&] {
        for (Integer c = 0; c < 5; ++c)
            for (Integer r = 0; r < 5; ++r) Grid->SetCells(c, r, L"c" + IntToStr(c) + L"r" + IntToStr(r));
    };
    fill();
    const TFindParams rowWalk{fnDirectionLeftRight};
    // A hit in the last column of a row goes on at the first column of the
    // next; after the last cell of the range nothing (no wrap).
    Grid->SetCells(4, 1, L"k");
    Grid->SetCells(1, 2, L"k");
    EXPECT_TRUE(SamePoint(Grid->FindFirst(L"k", rowWalk), TPoint{4, 1}));
    EXPECT_TRUE(SamePoint(Grid->FindNext(), TPoint{1, 2}));
    EXPECT_TRUE(SamePoint(Grid->FindNext(), kNone));
    EXPECT_TRUE(SamePoint(Grid->SearchCell(), kNone));
    // Backward from nothing starts at the bottom-right cell of the range.
    Grid->SetCells(4, 4, L"k");
    EXPECT_TRUE(SamePoint(Grid->Find(kNone, L"k", TFindParams{fnBackward}), TPoint{4, 4}));
    // Two double quotes find the first empty cell.
    Grid->SetCells(3, 2, L"");
    EXPECT_TRUE(SamePoint(Grid->Find(kNone, L"\"\"", TFindParams{}), TPoint{3, 2}));
    // Start and full matches, case by fnMatchCase.
    Grid->SetCells(2, 3, L"xKey");
    Grid->SetCells(3, 3, L"key");
    EXPECT_TRUE(SamePoint(Grid->Find(kNone, L"KEY", TFindParams{fnMatchStart}), TPoint{3, 3}));
    EXPECT_TRUE(SamePoint(Grid->Find(kNone, L"KEY", TFindParams{fnMatchFull}), TPoint{3, 3}));
    EXPECT_TRUE(SamePoint(Grid->Find(kNone, L"KEY", TFindParams{fnMatchFull, fnMatchCase}), kNone));
    EXPECT_TRUE(SamePoint(Grid->Find(kNone, L"Key", TFindParams{fnMatchCase}), TPoint{2, 3}));
    // Only fixed columns, or no rows below the fixed ones: nothing at once.
    Grid->SetColCount(1);
    EXPECT_TRUE(SamePoint(Grid->Find(kNone, L"c0", TFindParams{}), kNone));
    Grid->SetColCount(5);
    Grid->SetRowCount(1);
    EXPECT_TRUE(SamePoint(Grid->Find(kNone, L"c", TFindParams{}), kNone));
}

TEST_F(VodGridFind, RestrictionsNeverLeaveTheirLineAndFindNextMovesOn)
{
    for (Integer c = 1; c < 5; ++c)
        for (Integer r = 1; r < 5; ++r) Grid->SetCells(c, r, L"k");
    Grid->FocusCell(2, 3, true);
    // The default walk is column by column: with the row pinned FindNext
    // must still step along the row, never test the same cell again.
    std::vector<TPoint> seen;
    for (TPoint p = Grid->FindFirst(L"k", TFindParams{fnFindInCurrentRow}); p.X != -1; p = Grid->FindNext())
        seen.push_back(p);
    ASSERT_EQ(seen.size(), 4u);
    for (size_t i = 0; i < seen.size(); ++i) EXPECT_TRUE(SamePoint(seen[i], TPoint{Integer(i) + 1, 3}));
    // The same for a pinned column in the row walk.
    seen.clear();
    for (TPoint p = Grid->FindFirst(L"k", TFindParams{fnFindInCurrentCol, fnDirectionLeftRight}); p.X != -1;
         p = Grid->FindNext())
        seen.push_back(p);
    ASSERT_EQ(seen.size(), 4u);
    for (size_t i = 0; i < seen.size(); ++i) EXPECT_TRUE(SamePoint(seen[i], TPoint{2, Integer(i) + 1}));
    // A start cell in another row still searches the current row only.
    EXPECT_EQ(Grid->Find(TPoint{1, 1}, L"k", TFindParams{fnFindInCurrentRow}).Y, 3);
}

TEST_F(VodGridFind, IgnoredColumnsCountOnlyInTheRowWalk)
{
    Grid->SetCells(2, 2, L"only");
    Grid->IgnoreColumns()->Add(2);
    EXPECT_TRUE(SamePoint(Grid->Find(kNone, L"only", TFindParams{fnDirectionLeftRight}), kNone));
    EXPECT_TRUE(SamePoint(Grid->Find(kNone, L"only", TFindParams{}), TPoint{2, 2}));
}

TEST_F(VodGridFind, NotificationsBusyFlagAndCaches)
{
    Grid->SetCells(2, 2, L"hit");
    Grid->FocusCell(1, 3, true);
    Grid->Notes.clear();
    EXPECT_FALSE(Grid->FindBusy());
    Grid->Find(kNone, L"hit", TFindParams{});
    ASSERT_GE(Grid->Notes.size(), 3u);
    EXPECT_EQ(Grid->Notes.front().State, esExportStart);
    EXPECT_EQ(Grid->Notes.front().Row, -1);
    EXPECT_FALSE(Grid->Notes.front().Busy);
    // Column walk: column 1 rows 1-4, then column 2 rows 1-2.
    std::vector<Integer> rows;
    for (size_t i = 1; i + 1 < Grid->Notes.size(); ++i) {
        EXPECT_EQ(Grid->Notes[i].State, esExportFindRow);
        EXPECT_TRUE(Grid->Notes[i].Busy);
        rows.push_back(Grid->Notes[i].Row);
    }
    EXPECT_EQ(rows, (std::vector<Integer>{1, 2, 3, 4, 1, 2}));
    EXPECT_EQ(Grid->Notes.back().State, esExportFail);   // found
    EXPECT_FALSE(Grid->FindBusy());
    EXPECT_EQ(Grid->SearchCache, L"HIT");
    EXPECT_EQ(Grid->SearchCacheWide, L"");

    // Not found: the start row is told once more, then done.
    Grid->Notes.clear();
    Grid->Find(kNone, L"absent", TFindParams{fnMatchCase});
    ASSERT_GE(Grid->Notes.size(), 3u);
    EXPECT_EQ(Grid->Notes[Grid->Notes.size() - 2].Row, 3);
    EXPECT_EQ(Grid->Notes.back().State, esExportDone);
    EXPECT_EQ(Grid->SearchCache, L"absent");
    // A start cell other than none tells no start.
    Grid->Notes.clear();
    Grid->Find(TPoint{1, 1}, L"hit", TFindParams{});
    EXPECT_NE(Grid->Notes.front().State, esExportStart);
    // The wide search always tells the start and keeps the wide cache.
    Grid->Notes.clear();
    Grid->FindWide(TPoint{1, 1}, L"hit", TFindParams{});
    EXPECT_EQ(Grid->Notes.front().State, esExportStart);
    EXPECT_EQ(Grid->SearchCache, L"");
    EXPECT_EQ(Grid->SearchCacheWide, L"HIT");
}

TEST_F(VodGridFind, WideRegularSearchMatchesTheExpressionOverTheCellText)
{
    Grid->SetCells(3, 2, L"alpha");
    EXPECT_TRUE(SamePoint(Grid->FindWide(kNone, L"al*", TFindParams{fnMatchRegular}), TPoint{3, 2}));
    EXPECT_TRUE(SamePoint(Grid->FindWide(kNone, L"zz*", TFindParams{fnMatchRegular}), kNone));
}

TEST_F(VodGridFind, AutoGotoMovesTheCurrentCellAndOpensTheNodeOfAHiddenRow)
{
    Grid->SetRowCount(8);
    for (Integer r = 1; r < 8; ++r) Grid->SetCells(2, r, L"row" + IntToStr(r));
    Grid->Find(kNone, L"row5", TFindParams{fnAutoGoto});
    EXPECT_EQ(Grid->Row(), 5);
    EXPECT_EQ(Grid->Col(), 2);
    // A node over rows 1..7, contracted: row 6 lives among the hidden rows.
    Grid->AddNode(1, 7);
    Grid->ContractNode(1);
    ASSERT_GT(Grid->NumHiddenRows(), 0);
    EXPECT_TRUE(SamePoint(Grid->Find(kNone, L"row6", TFindParams{fnAutoGoto}), kNone));
    const TPoint hit = Grid->Find(kNone, L"row6", TFindParams{fnAutoGoto, fnIncludeHiddenRows});
    EXPECT_TRUE(SamePoint(hit, TPoint{2, 6}));
    EXPECT_EQ(Grid->NumHiddenRows(), 0);
    EXPECT_EQ(Grid->Row(), 6);
    EXPECT_EQ(Grid->Cells(2, Grid->Row()), L"row6");
}

TEST_F(VodGridFind, ReplaceChangesOnlyWhatTheOptionsMatch)
{
    struct TCase {
        const wchar_t* Cell;
        const wchar_t* Orig;
        const wchar_t* New;
        TFindParams Params;
        const wchar_t* Result;
    };
    const TCase cases[] = {
        {L"a A a", L"a", L"b", TFindParams{}, L"b b b"},
        {L"a A a", L"a", L"b", TFindParams{fnMatchCase}, L"b A b"},
        {L"aXa", L"a", L"b", TFindParams{fnMatchStart}, L"bXa"},
        {L"<a href=\"a\">a</a>", L"a", L"z", TFindParams{fnIgnoreHTMLTags}, L"<a href=\"a\">z</a>"},
        {L"<b>ab</b>", L"ab", L"Q", TFindParams{fnIgnoreHTMLTags, fnMatchFull}, L"<b>Q</b>"},
        {L"abc", L"a*", L"whole", TFindParams{fnMatchRegular}, L"whole"},
        // The new text holding the old one: each cell is visited once.
        {L"a", L"a", L"aa", TFindParams{}, L"aa"},
    };
    for (const TCase& t : cases) {
        for (Integer c = 1; c < 5; ++c)
            for (Integer r = 1; r < 5; ++r) Grid->SetCells(c, r, L"-");
        Grid->SetCells(2, 2, t.Cell);
        Grid->SetCells(3, 4, t.Cell);
        EXPECT_EQ(Grid->Replace(t.Orig, t.New, t.Params), 2) << t.Cell << " " << t.Orig;
        EXPECT_EQ(Grid->Cells(2, 2), t.Result) << t.Cell << " " << t.Orig;
        EXPECT_EQ(Grid->Cells(3, 4), t.Result);
    }
    // A cell whose match the options exclude from replacing is not counted.
    Grid->SetCells(2, 2, L"A");
    Grid->SetCells(3, 4, L"-");
    EXPECT_EQ(Grid->Replace(L"a", L"b", TFindParams{}), 1);
    EXPECT_EQ(Grid->Replace(L"a", L"b", TFindParams{fnMatchCase}), 0);
    // Modified rows are marked when ShowModified is on.
    Grid->ShowModified()->SetEnabled(true);
    Grid->SetCells(1, 3, L"old");
    EXPECT_EQ(Grid->Replace(L"old", L"new", TFindParams{}), 1);
    EXPECT_TRUE(Grid->GetRowModified(3));
}

TEST_F(VodGridFind, PrefixSearchDownTheSortColumn)
{
    Grid->SetCells(1, 1, L"Apple");
    Grid->SetCells(1, 2, L"<b>Banana</b>");
    Grid->SetCells(3, 3, L"Cherry");
    EXPECT_EQ(Grid->Search(L"BAN"), 2);
    EXPECT_EQ(Grid->Search(L"ban"), -1);   // the caller upper-cases
    EXPECT_EQ(Grid->Search(L"CH"), -1);
    Grid->SortSettings()->SetShow(true);
    Grid->SortSettings()->Column = 3;
    EXPECT_EQ(Grid->Search(L"CH"), 3);
    Grid->SortSettings()->IndexShow = true;
    Grid->SortIndexes()->AddIndex(3, false);
    EXPECT_EQ(Grid->Search(L"CH"), 3);
    Grid->SortSettings()->Column = -1;
    Grid->SortSettings()->IndexShow = false;
    EXPECT_EQ(Grid->Search(L"CH"), -1);
}

TEST_F(VodGridFind, MultiColumnConditions)
{
    const wchar_t* names[] = {L"anna smith", L"bob", L"anna", L"carl"};
    const wchar_t* towns[] = {L"Oslo", L"Rome", L"Rome", L"Oslo"};
    for (Integer r = 1; r < 5; ++r) {
        Grid->SetCells(1, r, names[r - 1]);
        Grid->SetCells(2, r, towns[r - 1]);
    }
    try {
        Grid->FindMulti({L"a"}, {1, 2}, {stEqual}, {false}, false);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"Array size of parameters not matching");
    }
    EXPECT_EQ(Grid->FindMulti({L"anna", L"rome"}, {1, 2}, {stStartsWith, stEqual}, {false, false}, false), 3);
    EXPECT_EQ(Grid->FindMultiNext(), -1);
    // A condition with a blank is quoted; the row becomes current on request.
    EXPECT_EQ(Grid->FindMulti({L"anna smith"}, {1}, {stEqual}, {false}, true), 1);
    EXPECT_EQ(Grid->Row(), 1);
    EXPECT_EQ(Grid->FindMulti({L"Oslo"}, {2}, {stNotEqual}, {true}, false), 2);
    EXPECT_EQ(Grid->FindMultiNext(), 3);
    EXPECT_EQ(Grid->FindMultiNext(), -1);
    EXPECT_EQ(Grid->FindMulti({L"n"}, {1}, {stNotContains}, {false}, false), 2);
    EXPECT_EQ(Grid->FindMulti({L"l"}, {1}, {stEndsWith}, {false}, false), 4);
    EXPECT_EQ(Grid->FindMulti({L"OB"}, {1}, {stContains}, {true}, false), -1);
    EXPECT_EQ(Grid->FindMulti({L"OB"}, {1}, {stContains}, {false}, false), 2);
    EXPECT_EQ(Grid->SearchCell().X, 0);
}
