// ColorPickerDropDown: a drop-down edit whose edit area shows the chosen
// colour as a box and a text, and whose window hosts one of four choosers:
// a list of named colours (the item selector), a palette of 60 boxes, a
// honeycomb of 127 colours or a hue-and-lightness spectrum.
#pragma once

#include <functional>
#include <memory>

#include "controls/dropdown/ColorPanels.h"
#include "controls/dropdown/ItemSelector.h"
#include "controls/dropdown/VodDropDown.h"

class TTimer;

enum TColorSelectionStyle : Byte { csList, csDiscrete, csColorCube, csSpectrum };
enum TColorValueText : Byte { cvtNone, cvtHex, cvtWebName, cvtRGB, cvtHTML };

// (Sender, Canvas, R): replaces the painting of the edit's content.
using TDrawSelectedColorEvent = std::function<void(TObject* Sender, TCanvas* Canvas, TRect R)>;

class TColorItem : public TCollectionItem {
    VEL_CLASS(TColorItem, TCollectionItem)
public:
    explicit TColorItem(TCollection* Collection) : TCollectionItem(Collection) {}
    void Assign(TPersistent* Source) override;
    const String& Caption() const { return FCaption; }
    void SetCaption(const String& v);
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    const String& Hint() const { return FHint; }
    void SetHint(const String& v) { FHint = v; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v) { FEnabled = v; }

private:
    String FCaption;
    TColor FColor = clNone;
    String FHint;
    bool FEnabled = true;
};

class TColorItems : public TOwnedCollection {
    VEL_CLASS(TColorItems, TOwnedCollection)
public:
    explicit TColorItems(TPersistent* AOwner) : TOwnedCollection(AOwner, CollectionItemClass<TColorItem>()) {}
    TColorItem* Add() { return static_cast<TColorItem*>(TCollection::Add()); }
    TColorItem* Items(Integer Index) const { return static_cast<TColorItem*>(TCollection::Items(Index)); }
    TNotifyEvent OnChange;

protected:
    void Update(TCollectionItem*) override
    {
        if (OnChange) OnChange(this);
    }
};

class TVodColorPickerDropDown : public TVodCustomDropDown {
    VEL_CLASS(TVodColorPickerDropDown, TVodCustomDropDown)
public:
    explicit TVodColorPickerDropDown(TComponent* AOwner);
    ~TVodColorPickerDropDown() override;

    TColorItems* Colors() const { return FColors.get(); }
    void SetColors(TColorItems* v) { FColors->Assign(v); }
    Integer ItemIndex() const { return FItemIndex; }
    void SetItemIndex(Integer v);
    TColor SelectedColor() const { return FSelectedColor; }
    void SetSelectedColor(TColor v);
    TColorSelectionStyle ColorSelectionStyle() const { return FColorSelectionStyle; }
    void SetColorSelectionStyle(TColorSelectionStyle v);
    Integer Columns() const { return FColumns; }
    void SetColumns(Integer v) { FColumns = v; }
    TItemLayout Layout() const { return FLayout; }
    void SetLayout(TItemLayout v) { FLayout = v; }
    Integer ColorBoxWidth() const { return FColorBoxWidth; }
    void SetColorBoxWidth(Integer v);
    Integer ColorBoxHeight() const { return FColorBoxHeight; }
    void SetColorBoxHeight(Integer v);
    TColor ColorBoxBorderColor() const { return FColorBoxBorderColor; }
    void SetColorBoxBorderColor(TColor v);
    bool ShowText() const { return FShowText; }
    void SetShowText(bool v);
    TColorValueText ColorValueText() const { return FColorValueText; }
    void SetColorValueText(TColorValueText v)
    {
        FColorValueText = v;
        Invalidate();
    }
    TItemAppearance* ItemAppearance() const { return FItemAppearance.get(); }
    void SetItemAppearance(TItemAppearance* v) { FItemAppearance->Assign(v); }

    // The choosers (null until first needed).
    TVodCustomItemSelector* ItemSelector() const { return FItemSelector; }
    TCustomColorSelector* ColorSelector() const { return FColorSelector; }
    TVodColorCubePanel* ColorCubePanel() const { return FCubePanel; }
    TVodColorSpectrumPanel* SpectrumPanel() const { return FSpectrumPanel; }
    const String& SearchText() const { return FCurSearch; }

    // The sixteen named colours, replacing the list.
    void AddDefaultColors();
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();

    TNotifyEvent OnSelect;
    TDrawSelectedColorEvent OnDrawSelectedColor;
    TSelectorDrawItemEvent OnDrawColor;

    // Virtual operations the picker adds, in slot order.
    virtual TVodCustomItemSelector* CreateItemSelector();
    virtual TVodColorCubePanel* CreateColorCubePanel();
    virtual TVodColorSpectrumPanel* CreateSpectrumPanel();
    virtual TCustomColorSelector* CreateColorSelector();
    virtual String SelectedColorText();

    void CreateDropDownForm() override;
    void DoBeforeDropDown() override;
    void DoShowDropDown() override;
    void PlaceDropDownControl() override;
    void SizeDropDownForm() override;
    void DoHideDropDown(bool Cancelled) override;
    void DropDownFormDestroyed() override;
    void HandleMouseWheelDown() override;
    void HandleMouseWheelUp() override;
    void SetSelectionColorStyle(TSelectionColorStyle AStyle) override;
    void SetComponentStyle(TQelStyle AStyle) override;
    void Loaded() override;

protected:
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;
    void WMKeyDown(TMessage& M) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void PrepareChooser();
    void SizeFixedWindow();
    void SizeListWindow();
    void UpdateItemSelector();
    void CopyColorsToSelector();
    void DrawSelectedColor();
    void SelectorItemSelect(TObject* Sender);
    void ColorSelectorSelect(TObject* Sender);
    void CubeSelect(TObject* Sender);
    void SpectrumSelect(TObject* Sender);
    void KeyTimerExpired();
    // Moves the list selector with the internal-call flag set.
    void MoveSelector(Integer Index);
    bool FixedStyle() const { return FColorSelectionStyle != csList; }

    std::unique_ptr<TColorItems> FColors;
    Integer FItemIndex = -1;
    TColor FSelectedColor = clNone;
    TColorSelectionStyle FColorSelectionStyle = csList;
    Integer FColumns = 1;
    TItemLayout FLayout = ilCaptionRight;
    Integer FColorBoxWidth = 14, FColorBoxHeight = 14;
    TColor FColorBoxBorderColor = clBlack;
    bool FShowText = true;
    TColorValueText FColorValueText = cvtNone;
    std::unique_ptr<TItemAppearance> FItemAppearance;
    TVodCustomItemSelector* FItemSelector = nullptr;
    TCustomColorSelector* FColorSelector = nullptr;
    TVodColorCubePanel* FCubePanel = nullptr;
    TVodColorSpectrumPanel* FSpectrumPanel = nullptr;
    Integer FUpdateCount = 0;
    bool FInternalCall = false;
    TTimer* FKeyTimer = nullptr;
    String FCurSearch;
    Integer FOldItemIndex = -1;
    TColor FOldSelectedColor = clNone;
    bool FDesignTime = false;
    bool FDestroyingPicker = false;
};
