#include "controls/markup/HTMLText.h"

#include "platform/ui/WindowManager.h"

using namespace HTMLabel;

namespace {

constexpr UINT_PTR kTimerId = 1;

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

THTMLStaticText::THTMLStaticText(TComponent* AOwner) : TCustomStaticText(AOwner)
{
    FAutoSize = false;
    FHTMLText = std::make_unique<TStringList>();
    FHTMLText->OnChange = [this](TObject* s) { TextChanged(s); };
    FImageCache = std::make_unique<THTMLPictureCache>();
    FText.clear();
    SetBounds(FLeft, FTop, 150, 20);
    SetDoubleBuffered(true);
    if (ComponentState().Contains(csDesigning) && AOwner &&
        !AOwner->ComponentState().Contains(csReading) && !AOwner->ComponentState().Contains(csLoading))
        FHTMLText->Add(L"Qel <b>HTML</b> StaticText");
}

THTMLStaticText::~THTMLStaticText()
{
    StopTimer();
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

void THTMLStaticText::SetAutoSizing(bool v) { FAutoSizing = v; Invalidate(); }
void THTMLStaticText::SetBevelInner(TBevelCut v) { FBevelInner = v; Invalidate(); }
void THTMLStaticText::SetBevelOuter(TBevelCut v) { FBevelOuter = v; Invalidate(); }
void THTMLStaticText::SetBevelWidth(TBevelWidth v) { FBevelWidth = v; Invalidate(); }
void THTMLStaticText::SetBorderWidth(TBorderWidth v) { FBorderWidth = v; Invalidate(); }
void THTMLStaticText::SetBorderStyle(TBorderStyle v) { FBorderStyle = v; Invalidate(); }
void THTMLStaticText::SetEllipsis(bool v) { VEL_SET_REPAINT(FEllipsis, v); }
void THTMLStaticText::SetHover(bool v) { VEL_SET_REPAINT(FHover, v); }
void THTMLStaticText::SetLineSpacing(Integer v) { VEL_SET_REPAINT(FLineSpacing, v); }
void THTMLStaticText::SetShadowColor(TColor v) { FShadowColor = v; Invalidate(); }
void THTMLStaticText::SetShadowOffset(Integer v) { FShadowOffset = v; Invalidate(); }
void THTMLStaticText::SetURLColor(TColor v) { VEL_SET_REPAINT(FURLColor, v); }
void THTMLStaticText::SetImages(TCustomImageList* v)
{
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = v;
    if (FImages) FImages->FreeNotification(this);
    Invalidate();
}

#undef VEL_SET_REPAINT

void THTMLStaticText::SetPictureContainer(TPictureContainer* v)
{
    if (FContainer) FContainer->RemoveFreeNotification(this);
    FContainer = v;
    if (FContainer) FContainer->FreeNotification(this);
}

void THTMLStaticText::SetMiniScroll(bool v)
{
    if (FMiniScroll == v) return;
    if (v) FVAlignment = tvaTop;
    else FVOffset = 0;
    FMiniScroll = v;
    UpdateTimer();
    Invalidate();
}

void THTMLStaticText::SetVAlignment(HTMLabel::TVAlignment v)
{
    if (FVAlignment == v) return;
    FVAlignment = v;
    if (v != tvaTop && FMiniScroll) {
        FMiniScroll = false;
        FVOffset = 0;
        UpdateTimer();
    }
    Invalidate();
}

void THTMLStaticText::SetVOffset(Integer v)
{
    if (!FMiniScroll || ComponentState().Contains(csDesigning)) return;
    if (v < 0) {
        FVOffset = 0;
        return;
    }
    FVOffset = v;
    Invalidate();
}

void THTMLStaticText::SetEnableBlink(bool v)
{
    FEnableBlink = v;
    if (ComponentState().Contains(csLoading)) return;
    UpdateTimer();
    Invalidate();
    FBlinking = false;
}

void THTMLStaticText::SetAutoScroll(bool v)
{
    FAutoScroll = v;
    if (ComponentState().Contains(csLoading)) return;
    UpdateTimer();
}

void THTMLStaticText::SetHTMLText(TStrings* Value)
{
    if (!Value) return;
    FHTMLText->Assign(Value);
    Invalidate();
}

void THTMLStaticText::TextChanged(TObject*)
{
    FHoverHyperLink = -1;
    FFocusHyperLink = -1;
    Invalidate();
}

void THTMLStaticText::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == opRemove) {
        if (AComponent == FImages) FImages = nullptr;
        if (AComponent == FContainer) FContainer = nullptr;
    }
    TCustomStaticText::Notification(AComponent, Operation);
}

void THTMLStaticText::Loaded()
{
    TCustomStaticText::Loaded();
    FText.clear();
    UpdateTimer();
}

// ---------------------------------------------------------------------------
// Text

String THTMLStaticText::GetDisplayText()
{
    String s;
    for (Integer i = 0; i < FHTMLText->Count(); ++i) s += FHTMLText->Strings(i);
    return s;
}

String THTMLStaticText::Text()
{
    String r;
    StripMarkup(GetDisplayText(), r);
    return r;
}

void THTMLStaticText::HilightText(const String& HiText, bool DoCase)
{
    String r;
    HighlightMarkupText(FHTMLText->Text(), HiText, L"hi", r, DoCase);
    FHTMLText->SetText(r);
}

void THTMLStaticText::MarkText(const String& HiText, bool DoCase)
{
    String r;
    HighlightMarkupText(FHTMLText->Text(), HiText, L"e", r, DoCase);
    FHTMLText->SetText(r);
}

void THTMLStaticText::UnHilightText()
{
    String r;
    RemoveMarkupTag(FHTMLText->Text(), L"hi", r);
    FHTMLText->SetText(r);
}

void THTMLStaticText::UnMarkText()
{
    String r;
    RemoveMarkupTag(FHTMLText->Text(), L"e", r);
    FHTMLText->SetText(r);
}

void THTMLStaticText::BeginUpdate() { ++Fupdatecount; }

void THTMLStaticText::EndUpdate()
{
    if (Fupdatecount <= 0) return;
    --Fupdatecount;
    if (Fupdatecount == 0) Invalidate();
}

void THTMLStaticText::DoAnchorClick(const String& Anchor)
{
    if (OnAnchorClick) OnAnchorClick(this, Anchor);
}

void THTMLStaticText::DoAnchorRightClick(const String& Anchor)
{
    if (OnAnchorRightClick) OnAnchorRightClick(this, Anchor);
}

// ---------------------------------------------------------------------------
// Painting

TMarkupParams THTMLStaticText::TextParams(TCanvas* C, const String& Text, const TRect& R)
{
    TMarkupParams p;
    p.Canvas = C;
    p.Text = Text;
    p.Rect = R;
    p.Images = FImages;
    p.FocusLink = FocusIndex();
    p.HoverLink = FHoverHyperLink;
    p.ShadowOffset = FShadowOffset;
    p.Blink = FBlinking;
    p.Hover = FHover;
    p.WordWrap = !FEllipsis;
    p.ResFactor = 1.0;
    p.URLColor = FURLColor;
    p.HoverColor = FHoverColor;
    p.HoverFontColor = FHoverFontColor;
    p.ShadowColor = FShadowColor;
    p.ImageCache = FImageCache.get();
    p.Container = FContainer;
    p.LineSpacing = FLineSpacing;
    p.BiDiMode = bdLeftToRight;
    p.HighlightColor = clHighlight;
    p.HighlightTextColor = clHighlightText;
    return p;
}

Integer THTMLStaticText::FocusIndex()
{
    return HandleAllocated() && GetFocus() == Handle() ? FFocusHyperLink : -1;
}

TRect THTMLStaticText::TextRect(TCanvas* C, bool Painting, Integer MX, Integer MY, TRect& R0)
{
    const bool bevel = FBevelOuter != bvNone || FBevelInner != bvNone;
    TRect R = ClientRect();
    if (bevel) InflateRect(R, -FBevelWidth, -FBevelWidth);
    if (FBorderStyle == bsSingle) InflateRect(R, -FBorderWidth, -FBorderWidth);
    R0 = R;
    const String text = GetDisplayText();
    if (FAutoSizing) {
        if (Grows(Align(), FAutoSizeType, true)) R.Right += 65535;
        if (Grows(Align(), FAutoSizeType, false)) R.Bottom += 65535;
    }
    R.Bottom = 65535;
    if (FMiniScroll) {
        R.Top -= FVOffset;
        R.Right -= 10;
        if (Painting) {
            FUpScroll = FDownScroll = false;
            TMarkupParams p = TextParams(C, text, R);
            p.XPos = MX;
            p.YPos = MY;
            p.CheckOnly = true;
            p.CheckHeight = true;
            RenderMarkup(p);
            if (p.YSize >= Height() + FVOffset) {
                TRect a{R0.Right - 10, R0.Bottom - 10, R0.Right, R0.Bottom};
                DrawFrameControl(C->Handle(), &a, DFC_SCROLL, DFCS_SCROLLDOWN | DFCS_FLAT);
                FDownScroll = true;
            }
            if (FVOffset > 0) {
                TRect a{R0.Right - 10, R0.Top, R0.Right, R0.Top + 10};
                DrawFrameControl(C->Handle(), &a, DFC_SCROLL, DFCS_SCROLLUP | DFCS_FLAT);
                FUpScroll = true;
            }
            C->SetFont(Font());
        }
    }
    if (FVAlignment == tvaCenter || FVAlignment == tvaBottom) {
        R = ClientRect();
        TMarkupParams p = TextParams(C, text, R);
        p.XPos = MX;
        p.YPos = MY;
        p.CheckOnly = true;
        if (!Painting) {
            p.FocusLink = -1;
            p.HoverLink = -1;
            p.Blink = false;
        }
        RenderMarkup(p);
        if (Height() > p.YSize) {
            if (FVAlignment == tvaCenter) R.Top += (R.Bottom - R.Top - p.YSize) / 2;
            else R.Top = R.Bottom - p.YSize;
        }
    }
    return R;
}

void THTMLStaticText::PaintText(HDC Target)
{
    if (!HandleAllocated() || Width() <= 0 || Height() <= 0) return;
    TBitmap bmp(Width(), Height());
    TCanvas* C = bmp.Canvas();
    C->SetFont(Font());

    // Frame: bevels with the band between them, and the single border.
    TRect R = ClientRect();
    TColor tl, br;
    if (FBevelOuter != bvNone) {
        BevelColors(FBevelOuter, tl, br);
        Frame3D(C, R, tl, br, FBevelWidth);
    }
    Frame3D(C, R, Color(), Color(), FBorderWidth);
    if (FBevelInner != bvNone) {
        BevelColors(FBevelInner, tl, br);
        Frame3D(C, R, tl, br, FBevelWidth);
    }
    C->Pen()->SetColor(Color());
    C->Brush()->SetColor(Color());
    C->Pen()->SetWidth(0);
    const bool single = FBorderStyle == bsSingle && FBorderWidth > 0;
    if (single) {
        C->Pen()->SetWidth(FBorderWidth);
        C->Pen()->SetColor(clWindowFrame);
        C->Rectangle(R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1);
    }
    R = ClientRect();
    if (FBevelOuter != bvNone || FBevelInner != bvNone || FBorderStyle != bsNone)
        InflateRect(R, -FBevelWidth, -FBevelWidth);
    if (!single) C->Rectangle(R);
    C->Pen()->SetWidth(1);

    TPoint mouse;
    GetCursorPos(&mouse);
    mouse = ScreenToClient(mouse);
    TRect R0;
    R = TextRect(C, true, mouse.X, mouse.Y, R0);

    HRGN clip = CreateRectRgn(R.Left, R.Top, R.Right, R.Bottom);
    SelectClipRgn(C->Handle(), clip);
    const String text = GetDisplayText();
    TMarkupParams p = TextParams(C, text, R);
    if (Enabled()) {
        p.XPos = mouse.X;
        p.YPos = mouse.Y;
        RenderMarkup(p);
    } else {
        // A white copy one pixel down and right (without images) under grey text.
        C->Font()->SetColor(clWhite);
        TMarkupParams w = TextParams(C, text, R);
        OffsetRect(w.Rect, 1, 1);
        w.XPos = 0;
        w.YPos = 0;
        w.Images = nullptr;
        w.URLColor = clWhite;
        w.HoverColor = clNone;
        w.HoverFontColor = clNone;
        RenderMarkup(w);
        C->Font()->SetColor(clGray);
        p.XPos = 0;
        p.YPos = 0;
        p.URLColor = clGray;
        p.HoverColor = clNone;
        p.HoverFontColor = clNone;
        RenderMarkup(p);
    }
    FHTMLHeight = p.YSize + 2;
    FHTMLWidth = p.XSize;
    SelectClipRgn(C->Handle(), nullptr);
    DeleteObject(clip);
    FNumHyperLinks = p.HyperLinks;
    FFocusAnchor = p.FocusAnchor;

    bool changed = false;
    if (FAutoSizing) {
        if (Grows(Align(), FAutoSizeType, false) && p.YSize + 6 != Height()) {
            SetHeight(p.YSize + 6);
            changed = true;
        }
        if (Grows(Align(), FAutoSizeType, true) && p.XSize + 6 != Width()) {
            SetWidth(p.XSize + 6);
            changed = true;
        }
    }
    HDC dc = Target ? Target : GetDC(Handle());
    TCanvas out;
    out.SetHandle(dc);
    out.Draw(0, 0, &bmp);
    out.SetHandle(nullptr);
    if (!Target) ReleaseDC(Handle(), dc);
    // Repainted at the new size once this paint is over (a paint's own
    // invalidations are dropped with its invalid area).
    if (changed) PostMessage(Handle(), CM_INVALIDATE, 0, 0);
    if (FAutoSizing && OnNewSize && changed) OnNewSize(this, Width(), Height());
}

// ---------------------------------------------------------------------------
// Anchors, mouse and keys

void THTMLStaticText::AnchorAt(Integer X, Integer Y, TRect& HoverRect, String& Anchor)
{
    Anchor.clear();
    HoverRect = TRect{-1, -1, -1, -1};
    if (!HandleAllocated()) return;
    HDC dc = GetDC(Handle());
    TCanvas C;
    C.SetHandle(dc);
    C.SetFont(Font());
    TRect R0;
    const TRect r = TextRect(&C, false, X, Y, R0);
    TMarkupParams p = TextParams(&C, GetDisplayText(), r);
    p.XPos = X;
    p.YPos = Y;
    p.FocusLink = -1;
    p.HoverLink = -1;
    p.CheckOnly = true;
    p.Blink = false;
    p.URLColor = clWhite;
    p.HoverColor = clNone;
    p.HoverFontColor = clNone;
    p.ShadowColor = clNone;
    const bool hit = RenderMarkup(p);
    FHoverHyperLink = p.MouseLink;
    HoverRect = p.HoverRect;
    if (hit) Anchor = p.AnchorVal;
    else FHoverHyperLink = -1;
    C.SetHandle(nullptr);
    ReleaseDC(Handle(), dc);
}

void THTMLStaticText::InvalidateHover(const TRect& R, bool Erase)
{
    if (HandleAllocated()) InvalidateRect(Handle(), &R, Erase ? TRUE : FALSE);
}

void THTMLStaticText::MouseMove(TShiftState Shift, Integer X, Integer Y)
{
    TRect hr;
    String anchor;
    AnchorAt(X, Y, hr, anchor);
    if (!anchor.empty()) {
        if (hr.Left == -1) PaintText();
        FFocusHyperLink = -1;
        if ((anchor != FAnchor || hr != FCurrHoverRect || FHoverHyperLink == -1 ||
             FOldHoverHyperlink != FHoverHyperLink) && FHover)
            InvalidateHover(FCurrHoverRect, true);
        if (Cursor() == crDefault || anchor != FAnchor) {
            FAnchor = anchor;
            if (FAnchorHint && Application) Application->CancelHint();
            SetCursor(crHandPoint);
            if (OnAnchorEnter) OnAnchorEnter(this, anchor);
            if (FHover && hr.Left != -1) InvalidateHover(hr, false);
            FOldHoverHyperlink = FHoverHyperLink;
            FCurrHoverRect = hr;
        }
    } else if (Cursor() == crHandPoint) {
        SetCursor(crDefault);
        FFocusHyperLink = -1;
        if (FHover) {
            InvalidateHover(FCurrHoverRect, true);
            FHoverHyperLink = -1;
        }
        if (OnAnchorExit) OnAnchorExit(this, anchor);
    }
    TCustomStaticText::MouseMove(Shift, X, Y);
}

void THTMLStaticText::ScrollZones(Integer X, Integer Y)
{
    TRect S = ClientRect();
    if (FBevelOuter != bvNone || FBevelInner != bvNone) InflateRect(S, -FBevelWidth, -FBevelWidth);
    if (FBorderStyle == bsSingle) InflateRect(S, -FBorderWidth, -FBorderWidth);
    if (FUpScroll && X > S.Right - 10 && Y < S.Top + 10) SetVOffset(FVOffset - 4);
    if (FDownScroll && X > S.Right - 10 && Y > S.Bottom - 10) SetVOffset(FVOffset + 4);
}

void THTMLStaticText::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    TCustomStaticText::MouseDown(Button, Shift, X, Y);
    FMouseDown = true;
    if (FMiniScroll && (FUpScroll || FDownScroll)) ScrollZones(X, Y);
    TRect hr;
    String anchor;
    AnchorAt(X, Y, hr, anchor);
    if (anchor.empty()) return;
    if (Button == mbLeft) {
        DoAnchorClick(anchor);
        OpenMarkupLink(anchor);
    } else if (Button == mbRight) {
        DoAnchorRightClick(anchor);
    }
}

void THTMLStaticText::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    TCustomStaticText::MouseUp(Button, Shift, X, Y);
    FMouseDown = false;
}

void THTMLStaticText::KeyPress(wchar_t& Key)
{
    TCustomStaticText::KeyPress(Key);
    if (Key == L'\r' || Key == L' ') {
        if (OnAnchorKeypress) OnAnchorKeypress(this, FFocusAnchor);
        OpenMarkupLink(FFocusAnchor);
    }
}

void THTMLStaticText::CMMouseEnter(TMessage& M)
{
    TPoint p;
    GetCursorPos(&p);
    p = ScreenToClient(p);
    TRect hr;
    String anchor;
    AnchorAt(p.X, p.Y, hr, anchor);
    if (!anchor.empty() && (Cursor() == crDefault || anchor != FAnchor)) {
        FAnchor = anchor;
        if (FAnchorHint && Application) Application->CancelHint();
        SetCursor(crHandPoint);
        if (OnAnchorEnter) OnAnchorEnter(this, anchor);
        if (FHover) PaintText();
        FCurrHoverRect = hr;
    }
    TCustomStaticText::CMMouseEnter(M);  // fires OnMouseEnter
}

void THTMLStaticText::CMMouseLeave(TMessage& M)
{
    if (FHoverHyperLink >= 0) {
        FHoverHyperLink = -1;
        if (FHover) InvalidateHover(FCurrHoverRect, true);
    }
    TCustomStaticText::CMMouseLeave(M);  // fires OnMouseLeave
}

void THTMLStaticText::CMHintShow(TMessage& M)
{
    auto* info = reinterpret_cast<THintInfo*>(M.LParam);
    if (info && FAnchorHint) {
        TRect hr;
        String anchor;
        AnchorAt(info->CursorPos.X, info->CursorPos.Y, hr, anchor);
        if (!anchor.empty()) {
            if (OnAnchorHint) OnAnchorHint(this, anchor);
            const TPoint p = ClientToScreen(info->CursorPos);
            info->HintPos = TPoint{p.X + 10, p.Y - 10};
            info->HintStr = anchor;
        }
    }
    M.Result = 0;
}

// ---------------------------------------------------------------------------
// The timer: it runs exactly while the window exists and blinking, auto
// scroll or the mini scroll is on.

void THTMLStaticText::UpdateTimer()
{
    const bool want = HandleAllocated() && !ComponentState().Contains(csDesigning) &&
                      !ComponentState().Contains(csDestroying) && (FEnableBlink || FAutoScroll || FMiniScroll);
    if (want && FTimerID == 0) FTimerID = Integer(SetTimer(Handle(), kTimerId, 100, nullptr));
    else if (!want) StopTimer();
}

void THTMLStaticText::StopTimer()
{
    if (FTimerID != 0 && HandleAllocated()) KillTimer(Handle(), kTimerId);
    FTimerID = 0;
}

void THTMLStaticText::CreateWnd()
{
    TCustomStaticText::CreateWnd();
    UpdateTimer();
}

void THTMLStaticText::WndProc(TMessage& M)
{
    if (M.Msg == WM_DESTROY) StopTimer();
    TCustomStaticText::WndProc(M);
}

void THTMLStaticText::OnTimerTick()
{
    if (!(FEnableBlink || FAutoScroll || FMiniScroll)) return;
    ++FTimerCount;
    bool animated = FImageCache->Animate();
    if (FContainer && FContainer->Items()->Animate()) animated = true;
    if (animated) PaintText();
    if (FMiniScroll && (FUpScroll || FDownScroll)) {
        if (!FAutoScroll && !FMouseDown) return;
        TPoint p;
        GetCursorPos(&p);
        p = ScreenToClient(p);
        if (PtInRect(ClientRect(), p)) ScrollZones(p.X, p.Y);
    }
    if (FTimerCount % 5 == 0 && Pos(L"<BLINK", UpperCase(GetDisplayText())) > 0) {
        PaintText();
        FBlinking = !FBlinking;
    }
}

void THTMLStaticText::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case WM_PAINT: {
        HDC given = reinterpret_cast<HDC>(M.WParam);
        if (given) {
            if (Fupdatecount <= 0) PaintText(given);
        } else {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(Handle(), &ps);
            if (Fupdatecount <= 0 && dc) PaintText(dc);
            EndPaint(Handle(), &ps);
        }
        M.Result = 0;
        return;
    }
    case WM_ERASEBKGND: M.Result = 1; return;
    case WM_SIZE:
    case CM_ENABLEDCHANGED:
        TCustomStaticText::Dispatch(M);
        Invalidate();
        return;
    case WM_SETFOCUS:
        if (FFocusHyperLink < 0) FFocusHyperLink = 0;
        Invalidate();
        // The platform's focus bookkeeping (OnEnter, the form's active
        // control) still runs.
        TCustomStaticText::Dispatch(M);
        return;
    case WM_KILLFOCUS:
        Invalidate();
        TCustomStaticText::Dispatch(M);
        return;
    case WM_KEYDOWN: {
        const Word key = Word(M.WParam);
        if (key == VK_LEFT || key == VK_UP) {
            PaintText();
            FFocusHyperLink = FFocusHyperLink <= 0 ? FNumHyperLinks - 1 : FFocusHyperLink - 1;
            M.WParam = 0;
            PaintText();
        } else if (key == VK_RIGHT || key == VK_DOWN) {
            PaintText();
            FFocusHyperLink = FFocusHyperLink < FNumHyperLinks - 1 ? FFocusHyperLink + 1 : 0;
            M.WParam = 0;
            PaintText();
        }
        TCustomStaticText::Dispatch(M);
        return;
    }
    case WM_TIMER:
        if (M.WParam == kTimerId) OnTimerTick();
        return;
    case CM_WANTSPECIALKEY:
        TCustomStaticText::Dispatch(M);
        switch (Word(M.WParam)) {
        case VK_LEFT: case VK_UP: case VK_RIGHT: case VK_DOWN: M.Result = 1; break;
        default: break;
        }
        return;
    default: break;
    }
    TCustomStaticText::Dispatch(M);
}
