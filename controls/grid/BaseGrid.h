// BaseGrid: the layer between the platform's string grid and the full grid.
// Every cell holds a text and one object slot holding nil or the cell's
// property block (TCellProperties: its own look, merge record, user object
// and graphic). The base grid reads and writes cells through merge-aware
// accessors, records merged areas in the blocks, draws its own grid lines
// inside each cell through one paint frame per cell (background, selection
// face, hover and active row, gradients, lines, then the content), moves
// over merged areas with keys and wheel, and keeps an undo component.
//
// Ownership: a property block has exactly one owner, the store slot that
// holds it. Freeing a slot's block empties the slot; entries beyond the row
// and column counts keep owning their blocks and the destructor frees every
// block in the store once. User objects (CellObject) and graphics of classes
// other than TCellGraphic belong to whoever set them.
//
// Sources by family: BaseGrid_Store.cpp (cell store and blocks),
// BaseGrid_Merge.cpp (merged cells), BaseGrid_Paint.cpp (paint frame and
// cell rectangles), BaseGrid_Input.cpp (construction, properties, keys,
// wheel, selection), BaseGrid_Undo.cpp (undo and redo).
#pragma once

#include <memory>

#include "controls/grid/VodObj.h"

class TBaseGrid;

enum TColumnCalcType {
    acNONE, acSUM, acAVG, acCOUNT, acMIN, acMAX, acSPREAD, acCUSTOM, acDISTINCT, acSTDDEV
};
enum TGridSelectionStyle { ssDefault, ssVista, ssWin7, ssOffice2007 };
enum THoverRowCell { hcNormal, hcFixed, hcSelected, hcGroupHeader, hcGroupSummary };
using THoverRowCells = TSet<THoverRowCell>;

// ---------------------------------------------------------------------------
// The property block of one cell
// ---------------------------------------------------------------------------

class TCellProperties : public TPersistent {
    VEL_CLASS(TCellProperties, TPersistent)
public:
    TCellProperties(TBaseGrid* AOwner, Integer ACol, Integer ARow);

    // Copies the look, merge record and bookkeeping of another block (not
    // its graphic, gradient end, gradient direction, calculation or paint
    // pass); any other source is ignored.
    void Assign(TPersistent* Source) override;

    // The base cell of the merged area holding the block's cell (c, r).
    TPoint BaseCellOf(Integer c, Integer r) const;

    TBaseGrid* OwnerGrid() const { return FOwnerGrid; }
    Integer OwnerCol() const { return FOwnerCol; }
    void SetOwnerCol(Integer v) { FOwnerCol = v; }
    Integer OwnerRow() const { return FOwnerRow; }
    void SetOwnerRow(Integer v) { FOwnerRow = v; }
    uintptr_t CellObject() const { return FObject; }
    void SetCellObject(uintptr_t v) { FObject = v; }
    TObject* GraphicObject() const { return FGraphicObject; }
    void SetGraphicObject(TObject* v) { FGraphicObject = v; }
    TBrushStyle BrushStyle() const { return FBrushStyle; }
    void SetBrushStyle(TBrushStyle v) { FBrushStyle = v; }
    TColor BrushColor() const { return FBrushColor; }
    void SetBrushColor(TColor v);
    TColor BrushColorTo() const { return FBrushColorTo; }
    void SetBrushColorTo(TColor v);
    Integer FontSize() const { return FFontHeight; }
    void SetFontSize(Integer v) { FFontHeight = v; }
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor v) { FFontColor = v; }
    TFontStyles FontStyle() const { return FFontStyle; }
    void SetFontStyle(TFontStyles v) { FFontStyle = v; }
    // Reads 0 while the merge is collapsed.
    Integer CellSpanY() const { return FMergeCollaps ? 0 : FCellSpanY; }
    void SetCellSpanY(Integer v) { FCellSpanY = v; }
    Integer CellSpanX() const { return FCellSpanX; }
    void SetCellSpanX(Integer v) { FCellSpanX = v; }
    Integer BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(Integer v) { FBorderWidth = v; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v) { FBorderColor = v; }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v) { FAlignment = v; }
    TVAlignment VAlignment() const { return FVAlignment; }
    void SetVAlignment(TVAlignment v);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v);
    bool IsBaseCell() const { return FIsBaseCell; }
    void SetIsBaseCell(bool v) { FIsBaseCell = v; }
    Integer NodeLevel() const { return FNodeLevel; }
    void SetNodeLevel(Integer v) { FNodeLevel = v; }
    TEditorType Editor() const { return FEditor; }
    void SetEditor(TEditorType v) { FEditor = v; }
    const String& FontName() const { return FFontName; }
    void SetFontName(const String& v) { FFontName = v; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v) { FReadOnly = v; }
    TCellGradientDirection GradientDirection() const { return FGradientDirection; }
    void SetGradientDirection(TCellGradientDirection v) { FGradientDirection = v; }
    TControl* Control() const { return FControl; }
    void SetControl(TControl* v) { FControl = v; }

    // Fields in declaration order; the grid's families read and write them
    // directly as the design has it.
    TBaseGrid* FOwnerGrid;
    Integer FOwnerCol;
    Integer FOwnerRow;
    uintptr_t FObject = 0;
    TObject* FGraphicObject = nullptr;
    TBrushStyle FBrushStyle = bsSolid;
    TColor FBrushColor = clNone;
    TColor FBrushColorTo = clNone;
    Integer FFontHeight = 0;
    TColor FFontColor = clNone;
    TFontStyles FFontStyle;
    Integer FCellSpanY = -1;
    Integer FCellSpanX = -1;
    Integer FBorderWidth = 0;
    TColor FBorderColor = 0;
    TAlignment FAlignment = taLeftJustify;
    TVAlignment FVAlignment = vtaTop;
    Integer FPaintID = 0;
    bool FWordWrap = true;
    bool FIsBaseCell = true;
    TColumnCalcType FCalcType = acNONE;
    TObject* FCalcObject = nullptr;
    Integer FNodeLevel = 0;
    TEditorType FEditor = edNormal;
    String FFontName;
    bool FReadOnly = false;
    TCellGradientDirection FGradientDirection = GradientVertical;
    TControl* FControl = nullptr;
    bool FMergeCollaps = false;

private:
    void Repaint();
};

// ---------------------------------------------------------------------------
// Undo and redo of cell changes
// ---------------------------------------------------------------------------

class TUndoRedoItem : public TCollectionItem {
    VEL_CLASS(TUndoRedoItem, TCollectionItem)
public:
    explicit TUndoRedoItem(TCollection* Collection) : TCollectionItem(Collection) {}
    Integer FRow = 0, FCol = 0;
    String FValue, FOrigValue;
    bool FSequenceStart = false, FSequenceStop = false;
    bool IsMarker() const { return FSequenceStart || FSequenceStop; }
};

class TUndoRedoCollection : public TCollection {
    VEL_CLASS(TUndoRedoCollection, TCollection)
public:
    TUndoRedoCollection() : TCollection(CollectionItemClass<TUndoRedoItem>()) {}
    TUndoRedoItem* Item(Integer i) const { return static_cast<TUndoRedoItem*>(Items(i)); }
};

using TGetDisplWideTextEvent = TGetDisplTextEvent;

using TVodGridUndoRedoEvent = std::function<void(TObject* Sender, TBaseGrid* Grid, Integer Col, Integer Row,
                                                 const String& OrigValue, const String& NewValue)>;

class TVodGridUndoRedo : public TComponent {
    VEL_CLASS(TVodGridUndoRedo, TComponent)
public:
    explicit TVodGridUndoRedo(TComponent* AOwner);
    ~TVodGridUndoRedo() override;

    virtual void RegisterChange(Integer ACol, Integer ARow, const String& OldValue, const String& NewValue);
    virtual void StartSequence();
    virtual void StopSequence();
    void Undo();
    void Redo();
    void Reset();
    bool CanUndo() const { return FLevel > 0; }
    bool CanRedo() const { return FLevel < FItems->Count(); }

    TBaseGrid* Grid() const { return FGrid; }
    // Set by the grid's UndoRedo writer.
    void SetGrid(TBaseGrid* v);
    Integer Level() const { return FLevel; }
    Integer MaxLevel() const { return FMaxLevel; }
    void SetMaxLevel(Integer v) { FMaxLevel = v; }
    TUndoRedoCollection* Items() const { return FItems.get(); }

    TVodGridUndoRedoEvent OnUndo, OnRedo;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void AppendMarker(bool Start);
    void MakeCurrent(const TUndoRedoItem* it);

    std::unique_ptr<TUndoRedoCollection> FItems;
    TBaseGrid* FGrid = nullptr;
    Integer FLevel = 0;
    Integer FMaxLevel = 0;
};

// ---------------------------------------------------------------------------
// The base grid
// ---------------------------------------------------------------------------

class TBaseGrid : public TObjStringGrid {
    VEL_CLASS(TBaseGrid, TObjStringGrid)
public:
    explicit TBaseGrid(TComponent* AOwner);
    ~TBaseGrid() override;

    // --- cell store and property blocks ---
    String GetGridCell(Integer c, Integer r) const;
    void SetGridCell(Integer c, Integer r, const String& Value);
    // The cell's block, created with the cell's default look when the slot
    // is empty; null only for negative coordinates, which never reach the
    // store.
    TCellProperties* GetCellProperties(Integer c, Integer r);
    // Frees the block the cell holds and stores Value (which may be nil);
    // the slot owns Value from then on.
    void SetCellProperties(Integer c, Integer r, TCellProperties* Value);
    bool HasCellProperties(Integer c, Integer r) const;
    // The block without creating one (nil for a cell without a block).
    TCellProperties* CellPropertiesOf(Integer c, Integer r) const;
    TObject* GetObjectEx(Integer c, Integer r) const;
    void SetObjectEx(Integer c, Integer r, TObject* Value);
    TObject* GetGraphicObjectEx(Integer c, Integer r) const;
    void SetGraphicObjectEx(Integer c, Integer r, TObject* Value);
    static TObject* CellPropertiesGraphic(TCellProperties* P) { return P ? P->FGraphicObject : nullptr; }
    String GetCellEx(Integer c, Integer r);
    void SetCellEx(Integer c, Integer r, const String& Value);
    TObject* GetCellObjectDirect(Integer c, Integer r) const;
    void SetCellObjectDirect(Integer c, Integer r, TObject* Value);
    void ClearColCells(Integer c);
    void ClearRowCells(Integer r);
    void ClearCellStore(Integer c, Integer r);
    void FreeCellProperties(Integer c, Integer r);
    void FreeCellPropertiesRect(Integer ALeft, Integer ATop, Integer ARight, Integer ABottom);
    void FreeAllCellProperties();

    // --- merged cells ---
    virtual void MergeCells(Integer c, Integer r, Integer spanx, Integer spany);
    virtual void SplitCells(Integer c, Integer r);
    TPoint BaseCell(Integer ACol, Integer ARow) const;
    bool IsBaseCell(Integer ACol, Integer ARow) const;
    bool ResolveBaseCell(Integer ACol, Integer ARow, Integer& BaseCol, Integer& BaseRow) const;
    bool IsMergedCell(Integer ACol, Integer ARow) const;
    bool IsMergedNonBaseCell(Integer ACol, Integer ARow) const;
    bool IsXMergedCell(Integer ACol, Integer ARow) const;
    bool IsYMergedCell(Integer ACol, Integer ARow) const;
    TPoint CellSpan(Integer ACol, Integer ARow) const;
    TPoint CellExt(Integer ACol, Integer ARow) const;
    TRect FullCell(Integer c, Integer r) const;
    Integer MinRowSpan(Integer ARow) const;
    Integer MaxRowSpan(Integer ARow) const;
    bool RowSpanIdentical(Integer ARow1, Integer ARow2) const;
    bool ColSpanIdentical(Integer ACol1, Integer ACol2) const;
    Integer MergeCount() const { return FMergeCount; }

    // --- painting and geometry ---
    void PaintCell(TCanvas* ACanvas, Integer ACol, Integer ARow, TRect ARect, TGridDrawState AState);
    void PaintCellExt(TCanvas* ACanvas, Integer ACol, Integer ARow, TRect ARect, TGridDrawState AState);
    void RepaintCell(Integer c, Integer r);
    // Merge-aware, in client coordinates; cells off screen get coordinates
    // outside the client area.
    TRect CellRect(Integer c, Integer r) const;
    TPoint CellSize(Integer c, Integer r) const;
    TRect CalcRawCellRect(Integer c, Integer r) const;
    Integer FixedColsWidth() const;
    Integer FixedRowsHeight() const;
    void RepaintMergedFixedRowCells();
    void RepaintMergedFixedColCells();
    void MoveToBaseCell();
    Integer PaintID() const { return FPaintID; }

    // --- properties ---
    bool DefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool v);
    Integer GridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(Integer v);
    TColor GridLineColor() const { return FGridLineColor; }
    void SetGridLineColor(TColor v);
    TColor GridFixedLineColor() const { return FGridFixedLineColor; }
    void SetGridFixedLineColor(TColor v);
    TVodGridUndoRedo* UndoRedo() const { return FUndoRedo; }
    void SetUndoRedo(TVodGridUndoRedo* v);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v) { FWordWrap = v; }
    bool ActiveRowShow() const { return FActiveRowShow; }
    void SetActiveRowShow(bool v);
    TColor ActiveRowColor() const { return FActiveRowColor; }
    void SetActiveRowColor(TColor v);
    TColor ActiveRowColorTo() const { return FActiveRowColorTo; }
    void SetActiveRowColorTo(TColor v);
    TColor ActiveRowMirrorColor() const { return FActiveRowMirrorColor; }
    void SetActiveRowMirrorColor(TColor v);
    TColor ActiveRowMirrorColorTo() const { return FActiveRowMirrorColorTo; }
    void SetActiveRowMirrorColorTo(TColor v);
    TGridSelectionStyle SelectionStyle() const { return FSelectionStyle; }
    void SetSelectionStyle(TGridSelectionStyle v);
    bool HoverRow() const { return FHoverRow; }
    void SetHoverRow(bool v) { FHoverRow = v; }
    THoverRowCells HoverRowCells() const { return FHoverRowCells; }
    void SetHoverRowCells(THoverRowCells v) { FHoverRowCells = v; }
    TColor HoverRowColor() const { return FHoverRowColor; }
    void SetHoverRowColor(TColor v) { FHoverRowColor = v; }
    TColor HoverRowColorTo() const { return FHoverRowColorTo; }
    void SetHoverRowColorTo(TColor v) { FHoverRowColorTo = v; }

    TGetDisplTextEvent OnGetDisplText;
    TGetDisplWideTextEvent OnGetDisplWideText;

    // --- the first table of cell-level virtual operations ---
    virtual bool IsFixed(Integer ACol, Integer ARow);
    virtual Integer GetNodeIndent(Integer ARow);
    virtual bool HasNodes();
    virtual bool IsNode(Integer ARow) = 0;
    virtual bool IsSummary(Integer ARow) = 0;
    virtual void DrawGridCell(TCanvas* ACanvas, Integer ACol, Integer ARow, TRect ARect, TGridDrawState AState);
    virtual void CellValueChanged();
    virtual bool CellHasCheckBox(Integer ACol, Integer ARow) = 0;
    virtual void SetCheckBoxFromText(Integer ACol, Integer ARow, const String& Value) = 0;
    virtual void GetDisplText(Integer ACol, Integer ARow, String& Value);
    virtual void GetDisplWideText(Integer ACol, Integer ARow, String& Value);
    virtual void GetCellDefaults(Integer ACol, Integer ARow, TFont* AFont, TBrush* ABrush, TColor& AColorTo,
                                 TColor& AMirrorColor, TColor& AMirrorColorTo, TAlignment& HA, TVAlignment& VA,
                                 bool& WW, TCellGradientDirection& GD);
    virtual void UpdateCellScrollBar(Integer ACol, Integer ARow);
    virtual bool HasCellBorderEvent();
    virtual bool GetUseVCLStyles();
    virtual void GetVisualProperties(Integer ACol, Integer ARow, TGridDrawState& AState, bool Print, bool Select,
                                     bool Remap, TBrush* ABrush, TColor& AColorTo, TColor& AMirrorColor,
                                     TColor& AMirrorColorTo, TFont* AFont, TAlignment& HA, TVAlignment& VA,
                                     bool& WW, TCellGradientDirection& GD);
    virtual Integer RealColIndex(Integer ACol) const;
    virtual Integer DisplColIndex(Integer ACol) const;
    virtual Integer TotalColCount() const;

    // The platform grid's own operations the base grid takes over.
    void KeyDown(Word& Key, TShiftState Shift) override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    String GetEditText(Integer ACol, Integer ARow) override;
    void SetEditText(Integer ACol, Integer ARow, const String& Value) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Paint() override;
    void DrawCell(Integer ACol, Integer ARow, const TRect& ARect, TGridDrawState AState) override;
    bool SelectCell(Integer ACol, Integer ARow) override;
    void TopLeftChanged() override;
    void ChangeScale(Integer M, Integer D) override;
    void PaintCellFrame(TCanvas* ACanvas, Integer ACol, Integer ARow, TRect ARect, TGridDrawState AState, bool Full);

    // Fields in declaration order.
    bool FDefaultDrawing = false;
    Integer FGridLineWidth = 1;
    TColor FGridLineColor = TColor(0xC0C0C0);
    TColor FGridFixedLineColor = TColor(0x808080);
    Integer FPaintID = 1;
    bool FHideLastRow = false;
    Integer FNormalRowCount = 0;
    TVodGridUndoRedo* FUndoRedo = nullptr;
    bool FWordWrap = true;
    bool FActiveRowShow = false;
    TColor FActiveRowColor = clInfoBk;
    TColor FActiveRowColorTo = clNone;
    TColor FActiveRowMirrorColor = clNone;
    TColor FActiveRowMirrorColorTo = clNone;
    TGridSelectionStyle FSelectionStyle = ssDefault;
    std::unique_ptr<TFont> FDefFont;
    std::unique_ptr<TBrush> FDefBrush;
    Integer FHoverRowIdx = -1;
    bool FHoverRow = false;
    THoverRowCells FHoverRowCells{hcNormal, hcSelected};
    TColor FHoverRowColor = clInfoBk;
    TColor FHoverRowColorTo = clNone;
    bool FShowSel = true;
    bool FHasCellProps = false;
    Integer FMergeCount = 0;
    bool FEditCellSet = false;

private:
    friend class TCellProperties;
    TCellProperties* CreateCellProperties(Integer c, Integer r);
    void FillDefaults(TCellProperties* P, Integer c, Integer r, TFont* Font, TBrush* Brush, bool ThroughWriters);
    void FreeBlock(TCellProperties* P, bool WithGraphic);
};
