// What the combo box, the date-time picker and the edit button ask of the
// system before they choose between their themed, flat and classic looks:
// the common-controls version, the system version, whether a visual style
// is active (through the bound theme functions), the themed part drawing,
// and the scale of designed label fonts on the current screen.
#pragma once

#include "platform/gfx/Gdi.h"
#include "platform/ui/Windows.h"

namespace VodEdits {

// The major file version of "COMCTL32.DLL" (high word of its file version);
// 0 when it cannot be read.
Integer ComCtl32MajorVersion();
// Windows XP (5.1) or later.
bool IsWinXPOrLater();
// True when the bound theme functions are there and report an active theme.
bool ThemeActive();
// Draws one part through the bound theme functions (opened on the window
// with the class name, closed after use); false when nothing was drawn.
bool DrawThemedPart(HWND Wnd, HDC DC, const wchar_t* ClassName, int Part, int State, const TRect& R);
// 1.0 at 96 pixels per inch; otherwise the height of "0" in a 9-point font
// at the screen's resolution over that height at 96 pixels per inch.
float ScreenScale();
// Value rounded to the nearest integer, halves to the even neighbour.
Integer RoundScaled(float Scale, Integer Value);
// The left or the right mouse button is down now.
bool IsMouseButtonDown();

}  // namespace VodEdits
