// The cell painter: what lies on top of the background the base grid
// fills, in a fixed order: fixed-cell looks, the always-visible editor
// buttons, the content (selection colours, background picture or gradient
// slice, selection rectangle, text), borders, tree lines, the graphic, the
// drawing events and last the focus rectangle.
#include <algorithm>
#include <cmath>

#include "controls/dropdown/DropDownButton.h"
#include "controls/foundation/VodUtil.h"
#include "controls/grid/VodGrid.h"
#include "controls/grid/editors/GridEditors.h"
#include "platform/ui/ComCtrls_Bars.h"
#include "platform/ui/Themes.h"
#include "platform/ui/WindowManager.h"

namespace {

bool LeftButtonDown() { return (GetKeyState(VK_LBUTTON) & 0x8000) != 0; }

// Font size grown by the zoom step; never 0 or less.
void ApplyZoom(TFont* F, Integer Zoom)
{
    if (Zoom == 0) return;
    F->SetSize(std::max(1, F->Size() + Zoom));
}

constexpr TCellTypes kButtonLikeTypes{ctCheckBox, ctDataCheckBox, ctRadio, ctButton, ctRadioButton};

}  // namespace

void TVodStringGrid::SetHideFocusRect(bool Value)
{
    if (FHideFocusRect == Value) return;
    FHideFocusRect = Value;
    Invalidate();
}

void TVodStringGrid::DrawGridCell(TCanvas* ACanvas, Integer ACol, Integer ARow, TRect ARect, TGridDrawState AState)
{
    TCellDrawFrame F;
    F.Canvas = ACanvas;
    F.ACol = ACol;
    F.ARow = ARow;
    F.Rect = ARect;
    F.State = AState;
    F.LinkColor = FURLColor;
    struct TFrameScope {
        TVodStringGrid* G;
        TCellDrawFrame* Outer;
        ~TFrameScope() { G->FCellDrawFrame = Outer; }
    } scope{this, FCellDrawFrame};
    FCellDrawFrame = &F;

    // 1.
    if (Ctl3D() == FFlat) SetCtl3D(!FFlat);
    F.RCol = RealColIndex(ACol);
    const bool persistent = FMouseActions->DisjunctRowSelect() && FMouseActions->RowSelectPersistent();
    F.SelRow = persistent ? RealRowIndex(ARow) : ARow;
    F.IsFixedCell = IsFixed(ACol, ARow) || ACol < FixedCols() || ARow < FixedRows();
    if (FHoverRow && ARow == FHoverRowIdx && FHoverRowCells.Contains(hcFixed)) F.IsFixedCell = false;
    if (ARow == FFilterDropDownRow && ARow < FixedRows()) {
        // The list builder fills the grid's filter list, which an open
        // filter drop-down shows and picks from: painting keeps it as it was.
        TStringList kept;
        kept.Assign(FFilterList.get());
        F.ShowFilterGlyph = BuildColumnFilterList(F.RCol, true, false);
        FFilterList->Assign(&kept);
    }

    // 2. A cell with its own scroll bar: the one shared control, painted
    // at the cell's right.
    if (HasScrollBar(F.RCol, ARow) && FCellPaintScrollBar) {
        F.ScrollPos = GetScrollPosition(F.RCol, ARow);
        const TScrollProp sp = GetScrollProp(F.RCol, ARow);
        if (sp.PageSize < sp.Range) {
            TScrollBar* sb = FCellPaintScrollBar;
            sb->SetParams(std::clamp(F.ScrollPos, 0, sp.Range), 0, sp.Range);
            sb->SetPageSize(sp.PageSize);
            sb->SetHeight(F.Rect.Height());
            F.Rect.Right -= sb->Width();
            sb->PaintTo(ACanvas, F.Rect.Right, F.Rect.Top);
        }
    }

    // 3. The look without selection colours: those come from the base
    // fill and the content step.
    F.WW = WordWrap();
    GetVisualProperties(ACol, ARow, F.State, false, false, true, ACanvas->Brush(), F.ColorTo, F.MirrorColor,
                        F.MirrorColorTo, ACanvas->Font(), F.HA, F.VA, F.WW, F.GD);

    // 4. The graphic and the room it takes.
    F.Graphic = GetCellGraphicLayout(F.RCol, ARow, F.GW, F.GH, F.ShowText, F.GraphicHAlign, F.GraphicVAlign);
    if (F.RCol == 0 && IsNode(ARow)) {
        const TCellProperties* p = CellPropertiesOf(0, ARow);
        F.GW = (p ? p->NodeLevel() : 0) * 12 + 4;
    }

    // 5.
    if (F.State.Contains(gdSelected) && !F.State.Contains(gdFocused) && FSelectionColor == clNone)
        ACanvas->Brush()->SetColor(clHighlight);
    // 6.
    ApplyZoom(ACanvas->Font(), FZoomFactor);
    // 7.
    F.SavedBrush = ACanvas->Brush()->Color();
    F.SavedFont = ACanvas->Font()->Color();

    // 8. Platform styles: the application style query answers "no custom
    // style", so nothing is painted by a style here.
    F.StyleDrawn = false;

    // 9. Fixed-cell looks.
    if (F.IsFixedCell && !F.StyleDrawn) DrawFixedCellLook(F);
    if (F.RCol == 0) DrawRowIndicator(F);
    DrawListViewHeader(F);
    // 10.
    if (ACol == 0) DrawModifiedMarker(F);
    // 11.
    if (OnCustomCellBkgDraw) OnCustomCellBkgDraw(this, ACanvas, F.RCol, ARow, F.State, F.Rect, false);
    // 12.
    const Integer rightBefore = F.Rect.Right;
    if (!IsFixed(ACol, ARow)) DrawAlwaysVisibleButtons(F);
    // 13. An interfaced graphic that asks to paint before the content.
    bool interfaceDrawn = false;
    if (F.Graphic && F.Graphic->CellType() == ctInterface) {
        IGridCellDraw* d = nullptr;
        if (Supports(F.Graphic->CellBitmap(), d) && d->CellDrawBefore()) {
            TRect r = F.Rect;
            InflateRect(r, 1, 1);
            DrawCellGraphic(F, r, F.Graphic, F.VA);
            interfaceDrawn = true;
        }
    }
    const bool custom = OnDrawCell || OnCustomCellDraw;
    if (F.Graphic ? (!FNoImageAndText && (!custom || !FNoDefaultDraw)) : (!custom || !FNoDefaultDraw))
        DrawCellContent(F);
    // 14.
    F.Rect.Right = rightBefore;
    // 15.
    ACanvas->Brush()->SetColor(F.SavedBrush);
    ACanvas->Font()->SetColor(F.SavedFont);
    // 16.
    InflateRect(F.Rect, 1, 1);
    DrawCellBorders(F);
    if (ACol == 0 && ARow == Row() && FixedCols() > 0 && !FRowIndicator->Empty())
        F.Rect.Left -= FRowIndicator->Width();
    // 17.
    DrawFixedCellEdges(F);
    // 18.
    DrawTreeLines(F);
    // 19. The cell graphic; its top is one pixel lower in fixed cells.
    if (F.Graphic && !interfaceDrawn) {
        TRect r = F.Rect;
        if (F.IsFixedCell) r.Top += 1;
        DrawCellGraphic(F, r, F.Graphic, F.VA);
    }
    // 20.
    if (OnDrawCell) {
        TRect r = F.Rect;
        r.Right -= FGridLineWidth;
        r.Bottom -= FGridLineWidth;
        OnDrawCell(this, F.RCol, ARow, r, F.State);
    }
    if (OnCustomCellDraw) OnCustomCellDraw(this, ACanvas, F.RCol, ARow, F.State, F.Rect, false);

    // 21. The focus rectangle, last.
    if (!FHideFocusRect && HandleAllocated() && GetFocus() == Handle() && Col() >= FixedCols() &&
        Row() >= FixedRows()) {
        const TPoint base = BaseCell(F.RCol, ARow);
        if (base.X == RealColIndex(Col()) && base.Y == Row()) {
            TRect r = F.Rect;
            InflateRect(r, FGridLineWidth - 1, FGridLineWidth - 1);
            r.Right -= 1;
            r.Bottom -= 1;
            ACanvas->DrawFocusRect(r);
        }
    }

    // 22. Column numbers while designing.
    if (ComponentState().Contains(csDesigning) && FDesignColNumbers && ARow == 0) {
        ACanvas->Brush()->SetStyle(bsClear);
        ACanvas->Font()->SetName(String());
        ACanvas->Font()->SetSize(8);
        ACanvas->Font()->SetStyle(TFontStyles{});
        ACanvas->Font()->SetColor(TColor(0x808080));
        TRect r = F.Rect;
        r.Right -= 2;
        const String s = IntToStr(F.RCol);
        DrawText(ACanvas->Handle(), s.c_str(), Integer(s.size()), &r, DT_SINGLELINE | DT_BOTTOM | DT_RIGHT);
        ACanvas->Brush()->SetStyle(bsSolid);
    }
}

// ---------------------------------------------------------------------------
// Always-visible editor buttons

void TVodStringGrid::DrawAlwaysVisibleButtons(TCellDrawFrame& F)
{
    TControlLook* L = FControlLook.get();
    if (!L->DropDownAlwaysVisible() && !L->SpinButtonsAlwaysVisible()) return;
    TPartKind kind = L->FlatButton() ? pkFlat : (IsThemeActive() ? pkThemed : pkClassic);
    if (FFlat && FTones.Background.BrushColor != clNone) kind = pkOwnColors;
    const TPartState state = IsCellEditable(F.RCol, F.ARow) ? pstNormal : pstDisabled;
    TEditorType editor = FDefaultEditor;
    GetCellEditorType(F.RCol, F.ARow, editor);
    const double dpi = FDPIScale > 0 ? FDPIScale : 1.0;
    TCanvas* C = F.Canvas;
    if (L->DropDownAlwaysVisible()) {
        if (HasComboBox(F.RCol, F.ARow, editor)) {
            const TRect r{F.Rect.Left - 2, F.Rect.Top - 1, F.Rect.Right + 1, F.Rect.Bottom};
            DrawComboButton(C, HandleAllocated() ? Handle() : nullptr, r, kind, state, FTones, float(dpi));
            F.Rect.Right -= Integer(std::lround(L->DropDownButtonWidth() * dpi));
        }
        if (HasEditBtn(F.RCol, F.ARow, editor)) {
            String caption = L"...";
            if (FBtnEdit) caption = FBtnEdit->ButtonCaption();
            const Integer w = L->DropDownButtonWidth();
            const TRect r{F.Rect.Right - w - 3, F.Rect.Top - 2, F.Rect.Right - 1, F.Rect.Bottom - 1};
            DrawPushButton(C, HandleAllocated() ? Handle() : nullptr, r, kind, state, FTones, L->ButtonPrefix(),
                           caption);
            F.Rect.Right -= w;
        }
    }
    if (L->SpinButtonsAlwaysVisible() && HasSpinEdit(F.RCol, F.ARow, editor)) {
        DrawSpinButtons(C, HandleAllocated() ? Handle() : nullptr, F.Rect, kind, state, FTones);
        F.Rect.Right -= 16;
    }
}

// ---------------------------------------------------------------------------
// The content

void TVodStringGrid::DrawCellContent(TCellDrawFrame& F)
{
    TCanvas* C = F.Canvas;
    const Integer fixedCols = FixedCols();
    const bool normalColumn = F.ACol >= fixedCols && F.ACol < ColCount() - FFixedRightCols;
    const bool down = LeftButtonDown();
    const bool selVisible = IsSelectionVisible();

    // 1. The selected look.
    F.Selected = F.State.Contains(gdSelected) ||
                 (RowSelect(F.SelRow) && Options().Contains(goRowSelect) && normalColumn);
    if (F.Selected && !F.IsFixedCell) {
        if (selVisible) {
            if (FSelectionColor != clNone) C->Brush()->SetColor(FSelectionColor);
            if (FSelectionTextColor != clNone && Enabled()) C->Font()->SetColor(FSelectionTextColor);
            F.LinkColor = FSelectionTextColor;
        }
        const bool focused = HandleAllocated() && GetFocus() == Handle();
        if ((!focused || HasCellGraphicOfKinds(F.RCol, F.ARow, TCellTypes{ctCheckBox, ctDataCheckBox, ctVirtCheckBox,
                                                                          ctRowCheckBox, ctTriStateCheckBox})) &&
            !selVisible) {
            C->Brush()->SetColor(F.SavedBrush);
            C->Font()->SetColor(F.SavedFont);
            F.LinkColor = FURLColor;
        }
    }

    // 2. The display text, prepared for drawing.
    PrepareCellText(F);

    // 3. The text rectangle; a scrolled cell draws its text shifted up,
    // clipped to the cell.
    F.TextRect = F.Rect;
    if (IsFixed(F.ACol, F.ARow)) {
        F.TextRect.Left += FGridLineWidth;
        F.TextRect.Top += FGridLineWidth;
    }
    HDC dc = C->Handle();
    HRGN oldClip = nullptr;
    bool hadClip = false;
    if (F.ScrollPos > 0) {
        oldClip = CreateRectRgn(0, 0, 0, 0);
        hadClip = GetClipRgn(dc, oldClip) == 1;
        IntersectClipRect(dc, F.Rect.Left, F.Rect.Top, F.Rect.Right, F.Rect.Bottom);
        F.ContentClip = true;
        F.TextRect.Top -= F.ScrollPos;
    }

    // 4. The filter glyph.
    if (F.ShowFilterGlyph) DrawFilterGlyph(F);

    // 5. Disjunct selection: a cell of a row or column that is not selected
    // shows the plain colours again.
    if (!F.IsFixedCell && !down &&
        ((FMouseActions->DisjunctRowSelect() && !RowSelect(F.SelRow)) ||
         (FMouseActions->DisjunctColSelect() && !ColSelect(F.RCol)))) {
        C->Brush()->SetColor(Color());
        C->Font()->SetColor(Font()->Color());
        F.LinkColor = FURLColor;
        GetCellColor(F.RCol, F.ARow, F.State, C->Brush(), C->Font());
        ApplyZoom(C->Font(), FZoomFactor);
    }

    // 6. The background picture, unless the cell has its own colour or the
    // selection shows.
    const bool fixedForCells = F.IsFixedCell;
    const TBackGroundCells cells = FBackGround->Cells();
    const bool cellsRule = fixedForCells ? (cells == bcFixed || cells == bcAll) : (cells == bcNormal || cells == bcAll);
    const bool ownColor = Colors(F.RCol, F.ARow) != clNone;
    if (!FBackGround->Bitmap()->Empty() && !ownColor && cellsRule && !(F.Selected && selVisible)) {
        TRect t = F.Rect;
        t.Left -= FGridLineWidth - 1;
        t.Top -= FGridLineWidth - 1;
        if (FBackGround->Display() == bdTile)
            DrawCellPictureTiled(C, t, F.RCol, F.ARow);
        else
            DrawCellPictureFixed(C, t);
    }
    // 7. The slice of the control-wide gradient.
    const TBackGroundDisplay disp = FBackGround->Display();
    if ((disp == bdGradientHorz || disp == bdGradientVert) &&
        (!ownColor || kButtonLikeTypes.Contains(GetCellType(F.RCol, F.ARow))) && cellsRule &&
        !((F.Selected || (F.State.Contains(gdFocused) && Options().Contains(goDrawFocusSelected))) && selVisible)) {
        DrawCellGradientSlice(C, TRect{F.Rect.Left - 1, F.Rect.Top - FGridLineWidth, F.Rect.Right,
                                       F.Rect.Bottom + FGridLineWidth - 1});
    }

    // 8. The selection rectangle.
    if (FSelectionRectangle && !F.IsFixedCell) {
        TGridRect sel = Selection();
        if (IsMergedCell(F.RCol, F.ARow)) {
            const TPoint b = BaseCell(RealColIndex(sel.Left), sel.Top);
            sel = TGridRect{DisplColIndex(b.X), b.Y, DisplColIndex(b.X), b.Y};
        }
        if (F.ACol >= sel.Left && F.ACol <= sel.Right && F.ARow >= sel.Top && F.ARow <= sel.Bottom) {
            const bool lines = Options().Contains(goHorzLine) || Options().Contains(goVertLine);
            const Integer D = lines ? 1 : 0;
            const Integer L = FGridLineWidth;
            const TRect& r = F.Rect;
            C->Pen()->SetColor(FSelectionRectangleColor);
            C->Pen()->SetWidth(lines ? 2 : 1);
            C->Pen()->SetStyle(psSolid);
            const bool leftCol = sel.Left == F.ACol, rightCol = sel.Right == F.ACol;
            if (leftCol) {
                C->MoveTo(r.Left + D - L, r.Bottom);
                C->LineTo(r.Left + D - L, r.Top - L);
            }
            if (rightCol) {
                C->MoveTo(r.Right - 1, r.Bottom);
                C->LineTo(r.Right - 1, r.Top - L);
            }
            const Integer x1 = leftCol ? r.Left - L : r.Left - L - 1;
            const Integer x2 = rightCol ? r.Right - 1 : r.Right;
            if (sel.Top == F.ARow) {
                C->MoveTo(x1, r.Top + D - L);
                C->LineTo(x2, r.Top + D - L);
            }
            if (sel.Bottom == F.ARow) {
                C->MoveTo(x1, r.Bottom + D - 1);
                C->LineTo(x2, r.Bottom + D - 1);
            }
            if (FSelectionResizer && rightCol && sel.Bottom == F.ARow) {
                const Integer side = Integer(std::lround(4 * (FDPIScale > 0 ? FDPIScale : 1.0)));
                const TColor keep = C->Brush()->Color();
                C->Brush()->SetColor(FSelectionRectangleColor);
                C->FillRect(TRect{r.Right - side, r.Bottom - side, r.Right, r.Bottom});
                C->Brush()->SetColor(keep);
            }
            C->Pen()->SetWidth(1);
        }
    }

    // 9. The text.
    if (F.ShowText) DrawCellText(F);
    if (F.ContentClip) {
        SelectClipRgn(dc, hadClip ? oldClip : nullptr);
        F.ContentClip = false;
    }
    if (oldClip) DeleteObject(oldClip);
}

// ---------------------------------------------------------------------------
// Background picture and gradient of a cell

void TVodStringGrid::DrawCellPictureFixed(TCanvas* ACanvas, const TRect& R)
{
    TBitmap* bmp = FBackGround->Bitmap();
    if (bmp->Empty()) return;
    const TRect pic = Bounds(FBackGround->Left(), FBackGround->Top(), bmp->Width(), bmp->Height());
    TRect part;
    if (!IntersectRect(part, pic, R)) return;
    HDC dc = ACanvas->Handle();
    SetBkMode(dc, TRANSPARENT);
    BitBlt(dc, part.Left, part.Top, part.Width(), part.Height(), bmp->Canvas()->Handle(), part.Left - pic.Left,
           part.Top - pic.Top, SRCCOPY);
}

void TVodStringGrid::DrawCellPictureTiled(TCanvas* ACanvas, const TRect& R, Integer RCol, Integer ARow)
{
    TBitmap* bmp = FBackGround->Bitmap();
    const Integer w = bmp->Width(), h = bmp->Height();
    if (bmp->Empty() || w <= 0 || h <= 0 || R.Right <= R.Left || R.Bottom <= R.Top) return;
    const bool normal = FBackGround->Cells() == bcNormal;
    const Integer c0 = normal ? FixedCols() : 0, r0 = normal ? FixedRows() : 0;
    // The offset into the picture: the widths and heights from the anchor
    // cell, from the layout's prefix sums (no walk over the lines).
    const Int64 dx = RCol > c0 ? LinePos(false, RCol) - LinePos(false, c0) : 0;
    const Int64 dy = ARow > r0 ? LinePos(true, ARow) - LinePos(true, r0) : 0;
    Integer sx = Integer(((dx % w) + w) % w), sy = Integer(((dy % h) + h) % h);
    HDC dc = ACanvas->Handle();
    HDC src = bmp->Canvas()->Handle();
    SetBkMode(dc, TRANSPARENT);
    for (Integer y = R.Top - 1, oy = sy; y < R.Bottom; oy = 0) {
        const Integer th = std::min(h - oy, R.Bottom - y);
        for (Integer x = R.Left - 1, ox = sx; x < R.Right; ox = 0) {
            const Integer tw = std::min(w - ox, R.Right - x);
            BitBlt(dc, x, y, tw, th, src, ox, oy, SRCCOPY);
            x += tw;
        }
        y += th;
    }
}

void TVodStringGrid::DrawCellGradientSlice(TCanvas* ACanvas, TRect R)
{
    const bool horz = FBackGround->Display() == bdGradientHorz;
    const Integer span = std::max(1, horz ? Width() : Height());
    const Integer from = std::clamp(horz ? R.Left : R.Top, 0, span);
    const Integer to = std::clamp(horz ? R.Right : R.Bottom, 0, span);
    const TColor c1 = InterpolateColor(FBackGround->Color(), FBackGround->ColorTo(), 0, span, from);
    const TColor c2 = InterpolateColor(FBackGround->Color(), FBackGround->ColorTo(), 0, span, to);
    ACanvas->Brush()->SetColor(c2);
    ACanvas->Pen()->SetColor(c2);
    if (!Options().Contains(goHorzLine)) R.Bottom += 1;
    DrawSteppedGradient(ACanvas, c1, c2, horz, R, 128);
}

// ---------------------------------------------------------------------------
// Borders and tree lines

void TVodStringGrid::DrawCellBorders(TCellDrawFrame& F)
{
    TCanvas* C = F.Canvas;
    TPen saved;
    saved.Assign(C->Pen());
    TCellBorders borders;
    GetCellBorder(F.RCol, F.ARow, C->Pen(), borders);
    TPen left, top, right, bottom;
    left.Assign(C->Pen());
    top.Assign(C->Pen());
    right.Assign(C->Pen());
    bottom.Assign(C->Pen());
    if (OnGetCellBorderProp) OnGetCellBorderProp(this, F.ARow, F.RCol, &left, &top, &right, &bottom);
    if (!borders.Empty()) {
        TRect r = F.Rect;
        const Integer W = (C->Pen()->Width() + 1) / 2;
        const Integer H = Options().Contains(goVertLine) ? W : 0;
        const Integer V = Options().Contains(goHorzLine) ? W : 0;
        r.Left += H;
        if (!IsFixed(F.ACol, F.ARow)) r.Left -= 1;
        r.Bottom -= V;
        r.Right -= H;
        if (borders.Contains(cbLeft)) {
            C->Pen()->Assign(&left);
            C->MoveTo(std::max(0, r.Left), r.Top);
            C->LineTo(std::max(0, r.Left), r.Bottom);
        }
        if (borders.Contains(cbRight)) {
            C->Pen()->Assign(&right);
            C->MoveTo(r.Right - 1, r.Top);
            C->LineTo(r.Right - 1, r.Bottom);
        }
        if (borders.Contains(cbTop)) {
            C->Pen()->Assign(&top);
            const Integer y = FGridLineWidth != 0 ? std::max(0, r.Top + V - FGridLineWidth) : r.Top + V + 2;
            C->MoveTo(r.Left, y);
            C->LineTo(r.Right, y);
        }
        if (borders.Contains(cbBottom)) {
            C->Pen()->Assign(&bottom);
            C->MoveTo(r.Left, r.Bottom - 1);
            C->LineTo(r.Right, r.Bottom - 1);
        }
    }
    C->Pen()->Assign(&saved);
}

void TVodStringGrid::DrawTreeLines(TCellDrawFrame& F)
{
    if (!HasNodes() || F.RCol != FCellNode->NodeColumn() || F.ARow < FixedRows() || !FCellNode->ShowTree()) return;
    TCanvas* C = F.Canvas;
    C->Pen()->SetColor(FCellNode->TreeColor());
    C->Pen()->SetWidth(1);
    const TRect& r = F.Rect;
    const Integer I = FCellNode->NodeIndent();
    const Integer U = GetNodeIndent(F.ARow);
    const Integer mid = r.Top + (r.Bottom - r.Top) / 2;
    const Integer x0 = r.Left + U + I / 2 - I + 2;
    const TCellProperties* p = CellPropertiesOf(F.RCol, F.ARow);
    const Integer level = p ? p->NodeLevel() : 0;
    if (level > 0) {
        C->MoveTo(x0, mid);
        C->LineTo(FCellNode->ShowTreeFull() ? r.Right : r.Left + U + 4, mid);
    }
    if (U > 0) {
        const Integer span = GetNodeSpanType(F.ARow);
        if (span == 1) {
            C->MoveTo(x0, r.Top);
            C->LineTo(x0, mid);
        } else if (span == 2) {
            C->MoveTo(x0, r.Top);
            C->LineTo(x0, r.Bottom + 4);
        }
    }
    if (p && level > 0) {
        const bool hasNext = F.ARow + 1 < RowCount();
        const TCellProperties* next = hasNext ? CellPropertiesOf(F.RCol, F.ARow + 1) : nullptr;
        const Integer nextLevel = next ? next->NodeLevel() : 0;
        for (Integer e = 1; e <= level; ++e) {
            const Integer x = x0 - I * e;
            if (x > r.Left) {
                C->MoveTo(x, r.Top);
                C->LineTo(x, mid);
            }
            if (hasNext) {
                if (nextLevel < level - e && e < level) {
                    C->MoveTo(x, mid);
                    C->LineTo(x + I, mid);
                } else if (x > r.Left) {
                    C->MoveTo(x, mid);
                    C->LineTo(x, r.Bottom + 4);
                }
            } else if (e < level) {
                C->MoveTo(x, mid);
                C->LineTo(x + I, mid);
            }
        }
    }
    C->Pen()->SetStyle(psSolid);
}
