// The grid's paint cycle: the cells through the base grid's cell painting,
// the frame around the edited cell, the picture or gradient in the client
// area the cells leave empty, the design helper and OnPainted; the dotted
// lines shown while a column or row is sized.
#include <algorithm>

#include "controls/dropdown/DropDownButton.h"
#include "controls/grid/VodGrid.h"
#include "platform/ui/WindowManager.h"

void TVodStringGrid::Paint()
{
    TCanvas* C = Canvas();
    C->Pen()->SetStyle(psSolid);
    C->Brush()->SetStyle(bsSolid);
    // Every visible cell once, then the paint counter moves on.
    TBaseGrid::Paint();
    if (EditorMode()) {
        TColor pen = FGridLineWidth > 0 ? FGridLineColor : Color();
        if (!Options().Contains(goVertLine) && !Options().Contains(goHorzLine)) pen = Color();
        C->Pen()->SetColor(pen);
        const TRect r = CellRect(Col(), Row());
        C->Rectangle(r.Left, r.Top, r.Right, r.Bottom);
    }
    C->Pen()->SetColor(clBlack);
    if (!FBackGround->Bitmap()->Empty() || FBackGround->ColorTo() != clNone) PaintEmptyAreaBackground();
    PaintDesignHelper();
    if (OnPainted) OnPainted(this);
}

void TVodStringGrid::DrawCell(Integer ACol, Integer ARow, const TRect& ARect, TGridDrawState AState)
{
    const TRect r = ARect;
    TBaseGrid::DrawCell(ACol, ARow, r, AState);
}

bool TVodStringGrid::CanScrollPixels()
{
    // The background picture and gradient are anchored to the control, not
    // to the cells: moved pixels would show them in the wrong place.
    return FBackGround->Bitmap()->Empty() && FBackGround->Display() != bdGradientHorz &&
           FBackGround->Display() != bdGradientVert;
}

void TVodStringGrid::PaintEmptyAreaBackground()
{
    const Integer C = ColCount(), R = RowCount();
    if (C <= 0 || R <= 0) return;
    const bool rowsBelow = TopRow() + VisibleRowCount() < R;
    const bool colsRight = LeftCol() + VisibleColCount() < C;
    if (rowsBelow && colsRight) return;
    const TBackGroundDisplay display = FBackGround->Display();
    const bool gradient = display == bdGradientHorz || display == bdGradientVert;
    if (gradient && FBackGround->ColorTo() == clNone) return;

    TRect paint = ClientRect();
    const Integer lw = FGridLineWidth;
    HRGN clip = nullptr;
    TRect last = CellRect(C - 1, TopRow());
    InflateRect(last, lw, lw);
    if (last.Right < paint.Right && C - 1 <= LeftCol() + VisibleColCount())
        clip = CreateRectRgn(last.Right, 0, paint.Right, paint.Bottom);
    TRect bottom = CellRect(LeftCol(), R - 1);
    InflateRect(bottom, lw, lw);
    if (bottom.Bottom < paint.Bottom && R - 1 <= TopRow() + VisibleRowCount()) {
        HRGN below = CreateRectRgn(0, bottom.Bottom, paint.Right, paint.Bottom);
        if (clip) {
            CombineRgn(clip, clip, below, RGN_OR);
            DeleteObject(below);
        } else {
            clip = below;
        }
    }
    if (FFloatingFooter->Visible() && FooterPanel()) paint.Bottom -= FooterPanel()->Height();
    if (!clip) return;

    TCanvas* Cv = Canvas();
    HDC dc = Cv->Handle();
    HRGN old = CreateRectRgn(0, 0, 0, 0);
    const bool hadClip = GetClipRgn(dc, old) == 1;
    ExtSelectClipRgn(dc, clip, RGN_AND);
    TBitmap* bmp = FBackGround->Bitmap();
    if (bmp->Empty()) {
        if (gradient)
            DrawSteppedGradient(Cv, FBackGround->Color(), FBackGround->ColorTo(), display == bdGradientHorz, paint,
                                128);
    } else if (display != bdTile) {
        PaintBackgroundPictureFixed(paint);
    } else {
        TRect t = paint;
        if (FBackGround->Cells() == bcNormal) {
            const TRect first = CellRect(FixedCols(), FixedRows());
            t.Left = first.Left;
            t.Top = first.Top;
        }
        t.Left += FXYOffset.X;
        t.Top += FXYOffset.Y;
        if (FBackGround->Cells() != bcFixed) PaintBackgroundPictureTiled(t);
    }
    SelectClipRgn(dc, hadClip ? old : nullptr);
    DeleteObject(old);
    DeleteObject(clip);
}

void TVodStringGrid::PaintBackgroundPictureFixed(const TRect& R)
{
    TBitmap* bmp = FBackGround->Bitmap();
    if (bmp->Empty()) return;
    const TRect pic = Bounds(FBackGround->Left(), FBackGround->Top(), bmp->Width(), bmp->Height());
    TRect part;
    if (!IntersectRect(part, pic, R)) return;
    HDC dc = Canvas()->Handle();
    SetBkMode(dc, TRANSPARENT);
    BitBlt(dc, part.Left, part.Top, part.Width(), part.Height(), bmp->Canvas()->Handle(), part.Left - pic.Left,
           part.Top - pic.Top, SRCCOPY);
}

void TVodStringGrid::PaintBackgroundPictureTiled(const TRect& R)
{
    TBitmap* bmp = FBackGround->Bitmap();
    if (bmp->Empty() || bmp->Width() <= 0 || bmp->Height() <= 0) return;
    HDC dc = Canvas()->Handle();
    SetBkMode(dc, TRANSPARENT);
    HDC src = bmp->Canvas()->Handle();
    const Integer w = bmp->Width(), h = bmp->Height();
    for (Integer y = R.Top - 1; y < R.Bottom; y += h)
        for (Integer x = R.Left - 1; x < R.Right; x += w)
            BitBlt(dc, x, y, std::min(w, R.Right - x), std::min(h, R.Bottom - y), src, 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------------------
// Sizing lines

namespace {

// A dotted black XOR line: the dots leave the pixels as they are, the gaps
// (drawn in the light, opaque background colour) invert them, so that the
// same line drawn again restores them.
void XorLine(TCanvas* C, Integer X1, Integer Y1, Integer X2, Integer Y2)
{
    TPen saved;
    saved.Assign(C->Pen());
    HDC dc = C->Handle();
    const int mode = SetBkMode(dc, OPAQUE);
    const COLORREF bk = SetBkColor(dc, RGB(255, 255, 255));
    C->Pen()->SetColor(clBlack);
    C->Pen()->SetStyle(psDot);
    C->Pen()->SetMode(pmXor);
    C->Pen()->SetWidth(1);
    C->MoveTo(X1, Y1);
    C->LineTo(X2, Y2);
    C->Pen()->Assign(&saved);
    SetBkColor(dc, bk);
    SetBkMode(dc, mode);
}

}  // namespace

void TVodStringGrid::DrawColSizeLine(Integer X)
{
    const Integer bottom = std::max(Height(), CellRect(0, RowCount() - 1).Bottom);
    XorLine(Canvas(), X, 0, X, bottom);
}

void TVodStringGrid::DrawRowSizeLine(Integer Y)
{
    const Integer right = std::max(Width(), CellRect(ColCount() - 1, 0).Right);
    XorLine(Canvas(), 0, Y, right, Y);
}
