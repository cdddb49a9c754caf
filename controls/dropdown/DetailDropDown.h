// DetailDropDown: a drop-down edit that picks one item from a list of
// detail items, each with a caption, an image and notes in markup. The
// window shows them one per row in the item selector: the image at the
// left, the caption on the first line and the notes below it. Typing in the
// edit completes the text from the captions.
#pragma once

#include <functional>
#include <memory>

#include "controls/dropdown/ItemSelector.h"
#include "controls/dropdown/VodDropDown.h"

class TTimer;

// (Sender, Canvas, Rect): replaces the drawing of a row.
using TOnDrawSelectedItem = std::function<void(TObject* Sender, TCanvas* Canvas, TRect R)>;

class TDetailItem : public TCollectionItem {
    VEL_CLASS(TDetailItem, TCollectionItem)
public:
    explicit TDetailItem(TCollection* Collection);
    ~TDetailItem() override;
    void Assign(TPersistent* Source) override;

    const String& Caption() const { return FCaption; }
    void SetCaption(const String& v);
    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer v);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v) { FEnabled = v; }
    // Used instead of the image list when it holds a graphic.
    TPicture* Image() const { return FImage.get(); }
    void SetImage(TPicture* v) { FImage->Assign(v); }
    const String& Notes() const { return FNotes; }
    void SetNotes(const String& v) { FNotes = v; }
    TObject* ItemObject() const { return FItemObject; }
    void SetItemObject(TObject* v) { FItemObject = v; }
    Integer Tag() const { return FTag; }
    void SetTag(Integer v) { FTag = v; }

private:
    String FCaption;
    Integer FImageIndex = -1;
    bool FEnabled = true;
    std::unique_ptr<TPicture> FImage;
    TRect FRect;
    String FNotes;
    TObject* FItemObject = nullptr;
    Integer FTag = 0;
};

class TDetailItems : public TOwnedCollection {
    VEL_CLASS(TDetailItems, TOwnedCollection)
public:
    explicit TDetailItems(TPersistent* AOwner);
    TDetailItem* Add() { return static_cast<TDetailItem*>(TCollection::Add()); }
    TDetailItem* Insert(Integer Index) { return static_cast<TDetailItem*>(TCollection::Insert(Index)); }
    TDetailItem* Items(Integer Index) const { return static_cast<TDetailItem*>(TCollection::Items(Index)); }
    // The first item whose caption is exactly AValue (case counts); -1.
    Integer IndexOf(const String& AValue) const;
    TNotifyEvent OnChange;

protected:
    void Update(TCollectionItem* Item) override;
};

class TVodDetailDropDown : public TVodCustomDropDown {
    VEL_CLASS(TVodDetailDropDown, TVodCustomDropDown)
public:
    explicit TVodDetailDropDown(TComponent* AOwner);
    ~TVodDetailDropDown() override;

    TVodCustomItemSelector* ItemSelector() const { return FItemSelector; }
    TDetailItems* Items() const { return FItems.get(); }
    void SetItems(TDetailItems* v) { FItems->Assign(v); }
    Integer ItemIndex() const { return FItemIndex; }
    void SetItemIndex(Integer v);
    Integer ItemHeight() const { return FItemHeight; }
    void SetItemHeight(Integer v) { FItemHeight = v; }
    TItemLayout Layout() const { return FLayout; }
    void SetLayout(TItemLayout v) { FLayout = v; }
    TItemAppearance* ItemAppearance() const { return FItemAppearance.get(); }
    void SetItemAppearance(TItemAppearance* v) { FItemAppearance->Assign(v); }
    TFont* CaptionFont() const { return FCaptionFont.get(); }
    void SetCaptionFont(TFont* v) { FCaptionFont->Assign(v); }
    TFont* NotesFont() const { return FNotesFont.get(); }
    void SetNotesFont(TFont* v) { FNotesFont->Assign(v); }
    TVerticalAlignment ImageVAlign() const { return FImageVAlign; }
    void SetImageVAlign(TVerticalAlignment v) { FImageVAlign = v; }
    bool MatchCase() const { return FMatchCase; }
    void SetMatchCase(bool v) { FMatchCase = v; }
    bool MatchStart() const { return FMatchStart; }
    void SetMatchStart(bool v) { FMatchStart = v; }
    // The incremental search text of the window-level keys.
    const String& SearchText() const { return FCurSearch; }

    void SelectFirst();
    void SelectLast();
    void SelectNext();
    void SelectPrevious();

    TNotifyEvent OnSelect;
    TOnDrawSelectedItem OnDrawSelectedImage;

    void SetComponentStyle(TQelStyle AStyle) override;
    void SetSelectionColorStyle(TSelectionColorStyle AStyle) override;
    void CreateDropDownForm() override;
    void DoBeforeDropDown() override;
    void DoShowDropDown() override;
    void SizeDropDownForm() override;
    void DoHideDropDown(bool Cancelled) override;
    void FormSizing() override;
    void HandleMouseWheelDown() override;
    void HandleMouseWheelUp() override;

protected:
    void Change() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void WMKeyDown(TMessage& M) override;

private:
    void UpdateItemSelector();
    void CopyItemsToSelector();
    void SelectorItemSelect(TObject* Sender);
    void SelectorDrawItem(TObject* Sender, TCanvas* Canvas, TRect& R, Integer Index);
    void SelectorItemSize(TObject* Sender, TSize& ASize);
    void SelectorResized();
    void KeyTimerExpired();
    // Moves the open (or closed) selector without closing the window.
    void MoveSelector(Integer Index);

    TVodCustomItemSelector* FItemSelector = nullptr;
    TItemLayout FLayout = ilCaptionRight;
    std::unique_ptr<TDetailItems> FItems;
    Integer FItemIndex = -1;
    std::unique_ptr<TItemAppearance> FItemAppearance;
    bool FInternalCall = false;
    TTimer* FKeyTimer = nullptr;
    String FCurSearch;
    Integer FOldItemIndex = -1;
    Integer FItemHeight = 22;
    std::unique_ptr<TFont> FCaptionFont, FNotesFont;
    bool FWorkMode = true;
    bool FItemChange = false;
    Integer FItemIdx = -1, FItemSel = 0;
    bool FMatchCase = false;
    bool FMatchStart = false;
    TVerticalAlignment FImageVAlign = taVerticalCenter;
    bool FInChange = false;
};
