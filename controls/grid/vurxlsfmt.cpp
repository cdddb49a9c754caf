#include "controls/grid/vurxlsfmt.h"

#include <cmath>
#include <cwctype>
#include <exception>

#include "platform/base/SysUtils.h"

namespace {

const String kNoSection = L"###################";   // 19 characters
const String kDateError = L"##";

// The user's locale settings for date masks, made once on first use.
const TFormatSettings& UnitSettings()
{
    static const TFormatSettings settings = [] {
        TFormatSettings fs = FormatSettings;
        if (fs.TimeAMString.empty()) fs.TimeAMString = L"AM";
        if (fs.TimePMString.empty()) fs.TimePMString = L"PM";
        return fs;
    }();
    return settings;
}

String Upper(const String& s)
{
    String u = s;
    for (Char& c : u) c = Char(std::towupper(std::wint_t(c)));
    return u;
}

bool Contains(const String& s, const wchar_t* what) { return s.find(what) != String::npos; }

// Date masks only for values a date can hold; anything else (and any error of
// the formatter) shows "##".
String SafeFormatDateTime(const String& mask, double value, const TFormatSettings& fs)
{
    if (!std::isfinite(value) || value < -693593.0 || value >= 2958466.0) return kDateError;
    try {
        return FormatDateTime(mask, value, fs);
    } catch (const std::exception&) {
        return kDateError;
    }
}

String SafeFormatFloat(const String& mask, double value)
{
    try {
        return FormatFloat(mask, value);
    } catch (const std::exception&) {
        return kDateError;
    }
}

// A condition bracket starting at text[at] (just past the "["): the
// comparison and its number up to the "]".
bool ParseCondition(const String& text, size_t at, double x, TResultCondition& cond, bool& holds)
{
    const size_t close = text.find(L']', at);
    if (close == String::npos) return false;
    const String body = text.substr(at, close - at);
    static const wchar_t* const ops[] = {L"<=", L"<>", L">=", L"=", L"<", L">"};
    for (const wchar_t* op : ops) {
        const String o = op;
        if (body.compare(0, o.size(), o) != 0) continue;
        const String num = body.substr(o.size());
        if (num.empty()) return false;
        Extended f = 0;
        Integer code = 0;
        Val(num, f, code);
        if (code != 0 || !std::isfinite(double(f))) return false;
        cond = TResultCondition{};
        if (o == L"=") { holds = x == f; cond.SupressNeg = true; cond.SupressNegComp = false; }
        else if (o == L"<") { holds = x < f; cond.SupressNeg = f <= 0; cond.SupressNegComp = true; }
        else if (o == L"<=") { holds = x <= f; cond.SupressNeg = f <= 0; cond.SupressNegComp = true; }
        else if (o == L"<>") { holds = x != f; cond.SupressNeg = false; cond.SupressNegComp = true; }
        else if (o == L">") { holds = x > f; cond.SupressNeg = false; cond.SupressNegComp = f <= 0; }
        else { holds = x >= f; cond.SupressNeg = false; cond.SupressNegComp = f <= 0; }
        cond.Complement = !holds;
        cond.Assigned = true;
        return true;
    }
    return false;
}

// Splits Format into at most four sections; Held is the first section whose
// condition holds for x (-1 when none). Returns the number of sections.
int SplitSections(const String& format, double x, WidestringArray& sections,
                  TResultConditionArray& conds, int& held)
{
    sections.assign(4, String());
    conds.assign(4, TResultCondition{});
    held = -1;
    int n = 0;
    size_t start = 0, i = 0;
    bool quoted = false;
    const size_t len = format.size();
    while (i < len) {
        const Char c = format[i];
        if (c == L'"') { quoted = !quoted; ++i; continue; }
        if (quoted) { ++i; continue; }
        if (c == L'\\') { i += 2; continue; }
        if (c == L'[') {
            if (len - i - 1 >= 2) {
                TResultCondition cond;
                bool holds = false;
                if (ParseCondition(format, i + 1, x, cond, holds)) {
                    conds[n] = cond;
                    if (holds && held < 0) held = n;
                }
            }
            const size_t close = format.find(L']', i);
            i = close == String::npos ? len : close + 1;
            continue;
        }
        if (c == L';') {
            sections[n] = format.substr(start, i - start);
            ++n;
            start = ++i;
            if (n == 4) return n;
            continue;
        }
        ++i;
    }
    sections[n] = format.substr(std::min(start, len));
    return n + 1;
}

bool IsColourBracket(const String& s, size_t& after)
{
    if (s.empty() || s[0] != L'[') return false;
    const size_t close = s.find(L']');
    if (close == String::npos) return false;
    static const wchar_t* const names[] = {L"Black", L"Blue", L"Cyan", L"Green",
                                           L"Magenta", L"Red", L"White", L"Yellow"};
    const String name = s.substr(1, close - 1);
    for (const wchar_t* n : names)
        if (name == n) { after = close + 1; return true; }
    return false;
}

// Elapsed time to text: truncated toward zero, at least `digits` digits.
String ElapsedText(double units, size_t digits)
{
    const double t = std::trunc(units);
    if (!std::isfinite(t) || std::fabs(t) >= 1e18) return FloatToStr(t);
    const Int64 v = Int64(t);
    String s = IntToStr(v < 0 ? -v : v);
    if (s.size() < digits) s.insert(0, digits - s.size(), L'0');
    return v < 0 ? L"-" + s : s;
}

bool IsLiteralChar(Char c)
{
    switch (c) {
    case L' ': case L'!': case L'$': case L'&': case L'\'': case L'(': case L')': case L'<':
    case L'=': case L'>': case L'^': case L'{': case L'}': case L'~': case 0x00B4:
        return true;
    default:
        return false;
    }
}

bool IsDateChar(Char c)
{
    switch (std::towupper(std::wint_t(c))) {
    case L'\'': case L'.': case L'/': case L':': case L'A': case L'C': case L'D': case L'H':
    case L'M': case L'N': case L'P': case L'Q': case L'S': case L'T': case L'W': case L'Y':
    case L'\\':
        return true;
    default:
        return false;
    }
}

bool IsNumberChar(Char c)
{
    switch (c) {
    case L' ': case L'"': case L'#': case L'%': case L'*': case L'+': case L',': case L'-':
    case L'.': case L'0': case L'?': case L'E': case L'\\': case L'e':
        return true;
    default:
        return false;
    }
}

// "[$<symbol>-<locale>]" or "[$<symbol>]": the symbol is shown.
bool TryLocaleBracket(const String& s, size_t& pos, String& out)
{
    if (s.size() - pos < 4 || s.compare(pos, 2, L"[$") != 0) return false;
    const size_t end = s.find_first_of(L"-]", pos + 2);
    out += s.substr(pos + 2, (end == String::npos ? s.size() : end) - (pos + 2));
    const size_t close = s.find(L']', pos + 2);
    pos = close == String::npos ? s.size() : close + 1;
    return true;
}

bool TryElapsedBracket(const String& s, size_t& pos, double v, bool& hourMark, String& out)
{
    if (pos >= s.size() || s[pos] != L'[') return false;
    size_t i = pos + 1;
    if (i >= s.size()) return false;
    const Char letter = Char(std::towupper(std::wint_t(s[i])));
    if (letter != L'H' && letter != L'M' && letter != L'S') return false;
    while (i < s.size() && Char(std::towupper(std::wint_t(s[i]))) == letter) ++i;
    if (i >= s.size() || s[i] != L']') return false;
    const size_t digits = i - pos - 1;
    const double per = letter == L'H' ? 24.0 : letter == L'M' ? 24.0 * 60 : 24.0 * 3600;
    out += ElapsedText(v * per, digits);
    if (letter == L'H') hourMark = true;
    pos = i + 1;
    return true;
}

bool TryOtherBracket(const String& s, size_t& pos, String& out)
{
    if (pos >= s.size() || s[pos] != L'[') return false;
    const size_t close = s.find(L']', pos);
    if (close == String::npos) return false;
    if (s.compare(pos, 2, L"[$") == 0) {
        const size_t end = s.find_first_of(L"-]", pos + 2);
        out += s.substr(pos + 2, end - (pos + 2));
    }
    pos = close + 1;
    return true;
}

bool TryLiteral(const String& s, size_t& pos, String& out)
{
    if (pos >= s.size()) return false;
    const Char c = s[pos];
    if (IsLiteralChar(c)) { out += c; ++pos; return true; }
    if ((c == L'\\' || c == L'*') && pos + 1 < s.size()) { out += s[pos + 1]; pos += 2; return true; }
    if (c == L'_' && pos + 1 < s.size()) { out += L' '; pos += 2; return true; }
    if (c == L'"') {
        const size_t close = s.find(L'"', pos + 1);
        const size_t end = close == String::npos ? s.size() : close;
        out += s.substr(pos + 1, end - pos - 1);
        pos = close == String::npos ? s.size() : close + 1;
        return true;
    }
    return false;
}

bool TryDateRun(const String& s, size_t& pos, double v, bool hourMark, String& out)
{
    String mask;
    size_t i = pos;
    while (i < s.size()) {
        const Char c = s[i];
        if (c == L' ' && i > pos) {
            // Blanks between date codes stay in the mask so that "h:mm AM/PM"
            // reaches the formatter whole and shows a 12-hour clock.
            size_t j = i;
            while (j < s.size() && s[j] == L' ') ++j;
            if (j < s.size() && s[j] != L'\\' && s[j] != L'\'' && IsDateChar(s[j])) {
                mask.append(j - i, L' ');
                i = j;
            }
            else break;
            continue;
        }
        if (!IsDateChar(c)) break;
        if (c == L'\\') {
            if (i + 1 < s.size()) mask += s[i + 1];
            i += 2;
            continue;
        }
        if (s.size() - i >= 5 && Upper(s.substr(i, 5)) == L"AM/PM") {
            mask += L"AMPM";
            i += 5;
            continue;
        }
        if ((c == L'm' || c == L'M') && hourMark) {
            while (i < s.size() && (s[i] == L'm' || s[i] == L'M')) { mask += L'n'; ++i; }
            hourMark = false;
            continue;
        }
        if (c == L'h' || c == L'H') hourMark = true;
        mask += c;
        ++i;
    }
    if (i == pos) return false;
    pos = std::min(i, s.size());
    out += SafeFormatDateTime(mask, v, UnitSettings());
    return true;
}

bool TryNumberRun(const String& s, size_t& pos, double v, bool dropSign, String& out)
{
    String mask;
    double value = v;
    size_t i = pos;
    while (i < s.size() && IsNumberChar(s[i])) {
        const Char c = s[i];
        if (c == L'%') { value *= 100; mask += c; ++i; continue; }
        if (c == L'\\') {
            if (i + 1 < s.size()) mask += s[i + 1];
            i += 2;
            continue;
        }
        if (c == L'?') { mask += L'#'; ++i; continue; }
        if (c == L'*') {
            if (i + 1 < s.size()) mask += s[i + 1];
            i += 2;
            continue;
        }
        if (c == L'"' && i > pos) {
            // Quoted text is kept quoted in the mask so that digits, "#" or
            // "E" in it are shown as written, not taken as placeholders.
            String text;
            ++i;
            while (i < s.size() && s[i] != L'"') {
                if (s[i] != L'\\') text += s[i];
                ++i;
            }
            if (i < s.size()) ++i;
            if (!text.empty()) mask += L'"' + text + L'"';
            continue;
        }
        mask += c;
        ++i;
    }
    if (i == pos) return false;
    pos = std::min(i, s.size());
    if (dropSign && value < 0) value = -value;
    if (mask.empty()) return true;
    // A mask without a digit placeholder (the blank between a date and a
    // time, a lone "-" between date parts) is text: FormatFloat would put the
    // whole number there.
    bool placeholder = false, quoted = false;
    String literal;
    for (Char c : mask) {
        if (c == L'"') { quoted = !quoted; continue; }
        if (!quoted && (c == L'0' || c == L'#')) placeholder = true;
        literal += c;
    }
    out += placeholder ? SafeFormatFloat(mask, value) : literal;
    return true;
}

String PlainText(const Variant& v)
{
    try {
        return v.AsString();
    } catch (const std::exception&) {
        return String();
    }
}

String PlainNumber(double v, bool dropSign)
{
    return PlainText(Variant(dropSign && v < 0 ? -v : v));
}

// Renders one number section; a piece that no rule recognises gives the
// plain text of the value instead of everything rendered so far.
String RenderNumber(const String& s, double v, bool dropSign, const Variant& original)
{
    String out;
    size_t pos = 0;
    IsColourBracket(s, pos);
    while (pos < s.size()) {
        const size_t before = pos;
        bool hourMark = false;
        TryLocaleBracket(s, pos, out);
        TryElapsedBracket(s, pos, v, hourMark, out);
        TryOtherBracket(s, pos, out);
        TryLiteral(s, pos, out);
        TryDateRun(s, pos, v, hourMark, out);
        TryNumberRun(s, pos, v, dropSign, out);
        if (pos == before) {
            if (dropSign && v < 0) return PlainNumber(v, true);
            return PlainText(original);
        }
    }
    return out;
}

String RenderText(const String& s, const String& text)
{
    String out;
    size_t pos = 0;
    IsColourBracket(s, pos);
    while (pos < s.size()) {
        const size_t before = pos;
        TryOtherBracket(s, pos, out);
        TryLiteral(s, pos, out);
        if (pos < s.size() && s[pos] == L'@') { out += text; ++pos; }
        if (pos == before) return text;
    }
    return out;
}

String FormatNumber(const Variant& V, double x, bool isDate, const String& format)
{
    WidestringArray sections;
    TResultConditionArray conds;
    int held = -1;
    const int n = SplitSections(format, x, sections, conds, held);
    int chosen;
    bool drop = false;
    if (held >= 0) {
        chosen = held;
        drop = conds[held].SupressNeg;
    } else if (!conds[0].Assigned && (x > 0 || n == 1 || (x == 0 && n <= 2))) {
        chosen = 0;
    } else if (!conds[1].Assigned && (x < 0 || n <= 2)) {
        chosen = 1;
        drop = true;
        if (n == 2 && conds[0].Assigned) drop = conds[0].SupressNegComp;
    } else {
        chosen = conds[2].Assigned ? 3 : 2;
    }
    if (chosen >= n) return kNoSection;
    const String& section = sections[chosen];
    const String upper = Upper(section);
    if (Contains(upper, L"[$-F800]"))
        return SafeFormatDateTime(FormatSettings.LongDateFormat, x, FormatSettings);
    if (Contains(upper, L"[$-F400]"))
        return SafeFormatDateTime(FormatSettings.LongTimeFormat, x, FormatSettings);
    if (isDate && x < 0) return kNoSection;
    return RenderNumber(section, x, drop, V);
}

}  // namespace

void XlsFormatValue(const Variant& V, const String& Format, String& Result)
{
    const TVarType type = V.VarType();
    if (type == varEmpty || type == varNull) { Result.clear(); return; }
    if (Format.empty()) { Result = PlainText(V); return; }
    switch (type) {
    case varSmallint: case varInteger: case varSingle: case varDouble: case varCurrency:
    case varByte: case varInt64: case varDate: {
        double x = 0;
        try {
            x = V.AsDouble();
        } catch (const std::exception&) {
            Result = PlainText(V);
            return;
        }
        Result = FormatNumber(V, x, type == varDate, Format);
        return;
    }
    case varOleStr: {
        const String text = PlainText(V);
        WidestringArray sections;
        TResultConditionArray conds;
        int held = -1;
        const int n = SplitSections(Format, 0, sections, conds, held);
        if (n == 4) Result = RenderText(sections[3], text);
        else if (Contains(sections[0], L"@")) Result = RenderText(sections[0], text);
        else Result = text;
        return;
    }
    case varBoolean:
        Result = V.AsBoolean() ? L"TRUE" : L"FALSE";
        return;
    default:
        Result = PlainText(V);
        return;
    }
}
