// The theme-parts renderer: visual-style parts (push buttons, check boxes,
// radio buttons, combo arrows, spin buttons, header items, progress bars,
// caption buttons, edit frames, scroll bar parts, tool buttons and menu
// parts) drawn in one flat modern look, with the theme functions callers
// bind by name. A process-wide switch turns visual styles off; then
// IsThemeActive answers false and OpenThemeData gives no handle, so callers
// take their classic drawing paths.
#pragma once

#include "platform/base/Interfaces.h"
#include "platform/gfx/Gdi.h"

class TCustomImageList;
using HIMAGELIST = TCustomImageList*;

// An open theme: a class of parts. Opaque to callers.
struct TThemeData;
using HTHEME = TThemeData*;

constexpr HRESULT E_HANDLE = static_cast<HRESULT>(0x80070006u);
constexpr HRESULT E_PROP_ID_UNSUPPORTED = static_cast<HRESULT>(0x80070490u);

// ---------------------------------------------------------------------------
// Parts and states
// ---------------------------------------------------------------------------

// "button"
enum : int { BP_PUSHBUTTON = 1, BP_RADIOBUTTON = 2, BP_CHECKBOX = 3, BP_GROUPBOX = 4 };
enum : int { PBS_NORMAL = 1, PBS_HOT = 2, PBS_PRESSED = 3, PBS_DISABLED = 4, PBS_DEFAULTED = 5 };
enum : int {
    RBS_UNCHECKEDNORMAL = 1, RBS_UNCHECKEDHOT = 2, RBS_UNCHECKEDPRESSED = 3,
    RBS_UNCHECKEDDISABLED = 4, RBS_CHECKEDNORMAL = 5, RBS_CHECKEDHOT = 6,
    RBS_CHECKEDPRESSED = 7, RBS_CHECKEDDISABLED = 8,
};
enum : int {
    CBS_UNCHECKEDNORMAL = 1, CBS_UNCHECKEDHOT = 2, CBS_UNCHECKEDPRESSED = 3,
    CBS_UNCHECKEDDISABLED = 4, CBS_CHECKEDNORMAL = 5, CBS_CHECKEDHOT = 6,
    CBS_CHECKEDPRESSED = 7, CBS_CHECKEDDISABLED = 8, CBS_MIXEDNORMAL = 9, CBS_MIXEDHOT = 10,
    CBS_MIXEDPRESSED = 11, CBS_MIXEDDISABLED = 12,
};
enum : int { GBS_NORMAL = 1, GBS_DISABLED = 2 };

// "combobox"
enum : int { CP_DROPDOWNBUTTON = 1 };
enum : int { CBXS_NORMAL = 1, CBXS_HOT = 2, CBXS_PRESSED = 3, CBXS_DISABLED = 4 };

// "spin": up, down, right (horizontal up) and left (horizontal down).
enum : int { SPNP_UP = 1, SPNP_DOWN = 2, SPNP_UPHORZ = 3, SPNP_DOWNHORZ = 4 };
enum : int { UPS_NORMAL = 1, UPS_HOT = 2, UPS_PRESSED = 3, UPS_DISABLED = 4 };
enum : int { DNS_NORMAL = 1, DNS_HOT = 2, DNS_PRESSED = 3, DNS_DISABLED = 4 };

// "header"
enum : int { HP_HEADERITEM = 1, HP_HEADERITEMLEFT = 2, HP_HEADERITEMRIGHT = 3,
             HP_HEADERSORTARROW = 4 };
enum : int { HIS_NORMAL = 1, HIS_HOT = 2, HIS_PRESSED = 3 };
enum : int { HSAS_SORTEDUP = 1, HSAS_SORTEDDOWN = 2 };

// "progress"
enum : int { PP_BAR = 1, PP_BARVERT = 2, PP_CHUNK = 3, PP_CHUNKVERT = 4, PP_FILL = 5,
             PP_FILLVERT = 6 };
enum : int { PBFS_NORMAL = 1, PBFS_ERROR = 2, PBFS_PAUSED = 3, PBFS_PARTIAL = 4 };

// "window"
enum : int { WP_CAPTION = 1, WP_SMALLCAPTION = 2, WP_MINBUTTON = 15, WP_MAXBUTTON = 17,
             WP_CLOSEBUTTON = 18, WP_RESTOREBUTTON = 21 };
enum : int { CS_ACTIVE = 1, CS_INACTIVE = 2, CS_DISABLED = 3 };
// Caption buttons share these states.
enum : int { CBS_NORMAL = 1, CBS_HOT = 2, CBS_PUSHED = 3, CBS_DISABLED = 4 };

// "edit"
enum : int { EP_EDITTEXT = 1 };
enum : int { ETS_NORMAL = 1, ETS_HOT = 2, ETS_SELECTED = 3, ETS_DISABLED = 4,
             ETS_FOCUSED = 5, ETS_READONLY = 6 };

// "scrollbar"
enum : int {
    SBP_ARROWBTN = 1, SBP_THUMBBTNHORZ = 2, SBP_THUMBBTNVERT = 3, SBP_LOWERTRACKHORZ = 4,
    SBP_UPPERTRACKHORZ = 5, SBP_LOWERTRACKVERT = 6, SBP_UPPERTRACKVERT = 7,
    SBP_GRIPPERHORZ = 8, SBP_GRIPPERVERT = 9, SBP_SIZEBOX = 10,
};
// Arrow buttons: four directions (up, down, left, right) of four states each.
enum : int {
    ABS_UPNORMAL = 1, ABS_UPHOT = 2, ABS_UPPRESSED = 3, ABS_UPDISABLED = 4,
    ABS_DOWNNORMAL = 5, ABS_DOWNHOT = 6, ABS_DOWNPRESSED = 7, ABS_DOWNDISABLED = 8,
    ABS_LEFTNORMAL = 9, ABS_LEFTHOT = 10, ABS_LEFTPRESSED = 11, ABS_LEFTDISABLED = 12,
    ABS_RIGHTNORMAL = 13, ABS_RIGHTHOT = 14, ABS_RIGHTPRESSED = 15, ABS_RIGHTDISABLED = 16,
};
enum : int { SCRBS_NORMAL = 1, SCRBS_HOT = 2, SCRBS_PRESSED = 3, SCRBS_DISABLED = 4 };

// "toolbar"
enum : int { TP_BUTTON = 1, TP_DROPDOWNBUTTON = 2, TP_SPLITBUTTON = 3,
             TP_SPLITBUTTONDROPDOWN = 4, TP_SEPARATOR = 5, TP_SEPARATORVERT = 6 };
enum : int { TS_NORMAL = 1, TS_HOT = 2, TS_PRESSED = 3, TS_DISABLED = 4, TS_CHECKED = 5,
             TS_HOTCHECKED = 6 };

// "menu"
enum : int {
    MENU_BARBACKGROUND = 7, MENU_BARITEM = 8, MENU_POPUPBACKGROUND = 9,
    MENU_POPUPBORDERS = 10, MENU_POPUPCHECK = 11, MENU_POPUPCHECKBACKGROUND = 12,
    MENU_POPUPGUTTER = 13, MENU_POPUPITEM = 14, MENU_POPUPSEPARATOR = 15,
    MENU_POPUPSUBMENU = 16,
};
enum : int { MBI_NORMAL = 1, MBI_HOT = 2, MBI_PUSHED = 3, MBI_DISABLED = 4 };
enum : int { MPI_NORMAL = 1, MPI_HOT = 2, MPI_DISABLED = 3, MPI_DISABLEDHOT = 4 };
enum : int { MC_CHECKMARKNORMAL = 1, MC_CHECKMARKDISABLED = 2, MC_BULLETNORMAL = 3,
             MC_BULLETDISABLED = 4 };
enum : int { MCB_DISABLED = 1, MCB_NORMAL = 2, MCB_BITMAP = 3 };
enum : int { MSM_NORMAL = 1, MSM_DISABLED = 2 };

// Colour properties (GetThemeColor).
enum : int { TMT_BORDERCOLOR = 3801, TMT_FILLCOLOR = 3802, TMT_TEXTCOLOR = 3803 };

// Part sizes (GetThemePartSize).
enum THEMESIZE { TS_MIN = 0, TS_TRUE = 1, TS_DRAW = 2 };

// ---------------------------------------------------------------------------
// The process-wide switch
// ---------------------------------------------------------------------------

// Visual styles are on from the start. Turning them off makes IsThemeActive
// and IsAppThemed answer false and OpenThemeData answer no handle; handles
// already open keep drawing.
void SetVisualStylesEnabled(bool on);
bool VisualStylesEnabled();

// ---------------------------------------------------------------------------
// The theme functions
// ---------------------------------------------------------------------------

BOOL IsThemeActive();
BOOL IsAppThemed();

// classList: one or more class names separated by ';' (any case; a
// "Name::" prefix is ignored); the first known one is opened. Answers null
// when visual styles are off or no class is known. The window is only
// remembered.
HTHEME OpenThemeData(HWND wnd, LPCWSTR classList);
HRESULT CloseThemeData(HTHEME theme);

// Draws the part in the state over rect, limited to clip when given.
// Coordinates are logical units of the DC. A recording DC gets one record:
// Kind "DrawThemeBackground", Rect the part rectangle, Text the class name
// ("button"), Flags = part * 0x10000 + state. Unknown parts draw nothing and
// answer E_INVALIDARG; an unknown state of a known part draws as its first.
HRESULT DrawThemeBackground(HTHEME theme, HDC dc, int part, int state, const RECT* rect,
                            const RECT* clip);
// The classic edge (DrawEdge) over the rectangle; contentRect (may be
// null) receives the rectangle inside the edge with BF_ADJUST, the
// rectangle itself otherwise.
HRESULT DrawThemeEdge(HTHEME theme, HDC dc, int part, int state, const RECT* destRect,
                      UINT edge, UINT flags, RECT* contentRect);
// The natural size of a part (check and radio boxes, arrows, caption
// buttons...); parts that stretch to any size answer their minimum.
HRESULT GetThemePartSize(HTHEME theme, HDC dc, int part, int state, const RECT* rect,
                         THEMESIZE kind, SIZE* size);
// The border, fill or text colour the renderer uses for a part in a state.
HRESULT GetThemeColor(HTHEME theme, int part, int state, int propId, COLORREF* color);
// A fixed theme file, colour scheme and size name; each buffer (may be null)
// receives at most max - 1 characters and a terminating zero.
HRESULT GetCurrentThemeName(LPWSTR themeFile, int maxFile, LPWSTR colorName, int maxColor,
                            LPWSTR sizeName, int maxSize);

// Test aid: the colour-scheme name GetCurrentThemeName answers
// ("NormalColor" from the start).
void SetThemeColorSchemeName(const String& name);

// ---------------------------------------------------------------------------
// The rest of the theme library's functions
// ---------------------------------------------------------------------------
// Published so that a program binding the theme library by name finds every
// function it looks for. Our renderer has no theme file behind it: these
// answer E_NOTIMPL (out parameters untouched) or 0 / false / null, except
// GetThemeSysColor, which answers the system colour.

struct MARGINS {
    int cxLeftWidth = 0;
    int cxRightWidth = 0;
    int cyTopHeight = 0;
    int cyBottomHeight = 0;
};
struct INTLIST {
    int iValueCount = 0;
    int iValues[402] = {};
};

HRESULT DrawThemeText(HTHEME theme, HDC dc, int part, int state, LPCWSTR text, int count,
                      DWORD textFlags, DWORD textFlags2, const RECT* rect);
HRESULT GetThemeBackgroundContentRect(HTHEME theme, HDC dc, int part, int state,
                                      const RECT* bounding, RECT* content);
HRESULT GetThemeBackgroundExtent(HTHEME theme, HDC dc, int part, int state, const RECT* content,
                                 RECT* extent);
HRESULT GetThemeTextExtent(HTHEME theme, HDC dc, int part, int state, LPCWSTR text, int count,
                           DWORD textFlags, const RECT* bounding, RECT* extent);
HRESULT GetThemeTextMetrics(HTHEME theme, HDC dc, int part, int state, TEXTMETRICW* metrics);
HRESULT GetThemeBackgroundRegion(HTHEME theme, HDC dc, int part, int state, const RECT* rect,
                                 HRGN* region);
HRESULT HitTestThemeBackground(HTHEME theme, HDC dc, int part, int state, DWORD options,
                               const RECT* rect, HRGN region, POINT test, Word* hitCode);
HRESULT DrawThemeIcon(HTHEME theme, HDC dc, int part, int state, const RECT* rect,
                      HIMAGELIST images, int imageIndex);
BOOL IsThemePartDefined(HTHEME theme, int part, int state);
BOOL IsThemeBackgroundPartiallyTransparent(HTHEME theme, int part, int state);
HRESULT GetThemeMetric(HTHEME theme, HDC dc, int part, int state, int propId, int* value);
HRESULT GetThemeString(HTHEME theme, int part, int state, int propId, LPWSTR buf, int maxChars);
HRESULT GetThemeBool(HTHEME theme, int part, int state, int propId, BOOL* value);
HRESULT GetThemeInt(HTHEME theme, int part, int state, int propId, int* value);
HRESULT GetThemeEnumValue(HTHEME theme, int part, int state, int propId, int* value);
HRESULT GetThemePosition(HTHEME theme, int part, int state, int propId, POINT* point);
HRESULT GetThemeFont(HTHEME theme, HDC dc, int part, int state, int propId, LOGFONTW* font);
HRESULT GetThemeRect(HTHEME theme, int part, int state, int propId, RECT* rect);
HRESULT GetThemeMargins(HTHEME theme, HDC dc, int part, int state, int propId, const RECT* rect,
                        MARGINS* margins);
HRESULT GetThemeIntList(HTHEME theme, int part, int state, int propId, INTLIST* list);
HRESULT SetWindowTheme(HWND wnd, LPCWSTR subAppName, LPCWSTR subIdList);
HRESULT GetThemeFilename(HTHEME theme, int part, int state, int propId, LPWSTR buf, int maxChars);
// The current colour of the system element colorId (as GetSysColor).
COLORREF GetThemeSysColor(HTHEME theme, int colorId);
HBRUSH GetThemeSysColorBrush(HTHEME theme, int colorId);
BOOL GetThemeSysBool(HTHEME theme, int boolId);
int GetThemeSysSize(HTHEME theme, int sizeId);
HRESULT GetThemeSysFont(HTHEME theme, int fontId, LOGFONTW* font);
HRESULT GetThemeSysString(HTHEME theme, int stringId, LPWSTR buf, int maxChars);
HRESULT GetThemeSysInt(HTHEME theme, int intId, int* value);
HTHEME GetWindowTheme(HWND wnd);
HRESULT EnableThemeDialogTexture(HWND wnd, DWORD flags);
BOOL IsThemeDialogTextureEnabled(HWND wnd);
DWORD GetThemeAppProperties();
void SetThemeAppProperties(DWORD flags);
HRESULT GetThemeDocumentationProperty(LPCWSTR themeName, LPCWSTR propName, LPWSTR buf,
                                      int maxChars);
HRESULT DrawThemeParentBackground(HWND wnd, HDC dc, const RECT* rect);
HRESULT EnableTheming(BOOL enable);
