// VodMenuUtil: the small routines the popup menu family shares: rectangle and
// colour arithmetic, a rotated font, the exception of the appearance
// classes' indexed colours, the layered-window look-up and the desktop's
// colour scheme.
#pragma once

#include "platform/base/Exceptions.h"
#include "platform/gfx/Graphics.h"
#include "platform/os/Modules.h"

// Raised by an indexed colour property given an index it does not have;
// the message is "Invalid property index %d." with that index.
VEL_DECLARE_EXCEPTION(EInvalidPropertyIndex, Exception)
[[noreturn]] void RaiseInvalidPropertyIndex(Integer Index);

// A new font handle like Font, its escapement Angle whole degrees; the
// caller selects it and deletes it.
HFONT CreateRotatedFont(TFont* Font, Integer Angle);

inline Integer RectWidth(const TRect& R) { return R.Right - R.Left; }
inline Integer RectHeight(const TRect& R) { return R.Bottom - R.Top; }
// R becomes a W x H rectangle centred in R (halves truncated toward zero).
void CenterRect(TRect& R, Integer W, Integer H);
// Dest takes Source's description; when only the colour differs, only the
// colour is set, so the font handle Dest holds is kept (painting code calls
// this once per item or paint).
void AssignFontIfDiffers(TFont* Dest, TFont* Source);
// (0, 0, width, height) of the bitmap; the empty rectangle for none.
TRect BitmapRect(TBitmap* Bitmap);
// Red, green and blue (0..255) of a colour, a system colour resolved now.
void ColorToParts(TColor Color, Integer& R, Integer& G, Integer& B);
// Red lowest, then green, blue and the fourth byte highest.
TColor PackColor(Integer R, Integer G, Integer B, Integer Fourth = 0);

// The layered-window calls as the menu unit found them at start-up
// ("user32.dll"); nothing of the menus calls them.
struct TLayeredWindowFunctions {
    FARPROC UpdateLayeredWindow = nullptr;
    FARPROC SetLayeredWindowAttributes = nullptr;
    bool Found = false;   // SetLayeredWindowAttributes was there
};
const TLayeredWindowFunctions& LayeredWindowFunctions();
void LookUpLayeredWindowFunctions();

// The desktop's colour scheme: 1 "NormalColor", 2 "HomeStead", 3 "Metallic",
// 0 for any other, for a system before Windows XP, without the theme
// library or without an active theme.
Integer CurrentXPTheme();
