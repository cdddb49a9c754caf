// The window system's handles, message numbers, constants and records, and
// the window-manager calls, with the names and numbers the code built on
// them expects.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/base/Threads.h"
#include "platform/base/Types.h"
#include "platform/gfx/Gdi.h"

// ---------------------------------------------------------------------------
// Handles. A window handle is an opaque number; a destroyed window's number
// is never handed out again, so a stale handle simply stops being a window.
using HWND = struct TWindowHandle*;  // the same alias the graphics layer names
struct HCURSOR__;
using HCURSOR = HCURSOR__*;
using HICON = HCURSOR;
struct HHOOK__;
using HHOOK = HHOOK__*;
struct HMONITOR__;
using HMONITOR = HMONITOR__*;
using HINSTANCE = void*;
using HMODULE = void*;
using HMENU = void*;
using ATOM = Word;
using UINT_PTR = uintptr_t;
using LONG_PTR = intptr_t;
using SHORT = int16_t;
using ULONG_PTR = uintptr_t;

#ifndef VEL_BOOL_CONSTANTS
#define VEL_BOOL_CONSTANTS
constexpr BOOL FALSE = 0;
constexpr BOOL TRUE = 1;
#endif

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);
using HOOKPROC = LRESULT (*)(int, WPARAM, LPARAM);

inline constexpr uintptr_t MAKEINTRESOURCE_ID(Word id) { return id; }
inline Word LOWORD(uintptr_t v) { return Word(v & 0xFFFF); }
inline Word HIWORD(uintptr_t v) { return Word((v >> 16) & 0xFFFF); }
inline int GET_X_LPARAM(LPARAM l) { return int(int16_t(LOWORD(uintptr_t(l)))); }
inline int GET_Y_LPARAM(LPARAM l) { return int(int16_t(HIWORD(uintptr_t(l)))); }
inline short GET_WHEEL_DELTA_WPARAM(WPARAM w) { return short(HIWORD(w)); }
inline LPARAM MAKELPARAM(int lo, int hi) { return LPARAM(int32_t((uint32_t(uint16_t(lo))) | (uint32_t(uint16_t(hi)) << 16))); }
inline WPARAM MAKEWPARAM(int lo, int hi) { return WPARAM(uint32_t(uint16_t(lo)) | (uint32_t(uint16_t(hi)) << 16)); }
inline LRESULT MAKELRESULT(int lo, int hi) { return LRESULT(MAKELPARAM(lo, hi)); }
inline LPARAM PointToLParam(const TPoint& p) { return MAKELPARAM(p.X, p.Y); }
inline TPoint LParamToPoint(LPARAM l) { return {GET_X_LPARAM(l), GET_Y_LPARAM(l)}; }

constexpr int CW_USEDEFAULT = int(0x80000000u);

inline HWND const HWND_TOP = reinterpret_cast<HWND>(0);
inline HWND const HWND_BOTTOM = reinterpret_cast<HWND>(1);
inline HWND const HWND_TOPMOST = reinterpret_cast<HWND>(-1);
inline HWND const HWND_NOTOPMOST = reinterpret_cast<HWND>(-2);
inline HWND const HWND_MESSAGE = reinterpret_cast<HWND>(-3);
inline HWND const HWND_DESKTOP = reinterpret_cast<HWND>(0);
inline HWND const HWND_BROADCAST = reinterpret_cast<HWND>(0xFFFF);

// ---------------------------------------------------------------------------
// Window messages.
enum : UINT {
    WM_NULL = 0x0000, WM_CREATE = 0x0001, WM_DESTROY = 0x0002, WM_MOVE = 0x0003, WM_SIZE = 0x0005,
    WM_ACTIVATE = 0x0006, WM_SETFOCUS = 0x0007, WM_KILLFOCUS = 0x0008, WM_ENABLE = 0x000A,
    WM_SETREDRAW = 0x000B, WM_SETTEXT = 0x000C, WM_GETTEXT = 0x000D, WM_GETTEXTLENGTH = 0x000E,
    WM_PAINT = 0x000F, WM_CLOSE = 0x0010, WM_QUERYENDSESSION = 0x0011, WM_QUIT = 0x0012,
    WM_ERASEBKGND = 0x0014, WM_SYSCOLORCHANGE = 0x0015, WM_SHOWWINDOW = 0x0018,
    WM_WININICHANGE = 0x001A, WM_SETTINGCHANGE = 0x001A, WM_ACTIVATEAPP = 0x001C,
    WM_FONTCHANGE = 0x001D, WM_TIMECHANGE = 0x001E, WM_CANCELMODE = 0x001F, WM_SETCURSOR = 0x0020,
    WM_MOUSEACTIVATE = 0x0021, WM_CHILDACTIVATE = 0x0022, WM_GETMINMAXINFO = 0x0024,
    WM_NEXTDLGCTL = 0x0028,
    WM_DRAWITEM = 0x002B, WM_MEASUREITEM = 0x002C, WM_DELETEITEM = 0x002D, WM_VKEYTOITEM = 0x002E,
    WM_CHARTOITEM = 0x002F, WM_COMPAREITEM = 0x0039, WM_SETFONT = 0x0030, WM_GETFONT = 0x0031, WM_WINDOWPOSCHANGING = 0x0046,
    WM_WINDOWPOSCHANGED = 0x0047, WM_NOTIFY = 0x004E, WM_HELP = 0x0053, WM_CONTEXTMENU = 0x007B,
    WM_STYLECHANGING = 0x007C, WM_STYLECHANGED = 0x007D, WM_GETICON = 0x007F, WM_SETICON = 0x0080,
    WM_NCCREATE = 0x0081, WM_NCDESTROY = 0x0082, WM_NCCALCSIZE = 0x0083, WM_NCHITTEST = 0x0084,
    WM_NCPAINT = 0x0085, WM_NCACTIVATE = 0x0086, WM_GETDLGCODE = 0x0087,
    WM_NCMOUSEMOVE = 0x00A0, WM_NCLBUTTONDOWN = 0x00A1, WM_NCLBUTTONUP = 0x00A2,
    WM_NCLBUTTONDBLCLK = 0x00A3, WM_NCRBUTTONDOWN = 0x00A4, WM_NCRBUTTONUP = 0x00A5,
    WM_NCRBUTTONDBLCLK = 0x00A6, WM_NCMBUTTONDOWN = 0x00A7, WM_NCMBUTTONUP = 0x00A8,
    WM_NCMBUTTONDBLCLK = 0x00A9,
    WM_KEYFIRST = 0x0100, WM_KEYDOWN = 0x0100, WM_KEYUP = 0x0101, WM_CHAR = 0x0102,
    WM_DEADCHAR = 0x0103, WM_SYSKEYDOWN = 0x0104, WM_SYSKEYUP = 0x0105, WM_SYSCHAR = 0x0106,
    WM_SYSDEADCHAR = 0x0107, WM_UNICHAR = 0x0109, WM_KEYLAST = 0x0109,
    WM_INITDIALOG = 0x0110, WM_COMMAND = 0x0111, WM_SYSCOMMAND = 0x0112, WM_TIMER = 0x0113,
    WM_HSCROLL = 0x0114, WM_VSCROLL = 0x0115, WM_INITMENU = 0x0116, WM_INITMENUPOPUP = 0x0117,
    WM_MENUSELECT = 0x011F, WM_MENUCHAR = 0x0120, WM_ENTERIDLE = 0x0121, WM_CHANGEUISTATE = 0x0127,
    WM_UPDATEUISTATE = 0x0128, WM_QUERYUISTATE = 0x0129,
    WM_CTLCOLORMSGBOX = 0x0132, WM_CTLCOLOREDIT = 0x0133, WM_CTLCOLORLISTBOX = 0x0134,
    WM_CTLCOLORBTN = 0x0135, WM_CTLCOLORDLG = 0x0136, WM_CTLCOLORSCROLLBAR = 0x0137,
    WM_CTLCOLORSTATIC = 0x0138,
    WM_MOUSEFIRST = 0x0200, WM_MOUSEMOVE = 0x0200, WM_LBUTTONDOWN = 0x0201, WM_LBUTTONUP = 0x0202,
    WM_LBUTTONDBLCLK = 0x0203, WM_RBUTTONDOWN = 0x0204, WM_RBUTTONUP = 0x0205,
    WM_RBUTTONDBLCLK = 0x0206, WM_MBUTTONDOWN = 0x0207, WM_MBUTTONUP = 0x0208,
    WM_MBUTTONDBLCLK = 0x0209, WM_MOUSEWHEEL = 0x020A, WM_MOUSEHWHEEL = 0x020E, WM_MOUSELAST = 0x020E,
    WM_PARENTNOTIFY = 0x0210, WM_ENTERMENULOOP = 0x0211, WM_EXITMENULOOP = 0x0212,
    WM_SIZING = 0x0214, WM_CAPTURECHANGED = 0x0215, WM_MOVING = 0x0216,
    WM_ENTERSIZEMOVE = 0x0231, WM_EXITSIZEMOVE = 0x0232, WM_DROPFILES = 0x0233,
    WM_MOUSEHOVER = 0x02A1, WM_MOUSELEAVE = 0x02A3, WM_NCMOUSELEAVE = 0x02A2,
    WM_CUT = 0x0300, WM_COPY = 0x0301, WM_PASTE = 0x0302, WM_CLEAR = 0x0303, WM_UNDO = 0x0304,
    WM_PRINT = 0x0317, WM_PRINTCLIENT = 0x0318, WM_THEMECHANGED = 0x031A,
    WM_APP = 0x8000, WM_USER = 0x0400,
};

// The class library's own control messages and reflected notifications.
enum : UINT {
    CM_BASE = 0xB000,
    CM_ACTIVATE = CM_BASE + 0, CM_DEACTIVATE = CM_BASE + 1, CM_GOTFOCUS = CM_BASE + 2,
    CM_LOSTFOCUS = CM_BASE + 3, CM_CANCELMODE = CM_BASE + 4, CM_DIALOGKEY = CM_BASE + 5,
    CM_DIALOGCHAR = CM_BASE + 6, CM_FOCUSCHANGED = CM_BASE + 7, CM_PARENTFONTCHANGED = CM_BASE + 8,
    CM_PARENTCOLORCHANGED = CM_BASE + 9, CM_HITTEST = CM_BASE + 10, CM_VISIBLECHANGED = CM_BASE + 11,
    CM_ENABLEDCHANGED = CM_BASE + 12, CM_COLORCHANGED = CM_BASE + 13, CM_FONTCHANGED = CM_BASE + 14,
    CM_CURSORCHANGED = CM_BASE + 15, CM_CTL3DCHANGED = CM_BASE + 16,
    CM_PARENTCTL3DCHANGED = CM_BASE + 17, CM_TEXTCHANGED = CM_BASE + 18,
    CM_MOUSEENTER = CM_BASE + 19, CM_MOUSELEAVE = CM_BASE + 20, CM_MENUCHANGED = CM_BASE + 21,
    CM_APPKEYDOWN = CM_BASE + 22, CM_APPSYSCOMMAND = CM_BASE + 23, CM_BUTTONPRESSED = CM_BASE + 24,
    CM_SHOWINGCHANGED = CM_BASE + 25, CM_ENTER = CM_BASE + 26, CM_EXIT = CM_BASE + 27,
    CM_DESIGNHITTEST = CM_BASE + 28, CM_ICONCHANGED = CM_BASE + 29,
    CM_WANTSPECIALKEY = CM_BASE + 30, CM_INVOKEHELP = CM_BASE + 31, CM_WINDOWHOOK = CM_BASE + 32,
    CM_RELEASE = CM_BASE + 33, CM_SHOWHINTCHANGED = CM_BASE + 34,
    CM_PARENTSHOWHINTCHANGED = CM_BASE + 35, CM_SYSCOLORCHANGE = CM_BASE + 36,
    CM_WININICHANGE = CM_BASE + 37, CM_FONTCHANGE = CM_BASE + 38, CM_TIMECHANGE = CM_BASE + 39,
    CM_TABSTOPCHANGED = CM_BASE + 40, CM_UIACTIVATE = CM_BASE + 41, CM_UIDEACTIVATE = CM_BASE + 42,
    CM_DOCWINDOWACTIVATE = CM_BASE + 43, CM_CONTROLLISTCHANGE = CM_BASE + 44,
    CM_GETDATALINK = CM_BASE + 45, CM_CHILDKEY = CM_BASE + 46, CM_DRAG = CM_BASE + 47,
    CM_HINTSHOW = CM_BASE + 48, CM_DIALOGHANDLE = CM_BASE + 49, CM_ISTOOLCONTROL = CM_BASE + 50,
    CM_RECREATEWND = CM_BASE + 51, CM_INVALIDATE = CM_BASE + 52, CM_SYSFONTCHANGED = CM_BASE + 53,
    CM_CONTROLCHANGE = CM_BASE + 54, CM_CHANGED = CM_BASE + 55, CM_BORDERCHANGED = CM_BASE + 59,
    CM_BIDIMODECHANGED = CM_BASE + 60, CM_PARENTBIDIMODECHANGED = CM_BASE + 61,
    CM_HINTSHOWPAUSE = CM_BASE + 65, CM_MOUSEWHEEL = CM_BASE + 67, CM_STYLECHANGED = CM_BASE + 83,

    CN_BASE = 0xBC00,
    CN_CHARTOITEM = CN_BASE + WM_CHARTOITEM, CN_COMMAND = CN_BASE + WM_COMMAND,
    CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN, CN_CTLCOLORDLG = CN_BASE + WM_CTLCOLORDLG,
    CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT, CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX,
    CN_CTLCOLORMSGBOX = CN_BASE + WM_CTLCOLORMSGBOX,
    CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR,
    CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC, CN_DELETEITEM = CN_BASE + WM_DELETEITEM,
    CN_DRAWITEM = CN_BASE + WM_DRAWITEM, CN_HSCROLL = CN_BASE + WM_HSCROLL,
    CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM, CN_PARENTNOTIFY = CN_BASE + WM_PARENTNOTIFY,
    CN_VKEYTOITEM = CN_BASE + WM_VKEYTOITEM, CN_VSCROLL = CN_BASE + WM_VSCROLL,
    CN_KEYDOWN = CN_BASE + WM_KEYDOWN, CN_KEYUP = CN_BASE + WM_KEYUP, CN_CHAR = CN_BASE + WM_CHAR,
    CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN, CN_SYSCHAR = CN_BASE + WM_SYSCHAR,
    CN_NOTIFY = CN_BASE + WM_NOTIFY,
};

// Edit, combo box, list box, button, tooltip and date-time picker messages
// and notifications.
enum : UINT {
    EM_GETSEL = 0x00B0, EM_SETSEL = 0x00B1, EM_GETRECT = 0x00B2, EM_SETRECT = 0x00B3,
    EM_SETRECTNP = 0x00B4, EM_SCROLL = 0x00B5, EM_LINESCROLL = 0x00B6, EM_SCROLLCARET = 0x00B7,
    EM_GETMODIFY = 0x00B8, EM_SETMODIFY = 0x00B9, EM_GETLINECOUNT = 0x00BA, EM_LINEINDEX = 0x00BB,
    EM_LINELENGTH = 0x00C1, EM_REPLACESEL = 0x00C2, EM_GETLINE = 0x00C4, EM_LIMITTEXT = 0x00C5,
    EM_SETLIMITTEXT = 0x00C5, EM_CANUNDO = 0x00C6, EM_UNDO = 0x00C7, EM_LINEFROMCHAR = 0x00C9,
    EM_SETPASSWORDCHAR = 0x00CC, EM_EMPTYUNDOBUFFER = 0x00CD, EM_GETFIRSTVISIBLELINE = 0x00CE,
    EM_SETREADONLY = 0x00CF, EM_GETPASSWORDCHAR = 0x00D2, EM_SETMARGINS = 0x00D3,
    EM_GETMARGINS = 0x00D4, EM_GETLIMITTEXT = 0x00D5, EM_POSFROMCHAR = 0x00D6,
    EM_CHARFROMPOS = 0x00D7,
    EM_EXGETSEL = WM_USER + 52, EM_EXSETSEL = WM_USER + 55, EM_FORMATRANGE = WM_USER + 57,
    EM_GETCHARFORMAT = WM_USER + 58, EM_GETEVENTMASK = WM_USER + 59, EM_REQUESTRESIZE = WM_USER + 65,
    EM_SETBKGNDCOLOR = WM_USER + 67, EM_SETCHARFORMAT = WM_USER + 68, EM_SETEVENTMASK = WM_USER + 69,
    EM_SHOWBALLOONTIP = 0x1503, EM_HIDEBALLOONTIP = 0x1504,
    EN_SETFOCUS = 0x0100, EN_KILLFOCUS = 0x0200, EN_CHANGE = 0x0300, EN_UPDATE = 0x0400,
    EN_MAXTEXT = 0x0501, EN_REQUESTRESIZE = 0x0701, EN_SELCHANGE = 0x0702,
    // Icons of balloon and tooltip titles (EM_SHOWBALLOONTIP, TTM_SETTITLE).
    TTI_NONE = 0, TTI_INFO = 1, TTI_WARNING = 2, TTI_ERROR = 3,
    EC_LEFTMARGIN = 1, EC_RIGHTMARGIN = 2, EC_USEFONTINFO = 0xFFFF,
    EM_SETCUEBANNER = 0x1501, EM_GETCUEBANNER = 0x1502,

    CB_GETEDITSEL = 0x0140, CB_LIMITTEXT = 0x0141, CB_SETEDITSEL = 0x0142, CB_ADDSTRING = 0x0143,
    CB_DELETESTRING = 0x0144, CB_GETCOUNT = 0x0146, CB_GETCURSEL = 0x0147, CB_GETLBTEXT = 0x0148,
    CB_GETLBTEXTLEN = 0x0149, CB_INSERTSTRING = 0x014A, CB_RESETCONTENT = 0x014B,
    CB_FINDSTRING = 0x014C, CB_SELECTSTRING = 0x014D, CB_SETCURSEL = 0x014E,
    CB_SHOWDROPDOWN = 0x014F, CB_GETITEMDATA = 0x0150, CB_SETITEMDATA = 0x0151,
    CB_GETDROPPEDCONTROLRECT = 0x0152, CB_SETITEMHEIGHT = 0x0153, CB_GETITEMHEIGHT = 0x0154,
    CB_GETDROPPEDSTATE = 0x0157, CB_FINDSTRINGEXACT = 0x0158, CB_GETDROPPEDWIDTH = 0x015F,
    CB_SETDROPPEDWIDTH = 0x0160, CB_GETCOMBOBOXINFO = 0x0164,
    CB_SETEXTENDEDUI = 0x0155, CB_GETEXTENDEDUI = 0x0156, CB_GETTOPINDEX = 0x015B,
    CB_SETTOPINDEX = 0x015C, CB_SETMINVISIBLE = 0x1701, CB_GETMINVISIBLE = 0x1702,
    CBN_SELCHANGE = 1, CBN_DBLCLK = 2, CBN_SETFOCUS = 3, CBN_KILLFOCUS = 4, CBN_EDITCHANGE = 5,
    CBN_EDITUPDATE = 6, CBN_DROPDOWN = 7, CBN_CLOSEUP = 8, CBN_SELENDOK = 9, CBN_SELENDCANCEL = 10,

    LB_ADDSTRING = 0x0180, LB_INSERTSTRING = 0x0181, LB_DELETESTRING = 0x0182,
    LB_RESETCONTENT = 0x0184, LB_SETSEL = 0x0185, LB_SETCURSEL = 0x0186, LB_GETSEL = 0x0187,
    LB_GETCURSEL = 0x0188, LB_GETTEXT = 0x0189, LB_GETTEXTLEN = 0x018A, LB_GETCOUNT = 0x018B,
    LB_SELECTSTRING = 0x018C, LB_GETTOPINDEX = 0x018E, LB_FINDSTRING = 0x018F,
    LB_GETSELCOUNT = 0x0190, LB_SETTOPINDEX = 0x0197, LB_GETITEMRECT = 0x0198,
    LB_GETITEMDATA = 0x0199, LB_SETITEMDATA = 0x019A, LB_SETITEMHEIGHT = 0x01A0,
    LB_GETITEMHEIGHT = 0x01A1, LB_FINDSTRINGEXACT = 0x01A2, LB_ITEMFROMPOINT = 0x01A9,
    LB_SELITEMRANGEEX = 0x0183, LB_GETSELITEMS = 0x0191, LB_SELITEMRANGE = 0x019B,
    LB_SETANCHORINDEX = 0x019C, LB_GETANCHORINDEX = 0x019D, LB_SETCARETINDEX = 0x019E,
    LB_GETCARETINDEX = 0x019F,
    LBN_SELCHANGE = 1, LBN_DBLCLK = 2, LBN_SELCANCEL = 3, LBN_SETFOCUS = 4, LBN_KILLFOCUS = 5,

    BM_GETCHECK = 0x00F0, BM_SETCHECK = 0x00F1, BM_GETSTATE = 0x00F2, BM_SETSTATE = 0x00F3,
    BM_SETSTYLE = 0x00F4, BM_CLICK = 0x00F5, BM_GETIMAGE = 0x00F6, BM_SETIMAGE = 0x00F7,
    BN_CLICKED = 0, BN_DOUBLECLICKED = 5, BST_UNCHECKED = 0, BST_CHECKED = 1, BST_INDETERMINATE = 2,

    TTM_ACTIVATE = WM_USER + 1, TTM_SETDELAYTIME = WM_USER + 3, TTM_RELAYEVENT = WM_USER + 7,
    TTM_GETTOOLCOUNT = WM_USER + 13, TTM_TRACKACTIVATE = WM_USER + 17,
    TTM_TRACKPOSITION = WM_USER + 18, TTM_SETTIPBKCOLOR = WM_USER + 19,
    TTM_SETTIPTEXTCOLOR = WM_USER + 20, TTM_SETMAXTIPWIDTH = WM_USER + 24,
    TTM_POP = WM_USER + 28, TTM_UPDATE = WM_USER + 29, TTM_SETTITLEW = WM_USER + 33,
    TTM_ADDTOOLW = WM_USER + 50, TTM_DELTOOLW = WM_USER + 51, TTM_NEWTOOLRECTW = WM_USER + 52,
    TTM_UPDATETIPTEXTW = WM_USER + 57,
    TTDT_AUTOMATIC = 0, TTDT_RESHOW = 1, TTDT_AUTOPOP = 2, TTDT_INITIAL = 3,

    DTM_FIRST = 0x1000, DTM_GETSYSTEMTIME = DTM_FIRST + 1, DTM_SETSYSTEMTIME = DTM_FIRST + 2,
    DTM_GETRANGE = DTM_FIRST + 3, DTM_SETRANGE = DTM_FIRST + 4, DTM_SETFORMATW = DTM_FIRST + 50,
    DTM_SETMCCOLOR = DTM_FIRST + 6, DTM_GETMCCOLOR = DTM_FIRST + 7,
    DTM_GETMONTHCAL = DTM_FIRST + 8, DTM_SETMCFONT = DTM_FIRST + 9, DTM_GETMCFONT = DTM_FIRST + 10,
    SBM_SETPOS = 0x00E0, SBM_GETPOS = 0x00E1, SBM_SETRANGE = 0x00E2, SBM_GETRANGE = 0x00E3,
    SBM_SETSCROLLINFO = 0x00E9, SBM_GETSCROLLINFO = 0x00EA,
};

// WM_NOTIFY codes (negative numbers, as the notification headers give them).
enum : int {
    NM_FIRST = 0, NM_CLICK = -2, NM_DBLCLK = -3, NM_RETURN = -4, NM_RCLICK = -5,
    NM_SETFOCUS = -7, NM_KILLFOCUS = -8, NM_CUSTOMDRAW = -12,
    TTN_FIRST = -520, TTN_SHOW = -521, TTN_POP = -522, TTN_GETDISPINFOW = -530,
    DTN_FIRST = -760, DTN_DATETIMECHANGE = -759, DTN_DROPDOWN = -754, DTN_CLOSEUP = -753,
    MCN_FIRST = -750, MCN_SELCHANGE = -749, MCN_SELECT = -746,
};

// ---------------------------------------------------------------------------
// Window styles, class styles and the flags of the calls below.
enum : DWORD {
    WS_OVERLAPPED = 0x00000000u, WS_POPUP = 0x80000000u, WS_CHILD = 0x40000000u,
    WS_MINIMIZE = 0x20000000u, WS_VISIBLE = 0x10000000u, WS_DISABLED = 0x08000000u,
    WS_CLIPSIBLINGS = 0x04000000u, WS_CLIPCHILDREN = 0x02000000u, WS_MAXIMIZE = 0x01000000u,
    WS_CAPTION = 0x00C00000u, WS_BORDER = 0x00800000u, WS_DLGFRAME = 0x00400000u,
    WS_VSCROLL = 0x00200000u, WS_HSCROLL = 0x00100000u, WS_SYSMENU = 0x00080000u,
    WS_THICKFRAME = 0x00040000u, WS_SIZEBOX = 0x00040000u, WS_GROUP = 0x00020000u,
    WS_TABSTOP = 0x00010000u, WS_MINIMIZEBOX = 0x00020000u, WS_MAXIMIZEBOX = 0x00010000u,
    WS_OVERLAPPEDWINDOW = 0x00CF0000u, WS_POPUPWINDOW = 0x80880000u, WS_CHILDWINDOW = 0x40000000u,

    WS_EX_DLGMODALFRAME = 0x00000001u, WS_EX_NOPARENTNOTIFY = 0x00000004u,
    WS_EX_TOPMOST = 0x00000008u, WS_EX_ACCEPTFILES = 0x00000010u, WS_EX_TRANSPARENT = 0x00000020u,
    WS_EX_MDICHILD = 0x00000040u, WS_EX_TOOLWINDOW = 0x00000080u, WS_EX_WINDOWEDGE = 0x00000100u,
    WS_EX_CLIENTEDGE = 0x00000200u, WS_EX_CONTEXTHELP = 0x00000400u, WS_EX_RIGHT = 0x00001000u,
    WS_EX_RTLREADING = 0x00002000u, WS_EX_LEFTSCROLLBAR = 0x00004000u,
    WS_EX_CONTROLPARENT = 0x00010000u, WS_EX_STATICEDGE = 0x00020000u, WS_EX_APPWINDOW = 0x00040000u,
    WS_EX_LAYERED = 0x00080000u, WS_EX_NOINHERITLAYOUT = 0x00100000u,
    WS_EX_LAYOUTRTL = 0x00400000u, WS_EX_COMPOSITED = 0x02000000u, WS_EX_NOACTIVATE = 0x08000000u,

    CS_VREDRAW = 0x0001u, CS_HREDRAW = 0x0002u, CS_DBLCLKS = 0x0008u, CS_OWNDC = 0x0020u,
    CS_CLASSDC = 0x0040u, CS_PARENTDC = 0x0080u, CS_NOCLOSE = 0x0200u, CS_SAVEBITS = 0x0800u,
    CS_GLOBALCLASS = 0x4000u, CS_DROPSHADOW = 0x00020000u,

    ES_LEFT = 0x0000u, ES_CENTER = 0x0001u, ES_RIGHT = 0x0002u, ES_MULTILINE = 0x0004u,
    ES_UPPERCASE = 0x0008u, ES_LOWERCASE = 0x0010u, ES_PASSWORD = 0x0020u,
    ES_AUTOVSCROLL = 0x0040u, ES_AUTOHSCROLL = 0x0080u, ES_NOHIDESEL = 0x0100u,
    ES_READONLY = 0x0800u, ES_WANTRETURN = 0x1000u, ES_NUMBER = 0x2000u,
    BS_PUSHBUTTON = 0x0u, BS_DEFPUSHBUTTON = 0x1u, BS_CHECKBOX = 0x2u, BS_AUTOCHECKBOX = 0x3u,
    BS_RADIOBUTTON = 0x4u, BS_3STATE = 0x5u, BS_AUTO3STATE = 0x6u, BS_GROUPBOX = 0x7u,
    BS_AUTORADIOBUTTON = 0x9u, BS_OWNERDRAW = 0xBu, BS_MULTILINE = 0x2000u,
    CBS_SIMPLE = 0x1u, CBS_DROPDOWN = 0x2u, CBS_DROPDOWNLIST = 0x3u, CBS_OWNERDRAWFIXED = 0x10u,
    CBS_OWNERDRAWVARIABLE = 0x20u, CBS_AUTOHSCROLL = 0x40u, CBS_SORT = 0x100u,
    CBS_HASSTRINGS = 0x200u,
    LBS_NOTIFY = 0x1u, LBS_SORT = 0x2u, LBS_OWNERDRAWFIXED = 0x10u, LBS_OWNERDRAWVARIABLE = 0x20u,
    LBS_HASSTRINGS = 0x40u, LBS_MULTIPLESEL = 0x8u, LBS_NOINTEGRALHEIGHT = 0x100u,
    LBS_EXTENDEDSEL = 0x800u, LBS_USETABSTOPS = 0x80u, LBS_WANTKEYBOARDINPUT = 0x400u,
    LBS_DISABLENOSCROLL = 0x1000u, LBS_NOSEL = 0x4000u,
    CBS_NOINTEGRALHEIGHT = 0x400u, CBS_DISABLENOSCROLL = 0x800u, CBS_UPPERCASE = 0x2000u,
    CBS_LOWERCASE = 0x4000u,
    SS_LEFT = 0x0u, SS_CENTER = 0x1u, SS_RIGHT = 0x2u, SS_NOPREFIX = 0x80u, SS_NOTIFY = 0x100u,
    TTS_ALWAYSTIP = 0x1u, TTS_NOPREFIX = 0x2u, TTS_BALLOON = 0x40u,
};

enum : int {
    GWL_WNDPROC = -4, GWL_HINSTANCE = -6, GWL_HWNDPARENT = -8, GWL_STYLE = -16,
    GWL_EXSTYLE = -20, GWL_USERDATA = -21, GWL_ID = -12,
    GWLP_WNDPROC = -4, GWLP_HINSTANCE = -6, GWLP_HWNDPARENT = -8, GWLP_USERDATA = -21,
    GWLP_ID = -12,
    GCL_STYLE = -26,
};

enum : UINT {
    SWP_NOSIZE = 0x0001, SWP_NOMOVE = 0x0002, SWP_NOZORDER = 0x0004, SWP_NOREDRAW = 0x0008,
    SWP_NOACTIVATE = 0x0010, SWP_FRAMECHANGED = 0x0020, SWP_DRAWFRAME = 0x0020,
    SWP_SHOWWINDOW = 0x0040, SWP_HIDEWINDOW = 0x0080, SWP_NOCOPYBITS = 0x0100,
    SWP_NOOWNERZORDER = 0x0200, SWP_NOREPOSITION = 0x0200, SWP_NOSENDCHANGING = 0x0400,
    SWP_NOCLIENTSIZE = 0x0800, SWP_NOCLIENTMOVE = 0x1000,  // set by the system
    SWP_DEFERERASE = 0x2000, SWP_ASYNCWINDOWPOS = 0x4000,
};

enum : int {
    SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_NORMAL = 1, SW_SHOWMINIMIZED = 2, SW_SHOWMAXIMIZED = 3,
    SW_MAXIMIZE = 3, SW_SHOWNOACTIVATE = 4, SW_SHOW = 5, SW_MINIMIZE = 6, SW_SHOWMINNOACTIVE = 7,
    SW_SHOWNA = 8, SW_RESTORE = 9, SW_SHOWDEFAULT = 10,
};

enum : UINT {
    GW_HWNDFIRST = 0, GW_HWNDLAST = 1, GW_HWNDNEXT = 2, GW_HWNDPREV = 3, GW_OWNER = 4,
    GW_CHILD = 5, GW_ENABLEDPOPUP = 6,
    GA_PARENT = 1, GA_ROOT = 2, GA_ROOTOWNER = 3,
};

enum : LRESULT {
    HTERROR = -2, HTTRANSPARENT = -1, HTNOWHERE = 0, HTCLIENT = 1, HTCAPTION = 2, HTSYSMENU = 3,
    HTGROWBOX = 4, HTSIZE = 4, HTMENU = 5, HTHSCROLL = 6, HTVSCROLL = 7, HTMINBUTTON = 8,
    HTMAXBUTTON = 9, HTLEFT = 10, HTRIGHT = 11, HTTOP = 12, HTTOPLEFT = 13, HTTOPRIGHT = 14,
    HTBOTTOM = 15, HTBOTTOMLEFT = 16, HTBOTTOMRIGHT = 17, HTBORDER = 18, HTCLOSE = 20, HTHELP = 21,
};

enum : WPARAM {
    WA_INACTIVE = 0, WA_ACTIVE = 1, WA_CLICKACTIVE = 2,
    SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2,
    WMSZ_LEFT = 1, WMSZ_RIGHT = 2, WMSZ_TOP = 3, WMSZ_TOPLEFT = 4, WMSZ_TOPRIGHT = 5,
    WMSZ_BOTTOM = 6, WMSZ_BOTTOMLEFT = 7, WMSZ_BOTTOMRIGHT = 8,
    SC_SIZE = 0xF000, SC_MOVE = 0xF010, SC_MINIMIZE = 0xF020, SC_MAXIMIZE = 0xF030,
    SC_CLOSE = 0xF060, SC_KEYMENU = 0xF100, SC_RESTORE = 0xF120,
    MK_LBUTTON = 0x0001, MK_RBUTTON = 0x0002, MK_SHIFT = 0x0004, MK_CONTROL = 0x0008,
    MK_MBUTTON = 0x0010,
};

enum : LRESULT { MA_ACTIVATE = 1, MA_ACTIVATEANDEAT = 2, MA_NOACTIVATE = 3, MA_NOACTIVATEANDEAT = 4 };

enum : LRESULT {
    DLGC_WANTARROWS = 0x0001, DLGC_WANTTAB = 0x0002, DLGC_WANTALLKEYS = 0x0004,
    DLGC_WANTMESSAGE = 0x0004, DLGC_HASSETSEL = 0x0008, DLGC_DEFPUSHBUTTON = 0x0010,
    DLGC_UNDEFPUSHBUTTON = 0x0020, DLGC_RADIOBUTTON = 0x0040, DLGC_WANTCHARS = 0x0080,
    DLGC_STATIC = 0x0100, DLGC_BUTTON = 0x2000,
};

enum : UINT {
    PM_NOREMOVE = 0x0000, PM_REMOVE = 0x0001, PM_NOYIELD = 0x0002,
    RDW_INVALIDATE = 0x0001, RDW_INTERNALPAINT = 0x0002, RDW_ERASE = 0x0004, RDW_VALIDATE = 0x0008,
    RDW_NOINTERNALPAINT = 0x0010, RDW_NOERASE = 0x0020, RDW_NOCHILDREN = 0x0040,
    RDW_ALLCHILDREN = 0x0080, RDW_UPDATENOW = 0x0100, RDW_ERASENOW = 0x0200, RDW_FRAME = 0x0400,
    RDW_NOFRAME = 0x0800,
    LWA_COLORKEY = 0x1, LWA_ALPHA = 0x2, ULW_COLORKEY = 0x1, ULW_ALPHA = 0x2, ULW_OPAQUE = 0x4,
    TME_HOVER = 0x1, TME_LEAVE = 0x2, TME_NONCLIENT = 0x10, TME_QUERY = 0x40000000u,
    TME_CANCEL = 0x80000000u, HOVER_DEFAULT = 0xFFFFFFFFu,
    MONITOR_DEFAULTTONULL = 0, MONITOR_DEFAULTTOPRIMARY = 1, MONITOR_DEFAULTTONEAREST = 2,
    MONITORINFOF_PRIMARY = 1,
    DCX_WINDOW = 0x1, DCX_CACHE = 0x2, DCX_CLIPCHILDREN = 0x8, DCX_CLIPSIBLINGS = 0x10,
    DCX_PARENTCLIP = 0x20, DCX_EXCLUDERGN = 0x40, DCX_INTERSECTRGN = 0x80,
    MAPVK_VK_TO_VSC = 0, MAPVK_VSC_TO_VK = 1, MAPVK_VK_TO_CHAR = 2, MAPVK_VSC_TO_VK_EX = 3,
    MB_OK = 0x0, MB_ICONHAND = 0x10, MB_ICONQUESTION = 0x20, MB_ICONEXCLAMATION = 0x30,
    MB_ICONASTERISK = 0x40,
    MB_OKCANCEL = 0x1, MB_ABORTRETRYIGNORE = 0x2, MB_YESNOCANCEL = 0x3, MB_YESNO = 0x4,
    MB_RETRYCANCEL = 0x5, MB_TYPEMASK = 0xF, MB_ICONERROR = 0x10, MB_ICONSTOP = 0x10,
    MB_ICONWARNING = 0x30, MB_ICONINFORMATION = 0x40, MB_ICONMASK = 0xF0, MB_DEFBUTTON1 = 0x0,
    MB_DEFBUTTON2 = 0x100, MB_DEFBUTTON3 = 0x200, MB_DEFMASK = 0xF00, MB_APPLMODAL = 0x0,
    MB_SYSTEMMODAL = 0x1000, MB_TASKMODAL = 0x2000, MB_SETFOREGROUND = 0x10000,
    MB_TOPMOST = 0x40000,
};

// Dialog answers (MessageBox and dialog buttons).
enum : int { IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7, IDCLOSE = 8 };

constexpr int WHEEL_DELTA = 120;
constexpr UINT WHEEL_PAGESCROLL = 0xFFFFFFFFu;

// Virtual-key codes.
enum : Word {
    VK_LBUTTON = 0x01, VK_RBUTTON = 0x02, VK_CANCEL = 0x03, VK_MBUTTON = 0x04, VK_BACK = 0x08,
    VK_TAB = 0x09, VK_CLEAR = 0x0C, VK_RETURN = 0x0D, VK_SHIFT = 0x10, VK_CONTROL = 0x11,
    VK_MENU = 0x12, VK_PAUSE = 0x13, VK_CAPITAL = 0x14, VK_ESCAPE = 0x1B, VK_SPACE = 0x20,
    VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23, VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26,
    VK_RIGHT = 0x27, VK_DOWN = 0x28, VK_SELECT = 0x29, VK_PRINT = 0x2A, VK_SNAPSHOT = 0x2C,
    VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_HELP = 0x2F, VK_LWIN = 0x5B, VK_RWIN = 0x5C,
    VK_APPS = 0x5D, VK_NUMPAD0 = 0x60, VK_NUMPAD1, VK_NUMPAD2, VK_NUMPAD3, VK_NUMPAD4, VK_NUMPAD5,
    VK_NUMPAD6, VK_NUMPAD7, VK_NUMPAD8, VK_NUMPAD9, VK_MULTIPLY = 0x6A, VK_ADD = 0x6B,
    VK_SEPARATOR = 0x6C, VK_SUBTRACT = 0x6D, VK_DECIMAL = 0x6E, VK_DIVIDE = 0x6F, VK_F1 = 0x70,
    VK_F2, VK_F3, VK_F4, VK_F5, VK_F6, VK_F7, VK_F8, VK_F9, VK_F10, VK_F11, VK_F12,
    VK_NUMLOCK = 0x90, VK_SCROLL = 0x91, VK_LSHIFT = 0xA0, VK_RSHIFT = 0xA1, VK_LCONTROL = 0xA2,
    VK_RCONTROL = 0xA3, VK_LMENU = 0xA4, VK_RMENU = 0xA5, VK_OEM_1 = 0xBA, VK_OEM_PLUS = 0xBB,
    VK_OEM_COMMA = 0xBC, VK_OEM_MINUS = 0xBD, VK_OEM_PERIOD = 0xBE, VK_OEM_2 = 0xBF,
    VK_OEM_3 = 0xC0, VK_OEM_4 = 0xDB, VK_OEM_5 = 0xDC, VK_OEM_6 = 0xDD, VK_OEM_7 = 0xDE,
};

// Scroll bars.
enum : int {
    SB_HORZ = 0, SB_VERT = 1, SB_CTL = 2, SB_BOTH = 3,
    SB_LINEUP = 0, SB_LINELEFT = 0, SB_LINEDOWN = 1, SB_LINERIGHT = 1, SB_PAGEUP = 2,
    SB_PAGELEFT = 2, SB_PAGEDOWN = 3, SB_PAGERIGHT = 3, SB_THUMBPOSITION = 4, SB_THUMBTRACK = 5,
    SB_TOP = 6, SB_LEFT = 6, SB_BOTTOM = 7, SB_RIGHT = 7, SB_ENDSCROLL = 8,
};
enum : UINT {
    SIF_RANGE = 0x1, SIF_PAGE = 0x2, SIF_POS = 0x4, SIF_DISABLENOSCROLL = 0x8,
    SIF_TRACKPOS = 0x10, SIF_ALL = 0x17,
    ESB_ENABLE_BOTH = 0, ESB_DISABLE_BOTH = 3,
    ESB_DISABLE_LTUP = 1, ESB_DISABLE_RTDN = 2, ESB_DISABLE_LEFT = 1, ESB_DISABLE_RIGHT = 2,
    ESB_DISABLE_UP = 1, ESB_DISABLE_DOWN = 2,
    // Scroll bar control styles and messages.
    SBS_HORZ = 0x0, SBS_VERT = 0x1, SBS_TOPALIGN = 0x2, SBS_LEFTALIGN = 0x2,
    SBS_BOTTOMALIGN = 0x4, SBS_RIGHTALIGN = 0x4, SBS_SIZEBOX = 0x8, SBS_SIZEGRIP = 0x10,
    SBM_ENABLE_ARROWS = 0x00E4, SBM_SETRANGEREDRAW = 0x00E6,
};
struct SCROLLINFO {
    UINT cbSize = sizeof(SCROLLINFO);
    UINT fMask = 0;
    int nMin = 0;
    int nMax = 0;
    UINT nPage = 0;
    int nPos = 0;
    int nTrackPos = 0;
};

// System metrics and parameters.
enum : int {
    SM_CXSCREEN = 0, SM_CYSCREEN = 1, SM_CXVSCROLL = 2, SM_CYHSCROLL = 3, SM_CYCAPTION = 4,
    SM_CXBORDER = 5, SM_CYBORDER = 6, SM_CXDLGFRAME = 7, SM_CYDLGFRAME = 8, SM_CXFIXEDFRAME = 7,
    SM_CYFIXEDFRAME = 8, SM_CYVTHUMB = 9, SM_CXHTHUMB = 10, SM_CXICON = 11, SM_CYICON = 12,
    SM_CXCURSOR = 13, SM_CYCURSOR = 14, SM_CYMENU = 15, SM_CXFULLSCREEN = 16,
    SM_CYFULLSCREEN = 17, SM_MOUSEPRESENT = 19, SM_CYVSCROLL = 20, SM_CXHSCROLL = 21,
    SM_SWAPBUTTON = 23, SM_CXMIN = 28, SM_CYMIN = 29, SM_CXSIZE = 30, SM_CYSIZE = 31,
    SM_CXFRAME = 32, SM_CYFRAME = 33, SM_CXSIZEFRAME = 32, SM_CYSIZEFRAME = 33,
    SM_CXMINTRACK = 34, SM_CYMINTRACK = 35, SM_CXDOUBLECLK = 36, SM_CYDOUBLECLK = 37,
    SM_CXEDGE = 45, SM_CYEDGE = 46, SM_CXSMICON = 49, SM_CYSMICON = 50, SM_CYSMCAPTION = 51,
    SM_CXDRAG = 68, SM_CYDRAG = 69, SM_MOUSEWHEELPRESENT = 75, SM_XVIRTUALSCREEN = 76,
    SM_YVIRTUALSCREEN = 77, SM_CXVIRTUALSCREEN = 78, SM_CYVIRTUALSCREEN = 79, SM_CMONITORS = 80,
};

enum : UINT {
    SPI_GETWORKAREA = 0x0030, SPI_GETHIGHCONTRAST = 0x0042, SPI_GETWHEELSCROLLLINES = 0x0068,
    SPI_GETMENUANIMATION = 0x1002, SPI_SETMENUANIMATION = 0x1003, SPI_GETDRAGFULLWINDOWS = 0x0026,
    SPI_GETNONCLIENTMETRICS = 0x0029, SPI_GETKEYBOARDCUES = 0x100A,
    HCF_HIGHCONTRASTON = 0x1,
};

enum : int { WH_CALLWNDPROC = 4, WH_CALLWNDPROCRET = 12, WH_GETMESSAGE = 3, HC_ACTION = 0 };

// Standard cursor identifiers for LoadCursor(nullptr, IDC_...).
enum : uintptr_t {
    IDC_ARROW = 32512, IDC_IBEAM = 32513, IDC_WAIT = 32514, IDC_CROSS = 32515, IDC_UPARROW = 32516,
    IDC_SIZE = 32640, IDC_ICON = 32641, IDC_SIZENWSE = 32642, IDC_SIZENESW = 32643,
    IDC_SIZEWE = 32644, IDC_SIZENS = 32645, IDC_SIZEALL = 32646, IDC_NO = 32648, IDC_HAND = 32649,
    IDC_APPSTARTING = 32650, IDC_HELP = 32651,
};

// ---------------------------------------------------------------------------
// Records.
struct MSG {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    DWORD time = 0;
    TPoint pt;
};
using TMsg = MSG;

// The class library's message record. The accessors read the word halves
// the typed message records name.
struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;

    Word WParamLo() const { return LOWORD(WParam); }
    Word WParamHi() const { return HIWORD(WParam); }
    Word LParamLo() const { return LOWORD(uintptr_t(LParam)); }
    Word LParamHi() const { return HIWORD(uintptr_t(LParam)); }
    // Key messages: the virtual key and the key data.
    Word CharCode() const { return Word(WParam); }
    void SetCharCode(Word c) { WParam = c; }
    LONG KeyData() const { return LONG(LParam); }
    // Mouse messages: the position (client coordinates) and key flags.
    Integer XPos() const { return GET_X_LPARAM(LParam); }
    Integer YPos() const { return GET_Y_LPARAM(LParam); }
    TPoint Pos() const { return LParamToPoint(LParam); }
    Word Keys() const { return Word(WParam); }
    // Wheel messages.
    SHORT WheelDelta() const { return GET_WHEEL_DELTA_WPARAM(WParam); }
};

struct CREATESTRUCT {
    void* lpCreateParams = nullptr;
    HINSTANCE hInstance = nullptr;
    HMENU hMenu = nullptr;
    HWND hwndParent = nullptr;
    int cy = 0, cx = 0, y = 0, x = 0;
    LONG style = 0;
    const wchar_t* lpszName = nullptr;
    const wchar_t* lpszClass = nullptr;
    DWORD dwExStyle = 0;
};

struct WINDOWPOS {
    HWND hwnd = nullptr;
    HWND hwndInsertAfter = nullptr;
    int x = 0, y = 0, cx = 0, cy = 0;
    UINT flags = 0;
};

struct NCCALCSIZE_PARAMS {
    TRect rgrc[3];
    WINDOWPOS* lppos = nullptr;
};

struct MINMAXINFO {
    TPoint ptReserved, ptMaxSize, ptMaxPosition, ptMinTrackSize, ptMaxTrackSize;
};

struct STYLESTRUCT {
    DWORD styleOld = 0;
    DWORD styleNew = 0;
};

struct CWPSTRUCT {
    LPARAM lParam = 0;
    WPARAM wParam = 0;
    UINT message = 0;
    HWND hwnd = nullptr;
};

struct NMHDR {
    HWND hwndFrom = nullptr;
    UINT_PTR idFrom = 0;
    int code = 0;
};

// Owner-drawn items: what WM_MEASUREITEM asks and WM_DRAWITEM paints.
enum : UINT { ODT_MENU = 1, ODT_LISTBOX = 2, ODT_COMBOBOX = 3, ODT_BUTTON = 4, ODT_STATIC = 5 };
enum : UINT { ODA_DRAWENTIRE = 0x1, ODA_SELECT = 0x2, ODA_FOCUS = 0x4 };
enum : UINT {
    ODS_SELECTED = 0x1, ODS_GRAYED = 0x2, ODS_DISABLED = 0x4, ODS_CHECKED = 0x8, ODS_FOCUS = 0x10,
    ODS_DEFAULT = 0x20, ODS_HOTLIGHT = 0x40, ODS_INACTIVE = 0x80, ODS_NOACCEL = 0x100,
    ODS_NOFOCUSRECT = 0x200, ODS_COMBOBOXEDIT = 0x1000,
};
struct MEASUREITEMSTRUCT {
    UINT CtlType = 0;
    UINT CtlID = 0;
    UINT itemID = 0;
    UINT itemWidth = 0;
    UINT itemHeight = 0;
    ULONG_PTR itemData = 0;
};
struct DRAWITEMSTRUCT {
    UINT CtlType = 0;
    UINT CtlID = 0;
    UINT itemID = 0;
    UINT itemAction = 0;
    UINT itemState = 0;
    HWND hwndItem = nullptr;  // the control; for menus the menu handle
    HDC hDC = nullptr;
    TRect rcItem;
    ULONG_PTR itemData = 0;
};

struct TRACKMOUSEEVENT {
    DWORD cbSize = sizeof(TRACKMOUSEEVENT);
    DWORD dwFlags = 0;
    HWND hwndTrack = nullptr;
    DWORD dwHoverTime = HOVER_DEFAULT;
};

struct MONITORINFO {
    DWORD cbSize = sizeof(MONITORINFO);
    TRect rcMonitor;
    TRect rcWork;
    DWORD dwFlags = 0;
};

struct HIGHCONTRAST {
    UINT cbSize = sizeof(HIGHCONTRAST);
    DWORD dwFlags = 0;
    wchar_t* lpszDefaultScheme = nullptr;
};

// A window class. lpszClassName names it; the window procedure runs every
// message of its windows unless a window is subclassed.
struct WNDCLASS {
    UINT style = 0;
    WNDPROC lpfnWndProc = nullptr;
    int cbClsExtra = 0;
    int cbWndExtra = 0;
    HINSTANCE hInstance = nullptr;
    HICON hIcon = nullptr;
    HCURSOR hCursor = nullptr;
    HBRUSH hbrBackground = nullptr;  // a brush, (HBRUSH)(COLOR_x + 1), or none
    const wchar_t* lpszMenuName = nullptr;
    const wchar_t* lpszClassName = nullptr;
};
using WNDCLASSEX = WNDCLASS;

// ---------------------------------------------------------------------------
// Window classes and windows.
ATOM RegisterClass(const WNDCLASS& wc);
BOOL UnregisterClass(const wchar_t* className, HINSTANCE inst = nullptr);
BOOL GetClassInfo(HINSTANCE inst, const wchar_t* className, WNDCLASS* out);
String GetClassName(HWND hwnd);
int GetClassName(HWND hwnd, wchar_t* buf, int size);
DWORD GetClassLong(HWND hwnd, int index);
DWORD SetClassLong(HWND hwnd, int index, LONG value);

HWND CreateWindowEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName,
                    DWORD style, int x, int y, int w, int h, HWND parent, HMENU menu = nullptr,
                    HINSTANCE inst = nullptr, void* param = nullptr);
inline HWND CreateWindow(const wchar_t* className, const wchar_t* windowName, DWORD style, int x,
                         int y, int w, int h, HWND parent, HMENU menu = nullptr,
                         HINSTANCE inst = nullptr, void* param = nullptr)
{
    return CreateWindowEx(0, className, windowName, style, x, y, w, h, parent, menu, inst, param);
}
BOOL DestroyWindow(HWND hwnd);
BOOL IsWindow(HWND hwnd);
LONG_PTR GetWindowLongPtr(HWND hwnd, int index);
LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value);
inline LONG GetWindowLong(HWND hwnd, int index) { return LONG(GetWindowLongPtr(hwnd, index)); }
// 32-bit variant: wide enough for styles, ids and flags; pointers go
// through SetWindowLongPtr.
inline LONG SetWindowLong(HWND hwnd, int index, LONG value) { return LONG(SetWindowLongPtr(hwnd, index, value)); }
LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
int GetWindowText(HWND hwnd, wchar_t* buf, int size);
String GetWindowText(HWND hwnd);
int GetWindowTextLength(HWND hwnd);
BOOL SetWindowText(HWND hwnd, const wchar_t* text);
BOOL SetProp(HWND hwnd, const wchar_t* name, void* data);
void* GetProp(HWND hwnd, const wchar_t* name);
void* RemoveProp(HWND hwnd, const wchar_t* name);
HWND FindWindow(const wchar_t* className, const wchar_t* windowName);
DWORD GetWindowThreadProcessId(HWND hwnd, DWORD* processId);

// Messages.
LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
BOOL PostMessage(HWND hwnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
BOOL PostThreadMessage(DWORD threadId, UINT msg, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
BOOL GetMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax);
BOOL PeekMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags);
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessage(const MSG* msg);
BOOL WaitMessage();
BOOL InSendMessage();
UINT RegisterWindowMessage(const wchar_t* name);
HHOOK SetWindowsHookEx(int idHook, HOOKPROC proc, HINSTANCE inst, DWORD threadId);
LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam);
BOOL UnhookWindowsHookEx(HHOOK hook);
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc);
BOOL KillTimer(HWND hwnd, UINT_PTR id);
DWORD GetMessageTime();
DWORD GetMessagePos();

// Geometry and z-order.
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL MoveWindow(HWND hwnd, int x, int y, int w, int h, BOOL repaint);
BOOL ShowWindow(HWND hwnd, int cmd);
BOOL GetWindowRect(HWND hwnd, TRect* rect);
BOOL GetClientRect(HWND hwnd, TRect* rect);
BOOL ClientToScreen(HWND hwnd, TPoint* p);
BOOL ScreenToClient(HWND hwnd, TPoint* p);
int MapWindowPoints(HWND from, HWND to, TPoint* points, UINT count);
HWND WindowFromPoint(TPoint p);
HWND ChildWindowFromPoint(HWND parent, TPoint p);
HWND GetParent(HWND hwnd);
HWND GetAncestor(HWND hwnd, UINT flags);
HWND SetParent(HWND child, HWND newParent);
HWND GetWindow(HWND hwnd, UINT cmd);
HWND GetTopWindow(HWND hwnd);
HWND GetDesktopWindow();
BOOL IsChild(HWND parent, HWND hwnd);
BOOL IsWindowVisible(HWND hwnd);
BOOL IsWindowEnabled(HWND hwnd);
BOOL EnableWindow(HWND hwnd, BOOL enable);
BOOL IsIconic(HWND hwnd);
BOOL IsZoomed(HWND hwnd);
BOOL BringWindowToTop(HWND hwnd);
BOOL EnumChildWindows(HWND parent, const std::function<bool(HWND)>& fn);
BOOL EnumThreadWindows(DWORD threadId, const std::function<bool(HWND)>& fn);
BOOL AdjustWindowRectEx(TRect* rect, DWORD style, BOOL menu, DWORD exStyle);
// Window shape: a list of rectangles in window coordinates; empty clears.
BOOL SetWindowRectRgn(HWND hwnd, const TRect* rects, int count, BOOL redraw);
BOOL GetWindowRgnBox(HWND hwnd, TRect* box);

// Invalidation and painting.
BOOL InvalidateRect(HWND hwnd, const TRect* rect, BOOL erase);
BOOL ValidateRect(HWND hwnd, const TRect* rect);
BOOL GetUpdateRect(HWND hwnd, TRect* rect, BOOL erase);
BOOL UpdateWindow(HWND hwnd);
BOOL RedrawWindowRect(HWND hwnd, const TRect* rect, UINT flags);
BOOL RedrawWindow(HWND hwnd, const TRect* rect, HRGN rgn, UINT flags);
BOOL InvalidateRgn(HWND hwnd, HRGN rgn, BOOL erase);
BOOL ValidateRgn(HWND hwnd, HRGN rgn);
// Moves the pixels of the client area's part scroll (all of it when null),
// limited to clip, by dx, dy, and (SW_INVALIDATE) invalidates only what the
// move uncovered. Pixels covered by a child or a window above are not the
// window's: then nothing moves and the whole part is invalidated. The
// uncovered part goes to updateRgn and updateRect when given.
enum : UINT { SW_SCROLLCHILDREN = 0x0001, SW_INVALIDATE = 0x0002, SW_ERASE = 0x0004 };
int ScrollWindowEx(HWND hwnd, int dx, int dy, const TRect* scroll, const TRect* clip, HRGN updateRgn,
                   TRect* updateRect, UINT flags);

struct PAINTSTRUCT {
    HDC hdc = nullptr;
    BOOL fErase = FALSE;
    TRect rcPaint;
    BOOL fRestore = FALSE;
    BOOL fIncUpdate = FALSE;
};
// Child windows paint into their top-level window's pixels; every DC here
// is clipped to the window's visible part of that surface.
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps);
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps);
HDC GetDC(HWND hwnd);
HDC GetWindowDC(HWND hwnd);
HDC GetDCEx(HWND hwnd, HRGN clip, DWORD flags);
int ReleaseDC(HWND hwnd, HDC dc);
// The window takes the region over (the caller no longer deletes it).
int SetWindowRgn(HWND hwnd, HRGN rgn, BOOL redraw);
int GetWindowRgn(HWND hwnd, HRGN rgn);
BOOL UpdateLayeredWindow(HWND hwnd, HDC dst, const TPoint* dstPos, const TSize* size, HDC src,
                         const TPoint* srcPos, COLORREF key, const BLENDFUNCTION* blend,
                         DWORD flags);

// Layered windows: constant alpha / colour key, or a per-pixel premultiplied
// ARGB image (width*height 32-bit pixels, row by row) at a screen position.
BOOL SetLayeredWindowAttributes(HWND hwnd, DWORD key, Byte alpha, DWORD flags);
BOOL GetLayeredWindowAttributes(HWND hwnd, DWORD* key, Byte* alpha, DWORD* flags);
BOOL UpdateLayeredWindowPixels(HWND hwnd, const TPoint* screenPos, const uint32_t* argb,
                               int width, int height, Byte constAlpha, DWORD flags);

// Scroll bars of a window (WS_HSCROLL/WS_VSCROLL), drawn in its frame.
int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* si, BOOL redraw);
BOOL GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* si);
int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw);
int GetScrollPos(HWND hwnd, int bar);
BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw);
BOOL GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos);
BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show);
BOOL EnableScrollBar(HWND hwnd, UINT bar, UINT arrows);

// Focus, activation, capture.
HWND SetFocus(HWND hwnd);
HWND GetFocus();
HWND SetActiveWindow(HWND hwnd);
HWND GetActiveWindow();
BOOL SetForegroundWindow(HWND hwnd);
HWND GetForegroundWindow();
HWND SetCapture(HWND hwnd);
BOOL ReleaseCapture();
HWND GetCapture();

// Keyboard and mouse state.
SHORT GetKeyState(int vk);
SHORT GetAsyncKeyState(int vk);
BOOL GetKeyboardState(Byte* state256);
UINT MapVirtualKey(UINT code, UINT mapType);
int GetKeyNameText(LONG lParam, wchar_t* buf, int size);
String GetKeyNameText(LONG lParam);
BOOL TrackMouseEvent(TRACKMOUSEEVENT* tme);
UINT GetDoubleClickTime();
BOOL SetDoubleClickTime(UINT ms);

// Cursors. LoadCursor(nullptr, IDC_x) gives the system cursors; ids the
// program registers (resources) give their own handles.
HCURSOR LoadCursor(HINSTANCE inst, uintptr_t id);
HCURSOR LoadCursor(HINSTANCE inst, const wchar_t* name);
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
BOOL GetCursorPos(TPoint* p);
BOOL SetCursorPos(int x, int y);
uintptr_t CursorId(HCURSOR cursor);  // the IDC_ id or registered id behind a handle
BOOL DestroyCursor(HCURSOR cursor);

// System.
int GetSystemMetrics(int index);
BOOL SystemParametersInfo(UINT action, UINT uiParam, void* pvParam, UINT winIni);
HMONITOR MonitorFromPoint(TPoint p, DWORD flags);
HMONITOR MonitorFromWindow(HWND hwnd, DWORD flags);
HMONITOR MonitorFromRect(const TRect* r, DWORD flags);
BOOL GetMonitorInfo(HMONITOR monitor, MONITORINFO* info);
BOOL MessageBeep(UINT type);
int MessageBeepCount();  // beeps so far (tests listen to the bell this way)
// Milliseconds since start, 32-bit and wrapping; the headless backend's
// settable counter when one is installed.
DWORD UiTickCount();
