// GridDropDown: a drop-down edit whose window hosts a full string grid, so
// the list can sort, filter, show nodes, balloons, a search footer, cell
// editors and every grid event. The rows come from the drop-down's own
// Items (UseItems) or from whatever the application puts into the grid.
// The drop-down re-publishes the grid's events as its OnGrid events, each
// through one virtual dispatcher.
//
// A row and its item stay linked through the object of column 0 (the
// item's index; -1 in the header), so sorting the list keeps the choice.
// ItemIndex is always an item index with UseItems and a data row less
// FixedRows without; the grid row that shows a choice is found from it.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "controls/dropdown/MultiColumnDropDown.h"
#include "controls/grid/VodGrid.h"

class TCustomVodGridDropDown;

namespace GridDropDownList {

// The column definitions are the multi-column list's (same properties,
// initial values and Assign).
using MultiColDropDown::ctImage;
using MultiColDropDown::ctText;
using TDropDownColumn = MultiColDropDown::TDropDownColumn;
using TDropDownColumns = MultiColDropDown::TDropDownColumns;

class TDropDownItem : public TCollectionItem {
    VEL_CLASS(TDropDownItem, TCollectionItem)
public:
    explicit TDropDownItem(TCollection* Collection);
    ~TDropDownItem() override;
    // Copies ImageIndex and Text.
    void Assign(TPersistent* Source) override;

    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer v) { FImageIndex = v; }
    // One string per column.
    TStringList* Text() const { return FText.get(); }
    void SetText(TStrings* v);
    // The string of a column; empty when the item has none there.
    String ColumnText(Integer Column) const;

private:
    Integer FImageIndex = -1;
    std::unique_ptr<TStringList> FText;
};

class TDropDownItems : public TOwnedCollection {
    VEL_CLASS(TDropDownItems, TOwnedCollection)
public:
    explicit TDropDownItems(TPersistent* AOwner) : TOwnedCollection(AOwner, CollectionItemClass<TDropDownItem>()) {}
    TDropDownItem* Add() { return static_cast<TDropDownItem*>(TCollection::Add()); }
    TDropDownItem* Insert(Integer Index) { return static_cast<TDropDownItem*>(TCollection::Insert(Index)); }
    TDropDownItem* Items(Integer Index) const { return static_cast<TDropDownItem*>(TCollection::Items(Index)); }
    TNotifyEvent OnChange;

protected:
    void Update(TCollectionItem*) override
    {
        if (OnChange) OnChange(this);
    }
};

// (Sender, Column, Row, var Text).
using TGetCellTextEvent = MultiColDropDown::TGetCellTextEvent;
using TDrawCellItemEvent = MultiColDropDown::TDrawCellItemEvent;
using TGetCellPropEvent = MultiColDropDown::TGetCellPropEvent;

// The list of the drop-down window: a full string grid.
class TVodColGrid : public TVodStringGrid {
    VEL_CLASS(TVodColGrid, TVodStringGrid)
public:
    explicit TVodColGrid(TComponent* AOwner);
    ~TVodColGrid() override;

    TDropDownColumns* Columns() const { return FColumns.get(); }
    void SetColumns(TDropDownColumns* v) { FColumns->Assign(v); }
    TColor LineColor = TColor(0x808080);
    TColor FixedLineColor = TColor(0x808080);
    TColor HeaderColor = clWhite;
    TColor HeaderColorTo = TColor(0x808080);
    Integer HeaderHeight = 25;
    TFont* HeaderFont() const { return FHeaderFont.get(); }
    // The list's own line width; writing it sets the grid's to 0.
    Integer OwnGridLineWidth() const { return FOwnGridLineWidth; }
    void SetOwnGridLineWidth(Integer v);
    TCustomImageList* Images = nullptr;
    TCustomVodGridDropDown* DropDown = nullptr;

    bool ConfirmSelection() const { return FConfirm; }
    void SetConfirmSelection(bool v) { FConfirm = v; }
    bool WheelSelection() const { return FWheelSel; }
    // The row current at the last mouse press.
    Integer MouseRow() const { return FMouseRow; }

    TGetCellTextEvent OnGetCellText;
    TDrawCellItemEvent OnDrawCell;
    TGetCellPropEvent OnGetCellProp;
    // A row taken: a left click on a data row that is no check-box cell, or
    // Enter.
    TNotifyEvent OnSelect;

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    void Dispatch(TMessage& Message) override;

private:
    friend class ::TCustomVodGridDropDown;
    std::unique_ptr<TDropDownColumns> FColumns;
    std::unique_ptr<TFont> FHeaderFont;
    Integer FOwnGridLineWidth = 1;
    Integer FMouseRow = -1;
    bool FWheelSel = false;
    bool FConfirm = false;
};

}  // namespace GridDropDownList

enum TLookupMethod : Byte { lmLookup, lmNarrowDown, lmNone };
enum TDropDownStyle : Byte { dsDropDown, dsDropDownList };
enum TGridSorting : Byte { gsNone, gsSingleColumn, gsMultiColumn };

class TCustomVodGridDropDown : public TVodCustomDropDown {
    VEL_CLASS(TCustomVodGridDropDown, TVodCustomDropDown)
public:
    using TDropDownColumns = GridDropDownList::TDropDownColumns;
    using TDropDownItems = GridDropDownList::TDropDownItems;
    using TVodColGrid = GridDropDownList::TVodColGrid;
    using TGridEditPropEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, TObject* AEditLink)>;
    using TGridRowEvent = std::function<void(TObject* Sender, Integer ARow)>;
    using TGridColEvent = std::function<void(TObject* Sender, Integer ACol)>;
    using TGridCanDeleteRowEvent = std::function<void(TObject* Sender, Integer ARow, bool& CanDelete)>;

    explicit TCustomVodGridDropDown(TComponent* AOwner);
    ~TCustomVodGridDropDown() override;

    // --- Properties shared with the multi-column list ----------------------
    TDropDownColumns* Columns() const { return FColumns.get(); }
    void SetColumns(TDropDownColumns* v) { FColumns->Assign(v); }
    TDropDownItems* Items() const { return FItems; }
    void SetItems(TDropDownItems* v) { FItems->Assign(v); }
    Integer ItemIndex() const { return FItemIndex; }
    void SetItemIndex(Integer v);
    Integer LookupColumn() const { return FLookupColumn; }
    void SetLookupColumn(Integer v) { FLookupColumn = v; }
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool v) { FCaseSensitive = v; }
    TColor HeaderColor() const { return FHeaderColor; }
    void SetHeaderColor(TColor v) { FHeaderColor = v; }
    TColor HeaderColorTo() const { return FHeaderColorTo; }
    void SetHeaderColorTo(TColor v) { FHeaderColorTo = v; }
    Integer HeaderHeight() const { return FHeaderHeight; }
    void SetHeaderHeight(Integer v) { FHeaderHeight = v; }
    TFont* HeaderFont() const { return FHeaderFont.get(); }
    void SetHeaderFont(TFont* v) { FHeaderFont->Assign(v); }
    TColor LineColor() const { return FLineColor; }
    void SetLineColor(TColor v) { FLineColor = v; }
    TColor FixedLineColor() const { return FFixedLineColor; }
    void SetFixedLineColor(TColor v) { FFixedLineColor = v; }
    TColor SelectionTextColor() const { return FSelectionTextColor; }
    void SetSelectionTextColor(TColor v) { FSelectionTextColor = v; }
    bool ColumnSizing() const { return FColumnSizing; }
    void SetColumnSizing(bool v) { FColumnSizing = v; }
    bool ColumnSizeWithDropDown() const { return FColumnSizeWithDropDown; }
    void SetColumnSizeWithDropDown(bool v) { FColumnSizeWithDropDown = v; }
    bool DropDownAutoWidth() const { return FDropDownAutoWidth; }
    void SetDropDownAutoWidth(bool v) { FDropDownAutoWidth = v; }
    Integer DropDownRowHeight() const { return FDropDownRowHeight; }
    void SetDropDownRowHeight(Integer v) { FDropDownRowHeight = v; }
    Integer RowCount() const { return FItems->Count(); }
    bool MatchCase() const { return FMatchCase; }
    void SetMatchCase(bool v) { FMatchCase = v; }
    bool MatchStart() const { return FMatchStart; }
    void SetMatchStart(bool v) { FMatchStart = v; }

    // --- The grid's own ---------------------------------------------------
    bool UseItems() const { return FUseItems; }
    void SetUseItems(bool v) { FUseItems = v; }
    TLookupMethod LookupMethod() const { return FLookupMethod; }
    void SetLookupMethod(TLookupMethod v) { FLookupMethod = v; }
    TDropDownStyle Style() const { return FStyle; }
    // dsDropDown makes the editor enabled, dsDropDownList disabled.
    void SetStyle(TDropDownStyle v);
    bool ColumnMoving() const { return FColumnMoving; }
    void SetColumnMoving(bool v) { FColumnMoving = v; }
    bool RowSizing() const { return FRowSizing; }
    void SetRowSizing(bool v) { FRowSizing = v; }
    bool RowMoving() const { return FRowMoving; }
    void SetRowMoving(bool v) { FRowMoving = v; }
    bool RowSelect() const { return FRowSelect; }
    void SetRowSelect(bool v) { FRowSelect = v; }
    bool GridEditable() const { return FGridEditable; }
    void SetGridEditable(bool v) { FGridEditable = v; }
    TCustomImageList* GridImages() const { return FGridImages; }
    void SetGridImages(TCustomImageList* v);
    TGridSorting Sorting() const { return FSorting; }
    void SetSorting(TGridSorting v) { FSorting = v; }
    bool AutoSizeColumns() const { return FAutoSizeColumns; }
    void SetAutoSizeColumns(bool v) { FAutoSizeColumns = v; }
    bool AutoShowDropDown() const { return FAutoShowDropDown; }
    void SetAutoShowDropDown(bool v) { FAutoShowDropDown = v; }
    bool HoverRow() const { return FHoverRow; }
    void SetHoverRow(bool v) { FHoverRow = v; }
    TColor HoverRowColor() const { return FHoverRowColor; }
    void SetHoverRowColor(TColor v) { FHoverRowColor = v; }
    TColor HoverRowColorTo() const { return FHoverRowColorTo; }
    void SetHoverRowColorTo(TColor v) { FHoverRowColorTo = v; }
    TSearchFooter* SearchFooter() const { return FSearchFooter.get(); }
    void SetSearchFooter(TSearchFooter* v) { FSearchFooter->Assign(v); }
    TMouseActions* MouseActions() const { return FMouseActions.get(); }
    void SetMouseActions(TMouseActions* v) { FMouseActions->Assign(v); }
    TNavigation* Navigation() const { return FNavigation.get(); }
    void SetNavigation(TNavigation* v) { FNavigation->Assign(v); }
    TBands* Bands() const { return FBands.get(); }
    void SetBands(TBands* v) { FBands->Assign(v); }

    TVodColGrid* Grid() const { return FGrid; }
    const String& LookupEntry() const { return FLookupEntry; }
    // One lookup text per item at the last rebuild.
    const std::vector<String>& LookupList() const { return FLookupList; }
    // The grid row remembered as selected.
    Integer SelectedRow() const { return FSelectedRow; }

    // The item a grid row shows (the row number itself beyond the rows or
    // without a grid), and the first data row showing an item (-1: none).
    Integer ItemOfRow(Integer Row) const;
    Integer RowOfItem(Integer Item) const;

    // BeginUpdate does nothing; EndUpdate rebuilds the lookup list.
    void BeginUpdate() {}
    void EndUpdate() { BuildLookupList(); }
    void Loaded() override;

    TNotifyEvent OnSelect;

    // --- The grid's events, re-published --------------------------------
    TAnchorClickEvent OnGridAnchorClick;
    TAnchorEvent OnGridAnchorEnter, OnGridAnchorExit;
    TAnchorHintEvent OnGridAnchorHint;
    TButtonClickEvent OnGridButtonClick;
    TCanSortEvent OnGridCanSort;
    TClickSortEvent OnGridClickSort;
    TCustomCompareEvent OnGridCustomCompare;
    TRawCompareEvent OnGridRawCompare;
    TColumnSizeEvent OnGridColumnSize;
    TColumnSizingEvent OnGridColumnSizing;
    TEndColumnSizeEvent OnGridEndColumnSize;
    TRowSizeEvent OnGridRowSize;
    TRowSizingEvent OnGridRowSizing;
    TEndRowSizeEvent OnGridEndRowSize;
    TRowSizeEvent OnGridRowMove, OnGridRowMoving;
    TMovedEvent OnGridRowMoved;
    TColumnSizeEvent OnGridColumnMove, OnGridColumnMoving;
    TMovedEvent OnGridColumnMoved;
    TCustomCellDrawEvent OnGridCustomCellDraw, OnGridCustomCellBkgDraw;
    TGridBalloonEvent OnGridCellBalloon;
    TGridAlignEvent OnGridGetAlignment;
    TGridColorEvent OnGridGetCellColor;
    TGridGradientEvent OnGridGetCellGradient;
    TFloatFormatEvent OnGridGetFloatFormat;
    TGetEditorTypeEvent OnGridGetEditorType;
    TGridEditPropEvent OnGridGetEditorProp;
    TCanEditCellEvent OnGridCanEditCell;
    TEllipsClickEvent OnGridEllipsClick;
    TGetDisplTextEvent OnGridGetDiplText;
    TGridFormatEvent OnGridGetFormat;
    TGridHintEvent OnGridHint;
    TOfficeHintEvent OnGridOfficeHint;
    TMouseMoveEvent OnGridMouseMove;
    TMouseEvent OnGridMouseDown, OnGridMouseUp;
    TKeyEvent OnGridKeyDown, OnGridKeyUp;
    TKeyPressEvent OnGridKeyPress;
    TClickCellEvent OnGridRightClickCell;
    TScrollHintEvent OnGridScrollHint;
    TNotifyEvent OnGridTopLeftChanged;
    TSearchEditChangeEvent OnGridSearchEditChange;
    TSpinClickEvent OnGridSpinClick;
    TGridRowEvent OnGridAutoAddRow, OnGridInsertRow, OnGridDeleteRow;
    TGridColEvent OnGridInsertCol;
    TCanAddRowEvent OnGridCanAddRow;
    TCanInsertRowEvent OnGridCanInsertRow;
    TGridCanDeleteRowEvent OnGridCanDeleteRow;
    TCheckBoxClickEvent OnGridCheckBoxClick;

    // --- Overrides of the base ------------------------------------------
    Integer GetVersionNr() override;
    void CreateDropDownForm() override;
    void PlaceDropDownControl() override;
    void DoBeforeDropDown() override;
    void AdjustDropDownSize(Integer& Height) override;
    void DoShowDropDown() override;
    void SizeDropDownForm() override;
    void DoHideDropDown(bool Cancelled) override;
    void FormSizing() override;
    void HandleMouseWheelDown() override;
    void HandleMouseWheelUp() override;
    void ControlKeyDown(Word& Key, TShiftState Shift) override;
    void ControlKeyUp(Word& Key, TShiftState Shift) override;
    void ControlKeyPress(wchar_t& Key) override;
    void SetSelectionColorStyle(TSelectionColorStyle AStyle) override;
    void SetComponentStyle(TQelStyle AStyle) override;
    virtual TDropDownItems* CreateItems();

    // --- The dispatchers, in their slot order ---------------------------
    virtual void DoGridAnchorClick(TObject* Sender, Integer ARow, Integer ACol, const String& Anchor, bool& AutoHandle);
    virtual void DoGridAnchorEnter(TObject* Sender, Integer ARow, Integer ACol, const String& Anchor);
    virtual void DoGridAnchorExit(TObject* Sender, Integer ARow, Integer ACol, const String& Anchor);
    virtual void DoGridAnchorHint(TObject* Sender, Integer ARow, Integer ACol, String& Anchor);
    virtual void DoGridButtonClick(TObject* Sender, Integer ACol, Integer ARow);
    virtual void DoGridCanSort(TObject* Sender, Integer ACol, bool& DoSort);
    virtual void DoGridClickSort(TObject* Sender, Integer ACol);
    virtual void DoGridCustomCompare(TObject* Sender, const String& Str1, const String& Str2, Integer& Res);
    virtual void DoGridRawCompare(TObject* Sender, Integer ACol, Integer Row1, Integer Row2, Integer& Res);
    virtual void DoGridColumnSize(TObject* Sender, Integer ACol, bool& Allow);
    virtual void DoGridColumnSizing(TObject* Sender, Integer ACol, Integer ColumnSize);
    virtual void DoGridEndColumnSize(TObject* Sender, Integer ACol);
    virtual void DoGridRowSize(TObject* Sender, Integer ARow, bool& Allow);
    virtual void DoGridRowSizing(TObject* Sender, Integer ARow, Integer RowSize);
    virtual void DoGridEndRowSize(TObject* Sender, Integer ARow);
    virtual void DoGridRowMove(TObject* Sender, Integer ARow, bool& Allow);
    virtual void DoGridRowMoving(TObject* Sender, Integer ARow, bool& Allow);
    virtual void DoGridRowMoved(TObject* Sender, Integer FromIndex, Integer ToIndex);
    virtual void DoGridColumnMove(TObject* Sender, Integer ACol, bool& Allow);
    virtual void DoGridColumnMoving(TObject* Sender, Integer ACol, bool& Allow);
    virtual void DoGridColumnMoved(TObject* Sender, Integer FromIndex, Integer ToIndex);
    virtual void DoGridCustomCellDraw(TObject* Sender, TCanvas* Canvas, Integer ACol, Integer ARow,
                                      TGridDrawState AState, TRect ARect, bool Printing);
    virtual void DoGridCustomCellBkgDraw(TObject* Sender, TCanvas* Canvas, Integer ACol, Integer ARow,
                                         TGridDrawState AState, TRect ARect, bool Printing);
    virtual void DoGridCellBalloon(TObject* Sender, Integer ACol, Integer ARow, String& ATitle, String& AText,
                                   Integer& AIcon);
    virtual void DoGridGetAlignment(TObject* Sender, Integer ARow, Integer ACol, TAlignment& HAlign,
                                    TVAlignment& VAlign);
    virtual void DoGridGetCellColor(TObject* Sender, Integer ARow, Integer ACol, TGridDrawState AState, TBrush* ABrush,
                                    TFont* AFont);
    virtual void DoGridGetCellGradient(TObject* Sender, Integer ARow, Integer ACol, TColor& Color, TColor& ColorTo,
                                       TColor& ColorMirror, TColor& ColorMirrorTo, TCellGradientDirection& GD);
    virtual void DoGridGetFloatFormat(TObject* Sender, Integer ACol, Integer ARow, bool& IsFloat,
                                      String& FloatFormat);
    virtual void DoGridGetEditorType(TObject* Sender, Integer ACol, Integer ARow, TEditorType& AEditor);
    virtual void DoGridGetEditorProp(TObject* Sender, Integer ACol, Integer ARow, TObject* AEditLink);
    virtual void DoGridCanEditCell(TObject* Sender, Integer ARow, Integer ACol, bool& CanEdit);
    virtual void DoGridEllipsClick(TObject* Sender, Integer ACol, Integer ARow, String& S);
    virtual void DoGridGetDisplText(TObject* Sender, Integer ACol, Integer ARow, String& Value);
    virtual void DoGridGetFormat(TObject* Sender, Integer ACol, TSortStyle& AStyle, String& APrefix,
                                 String& ASuffix);
    virtual void DoGridHint(TObject* Sender, Integer ARow, Integer ACol, String& HintStr);
    virtual void DoGridOfficeHint(TObject* Sender, Integer ACol, Integer ARow, TVodHintInfo* OfficeHint);
    virtual void DoGridMouseMove(TObject* Sender, TShiftState Shift, Integer X, Integer Y);
    virtual void DoGridMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
    virtual void DoGridMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
    virtual void DoGridKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
    virtual void DoGridKeyUp(TObject* Sender, Word& Key, TShiftState Shift);
    virtual void DoGridKeyPress(TObject* Sender, wchar_t& Key);
    virtual void DoGridRightClickCell(TObject* Sender, Integer ARow, Integer ACol);
    virtual void DoGridScrollHint(TObject* Sender, Integer ARow, String& HintStr);
    virtual void DoGridTopLeftChanged(TObject* Sender);
    virtual void DoGridSearchEditChange(TObject* Sender, const String& Value, bool& DefaultSearch);
    virtual void DoGridSpinClick(TObject* Sender, Integer ACol, Integer ARow, Integer AValue, bool UpDown);
    virtual void DoGridAutoAddRow(TObject* Sender, Integer ARow);
    virtual void DoGridAutoInsertRow(TObject* Sender, Integer ARow);
    virtual void DoGridAutoInsertCol(TObject* Sender, Integer ACol);
    virtual void DoGridAutoDeleteRow(TObject* Sender, Integer ARow);
    virtual void DoGridCanAddRow(TObject* Sender, bool& CanAdd);
    virtual void DoGridCanInsertRow(TObject* Sender, Integer ARow, bool& CanInsert);
    virtual void DoGridCanDeleteRow(TObject* Sender, Integer ARow, bool& CanDelete);

    // The column widths fitted to the window (the multi-column list's rule).
    void FitColumnWidths();

protected:
    void Change() override;
    void DoEnter() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void KeyPress(wchar_t& Key) override;
    void WMKeyDown(TMessage& M) override;
    void WMChar(TMessage& M) override;

private:
    friend class GridDropDownList::TVodColGrid;
    void BuildLookupList();
    void PrepareList();
    void FillCells();
    void WireGridEvents();
    void AutoSizeItemColumns();
    void WordWrapRowHeights();
    bool AllRowsVisible();
    // The lookup text of an item, of a grid row (empty when it has none).
    String LookupText(Integer Item) const;
    String RowLookupText(Integer Row) const;
    String CaseAdjust(const String& S) const;
    const MultiColDropDown::TLookupIndex& Index();
    // The first item or data row starting with Key (case per
    // CaseSensitive); -1.
    Integer FindItem(const String& Key);
    Integer FindRow(const String& Key) const;
    // The typing of one character; answers the grid row that shows the
    // match (-1: none).
    Integer TypeLookup(wchar_t C);
    // The closed-list moves; to an item, its row made current.
    void MoveTo(Integer Item, Integer Row);
    void MoveBy(Integer Delta);
    // Runs a dispatcher with the window's BlockActivate set.
    template <class F>
    void Blocked(F&& f);
    void ListSelectCell(Integer ACol, Integer ARow, bool& CanSelect);
    void ListSelect(TObject* Sender);
    void ShowGridRow(Integer Row);

    std::unique_ptr<TFont> FHeaderFont;
    std::unique_ptr<TDropDownColumns> FColumns;
    TDropDownItems* FItems = nullptr;  // owned (made by CreateItems)
    std::unique_ptr<TSearchFooter> FSearchFooter;
    std::unique_ptr<TMouseActions> FMouseActions;
    std::unique_ptr<TNavigation> FNavigation;
    std::unique_ptr<TBands> FBands;
    TVodColGrid* FGrid = nullptr;
    Integer FItemIndex = -1;
    Integer FLookupColumn = 0;
    bool FCaseSensitive = false;
    TColor FHeaderColor = clWhite, FHeaderColorTo = TColor(0x808080);
    Integer FHeaderHeight = 25;
    TColor FLineColor = TColor(0xF1EDEB), FFixedLineColor = TColor(0xD1BBA4);
    TColor FSelectionTextColor = clBlack;
    bool FColumnSizing = false;
    bool FColumnSizeWithDropDown = true;
    bool FDropDownAutoWidth = true;
    Integer FDropDownRowHeight = 22;
    bool FMatchCase = false;
    bool FMatchStart = true;
    bool FUseItems = true;
    TLookupMethod FLookupMethod = lmLookup;
    TDropDownStyle FStyle = dsDropDown;
    bool FColumnMoving = false, FRowSizing = false, FRowMoving = false;
    bool FRowSelect = true;
    bool FGridEditable = false;
    TCustomImageList* FGridImages = nullptr;
    TGridSorting FSorting = gsNone;
    bool FAutoSizeColumns = true;
    bool FAutoShowDropDown = false;
    bool FHoverRow = false;
    TColor FHoverRowColor = clInfoBk, FHoverRowColorTo = clNone;

    std::vector<String> FLookupList;
    MultiColDropDown::TLookupIndex FIndex;
    String FLookupEntry;
    Integer FOldIndex = -1;
    Integer FSelectedRow = -1;
    Integer FSortItem = -1;
    Integer FCompItem = -1, FCompLen = 0;
    bool FCompPending = false;
    bool FWorkMode = true;
    bool FInChange = false;
    bool FFilling = false;
    bool FNodeClick = false;
    bool FBalloonReinit = false;
};

// The published grid drop-down.
class TVodGridDropDown : public TCustomVodGridDropDown {
    VEL_CLASS(TVodGridDropDown, TCustomVodGridDropDown)
public:
    explicit TVodGridDropDown(TComponent* AOwner) : TCustomVodGridDropDown(AOwner) {}
};
