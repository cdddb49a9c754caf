// The gradient routines every menu surface is painted with, and the switch
// of the menu animation.
#include "controls/chrome/VodMenus.h"

#include <algorithm>

namespace {

// kSendChange: tell the other windows of the change.
constexpr UINT kSendChange = 2;
bool GSavedAnimation = false;
bool GStarted = false;

TColor Lerp(Integer r0, Integer g0, Integer b0, Integer dr, Integer dg, Integer db, Integer i, Integer n)
{
    return PackColor(r0 + i * dr / n, g0 + i * dg / n, b0 + i * db / n);
}

}  // namespace

void MenuGradientFill(TCanvas* Canvas, TRect R, TColor Color, TColor ColorTo, TGradientDirection Direction)
{
    if (ColorTo == clNone) ColorTo = Color;
    if (ColorTo == Color) {
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(Color);
        Canvas->FillRect(R);
        return;
    }
    Integer r0, g0, b0, r1, g1, b1;
    ColorToParts(Color, r0, g0, b0);
    ColorToParts(ColorTo, r1, g1, b1);
    const Integer dr = r1 - r0, dg = g1 - g0, db = b1 - b0;
    const Integer h = R.Bottom - R.Top, w = R.Right - R.Left;
    if (h <= 0) return;
    Canvas->Pen()->SetStyle(psSolid);
    Canvas->Pen()->SetWidth(1);
    if (Direction == gdVertical) {
        for (Integer y = R.Top; y < R.Bottom; ++y) {
            Canvas->Pen()->SetColor(Lerp(r0, g0, b0, dr, dg, db, y - R.Top, h));
            Canvas->MoveTo(R.Left, y);
            Canvas->LineTo(R.Left + w, y);
        }
    } else if (w > 0) {
        for (Integer x = R.Left; x < R.Right; ++x) {
            Canvas->Pen()->SetColor(Lerp(r0, g0, b0, dr, dg, db, x - R.Left, w));
            Canvas->MoveTo(x, R.Top);
            Canvas->LineTo(x, R.Bottom);
        }
    }
}

void MenuClippedGradient(TCanvas* Canvas, TRect Full, TRect Clip, TColor Color, TColor ColorTo,
                         TGradientDirection Direction)
{
    TRect r;
    if (!IntersectRect(r, Clip, Full) || r.Right <= r.Left || r.Bottom <= r.Top) return;
    Integer r0, g0, b0, r1, g1, b1;
    ColorToParts(Color, r0, g0, b0);
    ColorToParts(ColorTo == clNone ? Color : ColorTo, r1, g1, b1);
    const bool horizontal = Direction == gdHorizontal;
    const Integer b = horizontal ? Full.Right - Full.Left : Full.Bottom - Full.Top;
    if (b <= 0) return;
    const Integer p1 = horizontal ? r.Left - Full.Left : r.Top - Full.Top;
    const Integer p2 = horizontal ? r.Right - Full.Left : r.Bottom - Full.Top;
    const TColor from = Lerp(r0, g0, b0, r1 - r0, g1 - g0, b1 - b0, p1, b);
    const TColor to = Lerp(r0, g0, b0, r1 - r0, g1 - g0, b1 - b0, p2, b);
    MenuGradientFill(Canvas, r, from, to, Direction);
}

void MenuGradientBox(TCanvas* Canvas, TRect R, TColor Color, TColor ColorTo, TGradientDirection Direction,
                     TColor BorderColor, bool Fill)
{
    if (Fill && Color != clNone) MenuGradientFill(Canvas, R, Color, ColorTo, Direction);
    if (BorderColor != clNone) {
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(BorderColor);
        Canvas->FrameRect(R);
    }
}

void MenuMirrorGradientBox(TCanvas* Canvas, TRect R, TColor Color, TColor ColorTo, TColor ColorMirror,
                           TColor ColorMirrorTo, TGradientDirection Direction, TColor BorderColor, bool Fill)
{
    if (Fill && Color != clNone) {
        if (ColorMirror == clNone) {
            MenuGradientFill(Canvas, R, Color, ColorTo, Direction);
        } else {
            const Integer m = R.Top + (R.Bottom - R.Top) / 2;
            MenuGradientFill(Canvas, TRect{R.Left, R.Top, R.Right, m}, Color, ColorTo, Direction);
            MenuGradientFill(Canvas, TRect{R.Left, m, R.Right, R.Bottom}, ColorMirror, ColorMirrorTo, Direction);
        }
    }
    if (BorderColor != clNone) {
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(BorderColor);
        Canvas->FrameRect(R);
    }
}

void MenuGradientBand(TCanvas* Canvas, TRect R, TColor Color, TColor ColorTo, TGradientDirection Direction,
                      TGradientType Type, Integer GradientWidth, Integer Margin)
{
    const TColor E = ColorTo == clNone ? Color : ColorTo;
    Integer g = GradientWidth;
    auto solid = [&](TColor c, const TRect& r) {
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(c);
        Canvas->FillRect(r);
    };
    if (Direction == gdVertical) {
        R.Top += Margin;
        R.Bottom -= Margin;
        if (Type == gtBoth) g = 2 * g;
        const Integer h = R.Bottom - R.Top;
        if (g >= h) {
            g = h;
        } else {
            switch (Type) {
            case gtLeft: solid(E, TRect{R.Left, R.Top, R.Right, R.Bottom - g}); break;
            case gtRight: solid(E, TRect{R.Left, R.Top + g, R.Right, R.Bottom}); break;
            case gtBoth: solid(Color, TRect{R.Left, R.Top + g / 2, R.Right, R.Bottom - g / 2}); break;
            }
        }
        if (g <= 0) return;
        switch (Type) {
        case gtLeft: MenuGradientFill(Canvas, TRect{R.Left, R.Bottom - g, R.Right, R.Bottom}, E, Color, gdVertical); break;
        case gtRight: MenuGradientFill(Canvas, TRect{R.Left, R.Top, R.Right, R.Top + g}, Color, E, gdVertical); break;
        case gtBoth:
            MenuGradientFill(Canvas, TRect{R.Left, R.Top, R.Right, R.Top + g / 2}, E, Color, gdVertical);
            MenuGradientFill(Canvas, TRect{R.Left, R.Bottom - g / 2, R.Right, R.Bottom}, Color, E, gdVertical);
            break;
        }
    } else {
        R.Left += Margin;
        R.Right -= Margin;
        const Integer w = R.Right - R.Left;
        if (g >= w) {
            g = w;
        } else {
            switch (Type) {
            case gtLeft: solid(E, TRect{R.Left + g, R.Top, R.Right, R.Bottom}); break;
            case gtRight: solid(E, TRect{R.Left, R.Top, R.Right - g, R.Bottom}); break;
            case gtBoth: solid(Color, TRect{R.Left + g / 2, R.Top, R.Right - g / 2, R.Bottom}); break;
            }
        }
        if (g <= 0) return;
        switch (Type) {
        case gtLeft: MenuGradientFill(Canvas, TRect{R.Left, R.Top, R.Left + g, R.Bottom}, Color, E, gdHorizontal); break;
        case gtRight: MenuGradientFill(Canvas, TRect{R.Right - g, R.Top, R.Right, R.Bottom}, E, Color, gdHorizontal); break;
        case gtBoth:
            MenuGradientFill(Canvas, TRect{R.Left, R.Top, R.Left + g / 2, R.Bottom}, E, Color, gdHorizontal);
            MenuGradientFill(Canvas, TRect{R.Right - g / 2, R.Top, R.Right, R.Bottom}, Color, E, gdHorizontal);
            break;
        }
    }
}

void SwitchMenuAnimationOff()
{
    SystemParametersInfo(SPI_SETMENUANIMATION, 0, reinterpret_cast<void*>(FALSE), kSendChange);
}

void VodMenusStartup()
{
    if (GStarted) return;
    GStarted = true;
    LookUpLayeredWindowFunctions();
    RegisterMenuGlyphResources();
    BOOL on = FALSE;
    if (SystemParametersInfo(SPI_GETMENUANIMATION, 0, &on, 0)) GSavedAnimation = on != FALSE;
    SwitchMenuAnimationOff();
}

void VodMenusShutdown()
{
    if (!GStarted) return;
    GStarted = false;
    SystemParametersInfo(SPI_SETMENUANIMATION, 0, reinterpret_cast<void*>(intptr_t(GSavedAnimation ? TRUE : FALSE)),
                         kSendChange);
}

bool SavedMenuAnimation() { return GSavedAnimation; }
