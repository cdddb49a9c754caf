// The filter drop-downs of the header (plain list and check list), the
// no-activate popup, the header editors that validate what is typed into
// fixed cells, and what a pick in a list does to the filter conditions.
#include "controls/grid/GridHoverForm.h"
#include "controls/grid/VodGrid.h"
#include "controls/grid/editors/GridEditors.h"
#include "platform/base/SysUtils.h"
#include "platform/ui/StdCtrls_Edit.h"
#include "platform/ui/Windows.h"

namespace {

// The part before the first tab, or the whole text.
String FriendlyPart(const String& V)
{
    const size_t p = V.find(L'\t');
    return p == String::npos ? V : V.substr(0, p);
}

// The pointer in a control's client coordinates.
TPoint CursorIn(TControl* C)
{
    TPoint p{0, 0};
    GetCursorPos(&p);
    return C->ScreenToClient(p);
}

}  // namespace

// ---------------------------------------------------------------------------
// The lists

void TDropList::KeyDown(Word& Key, TShiftState Shift)
{
    if (Key == VK_RETURN) {
        SetVisible(false);
        if (OnSelect) OnSelect(this, ItemIndex());
        Key = 0;
        return;
    }
    if (Key == VK_ESCAPE) {
        SetVisible(false);
        if (OnClose) OnClose(this);
        Key = 0;
        return;
    }
    TListBox::KeyDown(Key, Shift);
}

void TDropList::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y)
{
    TListBox::MouseUp(Button, Shift, X, Y);
    SetVisible(false);
    if (OnSelect) OnSelect(this, ItemIndex());
}

void TDropList::Dispatch(TMessage& Message)
{
    if (Message.Msg == WM_CANCELMODE && Visible()) {
        // The header cell just above the list counts as inside.
        const TPoint p = CursorIn(this);
        if (!(p.X >= 0 && p.X < Width() && p.Y >= -20 && p.Y < Height())) {
            if (auto* g = dynamic_cast<TVodStringGrid*>(Parent())) g->FilterDropDownCancelled();
            SetVisible(false);
        }
    }
    TListBox::Dispatch(Message);
}

void TDropCheckList::KeyDown(Word& Key, TShiftState Shift)
{
    if (Key == VK_ESCAPE) {
        SetVisible(false);
        if (OnClose) OnClose(this);
        Key = 0;
        return;
    }
    TCheckListBox::KeyDown(Key, Shift);
}

void TDropCheckList::ClickCheck()
{
    TCheckListBox::ClickCheck();
    if (OnSelect) OnSelect(this, ItemIndex());
}

void TDropCheckList::Dispatch(TMessage& Message)
{
    if (Message.Msg == WM_CANCELMODE && Visible()) {
        const TPoint p = CursorIn(this);
        if (!(p.X >= 0 && p.X < Width() && p.Y >= 0 && p.Y < Height())) {
            if (auto* g = dynamic_cast<TVodStringGrid*>(Parent())) g->FilterDropDownCancelled();
            SetVisible(false);
        }
    }
    TCheckListBox::Dispatch(Message);
}

// ---------------------------------------------------------------------------
// The no-activate popup

void TNoActiveForm::CreateParams(TCreateParams& Params)
{
    TForm::CreateParams(Params);
    Params.Style = WS_POPUP;
    if (!FEnabled) Params.Style |= WS_DISABLED | WS_BORDER;
    Params.WindowClass.style |= CS_SAVEBITS;
}

void TNoActiveForm::Dispatch(TMessage& Message)
{
    if (Message.Msg == WM_MOUSEACTIVATE) {
        Message.Result = MA_NOACTIVATE;
        return;
    }
    if (Message.Msg == WM_ACTIVATE) {
        TForm::Dispatch(Message);
        Message.Result = 1;
        return;
    }
    TForm::Dispatch(Message);
}

// ---------------------------------------------------------------------------
// The header editors

namespace {

// Valid unless the grid's OnCellValidate refuses; a valid text is written
// through merged-cell redirection.
bool ValidateAndStore(TVodStringGrid* G, Integer ACol, Integer ARow, String& T)
{
    bool valid = true;
    if (G->OnCellValidate) G->OnCellValidate(G, ACol, ARow, T, valid);
    if (!valid) return false;
    if (G->OnEditingDone) G->OnEditingDone(G);
    G->SetCellEx(ACol, ARow, T);
    return true;
}

int BalloonIcon(TInvalidEntryIcon I)
{
    switch (I) {
    case ieInfo: return TTI_INFO;
    case ieWarning: return TTI_WARNING;
    case ieError: return TTI_ERROR;
    default: return TTI_NONE;
    }
}

void ShowRefusal(TVodStringGrid* G, TWinControl* Editor, HWND EditWindow, bool Balloon, Integer ACol, Integer ARow)
{
    if (Balloon && (!G->InvalidEntryText().empty() || !G->InvalidEntryTitle().empty()) && EditWindow) {
        const String title = G->InvalidEntryTitle(), text = G->InvalidEntryText();
        EDITBALLOONTIP tip;
        tip.pszTitle = title.c_str();
        tip.pszText = text.c_str();
        tip.ttiIcon = BalloonIcon(G->InvalidEntryIcon());
        SendMessage(EditWindow, EM_SHOWBALLOONTIP, 0, reinterpret_cast<LPARAM>(&tip));
    }
    G->FocusEditorCell(ACol, ARow);
    if (Editor->CanFocus()) Editor->SetFocus();
}

}  // namespace

bool TGridTransEdit::StopEdit()
{
    auto* g = dynamic_cast<TVodStringGrid*>(Owner());
    if (!g) {
        SetVisible(false);
        return true;
    }
    String t = Text();
    if (ValidateAndStore(g, FCol, FRow, t)) {
        // The filter edit row's condition for the column is applied by the
        // rendering family (ApplyFilterEditValue keeping the column's kind);
        // until it lands the typed text stays in the cell.
        SetVisible(false);
        return true;
    }
    ShowRefusal(g, this, HandleAllocated() ? Handle() : nullptr, true, FCol, FRow);
    return false;
}

void TGridTransEdit::KeyDown(Word& Key, TShiftState Shift)
{
    if (Key == VK_RETURN) {
        Key = 0;
        StopEdit();
        return;
    }
    TEdit::KeyDown(Key, Shift);
}

void TGridTransEdit::DoExit()
{
    TEdit::DoExit();
    if (Visible()) StopEdit();
}

bool TGridTransCombo::StopEdit()
{
    auto* g = dynamic_cast<TVodStringGrid*>(Owner());
    if (!g) {
        SetVisible(false);
        return true;
    }
    String t = Text();
    if (ValidateAndStore(g, FCol, FRow, t)) {
        SetVisible(false);
        return true;
    }
    // The balloon goes on the edit part; a drop-down list has none.
    HWND edit = nullptr;
    if (Style() != csDropDownList && HandleAllocated()) {
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        if (SendMessage(Handle(), CB_GETCOMBOBOXINFO, 0, reinterpret_cast<LPARAM>(&info))) edit = info.hwndItem;
    }
    ShowRefusal(g, this, edit, Style() != csDropDownList, FCol, FRow);
    return false;
}

void TGridTransCombo::KeyDown(Word& Key, TShiftState Shift)
{
    if (Key == VK_RETURN) {
        Key = 0;
        return;
    }
    TComboBox::KeyDown(Key, Shift);
}

void TGridTransCombo::DoExit()
{
    TComboBox::DoExit();
    if (Visible()) StopEdit();
}

Integer TGridTransCombo::DropWidth()
{
    if (!HandleAllocated()) return Width();
    return Integer(SendMessage(Handle(), CB_GETDROPPEDWIDTH, 0, 0));
}

void TGridTransCombo::SetDropWidth(Integer Value)
{
    if (HandleAllocated()) SendMessage(Handle(), CB_SETDROPPEDWIDTH, WPARAM(Value), 0);
}

void TGridTransCombo::SizeDropDownWidth()
{
    auto* g = dynamic_cast<TVodStringGrid*>(Owner());
    Integer w = Width();
    const bool scroll = Items()->Count() > DropDownCount();
    for (Integer i = 0; i < Items()->Count(); ++i) {
        const Integer cx = g ? g->Canvas()->TextWidth(Items()->Strings(i)) : 0;
        if (scroll) {
            if (w - 25 < cx) w = cx + 25;
        } else if (w - 5 < cx)
            w = cx + 8;
    }
    SetDropWidth(w);
}

// ---------------------------------------------------------------------------
// The grid's side

void TVodStringGrid::SetFilterDropDownAuto(bool Value)
{
    FFilterDropDownAuto = Value;
    if (Value)
        FFixedRowAlways = true;
    else
        FFilterList->Clear();
    Invalidate();
}

void TVodStringGrid::SetFilterDropDownRow(Integer Value)
{
    if (Value >= FixedRows() || Value < 0) return;
    FFilterDropDownRow = Value;
    Invalidate();
}

void TVodStringGrid::FilterDropDownCancelled()
{
    FilterClose(FFilterCol);
    FFilterCol = -1;
}

bool TVodStringGrid::ShowFilterDropDown(Integer ACol)
{
    if (ACol < 0 || ACol >= TotalColCount()) return false;
    bool allow = true;
    FilterShow(ACol, allow);
    if (!allow || !BuildColumnFilterList(ACol, false, false) || FFilterList->Count() == 0) return false;
    FFilterCol = ACol;
    const TRect cell = CellRect(ACol, FFilterDropDownRow);
    Integer w = FFilterDropDown->ColumnWidth ? cell.Width() : FFilterDropDown->Width;
    if (FFilterDropDown->AutoSize)
        for (Integer i = 0; i < FFilterList->Count(); ++i)
            w = std::max(w, Canvas()->TextWidth(FriendlyPart(FFilterList->Strings(i))) + 24);
    TCustomListBox* list = FFilterDropDownCheck ? static_cast<TCustomListBox*>(FDropCheckList)
                                                : static_cast<TCustomListBox*>(FDropList);
    list->Items()->Clear();
    for (Integer i = 0; i < FFilterList->Count(); ++i) list->Items()->Add(FriendlyPart(FFilterList->Strings(i)));
    if (FFilterDropDownCheck) {
        // The values of the column's present condition come back checked.
        String cond;
        for (Integer i = 0; i < FFilter->Count(); ++i)
            if (FFilter->Items(i)->Column == ACol) cond = L"|" + FFilter->Items(i)->Condition + L"|";
        for (Integer i = 0; i < FFilterList->Count(); ++i) {
            const String v = FFilterList->Strings(i);
            const size_t tab = v.find(L'\t');
            const String c = tab == String::npos ? v : v.substr(tab + 1);
            FDropCheckList->SetChecked(i, !cond.empty() && (cond.find(L"|" + c + L"|") != String::npos ||
                                                            cond.find(L"|\"" + c + L"\"|") != String::npos));
        }
    }
    list->SetColor(FFilterDropDown->Color);
    list->SetBounds(cell.Left, cell.Bottom, w, FFilterDropDown->Height);
    list->SetVisible(true);
    list->BringToFront();
    if (list->CanFocus()) list->SetFocus();
    return true;
}

void TVodStringGrid::FilterListSelect(Integer Index)
{
    FocusGrid();
    if (FFilterCol < 0 || FFilterCol >= TotalColCount() || Index < 0 || Index >= FFilterList->Count()) {
        FFilterCol = -1;
        return;
    }
    BuildColumnFilterList(FFilterCol, false, false);
    if (Index >= FFilterList->Count()) {
        FFilterCol = -1;
        return;
    }
    String v = FFilterList->Strings(Index);
    const String friendly = FriendlyPart(v);
    const Integer r0 = FixedRows();
    if (RowCount() > r0 + 1 && GetCellType(FFilterCol, r0) == ctDataCheckBox &&
        GetCellType(FFilterCol, r0 + 1) == ctDataCheckBox) {
        if (v == FFilterDropDown->TextChecked)
            v = GetCheckTrueText(FFilterCol);
        else if (v == FFilterDropDown->TextUnChecked)
            v = GetCheckFalseText(FFilterCol);
    }
    if (FAutoFilterUpdate) SetFilterActive(false);
    const size_t tab = v.find(L'\t');
    if (tab != String::npos)
        v = v.substr(tab + 1);
    else if (v == FFilterDropDownClear)
        v.clear();
    else if (v.find(L'&') != String::npos && !(v.size() > 0 && v[0] == L'"'))
        v = L"\"" + v + L"\"";
    if (OnFilterSelect) OnFilterSelect(this, FFilterCol, Index, friendly, v);
    if (!FFilterDropDownMultiCol) FFilter->Clear();
    if (!v.empty()) {
        TFilterData* f = FFilter->GetColFilter(FFilterCol);
        f->FriendlyName = friendly;
        f->Condition = v;
    } else
        FFilter->RemoveColumnFilter(FFilterCol);
    if (FAutoFilterUpdate) {
        FFixedRowAlways = true;
        SetFilterActive(true);
        if (RowCount() > FixedRows()) SetRow(FixedRows());
        FilterDone();
    }
    FFilterCol = -1;
}

void TVodStringGrid::FilterCheckListApply(Integer Index)
{
    TCheckListBox* list = FDropCheckList;
    if (!list || Index < 0 || Index >= list->Items()->Count() || FFilterCol < 0 || FFilterCol >= TotalColCount())
        return;
    BuildColumnFilterList(FFilterCol, false, false);
    if (FAutoFilterUpdate) SetFilterActive(false);
    if (FFilterDropDownMultiCol)
        FFilter->RemoveColumnFilter(FFilterCol);
    else
        FFilter->Clear();

    const Integer n = list->Items()->Count();
    const bool checkAll = !FFilterDropDownCheckUnCheckAll.empty();
    bool allChecked = false;
    if (FFilterDropDownAuto) {
        if (checkAll && Index > 0 && !list->Checked(Index)) list->SetChecked(0, false);
        allChecked = true;
        for (Integer i = checkAll ? 1 : 0; i < n; ++i)
            if (!list->Checked(i)) allChecked = false;
    }
    if (list->ItemIndex() == 0 && checkAll && list->Items()->Strings(Index) == FFilterDropDownCheckUnCheckAll) {
        const bool state = list->Checked(0);
        for (Integer i = 1; i < n; ++i) list->SetChecked(i, state);
    }
    if (OnFilterCheckClick) OnFilterCheckClick(this, FFilterCol, Index, list->Checked(Index), list);

    if (!allChecked) {
        String cond, names;
        for (Integer i = 0; i < n; ++i) {
            if (!list->Checked(i)) continue;
            if (i >= FFilterList->Count() && !FFilterIncremental) continue;
            String v = FFilterIncremental ? list->Items()->Strings(i) : FFilterList->Strings(i);
            const String friendly = FriendlyPart(v);
            if (v.empty() || v == L" ") v = L"\"\"";
            const size_t tab = v.find(L'\t');
            if (tab != String::npos)
                v = v.substr(tab + 1);
            else if (v.find_first_of(L"&() ") != String::npos)
                v = L"\"" + v + L"\"";
            if (v == FFilterDropDownClear || (checkAll && v == FFilterDropDownCheckUnCheckAll)) v.clear();
            if (OnFilterCheck) OnFilterCheck(this, FFilterCol, i, friendly, v, list);
            if (v.empty()) continue;
            cond += cond.empty() ? v : L"|" + v;
            names += names.empty() ? friendly : L"|" + friendly;
        }
        if (!cond.empty()) {
            TFilterData* f = FFilter->Add();
            f->FriendlyName = names;
            f->Condition = cond;
            f->Column = SmallInt(FFilterCol);
            f->CaseSensitive = FFilterDropDown->CaseSensitive;
            if (cond.find(L"</") != String::npos) f->Method = fmLiteral;
            f->Operation = FFilter->Count() == 1 ? foNONE : foAND;
        }
        SetFilterActive(FFilter->Count() > 0);
        FilterDone();
    }
    list->Invalidate();
}
