#include "platform/ui/DateTimePickerModel.h"

#include <algorithm>
#include <cmath>

#include "platform/base/SysUtils.h"

namespace {

Integer Wrap(Integer x, Integer n) { return ((x % n) + n) % n; }

String Digits(Integer v, Integer width)
{
    String s = std::to_wstring(v);
    while (Integer(s.size()) < width) s.insert(s.begin(), L'0');
    return s;
}

bool IsNumeric(TDtField f)
{
    switch (f) {
    case TDtField::Day: case TDtField::Month: case TDtField::MonthName: case TDtField::Year:
    case TDtField::Hour12: case TDtField::Hour24: case TDtField::Minute: case TDtField::Second:
        return true;
    default: return false;
    }
}

// The day of a date-time value, without its time.
TDateTime DayOf(TDateTime v)
{
    Word y, m, d;
    DecodeDate(v, y, m, d);
    return EncodeDate(y, m, d);
}

// 0 Monday ... 6 Sunday.
Integer MondayIndex(TDateTime day) { return (DayOfWeek(day) + 5) % 7; }

String AmPmText(bool pm, Integer width)
{
    String s = pm ? FormatSettings.TimePMString : FormatSettings.TimeAMString;
    if (s.empty()) s = pm ? L"PM" : L"AM";
    return width == 1 ? s.substr(0, 1) : s;
}

}  // namespace

// ---------------------------------------------------------------------------
// Format strings
// ---------------------------------------------------------------------------

std::vector<TDtFormatItem> ParseDateTimeFormat(const String& format)
{
    std::vector<TDtFormatItem> items;
    auto literal = [&](const String& text) {
        if (text.empty()) return;
        if (!items.empty() && items.back().Field == TDtField::Literal)
            items.back().Literal += text;
        else
            items.push_back({TDtField::Literal, 0, text});
    };
    size_t i = 0, n = format.size();
    while (i < n) {
        Char c = format[i];
        if (c == L'\'') {
            // Quoted text; '' inside or outside quotes is one quote.
            if (i + 1 < n && format[i + 1] == L'\'') {
                literal(L"'");
                i += 2;
                continue;
            }
            String text;
            ++i;
            while (i < n) {
                if (format[i] == L'\'') {
                    if (i + 1 < n && format[i + 1] == L'\'') {
                        text += L'\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                text += format[i++];
            }
            literal(text);
            continue;
        }
        size_t j = i;
        while (j < n && format[j] == c) ++j;
        Integer run = Integer(j - i);
        TDtFormatItem it;
        switch (c) {
        case L'd':
            it.Field = run <= 2 ? TDtField::Day : TDtField::DayName;
            it.Width = run <= 2 ? run : std::min(run, 4);
            break;
        case L'M':
            it.Field = run <= 2 ? TDtField::Month : TDtField::MonthName;
            it.Width = std::min(run, 4);
            break;
        case L'y':
            it.Field = TDtField::Year;
            it.Width = run >= 3 ? 4 : run;
            break;
        case L'h': it.Field = TDtField::Hour12; it.Width = std::min(run, 2); break;
        case L'H': it.Field = TDtField::Hour24; it.Width = std::min(run, 2); break;
        case L'm': it.Field = TDtField::Minute; it.Width = std::min(run, 2); break;
        case L's': it.Field = TDtField::Second; it.Width = std::min(run, 2); break;
        case L't': it.Field = TDtField::AmPm; it.Width = std::min(run, 2); break;
        default: literal(format.substr(i, j - i)); i = j; continue;
        }
        items.push_back(it);
        i = j;
    }
    return items;
}

// ---------------------------------------------------------------------------
// Field editing
// ---------------------------------------------------------------------------

void TDateTimeFieldModel::SetFormat(const String& format)
{
    FItems = ParseDateTimeFormat(format);
    FTyped.clear();
    FActive = -1;
    for (Integer i = 0; i < Integer(FItems.size()); ++i)
        if (FItems[i].Editable()) {
            FActive = i;
            break;
        }
}

TDateTimeFieldModel::TParts TDateTimeFieldModel::Parts() const
{
    TParts p{};
    DecodeDateTime(FValue, p.Year, p.Month, p.Day, p.Hour, p.Min, p.Sec, p.MSec);
    return p;
}

TDateTime TDateTimeFieldModel::Clamped(TDateTime v) const
{
    auto withDay = [&](TDateTime day) {
        Word h, mi, s, ms;
        DecodeTime(v, h, mi, s, ms);
        Word y, m, d;
        DecodeDate(day, y, m, d);
        return EncodeDateTime(y, m, d, h, mi, s, ms);
    };
    TDateTime day = DayOf(v);
    if (FMinDate != 0 && day < DayOf(FMinDate)) v = withDay(FMinDate);
    if (FMaxDate != 0 && DayOf(v) > DayOf(FMaxDate)) v = withDay(FMaxDate);
    return v;
}

bool TDateTimeFieldModel::Apply(const TParts& p)
{
    TDateTime d, t;
    if (!TryEncodeDate(p.Year, p.Month, p.Day, d) || !TryEncodeTime(p.Hour, p.Min, p.Sec, p.MSec, t))
        return false;
    TDateTime v = Clamped(EncodeDateTime(p.Year, p.Month, p.Day, p.Hour, p.Min, p.Sec, p.MSec));
    if (v == FValue) return false;
    FValue = v;
    return true;
}

void TDateTimeFieldModel::SetValue(TDateTime v)
{
    FTyped.clear();
    FValue = Clamped(v);
}

void TDateTimeFieldModel::SetMinDate(TDateTime d)
{
    FMinDate = d;
    FValue = Clamped(FValue);
}

void TDateTimeFieldModel::SetMaxDate(TDateTime d)
{
    FMaxDate = d;
    FValue = Clamped(FValue);
}

String TDateTimeFieldModel::ItemText(const TDtFormatItem& it, const TParts& p) const
{
    switch (it.Field) {
    case TDtField::Literal: return it.Literal;
    case TDtField::Day: return Digits(p.Day, it.Width);
    case TDtField::DayName: {
        Integer dow = DayOfWeek(EncodeDate(p.Year, p.Month, p.Day)) - 1;   // 0 Sunday
        return it.Width >= 4 ? FormatSettings.LongDayNames[dow] : FormatSettings.ShortDayNames[dow];
    }
    case TDtField::Month: return Digits(p.Month, it.Width);
    case TDtField::MonthName:
        return it.Width >= 4 ? FormatSettings.LongMonthNames[p.Month - 1]
                             : FormatSettings.ShortMonthNames[p.Month - 1];
    case TDtField::Year:
        if (it.Width == 1) return Digits(p.Year % 10, 1);
        if (it.Width == 2) return Digits(p.Year % 100, 2);
        return Digits(p.Year, 4);
    case TDtField::Hour12: return Digits(p.Hour % 12 == 0 ? 12 : p.Hour % 12, it.Width);
    case TDtField::Hour24: return Digits(p.Hour, it.Width);
    case TDtField::Minute: return Digits(p.Min, it.Width);
    case TDtField::Second: return Digits(p.Sec, it.Width);
    case TDtField::AmPm: return AmPmText(p.Hour >= 12, it.Width);
    }
    return String();
}

String TDateTimeFieldModel::Text() const
{
    TParts p = Parts();
    String s;
    for (Integer i = 0; i < Integer(FItems.size()); ++i)
        s += (i == FActive && !FTyped.empty()) ? FTyped : ItemText(FItems[i], p);
    return s;
}

void TDateTimeFieldModel::ItemBounds(Integer item, Integer& start, Integer& length) const
{
    TParts p = Parts();
    start = 0;
    length = 0;
    for (Integer i = 0; i < Integer(FItems.size()); ++i) {
        Integer len = Integer(((i == FActive && !FTyped.empty()) ? FTyped : ItemText(FItems[i], p)).size());
        if (i == item) {
            length = len;
            return;
        }
        start += len;
    }
}

Integer TDateTimeFieldModel::ItemAtChar(Integer pos) const
{
    Integer best = -1, first = -1;
    for (Integer i = 0; i < Integer(FItems.size()); ++i) {
        if (!FItems[i].Editable()) continue;
        if (first < 0) first = i;
        Integer start, len;
        ItemBounds(i, start, len);
        if (start <= pos) best = i;
        if (pos >= start && pos <= start + len) return i;
    }
    return best >= 0 ? best : first;
}

void TDateTimeFieldModel::SetActiveItem(Integer item)
{
    if (item < 0 || item >= Integer(FItems.size()) || !FItems[item].Editable()) return;
    FinishTyping();
    FActive = item;
}

void TDateTimeFieldModel::NextField()
{
    if (FActive < 0) return;
    FinishTyping();
    Integer n = Integer(FItems.size());
    for (Integer k = 1; k <= n; ++k) {
        Integer i = (FActive + k) % n;
        if (FItems[i].Editable()) {
            FActive = i;
            return;
        }
    }
}

void TDateTimeFieldModel::PrevField()
{
    if (FActive < 0) return;
    FinishTyping();
    Integer n = Integer(FItems.size());
    for (Integer k = 1; k <= n; ++k) {
        Integer i = Wrap(FActive - k, n);
        if (FItems[i].Editable()) {
            FActive = i;
            return;
        }
    }
}

bool TDateTimeFieldModel::Step(Integer delta)
{
    if (FActive < 0) return false;
    FTyped.clear();
    TParts p = Parts();
    switch (FItems[FActive].Field) {
    case TDtField::Day: p.Day = Word(Wrap(p.Day - 1 + delta, DaysInAMonth(p.Year, p.Month)) + 1); break;
    case TDtField::Month: case TDtField::MonthName:
        p.Month = Word(Wrap(p.Month - 1 + delta, 12) + 1);
        p.Day = std::min(p.Day, DaysInAMonth(p.Year, p.Month));
        break;
    case TDtField::Year:
        p.Year = Word(std::clamp<Integer>(p.Year + delta, 1, 9999));
        p.Day = std::min(p.Day, DaysInAMonth(p.Year, p.Month));
        break;
    case TDtField::Hour24: p.Hour = Word(Wrap(p.Hour + delta, 24)); break;
    case TDtField::Hour12: p.Hour = Word((p.Hour / 12) * 12 + Wrap(p.Hour % 12 + delta, 12)); break;
    case TDtField::Minute: p.Min = Word(Wrap(p.Min + delta, 60)); break;
    case TDtField::Second: p.Sec = Word(Wrap(p.Sec + delta, 60)); break;
    case TDtField::AmPm:
        if (delta % 2 != 0) p.Hour = Word((p.Hour + 12) % 24);
        break;
    default: return false;
    }
    return Apply(p);
}

Integer TDateTimeFieldModel::FieldMax(TDtField f, const TParts& p) const
{
    switch (f) {
    case TDtField::Day: return DaysInAMonth(p.Year, p.Month);
    case TDtField::Month: case TDtField::MonthName: return 12;
    case TDtField::Year: return 9999;
    case TDtField::Hour12: return 12;
    case TDtField::Hour24: return 23;
    default: return 59;
    }
}

bool TDateTimeFieldModel::Commit(Integer value)
{
    TParts p = Parts();
    const TDtFormatItem& it = FItems[FActive];
    Integer top = FieldMax(it.Field, p);
    switch (it.Field) {
    case TDtField::Day:
        if (value < 1) return false;
        p.Day = Word(std::min(value, top));
        break;
    case TDtField::Month: case TDtField::MonthName:
        if (value < 1) return false;
        p.Month = Word(std::min(value, top));
        p.Day = std::min(p.Day, DaysInAMonth(p.Year, p.Month));
        break;
    case TDtField::Year:
        // Up to two digits are a year of the century window 1950..2049.
        if (Integer(FTyped.size()) <= 2) value += value < 50 ? 2000 : 1900;
        if (value < 1) return false;
        p.Year = Word(std::min(value, top));
        p.Day = std::min(p.Day, DaysInAMonth(p.Year, p.Month));
        break;
    case TDtField::Hour12:
        if (value < 1) return false;
        p.Hour = Word((p.Hour / 12) * 12 + std::min(value, top) % 12);
        break;
    case TDtField::Hour24: p.Hour = Word(std::min(value, top)); break;
    case TDtField::Minute: p.Min = Word(std::min(value, top)); break;
    case TDtField::Second: p.Sec = Word(std::min(value, top)); break;
    default: return false;
    }
    return Apply(p);
}

bool TDateTimeFieldModel::FinishTyping()
{
    bool changed = false;
    if (!FTyped.empty() && FActive >= 0 && (FItems[FActive].Field == TDtField::Year || FWholeFields))
        changed = Commit(std::stoi(FTyped));
    FTyped.clear();
    return changed;
}

bool TDateTimeFieldModel::TypeChar(Char ch)
{
    if (FActive < 0) return false;
    const TDtFormatItem& it = FItems[FActive];
    if (it.Field == TDtField::AmPm) {
        Char up = AnsiUpperChar(ch);
        TParts p = Parts();
        if (up == AnsiUpperChar(AmPmText(false, 1)[0]) && p.Hour >= 12) p.Hour -= 12;
        else if (up == AnsiUpperChar(AmPmText(true, 1)[0]) && p.Hour < 12) p.Hour += 12;
        else return false;
        return Apply(p);
    }
    if (!IsNumeric(it.Field) || ch < L'0' || ch > L'9') return false;
    FTyped += ch;
    Integer value = std::stoi(FTyped);
    if (it.Field == TDtField::Year) {
        Integer digits = it.Width == 4 ? 4 : 2;
        if (Integer(FTyped.size()) < digits) return false;   // shown, committed when complete
        bool changed = Commit(value);
        FTyped.clear();
        if (!FWholeFields) Advance();
        return changed;
    }
    TParts p = Parts();
    bool complete = FTyped.size() >= 2 || value * 10 > FieldMax(it.Field, p);
    if (FWholeFields && !complete) return false;   // shown, committed when complete
    bool changed = Commit(value);
    if (complete) {
        FTyped.clear();
        if (!FWholeFields) Advance();
    }
    return changed;
}

void TDateTimeFieldModel::Advance()
{
    // The last field keeps the focus; others hand it on.
    for (Integer i = FActive + 1; i < Integer(FItems.size()); ++i)
        if (FItems[i].Editable()) {
            FActive = i;
            return;
        }
}

// ---------------------------------------------------------------------------
// Month calendar
// ---------------------------------------------------------------------------

Integer IsoWeekNumber(TDateTime date)
{
    TDateTime day = DayOf(date);
    TDateTime thursday = day - MondayIndex(day) + 3;
    Word y, m, d;
    DecodeDate(thursday, y, m, d);
    return Integer(std::lround(thursday - EncodeDate(y, 1, 1))) / 7 + 1;
}

TMonthCalGrid BuildMonthCalGrid(Word year, Word month, Integer firstDayOfWeek, TDateTime today)
{
    TMonthCalGrid g;
    g.Year = year;
    g.Month = month;
    g.FirstDayOfWeek = Wrap(firstDayOfWeek, 7);
    TDateTime first = EncodeDate(year, month, 1);
    Integer lead = Wrap(MondayIndex(first) - g.FirstDayOfWeek, 7);
    TDateTime start = first - lead;
    TDateTime todayDay = DayOf(today);
    Integer thursdayCol = Wrap(3 - g.FirstDayOfWeek, 7);
    for (Integer r = 0; r < 6; ++r) {
        for (Integer c = 0; c < 7; ++c) {
            TMonthCalCell& cell = g.Cells[r][c];
            cell.Date = start + r * 7 + c;
            Word y, m, d;
            DecodeDate(cell.Date, y, m, d);
            cell.Day = d;
            cell.InMonth = m == month && y == year;
            cell.Today = cell.Date == todayDay;
        }
        g.WeekNumbers[r] = IsoWeekNumber(g.Cells[r][thursdayCol].Date);
    }
    return g;
}
