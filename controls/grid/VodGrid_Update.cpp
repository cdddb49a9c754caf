// The string grid's update bracket, its one periodic timer and the handlers
// of the window and control messages that are not keyboard or mouse input:
// painting (double-buffered), background erase, sizing, cursor shape, focus
// gain and loss, dialog characters, hints and the change notifications.
#include <algorithm>
#include <cwctype>

#include "controls/grid/VodGrid.h"
#include "platform/ui/WindowManager.h"

namespace {
constexpr Integer kIncrementalSearchTicks = 4;

bool HasBlinkTag(const String& s)
{
    for (size_t i = 0; i + 4 <= s.size(); ++i)
        if (s[i] == L'<' && std::towupper(s[i + 1]) == L'B' && std::towupper(s[i + 2]) == L'L' &&
            std::towupper(s[i + 3]) == L'I')
            return true;
    return false;
}
}  // namespace

// ---------------------------------------------------------------------------
// Header colours

void TVodStringGrid::SetQelGradientFrom(TColor v)
{
    FQelGradFrom = ColorToRGB(v);
    Invalidate();
}
void TVodStringGrid::SetQelGradientTo(TColor v)
{
    FQelGradTo = ColorToRGB(v);
    Invalidate();
}
void TVodStringGrid::SetQelGradientMirrorFrom(TColor v)
{
    FQelGradMirrorFrom = v == clNone ? clNone : ColorToRGB(v);
    Invalidate();
}
void TVodStringGrid::SetQelGradientMirrorTo(TColor v)
{
    FQelGradMirrorTo = v == clNone ? clNone : ColorToRGB(v);
    Invalidate();
}

// ---------------------------------------------------------------------------
// Operations the families of later sources complete

void TVodStringGrid::BuildHint(THintInfo*) {}
void TVodStringGrid::HideHoverButtons() {}

// ---------------------------------------------------------------------------
// The update bracket

void TVodStringGrid::BeginUpdate()
{
    if (!Visible()) return;
    // While the platform grid's updating flag is set, assigning cells
    // repaints nothing.
    if (FUpdateCount == 0) SetUpdating(true);
    ++FUpdateCount;
    if (HandleAllocated()) SendMessage(Handle(), WM_SETREDRAW, 0, 0);
}

void TVodStringGrid::EndUpdate()
{
    // The count falls whenever a bracket is open, also on a grid hidden
    // inside it, so that it paints again once shown.
    if (FUpdateCount > 0)
        --FUpdateCount;
    else if (!Visible())
        return;
    if (ComponentState().Contains(csDestroying)) return;
    if (FUpdateCount != 0) return;
    SetUpdating(false);
    FSelChange = false;
    if (!HandleAllocated()) return;
    SendMessage(Handle(), WM_SETREDRAW, 1, 0);
    InvalidateRect(Handle(), nullptr, FALSE);
    DrawNCBorder();
    if (FControlList->Count() > 0) CellControlsUpdate(false);
}

void TVodStringGrid::SetLockUpdate(bool v)
{
    if (v)
        BeginUpdate();
    else
        EndUpdate();
}

void TVodStringGrid::ResetFixedCellHighlight()
{
    FFixedColSizeOffer = false;
    FFixedRowSizeOffer = false;
    FNoMouseLeave = false;
    if (FHoverFixedCells != hfNone && !(FHoverFixedCell.X == -1 && FHoverFixedCell.Y == -1)) {
        const TPoint c = FHoverFixedCell;
        FHoverFixedCell = TPoint{-1, -1};
        RepaintCell(c.X, c.Y);
    }
}

// ---------------------------------------------------------------------------
// Messages

void TVodStringGrid::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case WM_PAINT: HandlePaint(M); return;
    case WM_ERASEBKGND: M.Result = 0; return;
    case WM_SIZE: HandleSize(M); return;
    case WM_HSCROLL: HandleHScroll(M); return;
    case WM_VSCROLL: HandleVScroll(M); return;
    case WM_TIMER: HandleTimer(M); return;
    case WM_SETCURSOR: HandleSetCursor(M); return;
    case WM_SETFOCUS: HandleSetFocus(M); return;
    case WM_GETDLGCODE: HandleGetDlgCode(M); return;
    case WM_KILLFOCUS: HandleKillFocus(M); return;
    case CM_DIALOGCHAR: HandleDialogChar(M); return;
    case WM_NCPAINT: HandleNCPaint(M); return;
    case WM_NOTIFY: HandleNotify(M); return;
    case CM_DESIGNHITTEST: HandleDesignHitTest(M); return;
    case CM_HINTSHOW:
        BuildHint(reinterpret_cast<THintInfo*>(M.LParam));
        M.Result = 0;
        return;
    case CM_ENABLEDCHANGED:
        TBaseGrid::Dispatch(M);
        Invalidate();
        return;
    case CM_CURSORCHANGED:
        TBaseGrid::Dispatch(M);
        if (!Invokedchange) FMouseSelectMode = msNormal;
        Invokedchange = false;
        return;
    default:
        // An edit's end, posted so that OnEditCellDone follows the editor's
        // own processing.
        if (M.Msg != 0 && M.Msg == GridUnit().GridEditDone) {
            EditDoneMessage(Integer(M.WParam), Integer(M.LParam));
            return;
        }
        // Posted to open the editor on the cell a move has just reached.
        if (M.Msg != 0 && M.Msg == GridUnit().GridEditShow) {
            ShowInplaceEdit();
            return;
        }
        break;
    }
    TBaseGrid::Dispatch(M);
}

void TVodStringGrid::HandlePaint(TMessage& M)
{
    if (FUpdateCount >= 1) {
        M.Result = 0;
        return;
    }
    if (!DoubleBuffered() || M.WParam) {
        TBaseGrid::Dispatch(M);
    } else {
        const TRect cr = ClientRect();
        const int w = std::max(1, cr.Width()), h = std::max(1, cr.Height());
        HDC mem = CreateCompatibleDC(nullptr);
        HBITMAP bmp = CreateCompatibleBitmap(nullptr, w, h);
        HGDIOBJ old = SelectObject(mem, bmp);
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(Handle(), &ps);
        try {
            SendMessage(Handle(), WM_ERASEBKGND, WPARAM(reinterpret_cast<uintptr_t>(mem)),
                        LPARAM(reinterpret_cast<uintptr_t>(mem)));
            M.WParam = WPARAM(reinterpret_cast<uintptr_t>(mem));
            HandlePaint(M);
            M.WParam = 0;
            if (dc) BitBlt(dc, 0, 0, w, h, mem, 0, 0, SRCCOPY);
        } catch (...) {
            EndPaint(Handle(), &ps);
            SelectObject(mem, old);
            DeleteDC(mem);
            DeleteObject(bmp);
            throw;
        }
        EndPaint(Handle(), &ps);
        SelectObject(mem, old);
        DeleteDC(mem);
        DeleteObject(bmp);
    }
    if (!TabStop() && FPaintCount == 0) {
        FPaintCount = 1;
        UpdateProportionalVScroll();
    }
}

void TVodStringGrid::HandleSize(TMessage& M)
{
    if (FInWMSize) {
        M.Result = 1;
        return;
    }
    UpdateSearchPanel();
    // Synchronising the columns with the grid's width comes with the
    // editing family; the stretch column keeps filling the client.
    TBaseGrid::Dispatch(M);
    StretchOnResize(Integer(M.LParamLo()));
    if (!FDisableSize && HandleAllocated()) {
        FDisableSize = true;
        if (ScrollBars() != ssHorizontal && ScrollBars() != ssBoth) ShowScrollBar(Handle(), SB_HORZ, FALSE);
        if (ScrollBars() != ssVertical && ScrollBars() != ssBoth) ShowScrollBar(Handle(), SB_VERT, FALSE);
        FDisableSize = false;
    }
}

void TVodStringGrid::HandleTimer(TMessage& M)
{
    if (Integer(M.WParam) != FGridTimerID || FGridTimerID == 0) {
        // The platform grid's own timer: automatic scrolling while selecting.
        const Integer top = TopRow(), row = Row();
        TBaseGrid::Dispatch(M);
        if (FMouseActions->NoScrollOnPartialRow()) {
            if (TopRow() != top) SetTopRow(top);
            if (Row() != row && row >= 0 && row < RowCount()) SetRow(row);
        }
        return;
    }
    ++FTimerTicks;
    if (FNavigation->AutoGotoIncremental()) {
        ++SearchTics;
        if (SearchTics >= kIncrementalSearchTicks) {
            SearchInc.clear();
            SearchTics = 0;
        }
    }
    if (FHovering && !ComponentState().Contains(csDesigning)) {
        TPoint p;
        GetCursorPos(&p);
        if (WindowFromPoint(p) == Handle()) {
            const TPoint cp = ScreenToClient(p);
            const TRect cr = ClientRect();
            if (cp.X >= cr.Left && cp.X < cr.Right && cp.Y >= cr.Top && cp.Y < cr.Bottom) {
                Integer c = -1, r = -1;
                MouseToCell(cp.X, cp.Y, c, r);
                if (c >= FixedCols() && r >= FixedRows() && c < ColCount() && r < RowCount()) {
                    if (CanFocus()) SetFocus();
                    SetRow(r);
                    SetCol(c);
                }
            }
        }
    }
    if (FEnableBlink) {
        FGridBlink = !FGridBlink;
        const Integer hidden = std::max(0, TotalColCount() - ColCount());
        const Integer lastRow = std::min(RowCount() - 1, TopRow() + VisibleRowCount() - 1);
        const Integer lastCol = std::min(TotalColCount() - 1, LeftCol() + VisibleColCount() - 1 + hidden);
        const Integer lastFixedCol = std::min(TotalColCount() - 1, LeftCol() + VisibleColCount() - 1);
        auto check = [&](Integer c, Integer r) {
            if (HasBlinkTag(GetGridCell(RealColIndex(c), r))) RepaintCell(DisplColIndex(RealColIndex(c)), r);
        };
        for (Integer r = TopRow(); r <= lastRow; ++r)
            for (Integer c = LeftCol(); c <= lastCol; ++c) check(c, r);
        for (Integer r = 0; r < FixedRows(); ++r)
            for (Integer c = LeftCol(); c <= lastFixedCol; ++c) check(c, r);
        for (Integer c = 0; c < FixedCols(); ++c)
            for (Integer r = TopRow(); r <= lastRow; ++r) check(c, r);
    }
}

void TVodStringGrid::ShowProgramCursor(Word Id)
{
    FCursorAsked = Id;
    // The platform shows program cursors by number once it can; until then
    // the request finds no handle and the cursor stays as it is.
    if (HCURSOR c = LoadCursor(HInstance, uintptr_t(Id))) ::SetCursor(c);
}

void TVodStringGrid::HandleSetCursor(TMessage& M)
{
    TPoint p;
    GetCursorPos(&p);
    p = ScreenToClient(p);
    FCursorAsked = 0;
    if (FMouseSelectMode != msNormal && GridState() != gsRowSizing && GridState() != gsColSizing) {
        switch (FMouseSelectMode) {
        case msColumn: ShowProgramCursor(crColSelectCursor); break;
        case msRow: ShowProgramCursor(crRowSelectCursor); break;
        case msAll:
        case msResize: ShowProgramCursor(crAllSelectCursor); break;
        default: break;
        }
        M.Result = 1;
    } else if (FCellSelectorMode) {
        ShowProgramCursor(crCellSelectCursor);
        M.Result = 1;
    } else {
        TBaseGrid::Dispatch(M);
        Integer c = -1, r = -1;
        MouseToCell(p.X, p.Y, c, r);
        if (c != -1 && r != -1) GetCellCursor(c, r, p.X, p.Y);
    }
    if (FFixedColSizeOffer) ::SetCursor(Screen->Cursors(crHSplit));
    if (FFixedRowSizeOffer) ::SetCursor(Screen->Cursors(crVSplit));
}

void TVodStringGrid::HandleKillFocus(TMessage& M)
{
    if (FBlockKill) {
        M.Result = 1;
        return;
    }
    TBaseGrid::Dispatch(M);
    if (IsMergedCell(Col(), Row())) RepaintCell(Col(), Row());
    if (FCtrlDown) {
        FCtrlDown = false;
        RepaintCell(FCtrlXY.X, FCtrlXY.Y);
    }
    if (FHoverButtons->Enabled()) HideHoverButtons();
}

void TVodStringGrid::HandleSetFocus(TMessage& M)
{
    if (InvokedFocusChange) return;
    TBaseGrid::Dispatch(M);
    if (CellHasCheckBox(Col(), Row())) return;
    auto visible = [&] {
        return Col() >= LeftCol() && Col() <= LeftCol() + VisibleColCount() - 1 && Row() >= TopRow() &&
               Row() <= TopRow() + VisibleRowCount() - 1;
    };
    if (InplaceEditor()) {
        const HWND from = HWND(M.WParam);
        const bool fromEditor = InplaceEditor()->HandleAllocated() && from == InplaceEditor()->Handle();
        if (!fromEditor && GridState() != gsRowMoving && GridState() != gsColMoving) {
            const TEditorType ed = HasCellProperties(Col(), Row()) ? CellPropertiesOf(Col(), Row())->Editor() : edNormal;
            const bool textEditor = ed == edNormal || ed == edCapital || ed == edMixedCase || ed == edLowerCase ||
                                    ed == edUpperCase || ed == edValidChars;
            if (FNavigation->AlwaysEdit() && textEditor && IsCellEditable(Col(), Row()) && visible()) {
                ShowInplaceEdit();
                M.Result = 0;
                return;
            }
        }
    } else if (FNavigation->AlwaysEdit() && IsCellEditable(Col(), Row()) && visible() && !FMouseActions->DirectEdit() &&
               !FControlLook->DropDownAlwaysVisible() && HasComboBox(Col(), Row())) {
        ShowInplaceEdit();
    }
    if (IsMergedCell(Col(), Row())) RepaintCell(Col(), Row());
}

void TVodStringGrid::DoEnter()
{
    if (FBlockFocus) return;
    TBaseGrid::DoEnter();
    const bool inside = Col() >= 0 && Col() < ColCount() && Row() >= 0 && Row() < RowCount();
    try {
        if ((Options().Contains(goEditing) || FMouseActions->RangeSelectAndEdit()) && inside) SelectCell(Col(), Row());
    } catch (...) {
        if (inside) StoreCellValue(Col(), Row());
        throw;
    }
    if (inside) StoreCellValue(Col(), Row());
}

void TVodStringGrid::DoExit()
{
    if (FBlockKill) return;
    // The pending disjunct row selection is applied by the selection family.
    FSelChange = false;
    TBaseGrid::DoExit();
}

void TVodStringGrid::HandleDialogChar(TMessage& M)
{
    // The search panel's buttons answer their accelerators once the panel
    // exists; every other character is not ours, and the platform's own
    // handling is not run.
    M.Result = 0;
}
