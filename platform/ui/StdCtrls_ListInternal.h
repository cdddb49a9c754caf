// What the combo box and the list box windows tell each other: the combo
// box keeps its items in a list window ("ComboLBox") and drives it while it
// is dropped down.
#pragma once

#include <vector>

#include "platform/ui/Windows.h"

// Registers "COMBOBOX" (RegisterListClasses calls it).
void RegisterComboClass();

// The combo box a list window belongs to, set once when the combo box
// creates it (null for a plain list box).
void ListSetCombo(HWND list, HWND combo);
// Dropped mode of a combo box's list: the mouse highlights the item under
// it, a button released on an item picks it, a press outside cancels.
void ListSetDropped(HWND list, bool dropped);
// The list's focused (highlighted) item, -1 for none; moving it selects it
// the way a plain arrow key does and scrolls it into view.
Integer ListCaret(HWND list);
void ListSetCaret(HWND list, Integer index);
// The height the list needs for `rows` items (no frame).
Integer ListHeightFor(HWND list, Integer rows);

// What the list of a combo box reports to it.
enum class TComboListEvent {
    Pick,          // a button released on an item: take it and close
    OutsideClick,  // a press outside the list: close (the point is in lp)
    SelChange,     // the selection moved by the user inside a simple combo's list
    DblClick,      // a double click in a simple combo's list
};
void ComboListNotify(HWND combo, TComboListEvent what, TPoint screenPt);

// Sorts items kept while a control has no window the way a sorted window
// keeps them, moving the given indices (and selection flags) along.
class TStringList;
Integer SortedPlace(const TStringList& list, const String& S);
void SortSaved(TStringList& list, std::vector<Integer*> indices, std::vector<bool>* selected);
