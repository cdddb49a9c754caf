// MultiColumnDropDown: a drop-down edit whose window lists items in several
// columns under a header row, drawn by its own small string grid
// (TVodColGrid). The lookup column gives the text the edit shows; typing in
// the edit completes from it, and typing in the open list jumps to the
// first item that starts with what was typed.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "controls/dropdown/VodDropDown.h"
#include "platform/ui/Grids.h"

class TVodMultiColumnDropDown;

namespace MultiColDropDown {

enum TColumnType : Byte { ctText, ctImage };

class TDropDownColumn : public TCollectionItem {
    VEL_CLASS(TDropDownColumn, TCollectionItem)
public:
    explicit TDropDownColumn(TCollection* Collection);
    ~TDropDownColumn() override;
    void Assign(TPersistent* Source) override;

    Integer Width() const { return FWidth; }
    void SetWidth(Integer v) { FWidth = v; }
    TColor Color() const { return FColor; }
    void SetColor(TColor v) { FColor = v; }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v) { FAlignment = v; }
    bool Ellipsis() const { return FEllipsis; }
    void SetEllipsis(bool v) { FEllipsis = v; }
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* v) { FFont->Assign(v); }
    TColumnType ColumnType() const { return FColumnType; }
    void SetColumnType(TColumnType v) { FColumnType = v; }
    const String& Header() const { return FHeader; }
    void SetHeader(const String& v) { FHeader = v; }
    bool Wordwrap() const { return FWordwrap; }
    void SetWordwrap(bool v) { FWordwrap = v; }
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool v) { FAutoSize = v; }

private:
    Integer FWidth = 80;
    TColor FColor = clWhite;
    TAlignment FAlignment = taLeftJustify;
    bool FEllipsis = false;
    std::unique_ptr<TFont> FFont;
    TColumnType FColumnType = ctText;
    String FHeader;
    bool FWordwrap = false;
    bool FAutoSize = false;
};

class TDropDownColumns : public TOwnedCollection {
    VEL_CLASS(TDropDownColumns, TOwnedCollection)
public:
    explicit TDropDownColumns(TPersistent* AOwner)
        : TOwnedCollection(AOwner, CollectionItemClass<TDropDownColumn>()) {}
    TDropDownColumn* Add() { return static_cast<TDropDownColumn*>(TCollection::Add()); }
    TDropDownColumn* Insert(Integer Index) { return static_cast<TDropDownColumn*>(TCollection::Insert(Index)); }
    TDropDownColumn* Items(Integer Index) const { return static_cast<TDropDownColumn*>(TCollection::Items(Index)); }
    TNotifyEvent OnChange;

protected:
    void Update(TCollectionItem*) override
    {
        if (OnChange) OnChange(this);
    }
};

class TDropDownItem : public TCollectionItem {
    VEL_CLASS(TDropDownItem, TCollectionItem)
public:
    explicit TDropDownItem(TCollection* Collection);
    ~TDropDownItem() override;
    void Assign(TPersistent* Source) override;

    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer v) { FImageIndex = v; }
    // One string per column.
    TStringList* Text() const { return FText.get(); }
    void SetText(TStrings* v);
    Integer Tag() const { return FTag; }
    void SetTag(Integer v) { FTag = v; }
    // The string of a column; empty when the item has none there.
    String ColumnText(Integer Column) const;

private:
    Integer FImageIndex = -1;
    std::unique_ptr<TStringList> FText;
    Integer FTag = 0;
};

class TDropDownItems : public TOwnedCollection {
    VEL_CLASS(TDropDownItems, TOwnedCollection)
public:
    explicit TDropDownItems(TPersistent* AOwner) : TOwnedCollection(AOwner, CollectionItemClass<TDropDownItem>()) {}
    TDropDownItem* Add() { return static_cast<TDropDownItem*>(TCollection::Add()); }
    TDropDownItem* Insert(Integer Index) { return static_cast<TDropDownItem*>(TCollection::Insert(Index)); }
    TDropDownItem* Items(Integer Index) const { return static_cast<TDropDownItem*>(TCollection::Items(Index)); }
    // The first item whose text in Column equals Value exactly (items
    // without that column skipped); -1 when none.
    Integer IndexInColumn(Integer Column, const String& Value) const;
    TNotifyEvent OnChange;

protected:
    void Update(TCollectionItem*) override
    {
        if (OnChange) OnChange(this);
    }
};

// (Sender, Column, Row, var Text).
using TGetCellTextEvent = std::function<void(TObject* Sender, Integer Column, Integer Row, String& Text)>;
// (Sender, Column, Row, Rect, Canvas).
using TDrawCellItemEvent =
    std::function<void(TObject* Sender, Integer Column, Integer Row, TRect Rect, TCanvas* Canvas)>;
// (Sender, Column, Row, Font, var Color, var Alignment): published, never fired.
using TGetCellPropEvent =
    std::function<void(TObject* Sender, Integer Column, Integer Row, TFont* Font, TColor& Color, TAlignment& Align)>;

// The list of the drop-down window, on the platform's string grid.
class TVodColGrid : public TStringGrid {
    VEL_CLASS(TVodColGrid, TStringGrid)
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
    // The list's own line width (the platform grid's stays 0).
    Integer OwnGridLineWidth = 1;
    TCustomImageList* Images = nullptr;
    TVodMultiColumnDropDown* DropDown = nullptr;

    bool ConfirmSelection() const { return FConfirm; }
    void SetConfirmSelection(bool v) { FConfirm = v; }
    bool WheelSelection() const { return FWheelSel; }

    TGetCellTextEvent OnGetCellText;
    TDrawCellItemEvent OnDrawCell;
    TGetCellPropEvent OnGetCellProp;
    TNotifyEvent OnSelect;

    // The grid's state while a button is down.
    TGridState State() const { return FGridState; }

protected:
    void DrawCell(Integer ACol, Integer ARow, const TRect& ARect, TGridDrawState AState) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    void Dispatch(TMessage& Message) override;

private:
    friend class ::TVodMultiColumnDropDown;
    std::unique_ptr<TDropDownColumns> FColumns;
    std::unique_ptr<TFont> FHeaderFont;
    Integer FMouseRow = -1;
    bool FWheelSel = false;
    bool FConfirm = false;
};

// The lookup texts with an index for prefix searches: the first item in
// list order whose text starts with a prefix, in logarithmic time.
class TLookupIndex {
public:
    void Build(const std::vector<String>& Texts, bool CaseSensitive);
    // The smallest item index whose (case-adjusted) text starts with Key
    // (already case-adjusted); -1 when none.
    Integer First(const String& Key) const;
    bool Built() const { return FBuilt; }
    bool CaseSensitive() const { return FCaseSensitive; }
    void Clear();

private:
    std::vector<String> FKeys;        // case-adjusted texts, by item
    std::vector<Integer> FOrder;      // item indexes sorted by key
    std::vector<std::vector<Integer>> FMin;  // range minima over FOrder
    bool FBuilt = false;
    bool FCaseSensitive = false;
};

// One row of the list drop-downs' style table (colours as 0xBBGGRR;
// ListStyleKeep: the value stays as it is).
constexpr TColor ListStyleKeep = TColor(0x2FFFFFFF);
struct TListStyleRow {
    TColor Header, HeaderTo, Font;
    TSelectionColorStyle Sel;
    TColor Line, FixedLine, Selection, SelText;
};
// The row of a style (tsCustom is never asked for).
TListStyleRow ListStyleRow(TQelStyle AStyle);

}  // namespace MultiColDropDown

class TVodMultiColumnDropDown : public TVodCustomDropDown {
    VEL_CLASS(TVodMultiColumnDropDown, TVodCustomDropDown)
public:
    using TDropDownColumns = MultiColDropDown::TDropDownColumns;
    using TDropDownItems = MultiColDropDown::TDropDownItems;
    using TVodColGrid = MultiColDropDown::TVodColGrid;
    // (Sender, Column, Row, var Text).
    using TGetItemTextEvent = std::function<void(TObject* Sender, Integer Column, Integer Row, String& Text)>;
    // (Sender, Column, Row, Rect, Canvas).
    using TDrawItemEvent =
        std::function<void(TObject* Sender, Integer Column, Integer Row, TRect Rect, TCanvas* Canvas)>;

    explicit TVodMultiColumnDropDown(TComponent* AOwner);
    ~TVodMultiColumnDropDown() override;

    TDropDownColumns* Columns() const { return FColumns.get(); }
    void SetColumns(TDropDownColumns* v) { FColumns->Assign(v); }
    TDropDownItems* Items() const { return FItems.get(); }
    void SetItems(TDropDownItems* v) { FItems->Assign(v); }
    Integer ItemIndex() const { return FItemIndex; }
    void SetItemIndex(Integer v);
    Integer LookupColumn() const { return FLookupColumn; }
    void SetLookupColumn(Integer v);
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
    TVodColGrid* ListGrid() const { return FGrid; }
    const String& LookupEntry() const { return FLookupEntry; }
    // The lookup list: one text per item at the last rebuild.
    const std::vector<String>& LookupList() const { return FLookupList; }

    // The first item whose lookup text is Value; -1.
    Integer GetItemIndex(const String& Value);
    // BeginUpdate does nothing; EndUpdate rebuilds the lookup list.
    void BeginUpdate() {}
    void EndUpdate() { BuildLookupList(); }
    void Loaded() override;
    void Assign(TPersistent* Source) override;

    TNotifyEvent OnSelect;
    TGetItemTextEvent OnDropDownGetItemText;
    TDrawItemEvent OnDropDownDrawItem;
    MultiColDropDown::TGetCellPropEvent OnDropDownGetItemProp;

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

    // The column widths fitted to the window (ties of the rounding to even).
    void FitColumnWidths();

protected:
    void Change() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void KeyPress(wchar_t& Key) override;
    void WMKeyDown(TMessage& M) override;

private:
    friend class MultiColDropDown::TVodColGrid;
    void BuildLookupList();
    void FillList();
    void AutoSizeColumns();
    void WordWrapRowHeights();
    bool AllRowsVisible();
    // The lookup text of an item (empty when it has no such column).
    String LookupText(Integer Index) const;
    String CaseAdjust(const String& S) const;
    const MultiColDropDown::TLookupIndex& Index();
    void ShowRow(Integer Row);
    void ListSelectCell(Integer ACol, Integer ARow, bool& CanSelect);
    void ListSelect(TObject* Sender);

    std::unique_ptr<TFont> FHeaderFont;
    std::unique_ptr<TDropDownColumns> FColumns;
    std::unique_ptr<TDropDownItems> FItems;
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
    std::vector<String> FLookupList;
    MultiColDropDown::TLookupIndex FIndex;
    String FLookupEntry;
    Integer FOpenIndex = -1;   // at the opening (Esc restores it)
    Integer FOldIndex = -1;    // when the list was last filled
    Integer FCompItem = -1, FCompLen = 0;
    bool FCompPending = false;
    Integer FChangeSerial = 0;
    bool FWorkMode = true;
    bool FFilling = false;
};
