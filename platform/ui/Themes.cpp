// Theme handles, the visual-styles switch, the theme functions and the
// painter primitives; the parts themselves live in ThemeParts_*.cpp.
#include "platform/ui/Themes.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cwctype>
#include <mutex>
#include <unordered_set>

#include "platform/ui/ThemeParts_Internal.h"
#include "platform/ui/WindowManager.h"

struct TThemeData {
    TThemeClass Class;
    String Name;   // lower case, as recorded
    HWND Wnd;
};

namespace {

std::atomic<bool> GVisualStyles{true};

std::mutex GSchemeLock;
String& SchemeName()
{
    static String name = L"NormalColor";
    return name;
}

// Handles are checked against the set of open ones, so a stale or foreign
// handle gives E_HANDLE instead of a crash, and a second close is harmless.
std::mutex GHandlesLock;
std::unordered_set<TThemeData*>& Handles()
{
    static std::unordered_set<TThemeData*> set;
    return set;
}

bool IsOpen(HTHEME theme)
{
    if (!theme) return false;
    std::lock_guard<std::mutex> g(GHandlesLock);
    return Handles().count(theme) != 0;
}

struct TClassName {
    const wchar_t* Name;
    TThemeClass Class;
};
const TClassName KClasses[] = {
    {L"button", TThemeClass::Button},       {L"combobox", TThemeClass::ComboBox},
    {L"spin", TThemeClass::Spin},           {L"header", TThemeClass::Header},
    {L"progress", TThemeClass::Progress},   {L"window", TThemeClass::Window},
    {L"edit", TThemeClass::Edit},           {L"scrollbar", TThemeClass::ScrollBar},
    {L"toolbar", TThemeClass::ToolBar},     {L"menu", TThemeClass::Menu},
};

String Trimmed(const String& s)
{
    size_t a = 0, b = s.size();
    while (a < b && std::iswspace(s[a])) ++a;
    while (b > a && std::iswspace(s[b - 1])) --b;
    return s.substr(a, b - a);
}

bool FindClass(String name, TThemeClass& cls, String& canonical)
{
    size_t scope = name.rfind(L"::");
    if (scope != String::npos) name = name.substr(scope + 2);
    name = Trimmed(name);
    for (auto& ch : name) ch = wchar_t(std::towlower(ch));
    for (const auto& c : KClasses)
        if (name == c.Name) {
            cls = c.Class;
            canonical = c.Name;
            return true;
        }
    return false;
}

bool LookFor(TThemeClass cls, int part, int state, TPartLook& look)
{
    return LookControlPart(cls, part, state, look) || LookFramePart(cls, part, state, look);
}

void CopyName(LPWSTR buf, int max, const wchar_t* text)
{
    if (!buf || max <= 0) return;
    size_t n = std::min<size_t>(std::wcslen(text), size_t(max - 1));
    std::copy(text, text + n, buf);
    buf[n] = 0;
}

}  // namespace

// ---------------------------------------------------------------------------
// Switch and queries
// ---------------------------------------------------------------------------

void SetVisualStylesEnabled(bool on)
{
    if (GVisualStyles == on) return;
    GVisualStyles = on;
    // Every window draws anew in the other look.
    WmBroadcast(WM_THEMECHANGED, 0, 0);
}
bool VisualStylesEnabled() { return GVisualStyles; }

BOOL IsThemeActive() { return GVisualStyles ? 1 : 0; }
BOOL IsAppThemed() { return GVisualStyles ? 1 : 0; }

HRESULT GetCurrentThemeName(LPWSTR themeFile, int maxFile, LPWSTR colorName, int maxColor,
                            LPWSTR sizeName, int maxSize)
{
    if (!GVisualStyles) return E_FAIL;
    CopyName(themeFile, maxFile, L"C:\\Windows\\Resources\\Themes\\Flat\\Flat.msstyles");
    String scheme;
    {
        std::lock_guard<std::mutex> g(GSchemeLock);
        scheme = SchemeName();
    }
    CopyName(colorName, maxColor, scheme.c_str());
    CopyName(sizeName, maxSize, L"NormalSize");
    return S_OK;
}

void SetThemeColorSchemeName(const String& name)
{
    std::lock_guard<std::mutex> g(GSchemeLock);
    SchemeName() = name;
}

// ---------------------------------------------------------------------------
// Handles
// ---------------------------------------------------------------------------

HTHEME OpenThemeData(HWND wnd, LPCWSTR classList)
{
    if (!GVisualStyles || !classList) return nullptr;
    String list(classList);
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(L';', start);
        if (end == String::npos) end = list.size();
        TThemeClass cls;
        String name;
        if (FindClass(list.substr(start, end - start), cls, name)) {
            auto* t = new TThemeData{cls, name, wnd};
            std::lock_guard<std::mutex> g(GHandlesLock);
            Handles().insert(t);
            return t;
        }
        start = end + 1;
    }
    return nullptr;
}

HRESULT CloseThemeData(HTHEME theme)
{
    {
        std::lock_guard<std::mutex> g(GHandlesLock);
        if (!theme || Handles().erase(theme) == 0) return E_HANDLE;
    }
    delete theme;
    return S_OK;
}

// ---------------------------------------------------------------------------
// Drawing
// ---------------------------------------------------------------------------

HRESULT DrawThemeBackground(HTHEME theme, HDC dc, int part, int state, const RECT* rect,
                            const RECT* clip)
{
    if (!IsOpen(theme)) return E_HANDLE;
    if (!dc || !rect) return E_INVALIDARG;
    TPartLook probe;
    if (!LookFor(theme->Class, part, state, probe)) return E_INVALIDARG;

    cairo_t* cr = GdiCairo(dc);
    if (!cr) return E_FAIL;
    if (clip) {
        cairo_rectangle(cr, clip->Left, clip->Top, clip->Width(), clip->Height());
        cairo_clip(cr);
    }
    TThemePainter painter(cr);
    if (!IsRectEmpty(*rect)) {
        if (!PaintControlPart(painter, theme->Class, part, state, *rect))
            PaintFramePart(painter, theme->Class, part, state, *rect);
    }
    GdiReleaseCairo(dc, cr);

    if (GdiIsRecording(dc)) {
        POINT pts[2] = {{rect->Left, rect->Top}, {rect->Right, rect->Bottom}};
        LPtoDP(dc, pts, 2);
        TGdiRecord rec;
        rec.Kind = L"DrawThemeBackground";
        rec.Rect = TRect{pts[0].X, pts[0].Y, pts[1].X, pts[1].Y};
        rec.Text = theme->Name;
        rec.Flags = UINT(part) * 0x10000u + UINT(state & 0xFFFF);
        rec.Color = probe.Fill;
        rec.BkColor = probe.Border;
        GdiRecord(dc, rec);
    }
    return S_OK;
}

HRESULT DrawThemeEdge(HTHEME theme, HDC dc, int part, int state, const RECT* destRect,
                      UINT edge, UINT flags, RECT* contentRect)
{
    if (!IsOpen(theme)) return E_HANDLE;
    if (!dc || !destRect) return E_INVALIDARG;
    RECT r = *destRect;
    if (!DrawEdge(dc, &r, edge, flags)) return E_FAIL;
    if (contentRect) *contentRect = (flags & BF_ADJUST) ? r : *destRect;
    return S_OK;
}

HRESULT GetThemePartSize(HTHEME theme, HDC dc, int part, int state, const RECT* rect,
                         THEMESIZE kind, SIZE* size)
{
    if (!IsOpen(theme)) return E_HANDLE;
    if (!size) return E_POINTER;
    TPartLook probe;
    if (!LookFor(theme->Class, part, state, probe)) return E_INVALIDARG;
    SIZE s{4, 4};   // stretchable parts: a border on each side and a pixel inside
    switch (theme->Class) {
    case TThemeClass::Button:
        if (part == BP_CHECKBOX || part == BP_RADIOBUTTON) s = {13, 13};
        break;
    case TThemeClass::ComboBox: s = {17, 17}; break;
    case TThemeClass::Spin:
        s = (part == SPNP_UP || part == SPNP_DOWN) ? SIZE{15, 8} : SIZE{8, 15};
        break;
    case TThemeClass::Header:
        if (part == HP_HEADERSORTARROW) s = {9, 5};
        break;
    case TThemeClass::Window:
        if (part != WP_CAPTION && part != WP_SMALLCAPTION) s = {18, 18};
        break;
    case TThemeClass::ScrollBar:
        if (part == SBP_ARROWBTN || part == SBP_SIZEBOX) s = {17, 17};
        else if (part == SBP_THUMBBTNHORZ || part == SBP_THUMBBTNVERT) s = {8, 8};
        break;
    case TThemeClass::Menu:
        if (part == MENU_POPUPCHECK) s = {16, 16};
        else if (part == MENU_POPUPSUBMENU) s = {9, 9};
        else if (part == MENU_POPUPSEPARATOR) s = {1, 7};
        break;
    default: break;
    }
    // The rectangle only limits a drawn size.
    if (kind == TS_DRAW && rect) {
        s.cx = std::min<int>(s.cx, std::max<int>(rect->Width(), 0));
        s.cy = std::min<int>(s.cy, std::max<int>(rect->Height(), 0));
    }
    *size = s;
    return S_OK;
}

HRESULT GetThemeColor(HTHEME theme, int part, int state, int propId, COLORREF* color)
{
    if (!IsOpen(theme)) return E_HANDLE;
    if (!color) return E_POINTER;
    TPartLook look;
    if (!LookFor(theme->Class, part, state, look)) return E_INVALIDARG;
    COLORREF c = CLR_NONE;
    switch (propId) {
    case TMT_BORDERCOLOR: c = look.Border; break;
    case TMT_FILLCOLOR: c = look.Fill; break;
    case TMT_TEXTCOLOR: c = look.Text; break;
    default: return E_PROP_ID_UNSUPPORTED;
    }
    if (c == CLR_NONE) return E_PROP_ID_UNSUPPORTED;
    *color = c;
    return S_OK;
}

// ---------------------------------------------------------------------------
// Painter primitives
// ---------------------------------------------------------------------------

TRect CentredRect(const TRect& r, int w, int h)
{
    w = std::clamp(w, 0, std::max(r.Width(), 0));
    h = std::clamp(h, 0, std::max(r.Height(), 0));
    int x = r.Left + (r.Width() - w) / 2;
    int y = r.Top + (r.Height() - h) / 2;
    return TRect{x, y, x + w, y + h};
}

void TThemePainter::SetColor(COLORREF c)
{
    cairo_set_source_rgb(FCr, GetRValue(c) / 255.0, GetGValue(c) / 255.0, GetBValue(c) / 255.0);
}

void TThemePainter::Fill(const TRect& r, COLORREF c)
{
    if (c == CLR_NONE || IsRectEmpty(r)) return;
    SetColor(c);
    cairo_rectangle(FCr, r.Left, r.Top, r.Width(), r.Height());
    cairo_fill(FCr);
}

void TThemePainter::Frame(const TRect& r, COLORREF c, int width)
{
    if (c == CLR_NONE || IsRectEmpty(r)) return;
    int w = std::min({width, (r.Width() + 1) / 2, (r.Height() + 1) / 2});
    Fill(TRect{r.Left, r.Top, r.Right, r.Top + w}, c);
    Fill(TRect{r.Left, r.Bottom - w, r.Right, r.Bottom}, c);
    Fill(TRect{r.Left, r.Top + w, r.Left + w, r.Bottom - w}, c);
    Fill(TRect{r.Right - w, r.Top + w, r.Right, r.Bottom - w}, c);
}

void TThemePainter::Box(const TRect& r, const TPartLook& look)
{
    if (look.Border == CLR_NONE) {
        Fill(r, look.Fill);
        return;
    }
    Frame(r, look.Border);
    Fill(TRect{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1}, look.Fill);
}

void TThemePainter::Arrow(const TRect& r, int dir, int size, COLORREF c)
{
    if (c == CLR_NONE) return;
    bool vertical = dir == 0 || dir == 1;   // pointing up or down
    int across = vertical ? r.Width() : r.Height();
    int along = vertical ? r.Height() : r.Width();
    size = std::min(size, across);
    size = std::min(size, 2 * along - 1);
    if (size % 2 == 0) --size;
    if (size < 1) return;
    int rows = (size + 1) / 2;
    int a0 = (vertical ? r.Left : r.Top) + (across - size) / 2;
    int b0 = (vertical ? r.Top : r.Left) + (along - rows) / 2;
    for (int i = 0; i < rows; ++i) {
        // Row i counted from the tip.
        int len = 2 * i + 1;
        int off = a0 + (size - len) / 2;
        int pos = (dir == 0 || dir == 2) ? b0 + i : b0 + rows - 1 - i;
        if (vertical)
            Fill(TRect{off, pos, off + len, pos + 1}, c);
        else
            Fill(TRect{pos, off, pos + 1, off + len}, c);
    }
}

void TThemePainter::Disc(double cx, double cy, double radius, COLORREF c)
{
    if (c == CLR_NONE || radius <= 0) return;
    SetColor(c);
    cairo_new_path(FCr);
    cairo_arc(FCr, cx, cy, radius, 0, 2 * M_PI);
    cairo_fill(FCr);
}

void TThemePainter::Ring(double cx, double cy, double radius, COLORREF c)
{
    if (c == CLR_NONE || radius <= 0.5) return;
    SetColor(c);
    cairo_new_path(FCr);
    cairo_arc(FCr, cx, cy, radius - 0.5, 0, 2 * M_PI);
    cairo_set_line_width(FCr, 1.0);
    cairo_stroke(FCr);
}

void TThemePainter::Stroke(const double* xy, int points, double width, COLORREF c)
{
    if (c == CLR_NONE || points < 2) return;
    SetColor(c);
    cairo_new_path(FCr);
    cairo_move_to(FCr, xy[0], xy[1]);
    for (int i = 1; i < points; ++i) cairo_line_to(FCr, xy[2 * i], xy[2 * i + 1]);
    cairo_set_line_width(FCr, width);
    cairo_set_line_cap(FCr, CAIRO_LINE_CAP_SQUARE);
    cairo_set_line_join(FCr, CAIRO_LINE_JOIN_MITER);
    cairo_stroke(FCr);
}

// ---------------------------------------------------------------------------
// The rest of the theme library
// ---------------------------------------------------------------------------

HRESULT DrawThemeText(HTHEME, HDC, int, int, LPCWSTR, int, DWORD, DWORD, const RECT*) { return E_NOTIMPL; }
HRESULT GetThemeBackgroundContentRect(HTHEME, HDC, int, int, const RECT*, RECT*) { return E_NOTIMPL; }
HRESULT GetThemeBackgroundExtent(HTHEME, HDC, int, int, const RECT*, RECT*) { return E_NOTIMPL; }
HRESULT GetThemeTextExtent(HTHEME, HDC, int, int, LPCWSTR, int, DWORD, const RECT*, RECT*) { return E_NOTIMPL; }
HRESULT GetThemeTextMetrics(HTHEME, HDC, int, int, TEXTMETRICW*) { return E_NOTIMPL; }
HRESULT GetThemeBackgroundRegion(HTHEME, HDC, int, int, const RECT*, HRGN*) { return E_NOTIMPL; }
HRESULT HitTestThemeBackground(HTHEME, HDC, int, int, DWORD, const RECT*, HRGN, POINT, Word*) { return E_NOTIMPL; }
HRESULT DrawThemeIcon(HTHEME, HDC, int, int, const RECT*, HIMAGELIST, int) { return E_NOTIMPL; }
BOOL IsThemePartDefined(HTHEME, int, int) { return 0; }
BOOL IsThemeBackgroundPartiallyTransparent(HTHEME, int, int) { return 0; }
HRESULT GetThemeMetric(HTHEME, HDC, int, int, int, int*) { return E_NOTIMPL; }
HRESULT GetThemeString(HTHEME, int, int, int, LPWSTR, int) { return E_NOTIMPL; }
HRESULT GetThemeBool(HTHEME, int, int, int, BOOL*) { return E_NOTIMPL; }
HRESULT GetThemeInt(HTHEME, int, int, int, int*) { return E_NOTIMPL; }
HRESULT GetThemeEnumValue(HTHEME, int, int, int, int*) { return E_NOTIMPL; }
HRESULT GetThemePosition(HTHEME, int, int, int, POINT*) { return E_NOTIMPL; }
HRESULT GetThemeFont(HTHEME, HDC, int, int, int, LOGFONTW*) { return E_NOTIMPL; }
HRESULT GetThemeRect(HTHEME, int, int, int, RECT*) { return E_NOTIMPL; }
HRESULT GetThemeMargins(HTHEME, HDC, int, int, int, const RECT*, MARGINS*) { return E_NOTIMPL; }
HRESULT GetThemeIntList(HTHEME, int, int, int, INTLIST*) { return E_NOTIMPL; }
HRESULT SetWindowTheme(HWND, LPCWSTR, LPCWSTR) { return E_NOTIMPL; }
HRESULT GetThemeFilename(HTHEME, int, int, int, LPWSTR, int) { return E_NOTIMPL; }
COLORREF GetThemeSysColor(HTHEME, int colorId) { return GetSysColor(colorId); }
HBRUSH GetThemeSysColorBrush(HTHEME, int) { return nullptr; }
BOOL GetThemeSysBool(HTHEME, int) { return 0; }
int GetThemeSysSize(HTHEME, int) { return 0; }
HRESULT GetThemeSysFont(HTHEME, int, LOGFONTW*) { return E_NOTIMPL; }
HRESULT GetThemeSysString(HTHEME, int, LPWSTR, int) { return E_NOTIMPL; }
HRESULT GetThemeSysInt(HTHEME, int, int*) { return E_NOTIMPL; }
HTHEME GetWindowTheme(HWND) { return nullptr; }
HRESULT EnableThemeDialogTexture(HWND, DWORD) { return E_NOTIMPL; }
BOOL IsThemeDialogTextureEnabled(HWND) { return 0; }
DWORD GetThemeAppProperties() { return 0; }
void SetThemeAppProperties(DWORD) {}
HRESULT GetThemeDocumentationProperty(LPCWSTR, LPCWSTR, LPWSTR, int) { return E_NOTIMPL; }
HRESULT DrawThemeParentBackground(HWND, HDC, const RECT*) { return E_NOTIMPL; }
HRESULT EnableTheming(BOOL) { return E_NOTIMPL; }
