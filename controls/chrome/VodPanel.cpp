// The panel's data and lifecycle: the caption, status bar, automatic size
// and position objects with their notifications, the panel's construction,
// copying, property setters, scaling and child alignment.
#include "controls/chrome/VodPanel.h"

#include <cmath>

#include "controls/foundation/ThemeApiBinding.h"
#include "controls/markup/MarkupEngine.h"
#include "platform/base/Exceptions.h"
#include "platform/base/Filer.h"
#include "platform/gfx/Gdi.h"

// ---------------------------------------------------------------------------
// TPanelCaption

TPanelCaption::TPanelCaption()
    : FBackground(std::make_unique<TBitmap>()), FCloseMinGlyph(std::make_unique<TBitmap>()),
      FCloseMaxGlyph(std::make_unique<TBitmap>()), FMaxGlyph(std::make_unique<TBitmap>()),
      FMinGlyph(std::make_unique<TBitmap>()), FFont(std::make_unique<TFont>()),
      FOfficeHint(std::make_unique<TVodHintInfo>())
{
    FFont->SetColor(clHighlightText);
    FFont->OnChange = [this](TObject*) {
        if (OnFontChange) OnFontChange(this);
    };
}

TPanelCaption::~TPanelCaption() { FFont->OnChange = nullptr; }

void TPanelCaption::Changed()
{
    if (OnChange) OnChange(this);
}

void TPanelCaption::ShadeChanged()
{
    if (OnShadeChange) OnShadeChange(this);
    Changed();
}

void TPanelCaption::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TPanelCaption*>(Source);
    if (!s) {
        TPersistent::Assign(Source);
        return;
    }
    if (s == this) return;
    SetBackground(s->Background());
    SetButtonPosition(s->ButtonPosition());
    SetColor(s->Color());
    SetColorTo(s->ColorTo());
    SetCloseColor(s->CloseColor());
    SetCloseButton(s->CloseButton());
    SetCloseButtonColor(s->CloseButtonColor());
    SetCloseButtonHoverColor(s->CloseButtonHoverColor());
    SetCloseMinGlyph(s->CloseMinGlyph());
    SetCloseMaxGlyph(s->CloseMaxGlyph());
    SetFlat(s->Flat());
    SetFont(s->Font());
    SetHeight(s->Height());
    SetIndent(s->Indent());
    SetMaxGlyph(s->MaxGlyph());
    SetMinGlyph(s->MinGlyph());
    SetMinMaxButton(s->MinMaxButton());
    SetMinMaxButtonColor(s->MinMaxButtonColor());
    SetMinMaxButtonHoverColor(s->MinMaxButtonHoverColor());
    SetShadeLight(s->ShadeLight());
    SetShadeGrain(s->ShadeGrain());
    SetShadeType(s->ShadeType());
    SetShape(s->Shape());
    SetGradientDirection(s->GradientDirection());
}

void TPanelCaption::SetBackground(TBitmap* v)
{
    FBackground->Assign(v);
    ShadeChanged();
}

void TPanelCaption::SetColor(TColor v)
{
    if (FColor == v) return;
    FColor = v;
    ShadeChanged();
}

void TPanelCaption::SetColorTo(TColor v)
{
    if (FColorTo == v) return;
    FColorTo = v;
    Changed();
}

void TPanelCaption::SetCloseColor(TColor v)
{
    if (FCloseColor == v) return;
    FCloseColor = v;
    Changed();
}

void TPanelCaption::SetCloseButton(bool v)
{
    if (FCloseButton == v) return;
    FCloseButton = v;
    Changed();
}

void TPanelCaption::SetCloseButtonColor(TColor v)
{
    if (FCloseButtonColor == v) return;
    FCloseButtonColor = v;
    Changed();
}

void TPanelCaption::SetCloseMinGlyph(TBitmap* v)
{
    FCloseMinGlyph->Assign(v);
    Changed();
}

void TPanelCaption::SetCloseMaxGlyph(TBitmap* v)
{
    FCloseMaxGlyph->Assign(v);
    Changed();
}

void TPanelCaption::SetFlat(bool v)
{
    if (FFlat == v) return;
    FFlat = v;
    ShadeChanged();
}

void TPanelCaption::SetFont(TFont* v)
{
    FFont->Assign(v);
    Changed();
}

void TPanelCaption::SetGradientDirection(TGradientDirection v)
{
    if (FGradientDirection == v) return;
    FGradientDirection = v;
    Changed();
}

void TPanelCaption::SetHeight(Integer v)
{
    if (FHeight == v) return;
    FHeight = v;
    Changed();
}

void TPanelCaption::SetIndent(Integer v)
{
    if (FIndent == v) return;
    FIndent = v;
    Changed();
}

void TPanelCaption::SetMinMaxButton(bool v)
{
    if (FMinMaxButton == v) return;
    FMinMaxButton = v;
    Changed();
}

void TPanelCaption::SetMinMaxButtonColor(TColor v)
{
    if (FMinMaxButtonColor == v) return;
    FMinMaxButtonColor = v;
    Changed();
}

void TPanelCaption::SetPosition(TCaptionPosition v)
{
    if (FPosition == v) return;
    FPosition = v;
    if (OnPositionChange) OnPositionChange(this);
}

void TPanelCaption::SetShadeLight(Integer v)
{
    FShadeLight = v < 200 ? 200 : v;
    ShadeChanged();
}

void TPanelCaption::SetShadeGrain(Byte v)
{
    if (FShadeGrain == v) return;
    FShadeGrain = v;
    ShadeChanged();
}

void TPanelCaption::SetShadeType(TShadeType v)
{
    if (FShadeType == v) return;
    FShadeType = v;
    ShadeChanged();
}

void TPanelCaption::SetShape(TCaptionShape v)
{
    if (FShape == v) return;
    FShape = v;
    ShadeChanged();
}

void TPanelCaption::SetText(const String& v)
{
    if (FText == v) return;
    FText = v;
    Changed();
}

void TPanelCaption::SetTopIndent(Integer v)
{
    if (FTopIndent == v) return;
    FTopIndent = v;
    Changed();
}

void TPanelCaption::SetVisible(bool v)
{
    if (FVisible == v) return;
    FVisible = v;
    Changed();
    if (OnStateChange) OnStateChange(this);
}

// ---------------------------------------------------------------------------
// TPanelStatusBar

TPanelStatusBar::TPanelStatusBar() : FFont(std::make_unique<TFont>())
{
    FFont->SetName(L"Tahoma");
    FFont->OnChange = [this](TObject*) { Changed(); };
}

TPanelStatusBar::~TPanelStatusBar() { FFont->OnChange = nullptr; }

void TPanelStatusBar::Changed()
{
    if (OnChange) OnChange(this);
}

void TPanelStatusBar::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TPanelStatusBar*>(Source);
    if (!s) {
        TPersistent::Assign(Source);
        return;
    }
    if (s == this) return;
    SetColor(s->Color());
    SetColorTo(s->ColorTo());
    SetGradientDirection(s->GradientDirection());
    SetBorderStyle(s->BorderStyle());
    SetBorderColor(s->BorderColor());
    SetFont(s->Font());
    SetTopIndent(s->TopIndent());
}

void TPanelStatusBar::SetBevelInner(bool v) { Store(FBevelInner, v); }
void TPanelStatusBar::SetBorderColor(TColor v) { Store(FBorderColor, v); }
void TPanelStatusBar::SetBorderStyle(TBorderStyle v) { Store(FBorderStyle, v); }
void TPanelStatusBar::SetImageIndex(Integer v) { Store(FImageIndex, v); }
void TPanelStatusBar::SetText(const String& v) { Store(FText, v); }
void TPanelStatusBar::SetColor(TColor v) { Store(FColor, v); }
void TPanelStatusBar::SetColorTo(TColor v) { Store(FColorTo, v); }
void TPanelStatusBar::SetGradientDirection(TGradientDirection v) { Store(FGradientDirection, v); }
void TPanelStatusBar::SetHeight(Integer v) { Store(FHeight, v); }
void TPanelStatusBar::SetTopIndent(Integer v) { Store(FTopIndent, v); }
void TPanelStatusBar::SetVisible(bool v) { Store(FVisible, v); }

// ---------------------------------------------------------------------------
// TAutoSize, TPanelPosition

void TAutoSize::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TAutoSize*>(Source);
    if (!s) {
        TPersistent::Assign(Source);
        return;
    }
    SetEnabled(s->Enabled());
    FHeight = s->FHeight;
    FWidth = s->FWidth;
}

void TAutoSize::SetEnabled(bool v)
{
    FEnabled = v;
    if (v && FOwner) FOwner->UpdateAutoSize();
}

void TPanelPosition::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TPanelPosition*>(Source);
    if (!s) {
        TPersistent::Assign(Source);
        return;
    }
    FKey = s->FKey;
    FSection = s->FSection;
    FSave = s->FSave;
    FLocation = s->FLocation;
}

// ---------------------------------------------------------------------------
// TCustomVodPanel: construction and copying

TCustomVodPanel::TCustomVodPanel(TComponent* AOwner)
    : TCustomPanel(AOwner), FAlive(std::make_shared<bool>(true))
{
    FControlStyle.Exclude(csSetCaption);
    FShowCaption = false;   // the platform caption is never shown
    FParentColor = false;
    FDpiScale = 1.0;
    FCaptionSize = 20;
    FBackground = std::make_unique<TVodImage>();
    FCaption = std::make_unique<TPanelCaption>();
    FCaption->OnChange = [this](TObject* s) { CaptionChanged(s); };
    FCaption->OnShadeChange = [this](TObject* s) { CaptionShadeChanged(s); };
    FCaption->OnStateChange = [this](TObject* s) { CaptionStateChanged(s); };
    FCaption->OnPositionChange = [this](TObject* s) { CaptionPositionChanged(s); };
    FCaption->OnFontChange = [this](TObject* s) { CaptionFontChanged(s); };
    FPosition = std::make_unique<TPanelPosition>(this);
    FImageCache = std::make_unique<THTMLPictureCache>();
    FShadedHeader = std::make_unique<TBitmap>();
    FOfficeHint = std::make_unique<TVodHintInfo>();
    FAutoSize = std::make_unique<TAutoSize>(this);
    FStatusBar = std::make_unique<TPanelStatusBar>();
    FStatusBar->OnChange = [this](TObject* s) { StatusBarChanged(s); };
    FBackground->OnChange = [this](TObject* s) { BackgroundChanged(s); };
    SetDoubleBuffered(true);
    FLastWidth = -1;
    FLastHeight = -1;
    FPrevLeft = -1;
    FSavedColor = Color();
    FDesigning = ComponentState().Contains(csDesigning) && AOwner &&
                 !AOwner->ComponentState().Contains(csReading) &&
                 !AOwner->ComponentState().Contains(csLoading);
    SetWidth(300);
    SetHeight(200);
}

TCustomVodPanel::~TCustomVodPanel()
{
    *FAlive = false;
    // The window goes while the panel is whole, so WM_DESTROY still saves
    // the position.
    if (HandleAllocated()) DestroyHandle();
    // A group drops the panel from its list before it goes.
    if (auto* g = dynamic_cast<TVodPanelGroup*>(FParent)) {
        auto& list = g->FPanels;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    FCaption->OnChange = nullptr;
    FCaption->OnShadeChange = nullptr;
    FCaption->OnStateChange = nullptr;
    FCaption->OnPositionChange = nullptr;
    FCaption->OnFontChange = nullptr;
    FStatusBar->OnChange = nullptr;
    FBackground->OnChange = nullptr;
    if (FImageCache) FImageCache->ClearPictures();
}

bool TCustomVodPanel::Designing() const { return ComponentState().Contains(csDesigning); }

void TCustomVodPanel::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TCustomVodPanel*>(Source);
    if (!s) throw EInvalidCast(L"Invalid class typecast");
    if (s == this) return;
    FAnchorHint = s->FAnchorHint;
    FAutoHideChildren = s->FAutoHideChildren;
    SetBackground(s->Background());
    SetBackgroundPosition(s->FBackgroundPosition);
    SetBevelInner(s->BevelInner());
    SetBevelOuter(s->BevelOuter());
    SetBevelWidth(s->BevelWidth());
    SetBorderColor(s->FBorderColor);
    SetBorderShadow(s->FBorderShadow);
    SetBorderStyle(s->BorderStyle());
    FCanMove = s->FCanMove;
    SetCanSize(s->FCanSize);
    FCaption->Assign(s->Caption());
    FCollapsColor = s->FCollapsColor;
    FCollapsDelay = s->FCollapsDelay;
    FCollapsSteps = s->FCollapsSteps;
    SetColor(s->Color());
    SetColorTo(s->FColorTo);
    SetColorMirror(s->FColorMirror);
    SetColorMirrorTo(s->FColorMirrorTo);
    SetCursor(s->Cursor());
    SetEnabled(s->Enabled());
    TControl::SetFont(s->Font());
    FFixedTop = s->FFixedTop;
    FFixedLeft = s->FFixedLeft;
    FFixedHeight = s->FFixedHeight;
    FFixedWidth = s->FFixedWidth;
    FFreeOnClose = s->FFreeOnClose;
    SetHeight(s->Height());
    TControl::SetHint(s->Hint());
    FHover = s->FHover;
    FHoverColor = s->FHoverColor;
    FHoverFontColor = s->FHoverFontColor;
    SetImages(s->FImages);
    SetParentColor(s->ParentColor());
    SetParentFont(s->ParentFont());
    SetParentShowHint(s->ParentShowHint());
    SetPictureContainer(s->FPictureContainer);
    SetPopupMenu(s->PopupMenu());
    FPosition->Assign(s->Position());
    FStatusBar->Assign(s->StatusBar());
    SetShadowColor(s->FShadowColor);
    SetShadowOffset(s->FShadowOffset);
    SetShowHint(s->ShowHint());
    FShowMoveCursor = s->FShowMoveCursor;
    SetTabStop(s->TabStop());
    SetTag(s->Tag());
    SetText(s->FText);
    SetTextVAlign(s->FTextVAlign);
    SetURLColor(s->FURLColor);
    SetVisible(s->Visible());
}

String TCustomVodPanel::Version() const
{
    const Cardinal v = GetVersionNr();
    return IntToStr(Integer(v >> 24)) + L"." + IntToStr(Integer((v >> 16) & 0xFF)) + L"." +
           IntToStr(Integer((v >> 8) & 0xFF)) + L"." + IntToStr(Integer(v & 0xFF));
}

String TCustomVodPanel::RawText() const
{
    String r;
    StripMarkup(FText, r);
    return r;
}

// ---------------------------------------------------------------------------
// Sub-object notifications

void TCustomVodPanel::UpdateCaptionSize()
{
    // Before the window exists the scale is 1.0, and the caption still has
    // its size: a panel collapsed while a form is built keeps its caption.
    FCaptionSize = Integer(std::nearbyint(FCaption->Height() * FDpiScale));
}

void TCustomVodPanel::CaptionChanged(TObject*)
{
    UpdateCaptionSize();
    if (ControlCount() > 0) Realign();
    Invalidate();
}

void TCustomVodPanel::CaptionShadeChanged(TObject*) { BuildShadedHeader(); }

void TCustomVodPanel::CaptionStateChanged(TObject*) { CollapsChanged(); }

void TCustomVodPanel::CaptionPositionChanged(TObject*)
{
    UpdateAutoSize();
    BuildShadedHeader();
    Invalidate();
}

void TCustomVodPanel::CaptionFontChanged(TObject*)
{
    if (FDesigning && ParentFont()) SetParentFont(FCaption->Font()->Handle() == Font()->Handle());
}

void TCustomVodPanel::StatusBarChanged(TObject*) { Invalidate(); }

void TCustomVodPanel::BackgroundChanged(TObject*) { Invalidate(); }

// ---------------------------------------------------------------------------
// Property setters

#define VEL_PANEL_REPAINT_SETTER(Name, Type, Field) \
    void TCustomVodPanel::Set##Name(Type v)         \
    {                                               \
        if (Field == v) return;                     \
        Field = v;                                  \
        Invalidate();                               \
    }

VEL_PANEL_REPAINT_SETTER(BackgroundPosition, TBackGroundPosition, FBackgroundPosition)
VEL_PANEL_REPAINT_SETTER(URLColor, TColor, FURLColor)
VEL_PANEL_REPAINT_SETTER(ShadowColor, TColor, FShadowColor)
VEL_PANEL_REPAINT_SETTER(ShadowOffset, Integer, FShadowOffset)
VEL_PANEL_REPAINT_SETTER(CanSize, bool, FCanSize)
VEL_PANEL_REPAINT_SETTER(BorderShadow, bool, FBorderShadow)
VEL_PANEL_REPAINT_SETTER(TextVAlign, TTextVAlignment, FTextVAlign)
VEL_PANEL_REPAINT_SETTER(GradientDirection, TGradientDirection, FGradientDirection)
VEL_PANEL_REPAINT_SETTER(ColorTo, TColor, FColorTo)
VEL_PANEL_REPAINT_SETTER(ColorMirror, TColor, FColorMirror)
VEL_PANEL_REPAINT_SETTER(ColorMirrorTo, TColor, FColorMirrorTo)
VEL_PANEL_REPAINT_SETTER(Ellipsis, bool, FEllipsis)
VEL_PANEL_REPAINT_SETTER(BorderColor, TColor, FBorderColor)
VEL_PANEL_REPAINT_SETTER(Indent, Integer, FIndent)
VEL_PANEL_REPAINT_SETTER(LineSpacing, Integer, FLineSpacing)
#undef VEL_PANEL_REPAINT_SETTER

void TCustomVodPanel::SetImages(TCustomImageList* v)
{
    if (FImages == v) return;
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = v;
    if (v) v->FreeNotification(this);
    Invalidate();
}

void TCustomVodPanel::SetPictureContainer(TPictureContainer* v)
{
    if (FPictureContainer == v) return;
    if (FPictureContainer) FPictureContainer->RemoveFreeNotification(this);
    FPictureContainer = v;
    if (v) v->FreeNotification(this);
    Invalidate();
}

void TCustomVodPanel::SetText(const String& v)
{
    if (FText == v) return;
    FText = v;
    Invalidate();
    UpdateAutoSize();
}

void TCustomVodPanel::SetTopIndent(Integer v)
{
    if (FTopIndent == v) return;
    FTopIndent = v;
    if (FAutoSize->Enabled()) UpdateAutoSize();
    else Invalidate();
}

void TCustomVodPanel::SetBottomIndent(Integer v)
{
    if (FBottomIndent == v) return;
    FBottomIndent = v;
    if (FAutoSize->Enabled()) UpdateAutoSize();
    else Invalidate();
}

void TCustomVodPanel::SetAutoSize(TAutoSize* v)
{
    if (ComponentState().Contains(csLoading) || !v) return;
    FAutoSize->Assign(v);
}

void TCustomVodPanel::SetBackground(TVodImage* v)
{
    FBackground->Assign(v);
    Invalidate();
}

void TCustomVodPanel::SetStyler(TVodPanelStyler* Value)
{
    if (FStyler != Value) {
        if (FStyler) FStyler->RemoveFreeNotification(this);
        FStyler = Value;
        if (Value) Value->FreeNotification(this);
    }
    if (!ComponentState().Contains(csLoading) && FStyler) ApplySettings(FStyler->Settings());
}

void TCustomVodPanel::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomPanel::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FImages) FImages = nullptr;
    if (AComponent == FPictureContainer) FPictureContainer = nullptr;
    if (AComponent == FStyler) FStyler = nullptr;
}

// ---------------------------------------------------------------------------
// Geometry

void TCustomVodPanel::SetWidth(Integer v)
{
    TControl::SetWidth(v);
    if (!FCollaps && !FCollapsing && FCaption->Position() != cpTop) FFullHeight = Width();
}

void TCustomVodPanel::SetHeight(Integer v)
{
    TControl::SetHeight(v);
    if (!FCollaps && !FCollapsing && FCaption->Position() == cpTop) FFullHeight = Height();
}

void TCustomVodPanel::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight)
{
    TCustomPanel::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FDesigning) Synchronize();
    if (AWidth != FLastWidth || AHeight != FLastHeight) {
        for (Integer i = 0; i < ControlCount(); ++i) Controls(i)->Invalidate();
        Invalidate();
    }
    FLastWidth = AWidth;
    FLastHeight = AHeight;
}

void TCustomVodPanel::AdjustClientRect(TRect& Rect)
{
    // The caption and the status bar stay free of aligned children; then
    // the bevels and border as on any panel.
    Rect = ClientRect();
    const Integer cs = FCaptionSize;
    if (FCaption->Visible()) {
        switch (FCaption->Position()) {
        case cpTop:
            if (Rect.Top < cs) Rect.Top = cs - 2;
            break;
        case cpLeft:
            if (Rect.Left < cs) Rect.Left = cs - 2;
            break;
        case cpRight:
            if (Rect.Right > Width() - cs) Rect.Right = Width() - cs;
            break;
        }
    }
    if (FStatusBar->Visible()) {
        const Integer sh = FStatusBar->Height();
        switch (FCaption->Position()) {
        case cpTop:
            if (Rect.Bottom > Height() - sh) Rect.Bottom = Height() - sh;
            break;
        case cpLeft:
            if (Rect.Right > Width() - sh) Rect.Right = Width() - sh;
            break;
        case cpRight:
            if (Rect.Left < sh) Rect.Left = sh;
            break;
        }
    }
    const Integer w = FrameWidth();
    InflateRect(Rect, -w, -w);
}

void TCustomVodPanel::CreateWnd()
{
    TCustomPanel::CreateWnd();
    if (FDesigning) {
        if (auto* g = dynamic_cast<TVodPanelGroup*>(FParent)) {
            if (g->GroupStyle() == gsVertical) {
                SetWidth(g->Width() - 2 * g->HorzPadding());
                SetLeft(g->HorzPadding());
                if (Top() < g->VertPadding()) SetTop(g->VertPadding());
            } else {
                SetHeight(g->Height() - 2 * g->VertPadding());
                SetTop(g->VertPadding());
                if (Left() < g->HorzPadding()) SetLeft(g->HorzPadding());
            }
        }
    }
    FDpiScale = GetDeviceCaps(Canvas()->Handle(), LOGPIXELSY) / 96.0;
    UpdateCaptionSize();
}

void TCustomVodPanel::ChangeScale(Integer M, Integer D)
{
    TCustomPanel::ChangeScale(M, D);
    if (D == 0) return;
    FCaption->SetHeightDirect(MulDiv(FCaption->Height(), M, D));
    TFont* f = FCaption->Font();
    auto saved = f->OnChange;
    f->OnChange = nullptr;
    f->SetSize(MulDiv(f->Size(), M, D));
    f->OnChange = saved;
    UpdateCaptionSize();
}

void TCustomVodPanel::ParentFontChanged()
{
    TCustomPanel::ParentFontChanged();
    if (ParentFont()) FCaption->Font()->Assign(Font());
}

void TCustomVodPanel::Resize()
{
    // Paints at once on a change of size (the platform also reports moves
    // here; a group moving its panels must not paint each one).
    const bool sized = Width() != FResizedWidth || Height() != FResizedHeight;
    FResizedWidth = Width();
    FResizedHeight = Height();
    if (sized && !FOptimizePaint && !FDesigning && HandleAllocated()) Repaint();
    TCustomPanel::Resize();
    UpdateAutoSize();
}

void TCustomVodPanel::Loaded()
{
    TCustomPanel::Loaded();
    if (FPosition->Save()) LoadPosition();
    FOrigin = TPoint{Left(), Top()};
    FOrigSize = TSize{Width(), Height()};
    FSavedCursor = Cursor();
    FSavedColor = Color();
    if (FStyler) ApplySettings(FStyler->Settings());
}

void TCustomVodPanel::DefineProperties(TFiler* Filer)
{
    TCustomPanel::DefineProperties(Filer);
    Filer->DefineProperty(
        L"FullHeight", [this](TReader* R) { FFullHeight = R->ReadInteger(); },
        [this](TWriter* W) { W->WriteInteger(FFullHeight); }, true);
}

void TCustomVodPanel::BeginUpdate()
{
    if (HandleAllocated()) SendMessage(Handle(), WM_SETREDRAW, 0, 0);
}

void TCustomVodPanel::EndUpdate()
{
    if (HandleAllocated()) SendMessage(Handle(), WM_SETREDRAW, 1, 0);
    Invalidate();
}

void TCustomVodPanel::Synchronize()
{
    if (auto* g = dynamic_cast<TVodPanelGroup*>(FParent)) g->ChildPanelChanged(this);
}

void TCustomVodPanel::AssignSettings(TVodPanelSettings* Settings)
{
    ApplySettings(Settings);
    SetHeight(Settings->Height());
    SetWidth(Settings->Width());
    TControl::SetHint(Settings->Hint());
}

void TCustomVodPanel::SetColorTones(TColorTones ATones)
{
    FCaption->SetColor(ATones.Selected.BrushColor);
    FCaption->SetColorTo(clNone);
    FCaption->Font()->SetName(DefaultFontName());
    FCaption->Font()->SetColor(ATones.Selected.TextColor);
    FCaption->SetFlat(true);
    FCaption->SetShadeType(stNormal);
    FCaption->SetCloseColor(ATones.Selected.BrushColor);
    SetColor(ATones.Background.BrushColor);
    SetColorTo(clNone);
    Font()->SetName(DefaultFontName());
    Font()->SetColor(ATones.Background.TextColor);
    SetBevelInner(bvNone);
    SetBevelOuter(bvNone);
    SetBorderStyle(bsNone);
    FStatusBar->Font()->SetName(DefaultFontName());
    FStatusBar->Font()->SetColor(ATones.Foreground.TextColor);
    FStatusBar->SetColor(ATones.Foreground.BrushColor);
    FStatusBar->SetColorTo(clNone);
    FOptimizePaint = true;
}

void TCustomVodPanel::HintInfoAt(TPoint Point, TVodHintInfo*& Info)
{
    // The caption strip runs along the edge the caption sits on.
    bool inCaption = false;
    if (FCaption->Visible()) {
        switch (FCaption->Position()) {
        case cpTop: inCaption = Point.Y < FCaptionSize; break;
        case cpLeft: inCaption = Point.X < FCaptionSize; break;
        case cpRight: inCaption = Point.X > Width() - FCaptionSize; break;
        }
    }
    if (inCaption && !FCaption->OfficeHint()->IsEmpty()) Info = FCaption->OfficeHint();
    else Info = FOfficeHint.get();
}

bool TCustomVodPanel::IsThemedXP() const
{
    const TThemeApiTable& t = ThemeAPI();
    return t.IsThemeActive && t.IsThemeActive();
}

void TCustomVodPanel::WndProc(TMessage& Message)
{
    if (Message.Msg == WM_DESTROY) {
        TCustomPanel::WndProc(Message);
        if (FPosition->Save()) SavePosition();
        return;
    }
    TCustomPanel::WndProc(Message);
}
