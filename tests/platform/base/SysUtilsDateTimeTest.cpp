#include <gtest/gtest.h>

#include "platform/base/SysUtils.h"

namespace {

// English settings and a clock fixed in mid-2026 for every test.
class SysUtilsDateTime : public ::testing::Test {
protected:
    void SetUp() override { SetNowProvider([] { return EncodeDateTime(2026, 6, 15, 10, 30, 0, 0); }); }
    void TearDown() override { SetNowProvider(nullptr); }
    TFormatSettingsScope scope{DefaultFormatSettings()};
};

struct Ymd {
    Word y, m, d;
};

::testing::AssertionResult IsDate(TDateTime v, Word y, Word m, Word d, Word h = 0, Word n = 0, Word s = 0,
                                  Word ms = 0)
{
    Word a[7];
    DecodeDateTime(v, a[0], a[1], a[2], a[3], a[4], a[5], a[6]);
    Word want[7] = {y, m, d, h, n, s, ms};
    for (int i = 0; i < 7; ++i)
        if (a[i] != want[i])
            return ::testing::AssertionFailure() << "got " << a[0] << "-" << a[1] << "-" << a[2] << " " << a[3] << ":"
                                                 << a[4] << ":" << a[5] << "." << a[6];
    return ::testing::AssertionSuccess();
}

TFormatSettings DayMonthYear(Char sep, const wchar_t* shortDate)
{
    TFormatSettings fs = DefaultFormatSettings();
    fs.DateSeparator = sep;
    fs.ShortDateFormat = shortDate;
    return fs;
}

}  // namespace

TEST_F(SysUtilsDateTime, EncodeAndDecodeCalendar)
{
    struct { Word y, m, d; double serial; Word dow; } cases[] = {
        {1899, 12, 30, 0, 7}, {1899, 12, 24, -6, 1}, {1900, 1, 1, 2, 2}, {2000, 1, 1, 36526, 7},
        {2024, 2, 29, 45351, 5}, {2026, 12, 10, 46366, 5}, {1, 1, 1, -693593, 2}, {9999, 12, 31, 2958465, 6},
    };
    for (auto& c : cases) {
        EXPECT_EQ(EncodeDate(c.y, c.m, c.d), c.serial) << c.y << "-" << c.m << "-" << c.d;
        EXPECT_TRUE(IsDate(c.serial, c.y, c.m, c.d));
        EXPECT_EQ(DayOfWeek(EncodeDateTime(c.y, c.m, c.d, 18, 0, 0, 0)), c.dow) << c.y << "-" << c.m << "-" << c.d;
    }
    struct { Word y, m, d; } invalid[] = {{2023, 2, 29}, {0, 1, 1}, {10000, 1, 1}, {2024, 13, 1}, {2024, 4, 31}, {2024, 1, 0}};
    for (auto& c : invalid) {
        TDateTime v = 123;
        EXPECT_FALSE(TryEncodeDate(c.y, c.m, c.d, v));
        EXPECT_EQ(v, 123);
    }
    try {
        EncodeDate(2023, 2, 29);
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), L"Invalid argument to date encode");
    }
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_EQ(DaysInAMonth(2024, 2), 29);
    EXPECT_EQ(DaysInAMonth(2023, 2), 28);
    EXPECT_EQ(DaysInMonth(EncodeDate(2023, 4, 10)), 30);
}

TEST_F(SysUtilsDateTime, TimesRoundToTheMillisecond)
{
    EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
    EXPECT_TRUE(IsDate(EncodeTime(23, 59, 59, 999), 1899, 12, 30, 23, 59, 59, 999));
    try {
        EncodeTime(24, 0, 0, 0);
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), L"Invalid argument to time encode");
    }
    TDateTime t;
    EXPECT_FALSE(TryEncodeTime(1, 60, 0, 0, t));
    EXPECT_FALSE(TryEncodeTime(1, 0, 0, 1000, t));
    // Times before 1899-12-30 count forward from the start of their day.
    EXPECT_EQ(EncodeDateTime(1899, 12, 29, 6, 0, 0, 0), -1.25);
    EXPECT_TRUE(IsDate(-1.25, 1899, 12, 29, 6));
    // A fraction that rounds up to midnight belongs to the next day, never "24:00".
    EXPECT_TRUE(IsDate(1.9999999999, 1900, 1, 1));
    Word h, n, s, ms;
    DecodeTime(0.99999999999, h, n, s, ms);
    EXPECT_EQ(h, 0);
    // Outside the calendar decodes to zeros rather than garbage.
    EXPECT_TRUE(IsDate(1e300, 0, 0, 0));
    EXPECT_TRUE(IsDate(std::numeric_limits<double>::quiet_NaN(), 0, 0, 0));
}

TEST_F(SysUtilsDateTime, IncMonthClampsTheDay)
{
    struct { Ymd from; Integer months; Ymd want; } cases[] = {
        {{2024, 1, 31}, 1, {2024, 2, 29}}, {{2023, 1, 31}, 1, {2023, 2, 28}}, {{2024, 3, 31}, -1, {2024, 2, 29}},
        {{2024, 12, 15}, 1, {2025, 1, 15}}, {{2024, 1, 15}, -13, {2022, 12, 15}}, {{2024, 5, 31}, 24, {2026, 5, 31}},
    };
    for (auto& c : cases)
        EXPECT_TRUE(IsDate(IncMonth(EncodeDate(c.from.y, c.from.m, c.from.d), c.months), c.want.y, c.want.m, c.want.d))
            << c.from.y << "-" << c.from.m << "-" << c.from.d << " + " << c.months;
    EXPECT_TRUE(IsDate(IncMonth(EncodeDateTime(2024, 1, 31, 13, 30, 0, 0)), 2024, 2, 29, 13, 30));
    EXPECT_TRUE(IsDate(IncMonth(EncodeDateTime(1899, 12, 29, 6, 0, 0, 0), -1), 1899, 11, 29, 6));
    EXPECT_THROW(IncMonth(EncodeDate(9999, 12, 1)), EConvertError);
}

TEST_F(SysUtilsDateTime, ClockCanBeFixedAndRestored)
{
    SetNowProvider([] { return 45000.25; });
    EXPECT_EQ(Now(), 45000.25);
    EXPECT_EQ(Date(), 45000);
    EXPECT_EQ(Time(), 0.25);
    SetNowProvider(nullptr);
    EXPECT_GT(Now(), EncodeDate(2020, 1, 1));   // the real clock again
}

TEST_F(SysUtilsDateTime, FormatDateTimeMasks)
{
    const TDateTime v = EncodeDateTime(2026, 3, 7, 14, 5, 9, 45);   // a Saturday afternoon
    struct { const wchar_t* fmt; const wchar_t* want; } cases[] = {
        {L"yyyy-mm-dd hh:nn:ss.zzz", L"2026-03-07 14:05:09.045"},
        {L"d/m/yy", L"7/3/26"},
        {L"dddd, mmmm d", L"Saturday, March 7"},
        {L"ddd mmm", L"Sat Mar"},
        {L"h:mm", L"14:05"},                 // m after an hour means minutes
        {L"h 'x' mm", L"14 x 05"},
        {L"mm nn:ss", L"03 05:09"},
        {L"h:nn am/pm", L"2:05 pm"},
        {L"hh:nn AM/PM", L"02:05 PM"},
        {L"h Am/Pm", L"2 Pm"},
        {L"h a/p", L"2 p"},
        {L"h ampm", L"2 PM"},
        {L"z zzz", L"45 045"},
        {L"t", L"2:05 PM"},
        {L"tt", L"2:05:09 PM"},
        {L"c", L"3/7/2026 2:05:09 PM"},
        {L"", L"3/7/2026 2:05:09 PM"},
        {L"ddddd", L"3/7/2026"},
        {L"dddddd", L"Saturday, March 7, 2026"},
        {L"'Date:' yyyy \"at\" h", L"Date: 2026 at 14"},
        {L"'unclosed", L"unclosed"},
    };
    for (auto& c : cases) EXPECT_EQ(FormatDateTime(c.fmt, v), c.want) << UTF8Encode(c.fmt);

    EXPECT_EQ(FormatDateTime(L"c", EncodeDate(2026, 3, 7)), L"3/7/2026");
    EXPECT_EQ(FormatDateTime(L"h AM/PM", EncodeDate(2026, 3, 7)), L"12 AM");
    EXPECT_EQ(FormatDateTime(L"yyyy", EncodeDate(5, 1, 1)), L"0005");
    EXPECT_EQ(FormatDateTime(L"dd/mm hh:nn", v, DayMonthYear(L'.', L"dd/mm/yyyy")), L"07.03 14:05");
    EXPECT_EQ(DateToStr(v), L"3/7/2026");
    EXPECT_EQ(TimeToStr(v), L"2:05:09 PM");
    EXPECT_EQ(DateTimeToStr(v), L"3/7/2026 2:05:09 PM");

    // A format that refers to itself stops instead of recursing forever.
    TFormatSettings loop = DefaultFormatSettings();
    loop.ShortDateFormat = L"ddddd";
    EXPECT_EQ(FormatDateTime(L"ddddd", v, loop), L"");
}

TEST_F(SysUtilsDateTime, StrToDateFollowsTheSettings)
{
    struct { TFormatSettings fs; const wchar_t* s; bool ok; Ymd want; } cases[] = {
        {DefaultFormatSettings(), L"3/7/2026", true, {2026, 3, 7}},
        {DefaultFormatSettings(), L" 3 / 7 / 2026 ", true, {2026, 3, 7}},
        {DefaultFormatSettings(), L"12/31/99", true, {1999, 12, 31}},
        {DefaultFormatSettings(), L"1/1/30", true, {2030, 1, 1}},
        {DefaultFormatSettings(), L"1/1/75", true, {2075, 1, 1}},
        {DefaultFormatSettings(), L"1/1/76", true, {1976, 1, 1}},
        {DefaultFormatSettings(), L"1/1/0076", true, {76, 1, 1}},
        {DefaultFormatSettings(), L"3/7", true, {2026, 3, 7}},
        {DayMonthYear(L'.', L"dd/mm/yyyy"), L"07.03.2026", true, {2026, 3, 7}},
        {DayMonthYear(L'.', L"dd/mm/yyyy"), L"7.3", true, {2026, 3, 7}},
        {DayMonthYear(L'.', L"dd/mm/yyyy"), L"31.02.2026", false, {}},
        {DayMonthYear(L'.', L"dd/mm/yyyy"), L"7/3/2026", false, {}},
        {DayMonthYear(L'-', L"yyyy/mm/dd"), L"2026-03-07", true, {2026, 3, 7}},
        {DayMonthYear(L'-', L"yyyy/mm/dd"), L"26-03-07", true, {2026, 3, 7}},
        {DefaultFormatSettings(), L"", false, {}},
        {DefaultFormatSettings(), L"3/", false, {}},
        {DefaultFormatSettings(), L"3/7/2026x", false, {}},
        {DefaultFormatSettings(), L"13/1/2026", false, {}},
        {DefaultFormatSettings(), L"1/1/10000", false, {}},
        {DefaultFormatSettings(), L"1/1/99999999999", false, {}},
        {DefaultFormatSettings(), L"abc", false, {}},
    };
    for (auto& c : cases) {
        TDateTime v = -1;
        ASSERT_EQ(TryStrToDate(c.s, v, c.fs), c.ok) << UTF8Encode(c.s);
        if (c.ok) {
            EXPECT_TRUE(IsDate(v, c.want.y, c.want.m, c.want.d)) << UTF8Encode(c.s);
        }
    }

    TFormatSettings noWindow = DefaultFormatSettings();
    noWindow.TwoDigitYearCenturyWindow = 0;
    EXPECT_TRUE(IsDate(StrToDate(L"1/1/99", noWindow), 2099, 1, 1));

    // The global settings are read at each call.
    TFormatSettingsScope inner(DayMonthYear(L'.', L"dd/mm/yyyy"));
    EXPECT_TRUE(IsDate(StrToDate(L"07.03.2026"), 2026, 3, 7));
    EXPECT_EQ(StrToDateDef(L"bad", 5), 5);
    try {
        StrToDate(L"x");
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), L"'x' is not a valid date");
    }
}

TEST_F(SysUtilsDateTime, StrToTimeAndDateTime)
{
    struct { const wchar_t* s; bool ok; Word h = 0, n = 0, sec = 0, ms = 0; } times[] = {
        {L"14:05", true, 14, 5, 0, 0}, {L"2:05 PM", true, 14, 5, 0, 0}, {L"12:00 AM", true, 0, 0, 0, 0},
        {L"12:30 pm", true, 12, 30, 0, 0}, {L"14:05:09", true, 14, 5, 9, 0}, {L"14:05:09.045", true, 14, 5, 9, 45},
        {L"14:05:09.5", true, 14, 5, 9, 500}, {L"3 PM", true, 15, 0, 0, 0}, {L"PM 3:15", true, 15, 15, 0, 0},
        {L"25:00", false}, {L"14", false}, {L"13:00 PM", false}, {L"", false}, {L"14:60", false}, {L"14:05 x", false},
    };
    for (auto& c : times) {
        TDateTime v = -1;
        ASSERT_EQ(TryStrToTime(c.s, v), c.ok) << UTF8Encode(c.s);
        if (c.ok) {
            EXPECT_TRUE(IsDate(v, 1899, 12, 30, c.h, c.n, c.sec, c.ms)) << UTF8Encode(c.s);
        }
    }
    TFormatSettings dots = DefaultFormatSettings();
    dots.TimeSeparator = L'.';
    EXPECT_TRUE(IsDate(StrToTime(L"14.05", dots), 1899, 12, 30, 14, 5));

    EXPECT_TRUE(IsDate(StrToDateTime(L"3/7/2026 14:05"), 2026, 3, 7, 14, 5));
    EXPECT_TRUE(IsDate(StrToDateTime(L"3/7/2026"), 2026, 3, 7));
    EXPECT_TRUE(IsDate(StrToDateTime(L"14:05"), 1899, 12, 30, 14, 5));
    const TDateTime v = EncodeDateTime(2026, 3, 7, 14, 5, 9, 0);
    EXPECT_EQ(StrToDateTime(DateTimeToStr(v)), v);
    EXPECT_EQ(StrToDateTimeDef(L"3/7/2026 x", 1), 1);
    EXPECT_EQ(StrToTimeDef(L"x", 2), 2);
    try {
        StrToDateTime(L"x");
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), L"'x' is not a valid date and time");
    }
    try {
        StrToTime(L"x");
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), L"'x' is not a valid time");
    }
}
