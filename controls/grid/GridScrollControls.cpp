#include "controls/grid/GridScrollControls.h"

#include <algorithm>
#include <cmath>

#include "controls/grid/VodGrid.h"
#include "controls/markup/VurHTMLE.h"
#include "platform/gfx/Graphics.h"

namespace {

constexpr Integer kMinThumb = 20;

Integer RoundHalfEven(double v) { return Integer(std::nearbyint(v)); }

}  // namespace

// ---------------------------------------------------------------------------
// TScrollControl

TScrollControl::TScrollControl(TComponent* AOwner, Integer ADirection)
    : TCustomControl(AOwner), FDirection(ADirection == 1 ? sdHorizontal : sdVertical)
{
}

TVodStringGrid* TScrollControl::Grid() const { return dynamic_cast<TVodStringGrid*>(Parent()); }

Integer TScrollControl::Extent() const { return FDirection == sdVertical ? Height() : Width(); }

void TScrollControl::SetColor(TColor v)
{
    if (FThumbColor == v) return;
    FThumbColor = v;
    Invalidate();
}

Integer TScrollControl::TrackLength()
{
    TVodStringGrid* g = Grid();
    if (!g) return 0;
    Integer len = Extent();
    if (FDirection == sdVertical) {
        for (Integer i = 0; i < g->FixedRows() && i < g->RowCount(); ++i) len -= g->RowHeights(i);
        for (Integer i = std::max(0, g->RowCount() - g->FixedFooters()); i < g->RowCount(); ++i)
            len -= g->RowHeights(i);
    } else {
        for (Integer i = 0; i < g->FixedCols() && i < g->ColCount(); ++i) len -= g->ColWidths(i);
        for (Integer i = std::max(0, g->ColCount() - g->FixedFooters()); i < g->ColCount(); ++i)
            len -= g->ColWidths(i);
    }
    return len;
}

Integer TScrollControl::TrackStart()
{
    TVodStringGrid* g = Grid();
    if (!g) return 0;
    Integer s = 0;
    if (FDirection == sdVertical)
        for (Integer i = 0; i < g->FixedRows() && i < g->RowCount(); ++i) s += g->RowHeights(i);
    else
        for (Integer i = 0; i < g->FixedCols() && i < g->ColCount(); ++i) s += g->ColWidths(i);
    return s;
}

void TScrollControl::ThumbRect(Integer& Start, Integer& Size)
{
    Start = Size = 0;
    TVodStringGrid* g = Grid();
    if (!g) return;
    const bool v = FDirection == sdVertical;
    const Integer n = v ? g->RowCount() : g->ColCount();
    const Integer f = v ? g->FixedRows() : g->FixedCols();
    const Integer vis = v ? g->VisibleRowCount() : g->VisibleColCount();
    const Integer first = v ? g->TopRow() : g->LeftCol();
    const Integer len = TrackLength();
    Start = TrackStart() + RoundHalfEven(double(len) * double(first - f) / double(std::max(1, n - f)));
    Size = std::max(kMinThumb, RoundHalfEven(double(len) * double(vis) / double(std::max(1, n))));
    if (Start + Size > Extent()) Start = Extent() - Size;
}

bool TScrollControl::ThumbVisible()
{
    TVodStringGrid* g = Grid();
    if (!g) return false;
    if (FDirection == sdVertical) return g->VisibleRowCount() < g->RowCount() - g->FixedRows();
    return g->VisibleColCount() < g->ColCount() - g->FixedCols();
}

void TScrollControl::Paint()
{
    if (!Grid() || !ThumbVisible()) return;
    TCanvas* c = Canvas();
    c->Pen()->SetColor(FThumbColor);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(FThumbColor);
    Integer start = 0, size = 0;
    ThumbRect(start, size);
    if (FDirection == sdVertical)
        c->Rectangle(0, start, FScrollWidth, start + size);
    else
        c->Rectangle(start, 0, start + size, FScrollWidth);
}

void TScrollControl::SetFirst(Integer v)
{
    TVodStringGrid* g = Grid();
    if (FDirection == sdVertical) {
        if (v != g->TopRow()) g->SetTopRow(v);
    } else {
        if (v != g->LeftCol()) g->SetLeftCol(v);
    }
    Invalidate();
}

void TScrollControl::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    TVodStringGrid* g = Grid();
    if (!g) return;
    const bool v = FDirection == sdVertical;
    const Integer n = v ? g->RowCount() : g->ColCount();
    const Integer f = v ? g->FixedRows() : g->FixedCols();
    const Integer vis = v ? g->VisibleRowCount() : g->VisibleColCount();
    const Integer first = v ? g->TopRow() : g->LeftCol();
    const Integer pos = v ? Y : X;
    Integer start = 0, size = 0;
    ThumbRect(start, size);
    if (pos < start) {
        SetFirst(std::max(f, first - vis));
    } else if (pos >= start + size) {
        // Never past the last full page.
        SetFirst(std::max(f, std::min(first + vis, n - vis)));
    } else {
        FDragging = true;
        FDragPos = pos;
        FDragFirst = first;
    }
}

void TScrollControl::MouseMove(TShiftState Shift, Integer X, Integer Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    TVodStringGrid* g = Grid();
    if (!g || !FDragging) return;
    const bool v = FDirection == sdVertical;
    const Integer n = v ? g->RowCount() : g->ColCount();
    const Integer f = v ? g->FixedRows() : g->FixedCols();
    const Integer vis = v ? g->VisibleRowCount() : g->VisibleColCount();
    const Integer firstLine = n > 0 ? (v ? g->RowHeights(0) : g->ColWidths(0)) : 0;
    // A bar no longer than the first line has no room to drag along: the
    // moves are ignored rather than divided by nothing.
    const Integer room = Extent() - firstLine;
    if (room <= 0) return;
    const Integer pos = v ? Y : X;
    const Integer moved = RoundHalfEven(double(pos - FDragPos) / double(room) * double(n));
    SetFirst(std::max(f, std::min(FDragFirst + moved, n - vis)));
}

void TScrollControl::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    FDragging = false;
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TScrollControl::PaintParentInto(HDC DC)
{
    // The grid under the bar is painted first, so the bar looks laid over it.
    TWinControl* p = Parent();
    const int saved = SaveDC(DC);
    TPoint old;
    OffsetViewportOrgEx(DC, -Left(), -Top(), &old);
    IntersectClipRect(DC, Left(), Top(), Left() + Width(), Top() + Height());
    p->Perform(WM_ERASEBKGND, WPARAM(reinterpret_cast<uintptr_t>(DC)), 0);
    p->Perform(WM_PAINT, WPARAM(reinterpret_cast<uintptr_t>(DC)), 0);
    RestoreDC(DC, saved);
}

void TScrollControl::Dispatch(TMessage& Message)
{
    if (Message.Msg == WM_ERASEBKGND && Parent()) {
        // The parent's face is the background.
        Message.Result = 1;
        return;
    }
    if (Message.Msg != WM_PAINT) {
        TCustomControl::Dispatch(Message);
        return;
    }
    HDC dc = reinterpret_cast<HDC>(Message.WParam);
    if (dc) {
        if (Parent()) PaintParentInto(dc);
        TCustomControl::Dispatch(Message);
        return;
    }
    if (!DoubleBuffered()) {
        TCustomControl::Dispatch(Message);
        return;
    }
    // Double-buffered: the whole face is made off screen, then copied.
    PAINTSTRUCT ps;
    HDC target = BeginPaint(Handle(), &ps);
    if (!target) return;
    const Integer w = std::max(1, ClientWidth()), h = std::max(1, ClientHeight());
    TBitmap buffer;
    buffer.SetSize(w, h);
    HDC bdc = buffer.Canvas()->Handle();
    try {
        if (!Parent()) Perform(WM_ERASEBKGND, WPARAM(reinterpret_cast<uintptr_t>(bdc)), 0);
        Perform(WM_PAINT, WPARAM(reinterpret_cast<uintptr_t>(bdc)), 0);
        BitBlt(target, 0, 0, w, h, bdc, 0, 0, SRCCOPY);
    } catch (...) {
        EndPaint(Handle(), &ps);
        throw;
    }
    EndPaint(Handle(), &ps);
}

// ---------------------------------------------------------------------------
// THeaderDragButton

THeaderDragButton::THeaderDragButton(TComponent* AOwner) : TCustomControl(AOwner)
{
    TControl::SetColor(clBtnFace);
}

void THeaderDragButton::SetCaption(const String& v)
{
    if (FCaption == v) return;
    FCaption = v;
    Invalidate();
}

void THeaderDragButton::CreateParams(TCreateParams& Params)
{
    TCustomControl::CreateParams(Params);
    Params.Style = WS_POPUP | WS_BORDER;
    Params.WindowClass.style |= CS_SAVEBITS;
}

void THeaderDragButton::Paint()
{
    TCanvas* c = Canvas();
    const TRect r = ClientRect();
    if (FGrid) {
        FGrid->PaintCellExt(c, 0, 0, r, TGridDrawState{gdFixed});
        c->Font()->Assign(FGrid->FixedFont());
    } else {
        c->Brush()->SetColor(TControl::Color());
        c->FillRect(r);
        c->Font()->Assign(Font());
    }
    c->Brush()->SetStyle(bsClear);
    if (Pos(L"</", FCaption) == 0) {
        TRect t = r;
        DrawText(c->Handle(), FCaption.c_str(), int(FCaption.size()), &t,
                 DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS);
        return;
    }
    TMarkupParams p;
    p.Canvas = c;
    p.Text = FCaption;
    p.Rect = r;
    p.Images = FGrid ? FGrid->GridImages() : nullptr;
    p.ShadowColor = TColor(0x808080);
    p.URLColor = TColor(0xFF0000);
    p.HoverColor = clNone;
    p.HoverFontColor = clNone;
    VurHTMLE::RenderMarkup(p);
}
