#include "controls/chrome/VodToolButton.h"

#include <algorithm>
#include <cmath>

#include "controls/chrome/VodMenuUtil.h"
#include "platform/base/Filer.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/Menus.h"

namespace {

constexpr TColor kBtnFace = clBtnFace;
constexpr TColor kHighlight = clHighlight;
constexpr Integer kArrowWidth = 12;

// Look 0..24 (see ToolButtonLookOfStyle for the styles that reach them).
const TToolButtonLook kLooks[ToolButtonLookCount] = {
    // 0 Windows XP: light gradients, grey-brown hot and down borders.
    {TColor(0xFEFEFE), TColor(0xE3EBEC), TColor(0xFFFFFF), TColor(0xDDE7E9), TColor(0xD3DCDE),
     TColor(0xEDF1F2), TColor(0xE2E8E9), TColor(0xF4F6F7), clNone, TColor(0x8296A0), TColor(0x6A7D86), true},
    // 1 classic.
    {kBtnFace, clNone, TColor(0xEED2C1), clNone, TColor(0xE2B598), clNone, TColor(0xE8E6E1), clNone, clNone,
     TColor(0xC56A31), TColor(0xC56A31), false},
    // 2 Office 2003 blue.
    {TColor(0xFDEADA), TColor(0xE4AE88), TColor(0xCCF4FF), TColor(0x91D0FF), TColor(0x4E91FE), TColor(0x8ED3FF),
     TColor(0x8ED3FF), TColor(0x55ADFF), clNone, TColor(0x000000), TColor(0x000000), false},
    // 3 Office 2003 olive.
    {TColor(0xDEF7F4), TColor(0x91C6B7), TColor(0xCCF4FF), TColor(0x91D0FF), TColor(0x4E91FE), TColor(0x8ED3FF),
     TColor(0x8ED3FF), TColor(0x55ADFF), clNone, TColor(0x000000), TColor(0x000000), false},
    // 4 Office 2003 silver.
    {TColor(0xF3E5E5), TColor(0xCDB9BA), TColor(0xCCF4FF), TColor(0x91D0FF), TColor(0x4E91FE), TColor(0x8ED3FF),
     TColor(0x8ED3FF), TColor(0x55ADFF), clNone, TColor(0x000000), TColor(0x000000), false},
    // 5 button face, no gradients.
    {kBtnFace, clNone, TColor(0xD6BEB5), clNone, TColor(0xB59285), clNone, TColor(0xD8D5D4), clNone, clNone,
     TColor(0x6A240A), TColor(0x6A240A), false},
    // 6 yellow faces, grey borders.
    {TColor(0xCCFFFF), TColor(0x99F0FF), TColor(0xA8FFFF), TColor(0x66E6FF), TColor(0x33CCFF), TColor(0x66E0FF),
     TColor(0x66D9FF), TColor(0x33C0FF), clNone, TColor(0x808080), TColor(0x808080), false},
    // 7 Whidbey.
    {TColor(0xFAFDFD), TColor(0xD5E2E5), TColor(0xEED2C1), TColor(0xE2C0A8), TColor(0xE2B598), TColor(0xD89E78),
     TColor(0x8ED3FF), TColor(0x55ADFF), clNone, TColor(0x000000), TColor(0x000000), false},
    // 8 Office 2007 Luna.
    {TColor(0xEEDBC8), TColor(0xF6DDC9), TColor(0xEBFDFF), TColor(0xACECFF), TColor(0x76AFF1), TColor(0x4190F3),
     TColor(0xB5DBFB), TColor(0x78C7FE), TColor(0xE0B99B), TColor(0x99CEDB), TColor(0x45667B), true},
    // 9 Office 2007 Obsidian.
    {TColor(0xDFDED9), TColor(0xC7C5BF), TColor(0xEBFDFF), TColor(0xACECFF), TColor(0x76AFF1), TColor(0x4190F3),
     TColor(0xB5DBFB), TColor(0x78C7FE), TColor(0xA0A09C), TColor(0x99CEDB), TColor(0x45667B), true},
    // 10 Office 2007 silver.
    {TColor(0xF8F7F6), TColor(0xE2DEDD), TColor(0xEBFDFF), TColor(0xACECFF), TColor(0x76AFF1), TColor(0x4190F3),
     TColor(0xB5DBFB), TColor(0x78C7FE), TColor(0xC3BEBB), TColor(0x99CEDB), TColor(0x45667B), true},
    // 11 Windows Vista.
    {TColor(0xFDF9F5), TColor(0xF4E9DC), TColor(0xFEF6EA), TColor(0xFAE7CF), TColor(0xF5DCBC), TColor(0xEDCBA3),
     TColor(0xF7E5D0), TColor(0xEED6B7), TColor(0xDDCDBC), TColor(0xDEAE7C), TColor(0xB98A5C), true},
    // 12 Windows 7.
    {TColor(0xFCF8F4), TColor(0xF2E6D9), TColor(0xFDF4E8), TColor(0xF8E3C8), TColor(0xF2D6B5), TColor(0xE9C59B),
     TColor(0xF5E1CA), TColor(0xEBD1AF), TColor(0xD9C8B5), TColor(0xDBA574), TColor(0xB38354), true},
    // 13 terminal.
    {kBtnFace, kBtnFace, TColor(0xC0C0C0), TColor(0xC0C0C0), kHighlight, kHighlight, TColor(0xFFFFFF),
     TColor(0xFFFFFF), TColor(0x808080), TColor(0x808080), TColor(0x808080), false},
    // 14 Office 2010 blue.
    {TColor(0xFDF6EF), TColor(0xF0DFCF), TColor(0x8AE3FD), TColor(0xD9F9FD), TColor(0x6CD0FF), TColor(0x7BEEFF),
     TColor(0x6CD0FF), TColor(0x8AE3FD), TColor(0xD7BFAA), TColor(0x58CAF1), TColor(0x308AC2), true},
    // 15 Office 2010 silver.
    {TColor(0xFFFFFF), TColor(0xEDE5E0), TColor(0x8AE3FD), TColor(0xD9F9FD), TColor(0x6CD0FF), TColor(0x7BEEFF),
     TColor(0x6CD0FF), TColor(0x8AE3FD), TColor(0xD2CDC9), TColor(0x58CAF1), TColor(0x308AC2), true},
    // 16 Office 2010 black.
    {TColor(0xBFBFBF), TColor(0x919191), TColor(0x8AE3FD), TColor(0xD9F9FD), TColor(0x6CD0FF), TColor(0x7BEEFF),
     TColor(0x6CD0FF), TColor(0x8AE3FD), TColor(0x6D6D6D), TColor(0x58CAF1), TColor(0x308AC2), true},
    // 17 Windows 8.
    {TColor(0xF7F6F5), clNone, TColor(0xF7EFE8), clNone, TColor(0xF7E0C9), clNone, TColor(0xDAA026), clNone,
     TColor(0xE4E3E2), TColor(0xF9CEA4), TColor(0xE4A262), false},
    // 18 Office 2013 white.
    {TColor(0xFFFFFF), clNone, TColor(0xFCF0E4), clNone, TColor(0xFCE2C8), clNone, TColor(0xFF9933), clNone,
     TColor(0xD4D4D4), TColor(0xEAB47E), TColor(0xE59D56), false},
    // 19 Office 2013 light gray.
    {TColor(0xF6F6F6), clNone, TColor(0xFCF0E4), clNone, TColor(0xFCE2C8), clNone, TColor(0xFF9933), clNone,
     TColor(0xC6C6C6), TColor(0xEAB47E), TColor(0xE59D56), false},
    // 20 Office 2013 gray.
    {TColor(0xE5E5E5), clNone, TColor(0xFCF0E4), clNone, TColor(0xFCE2C8), clNone, TColor(0xFF9933), clNone,
     TColor(0xABABAB), TColor(0xEAB47E), TColor(0xE59D56), false},
    // 21 Windows 10 (as Windows 8).
    {TColor(0xF7F6F5), clNone, TColor(0xF7EFE8), clNone, TColor(0xF7E0C9), clNone, TColor(0xDAA026), clNone,
     TColor(0xE4E3E2), TColor(0xF9CEA4), TColor(0xE4A262), false},
    // 22 Office 2016 white.
    {TColor(0xFFFFFF), clNone, TColor(0xF2E1D5), clNone, TColor(0xE3BDA3), clNone, TColor(0xF2D5C2), clNone,
     TColor(0xD4D4D4), TColor(0xF2E1D5), TColor(0xE3BDA3), false},
    // 23 Office 2016 gray.
    {TColor(0xB2B2B2), clNone, TColor(0xF2E1D5), clNone, TColor(0xE3BDA3), clNone, TColor(0xF2D5C2), clNone,
     TColor(0x444444), TColor(0xF2E1D5), TColor(0xE3BDA3), false},
    // 24 Office 2016 black.
    {TColor(0x363636), TColor(0x363636), TColor(0x6A6A6A), TColor(0x6A6A6A), TColor(0x444444), TColor(0x444444),
     TColor(0x575757), TColor(0x575757), TColor(0x444444), TColor(0x6A6A6A), TColor(0x444444), false},
};

// Pen in Color, or no outline for clNone.
void SetPen(TCanvas* C, TColor Color)
{
    if (Color == clNone) {
        C->Pen()->SetStyle(psClear);
    } else {
        C->Pen()->SetStyle(psSolid);
        C->Pen()->SetColor(Color);
    }
}

bool Inside(TControl* C, Integer X, Integer Y)
{
    // The right edge is outside, the bottom edge inside.
    return X >= 0 && X < C->ClientWidth() && Y >= 0 && Y <= C->ClientHeight();
}

void DrawTransparent(TCanvas* Canvas, TBitmap* Bitmap, Integer X, Integer Y)
{
    if (Bitmap->TransparentMode() != tmAuto) Bitmap->SetTransparentMode(tmAuto);
    if (!Bitmap->Transparent()) Bitmap->SetTransparent(true);
    Canvas->Draw(X, Y, Bitmap);
}

}  // namespace

void DrawBandGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, TColor FrameColor, Integer Steps,
                      const TRect& R, bool Horizontal)
{
    Word steps = Word(Steps);
    if (steps == 0) steps = 1;
    Integer fr, fg, fb, tr, tg, tb;
    ColorToParts(FromColor, fr, fg, fb);
    ColorToParts(ToColor, tr, tg, tb);
    Canvas->Brush()->SetStyle(bsSolid);
    const double band = double(Horizontal ? R.Right - R.Left : R.Bottom - R.Top) / steps;
    const Integer end = Horizontal ? R.Right : R.Bottom;
    const Integer origin = Horizontal ? R.Left : R.Top;
    for (Integer i = 0; i < steps; ++i) {
        const TColor c = PackColor(fr + Integer(Round(double(i) * (tr - fr) / steps)),
                                   fg + Integer(Round(double(i) * (tg - fg) / steps)),
                                   fb + Integer(Round(double(i) * (tb - fb) / steps)));
        Canvas->Brush()->SetColor(c);
        if (i == steps - 1) {
            // The pen ends in the last band's colour, as the brush does.
            Canvas->Pen()->SetStyle(psSolid);
            Canvas->Pen()->SetColor(c);
        }
        const Integer offset = Word(Round(i * band));
        const Integer from = origin + offset;
        const Integer to = std::min(end, from + Integer(std::trunc(band)) + 1);
        if (to <= from) continue;
        if (Horizontal) Canvas->FillRect(TRect{from, R.Top, to, R.Bottom});
        else Canvas->FillRect(TRect{R.Left, from, R.Right, to});
    }
    if (FrameColor != clNone) {
        SetPen(Canvas, FrameColor);
        Canvas->Brush()->SetStyle(bsClear);
        Canvas->Rectangle(R);
    }
}

const TToolButtonLook& ToolButtonLook(Integer Index) { return kLooks[std::clamp(Index, 0, ToolButtonLookCount - 1)]; }

Integer ToolButtonLookOfStyle(TQelStyle Style)
{
    switch (Style) {
    case tsOffice2003Blue: return 2;
    case tsOffice2003Silver: return 4;
    case tsOffice2003Olive: return 3;
    case tsOffice2003Classic: return 1;
    case tsOffice2007Luna: return 8;
    case tsOffice2007Obsidian: return 9;
    case tsWindowsXP: return 0;
    case tsWhidbey: return 7;
    case tsCustom: return -1;
    default: break;
    }
    const Integer v = Integer(Style);
    return v >= 9 && v <= 23 ? v + 1 : -1;
}

// ---------------------------------------------------------------------------

TVodToolButton::TVodToolButton(TComponent* AOwner) : TGraphicControl(AOwner)
{
    // The button clicks from its own mouse-up rules, not the platform's.
    FControlStyle = TControlStyle{csCaptureMouse, csDoubleClicks};
    FGlyph = std::make_unique<TBitmap>();
    FGlyphHot = std::make_unique<TBitmap>();
    FGlyphDown = std::make_unique<TBitmap>();
    FGlyphDisabled = std::make_unique<TBitmap>();
    FShade = std::make_unique<TBitmap>();
    SetBounds(0, 0, 22, 23);
    TGraphicControl::SetColor(clBtnFace);
}

TVodToolButton::~TVodToolButton() = default;

void TVodToolButton::SetComponentStyle(TQelStyle AStyle)
{
    FQelStyle = AStyle;
    const Integer look = ToolButtonLookOfStyle(AStyle);
    if (look >= 0) ApplyLook(look);
}

void TVodToolButton::ApplyLook(Integer Index)
{
    const TToolButtonLook& l = kLooks[Index];
    TGraphicControl::SetColor(l.Color);
    FColorTo = l.ColorTo;
    FColorHot = l.ColorHot;
    FColorHotTo = l.ColorHotTo;
    FColorDown = l.ColorDown;
    FColorDownTo = l.ColorDownTo;
    FColorChecked = l.ColorChecked;
    FColorCheckedTo = l.ColorCheckedTo;
    FBorderColor = l.BorderColor;
    FBorderHotColor = l.BorderHotColor;
    FBorderDownColor = l.BorderDownColor;
    FRounded = l.Rounded;
    FFlat = true;
    FLook = Index;
    Invalidate();
}

void TVodToolButton::SetLook(Integer v)
{
    if (v >= 0 && v < ToolButtonLookCount) ApplyLook(v);
}

void TVodToolButton::ThemeAdapt()
{
    switch (CurrentXPTheme()) {
    case 1: SetLook(2); break;
    case 2: SetLook(3); break;
    case 3: SetLook(4); break;
    default: SetLook(1); break;
    }
}

void TVodToolButton::SetAutoThemeAdapt(bool v)
{
    FAutoThemeAdapt = v;
    if (v && !Designing()) ThemeAdapt();
}

void TVodToolButton::SetAllowAllUp(bool v)
{
    if (FAllowAllUp == v) return;
    FAllowAllUp = v;
    UpdateExclusive();
}

void TVodToolButton::SetBorderColor(TColor v)
{
    FBorderColor = v;
    Invalidate();
}

void TVodToolButton::SetColor(TColor v)
{
    TGraphicControl::SetColor(v);
    Invalidate();
}

void TVodToolButton::SetColorTo(TColor v)
{
    FColorTo = v;
    Invalidate();
}

void TVodToolButton::SetColorChecked(TColor v)
{
    FColorChecked = v;
    Invalidate();
}

void TVodToolButton::SetColorCheckedTo(TColor v)
{
    FColorCheckedTo = v;
    Invalidate();
}

void TVodToolButton::SetGroupIndex(Integer v)
{
    if (FGroupIndex == v) return;
    FGroupIndex = v;
    UpdateExclusive();
}

void TVodToolButton::SetDown(bool v)
{
    if (FGroupIndex == 0 && FStyle != tasCheck) v = false;
    if (FStyle == tasCheck) {
        FDown = v;
        Invalidate();
        return;
    }
    if (v == FDown) return;
    if (FDown && !FAllowAllUp) return;
    FDown = v;
    if (v) {
        if (FState == bsUp) Invalidate();
        FState = bsExclusive;
        UpdateExclusive();
    } else {
        FState = bsUp;
        Invalidate();
    }
}

void TVodToolButton::SetDropDownButton(bool v)
{
    FDropDownButton = v;
    Invalidate();
}

void TVodToolButton::SetDropDownMenu(TPopupMenu* v)
{
    if (FDropDownMenu == v) return;
    if (FDropDownMenu) FDropDownMenu->RemoveFreeNotification(this);
    FDropDownMenu = v;
    if (v) v->FreeNotification(this);
}

void TVodToolButton::SetFlat(bool v)
{
    if (FFlat == v) return;
    FFlat = v;
    Invalidate();
}

void TVodToolButton::SetGlyph(TBitmap* v)
{
    FGlyph->Assign(v);
    if (FGlyphDisabled->Empty() && !FGlyph->Empty()) {
        // The grey copy a disabled button shows: every pixel (r + g + b) / 3
        // halved and lifted into 96..223.
        TImageData img = FGlyph->ToImage();
        for (uint32_t& px : img.Pixels) {
            const uint32_t r = (px >> 16) & 0xFF, g = (px >> 8) & 0xFF, b = px & 0xFF;
            const uint32_t grey = ((r + g + b) / 3) / 2 + 96;
            px = (px & 0xFF000000u) | (grey << 16) | (grey << 8) | grey;
        }
        FGlyphDisabled->FromImage(img, FGlyph->PixelFormat() == pfDevice ? pf24bit : FGlyph->PixelFormat());
    }
    // A shade of the previous glyph would show the wrong silhouette.
    if (FShaded && !ComponentState().Contains(csLoading)) BuildShade();
    Invalidate();
}

void TVodToolButton::SetGlyphHot(TBitmap* v) { FGlyphHot->Assign(v); }
void TVodToolButton::SetGlyphDown(TBitmap* v) { FGlyphDown->Assign(v); }
void TVodToolButton::SetGlyphDisabled(TBitmap* v) { FGlyphDisabled->Assign(v); }

void TVodToolButton::SetImageIndex(Integer v)
{
    if (FImageIndex == v) return;
    FImageIndex = v;
    Invalidate();
}

void TVodToolButton::SetImages(TCustomImageList* v)
{
    if (FImages == v) return;
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = v;
    if (v) v->FreeNotification(this);
    Invalidate();
}

void TVodToolButton::SetLayout(TButtonLayout v)
{
    if (FLayout == v) return;
    FLayout = v;
    Invalidate();
}

void TVodToolButton::SetMargin(Integer v)
{
    if (v == FMargin || v < -1) return;
    FMargin = v;
    Invalidate();
}

void TVodToolButton::SetRounded(bool v)
{
    FRounded = v;
    Invalidate();
}

void TVodToolButton::SetShaded(bool v)
{
    FShaded = v;
    if (!ComponentState().Contains(csLoading)) BuildShade();
}

void TVodToolButton::SetShowCaption(bool v)
{
    if (FShowCaption == v) return;
    FShowCaption = v;
    Invalidate();
}

void TVodToolButton::SetSpacing(Integer v)
{
    if (FSpacing == v) return;
    FSpacing = v;
    Invalidate();
}

void TVodToolButton::SetStyle(TVodToolButtonStyle v)
{
    FStyle = v;
    Invalidate();
}

void TVodToolButton::BuildShade()
{
    if (FGlyph->Empty()) {
        FShade = std::make_unique<TBitmap>();
        return;
    }
    // The glyph's opaque pixels turn grey, its transparent colour stays.
    TImageData img = FGlyph->ToImage();
    const int w = img.Width, h = img.Height;
    const uint32_t key = img.Pixel(0, h - 1) & 0xFFFFFF;
    for (uint32_t& px : img.Pixels) px = (px & 0xFFFFFF) == key ? (0xFF000000u | key) : 0xFF808080u;
    (void)w;
    FShade = std::make_unique<TBitmap>();
    FShade->FromImage(img, pf24bit);
}

TCustomImageList* TVodToolButton::EffectiveImages() const
{
    if (auto* a = dynamic_cast<TCustomAction*>(Action()))
        if (a->ActionList() && a->ActionList()->Images()) return a->ActionList()->Images();
    return FImages;
}

void TVodToolButton::UpdateExclusive()
{
    if (FGroupIndex == 0 || !FParent) return;
    TMessage m{CM_BUTTONPRESSED, WPARAM(FGroupIndex), LPARAM(reinterpret_cast<intptr_t>(static_cast<TControl*>(this))), 0};
    FParent->Broadcast(m);
}

void TVodToolButton::UpdateTracking()
{
    if (!FFlat || !FEnabled) return;
    POINT p{};
    GetCursorPos(&p);
    TControl* under = FindDragTarget(TPoint{p.X, p.Y}, true);
    Perform(under == this ? CM_MOUSEENTER : CM_MOUSELEAVE);
}

void TVodToolButton::CMMouseEnter(TMessage&)
{
    if (FFlat && FEnabled && !FMouseInControl && FDragMode != dmAutomatic && !GetCapture()) {
        FMouseInControl = true;
        Invalidate();
    }
    if (OnMouseEnter) OnMouseEnter(this);
}

void TVodToolButton::CMMouseLeave(TMessage&)
{
    if (FEnabled && FMouseInControl) {
        FMouseInControl = false;
        Invalidate();
    }
    if (OnMouseLeave) OnMouseLeave(this);
}

void TVodToolButton::ShowDropDownMenu()
{
    if (!FDropDownMenu) return;
    TPoint p = FParent ? FParent->ClientToScreen(TPoint{FLeft, FTop + FHeight}) : ClientToScreen(TPoint{0, FHeight});
    FDropDownMenu->Popup(p.X, p.Y);
}

void TVodToolButton::Click() { TGraphicControl::Click(); }

void TVodToolButton::Loaded()
{
    TGraphicControl::Loaded();
    if (FShaded) BuildShade();
    if (FAutoThemeAdapt && !Designing()) ThemeAdapt();
}

void TVodToolButton::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !FEnabled) return;
    const bool onArrow = FDropDownButton && X > ClientWidth() - kArrowWidth;
    const bool presses = !onArrow && ((!FDropDownButton && !FDropDownMenu) || (FDropDownButton && FDropDownSplit));
    if (presses) {
        if (FStyle == tasCheck) {
            FState = bsDown;
            Repaint();
        } else if (FState == bsUp) {
            FState = bsDown;
            Invalidate();
        }
        FDragging = true;
        return;
    }
    FState = bsUp;
    FMouseInControl = false;
    Invalidate();
    if (OnDropDown) OnDropDown(this);
    ShowDropDownMenu();
}

void TVodToolButton::MouseMove(TShiftState Shift, Integer X, Integer Y)
{
    TGraphicControl::MouseMove(Shift, X, Y);
    if (FDragging) {
        TButtonState now = FDown ? bsExclusive : bsUp;
        if (Inside(this, X, Y)) now = FDown ? bsExclusive : bsDown;
        if (FStyle == tasCheck && FDown) now = bsDown;
        if (now != FState) {
            FState = now;
            Invalidate();
        }
    } else if (!FMouseInControl) {
        UpdateTracking();
    }
}

void TVodToolButton::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (!FDragging) return;
    FDragging = false;
    const bool inside = Inside(this, X, Y);
    if (FGroupIndex == 0) {
        FState = bsUp;
        FMouseInControl = false;
        if (FStyle == tasCheck) {
            SetDown(!FDown);
            FState = bsUp;
        }
        if (inside && FState != bsDown && FState != bsExclusive) Invalidate();
    } else if (inside) {
        SetDown(!FDown);
        if (FDown) Invalidate();
    } else if (FDown) {
        FState = bsExclusive;
        Invalidate();
    }
    if (inside) Click();
    UpdateTracking();
}

void TVodToolButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FDropDownMenu) FDropDownMenu = nullptr;
    if (AComponent == FImages) {
        FImages = nullptr;
        Invalidate();
    }
}

void TVodToolButton::ActionChange(TObject* Sender, bool CheckDefaults)
{
    TGraphicControl::ActionChange(Sender, CheckDefaults);
    auto* a = dynamic_cast<TCustomAction*>(Sender);
    if (!a) return;
    if (CheckDefaults || FGroupIndex == 0) SetGroupIndex(a->GroupIndex());
    if (Designing()) {
        if (a->ActionList() && a->ActionList()->Images()) SetImageIndex(a->ImageIndex());
        SetDown(a->Checked());
    }
}

void TVodToolButton::WndProc(TMessage& Message)
{
    if ((Message.Msg == WM_THEMECHANGED || Message.Msg == CM_VODTHEMECHANGED) && FAutoThemeAdapt) ThemeAdapt();
    TGraphicControl::WndProc(Message);
}

void TVodToolButton::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case CM_BUTTONPRESSED:
        if (Integer(M.WParam) == FGroupIndex && FGroupIndex != 0) {
            auto* sender = dynamic_cast<TVodToolButton*>(reinterpret_cast<TControl*>(M.LParam));
            if (sender && sender != this) {
                if (sender->Down() && FDown) {
                    FDown = false;
                    FState = bsUp;
                    if (auto* a = dynamic_cast<TCustomAction*>(Action())) a->SetChecked(false);
                    Invalidate();
                }
                FAllowAllUp = sender->AllowAllUp();
            }
        }
        return;
    case CM_DIALOGCHAR:
        if (IsAccel(M.CharCode(), Caption()) && FEnabled && IsVisibleDeep()) {
            Click();
            M.Result = 1;
            return;
        }
        break;
    case CM_ENABLEDCHANGED:
        TGraphicControl::Dispatch(M);
        UpdateTracking();
        Invalidate();
        return;
    case CM_FONTCHANGED:
    case CM_TEXTCHANGED:
    case CM_SYSCOLORCHANGE:
        TGraphicControl::Dispatch(M);
        Invalidate();
        return;
    default: break;
    }
    TGraphicControl::Dispatch(M);
}

// ---------------------------------------------------------------------------
// Painting

void TVodToolButton::DrawFlatFace(TRect& R)
{
    TCanvas* C = Canvas();
    if (FBorderDownColor == clNone || FRounded) InflateRect(R, -1, -1);
    C->Pen()->SetWidth(1);
    const bool normal = !FMouseInControl || !FEnabled || Designing();
    if (normal) {
        if (FStyle == tasCheck && FDown) {
            C->Brush()->SetColor(FColorChecked);
            if (FColorCheckedTo != clNone) {
                DrawBandGradient(C, FColorChecked, FColorCheckedTo, FBorderDownColor, 16, R, false);
            } else {
                C->Brush()->SetStyle(bsSolid);
                SetPen(C, FBorderDownColor == clNone ? FColorChecked : FBorderDownColor);
                C->Rectangle(R);
            }
        } else {
            C->Brush()->SetStyle(bsSolid);
            C->Brush()->SetColor(Color());
            if (FColorTo == clNone) C->FillRect(R);
            else DrawBandGradient(C, Color(), FColorTo, FRounded ? clNone : (FDown ? FBorderDownColor : FBorderColor), 16, R, false);
        }
        if (FBorderColor != clNone) {
            C->Brush()->SetStyle(bsClear);
            SetPen(C, FBorderColor);
            if (FRounded) {
                InflateRect(R, 1, 1);
                C->RoundRect(R, 8, 8);
            } else {
                C->Rectangle(R);
            }
        }
    } else {
        TColor c = FColorHot, cTo = FColorHotTo, pen = FBorderHotColor;
        if (FState == bsDown) c = FColorDown, cTo = FColorDownTo, pen = FBorderDownColor;
        if (FStyle == tasCheck && FDown && FState != bsDown) c = FColorChecked, cTo = FColorCheckedTo, pen = FBorderDownColor;
        if (FRounded) pen = clNone;
        if (cTo == clNone) {
            C->Brush()->SetStyle(bsSolid);
            C->Brush()->SetColor(c);
            SetPen(C, pen == clNone ? c : pen);
            C->Rectangle(R);
        } else {
            DrawBandGradient(C, c, cTo, pen, 16, R, false);
        }
        const TColor border = FState == bsDown ? FBorderDownColor : FBorderHotColor;
        if (FRounded) {
            InflateRect(R, 1, 1);
            C->Brush()->SetStyle(bsClear);
            SetPen(C, border);
            C->RoundRect(R, 8, 8);
        }
        if (FDropDownButton && FDropDownSplit && border != clNone) {
            SetPen(C, border);
            C->MoveTo(R.Right - kArrowWidth, R.Top);
            C->LineTo(R.Right - kArrowWidth, R.Bottom);
        }
    }
    InflateRect(R, -1, -1);
}

void TVodToolButton::Paint()
{
    TCanvas* C = Canvas();
    // 1. State.
    if (!FEnabled) {
        FState = bsDisabled;
        FDragging = false;
    } else if (FState == bsDisabled) {
        FState = FDown && FGroupIndex != 0 ? bsExclusive : bsUp;
    }
    if (FStyle == tasCheck && FDown) FState = bsDown;

    // 2.
    AssignFontIfDiffers(C->Font(), Font());
    TRect R{0, 0, FWidth, FHeight};

    // 3./4. The face.
    if (!FFlat) {
        UINT state = DFCS_BUTTONPUSH | DFCS_ADJUSTRECT;
        if (FState == bsDown || FState == bsExclusive) state |= DFCS_PUSHED;
        RECT r = R;
        DrawFrameControl(C->Handle(), &r, DFC_BUTTON, state);
        R = r;
    } else {
        DrawFlatFace(R);
    }

    // 5. Content offset, and the checked face of a button that stays down.
    TPoint offset{0, 0};
    if (FState == bsDown || FState == bsExclusive) {
        if (FState == bsExclusive && (!FFlat || !FMouseInControl)) {
            const TColor pen = FDown ? FBorderDownColor : FBorderColor;
            C->Brush()->SetStyle(bsSolid);
            C->Brush()->SetColor(FColorChecked);
            InflateRect(R, 1, 1);
            if (FColorCheckedTo != clNone) {
                DrawBandGradient(C, FColorChecked, FColorCheckedTo, pen, 16, R, false);
            } else if (pen == clNone) {
                if (FRounded) {
                    SetPen(C, FColorChecked);
                    C->RoundRect(R, 8, 8);
                } else {
                    C->FillRect(R);
                }
            } else {
                SetPen(C, pen);
                if (FRounded) C->RoundRect(R, 8, 8);
                else C->Rectangle(R);
            }
        }
        if (!FFlat && !Designing()) offset = TPoint{1, 1};
    } else if (FFlat && FEnabled && FShaded && FMouseInControl && !Designing()) {
        offset = TPoint{-1, -1};
    }

    // 6. The drop-down arrow.
    if (FDropDownButton) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(Font()->Color());
        SetPen(C, Font()->Color());
        const Integer m = R.Top + (R.Bottom - R.Top) / 2;
        C->Polygon({TPoint{R.Right - 8, m - 1}, TPoint{R.Right - 4, m - 1}, TPoint{R.Right - 6, m + 1}});
        R.Right -= kArrowWidth;
    }

    // 7. Glyph and caption.
    DrawContent(R, offset, FDown && FGroupIndex != 0 ? bsDown : FState);

    // 8. A button that would be invisible in the designer.
    if (Designing() && FImageIndex == -1 && !FShowCaption && FGlyph->Empty()) {
        C->Brush()->SetStyle(bsClear);
        C->Pen()->SetStyle(psDot);
        C->Pen()->SetColor(TColor(0xFF0000));
        C->Rectangle(0, 0, FWidth - 1, FHeight - 1);
        C->Pen()->SetStyle(psSolid);
    }
}

void TVodToolButton::CalcLayout(const TRect& Client, TPoint Offset, TPoint& GlyphPos, TRect& TextRect)
{
    TButtonLayout layout = FLayout;
    if (DrawTextBiDiModeFlags(0) & DT_RIGHT) {
        if (layout == blGlyphLeft) layout = blGlyphRight;
        else if (layout == blGlyphRight) layout = blGlyphLeft;
    }
    TPoint glyphSize{0, 0};
    if (!FGlyph->Empty()) {
        glyphSize = TPoint{FGlyph->Width(), FGlyph->Height()};
    } else if (TCustomImageList* list = EffectiveImages(); list && FImageIndex != -1) {
        glyphSize = TPoint{list->Width(), list->Height()};
    }
    const Integer cw = Client.Right - Client.Left, ch = Client.Bottom - Client.Top;
    TPoint textSize{0, 0};
    const String caption = Caption();
    if (!caption.empty() && FShowCaption) {
        // Measured again only when the caption, the font, the width or the
        // reading order changed since the last paint.
        TFont* f = Font();
        const UINT flags = UINT(DrawTextBiDiModeFlags(DT_CALCRECT));
        const String key = caption + L"|" + f->Name() + L"|" + std::to_wstring(f->Height()) + L"|" +
                           std::to_wstring(f->Style().Bits()) + L"|" + std::to_wstring(cw) + L"|" +
                           std::to_wstring(flags) + L"|" + std::to_wstring(FixedMetricsFonts());
        if (key != FTextSizeKey) {
            RECT r{0, 0, cw, 0};
            AssignFontIfDiffers(Canvas()->Font(), f);
            Canvas()->RequireState();
            DrawText(Canvas()->Handle(), caption.c_str(), -1, &r, flags);
            FTextSize = TPoint{r.Right - r.Left, r.Bottom - r.Top};
            FTextSizeKey = key;
        }
        textSize = FTextSize;
    }
    TPoint glyph{(cw - glyphSize.X + 1) / 2, (ch - glyphSize.Y + 1) / 2};
    TPoint text{(cw - textSize.X + 1) / 2, (ch - textSize.Y + 1) / 2};

    Integer margin = FMargin, spacing = FSpacing;
    if (textSize.X == 0 || glyphSize.X == 0) spacing = 0;
    const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
    const Integer extent = horizontal ? cw : ch;
    const Integer gs = horizontal ? glyphSize.X : glyphSize.Y, ts = horizontal ? textSize.X : textSize.Y;
    if (margin == -1) {
        if (spacing == -1) {
            margin = (extent - (gs + ts)) / 3;
            spacing = margin;
        } else {
            margin = (extent - (gs + spacing + ts) + 1) / 2;
        }
    } else if (spacing == -1) {
        spacing = (extent - (margin + gs + ts)) / 2;
    }
    switch (layout) {
    case blGlyphLeft:
        glyph.X = margin;
        text.X = glyph.X + glyphSize.X + spacing;
        break;
    case blGlyphRight:
        glyph.X = cw - margin - glyphSize.X;
        text.X = glyph.X - spacing - textSize.X;
        break;
    case blGlyphTop:
        glyph.Y = margin;
        text.Y = glyph.Y + glyphSize.Y + spacing;
        break;
    case blGlyphBottom:
        glyph.Y = ch - margin - glyphSize.Y;
        text.Y = glyph.Y - spacing - textSize.Y;
        break;
    }
    GlyphPos = TPoint{glyph.X + Offset.X + Client.Left, glyph.Y + Offset.Y + Client.Top};
    // The text moves by the offset's x in both directions.
    TextRect = TRect{text.X + Client.Left + Offset.X, text.Y + Client.Top + Offset.X,
                     text.X + Client.Left + Offset.X + textSize.X, text.Y + Client.Top + Offset.X + textSize.Y};
    if (FFlat && FShaded && FEnabled && FMouseInControl && FState != bsDown && FState != bsExclusive && !Designing())
        OffsetRect(TextRect, 1, 1);
}

void TVodToolButton::DrawContent(const TRect& Client, TPoint Offset, TButtonState State)
{
    TCanvas* C = Canvas();
    TPoint glyphPos;
    TRect textRect;
    CalcLayout(Client, Offset, glyphPos, textRect);

    const bool hot = FMouseInControl && !Designing();
    TBitmap* bmp = FGlyph.get();
    if (hot) {
        if (State == bsDown || State == bsExclusive || FDown) {
            if (!FGlyphDown->Empty()) bmp = FGlyphDown.get();
        } else if (!FGlyphHot->Empty()) {
            bmp = FGlyphHot.get();
        }
    } else if (FDown && !FGlyphDown->Empty()) {
        bmp = FGlyphDown.get();
    }
    if (!FEnabled) bmp = FGlyphDisabled->Empty() ? FGlyph.get() : FGlyphDisabled.get();

    if (bmp->Empty()) {
        TCustomImageList* list = EffectiveImages();
        if (list && FImageIndex >= 0 && FImageIndex < list->Count()) {
            if (!FEnabled && IsVistaOrLater()) {
                IMAGELISTDRAWPARAMS p;
                p.himl = list->Handle();
                p.i = FImageIndex;
                p.hdcDst = C->Handle();
                p.x = glyphPos.X;
                p.y = glyphPos.Y;
                p.fStyle = ILD_TRANSPARENT;
                p.fState = ILS_SATURATE;
                C->RequireState();
                ImageList_DrawIndirect(&p);
            } else {
                list->Draw(C, glyphPos.X, glyphPos.Y, FImageIndex, FEnabled);
            }
        }
    } else {
        if (FMouseInControl && FShaded && FEnabled && State != bsDown && !FShade->Empty())
            DrawTransparent(C, FShade.get(), glyphPos.X + 2, glyphPos.Y + 2);
        DrawTransparent(C, bmp, glyphPos.X, glyphPos.Y);
    }

    if (FShowCaption) {
        const String caption = Caption();
        C->Brush()->SetStyle(bsClear);
        const UINT flags = UINT(DrawTextBiDiModeFlags(DT_CENTER | DT_VCENTER));
        if (!FEnabled) {
            TRect r = textRect;
            OffsetRect(r, 1, 1);
            C->Font()->SetColor(clBtnHighlight);
            RECT rr = r;
            DrawText(C->Handle(), caption.c_str(), -1, &rr, flags);
            C->Font()->SetColor(clBtnShadow);
        }
        RECT rr = textRect;
        C->RequireState();
        DrawText(C->Handle(), caption.c_str(), -1, &rr, flags);
    }
}

// ---------------------------------------------------------------------------
// Streaming

void TVodToolButton::DefineProperties(TFiler* Filer)
{
    TGraphicControl::DefineProperties(Filer);
    Filer->DefineProperty(
        L"QelStyle", [this](TReader* r) { FQelStyle = TQelStyle(r->ReadInteger()); },
        [this](TWriter* w) { w->WriteInteger(Integer(FQelStyle)); }, true);
}

void TVodToolButton::Publish(TPublisher<TVodToolButton>& p)
{
    using B = TVodToolButton;
    auto colour = [&p](const wchar_t* name, TColor (B::*get)() const, void (B::*set)(TColor), TColor def) {
        p.IntegerIdent(name, L"TColor", get, set).Default = Int64(def);
    };
    p.Boolean(L"AllowAllUp", &B::AllowAllUp, &B::SetAllowAllUp).Default = 0;
    p.Boolean(L"AutoThemeAdapt", &B::AutoThemeAdapt, &B::SetAutoThemeAdapt).Default = 0;
    colour(L"BorderColor", &B::BorderColor, &B::SetBorderColor, clNone);
    colour(L"BorderDownColor", &B::BorderDownColor, &B::SetBorderDownColor, clNone);
    colour(L"BorderHotColor", &B::BorderHotColor, &B::SetBorderHotColor, clNone);
    colour(L"Color", &B::Color, &B::SetColor, clBtnFace);
    colour(L"ColorTo", &B::ColorTo, &B::SetColorTo, clNone);
    colour(L"ColorHot", &B::ColorHot, &B::SetColorHot, TColor(0xCAC7C7));
    colour(L"ColorHotTo", &B::ColorHotTo, &B::SetColorHotTo, clNone);
    colour(L"ColorDown", &B::ColorDown, &B::SetColorDown, TColor(0xD8D3D2));
    colour(L"ColorDownTo", &B::ColorDownTo, &B::SetColorDownTo, clNone);
    colour(L"ColorChecked", &B::ColorChecked, &B::SetColorChecked, TColor(0x808080));
    colour(L"ColorCheckedTo", &B::ColorCheckedTo, &B::SetColorCheckedTo, clNone);
    p.Integer(L"GroupIndex", &B::GroupIndex, &B::SetGroupIndex).Default = 0;
    p.Boolean(L"Down", &B::Down, &B::SetDown).Default = 0;
    p.Boolean(L"DropDownButton", &B::DropDownButton, &B::SetDropDownButton).Default = 0;
    p.Boolean(L"DropDownSplit", &B::DropDownSplit, &B::SetDropDownSplit).Default = 1;
    p.Boolean(L"Flat", &B::Flat, &B::SetFlat).Default = 1;
    p.Integer(L"ImageIndex", &B::ImageIndex, &B::SetImageIndex).Default = -1;
    p.Enum(L"Layout", &B::Layout, &B::SetLayout, {L"blGlyphLeft", L"blGlyphRight", L"blGlyphTop", L"blGlyphBottom"})
        .Default = 0;
    p.Integer(L"Margin", &B::Margin, &B::SetMargin).Default = -1;
    p.Boolean(L"Rounded", &B::Rounded, &B::SetRounded).Default = 0;
    p.Boolean(L"Shaded", &B::Shaded, &B::SetShaded).Default = 1;
    p.Boolean(L"ShowCaption", &B::ShowCaption, &B::SetShowCaption).Default = 1;
    p.Integer(L"Spacing", &B::Spacing, &B::SetSpacing).Default = 4;
    p.Enum(L"Style", &B::Style, &B::SetStyle, {L"tasButton", L"tasCheck"}).Default = 0;
}
