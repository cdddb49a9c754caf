// The looks of fixed cells: gradient headers with their hot and pressed
// states, the active-cell and sorted-column headers, the row indicator, the
// list-view header, the modified-row marker, the edges of the classic, soft
// and gradient looks, the lines of right fixed columns, the filter glyph and
// the sort glyph with its index number.
#include <algorithm>

#include "controls/foundation/VodUtil.h"
#include "controls/grid/VodGrid.h"
#include "platform/ui/Themes.h"
#include "platform/ui/WindowManager.h"

namespace {

bool LeftButtonDown() { return (GetKeyState(VK_LBUTTON) & 0x8000) != 0; }

void Line(TCanvas* C, Integer X1, Integer Y1, Integer X2, Integer Y2)
{
    C->MoveTo(X1, Y1);
    C->LineTo(X2, Y2);
}

// A vertical two-half gradient (the lower half in the mirror pair when it
// is set) with an optional frame.
void HeaderFill(TCanvas* C, const TRect& R, TColor From, TColor To, TColor MirrorFrom, TColor MirrorTo, TColor Border)
{
    DrawGradientBackground(C, R, From, To, MirrorFrom, MirrorTo, true, Border, false, true);
}

}  // namespace

// Whether the fixed cell takes hover highlighting, by HoverFixedCells.
static bool TakesHover(THoverFixedCells H, Integer ACol, Integer ARow, Integer FixedCols, Integer FixedRows)
{
    switch (H) {
    case hfAll: return ACol < FixedCols || ARow < FixedRows;
    case hfFixedRows: return ARow < FixedRows;
    case hfFixedColumns: return ACol < FixedCols;
    default: return false;
    }
}

void TVodStringGrid::DrawFixedCellLook(TCellDrawFrame& F)
{
    if (!(FLook == glQel || FLook == glXP || FLook == glVista || FLook == glWin7 || FLook == glOffice2007)) return;
    TCanvas* C = F.Canvas;
    TRect& r = F.Rect;
    const bool moving = FMovingColumn >= 0;
    const bool hovered = TakesHover(FHoverFixedCells, F.ACol, F.ARow, FixedCols(), FixedRows()) &&
                         ((FHoverFixedCell.X == F.ACol && FHoverFixedCell.Y == F.ARow && !moving) ||
                          (moving && FMovingColumn == F.ACol)) &&
                         !ComponentState().Contains(csDesigning);
    if (hovered) {
        r.Bottom += 1;
        const bool pressed = LeftButtonDown() || moving;
        const bool dropDown = FControlLook->FixedDropDownButton() && CanShowFixedDropDown(F.RCol);
        auto hot = [&](const TRect& R) {
            HeaderFill(C, R, FQelGradHoverFrom, FQelGradHoverTo, FQelGradHoverMirrorFrom, FQelGradHoverMirrorTo,
                       FQelGradHoverBorder);
        };
        auto down = [&](const TRect& R) {
            HeaderFill(C, R, FQelGradDownFrom, FQelGradDownTo, FQelGradDownMirrorFrom, FQelGradDownMirrorTo,
                       FQelGradDownBorder);
        };
        if (pressed) {
            if (dropDown) {
                const TRect main{r.Left, r.Top, r.Right - 16, r.Bottom}, part{r.Right - 16, r.Top, r.Right, r.Bottom};
                if (FFixedDropDownPressed) {
                    hot(main);
                    down(part);
                } else {
                    down(main);
                    hot(part);
                }
            } else {
                down(r);
            }
        } else {
            hot(r);
        }
        if (dropDown) {
            C->Pen()->SetColor(pressed ? FQelGradDownBorder : FQelGradHoverBorder);
            C->Pen()->SetWidth(1);
            Line(C, r.Right - 16, r.Top, r.Right - 16, r.Bottom);
            DrawDropTriangle(C, r.Right - 8, r.Top + 8, clBlack);
            r.Right -= 16;
        }
        return;
    }
    const bool rowHeader = F.ACol == FixedCols() - 1 && F.ARow == Row();
    const bool colHeader = F.ARow == FixedRows() - 1 && F.ACol == Col();
    if (FActiveCellShow && (rowHeader || colHeader)) {
        HeaderFill(C, r, FActiveCellColor, FActiveCellColorTo, clNone, clNone, clNone);
        return;
    }
    const TSortSettings* s = FSortSettings.get();
    if (s->Column >= 0 && s->HeaderColor() != clNone && F.RCol == s->Column && F.ARow == FixedRows() - 1 &&
        (F.RCol >= FixedCols() || s->FixedCols)) {
        DrawGradientBackground(C, r, s->HeaderColor(), s->HeaderColorTo(), s->HeaderMirrorColor(),
                               s->HeaderMirrorColorTo(), true, clNone, false, true);
        return;
    }
    if (!FFlat) {
        DrawGradientBackground(C, r, C->Brush()->Color(), F.ColorTo, F.MirrorColor, F.MirrorColorTo, true,
                               FLook == glVista ? clWhite : clNone, true, true);
    }
}

void TVodStringGrid::DrawRowIndicator(TCellDrawFrame& F)
{
    if (F.RCol != 0 || F.ARow != Row() || FixedCols() <= 0 || FRowIndicator->Empty()) return;
    if (RowCount() == FixedRows() && FFixedRowAlways) return;
    TBitmap* b = FRowIndicator.get();
    const TRect& r = F.Rect;
    Integer y = r.Top;
    if (FVAlignment == vtaCenter) y = r.Top + (r.Height() - b->Height()) / 2;
    else if (FVAlignment == vtaBottom) y = r.Bottom - b->Height();
    b->SetTransparent(true);
    F.Canvas->Draw(r.Left + 2, y, b);
    F.Rect.Left += b->Width() + 2;
}

void TVodStringGrid::DrawListViewHeader(TCellDrawFrame& F)
{
    if (FLook != glListView || FFlat || !F.IsFixedCell || F.StyleDrawn) return;
    TCanvas* C = F.Canvas;
    F.Rect.Bottom += 1;
    const TRect& r = F.Rect;
    HTHEME theme = IsThemeActive() && HandleAllocated() ? OpenThemeData(Handle(), L"header") : nullptr;
    if (theme) {
        TPoint p{-1, -1};
        GetCursorPos(&p);
        p = ScreenToClient(p);
        const bool inside = p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
        const RECT rc = r;
        if (inside)
            DrawThemeBackground(theme, C->Handle(), 1, LeftButtonDown() ? 3 : 2, &rc, nullptr);
        else
            DrawThemeBackground(theme, C->Handle(), 3, 1, &rc, nullptr);
        CloseThemeData(theme);
        C->Pen()->SetColor(clWhite);
        Line(C, r.Left, r.Top, r.Right, r.Top);
    } else {
        C->Brush()->SetColor(clBtnFace);
        C->Pen()->SetColor(clWhite);
        C->Rectangle(r.Left, r.Top, r.Right, r.Bottom);
    }
}

void TVodStringGrid::DrawModifiedMarker(TCellDrawFrame& F)
{
    if (F.ACol != 0 || !FShowModified->Enabled() || !GetRowModified(RealRowIndex(F.ARow))) return;
    TCanvas* C = F.Canvas;
    const TColor keepBrush = C->Brush()->Color(), keepPen = C->Pen()->Color();
    C->Brush()->SetColor(FShowModified->Color());
    C->Pen()->SetColor(FShowModified->Color());
    C->Rectangle(F.Rect.Right - 4, F.Rect.Top, F.Rect.Right, F.Rect.Bottom);
    C->Brush()->SetColor(keepBrush);
    C->Pen()->SetColor(keepPen);
}

void TVodStringGrid::DrawFixedCellEdges(TCellDrawFrame& F)
{
    TCanvas* C = F.Canvas;
    const TGridOptions o = Options();
    if (F.IsFixedCell && !HasFilterEdit(F.RCol, F.ARow) && !FFlat) {
        TRect r = F.Rect;
        const TColor half = HalfColor(ColorToRGB(FixedColor()));
        C->Pen()->SetWidth(1);
        switch (FLook) {
        case glClassic: {
            r.Top += 1;
            r.Bottom += 1;
            r.Left += 1;
            RECT e = r;
            DrawEdge(C->Handle(), &e, BDR_RAISEDINNER, BF_LEFT);
            e = r;
            DrawEdge(C->Handle(), &e, BDR_RAISEDINNER, BF_TOP);
            e = r;
            DrawEdge(C->Handle(), &e, EDGE_RAISED, BF_RIGHT);
            e = r;
            DrawEdge(C->Handle(), &e, EDGE_RAISED, BF_BOTTOM);
            C->Pen()->SetColor(clBlack);
            C->MoveTo(r.Right - 1, r.Top);
            C->LineTo(r.Right - 1, r.Bottom - 1);
            C->LineTo(r.Left - 1, r.Bottom - 1);
            break;
        }
        case glQel:
        case glXP:
            r.Bottom += 1;
            if (o.Contains(goFixedHorzLine)) {
                C->Pen()->SetColor(half);
                Line(C, r.Left, r.Bottom - 1, r.Right - 1, r.Bottom - 1);
                C->Pen()->SetColor(clWhite);
                C->MoveTo(r.Right - 2, r.Top + 1);
                C->LineTo(r.Left + 1, r.Top + 1);
                C->LineTo(r.Left + 1, r.Bottom - 1);
            }
            break;
        case glSoft:
            r.Right += 1;
            r.Bottom += 1;
            if (o.Contains(goFixedHorzLine)) {
                C->Pen()->SetColor(half);
                Line(C, r.Left, r.Bottom - 1, r.Right - 1, r.Bottom - 1);
                C->Pen()->SetColor(clWhite);
                C->MoveTo(r.Right, r.Top + 1);
                C->LineTo(r.Left + 1, r.Top + 1);
                C->LineTo(r.Left + 1, r.Bottom - 1);
            }
            if (o.Contains(goFixedVertLine)) {
                C->Pen()->SetColor(half);
                Line(C, r.Right - 2, r.Top, r.Right - 2, r.Bottom - 1);
                C->Pen()->SetColor(clWhite);
                Line(C, r.Right - 1, r.Top, r.Right - 1, r.Bottom - 1);
            }
            break;
        default: break;
        }
    }
    // Right fixed columns of a flat grid.
    if (F.RCol >= TotalColCount() - FFixedRightCols && FLook != glClassic && FFlat) {
        const TRect& r = F.Rect;
        C->Pen()->SetColor(TColor(0x808080));
        C->Pen()->SetWidth(1);
        if (o.Contains(goFixedHorzLine)) {
            Line(C, r.Left - 1, r.Top - 1, r.Right + 1, r.Top - 1);
            Line(C, r.Left - 1, r.Bottom + 1, r.Right + 1, r.Bottom + 1);
        }
        if (o.Contains(goFixedVertLine)) {
            Line(C, r.Left - 1, r.Top - 1, r.Left - 1, r.Bottom + 1);
            Line(C, r.Right + 1, r.Top - 1, r.Right + 1, r.Bottom + 1);
        }
    }
}

void TVodStringGrid::DrawFilterGlyph(TCellDrawFrame& F)
{
    TBitmap* glyph = FFilter->HasFilter(F.RCol) ? FFilterDropDown->GlyphActive() : FFilterDropDown->Glyph();
    const TRect& r = F.TextRect;
    if (!glyph || glyph->Empty()) {
        DrawResourceBitmap(F.Canvas, FixedColor(), TRect{r.Right - 16, r.Top, r.Right, r.Top + 16}, L"VURFILT");
    } else {
        glyph->SetTransparent(true);
        F.Canvas->Draw(r.Right - 16, r.Top, glyph);
    }
}

// ---------------------------------------------------------------------------
// Sort glyphs

bool TVodStringGrid::ShowsSortGlyph(Integer RCol, Integer ARow)
{
    const TSortSettings* s = FSortSettings.get();
    if (!s->Show() || ARow != s->Row() || FixedRows() <= 0) return false;
    if (RCol < FixedCols() && !s->FixedCols) return false;
    const Integer k = FSortIndexes->FindIndex(RCol);
    if (RCol != s->Column && k < 0) return false;
    return k <= 0 || s->IndexShow;
}

void TVodStringGrid::DrawSortIndicator(TCanvas* ACanvas, Integer ACol, Integer Y, Integer X)
{
    const TSortSettings* s = FSortSettings.get();
    const Integer k = FSortIndexes->FindIndex(ACol);
    const bool indexed = s->IndexShow && k >= 0;
    TBitmap* up = indexed ? s->IndexUpGlyph() : s->UpGlyph();
    TBitmap* down = indexed ? s->IndexDownGlyph() : s->DownGlyph();
    const bool glyphs = up && down && !up->Empty() && !down->Empty();
    if (UseRightToLeftReading()) {
        X = ClientWidth() - X - 4;
        if (glyphs) X -= 7 + up->Width();
    }
    TCanvas* C = ACanvas;
    const TColor keepBrush = C->Brush()->Color(), keepPen = C->Pen()->Color();
    auto glyph = [&](TBitmap* b, Integer x, Integer y) {
        b->SetTransparent(true);
        C->Draw(x, y, b);
    };
    if (indexed) {
        C->Brush()->SetColor(s->IndexColor);
        C->Brush()->SetStyle(bsSolid);
        C->Pen()->SetColor(clBlack);
        const int mode = SetBkMode(C->Handle(), TRANSPARENT);
        const bool ascending = FSortIndexes->GetSortDirections(k);
        TPoint num;
        if (!ascending) {
            if (!glyphs)
                C->Polygon({{X - 7, Y - 5}, {X + 7, Y - 5}, {X, Y + 8}});
            else
                glyph(up, X - 7, Y - 7);
            num = TPoint{X - 2, Y - 4};
        } else {
            if (!glyphs)
                C->Polygon({{X - 6, Y + 8}, {X + 6, Y + 8}, {X, Y - 4}});
            else
                glyph(down, X - 7, Y - 7);
            num = TPoint{X - 2, Y - 2};
        }
        TFont keep;
        keep.Assign(C->Font());
        C->Font()->SetColor(clBlack);
        C->Font()->SetSize(6);
        C->Brush()->SetStyle(bsClear);
        C->TextOut(num.X, num.Y, IntToStr(k + 1));
        C->Font()->Assign(&keep);
        C->Brush()->SetStyle(bsSolid);
        SetBkMode(C->Handle(), mode);
    } else if (!glyphs) {
        // Without glyphs: an outlined triangle.
        C->Pen()->SetWidth(1);
        if (s->Direction == sdDescending) {
            C->Pen()->SetColor(clWhite);
            Line(C, X + 4, Y - 4, X, Y + 4);
            C->Pen()->SetColor(TColor(0x808080));
            C->LineTo(X - 4, Y - 4);
            C->LineTo(X + 4, Y - 4);
        } else {
            C->Pen()->SetColor(clWhite);
            C->MoveTo(X - 4, Y + 4);
            C->LineTo(X + 4, Y + 4);
            C->LineTo(X, Y - 4);
            C->Pen()->SetColor(TColor(0x808080));
            C->LineTo(X - 4, Y + 4);
        }
        C->Pen()->SetColor(clBlack);
    } else {
        glyph(s->Direction == sdDescending ? down : up, X - 4, Y - 4);
        SetBkColor(C->Handle(), COLORREF(ColorToRGB(FixedColor())));
    }
    C->Brush()->SetColor(keepBrush);
    C->Pen()->SetColor(keepPen);
}
