// Dates and times: encoding, decoding, the clock, text in both directions.
#include "platform/base/SysUtils.h"

namespace {
[[noreturn]] void NotYet(const wchar_t* what)
{
    throw ENotSupportedException(String(what) + L" is not available yet");
}
}  // namespace

bool IsLeapYear(Word) { NotYet(L"IsLeapYear"); }
Word DaysInAMonth(Word, Word) { NotYet(L"DaysInAMonth"); }
Word DaysInMonth(TDateTime) { NotYet(L"DaysInMonth"); }
TDateTime EncodeDate(Word, Word, Word) { NotYet(L"EncodeDate"); }
TDateTime EncodeTime(Word, Word, Word, Word) { NotYet(L"EncodeTime"); }
TDateTime EncodeDateTime(Word, Word, Word, Word, Word, Word, Word) { NotYet(L"EncodeDateTime"); }
bool TryEncodeDate(Word, Word, Word, TDateTime&) { NotYet(L"TryEncodeDate"); }
bool TryEncodeTime(Word, Word, Word, Word, TDateTime&) { NotYet(L"TryEncodeTime"); }
void DecodeDate(TDateTime, Word&, Word&, Word&) { NotYet(L"DecodeDate"); }
void DecodeTime(TDateTime, Word&, Word&, Word&, Word&) { NotYet(L"DecodeTime"); }
void DecodeDateTime(TDateTime, Word&, Word&, Word&, Word&, Word&, Word&, Word&) { NotYet(L"DecodeDateTime"); }
Word DayOfWeek(TDateTime) { NotYet(L"DayOfWeek"); }
TDateTime IncMonth(TDateTime, Integer) { NotYet(L"IncMonth"); }
TDateTime Now() { NotYet(L"Now"); }
TDateTime Date() { NotYet(L"Date"); }
TDateTime Time() { NotYet(L"Time"); }
void SetNowProvider(std::function<TDateTime()>) { NotYet(L"SetNowProvider"); }
String DateToStr(TDateTime) { NotYet(L"DateToStr"); }
String DateToStr(TDateTime, const TFormatSettings&) { NotYet(L"DateToStr"); }
String TimeToStr(TDateTime) { NotYet(L"TimeToStr"); }
String TimeToStr(TDateTime, const TFormatSettings&) { NotYet(L"TimeToStr"); }
String DateTimeToStr(TDateTime) { NotYet(L"DateTimeToStr"); }
String DateTimeToStr(TDateTime, const TFormatSettings&) { NotYet(L"DateTimeToStr"); }
TDateTime StrToDate(const String&) { NotYet(L"StrToDate"); }
TDateTime StrToDate(const String&, const TFormatSettings&) { NotYet(L"StrToDate"); }
bool TryStrToDate(const String&, TDateTime&) { NotYet(L"TryStrToDate"); }
bool TryStrToDate(const String&, TDateTime&, const TFormatSettings&) { NotYet(L"TryStrToDate"); }
TDateTime StrToDateDef(const String&, TDateTime) { NotYet(L"StrToDateDef"); }
TDateTime StrToTime(const String&) { NotYet(L"StrToTime"); }
TDateTime StrToTime(const String&, const TFormatSettings&) { NotYet(L"StrToTime"); }
bool TryStrToTime(const String&, TDateTime&) { NotYet(L"TryStrToTime"); }
bool TryStrToTime(const String&, TDateTime&, const TFormatSettings&) { NotYet(L"TryStrToTime"); }
TDateTime StrToTimeDef(const String&, TDateTime) { NotYet(L"StrToTimeDef"); }
TDateTime StrToDateTime(const String&) { NotYet(L"StrToDateTime"); }
TDateTime StrToDateTime(const String&, const TFormatSettings&) { NotYet(L"StrToDateTime"); }
bool TryStrToDateTime(const String&, TDateTime&) { NotYet(L"TryStrToDateTime"); }
bool TryStrToDateTime(const String&, TDateTime&, const TFormatSettings&) { NotYet(L"TryStrToDateTime"); }
TDateTime StrToDateTimeDef(const String&, TDateTime) { NotYet(L"StrToDateTimeDef"); }
String FormatDateTime(const String&, TDateTime) { NotYet(L"FormatDateTime"); }
String FormatDateTime(const String&, TDateTime, const TFormatSettings&) { NotYet(L"FormatDateTime"); }
