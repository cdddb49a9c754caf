// Values drawn as progress indicators inside a rectangle (grid cells and
// the progress bar): the levelled bar, the two-colour bar with its value
// as text, the pie and the balance bar.
#include "controls/foundation/VodUtil.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <numbers>

#include "platform/base/Exceptions.h"

namespace {

// Rounded to an integer, limited to the integer range (lengths past the
// bar are cut to it later).
Integer RoundI(double v)
{
    return Integer(std::clamp(Round(std::clamp(v, -2147483648.0, 2147483647.0)), Int64(INT32_MIN), Int64(INT32_MAX)));
}

// One piece of a levelled bar in a colour pair: solid in C, or two
// gradient halves across the bar with CTo along both long edges.
void DrawPiece(TCanvas* Canvas, const TProgressLook& Look, const TRect& P, TColor C, TColor CTo)
{
    if (!Look.ShowGradient) {
        FillRectWithColor(Canvas, P, C);
        return;
    }
    TRect first = P, second = P;
    if (Look.Vertical)
        first.Right = second.Left = P.Left + (P.Right - P.Left) / 2;
    else
        first.Bottom = second.Top = P.Top + (P.Bottom - P.Top) / 2;
    DrawGradient(Canvas, CTo, C, Look.Steps, first, Look.Vertical);
    DrawGradient(Canvas, C, CTo, Look.Steps, second, Look.Vertical);
}

}  // namespace

void DrawStyledProgress(TCanvas* Canvas, TRect R, Integer Position, const TProgressLook& Look)
{
    const bool vertical = Look.Vertical;
    const Integer E = (vertical ? R.Bottom - R.Top : R.Right - R.Left) - 2;
    const TColor framePen = Look.ShowBorder ? Look.BorderColor : Look.BackgroundColor;

    Canvas->Brush()->SetColor(Look.BackgroundColor);
    Canvas->Pen()->SetColor(framePen);
    Canvas->Rectangle(R);

    // A value above 100 fills the bar; it never runs past the frame.
    auto limited = [&](Integer length, Integer used) { return std::clamp(length, 0, std::max(E - used, 0)); };

    if (Position > 0 && Look.Stacked) {
        // Segments side by side along the bar, each in its level's colours.
        const bool onlyFirst = Position < Look.Level1Perc;
        const Integer first = limited(RoundI((onlyFirst ? Position : Look.Level1Perc) / 100.0 * E), 0);
        DrawPiece(Canvas, Look,
                  vertical ? Rect(R.Left + 1, R.Bottom - first, R.Right - 1, R.Bottom - 1)
                           : Rect(R.Left + 1, R.Top + 1, R.Left + 1 + first, R.Bottom - 1),
                  Look.Level0Color, Look.Level0ColorTo);
        if (!onlyFirst) {
            const bool onlySecond = Position < Look.Level2Perc;
            const Integer second = limited(
                RoundI((double(onlySecond ? Position : Look.Level2Perc) - Look.Level1Perc) / 100.0 * E), first);
            // Vertically the second starts at the first's top.
            const TRect secondRect = vertical
                                         ? Rect(R.Left + 1, R.Bottom - first - second, R.Right - 1, R.Bottom - first)
                                         : Rect(R.Left + 1 + first, R.Top + 1, R.Left + 1 + first + second, R.Bottom - 1);
            DrawPiece(Canvas, Look, secondRect, Look.Level1Color, Look.Level1ColorTo);
            if (!onlySecond) {
                const Integer third = limited(Position == 100 ? RoundI(double(E) - second - first)
                                                              : RoundI((double(Position) - Look.Level2Perc) / 100.0 * E),
                                              first + second);
                if (vertical) {
                    const Integer bottom = secondRect.Top - 1;
                    DrawPiece(Canvas, Look, Rect(R.Left + 1, bottom - (third - 1), R.Right - 1, bottom),
                              Look.Level2Color, Look.Level2ColorTo);
                } else {
                    DrawPiece(Canvas, Look, Rect(secondRect.Right, R.Top + 1, secondRect.Right + third, R.Bottom - 1),
                              Look.Level2Color, Look.Level2ColorTo);
                }
            }
        }
    } else if (Position > 0) {
        TColor c = Look.Level3Color, cTo = Look.Level3ColorTo;
        if (Position < Look.Level1Perc) c = Look.Level0Color, cTo = Look.Level0ColorTo;
        else if (Position < Look.Level2Perc) c = Look.Level1Color, cTo = Look.Level1ColorTo;
        else if (Position < 100) c = Look.Level2Color, cTo = Look.Level2ColorTo;

        if (Look.CompletionSmooth) {
            const Integer length = limited(RoundI(Position / 100.0 * E), 0);
            DrawPiece(Canvas, Look,
                      vertical ? Rect(R.Left + 1, R.Bottom - 1 - length, R.Right - 1, R.Bottom - 1)
                               : Rect(R.Left + 1, R.Top + 1, R.Left + 1 + length, R.Bottom - 1),
                      c, cTo);
        } else {
            // Blocks of 7 pixels with gaps of 2; a remainder of more than 2
            // pixels makes one shorter block.
            const Integer N = limited(RoundI(double(Position) * E / 100), 0);
            auto block = [&](Integer start, Integer length) {   // start: pixels from the bar's inner edge
                DrawPiece(Canvas, Look,
                          vertical ? Rect(R.Left + 2, R.Bottom - 2 - start - length, R.Right - 2, R.Bottom - 2 - start)
                                   : Rect(R.Left + 2 + start, R.Top + 2, R.Left + 2 + start + length, R.Bottom - 2),
                          c, cTo);
            };
            if (N < 10) {
                if (N > 1) block(0, N - 1);
            } else {
                Integer start = 0;
                for (Integer i = 0; i < N / 9; ++i, start += 9) block(start, 7);
                if (N % 9 > 2) block(start, N % 9 - 1);
            }
            Canvas->Brush()->SetStyle(bsClear);
        }
    }

    if (Look.ShowPercentage) {
        const String text = IntToStr(Position) + L"%";
        Canvas->Brush()->SetStyle(bsClear);
        if (Look.Font) {
            Canvas->Font()->SetName(Look.Font->Name());
            Canvas->Font()->SetSize(Look.Font->Size());
            Canvas->Font()->SetStyle(Look.Font->Style());
        }
        const Integer tw = Canvas->TextWidth(text), th = Canvas->TextHeight(text);
        const Integer w = R.Right - R.Left, h = R.Bottom - R.Top;
        if (!vertical) {
            Canvas->Font()->SetColor(Look.FontColor);
            Canvas->TextOut(R.Left + w / 2 - tw / 2, R.Top + h / 2 - th / 2, text);
        } else {
            // Reads upwards, in the font's own colour.
            auto rotated = std::make_unique<TFont>();
            rotated->Assign(Look.Font ? Look.Font : Canvas->Font());
            rotated->SetOrientation(900);
            Canvas->SetFont(rotated.get());
            Canvas->TextOut(R.Left + w / 2 - th / 2, R.Top + h / 2 + tw / 2, text);
        }
    }

    Canvas->Pen()->SetColor(framePen);
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->Rectangle(R);
}

namespace {

// Whether Fmt takes the value as an integer: the character before its
// first "d" (or, without one, its first "u") closes a conversion's flags,
// width or precision.
bool FormatWantsInteger(const String& Fmt)
{
    auto before = [&](Char conversion) {
        const size_t at = Fmt.find(conversion);
        if (at == String::npos || at == 0) return false;
        const Char c = Fmt[at - 1];
        return c == L'%' || c == L'*' || c == L'.' || (c >= L'0' && c <= L'9');
    };
    if (Fmt.find(L'd') != String::npos) return before(L'd');
    return before(L'u');
}

}  // namespace

void DrawSimpleProgress(TCanvas* Canvas, TRect R, TColor Color, TColor TextColor, TColor ColorTo,
                        TColor TextColorTo, double Position, Integer XMargin, Integer YMargin,
                        Integer Min, Integer Max, const String& Fmt, TColor BorderColor, bool Print)
{
    const TColor outerFrame = Canvas->Brush()->Color();
    Canvas->Brush()->SetColor(Color);
    Canvas->Pen()->SetColor(Color);
    Canvas->Font()->SetColor(TextColor);

    // Far outside any percentage: the text and the bar take the nearest
    // value that still has a place.
    const double value = std::isnan(Position) ? 0.0 : std::clamp(Position, -1e15, 1e15);
    const Int64 rounded = Round(value);
    const String plain = IntToStr(rounded) + L"%";
    String text;
    Int64 percentage;
    if (Fmt.empty()) {
        text = plain;
        percentage = rounded;
    } else {
        try {
            text = FormatWantsInteger(Fmt) ? Format(Fmt, {rounded}) : Format(Fmt, {value});
        } catch (const EConvertError&) {
            // A format that does not fit its value must not break a paint.
            text = plain;
        }
        percentage = Max == Min ? 0 : Round((value - Min) * 100 / (double(Max) - Min));
    }
    percentage = std::clamp<Int64>(percentage, 0, 100);

    R.Left += XMargin;
    R.Right -= XMargin;
    R.Top += YMargin;
    R.Bottom -= YMargin;

    const Integer tw = Canvas->TextWidth(text);
    const Integer th = Print ? -Canvas->TextHeight(text) : Canvas->TextHeight(text);
    const Integer w = R.Right - R.Left;
    const Integer x = R.Left + (w - tw) / 2, y = R.Top + (R.Bottom - R.Top - th) / 2;

    const Integer done = R.Left + RoundI(double(percentage) * w / 100);
    Canvas->TextRect(Rect(R.Left, R.Top, done, R.Bottom), x, y, text);
    Canvas->Brush()->SetColor(ColorTo);
    Canvas->Font()->SetColor(TextColorTo);
    Canvas->TextRect(Rect(done, R.Top, R.Right, R.Bottom), x, y, text);

    InflateRect(R, 1, 1);
    if (BorderColor != clNone) {
        Canvas->Brush()->SetColor(BorderColor);
        Canvas->FrameRect(R);
    }
    InflateRect(R, 1, 1);
    Canvas->Brush()->SetColor(outerFrame);
    Canvas->FrameRect(R);
}

void DrawProgressPie(TCanvas* Canvas, const TRect& R, TColor Color, Integer Percent, bool Print)
{
    const Integer w = R.Right - R.Left, h = R.Bottom - R.Top;
    const Integer cx = R.Left + w / 2, cy = R.Top + h / 2;
    Canvas->Pen()->SetColor(clGray);
    Canvas->Pen()->SetWidth(1);
    Canvas->Ellipse(R);
    Canvas->MoveTo(cx, R.Top);
    Canvas->LineTo(cx, cy);
    const double angle = Percent / 100.0 * 2 * std::numbers::pi;
    Canvas->LineTo(cx + RoundI((w + 1) * 0.5 * std::sin(angle)), cy - RoundI((h + 1) * 0.5 * std::cos(angle)));
    Canvas->Brush()->SetColor(Color);
    if (Percent != 0) Canvas->FloodFill(cx + 1, Print ? R.Top - 2 : R.Top + 2, clGray, fsBorder);
}

void DrawBalanceBar(TCanvas* Canvas, TRect R, Integer Value, Integer Max, bool ShowValue,
                    TColor NegativeColor, TColor PositiveColor)
{
    InflateRect(R, -2, -2);
    const Integer H = (R.Right - R.Left) / 2, middle = R.Left + H;
    // No range, no bar; a negative Max is read as its size.
    const Int64 limit = std::llabs(Int64(Max));
    const Int64 value = std::clamp<Int64>(Value, -limit, limit);
    if (limit > 0) {
        const Integer length = RoundI(double(H) * double(value) / double(limit));
        if (value < 0) {
            Canvas->Pen()->SetColor(NegativeColor);
            Canvas->Brush()->SetColor(NegativeColor);
            Canvas->Rectangle(middle + length, R.Top, middle, R.Bottom);
        } else {
            Canvas->Pen()->SetColor(PositiveColor);
            Canvas->Brush()->SetColor(PositiveColor);
            Canvas->Rectangle(middle, R.Top, middle + length, R.Bottom);
        }
    }
    if (ShowValue) {
        String text = IntToStr(value);
        Canvas->Brush()->SetStyle(bsClear);
        Canvas->TextRect(R, text, {tfCenter});
    }
}
