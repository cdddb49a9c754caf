// The records behind menu handles, shared by the menu calls and the menu
// loop.
#pragma once

#include <vector>

#include "platform/ui/Menus.h"

struct TMenuItemRec {
    UINT type = 0;   // MFT_
    UINT state = 0;  // MFS_
    UINT id = 0;
    HMENU sub = nullptr;
    ULONG_PTR data = 0;
    String text;
    HBITMAP bitmap = nullptr;
};

struct TMenuRec {
    bool popup = true;
    std::vector<TMenuItemRec> items;
};

// The record of a live menu handle, or null.
TMenuRec* MenuRec(HMENU menu);
// The item by position or by command (submenus searched): the menu that
// holds it and its index.
bool FindMenuItem(HMENU menu, UINT item, UINT flags, TMenuRec*& owner, int& index);
// The menu loop hears of menus destroyed or changed while it shows them.
void MenuHandleDestroyed(HMENU menu);
void MenuContentChanged(HMENU menu);
