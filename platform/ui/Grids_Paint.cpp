// Painting of the grids: visible cells only, through DrawCell, then the
// grid lines and what lies past the last cell.
#include <algorithm>

#include "platform/ui/Grids.h"
#include "platform/ui/WindowManager.h"

namespace {

// The visible lines of one axis: fixed ones, then from the first scrollable
// one until the client's end.
struct TVisibleLine {
    Integer Index;
    Integer Pos;
    Integer Extent;
};

std::vector<TVisibleLine> VisibleLines(const TGridAxis& a, Integer Fixed, Integer First, Integer ClientExtent)
{
    std::vector<TVisibleLine> out;
    Int64 pos = 0;
    for (Integer i = 0; i < std::min(Fixed, a.Count) && pos < ClientExtent; ++i) {
        const Integer e = a.Extent(i);
        out.push_back({i, Integer(pos), e});
        pos += Int64(e) + a.LineWidth;
    }
    for (Integer i = First; i < a.Count && pos < ClientExtent; ++i) {
        const Integer e = a.Extent(i);
        out.push_back({i, Integer(pos), e});
        pos += Int64(e) + a.LineWidth;
    }
    return out;
}

bool InRect(const TGridRect& r, Integer c, Integer row)
{
    return c >= r.Left && c <= r.Right && row >= r.Top && row <= r.Bottom;
}

}  // namespace

void TCustomGrid::Paint()
{
    TCanvas* C = Canvas();
    const Integer w = ClientWidth(), h = ClientHeight();
    const std::vector<TVisibleLine> cols = VisibleLines(FCols, FFixedCols, FTopLeft.X, w);
    const std::vector<TVisibleLine> rows = VisibleLines(FRows, FFixedRows, FTopLeft.Y, h);
    const TGridRect sel = Selection();
    const bool focused = HandleAllocated() && (Focused() || (FInplaceEdit && FInplaceEdit->Focused()));
    const bool editorShown = FEditorMode && FInplaceEdit && FInplaceEdit->HandleAllocated() &&
                             IsWindowVisible(FInplaceEdit->Handle());

    // Only the cells in the part being painted are drawn (after a scroll,
    // the strip that came into view).
    TRect box{};
    const bool clipped = GetClipBox(C->Handle(), &box) != ERROR && !IsRectEmpty(box);
    for (const TVisibleLine& r : rows) {
        if (clipped && (r.Pos >= box.Bottom || r.Pos + r.Extent <= box.Top)) continue;
        for (const TVisibleLine& c : cols) {
            const TRect where = Rect(c.Pos, r.Pos, c.Pos + c.Extent, r.Pos + r.Extent);
            if (clipped && (c.Pos >= box.Right || c.Pos + c.Extent <= box.Left)) continue;
            TGridDrawState st;
            const bool fixed = r.Index < FFixedRows || c.Index < FFixedCols;
            if (fixed) st.Include(gdFixed);
            const bool isCurrent = c.Index == FCurrent.X && r.Index == FCurrent.Y;
            if (!fixed) {
                if (isCurrent && focused) st.Include(gdFocused);
                if (InRect(sel, c.Index, r.Index) &&
                    (!isCurrent || !focused || FOptions.Contains(goDrawFocusSelected) || FOptions.Contains(goRowSelect)))
                    st.Include(gdSelected);
            }
            // The editor covers its cell.
            if (isCurrent && editorShown) continue;
            if (FDefaultDrawing) {
                C->Brush()->SetColor(fixed ? FFixedColor : st.Contains(gdSelected) ? clHighlight : FColor);
                C->Font()->Assign(Font());
                if (st.Contains(gdSelected)) C->Font()->SetColor(clHighlightText);
                C->FillRect(where);
            }
            DrawCell(c.Index, r.Index, where, st);
            if (FDefaultDrawing && fixed && FOptions.Contains(goFixedVertLine) && FOptions.Contains(goFixedHorzLine)) {
                TRect edge = where;
                DrawEdge(C->Handle(), &edge, BDR_RAISEDINNER, BF_BOTTOMRIGHT);
                edge = where;
                DrawEdge(C->Handle(), &edge, BDR_RAISEDINNER, BF_TOPLEFT);
            }
            if (FDefaultDrawing && st.Contains(gdFocused) && !FOptions.Contains(goRowSelect) &&
                !(FOptions.Contains(goEditing) && FOptions.Contains(goAlwaysShowEditor))) {
                C->Brush()->SetColor(FColor);
                C->DrawFocusRect(where);
            }
        }
    }

    // Grid lines: fixed ones in black, the others in silver.
    const Integer lw = FCols.LineWidth;
    const Integer gridRight = cols.empty() ? 0 : cols.back().Pos + cols.back().Extent + lw;
    const Integer gridBottom = rows.empty() ? 0 : rows.back().Pos + rows.back().Extent + lw;
    const Integer fixedH = FixedExtent(true), fixedW = FixedExtent(false);
    if (lw > 0) {
        auto fill = [&](TRect r, TColor color) {
            if (r.Right <= r.Left || r.Bottom <= r.Top) return;
            C->Brush()->SetColor(color);
            C->FillRect(r);
        };
        for (const TVisibleLine& c : cols) {
            const Integer x = c.Pos + c.Extent;
            const bool fixedCol = c.Index < FFixedCols;
            if (FOptions.Contains(goFixedVertLine)) fill(Rect(x, 0, x + lw, std::min(fixedH, gridBottom)), clBlack);
            if (fixedCol ? FOptions.Contains(goFixedVertLine) : FOptions.Contains(goVertLine))
                fill(Rect(x, fixedH, x + lw, gridBottom), fixedCol ? clBlack : clSilver);
        }
        for (const TVisibleLine& r : rows) {
            const Integer y = r.Pos + r.Extent;
            const bool fixedRow = r.Index < FFixedRows;
            if (FOptions.Contains(goFixedHorzLine)) fill(Rect(0, y, std::min(fixedW, gridRight), y + lw), clBlack);
            if (fixedRow ? FOptions.Contains(goFixedHorzLine) : FOptions.Contains(goHorzLine))
                fill(Rect(fixedW, y, gridRight, y + lw), fixedRow ? clBlack : clSilver);
        }
    }
    // Past the last line: the grid's colour.
    C->Brush()->SetColor(FColor);
    if (gridRight < w) C->FillRect(Rect(gridRight, 0, w, h));
    if (gridBottom < h) C->FillRect(Rect(0, gridBottom, std::min(gridRight, w), h));
}

// ---------------------------------------------------------------------------
// TCustomDrawGrid

void TCustomDrawGrid::DrawCell(Integer ACol, Integer ARow, const TRect& ARect, TGridDrawState AState)
{
    if (OnDrawCell) OnDrawCell(this, ACol, ARow, ARect, AState);
}

String TCustomDrawGrid::GetEditMask(Integer ACol, Integer ARow)
{
    String v;
    if (OnGetEditMask) OnGetEditMask(this, ACol, ARow, v);
    return v;
}

String TCustomDrawGrid::GetEditText(Integer ACol, Integer ARow)
{
    String v;
    if (OnGetEditText) OnGetEditText(this, ACol, ARow, v);
    return v;
}

void TCustomDrawGrid::SetEditText(Integer ACol, Integer ARow, const String& Value)
{
    if (OnSetEditText) OnSetEditText(this, ACol, ARow, Value);
}

void TCustomDrawGrid::ColumnMoved(Integer FromIndex, Integer ToIndex)
{
    TCustomGrid::ColumnMoved(FromIndex, ToIndex);
    if (OnColumnMoved) OnColumnMoved(this, FromIndex, ToIndex);
}

void TCustomDrawGrid::RowMoved(Integer FromIndex, Integer ToIndex)
{
    TCustomGrid::RowMoved(FromIndex, ToIndex);
    if (OnRowMoved) OnRowMoved(this, FromIndex, ToIndex);
}

bool TCustomDrawGrid::SelectCell(Integer ACol, Integer ARow)
{
    bool ok = true;
    if (OnSelectCell) OnSelectCell(this, ACol, ARow, ok);
    return ok;
}

void TCustomDrawGrid::TopLeftChanged()
{
    TCustomGrid::TopLeftChanged();
    if (OnTopLeftChanged) OnTopLeftChanged(this);
}
