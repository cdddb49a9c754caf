// String, number, format, date/time and random routines of the base layer.
//
// Positions are 1-based where the platform's routines use them (Pos, Copy,
// Delete, Insert, Val error codes). Number and date texts follow the
// platform's rules rather than C's: FloatToStr gives 15 significant digits,
// Round ties to even, and every routine that depends on separators or names
// reads the global FormatSettings at each call (or an explicit record given
// to the overload that takes one), never the C library's locale.
#pragma once

#include <concepts>
#include <functional>
#include <initializer_list>

#include "platform/base/Exceptions.h"
#include "platform/base/Types.h"

// ---------------------------------------------------------------------------
// Format settings

struct TFormatSettings {
    String CurrencyString;
    Byte CurrencyFormat = 0;    // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $"
    Byte NegCurrFormat = 0;     // 0 "($1)", 1 "-$1", 2 "$-1", 3 "$1-", 4 "(1$)", 5 "-1$", ...
    Byte CurrencyDecimals = 2;
    Char DecimalSeparator = L'.';
    Char ThousandSeparator = L',';
    Char DateSeparator = L'/';
    Char TimeSeparator = L':';
    Char ListSeparator = L',';
    String ShortDateFormat;
    String LongDateFormat;
    String ShortTimeFormat;
    String LongTimeFormat;
    String TimeAMString;
    String TimePMString;
    String ShortMonthNames[12];
    String LongMonthNames[12];
    String ShortDayNames[7];     // [0] = Sunday
    String LongDayNames[7];
    Word TwoDigitYearCenturyWindow = 50;
};

// English (United States) settings: "." decimal, "," thousands, "M/d/yyyy",
// "h:mm AMPM" with AM/PM.
TFormatSettings DefaultFormatSettings();
// Settings for a POSIX locale name such as "de_DE.UTF-8"; "C", "POSIX", an
// empty or unknown name give DefaultFormatSettings().
TFormatSettings FormatSettingsForLocale(const std::string& numericLocale, const std::string& timeLocale);

// The process-wide settings, initialised from LC_ALL / LC_NUMERIC / LC_TIME /
// LANG at start-up.
extern TFormatSettings FormatSettings;

// Saves FormatSettings on construction and restores them on destruction.
class TFormatSettingsScope {
public:
    TFormatSettingsScope() : FSaved(FormatSettings) {}
    explicit TFormatSettingsScope(const TFormatSettings& use) : FSaved(FormatSettings) { FormatSettings = use; }
    ~TFormatSettingsScope() { FormatSettings = FSaved; }
    TFormatSettingsScope(const TFormatSettingsScope&) = delete;
    TFormatSettingsScope& operator=(const TFormatSettingsScope&) = delete;

private:
    TFormatSettings FSaved;
};

// ---------------------------------------------------------------------------
// Strings (1-based positions)

// Position of sub in s, 0 when absent or sub is empty.
Integer Pos(const String& sub, const String& s);
// Like Pos, searching from offset (1-based); 0 when offset is out of range.
Integer PosEx(const String& sub, const String& s, Integer offset = 1);
// count characters from index; index < 1 counts as 1, count clipped at the end.
String Copy(const String& s, Integer index, Integer count);
void Delete(String& s, Integer index, Integer count);
// Inserts sub before position index (clamped to 1..Length+1).
void Insert(const String& sub, String& s, Integer index);

// Remove characters <= ' ' (control characters and blanks).
String Trim(const String& s);
String TrimLeft(const String& s);
String TrimRight(const String& s);

// ASCII letters only.
String UpperCase(const String& s);
String LowerCase(const String& s);
// All letters (Latin, Greek, Cyrillic...), independent of the process locale.
String AnsiUpperCase(const String& s);
String AnsiLowerCase(const String& s);
Char AnsiUpperChar(Char c);
Char AnsiLowerChar(Char c);

enum TReplaceFlags : unsigned { rfNone = 0, rfReplaceAll = 1, rfIgnoreCase = 2 };
constexpr TReplaceFlags operator|(TReplaceFlags a, TReplaceFlags b)
{
    return TReplaceFlags(unsigned(a) | unsigned(b));
}
String StringReplace(const String& s, const String& oldPattern, const String& newPattern,
                     TReplaceFlags flags = rfNone);

// Comparisons return < 0, 0 or > 0.
Integer CompareStr(const String& a, const String& b);        // ordinal
Integer CompareText(const String& a, const String& b);       // ASCII case-insensitive
// Collation a user expects, the same on every machine: letters compare by
// their base letter first (case and accents ignored), then accents, then
// case (lower before upper); punctuation sorts before digits before letters.
Integer AnsiCompareStr(const String& a, const String& b);
// As AnsiCompareStr without the case level.
Integer AnsiCompareText(const String& a, const String& b);
bool SameStr(const String& a, const String& b);
bool SameText(const String& a, const String& b);
bool AnsiSameStr(const String& a, const String& b);
bool AnsiSameText(const String& a, const String& b);

// Null-terminated comparisons; a null pointer counts as an empty string.
Integer StrComp(const Char* a, const Char* b);
Integer StrIComp(const Char* a, const Char* b);
Integer StrLComp(const Char* a, const Char* b, Cardinal maxLen);
Integer StrLIComp(const Char* a, const Char* b, Cardinal maxLen);
// Natural order: runs of digits compare by value ("file9" < "file10"),
// letters without regard to case.
Integer StrCmpLogicalW(const Char* a, const Char* b);

// Splits precomposed letters into base letter and combining mark
// ("\u00E9" -> "e\u0301"); other characters are kept.
String FoldStringComposite(const String& s);

String StringOfChar(Char c, Integer count);
String LeftStr(const String& s, Integer count);
String RightStr(const String& s, Integer count);
String QuotedStr(const String& s);

// ---------------------------------------------------------------------------
// Integers

String IntToStr(Integer value);
String IntToStr(Int64 value);
String UIntToStr(UInt64 value);
template <std::integral T>
String IntToStr(T value)
{
    if constexpr (std::is_signed_v<T>) return IntToStr(Int64(value));
    else return UIntToStr(UInt64(value));
}
// Upper-case hexadecimal, at least digits wide. A negative value shows its
// two's complement at the width of its type (32 or 64 bits).
String IntToHex(Integer value, Integer digits);
String IntToHex(Int64 value, Integer digits);
String IntToHex(UInt64 value, Integer digits);
template <std::integral T>
String IntToHex(T value, Integer digits)
{
    if constexpr (sizeof(T) <= 4) return IntToHex(UInt64(uint32_t(value)), digits);
    else return IntToHex(UInt64(value), digits);
}

// Decimal or hexadecimal ("$1F", "0x1F"), optional sign, leading blanks
// allowed, trailing ones not. Raise EConvertError
// "'<s>' is not a valid integer value".
Integer StrToInt(const String& s);
Int64 StrToInt64(const String& s);
bool TryStrToInt(const String& s, Integer& value);
bool TryStrToInt64(const String& s, Int64& value);
Integer StrToIntDef(const String& s, Integer def);
Int64 StrToInt64Def(const String& s, Int64 def);

// code = 0 on success, else the 1-based position of the first character that
// could not be used (Length + 1 when the text ended too early).
void Val(const String& s, Integer& value, Integer& code);
void Val(const String& s, Int64& value, Integer& code);
// Floating point with "." as the decimal point whatever the settings.
void Val(const String& s, Extended& value, Integer& code);

// ---------------------------------------------------------------------------
// Floating point

// Digits, the settings' decimal separator, an optional exponent; blanks
// around the number allowed, no thousand separators; "12." and ".5" accepted.
// Raise EConvertError "'<s>' is not a valid floating point value".
Extended StrToFloat(const String& s);
Extended StrToFloat(const String& s, const TFormatSettings& fs);
bool TryStrToFloat(const String& s, Extended& value);
bool TryStrToFloat(const String& s, Extended& value, const TFormatSettings& fs);
Extended StrToFloatDef(const String& s, Extended def);
Extended StrToFloatDef(const String& s, Extended def, const TFormatSettings& fs);
bool TextToFloat(const String& s, Extended& value);
bool TextToFloat(const String& s, Extended& value, const TFormatSettings& fs);

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// Shortest text with 15 significant digits; exponent form ("1E15", "1.5E-5")
// below 0.0001 and from 1E15 up.
String FloatToStr(Extended value);
String FloatToStr(Extended value, const TFormatSettings& fs);
String FloatToStrF(Extended value, TFloatFormat format, Integer precision, Integer digits);
String FloatToStrF(Extended value, TFloatFormat format, Integer precision, Integer digits,
                   const TFormatSettings& fs);
// Masks of 0 # . , E+ E- e+ e-, quoted literals and up to three sections
// (positive;negative;zero).
String FormatFloat(const String& mask, Extended value);
String FormatFloat(const String& mask, Extended value, const TFormatSettings& fs);
// The same for a literal mask, without copying it into a String first.
String FormatFloat(const Char* mask, Extended value);
String FormatFloat(const Char* mask, Extended value, const TFormatSettings& fs);

// Nearest integer, ties to even.
Int64 Round(Extended value);
Int64 Trunc(Extended value);
Extended Frac(Extended value);
Extended Int(Extended value);
Int64 Ceil(Extended value);
Int64 Floor(Extended value);

// ---------------------------------------------------------------------------
// Format

// One argument of Format.
struct TVarRec {
    enum TKind { vtInteger, vtInt64, vtExtended, vtString, vtPChar, vtPointer, vtChar, vtBoolean };
    TKind Kind = vtInteger;
    Int64 VInteger = 0;         // vtInteger, vtInt64, vtBoolean
    Extended VExtended = 0;     // vtExtended
    String VString;             // vtString, vtPChar (copied), vtChar
    const void* VPointer = nullptr;  // vtPointer

    template <std::integral T>
    TVarRec(T v)
    {
        if constexpr (std::is_same_v<T, bool>) { Kind = vtBoolean; VInteger = v ? 1 : 0; }
        else if constexpr (std::is_same_v<T, wchar_t> || std::is_same_v<T, char>) {
            Kind = vtChar; VString = String(1, Char(v));
        } else if constexpr (std::is_signed_v<T> && sizeof(T) <= 4) { Kind = vtInteger; VInteger = v; }
        else { Kind = vtInt64; VInteger = Int64(v); }
    }
    template <typename E>
        requires std::is_enum_v<E>
    TVarRec(E v) : Kind(vtInt64), VInteger(Int64(v))
    {
    }
    TVarRec(double v) : Kind(vtExtended), VExtended(v) {}
    TVarRec(float v) : Kind(vtExtended), VExtended(v) {}
    TVarRec(const String& v) : Kind(vtString), VString(v) {}
    TVarRec(const Char* v) : Kind(vtPChar), VString(v ? v : L"") {}
    TVarRec(const void* v) : Kind(vtPointer), VPointer(v) {}
};
using TVarRecs = std::initializer_list<TVarRec>;

// %[index:][-][width][.precision]type with types d u x e f g n m p s and "%%";
// width, precision and index may be "*" (taken from the next argument).
// Raise EConvertError "Format '<fmt>' invalid or incompatible with argument"
// or "No argument for format '<fmt>'".
String Format(const String& fmt, TVarRecs args);
String Format(const String& fmt, TVarRecs args, const TFormatSettings& fs);
// The same for a literal format, without copying it into a String first.
String Format(const Char* fmt, TVarRecs args);
String Format(const Char* fmt, TVarRecs args, const TFormatSettings& fs);

// ---------------------------------------------------------------------------
// Date and time (TDateTime: days since 1899-12-30, time as the fraction)

constexpr Integer HoursPerDay = 24;
constexpr Integer MinsPerDay = 24 * 60;
constexpr Integer SecsPerDay = 24 * 60 * 60;
constexpr Integer MSecsPerDay = SecsPerDay * 1000;

bool IsLeapYear(Word year);
Word DaysInAMonth(Word year, Word month);
Word DaysInMonth(TDateTime value);

// Raise EConvertError "Invalid argument to date encode" / "... time encode".
TDateTime EncodeDate(Word year, Word month, Word day);
TDateTime EncodeTime(Word hour, Word min, Word sec, Word msec);
TDateTime EncodeDateTime(Word year, Word month, Word day, Word hour, Word min, Word sec, Word msec);
bool TryEncodeDate(Word year, Word month, Word day, TDateTime& value);
bool TryEncodeTime(Word hour, Word min, Word sec, Word msec, TDateTime& value);
void DecodeDate(TDateTime value, Word& year, Word& month, Word& day);
void DecodeTime(TDateTime value, Word& hour, Word& min, Word& sec, Word& msec);
void DecodeDateTime(TDateTime value, Word& year, Word& month, Word& day, Word& hour, Word& min,
                    Word& sec, Word& msec);
// 1 = Sunday ... 7 = Saturday.
Word DayOfWeek(TDateTime value);
// Between TDateTime and a SYSTEMTIME (dates from year 1 on).
TDateTime SystemTimeToDateTime(const SYSTEMTIME& systemTime);
void DateTimeToSystemTime(TDateTime value, SYSTEMTIME& systemTime);
// Same day and time months later (or earlier); the day is clamped to the
// length of the target month.
TDateTime IncMonth(TDateTime value, Integer months = 1);

// The local wall clock, or the provider set for tests (nullptr restores the
// real clock).
TDateTime Now();
TDateTime Date();
TDateTime Time();
void SetNowProvider(std::function<TDateTime()> provider);

String DateToStr(TDateTime value);
String DateToStr(TDateTime value, const TFormatSettings& fs);
String TimeToStr(TDateTime value);
String TimeToStr(TDateTime value, const TFormatSettings& fs);
String DateTimeToStr(TDateTime value);
String DateTimeToStr(TDateTime value, const TFormatSettings& fs);

// Numbers in ShortDateFormat's day/month/year order separated by
// DateSeparator; two-digit years fall in the TwoDigitYearCenturyWindow;
// a missing year is the current one. Raise EConvertError
// "'<s>' is not a valid date" / "... time" / "... date and time".
TDateTime StrToDate(const String& s);
TDateTime StrToDate(const String& s, const TFormatSettings& fs);
bool TryStrToDate(const String& s, TDateTime& value);
bool TryStrToDate(const String& s, TDateTime& value, const TFormatSettings& fs);
TDateTime StrToDateDef(const String& s, TDateTime def);
TDateTime StrToTime(const String& s);
TDateTime StrToTime(const String& s, const TFormatSettings& fs);
bool TryStrToTime(const String& s, TDateTime& value);
bool TryStrToTime(const String& s, TDateTime& value, const TFormatSettings& fs);
TDateTime StrToTimeDef(const String& s, TDateTime def);
TDateTime StrToDateTime(const String& s);
TDateTime StrToDateTime(const String& s, const TFormatSettings& fs);
bool TryStrToDateTime(const String& s, TDateTime& value);
bool TryStrToDateTime(const String& s, TDateTime& value, const TFormatSettings& fs);
TDateTime StrToDateTimeDef(const String& s, TDateTime def);

// Mask letters d dd ddd dddd ddddd dddddd m mm mmm mmmm yy yyyy h hh n nn s ss
// z zzz t tt c am/pm a/p ampm, "/" and ":" as the settings' separators, and
// text in single or double quotes; "m" right after an hour means minutes.
String FormatDateTime(const String& fmt, TDateTime value);
String FormatDateTime(const String& fmt, TDateTime value, const TFormatSettings& fs);

// ---------------------------------------------------------------------------
// Random numbers: one generator shared by all threads.

void Randomize();
// [0, range); 0 when range <= 0.
Integer Random(Integer range);
// [0, 1).
Extended Random();
// [min(from, to), max(from, to)).
Integer RandomRange(Integer from, Integer to);
