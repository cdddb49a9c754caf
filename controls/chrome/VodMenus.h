// VodMenus: the popup menu whose items the library draws itself. A styler
// holds the look (background, icon bar, highlighted item, menu-bar items,
// separators, side bar with its caption, glyphs and button colours); the
// owner-draw engine measures each item, paints it strip by strip so that the
// window-wide surfaces join, reshapes and frames the popup windows and
// corrects the popup position. Also the gradient routines every menu
// surface is painted with and the switch of the menu animation.
//
// TGradientDirection (gdVertical, gdHorizontal) is the style vocabulary's.
//
// Sources by family: VodMenus_Gradients.cpp, VodMenus_Appearance.cpp,
// VodMenus_Stylers.cpp, VodMenus_Popup.cpp, VodMenus_Paint.cpp.
#pragma once

#include <memory>

#include "controls/chrome/VodMenuUtil.h"
#include "controls/foundation/VodGDIP.h"
#include "controls/foundation/VodStyleIF.h"
#include "platform/gfx/Graphics.h"
#include "platform/gfx/ImageList.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Menus.h"

enum TGradientType : Byte { gtLeft, gtRight, gtBoth };
enum TBackgroundPosition : Byte {
    bpTopLeft, bpTopRight, bpBottomLeft, bpBottomRight, bpTiled, bpStretched, bpCenter, bpXY,
    bpTopCenter, bpBottomCenter,
};
enum TSideBarPosition : Byte { spLeft, spRight };
enum TSideBarVisibleIn : Byte { viFirstVisible, viFirstLevel, viAnyLevel };
enum TDirection : Byte { dDownToUp, dUpToDown };
enum TGlyphPosition : Byte { gpLeft, gpRight };
enum TActionImage : Byte { aiNormal, aiLarge };

// The width cut off at the right of every popup window and item.
constexpr Integer MenuStripWidth = 17;

// ---------------------------------------------------------------------------
// Gradients and the menu animation

// Row by row (gdVertical) or column by column; one solid fill when ColorTo
// is clNone or equal to Color, whatever the height. The last line carries
// Color + (n - 1) * delta div n.
void MenuGradientFill(TCanvas* Canvas, TRect R, TColor Color, TColor ColorTo, TGradientDirection Direction);
// The part of Full's gradient that lies in Clip, so that strips painted one
// by one join into Full's gradient.
void MenuClippedGradient(TCanvas* Canvas, TRect Full, TRect Clip, TColor Color, TColor ColorTo,
                         TGradientDirection Direction);
void MenuGradientBox(TCanvas* Canvas, TRect R, TColor Color, TColor ColorTo, TGradientDirection Direction,
                     TColor BorderColor, bool Fill);
// Upper half Color..ColorTo, lower half ColorMirror..ColorMirrorTo (one
// gradient when ColorMirror is clNone), then the frame.
void MenuMirrorGradientBox(TCanvas* Canvas, TRect R, TColor Color, TColor ColorTo, TColor ColorMirror,
                           TColor ColorMirrorTo, TGradientDirection Direction, TColor BorderColor, bool Fill);
// A strip with Margin free at both ends, a solid part and gradient ends of
// GradientWidth (doubled for gtBoth on a vertical strip).
void MenuGradientBand(TCanvas* Canvas, TRect R, TColor Color, TColor ColorTo, TGradientDirection Direction,
                      TGradientType Type, Integer GradientWidth, Integer Margin);

// The menu unit's start-up (called by the library start-up): looks up the
// layered-window calls, saves the menu animation and switches it off.
// Shut-down restores the saved setting.
void VodMenusStartup();
void VodMenusShutdown();
bool SavedMenuAnimation();
void SwitchMenuAnimationOff();

// ---------------------------------------------------------------------------
// Appearance classes

class TCustomVodMenuStyler;
struct IVodMenu;

class TGradientBar : public TPersistent {
    VEL_CLASS(TGradientBar, TPersistent)
public:
    TGradientBar();
    // Index 0 the colour, 1 the "To" colour; others raise EInvalidPropertyIndex.
    virtual TColor GetColor(Integer Index) const;
    virtual void SetColor(Integer Index, TColor Value);
    TColor Color() const { return GetColor(0); }
    void SetColor(TColor v) { SetColor(0, v); }
    TColor ColorTo() const { return GetColor(1); }
    void SetColorTo(TColor v) { SetColor(1, v); }
    TGradientDirection GradientDirection() const { return FGradientDirection; }
    void SetGradientDirection(TGradientDirection v) { FGradientDirection = v; }
    TMenu* Menu() const { return FMenu; }
    virtual void SetMenu(TMenu* v) { FMenu = v; }
    void Assign(TPersistent* Source) override;
    static void Publish(TPublisher<TGradientBar>& p);

protected:
    void Notify();    // the menu, without rebuilding
    void Rebuild();   // the menu updates its items
    TGradientDirection FGradientDirection = gdVertical;
    TMenu* FMenu = nullptr;
    TColor FColor = TColor(0xD8BDAF);
    TColor FColorTo = clNone;
};

class TIconBar : public TGradientBar {
    VEL_CLASS(TIconBar, TGradientBar)
public:
    TIconBar();
    TColor RadioBorder() const { return FRadioBorder; }
    void SetRadioBorder(TColor v) { FRadioBorder = v; }
    TColor CheckBorder() const { return FCheckBorder; }
    void SetCheckBorder(TColor v) { FCheckBorder = v; }
    TColor GetRadioColor(Integer Index) const;
    void SetRadioColor(Integer Index, TColor v);
    TColor RadioColor() const { return GetRadioColor(0); }
    void SetRadioColor(TColor v) { SetRadioColor(0, v); }
    TColor RadioColorTo() const { return GetRadioColor(1); }
    void SetRadioColorTo(TColor v) { SetRadioColor(1, v); }
    TColor GetCheckColor(Integer Index) const;
    void SetCheckColor(Integer Index, TColor v);
    TColor CheckColor() const { return GetCheckColor(0); }
    void SetCheckColor(TColor v) { SetCheckColor(0, v); }
    TColor CheckColorTo() const { return GetCheckColor(1); }
    void SetCheckColorTo(TColor v) { SetCheckColor(1, v); }
    TGradientDirection CheckGradientDirection() const { return FCheckGradientDirection; }
    void SetCheckGradientDirection(TGradientDirection v) { FCheckGradientDirection = v; }
    TGradientDirection RadioGradientDirection() const { return FRadioGradientDirection; }
    void SetRadioGradientDirection(TGradientDirection v) { FRadioGradientDirection = v; }
    // At least 16.
    Integer Size() const { return FSize; }
    void SetSize(Integer v);
    TColor SeparatorColor() const { return FSeparatorColor; }
    void SetSeparatorColor(TColor v) { FSeparatorColor = v; }
    void Assign(TPersistent* Source) override;
    static void Publish(TPublisher<TIconBar>& p);

private:
    TColor FRadioBorder = TColor(0x6F4B4B), FCheckBorder = TColor(0x6F4B4B);
    TColor FRadioColor = TColor(0x6FC0FF), FRadioColorTo = clNone;
    TColor FCheckColor = TColor(0x6FC0FF), FCheckColorTo = clNone;
    TGradientDirection FCheckGradientDirection = gdVertical, FRadioGradientDirection = gdVertical;
    bool FDrawn = false;
    Integer FSize = 24;
    TColor FSeparatorColor = clNone;
};

class TSelectedItem : public TGradientBar {
    VEL_CLASS(TSelectedItem, TGradientBar)
public:
    TSelectedItem();
    ~TSelectedItem() override;
    TColor RadioBorder() const { return FRadioBorder; }
    void SetRadioBorder(TColor v) { FRadioBorder = v; }
    TColor CheckBorder() const { return FCheckBorder; }
    void SetCheckBorder(TColor v) { FCheckBorder = v; }
    TColor GetRadioColor(Integer Index) const;
    void SetRadioColor(Integer Index, TColor v);
    TColor RadioColor() const { return GetRadioColor(0); }
    void SetRadioColor(TColor v) { SetRadioColor(0, v); }
    TColor RadioColorTo() const { return GetRadioColor(1); }
    void SetRadioColorTo(TColor v) { SetRadioColor(1, v); }
    TColor GetCheckColor(Integer Index) const;
    void SetCheckColor(Integer Index, TColor v);
    TColor CheckColor() const { return GetCheckColor(0); }
    void SetCheckColor(TColor v) { SetCheckColor(0, v); }
    TColor CheckColorTo() const { return GetCheckColor(1); }
    void SetCheckColorTo(TColor v) { SetCheckColor(1, v); }
    TGradientDirection CheckGradientDirection() const { return FCheckGradientDirection; }
    void SetCheckGradientDirection(TGradientDirection v) { FCheckGradientDirection = v; }
    TGradientDirection RadioGradientDirection() const { return FRadioGradientDirection; }
    void SetRadioGradientDirection(TGradientDirection v) { FRadioGradientDirection = v; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v) { FBorderColor = v; }
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* v);
    bool UseSystemFont() const { return FUseSystemFont; }
    void SetUseSystemFont(bool v);
    TColor ColorMirror() const { return FColorMirror; }
    void SetColorMirror(TColor v) { FColorMirror = v; }
    TColor ColorMirrorTo() const { return FColorMirrorTo; }
    void SetColorMirrorTo(TColor v) { FColorMirrorTo = v; }
    TFont* NotesFont() const { return FNotesFont.get(); }
    void SetNotesFont(TFont* v);
    void Assign(TPersistent* Source) override;
    static void Publish(TPublisher<TSelectedItem>& p);

private:
    TColor FRadioBorder = TColor(0x6F4B4B), FCheckBorder = TColor(0x6F4B4B);
    TColor FRadioColor = TColor(0x3E80FE), FRadioColorTo = clNone;
    TColor FCheckColor = TColor(0x3E80FE), FCheckColorTo = clNone;
    TGradientDirection FCheckGradientDirection = gdVertical, FRadioGradientDirection = gdVertical;
    TColor FBorderColor = TColor(0x6F4B4B);
    std::unique_ptr<TFont> FFont;
    bool FUseSystemFont = true;
    TColor FColorMirror = clNone, FColorMirrorTo = clNone;
    std::unique_ptr<TFont> FNotesFont;
};

class TRootItem : public TGradientBar {
    VEL_CLASS(TRootItem, TGradientBar)
public:
    TRootItem();
    ~TRootItem() override;
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* v);
    TColor SelectedBorderColor() const { return FSelectedBorderColor; }
    void SetSelectedBorderColor(TColor v) { FSelectedBorderColor = v; }
    TColor SelectedTextColor() const { return FSelectedTextColor; }
    void SetSelectedTextColor(TColor v) { FSelectedTextColor = v; }
    bool UseSystemFont() const { return FUseSystemFont; }
    void SetUseSystemFont(bool v);
    TColor HoverTextColor() const { return FHoverTextColor; }
    void SetHoverTextColor(TColor v) { FHoverTextColor = v; }
    TColor HoverBorderColor() const { return FHoverBorderColor; }
    void SetHoverBorderColor(TColor v) { FHoverBorderColor = v; }
    // Index 0..3: colour, To, Mirror, MirrorTo.
    TColor GetSelectedColor(Integer Index) const;
    void SetSelectedColor(Integer Index, TColor v);
    TColor GetHoverColor(Integer Index) const;
    void SetHoverColor(Integer Index, TColor v);
    TGradientDirection HoverGradientDirection() const { return FHoverGradientDirection; }
    void SetHoverGradientDirection(TGradientDirection v) { FHoverGradientDirection = v; }
    TGradientDirection SelectedGradientDirection() const { return FSelectedGradientDirection; }
    void SetSelectedGradientDirection(TGradientDirection v) { FSelectedGradientDirection = v; }
    // Copies the screen's menu font while UseSystemFont is set.
    void UpdateFont();
    void Assign(TPersistent* Source) override;
    static void Publish(TPublisher<TRootItem>& p);

private:
    std::unique_ptr<TFont> FFont;
    TColor FSelectedBorderColor = TColor(0x947C7C);
    TColor FSelectedTextColor = clWindowText;
    bool FUseSystemFont = true;
    TColor FHoverTextColor = clWindowText;
    TColor FHoverBorderColor = TColor(0x6F4B4B);
    TColor FSelected[4] = {TColor(0xF2E8E8), TColor(0xCDB8B9), clNone, clNone};
    TColor FHover[4] = {TColor(0xCFF6FF), TColor(0x9DD8FF), clNone, clNone};
    TGradientDirection FHoverGradientDirection = gdVertical, FSelectedGradientDirection = gdVertical;
};

class TSeparator : public TGradientBar {
    VEL_CLASS(TSeparator, TGradientBar)
public:
    TSeparator();
    TGradientType GradientType() const { return FGradientType; }
    void SetGradientType(TGradientType v) { FGradientType = v; }
    Integer GradientWidth() const { return FGradientWidth; }
    void SetGradientWidth(Integer v) { FGradientWidth = v; }
    Integer Margin() const { return FMargin; }
    void SetMargin(Integer v) { FMargin = v; }
    Integer Width() const { return FWidth; }
    void SetWidth(Integer v) { FWidth = v; }
    void Assign(TPersistent* Source) override;
    static void Publish(TPublisher<TSeparator>& p);

private:
    TGradientType FGradientType = gtBoth;
    Integer FGradientWidth = 0;
    Integer FMargin = 2;
    Integer FWidth = 1;
};

class TBackground : public TGradientBar {
    VEL_CLASS(TBackground, TGradientBar)
public:
    TBackground();
    ~TBackground() override;
    // Created on first read; a bitmap in it is made transparent (automatic).
    TPicture* Image();
    // Copies the picture; null clears it and frees the picture.
    void SetImage(TPicture* v);
    bool HasPicture() const { return FImage && !FImage->Empty(); }
    TPicture* PictureIfAny() const { return FImage.get(); }
    Integer OffsetX() const { return FOffsetX; }
    void SetOffsetX(Integer v) { FOffsetX = v; }
    Integer OffsetY() const { return FOffsetY; }
    void SetOffsetY(Integer v) { FOffsetY = v; }
    TBackgroundPosition Position() const { return FPosition; }
    void SetPosition(TBackgroundPosition v) { FPosition = v; }
    Integer MarginX() const { return FMarginX; }
    void SetMarginX(Integer v) { FMarginX = v; }
    Integer MarginY() const { return FMarginY; }
    void SetMarginY(Integer v) { FMarginY = v; }
    // The render cache (created on first use).
    TBitmap* Bitmap();
    // Where the picture goes in R by Position and the offsets.
    void CalcPicturePosition(const TRect& R, Integer& X, Integer& Y);
    void Assign(TPersistent* Source) override;
    static void Publish(TPublisher<TBackground>& p);

private:
    std::unique_ptr<TPicture> FImage;
    Integer FOffsetX = 0, FOffsetY = 0;
    TBackgroundPosition FPosition = bpCenter;
    Integer FMarginX = 0, FMarginY = 0;
    std::unique_ptr<TBitmap> FBitmap;
};

// Renders B (gradient and picture) into its cache and draws the cache at R
// (less B's margins).
void PaintBackground(TCanvas* Canvas, TRect R, TBackground* B, bool PaintGradient);

class TBarCaption : public TPersistent {
    VEL_CLASS(TBarCaption, TPersistent)
public:
    TBarCaption();
    ~TBarCaption() override;
    const String& Caption() const { return FCaption; }
    void SetCaption(const String& v) { FCaption = v; }
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* v);
    Integer OffsetY() const { return FOffsetY; }
    TDirection Direction() const { return FDirection; }
    void SetDirection(TDirection v) { FDirection = v; }
    TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor v) { FShadowColor = v; }
    TColor HighlightColor() const { return FHighlightColor; }
    void SetHighlightColor(TColor v) { FHighlightColor = v; }
    Integer Depth() const { return FDepth; }
    void SetDepth(Integer v) { FDepth = v; }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v) { FAlignment = v; }
    TMenu* Menu() const { return FMenu; }
    void SetMenu(TMenu* v) { FMenu = v; }
    void Assign(TPersistent* Source) override;
    static void Publish(TPublisher<TBarCaption>& p);

protected:
    String FCaption;
    std::unique_ptr<TFont> FFont;
    Integer FOffsetY = 6;
    TDirection FDirection = dDownToUp;
    TColor FShadowColor = clNone, FHighlightColor = clNone;
    Integer FDepth = 1;
    TAlignment FAlignment = taLeftJustify;
    TMenu* FMenu = nullptr;
};

class TSideBar : public TBarCaption {
    VEL_CLASS(TSideBar, TBarCaption)
public:
    TSideBar();
    ~TSideBar() override;
    bool Visible() const { return FVisible; }
    void SetVisible(bool v) { FVisible = v; }
    TBackground* Background() const { return FBackground.get(); }
    void SetBackground(TBackground* v);
    TBackground* Image() const { return FImage.get(); }
    void SetImage(TBackground* v);
    Integer SplitterWidth() const { return FSplitterWidth; }
    void SetSplitterWidth(Integer v) { FSplitterWidth = v; }
    TSideBarPosition Position() const { return FPosition; }
    Integer Size() const { return FSize; }
    void SetSize(Integer v) { FSize = v; }
    Integer SplitterMargin() const { return FSplitterMargin; }
    void SetSplitterMargin(Integer v) { FSplitterMargin = v; }
    Integer SplitterGradientWidth() const { return FSplitterGradientWidth; }
    void SetSplitterGradientWidth(Integer v) { FSplitterGradientWidth = v; }
    TGradientType SplitterGradientType() const { return FSplitterGradientType; }
    void SetSplitterGradientType(TGradientType v) { FSplitterGradientType = v; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v) { FBorderColor = v; }
    TColor SplitterColor() const { return FSplitterColor; }
    void SetSplitterColor(TColor v) { FSplitterColor = v; }
    TColor SplitterColorTo() const { return FSplitterColorTo; }
    void SetSplitterColorTo(TColor v) { FSplitterColorTo = v; }
    TSideBarVisibleIn VisibleIn() const { return FVisibleIn; }
    void SetVisibleIn(TSideBarVisibleIn v) { FVisibleIn = v; }
    Integer PopupHeight() const { return FPopupHeight; }
    void SetPopupHeight(Integer v) { FPopupHeight = v; }
    void Assign(TPersistent* Source) override;
    static void Publish(TPublisher<TSideBar>& p);

private:
    void RebuildMenu();
    bool FVisible = false;
    std::unique_ptr<TBackground> FBackground, FImage;
    Integer FSplitterWidth = 1;
    TSideBarPosition FPosition = spLeft;
    Integer FSize = 24;
    Integer FSplitterMargin = 0, FSplitterGradientWidth = 0;
    TGradientType FSplitterGradientType = gtBoth;
    TColor FBorderColor = TColor(0xA19D9D);
    TColor FSplitterColor = TColor(0x808080);
    TColor FSplitterColorTo = TColor(0x000000);   // streamed against clNone: always written
    TSideBarVisibleIn FVisibleIn = viFirstVisible;
    Integer FPopupHeight = 0;
};

class TMenuGlyphs : public TPersistent {
    VEL_CLASS(TMenuGlyphs, TPersistent)
public:
    // Each bitmap loaded from its resource ("VODSUBMENUITEM", "VODCHECKITEM",
    // "VODRADIOITEM") and made transparent; a missing resource leaves it empty.
    TMenuGlyphs();
    ~TMenuGlyphs() override;
    TBitmap* SubMenu() const { return FSubMenu.get(); }
    void SetSubMenu(TBitmap* v);
    TBitmap* Check() const { return FCheck.get(); }
    void SetCheck(TBitmap* v);
    TBitmap* Radio() const { return FRadio.get(); }
    void SetRadio(TBitmap* v);
    TMenu* Menu() const { return FMenu; }
    void SetMenu(TMenu* v) { FMenu = v; }
    // From another TMenuGlyphs; any other source is ignored.
    void Assign(TPersistent* Source) override;

private:
    std::unique_ptr<TBitmap> FSubMenu, FCheck, FRadio;
    TMenu* FMenu = nullptr;
};

// The three glyph resources, registered once (the library start-up does it).
void RegisterMenuGlyphResources();

class TButtonAppearance : public TPersistent {
    VEL_CLASS(TButtonAppearance, TPersistent)
public:
    TButtonAppearance();
    ~TButtonAppearance() override;
    TNotifyEvent OnChange;
    TColor HoverColor() const { return FHoverColor; }
    void SetHoverColor(TColor v) { Change(FHoverColor, v); }
    TColor HoverColorTo() const { return FHoverColorTo; }
    void SetHoverColorTo(TColor v) { Change(FHoverColorTo, v); }
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor v) { Change(FColorTo, v); }
    TColor Color() const { return FColor; }
    void SetColor(TColor v) { Change(FColor, v); }
    TColor DownColorTo() const { return FDownColorTo; }
    void SetDownColorTo(TColor v) { Change(FDownColorTo, v); }
    TColor DownColor() const { return FDownColor; }
    void SetDownColor(TColor v) { Change(FDownColor, v); }
    TColor DownBorderColor() const { return FDownBorderColor; }
    void SetDownBorderColor(TColor v) { FDownBorderColor = v; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v) { Change(FBorderColor, v); }
    TColor HoverBorderColor() const { return FHoverBorderColor; }
    void SetHoverBorderColor(TColor v) { FHoverBorderColor = v; }
    TGradientDirection GradientDirection() const { return FGradientDirection; }
    void SetGradientDirection(TGradientDirection v);
    TFont* CaptionFont() const { return FCaptionFont.get(); }
    void SetCaptionFont(TFont* v);
    TGlyphPosition GlyphPosition() const { return FGlyphPosition; }
    bool UseSystemFont() const { return FUseSystemFont; }
    void SetUseSystemFont(bool v);
    void Assign(TPersistent* Source) override;
    static void Publish(TPublisher<TButtonAppearance>& p);

private:
    void Change(TColor& Field, TColor v);
    TColor FHoverColor = TColor(0xD2BDB6), FHoverColorTo = clNone;
    TColor FColorTo = clNone, FColor = clNone;
    TColor FDownColorTo = clNone, FDownColor = TColor(0xB59285);
    TColor FDownBorderColor = TColor(0x6A240A);
    TColor FBorderColor = clNone;
    TColor FHoverBorderColor = TColor(0x6A240A);
    TGradientDirection FGradientDirection = gdVertical;
    std::unique_ptr<TFont> FCaptionFont;
    TGlyphPosition FGlyphPosition = gpLeft;
    bool FUseSystemFont = true;
};

// ---------------------------------------------------------------------------
// Stylers

class TCustomVodMenuStyler : public TComponent {
    VEL_CLASS(TCustomVodMenuStyler, TComponent)
public:
    explicit TCustomVodMenuStyler(TComponent* AOwner);
    ~TCustomVodMenuStyler() override;

    bool UseSystemFont() const { return FUseSystemFont; }
    void SetUseSystemFont(bool v);
    TSeparator* Separator() const { return FSeparator.get(); }
    void SetSeparator(TSeparator* v);
    TBackground* Background() const { return FBackground.get(); }
    void SetBackground(TBackground* v);
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* v);
    TIconBar* IconBar() const { return FIconBar.get(); }
    void SetIconBar(TIconBar* v);
    TMenuGlyphs* Glyphs() const { return FGlyphs.get(); }
    void SetGlyphs(TMenuGlyphs* v);
    TRootItem* RootItem() const { return FRootItem.get(); }
    void SetRootItem(TRootItem* v);
    TSelectedItem* SelectedItem() const { return FSelectedItem.get(); }
    void SetSelectedItem(TSelectedItem* v);
    TSideBar* SideBar() const { return FSideBar.get(); }
    void SetSideBar(TSideBar* v);
    TColor MenuBorderColor() const { return FMenuBorderColor; }
    void SetMenuBorderColor(TColor v) { FMenuBorderColor = v; }
    TMenu* Menu() const { return FMenu; }
    void SetMenu(TMenu* v);
    // The cache of the rendered menu-background picture.
    TBitmap* BackgroundBitmap() const { return FBackgroundBitmap.get(); }
    TFont* NotesFont() const { return FNotesFont.get(); }
    void SetNotesFont(TFont* v);
    TAntiAlias AntiAlias() const { return FAntiAlias; }
    void SetAntiAlias(TAntiAlias v);
    TButtonAppearance* ButtonAppearance() const { return FButtonAppearance.get(); }
    void SetButtonAppearance(TButtonAppearance* v) { FButtonAppearance->Assign(v); }

    // From another styler only (anything else is ignored): the appearance
    // objects, the fonts and UseSystemFont; not AntiAlias, the frame colour
    // or the button appearance.
    void Assign(TPersistent* Source) override;
    static void Publish(TPublisher<TCustomVodMenuStyler>& p);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void NotifyMenu();
    void RebuildMenu();

    bool FUseSystemFont = true;
    std::unique_ptr<TSeparator> FSeparator;
    std::unique_ptr<TBackground> FBackground;
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TIconBar> FIconBar;
    std::unique_ptr<TMenuGlyphs> FGlyphs;
    std::unique_ptr<TRootItem> FRootItem;
    std::unique_ptr<TSelectedItem> FSelectedItem;
    std::unique_ptr<TSideBar> FSideBar;
    TColor FMenuBorderColor = TColor(0x7C7C94);
    bool FMenuBarUpdating = false;
    TMenu* FMenu = nullptr;
    std::unique_ptr<TBitmap> FBackgroundBitmap;
    std::unique_ptr<TFont> FNotesFont;
    TAntiAlias FAntiAlias = aaNone;
    std::unique_ptr<TButtonAppearance> FButtonAppearance;
};

enum TOfficeStyle : Byte {
    osOffice2003Blue, osOffice2003Silver, osOffice2003Olive, osOfficeXP, osOffice2007Luna,
    osOffice2007Obsidian, osCustom, osOffice2007Silver, osVista, osWhidbey, osWindows7, osTerminal,
    osOffice2010Blue, osOffice2010Silver, osOffice2010Black, osWindows8, osOffice2013White,
    osOffice2013LightGray, osOffice2013Gray, osWindows10, osOffice2016White, osOffice2016Gray,
    osOffice2016Black,
};

// A hidden window that tells its owner of WM_THEMECHANGED.
class TNotifierWindow : public TWinControl {
    VEL_CLASS(TNotifierWindow, TWinControl)
public:
    explicit TNotifierWindow(TComponent* AOwner) : TWinControl(AOwner) {}
    TNotifyEvent OnThemeChange;
    void WndProc(TMessage& Message) override;
};

class TVodMenuOfficeStyler : public TCustomVodMenuStyler, public IQelStyle, public virtual TComponentInterfaces {
    VEL_CLASS(TVodMenuOfficeStyler, TCustomVodMenuStyler)
public:
    explicit TVodMenuOfficeStyler(TComponent* AOwner);
    ~TVodMenuOfficeStyler() override;
    TOfficeStyle Style() const { return FStyle; }
    void SetStyle(TOfficeStyle v);
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool v);
    // IQelStyle: the style's preset; tsCustom and values outside the style
    // change nothing.
    void SetComponentStyle(TQelStyle AStyle) override;
    void Loaded() override;
    TNotifierWindow* NotifierWindow() const { return FNotifierWnd; }
    static void Publish(TPublisher<TVodMenuOfficeStyler>& p);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void ThemeChanged(TObject* Sender);
    TNotifierWindow* FNotifierWnd = nullptr;   // owned as a component
    TOfficeStyle FStyle = osOffice2003Blue;
    bool FAutoThemeAdapt = false;
};

// ---------------------------------------------------------------------------
// The popup menu and its engine

// What the engine asks of a menu whose items it draws.
struct IVodMenu : virtual IUnknown {
    virtual void UpdateItems() = 0;
    virtual TMenu* GetMenu() = 0;
    virtual TCustomVodMenuStyler* GetMenuStyler() = 0;
    virtual TCustomVodMenuStyler* GetCurrentMenuStyler() = 0;
    virtual void SetMenuStyler(TCustomVodMenuStyler* Value) = 0;
    virtual Byte GetOpacity() = 0;
    virtual void SetOpacity(Byte Value) = 0;
    virtual bool GetShowNotes() = 0;
    virtual void SetShowNotes(bool Value) = 0;
    virtual bool GetIntlKeybShortCuts() = 0;
    virtual void SetIntlKeybShortCuts(bool Value) = 0;
    virtual void SetActionImages(TActionImage Value) = 0;
    virtual TActionImage GetActionImages() = 0;
};

class TVodPopupMenu : public TPopupMenu, public IVodMenu, public virtual TComponentInterfaces {
    VEL_CLASS(TVodPopupMenu, TPopupMenu)
public:
    explicit TVodPopupMenu(TComponent* AOwner);
    ~TVodPopupMenu() override;

    // IVodMenu
    void UpdateItems() override { TMenu::UpdateItems(); }
    TMenu* GetMenu() override { return this; }
    TCustomVodMenuStyler* GetMenuStyler() override { return FMenuStyler; }
    TCustomVodMenuStyler* GetCurrentMenuStyler() override { return FCurrentMenuStyler; }
    void SetMenuStyler(TCustomVodMenuStyler* Value) override;
    Byte GetOpacity() override { return FOpacity; }
    void SetOpacity(Byte Value) override { FOpacity = Value; }
    bool GetShowNotes() override { return FShowNotes; }
    void SetShowNotes(bool Value) override { FShowNotes = Value; }
    bool GetIntlKeybShortCuts() override { return FIntlKeybShortCuts; }
    void SetIntlKeybShortCuts(bool Value) override { FIntlKeybShortCuts = Value; }
    void SetActionImages(TActionImage Value) override { FActionImage = Value; }
    TActionImage GetActionImages() override { return FActionImage; }

    TCustomVodMenuStyler* MenuStyler() const { return FMenuStyler; }
    TCustomVodMenuStyler* InternalMenuStyler() const { return FInternalMenuStyler; }
    TCustomVodMenuStyler* CurrentMenuStyler() const { return FCurrentMenuStyler; }
    TCustomImageList* DisabledImages() const { return FDisabledImages; }
    void SetDisabledImages(TCustomImageList* v);
    bool ShowNotes() const { return FShowNotes; }
    bool IntlKeybShortCuts() const { return FIntlKeybShortCuts; }
    TActionImage ActionImages() const { return FActionImage; }
    bool MenuUpdating() const { return FMenuUpdating; }
    bool DirectUpdate() const { return FDirectUpdate; }
    void SetDirectUpdate(bool v) { FDirectUpdate = v; }
    TObject* ItemObject() const { return FItemObject; }
    void SetItemObject(TObject* v) { FItemObject = v; }
    virtual Cardinal GetVersionNr() const { return 33948161; }   // 2.6.2.1
    String Version() const;
    void SetVersion(const String&) {}

    void BeginUpdate();
    void EndUpdate();
    void Loaded() override;
    void MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild) override;
    // Corrects X by Alignment and the screen, switches the menu animation
    // off, shows the menu and, after a menu with items closed, fires OnClose.
    void Popup(Integer X, Integer Y) override;
    virtual void Popup(TPoint P) { Popup(P.X, P.Y); }
    void PopupAtCursor();
    TNotifyEvent OnClose;

    // The engine's handlers installed on the items.
    void ExpandItemWidth(TObject* Sender, TCanvas* ACanvas, Integer& Width, Integer& Height);
    void AdvancedDrawItem(TObject* Sender, TCanvas* ACanvas, TRect ARect, TOwnerDrawState State);
    // Installs them on Item (on every item when null).
    void HookMenuItems(TMenuItem* Item);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void CreateInternalStyler();
    void HookItem(TMenuItem* Item);

    TCustomVodMenuStyler* FMenuStyler = nullptr;
    TCustomVodMenuStyler* FInternalMenuStyler = nullptr;   // owned as a component
    TCustomVodMenuStyler* FCurrentMenuStyler = nullptr;
    Byte FOpacity = 255;
    bool FShowNotes = true;
    bool FMenuUpdating = false;
    Integer FUpdateRef = 0;
    bool FDirectUpdate = false;
    TCustomImageList* FDisabledImages = nullptr;
    bool FIntlKeybShortCuts = false;
    TObject* FItemObject = nullptr;
    TActionImage FActionImage = aiNormal;
};

// Engine routines.
IVodMenu* GetVodMenu(TMenu* Menu);
IVodMenu* GetVodMenu(TMenuItem* Item);
// Rebuilds (UpdateItems) when either flag is set; nothing otherwise.
void RefreshMenu(IVodMenu* Menu, bool RebuildA, bool RebuildB);
bool SideBarShown(TMenuItem* Item);
void MeasureMenuItem(TMenuItem* Item, TCanvas* ACanvas, Integer& Width, Integer& Height, bool SideBarShown);
void StyleMenuWindow(TMenuItem* Item, TCanvas* ACanvas);
LRESULT MenuWindowProc(HWND W, UINT Msg, WPARAM WParam, LPARAM LParam);
bool SubMenuOpensRight(TMenuItem* Item, HWND W);
// The shortcut's text: the platform's ("Win+" before it for the Windows-key
// flag 0200), or with International the keyboard's key names, capitalised.
String ShortCutText(TShortCut ShortCut, bool International);
String MenuKeyName(Word Key);
Integer MenuItemDepth(TMenuItem* Item);
TMenuItem* FirstVisibleItem(TMenuItem* Parent);
bool IsFirstVisibleItem(TMenuItem* Item);
bool InLaterColumn(TMenuItem* Item);
bool IsMenuBarItem(TMenuItem* Item);

// Item painting.
void DrawMenuItem(TMenuItem* Item, TCanvas* ACanvas, TRect R, TOwnerDrawState State, bool SideBarShown);
void DrawMenuItemContent(IVodMenu* Menu, TMenuItem* Item, TCanvas* ACanvas, TOwnerDrawState State, TRect R);
void DrawMenuItemText(TMenuItem* Item, TCanvas* ACanvas, const String& Text, TRect& R, TOwnerDrawState State,
                      UINT Format);
// The union of the screen rectangles of the items of Item's parent menu.
TRect MenuItemsBounds(TMenuItem* Item, HWND Window);
