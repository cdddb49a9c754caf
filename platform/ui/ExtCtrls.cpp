// TCustomPanel and TImage.
#include "platform/ui/ExtCtrls.h"

#include <algorithm>

#include "platform/ui/Themes.h"

// ---------------------------------------------------------------------------
// TCustomPanel

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner)
{
    FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque,
                                  csDoubleClicks, csReplicatable, csParentBackground};
    FWidth = 185;
    FHeight = 41;
}

void TCustomPanel::CreateParams(TCreateParams& Params)
{
    TCustomControl::CreateParams(Params);
    if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
    Params.WindowClass.style &= ~DWORD(CS_HREDRAW | CS_VREDRAW);
}

Integer TCustomPanel::FrameWidth() const
{
    Integer w = FBorderWidth;
    if (FBevelOuter != bvNone) w += FBevelWidth;
    if (FBevelInner != bvNone) w += FBevelWidth;
    return w;
}

void TCustomPanel::FrameChanged()
{
    Realign();
    Invalidate();
}

void TCustomPanel::SetAlignment(TAlignment v)
{
    if (FAlignment == v) return;
    FAlignment = v;
    Invalidate();
}

void TCustomPanel::SetVerticalAlignment(TVerticalAlignment v)
{
    if (FVerticalAlignment == v) return;
    FVerticalAlignment = v;
    Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut v)
{
    if (FBevelInner == v) return;
    FBevelInner = v;
    FrameChanged();
}

void TCustomPanel::SetBevelOuter(TBevelCut v)
{
    if (FBevelOuter == v) return;
    FBevelOuter = v;
    FrameChanged();
}

void TCustomPanel::SetBevelWidth(TBevelWidth v)
{
    v = std::max<TBevelWidth>(v, 1);
    if (FBevelWidth == v) return;
    FBevelWidth = v;
    FrameChanged();
}

void TCustomPanel::SetBorderWidth(TBorderWidth v)
{
    v = std::max<TBorderWidth>(v, 0);
    if (FBorderWidth == v) return;
    FBorderWidth = v;
    FrameChanged();
}

void TCustomPanel::SetBorderStyle(TBorderStyle v)
{
    if (v != bsSingle) v = bsNone;
    if (FBorderStyle == v) return;
    FBorderStyle = v;
    if (FHandle) RecreateWnd();
    FrameChanged();
}

void TCustomPanel::SetShowCaption(bool v)
{
    if (FShowCaption == v) return;
    FShowCaption = v;
    Invalidate();
}

void TCustomPanel::SetParentBackground(bool v)
{
    if (ParentBackground() == v) return;
    if (v) FControlStyle.Include(csParentBackground);
    else FControlStyle.Exclude(csParentBackground);
    Invalidate();
}

void TCustomPanel::AdjustClientRect(TRect& Rect)
{
    Rect = ClientRect();
    Integer w = FrameWidth();
    InflateRect(Rect, -w, -w);
}

namespace {
void BevelColors(TBevelCut cut, TColor& top, TColor& bottom)
{
    top = cut == bvLowered ? clBtnShadow : cut == bvRaised ? clBtnHighlight : clBtnFace;
    bottom = cut == bvLowered ? clBtnHighlight : cut == bvRaised ? clBtnShadow : clBtnFace;
}
}  // namespace

void TCustomPanel::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    // With visual styles a panel that takes its parent's background shows
    // the parent's colour, not its own.
    bool parentBack = ParentBackground() && IsThemeActive() && FParent;
    TColor face = parentBack ? FParent->Color() : FColor;
    TColor top, bottom;
    if (FBevelOuter != bvNone) {
        BevelColors(FBevelOuter, top, bottom);
        Frame3D(c, r, top, bottom, FBevelWidth);
    }
    Frame3D(c, r, face, face, FBorderWidth);
    if (FBevelInner != bvNone) {
        BevelColors(FBevelInner, top, bottom);
        Frame3D(c, r, top, bottom, FBevelWidth);
    }
    HDC dc = c->Handle();
    HBRUSH b = CreateSolidBrush(COLORREF(ColorToRGB(face)));
    FillRect(dc, &r, b);
    DeleteObject(b);
    if (!FShowCaption) return;
    String text = Caption();
    if (text.empty()) return;
    int saved = SaveDC(dc);
    SelectObject(dc, FFont->Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, COLORREF(ColorToRGB(FEnabled ? FFont->Color() : clGrayText)));
    TRect calc{0, 0, 0x3FFF, 0x3FFF};
    DrawTextStr(dc, L"W", &calc, DT_SINGLELINE | DT_CALCRECT);
    int fh = calc.Height();
    if (FVerticalAlignment == taVerticalCenter) r.Top = (r.Top + r.Bottom - fh) / 2;
    else if (FVerticalAlignment == taAlignBottom) r.Top = r.Bottom - fh;
    r.Bottom = r.Top + fh;
    UINT flags = DT_EXPANDTABS | DT_SINGLELINE | DT_VCENTER |
                 (FAlignment == taCenter ? DT_CENTER : FAlignment == taRightJustify ? DT_RIGHT : DT_LEFT);
    DrawTextStr(dc, text, &r, flags);
    RestoreDC(dc, saved);
}

void TCustomPanel::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case WM_SIZE:
        TCustomControl::Dispatch(M);
        // The frame and the centred caption move with the size.
        if (FFullRepaint) Invalidate();
        return;
    case CM_TEXTCHANGED: case CM_FONTCHANGED:
        TCustomControl::Dispatch(M);
        Invalidate();
        return;
    default: break;
    }
    TCustomControl::Dispatch(M);
}

// ---------------------------------------------------------------------------
// TImage

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), FPicture(std::make_unique<TPicture>())
{
    FControlStyle.Include(csReplicatable);
    FWidth = 105;
    FHeight = 105;
    FPicture->OnChange = [this](TObject* s) { PictureChanged(s); };
}

TImage::~TImage() { FPicture->OnChange = nullptr; }

void TImage::SetAutoSize(bool v)
{
    if (FAutoSize == v) return;
    FAutoSize = v;
    if (v) PictureChanged(this);
}

void TImage::SetCenter(bool v)
{
    if (FCenter == v) return;
    FCenter = v;
    Invalidate();
}

void TImage::SetStretch(bool v)
{
    if (FStretch == v) return;
    FStretch = v;
    Invalidate();
}

void TImage::SetProportional(bool v)
{
    if (FProportional == v) return;
    FProportional = v;
    Invalidate();
}

void TImage::SetTransparent(bool v)
{
    if (FTransparent == v) return;
    FTransparent = v;
    PictureChanged(this);
}

void TImage::PictureChanged(TObject*)
{
    if (FAutoSize && FPicture->Width() > 0 && FPicture->Height() > 0)
        SetBounds(FLeft, FTop, FPicture->Width(), FPicture->Height());
    // Icons carry their own mask; other graphics follow Transparent.
    if (TGraphic* g = FPicture->Graphic(); g && !dynamic_cast<TIcon*>(g) && g->Transparent() != FTransparent)
        g->SetTransparent(FTransparent);
    if (FTransparent) FControlStyle.Exclude(csOpaque);
    else if (FPicture->Graphic() && !FPicture->Empty() && DestRect() == ClientRect()) FControlStyle.Include(csOpaque);
    else FControlStyle.Exclude(csOpaque);
    Invalidate();
}

TRect TImage::DestRect()
{
    Integer w = FPicture->Width(), h = FPicture->Height();
    Integer cw = ClientWidth(), ch = ClientHeight();
    if (FStretch || (FProportional && (w > cw || h > ch))) {
        if (FProportional && w > 0 && h > 0) {
            double aspect = double(w) / double(h);
            if (w > h) {
                w = cw;
                h = Integer(cw / aspect);
                if (h > ch) {
                    h = ch;
                    w = Integer(ch * aspect);
                }
            } else {
                h = ch;
                w = Integer(ch * aspect);
                if (w > cw) {
                    w = cw;
                    h = Integer(cw / aspect);
                }
            }
        } else {
            w = cw;
            h = ch;
        }
    }
    TRect r{0, 0, w, h};
    if (FCenter) OffsetRect(r, (cw - w) / 2, (ch - h) / 2);
    return r;
}

void TImage::Paint()
{
    if (TGraphic* g = FPicture->Graphic(); g && !g->Empty()) Canvas()->StretchDraw(DestRect(), g);
}
