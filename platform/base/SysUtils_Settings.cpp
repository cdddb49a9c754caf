// The global format settings, their start-up values from the environment,
// and the shared random number generator.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <random>

#include "platform/base/SysUtils.h"

namespace {

void SetEnglishNames(TFormatSettings& fs)
{
    static const wchar_t* const kLongMonths[12] = {
        L"January", L"February", L"March", L"April", L"May", L"June",
        L"July", L"August", L"September", L"October", L"November", L"December"};
    static const wchar_t* const kLongDays[7] = {
        L"Sunday", L"Monday", L"Tuesday", L"Wednesday", L"Thursday", L"Friday", L"Saturday"};
    for (int i = 0; i < 12; ++i) {
        fs.LongMonthNames[i] = kLongMonths[i];
        fs.ShortMonthNames[i] = fs.LongMonthNames[i].substr(0, 3);
    }
    for (int i = 0; i < 7; ++i) {
        fs.LongDayNames[i] = kLongDays[i];
        fs.ShortDayNames[i] = fs.LongDayNames[i].substr(0, 3);
    }
}

// The language and territory part of a POSIX locale name ("de_DE.UTF-8@euro"
// gives "de_DE").
std::string LocaleStem(const std::string& name)
{
    size_t end = name.find_first_of(".@");
    return name.substr(0, end);
}

void ApplyNumericLocale(TFormatSettings& fs, const std::string& stem)
{
    const std::string lang = stem.substr(0, 2);
    if (stem == "en_GB") {
        fs.CurrencyString = L"\u00A3";
    } else if (lang == "de" || lang == "nl" || lang == "it" || lang == "es" || lang == "pt" ||
               lang == "da" || lang == "tr" || lang == "id") {
        fs.DecimalSeparator = L',';
        fs.ThousandSeparator = L'.';
        fs.ListSeparator = L';';
        fs.CurrencyString = L"\u20AC";
        fs.CurrencyFormat = 3;
        fs.NegCurrFormat = 8;
    } else if (lang == "fr" || lang == "ru" || lang == "pl" || lang == "cs" || lang == "sv" ||
               lang == "fi" || lang == "nb" || lang == "uk") {
        fs.DecimalSeparator = L',';
        fs.ThousandSeparator = L'\u00A0';
        fs.ListSeparator = L';';
        fs.CurrencyString = L"\u20AC";
        fs.CurrencyFormat = 3;
        fs.NegCurrFormat = 8;
    }
}

void ApplyTimeLocale(TFormatSettings& fs, const std::string& stem)
{
    const std::string lang = stem.substr(0, 2);
    auto twentyFourHours = [&] {
        fs.ShortTimeFormat = L"hh:nn";
        fs.LongTimeFormat = L"hh:nn:ss";
    };
    if (stem == "en_GB" || lang == "fr" || lang == "es" || lang == "it" || lang == "pt") {
        fs.DateSeparator = L'/';
        fs.ShortDateFormat = L"dd/mm/yyyy";
        fs.LongDateFormat = L"d mmmm yyyy";
        twentyFourHours();
    } else if (lang == "de" || lang == "ru" || lang == "pl" || lang == "cs" || lang == "fi" ||
               lang == "nb" || lang == "da" || lang == "tr" || lang == "uk") {
        fs.DateSeparator = L'.';
        fs.ShortDateFormat = L"dd/mm/yyyy";
        fs.LongDateFormat = L"dddd, d. mmmm yyyy";
        twentyFourHours();
    } else if (lang == "nl") {
        fs.DateSeparator = L'-';
        fs.ShortDateFormat = L"d/m/yyyy";
        fs.LongDateFormat = L"dddd d mmmm yyyy";
        twentyFourHours();
    } else if (lang == "sv") {
        fs.DateSeparator = L'-';
        fs.ShortDateFormat = L"yyyy/mm/dd";
        fs.LongDateFormat = L"d mmmm yyyy";
        twentyFourHours();
    }
}

// The first non-empty of LC_ALL, the category variable and LANG.
std::string LocaleFor(const char* category)
{
    for (const char* var : {"LC_ALL", category, "LANG"}) {
        const char* v = std::getenv(var);
        if (v && *v) return v;
    }
    return std::string();
}

}  // namespace

TFormatSettings DefaultFormatSettings()
{
    TFormatSettings fs;
    fs.CurrencyString = L"$";
    fs.CurrencyFormat = 0;
    fs.NegCurrFormat = 0;
    fs.CurrencyDecimals = 2;
    fs.DecimalSeparator = L'.';
    fs.ThousandSeparator = L',';
    fs.DateSeparator = L'/';
    fs.TimeSeparator = L':';
    fs.ListSeparator = L',';
    fs.ShortDateFormat = L"m/d/yyyy";
    fs.LongDateFormat = L"dddd, mmmm d, yyyy";
    fs.ShortTimeFormat = L"h:nn AMPM";
    fs.LongTimeFormat = L"h:nn:ss AMPM";
    fs.TimeAMString = L"AM";
    fs.TimePMString = L"PM";
    fs.TwoDigitYearCenturyWindow = 50;
    SetEnglishNames(fs);
    return fs;
}

TFormatSettings FormatSettingsForLocale(const std::string& numericLocale, const std::string& timeLocale)
{
    TFormatSettings fs = DefaultFormatSettings();
    ApplyNumericLocale(fs, LocaleStem(numericLocale));
    ApplyTimeLocale(fs, LocaleStem(timeLocale));
    return fs;
}

TFormatSettings FormatSettings = FormatSettingsForLocale(LocaleFor("LC_NUMERIC"), LocaleFor("LC_TIME"));

// ---------------------------------------------------------------------------
// Random numbers

namespace {

struct SharedGenerator {
    std::mutex lock;
    std::mt19937_64 engine{0};   // fixed sequence until Randomize
};

SharedGenerator& Generator()
{
    static SharedGenerator g;
    return g;
}

}  // namespace

void Randomize()
{
    auto& g = Generator();
    auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    std::lock_guard<std::mutex> hold(g.lock);
    g.engine.seed(uint64_t(ticks));
}

Integer Random(Integer range)
{
    if (range <= 0) return 0;
    auto& g = Generator();
    std::lock_guard<std::mutex> hold(g.lock);
    return Integer(g.engine() % uint64_t(range));
}

Extended Random()
{
    auto& g = Generator();
    std::lock_guard<std::mutex> hold(g.lock);
    // 53 random bits: evenly spread and never 1.0.
    return Extended(g.engine() >> 11) * (1.0 / 9007199254740992.0);
}

Integer RandomRange(Integer from, Integer to)
{
    Int64 lo = std::min(from, to), hi = std::max(from, to);
    if (hi - lo > 0x7FFFFFFF) hi = lo + 0x7FFFFFFF;
    return Integer(lo + Random(Integer(hi - lo)));
}
