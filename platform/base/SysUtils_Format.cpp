// Floating point to and from text, Format and FormatFloat.
#include "platform/base/SysUtils.h"

#include "platform/base/SysUtils_Internal.h"

namespace {
[[noreturn]] void NotYet(const wchar_t* what)
{
    throw ENotSupportedException(String(what) + L" is not available yet");
}
}  // namespace

Extended StrToFloat(const String&) { NotYet(L"StrToFloat"); }
Extended StrToFloat(const String&, const TFormatSettings&) { NotYet(L"StrToFloat"); }
bool TryStrToFloat(const String&, Extended&) { NotYet(L"TryStrToFloat"); }
bool TryStrToFloat(const String&, Extended&, const TFormatSettings&) { NotYet(L"TryStrToFloat"); }
Extended StrToFloatDef(const String&, Extended) { NotYet(L"StrToFloatDef"); }
Extended StrToFloatDef(const String&, Extended, const TFormatSettings&) { NotYet(L"StrToFloatDef"); }
bool TextToFloat(const String&, Extended&) { NotYet(L"TextToFloat"); }
bool TextToFloat(const String&, Extended&, const TFormatSettings&) { NotYet(L"TextToFloat"); }
void Val(const String&, Extended&, Integer&) { NotYet(L"Val"); }
String FloatToStr(Extended) { NotYet(L"FloatToStr"); }
String FloatToStr(Extended, const TFormatSettings&) { NotYet(L"FloatToStr"); }
String FloatToStrF(Extended, TFloatFormat, Integer, Integer) { NotYet(L"FloatToStrF"); }
String FloatToStrF(Extended, TFloatFormat, Integer, Integer, const TFormatSettings&) { NotYet(L"FloatToStrF"); }
String FormatFloat(const String&, Extended) { NotYet(L"FormatFloat"); }
String FormatFloat(const String&, Extended, const TFormatSettings&) { NotYet(L"FormatFloat"); }
String Format(const String&, TVarRecs) { NotYet(L"Format"); }
String Format(const String&, TVarRecs, const TFormatSettings&) { NotYet(L"Format"); }
Int64 Round(Extended) { NotYet(L"Round"); }
Int64 Trunc(Extended) { NotYet(L"Trunc"); }
Extended Frac(Extended) { NotYet(L"Frac"); }
Extended Int(Extended) { NotYet(L"Int"); }
Int64 Ceil(Extended) { NotYet(L"Ceil"); }
Int64 Floor(Extended) { NotYet(L"Floor"); }
