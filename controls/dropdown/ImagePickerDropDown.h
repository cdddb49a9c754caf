// ImagePickerDropDown: a drop-down edit that shows the chosen item's
// picture in its edit area and offers the items (an own picture or an
// image of the Images list, with an optional caption) in the item selector
// inside its window.
#pragma once

#include <functional>
#include <memory>

#include "controls/dropdown/ItemSelector.h"
#include "controls/dropdown/VodDropDown.h"

class TTimer;

// (Sender, Canvas, R): replaces the painting of the edit's content.
using TDrawSelectedImageEvent = std::function<void(TObject* Sender, TCanvas* Canvas, TRect R)>;

class TImageItem : public TCollectionItem {
    VEL_CLASS(TImageItem, TCollectionItem)
public:
    explicit TImageItem(TCollection* Collection);
    ~TImageItem() override;
    void Assign(TPersistent* Source) override;
    const String& Caption() const { return FCaption; }
    void SetCaption(const String& v);
    // Sets the caption without telling the collection.
    void SetCaptionQuietly(const String& v) { FCaption = v; }
    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer v);
    TPicture* Image() const { return FImage.get(); }
    void SetImage(TPicture* v) { FImage->Assign(v); }
    const String& Hint() const { return FHint; }
    void SetHint(const String& v) { FHint = v; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v) { FEnabled = v; }

private:
    String FCaption;
    Integer FImageIndex = -1;
    std::unique_ptr<TPicture> FImage;
    String FHint;
    bool FEnabled = true;
};

class TImageItems : public TOwnedCollection {
    VEL_CLASS(TImageItems, TOwnedCollection)
public:
    explicit TImageItems(TPersistent* AOwner) : TOwnedCollection(AOwner, CollectionItemClass<TImageItem>()) {}
    TImageItem* Add() { return static_cast<TImageItem*>(TCollection::Add()); }
    TImageItem* Items(Integer Index) const { return static_cast<TImageItem*>(TCollection::Items(Index)); }
    TNotifyEvent OnChange;

protected:
    void Update(TCollectionItem*) override
    {
        if (OnChange) OnChange(this);
    }
};

class TVodImagePickerDropDown : public TVodCustomDropDown {
    VEL_CLASS(TVodImagePickerDropDown, TVodCustomDropDown)
public:
    explicit TVodImagePickerDropDown(TComponent* AOwner);
    ~TVodImagePickerDropDown() override;

    TImageItems* Items() const { return FItems.get(); }
    void SetItems(TImageItems* v) { FItems->Assign(v); }
    Integer ItemIndex() const { return FItemIndex; }
    void SetItemIndex(Integer v);
    // The selected item's ImageIndex (-1 without one); writing selects the
    // first item with that ImageIndex, or none.
    Integer ImageIndex() const;
    void SetImageIndex(Integer v);
    Integer Columns() const { return FColumns; }
    void SetColumns(Integer v) { FColumns = v; }
    TItemLayout Layout() const { return FLayout; }
    void SetLayout(TItemLayout v) { FLayout = v; }
    TItemAppearance* ItemAppearance() const { return FItemAppearance.get(); }
    void SetItemAppearance(TItemAppearance* v) { FItemAppearance->Assign(v); }
    TVodCustomItemSelector* ItemSelector() const { return FItemSelector; }
    const String& SearchText() const { return FCurSearch; }

    void SelectFirst();
    void SelectLast();
    void SelectNext();
    void SelectPrevious();
    // One item per entry the mask (a path with a file mask) matches, its
    // picture loaded from the file; load errors leave the picture empty.
    void AddImagesFromFolder(const String& AFolder, bool SetImageCaption);
    // One item per image of Images, ImageIndex 0, 1, 2 ...
    void AddImagesFromImageList();

    TNotifyEvent OnSelect;
    TDrawSelectedImageEvent OnDrawSelectedImage;
    TSelectorDrawItemEvent OnDrawItem;

    void CreateDropDownForm() override;
    void DoBeforeDropDown() override;
    void SizeDropDownForm() override;
    void DoShowDropDown() override;
    void DoHideDropDown(bool Cancelled) override;
    void HandleMouseWheelDown() override;
    void HandleMouseWheelUp() override;
    void SetSelectionColorStyle(TSelectionColorStyle AStyle) override;
    void SetComponentStyle(TQelStyle AStyle) override;

protected:
    void Dispatch(TMessage& Message) override;
    void WMKeyDown(TMessage& M) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void UpdateItemSelector();
    void CopyItemsToSelector();
    void SelectorItemSelect(TObject* Sender);
    void AddImageFile(TImageItem* Item, const String& FileName, bool SetImageCaption);
    void DrawSelectedImage();
    void KeyTimerExpired();
    void MoveSelector(Integer Index);

    std::unique_ptr<TImageItems> FItems;
    Integer FItemIndex = -1;
    Integer FColumns = 1;
    TItemLayout FLayout = ilCaptionRight;
    std::unique_ptr<TItemAppearance> FItemAppearance;
    TVodCustomItemSelector* FItemSelector = nullptr;
    bool FInternalCall = false;
    TTimer* FKeyTimer = nullptr;
    String FCurSearch;
    Integer FOldItemIndex = -1;
};
