// The date-time picker's models: custom format strings split into fields,
// field-by-field editing (stepping with wrap, typed digits with two-digit
// accumulation, MinDate/MaxDate clamping), and the month calendar's grid of
// days with ISO week numbers and the today mark.
#pragma once

#include <vector>

#include "platform/base/Types.h"

// ---------------------------------------------------------------------------
// Format strings
// ---------------------------------------------------------------------------

// Format elements: d dd (day), ddd dddd (day name, shown only), M MM
// (month), MMM MMMM (month name), y yy yyyy (year), h hh (12-hour), H HH
// (24-hour), m mm (minute), s ss (second), t tt (A/P, AM/PM); text in
// single quotes ('' is a quote) and any other character are literals.
enum class TDtField { Literal, Day, DayName, Month, MonthName, Year, Hour12, Hour24, Minute,
                      Second, AmPm };

struct TDtFormatItem {
    TDtField Field = TDtField::Literal;
    Integer Width = 0;   // digits (1, 2; years 1, 2, 4), or 3/4 for short/long names
    String Literal;
    bool Editable() const { return Field != TDtField::Literal && Field != TDtField::DayName; }
    friend bool operator==(const TDtFormatItem&, const TDtFormatItem&) = default;
};

std::vector<TDtFormatItem> ParseDateTimeFormat(const String& format);

// ---------------------------------------------------------------------------
// Field editing
// ---------------------------------------------------------------------------

class TDateTimeFieldModel {
public:
    void SetFormat(const String& format);
    const std::vector<TDtFormatItem>& Items() const { return FItems; }

    TDateTime Value() const { return FValue; }
    // Sets the value (clamped to the limits); typing in progress is dropped.
    void SetValue(TDateTime v);
    // Limits compare days: a value on a day before MinDate moves to
    // MinDate's day, after MaxDate to MaxDate's day, keeping its time.
    // 0 means no limit.
    TDateTime MinDate() const { return FMinDate; }
    TDateTime MaxDate() const { return FMaxDate; }
    void SetMinDate(TDateTime d);
    void SetMaxDate(TDateTime d);

    // The text shown; a field being typed into shows the digits typed.
    String Text() const;
    // The characters of item i in Text(): start and length.
    void ItemBounds(Integer item, Integer& start, Integer& length) const;
    // The editable item at or nearest before a character position (a
    // click); -1 when the format has no editable item.
    Integer ItemAtChar(Integer pos) const;

    // The active (selected) item, an editable one; -1 when there is none.
    Integer ActiveItem() const { return FActive; }
    void SetActiveItem(Integer item);
    // Left/Right: the previous or next editable item, wrapping around.
    void NextField();
    void PrevField();

    // Up (+1) / Down (-1) and the like: the active field steps with wrap
    // inside its range (days within the month, months within the year,
    // hours within the day or the half day, minutes and seconds within the
    // hour, no carry); years step without wrap. Answers whether the value
    // changed.
    bool Step(Integer delta);
    // A typed character: digits into numeric fields (two-digit
    // accumulation, moving on when the field is complete or no further
    // digit could fit; years collect four digits, or two for yy), A/P for
    // the AM/PM field. Answers whether the value changed.
    bool TypeChar(Char ch);
    // Commits digits typed so far (a year of fewer digits) and ends typing.
    bool FinishTyping();
    // Whole fields: digits typed into a field are shown, reach the value
    // only once the field is complete (or typing ends), and the caret stays
    // in the field. For a control that moves on by itself: each completed
    // field is then one change of the value. Off by default (every digit
    // reaches the value, a complete field hands the caret on).
    bool WholeFields() const { return FWholeFields; }
    void SetWholeFields(bool on) { FWholeFields = on; }

private:
    struct TParts {
        Word Year, Month, Day, Hour, Min, Sec, MSec;
    };
    TParts Parts() const;
    bool Apply(const TParts& p);   // encode, clamp, answer whether changed
    TDateTime Clamped(TDateTime v) const;
    String ItemText(const TDtFormatItem& it, const TParts& p) const;
    Integer FieldMax(TDtField f, const TParts& p) const;
    bool Commit(Integer value);
    void Advance();   // to the next editable item after a complete field

    std::vector<TDtFormatItem> FItems;
    TDateTime FValue = 0;
    TDateTime FMinDate = 0, FMaxDate = 0;
    Integer FActive = -1;
    String FTyped;   // digits typed into the active field
    bool FWholeFields = false;
};

// ---------------------------------------------------------------------------
// Month calendar
// ---------------------------------------------------------------------------

struct TMonthCalCell {
    TDateTime Date = 0;
    Word Day = 0;
    bool InMonth = false;   // false for the leading and trailing days of the months around
    bool Today = false;
};

// Six weeks of seven days; row 0 holds the month's first day.
struct TMonthCalGrid {
    Word Year = 0, Month = 0;
    Integer FirstDayOfWeek = 0;   // 0 Monday ... 6 Sunday
    TMonthCalCell Cells[6][7];
    Integer WeekNumbers[6] = {};   // ISO 8601
};

// firstDayOfWeek: 0 Monday ... 6 Sunday (other values are taken modulo 7).
TMonthCalGrid BuildMonthCalGrid(Word year, Word month, Integer firstDayOfWeek, TDateTime today);
// The ISO 8601 week (weeks start on Monday; week 1 holds the year's first
// Thursday).
Integer IsoWeekNumber(TDateTime date);
