// Fonts and text on Pango: metrics, extents, TextOut/ExtTextOut and
// DrawText layout, with caches of font descriptions and layouts so that
// repeated texts cost little; plus the fixed-metrics test mode.
#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstring>
#include <cwctype>
#include <list>
#include <map>
#include <unordered_map>

#include "platform/gfx/GdiInternal.h"

namespace {

std::atomic<bool> gFixedMetrics{false};

constexpr int kFixedAdvance = 8, kFixedHeight = 16, kFixedAscent = 13, kFixedDescent = 3;

String Lower(const String& s)
{
    String r = s;
    for (auto& c : r) c = wchar_t(std::towlower(c));
    return r;
}

struct TLayoutEntry {
    PangoLayout* Layout = nullptr;
    int Width = 0;                 // device pixels
    int Baseline = 0;
    std::vector<double> Cum;       // advance after each character
    ~TLayoutEntry()
    {
        if (Layout) g_object_unref(Layout);
    }
};

struct TFontEntry {
    PangoFontDescription* Desc = nullptr;
    TFontMetricsInfo M;
    bool Underline = false, StrikeOut = false;
    std::unordered_map<std::wstring, std::unique_ptr<TLayoutEntry>> Layouts;
    // Laid out right to left (DT_RTLREADING): neutral characters take the
    // reading order of a right-to-left paragraph.
    std::unordered_map<std::wstring, std::unique_ptr<TLayoutEntry>> RtlLayouts;
    ~TFontEntry()
    {
        Layouts.clear();
        RtlLayouts.clear();
        if (Desc) pango_font_description_free(Desc);
    }
};

struct TTextCache {
    PangoFontMap* FontMap = nullptr;
    PangoContext* Context = nullptr;
    PangoContext* RtlContext = nullptr;
    std::unordered_map<std::string, std::unique_ptr<TFontEntry>> Fonts;
    // The last fonts asked for, by their exact description: painting asks
    // for the same few over and over, and naming one for Fonts costs more
    // than measuring a short text.
    struct TRecent {
        LOGFONTW Lf;
        double ScaleY;
        TFontEntry* Entry;
    };
    std::array<TRecent, 8> Recent{};
    size_t RecentCount = 0, RecentNext = 0;
    TFontEntry* FindRecent(const LOGFONTW& lf, double scaleY) const
    {
        for (size_t i = 0; i < RecentCount; ++i)
            if (Recent[i].ScaleY == scaleY && std::memcmp(&Recent[i].Lf, &lf, sizeof lf) == 0) return Recent[i].Entry;
        return nullptr;
    }
    void Remember(const LOGFONTW& lf, double scaleY, TFontEntry* e)
    {
        Recent[RecentNext] = TRecent{lf, scaleY, e};
        RecentNext = (RecentNext + 1) % Recent.size();
        RecentCount = std::max(RecentCount, RecentNext == 0 ? Recent.size() : RecentNext);
    }

    TTextCache()
    {
        FontMap = pango_cairo_font_map_new();
        Context = pango_font_map_create_context(FontMap);
        cairo_font_options_t* fo = cairo_font_options_create();
        cairo_font_options_set_hint_metrics(fo, CAIRO_HINT_METRICS_ON);
        cairo_font_options_set_hint_style(fo, CAIRO_HINT_STYLE_SLIGHT);
        cairo_font_options_set_antialias(fo, CAIRO_ANTIALIAS_GRAY);
        pango_cairo_context_set_font_options(Context, fo);
        pango_cairo_context_set_resolution(Context, 96);
        RtlContext = pango_font_map_create_context(FontMap);
        pango_cairo_context_set_font_options(RtlContext, fo);
        pango_cairo_context_set_resolution(RtlContext, 96);
        pango_context_set_base_dir(RtlContext, PANGO_DIRECTION_RTL);
        cairo_font_options_destroy(fo);
    }
    ~TTextCache()
    {
        Fonts.clear();
        g_object_unref(RtlContext);
        g_object_unref(Context);
        g_object_unref(FontMap);
    }
};

TTextCache& Cache()
{
    thread_local TTextCache c;
    return c;
}

LOGFONTW LogFontOf(HDC dc)
{
    HFONT f = dc && dc->S.Font ? dc->S.Font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    return f->Log;
}

}  // namespace

#if defined(__SANITIZE_ADDRESS__)
// fontconfig keeps a few allocations of its own for the life of the
// process; they are not ours to free.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
#endif

void SetFixedMetricsFonts(bool on) { gFixedMetrics = on; }
bool FixedMetricsFonts() { return gFixedMetrics; }

String MapFontFaceName(const String& face)
{
    String f = Lower(face);
    static const wchar_t* sans[] = {L"arial", L"tahoma", L"segoe ui", L"ms sans serif", L"microsoft sans serif",
                                    L"ms shell dlg", L"ms shell dlg 2", L"verdana", L"system", L"helvetica",
                                    L"calibri", L"trebuchet ms", L""};
    static const wchar_t* mono[] = {L"courier new", L"courier", L"consolas", L"lucida console", L"fixedsys",
                                    L"terminal"};
    static const wchar_t* serif[] = {L"times new roman", L"times", L"georgia", L"cambria"};
    for (auto* s : sans)
        if (f == s) return L"Liberation Sans";
    for (auto* s : mono)
        if (f == s) return L"Liberation Mono";
    for (auto* s : serif)
        if (f == s) return L"Liberation Serif";
    if (f.rfind(L"liberation", 0) == 0 || f.rfind(L"dejavu", 0) == 0) return face;
    return L"Liberation Sans";
}

// ---------------------------------------------------------------------------
// Font resolution
// ---------------------------------------------------------------------------

static TFontEntry* ResolveFont(const LOGFONTW& lf, double scaleY)
{
    if (TFontEntry* known = Cache().FindRecent(lf, scaleY)) return known;
    double h = std::fabs(double(lf.lfHeight) * scaleY);
    bool cell = lf.lfHeight > 0;
    if (lf.lfHeight == 0) {
        h = 16;   // the platform's default size: a 12-point face at 96 dpi
        cell = false;
    }
    String face = lf.lfFaceName;
    String family = MapFontFaceName(face);
    if (face.empty()) {
        Byte fam = lf.lfPitchAndFamily & 0xF0, pitch = lf.lfPitchAndFamily & 3;
        if (pitch == FIXED_PITCH || fam == FF_MODERN) family = L"Liberation Mono";
        else if (fam == FF_ROMAN) family = L"Liberation Serif";
    }
    char keybuf[160];
    std::snprintf(keybuf, sizeof keybuf, "%s|%.3f|%d|%ld|%d|%d|%d", UTF8Encode(family).c_str(), h, int(cell),
                  long(lf.lfWeight), int(lf.lfItalic != 0), int(lf.lfUnderline != 0), int(lf.lfStrikeOut != 0));
    auto& cache = Cache();
    auto it = cache.Fonts.find(keybuf);
    if (it != cache.Fonts.end()) {
        cache.Remember(lf, scaleY, it->second.get());
        return it->second.get();
    }

    auto e = std::make_unique<TFontEntry>();
    e->Desc = pango_font_description_new();
    std::string fam8 = UTF8Encode(family);
    pango_font_description_set_family(e->Desc, fam8.c_str());
    int weight = lf.lfWeight <= 0 ? 400 : std::clamp<int>(lf.lfWeight, 100, 1000);
    pango_font_description_set_weight(e->Desc, PangoWeight(weight));
    pango_font_description_set_style(e->Desc, lf.lfItalic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    double em = std::max(1.0, h);
    pango_font_description_set_absolute_size(e->Desc, em * PANGO_SCALE);
    PangoFontMetrics* m = pango_context_get_metrics(cache.Context, e->Desc, nullptr);
    double asc = pango_font_metrics_get_ascent(m) / double(PANGO_SCALE);
    double desc = pango_font_metrics_get_descent(m) / double(PANGO_SCALE);
    if (cell && asc + desc > 0) {
        // A positive height is the cell height: scale the em so ascent and descent fill it.
        em = std::max(1.0, h * em / (asc + desc));
        pango_font_metrics_unref(m);
        pango_font_description_set_absolute_size(e->Desc, em * PANGO_SCALE);
        m = pango_context_get_metrics(cache.Context, e->Desc, nullptr);
        asc = pango_font_metrics_get_ascent(m) / double(PANGO_SCALE);
        desc = pango_font_metrics_get_descent(m) / double(PANGO_SCALE);
    }
    e->M.Ascent = int(std::lround(asc));
    e->M.Descent = int(std::lround(desc));
    e->M.Height = e->M.Ascent + e->M.Descent;
    e->M.InternalLeading = std::max(0, e->M.Height - int(std::lround(em)));
    e->M.ExternalLeading = 0;
    e->M.AveCharWidth = std::max(1, int(std::lround(pango_font_metrics_get_approximate_char_width(m) / double(PANGO_SCALE))));
    e->M.MaxCharWidth = e->M.AveCharWidth * 2;
    pango_font_metrics_unref(m);
    e->Underline = lf.lfUnderline != 0;
    e->StrikeOut = lf.lfStrikeOut != 0;
    TFontEntry* raw = e.get();
    if (cache.Fonts.size() > 256) {
        cache.Fonts.clear();
        cache.RecentCount = cache.RecentNext = 0;
    }
    cache.Fonts.emplace(keybuf, std::move(e));
    cache.Remember(lf, scaleY, raw);
    return raw;
}

static TLayoutEntry* LayoutFor(TFontEntry* f, const wchar_t* text, int n, bool rtl = false)
{
    auto& layouts = rtl ? f->RtlLayouts : f->Layouts;
    std::wstring key(text, size_t(n));
    auto it = layouts.find(key);
    if (it != layouts.end()) return it->second.get();
    auto e = std::make_unique<TLayoutEntry>();
    e->Layout = pango_layout_new(rtl ? Cache().RtlContext : Cache().Context);
    if (rtl) pango_layout_set_auto_dir(e->Layout, FALSE);
    pango_layout_set_font_description(e->Layout, f->Desc);
    std::string utf8 = UTF8Encode(key);
    pango_layout_set_text(e->Layout, utf8.c_str(), int(utf8.size()));
    if (f->Underline || f->StrikeOut) {
        PangoAttrList* attrs = pango_attr_list_new();
        if (f->Underline) pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
        if (f->StrikeOut) pango_attr_list_insert(attrs, pango_attr_strikethrough_new(TRUE));
        pango_layout_set_attributes(e->Layout, attrs);
        pango_attr_list_unref(attrs);
    }
    PangoRectangle logical;
    pango_layout_get_pixel_extents(e->Layout, nullptr, &logical);
    e->Width = logical.width;
    e->Baseline = pango_layout_get_baseline(e->Layout) / PANGO_SCALE;
    // Advance after each character, from the clusters' logical extents.
    e->Cum.assign(size_t(n), 0.0);
    std::vector<int> byteToChar(utf8.size() + 1, 0);
    {
        size_t b = 0;
        for (int i = 0; i < n; ++i) {
            std::string one = UTF8Encode(std::wstring(1, key[size_t(i)]));
            for (size_t k = 0; k < one.size() && b + k < byteToChar.size(); ++k) byteToChar[b + k] = i;
            b += one.size();
        }
        if (b < byteToChar.size()) byteToChar[b] = n;
    }
    PangoLayoutIter* iter = pango_layout_get_iter(e->Layout);
    std::vector<double> ends(size_t(n), -1);
    do {
        int idx = pango_layout_iter_get_index(iter);
        PangoRectangle lr;
        pango_layout_iter_get_cluster_extents(iter, nullptr, &lr);
        if (idx >= 0 && size_t(idx) < utf8.size()) {
            int ci = byteToChar[size_t(idx)];
            if (ci < n) ends[size_t(ci)] = std::max(lr.x, lr.x + lr.width) / double(PANGO_SCALE);
        }
    } while (pango_layout_iter_next_cluster(iter));
    pango_layout_iter_free(iter);
    double last = 0;
    for (int i = 0; i < n; ++i) {
        if (ends[size_t(i)] >= 0) last = std::max(last, ends[size_t(i)]);
        e->Cum[size_t(i)] = last;
    }
    if (n > 0) e->Cum[size_t(n - 1)] = std::max<double>(e->Cum[size_t(n - 1)], e->Width);
    TLayoutEntry* raw = e.get();
    if (layouts.size() > 2048) layouts.clear();
    layouts.emplace(std::move(key), std::move(e));
    return raw;
}

// ---------------------------------------------------------------------------
// Measuring in device pixels
// ---------------------------------------------------------------------------

namespace {

struct TTextCtx {
    HDC Dc;
    LOGFONTW Lf;
    bool Fixed;
    double Sx, Sy;           // device pixels per logical unit (absolute)
    TFontEntry* Font = nullptr;

    explicit TTextCtx(HDC dc) : Dc(dc), Lf(LogFontOf(dc)), Fixed(gFixedMetrics)
    {
        Sx = dc ? std::fabs(dc->ScaleX()) : 1;
        Sy = dc ? std::fabs(dc->ScaleY()) : 1;
        if (!Fixed) Font = ResolveFont(Lf, Sy);
    }
    double Ascent() const { return Fixed ? kFixedAscent * Sy : Font->M.Ascent; }
    double Height() const { return Fixed ? kFixedHeight * Sy : Font->M.Height; }
    double AveChar() const { return Fixed ? kFixedAdvance * Sx : Font->M.AveCharWidth; }
    double Extra() const { return Dc ? Dc->S.CharExtra * Sx : 0; }

    // Advance after each of the n characters.
    void Cum(const wchar_t* s, int n, std::vector<double>& out) const
    {
        out.resize(size_t(n));
        if (Fixed) {
            for (int i = 0; i < n; ++i) out[size_t(i)] = (i + 1) * (kFixedAdvance * Sx + Extra());
            return;
        }
        if (n == 0) return;
        TLayoutEntry* l = LayoutFor(Font, s, n);
        double ex = Extra();
        for (int i = 0; i < n; ++i) out[size_t(i)] = l->Cum[size_t(i)] + ex * (i + 1);
    }
    double Width(const wchar_t* s, int n) const
    {
        if (n <= 0) return 0;
        if (Fixed) return n * (kFixedAdvance * Sx + Extra());
        return LayoutFor(Font, s, n)->Width + Extra() * n;
    }
};

// The DC's cairo context saved, clipped to the DC's clip and to clip (when
// given), and turned by angleDeg (counter-clockwise) about (rx, ry); the
// caller draws and restores it.
cairo_t* BeginTextCairo(HDC dc, const TRect* clip, double angleDeg, double rx, double ry)
{
    cairo_t* cr = dc->Cairo();
    cairo_save(cr);
    dc->ClipCairo(cr);
    if (clip) {
        cairo_rectangle(cr, clip->Left, clip->Top, clip->Width(), clip->Height());
        cairo_clip(cr);
    }
    if (angleDeg != 0) {
        cairo_translate(cr, rx, ry);
        cairo_rotate(cr, -angleDeg * M_PI / 180.0);
        cairo_translate(cr, -rx, -ry);
    }
    return cr;
}

// Draws a run with its cell's top-left at surface point (x, y).
void DrawRun(HDC dc, const TTextCtx& tc, double x, double y, const wchar_t* s, int n, const TRect* clip,
             double angleDeg = 0, double rx = 0, double ry = 0, bool rtl = false)
{
    if (n <= 0 || !dc->Target()) return;
    cairo_t* cr = BeginTextCairo(dc, clip, angleDeg, rx, ry);
    CairoSetColor(cr, dc->S.TextColor);
    if (tc.Fixed) {
        double adv = kFixedAdvance * tc.Sx, ex = tc.Extra();
        cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
        for (int i = 0; i < n; ++i) {
            if (std::iswspace(s[i])) continue;
            double cx = x + i * (adv + ex);
            cairo_rectangle(cr, std::round(cx + tc.Sx), std::round(y + 2 * tc.Sy),
                            std::round(adv - 2 * tc.Sx), std::round((kFixedAscent - 2) * tc.Sy));
        }
        if (tc.Lf.lfUnderline)
            cairo_rectangle(cr, std::round(x), std::round(y + (kFixedAscent + 1) * tc.Sy), std::round(n * (adv + ex)), std::max(1.0, std::round(tc.Sy)));
        if (tc.Lf.lfStrikeOut)
            cairo_rectangle(cr, std::round(x), std::round(y + 8 * tc.Sy), std::round(n * (adv + ex)), std::max(1.0, std::round(tc.Sy)));
        cairo_fill(cr);
        cairo_restore(cr);
        return;
    }
    if (tc.Lf.lfQuality == NONANTIALIASED_QUALITY) cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    TLayoutEntry* l = LayoutFor(tc.Font, s, n, rtl);
    double top = y + tc.Font->M.Ascent - l->Baseline;
    if (tc.Extra() != 0) {
        std::vector<double> cum;
        tc.Cum(s, n, cum);
        for (int i = 0; i < n; ++i) {
            TLayoutEntry* one = LayoutFor(tc.Font, s + i, 1);
            cairo_move_to(cr, x + (i ? cum[size_t(i - 1)] : 0), top);
            pango_cairo_show_layout(cr, one->Layout);
        }
    } else {
        cairo_move_to(cr, x, top);
        pango_cairo_show_layout(cr, l->Layout);
    }
    cairo_restore(cr);
}

void FillBox(HDC dc, double x, double y, double w, double h, COLORREF color, const TRect* clip,
             double angleDeg = 0, double rx = 0, double ry = 0)
{
    if (!dc->Target() || w <= 0 || h <= 0) return;
    cairo_t* cr = BeginTextCairo(dc, clip, angleDeg, rx, ry);
    if (angleDeg == 0) cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_rectangle(cr, std::round(x), std::round(y), std::round(w), std::round(h));
    CairoSetColor(cr, color);
    cairo_fill(cr);
    cairo_restore(cr);
}

TRect ToDevice(HDC dc, const TRect& sr)
{
    TRect r = sr;
    OffsetRect(r, -dc->Origin.X, -dc->Origin.Y);
    return r;
}

}  // namespace

// ---------------------------------------------------------------------------
// Metrics and extents
// ---------------------------------------------------------------------------

BOOL GetTextMetrics(HDC dc, TEXTMETRICW* tm)
{
    if (!tm) return 0;
    TTextCtx tc(dc);
    *tm = TEXTMETRICW();
    LOGFONTW lf = tc.Lf;
    auto L = [&](double v) { return LONG(std::lround(v / tc.Sy)); };
    auto LX = [&](double v) { return LONG(std::lround(v / tc.Sx)); };
    if (tc.Fixed) {
        tm->tmHeight = kFixedHeight;
        tm->tmAscent = kFixedAscent;
        tm->tmDescent = kFixedDescent;
        tm->tmAveCharWidth = kFixedAdvance;
        tm->tmMaxCharWidth = kFixedAdvance;
    } else {
        tm->tmHeight = L(tc.Font->M.Height);
        tm->tmAscent = L(tc.Font->M.Ascent);
        tm->tmDescent = tm->tmHeight - tm->tmAscent;
        tm->tmInternalLeading = L(tc.Font->M.InternalLeading);
        tm->tmExternalLeading = L(tc.Font->M.ExternalLeading);
        tm->tmAveCharWidth = LX(tc.Font->M.AveCharWidth);
        tm->tmMaxCharWidth = LX(tc.Font->M.MaxCharWidth);
    }
    tm->tmWeight = lf.lfWeight <= 0 ? FW_NORMAL : lf.lfWeight;
    tm->tmItalic = lf.lfItalic;
    tm->tmUnderlined = lf.lfUnderline;
    tm->tmStruckOut = lf.lfStrikeOut;
    tm->tmCharSet = lf.lfCharSet == DEFAULT_CHARSET ? Byte(ANSI_CHARSET) : lf.lfCharSet;
    bool mono = tc.Fixed || MapFontFaceName(lf.lfFaceName) == L"Liberation Mono";
    // The "fixed pitch" bit is set for variable-pitch fonts, as the platform does.
    tm->tmPitchAndFamily = Byte((mono ? 0 : TMPF_FIXED_PITCH) | TMPF_VECTOR | TMPF_TRUETYPE |
                                (lf.lfPitchAndFamily & 0xF0));
    tm->tmDigitizedAspectX = tm->tmDigitizedAspectY = 96;
    tm->tmFirstChar = 32;
    tm->tmLastChar = 0xFFFC;
    tm->tmDefaultChar = 0x1F;
    tm->tmBreakChar = 32;
    return 1;
}
BOOL GetTextMetricsW(HDC dc, TEXTMETRICW* tm) { return GetTextMetrics(dc, tm); }

BOOL GetTextExtentPoint32(HDC dc, LPCWSTR text, int count, SIZE* size)
{
    if (!size || count < 0 || (!text && count > 0)) return 0;
    TTextCtx tc(dc);
    if (tc.Fixed) {
        *size = {count * (kFixedAdvance + (dc ? dc->S.CharExtra : 0)), kFixedHeight};
        return 1;
    }
    size->cx = int(std::lround(tc.Width(text, count) / tc.Sx));
    size->cy = int(std::lround(tc.Height() / tc.Sy));
    return 1;
}
BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int count, SIZE* size)
{
    return GetTextExtentPoint32(dc, text, count, size);
}

BOOL GetTextExtentExPoint(HDC dc, LPCWSTR text, int count, int maxExtent, int* fit, int* dx, SIZE* size)
{
    if (count < 0 || (!text && count > 0)) return 0;
    TTextCtx tc(dc);
    std::vector<double> cum;
    tc.Cum(text, count, cum);
    int nfit = 0;
    for (int i = 0; i < count; ++i) {
        int w = int(std::lround(cum[size_t(i)] / tc.Sx));
        if (dx) dx[i] = w;
        if (nfit == i && (maxExtent < 0 || w <= maxExtent)) nfit = i + 1;
    }
    if (fit) *fit = nfit;
    if (size) return GetTextExtentPoint32(dc, text, count, size);
    return 1;
}

BOOL GetCharWidth32(HDC dc, UINT first, UINT last, int* widths)
{
    if (!widths || last < first || last - first > 0x10000) return 0;
    TTextCtx tc(dc);
    for (UINT c = first; c <= last; ++c) {
        wchar_t ch = wchar_t(c);
        widths[c - first] = int(std::lround(tc.Width(&ch, 1) / tc.Sx));
    }
    return 1;
}
BOOL GetCharWidth(HDC dc, UINT first, UINT last, int* widths) { return GetCharWidth32(dc, first, last, widths); }

int GetTextFace(HDC dc, int count, LPWSTR face)
{
    LOGFONTW lf = LogFontOf(dc);
    String f = lf.lfFaceName;
    if (!face) return int(f.size()) + 1;
    if (count <= 0) return 0;
    int n = std::min<int>(count - 1, int(f.size()));
    std::wmemcpy(face, f.c_str(), size_t(n));
    face[n] = 0;
    return n + 1;
}

// ---------------------------------------------------------------------------
// TextOut / ExtTextOut
// ---------------------------------------------------------------------------

static BOOL TextOutCore(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, int count,
                        const int* dx, const wchar_t* kind)
{
    if (!dc || count < 0 || (!text && count > 0)) return 0;
    TTargetGuard g(dc);
    TTextCtx tc(dc);
    UINT align = dc->S.TextAlign;
    bool updateCp = align & TA_UPDATECP;
    if (updateCp) {
        x = dc->S.PenPos.X;
        y = dc->S.PenPos.Y;
    }
    // Advances: from dx (logical) or measured.
    std::vector<double> cum;
    if (dx) {
        cum.resize(size_t(count));
        double a = 0;
        for (int i = 0; i < count; ++i) {
            a += dx[i] * tc.Sx;
            cum[size_t(i)] = a;
        }
    } else {
        tc.Cum(text, count, cum);
    }
    double w = count ? cum.back() : 0, h = tc.Height();
    TPoint ref = dc->LtoS(x, y);
    double ox = ref.X, oy = ref.Y;
    UINT ha = align & TA_CENTER, va = align & TA_BASELINE;
    if (ha == TA_RIGHT) ox -= w;
    else if (ha == TA_CENTER) ox -= w / 2;
    if (va == TA_BOTTOM) oy -= h;
    else if (va == TA_BASELINE) oy -= tc.Ascent();
    double angle = tc.Lf.lfEscapement / 10.0;

    TRect box{int(std::floor(ox)), int(std::floor(oy)), int(std::ceil(ox + w)), int(std::ceil(oy + h))};
    TRect clipR{}, *clip = nullptr;
    if (rect) clipR = dc->LtoSRect(*rect);
    if (rect && (options & ETO_CLIPPED)) clip = &clipR;
    TGdiRecord rec{kind, ToDevice(dc, box), {}, dc->S.TextColor,
                   (dc->S.BkMode == OPAQUE || (options & ETO_OPAQUE)) ? dc->S.BkColor : CLR_NONE,
                   String(text, size_t(count)), options | (align << 16)};
    if (rect) rec.Points = {clipR.TopLeft(), clipR.BottomRight()};
    dc->Record(std::move(rec));

    if (rect && (options & ETO_OPAQUE)) FillBox(dc, clipR.Left, clipR.Top, clipR.Width(), clipR.Height(), dc->S.BkColor, nullptr);
    else if (dc->S.BkMode == OPAQUE && count > 0)
        FillBox(dc, ox, oy, w, h, dc->S.BkColor, clip, angle, ref.X, ref.Y);
    if (dx) {
        for (int i = 0; i < count; ++i)
            DrawRun(dc, tc, ox + (i ? cum[size_t(i - 1)] : 0), oy, text + i, 1, clip, angle, ref.X, ref.Y);
    } else {
        DrawRun(dc, tc, ox, oy, text, count, clip, angle, ref.X, ref.Y);
    }
    if (updateCp) {
        double lw = w / tc.Sx * (dc->ScaleX() < 0 ? -1 : 1);
        if (ha == TA_LEFT) dc->S.PenPos.X = x + int(std::lround(lw));
        else if (ha == TA_RIGHT) dc->S.PenPos.X = x - int(std::lround(lw));
    }
    return 1;
}

BOOL TextOut(HDC dc, int x, int y, LPCWSTR text, int count)
{
    return TextOutCore(dc, x, y, 0, nullptr, text, count, nullptr, L"TextOut");
}
BOOL TextOutW(HDC dc, int x, int y, LPCWSTR text, int count) { return TextOut(dc, x, y, text, count); }

BOOL ExtTextOut(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count, const int* dx)
{
    if (!text) count = 0;
    return TextOutCore(dc, x, y, options, rect, text, int(count), dx, L"ExtTextOut");
}
BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count, const int* dx)
{
    return ExtTextOut(dc, x, y, options, rect, text, count, dx);
}

// ---------------------------------------------------------------------------
// DrawText
// ---------------------------------------------------------------------------

namespace {

struct TLine {
    std::wstring Text;
    int Underline = -1;   // index of the prefixed character, -1 none
};

// Removes prefix marks; answers the underlined character's index.
std::wstring StripPrefix(const std::wstring& s, int& underline)
{
    std::wstring out;
    underline = -1;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == L'&') {
            if (i + 1 < s.size()) {
                if (s[i + 1] == L'&') {
                    out += L'&';
                    ++i;
                    continue;
                }
                underline = int(out.size());
                continue;
            }
            continue;   // a lone trailing mark shows nothing
        }
        out += s[i];
    }
    return out;
}

struct TDrawTextJob {
    TTextCtx& Tc;
    UINT Format;
    double TabWidth;   // device pixels, 0 = tabs are plain characters

    // Width of s (device) starting at line offset 0, tabs expanded.
    double Width(const std::wstring& s) const
    {
        if (s.empty()) return 0;
        if (TabWidth <= 0 || s.find(L'\t') == std::wstring::npos) return Tc.Width(s.data(), int(s.size()));
        double x = 0;
        size_t a = 0;
        for (size_t i = 0; i <= s.size(); ++i) {
            if (i == s.size() || s[i] == L'\t') {
                x += Tc.Width(s.data() + a, int(i - a));
                if (i < s.size()) x = (std::floor(x / TabWidth) + 1) * TabWidth;
                a = i + 1;
            }
        }
        return x;
    }
};

std::wstring EndEllipsis(const TDrawTextJob& job, const std::wstring& s, double W)
{
    if (job.Width(s) <= W) return s;
    for (int k = int(s.size()); k >= 0; --k) {
        std::wstring t = s.substr(0, size_t(k)) + L"...";
        if (job.Width(t) <= W) return t;
    }
    return L"...";
}

std::wstring WordEllipsis(const TDrawTextJob& job, const std::wstring& s, double W)
{
    if (job.Width(s) <= W) return s;
    size_t end = s.size();
    while (true) {
        size_t sp = s.rfind(L' ', end == 0 ? 0 : end - 1);
        if (sp == std::wstring::npos || sp == 0) break;
        size_t e = sp;
        while (e > 0 && s[e - 1] == L' ') --e;
        std::wstring t = s.substr(0, e) + L"...";
        if (job.Width(t) <= W) return t;
        end = e;
    }
    return EndEllipsis(job, s, W);
}

std::wstring PathEllipsis(const TDrawTextJob& job, const std::wstring& s, double W)
{
    if (job.Width(s) <= W) return s;
    size_t sep = s.find_last_of(L"\\/");
    if (sep == std::wstring::npos) return EndEllipsis(job, s, W);
    std::wstring head = s.substr(0, sep), tail = s.substr(sep);
    for (int k = int(head.size()); k >= 0; --k) {
        std::wstring t = head.substr(0, size_t(k)) + L"..." + tail;
        if (job.Width(t) <= W) return t;
    }
    return EndEllipsis(job, L"..." + tail, W);
}

// Breaks a paragraph into lines no wider than W (device pixels).
void WrapParagraph(const TDrawTextJob& job, const std::wstring& p, int underline, double W, bool breakWords,
                   std::vector<TLine>& out)
{
    size_t start = 0;
    bool first = true;
    if (p.empty()) {
        out.push_back({L"", underline});
        return;
    }
    while (start < p.size()) {
        if (!first)
            while (start < p.size() && p[start] == L' ') ++start;
        if (start >= p.size()) break;
        first = false;
        // Extend word by word while the line fits.
        size_t pos = start, lastFit = std::wstring::npos;
        while (pos < p.size()) {
            size_t wEnd = pos;
            while (wEnd < p.size() && p[wEnd] == L' ') ++wEnd;
            while (wEnd < p.size() && p[wEnd] != L' ') ++wEnd;
            if (job.Width(p.substr(start, wEnd - start)) > W) break;
            lastFit = wEnd;
            pos = wEnd;
        }
        size_t best;
        if (lastFit != std::wstring::npos) {
            best = lastFit;
        } else {
            size_t wEnd = start;
            while (wEnd < p.size() && p[wEnd] == L' ') ++wEnd;
            while (wEnd < p.size() && p[wEnd] != L' ') ++wEnd;
            best = wEnd;
            if (breakWords) {
                // Edit controls break a word that is wider than the line.
                size_t k = 1;
                while (start + k < wEnd && job.Width(p.substr(start, k + 1)) <= W) ++k;
                best = start + k;
            }
        }
        if (best <= start) best = start + 1;
        std::wstring line = p.substr(start, best - start);
        while (!line.empty() && line.back() == L' ') line.pop_back();
        int ul = (underline >= int(start) && underline < int(best)) ? underline - int(start) : -1;
        out.push_back({line, ul});
        start = best;
    }
}

}  // namespace

static int DrawTextCore(HDC dc, const wchar_t* text, int count, RECT* rect, UINT format, DRAWTEXTPARAMS* params,
                        wchar_t* modifiable)
{
    if (!dc || !rect) return 0;
    if (!text) count = 0;
    if (count < 0) count = text ? int(std::wcslen(text)) : 0;
    TTargetGuard g(dc);
    TTextCtx tc(dc);
    std::wstring src(text ? text : L"", size_t(count));

    int tabChars = 8;
    if (format & DT_TABSTOP) {
        tabChars = int((format >> 8) & 0xFF);
        format &= ~UINT(0xFF00);
        if (tabChars == 0) tabChars = 8;
    }
    if (params && params->iTabLength > 0) tabChars = params->iTabLength;
    double left = 0, rightMargin = 0;
    if (params) {
        left = params->iLeftMargin * tc.Sx;
        rightMargin = params->iRightMargin * tc.Sx;
    }
    TDrawTextJob job{tc, format, (format & DT_EXPANDTABS) ? tabChars * tc.AveChar() : 0};
    bool calc = format & DT_CALCRECT;
    TRect r = dc->LtoSRect(*rect);
    double W = r.Width() - left - rightMargin;
    double lineH = tc.Height();
    if ((format & DT_EXTERNALLEADING) && !tc.Fixed) lineH += tc.Font->M.ExternalLeading;

    // Lines with prefixes resolved.
    std::vector<TLine> lines;
    bool prefix = !(format & DT_NOPREFIX);
    auto addParagraph = [&](const std::wstring& para) {
        int ul = -1;
        std::wstring p = prefix ? StripPrefix(para, ul) : para;
        if (format & DT_HIDEPREFIX) ul = -1;
        if ((format & DT_WORDBREAK) && !(format & DT_SINGLELINE))
            WrapParagraph(job, p, ul, std::max(0.0, W), (format & DT_EDITCONTROL) != 0, lines);
        else lines.push_back({p, ul});
    };
    if (format & DT_SINGLELINE) {
        std::wstring s;
        for (wchar_t c : src)
            if (c != L'\r' && c != L'\n') s += c;
        addParagraph(s);
    } else {
        size_t a = 0;
        for (size_t i = 0; i <= src.size(); ++i) {
            if (i == src.size() || src[i] == L'\n' || src[i] == L'\r') {
                addParagraph(src.substr(a, i - a));
                if (i < src.size() && src[i] == L'\r' && i + 1 < src.size() && src[i + 1] == L'\n') ++i;
                a = i + 1;
            }
        }
    }

    // Ellipses.
    bool modified = false;
    if (format & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS)) {
        for (auto& l : lines) {
            std::wstring t = (format & DT_PATH_ELLIPSIS)   ? PathEllipsis(job, l.Text, W)
                             : (format & DT_WORD_ELLIPSIS) ? WordEllipsis(job, l.Text, W)
                                                           : EndEllipsis(job, l.Text, W);
            if (t != l.Text) {
                if (l.Underline >= int(t.size()) - 3) l.Underline = -1;
                l.Text = t;
                modified = true;
            }
        }
    }
    if (modified && (format & DT_MODIFYSTRING) && modifiable && lines.size() == 1) {
        // The caller's buffer holds count + 4 characters, as the platform requires.
        const std::wstring& t = lines[0].Text;
        size_t n = std::min(t.size(), size_t(count) + 3);
        std::wmemcpy(modifiable, t.data(), n);
        modifiable[n] = 0;
    }

    // Edit controls show no partly visible last line.
    if ((format & DT_EDITCONTROL) && !calc && !(format & DT_SINGLELINE)) {
        size_t fit = size_t(std::max(0.0, std::floor(r.Height() / lineH)));
        if (fit < 1) fit = 1;
        if (lines.size() > fit) lines.resize(fit);
    }

    std::vector<double> widths;
    double maxW = 0;
    for (auto& l : lines) {
        widths.push_back(job.Width(l.Text));
        maxW = std::max(maxW, widths.back());
    }
    double totalH = lines.size() * lineH;
    double top = r.Top;
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER) top = r.Top + std::floor((r.Height() - lineH) / 2);
        else if (format & DT_BOTTOM) top = r.Bottom - lineH;
    }
    // The answer is in logical units.
    double resultDev = ((format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM))) ? (top - r.Top) + totalH : totalH;
    int result = int(std::lround(resultDev / tc.Sy));

    TGdiRecord rec{L"DrawText", ToDevice(dc, r), {}, dc->S.TextColor, dc->S.BkMode == OPAQUE ? dc->S.BkColor : CLR_NONE, src, format};

    if (calc) {
        TRect nr = r;
        double wcalc = maxW + left + rightMargin;
        if ((format & DT_SINGLELINE) || !(format & DT_WORDBREAK) || wcalc > r.Width()) nr.Right = r.Left + int(std::ceil(wcalc));
        else nr.Right = r.Left + int(std::ceil(wcalc));
        nr.Bottom = int(std::lround(r.Top + totalH));
        // Back to logical coordinates, keeping the original left/top.
        double sx = dc->ScaleX(), sy = dc->ScaleY();
        rect->Right = rect->Left + int(std::lround((nr.Right - r.Left) / std::fabs(sx))) * (sx < 0 ? -1 : 1);
        rect->Bottom = rect->Top + int(std::lround((nr.Bottom - r.Top) / std::fabs(sy))) * (sy < 0 ? -1 : 1);
        if (params) params->uiLengthDrawn = UINT(count);
        rec.Kind = L"DrawTextCalc";
        rec.Rect = ToDevice(dc, nr);
        dc->Record(std::move(rec));
        return result;
    }
    dc->Record(std::move(rec));

    TRect clipR = r;
    const TRect* clip = (format & DT_NOCLIP) ? nullptr : &clipR;
    for (size_t i = 0; i < lines.size(); ++i) {
        const TLine& l = lines[i];
        double y = top + i * lineH;
        double x;
        UINT h = format & (DT_CENTER | DT_RIGHT);
        if (h == DT_CENTER) x = r.Left + left + std::floor((W - widths[i]) / 2);
        else if (h == DT_RIGHT) x = r.Right - rightMargin - widths[i];
        else x = r.Left + left;
        dc->Record({L"DrawTextLine", ToDevice(dc, {int(std::lround(x)), int(std::lround(y)), int(std::lround(x + widths[i])), int(std::lround(y + lineH))}), {}, dc->S.TextColor, 0, l.Text, format});
        if (dc->S.BkMode == OPAQUE && !(format & DT_PREFIXONLY)) FillBox(dc, x, y, widths[i], lineH, dc->S.BkColor, clip);
        if (!(format & DT_PREFIXONLY)) {
            if (job.TabWidth > 0 && l.Text.find(L'\t') != std::wstring::npos) {
                double cx = 0;
                size_t a = 0;
                for (size_t k = 0; k <= l.Text.size(); ++k) {
                    if (k == l.Text.size() || l.Text[k] == L'\t') {
                        DrawRun(dc, tc, x + cx, y, l.Text.data() + a, int(k - a), clip);
                        cx += tc.Width(l.Text.data() + a, int(k - a));
                        if (k < l.Text.size()) cx = (std::floor(cx / job.TabWidth) + 1) * job.TabWidth;
                        a = k + 1;
                    }
                }
            } else {
                DrawRun(dc, tc, x, y, l.Text.data(), int(l.Text.size()), clip, 0, 0, 0, (format & DT_RTLREADING) != 0);
            }
        }
        if (l.Underline >= 0 && l.Underline < int(l.Text.size())) {
            double x0 = job.Width(l.Text.substr(0, size_t(l.Underline)));
            double x1 = job.Width(l.Text.substr(0, size_t(l.Underline) + 1));
            double uy = y + tc.Ascent() + std::max(1.0, std::round(tc.Sy));
            FillBox(dc, x + x0, uy, x1 - x0, std::max(1.0, std::round(tc.Sy)), dc->S.TextColor, clip);
        }
    }
    if (params) params->uiLengthDrawn = UINT(count);
    return result;
}

int DrawText(HDC dc, LPCWSTR text, int count, RECT* rect, UINT format)
{
    return DrawTextCore(dc, text, count, rect, format & ~UINT(DT_MODIFYSTRING), nullptr, nullptr);
}
int DrawTextW(HDC dc, LPCWSTR text, int count, RECT* rect, UINT format) { return DrawText(dc, text, count, rect, format); }

int DrawTextEx(HDC dc, LPWSTR text, int count, RECT* rect, UINT format, DRAWTEXTPARAMS* params)
{
    return DrawTextCore(dc, text, count, rect, format, params, text);
}
int DrawTextExW(HDC dc, LPWSTR text, int count, RECT* rect, UINT format, DRAWTEXTPARAMS* params)
{
    return DrawTextEx(dc, text, count, rect, format, params);
}

int DrawTextStr(HDC dc, const String& text, RECT* rect, UINT format)
{
    return DrawTextCore(dc, text.c_str(), int(text.size()), rect, format & ~UINT(DT_MODIFYSTRING), nullptr, nullptr);
}
