// The grid's flags per row and per column beside its rectangular selection:
// selection flags for disjunct row and column selection (with their events),
// modified rows and enabled rows; moving to, focusing and editing a cell,
// exchanging two cells and the distinct values of a column.
#include <algorithm>
#include <memory>

#include "controls/grid/VodGrid.h"
#include "platform/base/Lists.h"
#include "platform/base/SysUtils.h"

namespace {

bool FlagOf(const TList& L, Integer i) { return i >= 0 && i < L.Count() && L.Items(i) != nullptr; }

// A set flag is any non-nil item; the list's own address serves as one.
void StoreFlag(TList& L, Integer i, bool v)
{
    while (L.Count() <= i) L.Add(nullptr);
    L.SetItems(i, v ? static_cast<void*>(&L) : nullptr);
}

}  // namespace

// ---------------------------------------------------------------------------
// Row selection flags

bool TVodStringGrid::GetRowSelect(Integer ARow) const
{
    if (!MouseActions()->RowSelectPersistent() && (ARow < 0 || ARow >= RowCount() + NumHiddenRows()))
        throw EVodGridError(L"Invalid row " + IntToStr(ARow) + L" accessed");
    if (MouseActions()->DisjunctRowSelect()) return FlagOf(*FRowSelect, ARow);
    const TGridRect s = Selection();
    return ARow >= std::min(s.Top, s.Bottom) && ARow <= std::max(s.Top, s.Bottom);
}

void TVodStringGrid::SetRowSelect(Integer ARow, bool Value)
{
    FRowSelMod = false;
    const bool normalRows = RowCount() - FFixedFooters > FixedRows();
    if (ARow < 0 || (normalRows && ARow >= RowCount() + NumHiddenRows())) throw EVodGridError(L"Invalid row accessed");
    const bool was = FlagOf(*FRowSelect, ARow);
    const bool change = was != Value;
    if (change && OnRowDisjunctSelect) {
        bool allow = true;
        OnRowDisjunctSelect(this, ARow, Value, allow);
        if (!allow) return;
    }
    if (Value) {
        if (!was) RepaintRow(ARow);
        FRowSelMod = !was;
        StoreFlag(*FRowSelect, ARow, true);
        if (ARow >= FixedRows() && !FSelectedRows->HasValue(ARow)) FSelectedRows->Add(ARow);
    } else {
        if (was) RepaintRow(ARow);
        FRowSelMod = was;
        StoreFlag(*FRowSelect, ARow, false);
        FSelectedRows->DeleteValue(ARow);
    }
    if (ARow == Row() && MouseActions()->DisjunctRowSelect() && !FBlockCellChange && OnSelectionChanged)
        OnSelectionChanged(this, 0, ARow, ColCount() - 1, ARow);
    if (change && OnRowDisjunctSelected) OnRowDisjunctSelected(this, ARow);
}

Integer TVodStringGrid::RowSelectCount() const
{
    if (MouseActions()->DisjunctRowSelect()) {
        Integer n = 0;
        const Integer last = std::min(FRowSelect->Count(), RowCount() + NumHiddenRows());
        for (Integer i = 0; i < last; ++i)
            if (FRowSelect->Items(i)) ++n;
        return n;
    }
    if (!Options().Contains(goRowSelect)) return 0;
    const TGridRect s = Selection();
    return std::abs(s.Bottom - s.Top) + 1;
}

void TVodStringGrid::SelectRows(Integer RowIndex, Integer RCount)
{
    RCount = std::min(RCount, RowCount() - RowIndex);
    if (RCount > 0) {
        if (!MouseActions()->DisjunctRowSelect()) {
            SetSelection(TGridRect{FixedCols(), RowIndex, ColCount() - 1, RowIndex + RCount - 1});
        } else {
            for (Integer r = RowIndex; r < RowIndex + RCount; ++r) {
                const Integer idx = MouseActions()->RowSelectPersistent() ? RealRowIndex(r) : r;
                if (idx < RowCount()) SetRowSelect(idx, true);
            }
        }
    }
    if (FRowIndicator && !FRowIndicator->Empty()) RepaintCol(0);
    FSelChange = false;
}

void TVodStringGrid::UnSelectRows(Integer RowIndex, Integer RCount)
{
    if (MouseActions()->DisjunctRowSelect()) {
        for (Integer r = RowIndex; r < RowIndex + RCount; ++r) {
            const Integer idx = MouseActions()->RowSelectPersistent() ? RealRowIndex(r) : r;
            if (idx >= 0 && idx < RowCount()) SetRowSelect(idx, false);
        }
    }
    FSelChange = false;
}

void TVodStringGrid::ClearRowSelect()
{
    ResetRowSelection();
    if (!MouseActions()->DisjunctRowSelect()) HideSelection();
}

void TVodStringGrid::ResetRowSelection()
{
    for (Integer i = 0; i < FRowSelect->Count(); ++i) {
        if (!FRowSelect->Items(i)) continue;
        RepaintRow(i);
        FRowSelect->SetItems(i, nullptr);
        if (OnRowDisjunctSelected) OnRowDisjunctSelected(this, i);
    }
    FSelectedRows->Clear();
}

bool TVodStringGrid::SyncRowSelectFromSelection(bool All)
{
    const TGridRect s = Selection();
    if (s.Top == FDisSelection.Top) return false;
    const Integer top = std::min(s.Top, s.Bottom);
    const Integer bottom = std::min(std::max(s.Top, s.Bottom), RowCount() - FFixedFooters - 1);
    bool changed = false;
    for (Integer r = FixedRows(); r < RowCount(); ++r) {
        const bool within = r >= top && r <= bottom;
        if (!within && !All) continue;
        SetRowSelect(MouseActions()->RowSelectPersistent() ? RealRowIndex(r) : r, within);
        changed = changed || FRowSelMod;
    }
    if (NumHiddenRows() > 0) Invalidate();
    FDisSelection = s;
    return changed;
}

// ---------------------------------------------------------------------------
// Column selection flags

bool TVodStringGrid::GetColSelect(Integer ACol) const
{
    if (ACol < 0 || ACol >= ColCount() + NumHiddenColumns()) throw EVodGridError(L"Invalid column accessed");
    return FlagOf(*FColSelect, ACol);
}

void TVodStringGrid::SetColSelect(Integer ACol, bool Value)
{
    if (ACol < 0 || ACol >= ColCount()) throw EVodGridError(L"Invalid column accessed");
    const bool was = FlagOf(*FColSelect, ACol);
    const bool change = was != Value;
    if (change && OnColDisjunctSelect) {
        bool allow = true;
        OnColDisjunctSelect(this, ACol, Value, allow);
        if (!allow) return;
    }
    StoreFlag(*FColSelect, ACol, Value);
    if (change) {
        RepaintCol(ACol);
        if (OnColDisjunctSelected) OnColDisjunctSelected(this, ACol);
    }
}

Integer TVodStringGrid::ColSelectCount() const
{
    if (MouseActions()->DisjunctColSelect()) {
        Integer n = 0;
        for (Integer i = 0; i < FColSelect->Count(); ++i)
            if (FColSelect->Items(i)) ++n;
        return n;
    }
    const TGridRect s = Selection();
    return std::abs(s.Right - s.Left) + 1;
}

void TVodStringGrid::SelectCols(Integer ColIndex, Integer CCount)
{
    if (CCount <= 0) return;
    if (!MouseActions()->DisjunctColSelect()) {
        SetSelection(TGridRect{ColIndex, FixedRows(), ColIndex + CCount - 1, RowCount() - 1});
        return;
    }
    for (Integer c = ColIndex; c < ColIndex + CCount && c < ColCount(); ++c)
        if (c >= 0) SetColSelect(c, true);
}

void TVodStringGrid::UnSelectCols(Integer ColIndex, Integer CCount)
{
    if (!MouseActions()->DisjunctColSelect()) return;
    for (Integer c = ColIndex; c < ColIndex + CCount && c < ColCount(); ++c)
        if (c >= 0) SetColSelect(c, false);
}

void TVodStringGrid::ClearColSelect()
{
    for (Integer i = 0; i < FColSelect->Count(); ++i) {
        if (!FColSelect->Items(i)) continue;
        RepaintCol(i);
        FColSelect->SetItems(i, nullptr);
        if (OnColDisjunctSelected) OnColDisjunctSelected(this, i);
    }
}

void TVodStringGrid::SyncColSelectFromSelection(bool All)
{
    const TGridRect s = Selection();
    const Integer left = std::min(s.Left, s.Right), right = std::max(s.Left, s.Right);
    for (Integer c = FixedCols(); c < ColCount(); ++c) {
        const bool within = c >= left && c <= right;
        if (All || within) SetColSelect(c, within);
    }
}

void TVodStringGrid::SelectRange(Integer FromCol, Integer ToCol, Integer FromRow, Integer ToRow)
{
    FocusCell(ToCol, ToRow, true);
    SetSelection(TGridRect{FromCol, FromRow, ToCol, ToRow});
}

// ---------------------------------------------------------------------------
// Modified and enabled rows

bool TVodStringGrid::GetRowModified(Integer ARow) const
{
    return ARow >= 0 && ARow < FModifiedRows->Count() && FModifiedRows->GetInteger(ARow) == 1;
}

void TVodStringGrid::SetRowModified(Integer ARow, bool Value)
{
    if (ARow < 0) return;
    while (FModifiedRows->Count() <= ARow) FModifiedRows->Add(0);
    FModifiedRows->SetInteger(ARow, Value ? 1 : 0);
    RepaintCell(0, DisplRowIndex(ARow));
}

Integer TVodStringGrid::ModifiedRowCount() const
{
    Integer n = 0;
    for (Integer i = 0; i < FModifiedRows->Count(); ++i)
        if (FModifiedRows->GetInteger(i) == 1) ++n;
    return n;
}

bool TVodStringGrid::GetRowEnabled(Integer ARow) const
{
    return !(ARow >= 0 && ARow < FEnabledRows->Count() && FEnabledRows->GetInteger(ARow) == 1);
}

void TVodStringGrid::SetRowEnabled(Integer ARow, bool Value)
{
    if (ARow < 0) return;
    // A disabled row cannot stay the current one: the first other enabled
    // row takes its place (none: it stays).
    if (!Value && ARow == Row())
        for (Integer r = FixedRows(); r < RowCount(); ++r)
            if (r != ARow && GetRowEnabled(r)) {
                SetRow(r);
                break;
            }
    FUseEnabledRows = true;
    while (FEnabledRows->Count() <= ARow) FEnabledRows->Add(0);
    FEnabledRows->SetInteger(ARow, Value ? 0 : 1);
    RepaintRow(ARow);
}

// ---------------------------------------------------------------------------
// Navigation

void TVodStringGrid::GotoCell(Integer ACol, Integer ARow)
{
    SetRow(ARow);
    SetCol(ACol);
}

void TVodStringGrid::EditCell(Integer ACol, Integer ARow)
{
    if (CanFocus()) SetFocus();
    GotoCell(ACol, ARow);
    ShowInplaceEdit();
}

void TVodStringGrid::FocusCell(Integer ACol, Integer ARow) { SetSelection(TGridRect{ACol, ARow, ACol, ARow}); }

void TVodStringGrid::MoveToCell(Integer ACol, Integer ARow) { MoveColRow(ACol, ARow, true, true); }

void TVodStringGrid::SwapCells(TGridCoord FromCell, TGridCoord ToCell)
{
    if (FromCell.X < 0 || FromCell.Y < 0 || ToCell.X < 0 || ToCell.Y < 0) return;
    TObject* fromObj = GetCellObjectDirect(FromCell.X, FromCell.Y);
    TObject* toObj = GetCellObjectDirect(ToCell.X, ToCell.Y);
    const String fromText = GetGridCell(FromCell.X, FromCell.Y);
    const String toText = GetGridCell(ToCell.X, ToCell.Y);
    SetGridCell(FromCell.X, FromCell.Y, toText);
    SetGridCell(ToCell.X, ToCell.Y, fromText);
    SetCellObjectDirect(FromCell.X, FromCell.Y, toObj);
    SetCellObjectDirect(ToCell.X, ToCell.Y, fromObj);
}

TStrings* TVodStringGrid::DistinctValues(Integer ACol, bool CaseSensitive)
{
    auto result = std::make_unique<TStringList>();
    // With CaseSensitive both lists compare with case, so that values that
    // differ only in case stay apart.
    result->SetCaseSensitive(CaseSensitive);
    result->SetDuplicates(dupIgnore);
    result->SetSorted(true);
    TStringList keys;
    keys.SetCaseSensitive(CaseSensitive);
    keys.SetSorted(true);
    auto offer = [&](const String& s) {
        const String key = CaseSensitive ? s : UpperCase(s);
        Integer at = 0;
        if (keys.Find(key, at)) return;
        keys.Add(key);
        result->Add(s);
    };
    // The text as the grid saves it; the save hook comes with the cell
    // save, load and export family.
    for (Integer r = FixedRows(); r <= RowCount() - FFixedFooters - 1; ++r) offer(GetCellEx(ACol, r));
    for (Integer i = 0; i < NumHiddenRows(); ++i) {
        TStrings* items = GridItem(i)->Items();
        if (ACol >= 0 && ACol < items->Count()) offer(Trim(items->Strings(ACol)));
    }
    return result.release();
}

void TVodStringGrid::BottomReached() {}
