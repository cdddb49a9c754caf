// The selection model behind the list box and the report list view: the
// focused item, single, multiple (click toggles) and extended (Shift and
// Ctrl) selection with an anchor, keyboard moves, type-ahead search and
// the top item kept so the focused one stays in view.
#pragma once

#include <functional>
#include <vector>

#include "platform/base/Types.h"

enum class TListSelectMode {
    Single,     // one item at most
    Multiple,   // each click or Space toggles an item
    Extended,   // Shift selects ranges from the anchor, Ctrl toggles
};

class TListSelectionModel {
public:
    TListSelectMode Mode() const { return FMode; }
    // Changing the mode clears the selection but keeps the focused item.
    void SetMode(TListSelectMode m);

    Integer Count() const { return Integer(FSelected.size()); }
    // A new count clears the selection and the focus.
    void SetCount(Integer n);
    // Item insertion and removal keep the other items' selection, the
    // focus and the anchor on the same items.
    void Insert(Integer index);
    void Delete(Integer index);

    // The focused item (the caret; in single mode also the selected one),
    // -1 for none.
    Integer ItemIndex() const { return FFocus; }
    // Focuses the item; in single mode it becomes the selection (-1 clears
    // it). Other modes keep the selection.
    void SetItemIndex(Integer i);
    Integer Anchor() const { return FAnchor; }

    bool Selected(Integer i) const;
    void SetSelected(Integer i, bool on);
    Integer SelCount() const;
    const std::vector<bool>& Selection() const { return FSelected; }
    void SelectAll();   // not in single mode
    void ClearSelection();

    // Mouse: a click on the item with the modifier keys held.
    void Click(Integer i, bool shift, bool ctrl);
    // Keyboard: Up, Down, Home, End, Page Up, Page Down (Shift extends,
    // Ctrl moves the focus only in extended mode), Space (toggles in
    // multiple mode, and with Ctrl in extended mode). Answers whether the
    // key was one of these.
    bool KeyDown(Word vk, bool shift, bool ctrl);

    // Type-ahead: characters typed within the timeout (ms, by the time
    // given) build a prefix searched from the focused item on, case
    // insensitively; the same character again steps through the items
    // starting with it. text(i) answers item i's text. Answers the item
    // found, or -1. The item found is focused as by a plain arrow key:
    // selected alone in single and extended mode, unchanged in multiple.
    Integer TypeAhead(Char ch, uint32_t timeMs, const std::function<String(Integer)>& text);
    static constexpr uint32_t TypeAheadTimeout = 1000;

    // The first visible item and how many items show at once; focus moves
    // scroll so the focused item shows.
    Integer TopIndex() const { return FTop; }
    void SetTopIndex(Integer i);
    Integer PageSize() const { return FPage; }
    void SetPageSize(Integer n);
    void EnsureVisible(Integer i);

private:
    void SelectOnly(Integer i);
    void SelectRange(Integer a, Integer b, bool keepOthers);
    void MoveFocus(Integer i, bool shift, bool ctrl);
    bool Valid(Integer i) const { return i >= 0 && i < Count(); }

    TListSelectMode FMode = TListSelectMode::Single;
    std::vector<bool> FSelected;
    Integer FFocus = -1, FAnchor = -1;
    Integer FTop = 0, FPage = 1;
    String FPrefix;
    uint32_t FLastTypeMs = 0;
};
