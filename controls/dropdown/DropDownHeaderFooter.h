// DropDownHeaderFooter: the strips above and below the hosted control of a
// drop-down window. The appearance classes (what a header, a footer and
// their buttons look like) are persistent settings that the drop-down edits
// and the grid's control look own; the strip controls TVodHeader and
// TVodFooter and their button TVodButton paint them inside the window.
//
// This header stands on the platform only, so the grid can include it
// without the drop-down edit.
#pragma once

#include <functional>
#include <memory>

#include "platform/base/Lists.h"
#include "platform/base/Objects.h"
#include "platform/gfx/Canvas.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"

class TCustomImageList;
class TTimer;
class TVodCustomDropDown;

// Several units of the library have a gradient direction of their own with
// other ordinals; the drop-down's lives in its unit's namespace.
namespace VodDropDown {
enum TGradientDirection : Byte { gdHorizontal, gdVertical };
}

// Where a strip's buttons line up.
enum TButtonAlignment : Byte { baLeft, baRight };

// (Sender, ACanvas, ARect): replaces a strip's own background painting.
using TDrawBackGroundEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, TRect ARect)>;
// (Sender, var Text): the caption a strip shows.
using TGetTextEvent = std::function<void(TObject* Sender, String& Text)>;
// (Sender, ButtonIndex): a header or footer button was clicked.
using TDropDownButtonItemClick = std::function<void(TObject* Sender, Integer ButtonIndex)>;

// ---------------------------------------------------------------------------
// Button collections

class THeaderButton : public TCollectionItem {
    VEL_CLASS(THeaderButton, TCollectionItem)
public:
    explicit THeaderButton(TCollection* Collection);
    void Assign(TPersistent* Source) override;

    const String& Caption() const { return FCaption; }
    void SetCaption(const String& v);
    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer v) { FImageIndex = v; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    // 0: the automatic size from caption and image.
    Integer Height() const { return FHeight; }
    void SetHeight(Integer v) { FHeight = v; }
    Integer Width() const { return FWidth; }
    void SetWidth(Integer v);

    static void Publish(TPublisher<THeaderButton>& p);

protected:
    String FCaption;
    Integer FImageIndex = -1;
    bool FEnabled = true;
    Integer FHeight = 0;
    Integer FWidth = 0;
};

class TFooterButton : public THeaderButton {
    VEL_CLASS(TFooterButton, THeaderButton)
public:
    explicit TFooterButton(TCollection* Collection);
    void Assign(TPersistent* Source) override;
    // What the window's form gets as its ModalResult when the button is
    // clicked; some results also close the drop-down (TVodButton::Click).
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult v) { FModalResult = v; }

    static void Publish(TPublisher<TFooterButton>& p);

private:
    TModalResult FModalResult = mrNone;
};

class THeaderButtons : public TOwnedCollection {
    VEL_CLASS(THeaderButtons, TOwnedCollection)
public:
    explicit THeaderButtons(TPersistent* AOwner);
    // The change is told once the new item is complete.
    THeaderButton* Add()
    {
        BeginUpdate();
        auto* item = static_cast<THeaderButton*>(TCollection::Add());
        EndUpdate();
        return item;
    }
    THeaderButton* Insert(Integer Index)
    {
        BeginUpdate();
        auto* item = static_cast<THeaderButton*>(TCollection::Insert(Index));
        EndUpdate();
        return item;
    }
    THeaderButton* Items(Integer Index) const { return static_cast<THeaderButton*>(TCollection::Items(Index)); }
    void SetItems(Integer Index, THeaderButton* Value) { TCollection::SetItems(Index, Value); }
    TNotifyEvent OnChange;

protected:
    void Update(TCollectionItem* Item) override;
};

// A plain collection that answers the owner it was given.
class TFooterButtons : public TCollection {
    VEL_CLASS(TFooterButtons, TCollection)
public:
    explicit TFooterButtons(TPersistent* AOwner);
    // The change is told once the new item is complete.
    TFooterButton* Add()
    {
        BeginUpdate();
        auto* item = static_cast<TFooterButton*>(TCollection::Add());
        EndUpdate();
        return item;
    }
    TFooterButton* Insert(Integer Index)
    {
        BeginUpdate();
        auto* item = static_cast<TFooterButton*>(TCollection::Insert(Index));
        EndUpdate();
        return item;
    }
    TFooterButton* Items(Integer Index) const { return static_cast<TFooterButton*>(TCollection::Items(Index)); }
    void SetItems(Integer Index, TFooterButton* Value) { TCollection::SetItems(Index, Value); }
    TPersistent* GetOwner() const override { return FOwner; }
    TNotifyEvent OnChange;

protected:
    void Update(TCollectionItem* Item) override;

private:
    TPersistent* FOwner;
};

// ---------------------------------------------------------------------------
// Appearances

// The look of a drop-down window's header. Only Visible tells OnChange;
// the other properties are plain fields that the next build of the strip
// reads. Changes of the buttons collection reach OnButtonsChanged.
class THeaderAppearance : public TPersistent {
    VEL_CLASS(THeaderAppearance, TPersistent)
public:
    explicit THeaderAppearance(TComponent* AOwner);
    ~THeaderAppearance() override;
    // Every published property (Visible through its writer, the buttons by
    // collection assignment); other sources are ignored.
    void Assign(TPersistent* Source) override;
    // Only ColorTo, Color, BorderColor, Font and GradientDirection.
    void AssignColors(THeaderAppearance* Source);
    TPersistent* GetOwner() const override { return FOwner; }
    TComponent* Owner() const { return FOwner; }

    bool Visible() const { return FVisible; }
    void SetVisible(bool v);
    TColor Color() const { return FColor; }
    void SetColor(TColor v) { FColor = v; }
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor v) { FColorTo = v; }
    const String& Caption() const { return FCaption; }
    void SetCaption(const String& v) { FCaption = v; }
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* v) { FFont->Assign(v); }
    VodDropDown::TGradientDirection GradientDirection() const { return FGradientDirection; }
    void SetGradientDirection(VodDropDown::TGradientDirection v) { FGradientDirection = v; }
    Integer Height() const { return FHeight; }
    void SetHeight(Integer v) { FHeight = v; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v) { FBorderColor = v; }
    Integer BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(Integer v) { FBorderWidth = v; }
    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer v) { FImageIndex = v; }
    THeaderButtons* Buttons() const { return FButtons.get(); }
    void SetButtons(THeaderButtons* v) { FButtons->Assign(v); }
    TButtonAlignment ButtonAlignment() const { return FButtonAlignment; }
    void SetButtonAlignment(TButtonAlignment v) { FButtonAlignment = v; }

    TNotifyEvent OnChange;
    TNotifyEvent OnButtonsChanged;

    static void Publish(TPublisher<THeaderAppearance>& p);

private:
    TComponent* FOwner;
    bool FVisible = true;
    Integer FHeight = 22;
    Integer FBorderWidth = 1;
    Integer FImageIndex = -1;
    String FCaption;
    TColor FColorTo = TColor(0xFFFFFF);
    TColor FColor = TColor(0xC0C0C0);
    TColor FBorderColor = clBlack;
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<THeaderButtons> FButtons;
    VodDropDown::TGradientDirection FGradientDirection = VodDropDown::gdVertical;
    TButtonAlignment FButtonAlignment = baRight;
};

// The look of a drop-down window's footer: the header's properties plus the
// size grip.
class TFooterAppearance : public TPersistent {
    VEL_CLASS(TFooterAppearance, TPersistent)
public:
    explicit TFooterAppearance(TComponent* AOwner);
    ~TFooterAppearance() override;
    void Assign(TPersistent* Source) override;
    void AssignColors(TFooterAppearance* Source);
    TPersistent* GetOwner() const override { return FOwner; }
    TComponent* Owner() const { return FOwner; }

    bool Visible() const { return FVisible; }
    void SetVisible(bool v);
    TColor Color() const { return FColor; }
    void SetColor(TColor v) { FColor = v; }
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor v) { FColorTo = v; }
    const String& Caption() const { return FCaption; }
    void SetCaption(const String& v) { FCaption = v; }
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* v) { FFont->Assign(v); }
    VodDropDown::TGradientDirection GradientDirection() const { return FGradientDirection; }
    void SetGradientDirection(VodDropDown::TGradientDirection v) { FGradientDirection = v; }
    Integer Height() const { return FHeight; }
    void SetHeight(Integer v) { FHeight = v; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v) { FBorderColor = v; }
    Integer BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(Integer v) { FBorderWidth = v; }
    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer v) { FImageIndex = v; }
    TFooterButtons* Buttons() const { return FButtons.get(); }
    void SetButtons(TFooterButtons* v) { FButtons->Assign(v); }
    TButtonAlignment ButtonAlignment() const { return FButtonAlignment; }
    void SetButtonAlignment(TButtonAlignment v) { FButtonAlignment = v; }
    bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool v) { FSizeGrip = v; }

    TNotifyEvent OnChange;
    TNotifyEvent OnButtonsChanged;

    static void Publish(TPublisher<TFooterAppearance>& p);

private:
    TComponent* FOwner;
    bool FVisible = true;
    Integer FHeight = 22;
    Integer FBorderWidth = 1;
    bool FSizeGrip = true;
    String FCaption;
    TColor FColorTo = TColor(0xFFFFFF);
    TColor FColor = TColor(0xC0C0C0);
    TColor FBorderColor = clBlack;
    std::unique_ptr<TFont> FFont;
    Integer FImageIndex = -1;
    std::unique_ptr<TFooterButtons> FButtons;
    VodDropDown::TGradientDirection FGradientDirection = VodDropDown::gdVertical;
    TButtonAlignment FButtonAlignment = baRight;
};

// The colours of every header and footer button of one drop-down. Each
// colour writer and Gradient tell OnChange when the value changes.
class TVodButtonAppearance : public TPersistent {
    VEL_CLASS(TVodButtonAppearance, TPersistent)
public:
    TVodButtonAppearance();
    ~TVodButtonAppearance() override;
    // All colours and Gradient, not the font.
    void Assign(TPersistent* Source) override;

    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v) { Set(FBorderColor, v); }
    TColor BorderColorHot() const { return FBorderColorHot; }
    void SetBorderColorHot(TColor v) { Set(FBorderColorHot, v); }
    TColor BorderColorDown() const { return FBorderColorDown; }
    void SetBorderColorDown(TColor v) { Set(FBorderColorDown, v); }
    TColor BorderColorDisabled() const { return FBorderColorDisabled; }
    void SetBorderColorDisabled(TColor v) { Set(FBorderColorDisabled, v); }
    TColor BorderColorChecked() const { return FBorderColorChecked; }
    void SetBorderColorChecked(TColor v) { Set(FBorderColorChecked, v); }
    TColor Color() const { return FColor; }
    void SetColor(TColor v) { Set(FColor, v); }
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor v) { Set(FColorTo, v); }
    TColor ColorDown() const { return FColorDown; }
    void SetColorDown(TColor v) { Set(FColorDown, v); }
    TColor ColorDownTo() const { return FColorDownTo; }
    void SetColorDownTo(TColor v) { Set(FColorDownTo, v); }
    TColor ColorHot() const { return FColorHot; }
    void SetColorHot(TColor v) { Set(FColorHot, v); }
    TColor ColorHotTo() const { return FColorHotTo; }
    void SetColorHotTo(TColor v) { Set(FColorHotTo, v); }
    TColor ColorChecked() const { return FColorChecked; }
    void SetColorChecked(TColor v) { Set(FColorChecked, v); }
    TColor ColorCheckedTo() const { return FColorCheckedTo; }
    void SetColorCheckedTo(TColor v) { Set(FColorCheckedTo, v); }
    TColor ColorDisabled() const { return FColorDisabled; }
    void SetColorDisabled(TColor v) { Set(FColorDisabled, v); }
    TColor ColorDisabledTo() const { return FColorDisabledTo; }
    void SetColorDisabledTo(TColor v) { Set(FColorDisabledTo, v); }
    VodDropDown::TGradientDirection Gradient() const { return FGradient; }
    void SetGradient(VodDropDown::TGradientDirection v);
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* v) { FFont->Assign(v); }

    TNotifyEvent OnChange;

    static void Publish(TPublisher<TVodButtonAppearance>& p);

private:
    void Set(TColor& field, TColor v);
    void Changed();
    TColor FBorderColor = clNone;
    TColor FBorderColorHot = TColor(0x808080);
    TColor FBorderColorDown = TColor(0x800000);
    TColor FBorderColorDisabled = TColor(0x808080);
    TColor FBorderColorChecked = TColor(0xFF0000);
    TColor FColor = clNone;
    TColor FColorTo = clNone;
    TColor FColorDown = TColor(0xF5D8CA);
    TColor FColorDownTo = TColor(0xF9BDA0);
    TColor FColorHot = TColor(0xF5F0E1);
    TColor FColorHotTo = TColor(0xF9D2B2);
    TColor FColorCheckedTo;
    TColor FColorDisabled = TColor(0xF2F2F2);
    TColor FColorDisabledTo = clNone;
    TColor FColorChecked;
    VodDropDown::TGradientDirection FGradient = VodDropDown::gdVertical;
    std::unique_ptr<TFont> FFont;
};

// ---------------------------------------------------------------------------
// Strip controls

// The list of a strip's buttons; an index at or beyond Count raises.
class TDbgList : public TList {
    VEL_CLASS(TDbgList, TList)
public:
    // Clears, then adds every item of List in order.
    void AssignList(TList* List);
    void* GetItemsEx(Integer Index) const;
    void SetItemsEx(Integer Index, void* Value);
};

enum TVodButtonStyle : Byte { tasButton, tasCheck };
enum TVodButtonState : Byte { absUp, absDisabled, absDown, absDropDown, absExclusive };

// A header or footer button, coloured by the drop-down's button appearance.
class TVodButton : public TCustomControl {
    VEL_CLASS(TVodButton, TCustomControl)
public:
    explicit TVodButton(TComponent* AOwner);
    ~TVodButton() override;

    Integer GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(Integer v) { FGroupIndex = v; }
    bool Down() const { return FDown; }
    void SetDown(bool v);
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool v) { FAllowAllUp = v; }
    TVodButtonStyle Style() const { return FStyle; }
    void SetStyle(TVodButtonStyle v) { FStyle = v; }
    TVodButtonState State() const { return FState; }
    bool Grouped() const { return FGrouped; }
    void SetGrouped(bool v) { FGrouped = v; }
    bool Hot() const { return FHot; }
    bool MouseInControl() const { return FMouseInControl; }
    TVodButtonAppearance* Appearance() const { return FAppearance; }
    void SetAppearance(TVodButtonAppearance* v);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* v);
    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer v);
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult v) { FModalResult = v; }
    TVodCustomDropDown* VodDropDown() const { return FVodDropDown; }
    void SetVodDropDown(TVodCustomDropDown* v) { FVodDropDown = v; }
    TTimer* UnHotTimer() const { return FUnHotTimer; }

    void Click() override;
    virtual void DrawButton(TCanvas* ACanvas);
    // Back to the state of a new button (the strip uses its buttons again
    // at the next opening).
    void ResetState();

protected:
    void Paint() override;
    void Loaded() override;
    void Dispatch(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void KeyDown(Word& Key, TShiftState Shift) override;

private:
    // The face's colours in the button's state (clNone: none).
    void FaceColors(TColor& Color, TColor& ColorTo, TColor& Border);
    void UnHotTimerTick(TObject* Sender);
    void SyncHover();
    void ButtonPressed(Integer Group, TVodButton* Button);

    Integer FGroupIndex = 0;
    bool FDown = false;
    bool FAllowAllUp = false;
    Integer FOffSet = 4;
    bool FHot = false;
    TVodButtonStyle FStyle = tasButton;
    TVodButtonState FState = absUp;
    bool FMouseDownInControl = false;
    bool FGrouped = true;
    bool FDragging = false;
    bool FPropHot = false;
    TTimer* FUnHotTimer = nullptr;
    bool FInitialDown = false;
    bool FInternalClick = false;
    TVodButtonAppearance* FAppearance = nullptr;
    TCustomImageList* FImages = nullptr;
    Integer FImageIndex = -1;
    TModalResult FModalResult = mrNone;
    TVodCustomDropDown* FVodDropDown = nullptr;
};

// What the header and the footer share: the appearance copy, the buttons,
// the painting of background, border, image and caption.
class TVodStrip : public TCustomControl {
    VEL_CLASS(TVodStrip, TCustomControl)
public:
    explicit TVodStrip(TComponent* AOwner);
    ~TVodStrip() override;

    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* v) { FImages = v; }
    TVodCustomDropDown* VodDropDown() const { return FVodDropDown; }
    TDbgList* ButtonList() const { return FButtonList.get(); }
    Integer ButtonCount() const { return FButtonList->Count(); }
    TVodButton* ButtonAt(Integer Index) const { return static_cast<TVodButton*>(FButtonList->GetItemsEx(Index)); }

    TDrawBackGroundEvent OnDrawBackGround;
    TGetTextEvent OnGetText;

    virtual void BuildButtons();
    virtual void ClearButtons();
    virtual void ArrangeButtons();
    virtual void RefreshButtons();

    // The area the buttons take; no button is higher.
    virtual TRect ButtonArea();

protected:
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    // The strip kind's view of its appearance.
    virtual bool IsFooter() const = 0;
    virtual TCollection* ButtonItems() const = 0;
    virtual TColor AColor() const = 0;
    virtual TColor AColorTo() const = 0;
    virtual TColor ABorderColor() const = 0;
    virtual Integer ABorderWidth() const = 0;
    virtual Integer AImageIndex() const = 0;
    virtual String ACaption() const = 0;
    virtual TFont* AFont() const = 0;
    virtual VodDropDown::TGradientDirection AGradient() const = 0;
    virtual TButtonAlignment AAlignment() const = 0;
    virtual void ButtonClicked(Integer Index) = 0;
    bool GripShown() const;
    void AppearanceChanged(bool Visible, Integer Height);

    TCustomImageList* FImages = nullptr;
    TVodCustomDropDown* FVodDropDown = nullptr;
    std::unique_ptr<TDbgList> FButtonList;
};

class TVodHeader : public TVodStrip {
    VEL_CLASS(TVodHeader, TVodStrip)
public:
    explicit TVodHeader(TComponent* AOwner);
    ~TVodHeader() override;
    THeaderAppearance* Appearance() const { return FAppearance.get(); }
    void SetAppearance(THeaderAppearance* v) { FAppearance->Assign(v); }
    // The drop-down's header buttons; null without a drop-down.
    THeaderButtons* Buttons() const;
    void SetVodDropDown(TVodCustomDropDown* v);

protected:
    bool IsFooter() const override { return false; }
    TCollection* ButtonItems() const override;
    TColor AColor() const override { return FAppearance->Color(); }
    TColor AColorTo() const override { return FAppearance->ColorTo(); }
    TColor ABorderColor() const override { return FAppearance->BorderColor(); }
    Integer ABorderWidth() const override { return FAppearance->BorderWidth(); }
    Integer AImageIndex() const override { return FAppearance->ImageIndex(); }
    String ACaption() const override { return FAppearance->Caption(); }
    TFont* AFont() const override { return FAppearance->Font(); }
    VodDropDown::TGradientDirection AGradient() const override { return FAppearance->GradientDirection(); }
    TButtonAlignment AAlignment() const override { return FAppearance->ButtonAlignment(); }
    void ButtonClicked(Integer Index) override;

private:
    std::unique_ptr<THeaderAppearance> FAppearance;
};

class TVodFooter : public TVodStrip {
    VEL_CLASS(TVodFooter, TVodStrip)
public:
    explicit TVodFooter(TComponent* AOwner);
    ~TVodFooter() override;
    TFooterAppearance* Appearance() const { return FAppearance.get(); }
    void SetAppearance(TFooterAppearance* v) { FAppearance->Assign(v); }
    TFooterButtons* Buttons() const;
    void SetVodDropDown(TVodCustomDropDown* v);
    TRect ButtonArea() override;
    bool SizeGripShown() const { return GripShown(); }

protected:
    bool IsFooter() const override { return true; }
    TCollection* ButtonItems() const override;
    TColor AColor() const override { return FAppearance->Color(); }
    TColor AColorTo() const override { return FAppearance->ColorTo(); }
    TColor ABorderColor() const override { return FAppearance->BorderColor(); }
    Integer ABorderWidth() const override { return FAppearance->BorderWidth(); }
    Integer AImageIndex() const override { return FAppearance->ImageIndex(); }
    String ACaption() const override { return FAppearance->Caption(); }
    TFont* AFont() const override { return FAppearance->Font(); }
    VodDropDown::TGradientDirection AGradient() const override { return FAppearance->GradientDirection(); }
    TButtonAlignment AAlignment() const override { return FAppearance->ButtonAlignment(); }
    void ButtonClicked(Integer Index) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void Dispatch(TMessage& Message) override;

private:
    bool InGrip(Integer X, Integer Y);
    std::unique_ptr<TFooterAppearance> FAppearance;
    TCursor FOldCursor = crDefault;
};
