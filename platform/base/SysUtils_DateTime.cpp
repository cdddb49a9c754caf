// Dates and times: encoding, decoding, the clock, text in both directions.
#include "platform/base/SysUtils.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <mutex>

namespace {

// Days between 1899-12-30 (day 0 of TDateTime) and 1970-01-01.
constexpr Int64 kUnixEpochDay = 25569;
// TDateTime day numbers of 0001-01-01 and 9999-12-31.
constexpr Int64 kFirstDay = -693593;
constexpr Int64 kLastDay = 2958465;

// Day number of a proleptic Gregorian date relative to 1970-01-01.
Int64 DaysFromCivil(Int64 y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const Int64 era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = unsigned(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + Int64(doe) - 719468;
}

void CivilFromDays(Int64 z, Int64& y, unsigned& m, unsigned& d)
{
    z += 719468;
    const Int64 era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = unsigned(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    y = Int64(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y += m <= 2;
}

// A TDateTime as its day number and the milliseconds into that day (rounded
// to the nearest millisecond; a time that rounds up to midnight moves to the
// next day). False for values outside 0001-01-01 .. 9999-12-31.
bool SplitDateTime(TDateTime value, Int64& day, Integer& msOfDay)
{
    if (!std::isfinite(value) || value < Extended(kFirstDay) - 1 || value > Extended(kLastDay) + 1) {
        day = 0;
        msOfDay = 0;
        return false;
    }
    Extended whole = std::trunc(value);
    day = Int64(whole);
    Int64 ms = Int64(std::llround(std::fabs(value - whole) * MSecsPerDay));
    if (ms >= MSecsPerDay) {
        ms = 0;
        ++day;
    }
    msOfDay = Integer(ms);
    return day >= kFirstDay && day <= kLastDay;
}

// Date part and time part joined the way negative TDateTime values store
// them: the time fraction always counts forward from the start of the day.
TDateTime JoinDateTime(TDateTime date, TDateTime time)
{
    return date >= 0 ? date + time : date - time;
}

}  // namespace

bool IsLeapYear(Word year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

Word DaysInAMonth(Word year, Word month)
{
    static const Word kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

Word DaysInMonth(TDateTime value)
{
    Word y, m, d;
    DecodeDate(value, y, m, d);
    return DaysInAMonth(y, m);
}

bool TryEncodeDate(Word year, Word month, Word day, TDateTime& value)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInAMonth(year, month))
        return false;
    value = TDateTime(DaysFromCivil(year, month, day) + kUnixEpochDay);
    return true;
}

bool TryEncodeTime(Word hour, Word min, Word sec, Word msec, TDateTime& value)
{
    if (hour >= 24 || min >= 60 || sec >= 60 || msec >= 1000) return false;
    value = TDateTime(((Integer(hour) * 60 + min) * 60 + sec) * 1000 + msec) / MSecsPerDay;
    return true;
}

TDateTime EncodeDate(Word year, Word month, Word day)
{
    TDateTime v;
    if (!TryEncodeDate(year, month, day, v)) throw EConvertError(L"Invalid argument to date encode");
    return v;
}

TDateTime EncodeTime(Word hour, Word min, Word sec, Word msec)
{
    TDateTime v;
    if (!TryEncodeTime(hour, min, sec, msec, v)) throw EConvertError(L"Invalid argument to time encode");
    return v;
}

TDateTime EncodeDateTime(Word year, Word month, Word day, Word hour, Word min, Word sec, Word msec)
{
    return JoinDateTime(EncodeDate(year, month, day), EncodeTime(hour, min, sec, msec));
}

void DecodeDateTime(TDateTime value, Word& year, Word& month, Word& day, Word& hour, Word& min, Word& sec,
                    Word& msec)
{
    Int64 dayNo;
    Integer ms;
    if (!SplitDateTime(value, dayNo, ms)) {
        year = month = day = hour = min = sec = msec = 0;
        return;
    }
    Int64 y;
    unsigned m, d;
    CivilFromDays(dayNo - kUnixEpochDay, y, m, d);
    year = Word(y);
    month = Word(m);
    day = Word(d);
    hour = Word(ms / 3600000);
    min = Word(ms / 60000 % 60);
    sec = Word(ms / 1000 % 60);
    msec = Word(ms % 1000);
}

void DecodeDate(TDateTime value, Word& year, Word& month, Word& day)
{
    Word h, n, s, ms;
    DecodeDateTime(value, year, month, day, h, n, s, ms);
}

void DecodeTime(TDateTime value, Word& hour, Word& min, Word& sec, Word& msec)
{
    Word y, m, d;
    DecodeDateTime(value, y, m, d, hour, min, sec, msec);
}

Word DayOfWeek(TDateTime value)
{
    Int64 day;
    Integer ms;
    SplitDateTime(value, day, ms);
    // Day 0 (1899-12-30) was a Saturday.
    return Word(((day - 1) % 7 + 7) % 7 + 1);
}

TDateTime IncMonth(TDateTime value, Integer months)
{
    Word y, m, d;
    DecodeDate(value, y, m, d);
    Int64 total = Int64(y) * 12 + (m - 1) + months;
    Int64 ny = total >= 0 ? total / 12 : (total - 11) / 12;
    Word nm = Word(total - ny * 12 + 1);
    if (ny < 1 || ny > 9999) throw EConvertError(L"Invalid argument to date encode");
    Word nd = std::min(d, DaysInAMonth(Word(ny), nm));
    return JoinDateTime(EncodeDate(Word(ny), nm, nd), std::fabs(value - std::trunc(value)));
}

// ---------------------------------------------------------------------------
// The clock

namespace {

struct ClockState {
    std::mutex lock;
    std::function<TDateTime()> provider;
};

ClockState& Clock()
{
    static ClockState c;
    return c;
}

TDateTime SystemNow()
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    time_t secs = ts.tv_sec;
    tm local{};
    localtime_r(&secs, &local);
    TDateTime date = 0, time = 0;
    if (!TryEncodeDate(Word(local.tm_year + 1900), Word(local.tm_mon + 1), Word(local.tm_mday), date)) return 0;
    // A leap second shows as :60; keep it inside the minute.
    Word sec = Word(local.tm_sec > 59 ? 59 : local.tm_sec);
    TryEncodeTime(Word(local.tm_hour), Word(local.tm_min), sec, Word(ts.tv_nsec / 1000000), time);
    return date + time;
}

}  // namespace

void SetNowProvider(std::function<TDateTime()> provider)
{
    std::lock_guard<std::mutex> hold(Clock().lock);
    Clock().provider = std::move(provider);
}

TDateTime Now()
{
    std::function<TDateTime()> provider;
    {
        std::lock_guard<std::mutex> hold(Clock().lock);
        provider = Clock().provider;
    }
    return provider ? provider() : SystemNow();
}

TDateTime Date() { return std::trunc(Now()); }

TDateTime Time()
{
    TDateTime now = Now();
    return std::fabs(now - std::trunc(now));
}

// ---------------------------------------------------------------------------
// FormatDateTime

namespace {

struct DateParts {
    Word year, month, day, hour, min, sec, msec, dow;
};

String Padded(Integer v, Integer width)
{
    String s = IntToStr(v);
    while (Integer(s.size()) < width) s.insert(s.begin(), L'0');
    return s;
}

inline Char AsciiUpper(Char c) { return (c >= L'a' && c <= L'z') ? Char(c - 32) : c; }

bool StartsNoCase(const String& s, size_t at, const wchar_t* word)
{
    for (size_t k = 0; word[k]; ++k)
        if (at + k >= s.size() || AsciiUpper(s[at + k]) != word[k]) return false;
    return true;
}

// Whether an hour at position `from` is shown on the 12-hour clock: an am/pm
// marker follows before the next hour.
bool Uses12HourClock(const String& fmt, size_t from)
{
    Char quote = 0;
    for (size_t i = from; i < fmt.size(); ++i) {
        Char c = fmt[i];
        if (quote) {
            if (c == quote) quote = 0;
            continue;
        }
        if (c == L'\'' || c == L'"') {
            quote = c;
        } else if (c == L'a' || c == L'A') {
            return StartsNoCase(fmt, i, L"AM/PM") || StartsNoCase(fmt, i, L"A/P") || StartsNoCase(fmt, i, L"AMPM");
        } else if (c == L'h' || c == L'H') {
            return false;
        }
    }
    return false;
}

void AppendDateTime(String& out, const String& fmt, const DateParts& p, const TFormatSettings& fs, int depth)
{
    if (depth > 3) return;   // a format that names itself
    Char lastToken = 0;
    size_t i = 0;
    const size_t n = fmt.size();
    while (i < n) {
        const Char c = fmt[i];
        Char token = AsciiUpper(c);
        size_t count = 1;
        while (i + count < n && AsciiUpper(fmt[i + count]) == token && token >= L'A' && token <= L'Z') ++count;
        if (token >= L'A' && token <= L'Z') {
            if (token == L'M' && lastToken == L'H') token = L'N';
            lastToken = token;
        }
        switch (token) {
        case L'Y':
            out += count <= 2 ? Padded(p.year % 100, 2) : Padded(p.year, 4);
            i += count;
            break;
        case L'M':
            if (count == 1) out += IntToStr(Integer(p.month));
            else if (count == 2) out += Padded(p.month, 2);
            else if (count == 3) out += fs.ShortMonthNames[p.month - 1];
            else out += fs.LongMonthNames[p.month - 1];
            i += count;
            break;
        case L'D':
            if (count == 1) out += IntToStr(Integer(p.day));
            else if (count == 2) out += Padded(p.day, 2);
            else if (count == 3) out += fs.ShortDayNames[p.dow - 1];
            else if (count == 4) out += fs.LongDayNames[p.dow - 1];
            else if (count == 5) AppendDateTime(out, fs.ShortDateFormat, p, fs, depth + 1);
            else AppendDateTime(out, fs.LongDateFormat, p, fs, depth + 1);
            i += count;
            break;
        case L'H': {
            Integer h = p.hour;
            if (Uses12HourClock(fmt, i + count)) {
                h %= 12;
                if (h == 0) h = 12;
            }
            out += count == 1 ? IntToStr(h) : Padded(h, 2);
            i += count;
            break;
        }
        case L'N':
            out += count == 1 ? IntToStr(Integer(p.min)) : Padded(p.min, 2);
            i += count;
            break;
        case L'S':
            out += count == 1 ? IntToStr(Integer(p.sec)) : Padded(p.sec, 2);
            i += count;
            break;
        case L'Z':
            out += Padded(p.msec, Integer(count > 3 ? 3 : count));
            i += count;
            break;
        case L'T':
            AppendDateTime(out, count == 1 ? fs.ShortTimeFormat : fs.LongTimeFormat, p, fs, depth + 1);
            i += count;
            break;
        case L'C':
            AppendDateTime(out, fs.ShortDateFormat, p, fs, depth + 1);
            if (p.hour || p.min || p.sec || p.msec) {
                out += L' ';
                AppendDateTime(out, fs.LongTimeFormat, p, fs, depth + 1);
            }
            i += count;
            break;
        case L'A':
            // Markers keep the letter case written in the format.
            if (StartsNoCase(fmt, i, L"AM/PM")) {
                out.append(fmt, p.hour >= 12 ? i + 3 : i, 2);
                i += 5;
            } else if (StartsNoCase(fmt, i, L"A/P")) {
                out += fmt[p.hour >= 12 ? i + 2 : i];
                i += 3;
            } else if (StartsNoCase(fmt, i, L"AMPM")) {
                out += p.hour >= 12 ? fs.TimePMString : fs.TimeAMString;
                i += 4;
            } else {
                out += c;
                ++i;
            }
            break;
        case L'/':
            out += fs.DateSeparator;
            ++i;
            break;
        case L':':
            out += fs.TimeSeparator;
            ++i;
            break;
        case L'\'':
        case L'"': {
            size_t close = fmt.find(c, i + 1);
            if (close == String::npos) close = n;
            out.append(fmt, i + 1, close - i - 1);
            i = close + 1;
            break;
        }
        default:
            out += c;
            ++i;
            break;
        }
    }
}

}  // namespace

String FormatDateTime(const String& fmt, TDateTime value, const TFormatSettings& fs)
{
    DateParts p{};
    DecodeDateTime(value, p.year, p.month, p.day, p.hour, p.min, p.sec, p.msec);
    if (p.month == 0) {   // outside the calendar: show the first day rather than index names with 0
        p.year = 0;
        p.month = 1;
        p.day = 1;
    }
    p.dow = DayOfWeek(value);
    String out;
    AppendDateTime(out, fmt.empty() ? String(L"c") : fmt, p, fs, 0);
    return out;
}

String FormatDateTime(const String& fmt, TDateTime value) { return FormatDateTime(fmt, value, FormatSettings); }

String DateToStr(TDateTime value, const TFormatSettings& fs) { return FormatDateTime(L"ddddd", value, fs); }
String DateToStr(TDateTime value) { return DateToStr(value, FormatSettings); }
String TimeToStr(TDateTime value, const TFormatSettings& fs) { return FormatDateTime(L"tt", value, fs); }
String TimeToStr(TDateTime value) { return TimeToStr(value, FormatSettings); }
String DateTimeToStr(TDateTime value, const TFormatSettings& fs) { return FormatDateTime(L"c", value, fs); }
String DateTimeToStr(TDateTime value) { return DateTimeToStr(value, FormatSettings); }

// ---------------------------------------------------------------------------
// Text to dates and times

namespace {

struct Scanner {
    const String& s;
    size_t pos = 0;

    void SkipBlanks()
    {
        while (pos < s.size() && s[pos] == L' ') ++pos;
    }
    bool AtEnd()
    {
        SkipBlanks();
        return pos >= s.size();
    }
    // Up to nine digits after optional blanks; digits tells how many were read.
    bool Number(Integer& value, Integer& digits)
    {
        SkipBlanks();
        size_t start = pos;
        Integer v = 0;
        while (pos < s.size() && s[pos] >= L'0' && s[pos] <= L'9') {
            if (pos - start >= 9) return false;
            v = v * 10 + Integer(s[pos++] - L'0');
        }
        digits = Integer(pos - start);
        value = v;
        return digits > 0;
    }
    bool Separator(Char c)
    {
        size_t save = pos;
        SkipBlanks();
        if (pos < s.size() && s[pos] == c) {
            ++pos;
            return true;
        }
        pos = save;
        return false;
    }
    // A word, ignoring ASCII case.
    bool Text(const String& w)
    {
        if (w.empty()) return false;
        size_t save = pos;
        SkipBlanks();
        if (pos + w.size() <= s.size()) {
            bool same = true;
            for (size_t k = 0; k < w.size() && same; ++k) same = AsciiUpper(s[pos + k]) == AsciiUpper(w[k]);
            if (same) {
                pos += w.size();
                return true;
            }
        }
        pos = save;
        return false;
    }
};

enum class DateOrder { MDY, DMY, YMD };

DateOrder OrderOf(const String& shortDateFormat)
{
    Char quote = 0;
    for (Char c : shortDateFormat) {
        if (quote) {
            if (c == quote) quote = 0;
            continue;
        }
        if (c == L'\'' || c == L'"') { quote = c; continue; }
        switch (AsciiUpper(c)) {
        case L'D': return DateOrder::DMY;
        case L'Y': return DateOrder::YMD;
        case L'M': return DateOrder::MDY;
        default: break;
        }
    }
    return DateOrder::MDY;
}

Integer CurrentYear()
{
    Word y, m, d;
    DecodeDate(Now(), y, m, d);
    return y;
}

bool ScanDate(Scanner& sc, const TFormatSettings& fs, TDateTime& value)
{
    Integer n1, n2, n3 = 0, l1, l2, l3 = 0;
    if (!sc.Number(n1, l1) || !sc.Separator(fs.DateSeparator) || !sc.Number(n2, l2)) return false;
    const bool three = sc.Separator(fs.DateSeparator);
    if (three && !sc.Number(n3, l3)) return false;
    const DateOrder order = OrderOf(fs.ShortDateFormat);
    Integer y, m, d, yearDigits;
    if (!three) {
        y = CurrentYear();
        yearDigits = 4;
        if (order == DateOrder::DMY) { d = n1; m = n2; }
        else { m = n1; d = n2; }
    } else if (order == DateOrder::MDY) {
        m = n1; d = n2; y = n3; yearDigits = l3;
    } else if (order == DateOrder::DMY) {
        d = n1; m = n2; y = n3; yearDigits = l3;
    } else {
        y = n1; m = n2; d = n3; yearDigits = l1;
    }
    if (yearDigits <= 2) {
        // Two-digit years land in the window of years ending
        // TwoDigitYearCenturyWindow years before the current one.
        Integer window = fs.TwoDigitYearCenturyWindow;
        Integer century = CurrentYear() - window;
        y += century / 100 * 100;
        if (window > 0 && y < century) y += 100;
    }
    if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1 || d > 31) return false;
    return TryEncodeDate(Word(y), Word(m), Word(d), value);
}

bool ScanAmPm(Scanner& sc, const TFormatSettings& fs, Integer& ampm)
{
    if (sc.Text(fs.TimeAMString) || sc.Text(L"AM")) { ampm = 1; return true; }
    if (sc.Text(fs.TimePMString) || sc.Text(L"PM")) { ampm = 2; return true; }
    return false;
}

bool ScanTime(Scanner& sc, const TFormatSettings& fs, TDateTime& value)
{
    Integer ampm = 0, digits;
    ScanAmPm(sc, fs, ampm);
    Integer h, n = 0, s = 0, ms = 0;
    if (!sc.Number(h, digits)) return false;
    bool hasMinutes = false;
    if (sc.Separator(fs.TimeSeparator)) {
        if (!sc.Number(n, digits)) return false;
        hasMinutes = true;
        if (sc.Separator(fs.TimeSeparator)) {
            if (!sc.Number(s, digits)) return false;
            if (sc.pos < sc.s.size() && sc.s[sc.pos] == fs.DecimalSeparator) {
                // Digits after the seconds are a fraction of a second.
                ++sc.pos;
                Integer frac, fracDigits;
                if (!sc.Number(frac, fracDigits)) return false;
                while (fracDigits > 3) { frac /= 10; --fracDigits; }
                while (fracDigits < 3) { frac *= 10; ++fracDigits; }
                ms = frac;
            }
        }
    }
    if (ampm == 0) ScanAmPm(sc, fs, ampm);
    if (!hasMinutes && ampm == 0) return false;
    if (ampm) {
        if (h > 12) return false;
        if (h == 12) h = 0;
        if (ampm == 2) h += 12;
    }
    if (h > 23 || n > 59 || s > 59) return false;
    return TryEncodeTime(Word(h), Word(n), Word(s), Word(ms), value);
}

}  // namespace

bool TryStrToDate(const String& s, TDateTime& value, const TFormatSettings& fs)
{
    Scanner sc{s};
    TDateTime v;
    if (!ScanDate(sc, fs, v) || !sc.AtEnd()) return false;
    value = v;
    return true;
}

bool TryStrToTime(const String& s, TDateTime& value, const TFormatSettings& fs)
{
    Scanner sc{s};
    TDateTime v;
    if (!ScanTime(sc, fs, v) || !sc.AtEnd()) return false;
    value = v;
    return true;
}

bool TryStrToDateTime(const String& s, TDateTime& value, const TFormatSettings& fs)
{
    Scanner sc{s};
    TDateTime date, time = 0;
    if (ScanDate(sc, fs, date)) {
        if (!sc.AtEnd() && (!ScanTime(sc, fs, time) || !sc.AtEnd())) return false;
        value = JoinDateTime(date, time);
        return true;
    }
    return TryStrToTime(s, value, fs);
}

bool TryStrToDate(const String& s, TDateTime& value) { return TryStrToDate(s, value, FormatSettings); }
bool TryStrToTime(const String& s, TDateTime& value) { return TryStrToTime(s, value, FormatSettings); }
bool TryStrToDateTime(const String& s, TDateTime& value) { return TryStrToDateTime(s, value, FormatSettings); }

TDateTime StrToDate(const String& s, const TFormatSettings& fs)
{
    TDateTime v;
    if (!TryStrToDate(s, v, fs)) throw EConvertError(L"'" + s + L"' is not a valid date");
    return v;
}

TDateTime StrToTime(const String& s, const TFormatSettings& fs)
{
    TDateTime v;
    if (!TryStrToTime(s, v, fs)) throw EConvertError(L"'" + s + L"' is not a valid time");
    return v;
}

TDateTime StrToDateTime(const String& s, const TFormatSettings& fs)
{
    TDateTime v;
    if (!TryStrToDateTime(s, v, fs)) throw EConvertError(L"'" + s + L"' is not a valid date and time");
    return v;
}

TDateTime StrToDate(const String& s) { return StrToDate(s, FormatSettings); }
TDateTime StrToTime(const String& s) { return StrToTime(s, FormatSettings); }
TDateTime StrToDateTime(const String& s) { return StrToDateTime(s, FormatSettings); }

TDateTime StrToDateDef(const String& s, TDateTime def)
{
    TDateTime v;
    return TryStrToDate(s, v) ? v : def;
}

TDateTime StrToTimeDef(const String& s, TDateTime def)
{
    TDateTime v;
    return TryStrToTime(s, v) ? v : def;
}

TDateTime StrToDateTimeDef(const String& s, TDateTime def)
{
    TDateTime v;
    return TryStrToDateTime(s, v) ? v : def;
}

TDateTime SystemTimeToDateTime(const SYSTEMTIME& st)
{
    // Days from 1899-12-30 (proleptic Gregorian).
    int64_t y = st.wYear, m = st.wMonth, d = st.wDay;
    y -= m <= 2;
    int64_t era = (y >= 0 ? y : y - 399) / 400;
    int64_t yoe = y - era * 400;
    int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    int64_t days = era * 146097 + doe - 693899;   // 1899-12-30 is day 693899 from 0000-03-01
    double time = (st.wHour * 3600000.0 + st.wMinute * 60000.0 + st.wSecond * 1000.0 + st.wMilliseconds) / 86400000.0;
    // Before the epoch the time still counts forwards from the day's start.
    return days >= 0 ? double(days) + time : double(days) - time;
}

void DateTimeToSystemTime(TDateTime value, SYSTEMTIME& st)
{
    Word y, mo, d, h, mi, s, ms;
    DecodeDateTime(value, y, mo, d, h, mi, s, ms);
    st.wYear = y;
    st.wMonth = mo;
    st.wDay = d;
    st.wDayOfWeek = Word(DayOfWeek(value) - 1);
    st.wHour = h;
    st.wMinute = mi;
    st.wSecond = s;
    st.wMilliseconds = ms;
}
