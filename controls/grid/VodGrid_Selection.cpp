// The grid's selection side that is not mouse handling: the disjunct cell
// selection, the counts of selected cells, rows and columns, parking the
// selection outside the grid, the selection listener, the change notifiers
// and the announcement of changed cells; the combo editor's item list.
#include <algorithm>

#include "controls/grid/VodGrid.h"
#include "controls/grid/GridFooter.h"
#include "controls/grid/editors/GridEditors.h"
#include "controls/grid/editors/EditLink.h"
#include "controls/grid/vurcheck.h"
#include "controls/markup/PictureContainer.h"

// ---------------------------------------------------------------------------
// Disjunct cells

bool TVodStringGrid::SelectedCells(Integer i, Integer j) const
{
    if (MouseActions()->DisjunctCellSelect())
        return std::find(FSelectedCells.begin(), FSelectedCells.end(), TGridCoord{i, j}) != FSelectedCells.end();
    const TGridRect s = Selection();
    return i >= std::min(s.Left, s.Right) && i <= std::max(s.Left, s.Right) && j >= std::min(s.Top, s.Bottom) &&
           j <= std::max(s.Top, s.Bottom);
}

void TVodStringGrid::SetSelectedCells(Integer i, Integer j, bool Value)
{
    auto it = std::find(FSelectedCells.begin(), FSelectedCells.end(), TGridCoord{i, j});
    if (Value == (it != FSelectedCells.end())) return;
    if (Value)
        FSelectedCells.push_back({i, j});
    else
        FSelectedCells.erase(it);
    RepaintCell(i, j);
}

Integer TVodStringGrid::SelectedCellsCount()
{
    if (!MouseActions()->DisjunctCellSelect()) {
        FSelectedCells.clear();
        const TGridRect s = Selection();
        if (s.Left == s.Right && s.Top == s.Bottom) {
            FSelectedCells.push_back({Col(), Row()});
        } else {
            for (Integer c = s.Left; c <= s.Right; ++c)
                for (Integer r = s.Top; r <= s.Bottom; ++r) FSelectedCells.push_back({c, r});
        }
    }
    return Integer(FSelectedCells.size());
}

TGridCoord TVodStringGrid::GetSelectedCell(Integer i) const
{
    if (i < 0 || i >= Integer(FSelectedCells.size())) return {-1, -1};
    return FSelectedCells[i];
}

void TVodStringGrid::ClearSelectedCells()
{
    SetSelection({FixedCols(), FixedRows(), FixedCols(), FixedRows()});
    FSelectedCells.clear();
    Invalidate();
}

// ---------------------------------------------------------------------------
// Counts of the rectangular selection

Integer TVodStringGrid::SelectedColCount() const
{
    if (MouseActions()->DisjunctColSelect()) return FDisjunctColList->Count();
    const TGridRect s = Selection();
    const Integer w = std::abs(s.Left - s.Right) + 1;
    if (IsMergedCell(s.Left, s.Top)) {
        const Integer span = CellSpan(s.Left, s.Top).X;
        return s.Left + span > s.Right ? span + 1 : w;
    }
    if (IsMergedCell(s.Right, s.Top)) return w + CellSpan(s.Right, s.Top).X;
    return w;
}

Integer TVodStringGrid::SelectedRowCount() const
{
    if (MouseActions()->DisjunctRowSelect()) return FSelectedRows->Count();
    TGridRect s = Selection();
    // Fixed footer rows count only while the floating footer does not show
    // the last row.
    const Integer footerTop = RowCount() - FFixedFooters;
    if (FFixedFooters > 0 && s.Bottom >= footerTop && !(FFloatingFooter && FFloatingFooter->Visible()))
        s.Bottom = footerTop - 1;
    const Integer h0 = std::abs(s.Top - s.Bottom) + 1;
    if (IsMergedCell(s.Left, s.Top)) {
        const Integer span = CellSpan(s.Left, s.Top).Y;
        return s.Top + span > s.Bottom ? span + 1 : h0;
    }
    if (IsMergedCell(s.Left, s.Bottom)) return h0 + CellSpan(s.Left, s.Bottom).Y;
    return h0;
}

Integer TVodStringGrid::GetSelectedRow(Integer i) const
{
    if (i < 0) return -1;
    if (MouseActions()->DisjunctRowSelect()) return i < FSelectedRows->Count() ? FSelectedRows->GetInteger(i) : -1;
    const TGridRect s = Selection();
    const Integer r = std::min(s.Top, s.Bottom) + i;
    return r > std::max(s.Top, s.Bottom) ? -1 : r;
}

// ---------------------------------------------------------------------------
// Parking the selection

void TVodStringGrid::SetSelectionRaw(const TGridRect& R)
{
    // The platform's writer keeps the selection inside the normal cells;
    // parking needs a cell outside the grid.
    FAnchor = {R.Left, R.Top};
    FCurrent = {R.Right, R.Bottom};
    Invalidate();
}

void TVodStringGrid::HideSelection()
{
    FOldSelection = Selection();
    SetSelectionRaw({ColCount(), RowCount(), ColCount(), RowCount()});
    FSelHidden = true;
}

bool TVodStringGrid::IsSelectionHidden() const
{
    return FAnchor.X == ColCount() && FCurrent.X == ColCount() && FAnchor.Y == RowCount() && FCurrent.Y == RowCount();
}

void TVodStringGrid::UnHideSelection()
{
    FSelHidden = false;
    if (FOldSelection.Top >= 0 && FOldSelection.Left >= 0 && FOldSelection.Top < RowCount() &&
        FOldSelection.Left < ColCount()) {
        SetSelection(FOldSelection);
        return;
    }
    const Integer r = FFixedRowAlways && TCustomGrid::FixedRows() >= RowCount() ? 0 : TCustomGrid::FixedRows();
    const Integer c = FFixedColAlways && TCustomGrid::FixedCols() >= ColCount() ? 0 : TCustomGrid::FixedCols();
    SetSelectionRaw({c, r, c, r});
}

void TVodStringGrid::UpdateEditMode() { SelectCell(Col(), Row()); }

// ---------------------------------------------------------------------------
// Listener and notifiers

void TVodStringGrid::RegisterSelListener(ITVodStringGridSelect* AListener) { FISelect = AListener; }

void TVodStringGrid::UnRegisterSelListener(ITVodStringGridSelect*) { FISelect = nullptr; }

void TVodStringGrid::RegisterNotifier(TGridChangeNotifier* ANotifier)
{
    if (!ANotifier) return;
    if (std::find(FNotifierList.begin(), FNotifierList.end(), ANotifier) != FNotifierList.end()) return;
    FNotifierList.push_back(ANotifier);
    // A notifier freed while still registered must not be called again.
    ANotifier->FreeNotification(this);
}

void TVodStringGrid::UnRegisterNotifier(TGridChangeNotifier* ANotifier)
{
    auto it = std::find(FNotifierList.begin(), FNotifierList.end(), ANotifier);
    if (it == FNotifierList.end()) return;
    FNotifierList.erase(it);
    ANotifier->RemoveFreeNotification(this);
}

void TVodStringGrid::CellsChanged(TRect R)
{
    // A notifier may unregister itself while it is told.
    const std::vector<TGridChangeNotifier*> notifiers = FNotifierList;
    for (TGridChangeNotifier* n : notifiers)
        if (std::find(FNotifierList.begin(), FNotifierList.end(), n) != FNotifierList.end()) n->CellsChanged(R);
    if (OnCellsChanged) OnCellsChanged(this, R);
    CalcFooter(-1);
}

// ---------------------------------------------------------------------------
// Other

void TVodStringGrid::ScreenToCell(TPoint pt, Integer& ACol, Integer& ARow)
{
    const TPoint p = ScreenToClient(pt);
    const TGridCoord c = MouseCoord(p.X, p.Y);
    ACol = c.X;
    ARow = c.Y;
}

void InvalidateGridRect(TVodStringGrid* Grid, const TGridRect& R)
{
    if (!Grid || !Grid->HandleAllocated()) return;
    const TRect a = Grid->CellRect(R.Left, R.Top);
    const TRect b = Grid->CellRect(R.Right, R.Bottom);
    TRect u{std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
            std::max(a.Bottom, b.Bottom)};
    InvalidateRect(Grid->Handle(), &u, false);
}

void TVodStringGrid::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == opRemove) {
        if (AComponent == FGridImages) FGridImages = nullptr;
        if (FPictureContainer && AComponent == static_cast<TComponent*>(FPictureContainer)) FPictureContainer = nullptr;
        if (FCellChecker && AComponent == static_cast<TComponent*>(FCellChecker)) FCellChecker = nullptr;
        if (FEditLink && AComponent == static_cast<TComponent*>(FEditLink)) FEditLink = nullptr;
        if (!ComponentState().Contains(csDestroying) && FSyncGrid && FSyncGrid->Grid() &&
            AComponent == static_cast<TComponent*>(FSyncGrid->Grid()))
            FSyncGrid->SetGrid(nullptr);
        // By address: a component being freed is no longer of its class.
        std::erase_if(FNotifierList, [&](TGridChangeNotifier* n) { return static_cast<TComponent*>(n) == AComponent; });
    }
    TBaseGrid::Notification(AComponent, Operation);
}

// ---------------------------------------------------------------------------
// Dialog codes

void TVodStringGrid::HandleGetDlgCode(TMessage& M)
{
    TBaseGrid::Dispatch(M);
    if (Navigation()->AutoGotoWhenSorted() || !Options().Contains(goEditing)) M.Result |= DLGC_WANTCHARS;
    // Ctrl+Tab leaves a grid that takes Tab itself.
    if (Options().Contains(goTabs) && GetKeyState(VK_CONTROL) < 0) M.Result &= ~LRESULT(DLGC_WANTTAB);
}

// ---------------------------------------------------------------------------
// Combo editor item list

TStrings* TVodStringGrid::ComboItems() const { return FComboBox ? FComboBox->Items() : nullptr; }

void TVodStringGrid::ClearComboString()
{
    if (TStrings* s = ComboItems()) s->Clear();
}

void TVodStringGrid::AddComboString(const String& s)
{
    if (TStrings* l = ComboItems()) l->Add(s);
}

void TVodStringGrid::AddComboStringObject(const String& s, TObject* AObject)
{
    if (TStrings* l = ComboItems()) l->AddObject(s, AObject);
}

bool TVodStringGrid::RemoveComboString(const String& s)
{
    TStrings* l = ComboItems();
    if (!l) return false;
    const Integer i = l->IndexOf(s);
    if (i < 0) return false;
    l->Delete(i);
    return true;
}

bool TVodStringGrid::SetComboSelectionString(const String& s)
{
    TStrings* l = ComboItems();
    const Integer i = l ? l->IndexOf(s) : -1;
    if (i < 0) return false;
    FComboIdx = i;
    return true;
}

void TVodStringGrid::SetComboSelection(Integer idx)
{
    FComboIdx = idx;
    FForceComboSel = true;
}

Integer TVodStringGrid::GetComboCount() const
{
    TStrings* l = ComboItems();
    return l ? l->Count() : 0;
}

void TVodStringGrid::SetComboIndex(Integer ACol, Integer ARow, Integer Value)
{
    GetEditorProp(ACol, ARow, nullptr);
    TStrings* l = ComboItems();
    if (!l || Value < 0 || Value >= l->Count()) return;
    SetCellEx(ACol, ARow, l->Strings(Value));
}

Integer TVodStringGrid::GetComboIndex(Integer ACol, Integer ARow)
{
    GetEditorProp(ACol, ARow, nullptr);
    TStrings* l = ComboItems();
    return l ? l->IndexOf(GetCellEx(ACol, ARow)) : -1;
}

void TVodStringGrid::ClearModifiedRows()
{
    FModifiedRows->Clear();
    Invalidate();
}
