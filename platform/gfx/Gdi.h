// The device-context layer: GDI objects (pens, brushes, fonts, bitmaps,
// regions), device contexts on cairo image surfaces and PDF pages, drawing
// with the pixel rules callers expect, raster operations done bitwise on
// pixels, map modes, text on Pango, DrawText/DrawEdge/DrawFrameControl, and
// the test aids (fixed-metrics fonts, recording, capture to PNG).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/Types.h"
#include "platform/gfx/Colors.h"

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

using HWND = struct TWindowHandle*;   // the window system defines the structure

// ---------------------------------------------------------------------------
// Constants
// ---------------------------------------------------------------------------

using WCHAR = wchar_t;
using USHORT = uint16_t;
using COLOR16 = uint16_t;
using LPCWSTR = const wchar_t*;
using LPWSTR = wchar_t*;

// Object types (GetObjectType).
enum : DWORD {
    OBJ_PEN = 1, OBJ_BRUSH = 2, OBJ_DC = 3, OBJ_METADC = 4, OBJ_PAL = 5, OBJ_FONT = 6,
    OBJ_BITMAP = 7, OBJ_REGION = 8, OBJ_METAFILE = 9, OBJ_MEMDC = 10, OBJ_EXTPEN = 11,
};

// Stock objects.
enum : int {
    WHITE_BRUSH = 0, LTGRAY_BRUSH = 1, GRAY_BRUSH = 2, DKGRAY_BRUSH = 3, BLACK_BRUSH = 4,
    NULL_BRUSH = 5, HOLLOW_BRUSH = 5, WHITE_PEN = 6, BLACK_PEN = 7, NULL_PEN = 8,
    OEM_FIXED_FONT = 10, ANSI_FIXED_FONT = 11, ANSI_VAR_FONT = 12, SYSTEM_FONT = 13,
    DEVICE_DEFAULT_FONT = 14, DEFAULT_PALETTE = 15, SYSTEM_FIXED_FONT = 16,
    DEFAULT_GUI_FONT = 17, DC_BRUSH = 18, DC_PEN = 19,
};

// Pen styles.
enum : DWORD {
    PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_DASHDOT = 3, PS_DASHDOTDOT = 4, PS_NULL = 5,
    PS_INSIDEFRAME = 6, PS_USERSTYLE = 7, PS_ALTERNATE = 8, PS_STYLE_MASK = 0xF,
    PS_ENDCAP_ROUND = 0, PS_ENDCAP_SQUARE = 0x100, PS_ENDCAP_FLAT = 0x200, PS_ENDCAP_MASK = 0xF00,
    PS_JOIN_ROUND = 0, PS_JOIN_BEVEL = 0x1000, PS_JOIN_MITER = 0x2000, PS_JOIN_MASK = 0xF000,
    PS_COSMETIC = 0, PS_GEOMETRIC = 0x10000, PS_TYPE_MASK = 0xF0000,
};

// Brush styles and hatches.
enum : UINT {
    BS_SOLID = 0, BS_NULL = 1, BS_HOLLOW = 1, BS_HATCHED = 2, BS_PATTERN = 3,
    BS_DIBPATTERN = 5,
};
enum : int {
    HS_HORIZONTAL = 0, HS_VERTICAL = 1, HS_FDIAGONAL = 2, HS_BDIAGONAL = 3, HS_CROSS = 4,
    HS_DIAGCROSS = 5,
};

// Background modes.
enum : int { TRANSPARENT = 1, OPAQUE = 2 };

// Binary raster operations (pen and brush against the destination).
enum : int {
    R2_BLACK = 1, R2_NOTMERGEPEN = 2, R2_MASKNOTPEN = 3, R2_NOTCOPYPEN = 4, R2_MASKPENNOT = 5,
    R2_NOT = 6, R2_XORPEN = 7, R2_NOTMASKPEN = 8, R2_MASKPEN = 9, R2_NOTXORPEN = 10,
    R2_NOP = 11, R2_MERGENOTPEN = 12, R2_COPYPEN = 13, R2_MERGEPENNOT = 14, R2_MERGEPEN = 15,
    R2_WHITE = 16,
};

// Ternary raster operations (pattern, source, destination).
enum : DWORD {
    SRCCOPY = 0x00CC0020, SRCPAINT = 0x00EE0086, SRCAND = 0x008800C6, SRCINVERT = 0x00660046,
    SRCERASE = 0x00440328, NOTSRCCOPY = 0x00330008, NOTSRCERASE = 0x001100A6,
    MERGECOPY = 0x00C000CA, MERGEPAINT = 0x00BB0226, PATCOPY = 0x00F00021,
    PATPAINT = 0x00FB0A09, PATINVERT = 0x005A0049, DSTINVERT = 0x00550009,
    BLACKNESS = 0x00000042, WHITENESS = 0x00FF0062,
};

// Map modes.
enum : int {
    MM_TEXT = 1, MM_LOMETRIC = 2, MM_HIMETRIC = 3, MM_LOENGLISH = 4, MM_HIENGLISH = 5,
    MM_TWIPS = 6, MM_ISOTROPIC = 7, MM_ANISOTROPIC = 8,
};

// Device capabilities.
enum : int {
    DRIVERVERSION = 0, TECHNOLOGY = 2, HORZSIZE = 4, VERTSIZE = 6, HORZRES = 8, VERTRES = 10,
    BITSPIXEL = 12, PLANES = 14, NUMBRUSHES = 16, NUMPENS = 18, NUMMARKERS = 20, NUMFONTS = 22,
    NUMCOLORS = 24, PDEVICESIZE = 26, CURVECAPS = 28, LINECAPS = 30, POLYGONALCAPS = 32,
    TEXTCAPS = 34, CLIPCAPS = 36, RASTERCAPS = 38, ASPECTX = 40, ASPECTY = 42, ASPECTXY = 44,
    LOGPIXELSX = 88, LOGPIXELSY = 90, SIZEPALETTE = 104, NUMRESERVED = 106, COLORRES = 108,
    PHYSICALWIDTH = 110, PHYSICALHEIGHT = 111, PHYSICALOFFSETX = 112, PHYSICALOFFSETY = 113,
    SCALINGFACTORX = 114, SCALINGFACTORY = 115, VREFRESH = 116, DESKTOPVERTRES = 117,
    DESKTOPHORZRES = 118, BLTALIGNMENT = 119, SHADEBLENDCAPS = 120, COLORMGMTCAPS = 121,
};
enum : int { DT_PLOTTER = 0, DT_RASDISPLAY = 1, DT_RASPRINTER = 2 };

// Text alignment.
enum : UINT {
    TA_NOUPDATECP = 0, TA_UPDATECP = 1, TA_LEFT = 0, TA_RIGHT = 2, TA_CENTER = 6, TA_TOP = 0,
    TA_BOTTOM = 8, TA_BASELINE = 24, TA_RTLREADING = 256,
};
constexpr UINT GDI_ERROR = 0xFFFFFFFFu;

// ExtTextOut options.
enum : UINT { ETO_OPAQUE = 2, ETO_CLIPPED = 4, ETO_GLYPH_INDEX = 0x10, ETO_RTLREADING = 0x80 };

// DrawText formats.
enum : UINT {
    DT_TOP = 0, DT_LEFT = 0, DT_CENTER = 1, DT_RIGHT = 2, DT_VCENTER = 4, DT_BOTTOM = 8,
    DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20, DT_EXPANDTABS = 0x40, DT_TABSTOP = 0x80,
    DT_NOCLIP = 0x100, DT_EXTERNALLEADING = 0x200, DT_CALCRECT = 0x400, DT_NOPREFIX = 0x800,
    DT_INTERNAL = 0x1000, DT_EDITCONTROL = 0x2000, DT_PATH_ELLIPSIS = 0x4000,
    DT_END_ELLIPSIS = 0x8000, DT_MODIFYSTRING = 0x10000, DT_RTLREADING = 0x20000,
    DT_WORD_ELLIPSIS = 0x40000, DT_NOFULLWIDTHCHARBREAK = 0x80000, DT_HIDEPREFIX = 0x100000,
    DT_PREFIXONLY = 0x200000,
};

struct DRAWTEXTPARAMS {
    UINT cbSize = sizeof(DRAWTEXTPARAMS);
    int iTabLength = 0;
    int iLeftMargin = 0;
    int iRightMargin = 0;
    UINT uiLengthDrawn = 0;
};

// DrawEdge.
enum : UINT {
    BDR_RAISEDOUTER = 1, BDR_SUNKENOUTER = 2, BDR_RAISEDINNER = 4, BDR_SUNKENINNER = 8,
    BDR_OUTER = 3, BDR_INNER = 0xC, BDR_RAISED = 5, BDR_SUNKEN = 0xA,
    EDGE_RAISED = 5, EDGE_SUNKEN = 0xA, EDGE_ETCHED = 6, EDGE_BUMP = 9,
    BF_LEFT = 1, BF_TOP = 2, BF_RIGHT = 4, BF_BOTTOM = 8, BF_TOPLEFT = 3, BF_TOPRIGHT = 6,
    BF_BOTTOMLEFT = 9, BF_BOTTOMRIGHT = 0xC, BF_RECT = 0xF, BF_DIAGONAL = 0x10,
    BF_DIAGONAL_ENDTOPRIGHT = 0x16, BF_DIAGONAL_ENDTOPLEFT = 0x13,
    BF_DIAGONAL_ENDBOTTOMLEFT = 0x19, BF_DIAGONAL_ENDBOTTOMRIGHT = 0x1C,
    BF_MIDDLE = 0x800, BF_SOFT = 0x1000, BF_ADJUST = 0x2000, BF_FLAT = 0x4000, BF_MONO = 0x8000,
};

// DrawFrameControl.
enum : UINT {
    DFC_CAPTION = 1, DFC_MENU = 2, DFC_SCROLL = 3, DFC_BUTTON = 4, DFC_POPUPMENU = 5,
    DFCS_CAPTIONCLOSE = 0, DFCS_CAPTIONMIN = 1, DFCS_CAPTIONMAX = 2, DFCS_CAPTIONRESTORE = 3,
    DFCS_CAPTIONHELP = 4,
    DFCS_MENUARROW = 0, DFCS_MENUCHECK = 1, DFCS_MENUBULLET = 2, DFCS_MENUARROWRIGHT = 4,
    DFCS_SCROLLUP = 0, DFCS_SCROLLDOWN = 1, DFCS_SCROLLLEFT = 2, DFCS_SCROLLRIGHT = 3,
    DFCS_SCROLLCOMBOBOX = 5, DFCS_SCROLLSIZEGRIP = 8, DFCS_SCROLLSIZEGRIPRIGHT = 0x10,
    DFCS_BUTTONCHECK = 0, DFCS_BUTTONRADIOIMAGE = 1, DFCS_BUTTONRADIOMASK = 2,
    DFCS_BUTTONRADIO = 4, DFCS_BUTTON3STATE = 8, DFCS_BUTTONPUSH = 0x10,
    DFCS_INACTIVE = 0x100, DFCS_PUSHED = 0x200, DFCS_CHECKED = 0x400, DFCS_TRANSPARENT = 0x800,
    DFCS_HOT = 0x1000, DFCS_ADJUSTRECT = 0x2000, DFCS_FLAT = 0x4000, DFCS_MONO = 0x8000,
};

// Regions.
enum : int { ERROR = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3, RGN_ERROR = 0 };
enum : int { RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5 };
enum : int { ALTERNATE = 1, WINDING = 2 };

// Stretching, flood fill, gradients, blending.
enum : int {
    BLACKONWHITE = 1, WHITEONBLACK = 2, COLORONCOLOR = 3, HALFTONE = 4,
    STRETCH_ANDSCANS = 1, STRETCH_ORSCANS = 2, STRETCH_DELETESCANS = 3, STRETCH_HALFTONE = 4,
};
enum : UINT { FLOODFILLBORDER = 0, FLOODFILLSURFACE = 1 };
enum : DWORD { GRADIENT_FILL_RECT_H = 0, GRADIENT_FILL_RECT_V = 1, GRADIENT_FILL_TRIANGLE = 2 };
enum : Byte { AC_SRC_OVER = 0, AC_SRC_ALPHA = 1 };

// Bitmaps.
enum : DWORD { BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3 };
enum : UINT { DIB_RGB_COLORS = 0, DIB_PAL_COLORS = 1 };

// Fonts.
enum : LONG {
    FW_DONTCARE = 0, FW_THIN = 100, FW_EXTRALIGHT = 200, FW_LIGHT = 300, FW_NORMAL = 400,
    FW_REGULAR = 400, FW_MEDIUM = 500, FW_SEMIBOLD = 600, FW_DEMIBOLD = 600, FW_BOLD = 700,
    FW_EXTRABOLD = 800, FW_HEAVY = 900, FW_BLACK = 900,
};
enum : Byte {
    ANSI_CHARSET = 0, DEFAULT_CHARSET = 1, SYMBOL_CHARSET = 2, SHIFTJIS_CHARSET = 128,
    HANGEUL_CHARSET = 129, GB2312_CHARSET = 134, CHINESEBIG5_CHARSET = 136, OEM_CHARSET = 255,
    JOHAB_CHARSET = 130, HEBREW_CHARSET = 177, ARABIC_CHARSET = 178, GREEK_CHARSET = 161,
    TURKISH_CHARSET = 162, VIETNAMESE_CHARSET = 163, THAI_CHARSET = 222,
    EASTEUROPE_CHARSET = 238, RUSSIAN_CHARSET = 204, MAC_CHARSET = 77, BALTIC_CHARSET = 186,
};
enum : Byte {
    DEFAULT_PITCH = 0, FIXED_PITCH = 1, VARIABLE_PITCH = 2,
    FF_DONTCARE = 0x00, FF_ROMAN = 0x10, FF_SWISS = 0x20, FF_MODERN = 0x30, FF_SCRIPT = 0x40,
    FF_DECORATIVE = 0x50,
    OUT_DEFAULT_PRECIS = 0, OUT_TT_PRECIS = 4, OUT_TT_ONLY_PRECIS = 7,
    CLIP_DEFAULT_PRECIS = 0,
    DEFAULT_QUALITY = 0, DRAFT_QUALITY = 1, PROOF_QUALITY = 2, NONANTIALIASED_QUALITY = 3,
    ANTIALIASED_QUALITY = 4, CLEARTYPE_QUALITY = 5,
    TMPF_FIXED_PITCH = 1, TMPF_VECTOR = 2, TMPF_TRUETYPE = 4, TMPF_DEVICE = 8,
};
constexpr int LF_FACESIZE = 32;

// ---------------------------------------------------------------------------
// Structures
// ---------------------------------------------------------------------------

struct LOGPEN {
    UINT lopnStyle = PS_SOLID;
    POINT lopnWidth{};
    COLORREF lopnColor = 0;
};

struct EXTLOGPEN {
    DWORD elpPenStyle = 0;
    DWORD elpWidth = 0;
    UINT elpBrushStyle = BS_SOLID;
    COLORREF elpColor = 0;
    uintptr_t elpHatch = 0;
    DWORD elpNumEntries = 0;
    DWORD elpStyleEntry[1] = {0};
};

struct LOGBRUSH {
    UINT lbStyle = BS_SOLID;
    COLORREF lbColor = 0;
    uintptr_t lbHatch = 0;
};

struct LOGFONTW {
    LONG lfHeight = 0;
    LONG lfWidth = 0;
    LONG lfEscapement = 0;
    LONG lfOrientation = 0;
    LONG lfWeight = FW_NORMAL;
    Byte lfItalic = 0;
    Byte lfUnderline = 0;
    Byte lfStrikeOut = 0;
    Byte lfCharSet = DEFAULT_CHARSET;
    Byte lfOutPrecision = OUT_DEFAULT_PRECIS;
    Byte lfClipPrecision = CLIP_DEFAULT_PRECIS;
    Byte lfQuality = DEFAULT_QUALITY;
    Byte lfPitchAndFamily = DEFAULT_PITCH;
    WCHAR lfFaceName[LF_FACESIZE] = {0};
};
using LOGFONT = LOGFONTW;

struct TEXTMETRICW {
    LONG tmHeight = 0;
    LONG tmAscent = 0;
    LONG tmDescent = 0;
    LONG tmInternalLeading = 0;
    LONG tmExternalLeading = 0;
    LONG tmAveCharWidth = 0;
    LONG tmMaxCharWidth = 0;
    LONG tmWeight = 0;
    LONG tmOverhang = 0;
    LONG tmDigitizedAspectX = 0;
    LONG tmDigitizedAspectY = 0;
    WCHAR tmFirstChar = 0;
    WCHAR tmLastChar = 0;
    WCHAR tmDefaultChar = 0;
    WCHAR tmBreakChar = 0;
    Byte tmItalic = 0;
    Byte tmUnderlined = 0;
    Byte tmStruckOut = 0;
    Byte tmPitchAndFamily = 0;
    Byte tmCharSet = 0;
};
using TEXTMETRIC = TEXTMETRICW;
using TTextMetric = TEXTMETRICW;

struct BITMAP {
    LONG bmType = 0;
    LONG bmWidth = 0;
    LONG bmHeight = 0;
    LONG bmWidthBytes = 0;
    Word bmPlanes = 1;
    Word bmBitsPixel = 0;
    void* bmBits = nullptr;
};

struct BITMAPINFOHEADER {
    DWORD biSize = sizeof(BITMAPINFOHEADER);
    LONG biWidth = 0;
    LONG biHeight = 0;
    Word biPlanes = 1;
    Word biBitCount = 0;
    DWORD biCompression = BI_RGB;
    DWORD biSizeImage = 0;
    LONG biXPelsPerMeter = 0;
    LONG biYPelsPerMeter = 0;
    DWORD biClrUsed = 0;
    DWORD biClrImportant = 0;
};

struct RGBQUAD {
    Byte rgbBlue = 0;
    Byte rgbGreen = 0;
    Byte rgbRed = 0;
    Byte rgbReserved = 0;
};

// A header followed by the colour table; callers with a palette allocate
// room for more entries behind bmiColors, as the platform's callers do.
struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};

struct DIBSECTION {
    BITMAP dsBm;
    BITMAPINFOHEADER dsBmih;
    DWORD dsBitfields[3] = {0, 0, 0};
    void* dshSection = nullptr;
    DWORD dsOffset = 0;
};

struct TRIVERTEX {
    LONG x = 0;
    LONG y = 0;
    COLOR16 Red = 0;
    COLOR16 Green = 0;
    COLOR16 Blue = 0;
    COLOR16 Alpha = 0;
};
struct GRADIENT_RECT {
    UINT UpperLeft = 0;
    UINT LowerRight = 0;
};
struct GRADIENT_TRIANGLE {
    UINT Vertex1 = 0;
    UINT Vertex2 = 0;
    UINT Vertex3 = 0;
};

struct BLENDFUNCTION {
    Byte BlendOp = AC_SRC_OVER;
    Byte BlendFlags = 0;
    Byte SourceConstantAlpha = 255;
    Byte AlphaFormat = 0;
};

struct RGNDATAHEADER {
    DWORD dwSize = sizeof(RGNDATAHEADER);
    DWORD iType = 1;
    DWORD nCount = 0;
    DWORD nRgnSize = 0;
    RECT rcBound{};
};

// ---------------------------------------------------------------------------
// Objects
// ---------------------------------------------------------------------------

class TDeviceContext;

// The common base of every GDI object. Objects selected into a device
// context (or kept in a saved state) stay alive until the last selection
// ends, even when DeleteObject was called meanwhile.
class TGdiObject {
public:
    explicit TGdiObject(DWORD type) : FType(type) {}
    virtual ~TGdiObject() = default;
    TGdiObject(const TGdiObject&) = delete;
    TGdiObject& operator=(const TGdiObject&) = delete;

    DWORD ObjectType() const { return FType; }
    bool IsStock() const { return FStock; }

    // Selection bookkeeping (device contexts only).
    void AddRef() { ++FRefs; }
    void Release();
    bool DeletePending() const { return FDeletePending; }
    bool RequestDelete();   // false for stock objects

protected:
    friend struct TGdiStock;
    DWORD FType;
    bool FStock = false;
    int FRefs = 0;
    bool FDeletePending = false;
};

class TGdiPen : public TGdiObject {
public:
    TGdiPen() : TGdiObject(OBJ_PEN) {}
    DWORD Style = PS_SOLID;       // full style: type, end cap, join and line style
    int Width = 0;                // logical units; 0 = one device pixel
    COLORREF Color = 0;
    std::vector<DWORD> UserStyle; // PS_USERSTYLE dash lengths
    bool Extended = false;        // made by ExtCreatePen
    bool DCPen = false;           // the DC_PEN stock object: colour from the DC

    DWORD LineStyle() const { return Style & PS_STYLE_MASK; }
};

class TGdiBitmap;

class TGdiBrush : public TGdiObject {
public:
    TGdiBrush() : TGdiObject(OBJ_BRUSH) {}
    ~TGdiBrush() override;
    UINT Style = BS_SOLID;
    COLORREF Color = 0;
    int Hatch = 0;
    cairo_surface_t* Pattern = nullptr;   // BS_PATTERN: an own copy of the pattern bitmap
    bool Monochrome = false;              // pattern of a 1-bit bitmap: text/background colours
    bool DCBrush = false;                 // the DC_BRUSH stock object
    int SysColorIndex = -1;               // GetSysColorBrush: follows the scheme
};

struct TFontCacheEntry;

class TGdiFont : public TGdiObject {
public:
    TGdiFont() : TGdiObject(OBJ_FONT) {}
    LOGFONTW Log;
};

class TGdiBitmap : public TGdiObject {
public:
    TGdiBitmap() : TGdiObject(OBJ_BITMAP) {}
    ~TGdiBitmap() override;

    cairo_surface_t* Surface = nullptr;   // ARGB32; never null for a live bitmap
    int BitsPerPixel = 32;                // nominal depth (1, 4, 8, 16, 24, 32)
    bool IsDIB = false;                   // made by CreateDIBSection
    bool AlphaChannel = false;            // pixels carry alpha (32-bit DIBs, images with alpha)
    bool TopDown = false;                 // DIB section rows run top to bottom
    std::vector<RGBQUAD> Palette;         // DIB sections of 8 bits and fewer
    // DIB sections whose memory layout differs from the surface's keep their
    // bits here, converted to and from the surface around every GDI call.
    Byte* Bits = nullptr;
    bool OwnsBits = false;
    TDeviceContext* SelectedInto = nullptr;

    int Width() const;
    int Height() const;
    int DIBStride() const;                // bytes per row of the DIB layout
    bool SharesSurfaceMemory() const { return IsDIB && Bits == nullptr; }
    void BitsToSurface();                 // no-op unless Bits is separate
    void SurfaceToBits();
};

// A region: a list of non-overlapping rectangles in bands (rows of equal
// top and bottom, sorted by y then x, touching rectangles within a band
// merged). Exact and fast for the rectangle-heavy use of windows.
class TRegionData {
public:
    TRegionData() = default;
    explicit TRegionData(const TRect& r);

    const std::vector<TRect>& Rects() const { return FRects; }
    TRect Extents() const { return FExtents; }
    bool IsEmpty() const { return FRects.empty(); }
    int Complexity() const;   // NULLREGION / SIMPLEREGION / COMPLEXREGION

    void SetRect(const TRect& r);
    void Clear() { FRects.clear(); FExtents = {}; }
    void Offset(int dx, int dy);
    bool Contains(int x, int y) const;
    bool Intersects(const TRect& r) const;
    bool operator==(const TRegionData& o) const { return FRects == o.FRects; }

    // Combines a and b (RGN_AND ... RGN_COPY) into *this.
    void Combine(const TRegionData& a, const TRegionData& b, int mode);
    void Intersect(const TRegionData& b) { TRegionData t; t.Combine(*this, b, RGN_AND); *this = std::move(t); }
    void Unite(const TRegionData& b) { TRegionData t; t.Combine(*this, b, RGN_OR); *this = std::move(t); }
    void Subtract(const TRegionData& b) { TRegionData t; t.Combine(*this, b, RGN_DIFF); *this = std::move(t); }

    // Builds a region from horizontal spans: one [x0, x1) list per row y0 + i.
    static TRegionData FromRows(int y0, const std::vector<std::vector<std::pair<int, int>>>& rows);
    // Builds from arbitrary rectangles (overlaps allowed).
    static TRegionData FromRects(const std::vector<TRect>& rects);

private:
    void Normalise();
    std::vector<TRect> FRects;
    TRect FExtents;
};

class TGdiRegion : public TGdiObject {
public:
    TGdiRegion() : TGdiObject(OBJ_REGION) {}
    TRegionData Data;
};

using HGDIOBJ = TGdiObject*;
using HPEN = TGdiPen*;
using HBRUSH = TGdiBrush*;
using HFONT = TGdiFont*;
using HBITMAP = TGdiBitmap*;
using HRGN = TGdiRegion*;
using HPALETTE = TGdiObject*;
using HDC = TDeviceContext*;

// ---------------------------------------------------------------------------
// Recording (test aid and layout checks)
// ---------------------------------------------------------------------------

// One recorded drawing call. Coordinates are device pixels.
struct TGdiRecord {
    String Kind;                  // "Rectangle", "FillRect", "TextOut", "DrawText", ...
    TRect Rect;                   // the call's rectangle (or text position in Left/Top)
    std::vector<TPoint> Points;   // lines and polygons
    COLORREF Color = 0;           // pen, brush or text colour, as the call uses it
    COLORREF BkColor = 0;         // brush colour of Rectangle/Polygon, background of text
    String Text;
    UINT Flags = 0;               // DrawText format, ETO options, edge flags, ROP ...
    int Page = 0;                 // printer pages, counted from 1
};

void GdiStartRecording(HDC dc);
void GdiStopRecording(HDC dc);
bool GdiIsRecording(HDC dc);
const std::vector<TGdiRecord>& GdiRecords(HDC dc);
void GdiClearRecords(HDC dc);
// Other layers (theme renderer, GDI+ engine) add their own records.
void GdiRecord(HDC dc, const TGdiRecord& record);

// ---------------------------------------------------------------------------
// Test aids: fixed-metrics fonts and capture
// ---------------------------------------------------------------------------

// Every character 8 wide and 16 high (ascent 13, descent 3) in logical units,
// no kerning, glyphs drawn as solid boxes inset in their cells.
void SetFixedMetricsFonts(bool on);
bool FixedMetricsFonts();

bool SaveDCToPNG(HDC dc, const String& path);
bool SaveBitmapToPNG(HBITMAP bmp, const String& path);

// ---------------------------------------------------------------------------
// Device contexts
// ---------------------------------------------------------------------------

HDC CreateCompatibleDC(HDC dc);   // dc may be null (screen)
// A DC on a surface owned by the caller: logical (0,0) is `origin` in the
// surface, drawing is clipped to `clipInSurface`.
HDC CreateSurfaceDC(cairo_surface_t* surface, TPoint origin, const TRect& clipInSurface);
// Changes the surface, origin and base clip of a surface DC (window moved,
// surface re-created) while keeping its selected objects and state.
void SetSurfaceDCTarget(HDC dc, cairo_surface_t* surface, TPoint origin, const TRect& clipInSurface);
// An information context for the screen: measuring, no pixels.
HDC CreateScreenIC();
// The size the screen reports through GetDeviceCaps(HORZRES/VERTRES).
void GdiSetScreenSize(int width, int height);
// The logical pixels per inch the screen and memory DCs report through
// GetDeviceCaps(LOGPIXELSX/LOGPIXELSY), 96 unless set (a value below 1
// restores 96). Printers keep their own.
void GdiSetScreenPixelsPerInch(int ppi);
int GdiScreenPixelsPerInch();
BOOL DeleteDC(HDC dc);
// ExcludeClipRect of each rectangle (logical coordinates) in one pass: the
// clip afterwards is the same as after excluding them one by one, and it is
// set even when the list is empty.
int GdiExcludeClipRects(HDC dc, const std::vector<TRect>& rects);

// The window system answers WindowFromDC through this hook, and may tag a DC.
extern std::function<HWND(HDC)> GdiWindowFromDC;
HWND WindowFromDC(HDC dc);
void GdiSetDCWindow(HDC dc, HWND wnd);
HWND GdiDCWindow(HDC dc);

// The DC's device origin within its surface and its base clip there.
TPoint GdiDeviceOrigin(HDC dc);
cairo_surface_t* GdiTargetSurface(HDC dc);
bool GdiIsPrinterDC(HDC dc);

// A cairo context on the DC's target with clip, map mode and origins applied:
// the caller draws in logical coordinates. Release it with GdiReleaseCairo.
cairo_t* GdiCairo(HDC dc);
void GdiReleaseCairo(HDC dc, cairo_t* cr);

int SaveDC(HDC dc);
BOOL RestoreDC(HDC dc, int saved);   // saved < 0: relative to the current state

HGDIOBJ SelectObject(HDC dc, HGDIOBJ obj);
HGDIOBJ GetCurrentObject(HDC dc, UINT type);
BOOL DeleteObject(HGDIOBJ obj);
HGDIOBJ GetStockObject(int index);
DWORD GetObjectType(HGDIOBJ obj);
// Fills a LOGPEN, EXTLOGPEN, LOGBRUSH, LOGFONTW, BITMAP or DIBSECTION; with
// a null buffer answers the size needed.
int GetObject(HGDIOBJ obj, int size, void* buffer);
int GetObjectW(HGDIOBJ obj, int size, void* buffer);

COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
UINT SetTextAlign(HDC dc, UINT align);
UINT GetTextAlign(HDC dc);
int SetROP2(HDC dc, int rop);
int GetROP2(HDC dc);
int SetStretchBltMode(HDC dc, int mode);
int GetStretchBltMode(HDC dc);
int SetPolyFillMode(HDC dc, int mode);
int GetPolyFillMode(HDC dc);
COLORREF SetDCBrushColor(HDC dc, COLORREF color);
COLORREF SetDCPenColor(HDC dc, COLORREF color);
BOOL SetBrushOrgEx(HDC dc, int x, int y, POINT* old);
BOOL GetBrushOrgEx(HDC dc, POINT* pt);
int SetTextCharacterExtra(HDC dc, int extra);

int SetMapMode(HDC dc, int mode);
int GetMapMode(HDC dc);
BOOL SetWindowOrgEx(HDC dc, int x, int y, POINT* old);
BOOL GetWindowOrgEx(HDC dc, POINT* pt);
BOOL OffsetWindowOrgEx(HDC dc, int dx, int dy, POINT* old);
BOOL SetViewportOrgEx(HDC dc, int x, int y, POINT* old);
BOOL GetViewportOrgEx(HDC dc, POINT* pt);
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, POINT* old);
BOOL SetWindowExtEx(HDC dc, int x, int y, SIZE* old);
BOOL GetWindowExtEx(HDC dc, SIZE* sz);
BOOL SetViewportExtEx(HDC dc, int x, int y, SIZE* old);
BOOL GetViewportExtEx(HDC dc, SIZE* sz);
BOOL DPtoLP(HDC dc, POINT* pts, int count);
BOOL LPtoDP(HDC dc, POINT* pts, int count);

int GetDeviceCaps(HDC dc, int index);

// ---------------------------------------------------------------------------
// Pens, brushes, fonts
// ---------------------------------------------------------------------------

HPEN CreatePen(int style, int width, COLORREF color);
HPEN CreatePenIndirect(const LOGPEN* lp);
HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD styleCount,
                  const DWORD* styles);
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateHatchBrush(int hatch, COLORREF color);
HBRUSH CreatePatternBrush(HBITMAP bmp);
HBRUSH CreateBrushIndirect(const LOGBRUSH* lb);
HBRUSH GetSysColorBrush(int index);

HFONT CreateFontIndirect(const LOGFONTW* lf);
HFONT CreateFontIndirectW(const LOGFONTW* lf);
HFONT CreateFont(int height, int width, int escapement, int orientation, int weight,
                 DWORD italic, DWORD underline, DWORD strikeOut, DWORD charSet,
                 DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                 DWORD pitchAndFamily, LPCWSTR face);
// The installed family a Windows face name is drawn with.
String MapFontFaceName(const String& face);

// ---------------------------------------------------------------------------
// Drawing
// ---------------------------------------------------------------------------

BOOL MoveToEx(HDC dc, int x, int y, POINT* old);
BOOL GetCurrentPositionEx(HDC dc, POINT* pt);
BOOL LineTo(HDC dc, int x, int y);
BOOL Polyline(HDC dc, const POINT* pts, int count);
BOOL PolylineTo(HDC dc, const POINT* pts, int count);
BOOL PolyPolyline(HDC dc, const POINT* pts, const DWORD* counts, DWORD polys);
BOOL Polygon(HDC dc, const POINT* pts, int count);
BOOL PolyPolygon(HDC dc, const POINT* pts, const int* counts, int polys);
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int width, int height);
BOOL Ellipse(HDC dc, int left, int top, int right, int bottom);
BOOL Arc(HDC dc, int left, int top, int right, int bottom, int xs, int ys, int xe, int ye);
BOOL ArcTo(HDC dc, int left, int top, int right, int bottom, int xs, int ys, int xe, int ye);
BOOL Pie(HDC dc, int left, int top, int right, int bottom, int xs, int ys, int xe, int ye);
BOOL Chord(HDC dc, int left, int top, int right, int bottom, int xs, int ys, int xe, int ye);
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
int FrameRect(HDC dc, const RECT* rect, HBRUSH brush);
BOOL InvertRect(HDC dc, const RECT* rect);
BOOL DrawFocusRect(HDC dc, const RECT* rect);
BOOL FloodFill(HDC dc, int x, int y, COLORREF color);
BOOL ExtFloodFill(HDC dc, int x, int y, COLORREF color, UINT type);
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
BOOL SetPixelV(HDC dc, int x, int y, COLORREF color);
COLORREF GetPixel(HDC dc, int x, int y);
BOOL GradientFill(HDC dc, const TRIVERTEX* vertices, UINT nVertices, const void* mesh,
                  UINT nMesh, DWORD mode);

// ---------------------------------------------------------------------------
// Bitmaps and blits
// ---------------------------------------------------------------------------

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits,
                         void* section, DWORD offset);
HBITMAP CreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                       const BITMAPINFO* info, UINT usage);
constexpr DWORD CBM_INIT = 4;
int GetDIBits(HDC dc, HBITMAP bmp, UINT start, UINT lines, void* bits, BITMAPINFO* info,
              UINT usage);
int SetDIBits(HDC dc, HBITMAP bmp, UINT start, UINT lines, const void* bits,
              const BITMAPINFO* info, UINT usage);
int StretchDIBits(HDC dc, int xDest, int yDest, int wDest, int hDest, int xSrc, int ySrc,
                  int wSrc, int hSrc, const void* bits, const BITMAPINFO* info, UINT usage,
                  DWORD rop);
int SetDIBitsToDevice(HDC dc, int xDest, int yDest, DWORD w, DWORD h, int xSrc, int ySrc,
                      UINT startScan, UINT lines, const void* bits, const BITMAPINFO* info,
                      UINT usage);
BOOL GetBitmapDimensionEx(HBITMAP bmp, SIZE* size);
BOOL GdiFlush();

// For the image classes: a bitmap from non-premultiplied 0xAARRGGBB pixels
// (row-major, top-down); hasAlpha false makes every pixel opaque.
HBITMAP CreateBitmapFromBGRA(int w, int h, const uint32_t* pixels, bool hasAlpha);
// The bitmap's cairo surface (ARGB32, premultiplied). Call
// GdiBitmapChanged after writing its pixels directly.
cairo_surface_t* GdiBitmapSurface(HBITMAP bmp);
void GdiBitmapChanged(HBITMAP bmp);

BOOL BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int xSrc, int ySrc, DWORD rop);
BOOL StretchBlt(HDC dst, int x, int y, int w, int h, HDC src, int xSrc, int ySrc, int wSrc,
                int hSrc, DWORD rop);
BOOL PatBlt(HDC dc, int x, int y, int w, int h, DWORD rop);
BOOL AlphaBlend(HDC dst, int x, int y, int w, int h, HDC src, int xSrc, int ySrc, int wSrc,
                int hSrc, BLENDFUNCTION blend);
BOOL TransparentBlt(HDC dst, int x, int y, int w, int h, HDC src, int xSrc, int ySrc,
                    int wSrc, int hSrc, UINT transparent);

// ---------------------------------------------------------------------------
// Regions and clipping
// ---------------------------------------------------------------------------

HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const RECT* rect);
HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int w, int h);
HRGN CreateEllipticRgn(int left, int top, int right, int bottom);
HRGN CreateEllipticRgnIndirect(const RECT* rect);
HRGN CreatePolygonRgn(const POINT* pts, int count, int fillMode);
HRGN CreatePolyPolygonRgn(const POINT* pts, const int* counts, int polys, int fillMode);
int CombineRgn(HRGN dst, HRGN a, HRGN b, int mode);
BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom);
int OffsetRgn(HRGN rgn, int dx, int dy);
BOOL EqualRgn(HRGN a, HRGN b);
BOOL PtInRegion(HRGN rgn, int x, int y);
BOOL RectInRegion(HRGN rgn, const RECT* rect);
int GetRgnBox(HRGN rgn, RECT* rect);
BOOL FillRgn(HDC dc, HRGN rgn, HBRUSH brush);
BOOL FrameRgn(HDC dc, HRGN rgn, HBRUSH brush, int w, int h);
BOOL PaintRgn(HDC dc, HRGN rgn);
BOOL InvertRgn(HDC dc, HRGN rgn);

// Clipping: regions are in device units (relative to the DC's origin),
// rectangles in logical units.
int SelectClipRgn(HDC dc, HRGN rgn);
int ExtSelectClipRgn(HDC dc, HRGN rgn, int mode);
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
int OffsetClipRgn(HDC dc, int dx, int dy);
int GetClipBox(HDC dc, RECT* rect);
// 1 with the clip region copied into rgn, 0 when the DC has none, -1 on error.
int GetClipRgn(HDC dc, HRGN rgn);
BOOL PtVisible(HDC dc, int x, int y);
BOOL RectVisible(HDC dc, const RECT* rect);

// ---------------------------------------------------------------------------
// Text
// ---------------------------------------------------------------------------

BOOL GetTextMetrics(HDC dc, TEXTMETRICW* tm);
BOOL GetTextMetricsW(HDC dc, TEXTMETRICW* tm);
BOOL GetTextExtentPoint32(HDC dc, LPCWSTR text, int count, SIZE* size);
BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int count, SIZE* size);
BOOL GetTextExtentExPoint(HDC dc, LPCWSTR text, int count, int maxExtent, int* fit,
                          int* dx, SIZE* size);
BOOL GetCharWidth32(HDC dc, UINT first, UINT last, int* widths);
BOOL GetCharWidth(HDC dc, UINT first, UINT last, int* widths);
int GetTextFace(HDC dc, int count, LPWSTR face);
BOOL TextOut(HDC dc, int x, int y, LPCWSTR text, int count);
BOOL TextOutW(HDC dc, int x, int y, LPCWSTR text, int count);
BOOL ExtTextOut(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text,
                UINT count, const int* dx);
BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text,
                 UINT count, const int* dx);
// Answers the height of the text drawn (logical units); with DT_VCENTER or
// DT_BOTTOM, the offset from the rectangle's top to the text's bottom.
// count -1: text is zero-terminated. With DT_MODIFYSTRING the buffer must
// hold count + 4 characters, as the platform requires.
int DrawText(HDC dc, LPCWSTR text, int count, RECT* rect, UINT format);
int DrawTextW(HDC dc, LPCWSTR text, int count, RECT* rect, UINT format);
int DrawTextEx(HDC dc, LPWSTR text, int count, RECT* rect, UINT format, DRAWTEXTPARAMS* params);
int DrawTextExW(HDC dc, LPWSTR text, int count, RECT* rect, UINT format, DRAWTEXTPARAMS* params);
// String conveniences for the class library.
int DrawTextStr(HDC dc, const String& text, RECT* rect, UINT format);

// ---------------------------------------------------------------------------
// Edges and frame controls
// ---------------------------------------------------------------------------

BOOL DrawEdge(HDC dc, RECT* rect, UINT edge, UINT flags);
BOOL DrawFrameControl(HDC dc, RECT* rect, UINT type, UINT state);
