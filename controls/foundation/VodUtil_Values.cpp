// Value classes of cell texts, number normalisation and the date readers.
#include <algorithm>
#include <climits>

#include "controls/foundation/LibraryStartup.h"
#include "controls/foundation/VodUtil.h"
#include "platform/base/Unicode.h"

namespace {

// Reads all of S as a decimal integer: leading blanks, an optional sign (not
// in the parts of a date or time), at least one digit and nothing after them.
// Digits counts the digits read.
bool ReadDecimal(const String& S, Integer& Value, Integer* Digits = nullptr, bool Signed = false)
{
    size_t i = 0, n = S.size();
    while (i < n && S[i] == L' ') ++i;
    bool negative = false;
    if (Signed && i < n && (S[i] == L'-' || S[i] == L'+')) negative = S[i++] == L'-';
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

namespace {

// The rules as they read, for texts with characters beyond ASCII (digits of
// other scripts, other numbers).
Byte ClassifyAnyText(const String& S)
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

}  // namespace

namespace {

// What a character is to the classifier, as bits (a separator may also be
// another one, or "-"): digit, thousand and decimal separator, date and time
// separator, "-", "e" or "E", "+".
enum : uint8_t {
    cfDigit = 1, cfThousand = 2, cfDecimal = 4, cfDateSep = 8, cfTimeSep = 16, cfMinus = 32, cfE = 64, cfPlus = 128,
};
// The tests a character fails.
enum : uint8_t { bdInteger = 1, bdFloat = 2, bdScientific = 4, bdDate = 8, bdTime = 16 };

constexpr uint8_t BadFor(unsigned f, bool notFirst)
{
    uint8_t bad = 0;
    if (!(f & (cfDigit | cfMinus))) bad |= bdInteger;
    if (!(f & (cfDigit | cfMinus | cfThousand | cfDecimal))) bad |= bdFloat;
    if ((f & cfThousand) || !(f & (cfDigit | cfDecimal | cfE | cfPlus | cfMinus))) bad |= bdScientific;
    if (!(f & (cfDigit | cfDateSep))) bad |= bdDate;
    if (!(f & (cfDigit | cfTimeSep))) bad |= bdTime;
    if (notFirst && (f & cfMinus)) bad |= bdInteger | bdFloat;
    return bad;
}

// One table word per character: the counters of "-", decimal separators,
// date and time separators and "e"/"E", 11 bits each from bit 0 (texts of
// more than 2047 characters take the plain path); at bit 55 the three flags
// the look-back rules need (thousand, date and time separator); the tests the
// character fails in the top five bits. Adding the words counts, or-ing them
// collects the failures.
constexpr int kLookShift = 55;
constexpr int kBadShift = 59;
constexpr uint64_t kCountMask = (uint64_t(1) << 55) - 1;
enum : unsigned { lkThousand = 1, lkDateSep = 2, lkTimeSep = 4 };

constexpr uint64_t WordFor(unsigned f, bool notFirst)
{
    return uint64_t((f & cfMinus) != 0) | uint64_t((f & cfDecimal) != 0) << 11 |
           uint64_t((f & cfDateSep) != 0) << 22 | uint64_t((f & cfTimeSep) != 0) << 33 |
           uint64_t((f & cfE) != 0) << 44 |
           uint64_t(((f & cfThousand) ? unsigned(lkThousand) : 0u) | ((f & cfDateSep) ? unsigned(lkDateSep) : 0u) |
                    ((f & cfTimeSep) ? unsigned(lkTimeSep) : 0u)) << kLookShift |
           uint64_t(BadFor(f, notFirst)) << kBadShift;
}

// The words of a text's first character, by its flags.
struct TFirstWords {
    uint64_t Word[256];
    constexpr TFirstWords() : Word()
    {
        for (unsigned f = 0; f < 256; ++f) Word[f] = WordFor(f, false);
    }
};
constexpr TFirstWords kFirstWords;

// The flags and words of the ASCII characters for the separators last seen on
// this thread; the separators are compared at every call, so a change of the
// settings takes effect at once.
struct TAsciiTables {
    Char Thousand = 0, Decimal = 0, DateSep = 0, TimeSep = 0;
    bool Valid = false;
    uint8_t Flags[128] = {};
    uint64_t Words[128] = {};   // for every character but the first

    void Prepare(Char th, Char dec, Char ds, Char ts)
    {
        if (Valid && th == Thousand && dec == Decimal && ds == DateSep && ts == TimeSep) return;
        Thousand = th, Decimal = dec, DateSep = ds, TimeSep = ts;
        for (int c = 0; c < 128; ++c) {
            const Char ch = Char(c);
            uint8_t f = ch >= L'0' && ch <= L'9' ? cfDigit : 0;
            if (ch == th) f |= cfThousand;
            if (ch == dec) f |= cfDecimal;
            if (ch == ds) f |= cfDateSep;
            if (ch == ts) f |= cfTimeSep;
            if (ch == L'-') f |= cfMinus;
            if (ch == L'e' || ch == L'E') f |= cfE;
            if (ch == L'+') f |= cfPlus;
            Flags[c] = f;
            Words[c] = WordFor(f, true);
        }
        Valid = true;
    }
};

thread_local TAsciiTables GAsciiTables;

// The class from the outcome of the tests: bit 0 integer, 1 float without
// exponent, 2 scientific with one, 3 time, 4 date with two separators, 5 more
// than one "-" or decimal separator.
struct TClassOfOutcome {
    Byte Class[64];
    constexpr TClassOfOutcome() : Class()
    {
        for (unsigned o = 0; o < 64; ++o) {
            Byte c = vcText;
            if (o & 1) c = vcInteger;
            else if (o & 2) c = vcFloat;
            else if (o & 4) c = vcScientific;
            if (o & 8) c = vcTime;
            else if (o & 16) c = vcDate;
            else if (o & 32) c = vcText;
            Class[o] = c;
        }
    }
    constexpr Byte operator[](unsigned o) const { return Class[o]; }
};
constexpr TClassOfOutcome kClassOfOutcome;

}  // namespace

// The grid classifies every cell it sorts, filters or formats, so an ASCII
// text is scanned without branches on its characters: one table word per
// character adds its counters and brings the tests it fails, and the two
// rules that look back (a thousand separator less than 4 positions after the
// previous one, a separator right after one of its kind) look at the last
// three characters' look-back flags. Other texts take the plain reading.
Byte ClassifyValueText(const String& S)
{
    const size_t n = S.size();
    if (n == 0) return vcText;
    if (n > 2047) return ClassifyAnyText(S);
    TAsciiTables& t = GAsciiTables;
    t.Prepare(FormatSettings.ThousandSeparator, FormatSettings.DecimalSeparator, FormatSettings.DateSeparator,
              FormatSettings.TimeSeparator);
    const uint64_t* words = t.Words;
    const Char* p = S.data();

    const uint32_t c0 = uint32_t(p[0]);
    const unsigned firstFlags = t.Flags[c0 & 0x7F];
    uint64_t word = kFirstWords.Word[firstFlags], counts = word, failed = word;
    uint32_t any = c0;   // every character or-ed: above 0x7F when one is beyond ASCII
    unsigned look = 0;
    if (n <= 21) {
        // Short texts, as most cells are: the look-back flags of all characters
        // side by side, three bits each, compared with themselves shifted by
        // one, two and three characters after the scan.
        uint64_t flags = (word >> kLookShift) & 7;
        for (size_t i = 1; i < n; ++i) {
            const uint32_t c = uint32_t(p[i]);
            any |= c;
            word = words[c & 0x7F];
            counts += word;
            failed |= word;
            flags |= ((word >> kLookShift) & 7) << (3 * i);
        }
        constexpr uint64_t kThousands = 0x9249249249249249ull & ((uint64_t(1) << 63) - 1);   // bits 0, 3, 6, ...
        const uint64_t before1 = flags << 3, near = before1 | flags << 6 | flags << 9;
        if (flags & near & kThousands) look |= lkThousand;
        if (flags & before1 & (kThousands << 1)) look |= lkDateSep;
        if (flags & before1 & (kThousands << 2)) look |= lkTimeSep;
    } else {
        unsigned history = unsigned(word >> kLookShift) & 7;   // the latest character lowest
        for (size_t i = 1; i < n; ++i) {
            const uint32_t c = uint32_t(p[i]);
            any |= c;
            word = words[c & 0x7F];
            const unsigned lb = unsigned(word >> kLookShift) & 7;
            look |= lb & ((history & (lkDateSep | lkTimeSep)) | ((history | history >> 4 | history >> 8) & lkThousand));
            history = (history << 4) | lb;
            counts += word;
            failed |= word;
        }
    }
    if (any > 0x7F) return ClassifyAnyText(S);   // digits of other scripts need the tables

    unsigned bad = unsigned(failed >> kBadShift);
    if (look & lkThousand) bad |= bdFloat;
    if (look & lkDateSep) bad |= bdDate;
    if (look & lkTimeSep) bad |= bdTime;
    counts &= kCountMask;
    const unsigned minus = counts & 0x7FF, decimals = (counts >> 11) & 0x7FF;
    const unsigned dateSeps = (counts >> 22) & 0x7FF, timeSeps = (counts >> 33) & 0x7FF;
    const unsigned es = (counts >> 44) & 0x7FF;
    const unsigned lastFlags = t.Flags[p[n - 1]];
    if (es > 1 || (firstFlags & cfE) || (lastFlags & (cfE | cfPlus | cfMinus))) bad |= bdScientific;
    // Both the date and the time test need a digit first; a third separator of
    // its kind ends each.
    const unsigned firstDigit = firstFlags & cfDigit;
    const unsigned outcome = unsigned(!(bad & bdInteger)) | unsigned(!(bad & bdFloat) && es == 0) << 1 |
                             unsigned(!(bad & bdScientific) && es > 0) << 2 |
                             unsigned(firstDigit && !(bad & bdTime) && timeSeps - 1 < 2) << 3 |
                             unsigned(firstDigit && !(bad & bdDate) && dateSeps == 2) << 4 |
                             unsigned(minus > 1 || decimals > 1) << 5;
    return kClassOfOutcome[outcome];
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
    if (!ReadDecimal(s.substr(1, c - 1), row, nullptr, true) || !ReadDecimal(s.substr(c + 1), col, nullptr, true))
        return false;
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
