#include <gtest/gtest.h>

#include "platform/base/SysUtils.h"
#include "platform/ui/DateTimePickerModel.h"

namespace {

std::string U8(const String& s) { return UTF8Encode(s); }

// Names and AM/PM strings fixed for the tests, whatever the machine.
class DateTimePickerModelTest : public ::testing::Test {
protected:
    TFormatSettingsScope FSettings;
    void SetUp() override
    {
        FormatSettings.TimeAMString = L"AM";
        FormatSettings.TimePMString = L"PM";
        const wchar_t* months[] = {L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun",
                                   L"Jul", L"Aug", L"Sep", L"Oct", L"Nov", L"Dec"};
        for (int i = 0; i < 12; ++i) {
            FormatSettings.ShortMonthNames[i] = months[i];
            FormatSettings.LongMonthNames[i] = String(months[i]) + L"ember";
        }
        const wchar_t* days[] = {L"Sun", L"Mon", L"Tue", L"Wed", L"Thu", L"Fri", L"Sat"};
        for (int i = 0; i < 7; ++i) {
            FormatSettings.ShortDayNames[i] = days[i];
            FormatSettings.LongDayNames[i] = String(days[i]) + L"day";
        }
    }
    static TDateTime At(Word y, Word mo, Word d, Word h = 0, Word mi = 0, Word s = 0)
    {
        return EncodeDateTime(y, mo, d, h, mi, s, 0);
    }
    static TDateTimeFieldModel Model(const String& format, TDateTime value, Integer active = -1)
    {
        TDateTimeFieldModel m;
        m.SetFormat(format);
        m.SetValue(value);
        if (active >= 0) m.SetActiveItem(active);
        return m;
    }
};

TEST_F(DateTimePickerModelTest, ParsesFormats)
{
    using F = TDtField;
    struct Case {
        String Format;
        std::vector<TDtFormatItem> Items;
    } cases[] = {
        {L"dd/MM/yyyy",
         {{F::Day, 2, L""}, {F::Literal, 0, L"/"}, {F::Month, 2, L""}, {F::Literal, 0, L"/"},
          {F::Year, 4, L""}}},
        {L"H:mm:ss",
         {{F::Hour24, 1, L""}, {F::Literal, 0, L":"}, {F::Minute, 2, L""}, {F::Literal, 0, L":"},
          {F::Second, 2, L""}}},
        {L"'Week' d MMM", {{F::Literal, 0, L"Week "}, {F::Day, 1, L""}, {F::Literal, 0, L" "},
                           {F::MonthName, 3, L""}}},
        {L"hh 'o''clock' tt", {{F::Hour12, 2, L""}, {F::Literal, 0, L" o'clock "}, {F::AmPm, 2, L""}}},
        {L"dddd, MMMM d yy",
         {{F::DayName, 4, L""}, {F::Literal, 0, L", "}, {F::MonthName, 4, L""}, {F::Literal, 0, L" "},
          {F::Day, 1, L""}, {F::Literal, 0, L" "}, {F::Year, 2, L""}}},
        {L"''x", {{F::Literal, 0, L"'x"}}},
        {L"'open", {{F::Literal, 0, L"open"}}},   // an unclosed quote runs to the end
        {L"yyy t", {{F::Year, 4, L""}, {F::Literal, 0, L" "}, {F::AmPm, 1, L""}}},
        {L"", {}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(U8(k.Format));
        EXPECT_EQ(k.Items, ParseDateTimeFormat(k.Format));
    }
}

TEST_F(DateTimePickerModelTest, TextOfEachField)
{
    struct Case {
        String Format;
        TDateTime Value;
        String Text;
    } cases[] = {
        {L"dd/MM/yyyy hh:mm tt", At(2024, 3, 5, 14, 7), L"05/03/2024 02:07 PM"},
        {L"d/M/yy", At(2024, 3, 5), L"5/3/24"},
        {L"H:m:s", At(2024, 3, 5, 9, 5, 3), L"9:5:3"},
        {L"h t", At(2024, 3, 5, 0, 0), L"12 A"},
        {L"ddd d MMM, dddd MMMM y", At(2024, 3, 5), L"Tue 5 Mar, Tueday Marember 4"},
        {L"yyyy", At(812, 1, 1), L"0812"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(U8(k.Format));
        EXPECT_EQ(U8(k.Text), U8(Model(k.Format, k.Value).Text()));
    }
}

TEST_F(DateTimePickerModelTest, FieldNavigationAndHitTesting)
{
    auto m = Model(L"'Date:' dd/MM/yyyy dddd", At(2024, 3, 5));
    // Items: 0 literal, 1 day, 2 "/", 3 month, 4 "/", 5 year, 6 " ", 7 day name.
    EXPECT_EQ(1, m.ActiveItem());
    m.NextField();
    EXPECT_EQ(3, m.ActiveItem());
    m.NextField();
    EXPECT_EQ(5, m.ActiveItem());
    m.NextField();   // the day name is not a field: around to the day
    EXPECT_EQ(1, m.ActiveItem());
    m.PrevField();
    EXPECT_EQ(5, m.ActiveItem());
    m.SetActiveItem(7);   // not editable: ignored
    EXPECT_EQ(5, m.ActiveItem());

    Integer start, len;
    m.ItemBounds(3, start, len);   // "Date: 05/03/2024 Tuesday"
    EXPECT_EQ(9, start);
    EXPECT_EQ(2, len);
    struct Click {
        Integer Pos, Item;
    } clicks[] = {{0, 1}, {6, 1}, {8, 1}, {9, 3}, {11, 3}, {12, 5}, {20, 5}, {23, 5}};
    for (const auto& c : clicks) EXPECT_EQ(c.Item, m.ItemAtChar(c.Pos)) << c.Pos;

    TDateTimeFieldModel none;
    none.SetFormat(L"'just text'");
    EXPECT_EQ(-1, none.ActiveItem());
    EXPECT_EQ(-1, none.ItemAtChar(3));
    EXPECT_FALSE(none.Step(1));
    EXPECT_FALSE(none.TypeChar(L'1'));
}

TEST_F(DateTimePickerModelTest, SteppingWrapsInsideEachField)
{
    struct Case {
        String Format;
        TDateTime Value;
        Integer Item, Delta;
        String Text;
    } cases[] = {
        {L"dd/MM/yyyy", At(2024, 1, 31), 0, 1, L"01/01/2024"},     // day wraps in its month
        {L"dd/MM/yyyy", At(2024, 3, 1), 0, -1, L"31/03/2024"},
        {L"dd/MM/yyyy", At(2024, 1, 31), 2, 1, L"29/02/2024"},     // month: day clamped
        {L"dd/MM/yyyy", At(2024, 1, 15), 2, -1, L"15/12/2024"},    // no carry into the year
        {L"dd/MM/yyyy", At(2024, 2, 29), 4, 1, L"28/02/2025"},
        {L"dd MMM yyyy", At(2024, 12, 3), 2, 1, L"03 Jan 2024"},
        {L"HH:mm:ss", At(2024, 1, 1, 23, 59, 59), 0, 1, L"00:59:59"},
        {L"HH:mm:ss", At(2024, 1, 1, 23, 59, 59), 2, 1, L"23:00:59"},
        {L"HH:mm:ss", At(2024, 1, 1, 23, 59, 59), 4, 1, L"23:59:00"},
        {L"HH:mm:ss", At(2024, 1, 1, 0, 0, 0), 0, -1, L"23:00:00"},
        {L"HH:mm:ss", At(2024, 1, 1, 0, 0, 0), 4, -1, L"00:00:59"},
        {L"hh:mm tt", At(2024, 1, 1, 11, 30), 0, 1, L"12:30 AM"},   // the half day stays
        {L"hh:mm tt", At(2024, 1, 1, 12, 30), 0, -1, L"11:30 PM"},
        {L"hh:mm tt", At(2024, 1, 1, 11, 30), 4, 1, L"11:30 PM"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(testing::Message() << U8(k.Format) << " item " << k.Item << " by " << k.Delta);
        auto m = Model(k.Format, k.Value, k.Item);
        EXPECT_TRUE(m.Step(k.Delta));
        EXPECT_EQ(U8(k.Text), U8(m.Text()));
    }
}

TEST_F(DateTimePickerModelTest, MinAndMaxDatesClampByDay)
{
    auto m = Model(L"dd/MM/yyyy HH:mm", At(2024, 3, 5, 12, 0));
    m.SetMinDate(At(2024, 3, 10, 18, 0));
    EXPECT_EQ(At(2024, 3, 10, 12, 0), m.Value());   // the day moves, the time stays
    EXPECT_FALSE(m.Step(-1));                        // stepping below the minimum
    EXPECT_EQ(At(2024, 3, 10, 12, 0), m.Value());
    m.SetMaxDate(At(2024, 3, 20));
    m.SetValue(At(2024, 4, 1, 8, 30));
    EXPECT_EQ(At(2024, 3, 20, 8, 30), m.Value());
    m.SetActiveItem(2);
    EXPECT_TRUE(m.Step(-1));   // month down: 20/02 is before the minimum
    EXPECT_EQ(At(2024, 3, 10, 8, 30), m.Value());
    m.SetMinDate(0);
    m.SetMaxDate(0);
    m.SetValue(At(1990, 1, 1));
    EXPECT_EQ(At(1990, 1, 1), m.Value());
}

TEST_F(DateTimePickerModelTest, TypedDigitsFillFieldsAndMoveOn)
{
    struct Case {
        const char* Name;
        String Format;
        TDateTime Value;
        String Typed;
        String Text;        // after typing
        Integer Active;     // item active afterwards
    } cases[] = {
        {"two digits", L"dd/MM/yyyy", At(2024, 1, 1), L"31", L"31/01/2024", 2},
        {"one digit that cannot grow", L"dd/MM/yyyy", At(2024, 1, 1), L"4", L"04/01/2024", 2},
        {"pending digit", L"dd/MM/yyyy", At(2024, 1, 1), L"3", L"3/01/2024", 0},
        {"leading zero", L"dd/MM/yyyy", At(2024, 1, 9), L"05", L"05/01/2024", 2},
        {"day then month", L"dd/MM/yyyy", At(2024, 1, 1), L"1502", L"15/02/2024", 4},
        {"February's last day", L"MM/dd/yyyy", At(2024, 2, 1), L"0229", L"02/29/2024", 4},
        {"3 cannot start a February day", L"MM/dd/yyyy", At(2024, 2, 1), L"023", L"02/03/2024", 4},
        {"month change clamps the day", L"dd/MM/yyyy", At(2024, 1, 1), L"3102", L"29/02/2024", 4},
        {"month over 12", L"MM/dd", At(2024, 1, 1), L"13", L"12/01", 2},
        {"year of four", L"dd/MM/yyyy", At(2024, 1, 1), L"1501202", L"15/01/202", 4},
        {"year complete", L"dd/MM/yyyy", At(2024, 1, 1), L"15012031", L"15/01/2031", 4},
        {"two-digit year", L"yy", At(2024, 1, 1), L"99", L"99", 0},
        {"time", L"HH:mm:ss", At(2024, 1, 1), L"235907", L"23:59:07", 4},
        {"hour 24 with one digit", L"HH:mm", At(2024, 1, 1), L"3", L"03:00", 2},
        {"12-hour keeps the half", L"hh:mm tt", At(2024, 1, 1, 15, 0), L"11", L"11:00 PM", 2},
        {"letters ignored", L"dd", At(2024, 1, 1), L"x", L"01", 0},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.Name);
        auto m = Model(k.Format, k.Value);
        for (Char c : k.Typed) m.TypeChar(c);
        EXPECT_EQ(U8(k.Text), U8(m.Text()));
        EXPECT_EQ(k.Active, m.ActiveItem());
    }
    // yy typed into a four-digit year, then left: the century window.
    auto y = Model(L"yyyy", At(2024, 1, 1));
    y.TypeChar(L'7');
    EXPECT_EQ("7", U8(y.Text()));
    EXPECT_TRUE(y.FinishTyping());
    EXPECT_EQ("2007", U8(y.Text()));
    auto y2 = Model(L"yy", At(2024, 1, 1));
    y2.TypeChar(L'6');
    y2.TypeChar(L'0');
    EXPECT_EQ(At(1960, 1, 1), y2.Value());

    // A and P set the half of the day.
    auto t = Model(L"hh:mm tt", At(2024, 1, 1, 9, 0), 4);
    EXPECT_TRUE(t.TypeChar(L'p'));
    EXPECT_EQ("09:00 PM", U8(t.Text()));
    EXPECT_FALSE(t.TypeChar(L'P'));
    EXPECT_TRUE(t.TypeChar(L'A'));
    EXPECT_FALSE(t.TypeChar(L'x'));
    EXPECT_EQ("09:00 AM", U8(t.Text()));

    // Typing stops at the limits too.
    auto lim = Model(L"dd/MM/yyyy", At(2024, 3, 15));
    lim.SetMinDate(At(2024, 3, 10));
    lim.TypeChar(L'0');
    lim.TypeChar(L'2');
    EXPECT_EQ(At(2024, 3, 10), lim.Value());
}

TEST_F(DateTimePickerModelTest, MonthGridWeeksAndToday)
{
    // March 2024 starts on a Friday.
    TMonthCalGrid g = BuildMonthCalGrid(2024, 3, 0, At(2024, 3, 15, 10, 30));
    EXPECT_EQ(26, g.Cells[0][0].Day);
    EXPECT_FALSE(g.Cells[0][0].InMonth);
    EXPECT_EQ(1, g.Cells[0][4].Day);
    EXPECT_TRUE(g.Cells[0][4].InMonth);
    EXPECT_EQ(At(2024, 3, 1), g.Cells[0][4].Date);
    EXPECT_EQ(31, g.Cells[4][6].Day);    // Sunday the 31st ends row 4
    EXPECT_EQ(1, g.Cells[5][0].Day);     // row 5 is April's first week
    EXPECT_FALSE(g.Cells[5][0].InMonth);
    int todays = 0;
    for (auto& row : g.Cells)
        for (auto& c : row) todays += c.Today;
    EXPECT_EQ(1, todays);
    EXPECT_TRUE(g.Cells[2][4].Today);    // Friday the 15th
    const Integer weeks[] = {9, 10, 11, 12, 13, 14};
    for (int r = 0; r < 6; ++r) EXPECT_EQ(weeks[r], g.WeekNumbers[r]) << r;

    // Sunday first: the 1st moves to column 5.
    TMonthCalGrid s = BuildMonthCalGrid(2024, 3, 6, 0);
    EXPECT_EQ(25, s.Cells[0][0].Day);
    EXPECT_EQ(1, s.Cells[0][5].Day);
    EXPECT_EQ(9, s.WeekNumbers[0]);   // the row's Thursday, Feb 29th

    // A month that starts on the first day of the week starts the grid.
    TMonthCalGrid a = BuildMonthCalGrid(2024, 4, 0, 0);
    EXPECT_EQ(1, a.Cells[0][0].Day);
    EXPECT_TRUE(a.Cells[0][0].InMonth);

    struct Week {
        TDateTime Day;
        Integer Number;
    } isoWeeks[] = {
        {At(2021, 1, 3), 53}, {At(2021, 1, 4), 1}, {At(2024, 12, 30), 1},
        {At(2026, 12, 31), 53}, {At(2024, 3, 15, 23, 59), 11}, {At(1899, 12, 30), 52},
    };
    for (const auto& w : isoWeeks) EXPECT_EQ(w.Number, IsoWeekNumber(w.Day)) << w.Day;
}

}  // namespace

TEST_F(DateTimePickerModelTest, WholeFieldsCommitOnceCompleteAndStay)
{
    struct Step { Char Ch; bool Changed; const char* Text; Word Hour; };
    auto m = Model(L"HH:mm:ss", At(2024, 1, 1, 9, 30, 0), 0);
    m.SetWholeFields(true);
    const Step steps[] = {
        {L'1', false, "1:30:00", 9},    // shown only; the value keeps 09
        {L'4', true, "14:30:00", 14},   // complete: one change
        {L'1', false, "1:30:00", 14},   // a new entry into the same field
        {L'4', false, "14:30:00", 14},  // the same value again is no change
        {L'3', true, "03:30:00", 3},    // 3 cannot grow: complete at once
    };
    for (const Step& st : steps) {
        SCOPED_TRACE(st.Text);
        EXPECT_EQ(st.Changed, m.TypeChar(st.Ch));
        EXPECT_EQ(st.Text, U8(m.Text()));
        EXPECT_EQ(At(2024, 1, 1, st.Hour, 30, 0), m.Value());
        EXPECT_EQ(0, m.ActiveItem()) << "the caret stays in the field";
    }
    // A pending digit reaches the value when typing ends.
    EXPECT_FALSE(m.TypeChar(L'1'));
    EXPECT_TRUE(m.FinishTyping());
    EXPECT_EQ(At(2024, 1, 1, 1, 30, 0), m.Value());
    // Years commit at four digits and stay too.
    auto d = Model(L"dd/MM/yyyy", At(2024, 1, 15), 4);
    d.SetWholeFields(true);
    for (Char c : String(L"203")) EXPECT_FALSE(d.TypeChar(c));
    EXPECT_TRUE(d.TypeChar(L'1'));
    EXPECT_EQ(At(2031, 1, 15), d.Value());
    EXPECT_EQ(4, d.ActiveItem());
}
