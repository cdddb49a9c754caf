// The shared drawing routines: stepped gradients and the backgrounds and
// button faces built on them, colour arithmetic, cell shapes, small glyphs,
// transparent bitmaps, the wavy error underline and the guarded
// layered-window calls. Nothing here saves or restores the canvas: each
// routine leaves pen and brush as it last set them.
#include "controls/foundation/VodUtil.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <utility>

#include "platform/base/Resources.h"
#include "platform/os/Modules.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/Windows.h"

namespace {

Byte ClampChannel(Int64 v) { return Byte(std::clamp<Int64>(v, 0, 255)); }

TColor RGBColor(Int64 r, Int64 g, Int64 b)
{
    return TColor(RGB(ClampChannel(r), ClampChannel(g), ClampChannel(b)));
}

void PenAndBrush(TCanvas* Canvas, TColor c)
{
    Canvas->Pen()->SetColor(c);
    Canvas->Brush()->SetColor(c);
}

void Line(TCanvas* Canvas, int x1, int y1, int x2, int y2)
{
    Canvas->MoveTo(x1, y1);
    Canvas->LineTo(x2, y2);
}

}  // namespace

// ---------------------------------------------------------------------------
// Gradients and button faces

void DrawGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, Integer Steps, TRect R,
                  bool Direction)
{
    if (R.Top == R.Bottom) return;
    if (R.Bottom < R.Top) std::swap(R.Top, R.Bottom);
    if (ToColor == clNone || FromColor == clNone) {
        // One colour missing: the other fills the whole rectangle; with
        // neither there is nothing to paint.
        TColor c = ToColor == clNone ? FromColor : ToColor;
        if (c == clNone) return;
        PenAndBrush(Canvas, c);
        Canvas->Rectangle(R);
        return;
    }

    const Integer extent = Direction ? R.Right - R.Left - 1 : R.Bottom - R.Top - 1;
    Steps = std::max(std::min(Steps, extent), 1);
    const double band = double(extent) / Steps;
    const Integer bandSize = Integer(Trunc(band + 1));

    const COLORREF from = COLORREF(ColorToRGB(FromColor)), to = COLORREF(ColorToRGB(ToColor));
    const int fr = GetRValue(from), fg = GetGValue(from), fb = GetBValue(from);
    const double dr = double(int(GetRValue(to)) - fr) / Steps;
    const double dg = double(int(GetGValue(to)) - fg) / Steps;
    const double db = double(int(GetBValue(to)) - fb) / Steps;

    for (Integer i = 0; i <= Steps; ++i) {
        TColor c = RGBColor(fr + Round(i * dr), fg + Round(i * dg), fb + Round(i * db));
        PenAndBrush(Canvas, c);
        const Integer offset = Integer(Trunc(i * band));
        if (Direction)
            Canvas->Rectangle(R.Left + offset, R.Top, std::min(R.Right, R.Left + offset + bandSize),
                              R.Bottom);
        else
            Canvas->Rectangle(R.Left, R.Top + offset, R.Right,
                              std::min(R.Bottom, R.Top + offset + bandSize));
    }
}

void DrawGradientBackground(TCanvas* Canvas, TRect R, TColor Color, TColor ColorTo,
                            TColor ColorMirror, TColor ColorMirrorTo, bool Vertical,
                            TColor BorderColor, bool SideBordersOnly, bool Fill)
{
    if (Fill && Color != clNone) {
        if (ColorMirror == clNone && ColorTo == clNone) {
            Canvas->Brush()->SetColor(Color);
            Canvas->Brush()->SetStyle(bsSolid);
            Canvas->Pen()->SetColor(Color);
            Canvas->Pen()->SetWidth(1);
            Canvas->Pen()->SetStyle(psSolid);
            ++R.Bottom;   // the frame below goes round the grown rectangle too
            Canvas->FillRect(R);
        } else if (ColorMirror == clNone) {
            DrawGradient(Canvas, Color, ColorTo, 128, R, !Vertical);
        } else {
            TRect first = R, second = R;
            if (Vertical)
                first.Bottom = second.Top = R.Top + (R.Bottom - R.Top) / 2;
            else
                first.Right = second.Left = R.Left + (R.Right - R.Left) / 2;
            DrawGradient(Canvas, Color, ColorTo, 128, first, !Vertical);
            DrawGradient(Canvas, ColorMirror, ColorMirrorTo, 128, second, !Vertical);
        }
    }
    if (BorderColor != clNone) {
        if (SideBordersOnly) {
            Canvas->Pen()->SetColor(BorderColor);
            Line(Canvas, R.Left, R.Top, R.Left, R.Bottom);
            Line(Canvas, R.Right - 1, R.Top, R.Right - 1, R.Bottom);
        } else {
            Canvas->Brush()->SetColor(BorderColor);
            Canvas->FrameRect(R);
        }
    }
}

void DrawButtonSegment(TCanvas* Canvas, TColor Color, TColor ColorTo, TColor ColorMirror,
                       TColor ColorMirrorTo, TColor InnerTopColor, TColor InnerBottomColor,
                       TColor BorderColor, TColor CornerColor, TColor OuterCornerColor, TRect R,
                       Byte Kind)
{
    const int L = R.Left, T = R.Top, Rr = R.Right - 1, B = R.Bottom - 2;
    const int M = T + (B - T) / 2;
    const bool leftRound = Kind == 0 || Kind == 1;
    const bool rightRound = Kind == 0 || Kind == 2;
    const int li = Kind == 2 || Kind == 3 ? 0 : 2;
    const int ri = Kind == 1 || Kind == 3 ? 0 : 2;

    Canvas->Pen()->SetColor(InnerTopColor);
    Line(Canvas, L, T + 1, Rr, T + 1);
    if (leftRound) Line(Canvas, L + 1, T + 1, L + 1, M);
    if (rightRound) Line(Canvas, Rr - 2, T + 1, Rr - 2, M);

    Canvas->Pen()->SetColor(InnerBottomColor);
    Line(Canvas, L, B - 1, Rr, B - 1);
    if (leftRound) Line(Canvas, L + 1, M, L + 1, B - 1);
    if (rightRound) Line(Canvas, Rr - 2, M, Rr - 2, B - 1);

    Canvas->Pen()->SetColor(BorderColor);
    Line(Canvas, L + li, T, Rr - ri, T);
    Line(Canvas, L + li, B, Rr - ri, B);
    if (rightRound) Line(Canvas, Rr - 1, T + 2, Rr - 1, B - 1);
    if (leftRound) Line(Canvas, L, T + 2, L, B - 1);

    if (leftRound) {
        for (TPoint p : {Point(L + 1, T), Point(L + 1, T + 1), Point(L, T + 1), Point(L + 1, B),
                         Point(L + 1, B - 1), Point(L, B - 1)})
            Canvas->SetPixels(p.X, p.Y, CornerColor);
        Canvas->SetPixels(L, T, OuterCornerColor);
        Canvas->SetPixels(L, B, OuterCornerColor);
    }
    if (rightRound) {
        for (TPoint p : {Point(Rr - 2, T), Point(Rr - 2, T + 1), Point(Rr - 1, T + 1), Point(Rr - 2, B),
                         Point(Rr - 2, B - 1), Point(Rr - 1, B - 1)})
            Canvas->SetPixels(p.X, p.Y, CornerColor);
        Canvas->SetPixels(Rr - 1, T, OuterCornerColor);
        Canvas->SetPixels(Rr - 1, B, OuterCornerColor);
    }

    const TRect face = Rect(L + li, T + 2, Rr - ri, B - 1);
    if (ColorTo == clNone) {
        PenAndBrush(Canvas, Color);
        Canvas->FillRect(face);
    } else if (ColorMirror == clNone) {
        DrawGradient(Canvas, Color, ColorTo, 16, face, false);
    } else {
        TRect upper = face, lower = face;
        upper.Bottom = lower.Top = face.Top + (face.Bottom - face.Top) / 2;
        DrawGradient(Canvas, Color, ColorTo, 16, upper, false);
        DrawGradient(Canvas, ColorMirror, ColorMirrorTo, 16, lower, false);
    }
}

// ---------------------------------------------------------------------------
// Colour arithmetic

TColor InterpolateColor(TColor FromColor, TColor ToColor, Integer Min, Integer Max, Integer Pos)
{
    if (ToColor == clNone || Max == Min) return FromColor;
    const COLORREF from = COLORREF(ColorToRGB(FromColor)), to = COLORREF(ColorToRGB(ToColor));
    const double range = double(Max) - double(Min);
    auto channel = [&](int f, int t) { return f + Round((t - f) / range * Pos); };
    return RGBColor(channel(GetRValue(from), GetRValue(to)), channel(GetGValue(from), GetGValue(to)),
                    channel(GetBValue(from), GetBValue(to)));
}

TColor HalfColor(TColor Color)
{
    const COLORREF c = COLORREF(ColorToRGB(Color));
    return TColor(RGB(GetRValue(c) >> 1, GetGValue(c) >> 1, GetBValue(c) >> 1));
}

TColor AdjustColorBrightness(TColor Color, Integer Percent)
{
    const COLORREF c = COLORREF(ColorToRGB(Color));
    auto channel = [&](int v) { return v + Round(v * double(Percent) / 100); };
    return RGBColor(channel(GetRValue(c)), channel(GetGValue(c)), channel(GetBValue(c)));
}

// ---------------------------------------------------------------------------
// Shapes and glyphs

namespace {

// The star's points at k * 36 degrees clockwise from straight up; the
// even ones on the outer ellipse, the odd ones on one a third its size.
TPoint StarPoint(int k, int Cx, int Y, int Mx, int My)
{
    const double angle = k * 36.0 * std::numbers::pi / 180.0;
    const double r = k % 2 == 0 ? Mx : Mx / 3.0;
    const double s = k % 2 == 0 ? My : My / 3.0;
    return Point(Cx + Integer(Round(std::sin(angle) * r)), Y + My - Integer(Round(std::cos(angle) * s)));
}

}  // namespace

void DrawCellShape(TCanvas* Canvas, Integer X, Integer Y, Integer Width, Integer Height,
                   TCellShape Shape, TColor BrushColor, TColor PenColor)
{
    Canvas->Brush()->SetColor(BrushColor);
    Canvas->Pen()->SetColor(PenColor);
    if (Shape == csCircle || Shape == csSquare || Shape == csRoundSquare) Width = Height = std::min(Width, Height);

    const int Mx = Width / 2, My = Height / 2, Cx = X + Mx, Rt = X + Width, Bt = Y + Height;
    const int We = Width / 2 * 2, He = Height / 2 * 2, Q4 = He / 4, Q3 = 3 * Q4;

    switch (Shape) {
    case csRectangle:
    case csSquare: Canvas->Rectangle(X + 1, Y + 1, Rt - 1, Bt - 1); break;
    case csCircle:
    case csEllips: Canvas->Ellipse(X, Y, Rt, Bt); break;
    case csTriangleLeft: Canvas->Polygon({Point(Rt, Y), Point(Rt, Bt), Point(X, Y + My)}); break;
    case csTriangleRight: Canvas->Polygon({Point(X, Y), Point(X, Bt), Point(Rt, Y + My)}); break;
    case csTriangleUp: Canvas->Polygon({Point(X, Bt), Point(Rt, Bt), Point(Cx, Y)}); break;
    case csTriangleDown: Canvas->Polygon({Point(X, Y), Point(Rt, Y), Point(Cx, Bt)}); break;
    case csDiamond:
        Canvas->Polygon({Point(X, Y + My), Point(Cx, Y), Point(X + 2 * Mx, Y + My), Point(Cx, Y + 2 * My)});
        break;
    case csLineVert: Canvas->Rectangle(Cx, Y, Cx + 1, Bt); break;
    case csLineHorz: Canvas->Rectangle(X, Y + My, Rt, Y + My + 1); break;
    case csRoundRect:
    case csRoundSquare: Canvas->RoundRect(X, Y, Rt, Bt, 10, 10); break;
    case csStar: {
        std::vector<TPoint> pts;
        for (int k = 0; k < 10; ++k) pts.push_back(StarPoint(k, Cx, Y, Mx, My));
        Canvas->Polygon(pts);
        break;
    }
    case csHalfStar: {
        std::vector<TPoint> pts;
        for (int k : {0, 5, 6, 7, 8, 9}) pts.push_back(StarPoint(k, Cx, Y, Mx, My));
        Canvas->Polygon(pts);
        break;
    }
    case csArrowUp:
        Canvas->Polygon({Point(X, Y + My), Point(X + We / 2, Y), Point(X + We, Y + My),
                         Point(X + 3 * (We / 4), Y + My), Point(X + 3 * (We / 4), Bt),
                         Point(X + We / 4, Bt), Point(X + We / 4, Y + My)});
        break;
    case csArrowDown:
        Canvas->Polygon({Point(X, Y + My), Point(X + We / 2, Bt), Point(X + We, Y + My),
                         Point(X + 3 * (We / 4), Y + My), Point(X + 3 * (We / 4), Y),
                         Point(X + We / 4, Y), Point(X + We / 4, Y + My)});
        break;
    case csArrowLeft:
        Canvas->Polygon({Point(X, Y + He / 2), Point(Cx, Y), Point(Cx, Y + Q4), Point(Rt, Y + Q4),
                         Point(Rt, Y + Q3), Point(Cx, Y + Q3), Point(Cx, Y + He)});
        break;
    case csArrowRight:
        Canvas->Polygon({Point(Rt, Y + He / 2), Point(Cx, Y), Point(Cx, Y + Q4), Point(X, Y + Q4),
                         Point(X, Y + Q3), Point(Cx, Y + Q3), Point(Cx, Y + He)});
        break;
    default: break;   // not a shape: nothing is drawn
    }
}

void DrawDropTriangle(TCanvas* Canvas, Integer X, Integer Y, TColor Color)
{
    PenAndBrush(Canvas, Color);
    Canvas->Polygon({Point(X - 3, Y), Point(X + 3, Y), Point(X, Y + 3)});
}

void FillRectWithColor(TCanvas* Canvas, const TRect& R, TColor Color)
{
    Canvas->Brush()->SetColor(Color);
    Canvas->FillRect(R);
}

// ---------------------------------------------------------------------------
// Bitmaps

void DrawBitmapTransparent(TCanvas* Canvas, TBitmap* Bitmap, TColor BkColor, const TRect& R)
{
    if (!Bitmap || Bitmap->Empty()) return;
    const int w = Bitmap->Width(), h = Bitmap->Height();
    const TRect all = Rect(0, 0, w, h);
    auto work = std::make_unique<TBitmap>(w, h);
    work->Canvas()->Brush()->SetColor(BkColor);
    work->Canvas()->BrushCopy(all, Bitmap->Handle(), all, Bitmap->Canvas()->Pixels(0, 0));
    Canvas->CopyRect(Bounds(R.Left, R.Top, w, h), work->Canvas(), all);
}

void DrawResourceBitmap(TCanvas* Canvas, TColor BkColor, const TRect& R, const String& ResName)
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->LoadFromResourceName(HInstance, ResName);
    DrawBitmapTransparent(Canvas, bitmap.get(), BkColor, R);
}

// ---------------------------------------------------------------------------
// The wavy underline

void DrawWavyUnderline(TWinControl* Owner, TCanvas* Canvas, const String& Text, const TRect& R,
                       Integer YOffset, Integer Start, Integer Length)
{
    const Integer len = Integer(Text.size());
    // Nothing to mark: no text or an empty run (the edit has no place
    // for a character before the first).
    if (!Owner || len == 0 || Length < 1 || Start < 0) return;

    TPoint from, to;
    {
        // The edit says where its font puts each character.
        std::unique_ptr<TEdit> edit(new TEdit(Owner));
        edit->SetVisible(false);
        edit->SetParent(Owner);
        edit->SetBounds(R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top);
        edit->SetText(Text);
        auto place = [&](Integer index) {
            const LRESULT reply = SendMessage(edit->Handle(), EM_POSFROMCHAR, WPARAM(index), 0);
            return Point(SmallInt(LOWORD(DWORD(reply))), SmallInt(HIWORD(DWORD(reply))));
        };
        if (Start < len) {
            from = place(Start);
        } else {
            from = place(len);
            from.X += 4;
        }
        if (Int64(Start) + Length < len) {
            to = place(Start + Length - 1);
        } else {
            to = place(len - 1);
            to.X += 4;
            to.Y = from.Y;
        }
    }

    Canvas->Pen()->SetColor(clRed);
    Canvas->Pen()->SetWidth(2);
    Canvas->MoveTo(R.Left + from.X, R.Top + from.Y + YOffset + 3);
    Integer offset = 3;
    Integer x = from.X;
    for (; x <= to.X; x += 3) {
        offset = offset == 3 ? 0 : 3;
        Canvas->LineTo(R.Left + x + 3, R.Top + to.Y + YOffset + offset);
    }
    Canvas->LineTo(R.Left + x + 3, R.Top + to.Y + YOffset + (offset == 0 ? 3 : 0));
}

// ---------------------------------------------------------------------------
// Layered windows

namespace {

FARPROC User32Function(const char* name)
{
    HMODULE user32 = GetModuleHandle(L"USER32.DLL");
    return user32 ? GetProcAddress(user32, name) : nullptr;
}

}  // namespace

bool DynUpdateLayeredWindow(HWND hwnd, HDC dst, const TPoint* dstPos, const TSize* size, HDC src,
                            const TPoint* srcPos, COLORREF key, const BLENDFUNCTION* blend,
                            DWORD flags)
{
    using TFunction = decltype(&::UpdateLayeredWindow);
    auto fn = reinterpret_cast<TFunction>(User32Function("UpdateLayeredWindow"));
    if (!fn) return true;
    return fn(hwnd, dst, dstPos, size, src, srcPos, key, blend, flags) != 0;
}

bool DynSetLayeredWindowAttributes(HWND hwnd, COLORREF key, Byte alpha, DWORD flags)
{
    using TFunction = decltype(&::SetLayeredWindowAttributes);
    auto fn = reinterpret_cast<TFunction>(User32Function("SetLayeredWindowAttributes"));
    if (!fn) return true;
    return fn(hwnd, key, alpha, flags) != 0;
}
