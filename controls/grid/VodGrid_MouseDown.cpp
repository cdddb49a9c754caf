// The string grid's left button down: the ordered chain of hit tests before
// the platform's press handling, the mouse-down override and radio groups.
#include <algorithm>
#include <cmath>

#include "controls/foundation/VodUtil.h"
#include "controls/grid/VodGrid.h"
#include "controls/grid/editors/GridEditors.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"
#include "platform/ui/WindowManager.h"

TShiftState TVodStringGrid::ClickShiftState()
{
    if (GetKeyState(VK_MENU) < 0) return TShiftState{ssAlt};
    if (GetKeyState(VK_SHIFT) < 0) return TShiftState{ssShift};
    if (GetKeyState(VK_CONTROL) < 0) return TShiftState{ssCtrl};
    return TShiftState{};
}

void TVodStringGrid::PlatformLButtonDown(TMessage& M) { TBaseGrid::WMLButtonDown(M); }

bool TVodStringGrid::OnSelectionResizeGrip(Integer X, Integer Y)
{
    const TGridRect s = Selection();
    if (s.Right < 0 || s.Bottom < 0 || s.Right >= ColCount() || s.Bottom >= RowCount()) return false;
    TRect r = CellRect(s.Right, s.Bottom);
    if (r.Right <= r.Left || r.Bottom <= r.Top) return false;
    Integer ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    if (ACol >= FixedCols() && ARow >= FixedRows() && FControlLook->DropDownAlwaysVisible() &&
        HasComboBox(RealColIndex(ACol), ARow))
        r.Right -= Integer(Round(FControlLook->DropDownButtonWidth() * FDPIScale));
    const Integer g = Integer(Round(6 * FDPIScale));
    const bool inX = UseRightToLeftAlignment() ? (X >= r.Left && X < r.Left + g) : (X > r.Right - g && X <= r.Right);
    return inX && Y > r.Bottom - g && Y <= r.Bottom;
}

void TVodStringGrid::StartSelectionResize(TMessage& M, bool RunPlatform)
{
    const Integer X = M.XPos(), Y = M.YPos();
    FGridState = gsSelecting;
    FDropSelection = Selection();
    CopySelectionToClipboard();
    FMouseResize = true;
    const Integer c = Col(), r = Row();
    const TGridRect s = Selection();
    if (RunPlatform) PlatformLButtonDown(M);
    SetSelection(s);
    if (Col() != c || Row() != r) FocusCell(c, r, false);
    SetSelection(s);
    FGridState = gsSelecting;
    MouseMove(TShiftState{ssLeft}, X, Y);
    M.Result = 1;
}

void TVodStringGrid::WMLButtonDown(TMessage& M)
{
    const Integer X = M.XPos(), Y = M.YPos();
    const TShiftState shift = ClickShiftState();
    FDoOnClick = FMouseDownMove = FMouseKeepDown = true;
    FSpinUpClick = FSpinDnClick = FAnchorClick = false;
    Integer ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    FOrigSelection = Selection();
    FMouseDownRow = ARow;
    const bool valid = ACol >= 0 && ARow >= 0;
    if (valid && FSelectionResizer && FSelectionRectangle && OnSelectionResizeGrip(X, Y)) {
        StartSelectionResize(M, !Options().Contains(goEditing) && !FMouseActions->RangeSelectAndEdit());
        return;
    }

    if (FMouseActions->TouchScroll() && !EditorMode() && valid && !(ACol == Col() && ARow == Row()) &&
        ARow >= FixedRows() && !shift.Contains(ssShift)) {
        ClickCell(ARow, ACol);
        FTimeStart = GetTickCount();
        FTouchScrollPoint = TPoint{X, Y};
        FTopDown = TopRow();
        FLeftRight = LeftCol();
        FScrollStart = true;
        FScrollSteps = 0;
        M.Result = 1;
        if (Options().Contains(goRowSelect)) {
            if (shift.Contains(ssCtrl)) {
                SetRowSelect(ARow, !RowSelect(ARow));
            } else {
                ClearRowSelect();
                SetRow(ARow);
            }
        }
        SetCapture(Handle());
        return;
    }
    if (Options().Contains(goEditing) && FMouseActions->RangeSelectAndEdit()) {
        const TGridRect s = Selection();
        if (!(ACol >= s.Left && ACol <= s.Right && ARow >= s.Top && ARow <= s.Bottom))
            { TGridOptions o = Options(); o.Exclude(goEditing); SetOptions(o); }
    }
    bool allow = true;
    if (OnCanClickCell) OnCanClickCell(this, ARow, ACol, allow);
    if (!allow) return;
    if (CellSelectorMode()) {
        MouseDownHook();
        return;
    }
    if (FMouseSelectMode == msResize) {
        StartSelectionResize(M, !Options().Contains(goEditing));
        return;
    }
    const bool fixedCell = valid && (ACol < FixedCols() || ARow < FixedRows());
    if (FMouseActions->DisjunctCellSelect() && !shift.Contains(ssCtrl) && valid && !fixedCell) {
        FSelectedCells.clear();
        Invalidate();
    }
    SearchInc.clear();
    FMoveColInd = FMoveRowInd = -1;
    FSelectionClick = false;
    FPushedCellButton = TPoint{-1, -1};
    FOldKeepLeftCol = LeftCol();
    FOldTopRow = TopRow();
    // A click just right of or below a border sizes the cell before it.
    if (ARow == 0)
        MouseToCell(X - 5, Y, Colclicked, Rowclicked);
    else if (ACol == 0)
        MouseToCell(X, Y - 4, Colclicked, Rowclicked);
    else
        MouseToCell(X - 5, Y - 4, Colclicked, Rowclicked);
    if (FLook == glListView && FHotFixedCell.X >= 0) RepaintCell(FHotFixedCell.X, FHotFixedCell.Y);
    if (Colclicked >= 0 && Rowclicked >= 0) {
        Colclickedsize = ColWidths(Colclicked);
        Rowclickedsize = RowHeights(Rowclicked);
    }
    Clickposx = X;
    Clickposy = Y;
    if (!valid) {
        HideInplaceEdit();
        if (!FFixedRowAlways) PlatformLButtonDown(M);
        return;
    }
    LButtonDownCell(M, ACol, ARow, shift);
}

void TVodStringGrid::LButtonDownCell(TMessage& M, Integer ACol, Integer ARow, TShiftState shift)
{
    const Integer X = M.XPos(), Y = M.YPos();
    const TPoint pt{X, Y};
    const Integer rc = RealColIndex(ACol);
    const TPoint base = BaseCell(rc, ARow);
    const Integer baseCol = RealToDisplColumn(base.X), baseRow = base.Y;
    const TRect cr = CellRect(ACol, ARow);
    const bool designing = ComponentState().Contains(csDesigning);
    if (FMouseActions->CaretPositioning()) LButFlg = true;

    if (FFixedColSizeOffer) {
        FSizingFixed = true;
        FSizeFixedX = X;
        Integer sum = 0;
        for (Integer i = 0; i < FixedCols(); ++i) {
            if (std::abs(sum + ColWidths(i) - X) < 3 && !designing) FSizingFixedCol = i;
            sum += ColWidths(i) + 1;
        }
        return;
    }
    if (FFixedRowSizeOffer) {
        FSizingFixedR = true;
        FSizeFixedY = Y;
        Integer sum = 0;
        for (Integer i = 0; i < FixedRows(); ++i) {
            if (std::abs(sum + RowHeights(i) - Y) < 3 && !designing) FSizingFixedRow = i;
            sum += RowHeights(i) + 1;
        }
        return;
    }
    const bool isFixed = ACol < FixedCols() || ARow < FixedRows() || IsFixed(ACol, ARow);
    if (isFixed) HideInplaceEdit();
    bool nodeFlag = IsNode(ARow);
    if (isFixed && FFixedAsButtons && Options().Contains(goFixedVertLine) && Options().Contains(goFixedHorzLine) &&
        Ctl3D() && !(nodeFlag && IsInNodeButton(ARow, X))) {
        FPushedFixedCell = cr;
        FPushedCellButton = TPoint{ACol, ARow};
        FFixedCellPushed = true;
        InvalidateRect(Handle(), &cr, FALSE);
        nodeFlag = false;
    }
    if (!designing) {
        if (FControlLook->SpinButtonsAlwaysVisible() && HasSpinEdit(rc, ARow) && X >= cr.Right - 18) {
            if (Y > (cr.Top + cr.Bottom) / 2)
                FSpinDnClick = true;
            else
                FSpinUpClick = true;
        }
        const bool nodeCol = rc == FCellNode->NodeColumn();
        if (ARow >= FixedRows() && nodeCol && nodeFlag && IsInNodeButton(ARow, X)) {
            TBaseGrid::MouseDown(mbLeft, shift, X, Y);
            ClickCell(ARow, ACol);
            const Integer r = RealRowIndex(ARow);
            bool ok = true;
            if (GetNodeState(ARow)) {
                if (OnBeforeExpandNode) OnBeforeExpandNode(this, ARow, r, ok);
                if (ok) {
                    ExpandNode(r);
                    if (OnExpandNode) OnExpandNode(this, ARow, r);
                }
            } else {
                if (OnBeforeContractNode) OnBeforeContractNode(this, ARow, r, ok);
                if (ok) {
                    ContractNode(r);
                    if (OnContractNode) OnContractNode(this, ARow, r);
                }
            }
            if (FMouseActions->MoveRowOnNodeClick()) SetRow(ARow);
            return;
        }
        if (IsRadio(rc, ARow) && (IsCellEditable(rc, ARow) || FControlLook->RadioAlwaysActive())) {
            HideInplaceEdit();
            ClickRadioGroup(rc, ARow, X - cr.Left, Y - cr.Top);
            if (CanFocus()) SetFocus();
            return;
        }
        if (ACol == 0 && ARow >= FixedRows() && HasNodes() && !FMouseActions->RowSelect() &&
            !Options().Contains(goRowSizing) && !HasButton(rc, ARow) && !HasRating(rc, ARow)) {
            TBaseGrid::MouseDown(mbLeft, shift, X, Y);
            ClickCell(ARow, ACol);
            return;
        }
        const TGridRect s = Selection();
        const bool selected = ACol >= s.Left && ACol <= s.Right && ARow >= s.Top && ARow <= s.Bottom;
        if ((selected || (ARow < FixedRows() && !FEnhRowColMove)) && !HasButton(rc, ARow) &&
            !HasCheckBox(rc, ARow) && FDragDropSettings->OleDropSource &&
            !((FMouseActions->ColSelect() || FMouseActions->AllSelect()) && ARow < FixedRows()) &&
            ACol >= FixedCols() && !(Options().Contains(goColSizing) && (X - cr.Left < 4 || cr.Right - X < 4))) {
            if (CanFocus()) SetFocus();
            TBaseGrid::MouseDown(mbLeft, shift, X, Y);
            FSelectionClick = true;
            if (!Options().Contains(goEditing)) {
                ClickCell(ARow, ACol);
                return;
            }
        }
    }
    if (HasRating(rc, ARow) && IsCellEditable(rc, ARow)) {
        HideInplaceEdit();
        // Half steps of 9 pixels.
        double v = std::trunc(double(X - cr.Left) / 9.0) / 2.0;
        if (RatingChange(rc, ARow, v)) {
            SetFloats(rc, ARow, v);
            RepaintCell(ACol, ARow);
        }
        return;
    }
    auto pressButton = [&](const TRect& br) {
        HideInplaceEdit();
        if (!isFixed) FocusCell(ACol, ARow, true);
        if (PtInRect(br, pt)) {
            PushButton(rc, ARow, true);
            FPushedCellButton = TPoint{ACol, ARow};
            SetCapture(Handle());
            ClickCell(ARow, ACol);
            return true;
        }
        return false;
    };
    if (HasButton(rc, ARow) && pressButton(GetCellGraphicRect(rc, ARow))) return;
    if (HasExpand(rc, ARow) && pressButton(GetExpandButtonRect(rc, ARow))) return;
    const bool ddFlag = !isFixed && FControlLook->DropDownAlwaysVisible() && HasComboBox(rc, ARow);
    if (IsMergedCell(rc, ARow) && !isFixed && !OnMouseDown && !ddFlag && (baseCol != ACol || baseRow != ARow)) {
        // The platform sees the click inside the merged area's base cell.
        const TRect br = CellRect(baseCol, baseRow);
        Integer nx = br.Left + 2, ny = br.Top + 2;
        if (br.Width() == 0 && br.Height() == 0) {
            nx = X;
            ny = Y;
        }
        M.LParam = LPARAM((uint32_t(uint16_t(nx))) | (uint32_t(uint16_t(ny)) << 16));
    }
    if (ACol >= ColCount() || ARow >= RowCount()) {
        PlatformLButtonDown(M);
        return;
    }
    Clickposdx = Colclicked >= 0 && Rowclicked >= 0 ? X - CellRect(Colclicked, Rowclicked).Right : 0;
    Clickposdy = Colclicked >= 0 && Rowclicked >= 0 ? Y - CellRect(Colclicked, Rowclicked).Bottom : 0;
    FSelHidden = false;
    const bool ctrl = shift.Contains(ssCtrl);
    if (FMouseActions->DisjunctRowSelect() && ARow >= FixedRows() &&
        (ACol >= FixedCols() || !(FMouseActions->HotmailRowSelect() || FMouseActions->RowSelect()))) {
        if (shift.Contains(ssShift)) {
            const TGridRect o = FOrigSelection;
            PlatformLButtonDown(M);
            SetSelection(TGridRect{std::min(ACol, o.Left), std::min(ARow, o.Top), std::max(ACol, o.Left),
                                   std::max(ARow, o.Top)});
            return;
        }
        if (ctrl || FMouseActions->DisjunctRowSelectNoCtrl()) {
            if (RowSelect(ARow)) FDeselectState = true;
        } else {
            FMouseDown = true;
            if (!shift.Contains(ssAlt)) ClearRowSelect();
        }
    }
    if (FMouseActions->DisjunctColSelect() && ACol >= FixedCols()) {
        if ((ctrl || FMouseActions->DisjunctColSelectNoCtrl()) && ColSelect(ACol)) {
            FDeselectState = true;
        } else if (!ctrl && !FMouseActions->DisjunctColSelectNoCtrl()) {
            FMouseDown = true;
            ClearColSelect();
        }
    }
    const String text = GetCellEx(rc, ARow);
    const bool markup = FEnableHTML && DetectTextMarkup(text, true) != 0 &&
                        (text.find(L'<') != String::npos);
    if (FURLShow || markup) {
        if (AnchorClickAt(ACol, ARow, X, Y)) return;
        String up = UpperCase(text);
        if (markup && up.find(L"<CONTROL") != String::npos) {
            ClickCell(ARow, ACol);
            HideInplaceEdit();
            FocusCell(ACol, ARow, true);
            return;
        }
    }
    Movecell = -1;
    const bool fixedRow = ARow < FixedRows(), fixedCol = ACol < FixedCols();
    if (fixedRow && fixedCol && FMouseActions->AllSelect() && Options().Contains(goRangeSelect) &&
        FMouseSelectMode == msAll) {
        if (CanFocus()) SetFocus();
        ExportNotification(TGridExportState(0), -1);
        ExportNotification(TGridExportState(1), RowCount() - 1);
        ExportNotification(TGridExportState(4), -1);
        TGridRect all{FixedCols(), FixedRows(), ColCount() - 1, RowCount() - 1};
        MouseUpHook();
        SetSelection(all);
        FSelHidden = false;
        DoExit();
        return;
    }
    if (fixedCol && !fixedRow && FMouseActions->RowSelect() && FMouseSelectMode == msRow) {
        if (EditorMode() && CanFocus()) SetFocus();
        if (FMouseActions->DisjunctRowSelect() && ctrl) {
            SetRowSelect(ARow, !RowSelect(ARow));
        } else {
            if (FMouseActions->DisjunctRowSelect()) ClearRowSelect();
            if (FMouseActions->DisjunctCellSelect()) FSelectedCells.clear();
            if (shift.Contains(ssShift)) {
                const Integer top = FOrigSelection.Top;
                SetSelection(TGridRect{FixedCols(), std::min(top, ARow), ColCount() - 1, std::max(top, ARow)});
            } else {
                bool ok = true;
                if (ARow != Row() && OnRowChanging) OnRowChanging(this, Row(), ARow, ok);
                if (ok) {
                    FocusCell(FixedCols(), ARow, true);
                    SetSelection(TGridRect{FixedCols(), ARow, ColCount() - 1, ARow});
                }
            }
        }
        FSelHidden = false;
        FMouseSelectStart = ARow;
        return;
    }
    if (fixedRow && !fixedCol && FMouseActions->ColSelect() && Options().Contains(goRangeSelect) &&
        FMouseSelectMode == msColumn) {
        if (CanFocus()) SetFocus();
        if (FMouseActions->DisjunctCellSelect()) FSelectedCells.clear();
        if (shift.Contains(ssShift)) {
            const TGridRect o = FOrigSelection;
            if (ACol < o.Right)
                SetSelection(TGridRect{ACol, FixedRows(), o.Right, RowCount() - 1});
            else
                SetSelection(TGridRect{o.Left, FixedRows(), ACol, RowCount() - 1});
        } else {
            SetSelection(TGridRect{ACol, FixedRows(), ACol, RowCount() - 1});
        }
        FSelHidden = false;
        FMouseSelectStart = ACol;
        return;
    }
    if (fixedRow && !fixedCol) Movecell = ACol;
    if (fixedCol && !fixedRow) Movecell = ARow;
    MoveOfsX = X - cr.Left;
    MoveOfsY = Y - cr.Top;

    bool canEdit = Options().Contains(goEditing) || FMouseActions->RangeSelectAndEdit();
    IsCellEditable(rc, ARow, canEdit);
    if ((canEdit || FControlLook->CheckAlwaysActive() || (ACol == 0 && FMouseActions->HotmailRowSelect())) &&
        CellHasCheckBox(rc, ARow) && IsInCheckBox(rc, ARow, X, Y)) {
        HideInplaceEdit();
        if (CanFocus()) SetFocus();
        const bool radio = GetCellType(rc, ARow) == ctRadioButton;
        if (radio) {
            ToggleCellRadio(rc, ARow, true);
            if (OnRadioButtonClick) OnRadioButtonClick(this, rc, ARow);
        } else {
            ToggleCellCheckBox(rc, ARow, true);
        }
        if (FShowModified->Enabled()) {
            SetRowModified(ARow, true);
            RepaintCell(0, ARow);
        }
        bool state = false;
        GetCheckBoxState(rc, ARow, state);
        if (ACol == 0 && FMouseActions->HotmailRowSelect() && ARow >= FixedRows())
            SetRowSelect(RealRowIndex(ARow), !RowSelect(RealRowIndex(ARow)));
        if (!FNavigation->AlwaysEdit() && !fixedRow && !fixedCol) MoveColRow(ACol, ARow, true, true);
        CheckBoxClick(ACol, ARow, state);
        if (fixedRow && FMouseActions->CheckAllCheck()) {
            for (Integer r = FixedRows(); r < RowCount() - FFixedFooters; ++r) {
                if (FMouseActions->HotmailRowSelect())
                    SetRowSelect(RealRowIndex(r), state);
                else if (HasCheckBox(rc, r))
                    SetCheckBoxState(rc, r, state);
            }
            Invalidate();
        }
        TBaseGrid::MouseDown(mbLeft, ClickShiftState(), X, Y);
        Click();
        return;
    }
    if (!isFixed && FControlLook->DropDownAlwaysVisible() && HasEditBtn(rc, ARow)) {
        const Integer bw = FControlLook->DropDownButtonWidth();
        const TRect br{cr.Right - bw - 2, cr.Top, cr.Right - 2, cr.Bottom};
        if (PtInRect(br, pt)) {
            HideInplaceEdit();
            FocusCell(ACol, ARow, true);
            ShowInplaceEdit();
            if (OnEllipsClick) {
                String s = GetCellEx(rc, ARow);
                OnEllipsClick(this, ACol, ARow, s);
                if (EditorMode() && InplaceEditor()) {
                    if (s != InplaceEditor()->Text()) InplaceEditor()->SetText(s);
                } else {
                    SetCellEx(rc, ARow, s);
                }
            }
            return;
        }
    }
    if (IsFixed(ACol, ARow) && !fixedRow && !fixedCol) {
        if (!(FFloatingFooter->Visible() && FFloatingFooter->FooterStyle() == fsFixedLastRow &&
              ARow == RowCount() - 1))
            ClickCell(ARow, ACol);
        return;
    }
    const bool keepLeft = Options().Contains(goRowSelect) && FNavigation->KeepHorizScroll();
    const Integer oldLeft = LeftCol(), oldTop = TopRow();
    if (keepLeft) BeginUpdate();
    if (!FSelHidden) PlatformLButtonDown(M);
    if (keepLeft) {
        SetLeftCol(oldLeft);
        EndUpdate();
    }
    if (TopRow() != oldTop && FMouseActions->NoScrollOnPartialRow()) {
        SetTopRow(std::min(oldTop + FMouseActions->PartialScrollDelta(), RowCount() - 1));
        SendMessage(Handle(), WM_LBUTTONUP, 0, M.LParam);
    }
    if (LeftCol() != oldLeft && FMouseActions->NoScrollOnPartialCol()) {
        SetLeftCol(std::min(oldLeft + FMouseActions->PartialScrollDelta(), ColCount() - 1));
        SendMessage(Handle(), WM_LBUTTONUP, 0, M.LParam);
    }
    if (!(fixedRow && Options().Contains(goColSizing) && (X - cr.Left <= 4 || cr.Right - X <= 4))) ClickCell(ARow, ACol);
    if (OnCellValidate) StoreCellValue(Col(), Row());
    const bool clickControl = IsClickControlCell(rc, ARow);
    if (!fixedRow && !fixedCol && canEdit && !clickControl &&
        ((FMouseActions->DirectEdit() && X > cr.Left + 3 && X < cr.Right - 3) || (ddFlag && FMouseActions->DirectEdit()) ||
         (IsMergedCell(rc, ARow) && Options().Contains(goEditing) && FMouseActions->DirectEdit()))) {
        if (!EditorMode() && Col() == baseCol && Row() == baseRow) ShowInplaceEdit();
    }
}

void TVodStringGrid::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    FFltrPopPressCol = -1;
    Integer ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    const bool valid = ACol >= 0 && ARow >= 0;
    if (FMouseActions->RangeSelectAndEdit() && Button == mbLeft && !FMouseActions->EditOnDblClickOnly() && valid) {
        if (ACol == Col() && ARow == Row() && !Options().Contains(goEditing) && IsCellEditable(RealColIndex(ACol), ARow)) {
            { TGridOptions o = Options(); o.Include(goEditing); SetOptions(o); }
            TBaseGrid::MouseDown(Button, Shift, X, Y);
            ShowInplaceEdit();
            return;
        }
        if (Shift.Contains(ssShift) && !(ACol == Col() && ARow == Row()) && Options().Contains(goEditing)) {
            { TGridOptions o = Options(); o.Exclude(goEditing); SetOptions(o); }
            TBaseGrid::MouseDown(Button, Shift, X, Y);
            return;
        }
    }
    if (valid && (ACol < FixedCols() || ARow < FixedRows()) && IsHoverFixedCell(ACol, ARow) &&
        FControlLook->FixedDropDownButton()) {
        const TRect r = CellRect(ACol, ARow);
        const Integer right = Options().Contains(goColSizing) ? r.Right - 2 : r.Right;
        if (X >= r.Right - 16 && X < right) {
            FDropDownDown = true;
            if (CanShowFixedDropDown(ACol) && (FFixedDropDownMenu || OnFixedDropDownClick)) {
                FNoMouseLeave = true;
                TPopupMenu* menu = FFixedDropDownMenu;
                bool keep = false;
                if (menu) menu->SetTag(ACol);
                if (OnFixedDropDownClick) OnFixedDropDownClick(this, ACol, ARow, menu, keep);
                if (menu) {
                    FMouseDownMove = false;
                    FHoverFixedCell = TPoint{ACol, ARow};
                    const TPoint p = ClientToScreen(TPoint{r.Right - 16, r.Bottom});
                    menu->Popup(p.X, p.Y);
                    FHoverFixedCell = TPoint{-1, -1};
                    RepaintCell(ACol, ARow);
                }
                FNoMouseLeave = keep;
                return;
            }
        }
    }
    if (FHoverFixedCell.X >= 0 && FHoverFixedCell.Y == FixedRows() - 1 &&
        FControlLook->FixedGradientDownTo() != clNone)
        RepaintCell(FHoverFixedCell.X, FHoverFixedCell.Y);
    if (valid && (Col() >= ColCount() || Row() >= RowCount())) {
        bool ok = true;
        if (OnRowChanging) OnRowChanging(this, Row(), ARow, ok);
        if (ok) FocusCell(ACol, ARow, true);
    }
    TBaseGrid::MouseDown(Button, Shift, X, Y);
    if (!valid) return;
    const bool fixedArea = ACol < FixedCols() || ARow < FFixedRowsMin || ARow < FixedRows();
    if (!fixedArea) return;
    const TRect r = CellRect(ACol, ARow);
    if (HasFilterEdit(ACol, ARow)) {
        if (X >= r.Left && X < r.Left + 16 && Y >= r.Top && Y < r.Top + 16) {
            FFltrPopPressCol = ACol;
        } else if (X > r.Left + 4 + 18 && X < r.Right - 4 && Y > r.Top + 4 && Y < r.Bottom - 4) {
            StartFixedCellEdit(ACol, ARow, true);
        }
        return;
    }
    auto inset = [&](bool needed) {
        return !needed || (X > r.Left + 4 && X < r.Right - 4 && Y > r.Top + 4 && Y < r.Bottom - 4);
    };
    const bool inFixedRow = ARow < FixedRows();
    const bool inFixedCol = ACol < FixedCols();
    if (Button == mbLeft && inFixedRow && FMouseActions->FixedRowsEdit() == fceLeftClick &&
        inset(Options().Contains(goColSizing))) {
        StartFixedCellEdit(ACol, ARow, false);
        return;
    }
    if (Button == mbLeft && inFixedCol && FMouseActions->FixedColsEdit() == fceLeftClick &&
        inset(Options().Contains(goRowSizing))) {
        StartFixedCellEdit(ACol, ARow, false);
        return;
    }
    if (Button == mbRight && ((inFixedRow && FMouseActions->FixedRowsEdit() == fceRightClick) ||
                              (inFixedCol && FMouseActions->FixedColsEdit() == fceRightClick))) {
        StartFixedCellEdit(ACol, ARow, false);
        return;
    }
    if (auto* g = dynamic_cast<TVodStringGrid*>(FSyncGrid->Grid()); g && g != this) {
        if (FSyncGrid->SelectionColumn() && !IsUpdating() && Col() < g->ColCount()) g->SetCol(Col());
        if (FSyncGrid->SelectionRow() && Row() < g->RowCount()) g->SetRow(Row());
    }
}

void TVodStringGrid::ClickRadioGroup(Integer ACol, Integer ARow, Integer X, Integer Y)
{
    TStrings* items = GetRadioStrings(ACol, ARow);
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!items || !g) return;
    Canvas()->Font()->Assign(GetCellFont(ACol, ARow));
    const TPoint b = BaseCell(ACol, ARow);
    const Integer dcol = RealToDisplColumn(b.X);
    if (dcol >= FixedCols() && b.Y >= FixedRows()) FocusCell(dcol, b.Y, true);
    const Integer glyph = FControlLook->ControlStyle() >= TControlLook::csWinXP ? 16 : FControlLook->RadioSize();
    const bool horizontal = g->CellAngle() == 1;
    const Integer offset = horizontal ? X : Y;
    const Integer lineH = std::max(glyph, Canvas()->TextHeight(L"gh"));
    Integer sum = 0;
    for (Integer i = 0; i < items->Count(); ++i) {
        const Integer w = horizontal ? Canvas()->TextWidth(items->Strings(i)) + glyph : lineH;
        // Strictly inside: a boundary picks nothing.
        if (sum < offset && offset < sum + w) {
            SetCellEx(b.X, b.Y, items->Strings(i));
            SetRadioIdx(b.X, b.Y, i);
            if (OnRadioClick) OnRadioClick(this, b.X, b.Y, i);
            return;
        }
        sum += w;
    }
}
