// The panel's body painting in one pass (background, border and shadow,
// bevels, picture, markup text, then the bands), the measuring of the body
// text and the automatic size.
#include <algorithm>
#include <cmath>

#include "controls/chrome/VodPanel.h"
#include "controls/chrome/VodPanel_Internal.h"
#include "controls/markup/MarkupEngine.h"
#include "platform/gfx/Gdi.h"

namespace vodpanel {

TColor BlendColors(TColor A, TColor B, Integer Percent)
{
    if (Percent >= 100) return A;
    const COLORREF a = COLORREF(ColorToRGB(A)), b = COLORREF(ColorToRGB(B));
    const double p = Percent / 100.0;
    auto mix = [p](Integer x, Integer y) {
        return Integer(std::nearbyint(p * x + (1.0 - p) * y));
    };
    return TColor(RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)),
                      mix(GetBValue(a), GetBValue(b))));
}

void Line(TCanvas* C, Integer X1, Integer Y1, Integer X2, Integer Y2)
{
    C->MoveTo(X1, Y1);
    C->LineTo(X2, Y2);
}

}  // namespace vodpanel

using namespace vodpanel;

namespace {

bool HasBevel(const TCustomPanel* P) { return P->BevelInner() != bvNone || P->BevelOuter() != bvNone; }

void BevelColours(TBevelCut Cut, TColor& TopLeft, TColor& BottomRight)
{
    TopLeft = clBtnHighlight;
    BottomRight = clBtnShadow;
    if (Cut == bvLowered) std::swap(TopLeft, BottomRight);
}

}  // namespace

void TCustomVodPanel::Paint()
{
    TCustomPanel::Paint();
    const TRect cr = ClientRect();
    if (!FBuffered) {
        PaintOn(Canvas());
        return;
    }
    TBitmap buffer;
    buffer.SetSize(std::max(1, cr.Width()), std::max(1, cr.Height()));
    PaintOn(buffer.Canvas());
    Canvas()->Draw(0, 0, &buffer);
}

void TCustomVodPanel::PaintOn(TCanvas* C)
{
    PaintBody(C);
    if (FCaption->Visible()) PaintCaption(C);
    if (FStatusBar->Visible()) PaintStatusBar(C);
    if (FShowSizeMoveGrip && !FCollaps && FCanSize) PaintGrip(C);
    if (FCaption->Position() == cpRight && FBorderColor != clNone && BorderWidth() != 0) {
        TRect r = ClientRect();
        if (FBorderShadow) {
            r.Right -= 2;
            r.Bottom -= 2;
        }
        C->Pen()->SetColor(FBorderColor);
        C->Pen()->SetWidth(1);
        C->Brush()->SetStyle(bsClear);
        C->Rectangle(r);
        C->Brush()->SetStyle(bsSolid);
    }
    if (OnPaint) OnPaint(this, C, ClientRect());
}

void TCustomVodPanel::PaintBody(TCanvas* C)
{
    TRect R = ClientRect();
    const Integer BW = BevelWidth();
    TColor textColor = Font()->Color();

    // Background.
    if (FColorTo == clNone) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(Color());
        C->FillRect(R);
    } else if (FColorMirror == clNone) {
        GradientFill(C, Color(), FColorTo, FGradientDirection == gdHorizontal, R, 128);
    } else {
        TRect a = R, b = R;
        if (FGradientDirection == gdHorizontal) {
            a.Right = R.Left + R.Width() / 2;
            b.Left = a.Right;
        } else {
            a.Bottom = R.Top + R.Height() / 2;
            b.Top = a.Bottom;
        }
        const bool horz = FGradientDirection == gdHorizontal;
        GradientFill(C, Color(), FColorTo, horz, a, 32);
        GradientFill(C, FColorMirror, FColorMirrorTo, horz, b, 32);
    }
    // Border and its shadow.
    if (FBorderShadow) {
        R.Right -= 2;
        R.Bottom -= 2;
    }
    if (FBorderColor != clNone && BorderWidth() != 0) {
        C->Pen()->SetColor(FBorderColor);
        C->Pen()->SetWidth(1);
        C->Brush()->SetStyle(bsClear);
        C->Rectangle(R);
        C->Brush()->SetStyle(bsSolid);
    }
    if (FBorderShadow) {
        C->Pen()->SetWidth(1);
        C->Pen()->SetColor(BlendColors(FBorderColor == clNone ? clGray : FBorderColor, clBtnFace, 50));
        Line(C, R.Right, R.Top + 1, R.Right, R.Bottom);
        C->LineTo(R.Left, R.Bottom);
        C->Pen()->SetColor(BlendColors(FBorderColor == clNone ? clGray : FBorderColor, clBtnFace, 20));
        Line(C, R.Right + 1, R.Top + 2, R.Right + 1, R.Bottom + 1);
        C->LineTo(R.Left, R.Bottom + 1);
    }
    // Bevels.
    TColor tl, br;
    if (BevelOuter() != bvNone) {
        BevelColours(BevelOuter(), tl, br);
        Frame3D(C, R, tl, br, BW);
    }
    if (FBorderColor == clNone) Frame3D(C, R, Color(), Color(), 1);
    if (BevelInner() != bvNone) {
        BevelColours(BevelInner(), tl, br);
        Frame3D(C, R, tl, br, BW);
    }

    // The body below the caption.
    C->Brush()->SetColor(Color());
    C->Pen()->SetColor(Color());
    R = ClientRect();
    if (FCaption->Visible()) {
        switch (FCaption->Position()) {
        case cpTop: R.Top += FCaption->Height() - 2 * BW; break;
        case cpLeft: R.Left += FCaptionSize - 2 * BW + 2; break;
        case cpRight: R.Right -= FCaptionSize - 2 * BW + 2; break;
        }
    }
    if (FBorderShadow) {
        R.Right -= 2;
        R.Bottom -= 3;
    }
    const HDC dc = C->Handle();
    int saved = 0;
    if (!FBuffered) {
        saved = SaveDC(dc);
        IntersectClipRect(dc, R.Left, R.Top, R.Right, R.Bottom);
    }

    // Background picture. The bevel width counts only where a bevel is
    // drawn, so a plain panel places its picture by its own edges.
    if (!FBackground->Empty()) {
        const Integer W = FBackground->Width(), H = FBackground->Height();
        const Integer bw = HasBevel(this) ? BW : 0;
        const Integer right = std::max(R.Left, R.Right - R.Left - W - bw);
        const Integer bottom = std::max(R.Top, Height() - H - bw);
        switch (FBackgroundPosition) {
        case TBackGroundPosition::bpTopLeft: C->Draw(R.Left, R.Top, FBackground.get()); break;
        case TBackGroundPosition::bpTopRight: C->Draw(right, R.Top, FBackground.get()); break;
        case TBackGroundPosition::bpBottomLeft: C->Draw(R.Left, bottom, FBackground.get()); break;
        case TBackGroundPosition::bpBottomRight: C->Draw(right, bottom, FBackground.get()); break;
        case TBackGroundPosition::bpTiled:
            if (W > 0 && H > 0)
                for (Integer y = R.Top; y < Height(); y += H)
                    for (Integer x = R.Left; x < Width(); x += W) C->Draw(x, y, FBackground.get());
            break;
        case TBackGroundPosition::bpStretched:
            C->StretchDraw(TRect{R.Left, R.Top - 4, R.Right, R.Bottom + 4}, FBackground.get());
            break;
        case TBackGroundPosition::bpCenter: C->Draw(right / 2, bottom / 2, FBackground.get()); break;
        }
    }

    // Text rectangle.
    const Integer bdw = BorderWidth();
    R.Left += bdw + 1 + FIndent;
    R.Top += bdw + 1 + FTopIndent;
    R.Right -= bdw + 1;
    R.Bottom -= bdw + 1 + FBottomIndent;
    if (FStatusBar->Visible()) {
        switch (FCaption->Position()) {
        case cpTop: R.Bottom -= FStatusBar->Height(); break;
        case cpLeft: R.Right -= FStatusBar->Height(); break;
        case cpRight: R.Left += FStatusBar->Height(); break;
        }
    }
    C->Font()->Assign(Font());
    C->Font()->SetColor(textColor);

    if (!FText.empty()) {
        TMarkupParams p;
        p.Canvas = C;
        p.Text = FText;
        p.Images = FImages;
        p.FocusLink = -1;
        p.HoverLink = FBodyAnchor;
        p.ShadowOffset = FShadowOffset;
        p.WordWrap = !FEllipsis;
        p.Hover = FHover;
        p.ResFactor = 1.0;
        p.URLColor = FURLColor;
        p.HoverColor = FHoverColor;
        p.HoverFontColor = FHoverFontColor;
        p.ShadowColor = FShadowColor;
        p.ImageCache = FImageCache.get();
        p.Container = FPictureContainer;
        p.LineSpacing = FLineSpacing;
        p.HighlightColor = clHighlight;
        p.HighlightTextColor = clHighlightText;
        if (FTextVAlign != tvaTop) {
            TMarkupParams m = p;
            m.Rect = R;
            // The whole text's height: a text taller than the rectangle stays
            // at the top.
            m.CheckHeight = true;
            RenderMarkup(m);
            C->Font()->Assign(Font());
            C->Font()->SetColor(textColor);
            if (m.YSize < R.Height()) {
                if (FTextVAlign == tvaCenter) R.Top += (R.Height() - m.YSize) / 2;
                else R.Top = R.Bottom - m.YSize;
            }
        }
        p.Rect = R;
        RenderMarkup(p);
    }
    if (!FBuffered) RestoreDC(dc, saved);
}

TSize TCustomVodPanel::GetHTMLSize()
{
    TRect r = ClientRect();
    if (FBorderShadow) r.Right -= 2;
    r.Left += BorderWidth() + 1 + FIndent;
    r.Right -= BorderWidth() + 1;
    TBitmap scratch(1, 1);
    TCanvas* c = HandleAllocated() ? Canvas() : scratch.Canvas();
    c->Font()->Assign(Font());
    TMarkupParams p;
    p.Canvas = c;
    p.Text = FText;
    p.Rect = r;
    p.CheckOnly = true;
    p.WordWrap = true;
    p.ImageCache = FImageCache.get();
    p.Container = FPictureContainer;
    p.Images = FImages;
    RenderMarkup(p);
    return TSize{p.XSize, p.YSize};
}

void TCustomVodPanel::UpdateAutoSize()
{
    if (!FAutoSize || !FAutoSize->Enabled() || ComponentState().Contains(csLoading) || FAutoSizing) return;
    FAutoSizing = true;
    struct TReset {
        bool& Flag;
        ~TReset() { Flag = false; }
    } reset{FAutoSizing};
    const Integer BW = BevelWidth();
    TRect r{0, 0, 0, 0};
    r.Right = FAutoSize->Width() ? 65535 : Width() - 2 * BW - (FBorderShadow ? 2 : 0);
    r.Bottom = FAutoSize->Height() ? 65535 : Height() - 2 * BW;
    TBitmap scratch(1, 1);
    TCanvas* c = scratch.Canvas();
    c->Font()->Assign(Font());
    TMarkupParams p;
    p.Canvas = c;
    p.Text = FText;
    p.Rect = r;
    p.CheckHeight = true;
    p.WordWrap = !FEllipsis;
    p.ImageCache = FImageCache.get();
    p.Container = FPictureContainer;
    p.Images = FImages;
    RenderMarkup(p);
    const Integer bdw = BorderWidth();
    Integer XS = p.XSize + 2 * bdw, YS = p.YSize + 2 * bdw;
    if (FBorderShadow) {
        XS += 2;
        YS += 2;
    }
    const bool capVisible = FCaption->Visible();
    const Integer sb = FStatusBar->Visible() ? FStatusBar->Height() : 0;
    if (FAutoSize->Width()) {
        if (FCaption->Position() == cpTop) SetWidth(2 * BW + XS + FIndent);
        else if (capVisible) SetWidth(FCaptionSize + XS + sb + 2 * BW + FIndent);
        else SetWidth(sb + XS + 2 * BW + FIndent);
    }
    if (FAutoSize->Height()) {
        if (FCaption->Position() != cpTop) SetHeight(2 * BW + YS + FTopIndent + FBottomIndent);
        else if (capVisible && FStatusBar->Visible())
            SetHeight(FCaptionSize + YS + sb + 2 * BW + FTopIndent + FBottomIndent + 2 * bdw);
        else if (capVisible) SetHeight(FCaptionSize + YS + 2 * BW + FTopIndent + FBottomIndent);
        else SetHeight(sb + YS + 2 * BW + FTopIndent + FBottomIndent);
    }
    Synchronize();
}
