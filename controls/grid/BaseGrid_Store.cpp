// The cell store of the base grid: property blocks, user objects, cell
// graphics and the merge-aware text accessors with the display-text events.
#include "controls/foundation/VodUtil.h"
#include "controls/grid/BaseGrid.h"

// ---------------------------------------------------------------------------
// TCellProperties

TCellProperties::TCellProperties(TBaseGrid* AOwner, Integer ACol, Integer ARow)
    : FOwnerGrid(AOwner), FOwnerCol(ACol), FOwnerRow(ARow)
{
    if (AOwner) {
        FWordWrap = AOwner->FWordWrap;
        AOwner->FHasCellProps = true;
    }
}

void TCellProperties::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TCellProperties*>(Source);
    if (!s) return;
    FIsBaseCell = s->FIsBaseCell;
    FCellSpanX = s->FCellSpanX;
    FCellSpanY = s->CellSpanY();
    FOwnerRow = s->FOwnerRow;
    FOwnerCol = s->FOwnerCol;
    FObject = s->FObject;
    FAlignment = s->FAlignment;
    FBorderColor = s->FBorderColor;
    FBorderWidth = s->FBorderWidth;
    FBrushColor = s->FBrushColor;
    FBrushStyle = s->FBrushStyle;
    FFontColor = s->FFontColor;
    FFontStyle = s->FFontStyle;
    FFontName = s->FFontName;
    FFontHeight = s->FFontHeight;
    FReadOnly = s->FReadOnly;
    FEditor = s->FEditor;
    FVAlignment = s->FVAlignment;
    FWordWrap = s->FWordWrap;
    FNodeLevel = s->FNodeLevel;
    FControl = s->FControl;
    FMergeCollaps = s->FMergeCollaps;
}

TPoint TCellProperties::BaseCellOf(Integer c, Integer r) const
{
    if (FIsBaseCell || FCellSpanX == -1 || CellSpanY() < 0) return TPoint{c, r};
    return TPoint{c - FCellSpanX, r - CellSpanY()};
}

void TCellProperties::Repaint()
{
    if (FOwnerGrid) FOwnerGrid->RepaintCell(FOwnerCol, FOwnerRow);
}

void TCellProperties::SetBrushColor(TColor v)
{
    FBrushColor = v;
    Repaint();
}

void TCellProperties::SetBrushColorTo(TColor v)
{
    FBrushColorTo = v;
    Repaint();
}

void TCellProperties::SetVAlignment(TVAlignment v)
{
    FVAlignment = v;
    Repaint();
}

void TCellProperties::SetWordWrap(bool v)
{
    FWordWrap = v;
    Repaint();
}

// ---------------------------------------------------------------------------
// Blocks

bool TBaseGrid::HasCellProperties(Integer c, Integer r) const
{
    return c >= 0 && c < TotalColCount() && r >= 0 && Objects(c, r) != nullptr;
}

TCellProperties* TBaseGrid::CellPropertiesOf(Integer c, Integer r) const
{
    // One look-up of the slot: the paint and the outline passes ask this
    // for every row.
    if (c < 0 || r < 0 || c >= TotalColCount()) return nullptr;
    return static_cast<TCellProperties*>(Objects(c, r));
}

void TBaseGrid::FillDefaults(TCellProperties* P, Integer c, Integer r, TFont* Font, TBrush* Brush, bool ThroughWriters)
{
    TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    bool ww = FWordWrap;
    TCellGradientDirection gd = GradientVertical;
    GetCellDefaults(c, r, Font, Brush, colorTo, mirror, mirrorTo, ha, va, ww, gd);
    P->FCalcType = acNONE;
    P->FFontName = Font->Name();
    P->FFontHeight = Font->Height();
    P->FFontStyle = Font->Style();
    P->FFontColor = Font->Color();
    P->FGradientDirection = gd;
    if (ThroughWriters) {
        P->SetAlignment(ha);
        P->SetVAlignment(va);
        P->SetWordWrap(ww);
        P->SetBrushColor(Brush->Color());
        P->SetBrushColorTo(colorTo);
    } else {
        P->FAlignment = ha;
        P->FVAlignment = va;
        P->FWordWrap = ww;
        P->FBrushColor = Brush->Color();
        P->FBrushColorTo = colorTo;
    }
}

TCellProperties* TBaseGrid::CreateCellProperties(Integer c, Integer r)
{
    auto* p = new TCellProperties(this, c, r);
    SetObjects(c, r, p);
    FillDefaults(p, c, r, FDefFont.get(), FDefBrush.get(), false);
    return p;
}

TCellProperties* TBaseGrid::GetCellProperties(Integer c, Integer r)
{
    if (c < 0 || r < 0) return nullptr;
    if (TObject* o = Objects(c, r)) return static_cast<TCellProperties*>(o);
    return CreateCellProperties(c, r);
}

void TBaseGrid::SetCellProperties(Integer c, Integer r, TCellProperties* Value)
{
    if (c < 0 || r < 0) return;
    TObject* old = Objects(c, r);
    if (old == Value) return;
    SetObjects(c, r, Value);
    delete old;
}

void TBaseGrid::FreeBlock(TCellProperties* P, bool WithGraphic)
{
    if (!P) return;
    // Graphics of other classes belong to whoever set them.
    if (WithGraphic && P->FGraphicObject && P->FGraphicObject->ClassName() == L"TCellGraphic")
        delete P->FGraphicObject;
    delete P;
}

void TBaseGrid::FreeCellProperties(Integer c, Integer r)
{
    if (c < 0 || r < 0) return;
    auto* p = static_cast<TCellProperties*>(Objects(c, r));
    if (!p) return;
    SetObjects(c, r, nullptr);
    FreeBlock(p, false);
}

void TBaseGrid::FreeCellPropertiesRect(Integer ALeft, Integer ATop, Integer ARight, Integer ABottom)
{
    if (!FHasCellProps) return;
    for (Integer c = std::max(0, ALeft); c <= ARight; ++c)
        for (Integer r = std::max(0, ATop); r <= ABottom; ++r) {
            auto* p = static_cast<TCellProperties*>(Objects(c, r));
            if (!p) continue;
            SetObjects(c, r, nullptr);
            FreeBlock(p, true);
        }
}

void TBaseGrid::FreeAllCellProperties() { FreeCellPropertiesRect(0, 0, ColCount() - 1, RowCount() - 1); }

// ---------------------------------------------------------------------------
// Texts and objects

String TBaseGrid::GetGridCell(Integer c, Integer r) const { return Cells(c, r); }

void TBaseGrid::SetGridCell(Integer c, Integer r, const String& Value)
{
    if (c < 0 || r < 0) return;
    SetCells(c, r, Value);
}

TObject* TBaseGrid::GetObjectEx(Integer c, Integer r) const
{
    const TCellProperties* p = CellPropertiesOf(c, r);
    return p ? reinterpret_cast<TObject*>(p->FObject) : nullptr;
}

void TBaseGrid::SetObjectEx(Integer c, Integer r, TObject* Value)
{
    // The store keeps an entry for an object slot alone, so the cell needs
    // no temporary text to hold its block.
    if (TCellProperties* p = GetCellProperties(c, r)) p->FObject = reinterpret_cast<uintptr_t>(Value);
}

TObject* TBaseGrid::GetGraphicObjectEx(Integer c, Integer r) const
{
    const TCellProperties* p = CellPropertiesOf(c, r);
    return p ? p->FGraphicObject : nullptr;
}

void TBaseGrid::SetGraphicObjectEx(Integer c, Integer r, TObject* Value)
{
    if (c < 0 || r < 0) return;
    if (ComponentState().Contains(csDestroying)) {
        if (!Value)
            if (TCellProperties* p = CellPropertiesOf(c, r)) p->FGraphicObject = nullptr;
        return;
    }
    const bool wasEmpty = GetGridCell(c, r).empty();
    if (wasEmpty) SetCellEx(c, r, L" ");
    auto* p = static_cast<TCellProperties*>(Objects(c, r));
    if (!p) {
        p = new TCellProperties(this, c, r);
        SetObjects(c, r, p);
        TFont font;
        TBrush brush;
        FillDefaults(p, c, r, &font, &brush, true);
    }
    p->FGraphicObject = Value;
    if (wasEmpty) SetCellEx(c, r, L"");
}

TObject* TBaseGrid::GetCellObjectDirect(Integer c, Integer r) const { return Objects(c, r); }

void TBaseGrid::SetCellObjectDirect(Integer c, Integer r, TObject* Value)
{
    if (c < 0 || r < 0) return;
    SetObjects(c, r, Value);
}

String TBaseGrid::GetCellEx(Integer c, Integer r)
{
    Integer bc = c, br = r;
    if (const TCellProperties* p = CellPropertiesOf(c, r)) {
        const TPoint b = p->BaseCellOf(c, r);
        bc = b.X;
        br = b.Y;
    }
    String s = GetGridCell(bc, br);
    if (br < FNormalRowCount) {
        GetDisplText(bc, br, s);
        if (OnGetDisplWideText) {
            String w = UnpackWideText(s);
            GetDisplWideText(bc, br, w);
            s = PackWideText(w);
        }
    }
    return s;
}

void TBaseGrid::SetCellEx(Integer c, Integer r, const String& Value)
{
    if (c < 0 || r < 0) return;
    if (const TCellProperties* p = CellPropertiesOf(c, r)) {
        const TPoint b = p->BaseCellOf(c, r);
        SetGridCell(b.X, b.Y, Value);
        UpdateCellScrollBar(b.X, b.Y);
        if (Parent() && !Updating()) RepaintCell(c, r);
    } else {
        FEditCellSet = true;
        SetGridCell(c, r, Value);
        FEditCellSet = false;
    }
    if (FHideLastRow && r + 1 == RowCount()) CellValueChanged();
}

void TBaseGrid::ClearColCells(Integer c)
{
    if (c < 0) return;
    for (Integer r = 0; r < RowCount(); ++r) {
        SetCellObjectDirect(c, r, nullptr);
        SetCellEx(c, r, L"");
    }
}

void TBaseGrid::ClearRowCells(Integer r)
{
    if (r < 0) return;
    for (Integer c = 0; c < ColCount(); ++c) {
        SetCellObjectDirect(c, r, nullptr);
        SetCellEx(c, r, L"");
    }
}

void TBaseGrid::ClearCellStore(Integer c, Integer r)
{
    SetCellEx(c, r, L"");
    SetCellObjectDirect(c, r, nullptr);
}
