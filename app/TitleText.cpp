// Title decoding and cleaning, size and time texts, random names.
#include "app/MainWindow.h"

#include <chrono>
#include <cmath>
#include <mutex>
#include <random>

#include "platform/base/Exceptions.h"
#include "platform/base/Files.h"
#include "platform/base/SysUtils.h"

namespace {

wchar_t UpperAsciiChar(wchar_t c)
{
    return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

// Replaces every occurrence, left to right, never rescanning replaced text.
String ReplaceAll(const String& s, const String& find, const String& by, bool ignoreCase)
{
    if (find.empty())
        return s;
    String out;
    size_t i = 0;
    while (i < s.size()) {
        bool match = i + find.size() <= s.size();
        for (size_t k = 0; match && k < find.size(); ++k) {
            wchar_t a = s[i + k], b = find[k];
            match = ignoreCase ? UpperAsciiChar(a) == UpperAsciiChar(b) : a == b;
        }
        if (match) {
            out += by;
            i += find.size();
        } else {
            out += s[i++];
        }
    }
    return out;
}

struct TReplacement {
    const wchar_t* find;
    const wchar_t* by;
};

// The first step ignores case, the others are exact.
template <size_t N>
String ApplySteps(String s, const TReplacement (&steps)[N])
{
    for (size_t i = 0; i < N; ++i)
        s = ReplaceAll(s, steps[i].find, steps[i].by, i == 0);
    return s;
}

bool IsUnsafeInFileName(wchar_t c)
{
    const uint32_t u = static_cast<uint32_t>(c);
    return u < 0x20 || u == 0x7F || (u >= 0x80 && u <= 0x9F) || (u >= 0xD800 && u <= 0xDFFF) ||
           u > 0x10FFFF || c == L'/';
}

size_t Utf8Length(wchar_t c)
{
    const uint32_t u = static_cast<uint32_t>(c);
    return u < 0x80 ? 1 : u < 0x800 ? 2 : u < 0x10000 ? 3 : 4;
}

}  // namespace

String TrimText(const String& s)
{
    size_t b = 0, e = s.size();
    while (b < e && static_cast<uint32_t>(s[b]) <= 0x20)
        ++b;
    while (e > b && static_cast<uint32_t>(s[e - 1]) <= 0x20)
        --e;
    return s.substr(b, e - b);
}

String _decode_name(const String& name)
{
    static const TReplacement steps[] = {
        {L"&#039;", L"'"}, {L"&#39;", L"'"}, {L"&quot;", L"\""}, {L"&nbsp;", L" "},
        {L"&amp;", L"&"},  {L"%0A", L""},    {L"%25", L"%"},     {L"%25", L"%"},
        {L"%22", L"\""},   {L"%26", L"&"},   {L"%27", L"'"},     {L"%5B", L"["},
        {L"%20", L" "},    {L"%5C", L""},    {L"%5D", L"]"},     {L"%3A", L":"},
        {L"%2F", L"/"},    {L"%3F", L"?"},   {L"%3B", L";"},     {L"%3D", L"="},
        {L"%26", L"&"},    {L"%2C", L","},   {L"%2B", L"+"},     {L"%7B", L"{"},
        {L"%7C", L"|"},    {L"%7D", L"}"},   {L"\\\\", L""},     {L"\\/", L"/"},
    };
    return ApplySteps(name, steps);
}

String _decode_name_break(const String& name)
{
    static const TReplacement steps[] = {
        {L"&#039;", L"'"}, {L"&#39;", L"'"}, {L"&quot;", L"\""}, {L"&nbsp;", L" "},
        {L"&amp;", L"&"},  {L"%0a", L""},    {L"%25", L"%"},     {L"%25", L"%"},
        {L"%26", L"&"},    {L"%27", L"'"},   {L"%5b", L"["},     {L"%20", L" "},
        {L"%5d", L"]"},    {L"%3a", L":"},   {L"%2f", L"/"},     {L"%3f", L"?"},
        {L"%3b", L";"},    {L"%3d", L"="},   {L"%26", L"&"},     {L"%2c", L","},
        {L"%2b", L"+"},    {L"%7c", L"|"},   {L"\\\\", L""},
    };
    return ApplySteps(name, steps);
}

String _decode_name_xtube(const String& name)
{
    static const TReplacement steps[] = {
        {L"&#039;", L"'"}, {L"&#39;", L"'"}, {L"&quot;", L"\""}, {L"&nbsp;", L" "},
        {L"&amp;", L"&"},  {L"%5B", L"["},   {L"%20", L" "},     {L"%5D", L"]"},
        {L"%3A", L":"},    {L"%2F", L"/"},   {L"%3F", L"?"},     {L"%3B", L";"},
        {L"%3D", L"="},    {L"%26", L"&"},   {L"%2C", L","},     {L"%7C", L"|"},
        {L"\\\\", L""},    {L"\\/", L"/"},
    };
    return ApplySteps(name, steps);
}

String _decode_name_facebook(const String& name)
{
    static const TReplacement steps[] = {
        {L"\\u00255C", L""},  {L"\\u00252F", L"/"}, {L"\\u00253F", L"?"},
        {L"\\u00253D", L"="}, {L"\\u002526", L"&"}, {L"\\u00253A", L":"},
    };
    return ApplySteps(name, steps);
}

String _decode_name_dailymotion(const String& name)
{
    static const TReplacement steps[] = {
        {L"&quot;", L"\""}, {L"&nbsp;", L" "}, {L"&amp;", L"&"}, {L"%5B", L"["},
        {L"%20", L" "},     {L"%5D", L"]"},    {L"%3A", L":"},   {L"%2F", L"/"},
        {L"%3F", L"?"},     {L"%3D", L"="},    {L"%26", L"&"},   {L"%25", L"%"},
        {L"%5C", L""},      {L"\\\\", L""},
    };
    return ApplySteps(name, steps);
}

String _decode_name_metacafe(const String& name)
{
    static const TReplacement steps[] = {
        {L"&quot;", L"\""}, {L"&nbsp;", L" "}, {L"&amp;", L"&"}, {L"%25", L"%"},
        {L"%7D", L"}"},     {L"%5C", L"/"},    {L"%22", L"\""},  {L"%3A", L":"},
        {L"%2F", L"/"},     {L"%3F", L"?"},    {L"%3D", L"="},   {L"%26", L"&"},
        {L"%2C", L","},     {L"//", L"/"},
    };
    return ApplySteps(name, steps);
}

String clean_title(const String& title)
{
    static const String strip = L"\n\r\"*-/:?\\|";
    String s;
    for (wchar_t c : title)
        if (strip.find(c) == String::npos)
            s += c;
    s = ReplaceAll(s, L"youtube", L"", true);
    s = TrimText(s);

    // What remains must be usable as a file name.
    String safe;
    size_t bytes = 0;
    for (wchar_t c : s) {
        if (IsUnsafeInFileName(c))
            continue;
        const size_t n = Utf8Length(c);
        if (bytes + n > kMaxTitleBytes)
            break;
        bytes += n;
        safe += c;
    }
    safe = TrimText(safe);
    if (safe == L"." || safe == L"..")
        return String();
    return safe;
}

String FmtFileSize(Int64 size)
{
    if (size >= 1000000)
        return Format(L"%.2f", {static_cast<double>(size) / 1000000.0}) + L" Mb";
    if (size < 1024)
        return IntToStr(size) + L" b";
    return Format(L"%.0f", {static_cast<double>(size) / 1024.0}) + L" Kb";
}

Int64 FileSize(const String& filename)
{
    TSearchRec rec;
    Int64 size = 0;
    if (FindFirst(filename, faAnyFile, rec) == 0)
        size = rec.Size;
    FindClose(rec);
    return size;
}

double TimeToSec(const String& tempo)
{
    String t = TrimText(ReplaceAll(tempo, L".", L",", false));
    if (t.empty())
        return 0;
    auto fail = [&]() -> double {
        throw EConvertError(L"'" + tempo + L"' is not a valid time");
    };

    // Fields separated by ':', each a run of digits; the last may carry a
    // fraction after ','.
    std::vector<double> fields;
    double fraction = 0;
    size_t i = 0;
    for (;;) {
        if (i >= t.size() || t[i] < L'0' || t[i] > L'9')
            return fail();
        double v = 0;
        size_t digits = 0;
        while (i < t.size() && t[i] >= L'0' && t[i] <= L'9' && digits < 9) {
            v = v * 10 + (t[i] - L'0');
            ++i;
            ++digits;
        }
        fields.push_back(v);
        if (i < t.size() && t[i] == L':') {
            ++i;
            continue;
        }
        if (i < t.size() && t[i] == L',') {
            ++i;
            double scale = 0.1;
            size_t n = 0;
            while (i < t.size() && t[i] >= L'0' && t[i] <= L'9') {
                fraction += (t[i] - L'0') * scale;
                scale /= 10;
                ++i;
                ++n;
            }
            if (n == 0)
                return fail();
        }
        break;
    }
    if (i != t.size() || fields.size() < 2 || fields.size() > 3)
        return fail();
    const double h = fields[0], m = fields[1], s = fields.size() == 3 ? fields[2] : 0;
    if (fields.size() == 2 && fraction != 0)
        return fail();
    if (m >= 60 || s >= 60)
        return fail();
    return h * 3600 + m * 60 + s + fraction;
}

String SecToTime(Integer sec)
{
    const Integer h = sec / 3600;
    const Integer m = sec / 60 - h * 60;
    const Integer s = sec % 60;
    auto two = [](Integer v) {
        String r = std::to_wstring(v < 0 ? -v : v);
        if (r.size() < 2)
            r.insert(0, 1, L'0');
        return (v < 0 ? L"-" : L"") + r;
    };
    return two(h) + L":" + two(m) + L":" + two(s);
}

String MSecToTime(const String& sec)
{
    String digits;
    for (wchar_t c : sec)
        if (c >= L'0' && c <= L'9')
            digits += c;
    if (digits.empty())
        throw EConvertError(L"'" + sec + L"' is not a valid integer value");
    // Leading zeros do not count; more than a 64-bit millisecond count is
    // not a number either.
    size_t first = digits.find_first_not_of(L'0');
    if (first != String::npos && digits.size() - first > 18)
        throw EConvertError(L"'" + sec + L"' is not a valid integer value");
    const Int64 ms = first == String::npos ? 0 : std::stoll(digits.substr(first));
    const Int64 s = ms / 1000;
    if (s > INT32_MAX)
        throw EConvertError(L"'" + sec + L"' is not a valid integer value");
    return SecToTime(static_cast<Integer>(s));
}

String RandomString(const String& expr)
{
    // One generator, seeded once, shared by every thread.
    static std::mutex lock;
    static std::mt19937_64 gen([] {
        std::random_device rd;
        const uint64_t t = static_cast<uint64_t>(
            std::chrono::steady_clock::now().time_since_epoch().count());
        std::seed_seq seq{rd(), rd(), static_cast<uint32_t>(t), static_cast<uint32_t>(t >> 32)};
        return std::mt19937_64(seq);
    }());

    String result;
    std::lock_guard<std::mutex> g(lock);
    for (wchar_t c : expr) {
        if (c < L'1' || c > L'9')
            continue;
        Integer v = c - L'0';
        String pool;
        if (v > 3) {
            pool += L"0123456789";
            v -= 4;
        }
        if (v > 1) {
            pool += L"abcdefghijklmnopqrstuvwxyz";
            v -= 2;
        }
        if (v != 0)
            pool += L"ABCDEFGHIJKLMNOPQRSTUVWXYZ";
        std::uniform_int_distribution<size_t> pick(0, pool.size() - 1);
        result += pool[pick(gen)];
    }
    return result;
}
