// The markup language: colours, numbers, searches and the preparation of a
// text before layout.
#include <algorithm>
#include <cstring>

#include "controls/markup/MarkupEngine.h"
#include "controls/markup/MarkupEngine_Internal.h"

namespace markup_detail {

namespace {

struct TColorName {
    const wchar_t* Name;   // without "cl", sorted in ordinal order
    uint32_t Value;
};

constexpr uint32_t Rgb(unsigned r, unsigned g, unsigned b) { return r | (g << 8) | (b << 16); }
constexpr uint32_t Sys(unsigned n) { return 0xFF000000u | n; }

const TColorName kColors[] = {
    {L"3ddkshadow", Sys(21)},      {L"3dlight", Sys(22)},          {L"activeborder", Sys(10)},
    {L"activecaption", Sys(2)},    {L"appworkspace", Sys(12)},     {L"aqua", Rgb(0, 255, 255)},
    {L"background", Sys(1)},       {L"black", Rgb(0, 0, 0)},       {L"blue", Rgb(0, 0, 255)},
    {L"btnface", Sys(15)},         {L"btnhighlight", Sys(20)},     {L"btnshadow", Sys(16)},
    {L"btntext", Sys(18)},         {L"captiontext", Sys(9)},       {L"fuchsia", Rgb(255, 0, 255)},
    {L"gray", Rgb(128, 128, 128)}, {L"graytext", Sys(17)},         {L"green", Rgb(0, 128, 0)},
    {L"highlight", Sys(13)},       {L"highlighttext", Sys(14)},    {L"inactiveborder", Sys(11)},
    {L"inactivecaption", Sys(3)},  {L"inactivecaptiontext", Sys(19)}, {L"infobk", Sys(24)},
    {L"infotext", Sys(23)},        {L"lime", Rgb(0, 255, 0)},      {L"maroon", Rgb(128, 0, 0)},
    {L"menu", Sys(4)},             {L"menutext", Sys(7)},          {L"navy", Rgb(0, 0, 128)},
    {L"olive", Rgb(128, 128, 0)},  {L"purple", Rgb(128, 0, 128)},  {L"red", Rgb(255, 0, 0)},
    {L"silver", Rgb(192, 192, 192)}, {L"teal", Rgb(0, 128, 128)},  {L"white", Rgb(255, 255, 255)},
    {L"window", Sys(5)},           {L"windowframe", Sys(6)},       {L"windowtext", Sys(8)},
    {L"yellow", Rgb(255, 255, 0)},
};
constexpr int kColorCount = int(sizeof(kColors) / sizeof(kColors[0]));
static_assert(kColorCount == 40);

// The accented letters and signs the grid decodes in every run.
struct TEntity {
    Char Ch;
    const wchar_t* Name;
};
const TEntity kEntities[] = {
    {0xE9, L"&eacute;"}, {0xE8, L"&egrave;"}, {0xEB, L"&euml;"},   {0xEA, L"&ecirc;"},  {0xF3, L"&oacute;"},
    {0xF2, L"&ograve;"}, {0xF6, L"&ouml;"},   {0xF4, L"&ocirc;"},  {0xED, L"&iacute;"}, {0xEC, L"&igrave;"},
    {0xEF, L"&iuml;"},   {0xEE, L"&icirc;"},  {0xFA, L"&uacute;"}, {0xF9, L"&ugrave;"}, {0xFC, L"&uuml;"},
    {0xFB, L"&ucirc;"},  {0xE1, L"&aacute;"}, {0xE0, L"&agrave;"}, {0xE4, L"&auml;"},   {0xE2, L"&acirc;"},
    {0xC9, L"&Eacute;"}, {0xC8, L"&Egrave;"}, {0xCB, L"&Euml;"},   {0xCA, L"&Ecirc;"},  {0xD3, L"&Oacute;"},
    {0xD2, L"&Ograve;"}, {0xD6, L"&Ouml;"},   {0xD4, L"&Ocirc;"},  {0xCD, L"&Iacute;"}, {0xCC, L"&Igrave;"},
    {0xCF, L"&Iuml;"},   {0xCE, L"&Icirc;"},  {0xDA, L"&Uacute;"}, {0xD9, L"&Ugrave;"}, {0xDC, L"&Uuml;"},
    {0xDB, L"&Ucirc;"},  {0xC1, L"&Aacute;"}, {0xC0, L"&Agrave;"}, {0xC4, L"&Auml;"},   {0xC2, L"&Acirc;"},
    {0xE7, L"&ccedil;"}, {0xC7, L"&Ccedil;"}, {0xF8, L"&oslash;"}, {0xD8, L"&Oslash;"}, {0xE5, L"&aring;"},
    {0xC5, L"&Aring;"},  {0xA9, L"&copy;"},   {0xAE, L"&reg;"},    {0x20AC, L"&euro;"}, {0xAB, L"&laquo;"},
    {0xBB, L"&raquo;"},
};
static_assert(sizeof(kEntities) / sizeof(kEntities[0]) == 51);

int HexDigit(Char c)
{
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    return -1;
}

Char AsciiUpper(Char c) { return (c >= L'a' && c <= L'z') ? Char(c - 32) : c; }

}  // namespace

int EntityTableCount() { return 51; }
Char EntityTableChar(int i) { return kEntities[i].Ch; }
const wchar_t* EntityTableName(int i) { return kEntities[i].Name; }

TColor ColorTableLookup(const String& NameWithoutPrefix)
{
    int lo = 0, hi = kColorCount - 1;
    while (hi >= lo) {
        int mid = (lo + hi) / 2;
        if (std::wcscmp(kColors[mid].Name, NameWithoutPrefix.c_str()) < 0) lo = mid + 1;
        else hi = mid - 1;
    }
    if (lo < kColorCount && NameWithoutPrefix == kColors[lo].Name) return TColor(kColors[lo].Value);
    return TColor(0);
}

String FoldUpper(const String& S, bool Ascii) { return Ascii ? UpperCase(S) : AnsiUpperCase(S); }

Integer PosNoCaseWith(const String& SubStr, const String& S, bool Ascii)
{
    return Pos(FoldUpper(SubStr, Ascii), FoldUpper(S, Ascii));
}

bool ReplaceFirstNoCaseWith(const String& SubStr, const String& NewStr, String& S, bool Ascii)
{
    Integer p = PosNoCaseWith(SubStr, S, Ascii);
    if (p == 0) return false;
    S.replace(size_t(p - 1), SubStr.size(), NewStr);
    return true;
}

String QuotedAfter(const String& S, Integer Pos1)
{
    if (Pos1 < 1) return String();
    size_t q1 = S.find(L'"', size_t(Pos1 - 1));
    if (q1 == String::npos) return String();
    size_t q2 = S.find(L'"', q1 + 1);
    if (q2 == String::npos) return String();
    return S.substr(q1 + 1, q2 - q1 - 1);
}

TColor MarkupColor(const String& Value)
{
    if (!Value.empty() && Value[0] == L'#') return HexToColor(Value);
    return TextToColor(LowerCase(Value));
}

void DecodeEntityTable(String& S)
{
    if (S.find(L'&') == String::npos) return;
    for (const TEntity& e : kEntities) {
        const size_t n = std::wcslen(e.Name);
        size_t p = 0;
        while ((p = S.find(e.Name, p)) != String::npos) {
            S.replace(p, n, 1, e.Ch);
            p += 1;
        }
    }
}

bool IsBlankOrControl(Char c) { return c <= L' '; }

// One left-to-right scan over the entities of the preparation step; each
// entity is decoded once. "&amp;" becomes AmpMarker, which the layout turns
// into "&&" (prefix processing) or "&" (without it) where text is shown.
String DecodePreparedEntities(const String& S)
{
    static const struct {
        const wchar_t* Name;
        Char Ch;
    } names[] = {
        {L"&amp;", kAmpMarker}, {L"&quot;", L'"'},    {L"&sect;", 0xA7},  {L"&permil;", 0x2030},
        {L"&reg;", 0xAE},       {L"&copy;", 0xA9},    {L"&para;", 0xB6},  {L"&trade;", 0x2122},
        {L"&euro;", 0x20AC},
    };
    String out;
    out.reserve(S.size());
    for (size_t i = 0; i < S.size();) {
        if (S[i] == L'&') {
            bool done = false;
            for (const auto& e : names) {
                size_t n = std::wcslen(e.Name);
                if (i + n > S.size()) continue;
                bool eq = true;
                for (size_t k = 0; k < n && eq; ++k) eq = AsciiUpper(S[i + k]) == AsciiUpper(e.Name[k]);
                if (eq) {
                    out += e.Ch;
                    i += n;
                    done = true;
                    break;
                }
            }
            if (done) continue;
        }
        out += S[i++];
    }
    return out;
}

void ShowAmpersands(String& S, bool NoPrefix)
{
    size_t p = S.find(kAmpMarker);
    if (p == String::npos) return;
    String out;
    out.reserve(S.size() + 8);
    for (Char c : S) {
        if (c == kAmpMarker) out += NoPrefix ? L"&" : L"&&";
        else out += c;
    }
    S.swap(out);
}

void GridCRToBRTags(const String& S, bool ConvertCR, String& Result)
{
    String out;
    out.reserve(S.size());
    for (size_t i = 0; i < S.size(); ++i) {
        Char c = S[i];
        if (c == L'\n') continue;
        if (c == L'\r') {
            if (ConvertCR) out += L"<BR>";
            else {
                // A line feed after the carriage return does not count.
                size_t n = i + 1;
                while (n < S.size() && S[n] == L'\n') ++n;
                if (!(i > 0 && S[i - 1] == L'>' && n < S.size() && S[n] == L'<')) out += L' ';
            }
            continue;
        }
        out += c;
    }
    Result.swap(out);
}

}  // namespace markup_detail

using namespace markup_detail;

TColor TextToColor(const String& Name)
{
    if (Name.size() < 3 || Name[0] != L'c' || Name[1] != L'l') return TColor(0);
    return ColorTableLookup(Name.substr(2));
}

Integer HexPairToInt(const String& Text)
{
    if (Text.size() < 2) return 0;
    int a = HexDigit(Text[0]), b = HexDigit(Text[1]);
    return 16 * (a < 0 ? 0 : a) + (b < 0 ? 0 : b);
}

TColor HexToColor(const String& Text)
{
    Integer r = HexPairToInt(Copy(Text, 2, 2));
    Integer g = HexPairToInt(Copy(Text, 4, 2));
    Integer b = HexPairToInt(Copy(Text, 6, 2));
    return TColor(r + g * 256 + b * 65536);
}

Integer PosNoCase(const String& SubStr, const String& S) { return PosNoCaseWith(SubStr, S, false); }

Integer FindPos(const String& SubStr, const String& S, Integer& P)
{
    P = Pos(SubStr, S);
    return P;
}

bool ReplaceFirstNoCase(const String& SubStr, const String& NewStr, String& S)
{
    return ReplaceFirstNoCaseWith(SubStr, NewStr, S, false);
}

Integer IntFromText(const String& S)
{
    Integer v = 0, code = 0;
    Val(S, v, code);
    if (code == 0) return v;
    size_t i = 0;
    while (i < S.size() && S[i] == L' ') ++i;
    if (i < S.size() && (S[i] == L'-' || S[i] == L'+')) ++i;
    bool hex = false;
    if (i < S.size() && (S[i] == L'$' || S[i] == L'x' || S[i] == L'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < S.size() && S[i] == L'0' && (S[i + 1] == L'x' || S[i + 1] == L'X')) {
        hex = true;
        i += 2;
    }
    uint32_t acc = 0;
    for (; i < S.size(); ++i) {
        int d = hex ? HexDigit(S[i]) : (S[i] >= L'0' && S[i] <= L'9' ? S[i] - L'0' : -1);
        if (d < 0) break;
        acc = acc * (hex ? 16u : 10u) + uint32_t(d);
    }
    return Integer(acc & 0x7FFFFFFF);
}

void RemoveHashMarkers(const String& S, String& Result)
{
    String s = S;
    size_t from = 0;
    for (;;) {
        size_t p = s.find(L"<#", from);
        if (p == String::npos) break;
        s.erase(p, 1);
        size_t g = s.find(L'>', p);
        if (g != String::npos) s.erase(g, 1);
        from = p > 0 ? p - 1 : 0;
    }
    Result.swap(s);
}

void CRToBRTags(const String& S, bool ConvertCR, String& Result)
{
    String out;
    out.reserve(S.size());
    for (Char c : S) {
        if (c == L'\n') continue;
        if (c == L'\r') {
            if (ConvertCR) out += L"<BR>";
            continue;
        }
        out += c;
    }
    Result.swap(out);
}

namespace {
bool MiddleEastLocale() { return false; }
}  // namespace

UINT BiDiDrawFlags(UINT Flags, TBiDiMode BiDiMode)
{
    if (!MiddleEastLocale()) return Flags;
    if (BiDiMode == bdRightToLeft) {
        if (Flags & DT_RIGHT) Flags &= ~UINT(DT_RIGHT);
        else if (!(Flags & DT_CENTER)) Flags |= DT_RIGHT;
    }
    if (BiDiMode != bdLeftToRight) Flags |= DT_RTLREADING;
    return Flags;
}
