// The desktop follows what the window manager does to top-level windows:
// minimising from code minimises the SDL window, and the desktop's keyboard
// focus goes where activation goes (back to the owner when an owned window
// is hidden).
#include <gtest/gtest.h>

#include <SDL.h>
#include <X11/Xlib.h>

#include <chrono>
#include <functional>
#include <thread>

#include "SdlDesktop.h"
#include "XvfbSupport.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Sdl.h"

using namespace xvfb;

namespace {

class SdlActivation : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (FindProgram("Xvfb").empty()) GTEST_SKIP() << "Xvfb is not installed: the desktop tests need it";
        std::string why = Desktop.Start();
        ASSERT_TRUE(why.empty()) << why;
        Sdl = Desktop.Sdl;
        WNDCLASS wc;
        wc.lpfnWndProc = &DefWindowProc;
        wc.lpszClassName = L"SdlActivationTest";
        wc.hbrBackground = HBRUSH(uintptr_t(COLOR_WINDOW + 1));
        RegisterClass(wc);
    }
    void TearDown() override { Desktop.Stop(); }
    void Run()
    {
        for (int i = 0; i < 3; ++i) {
            WmPumpPending();
            WmUpdateAllWindows();
            Sdl->PumpEvents(0);
        }
    }
    // Runs until the condition holds or a few seconds pass.
    bool RunUntil(const std::function<bool()>& done)
    {
        for (auto deadline = Clock::now() + std::chrono::seconds(5); Clock::now() < deadline;) {
            Run();
            if (done()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return done();
    }
    HWND Create(DWORD style, HWND owner, int x)
    {
        return CreateWindowEx(0, L"SdlActivationTest", L"w", style, x, 60, 300, 200, owner);
    }

    TSdlDesktop Desktop;
    TSdlBackend* Sdl = nullptr;
};

}  // namespace

TEST_F(SdlActivation, MinimisingFromCodeReachesTheDesktopAndTheDesktopRestoresIt)
{
    // The virtual server has no desktop window manager: this connection
    // plays its part, honouring the request to iconify a window by taking
    // it off the screen.
    Display* x = XOpenDisplay(Desktop.X.Display.c_str());
    ASSERT_TRUE(x);
    XSelectInput(x, DefaultRootWindow(x), SubstructureNotifyMask);
    Atom changeState = XInternAtom(x, "WM_CHANGE_STATE", False);
    Window iconified = 0;
    auto desktop = [&] {
        while (XPending(x)) {
            XEvent ev;
            XNextEvent(x, &ev);
            if (ev.type == ClientMessage && ev.xclient.message_type == changeState && ev.xclient.data.l[0] == 3) {
                iconified = ev.xclient.window;
                XUnmapWindow(x, iconified);
                XFlush(x);
            }
        }
    };

    HWND h = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 60);
    HWND other = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 400);
    SetActiveWindow(h);
    Run();
    SDL_Window* win = Sdl->SdlWindowOf(h);
    ASSERT_TRUE(win);
    ASSERT_TRUE(RunUntil([&] { return (SDL_GetWindowFlags(win) & SDL_WINDOW_SHOWN) != 0; }));
    ShowWindow(h, SW_MINIMIZE);
    EXPECT_TRUE(RunUntil([&] {
        desktop();
        Uint32 f = SDL_GetWindowFlags(win);
        return iconified && ((f & SDL_WINDOW_MINIMIZED) || !(f & SDL_WINDOW_SHOWN));
    })) << "asked to iconify: " << (iconified != 0) << ", flags " << std::hex << SDL_GetWindowFlags(win);
    EXPECT_TRUE(IsIconic(h));
    EXPECT_EQ(GetActiveWindow(), other);

    // The user brings it back from the desktop.
    if (iconified) {
        XMapWindow(x, iconified);
        XFlush(x);
    }
    EXPECT_TRUE(RunUntil([&] { return !IsIconic(h); })) << "un-minimised by the desktop's restore";
    EXPECT_EQ(GetActiveWindow(), h);
    EXPECT_TRUE(SDL_GetWindowFlags(win) & SDL_WINDOW_SHOWN);
    XCloseDisplay(x);
}

TEST_F(SdlActivation, HidingAnActiveOwnedWindowGivesTheDesktopFocusBackToItsOwner)
{
    HWND main = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 60);
    ASSERT_TRUE(RunUntil([&] { return Sdl->SdlWindowOf(main) && SDL_GetKeyboardFocus() == Sdl->SdlWindowOf(main); }))
        << "the first window takes the desktop focus";
    HWND owned = Create(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, main, 200);
    ASSERT_EQ(GetActiveWindow(), owned);
    EXPECT_TRUE(RunUntil([&] { return Sdl->SdlWindowOf(owned) && SDL_GetKeyboardFocus() == Sdl->SdlWindowOf(owned); }))
        << "the owned window shown active takes the keys";
    ShowWindow(owned, SW_HIDE);
    EXPECT_EQ(GetActiveWindow(), main);
    EXPECT_TRUE(RunUntil([&] { return SDL_GetKeyboardFocus() == Sdl->SdlWindowOf(main); }))
        << "the desktop focus is back with the owner";
    Run();
    EXPECT_EQ(GetActiveWindow(), main) << "and the owner stays active";
    EXPECT_EQ(GetForegroundWindow(), main);
}
