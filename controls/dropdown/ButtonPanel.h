// ButtonPanel: the calculator keypad. A panel of glossy buttons drawn with
// the GDI+ wrappers, kept in a collection, coloured by a TButtonAppearance,
// with hot and pressed tracking and a click event that reports the button
// index. As plCalculator it builds and lays out the 28 calculator buttons
// itself; as plCustom it shows the buttons the user adds where the user puts
// them. The calculator drop-down hosts one in its window; it also stands on
// a form by itself.
#pragma once

#include <functional>
#include <memory>

#include "controls/dropdown/ItemSelector.h"  // TItemLayout
#include "controls/dropdown/VodDropDown.h"
#include "platform/gfx/Graphics.h"
#include "platform/ui/Controls.h"

class TCustomImageList;
class TCustomEdit;
class TCustomButtonPanel;

enum TButtonPanelType : Byte { plCalculator, plCustom };

// (Sender, Index): the clicked button's index in the collection.
using TCalculatorButtonClickEvent = std::function<void(TObject* Sender, Integer Index)>;

// The keypad's colours and caption font. (The menus have a class of the same
// name; this one lives in its own namespace.)
namespace VodButtonPanel {
class TButtonAppearance : public TPersistent {
    VEL_CLASS(TButtonAppearance, TPersistent)
public:
    TButtonAppearance();
    ~TButtonAppearance() override;
    void Assign(TPersistent* Source) override;

#define VOD_BA_COLOR(N)                 \
    TColor N() const { return F##N; }   \
    void Set##N(TColor v)               \
    {                                   \
        if (F##N == v) return;          \
        F##N = v;                       \
        Changed();                      \
    }
    VOD_BA_COLOR(BorderColor)
    VOD_BA_COLOR(BorderColorHot)
    VOD_BA_COLOR(BorderColorDown)
    VOD_BA_COLOR(BorderColorChecked)
    VOD_BA_COLOR(Color)
    VOD_BA_COLOR(ColorTo)
    VOD_BA_COLOR(ColorDown)
    VOD_BA_COLOR(ColorDownTo)
    VOD_BA_COLOR(ColorHot)
    VOD_BA_COLOR(ColorHotTo)
    VOD_BA_COLOR(ColorCheckedTo)
    VOD_BA_COLOR(ColorDisabled)
    VOD_BA_COLOR(ColorDisabledTo)
    VOD_BA_COLOR(ColorChecked)
    VOD_BA_COLOR(GlowColorHot)
    VOD_BA_COLOR(GlowColorDown)
    VOD_BA_COLOR(TextColor)
    VOD_BA_COLOR(SpecialTextColor)
#undef VOD_BA_COLOR
    // The gloss tells no change.
    TColor ShineColor() const { return FShineColor; }
    void SetShineColor(TColor v) { FShineColor = v; }
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* v) { FFont->Assign(v); }

    TNotifyEvent OnChange;

private:
    void Changed()
    {
        if (OnChange) OnChange(this);
    }
    TColor FBorderColor = 0x000000, FBorderColorHot = 0x000000, FBorderColorDown = 0x000000;
    TColor FBorderColorChecked = 0xFF0000;
    TColor FColor = 0x9A915F, FColorTo = 0xB0A170;
    TColor FColorDown = 0x4B2F08, FColorDownTo = 0xADB514;
    TColor FColorHot = 0x9F6F1C, FColorHotTo = 0xD5C244;
    TColor FColorCheckedTo, FColorDisabled, FColorDisabledTo, FColorChecked;
    std::unique_ptr<TFont> FFont;
    TColor FShineColor = 0xFFFFFF;
    TColor FGlowColorHot = 0xD5C244, FGlowColorDown = 0xD5C244;
    TColor FTextColor = 0x000000, FSpecialTextColor = 0x000080;
};
}  // namespace VodButtonPanel

// One keypad button.
class TCalcButtonItem : public TCollectionItem {
    VEL_CLASS(TCalcButtonItem, TCollectionItem)
public:
    explicit TCalcButtonItem(TCollection* Collection);
    ~TCalcButtonItem() override;
    void Assign(TPersistent* Source) override;

    const String& Caption() const { return FCaption; }
    void SetCaption(const String& v);
    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer v);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    TPicture* Image() const { return FImage.get(); }
    void SetImage(TPicture* v);
    Integer Tag() const { return FTag; }
    void SetTag(Integer v) { FTag = v; }
    Integer Left() const { return FLeft; }
    void SetLeft(Integer v) { FLeft = v; }
    Integer Top() const { return FTop; }
    void SetTop(Integer v) { FTop = v; }
    Integer Width() const { return FWidth; }
    void SetWidth(Integer v) { FWidth = v; }
    Integer Height() const { return FHeight; }
    void SetHeight(Integer v) { FHeight = v; }
    const String& Name() const { return FName; }
    void SetName(const String& v) { FName = v; }
    TColor CaptionColor() const { return FCaptionColor; }
    void SetCaptionColor(TColor v) { FCaptionColor = v; }
    bool Special() const { return FSpecial; }
    void SetSpecial(bool v) { FSpecial = v; }
    TRect ButtonRect() const { return TRect{FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
    void SetButtonRect(const TRect& r);

private:
    String FCaption;
    Integer FImageIndex = -1;
    bool FEnabled = true;
    std::unique_ptr<TPicture> FImage;
    Integer FTag = 0;
    Integer FHeight = 0, FLeft = 0, FWidth = 0, FTop = 0;
    String FName;
    TColor FCaptionColor = 0xFFFFFF;
    bool FSpecial = false;
};

class TCalcButtonItems : public TCollection {
    VEL_CLASS(TCalcButtonItems, TCollection)
public:
    explicit TCalcButtonItems(TCustomButtonPanel* AOwner);
    TCalcButtonItem* Add() { return static_cast<TCalcButtonItem*>(TCollection::Add()); }
    TCalcButtonItem* Insert(Integer Index) { return static_cast<TCalcButtonItem*>(TCollection::Insert(Index)); }
    TCalcButtonItem* Items(Integer Index) const { return static_cast<TCalcButtonItem*>(TCollection::Items(Index)); }
    TPersistent* GetOwner() const override;

protected:
    void Update(TCollectionItem* Item) override;

private:
    TCustomButtonPanel* FOwner;
};

class TCustomButtonPanel : public TCustomControl {
    VEL_CLASS(TCustomButtonPanel, TCustomControl)
public:
    explicit TCustomButtonPanel(TComponent* AOwner);
    ~TCustomButtonPanel() override;

    TCalcButtonItems* Buttons() const { return FButtons.get(); }
    void SetButtons(TCalcButtonItems* v) { FButtons->Assign(v); }
    VodButtonPanel::TButtonAppearance* ButtonAppearance() const { return FButtonAppearance.get(); }
    void SetButtonAppearance(VodButtonPanel::TButtonAppearance* v) { FButtonAppearance->Assign(v); }
    TItemLayout ButtonLayout() const { return FButtonLayout; }
    void SetButtonLayout(TItemLayout v);
    TButtonPanelType ButtonPanelType() const { return FButtonPanelType; }
    void SetButtonPanelType(TButtonPanelType v);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* v);
    TSelectionColorStyle ItemColorStyle() const { return FItemColorStyle; }
    void SetItemColorStyle(TSelectionColorStyle v) { FItemColorStyle = v; }
    TCustomEdit* Edit() const { return FEdit; }
    void SetEdit(TCustomEdit* v);
    TVodCustomDropDown* VodDropDown() const { return FVodDropDown; }
    void SetVodDropDown(TVodCustomDropDown* v) { FVodDropDown = v; }
    Integer OffSetX() const { return FOffSetX; }
    void SetOffSetX(Integer v) { FOffSetX = v; }
    Integer OffSetY() const { return FOffSetY; }
    void SetOffSetY(Integer v) { FOffSetY = v; }
    Integer ButtonOffSetX() const { return FButtonOffSetX; }
    void SetButtonOffSetX(Integer v) { FButtonOffSetX = v; }
    Integer ButtonOffSetY() const { return FButtonOffSetY; }
    void SetButtonOffSetY(Integer v) { FButtonOffSetY = v; }
    Integer CaptionGap() const { return FCaptionGap; }
    void SetCaptionGap(Integer v) { FCaptionGap = v; }
    Integer ButtonHot() const { return FButtonHot; }
    Integer ButtonDown() const { return FButtonDown; }

    // The first button, in collection order, whose rectangle holds the
    // point; -1 for none.
    Integer ButtonAtPos(Integer X, Integer Y) const;
    // Whether the collection is exactly the 28 buttons the keypad builds.
    bool HoldsCalculatorButtons() const;

    TCalculatorButtonClickEvent OnButtonClick;

    // --- Virtual operations, in their slot order -------------------------
    virtual void DrawButton(Integer Index, TCanvas* ACanvas);
    virtual void GetButtonArea(TRect& R);
    virtual void CalcButtonSize(Integer& W, Integer& H);
    virtual void ClearButtons();
    virtual void ResetButtons();
    virtual void CreateCalculatorButtons();
    virtual void ArrangeButtons();
    virtual void InvalidateButton(Integer Index);
    virtual void DoButtonClick(Integer Index);

    void Loaded() override;

protected:
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void Dispatch(TMessage& M) override;

private:
    friend class TCalcButtonItems;
    void SetHotButton(Integer Index);
    void SetDownButton(Integer Index);
    void AppearanceChanged();
    // The image a button shows (its own picture first, else the image
    // list's); its size in W, H (0 for none).
    void ButtonImageSize(TCalcButtonItem* B, Integer& W, Integer& H) const;

    std::unique_ptr<TCalcButtonItems> FButtons;
    TItemLayout FButtonLayout = ilCaptionRight;
    TSelectionColorStyle FItemColorStyle = scCustom;
    Integer FButtonHot = -1;
    Integer FOffSetX = 8, FOffSetY = 8;
    Integer FButtonOffSetX = 4, FButtonOffSetY = 4;
    TCustomImageList* FImages = nullptr;
    Integer FCaptionGap = 0;
    TCustomEdit* FEdit = nullptr;
    TButtonPanelType FButtonPanelType = plCalculator;
    std::unique_ptr<VodButtonPanel::TButtonAppearance> FButtonAppearance;
    Integer FButtonDown = -1;
    TVodCustomDropDown* FVodDropDown = nullptr;
};

class TButtonPanel : public TCustomButtonPanel {
    VEL_CLASS(TButtonPanel, TCustomButtonPanel)
public:
    explicit TButtonPanel(TComponent* AOwner) : TCustomButtonPanel(AOwner) {}
};

// The glossy face of one button on GDI+ (anti-aliased): the lower gradient,
// the shine over the upper half, the white and inner lines, the border and,
// with a glow colour (not clNone), the glow and its eight-piece halo.
void DrawGlossyButton(HDC DC, const TRect& R, TColor Border, TColor Color, TColor ColorTo, TColor Shine,
                      TColor Glow);
