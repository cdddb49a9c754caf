// The desktop backend on a virtual X server of the test's own: a form's SDL
// window has the form's whole outer size at its place, frame and caption
// included, whether the form was placed before it was shown or moved and
// sized while shown, and the screen shows all of it.
#include <gtest/gtest.h>

#include <SDL.h>

#include <vector>

#include "SdlDesktop.h"
#include "XvfbSupport.h"
#include "platform/ui/Forms.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Sdl.h"

using namespace xvfb;

namespace {

class SdlWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (FindProgram("Xvfb").empty()) GTEST_SKIP() << "Xvfb is not installed: the desktop tests need it";
        std::string why = Desktop.Start();
        ASSERT_TRUE(why.empty()) << why;
        Sdl = Desktop.Sdl;
        InitForms();
    }
    void TearDown() override
    {
        if (Sdl) DoneForms();
        Desktop.Stop();
    }
    // Runs what is due: messages, painting, and the SDL side.
    void Run()
    {
        for (int i = 0; i < 5; ++i) {
            Application->ProcessMessages();
            WmUpdateAllWindows();
            Sdl->PumpEvents(0);
        }
    }
    // The SDL window of the form has its outer rectangle, and so has the
    // surface the pixels go to.
    void ExpectSdlWindowIs(TForm* f, TRect outer, const char* when)
    {
        SDL_Window* win = Sdl->SdlWindowOf(f->Handle());
        ASSERT_TRUE(win) << when;
        int x = 0, y = 0, w = 0, h = 0;
        SDL_GetWindowPosition(win, &x, &y);
        SDL_GetWindowSize(win, &w, &h);
        EXPECT_EQ(Bounds(x, y, w, h), outer) << when;
        SDL_Surface* s = SDL_GetWindowSurface(win);
        ASSERT_TRUE(s) << when << ": " << SDL_GetError();
        EXPECT_EQ(s->w, outer.Width()) << when;
        EXPECT_EQ(s->h, outer.Height()) << when;
    }
    // The screen shows the form's client colour up to its last client pixel
    // and the desktop right past the window.
    void ExpectScreenShows(TForm* f, const char* when)
    {
        TRect outer = f->BoundsRect();
        TPoint last{f->ClientWidth() - 1, f->ClientHeight() - 1};
        ClientToScreen(f->Handle(), &last);
        struct {
            TPoint At;
            uint32_t Colour;
            const char* What;
        } const checks[] = {
            {f->ClientOrigin(), 0xFF0000, "first client pixel"},
            {last, 0xFF0000, "last client pixel"},
            {{outer.Right, outer.Bottom - 1}, 0x000000, "desktop right of the window"},
            {{outer.Right - 1, outer.Bottom}, 0x000000, "desktop below the window"},
        };
        TScreenShot shot;
        bool all = false;
        for (auto deadline = Clock::now() + std::chrono::seconds(10); !all && Clock::now() < deadline;) {
            Run();
            all = shot.Load(Desktop.X.ScreenFile());
            for (auto& c : checks) all = all && shot.At(c.At.X, c.At.Y) == c.Colour;
            if (!all) std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        for (auto& c : checks)
            EXPECT_EQ(shot.At(c.At.X, c.At.Y), c.Colour) << when << ": " << c.What << " at " << c.At.X << "," << c.At.Y;
    }

    TSdlDesktop Desktop;
    TSdlBackend* Sdl = nullptr;
};

}  // namespace

TEST_F(SdlWindow, HasTheFormsOuterSizeWhenPlacedBeforeShowAndWhenResizedWhileShown)
{
    auto* f = new TForm(Application);
    f->SetBorderStyle(bsSingle);
    f->SetColor(TColor(RGB(255, 0, 0)));
    f->SetBounds(60, 50, 300, 200);
    f->SetClientWidth(320);
    f->SetClientHeight(210);
    f->Init();
    TRect placed = f->BoundsRect();
    ASSERT_GT(placed.Width(), 320) << "the frame adds to the client size";
    f->Show();
    Run();
    ExpectSdlWindowIs(f, placed, "shown");
    ExpectScreenShows(f, "shown");

    f->SetBounds(90, 70, 420, 260);
    Run();
    ExpectSdlWindowIs(f, Bounds(90, 70, 420, 260), "resized while shown");
    ExpectScreenShows(f, "resized while shown");

    SetWindowPos(f->Handle(), nullptr, 30, 40, 250, 180, SWP_NOZORDER | SWP_NOACTIVATE);
    Run();
    ExpectSdlWindowIs(f, Bounds(30, 40, 250, 180), "moved and sized by the window manager's call");
    ExpectScreenShows(f, "moved and sized by the window manager's call");
}

TEST_F(SdlWindow, DraggingTheCaptionMovesTheWindowWithThePointer)
{
    // The desktop draws no frame: our caption moves the window. Motion that
    // SDL reports relative to where the window was before its last step
    // must not make the window run ahead of the pointer.
    static TPoint gPointer;                // where the pointer was sent last
    static std::vector<TPoint> gAhead;     // window places past it
    static TPoint gStart;
    gAhead.clear();
    WNDCLASS wc;
    wc.lpfnWndProc = [](HWND h, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
        if (msg == WM_WINDOWPOSCHANGED) {
            auto* wp = reinterpret_cast<WINDOWPOS*>(l);
            TPoint moved{wp->x - gStart.X, wp->y - gStart.Y};
            if (moved.X > gPointer.X || moved.Y > gPointer.Y) gAhead.push_back(moved);
        }
        return DefWindowProc(h, msg, w, l);
    };
    wc.lpszClassName = L"SdlWindowTestDrag";
    wc.hbrBackground = HBRUSH(uintptr_t(COLOR_WINDOW + 1));
    RegisterClass(wc);
    gStart = {60, 50};
    gPointer = {0, 0};
    HWND h = CreateWindowEx(0, L"SdlWindowTestDrag", L"drag", WS_OVERLAPPEDWINDOW | WS_VISIBLE, gStart.X, gStart.Y,
                            300, 200, nullptr);
    ASSERT_TRUE(h);
    Run();
    SDL_Window* win = Sdl->SdlWindowOf(h);
    ASSERT_TRUE(win);
    TPoint grab{gStart.X + 150, gStart.Y + GetSystemMetrics(SM_CYFRAME) + 5};
    ASSERT_EQ(SendMessage(h, WM_NCHITTEST, 0, PointToLParam(grab)), HTCAPTION);
    SDL_WarpMouseGlobal(grab.X, grab.Y);
    Run();

    SDL_Event e{};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.windowID = SDL_GetWindowID(win);
    e.button.button = SDL_BUTTON_LEFT;
    e.button.state = SDL_PRESSED;
    e.button.x = grab.X - gStart.X;
    e.button.y = grab.Y - gStart.Y;
    ASSERT_EQ(SDL_PushEvent(&e), 1);
    Run();
    // Two motions at a time: the second is reported relative to the
    // window's place before the first one moved it.
    for (int i = 1; i <= 5; ++i) {
        gPointer = {14 * i, 10 * i};
        SDL_WarpMouseGlobal(grab.X + gPointer.X - 7, grab.Y + gPointer.Y - 5);
        SDL_WarpMouseGlobal(grab.X + gPointer.X, grab.Y + gPointer.Y);
        Run();
    }
    e.type = SDL_MOUSEBUTTONUP;
    e.button.state = SDL_RELEASED;
    ASSERT_EQ(SDL_PushEvent(&e), 1);
    Run();

    TRect r;
    GetWindowRect(h, &r);
    EXPECT_EQ(r, Bounds(130, 100, 300, 200));
    int x = 0, y = 0;
    SDL_GetWindowPosition(win, &x, &y);
    EXPECT_EQ((TPoint{x, y}), (TPoint{130, 100}));
    EXPECT_TRUE(gAhead.empty()) << "ran ahead of the pointer by " << gAhead[0].X << "," << gAhead[0].Y;
    DestroyWindow(h);
}
