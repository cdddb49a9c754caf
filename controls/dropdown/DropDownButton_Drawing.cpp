// The drop-down unit's shared drawing and colour routines.
#include <algorithm>
#include <vector>

#include "controls/dropdown/DropDownButton.h"
#include "controls/foundation/VodUtil.h"
#include "controls/markup/VurHTMLE.h"
#include "platform/base/SysUtils.h"
#include "platform/gfx/Gdi.h"
#include "platform/gfx/ImageList.h"

namespace {
struct TRgb {
    Integer R, G, B;
};
TRgb Channels(TColor c)
{
    Integer v = ColorToRGB(c);
    return {v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF};
}
TColor FromChannels(Integer r, Integer g, Integer b)
{
    auto clamp = [](Integer v) { return std::clamp(v, 0, 255); };
    return TColor(clamp(r) | (clamp(g) << 8) | (clamp(b) << 16));
}
}  // namespace

void DrawSteppedGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, bool Horizontal, TRect R,
                         Integer Steps)
{
    if (!Canvas) return;
    if (Steps <= 0) Steps = 1;
    TRgb f = Channels(FromColor), t = Channels(ToColor);
    double d = Horizontal ? double(R.Right - R.Left - 1) / Steps : double(R.Bottom - R.Top - 1) / Steps;
    Integer w = Integer(Round(d));
    // i * (to - from) / Steps to the nearest integer, ties to even: in whole
    // numbers, as the quotient is exact to the half.
    auto part = [Steps](Integer i, Integer span) {
        Integer n = i * span, q = n / Steps, r = n % Steps;
        if (r < 0) {
            r += Steps;
            --q;
        }
        if (2 * r > Steps || (2 * r == Steps && (q & 1))) ++q;
        return q;
    };
    auto band = [&](Integer i) {
        return FromChannels(f.R + part(i, t.R - f.R), f.G + part(i, t.G - f.G), f.B + part(i, t.B - f.B));
    };
    HDC dc = Canvas->Handle();
    const Integer length = Horizontal ? R.Width() : R.Height();
    const Integer across = Horizontal ? R.Height() : R.Width();
    if (length > 0 && across > 0 && GetMapMode(dc) == MM_TEXT && !GdiIsRecording(dc)) {
        // On a pixel device the bands are laid out once along the axis, as
        // the rectangles below would leave them (later bands over earlier
        // ones), and stretched across in one blit.
        std::vector<uint32_t> line(size_t(length), 0);
        for (Integer i = 0; i < Steps; ++i) {
            TRgb c = Channels(band(i));
            uint32_t px = 0xFF000000u | uint32_t(c.R) << 16 | uint32_t(c.G) << 8 | uint32_t(c.B);
            Integer o = Integer(Round(i * d));
            for (Integer x = std::max(o, 0); x < std::min(o + w + 1, length); ++x) line[size_t(x)] = px;
        }
        BITMAPINFO bi;
        bi.bmiHeader.biWidth = Horizontal ? length : 1;
        bi.bmiHeader.biHeight = Horizontal ? -1 : -length;  // top-down
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        // One line of bands stretched across. (Copying the first line drawn
        // on the device would read stale pixels where a clip region kept
        // that line from being drawn.)
        if (Horizontal)
            StretchDIBits(dc, R.Left, R.Top, length, across, 0, 0, length, 1, line.data(), &bi, DIB_RGB_COLORS,
                          SRCCOPY);
        else
            StretchDIBits(dc, R.Left, R.Top, across, length, 0, 0, 1, length, line.data(), &bi, DIB_RGB_COLORS,
                          SRCCOPY);
        TColor last = band(Steps - 1);
        Canvas->Pen()->SetColor(last);
        Canvas->Brush()->SetColor(last);
        return;
    }
    for (Integer i = 0; i < Steps; ++i) {
        TColor c = band(i);
        Canvas->Pen()->SetColor(c);
        Canvas->Brush()->SetColor(c);
        Integer o = Integer(Round(i * d));
        if (Horizontal)
            Canvas->Rectangle(R.Left + o, R.Top, R.Left + o + w + 1, R.Bottom);
        else
            Canvas->Rectangle(R.Left, R.Top + o, R.Right, R.Top + o + w + 1);
    }
}

TColor BlendColors(TColor A, TColor B, Integer Percent)
{
    if (Percent >= 100) return A;
    if (Percent <= 0) return B;
    TRgb a = Channels(A), b = Channels(B);
    double p = Percent / 100.0;
    auto mix = [p](Integer x, Integer y) { return Integer(Round(p * x + (1 - p) * y)); };
    return FromChannels(mix(a.R, b.R), mix(a.G, b.G), mix(a.B, b.B));
}

TColor ShadeColor(TColor Color, Integer R, Integer G, Integer B)
{
    TRgb c = Channels(Color);
    auto shade = [](Integer ch, Integer pct) {
        if (ch == 0) return std::max(pct, 0);
        return Integer(Round(std::min(pct + 100, 100) / 100.0 * ch));
    };
    return FromChannels(shade(c.R, R), shade(c.G, G), shade(c.B, B));
}

void DrawFilledFrame(TCanvas* Canvas, TRect R, TColor Color, bool Horizontal, Integer BorderWidth,
                     TColor BorderColor, TColor ColorTo)
{
    if (!Canvas) return;
    if (ColorTo != clNone) {
        DrawSteppedGradient(Canvas, Color, ColorTo, Horizontal, R, 80);
    } else if (Color != clNone) {
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(Color);
        Canvas->FillRect(R);
    }
    if (BorderColor != clNone && BorderWidth > 0) {
        Canvas->Brush()->SetStyle(bsClear);
        Canvas->Pen()->SetColor(BorderColor);
        Canvas->Pen()->SetWidth(BorderWidth);
        Canvas->Rectangle(R);
        Canvas->Pen()->SetWidth(1);
        Canvas->Brush()->SetStyle(bsSolid);
    }
}

void DrawImageText(TCanvas* Canvas, TRect R, const String& Text, Integer ImageIndex, TCustomImageList* Images)
{
    if (!Canvas) return;
    UINT flags = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
    if (ImageIndex >= 0 && Images) {
        Images->Draw(Canvas, R.Left + 4, R.Top + (R.Height() - Images->Height()) / 2, ImageIndex);
        R.Left += Images->Width() + 8;
    } else {
        flags |= DT_CENTER;
    }
    RECT rc = R;
    Canvas->Brush()->SetStyle(bsClear);
    DrawTextStr(Canvas->Handle(), Text, &rc, flags);
}

void DrawTransparentGlyph(TCanvas* Canvas, TBitmap* Glyph, TColor BackgroundColor, TRect R)
{
    DrawBitmapTransparent(Canvas, Glyph, BackgroundColor, R);
}

TSize MeasureText(TCanvas* Canvas, const String& Text)
{
    if (!Canvas || Text.empty()) return TSize{0, 0};
    TRect rc{0, 0, 1000, 500};
    DrawTextStr(Canvas->Handle(), Text, &rc, DT_CALCRECT | DT_SINGLELINE);
    return TSize{rc.Width(), rc.Height()};
}

String TruncateText(TCanvas* Canvas, const String& Text, Integer MaxWidth, bool WithEllipsis)
{
    if (!Canvas || MeasureText(Canvas, Text).cx <= MaxWidth) return Text;
    String s = Text;
    while (!s.empty()) {
        s.pop_back();
        String candidate = WithEllipsis ? s + L"..." : s;
        if (MeasureText(Canvas, candidate).cx < MaxWidth) return candidate;
    }
    // Not even the shortest prefix fits: the caller gets the whole text and
    // clips it as it draws.
    return Text;
}

String CaseForLookup(const String& Text, bool MatchCase)
{
    return MatchCase ? Text : AnsiUpperCase(Text);
}

TSize DrawMarkupText(TCanvas* Canvas, const String& Text, TRect R, TCustomImageList* Images, bool CheckOnly)
{
    if (!Canvas) return TSize{0, 0};
    TMarkupParams p;
    p.Canvas = Canvas;
    p.Text = Text;
    p.Rect = R;
    p.Images = Images;
    p.CheckHeight = CheckOnly;
    p.URLColor = TColor(0x808080);
    p.HoverColor = clNone;
    p.HoverFontColor = clNone;
    p.ShadowColor = TColor(0xFF0000);
    VurHTMLE::RenderMarkup(p);
    return TSize{p.XSize, p.YSize};
}
