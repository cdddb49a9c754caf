// TVurEditBtn: a single-line masked edit with a push button inside its right
// edge; pressing the button (or F4 without Ctrl and Alt) runs the virtual
// ClickButton, which fires OnClickBtn. EditorEnabled off keeps typing, cut
// and paste out but leaves the button working.
//
// TVurUnitEditBtn adds a unit of measure: the edit shows a number, the unit
// (UnitID) is painted between the text and the button, and the button opens
// a menu of the Units. TextAndUnit reads and writes both at once.
//
// The button lives in a small holder, TVurEditButton, that carries one
// speed button of this unit's own (VurEditBtn::TVodSpeedButton: coloured,
// themed, flat or classic). TVurSpeedButton is a further speed button that
// paints an image-list image and a picture over the usual face.
#pragma once

#include <functional>
#include <memory>

#include "platform/base/Lists.h"
#include "platform/gfx/ImageList.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/Mask.h"

namespace VurEditBtn {

// The holder's speed button (the edit family has its own class of the same
// name, hence the namespace).
class TVodSpeedButton : public TSpeedButton {
    VEL_CLASS(TVodSpeedButton, TSpeedButton)
public:
    explicit TVodSpeedButton(TComponent* AOwner);

    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool v);
    bool Flat() const { return FFlat; }
    void SetFlat(bool v);
    bool Hot() const { return FHot; }

protected:
    void Paint() override;
    void CMMouseEnter(TMessage& M) override;
    void CMMouseLeave(TMessage& M) override;

    bool FIsWinXP = false;
    bool FFlat = false;
    bool FHot = false;
};

}  // namespace VurEditBtn

// The windowed holder of the edit's button.
class TVurEditButton : public TWinControl {
    VEL_CLASS(TVurEditButton, TWinControl)
public:
    explicit TVurEditButton(TComponent* AOwner);
    ~TVurEditButton() override;

    VurEditBtn::TVodSpeedButton* Button() const { return FButton; }
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* v);
    bool Flat() const { return FFlat; }
    void SetFlat(bool v);
    TBitmap* Glyph() const { return FButton ? FButton->Glyph() : nullptr; }
    void SetGlyph(TBitmap* v) { if (FButton) FButton->SetGlyph(v); }
    TNumGlyphs NumGlyphs() const { return FButton ? FButton->NumGlyphs() : 1; }
    void SetNumGlyphs(TNumGlyphs v) { if (FButton) FButton->SetNumGlyphs(v); }
    String ButtonCaption() const { return FButton ? FButton->Caption() : String(); }
    void SetButtonCaption(const String& v) { if (FButton) FButton->SetCaption(v); }

    // Face colours (clNone: themed, flat or classic look). The border and
    // text colours are kept but do not change the painting.
    TColor ButtonColorDown() const { return FButtonColorDown; }
    void SetButtonColorDown(TColor v) { FButtonColorDown = v; InvalidateButton(); }
    TColor ButtonBorderColor() const { return FButtonBorderColor; }
    void SetButtonBorderColor(TColor v) { FButtonBorderColor = v; }
    TColor ButtonTextColor() const { return FButtonTextColor; }
    void SetButtonTextColor(TColor v) { FButtonTextColor = v; }
    TColor ButtonTextColorHot() const { return FButtonTextColorHot; }
    void SetButtonTextColorHot(TColor v) { FButtonTextColorHot = v; }
    TColor ButtonColor() const { return FButtonColor; }
    void SetButtonColor(TColor v) { FButtonColor = v; InvalidateButton(); }
    TColor ButtonColorHot() const { return FButtonColorHot; }
    void SetButtonColorHot(TColor v) { FButtonColorHot = v; InvalidateButton(); }
    TColor ButtonTextColorDown() const { return FButtonTextColorDown; }
    void SetButtonTextColorDown(TColor v) { FButtonTextColorDown = v; }

    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
    void Loaded() override;

protected:
    void WMSize(TMessage& M) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void BtnMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
    void FitButton();
    void InvalidateButton();

    VurEditBtn::TVodSpeedButton* FButton = nullptr;
    TWinControl* FFocusControl = nullptr;
    bool FFlat = false;
    TColor FButtonColorDown = clNone, FButtonBorderColor = clNone, FButtonTextColor = clNone,
           FButtonTextColorHot = clNone, FButtonColor = clNone, FButtonColorHot = clNone,
           FButtonTextColorDown = clNone;
};

class TVurEditBtn : public TCustomMaskEdit {
    VEL_CLASS(TVurEditBtn, TCustomMaskEdit)
public:
    explicit TVurEditBtn(TComponent* AOwner);
    ~TVurEditBtn() override;

    TVurEditButton* Button() const { return FButton; }
    // Text right-aligned (a change re-creates the window).
    bool RightAlign() const { return FRightAlign; }
    void SetRightAlign(bool v);
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool v) { FEditorEnabled = v; }
    Integer ButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(Integer v);
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool v);
    TBitmap* Glyph() const { return FButton ? FButton->Glyph() : nullptr; }
    void SetGlyph(TBitmap* v) { if (FButton) FButton->SetGlyph(v); }
    String ButtonCaption() const { return FButton ? FButton->ButtonCaption() : String(); }
    void SetButtonCaption(const String& v) { if (FButton) FButton->SetButtonCaption(v); }

    // Fires OnClickBtn (the unit edit opens its menu too).
    virtual void ClickButton();
    Integer GetMinHeight();
    void Loaded() override;

    TNotifyEvent OnClickBtn;

protected:
    DWORD EditStyle() const override;
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;
    void WMChar(TMessage& M) override;
    void WMSize(TMessage& M) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void SetEditRect();
    void PlaceButton();

    // Width kept free for the unit name.
    Integer FUnitSize = 0;
    bool FRightAlign = false;
    TVurEditButton* FButton = nullptr;
    bool FEditorEnabled = true;
    Integer FButtonWidth = 18;
    bool FIsWinXP = false;
};

using TUnitChangedEvent = std::function<void(TObject* Sender, const String& NewUnit)>;

class TVurUnitEditBtn : public TVurEditBtn {
    VEL_CLASS(TVurUnitEditBtn, TVurEditBtn)
public:
    explicit TVurUnitEditBtn(TComponent* AOwner);
    ~TVurUnitEditBtn() override;

    const String& UnitID() const { return FUnitID; }
    // Stores the unit and repaints (no event: that is for the menu).
    void SetUnitID(const String& v);
    TStringList* Units() const { return FUnits.get(); }
    void SetUnits(TStrings* v) { FUnits->Assign(v); }
    Integer UnitSpace() const { return FUnitSize; }
    void SetUnitSpace(Integer v);
    // The text followed directly by the unit. A write takes the first unit
    // in list order that ends the value at its first occurrence; a value
    // that ends in no unit changes nothing.
    String TextAndUnit();
    void SetTextAndUnit(const String& v);

    // Fires OnClickBtn, then shows the units menu.
    void ClickButton() override;

    TUnitChangedEvent OnUnitChanged;

protected:
    void Dispatch(TMessage& Message) override;
    void PaintUnit();

    String FUnitID;
    std::unique_ptr<TStringList> FUnits;
};

// A speed button that paints an image-list image and a picture, centred,
// over the usual face (the grid's hover buttons).
class TVurSpeedButton : public TSpeedButton {
    VEL_CLASS(TVurSpeedButton, TSpeedButton)
public:
    explicit TVurSpeedButton(TComponent* AOwner);
    ~TVurSpeedButton() override;

    TPicture* Picture() const { return FPicture.get(); }
    void SetPicture(TPicture* v) { FPicture->Assign(v); }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* v);
    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer v);

protected:
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    std::unique_ptr<TPicture> FPicture;
    TCustomImageList* FImages = nullptr;
    Integer FImageIndex = 0;
};
