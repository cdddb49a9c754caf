// The grid's companion windows: the glowing focus frame around the edited
// cell, and the grid's side of the floating footer (its panel, the fixed
// footer row, the row a preview style adds) and of the thin scroll
// controls. The windows themselves live in their own units.
#include <algorithm>

#include "controls/foundation/VodUtil.h"
#include "controls/grid/GridFooter.h"
#include "controls/grid/GridScrollControls.h"
#include "controls/grid/VodGrid.h"
#include "platform/gfx/Graphics.h"

namespace {

constexpr TColor kFocusFrameColor = TColor(0xFDD397);
constexpr Byte kFocusFrameOpacity = 230;
constexpr Integer kFocusFrameOut = 4;    // the frame starts this far out of the cell
constexpr Integer kFocusFrameGrow = 9;   // and is this much larger than it

}  // namespace

// ---------------------------------------------------------------------------
// Focus frame

void TVodStringGrid::ApplyLayeredMask(HWND Wnd, TGridAlphaMask* Mask)
{
    if (!Wnd || !Mask || Mask->Height() == 0) return;
    SetWindowLong(Wnd, GWL_EXSTYLE, GetWindowLong(Wnd, GWL_EXSTYLE) | WS_EX_LAYERED);
    TRect wr;
    GetWindowRect(Wnd, &wr);
    TPoint pos{wr.Left, wr.Top};
    SetWindowPos(Wnd, nullptr, 0, 0, Mask->Width(), Mask->Height(), SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    BLENDFUNCTION blend;
    blend.BlendOp = AC_SRC_OVER;
    blend.BlendFlags = 0;
    blend.SourceConstantAlpha = Mask->Opacity();
    blend.AlphaFormat = AC_SRC_ALPHA;
    TSize size{Mask->Width(), Mask->Height()};
    TPoint src{0, 0};
    HDC screen = GetDC(nullptr);
    DynUpdateLayeredWindow(Wnd, screen, &pos, &size, Mask->Canvas()->Handle(), &src, 0, &blend, ULW_ALPHA);
    ReleaseDC(nullptr, screen);
}

void TVodStringGrid::ShowFocusWindow(TRect R)
{
    if (!FFocusWindow) return;
    // 1.
    const Integer w = R.Width() + kFocusFrameGrow, h = R.Height() + kFocusFrameGrow;
    if (FFocusWindow->HandleAllocated()) ShowWindow(FFocusWindow->Handle(), SW_HIDE);
    FFocusWindow->SetBounds(FFocusWindow->Left(), FFocusWindow->Top(), w, h);
    HWND wnd = FFocusWindow->Handle();
    // 2. A blurred light ring as the alpha of a frame-coloured face.
    {
        TBitmap shape, colour;
        DrawRoundRectMask(&shape, w, h, 4, 5, 3);
        colour.SetPixelFormat(pf24bit);
        colour.SetSize(w, h);
        colour.Canvas()->Brush()->SetStyle(bsSolid);
        colour.Canvas()->Brush()->SetColor(kFocusFrameColor);
        colour.Canvas()->FillRect(Rect(0, 0, w, h));
        TGridAlphaMask mask;
        mask.MergeMask(&shape, &colour, clNone);
        mask.SetOpacity(kFocusFrameOpacity);
        // 3.
        ApplyLayeredMask(wnd, &mask);
    }
    // 4. Only the ring belongs to the window: clicks on the cell reach the
    // grid.
    HRGN whole = CreateRectRgn(0, 0, w, h);
    HRGN cell = CreateRectRgn(kFocusFrameOut, kFocusFrameOut, kFocusFrameOut + R.Width(),
                              kFocusFrameOut + R.Height());
    HRGN ring = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(ring, whole, cell, RGN_XOR);
    SetWindowRgn(wnd, ring, FALSE);
    DeleteObject(whole);
    DeleteObject(cell);
    // 5.
    TPoint p = ClientToScreen(TPoint{R.Left, R.Top});
    SetWindowPos(wnd, HWND_TOPMOST, p.X - kFocusFrameOut, p.Y - kFocusFrameOut, w, h, SWP_NOACTIVATE);
    ShowWindow(wnd, SW_SHOWNOACTIVATE);
    GridUnit().FocusFrameGrid = this;
}

void TVodStringGrid::MoveFocusWindow()
{
    // Moving the frame moves a window, which reaches the hook again.
    if (FMovingFocusWindow || !FFocusWindow || !FFocusWindow->HandleAllocated()) return;
    FMovingFocusWindow = true;
    struct TBack {
        bool& B;
        ~TBack() { B = false; }
    } back{FMovingFocusWindow};
    const Integer c = Col(), r = Row();
    if (c >= LeftCol() && r >= TopRow() && c < LeftCol() + VisibleColCount() && r < TopRow() + VisibleRowCount()) {
        const TRect cr = CellRect(c, r);
        const TPoint p = ClientToScreen(TPoint{cr.Left, cr.Top});
        SetWindowPos(FFocusWindow->Handle(), nullptr, p.X - kFocusFrameOut, p.Y - kFocusFrameOut,
                     cr.Width() + kFocusFrameGrow, cr.Height() + kFocusFrameGrow, SWP_NOZORDER | SWP_NOACTIVATE);
        FFocusWindow->Invalidate();
    } else {
        HideFocusWindow();
    }
}

void TVodStringGrid::HideFocusWindow()
{
    GridUnit().FocusFrameGrid = nullptr;
    if (FFocusWindow && FFocusWindow->HandleAllocated()) ShowWindow(FFocusWindow->Handle(), SW_HIDE);
}

// ---------------------------------------------------------------------------
// Floating footer

void TVodStringGrid::SetRowCountInPlace(Integer Value)
{
    TFloatingFooter* ff = FFloatingFooter.get();
    if (!ff) {
        SetRowCount(Value);
        return;
    }
    const bool visible = ff->FVisible;
    ff->FVisible = false;
    struct TBack {
        TFloatingFooter* F;
        bool V;
        ~TBack() { F->FVisible = V; }
    } back{ff, visible};
    SetRowCount(Value);
}

void TVodStringGrid::SyncFloatingFooterRow()
{
    TFloatingFooter* ff = FFloatingFooter.get();
    if (!ff || ComponentState().Contains(csDesigning)) return;
    if ((ff->FFooterStyle == fsFixedLastRow || !ff->FVisible) && ff->FRowAdded) {
        SetRowCountInPlace(RowCount() - 1);
        ff->FRowAdded = false;
    } else if (ff->FFooterStyle != fsFixedLastRow && ff->FVisible && !ff->FRowAdded) {
        // The added row is empty room under the panel: the data rows stay
        // where they are.
        SetRowCountInPlace(RowCount() + 1);
        ClearRows(RowCount() - 1, 1);
        ff->FRowAdded = true;
    }
}

void TVodStringGrid::FloatingFooterVisibleChanged()
{
    TFloatingFooter* ff = FFloatingFooter.get();
    if (!ff) return;
    const bool visible = ff->Visible();
    // 1.
    if (FFooterPanel) {
        FFooterPanel->SetHeight(visible ? std::max(0, ff->Height() - 1) : 0);
        FFooterPanel->SetVisible(visible);
    }
    // 2.
    SetFixedFooters(visible && ff->FooterStyle() == fsFixedLastRow ? 1 : 0);
    // 3.
    SyncFloatingFooterRow();
    // 4.
    if (!ComponentState().Contains(csDesigning) && FixedRows() > 0) SetFixedRowAlways(true);
    // 5. The panel shows the last row; the grid paints it as background.
    FHideLastRow = ff->FooterStyle() == fsFixedLastRow && visible;
    Invalidate();
}

void TVodStringGrid::FloatingFooterStyleChanged()
{
    TFloatingFooter* ff = FFloatingFooter.get();
    if (!ff) return;
    SyncFloatingFooterRow();
    // The fixed footer row follows the style as it follows Visible.
    SetFixedFooters(ff->Visible() && ff->FooterStyle() == fsFixedLastRow ? 1 : 0);
    FHideLastRow = ff->Visible();
    Invalidate();
    if (FFooterPanel) FFooterPanel->Invalidate();
}

// ---------------------------------------------------------------------------
// Thin scroll controls

void TVodStringGrid::UpdateScrollControls()
{
    for (TScrollControl* c : FMetroScroll)
        if (c) c->Invalidate();
}
