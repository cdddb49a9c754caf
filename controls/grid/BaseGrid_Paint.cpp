// The paint frame every cell passes through, cell rectangles of merged
// areas and the repainting of cells.
#include <algorithm>

#include "controls/foundation/VodUtil.h"
#include "controls/grid/BaseGrid.h"
#include "platform/ui/WindowManager.h"

namespace {

struct TFaceColors {
    TColor From, To, Border, InnerUpper, InnerLower, InnerCorners, MirrorFrom, MirrorTo;
};

// The selection faces: focused per style, and one look for any style
// without focus.
const TFaceColors kVistaFace{TColor(0xFDF8F1), TColor(0xFCEFD5), TColor(0xFDDE99), TColor(0xFDFBF6),
                             TColor(0xFDF5E7), TColor(0xFCEDCB), clNone, clNone};
const TFaceColors kWin7Face{TColor(0xFCEBDC), TColor(0xFCDBC1), TColor(0xCEA27D), TColor(0xFDF4EB),
                            TColor(0xFDEADB), TColor(0xE0C5AE), clNone, clNone};
const TFaceColors kOffice2007Face{TColor(0xD7FFFD), TColor(0x58D4FC), TColor(0x8DD7D3), TColor(0xF4FEFF),
                                  TColor(0xCAF8FF), TColor(0xC3D9DF), TColor(0x58D4FC), TColor(0xB3F1FC)};
const TFaceColors kUnfocusedFace{TColor(0xF8F8F8), TColor(0xE5E5E5), TColor(0xD9D9D9), TColor(0xFBFAFA),
                                 TColor(0xF0F0F0), TColor(0xEFEFEF), clNone, clNone};

}  // namespace

void TBaseGrid::Paint()
{
    TObjStringGrid::Paint();
    ++FPaintID;
}

void TBaseGrid::DrawCell(Integer ACol, Integer ARow, const TRect& ARect, TGridDrawState AState)
{
    // A merged area is painted once per pass, from whichever of its cells
    // the platform reaches first.
    const Integer realCol = RealColIndex(ACol);
    if (IsMergedCell(realCol, ARow) && IsBaseCell(realCol, ARow)) {
        TCellProperties* p = CellPropertiesOf(realCol, ARow);
        if (p->FPaintID == FPaintID) return;
        p->FPaintID = FPaintID;
    }
    PaintCellFrame(Canvas(), ACol, ARow, ARect, AState, true);
}

void TBaseGrid::PaintCell(TCanvas* ACanvas, Integer ACol, Integer ARow, TRect ARect, TGridDrawState AState)
{
    PaintCellFrame(ACanvas, ACol, ARow, ARect, AState, true);
}

void TBaseGrid::PaintCellExt(TCanvas* ACanvas, Integer ACol, Integer ARow, TRect ARect, TGridDrawState AState)
{
    PaintCellFrame(ACanvas, ACol, ARow, ARect, AState, false);
}

void TBaseGrid::PaintCellFrame(TCanvas* ACanvas, Integer ACol, Integer ARow, TRect ARect, TGridDrawState AState,
                               bool Full)
{
    // 1. The hidden last row shows the grid's colour only.
    if (ARow == RowCount() - 1 && FHideLastRow) {
        ACanvas->Brush()->SetStyle(bsSolid);
        ACanvas->Brush()->SetColor(Color());
        ACanvas->Pen()->SetStyle(psSolid);
        ACanvas->Pen()->SetColor(Color());
        ACanvas->FillRect(ARect);
        return;
    }
    // 2. A non-base cell of a merged area paints its area through the base.
    const Integer realCol = RealColIndex(ACol);
    Integer bc = realCol, br = ARow;
    if (!ResolveBaseCell(realCol, ARow, bc, br)) {
        if (TCellProperties* b = CellPropertiesOf(bc, br)) {
            if (b->FPaintID != FPaintID) {
                b->FPaintID = FPaintID;
                PaintCell(ACanvas, bc, br, ARect, AState);
            }
        }
        return;
    }
    // 3, 4. Fixed state and the whole area's rectangle.
    if (Full && IsFixed(ACol, ARow)) {
        AState.Include(gdFixed);
        AState.Exclude(gdSelected);
    }
    if (Full) ARect = CellRect(ACol, ARow);
    const TRect saved = ARect;
    const bool fixed = AState.Contains(gdFixed);

    // 5. An area scrolled under the fixed cells paints only beside them.
    HDC dc = ACanvas->Handle();
    HRGN oldClip = nullptr;
    bool clipped = false, hadClip = false;
    {
        const Integer fx = ACol < FixedCols() ? 0 : FixedColsWidth();
        const Integer fy = ARow < FixedRows() ? 0 : FixedRowsHeight();
        if ((ACol >= FixedCols() && FixedCols() > 0 && ARect.Left < fx) ||
            (ARow >= FixedRows() && FixedRows() > 0 && ARect.Top < fy)) {
            oldClip = CreateRectRgn(0, 0, 0, 0);
            hadClip = GetClipRgn(dc, oldClip) == 1;
            IntersectClipRect(dc, fx, fy, Width(), Height());
            clipped = true;
        }
    }

    // 6. The cell's own look.
    ACanvas->Pen()->SetWidth(1);
    ACanvas->Font()->Assign(Font());
    TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    bool ww = FWordWrap;
    TCellGradientDirection gd = GradientVertical;
    GetVisualProperties(ACol, ARow, AState, false, true, true, ACanvas->Brush(), colorTo, mirror, mirrorTo,
                        ACanvas->Font(), ha, va, ww, gd);
    ACanvas->Pen()->SetColor(ACanvas->Brush()->Color());

    // 7. Hover row.
    {
        const bool exSelected = AState.Contains(gdSelected) && !FHoverRowCells.Contains(hcSelected);
        bool exFixed = AState.Contains(gdFixed) && !FHoverRowCells.Contains(hcFixed);
        if (HasNodes()) {
            if (!FHoverRowCells.Contains(hcGroupHeader) && IsNode(ARow)) exFixed = true;
            if (!FHoverRowCells.Contains(hcGroupSummary) && IsSummary(ARow)) exFixed = true;
        }
        if (FHoverRowIdx == ARow && FHoverRow && !exSelected && !exFixed) {
            ACanvas->Brush()->SetColor(FHoverRowColor);
            colorTo = FHoverRowColorTo;
            mirror = clNone;
            mirrorTo = clNone;
            gd = GradientVertical;
        }
    }
    // 8. Active row.
    if ((FActiveRowShow && Row() == ARow && (Col() != ACol || !FShowSel) && ACol >= FixedCols()) ||
        (!Full && AState.Contains(gdSelected))) {
        ACanvas->Brush()->SetColor(FActiveRowColor);
        colorTo = FActiveRowColorTo;
        mirror = FActiveRowMirrorColor;
        mirrorTo = FActiveRowMirrorColorTo;
    }
    ACanvas->Pen()->SetColor(ACanvas->Brush()->Color());

    // 9. Background.
    const bool rtl = UseRightToLeftReading();
    if (AState.Contains(gdSelected) && FSelectionStyle != ssDefault && FShowSel) {
        const TGridRect sel = Selection();
        const Integer left = std::min(sel.Left, sel.Right), right = std::max(sel.Left, sel.Right);
        Byte kind = 0;
        if (left == right)
            kind = 0;
        else if (ACol == left)
            kind = 1;
        else if (ACol == right)
            kind = 2;
        else if (ACol > left && ACol < right)
            kind = 3;
        TRect face = ARect;
        if (!Options().Contains(goHorzLine)) face.Bottom += 1;
        if (!Options().Contains(goVertLine)) face.Right += 1;
        if (rtl) {
            face.Bottom += 1;
            face.Right += 1;
        }
        const bool focused = (HandleAllocated() && GetFocus() == Handle()) || Options().Contains(goDrawFocusSelected);
        const TFaceColors& f = !focused ? kUnfocusedFace
                               : FSelectionStyle == ssVista ? kVistaFace
                               : FSelectionStyle == ssWin7  ? kWin7Face
                                                            : kOffice2007Face;
        DrawButtonSegment(ACanvas, f.From, f.To, f.MirrorFrom, f.MirrorTo, f.InnerUpper, f.InnerLower, f.Border,
                          f.InnerCorners, Color(), face, kind);
    } else if (!(GetUseVCLStyles() && (fixed || AState.Contains(gdSelected)))) {
        const TColor from = ACanvas->Brush()->Color();
        if (mirrorTo == clNone) {
            DrawGradient(ACanvas, from, colorTo, 64, ARect, gd == GradientHorizontal);
        } else if (from != clNone) {
            DrawGradientBackground(ACanvas, ARect, from, colorTo, mirror, mirrorTo, true, clNone, false, true);
        }
    }

    // 10. Grid lines, drawn inside the cell.
    Integer f = 0;
    if (fixed) {
        ACanvas->Pen()->SetColor(FGridFixedLineColor);
        ACanvas->Pen()->SetWidth(1);
        f = 1;
    } else {
        if (FGridLineWidth > 0) ACanvas->Pen()->SetColor(FGridLineColor);
        ACanvas->Pen()->SetWidth(FGridLineWidth);
        f = (FGridLineWidth + 1) / 2;
    }
    ACanvas->Pen()->SetStyle(psSolid);
    const TGridOptions opt = Options();
    const bool horz = (opt.Contains(goHorzLine) && !fixed) || (opt.Contains(goFixedHorzLine) && fixed);
    const bool vert = (opt.Contains(goVertLine) && !fixed) || (opt.Contains(goFixedVertLine) && fixed);
    if (horz && !(HasNodes() && !fixed && bc == 0)) {
        ACanvas->MoveTo(ARect.Left - f + 1, ARect.Bottom - f);
        ACanvas->LineTo(ARect.Right - f + 1, ARect.Bottom - f);
    }
    if (vert) {
        const Integer x = ARect.Right - f + (rtl ? 1 : 0);
        ACanvas->MoveTo(x, ARect.Bottom - f);
        ACanvas->LineTo(x, ARect.Top - f);
    }

    // 11. The content.
    TRect content = ARect;
    if (fixed) {
        content.Right -= 1;
        content.Bottom -= 2;
    } else {
        content.Left += FGridLineWidth;
        content.Top += FGridLineWidth;
        content.Right -= FGridLineWidth;
        content.Bottom -= FGridLineWidth;
    }
    if (Full) DrawGridCell(ACanvas, ACol, ARow, content, AState);

    // 12. Leave the canvas as it was found.
    ARect = saved;
    if (clipped) {
        SelectClipRgn(dc, hadClip ? oldClip : nullptr);
        DeleteObject(oldClip);
    }
    ACanvas->Brush()->SetStyle(bsSolid);
    ACanvas->Pen()->SetStyle(psSolid);
}

void TBaseGrid::DrawGridCell(TCanvas* ACanvas, Integer ACol, Integer ARow, TRect ARect, TGridDrawState)
{
    String s = GetCellEx(ACol, ARow);
    if (s.empty()) return;
    HDC dc = ACanvas->Handle();
    const int mode = SetBkMode(dc, TRANSPARENT);
    const COLORREF text = SetTextColor(dc, COLORREF(ColorToRGB(ACanvas->Font()->Color())));
    DrawText(dc, s.c_str(), Integer(s.size()), &ARect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SetTextColor(dc, text);
    SetBkMode(dc, mode);
}

// ---------------------------------------------------------------------------
// Geometry

Integer TBaseGrid::FixedColsWidth() const { return Integer(FCols.Start(std::min(FixedCols(), ColCount()))); }
Integer TBaseGrid::FixedRowsHeight() const { return Integer(FRows.Start(std::min(FixedRows(), RowCount()))); }

TRect TBaseGrid::CalcRawCellRect(Integer c, Integer r) const
{
    // The platform keeps prefix sums of the sizes: no walk over the lines.
    const Integer x = Integer(LinePos(false, c));
    const Integer y = Integer(LinePos(true, r));
    return TRect{x, y, x + ColWidths(c), y + RowHeights(r)};
}

TRect TBaseGrid::CellRect(Integer c, Integer r) const
{
    const Integer realCol = RealColIndex(c);
    if (const TCellProperties* p = CellPropertiesOf(realCol, r)) {
        if (p->FCellSpanX != -1 || p->CellSpanY() > 0) {
            const TPoint b = p->BaseCellOf(realCol, r);
            const TCellProperties* bp = CellPropertiesOf(b.X, b.Y);
            const Integer sx = bp ? std::max(0, bp->FCellSpanX) : 0;
            const Integer sy = bp ? std::max(0, bp->CellSpanY()) : 0;
            const Integer d = DisplColIndex(b.X);
            TRect first = CalcRawCellRect(d, b.Y);
            if (first.Right <= first.Left) first.Right = first.Left + 1;
            if (first.Bottom <= first.Top) first.Bottom = first.Top + 1;
            TRect last = CalcRawCellRect(d + sx, b.Y + sy);
            if (last.Right <= last.Left || last.Bottom <= last.Top) last.Left -= 1;
            return TRect{std::min(first.Left, last.Left), std::min(first.Top, last.Top),
                         std::max(first.Right, last.Right), std::max(first.Bottom, last.Bottom)};
        }
    }
    return CalcRawCellRect(c, r);
}

TPoint TBaseGrid::CellSize(Integer c, Integer r) const
{
    TRect rc;
    const TCellProperties* p = CellPropertiesOf(c, r);
    if (p && (p->FCellSpanX != -1 || p->CellSpanY() > 0)) {
        const TPoint b = p->BaseCellOf(c, r);
        const TCellProperties* bp = CellPropertiesOf(b.X, b.Y);
        const Integer sx = bp ? std::max(0, bp->FCellSpanX) : 0;
        const Integer sy = bp ? std::max(0, bp->CellSpanY()) : 0;
        const TRect a = CalcRawCellRect(b.X, b.Y), z = CalcRawCellRect(b.X + sx, b.Y + sy);
        rc = TRect{std::min(a.Left, z.Left), std::min(a.Top, z.Top), std::max(a.Right, z.Right),
                   std::max(a.Bottom, z.Bottom)};
    } else {
        rc = CalcRawCellRect(c, r);
    }
    return TPoint{rc.Width(), rc.Height()};
}

void TBaseGrid::RepaintCell(Integer c, Integer r)
{
    if (!HandleAllocated()) return;
    const TRect rc = CellRect(c, r);
    InvalidateRect(Handle(), &rc, TRUE);
}

void TBaseGrid::RepaintMergedFixedColCells()
{
    if (FixedCols() <= 0) return;
    const Integer last = std::min(RowCount() - 1, TopRow() + VisibleRowCount());
    for (Integer r = TopRow(); r <= last; ++r)
        for (Integer c = 0; c < FixedCols(); ++c)
            if (IsMergedCell(c, r)) RepaintCell(c, r);
}

void TBaseGrid::RepaintMergedFixedRowCells()
{
    if (FixedRows() <= 0) return;
    const Integer last = std::min(ColCount() - 1, LeftCol() + VisibleColCount());
    for (Integer c = LeftCol(); c <= last; ++c)
        for (Integer r = 0; r < FixedRows(); ++r)
            if (IsMergedCell(c, r)) RepaintCell(c, r);
}
