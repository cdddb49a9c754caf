// The class library's grids: TCustomGrid (layout, selection, scrolling,
// sizing and moving lines with the mouse, painting cell by cell, the inplace
// editor), TCustomDrawGrid/TDrawGrid (cells drawn by an event) and
// TStringGrid (a sparse store of texts and object pointers).
//
// Row heights and column widths are a default plus a few overrides with
// prefix sums over the overrides, so locating a row never walks the rows
// before it: a grid of a million rows scrolls, hit-tests and paints at its
// end as fast as at its start. Sources by family: Grids.cpp (layout,
// scrolling, selection), Grids_Input.cpp (keys, mouse, editor),
// Grids_Paint.cpp, Grids_Store.cpp (TStringGrid).
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/base/Exceptions.h"
#include "platform/base/Lists.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Mask.h"

VEL_DECLARE_EXCEPTION(EInvalidGridOperation, Exception)

struct TGridCoord {
    Integer X = 0, Y = 0;
    bool operator==(const TGridCoord&) const = default;
};

struct TGridRect {
    Integer Left = 0, Top = 0, Right = 0, Bottom = 0;
    TGridCoord TopLeft() const { return {Left, Top}; }
    TGridCoord BottomRight() const { return {Right, Bottom}; }
    bool operator==(const TGridRect&) const = default;
};

enum TGridDrawStateFlag { gdSelected, gdFocused, gdFixed };
using TGridDrawState = TSet<TGridDrawStateFlag>;

enum TGridOption {
    goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect, goDrawFocusSelected,
    goRowSizing, goColSizing, goRowMoving, goColMoving, goEditing, goTabs, goRowSelect,
    goAlwaysShowEditor, goThumbTracking
};
using TGridOptions = TSet<TGridOption>;

enum TGridState { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving };
enum TGridDrawingStyle { gdsClassic };

// The thumb of a grid's scroll bar runs from 0 to this; the positions map
// linearly onto the scrollable rows (columns).
constexpr Integer kGridThumbMax = 127;

// The first scrollable line (top row, left column) for a thumb position, or,
// with ToThumb, the thumb position of a first scrollable line. One mapping
// serves both bars and both directions: Count, Visible and Fixed are the
// axis's line count, fully visible lines and fixed lines.
Integer GridThumbMap(Integer Value, bool ToThumb, Integer Count, Integer Visible, Integer Fixed);

// One axis of a grid: line count, default extent, overrides and the grid
// line width. Positions are offsets from the start of line 0, each line
// followed by its grid line.
class TGridAxis {
public:
    Integer Count = 0;
    Integer DefaultExtent = 24;
    Integer LineWidth = 1;

    Integer Extent(Integer Index) const;
    void SetExtent(Integer Index, Integer Value);  // Value equal to the default drops the override
    void ResetExtents() { FOverrides.clear(); FDirty = true; }
    // Start of line Index (Index may equal Count).
    Int64 Start(Integer Index) const;
    // The line whose extent or grid line holds offset Pos (Pos >= 0); may be
    // Count or beyond when Pos lies past the last line.
    Integer IndexAt(Int64 Pos) const;
    // Moves the override of From to To, shifting those in between.
    void MoveExtent(Integer From, Integer To);
    bool HasOverrides() const { return !FOverrides.empty(); }
    // Structural changes in one pass over the overrides: the lines of a range
    // (or of an ascending list of distinct indices) leave and those after them
    // move up; or new lines of the default extent come in at Index (at the
    // ascending list of final indices) and the others move down.
    void DeleteLines(Integer Index, Integer Count);
    void InsertLines(Integer Index, Integer Count);
    void DeleteLineList(const std::vector<Integer>& Sorted);
    void InsertLineList(const std::vector<Integer>& Sorted);

private:
    void Rebuild() const;
    std::map<Integer, Integer> FOverrides;
    // Sorted overrides with the sum of (extent - default) of those before.
    struct TPrefix { Integer Index; Integer Extent; Int64 DeltaBefore; };
    mutable std::vector<TPrefix> FPrefix;
    mutable bool FDirty = false;
};

class TCustomGrid;

// The editor a grid shows over its current cell.
class TInplaceEdit : public TCustomMaskEdit {
    VEL_CLASS(TInplaceEdit, TCustomMaskEdit)
public:
    explicit TInplaceEdit(TComponent* AOwner);
    TCustomGrid* Grid() const { return FGrid; }
    void SetGrid(TCustomGrid* g) { FGrid = g; }
    // Places the editor on a cell rectangle (grid client coordinates).
    void Move(const TRect& Loc);
    // Text, mask and limit from the grid's current cell.
    virtual void UpdateContents();
    void Deselect();
    void Hide();
    void SetFocus() override;
    void WndProc(TMessage& Message) override;

protected:
    virtual void BoundsChanged();
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(wchar_t& Key) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void DoExit() override;
    // Passes a key on to the grid.
    void SendToParent(Word& Key, TShiftState Shift);

    TCustomGrid* FGrid = nullptr;
    friend class TCustomGrid;
};

using TSelectCellEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, bool& CanSelect)>;
using TDrawCellEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, TRect Rect, TGridDrawState State)>;
using TGetEditEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, String& Value)>;
using TSetEditEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, const String& Value)>;
using TMovedEvent = std::function<void(TObject* Sender, Integer FromIndex, Integer ToIndex)>;

class TCustomGrid : public TCustomControl {
    VEL_CLASS(TCustomGrid, TCustomControl)
public:
    explicit TCustomGrid(TComponent* AOwner);
    ~TCustomGrid() override;

    // Layout.
    Integer ColCount() const { return FCols.Count; }
    void SetColCount(Integer v);
    Integer RowCount() const { return FRows.Count; }
    void SetRowCount(Integer v);
    Integer FixedCols() const { return FFixedCols; }
    void SetFixedCols(Integer v);
    Integer FixedRows() const { return FFixedRows; }
    void SetFixedRows(Integer v);
    Integer DefaultColWidth() const { return FCols.DefaultExtent; }
    void SetDefaultColWidth(Integer v);   // drops every own column width
    Integer DefaultRowHeight() const { return FRows.DefaultExtent; }
    void SetDefaultRowHeight(Integer v);  // drops every own row height
    Integer ColWidths(Integer Index) const { return FCols.Extent(Index); }
    void SetColWidths(Integer Index, Integer v);
    Integer RowHeights(Integer Index) const { return FRows.Extent(Index); }
    void SetRowHeights(Integer Index, Integer v);
    Integer GridLineWidth() const { return FCols.LineWidth; }
    void SetGridLineWidth(Integer v);
    Integer LeftCol() const { return FTopLeft.X; }
    void SetLeftCol(Integer v);
    Integer TopRow() const { return FTopLeft.Y; }
    void SetTopRow(Integer v);
    Integer VisibleColCount();
    Integer VisibleRowCount();
    // The visible part of a cell in client coordinates; empty when the cell
    // does not show.
    TRect CellRect(Integer ACol, Integer ARow);
    void MouseToCell(Integer X, Integer Y, Integer& ACol, Integer& ARow);
    // -1, -1 outside the cells.
    TGridCoord MouseCoord(Integer X, Integer Y);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle v);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle v);
    TGridOptions Options() const { return FOptions; }
    void SetOptions(TGridOptions v);
    TGridDrawingStyle DrawingStyle() const { return gdsClassic; }
    bool DefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool v);
    TColor FixedColor() const { return FFixedColor; }
    void SetFixedColor(TColor v);
    TGridState GridState() const { return FGridState; }
    // Stops per-cell invalidation during bulk work (a descendant's update
    // bracket); the caller repaints at the end.
    bool Updating() const { return FUpdating; }
    void SetUpdating(bool v) { FUpdating = v; }

    // Selection.
    Integer Col() const { return FCurrent.X; }
    void SetCol(Integer v);
    Integer Row() const { return FCurrent.Y; }
    void SetRow(Integer v);
    TGridRect Selection() const;
    void SetSelection(const TGridRect& v);

    // Editing.
    bool EditorMode() const { return FEditorMode; }
    void SetEditorMode(bool v);
    TInplaceEdit* InplaceEditor() const { return FInplaceEdit; }

    // Scroll bar thumb <-> first scrollable line of either axis.
    Integer ThumbToLine(bool Vertical, Integer Thumb);
    Integer LineToThumb(bool Vertical, Integer Line);

    void InvalidateCell(Integer ACol, Integer ARow);
    void InvalidateRow(Integer ARow);
    void InvalidateCol(Integer ACol);
    void InvalidateGridRect(const TGridRect& R);
    void InvalidateGrid();

    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(wchar_t& Key) override;
    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
    // Scales the default and every own column width and row height by M/D.
    void ChangeScale(Integer M, Integer D) override;

    TNotifyEvent OnTopLeftChanged;
    TSelectCellEvent OnSelectCell;
    TDrawCellEvent OnDrawCell;
    TMovedEvent OnColumnMoved, OnRowMoved;

    // Edit text of a cell; the grid's editor reads and writes through these.
    virtual String GetEditText(Integer ACol, Integer ARow);
    virtual void SetEditText(Integer ACol, Integer ARow, const String& Value);

protected:
    friend class TInplaceEdit;
    virtual bool SelectCell(Integer ACol, Integer ARow);
    virtual void DrawCell(Integer ACol, Integer ARow, const TRect& ARect, TGridDrawState AState) = 0;
    void Paint() override;
    // Notifications.
    virtual void SizeChanged(Integer OldColCount, Integer OldRowCount) {}
    virtual void ColWidthsChanged();
    virtual void RowHeightsChanged();
    virtual void TopLeftChanged();
    virtual void ColumnMoved(Integer FromIndex, Integer ToIndex);
    virtual void RowMoved(Integer FromIndex, Integer ToIndex);
    // Lines.
    void MoveColumn(Integer FromIndex, Integer ToIndex);
    void MoveRow(Integer FromIndex, Integer ToIndex);
    virtual void DeleteColumn(Integer ACol);
    virtual void DeleteRow(Integer ARow);
    // Moves the current cell (and the anchor with MoveAnchor) and scrolls it in.
    void FocusCell(Integer ACol, Integer ARow, bool MoveAnchor);
    void MoveColRow(Integer ACol, Integer ARow, bool MoveAnchor, bool Show);
    void MoveTopLeft(Integer ALeft, Integer ATop);
    // Whether scrolling may move the pixels on screen (the cells look the
    // same wherever they are drawn); false repaints the whole grid.
    virtual bool CanScrollPixels();
    // After the first scrollable line changed: moves the pixels or
    // invalidates the grid.
    void ScrollData(const TGridCoord& OldTopLeft);
    void ClampInView(const TGridCoord& Coord);
    // Which sizing or moving a press at X, Y starts; descendants refine it.
    virtual void CalcSizingState(Integer X, Integer Y, TGridState& State, Integer& Index,
                                 Integer& SizingPos, Integer& SizingOfs);
    // Editor.
    virtual TInplaceEdit* CreateEditor();
    virtual bool CanEditShow();
    virtual bool CanEditAcceptKey(wchar_t Key) { return true; }
    virtual bool CanEditModify() { return true; }
    virtual String GetEditMask(Integer ACol, Integer ARow) { return L""; }
    virtual Integer GetEditLimit() { return 0; }
    void ShowEditor();
    void ShowEditorChar(wchar_t Ch);
    void HideEditor();
    // Stores the editor's text in the current cell when it changed.
    void UpdateText();
    // Puts the editor on its cell again (scrolling, sizing).
    void UpdateEdit();
    void InvalidateEditor();

    void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;
    void DoExit() override;
    void Resize() override;
    TColor InitialColor() const override { return clWindow; }
    // Extent of the fixed lines with their grid lines.
    Integer FixedExtent(bool Vertical) const;
    // Client position of a scrollable or fixed line's start; a line before
    // the first scrollable one that is not fixed lies above (left of) it.
    Int64 LinePos(bool Vertical, Integer Index) const;
    // The largest first scrollable line that still fills the view.
    Integer MaxTopLeft(bool Vertical);
    void UpdateScrollRange();
    void UpdateScrollPos();
    void ScrollMessage(bool Vertical, TMessage& M);

    TGridAxis FCols, FRows;
    Integer FFixedCols = 1, FFixedRows = 1;
    TGridCoord FTopLeft{1, 1};
    TGridCoord FCurrent{1, 1};
    TGridCoord FAnchor{1, 1};
    TGridOptions FOptions;
    TBorderStyle FBorderStyle = bsSingle;
    TScrollStyle FScrollBars = ssBoth;
    bool FDefaultDrawing = true;
    TColor FFixedColor = clBtnFace;
    TGridState FGridState = gsNormal;
    bool FUpdating = false;
    bool FEditorMode = false;
    TInplaceEdit* FInplaceEdit = nullptr;
    String FEditStartText;
    TGridCoord FEditCell{-1, -1};
    bool FEditCancelled = false;
    // Sizing and moving with the mouse.
    Integer FSizingIndex = -1, FSizingPos = 0, FSizingOfs = 0;
    Integer FMoveIndex = -1, FMovePos = -1;
    TPoint FHitTest;
    bool FInScroll = false;

private:
    void ChangeCounts(Integer NewColCount, Integer NewRowCount);
    void MoveCurrent(Integer ACol, Integer ARow, bool MoveAnchor, bool Show);
    void MoveAnchorTo(const TGridCoord& NewAnchor);
    void SelectionMoved(const TGridRect& OldSel);
    TRect BoxRect(Integer ALeft, Integer ATop, Integer ARight, Integer ABottom);
    Integer AxisCellAt(bool Vertical, Integer Pos);
    void DrawLines(TCanvas* C, bool Vertical, Integer ClientW, Integer ClientH);
};

class TCustomDrawGrid : public TCustomGrid {
    VEL_CLASS(TCustomDrawGrid, TCustomGrid)
public:
    explicit TCustomDrawGrid(TComponent* AOwner) : TCustomGrid(AOwner) {}
    TGetEditEvent OnGetEditMask, OnGetEditText;
    TSetEditEvent OnSetEditText;

    String GetEditText(Integer ACol, Integer ARow) override;
    void SetEditText(Integer ACol, Integer ARow, const String& Value) override;

protected:
    void DrawCell(Integer ACol, Integer ARow, const TRect& ARect, TGridDrawState AState) override;
    String GetEditMask(Integer ACol, Integer ARow) override;
    void ColumnMoved(Integer FromIndex, Integer ToIndex) override;
    void RowMoved(Integer FromIndex, Integer ToIndex) override;
    bool SelectCell(Integer ACol, Integer ARow) override;
    void TopLeftChanged() override;
};

class TDrawGrid : public TCustomDrawGrid {
    VEL_CLASS(TDrawGrid, TCustomDrawGrid)
public:
    explicit TDrawGrid(TComponent* AOwner) : TCustomDrawGrid(AOwner) {}
};

class TStringGrid;
class TStringGridRow;

// A row or column of a string grid as a string list: item i is the cell at
// position i of the line; there are as many items as the other axis has lines.
class TStringGridStrings : public TStrings {
    VEL_CLASS(TStringGridStrings, TStrings)
public:
    TStringGridStrings(TStringGrid* AGrid, bool IsColumn, Integer Index)
        : FGrid(AGrid), FIsColumn(IsColumn), FIndex(Index) {}
    // Copies texts and objects up to the line's own count.
    void Assign(TPersistent* Source) override;
    Integer Add(const String& S) override;
    void Insert(Integer Index, const String& S) override;
    void Delete(Integer Index) override;
    void Clear() override;

protected:
    String Get(Integer Index) const override;
    Integer GetCount() const override;
    TObject* GetObject(Integer Index) const override;
    void Put(Integer Index, const String& S) override;
    void PutObject(Integer Index, TObject* AObject) override;

private:
    TStringGrid* FGrid;
    bool FIsColumn;
    Integer FIndex;
};

class TStringGrid : public TCustomDrawGrid {
    VEL_CLASS(TStringGrid, TCustomDrawGrid)
public:
    explicit TStringGrid(TComponent* AOwner);
    ~TStringGrid() override;

    // Absent cells read as empty and nil. Writes anywhere at or above 0 are
    // kept, past the counts too; shrinking a count keeps what lies beyond it.
    String Cells(Integer ACol, Integer ARow) const;
    void SetCells(Integer ACol, Integer ARow, const String& Value);
    // A pointer slot; the grid never frees what it points to.
    TObject* Objects(Integer ACol, Integer ARow) const;
    void SetObjects(Integer ACol, Integer ARow, TObject* Value);
    // The string list of a row (a column); valid while the grid lives.
    TStrings* Rows(Integer Index);
    TStrings* Cols(Integer Index);
    void SetRows(Integer Index, TStrings* Value) { Rows(Index)->Assign(Value); }
    void SetCols(Integer Index, TStrings* Value) { Cols(Index)->Assign(Value); }

    String GetEditText(Integer ACol, Integer ARow) override;
    void SetEditText(Integer ACol, Integer ARow, const String& Value) override;

    // Visits every slot that holds an object, past the counts too; the
    // visitor may change the slot's object (set it to null).
    void ForEachObject(const std::function<void(Integer ACol, Integer ARow, TObject*& Object)>& Visit);

    // Test aid: row records held (rows written to, up to the last one).
    Integer StoredRowSpan() const { return Integer(FRowTable.Dense.size()); }

    // Structural changes of the store for descendants that move many rows at
    // once; each is one pass over the row table, whatever the number of rows
    // involved, and none touches the counts, heights or what the object
    // slots point to (the caller owns that). Rows past the counts move too.
    // The Count rows at Index leave the store; the rows after them move up.
    void DeleteStoreRows(Integer Index, Integer Count);
    // Count empty rows come in at Index; the rows from Index move down.
    void InsertStoreRows(Integer Index, Integer Count);
    // The rows of an ascending list of distinct indices leave the store; the
    // others close up in their order.
    void DeleteStoreRowList(const std::vector<Integer>& Sorted);
    // Empty rows come in so that they stand at the ascending, distinct final
    // indices of the list; the others keep their order around them.
    void InsertStoreRowList(const std::vector<Integer>& Sorted);
    // Appends the texts and objects of the row's first ACount cells to Dest
    // and leaves the row empty (texts moved, not copied, into a string list).
    void TakeStoreRow(Integer ARow, Integer ACount, TStrings* Dest);
    // The row takes the texts and objects of Source's lines, cell i from
    // line i; what the row held before is dropped.
    void PutStoreRow(Integer ARow, TStrings* Source);
    // The texts and objects of row From go to row To (what To held is
    // dropped); From is left empty.
    void MoveStoreRow(Integer From, Integer To);
    // The row leaves the store whole into Dest (what Dest held is dropped),
    // which then reads as a string list of at least ACount lines; the row
    // is left empty. Attaching puts a detached row back (what the row held
    // is dropped) and leaves Source empty. Nothing is copied either way.
    void DetachStoreRow(Integer ARow, Integer ACount, TStringGridRow* Dest);
    void AttachStoreRow(Integer ARow, TStringGridRow* Source);
    // The same for columns, in every row the store holds: Count empty
    // columns come in at Index, or the Count columns at Index leave (their
    // objects are the caller's), or column From moves to To.
    void InsertStoreCols(Integer Index, Integer Count);
    void DeleteStoreCols(Integer Index, Integer Count);
    void MoveStoreCol(Integer From, Integer To);

protected:
    void DrawCell(Integer ACol, Integer ARow, const TRect& ARect, TGridDrawState AState) override;
    void ColumnMoved(Integer FromIndex, Integer ToIndex) override;
    void RowMoved(Integer FromIndex, Integer ToIndex) override;

public:
    // A line of slots from index 0: a vector up to the last slot written
    // near the others, a map for slots written far past them and past the
    // axis's count (an index that came from outside sizes nothing).
    template <class T>
    struct TSparseLine {
        std::vector<T> Dense;
        std::map<Integer, T> Far;  // every key at or past Dense.size()
        const T* Find(Integer i) const;
        T& ForWrite(Integer i, Integer Count);
        // The slot From goes to To, those between shift by one.
        void Move(Integer From, Integer To);
        // Slots from Index on move by Delta (negative: the -Delta slots at
        // Index leave first; positive: Delta empty slots come in at Index).
        void Shift(Integer Index, Integer Delta);
        // The slots of the ascending distinct list leave; the others close up.
        void DeleteList(const std::vector<Integer>& Sorted);
        // Empty slots come in at the ascending distinct final indices.
        void InsertList(const std::vector<Integer>& Sorted);
        // Moves the slot's value out, leaving it empty.
        T Take(Integer i);
        void Normalize();
    };

private:
    friend class TStringGridRow;
    struct TCellSlot {
        String Text;
        TObject* Object = nullptr;
    };
    struct TRowRecord {
        TSparseLine<TCellSlot> Cells;
    };
    const TCellSlot* Slot(Integer ACol, Integer ARow) const;
    TCellSlot& SlotForWrite(Integer ACol, Integer ARow);
    void CellChanged(Integer ACol, Integer ARow);

    // Row records by row index; rows never written hold null. Plain
    // pointers (owned here, freed by the destructor) so that moving rows
    // turns a block of pointers, nothing more.
    TSparseLine<TRowRecord*> FRowTable;
    std::map<std::pair<bool, Integer>, std::unique_ptr<TStringGridStrings>> FLines;
};

// A row taken out of a string grid's store whole: a string list over the
// row's cells (line i is the cell of column i) that can go back into a
// grid as it is. Objects are pointer slots, never freed here.
class TStringGridRow : public TStrings {
    VEL_CLASS(TStringGridRow, TStrings)
public:
    TStringGridRow() = default;
    ~TStringGridRow() override;
    TStringGridRow(const TStringGridRow&) = delete;
    TStringGridRow& operator=(const TStringGridRow&) = delete;
    void Insert(Integer Index, const String& S) override;
    void Delete(Integer Index) override;
    void Clear() override;

protected:
    String Get(Integer Index) const override;
    // At least the count the row was detached with, and every cell it holds
    // (read only when asked, so that detaching never touches the row).
    Integer GetCount() const override;
    TObject* GetObject(Integer Index) const override;
    void Put(Integer Index, const String& S) override;
    void PutObject(Integer Index, TObject* AObject) override;

private:
    friend class TStringGrid;
    void CheckIndex(Integer Index) const;
    TStringGrid::TRowRecord* FRecord = nullptr;
    Integer FCount = 0;
};
