// The window manager's own state: windows, classes, queues, timers, hooks,
// focus, activation and capture. The calls of Windows.h are built on it; the
// backends and the test driver reach it through the functions at the end.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
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
    SCROLLINFO scroll[2];  // SB_HORZ, SB_VERT
    void* surface = nullptr;  // the top-level's pixels (cairo image surface), painting
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

class TBackend;

struct TWindowManager {
    std::recursive_mutex lock;
    std::map<uintptr_t, std::unique_ptr<TWnd>> windows;
    uintptr_t nextId = 0x10000;
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
    HWND trackLeave = nullptr;  // TrackMouseEvent(TME_LEAVE)
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
    BOOL menuAnimation = TRUE;
    UINT wheelLines = 3;
    int beeps = 0;
};

TWindowManager& WM();
// The record of a live window, or nullptr. Use from the window's thread.
TWnd* WndOf(HWND hwnd);
inline HWND HandleOf(const TWnd* w) { return reinterpret_cast<HWND>(w->id); }
TThreadQueue& QueueOf(DWORD threadId);
HWND RootOf(HWND hwnd);  // the top-level window that holds hwnd

// Coordinates.
TRect WindowRectScreen(HWND hwnd);   // window rectangle, screen
TPoint ClientOriginScreen(HWND hwnd);
bool IsVisibleDeep(HWND hwnd);       // it and all its parents are visible

// Frame sizes the default non-client handling uses for a style.
TRect FrameInsets(DWORD style, DWORD exStyle);  // left/top/right/bottom widths

// Input, as a backend delivers it. Points are screen coordinates.
void WmMouseInput(UINT msg, TPoint screenPt, int wheelDelta = 0);
void WmKeyInput(Word vk, bool down);
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
void WmDefaultPaint(HWND hwnd);
LRESULT WmDefaultErase(HWND hwnd, WPARAM hdc);
void WmDefaultNcPaint(HWND hwnd);
void WmReleaseSurface(TWnd* w);
// The control object a control's window belongs to (the class library's
// window procedure finds its control through it).
void* WmGetControl(HWND hwnd);
void WmSetControl(HWND hwnd, void* control);

// The virtual key and shift state that type a character (US layout).
bool WmKeyForChar(wchar_t ch, Word& vk, bool& shift);
// A filter the test pump runs on each message before translating and
// dispatching it (the application's key and hint handling); true eats it.
void WmSetPreDispatchHook(std::function<bool(MSG&)> hook);
bool WmPreDispatch(MSG& msg);
// A routine the message loop runs each time it looks for messages (the base
// layer's CheckSynchronize).
void WmSetIdleHook(void (*hook)());

// Painting support for the backends: paints every invalid window of this
// thread now.
void WmUpdateAllWindows();
// The pixels of a window (client and frame), ARGB premultiplied, row by row.
bool WmCaptureWindow(HWND hwnd, std::vector<uint32_t>& px, int& width, int& height);
// The screen as the compositor shows it over a desktop colour (ARGB).
void WmComposeScreen(std::vector<uint32_t>& px, int width, int height, uint32_t desktop);
void WmInvalidate(HWND h, const TRect* rect, bool erase, bool allChildren);
void WmInvalidateAll(HWND h);
