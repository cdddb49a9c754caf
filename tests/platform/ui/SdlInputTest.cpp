// The desktop backend in this process on a virtual X server: SDL events
// come in as the window manager's messages to the right window at the
// right points, a key and the text it types give one character, and the
// desktop's close button asks the window to close.
#include <gtest/gtest.h>

#include <SDL.h>

#include <vector>


#include "SdlDesktop.h"
#include "XvfbSupport.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/BackendChoice.h"
#include "platform/ui/backend/Sdl.h"

using namespace xvfb;

namespace {

struct TSeen {
    UINT Msg;
    WPARAM W;
    LPARAM L;
};
std::vector<TSeen> gSeen;

LRESULT RecordProc(HWND h, UINT msg, WPARAM w, LPARAM l)
{
    switch (msg) {
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_KEYDOWN: case WM_KEYUP: case WM_CHAR: case WM_CLOSE:
    case WM_MOUSEWHEEL:
        gSeen.push_back({msg, w, l});
        return 0;
    default: return DefWindowProc(h, msg, w, l);
    }
}

class SdlInput : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (FindProgram("Xvfb").empty()) GTEST_SKIP() << "Xvfb is not installed: the desktop tests need it";
        std::string why = Desktop.Start();
        ASSERT_TRUE(why.empty()) << why;
        Sdl = Desktop.Sdl;
        gSeen.clear();
        WNDCLASS wc;
        wc.lpfnWndProc = RecordProc;
        wc.lpszClassName = L"SdlInputTestWindow";
        wc.hbrBackground = HBRUSH(uintptr_t(COLOR_WINDOW + 1));
        RegisterClass(wc);
        Wnd = CreateWindowEx(0, L"SdlInputTestWindow", L"input", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 80, 300,
                             200, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(Wnd);
        Run();
        ASSERT_TRUE(Sdl->SdlWindowOf(Wnd));
        gSeen.clear();
    }
    void TearDown() override { Desktop.Stop(); }
    // Delivers the SDL events waiting now and runs the messages they made,
    // translating keys as an application's loop does.
    void Run()
    {
        for (int i = 0; i < 5; ++i) {
            Sdl->PumpEvents(0);
            MSG m;
            while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&m);
                DispatchMessage(&m);
            }
        }
    }
    void Push(SDL_Event e)
    {
        ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
    }
    Uint32 WindowId() { return SDL_GetWindowID(Sdl->SdlWindowOf(Wnd)); }
    std::vector<UINT> Messages()
    {
        std::vector<UINT> v;
        for (auto& s : gSeen) v.push_back(s.Msg);
        return v;
    }

    TSdlDesktop Desktop;
    TSdlBackend* Sdl = nullptr;
    HWND Wnd = nullptr;
};

}  // namespace

TEST_F(SdlInput, MouseButtonsArriveAtTheirPointOfTheWindow)
{
    SDL_Event e{};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.windowID = WindowId();
    e.button.button = SDL_BUTTON_LEFT;
    e.button.state = SDL_PRESSED;
    e.button.x = 30;
    e.button.y = 40;
    Push(e);
    e.type = SDL_MOUSEBUTTONUP;
    e.button.state = SDL_RELEASED;
    Push(e);
    Run();
    ASSERT_EQ(Messages(), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
    // The SDL window shows the whole window, frame included: its points
    // are window points, and the client point is what lies past the frame.
    TRect r;
    GetWindowRect(Wnd, &r);
    TPoint screen{r.Left + 30, r.Top + 40};
    EXPECT_EQ(WM().cursorPos, screen);
    TPoint client = screen;
    ScreenToClient(Wnd, &client);
    EXPECT_EQ(LParamToPoint(gSeen[0].L), client);
    EXPECT_NE(client, (TPoint{30, 40})) << "the window has a frame: client and window points differ";
}

TEST_F(SdlInput, AKeyAndTheTextItTypesGiveOneCharacter)
{
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.windowID = WindowId();
    e.key.keysym.sym = SDLK_a;
    e.key.keysym.scancode = SDL_SCANCODE_A;
    Push(e);
    SDL_Event t{};
    t.type = SDL_TEXTINPUT;
    t.text.windowID = WindowId();
    SDL_strlcpy(t.text.text, "a", sizeof(t.text.text));
    Push(t);
    e.type = SDL_KEYUP;
    Push(e);
    // Text no key of the US layout types comes as characters of its own.
    SDL_strlcpy(t.text.text, "\xC3\xA9", sizeof(t.text.text));  // e with acute accent
    Push(t);
    Run();
    ASSERT_EQ(Messages(), (std::vector<UINT>{WM_KEYDOWN, WM_CHAR, WM_KEYUP, WM_CHAR}));
    EXPECT_EQ(gSeen[0].W, WPARAM('A'));
    EXPECT_EQ(gSeen[1].W, WPARAM(L'a'));
    EXPECT_EQ(gSeen[3].W, WPARAM(0xE9));
}

TEST_F(SdlInput, CharactersComeFromTheLayoutsTextAndControlKeysFromTranslation)
{
    auto key = [&](SDL_Keycode sym, SDL_Scancode scan, Uint16 mod, bool down) {
        SDL_Event e{};
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.windowID = WindowId();
        e.key.keysym.sym = sym;
        e.key.keysym.scancode = scan;
        e.key.keysym.mod = mod;
        Push(e);
    };
    auto text = [&](const char* s) {
        SDL_Event t{};
        t.type = SDL_TEXTINPUT;
        t.text.windowID = WindowId();
        SDL_strlcpy(t.text.text, s, sizeof(t.text.text));
        Push(t);
    };
    // Shift+7 on a layout where it types '/': the US layout's '&' never shows.
    key(SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, KMOD_LSHIFT, true);
    key(SDLK_7, SDL_SCANCODE_7, KMOD_LSHIFT, true);
    text("/");
    key(SDLK_7, SDL_SCANCODE_7, KMOD_LSHIFT, false);
    key(SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, 0, false);
    // Enter and Ctrl+A bring no text: their characters come from the keys.
    key(SDLK_RETURN, SDL_SCANCODE_RETURN, 0, true);
    key(SDLK_RETURN, SDL_SCANCODE_RETURN, 0, false);
    Run();
    key(SDLK_LCTRL, SDL_SCANCODE_LCTRL, KMOD_LCTRL, true);
    key(SDLK_a, SDL_SCANCODE_A, KMOD_LCTRL, true);
    text("a");  // text a desktop may send along with Ctrl+A: not typed
    Run();  // (keys translate by the state of the keyboard when they are read)
    key(SDLK_a, SDL_SCANCODE_A, KMOD_LCTRL, false);
    key(SDLK_LCTRL, SDL_SCANCODE_LCTRL, 0, false);
    Run();
    std::vector<WPARAM> chars;
    for (auto& s : gSeen)
        if (s.Msg == WM_CHAR) chars.push_back(s.W);
    EXPECT_EQ(chars, (std::vector<WPARAM>{L'/', 13, 1}));
}

TEST_F(SdlInput, TheDesktopsCloseButtonAsksTheWindowToClose)
{
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = WindowId();
    e.window.event = SDL_WINDOWEVENT_CLOSE;
    Push(e);
    Run();
    EXPECT_EQ(Messages(), (std::vector<UINT>{WM_CLOSE}));
    EXPECT_TRUE(IsWindow(Wnd));  // closing is the window's own decision
}

TEST_F(SdlInput, WakeFromAnotherThreadEndsAWait)
{
    Run();  // nothing waiting any more
    auto start = Clock::now();
    std::thread t([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        Sdl->Wake();
    });
    EXPECT_TRUE(Sdl->PumpEvents(20000));
    t.join();
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
}
