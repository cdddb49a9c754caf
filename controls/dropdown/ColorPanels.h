// ColorPanels: the colour picker's fixed-size choosers besides its list:
// the palette of 60 boxes (TCustomColorSelector), the honeycomb of 127
// hexagonal cells (TVodColorCubePanel) and the hue-and-lightness spectrum
// (TVodColorSpectrumPanel). Each reports a choice through OnSelect (the
// palette through OnItemSelect).
#pragma once

#include <array>
#include <memory>

#include "controls/dropdown/VodDropDown.h"
#include "platform/ui/Controls.h"

class TImage;

// The colour panels' common base: a custom control with OnShouldHide.
class TVodCustomColorSelectorPanel : public TCustomControl {
    VEL_CLASS(TVodCustomColorSelectorPanel, TCustomControl)
public:
    explicit TVodCustomColorSelectorPanel(TComponent* AOwner) : TCustomControl(AOwner) {}
    TNotifyEvent OnShouldHide;
};

// ---------------------------------------------------------------------------
// The palette

enum TItemPos : Byte { ipStandAlone, ipTop, ipMiddle, ipBottom };

class TColorBoxItem : public TCollectionItem {
    VEL_CLASS(TColorBoxItem, TCollectionItem)
public:
    explicit TColorBoxItem(TCollection* Collection) : TCollectionItem(Collection) {}
    void Assign(TPersistent* Source) override;
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    TItemPos ColorBoxPos() const { return FColorBoxPos; }
    void SetColorBoxPos(TItemPos v) { FColorBoxPos = v; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v) { FEnabled = v; }
    TRect Rect() const { return FRect; }
    void SetRect(const TRect& r) { FRect = r; }

private:
    TColor FColor = clNone;
    TItemPos FColorBoxPos = ipStandAlone;
    bool FEnabled = true;
    TRect FRect{-1, -1, -1, -1};
};

class TColorBoxItems : public TOwnedCollection {
    VEL_CLASS(TColorBoxItems, TOwnedCollection)
public:
    explicit TColorBoxItems(TPersistent* AOwner)
        : TOwnedCollection(AOwner, CollectionItemClass<TColorBoxItem>()) {}
    TColorBoxItem* Add() { return static_cast<TColorBoxItem*>(TCollection::Add()); }
    TColorBoxItem* Items(Integer Index) const { return static_cast<TColorBoxItem*>(TCollection::Items(Index)); }
    TNotifyEvent OnChange;

protected:
    void Update(TCollectionItem*) override
    {
        if (OnChange) OnChange(this);
    }
};

class TColorBoxAppearance : public TPersistent {
    VEL_CLASS(TColorBoxAppearance, TPersistent)
public:
    void Assign(TPersistent* Source) override;
    TColor BorderColor = TColor(0xC5C5C5);
    TColor OuterBorderColorHot = TColor(0x3694F2);
    TColor InnerBorderColorHot = TColor(0x94E2FF);
    TColor OuterBorderColorSelected = TColor(0x0000FF);
    TColor InnerBorderColorSelected = TColor(0x94E2FF);
};

class TCustomColorSelector : public TVodCustomColorSelectorPanel {
    VEL_CLASS(TCustomColorSelector, TVodCustomColorSelectorPanel)
public:
    explicit TCustomColorSelector(TComponent* AOwner);
    ~TCustomColorSelector() override;

    TColorBoxItems* Items() const { return FItems.get(); }
    TColorBoxAppearance* ColorBoxAppearance() const { return FAppearance.get(); }
    Integer ItemIndex() const { return FItemIndex; }
    void SetItemIndex(Integer V);
    Integer ItemHot() const { return FItemHot; }
    void SetItemHot(Integer V);
    TColor SelectedColor() const { return FSelectedColor; }
    void SetSelectedColor(TColor v);
    TSelectionColorStyle ItemColorStyle() const { return FItemColorStyle; }
    void SetItemColorStyle(TSelectionColorStyle v);
    Integer Columns() const { return FColumns; }
    void SetColumns(Integer v);
    Integer ColumnGap() const { return FColumnGap; }
    void SetColumnGap(Integer v);
    Integer ColorBoxWidth() const { return FColorBoxWidth; }
    void SetColorBoxWidth(Integer v);
    Integer ColorBoxHeight() const { return FColorBoxHeight; }
    void SetColorBoxHeight(Integer v);
    Integer OffSetX = 4, OffSetY = 4;

    // The 60 boxes: ten columns, a stand-alone row and five grouped rows.
    void AddDefaultBoxes();
    // The keys PageUp, PageDown, End, Home and the arrows.
    void HandleKey(Word Key, bool EditorEnabled, bool DroppedDown);
    void HotNext();
    void HotPrevious();
    void SelectNext();
    void SelectPrevious();
    Integer ItemAtPos(Integer X, Integer Y) const;

    TNotifyEvent OnItemSelect;

    // Virtual operations, in slot order.
    virtual void DrawItem(Integer Index, TCanvas* Canvas);
    virtual void GetItemArea(TRect& Rect);
    virtual void GetItemSize(TSize& Size);
    virtual void ArrangeItems();
    virtual void InvalidateItem(Integer Index);

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
    void CMMouseLeave(TMessage& M) override;

private:
    std::unique_ptr<TColorBoxItems> FItems;
    std::unique_ptr<TColorBoxAppearance> FAppearance;
    Integer FItemIndex = -1, FItemHot = -1;
    Integer FColumnGap = 4, FColumns = 10, FColorBoxWidth = 12, FColorBoxHeight = 12;
    TSelectionColorStyle FItemColorStyle = scCustom;
    TColor FSelectedColor = clNone;
};

// ---------------------------------------------------------------------------
// The honeycomb

class TVodColorCubePanel : public TVodCustomColorSelectorPanel {
    VEL_CLASS(TVodColorCubePanel, TVodCustomColorSelectorPanel)
public:
    explicit TVodColorCubePanel(TComponent* AOwner);

    struct TCubeCell {
        TPoint Center;
        TColor Color = clNone;
    };

    TColor SelectedColor() const { return FSelectedColor; }
    // Stores the colour; the selected cell becomes the first of exactly that
    // colour, or none. Nothing is repainted.
    void SetSelectedColor(TColor v) { SelectCell(v, -1); }
    Integer SelectedIndex() const { return FSelectedIndex; }
    Integer HotIndex() const { return FHotIndex; }
    bool ShowRGBHint() const { return FShowRGBHint; }
    void SetShowRGBHint(bool v);
    TPoint CubeSize() const { return FCubeSize; }
    // Cell i (1..127); an index outside that range is ignored (clNone read).
    void SetCubeCellColor(Integer i, TColor Color);
    TColor GetCubeCellColor(Integer i) const;
    TPoint CellCenter(Integer i) const;
    // The first cell whose hit circle holds the point; -1 when none.
    Integer CellAtPos(Integer X, Integer Y) const;
    void InitCells();
    void ResetHot();

    TNotifyEvent OnSelect;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

private:
    void SelectCell(TColor Color, Integer Index);
    void DrawHexagon(TCanvas* Canvas, TPoint Center, Integer W, Integer Q, TColor Pen, TColor Brush);
    void DrawCell(TCanvas* Canvas, Integer i);
    void DrawHotFrame(TCanvas* Canvas, Integer i);
    void DrawSelectedFrame(TCanvas* Canvas, Integer i);

    std::array<TCubeCell, 128> FCells{};  // 1..127
    TPoint FCubeSize{6, 3};
    TColor FSelectedColor = clNone;
    Integer FSelectedIndex = -1, FHotIndex = -1;
    bool FShowRGBHint = true;
};

// ---------------------------------------------------------------------------
// The spectrum

class TVodColorSpectrumPanel : public TVodCustomColorSelectorPanel {
    VEL_CLASS(TVodColorSpectrumPanel, TVodCustomColorSelectorPanel)
public:
    explicit TVodColorSpectrumPanel(TComponent* AOwner);

    TImage* SpectrumImage() const { return FSpectrumImage; }
    TColor HotColor() const { return FHotColor; }
    TColor SelectedColor() const { return FSelectedColor; }
    void SetSelectedColor(TColor v)
    {
        if (v != FSelectedColor) FSelectedColor = v;
    }
    TRect SelectedRect() const { return FSelectedRect; }
    TRect HotRect() const { return FHotRect; }
    void ArrangePanel();

    TNotifyEvent OnSelect;

protected:
    void Paint() override;
    void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

private:
    void ImageMouseMove(Integer X, Integer Y);
    void ImageMouseDown();
    void DrawSwatch(TCanvas* Canvas, TRect R, TColor Color);

    TImage* FSpectrumImage = nullptr;
    TColor FHotColor = clNone;
    TColor FSelectedColor = clWhite;
    TRect FHotRect, FSelectedRect;
};

// The cursor number the spectrum's pointer is registered under.
enum : Integer { crQelPointer = 54 };
