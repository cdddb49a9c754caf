#include "controls/dropdown/ButtonPanel.h"

#include <algorithm>

#include "controls/foundation/VodGDIP.h"
#include "platform/gfx/Gdi.h"
#include "platform/gfx/ImageList.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/Windows.h"

namespace {

// A colour with red and green scaled by rg, blue by b (percent).
TColor Tint(TColor c, int rg, int b)
{
    int r = c & 0xFF, g = (c >> 8) & 0xFF, bl = (c >> 16) & 0xFF;
    return TColor((r * rg / 100) | ((g * rg / 100) << 8) | ((bl * b / 100) << 16));
}

ARGB WithAlpha(TColor c, Byte a) { return (ARGBFromTColor(c) & 0x00FFFFFFu) | (ARGB(a) << 24); }

struct TBuiltButton {
    const wchar_t* Caption;
    const wchar_t* Name;
    Integer Tag;
    bool Special;
};

// The calculator's buttons in collection order.
constexpr TBuiltButton kCalcButtons[28] = {
    {L"", L"BTN_ON", 30, false},       {L"Back", L"BTN_BACK", 31, true}, {L"CE", L"BTN_CE", 32, true},
    {L"C", L"BTN_C", 16, true},        {L"MC", L"BTN_MC", 33, true},     {L"MR", L"BTN_MR", 34, true},
    {L"MS", L"BTN_MS", 35, true},      {L"M+", L"BTN_M+", 36, true},     {L"0", L"BTN_0", 0, false},
    {L"1", L"BTN_1", 1, false},        {L"4", L"BTN_4", 4, false},       {L"7", L"BTN_7", 7, false},
    {L"8", L"BTN_8", 8, false},        {L"5", L"BTN_5", 5, false},       {L"2", L"BTN_2", 2, false},
    {L"+/-", L"BTN_+/-", 14, false},   {L".", L"BTN_.", 15, false},      {L"3", L"BTN_3", 3, false},
    {L"6", L"BTN_6", 6, false},        {L"9", L"BTN_9", 9, false},       {L"/", L"BTN_/", 13, true},
    {L"*", L"BTN_*", 12, true},        {L"-", L"BTN_-", 11, true},       {L"+", L"BTN_+", 10, true},
    {L"=", L"BTN_=", 17, true},        {L"1/x", L"BTN_1/x", 38, false},  {L"%", L"BTN_%", 18, false},
    {L"sqrt", L"BTN_sqrt", 37, true},
};

}  // namespace

// ---------------------------------------------------------------------------
// TButtonAppearance

VodButtonPanel::TButtonAppearance::TButtonAppearance() : FFont(std::make_unique<TFont>())
{
    FColorCheckedTo = Tint(0xF9D2B2, 90, 100);
    FColorChecked = Tint(0xF5F0E1, 90, 100);
    FColorDisabled = Tint(0xFFFFFF, 95, 95);
    FColorDisabledTo = Tint(0xFFFFFF, 95, 95);
    FFont->SetSize(10);
    FFont->SetStyle(TFontStyles{fsBold});
    FFont->OnChange = [this](TObject*) { Changed(); };
}

VodButtonPanel::TButtonAppearance::~TButtonAppearance() { FFont->OnChange = nullptr; }

void VodButtonPanel::TButtonAppearance::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<VodButtonPanel::TButtonAppearance*>(Source);
    if (!s) {
        TPersistent::Assign(Source);
        return;
    }
    SetBorderColor(s->FBorderColor);
    SetBorderColorHot(s->FBorderColorHot);
    SetBorderColorDown(s->FBorderColorDown);
    SetBorderColorChecked(s->FBorderColorChecked);
    SetColor(s->FColor);
    SetColorTo(s->FColorTo);
    SetColorDown(s->FColorDown);
    SetColorDownTo(s->FColorDownTo);
    SetColorHot(s->FColorHot);
    SetColorHotTo(s->FColorHotTo);
    SetColorCheckedTo(s->FColorCheckedTo);
    SetColorDisabled(s->FColorDisabled);
    SetColorDisabledTo(s->FColorDisabledTo);
    SetColorChecked(s->FColorChecked);
    SetShineColor(s->FShineColor);
    SetTextColor(s->FTextColor);
    SetSpecialTextColor(s->FSpecialTextColor);
    FGlowColorHot = s->FGlowColorHot;
    FGlowColorDown = s->FGlowColorDown;
    FFont->Assign(s->FFont.get());
}

// ---------------------------------------------------------------------------
// TCalcButtonItem, TCalcButtonItems

TCalcButtonItem::TCalcButtonItem(TCollection* Collection)
    : TCollectionItem(Collection), FImage(std::make_unique<TPicture>())
{
    FImage->OnChange = [this](TObject*) { Changed(false); };
}

TCalcButtonItem::~TCalcButtonItem() { FImage->OnChange = nullptr; }

void TCalcButtonItem::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TCalcButtonItem*>(Source);
    if (!s) {
        TCollectionItem::Assign(Source);
        return;
    }
    FCaption = s->FCaption;
    FCaptionColor = s->FCaptionColor;
    FTag = s->FTag;
    FImageIndex = s->FImageIndex;
    FImage->Assign(s->FImage.get());
    FEnabled = s->FEnabled;
    FName = s->FName;
    Changed(false);
}

void TCalcButtonItem::SetCaption(const String& v)
{
    if (FCaption == v) return;
    FCaption = v;
    Changed(false);
}

void TCalcButtonItem::SetImageIndex(Integer v)
{
    if (FImageIndex == v) return;
    FImageIndex = v;
    Changed(false);
}

void TCalcButtonItem::SetEnabled(bool v)
{
    if (FEnabled == v) return;
    FEnabled = v;
    Changed(false);
}

void TCalcButtonItem::SetImage(TPicture* v) { FImage->Assign(v); }

void TCalcButtonItem::SetButtonRect(const TRect& r)
{
    FLeft = r.Left;
    FTop = r.Top;
    FWidth = r.Width();
    FHeight = r.Height();
}

TCalcButtonItems::TCalcButtonItems(TCustomButtonPanel* AOwner)
    : TCollection(CollectionItemClass<TCalcButtonItem>()), FOwner(AOwner)
{
}

TPersistent* TCalcButtonItems::GetOwner() const { return FOwner; }

void TCalcButtonItems::Update(TCollectionItem*)
{
    if (FOwner && FOwner->HandleAllocated()) FOwner->Invalidate();
}

// ---------------------------------------------------------------------------
// TCustomButtonPanel

TCustomButtonPanel::TCustomButtonPanel(TComponent* AOwner)
    : TCustomControl(AOwner),
      FButtons(std::make_unique<TCalcButtonItems>(this)),
      FButtonAppearance(std::make_unique<VodButtonPanel::TButtonAppearance>())
{
    SetDoubleBuffered(true);
    FButtonAppearance->OnChange = [this](TObject*) { AppearanceChanged(); };
    SetBounds(Left(), Top(), 230, 150);
}

TCustomButtonPanel::~TCustomButtonPanel()
{
    FButtonAppearance->OnChange = nullptr;
    // Items leaving the collection must not reach a half-destroyed control.
    FButtons.reset();
}

void TCustomButtonPanel::AppearanceChanged()
{
    if (!FVodDropDown && HandleAllocated()) Invalidate();
}

void TCustomButtonPanel::SetButtonLayout(TItemLayout v)
{
    if (FButtonLayout == v) return;
    FButtonLayout = v;
    if (HandleAllocated()) Invalidate();
}

void TCustomButtonPanel::SetButtonPanelType(TButtonPanelType v)
{
    if (FButtonPanelType == v) return;
    FButtonPanelType = v;
    ArrangeButtons();
}

void TCustomButtonPanel::SetImages(TCustomImageList* v)
{
    if (FImages == v) return;
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = v;
    if (FImages) FImages->FreeNotification(this);
    ArrangeButtons();
}

void TCustomButtonPanel::SetEdit(TCustomEdit* v)
{
    if (FEdit == v) return;
    if (FEdit) FEdit->RemoveFreeNotification(this);
    FEdit = v;
    if (FEdit) FEdit->FreeNotification(this);
}

void TCustomButtonPanel::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FImages) FImages = nullptr;
    if (AComponent == FEdit) FEdit = nullptr;
    if (AComponent == FVodDropDown) FVodDropDown = nullptr;
}

void TCustomButtonPanel::Loaded()
{
    TCustomControl::Loaded();
    if (!FVodDropDown) CreateCalculatorButtons();
}

Integer TCustomButtonPanel::ButtonAtPos(Integer X, Integer Y) const
{
    for (Integer i = 0; i < FButtons->Count(); ++i)
        if (PtInRect(FButtons->Items(i)->ButtonRect(), TPoint{X, Y})) return i;
    return -1;
}

bool TCustomButtonPanel::HoldsCalculatorButtons() const
{
    if (FButtons->Count() != 28) return false;
    for (Integer i = 0; i < 28; ++i) {
        TCalcButtonItem* b = FButtons->Items(i);
        if (b->Name() != kCalcButtons[i].Name || b->Tag() != kCalcButtons[i].Tag) return false;
    }
    return true;
}

void TCustomButtonPanel::GetButtonArea(TRect& R)
{
    R = ClientRect();
    InflateRect(R, -FOffSetX, -FOffSetY);
}

void TCustomButtonPanel::ClearButtons()
{
    FButtonHot = -1;
    FButtonDown = -1;
    FButtons->Clear();
}

void TCustomButtonPanel::ResetButtons()
{
    ClearButtons();
    CreateCalculatorButtons();
}

void TCustomButtonPanel::CreateCalculatorButtons()
{
    if (FButtons->Count() == 0 && FButtonPanelType == plCalculator) {
        FButtons->BeginUpdate();
        for (const TBuiltButton& d : kCalcButtons) {
            TCalcButtonItem* b = FButtons->Add();
            b->SetCaption(d.Caption);
            b->SetName(d.Name);
            b->SetTag(d.Tag);
            b->SetSpecial(d.Special);
            if (d.Special) b->SetCaptionColor(0x000080);
        }
        FButtons->EndUpdate();
    }
    ArrangeButtons();
}

void TCustomButtonPanel::ArrangeButtons()
{
    // Only the keypad's own 28 buttons have places; any other collection
    // keeps the rectangles it was given.
    if (FButtonPanelType != plCalculator || !HoldsCalculatorButtons()) return;
    TRect a;
    GetButtonArea(a);
    const Integer W = (a.Width() - 8) / 6, H = (a.Height() - 4) / 5;
    const Integer c[6] = {a.Left, a.Left + W + 4, a.Left + 2 * W + 3, a.Left + 3 * W + 2, a.Left + 4 * W + 6,
                          a.Left + 5 * W + 5};
    const Integer r[5] = {a.Top, a.Top + H + 4, a.Top + 2 * H + 3, a.Top + 3 * H + 2, a.Top + 4 * H + 1};
    auto place = [&](Integer idx, Integer x, Integer y, Integer w) {
        FButtons->Items(idx)->SetButtonRect(TRect{x, y, x + w, y + H});
    };
    // Collection index by (row 1..4, column 0..5).
    static constexpr Integer grid[4][6] = {
        {4, 11, 12, 19, 20, 27},  // MC 7 8 9 / sqrt
        {5, 10, 13, 18, 21, 26},  // MR 4 5 6 * %
        {6, 9, 14, 17, 22, 25},   // MS 1 2 3 - 1/x
        {7, 8, 15, 16, 23, 24},   // M+ 0 +/- . + =
    };
    for (Integer row = 0; row < 4; ++row)
        for (Integer col = 0; col < 6; ++col) place(grid[row][col], c[col], r[row + 1], W);
    place(0, c[0], r[0], W);
    const Integer right = c[5] + W;
    const Integer w2 = (right - c[1] - 8) / 3;
    place(1, c[1], r[0], w2);
    place(2, c[1] + w2 + 4, r[0], w2);
    place(3, c[1] + 2 * w2 + 8, r[0], right - (c[1] + 2 * w2 + 8));
    if (HandleAllocated()) Invalidate();
}

void TCustomButtonPanel::ButtonImageSize(TCalcButtonItem* B, Integer& W, Integer& H) const
{
    W = H = 0;
    if (B->Image()->Graphic() && !B->Image()->Empty()) {
        W = B->Image()->Width();
        H = B->Image()->Height();
    } else if (FImages && B->ImageIndex() >= 0) {
        W = FImages->Width();
        H = FImages->Height();
    }
}

void TCustomButtonPanel::CalcButtonSize(Integer& W, Integer& H)
{
    Integer iw = 0, ih = 0, tw = 0, th = 0;
    // Measured in the keypad's own font, with or without a window.
    TCanvas mc;
    HDC ic = HandleAllocated() ? nullptr : CreateScreenIC();
    if (ic) mc.SetHandle(ic);
    TCanvas* c = ic ? &mc : Canvas();
    c->Font()->Assign(Font());
    for (Integer i = 0; i < FButtons->Count(); ++i) {
        TCalcButtonItem* b = FButtons->Items(i);
        Integer w = 0, h = 0;
        ButtonImageSize(b, w, h);
        iw = std::max(iw, w);
        ih = std::max(ih, h);
        if (!b->Caption().empty()) {
            TSize s = c->TextExtent(b->Caption());
            tw = std::max(tw, Integer(s.cx));
            th = std::max(th, Integer(s.cy));
        }
    }
    if (ic) {
        mc.SetHandle(nullptr);
        DeleteDC(ic);
    }
    const Integer gap = (iw > 0 && tw > 0) ? FCaptionGap : 0;
    if (FButtonLayout == ilCaptionLeft || FButtonLayout == ilCaptionRight) {
        W = 2 * FButtonOffSetX + iw + gap + tw;
        H = std::max(ih, th) + 2 * FButtonOffSetY;
    } else {
        W = std::max(iw, tw) + 2 * FButtonOffSetX;
        H = 2 * FButtonOffSetY + ih + (ih > 0 && th > 0 ? FCaptionGap : 0) + th;
    }
}

void TCustomButtonPanel::InvalidateButton(Integer Index)
{
    if (Index < 0 || Index >= FButtons->Count() || !HandleAllocated()) return;
    TRect r = FButtons->Items(Index)->ButtonRect();
    InflateRect(r, 8, 8);  // the halo
    InvalidateRect(Handle(), &r, TRUE);
}

void TCustomButtonPanel::DoButtonClick(Integer Index)
{
    if (OnButtonClick) OnButtonClick(this, Index);
}

void TCustomButtonPanel::SetHotButton(Integer Index)
{
    if (Index == FButtonHot) return;
    if (Index >= 0 && !FButtons->Items(Index)->Enabled()) return;
    Integer old = FButtonHot;
    FButtonHot = Index;
    InvalidateButton(old);
    if (Index >= 0 && HandleAllocated()) DrawButton(Index, Canvas());
}

void TCustomButtonPanel::SetDownButton(Integer Index)
{
    if (Index == FButtonDown) return;
    if (Index >= 0 && !FButtons->Items(Index)->Enabled()) return;
    Integer old = FButtonDown;
    FButtonDown = Index;
    InvalidateButton(old);
    if (Index >= 0 && HandleAllocated()) DrawButton(Index, Canvas());
}

void TCustomButtonPanel::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    Integer i = ButtonAtPos(X, Y);
    if (i >= 0 && FButtons->Items(i)->Enabled()) SetDownButton(i);
}

void TCustomButtonPanel::MouseMove(TShiftState Shift, Integer X, Integer Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    Integer i = ButtonAtPos(X, Y);
    if (i >= 0 && !FButtons->Items(i)->Enabled()) i = -1;
    SetHotButton(i);
}

void TCustomButtonPanel::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (FButtonDown < 0) return;
    Integer pressed = FButtonDown;
    SetDownButton(-1);
    if (ButtonAtPos(X, Y) == pressed && pressed < FButtons->Count() && FButtons->Items(pressed)->Enabled())
        DoButtonClick(pressed);
}

void TCustomButtonPanel::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case WM_SIZE:
        TCustomControl::Dispatch(M);
        ArrangeButtons();
        return;
    case CM_MOUSELEAVE:
        TCustomControl::Dispatch(M);
        SetHotButton(-1);
        return;
    case WM_GETDLGCODE:
        // In the calculator's window Tab closes the window; it does not move
        // the focus.
        TCustomControl::Dispatch(M);
        if (FVodDropDown) M.Result |= DLGC_WANTTAB;
        return;
    default: TCustomControl::Dispatch(M);
    }
}

void TCustomButtonPanel::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetColor(Color());
    c->Brush()->SetStyle(bsSolid);
    c->FillRect(ClientRect());
    if (!FVodDropDown) {
        c->Pen()->SetColor(clBlack);
        c->Pen()->SetWidth(1);
        c->Brush()->SetStyle(bsClear);
        c->Rectangle(ClientRect());
    }
    for (Integer i = 0; i < FButtons->Count(); ++i)
        if (i != FButtonHot) DrawButton(i, c);
    if (FButtonHot >= 0) DrawButton(FButtonHot, c);
}

void DrawGlossyButton(HDC DC, const TRect& R, TColor Border, TColor Color, TColor ColorTo, TColor Shine,
                      TColor Glow)
{
    const Integer L = R.Left, T = R.Top, Rt = R.Right, B = R.Bottom;
    const Integer M = T + (B - T) / 2;
    TGPGraphics g(DC);
    g.SetSmoothingMode(SmoothingModeAntiAlias);
    // Lower half: the gradient from Color to ColorTo.
    if (B - M - 1 > 0 && Rt - L - 1 > 0) {
        TGPRectF lr = NewGPRectF(REAL(L), REAL(M), REAL(Rt - L - 1), REAL(B - M - 1));
        TGPRectF br = NewGPRectF(lr.X, lr.Y - 1, lr.Width, lr.Height + 2);
        TGPLinearGradientBrush lb(br, ARGBFromTColor(Color), ARGBFromTColor(ColorTo), LinearGradientModeVertical);
        g.FillRectangle(&lb, lr);
    }
    // Upper half: Color under a translucent shine.
    if (M - T > 0 && Rt - L - 1 > 0) {
        TGPRectF ur = NewGPRectF(REAL(L), REAL(T), REAL(Rt - L - 1), REAL(M - T));
        TGPSolidBrush sb(ARGBFromTColor(Color));
        g.FillRectangle(&sb, ur);
        TGPRectF br = NewGPRectF(ur.X, ur.Y - 1, ur.Width, ur.Height + 2);
        TGPLinearGradientBrush shine(br, WithAlpha(Shine, 160), WithAlpha(Shine, 90), LinearGradientModeVertical);
        g.FillRectangle(&shine, ur);
    }
    TGPPen white(0xFFFFFFFF);
    g.DrawLine(&white, REAL(L), REAL(T + 1), REAL(Rt), REAL(T + 1));
    TGPPen inner(ARGBFromTColor(0xE7E0C7));
    g.DrawLine(&inner, REAL(L + 1), REAL(T + 2), REAL(L + 1), REAL(B - 2));
    g.DrawLine(&inner, REAL(L + 1), REAL(B - 2), REAL(Rt - 1), REAL(B - 2));
    g.DrawLine(&inner, REAL(Rt - 1), REAL(B - 2), REAL(Rt - 1), REAL(T + 1));
    TGPPen border(ARGBFromTColor(Border));
    g.DrawRectangle(&border, REAL(L), REAL(T), REAL(Rt - L), REAL(B - T - 1));
    if (Glow == clNone) return;
    TGPPen glow(WithAlpha(Glow, 100));
    g.DrawRectangle(&glow, REAL(L), REAL(T), REAL(Rt - L), REAL(B - T - 1));
    const ARGB in = WithAlpha(Glow, 130), out = WithAlpha(Glow, 0);
    // A piece from x0,y0 (w x h) whose gradient runs from c1 to c2 in mode.
    auto piece = [&](Integer x0, Integer y0, Integer w, Integer h, ARGB c1, ARGB c2, LinearGradientMode mode) {
        if (w <= 0 || h <= 0) return;
        TGPRectF pr = NewGPRectF(REAL(x0), REAL(y0), REAL(w), REAL(h));
        TGPLinearGradientBrush pb(pr, c1, c2, mode);
        g.FillRectangle(&pb, pr);
    };
    piece(L - 8, T, 8, B - T, out, in, LinearGradientModeHorizontal);       // left
    piece(Rt - 1, T, 9, B - T, in, out, LinearGradientModeHorizontal);      // right
    piece(L, T - 8, Rt - L, 8, out, in, LinearGradientModeVertical);        // top
    piece(L, B - 1, Rt - L, 8, in, out, LinearGradientModeVertical);        // bottom
    piece(L - 6, T - 6, 6, 6, out, in, LinearGradientModeForwardDiagonal);  // top-left
    piece(Rt, T - 6, 5, 6, out, in, LinearGradientModeBackwardDiagonal);    // top-right
    piece(L - 6, B - 1, 6, 6, in, out, LinearGradientModeBackwardDiagonal); // bottom-left
    piece(Rt, B, 5, 5, in, out, LinearGradientModeForwardDiagonal);         // bottom-right
}

void TCustomButtonPanel::DrawButton(Integer Index, TCanvas* ACanvas)
{
    if (Index < 0 || Index >= FButtons->Count() || !ACanvas) return;
    TCalcButtonItem* b = FButtons->Items(Index);
    TRect r = b->ButtonRect();
    if (r.Left < 0 && r.Right < 0) return;
    VodButtonPanel::TButtonAppearance* a = FButtonAppearance.get();
    TColor border = a->BorderColor(), col = a->Color(), colTo = a->ColorTo(), glow = clNone;
    if (Index == FButtonDown) {
        border = a->BorderColorDown();
        col = a->ColorDown();
        colTo = a->ColorDownTo();
        glow = a->GlowColorDown();
    } else if (Index == FButtonHot) {
        border = a->BorderColorHot();
        col = a->ColorHot();
        colTo = a->ColorHotTo();
        glow = a->GlowColorHot();
    }
    DrawGlossyButton(ACanvas->Handle(), r, border, col, colTo, a->ShineColor(), glow);

    // Content.
    ACanvas->Font()->Assign(a->Font());
    ACanvas->Font()->SetColor(b->Special() ? a->SpecialTextColor() : a->TextColor());
    ACanvas->Brush()->SetStyle(bsClear);
    TRect cr = r;
    InflateRect(cr, -FButtonOffSetX, -FButtonOffSetY);
    Integer iw = 0, ih = 0;
    ButtonImageSize(b, iw, ih);
    const bool ownImage = b->Image()->Graphic() && !b->Image()->Empty();
    auto drawImage = [&](Integer x, Integer y) {
        if (ownImage)
            ACanvas->Draw(x, y, b->Image()->Graphic());
        else if (iw > 0)
            FImages->Draw(ACanvas, x, y, b->ImageIndex(), b->Enabled());
    };
    const String& cap = b->Caption();
    UINT flags = UINT(DT_SINGLELINE | DT_VCENTER) | (iw == 0 ? UINT(DT_CENTER) : 0u);
    auto drawCaption = [&](TRect tr, UINT f) {
        if (cap.empty()) return;
        DrawText(ACanvas->Handle(), cap.c_str(), Integer(cap.size()), &tr, f);
    };
    const Integer th = cap.empty() ? 0 : ACanvas->TextHeight(cap);
    const Integer tw = cap.empty() ? 0 : ACanvas->TextWidth(cap);
    switch (FButtonLayout) {
    case ilCaptionLeft: {
        TRect tr = cr;
        tr.Right -= iw;
        drawCaption(tr, flags);
        drawImage(tr.Left + tw + FCaptionGap, cr.Top + (cr.Height() - ih) / 2);
        break;
    }
    case ilCaptionRight: {
        drawImage(cr.Left, cr.Top + (cr.Height() - ih) / 2);
        TRect tr = cr;
        if (iw > 0) tr.Left = cr.Left + iw + FCaptionGap;
        drawCaption(tr, flags);
        break;
    }
    case ilCaptionTop: {
        TRect tr = cr;
        tr.Bottom -= ih;
        drawCaption(tr, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
        drawImage(cr.Left, cr.Top + th + FCaptionGap);
        break;
    }
    case ilCaptionBottom: {
        Integer iy = cap.empty() ? cr.Top + (cr.Height() - ih) / 2 : cr.Top;
        drawImage(cr.Left, iy);
        TRect tr = cr;
        tr.Top = iy + ih + FCaptionGap;
        drawCaption(tr, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
        break;
    }
    }
}
