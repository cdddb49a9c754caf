// Internals of the theme-parts renderer shared by its sources; not for use
// outside Themes.cpp and ThemeParts_*.cpp.
#pragma once

#include <cairo.h>

#include "platform/ui/Themes.h"

enum class TThemeClass {
    Button, ComboBox, Spin, Header, Progress, Window, Edit, ScrollBar, ToolBar, Menu,
};

// The colours a part shows in a state. Absent colours (CLR_NONE) are not
// drawn: the part is transparent there.
struct TPartLook {
    COLORREF Fill = CLR_NONE;
    COLORREF Border = CLR_NONE;
    COLORREF Glyph = CLR_NONE;   // marks, arrows, dots
    COLORREF Text = RGB(0, 0, 0);
};

// Drawing in logical units with pixel-exact rectangles; rect (L,T,R,B)
// covers the pixels L..R-1 and T..B-1 as GDI does.
class TThemePainter {
public:
    explicit TThemePainter(cairo_t* cr) : FCr(cr) {}
    cairo_t* Cr() const { return FCr; }

    void Fill(const TRect& r, COLORREF c);
    // A one-pixel frame inside r.
    void Frame(const TRect& r, COLORREF c, int width = 1);
    // A filled box with a one-pixel border; either colour may be CLR_NONE.
    void Box(const TRect& r, const TPartLook& look);
    void HLine(int x0, int x1, int y, COLORREF c) { Fill(TRect{x0, y, x1, y + 1}, c); }
    void VLine(int x, int y0, int y1, COLORREF c) { Fill(TRect{x, y0, x + 1, y1}, c); }
    // A solid triangle of rows of pixels, pointing in dir (0 up, 1 down,
    // 2 left, 3 right), centred in r; size is the length of its longest row
    // (odd; clamped to what fits).
    void Arrow(const TRect& r, int dir, int size, COLORREF c);
    // Anti-aliased shapes.
    void Disc(double cx, double cy, double radius, COLORREF c);
    void Ring(double cx, double cy, double radius, COLORREF c);   // 1-pixel outline
    void Stroke(const double* xy, int points, double width, COLORREF c);

private:
    void SetColor(COLORREF c);
    cairo_t* FCr;
};

// A rectangle of size w x h centred in r (clamped to r).
TRect CentredRect(const TRect& r, int w, int h);

// Each family paints its classes' parts and answers false for an unknown
// part: ThemeParts_Controls.cpp the button, combobox, spin, header, progress
// and edit classes, ThemeParts_Frames.cpp the window, scrollbar, toolbar and
// menu classes. Looks answer the colours of a part in a state (GetThemeColor and the
// painters use the same answers).
bool PaintControlPart(TThemePainter& p, TThemeClass cls, int part, int state,
                          const TRect& r);
bool LookControlPart(TThemeClass cls, int part, int state, TPartLook& look);
bool PaintFramePart(TThemePainter& p, TThemeClass cls, int part, int state,
                          const TRect& r);
bool LookFramePart(TThemeClass cls, int part, int state, TPartLook& look);

// Button-like state colours shared by several classes: 1 normal, 2 hot,
// 3 pressed, 4 disabled.
TPartLook PushLook(int state);
