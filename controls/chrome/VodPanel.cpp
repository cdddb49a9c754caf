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

// ---------------------------------------------------------------------------
// Published properties, in their declaration order; a value equal to its
// default is not written.

namespace {
const std::initializer_list<const wchar_t*> kGradientNames = {L"gdVertical", L"gdHorizontal"};
const std::initializer_list<const wchar_t*> kBorderStyleNames = {L"bsNone", L"bsSingle"};
}  // namespace

void TPanelCaption::Publish(TPublisher<TPanelCaption>& p)
{
    using C = TPanelCaption;
    p.Object(L"Background", &C::Background);
    p.Enum(L"ButtonPosition", &C::ButtonPosition, &C::SetButtonPosition, {L"cbpRight", L"cbpLeft"}).Default = cbpRight;
    p.IntegerIdent(L"Color", L"TColor", &C::Color, &C::SetColor).Default = clHighlight;
    p.IntegerIdent(L"ColorTo", L"TColor", &C::ColorTo, &C::SetColorTo).Default = clNone;
    p.IntegerIdent(L"CloseColor", L"TColor", &C::CloseColor, &C::SetCloseColor).Default = clBtnFace;
    p.Boolean(L"CloseButton", &C::CloseButton, &C::SetCloseButton).Default = 0;
    p.IntegerIdent(L"CloseButtonColor", L"TColor", &C::CloseButtonColor, &C::SetCloseButtonColor).Default = clWhite;
    p.IntegerIdent(L"CloseButtonHoverColor", L"TColor", &C::CloseButtonHoverColor, &C::SetCloseButtonHoverColor)
        .Default = clNone;
    p.Object(L"CloseMinGlyph", &C::CloseMinGlyph);
    p.Object(L"CloseMaxGlyph", &C::CloseMaxGlyph);
    p.Boolean(L"Flat", &C::Flat, &C::SetFlat).Default = 0;
    p.Object(L"Font", &C::Font);
    p.Enum(L"GradientDirection", &C::GradientDirection, &C::SetGradientDirection, kGradientNames).Default = gdHorizontal;
    p.Integer(L"Height", &C::Height, &C::SetHeight).Default = 20;
    p.Integer(L"Indent", &C::Indent, &C::SetIndent).Default = 0;
    p.Object(L"MaxGlyph", &C::MaxGlyph);
    p.Object(L"MinGlyph", &C::MinGlyph);
    p.Boolean(L"MinMaxButton", &C::MinMaxButton, &C::SetMinMaxButton).Default = 0;
    p.IntegerIdent(L"MinMaxButtonColor", L"TColor", &C::MinMaxButtonColor, &C::SetMinMaxButtonColor).Default = clWhite;
    p.IntegerIdent(L"MinMaxButtonHoverColor", L"TColor", &C::MinMaxButtonHoverColor, &C::SetMinMaxButtonHoverColor)
        .Default = clNone;
    p.Boolean(L"MinMaxCaption", &C::MinMaxCaption, &C::SetMinMaxCaption).Default = 0;
    p.Object(L"OfficeHint", &C::OfficeHint);
    p.Enum(L"Position", &C::Position, &C::SetPosition, {L"cpTop", L"cpLeft", L"cpRight"}).Default = cpTop;
    p.Integer(L"ShadeLight", &C::ShadeLight, &C::SetShadeLight).Default = 200;
    p.Integer(L"ShadeGrain", &C::ShadeGrain, &C::SetShadeGrain).Default = 32;
    p.Enum(L"ShadeType", &C::ShadeType, &C::SetShadeType,
           {L"stNormal", L"stNoise", L"stDiagShade", L"stHShade", L"stVShade", L"stHBump", L"stVBump", L"stSoftBump",
            L"stHardBump", L"stLMetal", L"stRMetal", L"stIRadial", L"stORadial", L"stHShadeInv", L"stVShadeInv",
            L"stXPCaption", L"stBitmap", L"stBitmapRStretch", L"stBitmapLStretch"})
        .Default = stNormal;
    p.Enum(L"Shape", &C::Shape, &C::SetShape, {L"csRectangle", L"csRounded", L"csSemiRounded"}).Default = 0;
    p.Str(L"Text", &C::Text, &C::SetText);
    p.Integer(L"TopIndent", &C::TopIndent, &C::SetTopIndent).Default = 0;
    p.Boolean(L"Visible", &C::Visible, &C::SetVisible).Default = 0;
}

void TPanelStatusBar::Publish(TPublisher<TPanelStatusBar>& p)
{
    using S = TPanelStatusBar;
    p.Boolean(L"BevelInner", &S::BevelInner, &S::SetBevelInner).Default = 0;
    p.IntegerIdent(L"BorderColor", L"TColor", &S::BorderColor, &S::SetBorderColor).Default = 0;
    p.Enum(L"BorderStyle", &S::BorderStyle, &S::SetBorderStyle, kBorderStyleNames).Default = bsNone;
    p.Integer(L"ImageIndex", &S::ImageIndex, &S::SetImageIndex).Default = -1;
    p.Object(L"Font", &S::Font);
    p.Str(L"Text", &S::Text, &S::SetText);
    p.IntegerIdent(L"Color", L"TColor", &S::Color, &S::SetColor).Default = clBtnFace;
    p.IntegerIdent(L"ColorTo", L"TColor", &S::ColorTo, &S::SetColorTo).Default = clNone;
    p.Enum(L"GradientDirection", &S::GradientDirection, &S::SetGradientDirection, kGradientNames).Default = gdHorizontal;
    p.Integer(L"Height", &S::Height, &S::SetHeight).Default = 18;
    p.Integer(L"TopIndent", &S::TopIndent, &S::SetTopIndent).Default = 0;
    p.Boolean(L"Visible", &S::Visible, &S::SetVisible).Default = 0;
}

void TAutoSize::Publish(TPublisher<TAutoSize>& p)
{
    p.Boolean(L"Enabled", &TAutoSize::Enabled, &TAutoSize::SetEnabled).Default = 0;
    p.Boolean(L"Height", &TAutoSize::Height, &TAutoSize::SetHeight).Default = 1;
    p.Boolean(L"Width", &TAutoSize::Width, &TAutoSize::SetWidth).Default = 1;
}

void TPanelPosition::Publish(TPublisher<TPanelPosition>& p)
{
    using P = TPanelPosition;
    p.Boolean(L"Save", &P::Save, &P::SetSave).Default = 0;
    p.Str(L"Key", &P::Key, &P::SetKey);
    p.Str(L"Section", &P::Section, &P::SetSection);
    p.Enum(L"Location", &P::Location, &P::SetLocation, {L"clRegistry", L"clInifile"}).Default = clRegistry;
}

void TCustomVodPanel::Publish(TPublisher<TCustomVodPanel>& p)
{
    using V = TCustomVodPanel;
    p.Str(L"Version", &V::Version, &V::SetVersion);
    p.Boolean(L"AnchorHint", &V::AnchorHint, &V::SetAnchorHint).Default = 0;
    p.Object(L"AutoSize", &V::AutoSize);
    p.Boolean(L"AutoHideChildren", &V::AutoHideChildren, &V::SetAutoHideChildren).Default = 1;
    p.Object(L"Background", &V::Background);
    p.Enum(L"BackgroundPosition", &V::BackgroundPosition, &V::SetBackgroundPosition,
           {L"bpTopLeft", L"bpTopRight", L"bpBottomLeft", L"bpBottomRight", L"bpTiled", L"bpStretched", L"bpCenter"})
        .Default = 0;
    p.IntegerIdent(L"BorderColor", L"TColor", &V::BorderColor, &V::SetBorderColor).Default = 0;
    p.Boolean(L"BorderShadow", &V::BorderShadow, &V::SetBorderShadow).Default = 0;
    p.Integer(L"BottomIndent", &V::BottomIndent, &V::SetBottomIndent).Default = 0;
    p.Boolean(L"Buffered", &V::Buffered, &V::SetBuffered).Default = 1;
    p.Boolean(L"CanMove", &V::CanMove, &V::SetCanMove).Default = 0;
    p.Boolean(L"CanSize", &V::CanSize, &V::SetCanSize).Default = 0;
    p.Object(L"Caption", &V::Caption);
    p.Boolean(L"Collaps", &V::Collaps, &V::SetCollaps).Default = 0;
    p.IntegerIdent(L"CollapsColor", L"TColor", &V::CollapsColor, &V::SetCollapsColor).Default = clGray;
    p.Integer(L"CollapsDelay", &V::CollapsDelay, &V::SetCollapsDelay).Default = 20;
    p.Integer(L"CollapsSteps", &V::CollapsSteps, &V::SetCollapsSteps).Default = 0;
    p.IntegerIdent(L"ColorTo", L"TColor", &V::ColorTo, &V::SetColorTo).Default = clNone;
    p.IntegerIdent(L"ColorMirror", L"TColor", &V::ColorMirror, &V::SetColorMirror).Default = clNone;
    p.IntegerIdent(L"ColorMirrorTo", L"TColor", &V::ColorMirrorTo, &V::SetColorMirrorTo).Default = clNone;
    p.Boolean(L"Ellipsis", &V::Ellipsis, &V::SetEllipsis).Default = 0;
    p.Boolean(L"FixedTop", &V::FixedTop, &V::SetFixedTop).Default = 0;
    p.Boolean(L"FixedLeft", &V::FixedLeft, &V::SetFixedLeft).Default = 0;
    p.Boolean(L"FixedHeight", &V::FixedHeight, &V::SetFixedHeight).Default = 0;
    p.Boolean(L"FixedWidth", &V::FixedWidth, &V::SetFixedWidth).Default = 0;
    p.Boolean(L"FreeOnClose", &V::FreeOnClose, &V::SetFreeOnClose).Default = 0;
    p.Enum(L"GradientDirection", &V::GradientDirection, &V::SetGradientDirection, kGradientNames).Default = gdVertical;
    p.Boolean(L"Hover", &V::Hover, &V::SetHover).Default = 0;
    p.IntegerIdent(L"HoverColor", L"TColor", &V::HoverColor, &V::SetHoverColor).Default = clNone;
    p.IntegerIdent(L"HoverFontColor", L"TColor", &V::HoverFontColor, &V::SetHoverFontColor).Default = clNone;
    p.Component(L"Images", &V::Images, &V::SetImages);
    p.Integer(L"Indent", &V::Indent, &V::SetIndent).Default = 0;
    p.Integer(L"LineSpacing", &V::LineSpacing, &V::SetLineSpacing).Default = 0;
    p.Object(L"OfficeHint", &V::OfficeHint);
    p.Component(L"PictureContainer", &V::PictureContainer, &V::SetPictureContainer);
    p.Object(L"Position", &V::Position);
    p.IntegerIdent(L"ShadowColor", L"TColor", &V::ShadowColor, &V::SetShadowColor).Default = clGray;
    p.Integer(L"ShadowOffset", &V::ShadowOffset, &V::SetShadowOffset).Default = 2;
    p.Boolean(L"ShowMoveCursor", &V::ShowMoveCursor, &V::SetShowMoveCursor).Default = 0;
    p.Object(L"StatusBar", &V::StatusBar);
    p.Component(L"Styler", &V::Styler, &V::SetStyler);
    p.Str(L"Text", &V::GetText, &V::SetText);
    p.Enum(L"TextVAlign", &V::TextVAlign, &V::SetTextVAlign, {L"tvaTop", L"tvaCenter", L"tvaBottom"}).Default = 0;
    p.Integer(L"TopIndent", &V::TopIndent, &V::SetTopIndent).Default = 0;
    p.IntegerIdent(L"URLColor", L"TColor", &V::URLColor, &V::SetURLColor).Default = clBlue;
}
