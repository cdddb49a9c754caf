// The desktop backend on SDL2.
#include "platform/ui/backend/Sdl.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cwctype>

#include "platform/ui/WindowManager.h"

std::function<void(HWND, std::vector<String>, TPoint)> OnBackendFilesDropped;

namespace {

TSdlBackend* gSdl = nullptr;  // the installed desktop backend, if any

bool IsHintClass(const TWnd* w)
{
    if (!w->cls) return false;
    String n = w->cls->name;
    for (auto& c : n) c = wchar_t(std::towupper(c));
    return n.find(L"HINT") != String::npos || n.find(L"TOOLTIP") != String::npos;
}

}  // namespace

// ---------------------------------------------------------------------------
// Key codes and cursors

Word SdlVirtualKey(SDL_Keycode sym, SDL_Scancode scan)
{
    // The numeric keypad's digits while it types digits; with the number
    // lock off they are the cursor keys their symbols name.
    if (scan >= SDL_SCANCODE_KP_1 && scan <= SDL_SCANCODE_KP_0) {
        int digit = scan == SDL_SCANCODE_KP_0 ? 0 : 1 + (scan - SDL_SCANCODE_KP_1);
        if (sym == SDL_SCANCODE_TO_KEYCODE(scan) || sym == SDL_Keycode('0' + digit)) return Word(VK_NUMPAD0 + digit);
    }
    if (scan == SDL_SCANCODE_KP_PERIOD && (sym == SDLK_KP_PERIOD || sym == '.' || sym == ','))
        return VK_DECIMAL;
    switch (scan) {
    case SDL_SCANCODE_KP_MULTIPLY: return VK_MULTIPLY;
    case SDL_SCANCODE_KP_PLUS: return VK_ADD;
    case SDL_SCANCODE_KP_MINUS: return VK_SUBTRACT;
    case SDL_SCANCODE_KP_DIVIDE: return VK_DIVIDE;
    case SDL_SCANCODE_KP_ENTER: return VK_RETURN;
    default: break;
    }
    switch (sym) {
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_TAB: return VK_TAB;
    case SDLK_RETURN: return VK_RETURN;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_INSERT: return VK_INSERT;
    case SDLK_HOME: return VK_HOME;
    case SDLK_END: return VK_END;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_UP: return VK_UP;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_LSHIFT: case SDLK_RSHIFT: return VK_SHIFT;
    case SDLK_LCTRL: case SDLK_RCTRL: return VK_CONTROL;
    case SDLK_LALT: case SDLK_RALT: return VK_MENU;
    case SDLK_LGUI: return VK_LWIN;
    case SDLK_RGUI: return VK_RWIN;
    case SDLK_APPLICATION: case SDLK_MENU: return VK_APPS;
    case SDLK_CAPSLOCK: return VK_CAPITAL;
    case SDLK_NUMLOCKCLEAR: return VK_NUMLOCK;
    case SDLK_SCROLLLOCK: return VK_SCROLL;
    case SDLK_PAUSE: return VK_PAUSE;
    case SDLK_PRINTSCREEN: return VK_SNAPSHOT;
    case SDLK_HELP: return VK_HELP;
    default: break;
    }
    if (sym >= SDLK_F1 && sym <= SDLK_F12) return Word(VK_F1 + (sym - SDLK_F1));
    if (sym >= SDLK_F13 && sym <= SDLK_F24) return Word(VK_F1 + 12 + (sym - SDLK_F13));
    if (sym >= 'a' && sym <= 'z') return Word('A' + (sym - 'a'));
    if (sym >= '0' && sym <= '9') return Word(sym);
    // Punctuation: the key that gives the character on the US layout.
    if (sym > 0x20 && sym < 0x7F) {
        Word vk;
        bool shift;
        if (WmKeyForChar(wchar_t(sym), vk, shift)) return vk;
    }
    return 0;
}

SDL_SystemCursor SdlSystemCursor(uintptr_t id)
{
    switch (id) {
    case IDC_IBEAM: return SDL_SYSTEM_CURSOR_IBEAM;
    case IDC_WAIT: return SDL_SYSTEM_CURSOR_WAIT;
    case IDC_APPSTARTING: return SDL_SYSTEM_CURSOR_WAITARROW;
    case IDC_CROSS: return SDL_SYSTEM_CURSOR_CROSSHAIR;
    case IDC_SIZENWSE: return SDL_SYSTEM_CURSOR_SIZENWSE;
    case IDC_SIZENESW: return SDL_SYSTEM_CURSOR_SIZENESW;
    case IDC_SIZEWE: return SDL_SYSTEM_CURSOR_SIZEWE;
    case IDC_SIZENS: return SDL_SYSTEM_CURSOR_SIZENS;
    case IDC_SIZE: case IDC_SIZEALL: return SDL_SYSTEM_CURSOR_SIZEALL;
    case IDC_NO: return SDL_SYSTEM_CURSOR_NO;
    case IDC_HAND: return SDL_SYSTEM_CURSOR_HAND;
    default: return SDL_SYSTEM_CURSOR_ARROW;
    }
}

// ---------------------------------------------------------------------------
// Clipboard

bool BackendGetClipboardText(String& text)
{
    if (!gSdl || !SDL_HasClipboardText()) return false;
    char* s = SDL_GetClipboardText();
    if (!s) return false;
    text = UTF8ToString(s);
    SDL_free(s);
    return true;
}

void BackendSetClipboardText(const String& text)
{
    if (!gSdl) return;
    SDL_SetClipboardText(UTF8Encode(text).c_str());
}

// ---------------------------------------------------------------------------
// Life

TSdlBackend::TSdlBackend() : FThread(std::this_thread::get_id())
{
    FWakeEvent = SDL_RegisterEvents(1);
    ReadMonitors();
    gSdl = this;
    WmSetCharsFromKeys(false);
}

TSdlBackend::~TSdlBackend()
{
    if (gSdl == this) gSdl = nullptr;
    WmSetCharsFromKeys(true);
    for (auto& [h, d] : FDesks)
        if (d.Window) SDL_DestroyWindow(d.Window);
    FDesks.clear();
    FById.clear();
    for (auto& [k, c] : FCursors) SDL_FreeCursor(c);
    FCursors.clear();
}

void TSdlBackend::ReadMonitors()
{
    std::vector<TMonitorSpec> mons;
    int n = SDL_GetNumVideoDisplays();
    for (int i = 0; i < n; ++i) {
        SDL_Rect b, u;
        if (SDL_GetDisplayBounds(i, &b) != 0) continue;
        if (SDL_GetDisplayUsableBounds(i, &u) != 0) u = b;
        mons.push_back({Bounds(b.x, b.y, b.w, b.h), Bounds(u.x, u.y, u.w, u.h)});
    }
    if (mons.empty()) mons.push_back({Rect(0, 0, 1024, 768), Rect(0, 0, 1024, 768)});
    std::lock_guard<std::mutex> g(FMonitorLock);
    FMonitors = mons;
}

std::vector<TMonitorSpec> TSdlBackend::Monitors()
{
    std::lock_guard<std::mutex> g(FMonitorLock);
    return FMonitors;
}

DWORD TSdlBackend::TickCount() { return DWORD(SDL_GetTicks()); }

void TSdlBackend::Wake()
{
    // One wake-up event in the queue is enough.
    if (FWakeEvent == Uint32(-1) || FWakePending.exchange(true)) return;
    SDL_Event e{};
    e.type = FWakeEvent;
    if (SDL_PushEvent(&e) != 1) FWakePending = false;
}

// ---------------------------------------------------------------------------
// Windows

void TSdlBackend::WindowCreated(HWND hwnd) { WindowChanged(hwnd); }

void TSdlBackend::WindowChanged(HWND hwnd)
{
    if (!OnSdlThread()) {
        {
            std::lock_guard<std::mutex> g(FPendingLock);
            FPendingSync.insert(hwnd);
        }
        Wake();
        return;
    }
    Sync(hwnd);
}

void TSdlBackend::WindowDestroyed(HWND hwnd)
{
    if (!OnSdlThread()) {
        {
            std::lock_guard<std::mutex> g(FPendingLock);
            FPendingSync.insert(hwnd);  // Sync finds it gone and drops it
        }
        Wake();
        return;
    }
    Drop(hwnd);
}

void TSdlBackend::Present(HWND hwnd)
{
    // Painting presents after every window it paints; the pixels go out
    // once, when the thread next looks for input.
    {
        std::lock_guard<std::mutex> g(FPendingLock);
        FPendingPresent.insert(hwnd);
    }
    if (!OnSdlThread()) Wake();
}

SDL_Window* TSdlBackend::SdlWindowOf(HWND hwnd)
{
    auto it = FDesks.find(hwnd);
    return it == FDesks.end() ? nullptr : it->second.Window;
}

HWND TSdlBackend::HwndOfWindowId(Uint32 id)
{
    auto it = FById.find(id);
    return it == FById.end() ? nullptr : it->second;
}

void TSdlBackend::Drop(HWND hwnd)
{
    // Owned windows go first: a transient window must not outlive its owner.
    std::vector<HWND> owned;
    for (auto& [h, d] : FDesks)
        if (d.Owner == hwnd && h != hwnd) owned.push_back(h);
    for (HWND h : owned) Drop(h);
    auto it = FDesks.find(hwnd);
    if (it == FDesks.end()) return;
    if (it->second.Window) {
        FById.erase(SDL_GetWindowID(it->second.Window));
        SDL_DestroyWindow(it->second.Window);
    }
    FDesks.erase(it);
    std::lock_guard<std::mutex> g(FPendingLock);
    FPendingPresent.erase(hwnd);
}

void TSdlBackend::Sync(HWND hwnd)
{
    auto& m = WM();
    std::unique_lock<std::recursive_mutex> lk(m.lock);
    TWnd* w = WndOf(hwnd);
    if (!w || w->parent || w->destroying) {
        lk.unlock();
        Drop(hwnd);
        return;
    }
    bool visible = (w->style & WS_VISIBLE) != 0;
    auto it = FDesks.find(hwnd);
    if (!visible && (it == FDesks.end() || !it->second.Window)) return;

    // The SDL window shows the whole window, frame and caption included, at
    // its place on the screen: the frame is painted into the window's pixels
    // like the client area, and dragging the caption or a border moves or
    // sizes the window through its own hit tests, so the desktop adds no
    // frame of its own.
    int cw = std::max(1, w->rect.Width()), ch = std::max(1, w->rect.Height());
    TRect content = Bounds(w->rect.Left, w->rect.Top, cw, ch);

    if (it == FDesks.end() || !it->second.Window) {
        Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS;
        bool popup = false;
        if (w->style & WS_POPUP) {
            if (IsHintClass(w)) {
                flags |= SDL_WINDOW_TOOLTIP | SDL_WINDOW_SKIP_TASKBAR;
                popup = true;
            } else if (w->exStyle & (WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TOPMOST)) {
                flags |= SDL_WINDOW_POPUP_MENU | SDL_WINDOW_SKIP_TASKBAR;
                popup = true;
            } else if (w->owner) {
                flags |= SDL_WINDOW_UTILITY | SDL_WINDOW_SKIP_TASKBAR;
            }
        }
        if (w->exStyle & WS_EX_TOOLWINDOW) flags |= SDL_WINDOW_SKIP_TASKBAR;
        if (w->exStyle & WS_EX_TOPMOST) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
        std::string title = UTF8Encode(w->text);
        SDL_Window* win = SDL_CreateWindow(title.c_str(), content.Left, content.Top, cw, ch, flags);
        if (!win) return;  // the window lives on without a desktop window
        TDesk& d = FDesks[hwnd];
        d.Window = win;
        d.Popup = popup;
        d.Content = content;
        d.Title = w->text;
        FById[SDL_GetWindowID(win)] = hwnd;
        it = FDesks.find(hwnd);
    }
    TDesk& d = it->second;
    SDL_Window* win = d.Window;

    if (d.Title != w->text) {
        SDL_SetWindowTitle(win, UTF8Encode(w->text).c_str());
        d.Title = w->text;
    }
    if (d.Content.Left != content.Left || d.Content.Top != content.Top)
        SDL_SetWindowPosition(win, content.Left, content.Top);
    if (d.Content.Width() != content.Width() || d.Content.Height() != content.Height())
        SDL_SetWindowSize(win, cw, ch);
    d.Content = content;

    // Owned windows stay above their owner.
    HWND owner = w->owner;
    if (owner != d.Owner) {
        d.Owner = owner;
        d.Linked = false;
    }
    if (owner && !d.Linked)
        if (SDL_Window* ow = SdlWindowOf(owner)) d.Linked = SDL_SetWindowModalFor(win, ow) == 0;

    int opacity = 255;
    if ((w->exStyle & WS_EX_LAYERED) && (w->layeredAttr ? (w->layeredFlags & LWA_ALPHA) : !w->layeredPixels.empty()))
        opacity = w->layeredAlpha;
    if (opacity != d.Opacity) {
        SDL_SetWindowOpacity(win, float(opacity) / 255.0f);
        d.Opacity = opacity;
    }

    bool show = visible && !w->minimized;
    bool minimized = visible && w->minimized;
    bool raise = !d.Popup && !(w->exStyle & WS_EX_NOACTIVATE) && m.active == hwnd;
    lk.unlock();
    if (show && !d.Shown) {
        SDL_ShowWindow(win);
        if (d.Minimized) SDL_RestoreWindow(win);
        d.Minimized = d.DeskHidden = false;
        if (raise) SDL_RaiseWindow(win);
        d.Shown = true;
        std::lock_guard<std::mutex> g(FPendingLock);
        FPendingPresent.insert(hwnd);
    } else if (!show && d.Shown) {
        if (minimized) {
            SDL_MinimizeWindow(win);
            d.Minimized = true;
        } else {
            SDL_HideWindow(win);
        }
        d.Shown = false;
    }
}

void TSdlBackend::WindowActivated(HWND hwnd)
{
    if (!OnSdlThread()) {
        {
            std::lock_guard<std::mutex> g(FPendingLock);
            FPendingFocus = hwnd;
        }
        Wake();
        return;
    }
    Focus(hwnd);
}

void TSdlBackend::Focus(HWND hwnd)
{
    auto it = FDesks.find(hwnd);
    if (it == FDesks.end() || !it->second.Window || !it->second.Shown) return;
    // Popups and hints never take the desktop focus: it stays with their
    // owner while their controls take the keyboard. Activation the desktop's
    // own focus change caused needs no request back (stale focus events of
    // two windows would otherwise pass the focus to and fro for ever).
    if (it->second.Popup || FDesktopActivates) return;
    {
        std::lock_guard<std::recursive_mutex> g(WM().lock);
        TWnd* w = WndOf(hwnd);
        if (!w || (w->exStyle & WS_EX_NOACTIVATE) || WM().active != hwnd) return;
    }
    SDL_RaiseWindow(it->second.Window);
    SDL_SetWindowInputFocus(it->second.Window);
}

void TSdlBackend::Blit(HWND hwnd)
{
    auto it = FDesks.find(hwnd);
    if (it == FDesks.end() || !it->second.Window || !it->second.Shown) return;
    TDesk& d = it->second;
    auto& m = WM();
    std::lock_guard<std::recursive_mutex> g(m.lock);
    TWnd* w = WndOf(hwnd);
    if (!w) return;
    SDL_Surface* dst = SDL_GetWindowSurface(d.Window);
    if (!dst) return;

    SDL_Surface* src = nullptr;
    std::vector<uint32_t> opaque;
    SDL_Rect from{0, 0, 0, 0};
    bool perPixel = (w->exStyle & WS_EX_LAYERED) && !w->layeredPixels.empty() && !w->layeredAttr;
    if (perPixel) {
        // Premultiplied pixels over black are the colour channels as they are.
        opaque.resize(w->layeredPixels.size());
        std::transform(w->layeredPixels.begin(), w->layeredPixels.end(), opaque.begin(),
                       [](uint32_t p) { return p | 0xFF000000u; });
        src = SDL_CreateRGBSurfaceWithFormatFrom(opaque.data(), w->layeredW, w->layeredH, 32,
                                                 w->layeredW * 4, SDL_PIXELFORMAT_ARGB8888);
        from = {0, 0, w->layeredW, w->layeredH};
    } else {
        auto* s = static_cast<cairo_surface_t*>(w->surface);
        if (!s) return;  // nothing painted yet
        cairo_surface_flush(s);
        int sw = cairo_image_surface_get_width(s), sh = cairo_image_surface_get_height(s);
        src = SDL_CreateRGBSurfaceWithFormatFrom(cairo_image_surface_get_data(s), sw, sh, 32,
                                                 cairo_image_surface_get_stride(s), SDL_PIXELFORMAT_ARGB8888);
        from = {0, 0, sw, sh};
    }
    if (!src) return;
    // Painted windows are opaque: copy the colours, never blend.
    SDL_SetSurfaceBlendMode(src, SDL_BLENDMODE_NONE);
    SDL_Rect to{0, 0, from.w, from.h};
    SDL_BlitSurface(src, &from, dst, &to);
    SDL_FreeSurface(src);
    SDL_UpdateWindowSurface(d.Window);
}

void TSdlBackend::CursorChanged(HCURSOR cursor)
{
    if (!OnSdlThread()) {
        {
            std::lock_guard<std::mutex> g(FPendingLock);
            FCursorPending = true;
            FPendingCursor = cursor;
        }
        Wake();
        return;
    }
    // No cursor hides it.
    if (!cursor) {
        SDL_ShowCursor(SDL_DISABLE);
        FCursorHidden = true;
        return;
    }
    if (FCursorHidden) {
        SDL_ShowCursor(SDL_ENABLE);
        FCursorHidden = false;
    }
    SDL_SystemCursor kind = SdlSystemCursor(CursorId(cursor));
    SDL_Cursor*& c = FCursors[int(kind)];
    if (!c) c = SDL_CreateSystemCursor(kind);
    if (c) SDL_SetCursor(c);
}

void TSdlBackend::Flush()
{
    if (!OnSdlThread()) return;
    std::set<HWND> sync, present;
    bool cursorPending;
    HCURSOR cursor;
    HWND focus;
    {
        std::lock_guard<std::mutex> g(FPendingLock);
        sync.swap(FPendingSync);
        cursorPending = FCursorPending;
        cursor = FPendingCursor;
        FCursorPending = false;
        focus = FPendingFocus;
        FPendingFocus = nullptr;
    }
    for (HWND h : sync) Sync(h);
    if (focus) Focus(focus);
    if (cursorPending) CursorChanged(cursor);
    {
        std::lock_guard<std::mutex> g(FPendingLock);
        present.swap(FPendingPresent);
    }
    for (HWND h : present) Blit(h);
}

// ---------------------------------------------------------------------------
// Events

TPoint TSdlBackend::ScreenPoint(Uint32 windowId, int x, int y)
{
    // While a window follows the mouse (dragged by its caption or frame),
    // an event may still be relative to where the window was before its
    // last move: the pointer's place on the screen is the one to follow.
    if (WM().sizeMove.hwnd) {
        int gx = 0, gy = 0;
        SDL_GetGlobalMouseState(&gx, &gy);
        return {gx, gy};
    }
    HWND h = HwndOfWindowId(windowId);
    auto it = FDesks.find(h);
    if (!h || it == FDesks.end()) return WM().cursorPos;
    return {it->second.Content.Left + x, it->second.Content.Top + y};
}

bool TSdlBackend::PumpEvents(DWORD timeoutMs)
{
    if (!OnSdlThread()) return false;
    Flush();
    bool delivered = false;
    SDL_Event e;
    bool first = true;
    for (;;) {
        int got = first && timeoutMs > 0 ? SDL_WaitEventTimeout(&e, int(std::min<DWORD>(timeoutMs, 0x7FFFFFFF)))
                                         : SDL_PollEvent(&e);
        first = false;
        if (!got) break;
        Handle(e, delivered);
    }
    if (FCheckFocus) CheckAppFocus();
    Flush();
    return delivered;
}

void TSdlBackend::CheckAppFocus()
{
    FCheckFocus = false;
    // The desktop focus left all of our windows: the application is no
    // longer active (this closes popups as a click elsewhere would).
    if (!SDL_GetKeyboardFocus() && WM().appActive) WmDeactivateApp();
}

void TSdlBackend::Handle(const SDL_Event& e, bool& delivered)
{
    if (e.type == FWakeEvent) {
        FWakePending = false;
        delivered = true;  // someone wants the waiting thread to look again
        return;
    }
    switch (e.type) {
    case SDL_WINDOWEVENT:
        HandleWindowEvent(e.window);
        delivered = true;
        break;
    case SDL_MOUSEMOTION:
        WmMouseInput(WM_MOUSEMOVE, ScreenPoint(e.motion.windowID, e.motion.x, e.motion.y));
        delivered = true;
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        UINT msg;
        switch (e.button.button) {
        case SDL_BUTTON_LEFT: msg = WM_LBUTTONDOWN; break;
        case SDL_BUTTON_RIGHT: msg = WM_RBUTTONDOWN; break;
        case SDL_BUTTON_MIDDLE: msg = WM_MBUTTONDOWN; break;
        default: return;
        }
        if (e.type == SDL_MOUSEBUTTONUP) ++msg;  // the ...UP message follows each ...DOWN
        TPoint p = ScreenPoint(e.button.windowID, e.button.x, e.button.y);
        if (p != WM().cursorPos) WmMouseInput(WM_MOUSEMOVE, p);
        // Double clicks are the window manager's to recognise (CS_DBLCLKS).
        WmMouseInput(msg, p);
        delivered = true;
        break;
    }
    case SDL_MOUSEWHEEL: {
        float y = e.wheel.preciseY;
        if (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) y = -y;
        int delta = int(std::lround(y * WHEEL_DELTA));
        if (delta != 0) {
            WmMouseInput(WM_MOUSEWHEEL, WM().cursorPos, delta);
            delivered = true;
        }
        break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        HandleKey(e.key);
        delivered = true;
        break;
    case SDL_TEXTINPUT:
        HandleText(e.text.text);
        delivered = true;
        break;
    case SDL_DROPBEGIN:
        FDropped.clear();
        FDropWindow = e.drop.windowID;
        FDropOpen = true;
        break;
    case SDL_DROPFILE: {
        String file = e.drop.file ? UTF8ToString(e.drop.file) : String();
        SDL_free(e.drop.file);
        FDropWindow = e.drop.windowID;
        FDropped.push_back(file);
        if (FDropOpen) break;
        [[fallthrough]];  // a drop without a begin/complete bracket: deliver at once
    }
    case SDL_DROPCOMPLETE: {
        FDropOpen = false;
        std::vector<String> files;
        files.swap(FDropped);
        HWND target = HwndOfWindowId(FDropWindow ? FDropWindow : e.drop.windowID);
        if (files.empty() || !target || !OnBackendFilesDropped) break;
        int gx = 0, gy = 0;
        SDL_GetGlobalMouseState(&gx, &gy);
        OnBackendFilesDropped(target, std::move(files), TPoint{gx, gy});
        delivered = true;
        break;
    }
    case SDL_DROPTEXT:
        SDL_free(e.drop.file);
        break;
    case SDL_DISPLAYEVENT:
        ReadMonitors();
        break;
    default: break;
    }
}

void TSdlBackend::HandleWindowEvent(const SDL_WindowEvent& e)
{
    HWND hwnd = HwndOfWindowId(e.windowID);
    if (!hwnd) return;
    TDesk& d = FDesks[hwnd];
    switch (e.event) {
    case SDL_WINDOWEVENT_CLOSE:
        PostMessage(hwnd, WM_CLOSE, 0, 0);
        break;
    case SDL_WINDOWEVENT_MOVED: {
        if (e.data1 == d.Content.Left && e.data2 == d.Content.Top) break;
        int dx = e.data1 - d.Content.Left, dy = e.data2 - d.Content.Top;
        d.Content = Bounds(e.data1, e.data2, d.Content.Width(), d.Content.Height());
        TRect r;
        GetWindowRect(hwnd, &r);
        SetWindowPos(hwnd, nullptr, r.Left + dx, r.Top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        break;
    }
    case SDL_WINDOWEVENT_SIZE_CHANGED: {
        if (e.data1 == d.Content.Width() && e.data2 == d.Content.Height()) break;
        int dw = e.data1 - d.Content.Width(), dh = e.data2 - d.Content.Height();
        d.Content = Bounds(d.Content.Left, d.Content.Top, e.data1, e.data2);
        TRect r;
        GetWindowRect(hwnd, &r);
        SetWindowPos(hwnd, nullptr, 0, 0, r.Width() + dw, r.Height() + dh, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        break;
    }
    case SDL_WINDOWEVENT_MINIMIZED:
        if (!IsIconic(hwnd)) ShowWindow(hwnd, SW_MINIMIZE);
        break;
    case SDL_WINDOWEVENT_HIDDEN:
        if (d.Minimized) d.DeskHidden = true;
        break;
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_SHOWN:
        // The desktop brought back a window we minimised (a shown event
        // counts only after the desktop had taken it off the screen).
        if (e.event == SDL_WINDOWEVENT_SHOWN && !d.DeskHidden) break;
        d.Minimized = d.DeskHidden = false;
        if (IsIconic(hwnd)) {
            d.Shown = true;  // already on the screen: no second show
            ShowWindow(hwnd, SW_RESTORE);
            std::lock_guard<std::mutex> g(FPendingLock);
            FPendingPresent.insert(hwnd);
        }
        break;
    case SDL_WINDOWEVENT_EXPOSED: {
        std::lock_guard<std::mutex> g(FPendingLock);
        FPendingPresent.insert(hwnd);
        break;
    }
    case SDL_WINDOWEVENT_FOCUS_GAINED: {
        // The desktop focused one of our windows. The window manager's
        // active window stays where it is when it is this window or one it
        // owns (a popup keeps the keyboard while the owner has the focus).
        HWND active = GetActiveWindow();
        bool ours = false;
        for (HWND a = active; a && !ours; a = GetWindow(a, GW_OWNER)) ours = a == hwnd;
        FDesktopActivates = true;
        if (!ours && !d.Popup) WmActivate(hwnd, WA_ACTIVE);
        else if (!WM().appActive) WmActivate(active ? active : hwnd, WA_ACTIVE);
        FDesktopActivates = false;
        break;
    }
    case SDL_WINDOWEVENT_FOCUS_LOST:
        FCheckFocus = true;
        break;
    case SDL_WINDOWEVENT_LEAVE:
        // The mouse left for the desktop: tell the window manager where it
        // is now so hover and mouse-leave tracking end.
        if (!GetCapture() && !(SDL_GetMouseState(nullptr, nullptr) & SDL_BUTTON_LMASK)) {
            int gx = 0, gy = 0;
            SDL_GetGlobalMouseState(&gx, &gy);
            WmMouseInput(WM_MOUSEMOVE, TPoint{gx, gy});
        }
        break;
    default: break;
    }
}

void TSdlBackend::HandleKey(const SDL_KeyboardEvent& e)
{
    Word vk = SdlVirtualKey(e.keysym.sym, e.keysym.scancode);
    if (!vk) return;  // a key that only types text
    // Repeats arrive as further key-downs; the window manager marks them.
    WmKeyInput(vk, e.type == SDL_KEYDOWN);
}

void TSdlBackend::HandleText(const char* utf8)
{
    // With Ctrl or Alt alone held the key makes a control or system
    // character of its own (TranslateMessage); the text it may also bring
    // is not typed. Ctrl+Alt (AltGr) types what the layout gives.
    bool ctrl = GetKeyState(VK_CONTROL) < 0, alt = GetKeyState(VK_MENU) < 0;
    if (ctrl != alt) return;
    for (wchar_t c : UTF8ToString(utf8 ? utf8 : "")) WmCharInput(c);
}
