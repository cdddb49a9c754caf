// The tooltip control ("tooltips_class32"): tools are windows or rectangles
// of windows; when the mouse rests over one for the initial delay, a topmost
// popup shows its text without taking the activation, and goes after the
// auto-pop delay, a click, or when the mouse leaves the tool. Mouse input
// reaches the tooltip by TTM_RELAYEVENT, or by itself for TTF_SUBCLASS tools.
#pragma once

#include "platform/ui/Windows.h"

inline constexpr const wchar_t* TOOLTIPS_CLASS = L"tooltips_class32";

// Registers the class unless it is there. InitForms does; a reset of the
// window system removes every class.
void RegisterTooltipClass();
LRESULT TooltipWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);

enum : UINT {
    TTF_IDISHWND = 0x1, TTF_CENTERTIP = 0x2, TTF_RTLREADING = 0x4, TTF_SUBCLASS = 0x10,
    TTF_TRACK = 0x20, TTF_ABSOLUTE = 0x80, TTF_TRANSPARENT = 0x100, TTF_PARSELINKS = 0x1000,
    TTS_NOANIMATE = 0x10u, TTS_NOFADE = 0x20u, TTS_CLOSE = 0x80u,

    TTM_GETDELAYTIME = WM_USER + 21, TTM_GETTIPBKCOLOR = WM_USER + 22,
    TTM_GETTIPTEXTCOLOR = WM_USER + 23, TTM_GETMAXTIPWIDTH = WM_USER + 25,
    TTM_POPUP = WM_USER + 34, TTM_GETTEXTW = WM_USER + 56,
    TTM_ADDTOOL = TTM_ADDTOOLW, TTM_DELTOOL = TTM_DELTOOLW, TTM_NEWTOOLRECT = TTM_NEWTOOLRECTW,
    TTM_UPDATETIPTEXT = TTM_UPDATETIPTEXTW, TTM_SETTITLE = TTM_SETTITLEW, TTM_GETTEXT = TTM_GETTEXTW,
};
enum : int { TTN_GETDISPINFO = TTN_GETDISPINFOW, TTN_NEEDTEXT = TTN_GETDISPINFOW, TTN_NEEDTEXTW = TTN_GETDISPINFOW };

// lpszText of a tool whose text its window gives on TTN_GETDISPINFO.
inline wchar_t* const LPSTR_TEXTCALLBACKW = reinterpret_cast<wchar_t*>(intptr_t(-1));
inline wchar_t* const LPSTR_TEXTCALLBACK = LPSTR_TEXTCALLBACKW;

struct TOOLINFOW {
    UINT cbSize = sizeof(TOOLINFOW);
    UINT uFlags = 0;
    HWND hwnd = nullptr;    // the window the tool belongs to; notifications go there
    UINT_PTR uId = 0;       // with TTF_IDISHWND: the tool's window
    TRect rect;             // client coordinates of hwnd (not for TTF_IDISHWND)
    HINSTANCE hinst = nullptr;
    wchar_t* lpszText = nullptr;
    LPARAM lParam = 0;
    void* lpReserved = nullptr;
};
using TOOLINFO = TOOLINFOW;
using TTOOLINFOW = TOOLINFOW;
using TToolInfo = TOOLINFOW;

struct NMTTDISPINFOW {
    NMHDR hdr;
    wchar_t* lpszText = nullptr;
    wchar_t szText[80] = {};
    HINSTANCE hinst = nullptr;
    UINT uFlags = 0;
    LPARAM lParam = 0;
};
using NMTTDISPINFO = NMTTDISPINFOW;
using TOOLTIPTEXTW = NMTTDISPINFOW;
using TToolTipTextW = NMTTDISPINFOW;

// A balloon with a title (and its icon, TTI_*) and a text whose stem points
// at a screen point, shown until it is hidden: a tracking tool of its own
// balloon tooltip window, owned by the window it speaks for. The edit's
// EM_SHOWBALLOONTIP shows its balloon this way.
HWND ShowBalloonTip(HWND owner, TPoint stem, const String& title, const String& text, int icon);
// Puts the balloon away (destroys its window).
void HideBalloonTip(HWND tip);
