#include "controls/markup/HTMLabel.h"

#include "platform/ui/WindowManager.h"

using namespace HTMLabel;

String MarkupVersionText(Integer VersionNr)
{
    const Cardinal v = Cardinal(VersionNr);
    return IntToStr(Integer(v >> 24)) + L"." + IntToStr(Integer((v >> 16) & 0xFF)) + L"." +
           IntToStr(Integer((v >> 8) & 0xFF)) + L"." + IntToStr(Integer(v & 0xFF));
}

namespace {

void BevelColors(TBevelCut Cut, TColor& TopLeft, TColor& BottomRight)
{
    if (Cut == bvLowered) {
        TopLeft = clBtnShadow;
        BottomRight = clBtnHighlight;
    } else {
        TopLeft = clBtnHighlight;
        BottomRight = clBtnShadow;
    }
}

bool Grows(TAlign a, TAutoSizeType t, bool horizontal)
{
    if (horizontal) return (a == alNone || a == alLeft || a == alRight) && (t == asHorizontal || t == asBoth);
    return (a == alNone || a == alTop || a == alBottom) && (t == asVertical || t == asBoth);
}

}  // namespace

THTMLabel::THTMLabel(TComponent* AOwner) : TCustomLabel(AOwner)
{
    SetTransparent(true);
    FImageCache = std::make_unique<THTMLPictureCache>();
    FHTMLText = std::make_unique<TStringList>();
    FHTMLText->OnChange = [this](TObject* s) { TextChanged(s); };
    FILChangeLink = std::make_unique<TChangeLink>();
    FILChangeLink->OnChange = [this](TObject* s) { ImagesChanged(s); };
    FText.clear();
    FAutoSize = false;
    SetWidth(120);
    if (ComponentState().Contains(csDesigning) && AOwner &&
        !AOwner->ComponentState().Contains(csReading) && !AOwner->ComponentState().Contains(csLoading))
        FHTMLText->Add(L"Qel <b>HTML</b> label " + Name());
}

THTMLabel::~THTMLabel()
{
    if (FImages) FImages->UnRegisterChanges(FILChangeLink.get());
    FImageCache->ClearPictures();
    FHTMLText->OnChange = nullptr;
}

// ---------------------------------------------------------------------------
// Properties

#define VEL_SET_REPAINT(Field, v) \
    do {                          \
        if (Field == v) return;   \
        Field = v;                \
        Invalidate();             \
    } while (0)

void THTMLabel::SetColorTo(TColor v) { VEL_SET_REPAINT(FColorTo, v); }
void THTMLabel::SetBevelInner(TBevelCut v) { FBevelInner = v; Invalidate(); }
void THTMLabel::SetBevelOuter(TBevelCut v) { FBevelOuter = v; Invalidate(); }
void THTMLabel::SetBevelWidth(TBevelWidth v) { FBevelWidth = v; Invalidate(); }
void THTMLabel::SetBorderWidth(TBorderWidth v) { FBorderWidth = v; Invalidate(); }
void THTMLabel::SetBorderStyle(TBorderStyle v) { FBorderStyle = v; Invalidate(); }
void THTMLabel::SetBorderColor(TColor v) { VEL_SET_REPAINT(FBorderColor, v); }
void THTMLabel::SetEllipsis(bool v) { VEL_SET_REPAINT(FEllipsis, v); }
void THTMLabel::SetGradientType(HTMLabel::TGradientType v) { VEL_SET_REPAINT(FGradientType, v); }
void THTMLabel::SetLineWidth(Integer v) { VEL_SET_REPAINT(FLineWidth, v); }
void THTMLabel::SetLineSpacing(Integer v) { VEL_SET_REPAINT(FLineSpacing, v); }
void THTMLabel::SetShadowColor(TColor v) { VEL_SET_REPAINT(FShadowColor, v); }
void THTMLabel::SetShadowOffset(Integer v) { VEL_SET_REPAINT(FShadowOffset, v); }
void THTMLabel::SetURLColor(TColor v) { VEL_SET_REPAINT(FURLColor, v); }
void THTMLabel::SetVAlignment(HTMLabel::TVAlignment v) { VEL_SET_REPAINT(FVAlignment, v); }

#undef VEL_SET_REPAINT

void THTMLabel::SetAutoSizing(bool v)
{
    FAutoSizing = v;
    if (ComponentState().Contains(csLoading)) return;
    if (v && !(FAutoSizeType == asVertical && (FVAlignment == tvaCenter || FVAlignment == tvaBottom))) {
        if (Align() == alLeft || Align() == alRight) SetWidth(6);
        if (Align() == alTop || Align() == alBottom) SetHeight(6);
    }
    Invalidate();
}

void THTMLabel::SetAutoSizeType(TAutoSizeType v)
{
    FAutoSizeType = v;
    SetAutoSizing(FAutoSizing);
}

void THTMLabel::SetHTMLText(TStrings* Value)
{
    if (!Value) return;
    String s;
    CRToBRTags(Value->Text(), false, s);
    FHTMLText->SetText(s);
    UpdateDisplay();
}

void THTMLabel::SetImages(TCustomImageList* v)
{
    if (FImages) {
        FImages->UnRegisterChanges(FILChangeLink.get());
        FImages->RemoveFreeNotification(this);
    }
    FImages = v;
    if (FImages) {
        FImages->RegisterChanges(FILChangeLink.get());
        FImages->FreeNotification(this);
    }
    Invalidate();
}

void THTMLabel::SetPictureContainer(TPictureContainer* v)
{
    if (FContainer) FContainer->RemoveFreeNotification(this);
    FContainer = v;
    if (FContainer) FContainer->FreeNotification(this);
}

void THTMLabel::TextChanged(TObject*)
{
    FImageCache->ClearPictures();
    Invalidate();
}

void THTMLabel::ImagesChanged(TObject*) { Invalidate(); }

void THTMLabel::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == opRemove) {
        if (AComponent == FImages) FImages = nullptr;
        if (AComponent == FContainer) FContainer = nullptr;
    }
    TCustomLabel::Notification(AComponent, Operation);
}

void THTMLabel::Loaded()
{
    TCustomLabel::Loaded();
    FText.clear();
    SetAutoSizing(FAutoSizing);
}

// ---------------------------------------------------------------------------
// Text

String THTMLabel::GetDisplayText()
{
    String s;
    for (Integer i = 0; i < FHTMLText->Count(); ++i) {
        const String line = FHTMLText->Strings(i);
        if (i > 0 && !(!s.empty() && s.back() == L'>' && !line.empty() && line.front() == L'<')) s += L' ';
        s += line;
    }
    return s;
}

String THTMLabel::Text()
{
    String r;
    StripMarkup(GetDisplayText(), r);
    return r;
}

void THTMLabel::HilightText(const String& HiText, bool DoCase)
{
    String r;
    HighlightMarkupText(FHTMLText->Text(), HiText, L"hi", r, DoCase);
    FHTMLText->SetText(r);
}

void THTMLabel::MarkText(const String& HiText, bool DoCase)
{
    String r;
    HighlightMarkupText(FHTMLText->Text(), HiText, L"e", r, DoCase);
    FHTMLText->SetText(r);
}

void THTMLabel::UnHilightText()
{
    String r;
    RemoveMarkupTag(FHTMLText->Text(), L"hi", r);
    FHTMLText->SetText(r);
}

void THTMLabel::UnMarkText()
{
    String r;
    RemoveMarkupTag(FHTMLText->Text(), L"e", r);
    FHTMLText->SetText(r);
}

void THTMLabel::BeginUpdate() { ++FUpdateCount; }

void THTMLabel::EndUpdate()
{
    if (FUpdateCount <= 0) return;
    --FUpdateCount;
    if (FUpdateCount == 0) Invalidate();
}

void THTMLabel::DoAnchorClick(const String& Anchor)
{
    if (OnAnchorClick) OnAnchorClick(this, Anchor);
}

// ---------------------------------------------------------------------------
// Engine calls

TMarkupParams THTMLabel::LabelParams(TCanvas* C, const String& Text, const TRect& R)
{
    TMarkupParams p;
    p.Canvas = C;
    p.Text = Text;
    p.Rect = R;
    p.Images = FImages;
    p.HoverLink = FHoverHyperLink;
    p.ShadowOffset = FShadowOffset;
    p.Hover = FHover;
    p.ResFactor = 1.0;
    p.URLColor = FURLColor;
    p.HoverColor = FHoverColor;
    p.HoverFontColor = FHoverFontColor;
    p.ShadowColor = FShadowColor;
    return p;
}

bool THTMLabel::DrawMarkup(TMarkupParams& P)
{
    P.FocusLink = -1;
    P.WordWrap = !FEllipsis;
    P.ImageCache = FImageCache.get();
    P.Container = FContainer;
    P.LineSpacing = FLineSpacing;
    P.BiDiMode = bdLeftToRight;
    P.HighlightColor = clHighlight;
    P.HighlightTextColor = clHighlightText;
    P.HighlightStyle = TFontStyles();
    const bool r = RenderMarkup(P);
    FXSize = P.XSize;
    FYSize = P.YSize;
    return r;
}

TSize THTMLabel::HTMLSize()
{
    TCanvas* c = Canvas();
    c->SetFont(Font());
    TMarkupParams p = LabelParams(c, GetDisplayText(), TRect{0, 0, 4096, 4096});
    p.XPos = 0;
    p.YPos = 0;
    p.CheckOnly = true;
    DrawMarkup(p);
    return TSize{p.XSize, p.YSize};
}

TSize THTMLabel::GetSizeWithMaxWidth(Integer AMaxWidth)
{
    TBitmap bmp(1, 1);
    bmp.Canvas()->SetFont(Font());
    TMarkupParams p = LabelParams(bmp.Canvas(), GetDisplayText(), TRect{0, 0, AMaxWidth, 4096});
    p.XPos = 0;
    p.YPos = 0;
    p.CheckOnly = true;
    DrawMarkup(p);
    return TSize{p.XSize, p.YSize};
}

void THTMLabel::HTMLPrint(TCanvas* Canvas, const TRect& r)
{
    TMarkupParams p = LabelParams(Canvas, GetDisplayText(), r);
    p.XPos = 0;
    p.YPos = 0;
    p.HoverLink = -1;
    p.ShadowOffset = 1;
    p.Printing = true;
    p.Hover = false;
    p.HoverColor = clNone;
    p.HoverFontColor = clNone;
    p.ShadowColor = clGray;
    DrawMarkup(p);
}

// ---------------------------------------------------------------------------
// Painting

TRect THTMLabel::LayoutRect(TCanvas* C, Integer MX, Integer MY, bool Draw, bool& Changed)
{
    Changed = false;
    TRect R = ClientRect();
    // Bevels and the band between them; each frame shrinks R by its width.
    TColor tl, br;
    if (FBevelOuter != bvNone) {
        BevelColors(FBevelOuter, tl, br);
        if (Draw) Frame3D(C, R, tl, br, FBevelWidth);
        else InflateRect(R, -FBevelWidth, -FBevelWidth);
    }
    if (Draw) Frame3D(C, R, Color(), Color(), FBorderWidth);
    else InflateRect(R, -FBorderWidth, -FBorderWidth);
    if (FBevelInner != bvNone) {
        BevelColors(FBevelInner, tl, br);
        if (Draw) Frame3D(C, R, tl, br, FBevelWidth);
        else InflateRect(R, -FBevelWidth, -FBevelWidth);
    }
    Integer A = 0;
    if (FBorderStyle == bsSingle && FBorderWidth != 0 && FBorderColor != clNone) {
        A = (FBorderWidth + 1) / 2;
        const Integer B = FBorderWidth / 2;
        if (Draw) {
            C->Pen()->SetWidth(FBorderWidth);
            C->Pen()->SetColor(FBorderColor);
            C->Brush()->SetStyle(bsClear);
            C->Polyline({TPoint{R.Left - A, R.Top - A}, TPoint{R.Right + B, R.Top - A},
                         TPoint{R.Right + B, R.Bottom + B}, TPoint{R.Left - A, R.Bottom + B},
                         TPoint{R.Left - A, R.Top - A}});
            C->Pen()->SetWidth(1);
            C->Brush()->SetStyle(bsSolid);
        }
    }
    if (FBevelOuter != bvNone || FBevelInner != bvNone) InflateRect(R, -FBevelWidth, -FBevelWidth);
    if (FBorderStyle == bsSingle) InflateRect(R, -A, -A);

    const String text = GetDisplayText();
    C->Brush()->SetColor(Color());
    TVAlignment V = FVAlignment;
    if (FAutoSizing && (FAutoSizeType == asVertical || FAutoSizeType == asBoth)) V = tvaTop;
    if (FAutoSizing) {
        if (Grows(Align(), FAutoSizeType, true)) R.Right += 65535;
        if (Grows(Align(), FAutoSizeType, false)) R.Bottom += 65535;
    }
    Integer xs = 0, ys = 0;
    if (FAutoSizing || V != tvaTop) {
        TMarkupParams p = LabelParams(C, text, R);
        p.XPos = MX;
        p.YPos = MY;
        p.CheckOnly = true;
        DrawMarkup(p);
        xs = p.XSize;
        ys = p.YSize;
        C->SetFont(Font());
    }
    if (FAutoSizing) {
        if (FVAlignment == tvaCenter) R.Top += 3;
        if (FVAlignment == tvaBottom) R.Top += 6;
        if (FBorderStyle == bsSingle) {
            xs += 2 * FBorderWidth;
            ys += 2 * FBorderWidth;
        }
        if (Draw) {
            if (Grows(Align(), FAutoSizeType, false) && ys + 6 != Height()) {
                SetHeight(ys + 6);
                Changed = true;
            }
            if (Grows(Align(), FAutoSizeType, true) && xs + 6 != Width()) {
                SetWidth(xs + 6);
                Changed = true;
            }
        }
    }
    if (V == tvaCenter) R.Top += (R.Bottom - R.Top - ys) / 2;
    else if (V == tvaBottom) R.Top = R.Bottom - ys;
    return R;
}

void THTMLabel::Paint()
{
    TRect R = ClientRect();
    if (R.Right <= R.Left || R.Bottom <= R.Top) return;
    FText.clear();
    const Integer steps = (R.Right - R.Left) / 4;
    std::unique_ptr<TBitmap> bmp;
    TCanvas* C = Canvas();
    if (!Transparent()) {
        bmp = std::make_unique<TBitmap>(R.Right, R.Bottom);
        C = bmp->Canvas();
        if (FColorTo != clNone && (FGradientType == gtFullHorizontal || FGradientType == gtFullVertical)) {
            GradientFill(C, Color(), FColorTo, FGradientType == gtFullHorizontal, R, steps);
        } else {
            C->Pen()->SetColor(Color());
            C->Brush()->SetColor(Color());
            C->Rectangle(R);
        }
    }
    if (FGradientType == gtBottomLine || FGradientType == gtCenterLine || FGradientType == gtTopLine) {
        TRect band = R;
        if (FGradientType == gtBottomLine) band.Top = band.Bottom - FLineWidth;
        else if (FGradientType == gtCenterLine) {
            band.Top = band.Top + (band.Bottom - band.Top - FLineWidth) / 2;
            band.Bottom = band.Top + FLineWidth;
        } else band.Bottom = band.Top + FLineWidth;
        GradientFill(C, Color(), FColorTo, true, band, steps);
    }
    C->SetFont(Font());
    if (FUpdateCount > 0) return;

    TPoint mouse;
    GetCursorPos(&mouse);
    mouse = ScreenToClient(mouse);
    bool changed = false;
    const TRect tr = LayoutRect(C, mouse.X, mouse.Y, true, changed);

    TMarkupParams p = LabelParams(C, GetDisplayText(), tr);
    p.XPos = mouse.X;
    p.YPos = mouse.Y;
    DrawMarkup(p);
    if (bmp) Canvas()->Draw(0, 0, bmp.get());
    // The resize's own repaint would be dropped with the rest of this paint's
    // invalid area: the parent repaints once the paint is over.
    if (changed && Parent() && Parent()->HandleAllocated()) PostMessage(Parent()->Handle(), CM_INVALIDATE, 0, 0);
    if (FAutoSizing && OnNewSize && changed) OnNewSize(this, Width(), Height());
}

// ---------------------------------------------------------------------------
// Anchors and the mouse

void THTMLabel::AnchorAt(Integer X, Integer Y, TRect& HoverRect, String& Anchor, String* Href)
{
    Anchor.clear();
    HoverRect = TRect{-1, -1, -1, -1};
    TCanvas* C = Canvas();
    C->SetFont(Font());
    bool changed = false;
    const TRect r = LayoutRect(C, X, Y, false, changed);
    TMarkupParams p = LabelParams(C, GetDisplayText(), r);
    p.XPos = X;
    p.YPos = Y;
    p.HoverLink = -1;
    p.CheckOnly = true;
    p.URLColor = clWhite;
    p.HoverColor = clNone;
    p.HoverFontColor = clNone;
    p.ShadowColor = clNone;
    const bool hit = DrawMarkup(p);
    FHoverHyperLink = p.MouseLink;
    HoverRect = p.HoverRect;
    if (hit) {
        Anchor = p.FocusAnchor.empty() ? p.AnchorVal : p.FocusAnchor;
        if (Href) *Href = p.AnchorVal;
    } else FHoverHyperLink = -1;
}

void THTMLabel::InvalidateHover(const TRect& R)
{
    if (!Parent() || !Parent()->HandleAllocated()) return;
    TRect r = R;
    OffsetRect(r, Left(), Top());
    InvalidateRect(Parent()->Handle(), &r, TRUE);
}

void THTMLabel::MouseMove(TShiftState Shift, Integer X, Integer Y)
{
    TCustomLabel::MouseMove(Shift, X, Y);
    TRect hr;
    String anchor;
    AnchorAt(X, Y, hr, anchor);
    if (!anchor.empty()) {
        if ((anchor != FAnchor || hr != FCurrHoverRect || FHoverHyperLink == -1) && FHover && hr.Left != -1)
            InvalidateHover(FCurrHoverRect);
        if (Cursor() == crDefault || anchor != FAnchor || FOldHoverHyperLink != FHoverHyperLink) {
            if (FAnchorHint && Application) Application->CancelHint();
            SetCursor(crHandPoint);
            if (OnAnchorEnter) OnAnchorEnter(this, anchor);
            if (FHover) {
                if (hr.Left != -1) InvalidateHover(FCurrHoverRect);
                else Invalidate();
            }
        }
        FAnchor = anchor;
        FOldHoverHyperLink = FHoverHyperLink;
        FCurrHoverRect = hr;
        if (FHover) InvalidateHover(hr);
    } else if (Cursor() == crHandPoint) {
        SetCursor(crDefault);
        if (OnAnchorExit) OnAnchorExit(this, anchor);
        if (FHover) {
            if (FCurrHoverRect.Left != -1) InvalidateHover(FCurrHoverRect);
            else Invalidate();
        }
        FCurrHoverRect = hr;
        if (FHover) InvalidateHover(hr);
    }
}

void THTMLabel::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    TCustomLabel::MouseDown(Button, Shift, X, Y);
    TRect hr;
    String anchor;
    // The click follows the HREF even when the anchor has a TITLE: the TITLE
    // is what hovering and hints report, the HREF is where the link goes.
    String href;
    AnchorAt(X, Y, hr, anchor, &href);
    if (anchor.empty() || Button != mbLeft) return;
    DoAnchorClick(href);
    OpenMarkupLink(href);
}

void THTMLabel::CMMouseLeave(TMessage& M)
{
    if (FHover && FHoverHyperLink != -1) InvalidateHover(FCurrHoverRect);
    FHoverHyperLink = -1;
    TCustomLabel::CMMouseLeave(M);  // fires OnMouseLeave
}

void THTMLabel::CMMouseEnter(TMessage& M) { TCustomLabel::CMMouseEnter(M); }

void THTMLabel::CMHintShow(TMessage& M)
{
    auto* info = reinterpret_cast<THintInfo*>(M.LParam);
    String anchor;
    if (info && FAnchorHint) {
        TRect hr;
        AnchorAt(info->CursorPos.X, info->CursorPos.Y, hr, anchor);
        if (!anchor.empty()) {
            if (OnAnchorHint) OnAnchorHint(this, anchor);
            TPoint p = ClientToScreen(info->CursorPos);
            info->HintPos = TPoint{p.X + 10, p.Y - 10};
            info->HintStr = anchor;
        }
    }
    if (info && FHintShowFull && (anchor.empty() || !FAnchorHint)) {
        if (FHTMLHint) info->HintStr = GetDisplayText();
        else info->HintStr = Text();
    }
    M.Result = 0;
}

void THTMLabel::Dispatch(TMessage& M)
{
    if (M.Msg == CM_DIALOGCHAR) {
        if (FocusControl() && Enabled() && ShowAccelChar() && IsAccel(M.CharCode(), FHTMLText->Text()) &&
            FocusControl()->CanFocus()) {
            FocusControl()->SetFocus();
            M.Result = 1;
        }
        return;
    }
    TCustomLabel::Dispatch(M);
}
