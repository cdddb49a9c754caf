#include <gtest/gtest.h>

#include "platform/ui/MenuModel.h"

namespace {

enum : Word { kReturn = 0x0D, kEscape = 0x1B, kEnd = 0x23, kHome = 0x24, kLeft = 0x25, kUp = 0x26,
              kRight = 0x27, kDown = 0x28 };

using A = TMenuNavAction;

TMenuNavItem Item(const wchar_t* caption, Integer id, bool enabled = true)
{
    TMenuNavItem it;
    it.Caption = caption;
    it.Id = id;
    it.Enabled = enabled;
    return it;
}

TMenuNavItem Separator()
{
    TMenuNavItem it;
    it.Separator = true;
    return it;
}

// 0 &Open, 1 separator, 2 &Save (disabled), 3 Save &As, 4 E&xport > (0 &PNG, 1 &PDF, 2 P&rint),
// 5 hidden, 6 &Properties, 7 E&xit
TMenuNavItem Tree()
{
    TMenuNavItem root;
    TMenuNavItem exportMenu = Item(L"E&xport", 40);
    exportMenu.Items = {Item(L"&PNG", 41), Item(L"&PDF", 42), Item(L"P&rint", 43)};
    TMenuNavItem hidden = Item(L"&Hidden", 50);
    hidden.Visible = false;
    root.Items = {Item(L"&Open", 10), Separator(), Item(L"&Save", 20, false), Item(L"Save &As", 30),
                  exportMenu, hidden, Item(L"&Properties", 60), Item(L"E&xit", 70)};
    return root;
}

TEST(MenuModel, Accelerators)
{
    struct Case {
        String Caption;
        Char Key;
        String Shown;
    } cases[] = {
        {L"&File", L'F', L"File"}, {L"Save &as", L'A', L"Save as"}, {L"Fish && &Chips", L'C', L"Fish & Chips"},
        {L"No key", 0, L"No key"}, {L"Trailing&", 0, L"Trailing"}, {L"&&&x", L'X', L"&x"},
        {L"&é", L'É', L"é"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(UTF8Encode(k.Caption));
        EXPECT_EQ(k.Key, MenuAccelerator(k.Caption));
        EXPECT_EQ(k.Shown, StripAccelerator(k.Caption));
    }
}

TEST(MenuModel, ArrowsPassOverWhatCannotBeChosen)
{
    TMenuNavItem root = Tree();
    TMenuNavModel m;
    m.Open(&root, true);
    EXPECT_EQ(0, m.HotItem());
    struct Step {
        Word Key;
        A Action;
        Integer Hot;
    } steps[] = {
        {kDown, A::Moved, 3},   // over the separator and the disabled item
        {kDown, A::Moved, 4},
        {kDown, A::Moved, 6},   // over the hidden item
        {kDown, A::Moved, 7},
        {kDown, A::Moved, 0},   // around
        {kUp, A::Moved, 7},
        {kHome, A::Moved, 0},
        {kHome, A::None, 0},
        {kEnd, A::Moved, 7},
    };
    for (const auto& s : steps) {
        EXPECT_EQ(s.Action, m.KeyDown(s.Key));
        EXPECT_EQ(s.Hot, m.HotItem());
    }
    // Opened by the mouse: nothing hot until a key.
    m.Open(&root, false);
    EXPECT_EQ(-1, m.HotItem());
    EXPECT_EQ(A::None, m.KeyDown(kReturn));
    EXPECT_EQ(A::Moved, m.KeyDown(kUp));
    EXPECT_EQ(7, m.HotItem());

    TMenuNavItem dead;
    dead.Items = {Separator(), Item(L"Off", 1, false)};
    m.Open(&dead, true);
    EXPECT_EQ(-1, m.HotItem());
    EXPECT_EQ(A::None, m.KeyDown(kDown));
}

TEST(MenuModel, SubmenusOpenAndClose)
{
    TMenuNavItem root = Tree();
    TMenuNavModel m;
    m.Open(&root, true);
    EXPECT_EQ(A::BarNext, m.KeyDown(kRight));   // no submenu on "Open"
    EXPECT_EQ(A::BarPrev, m.KeyDown(kLeft));
    m.SetHot(0, 4);
    EXPECT_EQ(A::Opened, m.KeyDown(kRight));
    ASSERT_EQ(2, m.Depth());
    EXPECT_EQ(0, m.HotItem());
    EXPECT_EQ(4, m.Hot(0));
    EXPECT_EQ(&root.Items[4], m.LevelMenu(1));
    EXPECT_EQ(A::Closed, m.KeyDown(kLeft));
    EXPECT_EQ(1, m.Depth());
    EXPECT_EQ(4, m.HotItem());
    EXPECT_EQ(A::Opened, m.KeyDown(kReturn));   // Enter opens too
    EXPECT_EQ(A::Moved, m.KeyDown(kDown));
    EXPECT_EQ(A::Invoke, m.KeyDown(kReturn));
    EXPECT_EQ(42, m.ChosenId());
    EXPECT_FALSE(m.IsOpen());

    // Esc closes one level, then the menu.
    m.Open(&root, true);
    m.SetHot(0, 4);
    m.OpenHot(false);
    EXPECT_EQ(-1, m.HotItem());
    EXPECT_EQ(A::Closed, m.KeyDown(kEscape));
    EXPECT_EQ(A::CloseAll, m.KeyDown(kEscape));
    EXPECT_FALSE(m.IsOpen());
    EXPECT_EQ(nullptr, m.Chosen());

    // Hovering an item of an outer level closes the deeper popups.
    m.Open(&root, true);
    m.SetHot(0, 4);
    m.OpenHot(true);
    m.SetHot(0, 6);
    EXPECT_EQ(1, m.Depth());
    EXPECT_EQ(6, m.HotItem());
    m.SetHot(0, 2);   // disabled: nothing hot
    EXPECT_EQ(-1, m.HotItem());
}

TEST(MenuModel, ClicksAndAcceleratorKeys)
{
    TMenuNavItem root = Tree();
    TMenuNavModel m;
    m.Open(&root, false);
    EXPECT_EQ(A::None, m.Choose(1));   // separator
    EXPECT_EQ(A::None, m.Choose(2));   // disabled
    EXPECT_TRUE(m.IsOpen());
    EXPECT_EQ(A::Invoke, m.Choose(3));
    EXPECT_EQ(30, m.ChosenId());

    struct Case {
        String Keys;
        A Last;
        Integer Id;    // chosen, when Invoke
        Integer Hot;   // hot item otherwise
        Integer Depth;
    } cases[] = {
        {L"o", A::Invoke, 10, -1, 0},
        {L"A", A::Invoke, 30, -1, 0},
        {L"s", A::None, 0, -1, 1},        // the only S item is disabled
        {L"h", A::None, 0, -1, 1},        // hidden
        {L"x", A::Moved, 0, 4, 1},        // two items on X: the first
        {L"xx", A::Moved, 0, 7, 1},       // ... then the next
        {L"xxx", A::Moved, 0, 4, 1},      // ... and around
        {L"p", A::Invoke, 60, -1, 0},
        {L"q", A::None, 0, -1, 1},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(UTF8Encode(k.Keys));
        m.Open(&root, false);
        A last = A::None;
        for (Char c : k.Keys) last = m.KeyChar(c);
        EXPECT_EQ(k.Last, last);
        EXPECT_EQ(k.Depth, m.Depth());
        if (k.Last == A::Invoke) {
            EXPECT_EQ(k.Id, m.ChosenId());
        } else {
            EXPECT_EQ(k.Hot, m.HotItem());
        }
    }
    // In a submenu, accelerators are the submenu's own.
    m.Open(&root, true);
    m.SetHot(0, 4);
    m.OpenHot(true);
    EXPECT_EQ(A::Moved, m.KeyChar(L'p'));   // PNG and PDF share P: the next after PNG
    EXPECT_EQ(1, m.HotItem());
    EXPECT_EQ(A::Invoke, m.KeyChar(L'r'));
    EXPECT_EQ(43, m.ChosenId());
}

}  // namespace
