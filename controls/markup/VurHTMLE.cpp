// The grid's markup over the shared engine: its policy and unit state, the
// CONTROL-tag services, entity coding, and the cell-text utilities.
#include "controls/markup/VurHTMLE.h"

#include <algorithm>
#include <vector>

#include "controls/markup/MarkupEngine_Internal.h"
#include "platform/os/Version.h"

using namespace markup_detail;

namespace VurHTMLE {

namespace {

TColor gHighlightColor = clHighlight;
TColor gHighlightTextColor = clHighlightText;
bool gKeepLineBreak = true;
bool gWinXP = false;

struct TUnitStart {
    TUnitStart() { DetectWinXP(); }
} gUnitStart;

int HexValue(Char c)
{
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    return -1;
}

// One CONTROL tag of a text: the "<" and the end after its ">".
struct TTagSpan {
    size_t Lt = 0;
    size_t End = 0;   // index after the ">" (the text's length when none)
    TControlTag Tag;
};

// The controls in text order: only "<CONTROL " with a blank is visited.
std::vector<TTagSpan> WalkControls(const String& Text)
{
    std::vector<TTagSpan> out;
    const String up = UpperCase(Text);
    size_t from = 0;
    for (;;) {
        const size_t p = up.find(L"<CONTROL ", from);
        if (p == String::npos) break;
        TTagSpan s;
        s.Lt = p;
        const size_t gt = Text.find(L'>', p + 1);
        s.End = gt == String::npos ? Text.size() : gt + 1;
        ParseControlTagText(Text.substr(p + 8, (gt == String::npos ? Text.size() : gt) - (p + 8)), s.Tag);
        out.push_back(std::move(s));
        from = p + 1;
    }
    return out;
}

bool EditLike(const String& Type) { return Type != L"BUTTON" && Type != L"CHECK" && Type != L"RADIO"; }

// Length of a known entity at S[i] ("&lt;" ... and the table), else 0.
size_t EntityLenAt(const String& S, size_t i)
{
    if (i >= S.size() || S[i] != L'&') return 0;
    const size_t semi = S.find(L';', i);
    if (semi == String::npos || semi - i > 10) return 0;
    const String e = S.substr(i, semi - i + 1);
    return DecodeEntitiesText(e, true) != e ? e.size() : 0;
}

}  // namespace

TMarkupPolicy GridMarkupPolicy()
{
    TMarkupPolicy p;
    p.EntityTable = true;
    p.ControlTags = true;
    p.OffsetTag = false;
    p.UseLineSpacing = false;
    p.UnitHighlightColors = true;
    p.AsciiCaseFolding = true;
    p.NoPrefixOnAmpersand = false;
    p.ConvertCR = gKeepLineBreak;
    p.GridRules = true;
    p.HighlightColor = gHighlightColor;
    p.HighlightTextColor = gHighlightTextColor;
    p.WinXP = gWinXP;
    return p;
}

bool RenderMarkup(TMarkupParams& P) { return ::RenderMarkup(P, GridMarkupPolicy()); }

void SetMarkupHighlightColors(TColor Color, TColor TextColor)
{
    gHighlightColor = Color;
    gHighlightTextColor = TextColor;
}
TColor MarkupHighlightColor() { return gHighlightColor; }
TColor MarkupHighlightTextColor() { return gHighlightTextColor; }
bool HTMLKeepLineBreak() { return gKeepLineBreak; }
void SetHTMLKeepLineBreak(bool Value) { gKeepLineBreak = Value; }
bool WinXP() { return gWinXP; }

void DetectWinXP()
{
    OSVERSIONINFO vi;
    if (!GetVersionEx(&vi)) return;
    gWinXP = vi.dwMajorVersion > 5 || (vi.dwMajorVersion == 5 && vi.dwMinorVersion != 0);
}

Integer HexByteAt(const String& Text, Integer Index)
{
    if (Index < 1 || size_t(Index) + 1 > Text.size()) return 0;
    const int a = HexValue(Text[size_t(Index - 1)]), b = HexValue(Text[size_t(Index)]);
    if (a < 0 || b < 0) return 0;
    return a * 16 + b;
}

TColor TextToColor(const String& Name)
{
    if (!Name.empty() && Name[0] == L'#')
        return TColor(HexByteAt(Name, 2) + HexByteAt(Name, 4) * 256 + HexByteAt(Name, 6) * 65536);
    if (Name.size() < 3 || Name.compare(0, 2, L"cl") != 0) return TColor(0);
    return ColorTableLookup(Name.substr(2));
}

void DecodeEntities(const String& Text, bool All, String& Result) { Result = DecodeEntitiesText(Text, All); }
void EncodeEntities(const String& Text, bool All, String& Result) { Result = EncodeEntitiesText(Text, All); }

void SpacesToNbsp(const String& Text, String& Result)
{
    String out;
    out.reserve(Text.size());
    for (Char c : Text) {
        if (c == L' ') out += L"&nbsp;";
        else out += c;
    }
    Result = out;
}

void ParseControlTag(const String& Tag, String& TypeName, String& ID, String& Value, String& Width,
                     String& Height, String& Prop, String& MaxLen)
{
    TControlTag t;
    ParseControlTagText(Tag, t);
    TypeName = t.TypeName;
    ID = t.ID;
    Value = t.Value;
    Width = t.Width;
    Height = t.Height;
    Prop = t.Prop;
    MaxLen = t.MaxLen;
}

bool HasControlTags(const String& Text) { return UpperCase(Text).find(L"<CONTROL") != String::npos; }

void NextEditControlID(const String& Text, const String& ID, String& Result)
{
    Result.clear();
    bool passed = ID.empty();
    for (const TTagSpan& s : WalkControls(Text)) {
        if (passed && EditLike(s.Tag.TypeName)) {
            Result = s.Tag.ID;
            return;
        }
        if (s.Tag.ID == ID) passed = true;
    }
}

void ClearRadioControls(const String& Text, String& Result)
{
    String s = Text;
    for (const TTagSpan& t : WalkControls(Text))
        if (t.Tag.TypeName == L"RADIO") SetControlValue(s, t.Tag.ID, L"FALSE");
    Result = s;
}

bool GetControlValue(const String& Text, const String& ID, String& Value)
{
    for (const TTagSpan& s : WalkControls(Text))
        if (s.Tag.ID == ID) {
            Value = s.Tag.Value;
            return true;
        }
    return false;
}

void GetControlProp(const String& Text, const String& ID, String& Prop)
{
    Prop.clear();
    for (const TTagSpan& s : WalkControls(Text))
        if (s.Tag.ID == ID) {
            Prop = s.Tag.Prop;
            return;
        }
}

Integer GetControlMaxLen(const String& Text, const String& ID)
{
    for (const TTagSpan& s : WalkControls(Text))
        if (s.Tag.ID == ID) {
            Integer v = 0;
            for (Char c : s.Tag.MaxLen) {
                if (c < L'0' || c > L'9') break;
                if (v > 100000000) break;
                v = v * 10 + (c - L'0');
            }
            return v;
        }
    return 0;
}

bool SetControlValue(String& Text, const String& ID, const String& NewValue)
{
    const String q = L"\"";
    for (const TTagSpan& s : WalkControls(Text)) {
        if (s.Tag.ID != ID) continue;
        String tag = L"CONTROL ID=" + q + ID + q + L" VALUE=" + q + EncodeEntitiesText(NewValue, true) + q +
                     L" WIDTH=" + q + s.Tag.Width + q + L" TYPE=" + q + s.Tag.TypeName + q;
        if (!s.Tag.Prop.empty()) tag += L" PROP=" + q + EncodeEntitiesText(s.Tag.Prop, true) + q;
        if (!s.Tag.MaxLen.empty()) tag += L" MAXLEN=" + q + s.Tag.MaxLen + q;
        tag += L">";
        Text = Text.substr(0, s.Lt + 1) + tag + Text.substr(s.End);
        return true;
    }
    return false;
}

void PasswordMask(const String& Text, String& Result) { Result = String(Text.size(), L'*'); }

Integer FindPosUpper(const String& SubStr, const String& S, Integer& P)
{
    P = Pos(SubStr, UpperCase(S));
    return P;
}

Integer PosNoCase(const String& SubStr, const String& S) { return PosNoCaseWith(SubStr, S, true); }

bool ReplaceFirstNoCase(const String& SubStr, const String& NewStr, String& S)
{
    return ReplaceFirstNoCaseWith(SubStr, NewStr, S, true);
}

void CRToBRTags(const String& S, bool ConvertCR, String& Result) { GridCRToBRTags(S, ConvertCR, Result); }

void StripMarkup(const String& Text, String& Result) { Result = StripTagsOnly(LineBreakTagsToCRLF(Text)); }

void RemoveTags(const String& Text, String& Result)
{
    String out;
    size_t i = 0;
    for (;;) {
        const size_t lt = Text.find(L'<', i);
        const size_t gt = Text.find(L'>', i);
        if (lt == String::npos || gt == String::npos || gt < lt) break;
        out.append(Text, i, lt - i);
        i = gt + 1;
    }
    out.append(Text, std::min(i, Text.size()), String::npos);
    Result = out;
}

void HighlightMarkupText(const String& Text, const String& SubText, const String& Tag, bool DoCase,
                         bool FullText, String& Result)
{
    const String tag = UpperCase(Tag);
    const String open = L"<" + tag + L">", close = L"</" + tag + L">";
    String text = Text;
    RemoveAllNoCase(text, open, true);
    RemoveAllNoCase(text, close, true);
    const String sub = DoCase ? SubText : AnsiUpperCase(SubText);
    const bool markup = text.find(L"</") != String::npos;
    String visible;
    if (markup) {
        String t;
        RemoveTags(text, t);
        visible = DecodeEntitiesText(t, true);
    } else {
        visible = text;
    }
    if (!DoCase) visible = AnsiUpperCase(visible);
    String out;
    const size_t n = sub.size();
    if (FullText) {
        if (sub == visible) text = open + (markup ? text : EncodeEntitiesText(text, true)) + close;
    } else if (!markup) {
        bool hit = false;
        for (Integer c; n > 0 && (c = Pos(sub, visible)) > 0;) {
            const size_t before = size_t(c - 1);
            out += EncodeEntitiesText(text.substr(0, before), false) + open +
                   EncodeEntitiesText(text.substr(before, n), false) + close;
            text.erase(0, std::min(text.size(), before + n));
            visible.erase(0, std::min(visible.size(), before + n));
            hit = true;
        }
        if (hit) text = EncodeEntitiesText(text, false);
    } else {
        for (Integer c; n > 0 && (c = Pos(sub, visible)) > 0;) {
            visible.erase(0, std::min(visible.size(), size_t(c - 1) + n));
            // Tags and entities before the hit are copied through.
            for (;;) {
                const size_t lt = text.find(L'<');
                size_t amp = String::npos;
                for (size_t a = text.find(L'&'); a != String::npos && a + 1 < size_t(c); a = text.find(L'&', a + 1))
                    if (EntityLenAt(text, a)) {
                        amp = a;
                        break;
                    }
                const bool ltIn = lt != String::npos && lt + 1 <= size_t(c);
                const bool ampIn = amp != String::npos && amp + 1 < size_t(c);
                if (!ltIn && !ampIn) break;
                if (ltIn && (!ampIn || lt < amp)) {
                    const size_t gt = text.find(L'>', lt);
                    const size_t end = gt == String::npos ? text.size() : gt + 1;
                    out += text.substr(0, end);
                    text.erase(0, end);
                    c -= Integer(lt);
                } else {
                    const size_t end = amp + EntityLenAt(text, amp);
                    out += text.substr(0, end);
                    text.erase(0, end);
                    c -= Integer(amp) + 1;
                }
                if (c < 1) c = 1;
                if (text.empty()) break;
            }
            const size_t before = std::min(text.size(), size_t(c - 1));
            out += text.substr(0, before) + open;
            text.erase(0, before);
            size_t m = n;
            for (;;) {
                size_t k = String::npos;
                for (size_t i = 0; i < text.size() && i < m; ++i) {
                    if (text[i] == L'<' || (text[i] == L'&' && EntityLenAt(text, i))) {
                        k = i;
                        break;
                    }
                }
                if (k == String::npos) break;
                if (text[k] == L'<') {
                    const size_t gt = text.find(L'>', k);
                    const size_t end = gt == String::npos ? text.size() : gt + 1;
                    const String copied = text.substr(k, end - k);
                    out += text.substr(0, end);
                    text.erase(0, end);
                    m -= k;
                    if (UpperCase(copied.substr(0, 6)) == L"</FONT") out += close + open;
                } else {
                    const size_t end = k + EntityLenAt(text, k);
                    out += text.substr(0, end);
                    text.erase(0, end);
                    m -= k + 1;
                }
            }
            const size_t rest = std::min(text.size(), m);
            out += text.substr(0, rest) + close;
            text.erase(0, rest);
        }
    }
    Result = out + text;
}

void RemoveMarkupTag(const String& Text, const String& Tag, String& Result)
{
    const bool hadClose = Text.find(L"</") != String::npos;
    String s = Text;
    const String tag = UpperCase(Tag);
    RemoveAllNoCase(s, L"<" + tag + L">", true);
    RemoveAllNoCase(s, L"</" + tag + L">", true);
    if (hadClose && s.find(L"</") == String::npos) s = DecodeEntitiesText(s, false);
    Result = s;
}

}  // namespace VurHTMLE
