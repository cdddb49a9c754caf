// Row sorting and the sort settings: the comparison over its styles under
// two locales, blank placement, the one-sided automatic style, sort
// outcomes (Full, indexed, single column, column 0 kept, unsort), a
// randomised order check, restoring after a throwing handler, the moving
// pivot of virtual cells, and the sort specifier.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <stdexcept>

#include "GridRowsSupport.h"
#include "controls/grid/GridFooter.h"

namespace {

class VodGridSort : public GridRowsFixture {
protected:
    // Column 1 of rows 1..n holds the texts; column 0 names the row.
    void SetRows(const std::vector<String>& texts, Integer col = 1)
    {
        Grid->SetRowCount(Integer(texts.size()) + 1);
        Grid->SetFixedRows(1);
        for (size_t i = 0; i < texts.size(); ++i) {
            Grid->SetCells(0, Integer(i) + 1, L"r" + IntToStr(Integer(i)));
            Grid->SetCells(col, Integer(i) + 1, texts[i]);
        }
    }
    std::vector<String> Col(Integer c)
    {
        std::vector<String> v;
        for (Integer r = Grid->FixedRows(); r < Grid->RowCount(); ++r) v.push_back(Grid->Cells(c, r));
        return v;
    }
    Integer Cmp(const String& a, const String& b, TSortStyle st, TSortDirection d = sdAscending)
    {
        Grid->SetCells(1, 1, a);
        Grid->SetCells(1, 2, b);
        Grid->SortSettings()->AutoFormat = st == ssAutomatic;
        Grid->SortSettings()->DefaultFormat = st;
        return Grid->CompareCells(1, 1, 2, d);
    }
};

TFormatSettings CommaLocale()
{
    TFormatSettings fs = DefaultFormatSettings();
    fs.DecimalSeparator = L',';
    fs.ThousandSeparator = L'.';
    fs.DateSeparator = L'.';
    fs.ShortDateFormat = L"dd.MM.yyyy";
    return fs;
}

struct CmpCase {
    const wchar_t* a;
    const wchar_t* b;
    TSortStyle style;
    const wchar_t* prefix;
    const wchar_t* suffix;
    Integer dotLocale, commaLocale;
};

}  // namespace

TEST_F(VodGridSort, ComparisonTableOverStylesInTwoLocales)
{
    const CmpCase cases[] = {
        {L"9", L"10", ssNumeric, L"", L"", -1, -1},
        {L"10", L"9", ssAlphabetic, L"", L"", -1, -1},
        {L"abc", L"ABD", ssAlphaNoCase, L"", L"", -1, -1},
        {L"abc", L"ABD", ssAlphabetic, L"", L"", 1, 1},
        {L"$12", L"$9", ssNumeric, L"$", L"", 1, 1},
        {L"12 kg", L"9 kg", ssNumeric, L"", L" kg", 1, 1},
        // Partly read texts keep the value read so far and count as failed.
        {L"12abc", L"9", ssNumeric, L"", L"", 1, 1},
        {L"abc", L"xyz", ssNumeric, L"", L"", 0, 0},
        // Thousands dropped only for financial: 1.234,5 in the comma locale.
        {L"1.234,5", L"999", ssFinancial, L"", L"", -1, 1},
        {L"1,234.5", L"999", ssFinancial, L"", L"", 1, -1},
        {L"1,5", L"1,25", ssNumeric, L"", L"", 0, 1},  // both fail in the dot locale
        {L"2.5", L"10", ssNumeric, L"", L"", -1, -1},
        // Day-month-year against month-day-year.
        {L"02/01/2020", L"01/02/2020", ssShortDateEU, L"", L"", -1, -1},
        {L"02/01/2020", L"01/02/2020", ssShortDateUS, L"", L"", 1, 1},
        {L"31-12-99", L"01-01-00", ssShortDateEU, L"", L"", -1, -1},
        {L"item2", L"item10", ssNatural, L"", L"", -1, -1},
        {L"10", L"9", ssAlphaNumeric, L"", L"", 1, 1},
        {L"b", L"A", ssAlphaNumericNoCase, L"", L"", 1, 1},
        {L"<b>z</b>", L"a", ssHTML, L"", L"", 1, 1},
    };
    for (int loc = 0; loc < 2; ++loc) {
        TFormatSettingsScope scope(loc == 0 ? DefaultFormatSettings() : CommaLocale());
        for (const auto& c : cases) {
            Grid->OnGetFormat = [&](TObject*, Integer, TSortStyle&, String& p, String& s) {
                p = c.prefix;
                s = c.suffix;
            };
            EXPECT_EQ(Cmp(c.a, c.b, c.style), loc == 0 ? c.dotLocale : c.commaLocale)
                << (loc ? "comma " : "dot ") << String(c.a) << L" vs " << String(c.b) << " style " << c.style;
        }
    }
}

TEST_F(VodGridSort, NumbersEmptyCellIsZeroAndDatesUseTheLocale)
{
    EXPECT_EQ(Cmp(L"", L"-1", ssNumeric), 1);
    EXPECT_EQ(Cmp(L"", L"1", ssNumeric), -1);
    TFormatSettingsScope scope(CommaLocale());
    EXPECT_EQ(Cmp(L"02.01.2020", L"01.02.2020", ssDate), -1);
    EXPECT_EQ(Cmp(L"", L"01.02.2020", ssDate), -1);
}

TEST_F(VodGridSort, BlankPlacementTable)
{
    Grid->SortSettings()->IgnoreBlanks = true;
    struct {
        TSortDirection d;
        TSortBlankPosition b;
        Integer s1Empty, s2Empty;
    } rows[] = {{sdAscending, blFirst, -1, 1}, {sdAscending, blLast, 1, -1}, {sdDescending, blFirst, 1, -1},
                {sdDescending, blLast, -1, 1}};
    for (const auto& r : rows) {
        Grid->SortSettings()->BlankPos = r.b;
        EXPECT_EQ(Cmp(L"", L"5", ssNumeric, r.d), r.s1Empty);
        EXPECT_EQ(Cmp(L"5", L"", ssNumeric, r.d), r.s2Empty);
        EXPECT_EQ(Cmp(L"", L"", ssNumeric, r.d), 0);
    }
}

TEST_F(VodGridSort, AutomaticStyleIsDecidedByTheFirstTextAlone)
{
    // Number first: "x" reads as 0, so 10 > x. Word first: ordinal, "x" > "10".
    EXPECT_EQ(Cmp(L"10", L"x", ssAutomatic), 1);
    EXPECT_EQ(Cmp(L"x", L"10", ssAutomatic), 1);
    EXPECT_EQ(Cmp(L"10", L"9", ssAutomatic), 1);
    EXPECT_EQ(Cmp(L"10/01/2020", L"9/01/2020", ssAutomatic), 1);  // as dates, not as text
    EXPECT_EQ(Cmp(L"9:30", L"10:00", ssAutomatic), -1);              // as times
}

TEST_F(VodGridSort, SortOutcomes)
{
    Grid->SetColCount(4);
    SetRows({L"b", L"a", L"b", L"a", L"c"});
    const String second[] = {L"2", L"9", L"1", L"3", L"0"};
    for (Integer r = 1; r <= 5; ++r) Grid->SetCells(2, r, second[r - 1]);

    Grid->Sort(1, sdAscending);  // Full: ties by column 2
    EXPECT_EQ(Col(1), (std::vector<String>{L"a", L"a", L"b", L"b", L"c"}));
    EXPECT_EQ(Col(2), (std::vector<String>{L"3", L"9", L"1", L"2", L"0"}));
    EXPECT_EQ(Grid->RowCount(), 6);

    Grid->Sort(1, sdDescending);
    EXPECT_EQ(Col(1), (std::vector<String>{L"c", L"b", L"b", L"a", L"a"}));
    EXPECT_EQ(Col(2), (std::vector<String>{L"0", L"2", L"1", L"9", L"3"}));

    // Indexed: column 1 ascending, then column 2 descending.
    Grid->SortIndexes()->Clear();
    Grid->SortIndexes()->AddIndex(1, true);
    Grid->SortIndexes()->AddIndex(2, false);
    Grid->QSortIndexed();
    EXPECT_EQ(Col(2), (std::vector<String>{L"9", L"3", L"2", L"1", L"0"}));

    // Unsort after several sorts: the order from before the first.
    Grid->QUnSort();
    EXPECT_EQ(Col(0), (std::vector<String>{L"r0", L"r1", L"r2", L"r3", L"r4"}));

    Grid->SortIndexes()->Clear();
    EXPECT_THROW(Grid->QSortIndexed(), EVodGridError);
}

TEST_F(VodGridSort, UnsortAfterAddingARowRestoresOnlyTheSortsSince)
{
    SetRows({L"c", L"a", L"b"});
    Grid->Sort(1, sdAscending);
    Grid->AddRow();
    Grid->SetCells(1, 4, L"d");
    Grid->SetCells(0, 4, L"new");
    Grid->Sort(1, sdDescending);
    Grid->QUnSort();
    EXPECT_EQ(Col(1), (std::vector<String>{L"a", L"b", L"c", L"d"}));
}

TEST_F(VodGridSort, SingleColumnAndNormalCellsOnly)
{
    Grid->SetColCount(3);
    SetRows({L"3", L"1", L"2"});
    Grid->SortSettings()->SingleColumn = true;
    Grid->Sort(1, sdAscending);
    EXPECT_EQ(Col(1), (std::vector<String>{L"1", L"2", L"3"}));
    EXPECT_EQ(Col(0), (std::vector<String>{L"r0", L"r1", L"r2"}));

    Grid->SortSettings()->SingleColumn = false;
    Grid->SetFixedCols(2);
    for (Integer r = 1; r <= 3; ++r) Grid->SetCells(2, r, L"x" + Grid->Cells(1, r));
    Grid->SortSettings()->NormalCellsOnly = true;
    Grid->Sort(1, sdDescending);
    EXPECT_EQ(Col(0), (std::vector<String>{L"r0", L"r1", L"r2"}));  // column 0 stays
    EXPECT_EQ(Col(2), (std::vector<String>{L"x3", L"x2", L"x1"}));  // the others move
}

TEST_F(VodGridSort, RandomTextsEndOrderedAndRowsStayWhole)
{
    std::mt19937 rng(7);
    std::vector<String> texts;
    for (int i = 0; i < 300; ++i) texts.push_back(IntToStr(Integer(rng() % 50)));
    Grid->SetColCount(4);
    SetRows(texts);
    for (Integer r = 1; r <= 300; ++r) Grid->SetCells(3, r, L"v" + Grid->Cells(1, r));
    Grid->HideColumn(3);
    Grid->SortSettings()->AutoFormat = false;
    Grid->SortSettings()->DefaultFormat = ssNumeric;
    for (auto dir : {sdAscending, sdDescending}) {
        Grid->Sort(1, dir);
        const auto v = Col(1);
        for (size_t i = 1; i < v.size(); ++i) {
            const Integer a = StrToInt(v[i - 1]), b = StrToInt(v[i]);
            EXPECT_TRUE(dir == sdAscending ? a <= b : a >= b);
        }
        // The hidden column moved with its rows.
        for (Integer r = 1; r <= 300; ++r) ASSERT_EQ(Grid->Cells(3, r), L"v" + Grid->Cells(1, r));
    }
}

TEST_F(VodGridSort, AThrowingCompareHandlerLeavesTheGridRestored)
{
    Grid->SetColCount(3);
    SetRows({L"c", L"a", L"b", L"d"});
    Grid->SetFixedCols(1);
    Grid->SortSettings()->NormalCellsOnly = true;
    Grid->SortSettings()->AutoFormat = false;
    Grid->SortSettings()->DefaultFormat = ssCustom;
    Grid->FloatingFooter()->SetVisible(true);
    const Integer w = Grid->ColWidths(2), cols = Grid->ColCount(), rows = Grid->RowCount();
    int calls = 0;
    Grid->OnCustomCompare = [&](TObject*, const String& a, const String& b, Integer& r) {
        if (++calls == 3) throw std::runtime_error("boom");
        r = a < b ? -1 : a > b ? 1 : 0;
    };
    EXPECT_THROW(Grid->Sort(1, sdAscending), std::runtime_error);
    EXPECT_EQ(Grid->RowCount(), rows);
    EXPECT_EQ(Grid->ColCount(), cols);
    EXPECT_EQ(Grid->ColWidths(2), w);
    EXPECT_EQ(Col(0), (std::vector<String>{L"r0", L"r1", L"r2", L"r3"}));
    EXPECT_TRUE(Grid->FloatingFooter()->Visible());
    EXPECT_EQ(Grid->UpdateCount(), 0);
    EXPECT_EQ(Grid->Cells(1, rows), L"");  // no scratch texts left behind
}

TEST_F(VodGridSort, APivotThatIsARealRowIsFollowedThroughTheSwaps)
{
    // Virtual cells with display and raw compare events: the pivot is row
    // Mid itself, which a swap may move.
    std::vector<String> texts;
    std::mt19937 rng(3);
    for (int i = 0; i < 60; ++i) texts.push_back(IntToStr(Integer(rng() % 20)));
    SetRows(texts);
    Grid->OnGetDisplText = [](TObject*, Integer, Integer, String&) {};
    Grid->SortSettings()->AutoFormat = false;
    Grid->SortSettings()->DefaultFormat = ssRaw;
    Grid->OnRawCompare = [&](TObject*, Integer c, Integer r1, Integer r2, Integer& res) {
        const Integer a = StrToIntDef(Grid->Cells(c, r1), 0), b = StrToIntDef(Grid->Cells(c, r2), 0);
        res = a < b ? -1 : a > b ? 1 : 0;
    };
    Grid->Sort(1, sdAscending);
    const auto v = Col(1);
    for (size_t i = 1; i < v.size(); ++i) EXPECT_LE(StrToInt(v[i - 1]), StrToInt(v[i])) << i;
}

TEST_F(VodGridSort, SortLineComparesOnAndSwaps)
{
    Grid->SetColCount(3);
    SetRows({L"a", L"a"});
    Grid->SetCells(2, 1, L"2");
    Grid->SetCells(2, 2, L"1");
    EXPECT_TRUE(Grid->SortLine(1, 1, 2));
    EXPECT_EQ(Grid->Cells(2, 1), L"1");
    EXPECT_FALSE(Grid->SortLine(1, 1, 2));
}

TEST_F(VodGridSort, SpecifierBothWaysAndSettings)
{
    Grid->SetColCount(4);
    SetRows({L"2", L"3", L"1"});
    auto* ss = Grid->SortSettings();
    EXPECT_EQ(ss->SaveToString(), L"u-1");
    ss->LoadFromString(L"d1");
    EXPECT_TRUE(ss->Show());
    EXPECT_EQ(Col(1), (std::vector<String>{L"3", L"2", L"1"}));
    EXPECT_EQ(ss->SaveToString(), L"d1");
    ss->LoadFromString(L"x1");  // no "u": descending
    EXPECT_EQ(ss->Direction, sdDescending);
    ss->LoadFromString(L"u1");
    EXPECT_EQ(Col(1), (std::vector<String>{L"1", L"2", L"3"}));
    ss->LoadFromString(L"ux");  // sets the direction, sorts nothing
    EXPECT_EQ(ss->Column, 1);
    EXPECT_THROW(ss->LoadFromString(L"d"), Exception);
    ss->LoadFromString(L"i;");
    EXPECT_TRUE(ss->IndexShow);
    ss->LoadFromString(L"i;d1;u0");
    EXPECT_EQ(Col(1), (std::vector<String>{L"3", L"2", L"1"}));
    EXPECT_EQ(ss->SaveToString(), L"i;d1;u0");
    ss->Remove();
    EXPECT_EQ(ss->Column, -1);
    EXPECT_EQ(Grid->SortIndexes()->Count(), 0);
    ss->ToggleDirection();
    EXPECT_EQ(ss->Direction, sdDescending);

    Grid->SetFixedRows(2);
    ss->SetRow(1);
    EXPECT_THROW(ss->SetRow(2), Exception);
    EXPECT_EQ(ss->Row(), 1);

    TSortSettings other(nullptr);
    other.IgnoreCase = true;
    other.SortOnVirtualCells = false;
    other.Column = 3;
    other.BlankPos = blLast;
    ss->Assign(&other);
    EXPECT_EQ(ss->Column, 3);
    EXPECT_EQ(ss->BlankPos, blLast);
    EXPECT_FALSE(ss->IgnoreCase);
    EXPECT_TRUE(ss->SortOnVirtualCells);
}
