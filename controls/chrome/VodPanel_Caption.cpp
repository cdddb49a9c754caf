// The panel's bands: the caption (background, shape, close and collapse
// buttons, text), the shaded caption bitmap, the status bar and the size
// grip.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>

#include "controls/chrome/VodPanel.h"
#include "controls/chrome/VodPanel_Internal.h"
#include "controls/foundation/ThemeApiBinding.h"
#include "controls/markup/MarkupEngine.h"
#include "platform/gfx/Codecs.h"
#include "platform/gfx/Gdi.h"

using namespace vodpanel;

namespace {

// The shading's own generator: seeded from the clock and a counter, so two
// bitmaps built in the same tick still differ.
class TShadeRandom {
public:
    TShadeRandom()
    {
        static std::atomic<uint64_t> counter{0};
        const uint64_t t = uint64_t(std::chrono::steady_clock::now().time_since_epoch().count());
        FState = t ^ (0x9E3779B97F4A7C15ull * (++counter));
        if (FState == 0) FState = 0x2545F4914F6CDD1Dull;
    }
    // 0 .. N-1; 0 for N <= 0.
    Integer Next(Integer N)
    {
        if (N <= 0) return 0;
        FState ^= FState << 13;
        FState ^= FState >> 7;
        FState ^= FState << 17;
        return Integer(FState % uint64_t(N));
    }

private:
    uint64_t FState;
};

struct TShadeBitmap {
    Integer W, H;
    std::vector<uint32_t> Px;   // 0x00RRGGBB
    TShadeBitmap(Integer w, Integer h) : W(w), H(h), Px(size_t(w) * size_t(h), 0xFFFFFF) {}
    bool Inside(Integer x, Integer y) const { return x >= 0 && y >= 0 && x < W && y < H; }
    void Set(Integer x, Integer y, uint32_t c)
    {
        if (Inside(x, y)) Px[size_t(y) * size_t(W) + size_t(x)] = c;
    }
    Integer Blue(Integer x, Integer y) const
    {
        return Inside(x, y) ? Integer(Px[size_t(y) * size_t(W) + size_t(x)] & 0xFF) : 255;
    }
};

Integer Cube(Integer c) { return c * c * c; }

}  // namespace

void TCustomVodPanel::BuildShadedHeader()
{
    const bool top = FCaption->Position() == cpTop;
    Integer W = top ? Width() : FCaption->Height();
    Integer H = top ? FCaption->Height() : Height();
    if (W <= 0) W = top ? 100 : 20;
    if (H <= 0) H = top ? 20 : 100;
    TShadeRandom rnd;
    TShadeBitmap b(W, H);
    const Integer L = FCaption->ShadeLight() & 0xFF;
    const COLORREF base = COLORREF(ColorToRGB(FCaption->Color()));
    const Integer r = GetRValue(base), g = GetGValue(base), bl = GetBValue(base);
    auto shade = [&](Integer v) -> uint32_t {
        const uint32_t rr = uint32_t(r * v / 255) & 0xFF, gg = uint32_t(g * v / 255) & 0xFF,
                       bb = uint32_t(bl * v / 255) & 0xFF;
        return (rr << 16) | (gg << 8) | bb;
    };
    const uint32_t plain = (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(bl);
    // Divisors never fall to 0 for narrow or flat bitmaps.
    const Integer dW = std::max(1, W), dH = std::max(1, H);
    auto diag = [&](Integer k) {
        for (Integer y = 0; y < H; ++y)
            for (Integer x = 0; x < W; ++x) {
                const Integer p = b.Blue(x, y);
                b.Set(x, y, shade(L - ((k * x / dW) + (L - p) + (k * y / dH)) / 2));
            }
    };
    auto bump = [&](Integer c, Integer k) { return L - ((((Cube(c) / 128 / 128) * k / 128) + 128) / 2); };
    switch (FCaption->ShadeType()) {
    case stNoise:
        for (Integer y = 0; y < H; ++y)
            for (Integer x = 0; x < W; ++x) b.Set(x, y, shade(L - (rnd.Next(FCaption->ShadeGrain()) + 128) / 2));
        break;
    case stDiagShade: diag(129); break;
    case stHShade:
    case stHShadeInv:
        for (Integer x = 0; x < W; ++x) {
            const uint32_t c = shade(L - ((W - x) * 239 / dW + 8) / 2);
            const Integer col = FCaption->ShadeType() == stHShadeInv ? W - 1 - x : x;
            for (Integer y = 0; y < H; ++y) b.Set(col, y, c);
        }
        break;
    case stVShade:
    case stVShadeInv:
        for (Integer y = 0; y < H; ++y) {
            const uint32_t c = shade(L - (y * 239 / dH + 8) / 4);
            const Integer row = FCaption->ShadeType() == stVShadeInv ? H - 1 - y : y;
            for (Integer x = 0; x < W; ++x) b.Set(x, row, c);
        }
        break;
    case stHBump:
        for (Integer x = 0; x < W; ++x) {
            const uint32_t c = shade(bump((W - x) * 255 / dW - 127, 120));
            for (Integer y = 0; y < H; ++y) b.Set(x, y, c);
        }
        break;
    case stVBump:
    case stHardBump:
        for (Integer y = 0; y < H; ++y) {
            const Integer k = FCaption->ShadeType() == stVBump ? 120 : 112;
            const uint32_t c = shade(bump(y * 255 / dH - 127, k));
            for (Integer x = 0; x < W; ++x) b.Set(x, y, c);
        }
        if (FCaption->ShadeType() == stHardBump) {
            const Integer e = std::max(1, std::min(W / 6, 16));
            const Integer q = std::max(1, H * H / 4);
            for (Integer y = 0; y < H; ++y)
                for (Integer x = 0; x < W; ++x) {
                    const Integer d = y - H / 2, dx = x - W / 2;
                    const Integer t = e * d * d / q + W / 2 - e;
                    if (dx > t) b.Set(x, y, shade(L - (((W - x) * 128 / e) + 8) / 2));
                    else if (dx + t < 0) b.Set(x, y, shade(L - (247 - x * 128 / e) / 2));
                }
        }
        break;
    case stSoftBump:
        for (Integer y = 0; y < H; ++y)
            for (Integer x = 0; x < W; ++x) {
                const Integer cy = y * 255 / dH - 127, cx = (W - x) * 255 / dW - 127;
                Integer s = (Cube(cy) / 128 / 128 + Cube(cx) / 128 / 128) * 120 / 128 + 128;
                s = std::clamp(s, 8, 247);
                b.Set(x, y, shade(L - s / 2));
            }
        break;
    case stLMetal:
    case stRMetal: {
        const bool left = FCaption->ShadeType() == stLMetal;
        for (Integer i = 0; i < 251; ++i) {
            const Integer x0 = rnd.Next(W), y0 = rnd.Next(H), n = rnd.Next(std::min(W, H) / 2);
            const uint32_t c = shade(L - rnd.Next(40));
            for (Integer k = 0; k < n; ++k) {
                if (left) {
                    if (x0 - k > 0 && y0 + k < H) b.Set(x0 + k, y0 + k, c);
                    if (x0 + k < W && y0 - k > 0) b.Set(x0 - k, y0 - k, c);
                } else {
                    if (x0 - k > 0 && y0 + k < H) b.Set(x0 - k, y0 + k, c);
                    if (x0 + k < W && y0 - k > 0) b.Set(x0 + k, y0 - k, c);
                }
            }
        }
        diag(120);
        break;
    }
    case stIRadial:
    case stORadial: {
        const Integer cx = W / 2, cy = H / 2;
        Integer N = std::abs(W - H);
        // A square bitmap has no width-height difference to normalise by:
        // the centre-to-corner distance stands in.
        if (N == 0) N = std::max(1, Integer(std::nearbyint(std::sqrt(double(cx) * cx + double(cy) * cy))));
        for (Integer x = 0; x <= cx; ++x)
            for (Integer y = 0; y <= cy; ++y) {
                const Integer D = Integer(std::nearbyint(std::sqrt(double(x - cx) * (x - cx) + double(y - cy) * (y - cy))));
                const double f = (FCaption->ShadeType() == stIRadial ? N - D : D) / double(N);
                const uint32_t c = shade(Integer(std::nearbyint(f * L)));
                b.Set(x, y, c);
                b.Set(W - x, H - y, c);
                b.Set(W - x, y, c);
                b.Set(x, H - y, c);
            }
        break;
    }
    default:
        std::fill(b.Px.begin(), b.Px.end(), plain);
        break;
    }
    TImageData img(W, H);
    for (size_t i = 0; i < b.Px.size(); ++i) img.Pixels[i] = 0xFF000000u | b.Px[i];
    // A device bitmap: each paint copies it without converting its rows.
    FShadedHeader->FromImage(img, pfDevice);
}

// ---------------------------------------------------------------------------
// Caption

namespace {

void DrawThemedPart(HWND Wnd, HDC Dc, int Part, const TRect& R)
{
    const TThemeApiTable& t = ThemeAPI();
    if (!t.OpenThemeData || !t.DrawThemeBackground) return;
    HTHEME th = t.OpenThemeData(Wnd, L"window");
    if (!th) return;
    RECT r = R;
    t.DrawThemeBackground(th, Dc, Part, 1, &r, nullptr);
    t.CloseThemeData(th);
}

void DrawGlyph(TCanvas* C, TBitmap* G, Integer X, Integer Y)
{
    G->SetTransparent(true);
    C->Draw(X, Y, G);
}

}  // namespace

void TCustomVodPanel::DrawCaptionBackground(TCanvas* C, TRect R)
{
    const TShadeType st = FCaption->ShadeType();
    const HDC dc = C->Handle();
    if (st == stXPCaption && IsThemedXP()) {
        TRect e = R;
        InflateRect(e, 1, 1);
        DrawThemedPart(FHandle, dc, WP_CAPTION, e);
        return;
    }
    if (st == stBitmap || st == stBitmapRStretch || st == stBitmapLStretch) {
        TBitmap* pic = FCaption->Background();
        if (pic->Empty()) return;
        const Integer w = pic->Width(), h = pic->Height();
        const bool top = FCaption->Position() == cpTop;
        if (st == stBitmap) {
            C->StretchDraw(R, pic);
        } else if (st == stBitmapLStretch) {
            if (top) {
                const Integer room = std::max(0, Width() - w);
                C->Draw(R.Left + room, R.Top, pic);
                C->CopyRect(TRect{0, R.Top, room, R.Bottom}, pic->Canvas(), TRect{0, 0, std::min(2, w), h});
            } else {
                const Integer room = std::max(0, Height() - h);
                C->Draw(R.Left, R.Top, pic);
                C->CopyRect(TRect{0, R.Bottom - room, R.Right, R.Bottom}, pic->Canvas(),
                            TRect{0, std::max(0, h - 3), w, h});
            }
        } else {
            if (top) {
                C->Draw(R.Left, R.Top, pic);
                C->CopyRect(TRect{w, R.Top, R.Right, R.Bottom}, pic->Canvas(), TRect{std::max(0, w - 3), 0, w, h});
            } else {
                C->Draw(R.Left, R.Bottom - h, pic);
                C->CopyRect(TRect{R.Left, R.Top, R.Right, R.Bottom - h}, pic->Canvas(), TRect{0, 0, w, std::min(3, h)});
            }
        }
        return;
    }
    if (st == stXPCaption) return;

    HRGN rgn = nullptr;
    const TColor grey = TColor(0x808080), white = clWhite;
    C->Brush()->SetStyle(bsClear);
    C->Pen()->SetWidth(1);
    auto outlines = [&](const TRect& r) {
        const Integer mid = r.Top + (r.Bottom - r.Top) / 2;
        int s = SaveDC(dc);
        IntersectClipRect(dc, r.Left, mid, r.Right, r.Bottom);
        C->Pen()->SetColor(grey);
        C->RoundRect(r, 32, 32);
        RestoreDC(dc, s);
        s = SaveDC(dc);
        IntersectClipRect(dc, r.Left, r.Top, r.Right, r.Bottom - (r.Bottom - r.Top) / 2);
        C->Pen()->SetColor(white);
        C->RoundRect(r, 32, 32);
        RestoreDC(dc, s);
    };
    switch (FCaption->Shape()) {
    case TCaptionShape::csRectangle:
        if (!FCaption->Flat()) {
            C->Pen()->SetColor(grey);
            Line(C, R.Left, R.Bottom - 1, R.Right - 1, R.Bottom - 1);
            C->LineTo(R.Right - 1, R.Top);
            C->Pen()->SetColor(white);
            C->LineTo(R.Left, R.Top);
            C->LineTo(R.Left, R.Bottom - 1);
            InflateRect(R, -1, -1);
        }
        break;
    case TCaptionShape::csRounded:
        outlines(R);
        C->Pen()->SetColor(grey);
        Line(C, R.Left + 16, R.Bottom - 1, R.Right - 16, R.Bottom - 1);
        R.Top += 1;
        rgn = CreateRoundRectRgn(R.Left, R.Top, R.Right, R.Bottom, 32, 32);
        break;
    case TCaptionShape::csSemiRounded: {
        outlines(R);
        C->Pen()->SetColor(white);
        Line(C, R.Left + (R.Right - R.Left) / 2, R.Top, R.Left, R.Top);
        C->LineTo(R.Left, R.Bottom - 1);
        C->Pen()->SetColor(grey);
        C->LineTo(R.Right - 16, R.Bottom - 1);
        R.Top += 1;
        R.Left += 1;
        rgn = CreateRoundRectRgn(R.Left, R.Top, R.Right, R.Bottom, 32, 32);
        HRGN square = CreateRectRgn(R.Left, R.Top, R.Right - (R.Right - R.Left) / 2, R.Bottom - 1);
        CombineRgn(rgn, rgn, square, RGN_OR);
        DeleteObject(square);
        break;
    }
    }
    C->Brush()->SetStyle(bsSolid);
    if (FShadedHeader->Empty()) BuildShadedHeader();
    TBitmap* shade = FShadedHeader.get();
    C->RequireState();
    const HDC src = shade->Canvas()->Handle();
    if (!rgn) {
        // A rectangle clips to itself: one copy of the part that fits.
        BitBlt(dc, R.Left, R.Top, std::min(R.Width(), shade->Width()), std::min(R.Height(), shade->Height()), src,
               0, 0, SRCCOPY);
        return;
    }
    const int s = SaveDC(dc);
    ExtSelectClipRgn(dc, rgn, RGN_AND);
    BitBlt(dc, R.Left, R.Top, shade->Width(), shade->Height(), src, 0, 0, SRCCOPY);
    RestoreDC(dc, s);
    DeleteObject(rgn);
}

void TCustomVodPanel::DrawRotatedText(TCanvas* C, const String& Text, Integer Escapement, Integer X, Integer Y,
                                      const TRect* Clip)
{
    const HDC dc = C->Handle();
    TFont f;
    f.Assign(C->Font());
    f.SetOrientation(Escapement);
    C->Font()->Assign(&f);
    C->Brush()->SetStyle(bsClear);
    const int s = SaveDC(dc);
    if (Clip) IntersectClipRect(dc, Clip->Left, Clip->Top, Clip->Right, Clip->Bottom);
    C->TextOut(X, Y, Text);
    RestoreDC(dc, s);
    C->Brush()->SetStyle(bsSolid);
    f.SetOrientation(0);
    C->Font()->Assign(&f);
}

void TCustomVodPanel::PaintCaption(TCanvas* C)
{
    const Integer BW = BevelWidth();
    const TCaptionPosition pos = FCaption->Position();
    const bool left = FCaption->ButtonPosition() == cbpLeft;
    const bool themed = FCaption->ShadeType() == stXPCaption && IsThemedXP();
    const HDC dc = C->Handle();
    // 1. The band.
    TRect band{0, 0, Width(), Height()};
    if (FBorderShadow && BorderWidth() != 0) {
        const Integer bw = BorderWidth();
        switch (pos) {
        case cpTop:
            band.Left = bw;
            band.Top = bw;
            band.Right -= bw + 2;
            break;
        case cpLeft:
            band.Left = bw;
            band.Top = bw;
            band.Bottom += 1 - bw;
            break;
        case cpRight:
            band.Top = bw;
            band.Right -= bw;
            band.Bottom += 1 - bw;
            break;
        }
    }
    if (BevelInner() != bvNone || BevelOuter() != bvNone) InflateRect(band, -BW, -BW);
    const TColor brush = FCollaps ? FCaption->CloseColor() : FCaption->Color();
    C->Brush()->SetColor(brush);
    C->Pen()->SetColor(brush);
    C->Pen()->SetWidth(1);
    const TColor textColor = FCaption->Font()->Color();
    // 2. The caption rectangle.
    const Integer shadow = FBorderShadow ? 3 : 0;
    TRect cr;
    switch (pos) {
    case cpTop: cr = TRect{band.Left, band.Top, band.Right, band.Top + FCaptionSize - 2 * BW}; break;
    case cpLeft: cr = TRect{band.Left, band.Top, band.Left + FCaptionSize - 2 * BW, band.Bottom - shadow}; break;
    case cpRight: cr = TRect{band.Right - FCaptionSize, band.Top, band.Right, band.Bottom - shadow}; break;
    }
    // 4. Background.
    if (FCaption->ShadeType() != stNormal && (FCaption->ShadeType() != stXPCaption || themed)) {
        DrawCaptionBackground(C, cr);
    } else if (FCaption->ColorTo() == clNone) {
        C->Brush()->SetColor(brush);
        C->Pen()->SetColor(brush);
        C->Rectangle(cr);
    } else {
        const bool dirH = FCaption->GradientDirection() == gdHorizontal;
        const bool dirV = FCaption->GradientDirection() == gdVertical;
        if (pos == cpTop) GradientFill(C, FCaption->Color(), FCaption->ColorTo(), dirH, cr, 128);
        else if (pos == cpLeft) GradientFill(C, FCaption->Color(), FCaption->ColorTo(), dirV, cr, 128);
        else GradientFill(C, FCaption->ColorTo(), FCaption->Color(), dirV, cr, 128);
    }
    TRect b = band;
    Integer &L = b.Left, &T = b.Top, &R = b.Right, &B = b.Bottom;
    // 5. The close button.
    if (FCaption->CloseButton()) {
        TBitmap* cmin = FCaption->CloseMinGlyph();
        TBitmap* cmax = FCaption->CloseMaxGlyph();
        if (themed) {
            TRect tr;
            switch (pos) {
            case cpTop:
                if (left) { tr = TRect{L + 2, T + 4, L + 16, T + 18}; L += 14; }
                else { tr = TRect{R - 16, T + 4, R - 2, T + 18}; R -= 14; }
                break;
            case cpLeft:
                if (left) { tr = TRect{L + 4, B - 16, L + 18, B - 2}; B -= 14; }
                else { tr = TRect{L + 4, T + 2, L + 18, T + 16}; T += 14; }
                break;
            case cpRight:
                if (left) { tr = TRect{R - 18, T + 2, R - 4, T + 16}; T += 14; }
                else { tr = TRect{R - 18, B - 16, R - 4, B - 2}; B -= 14; }
                break;
            }
            DrawThemedPart(FHandle, dc, WP_CLOSEBUTTON, tr);
        } else if (cmin->Empty() || cmax->Empty()) {
            TColor c = FCaption->CloseButtonColor();
            if (FCloseHover && FCaption->CloseButtonHoverColor() != clNone) c = FCaption->CloseButtonHoverColor();
            C->Pen()->SetColor(c);
            C->Pen()->SetWidth(2);
            switch (pos) {
            case cpTop:
                if (left) {
                    Line(C, L + 4, T + 4, L + 10, T + 10);
                    Line(C, L + 10, T + 4, L + 4, T + 10);
                    L += 12;
                } else {
                    Line(C, R - 10, T + 4, R - 4, T + 10);
                    Line(C, R - 4, T + 4, R - 10, T + 10);
                    R -= 12;
                }
                break;
            case cpLeft:
                if (left) {
                    Line(C, L + 4, B - 4, L + 10, B - 10);
                    Line(C, L + 10, B - 4, L + 4, B - 10);
                    B -= 12;
                } else {
                    Line(C, L + 4, T + 4, L + 10, T + 10);
                    Line(C, L + 10, T + 4, L + 4, T + 10);
                    T += 12;
                }
                break;
            case cpRight:
                if (left) {
                    Line(C, R - 10, T + 4, R - 4, T + 10);
                    Line(C, R - 4, T + 4, R - 10, T + 10);
                    T += 12;
                } else {
                    Line(C, R - 4, B - 12, R - 10, B - 6);
                    Line(C, R - 10, B - 12, R - 4, B - 6);
                    B -= 14;
                }
                break;
            }
            C->Pen()->SetWidth(1);
        } else {
            TBitmap* g = FCollaps ? cmin : cmax;
            const Integer w = g->Width(), h = g->Height();
            switch (pos) {
            case cpTop:
                if (left) { DrawGlyph(C, g, L, T + 2); L += w; }
                else { DrawGlyph(C, g, R - w, T + 2); R -= w; }
                break;
            case cpLeft:
                if (left) { DrawGlyph(C, g, L + 2, B - h); B -= h; }
                else { DrawGlyph(C, g, L + 2, T); T += h; }
                break;
            case cpRight:
                if (left) { DrawGlyph(C, g, R - w - 2, T); T += h; }
                else { DrawGlyph(C, g, R - w - 2, B - h - 2); B -= h; }
                break;
            }
        }
    }
    // 6. The collapse button.
    if (FCaption->MinMaxButton()) {
        TBitmap* g = FCollaps ? FCaption->MaxGlyph() : FCaption->MinGlyph();
        if (themed) {
            TRect tr;
            switch (pos) {
            case cpTop: tr = left ? TRect{L + 2, T + 4, L + 16, T + 18} : TRect{R - 16, T + 4, R - 2, T + 18}; break;
            case cpLeft: tr = left ? TRect{L + 4, B - 16, L + 18, B - 2} : TRect{L + 4, T + 2, L + 18, T + 16}; break;
            case cpRight: tr = left ? TRect{R - 18, T + 2, R - 4, T + 16} : TRect{R - 18, B - 16, R - 4, B - 2}; break;
            }
            DrawThemedPart(FHandle, dc, FCollaps ? WP_MAXBUTTON : WP_MINBUTTON, tr);
        } else if (g->Empty()) {
            TColor c = FCaption->MinMaxButtonColor();
            if (FMinMaxHover && FCaption->MinMaxButtonHoverColor() != clNone) c = FCaption->MinMaxButtonHoverColor();
            C->Pen()->SetColor(c);
            C->Pen()->SetWidth(1);
            C->Brush()->SetColor(c);
            C->Brush()->SetStyle(bsSolid);
            std::vector<TPoint> pts;
            const bool col = FCollaps;
            switch (pos) {
            case cpTop:
                if (left) pts = col ? std::vector<TPoint>{{L + 4, T + 5}, {L + 10, T + 5}, {L + 7, T + 8}}
                                    : std::vector<TPoint>{{L + 4, T + 8}, {L + 10, T + 8}, {L + 7, T + 5}};
                else pts = col ? std::vector<TPoint>{{R - 10, T + 5}, {R - 4, T + 5}, {R - 7, T + 8}}
                               : std::vector<TPoint>{{R - 10, T + 8}, {R - 4, T + 8}, {R - 7, T + 5}};
                break;
            case cpLeft:
                if (left) pts = col ? std::vector<TPoint>{{L + 5, B - 4}, {L + 5, B - 10}, {L + 8, B - 7}}
                                    : std::vector<TPoint>{{L + 8, B - 4}, {L + 8, B - 10}, {L + 5, B - 7}};
                else pts = col ? std::vector<TPoint>{{L + 5, T + 10}, {L + 5, T + 4}, {L + 8, T + 7}}
                               : std::vector<TPoint>{{L + 8, T + 10}, {L + 8, T + 4}, {L + 5, T + 7}};
                break;
            case cpRight:
                if (left) pts = col ? std::vector<TPoint>{{R - 6, T + 10}, {R - 6, T + 4}, {R - 9, T + 7}}
                                    : std::vector<TPoint>{{R - 9, T + 10}, {R - 9, T + 4}, {R - 6, T + 7}};
                else pts = col ? std::vector<TPoint>{{R - 6, B - 4}, {R - 6, B - 10}, {R - 9, B - 7}}
                               : std::vector<TPoint>{{R - 9, B - 4}, {R - 9, B - 10}, {R - 6, B - 7}};
                break;
            }
            C->Polygon(pts);
        } else {
            const Integer w = g->Width(), h = g->Height();
            switch (pos) {
            case cpTop: DrawGlyph(C, g, left ? L : R - w, T + 2); break;
            case cpLeft: DrawGlyph(C, g, L + 2, left ? B - h : T); break;
            case cpRight:
                if (left) DrawGlyph(C, g, FCollaps ? R - w - 2 : R - 12, T);
                else DrawGlyph(C, g, FCollaps ? R - w - 2 : R - 12, FCollaps ? B - h - 2 : B - h);
                break;
            }
        }
    }
    // 7. The text, in the band less 20 pixels per visible button.
    C->Font()->Assign(FCaption->Font());
    if (!ParentFont())
        C->Font()->SetHeight(Integer(std::nearbyint(FCaption->Font()->Height() * FDpiScale)));
    C->Font()->SetColor(textColor);
    TRect t = band;
    const Integer reserve = 20 * ((FCaption->CloseButton() ? 1 : 0) + (FCaption->MinMaxButton() ? 1 : 0));
    switch (pos) {
    case cpTop:
        if (left) t.Left += reserve;
        else t.Right -= reserve;
        break;
    case cpLeft:
        if (left) t.Bottom -= reserve;
        else t.Top += reserve;
        break;
    case cpRight:
        if (left) t.Top += reserve;
        else t.Bottom -= reserve;
        break;
    }
    if (FCaption->Text().empty()) return;
    C->Brush()->SetStyle(bsClear);
    if (pos == cpTop) {
        t.Bottom = t.Top + FCaptionSize;
        t.Left += FCaption->Indent() + 2;
        t.Top += FCaption->TopIndent();
        TMarkupParams p;
        p.Canvas = C;
        p.Text = FCaption->Text();
        p.Rect = t;
        p.Images = FImages;
        p.ImageCache = FImageCache.get();
        p.Container = FPictureContainer;
        p.LineSpacing = FLineSpacing;
        p.URLColor = FURLColor;
        p.HoverColor = FHoverColor;
        p.HoverFontColor = FHoverFontColor;
        p.ShadowColor = FShadowColor;
        p.ShadowOffset = FShadowOffset;
        p.Hover = FHover;
        p.WordWrap = false;
        p.HoverLink = FCaptionAnchor;
        RenderMarkup(p);
    } else if (pos == cpLeft) {
        t.Right = t.Left + FCaptionSize;
        t.Bottom -= FCaption->Indent();
        t.Left += FCaption->TopIndent();
        String plain;
        StripMarkup(FCaption->Text(), plain);
        const Integer gh = C->TextHeight(L"gh");
        // Reading upwards from the bottom of the band; the glyphs' tops face
        // the left edge.
        DrawRotatedText(C, plain, -2700, t.Left + (FCaptionSize - gh) / 2, t.Bottom, &t);
    } else {
        t.Right = Width();
        t.Left = Width() - FCaptionSize + FCaption->TopIndent();
        t.Top += FCaption->Indent() + 2;
        String plain;
        StripMarkup(FCaption->Text(), plain);
        DrawRotatedText(C, plain, -900, t.Right - 4, t.Top, &t);
    }
    C->Brush()->SetStyle(bsSolid);
}

// ---------------------------------------------------------------------------
// Status bar and grip

void TCustomVodPanel::PaintStatusBar(TCanvas* C)
{
    const TCaptionPosition pos = FCaption->Position();
    Integer m = (BevelInner() != bvNone || BevelOuter() != bvNone) ? 2 : 1;
    if (FBorderShadow && BorderWidth() != 0) m += 2;
    const Integer sh = FStatusBar->Height();
    TRect S;
    switch (pos) {
    case cpTop: S = TRect{m, Height() - sh - 1, Width() - m, Height() - m}; break;
    case cpLeft: S = TRect{Width() - sh - m, 1, Width() - m, Height() - m}; break;
    case cpRight: S = TRect{m, 1, m + sh, Height() - m}; break;
    }
    const TColor color = FStatusBar->Color(), colorTo = FStatusBar->ColorTo();
    if (color != clNone && colorTo != clNone) {
        GradientFill(C, color, colorTo, FStatusBar->GradientDirection() == gdHorizontal, S, 40);
    } else if (color != clNone) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(color);
        C->Pen()->SetColor(color);
        C->Pen()->SetWidth(1);
        C->Rectangle(S);
    }
    const TRect full = S;
    const bool grip = !FCollaps && FCanSize && FShowSizeMoveGrip;
    if (FStatusBar->ImageIndex() >= 0 && FImages) {
        if (pos == cpTop) {
            FImages->Draw(C, S.Left + 1, S.Top + 2, FStatusBar->ImageIndex(), true);
            S.Left += FImages->Width() + 2;
        } else {
            const Integer ih = FImages->Height();
            FImages->Draw(C, S.Left + 2, grip ? S.Bottom - ih - 12 : S.Bottom - ih - 1, FStatusBar->ImageIndex(), true);
            S.Bottom -= ih + 2;
        }
    }
    if (!FStatusBar->Text().empty()) {
        C->Font()->Assign(FStatusBar->Font());
        C->Brush()->SetStyle(bsClear);
        if (pos == cpTop) {
            TRect s2 = S;
            s2.Left += 2;
            s2.Top += FStatusBar->TopIndent();
            TMarkupParams p;
            p.Canvas = C;
            p.Text = FStatusBar->Text();
            p.Rect = s2;
            p.Images = FImages;
            p.ImageCache = FImageCache.get();
            p.Container = FPictureContainer;
            p.WordWrap = false;
            p.HoverLink = FCaptionAnchor;
            p.URLColor = FURLColor;
            RenderMarkup(p);
        } else {
            String plain;
            StripMarkup(FStatusBar->Text(), plain);
            if (pos == cpLeft) DrawRotatedText(C, plain, -2700, S.Left + 2, grip ? S.Bottom - 16 : S.Bottom - 2, &full);
            else DrawRotatedText(C, plain, -900, S.Right - 2, S.Top + 3, &full);
        }
        C->Brush()->SetStyle(bsSolid);
    }
    S = full;
    if (FStatusBar->BorderStyle() == bsSingle && FStatusBar->BorderColor() != clNone) {
        C->Pen()->SetColor(FStatusBar->BorderColor());
        C->Pen()->SetWidth(1);
        C->Brush()->SetStyle(bsClear);
        const Integer bw = BorderWidth();
        switch (pos) {
        case cpTop: C->Rectangle(bw, S.Top, S.Right - bw + 1, S.Bottom - bw + 1); break;
        case cpLeft: C->Rectangle(S.Left, S.Top, S.Right + 1, Height()); break;
        case cpRight: C->Rectangle(S.Left - 1, S.Top, S.Right, Height()); break;
        }
        C->Brush()->SetStyle(bsSolid);
    }
    if (FStatusBar->BevelInner()) {
        C->Pen()->SetWidth(1);
        const TColor grey = clGray, white = clWhite;
        switch (pos) {
        case cpTop:
            C->Pen()->SetColor(grey);
            Line(C, 0, S.Bottom - 1, 0, S.Top);
            C->LineTo(S.Right, S.Top);
            C->Pen()->SetColor(white);
            Line(C, 0, S.Bottom - 1, S.Right - 1, S.Bottom - 1);
            C->LineTo(S.Right - 1, S.Top);
            break;
        case cpLeft:
            C->Pen()->SetColor(grey);
            Line(C, S.Left, Height(), S.Left, S.Top);
            C->LineTo(S.Right - 1, S.Top);
            C->Pen()->SetColor(white);
            Line(C, S.Left, Height(), S.Right - 1, Height());
            C->LineTo(S.Right - 1, S.Top);
            break;
        case cpRight:
            C->Pen()->SetColor(grey);
            Line(C, S.Left, Height(), S.Right - 1, Height());
            C->LineTo(S.Right - 1, S.Top);
            C->Pen()->SetColor(white);
            Line(C, S.Left, Height(), S.Left, S.Top);
            C->LineTo(S.Right - 1, S.Top);
            break;
        }
    }
}

void TCustomVodPanel::PaintGrip(TCanvas* C)
{
    TRect r = ClientRect();
    if (BevelInner() != bvNone || BevelOuter() != bvNone) InflateRect(r, -2 * BevelWidth(), -2 * BevelWidth());
    if (FBorderShadow) {
        r.Right -= 4;
        r.Bottom -= 4;
    }
    Integer &L = r.Left, &T = r.Top, &R = r.Right, &B = r.Bottom;
    const TColor grey = clGray, white = clWhite;
    if (FCaption->Position() == cpRight) {
        R = L + GetSystemMetrics(SM_CXVSCROLL);
        T = B - GetSystemMetrics(SM_CXHSCROLL);
        L += 1;
        C->Pen()->SetColor(grey);
        C->Pen()->SetWidth(2);
        Line(C, L, B - 11, L + 11, B);
        Line(C, L, B - 6, L + 7, B);
        Line(C, L, B - 3, L + 3, B);
        C->Pen()->SetColor(white);
        C->Pen()->SetWidth(1);
        Line(C, L, B - 12, L + 12, B);
        Line(C, L, B - 8, L + 8, B);
        Line(C, L, B - 4, L + 4, B);
    } else {
        L = R - GetSystemMetrics(SM_CXVSCROLL);
        T = B - GetSystemMetrics(SM_CXHSCROLL);
        C->Pen()->SetColor(grey);
        C->Pen()->SetWidth(2);
        Line(C, R, B - 11, R - 11, B);
        Line(C, R, B - 6, R - 7, B);
        Line(C, R, B - 3, R - 3, B);
        C->Pen()->SetColor(white);
        C->Pen()->SetWidth(1);
        Line(C, R, B - 12, R - 12, B);
        Line(C, R, B - 8, R - 8, B);
        Line(C, R, B - 4, R - 4, B);
    }
    (void)T;
}
