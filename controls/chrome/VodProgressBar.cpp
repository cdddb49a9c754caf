#include "controls/chrome/VodProgressBar.h"

#include <algorithm>
#include <cmath>

#include "controls/chrome/VodToolButton.h"
#include "platform/base/SysUtils.h"

namespace {

constexpr TColor kTransparentKey = TColor(0xFF00FF);

Integer RoundI(double v)
{
    return Integer(std::clamp<Int64>(Round(std::clamp(v, -2147483648.0, 2147483647.0)), INT32_MIN, INT32_MAX));
}

void Fill(TCanvas* C, const TRect& R, TColor Color)
{
    if (R.Right <= R.Left || R.Bottom <= R.Top) return;
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color);
    C->FillRect(R);
}

// One piece in a colour pair: solid, or two band-gradient halves across the
// bar with CTo along both long edges.
void DrawPiece(TCanvas* C, const TGaugeSettings& S, const TRect& P, TColor Col, TColor CTo)
{
    if (P.Right <= P.Left || P.Bottom <= P.Top) return;
    const bool vertical = S.Orientation == goVertical;
    if (!S.ShowGradient) {
        Fill(C, P, Col);
        return;
    }
    TRect first = P, second = P;
    if (vertical) first.Right = second.Left = P.Left + (P.Right - P.Left) / 2;
    else first.Bottom = second.Top = P.Top + (P.Bottom - P.Top) / 2;
    DrawBandGradient(C, CTo, Col, clNone, S.Steps, first, vertical);
    DrawBandGradient(C, Col, CTo, clNone, S.Steps, second, vertical);
}

String GaugeText(const TGaugeSettings& S)
{
    const String plain = S.ShowPercentage ? IntToStr(S.Position) + L"%" : IntToStr(S.Value);
    if (S.Format.empty()) return plain;
    try {
        return Format(S.Format, {S.Value, S.Max});
    } catch (const Exception&) {
        // A format that does not fit two integers must not break a paint.
        return plain;
    }
}

}  // namespace

void DrawGauge(TCanvas* C, TRect R, const TGaugeSettings& S)
{
    const bool vertical = S.Orientation == goVertical;
    const Integer W = R.Right - R.Left, H = R.Bottom - R.Top;
    const Integer E = (vertical ? H : W) - 2;
    const TColor framePen = S.ShowBorder ? S.BorderColor : S.BackgroundColor;
    const Integer p = S.Infinite ? 100 : S.Position;
    const Integer l1 = S.Infinite ? 101 : S.Level1Perc, l2 = S.Infinite ? 101 : S.Level2Perc;

    // Background and frame; the corners of a rounded bar stay in the
    // transparent key.
    if (S.Rounded) {
        C->Pen()->SetColor(kTransparentKey);
        Fill(C, R, kTransparentKey);
    }
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(S.BackgroundColor);
    C->Pen()->SetStyle(psSolid);
    C->Pen()->SetColor(framePen);
    if (S.Rounded) C->RoundRect(R, 6, 6);
    else C->Rectangle(R);

    // Level background zones.
    if (S.Level0BkColor != clNone || S.Level1BkColor != clNone || S.Level2BkColor != clNone) {
        const Integer b = RoundI(S.Level1Perc / 100.0 * E);
        const Integer g = RoundI(E * (S.Level2Perc - S.Level1Perc) / 100.0);
        const Integer c = RoundI(double(E) - b - g);
        TRect z0, z1, z2;
        if (!vertical) {
            z0 = TRect{R.Left + 2, R.Top + 1, R.Left + b, R.Bottom - 1};
            z1 = TRect{R.Left + b, R.Top + 1, R.Left + b + g, R.Bottom - 1};
            z2 = TRect{R.Left + b + g, R.Top + 1, R.Left + b + g + c, R.Bottom - 1};
        } else {
            z0 = TRect{R.Left + 1, R.Bottom - b + 1, R.Right - 1, R.Bottom - 2};
            z1 = TRect{R.Left + 1, R.Bottom - b + 1 - g, R.Right - 1, z0.Top};
            z2 = TRect{R.Left + 1, z1.Top - 1 - c, R.Right - 1, z1.Top - 1};
        }
        const TColor colours[3] = {S.Level0BkColor, S.Level1BkColor, S.Level2BkColor};
        const TRect zones[3] = {z0, z1, z2};
        for (int i = 0; i < 3; ++i)
            if (colours[i] != clNone) Fill(C, zones[i], colours[i]);
    }

    auto limited = [&](Integer length, Integer used) { return std::clamp(length, 0, std::max(E - used, 0)); };
    if (p > 0 && S.Stacked) {
        const bool onlyFirst = p < l1;
        const Integer first = limited(RoundI((onlyFirst ? p : l1) / 100.0 * E), 0);
        DrawPiece(C, S,
                  vertical ? TRect{R.Left + 1, R.Bottom - first + 1, R.Right - 1, R.Bottom - 2}
                           : TRect{R.Left + 1, R.Top + 1, R.Left + 1 + first, R.Bottom - 1},
                  S.Level0Color, S.Level0ColorTo);
        if (!onlyFirst) {
            const bool onlySecond = p < l2;
            const Integer second = limited(RoundI((double(onlySecond ? p : l2) - l1) / 100.0 * E), first);
            const TRect secondRect = vertical ? TRect{R.Left + 1, R.Bottom - first - second, R.Right - 1, R.Bottom - first}
                                              : TRect{R.Left + 1 + first, R.Top + 1, R.Left + 1 + first + second, R.Bottom - 1};
            DrawPiece(C, S, secondRect, S.Level1Color, S.Level1ColorTo);
            if (!onlySecond) {
                const Integer third = limited(p == 100 ? RoundI(double(E) - second - first) : RoundI((double(p) - l2) / 100.0 * E),
                                              first + second);
                if (vertical) {
                    const Integer bottom = secondRect.Top - 1;
                    DrawPiece(C, S, TRect{R.Left + 1, bottom - (third - 1), R.Right - 1, bottom}, S.Level2Color, S.Level2ColorTo);
                } else {
                    DrawPiece(C, S, TRect{secondRect.Right, R.Top + 1, secondRect.Right + third, R.Bottom - 1}, S.Level2Color,
                              S.Level2ColorTo);
                }
            }
        }
    } else if (p > 0) {
        TColor c = S.Level3Color, cTo = S.Level3ColorTo;
        if (p < l1) c = S.Level0Color, cTo = S.Level0ColorTo;
        else if (p < l2) c = S.Level1Color, cTo = S.Level1ColorTo;
        else if (p < 100) c = S.Level2Color, cTo = S.Level2ColorTo;
        if (S.CompletionSmooth) {
            const Integer L = limited(RoundI(p / 100.0 * E), 0);
            DrawPiece(C, S,
                      vertical ? TRect{R.Left + 2, R.Bottom - L, R.Right - 2, R.Bottom - 2}
                               : TRect{R.Left + 2, R.Top + 2, R.Left + L, R.Bottom - 2},
                      c, cTo);
        } else {
            const Integer N = limited(RoundI(double(p) * E / 100), 0);
            auto block = [&](Integer start, Integer length) {
                DrawPiece(C, S,
                          vertical ? TRect{R.Left + 2, R.Bottom - 2 - start - length, R.Right - 2, R.Bottom - 2 - start}
                                   : TRect{R.Left + 2 + start, R.Top + 2, R.Left + 2 + start + length, R.Bottom - 2},
                          c, cTo);
            };
            if (N < 10) {
                if (N > 1) block(0, N - 1);
            } else {
                Integer start = 0;
                for (Integer i = 0; i < N / 9; ++i, start += 9) block(start, 7);
                if (N % 9 > 1) block(start, N % 9 - 2);
            }
            C->Brush()->SetStyle(bsClear);
        }
    }

    // The endless mode shows only a window around the sliding position.
    if (S.Infinite) {
        const Integer extent = vertical ? H : W;
        const Integer b = extent <= 4 ? 0 : RoundI(S.InfinitePos / 100.0 * (extent - 4));
        if (!vertical) {
            Fill(C, TRect{R.Left + 2, R.Top + 1, std::max(R.Left + 2, R.Left + b - 10), R.Bottom - 1}, S.BackgroundColor);
            Fill(C, TRect{std::min(R.Right - 2, R.Left + b + 12), R.Top + 2, R.Right - 2, R.Bottom - 2}, S.BackgroundColor);
        } else {
            Fill(C, TRect{R.Left + 2, R.Top + 2, R.Right - 2, std::max(R.Top + 2, R.Top + b - 10)}, S.BackgroundColor);
            Fill(C, TRect{R.Left + 2, std::min(R.Bottom - 2, R.Top + b + 12), R.Right - 2, R.Bottom - 2}, S.BackgroundColor);
        }
    }

    if (S.ShowPosition) {
        TGaugeSettings shown = S;
        shown.Position = p;
        const String text = GaugeText(shown);
        C->Brush()->SetStyle(bsClear);
        if (S.Font) C->SetFont(S.Font);
        const Integer tw = C->TextWidth(text), th = C->TextHeight(text);
        if (!vertical) {
            C->TextOut(R.Left + W / 2 - tw / 2, R.Top + H / 2 - th / 2, text);
        } else {
            auto rotated = std::make_unique<TFont>();
            rotated->Assign(S.Font ? S.Font : C->Font());
            rotated->SetOrientation(900);
            C->SetFont(rotated.get());
            C->TextOut(R.Left + W / 2 - th / 2, R.Top + H / 2 + tw / 2, text);
        }
    }
}

// ---------------------------------------------------------------------------

TVodProgressBar::TVodProgressBar(TComponent* AOwner) : TGraphicControl(AOwner)
{
    FFont = std::make_unique<TFont>();
    FFont->SetName(L"Verdana");
    FFont->SetSize(10);
    FFont->OnChange = [this](TObject*) { Invalidate(); };
    FTimer = new TTimer(this);
    FTimer->SetEnabled(false);
    FTimer->SetInterval(50);
    FTimer->SetOnTimer([this](TObject*) { StepInfinite(); });
    SetBounds(0, 0, 128, 18);
}

TVodProgressBar::~TVodProgressBar() = default;

void TVodProgressBar::SetLevel0BkColor(TColor v)
{
    if (v == FLevel0BkColor) return;
    FLevel0BkColor = v;
    Invalidate();
}

void TVodProgressBar::SetLevel1BkColor(TColor v)
{
    if (v == FLevel1BkColor) return;
    FLevel1BkColor = v;
    Invalidate();
}

void TVodProgressBar::SetLevel2BkColor(TColor v)
{
    if (v == FLevel2BkColor) return;
    FLevel2BkColor = v;
    Invalidate();
}

#define VEL_GAUGE_SETTER(Type, Name)                  \
    void TVodProgressBar::Set##Name(Type v)           \
    {                                                 \
        F##Name = v;                                  \
        Invalidate();                                 \
    }
VEL_GAUGE_SETTER(Integer, Level1Perc)
VEL_GAUGE_SETTER(Integer, Level2Perc)
VEL_GAUGE_SETTER(bool, ShowBorder)
VEL_GAUGE_SETTER(bool, Stacked)
VEL_GAUGE_SETTER(bool, ShowPercentage)
VEL_GAUGE_SETTER(bool, ShowPosition)
VEL_GAUGE_SETTER(bool, CompletionSmooth)
VEL_GAUGE_SETTER(bool, ShowGradient)
VEL_GAUGE_SETTER(Integer, Steps)
VEL_GAUGE_SETTER(TGaugeOrientation, Orientation)
VEL_GAUGE_SETTER(bool, Rounded)
VEL_GAUGE_SETTER(const String&, Format)
#undef VEL_GAUGE_SETTER

void TVodProgressBar::SetFont(TFont* v)
{
    FFont->Assign(v);
    Invalidate();
}

void TVodProgressBar::SetMin(Integer v)
{
    FMin = v;
    FStep = Integer((Int64(FMax) - FMin) / 100);
    Invalidate();
}

void TVodProgressBar::SetMax(Integer v)
{
    FMax = v;
    FStep = Integer((Int64(FMax) - FMin) / 100);
    Invalidate();
}

Integer TVodProgressBar::PercentOf(Integer Value) const
{
    if (FMax == FMin) return 0;
    return RoundI((double(Value) - FMin) / (double(FMax) - FMin) * 100);
}

void TVodProgressBar::SetPosition(Integer v)
{
    if (v < FMin) {
        FPosition = FMin;
        return;
    }
    if (v > FMax) {
        FPosition = FMax;
        return;
    }
    FPosition = v;
    const Integer p = PercentOf(v);
    const bool paint = FStep == 0 || v % FStep == 0 || v / FStep != FLastStepNumber || p != FLastPercent;
    if (!paint) return;
    Repaint();
    FLastPercent = p;
    if (FStep != 0) FLastStepNumber = v / FStep;
}

void TVodProgressBar::UpdateTimer() { FTimer->SetEnabled(FInfinite && FAnimated); }

void TVodProgressBar::SetInfinite(bool v)
{
    FInfinite = v;
    if (v) FInfinitePos = 0;
    UpdateTimer();
    Invalidate();
}

void TVodProgressBar::SetAnimated(bool v)
{
    FAnimated = v;
    UpdateTimer();
    Invalidate();
}

void TVodProgressBar::SetInfiniteInterval(Integer v)
{
    FInfiniteInterval = v;
    FTimer->SetInterval(Cardinal(std::max(v, 0)));
}

void TVodProgressBar::StepInfinite()
{
    if (FMovingUp) {
        FInfinitePos += 4;
        if (FInfinitePos >= 100) {
            FInfinitePos = 100;
            FMovingUp = false;
        }
    } else {
        FInfinitePos -= 4;
        if (FInfinitePos <= 0) {
            FInfinitePos = 0;
            FMovingUp = true;
        }
    }
    Repaint();
}

TGaugeSettings TVodProgressBar::Settings()
{
    TGaugeSettings s;
    s.Level0Color = FLevel0Color, s.Level0ColorTo = FLevel0ColorTo;
    s.Level1Color = FLevel1Color, s.Level1ColorTo = FLevel1ColorTo;
    s.Level2Color = FLevel2Color, s.Level2ColorTo = FLevel2ColorTo;
    s.Level3Color = FLevel3Color, s.Level3ColorTo = FLevel3ColorTo;
    s.Level1Perc = FLevel1Perc, s.Level2Perc = FLevel2Perc;
    s.BorderColor = FBorderColor;
    s.Level0BkColor = FLevel0BkColor, s.Level1BkColor = FLevel1BkColor, s.Level2BkColor = FLevel2BkColor;
    s.ShowBorder = FShowBorder, s.Stacked = FStacked, s.ShowPercentage = FShowPercentage;
    s.ShowPosition = FShowPosition;
    s.Font = FFont.get();
    s.CompletionSmooth = FCompletionSmooth, s.ShowGradient = FShowGradient;
    s.Steps = FSteps;
    s.Position = PercentOf(FPosition);
    s.Value = FPosition;
    s.Max = FMax;
    s.BackgroundColor = FBackgroundColor;
    s.Orientation = FOrientation;
    s.Rounded = FRounded;
    s.ParentColor = ParentColor();
    s.Format = FFormat;
    s.Infinite = FInfinite;
    s.InfinitePos = FInfinitePos;
    return s;
}

void TVodProgressBar::Paint()
{
    if (!(FVisible || ComponentState().Contains(csDesigning)) || !FParent) return;
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(std::max(ClientWidth(), 0), std::max(ClientHeight(), 0));
    if (bitmap->Empty()) return;
    auto font = std::make_unique<TFont>();
    font->Assign(FFont.get());
    TGaugeSettings s = Settings();
    s.Font = font.get();
    DrawGauge(bitmap->Canvas(), TRect{0, 0, bitmap->Width(), bitmap->Height()}, s);
    if (FRounded) {
        bitmap->SetTransparentMode(tmFixed);
        bitmap->SetTransparentColor(kTransparentKey);
        bitmap->SetTransparent(true);
    }
    Canvas()->Draw(0, 0, bitmap.get());
}

void TVodProgressBar::Dispatch(TMessage& Message)
{
    if (Message.Msg == WM_ERASEBKGND) {
        Message.Result = 0;
        return;
    }
    TGraphicControl::Dispatch(Message);
}
