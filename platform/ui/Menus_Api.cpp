// Menu handles: the records behind HMENU and the calls that build, change
// and query them. A handle is only trusted while it is in the live set, so
// a destroyed or made-up handle makes a call fail instead of crashing.
#include "platform/ui/Menus.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <set>

#include "platform/ui/MenusInternal.h"

namespace {

std::recursive_mutex& MenuLock()
{
    static std::recursive_mutex m;
    return m;
}

std::set<TMenuRec*>& LiveMenus()
{
    static std::set<TMenuRec*> s;
    return s;
}

HMENU NewMenu(bool popup)
{
    auto* r = new TMenuRec;
    r->popup = popup;
    std::lock_guard<std::recursive_mutex> g(MenuLock());
    LiveMenus().insert(r);
    return HMENU(r);
}

// Whether sub is menu or one of its submenus (a cycle would hang the walks).
bool Contains(TMenuRec* menu, TMenuRec* sub)
{
    if (menu == sub) return true;
    for (auto& it : menu->items)
        if (it.sub && Contains(MenuRec(it.sub), sub)) return true;
    return false;
}

bool ValidSubmenu(TMenuRec* menu, HMENU sub)
{
    TMenuRec* s = MenuRec(sub);
    return s && !Contains(s, menu);
}

// The item flags of the MF_ calls turned into a record.
bool FillFromFlags(TMenuRec* menu, TMenuItemRec& it, UINT flags, UINT_PTR idNew, const wchar_t* text)
{
    it.type = 0;
    it.state = 0;
    it.sub = nullptr;
    it.id = 0;
    if (flags & MF_POPUP) {
        if (!ValidSubmenu(menu, HMENU(idNew))) return false;
        it.sub = HMENU(idNew);
        it.id = UINT(idNew);
    } else {
        it.id = UINT(idNew);
    }
    if (flags & MF_SEPARATOR) it.type |= MFT_SEPARATOR;
    if (flags & MF_OWNERDRAW) {
        it.type |= MFT_OWNERDRAW;
        it.data = ULONG_PTR(reinterpret_cast<uintptr_t>(text));
        it.text.clear();
    } else if (flags & MF_BITMAP) {
        it.type |= MFT_BITMAP;
        it.bitmap = reinterpret_cast<HBITMAP>(const_cast<wchar_t*>(text));
    } else if (!(flags & MF_SEPARATOR)) {
        it.text = text ? text : L"";
    }
    if (flags & MF_MENUBREAK) it.type |= MFT_MENUBREAK;
    if (flags & MF_MENUBARBREAK) it.type |= MFT_MENUBARBREAK;
    if (flags & MF_RIGHTJUSTIFY) it.type |= MFT_RIGHTJUSTIFY;
    if (flags & MF_CHECKED) it.state |= MFS_CHECKED;
    if (flags & (MF_GRAYED | MF_DISABLED)) it.state |= MFS_GRAYED;
    if (flags & MF_HILITE) it.state |= MFS_HILITE;
    return true;
}

void DestroyRec(TMenuRec* r)
{
    {
        std::lock_guard<std::recursive_mutex> g(MenuLock());
        if (!LiveMenus().erase(r)) return;
    }
    for (auto& it : r->items)
        if (it.sub) DestroyRec(MenuRec(it.sub));
    delete r;
}

}  // namespace

TMenuRec* MenuRec(HMENU menu)
{
    if (!menu) return nullptr;
    std::lock_guard<std::recursive_mutex> g(MenuLock());
    auto* r = static_cast<TMenuRec*>(menu);
    return LiveMenus().count(r) ? r : nullptr;
}

bool FindMenuItem(HMENU menu, UINT item, UINT flags, TMenuRec*& owner, int& index)
{
    TMenuRec* r = MenuRec(menu);
    if (!r) return false;
    if (flags & MF_BYPOSITION) {
        if (item >= r->items.size()) return false;
        owner = r;
        index = int(item);
        return true;
    }
    // By command: the first item with that id, submenus searched in turn
    // (a submenu item also answers to its own handle value as id).
    for (size_t i = 0; i < r->items.size(); ++i) {
        auto& it = r->items[i];
        if (it.sub) {
            if (FindMenuItem(it.sub, item, flags, owner, index)) return true;
            if (it.id == item) {
                owner = r;
                index = int(i);
                return true;
            }
        } else if (it.id == item) {
            owner = r;
            index = int(i);
            return true;
        }
    }
    return false;
}

HMENU CreateMenu() { return NewMenu(false); }
HMENU CreatePopupMenu() { return NewMenu(true); }

BOOL DestroyMenu(HMENU menu)
{
    TMenuRec* r = MenuRec(menu);
    if (!r) return FALSE;
    MenuHandleDestroyed(menu);
    DestroyRec(r);
    return TRUE;
}

BOOL IsMenu(HMENU menu) { return MenuRec(menu) ? TRUE : FALSE; }

BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idNew, const wchar_t* text)
{
    TMenuRec* r = MenuRec(menu);
    if (!r) return FALSE;
    TMenuItemRec it;
    if (!FillFromFlags(r, it, flags, idNew, text)) return FALSE;
    size_t at = r->items.size();
    if (flags & MF_BYPOSITION) {
        if (position != 0xFFFFFFFFu && position < r->items.size()) at = position;
    } else {
        TMenuRec* owner = nullptr;
        int index = 0;
        if (FindMenuItem(menu, position, flags, owner, index)) {
            owner->items.insert(owner->items.begin() + index, it);
            return TRUE;
        }
    }
    r->items.insert(r->items.begin() + long(at), it);
    return TRUE;
}

BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR idNew, const wchar_t* text)
{
    return InsertMenu(menu, 0xFFFFFFFFu, (flags & ~MF_BYCOMMAND) | MF_BYPOSITION, idNew, text);
}

BOOL ModifyMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idNew, const wchar_t* text)
{
    TMenuRec* owner = nullptr;
    int index = 0;
    if (!FindMenuItem(menu, position, flags, owner, index)) return FALSE;
    TMenuItemRec it = owner->items[size_t(index)];
    HMENU oldSub = it.sub;
    if (!FillFromFlags(owner, it, flags, idNew, text)) return FALSE;
    if (oldSub && oldSub != it.sub) DestroyMenu(oldSub);
    owner->items[size_t(index)] = it;
    return TRUE;
}

namespace {

bool ApplyInfo(TMenuRec* menu, TMenuItemRec& it, const MENUITEMINFO* info)
{
    UINT m = info->fMask;
    if (m & MIIM_SUBMENU) {
        if (info->hSubMenu && !ValidSubmenu(menu, info->hSubMenu)) return false;
        it.sub = info->hSubMenu;
    }
    if (m & MIIM_TYPE) {
        // The old mask: type and text (or bitmap) together.
        it.type = info->fType;
        if (info->fType & MFT_BITMAP) it.bitmap = reinterpret_cast<HBITMAP>(info->dwTypeData);
        else if (!(info->fType & (MFT_SEPARATOR | MFT_OWNERDRAW)))
            it.text = info->dwTypeData ? info->dwTypeData : L"";
    }
    if (m & MIIM_FTYPE) it.type = info->fType;
    if (m & MIIM_STRING) it.text = info->dwTypeData ? info->dwTypeData : L"";
    if (m & MIIM_STATE) it.state = info->fState;
    if (m & MIIM_ID) it.id = info->wID;
    if (m & MIIM_DATA) it.data = info->dwItemData;
    if (m & MIIM_BITMAP) it.bitmap = info->hbmpItem;
    return true;
}

void CopyText(const String& s, MENUITEMINFO* info)
{
    if (info->dwTypeData && info->cch > 0) {
        size_t n = std::min<size_t>(s.size(), info->cch - 1);
        std::memcpy(info->dwTypeData, s.data(), n * sizeof(wchar_t));
        info->dwTypeData[n] = 0;
        info->cch = UINT(n);
    } else {
        info->cch = UINT(s.size());
    }
}

}  // namespace

BOOL InsertMenuItem(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFO* info)
{
    TMenuRec* r = MenuRec(menu);
    if (!r || !info) return FALSE;
    TMenuItemRec it;
    if (!ApplyInfo(r, it, info)) return FALSE;
    if (byPosition) {
        size_t at = item < r->items.size() ? item : r->items.size();
        r->items.insert(r->items.begin() + long(at), it);
        return TRUE;
    }
    TMenuRec* owner = nullptr;
    int index = 0;
    if (!FindMenuItem(menu, item, MF_BYCOMMAND, owner, index)) {
        r->items.push_back(it);
        return TRUE;
    }
    if (it.sub && !ValidSubmenu(owner, it.sub)) return FALSE;
    owner->items.insert(owner->items.begin() + index, it);
    return TRUE;
}

BOOL SetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFO* info)
{
    TMenuRec* owner = nullptr;
    int index = 0;
    if (!info || !FindMenuItem(menu, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND, owner, index))
        return FALSE;
    TMenuItemRec it = owner->items[size_t(index)];
    if (!ApplyInfo(owner, it, info)) return FALSE;
    owner->items[size_t(index)] = it;
    MenuContentChanged(HMENU(owner));
    return TRUE;
}

BOOL GetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFO* info)
{
    TMenuRec* owner = nullptr;
    int index = 0;
    if (!info || !FindMenuItem(menu, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND, owner, index))
        return FALSE;
    const TMenuItemRec& it = owner->items[size_t(index)];
    UINT m = info->fMask;
    if (m & (MIIM_FTYPE | MIIM_TYPE)) info->fType = it.type;
    if (m & MIIM_STATE) info->fState = it.state;
    if (m & MIIM_ID) info->wID = it.id;
    if (m & MIIM_SUBMENU) info->hSubMenu = it.sub;
    if (m & MIIM_DATA) info->dwItemData = it.data;
    if (m & MIIM_BITMAP) info->hbmpItem = it.bitmap;
    if (m & (MIIM_STRING | MIIM_TYPE)) {
        if ((m & MIIM_TYPE) && (it.type & (MFT_SEPARATOR | MFT_OWNERDRAW | MFT_BITMAP))) info->cch = 0;
        else CopyText(it.text, info);
    }
    return TRUE;
}

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags)
{
    TMenuRec* owner = nullptr;
    int index = 0;
    if (!FindMenuItem(menu, position, flags, owner, index)) return FALSE;
    owner->items.erase(owner->items.begin() + index);
    MenuContentChanged(HMENU(owner));
    return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags)
{
    TMenuRec* owner = nullptr;
    int index = 0;
    if (!FindMenuItem(menu, position, flags, owner, index)) return FALSE;
    HMENU sub = owner->items[size_t(index)].sub;
    owner->items.erase(owner->items.begin() + index);
    if (sub) DestroyMenu(sub);
    MenuContentChanged(HMENU(owner));
    return TRUE;
}

int GetMenuItemCount(HMENU menu)
{
    TMenuRec* r = MenuRec(menu);
    return r ? int(r->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position)
{
    TMenuRec* r = MenuRec(menu);
    if (!r || position < 0 || size_t(position) >= r->items.size()) return 0xFFFFFFFFu;
    const auto& it = r->items[size_t(position)];
    return it.sub ? 0xFFFFFFFFu : it.id;
}

HMENU GetSubMenu(HMENU menu, int position)
{
    TMenuRec* r = MenuRec(menu);
    if (!r || position < 0 || size_t(position) >= r->items.size()) return nullptr;
    return r->items[size_t(position)].sub;
}

UINT GetMenuState(HMENU menu, UINT id, UINT flags)
{
    TMenuRec* owner = nullptr;
    int index = 0;
    if (!FindMenuItem(menu, id, flags, owner, index)) return 0xFFFFFFFFu;
    const auto& it = owner->items[size_t(index)];
    UINT s = (it.type & (MFT_SEPARATOR | MFT_OWNERDRAW | MFT_BITMAP | MFT_MENUBREAK |
                         MFT_MENUBARBREAK | MFT_RIGHTJUSTIFY | MFT_RADIOCHECK)) |
             (it.state & (MFS_CHECKED | MFS_HILITE | MFS_DEFAULT | MFS_GRAYED));
    if (it.sub) {
        s |= MF_POPUP;
        if (TMenuRec* sub = MenuRec(it.sub)) s |= UINT(std::min<size_t>(sub->items.size(), 255)) << 8;
    }
    return s;
}

int GetMenuString(HMENU menu, UINT item, wchar_t* buf, int size, UINT flags)
{
    TMenuRec* owner = nullptr;
    int index = 0;
    if (!FindMenuItem(menu, item, flags, owner, index)) return 0;
    const String& s = owner->items[size_t(index)].text;
    if (!buf || size <= 0) return int(s.size());
    size_t n = std::min<size_t>(s.size(), size_t(size - 1));
    std::memcpy(buf, s.data(), n * sizeof(wchar_t));
    buf[n] = 0;
    return int(n);
}

String GetMenuString(HMENU menu, UINT item, UINT flags)
{
    TMenuRec* owner = nullptr;
    int index = 0;
    if (!FindMenuItem(menu, item, flags, owner, index)) return String();
    return owner->items[size_t(index)].text;
}

DWORD CheckMenuItem(HMENU menu, UINT id, UINT check)
{
    TMenuRec* owner = nullptr;
    int index = 0;
    if (!FindMenuItem(menu, id, check, owner, index)) return 0xFFFFFFFFu;
    auto& it = owner->items[size_t(index)];
    DWORD old = (it.state & MFS_CHECKED) ? MF_CHECKED : MF_UNCHECKED;
    if (check & MF_CHECKED) it.state |= MFS_CHECKED;
    else it.state &= ~MFS_CHECKED;
    MenuContentChanged(HMENU(owner));
    return old;
}

BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags)
{
    TMenuRec* r = MenuRec(menu);
    if (!r) return FALSE;
    TMenuRec* owner = r;
    int a = 0, b = 0, c = 0;
    if (flags & MF_BYPOSITION) {
        if (first > last || last >= r->items.size() || check < first || check > last) return FALSE;
        a = int(first);
        b = int(last);
        c = int(check);
    } else {
        TMenuRec* o1 = nullptr;
        TMenuRec* o2 = nullptr;
        TMenuRec* o3 = nullptr;
        if (!FindMenuItem(menu, first, 0, o1, a) || !FindMenuItem(menu, last, 0, o2, b) ||
            !FindMenuItem(menu, check, 0, o3, c) || o1 != o2 || o1 != o3 || a > b || c < a || c > b)
            return FALSE;
        owner = o1;
    }
    for (int i = a; i <= b; ++i) {
        auto& it = owner->items[size_t(i)];
        if (i == c) {
            it.state |= MFS_CHECKED;
            it.type |= MFT_RADIOCHECK;
        } else {
            it.state &= ~MFS_CHECKED;
        }
    }
    MenuContentChanged(HMENU(owner));
    return TRUE;
}

BOOL EnableMenuItem(HMENU menu, UINT id, UINT enable)
{
    TMenuRec* owner = nullptr;
    int index = 0;
    if (!FindMenuItem(menu, id, enable, owner, index)) return -1;
    auto& it = owner->items[size_t(index)];
    BOOL old = BOOL(it.state & MFS_GRAYED);
    it.state &= ~MFS_GRAYED;
    if (enable & MF_GRAYED) it.state |= MF_GRAYED;
    if (enable & MF_DISABLED) it.state |= MF_DISABLED;
    MenuContentChanged(HMENU(owner));
    return old;
}

BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition)
{
    TMenuRec* r = MenuRec(menu);
    if (!r) return FALSE;
    int target = -1;
    if (item != 0xFFFFFFFFu) {
        if (byPosition) {
            if (item >= r->items.size()) return FALSE;
            target = int(item);
        } else {
            for (size_t i = 0; i < r->items.size(); ++i)
                if (r->items[i].id == item) target = int(i);
            if (target < 0) return FALSE;
        }
    }
    for (size_t i = 0; i < r->items.size(); ++i) {
        if (int(i) == target) r->items[i].state |= MFS_DEFAULT;
        else r->items[i].state &= ~MFS_DEFAULT;
    }
    MenuContentChanged(menu);
    return TRUE;
}

UINT GetMenuDefaultItem(HMENU menu, UINT byPosition, UINT)
{
    TMenuRec* r = MenuRec(menu);
    if (!r) return 0xFFFFFFFFu;
    for (size_t i = 0; i < r->items.size(); ++i)
        if (r->items[i].state & MFS_DEFAULT) return byPosition ? UINT(i) : r->items[i].id;
    return 0xFFFFFFFFu;
}

BOOL HiliteMenuItem(HWND, HMENU menu, UINT item, UINT hilite)
{
    TMenuRec* owner = nullptr;
    int index = 0;
    if (!FindMenuItem(menu, item, hilite, owner, index)) return FALSE;
    auto& it = owner->items[size_t(index)];
    if (hilite & MF_HILITE) it.state |= MFS_HILITE;
    else it.state &= ~MFS_HILITE;
    return TRUE;
}
