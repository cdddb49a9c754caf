// DropDownButton: the drop-down button that sits inside a drop-down edit
// (the container TDropDownEditButton and its speed button), and the small
// drawing and colour routines the drop-down window, its header and footer,
// the editors and the grid share: DrawSteppedGradient first among them.
//
// This header stands on the platform only, so the grid can include it
// without the drop-down edit.
#pragma once

#include <memory>

#include "platform/base/Objects.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Graphics.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/Controls.h"

class TCustomImageList;
class TVodCustomDropDown;

// ---------------------------------------------------------------------------
// Unit routines

// A fill in Steps bands from FromColor to ToColor (left to right when
// Horizontal, else top to bottom). Band offsets and widths are rounded to
// even; each band is drawn one pixel wider so no seam shows; Steps 0
// counts as 1.
void DrawSteppedGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, bool Horizontal, TRect R,
                         Integer Steps);
// Percent >= 100 gives A, <= 0 gives B, otherwise a per-channel mix.
TColor BlendColors(TColor A, TColor B, Integer Percent);
// A channel that is 0 becomes max(percentage, 0); any other channel is
// scaled by min(percentage + 100, 100) percent (negative values darken).
TColor ShadeColor(TColor Color, Integer R, Integer G, Integer B);
// A gradient (ColorTo set, 80 bands) or solid (Color set) fill, then an
// unfilled frame in BorderColor of BorderWidth when both are set.
void DrawFilledFrame(TCanvas* Canvas, TRect R, TColor Color, bool Horizontal, Integer BorderWidth,
                     TColor BorderColor, TColor ColorTo);
// An image of the list (index >= 0) 4 pixels in from the left, then the text
// on one line with an end ellipsis, centred only when no image was drawn.
void DrawImageText(TCanvas* Canvas, TRect R, const String& Text, Integer ImageIndex, TCustomImageList* Images);
// The bitmap copied onto R with its top-left pixel's colour made the
// background colour.
void DrawTransparentGlyph(TCanvas* Canvas, TBitmap* Glyph, TColor BackgroundColor, TRect R);
// Width and height of the text as one line; 0 x 0 for an empty text.
TSize MeasureText(TCanvas* Canvas, const String& Text);
// The text when it fits MaxWidth; else the longest prefix (with "..." when
// asked) narrower than MaxWidth; the whole text when none is.
String TruncateText(TCanvas* Canvas, const String& Text, Integer MaxWidth, bool WithEllipsis);
// The text as it is with MatchCase, else upper-cased for look-ups.
String CaseForLookup(const String& Text, bool MatchCase);
// Renders markup in R (URL colour 0x808080, shadow 0xFF0000, no hover
// colours) and answers the rendered size; CheckOnly measures only.
TSize DrawMarkupText(TCanvas* Canvas, const String& Text, TRect R, TCustomImageList* Images,
                     bool CheckOnly = false);

// ---------------------------------------------------------------------------
// The button

enum TButtonStyle : Byte { bsButton, bsDropDown };

// The speed button inside the container: the drop-down arrow (bsDropDown)
// or a plain push button of a descendant (bsButton).
class TVodDropDownSpeedButton : public TSpeedButton {
    VEL_CLASS(TVodDropDownSpeedButton, TSpeedButton)
public:
    explicit TVodDropDownSpeedButton(TComponent* AOwner);
    TButtonStyle ButtonStyle() const { return FButtonStyle; }
    void SetButtonStyle(TButtonStyle v);
    bool Etched() const { return FEtched; }
    void SetEtched(bool v);
    bool Focused() const { return FFocused; }
    void SetFocused(bool v);
    bool Hot() const { return FHot; }
    // Up: the button never draws pressed.
    void SetUp(bool v) { FUp = v; }
    bool Pressed() const;

protected:
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

private:
    void PaintDropDown();
    void PaintButton();
    bool FEtched = false;
    bool FFocused = false;
    bool FHot = false;
    bool FUp = false;
    bool FIsWinXP = true;
    TButtonStyle FButtonStyle = bsDropDown;
};

// The container of the speed button, a child of the edit at its right edge;
// its width is always the button width.
class TDropDownEditButton : public TWinControl {
    VEL_CLASS(TDropDownEditButton, TWinControl)
public:
    explicit TDropDownEditButton(TComponent* AOwner);
    ~TDropDownEditButton() override;

    TVodDropDownSpeedButton* SpeedButton() const { return FButton; }
    TBitmap* Glyph() const;
    void SetGlyph(TBitmap* v);
    String ButtonCaption() const;
    void SetButtonCaption(const String& v);
    Integer NumGlyphs() const;
    void SetNumGlyphs(Integer v);
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* v);
    Integer ButtonWidth() const { return FBWidth; }
    void SetButtonWidth(Integer v);
    TColor ButtonColor() const { return FButtonColor; }
    void SetButtonColor(TColor v) { FButtonColor = v; Repaint(); }
    TColor ButtonColorHot() const { return FButtonColorHot; }
    void SetButtonColorHot(TColor v) { FButtonColorHot = v; }
    TColor ButtonColorDown() const { return FButtonColorDown; }
    void SetButtonColorDown(TColor v) { FButtonColorDown = v; }
    TColor ButtonTextColor() const { return FButtonTextColor; }
    void SetButtonTextColor(TColor v) { FButtonTextColor = v; }
    TColor ButtonTextColorHot() const { return FButtonTextColorHot; }
    void SetButtonTextColorHot(TColor v) { FButtonTextColorHot = v; }
    TColor ButtonTextColorDown() const { return FButtonTextColorDown; }
    void SetButtonTextColorDown(TColor v) { FButtonTextColorDown = v; }
    TColor ButtonBorderColor() const { return FButtonBorderColor; }
    void SetButtonBorderColor(TColor v) { FButtonBorderColor = v; }
    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
    void SetEnabled(bool v) override;
    // The owning drop-down edit (the focus control's), if any.
    TVodCustomDropDown* DropDown() const;

    TNotifyEvent OnClick;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Dispatch(TMessage& Message) override;
    void Loaded() override;

private:
    friend class TVodDropDownSpeedButton;
    TVodDropDownSpeedButton* FButton = nullptr;
    TWinControl* FFocusControl = nullptr;
    Integer FBWidth = 16;
    TColor FButtonColorDown = clNone, FButtonBorderColor = clNone, FButtonTextColor = clNone,
           FButtonTextColorHot = clNone, FButtonColor = clNone, FButtonColorHot = clNone,
           FButtonTextColorDown = clNone;
};
