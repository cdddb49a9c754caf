// ItemSelector: a scrolling grid of selectable items (a colour box or a
// picture, with an optional markup caption) that the detail, colour and
// image drop-downs show in their windows. TVodCustomItemSelector is the
// scrolling container that owns the items, their look and one inner panel;
// the panel, TCustomItemSelector, lays the items out, paints them and keeps
// the hot (hovered) and the selected item. The pickers drive it by mouse
// through the panel and by keyboard through the container's navigation.
#pragma once

#include <functional>
#include <memory>

#include "controls/dropdown/VodDropDown.h"
#include "platform/gfx/Graphics.h"
#include "platform/ui/Forms.h"

class TCustomImageList;
class TVodCustomItemSelector;

enum TSelectorType : Byte { stImage, stColor };
enum TItemLayout : Byte { ilCaptionLeft, ilCaptionRight, ilCaptionTop, ilCaptionBottom };

// (Sender, Canvas, var R, Index): replaces the drawing of an item's content.
using TSelectorDrawItemEvent = std::function<void(TObject* Sender, TCanvas* Canvas, TRect& R, Integer Index)>;
// (Sender, var ASize): the size of every item.
using TSelectorItemSizeEvent = std::function<void(TObject* Sender, TSize& ASize)>;

// The look of the items: hot and selected backgrounds per colour style.
class TItemAppearance : public TPersistent {
    VEL_CLASS(TItemAppearance, TPersistent)
public:
    TItemAppearance();
    ~TItemAppearance() override;

    void Assign(TPersistent* Source) override;

#define VEL_ITEM_COLOR(Name)                         \
    TColor Name() const { return F##Name; }          \
    void Set##Name(TColor v)                         \
    {                                                \
        if (F##Name == v) return;                    \
        F##Name = v;                                 \
        Changed();                                   \
    }
    VEL_ITEM_COLOR(ColorHot)
    VEL_ITEM_COLOR(ColorHotTo)
    VEL_ITEM_COLOR(ColorMirrorHot)
    VEL_ITEM_COLOR(ColorMirrorHotTo)
    VEL_ITEM_COLOR(BorderColorTop)
    VEL_ITEM_COLOR(BorderColorBottom)
    VEL_ITEM_COLOR(BorderColor)
    VEL_ITEM_COLOR(EdgeColor)
    VEL_ITEM_COLOR(ColorSelected)
    VEL_ITEM_COLOR(ColorSelectedTo)
    VEL_ITEM_COLOR(ColorMirrorSelected)
    VEL_ITEM_COLOR(ColorMirrorSelectedTo)
    VEL_ITEM_COLOR(ColorHotText)
    VEL_ITEM_COLOR(ColorSelectedText)
    VEL_ITEM_COLOR(BorderColorHot)
    VEL_ITEM_COLOR(BorderColorSelected)
#undef VEL_ITEM_COLOR

    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* v) { FFont->Assign(v); }
    TSelectionColorStyle ColorStyle() const { return FColorStyle; }
    // A named style writes its twelve preset colours; scCustom keeps them.
    void SetColorStyle(TSelectionColorStyle v);

    TNotifyEvent OnChange;

private:
    void Changed();
    TColor FColorHot = TColor(0xD7FFFD), FColorHotTo = TColor(0x58D4FC), FColorMirrorHot = TColor(0x58D4FC),
           FColorMirrorHotTo = TColor(0xB3F1FC), FBorderColorTop = TColor(0xF4FEFF),
           FBorderColorBottom = TColor(0xCAF8FF), FBorderColor = TColor(0x8DD7D3), FEdgeColor = TColor(0xC3D9DF),
           FColorSelected = TColor(0xA6FFFB), FColorSelectedTo = TColor(0x04B9F4),
           FColorMirrorSelected = TColor(0x15C1FB), FColorMirrorSelectedTo = TColor(0x68E3F9);
    TColor FColorHotText = clBlack, FColorSelectedText = clBlack, FBorderColorHot = clNone,
           FBorderColorSelected = clNone;
    std::unique_ptr<TFont> FFont;
    TSelectionColorStyle FColorStyle = scOffice2007;
};

class TSelectorItem : public TCollectionItem {
    VEL_CLASS(TSelectorItem, TCollectionItem)
public:
    explicit TSelectorItem(TCollection* Collection);
    ~TSelectorItem() override;
    void Assign(TPersistent* Source) override;

    const String& Caption() const { return FCaption; }
    void SetCaption(const String& v);
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer v);
    // The own picture; takes precedence over ImageIndex.
    TPicture* Image() const { return FImage.get(); }
    void SetImage(TPicture* v) { FImage->Assign(v); }
    const String& Hint() const { return FHint; }
    void SetHint(const String& v) { FHint = v; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v) { FEnabled = v; }
    // The item's place on the panel (set by the layout; left and right
    // negative until then).
    TRect Rect() const { return FRect; }
    void SetRect(const TRect& r) { FRect = r; }

private:
    String FCaption;
    TColor FColor = clNone;
    Integer FImageIndex = -1;
    std::unique_ptr<TPicture> FImage;
    String FHint;
    bool FEnabled = true;
    TRect FRect{-1, -1, -1, -1};
};

class TSelectorItems : public TOwnedCollection {
    VEL_CLASS(TSelectorItems, TOwnedCollection)
public:
    explicit TSelectorItems(TPersistent* AOwner);
    TSelectorItem* Add() { return static_cast<TSelectorItem*>(TCollection::Add()); }
    TSelectorItem* Insert(Integer Index) { return static_cast<TSelectorItem*>(TCollection::Insert(Index)); }
    TSelectorItem* Items(Integer Index) const { return static_cast<TSelectorItem*>(TCollection::Items(Index)); }
    TNotifyEvent OnChange;

protected:
    void Update(TCollectionItem* Item) override;
};

// The inner panel: lays the items out, paints them, keeps hot and selected.
class TCustomItemSelector : public TCustomControl {
    VEL_CLASS(TCustomItemSelector, TCustomControl)
public:
    // AOwner must be a TVodCustomItemSelector ("Invalid parent" otherwise).
    explicit TCustomItemSelector(TComponent* AOwner);

    Integer ItemIndex() const { return FItemIndex; }
    void SetItemIndex(Integer V);
    Integer ItemHot() const { return FItemHot; }
    void SetItemHot(Integer V);
    TRect GetItemRect(Integer Index) const;
    // The first item whose rectangle holds the point; -1 when none.
    Integer ItemAtPos(Integer X, Integer Y) const;

    void SelectFirst();
    void SelectLast();
    void SelectNext();
    void SelectPrevious();
    void HotNext();
    void HotPrevious();
    bool LookupItem(const String& S);

    // The owner's settings.
    Integer Columns() const;
    TSelectorItems* Items() const;
    TSelectorType SelectorType() const;
    TItemLayout ItemLayout() const;
    TCustomImageList* Images() const;
    Integer ColorBoxWidth() const;
    Integer ColorBoxHeight() const;
    TSelectionColorStyle ItemColorStyle() const;
    TColor ItemColorHot() const;
    TColor ItemColorHotTo() const;
    TColor ItemColorSelected() const;
    TColor ItemColorSelectedTo() const;

    Integer OffSetX = 2, OffSetY = 2;
    Integer ItemOffSetX = 4, ItemOffSetY = 4;
    Integer CaptionGap = 4;

    TNotifyEvent OnItemSelect;

    // Virtual operations, in slot order.
    virtual void DrawItem(Integer Index, TCanvas* Canvas);
    virtual void GetItemArea(TRect& Rect);
    virtual void GetItemSize(TSize& Size);
    virtual void InvalidateItem(Integer Index);
    virtual void ArrangeItems();

    void DrawAllItems(TCanvas* Canvas);

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
    void CMMouseLeave(TMessage& M) override;

private:
    // A caption's rendered size (ItemAppearance's font).
    TSize MeasureCaption(TCanvas* Canvas, const String& Caption);
    TVodCustomItemSelector* FOwner;
    Integer FItemIndex = -1;
    Integer FItemHot = -1;
};

// The scrolling container.
class TVodCustomItemSelector : public TScrollingWinControl {
    VEL_CLASS(TVodCustomItemSelector, TScrollingWinControl)
public:
    explicit TVodCustomItemSelector(TComponent* AOwner);
    ~TVodCustomItemSelector() override;

    TSelectorItems* Items() const { return FItems.get(); }
    void SetItems(TSelectorItems* v) { FItems->Assign(v); }
    TSelectorType SelectorType() const { return FSelectorType; }
    void SetSelectorType(TSelectorType v);
    TItemLayout ItemLayout() const { return FItemLayout; }
    // Only stores: the next layout uses it.
    void SetItemLayout(TItemLayout v) { FItemLayout = v; }
    Integer Columns() const { return FColumns; }
    void SetColumns(Integer v);
    Integer ColorBoxWidth() const { return FColorBoxWidth; }
    void SetColorBoxWidth(Integer v);
    Integer ColorBoxHeight() const { return FColorBoxHeight; }
    void SetColorBoxHeight(Integer v);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* v);
    TItemAppearance* ItemAppearance() const { return FItemAppearance.get(); }
    void SetItemAppearance(TItemAppearance* v) { FItemAppearance->Assign(v); }
    Integer ItemIndex() const { return FSelectorPanel ? FSelectorPanel->ItemIndex() : -1; }
    void SetItemIndex(Integer v)
    {
        if (FSelectorPanel) FSelectorPanel->SetItemIndex(v);
    }
    Integer ItemHot() const { return FSelectorPanel ? FSelectorPanel->ItemHot() : -1; }
    TCustomItemSelector* SelectorPanel() const { return FSelectorPanel; }

    void UpdateSelectorPanel();
    void SelectFirst();
    void SelectLast();
    void SelectNext();
    void SelectPrevious();
    void HotNext();
    void HotPrevious();
    bool LookupItem(const String& S);
    void ScrollItemInView(Integer Index);
    Integer GetVisibleItemCount();
    virtual TSize GetPanelSize();

    TNotifyEvent OnItemSelect;
    TSelectorDrawItemEvent OnDrawItem;
    TSelectorItemSizeEvent OnItemSize;

protected:
    virtual void CreateSelectorPanel();
    virtual void DoItemSelect(TObject* Sender);
    void Dispatch(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    std::unique_ptr<TSelectorItems> FItems;
    std::unique_ptr<TItemAppearance> FItemAppearance;
    TCustomItemSelector* FSelectorPanel = nullptr;
    TSelectorType FSelectorType = stImage;
    TItemLayout FItemLayout = ilCaptionRight;
    Integer FColumns = 1;
    Integer FColorBoxWidth = 14, FColorBoxHeight = 14;
    TCustomImageList* FImages = nullptr;
};

// A drop-down size that is set (DropDownWidth, DropDownHeight above 0) wins
// over the selector's own: the selector takes the window's inner size in
// that direction, so placing it does not grow the window again.
void FitSelectorToDropDown(TVodCustomItemSelector* Selector, TVodCustomDropDown* DropDown);
// Once shown (aligned to the window, its bars settled), a selector narrower
// than its items makes the window as much wider: the list needs no
// horizontal bar.
void WidenDropDownForSelector(TVodCustomItemSelector* Selector, TVodCustomDropDown* DropDown);
