// VodPanel: the library's container panel (gradient or mirrored body, border
// with shadow, background picture, markup body text), its three bands (a
// caption with close and collapse buttons, a status bar, a size grip), its
// collapse animation, moving and sizing, its saved position; the panel group
// that stacks panels in columns or a row; the settings object and the styler
// that give many panels one look.
//
// One header; the sources are split by family: VodPanel.cpp (data and
// lifecycle), VodPanel_Caption.cpp (caption, shade, status bar and grip
// drawing), VodPanel_Paint.cpp (body painting, measuring, automatic size),
// VodPanel_Interaction.cpp (mouse, collapse, moving and sizing),
// VodPanel_Position.cpp, VodPanel_Group.cpp, VodPanel_Styler.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "controls/foundation/VodHintInfo.h"
#include "controls/foundation/VodImage.h"
#include "controls/foundation/VodStyleIF.h"
#include "controls/markup/PictureContainer.h"
#include "platform/gfx/ImageList.h"
#include "platform/ui/ComCtrls_Bars.h"
#include "platform/ui/ExtCtrls.h"

class TCustomVodPanel;
class TVodPanelStyler;
class TVodPanelSettings;
class TVodPanelGroup;

enum TCaptionPosition : Byte { cpTop, cpLeft, cpRight };
enum TCaptionButtonPosition : Byte { cbpRight, cbpLeft };
// Scoped: the cell shapes of the grid use the same first name.
enum class TCaptionShape : Byte { csRectangle, csRounded, csSemiRounded };
enum TShadeType : Byte {
    stNormal, stNoise, stDiagShade, stHShade, stVShade, stHBump, stVBump, stSoftBump, stHardBump,
    stLMetal, stRMetal, stIRadial, stORadial, stHShadeInv, stVShadeInv, stXPCaption, stBitmap,
    stBitmapRStretch, stBitmapLStretch
};
// Scoped: the menus' background positions share these names.
enum class TBackGroundPosition : Byte {
    bpTopLeft, bpTopRight, bpBottomLeft, bpBottomRight, bpTiled, bpStretched, bpCenter
};
enum TTextVAlignment : Byte { tvaTop, tvaCenter, tvaBottom };
enum TPanelPositionLocation : Byte { clRegistry, clInifile };
enum TGroupStyle : Byte { gsVertical, gsHorizontal };
enum TVodPanelStyle : Byte {
    psXP, psFlat, psQel, psClassic, psOffice2003Blue, psOffice2003Olive, psOffice2003Silver,
    psOffice2003Classic, psOffice2007Luna, psOffice2007Obsidian, psWhidbey, psWindowsXP, psCustom,
    psOffice2007Silver, psWindowsVista, psWindows7, psTerminal, psOffice2010Blue, psOffice2010Silver,
    psOffice2010Black, psWindows8, psOffice2013White, psOffice2013LightGray, psOffice2013Gray,
    psWindows10, psOffice2016White, psOffice2016Gray, psOffice2016Black
};

using TPaintEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, TRect ARect)>;
using TAnchorEvent = std::function<void(TObject* Sender, String Anchor)>;
using TAnchorHintEvent = std::function<void(TObject* Sender, String& Anchor)>;

// The panel's version, packed one byte per part, highest first.
constexpr Cardinal VodPanelVersionNr = 0x02050101;  // 2.5.1.1

// ---------------------------------------------------------------------------
// TPanelCaption: the caption band's settings.

class TPanelCaption : public TPersistent {
    VEL_CLASS(TPanelCaption, TPersistent)
public:
    TPanelCaption();
    ~TPanelCaption() override;

    // Copies the look (see the source); leaves Text, Visible, Position,
    // TopIndent, MinMaxCaption, OfficeHint and the events alone.
    void Assign(TPersistent* Source) override;

    TBitmap* Background() const { return FBackground.get(); }
    void SetBackground(TBitmap* v);
    TCaptionButtonPosition ButtonPosition() const { return FButtonPosition; }
    void SetButtonPosition(TCaptionButtonPosition v) { FButtonPosition = v; }
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor v);
    TColor CloseColor() const { return FCloseColor; }
    void SetCloseColor(TColor v);
    bool CloseButton() const { return FCloseButton; }
    void SetCloseButton(bool v);
    TColor CloseButtonColor() const { return FCloseButtonColor; }
    void SetCloseButtonColor(TColor v);
    TColor CloseButtonHoverColor() const { return FCloseButtonHoverColor; }
    void SetCloseButtonHoverColor(TColor v) { FCloseButtonHoverColor = v; }
    TBitmap* CloseMinGlyph() const { return FCloseMinGlyph.get(); }
    void SetCloseMinGlyph(TBitmap* v);
    TBitmap* CloseMaxGlyph() const { return FCloseMaxGlyph.get(); }
    void SetCloseMaxGlyph(TBitmap* v);
    bool Flat() const { return FFlat; }
    void SetFlat(bool v);
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* v);
    TGradientDirection GradientDirection() const { return FGradientDirection; }
    void SetGradientDirection(TGradientDirection v);
    Integer Height() const { return FHeight; }
    void SetHeight(Integer v);
    Integer Indent() const { return FIndent; }
    void SetIndent(Integer v);
    TBitmap* MaxGlyph() const { return FMaxGlyph.get(); }
    void SetMaxGlyph(TBitmap* v) { FMaxGlyph->Assign(v); }
    TBitmap* MinGlyph() const { return FMinGlyph.get(); }
    void SetMinGlyph(TBitmap* v) { FMinGlyph->Assign(v); }
    bool MinMaxButton() const { return FMinMaxButton; }
    void SetMinMaxButton(bool v);
    TColor MinMaxButtonColor() const { return FMinMaxButtonColor; }
    void SetMinMaxButtonColor(TColor v);
    TColor MinMaxButtonHoverColor() const { return FMinMaxButtonHoverColor; }
    void SetMinMaxButtonHoverColor(TColor v) { FMinMaxButtonHoverColor = v; }
    bool MinMaxCaption() const { return FMinMaxCaption; }
    void SetMinMaxCaption(bool v) { FMinMaxCaption = v; }
    TVodHintInfo* OfficeHint() const { return FOfficeHint.get(); }
    void SetOfficeHint(TVodHintInfo* v) { FOfficeHint->Assign(v); }
    TCaptionPosition Position() const { return FPosition; }
    void SetPosition(TCaptionPosition v);
    // Values below 200 are raised to 200; the shading uses the low 8 bits.
    Integer ShadeLight() const { return FShadeLight; }
    void SetShadeLight(Integer v);
    Byte ShadeGrain() const { return FShadeGrain; }
    void SetShadeGrain(Byte v);
    TShadeType ShadeType() const { return FShadeType; }
    void SetShadeType(TShadeType v);
    TCaptionShape Shape() const { return FShape; }
    void SetShape(TCaptionShape v);
    const String& Text() const { return FText; }
    void SetText(const String& v);
    Integer TopIndent() const { return FTopIndent; }
    void SetTopIndent(Integer v);
    bool Visible() const { return FVisible; }
    void SetVisible(bool v);

    // Stores without notification (scaling, the styler's presets).
    void SetHeightDirect(Integer v) { FHeight = v; }

    TNotifyEvent OnChange, OnStateChange, OnShadeChange, OnPositionChange, OnFontChange;
    static void Publish(TPublisher<TPanelCaption>& p);

private:
    void Changed();
    void ShadeChanged();
    std::unique_ptr<TBitmap> FBackground, FCloseMinGlyph, FCloseMaxGlyph, FMaxGlyph, FMinGlyph;
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TVodHintInfo> FOfficeHint;
    TCaptionButtonPosition FButtonPosition = cbpRight;
    TColor FColor = clHighlight;
    TColor FColorTo = clNone;
    TColor FCloseColor = clBtnFace;
    bool FCloseButton = false;
    TColor FCloseButtonColor = clWhite;
    TColor FCloseButtonHoverColor = clNone;
    bool FFlat = false;
    TGradientDirection FGradientDirection = gdHorizontal;
    Integer FHeight = 20;
    Integer FIndent = 0;
    bool FMinMaxButton = false;
    TColor FMinMaxButtonColor = clWhite;
    TColor FMinMaxButtonHoverColor = clNone;
    bool FMinMaxCaption = false;
    TCaptionPosition FPosition = cpTop;
    Integer FShadeLight = 200;
    Byte FShadeGrain = 32;
    TShadeType FShadeType = stNormal;
    TCaptionShape FShape = TCaptionShape::csRectangle;
    String FText;
    Integer FTopIndent = 0;
    bool FVisible = false;
};

// ---------------------------------------------------------------------------
// TPanelStatusBar

class TPanelStatusBar : public TPersistent {
    VEL_CLASS(TPanelStatusBar, TPersistent)
public:
    TPanelStatusBar();
    ~TPanelStatusBar() override;

    // Copies Color, ColorTo, GradientDirection, BorderStyle, BorderColor,
    // Font and TopIndent; Visible, Height, Text, ImageIndex and BevelInner stay.
    void Assign(TPersistent* Source) override;

    bool BevelInner() const { return FBevelInner; }
    void SetBevelInner(bool v);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle v);
    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer v);
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* v) { FFont->Assign(v); }
    const String& Text() const { return FText; }
    void SetText(const String& v);
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor v);
    TGradientDirection GradientDirection() const { return FGradientDirection; }
    void SetGradientDirection(TGradientDirection v);
    Integer Height() const { return FHeight; }
    void SetHeight(Integer v);
    Integer TopIndent() const { return FTopIndent; }
    void SetTopIndent(Integer v);
    bool Visible() const { return FVisible; }
    void SetVisible(bool v);

    TNotifyEvent OnChange;
    static void Publish(TPublisher<TPanelStatusBar>& p);

private:
    template <class T>
    void Store(T& field, const T& v)
    {
        if (field == v) return;
        field = v;
        Changed();
    }
    void Changed();
    std::unique_ptr<TFont> FFont;
    bool FBevelInner = false;
    TColor FBorderColor = TColor(0);
    TBorderStyle FBorderStyle = bsNone;
    Integer FImageIndex = -1;
    String FText;
    TColor FColor = clBtnFace;
    TColor FColorTo = clNone;
    TGradientDirection FGradientDirection = gdHorizontal;
    Integer FHeight = 18;
    Integer FTopIndent = 0;
    bool FVisible = false;
};

// ---------------------------------------------------------------------------
// TAutoSize: the panel sized to its text.

class TAutoSize : public TPersistent {
    VEL_CLASS(TAutoSize, TPersistent)
public:
    explicit TAutoSize(TCustomVodPanel* AOwner) : FOwner(AOwner) {}
    void Assign(TPersistent* Source) override;
    bool Enabled() const { return FEnabled; }
    // True sizes the panel at once.
    void SetEnabled(bool v);
    bool Height() const { return FHeight; }
    void SetHeight(bool v) { FHeight = v; }
    bool Width() const { return FWidth; }
    void SetWidth(bool v) { FWidth = v; }
    static void Publish(TPublisher<TAutoSize>& p);

private:
    TCustomVodPanel* FOwner;
    bool FEnabled = false;
    bool FHeight = true;
    bool FWidth = true;
};

// ---------------------------------------------------------------------------
// TPanelPosition: where a panel keeps its place.

class TPanelPosition : public TPersistent {
    VEL_CLASS(TPanelPosition, TPersistent)
public:
    explicit TPanelPosition(TComponent* AOwner) : FOwner(AOwner) {}
    // Copies Key, Section, Save and Location.
    void Assign(TPersistent* Source) override;
    bool Save() const { return FSave; }
    void SetSave(bool v) { FSave = v; }
    const String& Key() const { return FKey; }
    void SetKey(const String& v) { FKey = v; }
    const String& Section() const { return FSection; }
    void SetSection(const String& v) { FSection = v; }
    TPanelPositionLocation Location() const { return FLocation; }
    void SetLocation(TPanelPositionLocation v) { FLocation = v; }
    TComponent* Owner() const { return FOwner; }
    static void Publish(TPublisher<TPanelPosition>& p);

private:
    TComponent* FOwner;
    bool FSave = false;
    String FKey;
    String FSection;
    TPanelPositionLocation FLocation = clRegistry;
};

// ---------------------------------------------------------------------------
// TCustomVodPanel

class TCustomVodPanel : public TCustomPanel,
                        public IQelTones,
                        public IQelOfficeHint,
                        public virtual TComponentInterfaces {
    VEL_CLASS(TCustomVodPanel, TCustomPanel)
public:
    explicit TCustomVodPanel(TComponent* AOwner);
    ~TCustomVodPanel() override;

    // From another panel (see the source for what is copied); anything else
    // raises EInvalidCast and changes nothing.
    void Assign(TPersistent* Source) override;

    // Virtual operations, in this order.
    TVodPanelStyler* Styler() const { return FStyler; }
    virtual void SetStyler(TVodPanelStyler* Value);
    virtual void ApplySettings(TVodPanelSettings* Settings);
    virtual void BuildShadedHeader();
    virtual void CollapsChanged() {}

    // IQelTones, IQelOfficeHint.
    void SetColorTones(TColorTones ATones) override;
    void HintInfoAt(TPoint Point, TVodHintInfo*& Info) override;

    String Version() const;
    void SetVersion(const String&) {}
    static Cardinal GetVersionNr() { return VodPanelVersionNr; }

    // The body text in markup.
    String GetText() override { return FText; }
    void SetText(const String& v) override;
    String RawText() const;

    // Geometry: the setters keep the full size while expanded.
    void SetWidth(Integer v);
    void SetHeight(Integer v);
    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
    Integer FullHeight() const { return FFullHeight; }
    void SetFullHeight(Integer v) { FFullHeight = v; }
    // Caption.Height times the screen's scale, rounded (0 before the window).
    Integer CaptionSize() const { return FCaptionSize; }
    double DpiScale() const { return FDpiScale; }

    // The cursor is also the one that leaving an anchor restores.
    void SetCursor(TCursor v);

    // Properties.
    bool AnchorHint() const { return FAnchorHint; }
    void SetAnchorHint(bool v) { FAnchorHint = v; }
    TAutoSize* AutoSize() const { return FAutoSize.get(); }
    void SetAutoSize(TAutoSize* v);
    bool AutoHideChildren() const { return FAutoHideChildren; }
    void SetAutoHideChildren(bool v) { FAutoHideChildren = v; }
    TVodImage* Background() const { return FBackground.get(); }
    void SetBackground(TVodImage* v);
    TBackGroundPosition BackgroundPosition() const { return FBackgroundPosition; }
    void SetBackgroundPosition(TBackGroundPosition v);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v);
    bool BorderShadow() const { return FBorderShadow; }
    void SetBorderShadow(bool v);
    Integer BottomIndent() const { return FBottomIndent; }
    void SetBottomIndent(Integer v);
    bool Buffered() const { return FBuffered; }
    void SetBuffered(bool v) { FBuffered = v; }
    bool CanMove() const { return FCanMove; }
    void SetCanMove(bool v) { FCanMove = v; }
    bool CanSize() const { return FCanSize; }
    void SetCanSize(bool v);
    TPanelCaption* Caption() const { return FCaption.get(); }
    void SetCaption(TPanelCaption* v) { FCaption->Assign(v); }
    bool Collaps() const { return FCollaps; }
    void SetCollaps(bool Value);
    TColor CollapsColor() const { return FCollapsColor; }
    void SetCollapsColor(TColor v) { FCollapsColor = v; }
    Integer CollapsDelay() const { return FCollapsDelay; }
    void SetCollapsDelay(Integer v) { FCollapsDelay = v; }
    Integer CollapsSteps() const { return FCollapsSteps; }
    void SetCollapsSteps(Integer v) { FCollapsSteps = v; }
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor v);
    TColor ColorMirror() const { return FColorMirror; }
    void SetColorMirror(TColor v);
    TColor ColorMirrorTo() const { return FColorMirrorTo; }
    void SetColorMirrorTo(TColor v);
    bool Ellipsis() const { return FEllipsis; }
    void SetEllipsis(bool v);
    bool FixedTop() const { return FFixedTop; }
    void SetFixedTop(bool v) { FFixedTop = v; }
    bool FixedLeft() const { return FFixedLeft; }
    void SetFixedLeft(bool v) { FFixedLeft = v; }
    bool FixedHeight() const { return FFixedHeight; }
    void SetFixedHeight(bool v) { FFixedHeight = v; }
    bool FixedWidth() const { return FFixedWidth; }
    void SetFixedWidth(bool v) { FFixedWidth = v; }
    bool FreeOnClose() const { return FFreeOnClose; }
    void SetFreeOnClose(bool v) { FFreeOnClose = v; }
    TGradientDirection GradientDirection() const { return FGradientDirection; }
    void SetGradientDirection(TGradientDirection v);
    bool Hover() const { return FHover; }
    void SetHover(bool v) { FHover = v; }
    TColor HoverColor() const { return FHoverColor; }
    void SetHoverColor(TColor v) { FHoverColor = v; }
    TColor HoverFontColor() const { return FHoverFontColor; }
    void SetHoverFontColor(TColor v) { FHoverFontColor = v; }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* v);
    Integer Indent() const { return FIndent; }
    void SetIndent(Integer v);
    Integer LineSpacing() const { return FLineSpacing; }
    void SetLineSpacing(Integer v);
    TVodHintInfo* OfficeHint() const { return FOfficeHint.get(); }
    void SetOfficeHint(TVodHintInfo* v) { FOfficeHint->Assign(v); }
    TPictureContainer* PictureContainer() const { return FPictureContainer; }
    void SetPictureContainer(TPictureContainer* v);
    TPanelPosition* Position() const { return FPosition.get(); }
    void SetPosition(TPanelPosition* v) { FPosition->Assign(v); }
    TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor v);
    Integer ShadowOffset() const { return FShadowOffset; }
    void SetShadowOffset(Integer v);
    bool ShowMoveCursor() const { return FShowMoveCursor; }
    void SetShowMoveCursor(bool v) { FShowMoveCursor = v; }
    TPanelStatusBar* StatusBar() const { return FStatusBar.get(); }
    void SetStatusBar(TPanelStatusBar* v) { FStatusBar->Assign(v); }
    TTextVAlignment TextVAlign() const { return FTextVAlign; }
    void SetTextVAlign(TTextVAlignment v);
    Integer TopIndent() const { return FTopIndent; }
    void SetTopIndent(Integer v);
    TColor URLColor() const { return FURLColor; }
    void SetURLColor(TColor v);
    bool OptimizePaint() const { return FOptimizePaint; }
    void SetOptimizePaint(bool v) { FOptimizePaint = v; }
    Integer Index() const { return FIndex; }
    void SetIndex(Integer v) { FIndex = v; }
    bool ShowSizeMoveGrip() const { return FShowSizeMoveGrip; }
    void SetShowSizeMoveGrip(bool v) { FShowSizeMoveGrip = v; }
    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer v) { FImageIndex = v; }
    // Kept and published only: no platform style is ever active here.
    Integer StyleElements() const { return FStyleElements; }
    void SetStyleElements(Integer v) { FStyleElements = v; }

    // Operations.
    // Steps 4 to 16 of painting (everything after the platform panel's own
    // painting) onto the given canvas.
    void PaintOn(TCanvas* C);
    TSize GetHTMLSize();
    void UpdateAutoSize();
    void SavePosition();
    void LoadPosition();
    void BeginUpdate();
    void EndUpdate();
    void Synchronize();
    void AssignSettings(TVodPanelSettings* Settings);
    // The anchor address under a client point; HoverRect gets its rectangle.
    String AnchorAt(Integer X, Integer Y, TRect& HoverRect);
    void ShowChildren(bool AVisible);
    void RepaintHoverRect(const TRect& R, bool Erase);
    // Collapsing or expanding is running.
    bool Collapsing() const { return FCollapsing; }
    // The shaded caption bitmap (empty until built).
    TBitmap* ShadedHeader() const { return FShadedHeader.get(); }
    // Whether the theme library draws the "window" parts now.
    bool IsThemedXP() const;
    // Hover state, for tests and painting.
    bool CloseHover() const { return FCloseHover; }
    bool MinMaxHover() const { return FMinMaxHover; }
    Integer BodyHoverAnchor() const { return FBodyAnchor; }
    Integer CaptionHoverAnchor() const { return FCaptionAnchor; }
    bool Moving() const { return FMoving; }

    // Events.
    TPaintEvent OnPaint;
    TNotifyEvent OnCaptionClick, OnCaptionDBlClick, OnClose, OnEndMoveSize, OnMinimize, OnMaximize,
        OnEndCollapsExpand;
    TAnchorEvent OnAnchorClick, OnAnchorEnter, OnAnchorExit;
    TAnchorHintEvent OnAnchorHint;

    static void Publish(TPublisher<TCustomVodPanel>& p);

protected:
    void DefineProperties(TFiler* Filer) override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;
    void AdjustClientRect(TRect& Rect) override;
    void CreateWnd() override;
    void Paint() override;
    void Resize() override;
    void ChangeScale(Integer M, Integer D) override;
    void ParentFontChanged() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

    // Drawing families.
    void PaintBody(TCanvas* C);
    void PaintCaption(TCanvas* C);
    void PaintStatusBar(TCanvas* C);
    void PaintGrip(TCanvas* C);
    void DrawCaptionBackground(TCanvas* C, TRect R);
    void DrawRotatedText(TCanvas* C, const String& Text, Integer Escapement, Integer X, Integer Y,
                         const TRect* Clip);

    // Notifications of the owned objects.
    void CaptionChanged(TObject* Sender);
    void CaptionShadeChanged(TObject* Sender);
    void CaptionStateChanged(TObject* Sender);
    void CaptionPositionChanged(TObject* Sender);
    void CaptionFontChanged(TObject* Sender);
    void StatusBarChanged(TObject* Sender);
    void BackgroundChanged(TObject* Sender);
    void UpdateCaptionSize();
    bool Designing() const;
    bool Expanded() const { return !FCollaps; }
    Integer ButtonSize() const;
    TRect CloseButtonRect(TRect R) const;
    // The client rectangle less the close button's room at the buttons' end.
    TRect AfterCloseButton(TRect R) const;
    void CollapsSet(bool Value);
    void HandleNCHitTest(TMessage& M);
    void HandleMoving(TMessage& M);
    void HandleSizing(TMessage& M);
    void HandleMouseLeave();
    void HandleHintShow(TMessage& M);
    void HandleDblClick(TMessage& M);

    std::unique_ptr<TVodImage> FBackground;
    std::unique_ptr<TPanelCaption> FCaption;
    std::unique_ptr<TPanelPosition> FPosition;
    std::unique_ptr<THTMLPictureCache> FImageCache;
    std::unique_ptr<TBitmap> FShadedHeader;
    std::unique_ptr<TVodHintInfo> FOfficeHint;
    std::unique_ptr<TAutoSize> FAutoSize;
    std::unique_ptr<TPanelStatusBar> FStatusBar;
    std::vector<TControl*> FHiddenChildren;
    std::shared_ptr<bool> FAlive;   // false once the destructor runs

    TVodPanelStyler* FStyler = nullptr;
    TCustomImageList* FImages = nullptr;
    TPictureContainer* FPictureContainer = nullptr;
    String FText;
    bool FAnchorHint = false;
    bool FAutoHideChildren = true;
    TBackGroundPosition FBackgroundPosition = TBackGroundPosition::bpTopLeft;
    TColor FBorderColor = TColor(0);
    bool FBorderShadow = false;
    Integer FBottomIndent = 0;
    bool FBuffered = true;
    bool FCanMove = false;
    bool FCanSize = false;
    bool FCollaps = false;
    TColor FCollapsColor = clGray;
    Integer FCollapsDelay = 20;
    Integer FCollapsSteps = 0;
    TColor FColorTo = clNone;
    TColor FColorMirror = clNone;
    TColor FColorMirrorTo = clNone;
    bool FEllipsis = false;
    bool FFixedTop = false, FFixedLeft = false, FFixedHeight = false, FFixedWidth = false;
    bool FFreeOnClose = false;
    TGradientDirection FGradientDirection = gdVertical;
    bool FHover = false;
    TColor FHoverColor = clNone;
    TColor FHoverFontColor = clNone;
    Integer FIndent = 0;
    Integer FLineSpacing = 0;
    TColor FShadowColor = clGray;
    Integer FShadowOffset = 2;
    bool FShowMoveCursor = false;
    TTextVAlignment FTextVAlign = tvaTop;
    Integer FTopIndent = 0;
    TColor FURLColor = clBlue;
    bool FOptimizePaint = false;
    Integer FIndex = 0;
    bool FShowSizeMoveGrip = true;
    Integer FImageIndex = 0;
    Integer FStyleElements = 7;

    // Internal state.
    Integer FFullHeight = 0;
    Integer FCaptionSize = 0;
    double FDpiScale = 1.0;
    TColor FSavedColor = clBtnFace;
    TCursor FSavedCursor = crDefault;
    Integer FPrevLeft = -1;
    Integer FLastWidth = -1, FLastHeight = -1;
    TPoint FOrigin;
    TSize FOrigSize;
    Integer FBodyAnchor = -1, FCaptionAnchor = -1, FPrevBodyAnchor = -1;
    String FCurrentAnchor;
    TRect FBodyHoverRect, FCaptionHoverRect;
    bool FCloseHover = false, FMinMaxHover = false;
    bool FMoving = false;
    Integer FPrevY = 0;
    bool FCollapsing = false;
    bool FDesigning = false;
    bool FFreePending = false;
    bool FAutoSizing = false;
    Integer FResizedWidth = -1, FResizedHeight = -1;

    friend class TVodPanelGroup;
    friend class TAutoSize;
};

class TVodPanel : public TCustomVodPanel {
    VEL_CLASS(TVodPanel, TCustomVodPanel)
public:
    explicit TVodPanel(TComponent* AOwner) : TCustomVodPanel(AOwner) {}
};

// ---------------------------------------------------------------------------
// TVodPanelSettings: a panel's look and behaviour flags, in one object.

class TVodPanelSettings : public TPersistent {
    VEL_CLASS(TVodPanelSettings, TPersistent)
public:
    TVodPanelSettings();
    ~TVodPanelSettings() override;

    // Only from another settings object (anything else is ignored); copies
    // every property without notifying.
    void Assign(TPersistent* Source) override;
    void BeginUpdate() { ++FUpdateCount; }
    // Notifies once when the last update closes.
    void EndUpdate();

#define VEL_PANEL_SETTING(T, Name, Init)                           \
public:                                                            \
    T Name() const { return F##Name; }                             \
    void Set##Name(T v)                                            \
    {                                                              \
        if (F##Name == v) return;                                  \
        F##Name = v;                                               \
        Changed();                                                 \
    }                                                              \
                                                                   \
private:                                                           \
    T F##Name = Init;
#define VEL_PANEL_PLAIN(T, Name, Init)                             \
public:                                                            \
    T Name() const { return F##Name; }                             \
    void Set##Name(T v) { F##Name = v; }                           \
                                                                   \
private:                                                           \
    T F##Name = Init;

    VEL_PANEL_SETTING(bool, AnchorHint, false)
    VEL_PANEL_SETTING(bool, AutoHideChildren, true)
    VEL_PANEL_SETTING(TBevelCut, BevelInner, bvNone)
    VEL_PANEL_SETTING(TBevelCut, BevelOuter, bvNone)
    VEL_PANEL_SETTING(Integer, BevelWidth, 1)
    VEL_PANEL_SETTING(TColor, BorderColor, TColor(0))
    VEL_PANEL_SETTING(bool, BorderShadow, false)
    VEL_PANEL_SETTING(TBorderStyle, BorderStyle, bsSingle)
    VEL_PANEL_SETTING(Integer, BorderWidth, 0)
    VEL_PANEL_SETTING(Integer, BottomIndent, 0)
    VEL_PANEL_SETTING(bool, CanMove, false)
    VEL_PANEL_SETTING(bool, CanSize, false)
    VEL_PANEL_SETTING(bool, Collaps, false)
    VEL_PANEL_SETTING(TColor, CollapsColor, clBtnFace)
    VEL_PANEL_SETTING(Integer, CollapsDelay, 0)
    VEL_PANEL_SETTING(Integer, CollapsSteps, 0)
    VEL_PANEL_SETTING(TColor, Color, clBtnFace)
    VEL_PANEL_SETTING(TColor, ColorTo, clNone)
    VEL_PANEL_SETTING(TColor, ColorMirror, clNone)
    VEL_PANEL_SETTING(TColor, ColorMirrorTo, clNone)
    VEL_PANEL_SETTING(TCursor, Cursor, crDefault)
    VEL_PANEL_PLAIN(bool, FixedTop, false)
    VEL_PANEL_PLAIN(bool, FixedLeft, false)
    VEL_PANEL_PLAIN(bool, FixedHeight, false)
    VEL_PANEL_PLAIN(bool, FixedWidth, false)
    VEL_PANEL_PLAIN(Integer, Height, 120)
    VEL_PANEL_PLAIN(String, Hint, String())
    VEL_PANEL_SETTING(bool, Hover, false)
    VEL_PANEL_SETTING(TColor, HoverColor, clNone)
    VEL_PANEL_SETTING(TColor, HoverFontColor, clNone)
    VEL_PANEL_SETTING(Integer, Indent, 0)
    VEL_PANEL_PLAIN(TPanelPosition*, Position, nullptr)
    VEL_PANEL_PLAIN(TColor, ShadowColor, TColor(0))
    VEL_PANEL_PLAIN(Integer, ShadowOffset, 0)
    VEL_PANEL_PLAIN(bool, ShowHint, false)
    VEL_PANEL_PLAIN(bool, ShowMoveCursor, false)
    VEL_PANEL_SETTING(String, Text, String())
    VEL_PANEL_SETTING(TTextVAlignment, TextVAlign, tvaTop)
    VEL_PANEL_SETTING(Integer, TopIndent, 0)
    VEL_PANEL_SETTING(TColor, URLColor, clBlue)
    VEL_PANEL_PLAIN(Integer, Width, 0)
#undef VEL_PANEL_SETTING
#undef VEL_PANEL_PLAIN

public:
    TPanelCaption* Caption() const { return FCaption.get(); }
    void SetCaption(TPanelCaption* v);
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* v);
    TPanelStatusBar* StatusBar() const { return FStatusBar.get(); }
    void SetStatusBar(TPanelStatusBar* v);

    TNotifyEvent OnChange;
    static void Publish(TPublisher<TVodPanelSettings>& p);

private:
    void Changed();
    std::unique_ptr<TPanelCaption> FCaption;
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TPanelStatusBar> FStatusBar;
    Integer FUpdateCount = 0;
};

// ---------------------------------------------------------------------------
// The styler's notifier window: raises OnThemeChange on WM_THEMECHANGED.

namespace vodpanel {
class TThemeNotifierWindow : public TWinControl {
    VEL_CLASS(TThemeNotifierWindow, TWinControl)
public:
    explicit TThemeNotifierWindow(TComponent* AOwner) : TWinControl(AOwner) {}
    TNotifyEvent OnThemeChange;
    void WndProc(TMessage& Message) override;
};
}  // namespace vodpanel

// ---------------------------------------------------------------------------
// TVodPanelStyler

class TVodPanelStyler : public TComponent,
                        public IQelTones,
                        public IQelStyleEx,
                        public virtual TComponentInterfaces {
    VEL_CLASS(TVodPanelStyler, TComponent)
public:
    explicit TVodPanelStyler(TComponent* AOwner);
    ~TVodPanelStyler() override;

    // Only from another styler (anything else is ignored).
    void Assign(TPersistent* Source) override;

    Integer Tag() const { return FTag; }
    void SetTag(Integer v) { FTag = v; }
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool v);
    TVodPanelSettings* Settings() const { return FSettings.get(); }
    void SetSettings(TVodPanelSettings* v) { FSettings->Assign(v); }
    const String& Comments() const { return FComments; }
    void SetComments(const String& v) { FComments = v; }
    TVodPanelStyle Style() const { return FStyle; }
    void SetStyle(TVodPanelStyle v);

    void SetColorTones(TColorTones ATones) override;
    void SetComponentStyle(TQelStyle AStyle) override;
    void SetComponentStyleAndAppColor(TQelStyle AStyle, TColor AppColor) override;

    void ThemeChanged(TObject* Sender);
    vodpanel::TThemeNotifierWindow* NotifierWindow() const { return FNotifier; }
    static void Publish(TPublisher<TVodPanelStyler>& p);

protected:
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void SettingsChanged(TObject* Sender);
    void ApplyStyle(TVodPanelStyle AStyle, TColor AppColor);

private:
    std::unique_ptr<TVodPanelSettings> FSettings;
    vodpanel::TThemeNotifierWindow* FNotifier = nullptr;   // owned as a component
    Integer FTag = 0;
    bool FAutoThemeAdapt = false;
    String FComments;
    TVodPanelStyle FStyle = psXP;
};

// The style a TQelStyle maps to, and the style an Office theme maps to
// (psCustom for otUnknown).
TVodPanelStyle PanelStyleOf(TQelStyle AStyle);
TVodPanelStyle PanelStyleOfTheme(TOfficeTheme ATheme);

// ---------------------------------------------------------------------------
// TVodPanelGroup

class TVodPanelGroup : public TVodPanel {
    VEL_CLASS(TVodPanelGroup, TVodPanel)
public:
    explicit TVodPanelGroup(TComponent* AOwner);
    ~TVodPanelGroup() override;

    Integer Columns() const { return FColumns; }
    void SetColumns(Integer v);
    TVodPanelSettings* DefaultPanel() const { return FDefaultPanel.get(); }
    void SetDefaultPanel(TVodPanelSettings* v) { FDefaultPanel->Assign(v); }
    TGroupStyle GroupStyle() const { return FGroupStyle; }
    void SetGroupStyle(TGroupStyle v);
    bool ScrollSmooth() const { return FScrollSmooth; }
    void SetScrollSmooth(bool v) { FScrollSmooth = v; }
    Integer MouseWheelDelta() const { return FMouseWheelDelta; }
    void SetMouseWheelDelta(Integer v);
    Integer HorzPadding() const { return FHorzPadding; }
    void SetHorzPadding(Integer v);
    Integer VertPadding() const { return FVertPadding; }
    void SetVertPadding(Integer v);
    TNotifyEvent OnArrangedControls;

    bool IsArranging() const { return FArranging; }
    // Creates the panels of AddPanel and InsertPanel.
    using TPanelFactory = std::function<TCustomVodPanel*(TComponent* AOwner)>;
    void SetPanelClass(TPanelFactory v) { FPanelClass = std::move(v); }
    Integer PanelCount() const { return Integer(FPanels.size()); }
    Integer ScrollPosition() const;
    void SetScrollPosition(Integer v);
    // Raises EListError outside the list.
    TCustomVodPanel* Panels(Integer Index) const;
    void SetPanels(Integer Index, TCustomVodPanel* v);
    TScrollBar* ScrollBar() const { return FScrollBar; }
    static void Publish(TPublisher<TVodPanelGroup>& p);

    virtual void DoArrangedControls();
    virtual TCustomVodPanel* AddPanel();
    virtual TCustomVodPanel* AppendPanel();
    virtual TCustomVodPanel* InsertPanel(Integer Index);

    void InitPanels();
    void RemovePanel(Integer Index);
    void MovePanel(Integer FromIndex, Integer ToIndex);
    void MovePanelIndex(Integer CurIndex, Integer NewIndex);
    void ArrangePanels();
    void ArrangeControls();
    void ChildPanelChanged(TCustomVodPanel* APanel);
    void UpdateGroup();
    void Clear();
    void CloseAllPanels();
    void OpenAllPanels();
    void BeginUpdate();
    void EndUpdate();
    void UpdateScrollbar();
    void SavePanelPositions();
    void LoadPanelPositions();
    void CollapsChanged() override;
    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;

protected:
    // The group paints around its panels, never under them: moving one of
    // many panels invalidates the group without touching the others.
    void CreateParams(TCreateParams& Params) override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Dispatch(TMessage& Message) override;
    void AlignControls(TControl* AControl, TRect& Rect) override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    void ArrangeControlsVert();
    void ArrangeControlsHorz();
    void ArrangeByIndex();
    void ScrollBarScroll(TObject* Sender, TScrollCode ScrollCode, Integer& ScrollPos);
    void Renumber();
    std::vector<TCustomVodPanel*> ChildPanels() const;

private:
    TScrollBar* FScrollBar = nullptr;
    std::vector<TCustomVodPanel*> FPanels;
    std::unique_ptr<TVodPanelSettings> FDefaultPanel;
    TPanelFactory FPanelClass;
    Integer FColumns = 1;
    TGroupStyle FGroupStyle = gsVertical;
    bool FScrollSmooth = false;
    Integer FMouseWheelDelta = 0;
    Integer FHorzPadding = 8;
    Integer FVertPadding = 8;
    Integer FUpdateCount = 0;
    bool FArranging = false;
    bool FArrangeByIndex = false;
    Integer FLastW = -1, FLastH = -1;
    bool FDestroyingGroup = false;
    friend class TCustomVodPanel;
};
