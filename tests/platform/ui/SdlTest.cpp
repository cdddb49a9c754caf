// The desktop backend's pieces that need no display: key and cursor
// translation, the start-up choice without a display, and the desktop
// hooks when the desktop backend is not installed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/ui/backend/BackendChoice.h"
#include "platform/ui/backend/Sdl.h"

TEST(SdlKeys, SdlKeysBecomeWindowsVirtualKeys)
{
    struct {
        SDL_Keycode Sym;
        SDL_Scancode Scan;
        Word Vk;
    } const cases[] = {
        {SDLK_a, SDL_SCANCODE_A, 'A'},
        {SDLK_z, SDL_SCANCODE_Z, 'Z'},
        // The letter the layout gives counts, not the key's position.
        {SDLK_a, SDL_SCANCODE_Q, 'A'},
        {SDLK_0, SDL_SCANCODE_0, '0'},
        {SDLK_9, SDL_SCANCODE_9, '9'},
        {SDLK_RETURN, SDL_SCANCODE_RETURN, VK_RETURN},
        {SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, VK_ESCAPE},
        {SDLK_TAB, SDL_SCANCODE_TAB, VK_TAB},
        {SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE, VK_BACK},
        {SDLK_SPACE, SDL_SCANCODE_SPACE, VK_SPACE},
        {SDLK_DELETE, SDL_SCANCODE_DELETE, VK_DELETE},
        {SDLK_PAGEUP, SDL_SCANCODE_PAGEUP, VK_PRIOR},
        {SDLK_PAGEDOWN, SDL_SCANCODE_PAGEDOWN, VK_NEXT},
        {SDLK_LEFT, SDL_SCANCODE_LEFT, VK_LEFT},
        {SDLK_DOWN, SDL_SCANCODE_DOWN, VK_DOWN},
        {SDLK_F1, SDL_SCANCODE_F1, VK_F1},
        {SDLK_F10, SDL_SCANCODE_F10, VK_F10},
        {SDLK_F12, SDL_SCANCODE_F12, VK_F12},
        {SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, VK_SHIFT},
        {SDLK_RSHIFT, SDL_SCANCODE_RSHIFT, VK_SHIFT},
        {SDLK_RCTRL, SDL_SCANCODE_RCTRL, VK_CONTROL},
        {SDLK_LALT, SDL_SCANCODE_LALT, VK_MENU},
        {SDLK_APPLICATION, SDL_SCANCODE_APPLICATION, VK_APPS},
        // The keypad types digits with the number lock on, moves without.
        {SDLK_KP_7, SDL_SCANCODE_KP_7, VK_NUMPAD7},
        {SDLK_KP_0, SDL_SCANCODE_KP_0, VK_NUMPAD0},
        {SDLK_HOME, SDL_SCANCODE_KP_7, VK_HOME},
        {SDLK_DELETE, SDL_SCANCODE_KP_PERIOD, VK_DELETE},
        {SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, VK_RETURN},
        {SDLK_KP_PLUS, SDL_SCANCODE_KP_PLUS, VK_ADD},
        // Punctuation: the US key of the character.
        {SDLK_MINUS, SDL_SCANCODE_MINUS, VK_OEM_MINUS},
        {SDLK_COMMA, SDL_SCANCODE_COMMA, VK_OEM_COMMA},
        {SDLK_SLASH, SDL_SCANCODE_SLASH, VK_OEM_2},
        {SDLK_SEMICOLON, SDL_SCANCODE_SEMICOLON, VK_OEM_1},
        // A character the US layout has no key for only types text.
        {SDL_Keycode(0xDF), SDL_SCANCODE_MINUS, 0},
        {SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN, 0},
    };
    for (auto& c : cases)
        EXPECT_EQ(SdlVirtualKey(c.Sym, c.Scan), c.Vk) << "key " << c.Sym << " at " << int(c.Scan);
}

TEST(SdlKeys, StandardCursorsBecomeSystemCursors)
{
    EXPECT_EQ(SdlSystemCursor(IDC_ARROW), SDL_SYSTEM_CURSOR_ARROW);
    EXPECT_EQ(SdlSystemCursor(IDC_IBEAM), SDL_SYSTEM_CURSOR_IBEAM);
    EXPECT_EQ(SdlSystemCursor(IDC_HAND), SDL_SYSTEM_CURSOR_HAND);
    EXPECT_EQ(SdlSystemCursor(IDC_SIZEWE), SDL_SYSTEM_CURSOR_SIZEWE);
    EXPECT_EQ(SdlSystemCursor(IDC_SIZENS), SDL_SYSTEM_CURSOR_SIZENS);
    EXPECT_EQ(SdlSystemCursor(IDC_SIZENWSE), SDL_SYSTEM_CURSOR_SIZENWSE);
    EXPECT_EQ(SdlSystemCursor(IDC_SIZEALL), SDL_SYSTEM_CURSOR_SIZEALL);
    EXPECT_EQ(SdlSystemCursor(IDC_WAIT), SDL_SYSTEM_CURSOR_WAIT);
    EXPECT_EQ(SdlSystemCursor(IDC_NO), SDL_SYSTEM_CURSOR_NO);
    // Cursors of the program's own have no desktop shape: the arrow stands in.
    EXPECT_EQ(SdlSystemCursor(0x12345), SDL_SYSTEM_CURSOR_ARROW);
}

TEST(SdlBackendChoice, WithoutADisplayTheHeadlessBackendIsChosen)
{
    unsetenv("DISPLAY");
    setenv("WAYLAND_DISPLAY", "", 1);
    EXPECT_FALSE(InstallDefaultBackend());
    EXPECT_EQ(Backend().Name(), L"headless");

    // No desktop: no desktop clipboard either.
    BackendSetClipboardText(L"kept nowhere");
    String text = L"untouched";
    EXPECT_FALSE(BackendGetClipboardText(text));
    EXPECT_EQ(text, L"untouched");
    SetBackend(nullptr);
}
