// VodGrid: the string grid TVodStringGrid on the base grid, and the
// settings objects it owns. One class whose operations are divided into
// sources by family: VodGrid_Look.cpp (control look and background),
// VodGrid_Settings.cpp (grouping, balloons, modified marks, drag scrolling,
// progress look, automatic colours), VodGrid_HoverButtons.cpp (hover
// buttons), VodGrid_Update.cpp (the update bracket, the grid timer and the
// window messages that are not keyboard or mouse input).
#pragma once

#include <memory>
#include <vector>

#include "controls/dropdown/DropDownHeaderFooter.h"
#include "controls/grid/BaseGrid.h"

class TVodStringGrid;

// ---------------------------------------------------------------------------
// Control look and background
// ---------------------------------------------------------------------------

class TControlLook : public TPersistent {
    VEL_CLASS(TControlLook, TPersistent)
public:
    // How check boxes, radio buttons, buttons and progress bars in cells are
    // drawn (named in this class: the platform's TControlStyle is the set of
    // a control's style flags).
    enum TControlStyle { csClassic, csFlat, csWinXP, csBorland, csQel, csGlyph, csTheme };

    explicit TControlLook(TVodStringGrid* AOwner);
    ~TControlLook() override;
    // Resets the colours to their values at creation.
    void Init();
    // Copies the look from another control look without writers or
    // repainting; any other source is ignored.
    void Assign(TPersistent* Source) override;
    TPersistent* GetOwner() const override;

    VEL_GRID_PROP(bool, ButtonPrefix, false)
    VEL_GRID_PROP(bool, FixedDropDownButton, false)
    VEL_GRID_PROP(Integer, HintMaxWidth, 0)
    VEL_GRID_PROP(bool, CheckAlwaysActive, false)
    VEL_GRID_PROP(bool, RadioAlwaysActive, false)
    VEL_GRID_PROP(Integer, DropDownCount, 8)
    VEL_GRID_PROP(TColor, ProgressBorderColor, TColor(0x808080))
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    TColor CommentColor() const { return FCommentColor; }
    void SetCommentColor(TColor v);
    TBitmap* CheckedGlyph() const { return FCheckedGlyph.get(); }
    void SetCheckedGlyph(TBitmap* v);
    TBitmap* UnCheckedGlyph() const { return FUnCheckedGlyph.get(); }
    void SetUnCheckedGlyph(TBitmap* v);
    TBitmap* RadioOnGlyph() const { return FRadioOnGlyph.get(); }
    void SetRadioOnGlyph(TBitmap* v);
    TBitmap* RadioOffGlyph() const { return FRadioOffGlyph.get(); }
    void SetRadioOffGlyph(TBitmap* v);

    TColor FixedGradientFrom() const { return FFixedGradientFrom; }
    void SetFixedGradientFrom(TColor v);
    TColor FixedGradientTo() const { return FFixedGradientTo; }
    void SetFixedGradientTo(TColor v);
    TColor FixedGradientMirrorFrom() const { return FFixedGradientMirrorFrom; }
    void SetFixedGradientMirrorFrom(TColor v);
    TColor FixedGradientMirrorTo() const { return FFixedGradientMirrorTo; }
    void SetFixedGradientMirrorTo(TColor v);
    TColor FixedGradientHoverFrom() const { return FFixedGradientHoverFrom; }
    void SetFixedGradientHoverFrom(TColor v);
    TColor FixedGradientHoverTo() const { return FFixedGradientHoverTo; }
    void SetFixedGradientHoverTo(TColor v);
    TColor FixedGradientHoverMirrorFrom() const { return FFixedGradientHoverMirrorFrom; }
    void SetFixedGradientHoverMirrorFrom(TColor v);
    TColor FixedGradientHoverMirrorTo() const { return FFixedGradientHoverMirrorTo; }
    void SetFixedGradientHoverMirrorTo(TColor v);
    TColor FixedGradientHoverBorder() const { return FFixedGradientHoverBorder; }
    void SetFixedGradientHoverBorder(TColor v);
    TColor FixedGradientDownFrom() const { return FFixedGradientDownFrom; }
    void SetFixedGradientDownFrom(TColor v);
    TColor FixedGradientDownTo() const { return FFixedGradientDownTo; }
    void SetFixedGradientDownTo(TColor v);
    TColor FixedGradientDownMirrorFrom() const { return FFixedGradientDownMirrorFrom; }
    void SetFixedGradientDownMirrorFrom(TColor v);
    TColor FixedGradientDownMirrorTo() const { return FFixedGradientDownMirrorTo; }
    void SetFixedGradientDownMirrorTo(TColor v);
    TColor FixedGradientDownBorder() const { return FFixedGradientDownBorder; }
    void SetFixedGradientDownBorder(TColor v);

    Integer CheckSize() const { return FCheckSize; }
    void SetCheckSize(Integer v);
    Integer RadioSize() const { return FRadioSize; }
    void SetRadioSize(Integer v);
    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle v);
    bool DropDownAlwaysVisible() const { return FDropDownAlwaysVisible; }
    void SetDropDownAlwaysVisible(bool v);
    Integer DropDownButtonWidth() const { return FDropDownButtonWidth; }
    void SetDropDownButtonWidth(Integer v);
    THeaderAppearance* DropDownHeader() const { return FDropDownHeader.get(); }
    void SetDropDownHeader(THeaderAppearance* v) { FDropDownHeader->Assign(v); }
    TFooterAppearance* DropDownFooter() const { return FDropDownFooter.get(); }
    void SetDropDownFooter(TFooterAppearance* v) { FDropDownFooter->Assign(v); }
    bool SpinButtonsAlwaysVisible() const { return FSpinButtonsAlwaysVisible; }
    void SetSpinButtonsAlwaysVisible(bool v);
    bool FlatButton() const { return FFlatButton; }
    void SetFlatButton(bool v);
    bool NoDisabledCheckRadioLook() const { return FNoDisabledCheckRadioLook; }
    void SetNoDisabledCheckRadioLook(bool v);
    bool NoDisabledButtonLook() const { return FNoDisabledButtonLook; }
    void SetNoDisabledButtonLook(bool v);
    Integer ProgressMarginX() const { return FProgressMarginX; }
    void SetProgressMarginX(Integer v);
    Integer ProgressMarginY() const { return FProgressMarginY; }
    void SetProgressMarginY(Integer v);
    bool ProgressXP() const { return FProgressXP; }
    void SetProgressXP(bool v);

private:
    void Repaint();
    TVodStringGrid* FGrid;
    TColor FColor = 0;
    TColor FCommentColor = clRed;
    std::unique_ptr<TBitmap> FCheckedGlyph, FUnCheckedGlyph, FRadioOnGlyph, FRadioOffGlyph;
    TColor FFixedGradientFrom = clNone, FFixedGradientTo = clNone;
    TColor FFixedGradientMirrorFrom = clNone, FFixedGradientMirrorTo = clNone;
    TColor FFixedGradientHoverFrom = clWhite, FFixedGradientHoverTo = clGray;
    TColor FFixedGradientHoverMirrorFrom = clNone, FFixedGradientHoverMirrorTo = clNone;
    TColor FFixedGradientHoverBorder = clSilver;
    TColor FFixedGradientDownFrom = clSilver, FFixedGradientDownTo = clGray;
    TColor FFixedGradientDownMirrorFrom = clNone, FFixedGradientDownMirrorTo = clNone;
    TColor FFixedGradientDownBorder = clGray;
    Integer FCheckSize = 15;
    Integer FRadioSize = 10;
    TControlStyle FControlStyle = csTheme;
    bool FDropDownAlwaysVisible = false;
    Integer FDropDownButtonWidth = 16;
    std::unique_ptr<THeaderAppearance> FDropDownHeader;
    std::unique_ptr<TFooterAppearance> FDropDownFooter;
    bool FSpinButtonsAlwaysVisible = false;
    bool FFlatButton = false;
    bool FNoDisabledCheckRadioLook = false;
    bool FNoDisabledButtonLook = false;
    Integer FProgressMarginX = 2;
    Integer FProgressMarginY = 2;
    bool FProgressXP = false;
};

enum TBackGroundDisplay { bdTile, bdFixed, bdGradientHorz, bdGradientVert };
enum TBackGroundCells { bcNormal, bcFixed, bcAll };

// A picture or gradient behind the cells; every write invalidates the grid.
class TBackGround : public TPersistent {
    VEL_CLASS(TBackGround, TPersistent)
public:
    explicit TBackGround(TVodStringGrid* AGrid);
    ~TBackGround() override;
    void Assign(TPersistent* Source) override;
    Integer Top() const { return FTop; }
    void SetTop(Integer v);
    Integer Left() const { return FLeft; }
    void SetLeft(Integer v);
    TBackGroundDisplay Display() const { return FDisplay; }
    void SetDisplay(TBackGroundDisplay v);
    TBitmap* Bitmap() const { return FBitmap.get(); }
    void SetBitmap(TBitmap* v);
    TBackGroundCells Cells() const { return FCells; }
    void SetCells(TBackGroundCells v);
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor v);

private:
    void Changed();
    TVodStringGrid* FGrid;
    Integer FTop = 0, FLeft = 0;
    TBackGroundDisplay FDisplay = bdTile;
    std::unique_ptr<TBitmap> FBitmap;
    TBackGroundCells FCells = bcNormal;
    TColor FColor = clWindow;
    TColor FColorTo = clBtnFace;
};

// ---------------------------------------------------------------------------
// Grid settings objects
// ---------------------------------------------------------------------------

class TGrouping : public TPersistent {
    VEL_CLASS(TGrouping, TPersistent)
public:
    TGrouping() = default;
    void Assign(TPersistent* Source) override;
    VEL_GRID_PROP(bool, MergeHeader, false)
    VEL_GRID_PROP(bool, MergeSummary, false)
    VEL_GRID_PROP(TColor, HeaderColor, clNone)
    VEL_GRID_PROP(TColor, HeaderColorTo, clNone)
    VEL_GRID_PROP(TColor, HeaderTextColor, clNone)
    VEL_GRID_PROP(bool, HeaderUnderline, false)
    VEL_GRID_PROP(TColor, HeaderLineColor, clBlue)
    VEL_GRID_PROP(Integer, HeaderLineWidth, 2)
    VEL_GRID_PROP(bool, Summary, false)
    VEL_GRID_PROP(TColor, SummaryColor, clNone)
    VEL_GRID_PROP(TColor, SummaryColorTo, clNone)
    VEL_GRID_PROP(TColor, SummaryTextColor, clNone)
    VEL_GRID_PROP(bool, SummaryLine, false)
    VEL_GRID_PROP(TColor, SummaryLineColor, clBlue)
    VEL_GRID_PROP(Integer, SummaryLineWidth, 2)
    VEL_GRID_PROP(bool, ShowGroupCount, false)
    VEL_GRID_PROP(String, GroupCountFormat, String())
    VEL_GRID_PROP(bool, AutoSelectGroup, false)
    VEL_GRID_PROP(bool, AutoCheckGroup, false)
};

class TBalloonSettings : public TPersistent {
    VEL_CLASS(TBalloonSettings, TPersistent)
public:
    TBalloonSettings() = default;
    void Assign(TPersistent* Source) override;
    bool Enable() const { return FEnable; }
    void SetEnable(bool v);
    VEL_GRID_PROP(bool, ShowCell, true)
    VEL_GRID_PROP(TColor, TextColor, clNone)
    VEL_GRID_PROP(TColor, BackgroundColor, clNone)
    VEL_GRID_PROP(Integer, InitialDelay, -1)
    VEL_GRID_PROP(Integer, AutoHideDelay, -1)
    VEL_GRID_PROP(Integer, ReshowDelay, -1)
    VEL_GRID_PROP(Byte, Transparency, 0)
public:
    // Whether the grid's balloon window exists.
    bool FInit = false;
    TNotifyEvent OnEnableChange;

private:
    bool FEnable = false;
};

class TShowModified : public TPersistent {
    VEL_CLASS(TShowModified, TPersistent)
public:
    TShowModified() = default;
    void Assign(TPersistent* Source) override;
    VEL_GRID_PROP(bool, Enabled, false)
public:
    TColor Color() const { return FColor; }
    // Announces every write, also of the same colour.
    void SetColor(TColor v);
    TNotifyEvent OnChange;

private:
    TColor FColor = clYellow;
};

class TDragScrollDelays : public TPersistent {
    VEL_CLASS(TDragScrollDelays, TPersistent)
public:
    TDragScrollDelays() = default;
    void Assign(TPersistent* Source) override;
    VEL_GRID_PROP(Integer, InitialDelay, 1000)
    VEL_GRID_PROP(Integer, RepeatDelay, 250)
};

class TDragScrollMargins : public TPersistent {
    VEL_CLASS(TDragScrollMargins, TPersistent)
public:
    TDragScrollMargins() = default;
    void Assign(TPersistent* Source) override;
    VEL_GRID_PROP(Integer, TopMargin, 50)
    VEL_GRID_PROP(Integer, BottomMargin, 50)
    VEL_GRID_PROP(Integer, LeftMargin, 50)
    VEL_GRID_PROP(Integer, RightMargin, 50)
};

enum TDragScrollDirectionFlag { dsdUp, dsdDown, dsdLeft, dsdRight };
using TDragScrollDirection = TSet<TDragScrollDirectionFlag>;
using TDragScrollEvent = std::function<void(TObject* Sender, Integer TopRow, Integer LeftCol,
                                            TDragScrollDirection& DragScrollDir, bool& CanScroll)>;

class TDragScrollOptions : public TPersistent {
    VEL_CLASS(TDragScrollOptions, TPersistent)
public:
    TDragScrollOptions();
    ~TDragScrollOptions() override;
    void Assign(TPersistent* Source) override;
    VEL_GRID_PROP(bool, Active, false)
public:
    TDragScrollDelays* Delays() const { return FDelays.get(); }
    void SetDelays(TDragScrollDelays* v) { FDelays->Assign(v); }
    TDragScrollMargins* Margins() const { return FMargins.get(); }
    void SetMargins(TDragScrollMargins* v) { FMargins->Assign(v); }

private:
    std::unique_ptr<TDragScrollDelays> FDelays;
    std::unique_ptr<TDragScrollMargins> FMargins;
};

enum TProgressStyle { psXP, psClassic };

// The look of progress cells; every writer announces a change of value.
#define VEL_PROGRESS_PROPS(X)                                                                          \
    X(TColor, CompleteColor, clRed) X(TColor, CompleteFontColor, clBlue)                             \
    X(TColor, UnCompleteColor, clNone) X(TColor, UnCompleteFontColor, clWindowText)                  \
    X(TColor, Level0Color, TColor(0x00FF00)) X(TColor, Level0ColorTo, TColor(0xE1FFE1))              \
    X(TColor, Level1Color, TColor(0x00FFFF)) X(TColor, Level1ColorTo, TColor(0xCAFFFF))              \
    X(TColor, Level2Color, TColor(0x53A9FF)) X(TColor, Level2ColorTo, TColor(0xA8D3FF))              \
    X(TColor, Level3Color, TColor(0x0000FF)) X(TColor, Level3ColorTo, TColor(0xCACAFF))              \
    X(Integer, Level1Perc, 70) X(Integer, Level2Perc, 90) X(TColor, BorderColor, TColor(0))           \
    X(bool, ShowBorder, false) X(bool, Stacked, false) X(bool, ShowPercentage, true)                  \
    X(bool, CompletionSmooth, true) X(bool, ShowGradient, true) X(Integer, Steps, 11)                 \
    X(TProgressStyle, Style, psXP)

class TGridProgressAppearance : public TPersistent {
    VEL_CLASS(TGridProgressAppearance, TPersistent)
public:
    TGridProgressAppearance() = default;
    // Copies every property, then announces once.
    void Assign(TPersistent* Source) override;
#define VEL_PROGRESS_DECL(Type, Name, Init)                  \
    Type Name() const { return F##Name; }                    \
    void Set##Name(Type v)                                   \
    {                                                        \
        if (F##Name == v) return;                            \
        F##Name = v;                                         \
        Changed();                                           \
    }
    VEL_PROGRESS_PROPS(VEL_PROGRESS_DECL)
#undef VEL_PROGRESS_DECL
    TNotifyEvent OnChange;

private:
    void Changed()
    {
        if (OnChange) OnChange(this);
    }
#define VEL_PROGRESS_FIELD(Type, Name, Init) Type F##Name = Init;
    VEL_PROGRESS_PROPS(VEL_PROGRESS_FIELD)
#undef VEL_PROGRESS_FIELD
};

class TColorSetting : public TPersistent {
    VEL_CLASS(TColorSetting, TPersistent)
public:
    TColorSetting() = default;
    void Assign(TPersistent* Source) override;
    TColor TextColor() const { return FTextColor; }
    void SetTextColor(TColor v);
    TColor BkgColor() const { return FBkgColor; }
    void SetBkgColor(TColor v);
    TNotifyEvent OnChange;

protected:
    virtual void Changed();

private:
    TColor FTextColor = clNone, FBkgColor = clNone;
};

class TAutoColor : public TPersistent {
    VEL_CLASS(TAutoColor, TPersistent)
public:
    TAutoColor();
    ~TAutoColor() override;
    void Assign(TPersistent* Source) override;
    TColorSetting* NegativeNumber() const { return FNegativeNumber.get(); }
    void SetNegativeNumber(TColorSetting* v) { FNegativeNumber->Assign(v); }
    TColorSetting* PositiveNumber() const { return FPositiveNumber.get(); }
    void SetPositiveNumber(TColorSetting* v) { FPositiveNumber->Assign(v); }
    bool HasColors() const;
    TNotifyEvent OnChange;

protected:
    virtual void Changed();

private:
    std::unique_ptr<TColorSetting> FNegativeNumber, FPositiveNumber;
};

// ---------------------------------------------------------------------------
// Hover buttons
// ---------------------------------------------------------------------------

class THoverButtonsCollectionItem : public TCollectionItem {
    VEL_CLASS(THoverButtonsCollectionItem, TCollectionItem)
public:
    explicit THoverButtonsCollectionItem(TCollection* Collection);
    ~THoverButtonsCollectionItem() override;
    void Assign(TPersistent* Source) override;
    const String& Caption() const { return FCaption; }
    void SetCaption(const String& v);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    bool Flat() const { return FFlat; }
    void SetFlat(bool v);
    const String& Hint() const { return FHint; }
    void SetHint(const String& v);
    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer v);
    TPicture* Picture() const { return FPicture.get(); }
    // Always announces.
    void SetPicture(TPicture* v);
    VEL_GRID_PROP(Integer, Tag, 0)
    VEL_GRID_PROP(Integer, Width, 0)

private:
    void Announce();
    String FCaption;
    bool FEnabled = true;
    bool FFlat = false;
    String FHint;
    Integer FImageIndex = -1;
    std::unique_ptr<TPicture> FPicture;
};

class THoverButtonsCollection : public TOwnedCollection {
    VEL_CLASS(THoverButtonsCollection, TOwnedCollection)
public:
    explicit THoverButtonsCollection(TPersistent* AOwner);
    THoverButtonsCollectionItem* Add() { return static_cast<THoverButtonsCollectionItem*>(TCollection::Add()); }
    THoverButtonsCollectionItem* Insert(Integer Index)
    {
        return static_cast<THoverButtonsCollectionItem*>(TCollection::Insert(Index));
    }
    THoverButtonsCollectionItem* Items(Integer Index) const
    {
        return static_cast<THoverButtonsCollectionItem*>(TCollection::Items(Index));
    }
    void SetItems(Integer Index, THoverButtonsCollectionItem* Value) { Items(Index)->Assign(Value); }
    // Set by every change, so that the buttons shown are built again.
    bool FUpdated = false;

protected:
    friend class THoverButtonsCollectionItem;
    void Update(TCollectionItem* Item) override;
};

enum THoverButtonPosition { hbLeftFromColumnLeft, hbRightFromColumnLeft, hbLeftFromColumnRight, hbRightFromColumnRight };
enum THoverRows { hrAll, hrNormal };

class THoverButtons : public TPersistent {
    VEL_CLASS(THoverButtons, TPersistent)
public:
    explicit THoverButtons(TPersistent* AOwner);
    ~THoverButtons() override;
    void Assign(TPersistent* Source) override;
    TPersistent* GetOwner() const override { return FOwner; }
    THoverButtonsCollection* Buttons() const { return FButtons.get(); }
    void SetButtons(THoverButtonsCollection* v) { FButtons->Assign(v); }
    VEL_GRID_PROP(bool, Enabled, false)
    VEL_GRID_PROP(Integer, Column, 0)
    VEL_GRID_PROP(THoverButtonPosition, Position, hbRightFromColumnRight)
    VEL_GRID_PROP(THoverRows, Rows, hrNormal)
    VEL_GRID_PROP(bool, MoveActiveRow, true)

private:
    TPersistent* FOwner;
    std::unique_ptr<THoverButtonsCollection> FButtons;
};

using THoverButtonsShowEvent = std::function<void(TObject* Sender, Integer X, Integer Y, bool& Allow)>;
using THoverButtonClickEvent = std::function<void(TObject* Sender, Integer ARow, THoverButtonsCollectionItem* AButton)>;
using TGetCellCursorEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, TCursor& ACursor)>;

// ---------------------------------------------------------------------------
// Hidden rows: one item per row taken out of view, holding the row's texts
// and property blocks (moved there, never copied), its height and level.
// ---------------------------------------------------------------------------

class TGridItem : public TCollectionItem {
    VEL_CLASS(TGridItem, TCollectionItem)
public:
    explicit TGridItem(TCollection* Collection);
    // Frees the property blocks the item still holds: a row put back into
    // the grid leaves none behind, so each block is freed exactly once.
    ~TGridItem() override;
    void Assign(TPersistent* Source) override;
    Integer Idx() const { return FIdx; }
    void SetIdx(Integer v);
    Integer Height() const { return FHeight; }
    void SetHeight(Integer v) { FHeight = v; }
    Integer Level() const { return FLevel; }
    void SetLevel(Integer v) { FLevel = v; }
    // The row's cell texts, one line per real column, each with the cell's
    // property block (or nil) as its object.
    TStrings* Items() const { return FItems.get(); }
    TStringList* ItemList() const { return FItems.get(); }
    void SetItems(TStrings* v) { FItems->Assign(v); }

private:
    Integer FIdx = 0;
    Integer FHeight = 0;
    Integer FLevel = 0;
    std::unique_ptr<TStringList> FItems;
};

// ---------------------------------------------------------------------------
// The string grid
// ---------------------------------------------------------------------------

enum TMouseSelectMode { msNormal, msColumn, msRow, msAll, msURL, msResize };

// The program's own cursors, loaded by number.
enum : Word { crRowSelectCursor = 8010, crColSelectCursor = 8011, crAllSelectCursor = 8012, crCellSelectCursor = 8014 };

class TVodStringGrid : public TBaseGrid {
    VEL_CLASS(TVodStringGrid, TBaseGrid)
public:
    explicit TVodStringGrid(TComponent* AOwner);
    ~TVodStringGrid() override;

    // --- update bracket ---
    void BeginUpdate();
    void EndUpdate();
    void StartUpdate() { ++FUpdateCount; }
    void ResetUpdate() { FUpdateCount = 0; }
    bool IsUpdating() const { return FUpdateCount > 0; }
    bool LockUpdate() const { return FUpdateCount != 0; }
    void SetLockUpdate(bool v);
    Integer UpdateCount() const { return FUpdateCount; }
    void UpdateSearchPanel();
    void ResetFixedCellHighlight();

    // --- settings objects ---
    TControlLook* ControlLook() const { return FControlLook.get(); }
    TBackGround* BackGround() const { return FBackGround.get(); }
    TGrouping* Grouping() const { return FGrouping.get(); }
    TBalloonSettings* Balloon() const { return FBalloon.get(); }
    TShowModified* ShowModified() const { return FShowModified.get(); }
    TDragScrollOptions* DragScrollOptions() const { return FDragScrollOptions.get(); }
    TGridProgressAppearance* ProgressAppearance() const { return FProgressAppearance.get(); }
    TAutoColor* AutoColor() const { return FAutoColor.get(); }
    THoverButtons* HoverButtons() const { return FHoverButtons.get(); }
    TNavigation* Navigation() const { return FNavigation.get(); }
    TMouseActions* MouseActions() const { return FMouseActions.get(); }
    TSearchFooter* SearchFooter() const { return FSearchFooter.get(); }

    // --- the header colours of the grid's own look ---
    TColor QelGradientFrom() const { return FQelGradFrom; }
    virtual void SetQelGradientFrom(TColor v);
    TColor QelGradientTo() const { return FQelGradTo; }
    virtual void SetQelGradientTo(TColor v);
    TColor QelGradientMirrorFrom() const { return FQelGradMirrorFrom; }
    virtual void SetQelGradientMirrorFrom(TColor v);
    TColor QelGradientMirrorTo() const { return FQelGradMirrorTo; }
    virtual void SetQelGradientMirrorTo(TColor v);
    TColor QelGradientHoverFrom() const { return FQelGradHoverFrom; }
    virtual void SetQelGradientHoverFrom(TColor v) { FQelGradHoverFrom = v; }
    TColor QelGradientHoverTo() const { return FQelGradHoverTo; }
    virtual void SetQelGradientHoverTo(TColor v) { FQelGradHoverTo = v; }
    TColor QelGradientHoverMirrorFrom() const { return FQelGradHoverMirrorFrom; }
    virtual void SetQelGradientHoverMirrorFrom(TColor v) { FQelGradHoverMirrorFrom = v; }
    TColor QelGradientHoverMirrorTo() const { return FQelGradHoverMirrorTo; }
    virtual void SetQelGradientHoverMirrorTo(TColor v) { FQelGradHoverMirrorTo = v; }
    TColor QelGradientHoverBorder() const { return FQelGradHoverBorder; }
    virtual void SetQelGradientHoverBorder(TColor v) { FQelGradHoverBorder = v; }
    TColor QelGradientDownFrom() const { return FQelGradDownFrom; }
    virtual void SetQelGradientDownFrom(TColor v) { FQelGradDownFrom = v; }
    TColor QelGradientDownTo() const { return FQelGradDownTo; }
    virtual void SetQelGradientDownTo(TColor v) { FQelGradDownTo = v; }
    TColor QelGradientDownMirrorFrom() const { return FQelGradDownMirrorFrom; }
    virtual void SetQelGradientDownMirrorFrom(TColor v) { FQelGradDownMirrorFrom = v; }
    TColor QelGradientDownMirrorTo() const { return FQelGradDownMirrorTo; }
    virtual void SetQelGradientDownMirrorTo(TColor v) { FQelGradDownMirrorTo = v; }
    TColor QelGradientDownBorder() const { return FQelGradDownBorder; }
    virtual void SetQelGradientDownBorder(TColor v) { FQelGradDownBorder = v; }

    // --- simple settings the messages read ---
    VEL_GRID_PROP(bool, EnableBlink, false)
    VEL_GRID_PROP(bool, Hovering, false)
    VEL_GRID_PROP(bool, CellSelectorMode, false)
public:
    TMouseSelectMode MouseSelectMode() const { return FMouseSelectMode; }
    // The program cursor WM_SETCURSOR asked for last (0 for none).
    Word CursorAsked() const { return FCursorAsked; }
    bool GridBlink() const { return FGridBlink; }
    Integer TimerTicks() const { return FTimerTicks; }
    Integer GridTimerID() const { return FGridTimerID; }

    // === construction, lifecycle and unit start-up (VodGrid_Create.cpp) ===

    // === operations table and cell hooks (VodGrid_Hooks.cpp) ===

    // === cell graphics (VodGrid_Graphics.cpp) ===

    // === settings objects, look presets and image list (VodGrid_Looks.cpp) ===

    // === hidden rows and columns, index mapping (VodGrid_Hidden.cpp) ===
    // Two numberings: display rows and columns (what the grid shows) and
    // real ones (as if nothing were hidden). The store holds display rows and
    // real columns; a hidden row lives in the hidden-row store.
    void HideRow(Integer Rowindex) { HideRows(Rowindex, Rowindex); }
    void HideRows(Integer FromRow, Integer ToRow);
    // Display rows, ascending; hidden as one new list level.
    void HideRowList(TIntList* RowList);
    void HideRowsEx(Integer FromRow, Integer ToRow);
    void UnHideRow(Integer Rowindex);
    void UnHideRows(Integer FromRow, Integer ToRow);
    void UnHideRowsAll();
    void UnHideRowList();
    bool IsHiddenRow(Integer Rowindex) const;
    // With a sorted list the caller holds (created and filled when nil).
    bool IsHiddenRow(Integer Rowindex, TIntList*& ListHidden) const;
    Integer NumHiddenRows() const { return FGridItems->Count(); }
    Integer TotalRowCount() const { return RowCount() + NumHiddenRows(); }
    Integer RealRowIndex(Integer ARow) const { return DisplToRealRow(ARow); }
    Integer DisplRowIndex(Integer ARow) const { return RealToDisplRow(ARow); }
    Integer RealRow() const { return RealRowIndex(Row()); }
    Integer DisplToRealRow(Integer ARow) const;
    Integer RealToDisplRow(Integer ARow) const;
    Integer DisplToRealColumn(Integer ACol) const;
    Integer RealToDisplColumn(Integer ACol) const;
    Integer RealColIndex(Integer ACol) const override { return DisplToRealColumn(ACol); }
    Integer DisplColIndex(Integer ACol) const override { return RealToDisplColumn(ACol); }
    Integer TotalColCount() const override { return ColCount() + FNumHidden; }
    Integer RealCol() const { return RealColIndex(Col()); }
    void HideColumn(Integer ColIndex) { HideColumns(ColIndex, ColIndex); }
    void HideColumns(Integer FromCol, Integer ToCol);
    void UnHideColumn(Integer ColIndex) { UnHideColumns(ColIndex, ColIndex); }
    void UnHideColumns(Integer FromCol, Integer ToCol);
    void UnHideColumnsAll() { UnHideColumns(0, ColCount() + FNumHidden - 1); }
    bool IsHiddenColumn(Integer Colindex) const;
    Integer NumHiddenColumns() const { return FNumHidden; }
    void SuppressColumn(Integer ColIndex);
    void SuppressRow(Integer RowIndex);
    void UnSuppressColumn(Integer ColIndex);
    void UnSuppressRow(Integer RowIndex);
    void UnSuppressAllColumns();
    void UnSuppressAllRows();
    bool IsSuppressedColumn(Integer ColIndex) const { return ColWidths(ColIndex) == 0; }
    bool IsSuppressedRow(Integer RowIndex) const { return RowHeights(RowIndex) == 0; }
    void HideSelectedRows();
    void HideUnSelectedRows();
    // The hidden-row store and its items (for the families that read hidden
    // rows); the item of a hidden real row, nil when the row is shown.
    TCollection* GridItems() const { return FGridItems.get(); }
    TGridItem* GridItem(Integer Index) const;
    TGridItem* HiddenRowItem(Integer RealRow) const;
    // Every change of the store drops the lookup; the next query rebuilds it.
    void DropHiddenRowLookup() const { FHiddenRowLookupValid = false; }
    Integer FilterLevel() const { return FFilterLevel; }

    // === inserting, removing and moving rows (VodGrid_Rows.cpp) ===
    // Rows are display rows. Each structural change announces its cells
    // through CellsChanged; property blocks travel with their rows.
    virtual void InsertRows(Integer RowIndex, Integer RCount, bool UpdateCellControls = true);
    void AddRow();
    virtual void AppendRow();
    virtual void RemoveRows(Integer RowIndex, Integer RCount);
    virtual void RemoveRowsEx(Integer RowIndex, Integer RCount);
    virtual void DeleteGridRow(Integer RowIndex, Integer RCount);
    // Ascending display rows; the removed rows' blocks are freed.
    void RemoveRowList(TIntList* RowList);
    void RemoveCheckedRows(Integer CheckBoxColumn, bool RemoveChecked);
    void RemoveDuplicates(Integer ACol, bool DoCase);
    void RemoveSelectedRows();
    void RemoveUnSelectedRows();
    void MoveRow(Integer FromIndex, Integer ToIndex);
    void MoveRows(Integer FromIndex, Integer ToIndex, Integer Count);
    void DoInsertRows(Integer RowIndex, Integer RCount, bool UpdateCellControls);
    // False when OnRowChanging vetoed the deletion (the grid is unchanged).
    bool DoDeleteRows(Integer RowIndex, Integer RCount, bool UpdateCellControls);
    // The check-box state of a cell (false without a check box); completed
    // by the family of check boxes in cells.
    virtual bool IsChecked(Integer ACol, Integer ARow);
    // The disjunct row-selection flags as far as row removal keeps them in
    // step; completed by the family of row and column selection flags.
    bool RowSelect(Integer ARow) const;
    void SetRowSelect(Integer ARow, bool Value);
    void ResetRowSelection();
    void SelectRows(Integer RowIndex, Integer RCount);
    TIntList* ModifiedRows() const { return FModifiedRows.get(); }
    bool UseEnabledRows() const { return FUseEnabledRows; }
    void SetUseEnabledRows(bool v) { FUseEnabledRows = v; }
    std::function<void(TObject* Sender, Integer OldRow, Integer NewRow, bool& Allow)> OnRowChanging;

    // === inserting, removing and moving columns, column order (VodGrid_Cols.cpp) ===

    // === clearing, trimming, colouring ranges, used cells, save range (VodGrid_Clear.cpp) ===

    // === dimensions, fixed and footer rows, simple properties (VodGrid_Dims.cpp) ===

    // === cell selection, listeners, change notification, combo list (VodGrid_Selection.cpp) ===
    // (least: the notification the row, column and clearing operations make)
    virtual void CellsChanged(TRect R);
    std::function<void(TObject* Sender, TRect R)> OnCellsChanged;

    // === cell accessors and rich text (VodGrid_Accessors.cpp) ===

    // --- operations whose families are completed elsewhere (least bodies) ---
    virtual void DrawNCBorder();
    virtual void CellControlsUpdate(bool Force);
    virtual void UpdateProportionalVScroll();
    virtual void UpdateProportionalHScroll();
    virtual void HideInplaceEdit();
    virtual void ShowInplaceEdit();
    virtual void StoreCellValue(Integer ACol, Integer ARow);
    virtual void GetCellCursor(Integer ACol, Integer ARow, Integer X, Integer Y);
    virtual void BuildHint(THintInfo* HintInfo);
    virtual void HideHoverButtons();
    virtual void CreateBalloonWindow();
    virtual void RemoveBalloonWindow();
    virtual bool IsCellEditable(Integer ACol, Integer ARow);
    virtual bool HasComboBox(Integer ACol, Integer ARow);
    virtual void ApplyColumnStretch(Integer StretchColumn, Integer NewWidth);

    // --- the base grid's table, completed by the string grid ---
    bool IsNode(Integer ARow) override;
    bool IsSummary(Integer ARow) override;
    bool CellHasCheckBox(Integer ACol, Integer ARow) override;
    void SetCheckBoxFromText(Integer ACol, Integer ARow, const String& Value) override;

    TGetCellCursorEvent OnGetCellCursor;
    TNotifyEvent OnGridResize;
    TDragScrollEvent OnDragScroll;
    THoverButtonsShowEvent OnHoverButtonsShow;
    THoverButtonClickEvent OnHoverButtonClick;

protected:
    void Dispatch(TMessage& Message) override;
    void CreateWnd() override;
    void DoEnter() override;
    void DoExit() override;

    void HandlePaint(TMessage& M);
    void HandleSize(TMessage& M);
    void HandleTimer(TMessage& M);
    void HandleSetCursor(TMessage& M);
    void HandleSetFocus(TMessage& M);
    void HandleKillFocus(TMessage& M);
    void HandleDialogChar(TMessage& M);
    // Asks the program's cursor resource Id for the screen.
    void ShowProgramCursor(Word Id);

    // Update bracket, timer and focus state.
    Integer FUpdateCount = 0;
    Integer FGridTimerID = 0;
    Integer FTimerTicks = 0;
    String SearchInc;
    Integer SearchTics = 0;
    bool FGridBlink = false;
    Integer FPaintCount = 0;
    bool FInWMSize = false;
    bool FDisableSize = false;
    bool FBlockKill = false;
    bool FBlockFocus = false;
    bool InvokedFocusChange = false;
    bool Invokedchange = false;
    bool FSelChange = false;
    // State other families keep and these messages read.
    TMouseSelectMode FMouseSelectMode = msNormal;
    Word FCursorAsked = 0;
    bool FCtrlDown = false;
    TPoint FCtrlXY{-1, -1};
    bool FFixedColSizeOffer = false, FFixedRowSizeOffer = false, FNoMouseLeave = false;
    TPoint FHoverFixedCell{-1, -1};
    bool FHoverFixedCells = false;
    std::unique_ptr<TControlList> FControlList;

    // === state: construction, lifecycle and unit start-up ===

    // === state: operations table and cell hooks ===

    // === state: cell graphics ===

    // === state: settings objects, look presets and image list ===

    // === state: hidden rows and columns, index mapping ===
    // Moves the display rows' contents into new items appended (or inserted
    // at Position) to the store, each with its level and height.
    TGridItem* TakeRowIntoItem(Integer DisplayRow, Integer RealIdx, Integer Position, bool WithHeight);
    void PutItemIntoRow(TGridItem* Item, Integer DisplayRow, bool WithHeight);
    void BuildHiddenRowLookup() const;
    bool VisibleColFlag(Integer c) const { return c < 0 || size_t(c) >= FVisibleCol.size() || FVisibleCol[size_t(c)]; }
    void EnsureColumnArrays();
    // Sorted Idx of every item (repeats kept) and the same without repeats;
    // declared before the store, whose items drop it while they are freed.
    mutable std::vector<Integer> FHiddenRowLookup, FHiddenRowDistinct;
    mutable bool FHiddenRowLookupValid = false;
    std::unique_ptr<TCollection> FGridItems = std::make_unique<TOwnedCollection>(this, CollectionItemClass<TGridItem>());
    Integer FFilterLevel = 0;
    // Per real column: visible, and the width it had when hidden.
    std::vector<bool> FVisibleCol;
    std::vector<Integer> FAllColWidths;
    Integer FNumHidden = 0;
    std::unique_ptr<TIntList> FSuppressColSizes = std::make_unique<TIntList>(0, 0);
    std::unique_ptr<TIntList> FSuppressRowSizes = std::make_unique<TIntList>(0, 0);

    // === state: inserting, removing and moving rows ===
    // The quick removal of RemoveRowsEx; Renumber renumbers the hidden-row
    // items below the rows.
    void RemoveRowsCore(Integer RowIndex, Integer RCount, bool Renumber);
    // Frees the property blocks (with their graphics) that the rows hold in
    // any column and empties the rows.
    void DiscardRows(Integer RowIndex, Integer RCount);
    void DiscardRowList(const std::vector<Integer>& Rows);
    // Whether the floating footer holds the last row, and the fixed footer
    // rows, as the row operations see them.
    bool FooterRowShown() const;
    Integer FooterRows() const;
    void MoveControlRows(Integer FromRow, Integer Delta);
    std::unique_ptr<TIntList> FModifiedRows = std::make_unique<TIntList>(0, 0);
    std::unique_ptr<TList> FRowSelect = std::make_unique<TList>();
    bool FUseEnabledRows = false;

    // === state: inserting, removing and moving columns, column order ===

    // === state: clearing, trimming, colouring ranges, used cells, save range ===

    // === state: dimensions, fixed and footer rows, simple properties ===

    // === state: cell selection, listeners, change notification, combo list ===

    // === state: cell accessors and rich text ===

    TColor FQelGradFrom = clNone, FQelGradTo = clNone, FQelGradMirrorFrom = clNone, FQelGradMirrorTo = clNone;
    TColor FQelGradHoverFrom = clNone, FQelGradHoverTo = clNone, FQelGradHoverMirrorFrom = clNone,
           FQelGradHoverMirrorTo = clNone, FQelGradHoverBorder = clNone;
    TColor FQelGradDownFrom = clNone, FQelGradDownTo = clNone, FQelGradDownMirrorFrom = clNone,
           FQelGradDownMirrorTo = clNone, FQelGradDownBorder = clNone;

private:
    std::unique_ptr<TSearchFooter> FSearchFooter;
    std::unique_ptr<TNavigation> FNavigation;
    std::unique_ptr<TMouseActions> FMouseActions;
    std::unique_ptr<TControlLook> FControlLook;
    std::unique_ptr<TBackGround> FBackGround;
    std::unique_ptr<TGrouping> FGrouping;
    std::unique_ptr<TBalloonSettings> FBalloon;
    std::unique_ptr<TShowModified> FShowModified;
    std::unique_ptr<TDragScrollOptions> FDragScrollOptions;
    std::unique_ptr<TGridProgressAppearance> FProgressAppearance;
    std::unique_ptr<TAutoColor> FAutoColor;
    std::unique_ptr<THoverButtons> FHoverButtons;
};
