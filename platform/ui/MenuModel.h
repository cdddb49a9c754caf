// Keyboard navigation of a menu tree: the chain of open popups, the hot
// item of each, arrows that pass over separators, disabled and hidden
// items, submenus opened with Right or Enter and closed with Left or Esc,
// and accelerators written "&x" in captions ("&&" is a literal '&').
#pragma once

#include <vector>

#include "platform/base/Types.h"

// Accelerator of a caption: the character after a single '&' (upper
// case), 0 when there is none.
Char MenuAccelerator(const String& caption);
// The caption as shown: "&&" becomes '&', a single '&' disappears.
String StripAccelerator(const String& caption);

struct TMenuNavItem {
    String Caption;
    Integer Id = 0;
    bool Separator = false;
    bool Enabled = true;
    bool Visible = true;
    std::vector<TMenuNavItem> Items;   // a submenu when not empty

    bool Selectable() const { return !Separator && Enabled && Visible; }
    bool HasSubmenu() const { return !Items.empty(); }
};

enum class TMenuNavAction {
    None,       // the key means nothing here (a beep)
    Moved,      // the hot item changed
    Opened,     // a submenu opened
    Closed,     // the innermost submenu closed
    CloseAll,   // the whole menu closes without a choice
    Invoke,     // an item was chosen: Chosen()/ChosenId(); the menu closes
    BarNext,    // Right past the top menu: the menu bar's next item
    BarPrev,    // Left at the top menu: the menu bar's previous item
};

class TMenuNavModel {
public:
    // Opens the root's items as the first popup, with no hot item (a
    // popup opened by the mouse) or the first selectable one.
    void Open(const TMenuNavItem* root, bool selectFirst);
    bool IsOpen() const { return !FLevels.empty(); }
    void Close() { FLevels.clear(); }

    // Open popups, outermost first; each with its items and hot index (-1
    // for none).
    Integer Depth() const { return Integer(FLevels.size()); }
    const TMenuNavItem* LevelMenu(Integer level) const { return FLevels[level].Menu; }
    Integer Hot(Integer level) const { return FLevels[level].Hot; }
    // The hot item of the innermost popup.
    Integer HotItem() const { return FLevels.empty() ? -1 : FLevels.back().Hot; }

    // Mouse hover: makes the item of the level hot and closes deeper
    // popups (opening a submenu is the caller's timer's or click's call).
    void SetHot(Integer level, Integer item);
    // Opens the hot item's submenu of the innermost popup.
    TMenuNavAction OpenHot(bool selectFirst);
    // Mouse click or Enter on an item of the innermost popup.
    TMenuNavAction Choose(Integer item);

    TMenuNavAction KeyDown(Word vk);
    TMenuNavAction KeyChar(Char ch);

    // After Invoke: the chosen item and its id.
    const TMenuNavItem* Chosen() const { return FChosen; }
    Integer ChosenId() const { return FChosen ? FChosen->Id : 0; }

private:
    struct TLevel {
        const TMenuNavItem* Menu;
        Integer Hot;
    };
    Integer Step(const TLevel& l, Integer from, Integer dir) const;

    std::vector<TLevel> FLevels;
    const TMenuNavItem* FChosen = nullptr;
};
