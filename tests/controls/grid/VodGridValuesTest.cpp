// Typed cell values under two sets of format settings (a full stop or a
// comma as decimal separator), the fills and their ranges, highlighting
// that writes only changed cells, the cell checker's pass, the header lists
// and the looks of a rectangle.
#include <gtest/gtest.h>

#include "controls/grid/VodGrid.h"
#include "controls/grid/vurcheck.h"
#include "platform/base/SysUtils.h"

namespace {

// Counts the writes that reach a cell holding a property block.
class TWriteCountGrid : public TVodStringGrid {
public:
    explicit TWriteCountGrid(TComponent* o) : TVodStringGrid(o) {}
    Integer Writes = 0;
    void UpdateCellScrollBar(Integer c, Integer r) override
    {
        ++Writes;
        TVodStringGrid::UpdateCellScrollBar(c, r);
    }
};

TFormatSettings CommaDecimal()
{
    TFormatSettings fs = DefaultFormatSettings();
    fs.DecimalSeparator = L',';
    fs.ThousandSeparator = L'.';
    fs.DateSeparator = L'.';
    fs.ShortDateFormat = L"dd.mm.yyyy";
    return fs;
}

}  // namespace

TEST(GridValuesTest, IntegersReadFloatTextsHalfToEven)
{
    TFormatSettingsScope scope(DefaultFormatSettings());
    TVodStringGrid g(nullptr);
    struct {
        const wchar_t* text;
        Integer value;
    } cases[] = {{L"", 0},     {L"-", 0},    {L" 42 ", 42},         {L"2.5", 2},  {L"3.5", 4},
                 {L"-2.5", -2}, {L"1,234", 1234}, {L"<b>12</b>", 12}, {L"-7", -7}};
    for (const auto& k : cases) {
        g.SetCellEx(1, 1, k.text);
        EXPECT_EQ(g.GetInts(1, 1), k.value) << std::wstring(k.text);
    }
    for (const wchar_t* bad : {L"word", L"1.2.3", L"12abc", L"99999999999"}) {
        g.SetCellEx(1, 1, bad);
        try {
            g.GetInts(1, 1);
            ADD_FAILURE() << std::wstring(bad);
        } catch (const EVodGridError& e) {
            EXPECT_EQ(e.Message(), L"Cell does not contain integer value");
        }
    }
    g.SetInts(2, 2, -15);
    EXPECT_EQ(g.GetGridCell(2, 2), L"-15");
    // The real-index form reads integers only.
    g.SetAllCells(1, 1, L"2.5");
    EXPECT_THROW(g.GetAllInts(1, 1), EVodGridError);
    g.SetAllInts(1, 1, 9);
    EXPECT_EQ(g.GetAllInts(1, 1), 9);
}

TEST(GridValuesTest, IntegersAndFloatsUnderACommaDecimalSeparator)
{
    TFormatSettingsScope scope(CommaDecimal());
    TVodStringGrid g(nullptr);
    struct {
        const wchar_t* text;
        Integer i;
        double f;
    } cases[] = {{L"2,5", 2, 2.5}, {L"1.234", 1234, 1234.0}, {L"1.234,75", 1235, 1234.75}, {L"(3,5)", 0, -3.5}};
    for (const auto& k : cases) {
        SCOPED_TRACE(std::wstring(k.text));
        g.SetCellEx(1, 1, k.text);
        EXPECT_DOUBLE_EQ(g.GetFloats(1, 1), k.f);
        if (k.i) {
            EXPECT_EQ(g.GetInts(1, 1), k.i);
        }
    }
    g.SetFloats(1, 2, 1.5);
    EXPECT_EQ(g.GetGridCell(1, 2), L"1,50");
    EXPECT_DOUBLE_EQ(g.GetFloats(1, 2), 1.5);
}

TEST(GridValuesTest, FloatsStripMarkupAndRaiseOnWhatDoesNotRead)
{
    TFormatSettingsScope scope(DefaultFormatSettings());
    TVodStringGrid g(nullptr);
    g.SetCellEx(1, 1, L"<b>12.5</b>");
    EXPECT_DOUBLE_EQ(g.GetFloats(1, 1), 12.5);
    // The real-index form reaches hidden rows.
    g.SetCellEx(2, 2, L"7.5");
    g.HideRow(2);
    EXPECT_DOUBLE_EQ(g.GetAllFloats(2, 2), 7.5);
    g.UnHideRowsAll();
    g.SetCellEx(1, 1, L"-");
    EXPECT_DOUBLE_EQ(g.GetFloats(1, 1), 0.0);
    g.SetCellEx(1, 1, L"1.2.3");
    try {
        g.GetFloats(1, 1);
        ADD_FAILURE();
    } catch (const EVodGridError& e) {
        EXPECT_EQ(e.Message(), L"Cell does not contain a float value");
    }
    g.SetFloatFormat(L"%.3f");
    g.SetAllFloats(2, 1, 0.25);
    EXPECT_EQ(g.GetGridCell(2, 1), L"0.250");
}

TEST(GridValuesTest, DatesTimesAndControlValues)
{
    TFormatSettingsScope scope(CommaDecimal());
    TVodStringGrid g(nullptr);
    g.SetDates(1, 1, EncodeDate(2024, 3, 9));
    EXPECT_EQ(g.GetGridCell(1, 1), L"09.03.2024");
    EXPECT_DOUBLE_EQ(g.GetDates(1, 1), EncodeDate(2024, 3, 9));
    g.SetDates(1, 1, 0);
    EXPECT_EQ(g.GetGridCell(1, 1), DateToStr(0));
    g.SetShowNullDates(false);
    g.SetDates(1, 1, 0);
    EXPECT_EQ(g.GetGridCell(1, 1), L"");
    g.SetCellEx(1, 1, L"no date");
    EXPECT_THROW(g.GetDates(1, 1), EConvertError);
    g.SetTimes(1, 2, EncodeTime(13, 45, 10, 0));
    EXPECT_NEAR(g.GetTimes(1, 2), EncodeTime(13, 45, 10, 0), 1e-9);

    g.SetCellEx(2, 2, L"Name <CONTROL TYPE=\"EDIT\" ID=\"n\" VALUE=\"old\">");
    EXPECT_EQ(g.GetCtrlVal(2, 2, L"n"), L"old");
    EXPECT_EQ(g.GetCtrlVal(2, 2, L"missing"), L"");
    g.SetCtrlVal(2, 2, L"n", L"new");
    EXPECT_EQ(g.GetCtrlVal(2, 2, L"n"), L"new");
    g.SetCellEx(2, 3, L"plain");
    g.SetCtrlVal(2, 3, L"n", L"new");
    EXPECT_EQ(g.GetGridCell(2, 3), L"plain");
}

TEST(GridValuesTest, FillsCoverNormalCellsOrEveryCell)
{
    TVodStringGrid g(nullptr);
    g.SetColCount(5);
    g.SetRowCount(6);
    g.SetFixedFooters(1);
    g.SetFixedRightCols(1);
    g.FormatFill(false, L"%d,%d");
    EXPECT_EQ(g.GetGridCell(2, 3), L"2,3");
    for (Integer c = 0; c < 5; ++c) {
        EXPECT_EQ(g.GetGridCell(c, 0), L"");
        EXPECT_EQ(g.GetGridCell(c, 5), L"");
    }
    for (Integer r = 0; r < 6; ++r) {
        EXPECT_EQ(g.GetGridCell(0, r), L"");
        EXPECT_EQ(g.GetGridCell(4, r), L"");
    }
    g.LinearFill(true);
    EXPECT_EQ(g.GetGridCell(0, 0), L"0:0");
    EXPECT_EQ(g.GetGridCell(4, 5), L"4:5");
    g.TextFill(false, L"t");
    EXPECT_EQ(g.GetGridCell(1, 1), L"t");
    EXPECT_EQ(g.GetGridCell(0, 1), L"0:1");
    g.RandomFill(false, 3);
    for (Integer c = 1; c <= 3; ++c)
        for (Integer r = 1; r <= 4; ++r) {
            const Integer v = g.GetInts(c, r);
            EXPECT_TRUE(v >= 0 && v < 3);
        }
}

TEST(GridValuesTest, HighlightingWritesOnlyChangedCellsAndRemovalAlwaysWrites)
{
    TWriteCountGrid g(nullptr);
    g.SetCellEx(1, 1, L"a <b> & c");
    g.GetCellProperties(1, 1);
    g.Writes = 0;
    g.HilightInCell(false, 1, 1, L"zzz", false);
    EXPECT_EQ(g.Writes, 0);
    EXPECT_EQ(g.GetGridCell(1, 1), L"a <b> & c");
    g.UnHilightInCell(1, 1);
    EXPECT_EQ(g.Writes, 1);

    g.SetCellEx(1, 1, L"Grid grid");
    g.Writes = 0;
    g.HilightInCell(false, 1, 1, L"grid", false);
    EXPECT_EQ(g.Writes, 1);
    EXPECT_EQ(g.GetGridCell(1, 1), L"<HI>Grid</HI> <HI>grid</HI>");
    // Highlighting again replaces the earlier tags (written upper case).
    g.HilightInCell(true, 1, 1, L"grid", false);
    EXPECT_EQ(g.GetGridCell(1, 1), L"Grid <HI>grid</HI>");
    g.UnHilightInCell(1, 1);
    EXPECT_EQ(g.GetGridCell(1, 1), L"Grid grid");
    // The whole visible text only.
    g.HilightInCell(false, 1, 1, L"grid", true);
    EXPECT_EQ(g.GetGridCell(1, 1), L"Grid grid");
    g.HilightInCell(false, 1, 1, L"grid grid", true);
    EXPECT_EQ(g.GetGridCell(1, 1), L"<HI>Grid grid</HI>");

    g.SetCellEx(2, 2, L"abc");
    g.SetCellEx(2, 3, L"xbx");
    g.MarkInCol(false, false, 2, L"b");
    EXPECT_EQ(g.GetGridCell(2, 2), L"a<E>b</E>c");
    EXPECT_EQ(g.GetGridCell(2, 3), L"x<E>b</E>x");
    g.UnMarkInGrid(false);
    EXPECT_EQ(g.GetGridCell(2, 2), L"abc");
    EXPECT_EQ(g.HilightText(false, L"aXa", L"x"), L"a<HI>X</HI>a");
    EXPECT_EQ(g.UnMarkText(L"<e>q</e>"), L"q");
}

namespace {

// Upper-cases what it corrects and counts its cells.
class TUpperChecker : public TVodStringGridCheck {
public:
    explicit TUpperChecker(TComponent* o) : TVodStringGridCheck(o) {}
    Integer Started = 0, Stopped = 0, Checked = 0, StopAfter = -1;
    String Correct(Integer, Integer, const String& s) override
    {
        if (++Checked == StopAfter) FLastResult = mrCancel;
        return UpperCase(s);
    }
    void StartCheck() override { ++Started; }
    void StopCheck() override { ++Stopped; }
};

}  // namespace

TEST(GridValuesTest, CheckerCorrectsCellsRowByRowAndMayStopTheRun)
{
    TVodStringGrid g(nullptr);
    EXPECT_TRUE(g.CheckGrid(false));
    TUpperChecker ch(nullptr);
    ch.SetUseCorrect(true);
    g.SetCellChecker(&ch);
    g.SetCellEx(1, 1, L"ab");
    g.SetCellEx(2, 1, L"CD");
    EXPECT_TRUE(g.CheckCell(2, 1));
    EXPECT_FALSE(g.CheckCells(1, 1, 2, 1));
    EXPECT_EQ(g.GetGridCell(1, 1), L"AB");
    EXPECT_EQ(ch.Started, 1);
    EXPECT_EQ(ch.Stopped, 1);
    EXPECT_TRUE(g.CheckRow(false, 1));
    // A cancelled dialog ends the run after that cell.
    g.SetCellEx(1, 2, L"x");
    g.SetCellEx(2, 2, L"y");
    ch.Checked = 0;
    ch.StopAfter = 1;
    g.CheckCells(1, 2, 2, 2);
    EXPECT_EQ(g.GetGridCell(1, 2), L"X");
    EXPECT_EQ(g.GetGridCell(2, 2), L"y");
    g.SetCellChecker(nullptr);
}

TEST(GridValuesTest, HeaderListsFillRowAndColumnZero)
{
    TVodStringGrid g(nullptr);
    g.SetColCount(3);
    g.SetCellEx(2, 0, L"old");
    TStringList l;
    l.Add(L"A");
    l.Add(L"two\\nlines");
    g.SetColumnHeaders(&l);
    EXPECT_EQ(g.GetGridCell(0, 0), L"A");
    EXPECT_EQ(g.GetGridCell(1, 0), L"two\rlines");
    EXPECT_EQ(g.GetGridCell(2, 0), L"");
    g.ColumnHeaders()->Add(L"C");
    EXPECT_EQ(g.GetGridCell(2, 0), L"C");
    g.SetFixedCols(0);
    g.RowHeaders()->Add(L"r0");
    EXPECT_EQ(g.GetGridCell(0, 0), L"A");
    g.SetFixedCols(1);
    g.RowHeaders()->Add(L"r1");
    EXPECT_EQ(g.GetGridCell(0, 1), L"r1");
}

TEST(GridValuesTest, RangeStylesVisitEveryCell)
{
    TVodStringGrid g(nullptr);
    const TGridRect r{1, 1, 2, 2};
    EXPECT_TRUE(g.IsFontStyle({2, 1, 1, 1}, fsBold));   // empty rectangle
    EXPECT_FALSE(g.IsFontStyle(r, fsBold));
    g.SetFontStyle(r, fsBold, true);
    EXPECT_TRUE(g.IsFontStyle(r, fsBold));
    g.SetFontStyle({1, 1, 1, 1}, fsBold, false);
    EXPECT_FALSE(g.IsFontStyle(r, fsBold));
    EXPECT_TRUE(g.IsFontStyle({2, 1, 2, 2}, fsBold));
    g.SetAlignment(r, taRightJustify);
    EXPECT_TRUE(g.IsAlignment(r, taRightJustify));
    EXPECT_FALSE(g.IsAlignment({1, 1, 3, 2}, taRightJustify));
    g.SetCellColor(r, clRed);
    g.SetCellTextColor(r, clBlue);
    g.SetCellFontName(r, L"Courier New");
    g.SetCellFontSize(r, 14);
    EXPECT_EQ(g.Colors(2, 2), clRed);
    EXPECT_EQ(g.FontColors(1, 2), clBlue);
    EXPECT_EQ(g.FontNames(2, 1), L"Courier New");
    EXPECT_EQ(g.FontSizes(1, 1), 14);
}
