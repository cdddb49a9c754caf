// VodUtil: the free routines the control library shares: gradients, colour
// arithmetic, cell shapes, themed button parts, progress painters, value
// classification, number and date readers, the clipboard HTML writer, filter
// matching and text helpers. One header; the sources are split by family
// (VodUtil_Drawing.cpp, VodUtil_Values.cpp, ...).
#pragma once

#include "controls/foundation/VodStyleIF.h"
#include "platform/base/SysUtils.h"
#include "platform/base/Types.h"
#include "platform/gfx/Graphics.h"

// ---------------------------------------------------------------------------
// Drawing: gradients, colours, shapes, glyphs, layered-window calls
// ---------------------------------------------------------------------------

class TWinControl;

// Fills R with Steps + 1 bands from FromColor to ToColor; Direction true
// runs the colour from left to right, false from top to bottom.
void DrawGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, Integer Steps, TRect R,
                  bool Direction);
// A panel or footer background: solid, one gradient, or two gradient halves
// (the second the mirror pair), then a frame or two side lines.
void DrawGradientBackground(TCanvas* Canvas, TRect R, TColor Color, TColor ColorTo,
                            TColor ColorMirror, TColor ColorMirrorTo, bool Vertical,
                            TColor BorderColor, bool SideBordersOnly, bool Fill);
// One segment of a rounded two-colour button face: Kind 0 both ends
// rounded, 1 the left end, 2 the right end, 3 a middle piece.
void DrawButtonSegment(TCanvas* Canvas, TColor Color, TColor ColorTo, TColor ColorMirror,
                       TColor ColorMirrorTo, TColor InnerTopColor, TColor InnerBottomColor,
                       TColor BorderColor, TColor CornerColor, TColor OuterCornerColor, TRect R,
                       Byte Kind);
// The colour at Pos of the range Min..Max; Pos counts from 0, not from Min.
TColor InterpolateColor(TColor FromColor, TColor ToColor, Integer Min, Integer Max, Integer Pos);
TColor HalfColor(TColor Color);
TColor AdjustColorBrightness(TColor Color, Integer Percent);

// The shapes a grid cell can show.
enum TCellShape : Byte {
    csRectangle, csCircle, csTriangleLeft, csTriangleRight, csTriangleUp, csTriangleDown,
    csDiamond, csLineVert, csLineHorz, csRoundRect, csEllips, csSquare, csRoundSquare, csStar,
    csArrowUp, csArrowDown, csArrowLeft, csArrowRight, csHalfStar,
};
void DrawCellShape(TCanvas* Canvas, Integer X, Integer Y, Integer Width, Integer Height,
                   TCellShape Shape, TColor BrushColor, TColor PenColor);
void DrawDropTriangle(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
void FillRectWithColor(TCanvas* Canvas, const TRect& R, TColor Color);
// The module's bitmap resource ResName, drawn with DrawBitmapTransparent.
void DrawResourceBitmap(TCanvas* Canvas, TColor BkColor, const TRect& R, const String& ResName);
// Bitmap at R's top-left, the colour of its pixel (0, 0) drawn in BkColor.
void DrawBitmapTransparent(TCanvas* Canvas, TBitmap* Bitmap, TColor BkColor, const TRect& R);
// A red zig-zag under Length characters of Text from Start (0-based), at
// the places a single-line edit at R would show them.
void DrawWavyUnderline(TWinControl* Owner, TCanvas* Canvas, const String& Text, const TRect& R,
                       Integer YOffset, Integer Start, Integer Length);
// The layered-window calls of "USER32.DLL", looked up at each call; true
// without doing anything when the function is not there.
bool DynUpdateLayeredWindow(HWND hwnd, HDC dst, const TPoint* dstPos, const TSize* size, HDC src,
                            const TPoint* srcPos, COLORREF key, const BLENDFUNCTION* blend,
                            DWORD flags);
bool DynSetLayeredWindowAttributes(HWND hwnd, COLORREF key, Byte alpha, DWORD flags);



// ---------------------------------------------------------------------------
// Combo, push and spin button parts
// ---------------------------------------------------------------------------

// How a part is drawn: through the theme functions, as the platform's
// classic or flat frame control, or in the caller's own colours.
enum TPartKind : Byte { pkThemed, pkClassic, pkFlat, pkOwnColors };
enum TPartState : Byte { pstNormal, pstHot, pstDown, pstDisabled };

// The drop-down button at the right end of an editor rectangle R; Scale is
// the display scaling factor. Handle is the window the theme data is
// opened for.
void DrawComboButton(TCanvas* Canvas, HWND Handle, TRect R, TPartKind Kind, TPartState State,
                     const TColorTones& Colors, float Scale);
// A push button over R with its caption centred (Prefix: "&" marks the
// accelerator).
void DrawPushButton(TCanvas* Canvas, HWND Handle, TRect R, TPartKind Kind, TPartState State,
                    const TColorTones& Colors, bool Prefix, const String& Caption);
// The up and down buttons at the right end of an editor rectangle R.
void DrawSpinButtons(TCanvas* Canvas, HWND Handle, TRect R, TPartKind Kind, TPartState State,
                     const TColorTones& Colors);



// ---------------------------------------------------------------------------
// Progress indicators
// ---------------------------------------------------------------------------

// The look of DrawStyledProgress. Font is the caller's, not owned.
struct TProgressLook {
    TColor Level0Color = clNone, Level0ColorTo = clNone;
    TColor Level1Color = clNone, Level1ColorTo = clNone;
    TColor Level2Color = clNone, Level2ColorTo = clNone;
    TColor Level3Color = clNone, Level3ColorTo = clNone;
    Integer Level1Perc = 0, Level2Perc = 0;
    TColor BorderColor = clNone;
    bool ShowBorder = false, Stacked = false, ShowPercentage = false;
    TFont* Font = nullptr;   // null: the canvas's font as it is
    TColor FontColor = clNone;
    bool CompletionSmooth = false, ShowGradient = false;
    Integer Steps = 0;
    TColor BackgroundColor = clNone;
    bool Vertical = false;
};

// A levelled bar of Position percent, in blocks or smooth, stacked or in
// one level's colours, with the percentage (rotated on a vertical bar).
void DrawStyledProgress(TCanvas* Canvas, TRect R, Integer Position, const TProgressLook& Look);
// A two-colour bar with its value as text in both colours. Fmt (the
// platform's Format) takes Position as an integer when its first "d" (or
// else "u") conversion asks for one, else as a floating-point value.
void DrawSimpleProgress(TCanvas* Canvas, TRect R, TColor Color, TColor TextColor, TColor ColorTo,
                        TColor TextColorTo, double Position, Integer XMargin, Integer YMargin,
                        Integer Min, Integer Max, const String& Fmt, TColor BorderColor,
                        bool Print);
// A pie of Percent, filled clockwise from the top; the circle itself is
// filled with the canvas's brush as the caller left it.
void DrawProgressPie(TCanvas* Canvas, const TRect& R, TColor Color, Integer Percent, bool Print);
// A bar growing left (negative) or right from the middle of R.
void DrawBalanceBar(TCanvas* Canvas, TRect R, Integer Value, Integer Max, bool ShowValue,
                    TColor NegativeColor, TColor PositiveColor);



// ---------------------------------------------------------------------------
// Values: classes of cell texts, numbers, dates
// ---------------------------------------------------------------------------



// ---------------------------------------------------------------------------
// Clipboard HTML writer and filter matching
// ---------------------------------------------------------------------------



// ---------------------------------------------------------------------------
// Text, line and cell-text routines
// ---------------------------------------------------------------------------


