// The string grid's button up: the ends of what a press started, button
// releases, clicks on fixed cells and the sort click on a header.
#include <algorithm>
#include <cstdlib>

#include "controls/grid/GridScrollControls.h"
#include "controls/grid/HTMLHintWindow.h"
#include "controls/grid/VodGrid.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"
#include "platform/ui/Timers.h"
#include "platform/ui/WindowManager.h"

void TVodStringGrid::WMLButtonUp(TMessage& M)
{
    const Integer X = M.XPos(), Y = M.YPos();
    const TShiftState shift = KeysToShiftState(M.Keys());
    ColMoveFlg = false;
    ColSizeFlg = false;
    FMouseDown = false;
    FMouseKeepDown = false;
    FMouseSelectMode = msNormal;
    if (FAnchorClick) {
        // The press went to an anchor or a markup control.
        FAnchorClick = false;
        M.Result = 1;
        return;
    }
    Integer ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    const bool validCell = ACol >= 0 && ARow >= 0;

    if (FScrollStart) {
        FScrollStart = false;
        const TPoint down = FTouchScrollPoint;
        const bool horz = std::abs(X - down.X) > std::abs(Y - down.Y);
        const bool flick = GetTickCount() - FTimeStart < 500;
        auto startKinetic = [&](bool vert, Integer delta) {
            FScrollDelta = delta;
            FScrollSteps = 10;
            FScrollVert = vert;
            FScrollEnd = true;
            TTimer* t = KineticScrollTimer();
            t->SetInterval(10);
            t->SetEnabled(true);
        };
        auto tapActions = [&]() {
            if (!validCell) return;
            bool canEdit = true;
            IsCellEditable(RealColIndex(ACol), ARow, canEdit);
            if (canEdit && HasCheckBox(RealColIndex(ACol), ARow)) {
                ToggleCheckBox(RealColIndex(ACol), ARow);
                bool state = false;
                GetCheckBoxState(RealColIndex(ACol), ARow, state);
                CheckBoxClick(ACol, ARow, state);
            }
            if (canEdit && HasButton(RealColIndex(ACol), ARow)) ButtonClick(ACol, ARow);
        };
        if (!horz) {
            const Integer delta = Y > down.Y ? -1 : 1;
            if (flick && TopRow() != FTopDown) {
                startKinetic(true, delta);
            } else if (TopRow() == FTopDown) {
                if (validCell && !Options().Contains(goRowSelect) && ACol >= FixedCols() && ARow >= FixedRows()) {
                    FocusCell(ACol, ARow, true);
                    SelectCell(ACol, ARow);
                }
                SetTopRow(FTopDown);
                tapActions();
            }
        } else {
            const Integer delta = X > down.X ? -1 : 1;
            if (flick && LeftCol() != FLeftRight) {
                startKinetic(false, delta);
            } else if (LeftCol() == FLeftRight) {
                if (validCell && ACol >= FixedCols() && ARow >= FixedRows()) {
                    FocusCell(ACol, ARow, true);
                    SelectCell(ACol, ARow);
                }
                SetLeftCol(std::max(FixedCols(), FLeftRight));
                tapActions();
            }
        }
        FTouchScrollPoint = TPoint{-1, -1};
        ReleaseCapture();
        if (CanFocus()) SetFocus();
        if (FActiveRowShow) Invalidate();
    }

    if (FCtrlDown) {
        FCtrlDown = false;
        RepaintCell(FCtrlXY.X, FCtrlXY.Y);
    }
    FMouseDownMove = false;
    if (FLook == glListView) {
        InvalidateRow(0);
        if (FixedCols() > 0) InvalidateCol(0);
    }
    FMouseSelectStart = -1;
    if (!ComponentState().Contains(csDesigning)) HideMoveArrows();

    if (FSizingFixed) {
        FFixedColSizeOffer = false;
        FSizingFixed = false;
        if (FSizingFixedCol >= 0 && FSizingFixedCol < ColCount()) {
            Integer before = 0;
            for (Integer i = 0; i < FSizingFixedCol; ++i) before += ColWidths(i);
            Integer w = std::max(0, X - before);
            SetColWidths(FSizingFixedCol, w);
            if (OnEndColumnSize) OnEndColumnSize(this, FSizingFixedCol);
            Integer aw = w;
            if (OnUpdateColumnSize) OnUpdateColumnSize(this, FSizingFixedCol, aw);
            if (aw != w) SetColWidths(FSizingFixedCol, std::max(0, aw));
        }
    }
    if (FSizingFixedR) {
        FFixedRowSizeOffer = false;
        FSizingFixedR = false;
        if (FSizingFixedRow >= 0 && FSizingFixedRow < RowCount()) {
            Integer before = 0;
            for (Integer i = 0; i < FSizingFixedRow; ++i) before += RowHeights(i);
            SetRowHeights(FSizingFixedRow, std::max(0, Y - before));
            if (OnEndRowSize) OnEndRowSize(this, FSizingFixedRow);
        }
    }
    if (FFixedCellPushed) {
        FFixedCellPushed = false;
        InvalidateRect(Handle(), &FPushedFixedCell, FALSE);
    }

    if (FPushedCellButton.X != -1) {
        const TPoint pc = FPushedCellButton;
        const bool relExpand = validCell && HasExpand(RealColIndex(ACol), ARow);
        bool enabled = Options().Contains(goEditing);
        if (!enabled && !FControlLook->NoDisabledButtonLook() && validCell) enabled = IsCellEditable(ACol, ARow);
        const bool pushedFixed = pc.X < FixedCols() || pc.Y < FixedRows();
        if (enabled || FFixedAsButtons || FControlLook->NoDisabledButtonLook() || relExpand || pushedFixed) {
            if (!IsNode(pc.Y)) PushButton(RealColIndex(pc.X), pc.Y, false);
            const TRect br = GetCellGraphicRect(RealColIndex(pc.X), pc.Y);
            const bool inside = PtInRect(br, TPoint{X, Y}) && ACol == pc.X && ARow == pc.Y;
            if ((inside && HasButton(RealColIndex(pc.X), pc.Y)) || FFixedAsButtons || pushedFixed)
                ButtonClick(pc.X, pc.Y);
            if (relExpand) {
                const TRect er = GetExpandButtonRect(RealColIndex(ACol), ARow);
                if (PtInRect(er, TPoint{X, Y}) || (FFixedAsButtons && ACol < FixedCols()) || ARow < FixedRows()) {
                    ToggleExpand(RealColIndex(ACol), ARow);
                    ExpandClick(ACol, ARow, GetExpandState(RealColIndex(ACol), ARow));
                }
            }
        }
        FPushedCellButton = TPoint{-1, -1};
        ReleaseCapture();
    }
    if (FScrollHintShow && FScrollHintWnd) {
        FScrollHintWnd->ReleaseHandle();
        FScrollHintShow = false;
    }

    const bool moving = (Screen->Cursor() == crDrag || Screen->Cursor() == crNoDrop) &&
                        (FGridState == gsRowMoving || FGridState == gsColMoving) && FEnhRowColMove;
    if (!moving && validCell) {
        const Integer rc = RealColIndex(ACol);
        if ((HasButton(rc, ARow) && PtInRect(GetCellGraphicRect(rc, ARow), TPoint{X, Y})) ||
            (HasExpand(rc, ARow) && PtInRect(GetExpandButtonRect(rc, ARow), TPoint{X, Y})))
            return;
    }
    const bool sizingClick = validCell && ARow < FixedRows() && Options().Contains(goColSizing) &&
                             Screen->Cursor() == crHSplit;
    if (OnClick && FDoOnClick && !sizingClick && validCell && (ARow < FixedRows() || ACol < FixedCols()))
        OnClick(this);
    FDoOnClick = false;
    if (FGridState == gsSelecting) FGridState = gsNormal;

    if (FSelectionClick) {
        FSelectionClick = false;
        if (validCell && ACol >= FixedCols() && ARow >= FixedRows()) {
            const bool ctrl = shift.Contains(ssCtrl);
            if (FMouseActions->DisjunctRowSelect() && FDragDropSettings->OleDropSource) {
                if (!ctrl && !FMouseActions->DisjunctRowSelectNoCtrl()) ClearRowSelect();
                if (ctrl || FMouseActions->DisjunctRowSelectNoCtrl()) {
                    SetRowSelect(ARow, !RowSelect(ARow));
                    // The release's own point (not the cell's indices).
                    TBaseGrid::MouseUp(mbLeft, TShiftState{ssCtrl}, X, Y);
                    return;
                }
            }
            if (Options().Contains(goRowSelect))
                SetSelection(TGridRect{FixedCols(), ARow, ColCount() - 1, ARow});
            else
                FocusCell(ACol, ARow, true);
        }
    }
    bool clearSelChange = false;
    if (FMouseActions->DisjunctRowSelect() && !(IsNode(std::max(0, ARow)) && ACol == 0)) {
        if (validCell && ACol >= FixedCols() && ARow >= FixedRows() &&
            !(ACol == 0 && FMouseActions->HotmailRowSelect()))
            SyncRowSelectFromSelection(false);
        if (validCell && ARow >= FixedRows() && FDeselectState) {
            SetRowSelect(ARow, false);
            clearSelChange = true;
        }
        FDeselectState = false;
    }
    if (FMouseActions->DisjunctColSelect()) {
        SyncColSelectFromSelection(false);
        if (validCell && ACol >= FixedCols() && FDeselectState) SetColSelect(ACol, false);
        FDeselectState = false;
    }

    bool moveEnded = false;
    if (moving) {
        if (FHeaderDragButton) {
            FHeaderDragButton->SetEnabled(false);
            FHeaderDragButton->Hide();
        }
        delete FMoveForm;
        FMoveForm = nullptr;
        DragDropEnd();
        const bool counted = Screen->Cursor() != crNoDrop;
        Screen->SetCursor(crDefault);
        const TGridState st = FGridState;
        FGridState = gsNormal;
        if (counted && st == gsColMoving && ACol >= FixedCols() && ACol != Movecell && Movecell >= FixedCols())
            MoveColumn(Movecell, ACol);
        else if (counted && st == gsRowMoving && ARow >= FixedRows() && ARow != Movecell && Movecell >= FixedRows())
            MoveRow(Movecell, ARow);
        else if (st == gsColMoving)
            InvalidateRow(0);
        else
            InvalidateCol(0);
        KillTimer(Handle(), 1);
        moveEnded = true;
    }

    TBaseGrid::WMLButtonUp(M);

    if (validCell && (ARow < FixedRows() || ACol < FixedCols()) && !sizingClick && OnFixedCellClick)
        OnFixedCellClick(this, ACol, ARow);
    if (clearSelChange) FSelChange = false;
    if (FGridState == gsSelecting) FGridState = gsNormal;

    if (FMouseResize) {
        const TGridRect ns = Selection();
        if (OnSelectionResize) OnSelectionResize(this, FDropSelection, ns);
        if (FNavigation->AllowSmartClipboard()) {
            // The cells copied at the press fill the new selection, editable
            // or not for the time of the paste.
            const bool was = FEditDisable;
            FEditDisable = true;
            try {
                PasteSelectionFromClipboard();
            } catch (...) {
                FEditDisable = was;
                throw;
            }
            FEditDisable = was;
        }
        FMouseResize = false;
        if (OnSelectionResized) OnSelectionResized(this, FDropSelection, ns);
    }
    if (ColMoveFlg || ColSizeFlg || !validCell) return;
    const Integer rc = RealColIndex(ACol);
    bool state = false;
    if (HasCheckBox(rc, ARow) && OnCheckBoxMouseUp) {
        GetCheckBoxState(rc, ARow, state);
        OnCheckBoxMouseUp(this, rc, ARow, state);
    }
    Integer idx = -1;
    if (IsRadio(rc, ARow) && OnRadioMouseUp && GetRadioIdx(rc, ARow, idx)) OnRadioMouseUp(this, rc, ARow, idx);
    if (ACol < FixedCols() && ARow < FixedRows() && !FSortSettings->FixedCols) return;
    ClickSortAt(ACol, ARow, X, Y, shift, moveEnded);
}

void TVodStringGrid::ClickSortAt(Integer ACol, Integer ARow, Integer X, Integer Y, TShiftState Shift, bool MoveEnded)
{
    if (FDblClk) {
        // The double click sized the column: no sort.
        FDblClk = false;
        return;
    }
    const TRect r = CellRect(ACol, ARow);
    if (ARow < FixedRows() && Options().Contains(goColSizing) && (X - r.Left <= 4 || r.Right - X <= 4)) return;
    if (X >= r.Right - 16) {
        if (FControlLook->FixedDropDownButton() && CanShowFixedDropDown(ACol)) return;
        if (FFilterDropDownAuto && ARow == FFilterDropDownRow && BuildColumnFilterList(RealColIndex(ACol), true, false))
            return;
    }
    if (ARow != FSortSettings->Row() || FMouseDownRow != ARow || FixedRows() == 0 ||
        IsInCheckBox(RealColIndex(ACol), ARow, X, Y) || !FSortSettings->Show() || RowCount() <= 2 || MoveEnded)
        return;
    const Integer rc = RealColIndex(ACol);
    bool allow = !IsIgnoredColumn(rc);
    if (allow) CanSort(rc, allow);
    if (!allow) {
        RepaintCell(ACol, ARow);
        return;
    }
    HideInplaceEdit();
    const bool keepLeft = Options().Contains(goRowSelect) && FNavigation->KeepHorizScroll();
    const Integer oldLeft = LeftCol();
    const DWORD t0 = GetTickCount();
    BeginUpdate();
    try {
        if (FSortSettings->IndexShow) {
            const bool keyDown = FSortSettings->IndexSortKey == ikShift ? Shift.Contains(ssShift) : Shift.Contains(ssCtrl);
            TSortIndexList* ix = FSortIndexes.get();
            const bool initAsc = FSortSettings->InitSortDirection == sdAscending;
            if (keyDown) {
                if (ix->FindIndex(rc) >= 0)
                    ix->ToggleIndex(rc);
                else
                    ix->AddIndex(rc, initAsc);
            } else if (ix->Count() == 1 && ix->GetSortColumns(0) == rc) {
                ix->ToggleIndex(rc);
            } else {
                ix->Clear();
                ix->AddIndex(rc, initAsc);
            }
            if (HasNodes())
                QSortGroupIndexed();
            else
                QSortIndexed();
            FSortSettings->Column = ix->Count() > 0 ? ix->GetSortColumns(0) : -1;
        } else {
            bool unsort = false;
            if (FSortSettings->Column == rc) {
                if (FSortSettings->UndoSort && FSortSettings->Direction != FSortSettings->InitSortDirection)
                    unsort = true;
                else
                    FSortSettings->Direction =
                        FSortSettings->Direction == sdAscending ? sdDescending : sdAscending;
            } else {
                FSortSettings->Direction = FSortSettings->InitSortDirection;
                FSortSettings->Column = rc;
            }
            if (unsort) {
                QUnSort();
                FSortSettings->Column = -1;
                FSortSettings->Direction = FSortSettings->InitSortDirection;
            } else if (HasNodes()) {
                QSortGroup();
            } else {
                QSort();
            }
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    if (keepLeft) SetLeftCol(oldLeft);
    EndUpdate();
    FSortTime = Integer(GetTickCount() - t0);
    if (FControlList->Count() > 0) CellControlsUpdate(true);
    ClickSort(FSortSettings->Column);
}

void TVodStringGrid::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    if (ComponentState().Contains(csDesigning)) {
        TBaseGrid::MouseUp(Button, Shift, X, Y);
        DesignHelperClick(X, Y);
        return;
    }
    const TGridRect sel = Selection();
    const bool selChanged = !(sel == FOrigSelection) &&
                            (Button == mbLeft || (Button == mbRight && FMouseActions->SelectOnRightClick()));
    Integer ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    const bool valid = ACol >= 0 && ARow >= 0;
    if (valid && FGridState != gsColSizing && HasFilterEdit(ACol, ARow)) {
        const TRect r = CellRect(ACol, ARow);
        if (X >= r.Left && X < r.Left + 16 && Y >= r.Top && Y < r.Top + 16 && FFltrPopPressCol == ACol &&
            FFilterTypeMenu) {
            FFilterTypeMenu->SetTag(RealColIndex(ACol));
            for (Integer i = 0; i < FFilterTypeMenu->Items()->Count() && i < FFilterEdit->TypeNames()->Count(); ++i)
                FFilterTypeMenu->Items()->Items(i)->SetCaption(FFilterEdit->TypeNames()->Strings(i));
            const TPoint p = ClientToScreen(TPoint{r.Left, r.Bottom});
            FFilterTypeMenu->Popup(p.X, p.Y);
            return;
        }
    }
    if (valid && FFilterDropDownAuto && ARow == FFilterDropDownRow && RealColIndex(ACol) != FFilterCol &&
        FGridState != gsColSizing) {
        const TRect r = CellRect(ACol, ARow);
        if (X >= r.Right - 16 && X <= r.Right - 3 && Y - r.Top < 19) {
            ShowFilterDropDown(RealColIndex(ACol));
        }
    }
    FDropDownDown = false;
    if ((FGridState == gsColSizing && X > Width()) || (FGridState == gsRowSizing && Y > Height())) {
        // A sizing released outside the grid is cancelled.
        FGridState = gsNormal;
        return;
    }
    if (FMouseActions->DisjunctCellSelect() && Button == mbLeft && valid) {
        const TPoint b = BaseCell(ACol, ARow);
        const bool baseFixed = b.X < FixedCols() || b.Y < FixedRows();
        bool handled = false;
        if (!baseFixed) {
            bool canSelect = true;
            if (OnSelectCell) OnSelectCell(this, b.X, b.Y, canSelect);
            if (!canSelect) return;
            auto it = std::find_if(FSelectedCells.begin(), FSelectedCells.end(),
                                   [&](const TGridCoord& c) { return c.X == b.X && c.Y == b.Y; });
            if (Shift.Contains(ssShift)) {
                if (it == FSelectedCells.end()) FSelectedCells.push_back(TGridCoord{b.X, b.Y});
            } else if (Shift.Contains(ssCtrl)) {
                if (it == FSelectedCells.end())
                    FSelectedCells.push_back(TGridCoord{b.X, b.Y});
                else
                    FSelectedCells.erase(it);
            } else {
                for (const TGridCoord& c : FSelectedCells) RepaintCell(c.X, c.Y);
                FSelectedCells.clear();
                FSelectedCells.push_back(TGridCoord{b.X, b.Y});
            }
            handled = true;
        } else if (ACol >= FixedCols() && ARow >= FixedRows() && !Shift.Contains(ssCtrl)) {
            FSelectedCells.clear();
            Invalidate();
        }
        if (handled) {
            const TGridRect s = Selection();
            if (s.Left == s.Right && s.Top == s.Bottom) {
                RepaintCell(ACol, ARow);
            } else {
                for (Integer c = s.Left; c <= s.Right; ++c)
                    for (Integer r = s.Top; r <= s.Bottom; ++r) {
                        if (c == b.X && r == b.Y) continue;
                        if (std::none_of(FSelectedCells.begin(), FSelectedCells.end(),
                                         [&](const TGridCoord& x) { return x.X == c && x.Y == r; }))
                            FSelectedCells.push_back(TGridCoord{c, r});
                    }
                for (const TGridCoord& c : FSelectedCells) RepaintCell(c.X, c.Y);
                RepaintCell(ACol, ARow);
            }
        }
    }
    if (selChanged) SelectionChanged(sel.Left, sel.Top, sel.Right, sel.Bottom);
    if (Button == mbRight && FGridState == gsColMoving) return;
    const TGridRect before = Selection();
    TBaseGrid::MouseUp(Button, Shift, X, Y);
    if (FHoverFixedCell.Y == FixedRows() - 1 && FControlLook->FixedGradientDownTo() != clNone && FHoverFixedCell.X >= 0)
        RepaintCell(FHoverFixedCell.X, FHoverFixedCell.Y);
    const TGridRect after = Selection();
    if (!(after == before)) SelectionChanged(after.Left, after.Top, after.Right, after.Bottom);
}

void TVodStringGrid::WMRButtonUp(TMessage& M)
{
    // The right button never ends a row or column move.
    if ((FGridState == gsRowMoving || FGridState == gsColMoving) && FEnhRowColMove &&
        (Screen->Cursor() == crDrag || Screen->Cursor() == crNoDrop)) {
        M.Result = 0;
        return;
    }
    TBaseGrid::WMRButtonUp(M);
}
