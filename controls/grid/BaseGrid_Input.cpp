// The base grid's construction, its properties, the defaults of its table of
// cell-level operations, and movement over merged areas with keys, wheel and
// selection.
#include "controls/grid/BaseGrid.h"
#include "platform/ui/WindowManager.h"

TBaseGrid::TBaseGrid(TComponent* AOwner) : TObjStringGrid(AOwner)
{
    // The lines are drawn inside each cell: the platform lays the cells out
    // edge to edge and never draws its own.
    TObjStringGrid::SetGridLineWidth(0);
    TObjStringGrid::SetDefaultDrawing(false);
    FDefFont = std::make_unique<TFont>();
    FDefBrush = std::make_unique<TBrush>();
}

TBaseGrid::~TBaseGrid()
{
    FDefFont.reset();
    FDefBrush.reset();
    if (FUndoRedo) {
        FUndoRedo->RemoveFreeNotification(this);
        FUndoRedo->SetGrid(nullptr);
        FUndoRedo = nullptr;
    }
    // Every block in the store is freed once, those kept beyond the counts
    // too; a block's graphic goes with it only when it is a TCellGraphic.
    ForEachObject([&](Integer, Integer, TObject*& o) {
        auto* p = static_cast<TCellProperties*>(o);
        o = nullptr;
        FreeBlock(p, true);
    });
}

void TBaseGrid::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == opRemove && AComponent == FUndoRedo) FUndoRedo = nullptr;
    TObjStringGrid::Notification(AComponent, Operation);
}

// ---------------------------------------------------------------------------
// Properties

void TBaseGrid::SetDefaultDrawing(bool v)
{
    FDefaultDrawing = v;
    TObjStringGrid::SetDefaultDrawing(false);
}

void TBaseGrid::SetGridLineWidth(Integer v)
{
    FGridLineWidth = v;
    TObjStringGrid::SetGridLineWidth(0);
    Invalidate();
}

void TBaseGrid::SetGridLineColor(TColor v)
{
    FGridLineColor = v;
    Invalidate();
}

void TBaseGrid::SetGridFixedLineColor(TColor v)
{
    FGridFixedLineColor = v;
    Invalidate();
}

void TBaseGrid::SetUndoRedo(TVodGridUndoRedo* v)
{
    if (FUndoRedo == v) return;
    if (FUndoRedo) {
        FUndoRedo->RemoveFreeNotification(this);
        if (FUndoRedo->Grid() == this) FUndoRedo->SetGrid(nullptr);
    }
    FUndoRedo = v;
    if (v) {
        v->FreeNotification(this);
        v->SetGrid(this);
    }
}

namespace {
template <class T>
bool ChangeValue(T& field, T v)
{
    if (field == v) return false;
    field = v;
    return true;
}
}  // namespace

void TBaseGrid::SetActiveRowShow(bool v)
{
    if (ChangeValue(FActiveRowShow, v)) Invalidate();
}
void TBaseGrid::SetActiveRowColor(TColor v)
{
    if (ChangeValue(FActiveRowColor, v)) Invalidate();
}
void TBaseGrid::SetActiveRowColorTo(TColor v)
{
    if (ChangeValue(FActiveRowColorTo, v)) Invalidate();
}
void TBaseGrid::SetActiveRowMirrorColor(TColor v)
{
    if (ChangeValue(FActiveRowMirrorColor, v)) Invalidate();
}
void TBaseGrid::SetActiveRowMirrorColorTo(TColor v)
{
    if (ChangeValue(FActiveRowMirrorColorTo, v)) Invalidate();
}
void TBaseGrid::SetSelectionStyle(TGridSelectionStyle v)
{
    if (ChangeValue(FSelectionStyle, v)) Invalidate();
}

// ---------------------------------------------------------------------------
// The table's defaults

bool TBaseGrid::IsFixed(Integer, Integer) { return false; }
Integer TBaseGrid::GetNodeIndent(Integer) { return 0; }
bool TBaseGrid::HasNodes() { return false; }
void TBaseGrid::CellValueChanged() {}

void TBaseGrid::GetDisplText(Integer ACol, Integer ARow, String& Value)
{
    if (OnGetDisplText) OnGetDisplText(this, ACol, ARow, Value);
}

void TBaseGrid::GetDisplWideText(Integer ACol, Integer ARow, String& Value)
{
    if (OnGetDisplWideText) OnGetDisplWideText(this, ACol, ARow, Value);
}

void TBaseGrid::GetCellDefaults(Integer, Integer, TFont* AFont, TBrush* ABrush, TColor& AColorTo,
                                TColor& AMirrorColor, TColor& AMirrorColorTo, TAlignment& HA, TVAlignment& VA,
                                bool& WW, TCellGradientDirection& GD)
{
    AFont->Assign(Font());
    ABrush->SetColor(Color());
    AColorTo = clNone;
    AMirrorColor = clNone;
    AMirrorColorTo = clNone;
    HA = taLeftJustify;
    VA = vtaTop;
    WW = FWordWrap;
    GD = GradientVertical;
}

void TBaseGrid::UpdateCellScrollBar(Integer, Integer) {}
bool TBaseGrid::HasCellBorderEvent() { return false; }
bool TBaseGrid::GetUseVCLStyles() { return false; }
void TBaseGrid::GetVisualProperties(Integer, Integer, TGridDrawState&, bool, bool, bool, TBrush*, TColor&, TColor&,
                                    TColor&, TFont*, TAlignment&, TVAlignment&, bool&, TCellGradientDirection&)
{
}
Integer TBaseGrid::RealColIndex(Integer ACol) const { return ACol; }
Integer TBaseGrid::DisplColIndex(Integer ACol) const { return ACol; }
Integer TBaseGrid::TotalColCount() const { return ColCount(); }

String TBaseGrid::GetEditText(Integer ACol, Integer ARow) { return TObjStringGrid::GetEditText(ACol, ARow); }
void TBaseGrid::SetEditText(Integer ACol, Integer ARow, const String& Value)
{
    TObjStringGrid::SetEditText(ACol, ARow, Value);
}
void TBaseGrid::ChangeScale(Integer M, Integer D) { TObjStringGrid::ChangeScale(M, D); }

// ---------------------------------------------------------------------------
// Selection, keys and wheel

bool TBaseGrid::SelectCell(Integer ACol, Integer ARow)
{
    if (UseRightToLeftReading()) {
        const bool ok = TObjStringGrid::SelectCell(ACol, ARow);
        Invalidate();
        return ok;
    }
    RepaintCell(Col(), Row());
    const bool ok = TObjStringGrid::SelectCell(ACol, ARow);
    RepaintCell(ACol, ARow);
    return ok;
}

void TBaseGrid::MoveToBaseCell()
{
    if (!HasCellProperties(Col(), Row())) return;
    const TPoint b = BaseCell(Col(), Row());
    if (b.X != Col() && b.X >= FixedCols() && b.X < ColCount()) SetCol(b.X);
    if (b.Y != Row() && b.Y >= FixedRows() && b.Y < RowCount()) SetRow(b.Y);
}

void TBaseGrid::KeyDown(Word& Key, TShiftState Shift)
{
    const bool has = HasCellProperties(Col(), Row());
    const TPoint base = has ? BaseCell(Col(), Row()) : TPoint{Col(), Row()};
    const TCellProperties* bp = has ? CellPropertiesOf(base.X, base.Y) : nullptr;
    const Integer bsx = bp ? bp->FCellSpanX : -1;
    const Integer bsy = bp ? bp->CellSpanY() : -1;
    switch (Key) {
    case VK_NEXT:
        if (RowCount() == VisibleRowCount() + TopRow() - FixedRows() + 1 && FHideLastRow && RowCount() > 1) {
            // The row before the hidden one is as far as a page goes.
            SetRow(RowCount() - 2);
            Key = 0;
        }
        break;
    case VK_LEFT:
        if (has && Col() > base.X && Col() > FixedCols() && base.X > 0) {
            const Integer t = base.X - bsx;
            if (t >= FixedCols() && t < ColCount()) SetCol(t);
        }
        break;
    case VK_UP:
        if (has && Row() > base.Y && Row() > FixedRows() && base.Y > 0) {
            const Integer t = base.Y - 1;
            if (t >= FixedRows()) SetRow(t);
        }
        break;
    case VK_RIGHT:
        if (has) {
            const Integer t = base.X + bsx;
            if (t >= Col() && Col() < ColCount() - 1 && base.X < ColCount() - 1 && t < ColCount()) SetCol(t);
        }
        break;
    case VK_DOWN:
        if (has) {
            const Integer t = base.Y + bsy;
            if (t >= Row() && Row() < RowCount() - 1 && base.Y < RowCount() - 1 && t < RowCount()) SetRow(t);
        }
        break;
    default:
        break;
    }
    TObjStringGrid::KeyDown(Key, Shift);
    MoveToBaseCell();
}

bool TBaseGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    const bool r = TObjStringGrid::DoMouseWheelDown(Shift, MousePos);
    if (VisibleRowCount() < Row() - TopRow() && Row() < RowCount() - 1 && FHideLastRow) SetTopRow(TopRow() + 1);
    MoveToBaseCell();
    return r;
}

bool TBaseGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    const bool r = TObjStringGrid::DoMouseWheelUp(Shift, MousePos);
    MoveToBaseCell();
    return r;
}

void TBaseGrid::TopLeftChanged()
{
    TObjStringGrid::TopLeftChanged();
    RepaintMergedFixedColCells();
    RepaintMergedFixedRowCells();
}
