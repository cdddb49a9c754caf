// Value classes of cell texts, number normalisation and the date readers.
#include <algorithm>
#include <climits>

#include "controls/foundation/LibraryStartup.h"
#include "controls/foundation/VodUtil.h"
#include "platform/base/Unicode.h"

namespace {

// Reads all of S as a decimal integer: leading blanks, an optional sign, at
// least one digit and nothing after them. Digits counts the digits read.
bool ReadDecimal(const String& S, Integer& Value, Integer* Digits = nullptr)
{
    size_t i = 0, n = S.size();
    while (i < n && S[i] == L' ') ++i;
    bool negative = false;
    if (i < n && (S[i] == L'-' || S[i] == L'+')) negative = S[i++] == L'-';
    if (i == n) return false;
    Int64 v = 0;
    Integer count = 0;
    for (; i < n; ++i) {
        Char c = S[i];
        if (c < L'0' || c > L'9') return false;
        v = v * 10 + (c - L'0');
        if (v > Int64(INT32_MAX) + 1) return false;
        ++count;
    }
    if (negative) v = -v;
    if (v > INT32_MAX) return false;
    Value = Integer(v);
    if (Digits) *Digits = count;
    return true;
}

// A date or time part for the platform's encoders: out of their range
// becomes 0, which they refuse.
Word Part(Int64 v) { return v < 0 || v > 0xFFFF ? Word(0) : Word(v); }

// Only a year written with one or two digits gets its century.
Integer WithCentury(Integer Year, Integer Digits)
{
    if (Digits > 2) return Year;
    return Year < 26 ? Year + 2000 : Year + 1900;
}

TDateTime ParseDate(const String& S, bool MonthFirst)
{
    Char sep = 0;
    for (Char c : {L'/', L'.', L'-'})
        if (S.find(c) != String::npos) { sep = c; break; }
    if (!sep) return 0;
    size_t first = S.find(sep);
    size_t second = S.find(sep, first + 1);
    if (second == String::npos) return 0;
    Integer a, b, year, yearDigits;
    if (!ReadDecimal(S.substr(0, first), a) || !ReadDecimal(S.substr(first + 1, second - first - 1), b) ||
        !ReadDecimal(S.substr(second + 1), year, &yearDigits))
        return 0;
    Integer month = MonthFirst ? a : b, day = MonthFirst ? b : a;
    return EncodeDate(Part(WithCentury(year, yearDigits)), Part(month), Part(day));
}

}  // namespace

// ---------------------------------------------------------------------------
// Comparison and integer helpers

Integer NaturalCompareStr(const Char* S1, const Char* S2)
{
    if (TStrCmpLogicalW cmp = LibraryStrCmpLogicalW()) return cmp(S1 ? S1 : L"", S2 ? S2 : L"");
    return StrComp(S1, S2);
}

Integer IntMax(Integer A, Integer B) { return A > B ? A : B; }
Integer IntMin(Integer A, Integer B) { return A < B ? A : B; }

Integer ClipToRange(Integer Value, Integer Min, Integer Max)
{
    if (Value > Max) return Max;
    if (Value < Min) return Min;
    return Value;
}

Integer LimitToMinMax(Integer Value, Integer Min, Integer Max)
{
    if (Min == Max) return Value;
    if (Min > 0 && Value < Min) Value = Min;
    if (Max > 0 && Value > Max) Value = Max;
    return Value;
}

bool PointInGridRect(const TGridRect& Rect, Integer Col, Integer Row)
{
    return Rect.Left <= Col && Col <= Rect.Right && Rect.Top <= Row && Row <= Rect.Bottom;
}

// ---------------------------------------------------------------------------
// Character tests

bool IsDigitChar(Char Ch)
{
    if (uint32_t(Ch) < 0x80) return Ch >= L'0' && Ch <= L'9';
    return IsUnicodeNumber(Ch);
}

bool IsDigitCode(Integer Code) { return Code >= 0 && IsDigitChar(Char(Code)); }

bool IsIntegerChar(Char Ch) { return IsDigitChar(Ch) || Ch == L'-'; }

bool IsFloatChar(Char Ch)
{
    return IsDigitChar(Ch) || Ch == FormatSettings.ThousandSeparator || Ch == FormatSettings.DecimalSeparator ||
           Ch == L'e' || Ch == L'E';
}

bool IsSignedFloatChar(Char Ch) { return IsFloatChar(Ch) || Ch == L'+' || Ch == L'-'; }

bool IsScientificChar(Char Ch)
{
    return IsDigitChar(Ch) || Ch == L'+' || Ch == L'-' || Ch == L'.' || Ch == L'E' || Ch == L'e';
}

bool IsNumericKey(Char Ch)
{
    return IsDigitChar(Ch) || Ch == FormatSettings.ThousandSeparator || Ch == FormatSettings.DecimalSeparator ||
           Ch == L'-' || Ch == 8 || Ch == 9 || Ch == 13 || Ch == 27;
}

// ---------------------------------------------------------------------------
// Value classes and numbers

Byte ClassifyValueText(const String& S)
{
    const size_t n = S.size();
    if (n == 0) return vcText;
    const Char thousand = FormatSettings.ThousandSeparator;
    const Char decimal = FormatSettings.DecimalSeparator;
    const Char dateSep = FormatSettings.DateSeparator;
    const Char timeSep = FormatSettings.TimeSeparator;

    bool allInteger = true, isFloat = true, seenE = false, isSci = true;
    // The date and time tests hold only when the separator occurs at all,
    // which the counts tell at the end.
    bool dateOK = true, timeOK = true;
    Integer dateSeps = 0, timeSeps = 0, minus = 0, decimals = 0;
    size_t lastThousand = 0, lastDateSep = 0, lastTimeSep = 0;
    bool seenThousand = false;

    const Char first = S[0], last = S[n - 1];
    if (!IsDigitChar(first)) dateOK = timeOK = false;
    if (first == L'e' || first == L'E') isSci = false;
    if (last == L'e' || last == L'E' || last == L'+' || last == L'-') isSci = false;

    for (size_t i = 0; i < n; ++i) {
        const Char c = S[i];
        const bool digit = IsDigitChar(c);
        if (c == L'-') {
            ++minus;
            if (i > 0) allInteger = isFloat = false;
        } else if (!digit) {
            allInteger = false;
        }
        if (!digit && c != L'-' && c != thousand && c != decimal) isFloat = false;
        if (c == thousand) {
            if (seenThousand && i - lastThousand < 4) isFloat = false;
            seenThousand = true;
            lastThousand = i;
        }
        if (c == L'e' || c == L'E') {
            if (seenE) isSci = false;
            seenE = true;
        }
        if (c == thousand ||
            !(digit || c == thousand || c == decimal || c == L'e' || c == L'E' || c == L'+' || c == L'-'))
            isSci = false;
        if (c == decimal) ++decimals;
        if (c == dateSep) {
            if (++dateSeps > 2 || (dateSeps > 1 && i == lastDateSep + 1)) dateOK = false;
            lastDateSep = i;
        } else if (!digit) {
            dateOK = false;
        }
        if (c == timeSep) {
            if (++timeSeps > 2 || (timeSeps > 1 && i == lastTimeSep + 1)) timeOK = false;
            lastTimeSep = i;
        } else if (!digit) {
            timeOK = false;
        }
    }
    dateOK = dateOK && dateSeps > 0;
    timeOK = timeOK && timeSeps > 0;

    Byte result = vcText;
    if (allInteger) result = vcInteger;
    else if (isFloat && !seenE) result = vcFloat;
    else if (isSci && seenE) result = vcScientific;
    if (timeOK) result = vcTime;
    else if (dateOK && dateSeps == 2) result = vcDate;
    else if (minus > 1 || decimals > 1) result = vcText;
    return result;
}

String ExtractNumberText(const String& S)
{
    if (S.empty()) return String();
    String s = Trim(S);
    bool negative = s.size() >= 1 && s.front() == L'(' && s.back() == L')';
    size_t start = 0;
    while (s.size() - start >= 2 && !IsFloatChar(s[start])) {
        if (s[start] == L'-') negative = true;
        ++start;
    }
    const Char thousand = FormatSettings.ThousandSeparator;
    const Char decimal = FormatSettings.DecimalSeparator;
    String result;
    for (size_t i = start; i < s.size(); ++i) {
        const Char c = s[i];
        if (c == thousand) continue;
        if (c == decimal) result += L'.';
        else if (IsScientificChar(c)) result += c;
        else break;
    }
    return negative ? L"-" + result : result;
}

String LocalToInvariantNumber(const String& S)
{
    Byte cls = ClassifyValueText(S);
    if (cls != vcInteger && cls != vcFloat) return S;
    const Char thousand = FormatSettings.ThousandSeparator;
    const Char decimal = FormatSettings.DecimalSeparator;
    String result;
    result.reserve(S.size());
    for (Char c : S) {
        if (c == thousand) continue;
        result += c == decimal ? L'.' : c;
    }
    return result;
}

String InvariantToLocalNumber(const String& S)
{
    const Char decimal = FormatSettings.DecimalSeparator;
    Byte cls = ClassifyValueText(S);
    if ((cls != vcInteger && cls != vcFloat) || decimal == L'.') return S;
    String result = S;
    std::replace(result.begin(), result.end(), L'.', decimal);
    return result;
}

bool ParseRCReference(const String& S, TPoint& P)
{
    String s = UpperCase(S);
    if (s.size() < 4 || s[0] != L'R') return false;
    size_t c = s.find(L'C', 1);
    if (c == String::npos) return false;
    Integer row, col;
    if (!ReadDecimal(s.substr(1, c - 1), row) || !ReadDecimal(s.substr(c + 1), col)) return false;
    P.X = col;
    P.Y = row;
    return true;
}

// ---------------------------------------------------------------------------
// Dates

TDateTime ParseDateMDY(const String& S) { return ParseDate(S, true); }
TDateTime ParseDateDMY(const String& S) { return ParseDate(S, false); }

bool TryParseLocaleDateTime(const String& S, TDateTime& Value)
{
    // The order of day, month and year in the short date format; a letter the
    // format lacks goes last.
    String fmt = UpperCase(FormatSettings.ShortDateFormat);
    const Char dateSep = FormatSettings.DateSeparator;
    const Char timeSep = FormatSettings.TimeSeparator;
    struct TField { Char Letter; size_t At; };
    TField order[3] = {{L'D', fmt.find(L'D')}, {L'M', fmt.find(L'M')}, {L'Y', fmt.find(L'Y')}};
    std::stable_sort(std::begin(order), std::end(order),
                     [](const TField& a, const TField& b) { return a.At < b.At; });

    size_t first = S.find(dateSep);
    if (first == String::npos) return false;
    size_t second = S.find(dateSep, first + 1);
    if (second == String::npos) return false;
    String fields[3] = {S.substr(0, first), S.substr(first + 1, second - first - 1), Trim(S.substr(second + 1))};
    String timeText;
    size_t blank = fields[2].find(L' ');
    if (blank != String::npos) {
        timeText = fields[2].substr(blank);
        fields[2].erase(blank);
    }
    Integer day = 0, month = 0, year = 0;
    for (int i = 0; i < 3; ++i) {
        Integer v;
        if (!ReadDecimal(fields[i], v)) return false;
        switch (order[i].Letter) {
        case L'D': day = v; break;
        case L'M': month = v; break;
        default: year = v; break;
        }
    }
    if (day > 31 || month > 12) return false;
    TDateTime date;
    if (!TryEncodeDate(Part(year), Part(month), Part(day), date)) return false;
    Value = date;
    if (timeText.empty()) return true;

    size_t t1 = timeText.find(timeSep);
    if (t1 == String::npos) return false;   // the date stays stored
    Integer hour, minute, second2 = 0;
    if (!ReadDecimal(timeText.substr(0, t1), hour) || hour > 23) return false;
    size_t t2 = timeText.find(timeSep, t1 + 1);
    if (t2 != String::npos) {
        if (!ReadDecimal(timeText.substr(t1 + 1, t2 - t1 - 1), minute) ||
            !ReadDecimal(timeText.substr(t2 + 1), second2))
            return false;
    } else if (!ReadDecimal(timeText.substr(t1 + 1), minute)) {
        return false;
    }
    if (minute > 59 || second2 > 59) return false;
    TDateTime time;
    if (!TryEncodeTime(Part(hour), Part(minute), Part(second2), 0, time)) return false;
    // The time counts forward from the start of the day, also before 1899.
    Value = date >= 0 ? date + time : date - time;
    return true;
}

bool LooksLikeDate(const String& S)
{
    const Char dateSep = FormatSettings.DateSeparator;
    size_t first = S.find(dateSep);
    if (first == String::npos || first < 1) return false;
    return S.find(dateSep, first + 2) != String::npos;
}

TDateTime AddDateParts(Word Years, Word Months, Word Days, TDateTime Date, TDateTime Amount)
{
    const bool y = Years != 0, m = Months != 0, d = Days != 0;
    if (d && !y && !m) return Date + Days;
    if (!(y != m && !d)) return Date + Amount;
    Word year, month, day;
    DecodeDate(Date, year, month, day);
    if (y) return EncodeDate(Part(Int64(year) + Years), month, day);
    Word newMonth = Word(month + Months);
    Int64 newYear = year;
    if (newMonth == 0) {
        newMonth = 12;
        --newYear;
    } else if (newMonth > 12) {
        newMonth = Word(newMonth - 12);
        ++newYear;
    }
    return EncodeDate(Part(newYear), newMonth, day);
}
