// The desktop backend: every visible top-level window (forms, popups, hint
// windows) is a borderless SDL window of the window's whole outer size at
// its place, frame and caption included, that shows the window manager's
// pixels; SDL's
// mouse, keyboard, text, window and drop events come back in as the window
// manager's input. The window manager keeps its own focus and activation,
// so a popup's controls take the keyboard while the desktop focus stays
// with the popup's owner.
//
// SDL is driven only from the thread that installed the backend (the user
// interface thread); calls from other threads are remembered and carried
// out there on its next PumpEvents.
#pragma once

#include <SDL.h>

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "platform/ui/backend/Backend.h"

// Desktop clipboard text for the clipboard object. Without the desktop
// backend there is no desktop clipboard: Get answers false, Set does nothing.
bool BackendGetClipboardText(String& text);
void BackendSetClipboardText(const String& text);

// Files dropped from the desktop onto a window: the top-level window, the
// files and the screen point of the drop.
extern std::function<void(HWND, std::vector<String>, TPoint)> OnBackendFilesDropped;

// The Windows virtual-key code of an SDL key, 0 for keys that only type text
// (a character the US layout has no key for).
Word SdlVirtualKey(SDL_Keycode sym, SDL_Scancode scan);
// The SDL system cursor for a standard cursor id (IDC_...); arrow for others.
SDL_SystemCursor SdlSystemCursor(uintptr_t cursorId);

class TSdlBackend : public TBackend {
public:
    // SDL's video subsystem must be initialised; the calling thread becomes
    // the thread that drives SDL.
    TSdlBackend();
    ~TSdlBackend() override;

    String Name() const override { return L"sdl"; }
    std::vector<TMonitorSpec> Monitors() override;
    DWORD TickCount() override;
    bool PumpEvents(DWORD timeoutMs) override;
    void Wake() override;
    void WindowCreated(HWND hwnd) override;
    void WindowDestroyed(HWND hwnd) override;
    void WindowChanged(HWND hwnd) override;
    void WindowActivated(HWND hwnd) override;
    void Present(HWND hwnd) override;
    void CursorChanged(HCURSOR cursor) override;

    // The SDL window that shows a top-level window, or nullptr (hidden
    // windows have none until they are first shown).
    SDL_Window* SdlWindowOf(HWND hwnd);
    // Presents everything that is due now (pending changes and pixels).
    void Flush();

private:
    struct TDesk {
        SDL_Window* Window = nullptr;
        bool Shown = false;
        bool Minimized = false;      // we minimised the SDL window
        bool DeskHidden = false;     // the desktop took it off the screen while minimised
        bool Popup = false;      // popup or hint: never takes the desktop focus
        HWND Owner = nullptr;
        bool Linked = false;     // shown above its owner's SDL window
        TRect Content;           // the window's screen rectangle, as last given to SDL
        String Title;
        int Opacity = 255;
    };

    bool OnSdlThread() const { return std::this_thread::get_id() == FThread; }
    void Sync(HWND hwnd);
    void Focus(HWND hwnd);
    void Drop(HWND hwnd);
    void Blit(HWND hwnd);
    void Handle(const SDL_Event& e, bool& delivered);
    void HandleWindowEvent(const SDL_WindowEvent& e);
    void HandleKey(const SDL_KeyboardEvent& e);
    void HandleText(const char* utf8);
    void CheckAppFocus();
    void ReadMonitors();
    HWND HwndOfWindowId(Uint32 id);
    TPoint ScreenPoint(Uint32 windowId, int x, int y);

    std::thread::id FThread;
    Uint32 FWakeEvent = 0;
    std::atomic<bool> FWakePending{false};

    std::mutex FPendingLock;  // guards the four below
    std::set<HWND> FPendingSync;
    std::set<HWND> FPendingPresent;
    bool FCursorPending = false;
    HWND FPendingFocus = nullptr;
    HCURSOR FPendingCursor = nullptr;

    std::mutex FMonitorLock;
    std::vector<TMonitorSpec> FMonitors;

    std::map<HWND, TDesk> FDesks;
    std::map<Uint32, HWND> FById;
    std::map<int, SDL_Cursor*> FCursors;
    bool FCursorHidden = false;

    bool FCheckFocus = false;
    bool FDesktopActivates = false;  // activation that follows the desktop's focus
    std::vector<String> FDropped;
    Uint32 FDropWindow = 0;
    bool FDropOpen = false;
};
