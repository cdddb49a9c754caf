// Helpers shared by the SysUtils sources; not part of the public interface.
#pragma once

#include "platform/base/SysUtils.h"

// Reads an integer as Val and StrToInt do (leading blanks, sign, "$"/"0x"
// hexadecimal); bits is 32 or 64. On failure errPos is the 1-based position
// of the offending character.
bool ScanInteger(const String& s, int bits, Int64& value, Integer& errPos);
