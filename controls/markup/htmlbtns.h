// The markup check box and radio button: window controls whose captions are
// markup (hyperlinks included). They paint themselves in six looks, scale
// with the screen's pixels per inch, can show their parent through a
// transparent background, track the mouse and the keyboard and take the
// focus. Pressing on a hyperlink of a focused control follows it; releasing
// inside still toggles (or checks) it as any click does.
#pragma once

#include <memory>

#include "controls/markup/HTMLabel.h"

enum TButtonType { btClassic, btBorland, btFlat, btQel, btWinXP, btTheme };

// The height of "0" in a 9-point-style font at the given pixels per inch.
Integer TextHeightAtDPI(Integer PixelsPerInch, Integer Size);
// 1.0 at 96 pixels per inch; else the ratio of "0"'s height at the screen's
// pixels per inch to its height at 96.
float GetDPIScale();
// The most significant version word pair of a file's version resource; -1
// without one.
Integer GetFileVersion(const String& FileName);
// Visual styles active and common controls of version 6 or later.
bool IsThemedComCtl();
// Paints Control's parent (background and contents) into Canvas, moved so
// that the control's own area lands at (0, 0).
void DrawParentImage(TControl* Control, TCanvas* Canvas);

// What the check box and the radio button share: fields, looks, painting,
// the caption's hit test, the mouse and the keys. The two classes add their
// state and how a click changes it.
class THTMLButtonBase : public TCustomControl {
    VEL_CLASS(THTMLButtonBase, TCustomControl)
public:
    explicit THTMLButtonBase(TComponent* AOwner);
    ~THTMLButtonBase() override;

    TLeftRight Alignment() const { return FAlignment; }
    void SetAlignment(TLeftRight v);
    TButtonType ButtonType() const { return FButtonType; }
    void SetButtonType(TButtonType v);
    TTextLayout ButtonVertAlign() const { return FBtnVAlign; }
    void SetButtonVertAlign(TTextLayout v);
    // The markup.
    const String& Caption() const { return FCaption; }
    void SetCaption(const String& v);
    TColor CheckColor() const { return FCheckColor; }
    TColor DisabledColor() const { return FDisabledColor; }
    void SetDisabledColor(TColor v);
    bool DisabledShadow() const { return FDisabledShadow; }
    void SetDisabledShadow(bool v);
    bool Down() const { return FDown; }
    void SetDown(bool v);
    bool Ellipsis() const { return FEllipsis; }
    void SetEllipsis(bool v);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* v);
    TPictureContainer* PictureContainer() const { return FContainer; }
    void SetPictureContainer(TPictureContainer* v);
    bool ReturnIsTab() const { return FReturnIsTab; }
    void SetReturnIsTab(bool v) { FReturnIsTab = v; }
    TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor v);
    Integer ShadowOffset() const { return FShadowOffset; }
    void SetShadowOffset(Integer v);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);
    // So spelled: keeps the parent's image between paints.
    bool TransparentChaching() const { return FTransparentCaching; }
    void SetTransparentChaching(bool v) { FTransparentCaching = v; }
    TColor URLColor() const { return FURLColor; }
    String Version() const { return MarkupVersionText(0x01060200); }
    void SetVersion(const String&) {}
    THTMLPictureCache* ImageCache() const { return FImageCache.get(); }
    float ScaleFactor() const { return FScaleFactor; }

    // The hyperlink (HREF) under a point of the caption; empty when none.
    void AnchorAt(Integer X, Integer Y, String& Anchor);
    // The rectangle the caption is drawn in, for the current look,
    // alignment and scale.
    TRect CaptionRect();

    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
    void Loaded() override;

    TAnchorClick OnAnchorClick, OnAnchorEnter, OnAnchorExit;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    void DoEnter() override;
    void DoExit() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
    void KeyDown(Word& Key, TShiftState Shift) override;

    virtual bool IsRadio() const = 0;
    // The box shows checked / grayed.
    virtual bool LookChecked() const = 0;
    virtual bool LookGrayed() const { return false; }
    // The accelerator of the caption was pressed.
    virtual void AccelPressed() = 0;
    // Invalidates what hot tracking and presses change.
    virtual void InvalidateBox(bool Erase) = 0;
    virtual void EnteredByFocus() {}

    // Draws the box of the current look (or, without Draw, only works out
    // the gap) and returns the gap between the box and the caption.
    Integer DrawBox(TCanvas* C, bool Draw);
    TMarkupParams CaptionParams(TCanvas* C, const TRect& R);
    bool Inside(Integer X, Integer Y) const { return X >= 0 && X <= Width() && Y >= 0 && Y <= Height(); }
    void SetCheckColorField(TColor v) { FCheckColor = v; }
    void SetURLColorField(TColor v) { FURLColor = v; }

    bool FDown = false;
    bool FFocused = false;
    TColor FCheckColor = clBlack;
    TButtonType FButtonType = btClassic;
    bool FReturnIsTab = false;
    TCustomImageList* FImages = nullptr;
    String FAnchor;
    TColor FURLColor = clBlue;
    std::unique_ptr<THTMLPictureCache> FImageCache;
    TTextLayout FBtnVAlign = tlTop;
    TLeftRight FAlignment = taLeftJustify;
    bool FEllipsis = false;
    String FCaption;
    TPictureContainer* FContainer = nullptr;
    Integer FShadowOffset = 1;
    TColor FShadowColor = clGray;
    bool FIsWinXP = false;
    bool FHot = false;
    TCursor FOldCursor = crDefault;
    bool FMouseDown = false;
    TColor FDisabledColor = clGray;
    bool FDisabledShadow = true;
    std::unique_ptr<TBitmap> FBkgBmp;
    bool FBkgCache = false;
    bool FTransparentCaching = false;
    bool FTransparent = false;
    float FScaleFactor = 1.0f;
};

class TCustomHTMLCheckBox : public THTMLButtonBase {
    VEL_CLASS(TCustomHTMLCheckBox, THTMLButtonBase)
public:
    explicit TCustomHTMLCheckBox(TComponent* AOwner);

    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState v);
    // Stores, then paints at once.
    void SetCheckColor(TColor v);
    void SetURLColor(TColor v);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v) { FReadOnly = v; }

    virtual Integer GetVersionNr() { return 0x01060200; }
    // Not ReadOnly: checked becomes unchecked, anything else checked.
    virtual void Toggle();

protected:
    void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    bool IsRadio() const override { return false; }
    bool LookChecked() const override { return FState == cbChecked; }
    bool LookGrayed() const override { return FState == cbGrayed; }
    void AccelPressed() override;
    void InvalidateBox(bool Erase) override;

    bool CheckedValue() const { return FState == cbChecked; }
    void SetCheckedValue(bool v);

private:
    TCheckBoxState FState = cbUnchecked;
    bool FReadOnly = false;
};

class THTMLCheckBox : public TCustomHTMLCheckBox {
    VEL_CLASS(THTMLCheckBox, TCustomHTMLCheckBox)
public:
    explicit THTMLCheckBox(TComponent* AOwner) : TCustomHTMLCheckBox(AOwner) {}
    bool Checked() const { return CheckedValue(); }
    void SetChecked(bool v) { SetCheckedValue(v); }
};

class THTMLRadioButton : public THTMLButtonBase {
    VEL_CLASS(THTMLRadioButton, THTMLButtonBase)
public:
    explicit THTMLRadioButton(TComponent* AOwner);

    bool Checked() const { return FChecked; }
    // Checking unchecks the other buttons of the group on the same parent
    // and fires OnClick for this one.
    void SetChecked(bool v);
    Byte GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(Byte v) { FGroupIndex = v; }
    void SetCheckColor(TColor v);
    void SetURLColor(TColor v);
    Integer GetVersionNr() const { return 0x01060200; }

    // A click does nothing by itself: OnClick comes from DoClick only.
    void Click() override {}
    virtual void DoClick();

protected:
    void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void Dispatch(TMessage& Message) override;
    bool IsRadio() const override { return true; }
    bool LookChecked() const override { return FChecked; }
    void AccelPressed() override;
    void InvalidateBox(bool Erase) override;
    void EnteredByFocus() override;

private:
    bool FChecked = false;
    Byte FGroupIndex = 0;
};
