// TListView and its columns and items: the items live here and the list
// view window mirrors them while it exists.
#include "platform/ui/ComCtrls.h"

#include <algorithm>

#include "platform/base/Exceptions.h"

namespace {

[[noreturn]] void ListIndexError(Integer index)
{
    throw EListError(L"List index out of bounds (" + std::to_wstring(index) + L")");
}

// Sub-item texts that tell their item when they change.
class TListSubItems : public TStringList {
public:
    TListSubItems() = default;
    std::function<void()> OnAnyChange;

protected:
    void Changed() override
    {
        TStringList::Changed();
        if (OnAnyChange) OnAnyChange();
    }
};

}  // namespace

// ---------------------------------------------------------------------------
// TListColumn / TListColumns

TListColumn::TListColumn(TCollection* Collection) : TCollectionItem(Collection) {}

TCustomListView* TListColumn::ListView() const
{
    auto* cols = static_cast<TListColumns*>(Collection());
    return cols ? cols->Owner() : nullptr;
}

void TListColumn::SetCaption(const String& v)
{
    if (FCaption == v) return;
    FCaption = v;
    Changed(false);
}

Integer TListColumn::Width() const
{
    TCustomListView* lv = ListView();
    if (lv && lv->Mirrors()) return Integer(SendMessage(lv->FHandle, LVM_GETCOLUMNWIDTH, WPARAM(Index()), 0));
    return FWidth;
}

void TListColumn::SetWidth(Integer v)
{
    FWidth = v;
    Changed(false);
}

void TListColumn::SetAlignment(TAlignment v)
{
    if (FAlignment == v) return;
    FAlignment = v;
    Changed(false);
}

void TListColumn::Assign(TPersistent* Source)
{
    if (auto* c = dynamic_cast<TListColumn*>(Source)) {
        FCaption = c->FCaption;
        FWidth = c->Width();
        FAlignment = c->FAlignment;
        Changed(false);
        return;
    }
    TCollectionItem::Assign(Source);
}

TListColumns::TListColumns(TCustomListView* AOwner)
    : TOwnedCollection(AOwner, CollectionItemClass<TListColumn>()), FListView(AOwner)
{
}

TListColumn* TListColumns::Add()
{
    // The window learns of the column once it is fully built.
    ++FAdding;
    TListColumn* c = static_cast<TListColumn*>(TCollection::Add());
    --FAdding;
    Update(nullptr);
    return c;
}

TListColumn* TListColumns::Insert(Integer Index)
{
    ++FAdding;
    TListColumn* c;
    try {
        c = static_cast<TListColumn*>(TCollection::Insert(Index));
    } catch (...) {
        --FAdding;
        throw;
    }
    --FAdding;
    Update(nullptr);
    return c;
}

void TListColumns::Update(TCollectionItem* Item)
{
    if (FAdding || !FListView) return;
    if (Item) FListView->UpdateColumn(static_cast<TListColumn*>(Item)->Index());
    else FListView->UpdateColumns();
}

void TListColumns::Notify(TCollectionItem* Item, TCollectionNotification Action)
{
    // A column leaving: its window column goes with it (the rest follow in
    // the Update that comes after).
    if (Action == cnExtracting && FListView && FListView->Mirrors()) {
        Integer i = Item->Index();
        if (i >= 0 && i < FListView->WindowColumnCount())
            SendMessage(FListView->FHandle, LVM_DELETECOLUMN, WPARAM(i), 0);
    }
}

// ---------------------------------------------------------------------------
// TListItem

TListItem::TListItem(TListItems* AOwner) : FOwner(AOwner)
{
    auto* subs = new TListSubItems();
    subs->OnAnyChange = [this] { SubItemsChanged(); };
    FSubItems.reset(subs);
}

TListItem::~TListItem() = default;

TCustomListView* TListItem::ListView() const { return FOwner ? FOwner->Owner() : nullptr; }

Integer TListItem::Index() const { return FOwner ? FOwner->IndexOf(this) : -1; }

TStrings* TListItem::SubItems() const { return FSubItems.get(); }

void TListItem::SetSubItems(TStrings* v)
{
    if (v) FSubItems->Assign(v);
}

void TListItem::SetCaption(const String& v)
{
    FCaption = v;
    TCustomListView* lv = ListView();
    if (lv && lv->Mirrors() && Index() >= 0) lv->WindowSetText(this, 0, v);
}

void TListItem::SetImageIndex(Integer v)
{
    if (FImageIndex == v) return;
    FImageIndex = v;
    TCustomListView* lv = ListView();
    if (lv && lv->Mirrors() && Index() >= 0) {
        LVITEM it;
        it.mask = LVIF_IMAGE;
        it.iItem = Index();
        it.iImage = v;
        SendMessage(lv->FHandle, LVM_SETITEMW, 0, LPARAM(&it));
    }
}

void TListItem::SubItemsChanged()
{
    TCustomListView* lv = ListView();
    if (lv && lv->Mirrors() && Index() >= 0) lv->WindowSetSubItems(this);
}

UINT TListItem::State() const
{
    TCustomListView* lv = ListView();
    Integer i = Index();
    if (lv && lv->Mirrors() && i >= 0) return UINT(SendMessage(lv->FHandle, LVM_GETITEMSTATE, WPARAM(i), LVIS_SELECTED | LVIS_FOCUSED));
    return FState;
}

void TListItem::SetState(UINT mask, bool on)
{
    TCustomListView* lv = ListView();
    Integer i = Index();
    if (lv && lv->Mirrors() && i >= 0) {
        LVITEM it;
        it.stateMask = mask;
        it.state = on ? mask : 0;
        SendMessage(lv->FHandle, LVM_SETITEMSTATE, WPARAM(i), LPARAM(&it));
        return;
    }
    // Without a window the same rules hold: one focused item, and one
    // selected unless several may be.
    if (on && FOwner) {
        for (auto& other : FOwner->FItems) {
            if (other.get() == this) continue;
            if (mask & LVIS_FOCUSED) other->FState &= ~UINT(LVIS_FOCUSED);
            if ((mask & LVIS_SELECTED) && lv && !lv->MultiSelect()) other->FState &= ~UINT(LVIS_SELECTED);
        }
    }
    FState = on ? (FState | mask) : (FState & ~mask);
}

bool TListItem::Selected() const { return (State() & LVIS_SELECTED) != 0; }
void TListItem::SetSelected(bool v) { SetState(LVIS_SELECTED, v); }
bool TListItem::Focused() const { return (State() & LVIS_FOCUSED) != 0; }
void TListItem::SetFocused(bool v) { SetState(LVIS_FOCUSED, v); }

void TListItem::Delete()
{
    if (FOwner) FOwner->Delete(Index());
}

void TListItem::MakeVisible(bool PartialOK)
{
    TCustomListView* lv = ListView();
    if (lv && lv->HandleAllocated() && Index() >= 0)
        SendMessage(lv->Handle(), LVM_ENSUREVISIBLE, WPARAM(Index()), PartialOK ? 1 : 0);
}

TRect TListItem::DisplayRect(Integer Code) const
{
    TRect r;
    TCustomListView* lv = ListView();
    if (lv && lv->HandleAllocated() && Index() >= 0) {
        r.Left = Code;
        if (!SendMessage(lv->Handle(), LVM_GETITEMRECT, WPARAM(Index()), LPARAM(&r))) r = TRect{};
    }
    return r;
}

void TListItem::Assign(TPersistent* Source)
{
    if (auto* src = dynamic_cast<TListItem*>(Source)) {
        SetCaption(src->FCaption);
        FData = src->FData;
        SetImageIndex(src->FImageIndex);
        FSubItems->Assign(src->FSubItems.get());
        return;
    }
    TPersistent::Assign(Source);
}

// ---------------------------------------------------------------------------
// TListItems

TListItems::~TListItems() { FItems.clear(); }

TListItem* TListItems::Add() { return Insert(Count()); }

TListItem* TListItems::Insert(Integer Index)
{
    Index = std::clamp(Index, 0, Count());
    auto item = std::make_unique<TListItem>(this);
    TListItem* p = item.get();
    FItems.insert(FItems.begin() + Index, std::move(item));
    if (FOwner && FOwner->Mirrors()) FOwner->WindowInsertItem(p, Index);
    else if (FOwner) FOwner->InsertItem(p);
    return p;
}

TListItem* TListItems::AddItem(TListItem* Item, Integer Index)
{
    TListItem* p = Insert(Index < 0 ? Count() : Index);
    if (Item) p->Assign(Item);
    return p;
}

void TListItems::Delete(Integer Index)
{
    if (Index < 0 || Index >= Count()) ListIndexError(Index);
    TListItem* item = FItems[size_t(Index)].get();
    if (item->FDeleting) return;
    item->FDeleting = true;
    if (FOwner && FOwner->Mirrors()) SendMessage(FOwner->FHandle, LVM_DELETEITEM, WPARAM(Index), 0);
    else if (FOwner) FOwner->Delete(item);
    // The handlers may have moved things; find the item again.
    Integer now = IndexOf(item);
    if (now >= 0) FItems.erase(FItems.begin() + now);
}

void TListItems::Clear()
{
    if (FItems.empty()) return;
    for (auto& it : FItems) it->FDeleting = true;
    if (FOwner && FOwner->Mirrors()) SendMessage(FOwner->FHandle, LVM_DELETEALLITEMS, 0, 0);
    else if (FOwner)
        for (auto& it : FItems) FOwner->Delete(it.get());
    FItems.clear();
}

TListItem* TListItems::Item(Integer Index) const
{
    if (Index < 0 || Index >= Count()) ListIndexError(Index);
    return FItems[size_t(Index)].get();
}

Integer TListItems::IndexOf(const TListItem* Item) const
{
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i].get() == Item) return Integer(i);
    return -1;
}

void TListItems::BeginUpdate()
{
    if (FUpdateCount++ == 0 && FOwner && FOwner->HandleAllocated())
        SendMessage(FOwner->Handle(), WM_SETREDRAW, FALSE, 0);
}

void TListItems::EndUpdate()
{
    if (FUpdateCount == 0) return;
    if (--FUpdateCount == 0 && FOwner && FOwner->HandleAllocated()) {
        SendMessage(FOwner->Handle(), WM_SETREDRAW, TRUE, 0);
        FOwner->Invalidate();
    }
}

void TListItems::Assign(TPersistent* Source)
{
    if (auto* src = dynamic_cast<TListItems*>(Source)) {
        if (src == this) return;
        Clear();
        for (auto& it : src->FItems) AddItem(it.get());
        return;
    }
    TPersistent::Assign(Source);
}

// ---------------------------------------------------------------------------
// TCustomListView

TCustomListView::TCustomListView(TComponent* AOwner) : TWinControl(AOwner)
{
    // Clicks come from the window's NM_CLICK / NM_DBLCLK, and the window
    // takes the mouse itself.
    FControlStyle.Exclude(csCaptureMouse);
    FControlStyle.Exclude(csClickEvents);
    FControlStyle.Exclude(csSetCaption);
    FControlStyle.Exclude(csDoubleClicks);
    FColumns = std::make_unique<TListColumns>(this);
    FItems = std::make_unique<TListItems>(this);
    FWidth = 250;
    FHeight = 150;
    FTabStop = true;
    FParentColor = false;
    FColor = clWindow;
    RegisterListViewClasses();
}

TCustomListView::~TCustomListView()
{
    // The window goes first so the lists below are freed without it.
    DestroyHandle();
    FItems.reset();
    FColumns.reset();
}

void TCustomListView::CreateParams(TCreateParams& P)
{
    RegisterListViewClasses();
    TWinControl::CreateParams(P);
    CreateSubClass(P, WC_LISTVIEW);
    static const DWORD kView[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
    P.Style |= kView[FViewStyle] | WS_TABSTOP;
    if (!FMultiSelect) P.Style |= LVS_SINGLESEL;
    if (!FHideSelection) P.Style |= LVS_SHOWSELALWAYS;
    if (!FColumnClick) P.Style |= LVS_NOSORTHEADER;
    if (!FShowColumnHeaders) P.Style |= LVS_NOCOLUMNHEADER;
    if (!FReadOnly) P.Style |= LVS_EDITLABELS;
    P.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListView::CreateWnd()
{
    TWinControl::CreateWnd();
    FPopulating = true;
    DWORD ex = (FGridLines ? DWORD(LVS_EX_GRIDLINES) : 0u) | (FRowSelect ? DWORD(LVS_EX_FULLROWSELECT) : 0u);
    SendMessage(FHandle, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT, LPARAM(ex));
    UpdateColumns();
    for (Integer i = 0; i < FItems->Count(); ++i) {
        TListItem* item = FItems->Item(i);
        WindowInsertItem(item, i);
        if (item->FState) {
            LVITEM it;
            it.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
            it.state = item->FState;
            SendMessage(FHandle, LVM_SETITEMSTATE, WPARAM(i), LPARAM(&it));
        }
    }
    FPopulating = false;
}

void TCustomListView::DestroyWnd()
{
    if (FHandle) {
        // The window's state comes back into the objects for the next one.
        for (Integer i = 0; i < FItems->Count(); ++i)
            FItems->Item(i)->FState = UINT(SendMessage(FHandle, LVM_GETITEMSTATE, WPARAM(i), LVIS_SELECTED | LVIS_FOCUSED));
        for (Integer i = 0; i < FColumns->Count(); ++i)
            FColumns->Items(i)->FWidth = Integer(SendMessage(FHandle, LVM_GETCOLUMNWIDTH, WPARAM(i), 0));
    }
    FDestroyingWnd = true;
    TWinControl::DestroyWnd();
    FDestroyingWnd = false;
}

void TCustomListView::UpdateColumn(Integer Index)
{
    if (!Mirrors() || Index < 0 || Index >= FColumns->Count()) return;
    TListColumn* c = FColumns->Items(Index);
    static const int kFmt[] = {LVCFMT_LEFT, LVCFMT_RIGHT, LVCFMT_CENTER};
    LVCOLUMN col;
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    col.pszText = const_cast<wchar_t*>(c->FCaption.c_str());
    col.cx = c->FWidth;
    col.fmt = kFmt[c->FAlignment];
    col.iSubItem = Index;
    SendMessage(FHandle, LVM_SETCOLUMNW, WPARAM(Index), LPARAM(&col));
}

void TCustomListView::UpdateColumns()
{
    if (!Mirrors()) return;
    Integer have = WindowColumnCount();
    while (have > FColumns->Count()) SendMessage(FHandle, LVM_DELETECOLUMN, WPARAM(--have), 0);
    while (have < FColumns->Count()) {
        LVCOLUMN col;
        col.mask = LVCF_WIDTH;
        col.cx = FColumns->Items(have)->FWidth;
        SendMessage(FHandle, LVM_INSERTCOLUMNW, WPARAM(have), LPARAM(&col));
        ++have;
    }
    for (Integer i = 0; i < FColumns->Count(); ++i) UpdateColumn(i);
}

Integer TCustomListView::WindowColumnCount() const
{
    auto header = reinterpret_cast<HWND>(SendMessage(FHandle, LVM_GETHEADER, 0, 0));
    return header ? Integer(SendMessage(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

void TCustomListView::WindowInsertItem(TListItem* Item, Integer Index)
{
    LVITEM it;
    it.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
    it.iItem = Index;
    it.pszText = const_cast<wchar_t*>(Item->FCaption.c_str());
    it.lParam = reinterpret_cast<LPARAM>(Item);
    it.iImage = Item->FImageIndex;
    SendMessage(FHandle, LVM_INSERTITEMW, 0, LPARAM(&it));
    WindowSetSubItems(Item);
}

void TCustomListView::WindowSetText(TListItem* Item, Integer SubItem, const String& Text)
{
    LVITEM it;
    it.iSubItem = SubItem;
    it.pszText = const_cast<wchar_t*>(Text.c_str());
    SendMessage(FHandle, LVM_SETITEMTEXTW, WPARAM(Item->Index()), LPARAM(&it));
}

void TCustomListView::WindowSetSubItems(TListItem* Item)
{
    TStrings* subs = Item->SubItems();
    Integer n = subs->Count();
    for (Integer k = 0; k < n; ++k) WindowSetText(Item, k + 1, subs->Strings(k));
    // Texts of sub-items removed since are cleared.
    for (Integer k = n; k < Item->FWindowSubCount; ++k) WindowSetText(Item, k + 1, String());
    Item->FWindowSubCount = n;
}

void TCustomListView::SetExStyle(UINT mask, bool on)
{
    if (HandleAllocated()) SendMessage(FHandle, LVM_SETEXTENDEDLISTVIEWSTYLE, mask, on ? LPARAM(mask) : 0);
}

void TCustomListView::SetStyleBit(DWORD bit, bool on)
{
    if (!HandleAllocated()) return;
    DWORD st = DWORD(GetWindowLong(FHandle, GWL_STYLE));
    DWORD now = on ? (st | bit) : (st & ~bit);
    if (now != st) SetWindowLong(FHandle, GWL_STYLE, LONG(now));
}

void TCustomListView::SetViewStyle(TViewStyle v)
{
    if (FViewStyle == v) return;
    FViewStyle = v;
    if (HandleAllocated()) {
        static const DWORD kView[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
        DWORD st = DWORD(GetWindowLong(FHandle, GWL_STYLE)) & ~DWORD(LVS_TYPEMASK);
        SetWindowLong(FHandle, GWL_STYLE, LONG(st | kView[v]));
    }
}

void TCustomListView::SetGridLines(bool v)
{
    FGridLines = v;
    SetExStyle(LVS_EX_GRIDLINES, v);
}

void TCustomListView::SetRowSelect(bool v)
{
    FRowSelect = v;
    SetExStyle(LVS_EX_FULLROWSELECT, v);
}

void TCustomListView::SetReadOnly(bool v)
{
    FReadOnly = v;
    SetStyleBit(LVS_EDITLABELS, !v);
}

void TCustomListView::SetColumnClick(bool v)
{
    FColumnClick = v;
    SetStyleBit(LVS_NOSORTHEADER, !v);
}

void TCustomListView::SetHideSelection(bool v)
{
    FHideSelection = v;
    SetStyleBit(LVS_SHOWSELALWAYS, !v);
    Invalidate();
}

void TCustomListView::SetMultiSelect(bool v)
{
    if (FMultiSelect == v) return;
    FMultiSelect = v;
    SetStyleBit(LVS_SINGLESEL, !v);
    // Down to one selected item: the focused one if selected, else the first.
    if (!v && SelCount() > 1) {
        TListItem* keep = ItemFocused();
        if (!keep || !keep->Selected()) keep = Selected();
        for (Integer i = 0; i < FItems->Count(); ++i)
            if (FItems->Item(i) != keep) FItems->Item(i)->SetSelected(false);
    }
}

void TCustomListView::SetShowColumnHeaders(bool v)
{
    FShowColumnHeaders = v;
    SetStyleBit(LVS_NOCOLUMNHEADER, !v);
}

Integer TCustomListView::ItemIndex() const
{
    TListItem* s = Selected();
    return s ? s->Index() : -1;
}

void TCustomListView::SetItemIndex(Integer v)
{
    if (v < 0 || v >= FItems->Count()) {
        ClearSelection();
        return;
    }
    SetSelected(FItems->Item(v));
}

TListItem* TCustomListView::Selected() const
{
    for (Integer i = 0; i < FItems->Count(); ++i)
        if (FItems->Item(i)->Selected()) return FItems->Item(i);
    return nullptr;
}

void TCustomListView::SetSelected(TListItem* v)
{
    if (!v) {
        ClearSelection();
        return;
    }
    if (FMultiSelect)
        for (Integer i = 0; i < FItems->Count(); ++i)
            if (FItems->Item(i) != v) FItems->Item(i)->SetSelected(false);
    v->SetState(LVIS_SELECTED | LVIS_FOCUSED, true);
}

TListItem* TCustomListView::ItemFocused() const
{
    for (Integer i = 0; i < FItems->Count(); ++i)
        if (FItems->Item(i)->Focused()) return FItems->Item(i);
    return nullptr;
}

void TCustomListView::SetItemFocused(TListItem* v)
{
    if (v) v->SetFocused(true);
    else if (TListItem* f = ItemFocused()) f->SetFocused(false);
}

Integer TCustomListView::SelCount() const
{
    if (Mirrors()) return Integer(SendMessage(FHandle, LVM_GETSELECTEDCOUNT, 0, 0));
    Integer n = 0;
    for (Integer i = 0; i < FItems->Count(); ++i) n += FItems->Item(i)->Selected() ? 1 : 0;
    return n;
}

void TCustomListView::ClearSelection()
{
    for (Integer i = 0; i < FItems->Count(); ++i)
        if (FItems->Item(i)->Selected()) FItems->Item(i)->SetSelected(false);
}

TListItem* TCustomListView::GetNextItem(TListItem* StartItem, TSearchDirection Direction, TItemStates States) const
{
    UINT want = 0;
    if (States.Contains(isSelected)) want |= LVIS_SELECTED;
    if (States.Contains(isFocused)) want |= LVIS_FOCUSED;
    Integer start = StartItem ? StartItem->Index() : -1;
    Integer step = Direction == sdAbove ? -1 : 1;
    Integer i = start < 0 ? (step > 0 ? 0 : -1) : start + step;
    for (; i >= 0 && i < FItems->Count(); i += step)
        if ((FItems->Item(i)->State() & want) == want) return FItems->Item(i);
    return nullptr;
}

TListItem* TCustomListView::GetItemAt(Integer X, Integer Y) const
{
    if (!HandleAllocated()) return nullptr;
    LVHITTESTINFO ht;
    ht.pt = TPoint{X, Y};
    Integer i = Integer(SendMessage(FHandle, LVM_HITTEST, 0, LPARAM(&ht)));
    return i >= 0 && i < FItems->Count() ? FItems->Item(i) : nullptr;
}

TListItem* TCustomListView::TopItem() const
{
    if (!HandleAllocated() || FItems->Count() == 0) return nullptr;
    Integer i = Integer(SendMessage(FHandle, LVM_GETTOPINDEX, 0, 0));
    return i >= 0 && i < FItems->Count() ? FItems->Item(i) : nullptr;
}

Integer TCustomListView::VisibleRowCount() const
{
    return HandleAllocated() ? Integer(SendMessage(FHandle, LVM_GETCOUNTPERPAGE, 0, 0)) : 0;
}

void TCustomListView::Scroll(Integer DX, Integer DY)
{
    if (HandleAllocated()) SendMessage(FHandle, LVM_SCROLL, WPARAM(intptr_t(DX)), LPARAM(DY));
}

void TCustomListView::Change(TListItem* Item, TItemChange Change)
{
    if (OnChange) OnChange(this, Item, Change);
}

bool TCustomListView::CanChange(TListItem* Item, TItemChange Change)
{
    bool allow = true;
    if (OnChanging) OnChanging(this, Item, Change, allow);
    return allow;
}

void TCustomListView::DoSelectItem(TListItem* Item, bool Selected)
{
    if (OnSelectItem) OnSelectItem(this, Item, Selected);
}

void TCustomListView::ColClick(TListColumn* Column)
{
    if (OnColumnClick) OnColumnClick(this, Column);
}

void TCustomListView::Delete(TListItem* Item)
{
    if (OnDeletion) OnDeletion(this, Item);
}

void TCustomListView::InsertItem(TListItem* Item)
{
    if (OnInsert) OnInsert(this, Item);
}

namespace {
TItemChange ChangeOf(UINT changed)
{
    if (changed & LVIF_TEXT) return ctText;
    if (changed & LVIF_IMAGE) return ctImage;
    return ctState;
}
}  // namespace

void TCustomListView::CNNotify(TMessage& M)
{
    auto* hdr = reinterpret_cast<NMHDR*>(M.LParam);
    M.Result = 0;
    if (!hdr || FDestroyingWnd) return;
    switch (hdr->code) {
    case LVN_ITEMCHANGING: {
        auto* nm = reinterpret_cast<NMLISTVIEW*>(M.LParam);
        TListItem* item = ItemOfParam(nm->lParam);
        if (item && !FPopulating && !(nm->uChanged & LVIF_PARAM) && !CanChange(item, ChangeOf(nm->uChanged)))
            M.Result = TRUE;
        return;
    }
    case LVN_ITEMCHANGED: {
        auto* nm = reinterpret_cast<NMLISTVIEW*>(M.LParam);
        TListItem* item = ItemOfParam(nm->lParam);
        if (!item) return;
        if (nm->uChanged & LVIF_STATE) item->FState = nm->uNewState & (LVIS_SELECTED | LVIS_FOCUSED);
        if (FPopulating || (nm->uChanged & LVIF_PARAM)) return;
        Change(item, ChangeOf(nm->uChanged));
        if ((nm->uChanged & LVIF_STATE) && ((nm->uOldState ^ nm->uNewState) & LVIS_SELECTED))
            DoSelectItem(item, (nm->uNewState & LVIS_SELECTED) != 0);
        return;
    }
    case LVN_INSERTITEM: {
        auto* nm = reinterpret_cast<NMLISTVIEW*>(M.LParam);
        if (TListItem* item = ItemOfParam(nm->lParam); item && !FPopulating) InsertItem(item);
        return;
    }
    case LVN_DELETEITEM: {
        auto* nm = reinterpret_cast<NMLISTVIEW*>(M.LParam);
        if (TListItem* item = ItemOfParam(nm->lParam)) Delete(item);
        return;
    }
    case LVN_COLUMNCLICK: {
        auto* nm = reinterpret_cast<NMLISTVIEW*>(M.LParam);
        if (FColumnClick && nm->iSubItem >= 0 && nm->iSubItem < FColumns->Count())
            ColClick(FColumns->Items(nm->iSubItem));
        return;
    }
    case NM_CLICK: Click(); return;
    case NM_DBLCLK: DblClick(); return;
    default: return;
    }
}

void TCustomListView::Dispatch(TMessage& M)
{
    if (M.Msg == CN_NOTIFY) {
        CNNotify(M);
        return;
    }
    TWinControl::Dispatch(M);
}
