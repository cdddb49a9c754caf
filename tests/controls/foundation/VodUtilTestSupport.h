// Settings for the value, filter and text tests: separators and the short
// date format set for the life of the object, the previous ones restored.
#pragma once

#include "platform/base/SysUtils.h"

struct TLocaleScope {
    TFormatSettingsScope Saved;
    TLocaleScope(Char Thousand, Char Decimal, Char DateSep, Char TimeSep, const String& ShortDate)
    {
        FormatSettings.ThousandSeparator = Thousand;
        FormatSettings.DecimalSeparator = Decimal;
        FormatSettings.DateSeparator = DateSep;
        FormatSettings.TimeSeparator = TimeSep;
        FormatSettings.ShortDateFormat = ShortDate;
    }
};

// English (United States) and German conventions.
inline TLocaleScope UsLocale() { return TLocaleScope(L',', L'.', L'/', L':', L"M/d/yyyy"); }
inline TLocaleScope GermanLocale() { return TLocaleScope(L'.', L',', L'.', L':', L"dd.MM.yyyy"); }
