// Markup fed any text: both engine modes lay it out, draw it, hit-test and
// measure it, and the utilities strip, mark and unmark it. Properties
// checked: entities survive encode then decode, and a mark removed again
// gives a tag-free text back unchanged.
#include <cstdlib>

#include "controls/markup/MarkupEngine.h"
#include "controls/markup/VurHTMLE.h"
#include "platform/gfx/Gdi.h"

namespace {

// Bytes to characters: most map onto the markup's own alphabet so that tags,
// attributes and entities come up often; the rest pass through.
String ToMarkup(const uint8_t* data, size_t size)
{
    static const wchar_t* const pieces[] = {
        L"<", L">", L"</", L"\"", L"&", L";", L" ", L"=", L"\r\n", L"#", L":", L"/",
        L"A", L"B", L"BR", L"BODY", L"FONT", L"COLOR", L"BGCOLOR", L"HI", L"HR", L"I", L"IMG", L"IND",
        L"LI", L"OL", L"UL", L"OFS", L"P", L"ALIGN", L"RIGHT", L"CENTER", L"FLOAT", L"LEFT", L"ROT",
        L"S", L"SHAD", L"SUB", L"SUP", L"SPAN", L"STYLE", L"U", L"Z", L"E", L"CONTROL", L"TYPE",
        L"ID", L"VALUE", L"WIDTH", L"HEIGHT", L"CHECK", L"BUTTON", L"EDIT", L"COMBO", L"RADIO",
        L"HREF", L"TITLE", L"SRC", L"IDX:0", L"SSYS:", L"ALT", L"WRAP", L"amp", L"lt", L"gt", L"nbsp",
        L"eacute", L"quot", L"x", L"a", L"1", L"20", L"-", L"<#", L"clred", L"\u00E9", L"word",
    };
    constexpr size_t n = sizeof(pieces) / sizeof(pieces[0]);
    String s;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] < n) s += pieces[data[i]];
        else if (data[i] < 200) s += Char(L' ' + data[i] % 95);
        else s += Char(0xC0 + data[i]);
    }
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool started = (SetFixedMetricsFonts(true), true);
    (void)started;
    if (size < 2 || size > 4096) return 0;
    const uint8_t mode = data[0];
    const String text = ToMarkup(data + 1, size - 1);

    TBitmap target(120, 80);
    TImageList images;
    TBitmap glyph(16, 16);
    images.Add(&glyph, nullptr);
    for (int pass = 0; pass < 4; ++pass) {
        TMarkupParams p;
        p.Canvas = target.Canvas();
        p.Text = text;
        p.Rect = TRect{0, 0, 40 + (mode & 0x3F), 80};
        p.Images = &images;
        p.WordWrap = !(mode & 0x40);
        p.CheckOnly = pass == 1;
        p.CheckHeight = pass == 2;
        p.XPos = (mode * 7) % 120;
        p.YPos = (mode * 3) % 80;
        p.FocusLink = 0;
        p.Hover = mode & 0x80;
        p.HoverLink = 1;
        p.LineSpacing = mode % 3;
        if (pass == 3) p.ControlID = L"x";
        p.CheckOnly = p.CheckOnly || pass == 3;
        RenderMarkup(p);
        VurHTMLE::RenderMarkup(p);
    }

    String r, back;
    StripMarkup(text, r);
    RemoveTags(text, r);
    VurHTMLE::StripMarkup(text, r);
    VurHTMLE::RemoveTags(text, r);
    const String sub = text.substr(0, std::min<size_t>(3, text.size()));
    HighlightMarkupText(text, sub, L"hi", r, mode & 1);
    RemoveMarkupTag(r, L"hi", back);
    String tagless;
    RemoveTags(text, tagless);
    if (tagless == text && text.find(L'<') == String::npos && back != text) std::abort();
    VurHTMLE::HighlightMarkupText(text, sub, L"e", mode & 1, mode & 2, r);
    VurHTMLE::RemoveMarkupTag(r, L"e", back);

    String enc, dec;
    VurHTMLE::EncodeEntities(text, mode & 1, enc);
    VurHTMLE::DecodeEntities(enc, mode & 1, dec);
    if (dec != text) std::abort();

    String v;
    VurHTMLE::GetControlValue(text, L"x", v);
    String t = text;
    if (!VurHTMLE::SetControlValue(t, L"x", L"<v>") && t != text) std::abort();
    VurHTMLE::NextEditControlID(text, L"", v);
    VurHTMLE::ClearRadioControls(text, v);
    (void)VurHTMLE::GetControlMaxLen(text, L"x");
    return 0;
}
