// The first, straightforward versions of the number texts and the
// collation, kept to check the fast ones against.
#pragma once

#include "platform/base/SysUtils.h"

namespace reference {

std::string OldFloatToDecimalText(Extended value, Integer precision, Integer decimals);
String OldFloatToStrF(Extended value, TFloatFormat format, Integer precision, Integer digits,
                      const TFormatSettings& fs);
String OldFloatToStr(Extended value, const TFormatSettings& fs);
String OldFormatFloat(const String& mask, Extended value, const TFormatSettings& fs);
String OldFormat(const String& fmt, TVarRecs args, const TFormatSettings& fs);

Integer OldAnsiCompareStr(const String& a, const String& b);
Integer OldAnsiCompareText(const String& a, const String& b);
Integer OldStrCmpLogicalW(const Char* a, const Char* b);

}  // namespace reference
