// VodToolButton: a windowless tool button. Flat faces with their own colours
// and optional vertical gradients for the normal, hot, down and checked
// looks (or the platform's push button), a glyph from a bitmap or an image
// list with hot, down and disabled variants and a shade, a caption, the
// grouped and check behaviour of a speed button, an optional drop-down menu
// with a split arrow, and 25 colour looks chosen directly, through the
// library style (IQelStyle) or from the desktop's colour scheme.
#pragma once

#include <memory>

#include "controls/dropdown/DropDownHeaderFooter.h"
#include "controls/foundation/VodStyleIF.h"
#include "platform/gfx/Graphics.h"
#include "platform/gfx/ImageList.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/Controls.h"

class TPopupMenu;

// One tasButton, tasCheck for the whole library: the drop-down header and
// footer buttons and the grid's buttons use the same enumeration.
using TVodToolButtonStyle = TVodButtonStyle;

// The platform's control message (besides WM_THEMECHANGED) after which a
// button that follows the desktop theme adapts again.
constexpr UINT CM_VODTHEMECHANGED = 45109;

// The button's band gradient: Steps bands (0 counts as 1, the count kept in
// 16 bits) from FromColor towards ToColor across R, top to bottom or, with
// Horizontal, left to right. Band i has the colour From + Round(i * (To -
// From) / Steps) per channel, so the last band stops one step short of
// ToColor. With a FrameColor other than clNone, R is framed in it.
void DrawBandGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, TColor FrameColor,
                      Integer Steps, const TRect& R, bool Horizontal);

// The thirteen look properties a look sets (Flat is always set true besides).
struct TToolButtonLook {
    TColor Color, ColorTo, ColorHot, ColorHotTo, ColorDown, ColorDownTo, ColorChecked,
        ColorCheckedTo, BorderColor, BorderHotColor, BorderDownColor;
    bool Rounded;
};
constexpr Integer ToolButtonLookCount = 25;
// Look 0..24.
const TToolButtonLook& ToolButtonLook(Integer Index);
// The look of a library style; -1 for tsCustom and values outside the style.
Integer ToolButtonLookOfStyle(TQelStyle Style);

class TVodToolButton : public TGraphicControl, public IQelStyle, public virtual TComponentInterfaces {
    VEL_CLASS(TVodToolButton, TGraphicControl)
public:
    explicit TVodToolButton(TComponent* AOwner);
    ~TVodToolButton() override;

    // IQelStyle: stores the style and applies its look (none for tsCustom).
    void SetComponentStyle(TQelStyle AStyle) override;
    TQelStyle GetComponentStyle() const { return FQelStyle; }

    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool v);
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool v);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v);
    TColor BorderDownColor() const { return FBorderDownColor; }
    void SetBorderDownColor(TColor v) { FBorderDownColor = v; }
    TColor BorderHotColor() const { return FBorderHotColor; }
    void SetBorderHotColor(TColor v) { FBorderHotColor = v; }
    // The normal face (the control's Color, clBtnFace at creation).
    TColor Color() const { return TGraphicControl::Color(); }
    void SetColor(TColor v);
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor v);
    TColor ColorHot() const { return FColorHot; }
    void SetColorHot(TColor v) { FColorHot = v; }
    TColor ColorHotTo() const { return FColorHotTo; }
    void SetColorHotTo(TColor v) { FColorHotTo = v; }
    TColor ColorDown() const { return FColorDown; }
    void SetColorDown(TColor v) { FColorDown = v; }
    TColor ColorDownTo() const { return FColorDownTo; }
    void SetColorDownTo(TColor v) { FColorDownTo = v; }
    TColor ColorChecked() const { return FColorChecked; }
    void SetColorChecked(TColor v);
    TColor ColorCheckedTo() const { return FColorCheckedTo; }
    void SetColorCheckedTo(TColor v);
    Integer GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(Integer v);
    bool Down() const { return FDown; }
    void SetDown(bool v);
    bool DropDownButton() const { return FDropDownButton; }
    void SetDropDownButton(bool v);
    TPopupMenu* DropDownMenu() const { return FDropDownMenu; }
    void SetDropDownMenu(TPopupMenu* v);
    bool DropDownSplit() const { return FDropDownSplit; }
    void SetDropDownSplit(bool v) { FDropDownSplit = v; }
    bool Flat() const { return FFlat; }
    void SetFlat(bool v);
    // The bitmaps are the button's own; the setters copy.
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* v);
    TBitmap* GlyphHot() const { return FGlyphHot.get(); }
    void SetGlyphHot(TBitmap* v);
    TBitmap* GlyphDown() const { return FGlyphDown.get(); }
    void SetGlyphDown(TBitmap* v);
    TBitmap* GlyphDisabled() const { return FGlyphDisabled.get(); }
    void SetGlyphDisabled(TBitmap* v);
    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer v);
    // Watched: a freed image list is forgotten.
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* v);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout v);
    Integer Margin() const { return FMargin; }
    void SetMargin(Integer v);
    bool Rounded() const { return FRounded; }
    void SetRounded(bool v);
    bool Shaded() const { return FShaded; }
    void SetShaded(bool v);
    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool v);
    Integer Spacing() const { return FSpacing; }
    void SetSpacing(Integer v);
    TVodToolButtonStyle Style() const { return FStyle; }
    void SetStyle(TVodToolButtonStyle v);
    String Version() const { return L"1.6.2.0"; }
    void SetVersion(const String&) {}
    // The last look applied (0..24), -1 before any.
    Integer Look() const { return FLook; }
    void SetLook(Integer v);

    TButtonState State() const { return FState; }
    bool MouseInControl() const { return FMouseInControl; }
    // The grey silhouette drawn under a hot glyph (empty without a glyph).
    TBitmap* Shade() const { return FShade.get(); }

    TNotifyEvent OnDropDown;

    void ShowDropDownMenu();
    void Click() override;
    void Loaded() override;
    void WndProc(TMessage& Message) override;
    void DefineProperties(TFiler* Filer) override;

    // Where glyph and caption go in the client rectangle Client with the
    // content offset Offset (for tests and descendants).
    void CalcLayout(const TRect& Client, TPoint Offset, TPoint& GlyphPos, TRect& TextRect);

    static void Publish(TPublisher<TVodToolButton>& p);

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void ActionChange(TObject* Sender, bool CheckDefaults) override;
    void Dispatch(TMessage& Message) override;
    void CMMouseEnter(TMessage& M) override;
    void CMMouseLeave(TMessage& M) override;

private:
    bool Designing() const { return ComponentState().Contains(csDesigning); }
    void ApplyLook(Integer Index);
    void ThemeAdapt();
    void UpdateExclusive();
    void UpdateTracking();
    void BuildShade();
    TCustomImageList* EffectiveImages() const;
    void DrawContent(const TRect& Client, TPoint Offset, TButtonState State);
    void DrawFlatFace(TRect& R);

    bool FAllowAllUp = false;
    bool FAutoThemeAdapt = false;
    TColor FBorderColor = clNone;
    TColor FBorderDownColor = clNone;
    TColor FBorderHotColor = clNone;
    TColor FColorTo = clNone;
    TColor FColorHot = TColor(0xCAC7C7);
    TColor FColorHotTo = clNone;
    TColor FColorDown = TColor(0xD8D3D2);
    TColor FColorDownTo = clNone;
    TColor FColorChecked = TColor(0x808080);
    TColor FColorCheckedTo = clNone;
    Integer FGroupIndex = 0;
    bool FDown = false;
    bool FDropDownButton = false;
    TPopupMenu* FDropDownMenu = nullptr;
    bool FDropDownSplit = true;
    bool FFlat = true;
    std::unique_ptr<TBitmap> FGlyph, FGlyphHot, FGlyphDown, FGlyphDisabled, FShade;
    Integer FImageIndex = -1;
    TCustomImageList* FImages = nullptr;
    TButtonLayout FLayout = blGlyphLeft;
    Integer FMargin = -1;
    bool FRounded = false;
    bool FShaded = true;
    bool FShowCaption = true;
    Integer FSpacing = 4;
    TVodToolButtonStyle FStyle = tasButton;
    Integer FLook = -1;
    TQelStyle FQelStyle = tsCustom;
    TButtonState FState = bsUp;
    bool FDragging = false;
    String FTextSizeKey;   // what FTextSize was measured for
    TPoint FTextSize;
};
