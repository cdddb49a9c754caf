// The CONTROL tag of the grid's markup: inline edit boxes, combo boxes,
// check boxes, radio buttons and buttons, drawn, laid out and hit-tested in
// the line; and the entity coding and tag reading they share with the
// grid's services.
#include <algorithm>
#include <cmath>
#include <cwchar>

#include "controls/foundation/ThemeApiBinding.h"
#include "controls/markup/MarkupEngine.h"
#include "controls/markup/MarkupEngine_Internal.h"

namespace markup_detail {

namespace {
Char AsciiUp(Char c) { return (c >= L'a' && c <= L'z') ? Char(c - 32) : c; }
}  // namespace

String DecodeEntitiesText(const String& Text, bool All)
{
    if (Text.find(L'&') == String::npos) return Text;
    static const struct {
        const wchar_t* Name;
        Char Ch;
    } basic[] = {{L"&lt;", L'<'}, {L"&gt;", L'>'}, {L"&amp;", L'&'}, {L"&quot;", L'"'}};
    String out;
    out.reserve(Text.size());
    for (size_t i = 0; i < Text.size();) {
        if (Text[i] == L'&') {
            bool done = false;
            for (const auto& e : basic) {
                const size_t n = std::wcslen(e.Name);
                if (Text.compare(i, n, e.Name) == 0) {
                    out += e.Ch;
                    i += n;
                    done = true;
                    break;
                }
            }
            if (!done && All) {
                for (int k = 0; k < EntityTableCount(); ++k) {
                    const wchar_t* name = EntityTableName(k);
                    const size_t n = std::wcslen(name);
                    if (Text.compare(i, n, name) == 0) {
                        out += EntityTableChar(k);
                        i += n;
                        done = true;
                        break;
                    }
                }
            }
            if (done) continue;
        }
        out += Text[i++];
    }
    return out;
}

String EncodeEntitiesText(const String& Text, bool All)
{
    String out;
    out.reserve(Text.size() + 8);
    for (Char c : Text) {
        switch (c) {
        case L'&': out += L"&amp;"; continue;
        case L'"': out += L"&quot;"; continue;
        case L'<': out += L"&lt;"; continue;
        case L'>': out += L"&gt;"; continue;
        default: break;
        }
        if (All && c >= 0xA0) {
            bool done = false;
            for (int k = 0; k < EntityTableCount() && !done; ++k)
                if (EntityTableChar(k) == c) {
                    out += EntityTableName(k);
                    done = true;
                }
            if (done) continue;
        }
        out += c;
    }
    return out;
}

void ParseControlTagText(const String& Tag, TControlTag& T)
{
    T = TControlTag();
    size_t i = 0;
    const size_t n = Tag.size();
    // Skip the tag's own name when the text starts with it.
    auto skipBlanks = [&]() {
        while (i < n && Tag[i] == L' ') ++i;
    };
    bool seen[7] = {};
    static const wchar_t* names[] = {L"TYPE", L"ID", L"VALUE", L"WIDTH", L"HEIGHT", L"PROP", L"MAXLEN"};
    String* fields[] = {&T.TypeName, &T.ID, &T.Value, &T.Width, &T.Height, &T.Prop, &T.MaxLen};
    while (i < n && Tag[i] != L'>') {
        skipBlanks();
        const size_t ns = i;
        while (i < n && Tag[i] != L'=' && Tag[i] != L' ' && Tag[i] != L'>') ++i;
        String name = Tag.substr(ns, i - ns);
        for (Char& c : name) c = AsciiUp(c);
        String value;
        if (i < n && Tag[i] == L'=') {
            ++i;
            if (i < n && Tag[i] == L'"') {
                const size_t q = Tag.find(L'"', i + 1);
                if (q == String::npos) {
                    i = n;
                } else {
                    value = Tag.substr(i + 1, q - i - 1);
                    i = q + 1;
                }
            } else {
                while (i < n && Tag[i] != L' ' && Tag[i] != L'>') ++i;
            }
        } else if (i == ns) {
            ++i;   // a stray character
            continue;
        }
        for (int k = 0; k < 7; ++k)
            if (!seen[k] && name == names[k]) {
                seen[k] = true;
                *fields[k] = value;
            }
    }
    for (Char& c : T.TypeName) c = AsciiUp(c);
    T.Value = DecodeEntitiesText(T.Value, true);
    T.Prop = DecodeEntitiesText(T.Prop, true);
}

bool TMarkupRenderer::TagControl(const String& Attr, bool Drawing)
{
    TControlTag t;
    ParseControlTagText(Attr, t);
    Integer H = 25;
    if (!t.Height.empty()) {
        Integer h = 0;
        if (TryStrToInt(t.Height, h)) H = h;
    }
    Integer w = 0;
    // Without a WIDTH (or with one that is no number) the tag is ignored.
    if (t.Width.empty() || !TryStrToInt(t.Width, w)) return false;
    Integer hitW = w, hitH = C->TextHeight(L"gh") + 10;
    const String& type = t.TypeName;
    const bool check = type == L"CHECK", radio = type == L"RADIO";
    Integer s = (check || radio) ? 16 : 23;
    if (H > 25) s = H - 2;
    L.Height = s;
    const Integer x = CurLeft, b = L.R.Bottom;
    const bool isTrue = UpperCase(t.Value) == L"TRUE";
    if (check) hitW = hitH = w = Integer(std::nearbyint(16 * P.ResFactor));
    else if (radio) hitW = hitH = w = 16;
    else if (type == L"BUTTON") hitH = 24;
    if (Drawing) {
        const bool hot = P.XPos > x - 2 && P.YPos > b - hitH - 2 && P.XPos < x + hitW - 2 && P.YPos < b - 2;
        C->Pen()->SetColor(Themed ? TColor(0xB99D7F) : clGray);
        const TThemeApiTable& api = ThemeAPI();
        auto themed = [&](const wchar_t* cls, int part, int state, const TRect& r) {
            if (!api.OpenThemeData || !api.DrawThemeBackground || !api.CloseThemeData) return;
            HTHEME th = api.OpenThemeData(P.ThemeWindow, cls);
            if (!th) return;
            api.DrawThemeBackground(th, Dc, part, state, &r, nullptr);
            api.CloseThemeData(th);
        };
        auto text = [&](const String& s2, TRect r, UINT fl) {
            C->RequireState();
            DrawTextStr(Dc, s2, &r, fl);
        };
        if (type == L"EDIT" || type == L"PASSWORD" || type == L"MASK" || type == L"COMBO") {
            C->Brush()->SetColor(TColor(0xFFFFFF));
            C->Brush()->SetStyle(bsSolid);
            C->Rectangle(x, b - s + 4, x + w, b + 2);
            C->Brush()->SetStyle(bsClear);
            if (type == L"COMBO") {
                text(t.Value, TRect{x + 4, b - s + 4, x + w - 18, b}, DT_SINGLELINE | DT_VCENTER);
                TRect br{x + w - 18, b - s + 5, x + w - 1, b + 1};
                if (Themed) themed(L"combobox", 1, hot ? 2 : 1, br);
                else DrawFrameControl(Dc, &br, DFC_SCROLL, DFCS_SCROLLCOMBOBOX);
            } else {
                const String shown = type == L"PASSWORD" ? String(t.Value.size(), L'*') : t.Value;
                text(shown, TRect{x + 2, b - s + 4, x + w, b}, DT_SINGLELINE | DT_VCENTER);
            }
        } else if (check || radio) {
            C->Brush()->SetStyle(bsClear);
            TRect br = check ? TRect{x + 2, b - hitH + 1, x + hitW - 1, b} : TRect{x + 2, b - 14, x + 14, b};
            if (Themed) themed(L"button", check ? 3 : 2, isTrue ? 5 : 1, br);
            else
                DrawFrameControl(Dc, &br, DFC_BUTTON,
                                 UINT(check ? DFCS_FLAT : (DFCS_BUTTONRADIO | DFCS_FLAT)) | (isTrue ? UINT(DFCS_CHECKED) : 0u));
        } else if (type == L"BUTTON") {
            C->Brush()->SetStyle(bsClear);
            TRect br{x + 2, b - H, x + w - 2, b};
            const bool down = P.CtrlDown && P.CtrlDownID == t.ID;
            if (Themed) themed(L"button", 1, down ? 3 : hot ? 2 : 1, br);
            else DrawFrameControl(Dc, &br, DFC_BUTTON, UINT(DFCS_BUTTONPUSH) | ((hot && down) ? UINT(DFCS_PUSHED) : 0u));
            br = TRect{br.Left + 2, br.Top + 2, br.Right - 2, br.Bottom - 2};
            text(t.Value, br, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
    }
    if (type == L"BUTTON" || type == L"COMBO") hitH = 25;
    if (check || radio) {
        hitW = Integer(std::nearbyint(16 * P.ResFactor));
        hitH = 16;
    }
    const Integer X = L.Width;
    const Integer xr = P.XPos - L.R.Left;
    const bool found = (xr > X && xr < X + hitW && P.YPos > L.R.Top && P.YPos < L.R.Top + hitH) ||
                       (P.CheckOnly && !RequestedControlID.empty() && RequestedControlID == t.ID);
    if (found) {
        L.OnAnchorImage = true;
        P.AnchorVal = L"ctrl";
        P.ControlRect = TRect{L.R.Left + X, L.R.Top, L.R.Left + X + hitW, L.R.Top + hitH};
        P.ControlValue = t.Value;
        P.ControlID = t.ID;
        P.ControlType = t.TypeName;
    }
    const Integer avail = L.R.Right - L.R.Left;
    if (FirstPass && X + hitW > avail && hitW < avail && X > 0) return true;
    L.Width += hitW;
    CurLeft += hitW;
    L.Height = std::max(L.Height, hitH);
    return false;
}

}  // namespace markup_detail
