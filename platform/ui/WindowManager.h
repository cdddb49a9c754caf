// The window manager's own state: windows, classes, queues, timers, hooks,
// focus, activation and capture. The calls of Windows.h are built on it; the
// backends and the test driver reach it through the functions at the end.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/ui/Windows.h"

struct TWndClassRec {
    WNDCLASS wc;
    String name;
};

struct TWnd {
    uintptr_t id = 0;
    std::shared_ptr<TWndClassRec> cls;
    WNDPROC proc = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    HWND parent = nullptr;  // child windows
    HWND owner = nullptr;   // top-level windows
    LONG_PTR ctrlId = 0;
    LONG_PTR userData = 0;
    void* control = nullptr;  // the control object behind a control's window
    String text;
    TRect rect;    // window rectangle: parent client coordinates (screen for top-level)
    TRect client;  // client rectangle in window coordinates
    std::vector<HWND> children;  // z-order, topmost first
    DWORD threadId = 0;
    bool created = false;
    bool destroying = false;
    bool minimized = false;
    bool maximized = false;
    TRect normalRect;         // where a maximised window goes back to on restore
    bool hasNormalRect = false;
    // Painting.
    TRect update;          // invalid part, client coordinates; empty when valid
    bool erase = false;    // WM_ERASEBKGND due
    bool ncPaint = false;  // WM_NCPAINT due
    bool redraw = true;    // WM_SETREDRAW
    bool internalPaint = false;
    // Shape and translucency.
    std::vector<TRect> region;  // window coordinates; empty = whole rectangle
    bool layeredAttr = false;
    DWORD layeredKey = 0;
    Byte layeredAlpha = 255;
    DWORD layeredFlags = 0;
    std::vector<uint32_t> layeredPixels;  // premultiplied ARGB from UpdateLayeredWindow
    int layeredW = 0, layeredH = 0;
    std::map<String, void*> props;
    SCROLLINFO scroll[3];         // SB_HORZ, SB_VERT, and SB_CTL of a scroll bar control
    UINT scrollDisabled[3] = {};  // ESB_DISABLE_* arrows of each
    void* surface = nullptr;  // the top-level's pixels (cairo image surface), painting
    // The menu bar (SetMenu) and its items laid out in window coordinates;
    // the layout is redone when it is marked stale or the width changes.
    HMENU menu = nullptr;
    bool menuLayoutValid = false;
    int menuLayoutWidth = 0;
    int menuBarHeight = 0;  // as the last WM_NCCALCSIZE reserved it
    std::vector<TRect> menuItems;
    // Where the children lie, for clipping a paint against the siblings that
    // overlap it; rebuilt when the window geometry changed (WmGeometryChanged).
    std::shared_ptr<void> childIndex;
};

struct TSentMessage {
    HWND hwnd = nullptr;
    UINT msg = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    LRESULT result = 0;
    bool done = false;
    DWORD senderThread = 0;
};

struct TThreadQueue {
    DWORD threadId = 0;
    std::deque<MSG> posted;
    std::deque<std::shared_ptr<TSentMessage>> sent;  // from other threads, waiting here
    bool quit = false;
    int quitCode = 0;
    std::condition_variable_any cv;
    int inSend = 0;       // depth of cross-thread sends being handled
    MSG last;             // for GetMessageTime/GetMessagePos
};

struct TTimerRec {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    UINT elapse = 0;
    TIMERPROC proc = nullptr;
    DWORD due = 0;
    DWORD threadId = 0;
};

struct THookRec {
    uintptr_t id = 0;
    int kind = 0;
    HOOKPROC proc = nullptr;
    DWORD threadId = 0;
};

struct TSizeMove {
    HWND hwnd = nullptr;
    int hit = 0;          // HTCAPTION or HTLEFT..HTBOTTOMRIGHT
    TPoint start;         // cursor at the start, screen
    TRect startRect;      // window rectangle at the start, screen
    TPoint minTrack;
    TPoint maxTrack;
};

// A press on a scroll bar being followed until the button comes up: the
// window, which bar (SB_HORZ/SB_VERT of the window, SB_CTL for a scroll bar
// control), the part pressed and, while the thumb is dragged, where it is.
struct TScrollTrack {
    HWND hwnd = nullptr;
    int bar = 0;
    int part = 0;          // TScrollPart
    bool over = false;     // the cursor is over the pressed part
    int thumbOffset = 0;   // cursor minus thumb start along the bar, at the press
    int trackPos = 0;      // the position the dragged thumb shows
};

// A press on a caption button (HTMINBUTTON, HTMAXBUTTON, HTCLOSE) being
// followed until the button comes up: it shows pushed while the cursor is
// over the pressed button.
struct TCaptionPress {
    HWND hwnd = nullptr;
    int hit = 0;
    bool pushed = false;
};

class TBackend;

struct TWindowManager {
    std::recursive_mutex lock;
    std::unordered_map<uintptr_t, std::unique_ptr<TWnd>> windows;  // by id; looked up very often
    uintptr_t nextId = 0x10000;
    // Counts window destructions. Ids are never reused, so a lookup cached
    // by a thread stays right until a window goes.
    std::atomic<uint64_t> destroyGen{0};
    // Counts changes of any window's rectangles, visibility, styles, parent
    // or z-order: what was worked out from them before a change is stale.
    std::atomic<uint64_t> geometryGen{0};
    // Counts the times a window came to need painting (an update area, a
    // frame or internal paint due, redrawing turned back on).
    std::atomic<uint64_t> paintGen{0};
    std::vector<HWND> topLevels;  // z-order of top-level windows, topmost first
    std::map<String, std::shared_ptr<TWndClassRec>> classes;  // by upper-case name
    std::map<DWORD, std::shared_ptr<TThreadQueue>> queues;
    std::map<String, UINT> registered;
    UINT nextRegistered = 0xC000;
    std::vector<TTimerRec> timers;
    UINT_PTR nextThreadTimer = 0x7000;
    std::vector<THookRec> hooks;  // most recent first
    uintptr_t nextHook = 1;

    HWND focus = nullptr;
    HWND active = nullptr;
    HWND capture = nullptr;
    bool appActive = false;
    TSizeMove sizeMove;
    TScrollTrack scrollTrack;
    TCaptionPress captionPress;
    HWND trackLeave = nullptr;  // TrackMouseEvent(TME_LEAVE)
    HWND trackNcLeave = nullptr;  // TrackMouseEvent(TME_LEAVE | TME_NONCLIENT)
    bool altAlone = false;      // Alt is down and no other key or button came since
    HWND lastMouseWindow = nullptr;
    Byte keys[256] = {};        // bit 7: down; bit 0: toggled
    TPoint cursorPos;
    HCURSOR cursor = nullptr;
    UINT doubleClickTime = 500;
    // Double-click detection.
    HWND lastClickWnd = nullptr;
    UINT lastClickMsg = 0;
    DWORD lastClickTime = 0;
    TPoint lastClickPos;
    bool lastWasDouble = false;
    bool lastClickClient = true;  // the last press was in the client area
    BOOL menuAnimation = TRUE;
    bool charsFromKeys = true;  // TranslateMessage types every key's character
    UINT wheelLines = 3;
    int beeps = 0;
};

TWindowManager& WM();
// The record of a live window, or nullptr. Use from the window's thread.
TWnd* WndOf(HWND hwnd);
// Marks every window's geometry as changed (see TWindowManager::geometryGen).
void WmGeometryChanged();
// Marks that some window may have come to need painting.
inline void WmPaintDue() { WM().paintGen.fetch_add(1, std::memory_order_relaxed); }
inline HWND HandleOf(const TWnd* w) { return reinterpret_cast<HWND>(w->id); }
TThreadQueue& QueueOf(DWORD threadId);
HWND RootOf(HWND hwnd);  // the top-level window that holds hwnd

// Coordinates.
TRect WindowRectScreen(HWND hwnd);   // window rectangle, screen
TPoint ClientOriginScreen(HWND hwnd);
bool IsVisibleDeep(HWND hwnd);       // it and all its parents are visible

// Frame sizes the default non-client handling uses for a style.
TRect FrameInsets(DWORD style, DWORD exStyle);  // left/top/right/bottom widths
// The same for a window: its menu bar, when it has one, lies between the
// caption and the client edge.
TRect WmFrameInsets(HWND hwnd);

// A window's menu bar (Menus_Bar.cpp). The default window procedure hands
// it the messages of the bar: true when it took the message. The height is
// what the bar needs at a window width.
bool WmMenuBarMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
int WmMenuBarHeightFor(HWND hwnd, int windowWidth);
void WmMenuBarWindowDestroyed(HWND hwnd);
BOOL IsMenu(HMENU menu);  // Menus.h
// Set on the WM_SYSKEYUP of an Alt pressed and released with nothing
// between: the window enters its menu bar.
constexpr LPARAM kAltTapKeyData = LPARAM(1) << 25;

// Input, as a backend delivers it. Points are screen coordinates.
void WmMouseInput(UINT msg, TPoint screenPt, int wheelDelta = 0);
void WmKeyInput(Word vk, bool down);
// A character the desktop typed; it carries the scan code of the key held
// down for it (bit 22 tells the keypad's decimal key), else key data 1.
void WmCharInput(wchar_t ch);
void WmDeactivateApp();
// Runs pending sent, posted, paint and timer messages of this thread until
// none is left (the timers that are due now only).
void WmPumpPending();
// Wakes every thread that waits in GetMessage/WaitMessage (the clock moved).
void WmWakeAll();
// Reset of all state between tests: destroys every window, drops queues,
// classes, timers and hooks. The headless driver calls it.
void WmResetForTests();

// Internal steps shared by the families of the window manager.
void WmActivateNext(HWND leaving);          // activation moves away from leaving
void WmActivate(HWND top, WPARAM how);      // top-level activation, WA_ACTIVE/WA_CLICKACTIVE
void WmBeginSizeMove(HWND hwnd, int hit);  // HTCAPTION or HTLEFT..HTBOTTOMRIGHT
void WmEndSizeMove(bool cancel);
void WmInvalidateFrame(HWND hwnd);
// The caption buttons a window shows, in window coordinates; a button the
// window's style does not ask for is an empty rectangle.
struct TCaptionButtons {
    TRect Close, Max, Min;
};
TCaptionButtons WmCaptionButtons(HWND hwnd);
// Starts following a press on a caption button (the default handling of
// WM_NCLBUTTONDOWN); the release over it posts the WM_SYSCOMMAND.
void WmCaptionPressBegin(HWND hwnd, int hit);
void WmDefaultPaint(HWND hwnd);
LRESULT WmDefaultErase(HWND hwnd, WPARAM hdc);
void WmDefaultNcPaint(HWND hwnd);
void WmReleaseSurface(TWnd* w);
// The control object a control's window belongs to (the class library's
// window procedure finds its control through it).
void* WmGetControl(HWND hwnd);
void WmSetControl(HWND hwnd, void* control);

// Where typed characters come from. On (the headless backend) TranslateMessage
// makes each key's character as the US layout types it; off (the desktop
// backend) printable characters come only from the desktop's text input,
// which knows the user's layout, and TranslateMessage makes only the
// control characters (Enter, Tab, Backspace, Escape, Ctrl+key) and Alt+key
// system characters that text input never carries.
void WmSetCharsFromKeys(bool on);
bool WmCharsFromKeys();

// The virtual key and shift state that type a character (US layout).
bool WmKeyForChar(wchar_t ch, Word& vk, bool& shift);
// A filter the test pump runs on each message before translating and
// dispatching it (the application's key and hint handling); true eats it.
void WmSetPreDispatchHook(std::function<bool(MSG&)> hook);
bool WmPreDispatch(MSG& msg);
// A routine the message loop runs each time it looks for messages (the base
// layer's CheckSynchronize).
void WmSetIdleHook(void (*hook)());

// Scroll bars. A bar is laid out as arrow, page area, thumb, page area,
// arrow along its length; the same layout serves the bars of a window's
// frame and the scroll bar control.
enum TScrollPart { spNone, spLineUp, spPageUp, spThumb, spPageDown, spLineDown, spSizeBox };
struct TScrollBarLayout {
    TRect Bar, LineUp, PageUp, Thumb, PageDown, LineDown;
    bool Vertical = true;
    bool HasThumb = false;
    int TrackStart = 0, TrackLength = 0, ThumbLength = 0;
};
// thumbPos: where a dragged thumb shows instead of si.nPos, or null.
TScrollBarLayout WmScrollBarLayout(const TRect& bar, bool vertical, const SCROLLINFO& si, bool enabled,
                                   const int* thumbPos = nullptr);
int WmScrollPartAt(const TScrollBarLayout& l, TPoint p);
// The position a thumb whose leading edge is at `thumbStart` stands for.
int WmScrollPosFromThumb(const TScrollBarLayout& l, const SCROLLINFO& si, int thumbStart);
// Draws a bar (themed "scrollbar" parts when visual styles are on, classic
// otherwise); pressedPart is drawn pushed.
void WmDrawScrollBar(HDC dc, HWND themeWnd, const TScrollBarLayout& l, UINT disabledArrows,
                     bool enabled, int pressedPart);
void WmDrawSizeBox(HDC dc, HWND themeWnd, const TRect& r);
// Where a window's frame bar lies (window coordinates); false when hidden.
bool WmWindowScrollBarRect(HWND hwnd, int bar, TRect& r);
// The hit code of a point (screen) on a window's frame bars: HTVSCROLL,
// HTHSCROLL, HTSIZE for the box between them, or HTNOWHERE.
LRESULT WmScrollBarHitTest(HWND hwnd, TPoint screen);
void WmPaintWindowScrollBars(HWND hwnd, HDC windowDC);
// Scroll info without the show/hide side effects of SetScrollInfo.
int WmSetScrollInfo(HWND hwnd, int bar, const SCROLLINFO& si, bool redraw);
bool WmGetScrollInfo(HWND hwnd, int bar, SCROLLINFO& si);
// Starts following a press on a bar at a screen point: notifications go out
// as the button is held, moved and released.
void WmScrollTrackBegin(HWND hwnd, int bar, TPoint screen);
// Mouse input while a press is followed; true when it was taken.
bool WmScrollTrackMouse(UINT msg, TPoint screen);
void WmScrollTrackCancel(HWND hwnd);  // hwnd and its children, or all when null

// Sends a message to every window, parents before their children (posts it
// to the windows of other threads).
void WmBroadcast(UINT msg, WPARAM wParam, LPARAM lParam);

// Painting support for the backends: paints every invalid window of this
// thread now.
void WmUpdateAllWindows();
// The pixels of a window (client and frame), ARGB premultiplied, row by row.
bool WmCaptureWindow(HWND hwnd, std::vector<uint32_t>& px, int& width, int& height);
// The screen as the compositor shows it over a desktop colour (ARGB).
void WmComposeScreen(std::vector<uint32_t>& px, int width, int height, uint32_t desktop);
void WmInvalidate(HWND h, const TRect* rect, bool erase, bool allChildren);
void WmInvalidateAll(HWND h);
