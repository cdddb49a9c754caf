// Font families, fonts, string formats, and measuring and drawing strings
// with Pango (or the fixed-metrics test font).
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <cwctype>
#include <mutex>
#include <set>

#include "platform/gfx/GdiPlus_Internal.h"

namespace {

constexpr double kFixedAdvance = 8, kFixedHeight = 16, kFixedAscent = 13;

String Lower(String s)
{
    for (auto& c : s) c = wchar_t(std::towlower(wint_t(c)));
    return s;
}

// Families installed on this machine, by lower-case name.
bool Installed(const String& name)
{
    static std::once_flag once;
    static std::set<String> names;
    std::call_once(once, [] {
        PangoFontMap* map = pango_cairo_font_map_get_default();
        PangoFontFamily** families = nullptr;
        int n = 0;
        pango_font_map_list_families(map, &families, &n);
        for (int i = 0; i < n; ++i) names.insert(Lower(UTF8ToString(pango_font_family_get_name(families[i]))));
        g_free(families);
    });
    return names.count(Lower(name)) != 0;
}

// Windows faces that every Windows installation has; they are drawn with
// the installed family the platform maps them to.
bool StandardWindowsFace(const String& name)
{
    static const wchar_t* faces[] = {
        L"arial", L"tahoma", L"segoe ui", L"ms sans serif", L"microsoft sans serif", L"ms shell dlg",
        L"ms shell dlg 2", L"verdana", L"calibri", L"trebuchet ms", L"courier new", L"courier", L"consolas",
        L"lucida console", L"times new roman", L"georgia", L"cambria",
    };
    String l = Lower(name);
    for (auto* f : faces)
        if (l == f) return true;
    return false;
}

GpFontFamily* Generic(int which)
{
    static GpFontFamily families[3] = {
        {MapFontFaceName(L"Microsoft Sans Serif"), L"Microsoft Sans Serif", true},
        {MapFontFaceName(L"Times New Roman"), L"Times New Roman", true},
        {MapFontFaceName(L"Courier New"), L"Courier New", true},
    };
    return &families[which];
}

// ---- layout ---------------------------------------------------------------

struct TText {
    String Text;
    int Hot = -1;   // index of the character to underline (hot-key prefix shown)
};

TText Prepare(const WCHAR* s, INT len, const GpStringFormat* fmt)
{
    TText t;
    const size_t n = len < 0 ? std::wcslen(s) : size_t(len);
    const INT hot = fmt ? fmt->Hotkey : HotkeyPrefixNone;
    for (size_t i = 0; i < n; ++i) {
        if (hot != HotkeyPrefixNone && s[i] == L'&' && i + 1 < n) {
            ++i;
            if (s[i] != L'&' && hot == HotkeyPrefixShow && t.Hot < 0) t.Hot = int(t.Text.size());
        }
        t.Text += s[i];
    }
    // Trailing spaces of a line do not count unless the format asks.
    if (!(fmt && (fmt->Flags & StringFormatFlagsMeasureTrailingSpaces))) {
        String out;
        size_t start = 0;
        while (start <= t.Text.size()) {
            size_t nl = t.Text.find(L'\n', start);
            size_t end = nl == String::npos ? t.Text.size() : nl;
            size_t e = end;
            while (e > start && t.Text[e - 1] == L' ') --e;
            if (t.Hot >= int(out.size() + (e - start)) && t.Hot < int(out.size() + (end - start)))
                t.Hot = -1;
            else if (t.Hot >= int(out.size() + (end - start)))
                t.Hot -= int(end - e);
            out.append(t.Text, start, e - start);
            if (nl == String::npos) break;
            out += L'\n';
            start = nl + 1;
        }
        t.Text = std::move(out);
    }
    return t;
}

struct TLayout {
    bool Fixed = false;
    PangoLayout* L = nullptr;
    std::vector<String> Lines;   // fixed metrics: the lines as laid out
    std::vector<int> LineStart;  // index of each line's first character in the text
    double W = 0, H = 0;         // text extents
    double Pad = 0;              // space GDI+ leaves on either side
    double LayoutX = 0, Y = 0;   // where the text is drawn
    bool PangoWidth = false;
    double OffsetX = 0;          // the text's left within the layout
    int LineCount = 0;
    GpRectF Box;
    ~TLayout()
    {
        if (L) g_object_unref(L);
    }
};

void FixedLines(TLayout& lay, const String& text, double maxW, bool wrap, bool ellipsis)
{
    const size_t maxChars = maxW > 0 ? size_t(std::max(1.0, std::floor(maxW / kFixedAdvance))) : SIZE_MAX;
    size_t start = 0;
    while (true) {
        size_t nl = text.find(L'\n', start);
        String para = text.substr(start, nl == String::npos ? String::npos : nl - start);
        size_t pos = 0;
        do {
            String line = para.substr(pos);
            size_t take = line.size();
            if (line.size() > maxChars) {
                if (wrap) {
                    size_t sp = line.rfind(L' ', maxChars);
                    take = sp != String::npos && sp > 0 ? sp : maxChars;
                } else {
                    take = line.size();
                    if (ellipsis) line = line.substr(0, maxChars > 3 ? maxChars - 3 : 0) + L"...", take = para.size() - pos;
                }
            }
            lay.LineStart.push_back(int(start + pos));
            lay.Lines.push_back(take == line.size() || !wrap ? line : line.substr(0, take));
            pos += take;
            while (wrap && pos < para.size() && para[pos] == L' ') ++pos;
        } while (pos < para.size());
        if (nl == String::npos) break;
        start = nl + 1;
    }
}

// Lays the text out in layoutRect as GDI+ does: padding of a sixth of the
// em on both sides, alignment in both directions, wrapping and trimming.
void LayOut(TLayout& lay, cairo_t* cr, const GpFont& font, const TText& t, const GpStringFormat* fmt,
            const GpRectF& r)
{
    const double em = font.Pixels();
    const INT flags = fmt ? fmt->Flags : 0;
    const StringAlignment align = fmt ? fmt->Align : StringAlignmentNear;
    const StringAlignment lineAlign = fmt ? fmt->LineAlign : StringAlignmentNear;
    const StringTrimming trim = fmt ? fmt->Trimming : StringTrimmingCharacter;
    const bool wrap = !(flags & StringFormatFlagsNoWrap);
    const bool ellipsis = trim == StringTrimmingEllipsisCharacter || trim == StringTrimmingEllipsisWord ||
                          trim == StringTrimmingEllipsisPath;
    lay.Fixed = FixedMetricsFonts();
    lay.Pad = lay.Fixed ? 0 : em / 6;
    const double avail = r.Width > 0 ? std::max(0.0, r.Width - 2 * lay.Pad) : 0;

    if (lay.Fixed) {
        FixedLines(lay, t.Text, avail, wrap && r.Width > 0, ellipsis && r.Width > 0);
        for (auto& l : lay.Lines) lay.W = std::max(lay.W, double(l.size()) * kFixedAdvance);
        lay.LineCount = int(lay.Lines.size());
        lay.H = lay.LineCount * kFixedHeight;
    } else {
        lay.L = pango_cairo_create_layout(cr);
        PangoFontDescription* d = pango_font_description_new();
        pango_font_description_set_family(d, UTF8Encode(font.Family).c_str());
        pango_font_description_set_absolute_size(d, std::max(1.0, em) * PANGO_SCALE);
        pango_font_description_set_weight(d, (font.Style & FontStyleBold) ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
        pango_font_description_set_style(d, (font.Style & FontStyleItalic) ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
        pango_layout_set_font_description(lay.L, d);
        pango_font_description_free(d);
        const std::string utf8 = UTF8Encode(t.Text);
        pango_layout_set_text(lay.L, utf8.c_str(), int(utf8.size()));
        PangoAttrList* attrs = pango_attr_list_new();
        if (font.Style & FontStyleUnderline) pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
        if (font.Style & FontStyleStrikeout) pango_attr_list_insert(attrs, pango_attr_strikethrough_new(TRUE));
        if (t.Hot >= 0) {
            const size_t b0 = UTF8Encode(t.Text.substr(0, size_t(t.Hot))).size();
            const size_t b1 = b0 + UTF8Encode(t.Text.substr(size_t(t.Hot), 1)).size();
            PangoAttribute* u = pango_attr_underline_new(PANGO_UNDERLINE_SINGLE);
            u->start_index = guint(b0);
            u->end_index = guint(b1);
            pango_attr_list_insert(attrs, u);
        }
        pango_layout_set_attributes(lay.L, attrs);
        pango_attr_list_unref(attrs);
        pango_layout_set_alignment(lay.L, align == StringAlignmentCenter ? PANGO_ALIGN_CENTER
                                          : align == StringAlignmentFar  ? PANGO_ALIGN_RIGHT
                                                                         : PANGO_ALIGN_LEFT);
        if (r.Width > 0 && (wrap || ellipsis)) {
            lay.PangoWidth = true;
            pango_layout_set_width(lay.L, int(avail * PANGO_SCALE));
            pango_layout_set_wrap(lay.L, trim == StringTrimmingCharacter || trim == StringTrimmingEllipsisCharacter
                                             ? PANGO_WRAP_WORD_CHAR
                                             : PANGO_WRAP_WORD);
            if (ellipsis) {
                pango_layout_set_ellipsize(lay.L, trim == StringTrimmingEllipsisPath ? PANGO_ELLIPSIZE_MIDDLE
                                                                                      : PANGO_ELLIPSIZE_END);
                pango_layout_set_height(lay.L, wrap && r.Height > 0 ? int(r.Height * PANGO_SCALE) : -1);
            }
        }
        PangoRectangle logical;
        pango_layout_get_extents(lay.L, nullptr, &logical);
        lay.W = logical.width / double(PANGO_SCALE);
        lay.H = logical.height / double(PANGO_SCALE);
        lay.OffsetX = logical.x / double(PANGO_SCALE);
        lay.LineCount = pango_layout_get_line_count(lay.L);
        if (t.Text.empty()) lay.W = 0;
    }

    const double total = lay.W + 2 * lay.Pad;
    double x;
    if (lay.PangoWidth) {
        lay.LayoutX = r.X + lay.Pad;
        x = lay.LayoutX + lay.OffsetX - lay.Pad;
    } else {
        x = align == StringAlignmentCenter ? r.X + (r.Width - total) / 2
          : align == StringAlignmentFar    ? r.X + r.Width - total
                                           : r.X;
        lay.LayoutX = x + lay.Pad;
    }
    lay.Y = lineAlign == StringAlignmentCenter ? r.Y + (r.Height - lay.H) / 2
          : lineAlign == StringAlignmentFar    ? r.Y + r.Height - lay.H
                                               : r.Y;
    double bw = total, bh = lay.H, bx = x, by = lay.Y;
    if (r.Width > 0) {
        bx = std::max(bx, double(r.X));
        bw = std::min(bw, double(r.Width));
    }
    if (r.Height > 0) {
        by = std::max(by, double(r.Y));
        bh = std::min(bh, double(r.Height));
    }
    if (t.Text.empty()) bw = bh = 0;
    lay.Box = {REAL(bx), REAL(by), REAL(bw), REAL(bh)};
}

}  // namespace

double GpFont::Pixels() const
{
    switch (Unit) {
    case UnitPoint: return Size * 96.0 / 72.0;
    case UnitInch: return Size * 96.0;
    case UnitDocument: return Size * 96.0 / 300.0;
    case UnitMillimeter: return Size * 96.0 / 25.4;
    default: return Size;
    }
}

// ---- families and fonts ---------------------------------------------------

Status GdipCreateFontFamilyFromName(const WCHAR* name, GpFontCollection*, GpFontFamily** fontFamily)
{
    GDIP_CHECK_STARTED();
    if (!name || !fontFamily) return InvalidParameter;
    String n = name;
    String family;
    if (Installed(n))
        family = n;
    else if (StandardWindowsFace(n) && Installed(MapFontFaceName(n)))
        family = MapFontFaceName(n);
    else
        return FontFamilyNotFound;
    *fontFamily = new GpFontFamily{family, n, false};
    return Ok;
}

Status GdipCloneFontFamily(GpFontFamily* fontFamily, GpFontFamily** clonedFontFamily)
{
    if (!fontFamily || !clonedFontFamily) return InvalidParameter;
    *clonedFontFamily = fontFamily->Generic ? fontFamily : new GpFontFamily(*fontFamily);
    return Ok;
}

Status GdipDeleteFontFamily(GpFontFamily* fontFamily)
{
    if (!fontFamily) return InvalidParameter;
    if (!fontFamily->Generic) delete fontFamily;   // the generic families are shared
    return Ok;
}

Status GdipGetGenericFontFamilySansSerif(GpFontFamily** nativeFamily)
{
    GDIP_CHECK_STARTED();
    if (!nativeFamily) return InvalidParameter;
    *nativeFamily = Generic(0);
    return Ok;
}

Status GdipGetGenericFontFamilySerif(GpFontFamily** nativeFamily)
{
    GDIP_CHECK_STARTED();
    if (!nativeFamily) return InvalidParameter;
    *nativeFamily = Generic(1);
    return Ok;
}

Status GdipGetGenericFontFamilyMonospace(GpFontFamily** nativeFamily)
{
    GDIP_CHECK_STARTED();
    if (!nativeFamily) return InvalidParameter;
    *nativeFamily = Generic(2);
    return Ok;
}

Status GdipGetFamilyName(const GpFontFamily* family, WCHAR* name, uint16_t)
{
    if (!family || !name) return InvalidParameter;
    const size_t n = std::min<size_t>(family->Requested.size(), LF_FACESIZE - 1);
    std::copy(family->Requested.begin(), family->Requested.begin() + std::ptrdiff_t(n), name);
    name[n] = 0;
    return Ok;
}

Status GdipCreateFont(const GpFontFamily* fontFamily, REAL emSize, INT style, INT unit, GpFont** font)
{
    GDIP_CHECK_STARTED();
    if (!fontFamily || !font || !(emSize > 0) || unit == UnitDisplay || unit < UnitWorld || unit > UnitMillimeter)
        return InvalidParameter;
    *font = new GpFont{fontFamily->Name, emSize, style & 15, GpUnit(unit)};
    return Ok;
}

Status GdipCloneFont(GpFont* font, GpFont** cloneFont)
{
    if (!font || !cloneFont) return InvalidParameter;
    *cloneFont = new GpFont(*font);
    return Ok;
}

Status GdipDeleteFont(GpFont* font)
{
    if (!font) return InvalidParameter;
    delete font;
    return Ok;
}

Status GdipGetFontSize(GpFont* font, REAL* size)
{
    if (!font || !size) return InvalidParameter;
    *size = font->Size;
    return Ok;
}

Status GdipGetFontStyle(GpFont* font, INT* style)
{
    if (!font || !style) return InvalidParameter;
    *style = font->Style;
    return Ok;
}

Status GdipGetFontUnit(GpFont* font, GpUnit* unit)
{
    if (!font || !unit) return InvalidParameter;
    *unit = font->Unit;
    return Ok;
}

// ---- string formats -------------------------------------------------------

Status GdipCreateStringFormat(INT formatAttributes, uint16_t language, GpStringFormat** format)
{
    GDIP_CHECK_STARTED();
    if (!format) return InvalidParameter;
    *format = new GpStringFormat;
    (*format)->Flags = formatAttributes;
    (*format)->Language = language;
    return Ok;
}

Status GdipCloneStringFormat(const GpStringFormat* format, GpStringFormat** newFormat)
{
    if (!format || !newFormat) return InvalidParameter;
    *newFormat = new GpStringFormat(*format);
    return Ok;
}

Status GdipDeleteStringFormat(GpStringFormat* format)
{
    if (!format) return InvalidParameter;
    delete format;
    return Ok;
}

Status GdipSetStringFormatAlign(GpStringFormat* format, StringAlignment align)
{
    if (!format || align < StringAlignmentNear || align > StringAlignmentFar) return InvalidParameter;
    format->Align = align;
    return Ok;
}

Status GdipGetStringFormatAlign(const GpStringFormat* format, StringAlignment* align)
{
    if (!format || !align) return InvalidParameter;
    *align = format->Align;
    return Ok;
}

Status GdipSetStringFormatLineAlign(GpStringFormat* format, StringAlignment align)
{
    if (!format || align < StringAlignmentNear || align > StringAlignmentFar) return InvalidParameter;
    format->LineAlign = align;
    return Ok;
}

Status GdipGetStringFormatLineAlign(const GpStringFormat* format, StringAlignment* align)
{
    if (!format || !align) return InvalidParameter;
    *align = format->LineAlign;
    return Ok;
}

Status GdipSetStringFormatFlags(GpStringFormat* format, INT flags)
{
    if (!format) return InvalidParameter;
    format->Flags = flags;
    return Ok;
}

Status GdipGetStringFormatFlags(const GpStringFormat* format, INT* flags)
{
    if (!format || !flags) return InvalidParameter;
    *flags = format->Flags;
    return Ok;
}

Status GdipSetStringFormatTrimming(GpStringFormat* format, StringTrimming trimming)
{
    if (!format || trimming < StringTrimmingNone || trimming > StringTrimmingEllipsisPath) return InvalidParameter;
    format->Trimming = trimming;
    return Ok;
}

Status GdipGetStringFormatTrimming(const GpStringFormat* format, StringTrimming* trimming)
{
    if (!format || !trimming) return InvalidParameter;
    *trimming = format->Trimming;
    return Ok;
}

Status GdipSetStringFormatHotkeyPrefix(GpStringFormat* format, INT hotkeyPrefix)
{
    if (!format || hotkeyPrefix < HotkeyPrefixNone || hotkeyPrefix > HotkeyPrefixHide) return InvalidParameter;
    format->Hotkey = hotkeyPrefix;
    return Ok;
}

Status GdipGetStringFormatHotkeyPrefix(const GpStringFormat* format, INT* hotkeyPrefix)
{
    if (!format || !hotkeyPrefix) return InvalidParameter;
    *hotkeyPrefix = format->Hotkey;
    return Ok;
}

// ---- measuring and drawing ------------------------------------------------

Status GdipMeasureString(GpGraphics* graphics, const WCHAR* string, INT length, const GpFont* font,
                         const GpRectF* layoutRect, const GpStringFormat* stringFormat, GpRectF* boundingBox,
                         INT* codepointsFitted, INT* linesFilled)
{
    if (!graphics || !graphics->Cr || !string || !font || !layoutRect || !boundingBox) return InvalidParameter;
    if (graphics->InGetDC) return ObjectBusy;
    TText t = Prepare(string, length, stringFormat);
    GpBegin(graphics, false);
    TLayout lay;
    LayOut(lay, graphics->Cr, *font, t, stringFormat, *layoutRect);
    GpEnd(graphics);
    *boundingBox = lay.Box;
    if (codepointsFitted) *codepointsFitted = length < 0 ? INT(std::wcslen(string)) : length;
    if (linesFilled) *linesFilled = t.Text.empty() ? 0 : lay.LineCount;
    return Ok;
}

Status GdipDrawString(GpGraphics* graphics, const WCHAR* string, INT length, const GpFont* font,
                      const GpRectF* layoutRect, const GpStringFormat* stringFormat, const GpBrush* brush)
{
    if (!graphics || !graphics->Cr || !string || !font || !layoutRect || !brush) return InvalidParameter;
    if (graphics->InGetDC) return ObjectBusy;
    TText t = Prepare(string, length, stringFormat);
    if (t.Text.empty()) return Ok;
    GpBegin(graphics, false);
    cairo_t* cr = graphics->Cr;
    TLayout lay;
    LayOut(lay, cr, *font, t, stringFormat, *layoutRect);
    const GpRectF& r = *layoutRect;
    if (r.Width > 0 && r.Height > 0 && !(stringFormat && (stringFormat->Flags & StringFormatFlagsNoClip))) {
        cairo_rectangle(cr, r.X, r.Y, r.Width, r.Height);
        cairo_clip(cr);
    }
    cairo_pattern_t* p = brush->Pattern(cr);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
    if (lay.Fixed) {
        cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
        const StringAlignment align = stringFormat ? stringFormat->Align : StringAlignmentNear;
        for (size_t i = 0; i < lay.Lines.size(); ++i) {
            const String& line = lay.Lines[i];
            const double lw = double(line.size()) * kFixedAdvance;
            double x = r.Width > 0 ? (align == StringAlignmentCenter ? r.X + (r.Width - lw) / 2
                                      : align == StringAlignmentFar  ? r.X + r.Width - lw
                                                                     : r.X)
                                   : lay.LayoutX + (align == StringAlignmentCenter ? (lay.W - lw) / 2
                                                    : align == StringAlignmentFar  ? lay.W - lw
                                                                                   : 0);
            const double y = lay.Y + double(i) * kFixedHeight;
            for (size_t c = 0; c < line.size(); ++c) {
                if (std::iswspace(wint_t(line[c]))) continue;
                cairo_rectangle(cr, std::round(x + double(c) * kFixedAdvance + 1), std::round(y + 2),
                                kFixedAdvance - 2, kFixedAscent - 2);
            }
            const int hot = t.Hot - lay.LineStart[i];
            if (t.Hot >= 0 && hot >= 0 && size_t(hot) < line.size())
                cairo_rectangle(cr, std::round(x + hot * kFixedAdvance), std::round(y + kFixedAscent + 1), kFixedAdvance, 1);
        }
        cairo_fill(cr);
    } else {
        cairo_font_options_t* o = cairo_font_options_create();
        const bool mono = graphics->TextHint == TextRenderingHintSingleBitPerPixel ||
                          graphics->TextHint == TextRenderingHintSingleBitPerPixelGridFit;
        cairo_font_options_set_antialias(o, mono ? CAIRO_ANTIALIAS_NONE : CAIRO_ANTIALIAS_GRAY);
        pango_cairo_context_set_font_options(pango_layout_get_context(lay.L), o);
        pango_layout_context_changed(lay.L);
        cairo_font_options_destroy(o);
        cairo_move_to(cr, lay.LayoutX, lay.Y);
        pango_cairo_show_layout(cr, lay.L);
    }
    GpEnd(graphics);
    return Ok;
}

Status GdipAddPathString(GpPath* path, const WCHAR* string, INT length, const GpFontFamily* family, INT style,
                         REAL emSize, const GpRectF* layoutRect, const GpStringFormat* format)
{
    if (!path || !string || !family || !layoutRect || !(emSize > 0)) return InvalidParameter;
    GpFont font{family->Name, emSize, style & 15, UnitWorld};
    TText t = Prepare(string, length, format);
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
    cairo_t* cr = cairo_create(s);
    TLayout lay;
    LayOut(lay, cr, font, t, format, *layoutRect);
    if (lay.Fixed) {
        for (size_t i = 0; i < lay.Lines.size(); ++i)
            for (size_t c = 0; c < lay.Lines[i].size(); ++c) {
                if (std::iswspace(wint_t(lay.Lines[i][c]))) continue;
                cairo_rectangle(cr, lay.LayoutX + double(c) * kFixedAdvance + 1, lay.Y + double(i) * kFixedHeight + 2,
                                kFixedAdvance - 2, kFixedAscent - 2);
            }
    } else if (!t.Text.empty()) {
        cairo_move_to(cr, lay.LayoutX, lay.Y);
        pango_cairo_layout_path(cr, lay.L);
    }
    cairo_path_t* cp = cairo_copy_path(cr);
    for (int i = 0; i < cp->num_data; i += cp->data[i].header.length) {
        const cairo_path_data_t* d = &cp->data[i];
        switch (d->header.type) {
        case CAIRO_PATH_MOVE_TO:
            path->NewFigure = true;
            path->Add(REAL(d[1].point.x), REAL(d[1].point.y), PathPointTypeStart);
            break;
        case CAIRO_PATH_LINE_TO: path->Add(REAL(d[1].point.x), REAL(d[1].point.y), PathPointTypeLine); break;
        case CAIRO_PATH_CURVE_TO:
            for (int k = 1; k <= 3; ++k) path->Add(REAL(d[k].point.x), REAL(d[k].point.y), PathPointTypeBezier);
            break;
        case CAIRO_PATH_CLOSE_PATH: path->CloseFigure(); break;
        }
    }
    cairo_path_destroy(cp);
    cairo_destroy(cr);
    cairo_surface_destroy(s);
    path->NewFigure = true;
    return Ok;
}
