// The grid's keyboard and mouse handling (navigation, selection, sizing and
// moving lines in the fixed cells) and its inplace editor.
#include <algorithm>

#include "platform/ui/Grids.h"
#include "platform/ui/WindowManager.h"

// ---------------------------------------------------------------------------
// Messages

void TCustomGrid::Dispatch(TMessage& M)
{
    switch (M.Msg) {
    case WM_VSCROLL: ScrollMessage(true, M); M.Result = 0; return;
    case WM_HSCROLL: ScrollMessage(false, M); M.Result = 0; return;
    case WM_GETDLGCODE: {
        LRESULT r = DLGC_WANTARROWS | DLGC_WANTCHARS;
        if (FOptions.Contains(goTabs)) r |= DLGC_WANTTAB;
        if (FOptions.Contains(goEditing)) r |= DLGC_WANTALLKEYS;
        M.Result = r;
        return;
    }
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(M.WParam) == FHandle && LOWORD(uintptr_t(M.LParam)) == HTCLIENT &&
            FGridState == gsNormal) {
            TPoint p;
            GetCursorPos(&p);
            p = ScreenToClient(p);
            TGridState st = gsNormal;
            Integer idx = -1, pos = 0, ofs = 0;
            CalcSizingState(p.X, p.Y, st, idx, pos, ofs);
            if (st == gsColSizing || st == gsRowSizing) {
                ::SetCursor(LoadCursor(nullptr, st == gsColSizing ? IDC_SIZEWE : IDC_SIZENS));
                M.Result = 1;
                return;
            }
        }
        break;
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED:
        if (FGridState != gsNormal && M.Msg == WM_CANCELMODE) FGridState = gsNormal;
        break;
    default: break;
    }
    TCustomControl::Dispatch(M);
}

void TCustomGrid::DoExit()
{
    TCustomControl::DoExit();
    if (!FOptions.Contains(goAlwaysShowEditor) && FEditorMode && FInplaceEdit && !FInplaceEdit->Focused())
        HideEditor();
}

// ---------------------------------------------------------------------------
// Keys

void TCustomGrid::KeyDown(Word& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    if (Key == 0) return;
    const bool ctrl = Shift.Contains(ssCtrl);
    const bool rowSel = FOptions.Contains(goRowSelect);
    TGridCoord cur = FCurrent;
    Integer top = FTopLeft.Y;
    const Integer page = VisibleRowCount();
    switch (Key) {
    case VK_UP: --cur.Y; break;
    case VK_DOWN: ++cur.Y; break;
    case VK_LEFT:
        if (rowSel) {
            SetLeftCol(FTopLeft.X - 1);
            Key = 0;
            return;
        }
        --cur.X;
        break;
    case VK_RIGHT:
        if (rowSel) {
            if (FTopLeft.X < MaxTopLeft(false)) SetLeftCol(FTopLeft.X + 1);
            Key = 0;
            return;
        }
        ++cur.X;
        break;
    case VK_PRIOR:
        cur.Y -= page;
        top -= page;
        break;
    case VK_NEXT:
        cur.Y += page;
        top += page;
        break;
    case VK_HOME:
        if (ctrl || rowSel) cur.Y = FFixedRows;
        if (!rowSel) cur.X = FFixedCols;
        break;
    case VK_END:
        if (ctrl || rowSel) cur.Y = FRows.Count - 1;
        if (!rowSel) cur.X = FCols.Count - 1;
        break;
    case VK_TAB:
        if (!FOptions.Contains(goTabs) || ctrl) return;
        if (Shift.Contains(ssShift)) {
            if (cur.X > FFixedCols) --cur.X;
            else if (cur.Y > FFixedRows) {
                --cur.Y;
                cur.X = FCols.Count - 1;
            }
        } else {
            if (cur.X < FCols.Count - 1) ++cur.X;
            else if (cur.Y < FRows.Count - 1) {
                ++cur.Y;
                cur.X = FFixedCols;
            }
        }
        break;
    case VK_F2:
        if (!FOptions.Contains(goEditing)) return;
        SetEditorMode(true);
        Key = 0;
        return;
    case VK_RETURN:
        if (FEditorMode) {
            UpdateText();
            if (!FOptions.Contains(goAlwaysShowEditor)) HideEditor();
            if (FInplaceEdit) FInplaceEdit->SetModified(false);
        } else if (FOptions.Contains(goEditing)) {
            SetEditorMode(true);
        } else {
            return;  // the form's default button may want it
        }
        Key = 0;
        return;
    case VK_ESCAPE:
        if (FEditorMode && FInplaceEdit) {
            // Back to the cell's text before the edit, nothing stored.
            FInplaceEdit->SetText(FEditStartText);
            FInplaceEdit->SetModified(false);
            if (GetEditText(FCurrent.X, FCurrent.Y) != FEditStartText)
                SetEditText(FCurrent.X, FCurrent.Y, FEditStartText);
            if (!FOptions.Contains(goAlwaysShowEditor)) {
                FEditCancelled = true;
                HideEditor();
                FEditCancelled = false;
            }
            Key = 0;
        }
        return;
    default: return;
    }
    cur.X = std::clamp(cur.X, FFixedCols, FCols.Count - 1);
    cur.Y = std::clamp(cur.Y, FFixedRows, FRows.Count - 1);
    top = std::clamp(top, FFixedRows, std::max(FFixedRows, MaxTopLeft(true)));
    if (top != FTopLeft.Y) MoveTopLeft(FTopLeft.X, top);
    const bool extend = Shift.Contains(ssShift) && FOptions.Contains(goRangeSelect) && Key != VK_TAB;
    if (!(cur == FCurrent)) {
        MoveCurrent(cur.X, cur.Y, !extend, true);
        Click();
    }
    Key = 0;
}

void TCustomGrid::KeyPress(wchar_t& Key)
{
    TCustomControl::KeyPress(Key);
    if (Key == 0) return;
    if (FOptions.Contains(goEditing) && Key >= 32 && !FEditorMode && CanEditAcceptKey(Key)) {
        ShowEditorChar(Key);
        Key = 0;
    } else if (Key == L'\r' || Key == 27) {
        Key = 0;
    }
}

// ---------------------------------------------------------------------------
// Mouse

void TCustomGrid::CalcSizingState(Integer X, Integer Y, TGridState& State, Integer& Index,
                                  Integer& SizingPos, Integer& SizingOfs)
{
    State = gsNormal;
    Index = -1;
    const Integer tolerance = 3;
    // Near the right (bottom) edge of a line, its grid line included.
    auto edgeNear = [&](bool vert, Integer p) -> Integer {
        const TGridAxis& a = vert ? FRows : FCols;
        for (Integer q : {p, p - tolerance - a.LineWidth, p + tolerance}) {
            Integer i = AxisCellAt(vert, q);
            if (i < 0) continue;
            const Int64 e = LinePos(vert, i) + a.Extent(i);
            if (p >= e - tolerance && p <= e + a.LineWidth + tolerance - 1) {
                SizingPos = Integer(e);
                SizingOfs = Integer(p - e);
                return i;
            }
        }
        return -1;
    };
    if (FOptions.Contains(goColSizing) && Y >= 0 && Y < FixedExtent(true)) {
        Integer i = edgeNear(false, X);
        if (i >= 0) {
            State = gsColSizing;
            Index = i;
            return;
        }
    }
    if (FOptions.Contains(goRowSizing) && X >= 0 && X < FixedExtent(false)) {
        Integer i = edgeNear(true, Y);
        if (i >= 0) {
            State = gsRowSizing;
            Index = i;
            return;
        }
    }
}

void TCustomGrid::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    if (HandleAllocated() && !Focused() && CanFocus()) SetFocus();
    if (Button == mbLeft && FGridState == gsNormal) {
        if (Shift.Contains(ssDouble)) {
            DblClick();
            TCustomControl::MouseDown(Button, Shift, X, Y);
            return;
        }
        TGridState st = gsNormal;
        Integer idx = -1, pos = 0, ofs = 0;
        CalcSizingState(X, Y, st, idx, pos, ofs);
        if (st != gsNormal) {
            if (FEditorMode) HideEditor();
            FGridState = st;
            FSizingIndex = idx;
            FSizingPos = pos;
            FSizingOfs = ofs;
        } else {
            TGridCoord c = MouseCoord(X, Y);
            if (c.X >= 0) {
                const bool fixedRow = c.Y < FFixedRows, fixedCol = c.X < FFixedCols;
                if (fixedRow && !fixedCol && FOptions.Contains(goColMoving)) {
                    if (FEditorMode) HideEditor();
                    FGridState = gsColMoving;
                    FMoveIndex = FMovePos = c.X;
                } else if (fixedCol && !fixedRow && FOptions.Contains(goRowMoving)) {
                    if (FEditorMode) HideEditor();
                    FGridState = gsRowMoving;
                    FMoveIndex = FMovePos = c.Y;
                } else if (!fixedRow && !fixedCol) {
                    if (FOptions.Contains(goEditing) && c == FCurrent && !Shift.Contains(ssShift) && !FEditorMode) {
                        ShowEditor();
                    } else {
                        FGridState = gsSelecting;
                        const bool extend = Shift.Contains(ssShift) && FOptions.Contains(goRangeSelect);
                        MoveCurrent(c.X, c.Y, !extend, true);
                        Click();
                    }
                }
            }
        }
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomGrid::MouseMove(TShiftState Shift, Integer X, Integer Y)
{
    switch (FGridState) {
    case gsSelecting: {
        // Past an edge the grid scrolls a line towards the mouse.
        const Integer w = ClientWidth(), h = ClientHeight();
        if (Y >= h && FTopLeft.Y < MaxTopLeft(true)) SetTopRow(FTopLeft.Y + 1);
        else if (Y < FixedExtent(true) && FTopLeft.Y > FFixedRows) SetTopRow(FTopLeft.Y - 1);
        if (X >= w && FTopLeft.X < MaxTopLeft(false)) SetLeftCol(FTopLeft.X + 1);
        else if (X < FixedExtent(false) && FTopLeft.X > FFixedCols) SetLeftCol(FTopLeft.X - 1);
        Integer x = std::clamp(X, FixedExtent(false), std::max(0, w - 1));
        Integer y = std::clamp(Y, FixedExtent(true), std::max(0, h - 1));
        TGridCoord c = MouseCoord(x, y);
        if (c.X >= FFixedCols && c.Y >= FFixedRows && !(c == FCurrent))
            MoveCurrent(c.X, c.Y, false, true);
        break;
    }
    case gsColSizing: case gsRowSizing:
        FSizingPos = (FGridState == gsColSizing ? X : Y) - FSizingOfs;
        break;
    case gsColMoving: case gsRowMoving: {
        const bool vert = FGridState == gsRowMoving;
        const Integer fixedExt = FixedExtent(vert);
        Integer p = std::clamp(vert ? Y : X, fixedExt, std::max(fixedExt, (vert ? ClientHeight() : ClientWidth()) - 1));
        Integer i = AxisCellAt(vert, p);
        if (i >= (vert ? FFixedRows : FFixedCols)) FMovePos = i;
        break;
    }
    default: break;
    }
    TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomGrid::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    const TGridState st = FGridState;
    FGridState = gsNormal;
    switch (st) {
    case gsColSizing: case gsRowSizing: {
        const bool vert = st == gsRowSizing;
        const Integer end = (vert ? Y : X) - FSizingOfs;
        const Integer size = std::max(0, Integer(end - LinePos(vert, FSizingIndex)));
        if (vert)
            SetRowHeights(FSizingIndex, size);
        else
            SetColWidths(FSizingIndex, size);
        break;
    }
    case gsColMoving:
        if (FMovePos >= 0 && FMovePos != FMoveIndex) {
            MoveColumn(FMoveIndex, FMovePos);
        }
        break;
    case gsRowMoving:
        if (FMovePos >= 0 && FMovePos != FMoveIndex) {
            MoveRow(FMoveIndex, FMovePos);
        }
        break;
    default: break;
    }
    FMoveIndex = FMovePos = -1;
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

// ---------------------------------------------------------------------------
// Editor

String TCustomGrid::GetEditText(Integer, Integer) { return L""; }
void TCustomGrid::SetEditText(Integer, Integer, const String&) {}

TInplaceEdit* TCustomGrid::CreateEditor() { return new TInplaceEdit(this); }

bool TCustomGrid::CanEditShow()
{
    return FOptions.Contains(goEditing) && !FOptions.Contains(goRowSelect) && (FEditorMode || FOptions.Contains(goAlwaysShowEditor)) &&
           HandleAllocated() && !ComponentState().Contains(csDesigning);
}

void TCustomGrid::SetEditorMode(bool v)
{
    if (v == FEditorMode && (!v || (FInplaceEdit && IsWindowVisible(FInplaceEdit->Handle())))) return;
    if (v) {
        FEditorMode = true;
        ShowEditor();
    } else if (!FOptions.Contains(goAlwaysShowEditor)) {
        HideEditor();
    } else {
        UpdateText();
    }
}

void TCustomGrid::ShowEditor()
{
    FEditorMode = true;
    if (!CanEditShow()) {
        FEditorMode = false;
        return;
    }
    if (!FInplaceEdit) {
        FInplaceEdit = CreateEditor();
        FInplaceEdit->SetGrid(this);
        FInplaceEdit->SetParent(this);
    }
    FEditCell = FCurrent;
    FEditStartText = GetEditText(FCurrent.X, FCurrent.Y);
    FInplaceEdit->UpdateContents();
    FInplaceEdit->Move(CellRect(FCurrent.X, FCurrent.Y));
    if (Focused() || (HandleAllocated() && GetFocus() == FHandle) || FInplaceEdit->Focused() || !GetFocus() ||
        IsChild(FHandle, GetFocus()))
        FInplaceEdit->SetFocus();
    FInplaceEdit->SelectAll();
    InvalidateEditor();
}

void TCustomGrid::ShowEditorChar(wchar_t Ch)
{
    ShowEditor();
    if (FInplaceEdit && FEditorMode) FInplaceEdit->Perform(WM_CHAR, WPARAM(Ch), 0);
}

void TCustomGrid::UpdateText()
{
    if (!FInplaceEdit || !FEditorMode || FEditCancelled) return;
    if (!FInplaceEdit->Modified()) return;
    SetEditText(FCurrent.X, FCurrent.Y, FInplaceEdit->Text());
}

void TCustomGrid::HideEditor()
{
    if (!FEditorMode) return;
    UpdateText();
    FEditorMode = false;
    if (FInplaceEdit) {
        const bool hadFocus = FInplaceEdit->Focused();
        FInplaceEdit->Hide();
        if (hadFocus && CanFocus()) SetFocus();
    }
    InvalidateCell(FCurrent.X, FCurrent.Y);
}

void TCustomGrid::UpdateEdit()
{
    if (!FEditorMode || !FInplaceEdit || !FInplaceEdit->HandleAllocated()) return;
    // A new current cell brings its own text.
    if (!(FEditCell == FCurrent)) {
        FEditCell = FCurrent;
        FEditStartText = GetEditText(FCurrent.X, FCurrent.Y);
        FInplaceEdit->UpdateContents();
        FInplaceEdit->SelectAll();
    }
    FInplaceEdit->Move(CellRect(FCurrent.X, FCurrent.Y));
}

void TCustomGrid::InvalidateEditor()
{
    if (FInplaceEdit && FInplaceEdit->HandleAllocated()) InvalidateRect(FInplaceEdit->Handle(), nullptr, TRUE);
}

// ---------------------------------------------------------------------------
// TInplaceEdit

TInplaceEdit::TInplaceEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner)
{
    FBorderStyle = bsNone;
    FAutoSize = false;
    FVisible = false;
    FTabStop = false;
}

void TInplaceEdit::WndProc(TMessage& M)
{
    switch (M.Msg) {
    case WM_GETDLGCODE: {
        LRESULT r = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTALLKEYS;
        if (FGrid && FGrid->Options().Contains(goTabs)) r |= DLGC_WANTTAB;
        M.Result = r;
        return;
    }
    default: break;
    }
    TCustomMaskEdit::WndProc(M);
}

void TInplaceEdit::UpdateContents()
{
    if (!FGrid) return;
    const Integer c = FGrid->Col(), r = FGrid->Row();
    SetEditMask(FGrid->GetEditMask(c, r));
    SetText(FGrid->GetEditText(c, r));
    SetMaxLength(FGrid->GetEditLimit());
    SetModified(false);
}

void TInplaceEdit::Move(const TRect& Loc)
{
    if (Loc.Right <= Loc.Left || Loc.Bottom <= Loc.Top) {
        // The cell scrolled out of view: the editor waits hidden.
        if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
        return;
    }
    SetBounds(Loc.Left, Loc.Top, Loc.Width(), Loc.Height());
    if (!FVisible) SetVisible(true);
    if (HandleAllocated()) ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    BoundsChanged();
}

void TInplaceEdit::BoundsChanged()
{
    // Two pixels of space on the left, as the cell's text has.
    if (!HandleAllocated()) return;
    TRect r = Rect(2, 0, Width() - 2, Height());
    SendMessage(Handle(), EM_SETRECTNP, 0, LPARAM(&r));
}

void TInplaceEdit::Deselect()
{
    SetSelStart(GetWindowTextLength(Handle()));
    SetSelLength(0);
}

void TInplaceEdit::Hide()
{
    if (HandleAllocated() && IsWindowVisible(Handle())) {
        SetVisible(false);
        ShowWindow(Handle(), SW_HIDE);
    } else {
        FVisible = false;
    }
}

void TInplaceEdit::SetFocus()
{
    if (HandleAllocated() && IsWindowVisible(Handle())) TCustomMaskEdit::SetFocus();
}

void TInplaceEdit::SendToParent(Word& Key, TShiftState Shift)
{
    if (FGrid) FGrid->KeyDown(Key, Shift);
    Key = 0;
}

void TInplaceEdit::KeyDown(Word& Key, TShiftState Shift)
{
    const bool ctrl = Shift.Contains(ssCtrl);
    auto selStart = [&] { return SelStart(); };
    auto atStart = [&] { return selStart() == 0 && SelLength() == 0; };
    auto atEnd = [&] { return selStart() >= GetWindowTextLength(Handle()) && SelLength() == 0; };
    switch (Key) {
    case VK_UP: case VK_DOWN: case VK_PRIOR: case VK_NEXT: case VK_ESCAPE: case VK_RETURN: case VK_F2:
        SendToParent(Key, Shift);
        return;
    case VK_TAB:
        if (FGrid && FGrid->Options().Contains(goTabs)) {
            SendToParent(Key, Shift);
            return;
        }
        break;
    case VK_INSERT:
        if (Shift.Empty()) {
            SendToParent(Key, Shift);
            return;
        }
        break;
    case VK_LEFT:
        if (ctrl || atStart()) {
            SendToParent(Key, Shift);
            return;
        }
        break;
    case VK_RIGHT:
        if (ctrl || atEnd()) {
            SendToParent(Key, Shift);
            return;
        }
        break;
    case VK_HOME:
        if (ctrl || atStart()) {
            SendToParent(Key, Shift);
            return;
        }
        break;
    case VK_END:
        if (ctrl || atEnd()) {
            SendToParent(Key, Shift);
            return;
        }
        break;
    default: break;
    }
    if (Key != 0) TCustomMaskEdit::KeyDown(Key, Shift);
}

void TInplaceEdit::KeyPress(wchar_t& Key)
{
    if (FGrid) {
        if (Key == L'\t' || Key == L'\r' || Key == 27) {
            Key = 0;
            return;
        }
        if (Key >= 32 && (!FGrid->CanEditAcceptKey(Key) || !FGrid->CanEditModify())) {
            Key = 0;
            MessageBeep(0);
            return;
        }
    }
    TCustomMaskEdit::KeyPress(Key);
}

void TInplaceEdit::KeyUp(Word& Key, TShiftState Shift) { TCustomMaskEdit::KeyUp(Key, Shift); }

void TInplaceEdit::DoExit()
{
    TCustomMaskEdit::DoExit();
    if (FGrid && FGrid->EditorMode() && !FGrid->Options().Contains(goAlwaysShowEditor) &&
        GetFocus() != FGrid->Handle())
        FGrid->HideEditor();
}
