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

// A drop-down of a window's menu bar: the popup loop runs it with the bar
// beside it. Moving onto another bar item, Left/Right at the top level, a
// click on the bar, or Esc end it; End says how, and the bar goes on from
// there.
enum class TBarDropEnd { Chosen, Cancelled, Escaped, SwitchTo, BarClicked };
struct TBarDropDown {
    HWND Wnd = nullptr;        // the window whose bar it is; it gets the messages
    int Item = 0;              // the bar item whose drop-down shows
    std::vector<TRect> Items;  // the bar's items, screen coordinates
    bool SelectFirst = false;  // opened by the keyboard: the first item is hot
    TBarDropEnd End = TBarDropEnd::Cancelled;
    int Next = -1;             // SwitchTo: the bar item to open instead
    bool NextByKey = false;
};
void TrackBarDropDown(HMENU sub, TBarDropDown& bar);
// The screen rectangle of an item of the window's menu bar.
bool MenuBarItemRect(HWND hwnd, HMENU menu, UINT item, TRect& rect);
// Whether a menu bar of this thread is in its menu loop; EndMenu ends it.
bool InMenuBarLoop();
void EndMenuBarLoop();
// Alt closed a menu: its release must not open the menu bar again.
void ForgetAltTap();
