// The string grid's right button and double click, the editors of fixed
// cells, the header filter list, cell hints and the editors' texts.
#include <algorithm>

#include "controls/foundation/VodUtil.h"
#include "controls/grid/GridFilter.h"
#include "controls/grid/VodGrid.h"
#include "controls/grid/editors/GridEditors.h"
#include "controls/markup/VurHTMLE.h"
#include "platform/ui/CheckLst.h"
#include "platform/ui/Forms.h"
#include "platform/ui/WindowManager.h"

namespace {
bool IsMarkupText(const String& S) { return DetectTextMarkup(S, true) != 0 && S.find(L'<') != String::npos; }
}  // namespace

void TVodStringGrid::WMRButtonDown(TMessage& M)
{
    TBaseGrid::WMRButtonDown(M);
    const Integer X = M.XPos(), Y = M.YPos();
    Integer ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    const bool valid = ACol >= 0 && ARow >= 0;
    const bool selOnRight = FMouseActions->SelectOnRightClick();
    if (selOnRight && valid && ACol < FixedCols() && FMouseActions->RowSelect()) {
        if (OnMouseDown) OnMouseDown(this, mbLeft, ClickShiftState(), X, Y);
        SetRow(ARow);
        ClickCell(ARow, FixedCols());
        return;
    }
    const bool dataCell = valid && ACol >= FixedCols() && ARow >= FixedRows();
    bool inCells = false;
    if (dataCell && FMouseActions->DisjunctCellSelect())
        inCells = std::any_of(FSelectedCells.begin(), FSelectedCells.end(),
                              [&](const TGridCoord& c) { return c.X == ACol && c.Y == ARow; });
    if (selOnRight && dataCell && !inCells) {
        const Integer rc = RealColIndex(ACol);
        if (!IsClickControlCell(rc, ARow)) {
            if (OnRightClickCell)
                FocusCell(ACol, ARow, true);
            else {
                MouseDown(mbLeft, TShiftState{}, X, Y);
                MouseUp(mbLeft, TShiftState{}, X, Y);
            }
        }
        const TGridRect s = Selection();
        const bool selected = ACol >= s.Left && ACol <= s.Right && ARow >= s.Top && ARow <= s.Bottom;
        if (selected && !Options().Contains(goRowSelect)) {
            bool canSelect = true;
            if (OnSelectCell) OnSelectCell(this, ACol, ARow, canSelect);
        } else {
            const TPoint b = BaseCell(rc, ARow);
            const bool keep = FNavigation->KeepHorizScroll();
            const Integer oldLeft = LeftCol();
            BeginUpdate();
            MoveColRow(RealToDisplColumn(b.X), b.Y, true, true);
            if (keep) SetLeftCol(oldLeft);
            EndUpdate();
        }
        if (FMouseActions->DisjunctRowSelect()) {
            const bool ctrl = GetKeyState(VK_CONTROL) < 0;
            if (ctrl || FMouseActions->DisjunctRowSelectNoCtrl()) {
                SetRowSelect(ARow, !RowSelect(ARow));
            } else {
                Integer marked = 0;
                for (Integer r = FixedRows(); r < RowCount(); ++r)
                    if (RowSelect(r)) ++marked;
                if (!(marked > 1 && PopupMenu() && RowSelect(ARow))) {
                    ClearRowSelect();
                    SetRowSelect(ARow, true);
                }
            }
        }
    }
    if (OnRightClickCell) OnRightClickCell(this, ARow, ACol);
    if (valid && FURLShow && FURLEdit && IsURLText(GetCellEx(RealColIndex(ACol), ARow))) {
        FocusCell(ACol, ARow, true);
        ShowEditor();
    }
}

void TVodStringGrid::WMLButtonDblClk(TMessage& M)
{
    const Integer X = M.XPos(), Y = M.YPos();
    Integer ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    if (ACol < 0) {
        if (FFixedRowAlways) {
            TBaseGrid::WMLButtonDblClk(M);
            return;
        }
        ACol = ColCount() - 1;
        ARow = 0;
    }
    if (ARow < 0) {
        TBaseGrid::WMLButtonDblClk(M);
        return;
    }
    const TRect r = CellRect(ACol, ARow);
    if (ARow < FixedRows() && Options().Contains(goColSizing) && FMouseActions->AutoSizeColOnDblClick()) {
        Integer target = -1;
        if (X - r.Left <= 3 && ACol - 1 >= FixedCols())
            target = ACol - 1;
        else if (r.Right - X <= 3 && ACol >= FixedCols())
            target = ACol;
        if (target >= 0) {
            FDblClk = true;
            bool allow = true;
            if (OnColumnSize) OnColumnSize(this, target, allow);
            if (allow) {
                AutoSizeCol(target, 0);
                if (OnEndColumnSize) OnEndColumnSize(this, target);
            }
            TBaseGrid::WMLButtonDblClk(M);
            return;
        }
    }
    const Integer rc = RealColIndex(ACol);
    if ((HasButton(rc, ARow) && PtInRect(GetCellGraphicRect(rc, ARow), TPoint{X, Y})) ||
        (HasExpand(rc, ARow) && PtInRect(GetExpandButtonRect(rc, ARow), TPoint{X, Y})))
        return;
    TBaseGrid::WMLButtonDblClk(M);
    if (OnDblClickCell) OnDblClickCell(this, ARow, ACol);
    if (IsClickControlCell(rc, ARow) && !HasButton(rc, ARow)) return;
    const bool dataCell = ACol >= FixedCols() && ARow >= FixedRows();
    if (FMouseActions->EditOnDblClickOnly()) {
        if (dataCell && IsCellEditable(rc, ARow)) {
            TGridOptions o = Options();
            o.Include(goEditing);
            SetOptions(o);
            FOldCol = Col();
            FOldRow = Row();
            ShowInplaceEdit();
        }
    } else if (dataCell && FMouseActions->RangeSelectAndEdit() && IsCellEditable(rc, ARow)) {
        TGridOptions o = Options();
        o.Include(goEditing);
        SetOptions(o);
        const TPoint b = BaseCell(rc, ARow);
        const TRect br = CellRect(RealToDisplColumn(b.X), b.Y);
        MouseDown(mbLeft, TShiftState{}, br.Left + 4, br.Top + 4);
    }
    if ((ARow < FixedRows() && FMouseActions->FixedRowsEdit() == fceDblClick) ||
        (ACol < FixedCols() && FMouseActions->FixedColsEdit() == fceDblClick))
        StartFixedCellEdit(ACol, ARow, false);
}

void TVodStringGrid::StartFixedCellEdit(Integer ACol, Integer ARow, bool FilterEdit)
{
    if (!FFixedEdit || !FFixedComboBox) return;
    if (FFixedEdit->Visible() && !FFixedEdit->StopEdit()) return;
    if (FFixedComboBox->Visible() && !FFixedComboBox->StopEdit()) return;
    bool canEdit = true;
    if (OnCanEditCell) OnCanEditCell(this, ARow, ACol, canEdit);
    if (!canEdit) return;
    FFixedColEdit = ACol;
    FFixedRowEdit = ARow;
    // The column-0 setting applies to column 0 only.
    TGridFixedCellEditor kind = ACol == 0 ? FMouseActions->FixedColsEditor() : FMouseActions->FixedRowsEditor();
    TStringList items;
    items.Assign(FMouseActions->FixedComboValues());
    DoFixedEdit(ACol, ARow, kind, &items);
    TRect r = CellRect(ACol, ARow);
    r = TRect{r.Left + 1, r.Top + 1 + 2, r.Right - 1, r.Bottom - 1};
    const Integer rc = RealColIndex(ACol);
    if (FilterEdit) {
        r.Left += 19;
        FFixedEdit->SetColor(FFilterEdit->Color);
        kind = fceEdit;
    }
    if (kind == fceEdit) {
        FFixedEdit->SetBounds(r.Left, r.Top, std::max(0, r.Width()), std::max(0, r.Height()));
        FFixedEdit->SetText(GetCellEx(rc, ARow));
        FFixedEdit->FCol = rc;
        FFixedEdit->FRow = ARow;
        FFixedEdit->FilterEdit = FilterEdit;
        FFixedEdit->SetVisible(true);
        if (FFixedEdit->CanFocus()) FFixedEdit->SetFocus();
    } else {
        TGridTransCombo* c = FFixedComboBox;
        c->SetBounds(r.Left - 1, r.Top - 1, std::max(0, r.Width() + 1), c->Height());
        c->SetStyle(kind == fceComboEdit ? csDropDown : csDropDownList);
        c->SetDropDownCount(FControlLook->DropDownCount());
        c->Items()->Assign(&items);
        c->SetText(GetCellEx(rc, ARow));
        if (kind == fceComboList) c->SetItemIndex(c->Items()->IndexOf(GetCellEx(rc, ARow)));
        if (FNavigation->AutoComboDropSize()) c->SizeDropDownWidth();
        c->FCol = rc;
        c->FRow = ARow;
        c->SetVisible(true);
        if (c->CanFocus()) c->SetFocus();
    }
}

void TVodStringGrid::ShowFilterList(Integer ACol, Integer ARow)
{
    TCustomListBox* list = FFilterDropDownCheck ? static_cast<TCustomListBox*>(FDropCheckList)
                                                : static_cast<TCustomListBox*>(FDropList);
    if (!list) return;
    list->SetColor(FFilterDropDown->Color);
    list->Font()->Assign(FFilterDropDown->Font());
    list->Items()->Clear();
    TCanvas* cv = Canvas();
    cv->Font()->Assign(FFilterDropDown->Font());
    Integer widest = 0;
    for (Integer i = 0; i < FFilterList->Count(); ++i) {
        const String e = FFilterList->Strings(i);
        const size_t tab = e.find(L'\t');
        const String shown = tab == String::npos ? e : e.substr(0, tab);
        list->Items()->Add(shown);
        if (FFilterDropDownCheck) {
            bool checked = false;
            for (Integer k = 0; k < FFilter->Count(); ++k) {
                if (FFilter->Items(k)->Column != FFilterCol) continue;
                const String fn = L"|" + FFilter->Items(k)->FriendlyName + L"|";
                const String t = shown.find(L' ') != String::npos ? L"\"" + shown + L"\"" : shown;
                if (fn.find(L"|" + t + L"|") != String::npos || fn.find(L"|" + shown + L"|") != String::npos) checked = true;
            }
            FDropCheckList->SetChecked(i, checked);
            widest = std::max(widest, cv->TextWidth(shown) + 24);
        } else {
            widest = std::max(widest, cv->TextWidth(shown) + 8);
        }
    }
    if (!FFilterDropDownCheck && list->Items()->Count() > 0) list->SetItemIndex(0);
    Integer w = FFilterDropDown->Width, h = FFilterDropDown->Height;
    if (FFilterDropDown->AutoSize) {
        const Integer itemH = std::max(1, cv->TextHeight(L"gh"));
        h = list->Items()->Count() * itemH + 2 * GetSystemMetrics(SM_CYEDGE);
        Integer maxH = Height() - RowHeights(0);
        if (VisibleColCount() + FixedCols() < ColCount()) maxH -= GetSystemMetrics(SM_CYHSCROLL);
        w = widest + 2 * GetSystemMetrics(SM_CXEDGE);
        if (h > maxH) {
            // Clipped: room for the vertical scroll bar.
            h = std::max(0, maxH);
            w += GetSystemMetrics(SM_CXVSCROLL);
        }
    }
    const TRect cell = CellRect(ACol, ARow);
    Integer left = cell.Right - 16;
    if (FFilterDropDown->ColumnWidth) {
        w = cell.Width();
        left = cell.Left;
    }
    bool allow = true;
    FilterShow(ACol, allow);
    if (!allow) return;
    if (left + w > Width()) left = std::max(0, CellRect(ACol, 0).Right - w);
    list->SetBounds(left, cell.Top + 16, w, h);
    list->SetParent(this);
    list->SetVisible(true);
    if (list->CanFocus()) list->SetFocus();
}

void TVodStringGrid::PrepareCellHint(String& HintStr, THintInfo& HintInfo)
{
    Integer ACol = -1, ARow = -1;
    MouseToCell(HintInfo.CursorPos.X, HintInfo.CursorPos.Y, ACol, ARow);
    if (FControlLook->HintMaxWidth() > 0) HintInfo.HintMaxWidth = FControlLook->HintMaxWidth();
    GridUnit().HintFontName = Font()->Name();
    TPoint pos = HintInfo.CursorPos;
    if (ACol >= 0 && ARow >= 0) {
        const Integer rc = RealColIndex(ACol);
        const TPoint b = BaseCell(rc, ARow);
        FLastHintPos = b;
        const TRect cr = CellRect(RealToDisplColumn(b.X), b.Y);
        String comment;
        if (IsComment(b.X, b.Y, comment))
            pos = TPoint{cr.Right, cr.Top};
        else
            pos = TPoint{HintInfo.CursorPos.X, cr.Bottom + 6};
        const String raw = GetCellEx(b.X, b.Y);
        const bool markup = IsMarkupText(raw);
        if (markup && AnchorHint()) {
            TMarkupParams p;
            p.Canvas = Canvas();
            p.Text = raw;
            p.Rect = cr;
            p.XPos = HintInfo.CursorPos.X;
            p.YPos = HintInfo.CursorPos.Y;
            p.CheckOnly = true;
            if (VurHTMLE::RenderMarkup(p) && !p.AnchorVal.empty()) {
                String a = p.AnchorTitle.empty() ? p.AnchorVal : p.AnchorTitle;
                if (OnAnchorHint) OnAnchorHint(this, ARow, ACol, a);
                FLastAnchorHint = a;
                HintStr = a;
                pos = TPoint{HintInfo.CursorPos.X + 8, HintInfo.CursorPos.Y - 16};
            }
        }
        const bool dataCell = ACol >= FixedCols() && ARow >= FixedRows() && ACol < ColCount() - FFixedRightCols &&
                              ARow < RowCount() - FFixedFooters;
        String stripped;
        VurHTMLE::StripMarkup(raw, stripped);
        if (FHintShowCells && dataCell) {
            HintStr = FHTMLHint ? raw : stripped;
            pos = TPoint{HintInfo.CursorPos.X, cr.Top};
        }
        if (FHintShowLargeText) {
            Canvas()->Font()->Assign(GetCellFont(b.X, b.Y));
            const Integer tw = Canvas()->TextWidth(markup ? stripped : raw);
            if (tw > cr.Width() - 4) {
                if (FHintShowLargeTextPos != hpMouse) pos = TPoint{cr.Left, cr.Top};
                HintStr = (FHTMLHint || !markup) ? raw : stripped;
            }
        }
        const bool footerRow = FFloatingFooter->Visible() && ARow == RowCount() - 1;
        if (!footerRow) {
            String wide;
            GridHint(ACol, ARow, HintStr, wide);
        }
        if (IsMarkupText(HintStr) && FUseInternalHintClass) HintInfo.HintData = this;
    }
    HintInfo.HintPos = ClientToScreen(pos);
    HintInfo.HintColor = FHintColor;
}

String TVodStringGrid::GetEditText(Integer ACol, Integer ARow)
{
    FNoEditChange = true;
    const TPoint b = BaseCell(RealColIndex(ACol), ARow);
    String s = TBaseGrid::GetEditText(b.X, b.Y);
    FNoEditChange = false;
    if (!FEditWithTags && IsMarkupText(s)) {
        String plain;
        VurHTMLE::StripMarkup(s, plain);
        return plain;
    }
    return s;
}

void TVodStringGrid::SetEditText(Integer ACol, Integer ARow, const String& Value)
{
    const TPoint b = BaseCell(RealColIndex(ACol), ARow);
    TBaseGrid::SetEditText(b.X, b.Y, Value);
}
