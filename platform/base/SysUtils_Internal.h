// Helpers shared by the SysUtils sources; not part of the public interface.
#pragma once

#include <string>

#include "platform/base/SysUtils.h"

// Reads an integer as Val and StrToInt do (leading blanks, sign, "$"/"0x"
// hexadecimal); bits is 32 or 64. On failure errPos is the 1-based position
// of the offending character.
bool ScanInteger(const String& s, int bits, Int64& value, Integer& errPos);

// Reads a floating point number with the given decimal separator; blanks
// before it are allowed, after it only with trailingBlanks.
bool ScanFloat(const String& s, Char decimalSeparator, bool trailingBlanks, Extended& value, Integer& errPos);

// A value as decimal digits: value = 0.Digits * 10^Exponent. Digits has no
// trailing zeros and is empty for zero.
struct TFloatDecimal {
    enum TSpecial { None, NaN, Infinite };
    TSpecial Special = None;
    bool Negative = false;
    Integer Exponent = 0;
    std::string Digits;
};

// Rounds (half away from zero) first to precision significant digits, then
// to decimals digits after the decimal point (9999: no limit).
TFloatDecimal FloatToDecimal(Extended value, Integer precision, Integer decimals);
